#include "ControlTesting.h"
#include "Gallery.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "ThumbnailFixtures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <memory>

// Where the media thumbnail draws: its marks inside the frame, a picture kept at its own shape,
// what a point falls on; and its look in the gallery.

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(std::vector<sw::Attachment>)
Q_DECLARE_METATYPE(sw::MediaThumbnail)
Q_DECLARE_METATYPE(sw::MediaThumbnail::Hit)

namespace {

using Hit = MediaThumbnail::Hit;

// A decoded picture of that size: a diagonal gradient with a frame, so that cutting and fitting show.
PicturePointer pictureOf(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(0x2b, 0x6c, 0x8f));
    gradient.setColorAt(1, QColor(0xf2, 0xa5, 0x41));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::white, std::max(2, size.width() / 60)));
    painter.drawRect(image.rect().adjusted(4, 4, -5, -5));
    painter.end();
    const QString name = QStringLiteral("file:///tmp/picture-%1x%2.png").arg(size.width()).arg(size.height());
    return std::make_shared<const Picture>(Picture{PictureKey{url(name), 900}, image});
}

}  // namespace

class TestMediaThumbnailLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void layoutKeepsMarksInsideTheFrame_data();
    void layoutKeepsMarksInsideTheFrame();
    void keepShapeHugsThePicture_data();
    void keepShapeHugsThePicture();
    void hitTest_data();
    void hitTest();
    void gallery_data();
    void gallery();
};

void TestMediaThumbnailLayout::layoutKeepsMarksInsideTheFrame_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<double>("width");
    QTest::newRow("downloading") << LocalCopy::downloading(7, 3) << 280.0;
    QTest::newRow("downloading, narrow") << LocalCopy::downloading(1, 4) << 60.0;
    QTest::newRow("downloading a total of 0") << LocalCopy::downloading(0, 0) << 280.0;
    QTest::newRow("on this computer") << LocalCopy::onThisComputer({LocalFile{QStringLiteral("f.mp4"), 1}}) << 280.0;
}

void TestMediaThumbnailLayout::layoutKeepsMarksInsideTheFrame()
{
    QFETCH(LocalCopy, copy);
    QFETCH(double, width);
    const MediaThumbnail thumbnail = pagedThumbnail(2, {video(40), image()}, 150, 1, copy);
    MediaThumbnail::ViewState state;
    state.hovering = true;
    const QRectF rect(20, 10, width, 150);
    const MediaThumbnail::Layout layout = thumbnail.layout(rect, state, nullptr);
    QCOMPARE(layout.frame, rect);
    const QRectF inner = rect.adjusted(8, 8, -8, -8);
    QVERIFY(layout.copyBadge);
    QVERIFY(inner.contains(*layout.copyBadge) || layout.copyBadge->width() == 0);
    QCOMPARE(layout.copyBadge->bottom(), inner.bottom());
    QCOMPARE(layout.copyBadge->left(), inner.left());
    QVERIFY(layout.pageCounter && layout.pageCounter->top() == inner.top() && layout.pageCounter->right() == inner.right());

    // Painted: nothing leaves the frame, however far the fraction runs past 1.
    QImage image(int(rect.right()) + 20, int(rect.bottom()) + 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        thumbnail.paint(painter, rect, state, nullptr);
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!rect.adjusted(-1, -1, 1, 1).contains(QPointF(x + 0.5, y + 0.5)))
                QCOMPARE(qAlpha(image.pixel(x, y)), 0);
        }
    }
    // The track's fill is the track's width at most.
    if (const auto *running = copy.asDownloading()) {
        const double fraction = running->of == 0 ? 1.0 : double(running->received) / double(running->of);
        const QRectF track(0, 0, 100, 4);
        QVERIFY(ProgressTrack::fillRect(track, 4, fraction).width() <= 100);
    }
}

void TestMediaThumbnailLayout::keepShapeHugsThePicture_data()
{
    QTest::addColumn<QSize>("picture");   // empty: none yet
    QTest::addColumn<QSizeF>("available");
    QTest::addColumn<QSizeF>("frame");
    QTest::newRow("placeholder 16:9 in a wide room") << QSize() << QSizeF(600, 130) << QSizeF(130 * 16.0 / 9, 130);
    QTest::newRow("placeholder in a narrow room") << QSize() << QSizeF(160, 130) << QSizeF(160, 90);
    QTest::newRow("portrait picture") << QSize(300, 600) << QSizeF(600, 130) << QSizeF(65, 130);
    QTest::newRow("wide picture narrow room") << QSize(800, 200) << QSizeF(200, 130) << QSizeF(200, 50);
    QTest::newRow("never taller than the height") << QSize(100, 100) << QSizeF(600, 400) << QSizeF(130, 130);
}

