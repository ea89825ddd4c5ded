#include "AwaitTask.h"
#include "StashwellUI/Pictures/Avatar.h"
#include "StashwellUI/Pictures/CachedImage.h"
#include "Gallery.h"
#include "HttpServer.h"
#include "StashKit/Network.h"
#include "PaintTesting.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Design/Tokens.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QHBoxLayout>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <vector>

using namespace sw;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

QByteArray png(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

class TestAvatar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void initial_data();
    void initial();
    void paletteIndex_data();
    void paletteIndex();
    void maxPixels_data();
    void maxPixels();
    void tileWithoutPicture();
    void pictureFillsTheSquare();
    void cachedPictureShowsInTheFirstFrame();
    void staleLoadIsNotShown();
    void failedLoadWaitsForTheNextShowing();
    void loadWaitsForTheFirstFrame();
    void loadEndingRepaintsOnlyWhatChanged_data();
    void loadEndingRepaintsOnlyWhatChanged();
    void gallery();

private:
    QString file(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestAvatar::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAvatar::cleanup()
{
    m_dir.reset();
}

QString TestAvatar::file(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return {};
    return path;
}

void TestAvatar::initial_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initial");
    QTest::newRow("plain") << QStringLiteral("ana") << QStringLiteral("A");
    QTest::newRow("empty") << QString() << QStringLiteral("?");
    QTest::newRow("leading space is kept") << QStringLiteral(" bob") << QStringLiteral(" ");
    QTest::newRow("accented") << QStringLiteral("émile") << QStringLiteral("É");
    QTest::newRow("combining mark stays with its letter") << QStringLiteral("e\u0301mile") << QStringLiteral("E\u0301");
    QTest::newRow("emoji with a skin tone") << QStringLiteral("👍🏽 fan") << QStringLiteral("👍🏽");
    QTest::newRow("full case mapping") << QStringLiteral("ßtraße") << QStringLiteral("SS");
    QTest::newRow("no case") << QStringLiteral("山田") << QStringLiteral("山");
}

void TestAvatar::initial()
{
    QFETCH(QString, name);
    QFETCH(QString, initial);
    QCOMPARE(Avatar::initial(name), initial);
}

void TestAvatar::paletteIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::newRow("ana: 304 mod 6") << QStringLiteral("ana") << 4;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("one scalar") << QStringLiteral("a") << 97 % 6;
    // U+1F600 is one scalar (128512), not two UTF-16 units (which would give 1).
    QTest::newRow("astral scalar") << QStringLiteral("😀") << 4;
}

void TestAvatar::paletteIndex()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QCOMPARE(Avatar::paletteIndex(name), index);
    // The same name always the same colour.
    QCOMPARE(Avatar::paletteIndex(QString(name)), index);
}

void TestAvatar::maxPixels_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<qint64>("pixels");
    QTest::newRow("default") << 34.0 << qint64(102);
    QTest::newRow("small") << 20.0 << qint64(60);
    QTest::newRow("rounded toward zero") << 33.5 << qint64(100);
    QTest::newRow("zero") << 0.0 << qint64(0);
    QTest::newRow("negative") << -4.0 << qint64(0);
}

void TestAvatar::maxPixels()
{
    QFETCH(double, size);
    QFETCH(qint64, pixels);
    QCOMPARE(Avatar::maxPixels(size), pixels);
}

void TestAvatar::tileWithoutPicture()
{
    Avatar avatar(QStringLiteral("ana"), std::nullopt);
    QCOMPARE(avatar.sizeHint(), QSize(34, 34));
    QVERIFY(!avatar.image().key());
    // Decorative: assistive technologies skip it (the author's name is read beside it).
    QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(&avatar);
    QVERIFY(readable && readable->state().invisible);
    QVERIFY(readable->text(QAccessible::Name).isEmpty());
    const QImage image = renderAtSizeHint(avatar);
    // The fifth palette colour fills the square; the continuous corner (radius 10.2) is cut.
    QVERIFY(sameColour(image.pixelColor(4, 17), Tokens::Colors::avatarPalette()[4], 7, true));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    // The initial is drawn in white in the middle.
    bool white = false;
    for (int x = 10; x < 24 && !white; ++x)
        for (int y = 10; y < 24 && !white; ++y)
            white = image.pixelColor(x, y).lightness() > 240;
    QVERIFY(white);

    // A different name, a different tile.
    avatar.setName(QStringLiteral("bo"));   // 98 + 111 = 209, mod 6 = 5
    QVERIFY(sameColour(renderAtSizeHint(avatar).pixelColor(4, 17), Tokens::Colors::avatarPalette()[5], 7, true));
}

