// The painted shelf: clicks on the parts of cards and rows reach the right callbacks with the
// clicked item; the save menu opens on the item under the pointer and its intents carry that item;
// dragging carries the post's address and a drop back onto the same shelf is refused; a changed
// shelf repaints only what changed; the page's key handler gets the keys and arrows never scroll;
// pictures are asked for only around the viewport; assistive technologies see the items on screen.

#include "ShelfFixtures.h"

#include "StashKit/Network.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/SoftScrollEdges.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveRow.h"
#include "StashwellUI/Shelf/ShelfPictures.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QAccessible>
#include <QRandomGenerator>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

using namespace sw;
using namespace sw::shelftest;

namespace {

enum class Spot { cardBody, cardThumbnail, cardPill, cardTrash, rowBody, rowGap, rowPill, rowTrash, rowPadding };

// Where a spot of item `index` lies in the viewport, found from the painter's own layout.
QPointF spotOf(ShelfSurface &surface, qsizetype index, Spot spot)
{
    const ShelfItem &shown = *surface.item(0, index);
    const QRectF cell = surface.itemRect(0, index);
    const SaveCard card(shown, Date{700000000}, false);
    const SaveCard::Layout c = card.layout(QRectF(cell.topLeft(), QSizeF(cell.width(), card.height())), SaveCard::ViewState{});
    const SaveRow::Layout r = SaveRow(shown, Date{700000000}, false).layout(cell);
    switch (spot) {
    case Spot::cardBody:
        return c.meta.center();
    case Spot::cardThumbnail:
        return c.thumbnail.center() + QPointF(0, 30);
    case Spot::cardPill:
        return c.pill.center();
    case Spot::cardTrash:
        return c.trash ? c.trash->center() : QPointF(c.pill.right() + 20, c.pill.center().y());
    case Spot::rowBody:
        return r.name.center();
    case Spot::rowGap:
        return QPointF((r.text.right() + r.meta.left()) / 2, r.body.center().y());
    case Spot::rowPill:
        return r.pill.center();
    case Spot::rowTrash:
        return r.trash ? r.trash->center() : QPointF(r.pill.right() + 20, r.pill.center().y());
    case Spot::rowPadding:
        return QPointF(r.body.center().x(), cell.top() + 2);
    }
    return {};
}

QMenu *openMenuAt(ShelfSurface &surface, const QPointF &point)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, point.toPoint(), surface.viewport()->mapToGlobal(point.toPoint()));
    QApplication::sendEvent(surface.viewport(), &event);
    const QList<QMenu *> menus = surface.findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    return menus.isEmpty() ? nullptr : menus.last();
}

QAction *findAction(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
        if (action->menu())
            if (QAction *inner = findAction(action->menu(), text))
                return inner;
    }
    return nullptr;
}

// A parent that takes drops, to see what the shelf lets through.
class DropCatcher : public QWidget {
public:
    DropCatcher() { setAcceptDrops(true); }
    int entered = 0;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        ++entered;
        event->acceptProposedAction();
    }
};

}  // namespace

Q_DECLARE_METATYPE(Spot)

class TestShelfSurface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void clicks_data();
    void clicks();
    void pressMovedToAnotherPartClicksNothing();
    void menuOnTheClickedItem_data();
    void menuOnTheClickedItem();
    void dragPayload_data();
    void dragPayload();
    void ownDropRefused();
    void changeRepaintsOnlyThatItem();
    void unchangedCardsKeepTheirImages();
    void cardsAheadArePaintedWhileIdle();
    void newBlocksMakeTheScreensPaintersFirst_data();
    void newBlocksMakeTheScreensPaintersFirst();
    void imageCachesFollowTheViewport();
    void paintingAheadWaitsForTheNextPaint();
    void paintingAheadHeldForComingBlocks_data();
    void paintingAheadHeldForComingBlocks();
    void arrivedPictureRepaintsOnlyTheItemsShowingIt();
    void findsTheFirstItemOfASave_data();
    void findsTheFirstItemOfASave();
    void relayoutFollowingTheLastItemsLaysOutAsAFreshOne_data();
    void relayoutFollowingTheLastItemsLaysOutAsAFreshOne();
    void aChangeKeepsTheTopItem_data();
    void aChangeKeepsTheTopItem();
    void keysGoToThePage();
    void itemsBroughtIntoViewClearTheCoveredTop_data();
    void itemsBroughtIntoViewClearTheCoveredTop();
    void picturesOnlyAroundTheViewport();
    void accessibleItems();
    void widgetBlocksScrollWithTheColumn();
    void aScrollHoversWhatComesUnderTheRestingPointer_data();
    void aScrollHoversWhatComesUnderTheRestingPointer();
    void aWidgetBlockRelaysOutOnlyForANewHeight();
    void widgetsStandingStillAreNotPaintedAgain_data();
    void widgetsStandingStillAreNotPaintedAgain();
    void revealsMoveByWholeStepsOfTheCanvas_data();
    void revealsMoveByWholeStepsOfTheCanvas();
    void scrollsShowWhatAWholeRepaintShows_data();
    void scrollsShowWhatAWholeRepaintShows();
    void newListsShowWhatAWholeRepaintShows_data();
    void newListsShowWhatAWholeRepaintShows();
    void canvasAndCardsLeaveNoHole_data();
    void canvasAndCardsLeaveNoHole();
    void aFramePaintedInBandsIsTheFramePaintedWhole_data();
    void aFramePaintedInBandsIsTheFramePaintedWhole();

private:
    void showAboveAList(QWidget &header);
    // Brings into view the item of a long list whose row lies `at` points down the viewport of
    // a shelf scrolled halfway: the scroll value before and after, and the item's place in view.
    struct Revealed {
        int before = 0;
        int after = 0;
        QRectF inView;
    };
    Revealed revealTheItemAt(double at);
    // Puts the dotted canvas under the shelf, which then paints it under itself.
    void overTheCanvas();
    // Shows `c` scrolled down by `scrolled`, the pointer resting on its sixth item if `hovered`.
    void show(const ShelfCollection &c, int scrolled, bool hovered);
    std::unique_ptr<DropCatcher> m_window;
    ShelfSurface *m_surface = nullptr;
    Calls m_calls;
};

void TestShelfSurface::initTestCase()
{
    loadFonts();
    Tokens::Motion::setEnabled(false);
}

