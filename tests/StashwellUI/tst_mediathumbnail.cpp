#include "StashwellUI/Pictures/CachedImage.h"
#include "ControlTesting.h"
#include "StashwellUI/Design/Formatting.h"
#include "Gallery.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Pictures/PictureFeed.h"
#include "PresentationFixtures.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(std::vector<sw::Attachment>)
Q_DECLARE_METATYPE(sw::MediaThumbnail)
Q_DECLARE_METATYPE(sw::MediaThumbnail::Hit)
Q_DECLARE_METATYPE(sw::MediaThumbnail::Mode)

namespace {

using Hit = MediaThumbnail::Hit;
using Mode = MediaThumbnail::Mode;

// A save with `count` pictures, its post holding `attachments`.
MediaThumbnail pagedThumbnail(int count, std::vector<Attachment> attachments, double height = 150, int n = 1,
                              const LocalCopy &copy = LocalCopy::linkOnly())
{
    ShelfItem shelfItem = item(save(post(xLink(QStringLiteral("a"), QString::number(n)), std::move(attachments)), n), copy);
    shelfItem.setPictures(pictures(count));
    return MediaThumbnail(shelfItem, height, false, false, true, true);
}

std::vector<Attachment> images(int count)
{
    std::vector<Attachment> result;
    for (int i = 0; i < count; ++i)
        result.push_back(image(i));
    return result;
}

// Writes a picture of that size and colour and returns its address.
Url writePicture(const QTemporaryDir &dir, const QString &name, QSize size, QColor color)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(color);
    const QString path = dir.filePath(name);
    picture.save(path, "PNG");
    return Url::fromLocalFile(path);
}

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

class TestMediaThumbnail : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void fromAnItem_data();
    void fromAnItem();
    void fromAPost();
    void ownPageSteps_data();
    void ownPageSteps();
    void sharedPageSteps();
    void sharedPageIsCappedWhenPicturesShrink();
    void pagesOffIgnoresTheMemory();
    void linkChangeResetsOnlyTheOwnPage();
    void pictureOfThePage_data();
    void pictureOfThePage();
    void maxPixels_data();
    void maxPixels();
    void glyph_data();
    void glyph();
    void mode_data();
    void mode();
    void lengthBadge_data();
    void lengthBadge();
    void pageCounter_data();
    void pageCounter();
    void copyMark_data();
    void copyMark();
    void arrows_data();
    void arrows();
    void layoutKeepsMarksInsideTheFrame_data();
    void layoutKeepsMarksInsideTheFrame();
    void keepShapeHugsThePicture_data();
    void keepShapeHugsThePicture();
    void hitTest_data();
    void hitTest();
    void viewTapsAndTurnsPages();
    void viewsOfOneSaveShareTheirPage();
    void viewReadsOutTheCopy();
    void viewResetsItsPageForAnotherPost();
    void feedLoadsOnceAndRepaints();
    void gallery_data();
    void gallery();
};

void TestMediaThumbnail::fromAnItem_data()
{
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<bool>("hasCover");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("firstIsCover");
    QTest::newRow("pictures") << 3 << true << 3 << false;
    QTest::newRow("no pictures, a cover") << 0 << true << 1 << true;
    QTest::newRow("no pictures, no cover") << 0 << false << 1 << false;
}

void TestMediaThumbnail::fromAnItem()
{
    QFETCH(int, pictureCount);
    QFETCH(bool, hasCover);
    QFETCH(int, pages);
    QFETCH(bool, firstIsCover);
    ShelfItem shelfItem = item(save(post(webLink(), {}), 7));
    shelfItem.setPictures(pictures(pictureCount));
    shelfItem.setCover(hasCover ? std::optional<Url>(url(QStringLiteral("file:///tmp/cover.jpg"))) : std::nullopt);
    const MediaThumbnail thumbnail(shelfItem, 120, true, true, true, false);
    QCOMPARE(thumbnail.pageCount(), pages);
    QCOMPARE(qsizetype(thumbnail.pictures().size()), qsizetype(pages));
    QCOMPARE(thumbnail.id(), saveID(7));
    QCOMPARE(thumbnail.height(), 120.0);
    QVERIFY(thumbnail.keepsShape() && thumbnail.fitsWhole() && thumbnail.pages() && !thumbnail.arrows());
    if (firstIsCover)
        QCOMPARE(thumbnail.pictureURL(0), shelfItem.cover());
    if (pictureCount == 0 && !hasCover)
        QVERIFY(!thumbnail.pictureURL(0));   // a page without a picture: the placeholder
}