void TestAvatar::pictureFillsTheSquare()
{
    // A wide picture: scaled to fill, it covers the whole square (no bands above or below).
    const QString path = file(QStringLiteral("wide.png"), png(QSize(300, 100), Qt::red));
    Avatar avatar(QStringLiteral("ana"), Url::fromLocalFile(path));
    QCOMPARE(avatar.image().key()->maxPixels, 102);
    avatar.image().load();
    QTRY_VERIFY_WITH_TIMEOUT(bool(avatar.picture()), 10000);
    QCOMPARE(avatar.picture()->image.size(), QSize(102, 34));
    const QImage image = renderAtSizeHint(avatar);
    QVERIFY(sameColour(image.pixelColor(17, 1), Qt::red, 7, true));
    QVERIFY(sameColour(image.pixelColor(17, 32), Qt::red, 7, true));
    QVERIFY(sameColour(image.pixelColor(1, 17), Qt::red, 7, true));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);

    // A smaller avatar asks for a picture of its own size.
    avatar.setAvatarSize(20);
    QCOMPARE(avatar.image().key()->maxPixels, 60);
    QVERIFY(!avatar.picture());   // not the 102-pixel one
}

void TestAvatar::cachedPictureShowsInTheFirstFrame()
{
    const QString path = file(QStringLiteral("a.png"), png(QSize(50, 50), Qt::blue));
    const PictureKey key{Url::fromLocalFile(path), 102};
    QVERIFY(awaitTask(PictureCache::shared().picture(key)).value_or(nullptr));

    Avatar avatar(QStringLiteral("ana"), key.url);
    // No event loop has run: the picture comes straight from memory.
    QVERIFY(avatar.picture());
    QCOMPARE(avatar.picture().get(), PictureCache::shared().cached(key).get());
    QVERIFY(sameColour(renderAtSizeHint(avatar).pixelColor(17, 17), Qt::blue, 7, true));
}

void TestAvatar::staleLoadIsNotShown()
{
    HttpServer server;
    QVERIFY(server.listen());
    HttpReply slow = HttpReply::ok(png(QSize(40, 40), Qt::red), "image/png");
    slow.delay = 300ms;
    server.route("/slow.png", slow);
    server.route("/fast.png", HttpReply::ok(png(QSize(40, 40), Qt::green), "image/png"));
    Network network(NetworkRoute::direct());
    PictureCache cache;
    cache.setSessions(network.sessions());

    QWidget owner;
    CachedImage image(&owner, &cache);
    owner.show();
    const Url slowUrl = Url::fromQUrl(server.url(QStringLiteral("/slow.png")));
    const Url fastUrl = Url::fromQUrl(server.url(QStringLiteral("/fast.png")));
    int arrivals = 0;
    connect(&image, &CachedImage::arrived, this, [&] { ++arrivals; });

    image.setSource(slowUrl, 40);
    QVERIFY(!image.current());
    image.setSource(fastUrl, 40);   // changed while the first load runs
    QTRY_COMPARE_WITH_TIMEOUT(arrivals, 2, 10000);
    // Both loads filled the cache; only the current address is shown.
    QVERIFY(cache.cached(PictureKey{slowUrl, 40}));
    QVERIFY(image.current());
    QCOMPARE(image.current()->key.url, fastUrl);

    // Back to the first address: shown at once from memory, nothing fetched again.
    image.setSource(slowUrl, 40);
    QVERIFY(image.current());
    QCOMPARE(image.current()->key.url, slowUrl);
    QCOMPARE(server.requestCount(), 2);

    // No address: nothing, and nothing asked.
    image.setSource(std::nullopt, 40);
    QVERIFY(!image.current());
    QVERIFY(!image.key());
}

void TestAvatar::failedLoadWaitsForTheNextShowing()
{
    HttpServer server;
    QVERIFY(server.listen());
    server.route("/gone.png", HttpReply::withStatus(404, "<html>gone</html>"));
    Network network(NetworkRoute::direct());
    PictureCache cache;
    cache.setSessions(network.sessions());

    QWidget owner;
    CachedImage image(&owner, &cache);
    int arrivals = 0;
    connect(&image, &CachedImage::arrived, this, [&] { ++arrivals; });
    image.setSource(Url::fromQUrl(server.url(QStringLiteral("/gone.png"))), 40);
    QCOMPARE(server.requestCount(), 0);   // not on screen yet

    owner.show();
    QTRY_COMPARE_WITH_TIMEOUT(arrivals, 1, 10000);
    QVERIFY(!image.current());
    image.load();   // repaints and the like do not hammer the server
    QTest::qWait(50);
    QCOMPARE(server.requestCount(), 1);

    owner.hide();
    owner.show();   // on screen again: tried anew
    QTRY_COMPARE_WITH_TIMEOUT(arrivals, 2, 10000);
    QCOMPARE(server.requestCount(), 2);
}

namespace {

// Tells each of its paints.
class PaintProbe : public QWidget {
public:
    std::function<void()> painted;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (painted)
            painted();
    }
};

}  // namespace

