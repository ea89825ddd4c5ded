#include "StashwellUI/Toasts/ToastOverlay.h"

#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Toasts/ToastBubble.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace sw {

ToastOverlay::ToastOverlay(ToastController *controller, QWidget *host)
    : QWidget(host), m_controller(controller), m_host(host)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_bubble = new ToastBubble(QString(), false, this);
    layout->addWidget(m_bubble);
    m_fade = new QGraphicsOpacityEffect(this);
    m_fade->setOpacity(0);
    setGraphicsEffect(m_fade);
    m_motion = new QVariantAnimation(this);
    connect(m_motion, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) { moveTo(value.toDouble()); });
    connect(m_motion, &QVariantAnimation::finished, this, [this] { moveTo(m_target); });
    hide();

    host->installEventFilter(this);
    connect(m_bubble, &ToastBubble::undoPressed, this, [this] {
        if (m_controller)
            m_controller->pressUndo();
    });
    if (controller)
        connect(controller, &ToastController::changed, this, &ToastOverlay::follow);
    follow();
}

ToastOverlay::~ToastOverlay()
{
    if (m_controller && m_controller->isShown() && m_controller->generation() == m_shownGeneration)
        m_controller->clear();
}

QRect ToastOverlay::restingGeometry() const
{
    if (!m_host)
        return QRect();
    const QSize hint = m_bubble->sizeHint();
    const QMargins margins = ToastBubble::shadowMargins();
    const int room = std::max(0, m_host->width() - 2 * int(sideRoom) + margins.left() + margins.right());
    const int width = std::min(hint.width(), room);
    const int x = (m_host->width() - width) / 2;
    // The capsule's bottom edge stands bottomPadding above the host's bottom edge.
    const int y = m_host->height() - int(bottomPadding) - (hint.height() - margins.bottom());
    return QRect(x, y, width, hint.height());
}

QRect ToastOverlay::hiddenGeometry() const
{
    QRect hidden = restingGeometry();
    if (m_host)
        hidden.moveTop(m_host->height() - ToastBubble::shadowMargins().top());
    return hidden;
}

void ToastOverlay::follow()
{
    const bool shown = m_controller && m_controller->isShown();
    if (shown) {
        m_shownGeneration = m_controller->generation();
        m_bubble->setMessage(*m_controller->message());
        m_bubble->setOffersUndo(m_controller->offersUndo());
    }
    animateTo(shown ? 1 : 0);
}

void ToastOverlay::animateTo(double presence)
{
    if (presence == m_target && (m_motion->state() == QAbstractAnimation::Running || m_presence == presence)) {
        moveTo(m_presence);   // the bubble's size may have changed
        return;
    }
    m_target = presence;
    m_motion->stop();
    if (presence > 0) {
        show();
        raise();
    }
    const Tokens::Animation &quick = Tokens::Motion::quick();
    if (quick.isInstant() || !isVisible()) {
        moveTo(presence);
        return;
    }
    quick.applyTo(*m_motion);
    m_motion->setStartValue(m_presence);
    m_motion->setEndValue(presence);
    m_motion->start();
}

void ToastOverlay::moveTo(double presence)
{
    m_presence = std::clamp(presence, 0.0, 1.0);
    const QRect resting = restingGeometry();
    const QRect hidden = hiddenGeometry();
    const int top = int(std::round(hidden.top() + (resting.top() - hidden.top()) * m_presence));
    setGeometry(resting.left(), top, resting.width(), resting.height());
    m_fade->setOpacity(m_presence);
    if (m_presence == 0 && m_target == 0)
        hide();
}

bool ToastOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && event->type() == QEvent::Resize && isVisible())
        moveTo(m_presence);
    return QWidget::eventFilter(watched, event);
}

}  // namespace sw
