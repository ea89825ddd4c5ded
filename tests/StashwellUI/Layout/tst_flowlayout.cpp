#include "StashwellUI/Layout/FlowLayout.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

using namespace sw;

Q_DECLARE_METATYPE(QList<QSizeF>)
Q_DECLARE_METATYPE(QList<QPointF>)

namespace {

// A widget of a fixed ideal size.
class Box : public QWidget {
public:
    explicit Box(QSize size) : m_size(size) {}
    QSize sizeHint() const override { return m_size; }

private:
    QSize m_size;
};

QList<QSizeF> widths(std::initializer_list<double> ws, double height = 20)
{
    QList<QSizeF> sizes;
    for (double w : ws)
        sizes.append(QSizeF(w, height));
    return sizes;
}

}  // namespace

class TestFlowLayout : public QObject {
    Q_OBJECT
private slots:
    void arrange_data();
    void arrange();
    void widgetsTakeTheirIdealSizeAtTheirPlaces();
    void heightForWidthFollowsTheLines_data();
    void heightForWidthFollowsTheLines();
    void hiddenWidgetsTakeNoPlace();
    void spacingChangeRelays();
};

void TestFlowLayout::arrange_data()
{
    QTest::addColumn<QList<QSizeF>>("sizes");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<QList<QPointF>>("positions");
    QTest::addColumn<QSizeF>("size");

    QTest::newRow("empty") << QList<QSizeF>() << 100.0 << 6.0 << QList<QPointF>() << QSizeF(0, 0);
    QTest::newRow("empty, unbounded") << QList<QSizeF>() << FlowLayout::unbounded << 6.0 << QList<QPointF>()
                                      << QSizeF(0, 0);
    QTest::newRow("unbounded: one line, tallest height")
        << QList<QSizeF>{QSizeF(40, 10), QSizeF(70, 26), QSizeF(5, 12)} << FlowLayout::unbounded << 6.0
        << QList<QPointF>{QPointF(0, 0), QPointF(46, 0), QPointF(122, 0)} << QSizeF(40 + 70 + 5 + 2 * 6, 26);
    QTest::newRow("ending exactly at the edge stays")
        << widths({50, 50, 50}) << 106.0 << 6.0
        << QList<QPointF>{QPointF(0, 0), QPointF(56, 0), QPointF(0, 26)} << QSizeF(106, 46);
    QTest::newRow("one point past the edge wraps")
        << widths({50, 50, 50}) << 105.0 << 6.0
        << QList<QPointF>{QPointF(0, 0), QPointF(0, 26), QPointF(0, 52)} << QSizeF(50, 72);
    QTest::newRow("wider than the width on an empty line stays and overflows")
        << widths({150, 30}) << 100.0 << 6.0
        << QList<QPointF>{QPointF(0, 0), QPointF(0, 26)} << QSizeF(150, 46);
    QTest::newRow("a wide item after others opens its own line")
        << widths({30, 150, 30}) << 100.0 << 6.0
        << QList<QPointF>{QPointF(0, 0), QPointF(0, 26), QPointF(0, 52)} << QSizeF(150, 72);
    QTest::newRow("lines as tall as their tallest, shorter items at the top")
        << QList<QSizeF>{QSizeF(40, 10), QSizeF(40, 30), QSizeF(40, 12), QSizeF(40, 8)} << 90.0 << 4.0
        << QList<QPointF>{QPointF(0, 0), QPointF(44, 0), QPointF(0, 34), QPointF(44, 34)} << QSizeF(84, 46);
    QTest::newRow("widest line, not the width")
        << widths({60, 20, 30}) << 100.0 << 10.0
        << QList<QPointF>{QPointF(0, 0), QPointF(70, 0), QPointF(0, 30)} << QSizeF(90, 50);
    QTest::newRow("no spacing") << widths({25, 25, 25, 25, 1}) << 100.0 << 0.0
                                << QList<QPointF>{QPointF(0, 0), QPointF(25, 0), QPointF(50, 0), QPointF(75, 0),
                                                  QPointF(0, 20)}
                                << QSizeF(100, 40);
    QTest::newRow("zero width: one per line") << widths({10, 10}) << 0.0 << 6.0
                                              << QList<QPointF>{QPointF(0, 0), QPointF(0, 26)} << QSizeF(10, 46);
}

