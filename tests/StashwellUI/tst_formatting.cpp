#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>

using namespace sw;

namespace {

const Date kNow{800'000'000};

Date before(double seconds) { return Date{kNow.sinceReference - seconds}; }

}  // namespace

class TestFormatting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void bytes_data();
    void bytes();
    void bytesIgnoreTheProcessLocale();
    void duration_data();
    void duration();
    void ago_data();
    void ago();
    void agoFollowsTheLanguage();
    void isNowAgreesWithAgo_data();
    void isNowAgreesWithAgo();
};

void TestFormatting::initTestCase()
{
    QVERIFY(StashwellUIStrings::table().loadLanguage(QStringLiteral("en")));
}

void TestFormatting::bytes_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << "0 KB";
    QTest::newRow("one byte is at least 1 KB") << qint64(1) << "1 KB";
    QTest::newRow("511 bytes") << qint64(511) << "1 KB";
    QTest::newRow("512 bytes") << qint64(512) << "1 KB";
    QTest::newRow("1024 bytes") << qint64(1024) << "1 KB";
    QTest::newRow("1536 rounds half to even") << qint64(1536) << "2 KB";
    QTest::newRow("2560 rounds half to even") << qint64(2560) << "2 KB";
    QTest::newRow("2561 rounds up") << qint64(2561) << "3 KB";
    QTest::newRow("one byte below 1 MiB") << qint64(1048575) << "1024 KB";
    QTest::newRow("1 MiB") << qint64(1048576) << "1.0 MB";
    QTest::newRow("1.5 MiB") << qint64(1572864) << "1.5 MB";
    QTest::newRow("one byte below 1 GiB") << qint64(1073741823) << "1024.0 MB";
    QTest::newRow("1 GiB") << qint64(1073741824) << "1.00 GB";
    QTest::newRow("5 GiB") << qint64(5) * 1073741824 << "5.00 GB";
    QTest::newRow("no grouping in the thousands") << qint64(2000) * 1073741824 << "2000.00 GB";
    QTest::newRow("largest count") << std::numeric_limits<qint64>::max() << "8589934592.00 GB";
    QTest::newRow("negative") << qint64(-1) << "0 KB";
    QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "0 KB";
}

void TestFormatting::bytes()
{
    QFETCH(qint64, count);
    QFETCH(QString, expected);
    QCOMPARE(Formatting::bytes(count), expected);
}

// Qt takes LC_NUMERIC from the environment; a German locale must not turn "1.5" into "1,5".
void TestFormatting::bytesIgnoreTheProcessLocale()
{
    // Build the German locale for this test when the system has none installed.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray oldPath = qgetenv("LOCPATH");
    bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    if (!german && !QStandardPaths::findExecutable(QStringLiteral("localedef")).isEmpty()) {
        QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                           folder.filePath(QStringLiteral("de_DE.UTF-8"))});
        qputenv("LOCPATH", QFile::encodeName(folder.path()));
        german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    if (!german)
        QSKIP("no German locale is installed and none could be built");
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const QString mb = Formatting::bytes(1572864);
    const QString gb = Formatting::bytes(qint64(1536) * 1048576);
    std::setlocale(LC_NUMERIC, "C");
    if (oldPath.isNull())
        qunsetenv("LOCPATH");
    else
        qputenv("LOCPATH", oldPath);
    QCOMPARE(QByteArray(probe), QByteArray("1,5"));   // the locale was really in force
    QCOMPARE(mb, QStringLiteral("1.5 MB"));
    QCOMPARE(gb, QStringLiteral("1.50 GB"));
}

void TestFormatting::duration_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << "0:00";
    QTest::newRow("fraction dropped") << 65.9 << "1:05";
    QTest::newRow("just under a second") << 0.999 << "0:00";
    QTest::newRow("75.9 s") << 75.9 << "1:15";
    QTest::newRow("no hours") << 3725.0 << "62:05";
    QTest::newRow("an hour") << 3600.0 << "60:00";
    QTest::newRow("many hours") << 360000.0 << "6000:00";
}

