// The Network object: its route and managers, requests really going through each route, and the
// connection test run over it.

#include "StashKit/ConnectionCheck.h"
#include "StashKit/Network.h"

#include "AwaitTask.h"
#include "HttpProxy.h"
#include "HttpServer.h"
#include "NetworkTestSupport.h"
#include "Socks5Proxy.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

NetworkRoute httpRoute(quint16 port) { return *NetworkRoute::proxy(NetworkRoute::Kind::http, QStringLiteral("127.0.0.1"), port); }
NetworkRoute socksRoute(quint16 port) { return *NetworkRoute::proxy(NetworkRoute::Kind::socks, QStringLiteral("127.0.0.1"), port); }

// A port on 127.0.0.1 where nothing listens: connections are refused.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

QUrl proxyOnlyUrl(quint16 port, const QString &path)
{
    return QUrl(QStringLiteral("http://%1:%2%3").arg(QString::fromLatin1(kProxyOnlyHost)).arg(port).arg(path));
}

const QByteArray kStatusDocument =
    R"({"code":200,"tweet":{"text":"just setting up my twttr","author":{"name":"jack","screen_name":"jack"},"created_timestamp":1142974214}})";

// Keeps an environment variable set for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

}  // namespace

class TestNetwork : public QObject {
    Q_OBJECT

private slots:
    void init();
    void routeChangesNotifyOnlyWhenTheTextDiffers();
    void transferTimeoutAppliesToEveryManager();
    void sessionsFollowTheRouteAndEndWithTheNetwork();
    void aRequestKeepsItsManagerAfterTheRouteChanges();
    void httpRouteForwardsThroughTheProxy();
    void httpRouteTunnelsThroughTheProxy();
    void socksRouteLeavesNamesToTheProxy();
    void directRouteIgnoresTheEnvironment();
    void systemRouteFollowsTheSystem();
    void proxyFailures_data();
    void proxyFailures();
    void serverThatNeverAnswersTimesOut();
    void checkSucceedsThroughTheRoute();
    void checkThroughAnUnreachableProxyGivesTheError();
    void checkReportsFetchFailures();

private:
    std::unique_ptr<HttpServer> m_server;
    std::unique_ptr<HttpProxy> m_httpProxy;
    std::unique_ptr<Socks5Proxy> m_socksProxy;
};

void TestNetwork::init()
{
    m_server = std::make_unique<HttpServer>();
    m_httpProxy = std::make_unique<HttpProxy>();
    m_socksProxy = std::make_unique<Socks5Proxy>();
    QVERIFY(m_server->listen());
    QVERIFY(m_httpProxy->listen());
    QVERIFY(m_socksProxy->listen());
    m_httpProxy->hosts().add(kProxyOnlyHost, m_server->port());
    m_socksProxy->hosts().add(kProxyOnlyHost, m_server->port());
    m_server->route("/hello", HttpReply::ok("hello"));
}

void TestNetwork::routeChangesNotifyOnlyWhenTheTextDiffers()
{
    Network network(httpRoute(8081));
    QSignalSpy routeSpy(&network, &Network::routeChanged);
    QSignalSpy sessionSpy(&network, &Network::sessionChanged);

    std::weak_ptr<QNetworkAccessManager> first = network.session();
    network.setRoute(httpRoute(8081));
    QCOMPARE(routeSpy.count(), 0);
    QCOMPARE(sessionSpy.count(), 1);
    QVERIFY(network.session() != first.lock());

    network.setRoute(httpRoute(8080));
    QCOMPARE(routeSpy.count(), 1);
    QCOMPARE(sessionSpy.count(), 2);
    QCOMPARE(network.route(), httpRoute(8080));
    QCOMPARE(network.session()->proxy().port(), quint16(8080));

    network.setRoute(NetworkRoute::direct());
    QCOMPARE(routeSpy.count(), 2);
    QCOMPARE(network.session()->proxy().type(), QNetworkProxy::NoProxy);

    // A manager nobody holds any more is let go.
    QTRY_VERIFY(first.expired());
}

void TestNetwork::transferTimeoutAppliesToEveryManager()
{
    Network network(NetworkRoute::direct());
    QCOMPARE(network.session()->transferTimeout(), 30000);
    network.setTransferTimeout(250ms);
    QCOMPARE(network.session()->transferTimeout(), 250);
    network.setRoute(NetworkRoute::system());
    QCOMPARE(network.session()->transferTimeout(), 250);
}

// What is handed to those that must not know Network (the views' picture cache): each call gives
// the manager of the route then in force, and none once the network is gone.
void TestNetwork::sessionsFollowTheRouteAndEndWithTheNetwork()
{
    auto network = std::make_unique<Network>(httpRoute(8081));
    const auto sessions = network->sessions();
    QCOMPARE(sessions(), network->session());
    network->setRoute(httpRoute(8080));
    QCOMPARE(sessions(), network->session());
    QCOMPARE(sessions()->proxy().port(), quint16(8080));
    network.reset();
    QVERIFY(!sessions());
}

