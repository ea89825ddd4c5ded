// The shelf's parts on their own: a new collection keeps the last one's cells and painters only
// when its saves stand as before, a kept painter finds its save wherever the block's items moved
// (and nowhere once it is gone), a painter is made anew only when what it draws changed, painting
// ahead paints the nearest items first and stops when its time is up, and it runs only when no
// paint of the viewport nor the owner's new blocks are waited for.

#include "ShelfFixtures.h"

#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveCardCache.h"
#include "StashwellUI/Saves/SaveRowCache.h"
#include "StashwellUI/Shelf/ShelfPictures.h"
#include "StashwellUI/detail/ShelfLayouter.h"
#include "StashwellUI/detail/ShelfPainters.h"
#include "StashwellUI/detail/ShelfPainting.h"
#include "StashwellUI/detail/ShelfPrepare.h"

#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <functional>

using namespace sw;
using namespace sw::shelftest;

namespace {

// A collection of the saves numbered `numbers`, in that order.
ShelfCollection collectionOf(const QList<int> &numbers, ShelfLayout layout = ShelfLayout::grid)
{
    ShelfCollection c;
    for (const int n : numbers)
        c.items.append(item(SaveSpec{.n = n}));
    c.layout = layout;
    c.columns = 2;
    c.now = Date{700000000};
    return c;
}

// Calls `delivered` when an event posted to it is delivered.
class PostedProbe : public QObject {
public:
    std::function<void()> delivered;

protected:
    void customEvent(QEvent *) override
    {
        if (delivered)
            delivered();
    }
};

}  // namespace

class TestShelfParts : public QObject {
    Q_OBJECT
private slots:
    void newCollectionKeepsTheLastOnlyWhenItsSavesStand_data();
    void newCollectionKeepsTheLastOnlyWhenItsSavesStand();
    void placeOfAMovedSave_data();
    void placeOfAMovedSave();
    void painterMadeAnewOnlyWhenItsLookChanged_data();
    void painterMadeAnewOnlyWhenItsLookChanged();
    void keptPainterCheckedAgainInANewGeneration();
    void paintingAheadNearestFirstUntilTimeIsUp_data();
    void paintingAheadNearestFirstUntilTimeIsUp();
    void paintingAheadWaitsItsTurn_data();
    void paintingAheadWaitsItsTurn();
    void paintingAheadGoesOnUntilDone();
    void pictureLoadsStartBehindTheFrame();
};

void TestShelfParts::newCollectionKeepsTheLastOnlyWhenItsSavesStand_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("sameItems");
    QTest::addColumn<bool>("moved");

    QTest::newRow("nothing") << "" << true << false;
    QTest::newRow("the same saves in a list of their own") << "copied" << true << false;
    QTest::newRow("the same saves in a list of their own, one of another height") << "copied text" << false << true;
    QTest::newRow("a save changed, same height") << "favourite" << true << false;
    QTest::newRow("columns") << "columns" << true << true;
    QTest::newRow("a card of another height") << "text" << false << true;
    QTest::newRow("order") << "order" << false << true;
    QTest::newRow("one more") << "more" << false << true;
    QTest::newRow("grid to list") << "list" << false << true;
    QTest::newRow("was no collection") << "none" << false << true;
}

