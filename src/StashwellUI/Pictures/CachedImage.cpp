#include "StashwellUI/Pictures/CachedImage.h"

#include <QEvent>

namespace sw {

CachedImage::CachedImage(QWidget *owner, PictureCache *cache)
    : QObject(owner), m_owner(owner), m_cache(cache ? cache : &PictureCache::shared())
{
    if (owner)
        owner->installEventFilter(this);
}

void CachedImage::setSource(const std::optional<Url> &url, std::int64_t maxPixels)
{
    std::optional<PictureKey> key;
    if (url && !url->isEmpty())
        key = PictureKey{*url, maxPixels};
    if (key == m_key)
        return;
    m_key = std::move(key);
    if (m_owner) {
        m_owner->update();
        if (m_owner->isVisible())
            load();
    }
}

PicturePointer CachedImage::current() const
{
    if (!m_key)
        return nullptr;
    if (m_loaded && m_loaded->key == *m_key)
        return m_loaded;
    return m_cache ? m_cache->cached(*m_key) : nullptr;
}

void CachedImage::load()
{
    if (!m_key || !m_cache || m_asked == m_key)
        return;
    if (m_cache->cached(*m_key))
        return;
    m_asked = m_key;
    m_cache->request(*m_key, this, [this](PicturePointer picture) {
        // Kept whatever its key: it is drawn only while it matches the current one.
        m_loaded = std::move(picture);
        if (m_owner)
            m_owner->update();
        emit arrived();
    });
}

bool CachedImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner) {
        if (event->type() == QEvent::Show) {
            load();
        } else if (event->type() == QEvent::Hide) {
            // Coming on screen again tries a failed picture anew.
            m_asked.reset();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sw
