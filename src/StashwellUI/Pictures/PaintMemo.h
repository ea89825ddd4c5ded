#pragma once

// Painting remembered as bitmaps. A shelf repaints the same few dozen cards on every scroll frame,
// and antialiased rounded shapes, capsules and shaped text cost far more to rasterise than to copy;
// so a painter that draws something the same way again and again (a pill, a badge, a thumbnail's
// frame, a line of text) draws it once into a bitmap kept under a key that names everything it
// depends on, and copies the bitmap on every later paint.
//
// The key must name what is drawn (texts, colours as resolved for the current appearance and
// surface, states); the size in device pixels and the device pixel ratio are added here. Painting
// that is transformed beyond a translation, or not into a raster device, is drawn directly.
// Main thread only, like all painting.

#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

namespace sw::PaintMemo {

// Draws into `rect` what `paint` draws into a rectangle of that size at the origin, from the
// bitmap kept under `key` (made by `paint` the first time). The rectangle's corner is put on a
// device pixel so that the bitmap is copied, never resampled.
void draw(QPainter &painter, const QRectF &rect, const QString &key,
          const std::function<void(QPainter &painter, const QRectF &area)> &paint);
// The same for a drawing that leaves everything more than `edge` points inside its rectangle
// untouched (a border): only the band along the edges is copied.
void drawEdges(QPainter &painter, const QRectF &rect, double edge, const QString &key,
               const std::function<void(QPainter &painter, const QRectF &area)> &paint);

// How many bitmaps are kept, and forgetting them all.
int count();
void clear();

}  // namespace sw::PaintMemo
