// The live post fetcher against a local API server and local pages: the status document, the
// size probes, the web path and the failures, over every route.

#include "StashKit/LivePostFetcher.h"

#include "AwaitTask.h"
#include "HostilePage.h"
#include "HttpProxy.h"
#include "HttpServer.h"
#include "StashKit/Network.h"
#include "StashKit/PageReader.h"

#include <QSignalSpy>
#include <QtTest>

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

const Date kNow{700000000};

// A QString of UTF-8 text (raw strings stay out of macro arguments, where moc cannot read them).
QString text(const char *utf8) { return QString::fromUtf8(utf8); }

QByteArray statusDocument(const QByteArray &media)
{
    return R"({"code":200,"tweet":{"text":"t","author":{"name":"N","screen_name":"RealName"},"media":{"all":[)" + media
        + "]}}}";
}

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

QString describe(const std::expected<Post, FetchError> &result)
{
    if (result)
        return QStringLiteral("post");
    const FetchError &e = result.error();
    if (const FetchFailure *f = e.failure())
        return *f == FetchFailure::notFound ? QStringLiteral("notFound") : QStringLiteral("unreadable");
    return e.decoding() ? QStringLiteral("decoding") : QStringLiteral("transport");
}

QStringList methodsAndPaths(const HttpServer &server)
{
    QStringList out;
    for (const HttpRequest &r : server.requests())
        out.append(QString::fromLatin1(r.method + ' ' + r.target));
    return out;
}

}  // namespace

class TestLivePostFetcher : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fetchesTheStatusDocument();
    void postWithoutMediaSendsNoProbe();
    void probesOneAfterAnother();
    void probes_data();
    void probes();
    void aFailedProbeKeepsTheEstimateAndGoesOn();
    void onlyHttpAddressesAreProbed();
    void apiFailures_data();
    void apiFailures();
    void apiThatNeverAnswersFailsWithinTheTimeout();
    void handleIsOneSegmentOfTheApiAddress();
    void drippingLookUpsFailByTheDeadline_data();
    void drippingLookUpsFailByTheDeadline();
    void probesEndWithTheLookUpsDeadline();

    void readsWebPages_data();
    void readsWebPages();
    void webPostHasNoProbe();
    void oversizedPageIsUnreadable();
    void onlyHttpAddressesAreFetched();
    void unreachablePageGivesTheTransportError();
    void hostilePageIsReadOffTheMainThread();

    void routeChangeAppliesFromTheNextRequest();
    void fetchThroughTheHttpRoute();
    void networkGoneMidFetchKeepsTheEstimates();

private:
    QCoro::Task<std::expected<Post, FetchError>> fetchX(const QString &handle, const QString &digits);
    Url at(const QString &path) const { return Url::fromQUrl(m_server->url(path)); }

    std::unique_ptr<HttpServer> m_server;
    std::unique_ptr<Network> m_network;
    std::unique_ptr<LivePostFetcher> m_fetcher;
};

void TestLivePostFetcher::init()
{
    m_server = std::make_unique<HttpServer>();
    QVERIFY(m_server->listen());
    m_network = std::make_unique<Network>(NetworkRoute::direct());
    m_network->setTransferTimeout(2s);
    m_fetcher = std::make_unique<LivePostFetcher>(*m_network, at(QStringLiteral("/")), [] { return kNow; });
    m_fetcher->setProbeTimeout(300ms);
}

void TestLivePostFetcher::cleanup()
{
    m_fetcher.reset();
    m_network.reset();
    m_server.reset();
}

QCoro::Task<std::expected<Post, FetchError>> TestLivePostFetcher::fetchX(const QString &handle, const QString &digits)
{
    return m_fetcher->fetch(PostLink::x(Handle{handle}, StatusID{digits}));
}

