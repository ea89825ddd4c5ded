// The network route through Debian's tinyproxy (HTTP) and microsocks (SOCKS5), each started by
// the test on a free 127.0.0.1 port with its own configuration in a temporary folder. Through
// each, Test reports the loopback API reachable and keeping a link fetches the post, its cover and
// its media; with the proxy stopped, Test reports the failure and keeping a link is refused as
// unreachable, with nothing written.
//
// Proof that the proxy carried the traffic: each is told to open its outgoing connections from
// 127.0.0.2, which nothing else in the test uses, and the loopback server records where each
// request came from. The proxies' logs agree: tinyproxy's names every request it carried,
// microsocks' every connection it made.

#include "Stashwell/Pages/Settings/NetworkSettingsPage.h"

#include "AwaitTask.h"
#include "HttpServer.h"
#include "StashKit/Curator.h"
#include "StashKit/Network.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

const QHostAddress kProxySide(QStringLiteral("127.0.0.2"));

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

// A proxy server process with its configuration and log in a folder of its own.
struct RealProxy {
    explicit RealProxy(QString name) : program(std::move(name)) {}
    QString program;
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;

    QString logPath() const { return dir.filePath(QStringLiteral("proxy.log")); }
    QString log() const { return QString::fromUtf8(readFile(logPath())); }

    bool start()
    {
        QTcpServer probe;   // a free port
        if (!probe.listen(QHostAddress::LocalHost, 0))
            return false;
        port = probe.serverPort();
        probe.close();
        if (program == u"tinyproxy") {
            QFile conf(dir.filePath(QStringLiteral("tinyproxy.conf")));
            if (!conf.open(QIODevice::WriteOnly))
                return false;
            conf.write(QStringLiteral("Port %1\nListen 127.0.0.1\nBind %2\nAllow 127.0.0.1\nLogFile \"%3\"\nLogLevel Connect\n")
                           .arg(port).arg(kProxySide.toString(), logPath()).toUtf8());
            conf.close();
            process.setArguments({QStringLiteral("-d"), QStringLiteral("-c"), conf.fileName()});
        } else {
            process.setStandardErrorFile(logPath());
            process.setArguments({QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                  QString::number(port), QStringLiteral("-b"), kProxySide.toString()});
        }
        process.setProgram(QStandardPaths::findExecutable(program));
        process.start();
        return process.waitForStarted(5000) && QTest::qWaitFor([&] {
                   QTcpSocket socket;
                   socket.connectToHost(QHostAddress::LocalHost, port);
                   return socket.waitForConnected(200);
               }, 10000);
    }

    void stop()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
    ~RealProxy() { stop(); }
};

}  // namespace