void TestMediaThumbnail::fromAPost()
{
    const Post p = post(xLink(), images(2), QStringLiteral("two"), QStringLiteral("https://pbs.example.com/preview.jpg"));
    const MediaThumbnail thumbnail(p, LocalCopy::linkOnly());
    QCOMPARE(thumbnail.height(), 150.0);
    QVERIFY(!thumbnail.pages() && thumbnail.arrows() && !thumbnail.id() && thumbnail.pictures().empty());
    QCOMPARE(thumbnail.pictureURL(0), p.preview);
    QCOMPARE(thumbnail.pageCount(), 1);
    // Never pages, never arrows, still the counter for 2 attachments.
    QCOMPARE(thumbnail.step(+1, 0), 0);
    QVERIFY(!thumbnail.showsArrows(true));
    QCOMPARE(thumbnail.pageCounterText(0), QStringLiteral("1/2"));
    const MediaThumbnail bare(post(xLink(), images(1)), LocalCopy::linkOnly());
    QVERIFY(!bare.pictureKey(0));
    QCOMPARE(bare.glyph(0), QStringLiteral("photo"));
}

void TestMediaThumbnail::ownPageSteps_data()
{
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<int>("delta");
    QTest::addColumn<qint64>("to");
    QTest::newRow("next of 3") << 3 << qint64(0) << +1 << qint64(1);
    QTest::newRow("next on the last of 3 shows the first") << 3 << qint64(2) << +1 << qint64(0);
    QTest::newRow("previous on the first of 3 shows the last") << 3 << qint64(0) << -1 << qint64(2);
    QTest::newRow("one picture stays") << 1 << qint64(0) << +1 << qint64(0);
    QTest::newRow("no pictures stays") << 0 << qint64(0) << -1 << qint64(0);
    QTest::newRow("a page past the end steps from the last") << 2 << qint64(9) << +1 << qint64(0);
    QTest::newRow("a negative page counts as the first") << 3 << qint64(-4) << +1 << qint64(1);
}

void TestMediaThumbnail::ownPageSteps()
{
    QFETCH(int, pictureCount);
    QFETCH(qint64, from);
    QFETCH(int, delta);
    QFETCH(qint64, to);
    const MediaThumbnail thumbnail = pagedThumbnail(pictureCount, images(std::max(pictureCount, 1)));
    QVERIFY(!thumbnail.usesSharedPage());
    const std::int64_t next = thumbnail.step(delta, from);
    QCOMPARE(thumbnail.currentPage(next), to);
    QVERIFY(next >= 0 && next < thumbnail.pageCount());
}