void TestShelfSurface::init()
{
    m_calls = Calls{};
    m_window = std::make_unique<DropCatcher>();
    m_window->resize(1100, 800);
    m_surface = new ShelfSurface(m_window.get());
    m_surface->setPadding({24, 16, 24, 44});
    m_surface->setSpacing(14);
    m_surface->setGeometry(0, 0, 1100, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestShelfSurface::cleanup()
{
    m_window.reset();
    m_surface = nullptr;
}

void TestShelfSurface::clicks_data()
{
    QTest::addColumn<ShelfLayout>("layout");
    QTest::addColumn<bool>("trashed");
    QTest::addColumn<Spot>("spot");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("card body selects") << ShelfLayout::grid << false << Spot::cardBody << "select 6" << Qt::KeyboardModifiers();
    QTest::newRow("card thumbnail selects") << ShelfLayout::grid << false << Spot::cardThumbnail << "select 6" << Qt::KeyboardModifiers();
    QTest::newRow("card pill asks for the action") << ShelfLayout::grid << false << Spot::cardPill << "action 6" << Qt::KeyboardModifiers();
    QTest::newRow("card trash asks to trash") << ShelfLayout::grid << false << Spot::cardTrash << "trash 6" << Qt::KeyboardModifiers();
    QTest::newRow("trashed card: no trash button") << ShelfLayout::grid << true << Spot::cardTrash << "" << Qt::KeyboardModifiers();
    QTest::newRow("row label selects") << ShelfLayout::list << false << Spot::rowBody << "select 6" << Qt::KeyboardModifiers();
    QTest::newRow("row gap before the meta line selects") << ShelfLayout::list << false << Spot::rowGap << "select 6" << Qt::KeyboardModifiers();
    QTest::newRow("row pill asks for the action, not selecting") << ShelfLayout::list << false << Spot::rowPill << "action 6" << Qt::KeyboardModifiers();
    QTest::newRow("row trash asks to trash, not selecting") << ShelfLayout::list << false << Spot::rowTrash << "trash 6" << Qt::KeyboardModifiers();
    QTest::newRow("trashed row: the pill restores, no trash") << ShelfLayout::list << true << Spot::rowPill << "action 6" << Qt::KeyboardModifiers();
    QTest::newRow("trashed row: nothing where the trash was") << ShelfLayout::list << true << Spot::rowTrash << "" << Qt::KeyboardModifiers();
    QTest::newRow("row padding above the label: nothing") << ShelfLayout::list << false << Spot::rowPadding << "" << Qt::KeyboardModifiers();
    // A select carries the modifiers of its click, whatever the layout.
    QTest::newRow("ctrl on a card") << ShelfLayout::grid << false << Spot::cardBody << "select 6"
                                    << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("shift on a row") << ShelfLayout::list << false << Spot::rowBody << "select 6"
                                    << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("ctrl on a pill: the action alone") << ShelfLayout::grid << false << Spot::cardPill << "action 6"
                                                      << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void TestShelfSurface::clicks()
{
    QFETCH(ShelfLayout, layout);
    QFETCH(bool, trashed);
    QFETCH(Spot, spot);
    QFETCH(QString, expected);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QList<Save> saves;
    for (int n = 1; n <= 12; ++n)
        saves.append(save(SaveSpec{.n = n, .trashed = trashed}));
    const Shelf shelf(Library(saves, {}), media(CopyTable()), std::nullopt, Date{700000000}, Quality::original);
    ShelfCollection c = recording(shelf.items(trashed ? Filter::trash() : Filter::all()), layout, m_calls);
    c.selection = saveID(2);
    m_surface->setCollection(c);
    // The sixth save, whichever cell it stands in.
    const qsizetype index = 5;
    QCOMPARE(number(m_surface->item(0, index)->save().id()), 6);
    QTest::mouseClick(m_surface->viewport(), Qt::LeftButton, modifiers, spotOf(*m_surface, index, spot).toPoint());
    QCOMPARE(m_calls.log.join(u','), expected);
    if (expected.startsWith(u"select"))
        QCOMPARE(m_calls.intents.last(), SaveIntent::select(modifiers));
}

void TestShelfSurface::pressMovedToAnotherPartClicksNothing()
{
    m_surface->setCollection(recording(items(8), ShelfLayout::list, m_calls));
    const QPoint pill = spotOf(*m_surface, 2, Spot::rowPill).toPoint();
    const QPoint trash = spotOf(*m_surface, 2, Spot::rowTrash).toPoint();
    QTest::mousePress(m_surface->viewport(), Qt::LeftButton, {}, pill);
    QTest::mouseRelease(m_surface->viewport(), Qt::LeftButton, {}, trash);
    QCOMPARE(m_calls.log, QStringList());
}

void TestShelfSurface::menuOnTheClickedItem_data()
{
    QTest::addColumn<ShelfLayout>("layout");
    QTest::newRow("grid") << ShelfLayout::grid;
    QTest::newRow("list") << ShelfLayout::list;
}

// The menu opened on one item while another is selected: its intents carry the item it was
// opened on.
void TestShelfSurface::menuOnTheClickedItem()
{
    QFETCH(ShelfLayout, layout);
    ShelfCollection c = recording(items(10), layout, m_calls);
    c.selection = saveID(1);
    c.collections = {collection(1, QStringLiteral("Work"))};
    m_surface->setCollection(c);
    QMenu *menu = openMenuAt(*m_surface, m_surface->itemRect(0, 4).center());
    QVERIFY(menu);
    QAction *copy = findAction(menu, StashwellUIStrings::saveMenuCopyLink());
    QVERIFY(copy);
    copy->trigger();
    QAction *work = findAction(menu, QStringLiteral("Work"));
    QVERIFY(work);
    work->trigger();
    QCOMPARE(m_calls.log, (QStringList{QStringLiteral("copyLink 5"), QStringLiteral("file 5")}));
    QVERIFY(m_calls.intents.last() == SaveIntent::file(collection(1, QStringLiteral("Work")).id));
    menu->close();

    // On the gaps between items there is no menu.
    m_calls = Calls{};
    const int before = int(m_surface->findChildren<QMenu *>().size());
    const QRectF first = m_surface->itemRect(0, 0);
    openMenuAt(*m_surface, QPointF(first.center().x(), first.top() - 5));
    QCOMPARE(int(m_surface->findChildren<QMenu *>().size()), before);
}

void TestShelfSurface::dragPayload_data()
{
    QTest::addColumn<ShelfItem>("item");
    QTest::addColumn<QString>("address");
    QTest::newRow("an X post: its canonical status address, handle in lower case")
        << item(SaveSpec{.n = 3}) << QStringLiteral("https://x.com/writer3/status/1003");
    QTest::newRow("a web page: the page's address")
        << item(SaveSpec{.n = 4, .web = true}) << QStringLiteral("https://news.example.com/story-4");
}

void TestShelfSurface::dragPayload()
{
    QFETCH(ShelfItem, item);
    QFETCH(QString, address);
    std::unique_ptr<QMimeData> data(ShelfCollection::dragData(item, 42));
    QCOMPARE(data->urls(), QList<QUrl>{QUrl(address)});
    QCOMPARE(data->text(), address);
    QVERIFY(ShelfCollection::isOwnDrop(data.get(), 42));
    QVERIFY(!ShelfCollection::isOwnDrop(data.get(), 43));

    // The same address from anywhere else is not the shelf's own.
    QMimeData outside;
    outside.setUrls({QUrl(address)});
    outside.setText(address);
    QVERIFY(!ShelfCollection::isOwnDrop(&outside, 42));
    QVERIFY(!ShelfCollection::isOwnDrop(nullptr, 42));
}

// A card let go on its own shelf does nothing and goes no further; another shelf's card, or a
// link from elsewhere, goes on to the window.
void TestShelfSurface::ownDropRefused()
{
    m_surface->setCollection(recording(items(6), ShelfLayout::grid, m_calls));
    const QPoint at = m_surface->itemRect(0, 1).center().toPoint();
    std::unique_ptr<QMimeData> own(m_surface->dragData(0, 0));
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::LinkAction, own.get(), Qt::LeftButton, {});
    QApplication::sendEvent(m_surface->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::IgnoreAction);
    QCOMPARE(m_window->entered, 0);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::LinkAction, own.get(), Qt::LeftButton, {});
    QApplication::sendEvent(m_surface->viewport(), &drop);
    QCOMPARE(drop.dropAction(), Qt::IgnoreAction);
    QCOMPARE(m_calls.log, QStringList());

    ShelfSurface other;
    std::unique_ptr<QMimeData> foreign(ShelfCollection::dragData(*m_surface->item(0, 0), other.dragOrigin()));
    QDragEnterEvent fromOther(at, Qt::CopyAction, foreign.get(), Qt::LeftButton, {});
    QApplication::sendEvent(m_surface->viewport(), &fromOther);
    QCOMPARE(m_window->entered, 1);
}

void TestShelfSurface::changeRepaintsOnlyThatItem()
{
    QList<Save> saves;
    for (int n = 1; n <= 400; ++n)
        saves.append(save(SaveSpec{.n = n}));
    const Library library(saves, {});
    const Shelf shelf(library, media(CopyTable()), std::nullopt, Date{700000000}, Quality::original);
    QList<ShelfItem> shown = shelf.items(Filter::all());
    ShelfCollection c = recording(shown, ShelfLayout::grid, m_calls);
    m_surface->setCollection(c);
    m_surface->takeInvalidated();

    // One save's download moves on, in the next projection of the same library.
    CopyTable table;
    const auto changed = [&](qsizetype index, LocalCopy copy) {
        table.insert(shown[index].save().post().link, copy);
        const Shelf next(library, media(table), std::nullopt, Date{700000000}, Quality::original);
        QList<ShelfItem> items = c.items;
        items[index] = next.item(shown[index].save());
        return items;
    };
    c.items = changed(5, LocalCopy::downloading(10, 100));
    m_surface->setCollection(c);
    const QRegion region = m_surface->takeInvalidated();
    const QRect cell = m_surface->itemRect(0, 5).adjusted(0, -2, 0, 2).toAlignedRect();
    QVERIFY(!region.isEmpty());
    QVERIFY2(region.subtracted(cell).isEmpty(), "repainted beyond the changed item");

    // A change far below the viewport asks for no repaint at all.
    c.items = changed(390, LocalCopy::downloading(10, 100));
    m_surface->setCollection(c);
    QVERIFY(m_surface->takeInvalidated().isEmpty());

    // A new selection repaints the two items it concerns.
    c.items = shown;
    m_surface->setCollection(c);
    m_surface->takeInvalidated();
    c.selection = shown[2].save().id();
    m_surface->setCollection(c);
    const QRegion selected = m_surface->takeInvalidated();
    QVERIFY(selected.intersects(m_surface->itemRect(0, 2).toAlignedRect()));
    QVERIFY(selected.subtracted(m_surface->itemRect(0, 2).adjusted(0, -2, 0, 2).toAlignedRect()).isEmpty());
    c.selection = shown[7].save().id();
    m_surface->setCollection(c);
    const QRegion moved = m_surface->takeInvalidated();
    QVERIFY(moved.intersects(m_surface->itemRect(0, 2).toAlignedRect()));
    QVERIFY(moved.intersects(m_surface->itemRect(0, 7).toAlignedRect()));
    QVERIFY(!moved.intersects(m_surface->itemRect(0, 4).toAlignedRect()));
}

void TestShelfSurface::unchangedCardsKeepTheirImages()
{
    const QList<ShelfItem> shown = items(40);
    ShelfCollection c = recording(shown, ShelfLayout::grid, m_calls);
    m_surface->setCollection(c);
    m_surface->viewport()->grab();
    const int renders = m_surface->cardImages().renders();
    const int painted = m_surface->lastPaintedItems();
    QVERIFY(painted > 4);

    // The same saves handed in again (a new list of them): nothing is painted anew.
    c.items = items(40);
    m_surface->setCollection(c);
    m_surface->viewport()->grab();
    QCOMPARE(m_surface->cardImages().renders(), renders);

    // One of them selected: its border shows it, drawn over the image it keeps.
    c.selection = shown[1].save().id();
    m_surface->setCollection(c);
    m_surface->viewport()->grab();
    QCOMPARE(m_surface->cardImages().renders(), renders);
    QVERIFY(m_surface->lastPaintedItems() >= 1);
}

// While nothing else happens the cards a page away are painted ahead, so that scrolling to them
// paints none anew.
void TestShelfSurface::cardsAheadArePaintedWhileIdle()
{
    m_surface->setCollection(recording(items(400), ShelfLayout::grid, m_calls));
    m_surface->viewport()->grab();
    int renders = -1;
    // Idle until no more cards are painted ahead.
    QTRY_VERIFY_WITH_TIMEOUT([&] {
        const int now = m_surface->cardImages().renders();
        const bool settled = now == renders;
        renders = now;
        return settled;
    }(), 5000);
    QVERIFY(renders > m_surface->lastPaintedItems());
    QScrollBar *bar = m_surface->verticalScrollBar();
    bar->setValue(bar->value() + m_surface->viewport()->height());
    m_surface->viewport()->grab();
    QVERIFY(m_surface->lastPaintedItems() > 4);
    QCOMPARE(m_surface->cardImages().renders(), renders);
}

// New blocks make the painters of the items on screen at once and those a screen around it once
// the change has painted; painters made already are kept meanwhile, and a scroll finds its own.
void TestShelfSurface::newBlocksMakeTheScreensPaintersFirst_data()
{
    QTest::addColumn<ShelfLayout>("layout");
    QTest::addColumn<QString>("then");   // "other saves", "same saves", "scroll"
    QTest::newRow("grid, other saves") << ShelfLayout::grid << "other saves";
    QTest::newRow("list, other saves") << ShelfLayout::list << "other saves";
    QTest::newRow("grid, the same saves selected") << ShelfLayout::grid << "same saves";
    QTest::newRow("list, scrolled before painting ahead") << ShelfLayout::list << "scroll";
}

void TestShelfSurface::newBlocksMakeTheScreensPaintersFirst()
{
    QFETCH(ShelfLayout, layout);
    QFETCH(QString, then);
    const auto onScreen = [&] {
        int n = 0;
        for (const ShelfSurface::KeptPainter &kept : m_surface->keptPainters())
            n += kept.index >= 0 && m_surface->itemRect(kept.block, kept.index).intersects(m_surface->viewport()->rect());
        return n;
    };
    ShelfCollection first = recording(items(400), layout, m_calls);
    m_surface->setCollection(first);
    m_surface->viewport()->repaint();
    // Painting ahead, in the turns after the paint, makes the rest in its first slice.
    QTRY_VERIFY(m_surface->builtCount() > onScreen());
    const int around = m_surface->builtCount();

    if (then == u"same saves") {
        first.selection = first.items.at(2).save().id();
        m_surface->setCollection(first);
        QCOMPARE(m_surface->builtCount(), around);
        return;
    }
    m_surface->setCollection(recording(items(400, 3, 401), layout, m_calls));
    const int shown = onScreen();
    QVERIFY(shown > 0);
    QCOMPARE(m_surface->builtCount(), shown);
    if (then == u"scroll") {
        QScrollBar *bar = m_surface->verticalScrollBar();
        bar->setValue(bar->value() + m_surface->viewport()->height() / 2);
        QVERIFY(m_surface->builtCount() > onScreen());
        return;
    }
    m_surface->viewport()->repaint();
    QTRY_COMPARE(m_surface->builtCount(), around);
}

void TestShelfSurface::imageCachesFollowTheViewport()
{
    // The images kept are a few screens of the viewport: at least what the prepared cards around
    // the screen take, more for a larger shelf, and never past each cache's own budget.
    const auto screenBytes = [&] {
        const QSize shown = m_surface->viewport()->size();
        const qreal ratio = m_surface->viewport()->devicePixelRatioF();
        return double(shown.width()) * ratio * double(shown.height()) * ratio * 4;
    };
    m_surface->setCollection(recording(items(200), ShelfLayout::grid, m_calls));
    const std::int64_t usual = m_surface->cardImages().budgetBytes();
    QVERIFY(double(usual) >= 3 * screenBytes());
    QVERIFY(usual < SaveCardCache::defaultBudget);
    QVERIFY(double(m_surface->rowImages().budgetBytes()) >= 3 * screenBytes());

    m_surface->setGeometry(0, 0, 200, 150);
    QCOMPARE(m_surface->cardImages().budgetBytes(), ShelfSurface::minImageBudget);

    m_window->resize(5000, 4000);
    m_surface->setGeometry(0, 0, 5000, 4000);
    QCOMPARE(m_surface->cardImages().budgetBytes(), SaveCardCache::defaultBudget);
    QCOMPARE(m_surface->rowImages().budgetBytes(), SaveRowCache::defaultBudget);
    m_surface->setGeometry(0, 0, 1100, 800);
    QVERIFY(double(m_surface->cardImages().budgetBytes()) >= 3 * screenBytes());
    QVERIFY(m_surface->cardImages().budgetBytes() < SaveCardCache::defaultBudget);
}

// Painting ahead never runs between a change and the paint that shows it, even when its turn is
// due; it goes on once that paint has run.
void TestShelfSurface::paintingAheadWaitsForTheNextPaint()
{
    m_window->resize(1100, 4000);
    m_surface->setGeometry(0, 0, 1100, 4000);
    ShelfCollection c = recording(items(400), ShelfLayout::grid, m_calls, 8);
    m_surface->setCollection(c);
    // A selection's change from a queued call, as a page's turn makes it, sent while the first
    // paint runs: painting ahead is due from the turn after that paint. (A turn now paints nearly
    // all that lies ahead, so a change sent after the first one would find nothing left to go on.)
    int rendersAtFirstPaint = -1;
    int before = -1;
    int rendersAtPaint = -1;
    struct AtPaint : QObject {
        std::function<void()> paint;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                paint();
            return false;
        }
    } atPaint;
    atPaint.paint = [&] {
        const int renders = m_surface->cardImages().renders();
        if (rendersAtFirstPaint < 0) {
            rendersAtFirstPaint = renders;
            c.selection = c.items.at(1).save().id();
            QMetaObject::invokeMethod(
                m_surface,
                [&] {
                    m_surface->setCollection(c);
                    before = m_surface->cardImages().renders();
                },
                Qt::QueuedConnection);
        } else if (before >= 0 && rendersAtPaint < 0) {
            rendersAtPaint = renders;
        }
    };
    m_surface->viewport()->installEventFilter(&atPaint);
    QTRY_VERIFY(rendersAtPaint >= 0);
    QCOMPARE(rendersAtFirstPaint, 0);
    QCOMPARE(rendersAtPaint, before);
    QTRY_VERIFY(m_surface->cardImages().renders() > before + 1);
}

