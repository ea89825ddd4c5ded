// The road of one link, end to end on the live services, against a local server shaped like the
// FxTwitter API: pasted text is looked up and kept, its cover and media arrive with progress,
// library.json on disk holds the save and its copy, a second paste is refused without a request,
// and emptying the trash takes the files and the cover away again. Directly and through an HTTP
// and a SOCKS5 proxy. Every address is on 127.0.0.1, or a name only the test's proxies resolve.

#include "StashKit/Curator.h"

#include "AwaitTask.h"
#include "StashKit/FileArchive.h"
#include "HostMap.h"
#include "HttpProxy.h"
#include "HttpServer.h"
#include "StashKit/LiveMediaDisk.h"
#include "StashKit/LiveMediaDownloader.h"
#include "StashKit/LivePostFetcher.h"
#include "StashKit/Network.h"
#include "Socks5Proxy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(sw::test::HttpReply::Framing)

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

enum class Way { direct, httpProxy, socksProxy };

const QString kPasted = QStringLiteral("  https://x.com/Someone/status/1234567890 \n");
const QString kStem = QStringLiteral("someone_1234567890");

QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(seed + i % 251);
    return bytes;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList methodsAndPaths(const HttpServer &server)
{
    QStringList out;
    for (const HttpRequest &r : server.requests())
        out.append(QString::fromLatin1(r.method + ' ' + r.path()));
    return out;
}

}  // namespace

Q_DECLARE_METATYPE(Way)

class TestLinkRoad : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void roadOfOneLink_data();
    void roadOfOneLink();
    void droppedConnectionLeavesNoPartialFile_data();
    void droppedConnectionLeavesNoPartialFile();

private:
    // The address of a path on the server as the route reaches it.
    QString address(const QString &path) const;
    void build(Way way);
    QByteArray statusDocument(const QByteArray &items) const;
    QString mediaFolder() const { return m_dir->filePath(QStringLiteral("Videos/Stashwell")); }
    QString archiveFolder() const { return m_dir->filePath(QStringLiteral("data/Stashwell")); }
    QString coversFolder() const { return QDir(archiveFolder()).filePath(QStringLiteral("Covers")); }
    // library.json as a new start would read it.
    std::optional<Archive> archiveOnDisk() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpServer> m_server;
    std::unique_ptr<HttpProxy> m_httpProxy;
    std::unique_ptr<Socks5Proxy> m_socksProxy;
    std::unique_ptr<Network> m_network;
    std::unique_ptr<Curator> m_curator;
    Way m_way = Way::direct;
};

void TestLinkRoad::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestLinkRoad::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_server = std::make_unique<HttpServer>();
    m_httpProxy = std::make_unique<HttpProxy>();
    m_socksProxy = std::make_unique<Socks5Proxy>();
    QVERIFY(m_server->listen());
    QVERIFY(m_httpProxy->listen());
    QVERIFY(m_socksProxy->listen());
    m_httpProxy->hosts().add(kProxyOnlyHost, m_server->port());
    m_socksProxy->hosts().add(kProxyOnlyHost, m_server->port());
}

void TestLinkRoad::cleanup()
{
    m_curator.reset();
    m_network.reset();
    m_socksProxy.reset();
    m_httpProxy.reset();
    m_server.reset();
    m_dir.reset();
}

QString TestLinkRoad::address(const QString &path) const
{
    // Only the proxies know the fixture's name: a request that arrives by it was carried by them.
    const QString host = m_way == Way::direct ? QStringLiteral("127.0.0.1") : QString::fromLatin1(kProxyOnlyHost);
    return QStringLiteral("http://%1:%2%3").arg(host).arg(m_server->port()).arg(path);
}

void TestLinkRoad::build(Way way)
{
    m_way = way;
    NetworkRoute route = NetworkRoute::direct();
    if (way == Way::httpProxy)
        route = *NetworkRoute::proxy(NetworkRoute::Kind::http, QStringLiteral("127.0.0.1"), m_httpProxy->port());
    else if (way == Way::socksProxy)
        route = *NetworkRoute::proxy(NetworkRoute::Kind::socks, QStringLiteral("127.0.0.1"), m_socksProxy->port());
    m_network = std::make_unique<Network>(route);
    m_network->setTransferTimeout(10s);

    const Url apiBase = *Url::parse(address(QString()));
    LocalMedia media(MediaFolder(Url::fromLocalFile(mediaFolder())), DiskBudget{Curator::kDefaultBudget});
    m_curator = std::make_unique<Curator>(Library(), std::move(media), Covers(Url::fromLocalFile(coversFolder())),
                                          std::make_shared<LivePostFetcher>(*m_network, apiBase),
                                          std::make_shared<LiveMediaDownloader>(*m_network),
                                          std::make_shared<LiveMediaDisk>(), std::make_shared<FileArchive>(archiveFolder()),
                                          [] { return Date{800000000}; });
}

