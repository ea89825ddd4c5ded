#include "StashwellUI/Shelf/ShelfLayout.h"

namespace sw {

QString shelfLayoutRawValue(ShelfLayout layout)
{
    return layout == ShelfLayout::grid ? QStringLiteral("grid") : QStringLiteral("list");
}

std::optional<ShelfLayout> shelfLayoutFromRawValue(QStringView raw)
{
    for (const ShelfLayout layout : allShelfLayouts) {
        if (raw == shelfLayoutRawValue(layout))
            return layout;
    }
    return std::nullopt;
}

QString shelfLayoutSymbol(ShelfLayout layout)
{
    return layout == ShelfLayout::grid ? QStringLiteral("square.grid.2x2") : QStringLiteral("list.bullet");
}

}  // namespace sw
