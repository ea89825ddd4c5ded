#pragma once

// One step of the Curator's undo history mirrored on the window's undo stack, so that the Edit
// menu's Undo and Redo (and a toast's Undo) reach the Curator. The Curator has already made the
// edit when the command is pushed, so the push's own redo does nothing; after that, undo calls
// Curator::undo and redo Curator::redo. The command keeps the name of the edit for both.
//
// Each command carries the number of the Curator's step it mirrors (the one the edit returned),
// by which a toast knows whether the step it announced is still the latest one to undo.

#include <QPointer>
#include <QUndoCommand>

#include <cstdint>
#include <optional>

class QUndoStack;

namespace sw {
class Curator;
}

namespace sw::app {

class CuratorStep final : public QUndoCommand {
public:
    CuratorStep(Curator &curator, const QString &name, std::int64_t serial);

    void undo() override;
    void redo() override;

    std::int64_t serial() const { return m_serial; }

    // The serial of the step the stack would undo next; none when it has nothing to undo.
    static std::optional<std::int64_t> latest(const QUndoStack &stack);

private:
    QPointer<Curator> m_curator;
    std::int64_t m_serial;
    bool m_pushed = false;
};

}  // namespace sw::app
