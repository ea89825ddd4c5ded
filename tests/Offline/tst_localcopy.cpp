// The state of one post's local copy: its derived sizes and its JSON form, with the files it
// lists.

#include "OfflineFixtures.h"

#include "Offline/LocalCopy.h"
#include "Offline/LocalFile.h"

#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::fixtures;

namespace {
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
const QString kComposed = QStringLiteral("caf\u00e9.jpg");
const QString kDecomposed = QStringLiteral("cafe\u0301.jpg");
}

class TestLocalCopy : public QObject {
    Q_OBJECT

private slots:
    void coding_data();
    void coding();
    void decodingTolerates_data();
    void decodingTolerates();
    void decodingFails_data();
    void decodingFails();
    void fraction_data();
    void fraction();
    void bytesOnDisk_data();
    void bytesOnDisk();
    void equality_data();
    void equality();
    void safeNames_data();
    void safeNames();
};

void TestLocalCopy::coding_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<std::string>("json");

    QTest::newRow("link only") << LocalCopy::linkOnly() << std::string(R"({"linkOnly":{}})");
    QTest::newRow("downloading") << LocalCopy::downloading(5, 9) << std::string(R"({"downloading":{"of":9,"received":5}})");
    QTest::newRow("downloading at the 64-bit limits")
        << LocalCopy::downloading(kMin, kMax)
        << std::string(R"({"downloading":{"of":9223372036854775807,"received":-9223372036854775808}})");
    // "onThisMac": the name stored documents give a copy on this computer
    // (LocalCopy::onThisComputerKey); the rows spell it out so that renaming it fails here.
    QTest::newRow("two files in order")
        << LocalCopy::onThisComputer({LocalFile{"b_2.jpg", 20}, LocalFile{"a.jpg", 10}})
        << std::string(R"({"onThisMac":{"_0":[{"bytes":20,"name":"b_2.jpg"},{"bytes":10,"name":"a.jpg"}]}})");
    QTest::newRow("no files") << LocalCopy::onThisComputer({}) << std::string(R"({"onThisMac":{"_0":[]}})");
    QTest::newRow("name needing escapes")
        << LocalCopy::onThisComputer({LocalFile{QStringLiteral("q\"\\\u00e9.mp4"), 1}})
        << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"q\"\\)" "\u00e9" R"(.mp4"}]}})");
    QTest::newRow("failed unreachable") << LocalCopy::failed(DownloadFailure::unreachable)
                                        << std::string(R"({"failed":{"_0":{"unreachable":{}}}})");
    QTest::newRow("failed could not write") << LocalCopy::failed(DownloadFailure::couldNotWrite)
                                            << std::string(R"({"failed":{"_0":{"couldNotWrite":{}}}})");
}

void TestLocalCopy::coding()
{
    QFETCH(LocalCopy, copy);
    QFETCH(std::string, json);

    QCOMPARE(encode(copy), json);
    // The fast writer and the value form agree.
    std::string written;
    copy.writeJson(written);
    QCOMPARE(written, json);
    QCOMPARE(decode<LocalCopy>(json), copy);
}

void TestLocalCopy::decodingTolerates_data()
{
    QTest::addColumn<std::string>("json");
    QTest::addColumn<LocalCopy>("expected");

    QTest::newRow("downloading with a key of no meaning")
        << std::string(R"({"downloading":{"received":5,"of":9,"speed":"fast"}})") << LocalCopy::downloading(5, 9);
    QTest::newRow("link only holding anything") << std::string(R"({"linkOnly":{"x":[1,2]}})") << LocalCopy::linkOnly();
    QTest::newRow("a key beside the case") << std::string(R"({"note":1,"failed":{"_0":{"couldNotWrite":{}}}})")
                                           << LocalCopy::failed(DownloadFailure::couldNotWrite);
    // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
    QTest::newRow("file with a further key")
        << std::string(R"({"onThisMac":{"_0":[{"name":"a.mp4","bytes":7,"kind":"video"}]}})")
        << LocalCopy::onThisComputer({LocalFile{"a.mp4", 7}});
    QTest::newRow("integral double sizes") << std::string(R"({"downloading":{"received":5.0,"of":9e0}})")
                                           << LocalCopy::downloading(5, 9);
}

void TestLocalCopy::decodingTolerates()
{
    QFETCH(std::string, json);
    QFETCH(LocalCopy, expected);
    QCOMPARE(decode<LocalCopy>(json), expected);
}

