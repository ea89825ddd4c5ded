// The network settings form without widgets: the port field's reading, the form filled from each
// route, the route it names (and the rule that a proxy is offered only when its stored text reads
// back as the same route), Apply, the connection test against a loopback server shaped like the
// API, and pasted terminal lines.

#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"

#include "AwaitTask.h"
#include "HttpServer.h"
#include "StashKit/ConnectionCheck.h"
#include "StashKit/Network.h"
#include "Stashwell/App/StartupPreferences.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <memory>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using namespace std::chrono_literals;
using Mode = NetworkSettingsPage::Mode;

Q_DECLARE_METATYPE(sw::NetworkRoute)
Q_DECLARE_METATYPE(std::optional<sw::NetworkRoute>)
Q_DECLARE_METATYPE(sw::app::NetworkSettingsPage::Mode)

namespace {

const QString kPlaceholder =
    QStringLiteral("export https_proxy=http://127.0.0.1:1087; export ALL_PROXY=socks5://127.0.0.1:1080");

NetworkRoute http(const char *host, int port) { return NetworkRoute(NetworkRoute::Http{QString::fromUtf8(host), port}); }
NetworkRoute socks(const char *host, int port) { return NetworkRoute(NetworkRoute::Socks{QString::fromUtf8(host), port}); }

QByteArray statusDocument()
{
    return R"({"code":200,"tweet":{"text":"just setting up","created_timestamp":1142974214,)"
           R"("author":{"name":"jack","screen_name":"jack"}}})";
}

bool isUnreachable(const ConnectionState &state)
{
    const auto *failed = std::get_if<ConnectionState::Unreachable>(&state.value());
    return failed && !failed->message.isEmpty();
}

}  // namespace

class NetworkSettingsPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<Network> m_network;
    std::unique_ptr<HttpServer> m_server;

    std::unique_ptr<NetworkSettingsPage> makePage()
    {
        const Url apiBase = *Url::parse(m_server->url(QString()).toString());
        return std::make_unique<NetworkSettingsPage>(*m_network, *m_preferences, apiBase);
    }
    QVariant stored() const { return m_preferences->value(Preferences::networkRoute); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        StashwellStrings::table().loadLanguage(QStringLiteral("en"));
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_network = std::make_unique<Network>(NetworkRoute::system());
        m_network->setTransferTimeout(10s);
        m_server = std::make_unique<HttpServer>();
        QVERIFY(m_server->listen());
        m_server->route("/jack/status/20", HttpReply::json(statusDocument()));
    }

    void cleanup()
    {
        m_server.reset();
        m_network.reset();
        m_preferences.reset();
        m_dir.reset();
    }

    // ---- the port field ------------------------------------------------------------------------

    void portNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("number");
        QTest::newRow("0") << "0" << qint64(0);
        QTest::newRow("65536") << "65536" << qint64(65536);
        QTest::newRow("80a") << "80a" << qint64(0);
        QTest::newRow("space before 80") << " 80" << qint64(0);
        QTest::newRow("space after 80") << "80 " << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("+8080") << "+8080" << qint64(8080);
        QTest::newRow("-80") << "-80" << qint64(-80);
        QTest::newRow("sign alone") << "+" << qint64(0);
        QTest::newRow("leading zeros") << "0080" << qint64(80);
        QTest::newRow("2^63 - 1") << "9223372036854775807" << std::numeric_limits<qint64>::max();
        QTest::newRow("2^63") << "9223372036854775808" << qint64(0);
        QTest::newRow("-2^63") << "-9223372036854775808" << std::numeric_limits<qint64>::min();
        QTest::newRow("-2^63 - 1") << "-9223372036854775809" << qint64(0);
        QTest::newRow("far beyond") << "184467440737095516160" << qint64(0);
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0668\u0660") << qint64(0);
        QTest::newRow("full-width digits") << QStringLiteral("\uFF18\uFF10") << qint64(0);
    }

    void portNumber()
    {
        QFETCH(QString, text);
        QFETCH(qint64, number);
        QCOMPARE(NetworkSettingsPage::portNumber(text), number);
    }

    // Apply is offered exactly for ports 1...65535 read that way.
    void portOffersApply_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("applied");   // 0: Apply is not offered
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("65535") << "65535" << 65535;
        QTest::newRow("65536") << "65536" << 0;
        QTest::newRow("80a") << "80a" << 0;
        QTest::newRow("space before 80") << " 80" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("+8080") << "+8080" << 8080;
        QTest::newRow("-8080") << "-8080" << 0;
        QTest::newRow("2^63") << "9223372036854775808" << 0;
        // 2^32 + 80 must not wrap round to 80.
        QTest::newRow("2^32 + 80") << "4294967376" << 0;
    }

    void portOffersApply()
    {
        QFETCH(QString, port);
        QFETCH(int, applied);
        auto page = makePage();
        page->setMode(Mode::socks);
        page->setPort(port);
        QCOMPARE(page->canApply(), applied != 0);
        page->apply();
        if (applied) {
            QCOMPARE(m_network->route(), socks("127.0.0.1", applied));
            QCOMPARE(stored(), QVariant(QStringLiteral("socks://127.0.0.1:%1").arg(applied)));
        } else {
            QVERIFY(m_network->route().isSystem());
            QVERIFY(!m_preferences->contains(Preferences::networkRoute));
        }
        // A bad port is no problem to explain.
        QVERIFY(!page->problem());
    }

    // ---- the form filled from a route ----------------------------------------------------------------

    void show_data()
    {
        QTest::addColumn<NetworkRoute>("route");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::newRow("http") << http("127.0.0.1", 1087) << Mode::http << "127.0.0.1" << "1087";
        QTest::newRow("socks") << socks("proxy.example", 1080) << Mode::socks << "proxy.example" << "1080";
        QTest::newRow("socks to a bracketed address") << socks("[::1]", 9050) << Mode::socks << "[::1]" << "9050";
        // Only the mode: the proxy's fields keep what they hold.
        QTest::newRow("system") << NetworkRoute::system() << Mode::system << "10.0.0.9" << "3128";
        QTest::newRow("direct") << NetworkRoute::direct() << Mode::direct << "10.0.0.9" << "3128";
    }

    void show()
    {
        QFETCH(NetworkRoute, route);
        QFETCH(Mode, mode);
        QFETCH(QString, host);
        QFETCH(QString, port);
        auto page = makePage();
        page->setMode(Mode::http);
        page->setHost(QStringLiteral("10.0.0.9"));
        page->setPort(QStringLiteral("3128"));
        page->show(route);
        QCOMPARE(page->mode(), mode);
        QCOMPARE(page->host(), host);
        QCOMPARE(page->port(), port);
        // Showing changes nothing outside the page.
        QVERIFY(m_network->route().isSystem());
        QVERIFY(!m_preferences->contains(Preferences::networkRoute));
        // The form names the route it shows.
        QCOMPARE(page->chosenRoute(), std::optional<NetworkRoute>(route));
    }

    // Opening the page fills the form from the route in force.
    void opensOnRouteInForce_data()
    {
        QTest::addColumn<NetworkRoute>("route");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::newRow("first run: system") << NetworkRoute::system() << Mode::system << "127.0.0.1" << "";
        QTest::newRow("direct") << NetworkRoute::direct() << Mode::direct << "127.0.0.1" << "";
        QTest::newRow("http 1087") << http("127.0.0.1", 1087) << Mode::http << "127.0.0.1" << "1087";
    }

    void opensOnRouteInForce()
    {
        QFETCH(NetworkRoute, route);
        QFETCH(Mode, mode);
        QFETCH(QString, host);
        QFETCH(QString, port);
        m_network->setRoute(route);
        auto page = makePage();
        QCOMPARE(page->mode(), mode);
        QCOMPARE(page->host(), host);
        QCOMPARE(page->port(), port);
        QCOMPARE(page->status(), ConnectionState::unknown());
        QCOMPARE(page->shell(), QString());
        QVERIFY(!page->canUsePasted());
    }

    // ---- the route must read back as itself ------------------------------------------------------------

    void roundTrip_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("explained");
        QTest::newRow("address") << Mode::http << "127.0.0.1" << "8080" << true << false;
        QTest::newRow("name with capitals") << Mode::socks << "Proxy.Example" << "1080" << true << false;
        QTest::newRow("bracketed IPv6") << Mode::socks << "[::1]" << "1080" << true << false;
        QTest::newRow("spaces around") << Mode::http << "  proxy.lan  " << "3128" << true << false;
        QTest::newRow("space inside") << Mode::http << "my proxy" << "8080" << false << true;
        QTest::newRow("slash") << Mode::http << "a/b" << "8080" << false << true;
        QTest::newRow("bare IPv6") << Mode::socks << "::1" << "1080" << false << true;
        QTest::newRow("user and host") << Mode::http << "user@proxy.lan" << "8080" << false << true;
        QTest::newRow("fragment") << Mode::http << "proxy#lan" << "8080" << false << true;
        QTest::newRow("query") << Mode::socks << "proxy?lan" << "1080" << false << true;
        QTest::newRow("colon") << Mode::http << "proxy:1" << "8080" << false << true;
        QTest::newRow("non-ASCII name") << Mode::http << "bücher.example" << "8080" << false << true;
        QTest::newRow("unclosed bracket") << Mode::socks << "[::1" << "1080" << false << true;
        // An incomplete form explains nothing.
        QTest::newRow("empty host") << Mode::http << "   " << "8080" << false << false;
        QTest::newRow("unstorable host, no port") << Mode::http << "my proxy" << "" << false << false;
        // Only the proxy modes have a host.
        QTest::newRow("direct with a bad host") << Mode::direct << "my proxy" << "8080" << true << false;
    }

    void roundTrip()
    {
        QFETCH(Mode, mode);
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(bool, offered);
        QFETCH(bool, explained);
        auto page = makePage();
        page->setMode(mode);
        page->setHost(host);
        page->setPort(port);
        QCOMPARE(page->canApply(), offered);
        QCOMPARE(page->problem().has_value(), explained);
        if (explained)
            QCOMPARE(*page->problem(), StashwellStrings::networkHostNotStorable());

        page->apply();
        if (offered) {
            // What the next start reads is the route in force now.
            QCOMPARE(StartupPreferences::routeFrom(stored()), m_network->route());
            QCOMPARE(std::optional<NetworkRoute>(m_network->route()), page->chosenRoute());
        } else {
            QVERIFY(m_network->route().isSystem());
            QVERIFY(!m_preferences->contains(Preferences::networkRoute));
        }
    }

    // Every route that pasted lines can give is offered.
    void pastedRoutesAreStorable_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("percent escapes") << "export https_proxy=http://my%20proxy:8080";
        QTest::newRow("space in the name") << "export https_proxy=http://my proxy:8080";
        QTest::newRow("bracketed IPv6") << "export ALL_PROXY=socks5://[::1]:1080";
        QTest::newRow("user and password") << "export http_proxy=http://u:p@proxy.lan:3128";
        QTest::newRow("non-ASCII name") << "export https_proxy=http://bücher.example:8080";
    }

    void pastedRoutesAreStorable()
    {
        QFETCH(QString, pasted);
        const QList<NetworkRoute> routes = NetworkRoute::routesFromPasted(pasted);
        QCOMPARE(routes.size(), 1);
        auto page = makePage();
        page->show(routes.first());
        QVERIFY(page->canApply());
        QVERIFY(!page->problem());
    }

    // ---- Apply ---------------------------------------------------------------------------------------

    void applyStoresAndResetsStatus()
    {
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        QVERIFY(awaitTask(page->test()));
        QCOMPARE(page->status(), ConnectionState::reachable());

        page->setMode(Mode::socks);
        page->setHost(QStringLiteral("127.0.0.1"));
        page->setPort(QStringLiteral("1080"));
        // The form alone changes nothing outside the page.
        QCOMPARE(m_network->route(), NetworkRoute::direct());
        QCOMPARE(stored(), QVariant(QStringLiteral("direct")));

        QSignalSpy routes(m_network.get(), &Network::routeChanged);
        page->apply();
        QCOMPARE(m_network->route(), socks("127.0.0.1", 1080));
        QCOMPARE(routes.count(), 1);
        QCOMPARE(stored(), QVariant(QStringLiteral("socks://127.0.0.1:1080")));
        QCOMPARE(page->status(), ConnectionState::unknown());
    }

    // ---- the connection test ---------------------------------------------------------------------------

    void testReportsReachable()
    {
        auto page = makePage();
        page->setMode(Mode::direct);
        QList<ConnectionState> seen;
        connect(page.get(), &NetworkSettingsPage::statusChanged, this, [&] { seen.append(page->status()); });
        QVERIFY(awaitTask(page->test()));
        QCOMPARE(seen, (QList<ConnectionState>{ConnectionState::checking(), ConnectionState::reachable()}));
        // Applied before the check.
        QCOMPARE(m_network->route(), NetworkRoute::direct());
        QCOMPARE(stored(), QVariant(QStringLiteral("direct")));
        QCOMPARE(m_server->requestCount("/jack/status/20"), 1);
    }

    void testReportsUnreachable_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("not found") << 404;
        QTest::newRow("server error") << 500;
    }

    void testReportsUnreachable()
    {
        QFETCH(int, status);
        m_server->route("/jack/status/20", HttpReply::withStatus(status));
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        QVERIFY(awaitTask(page->test()));
        QVERIFY2(isUnreachable(page->status()), "no failure with a message");
    }

    // An invalid form applies nothing; the test checks the route in force.
    void testWithInvalidFormUsesRouteInForce()
    {
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        page->setMode(Mode::http);
        page->setHost(QStringLiteral("my proxy"));
        page->setPort(QStringLiteral("8080"));
        QVERIFY(awaitTask(page->test()));
        QCOMPARE(page->status(), ConnectionState::reachable());
        QCOMPARE(m_network->route(), NetworkRoute::direct());
        QVERIFY(!m_preferences->contains(Preferences::networkRoute));
    }

    // The tab is left while a test runs: its result has nowhere to go, and nothing breaks.
    void testOutlivesPage()
    {
        m_server->route("/jack/status/20", HttpReply::json(statusDocument()).inPieces(8, 20ms));
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        page->startTest();
        QCOMPARE(page->status(), ConnectionState::checking());
        page.reset();
        QVERIFY(QTest::qWaitFor([&] { return m_server->requestCount() == 1 && m_server->inFlight() == 0; }, 10000));
        QTest::qWait(50);
    }

    // ---- pasted lines -----------------------------------------------------------------------------------

    void pasted_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<std::optional<NetworkRoute>>("route");
        QTest::newRow("both lines: the HTTPS setting wins") << kPlaceholder
                                                           << std::optional<NetworkRoute>(http("127.0.0.1", 1087));
        QTest::newRow("all-protocols SOCKS only") << "export ALL_PROXY=socks5://127.0.0.1:1080"
                                                  << std::optional<NetworkRoute>(socks("127.0.0.1", 1080));
        QTest::newRow("all-protocols over HTTP") << "export ALL_PROXY=http://127.0.0.1:1080"
                                                 << std::optional<NetworkRoute>();
        QTest::newRow("upper-case names, HTTP setting")
            << "HTTP_PROXY=http://127.0.0.1:8080\nall_proxy=socks5h://127.0.0.1:1081"
            << std::optional<NetworkRoute>(http("127.0.0.1", 8080));
        QTest::newRow("no proxy setting") << "export PATH=/usr/bin" << std::optional<NetworkRoute>();
        QTest::newRow("empty") << "" << std::optional<NetworkRoute>();
    }

    void pasted()
    {
        QFETCH(QString, pasted);
        QFETCH(std::optional<NetworkRoute>, route);
        // The routes named point at nothing: their tests fail, quickly.
        m_network->setRoute(NetworkRoute::direct());
        auto page = makePage();
        page->setMode(Mode::direct);
        page->setShell(pasted);
        QCOMPARE(page->canUsePasted(), route.has_value());
        page->usePasted();
        if (!route) {
            QCOMPARE(page->mode(), Mode::direct);
            QCOMPARE(page->status(), ConnectionState::unknown());
            QCOMPARE(m_network->route(), NetworkRoute::direct());
            QVERIFY(!m_preferences->contains(Preferences::networkRoute));
            return;
        }
        // Filled, applied, stored and under test at once.
        QCOMPARE(page->chosenRoute(), route);
        QCOMPARE(m_network->route(), *route);
        QCOMPARE(stored(), QVariant(route->rawValue()));
        QCOMPARE(page->status(), ConnectionState::checking());
        QVERIFY(QTest::qWaitFor([&] { return !page->status().isChecking(); }, 30000));
    }
};

QTEST_GUILESS_MAIN(NetworkSettingsPageTest)
#include "tst_networksettingspage.moc"