// While the owner is about to hand new blocks, painting ahead waits, whatever paints meanwhile;
// new blocks (after their paint) or a release without them let it go on. After a paint it starts
// no sooner than the next turn, so that it never runs inside the turn that shows a change.
void TestShelfSurface::paintingAheadHeldForComingBlocks_data()
{
    QTest::addColumn<bool>("paintMeanwhile");
    QTest::addColumn<bool>("newBlocks");   // else released without any
    QTest::newRow("new blocks come") << false << true;
    QTest::newRow("none come: released") << false << false;
    QTest::newRow("a paint meanwhile, then released") << true << false;
}

void TestShelfSurface::paintingAheadHeldForComingBlocks()
{
    QFETCH(bool, paintMeanwhile);
    QFETCH(bool, newBlocks);
    m_window->resize(1100, 4000);
    m_surface->setGeometry(0, 0, 1100, 4000);
    ShelfCollection c = recording(items(400), ShelfLayout::grid, m_calls, 8);
    m_surface->setCollection(c);
    m_surface->viewport()->repaint();
    QVERIFY(!m_surface->preparing());
    QTRY_VERIFY(m_surface->cardImages().renders() > m_surface->lastPaintedItems());

    m_surface->holdPrepare();
    const int held = m_surface->cardImages().renders();
    if (paintMeanwhile)
        m_surface->viewport()->repaint();
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(m_surface->cardImages().renders(), held);
    if (newBlocks) {
        c.selection = c.items.at(1).save().id();
        m_surface->setCollection(c);
        m_surface->viewport()->repaint();
        QVERIFY(!m_surface->preparing());
    } else {
        m_surface->releasePrepare();
    }
    QTRY_VERIFY(m_surface->cardImages().renders() > held + 1);
}