void TestShelfParts::newCollectionKeepsTheLastOnlyWhenItsSavesStand()
{
    QFETCH(QString, change);
    QFETCH(bool, sameItems);
    QFETCH(bool, moved);

    const ShelfCollection before = collectionOf({1, 2, 3});
    const detail::CollectionLayout first = detail::layOut(nullptr, before, {}, std::nullopt);
    // A new list's saves are read only when a list that follows it is compared with it.
    QVERIFY(first.saves.empty());
    std::vector<const void *> read;
    for (const ShelfItem &shown : before.items)
        read.push_back(&shown.save().post());

    ShelfCollection now = before;
    if (change.startsWith(u"copied"))
        now.items = QList<ShelfItem>(before.items.cbegin(), before.items.cend());
    if (change == u"copied text")
        now.items[2] = item(SaveSpec{.n = 3, .attachments = {}});
    if (change == u"favourite")
        now.items[1] = item(SaveSpec{.n = 2, .favourite = true});
    else if (change == u"columns")
        now.columns = 3;
    else if (change == u"text")
        now.items[1] = item(SaveSpec{.n = 2, .attachments = {}});
    else if (change == u"order")
        now = collectionOf({2, 1, 3});
    else if (change == u"more")
        now = collectionOf({1, 2, 3, 4});
    else if (change == u"list")
        now.layout = ShelfLayout::list;

    const ShelfCollection *last = change == u"none" ? nullptr : &before;
    // Alike whether the last list's saves were read by an earlier comparison or not yet.
    for (const bool wereRead : {false, true}) {
        const detail::CollectionLayout next = detail::layOut(last, now, wereRead ? read : first.saves, first.items);
        QCOMPARE(next.sameItems, sameItems);
        QCOMPARE(next.moved, moved);
        // The cells and saves are the new collection's, whatever was kept.
        QCOMPARE(next.items.count(), now.items.size());
        QCOMPARE(next.items.isGrid(), now.layout == ShelfLayout::grid);
        if (next.items.isGrid())
            QCOMPARE(next.items.columns(), now.effectiveColumns());
        if (next.saves.empty())
            continue;
        QCOMPARE(next.saves.size(), std::size_t(now.items.size()));
        for (qsizetype i = 0; i < now.items.size(); ++i)
            QCOMPARE(next.saves[std::size_t(i)], static_cast<const void *>(&now.items.at(i).save().post()));
    }
}

void TestShelfParts::placeOfAMovedSave_data()
{
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<bool>("noCollection");
    QTest::addColumn<int>("save");
    QTest::addColumn<qsizetype>("hint");
    QTest::addColumn<bool>("standsAtHint");
    QTest::addColumn<qsizetype>("place");   // -1: none

    QTest::newRow("still where it was") << QList<int>{1, 2, 3} << false << 2 << qsizetype(1) << true << qsizetype(1);
    QTest::newRow("moved down") << QList<int>{4, 1, 2, 3} << false << 2 << qsizetype(1) << false << qsizetype(2);
    QTest::newRow("moved up") << QList<int>{2, 3} << false << 2 << qsizetype(1) << false << qsizetype(0);
    QTest::newRow("place not known") << QList<int>{1, 2, 3} << false << 3 << qsizetype(-1) << false << qsizetype(2);
    QTest::newRow("place beyond the shorter block") << QList<int>{3, 1} << false << 3 << qsizetype(5) << false << qsizetype(0);
    QTest::newRow("gone") << QList<int>{1, 3} << false << 2 << qsizetype(1) << false << qsizetype(-1);
    QTest::newRow("block emptied") << QList<int>{} << false << 2 << qsizetype(0) << false << qsizetype(-1);
    QTest::newRow("block no longer a collection") << QList<int>{} << true << 2 << qsizetype(0) << false << qsizetype(-1);
}

void TestShelfParts::placeOfAMovedSave()
{
    QFETCH(QList<int>, items);
    QFETCH(bool, noCollection);
    QFETCH(int, save);
    QFETCH(qsizetype, hint);
    QFETCH(bool, standsAtHint);
    QFETCH(qsizetype, place);

    const ShelfCollection c = collectionOf(items);
    const ShelfCollection *block = noCollection ? nullptr : &c;
    QCOMPARE(detail::standsAt(block, saveID(save), hint), standsAtHint);
    const std::optional<qsizetype> found = detail::placeOf(block, saveID(save), hint);
    QCOMPARE(found.value_or(-1), place);
}

