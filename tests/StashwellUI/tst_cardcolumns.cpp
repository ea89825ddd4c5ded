#include "StashwellUI/Shelf/CardColumns.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <cmath>
#include <limits>

using namespace sw;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

// Items of given heights that record the widths they were offered.
struct Items {
    QList<double> heights;
    mutable QList<double> offered;

    CardColumns::Measure measure() const
    {
        return [this](qsizetype index, double width) {
            offered.append(width);
            return heights.at(index);
        };
    }
};

// A widget whose height is fixed and whose width follows what the layout gives it.
class Box : public QWidget {
public:
    explicit Box(int height) : m_height(height) {}
    QSize sizeHint() const override { return QSize(10, m_height); }

private:
    int m_height;
};

}  // namespace

class TestCardColumns : public QObject {
    Q_OBJECT
private slots:
    void columnWidth_data();
    void columnWidth();
    void columnCountBelowOneIsOne_data();
    void columnCountBelowOneIsOne();
    void placesRowByRow();
    void rowsTakeTheTallestCard();
    void narrowWidthOffersZero();
    void sizeThatFits_data();
    void sizeThatFits();
    void placementUsesTheBoundsNotTheProposal();
    void widgetLayout();
};

void TestCardColumns::columnWidth_data()
{
    QTest::addColumn<qsizetype>("columns");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("expected");
    QTest::newRow("three columns in 328") << qsizetype(3) << 14.0 << 328.0 << 100.0;
    QTest::newRow("one column takes all") << qsizetype(1) << 14.0 << 328.0 << 328.0;
    QTest::newRow("gaps wider than the width") << qsizetype(4) << 20.0 << 50.0 << 0.0;
    QTest::newRow("exactly the gaps") << qsizetype(3) << 10.0 << 20.0 << 0.0;
    QTest::newRow("no spacing") << qsizetype(4) << 0.0 << 100.0 << 25.0;
    QTest::newRow("zero width") << qsizetype(2) << 14.0 << 0.0 << 0.0;
}

void TestCardColumns::columnWidth()
{
    QFETCH(qsizetype, columns);
    QFETCH(double, spacing);
    QFETCH(double, width);
    QFETCH(double, expected);
    QCOMPARE(CardColumns(columns, spacing).columnWidth(width), expected);
}

void TestCardColumns::columnCountBelowOneIsOne_data()
{
    QTest::addColumn<qsizetype>("columns");
    QTest::newRow("zero") << qsizetype(0);
    QTest::newRow("negative") << qsizetype(-5);
}

void TestCardColumns::columnCountBelowOneIsOne()
{
    QFETCH(qsizetype, columns);
    const CardColumns grid(columns, 14);
    QCOMPARE(grid.columns(), qsizetype(1));
    QCOMPARE(grid.spacing(), 14.0);
    Items items{{10, 20, 30}, {}};
    const QList<QRectF> frames = grid.place(QRectF(0, 0, 200, 1000), 3, items.measure());
    QCOMPARE(frames, (QList<QRectF>{QRectF(0, 0, 200, 10), QRectF(0, 24, 200, 20), QRectF(0, 58, 200, 30)}));
}

void TestCardColumns::placesRowByRow()
{
    // Three columns 100 wide at x 0, 114 and 228, offset by the bounds' origin.
    const CardColumns grid(3, 14);
    Items items{{50, 50, 50, 40}, {}};
    const QList<QRectF> frames = grid.place(QRectF(10, 20, 328, 500), 4, items.measure());
    QCOMPARE(frames.size(), 4);
    QCOMPARE(frames[0], QRectF(10, 20, 100, 50));
    QCOMPARE(frames[1], QRectF(124, 20, 100, 50));
    QCOMPARE(frames[2], QRectF(238, 20, 100, 50));
    QCOMPARE(frames[3], QRectF(10, 84, 100, 40));
    for (double offered : items.offered)
        QCOMPARE(offered, 100.0);
}

