#pragma once

// Painting a region rectangle by rectangle.
//
// Within one clip rectangle the raster engine blends an image, a tiled pixmap or a translucent
// fill straight onto the window's buffer; within a clip region of several rectangles it goes span
// by span and hands the spans of a tall area to worker threads, whose wake-ups cost far more than
// the blending (a kept card image drawn into two cells took about fifteen times as long). A paint
// event often covers several rectangles (two cells of the shelf, the window less its opaque
// children): a widget that blends much paints each rectangle alone.

#include <QPainter>
#include <QRegion>

#include <cmath>

namespace sw {

// Calls `paint(rect)` once for each rectangle of `region` (in the painter's coordinates), with the
// painter clipped to that rectangle; once with the region's bounds when it is a single rectangle.
template <typename Paint>
void paintRectWise(QPainter &painter, const QRegion &region, Paint &&paint)
{
    if (region.rectCount() <= 1) {
        paint(region.boundingRect());
        return;
    }
    for (const QRect &rect : region) {
        painter.save();
        painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        paint(rect);
        painter.restore();
    }
}

// Rows a band of paintInBands() covers at most, in device pixels: the raster engine keeps a blend
// of fewer than 96 rows on the calling thread.
inline constexpr int kBandRows = 64;

// Calls `paint()` once for each band of at most kBandRows device rows of `area` (in the painter's
// coordinates, which only translate and scale by the pixel ratio), with the painter clipped to
// that band. A tall blend that is not a plain copy (a translucent fill, an image drawn at an
// opacity or in a colour) is otherwise cut into runs of rows handed to worker threads, and for a
// divider or a shadow their wake-ups cost more than the blending.
template <typename Paint>
void paintInBands(QPainter &painter, const QRectF &area, Paint &&paint)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // Bands start and end on whole device rows, so that each clip stays a plain rectangle.
    const double top = std::floor(area.top() * ratio) / ratio;
    const double bottom = std::ceil(area.bottom() * ratio) / ratio;
    const double band = kBandRows / ratio;
    if (bottom - top <= band) {
        paint();
        return;
    }
    const double left = std::floor(area.left() * ratio) / ratio;
    const double right = std::ceil(area.right() * ratio) / ratio;
    for (double y = top; y < bottom; y += band) {
        painter.save();
        painter.setClipRect(QRectF(left, y, right - left, std::min(band, bottom - y)),
                            painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        paint();
        painter.restore();
    }
}

}  // namespace sw
