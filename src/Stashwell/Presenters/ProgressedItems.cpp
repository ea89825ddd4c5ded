#include "Stashwell/Presenters/ProgressedItems.h"

#include <vector>

namespace sw::app {

std::optional<QList<PostLink>> ProgressedItems::progressedLinks(const CopyTable &before, const CopyTable &after)
{
    QList<PostLink> links;
    if (before.sharesDataWith(after))
        return links;
    // A download's bytes change its entry in place: the tables keep their entries in the same
    // order, so they are compared entry by entry.
    if (before.size() != after.size())
        return std::nullopt;
    for (auto a = before.begin(), b = after.begin(), end = before.end(); a != end; ++a, ++b) {
        if (!(a.key() == b.key()))
            return std::nullopt;
        const LocalCopy &was = a.copy();
        const LocalCopy &is = b.copy();
        if (was == is)
            continue;
        if (!was.asDownloading() || !is.asDownloading() || !(a.link() == b.link()) || links.size() >= mostLinks)
            return std::nullopt;
        links.append(b.link());
    }
    return links;
}

namespace {

// The links with their keys worked out once, as the saves keep theirs.
struct Keyed {
    explicit Keyed(const QList<PostLink> &links) : links(links)
    {
        keys.reserve(std::size_t(links.size()));
        for (const PostLink &link : links)
            keys.push_back(link.key());
    }
    bool touches(const ShelfItem &item) const
    {
        const LinkKey key = item.save().linkKey();
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key && links.at(qsizetype(i)) == item.save().post().link)
                return true;
        return false;
    }
    const QList<PostLink> &links;
    std::vector<LinkKey> keys;
};

}  // namespace

bool ProgressedItems::touches(const ShelfItem &item, const QList<PostLink> &links)
{
    return Keyed(links).touches(item);
}

bool ProgressedItems::renew(QList<ShelfItem> &items, const Shelf &shelf, const QList<PostLink> &links)
{
    if (links.isEmpty())
        return false;
    const Keyed keyed(links);
    bool renewed = false;
    // Read through the shared data, so that a list none of whose saves changed is not copied.
    // Each save's link key, in the first line of its data, is asked for some steps ahead, so that
    // the reads of a long list overlap.
    constexpr qsizetype ahead = 16;
    const ShelfItem *data = items.constData();
    for (qsizetype i = 0, n = items.size(); i < n; ++i) {
        if (i + ahead < n)
            data[i + ahead].save().prefetchFirstLine();
        if (!keyed.touches(data[i]))
            continue;
        ShelfItem next = shelf.item(data[i].save());
        items[i] = std::move(next);
        data = items.constData();
        renewed = true;
    }
    return renewed;
}

bool ProgressedItems::renew(std::optional<ShelfItem> &item, const Shelf &shelf, const QList<PostLink> &links)
{
    if (!item || !touches(*item, links))
        return false;
    item = shelf.item(item->save());
    return true;
}

}  // namespace sw::app