void TestCardColumns::rowsTakeTheTallestCard()
{
    // Five items in two columns: three rows, the fifth alone at the start of the third.
    const CardColumns grid(2, 10);
    Items items{{30, 80, 60, 20, 45}, {}};
    QCOMPARE(grid.rowHeights(210, 5, items.measure()), (QList<double>{80, 60, 45}));
    QCOMPARE(grid.sizeThatFits(210.0, 5, items.measure()), QSizeF(210, 80 + 60 + 45 + 2 * 10));
    const QList<QRectF> frames = grid.place(QRectF(0, 0, 210, 400), 5, items.measure());
    QCOMPARE(frames.size(), 5);
    // Every card of a row is offered the row's height.
    QCOMPARE(frames[0], QRectF(0, 0, 100, 80));
    QCOMPARE(frames[1], QRectF(110, 0, 100, 80));
    QCOMPARE(frames[2], QRectF(0, 90, 100, 60));
    QCOMPARE(frames[3], QRectF(110, 90, 100, 60));
    QCOMPARE(frames[4], QRectF(0, 160, 100, 45));
}

void TestCardColumns::narrowWidthOffersZero()
{
    const CardColumns grid(3, 14);
    Items items{{12, 18, 7}, {}};
    QCOMPARE(grid.sizeThatFits(20.0, 3, items.measure()), QSizeF(20, 18));
    QCOMPARE(items.offered, (QList<double>{0, 0, 0}));
    const QList<QRectF> frames = grid.place(QRectF(0, 0, 20, 100), 3, items.measure());
    QCOMPARE(frames[1], QRectF(14, 0, 0, 18));
    QCOMPARE(frames[2], QRectF(28, 0, 0, 18));
}

void TestCardColumns::sizeThatFits_data()
{
    QTest::addColumn<std::optional<double>>("width");
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<QSizeF>("expected");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("unspecified width") << std::optional<double>() << qsizetype(3) << QSizeF(0, 0);
    QTest::newRow("infinite width") << std::optional<double>(inf) << qsizetype(3) << QSizeF(0, 0);
    QTest::newRow("negative infinite width") << std::optional<double>(-inf) << qsizetype(3) << QSizeF(0, 0);
    QTest::newRow("NaN width") << std::optional<double>(std::nan("")) << qsizetype(3) << QSizeF(0, 0);
    QTest::newRow("no items") << std::optional<double>(300) << qsizetype(0) << QSizeF(300, 0);
    QTest::newRow("one row, no spacing added") << std::optional<double>(300) << qsizetype(2) << QSizeF(300, 40);
    QTest::newRow("two rows, one spacing") << std::optional<double>(300) << qsizetype(3) << QSizeF(300, 40 + 8 + 25);
}

void TestCardColumns::sizeThatFits()
{
    QFETCH(std::optional<double>, width);
    QFETCH(qsizetype, count);
    QFETCH(QSizeF, expected);
    Items items{{40, 10, 25}, {}};
    QCOMPARE(CardColumns(2, 8).sizeThatFits(width, count, items.measure()), expected);
}

void TestCardColumns::placementUsesTheBoundsNotTheProposal()
{
    // Heights depend on the width offered: placing in wider bounds gives shorter rows.
    const CardColumns grid(2, 10);
    const CardColumns::Measure textLike = [](qsizetype, double width) { return width > 0 ? 10000 / width : 0; };
    const QList<QRectF> frames = grid.place(QRectF(0, 0, 410, 0), 2, textLike);
    QCOMPARE(frames[0].size(), QSizeF(200, 50));
    QCOMPARE(grid.sizeThatFits(210.0, 2, textLike).height(), 100.0);
}

void TestCardColumns::widgetLayout()
{
    QWidget host;
    auto *layout = new CardColumnsLayout(3, 14, &host);
    layout->setContentsMargins(0, 0, 0, 0);
    QList<Box *> boxes;
    for (int height : {30, 60, 20, 44})
        boxes.append(new Box(height));
    for (Box *box : boxes)
        layout->addWidget(box);
    QCOMPARE(layout->heightForWidth(328), 60 + 14 + 44);
    layout->setGeometry(QRect(0, 0, 328, 200));
    QCOMPARE(boxes[0]->geometry(), QRect(0, 0, 100, 60));
    QCOMPARE(boxes[1]->geometry(), QRect(114, 0, 100, 60));
    QCOMPARE(boxes[2]->geometry(), QRect(228, 0, 100, 60));
    QCOMPARE(boxes[3]->geometry(), QRect(0, 74, 100, 44));

    layout->setColumns(2);
    QCOMPARE(layout->heightForWidth(214), 60 + 14 + 44);
    layout->setGeometry(QRect(0, 0, 214, 200));
    QCOMPARE(boxes[2]->geometry(), QRect(0, 74, 100, 44));
}

QTEST_MAIN(TestCardColumns)
#include "tst_cardcolumns.moc"
