#include "AwaitTask.h"
#include "HttpProxy.h"
#include "HttpServer.h"
#include "StashKit/Network.h"
#include "PaintTesting.h"
#include "StashwellUI/Pictures/PictureCache.h"

#include <QBuffer>
#include <QCoro/QCoroTask>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

Q_DECLARE_METATYPE(sw::test::HttpReply)

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

QImage testImage(int width, int height, QColor top = Qt::red, QColor bottom = Qt::blue)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, height / 2, top);
    painter.fillRect(0, height / 2, width, height - height / 2, bottom);
    return image;
}

QByteArray encoded(const QImage &image, const char *format = "PNG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A picture of noise, which does not compress: its file is about as large as its pixels.
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    return image;
}

// A JPEG whose EXIF block records an orientation (6: the stored pixels are to be turned a quarter
// clockwise).
QByteArray jpegWithOrientation(const QImage &image, quint16 orientation)
{
    QByteArray jpeg = encoded(image, "JPEG");
    QByteArray tiff;
    tiff.append("MM\x00\x2a", 4);
    tiff.append("\x00\x00\x00\x08", 4);                     // the first directory follows at once
    tiff.append("\x00\x01", 2);                             // one entry
    tiff.append("\x01\x12\x00\x03\x00\x00\x00\x01", 8);     // Orientation, SHORT, count 1
    tiff.append(char(orientation >> 8)).append(char(orientation & 0xff)).append("\x00\x00", 2);
    tiff.append("\x00\x00\x00\x00", 4);                     // no next directory
    QByteArray segment("\xff\xe1", 2);
    const int length = 2 + 6 + int(tiff.size());
    segment.append(char(length >> 8)).append(char(length & 0xff));
    segment.append("Exif\x00\x00", 6).append(tiff);
    jpeg.insert(2, segment);   // right after the start-of-image marker
    return jpeg;
}

Url urlOf(const QUrl &url)
{
    return Url::fromQUrl(url);
}

PicturePointer awaitPicture(PictureCache &cache, const PictureKey &key, std::chrono::milliseconds limit = 10s)
{
    const auto result = awaitTask(cache.picture(key), limit);
    if (!result)
        qWarning("the picture did not arrive within the limit");
    return result.value_or(nullptr);
}

}  // namespace

class TestPictureCache : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void keyString();
    void decodesWithinTheBound_data();
    void decodesWithinTheBound();
    void appliesTheOrientation();
    void oversizedDeclarationIsRefused();
    void concurrentRequestsShareOneLoad();
    void twoSizesAreTwoPictures();
    void silentServerDoesNotHoldTheKey_data();
    void silentServerDoesNotHoldTheKey();
    void repliesThatAreNotPictures_data();
    void repliesThatAreNotPictures();
    void failedLoadIsTriedAgain();
    void onlyHttpIsFetched();
    void remotePicturesNeedTheNetwork();
    void remotePicturesTakeTheRoute();
    void costBoundEvicts();
    void pictureLargerThanTheBudgetIsNotKept();
    void loadOutlivesItsRequester();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpServer> m_server;
    std::unique_ptr<Network> m_network;
};

void TestPictureCache::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_server = std::make_unique<HttpServer>();
    QVERIFY(m_server->listen());
    m_network = std::make_unique<Network>(NetworkRoute::direct());
}

void TestPictureCache::cleanup()
{
    m_network.reset();
    m_server.reset();
    m_dir.reset();
}

QString TestPictureCache::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void TestPictureCache::keyString()
{
    const PictureKey key{Url::fromLocalFile(QStringLiteral("/tmp/a.png")), 102};
    QCOMPARE(key.keyString(), QStringLiteral("102|file:///tmp/a.png"));
    const PictureKey other{key.url, 60};
    QVERIFY(!(key == other));
    QVERIFY(key.keyString() != other.keyString());
}

