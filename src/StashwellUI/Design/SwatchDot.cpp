#include "StashwellUI/Design/SwatchDot.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/detail/Decorative.h"
#include "StashwellUI/detail/Sizing.h"

#include <QPainter>

namespace sw {

SwatchDot::SwatchDot(const QColor &color, QWidget *parent) : QWidget(parent), m_color(color)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    Decorative::hide(this);
}

void SwatchDot::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize SwatchDot::sizeHint() const
{
    return QSize(int(kWidth), int(kSide));
}

QRectF SwatchDot::square(const QRectF &area)
{
    return Sizing::centredSquare(area, kSide);
}

void SwatchDot::paint(QPainter &painter, const QRectF &area, const QColor &color)
{
    ContinuousShape::fill(painter, square(area), 3, color);
}

void SwatchDot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_color);
}

}  // namespace sw
