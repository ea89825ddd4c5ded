#pragma once

// Every picture the interface shows from an address (avatars, thumbnails, covers) goes through one
// picture cache. It decodes each picture once, off the main thread, straight to a bitmap of at most
// the asked number of pixels on its longer side (never enlarged, turned upright), keeps the bitmaps
// in memory under a byte budget, and joins requests for a picture that is already loading into that
// one load. Nothing is written to disk.
//
// Remote pictures are fetched through the user's network route (the network manager the
// application hands in), http and https only, with a cap on the body and a time-out: a picture is never worth an unbounded
// download. A load that fails caches nothing, so the next request tries again.

#include "Capture/Url.h"

#include <QCache>
#include <QCoro/QCoroTask>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class QIODevice;
class QNetworkAccessManager;

namespace sw {

// A picture by its address and the largest width or height, in pixels, it is decoded at. The same
// address at two sizes is two pictures.
struct PictureKey {
    Url url;
    std::int64_t maxPixels = 0;

    // How the memory cache files the picture: "102|file:///tmp/a.png".
    QString keyString() const;

    friend bool operator==(const PictureKey &, const PictureKey &) = default;
};

size_t qHash(const PictureKey &key, size_t seed = 0) noexcept;

// A decoded picture, shared by the cache and every view that shows it; never changes.
struct Picture {
    PictureKey key;
    QImage image;

    // What it costs the memory cache: the byte size of its bitmap.
    std::int64_t cost() const { return std::int64_t(image.bytesPerLine()) * image.height(); }
};

using PicturePointer = std::shared_ptr<const Picture>;

class PictureCache : public QObject {
    Q_OBJECT
public:
    struct Limits {
        // The bitmaps kept in memory, in bytes (256 MiB).
        std::int64_t totalCost = std::int64_t(1) << 28;
        // The largest body a remote picture may have (32 MiB).
        std::int64_t body = std::int64_t(32) << 20;
        // How long a remote fetch may take from start to end.
        std::chrono::milliseconds timeout{30'000};
        // The most memory the decoder may allocate for one picture before it is scaled, in MiB.
        int decoderAllocationMiB = 256;
    };

    explicit PictureCache(QObject *parent = nullptr);
    PictureCache(Limits limits, QObject *parent = nullptr);
    ~PictureCache() override;

    // The process-wide cache, made on first use (on the main thread).
    static PictureCache &shared();

    // Where remote pictures go through: asked anew for each fetch, it gives the network manager of
    // the user's current route, or none. Without it, or when it gives none, remote pictures give
    // nothing: they are never fetched around the user's route.
    using Sessions = std::function<std::shared_ptr<QNetworkAccessManager>()>;
    void setSessions(Sessions sessions);

    const Limits &limits() const { return m_limits; }

    // The picture for a key: from memory at once; else by joining the load already running for
    // that key; else by starting one. Nothing when the picture cannot be had (no such file, a
    // failed or refused fetch, bytes that are not a picture). Main thread only.
    QCoro::Task<PicturePointer> picture(PictureKey key);

    // Calls `done` on the main thread with the result of picture(key), unless `context` is gone.
    void request(const PictureKey &key, QObject *context, std::function<void(PicturePointer)> done);

    // The picture memory holds for the key; none otherwise. Starts nothing.
    PicturePointer cached(const PictureKey &key) const;

    // Whether a load for the key is running.
    bool isLoading(const PictureKey &key) const { return m_inFlight.contains(key); }
    int loadingCount() const { return int(m_inFlight.size()); }

    // What memory holds now, in bytes, and how many pictures.
    std::int64_t totalCost() const { return m_pictures.totalCost(); }
    int count() const { return int(m_pictures.count()); }

    // Decodes a picture to at most `maxPixels` on its longer side, orientation applied, never
    // enlarged; a null image when the bytes are not a picture or `maxPixels` is below 1. Any thread.
    static QImage decode(QIODevice &device, std::int64_t maxPixels, int allocationMiB);
    static QImage decode(const QByteArray &bytes, std::int64_t maxPixels, int allocationMiB);
    static QImage decodeFile(const QString &path, std::int64_t maxPixels, int allocationMiB);

signals:
    // A load ended with a picture that is now in memory.
    void pictureStored(const sw::PictureKey &key);

private:
    class Load;

    QCoro::Task<> run(PictureKey key, std::shared_ptr<Load> load);

    Limits m_limits;
    Sessions m_sessions;
    QCache<QString, PicturePointer> m_pictures;
    QHash<PictureKey, std::shared_ptr<Load>> m_inFlight;
};

}  // namespace sw
