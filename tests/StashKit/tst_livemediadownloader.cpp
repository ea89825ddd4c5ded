// The media downloader against a local server: what reaches the disk, when progress is said,
// which answers fail, the routes it takes, and what letting go of a download does.

#include "StashKit/LiveMediaDownloader.h"

#include "AwaitTask.h"
#include "TransferReading.h"
#include "HostMap.h"
#include "HttpProxy.h"
#include "HttpServer.h"
#include "StashKit/Network.h"
#include "Socks5Proxy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

Q_DECLARE_METATYPE(sw::test::HttpReply)
Q_DECLARE_METATYPE(sw::test::HttpReply::Framing)
Q_DECLARE_METATYPE(sw::TransferError::Kind)
Q_DECLARE_METATYPE(sw::NetworkRoute::Kind)

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

Read download(LiveMediaDownloader &downloader, const QUrl &remote, const QString &path)
{
    const auto address = Url::fromQUrl(remote);
    auto read = awaitTask(readAll(downloader.download(Attachment::Image{address, 0}, Url::fromLocalFile(path),
                                                          MediaDownloading::kAnySize)));
    if (!read)
        qFatal("the download did not end");
    return *read;
}

QByteArray body(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char('a' + (i * 7 + i / 251) % 26);
    return bytes;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// Everything in a folder, hidden names included: a temporary file left behind shows here.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QCoro::Task<TransferStream::Next> nextOf(TransferStream *stream)
{
    const TransferStream::Next next = co_await stream->next();
    co_return next;
}

QList<std::int64_t> progressTotals(const Read &read)
{
    QList<std::int64_t> totals;
    for (const Transfer &t : read.events)
        if (t.asProgress())
            totals.append(t.bytes());
    return totals;
}

NetworkRoute proxyRoute(NetworkRoute::Kind kind, quint16 port)
{
    return *NetworkRoute::proxy(kind, QStringLiteral("127.0.0.1"), port);
}

QUrl proxyOnlyUrl(quint16 port, const QString &path)
{
    return QUrl(QStringLiteral("http://%1:%2%3").arg(QString::fromLatin1(kProxyOnlyHost)).arg(port).arg(path));
}

}  // namespace