QByteArray TestLinkRoad::statusDocument(const QByteArray &items) const
{
    return R"({"code":200,"tweet":{"text":"A clip and a picture","created_timestamp":1700000000,)"
           R"("author":{"name":"Some One","screen_name":"Someone"},"media":{"all":[)"
        + items + "]}}}";
}

std::optional<Archive> TestLinkRoad::archiveOnDisk() const
{
    // Every change made so far, on disk.
    m_curator->flush();
    FileArchive reader(archiveFolder());
    auto loaded = reader.load();
    if (!loaded || !*loaded)
        return std::nullopt;
    return **loaded;
}

// ---- the road ---------------------------------------------------------------------------------------

void TestLinkRoad::roadOfOneLink_data()
{
    QTest::addColumn<Way>("way");
    QTest::newRow("direct") << Way::direct;
    QTest::newRow("HTTP proxy") << Way::httpProxy;
    QTest::newRow("SOCKS5 proxy") << Way::socksProxy;
}

void TestLinkRoad::roadOfOneLink()
{
    QFETCH(Way, way);
    build(way);

    const QByteArray clip = pattern(1000000, 'a');
    const QByteArray picture = pattern(5000, 'p');
    const QByteArray thumb = pattern(2000, 't');
    m_server->route("/someone/status/1234567890",
                    HttpReply::json(statusDocument(
                        R"({"type":"video","url":")" + address("/media/clip.mp4").toUtf8() + R"(","thumbnail_url":")"
                        + address("/media/thumb.jpg").toUtf8() + R"(","duration":3.5},)"
                        + R"({"type":"photo","url":")" + address("/media/picture.jpg").toUtf8() + R"("})")));
    m_server->route("/media/clip.mp4", HttpReply::ok(clip, "video/mp4").inPieces(100000, 2ms));
    m_server->route("/media/picture.jpg", HttpReply::ok(picture, "image/jpeg"));
    m_server->route("/media/thumb.jpg", HttpReply::ok(thumb, "image/jpeg"));

    const PostLink link = PostLink::x(Handle{QStringLiteral("someone")}, StatusID{QStringLiteral("1234567890")});
    QList<qint64> progress;
    connect(m_curator.get(), &Curator::localMediaChanged, this, [&] {
        const LocalCopy copy = m_curator->localMedia().copy(link);
        if (const auto *under = copy.asDownloading())
            progress.append(under->received);
    });

    // Pasted, looked up, kept; the cover and the media have arrived when it returns.
    const auto saved = awaitTask(m_curator->save(kPasted), 30s);
    QVERIFY2(saved, "the save did not end");
    QVERIFY2(*saved, "the link was refused");
    const Save::ID id = **saved;

    const auto save = m_curator->library().save(id);
    QVERIFY(save);
    QCOMPARE(save->post().link, link);
    QCOMPARE(save->post().author.name, QStringLiteral("Some One"));
    QCOMPARE(save->post().attachments.size(), std::size_t(2));
    QCOMPARE(save->post().attachments[0].bytes(), qint64(clip.size()));

    const QString coverName = kStem + QStringLiteral(".jpg");
    QCOMPARE(entries(coversFolder()), QStringList{coverName});
    QCOMPARE(contents(QDir(coversFolder()).filePath(coverName)), thumb);
    QVERIFY(m_curator->covers().isKept(save->post()));

    const QString clipName = kStem + QStringLiteral(".mp4");
    const QString pictureName = kStem + QStringLiteral("_2.jpg");
    m_curator->flush();   // the files take their names once the document lists them
    QCOMPARE(entries(mediaFolder()), (QStringList{clipName, pictureName}));
    QCOMPARE(contents(QDir(mediaFolder()).filePath(clipName)), clip);
    QCOMPARE(contents(QDir(mediaFolder()).filePath(pictureName)), picture);
    const LocalCopy here = LocalCopy::onThisComputer(
        {LocalFile{clipName, qint64(clip.size())}, LocalFile{pictureName, qint64(picture.size())}});
    QCOMPARE(m_curator->localMedia().copy(link), here);

    // Progress was seen on the way, part of the total and never past it.
    const qint64 total = qint64(clip.size() + picture.size());
    QVERIFY2(std::any_of(progress.cbegin(), progress.cend(), [&](qint64 r) { return r > 0 && r < total; }),
             "no progress between the start and the end");
    QVERIFY(std::is_sorted(progress.cbegin(), progress.cend()));
    QVERIFY(progress.last() <= total);

    // library.json holds the save and its copy.
    std::optional<Archive> stored = archiveOnDisk();
    QVERIFY(stored);
    QCOMPARE(stored->library.saves.size(), 1);
    QCOMPARE(stored->library.saves[0].id(), id);
    QVERIFY(stored->copies.find(link));
    QCOMPARE(*stored->copies.find(link), here);

    // Every request reached the loopback server, in this order, and through the route.
    const QStringList asked{"GET /someone/status/1234567890", "HEAD /media/clip.mp4", "HEAD /media/picture.jpg",
                            "GET /media/thumb.jpg", "GET /media/clip.mp4", "GET /media/picture.jpg"};
    QCOMPARE(methodsAndPaths(*m_server), asked);
    if (way == Way::httpProxy) {
        QVERIFY(m_httpProxy->visitCount() >= 1);
        for (const HttpProxy::Visit &visit : m_httpProxy->visits())
            QCOMPARE(visit.host, QByteArray(kProxyOnlyHost));
    }
    if (way == Way::socksProxy) {
        QVERIFY(m_socksProxy->visitCount() >= 1);
        for (const Socks5Proxy::Visit &visit : m_socksProxy->visits()) {
            QCOMPARE(visit.host, QByteArray(kProxyOnlyHost));
            QVERIFY(visit.byName);
        }
    }
    QCOMPARE(m_httpProxy->visitCount() > 0, way == Way::httpProxy);
    QCOMPARE(m_socksProxy->visitCount() > 0, way == Way::socksProxy);

    // The same link again: refused with the save, and no request is made.
    const int httpVisits = m_httpProxy->visitCount();
    const int socksVisits = m_socksProxy->visitCount();
    const auto again = awaitTask(m_curator->save(QStringLiteral("https://twitter.com/SOMEONE/status/1234567890")));
    QVERIFY(again && !*again);
    QCOMPARE(again->error(), SaveRefusal::alreadyKept(id));
    QCOMPARE(m_server->requestCount(), int(asked.size()));
    QCOMPARE(m_httpProxy->visitCount(), httpVisits);
    QCOMPARE(m_socksProxy->visitCount(), socksVisits);

    // Trashed and the trash emptied: the save goes on disk, then the files and the cover.
    m_curator->trash(id);
    m_curator->emptyTrash();
    m_curator->flush();
    QCOMPARE(entries(mediaFolder()), QStringList());
    QCOMPARE(entries(coversFolder()), QStringList());
    QVERIFY(m_curator->covers().present().isEmpty());
    QVERIFY(m_curator->leftBehind().isEmpty());
    stored = archiveOnDisk();
    QVERIFY(stored);
    QVERIFY(stored->library.saves.isEmpty());
    QVERIFY(!stored->copies.find(link));
}