void TestMediaThumbnailLayout::keepShapeHugsThePicture()
{
    QFETCH(QSize, picture);
    QFETCH(QSizeF, available);
    QFETCH(QSizeF, frame);
    ShelfItem shelfItem = item(save(post(xLink(), images(1)), 1), LocalCopy::onThisComputer({}));
    shelfItem.setPictures(pictures(1));
    const MediaThumbnail thumbnail(shelfItem, 130, true);
    const PicturePointer shown = picture.isEmpty() ? nullptr : pictureOf(picture);
    const QSizeF size = thumbnail.fittedSize(available, shown);
    QCOMPARE(size, frame);
    const MediaThumbnail::Layout layout = thumbnail.layout(QRectF(QPointF(0, 0), available), {}, shown);
    QCOMPARE(layout.frame.size(), frame);
    // The check mark hugs the picture, not the room.
    QVERIFY(layout.copyBadge);
    QCOMPARE(layout.copyBadge->left(), layout.frame.left() + 8);
}

void TestMediaThumbnailLayout::hitTest_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("arrowsAllowed");
    QTest::addColumn<Hit>("hit");
    QTest::newRow("middle") << QPointF(150, 75) << true << Hit::body;
    QTest::newRow("previous arrow") << QPointF(21, 75) << true << Hit::previous;
    QTest::newRow("next arrow") << QPointF(279, 75) << true << Hit::next;
    QTest::newRow("beside an arrow") << QPointF(21, 20) << true << Hit::body;
    QTest::newRow("where an arrow would be, arrows off") << QPointF(21, 75) << false << Hit::body;
    QTest::newRow("outside") << QPointF(150, 160) << true << Hit::none;
}

void TestMediaThumbnailLayout::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(bool, arrowsAllowed);
    QFETCH(Hit, hit);
    ShelfItem shelfItem = item(save(post(xLink(), images(3)), 1));
    shelfItem.setPictures(pictures(3));
    const MediaThumbnail thumbnail(shelfItem, 150, false, false, true, arrowsAllowed);
    QCOMPARE(thumbnail.hitTest(QRectF(0, 0, 300, 150), point, {}, nullptr), hit);
}

void TestMediaThumbnailLayout::gallery_data()
{
    QTest::addColumn<MediaThumbnail>("thumbnail");
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("picture");   // empty: none
    const LocalCopy here = LocalCopy::onThisComputer({LocalFile{QStringLiteral("v.mp4"), 5 << 20}});
    QTest::newRow("video-placeholder") << pagedThumbnail(1, {video(75)}) << false << QSize(300, 150) << QSize();
    QTest::newRow("video-on-this-computer") << pagedThumbnail(1, {video(75)}, 150, 1, here) << false << QSize(300, 150) << QSize();
    QTest::newRow("downloading") << pagedThumbnail(3, images(3), 150, 1, LocalCopy::downloading(3 << 20, 7 << 20))
                                 << false << QSize(300, 150) << QSize();
    QTest::newRow("pages-with-arrows") << pagedThumbnail(3, images(3)) << true << QSize(300, 150) << QSize();
    QTest::newRow("text-quoted") << MediaThumbnail(post(xLink(), {},
                                                        QStringLiteral("A post of words only, long enough to wrap over "
                                                                       "several lines and to be cut by the box at the "
                                                                       "bottom edge when it runs on and on and on.")),
                                                   LocalCopy::linkOnly())
                                 << false << QSize(300, 150) << QSize();
    QTest::newRow("text-small") << MediaThumbnail(post(xLink(), {}), LocalCopy::linkOnly(), 56) << false << QSize(90, 56) << QSize();
    QTest::newRow("page-keep-shape") << MediaThumbnail(post(webLink(), {page()}), LocalCopy::linkOnly(), 130, true) << false
                                     << QSize(300, 130) << QSize();
    ShelfItem wide = item(save(post(xLink(), images(2)), 1), here);
    wide.setPictures(pictures(2));
    QTest::newRow("picture-filling") << MediaThumbnail(wide, 150, false, false, true, true) << false << QSize(300, 150)
                                     << QSize(1200, 500);
    QTest::newRow("picture-fitted-whole") << MediaThumbnail(wide, 150, false, true, true, true) << false
                                          << QSize(300, 150) << QSize(500, 900);
    QTest::newRow("picture-keep-shape") << MediaThumbnail(wide, 130, true) << false << QSize(300, 130) << QSize(500, 700);
}

void TestMediaThumbnailLayout::gallery()
{
    QFETCH(MediaThumbnail, thumbnail);
    QFETCH(bool, hovering);
    QFETCH(QSize, size);
    QFETCH(QSize, picture);
    const PicturePointer shown = picture.isEmpty() ? nullptr : pictureOf(picture);
    const QString name = QStringLiteral("MediaThumbnail-%1").arg(QString::fromLatin1(QTest::currentDataTag()));
    fixtures::PainterHost host(size, [thumbnail, hovering, shown](QPainter &painter, const QRectF &rect) {
        MediaThumbnail::ViewState state;
        state.hovering = hovering;
        thumbnail.paint(painter, rect, state, shown);
    });
    QString why;
    QVERIFY2(gallery::captureAndCheck(host, name, &why), qPrintable(why));
}

QTEST_MAIN(TestMediaThumbnailLayout)
#include "tst_mediathumbnaillayout.moc"
