// The shelf's geometry against plain computations: every item's cell as the card columns place
// them (grid) or as rows stacked one after another (list), and the items a band meets as the
// items whose cells meet it, over generated item lists of mixed heights in one to six columns.

#include "StashwellUI/Shelf/CardColumns.h"
#include "StashwellUI/Shelf/ShelfGeometry.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace sw;

namespace {

bool near(double a, double b) { return std::abs(a - b) < 1e-6; }
bool near(const QRectF &a, const QRectF &b)
{
    return near(a.x(), b.x()) && near(a.y(), b.y()) && near(a.width(), b.width()) && near(a.height(), b.height());
}

// A cell meets the band when it starts above its bottom and ends below its top.
ItemGeometry::Range bruteRange(const QList<QRectF> &cells, double top, double bottom)
{
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (cells[i].top() < bottom && cells[i].bottom() > top) {
            if (first < 0)
                first = i;
            last = i + 1;
        }
    }
    return first < 0 ? ItemGeometry::Range{} : ItemGeometry::Range{first, last};
}

std::optional<qsizetype> bruteIndex(const QList<QRectF> &cells, const QPointF &p)
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QRectF &c = cells[i];
        if (p.x() >= c.left() && p.x() < c.right() && p.y() >= c.top() && p.y() < c.bottom())
            return i;
    }
    return std::nullopt;
}

struct Generated {
    std::vector<std::uint8_t> classes;
    std::vector<double> heights;
};

Generated generate(quint32 seed, qsizetype count, int distinctHeights)
{
    QRandomGenerator random(seed);
    Generated g;
    for (int h = 0; h < distinctHeights; ++h)
        g.heights.push_back(40 + random.bounded(400) + random.bounded(1.0));
    for (qsizetype i = 0; i < count; ++i)
        g.classes.push_back(std::uint8_t(random.bounded(distinctHeights)));
    return g;
}

}  // namespace

class TestShelfGeometry : public QObject {
    Q_OBJECT
private slots:
    void grid_data();
    void grid();
    void list_data();
    void list();
    void columnsChange();
    void stackedBlocks();
};

void TestShelfGeometry::grid_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("distinctHeights");
    QTest::addColumn<double>("width");
    for (int columns = 1; columns <= 6; ++columns) {
        for (const int count : {0, 1, columns - 1, columns, columns + 1, 97, 1000}) {
            if (count < 0)
                continue;
            QTest::addRow("%d columns, %d items", columns, count) << columns << count << 2 << 1100.5;
        }
        QTest::addRow("%d columns, five heights", columns) << columns << 300 << 5 << 913.0;
        QTest::addRow("%d columns, eight heights", columns) << columns << 300 << 8 << 913.0;
        QTest::addRow("%d columns, twelve heights", columns) << columns << 300 << 12 << 913.0;
        QTest::addRow("%d columns, narrower than the gaps", columns) << columns << 40 << 3 << 10.0;
    }
    QTest::addRow("no columns counts as one") << 0 << 50 << 2 << 800.0;
    QTest::addRow("negative columns counts as one") << -3 << 50 << 2 << 800.0;
}

void TestShelfGeometry::grid()
{
    QFETCH(int, columns);
    QFETCH(int, count);
    QFETCH(int, distinctHeights);
    QFETCH(double, width);
    const double spacing = 14;
    const Generated g = generate(quint32(columns * 7919 + count), count, distinctHeights);

    ItemGeometry geometry = ItemGeometry::grid(columns, spacing, g.classes, g.heights);
    geometry.setWidth(width);
    const CardColumns plain(columns, spacing);
    const auto measure = [&g](qsizetype index, double) { return g.heights[g.classes[std::size_t(index)]]; };
    const QList<QRectF> cells = plain.place(QRectF(0, 0, width, 0), count, measure);

    QCOMPARE(geometry.count(), qsizetype(count));
    QVERIFY(near(geometry.height(), plain.sizeThatFits(width, count, measure).height()));
    for (qsizetype i = 0; i < count; ++i) {
        if (!near(geometry.rect(i), cells[i]))
            QFAIL(qPrintable(QStringLiteral("item %1").arg(i)));
    }

    QRandomGenerator random{quint32(count + 5)};
    const double total = geometry.height();
    for (int band = 0; band < 200; ++band) {
        const double top = random.bounded(total + 200) - 100;
        const double bottom = top + random.bounded(900.0);
        QCOMPARE(geometry.range(top, bottom), bruteRange(cells, top, bottom));
    }
    // Bands that begin and end exactly on the edges of cells and gaps.
    for (qsizetype i = 0; i < count; i += std::max<qsizetype>(1, count / 50)) {
        const QRectF c = cells[i];
        for (const auto &[top, bottom] : {std::pair{c.top(), c.bottom()}, std::pair{c.bottom(), c.bottom() + spacing},
                                          std::pair{c.top() - spacing, c.top()}, std::pair{c.bottom(), c.bottom()}})
            QCOMPARE(geometry.range(top, bottom), bruteRange(cells, top, bottom));
    }
    for (int p = 0; p < 300; ++p) {
        const QPointF point(random.bounded(width + 20) - 10, random.bounded(total + 20) - 10);
        QCOMPARE(geometry.indexAt(point), bruteIndex(cells, point));
    }
}

void TestShelfGeometry::list_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("rowHeight");
    QTest::addColumn<double>("divider");
    for (const int count : {0, 1, 2, 3, 77, 5000})
        QTest::addRow("%d rows", count) << count << 76.0 << 1.0;
    QTest::addRow("fractional rows") << 400 << 33.3 << 0.7;
    QTest::addRow("no divider") << 300 << 50.0 << 0.0;
}