void TestFlowLayout::arrange()
{
    QFETCH(QList<QSizeF>, sizes);
    QFETCH(double, width);
    QFETCH(double, spacing);
    QFETCH(QList<QPointF>, positions);
    QFETCH(QSizeF, size);
    const FlowLayout::Arrangement pass = FlowLayout::arrange(sizes, width, spacing);
    QCOMPARE(pass.positions, positions);
    QCOMPARE(pass.size, size);
}

void TestFlowLayout::widgetsTakeTheirIdealSizeAtTheirPlaces()
{
    QWidget host;
    auto *layout = new FlowLayout(6, &host);
    layout->setContentsMargins(3, 4, 5, 6);
    QList<Box *> boxes;
    for (QSize size : {QSize(50, 20), QSize(50, 30), QSize(50, 10)}) {
        boxes.append(new Box(size));
        layout->addWidget(boxes.last());
    }
    host.show();
    layout->setGeometry(QRect(10, 20, 3 + 106 + 5, 200));
    QCOMPARE(boxes[0]->geometry(), QRect(13, 24, 50, 20));
    QCOMPARE(boxes[1]->geometry(), QRect(13 + 56, 24, 50, 30));
    QCOMPARE(boxes[2]->geometry(), QRect(13, 24 + 30 + 6, 50, 10));
}

void TestFlowLayout::heightForWidthFollowsTheLines_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("all on one line") << 500 << 20;
    QTest::newRow("all four end exactly at the edge") << 4 * 40 + 3 * 6 << 20;
    QTest::newRow("one short: three and one") << 4 * 40 + 3 * 6 - 1 << 20 + 6 + 20;
    QTest::newRow("two per line") << 2 * 40 + 6 << 20 + 6 + 20;
    QTest::newRow("one short of two: one per line") << 2 * 40 + 5 << 4 * 20 + 3 * 6;
    QTest::newRow("narrower than an item: one per line") << 10 << 4 * 20 + 3 * 6;
}

void TestFlowLayout::heightForWidthFollowsTheLines()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QWidget host;
    auto *layout = new FlowLayout(6, &host);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i)
        layout->addWidget(new Box(QSize(40, 20)));
    host.show();
    QVERIFY(layout->hasHeightForWidth());
    QCOMPARE(layout->heightForWidth(width), height);
    // The ideal size lays everything on one line; the least width is the widest item.
    QCOMPARE(layout->sizeHint(), QSize(4 * 40 + 3 * 6, 20));
    QCOMPARE(layout->minimumSize().width(), 40);
}

void TestFlowLayout::hiddenWidgetsTakeNoPlace()
{
    QWidget host;
    auto *layout = new FlowLayout(6, &host);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *first = new Box(QSize(40, 20));
    auto *hidden = new Box(QSize(40, 20));
    auto *last = new Box(QSize(40, 20));
    layout->addWidget(first);
    layout->addWidget(hidden);
    layout->addWidget(last);
    host.show();
    hidden->hide();
    layout->setGeometry(QRect(0, 0, 86, 100));
    QCOMPARE(last->geometry().topLeft(), QPoint(46, 0));
    QCOMPARE(layout->heightForWidth(86), 20);
}

void TestFlowLayout::spacingChangeRelays()
{
    QWidget host;
    auto *layout = new FlowLayout(6, &host);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i)
        layout->addWidget(new Box(QSize(50, 20)));
    host.show();
    QCOMPARE(layout->heightForWidth(162), 20);
    layout->setFlowSpacing(7);
    QCOMPARE(layout->heightForWidth(162), 20 + 7 + 20);
}

QTEST_MAIN(TestFlowLayout)
#include "tst_flowlayout.moc"