void TestPictureCache::decodesWithinTheBound_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<qint64>("maxPixels");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("wide picture scaled to its longer side") << QSize(400, 200) << qint64(100) << QSize(100, 50);
    QTest::newRow("tall picture scaled to its longer side") << QSize(90, 300) << qint64(60) << QSize(18, 60);
    QTest::newRow("smaller picture is never enlarged") << QSize(50, 20) << qint64(100) << QSize(50, 20);
    QTest::newRow("exactly the bound") << QSize(102, 40) << qint64(102) << QSize(102, 40);
    QTest::newRow("a thin sliver keeps a pixel") << QSize(1000, 2) << qint64(10) << QSize(10, 1);
    QTest::newRow("no pixels asked") << QSize(40, 40) << qint64(0) << QSize();
    QTest::newRow("negative size asked") << QSize(40, 40) << qint64(-5) << QSize();
}

void TestPictureCache::decodesWithinTheBound()
{
    QFETCH(QSize, stored);
    QFETCH(qint64, maxPixels);
    QFETCH(QSize, decoded);

    const QString path = writeFile(QStringLiteral("p.png"), encoded(testImage(stored.width(), stored.height())));
    QVERIFY(!path.isEmpty());
    PictureCache cache;
    const PicturePointer picture = awaitPicture(cache, PictureKey{Url::fromLocalFile(path), maxPixels});
    if (!decoded.isValid()) {
        QVERIFY(!picture);
        QCOMPARE(cache.count(), 0);
        return;
    }
    QVERIFY(picture);
    QCOMPARE(picture->image.size(), decoded);
    QCOMPARE(picture->key.maxPixels, maxPixels);
    QCOMPARE(cache.totalCost(), picture->cost());
    QCOMPARE(picture->cost(), qint64(picture->image.bytesPerLine()) * decoded.height());
}

void TestPictureCache::appliesTheOrientation()
{
    // Stored 40 × 20, red over blue; turned a quarter clockwise the red half is on the right.
    const QString path = writeFile(QStringLiteral("turned.jpg"), jpegWithOrientation(testImage(40, 20), 6));
    QVERIFY(!path.isEmpty());
    PictureCache cache;
    const PicturePointer full = awaitPicture(cache, PictureKey{Url::fromLocalFile(path), 100});
    QVERIFY(full);
    QCOMPARE(full->image.size(), QSize(20, 40));
    QVERIFY(test::sameColour(full->image.pixelColor(17, 20), Qt::red, 39));
    QVERIFY(test::sameColour(full->image.pixelColor(2, 20), Qt::blue, 39));

    const PicturePointer small = awaitPicture(cache, PictureKey{Url::fromLocalFile(path), 20});
    QVERIFY(small);
    QCOMPARE(small->image.size(), QSize(10, 20));
}

void TestPictureCache::oversizedDeclarationIsRefused()
{
    // A small file that declares a picture far larger than the decoder may allocate.
    const QByteArray bytes = encoded(testImage(3000, 3000));
    QVERIFY(PictureCache::decode(bytes, 100, 256).isNull() == false);
    QVERIFY(PictureCache::decode(bytes, 100, 16).isNull());
}