void TestNetwork::aRequestKeepsItsManagerAfterTheRouteChanges()
{
    const QByteArray body(64 * 1024, 'x');
    m_server->route("/slow", HttpReply::ok(body).inPieces(8 * 1024, 20ms));
    Network network(NetworkRoute::direct());
    std::weak_ptr<QNetworkAccessManager> first = network.session();

    auto task = fetchThrough(network.session(), m_server->url(QStringLiteral("/slow")));
    // Change the route while the body is still coming.
    QTRY_COMPARE(m_server->requestCount("/slow"), 1);
    network.setRoute(httpRoute(closedPort()));
    QVERIFY(!first.expired());

    const auto fetched = awaitTask(std::move(task));
    QVERIFY(fetched);
    QCOMPARE(fetched->error, QNetworkReply::NoError);
    QCOMPARE(fetched->body, body);
    QTRY_VERIFY(first.expired());
}

void TestNetwork::httpRouteForwardsThroughTheProxy()
{
    Network network(httpRoute(m_httpProxy->port()));
    const auto fetched = awaitTask(fetchThrough(network.session(), proxyOnlyUrl(4321, QStringLiteral("/hello?x=1"))));
    QVERIFY(fetched);
    QCOMPARE(fetched->error, QNetworkReply::NoError);
    QCOMPARE(fetched->body, QByteArray("hello"));
    QCOMPARE(m_httpProxy->visitCount(), 1);
    QCOMPARE(m_httpProxy->visits()[0].method, QByteArray("GET"));
    QCOMPARE(m_httpProxy->visits()[0].host, QByteArray(kProxyOnlyHost));
    QCOMPARE(m_server->requestCount(), 1);
    QCOMPARE(m_server->requests()[0].target, QByteArray("/hello?x=1"));
    QCOMPARE(m_server->requests()[0].header("Host"), QByteArray(kProxyOnlyHost) + ":4321");
}

void TestNetwork::httpRouteTunnelsThroughTheProxy()
{
    // What an https request does through the HTTP route: a CONNECT tunnel to the host.
    QTcpSocket socket;
    socket.setProxy(*httpRoute(m_httpProxy->port()).networkProxy());
    socket.connectToHost(QString::fromLatin1(kProxyOnlyHost), 443);
    // The proxy runs on this thread's event loop: wait without blocking it.
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::ConnectedState, 5000);
    socket.write("GET /hello HTTP/1.1\r\nHost: tunnelled\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    QVERIFY(QTest::qWaitFor([&] {
        answer += socket.readAll();
        return answer.endsWith("hello");
    }, 5000));
    QVERIFY(answer.startsWith("HTTP/1.1 200"));
    QCOMPARE(m_httpProxy->visits().value(0).method, QByteArray("CONNECT"));
    QCOMPARE(m_httpProxy->visits().value(0).port, quint16(443));
    QCOMPARE(m_server->requests().value(0).header("Host"), QByteArray("tunnelled"));
}

void TestNetwork::socksRouteLeavesNamesToTheProxy()
{
    Network network(socksRoute(m_socksProxy->port()));
    const auto fetched = awaitTask(fetchThrough(network.session(), proxyOnlyUrl(80, QStringLiteral("/hello"))));
    QVERIFY(fetched);
    QCOMPARE(fetched->error, QNetworkReply::NoError);
    QCOMPARE(fetched->body, QByteArray("hello"));
    QCOMPARE(m_socksProxy->visitCount(), 1);
    QVERIFY(m_socksProxy->visits()[0].byName);
    QCOMPARE(m_socksProxy->visits()[0].host, QByteArray(kProxyOnlyHost));
    QCOMPARE(m_socksProxy->visits()[0].port, quint16(80));
}

void TestNetwork::directRouteIgnoresTheEnvironment()
{
    const QByteArray proxy = "http://127.0.0.1:" + QByteArray::number(m_httpProxy->port());
    ScopedEnv http("http_proxy", proxy);
    ScopedEnv all("all_proxy", proxy);
    ScopedEnv noProxy("no_proxy", "");
    QNetworkProxy::setApplicationProxy(m_httpProxy->networkProxy());

    Network network(NetworkRoute::direct());
    const auto fetched = awaitTask(fetchThrough(network.session(), m_server->url(QStringLiteral("/hello"))));
    const auto unknown = awaitTask(fetchThrough(network.session(), proxyOnlyUrl(80, QStringLiteral("/hello"))));
    QNetworkProxy::setApplicationProxy(QNetworkProxy::DefaultProxy);

    QVERIFY(fetched && unknown);
    QCOMPARE(fetched->error, QNetworkReply::NoError);
    QCOMPARE(fetched->body, QByteArray("hello"));
    QCOMPARE(unknown->error, QNetworkReply::HostNotFoundError);
    QCOMPARE(m_httpProxy->connectionCount(), 0);
}

