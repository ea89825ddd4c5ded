// The network settings form without widgets: the port field, the form filled from each route, the
// rule that a proxy is offered only when its stored text reads back as the same route, Apply, the
// connection test against a loopback server shaped like the API, and pasted terminal lines.

#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"

#include "AwaitTask.h"
#include "HttpServer.h"
#include "StashKit/Network.h"
#include "Stashwell/Preferences/StartupPreferences.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"

#include <QTemporaryDir>
#include <QtTest>

#include <limits>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using namespace std::chrono_literals;
using Mode = NetworkSettingsPage::Mode;
using Route = std::optional<NetworkRoute>;

Q_DECLARE_METATYPE(sw::NetworkRoute)
Q_DECLARE_METATYPE(std::optional<sw::NetworkRoute>)
Q_DECLARE_METATYPE(sw::app::NetworkSettingsPage::Mode)

namespace {

NetworkRoute http(const char *host, int port) { return NetworkRoute(NetworkRoute::Http{QString::fromUtf8(host), port}); }
NetworkRoute socks(const char *host, int port) { return NetworkRoute(NetworkRoute::Socks{QString::fromUtf8(host), port}); }

}  // namespace

class NetworkSettingsPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<Network> m_network;
    std::unique_ptr<HttpServer> m_server;

    std::unique_ptr<NetworkSettingsPage> makePage(Mode mode = Mode::system, const QString &host = {}, const QString &port = {})
    {
        auto page = std::make_unique<NetworkSettingsPage>(*m_network, *m_preferences,
                                                          *Url::parse(m_server->url(QString()).toString()));
        page->setMode(mode);
        if (!host.isNull())
            page->setHost(host);
        page->setPort(port);
        return page;
    }
    QVariant stored() const { return m_preferences->value(Preferences::networkRoute); }

