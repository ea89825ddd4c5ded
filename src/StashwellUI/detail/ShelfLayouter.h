#pragma once

// Laying out a collection of the shelf: its items' cells (ShelfGeometry's ItemGeometry: a grid of
// cards of two heights, or a list of rows), and what a new collection keeps of the last one. A
// collection whose saves stand as before keeps its cells (only a new column count reflows them) and
// its painters; any other is laid out afresh.

#include "Shelf/ShelfItem.h"
#include "StashwellUI/Shelf/ShelfGeometry.h"

#include <QList>

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
    // Each item's save as an address of its shared data, to compare the next collection with;
    // empty until a comparison needs them: reading them is a walk over every save's data, which
    // a list made for a search letter would wait on for nothing.
    std::vector<const void *> saves;
    ItemGeometry items;
};

// A collection a block showed before, laid out: a list that comes back (the other layout of the
// same saves; the home's list of all saves as it was before a selection shortened the row above
// it, or before a search) takes its cells again instead of being laid out afresh. Its own copy of
// the list keeps the list's items as they were, so that a list shared with it is the very list
// these cells were laid out for.
struct LaidAside {
    QList<ShelfItem> items;
    std::vector<const void *> saves;   // as CollectionLayout's: maybe not read yet
    ItemGeometry cells;   // a grid's or a list's: the layout it was laid out in
};

// Puts a collection no longer shown, whose saves were `saves` (or none read yet) and cells
// `cells`, at the front of `aside`, when they are whole.
void layAside(std::vector<LaidAside> &aside, const ShelfCollection &gone, std::vector<const void *> saves,
              std::optional<ItemGeometry> cells);

// Lays out `now`, which follows `before` (none when the block was no collection), whose saves
// were `saves` (or none read yet) and whose cells were `cells`. `aside` holds collections shown
// before, the latest first: one is taken when `now` is its list again, and `before` joins them at
// the front whenever it is laid out anew.
CollectionLayout layOut(const ShelfCollection *before, const ShelfCollection &now, std::vector<const void *> saves,
                        std::optional<ItemGeometry> cells, std::vector<LaidAside> *aside = nullptr);

}  // namespace detail
}  // namespace sw