void TestMediaThumbnail::sharedPageSteps()
{
    Paging paging;
    MediaThumbnail thumbnail = pagedThumbnail(3, images(3));
    thumbnail.setPaging(&paging);
    QVERIFY(thumbnail.usesSharedPage());
    QSignalSpy changed(&paging, &Paging::pagesChanged);
    // The own page is untouched; the memory turns.
    QCOMPARE(thumbnail.step(-1, 0), 0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(thumbnail.currentPage(0), 2);
    QCOMPARE(paging.page(saveID(1), 3), 2);
    QCOMPARE(thumbnail.step(+1, 0), 0);
    QCOMPARE(thumbnail.currentPage(0), 0);
    // One picture: the memory turns nothing.
    MediaThumbnail single = pagedThumbnail(1, images(1), 150, 2);
    single.setPaging(&paging);
    single.step(+1, 0);
    QCOMPARE(changed.count(), 2);
}

void TestMediaThumbnail::sharedPageIsCappedWhenPicturesShrink()
{
    Paging paging;
    paging.turn(saveID(1), +1, 3);
    paging.turn(saveID(1), +1, 3);
    MediaThumbnail shrunk = pagedThumbnail(2, images(2));
    shrunk.setPaging(&paging);
    QCOMPARE(shrunk.currentPage(0), 1);
    QCOMPARE(shrunk.pictureURL(0), shrunk.pictures().at(1));
    QCOMPARE(paging.page(saveID(1), 3), 2);   // kept until turned
}

void TestMediaThumbnail::pagesOffIgnoresTheMemory()
{
    Paging paging;
    paging.turn(saveID(1), +1, 3);
    ShelfItem shelfItem = item(save(post(xLink(), images(3)), 1));
    shelfItem.setPictures(pictures(3));
    MediaThumbnail off(shelfItem, 150, false, false, /*pages*/ false, true);
    off.setPaging(&paging);
    QVERIFY(!off.usesSharedPage());
    QCOMPARE(off.currentPage(0), 0);
    QVERIFY(!off.showsArrows(true));
    MediaThumbnail on(shelfItem, 150, false, false, true, true);
    on.setPaging(&paging);
    QCOMPARE(on.currentPage(0), 1);
}

void TestMediaThumbnail::linkChangeResetsOnlyTheOwnPage()
{
    Paging paging;
    const MediaThumbnail first = pagedThumbnail(3, images(3), 150, 1);
    MediaThumbnail::ViewState state;
    first.track(state);   // first shown: nothing to reset
    state.page = first.step(+1, state.page);
    state.page = first.step(+1, state.page);
    QCOMPARE(first.currentPage(state.page), 2);
    // The same post again keeps the page.
    first.track(state);
    QCOMPARE(state.page, 2);
    // Another post starts on its first page.
    MediaThumbnail second = pagedThumbnail(3, images(3), 150, 2);
    second.track(state);
    QCOMPARE(state.page, 0);
    // The memory's page survives a link change.
    second.setPaging(&paging);
    second.step(+1, state.page);
    MediaThumbnail third = pagedThumbnail(3, images(3), 150, 3);
    third.track(state);
    QCOMPARE(second.currentPage(state.page), 1);
}

void TestMediaThumbnail::pictureOfThePage_data()
{
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<int>("expected");   // index into the pictures; -1 the preview
    QTest::newRow("first") << 3 << qint64(0) << 0;
    QTest::newRow("third") << 3 << qint64(2) << 2;
    QTest::newRow("past the end shows the last") << 3 << qint64(7) << 2;
}

void TestMediaThumbnail::pictureOfThePage()
{
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(int, expected);
    const MediaThumbnail thumbnail = pagedThumbnail(pictureCount, images(pictureCount));
    QCOMPARE(thumbnail.pictureURL(page), thumbnail.pictures().at(std::size_t(expected)));
    const std::optional<PictureKey> key = thumbnail.pictureKey(page);
    QVERIFY(key);
    QCOMPARE(key->url, *thumbnail.pictures().at(std::size_t(expected)));
    QCOMPARE(key->maxPixels, 900);
}

void TestMediaThumbnail::maxPixels_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<qint64>("pixels");
    QTest::newRow("150") << 150.0 << qint64(900);
    QTest::newRow("56") << 56.0 << qint64(336);
    QTest::newRow("truncated") << 99.99 << qint64(599);
    QTest::newRow("zero asks nothing") << 0.0 << qint64(0);
    QTest::newRow("negative asks nothing") << -10.0 << qint64(0);
    QTest::newRow("not a number asks nothing") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
    QTest::newRow("infinite saturates") << std::numeric_limits<double>::infinity() << qint64(INT64_MAX);
    QTest::newRow("huge saturates") << 1.0e30 << qint64(INT64_MAX);
}

void TestMediaThumbnail::maxPixels()
{
    QFETCH(double, height);
    QFETCH(qint64, pixels);
    const MediaThumbnail thumbnail = pagedThumbnail(1, images(1), height);
    QCOMPARE(thumbnail.maxPixels(), pixels);
    QCOMPARE(thumbnail.pictureKey(0).has_value(), pixels > 0);
}

void TestMediaThumbnail::glyph_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<QString>("glyph");
    QTest::newRow("video on show") << std::vector<Attachment>{video(), image()} << 2 << qint64(0) << "play.rectangle";
    QTest::newRow("image on show in a video post") << std::vector<Attachment>{video(), image()} << 2 << qint64(1) << "photo";
    QTest::newRow("page on show falls to the kind") << std::vector<Attachment>{page(), video()} << 2 << qint64(0) << "globe";
    QTest::newRow("more pictures than attachments: the kind") << std::vector<Attachment>{video()} << 3 << qint64(2)
                                                              << "play.rectangle";
    QTest::newRow("images kind") << std::vector<Attachment>{image(), image()} << 2 << qint64(1) << "photo";
    QTest::newRow("text kind") << std::vector<Attachment>{} << 0 << qint64(0) << "text.alignleft";
    QTest::newRow("page kind") << std::vector<Attachment>{page()} << 1 << qint64(0) << "globe";
}

