#pragma once

// The soft drop shadow under a raised card (the latest-save hero): the card's rounded shape in
// black, blurred, moved by an offset and drawn at an opacity. Blurred shapes are kept by size, so
// repainting a card costs one image draw.

#include <QImage>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace sw::CardShadow {

// How far past the card's edge the shadow reaches, on each side, before the offset.
double reach(double blur);

// The shadow of a card of `size` with corner `radius`: an alpha image `reach` larger on each side.
QImage image(const QSizeF &size, double radius, double blur, qreal devicePixelRatio = 1);

// Paints the shadow of the card at `card`. `covered`, in the painter's coordinates, is an area that
// something opaque paints over next (the inside of an opaque card): the shadow is left out there,
// where it would only be painted over. A large card's shadow is mostly its inside.
void paint(QPainter &painter, const QRectF &card, double radius, double blur, const QPointF &offset, double opacity,
           const QRectF &covered = QRectF());

}  // namespace sw::CardShadow
