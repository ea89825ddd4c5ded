#include "ControlTesting.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "StashwellUI/Saves/Paging.h"
#include "ThumbnailFixtures.h"

#include <QSignalSpy>
#include <QTest>

#include <limits>

// The media thumbnail's pages and pictures: what it is made of, which page it shows (its own or
// the window's page memory), and which picture it asks for.

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(std::vector<sw::Attachment>)
Q_DECLARE_METATYPE(sw::MediaThumbnail)

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

QTEST_MAIN(TestMediaThumbnail)
#include "tst_mediathumbnail.moc"
