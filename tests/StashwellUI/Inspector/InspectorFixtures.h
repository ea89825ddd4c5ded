#pragma once

// Shelf items for the inspector and bulk panel tests, described in a few letters: the kind of post
// (v video, i picture, t text, p page), the local copy (L link only, D downloading, H here with
// files, Z here with empty files, F failed) and T for a save in the trash. "vH" is a video post on
// this computer, "iLT" a picture post only linked and in the trash.

#include "SaveFixtures.h"

#include <QString>

namespace sw::inspectorfixtures {

using namespace sw::viewfixtures;

inline Post postOfKind(QChar kind, int n, std::int64_t bytes = 1000)
{
    const PostLink link = xLink(QStringLiteral("ann"), QString::number(1000 + n));
    switch (kind.toLatin1()) {
    case 'v': return post(link, {video(75.4, bytes)});
    case 'i': return post(link, {image(bytes), image(bytes)});
    case 'p': return post(webLink(QStringLiteral("https://news.example.com/%1").arg(n)), {page(bytes)});
    default: return post(link, {});
    }
}

inline LocalCopy copyOf(QChar copy, const Post &post)
{
    QList<LocalFile> files;
    for (std::size_t i = 0; i < post.attachments.size(); ++i)
        files.append(LocalFile{MediaFolder::fileName(post, i), copy == u'Z' ? 0 : 2048});
    switch (copy.toLatin1()) {
    case 'D': return LocalCopy::downloading(512, 2048);
    case 'H':
    case 'Z': return LocalCopy::onThisComputer(files);
    case 'F': return LocalCopy::failed(DownloadFailure::unreachable);
    default: return LocalCopy::linkOnly();
    }
}

// The item described by `letters`, for save number `n`.
inline ShelfItem itemOf(const QString &letters, int n, std::int64_t bytes = 1000)
{
    const Post post = postOfKind(letters.at(0), n, bytes);
    const bool trashed = letters.contains(u'T');
    const Save kept = save(n, post, 0, false, trashed ? std::optional<double>(10) : std::nullopt);
    return item(kept, copyOf(letters.size() > 1 ? letters.at(1) : QChar(u'L'), post));
}

inline QList<ShelfItem> itemsOf(const QStringList &descriptions, std::int64_t bytes = 1000)
{
    QList<ShelfItem> items;
    for (const QString &letters : descriptions)
        items.append(itemOf(letters, int(items.size()) + 1, bytes));
    return items;
}

// `count` picture addresses, one per page.
inline std::vector<std::optional<Url>> pictureList(int count)
{
    std::vector<std::optional<Url>> result;
    for (int i = 0; i < count; ++i)
        result.push_back(url(QStringLiteral("file:///tmp/stashwell-media/p%1.jpg").arg(i)));
    return result;
}

}  // namespace sw::inspectorfixtures
