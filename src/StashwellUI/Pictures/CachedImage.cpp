#include "StashwellUI/Pictures/CachedImage.h"

#include <QCoreApplication>
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
        // Kept whatever its key: it is drawn only while it matches the current one. A picture is
        // drawn (the cache holds it already, so what current() gave before tells nothing of what
        // was painted); a load that failed repaints only when it takes away what was drawn, else
        // the placeholder stands, and the view is not painted again in a frame of its own each
        // time it comes on screen with a picture that cannot be had.
        const PicturePointer before = current();
        m_loaded = std::move(picture);
        if (m_owner && (m_loaded || current() != before))
            m_owner->update();
        emit arrived();
    });
}

namespace {

// Posted from the owner's paint: delivered once that paint's frame is out, since events posted
// while the posted ones are being delivered wait for the next round.
const QEvent::Type kLoadAfterFrame = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

bool CachedImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner) {
        if (event->type() == QEvent::Show) {
            // Starting a fetch (a request handed to the network's thread) held up the frame that
            // brings the view on screen, as when the inspector opens with a picture that failed.
            m_shownUnpainted = true;
        } else if (event->type() == QEvent::Paint && m_shownUnpainted) {
            m_shownUnpainted = false;
            QCoreApplication::postEvent(this, new QEvent(kLoadAfterFrame));
        } else if (event->type() == QEvent::Hide) {
            // Coming on screen again tries a failed picture anew.
            m_shownUnpainted = false;
            m_asked.reset();
        }
    }
    return QObject::eventFilter(watched, event);
}

void CachedImage::customEvent(QEvent *event)
{
    if (event->type() == kLoadAfterFrame && m_owner && m_owner->isVisible())
        load();
    QObject::customEvent(event);
}

}  // namespace sw