private slots:
    void initTestCase() { StashwellStrings::table().loadLanguage(QStringLiteral("en")); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        m_network = std::make_unique<Network>(NetworkRoute::direct());
        m_network->setTransferTimeout(10s);
        m_server = std::make_unique<HttpServer>();
        QVERIFY(m_server->listen());
        m_server->route("/jack/status/20", HttpReply::json(R"({"code":200,"tweet":{"text":"just setting up",)"
                                                           R"("author":{"name":"jack","screen_name":"jack"}}})"));
    }

    // The port as the field reads it, and whether the form then offers Apply.
    void portTable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("number");
        QTest::newRow("0") << "0" << qint64(0);
        QTest::newRow("1") << "1" << qint64(1);
        QTest::newRow("65535") << "65535" << qint64(65535);
        QTest::newRow("65536") << "65536" << qint64(65536);
        QTest::newRow("80a") << "80a" << qint64(0);
        QTest::newRow("space before 80") << " 80" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("+8080") << "+8080" << qint64(8080);
        QTest::newRow("-8080") << "-8080" << qint64(-8080);
        QTest::newRow("2^32 + 80 does not wrap") << "4294967376" << qint64(4294967376);
        QTest::newRow("2^63 - 1") << "9223372036854775807" << std::numeric_limits<qint64>::max();
        QTest::newRow("2^63") << "9223372036854775808" << qint64(0);
        QTest::newRow("-2^63") << "-9223372036854775808" << std::numeric_limits<qint64>::min();
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0668\u0660") << qint64(0);
    }

    void portTable()
    {
        QFETCH(QString, text);
        QFETCH(qint64, number);
        QCOMPARE(NetworkSettingsPage::portNumber(text), number);
        auto page = makePage(Mode::socks, QStringLiteral("127.0.0.1"), text);
        const bool offered = number >= 1 && number <= 65535;
        QCOMPARE(page->canApply(), offered);
        QVERIFY(!page->problem());   // a bad port explains nothing
        page->apply();
        QCOMPARE(m_network->route(), offered ? socks("127.0.0.1", int(number)) : NetworkRoute::direct());
        QCOMPARE(stored(), offered ? QVariant(QStringLiteral("socks://127.0.0.1:%1").arg(number)) : QVariant());
    }

    void show_data()
    {
        QTest::addColumn<NetworkRoute>("route");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::newRow("http") << http("127.0.0.1", 1087) << Mode::http << "127.0.0.1" << "1087";
        QTest::newRow("socks") << socks("[::1]", 1080) << Mode::socks << "[::1]" << "1080";
        // Only the mode: the fields keep what they hold.
        QTest::newRow("system") << NetworkRoute::system() << Mode::system << "10.0.0.9" << "3128";
        QTest::newRow("direct") << NetworkRoute::direct() << Mode::direct << "10.0.0.9" << "3128";
    }

    void show()
    {
        QFETCH(NetworkRoute, route);
        QFETCH(Mode, mode);
        QFETCH(QString, host);
        QFETCH(QString, port);
        m_network->setRoute(NetworkRoute::system());
        auto page = makePage(Mode::http, QStringLiteral("10.0.0.9"), QStringLiteral("3128"));
        page->show(route);
        QCOMPARE(page->mode(), mode);
        QCOMPARE(page->host(), host);
        QCOMPARE(page->port(), port);
        QCOMPARE(page->chosenRoute(), Route(route));
        QVERIFY(m_network->route().isSystem());   // showing applies nothing
        // A page opened on the route shows it, with the defaults for system and direct.
        m_network->setRoute(route);
        auto fresh = std::make_unique<NetworkSettingsPage>(*m_network, *m_preferences);
        QCOMPARE(fresh->mode(), mode);
        QCOMPARE(fresh->host(), NetworkSettingsPage::isProxy(mode) ? host : QStringLiteral("127.0.0.1"));
        QCOMPARE(fresh->port(), NetworkSettingsPage::isProxy(mode) ? port : QString());
        QCOMPARE(fresh->status(), ConnectionState::unknown());
    }

    // Offered exactly when the stored text reads back at start as the same route.
    void roundTrip_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("explained");
        QTest::newRow("address") << Mode::http << "127.0.0.1" << true << false;
        QTest::newRow("name with capitals") << Mode::socks << "Proxy.Example" << true << false;
        QTest::newRow("bracketed IPv6") << Mode::socks << "[::1]" << true << false;
        QTest::newRow("spaces around") << Mode::http << "  proxy.lan  " << true << false;
        QTest::newRow("space inside") << Mode::http << "my proxy" << false << true;
        QTest::newRow("slash") << Mode::http << "a/b" << false << true;
        QTest::newRow("bare IPv6") << Mode::socks << "::1" << false << true;
        QTest::newRow("user and host") << Mode::http << "user@proxy.lan" << false << true;
        QTest::newRow("non-ASCII name") << Mode::http << "bücher.example" << false << true;
        QTest::newRow("empty host: no message") << Mode::http << "   " << false << false;
        QTest::newRow("direct has no host") << Mode::direct << "my proxy" << true << false;
    }

    void roundTrip()
    {
        QFETCH(Mode, mode);
        QFETCH(QString, host);
        QFETCH(bool, offered);
        QFETCH(bool, explained);
        m_network->setRoute(NetworkRoute::system());
        auto page = makePage(mode, host, QStringLiteral("8080"));
        QCOMPARE(page->canApply(), offered);
        QCOMPARE(page->problem(), explained ? std::optional(StashwellStrings::networkHostNotStorable()) : std::nullopt);
        page->apply();
        if (offered)
            QCOMPARE(StartupPreferences::routeFrom(stored()), m_network->route());
        else
            QVERIFY(m_network->route().isSystem() && !stored().isValid());
    }

    void applyStoresAndResetsStatus()
    {
        auto page = makePage(Mode::direct);
        QVERIFY(awaitTask(page->test()));
        QCOMPARE(page->status(), ConnectionState::reachable());
        page->setMode(Mode::socks);
        page->setPort(QStringLiteral("1080"));
        QCOMPARE(stored(), QVariant(QStringLiteral("direct")));   // the form alone changes nothing
        page->apply();
        QCOMPARE(m_network->route(), socks("127.0.0.1", 1080));
        QCOMPARE(stored(), QVariant(QStringLiteral("socks://127.0.0.1:1080")));
        QCOMPARE(page->status(), ConnectionState::unknown());
    }

    // Test applies the form when it names a route, else checks the route in force.
    void connectionTest_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("reachable") << 200 << "127.0.0.1" << true;
        QTest::newRow("not found") << 404 << "127.0.0.1" << false;
        QTest::newRow("unstorable form: route in force") << 200 << "my proxy" << true;
    }

    void connectionTest()
    {
        QFETCH(int, answer);
        QFETCH(QString, host);
        QFETCH(bool, reachable);
        if (answer != 200)
            m_server->route("/jack/status/20", HttpReply::withStatus(answer));
        auto page = makePage(host == u"my proxy" ? Mode::http : Mode::direct, host, QStringLiteral("1"));
        QList<ConnectionState> seen;
        connect(page.get(), &NetworkSettingsPage::statusChanged, this, [&] { seen.append(page->status()); });
        QVERIFY(awaitTask(page->test()));
        QCOMPARE(seen.first(), ConnectionState::checking());
        if (reachable) {
            QCOMPARE(seen.last(), ConnectionState::reachable());
        } else {
            const auto *failed = std::get_if<ConnectionState::Unreachable>(&seen.last().value());
            QVERIFY(failed && !failed->message.isEmpty());
        }
        QCOMPARE(m_network->route(), NetworkRoute::direct());
        QCOMPARE(m_server->requestCount("/jack/status/20"), 1);
    }

    // The tab is left while a test runs: its result has nowhere to go, and nothing breaks.
    void testOutlivesPage()
    {
        HttpReply late = HttpReply::withStatus(404);
        late.delay = 100ms;
        m_server->route("/jack/status/20", late);
        makePage(Mode::direct)->startTest();
        QVERIFY(QTest::qWaitFor([&] { return m_server->requestCount() == 1 && m_server->inFlight() == 0; }, 10000));
        QTest::qWait(50);
    }

    void pasted_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<Route>("route");
        QTest::newRow("both lines: the HTTPS setting wins")
            << "export https_proxy=http://127.0.0.1:1087; export ALL_PROXY=socks5://127.0.0.1:1080"
            << Route(http("127.0.0.1", 1087));
        QTest::newRow("all-protocols SOCKS only") << "export ALL_PROXY=socks5://127.0.0.1:1080"
                                                  << Route(socks("127.0.0.1", 1080));
        QTest::newRow("all-protocols over HTTP") << "export ALL_PROXY=http://127.0.0.1:1080" << Route();
        QTest::newRow("upper case, HTTP setting") << "HTTP_PROXY=http://127.0.0.1:8080\nall_proxy=socks5h://127.0.0.1:1"
                                                  << Route(http("127.0.0.1", 8080));
        QTest::newRow("no proxy setting") << "export PATH=/usr/bin" << Route();
    }

    void pasted()
    {
        QFETCH(QString, pasted);
        QFETCH(Route, route);
        auto page = makePage(Mode::direct);
        page->setShell(pasted);
        QCOMPARE(page->canUsePasted(), route.has_value());
        page->usePasted();
        // Filled, applied, stored and under test at once; or nothing at all.
        QCOMPARE(page->chosenRoute(), route ? route : Route(NetworkRoute::direct()));
        QCOMPARE(m_network->route(), route.value_or(NetworkRoute::direct()));
        QCOMPARE(stored(), route ? QVariant(route->rawValue()) : QVariant());
        QCOMPARE(page->status(), route ? ConnectionState::checking() : ConnectionState::unknown());
        // Nothing listens there: the test fails, quickly.
        QVERIFY(QTest::qWaitFor([&] { return !page->status().isChecking(); }, 30000));
    }
};

QTEST_GUILESS_MAIN(NetworkSettingsPageTest)
#include "tst_networksettingspage.moc"
