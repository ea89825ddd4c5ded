#include "StashwellUI/Pictures/PictureCache.h"

#include <QBuffer>
#include <QCoro/QCoroFuture>
#include <QCoro/QCoroNetworkReply>
#include <QFile>
#include <QFuture>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <coroutine>
#include <vector>

namespace sw {

// One running load and everyone waiting for it. Lives on the main thread; the waiters are resumed
// there, in the order they joined, when the load ends.
class PictureCache::Load {
public:
    // Holds a plain pointer: the awaiting coroutine keeps the load alive by a named local (g++ 12
    // may destroy an awaiter temporary with a non-trivial destructor twice).
    struct Awaiter {
        Load *load;
        bool await_ready() const noexcept { return load->m_done; }
        void await_suspend(std::coroutine_handle<> waiter) { load->m_waiters.push_back(waiter); }
        PicturePointer await_resume() const { return load->m_result; }
    };

    void finish(PicturePointer result)
    {
        m_done = true;
        m_result = std::move(result);
        std::vector<std::coroutine_handle<>> waiters;
        waiters.swap(m_waiters);
        for (std::coroutine_handle<> waiter : waiters)
            waiter.resume();
    }

private:
    bool m_done = false;
    PicturePointer m_result;
    std::vector<std::coroutine_handle<>> m_waiters;
};

namespace {

struct DeleteLater {
    void operator()(QObject *object) const
    {
        if (object)
            object->deleteLater();
    }
};
using ReplyPointer = std::unique_ptr<QNetworkReply, DeleteLater>;

int clampedMilliseconds(std::chrono::milliseconds duration)
{
    return int(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 0, INT_MAX));
}

// Errors that stand for an HTTP status: an answer arrived and its body is what was sent.
bool isStatusError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code >= 201 && code <= 299) || code == QNetworkReply::ProtocolInvalidOperationError
        || (code >= 401 && code <= 499);
}

// The size that fits within `bound` on the longer side, aspect kept, never larger than `size`.
QSize boundedSize(const QSize &size, int bound)
{
    const int longer = std::max(size.width(), size.height());
    if (longer <= bound)
        return size;
    const double scale = double(bound) / double(longer);
    return QSize(std::clamp(int(std::lround(size.width() * scale)), 1, bound),
                 std::clamp(int(std::lround(size.height() * scale)), 1, bound));
}

// Runs `work` on the thread pool; the result is taken in on the calling (main) thread.
QCoro::Task<QImage> offMainThread(std::function<QImage()> work)
{
    auto promise = std::make_shared<QPromise<QImage>>();
    QFuture<QImage> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)] {
        promise->addResult(work());
        promise->finish();
    });
    QImage image = co_await future;
    co_return image;
}

// GETs a picture's bytes through the current session. Refused: other schemes than http and https,
// no session, a body (announced or received) over the limit, a fetch that outlasts the
// time-out, a connection that fails or breaks off. The status is not examined: whatever body an
// answer carries goes to the decoder, which tells pictures from error pages.
QCoro::Task<std::optional<QByteArray>> fetchBody(PictureCache::Sessions sessions, PictureCache::Limits limits, Url url)
{
    if (!url.isHttp() || !sessions)
        co_return std::nullopt;
    const std::shared_ptr<QNetworkAccessManager> session = sessions();
    if (!session)
        co_return std::nullopt;
    QNetworkRequest request(url.qurl());
    request.setTransferTimeout(clampedMilliseconds(limits.timeout));
    ReplyPointer reply(session->get(request));
    QNetworkReply *raw = reply.get();

    // The body is taken in as it arrives, so that one over the limit is refused at once rather than
    // when it ends (the progress signal comes too seldom to rely on).
    struct Transfer {
        QByteArray body;
        bool refused = false;
    };
    auto transfer = std::make_shared<Transfer>();
    auto refuse = [raw, transfer] {
        if (transfer->refused)
            return;
        transfer->refused = true;
        raw->abort();
    };
    const std::int64_t limit = limits.body;
    QObject::connect(raw, &QNetworkReply::metaDataChanged, raw, [raw, limit, refuse] {
        const QVariant length = raw->header(QNetworkRequest::ContentLengthHeader);
        bool ok = false;
        const qint64 announced = length.toLongLong(&ok);
        if (length.isValid() && ok && announced > limit)
            refuse();
    });
    QObject::connect(raw, &QNetworkReply::readyRead, raw, [raw, limit, transfer, refuse] {
        if (transfer->refused)
            return;
        transfer->body.append(raw->readAll());
        if (transfer->body.size() > limit)
            refuse();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, raw, refuse);
    deadline.start(clampedMilliseconds(limits.timeout));

    co_await raw;
    deadline.stop();
    if (transfer->refused)
        co_return std::nullopt;
    if (reply->error() != QNetworkReply::NoError && !isStatusError(reply->error()))
        co_return std::nullopt;
    transfer->body.append(reply->readAll());
    if (transfer->body.size() > limit)
        co_return std::nullopt;
    co_return std::move(transfer->body);
}

// Reads the key's picture from its file or its address and decodes it off the main thread; a null
// image when it cannot be had.
QCoro::Task<QImage> loadImage(PictureCache::Sessions sessions, PictureCache::Limits limits, PictureKey key)
{
    // Written without co_await inside nested scopes or co_return expressions: g++ 12 mishandles
    // the lifetimes of locals and temporaries there.
    const std::int64_t maxPixels = key.maxPixels;
    const int allocation = limits.decoderAllocationMiB;
    QImage image;
    if (maxPixels < 1 || key.url.isEmpty())
        co_return image;
    std::function<QImage()> work;
    std::optional<QByteArray> body;
    if (key.url.isLocalFile()) {
        work = [path = key.url.toLocalFile(), maxPixels, allocation] {
            return PictureCache::decodeFile(path, maxPixels, allocation);
        };
    } else {
        body = co_await fetchBody(std::move(sessions), limits, key.url);
        if (!body || body->isEmpty())
            co_return image;
        work = [bytes = *body, maxPixels, allocation] { return PictureCache::decode(bytes, maxPixels, allocation); };
    }
    image = co_await offMainThread(std::move(work));
    co_return image;
}

}  // namespace

