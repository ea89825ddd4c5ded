#include "Capture/Parallel.h"

#include <QTest>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
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
    void helpersServeManyCallsAtOnce_data();
    void helpersServeManyCallsAtOnce();
    void piecesAreTakenInOrder_data();
    void piecesAreTakenInOrder();
    void piecesAreMadeWhileEveryHelperIsBusy();
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

void TestParallel::helpersServeManyCallsAtOnce_data()
{
    QTest::addColumn<int>("callers");   // threads calling at once
    QTest::addColumn<bool>("nested");   // each part shares its own work again
    QTest::newRow("one caller, many calls") << 1 << false;
    QTest::newRow("four callers at once") << 4 << false;
    QTest::newRow("parts sharing their own work") << 1 << true;
    QTest::newRow("four callers, nested") << 4 << true;
}

// Calls one after another, from several threads at once, and from within a part, each cover
// every index once and return only when done; the threads that help are kept from one call to
// the next rather than started for each (a few at most, whatever the number of calls).
void TestParallel::helpersServeManyCallsAtOnce()
{
    QFETCH(int, callers);
    QFETCH(bool, nested);
    constexpr int kCalls = 40;
    constexpr std::size_t kCount = 4000;
    std::mutex mutex;
    std::set<pid_t> helped;   // the threads that took a part, the callers aside
    std::set<pid_t> callerThreads;
    std::atomic<int> wrong{0};
    const auto call = [&] {
        {
            const std::lock_guard lock(mutex);
            callerThreads.insert(pid_t(::gettid()));
        }
        for (int c = 0; c < kCalls; ++c) {
            std::vector<std::atomic<int>> seen(kCount);
            inParts(kCount, 4, [&](std::size_t, std::size_t begin, std::size_t end) {
                {
                    const std::lock_guard lock(mutex);
                    helped.insert(pid_t(::gettid()));
                }
                if (!nested) {
                    for (std::size_t i = begin; i < end; ++i)
                        seen[i].fetch_add(1);
                    return;
                }
                inParts(end - begin, 2, [&](std::size_t, std::size_t b, std::size_t e) {
                    for (std::size_t i = begin + b; i < begin + e; ++i)
                        seen[i].fetch_add(1);
                });
            });
            for (const std::atomic<int> &n : seen)
                wrong += n.load() != 1;
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < callers; ++t)
        threads.emplace_back(call);
    call();
    for (std::thread &t : threads)
        t.join();
    QCOMPARE(wrong.load(), 0);
    for (const pid_t caller : callerThreads)
        helped.erase(caller);
    QVERIFY2(helped.size() <= 16, qPrintable(QStringLiteral("%1 threads helped").arg(helped.size())));
}

void TestParallel::piecesAreTakenInOrder_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("buffers");
    QTest::addColumn<int>("stopAt");    // the piece whose take() answers false (-1: none)
    QTest::addColumn<int>("throwAt");   // the piece whose make() throws (-1: none)
    QTest::newRow("none") << 0 << 4 << 10 << -1 << -1;
    QTest::newRow("one, many threads") << 1 << 4 << 10 << -1 << -1;
    QTest::newRow("many, one thread") << 500 << 1 << 2 << -1 << -1;
    QTest::newRow("many, more threads than buffers") << 500 << 8 << 3 << -1 << -1;
    QTest::newRow("many, no buffers given") << 500 << 4 << 0 << -1 << -1;
    QTest::newRow("many, four threads") << 2000 << 4 << 10 << -1 << -1;
    QTest::newRow("stopped at the first") << 500 << 4 << 10 << 0 << -1;
    QTest::newRow("stopped inside") << 500 << 4 << 10 << 250 << -1;
    QTest::newRow("stopped at the last") << 500 << 4 << 10 << 499 << -1;
    QTest::newRow("a piece fails") << 500 << 4 << 10 << -1 << 123;
    QTest::newRow("a piece fails, one thread") << 500 << 1 << 2 << -1 << 7;
    QTest::newRow("a piece fails after a stop") << 500 << 4 << 10 << 100 << 400;
}

