#pragma once

// The saves of one shelf section, as cards in a grid or rows in a list, with what the shelf adds
// to each card and row: the selection look (the selected save and every highlighted one), the
// save's context menu, and dragging the save out as its link.
//
// A ShelfCollection is a value: the items and everything they are drawn with, and the callbacks
// through which every request leaves, each with the item or its id. The shelf surface
// (ShelfSurface) draws it as one of its blocks; no item ever becomes a widget.

#include "Capture/Date.h"
#include "Library/Collection.h"
#include "Library/Save.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Saves/SaveIntent.h"
#include "StashwellUI/Shelf/ShelfLayout.h"

#include <QList>
#include <QSet>
#include <QUrl>

#include <functional>
#include <optional>

class QMimeData;

namespace sw {

struct ShelfCollection {
    static constexpr qsizetype defaultColumns = 4;
    static constexpr double gridSpacing = 14;
    static constexpr double paneRadius = 18;
    // The line between two rows of a list.
    static constexpr double listDivider = 1;

    QList<ShelfItem> items;                    // in display order, each known by its save's id
    ShelfLayout layout = ShelfLayout::grid;
    qsizetype columns = defaultColumns;        // the grid's; a count below 1 gives one column
    Date now;
    std::optional<Save::ID> selection;
    QSet<Save::ID> highlighted;                // drawn selected besides the selection
    QList<Collection> collections;             // offered by every item's save menu
    // Every request of an item (a click on its card or row, its save menu) leaves here, once.
    std::function<void(const ShelfItem &, const SaveIntent &)> onIntent;

    // The grid's column count as drawn: at least 1.
    qsizetype effectiveColumns() const { return columns < 1 ? 1 : columns; }
    // The selection, or one of the highlighted saves.
    bool isSelected(const Save::ID &id) const;

    // What dragging an item out carries: the post's canonical address as a URL and as text,
    // marked as coming from the shelf `origin` names (any token unique to one shelf). The caller
    // owns the result.
    static QMimeData *dragData(const ShelfItem &item, quintptr origin);
    // The address a drag of the item carries.
    static QUrl dragURL(const ShelfItem &item);
    // Whether a drop's data is a drag out of the shelf `origin` names: such a drop back onto the
    // same shelf is ignored. Data from anywhere else, or from another shelf, is not.
    static bool isOwnDrop(const QMimeData *data, quintptr origin);
    // The format of the mark.
    static QString originFormat();
};

}  // namespace sw
