#pragma once

// Laying out a collection of the shelf: its items' cells (ShelfGeometry's ItemGeometry: a grid of
// cards of two heights, or a list of rows), and what a new collection keeps of the last one. A
// collection whose saves stand as before keeps its cells (only a new column count reflows them) and
// its painters; any other is laid out afresh.

#include "StashwellUI/Shelf/ShelfGeometry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace sw {

struct ShelfCollection;

namespace detail {

// A grid's cells: text cards are the shorter ones.
ItemGeometry gridGeometry(const ShelfCollection &c);
// The collection's cells, as its layout has them.
ItemGeometry itemGeometry(const ShelfCollection &c);

struct CollectionLayout {
    // The same saves in the same order (and for a grid, of the same heights): the painters kept
    // for the block stay its own.
    bool sameItems = false;
    // Cells moved: the column's layout and what shows must be worked out again.
    bool moved = false;
    // Each item's save as an address of its shared data, to compare the next collection with.
    std::vector<const void *> saves;
    ItemGeometry items;
};

// Lays out `now`, which follows `before` (none when the block was no collection), whose saves
// were `saves` and whose cells were `cells`.
CollectionLayout layOut(const ShelfCollection *before, const ShelfCollection &now, std::vector<const void *> saves,
                        std::optional<ItemGeometry> cells);

}  // namespace detail
}  // namespace sw
