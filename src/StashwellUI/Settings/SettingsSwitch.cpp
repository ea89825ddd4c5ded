#include "StashwellUI/Settings/SettingsSwitch.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace sw {

SettingsSwitch::SettingsSwitch(const QString &name, QWidget *parent) : Pressable(parent), m_name(name)
{
    setCheckable(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SettingsSwitch::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    notifyNameChanged(this);
}

QSize SettingsSwitch::sizeHint() const
{
    // One pixel of room on each side for the focus ring.
    return QSize(int(std::ceil(trackWidth)) + 2, int(std::ceil(trackHeight)) + 2);
}

QRectF SettingsSwitch::track() const
{
    const QRectF r(rect());
    return QRectF(r.center().x() - trackWidth / 2, r.center().y() - trackHeight / 2, trackWidth, trackHeight);
}

QPainterPath SettingsSwitch::hitShape() const
{
    return ContinuousShape::capsule(track());
}

void SettingsSwitch::checkStateSet()
{
    Pressable::checkStateSet();
    update();
}

void SettingsSwitch::nextCheckState()
{
    Pressable::nextCheckState();
    notifyValueChanged(this);
}

void SettingsSwitch::paintControl(QPainter &painter, const QRectF &, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    const QRectF bar = track();
    const double radius = bar.height() / 2;
    if (isChecked()) {
        ContinuousShape::fill(painter, bar, radius, Tokens::Colors::accent());
    } else {
        WellStyle::well(Tokens::Colors::lineStrong()).fill(painter, bar, radius);
        ContinuousShape::strokeInside(painter, bar, radius, Tokens::Colors::line());
    }
    if (state.hovered && state.enabled)
        ContinuousShape::strokeInside(painter, bar, radius, ControlPainting::faded(Tokens::Colors::accent(), 0.6));

    const double side = bar.height() - 2 * knobInset;
    const double x = isChecked() ? bar.right() - knobInset - side : bar.left() + knobInset;
    const QRectF knob(x, bar.top() + knobInset, side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(knob.translated(0, 0.5));
    painter.setBrush(QColor(Qt::white));
    painter.drawEllipse(knob);
}

}  // namespace sw