void TestMediaThumbnail::glyph()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(QString, glyph);
    QCOMPARE(pagedThumbnail(pictureCount, attachments).glyph(page), glyph);
}

void TestMediaThumbnail::mode_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("keepsShape");
    QTest::addColumn<Mode>("mode");
    QTest::newRow("box") << std::vector<Attachment>{image()} << 150.0 << false << Mode::box;
    QTest::newRow("keep shape") << std::vector<Attachment>{image()} << 130.0 << true << Mode::keepShape;
    QTest::newRow("small box") << std::vector<Attachment>{video()} << 56.0 << false << Mode::box;
    QTest::newRow("text at 100 quotes") << std::vector<Attachment>{} << 100.0 << false << Mode::quotedText;
    QTest::newRow("text at 99.5 shows its symbol") << std::vector<Attachment>{} << 99.5 << false << Mode::textSymbol;
    QTest::newRow("keep-shape text falls back to the box") << std::vector<Attachment>{} << 150.0 << true
                                                           << Mode::quotedText;
    QTest::newRow("small keep-shape text") << std::vector<Attachment>{} << 40.0 << true << Mode::textSymbol;
}

void TestMediaThumbnail::mode()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(double, height);
    QFETCH(bool, keepsShape);
    QFETCH(Mode, mode);
    const MediaThumbnail thumbnail(post(xLink(), attachments, QStringLiteral("Hello there")), LocalCopy::linkOnly(), height,
                                   keepsShape);
    QCOMPARE(thumbnail.mode(), mode);
    QCOMPARE(thumbnail.quotedText(), QStringLiteral("\u201CHello there\u201D"));
}

void TestMediaThumbnail::lengthBadge_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<double>("height");
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<QString>("text");   // empty: no badge
    const std::vector<Attachment> clip{video(75.9)};
    QTest::newRow("75.9 s") << clip << 1 << qint64(0) << 150.0 << LocalCopy::linkOnly() << "1:15";
    QTest::newRow("an hour") << std::vector<Attachment>{video(3600)} << 1 << qint64(0) << 150.0 << LocalCopy::linkOnly()
                             << "60:00";
    QTest::newRow("on this computer") << clip << 1 << qint64(0) << 150.0
                                      << LocalCopy::onThisMac({LocalFile{QStringLiteral("a.mp4"), 10}}) << "1:15";
    QTest::newRow("none while downloading") << clip << 1 << qint64(0) << 150.0 << LocalCopy::downloading(1, 2) << "";
    QTest::newRow("none below 100") << clip << 1 << qint64(0) << 99.5 << LocalCopy::linkOnly() << "";
    QTest::newRow("exactly 100") << clip << 1 << qint64(0) << 100.0 << LocalCopy::linkOnly() << "1:15";
    QTest::newRow("image on show") << std::vector<Attachment>{image(), video(10)} << 2 << qint64(0) << 150.0
                                   << LocalCopy::linkOnly() << "";
    QTest::newRow("second video on show") << std::vector<Attachment>{image(), video(10)} << 2 << qint64(1) << 150.0
                                          << LocalCopy::linkOnly() << "0:10";
    QTest::newRow("page past the attachments") << clip << 3 << qint64(2) << 150.0 << LocalCopy::linkOnly() << "";
}

void TestMediaThumbnail::lengthBadge()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(double, height);
    QFETCH(LocalCopy, copy);
    QFETCH(QString, text);
    const MediaThumbnail thumbnail = pagedThumbnail(pictureCount, attachments, height, 1, copy);
    const std::optional<QString> length = thumbnail.lengthText(page);
    QCOMPARE(length.value_or(QString()), text);
    MediaThumbnail::ViewState state;
    state.page = page;
    const MediaThumbnail::Layout layout = thumbnail.layout(QRectF(0, 0, 300, height), state, nullptr);
    QCOMPARE(layout.lengthBadge.has_value(), !text.isEmpty());
}

