#include "StashwellUI/detail/ShelfPainters.h"

#include "StashwellUI/Shelf/ShelfCollection.h"

namespace sw::detail {

bool refreshPainter(ShelfPainter &built, const ShelfCollection &c, qsizetype index, Paging *paging)
{
    Q_ASSERT(index >= 0 && index < c.items.size());
    const ShelfItem &shown = c.items.at(index);
    built.index = index;
    const bool selected = c.isSelected(shown.save().id());
    const double minute = SaveCard::wholeMinute(c.now);
    // The painter stays when what it was made from is unchanged (the painters' own equality,
    // checked on their inputs so that nothing is made to be compared).
    if (c.layout == ShelfLayout::grid) {
        built.row.reset();
        if (built.card && built.card->isSelected() == selected && SaveCard::wholeMinute(built.card->now()) == minute
            && built.card->item() == shown)
            return false;
        built.card.emplace(shown, c.now, selected);
        built.card->setPaging(paging);
        built.card->track(built.cardState);
        return true;
    } else {
        built.card.reset();
        if (built.row && built.row->isSelected() == selected && SaveCard::wholeMinute(built.row->now()) == minute
            && built.row->item() == shown)
            return false;
        built.row.emplace(shown, c.now, selected);
        built.row->track(built.rowState);
        return true;
    }
}

ShelfPainter &ensurePainter(ShelfBlockState &state, const ShelfCollection &c, qsizetype index, Paging *paging)
{
    const Save::ID &id = c.items.at(index).save().id();
    auto it = state.built.find(id);
    if (it == state.built.end()) {
        it = state.built.insert(id, ShelfPainter{});
        refreshPainter(*it, c, index, paging);
        it->generation = state.generation;
    } else if (it->generation != state.generation || it->index != index) {
        refreshPainter(*it, c, index, paging);
        it->generation = state.generation;
    }
    return *it;
}

bool standsAt(const ShelfCollection *c, const Save::ID &id, qsizetype index)
{
    if (!c || index < 0 || index >= c->items.size())
        return false;
    return c->items.at(index).save().id() == id;
}

std::optional<qsizetype> placeOf(const ShelfCollection *c, const Save::ID &id, qsizetype hint)
{
    if (standsAt(c, id, hint))
        return hint;
    if (!c)
        return std::nullopt;
    if (const qsizetype i = ShelfItem::indexOf(c->items, id); i >= 0)
        return i;
    return std::nullopt;
}

}  // namespace sw::detail
