// The network route through real proxy servers from Debian, as a user would set it up: tinyproxy
// (HTTP) and microsocks (SOCKS5), each started by the test on a free 127.0.0.1 port with its own
// configuration in a temporary folder. Through each, the settings' Test reports the loopback API
// reachable, and keeping a link fetches the post, its cover and its media through that proxy; with
// the proxy stopped, Test reports the failure and keeping a link is refused as unreachable, with
// nothing written.
//
// The proof that traffic went through the proxy: each proxy is told to open its outgoing
// connections from 127.0.0.2, an address nothing else in the test uses, and the loopback server
// records where every request came from. The proxies' own logs agree: tinyproxy's names every
// request it carried, microsocks' every connection it made.

#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"

#include "AwaitTask.h"
#include "HttpServer.h"
#include "StashKit/Curator.h"
#include "StashKit/FileArchive.h"
#include "StashKit/Network.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

// Where the proxies' outgoing connections come from.
const QHostAddress kProxySide(QStringLiteral("127.0.0.2"));

enum class Server { tinyproxy, microsocks };

QString program(Server server) { return server == Server::tinyproxy ? QStringLiteral("tinyproxy") : QStringLiteral("microsocks"); }

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One proxy server process with its configuration and log in a folder of its own.
class RealProxy {
public:
    explicit RealProxy(Server server) : m_server(server) {}
    ~RealProxy() { stop(); }

    static QString executable(Server server) { return QStandardPaths::findExecutable(program(server)); }

    // Started and accepting connections, or false with the reason.
    bool start(QString *why)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            m_port = freePort();
            if (m_port == 0)
                continue;
            m_process = std::make_unique<QProcess>();
            m_process->setProgram(executable(m_server));
            m_process->setStandardOutputFile(m_dir.filePath(QStringLiteral("out.txt")), QIODevice::Append);
            if (m_server == Server::tinyproxy) {
                const QString conf = m_dir.filePath(QStringLiteral("tinyproxy.conf"));
                QFile file(conf);
                if (!file.open(QIODevice::WriteOnly)) {
                    *why = QStringLiteral("cannot write the configuration");
                    return false;
                }
                file.write(QStringLiteral("Port %1\nListen 127.0.0.1\nBind %2\nAllow 127.0.0.1\nTimeout 30\n"
                                          "MaxClients 50\nLogFile \"%3\"\nLogLevel Connect\n")
                               .arg(m_port)
                               .arg(kProxySide.toString(), logPath())
                               .toUtf8());
                file.close();
                m_process->setStandardErrorFile(m_dir.filePath(QStringLiteral("err.txt")), QIODevice::Append);
                m_process->setArguments({QStringLiteral("-d"), QStringLiteral("-c"), conf});
            } else {
                m_process->setStandardErrorFile(logPath(), QIODevice::Append);
                m_process->setArguments({QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                         QString::number(m_port), QStringLiteral("-b"), kProxySide.toString()});
            }
            m_process->start();
            if (!m_process->waitForStarted(5000)) {
                *why = m_process->errorString();
                return false;
            }
            // Listening once a connection is taken; a process that ended lost the port.
            const bool listening = QTest::qWaitFor(
                [&] {
                    if (m_process->state() != QProcess::Running)
                        return true;
                    QTcpSocket probe;
                    probe.connectToHost(QHostAddress::LocalHost, m_port);
                    return probe.waitForConnected(200);
                },
                10000);
            if (listening && m_process->state() == QProcess::Running)
                return true;
            stop();
        }
        *why = QStringLiteral("%1 did not start listening: %2")
                   .arg(program(m_server), QString::fromUtf8(readFile(m_dir.filePath(QStringLiteral("err.txt")))));
        return false;
    }

    void stop()
    {
        if (!m_process)
            return;
        if (m_process->state() != QProcess::NotRunning) {
            m_process->terminate();
            if (!m_process->waitForFinished(5000)) {
                m_process->kill();
                m_process->waitForFinished(5000);
            }
        }
        m_process.reset();
    }

    quint16 port() const { return m_port; }
    NetworkSettingsPage::Mode mode() const
    {
        return m_server == Server::tinyproxy ? NetworkSettingsPage::Mode::http : NetworkSettingsPage::Mode::socks;
    }
    QString log() const { return QString::fromUtf8(readFile(logPath())); }
    QString logPath() const { return m_dir.filePath(QStringLiteral("proxy.log")); }

