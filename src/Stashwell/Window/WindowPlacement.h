#pragma once

// Where a window goes so that it lies inside a screen's free area (the screen less its panels,
// QScreen::availableGeometry()).

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace sw::app::WindowPlacement {

// The title bar and the borders a window manager adds around a window not yet mapped, whose frame
// is not known yet.
inline constexpr int kAssumedTitleBar = 40;
inline constexpr int kAssumedBorder = 4;

// The top left corner of a frame of `size` moved as little as it takes from `wanted` into
// `available`. A frame larger than the area keeps its top left corner in it, so that its title
// bar stays reachable.
QPoint inside(QPoint wanted, QSize size, QRect available);

// The top left corner of a frame of `size` centred over `over`, then moved inside `available`.
QPoint centredInside(QRect over, QSize size, QRect available);

// Moves the top-level `window` inside the free area of its screen: centred over `over` (when not
// null) if it is not shown yet, else from where it is.
void keepInside(QWidget &window, const QWidget *over);

}  // namespace sw::app::WindowPlacement