void TestLivePostFetcher::fetchesTheStatusDocument()
{
    // A photo, then a video with an HLS playlist (no bitrate) and three MP4 encodings.
    const QByteArray media = text(R"({"type":"photo","url":"%1","thumbnail_url":"%2"},
        {"type":"video","url":"%3","thumbnail_url":"%2","duration":12.9,"variants":[
          {"content_type":"application/x-mpegURL","url":"%4"},
          {"bitrate":2176000,"content_type":"video/mp4","url":"%5"},
          {"bitrate":256000,"content_type":"video/mp4","url":"%6"},
          {"bitrate":832000,"content_type":"video/mp4","url":"%7"}]})")
                                 .arg(at("/m/a.jpg").text(), at("/m/thumb.jpg").text(), at("/m/b.mp4").text(),
                                      at("/pl/list.m3u8").text(), at("/vid/1280x720/hi.mp4").text(),
                                      at("/vid/480x270/lo.mp4").text())
                                 .arg(at("/vid/640x360/mid.mp4").text())
                                 .toUtf8();
    m_server->route("/askedname/status/42", HttpReply::json(statusDocument(media)));
    m_server->route("HEAD", "/m/a.jpg", HttpReply::ok(QByteArray(), "image/jpeg").withHeader("Content-Length", "5242880"));
    m_server->route("HEAD", "/m/b.mp4", HttpReply::ok(QByteArray(), "video/mp4").withHeader("Content-Length", "9000000"));

    const auto result = awaitTask(fetchX(QStringLiteral("AskedName"), QStringLiteral("42")));
    QVERIFY(result);
    QCOMPARE(describe(*result), QStringLiteral("post"));
    const Post &post = **result;
    QCOMPARE(methodsAndPaths(*m_server), (QStringList{"GET /askedname/status/42", "HEAD /m/a.jpg", "HEAD /m/b.mp4"}));
    QCOMPARE(post.link.asX()->handle.name, QStringLiteral("RealName"));
    QCOMPARE(post.link.asX()->status.digits, QStringLiteral("42"));
    QCOMPARE(post.author.name, QStringLiteral("N"));
    QCOMPARE(post.attachments.size(), std::size_t(2));
    QCOMPARE(post.attachments[0], Attachment(Attachment::Image{at("/m/a.jpg"), 5242880}));
    const auto *video = post.attachments[1].asVideo();
    QVERIFY(video);
    QCOMPARE(video->url, at("/m/b.mp4"));
    QCOMPARE(video->bytes, 9000000);
    QCOMPARE(video->length, Duration::fromMilliseconds(12900));
    // The playlist gives no rendition; the others come lowest first with their bitrate estimates,
    // never probed.
    const std::vector<Rendition> renditions{{at("/vid/480x270/lo.mp4"), 270, 32000 * 12},
                                            {at("/vid/640x360/mid.mp4"), 360, 104000 * 12},
                                            {at("/vid/1280x720/hi.mp4"), 720, 272000 * 12}};
    QCOMPARE(video->renditions, std::optional(renditions));
    QCOMPARE(post.preview, std::optional(at("/m/a.jpg")));
}

void TestLivePostFetcher::postWithoutMediaSendsNoProbe()
{
    m_server->route("/a/status/1", HttpReply::json(statusDocument("")));
    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")));
    QVERIFY(result && *result);
    QVERIFY((*result)->attachments.empty());
    QCOMPARE(m_server->requestCount(), 1);
}

void TestLivePostFetcher::probesOneAfterAnother()
{
    QByteArray media;
    for (int i = 0; i < 4; ++i)
        media += (i ? "," : "") + text(R"({"type":"photo","url":"%1"})").arg(at(QStringLiteral("/p%1.jpg").arg(i)).text()).toUtf8();
    m_server->route("/a/status/1", HttpReply::json(statusDocument(media)));
    HttpReply slowHead = HttpReply::ok(QByteArray(), "image/jpeg").withHeader("Content-Length", "1000");
    slowHead.delay = 40ms;
    m_server->setHandler([slowHead](const HttpRequest &) { return slowHead; });

    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")));
    QVERIFY(result && *result);
    QCOMPARE(m_server->requestCount(), 5);
    QCOMPARE(m_server->mostInFlight(), 1);
    QCOMPARE(methodsAndPaths(*m_server).mid(1), (QStringList{"HEAD /p0.jpg", "HEAD /p1.jpg", "HEAD /p2.jpg", "HEAD /p3.jpg"}));
    for (const Attachment &a : (*result)->attachments)
        QCOMPARE(a.bytes(), 1000);
}

void TestLivePostFetcher::probes_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("length");   // the Content-Length header, or empty for none
    QTest::addColumn<bool>("chunked");
    QTest::addColumn<qint64>("bytes");

    QTest::newRow("length replaces the estimate") << 200 << QByteArray("5242880") << false << qint64(5242880);
    QTest::newRow("other 2xx answers count") << 203 << QByteArray("1234") << false << qint64(1234);
    QTest::newRow("length 1 counts") << 200 << QByteArray("1") << false << qint64(1);
    QTest::newRow("length 0 keeps the estimate") << 200 << QByteArray("0") << false << qint64(400000);
    QTest::newRow("no length keeps the estimate") << 200 << QByteArray() << true << qint64(400000);
    QTest::newRow("error answer's length is not taken") << 404 << QByteArray("777") << false << qint64(400000);
    QTest::newRow("server error's length is not taken") << 503 << QByteArray("777") << false << qint64(400000);
    QTest::newRow("unreadable length keeps the estimate") << 200 << QByteArray("lots") << false << qint64(400000);
    QTest::newRow("length beyond 64 bits keeps the estimate") << 200 << QByteArray("99999999999999999999") << false
                                                              << qint64(400000);
}

