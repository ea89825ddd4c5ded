#pragma once

// Pictures for a widget that paints many views itself (the shelf's cards and rows, the gallery of
// a bulk selection): one feed per painting widget instead of one loader per shown view. Asked for
// a key, it answers at once with what the picture cache holds; otherwise it answers none (the
// view draws its placeholder), starts the load once, and repaints the widget when the load ends.
// Only what is painted is asked for, so a virtualised shelf loads the pictures on screen.

#include "StashwellUI/Pictures/PictureCache.h"

#include <QObject>
#include <QPointer>
#include <QHash>
#include <QSet>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace sw {

class PictureFeed : public QObject {
    Q_OBJECT
public:
    // `cache` defaults to the shared one.
    explicit PictureFeed(QWidget *host, PictureCache *cache = nullptr);

    // The picture held for the key; none while it loads or when it cannot be had. A key asked
    // for and not held starts one load; a load that failed is not tried again until the host
    // has been hidden and shown again.
    PicturePointer picture(const std::optional<PictureKey> &key);
    // The same, without starting anything.
    PicturePointer cached(const std::optional<PictureKey> &key) const;

    // Loads started and not yet ended.
    int pendingCount() const { return m_pending; }

signals:
    // A load this feed started has ended (with a picture or without); the host has been asked to
    // repaint.
    void arrived(const sw::PictureKey &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_host;
    QPointer<PictureCache> m_cache;
    QSet<PictureKey> m_asked;
    // The latest arrivals, also those the cache would not keep (larger than its whole budget),
    // so that a repaint finds what it was just given. Bounded: emptied when it grows past
    // kRecentLimit.
    QHash<PictureKey, PicturePointer> m_recent;
    int m_pending = 0;

    static constexpr qsizetype kRecentLimit = 64;
};

}  // namespace sw
