#include "StashKit/LiveMediaDownloader.h"

#include "Offline/ByteCount.h"
#include "StashKit/Network.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <memory>

namespace sw {

std::optional<std::int64_t> ProgressThrottle::written(std::int64_t total)
{
    if (bytes::subtract(total, m_lastSaid) < kStep)
        return std::nullopt;
    m_lastSaid = total;
    return total;
}

namespace {

// The most read from a reply at once, and the most a reply buffers before it stops reading
// from the connection: a file is never held in memory whole.
constexpr qint64 kChunk = 1 << 20;

bool isSuccess(int status) { return status >= 200 && status <= 299; }

// One running download: its own network manager, the reply, and the temporary file that becomes
// the destination once the whole body has arrived.
class DownloadJob final : public QObject {
public:
    DownloadJob(std::shared_ptr<QNetworkAccessManager> session, QString destination, TransferSink sink,
                std::int64_t most, LiveMediaDownloader::LeastRate rate)
        : m_session(std::move(session)), m_destination(std::move(destination)), m_sink(std::move(sink)), m_most(most),
          m_rate(rate)
    {
    }

    void start(const QUrl &remote)
    {
        QNetworkRequest request(remote);
        m_reply = m_session->get(request);
        m_reply->setReadBufferSize(kChunk);
        connect(m_reply, &QNetworkReply::metaDataChanged, this, &DownloadJob::announced);
        connect(m_reply, &QNetworkReply::readyRead, this, &DownloadJob::received);
        connect(m_reply, &QNetworkReply::finished, this, &DownloadJob::ended);
        // The rate is looked at a few times per window, each time over the window that ends then.
        m_clock.start();
        m_samples.push_back({0, 0});
        connect(&m_rateCheck, &QTimer::timeout, this, &DownloadJob::checkRate);
        m_rateCheck.start(int(std::clamp<qint64>(m_rate.window.count() / 4, 10, 60'000)));
    }

    // The reader let go: stop the transfer and drop what was written.
    void cancel() { fail(TransferError::network(QNetworkReply::OperationCanceledError, QStringLiteral("Cancelled."))); }

private:
    std::optional<int> status() const
    {
        const QVariant value = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!value.isValid())
            return std::nullopt;
        return value.toInt();
    }

    // A length announced past what the file may take fails the download before its body comes.
    void announced()
    {
        if (m_over)
            return;
        if (const auto code = status(); code && !isSuccess(*code))
            return;   // the body of an error answer is never kept: its length does not matter
        const QVariant header = m_reply->header(QNetworkRequest::ContentLengthHeader);
        bool ok = false;
        const qint64 length = header.toLongLong(&ok);
        if (header.isValid() && ok && length > m_most)
            fail(TransferError::tooLarge(m_most));
    }

    void checkRate()
    {
        if (m_over)
            return;
        const qint64 now = m_clock.elapsed();
        m_samples.push_back({now, m_written});
        // The newest sample at least a window old is the start of the window that ends now.
        while (m_samples.size() >= 2 && now - m_samples[1].first >= m_rate.window.count())
            m_samples.pop_front();
        const auto &[then, bytesThen] = m_samples.front();
        if (now - then >= m_rate.window.count() && bytes::subtract(m_written, bytesThen) < m_rate.bytes) {
            fail(TransferError::network(QNetworkReply::TimeoutError,
                                        QStringLiteral("Fewer than %1 bytes arrived in %2 ms.")
                                            .arg(m_rate.bytes)
                                            .arg(m_rate.window.count())));
        }
    }

    void received()
    {
        if (m_over)
            return;
        if (!m_file) {
            // Body bytes belong to the final answer: its status decides before anything is kept.
            if (const auto code = status(); code && !isSuccess(*code))
                return fail(TransferError::badServerResponse(*code));
            if (!open())
                return;
        }
        drain();
    }

    void ended()
    {
        if (m_over)
            return;
        if (const auto code = status(); code && !isSuccess(*code))
            return fail(TransferError::badServerResponse(*code));
        if (m_reply->error() != QNetworkReply::NoError)
            return fail(TransferError::network(m_reply->error(), m_reply->errorString()));
        if (!m_file && !open())
            return;
        if (!drain())
            return;
        if (!m_file->commit()) {
            const QString why = m_file->errorString();
            m_file.reset();
            return fail(TransferError::couldNotWrite(why));
        }
        m_file.reset();
        const QFileInfo placed(m_destination);
        const std::int64_t size = placed.exists() ? placed.size() : m_written;
        m_over = true;
        m_rateCheck.stop();
        m_sink.yield(Transfer::done(size));
        m_sink.finish();
        release();
    }

    bool open()
    {
        const QString folder = QFileInfo(m_destination).absolutePath();
        if (!QDir().mkpath(folder)) {
            fail(TransferError::couldNotWrite(QStringLiteral("The folder %1 could not be created.").arg(folder)));
            return false;
        }
        auto file = std::make_unique<QSaveFile>(m_destination);
        // Unbuffered, so that a failed write shows in write() itself rather than at commit.
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            fail(TransferError::couldNotWrite(file->errorString()));
            return false;
        }
        m_file = std::move(file);
        return true;
    }

    // Moves what the reply holds into the file. False when the download failed.
    bool drain()
    {
        while (m_reply->bytesAvailable() > 0) {
            const QByteArray chunk = m_reply->read(kChunk);
            if (chunk.isEmpty())
                break;
            // A server may send more than it announced, or announce nothing: what the file may
            // take is never written past.
            if (bytes::add(m_written, chunk.size()) > m_most) {
                fail(TransferError::tooLarge(m_most));
                return false;
            }
            const qint64 written = m_file->write(chunk);
            if (written != chunk.size()) {
                // A short write is a failed write.
                QString why = m_file->errorString();
                if (written >= 0 && m_file->error() == QFileDevice::NoError)
                    why = QStringLiteral("Only %1 of %2 bytes could be written.").arg(written).arg(chunk.size());
                fail(TransferError::couldNotWrite(why));
                return false;
            }
            m_written = bytes::add(m_written, chunk.size());
            if (const auto total = m_throttle.written(m_written))
                m_sink.yield(Transfer::progress(*total));
        }
        return true;
    }

    void fail(TransferError error)
    {
        if (m_over)
            return;
        m_over = true;
        m_rateCheck.stop();
        if (m_file) {
            m_file->cancelWriting();
            m_file.reset();   // removes the temporary file
        }
        if (m_reply) {
            m_reply->disconnect(this);
            // A reply with an error status has an error of its own on the way, which an abort
            // would report a second time; deleting it (below) stops it as well.
            if (m_reply->isRunning() && error.kind != TransferError::Kind::badServerResponse)
                m_reply->abort();
        }
        m_sink.fail(std::move(error));
        release();
    }

    void release()
    {
        if (m_reply) {
            m_reply->disconnect(this);
            m_reply->deleteLater();
            m_reply = nullptr;
        }
        m_session.reset();
        deleteLater();
    }

    std::shared_ptr<QNetworkAccessManager> m_session;
    QString m_destination;
    TransferSink m_sink;
    QNetworkReply *m_reply = nullptr;
    std::unique_ptr<QSaveFile> m_file;
    ProgressThrottle m_throttle;
    std::int64_t m_written = 0;
    std::int64_t m_most = 0;
    LiveMediaDownloader::LeastRate m_rate;
    QElapsedTimer m_clock;
    QTimer m_rateCheck;
    // (milliseconds since the start, bytes written by then), oldest first.
    std::deque<std::pair<qint64, std::int64_t>> m_samples;
    bool m_over = false;
};

}  // namespace

LiveMediaDownloader::LiveMediaDownloader(Network &network) : m_network(&network) {}

TransferStream LiveMediaDownloader::download(const Attachment &attachment, const Url &destination, std::int64_t most)
{
    const Url &remote = attachment.remote();
    if (!remote.isHttp())
        return TransferStream::failed(TransferError::notHttp(remote.text()));
    if (!destination.isLocalFile())
        return TransferStream::failed(
            TransferError::couldNotWrite(QStringLiteral("%1 is not a file on this computer.").arg(destination.text())));
    if (!m_network)
        return TransferStream::failed(TransferError::network(QNetworkReply::OperationCanceledError,
                                                             QStringLiteral("The network is no longer available.")));

    // The route as it is now; the download keeps its manager, and so its route, to the end.
    auto session = Network::makeSession(m_network->route(), m_network->transferTimeout());
    auto [stream, sink] = TransferStream::make();
    auto *job = new DownloadJob(std::move(session), destination.toLocalFile(), sink, most, m_leastRate);
    QPointer<DownloadJob> guard(job);
    sink.onCancel([guard] {
        if (guard)
            guard->cancel();
    });
    job->start(remote.qurl());
    return std::move(stream);
}

}  // namespace sw
