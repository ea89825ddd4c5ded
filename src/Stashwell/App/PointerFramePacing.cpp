#include "Stashwell/App/PointerFramePacing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace sw::app {

PointerFramePacing::PointerFramePacing(QObject *parent, int waitMs) : QObject(parent), m_waitMs(waitMs) {}

bool PointerFramePacing::holds(qint64 sinceMoveMs, bool otherInput, int waitMs)
{
    return !otherInput && sinceMoveMs >= 0 && sinceMoveMs < waitMs;
}

bool PointerFramePacing::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (event->spontaneous()) {
            m_sinceMove.start();
            m_otherInput = false;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        if (event->spontaneous()) {
            m_otherInput = true;
            // Its own changes are made before the window's next paint: the held one follows.
            releaseAll();
        }
        break;
    case QEvent::UpdateRequest: {
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !window->isWindow())
            break;
        if (m_passing.remove(window) > 0)
            break;
        if (m_held.contains(window))
            return true;
        const qint64 since = m_sinceMove.isValid() ? m_sinceMove.elapsed() : -1;
        if (!holds(since, m_otherInput, m_waitMs))
            break;
        m_held.insert(window, window);
        QTimer::singleShot(int(m_waitMs - since), this, [this, window] { release(window); });
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PointerFramePacing::release(QWidget *window)
{
    const auto found = m_held.find(window);
    if (found == m_held.end())
        return;
    const QPointer<QWidget> alive = found.value();
    m_held.erase(found);
    if (!alive)
        return;
    // The window's repaint manager sent its request and waits for it: this one stands for it.
    m_passing.insert(window, alive);
    QCoreApplication::postEvent(alive, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

void PointerFramePacing::releaseAll()
{
    const QList<QWidget *> windows = m_held.keys();
    for (QWidget *window : windows)
        release(window);
}

}  // namespace sw::app
