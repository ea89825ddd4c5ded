#include "ControlTesting.h"
#include "StashwellUI/Controls/SidebarRow.h"

#include <optional>

using namespace sw;

class TestSidebarRow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void count_data();
    void count();
    void selection();
    void clicksAnywhereInTheRow_data();
    void clicksAnywhereInTheRow();
    void iconFollowsTheSelection();
    void repaintsOnlyOnChange();
};

void TestSidebarRow::count_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("absent") << false << qint64(0) << QString();
    QTest::newRow("zero") << true << qint64(0) << QString();
    QTest::newRow("negative") << true << qint64(-3) << QString();
    QTest::newRow("one") << true << qint64(1) << QStringLiteral("1");
    QTest::newRow("no grouping") << true << qint64(12345) << QStringLiteral("12345");
    QTest::newRow("large") << true << qint64(9876543210) << QStringLiteral("9876543210");
}

void TestSidebarRow::count()
{
    QFETCH(bool, present);
    QFETCH(qint64, count);
    QFETCH(QString, text);
    const std::optional<std::int64_t> value = present ? std::optional<std::int64_t>(count) : std::nullopt;
    const std::optional<QString> shown = SidebarRow::countText(value);
    QCOMPARE(shown.has_value(), !text.isEmpty());
    if (shown)
        QCOMPARE(*shown, text);

    SidebarRow row(QStringLiteral("All saves"), QStringLiteral("square.grid.2x2"));
    SidebarRow withCount(QStringLiteral("All saves"), QStringLiteral("square.grid.2x2"));
    withCount.setCount(value);
    // No count, no space kept for it.
    QCOMPARE(withCount.sizeHint().width() > row.sizeHint().width(), !text.isEmpty());
    QCOMPARE(withCount.sizeHint().height(), 32);
}

void TestSidebarRow::selection()
{
    SidebarRow row(QStringLiteral("Trash"), QStringLiteral("trash"));
    row.setCount(4);
    QVERIFY(!test::accessibleOf(&row)->state().selected);
    QVERIFY(test::accessibleOf(&row)->state().selectable);
    row.setSelected(true);
    QVERIFY(test::accessibleOf(&row)->state().selected);
    QCOMPARE(SidebarRow::foreground(true), Tokens::Colors::accentInk());
    QCOMPARE(SidebarRow::foreground(false), Tokens::Colors::textSecondary());
    QCOMPARE(test::accessibleName(&row), QStringLiteral("Trash, 4"));
    QCOMPARE(row.sizeHint().height(), 32);
}

void TestSidebarRow::clicksAnywhereInTheRow_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::newRow("icon") << QPoint(18, 16);
    QTest::newRow("empty stretch") << QPoint(150, 16);
    QTest::newRow("corner") << QPoint(0, 0);
    QTest::newRow("count") << QPoint(205, 16);
}

void TestSidebarRow::clicksAnywhereInTheRow()
{
    QFETCH(QPoint, point);
    SidebarRow row(QStringLiteral("Favourites"), QStringLiteral("star"));
    row.setCount(3);
    row.setSelected(true);
    row.resize(216, 32);
    QSignalSpy clicked(&row, &QAbstractButton::clicked);
    QTest::mouseClick(&row, Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(row.isSelected());
}

void TestSidebarRow::iconFollowsTheSelection()
{
    SidebarRow row;
    row.setTitle(QStringLiteral("Reading"));
    QColor given;
    row.setIcon([&given](QPainter &, const QRectF &, const QColor &foreground) { given = foreground; });
    row.resize(216, 32);
    QVERIFY(test::showWidget(row));
    QTRY_COMPARE(given, Tokens::Colors::textSecondary());
    row.setSelected(true);
    QTRY_COMPARE(given, Tokens::Colors::accentInk());
}

void TestSidebarRow::repaintsOnlyOnChange()
{
    SidebarRow row(QStringLiteral("Video"), QStringLiteral("play.rectangle"));
    row.setCount(0);
    row.resize(216, 32);
    QVERIFY(test::showWidget(row));
    test::PaintCounter paints(&row);
    paints.start();
    row.setTitle(QStringLiteral("Video"));
    row.setSelected(false);
    row.setCount(-1);   // shows nothing, like 0
    QCOMPARE(paints.settle(), 0);
    row.setCount(2);
    QVERIFY(paints.settle() > 0);
}

QTEST_MAIN(TestSidebarRow)
#include "tst_sidebarrow.moc"