// A save is found at its first item in block order, by its id alone: the fixtures' ids 1 and 101
// have the same first bytes, and a save changed since (another post under the same id) is still it.
void TestShelfSurface::findsTheFirstItemOfASave_data()
{
    QTest::addColumn<QList<int>>("blocks");   // saves 1 to the first, then as many more; save 20's other post last
    QTest::addColumn<int>("sought");
    QTest::addColumn<QList<int>>("found");    // block and index; empty: none
    QTest::newRow("in the first block") << QList<int>{200} << 150 << QList<int>{0, 149};
    QTest::newRow("after an id with the same first bytes") << QList<int>{200} << 101 << QList<int>{0, 100};
    QTest::newRow("in the second block") << QList<int>{50, 70} << 60 << QList<int>{1, 9};
    QTest::newRow("changed since, first in the first block") << QList<int>{50, 70} << 20 << QList<int>{0, 19};
    QTest::newRow("changed since, only in the second block") << QList<int>{10, 5} << 20 << QList<int>{1, 5};
    QTest::newRow("nowhere") << QList<int>{50, 70} << 999 << QList<int>{};
}

void TestShelfSurface::findsTheFirstItemOfASave()
{
    QFETCH(QList<int>, blocks);
    QFETCH(int, sought);
    QFETCH(QList<int>, found);
    QList<ShelfSurface::Block> shown{recording(items(blocks.at(0)), ShelfLayout::grid, m_calls)};
    if (blocks.size() > 1) {
        QList<ShelfItem> more = items(blocks.at(1), 3, blocks.at(0) + 1);
        more.append(item(Save(saveID(20), post(777, {}), Date{700000000}, false, std::nullopt, {}, QString(), std::nullopt)));
        shown.append(recording(more, ShelfLayout::list, m_calls));
    }
    m_surface->setBlocks(shown);
    const std::optional<ShelfGeometry::Hit> hit = m_surface->find(saveID(sought));
    const QList<int> at = hit ? QList<int>{int(hit->block), int(hit->index)} : QList<int>();
    QCOMPARE(at, found);
}

void TestShelfSurface::arrivedPictureRepaintsOnlyTheItemsShowingIt()
{
    // Each save with a picture of its own, the fifth with the second's.
    QList<Save> saves;
    for (int n = 1; n <= 60; ++n) {
        Post p = post(n, {image(n == 5 ? 2 : n)});
        p.preview = url(QStringLiteral("https://pbs.example.com/preview-%1.jpg").arg(n == 5 ? 2 : n));
        saves.append(Save(saveID(n), p, Date{double(700000000 - n)}, false, std::nullopt, {}, QString(), std::nullopt));
    }
    const QList<ShelfItem> shown =
        Shelf(Library(saves, {}), media(CopyTable()), std::nullopt, Date{700000000}, Quality::original).items(Filter::all());
    m_surface->setCollection(recording(shown, ShelfLayout::grid, m_calls));
    m_surface->viewport()->grab();
    m_surface->takeInvalidated();
    const auto keyOf = [&](qsizetype index) -> PictureKey {
        const SaveCard card(shown.at(index), Date{700000000}, false);
        const std::optional<PictureKey> key = card.pictureKey(SaveCard::ViewState{});
        return key.value_or(PictureKey{});
    };
    const auto cell = [&](qsizetype index) {
        return m_surface->itemRect(0, index).adjusted(0, -SaveCard::hoverLift - 1, 0, 1).toAlignedRect();
    };
    const qsizetype second = m_surface->find(saveID(2))->index;
    const qsizetype fifth = m_surface->find(saveID(5))->index;
    emit m_surface->pictures().arrived(keyOf(second));
    const QRegion repainted = m_surface->takeInvalidated();
    QVERIFY(repainted.intersects(m_surface->itemRect(0, second).toAlignedRect()));
    QVERIFY(repainted.intersects(m_surface->itemRect(0, fifth).toAlignedRect()));
    QVERIFY(repainted.subtracted(QRegion(cell(second)) + cell(fifth)).isEmpty());
    // A picture of an item far below the screen repaints nothing.
    emit m_surface->pictures().arrived(keyOf(m_surface->find(saveID(58))->index));
    QVERIFY(m_surface->takeInvalidated().isEmpty());
}