class RealProxiesTest : public QObject {
    Q_OBJECT

private slots:
    void throughProxy_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("tinyproxy (HTTP)") << "tinyproxy";
        QTest::newRow("microsocks (SOCKS5)") << "microsocks";
    }

    void throughProxy()
    {
        QFETCH(QString, program);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP(qPrintable(program + QStringLiteral(" is not installed (scripts/install-deps installs it)")));
        RealProxy proxy(program);
        QVERIFY2(proxy.start(), qPrintable(program + QStringLiteral(" did not start listening")));

        HttpServer server;
        QVERIFY(server.listen());
        const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
        const auto post = [](const QByteArray &media) {
            return HttpReply::json(R"({"code":200,"tweet":{"text":"hi","created_timestamp":1700000000,)"
                                   R"("author":{"name":"Some One","screen_name":"someone"},"media":{"all":[)" + media + "]}}}");
        };
        const QByteArray clip(300000, 'c');
        server.route("/jack/status/20", post(""));
        server.route("/someone/status/1234567890",
                     post(R"({"type":"video","url":")" + base.toUtf8() + R"(/media/clip.mp4","thumbnail_url":")"
                          + base.toUtf8() + R"(/media/thumb.jpg","duration":3.5})"));
        server.route("/media/clip.mp4", HttpReply::ok(clip, "video/mp4").inPieces(50000, 1ms));
        server.route("/media/thumb.jpg", HttpReply::ok(QByteArray(1500, 't'), "image/jpeg"));
        const auto notThroughProxy = [&server] {
            QStringList out;
            for (const HttpRequest &request : server.requests())
                if (request.peer != kProxySide)
                    out.append(QString::fromLatin1(request.method + ' ' + request.path()));
            return out;
        };

        // The user picks the proxy and presses Test; the route was direct before.
        QTemporaryDir home;
        Preferences preferences(home.filePath(QStringLiteral("preferences.json")));
        Network network(NetworkRoute::direct());
        network.setTransferTimeout(10s);
        const Url apiBase = *Url::parse(base);
        NetworkSettingsPage page(network, preferences, apiBase);
        page.setMode(program == u"tinyproxy" ? NetworkSettingsPage::Mode::http : NetworkSettingsPage::Mode::socks);
        page.setPort(QString::number(proxy.port));
        QVERIFY(awaitTask(page.test(), 40s));
        QCOMPARE(page.status(), ConnectionState::reachable());
        QCOMPARE(preferences.value(Preferences::networkRoute), QVariant(network.route().rawValue()));
        QCOMPARE(server.requestCount("/jack/status/20"), 1);

        // A link kept on that route: the post, the size probe, the cover and the media.
        const Curator::Folders folders{home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("media"))};
        const QString covers = QDir(folders.archive).filePath(QStringLiteral("Covers"));
        const auto curator = Curator::live(network, true, folders, apiBase);
        const auto saved = awaitTask(curator->save(QStringLiteral("https://x.com/someone/status/1234567890")), 60s);
        QVERIFY(saved && *saved);
        curator->flush();   // the file takes its name once the document lists it
        QCOMPARE(entries(folders.media), QStringList{"someone_1234567890.mp4"});
        QCOMPARE(readFile(QDir(folders.media).filePath(QStringLiteral("someone_1234567890.mp4"))), clip);
        QCOMPARE(entries(covers), QStringList{"someone_1234567890.jpg"});
        QCOMPARE(server.requestCount(), 5);   // test, post, size probe, cover, media
        QCOMPARE(notThroughProxy(), QStringList());
        if (program == u"tinyproxy") {
            for (const char *path : {"/jack/status/20", "/someone/status/1234567890", "/media/clip.mp4", "/media/thumb.jpg"}) {
                const QString line = base + QString::fromLatin1(path) + QStringLiteral(" HTTP/");
                QVERIFY2(QTest::qWaitFor([&] { return proxy.log().contains(line); }, 5000), qPrintable(line));
            }
        } else {
            const QRegularExpression made(QStringLiteral("connected to 127\\.0\\.0\\.1:%1\\b").arg(server.port()));
            QVERIFY2(QTest::qWaitFor([&] { return proxy.log().count(made) == server.connectionCount(); }, 5000),
                     qPrintable(proxy.log()));
        }

        // The proxy goes away: Test says so in time, and keeping a link is refused with nothing written.
        proxy.stop();
        curator->flush();
        const QByteArray document = readFile(QDir(folders.archive).filePath(QStringLiteral("library.json")));
        QVERIFY(!document.isEmpty());
        QVERIFY(awaitTask(page.test(), 40s));
        const ConnectionState status = page.status();
        const auto *failed = std::get_if<ConnectionState::Unreachable>(&status.value());
        QVERIFY2(failed && !failed->message.isEmpty(), "the test did not report the failure");
        const auto refused = awaitTask(curator->save(QStringLiteral("https://x.com/someone/status/99")), 40s);
        QVERIFY(refused && !*refused);
        QCOMPARE(refused->error(), SaveRefusal::unreachable());
        QCOMPARE(curator->library().saves.size(), 1);
        curator->flush();
        QCOMPARE(readFile(QDir(folders.archive).filePath(QStringLiteral("library.json"))), document);
        QCOMPARE(entries(folders.media), QStringList{"someone_1234567890.mp4"});
        QCOMPARE(entries(covers), QStringList{"someone_1234567890.jpg"});
        QCOMPARE(server.requestCount(), 5);
    }
};

QTEST_GUILESS_MAIN(RealProxiesTest)
#include "tst_realproxies.moc"