void TestPictureCache::concurrentRequestsShareOneLoad()
{
    HttpReply reply = HttpReply::ok(encoded(testImage(64, 64)), "image/png");
    reply.delay = 200ms;
    m_server->route("/a.png", reply);
    PictureCache cache;
    cache.setSessions(m_network->sessions());
    const PictureKey key{urlOf(m_server->url(QStringLiteral("/a.png"))), 32};

    QList<PicturePointer> results;
    int answered = 0;
    for (int i = 0; i < 3; ++i) {
        cache.request(key, nullptr, [&](PicturePointer picture) {
            results.append(picture);
            ++answered;
        });
    }
    QVERIFY(cache.isLoading(key));
    QCOMPARE(cache.loadingCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(answered, 3, 10000);
    QCOMPARE(m_server->requestCount("/a.png"), 1);
    QVERIFY(results[0]);
    QCOMPARE(results[0]->image.size(), QSize(32, 32));
    QCOMPARE(results[1].get(), results[0].get());
    QCOMPARE(results[2].get(), results[0].get());
    QVERIFY(!cache.isLoading(key));

    // Later requests come from memory.
    QCOMPARE(cache.cached(key).get(), results[0].get());
    QCOMPARE(awaitPicture(cache, key).get(), results[0].get());
    QCOMPARE(m_server->requestCount("/a.png"), 1);
}

void TestPictureCache::twoSizesAreTwoPictures()
{
    m_server->route("/a.png", HttpReply::ok(encoded(testImage(200, 100)), "image/png"));
    PictureCache cache;
    cache.setSessions(m_network->sessions());
    const Url url = urlOf(m_server->url(QStringLiteral("/a.png")));
    const PicturePointer avatar = awaitPicture(cache, PictureKey{url, 60});
    const PicturePointer large = awaitPicture(cache, PictureKey{url, 102});
    QVERIFY(avatar && large);
    QCOMPARE(avatar->image.width(), 60);
    QCOMPARE(large->image.width(), 102);
    QCOMPARE(cache.count(), 2);
    QCOMPARE(m_server->requestCount("/a.png"), 2);
}

void TestPictureCache::silentServerDoesNotHoldTheKey_data()
{
    QTest::addColumn<HttpReply>("reply");
    QTest::newRow("never answers") << HttpReply::never();
    // Bytes keep coming, each before a stall would be noticed, but the whole takes too long.
    QTest::newRow("trickles past the time-out")
        << (HttpReply::ok(encoded(noise(40, 40)), "image/png").inPieces(64, 60ms));
}

void TestPictureCache::silentServerDoesNotHoldTheKey()
{
    QFETCH(HttpReply, reply);
    m_server->route("/slow.png", reply);
    PictureCache::Limits limits;
    limits.timeout = 400ms;
    PictureCache cache(limits);
    cache.setSessions(m_network->sessions());
    const PictureKey key{urlOf(m_server->url(QStringLiteral("/slow.png"))), 40};

    const auto first = awaitTask(cache.picture(key), 8s);
    QVERIFY2(first.has_value(), "the load must end by itself");
    QVERIFY(!*first);
    QVERIFY(!cache.isLoading(key));
    QCOMPARE(cache.count(), 0);

    // The key is free again: the next request asks the server anew.
    const auto second = awaitTask(cache.picture(key), 8s);
    QVERIFY(second.has_value());
    QVERIFY(!*second);
    QCOMPARE(m_server->requestCount("/slow.png"), 2);
}

void TestPictureCache::repliesThatAreNotPictures_data()
{
    const QByteArray png = encoded(testImage(40, 40));
    const QByteArray large = encoded(noise(300, 300));   // about 270 KB, over the 64 KiB limit below

    QTest::addColumn<HttpReply>("reply");
    QTest::addColumn<bool>("arrives");
    QTest::newRow("picture within the limit") << HttpReply::ok(png, "image/png") << true;
    QTest::newRow("announced length over the limit") << HttpReply::ok(large, "image/png") << false;
    QTest::newRow("chunked body over the limit")
        << HttpReply::ok(large, "image/png").framed(HttpReply::Framing::chunked) << false;
    QTest::newRow("body until close over the limit")
        << HttpReply::ok(large, "image/png").framed(HttpReply::Framing::untilClose) << false;
    // The first piece alone passes the limit; the rest would take far longer than the test waits.
    QTest::newRow("refused without waiting for the rest")
        << HttpReply::ok(large, "image/png").framed(HttpReply::Framing::chunked).inPieces(100 * 1024, 4000ms) << false;
    QTest::newRow("error page") << HttpReply::withStatus(404, "<html><body>Not found</body></html>") << false;
    QTest::newRow("corrupt picture") << HttpReply::ok(QByteArray("\x89PNG\r\n\x1a\nnot really a picture", 28), "image/png")
                                     << false;
    QTest::newRow("truncated picture") << HttpReply::ok(png.left(png.size() / 3), "image/png") << false;
    QTest::newRow("empty body") << HttpReply::ok(QByteArray(), "image/png") << false;
    QTest::newRow("connection dropped mid-body") << HttpReply::ok(png, "image/png").droppedAfter(png.size() / 2) << false;
    // The status is not what decides: a picture that comes with an error status is still shown.
    QTest::newRow("picture with an error status") << HttpReply::withStatus(404, png) << true;
}

void TestPictureCache::repliesThatAreNotPictures()
{
    QFETCH(HttpReply, reply);
    QFETCH(bool, arrives);
    m_server->route("/p", reply);
    PictureCache::Limits limits;
    limits.body = 64 * 1024;
    PictureCache cache(limits);
    cache.setSessions(m_network->sessions());
    const PictureKey key{urlOf(m_server->url(QStringLiteral("/p"))), 40};

    const auto result = awaitTask(cache.picture(key), 3s);
    QVERIFY2(result.has_value(), "a reply that is not a picture is refused as soon as it shows");
    QCOMPARE(bool(*result), arrives);
    QCOMPARE(cache.count(), arrives ? 1 : 0);
    QCOMPARE(cache.loadingCount(), 0);
}

void TestPictureCache::failedLoadIsTriedAgain()
{
    m_server->route("/flaky.png", HttpReply::withStatus(503, "busy"));
    PictureCache cache;
    cache.setSessions(m_network->sessions());
    const PictureKey key{urlOf(m_server->url(QStringLiteral("/flaky.png"))), 40};
    QVERIFY(!awaitPicture(cache, key));
    QVERIFY(!cache.cached(key));

    m_server->route("/flaky.png", HttpReply::ok(encoded(testImage(40, 40)), "image/png"));
    const PicturePointer picture = awaitPicture(cache, key);
    QVERIFY(picture);
    QCOMPARE(cache.cached(key).get(), picture.get());
    QCOMPARE(m_server->requestCount("/flaky.png"), 2);

    // A missing file that appears later is read then.
    const QString path = m_dir->filePath(QStringLiteral("later.png"));
    const PictureKey fileKey{Url::fromLocalFile(path), 40};
    QVERIFY(!awaitPicture(cache, fileKey));
    QVERIFY(!writeFile(QStringLiteral("later.png"), encoded(testImage(8, 8))).isEmpty());
    QVERIFY(awaitPicture(cache, fileKey));
}

void TestPictureCache::onlyHttpIsFetched()
{
    PictureCache cache;
    cache.setSessions(m_network->sessions());
    const QString ftp = QStringLiteral("ftp://127.0.0.1:%1/a.png").arg(m_server->port());
    for (const QString &text : {ftp, QStringLiteral("data:image/png;base64,AAAA"), QStringLiteral("about:blank")}) {
        const std::optional<Url> url = Url::parse(text);
        QVERIFY(url);
        QVERIFY(!awaitPicture(cache, PictureKey{*url, 40}));
    }
    QVERIFY(!awaitPicture(cache, PictureKey{Url(), 40}));
    QCOMPARE(m_server->requestCount(), 0);
    QCOMPARE(cache.loadingCount(), 0);
}

void TestPictureCache::remotePicturesNeedTheNetwork()
{
    m_server->route("/a.png", HttpReply::ok(encoded(testImage(20, 20)), "image/png"));
    PictureCache cache;
    const PictureKey key{urlOf(m_server->url(QStringLiteral("/a.png"))), 40};
    QVERIFY(!awaitPicture(cache, key));
    QCOMPARE(m_server->requestCount(), 0);

    cache.setSessions(m_network->sessions());
    QVERIFY(awaitPicture(cache, key));
    // A network that goes away takes remote pictures with it; what memory holds stays.
    m_network.reset();
    QVERIFY(cache.cached(key));
    QVERIFY(!awaitPicture(cache, PictureKey{key.url, 20}));
}

void TestPictureCache::remotePicturesTakeTheRoute()
{
    m_server->route("/a.png", HttpReply::ok(encoded(testImage(30, 30)), "image/png"));
    HttpProxy proxy;
    QVERIFY(proxy.listen());
    proxy.hosts().add(kProxyOnlyHost, m_server->port());
    Network network(NetworkRoute(NetworkRoute::Http{QStringLiteral("127.0.0.1"), proxy.port()}));
    PictureCache cache;
    cache.setSessions(network.sessions());

    // Only the proxy knows this host: the picture can arrive only through it.
    const QUrl address(QStringLiteral("http://%1:%2/a.png").arg(QLatin1String(kProxyOnlyHost)).arg(m_server->port()));
    const PicturePointer picture = awaitPicture(cache, PictureKey{urlOf(address), 30});
    QVERIFY(picture);
    QCOMPARE(picture->image.size(), QSize(30, 30));
    QCOMPARE(proxy.visitCount(), 1);
    QCOMPARE(m_server->requestCount("/a.png"), 1);
}

void TestPictureCache::costBoundEvicts()
{
    // Each picture decodes to 32 × 32 × 4 = 4 KiB; the budget holds two.
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths.append(writeFile(QStringLiteral("%1.png").arg(i), encoded(testImage(64, 64, QColor(i * 60, 0, 0)))));
        QVERIFY(!paths.last().isEmpty());
    }
    PictureCache::Limits limits;
    limits.totalCost = 2 * 32 * 32 * 4;
    PictureCache cache(limits);
    QList<PictureKey> keys;
    for (const QString &path : paths) {
        keys.append(PictureKey{Url::fromLocalFile(path), 32});
        const PicturePointer picture = awaitPicture(cache, keys.last());
        QVERIFY(picture);
        QCOMPARE(picture->cost(), 32 * 32 * 4);
        QVERIFY(cache.totalCost() <= limits.totalCost);
    }
    QCOMPARE(cache.count(), 2);
    QVERIFY(!cache.cached(keys[0]));   // the least recently used went
    QVERIFY(cache.cached(keys[1]));
    QVERIFY(cache.cached(keys[2]));
}

