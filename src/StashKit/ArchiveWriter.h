#pragma once

// The archive's writes, on a thread of their own: the owner commits each new archive value (an
// O(1) copy: the saves and the copy table are shared values) and goes on; the thread writes the
// values in the order they were committed. Writes coalesce: a value committed while another is
// being written waits, and a later commit replaces it, so the next write is always of the latest
// value and nothing committed is ever skipped over by an older one. A write still under way when a
// newer value is committed is given up (the stored document stays as it was) and the newer value
// written at once, unless the document on disk has been behind for the writer's patience: then the
// write goes to its end, so that a steady stream of commits still reaches the disk.
//
// Values are read on the writer thread while the owner keeps sharing their saves. A save's data
// is changed only once the save is no one else's (it is detached first), so the thread reads
// values no one changes; the search words it works out on the way are published atomically
// (see Save). What the thread read is let go on the owner's thread (collect()), so that the owner
// never finds a save unshared, and changes it in place, while the thread may still be reading it.
//
// Between writes the thread runs the idle work it is given (preparing caches after a start),
// a piece at a time, so that a commit never waits for it.

#include "StashKit/Archive.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sw {

class ArchiveWriter {
public:
    // The last write's outcome: the number of the commit it wrote (0: none yet) and its failure;
    // and the last commit written whole, which the document on disk holds (a failed write leaves
    // the document of the last one that succeeded).
    struct Outcome {
        std::uint64_t commit = 0;
        std::optional<ArchiveFailure> failure;
        std::uint64_t stored = 0;
    };

    // One piece of idle work; answers whether there is more of it to do.
    using Work = std::function<bool()>;

    // How long the document on disk may stay behind the commits while writes are given up for
    // newer values.
    static constexpr std::chrono::milliseconds defaultPatience{1000};

    // `written` runs on the writer thread after each write, with no lock held (to wake the owner).
    ArchiveWriter(std::shared_ptr<Archiving> archiving, std::function<void()> written,
                  std::chrono::steady_clock::duration patience = defaultPatience);
    // Writes what was committed and not yet written, drops the idle work, and ends the thread.
    ~ArchiveWriter();
    ArchiveWriter(const ArchiveWriter &) = delete;
    ArchiveWriter &operator=(const ArchiveWriter &) = delete;

    // Hands over the next value to write; answers its commit number (1, 2, ...).
    std::uint64_t commit(Archive archive);
    // Returns once every value committed so far has been written (or its write has failed).
    void flush();
    // Whether a committed value is waiting for its write or being written.
    bool writing() const;
    // The last write's outcome; lets go of the values written since the last call.
    Outcome collect();
    // Adds idle work, run after the work given before, between writes.
    void idle(Work work);
    // Returns once the idle work given so far is done.
    void finishIdleWork();

private:
    void run();

    std::shared_ptr<Archiving> m_archiving;
    std::function<void()> m_written;
    const std::chrono::steady_clock::duration m_patience;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;      // the thread: a commit, idle work or the end
    std::condition_variable m_progress;  // those waiting: a write or a piece of work done
    std::optional<Archive> m_pending;
    std::uint64_t m_committed = 0;       // the number of the last commit
    std::uint64_t m_done = 0;            // the number of the last commit written (or failed)
    // Since when the disk has been behind: the first commit after a write ended (or failed).
    std::chrono::steady_clock::time_point m_behindSince;
    Outcome m_outcome;
    std::vector<Archive> m_spent;        // written, to be let go on the owner's thread
    std::deque<Work> m_work;
    std::vector<Work> m_spentWork;       // done, to be let go on the owner's thread
    bool m_working = false;              // a piece of idle work is running
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace sw
