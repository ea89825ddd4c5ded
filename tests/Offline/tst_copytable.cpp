// The table of local copies: keyed by post link, shared until changed, with its running byte
// sums and the archive's JSON form.

#include "OfflineFixtures.h"

#include "Offline/CopyTable.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::fixtures;

namespace {
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

LocalCopy done(std::int64_t bytes) { return LocalCopy::onThisComputer({LocalFile{"f.jpg", bytes}}); }

// The table's text built afresh from its entries, in the table's own order.
std::string freshJson(const CopyTable &table)
{
    std::string out = "[";
    bool first = true;
    for (const auto &[link, copy] : table) {
        if (!first)
            out += ",";
        first = false;
        out += encode(link) + "," + encode(copy);
    }
    return out + "]";
}

// One step applied to a table: insert when `copy` is given, else take.
struct Step {
    PostLink link;
    std::optional<LocalCopy> copy;
};
using Steps = QList<Step>;
}  // namespace

Q_DECLARE_METATYPE(Steps)

class TestCopyTable : public QObject {
    Q_OBJECT

private slots:
    void keyedByStatus();
    void sharedUntilChanged();
    void sums_data();
    void sums();
    void coding();
    void linkTextMatchesItsCoding_data();
    void linkTextMatchesItsCoding();
    void codingRoundTrip();
    void decodingKeepsTheLaterPair();
    void decodingFails_data();
    void decodingFails();
    void decodingInPartsAsInOrder_data();
    void decodingInPartsAsInOrder();
    void equalityIgnoresOrder();
    void followsAMapOverManyChanges();
};

void TestCopyTable::keyedByStatus()
{
    CopyTable table;
    table.insert(xLink("Kettle", "42"), LocalCopy::downloading(0, 10));
    QVERIFY(table.find(xLink("teapot", "42")));
    QCOMPARE(*table.find(xLink("TEAPOT", "42")), LocalCopy::downloading(0, 10));
    QVERIFY(!table.find(xLink("Kettle", "042")));
    QVERIFY(!table.find(webLink("https://x.com/kettle/status/42")));

    // Recording under another handle replaces the copy; the entry keeps its first link.
    table.insert(xLink("teapot", "42"), done(10));
    QCOMPARE(table.size(), 1);
    QCOMPARE(*table.find(xLink("Kettle", "42")), done(10));
    QCOMPARE(table.begin().link().asX()->handle.name, QStringLiteral("Kettle"));
    QCOMPARE(encode(table), freshJson(table));
    QVERIFY(encode(table).find("Kettle") != std::string::npos);

    QCOMPARE(table.take(xLink("KETTLE", "42")), std::optional<LocalCopy>(done(10)));
    QVERIFY(table.isEmpty());
    QCOMPARE(table.take(xLink("Kettle", "42")), std::optional<LocalCopy>());
}

void TestCopyTable::sharedUntilChanged()
{
    CopyTable original;
    original.insert(xLink("a", "1"), done(100));
    original.insert(xLink("b", "2"), LocalCopy::downloading(5, 50));

    CopyTable changed = original;
    QCOMPARE(changed, original);
    changed.insert(xLink("a", "1"), LocalCopy::failed(DownloadFailure::unreachable));
    changed.take(xLink("b", "2"));
    changed.insert(xLink("c", "3"), done(7));

    QCOMPARE(original.size(), 2);
    QCOMPARE(*original.find(xLink("a", "1")), done(100));
    QCOMPARE(*original.find(xLink("b", "2")), LocalCopy::downloading(5, 50));
    QVERIFY(!original.find(xLink("c", "3")));
    QCOMPARE(original.reservedBytes(), 150);
    QCOMPARE(original.bytesOnDisk(), 100);
    QCOMPARE(encode(original), freshJson(original));

    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.reservedBytes(), 7);
    QCOMPARE(encode(changed), freshJson(changed));
    QVERIFY(!(changed == original));
}

