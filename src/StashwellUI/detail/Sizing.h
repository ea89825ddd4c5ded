#pragma once

// Whole-pixel sizes for painted widgets and for widgets that lay out their own children.

#include <QRectF>
#include <QSize>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace sw::Sizing {

// `value` rounded up to a whole pixel, where a value a hair above a whole number (noise from
// adding fractions) stays that number.
inline int ceilInt(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

// The side of the whole-pixel square that holds a square of side `size` (none when negative).
inline int wholeSide(double size) { return int(std::ceil(std::max(0.0, size))); }

// The square of side `size` centred in `area`.
inline QRectF centredSquare(const QRectF &area, double size)
{
    return QRectF(area.center().x() - size / 2, area.center().y() - size / 2, size, size);
}

// The size a child wants: its hint, within its own minimum and maximum.
inline QSize wantedSize(const QWidget *widget)
{
    return widget->sizeHint()
        .expandedTo(widget->minimumSizeHint())
        .expandedTo(widget->minimumSize())
        .boundedTo(widget->maximumSize())
        .expandedTo(QSize(0, 0));
}

// The height a child wants at `width`.
inline int wantedHeight(const QWidget *widget, int width)
{
    if (widget->hasHeightForWidth())
        return std::clamp(widget->heightForWidth(width), widget->minimumHeight(), widget->maximumHeight());
    return wantedSize(widget).height();
}

}  // namespace sw::Sizing
