// The library page's undo rule on the real Curator and a real undo stack: a step on the stack
// exactly when the Curator recorded one, named after the edit through undo and redo, never more
// than the Curator keeps; and the toast's Undo, which undoes only its own step, once.

#include "PageRig.h"
#include "Stashwell/Pages/Library/CuratorStep.h"
#include "StashwellUI/Toasts/ToastController.h"

#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

using S = StashwellStrings;

namespace {

Library twoSavesAndTrips()
{
    return libraryOf({makeSave(SaveSpec(1, imagePost(QStringLiteral("1")), 10).filed(collectionID(1))),
                      makeSave(SaveSpec(2, textPost(QStringLiteral("2")), 20).favourite()),
                      makeSave(SaveSpec(3, textPost(QStringLiteral("3")), 30).trashed(40))},
                     {collection(1, QStringLiteral("Trips")), collection(2, QStringLiteral("Recipes"))});
}

using Edit = std::function<void(PageRig &)>;

}  // namespace

Q_DECLARE_METATYPE(Edit)

class LibraryPageUndo : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    void undoRule_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("name");    // the step's name; empty: no step
        QTest::addColumn<QString>("toast");   // the toast; empty: none

        QTest::newRow("trash a live save")
            << Edit([](PageRig &r) { r.page->trash(saveID(1)); }) << S::undoMoveToTrash() << S::toastMovedToTrash();
        QTest::newRow("trash a trashed save")
            << Edit([](PageRig &r) { r.page->trash(saveID(3)); }) << QString() << QString();
        QTest::newRow("restore a trashed save from its action")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::action(Action::restore()), r.item(3)); }) << S::undoRestore()
            << S::toastRestored();
        QTest::newRow("restore a live save from its action")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::action(Action::restore()), r.item(2)); }) << QString() << QString();
        QTest::newRow("file into the collection it is in")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::file(collectionID(1)), r.item(1)); }) << QString()
            << QString();
        QTest::newRow("file into another collection")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::file(collectionID(2)), r.item(1)); }) << S::undoFile()
            << S::toastFiledIn(QStringLiteral("Recipes"));
        QTest::newRow("take out of its collection")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::file(std::nullopt), r.item(1)); }) << S::undoFile()
            << S::toastTakenOut();
        QTest::newRow("favourite, announced by nothing")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::favourite(), r.item(1)); }) << S::undoFavourite()
            << QString();
        QTest::newRow("add a tag")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::addTag(QStringLiteral("  #Road Trip ")), r.item(1)); })
            << S::undoTag() << QString();
        QTest::newRow("add a tag of hashes and spaces")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::addTag(QStringLiteral("  ###  ")), r.item(1)); })
            << QString() << QString();
        QTest::newRow("write a note")
            << Edit([](PageRig &r) { r.page->handle(SaveIntent::note(QStringLiteral("later")), r.item(1)); })
            << QString() << QString();
        QTest::newRow("delete a collection")
            << Edit([](PageRig &r) {
                   r.page->dialogs().askToDelete(collectionID(1));
                   r.page->dialogs().confirmDelete();
               })
            << S::undoDeleteCollection() << S::toastDeleted(QStringLiteral("Trips"));
        QTest::newRow("delete a collection that is gone")
            << Edit([](PageRig &r) {
                   r.page->dialogs().askToDelete(collectionID(9));
                   r.page->dialogs().confirmDelete();
               })
            << QString() << QString();
        QTest::newRow("star by dropping on favourites what is starred")
            << Edit([](PageRig &r) {
                   QVERIFY(r.page->dropLinks(Filter::favourites(), {r.save(2).post().link.url().qurl()}));
               })
            << QString() << QString();
    }

    void undoRule()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, name);
        QFETCH(QString, toast);
        PageRig r(twoSavesAndTrips());
        const Library before = r.library();
        edit(r);
        QCOMPARE(r.stack.count(), name.isEmpty() ? 0 : 1);
        QCOMPARE(r.page->toast().message().value_or(QString()), toast);
        QCOMPARE(r.page->toast().offersUndo(), !toast.isEmpty());
        if (name.isEmpty())
            return;
        QCOMPARE(r.stack.undoText(), name);
        // The stack's step is the one the Curator recorded for this edit.
        QCOMPARE(CuratorStep::latest(r.stack), std::optional<std::int64_t>(r.curator().steps()));
        // Undo from the stack goes back to the library before the edit.
        r.stack.undo();
        // A collection put back comes after the others; everything else is as it was.
        QCOMPARE(r.library().saves, before.saves);
        QCOMPARE(QSet<Collection>(r.library().collections.cbegin(), r.library().collections.cend()),
                 QSet<Collection>(before.collections.cbegin(), before.collections.cend()));
        QCOMPARE(r.stack.redoText(), name);
    }

    void theBridgeMirrorsTheStepItIsHanded_data()
    {
        QTest::addColumn<bool>("recorded");   // the edit recorded a step
        QTest::addColumn<QString>("toast");   // what announces it; empty: nothing
        QTest::addColumn<bool>("withStack");  // the window has an undo stack
        QTest::newRow("a step announced") << true << QStringLiteral("Starred") << true;
        QTest::newRow("a quiet step") << true << QString() << true;
        QTest::newRow("no step, a toast asked for") << false << QStringLiteral("Starred") << true;
        QTest::newRow("no step, nothing") << false << QString() << true;
        QTest::newRow("a step without a stack") << true << QStringLiteral("Starred") << false;
    }

    void theBridgeMirrorsTheStepItIsHanded()
    {
        QFETCH(bool, recorded);
        QFETCH(QString, toast);
        QFETCH(bool, withStack);
        PageRig r(twoSavesAndTrips());
        QUndoStack stack;
        ToastController toasts;
        LibraryUndo bridge(r.curator(), withStack ? &stack : nullptr, toasts);
        // A real edit, so that the step handed over is one the Curator can undo.
        const Curator::Recorded step = recorded ? r.curator().favourite(saveID(1)) : Curator::Recorded();
        QCOMPARE(step.has_value(), recorded);
        const std::optional<QString> text = toast.isEmpty() ? std::nullopt : std::optional<QString>(toast);
        QCOMPARE(bridge.record(step, S::undoFavourite(), text), recorded);
        QCOMPARE(stack.count(), recorded && withStack ? 1 : 0);
        QCOMPARE(toasts.message().value_or(QString()), recorded ? toast : QString());
        QCOMPARE(toasts.offersUndo(), recorded && !toast.isEmpty());
        if (!recorded || !withStack)
            return;
        QCOMPARE(CuratorStep::latest(stack), std::optional<std::int64_t>(*step));
        if (!toast.isEmpty()) {
            // The toast's Undo reaches the Curator through the stack, once.
            toasts.pressUndo();
            QVERIFY(!r.save(1).isFavourite());
            QCOMPARE(stack.index(), 0);
            QVERIFY(!toasts.offersUndo());
        }
    }

    void undoRedoUndoKeepTheName()
    {
        PageRig r(twoSavesAndTrips());
        r.page->trash(saveID(1));
        QVERIFY(r.save(1).isTrashed());
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(r.stack.undoText(), S::undoMoveToTrash());
            r.stack.undo();
            QVERIFY(!r.save(1).isTrashed());
            QCOMPARE(r.stack.redoText(), S::undoMoveToTrash());
            QVERIFY(!r.stack.canUndo());
            r.stack.redo();
            QVERIFY(r.save(1).isTrashed());
        }
        r.stack.undo();
        QVERIFY(!r.save(1).isTrashed());
        QVERIFY(!r.curator().canUndo());
        QVERIFY(r.curator().canRedo());
    }

    void theStackKeepsWhatTheCuratorKeeps()
    {
        PageRig r(twoSavesAndTrips());
        QCOMPARE(r.stack.undoLimit(), int(Curator::kHistoryLimit));
        const int edits = int(Curator::kHistoryLimit) + 1;
        for (int i = 1; i <= edits; ++i)
            r.page->handle(SaveIntent::addTag(QStringLiteral("t%1").arg(i)), r.item(1));
        QCOMPARE(r.curator().steps(), std::int64_t(edits));
        QCOMPARE(r.stack.count(), int(Curator::kHistoryLimit));

        int undone = 0;
        while (r.stack.canUndo()) {
            r.stack.undo();
            ++undone;
        }
        QCOMPARE(undone, int(Curator::kHistoryLimit));
        // The first edit fell out of both histories together: it stays, and nothing is left to undo.
        QCOMPARE(r.save(1).tags(), QList<Tag>{*Tag::fromText(QStringLiteral("t1"))});
        QVERIFY(!r.curator().canUndo());

        while (r.stack.canRedo())
            r.stack.redo();
        QCOMPARE(r.save(1).tags().size(), qsizetype(edits));
        QVERIFY(!r.curator().canRedo());
    }

    void anUnchangedCollectionEditRegistersNothing()
    {
        PageRig r(twoSavesAndTrips());
        r.page->trash(saveID(2));
        r.page->toast().clear();
        r.page->drafting().editCollection(collectionID(1));
        QVERIFY(r.page->drafting().draft());
        r.page->drafting().save();
        QVERIFY(!r.page->drafting().draft());
        QCOMPARE(r.stack.count(), 1);
        QVERIFY(!r.page->toast().message());
        // Edit > Undo still reverts the trash, under its own name.
        QCOMPARE(r.stack.undoText(), S::undoMoveToTrash());
        r.stack.undo();
        QVERIFY(!r.save(2).isTrashed());
        QCOMPARE(r.library().collection(collectionID(1))->name, QStringLiteral("Trips"));
    }

    void theToastUndoesItsStepOnce()
    {
        PageRig r(twoSavesAndTrips());
        r.page->trash(saveID(2));
        r.page->trash(saveID(1));
        QVERIFY(r.page->toast().offersUndo());
        r.page->toast().pressUndo();
        QVERIFY(!r.save(1).isTrashed());
        QVERIFY(r.save(2).isTrashed());
        QVERIFY(!r.page->toast().offersUndo());
        // A second press finds nothing to press: the earlier trash stays.
        r.page->toast().pressUndo();
        QVERIFY(r.save(2).isTrashed());
        QCOMPARE(r.stack.index(), 1);
    }

    void theToastLosesUndoWhenAnotherStepComes()
    {
        PageRig r(twoSavesAndTrips());
        r.page->trash(saveID(1));
        QVERIFY(r.page->toast().offersUndo());
        // A step that announces nothing still comes after the toast's.
        r.page->handle(SaveIntent::favourite(), r.item(2));
        QVERIFY(!r.page->toast().offersUndo());
        r.page->toast().pressUndo();
        QVERIFY(r.save(1).isTrashed());
        QVERIFY(!r.save(2).isFavourite());
    }

    void theToastLosesUndoWhenTheStepIsUndoneElsewhere()
    {
        PageRig r(twoSavesAndTrips());
        r.page->trash(saveID(2));
        r.page->trash(saveID(1));
        r.stack.undo();   // Edit > Undo
        QVERIFY(!r.page->toast().offersUndo());
        r.stack.redo();
        QVERIFY(!r.page->toast().offersUndo());
        r.page->toast().pressUndo();
        QVERIFY(r.save(1).isTrashed());
        QVERIFY(r.save(2).isTrashed());
    }

    void emptyingTheTrashForgetsEveryStep()
    {
        PageRig r(twoSavesAndTrips());
        r.page->trash(saveID(1));
        QVERIFY(r.stack.canUndo());
        r.page->dialogs().askToEmptyTrash();
        QVERIFY(r.page->dialogs().emptyingTrash());
        r.page->dialogs().confirmEmptyTrash();
        QVERIFY(!r.page->dialogs().emptyingTrash());
        QCOMPARE(r.stack.count(), 0);
        QVERIFY(!r.library().save(saveID(1)));
        QCOMPARE(r.page->toast().message(), S::toastTrashEmptied());
        QVERIFY(!r.page->toast().offersUndo());
        // The next edit starts the history afresh, under the same limit.
        r.page->handle(SaveIntent::favourite(), r.item(2));
        QCOMPARE(r.stack.count(), 1);
        r.stack.undo();
        QVERIFY(r.save(2).isFavourite());
    }

    void aNewCollectionFilingASaveIsTwoSteps()
    {
        PageRig r(twoSavesAndTrips());
        r.page->handle(SaveIntent::newCollection(), r.item(2));
        QCOMPARE(r.page->drafting().draft()->filing, saveID(2));
        r.page->drafting().setName(QStringLiteral("Reading"));
        r.page->drafting().save();
        QVERIFY(!r.page->drafting().draft());
        QCOMPARE(r.stack.count(), 2);
        QCOMPARE(r.stack.text(0), S::undoNewCollection());
        QCOMPARE(r.stack.text(1), S::undoFile());
        QCOMPARE(r.page->toast().message(), S::toastMadeAndFiled(QStringLiteral("Reading")));
        QCOMPARE(r.page->filter(), Filter::all());
        const std::optional<Collection> made = r.library().collection(QStringLiteral("reading"));
        QVERIFY(made);
        QCOMPARE(r.save(2).collection(), made->id);
        r.stack.undo();
        r.stack.undo();
        QVERIFY(!r.library().collection(made->id));
        QVERIFY(!r.save(2).collection());
    }
};

QTEST_MAIN(LibraryPageUndo)
#include "tst_librarypageundo.moc"
