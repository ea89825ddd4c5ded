#include "StashwellUI/Design/Skeleton.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/detail/Decorative.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace sw {

Skeleton::Skeleton(std::optional<double> width, double height, QWidget *parent)
    : QWidget(parent), m_width(width), m_height(std::max(0.0, height))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(m_width ? QSizePolicy::Fixed : QSizePolicy::Expanding, QSizePolicy::Fixed);
    Decorative::hide(this);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));

    // Full to half opacity and back, easing in and out each way, without end.
    m_pulse = new QVariantAnimation(this);
    m_pulse->setStartValue(1.0);
    m_pulse->setKeyValueAt(0.5, kDimOpacity);
    m_pulse->setEndValue(1.0);
    m_pulse->setDuration(2 * kHalfCycleMilliseconds);
    m_pulse->setLoopCount(-1);
    m_pulse->setEasingCurve(QEasingCurve::Linear);
    connect(m_pulse, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        // Each half eases in and out on its own: map the linear progress through the curve.
        const double linear = value.toDouble();            // 1 → 0.5 → 1
        const double t = (1 - linear) / (1 - kDimOpacity);   // 0 → 1 → 0
        const double eased = QEasingCurve(QEasingCurve::InOutSine).valueForProgress(std::clamp(t, 0.0, 1.0));
        const double opacity = 1 - eased * (1 - kDimOpacity);
        if (opacity != m_opacity) {
            m_opacity = opacity;
            update();
        }
    });
}

QRectF Skeleton::bar(const QSizeF &size) const
{
    const double width = m_width ? std::max(0.0, *m_width) : size.width();
    return QRectF(0, (size.height() - m_height) / 2, width, m_height);
}

QSize Skeleton::sizeHint() const
{
    const int height = int(std::ceil(m_height));
    return QSize(m_width ? int(std::ceil(std::max(0.0, *m_width))) : 120, height);
}

QSize Skeleton::minimumSizeHint() const
{
    return QSize(m_width ? sizeHint().width() : 0, sizeHint().height());
}

void Skeleton::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_dim) {
        m_dim = true;
        if (!Tokens::Motion::isEnabled()) {
            // No motion: the bar rests dimmed.
            m_opacity = kDimOpacity;
            update();
            return;
        }
    }
    if (Tokens::Motion::isEnabled() && m_pulse->state() != QAbstractAnimation::Running)
        m_pulse->start();
}

void Skeleton::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_pulse->stop();
}

void Skeleton::paintEvent(QPaintEvent *)
{
    const QRectF rect = bar(QSizeF(size()));
    if (rect.isEmpty())
        return;
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    ContinuousShape::fill(painter, rect, cornerRadius(m_height), Tokens::Colors::hover());
}

}  // namespace sw
