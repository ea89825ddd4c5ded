#include "ControlTesting.h"
#include "StashwellUI/Controls/ProgressTrack.h"

#include <cmath>
#include <limits>

using namespace sw;

class TestProgressTrack : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void cleanup() { Tokens::Motion::setEnabled(false); }
    void fill_data();
    void fill();
    void announcesAWholePercentage_data();
    void announcesAWholePercentage();
    void changesAnimateToTheClampedFraction();
    void repaintsOnlyOnChange();
};

void TestProgressTrack::fill_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<double>("trackWidth");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("fillWidth");
    QTest::newRow("zero is a dot") << 200.0 << 0.0 << 6.0;
    QTest::newRow("negative is the same dot") << 200.0 << -0.5 << 6.0;
    QTest::newRow("small stays a dot") << 200.0 << 0.01 << 6.0;
    QTest::newRow("half") << 200.0 << 0.5 << 100.0;
    QTest::newRow("one") << 200.0 << 1.0 << 200.0;
    QTest::newRow("above one is full") << 200.0 << 1.5 << 200.0;
    QTest::newRow("not a number is a dot") << 200.0 << std::nan("") << 6.0;
    QTest::newRow("infinity is full") << 200.0 << inf << 200.0;
    QTest::newRow("track narrower than high") << 4.0 << 0.5 << 6.0;
}

void TestProgressTrack::fill()
{
    QFETCH(double, trackWidth);
    QFETCH(double, fraction);
    QFETCH(double, fillWidth);
    const QRectF bounds(5, 7, trackWidth, 6);
    const QRectF fill = ProgressTrack::fillRect(bounds, 6, fraction);
    QCOMPARE(fill.width(), fillWidth);
    QCOMPARE(fill.left(), 5.0);
    QCOMPARE(fill.top(), 7.0);
    QCOMPARE(fill.height(), 6.0);
}

void TestProgressTrack::announcesAWholePercentage_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<qint64>("percent");
    QTest::newRow("0.425") << 0.425 << qint64(42);
    QTest::newRow("0.999 is truncated") << 0.999 << qint64(99);
    QTest::newRow("above one as given") << 1.25 << qint64(125);
    QTest::newRow("not a number") << std::nan("") << qint64(0);
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << qint64(0);
    QTest::newRow("huge") << 1e300 << qint64(std::numeric_limits<int>::max());
}

void TestProgressTrack::announcesAWholePercentage()
{
    QFETCH(double, fraction);
    QFETCH(qint64, percent);
    ProgressTrack track;
    track.setFraction(fraction);
    QCOMPARE(test::accessibleOf(&track)->role(), QAccessible::ProgressBar);
    QCOMPARE(test::accessibleOf(&track)->text(QAccessible::Value), StashwellUIStrings::mediaPercent(percent));
}

void TestProgressTrack::changesAnimateToTheClampedFraction()
{
    Tokens::Motion::setEnabled(true);
    ProgressTrack track(0);
    track.resize(200, 6);
    QVERIFY(test::showWidget(track));
    track.setFraction(1.5);
    QCOMPARE(track.fraction(), 1.5);
    QVERIFY(track.shownFraction() < 1);   // on its way
    QTRY_COMPARE(track.shownFraction(), 1.0);

    Tokens::Motion::setEnabled(false);
    track.setFraction(0.25);
    QCOMPARE(track.shownFraction(), 0.25);   // at once while animations are off
}

void TestProgressTrack::repaintsOnlyOnChange()
{
    ProgressTrack track(0.5);
    track.resize(200, 6);
    QVERIFY(test::showWidget(track));
    test::PaintCounter paints(&track);
    paints.start();
    track.setFraction(0.5);
    track.setBarHeight(6);
    QCOMPARE(paints.settle(), 0);
    track.setFraction(0.75);
    QVERIFY(paints.settle() > 0);
}

QTEST_MAIN(TestProgressTrack)
#include "tst_progresstrack.moc"