void TestMediaThumbnail::pageCounter_data()
{
    QTest::addColumn<int>("attachmentCount");
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<double>("height");
    QTest::addColumn<QString>("text");
    QTest::newRow("2 of 4") << 4 << 4 << qint64(1) << 150.0 << "2/4";
    QTest::newRow("one attachment: none") << 1 << 1 << qint64(0) << 150.0 << "";
    QTest::newRow("below 100: none") << 3 << 3 << qint64(0) << 99.0 << "";
    QTest::newRow("counts attachments, not pictures") << 3 << 1 << qint64(0) << 150.0 << "1/3";
}

void TestMediaThumbnail::pageCounter()
{
    QFETCH(int, attachmentCount);
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(double, height);
    QFETCH(QString, text);
    const MediaThumbnail thumbnail = pagedThumbnail(pictureCount, images(attachmentCount), height);
    QCOMPARE(thumbnail.pageCounterText(page).value_or(QString()), text);
}

void TestMediaThumbnail::copyMark_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("kind");   // MediaThumbnail::CopyMark::Kind
    QTest::addColumn<qint64>("percent");
    QTest::addColumn<double>("fraction");
    const int none = int(MediaThumbnail::CopyMark::Kind::none);
    const int progress = int(MediaThumbnail::CopyMark::Kind::progress);
    const int here = int(MediaThumbnail::CopyMark::Kind::onThisMac);
    QTest::newRow("link only") << LocalCopy::linkOnly() << 150.0 << none << qint64(0) << 0.0;
    QTest::newRow("failed") << LocalCopy::failed(DownloadFailure::unreachable) << 150.0 << none << qint64(0) << 0.0;
    QTest::newRow("on this computer") << LocalCopy::onThisMac({}) << 150.0 << here << qint64(0) << 0.0;
    QTest::newRow("half") << LocalCopy::downloading(512, 1024) << 150.0 << progress << qint64(50) << 0.5;
    QTest::newRow("1023 of 1024") << LocalCopy::downloading(1023, 1024) << 150.0 << progress << qint64(99) << 1023.0 / 1024;
    QTest::newRow("total of 0") << LocalCopy::downloading(0, 0) << 150.0 << progress << qint64(100) << 1.0;
    QTest::newRow("more than announced") << LocalCopy::downloading(3, 2) << 150.0 << progress << qint64(150) << 1.5;
    QTest::newRow("below 100: none") << LocalCopy::downloading(1, 2) << 99.0 << none << qint64(0) << 0.0;
}

void TestMediaThumbnail::copyMark()
{
    QFETCH(LocalCopy, copy);
    QFETCH(double, height);
    QFETCH(int, kind);
    QFETCH(qint64, percent);
    QFETCH(double, fraction);
    const MediaThumbnail thumbnail = pagedThumbnail(1, {video()}, height, 1, copy);
    const MediaThumbnail::CopyMark mark = thumbnail.copyMark();
    QCOMPARE(int(mark.kind), kind);
    if (mark.kind == MediaThumbnail::CopyMark::Kind::progress) {
        const auto *running = copy.asDownloading();
        QCOMPARE(mark.text, StashwellUIStrings::mediaDownloading(percent, Formatting::bytes(running->of)));
        QCOMPARE(mark.fraction, fraction);
        QCOMPARE(mark.accessibleText, StashwellUIStrings::mediaBytesProgress(running->received, running->of));
    } else if (mark.kind == MediaThumbnail::CopyMark::Kind::onThisMac) {
        QCOMPARE(mark.accessibleText, StashwellUIStrings::mediaOnThisMac());
    }
}

void TestMediaThumbnail::arrows_data()
{
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<bool>("pages");
    QTest::addColumn<bool>("arrows");
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("shown");
    QTest::newRow("all conditions") << 2 << true << true << true << 150.0 << true;
    QTest::newRow("exactly 100") << 3 << true << true << true << 100.0 << true;
    QTest::newRow("99.5") << 3 << true << true << true << 99.5 << false;
    QTest::newRow("one picture") << 1 << true << true << true << 150.0 << false;
    QTest::newRow("not hovering") << 2 << true << true << false << 150.0 << false;
    QTest::newRow("arrows off") << 2 << true << false << true << 150.0 << false;
    QTest::newRow("pages off") << 2 << false << true << true << 150.0 << false;
}