void TestLivePostFetcher::probes()
{
    QFETCH(int, status);
    QFETCH(QByteArray, length);
    QFETCH(bool, chunked);
    QFETCH(qint64, bytes);
    m_server->route("/a/status/1", HttpReply::json(statusDocument(text(R"({"type":"photo","url":"%1"})").arg(at("/p.jpg").text()).toUtf8())));
    HttpReply head = HttpReply::withStatus(status);
    if (chunked)
        head = std::move(head).framed(HttpReply::Framing::chunked);
    if (!length.isEmpty())
        head = std::move(head).withHeader("Content-Length", length);
    m_server->route("HEAD", "/p.jpg", head);

    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")));
    QVERIFY(result && *result);
    QCOMPARE(m_server->requestCount("/p.jpg"), 1);
    QCOMPARE((*result)->attachments.at(0).bytes(), bytes);
}

void TestLivePostFetcher::aFailedProbeKeepsTheEstimateAndGoesOn()
{
    const QByteArray media = text(R"({"type":"photo","url":"%1"},{"type":"photo","url":"%2"},{"type":"video","url":"%3","duration":4}, {"type":"photo","url":"%4"})")
                                 .arg(at("/silent.jpg").text(), QStringLiteral("http://127.0.0.1:%1/refused.jpg").arg(closedPort()),
                                      at("/dropped.mp4").text(), at("/fine.jpg").text())
                                 .toUtf8();
    m_server->route("/a/status/1", HttpReply::json(statusDocument(media)));
    m_server->route("/silent.jpg", HttpReply::never());
    m_server->route("/dropped.mp4", HttpReply::hungUp());
    m_server->route("HEAD", "/fine.jpg", HttpReply::ok(QByteArray(), "image/jpeg").withHeader("Content-Length", "2048"));

    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")), 5s);
    QVERIFY2(result, "the fetch did not end: a probe that never answers must give up");
    QVERIFY(*result);
    const auto &attachments = (*result)->attachments;
    QCOMPARE(attachments.size(), std::size_t(4));
    QCOMPARE(attachments[0].bytes(), 400000);
    QCOMPARE(attachments[1].bytes(), 400000);
    QCOMPARE(attachments[2].bytes(), 1250000);
    QCOMPARE(attachments[3].bytes(), 2048);
    QCOMPARE(m_server->requestCount("/fine.jpg"), 1);
}

