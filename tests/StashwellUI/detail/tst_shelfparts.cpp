// The shelf's parts on their own: a kept painter finds its save wherever the block's items moved
// (and nowhere once it is gone), a painter is made anew only when what it draws changed, and
// painting ahead paints the nearest items first and stops when its time is up.

#include "ShelfFixtures.h"

#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveCardCache.h"
#include "StashwellUI/Saves/SaveRowCache.h"
#include "StashwellUI/Shelf/ShelfPictures.h"
#include "StashwellUI/detail/ShelfPainters.h"
#include "StashwellUI/detail/ShelfPainting.h"

#include <QtTest>

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

}  // namespace

class TestShelfParts : public QObject {
    Q_OBJECT
private slots:
    void placeOfAMovedSave_data();
    void placeOfAMovedSave();
    void painterMadeAnewOnlyWhenItsLookChanged_data();
    void painterMadeAnewOnlyWhenItsLookChanged();
    void keptPainterCheckedAgainInANewGeneration();
    void paintingAheadNearestFirstUntilTimeIsUp_data();
    void paintingAheadNearestFirstUntilTimeIsUp();
};

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

QTEST_MAIN(TestShelfParts)
#include "tst_shelfparts.moc"
