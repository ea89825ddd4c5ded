#include "StashwellUI/Design/Marks.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/detail/Decorative.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

int side(double size)
{
    return int(std::ceil(std::max(0.0, size)));
}

QRectF centredSquare(const QRectF &area, double size)
{
    return QRectF(area.center().x() - size / 2, area.center().y() - size / 2, size, size);
}

}  // namespace

// --- Logo ---

LogoMark::LogoMark(double size, bool tiled, QWidget *parent) : QWidget(parent), m_size(size), m_tiled(tiled)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The application's name, the same in every language.
    // Marked before it is named: naming it makes its accessible interface.
    Decorative::markAsGraphic(this);
    setAccessibleName(QStringLiteral("Stashwell"));
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void LogoMark::setMarkSize(double size)
{
    if (size == m_size)
        return;
    m_size = size;
    updateGeometry();
    update();
}

void LogoMark::setTiled(bool tiled)
{
    if (tiled == m_tiled)
        return;
    m_tiled = tiled;
    update();
}

QSize LogoMark::sizeHint() const
{
    return QSize(side(m_size), side(m_size));
}

std::array<QRectF, 2> LogoMark::bars(double size)
{
    const double g = size;
    const double thickness = std::max(g * 0.09, 1.5);
    const double spacing = g * 0.12;
    const double widths[2] = {g * 0.3, g * 0.2};
    const double stackHeight = thickness * 2 + spacing;
    const QPointF shift(g * -0.02, g * -0.1);
    const double top = (g - stackHeight) / 2 + shift.y();
    std::array<QRectF, 2> result;
    for (int i = 0; i < 2; ++i)
        result[std::size_t(i)] =
            QRectF((g - widths[i]) / 2 + shift.x(), top + i * (thickness + spacing), widths[i], thickness);
    return result;
}

void LogoMark::paint(QPainter &painter, const QRectF &square, bool tiled)
{
    if (square.isEmpty())
        return;
    if (tiled) {
        Symbols::paint(painter, square, Symbols::logo, QColor());
        return;
    }
    const QColor muted = Tokens::Colors::muted();
    Symbols::paint(painter, square, u"bookmark", muted);
    painter.save();
    painter.translate(square.topLeft());
    for (const QRectF &bar : bars(square.width()))
        ContinuousShape::fill(painter, bar, bar.height() / 2, muted);
    painter.restore();
}

void LogoMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, centredSquare(QRectF(rect()), m_size), m_tiled);
}

// --- X ---

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
    return QSize(side(m_size), side(m_size));
}

void XGlyph::paint(QPainter &painter, const QRectF &square, const QColor &color)
{
    // The bold double-struck letter as a drawing: no installed font needs to have it.
    Symbols::paint(painter, square, Symbols::xGlyph, color.isValid() ? color : Tokens::Colors::text());
}

void XGlyph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, centredSquare(QRectF(rect()), m_size), m_color);
}

// --- Swatch dot ---

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
    return centredSquare(area, kSide);
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
