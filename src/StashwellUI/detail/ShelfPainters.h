#pragma once

// What the shelf keeps for the saves on screen and just around it: one painter per save (a card
// or a row, with its view state) and, per block, the saves it was last laid out for.

#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveRow.h"

#include <QHash>

#include <optional>
#include <vector>

namespace sw {

class Paging;
struct ShelfCollection;

namespace detail {

// One item with a painter: what it was built from, and its view state.
struct ShelfPainter {
    // Where its save stood when last placed; -1 once that is not known. Read only where the
    // block's item at that place is checked to be the save's: the block's items change under it.
    qsizetype index = 0;
    quint64 generation = 0;      // the block's generation it was checked against
    std::optional<SaveCard> card;
    SaveCard::ViewState cardState;
    std::optional<SaveRow> row;
    SaveRow::ViewState rowState;
};

struct ShelfBlockState {
    quint64 generation = 0;
    QHash<Save::ID, ShelfPainter> built;
    // Each item's save as an address of its shared data: the same address is the same save,
    // unchanged. Compared with the next items without reading the last ones again.
    std::vector<const void *> saves;
};

// An item of a block, by its save: what the pointer is on or pressed stays with the save when the
// block's items move.
struct ShelfItemRef {
    qsizetype block = -1;
    Save::ID id;
    bool isSet() const { return block >= 0; }
};

// A part of one item that takes presses; the default is none.
struct ShelfItemPart {
    qsizetype block = -1;
    Save::ID id;
    SaveCard::Part card = SaveCard::Part::none;
    SaveRow::Part row = SaveRow::Part::none;
    ShelfItemRef item() const { return ShelfItemRef{block, id}; }
    friend bool operator==(const ShelfItemPart &, const ShelfItemPart &) = default;
};

// Makes the painter of the collection's item at `index` anew unless the one it has was made from
// the same item, selection and minute; returns whether it did. The painter's place is `index` then.
bool refreshPainter(ShelfPainter &painter, const ShelfCollection &c, qsizetype index, Paging *paging);
// The painter of the collection's item at `index`, made when the block has none for its save and
// checked again when it was made for an older generation or another place.
ShelfPainter &ensurePainter(ShelfBlockState &state, const ShelfCollection &c, qsizetype index, Paging *paging);
// Whether the collection's item at `index` is the save's: a kept place is used only then.
bool standsAt(const ShelfCollection *c, const Save::ID &id, qsizetype index);
// Where the save stands in the collection now: at `hint` when it still does, else wherever the
// collection has it; none when it no longer shows it.
std::optional<qsizetype> placeOf(const ShelfCollection *c, const Save::ID &id, qsizetype hint);

}  // namespace detail
}  // namespace sw
