#include "Stashwell/App/IdleHandOff.h"

#include <QAbstractEventDispatcher>
#include <QBackingStore>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace sw::app {

IdleHandOff::IdleHandOff(QObject *parent) : QObject(parent)
{
    if (!applies())
        return;
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleHandOff::aboutToWait);
}

QEvent::Type IdleHandOff::handOffEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void IdleHandOff::aboutToWait()
{
    if (m_painted.isEmpty() || m_posted)
        return;
    // Below the update requests' priority: a frame already asked for paints first, and its own
    // start does what the hand-off would.
    m_posted = true;
    QCoreApplication::postEvent(this, new QEvent(handOffEvent()), Qt::LowEventPriority - 1);
}

bool IdleHandOff::event(QEvent *event)
{
    if (event->type() == handOffEvent()) {
        m_posted = false;
        handOff();
        return true;
    }
    return QObject::event(event);
}

bool IdleHandOff::applies()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool IdleHandOff::settles(const QWidget &window)
{
    const QWindow *handle = window.windowHandle();
    QBackingStore *store = window.backingStore();
    return window.isWindow() && window.isVisible() && handle && store && store->paintDevice()
        && !handle->format().hasAlpha() && !window.testAttribute(Qt::WA_TranslucentBackground);
}

bool IdleHandOff::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::UpdateRequest:
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            m_painting = static_cast<QWidget *>(watched);
        break;
    case QEvent::Paint: {
        // The first widget painted in a window's frame: its region is painted into the backing
        // store (a grab in the middle of the frame comes later).
        if (!m_painting || !watched->isWidgetType())
            break;
        auto *widget = static_cast<QWidget *>(watched);
        QWidget *window = m_painting;
        if (widget->window() != window)
            break;
        const QRegion &region = static_cast<QPaintEvent *>(event)->region();
        if (region.isEmpty())
            break;
        const QPoint pixel = widget->mapTo(window, region.begin()->topLeft());
        if (window->rect().contains(pixel))
            m_painted.insert(window, {window, pixel});
        m_painting = nullptr;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void IdleHandOff::handOff()
{
    m_painting = nullptr;
    if (m_painted.isEmpty())
        return;
    const auto painted = std::exchange(m_painted, {});
    for (const auto &[window, pixel] : painted) {
        if (!window || !settles(*window))
            continue;
        // Starting a paint waits for the server to have read the last frame; nothing is painted.
        QBackingStore *store = window->backingStore();
        store->beginPaint(QRegion(QRect(pixel, QSize(1, 1))));
        store->endPaint();
        ++m_handedOff;
    }
}

}  // namespace sw::app
