#include "ControlTesting.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Pictures/PictureFeed.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "ThumbnailFixtures.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The picture feed of painted views: one load per picture however often it is asked for, a repaint
// when it arrives, no new attempts at a picture that cannot be had; and a fed picture painted into
// a thumbnail's box.

using namespace sw;
using namespace sw::fixtures;

namespace {

// Writes a picture of that size and colour and returns its address.
Url writePicture(const QTemporaryDir &dir, const QString &name, QSize size, QColor color)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(color);
    const QString path = dir.filePath(name);
    picture.save(path, "PNG");
    return Url::fromLocalFile(path);
}

}  // namespace

class TestPictureFeed : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void feedLoadsOnceAndRepaints();
};

void TestPictureFeed::feedLoadsOnceAndRepaints()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Url address = writePicture(dir, QStringLiteral("a.png"), QSize(64, 32), Qt::red);
    const Url broken = Url::fromLocalFile(dir.filePath(QStringLiteral("missing.png")));
    PictureCache cache;
    QWidget host;
    PictureFeed feed(&host, &cache);
    test::PaintCounter paints(&host);
    host.resize(20, 20);
    QVERIFY(test::showWidget(host));
    paints.settle();
    paints.reset();

    const PictureKey key{address, 900};
    QSignalSpy arrived(&feed, &PictureFeed::arrived);
    QVERIFY(!feed.picture(key));   // nothing held yet: one load starts
    feed.picture(key);             // asked again meanwhile: no second load
    QTRY_COMPARE(arrived.count(), 1);
    QCOMPARE(feed.pendingCount(), 0);
    QVERIFY(paints.settle() >= 1);
    const PicturePointer picture = feed.picture(key);
    QVERIFY(picture);
    QCOMPARE(picture->image.size(), QSize(64, 32));

    // A picture that cannot be had is not asked for again on every paint.
    const PictureKey brokenKey{broken, 900};
    QVERIFY(!feed.picture(brokenKey));
    QTRY_COMPARE(arrived.count(), 2);
    QVERIFY(!feed.picture(brokenKey));
    QVERIFY(!feed.picture(brokenKey));
    QTest::qWait(50);
    QCOMPARE(arrived.count(), 2);
    QCOMPARE(feed.pendingCount(), 0);
    // No address, no load.
    QVERIFY(!feed.picture(std::nullopt));
    QCOMPARE(feed.pendingCount(), 0);

    // Painted into a box it fills the frame, cut to its corners.
    ShelfItem shelfItem = item(save(post(xLink(), images(1)), 1));
    shelfItem.setPictures({address});
    const MediaThumbnail thumbnail(shelfItem, 100);
    QImage canvas(200, 100, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        thumbnail.paint(painter, QRectF(0, 0, 200, 100), {}, picture);
    }
    QCOMPARE(QColor(canvas.pixel(100, 50)), QColor(Qt::red));
    QCOMPARE(qAlpha(canvas.pixel(0, 0)), 0);
}

QTEST_MAIN(TestPictureFeed)
#include "tst_picturefeed.moc"
