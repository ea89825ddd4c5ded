#include "Stashwell/Presenters/ShelfArrangement.h"

#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <algorithm>
#include <utility>

namespace sw::app {

bool ShelfArrangement::isHome(const Filter &filter, const QString &query)
{
    return query.isEmpty() && filter == Filter::all();
}

qsizetype ShelfArrangement::columns(const std::optional<Save::ID> &selection)
{
    return selection ? columnsWithSelection : columnsWithoutSelection;
}

QList<ShelfItem> ShelfArrangement::visibleItems(const Shelf &shelf, const Filter &filter, const QString &query)
{
    if (!isHome(filter, query))
        return shelf.items(filter, query);
    const Home home = shelf.home();
    QList<ShelfItem> items;
    items.reserve((home.latest() ? 1 : 0) + home.recentlyAdded().size() + home.restCount());
    if (home.latest())
        items.append(*home.latest());
    items.append(home.recentlyAdded());
    items.append(home.rest());
    return items;
}

QString ShelfArrangement::countText(qsizetype count, const QString &query)
{
    using S = StashwellStrings;
    const QString items = count == 1 ? S::shelfItemOne(1) : S::shelfItemMany(qint64(count));
    return query.isEmpty() ? items : S::shelfMatching(items, query);
}

namespace {

ShelfArrangement emptyOrNot(bool empty, const QString &query)
{
    ShelfArrangement arrangement;
    arrangement.isEmpty = empty;
    arrangement.emptyTitle = query.isEmpty() ? StashwellStrings::shelfEmptyTitle() : StashwellStrings::shelfNoMatch(query);
    arrangement.emptyMessage = StashwellUIStrings::shelfEmptyMessage();
    return arrangement;
}

}  // namespace

ShelfArrangement ShelfArrangement::of(const Shelf &shelf, const Filter &filter, const QString &query,
                                      const QString &title, qsizetype columns)
{
    if (!isHome(filter, query))
        return matching(shelf.items(filter, query), query, title);
    return home(shelf.home(), shelf.count(Filter::linkOnly()), shelf.missingBytes(), columns);
}

ShelfArrangement ShelfArrangement::matching(QList<ShelfItem> items, const QString &query, const QString &title)
{
    ShelfArrangement arrangement = emptyOrNot(items.isEmpty(), query);
    if (!arrangement.isEmpty) {
        ShelfSection section;
        section.kind = ShelfSection::Kind::matching;
        section.title = title;
        section.detail = countText(items.size(), query);
        section.items = std::move(items);
        arrangement.sections.append(std::move(section));
    }
    return arrangement;
}

ShelfArrangement ShelfArrangement::home(const Home &home, qsizetype missing, std::int64_t missingBytes,
                                        qsizetype columns)
{
    return ShelfArrangement::home(home, home.rest(), missing, missingBytes, columns);
}

ShelfArrangement ShelfArrangement::home(const Home &home, const QList<ShelfItem> &rest, qsizetype missing,
                                        std::int64_t missingBytes, qsizetype columns)
{
    return ShelfArrangement::home(home, rest, missing, missingBytes, columns, nullptr);
}

ShelfArrangement ShelfArrangement::home(const Home &home, const QList<ShelfItem> &rest, qsizetype missing,
                                        std::int64_t missingBytes, qsizetype columns, AllSaves *kept)
{
    using S = StashwellStrings;
    ShelfArrangement arrangement =
        emptyOrNot(!home.latest() && home.recentlyAdded().isEmpty() && home.restCount() == 0, QString());
    if (arrangement.isEmpty)
        return arrangement;
    arrangement.hero = home.latest();

    const QList<ShelfItem> &recent = home.recentlyAdded();
    const qsizetype rowLength = std::clamp<qsizetype>(columns, 0, recent.size());
    if (rowLength > 0) {
        ShelfSection row;
        row.kind = ShelfSection::Kind::recentlyAdded;
        row.title = S::shelfRecentlyAdded();
        row.actionTitle = S::shelfViewAll();
        row.items = recent.first(rowLength);
        arrangement.sections.append(std::move(row));
    }

    ShelfSection all;
    all.kind = ShelfSection::Kind::allSaves;
    // Without recent saves left over, the list is the rest itself, shared.
    if (rowLength == recent.size()) {
        all.items = rest;
    } else if (const QList<ShelfItem> *made = kept ? kept->take(rowLength) : nullptr) {
        all.items = *made;
    } else {
        // Room for exactly the saves: appended, a list of a hundred thousand would grow to the
        // next power of two.
        all.items.reserve(recent.size() - rowLength + rest.size());
        all.items.append(recent.sliced(rowLength));
        all.items.append(rest);
        if (kept)
            kept->keep(rowLength, all.items);
    }
    if (!all.items.isEmpty()) {
        all.title = S::shelfAllSaves();
        if (missing > 0)
            all.actionTitle = S::shelfDownloadMissing(qint64(missing), Formatting::bytes(missingBytes));
        arrangement.sections.append(std::move(all));
    }
    return arrangement;
}

const QList<ShelfItem> *ShelfArrangement::AllSaves::take(qsizetype rowLength)
{
    if (lists[1].rowLength == rowLength && rowLength >= 0)
        std::swap(lists[0], lists[1]);
    return lists[0].rowLength == rowLength && rowLength >= 0 ? &lists[0].items : nullptr;
}

void ShelfArrangement::AllSaves::keep(qsizetype rowLength, QList<ShelfItem> items)
{
    lists[1] = std::exchange(lists[0], List{rowLength, std::move(items)});
}

QList<ShelfItem> ShelfArrangement::items() const
{
    QList<ShelfItem> items;
    qsizetype count = hero ? 1 : 0;
    for (const ShelfSection &section : sections)
        count += section.items.size();
    // A single section is its own visible order: shared, not copied.
    if (!hero && sections.size() == 1)
        return sections.first().items;
    items.reserve(count);
    if (hero)
        items.append(*hero);
    for (const ShelfSection &section : sections)
        items.append(section.items);
    return items;
}

}  // namespace sw::app
