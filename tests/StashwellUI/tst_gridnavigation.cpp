#include "StashwellUI/Shelf/GridNavigation.h"

#include <QTest>

using namespace sw;

Q_DECLARE_METATYPE(sw::GridMove)
Q_DECLARE_METATYPE(std::optional<qsizetype>)

namespace {
const std::optional<qsizetype> none = std::nullopt;
}

class TestGridNavigation : public QObject {
    Q_OBJECT
private slots:
    void moves_data();
    void moves();
    void everyMoveStaysInRange();
};

void TestGridNavigation::moves_data()
{
    QTest::addColumn<std::optional<qsizetype>>("current");
    QTest::addColumn<GridMove>("move");
    QTest::addColumn<qsizetype>("columns");
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<std::optional<qsizetype>>("expected");

    const std::optional<qsizetype> zero = 0;
    for (GridMove move : {GridMove::left, GridMove::right, GridMove::up, GridMove::down}) {
        const QByteArray m = QByteArray::number(static_cast<int>(move));
        QTest::newRow("empty grid, nothing selected " + m) << none << move << qsizetype(4) << qsizetype(0) << none;
        QTest::newRow("empty grid, stale index " + m) << std::optional<qsizetype>(3) << move << qsizetype(4)
                                                      << qsizetype(0) << none;
        QTest::newRow("negative count " + m) << zero << move << qsizetype(4) << qsizetype(-1) << none;
        QTest::newRow("one item " + m) << zero << move << qsizetype(4) << qsizetype(1) << zero;
        QTest::newRow("nothing selected " + m) << none << move << qsizetype(4) << qsizetype(10) << zero;
        QTest::newRow("index at count " + m) << std::optional<qsizetype>(10) << move << qsizetype(4)
                                             << qsizetype(10) << zero;
        QTest::newRow("index beyond count " + m) << std::optional<qsizetype>(99) << move << qsizetype(4)
                                                 << qsizetype(10) << zero;
        QTest::newRow("negative index " + m) << std::optional<qsizetype>(-1) << move << qsizetype(4)
                                             << qsizetype(10) << zero;
    }

    auto row = [](const char *name, qsizetype from, GridMove move, qsizetype columns, qsizetype count,
                  qsizetype to) {
        QTest::newRow(name) << std::optional<qsizetype>(from) << move << columns << count
                            << std::optional<qsizetype>(to);
    };
    // Four columns, ten items: rows 0-3, 4-7 and the short row 8-9.
    row("down into the next row", 1, GridMove::down, 4, 10, 5);
    row("down from 5 lands on 9", 5, GridMove::down, 4, 10, 9);
    row("down from 6 lands on the short row's last item", 6, GridMove::down, 4, 10, 9);
    row("down from 7 lands on the short row's last item", 7, GridMove::down, 4, 10, 9);
    row("down in the last row stays", 8, GridMove::down, 4, 10, 8);
    row("down from the last item stays", 9, GridMove::down, 4, 10, 9);
    row("up in the first row stays", 2, GridMove::up, 4, 10, 2);
    row("up from 6 gives 2", 6, GridMove::up, 4, 10, 2);
    row("up from the short row", 9, GridMove::up, 4, 10, 5);
    row("up from exactly one row down", 4, GridMove::up, 4, 10, 0);
    row("left from a row's first item wraps to the row above", 4, GridMove::left, 4, 10, 3);
    row("left from 0 stays", 0, GridMove::left, 4, 10, 0);
    row("right from the last item stays", 9, GridMove::right, 4, 10, 9);
    row("right wraps to the next row", 3, GridMove::right, 4, 10, 4);
    // A full last row: down from the row above it moves straight down.
    row("full last row, down from above", 3, GridMove::down, 4, 8, 7);
    row("full last row, down stays", 4, GridMove::down, 4, 8, 4);
    // Column counts of 0 or less behave as 1: a single column.
    row("zero columns, down", 2, GridMove::down, 0, 5, 3);
    row("zero columns, up", 2, GridMove::up, 0, 5, 1);
    row("negative columns, down", 2, GridMove::down, -3, 5, 3);
    row("negative columns, up from 0", 0, GridMove::up, -3, 5, 0);
    row("one column, down from the last", 4, GridMove::down, 1, 5, 4);
    // More columns than items: one short row.
    row("wide grid, down stays", 1, GridMove::down, 8, 3, 1);
    row("wide grid, up stays", 2, GridMove::up, 8, 3, 2);
}

void TestGridNavigation::moves()
{
    QFETCH(std::optional<qsizetype>, current);
    QFETCH(GridMove, move);
    QFETCH(qsizetype, columns);
    QFETCH(qsizetype, count);
    QFETCH(std::optional<qsizetype>, expected);
    QCOMPARE(GridNavigation::index(current, move, columns, count), expected);
}

// Whatever the start, a move never leaves the grid.
void TestGridNavigation::everyMoveStaysInRange()
{
    for (qsizetype count = 1; count <= 13; ++count) {
        for (qsizetype columns = -1; columns <= 6; ++columns) {
            for (qsizetype from = -2; from <= count + 2; ++from) {
                for (GridMove move : {GridMove::left, GridMove::right, GridMove::up, GridMove::down}) {
                    const auto to = GridNavigation::index(from, move, columns, count);
                    QVERIFY(to.has_value());
                    QVERIFY2(*to >= 0 && *to < count,
                             qPrintable(QStringLiteral("%1 columns, %2 items, from %3 -> %4")
                                            .arg(columns)
                                            .arg(count)
                                            .arg(from)
                                            .arg(*to)));
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestGridNavigation)
#include "tst_gridnavigation.moc"
