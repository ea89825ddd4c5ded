#pragma once

// The bridge between the Curator's undo history and the window's undo stack. Each library edit
// returns the step the Curator recorded (or none, when it changed nothing); the page hands that
// step here, which pushes a CuratorStep carrying the step's number (named after the edit) on the
// stack and, for edits that announce themselves, shows the toast with Undo. The stack keeps at
// most as many steps as the Curator's history. A toast's Undo undoes only the step it announced,
// once; once another step becomes the latest (a new edit, or the step undone from the Edit menu)
// the toast loses its Undo.

#include "StashKit/Curator.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

#include <QUndoStack>

namespace sw {
class ToastController;
}

namespace sw::app {

class LibraryUndo final : public QObject {
    Q_OBJECT
public:
    // The Curator must outlive the bridge, the toast too; the stack may go first (or be none).
    LibraryUndo(Curator &curator, QUndoStack *stack, ToastController &toast, QObject *parent = nullptr);

    QUndoStack *stack() const { return m_stack; }

    // What an edit returned: its step pushed named `name`, and announced with `toastText` (with
    // Undo) when there is one. Whether there was a step.
    bool record(const Curator::Recorded &step, const QString &name, const std::optional<QString> &toastText);
    // The Curator's history is gone: nothing earlier can be undone or redone from the Edit menu.
    void clear();

private:
    void undoStep(Curator::StepID step);
    void followStack();

    Curator &m_curator;
    QPointer<QUndoStack> m_stack;
    ToastController &m_toast;
};

}  // namespace sw::app
