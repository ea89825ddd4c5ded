#include "ControlTesting.h"
#include "StashwellUI/Controls/FilterChip.h"

using namespace sw;

class TestFilterChip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void selectedState_data();
    void selectedState();
    void clicksInsideTheCapsule_data();
    void clicksInsideTheCapsule();
    void iconTakesTheForegroundOrKeepsItsOwn();
};

void TestFilterChip::selectedState_data()
{
    QTest::addColumn<bool>("selected");
    QTest::newRow("not selected") << false;
    QTest::newRow("selected") << true;
}

void TestFilterChip::selectedState()
{
    QFETCH(bool, selected);
    FilterChip chip(QStringLiteral("Video"), QStringLiteral("play.rectangle"));
    chip.setSelected(selected);
    QCOMPARE(chip.sizeHint().height(), 26);
    QCOMPARE(FilterChip::foreground(selected), selected ? Tokens::Colors::accentInk() : Tokens::Colors::textSecondary());
    const QAccessible::State state = test::accessibleOf(&chip)->state();
    QVERIFY(state.selectable);
    QCOMPARE(bool(state.selected), selected);
    QCOMPARE(test::accessibleName(&chip), QStringLiteral("Video"));
}

void TestFilterChip::clicksInsideTheCapsule_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("clicks");
    QTest::newRow("title") << false << QPoint(40, 13) << 1;
    QTest::newRow("the selected chip clicks again") << true << QPoint(40, 13) << 1;
    QTest::newRow("corner outside the round end") << false << QPoint(1, 1) << 0;
    QTest::newRow("bottom corner") << true << QPoint(1, 24) << 0;
}

void TestFilterChip::clicksInsideTheCapsule()
{
    QFETCH(bool, selected);
    QFETCH(QPoint, point);
    QFETCH(int, clicks);
    FilterChip chip(QStringLiteral("Favourites"), QStringLiteral("star"));
    chip.setSelected(selected);
    chip.resize(chip.sizeHint());
    QSignalSpy clicked(&chip, &QAbstractButton::clicked);
    QTest::mouseClick(&chip, Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(clicked.count(), clicks);
    QCOMPARE(chip.isSelected(), selected);   // the chip never changes it itself
}

void TestFilterChip::iconTakesTheForegroundOrKeepsItsOwn()
{
    FilterChip chip;
    chip.setTitle(QStringLiteral("Web"));
    QColor given;
    chip.setIcon([&given](QPainter &, const QRectF &, const QColor &foreground) { given = foreground; });
    chip.setSelected(true);
    chip.resize(chip.sizeHint());
    QVERIFY(test::showWidget(chip));
    QTRY_COMPARE(given, Tokens::Colors::accentInk());
    chip.setSelected(false);
    QTRY_COMPARE(given, Tokens::Colors::textSecondary());
}

QTEST_MAIN(TestFilterChip)
#include "tst_filterchip.moc"
