// The undo history on its own: what each call reports as changed (the Curator signals from it),
// the walk back and forth, the bound on the past, and clearing.

#include "StashKit/UndoHistory.h"

#include <QtTest>

using namespace sw;

namespace {

// Step n adds a collection named n; its undo removes the last collection.
UndoHistory::Step step(int n)
{
    const Collection collection{Collection::ID(QUuid::createUuidV5(QUuid(), QString::number(n))),
                                QString::number(n), Swatch::blue};
    return {[](Library &library) { library.collections.removeLast(); },
            [collection](Library &library) { library.collections.append(collection); }};
}

QStringList names(const Library &library)
{
    QStringList out;
    for (const Collection &collection : library.collections)
        out.append(collection.name);
    return out;
}

// Records steps 1..count, each applied to the library as the Curator's commit does.
Library recordSteps(UndoHistory &history, int count, Library library = {})
{
    for (int n = 1; n <= count; ++n) {
        UndoHistory::Step made = step(n);
        made.redo(library);
        history.record(std::move(made));
    }
    return library;
}

}  // namespace

class TestUndoHistory : public QObject {
    Q_OBJECT
private slots:
    void recordClearsTheFutureAndSaysSo();
    void undoAndRedoWalkTheSteps();
    void thePastKeepsTheNewestSteps_data();
    void thePastKeepsTheNewestSteps();
    void clearSaysWhichListsHeldSteps_data();
    void clearSaysWhichListsHeldSteps();
};

void TestUndoHistory::recordClearsTheFutureAndSaysSo()
{
    UndoHistory history;
    Library library;
    step(1).redo(library);
    const auto first = history.record(step(1));
    QVERIFY(first.past && !first.future);
    QVERIFY(history.undo(library));
    QVERIFY(history.canRedo());
    const auto second = history.record(step(2));
    QVERIFY(second.past && second.future);
    QVERIFY(!history.canRedo());
    QCOMPARE(history.steps(), 2);
    // Each recorded step has its own number, even after the one before it was undone.
    QCOMPARE(first.recorded, std::optional<UndoHistory::StepID>(1));
    QCOMPARE(second.recorded, std::optional<UndoHistory::StepID>(2));
}

void TestUndoHistory::undoAndRedoWalkTheSteps()
{
    UndoHistory history;
    QVERIFY(!history.undo({}));
    QVERIFY(!history.redo({}));
    Library library = recordSteps(history, 3);
    QCOMPARE(names(library), QStringList({"1", "2", "3"}));

    library = *history.undo(library);
    library = *history.undo(library);
    QCOMPARE(names(library), QStringList({"1"}));
    QVERIFY(history.canUndo() && history.canRedo());
    // The step undone last is redone first.
    library = *history.redo(library);
    QCOMPARE(names(library), QStringList({"1", "2"}));
    library = *history.redo(library);
    QCOMPARE(names(library), QStringList({"1", "2", "3"}));
    QVERIFY(!history.redo(library));
    // Neither undo nor redo counts as a recorded step.
    QCOMPARE(history.steps(), 3);
}

void TestUndoHistory::thePastKeepsTheNewestSteps_data()
{
    QTest::addColumn<int>("recorded");
    QTest::addColumn<int>("undoable");
    QTest::newRow("below the limit") << 99 << 99;
    QTest::newRow("at the limit") << 100 << 100;
    QTest::newRow("one over") << 101 << 100;
    QTest::newRow("far over") << 250 << 100;
}

void TestUndoHistory::thePastKeepsTheNewestSteps()
{
    QFETCH(int, recorded);
    QFETCH(int, undoable);
    UndoHistory history;
    Library library = recordSteps(history, recorded);
    int undone = 0;
    while (const auto previous = history.undo(library)) {
        library = *previous;
        ++undone;
    }
    QCOMPARE(undone, undoable);
    // The oldest steps were dropped, so their changes stay.
    QCOMPARE(library.collections.size(), recorded - undoable);
    if (recorded > undoable)
        QCOMPARE(library.collections.last().name, QString::number(recorded - undoable));
    QCOMPARE(history.steps(), recorded);
}

void TestUndoHistory::clearSaysWhichListsHeldSteps_data()
{
    QTest::addColumn<int>("recorded");
    QTest::addColumn<int>("undone");
    QTest::addColumn<bool>("past");
    QTest::addColumn<bool>("future");
    QTest::newRow("empty") << 0 << 0 << false << false;
    QTest::newRow("past only") << 2 << 0 << true << false;
    QTest::newRow("both") << 2 << 1 << true << true;
    QTest::newRow("future only") << 2 << 2 << false << true;
}

void TestUndoHistory::clearSaysWhichListsHeldSteps()
{
    QFETCH(int, recorded);
    QFETCH(int, undone);
    UndoHistory history;
    Library library = recordSteps(history, recorded);
    for (int i = 0; i < undone; ++i)
        library = *history.undo(library);
    QFETCH(bool, past);
    QFETCH(bool, future);
    const auto changes = history.clear();
    QVERIFY(!changes.recorded);
    QCOMPARE(changes.past, past);
    QCOMPARE(changes.future, future);
    QVERIFY(!history.canUndo() && !history.canRedo());
    QCOMPARE(history.steps(), recorded);
}

QTEST_GUILESS_MAIN(TestUndoHistory)
#include "tst_undohistory.moc"