void TestFormatting::duration()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    QCOMPARE(Formatting::duration(Duration::fromSeconds(seconds)), expected);
}

void TestFormatting::ago_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("expected");
    const QString now = StashwellUIStrings::timeNow();
    QTest::newRow("0 s") << 0.0 << now;
    QTest::newRow("59.9 s") << 59.9 << now;
    QTest::newRow("an hour in the future") << -3600.0 << now;
    QTest::newRow("not a number") << std::nan("") << now;
    QTest::newRow("60 s") << 60.0 << StashwellUIStrings::timeMinutes(1);
    QTest::newRow("119 s") << 119.0 << StashwellUIStrings::timeMinutes(1);
    QTest::newRow("3599 s") << 3599.0 << StashwellUIStrings::timeMinutes(59);
    QTest::newRow("3600 s") << 3600.0 << StashwellUIStrings::timeHours(1);
    QTest::newRow("86399 s") << 86399.0 << StashwellUIStrings::timeHours(23);
    QTest::newRow("86400 s") << 86400.0 << StashwellUIStrings::timeDays(1);
    QTest::newRow("604799 s") << 604799.0 << StashwellUIStrings::timeDays(6);
    QTest::newRow("604800 s") << 604800.0 << StashwellUIStrings::timeWeeks(1);
    QTest::newRow("a year is 52 weeks") << 365.0 * 86400 << StashwellUIStrings::timeWeeks(52);
    QTest::newRow("thousands of weeks, no grouping") << 1234.0 * 604800 << StashwellUIStrings::timeWeeks(1234);
    QTest::newRow("an infinite age saturates")
        << std::numeric_limits<double>::infinity() << StashwellUIStrings::timeWeeks(std::numeric_limits<qint64>::max());
}

void TestFormatting::ago()
{
    QFETCH(double, seconds);
    QFETCH(QString, expected);
    const Date date = std::isnan(seconds) ? Date{std::nan("")} : before(seconds);
    QCOMPARE(Formatting::ago(date, kNow), expected);
}

void TestFormatting::agoFollowsTheLanguage()
{
    StringTable &table = StashwellUIStrings::table();
    QCOMPARE(Formatting::ago(before(300), kNow), QStringLiteral("5 min"));
    QCOMPARE(Formatting::ago(before(1234 * 604800.0), kNow), QStringLiteral("1234 wk"));
    QVERIFY(table.loadLanguage(QStringLiteral("ja")));
    QCOMPARE(Formatting::ago(before(300), kNow), QStringLiteral("5分"));
    QCOMPARE(Formatting::ago(before(2 * 86400.0), kNow), QStringLiteral("2日"));
    QVERIFY(table.loadLanguage(QStringLiteral("ko")));
    QCOMPARE(Formatting::ago(before(3 * 3600.0), kNow), QStringLiteral("3시간"));
    QVERIFY(table.loadLanguage(QStringLiteral("zh_CN")));
    QCOMPARE(Formatting::ago(before(3 * 604800.0), kNow), QStringLiteral("3 周"));
    QVERIFY(table.loadLanguage(QStringLiteral("en")));
}

void TestFormatting::isNowAgreesWithAgo_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<bool>("isNow");
    QTest::newRow("59.999 s") << 59.999 << true;
    QTest::newRow("60 s") << 60.0 << false;
    QTest::newRow("0 s") << 0.0 << true;
    QTest::newRow("future") << -10.0 << true;
    QTest::newRow("far future") << -1e12 << true;
    QTest::newRow("a day") << 86400.0 << false;
}

void TestFormatting::isNowAgreesWithAgo()
{
    QFETCH(double, seconds);
    QFETCH(bool, isNow);
    QCOMPARE(Formatting::isNow(before(seconds), kNow), isNow);
    QCOMPARE(Formatting::ago(before(seconds), kNow) == StashwellUIStrings::timeNow(), isNow);
    // An unreadable interval is not "now" for the test, though the age text falls back to it.
    QVERIFY(!Formatting::isNow(Date{std::nan("")}, kNow));
}

QTEST_GUILESS_MAIN(TestFormatting)
#include "tst_formatting.moc"