void TestLocalCopy::decodingFails_data()
{
    QTest::addColumn<std::string>("json");
    QTest::addColumn<QString>("message");   // empty: any decoding error

    const QString caseCount = QString::fromLatin1(kInvalidCaseCount);
    QTest::newRow("two case keys") << std::string(R"({"linkOnly":{},"failed":{"_0":{"unreachable":{}}}})") << caseCount;
    QTest::newRow("empty object") << std::string("{}") << caseCount;
    QTest::newRow("no case among the keys") << std::string(R"({"done":{}})") << caseCount;
    QTest::newRow("failure with no case") << std::string(R"({"failed":{"_0":{}}})") << caseCount;
    QTest::newRow("failure with two cases")
        << std::string(R"({"failed":{"_0":{"unreachable":{},"couldNotWrite":{}}}})") << caseCount;
    QTest::newRow("not an object") << std::string("[]") << QString();
    QTest::newRow("case value not an object") << std::string(R"({"linkOnly":3})") << QString();
    QTest::newRow("failure case value not an object") << std::string(R"({"failed":{"_0":{"unreachable":true}}})") << QString();
    QTest::newRow("downloading without of") << std::string(R"({"downloading":{"received":5}})") << QString();
    QTest::newRow("downloading with text") << std::string(R"({"downloading":{"received":5,"of":"9"}})") << QString();
    QTest::newRow("downloading with a fraction") << std::string(R"({"downloading":{"received":1.5,"of":9}})") << QString();
    QTest::newRow("downloading beyond 64 bits")
        << std::string(R"({"downloading":{"received":0,"of":9223372036854775808}})") << QString();
    // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
    QTest::newRow("finished without files") << std::string(R"({"onThisMac":{}})") << QString();
    QTest::newRow("file without bytes") << std::string(R"({"onThisMac":{"_0":[{"name":"a.jpg"}]}})") << QString();
    QTest::newRow("file without name") << std::string(R"({"onThisMac":{"_0":[{"bytes":1}]}})") << QString();
    QTest::newRow("failed without failure") << std::string(R"({"failed":{}})") << QString();
    // A name that leaves the media folder would have the core delete files outside it.
    QTest::newRow("name with a slash") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"..\/library.json"}]}})") << QString();
    QTest::newRow("name is a path") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"\/etc\/passwd"}]}})") << QString();
    QTest::newRow("name is dot") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"."}]}})") << QString();
    QTest::newRow("name is dot dot") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":".."}]}})") << QString();
    QTest::newRow("name is empty") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":""}]}})") << QString();
    // The system ends a name at its first NUL: "other.mp4\0x" is another save's "other.mp4".
    QTest::newRow("name with a NUL") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"other.mp4\u0000x"}]}})") << QString();
    QTest::newRow("dot dot and a NUL") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"..\u0000"}]}})") << QString();
    QTest::newRow("name with a newline") << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"a\nb.jpg"}]}})") << QString();
    QTest::newRow("unsafe name after a good one")
        << std::string(R"({"onThisMac":{"_0":[{"bytes":1,"name":"a.jpg"},{"bytes":1,"name":"a\/b"}]}})") << QString();
}

void TestLocalCopy::decodingFails()
{
    QFETCH(std::string, json);
    QFETCH(QString, message);
    try {
        const LocalCopy copy = decode<LocalCopy>(json);
        QFAIL(qPrintable(QStringLiteral("decoded as %1").arg(QString::fromStdString(encode(copy)))));
    } catch (const JsonError &error) {
        if (!message.isEmpty())
            QCOMPARE(error.message(), message);
    }
}

void TestLocalCopy::fraction_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<std::optional<double>>("expected");

    QTest::newRow("nothing yet") << LocalCopy::downloading(0, 300) << std::optional<double>(0.0);
    QTest::newRow("half") << LocalCopy::downloading(150, 300) << std::optional<double>(0.5);
    QTest::newRow("all") << LocalCopy::downloading(300, 300) << std::optional<double>(1.0);
    QTest::newRow("total of zero") << LocalCopy::downloading(0, 0) << std::optional<double>(1.0);
    QTest::newRow("huge total") << LocalCopy::downloading(kMax / 4, kMax) << std::optional<double>(0.25);
    QTest::newRow("link only") << LocalCopy::linkOnly() << std::optional<double>();
    QTest::newRow("finished") << LocalCopy::onThisComputer({LocalFile{"a.jpg", 1}}) << std::optional<double>();
    QTest::newRow("failed") << LocalCopy::failed(DownloadFailure::unreachable) << std::optional<double>();
}

void TestLocalCopy::fraction()
{
    QFETCH(LocalCopy, copy);
    QFETCH(std::optional<double>, expected);
    const auto fraction = copy.fraction();
    QCOMPARE(fraction.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(*fraction, *expected);
}

void TestLocalCopy::bytesOnDisk_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("two files") << LocalCopy::onThisComputer({LocalFile{"a.mp4", 100}, LocalFile{"a_2.jpg", 200}}) << qint64(300);
    QTest::newRow("no files") << LocalCopy::onThisComputer({}) << qint64(0);
    QTest::newRow("downloading counts nothing on disk") << LocalCopy::downloading(50, 300) << qint64(0);
    QTest::newRow("failed") << LocalCopy::failed(DownloadFailure::couldNotWrite) << qint64(0);
    QTest::newRow("link only") << LocalCopy::linkOnly() << qint64(0);
    QTest::newRow("saturates upwards") << LocalCopy::onThisComputer({LocalFile{"a.mp4", kMax}, LocalFile{"a_2.jpg", 1}}) << qint64(kMax);
    QTest::newRow("saturates downwards") << LocalCopy::onThisComputer({LocalFile{"a.mp4", kMin}, LocalFile{"a_2.jpg", -1}}) << qint64(kMin);
    QTest::newRow("exact across a passing overflow")
        << LocalCopy::onThisComputer({LocalFile{"a.mp4", kMax}, LocalFile{"a_2.jpg", 10}, LocalFile{"a_3.jpg", -20}})
        << qint64(kMax - 10);
}

