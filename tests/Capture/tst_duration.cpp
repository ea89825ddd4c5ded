#include "Capture/Duration.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace sw;

Q_DECLARE_METATYPE(sw::Duration)

namespace {
const __int128 kMax = static_cast<__int128>((static_cast<unsigned __int128>(1) << 127) - 1);
const __int128 kMin = -kMax - 1;

QByteArray written(Duration d)
{
    return QByteArray::fromStdString(d.toJson().toJson());
}
}  // namespace

class TestDuration : public QObject {
    Q_OBJECT
private slots:
    void fromSeconds_data();
    void fromSeconds();
    void roundTrip_data();
    void roundTrip();
    void refusesMalformedJson_data();
    void refusesMalformedJson();
    void seconds_data();
    void seconds();
    void ordersBySignedValue();
};

void TestDuration::fromSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("zero") << 0.0 << QByteArray("[0,0]");
    QTest::newRow("12.5 s") << 12.5 << QByteArray("[0,12500000000000000000]");
    QTest::newRow("30 s crosses the low word") << 30.0 << QByteArray("[1,11553255926290448384]");
    QTest::newRow("negative") << -1.5 << QByteArray("[-1,16946744073709551616]");
    QTest::newRow("a millisecond") << 0.001 << QByteArray("[0,1000000000000000]");
    QTest::newRow("NaN is zero") << std::nan("") << QByteArray("[0,0]");
    QTest::newRow("+infinity saturates") << std::numeric_limits<double>::infinity()
                                         << QByteArray("[9223372036854775807,18446744073709551615]");
    QTest::newRow("-infinity saturates") << -std::numeric_limits<double>::infinity()
                                         << QByteArray("[-9223372036854775808,0]");
    QTest::newRow("beyond the range saturates") << 1e30 << QByteArray("[9223372036854775807,18446744073709551615]");
}

void TestDuration::fromSeconds()
{
    QFETCH(double, seconds);
    QFETCH(QByteArray, json);
    QCOMPARE(written(Duration::fromSeconds(seconds)), json);
}

void TestDuration::roundTrip_data()
{
    QTest::addColumn<Duration>("duration");
    QTest::newRow("zero") << Duration{};
    QTest::newRow("one attosecond") << Duration{1};
    QTest::newRow("minus one attosecond") << Duration{-1};
    QTest::newRow("max") << Duration{kMax};
    QTest::newRow("min") << Duration{kMin};
    QTest::newRow("an hour") << Duration::fromSeconds(3600);
    QTest::newRow("milliseconds") << Duration::fromMilliseconds(-65900);
}

void TestDuration::roundTrip()
{
    QFETCH(Duration, duration);
    const std::string text = duration.toJson().toJson();
    JsonDocument doc(text);
    QVERIFY(Duration::fromJson(doc.root()) == duration);
    QCOMPARE(Duration::fromParts(duration.high(), duration.low()).attoseconds == duration.attoseconds, true);
}

void TestDuration::refusesMalformedJson_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("one element") << QByteArray("[0]");
    QTest::newRow("three elements") << QByteArray("[0,1,2]");
    QTest::newRow("negative low word") << QByteArray("[0,-1]");
    QTest::newRow("high beyond int64") << QByteArray("[9223372036854775808,0]");
    QTest::newRow("a string") << QByteArray("[\"0\",0]");
    QTest::newRow("a number") << QByteArray("12.5");
    QTest::newRow("an object") << QByteArray("{\"high\":0,\"low\":0}");
    QTest::newRow("a fraction") << QByteArray("[0,0.5]");
}

void TestDuration::refusesMalformedJson()
{
    QFETCH(QByteArray, text);
    JsonDocument doc(text.toStdString());
    QVERIFY_THROWS_EXCEPTION(JsonError, Duration::fromJson(doc.root()));
}

void TestDuration::seconds_data()
{
    QTest::addColumn<Duration>("duration");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<qint64>("whole");
    QTest::newRow("12.5") << Duration::fromSeconds(12.5) << 12.5 << qint64(12);
    QTest::newRow("75.4") << Duration::fromSeconds(75.4) << 75.4 << qint64(75);
    QTest::newRow("65.9") << Duration::fromSeconds(65.9) << 65.9 << qint64(65);
    QTest::newRow("negative truncates toward zero") << Duration::fromSeconds(-1.5) << -1.5 << qint64(-1);
    QTest::newRow("max saturates whole seconds") << Duration{kMax} << 1.7014118346046923e20
                                                 << std::numeric_limits<qint64>::max();
    QTest::newRow("min saturates whole seconds") << Duration{kMin} << -1.7014118346046923e20
                                                 << std::numeric_limits<qint64>::min();
}

void TestDuration::seconds()
{
    QFETCH(Duration, duration);
    QFETCH(double, seconds);
    QFETCH(qint64, whole);
    QCOMPARE(duration.seconds(), seconds);
    QCOMPARE(duration.wholeSeconds(), whole);
}

void TestDuration::ordersBySignedValue()
{
    QVERIFY(Duration::fromParts(1, 0) > Duration::fromParts(0, std::numeric_limits<quint64>::max()));
    QVERIFY(Duration::fromParts(-1, std::numeric_limits<quint64>::max()) < Duration{});
    QVERIFY(qHash(Duration::fromSeconds(30)) == qHash(Duration::fromParts(1, 11553255926290448384ULL)));
}

QTEST_APPLESS_MAIN(TestDuration)
#include "tst_duration.moc"
