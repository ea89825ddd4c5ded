#include "StashwellUI/Controls/ProgressTrack.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace sw {

ProgressTrack::ProgressTrack(double fraction, QWidget *parent)
    : QWidget(parent), m_fraction(fraction), m_shown(ControlPainting::drawableFraction(fraction))
{
    AccessibleControl::install();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_animation = new QVariantAnimation(this);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_shown = value.toDouble();
        update();
    });
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

void ProgressTrack::setFraction(double fraction)
{
    if (fraction == m_fraction || (std::isnan(fraction) && std::isnan(m_fraction)))
        return;
    m_fraction = fraction;
    notifyValueChanged(this);
    const double target = ControlPainting::drawableFraction(fraction);
    m_animation->stop();
    if (target == m_shown)
        return;
    const Tokens::Animation &quick = Tokens::Motion::quick();
    if (quick.isInstant() || !isVisible()) {
        m_shown = target;
        update();
        return;
    }
    quick.applyTo(*m_animation);
    m_animation->setStartValue(m_shown);
    m_animation->setEndValue(target);
    m_animation->start();
}

void ProgressTrack::setBarHeight(double height)
{
    if (!(height >= 0) || height == m_height)
        return;
    m_height = height;
    updateGeometry();
    update();
}

QColor ProgressTrack::tint() const { return m_tint.value_or(Tokens::Colors::accent()); }

void ProgressTrack::setTint(const QColor &tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    update();
}

QRectF ProgressTrack::fillRect(const QRectF &bounds, double height, double fraction)
{
    const double width = std::max(height, bounds.width() * ControlPainting::drawableFraction(fraction));
    return QRectF(bounds.left(), bounds.top(), width, bounds.height());
}

void ProgressTrack::paint(QPainter &painter, const QRectF &bounds, double height, double fraction, const QColor &tint)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    ContinuousShape::fill(painter, bounds, bounds.height() / 2, Tokens::Colors::lineStrong());
    const QRectF fill = fillRect(bounds, height, fraction);
    ContinuousShape::fill(painter, fill, fill.height() / 2, tint);
    painter.restore();
}

QSize ProgressTrack::sizeHint() const
{
    return QSize(120, static_cast<int>(std::ceil(m_height)));
}

QSize ProgressTrack::minimumSizeHint() const { return QSize(0, static_cast<int>(std::ceil(m_height))); }

QString ProgressTrack::accessibleValue() const
{
    return StashwellUIStrings::mediaPercent(ControlPainting::wholePercent(m_fraction));
}

void ProgressTrack::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The bar is exactly its height, centred in whatever height the widget was given.
    const QRectF bounds(0, (height() - m_height) / 2, width(), m_height);
    paint(painter, bounds, m_height, m_shown, tint());
}

}  // namespace sw
