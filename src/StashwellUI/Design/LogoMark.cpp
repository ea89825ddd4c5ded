#include "StashwellUI/Design/LogoMark.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Decorative.h"
#include "StashwellUI/detail/Sizing.h"

#include <QPainter>

namespace sw {

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
    return QSize(Sizing::wholeSide(m_size), Sizing::wholeSide(m_size));
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
    paint(painter, Sizing::centredSquare(QRectF(rect()), m_size), m_tiled);
}

}  // namespace sw
