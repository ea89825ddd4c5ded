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

}  // namespace sw