// Each piece is handed over once, in order, whole, with its buffer's earlier text gone; a stop or
// a failure ends the making, and no more than the buffers' number of pieces is ever made ahead of
// the one taken.
void TestParallel::piecesAreTakenInOrder()
{
    QFETCH(int, count);
    QFETCH(int, threads);
    QFETCH(int, buffers);
    QFETCH(int, stopAt);
    QFETCH(int, throwAt);
    std::vector<std::string> room(std::size_t(buffers), std::string("left over"));
    const std::size_t window = std::max<std::size_t>(2, room.size());
    std::atomic<int> taken{0};
    std::atomic<bool> tooFarAhead{false};
    std::vector<int> order;
    std::vector<std::thread::id> makers;
    std::mutex makersMutex;
    const auto make = [&](std::size_t i, std::string &out) {
        if (int(i) >= taken.load() + int(window))
            tooFarAhead = true;
        if (int(i) == throwAt)
            throw std::runtime_error("piece " + std::to_string(i));
        {
            const std::lock_guard lock(makersMutex);
            makers.push_back(std::this_thread::get_id());
        }
        out += '<' + std::to_string(i) + std::string(i % 7, '.') + '>';
    };
    QString takenWrong;
    const auto take = [&](std::string &text) {
        const int i = taken.load();
        if (text != '<' + std::to_string(i) + std::string(std::size_t(i) % 7, '.') + '>')
            takenWrong = QString::fromStdString(text);
        order.push_back(i);
        text.clear();
        ++taken;
        return i != stopAt;
    };
    std::optional<std::string> failure;
    bool completed = false;
    try {
        completed = makeInOrder(std::size_t(count), std::size_t(threads), room, make, take);
    } catch (const std::runtime_error &e) {
        failure = e.what();
    }
    QVERIFY2(takenWrong.isEmpty(), qPrintable(takenWrong));
    QVERIFY(!tooFarAhead);
    const bool fails = throwAt >= 0 && (stopAt < 0 || throwAt <= stopAt);
    QCOMPARE(failure.has_value(), fails);
    if (fails)
        QCOMPARE(*failure, "piece " + std::to_string(throwAt));
    else
        QCOMPARE(completed, stopAt < 0);
    // In order from the first, up to the stop or the failed piece.
    const int last = fails ? throwAt - 1 : (stopAt >= 0 ? stopAt : count - 1);
    QVERIFY(int(order.size()) - 1 <= last);
    if (!fails)
        QCOMPARE(int(order.size()) - 1, last);
    for (std::size_t k = 0; k < order.size(); ++k)
        QCOMPARE(order[k], int(k));
    QVERIFY(room.size() >= 2);
    // Every piece was made by this thread or by one of at most threads - 1 others.
    std::set<std::thread::id> distinct(makers.begin(), makers.end());
    distinct.erase(std::this_thread::get_id());
    QVERIFY(int(distinct.size()) <= std::max(0, threads - 1));
}

// With every helper of the process busy elsewhere, the pieces are made by the calling thread alone
// and the call returns; the helpers asked for come to it later, find it over and make nothing.
void TestParallel::piecesAreMadeWhileEveryHelperIsBusy()
{
    struct Gate {
        std::mutex mutex;
        std::condition_variable changed;
        int blocked = 0;
        bool open = false;
    };
    const auto gate = std::make_shared<Gate>();
    constexpr int kHelpers = 16;   // the most the process keeps
    for (int h = 0; h < kHelpers; ++h) {
        QVERIFY(detail::runOnHelper([gate] {
            std::unique_lock lock(gate->mutex);
            ++gate->blocked;
            gate->changed.notify_all();
            gate->changed.wait(lock, [&] { return gate->open; });
        }));
    }
    {
        std::unique_lock lock(gate->mutex);
        QVERIFY(gate->changed.wait_for(lock, std::chrono::seconds(10), [&] { return gate->blocked == kHelpers; }));
    }

    // Who made each piece, kept beyond the call.
    const auto makers = std::make_shared<std::vector<std::thread::id>>();
    const auto makersMutex = std::make_shared<std::mutex>();
    std::vector<std::string> room(4);
    std::vector<int> order;
    const bool completed = makeInOrder(
        200, 4, room,
        [makers, makersMutex](std::size_t i, std::string &out) {
            const std::lock_guard lock(*makersMutex);
            makers->push_back(std::this_thread::get_id());
            out = std::to_string(i);
        },
        [&](std::string &text) {
            order.push_back(std::stoi(text));
            return true;
        });
    QVERIFY(completed);
    QCOMPARE(int(order.size()), 200);
    for (std::size_t k = 0; k < order.size(); ++k)
        QCOMPARE(order[k], int(k));

    {
        const std::lock_guard lock(gate->mutex);
        gate->open = true;
    }
    gate->changed.notify_all();
    // Tasks asked for after the call's own, one for every helper, that meet before they end: once
    // all have met, every helper is done with what it took before.
    const auto met = std::make_shared<Gate>();
    for (int h = 0; h < kHelpers; ++h) {
        QVERIFY(detail::runOnHelper([met] {
            std::unique_lock lock(met->mutex);
            ++met->blocked;
            met->changed.notify_all();
            met->changed.wait_for(lock, std::chrono::seconds(10), [&] { return met->blocked == kHelpers; });
        }));
    }
    {
        std::unique_lock lock(met->mutex);
        QVERIFY(met->changed.wait_for(lock, std::chrono::seconds(10), [&] { return met->blocked == kHelpers; }));
    }
    const std::lock_guard lock(*makersMutex);
    QCOMPARE(int(makers->size()), 200);
    for (const std::thread::id &maker : *makers)
        QCOMPARE(maker, std::this_thread::get_id());
}

QTEST_APPLESS_MAIN(TestParallel)
#include "tst_parallel.moc"