void TestCopyTable::sums_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<qint64>("reserved");
    QTest::addColumn<qint64>("onDisk");

    const PostLink a = xLink("a", "1"), b = xLink("b", "2"), c = webLink("https://h.example/c");
    QTest::newRow("empty") << Steps{} << qint64(0) << qint64(0);
    QTest::newRow("one of each case")
        << Steps{{a, done(400)}, {b, LocalCopy::downloading(20, 300)}, {c, LocalCopy::failed(DownloadFailure::unreachable)},
                 {xLink("d", "4"), LocalCopy::linkOnly()}}
        << qint64(700) << qint64(400);
    QTest::newRow("whole reservation whatever has arrived") << Steps{{a, LocalCopy::downloading(299, 300)}} << qint64(300) << qint64(0);
    QTest::newRow("download finishing with another size")
        << Steps{{a, LocalCopy::downloading(0, 300)}, {a, done(250)}} << qint64(250) << qint64(250);
    QTest::newRow("download failing releases") << Steps{{a, LocalCopy::downloading(0, 300)}, {a, LocalCopy::failed(DownloadFailure::couldNotWrite)}}
                                               << qint64(0) << qint64(0);
    QTest::newRow("taken entries count nothing") << Steps{{a, done(10)}, {b, done(20)}, {a, std::nullopt}} << qint64(20) << qint64(20);
    QTest::newRow("taking a missing link") << Steps{{a, done(10)}, {b, std::nullopt}} << qint64(10) << qint64(10);
    QTest::newRow("saturates upwards") << Steps{{a, done(kMax)}, {b, LocalCopy::downloading(0, kMax)}} << qint64(kMax) << qint64(kMax);
    QTest::newRow("saturates downwards") << Steps{{a, done(kMin)}, {b, done(kMin)}} << qint64(kMin) << qint64(kMin);
    // The sums are exact underneath: once the corrupt entry goes, the rest is counted right.
    QTest::newRow("exact after a saturated entry goes")
        << Steps{{a, done(kMax)}, {b, done(kMax)}, {c, done(5)}, {a, std::nullopt}} << qint64(kMax) << qint64(kMax);
    QTest::newRow("back in range") << Steps{{a, done(kMax)}, {b, done(kMax)}, {c, done(5)}, {a, std::nullopt}, {b, std::nullopt}}
                                   << qint64(5) << qint64(5);
}

void TestCopyTable::sums()
{
    QFETCH(Steps, steps);
    QFETCH(qint64, reserved);
    QFETCH(qint64, onDisk);

    CopyTable table;
    for (const Step &step : steps) {
        if (step.copy)
            table.insert(step.link, *step.copy);
        else
            table.take(step.link);
    }
    QCOMPARE(table.reservedBytes(), reserved);
    QCOMPARE(table.bytesOnDisk(), onDisk);
    QCOMPARE(encode(table), freshJson(table));
}

void TestCopyTable::coding()
{
    CopyTable table;
    QCOMPARE(encode(table), std::string("[]"));
    table.insert(xLink("Kettle", "42"), LocalCopy::downloading(0, 9));
    QCOMPARE(encode(table),
             std::string(R"([{"x":{"handle":{"name":"Kettle"},"status":{"digits":"42"}}},{"downloading":{"of":9,"received":0}}])"));
    // Changing the copy changes its text, not the link's.
    table.insert(xLink("other", "42"), done(3));
    // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
    QCOMPARE(encode(table), std::string(R"([{"x":{"handle":{"name":"Kettle"},"status":{"digits":"42"}}},)"
                                        R"({"onThisMac":{"_0":[{"bytes":3,"name":"f.jpg"}]}}])"));

    CopyTable web;
    web.insert(webLink("https://h.example/a/b"), LocalCopy::linkOnly());
    QCOMPARE(encode(web), std::string(R"([{"web":{"_0":"https:\/\/h.example\/a\/b"}},{"linkOnly":{}}])"));

    // Appending to text already written.
    std::string out = "{\"copies\":";
    web.writeJson(out);
    QCOMPARE(out, std::string(R"({"copies":[{"web":{"_0":"https:\/\/h.example\/a\/b"}},{"linkOnly":{}}])"));
}