// ---- a connection dropped mid-file ---------------------------------------------------------------------

void TestLinkRoad::droppedConnectionLeavesNoPartialFile_data()
{
    QTest::addColumn<HttpReply::Framing>("framing");
    QTest::newRow("with a length") << HttpReply::Framing::contentLength;
    QTest::newRow("chunked") << HttpReply::Framing::chunked;
}

void TestLinkRoad::droppedConnectionLeavesNoPartialFile()
{
    QFETCH(HttpReply::Framing, framing);
    build(Way::direct);

    const QByteArray clip = pattern(1000000, 'a');
    m_server->route("/someone/status/1234567890",
                    HttpReply::json(statusDocument(R"({"type":"photo","url":")" + address("/media/picture.jpg").toUtf8()
                                                   + R"("},{"type":"video","url":")"
                                                   + address("/media/clip.mp4").toUtf8() + R"(","duration":2})")));
    m_server->route("/media/picture.jpg", HttpReply::ok(pattern(5000, 'p'), "image/jpeg"));
    m_server->route("HEAD", "/media/clip.mp4", HttpReply::ok(clip, "video/mp4"));
    m_server->route("GET", "/media/clip.mp4",
                    HttpReply::ok(clip, "video/mp4").framed(framing).inPieces(100000, 2ms).droppedAfter(400000));

    const auto saved = awaitTask(m_curator->save(kPasted), 30s);
    QVERIFY(saved && *saved);
    const PostLink link = PostLink::x(Handle{QStringLiteral("someone")}, StatusID{QStringLiteral("1234567890")});

    // The picture that had arrived is deleted again; nothing of the clip is left.
    QCOMPARE(m_curator->localMedia().copy(link), LocalCopy::failed(DownloadFailure::unreachable));
    QCOMPARE(entries(mediaFolder()), QStringList());
    const std::optional<Archive> stored = archiveOnDisk();
    QVERIFY(stored && stored->copies.find(link));
    QCOMPARE(*stored->copies.find(link), LocalCopy::failed(DownloadFailure::unreachable));
    // The cover is the picture, and it stays.
    QCOMPARE(entries(coversFolder()), QStringList{kStem + QStringLiteral(".jpg")});
}

QTEST_GUILESS_MAIN(TestLinkRoad)
#include "tst_linkroad.moc"
