#pragma once

// The undo and redo history of the library edits: the steps that can be undone (past) and redone
// (future), at most kLimit of them, and the count of steps ever recorded. It lives only in
// memory. It holds no library and tells nobody: the Curator applies what it hands back to its
// own library, and signals and writes as its operations do. Each call says which of past and
// future it changed.

#include "Library/Library.h"

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sw {

class UndoHistory {
public:
    // The most steps the history keeps.
    static constexpr qsizetype kLimit = 100;

    // One entry: two functions that reverse and make the edit again on the library they are
    // given. They hold ids, dates and single collection records, never a library.
    struct Step {
        std::function<void(Library &)> undo;
        std::function<void(Library &)> redo;
    };

    // A recorded step's number: the count of steps once it was recorded, so unique for the life of
    // the history and growing with each step.
    using StepID = std::int64_t;

    // Which lists a call changed, and the step record() added.
    struct Changes {
        bool past = false;
        bool future = false;
        std::optional<StepID> recorded;
    };

    bool canUndo() const { return !m_past.empty(); }
    bool canRedo() const { return !m_future.empty(); }
    // How many steps have been recorded; never decreases.
    std::int64_t steps() const { return m_steps; }

    // Appends the step to the past, dropping the oldest beyond the limit, counts it and clears the
    // future. The past always changes; `recorded` is the step's number.
    Changes record(Step step);
    // The library the last step's undo makes of the one given, the step moved to the future; no
    // step, nothing. The step is applied even when it no longer changes anything.
    std::optional<Library> undo(const Library &library);
    // The library the next step's redo makes of the one given, the step moved to the past.
    std::optional<Library> redo(const Library &library);
    // Forgets every step; the count stays.
    Changes clear();

private:
    std::vector<Step> m_past;     // oldest first
    std::vector<Step> m_future;   // the step to redo next last
    std::int64_t m_steps = 0;
};

}  // namespace sw