void TestShelfGeometry::list()
{
    QFETCH(int, count);
    QFETCH(double, rowHeight);
    QFETCH(double, divider);
    const double width = 900;
    ItemGeometry geometry = ItemGeometry::list(count, rowHeight, divider);
    geometry.setWidth(width);

    // Rows one after another, a divider between two of them.
    QList<QRectF> cells;
    double y = 0;
    for (int i = 0; i < count; ++i) {
        cells.append(QRectF(0, y, width, rowHeight));
        y += rowHeight + divider;
    }
    const double total = count ? cells.last().bottom() : 0;
    QVERIFY(near(geometry.height(), total));
    for (qsizetype i = 0; i < count; ++i) {
        if (!near(geometry.rect(i), cells[i]))
            QFAIL(qPrintable(QStringLiteral("row %1").arg(i)));
    }
    QRandomGenerator random{quint32(count)};
    for (int band = 0; band < 300; ++band) {
        const double top = random.bounded(total + 200) - 100;
        const double bottom = top + random.bounded(1000.0);
        QCOMPARE(geometry.range(top, bottom), bruteRange(cells, top, bottom));
    }
    for (qsizetype i = 0; i < count; i += std::max<qsizetype>(1, count / 40)) {
        const QRectF c = cells[i];
        QCOMPARE(geometry.range(c.top(), c.bottom()), bruteRange(cells, c.top(), c.bottom()));
        QCOMPARE(geometry.range(c.bottom(), c.bottom() + divider), bruteRange(cells, c.bottom(), c.bottom() + divider));
        QCOMPARE(geometry.indexAt(QPointF(10, c.bottom() + divider / 2)), bruteIndex(cells, QPointF(10, c.bottom() + divider / 2)));
    }
    for (int p = 0; p < 300; ++p) {
        const QPointF point(random.bounded(width + 20) - 10, random.bounded(total + 20) - 10);
        QCOMPARE(geometry.indexAt(point), bruteIndex(cells, point));
    }
}

// A new column count measures the rows again: the same cells as a grid made with that count.
void TestShelfGeometry::columnsChange()
{
    const Generated g = generate(11, 2000, 2);
    ItemGeometry changed = ItemGeometry::grid(4, 14, g.classes, g.heights);
    changed.setWidth(1000);
    for (const int columns : {3, 6, 1, 4}) {
        changed.setColumns(columns);
        ItemGeometry fresh = ItemGeometry::grid(columns, 14, g.classes, g.heights);
        fresh.setWidth(1000);
        QCOMPARE(changed.rowCount(), fresh.rowCount());
        QVERIFY(near(changed.height(), fresh.height()));
        for (qsizetype i = 0; i < 2000; i += 7)
            QVERIFY(near(changed.rect(i), fresh.rect(i)));
        QCOMPARE(changed.range(5000, 6000), fresh.range(5000, 6000));
    }
}

// Blocks stand one under the other with the spacing between them and the padding around them;
// the items of each are found in their own block.
void TestShelfGeometry::stackedBlocks()
{
    const Generated g = generate(3, 9, 2);
    ShelfGeometry column;
    column.setPadding({24, 16, 24, 44});
    column.setSpacing(14);
    std::vector<ShelfGeometry::Block> blocks(4);
    blocks[0].fixedHeight = 200;   // a hero
    blocks[1].items = ItemGeometry::grid(4, 14, g.classes, g.heights);
    blocks[2].fixedHeight = 30;    // a header
    blocks[3].items = ItemGeometry::list(50, 76, 1);
    column.setBlocks(std::move(blocks));
    column.setWidth(1048);

    QCOMPARE(column.innerWidth(), 1000.0);
    double y = 16;
    QList<QRectF> expected;
    for (qsizetype b = 0; b < 4; ++b) {
        const auto &items = column.block(b).items;
        const double h = items ? items->height() : column.block(b).fixedHeight;
        expected.append(QRectF(24, y, 1000, h));
        y += h + 14;
    }
    for (qsizetype b = 0; b < 4; ++b)
        QVERIFY(near(column.blockRect(b), expected[b]));
    QVERIFY(near(column.height(), expected.last().bottom() + 44));

    // Each item of the band, block by block, against the blocks' own cells.
    QRandomGenerator random(8);
    for (int band = 0; band < 200; ++band) {
        const double top = random.bounded(column.height());
        const double bottom = top + random.bounded(700.0);
        const std::vector<ShelfGeometry::Visible> visible = column.visible(top, bottom);
        QList<qsizetype> shownBlocks;
        for (const ShelfGeometry::Visible &v : visible) {
            shownBlocks.append(v.block);
            const auto &items = column.block(v.block).items;
            if (!items)
                continue;
            QList<QRectF> cells;
            for (qsizetype i = 0; i < items->count(); ++i)
                cells.append(column.itemRect(v.block, i));
            QCOMPARE(v.items, bruteRange(cells, top, bottom));
        }
        QList<qsizetype> meeting;
        for (qsizetype b = 0; b < 4; ++b) {
            if (expected[b].top() < bottom && expected[b].bottom() > top)
                meeting.append(b);
        }
        QCOMPARE(shownBlocks, meeting);
    }
    // A point in a block's cell finds that item; a point on a fixed block finds none.
    const QRectF cell = column.itemRect(3, 20);
    QCOMPARE(column.itemAt(cell.center()), (std::optional<ShelfGeometry::Hit>{ShelfGeometry::Hit{3, 20}}));
    QCOMPARE(column.itemAt(expected[0].center()), std::nullopt);
}

QTEST_GUILESS_MAIN(TestShelfGeometry)
#include "tst_shelfgeometry.moc"
