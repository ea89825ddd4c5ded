#include "StashwellUI/Controls/ControlPainting.h"
#include "ControlTesting.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Design/Theme.h"

using namespace sw;

class TestRoundIconButton : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void cleanup() { Theme::instance().setAppearance(Appearance::light); }
    void sizes_data();
    void sizes();
    void labelIsTooltipAndName();
    void pressesInsideTheCircle_data();
    void pressesInsideTheCircle();
    void tintFollowsTheAppearanceUntilSet();
};

void TestRoundIconButton::sizes_data()
{
    QTest::addColumn<double>("diameter");
    QTest::addColumn<QSize>("size");
    QTest::newRow("default") << 0.0 << QSize(32, 32);
    QTest::newRow("24") << 24.0 << QSize(24, 24);
    QTest::newRow("40") << 40.0 << QSize(40, 40);
}

void TestRoundIconButton::sizes()
{
    QFETCH(double, diameter);
    QFETCH(QSize, size);
    RoundIconButton button(QStringLiteral("trash"), QStringLiteral("Move to Trash"));
    if (diameter > 0)
        button.setDiameter(diameter);
    QCOMPARE(button.sizeHint(), size);
    QCOMPARE(button.minimumSizeHint(), size);
    // The symbol sits well inside the circle and grows with it.
    const double symbol = RoundIconButton::symbolTypeSize(button.diameter());
    QVERIFY(symbol > 0 && symbol < button.diameter() / 2);
    QVERIFY(RoundIconButton::symbolTypeSize(button.diameter() + 8) > symbol);
}

void TestRoundIconButton::labelIsTooltipAndName()
{
    RoundIconButton button(QStringLiteral("star"), QStringLiteral("Favourite"));
    QCOMPARE(button.toolTip(), QStringLiteral("Favourite"));
    QCOMPARE(test::accessibleName(&button), QStringLiteral("Favourite"));
    button.setLabel(QStringLiteral("Remove from favourites"));
    QCOMPARE(button.toolTip(), QStringLiteral("Remove from favourites"));
    QCOMPARE(test::accessibleName(&button), QStringLiteral("Remove from favourites"));
    QVERIFY(!test::accessibleName(&button).contains(QStringLiteral("star")));
}

void TestRoundIconButton::pressesInsideTheCircle_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("runs");
    QTest::newRow("centre") << QPoint(16, 16) << 1;
    QTest::newRow("near the rim") << QPoint(2, 16) << 1;
    QTest::newRow("corner") << QPoint(1, 1) << 0;
    QTest::newRow("opposite corner") << QPoint(30, 30) << 0;
}

void TestRoundIconButton::pressesInsideTheCircle()
{
    QFETCH(QPoint, point);
    QFETCH(int, runs);
    RoundIconButton button(QStringLiteral("trash"), QStringLiteral("Move to Trash"));
    button.resize(button.sizeHint());
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(clicked.count(), runs);
}

void TestRoundIconButton::tintFollowsTheAppearanceUntilSet()
{
    RoundIconButton button(QStringLiteral("trash"), QStringLiteral("Move to Trash"));
    const QColor lightMuted = Tokens::Colors::muted();
    QCOMPARE(button.tint(), lightMuted);
    Theme::instance().setAppearance(Appearance::dark);
    QCOMPARE(button.tint(), Tokens::Colors::muted());
    QVERIFY(button.tint() != lightMuted);
    button.setTint(Tokens::Colors::danger());
    const QColor set = button.tint();
    Theme::instance().setAppearance(Appearance::light);
    QCOMPARE(button.tint(), set);
    button.resetTint();
    QCOMPARE(button.tint(), lightMuted);
}

QTEST_MAIN(TestRoundIconButton)
#include "tst_roundiconbutton.moc"
