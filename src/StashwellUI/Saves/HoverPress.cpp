#include "StashwellUI/Saves/HoverPress.h"

#include <QEvent>
#include <QHoverEvent>

namespace sw {

PointerHover PointerHover::of(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
        return {Kind::entered, static_cast<const QHoverEvent *>(event)->position()};
    case QEvent::HoverMove:
        return {Kind::moved, static_cast<const QHoverEvent *>(event)->position()};
    case QEvent::HoverLeave:
    case QEvent::Leave:
        return {Kind::left, {}};
    default:
        return {};
    }
}

namespace {

MediaThumbnail::Hit arrowOf(MediaThumbnail::Hit hit)
{
    return hit == MediaThumbnail::Hit::previous || hit == MediaThumbnail::Hit::next ? hit : MediaThumbnail::Hit::none;
}

}  // namespace

bool showArrows(MediaThumbnail::ViewState &state, MediaThumbnail::Hit hovered, MediaThumbnail::Hit held)
{
    hovered = arrowOf(hovered);
    held = arrowOf(held);
    if (hovered == state.hoveredArrow && held == state.pressedArrow)
        return false;
    state.hoveredArrow = hovered;
    state.pressedArrow = held;
    return true;
}

}  // namespace sw
