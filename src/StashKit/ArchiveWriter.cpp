#include "StashKit/ArchiveWriter.h"

#include <utility>

namespace sw {

namespace {
void letGo(std::vector<Archive> &archives)
{
    for (Archive &archive : archives)
        Library::letGoOf(archive.library.saves);
    archives.clear();
}
}  // namespace

ArchiveWriter::ArchiveWriter(std::shared_ptr<Archiving> archiving, std::function<void()> written,
                             std::chrono::steady_clock::duration patience)
    : m_archiving(std::move(archiving)), m_written(std::move(written)), m_patience(patience)
{
    m_thread = std::thread([this] { run(); });
}

ArchiveWriter::~ArchiveWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
    // What the thread read goes here, on the owner's thread, with the idle work it did not do.
}

std::uint64_t ArchiveWriter::commit(Archive archive)
{
    // Let go of after the lock, on this thread: a value that was waiting and is now replaced, and
    // the values written since the last call.
    std::optional<Archive> replaced;
    std::vector<Archive> spent;
    std::uint64_t number = 0;
    {
        const std::lock_guard lock(m_mutex);
        replaced = std::exchange(m_pending, std::move(archive));
        if (m_done == m_committed)
            m_behindSince = std::chrono::steady_clock::now();
        number = ++m_committed;
        spent.swap(m_spent);
    }
    m_wake.notify_one();
    if (replaced)
        Library::letGoOf(replaced->library.saves);
    letGo(spent);
    return number;
}

void ArchiveWriter::flush()
{
    std::unique_lock lock(m_mutex);
    const std::uint64_t target = m_committed;
    m_progress.wait(lock, [&] { return m_done >= target; });
}

bool ArchiveWriter::writing() const
{
    const std::lock_guard lock(m_mutex);
    return m_done < m_committed;
}

ArchiveWriter::Outcome ArchiveWriter::collect()
{
    std::vector<Archive> spent;
    std::vector<Work> spentWork;
    Outcome outcome;
    {
        const std::lock_guard lock(m_mutex);
        spent.swap(m_spent);
        spentWork.swap(m_spentWork);
        outcome = m_outcome;
    }
    letGo(spent);
    return outcome;
}

void ArchiveWriter::idle(Work work)
{
    {
        const std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    m_wake.notify_one();
}

void ArchiveWriter::finishIdleWork()
{
    std::unique_lock lock(m_mutex);
    m_progress.wait(lock, [&] { return m_work.empty() && !m_working; });
}

void ArchiveWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_pending || m_stopping || !m_work.empty(); });
        if (m_pending) {
            Archive archive = std::move(*m_pending);
            m_pending.reset();
            const std::uint64_t number = m_committed;
            const auto began = std::chrono::steady_clock::now();
            lock.unlock();
            // Asked between pieces of the write: a newer value waits, and the disk has not been
            // behind for too long.
            const auto superseded = [this] {
                const std::lock_guard held(m_mutex);
                return m_pending.has_value() && std::chrono::steady_clock::now() - m_behindSince < m_patience;
            };
            auto stored = m_archiving->storeUnlessSuperseded(archive, superseded);
            lock.lock();
            if (stored && !*stored) {
                // Given up: nothing changed on disk, and the newer value is written next.
                m_spent.push_back(std::move(archive));
                continue;
            }
            m_done = number;
            // The commits made during this write are no older than its start.
            if (m_done < m_committed)
                m_behindSince = began;
            m_outcome.commit = number;
            m_outcome.failure = stored ? std::nullopt : std::optional<ArchiveFailure>(std::move(stored.error()));
            if (stored)
                m_outcome.stored = number;
            m_spent.push_back(std::move(archive));
            lock.unlock();
            m_progress.notify_all();
            if (m_written)
                m_written();
            lock.lock();
            continue;
        }
        if (m_stopping)
            return;
        // One piece of the idle work; a commit made meanwhile is written before the next piece.
        Work work = std::move(m_work.front());
        m_work.pop_front();
        m_working = true;
        lock.unlock();
        const bool more = work();
        lock.lock();
        m_working = false;
        if (more)
            m_work.push_front(std::move(work));
        else
            m_spentWork.push_back(std::move(work));
        m_progress.notify_all();
    }
}

}  // namespace sw