void TestMediaThumbnail::arrows()
{
    QFETCH(int, pictureCount);
    QFETCH(bool, pages);
    QFETCH(bool, arrows);
    QFETCH(bool, hovering);
    QFETCH(double, height);
    QFETCH(bool, shown);
    ShelfItem shelfItem = item(save(post(xLink(), images(pictureCount)), 1));
    shelfItem.setPictures(pictures(pictureCount));
    const MediaThumbnail thumbnail(shelfItem, height, false, false, pages, arrows);
    QCOMPARE(thumbnail.showsArrows(hovering), shown);
    MediaThumbnail::ViewState state;
    state.hovering = hovering;
    const MediaThumbnail::Layout layout = thumbnail.layout(QRectF(0, 0, 300, height), state, nullptr);
    QCOMPARE(layout.previous.has_value(), shown);
    QCOMPARE(layout.next.has_value(), shown);
    if (shown) {
        // At the left and right edges, halfway up, 26 across.
        QCOMPARE(layout.previous->left(), 8.0);
        QCOMPARE(layout.next->right(), 292.0);
        QCOMPARE(layout.previous->center().y(), height / 2);
        QCOMPARE(layout.previous->width(), 26.0);
    }
}

void TestMediaThumbnail::layoutKeepsMarksInsideTheFrame_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<double>("width");
    QTest::newRow("downloading") << LocalCopy::downloading(7, 3) << 280.0;
    QTest::newRow("downloading, narrow") << LocalCopy::downloading(1, 4) << 60.0;
    QTest::newRow("downloading a total of 0") << LocalCopy::downloading(0, 0) << 280.0;
    QTest::newRow("on this computer") << LocalCopy::onThisMac({LocalFile{QStringLiteral("f.mp4"), 1}}) << 280.0;
}

void TestMediaThumbnail::layoutKeepsMarksInsideTheFrame()
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

void TestMediaThumbnail::keepShapeHugsThePicture_data()
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

void TestMediaThumbnail::keepShapeHugsThePicture()
{
    QFETCH(QSize, picture);
    QFETCH(QSizeF, available);
    QFETCH(QSizeF, frame);
    ShelfItem shelfItem = item(save(post(xLink(), images(1)), 1), LocalCopy::onThisMac({}));
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

void TestMediaThumbnail::hitTest_data()
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

void TestMediaThumbnail::hitTest()
{
    QFETCH(QPointF, point);
    QFETCH(bool, arrowsAllowed);
    QFETCH(Hit, hit);
    ShelfItem shelfItem = item(save(post(xLink(), images(3)), 1));
    shelfItem.setPictures(pictures(3));
    const MediaThumbnail thumbnail(shelfItem, 150, false, false, true, arrowsAllowed);
    QCOMPARE(thumbnail.hitTest(QRectF(0, 0, 300, 150), point, {}, nullptr), hit);
}

void TestMediaThumbnail::viewTapsAndTurnsPages()
{
    MediaThumbnailView view(pagedThumbnail(3, images(3)));
    view.resize(300, 150);
    QVERIFY(test::showWidget(view));
    QSignalSpy tapped(&view, &MediaThumbnailView::tapped);
    QTest::mouseMove(&view, QPoint(150, 75));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(150, 75));
    QCOMPARE(tapped.count(), 1);
    QCOMPARE(view.currentPage(), 0);
    // An arrow turns the page and is not a tap.
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(279, 75));
    QCOMPARE(view.currentPage(), 1);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(21, 75));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(21, 75));
    QCOMPARE(view.currentPage(), 2);
    QCOMPARE(tapped.count(), 1);
    // The picture asked for follows the page.
    QCOMPARE(view.image().key()->url, *view.thumbnail().pictures().at(2));
    // Pressed on an arrow and released elsewhere: nothing.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(279, 75));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(150, 75));
    QCOMPARE(view.currentPage(), 2);
    QCOMPARE(tapped.count(), 1);
}

