#include "StashwellUI/detail/ShelfLayouter.h"

#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveRow.h"
#include "StashwellUI/Shelf/ShelfCollection.h"

#include <algorithm>
#include <utility>

namespace sw::detail {

namespace {

constexpr std::uint8_t kTextCard = 0;
constexpr std::uint8_t kMediaCard = 1;

// A post without attachments is a text post, whose card is the shorter one; read from the
// item, not the save, so that a long list's classes are one pass over the items.
std::uint8_t heightClass(const ShelfItem &item)
{
    return item.kind() == Kind::text ? kTextCard : kMediaCard;
}

// The saves a layout compares by, each read from its shared data.
std::vector<const void *> savesOf(const QList<ShelfItem> &items)
{
    std::vector<const void *> saves(std::size_t(items.size()));
    const ShelfItem *z = items.constData();
    for (qsizetype i = 0, n = items.size(); i < n; ++i)
        saves[std::size_t(i)] = &z[i].save().post();
    return saves;
}

// Whether `saves` are those of `items`, or none read yet.
bool savesFit(const std::vector<const void *> &saves, const QList<ShelfItem> &items)
{
    return saves.empty() || qsizetype(saves.size()) == items.size();
}

std::vector<std::uint8_t> heightClasses(const QList<ShelfItem> &items)
{
    std::vector<std::uint8_t> classes(std::size_t(items.size()));
    const ShelfItem *z = items.constData();
    for (qsizetype i = 0, n = items.size(); i < n; ++i)
        classes[std::size_t(i)] = heightClass(z[i]);
    return classes;
}

}  // namespace

ItemGeometry gridGeometry(const ShelfCollection &c)
{
    return ItemGeometry::grid(c.effectiveColumns(), ShelfCollection::gridSpacing, heightClasses(c.items),
                              {SaveCard::height(false), SaveCard::height(true)});
}

ItemGeometry itemGeometry(const ShelfCollection &c)
{
    if (c.layout == ShelfLayout::list)
        return ItemGeometry::list(c.items.size(), SaveRow::height, ShelfCollection::listDivider);
    return gridGeometry(c);
}

void layAside(std::vector<LaidAside> &aside, const ShelfCollection &gone, std::vector<const void *> saves,
              std::optional<ItemGeometry> cells)
{
    if (cells && !gone.items.isEmpty() && savesFit(saves, gone.items) && cells->count() == gone.items.size())
        aside.insert(aside.begin(), LaidAside{gone.items, std::move(saves), std::move(*cells)});
}

CollectionLayout layOut(const ShelfCollection *before, const ShelfCollection &now, std::vector<const void *> saves,
                        std::optional<ItemGeometry> cells, std::vector<LaidAside> *aside)
{
    // Saves taken over from `now` where `before` had an earlier version: they are no longer
    // `before`'s alone, and are not laid aside with its list.
    bool rewritten = false;
    // What `before` leaves aside when it is not carried on: its cells and saves, for its list to
    // come back to.
    const auto setAside = [&](std::vector<const void *> &beforeSaves, std::optional<ItemGeometry> &beforeCells) {
        if (aside && before && !rewritten)
            layAside(*aside, *before, std::move(beforeSaves), std::move(beforeCells));
    };
    const bool sameList = before && before->items.isSharedWith(now.items);
    const bool grid = now.layout == ShelfLayout::grid;
    if (aside && !(sameList && before->layout == now.layout)) {
        const auto laid = std::find_if(aside->begin(), aside->end(), [&](const LaidAside &a) {
            return a.cells.isGrid() == grid && a.items.isSharedWith(now.items);
        });
        if (laid != aside->end()) {
            LaidAside back = std::move(*laid);
            aside->erase(laid);
            setAside(saves, cells);
            if (grid)
                back.cells.setColumns(now.effectiveColumns());
            return CollectionLayout{false, true, std::move(back.saves), std::move(back.cells)};
        }
    }

    bool sameItems = before && before->layout == now.layout && before->items.size() == now.items.size()
                     && savesFit(saves, before->items);
    // The very same list (only the selection, the columns or the time changed): its saves stand
    // as they stood, and a walk over a hundred thousand items would only say so.
    if (sameItems && !before->items.isSharedWith(now.items)) {
        if (saves.empty())
            saves = savesOf(before->items);
        // The same saves in the same order, and (for a grid) of the same heights: a save whose
        // data is shared is the same save; another one must have the same id and height.
        const ShelfItem *a = before->items.constData();
        const ShelfItem *z = now.items.constData();
        const void **kept = saves.data();
        for (qsizetype i = 0, n = now.items.size(); i < n; ++i) {
            const void *data = &z[i].save().post();
            if (data == kept[i])
                continue;
            if (a[i].save().id() != z[i].save().id() || heightClass(a[i]) != heightClass(z[i])) {
                sameItems = false;
                break;
            }
            kept[i] = data;
            rewritten = true;
        }
    }
    if (sameItems && cells) {
        bool moved = false;
        if (now.layout == ShelfLayout::grid && cells->columns() != now.effectiveColumns()) {
            cells->setColumns(now.effectiveColumns());
            moved = true;
        }
        return CollectionLayout{true, moved, std::move(saves), std::move(*cells)};
    }
    // The very list in the other layout: its saves stand, and a grid needs only the heights.
    if (sameList && savesFit(saves, now.items)) {
        std::vector<const void *> kept = saves;
        setAside(saves, cells);
        return CollectionLayout{false, true, std::move(kept), itemGeometry(now)};
    }
    setAside(saves, cells);
    return CollectionLayout{false, true, {}, itemGeometry(now)};
}

}  // namespace sw::detail