void TestShelfParts::painterMadeAnewOnlyWhenItsLookChanged_data()
{
    QTest::addColumn<bool>("list");           // the block shows rows instead of cards next
    QTest::addColumn<bool>("selected");       // the save is selected next
    QTest::addColumn<double>("later");        // seconds that passed
    QTest::addColumn<bool>("changedItem");    // the save was changed (moved to the trash)
    QTest::addColumn<bool>("remade");

    QTest::newRow("unchanged") << false << false << 0.0 << false << false;
    QTest::newRow("same minute") << false << false << 20.0 << false << false;
    QTest::newRow("next minute") << false << false << 60.0 << false << true;
    QTest::newRow("selected") << false << true << 0.0 << false << true;
    QTest::newRow("item changed") << false << false << 0.0 << true << true;
    QTest::newRow("grid to list") << true << false << 0.0 << false << true;
}

void TestShelfParts::painterMadeAnewOnlyWhenItsLookChanged()
{
    QFETCH(bool, list);
    QFETCH(bool, selected);
    QFETCH(double, later);
    QFETCH(bool, changedItem);
    QFETCH(bool, remade);

    const ShelfCollection before = collectionOf({1, 2});
    detail::ShelfPainter painter;
    QVERIFY(detail::refreshPainter(painter, before, 1, nullptr));
    QVERIFY(painter.card && !painter.row);

    ShelfCollection after = collectionOf({1, 2}, list ? ShelfLayout::list : ShelfLayout::grid);
    // From the start of the minute the painter was made in.
    after.now = Date{SaveCard::wholeMinute(before.now) * 60 + later};
    if (selected)
        after.selection = saveID(2);
    if (changedItem)
        after.items[1] = item(SaveSpec{.n = 2, .trashed = true});
    painter.index = -1;
    QCOMPARE(detail::refreshPainter(painter, after, 1, nullptr), remade);
    // Whatever happened, the painter stands at the place it was refreshed for and draws the item there.
    QCOMPARE(painter.index, qsizetype(1));
    QCOMPARE(bool(painter.row), list);
    QCOMPARE(bool(painter.card), !list);
    QVERIFY(list ? painter.row->item() == after.items.at(1) : painter.card->item() == after.items.at(1));
}

void TestShelfParts::keptPainterCheckedAgainInANewGeneration()
{
    detail::ShelfBlockState state;
    state.generation = 1;
    const ShelfCollection first = collectionOf({1, 2, 3});
    detail::ShelfPainter &made = detail::ensurePainter(state, first, 2, nullptr);
    made.cardState.hovered = true;
    QCOMPARE(made.generation, quint64(1));
    QCOMPARE(state.built.size(), 1);

    // The save moved in a new generation of the block: its painter is placed again and keeps its
    // view state, as its item is unchanged.
    state.generation = 2;
    const ShelfCollection second = collectionOf({3, 1, 2});
    detail::ShelfPainter &placed = detail::ensurePainter(state, second, 0, nullptr);
    QCOMPARE(state.built.size(), 1);
    QCOMPARE(placed.index, qsizetype(0));
    QCOMPARE(placed.generation, quint64(2));
    QVERIFY(placed.cardState.hovered);
    QCOMPARE(placed.card->item().save().id(), saveID(3));

    // Another save gets a painter of its own.
    detail::ensurePainter(state, second, 1, nullptr);
    QCOMPARE(state.built.size(), 2);
}

void TestShelfParts::paintingAheadNearestFirstUntilTimeIsUp_data()
{
    QTest::addColumn<int>("slices");      // how many images may be painted before time is up
    QTest::addColumn<bool>("done");

    QTest::newRow("time up after the first") << 1 << false;
    QTest::newRow("time up after three") << 3 << false;
    QTest::newRow("time enough for all") << 100 << true;
}

