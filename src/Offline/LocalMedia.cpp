#include "Offline/LocalMedia.h"

#include "Offline/ByteCount.h"
#include "Capture/Text.h"

#include <QHash>

#include <algorithm>

namespace sw {

LocalMedia LocalMedia::restoring(MediaFolder folder, DiskBudget budget, CopyTable archived,
                                 QList<PostLink> *interrupted)
{
    LocalMedia media(std::move(folder), budget);
    // Shared until a download under way has to be dropped; a table handed over whole (the one
    // just read from the archive) is changed in place instead of copied first.
    media.m_copies = std::move(archived);
    QList<PostLink> underWay;
    for (const auto &[link, copy] : std::as_const(media.m_copies)) {
        if (copy.asDownloading())
            underWay.append(link);
    }
    for (const PostLink &link : underWay)
        media.m_copies.take(link);
    if (interrupted)
        interrupted->append(underWay);
    return media;
}

LocalCopy LocalMedia::copy(const PostLink &link) const
{
    const LocalCopy *found = m_copies.find(link);
    return found ? *found : LocalCopy::linkOnly();
}

std::expected<std::vector<Download>, DownloadRefusal> LocalMedia::begin(const Post &post, Quality quality,
                                                                        std::int64_t held)
{
    if (!post.hasMedia())
        return std::unexpected(DownloadRefusal::nothingToDownload());
    if (const LocalCopy *current = m_copies.find(post.link)) {
        if (current->asDownloading())
            return std::unexpected(DownloadRefusal::alreadyDownloading());
        if (current->asOnThisComputer())
            return std::unexpected(DownloadRefusal::alreadyOnThisComputer());
    }

    std::vector<Attachment> taken;
    taken.reserve(post.attachments.size());
    __int128 exactNeeds = 0;
    for (const Attachment &attachment : post.attachments) {
        taken.push_back(attachment.at(quality));
        exactNeeds += taken.back().bytes();
    }
    // The post's own copy is failed, linkOnly or absent here, so it counts nothing. The test is
    // made on exact sums; what is reported and reserved is brought back into the 64-bit range.
    const __int128 used = m_copies.exactReservedBytes() + std::max<std::int64_t>(held, 0);
    const std::int64_t needs = bytes::clamp(exactNeeds);
    if (!m_budget.admitsExactly(exactNeeds, used)) {
        const __int128 room = __int128(m_budget.limit) - used;
        return std::unexpected(DownloadRefusal::overBudget(needs, bytes::clamp(room > 0 ? room : 0)));
    }

    m_copies.insert(post.link, LocalCopy::downloading(0, needs));
    std::vector<Download> downloads;
    downloads.reserve(taken.size());
    for (std::size_t i = 0; i < taken.size(); ++i)
        downloads.push_back(Download{post.link, std::move(taken[i]), MediaFolder::fileName(post, i)});
    return downloads;
}

std::int64_t LocalMedia::margin(std::int64_t planned, std::int64_t held) const
{
    const __int128 room = __int128(m_budget.limit) - m_copies.exactReservedBytes() - std::max<std::int64_t>(held, 0);
    const std::int64_t wanted = std::max(std::max<std::int64_t>(planned, 0) / 2, kLeastMargin);
    return bytes::clamp(std::clamp<__int128>(room, 0, wanted));
}

void LocalMedia::received(std::int64_t count, const PostLink &link)
{
    const LocalCopy *current = m_copies.find(link);
    const LocalCopy::Downloading *under = current ? current->asDownloading() : nullptr;
    if (!under)
        return;
    const std::int64_t total = under->of;
    m_copies.insert(link, LocalCopy::downloading(std::min(bytes::add(under->received, count), total), total));
}

void LocalMedia::finished(const PostLink &link, const QList<LocalFile> &files)
{
    const LocalCopy *current = m_copies.find(link);
    if (current && current->asDownloading())
        m_copies.insert(link, LocalCopy::onThisComputer(files));
}

void LocalMedia::failed(const PostLink &link, DownloadFailure failure)
{
    const LocalCopy *current = m_copies.find(link);
    if (current && current->asDownloading())
        m_copies.insert(link, LocalCopy::failed(failure));
}

QList<LocalFile> LocalMedia::letGo(const PostLink &link)
{
    const std::optional<LocalCopy> gone = m_copies.take(link);
    if (gone) {
        if (const auto *done = gone->asOnThisComputer())
            return done->files;
    }
    return {};
}

void LocalMedia::reconcile(const QSet<QString> &present) { forget(incomplete(present)); }

LocalMedia::Incomplete LocalMedia::incomplete(const QSet<QString> &present) const
{
    // Names compare under canonical equivalence: compare their composed forms.
    QSet<QString> composed;
    composed.reserve(present.size());
    for (const QString &name : present)
        composed.insert(text::canonical(name));

    Incomplete gone;
    for (const auto &[link, copy] : m_copies) {
        const auto *done = copy.asOnThisComputer();
        if (!done)
            continue;
        const bool allThere = std::all_of(done->files.cbegin(), done->files.cend(), [&](const LocalFile &file) {
            return composed.contains(text::canonical(file.name));
        });
        if (!allThere)
            gone.append({link, done->files});
    }
    return gone;
}

qsizetype LocalMedia::forget(const Incomplete &copies)
{
    qsizetype forgotten = 0;
    for (const auto &[link, files] : copies) {
        const LocalCopy *current = m_copies.find(link);
        const auto *done = current ? current->asOnThisComputer() : nullptr;
        if (done && done->files == files) {
            m_copies.take(link);
            ++forgotten;
        }
    }
    return forgotten;
}

LocalMedia::Settling LocalMedia::settling(const QSet<QString> &present, const std::vector<Post> &interrupted) const
{
    // The pending names present, by the canonical form of the final name each stands for.
    QHash<QString, QString> pending;
    QList<QString> others;
    for (const QString &name : present) {
        if (!MediaFolder::isOwnTemporary(name))
            continue;
        if (const std::optional<QString> final = MediaFolder::finalName(name))
            pending.insert(text::canonical(*final), name);
        else
            others.append(name);
    }

    Settling settling;
    for (const auto &[link, copy] : m_copies) {
        const auto *done = copy.asOnThisComputer();
        if (!done)
            continue;
        for (const LocalFile &file : done->files) {
            const auto found = pending.constFind(text::canonical(file.name));
            if (found == pending.cend())
                continue;
            settling.promote.append({*found, file.name});
            pending.erase(found);
        }
    }
    for (const Post &post : interrupted) {
        const LocalCopy *current = m_copies.find(post.link);
        if ((current && (current->asOnThisComputer() || current->asDownloading())) || !post.hasMedia())
            continue;
        QList<QString> names;
        for (std::size_t i = 0; i < post.attachments.size(); ++i)
            names.append(MediaFolder::fileName(post, i));
        const bool whole = std::all_of(names.cbegin(), names.cend(), [&](const QString &name) {
            return pending.contains(text::canonical(name));
        });
        if (!whole)
            continue;
        QList<QString> found;
        for (const QString &name : names)
            found.append(pending.take(text::canonical(name)));
        settling.adopt.append({post.link, found});
    }
    settling.remove = std::move(others);
    for (const QString &name : std::as_const(pending))
        settling.remove.append(name);
    std::sort(settling.promote.begin(), settling.promote.end());
    std::sort(settling.remove.begin(), settling.remove.end());
    return settling;
}

void LocalMedia::adopt(const PostLink &link, const QList<LocalFile> &files)
{
    const LocalCopy *current = m_copies.find(link);
    if (current && (current->asOnThisComputer() || current->asDownloading()))
        return;
    m_copies.insert(link, LocalCopy::onThisComputer(files));
}

std::vector<Post> LocalMedia::missing(const std::vector<Post> &among) const
{
    std::vector<Post> out;
    for (const Post &post : among) {
        if (!post.hasMedia())
            continue;
        const LocalCopy *current = m_copies.find(post.link);
        if (current && (current->asDownloading() || current->asOnThisComputer()))
            continue;
        out.push_back(post);
    }
    return out;
}

std::size_t qHash(const LocalMedia &media, std::size_t seed) noexcept
{
    return qHashMulti(seed, media.folder(), media.budget(), media.copies());
}

}  // namespace sw
