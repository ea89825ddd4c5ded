#include "StashwellUI/Shelf/GridNavigation.h"

#include <algorithm>

namespace sw::GridNavigation {

std::optional<qsizetype> index(std::optional<qsizetype> current, GridMove move, qsizetype columns, qsizetype count)
{
    if (count < 1)
        return std::nullopt;
    if (!current || *current < 0 || *current >= count)
        return 0;
    const qsizetype at = *current;
    const qsizetype c = std::max<qsizetype>(columns, 1);
    const qsizetype last = count - 1;
    switch (move) {
    case GridMove::left:
        return at == 0 ? 0 : at - 1;
    case GridMove::right:
        return std::min(at + 1, last);
    case GridMove::up:
        return at >= c ? at - c : at;
    case GridMove::down:
        if (at + c < count)
            return at + c;
        if (at < (last / c) * c)
            return last;
        return at;
    }
    return at;
}

}  // namespace sw::GridNavigation
