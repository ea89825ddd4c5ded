#include "StashKit/UndoHistory.h"

#include <utility>

namespace sw {

UndoHistory::Changes UndoHistory::record(Step step)
{
    m_past.push_back(std::move(step));
    if (qsizetype(m_past.size()) > kLimit)
        m_past.erase(m_past.begin());
    ++m_steps;
    const bool hadFuture = !m_future.empty();
    m_future.clear();
    return Changes{true, hadFuture, m_steps};
}

std::optional<Library> UndoHistory::undo(const Library &library)
{
    if (m_past.empty())
        return std::nullopt;
    Step step = std::move(m_past.back());
    m_past.pop_back();
    Library next = library;
    step.undo(next);
    m_future.push_back(std::move(step));
    return next;
}

std::optional<Library> UndoHistory::redo(const Library &library)
{
    if (m_future.empty())
        return std::nullopt;
    Step step = std::move(m_future.back());
    m_future.pop_back();
    Library next = library;
    step.redo(next);
    m_past.push_back(std::move(step));
    return next;
}

UndoHistory::Changes UndoHistory::clear()
{
    const Changes changes{!m_past.empty(), !m_future.empty()};
    m_past.clear();
    m_future.clear();
    return changes;
}

}  // namespace sw