// The height classes taken from the last items where the same posts stand, or from a list met
// lately, lay the grid out as classes read from every post do: seeded rows of changes to the list
// (a row moved in or out at the top, saves gone, others edited, an order turned, a list handed in
// again), with the width and the columns changing on the way and the list moving under a header
// and back.
void TestShelfSurface::relayoutFollowingTheLastItemsLaysOutAsAFreshOne_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 7u, 42u, 2024u, 90210u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestShelfSurface::relayoutFollowingTheLastItemsLaysOutAsAFreshOne()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    // Saves with and without pictures in no pattern, and each again with the other kind.
    const auto made = [&](bool flipped) {
        QList<Save> saves;
        for (int n = 1; n <= 160; ++n) {
            SaveSpec spec;
            spec.n = n;
            if ((QRandomGenerator(seed + quint32(n)).bounded(3) == 0) != flipped)
                spec.attachments.clear();
            saves.append(save(spec));
        }
        return Shelf(Library(saves, {}), media(CopyTable()), std::nullopt, Date{700000000}, Quality::original).items(Filter::all());
    };
    const QList<ShelfItem> pool = made(false);
    const QList<ShelfItem> edited = made(true);
    QList<QList<ShelfItem>> handed;
    QList<ShelfItem> shown = pool.mid(0, 100);
    ShelfCollection c = recording(shown, ShelfLayout::grid, m_calls);
    // Now and then the list stands under a header, in the second block, as the home's does.
    QWidget header;
    header.setMinimumHeight(40);
    bool underHeader = false;
    for (int step = 0; step < 40; ++step) {
        QList<ShelfItem> next = shown;
        if (random.bounded(4) == 0)
            underHeader = !underHeader;
        switch (random.bounded(9)) {
        case 0:   // the top row shorter or longer
            next = random.bounded(2) ? shown.mid(random.bounded(1, 5)) : pool.mid(0, random.bounded(1, 5)) + shown;
            break;
        case 1:   // saves gone here and there
            for (int k = random.bounded(1, 12); k > 0 && !next.isEmpty(); --k)
                next.removeAt(random.bounded(int(next.size())));
            break;
        case 2:   // saves edited into the other kind
            for (int k = random.bounded(1, 8); k > 0 && !next.isEmpty(); --k) {
                const qsizetype at = random.bounded(int(next.size()));
                next[at] = edited.at(pool.indexOf(next.at(at)) >= 0 ? pool.indexOf(next.at(at)) : 0);
            }
            break;
        case 3:
            std::reverse(next.begin(), next.end());
            break;
        case 4:   // a list handed in before, the same list
            if (!handed.isEmpty())
                next = handed.at(random.bounded(int(handed.size())));
            break;
        case 5:   // a run of other saves
            next = pool.mid(random.bounded(60), random.bounded(20, 100));
            break;
        case 6:   // the list before this one, back again, in other columns (a selection let go)
            c.columns = random.bounded(1, 6);
            for (qsizetype i = handed.size() - 1; i >= 0; --i) {
                if (!handed.at(i).isSharedWith(shown)) {
                    next = handed.at(i);
                    break;
                }
            }
            break;
        case 7:   // the other layout
            c.layout = c.layout == ShelfLayout::grid ? ShelfLayout::list : ShelfLayout::grid;
            break;
        default:
            m_surface->setGeometry(0, 0, random.bounded(300, 1400), 800);
            c.columns = random.bounded(1, 6);
            break;
        }
        shown = next;
        handed.append(shown);
        c.items = shown;
        if (underHeader)
            m_surface->setBlocks({ShelfSurface::WidgetBlock{&header}, c});
        else
            m_surface->setCollection(c);

        const ItemGeometry &laid = *m_surface->columnGeometry().block(underHeader ? 1 : 0).items;
        if (c.layout == ShelfLayout::list) {
            QVERIFY2(!laid.isGrid(), qPrintable(QStringLiteral("step %1").arg(step)));
            QCOMPARE(laid.count(), shown.size());
            continue;
        }
        std::vector<std::uint8_t> classes;
        for (const ShelfItem &item : std::as_const(shown))
            classes.push_back(item.save().post().attachments.empty() ? 0 : 1);
        ItemGeometry fresh = ItemGeometry::grid(c.effectiveColumns(), ShelfCollection::gridSpacing, classes,
                                                {SaveCard::height(false), SaveCard::height(true)});
        fresh.setWidth(laid.width());
        QVERIFY2(laid.classes() == classes, qPrintable(QStringLiteral("step %1").arg(step)));
        QCOMPARE(laid.columns(), fresh.columns());
        QCOMPARE(laid.height(), fresh.height());
        for (qsizetype i = 0; i < shown.size(); ++i)
            QCOMPARE(laid.rect(i), fresh.rect(i));
    }
}

void TestShelfSurface::aChangeKeepsTheTopItem_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("dropped");   // items taken off the front of the list
    QTest::addColumn<bool>("fromTop");  // showFromTop() before the new blocks
    QTest::newRow("fewer columns") << 3 << 0 << false;
    QTest::newRow("items gone above it") << 4 << 40 << false;
    QTest::newRow("another list shows from the top") << 4 << 40 << true;
    QTest::newRow("the same list asked from the top") << 4 << 0 << true;
}

void TestShelfSurface::aChangeKeepsTheTopItem()
{
    QFETCH(int, columns);
    QFETCH(int, dropped);
    QFETCH(bool, fromTop);
    ShelfCollection c = recording(items(300), ShelfLayout::grid, m_calls, 4);
    m_surface->setCollection(c);
    m_surface->verticalScrollBar()->setValue(m_surface->verticalScrollBar()->maximum() / 2);
    const ItemGeometry::Range before = m_surface->visibleItems().front().items;
    const Save::ID top = m_surface->item(0, before.first)->save().id();
    c.columns = columns;
    c.items.remove(0, dropped);
    if (fromTop)
        m_surface->showFromTop();
    m_surface->setCollection(c);
    QCOMPARE(m_surface->columnGeometry().block(0).items->columns(), qsizetype(columns));
    if (fromTop) {
        QCOMPARE(m_surface->verticalScrollBar()->value(), 0);
        // Asked once: the next change keeps its top item again.
        m_surface->verticalScrollBar()->setValue(m_surface->verticalScrollBar()->maximum() / 2);
        const int scrolled = m_surface->verticalScrollBar()->value();
        c.items.remove(0, 1);
        m_surface->setCollection(c);
        QVERIFY(m_surface->verticalScrollBar()->value() > 0);
        QVERIFY(std::abs(m_surface->verticalScrollBar()->value() - scrolled) < scrolled);
        return;
    }
    const auto at = m_surface->find(top);
    QVERIFY(at);
    const ItemGeometry::Range after = m_surface->visibleItems().front().items;
    QVERIFY2(at->index >= after.first && at->index < after.last,
             qPrintable(QStringLiteral("%1 not in %2..%3").arg(at->index).arg(after.first).arg(after.last)));
}

