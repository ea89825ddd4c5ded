#include "StashwellUI/Sidebar/SidebarContent.h"

#include "Library/Library.h"
#include "StashKit/Shelf.h"

#include <algorithm>
#include <vector>

namespace sw {

QList<Filter> SidebarContent::countedFilters(const QList<Collection> &collections, const QList<Author> &authors)
{
    QList<Filter> filters{Filter::all(),   Filter::recentlyAdded(), Filter::favourites(),
                          Filter::trash(), Filter::onThisMac(),     Filter::linkOnly()};
    filters.reserve(filters.size() + collections.size() + authors.size());
    for (const Collection &collection : collections)
        filters.append(Filter::collection(collection.id));
    for (const Author &author : authors)
        filters.append(Filter::author(author.handle));
    return filters;
}

SidebarContent::SidebarContent(const Shelf &shelf, const QString &folder)
    : collections(shelf.library().collections)
    , onDisk(shelf.localMedia().onDisk())
    , limit(shelf.localMedia().budget().limit)
    , folder(folder)
{
    // One walk: the shelf counts the fixed filters and the collections, and meanwhile every save
    // is tallied by author, both for the ranking of the top authors and for their counts (the
    // live saves of each handle, whatever their source).
    const QList<Filter> filters = countedFilters(collections, {});
    Library::AuthorTally tally;
    std::vector<qsizetype> liveByAuthor;   // by the handle's identity
    const QList<qsizetype> numbers = shelf.counts(filters, [&](const Save &save) {
        tally.add(save);
        if (save.isTrashed())
            return;
        const std::uint32_t identity = save.authorIdentity();
        if (identity >= liveByAuthor.size())
            liveByAuthor.resize(std::max<std::size_t>(identity + 1, liveByAuthor.size() * 2), 0);
        ++liveByAuthor[identity];
    });
    authors = tally.top(topAuthorCount);

    counts.reserve(filters.size() + authors.size());
    for (qsizetype i = 0; i < filters.size(); ++i)
        counts.insert(filters[i], numbers[i]);
    for (const Author &author : std::as_const(authors)) {
        const std::uint32_t identity = author.handle.identity();
        counts.insert(Filter::author(author.handle), identity < liveByAuthor.size() ? liveByAuthor[identity] : 0);
    }
    // The saves the link-only filter selects are exactly those whose media are missing.
    missing = counts.value(Filter::linkOnly());
}

std::optional<qsizetype> SidebarContent::count(const Filter &filter) const
{
    const auto found = counts.constFind(filter);
    if (found == counts.constEnd())
        return std::nullopt;
    return *found;
}

}  // namespace sw