void TestLivePostFetcher::onlyHttpAddressesAreProbed()
{
    const QByteArray media = text(R"({"type":"photo","url":"ftp://127.0.0.1:%1/a.jpg"},{"type":"photo","url":"file:///etc/hostname"},{"type":"photo","url":"relative.jpg"})")
                                 .arg(m_server->port())
                                 .toUtf8();
    m_server->route("/a/status/1", HttpReply::json(statusDocument(media)));
    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")));
    QVERIFY(result && *result);
    QCOMPARE((*result)->attachments.size(), std::size_t(3));
    for (const Attachment &a : (*result)->attachments)
        QCOMPARE(a.bytes(), 400000);
    QCOMPARE(m_server->requestCount(), 1);
    QCOMPARE(m_server->connectionCount(), 1);
}

void TestLivePostFetcher::apiFailures_data()
{
    QTest::addColumn<HttpReply>("reply");
    QTest::addColumn<QString>("expected");

    QTest::newRow("API code 404") << HttpReply::json(R"({"code":404,"message":"NOT_FOUND"})") << "notFound";
    QTest::newRow("API code 404 behind an HTTP 404")
        << HttpReply::withStatus(404, R"({"code":404,"message":"NOT_FOUND"})") << "notFound";
    QTest::newRow("HTTP status is not examined")
        << HttpReply::withStatus(500, statusDocument("")) << "post";
    QTest::newRow("an HTML error page") << HttpReply::withStatus(502, "<html>Bad gateway</html>") << "decoding";
    QTest::newRow("wrong types") << HttpReply::json(R"({"code":200,"tweet":{"text":7,"author":{}}})") << "decoding";
    QTest::newRow("empty answer") << HttpReply::json("") << "decoding";
    QTest::newRow("body in pauses and chunks")
        << HttpReply::json(statusDocument("")).framed(HttpReply::Framing::chunked).inPieces(16, 5ms) << "post";
    QTest::newRow("connection dropped mid-body") << HttpReply::json(statusDocument("")).droppedAfter(20) << "transport";
    QTest::newRow("API reply past the body limit")
        << HttpReply::json(QByteArray(LivePostFetcher::kBodyLimit + 1, ' ')).framed(HttpReply::Framing::untilClose)
        << "decoding";
}

void TestLivePostFetcher::apiFailures()
{
    QFETCH(HttpReply, reply);
    QFETCH(QString, expected);
    m_server->route("/a/status/1", reply);
    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")));
    QVERIFY(result);
    QCOMPARE(describe(*result), expected);
}

void TestLivePostFetcher::apiThatNeverAnswersFailsWithinTheTimeout()
{
    m_network->setTransferTimeout(300ms);
    m_server->route("/a/status/1", HttpReply::never());
    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")), 5s);
    QVERIFY2(result, "the fetch did not end within the transfer time-out");
    QCOMPARE(describe(*result), QStringLiteral("transport"));
}

void TestLivePostFetcher::handleIsOneSegmentOfTheApiAddress()
{
    const auto result = awaitTask(fetchX(QStringLiteral("../Admin?x"), QStringLiteral("7")));
    QVERIFY(result);
    QCOMPARE(describe(*result), QStringLiteral("decoding"));   // the server's 404 page is not a document
    QCOMPARE(m_server->requests().value(0).target, QByteArray("/..%2Fadmin%3Fx/status/7"));
}

void TestLivePostFetcher::drippingLookUpsFailByTheDeadline_data()
{
    QTest::addColumn<HttpReply>("reply");
    QTest::addColumn<bool>("web");
    // Each would take over twenty seconds to arrive in full, a byte every 20 ms.
    const QByteArray document = statusDocument({}) + QByteArray(1000, ' ');
    const QByteArray page = "<title>Slow</title>" + QByteArray(1000, ' ');
    QTest::newRow("status document") << HttpReply::json(document).dripping(20ms) << false;
    QTest::newRow("web page") << HttpReply::html(page).dripping(20ms) << true;
    QTest::newRow("web page without a length")
        << HttpReply::html(page).framed(HttpReply::Framing::untilClose).dripping(20ms) << true;
}

void TestLivePostFetcher::drippingLookUpsFailByTheDeadline()
{
    QFETCH(HttpReply, reply);
    QFETCH(bool, web);
    m_fetcher->setDeadline(300ms);
    m_server->route("/a/status/1", reply);
    m_server->route("/page", reply);
    auto fetching = web ? m_fetcher->fetch(PostLink::web(at(QStringLiteral("/page"))))
                        : fetchX(QStringLiteral("a"), QStringLiteral("1"));

    const auto result = awaitTask(std::move(fetching), 5s);

    QVERIFY2(result, "the look-up did not end");
    QVERIFY(!*result);
    QVERIFY(result->error().transport());
    QCOMPARE(result->error().transport()->code, QNetworkReply::TimeoutError);
}

void TestLivePostFetcher::probesEndWithTheLookUpsDeadline()
{
    // The probe alone may take ten seconds, the whole look-up a third of one: the estimate stays.
    m_fetcher->setDeadline(300ms);
    m_fetcher->setProbeTimeout(10s);
    m_network->setTransferTimeout(10s);
    m_server->route("/a/status/1",
                    HttpReply::json(statusDocument(R"({"type":"photo","url":")" + at("/m/a.jpg").text().toUtf8() + "\"}")));
    m_server->route("HEAD", "/m/a.jpg", HttpReply::never());

    const auto result = awaitTask(fetchX(QStringLiteral("a"), QStringLiteral("1")), 5s);

    QVERIFY2(result, "the look-up did not end");
    QVERIFY(*result);
    QCOMPARE((*result)->attachments.size(), std::size_t(1));
    QCOMPARE(m_server->requestCount("/m/a.jpg"), 1);
}