void TestShelfSurface::itemsBroughtIntoViewClearTheCoveredTop_data()
{
    QTest::addColumn<double>("covered");
    QTest::addColumn<double>("at");        // where the item's row is in the viewport before
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("nothing over the top, an item at the top edge") << 0.0 << 30.0 << false;
    QTest::newRow("an item partly under what covers the top") << 60.0 << 30.0 << true;
    QTest::newRow("an item above the viewport") << 60.0 << -200.0 << true;
    QTest::newRow("an item below what covers the top") << 60.0 << 300.0 << false;
}

TestShelfSurface::Revealed TestShelfSurface::revealTheItemAt(double at)
{
    m_surface->setCollection(recording(items(200), ShelfLayout::list, m_calls));
    QScrollBar *bar = m_surface->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const std::optional<ShelfGeometry::Hit> hit = m_surface->columnGeometry().itemAt(QPointF(100, bar->value() + at));
    if (!hit)
        return {};
    const int before = bar->value();
    m_surface->scrollToItem(m_surface->item(hit->block, hit->index)->save().id());
    return {before, bar->value(), m_surface->columnGeometry().itemRect(hit->block, hit->index).translated(0, -bar->value())};
}

void TestShelfSurface::overTheCanvas()
{
    auto *grid = new DotGrid(m_window.get());
    grid->setGeometry(m_surface->geometry());
    grid->lower();
    grid->show();
    m_surface->setBackdrop(grid);
}

void TestShelfSurface::show(const ShelfCollection &c, int scrolled, bool hovered)
{
    m_surface->setCollection(c);
    QCoreApplication::processEvents();
    m_surface->verticalScrollBar()->setValue(scrolled);
    QCoreApplication::processEvents();
    if (hovered) {
        const QPoint at = m_surface->itemRect(0, 5).center().toPoint() - QPoint(0, scrolled);
        QTest::mouseMove(m_surface->viewport(), at);
        QCoreApplication::processEvents();
    }
}

void TestShelfSurface::itemsBroughtIntoViewClearTheCoveredTop()
{
    QFETCH(double, covered);
    QFETCH(double, at);
    QFETCH(bool, scrolls);
    m_surface->setCoveredTop(covered);
    const Revealed revealed = revealTheItemAt(at);
    QVERIFY(!revealed.inView.isNull());
    QCOMPARE(revealed.after != revealed.before, scrolls);
    QVERIFY(revealed.inView.top() >= covered);
}

void TestShelfSurface::keysGoToThePage()
{
    m_surface->setCollection(recording(items(200), ShelfLayout::list, m_calls));
    QList<int> seen;
    m_surface->setKeyHandler([&seen](QKeyEvent *event) {
        seen.append(event->key());
        return event->key() == Qt::Key_Return;
    });
    m_surface->setFocus();
    const int scroll = m_surface->verticalScrollBar()->value();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_Return, Qt::Key_Space,
                              Qt::Key_Delete, Qt::Key_Escape})
        QTest::keyClick(m_surface, key);
    QCOMPARE(seen, (QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_Return, Qt::Key_Space,
                               Qt::Key_Delete, Qt::Key_Escape}));
    QCOMPARE(m_surface->verticalScrollBar()->value(), scroll);
    QTest::keyClick(m_surface, Qt::Key_PageDown);
    QVERIFY(m_surface->verticalScrollBar()->value() > scroll);
}

// Each save shows a picture of its own from a loopback address that nothing answers; one load runs
// at a time, so the rest wait in the queue while the event loop does not run.
void TestShelfSurface::picturesOnlyAroundTheViewport()
{
    Network network(NetworkRoute::direct());
    PictureCache::shared().setSessions(network.sessions());
    const auto restore = qScopeGuard([] { PictureCache::shared().setSessions({}); });
    QList<Save> saves;
    for (int n = 1; n <= 2000; ++n)
        saves.append(save(SaveSpec{.n = n, .attachments = {image(n)}}));
    const Shelf shelf(Library(saves, {}), media(CopyTable()), std::nullopt, Date{700000000}, Quality::original);
    QList<ShelfItem> shown = shelf.items(Filter::all());
    for (qsizetype i = 0; i < shown.size(); ++i)
        shown[i].setPictures({url(QStringLiteral("http://127.0.0.1:9/stashwell/%1.jpg").arg(i))});
    m_surface->pictures().setParallel(1);
    m_surface->setCollection(recording(shown, ShelfLayout::list, m_calls));

    ShelfPictures &pictures = m_surface->pictures();
    const int asked = pictures.queuedCount() + pictures.loadingCount();
    QVERIFY(asked > 0);
    QVERIFY(asked <= m_surface->builtCount());
    const PictureKey firstKey = *SaveRow(shown[1], Date{700000000}, false).pictureKey(SaveRow::ViewState{});
    QVERIFY(pictures.isQueued(firstKey) || pictures.isLoading(firstKey));

    // Far away: the queue holds the new neighbourhood, and the first screen's waiting pictures
    // are dropped.
    m_surface->verticalScrollBar()->setValue(m_surface->verticalScrollBar()->maximum());
    QVERIFY(!pictures.isQueued(firstKey));
    QVERIFY(pictures.droppedCount() > 0);
    const PictureKey lastKey = *SaveRow(shown.last(), Date{700000000}, false).pictureKey(SaveRow::ViewState{});
    QVERIFY(pictures.isQueued(lastKey) || pictures.isLoading(lastKey));
    // (A load already under way cannot be called back; it runs out without a repaint.)
    QVERIFY(pictures.queuedCount() <= m_surface->builtCount());
}

void TestShelfSurface::accessibleItems()
{
    ShelfCollection c = recording(items(30), ShelfLayout::list, m_calls);
    c.selection = saveID(2);
    m_surface->setCollection(c);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(m_surface->viewport());
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    const ItemGeometry::Range shown = m_surface->visibleItems().front().items;
    QCOMPARE(list->childCount(), int(shown.size()));
    QAccessibleInterface *second = list->child(1);
    QVERIFY(second);
    QCOMPARE(second->role(), QAccessible::ListItem);
    QVERIFY(second->text(QAccessible::Name).startsWith(m_surface->item(0, 1)->save().post().author.name));
    QVERIFY(second->state().selected);
    QVERIFY(!list->child(0)->state().selected);
    QCOMPARE(list->indexOfChild(second), 1);

    // Pressing an item selects it.
    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_calls.log, QStringList{QStringLiteral("select 2")});
}

// A header 40 high as the column's first block, over a list of 200 items.
void TestShelfSurface::showAboveAList(QWidget &header)
{
    header.setMinimumHeight(40);
    header.resize(10, 40);
    QList<ShelfSurface::Block> blocks;
    blocks.append(ShelfSurface::WidgetBlock{&header});
    blocks.append(recording(items(200), ShelfLayout::list, m_calls));
    m_surface->setBlocks(blocks);
}

void TestShelfSurface::widgetBlocksScrollWithTheColumn()
{
    QWidget header;
    showAboveAList(header);
    QCOMPARE(header.parentWidget(), m_surface->viewport());
    QVERIFY(header.isVisible());
    QCOMPARE(QRectF(header.geometry()), m_surface->columnGeometry().blockRect(0));
    // Items come after the widget.
    QVERIFY(m_surface->itemRect(1, 0).top() >= header.geometry().bottom());
    m_surface->verticalScrollBar()->setValue(30);
    QCOMPARE(QRectF(header.geometry()), m_surface->columnGeometry().blockRect(0).translated(0, -30));

    // A column without the widget lets it go.
    m_surface->setCollection(recording(items(5), ShelfLayout::list, m_calls));
    QVERIFY(header.isHidden());
}

