#include "ControlTesting.h"
#include "StashwellUI/Pictures/CachedImage.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "ThumbnailFixtures.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

// The media thumbnail as a widget: taps and page turns under the pointer, the page shared with the
// other views of a save, what assistive technologies read, and a new post's first page.

using namespace sw;
using namespace sw::fixtures;

class TestMediaThumbnailView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void viewTapsAndTurnsPages();
    void viewsOfOneSaveShareTheirPage();
    void viewReadsOutTheCopy();
    void viewResetsItsPageForAnotherPost();
};

void TestMediaThumbnailView::viewTapsAndTurnsPages()
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

void TestMediaThumbnailView::viewsOfOneSaveShareTheirPage()
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

void TestMediaThumbnailView::viewReadsOutTheCopy()
{
    MediaThumbnailView view(pagedThumbnail(1, {video()}, 150, 1, LocalCopy::downloading(3, 7)));
    QAccessibleInterface *iface = test::accessibleOf(&view);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Description), StashwellUIStrings::mediaBytesProgress(3, 7));
    view.setThumbnail(pagedThumbnail(1, {video()}, 150, 1, LocalCopy::onThisComputer({})));
    QCOMPARE(iface->text(QAccessible::Description), StashwellUIStrings::mediaOnThisComputer());
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

void TestMediaThumbnailView::viewResetsItsPageForAnotherPost()
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

QTEST_MAIN(TestMediaThumbnailView)
#include "tst_mediathumbnailview.moc"
