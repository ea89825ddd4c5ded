#pragma once

// Where the selection goes when an arrow key is pressed in a grid of items laid out in display
// order, `columns` to a row: the item at index i sits in row i / columns, column i % columns.

#include <QtGlobal>

#include <optional>

namespace sw {

enum class GridMove { left, right, up, down };

namespace GridNavigation {

// The index to select after `move` from `current` (none when nothing is selected) in a grid of
// `count` items; none when there is nothing to select. A missing or stale current index selects the
// first item; a column count below 1 counts as 1. Left and right follow the display order (left
// from a row's first item goes to the last item of the row above); down from above a short last
// row lands on its final item.
std::optional<qsizetype> index(std::optional<qsizetype> current, GridMove move, qsizetype columns, qsizetype count);

}  // namespace GridNavigation

}  // namespace sw
