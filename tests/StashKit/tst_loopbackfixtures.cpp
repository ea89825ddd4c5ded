// The loopback fixtures themselves: later network tests rely on each scripted behaviour.

#include "AwaitTask.h"
#include "HttpProxy.h"
#include "HttpServer.h"
#include "NetworkTestSupport.h"
#include "Socks5Proxy.h"

#include <QNetworkAccessManager>
#include <QtTest>

using namespace sw::test;
using namespace std::chrono_literals;

namespace {

std::shared_ptr<QNetworkAccessManager> manager(const QNetworkProxy &proxy = QNetworkProxy(QNetworkProxy::NoProxy))
{
    auto m = std::make_shared<QNetworkAccessManager>();
    m->setProxy(proxy);
    m->setTransferTimeout(2000);
    return m;
}

}  // namespace

class TestLoopbackFixtures : public QObject {
    Q_OBJECT

private slots:
    void init();
    void repliesAsScripted_data();
    void repliesAsScripted();
    void recordsRequests();
    void keepsConnectionsAlive();
    void proxiesRefuseUnknownHosts_data();
    void proxiesRefuseUnknownHosts();
    void proxiesReachLoopbackAddresses();

private:
    std::unique_ptr<HttpServer> m_server;
};

void TestLoopbackFixtures::init()
{
    m_server = std::make_unique<HttpServer>();
    QVERIFY(m_server->listen());
}

void TestLoopbackFixtures::repliesAsScripted_data()
{
    QTest::addColumn<HttpReply>("reply");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("fails");   // 0 no, 1 yes, 2 either

    const QByteArray body(10000, 'b');
    QTest::newRow("whole") << HttpReply::ok(body) << 200 << body << 0;
    QTest::newRow("pieces with pauses") << HttpReply::ok(body).inPieces(1000, 10ms) << 200 << body << 0;
    QTest::newRow("chunked") << HttpReply::ok(body).framed(HttpReply::Framing::chunked).inPieces(3000, 5ms) << 200 << body
                             << 0;
    QTest::newRow("until close") << HttpReply::ok(body).framed(HttpReply::Framing::untilClose) << 200 << body << 0;
    QTest::newRow("status and body") << HttpReply::withStatus(503, "busy") << 503 << QByteArray("busy") << 1;
    QTest::newRow("dropped mid-body") << HttpReply::ok(body).droppedAfter(4000) << 200 << body.left(4000) << 1;
    // Qt does not always report a chunked body cut before its last chunk as an error: a client
    // must check the size it got. The server's part is to send the bytes and close.
    QTest::newRow("chunked, dropped") << HttpReply::ok(body).framed(HttpReply::Framing::chunked).droppedAfter(10) << 200
                                      << body.left(10) << 2;
    QTest::newRow("hung up") << HttpReply::hungUp() << 0 << QByteArray() << 1;
}

void TestLoopbackFixtures::repliesAsScripted()
{
    QFETCH(HttpReply, reply);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(int, fails);
    m_server->route("/x", reply);
    const auto fetched = awaitTask(fetchThrough(manager(), m_server->url(QStringLiteral("/x"))));
    QVERIFY(fetched);
    QCOMPARE(fetched->status, status);
    if (fails != 2)
        QCOMPARE(fetched->error != QNetworkReply::NoError, fails == 1);
    if (fetched->error == QNetworkReply::NoError || status >= 400 || fails == 2)
        QCOMPARE(fetched->body, body);
    // The client may see the end before the server's side of the same event loop has run.
    QTRY_COMPARE(m_server->inFlight(), 0);
}

void TestLoopbackFixtures::recordsRequests()
{
    m_server->route("POST", "/post", HttpReply::ok("posted"));
    auto m = manager();
    QNetworkRequest request(m_server->url(QStringLiteral("/post?q=1")));
    request.setRawHeader("X-Probe", "yes");
    request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
    QNetworkReply *reply = m->post(request, QByteArray("payload"));
    QTRY_VERIFY(reply->isFinished());
    QCOMPARE(reply->readAll(), QByteArray("posted"));
    reply->deleteLater();

    const auto missing = awaitTask(fetchThrough(m, m_server->url(QStringLiteral("/post"))));   // GET: no route
    QVERIFY(missing);
    QCOMPARE(missing->status, 404);

    QCOMPARE(m_server->requestCount(), 2);
    QCOMPARE(m_server->requestCount("/post"), 2);
    const HttpRequest &first = m_server->requests()[0];
    QCOMPARE(first.method, QByteArray("POST"));
    QCOMPARE(first.path(), QByteArray("/post"));
    QCOMPARE(first.query(), QByteArray("q=1"));
    QCOMPARE(first.header("x-probe"), QByteArray("yes"));
    QCOMPARE(first.body, QByteArray("payload"));
    QVERIFY(!first.header("X-Absent"));
}

void TestLoopbackFixtures::keepsConnectionsAlive()
{
    m_server->route("/a", HttpReply::ok("a"));
    auto m = manager();
    for (int i = 0; i < 3; ++i) {
        const auto fetched = awaitTask(fetchThrough(m, m_server->url(QStringLiteral("/a"))));
        QVERIFY(fetched && fetched->body == "a");
    }
    QCOMPARE(m_server->connectionCount(), 1);
    QCOMPARE(m_server->mostInFlight(), 1);
}

void TestLoopbackFixtures::proxiesRefuseUnknownHosts_data()
{
    QTest::addColumn<bool>("socks");
    QTest::newRow("http proxy") << false;
    QTest::newRow("socks proxy") << true;
}

void TestLoopbackFixtures::proxiesRefuseUnknownHosts()
{
    QFETCH(bool, socks);
    HttpProxy httpProxy;
    Socks5Proxy socksProxy;
    QVERIFY(httpProxy.listen() && socksProxy.listen());
    const QNetworkProxy proxy = socks ? socksProxy.networkProxy() : httpProxy.networkProxy();
    // A name nobody mapped is never looked up outside: the proxy refuses it.
    const auto fetched = awaitTask(fetchThrough(manager(proxy), QUrl(QStringLiteral("http://example.com/"))));
    QVERIFY(fetched);
    QVERIFY(fetched->error != QNetworkReply::NoError);
    if (!socks)
        QCOMPARE(fetched->status, 502);
    QCOMPARE(socks ? socksProxy.visitCount() : httpProxy.visitCount(), 1);
}

void TestLoopbackFixtures::proxiesReachLoopbackAddresses()
{
    m_server->route("/a", HttpReply::ok("a"));
    HttpProxy httpProxy;
    Socks5Proxy socksProxy;
    QVERIFY(httpProxy.listen() && socksProxy.listen());
    for (const QNetworkProxy &proxy : {httpProxy.networkProxy(), socksProxy.networkProxy()}) {
        const auto fetched = awaitTask(fetchThrough(manager(proxy), m_server->url(QStringLiteral("/a"))));
        QVERIFY(fetched);
        QCOMPARE(fetched->body, QByteArray("a"));
    }
    QCOMPARE(httpProxy.visitCount(), 1);
    QCOMPARE(socksProxy.visitCount(), 1);
    QCOMPARE(m_server->requestCount(), 2);
}

QTEST_GUILESS_MAIN(TestLoopbackFixtures)
#include "tst_loopbackfixtures.moc"