void TestShelfParts::paintingAheadNearestFirstUntilTimeIsUp()
{
    QFETCH(int, slices);
    QFETCH(bool, done);

    // Eight cards in two columns, the band on the shelf well below the last of them: the
    // nearest are the last ones.
    const ShelfCollection c = collectionOf({1, 2, 3, 4, 5, 6, 7, 8});
    std::vector<std::uint8_t> classes(std::size_t(c.items.size()), 1);
    ShelfGeometry geometry;
    std::vector<ShelfGeometry::Block> blocks(1);
    blocks[0].items = ItemGeometry::grid(2, ShelfCollection::gridSpacing, classes,
                                         {SaveCard::height(false), SaveCard::height(true)});
    geometry.setBlocks(std::move(blocks));
    geometry.setWidth(640);

    std::vector<detail::ShelfBlockState> states(1);
    for (qsizetype i = 0; i < c.items.size(); ++i)
        detail::ensurePainter(states[0], c, i, nullptr);

    ShelfPictures pictures;
    SaveCardCache cards;
    SaveRowCache rows;
    const detail::ShelfPaint paint{
        geometry, pictures, cards, rows, [&c](qsizetype) { return &c; },
        [&](qsizetype block, qsizetype index) -> detail::ShelfPainter & { return detail::ensurePainter(states[std::size_t(block)], c, index, nullptr); },
        [&](const detail::ShelfItemRef &item, qsizetype *index) -> detail::ShelfPainter * {
            auto it = states[0].built.find(item.id);
            if (it == states[0].built.end() || !detail::standsAt(&c, item.id, it->index))
                return nullptr;
            *index = it->index;
            return &*it;
        }};

    const double below = geometry.height() + 1000;
    int asked = 0;
    const bool finished = paint.ahead(states, below, below + 400, 1.0, [&] { return ++asked >= slices; });
    QCOMPARE(finished, done);
    const int painted = std::min<int>(slices, int(c.items.size()));
    QCOMPARE(cards.renders(), painted);
    // The images painted are those of the cards nearest the band: the last rows of the grid.
    const auto holds = [&](qsizetype index) {
        const detail::ShelfPainter &p = states[0].built[c.items.at(index).save().id()];
        const QRectF cell = geometry.itemRect(0, index);
        return cards.holds(QSizeF(cell.width(), p.card->height()), 1.0, *p.card, p.cardState, nullptr, nullptr);
    };
    for (qsizetype i = 0; i < c.items.size(); ++i) {
        const bool nearest = i >= c.items.size() - 2 * ((painted + 1) / 2);
        if (!nearest)
            QVERIFY2(!holds(i), qPrintable(QStringLiteral("card %1 painted before nearer ones").arg(i)));
    }
    if (painted == int(c.items.size())) {
        for (qsizetype i = 0; i < c.items.size(); ++i)
            QVERIFY(holds(i));
    }
}

// What happens to painting ahead before the event loop turns, each step one of the prepare's
// calls: s(chedule), h(old), r(elease), e(nd the hold), q (a paint requested), p(ainted),
// l (a list of items only the prepare holds let go), L (a list held elsewhere too).
void TestShelfParts::paintingAheadWaitsItsTurn_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("runs");

    QTest::newRow("scheduled") << "s" << true << true;
    QTest::newRow("scheduled while hidden") << "s" << false << false;
    QTest::newRow("waits for a paint asked for") << "qs" << true << false;
    QTest::newRow("runs after that paint") << "qsp" << true << true;
    QTest::newRow("a paint asked for stops it") << "sq" << true << false;
    QTest::newRow("held") << "hs" << true << false;
    QTest::newRow("released") << "hsr" << true << true;
    QTest::newRow("released while a paint waits") << "hqsr" << true << false;
    QTest::newRow("new blocks end the hold, their paint starts it") << "hsep" << true << true;
    QTest::newRow("held through a paint") << "hsp" << true << false;
    QTest::newRow("a paint with nothing waiting") << "p" << true << false;
    QTest::newRow("a paint after the last column was let go") << "lp" << true << true;
    QTest::newRow("a shared column costs nothing to let go") << "Lp" << true << false;
}

