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

QTEST_APPLESS_MAIN(TestParallel)
#include "tst_parallel.moc"