void TestCopyTable::linkTextMatchesItsCoding_data()
{
    QTest::addColumn<PostLink>("link");

    QTest::newRow("plain x") << xLink("Kettle", "42");
    QTest::newRow("x with characters to escape") << xLink(QStringLiteral("a\"b\\c/d\te\u0001"), "007");
    QTest::newRow("x beyond ASCII") << xLink(QStringLiteral("\u00e9\u6f22\U0001F600"), "1");
    QTest::newRow("x empty handle") << xLink("", "9");
    QTest::newRow("web") << webLink("https://h.example/a/b?c=d&e=%2F#f");
    QTest::newRow("web beyond ASCII") << webLink(QStringLiteral("https://h.example/caf\u00e9?q=\u6f22"));
}

void TestCopyTable::linkTextMatchesItsCoding()
{
    QFETCH(PostLink, link);
    CopyTable table;
    table.insert(link, LocalCopy::linkOnly());
    QCOMPARE(encode(table), "[" + encode(link) + R"(,{"linkOnly":{}}])");
    const CopyTable back = decode<CopyTable>(encode(table));
    QCOMPARE(back, table);
    // The link comes back as written, handle included.
    QCOMPARE(encode(back.begin().link()), encode(link));
}

void TestCopyTable::codingRoundTrip()
{
    CopyTable table;
    table.insert(xLink("a", "1"), done(100));
    table.insert(xLink("B", "2"), LocalCopy::downloading(5, 50));
    table.insert(webLink("https://h.example/p?id=1"), LocalCopy::failed(DownloadFailure::couldNotWrite));
    table.insert(webLink("https://h.example/p?id=2"), LocalCopy::linkOnly());
    table.insert(xLink("c", "3"), LocalCopy::onThisComputer({LocalFile{QStringLiteral("\u00e9_3.mp4"), 1}, LocalFile{"c_3_2.jpg", 2}}));

    const CopyTable back = decode<CopyTable>(encode(table));
    QCOMPARE(back, table);
    QCOMPARE(back.size(), 5);
    QCOMPARE(back.reservedBytes(), table.reservedBytes());
    QCOMPARE(back.bytesOnDisk(), table.bytesOnDisk());
    QCOMPARE(back.begin() == back.end(), false);
    // Every link keeps its handle as written.
    QCOMPARE(back.find(xLink("b", "2")) != nullptr, true);
    bool sawB = false;
    for (const auto &[link, copy] : back)
        sawB = sawB || (link.asX() && link.asX()->handle.name == u"B");
    QVERIFY(sawB);
}

void TestCopyTable::decodingKeepsTheLaterPair()
{
    const CopyTable table = decode<CopyTable>(
        R"([{"x":{"handle":{"name":"first"},"status":{"digits":"7"}}},{"downloading":{"of":9,"received":0}},)"
        R"({"web":{"_0":"https:\/\/h.example"}},{"linkOnly":{}},)"
        R"({"x":{"handle":{"name":"second"},"status":{"digits":"7"}}},{"failed":{"_0":{"unreachable":{}}}}])");
    QCOMPARE(table.size(), 2);
    QCOMPARE(*table.find(xLink("any", "7")), LocalCopy::failed(DownloadFailure::unreachable));
    QCOMPARE(table.reservedBytes(), 0);
    QCOMPARE(encode(table), freshJson(table));
}

