// The Curator's library edits and their undo history, on the real archive: what each edit
// records, what undo and redo put back, the history's bounds, notes outside the history, and
// emptying the trash with its media and covers.

#include "StashKit/Curator.h"

#include "CuratorHome.h"

#include <QtTest>

// An edit, returning the step it recorded; a refused edit gives -1, which no step is.
using Edit = std::function<sw::Curator::Recorded(sw::Curator &)>;
Q_DECLARE_METATYPE(Edit)

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

// Five saves, newest first; save 5 starts in the trash.
Library fiveSaves()
{
    Library library;
    for (int n = 1; n <= 5; ++n) {
        SaveSpec spec(n, post(xLink(QStringLiteral("user%1").arg(n), QString::number(100 + n)), {image(10 * n)},
                              QStringLiteral("https://pbs.example.com/%1.png").arg(n)),
                      1000.0 - n);
        if (n == 5)
            spec.trashed(900);
        library.saves.append(makeSave(spec));
    }
    return library;
}

Library withCollections(Library library, QList<Collection> collections)
{
    library.collections = std::move(collections);
    return library;
}

const Collection kReading{Collection::ID(QUuid(QStringLiteral("00000000-0000-4000-9000-000000000001"))),
                          QStringLiteral("Reading"), Swatch::blue};
const Collection kCooking{Collection::ID(QUuid(QStringLiteral("00000000-0000-4000-9000-000000000002"))),
                          QStringLiteral("Cooking"), Swatch::pink};

std::optional<Date> trashedAt(const Curator &c, int n) { return c.library().save(saveID(n))->trashedAt(); }
bool isFavourite(const Curator &c, int n) { return c.library().save(saveID(n))->isFavourite(); }
std::optional<Collection::ID> collectionOf(const Curator &c, int n) { return c.library().save(saveID(n))->collection(); }

QStringList tagNames(const Curator &c, int n)
{
    QStringList names;
    for (const Tag &tag : c.library().save(saveID(n))->tags())
        names.append(tag.name);
    return names;
}

QList<Save::ID> idList(std::initializer_list<int> numbers)
{
    QList<Save::ID> out;
    for (int n : numbers)
        out.append(saveID(n));
    return out;
}

}  // namespace

class TestCuratorEdits : public QObject {
    Q_OBJECT

private slots:
    // ---- the commit ---------------------------------------------------------------------------

    void aRecordedEditWritesOnceAndNotifiesEachFieldOnce()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        CuratorSpies spies(curator);