void TestMediaThumbnail::viewsOfOneSaveShareTheirPage()
{
    QWidget window;
    Paging paging;
    Paging::install(&window, &paging);
    auto *card = new MediaThumbnailView(pagedThumbnail(3, images(3)), &window);
    auto *inspector = new MediaThumbnailView(pagedThumbnail(3, images(3)), &window);
    ShelfItem shelfItem = item(save(post(xLink(QStringLiteral("a"), QStringLiteral("1")), images(3)), 1));
    shelfItem.setPictures(pictures(3));
    auto *unpaged = new MediaThumbnailView(MediaThumbnail(shelfItem, 150, false, false, false, true), &window);
    auto *elsewhere = new MediaThumbnailView(pagedThumbnail(3, images(3)));   // outside the window
    QCOMPARE(card->paging(), &paging);
    QCOMPARE(elsewhere->paging(), nullptr);

    test::PaintCounter inspectorPaints(inspector);
    window.resize(700, 200);
    card->setGeometry(0, 0, 300, 150);
    inspector->setGeometry(320, 0, 300, 150);
    QVERIFY(test::showWidget(window));
    inspectorPaints.settle();
    inspectorPaints.reset();

    card->step(+1);
    QCOMPARE(card->currentPage(), 1);
    QCOMPARE(inspector->currentPage(), 1);
    QCOMPARE(unpaged->currentPage(), 0);
    QCOMPARE(elsewhere->currentPage(), 0);
    QCOMPARE(inspector->image().key()->url, *inspector->thumbnail().pictures().at(1));
    QVERIFY(inspectorPaints.settle() >= 1);
    inspector->step(-1);
    inspector->step(-1);
    QCOMPARE(card->currentPage(), 2);
    // A thumbnail built anew for the save opens on the remembered page.
    auto *rebuilt = new MediaThumbnailView(pagedThumbnail(3, images(3)), &window);
    QCOMPARE(rebuilt->currentPage(), 2);
    delete elsewhere;
}

void TestMediaThumbnail::viewReadsOutTheCopy()
{
    MediaThumbnailView view(pagedThumbnail(1, {video()}, 150, 1, LocalCopy::downloading(3, 7)));
    QAccessibleInterface *iface = test::accessibleOf(&view);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Description), StashwellUIStrings::mediaBytesProgress(3, 7));
    view.setThumbnail(pagedThumbnail(1, {video()}, 150, 1, LocalCopy::onThisMac({})));
    QCOMPARE(iface->text(QAccessible::Description), StashwellUIStrings::mediaOnThisMac());
    view.setThumbnail(pagedThumbnail(1, {video()}, 150, 1, LocalCopy::linkOnly()));
    QCOMPARE(iface->text(QAccessible::Description), QString());
    QVERIFY(iface->actionInterface()->actionNames().isEmpty());   // one page: no arrows

    // Where the arrows can show, they are its actions, under their labels.
    view.setThumbnail(pagedThumbnail(3, images(3)));
    QAccessibleActionInterface *actions = iface->actionInterface();
    const QStringList names = actions->actionNames();
    QCOMPARE(names.size(), 2);
    QCOMPARE(actions->localizedActionName(names.at(0)), StashwellUIStrings::mediaPrevious());
    QCOMPARE(actions->localizedActionName(names.at(1)), StashwellUIStrings::mediaNext());
    actions->doAction(names.at(0));
    QCOMPARE(view.currentPage(), 2);
    actions->doAction(names.at(1));
    QCOMPARE(view.currentPage(), 0);
}

void TestMediaThumbnail::viewResetsItsPageForAnotherPost()
{
    MediaThumbnailView view(pagedThumbnail(3, images(3), 150, 1));
    view.step(+1);
    view.step(+1);
    QCOMPARE(view.currentPage(), 2);
    view.setThumbnail(pagedThumbnail(3, images(3), 150, 1));
    QCOMPARE(view.currentPage(), 2);
    view.setThumbnail(pagedThumbnail(4, images(4), 150, 2));
    QCOMPARE(view.currentPage(), 0);
}

void TestMediaThumbnail::feedLoadsOnceAndRepaints()
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

void TestMediaThumbnail::gallery_data()
{
    QTest::addColumn<MediaThumbnail>("thumbnail");
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("picture");   // empty: none
    const LocalCopy here = LocalCopy::onThisMac({LocalFile{QStringLiteral("v.mp4"), 5 << 20}});
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

void TestMediaThumbnail::gallery()
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

QTEST_MAIN(TestMediaThumbnail)
#include "tst_mediathumbnail.moc"