void TestCopyTable::decodingFails_data()
{
    QTest::addColumn<std::string>("json");

    QTest::newRow("odd length") << std::string(R"([{"x":{"handle":{"name":"a"},"status":{"digits":"1"}}}])");
    QTest::newRow("not an array") << std::string(R"({"x":{}})");
    QTest::newRow("copy where the link belongs") << std::string(R"([{"linkOnly":{}},{"linkOnly":{}}])");
    QTest::newRow("bad copy") << std::string(R"([{"x":{"handle":{"name":"a"},"status":{"digits":"1"}}},{"linkOnly":{},"failed":{}}])");
    // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
    QTest::newRow("bad second pair")
        << std::string(R"([{"x":{"handle":{"name":"a"},"status":{"digits":"1"}}},{"linkOnly":{}},)"
                       R"({"x":{"handle":{"name":"b"},"status":{"digits":"2"}}},{"onThisMac":{"_0":[{"bytes":1,"name":".."}]}}])");
}

void TestCopyTable::decodingFails()
{
    QFETCH(std::string, json);
    QVERIFY_THROWS_EXCEPTION(JsonError, decode<CopyTable>(json));
}

void TestCopyTable::equalityIgnoresOrder()
{
    CopyTable forwards, backwards;
    QList<PostLink> links;
    for (int i = 0; i < 50; ++i)
        links << xLink("h", QString::number(i));
    for (qsizetype i = 0; i < links.size(); ++i)
        forwards.insert(links[i], done(i));
    for (qsizetype i = links.size() - 1; i >= 0; --i)
        backwards.insert(links[i], done(i));
    QCOMPARE(forwards, backwards);
    QCOMPARE(qHash(forwards, 3), qHash(backwards, 3));

    backwards.insert(links[10], done(11));
    QVERIFY(!(forwards == backwards));
    backwards.insert(links[10], done(10));
    QCOMPARE(forwards, backwards);
    backwards.take(links[0]);
    backwards.insert(xLink("h", "other"), done(0));
    QVERIFY(!(forwards == backwards));
}

// Thousands of random insertions and removals, of X links with plain statuses (the keyed fast
// path), statuses with leading zeros, web links and links that share a status under other
// handles: after each step the table answers like a plain map, and a copy taken earlier keeps
// what it held.
void TestCopyTable::followsAMapOverManyChanges()
{
    QRandomGenerator random(14);
    const auto someLink = [&]() -> PostLink {
        const int n = random.bounded(300);
        switch (random.bounded(4)) {
        case 0: return PostLink::x(Handle{QStringLiteral("h%1").arg(random.bounded(3))}, StatusID{QString::number(n)});
        case 1: return PostLink::x(Handle{QStringLiteral("h")}, StatusID{QStringLiteral("0") + QString::number(n)});
        case 2: return PostLink::x(Handle{QStringLiteral("h")}, StatusID{QString::number(n) + QStringLiteral("000000000000000000")});
        default: return PostLink::web(url(QStringLiteral("https://a.example.com/p/%1?q=%2").arg(n).arg(n % 7)));
        }
    };
    CopyTable table;
    QHash<PostLink, LocalCopy> expected;
    CopyTable earlier;
    QHash<PostLink, LocalCopy> earlierExpected;
    for (int step = 0; step < 6000; ++step) {
        const PostLink link = someLink();
        if (random.bounded(3) == 0) {
            const std::optional<LocalCopy> taken = table.take(link);
            QCOMPARE(taken.has_value(), expected.contains(link));
            if (taken)
                QCOMPARE(*taken, expected.take(link));
        } else {
            const LocalCopy copy = done(random.bounded(1000));
            table.insert(link, copy);
            expected.insert(link, copy);
        }
        if (step % 1000 == 0) {
            earlier = table;
            earlierExpected = expected;
        }
        QCOMPARE(table.size(), expected.size());
        const PostLink probe = someLink();
        const LocalCopy *found = table.find(probe);
        QCOMPARE(found != nullptr, expected.contains(probe));
        if (found)
            QCOMPARE(*found, expected.value(probe));
    }
    for (const auto &[table, expected] : {std::pair{&table, &expected}, std::pair{&earlier, &earlierExpected}}) {
        qsizetype seen = 0;
        std::int64_t sum = 0;
        for (const auto &[link, copy] : *table) {
            ++seen;
            QVERIFY(expected->contains(link));
            QCOMPARE(copy, expected->value(link));
            sum += copy.bytesOnDisk();
        }
        QCOMPARE(seen, expected->size());
        QCOMPARE(table->bytesOnDisk(), sum);
        for (auto it = expected->cbegin(); it != expected->cend(); ++it) {
            QVERIFY(table->find(it.key()));
            QCOMPARE(*table->find(it.key()), it.value());
        }
        // Written and read back, it is the same table.
        std::string text;
        table->writeJson(text);
        QVERIFY(decode<CopyTable>(text) == *table);
    }
}