void TestPictureCache::pictureLargerThanTheBudgetIsNotKept()
{
    const QString path = writeFile(QStringLiteral("big.png"), encoded(testImage(100, 100)));
    PictureCache::Limits limits;
    limits.totalCost = 1000;
    PictureCache cache(limits);
    const PictureKey key{Url::fromLocalFile(path), 100};
    const PicturePointer picture = awaitPicture(cache, key);
    QVERIFY(picture);   // handed to the one who asked
    QVERIFY(!cache.cached(key));
    QCOMPARE(cache.totalCost(), 0);
}

void TestPictureCache::loadOutlivesItsRequester()
{
    HttpReply reply = HttpReply::ok(encoded(testImage(20, 20)), "image/png");
    reply.delay = 100ms;
    m_server->route("/a.png", reply);
    PictureCache cache;
    cache.setSessions(m_network->sessions());
    const PictureKey key{urlOf(m_server->url(QStringLiteral("/a.png"))), 20};

    bool called = false;
    auto requester = std::make_unique<QObject>();
    cache.request(key, requester.get(), [&](PicturePointer) { called = true; });
    requester.reset();   // the view went away
    QTRY_VERIFY_WITH_TIMEOUT(bool(cache.cached(key)), 10000);
    QVERIFY(!called);
    QCOMPARE(cache.loadingCount(), 0);
}

QTEST_MAIN(TestPictureCache)
#include "tst_picturecache.moc"
