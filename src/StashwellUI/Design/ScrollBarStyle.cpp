#include "StashwellUI/Design/ScrollBarStyle.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>

namespace sw {

namespace {

const char *const kStartInset = "sw.scrollBarStartInset";
const char *const kEndInset = "sw.scrollBarEndInset";

QColor withAlpha(QColor colour, double alpha)
{
    colour.setAlphaF(float(std::clamp(alpha, 0.0, 1.0) * colour.alphaF()));
    return colour;
}

bool isHorizontal(const QStyleOptionSlider &option) { return option.orientation == Qt::Horizontal; }

// The cross-axis strip of `thickness` at the bar's far edge (right of a vertical bar, bottom of a
// horizontal one), along `along` (a span on the bar's axis).
QRect strip(const QStyleOptionSlider &option, int alongStart, int alongLength, int thickness)
{
    const QRect r = option.rect;
    if (isHorizontal(option))
        return QRect(alongStart, r.bottom() + 1 - ScrollBarStyle::sideMargin - thickness, alongLength, thickness);
    return QRect(r.right() + 1 - ScrollBarStyle::sideMargin - thickness, alongStart, thickness, alongLength);
}

}  // namespace

ScrollBarStyle::ScrollBarStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    // Colours are read at paint time; a new theme only needs every bar drawn again.
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        for (QWidget *widget : QApplication::allWidgets()) {
            if (qobject_cast<QScrollBar *>(widget) && widget->style() == this)
                widget->update();
        }
    });
}

void ScrollBarStyle::install()
{
    if (!qobject_cast<ScrollBarStyle *>(QApplication::style()))
        QApplication::setStyle(new ScrollBarStyle);
}

void ScrollBarStyle::setEdgeInsets(QScrollBar &bar, int start, int end)
{
    start = std::max(0, start);
    end = std::max(0, end);
    if (bar.property(kStartInset).toInt() == start && bar.property(kEndInset).toInt() == end)
        return;
    bar.setProperty(kStartInset, start);
    bar.setProperty(kEndInset, end);
    bar.update();
}

QColor ScrollBarStyle::thumbColor(bool hovered, bool pressed)
{
    return withAlpha(Tokens::Colors::textSecondary(), pressed ? 0.7 : hovered ? 0.55 : 0.38);
}

QColor ScrollBarStyle::trackColor()
{
    return withAlpha(Tokens::Colors::line(), Theme::isDark() ? 1.0 : 0.8);
}

int ScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return extent;
    // The bar lies over the content: the content keeps its whole width.
    case PM_ScrollView_ScrollBarOverlap:
        return extent;
    case PM_ScrollView_ScrollBarSpacing:
        return 0;
    case PM_ScrollBarSliderMin:
        return minimumThumb;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int ScrollBarStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                              QStyleHintReturn *returnData) const
{
    switch (hint) {
    // Always there while there is something to scroll: a bar that fades away hides where one is.
    case SH_ScrollBar_Transient:
        return 0;
    // A click on the track goes to that place, as on this desktop.
    case SH_ScrollBar_LeftClickAbsolutePosition:
        return 1;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

QRect ScrollBarStyle::groove(const QStyleOptionSlider &option, const QWidget *widget)
{
    const int start = endMargin + (widget ? widget->property(kStartInset).toInt() : 0);
    const int end = endMargin + (widget ? widget->property(kEndInset).toInt() : 0);
    const QRect r = option.rect;
    if (isHorizontal(option))
        return QRect(r.left() + start, r.top(), std::max(0, r.width() - start - end), r.height());
    return QRect(r.left(), r.top() + start, r.width(), std::max(0, r.height() - start - end));
}

QRect ScrollBarStyle::thumb(const QStyleOptionSlider &option, const QWidget *widget, int thickness)
{
    const QRect track = groove(option, widget);
    const int length = isHorizontal(option) ? track.width() : track.height();
    const int origin = isHorizontal(option) ? track.left() : track.top();
    const qint64 range = qint64(option.maximum) - qint64(option.minimum);
    int size = length;
    if (range > 0) {
        const double share = double(option.pageStep) / double(range + std::max(option.pageStep, 0));
        size = std::clamp(int(share * length), std::min(minimumThumb, length), length);
    }
    const int position = QStyle::sliderPositionFromValue(option.minimum, option.maximum, option.sliderPosition,
                                                         length - size, option.upsideDown);
    return strip(option, origin + position, size, thickness);
}

bool ScrollBarStyle::isHovered(const QStyleOption &option)
{
    // A thumb held and dragged off the bar stays wide until it is let go.
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(&option);
    const bool dragging = slider && (option.state & State_Sunken) && (slider->activeSubControls & SC_ScrollBarSlider);
    return (option.state & State_MouseOver) || dragging;
}

QRect ScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                                     const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !slider)
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect track = groove(*slider, widget);
    const QRect knob = thumb(*slider, widget, isHovered(*option) ? hoverThickness : restThickness);
    switch (sub) {
    case SC_ScrollBarGroove:
        return track;
    case SC_ScrollBarSlider:
        return knob;
    case SC_ScrollBarSubPage:
        return isHorizontal(*slider) ? QRect(track.left(), track.top(), knob.left() - track.left(), track.height())
                                     : QRect(track.left(), track.top(), track.width(), knob.top() - track.top());
    case SC_ScrollBarAddPage:
        return isHorizontal(*slider)
            ? QRect(knob.right() + 1, track.top(), track.right() - knob.right(), track.height())
            : QRect(track.left(), knob.bottom() + 1, track.width(), track.bottom() - knob.bottom());
    default:
        // No arrow buttons, no first or last buttons.
        return QRect();
    }
}

