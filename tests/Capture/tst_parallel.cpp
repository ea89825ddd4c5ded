#include "Capture/Parallel.h"

#include <QTest>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace sw;

namespace {
// The state of a decoding thread: the thread that made it, and how many were made in all.
std::atomic<int> statesMade{0};
struct Made {
    std::thread::id thread = std::this_thread::get_id();
    int decoded = 0;
    Made() { ++statesMade; }
};

// An element decodes to its number doubled; a negative number fails, naming itself.
std::int64_t decodeNumber(const JsonNode &element)
{
    const std::int64_t n = element.int64();
    if (n < 0)
        throw JsonError("bad element " + std::to_string(-n));
    return 2 * n;
}
}  // namespace

class TestParallel : public QObject {
    Q_OBJECT
private slots:
    void elementsDecodeAsALoopInOrder_data();
    void elementsDecodeAsALoopInOrder();
    void partsCoverEachIndexOnce_data();
    void partsCoverEachIndexOnce();
};

void TestParallel::elementsDecodeAsALoopInOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("bad");   // positions of failing elements
    for (const int count : {0, 1, 100, 4095, 4096, 20000}) {
        const QByteArray n = QByteArray::number(count);
        QTest::newRow(n + ", none bad") << count << QList<int>();
        if (count == 0)
            continue;
        QTest::newRow(n + ", first bad") << count << QList<int>{0};
        QTest::newRow(n + ", last bad") << count << QList<int>{count - 1};
        if (count > 2)
            QTest::newRow(n + ", middle and last bad") << count << QList<int>{count / 2, count - 1};
        if (count > 10000)
            QTest::newRow(n + ", in the last part, then early") << count << QList<int>{count - 3, 9000};
    }
}

// The result, or the failure, is the one a plain loop over elements() in order gives; each
// thread's state is made on that thread, one per thread at most.
void TestParallel::elementsDecodeAsALoopInOrder()
{
    QFETCH(int, count);
    QFETCH(QList<int>, bad);
    std::string text = "[";
    for (int i = 0; i < count; ++i) {
        text += i ? "," : "";
        text += std::to_string(bad.contains(i) ? -(i + 1) : i);
    }
    text += "]";
    const JsonDocument doc(text);

    std::vector<std::int64_t> expected;
    std::optional<std::string> expectedFailure;
    try {
        for (const JsonNode &e : doc.root().elements())
            expected.push_back(decodeNumber(e));
    } catch (const JsonError &e) {
        expectedFailure = e.what();
    }

    statesMade = 0;
    std::atomic<bool> onItsThread{true};
    std::vector<std::int64_t> decoded;
    std::optional<std::string> failure;
    try {
        decoded = decodeElementsWith<Made>(doc.root(), [&](const JsonNode &e, Made &state) {
            if (state.thread != std::this_thread::get_id())
                onItsThread = false;
            ++state.decoded;
            return decodeNumber(e);
        });
    } catch (const JsonError &e) {
        failure = e.what();
    }
    QCOMPARE(failure, expectedFailure);
    if (!failure)
        QCOMPARE(decoded, expected);
    QVERIFY(onItsThread);
    QVERIFY(statesMade >= 1 && std::size_t(statesMade.load()) <= decodingThreads(std::size_t(count)));

    // Not an array: refused as elements() refuses it.
    const JsonDocument object(std::string(R"({"a":1})"));
    QString listed;
    QString decodedFailure;
    try {
        object.root().elements();
    } catch (const JsonError &e) {
        listed = e.message();
    }
    try {
        decodeElementsWith<Made>(object.root(), [](const JsonNode &e, Made &) { return decodeNumber(e); });
    } catch (const JsonError &e) {
        decodedFailure = e.message();
    }
    QVERIFY(!listed.isEmpty());
    QCOMPARE(decodedFailure, listed);
}

void TestParallel::partsCoverEachIndexOnce_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("parts");
    QTest::addColumn<int>("made");   // the parts it runs
    QTest::newRow("nothing") << 0 << 4 << 1;
    QTest::newRow("one index, four asked") << 1 << 4 << 1;
    QTest::newRow("fewer indices than parts") << 3 << 8 << 3;
    QTest::newRow("uneven") << 10 << 3 << 3;
    QTest::newRow("one part") << 1000 << 1 << 1;
    QTest::newRow("none asked counts as one") << 1000 << 0 << 1;
    QTest::newRow("many") << 100000 << 4 << 4;
}

// Each index is in exactly one part, the parts follow each other in order, none is empty, and
// each part runs once, the first on the calling thread.
void TestParallel::partsCoverEachIndexOnce()
{
    QFETCH(int, count);
    QFETCH(int, parts);
    QFETCH(int, made);
    std::vector<std::atomic<int>> seen(static_cast<std::size_t>(count));
    std::vector<std::pair<std::size_t, std::size_t>> ranges(std::size_t(std::max(parts, 1)), {0, 0});
    std::vector<std::atomic<int>> runs(ranges.size());
    std::atomic<bool> firstHere{false};
    const auto caller = std::this_thread::get_id();
    const std::size_t ran = inParts(std::size_t(count), std::size_t(parts), [&](std::size_t part, std::size_t begin, std::size_t end) {
        ++runs[part];
        ranges[part] = {begin, end};
        if (part == 0)
            firstHere = std::this_thread::get_id() == caller;
        for (std::size_t i = begin; i < end; ++i)
            ++seen[i];
    });
    QCOMPARE(int(ran), made);
    QVERIFY(firstHere);
    for (const std::atomic<int> &n : seen)
        QCOMPARE(n.load(), 1);
    std::size_t next = 0;
    for (std::size_t part = 0; part < ran; ++part) {
        QCOMPARE(runs[part].load(), 1);
        QCOMPARE(ranges[part].first, next);
        QVERIFY(count == 0 || ranges[part].second > ranges[part].first);
        next = ranges[part].second;
    }
    QCOMPARE(next, std::size_t(count));
}

QTEST_APPLESS_MAIN(TestParallel)
#include "tst_parallel.moc"