private:
    Server m_server;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
};

QByteArray statusDocument(const QString &text, const QByteArray &media)
{
    return R"({"code":200,"tweet":{"text":")" + text.toUtf8() + R"(","created_timestamp":1700000000,)"
           R"("author":{"name":"Some One","screen_name":"someone"},"media":{"all":[)"
        + media + "]}}}";
}

QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + i % 251);
    return bytes;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The requests that did not come from the proxies' side.
QStringList notThroughProxy(const HttpServer &server)
{
    QStringList out;
    for (const HttpRequest &request : server.requests())
        if (request.peer != kProxySide)
            out.append(QString::fromLatin1(request.method + ' ' + request.path()) + QStringLiteral(" from ")
                       + request.peer.toString());
    return out;
}

}  // namespace

Q_DECLARE_METATYPE(Server)

class RealProxiesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpServer> m_server;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<Network> m_network;

    QString address(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server->port()).arg(path);
    }
    Url apiBase() const { return *Url::parse(address(QString())); }

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
        m_server = std::make_unique<HttpServer>();
        QVERIFY(m_server->listen());
        m_preferences = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("preferences.json")));
        // Direct to begin with: a request that bypassed the proxy would arrive from 127.0.0.1.
        m_network = std::make_unique<Network>(NetworkRoute::direct());
        m_network->setTransferTimeout(10s);
    }

    void cleanup()
    {
        m_network.reset();
        m_preferences.reset();
        m_server.reset();
        m_dir.reset();
    }

    void throughProxy_data()
    {
        QTest::addColumn<Server>("server");
        QTest::newRow("tinyproxy (HTTP)") << Server::tinyproxy;
        QTest::newRow("microsocks (SOCKS5)") << Server::microsocks;
    }

    void throughProxy()
    {
        QFETCH(Server, server);
        if (RealProxy::executable(server).isEmpty())
            QSKIP(qPrintable(program(server) + QStringLiteral(" is not installed (scripts/install-deps installs it)")));
        RealProxy proxy(server);
        QString why;
        QVERIFY2(proxy.start(&why), qPrintable(why));

        const QByteArray clip = pattern(300000, 'c');
        const QByteArray picture = pattern(4000, 'p');
        const QByteArray thumb = pattern(1500, 't');
        m_server->route("/jack/status/20", HttpReply::json(statusDocument(QStringLiteral("just setting up"), "")));
        m_server->route("/someone/status/1234567890",
                        HttpReply::json(statusDocument(
                            QStringLiteral("A clip and a picture"),
                            R"({"type":"video","url":")" + address("/media/clip.mp4").toUtf8() + R"(","thumbnail_url":")"
                                + address("/media/thumb.jpg").toUtf8() + R"(","duration":3.5},)"
                                + R"({"type":"photo","url":")" + address("/media/picture.jpg").toUtf8() + R"("})")));
        m_server->route("/media/clip.mp4", HttpReply::ok(clip, "video/mp4").inPieces(50000, 1ms));
        m_server->route("/media/picture.jpg", HttpReply::ok(picture, "image/jpeg"));
        m_server->route("/media/thumb.jpg", HttpReply::ok(thumb, "image/jpeg"));
        m_server->route("/someone/status/99", HttpReply::json(statusDocument(QStringLiteral("never fetched"), "")));

        // The user picks the proxy and presses Test.
        NetworkSettingsPage page(*m_network, *m_preferences, apiBase());
        page.setMode(proxy.mode());
        page.setHost(QStringLiteral("127.0.0.1"));
        page.setPort(QString::number(proxy.port()));
        QVERIFY(page.canApply());
        QVERIFY(awaitTask(page.test(), 40s));
        QCOMPARE(page.status(), ConnectionState::reachable());
        QCOMPARE(m_network->route(), *page.chosenRoute());
        QCOMPARE(m_preferences->value(Preferences::networkRoute), QVariant(page.chosenRoute()->rawValue()));
        QCOMPARE(m_server->requestCount("/jack/status/20"), 1);
        QCOMPARE(notThroughProxy(*m_server), QStringList());

        // A link kept on that route: the post, its size probes, the cover and the media.
        const Curator::Folders folders{m_dir->filePath(QStringLiteral("data/Stashwell")),
                                       m_dir->filePath(QStringLiteral("Videos/Stashwell"))};
        const QString covers = QDir(folders.archive).filePath(QStringLiteral("Covers"));
        std::unique_ptr<Curator> curator = Curator::live(*m_network, true, folders, apiBase());
        const auto saved = awaitTask(curator->save(QStringLiteral("https://x.com/someone/status/1234567890")), 60s);
        QVERIFY2(saved, "the save did not end");
        QVERIFY2(*saved, "the link was refused");
        QCOMPARE(entries(folders.media), (QStringList{"someone_1234567890.mp4", "someone_1234567890_2.jpg"}));
        QCOMPARE(readFile(QDir(folders.media).filePath(QStringLiteral("someone_1234567890.mp4"))), clip);
        QCOMPARE(entries(covers), QStringList{"someone_1234567890.jpg"});
        for (const QByteArray path : {"/someone/status/1234567890", "/media/clip.mp4", "/media/picture.jpg", "/media/thumb.jpg"})
            QVERIFY2(m_server->requestCount(path) >= 1, path.constData());
        QCOMPARE(notThroughProxy(*m_server), QStringList());

        // The proxy's own account of what it carried.
        if (server == Server::tinyproxy) {
            for (const QString path : {"/jack/status/20", "/someone/status/1234567890", "/media/clip.mp4",
                                       "/media/picture.jpg", "/media/thumb.jpg"}) {
                const QString line = QStringLiteral("127.0.0.1:%1%2 HTTP/").arg(m_server->port()).arg(path);
                QVERIFY2(QTest::qWaitFor([&] { return proxy.log().contains(line); }, 5000), qPrintable(line));
            }
        } else {
            const QRegularExpression made(QStringLiteral("connected to 127\\.0\\.0\\.1:%1\\b").arg(m_server->port()));
            QVERIFY2(QTest::qWaitFor([&] { return proxy.log().count(made) == m_server->connectionCount(); }, 5000),
                     qPrintable(QStringLiteral("%1 connections logged, %2 made")
                                    .arg(proxy.log().count(made))
                                    .arg(m_server->connectionCount())));
        }

        // The proxy goes away. Test says so, in time, and leaves the route as the user chose it.
        proxy.stop();
        const int requests = m_server->requestCount();
        const QByteArray document = readFile(QDir(folders.archive).filePath(QStringLiteral("library.json")));
        QVERIFY(!document.isEmpty());
        QVERIFY(awaitTask(page.test(), 40s));
        const ConnectionState status = page.status();
        const auto *failed = std::get_if<ConnectionState::Unreachable>(&status.value());
        QVERIFY2(failed, "the test did not report the failure");
        QVERIFY(!failed->message.isEmpty());
        QCOMPARE(m_network->route(), *page.chosenRoute());

        // Keeping another link is refused, and nothing is written: no save, no file, no request.
        const Library library = curator->library();
        const auto refused = awaitTask(curator->save(QStringLiteral("https://x.com/someone/status/99")), 40s);
        QVERIFY2(refused, "the save did not end");
        QVERIFY(!*refused);
        QCOMPARE(refused->error(), SaveRefusal::unreachable());
        QCOMPARE(curator->library(), library);
        QCOMPARE(readFile(QDir(folders.archive).filePath(QStringLiteral("library.json"))), document);
        QCOMPARE(entries(folders.media), (QStringList{"someone_1234567890.mp4", "someone_1234567890_2.jpg"}));
        QCOMPARE(entries(covers), QStringList{"someone_1234567890.jpg"});
        QCOMPARE(m_server->requestCount(), requests);
        QCOMPARE(m_server->requestCount("/someone/status/99"), 0);
    }
};

QTEST_GUILESS_MAIN(RealProxiesTest)
#include "tst_realproxies.moc"
