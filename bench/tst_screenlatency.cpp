// The on-screen benchmark's own judgements: when a polled area counts as changed, and when an
// input's figures keep within the reference's.

#include "ScreenLatency.h"

#include <QtTest>

using namespace sw::bench::screen;

Q_DECLARE_METATYPE(std::vector<QRect>)

class ScreenLatencyTest : public QObject {
    Q_OBJECT
private slots:
    void differs_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("stride");
        QTest::addColumn<QPoint>("changed");   // in the area; (-1, -1): nothing
        QTest::addColumn<quint32>("pixel");    // what the changed pixel becomes
        QTest::addColumn<std::vector<QRect>>("excluded");
        QTest::addColumn<bool>("expected");
        const QRect area(100, 50, 8, 6);
        QTest::newRow("nothing changed") << area << 8 << QPoint(-1, -1) << 0u << std::vector<QRect>{} << false;
        QTest::newRow("one pixel") << area << 8 << QPoint(3, 2) << 0x00ff0000u << std::vector<QRect>{} << true;
        QTest::newRow("the last pixel") << area << 8 << QPoint(7, 5) << 0x00000001u << std::vector<QRect>{} << true;
        QTest::newRow("only the unused byte") << area << 8 << QPoint(3, 2) << 0xff000000u << std::vector<QRect>{} << false;
        QTest::newRow("inside a hole") << area << 8 << QPoint(3, 2) << 0x00ff0000u << std::vector<QRect>{QRect(102, 51, 3, 2)} << false;
        QTest::newRow("beside a hole") << area << 8 << QPoint(5, 2) << 0x00ff0000u << std::vector<QRect>{QRect(102, 51, 3, 2)} << true;
        QTest::newRow("a hole off the area") << area << 8 << QPoint(0, 0) << 0x00ff0000u << std::vector<QRect>{QRect(0, 0, 100, 50)} << true;
        QTest::newRow("a hole reaching in") << area << 8 << QPoint(0, 0) << 0x00ff0000u << std::vector<QRect>{QRect(0, 0, 101, 51)} << false;
        // Rows padded beyond the area: what lies past its width is not looked at.
        QTest::newRow("in the padding") << area << 10 << QPoint(9, 2) << 0x00ff0000u << std::vector<QRect>{} << false;
        QTest::newRow("padded rows, a change") << area << 10 << QPoint(7, 4) << 0x00ff0000u << std::vector<QRect>{} << true;
    }

    void differs()
    {
        QFETCH(QRect, area);
        QFETCH(int, stride);
        QFETCH(QPoint, changed);
        QFETCH(quint32, pixel);
        QFETCH(std::vector<QRect>, excluded);
        QFETCH(bool, expected);
        std::vector<std::uint32_t> before(std::size_t(stride) * std::size_t(area.height()), 0x00808080u);
        std::vector<std::uint32_t> now = before;
        if (changed.x() >= 0)
            now[std::size_t(changed.y() * stride + changed.x())] ^= pixel;
        QCOMPARE(sw::bench::screen::differs(before, now, stride, area, excluded), expected);
    }

    void shortGrabsNeverCountAsChanged()
    {
        const std::vector<std::uint32_t> before(10, 0);
        const std::vector<std::uint32_t> now(10, 0xffffffu);
        QVERIFY(!sw::bench::screen::differs(before, now, 4, QRect(0, 0, 4, 4), {}));
        QVERIFY(sw::bench::screen::differs(before, now, 4, QRect(0, 0, 4, 2), {}));
    }

    void figures_data()
    {
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<double>("median");
        QTest::addColumn<double>("slowest");
        QTest::newRow("none") << QList<double>{} << -1.0 << -1.0;
        QTest::newRow("odd") << QList<double>{30, 10, 20} << 20.0 << 30.0;
        QTest::newRow("even") << QList<double>{40, 10, 20, 30} << 25.0 << 40.0;
    }

    void figures()
    {
        QFETCH(QList<double>, times);
        QFETCH(double, median);
        QFETCH(double, slowest);
        const Figures figures = figuresOf(std::vector<double>(times.begin(), times.end()));
        QCOMPARE(figures.median, median);
        QCOMPARE(figures.slowest, slowest);
        QCOMPARE(figures.count, int(times.size()));
    }

    void comparison_data()
    {
        QTest::addColumn<double>("median");
        QTest::addColumn<double>("slowest");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("referenceMedian");
        QTest::addColumn<double>("referenceSlowest");
        QTest::addColumn<bool>("medianHolds");
        QTest::addColumn<bool>("slowestHolds");
        QTest::newRow("as fast as the reference") << 15.0 << 20.0 << 20 << 15.0 << 20.0 << true << true;
        QTest::newRow("a quarter more, just") << 25.0 << 30.0 << 20 << 20.0 << 20.0 << true << true;
        QTest::newRow("a median too slow") << 25.1 << 30.0 << 20 << 20.0 << 20.0 << false << true;
        QTest::newRow("the slowest twice the reference's") << 20.0 << 40.0 << 20 << 20.0 << 20.0 << true << false;
        QTest::newRow("three times a frame") << 60.0 << 90.0 << 20 << 15.0 << 20.0 << false << false;
        QTest::newRow("nothing measured") << -1.0 << -1.0 << 0 << 15.0 << 20.0 << false << false;
        QTest::newRow("no reference") << 10.0 << 10.0 << 20 << -1.0 << -1.0 << false << false;
    }

    void comparison()
    {
        QFETCH(double, median);
        QFETCH(double, slowest);
        QFETCH(int, count);
        QFETCH(double, referenceMedian);
        QFETCH(double, referenceSlowest);
        QFETCH(bool, medianHolds);
        QFETCH(bool, slowestHolds);
        const Comparison comparison =
            compare(Figures{median, slowest, count}, Figures{referenceMedian, referenceSlowest, referenceMedian > 0 ? 20 : 0});
        QCOMPARE(comparison.medianHolds, medianHolds);
        QCOMPARE(comparison.slowestHolds, slowestHolds);
        if (count > 0 && referenceMedian > 0)
            QCOMPARE(comparison.medianRatio, median / referenceMedian);
    }
};

QTEST_GUILESS_MAIN(ScreenLatencyTest)
#include "tst_screenlatency.moc"
