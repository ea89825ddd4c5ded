#include "StashwellUI/Sidebar/SidebarContent.h"

#include "Library/Library.h"
#include "Shelf/Shelf.h"


namespace sw {

QList<Filter> SidebarContent::countedFilters(const QList<Collection> &collections, const QList<Author> &authors)
{
    QList<Filter> filters{Filter::all(),   Filter::recentlyAdded(),  Filter::favourites(),
                          Filter::trash(), Filter::onThisComputer(), Filter::linkOnly()};
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
    // The shelf's tally holds every number: after a change of the library it is brought up to
    // date from the saves the change touched, so nothing here walks the saves.
    const ShelfTally &tally = shelf.tally();
    authors = tally.topAuthors();
    const QList<Filter> filters = countedFilters(collections, authors);
    counts.reserve(filters.size());
    for (const Filter &filter : filters)
        counts.insert(filter, tally.count(filter, shelf.now()));
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
