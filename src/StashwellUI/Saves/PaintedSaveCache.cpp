#include "StashwellUI/Saves/PaintedSaveCache.h"

#include "StashwellUI/StashwellUIStrings.h"

namespace sw {

PaintedSurroundings PaintedSurroundings::now(const QSizeF &size, qreal ratio)
{
    return PaintedSurroundings{size, ratio, Theme::currentAppearance(), Theme::currentSurface(),
                               StashwellUIStrings::table().language()};
}

}  // namespace sw
