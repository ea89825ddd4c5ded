#pragma once

// The shelf's pointer and keys: turns what the pointer and the keyboard do over the painted items
// into their look (the card's hover and lift, the hovered and pressed parts, the thumbnail's
// arrows), a drag of an item out as its link once the pointer has moved the drag distance, and
// clicks of parts, which the surface turns into what the user asks for.
//
// It keeps the pointer's items by save, not by place: the surface's blocks change under it, and
// settle() forgets what a block no longer has.

#include "StashwellUI/Saves/HoverPress.h"
#include "StashwellUI/detail/ShelfPainters.h"

#include <QHash>
#include <QPointF>

#include <array>
#include <functional>
#include <optional>

class QKeyEvent;
class QVariantAnimation;

namespace sw {

class ShelfSurface;

namespace detail {

class ShelfInput {
public:
    explicit ShelfInput(ShelfSurface &surface);
    // Stops the hover animations, so that none reports to a half-gone surface.
    ~ShelfInput();
    ShelfInput(const ShelfInput &) = delete;
    ShelfInput &operator=(const ShelfInput &) = delete;

    // The item under the pointer: its card lifts.
    const ShelfItemRef &hovered() const { return m_hovered; }
    // The items whose painters carry the pointer's state: the hovered one, the one whose part is
    // pressed and the one a press began on.
    std::array<ShelfItemRef, 3> heldItems() const;

    void moved(const QPointF &point);
    void left();
    // The items moved under a pointer that stood still (a scroll): the hovered item becomes the
    // one now under it, found where the pointer was last seen over the shelf. Asking the display
    // where the pointer is would cost a round trip to it on every scroll step.
    void contentMoved();
    // A press of the left button; whether it fell on an item.
    bool press(const QPointF &point);
    // Whether a move with `buttons` held has gone the drag distance from a press on an item.
    bool dragStarts(const QPointF &point, Qt::MouseButtons buttons) const;
    // Ends the press without a click and drags its item out as its link.
    void drag();
    bool isPressing() const { return m_parts.isPressing(); }
    // A release that clicks nothing.
    void forgetPress() { m_pressItem = ShelfItemRef{}; }
    // A release of the left button: the part clicked (none when it was let go elsewhere).
    ShelfItemPart release(const QPointF &point);

    // Hands the key to the page's key handler first; whether the key was dealt with (true too
    // when the handler closed the surface: nothing may touch it then).
    bool key(QKeyEvent *event);

    // After new blocks: the items the pointer is on or pressed are looked for wherever they went
    // (`stays` tells, and places their painters); those gone are forgotten. Whether the hovered
    // item went.
    bool settle(const std::function<bool(qsizetype block, const Save::ID &id)> &stays);

private:
    void setHoveredItem(const ShelfItemRef &item);
    ShelfItemPart partAt(const QPointF &point);
    // Writes the pointer's hovered and pressed parts into the item's view state.
    void sync(const ShelfItemRef &item);
    void animateHover(const Save::ID &id, qsizetype block, bool in);

    ShelfSurface &m_surface;
    ShelfItemRef m_hovered;
    HoverPress<ShelfItemPart> m_parts;  // the part under the pointer and the part pressed
    ShelfItemRef m_pressItem;           // the item a press began on, from which a drag starts
    QPointF m_pressPoint;
    std::optional<QPointF> m_pointer;   // where the pointer was last seen over the shelf itself
    QHash<Save::ID, QVariantAnimation *> m_hoverAnimations;
};

}  // namespace detail
}  // namespace sw
