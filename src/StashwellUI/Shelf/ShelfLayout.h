#pragma once

// How the shelf draws its saves: a grid of cards or a list of rows. Chosen in the shelf bar,
// applied by the shelf collection, and stored by its raw value.

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace sw {

enum class ShelfLayout { grid, list };

// Every layout, in the order the shelf bar offers them.
inline constexpr std::array<ShelfLayout, 2> allShelfLayouts{ShelfLayout::grid, ShelfLayout::list};

// "grid" or "list".
QString shelfLayoutRawValue(ShelfLayout layout);
// The layout with exactly that raw value (case-sensitive), or none.
std::optional<ShelfLayout> shelfLayoutFromRawValue(QStringView raw);
// "square.grid.2x2" or "list.bullet".
QString shelfLayoutSymbol(ShelfLayout layout);

}  // namespace sw
