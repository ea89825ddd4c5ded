#pragma once

// The picture a view shows from an address: at once when the picture cache holds it, otherwise
// nothing (the view draws its placeholder) until the load the view starts has ended. One per view;
// it belongs to the widget that shows it and repaints that widget when a picture arrives (not
// when a load ends without one: the placeholder stands).

#include "StashwellUI/Pictures/PictureCache.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace sw {

class CachedImage : public QObject {
    Q_OBJECT
public:
    // `cache` defaults to the shared one.
    explicit CachedImage(QWidget *owner, PictureCache *cache = nullptr);

    // The picture's address (none: always the placeholder) and its largest side in pixels. A new
    // address or size starts its load at once when the owner is visible.
    void setSource(const std::optional<Url> &url, std::int64_t maxPixels);
    std::optional<PictureKey> key() const { return m_key; }

    // What to draw now: the picture this view received when it is for the current key; else the
    // one the cache holds for the key; else none. Changes nothing.
    PicturePointer current() const;

    // Starts loading the current key unless the cache holds it or this view already asked for it
    // since it last came on screen. The owner's first paint after it is shown calls it, once that
    // frame is out; views that paint without being shown (an off-screen render) may call it
    // themselves.
    void load();

signals:
    // A load this view started has ended (with a picture or without).
    void arrived();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void customEvent(QEvent *event) override;

private:
    QPointer<QWidget> m_owner;
    QPointer<PictureCache> m_cache;
    std::optional<PictureKey> m_key;
    std::optional<PictureKey> m_asked;
    PicturePointer m_loaded;
    // Shown and not painted since: the load waits for the frame that shows the placeholder.
    bool m_shownUnpainted = false;
};

}  // namespace sw