void TestLivePostFetcher::hostilePageIsReadOffTheMainThread()
{
    // Megabytes of unclosed tag heads, then the title: read whole, while the main thread goes on.
    m_server->route("/hostile", HttpReply::html(hostilePage(8 << 20) + "<meta property=\"og:title\" content=\"Held\">"));
    std::atomic<bool> reading = false;
    std::atomic<bool> tickedWhileReading = false;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { tickedWhileReading = tickedWhileReading || reading; });
    ticker.start(1ms);
    m_fetcher->setPageReading([&](const QString &page, const PostLink &link, Date fetchedAt) {
        reading = true;
        // A reader on the main thread would wait here in vain: the timer could not fire.
        const QDeadlineTimer patience(5s);
        while (!tickedWhileReading && !patience.hasExpired())
            QThread::msleep(1);
        return PageReader::post(page, link, fetchedAt);
    });

    const auto result = awaitTask(m_fetcher->fetch(PostLink::web(at(QStringLiteral("/hostile")))), 20s);

    QVERIFY2(result, "the look-up did not end");
    QVERIFY(*result);
    QCOMPARE((*result)->text, QStringLiteral("Held"));
    QVERIFY2(tickedWhileReading, "the main thread's timer did not fire while the page was read");
}

void TestLivePostFetcher::readsWebPages_data()
{
    QTest::addColumn<HttpReply>("reply");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("bytes");

    const QByteArray utf8 = "<title>Caf\xC3\xA9 \xE2\x82\xAC</title>";
    QTest::newRow("UTF-8") << HttpReply::html(utf8) << QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC") << qint64(utf8.size());
    const QByteArray latin1 = "<title>Caf\xE9 \xE0 Z\xFCrich</title>";
    QTest::newRow("ISO Latin-1") << HttpReply::html(latin1, "text/html")
                                 << QString::fromUtf8("Caf\xC3\xA9 \xC3\xA0 Z\xC3\xBCrich") << qint64(latin1.size() + 3);
    const QByteArray truncated = "<title>ab</title>\xE2\x82";
    QTest::newRow("UTF-8 cut short reads as Latin-1") << HttpReply::html(truncated) << "ab" << qint64(truncated.size() + 2);
    const QByteArray surrogate = "<title>x\xED\xA0\x80</title>";
    QTest::newRow("encoded surrogate is not UTF-8")
        << HttpReply::html(surrogate) << QString::fromLatin1("x\xED\xA0\x80") << qint64(surrogate.size() + 3);
    const QByteArray overlong = "<title>\xC0\xAF</title>";
    QTest::newRow("overlong form is not UTF-8") << HttpReply::html(overlong) << QString::fromLatin1("\xC0\xAF")
                                                << qint64(overlong.size() + 2);
    QTest::newRow("error page is read like any page") << HttpReply::withStatus(404, "<title>Gone</title>") << "Gone"
                                                      << qint64(19);
    QTest::newRow("empty body") << HttpReply::html("") << "127.0.0.1" << qint64(0);
    const QByteArray binary("\x00\x01\xFF\xFE<title>bin</title>", 22);
    QTest::newRow("binary body") << HttpReply::ok(binary, "application/octet-stream") << "bin" << qint64(24);
}

void TestLivePostFetcher::readsWebPages()
{
    QFETCH(HttpReply, reply);
    QFETCH(QString, text);
    QFETCH(qint64, bytes);
    m_server->route("/page", reply);
    const PostLink link = PostLink::web(at(QStringLiteral("/page")));
    const auto result = awaitTask(m_fetcher->fetch(link));
    QVERIFY(result);
    QCOMPARE(describe(*result), QStringLiteral("post"));
    const Post &post = **result;
    QCOMPARE(post.text, text);
    QCOMPARE(post.postedAt, kNow);
    QCOMPARE(post.link, link);
    QCOMPARE(post.attachments.size(), std::size_t(1));
    QCOMPARE(post.attachments[0].bytes(), bytes);
}

void TestLivePostFetcher::webPostHasNoProbe()
{
    m_server->route("/page", HttpReply::html("<meta property=\"og:image\" content=\"/cover.jpg\"><title>T</title>"));
    const auto result = awaitTask(m_fetcher->fetch(PostLink::web(at(QStringLiteral("/page")))));
    QVERIFY(result && *result);
    QCOMPARE(methodsAndPaths(*m_server), QStringList{"GET /page"});
}

void TestLivePostFetcher::oversizedPageIsUnreadable()
{
    m_server->route("/huge", HttpReply::html(QByteArray(LivePostFetcher::kBodyLimit + 4096, 'a')).inPieces(1 << 20, 0ms));
    const auto result = awaitTask(m_fetcher->fetch(PostLink::web(at(QStringLiteral("/huge")))));
    QVERIFY(result);
    QVERIFY(!*result);
    QCOMPARE(result->error(), FetchError(FetchFailure::unreadable));
}

