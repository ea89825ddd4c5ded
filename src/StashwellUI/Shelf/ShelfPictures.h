#pragma once

// The pictures of a virtualised shelf. The shelf says, after each change of what it shows, which
// pictures its items on screen and just around it want (want()); only those are loaded, a few at a
// time, nearest first as given. A wanted picture that has not started loading when its item scrolls
// away is dropped from the queue, and one that arrives after its item left is not followed by a
// repaint. What is in hand is answered at once (picture()); while a picture loads, the item draws
// its placeholder.

#include "StashwellUI/Pictures/PictureCache.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <deque>
#include <functional>

namespace sw {

class ShelfPictures : public QObject {
    Q_OBJECT
public:
    static constexpr int defaultParallel = 6;

    // `cache` defaults to the shared one.
    explicit ShelfPictures(QObject *parent = nullptr, PictureCache *cache = nullptr);

    // The picture held for the key (in the cache, or just arrived); none otherwise. Starts nothing.
    PicturePointer picture(const std::optional<PictureKey> &key) const;

    // The pictures wanted now, in the order they should load. Queued ones no longer wanted are
    // dropped; new ones are queued; loads are started up to the parallel limit once the event loop
    // has delivered what was posted before (the frame that shows the shelf as it is now).
    void want(const QList<PictureKey> &keys);

    // Forgets every failure, so that pictures that could not be had are tried again.
    void retryFailures() { m_failed.clear(); }

    int queuedCount() const { return int(m_queue.size()); }
    int loadingCount() const { return int(m_loading.size()); }
    int droppedCount() const { return m_dropped; }
    bool isQueued(const PictureKey &key) const;
    bool isLoading(const PictureKey &key) const { return m_loading.contains(key); }

    void setParallel(int parallel) { m_parallel = parallel < 1 ? 1 : parallel; }

signals:
    // A wanted picture arrived (or failed to): the items showing it are drawn again.
    void arrived(const sw::PictureKey &key);

protected:
    void customEvent(QEvent *event) override;

private:
    void startMore();

    QPointer<PictureCache> m_cache;
    QSet<PictureKey> m_wanted;
    std::deque<PictureKey> m_queue;
    QSet<PictureKey> m_loading;
    QSet<PictureKey> m_failed;
    // The latest arrivals, so that a picture the cache would not keep still shows once.
    QHash<PictureKey, PicturePointer> m_recent;
    int m_parallel = defaultParallel;
    int m_dropped = 0;
    bool m_startPosted = false;

    static constexpr qsizetype kRecentLimit = 64;
};

}  // namespace sw