void TestShelfSurface::aScrollHoversWhatComesUnderTheRestingPointer_data()
{
    QTest::addColumn<bool>("ontoTheHeader");
    QTest::newRow("resting on an item") << false;
    QTest::newRow("gone on onto a widget of a block") << true;
}

// The pointer stands still while the items scroll under it: the item now under it lifts, found
// where the pointer was last seen over the shelf; over a widget of a block, none does.
void TestShelfSurface::aScrollHoversWhatComesUnderTheRestingPointer()
{
    QFETCH(bool, ontoTheHeader);
    QWidget header;
    showAboveAList(header);
    QCoreApplication::processEvents();
    // From elsewhere: a move to where the last one ended is no move.
    QTest::mouseMove(m_surface->viewport(), m_surface->itemRect(1, 6).center().toPoint());
    QTest::mouseMove(m_surface->viewport(), m_surface->itemRect(1, 3).center().toPoint());
    QCOMPARE(m_surface->hoveredSave(), m_surface->item(1, 3)->save().id());
    if (ontoTheHeader) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(header.mapToGlobal(QPoint(5, 5))));
        QCoreApplication::sendEvent(&header, &enter);
    }
    const int row = int(m_surface->itemRect(1, 4).top() - m_surface->itemRect(1, 3).top());
    m_surface->verticalScrollBar()->setValue(m_surface->verticalScrollBar()->value() + row);
    QCoreApplication::processEvents();
    const std::optional<Save::ID> underThePointer =
        ontoTheHeader ? std::nullopt : std::optional<Save::ID>(m_surface->item(1, 4)->save().id());
    QCOMPARE(m_surface->hoveredSave(), underThePointer);
}

// A header given a new text asks for its layout again; at the height it had, nothing on the
// shelf moves and nothing is painted anew (the header repaints itself). At another, the items
// below it move.
void TestShelfSurface::aWidgetBlockRelaysOutOnlyForANewHeight()
{
    QWidget header;
    showAboveAList(header);
    QCoreApplication::processEvents();
    m_surface->takeInvalidated();
    const double firstTop = m_surface->itemRect(1, 0).top();

    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(&header, &request);
    QVERIFY(m_surface->takeInvalidated().isEmpty());
    QCOMPARE(m_surface->itemRect(1, 0).top(), firstTop);

    header.setMinimumHeight(70);
    QCoreApplication::sendEvent(&header, &request);
    QVERIFY(!m_surface->takeInvalidated().isEmpty());
    QCOMPARE(m_surface->itemRect(1, 0).top(), firstTop + 30);
}

// The collection under a widget laid out anew (the other layout, other saves): what is painted
// again starts below the widget when it stands where it stood, and at the top when it grew, is
// another widget or the column goes back to its top.
void TestShelfSurface::widgetsStandingStillAreNotPaintedAgain_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("headerPainted");
    QTest::newRow("the other layout") << QStringLiteral("layout") << false;
    QTest::newRow("other saves") << QStringLiteral("saves") << false;
    QTest::newRow("a taller header") << QStringLiteral("taller") << true;
    QTest::newRow("a taller header over the same saves") << QStringLiteral("taller, same") << true;
    QTest::newRow("another header") << QStringLiteral("another") << true;
    QTest::newRow("scrolled to the top") << QStringLiteral("fromTop") << true;
    QTest::newRow("shown from the top while at the top") << QStringLiteral("fromTop, at the top") << false;
}

void TestShelfSurface::widgetsStandingStillAreNotPaintedAgain()
{
    QFETCH(QString, change);
    QFETCH(bool, headerPainted);
    QWidget header;
    QWidget other;
    other.setMinimumHeight(40);
    showAboveAList(header);
    QCoreApplication::processEvents();
    if (change == u"fromTop")
        m_surface->verticalScrollBar()->setValue(30);
    m_surface->takeInvalidated();

    QWidget *shown = change == u"another" ? &other : &header;
    if (change.startsWith(u"taller"))
        header.setMinimumHeight(70);
    if (change.startsWith(u"fromTop"))
        m_surface->showFromTop();
    QList<ShelfSurface::Block> blocks{ShelfSurface::WidgetBlock{shown},
                                      recording(change == u"saves" ? items(120) : items(200),
                                                change == u"saves" || change == u"taller, same" ? ShelfLayout::list
                                                                                                : ShelfLayout::grid,
                                                m_calls)};
    m_surface->setBlocks(blocks);
    const QRegion painted = m_surface->takeInvalidated();
    QVERIFY(painted.contains(QPoint(m_surface->viewport()->width() / 2, m_surface->viewport()->height() - 2)));
    QCOMPARE(painted.intersects(header.geometry().adjusted(0, 0, 0, -1)), headerPainted);
}

void TestShelfSurface::revealsMoveByWholeStepsOfTheCanvas_data()
{
    QTest::addColumn<double>("at");   // where the item's row is in the viewport before
    QTest::newRow("below the viewport") << 900.0;
    QTest::newRow("partly below") << 790.0;
    QTest::newRow("under what covers the top") << 20.0;
    QTest::newRow("above the viewport") << -300.0;
}

// Bringing an item into view over the shelf's own canvas scrolls a little further, to whole
// steps of the canvas, so that the pixels are moved; the item is still wholly in view.
void TestShelfSurface::revealsMoveByWholeStepsOfTheCanvas()
{
    QFETCH(double, at);
    overTheCanvas();
    m_surface->setCoveredTop(60);
    const Revealed revealed = revealTheItemAt(at);
    QVERIFY(!revealed.inView.isNull());
    QVERIFY(revealed.after != revealed.before);
    QCOMPARE((revealed.after - revealed.before) % int(DotGrid::kStep), 0);
    QVERIFY(m_surface->lastScrollMovedPixels());
    QVERIFY(revealed.inView.top() >= 60 && revealed.inView.bottom() <= m_surface->viewport()->height());
}

namespace {

// A shelf as the window holds it: over the dot grid, under a translucent bar and the frosted bands.
struct FramedShelf {
    struct Bar : QWidget {
        using QWidget::QWidget;
        void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(40, 90, 160, 200)); }
    };
    explicit FramedShelf(ShelfCollection shown)
    {
        window.resize(900, 600);
        auto *grid = new DotGrid(&window);
        grid->setGeometry(window.rect());
        auto *column = new QWidget(&window);
        column->setGeometry(window.rect());
        shelf = new ShelfSurface(column);
        shelf->setGeometry(column->rect());
        shelf->setPadding({24, 60, 24, 44});
        shelf->setCollection(std::move(shown));
        auto *bar = new Bar(column);
        bar->setGeometry(0, 0, column->width(), 48);
        auto *edges = new SoftScrollEdges(column, true, true);
        edges->setSafeAreaInsets(QMargins(0, 48, 0, 0));
        shelf->setCoveredTop(48);
        shelf->setBackdrop(grid);
        window.show();
    }
    // What the window's buffer holds, and the window painted afresh into an image of its own, each
    // once the window is at rest (a comparison may take them in either order).
    QImage shown()
    {
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage painted()
    {
        QCoreApplication::processEvents();
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QWidget window;
    ShelfSurface *shelf = nullptr;
};

}  // namespace

