#include "StashwellUI/Controls/Pressable.h"

#include "StashwellUI/Design/Theme.h"

#include <QFocusEvent>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QPainter>

namespace sw {

Pressable::Pressable(QWidget *parent) : QAbstractButton(parent)
{
    AccessibleControl::install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

ControlState Pressable::controlState() const
{
    ControlState state;
    state.enabled = isEnabled();
    state.hovered = state.enabled && m_hovered;
    state.pressed = state.enabled && isDown();
    state.focused = hasFocus() && window() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
    return state;
}

QPainterPath Pressable::hitShape() const
{
    QPainterPath path;
    path.addRect(QRectF(rect()));
    return path;
}

bool Pressable::hitButton(const QPoint &pos) const { return hitShape().contains(QPointF(pos) + QPointF(0.5, 0.5)); }

void Pressable::setHoverTracked(bool tracked) { setAttribute(Qt::WA_Hover, tracked); }

void Pressable::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    update();
}

bool Pressable::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHovered(hitButton(static_cast<QHoverEvent *>(event)->position().toPoint()));
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        setHovered(false);
        break;
    case QEvent::EnabledChange:
        setHovered(false);
        update();
        break;
    case QEvent::FocusOut:
        // QAbstractButton lets go of a press when the focus leaves; a Return held meanwhile must
        // not click when its release reaches this control later.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            m_returnDown = false;
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void Pressable::keyPressEvent(QKeyEvent *event)
{
    // The number pad's Enter arrives with the keypad modifier; that one alone still presses.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            m_returnDown = true;
            setDown(true);
        }
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void Pressable::keyReleaseEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_returnDown) {
        if (event->isAutoRepeat()) {
            event->accept();
            return;
        }
        m_returnDown = false;
        setDown(false);
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyReleaseEvent(event);
}

void Pressable::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const ControlState state = controlState();
    painter.save();
    paintControl(painter, QRectF(rect()), state);
    painter.restore();
    if (state.focused)
        ControlPainting::paintFocusRing(painter, hitShape());
}

void Pressable::changed(bool sizeChanged)
{
    if (sizeChanged)
        updateGeometry();
    update();
}

}  // namespace sw