        curator.trash(idList({1, 2, 3}));

        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"past", 1}, {"steps", 1}}));
        QCOMPARE(home.archive->writes, 1);
        QVERIFY(home.documentMatches());
        QCOMPARE(curator.steps(), 1);
        QVERIFY(curator.canUndo());
    }

    void editsThatChangeNothingRecordNothing_data()
    {
        const Curator::Recorded refused = Curator::StepID(-1);
        QTest::addColumn<Edit>("edit");
        QTest::newRow("trash a trashed save") << Edit([](Curator &c) { return c.trash(saveID(5)); });
        QTest::newRow("trash no save") << Edit([](Curator &c) { return c.trash(saveID(42)); });
        QTest::newRow("restore a live save") << Edit([](Curator &c) { return c.restore(saveID(1)); });
        QTest::newRow("restore a list of live saves")
            << Edit([](Curator &c) { return c.restore(idList({1, 2})); });
        QTest::newRow("favourite saves that are favourites")
            << Edit([](Curator &c) { return c.favourite(idList({3}), true); });
        QTest::newRow("unfavourite saves that are not") << Edit([](Curator &c) {
            return c.favourite(idList({1, 2, 42}), false);
        });
        QTest::newRow("tag with a tag it has") << Edit([](Curator &c) {
            return c.tag(saveID(3), Tag{QStringLiteral("kept")});
        });
        QTest::newRow("untag a tag it lacks") << Edit([](Curator &c) {
            return c.untag(saveID(1), Tag{QStringLiteral("kept")});
        });
        QTest::newRow("file into its own collection") << Edit([refused](Curator &c) {
            return c.file(saveID(3), kReading.id).value_or(refused);
        });
        QTest::newRow("edit a collection to what it is") << Edit([refused](Curator &c) {
            return c.editCollection(kReading.id, QStringLiteral("  Reading "), Swatch::blue).value_or(refused);
        });
        QTest::newRow("remove no collection") << Edit([](Curator &c) {
            return c.removeCollection(Collection::ID::random());
        });
    }

    void editsThatChangeNothingRecordNothing()
    {
        QFETCH(Edit, edit);
        CuratorHome home;
        Library library = withCollections(fiveSaves(), {kReading});
        library.favourite(saveID(3));
        library.tag(saveID(3), Tag{QStringLiteral("kept")});
        (void)library.file(saveID(3), kReading.id);
        Curator &curator = home.make(library);
        curator.favourite(saveID(4));
        curator.undo();   // a step to redo, which a recorded edit would clear
        CuratorSpies spies(curator);
        const int writes = home.archive->writes;

        QCOMPARE(edit(curator), Curator::Recorded());

        QCOMPARE(curator.library(), library);
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
        QCOMPARE(home.archive->writes, writes);
        QCOMPARE(curator.steps(), 1);
        QVERIFY(curator.canRedo());
    }

    void aRecordedEditReturnsItsStep_data()
    {
        const Curator::Recorded refused = Curator::StepID(-1);
        QTest::addColumn<Edit>("edit");
        QTest::newRow("favourite") << Edit([](Curator &c) { return c.favourite(saveID(1)); });
        QTest::newRow("favourite a list") << Edit([](Curator &c) { return c.favourite(idList({1, 2}), true); });
        QTest::newRow("trash") << Edit([](Curator &c) { return c.trash(saveID(1)); });
        QTest::newRow("trash a list") << Edit([](Curator &c) { return c.trash(idList({1, 2})); });
        QTest::newRow("restore") << Edit([](Curator &c) { return c.restore(saveID(5)); });
        QTest::newRow("restore a list") << Edit([](Curator &c) { return c.restore(idList({1, 5})); });
        QTest::newRow("file") << Edit([refused](Curator &c) { return c.file(saveID(1), kReading.id).value_or(refused); });
        QTest::newRow("file a list") << Edit([refused](Curator &c) {
            return c.file(idList({1, 2}), kReading.id).value_or(refused);
        });
        QTest::newRow("tag") << Edit([](Curator &c) { return c.tag(saveID(1), Tag{QStringLiteral("new")}); });
        QTest::newRow("make a collection") << Edit([refused](Curator &c) {
            const auto made = c.makeCollection(QStringLiteral("Trips"));
            return made ? made->step : refused;
        });
        QTest::newRow("edit a collection") << Edit([refused](Curator &c) {
            return c.editCollection(kReading.id, QStringLiteral("Books"), Swatch::green).value_or(refused);
        });
        QTest::newRow("remove a collection") << Edit([](Curator &c) { return c.removeCollection(kReading.id); });
    }

    void aRecordedEditReturnsItsStep()
    {
        QFETCH(Edit, edit);
        CuratorHome home;
        Curator &curator = home.make(withCollections(fiveSaves(), {kReading}));
        curator.favourite(saveID(4));
        curator.favourite(saveID(4));
        curator.undo();   // an undone step keeps its number: the next one is the third

        QCOMPARE(edit(curator), Curator::Recorded(3));
        QCOMPARE(curator.steps(), 3);
    }

    // ---- the history ----------------------------------------------------------------------------

    void theHistoryKeepsTheLastHundredSteps()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());

        for (int i = 0; i < 101; ++i)
            curator.favourite(saveID(1 + i % 4));
        QCOMPARE(curator.steps(), 101);

        int undone = 0;
        while (curator.canUndo()) {
            curator.undo();
            ++undone;
        }
        QCOMPARE(undone, 100);
        // The first flip (of save 1) can no longer be undone: it stays a favourite.
        QVERIFY(isFavourite(curator, 1));
        QVERIFY(!isFavourite(curator, 2) && !isFavourite(curator, 3) && !isFavourite(curator, 4));
        QVERIFY(home.documentMatches());

        // Undoing with nothing to undo still tells the history's readers, and changes nothing else.
        CuratorSpies spies(curator);
        const int writes = home.archive->writes;
        curator.undo();
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"past", 1}}));
        QCOMPARE(home.archive->writes, writes);

        int redone = 0;
        while (curator.canRedo()) {
            curator.redo();
            ++redone;
        }
        QCOMPARE(redone, 100);
        QCOMPARE(curator.steps(), 101);
    }

    void aNewEditClearsTheRedoHistory()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        curator.favourite(saveID(1));
        curator.favourite(saveID(2));
        curator.undo();
        QVERIFY(curator.canRedo());
        CuratorSpies spies(curator);

        curator.tag(saveID(3), Tag{QStringLiteral("new")});

        QVERIFY(!curator.canRedo());
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"past", 1}, {"future", 1}, {"steps", 1}}));
        curator.redo();
        QVERIFY(!isFavourite(curator, 2));
    }

    void undoAndRedoWriteTheirLibraryEachTime()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        curator.favourite(saveID(1));
        CuratorSpies spies(curator);

        curator.undo();
        QCOMPARE(home.archive->writes, 2);
        QVERIFY(home.documentMatches());
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"past", 1}, {"future", 1}}));
        spies.clear();
        curator.redo();
        QCOMPARE(home.archive->writes, 3);
        QVERIFY(home.documentMatches());
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"past", 1}, {"future", 1}}));
        QCOMPARE(curator.steps(), 1);
    }

    // ---- the edits, undone and redone -----------------------------------------------------------

    void trashingKeepsItsDateAcrossRedo()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        home.now = Date{5000};
        curator.trash(saveID(1));
        home.now = Date{9000};

        curator.undo();
        QCOMPARE(trashedAt(curator, 1), std::nullopt);
        curator.redo();
        QCOMPARE(trashedAt(curator, 1), std::optional<Date>(Date{5000}));
    }

    void restoringAndUndoingPutsBackTheFormerDate()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        home.now = Date{7777};

        curator.restore(saveID(5));
        QCOMPARE(trashedAt(curator, 5), std::nullopt);
        curator.undo();
        QCOMPARE(trashedAt(curator, 5), std::optional<Date>(Date{900}));
    }

    void trashingAListTakesOnlyLiveSavesAtOneDate()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        home.now = Date{6000};
        curator.trash(idList({1, 5, 42, 3}));

        QCOMPARE(trashedAt(curator, 1), std::optional<Date>(Date{6000}));
        QCOMPARE(trashedAt(curator, 3), std::optional<Date>(Date{6000}));
        QCOMPARE(trashedAt(curator, 5), std::optional<Date>(Date{900}));
        curator.undo();
        QCOMPARE(trashedAt(curator, 1), std::nullopt);
        QCOMPARE(trashedAt(curator, 3), std::nullopt);
        QCOMPARE(trashedAt(curator, 5), std::optional<Date>(Date{900}));   // it was not this edit's
    }

    void restoringAListPutsEachBackAtItsOwnDate()
    {
        CuratorHome home;
        Library library = fiveSaves();
        library.trash(saveID(2), Date{850});
        Curator &curator = home.make(library);

        curator.restore(idList({5, 1, 2}));
        QCOMPARE(curator.library().trash().size(), 0);
        curator.undo();
        QCOMPARE(trashedAt(curator, 5), std::optional<Date>(Date{900}));
        QCOMPARE(trashedAt(curator, 2), std::optional<Date>(Date{850}));
        QCOMPARE(trashedAt(curator, 1), std::nullopt);
    }

    void favouritingAMixedListFlipsOnlyTheOthers()
    {
        CuratorHome home;
        Library library = fiveSaves();
        library.favourite(saveID(2));
        Curator &curator = home.make(library);

        curator.favourite(idList({1, 2, 3, 1}), true);   // save 1 listed twice
        QVERIFY(isFavourite(curator, 1) && isFavourite(curator, 2) && isFavourite(curator, 3));
        QCOMPARE(curator.steps(), 1);
        curator.undo();
        QVERIFY(!isFavourite(curator, 1));
        QVERIFY(isFavourite(curator, 2));
        QVERIFY(!isFavourite(curator, 3));
    }

    void fileAListAndUndoEachToItsFormerCollection()
    {
        CuratorHome home;
        Library library = withCollections(fiveSaves(), {kReading, kCooking});
        (void)library.file(saveID(1), kCooking.id);
        (void)library.file(saveID(2), kReading.id);
        Curator &curator = home.make(library);

        QVERIFY(curator.file(idList({1, 2, 3, 42}), kReading.id));
        QCOMPARE(curator.steps(), 1);
        for (int n : {1, 2, 3})
            QCOMPARE(collectionOf(curator, n), std::optional<Collection::ID>(kReading.id));
        curator.undo();
        QCOMPARE(collectionOf(curator, 1), std::optional<Collection::ID>(kCooking.id));
        QCOMPARE(collectionOf(curator, 2), std::optional<Collection::ID>(kReading.id));
        QCOMPARE(collectionOf(curator, 3), std::nullopt);

        // Into no collection: all of them out.
        QVERIFY(curator.file(idList({1, 2}), std::nullopt));
        QCOMPARE(collectionOf(curator, 1), std::nullopt);
        QCOMPARE(collectionOf(curator, 2), std::nullopt);
    }

    void filingIntoNoSuchCollectionIsRefused_data()
    {
        QTest::addColumn<bool>("list");
        QTest::newRow("one save") << false;
        QTest::newRow("a list") << true;
    }

    void filingIntoNoSuchCollectionIsRefused()
    {
        QFETCH(bool, list);
        CuratorHome home;
        Curator &curator = home.make(withCollections(fiveSaves(), {kReading}));
        CuratorSpies spies(curator);
        const auto missing = Collection::ID::random();

        const auto result = list ? curator.file(idList({1, 2}), missing) : curator.file(saveID(1), missing);

        QVERIFY(!result);
        QCOMPARE(result.error(), CollectionRefusal::noSuchCollection);
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
        QCOMPARE(home.archive->writes, 0);
        QCOMPARE(curator.steps(), 0);
    }

    void fileOneAndUndo()
    {
        CuratorHome home;
        Library library = withCollections(fiveSaves(), {kReading, kCooking});
        (void)library.file(saveID(1), kCooking.id);
        Curator &curator = home.make(library);

        QVERIFY(curator.file(saveID(1), kReading.id));
        curator.undo();
        QCOMPARE(collectionOf(curator, 1), std::optional<Collection::ID>(kCooking.id));
        curator.redo();
        QCOMPARE(collectionOf(curator, 1), std::optional<Collection::ID>(kReading.id));
    }

    void untaggingAndUndoingPutsTheTagLast()
    {
        CuratorHome home;
        Library library = fiveSaves();
        for (const char *name : {"first", "second", "third"})
            library.tag(saveID(1), Tag{QString::fromLatin1(name)});
        Curator &curator = home.make(library);

        curator.untag(saveID(1), Tag{QStringLiteral("first")});
        QCOMPARE(tagNames(curator, 1), (QStringList{"second", "third"}));
        curator.undo();
        QCOMPARE(tagNames(curator, 1), (QStringList{"second", "third", "first"}));
        curator.redo();
        QCOMPARE(tagNames(curator, 1), (QStringList{"second", "third"}));
    }

    void makingACollection()
    {
        CuratorHome home;
        Curator &curator = home.make(withCollections(fiveSaves(), {kReading}));

        QCOMPARE(curator.makeCollection(QStringLiteral("   ")).error(), CollectionRefusal::nameEmpty);
        QCOMPARE(curator.makeCollection(QStringLiteral("réading")).error(), CollectionRefusal::nameTaken);
        QCOMPARE(curator.steps(), 0);
        QCOMPARE(home.archive->writes, 0);

        const auto made = curator.makeCollection(QStringLiteral("  Trips "));
        QVERIFY(made);
        const Collection trips = *curator.library().collection(made->id);
        QCOMPARE(trips.name, QStringLiteral("Trips"));
        QCOMPARE(trips.swatch, Swatch::amber);   // the first swatch no collection uses
        curator.undo();
        QVERIFY(!curator.library().collection(made->id));
        curator.redo();
        QCOMPARE(curator.library().collection(made->id), std::optional<Collection>(trips));
    }

    void editingACollection()
    {
        CuratorHome home;
        Curator &curator = home.make(withCollections(fiveSaves(), {kReading, kCooking}));

        QCOMPARE(curator.editCollection(Collection::ID::random(), QString(), Swatch::green).error(),
                 CollectionRefusal::noSuchCollection);
        QCOMPARE(curator.editCollection(kReading.id, QStringLiteral(" "), Swatch::green).error(),
                 CollectionRefusal::nameEmpty);
        QCOMPARE(curator.editCollection(kReading.id, QStringLiteral("COOKING"), Swatch::green).error(),
                 CollectionRefusal::nameTaken);
        QCOMPARE(curator.steps(), 0);

        QVERIFY(curator.editCollection(kReading.id, QStringLiteral("Books"), Swatch::green));
        QCOMPARE(curator.library().collection(kReading.id)->name, QStringLiteral("Books"));
        curator.undo();
        QCOMPARE(curator.library().collection(kReading.id), std::optional<Collection>(kReading));
        curator.redo();
        QCOMPARE(curator.library().collection(kReading.id)->swatch, Swatch::green);
    }

    void removingACollectionAndUndoing()
    {
        CuratorHome home;
        Library library = withCollections(fiveSaves(), {kReading, kCooking});
        (void)library.file(saveID(1), kReading.id);
        (void)library.file(saveID(5), kReading.id);
        Curator &curator = home.make(library);

        curator.removeCollection(kReading.id);
        QCOMPARE(curator.library().collections, QList<Collection>{kCooking});
        QCOMPARE(collectionOf(curator, 1), std::nullopt);
        curator.undo();
        // Back at the end of the list, with its saves filed again.
        QCOMPARE(curator.library().collections, (QList<Collection>{kCooking, kReading}));
        QCOMPARE(collectionOf(curator, 1), std::optional<Collection::ID>(kReading.id));
        QCOMPARE(collectionOf(curator, 5), std::optional<Collection::ID>(kReading.id));
    }

    // ---- outside the history --------------------------------------------------------------------

    void aNoteIsWrittenEvenWhenItIsTheSame()
    {
        CuratorHome home;
        Curator &curator = home.make(fiveSaves());
        curator.favourite(saveID(1));
        curator.undo();
        CuratorSpies spies(curator);

        curator.writeNote(QStringLiteral("remember"), saveID(2));
        curator.writeNote(QStringLiteral("remember"), saveID(2));

        QCOMPARE(curator.library().save(saveID(2))->note(), QStringLiteral("remember"));
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 2}}));
        QCOMPARE(home.archive->writes, 4);
        QVERIFY(home.documentMatches());
        QCOMPARE(curator.steps(), 1);
        QVERIFY(curator.canRedo());   // the history is not touched
    }

    void emptyingAnEmptyTrashStillClearsTheHistory()
    {
        CuratorHome home;
        Library library = fiveSaves();
        library.restore(saveID(5));
        Curator &curator = home.make(library);
        curator.favourite(saveID(1));
        curator.favourite(saveID(2));
        curator.undo();
        CuratorSpies spies(curator);
        const int writes = home.archive->writes;

        curator.emptyTrash();

        QVERIFY(!curator.canUndo());
        QVERIFY(!curator.canRedo());
        QCOMPARE(curator.steps(), 2);
        QCOMPARE(home.archive->writes, writes + 1);
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"past", 1}, {"future", 1}}));
    }

    void emptyingTheTrashDeletesMediaAndCovers()
    {
        CuratorHome home;
        Library library = fiveSaves();
        library.trash(saveID(2), Date{950});
        library.trash(saveID(3), Date{960});
        // Save 4 (live) is the same page as save 3 by http: they share file and cover names.
        library.saves.replace(2, makeSave(SaveSpec(3, post(webLink(QStringLiteral("https://cook.example.com/pie")), {page(5)},
                                                     QStringLiteral("https://cook.example.com/pie.png")),
                                             997)
                                        .trashed(960)));
        library.saves.replace(3, makeSave(SaveSpec(4, post(webLink(QStringLiteral("http://cook.example.com/pie")), {page(5)},
                                                     QStringLiteral("https://cook.example.com/pie.png")),
                                             996)));
        for (const char *name : {"user2_102.jpg", "user5_105.jpg", "cook.example.com_pie.html", "keep.mp4"})
            QVERIFY(home.putMedia(QString::fromLatin1(name)));
        for (const char *name : {"user2_102.png", "user5_105.png", "cook.example.com_pie.png", "user1_101.png"})
            QVERIFY(home.putCover(QString::fromLatin1(name)));
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({
            {xLink(QStringLiteral("user2"), QStringLiteral("102")), onThisComputer({{"user2_102.jpg", 20}})},
            {xLink(QStringLiteral("user5"), QStringLiteral("105")), onThisComputer({{"user5_105.jpg", 50}})},
            {webLink(QStringLiteral("https://cook.example.com/pie")), onThisComputer({{"cook.example.com_pie.html", 5}})},
            {webLink(QStringLiteral("http://cook.example.com/pie")), onThisComputer({{"cook.example.com_pie.html", 5}})},
        }));
        Covers covers = home.emptyCovers();
        covers.setPresent({"user2_102.png", "user5_105.png", "cook.example.com_pie.png", "user1_101.png"});
        Curator &curator = home.make(library, media, covers);
        CuratorSpies spies(curator);

        curator.emptyTrash();

        QCOMPARE(curator.library().saves.size(), 2);
        QCOMPARE(curator.localMedia().copies().size(), 1);   // the live page's
        QCOMPARE(home.mediaFiles(), (QStringList{"cook.example.com_pie.html", "keep.mp4"}));
        QCOMPARE(home.coverFiles(), (QStringList{"cook.example.com_pie.png", "user1_101.png"}));
        QCOMPARE(curator.covers().present(), (QSet<QString>{"cook.example.com_pie.png", "user1_101.png"}));
        QVERIFY(curator.leftBehind().isEmpty());
        QCOMPARE(home.archive->writes, 1);
        QVERIFY(home.documentMatches());
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"localMedia", 1}, {"covers", 1}}));
    }

    void emptyingTheTrashForgetsADownloadUnderWayAndDeletesNothingForIt()
    {
        CuratorHome home;
        QVERIFY(home.putMedia(QStringLiteral("user5_105.jpg")));
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({{xLink(QStringLiteral("user5"), QStringLiteral("105")), LocalCopy::downloading(3, 50)}}));
        Curator &curator = home.make(fiveSaves(), media);

        curator.emptyTrash();

        QVERIFY(curator.localMedia().copies().isEmpty());
        QCOMPARE(home.mediaFiles(), QStringList{QStringLiteral("user5_105.jpg")});
    }

    void failedDeletionsWhileEmptyingGoToLeftBehind()
    {
        CuratorHome home;
        Library library = fiveSaves();
        library.trash(saveID(2), Date{950});
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({{xLink(QStringLiteral("user2"), QStringLiteral("102")), onThisComputer({{"user2_102.jpg", 20}})},
                                {xLink(QStringLiteral("user5"), QStringLiteral("105")), onThisComputer({{"user5_105.jpg", 50}})}}));
        Covers covers = home.emptyCovers();
        covers.setPresent({"user2_102.png", "user5_105.png"});
        for (const char *name : {"user2_102.png", "user5_105.png"})
            QVERIFY(home.putCover(QString::fromLatin1(name)));
        auto disk = std::make_shared<FailingDisk>();
        disk->failOn = QStringLiteral("user5_105.jpg");
        Curator &curator = home.make(library, media, covers, disk);

        curator.emptyTrash();

        // The media call failed as a whole; the covers call went through.
        QCOMPARE(curator.leftBehind(),
                 (QList<Url>{home.mediaUrl(QStringLiteral("user2_102.jpg")), home.mediaUrl(QStringLiteral("user5_105.jpg"))}));
        QCOMPARE(home.coverFiles(), QStringList{});
        QVERIFY(curator.localMedia().copies().isEmpty());
        QVERIFY(curator.covers().present().isEmpty());
        QVERIFY(home.documentMatches());
    }
};

QTEST_GUILESS_MAIN(TestCuratorEdits)
#include "tst_curatoredits.moc"
