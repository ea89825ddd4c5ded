#include "StashwellUI/Pictures/PictureFeed.h"

#include <QEvent>

namespace sw {

PictureFeed::PictureFeed(QWidget *host, PictureCache *cache)
    : QObject(host), m_host(host), m_cache(cache ? cache : &PictureCache::shared())
{
    if (host)
        host->installEventFilter(this);
}

PicturePointer PictureFeed::cached(const std::optional<PictureKey> &key) const
{
    if (!key || !m_cache || key->url.isEmpty() || key->maxPixels < 1)
        return nullptr;
    if (PicturePointer held = m_cache->cached(*key))
        return held;
    return m_recent.value(*key);
}

PicturePointer PictureFeed::picture(const std::optional<PictureKey> &key)
{
    if (PicturePointer held = cached(key))
        return held;
    if (!key || !m_cache || key->url.isEmpty() || key->maxPixels < 1 || m_asked.contains(*key))
        return nullptr;
    m_asked.insert(*key);
    ++m_pending;
    const PictureKey asked = *key;
    m_cache->request(asked, this, [this, asked](PicturePointer picture) {
        --m_pending;
        // A picture that arrived is in the cache (or too large for it): either way the next
        // paint may ask again. A failure stays asked, so a broken address is not fetched on
        // every paint.
        if (picture) {
            m_asked.remove(asked);
            if (m_recent.size() >= kRecentLimit)
                m_recent.clear();
            m_recent.insert(asked, std::move(picture));
        }
        if (m_host)
            m_host->update();
        emit arrived(asked);
    });
    return nullptr;
}

bool PictureFeed::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && event->type() == QEvent::Hide) {
        m_asked.clear();
        m_recent.clear();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sw