QStyle::SubControl ScrollBarStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                                         const QPoint &point, const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !slider)
        return QProxyStyle::hitTestComplexControl(control, option, point, widget);
    const QRect track = groove(*slider, widget);
    if (!track.contains(point))
        return SC_None;
    // The thumb takes the whole breadth of the bar, however thin it is drawn.
    const QRect knob = thumb(*slider, widget, extent);
    const int at = isHorizontal(*slider) ? point.x() : point.y();
    const int from = isHorizontal(*slider) ? knob.left() : knob.top();
    const int to = isHorizontal(*slider) ? knob.right() : knob.bottom();
    if (at < from)
        return SC_ScrollBarSubPage;
    if (at > to)
        return SC_ScrollBarAddPage;
    return SC_ScrollBarSlider;
}

namespace {

// A capsule in `color`, through the shape fill that copies its pieces from one small bitmap: a
// path filled whole hands a thumb of more than 95 rows that is not opaque to the raster engine's
// threads, and waking them cost 0.3 ms for a thumb a few pixels across.
void fillCapsule(QPainter &painter, const QRect &rect, const QColor &color)
{
    ContinuousShape::fill(painter, QRectF(rect), std::min(rect.width(), rect.height()) / 2.0, color);
}

}  // namespace

void ScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                        const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !slider) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    if (slider->maximum <= slider->minimum)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool hovered = isHovered(*option);
    if (hovered) {
        const QRect track = groove(*slider, widget);
        const QRect band = isHorizontal(*slider)
            ? strip(*slider, track.left(), track.width(), hoverThickness)
            : strip(*slider, track.top(), track.height(), hoverThickness);
        fillCapsule(*painter, band, trackColor());
    }
    const bool pressed = (option->state & State_Sunken) && (slider->activeSubControls & SC_ScrollBarSlider);
    const QRect knob = subControlRect(CC_ScrollBar, option, SC_ScrollBarSlider, widget);
    fillCapsule(*painter, knob, thumbColor(hovered, pressed));
    painter->restore();
}

void ScrollBarStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (auto *bar = qobject_cast<QScrollBar *>(widget)) {
        // It widens under the pointer, and the content shows round its thin thumb.
        bar->setAttribute(Qt::WA_Hover);
        bar->setAttribute(Qt::WA_OpaquePaintEvent, false);
        bar->installEventFilter(this);
    }
}

bool ScrollBarStyle::eventFilter(QObject *watched, QEvent *event)
{
    // The whole bar changes breadth as the pointer comes and goes, not only the part under it.
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave) {
        if (auto *bar = qobject_cast<QScrollBar *>(watched))
            bar->update();
    }
    return QProxyStyle::eventFilter(watched, event);
}

void ScrollBarStyle::unpolish(QWidget *widget)
{
    if (auto *bar = qobject_cast<QScrollBar *>(widget)) {
        bar->removeEventFilter(this);
        bar->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    QProxyStyle::unpolish(widget);
}

}  // namespace sw
