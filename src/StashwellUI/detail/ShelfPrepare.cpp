#include "StashwellUI/detail/ShelfPrepare.h"

#include <QMetaObject>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace sw::detail {

ShelfPrepare::ShelfPrepare(QWidget &surface, std::function<bool()> slice)
    : m_surface(surface), m_slice(std::move(slice)), m_timer(new QTimer(&surface))
{
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, &surface, [this] { run(); });
}

void ShelfPrepare::hold()
{
    m_held = true;
    pause();
}

void ShelfPrepare::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (m_afterPaint && !m_paintPending) {
        m_afterPaint = false;
        schedule();
    }
}

bool ShelfPrepare::isRunning() const { return m_timer->isActive(); }

void ShelfPrepare::schedule()
{
    if (!m_surface.isVisible())
        return;
    if (m_paintPending || m_held) {
        m_afterPaint = true;
        return;
    }
    if (!m_timer->isActive())
        m_timer->start(0);
}

void ShelfPrepare::paintRequested()
{
    m_paintPending = true;
    pause();
}

void ShelfPrepare::pause()
{
    if (m_timer->isActive()) {
        m_timer->stop();
        m_afterPaint = true;
    }
}

void ShelfPrepare::painted()
{
    m_paintPending = false;
    if ((m_afterPaint || !m_retired.empty()) && !m_held) {
        m_afterPaint = false;
        // From the next turn of the event loop: the rest of the window paints in this one, and
        // a timer due now would run in it, before the frame is done.
        if (m_surface.isVisible())
            QMetaObject::invokeMethod(&m_surface, [this] { schedule(); }, Qt::QueuedConnection);
    }
}

void ShelfPrepare::letGo(QList<ShelfItem> items)
{
    if (!m_surface.isVisible() || !items.isDetached())
        return;
    m_retired.push_back(std::move(items));
    if (m_retired.size() > kRetiredLists) {
        std::vector<QList<ShelfItem>> oldest;
        oldest.push_back(std::move(m_retired.front()));
        m_retired.erase(m_retired.begin());
        ShelfItem::letGoElsewhere(std::move(oldest));
    }
}

void ShelfPrepare::run()
{
    ShelfItem::letGoElsewhere(std::exchange(m_retired, {}));
    if (!m_surface.isVisible())
        return;
    if (!m_slice()) {
        // The next slice after a pause, so that what the user does meanwhile and the work it
        // starts come first.
        m_timer->start(yieldMs);
    }
}

}  // namespace sw::detail
