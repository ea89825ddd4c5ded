#include "StashwellUI/Controls/Pressable.h"

#include "StashwellUI/Design/Theme.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QtMath>

namespace sw {

namespace {

// QAbstractButton paints itself at once (QWidget::repaint) when it is pressed and when it clicks:
// a paint of everything marked in the window so far and a flush to the display, made before what
// the click changes, which then comes a frame later. Held while the button handles the input, the
// window's first immediate paint is left to its next ordinary paint, which shows the press and
// what the click changed together.
class ImmediatePaintHold : public QObject {
public:
    explicit ImmediatePaintHold(QWidget *window) : m_window(window)
    {
        if (m_window)
            m_window->installEventFilter(this);
    }
    ~ImmediatePaintHold() override
    {
        if (!m_window)
            return;
        m_window->removeEventFilter(this);
        if (m_held)
            QCoreApplication::postEvent(m_window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    }
    ImmediatePaintHold(const ImmediatePaintHold &) = delete;
    ImmediatePaintHold &operator=(const ImmediatePaintHold &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Only the first: the button's own repaint comes before any handler of its signals runs,
        // and what those handlers paint (in a menu's event loop, say) must go through.
        if (watched == m_window && event->type() == QEvent::UpdateRequest && !m_held) {
            m_held = true;
            return true;
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    bool m_held = false;
};

}  // namespace

// The drawing kept, and what it was drawn from.
struct Pressable::Layer {
    QString look;
    ControlState state;
    QSize size;
    qreal ratio = 0;
    QImage image;
};

Pressable::Pressable(QWidget *parent) : QAbstractButton(parent)
{
    AccessibleControl::install();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        m_layer.reset();
        update();
    });
}

Pressable::~Pressable() = default;

QString Pressable::keptLook() const { return QString(); }

ControlState Pressable::controlState() const
{
    ControlState state;
    state.enabled = isEnabled();
    state.hovered = state.enabled && m_hovered;
    state.pressed = state.enabled && isDown();
    state.focused = showsFocusRing();
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
    // What the painter reads from the widget itself.
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::LocaleChange:
    case QEvent::LanguageChange:
        m_layer.reset();
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
        ImmediatePaintHold hold(window());
        click();
        return;
    }
    ImmediatePaintHold hold(window());
    QAbstractButton::keyReleaseEvent(event);
}

void Pressable::mousePressEvent(QMouseEvent *event)
{
    ImmediatePaintHold hold(window());
    QAbstractButton::mousePressEvent(event);
}

void Pressable::mouseReleaseEvent(QMouseEvent *event)
{
    ImmediatePaintHold hold(window());
    QAbstractButton::mouseReleaseEvent(event);
}

bool Pressable::showsFocusRing() const { return hasFocus() && window() && window()->testAttribute(Qt::WA_KeyboardFocusChange); }

// Focus shows only as the ring drawn after a move by keyboard: a click that moves the focus
// repaints nothing for it (QWidget repaints the whole control on every focus change).
void Pressable::focusInEvent(QFocusEvent *)
{
    if (showsFocusRing())
        update();
}

void Pressable::focusOutEvent(QFocusEvent *event)
{
    // QAbstractButton lets go of a press here; with none held, only a ring drawn needs a repaint.
    if (isDown())
        QAbstractButton::focusOutEvent(event);
    else if (m_ringDrawn)
        update();
}

void Pressable::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ControlState state = controlState();
    const auto paintInto = [&](QPainter &onto) {
        onto.setRenderHint(QPainter::Antialiasing);
        onto.setRenderHint(QPainter::TextAntialiasing);
        onto.setRenderHint(QPainter::SmoothPixmapTransform);
        onto.save();
        paintControl(onto, QRectF(rect()), state);
        onto.restore();
    };
    const QString look = keptLook();
    const qreal ratio = devicePixelRatioF();
    if (look.isEmpty() || size().isEmpty()) {
        m_layer.reset();
        paintInto(painter);
    } else {
        const bool kept = m_layer && m_layer->look == look && m_layer->state == state && m_layer->size == size()
            && m_layer->ratio == ratio;
        if (!kept) {
            QImage image(QSize(qCeil(width() * ratio), qCeil(height() * ratio)), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            {
                QPainter onImage(&image);
                paintInto(onImage);
            }
            m_layer = std::make_unique<Layer>(Layer{look, state, size(), ratio, std::move(image)});
        }
        painter.drawImage(QPointF(0, 0), m_layer->image);
    }
    m_ringDrawn = state.focused;
    if (state.focused) {
        painter.setRenderHint(QPainter::Antialiasing);
        ControlPainting::paintFocusRing(painter, hitShape());
    }
}

void Pressable::changed(bool sizeChanged)
{
    if (sizeChanged)
        updateGeometry();
    update();
}

}  // namespace sw