void TestShelfParts::paintingAheadWaitsItsTurn()
{
    QFETCH(QString, steps);
    QFETCH(bool, visible);
    QFETCH(bool, runs);

    QWidget surface;
    if (visible) {
        surface.show();
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
    }
    int slices = 0;
    detail::ShelfPrepare prepare(surface, [&slices] {
        ++slices;
        return true;
    });
    const QList<ShelfItem> shared = collectionOf({1, 2}).items;
    for (const QChar step : steps) {
        switch (step.unicode()) {
        case 's': prepare.schedule(); break;
        case 'h': prepare.hold(); break;
        case 'r': prepare.release(); break;
        case 'e': prepare.endHold(); break;
        case 'q': prepare.paintRequested(); break;
        case 'p': prepare.painted(); break;
        case 'l': prepare.letGo(collectionOf({1, 2}).items); break;
        case 'L': prepare.letGo(shared); break;
        default: QFAIL("unknown step");
        }
    }
    QCOMPARE(slices, 0);
    // A few turns of the event loop: a paint's follower is queued, the timer is due at once.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QTest::qWait(20);
    QCOMPARE(slices, runs ? 1 : 0);
    QVERIFY(!prepare.isRunning());
}

void TestShelfParts::paintingAheadGoesOnUntilDone()
{
    QWidget surface;
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    int slices = 0;
    detail::ShelfPrepare prepare(surface, [&slices] { return ++slices >= 3; });
    prepare.schedule();
    QVERIFY(prepare.isRunning());
    QTRY_COMPARE(slices, 3);
    QVERIFY(!prepare.isRunning());
    QTest::qWait(20);
    QCOMPARE(slices, 3);

    // Hidden meanwhile: a slice due finds the surface hidden and stops.
    slices = 0;
    prepare.schedule();
    surface.hide();
    QTest::qWait(20);
    QCOMPARE(slices, 0);
    QVERIFY(!prepare.isRunning());
}

// The loads a shelf wants start once what was posted before them has been delivered (the frame
// that shows the items with their placeholders), not while the shelf is being laid out; wanted
// again meanwhile, they start once.
void TestShelfParts::pictureLoadsStartBehindTheFrame()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    PictureCache cache;
    ShelfPictures pictures(nullptr, &cache);
    pictures.setParallel(2);
    QList<PictureKey> keys;
    for (int i = 0; i < 3; ++i)
        keys.append(PictureKey{Url::fromLocalFile(dir.filePath(QStringLiteral("gone%1.png").arg(i))), 40});
    QList<PictureKey> arrived;
    connect(&pictures, &ShelfPictures::arrived, this, [&](const PictureKey &key) { arrived.append(key); });

    // The frame's stand-in: a repaint is posted at the low priority, before the shelf's work ends.
    PostedProbe frame;
    int loadingAtFrame = -1;
    frame.delivered = [&] { loadingAtFrame = pictures.loadingCount(); };
    QCoreApplication::postEvent(&frame, new QEvent(QEvent::User), Qt::LowEventPriority);

    pictures.want(keys);
    pictures.want(keys);
    QCOMPARE(pictures.loadingCount(), 0);
    QCOMPARE(pictures.queuedCount(), 3);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(loadingAtFrame, 0);
    // Behind the frame, both loads the shelf may run at once have started; the third waits for
    // one to end. A load of a missing file can end while the posted events are still being
    // delivered, and the third then starts at once: never more than two at a time, none lost,
    // none started twice.
    QVERIFY(pictures.loadingCount() <= 2);
    QVERIFY(pictures.loadingCount() + int(arrived.size()) >= 2);
    QCOMPARE(pictures.loadingCount() + int(arrived.size()) + pictures.queuedCount(), 3);
    // Each failed load starts the next; every one is told.
    QTRY_COMPARE_WITH_TIMEOUT(arrived.size(), 3, 10000);
    QCOMPARE(QSet<PictureKey>(arrived.begin(), arrived.end()), QSet<PictureKey>(keys.begin(), keys.end()));
    QCOMPARE(pictures.loadingCount(), 0);
}

QTEST_MAIN(TestShelfParts)
#include "tst_shelfparts.moc"