// Small tables are decoded as the array is walked, large ones on several threads: either way the
// table is the one the pairs make in order (a repeated link keeping its later copy), and the
// failure reported is that of the first bad pair, or the odd length before any pair.
void TestCopyTable::decodingInPartsAsInOrder_data()
{
    QTest::addColumn<int>("pairs");
    QTest::addColumn<int>("badLink");   // -1 for none
    QTest::addColumn<int>("badCopy");
    QTest::addColumn<bool>("odd");
    QTest::addColumn<QString>("message");   // empty when the table reads
    const QString link = QStringLiteral("Invalid number of keys");
    const QString copy = QStringLiteral("does not name a file");
    const QString oddLength = QStringLiteral("odd length");
    for (const int pairs : {3, 2000, 5000, 12000}) {   // 2000: on one thread, with repeated links
        const QByteArray n = QByteArray::number(pairs) + " pairs";
        QTest::newRow(n + ", all good") << pairs << -1 << -1 << false << QString();
        QTest::newRow(n + ", first link bad") << pairs << 0 << -1 << false << link;
        QTest::newRow(n + ", last copy bad") << pairs << -1 << pairs - 1 << false << copy;
        QTest::newRow(n + ", a copy, then a link bad") << pairs << pairs - 1 << 1 << false << copy;
        QTest::newRow(n + ", a link, then a copy bad") << pairs << 1 << pairs - 1 << false << link;
        QTest::newRow(n + ", odd length after a bad link") << pairs << 0 << -1 << true << oddLength;
    }
}

void TestCopyTable::decodingInPartsAsInOrder()
{
    QFETCH(int, pairs);
    QFETCH(int, badLink);
    QFETCH(int, badCopy);
    QFETCH(bool, odd);
    QFETCH(QString, message);
    CopyTable expected;
    std::string text = "[";
    for (int i = 0; i < pairs; ++i) {
        // Every tenth pair repeats the link of the pair before it, under another handle.
        const PostLink link = i % 10 == 9 ? xLink("again", QString::number(i - 1))
                              : i % 7 == 3 ? webLink(QStringLiteral("https://h.example/caf\u00e9/%1").arg(i))
                                           : xLink(QStringLiteral("h%1").arg(i % 50), QString::number(i));
        const LocalCopy copy = i % 3 ? done(i) : LocalCopy::downloading(i, 2 * i + 1);
        expected.insert(link, copy);
        text += i ? "," : "";
        text += i == badLink ? R"({"x":{},"web":{}})" : encode(link);
        text += ",";
        // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
        text += i == badCopy ? R"({"onThisMac":{"_0":[{"bytes":1,"name":"..\/x"}]}})" : encode(copy);
    }
    text += odd ? R"(,{"linkOnly":{}}])" : "]";
    try {
        const CopyTable table = decode<CopyTable>(text);
        QVERIFY2(message.isEmpty(), "a table with a bad pair was read");
        QCOMPARE(table, expected);
        QCOMPARE(encode(table), freshJson(table));
    } catch (const JsonError &error) {
        QVERIFY2(!message.isEmpty() && error.message().contains(message), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestCopyTable)
#include "tst_copytable.moc"