void TestLocalCopy::bytesOnDisk()
{
    QFETCH(LocalCopy, copy);
    QFETCH(qint64, expected);
    QCOMPARE(copy.bytesOnDisk(), expected);
}

void TestLocalCopy::equality_data()
{
    QTest::addColumn<LocalCopy>("a");
    QTest::addColumn<LocalCopy>("b");
    QTest::addColumn<bool>("equal");

    QTest::newRow("canonically equivalent names")
        << LocalCopy::onThisComputer({LocalFile{kComposed, 5}}) << LocalCopy::onThisComputer({LocalFile{kDecomposed, 5}}) << true;
    QTest::newRow("other size") << LocalCopy::onThisComputer({LocalFile{"a.jpg", 5}}) << LocalCopy::onThisComputer({LocalFile{"a.jpg", 6}}) << false;
    QTest::newRow("names differing in case") << LocalCopy::onThisComputer({LocalFile{"a.jpg", 5}})
                                             << LocalCopy::onThisComputer({LocalFile{"A.jpg", 5}}) << false;
    QTest::newRow("file order") << LocalCopy::onThisComputer({LocalFile{"a.jpg", 5}, LocalFile{"b.jpg", 5}})
                                << LocalCopy::onThisComputer({LocalFile{"b.jpg", 5}, LocalFile{"a.jpg", 5}}) << false;
    QTest::newRow("one file more") << LocalCopy::onThisComputer({LocalFile{"a.jpg", 5}})
                                   << LocalCopy::onThisComputer({LocalFile{"a.jpg", 5}, LocalFile{"a.jpg", 5}}) << false;
    QTest::newRow("received differs") << LocalCopy::downloading(1, 9) << LocalCopy::downloading(2, 9) << false;
    QTest::newRow("total differs") << LocalCopy::downloading(1, 9) << LocalCopy::downloading(1, 8) << false;
    QTest::newRow("failures differ") << LocalCopy::failed(DownloadFailure::unreachable)
                                     << LocalCopy::failed(DownloadFailure::couldNotWrite) << false;
    QTest::newRow("link only and no files") << LocalCopy::linkOnly() << LocalCopy::onThisComputer({}) << false;
    QTest::newRow("downloading nothing and failed") << LocalCopy::downloading(0, 0)
                                                    << LocalCopy::failed(DownloadFailure::unreachable) << false;
}

void TestLocalCopy::equality()
{
    QFETCH(LocalCopy, a);
    QFETCH(LocalCopy, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    if (equal)
        QCOMPARE(qHash(a, 7), qHash(b, 7));
}

void TestLocalCopy::safeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << QStringLiteral("blue_kettle_42.mp4") << true;
    QTest::newRow("dots inside") << QStringLiteral("a..b.jpg") << true;
    QTest::newRow("leading dot") << QStringLiteral(".hidden") << true;
    QTest::newRow("three dots") << QStringLiteral("...") << true;
    QTest::newRow("backslash") << QStringLiteral("a\\b.jpg") << true;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("slash inside") << QStringLiteral("a/b.jpg") << false;
    QTest::newRow("trailing slash") << QStringLiteral("a.jpg/") << false;
    QTest::newRow("slash alone") << QStringLiteral("/") << false;
    QTest::newRow("NUL inside") << QStringLiteral("other.mp4") + QChar(0) + QStringLiteral("x") << false;
    QTest::newRow("dot dot and NUL") << QStringLiteral("..") + QChar(0) << false;
    QTest::newRow("NUL alone") << QString(QChar(0)) << false;
    QTest::newRow("tab") << QStringLiteral("a\tb.jpg") << false;
    QTest::newRow("unit separator") << QStringLiteral("a\x1f.jpg") << false;
    QTest::newRow("DEL") << QStringLiteral("a\x7f.jpg") << false;
    QTest::newRow("C1 control") << QStringLiteral("a\u0085.jpg") << false;
    QTest::newRow("no-break space and replacement character") << QStringLiteral("a\u00a0\ufffd.jpg") << true;
}

void TestLocalCopy::safeNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(LocalFile::isSafeName(name), safe);
}

QTEST_GUILESS_MAIN(TestLocalCopy)
#include "tst_localcopy.moc"
