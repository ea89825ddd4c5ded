#include "ControlTesting.h"
#include "StashwellUI/Controls/PillButton.h"

#include <QHBoxLayout>

#include <cmath>
#include <limits>

using namespace sw;

class TestPillButton : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void progressBar_data();
    void progressBar();
    void fillsTheWidthAndIsNeverLowerThan32();
    void pressRunsOnce_data();
    void pressRunsOnce();
    void repaintsOnlyOnChange();
    void announcesTitleAndProgress_data();
    void announcesTitleAndProgress();
};

void TestPillButton::progressBar_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<bool>("present");
    QTest::addColumn<double>("progress");
    QTest::addColumn<double>("width");   // of the bar, in a pill 216 wide: a span of 200
    QTest::newRow("none") << false << 0.0 << -1.0;
    QTest::newRow("zero") << true << 0.0 << 0.0;
    QTest::newRow("half") << true << 0.5 << 100.0;
    QTest::newRow("one") << true << 1.0 << 200.0;
    QTest::newRow("above one is drawn full") << true << 1.25 << 200.0;
    QTest::newRow("negative is drawn empty") << true << -0.3 << 0.0;
    QTest::newRow("not a number is drawn empty") << true << std::nan("") << 0.0;
    QTest::newRow("infinity is drawn full") << true << inf << 200.0;
    QTest::newRow("minus infinity is drawn empty") << true << -inf << 0.0;
}

void TestPillButton::progressBar()
{
    QFETCH(bool, present);
    QFETCH(double, progress);
    QFETCH(double, width);
    const QRectF bounds(10, 20, 216, 32);
    const std::optional<QRectF> bar =
        PillButton::progressBar(bounds, present ? std::optional<double>(progress) : std::nullopt);
    QCOMPARE(bar.has_value(), present);
    if (!present)
        return;
    QCOMPARE(bar->width(), width);
    QCOMPARE(bar->left(), 18.0);        // 8 in from the leading end
    QCOMPARE(bar->height(), 3.0);
    QCOMPARE(bar->bottom(), bounds.bottom());
}

void TestPillButton::fillsTheWidthAndIsNeverLowerThan32()
{
    QWidget container;
    auto *layout = new QHBoxLayout(&container);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *pill = new PillButton(QStringLiteral("Download 1.2 MB"), QStringLiteral("arrow.down"), Tone::accent);
    layout->addWidget(pill);
    container.resize(480, 10);
    QVERIFY(test::showWidget(container));
    QCOMPARE(pill->width(), 480);
    QVERIFY(pill->height() >= 32);
    QCOMPARE(pill->sizeHint().height(), 32);
    QVERIFY(pill->minimumSizeHint().height() >= 32);
}

void TestPillButton::pressRunsOnce_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("runs");
    QTest::newRow("label") << QPoint(100, 16) << 1;
    QTest::newRow("transparent part beside the label") << QPoint(20, 16) << 1;
    QTest::newRow("near the bar") << QPoint(100, 30) << 1;
    QTest::newRow("corner outside the capsule") << QPoint(1, 1) << 0;
}

void TestPillButton::pressRunsOnce()
{
    QFETCH(QPoint, point);
    QFETCH(int, runs);
    PillButton pill(QStringLiteral("Play"), QStringLiteral("play.fill"), Tone::ok);
    pill.setProgress(0.4);
    pill.resize(200, 32);
    QSignalSpy clicked(&pill, &QAbstractButton::clicked);
    QTest::mouseClick(&pill, Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(clicked.count(), runs);
}

void TestPillButton::repaintsOnlyOnChange()
{
    PillButton pill(QStringLiteral("Retry"), QStringLiteral("arrow.clockwise"), Tone::danger);
    pill.setProgress(std::nan(""));
    pill.resize(200, 32);
    QVERIFY(test::showWidget(pill));
    test::PaintCounter paints(&pill);
    paints.start();

    pill.setTitle(QStringLiteral("Retry"));
    pill.setTone(Tone::danger);
    pill.setSymbol(QStringLiteral("arrow.clockwise"));
    pill.setProgress(std::nan(""));
    QCOMPARE(paints.settle(), 0);

    pill.setProgress(0.5);
    QVERIFY(paints.settle() > 0);
    paints.reset();
    pill.setProgress(0.5);
    QCOMPARE(paints.settle(), 0);
    pill.setTone(Tone::neutral);
    QVERIFY(paints.settle() > 0);
}

void TestPillButton::announcesTitleAndProgress_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<double>("progress");
    QTest::addColumn<QString>("value");
    QTest::newRow("none") << false << 0.0 << QString();
    QTest::newRow("truncated") << true << 0.999 << StashwellUIStrings::mediaPercent(99);
    QTest::newRow("above one is told as it is") << true << 1.25 << StashwellUIStrings::mediaPercent(125);
    QTest::newRow("not a number") << true << std::nan("") << StashwellUIStrings::mediaPercent(0);
    QTest::newRow("infinity") << true << std::numeric_limits<double>::infinity() << StashwellUIStrings::mediaPercent(0);
}

void TestPillButton::announcesTitleAndProgress()
{
    QFETCH(bool, present);
    QFETCH(double, progress);
    QFETCH(QString, value);
    PillButton pill(QStringLiteral("Downloading"), QStringLiteral("arrow.down"), Tone::accent);
    if (present)
        pill.setProgress(progress);
    QCOMPARE(test::accessibleName(&pill), QStringLiteral("Downloading"));
    QCOMPARE(test::accessibleOf(&pill)->text(QAccessible::Value), value);
}

QTEST_MAIN(TestPillButton)
#include "tst_pillbutton.moc"
