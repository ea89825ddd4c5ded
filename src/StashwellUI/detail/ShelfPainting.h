#pragma once

// Painting the shelf's collections: a grid's cards each on its own, a list's rows on one pane with
// dividers between them, each through its cache of painted images.

#include "StashwellUI/Shelf/ShelfGeometry.h"
#include "StashwellUI/detail/ShelfPainters.h"

#include <QRectF>

#include <functional>
#include <optional>

class QPainter;

namespace sw {

class DrawList;
class SaveCardCache;
class SaveRowCache;
class ShelfPictures;
struct ShelfCollection;

namespace detail {

struct ShelfPaint {
    const ShelfGeometry &geometry;
    ShelfPictures &pictures;
    SaveCardCache &cardImages;
    SaveRowCache &rowImages;
    // The collection a block is; null for any other block.
    std::function<const ShelfCollection *(qsizetype block)> collectionAt;
    // The painter of a block's item, made when it has none.
    std::function<ShelfPainter &(qsizetype block, qsizetype index)> painterAt;
    // The painter kept for an item, when its save still stands at the place kept (and that place).
    std::function<ShelfPainter *(const ShelfItemRef &item, qsizetype *index)> keptFor;

    // Paints the items of `range` of a collection block, in shelf coordinates; only the part of a
    // list's pane in `band` is painted. How many items were painted.
    int collection(QPainter &painter, const ShelfCollection &c, qsizetype block, const ItemGeometry::Range &range,
                   const QRectF &band) const;

    // What collection() copies for a grid's cards, listed in `list` as `painter` would draw it
    // (each card's kept image, made now when there is none, and its border's pieces). Nothing for
    // a list's rows, or where a card would be drawn anew rather than copied: collection() paints
    // those. How many items were listed.
    std::optional<int> listCollection(DrawList &list, const QPainter &painter, const ShelfCollection &c, qsizetype block,
                                      const ItemGeometry::Range &range) const;

    // What the items of `range` of a collection block cover with an opaque fill, in shelf
    // coordinates and within `band`: the cards' or the list pane's inside. Nothing under it shows.
    QRegion opaque(const ShelfCollection &c, qsizetype block, const ItemGeometry::Range &range, const QRectF &band) const;

    // Paints ahead the images of the painters kept in `states` (never on screen) as painting them
    // into rectangles of the shelf on a device of `ratio` would, the nearest to the band from `top`
    // to `bottom` first, until `outOfTime` says so. Whether all were done.
    bool ahead(const std::vector<ShelfBlockState> &states, double top, double bottom, qreal ratio,
               const std::function<bool()> &outOfTime) const;
};

}  // namespace detail
}  // namespace sw