// The frame that brings a view on screen shows its placeholder without waiting for the fetch to
// be handed to the network; the fetch starts right after it.
void TestAvatar::loadWaitsForTheFirstFrame()
{
    HttpServer server;
    QVERIFY(server.listen());
    server.route("/late.png", HttpReply::ok(png(QSize(40, 40), Qt::blue), "image/png"));
    Network network(NetworkRoute::direct());
    PictureCache cache;
    cache.setSessions(network.sessions());

    PaintProbe owner;
    owner.resize(60, 60);
    CachedImage image(&owner, &cache);
    const PictureKey key{Url::fromQUrl(server.url(QStringLiteral("/late.png"))), 40};
    image.setSource(key.url, key.maxPixels);
    std::vector<bool> askedAtPaint;
    owner.painted = [&] { askedAtPaint.push_back(cache.isLoading(key) || cache.cached(key)); };

    owner.show();
    QVERIFY(!cache.isLoading(key));
    QTRY_VERIFY_WITH_TIMEOUT(!askedAtPaint.empty(), 10000);
    QCOMPARE(askedAtPaint.front(), false);
    QTRY_VERIFY_WITH_TIMEOUT(bool(image.current()), 10000);
    QCOMPARE(server.requestCount(), 1);

    // Hidden before it is painted: nothing is asked for a view that never came on screen.
    const PictureKey never{Url::fromQUrl(server.url(QStringLiteral("/never.png"))), 40};
    image.setSource(never.url, never.maxPixels);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestCount(), 2, 10000);   // on screen: asked for at once
    QTRY_VERIFY_WITH_TIMEOUT(!cache.isLoading(never), 10000);
    owner.hide();
    owner.show();
    owner.hide();
    QTest::qWait(50);
    QCOMPARE(server.requestCount(), 2);
}

void TestAvatar::loadEndingRepaintsOnlyWhatChanged_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("pictured");
    QTest::newRow("a picture: drawn") << QStringLiteral("/there.png") << true;
    QTest::newRow("refused: the placeholder stands") << QStringLiteral("/gone.png") << false;
    QTest::newRow("not a picture: the placeholder stands") << QStringLiteral("/words.png") << false;
}

// A view's load that brings nothing leaves its placeholder as drawn: the view is not painted
// again, though the load's end is told all the same.
void TestAvatar::loadEndingRepaintsOnlyWhatChanged()
{
    QFETCH(QString, path);
    QFETCH(bool, pictured);
    HttpServer server;
    QVERIFY(server.listen());
    server.route("/there.png", HttpReply::ok(png(QSize(40, 40), Qt::green), "image/png"));
    server.route("/gone.png", HttpReply::withStatus(404, "<html>gone</html>"));
    server.route("/words.png", HttpReply::ok("no picture here", "image/png"));
    Network network(NetworkRoute::direct());
    PictureCache cache;
    cache.setSessions(network.sessions());

    PaintProbe owner;
    owner.resize(60, 60);
    int paints = 0;
    owner.painted = [&] { ++paints; };
    CachedImage image(&owner, &cache);
    int arrivals = 0;
    int paintsAtArrival = 0;
    connect(&image, &CachedImage::arrived, this, [&] {
        ++arrivals;
        paintsAtArrival = paints;
    });
    image.setSource(Url::fromQUrl(server.url(path)), 40);
    owner.show();
    QTRY_COMPARE_WITH_TIMEOUT(arrivals, 1, 10000);
    QVERIFY(paintsAtArrival >= 1);   // the placeholder's frame came first
    QTest::qWait(100);
    QCOMPARE(bool(image.current()), pictured);
    QCOMPARE(paints, paintsAtArrival + (pictured ? 1 : 0));
}

void TestAvatar::gallery()
{
    const QString path = file(QStringLiteral("face.png"), [] {
        QImage face(120, 120, QImage::Format_RGB32);
        QPainter painter(&face);
        QLinearGradient gradient(0, 0, 120, 120);
        gradient.setColorAt(0, QColor(80, 140, 220));
        gradient.setColorAt(1, QColor(240, 170, 90));
        painter.fillRect(face.rect(), gradient);
        painter.setBrush(QColor(255, 230, 200));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRectF(30, 20, 60, 70));
        painter.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        face.save(&buffer, "PNG");
        return bytes;
    }());
    QWidget sheet;
    auto *row = new QHBoxLayout(&sheet);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(12);
    const QStringList names{QStringLiteral("ana"), QStringLiteral("Bo"), QString(), QStringLiteral("山田"),
                            QStringLiteral("zoë"), QStringLiteral("Émile")};
    for (const QString &name : names)
        row->addWidget(new Avatar(name, std::nullopt));
    auto *pictured = new Avatar(QStringLiteral("Face"), Url::fromLocalFile(path));
    row->addWidget(pictured);
    row->addWidget(new Avatar(QStringLiteral("Small"), std::nullopt, 20));
    auto *small = new Avatar(QStringLiteral("Face"), Url::fromLocalFile(path), 20);
    row->addWidget(small);
    pictured->image().load();
    QTRY_VERIFY_WITH_TIMEOUT(bool(pictured->picture()), 10000);
    sheet.show();
    // The small one asks for its picture once it is on screen.
    QTRY_VERIFY_WITH_TIMEOUT(bool(small->picture()), 10000);

    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("avatar"), &why), qPrintable(why));
}

QTEST_MAIN(TestAvatar)
#include "tst_avatar.moc"
