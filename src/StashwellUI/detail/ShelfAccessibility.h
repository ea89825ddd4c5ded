#pragma once

// How the shelf shows itself to assistive technologies: its viewport is a list of the items on
// screen (the page's widgets first), each a list item with its text that can be pressed (it
// selects the save) and can show its menu.

#include <QWidget>

namespace sw {

class ShelfSurface;

namespace detail {

// The shelf's viewport, a type of its own so that assistive technologies see it as that list.
class ShelfViewport : public QWidget {
public:
    explicit ShelfViewport(ShelfSurface *surface);
    ShelfSurface *surface() const { return m_surface; }

private:
    ShelfSurface *m_surface;
};

}  // namespace detail
}  // namespace sw
