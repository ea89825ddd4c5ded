#include "StashwellUI/Shelf/ShelfPictures.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>

namespace sw {

namespace {

const QEvent::Type kStartLoads = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

ShelfPictures::ShelfPictures(QObject *parent, PictureCache *cache)
    : QObject(parent), m_cache(cache ? cache : &PictureCache::shared())
{
}

PicturePointer ShelfPictures::picture(const std::optional<PictureKey> &key) const
{
    if (!key || !m_cache || key->url.isEmpty() || key->maxPixels < 1)
        return nullptr;
    if (PicturePointer held = m_cache->cached(*key))
        return held;
    return m_recent.value(*key);
}

bool ShelfPictures::isQueued(const PictureKey &key) const
{
    return std::find(m_queue.begin(), m_queue.end(), key) != m_queue.end();
}

void ShelfPictures::want(const QList<PictureKey> &keys)
{
    QSet<PictureKey> wanted;
    wanted.reserve(keys.size());
    std::deque<PictureKey> queue;
    for (const PictureKey &key : keys) {
        if (key.url.isEmpty() || key.maxPixels < 1 || wanted.contains(key))
            continue;
        wanted.insert(key);
        if (m_loading.contains(key) || m_failed.contains(key) || picture(key))
            continue;
        queue.push_back(key);
    }
    for (const PictureKey &queued : m_queue) {
        if (!wanted.contains(queued))
            ++m_dropped;
    }
    m_wanted = std::move(wanted);
    m_queue = std::move(queue);
    // Not now: what the shelf shows changed, and the frame that shows it (placeholders where
    // pictures are missing) is not kept waiting while each load is handed to a thread or the
    // network (a few dozen microseconds each, six at a time). Posted at the frame's own low
    // priority, behind it when it was asked for already, as an input's repaint is.
    if (!m_startPosted && !m_queue.empty() && m_loading.size() < m_parallel) {
        m_startPosted = true;
        QCoreApplication::postEvent(this, new QEvent(kStartLoads), Qt::LowEventPriority);
    }
}

void ShelfPictures::customEvent(QEvent *event)
{
    if (event->type() == kStartLoads) {
        m_startPosted = false;
        startMore();
    }
    QObject::customEvent(event);
}

void ShelfPictures::startMore()
{
    while (m_cache && !m_queue.empty() && m_loading.size() < m_parallel) {
        const PictureKey key = m_queue.front();
        m_queue.pop_front();
        m_loading.insert(key);
        m_cache->request(key, this, [this, key](PicturePointer picture) {
            m_loading.remove(key);
            if (picture) {
                if (m_recent.size() >= kRecentLimit)
                    m_recent.clear();
                m_recent.insert(key, std::move(picture));
            } else {
                m_failed.insert(key);
            }
            if (m_wanted.contains(key))
                emit arrived(key);
            startMore();
        });
    }
}

}  // namespace sw