void TestShelfSurface::scrollsShowWhatAWholeRepaintShows_data()
{
    QTest::addColumn<Surface>("surface");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("moves");   // whether the scrolls move pixels instead of painting all (not on X11)
    QTest::newRow("solid, by whole steps of the grid") << Surface::solid << 126 << true;
    QTest::newRow("solid, a step back") << Surface::solid << -42 << true;
    QTest::newRow("solid, off the grid's steps") << Surface::solid << 40 << false;
    QTest::newRow("glass") << Surface::glass << 126 << false;
}

// The window as the shelf leaves it after each scroll, pixels moved or not, is the window painted
// whole: the grid's dots, the cards, what lies under the bar and the bands. Run on an X server too,
// where what is shown is read back from the server and the shelf paints every scroll whole.
void TestShelfSurface::scrollsShowWhatAWholeRepaintShows()
{
    QFETCH(Surface, surface);
    QFETCH(int, step);
    QFETCH(bool, moves);
    moves = moves && QGuiApplication::platformName() != u"xcb";
    Theme::instance().setSurface(surface);
    const auto restore = qScopeGuard([] { Theme::instance().setSurface(Surface::solid); });
    FramedShelf framed(recording(items(200), ShelfLayout::grid, m_calls, 3));
    QVERIFY(QTest::qWaitForWindowExposed(&framed.window));
    QScrollBar *scroll = framed.shelf->verticalScrollBar();
    scroll->setValue(step > 0 ? 0 : 30 * 42);
    QCOMPARE(framed.shown(), framed.painted());
    for (int i = 0; i < 6; ++i) {
        scroll->setValue(scroll->value() + step);
        QCOMPARE(framed.shelf->lastScrollMovedPixels(), moves);
        QCOMPARE(framed.shown(), framed.painted());
    }
}

void TestShelfSurface::newListsShowWhatAWholeRepaintShows_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("other saves in the same places") << QStringLiteral("other");
    QTest::newRow("other saves of other heights") << QStringLiteral("heights");
    QTest::newRow("a few saves") << QStringLiteral("few");
    QTest::newRow("no saves") << QStringLiteral("none");
    QTest::newRow("a card lifted under the pointer") << QStringLiteral("hovered");
    QTest::newRow("scrolled down, shown from the top") << QStringLiteral("scrolled");
    QTest::newRow("the list") << QStringLiteral("list");
}

// A new list shown from the top (the next letter of a search), at the top already or not: the
// window shows what a whole repaint shows, with no card, lift or frost left over.
void TestShelfSurface::newListsShowWhatAWholeRepaintShows()
{
    QFETCH(QString, change);
    FramedShelf framed(recording(items(200), ShelfLayout::grid, m_calls, 3));
    QVERIFY(QTest::qWaitForWindowExposed(&framed.window));
    ShelfSurface *shelf = framed.shelf;
    if (change == u"hovered") {
        QTest::mouseMove(shelf->viewport(), shelf->itemRect(0, 4).center().toPoint());
        QCoreApplication::processEvents();
    }
    if (change == u"scrolled")
        shelf->verticalScrollBar()->setValue(300);
    QCOMPARE(framed.shown(), framed.painted());

    const int count = change == u"few" ? 4 : change == u"none" ? 0 : 200;
    shelf->showFromTop();
    shelf->setCollection(recording(items(count, change == u"heights" ? 2 : 3, 1000),
                                   change == u"list" ? ShelfLayout::list : ShelfLayout::grid, m_calls, 3));
    QCOMPARE(framed.shown(), framed.painted());
}

void TestShelfSurface::canvasAndCardsLeaveNoHole_data()
{
    QTest::addColumn<ShelfLayout>("layout");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<int>("scrolled");
    QTest::newRow("grid") << ShelfLayout::grid << false << 0;
    QTest::newRow("grid, a card lifted under the pointer") << ShelfLayout::grid << true << 0;
    QTest::newRow("grid, scrolled part of a row") << ShelfLayout::grid << false << 157;
    QTest::newRow("list") << ShelfLayout::list << false << 0;
    QTest::newRow("list, scrolled") << ShelfLayout::list << true << 333;
}

// Over its own canvas the shelf is opaque and paints the canvas only between the cards: every
// pixel of it is still painted, by the canvas or by a card.
void TestShelfSurface::canvasAndCardsLeaveNoHole()
{
    QFETCH(ShelfLayout, layout);
    QFETCH(bool, hovered);
    QFETCH(int, scrolled);
    overTheCanvas();
    show(recording(items(60), layout, m_calls, 4), scrolled, hovered);
    QWidget *viewport = m_surface->viewport();
    QVERIFY(viewport->testAttribute(Qt::WA_OpaquePaintEvent));
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    const QRgb hole = qRgb(255, 0, 255);
    image.fill(hole);
    viewport->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    const qsizetype unpainted = std::find(pixels, pixels + image.sizeInBytes() / 4, hole) - pixels;
    QVERIFY2(unpainted == image.sizeInBytes() / 4,
             qPrintable(QStringLiteral("nothing painted at %1,%2").arg(unpainted % image.width()).arg(unpainted / image.width())));
}

void TestShelfSurface::aFramePaintedInBandsIsTheFramePaintedWhole_data()
{
    QTest::addColumn<int>("scrolled");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("twoAreas");   // the frame is two areas apart, each clipped to its own
    QTest::newRow("from the top") << 0 << false << false << 1.0 << false;
    QTest::newRow("scrolled part of a row, a card lifted") << 157 << true << false << 1.0 << false;
    QTest::newRow("a card selected") << 0 << false << true << 1.0 << false;
    QTest::newRow("two areas apart") << 157 << true << true << 1.0 << true;
    QTest::newRow("twice the pixels, scrolled, lifted, selected") << 95 << true << true << 2.0 << false;
}

// A frame of the grid large enough to be shared among threads (the copies listed, then carried out
// band by band) holds exactly what it holds painted in pieces, each small enough to be painted on
// this thread alone: the canvas, every card's image and its border, lifted and selected.
void TestShelfSurface::aFramePaintedInBandsIsTheFramePaintedWhole()
{
    QFETCH(int, scrolled);
    QFETCH(bool, hovered);
    QFETCH(bool, selected);
    QFETCH(qreal, ratio);
    QFETCH(bool, twoAreas);
    overTheCanvas();
    const QList<ShelfItem> shown = items(60);
    ShelfCollection c = recording(shown, ShelfLayout::grid, m_calls, 4);
    if (selected)
        c.selection = shown[5].save().id();
    show(c, scrolled, hovered);
    QWidget *viewport = m_surface->viewport();
    QVERIFY(qint64(viewport->width()) * viewport->height() * ratio * ratio >= 400 * 1000);
    const auto blank = [&] {
        QImage image(viewport->size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(qRgb(255, 0, 255));
        return image;
    };
    const int third = viewport->height() / 3;
    const QRegion frame = twoAreas ? QRegion(0, 0, viewport->width(), third) + QRegion(0, 2 * third, viewport->width(), third)
                                   : QRegion(viewport->rect());
    QImage whole = blank();
    viewport->render(&whole, QPoint(), frame, QWidget::RenderFlags());
    QVERIFY(m_surface->lastPaintedItems() > 4);
    QImage pieces = blank();
    constexpr int kPieceRows = 40;   // far below what is shared among threads
    for (int y = 0; y < viewport->height(); y += kPieceRows) {
        const QRegion piece = frame & QRect(0, y, viewport->width(), kPieceRows);
        if (!piece.isEmpty())
            viewport->render(&pieces, piece.boundingRect().topLeft(), piece, QWidget::RenderFlags());
    }
    QCOMPARE(whole, pieces);
}

QTEST_MAIN(TestShelfSurface)
#include "tst_shelfsurface.moc"