// --- Key ---

QString PictureKey::keyString() const
{
    return QString::number(maxPixels) + u'|' + url.text();
}

size_t qHash(const PictureKey &key, size_t seed) noexcept
{
    return qHashMulti(seed, key.url, qint64(key.maxPixels));
}

// --- Cache ---

PictureCache::PictureCache(QObject *parent) : PictureCache(Limits{}, parent) {}

PictureCache::PictureCache(Limits limits, QObject *parent) : QObject(parent), m_limits(limits)
{
    m_pictures.setMaxCost(qsizetype(std::max<std::int64_t>(0, m_limits.totalCost)));
}

PictureCache::~PictureCache() = default;

PictureCache &PictureCache::shared()
{
    // Never released: views may hold its pictures until the very end.
    static PictureCache *const cache = new PictureCache;
    return *cache;
}

void PictureCache::setSessions(Sessions sessions)
{
    m_sessions = std::move(sessions);
}

PicturePointer PictureCache::cached(const PictureKey &key) const
{
    if (const PicturePointer *found = m_pictures.object(key.keyString()))
        return *found;
    return nullptr;
}

QCoro::Task<PicturePointer> PictureCache::picture(PictureKey key)
{
    if (PicturePointer hit = cached(key))
        co_return hit;
    std::shared_ptr<Load> load = m_inFlight.value(key);
    if (!load) {
        load = std::make_shared<Load>();
        // Filed before the load can suspend, so that every later request joins it.
        m_inFlight.insert(key, load);
        run(key, load);
    }
    PicturePointer result = co_await Load::Awaiter{load.get()};
    co_return result;
}

QCoro::Task<> PictureCache::run(PictureKey key, std::shared_ptr<Load> load)
{
    QPointer<PictureCache> self(this);
    const QImage image = co_await loadImage(m_sessions, m_limits, key);
    PicturePointer picture;
    if (!image.isNull())
        picture = std::make_shared<const Picture>(Picture{key, image});
    // Back on the main thread, with no suspension until the waiters are told.
    if (self) {
        self->m_inFlight.remove(key);
        if (picture) {
            // A picture larger than the whole budget is handed out but not kept.
            if (self->m_pictures.insert(key.keyString(), new PicturePointer(picture), qsizetype(picture->cost())))
                emit self->pictureStored(key);
        }
    }
    load->finish(std::move(picture));
}

void PictureCache::request(const PictureKey &key, QObject *context, std::function<void(PicturePointer)> done)
{
    [](PictureCache *cache, PictureKey key, QPointer<QObject> context, bool hasContext,
       std::function<void(PicturePointer)> done) -> QCoro::Task<> {
        PicturePointer picture = co_await cache->picture(key);
        if (hasContext && !context)
            co_return;
        if (done)
            done(std::move(picture));
    }(this, key, context, context != nullptr, std::move(done));
}

// --- Decoding ---

QImage PictureCache::decode(QIODevice &device, std::int64_t maxPixels, int allocationMiB)
{
    if (maxPixels < 1)
        return QImage();
    const int bound = int(std::min<std::int64_t>(maxPixels, INT_MAX));
    QImageReader reader(&device);
    // The pixels come out upright, whatever orientation the file records.
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    if (declared.isValid()) {
        // A picture whose full bitmap would exceed the allocation limit is refused before any
        // pixel is decoded: a small file can declare an enormous picture.
        const std::int64_t fullBytes = std::int64_t(declared.width()) * declared.height() * 4;
        if (allocationMiB > 0 && fullBytes > (std::int64_t(allocationMiB) << 20))
            return QImage();
        const QSize scaled = boundedSize(declared, bound);
        if (scaled != declared)
            reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull())
        return QImage();
    // Formats that cannot tell their size in advance, or that ignore the scaled size.
    if (std::max(image.width(), image.height()) > bound)
        image = image.scaled(boundedSize(image.size(), bound), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // One format that draws without conversion; the bitmap is complete now, not at first drawing.
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QImage PictureCache::decode(const QByteArray &bytes, std::int64_t maxPixels, int allocationMiB)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    return decode(buffer, maxPixels, allocationMiB);
}

QImage PictureCache::decodeFile(const QString &path, std::int64_t maxPixels, int allocationMiB)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    return decode(file, maxPixels, allocationMiB);
}

}  // namespace sw
