#pragma once

// Rounded rectangles with continuous corners: each corner eases out of the straight edge along a
// curve instead of meeting a circular arc abruptly, the "squircle" look of the whole interface.
// Every rounded shape of the module (cards, wells, chips, capsules, avatars) is drawn from here.

#include <QPainterPath>
#include <QRectF>
#include <QRegion>

class QPainter;
class QColor;

namespace sw {

namespace ContinuousShape {

// How far the corner's easing reaches into the edges, as a share of the radius.
inline constexpr double kSmoothing = 0.6;

// The outline of `rect` with continuous corners of `radius`. A radius of 0 or less gives the plain
// rectangle; a radius larger than half the shorter side is cut to it, and the easing shrinks where
// the sides are too short for it, so a radius of half the height gives a capsule with round ends.
// An empty or invalid rectangle gives an empty path.
QPainterPath rect(const QRectF &rect, double radius, double smoothing = kSmoothing);

// The whole pixels that a fill of the shape covers completely, wherever it falls within a device
// pixel (an antialiased edge is at most one pixel wide): the shape less its corners and a pixel
// along each edge. What lies under them need not be painted.
QRegion inside(const QRectF &rect, double radius, double smoothing = kSmoothing);

// A capsule: round ends on the shorter side.
QPainterPath capsule(const QRectF &rect);

// Fills the shape.
void fill(QPainter &painter, const QRectF &rect, double radius, const QColor &color);
// Strokes the shape's border wholly inside its edge: the path is inset by half the line width.
void strokeInside(QPainter &painter, const QRectF &rect, double radius, const QColor &color, double lineWidth = 1);

}  // namespace ContinuousShape

}  // namespace sw
