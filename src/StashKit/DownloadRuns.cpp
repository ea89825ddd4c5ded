#include "StashKit/DownloadRuns.h"

#include "Capture/Text.h"
#include "Offline/ByteCount.h"

#include <utility>

namespace sw {

std::shared_ptr<DownloadRuns::Run> DownloadRuns::start(const PostLink &link, QList<LocalFile> &released)
{
    if (const auto earlier = m_runs.value(link))
        released.append(letGo(earlier));
    auto run = std::make_shared<Run>();
    run->link = link;
    m_runs.insert(link, run);
    return run;
}

bool DownloadRuns::owns(const Run &run) const
{
    const auto found = m_runs.constFind(run.link);
    return !run.letGo && found != m_runs.cend() && found->get() == &run;
}

QList<std::shared_ptr<DownloadRuns::Run>> DownloadRuns::runs(const std::function<bool(const PostLink &)> &picks) const
{
    QList<std::shared_ptr<Run>> picked;
    for (auto it = m_runs.cbegin(); it != m_runs.cend(); ++it) {
        if (picks(it.key()))
            picked.append(it.value());
    }
    return picked;
}

QList<LocalFile> DownloadRuns::letGo(const std::shared_ptr<Run> &run)
{
    if (run->letGo)
        return {};
    run->letGo = true;
    if (const auto found = m_runs.constFind(run->link); found != m_runs.cend() && *found == run)
        m_runs.erase(found);
    // Stops the transfer; the file it was writing never reaches the media folder. A transfer
    // that has ended already is left for the run to read: its file may have arrived.
    if (run->stream && !run->stream->hasEnded())
        run->stream.reset();
    return std::exchange(run->finished, {});
}

QList<LocalFile> DownloadRuns::end(Run &run)
{
    if (const auto found = m_runs.constFind(run.link); found != m_runs.cend() && found->get() == &run)
        m_runs.erase(found);
    run.letGo = true;
    return std::exchange(run.finished, {});
}

bool DownloadRuns::currentRunFinished(const PostLink &link, const LocalFile &file) const
{
    const auto current = m_runs.value(link);
    return current && current->finished.contains(file);
}

bool DownloadRuns::isFinishedByARun(const QString &canonicalName) const
{
    for (const auto &run : m_runs) {
        for (const LocalFile &file : run->finished) {
            if (text::canonical(file.name) == canonicalName)
                return true;
        }
    }
    return false;
}

std::int64_t DownloadRuns::heldMargins() const
{
    std::int64_t held = 0;
    for (const auto &run : m_runs)
        held = bytes::add(held, run->margin);
    return held;
}

}  // namespace sw
