#include "Capture/Date.h"

#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <limits>

using namespace sw;

class TestDate : public QObject {
    Q_OBJECT
private slots:
    void fromDateTime_data();
    void fromDateTime();
    void toDateTimeRefusesWhatItCannotHold_data();
    void toDateTimeRefusesWhatItCannotHold();
    void json_data();
    void json();
    void zeroesHashAlike();
};

void TestDate::fromDateTime_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<double>("sinceReference");
    QTest::newRow("the reference") << QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc()) << 0.0;
    QTest::newRow("before the reference") << QDateTime(QDate(2000, 12, 31), QTime(23, 59, 59, 500), QTimeZone::utc()) << -0.5;
    QTest::newRow("another zone") << QDateTime(QDate(2001, 1, 1), QTime(9, 0), QTimeZone("Asia/Tokyo")) << 0.0;
    QTest::newRow("the Unix epoch") << QDateTime(QDate(1970, 1, 1), QTime(0, 0), QTimeZone::utc()) << -978307200.0;
    QTest::newRow("2026") << QDateTime(QDate(2026, 12, 6), QTime(15, 1, 29, 250), QTimeZone::utc()) << 818262089.25;
}

void TestDate::fromDateTime()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(double, sinceReference);
    const Date d = Date::fromDateTime(dateTime);
    QCOMPARE(d.sinceReference, sinceReference);
    QCOMPARE(d.toDateTime(), dateTime);
    QCOMPARE(d.toDateTime().timeSpec(), Qt::UTC);
}

void TestDate::toDateTimeRefusesWhatItCannotHold_data()
{
    QTest::addColumn<double>("sinceReference");
    QTest::newRow("NaN") << std::nan("");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e300;
}

void TestDate::toDateTimeRefusesWhatItCannotHold()
{
    QFETCH(double, sinceReference);
    QVERIFY(!Date{sinceReference}.toDateTime().isValid());
    QCOMPARE(Date::fromDateTime(QDateTime()).sinceReference, 0.0);
}

void TestDate::json_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("sinceReference");
    QTest::newRow("fraction") << QByteArray("786297600.5") << 786297600.5;
    QTest::newRow("whole seconds, no .0") << QByteArray("786297600") << 786297600.0;
    QTest::newRow("negative") << QByteArray("-12.25") << -12.25;
}

void TestDate::json()
{
    QFETCH(QByteArray, text);
    QFETCH(double, sinceReference);
    QCOMPARE(QByteArray::fromStdString(Date{sinceReference}.toJson().toJson()), text);
    JsonDocument doc(text.toStdString());
    QCOMPARE(Date::fromJson(doc.root()).sinceReference, sinceReference);

    JsonDocument wrong(std::string("\"786297600\""));
    QVERIFY_THROWS_EXCEPTION(JsonError, Date::fromJson(wrong.root()));
}

void TestDate::zeroesHashAlike()
{
    QVERIFY(Date{0.0} == Date{-0.0});
    QCOMPARE(qHash(Date{0.0}), qHash(Date{-0.0}));
    QVERIFY(Date{1} < Date{2});
}

QTEST_APPLESS_MAIN(TestDate)
#include "tst_date.moc"
