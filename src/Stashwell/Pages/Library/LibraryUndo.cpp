#include "Stashwell/Pages/Library/LibraryUndo.h"

#include "Stashwell/Pages/Library/CuratorStep.h"
#include "StashwellUI/Toasts/ToastController.h"

#include <QUndoStack>

namespace sw::app {

LibraryUndo::LibraryUndo(Curator &curator, QUndoStack *stack, ToastController &toast, QObject *parent)
    : QObject(parent), m_curator(curator), m_stack(stack), m_toast(toast)
{
    if (!m_stack)
        return;
    // The stack keeps no more steps than the Curator's history; the limit can only be set while
    // the stack is empty, which it is before the page pushes anything.
    if (m_stack->count() == 0)
        m_stack->setUndoLimit(int(Curator::kHistoryLimit));
    connect(m_stack, &QUndoStack::indexChanged, this, &LibraryUndo::followStack);
    connect(m_stack, &QUndoStack::cleanChanged, this, &LibraryUndo::followStack);
}

bool LibraryUndo::record(const Curator::Recorded &step, const QString &name, const std::optional<QString> &toastText)
{
    if (!step)
        return false;
    const Curator::StepID id = *step;
    if (m_stack) {
        if (m_stack->count() == 0 && m_stack->undoLimit() != int(Curator::kHistoryLimit))
            m_stack->setUndoLimit(int(Curator::kHistoryLimit));
        m_stack->push(new CuratorStep(m_curator, name, id));
    }
    if (toastText) {
        m_toast.show(*toastText, ToastUndo{id, [self = QPointer<LibraryUndo>(this), id] {
                                               if (self)
                                                   self->undoStep(id);
                                           }});
    } else {
        // A step that announces nothing is the latest one now all the same.
        m_toast.setLatestUndoStep(id);
    }
    return true;
}

void LibraryUndo::clear()
{
    if (m_stack)
        m_stack->clear();
}

void LibraryUndo::undoStep(Curator::StepID step)
{
    // Only the step the toast announced, and only while nothing else came after it.
    if (m_stack && CuratorStep::latest(*m_stack) == step)
        m_stack->undo();
}

void LibraryUndo::followStack()
{
    if (m_stack)
        m_toast.setLatestUndoStep(CuratorStep::latest(*m_stack));
}

}  // namespace sw::app
