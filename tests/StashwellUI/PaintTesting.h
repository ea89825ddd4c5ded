#pragma once

// Helpers for the tests that look at what a view painted: drawing a widget onto a clear image,
// comparing colours within rounding, and the readability of one colour over another.

#include <QColor>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace sw::test {

// The widget drawn at its current size onto a transparent image.
inline QImage render(QWidget &widget,
                     QWidget::RenderFlags flags = QWidget::DrawWindowBackground | QWidget::DrawChildren)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), flags);
    return image;
}

// The widget drawn at its preferred size.
inline QImage renderAtSizeHint(QWidget &widget,
                               QWidget::RenderFlags flags = QWidget::DrawWindowBackground | QWidget::DrawChildren)
{
    widget.resize(widget.sizeHint());
    return render(widget, flags);
}

// A transparent premultiplied image to paint into.
inline QImage clearCanvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The same colour within `tolerance` on each channel (and on the opacity when `alphaToo`).
inline bool sameColour(const QColor &a, const QColor &b, int tolerance, bool alphaToo = false)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance && (!alphaToo || std::abs(a.alpha() - b.alpha()) <= tolerance);
}

// Relative luminance, as the readability guidelines define it.
inline double luminance(const QColor &colour)
{
    const auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

// Contrast ratio of two opaque colours, 1 to 21.
inline double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `top` laid over the opaque `bottom`.
inline QColor over(const QColor &top, const QColor &bottom)
{
    const double a = top.alphaF();
    return QColor::fromRgbF(static_cast<float>(top.redF() * a + bottom.redF() * (1 - a)),
                            static_cast<float>(top.greenF() * a + bottom.greenF() * (1 - a)),
                            static_cast<float>(top.blueF() * a + bottom.blueF() * (1 - a)));
}

}  // namespace sw::test