void TestLivePostFetcher::onlyHttpAddressesAreFetched()
{
    for (const QString &address : {QStringLiteral("file:///etc/hostname"), QStringLiteral("ftp://127.0.0.1/x"),
                                   QStringLiteral("data:text/html,<title>x</title>")}) {
        const auto result = awaitTask(m_fetcher->fetch(PostLink::web(*Url::parse(address))));
        QVERIFY(result);
        QVERIFY(!*result);
        QVERIFY(result->error().transport());
        QCOMPARE(result->error().transport()->code, QNetworkReply::ProtocolUnknownError);
    }
}

void TestLivePostFetcher::unreachablePageGivesTheTransportError()
{
    const auto url = Url::parse(QStringLiteral("http://127.0.0.1:%1/page").arg(closedPort()));
    const auto result = awaitTask(m_fetcher->fetch(PostLink::web(*url)));
    QVERIFY(result && !*result);
    QCOMPARE(result->error().transport()->code, QNetworkReply::ConnectionRefusedError);
}

void TestLivePostFetcher::routeChangeAppliesFromTheNextRequest()
{
    HttpProxy proxy;
    QVERIFY(proxy.listen());
    const QByteArray media = text(R"({"type":"photo","url":"%1"},{"type":"photo","url":"%2"})")
                                 .arg(at("/a.jpg").text(), at("/b.jpg").text())
                                 .toUtf8();
    HttpReply document = HttpReply::json(statusDocument(media));
    document.delay = 50ms;
    m_server->route("/a/status/1", document);
    m_server->route("HEAD", "/a.jpg", HttpReply::ok({}).withHeader("Content-Length", "11"));
    m_server->route("HEAD", "/b.jpg", HttpReply::ok({}).withHeader("Content-Length", "22"));

    auto task = fetchX(QStringLiteral("a"), QStringLiteral("1"));
    QTRY_COMPARE(m_server->requestCount(), 1);   // the GET went out directly
    m_network->setRoute(*NetworkRoute::proxy(NetworkRoute::Kind::http, QStringLiteral("127.0.0.1"), proxy.port()));
    const auto result = awaitTask(std::move(task));
    QVERIFY(result && *result);
    QCOMPARE((*result)->attachments[0].bytes(), 11);
    QCOMPARE((*result)->attachments[1].bytes(), 22);
    QCOMPARE(proxy.visitCount(), 2);
    QCOMPARE(proxy.visits()[0].method, QByteArray("HEAD"));
}

void TestLivePostFetcher::fetchThroughTheHttpRoute()
{
    HttpProxy proxy;
    QVERIFY(proxy.listen());
    proxy.hosts().add(kProxyOnlyHost, m_server->port());
    m_network->setRoute(*NetworkRoute::proxy(NetworkRoute::Kind::http, QStringLiteral("127.0.0.1"), proxy.port()));
    m_server->route("/page", HttpReply::html("<title>Through the proxy</title>"));
    const auto url = Url::parse(QStringLiteral("http://%1/page").arg(QString::fromLatin1(kProxyOnlyHost)));
    const auto result = awaitTask(m_fetcher->fetch(PostLink::web(*url)));
    QVERIFY(result && *result);
    QCOMPARE((*result)->text, QStringLiteral("Through the proxy"));
    QCOMPARE((*result)->author.handle.name, QString::fromLatin1(kProxyOnlyHost));
    QCOMPARE(proxy.visitCount(), 1);
}

void TestLivePostFetcher::networkGoneMidFetchKeepsTheEstimates()
{
    const QByteArray media = text(R"({"type":"photo","url":"%1"})").arg(at("/a.jpg").text()).toUtf8();
    HttpReply document = HttpReply::json(statusDocument(media));
    document.delay = 50ms;
    m_server->route("/a/status/1", document);
    auto task = fetchX(QStringLiteral("a"), QStringLiteral("1"));
    QTRY_COMPARE(m_server->requestCount(), 1);
    m_fetcher.reset();
    m_network.reset();   // the request in flight keeps its manager
    const auto result = awaitTask(std::move(task));
    QVERIFY(result && *result);
    QCOMPARE((*result)->attachments.at(0).bytes(), 400000);
    QCOMPARE(m_server->requestCount(), 1);
}

QTEST_GUILESS_MAIN(TestLivePostFetcher)
#include "tst_livepostfetcher.moc"
