#include "StashwellUI/Design/SoftScrollEdges.h"

#include "StashwellUI/detail/Decorative.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace sw {

namespace {

// The setting lives in a small child object of the widget that sets it, so it goes away with it.
class FrostHolder : public QObject {
public:
    static inline const QString kName = QStringLiteral("sw.scrollEdgeFrost");

    FrostHolder(QWidget *owner, ScrollEdgeFrost frost) : QObject(owner), frost(std::move(frost))
    {
        setObjectName(kName);
    }

    ScrollEdgeFrost frost;
};

FrostHolder *holderOf(const QWidget *widget)
{
    for (QObject *child : widget->children()) {
        if (child->objectName() == FrostHolder::kName)
            return static_cast<FrostHolder *>(child);
    }
    return nullptr;
}

}  // namespace

namespace ScrollEdgeFrostSetting {

void set(QWidget &ancestor, ScrollEdgeFrost frost)
{
    FrostHolder *holder = holderOf(&ancestor);
    if (!frost) {
        delete holder;
    } else if (holder) {
        holder->frost = std::move(frost);
    } else {
        new FrostHolder(&ancestor, std::move(frost));
    }
    for (SoftScrollEdges *overlay : ancestor.findChildren<SoftScrollEdges *>())
        overlay->update();
}

ScrollEdgeFrost find(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const FrostHolder *holder = holderOf(w))
            return holder->frost;
    }
    return {};
}

}  // namespace ScrollEdgeFrostSetting

SoftScrollEdges::SoftScrollEdges(QWidget *content, bool top, bool bottom)
    : QWidget(content), m_content(content), m_top(top), m_bottom(bottom)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    // Nothing in it for assistive technologies: it only paints.
    Decorative::hide(this);
    if (content)
        content->installEventFilter(this);
    follow();
    show();
}

void SoftScrollEdges::setSafeAreaInsets(const QMargins &insets)
{
    if (insets == m_insets)
        return;
    m_insets = insets;
    fitMask();
    update();
}

void SoftScrollEdges::fitMask()
{
    // Only the bands: the overlay then lies over nothing else of the content, so the content can
    // move its pixels under the rest when it scrolls instead of painting them all again.
    QRegion bands;
    for (const Qt::Edge edge : {Qt::TopEdge, Qt::BottomEdge}) {
        if (const std::optional<QRectF> rect = band(edge))
            bands += rect->toAlignedRect();
    }
    if (bands.isEmpty())
        clearMask();
    else if (bands != mask())
        setMask(bands);
}

std::optional<QRectF> SoftScrollEdges::band(Qt::Edge edge, const QSizeF &size, const QMargins &insets, bool chosen)
{
    if (!chosen)
        return std::nullopt;
    switch (edge) {
    case Qt::TopEdge:
        return QRectF(0, 0, size.width(), insets.top() + kTail);
    case Qt::BottomEdge: {
        const double height = insets.bottom() + kTail;
        return QRectF(0, size.height() - height, size.width(), height);
    }
    default:
        return std::nullopt;
    }
}

std::optional<QRectF> SoftScrollEdges::band(Qt::Edge edge) const
{
    return band(edge, QSizeF(size()), m_insets, edge == Qt::TopEdge ? m_top : edge == Qt::BottomEdge && m_bottom);
}

void SoftScrollEdges::followScroll(QScrollBar *bar)
{
    if (m_scroll == bar)
        return;
    if (m_scroll)
        m_scroll->disconnect(this);
    m_scroll = bar;
    if (bar) {
        connect(bar, &QScrollBar::valueChanged, this, &SoftScrollEdges::scrolled);
        connect(bar, &QScrollBar::rangeChanged, this, &SoftScrollEdges::scrolled);
    }
    m_strengths = {strength(Qt::TopEdge), strength(Qt::BottomEdge)};
    update();
}

void SoftScrollEdges::scrolled()
{
    const std::pair<double, double> now{strength(Qt::TopEdge), strength(Qt::BottomEdge)};
    const QRegion changed = changedBands(m_strengths, now, QSizeF(size()), m_insets, m_top, m_bottom);
    m_strengths = now;
    if (!changed.isEmpty())
        update(changed);
}

QRegion SoftScrollEdges::changedBands(const std::pair<double, double> &before, const std::pair<double, double> &after,
                                      const QSizeF &size, const QMargins &insets, bool top, bool bottom)
{
    QRegion changed;
    if (before.first != after.first)
        if (const std::optional<QRectF> rect = band(Qt::TopEdge, size, insets, top))
            changed += rect->toAlignedRect();
    if (before.second != after.second)
        if (const std::optional<QRectF> rect = band(Qt::BottomEdge, size, insets, bottom))
            changed += rect->toAlignedRect();
    return changed;
}

