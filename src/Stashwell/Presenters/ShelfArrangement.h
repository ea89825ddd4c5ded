#pragma once

// What the shelf presenter shows for a shelf, a filter and a search text, as data: the home
// arrangement (the latest save as the hero, a row of recently added saves, then all the other
// saves) while the filter is "all" and the search text is empty, otherwise one titled section of
// the matching saves; or the empty state. The shelf presenter draws it; tests read it.

#include "Library/Save.h"
#include "Shelf/Filter.h"
#include "Shelf/Shelf.h"
#include "Shelf/ShelfItem.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace sw::app {

struct ShelfSection {
    enum class Kind {
        recentlyAdded,   // the home's row; its button shows all recently added saves
        allSaves,        // the home's list; its button, when shown, downloads the missing media
        matching,        // the one section of any other filter or of a search
    };
    Kind kind = Kind::matching;
    QString title;
    std::optional<QString> detail;        // the count text of a matching section
    std::optional<QString> actionTitle;   // the header's button; none: no button
    QList<ShelfItem> items;

    friend bool operator==(const ShelfSection &, const ShelfSection &) = default;
};

struct ShelfArrangement {
    static constexpr qsizetype columnsWithoutSelection = 4;
    static constexpr qsizetype columnsWithSelection = 3;

    bool isEmpty = false;
    QString emptyTitle;                 // while empty
    QString emptyMessage;
    std::optional<ShelfItem> hero;      // the home's latest save
    QList<ShelfSection> sections;       // none while empty

    // The home arrangement holds for the filter "all" and a search text without any character
    // (a text of spaces is a search).
    static bool isHome(const Filter &filter, const QString &query);
    // The number of card columns: 4, or 3 while a save is selected. It is also the length of the
    // home's recently added row.
    static qsizetype columns(const std::optional<Save::ID> &selection);
    // The saves in the order they show, top to bottom and left to right: on the home the latest,
    // then the recently added, then the rest; otherwise the shelf's items for the filter and text.
    static QList<ShelfItem> visibleItems(const Shelf &shelf, const Filter &filter, const QString &query);
    // "1 item" or "n items" (0 included); during a search wrapped as "… matching “query”".
    static QString countText(qsizetype count, const QString &query);

    // The arrangement; `title` heads the matching section.
    static ShelfArrangement of(const Shelf &shelf, const Filter &filter, const QString &query, const QString &title,
                               qsizetype columns);
    // The same from what the shelf gave: the home arrangement from the home, the number of saves
    // missing their media and those media's bytes; the matching one from the items.
    static ShelfArrangement home(const Home &home, qsizetype missing, std::int64_t missingBytes, qsizetype columns);
    // The same with the home's rest already made into items (Home::rest).
    static ShelfArrangement home(const Home &home, const QList<ShelfItem> &rest, qsizetype missing,
                                 std::int64_t missingBytes, qsizetype columns);
    // The all section's items of one home, kept between its arrangements: whenever the recently
    // added row leaves some of its saves over (the shorter row while a save is selected) they are
    // a copy of the whole rest, which selecting a save and letting it go would make each time.
    // The lists of the last two row lengths are kept, so that a selection made and let go in
    // turn (the row is one shorter while a save is selected) copies neither again.
    struct AllSaves {
        struct List {
            qsizetype rowLength = -1;   // the row they follow; none yet
            QList<ShelfItem> items;
        };
        std::array<List, 2> lists;   // the one last used first

        // The items made for `rowLength`, now first; null when there are none.
        const QList<ShelfItem> *take(qsizetype rowLength);
        // Keeps `items`, made for `rowLength`, first; the one used longest ago goes.
        void keep(qsizetype rowLength, QList<ShelfItem> items);
    };
    // The same, taking the all section's items from `kept` when they were made for this row
    // length, else keeping the ones made there. `kept` belongs to this home and this rest.
    static ShelfArrangement home(const Home &home, const QList<ShelfItem> &rest, qsizetype missing,
                                 std::int64_t missingBytes, qsizetype columns, AllSaves *kept);
    static ShelfArrangement matching(QList<ShelfItem> items, const QString &query, const QString &title);

    // The saves of the hero and the sections, in order: the visible order.
    QList<ShelfItem> items() const;

    friend bool operator==(const ShelfArrangement &, const ShelfArrangement &) = default;
};

}  // namespace sw::app
