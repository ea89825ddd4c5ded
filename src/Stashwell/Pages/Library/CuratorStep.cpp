#include "Stashwell/Pages/Library/CuratorStep.h"

#include "StashKit/Curator.h"

#include <QThread>
#include <QUndoStack>

namespace sw::app {

CuratorStep::CuratorStep(Curator &curator, const QString &name, std::int64_t serial)
    : QUndoCommand(name), m_curator(&curator), m_serial(serial)
{
}

void CuratorStep::undo()
{
    Q_ASSERT(!m_curator || m_curator->thread() == QThread::currentThread());
    if (m_curator)
        m_curator->undo();
}

void CuratorStep::redo()
{
    // QUndoStack::push runs redo() once: the edit is done already.
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    Q_ASSERT(!m_curator || m_curator->thread() == QThread::currentThread());
    if (m_curator)
        m_curator->redo();
}

std::optional<std::int64_t> CuratorStep::latest(const QUndoStack &stack)
{
    if (stack.index() <= 0)
        return std::nullopt;
    const auto *step = dynamic_cast<const CuratorStep *>(stack.command(stack.index() - 1));
    if (!step)
        return std::nullopt;
    return step->serial();
}

}  // namespace sw::app