class TestLiveMediaDownloader : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_server.listen());
    }

    void init()
    {
        m_server.clearRecords();
        m_network.setRoute(NetworkRoute::direct());
    }

    void throttle_data()
    {
        QTest::addColumn<QList<std::int64_t>>("totals");
        QTest::addColumn<QList<std::int64_t>>("said");
        constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
        QTest::newRow("pieces of a 1000000-byte file")
            << QList<std::int64_t>{100000, 300000, 500000, 1000000} << QList<std::int64_t>{300000, 1000000};
        QTest::newRow("smaller than one step") << QList<std::int64_t>{1000, 200000, 262143} << QList<std::int64_t>{};
        QTest::newRow("exactly one step, then one byte short of the next")
            << QList<std::int64_t>{262144, 524287, 524288} << QList<std::int64_t>{262144, 524288};
        QTest::newRow("a total below the last one said") << QList<std::int64_t>{600000, 100000, 700000}
                                                         << QList<std::int64_t>{600000};
        QTest::newRow("totals at the top of the range never wrap")
            << QList<std::int64_t>{max - 10, -5, max} << QList<std::int64_t>{max - 10};
    }

    void throttle()
    {
        QFETCH(QList<std::int64_t>, totals);
        QFETCH(QList<std::int64_t>, said);
        ProgressThrottle throttle;
        QList<std::int64_t> out;
        for (std::int64_t total : totals)
            if (const auto s = throttle.written(total))
                out.append(*s);
        QCOMPARE(out, said);
    }

    void smallFileGivesOnlyDone_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("empty") << qsizetype(0);
        QTest::newRow("1000 bytes") << qsizetype(1000);
        QTest::newRow("one byte under 256 KiB") << qsizetype(262143);
    }

    void smallFileGivesOnlyDone()
    {
        QFETCH(qsizetype, size);
        const QByteArray bytes = body(size);
        m_server.route("/small.jpg", HttpReply::ok(bytes, "image/jpeg"));
        const QString path = m_dir.filePath(QStringLiteral("small.jpg"));

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/small.jpg")), path);

        QVERIFY2(!read.error, qPrintable(read.error ? read.error->message : QString()));
        QCOMPARE(read.events, QList<Transfer>{Transfer::done(size)});
        QCOMPARE(contents(path), bytes);
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("small.jpg")});
    }

    void largeFileSaysProgressInSteps_data()
    {
        QTest::addColumn<HttpReply::Framing>("framing");
        QTest::newRow("with a length") << HttpReply::Framing::contentLength;
        QTest::newRow("chunked") << HttpReply::Framing::chunked;
        QTest::newRow("until the connection closes") << HttpReply::Framing::untilClose;
    }

    void largeFileSaysProgressInSteps()
    {
        QFETCH(HttpReply::Framing, framing);
        const QByteArray bytes = body(1000000);
        m_server.route("/v.mp4", HttpReply::ok(bytes, "video/mp4").framed(framing).inPieces(100000, 15ms));
        const QString path = m_dir.filePath(QStringLiteral("v.mp4"));

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/v.mp4")), path);

        QVERIFY2(!read.error, qPrintable(read.error ? read.error->message : QString()));
        QVERIFY(!read.events.isEmpty());
        QCOMPARE(read.events.constLast(), Transfer::done(1000000));
        const QList<std::int64_t> totals = progressTotals(read);
        QCOMPARE(totals.size(), read.events.size() - 1);   // only progress before the one done
        QVERIFY2(!totals.isEmpty(), "a file of almost four steps says progress at least once");
        std::int64_t last = 0;
        for (std::int64_t total : totals) {
            QVERIFY2(total - last >= ProgressThrottle::kStep, qPrintable(QStringLiteral("%1 after %2").arg(total).arg(last)));
            QVERIFY(total <= 1000000);
            last = total;
        }
        QCOMPARE(contents(path), bytes);
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("v.mp4")});
    }

    void statusDecides_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("passes");
        QTest::newRow("199") << 199 << false;
        QTest::newRow("200") << 200 << true;
        QTest::newRow("299") << 299 << true;
        QTest::newRow("300") << 300 << false;
        QTest::newRow("404") << 404 << false;
        QTest::newRow("500") << 500 << false;
    }

    void statusDecides()
    {
        QFETCH(int, status);
        QFETCH(bool, passes);
        m_server.route("/file", HttpReply::withStatus(status, "the body of the answer"));
        const QString folder = m_dir.filePath(QStringLiteral("media"));
        const QString path = folder + QStringLiteral("/file.jpg");

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/file")), path);

        if (passes) {
            QVERIFY(!read.error);
            QCOMPARE(contents(path), QByteArray("the body of the answer"));
            return;
        }
        QVERIFY(read.error);
        QCOMPARE(read.error->kind, TransferError::Kind::badServerResponse);
        QCOMPARE(read.error->status, status);
        QVERIFY(read.events.isEmpty());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(entries(folder), QStringList{});
    }

    void replacesAnEarlierFile()
    {
        m_server.route("/new.jpg", HttpReply::ok("new picture"));
        const QString path = m_dir.filePath(QStringLiteral("pic.jpg"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older and longer picture from an earlier attempt");
        old.close();

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/new.jpg")), path);

        QVERIFY(!read.error);
        QCOMPARE(read.events, QList<Transfer>{Transfer::done(11)});
        QCOMPARE(contents(path), QByteArray("new picture"));
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("pic.jpg")});
    }

    void makesMissingFolders()
    {
        m_server.route("/a.jpg", HttpReply::ok("picture"));
        const QString path = m_dir.filePath(QStringLiteral("one/two/three/a.jpg"));

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/a.jpg")), path);

        QVERIFY(!read.error);
        QCOMPARE(contents(path), QByteArray("picture"));
    }

    void failureLeavesNoPartialFile_data()
    {
        QTest::addColumn<HttpReply>("reply");
        QTest::addColumn<TransferError::Kind>("kind");
        const QByteArray bytes = body(800000);
        QTest::newRow("connection dropped in the body")
            << HttpReply::ok(bytes).inPieces(100000, 10ms).droppedAfter(500000) << TransferError::Kind::network;
        QTest::newRow("chunked body cut short")
            << HttpReply::ok(bytes).framed(HttpReply::Framing::chunked).inPieces(100000, 10ms).droppedAfter(300000)
            << TransferError::Kind::network;
        QTest::newRow("hung up before answering") << HttpReply::hungUp() << TransferError::Kind::network;
        QTest::newRow("not found, after the earlier file") << HttpReply::withStatus(404, bytes)
                                                           << TransferError::Kind::badServerResponse;
    }

    void failureLeavesNoPartialFile()
    {
        QFETCH(HttpReply, reply);
        QFETCH(TransferError::Kind, kind);
        m_server.route("/v.mp4", reply);
        const QString path = m_dir.filePath(QStringLiteral("v.mp4"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier file");
        earlier.close();

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/v.mp4")), path);

        QVERIFY(read.error);
        QCOMPARE(read.error->kind, kind);
        QVERIFY(std::none_of(read.events.cbegin(), read.events.cend(), [](const Transfer &t) { return t.isDone(); }));
        // The earlier file stays whole and nothing else is left in the folder.
        QCOMPARE(contents(path), QByteArray("earlier file"));
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("v.mp4")});
    }

    // A server that sends a byte now and then resets the stall time-out with each one: the least
    // rate ends such a download, and leaves nothing behind.
    void slowerThanTheLeastRateFails_data()
    {
        QTest::addColumn<HttpReply>("reply");
        QTest::addColumn<bool>("arrives");
        const QByteArray bytes = body(4000);
        QTest::newRow("a byte every 20 ms") << HttpReply::ok(bytes).dripping(20ms) << false;
        QTest::newRow("chunked, a byte every 20 ms")
            << HttpReply::ok(bytes).framed(HttpReply::Framing::chunked).dripping(20ms) << false;
        QTest::newRow("a head and one byte, then silence") << HttpReply::ok(bytes).inPieces(1, 10s) << false;
        QTest::newRow("slow but steady") << HttpReply::ok(body(40000)).inPieces(2000, 20ms) << true;
    }

    void slowerThanTheLeastRateFails()
    {
        QFETCH(HttpReply, reply);
        QFETCH(bool, arrives);
        m_server.route("/drip.mp4", reply);
        const QString path = m_dir.filePath(QStringLiteral("drip.mp4"));
        LiveMediaDownloader downloader(m_network);
        downloader.setLeastRate({1024, 300ms});

        const auto read = awaitTask(readAll(downloader.download(
            Attachment::Image{Url::fromQUrl(m_server.url(QStringLiteral("/drip.mp4"))), 0}, Url::fromLocalFile(path),
            MediaDownloading::kAnySize)), 5s);

        QVERIFY2(read, "the download did not end");
        if (arrives) {
            QVERIFY(!read->error);
            QCOMPARE(QFileInfo(path).size(), 40000);
            return;
        }
        QVERIFY(read->error);
        QCOMPARE(read->error->kind, TransferError::Kind::network);
        QCOMPARE(read->error->networkError, QNetworkReply::TimeoutError);
        QCOMPARE(entries(m_dir.path()), QStringList{});
    }

    void stallingServerTimesOut()
    {
        m_network.setTransferTimeout(300ms);
        m_server.route("/slow", HttpReply::never());
        const QString path = m_dir.filePath(QStringLiteral("slow.jpg"));

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/slow")), path);
        m_network.setTransferTimeout(Network::kDefaultTransferTimeout);

        QVERIFY(read.error);
        QCOMPARE(read.error->kind, TransferError::Kind::network);
        QCOMPARE(entries(m_dir.path()), QStringList{});
    }

    void onlyHttpIsFetched_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("file") << QStringLiteral("file:///etc/hostname");
        QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/a.jpg");
        QTest::newRow("data") << QStringLiteral("data:image/png;base64,AAAA");
    }

    void onlyHttpIsFetched()
    {
        QFETCH(QString, address);
        const QString path = m_dir.filePath(QStringLiteral("a.jpg"));

        const Read read = download(m_downloader, QUrl(address), path);

        QVERIFY(read.error);
        QCOMPARE(read.error->kind, TransferError::Kind::notHttp);
        QVERIFY(read.events.isEmpty());
        QCOMPARE(entries(m_dir.path()), QStringList{});
    }

    void localWriteFailureIsCouldNotWrite_data()
    {
        QTest::addColumn<QString>("blocker");   // made as a file
        QTest::addColumn<QString>("destination");
        QTest::newRow("the folder's place holds a file") << QStringLiteral("media") << QStringLiteral("media/a.jpg");
        QTest::newRow("a parent's place holds a file") << QStringLiteral("media") << QStringLiteral("media/x/y/a.jpg");
    }

    void localWriteFailureIsCouldNotWrite()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, destination);
        QFile file(m_dir.filePath(blocker));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        m_server.route("/a.jpg", HttpReply::ok("picture"));

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/a.jpg")), m_dir.filePath(destination));

        QVERIFY(read.error);
        QCOMPARE(read.error->kind, TransferError::Kind::couldNotWrite);
        QCOMPARE(entries(m_dir.path()), QStringList{blocker});
    }

    void destinationThatIsAFolderIsCouldNotWrite()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("a.jpg/inside")));
        m_server.route("/a.jpg", HttpReply::ok("picture"));

        const Read read = download(m_downloader, m_server.url(QStringLiteral("/a.jpg")), m_dir.filePath(QStringLiteral("a.jpg")));

        QVERIFY(read.error);
        QCOMPARE(read.error->kind, TransferError::Kind::couldNotWrite);
        QCOMPARE(entries(m_dir.path()), QStringList{QStringLiteral("a.jpg")});
        QCOMPARE(entries(m_dir.filePath(QStringLiteral("a.jpg"))), QStringList{QStringLiteral("inside")});
    }

    void lettingGoStopsTheTransfer()
    {
        // About five seconds of body: a transfer that is not stopped is still running a second later.
        m_server.route("/long.mp4", HttpReply::ok(body(100 * 65536)).inPieces(65536, 50ms));
        const QString path = m_dir.filePath(QStringLiteral("long.mp4"));
        auto stream = std::make_unique<TransferStream>(m_downloader.download(
            Attachment::Image{Url::fromQUrl(m_server.url(QStringLiteral("/long.mp4"))), 0}, Url::fromLocalFile(path),
            MediaDownloading::kAnySize));

        const auto first = awaitTask(nextOf(stream.get()));
        QVERIFY(first && *first && **first);
        QVERIFY((**first)->asProgress());
        QCOMPARE(m_server.inFlight(), 1);

        stream.reset();

        QTRY_COMPARE_WITH_TIMEOUT(m_server.inFlight(), 0, 1000);
        QTest::qWait(100);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(entries(m_dir.path()), QStringList{});
    }

    void goesThroughTheRoute_data()
    {
        QTest::addColumn<NetworkRoute::Kind>("kind");
        QTest::newRow("HTTP proxy") << NetworkRoute::Kind::http;
        QTest::newRow("SOCKS proxy") << NetworkRoute::Kind::socks;
    }

    void goesThroughTheRoute()
    {
        QFETCH(NetworkRoute::Kind, kind);
        HttpProxy httpProxy;
        Socks5Proxy socksProxy;
        QVERIFY(httpProxy.listen());
        QVERIFY(socksProxy.listen());
        httpProxy.hosts().add(kProxyOnlyHost, m_server.port());
        socksProxy.hosts().add(kProxyOnlyHost, m_server.port());
        const quint16 port = kind == NetworkRoute::Kind::http ? httpProxy.port() : socksProxy.port();
        m_network.setRoute(proxyRoute(kind, port));
        m_server.route("/a.jpg", HttpReply::ok("through the proxy"));
        const QString path = m_dir.filePath(QStringLiteral("a.jpg"));

        // Only the proxy knows this name: arriving proves the proxy carried the request.
        const Read read = download(m_downloader, proxyOnlyUrl(m_server.port(), QStringLiteral("/a.jpg")), path);

        QVERIFY2(!read.error, qPrintable(read.error ? read.error->message : QString()));
        QCOMPARE(contents(path), QByteArray("through the proxy"));
        QCOMPARE(httpProxy.visitCount(), kind == NetworkRoute::Kind::http ? 1 : 0);
        QCOMPARE(socksProxy.visitCount(), kind == NetworkRoute::Kind::socks ? 1 : 0);
    }

    void keepsItsRouteToTheEnd()
    {
        HttpProxy first;
        HttpProxy second;
        QVERIFY(first.listen());
        QVERIFY(second.listen());
        first.hosts().add(kProxyOnlyHost, m_server.port());
        second.hosts().add(kProxyOnlyHost, m_server.port());
        m_server.route("/slow.mp4", HttpReply::ok(body(600000)).inPieces(100000, 40ms));
        m_server.route("/next.jpg", HttpReply::ok("next"));
        m_network.setRoute(proxyRoute(NetworkRoute::Kind::http, first.port()));

        const Url slowAddress = Url::fromQUrl(proxyOnlyUrl(m_server.port(), QStringLiteral("/slow.mp4")));
        auto running = readAll(m_downloader.download(Attachment::Image{slowAddress, 0},
                                                     Url::fromLocalFile(m_dir.filePath(QStringLiteral("slow.mp4"))),
                                                     MediaDownloading::kAnySize));
        QTRY_COMPARE(m_server.requestCount("/slow.mp4"), 1);
        m_network.setRoute(proxyRoute(NetworkRoute::Kind::http, second.port()));

        const auto slow = awaitTask(std::move(running));
        QVERIFY(slow && !slow->error);
        QCOMPARE(slow->events.constLast(), Transfer::done(600000));
        QCOMPARE(first.visitCount(), 1);
        QCOMPARE(second.visitCount(), 0);

        const Read next = download(m_downloader, proxyOnlyUrl(m_server.port(), QStringLiteral("/next.jpg")),
                                   m_dir.filePath(QStringLiteral("next.jpg")));
        QVERIFY(!next.error);
        QCOMPARE(first.visitCount(), 1);
        QCOMPARE(second.visitCount(), 1);
    }

    void cleanup()
    {
        // A fresh folder for every case.
        for (const QString &name : entries(m_dir.path())) {
            QFileInfo info(m_dir.filePath(name));
            if (info.isDir() && !info.isSymLink())
                QDir(info.filePath()).removeRecursively();
            else
                QFile::remove(info.filePath());
        }
    }

private:
    QTemporaryDir m_dir;
    HttpServer m_server;
    Network m_network{NetworkRoute::direct()};
    LiveMediaDownloader m_downloader{m_network};
};

QTEST_GUILESS_MAIN(TestLiveMediaDownloader)
#include "tst_livemediadownloader.moc"