void TestNetwork::systemRouteFollowsTheSystem()
{
    const QNetworkProxyQuery query(proxyOnlyUrl(80, QStringLiteral("/hello")));
    {
        ScopedEnv http("http_proxy", "http://127.0.0.1:" + QByteArray::number(m_httpProxy->port()));
        const QList<QNetworkProxy> system = QNetworkProxyFactory::systemProxyForQuery(query);
        if (system.isEmpty() || system.first().type() != QNetworkProxy::HttpProxy)
            QSKIP("The system proxy settings here do not follow http_proxy");
        Network network(NetworkRoute::system());
        const auto fetched = awaitTask(fetchThrough(network.session(), query.url()));
        QVERIFY(fetched);
        QCOMPARE(fetched->error, QNetworkReply::NoError);
        QCOMPARE(fetched->body, QByteArray("hello"));
        QCOMPARE(m_httpProxy->visitCount(), 1);
    }
    // Asked for each request: without the setting, the same manager goes direct.
}

void TestNetwork::proxyFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("silent");
    QTest::newRow("http proxy refuses") << "http" << false;
    QTest::newRow("socks proxy refuses") << "socks" << false;
    QTest::newRow("http proxy never answers") << "http" << true;
    QTest::newRow("socks proxy never answers") << "socks" << true;
}

void TestNetwork::proxyFailures()
{
    QFETCH(QString, kind);
    QFETCH(bool, silent);
    m_httpProxy->setSilent(true);
    m_socksProxy->setSilent(true);
    const quint16 port = !silent ? closedPort() : kind == u"http" ? m_httpProxy->port() : m_socksProxy->port();
    Network network(kind == u"http" ? httpRoute(port) : socksRoute(port));
    network.setTransferTimeout(300ms);
    const auto fetched = awaitTask(fetchThrough(network.session(), proxyOnlyUrl(80, QStringLiteral("/hello"))), 5s);
    QVERIFY2(fetched, "the request did not end within the time-out");
    QVERIFY(fetched->error != QNetworkReply::NoError);
    QCOMPARE(m_server->requestCount(), 0);
}

void TestNetwork::serverThatNeverAnswersTimesOut()
{
    m_server->route("/never", HttpReply::never());
    Network network(NetworkRoute::direct());
    network.setTransferTimeout(300ms);
    const auto fetched = awaitTask(fetchThrough(network.session(), m_server->url(QStringLiteral("/never"))), 5s);
    QVERIFY(fetched);
    QVERIFY(fetched->error != QNetworkReply::NoError);
    QCOMPARE(m_server->requestCount("/never"), 1);
}

void TestNetwork::checkSucceedsThroughTheRoute()
{
    m_server->route("/jack/status/20", HttpReply::json(kStatusDocument));
    Network network(httpRoute(m_httpProxy->port()));
    const auto base = Url::parse(QStringLiteral("http://%1:1/").arg(QString::fromLatin1(kProxyOnlyHost)));
    const auto result = awaitTask(ConnectionCheck::check(network, *base));
    QVERIFY(result);
    QVERIFY(result->has_value());
    QCOMPARE(m_httpProxy->visitCount(), 1);
    QCOMPARE(m_server->requests().value(0).path(), QByteArray("/jack/status/20"));
}

void TestNetwork::checkThroughAnUnreachableProxyGivesTheError()
{
    Network network(httpRoute(closedPort()));
    network.setTransferTimeout(300ms);
    const auto result = awaitTask(ConnectionCheck::check(network, Url::fromQUrl(m_server->url())), 5s);
    QVERIFY(result);
    QVERIFY(!result->has_value());
    const TransportError *error = result->error().transport();
    QVERIFY(error);
    QVERIFY(error->code == QNetworkReply::ProxyConnectionRefusedError || error->code == QNetworkReply::ConnectionRefusedError);
    QVERIFY(!result->error().description().isEmpty());
    QCOMPARE(m_server->requestCount(), 0);
}

void TestNetwork::checkReportsFetchFailures()
{
    m_server->route("/jack/status/20", HttpReply::json(R"({"code":404,"message":"NOT_FOUND"})"));
    Network network(NetworkRoute::direct());
    const auto result = awaitTask(ConnectionCheck::check(network, Url::fromQUrl(m_server->url())));
    QVERIFY(result && !result->has_value());
    QCOMPARE(result->error(), FetchError(FetchFailure::notFound));
}

QTEST_GUILESS_MAIN(TestNetwork)
#include "tst_network.moc"
