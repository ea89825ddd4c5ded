#include "StashKit/LivePostFetcher.h"

#include "StashKit/FxTwitter.h"
#include "StashKit/Network.h"
#include "StashKit/PageReader.h"

#include <QCoro/QCoroNetworkReply>
#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace sw {

namespace {

using Config = LivePostFetcher::Config;

struct DeleteLater {
    void operator()(QObject *object) const
    {
        if (object)
            object->deleteLater();
    }
};
using ReplyPointer = std::unique_ptr<QNetworkReply, DeleteLater>;

// Errors that stand for an HTTP status: a response arrived, and its body is the answer.
bool isStatusError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code >= 201 && code <= 299) || code == QNetworkReply::ProtocolInvalidOperationError
        || (code >= 401 && code <= 499);
}

TransportError networkGone()
{
    return {QNetworkReply::OperationCanceledError, QStringLiteral("The network is no longer available.")};
}

TransportError notHttp()
{
    return {QNetworkReply::ProtocolUnknownError, QStringLiteral("Only http and https addresses are fetched.")};
}

TransportError outOfTime()
{
    return {QNetworkReply::TimeoutError, QStringLiteral("The server did not answer in full in time.")};
}

// Aborts a reply that has not finished when the deadline passes, whatever it is still receiving.
// Stopped when it goes out of scope.
class ReplyDeadline {
public:
    ReplyDeadline(QNetworkReply *reply, QDeadlineTimer deadline)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, reply, [reply, passed = m_passed] {
            *passed = true;
            reply->abort();
        });
        m_timer.start(int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX)));
    }
    bool passed() const { return *m_passed; }

private:
    QTimer m_timer;
    std::shared_ptr<bool> m_passed = std::make_shared<bool>(false);
};

struct Body {
    QByteArray bytes;
    bool tooLarge = false;
};

// GETs an address through the network's current session. The status and the headers are not
// examined: the body of an error response is the answer too. A body past the limit is abandoned;
// an answer not complete by the deadline fails as a time-out.
QCoro::Task<std::expected<Body, TransportError>> get(QPointer<Network> network, Url url, QDeadlineTimer deadline)
{
    using Result = std::expected<Body, TransportError>;
    if (!url.isHttp())
        co_return Result(std::unexpected(notHttp()));
    if (!network)
        co_return Result(std::unexpected(networkGone()));
    const std::shared_ptr<QNetworkAccessManager> session = network->session();
    ReplyPointer reply(session->get(QNetworkRequest(url.qurl())));
    auto tooLarge = std::make_shared<bool>(false);
    QNetworkReply *raw = reply.get();
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, [raw, tooLarge](qint64 received, qint64) {
        if (received > LivePostFetcher::kBodyLimit && !*tooLarge) {
            *tooLarge = true;
            raw->abort();
        }
    });
    const ReplyDeadline limit(raw, deadline);
    co_await raw;
    if (limit.passed())
        co_return Result(std::unexpected(outOfTime()));
    if (*tooLarge)
        co_return Result(Body{{}, true});
    if (reply->error() != QNetworkReply::NoError && !isStatusError(reply->error()))
        co_return Result(std::unexpected(TransportError{reply->error(), reply->errorString()}));
    co_return Result(Body{reply->readAll(), false});
}

// The length a HEAD request announces for an address, from a 2xx answer only; none when the
// probe fails, is not answered by its deadline or announces no length.
QCoro::Task<std::optional<qint64>> probe(QPointer<Network> network, Url url, QDeadlineTimer deadline)
{
    if (!network || !url.isHttp() || deadline.hasExpired())
        co_return std::nullopt;
    const std::shared_ptr<QNetworkAccessManager> session = network->session();
    ReplyPointer reply(session->head(QNetworkRequest(url.qurl())));
    const ReplyDeadline limit(reply.get(), deadline);
    co_await reply.get();
    if (limit.passed())
        co_return std::nullopt;
    if (reply->error() != QNetworkReply::NoError && !isStatusError(reply->error()))
        co_return std::nullopt;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        co_return std::nullopt;
    const QVariant header = reply->header(QNetworkRequest::ContentLengthHeader);
    bool ok = false;
    const qint64 length = header.toLongLong(&ok);
    if (!header.isValid() || !ok || length < 1)
        co_return std::nullopt;
    co_return length;
}

Attachment withBytes(const Attachment &attachment, std::int64_t bytes)
{
    return std::visit(
        [bytes](auto copy) -> Attachment {
            copy.bytes = bytes;
            return Attachment(std::move(copy));
        },
        attachment.value());
}

// The page's text: UTF-8 when the body is valid UTF-8, else ISO Latin-1 (which reads any bytes).
QString pageText(const QByteArray &body)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(body);
}

QCoro::Task<std::expected<Post, FetchError>> fetchStatus(Config config, PostLink::X link)
{
    using Result = std::expected<Post, FetchError>;
    const QDeadlineTimer deadline(config.deadline);
    const Url address = FxTwitter::statusUrl(config.apiBase, link.handle, link.status);
    const auto body = co_await get(config.network, address, deadline);
    if (!body)
        co_return Result(std::unexpected(FetchError(body.error())));
    if (body->tooLarge)
        co_return Result(std::unexpected(FetchError(DecodingError{
            QStringLiteral("The reply is larger than any status document.")})));
    Result post = FxTwitter::post(body->bytes, link.status);
    if (!post || post->attachments.empty())
        co_return post;
    // One probe at a time, in the post's order; a failed probe keeps the estimate, and so do the
    // probes the look-up's deadline leaves no time for.
    for (Attachment &attachment : post->attachments) {
        const QDeadlineTimer probing(std::min<qint64>(deadline.remainingTime(), config.probeTimeout.count()));
        const std::optional<qint64> length = co_await probe(config.network, attachment.remote(), probing);
        if (length)
            attachment = withBytes(attachment, *length);
    }
    co_return post;
}

QCoro::Task<std::expected<Post, FetchError>> fetchPage(Config config, PostLink link)
{
    using Result = std::expected<Post, FetchError>;
    const auto body = co_await get(config.network, link.asWeb()->url, QDeadlineTimer(config.deadline));
    if (!body)
        co_return Result(std::unexpected(FetchError(body.error())));
    if (body->tooLarge)
        co_return Result(std::unexpected(FetchError(FetchFailure::unreadable)));
    // Decoding and reading a page of tens of megabytes takes a while: on a worker thread, so
    // that the window keeps answering meanwhile. Named, not a temporary of the co_await: g++ 12
    // destroys such temporaries' captures twice.
    QFuture<Post> reading = QtConcurrent::run(
        [bytes = body->bytes, link, fetchedAt = config.clock(), read = config.pageReading] {
            return read(pageText(bytes), link, fetchedAt);
        });
    Post post = co_await reading;
    co_return Result(std::move(post));
}

}  // namespace

LivePostFetcher::LivePostFetcher(Network &network, Url apiBase, Clock clock)
    : m_config{&network, std::move(apiBase), std::move(clock), kDefaultProbeTimeout, kDefaultDeadline, &PageReader::post}
{
}

Url LivePostFetcher::defaultApiBase() { return FxTwitter::defaultApiBase(); }

QCoro::Task<std::expected<Post, FetchError>> LivePostFetcher::fetch(PostLink link)
{
    if (const PostLink::X *x = link.asX())
        return fetchStatus(m_config, *x);
    return fetchPage(m_config, std::move(link));
}

}  // namespace sw