double SoftScrollEdges::strength(Qt::Edge edge, int value, int minimum, int maximum)
{
    if (maximum < minimum)
        return 0;
    value = std::clamp(value, minimum, maximum);
    double beyond = 0;
    switch (edge) {
    case Qt::TopEdge: beyond = double(value) - double(minimum); break;
    case Qt::BottomEdge: beyond = double(maximum) - double(value); break;
    default: return 0;
    }
    return std::clamp(beyond / kTail, 0.0, 1.0);
}

double SoftScrollEdges::strength(Qt::Edge edge) const
{
    if (!m_scroll)
        return 1;
    return strength(edge, m_scroll->value(), m_scroll->minimum(), m_scroll->maximum());
}

bool SoftScrollEdges::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content) {
        switch (event->type()) {
        case QEvent::Resize:
            follow();
            break;
        case QEvent::ChildAdded:
        case QEvent::ChildPolished:
            // A child added later would otherwise cover the bands.
            raise();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SoftScrollEdges::follow()
{
    if (!m_content)
        return;
    setGeometry(m_content->rect());
    fitMask();
    raise();
}

void SoftScrollEdges::setVeil(VeilColour colour)
{
    if (colour == m_veil)
        return;
    m_veil = colour;
    update();
}

double SoftScrollEdges::veilOpacity(double depth, double inset)
{
    if (!(inset > 0) || !(depth >= 0))
        return 0;
    if (depth <= inset)
        return 1;
    const double t = (depth - inset) / kTail;
    if (t >= 1)
        return 0;
    // 1 - smoothstep: no visible step where the veil starts to thin, nor where it ends.
    return 1 - t * t * (3 - 2 * t);
}

void SoftScrollEdges::paintVeil(QPainter &painter, const QRectF &band, Qt::Edge edge, double inset) const
{
    if (!m_veil || !(inset > 0) || band.height() <= 0)
        return;
    const QColor colour = m_veil();
    const bool top = edge == Qt::TopEdge;
    QLinearGradient gradient(QPointF(0, top ? band.top() : band.bottom()), QPointF(0, top ? band.bottom() : band.top()));
    // The inset opaque, then the tail sampled finely enough that its curve shows no bands.
    constexpr int kSamples = 8;
    for (int i = 0; i <= kSamples; ++i) {
        const double depth = inset + kTail * double(i) / kSamples;
        QColor stop = colour;
        stop.setAlphaF(float(colour.alphaF() * veilOpacity(depth, inset)));
        if (i == 0)
            gradient.setColorAt(0, stop);
        gradient.setColorAt(std::min(1.0, depth / band.height()), stop);
    }
    painter.fillRect(band, gradient);
}

QRectF SoftScrollEdges::frosted(const QRectF &band, Qt::Edge edge, double inset, double shown, const QColor &veil)
{
    if (!veil.isValid() || veil.alpha() < 255 || !(inset > 0) || !(shown >= 1))
        return band;
    const double covered = std::min(inset, band.height());
    return edge == Qt::TopEdge ? band.adjusted(0, covered, 0, 0) : band.adjusted(0, 0, 0, -covered);
}

void SoftScrollEdges::paintEvent(QPaintEvent *)
{
    const ScrollEdgeFrost frost = ScrollEdgeFrostSetting::find(this);
    if (!frost && !m_veil)
        return;
    QPainter painter(this);
    for (Qt::Edge edge : {Qt::TopEdge, Qt::BottomEdge}) {
        const double shown = strength(edge);
        if (shown <= 0)
            continue;
        if (const std::optional<QRectF> rect = band(edge)) {
            const double inset = edge == Qt::TopEdge ? m_insets.top() : m_insets.bottom();
            painter.save();
            painter.setOpacity(shown);
            painter.setClipRect(*rect);
            if (frost) {
                // An opaque veil hides all the frost would show over the inset: the frost is
                // worked out for the rest of the band alone (most of a band under a bar).
                painter.save();
                painter.setClipRect(frosted(*rect, edge, inset, shown, m_veil ? m_veil() : QColor()));
                frost(painter, *rect, edge);
                painter.restore();
            }
            paintVeil(painter, *rect, edge, inset);
            painter.restore();
        }
    }
}

}  // namespace sw
