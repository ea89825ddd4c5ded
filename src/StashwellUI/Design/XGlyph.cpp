#include "StashwellUI/Design/XGlyph.h"

#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Decorative.h"
#include "StashwellUI/detail/Sizing.h"

#include <QPainter>

namespace sw {

XGlyph::XGlyph(double size, QWidget *parent) : QWidget(parent), m_size(size)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Marked before it is named: naming it makes its accessible interface.
    Decorative::markAsGraphic(this);
    setAccessibleName(QStringLiteral("X"));
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void XGlyph::setGlyphSize(double size)
{
    if (size == m_size)
        return;
    m_size = size;
    updateGeometry();
    update();
}

void XGlyph::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

QSize XGlyph::sizeHint() const
{
    return QSize(Sizing::wholeSide(m_size), Sizing::wholeSide(m_size));
}

void XGlyph::paint(QPainter &painter, const QRectF &square, const QColor &color)
{
    // The bold double-struck letter as a drawing: no installed font needs to have it.
    Symbols::paint(painter, square, Symbols::xGlyph, color.isValid() ? color : Tokens::Colors::text());
}

void XGlyph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, Sizing::centredSquare(QRectF(rect()), m_size), m_color);
}

}  // namespace sw
