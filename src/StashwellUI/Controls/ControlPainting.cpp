#include "StashwellUI/Controls/ControlPainting.h"

#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/TextRuns.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>

namespace sw::ControlPainting {

double symbolSide(double typeSize) { return std::round(typeSize * 1.2 * 4) / 4; }

IconPainter symbolIcon(const QString &name)
{
    if (name.isEmpty())
        return {};
    return [name](QPainter &painter, const QRectF &box, const QColor &foreground) {
        Symbols::paint(painter, box, name, foreground);
    };
}

void applyPlainStyle(QPainter &painter, const ControlState &state)
{
    if (!state.enabled)
        painter.setOpacity(painter.opacity() * disabledOpacity);
    else if (state.pressed)
        painter.setOpacity(painter.opacity() * pressedOpacity);
}

QSizeF textSize(const QFont &font, const QString &text)
{
    // Controls measure their labels on every paint and every layout: the advance is kept.
    const double width = text.isEmpty() ? 0 : std::ceil(TextRuns::advance(text, font));
    return QSizeF(width, std::ceil(QFontMetricsF(font).height()));
}

QSizeF Label::size() const
{
    const QSizeF text = textSize(font, title);
    double width = text.width();
    double height = text.height();
    if (hasIcon()) {
        const double side = symbolBox();
        width += side + (title.isEmpty() ? 0 : spacing);
        height = std::max(height, side);
    }
    return QSizeF(width, height);
}

void Label::paint(QPainter &painter, const QRectF &rect, const QColor &color, bool centred) const
{
    const QSizeF whole = size();
    double x = centred ? rect.left() + std::max(0.0, (rect.width() - whole.width()) / 2) : rect.left();
    const double midY = rect.center().y();
    if (hasIcon()) {
        const double side = symbolBox();
        const QRectF box(x, midY - side / 2, side, side);
        if (icon) {
            painter.save();
            icon(painter, box, color);
            painter.restore();
        }
        else
            Symbols::paint(painter, box, symbol, color);
        x += side + (title.isEmpty() ? 0 : spacing);
    }
    if (title.isEmpty())
        return;
    const QFontMetricsF metrics(font);
    const double available = std::max(0.0, rect.right() - x);
    const QString shown = TextRuns::advance(title, font) <= available + 0.5 ? title : TextRuns::elided(title, font, available);
    painter.setPen(color);
    const double baseline = midY - metrics.height() / 2 + metrics.ascent();
    TextRuns::draw(painter, QPointF(x, baseline), shown, font);
}

void paintFocusRing(QPainter &painter, const QPainterPath &shape)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QColor ring = Tokens::Colors::accent();
    ring.setAlphaF(0.8f);
    QPen pen(ring, 4);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen);
    // Kept inside the shape so that it is never cut off by the widget's edge.
    painter.setClipPath(shape);
    painter.drawPath(shape);
    painter.restore();
}

QColor faded(QColor color, double factor)
{
    color.setAlphaF(static_cast<float>(std::clamp(color.alphaF() * factor, 0.0, 1.0)));
    return color;
}

double drawableFraction(double fraction)
{
    if (std::isnan(fraction))
        return 0;
    return std::clamp(fraction, 0.0, 1.0);
}

int wholePercent(double fraction)
{
    if (!std::isfinite(fraction))
        return 0;
    const double percent = std::trunc(fraction * 100);
    if (!std::isfinite(percent) || percent >= static_cast<double>(INT_MAX))
        return percent < 0 ? INT_MIN : INT_MAX;
    if (percent <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(percent);
}

}  // namespace sw::ControlPainting
