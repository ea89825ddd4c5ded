#pragma once

// The pointer over a painted view whose parts are found by hit-testing: a card, a thumbnail, the
// items of a painted shelf. It keeps the part the pointer is over and the part a press began on,
// and turns letting go over that same part into a click of it; letting go anywhere else clicks
// nothing. The view hit-tests, hands the parts in, and draws from what is kept here. Nothing here
// knows geometry, so a surface that draws many items keys its parts by item as well.
//
// `Part{}` is "on nothing that takes presses": the `none` of a view's part enum, or an empty key.
//
// The page arrows of a thumbnail follow the pointer in the same way: showArrows() writes the arrow
// the pointer is over and the arrow held down into the thumbnail's state.

#include "StashwellUI/Saves/MediaThumbnail.h"

#include <QPointF>

class QEvent;

namespace sw {

// What a widget event says of the pointer hovering the widget.
struct PointerHover {
    enum class Kind { none, entered, moved, left };
    Kind kind = Kind::none;
    QPointF position;   // where it entered or moved to

    // A hover enter or move (with its position), a hover leave or leave, or none for any other event.
    static PointerHover of(const QEvent *event);
};

template <typename Part>
class HoverPress {
public:
    Part hovered() const { return m_hovered; }
    // The part the press under way began on; none without one.
    Part pressed() const { return m_pressed; }
    // The pressed part while the pointer is on it; none once it has moved off (and again the part
    // when it comes back).
    Part held() const { return m_held ? m_pressed : Part{}; }
    bool isPressing() const { return !(m_pressed == Part{}); }

    // The pointer is over `part`. Returns whether the hovered part changed.
    bool hover(const Part &part)
    {
        if (part == m_hovered)
            return false;
        m_hovered = part;
        return true;
    }
    // The pointer has left the view.
    bool leave() { return hover(Part{}); }

    // The main button went down on `part`. A press on nothing begins none (and drops one that
    // was under way). Returns whether a press began.
    bool press(const Part &part)
    {
        m_pressed = part;
        m_held = isPressing();
        return m_held;
    }

    // The pointer moved to `part` while the button is down. Returns whether held() changed.
    bool drag(const Part &part)
    {
        const bool held = isPressing() && part == m_pressed;
        if (held == m_held)
            return false;
        m_held = held;
        return true;
    }

    // The main button came up over `part`. Ends the press and returns the part clicked: the one
    // the press began on when it is let go over it, otherwise none.
    Part release(const Part &part)
    {
        const Part began = m_pressed;
        m_pressed = Part{};
        m_held = false;
        return part == began ? began : Part{};
    }

private:
    Part m_hovered{};
    Part m_pressed{};
    bool m_held = false;
};

// Writes the arrow the pointer is over and the arrow held down into a thumbnail's state; any part
// that is not an arrow counts as none. Returns whether the state changed.
bool showArrows(MediaThumbnail::ViewState &state, MediaThumbnail::Hit hovered, MediaThumbnail::Hit held);

}  // namespace sw
