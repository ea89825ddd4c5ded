#pragma once

// Every number and list the library sidebar shows, taken from one shelf: the count of each fixed
// filter, of each collection and of each top author; the collections; the three authors with the
// most saves; the bytes on this computer against the limit; the media folder as text; and how many
// saves still miss their media. A plain value; the page takes it once per change of the library
// from the shelf's tally and hands the same value to the sidebar.

#include "Capture/Post.h"
#include "Library/Collection.h"
#include "Shelf/Filter.h"
#include "Shelf/ShelfTally.h"

#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace sw {

class Shelf;

struct SidebarContent {
    // How many authors the sidebar lists.
    static constexpr qsizetype topAuthorCount = ShelfTally::authorsRanked;

    QHash<Filter, qsizetype> counts;
    QList<Collection> collections;     // library order
    QList<Author> authors;             // most saves first, at most three
    std::int64_t onDisk = 0;           // bytes of media on this computer
    std::int64_t limit = 0;            // the media budget
    QString folder;                    // the media folder, as shown
    qsizetype missing = 0;             // live saves whose media are neither here nor under way

    SidebarContent() = default;
    // Everything is read from the shelf's tally (see Shelf::follow).
    SidebarContent(const Shelf &shelf, const QString &folder);

    // The filters counted, in order: all, recently added, favourites, trash, on this computer,
    // link only; each collection in library order; each top author.
    static QList<Filter> countedFilters(const QList<Collection> &collections, const QList<Author> &authors);

    // The count for a filter; none when it is not counted.
    std::optional<qsizetype> count(const Filter &filter) const;

    friend bool operator==(const SidebarContent &, const SidebarContent &) = default;
};

}  // namespace sw
