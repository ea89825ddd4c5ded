#include "Library/Library.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"

#include <QTest>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::Swatch)
Q_DECLARE_METATYPE(std::optional<sw::Swatch>)
Q_DECLARE_METATYPE(std::optional<sw::CollectionRefusal>)

namespace {

// A library of X saves with the given saved times, in the given order (ids 1, 2, ...).
Library librarySavedAt(const QList<double> &times)
{
    Library library;
    for (qsizetype i = 0; i < times.size(); ++i)
        library.saves.append(Save(saveID(int(i + 1)), postOnX(QStringLiteral("a"), QString::number(i + 1)),
                                  Date{times.at(i)}));
    return library;
}

Library libraryWithCollections(const QStringList &names)
{
    Library library;
    for (qsizetype i = 0; i < names.size(); ++i)
        library.collections.append(Collection{collectionID(int(i + 1)), names.at(i), allSwatches[i % 5]});
    return library;
}

using Refusal = std::optional<CollectionRefusal>;

}  // namespace

class TestLibrary : public QObject {
    Q_OBJECT
private slots:
    void keepPlacesBySavedTime_data();
    void keepPlacesBySavedTime();
    void keepMakesANewSave();
    void keepFilesOnlyIntoExistingCollections();
    void keepOfALiveLink_data();
    void keepOfALiveLink();
    void keepRestoresFromTheTrash();
    void keepingValue();
    void trashAndRestore();
    void favouriteFlips();
    void emptyTrash_data();
    void emptyTrash();
    void file_data();
    void file();
    void tagAndUntag();
    void writeNote();
    void makeCollection_data();
    void makeCollection();
    void makeCollectionSwatch();
    void rename_data();
    void rename();
    void recolour();
    void refusalWhileRenaming();
    void collectionNamed_data();
    void collectionNamed();
    void removeAndReinstate();
    void reinstateExistingCollection();
    void removeUnknownCollectionStillUnfiles();
    void lookups();
    void manyLinksAtOnce_data();
    void manyLinksAtOnce();
    void copiesAreIndependent();
    void jsonRoundTrips();
    void jsonRejects_data();
    void jsonRejects();
    void largeLibraryReportsItsFirstBadSave_data();
    void largeLibraryReportsItsFirstBadSave();
    void repeatedTextsAreReadOnce_data();
    void repeatedTextsAreReadOnce();
};

void TestLibrary::keepPlacesBySavedTime_data()
{
    QTest::addColumn<QList<double>>("existing");
    QTest::addColumn<double>("at");
    QTest::addColumn<qsizetype>("place");
    QTest::newRow("into an empty library") << QList<double>{} << 5.0 << qsizetype(0);
    QTest::newRow("newer than all") << QList<double>{30, 20, 10} << 40.0 << qsizetype(0);
    QTest::newRow("between") << QList<double>{30, 20, 10} << 25.0 << qsizetype(1);
    QTest::newRow("equal to the newest") << QList<double>{30, 20} << 30.0 << qsizetype(1);
    QTest::newRow("after every save of its date") << QList<double>{30, 20, 20, 10} << 20.0 << qsizetype(3);
    QTest::newRow("older than all") << QList<double>{30, 20, 10} << 5.0 << qsizetype(3);
    QTest::newRow("equal to the oldest") << QList<double>{30, 20, 10} << 10.0 << qsizetype(3);
    QTest::newRow("fractions") << QList<double>{1.5, 1.25} << 1.3 << qsizetype(1);
    QTest::newRow("unordered list: before the first earlier")
        << QList<double>{10, 30} << 20.0 << qsizetype(0);
}

void TestLibrary::keepPlacesBySavedTime()
{
    QFETCH(QList<double>, existing);
    QFETCH(double, at);
    QFETCH(qsizetype, place);
    Library library = librarySavedAt(existing);
    const Library before = library;
    const auto result = library.keep(postOnX(QStringLiteral("b"), QStringLiteral("999")), Date{at}, std::nullopt,
                                     saveID(500));
    QCOMPARE(result, Library::Keeping(Library::Kept{saveID(500)}));
    QCOMPARE(library.saves.size(), before.saves.size() + 1);
    QCOMPARE(library.saves.at(place).id(), saveID(500));
    // The others keep their order around it.
    SaveList others = library.saves;
    others.removeAt(place);
    QVERIFY(others == before.saves);
}

void TestLibrary::keepMakesANewSave()
{
    Library library;
    Post post = postOnX(QStringLiteral("Ann"), QStringLiteral("7"), QStringLiteral("hello"));
    post.attachments = {image(100)};
    library.keep(post, Date{42}, std::nullopt, saveID(1));
    QCOMPARE(library.saves.size(), 1);
    const Save &s = library.saves.first();
    QCOMPARE(s.id(), saveID(1));
    QCOMPARE(s.post(), post);
    QCOMPARE(s.post().text, post.text);
    QCOMPARE(s.savedAt(), Date{42});
    QVERIFY(!s.isFavourite());
    QVERIFY(!s.collection());
    QVERIFY(s.tags().isEmpty());
    QVERIFY(s.note().isEmpty());
    QVERIFY(!s.isTrashed());
}

void TestLibrary::keepFilesOnlyIntoExistingCollections()
{
    Library library = libraryWithCollections({QStringLiteral("A")});
    QCOMPARE(library.keep(postOnX(QStringLiteral("a"), QStringLiteral("1")), Date{1}, collectionID(1), saveID(1)),
             Library::Keeping(Library::Kept{saveID(1)}));
    QCOMPARE(library.saves.first().collection(), std::optional<Collection::ID>(collectionID(1)));
    QCOMPARE(library.keep(postOnX(QStringLiteral("a"), QStringLiteral("2")), Date{1}, collectionID(9), saveID(2)),
             Library::Keeping(Library::Kept{saveID(2)}));
    QCOMPARE(library.save(saveID(2))->collection(), std::optional<Collection::ID>());
}

void TestLibrary::keepOfALiveLink_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("alreadyKept");
    QTest::newRow("same link") << "ann" << "10" << true;
    QTest::newRow("other handle, same status") << "renamed" << "10" << true;
    QTest::newRow("handle in capitals") << "ANN" << "10" << true;
    QTest::newRow("other status") << "ann" << "010" << false;
}

void TestLibrary::keepOfALiveLink()
{
    QFETCH(QString, handle);
    QFETCH(QString, digits);
    QFETCH(bool, alreadyKept);
    Library library;
    keepNew(library, postOnX(QStringLiteral("ann"), QStringLiteral("10")), 100, 1);
    library.favourite(saveID(1));
    const Library before = library;
    const Post again = postOnX(handle, digits, QStringLiteral("fresh text"));
    QCOMPARE(library.save(again.link).has_value(), alreadyKept);
    const auto result = library.keep(again, Date{200}, std::nullopt, saveID(2));
    if (alreadyKept) {
        QCOMPARE(result, Library::Keeping(Library::AlreadyKept{saveID(1)}));
        QCOMPARE(Library::idOf(result), saveID(1));
        QCOMPARE(library, before);
    } else {
        QCOMPARE(result, Library::Keeping(Library::Kept{saveID(2)}));
        QCOMPARE(library.saves.size(), 2);
    }
}

void TestLibrary::keepRestoresFromTheTrash()
{
    Library library = libraryWithCollections({QStringLiteral("A"), QStringLiteral("B")});
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), 300, 1);
    keepNew(library, postOnX(QStringLiteral("ann"), QStringLiteral("2"), QStringLiteral("old")), 200, 2, collectionID(1));
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("3")), 100, 3);
    library.favourite(saveID(2));
    library.tag(saveID(2), Tag{QStringLiteral("t")});
    library.writeNote(QStringLiteral("n"), saveID(2));
    library.trash(saveID(2), Date{400});
    const Save trashed = *library.save(saveID(2));
    const Library shared = library;   // the edit is made on a copy, as the core makes it

    const auto result = library.keep(postOnX(QStringLiteral("ANN"), QStringLiteral("2"), QStringLiteral("new")),
                                     Date{999}, collectionID(2), saveID(9));
    QCOMPARE(result, Library::Keeping(Library::Restored{saveID(2)}));
    QCOMPARE(library.saves.size(), 3);
    QCOMPARE(idsOf(library.saves), (QList<Save::ID>{saveID(1), saveID(2), saveID(3)}));
    const Save &restored = library.saves.at(1);
    QVERIFY(!restored.isTrashed());
    QCOMPARE(restored.post(), trashed.post());
    QCOMPARE(restored.post().text, QStringLiteral("old"));
    QCOMPARE(restored.savedAt(), Date{200});
    QVERIFY(restored.isFavourite());
    QCOMPARE(restored.collection(), std::optional<Collection::ID>(collectionID(1)));
    QCOMPARE(restored.tags(), trashed.tags());
    QCOMPARE(restored.note(), QStringLiteral("n"));
    QVERIFY(shared.save(saveID(2))->isTrashed());
}

void TestLibrary::keepingValue()
{
    const Library::Keeping kept = Library::Kept{saveID(1)};
    const Library::Keeping already = Library::AlreadyKept{saveID(1)};
    const Library::Keeping restored = Library::Restored{saveID(2)};
    QVERIFY(!(kept == already));
    QVERIFY(kept == Library::Keeping(Library::Kept{saveID(1)}));
    QCOMPARE(qHash(kept), qHash(Library::Keeping(Library::Kept{saveID(1)})));
    QCOMPARE(Library::idOf(already), saveID(1));
    QCOMPARE(Library::idOf(restored), saveID(2));
}

void TestLibrary::trashAndRestore()
{
    Library library = librarySavedAt({30, 20});
    library.trash(saveID(1), Date{50});
    QCOMPARE(library.save(saveID(1))->trashedAt(), std::optional<Date>(Date{50}));
    library.trash(saveID(1), Date{60});
    QCOMPARE(library.save(saveID(1))->trashedAt(), std::optional<Date>(Date{50}));
    QVERIFY(!library.save(saveID(2))->isTrashed());

    const Library beforeRestore = library;
    library.restore(saveID(2));   // live already
    library.restore(saveID(77));  // nothing
    library.trash(saveID(77), Date{1});
    QCOMPARE(library, beforeRestore);

    library.restore(saveID(1));
    QVERIFY(!library.save(saveID(1))->isTrashed());
    QCOMPARE(library, librarySavedAt({30, 20}));
}

void TestLibrary::favouriteFlips()
{
    Library library = librarySavedAt({30});
    library.favourite(saveID(1));
    QVERIFY(library.saves.first().isFavourite());
    library.favourite(saveID(1));
    QVERIFY(!library.saves.first().isFavourite());
    library.favourite(saveID(5));
    QCOMPARE(library, librarySavedAt({30}));
}

void TestLibrary::emptyTrash_data()
{
    QTest::addColumn<QList<bool>>("trashed");
    QTest::newRow("empty library") << QList<bool>{};
    QTest::newRow("nothing trashed") << QList<bool>{false, false, false};
    QTest::newRow("interleaved") << QList<bool>{true, false, true, false, true};
    QTest::newRow("everything trashed") << QList<bool>{true, true};
}

void TestLibrary::emptyTrash()
{
    QFETCH(QList<bool>, trashed);
    QList<double> times;
    for (qsizetype i = 0; i < trashed.size(); ++i)
        times.append(double(100 - i));
    Library library = librarySavedAt(times);
    library.makeCollection(QStringLiteral("Kept"));
    QList<Save::ID> expectRemoved, expectKept;
    for (qsizetype i = 0; i < trashed.size(); ++i) {
        if (trashed.at(i)) {
            library.trash(saveID(int(i + 1)), Date{double(500 - i)});   // trashed in reverse order
            expectRemoved.append(saveID(int(i + 1)));
        } else {
            expectKept.append(saveID(int(i + 1)));
        }
    }
    const Library before = library;
    const QList<Save> removed = library.emptyTrash();
    QCOMPARE(idsOf(removed), expectRemoved);
    for (const Save &s : removed)
        QVERIFY(s.isTrashed());
    QCOMPARE(idsOf(library.saves), expectKept);
    QCOMPARE(library.collections, before.collections);
    if (expectRemoved.isEmpty())
        QCOMPARE(library, before);
    QVERIFY(library.emptyTrash().isEmpty());
}

void TestLibrary::file_data()
{
    QTest::addColumn<int>("save");
    QTest::addColumn<int>("collection");   // 0: none
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<int>("filedIn");      // of save 1 afterwards, 0: none
    QTest::newRow("into a collection") << 1 << 2 << Refusal() << 2;
    QTest::newRow("into the same collection") << 1 << 1 << Refusal() << 1;
    QTest::newRow("out of its collection") << 1 << 0 << Refusal() << 0;
    QTest::newRow("no such collection") << 1 << 9 << Refusal(CollectionRefusal::noSuchCollection) << 1;
    QTest::newRow("no such collection, no such save") << 99 << 9 << Refusal(CollectionRefusal::noSuchCollection) << 1;
    QTest::newRow("no such save") << 99 << 2 << Refusal() << 1;
}

void TestLibrary::file()
{
    QFETCH(int, save);
    QFETCH(int, collection);
    QFETCH(Refusal, refusal);
    QFETCH(int, filedIn);
    Library library = libraryWithCollections({QStringLiteral("One"), QStringLiteral("Two")});
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), 10, 1, collectionID(1));
    const Library before = library;
    const auto result = library.file(saveID(save),
                                     collection ? std::optional(collectionID(collection)) : std::nullopt);
    QCOMPARE(result.has_value(), !refusal);
    if (refusal) {
        QCOMPARE(result.error(), *refusal);
        QCOMPARE(library, before);
    }
    QCOMPARE(library.saves.first().collection(),
             filedIn ? std::optional(collectionID(filedIn)) : std::optional<Collection::ID>());
}

void TestLibrary::tagAndUntag()
{
    Library library = librarySavedAt({10});
    const Tag a{QStringLiteral("a")}, b{QStringLiteral("b")}, upperA{QStringLiteral("A")};
    library.tag(saveID(1), a);
    library.tag(saveID(1), b);
    const Library withTwo = library;
    library.tag(saveID(1), a);
    library.tag(saveID(1), Tag{QStringLiteral("a")});
    QCOMPARE(library, withTwo);
    library.tag(saveID(1), upperA);   // another name: case matters
    library.tag(saveID(1), Tag{QStringLiteral("  not normalised ")});
    QCOMPARE(library.saves.first().tags(),
             (QList<Tag>{a, b, upperA, Tag{QStringLiteral("  not normalised ")}}));
    library.untag(saveID(1), a);
    QCOMPARE(library.saves.first().tags(), (QList<Tag>{b, upperA, Tag{QStringLiteral("  not normalised ")}}));
    library.tag(saveID(9), a);
    library.untag(saveID(9), b);
    library.untag(saveID(1), Tag{QStringLiteral("absent")});
    QCOMPARE(library.saves.first().tags(), (QList<Tag>{b, upperA, Tag{QStringLiteral("  not normalised ")}}));

    // A list read from the archive may hold a name twice: untagging removes both.
    Library read;
    read.saves.append(Save(saveID(1), postOnX(QStringLiteral("a"), QStringLiteral("1")), Date{1}, false, std::nullopt,
                           {a, b, a}, QString(), std::nullopt));
    read.untag(saveID(1), a);
    QCOMPARE(read.saves.first().tags(), QList<Tag>{b});
}

void TestLibrary::writeNote()
{
    Library library = librarySavedAt({10});
    library.writeNote(QStringLiteral("  spaced\n"), saveID(1));
    QCOMPARE(library.saves.first().note(), QStringLiteral("  spaced\n"));
    library.writeNote(QString(), saveID(1));
    QVERIFY(library.saves.first().note().isEmpty());
    QCOMPARE(library, librarySavedAt({10}));
    library.writeNote(QStringLiteral("x"), saveID(2));
    QCOMPARE(library, librarySavedAt({10}));
}

void TestLibrary::makeCollection_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("stored");
    const QStringList none;
    QTest::newRow("trimmed") << none << " \tReading \n" << Refusal() << "Reading";
    QTest::newRow("inner space kept") << none << "Reading  list" << Refusal() << "Reading  list";
    QTest::newRow("unicode blanks trimmed") << none << QStringLiteral("\u3000Tokyo\u00a0\u2028") << Refusal() << "Tokyo";
    QTest::newRow("empty") << none << "" << Refusal(CollectionRefusal::nameEmpty) << "";
    QTest::newRow("blanks only") << none << "  \t\n " << Refusal(CollectionRefusal::nameEmpty) << "";
    QTest::newRow("other case") << QStringList{"Reading"} << "reading" << Refusal(CollectionRefusal::nameTaken) << "";
    QTest::newRow("same name padded") << QStringList{"Reading"} << "  READING " << Refusal(CollectionRefusal::nameTaken)
                                      << "";
    QTest::newRow("without accent") << QStringList{"Café"} << "cafe" << Refusal(CollectionRefusal::nameTaken) << "";
    QTest::newRow("with accent, capitals") << QStringList{"cafe"} << "CAFÉ" << Refusal(CollectionRefusal::nameTaken)
                                           << "";
    QTest::newRow("decomposed against composed")
        << QStringList{QStringLiteral("Cafe\u0301")} << QStringLiteral("caf\u00e9")
        << Refusal(CollectionRefusal::nameTaken) << "";
    QTest::newRow("taken by a later collection") << QStringList{"A", "B", "Ümlaut"} << "umlaut"
                                                 << Refusal(CollectionRefusal::nameTaken) << "";
    QTest::newRow("longer name is another") << QStringList{"Reading"} << "Reading list" << Refusal() << "Reading list";
    QTest::newRow("stored names compared as stored") << QStringList{" Spaced "} << "Spaced" << Refusal() << "Spaced";
    QTest::newRow("empty check before taken") << QStringList{""} << "  " << Refusal(CollectionRefusal::nameEmpty) << "";
}

void TestLibrary::makeCollection()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QFETCH(Refusal, refusal);
    QFETCH(QString, stored);
    Library library = libraryWithCollections(existing);
    const Library before = library;
    QCOMPARE(library.refusal(name), refusal);
    const auto made = library.makeCollection(name);
    QCOMPARE(made.has_value(), !refusal);
    if (refusal) {
        QCOMPARE(made.error(), *refusal);
        QCOMPARE(library, before);
        return;
    }
    QCOMPARE(library.collections.size(), before.collections.size() + 1);
    const Collection &last = library.collections.last();
    QCOMPARE(last.id, *made);
    QCOMPARE(last.name, stored);
    QCOMPARE(last.swatch, before.nextSwatch());
    QCOMPARE(library.collection(*made), std::optional<Collection>(last));
    // The new name is now taken.
    QCOMPARE(library.refusal(name), Refusal(CollectionRefusal::nameTaken));
}

void TestLibrary::makeCollectionSwatch()
{
    Library library;
    QList<Collection::ID> ids;
    for (const char *name : {"a", "b", "c"})
        ids.append(*library.makeCollection(QString::fromLatin1(name)));
    QCOMPARE(library.collection(ids[0])->swatch, Swatch::amber);
    QCOMPARE(library.collection(ids[1])->swatch, Swatch::blue);
    QCOMPARE(library.collection(ids[2])->swatch, Swatch::green);
    const auto chosen = library.makeCollection(QStringLiteral("d"), Swatch::amber);
    QCOMPARE(library.collection(*chosen)->swatch, Swatch::amber);
    const auto next = library.makeCollection(QStringLiteral("e"));
    QCOMPARE(library.collection(*next)->swatch, Swatch::pink);
    QVERIFY(!(ids[0] == ids[1]));
}

void TestLibrary::rename_data()
{
    QTest::addColumn<int>("collection");
    QTest::addColumn<QString>("to");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("stored");
    QTest::newRow("new name, trimmed") << 1 << "  Later\n" << Refusal() << "Later";
    QTest::newRow("own name in another case") << 1 << "READING" << Refusal() << "READING";
    QTest::newRow("own name with accents") << 2 << "Café" << Refusal() << "Café";
    QTest::newRow("own name unchanged") << 1 << "Reading" << Refusal() << "Reading";
    QTest::newRow("another's name") << 1 << "cafe" << Refusal(CollectionRefusal::nameTaken) << "Reading";
    QTest::newRow("empty") << 1 << " " << Refusal(CollectionRefusal::nameEmpty) << "Reading";
    QTest::newRow("no such collection, empty name") << 9 << "" << Refusal(CollectionRefusal::noSuchCollection)
                                                    << "Reading";
    QTest::newRow("no such collection, taken name") << 9 << "Cafe" << Refusal(CollectionRefusal::noSuchCollection)
                                                    << "Reading";
}

void TestLibrary::rename()
{
    QFETCH(int, collection);
    QFETCH(QString, to);
    QFETCH(Refusal, refusal);
    QFETCH(QString, stored);
    Library library = libraryWithCollections({QStringLiteral("Reading"), QStringLiteral("Cafe")});
    const Library before = library;
    const auto result = library.rename(collectionID(collection), to);
    QCOMPARE(result.has_value(), !refusal);
    if (refusal) {
        QCOMPARE(result.error(), *refusal);
        QCOMPARE(library, before);
        return;
    }
    const Collection renamed = *library.collection(collectionID(collection));
    QCOMPARE(renamed.name, stored);
    QCOMPARE(renamed.swatch, before.collection(collectionID(collection))->swatch);
    QCOMPARE(library.collections.size(), before.collections.size());
}

void TestLibrary::recolour()
{
    Library library = libraryWithCollections({QStringLiteral("A"), QStringLiteral("B")});
    library.recolour(collectionID(2), Swatch::amber);
    QCOMPARE(library.collections.at(1).swatch, Swatch::amber);
    QCOMPARE(library.collections.at(0).swatch, Swatch::amber);
    QCOMPARE(library.nextSwatch(), Swatch::blue);
    const Library before = library;
    library.recolour(collectionID(7), Swatch::violet);
    QCOMPARE(library, before);
}

void TestLibrary::refusalWhileRenaming()
{
    const Library library = libraryWithCollections({QStringLiteral("Reading"), QStringLiteral("Cafe")});
    QCOMPARE(library.refusal(QStringLiteral("reading"), collectionID(1)), Refusal());
    QCOMPARE(library.refusal(QStringLiteral("reading"), collectionID(2)), Refusal(CollectionRefusal::nameTaken));
    QCOMPARE(library.refusal(QStringLiteral("reading"), collectionID(9)), Refusal(CollectionRefusal::nameTaken));
    QCOMPARE(library.refusal(QStringLiteral(" "), collectionID(1)), Refusal(CollectionRefusal::nameEmpty));
}

void TestLibrary::collectionNamed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found");   // 0: none
    QTest::newRow("exact") << "Reading" << 1;
    QTest::newRow("case and blanks") << "  reading\n" << 1;
    QTest::newRow("diacritics") << "CAFÉ" << 2;
    QTest::newRow("first of two same names") << "dup" << 3;
    QTest::newRow("no such name") << "Readings" << 0;
    QTest::newRow("empty text finds an empty name") << "  " << 5;
}

void TestLibrary::collectionNamed()
{
    QFETCH(QString, text);
    QFETCH(int, found);
    // Names as a read archive may hold them: duplicates and an empty name.
    const Library library = libraryWithCollections(
        {QStringLiteral("Reading"), QStringLiteral("cafe"), QStringLiteral("Dup"), QStringLiteral("DUP"), QString()});
    const auto result = library.collection(text);
    QCOMPARE(result.has_value(), found != 0);
    if (found)
        QCOMPARE(result->id, collectionID(found));
}

void TestLibrary::removeAndReinstate()
{
    Library library = libraryWithCollections({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), 50, 1, collectionID(2));
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("2")), 40, 2, collectionID(1));
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("3")), 30, 3, collectionID(2));
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("4")), 20, 4);
    library.trash(saveID(3), Date{60});
    const Library before = library;
    const Collection removedCollection = *library.collection(collectionID(2));

    const QList<Save::ID> unfiled = library.removeCollection(collectionID(2));
    QCOMPARE(unfiled, (QList<Save::ID>{saveID(1), saveID(3)}));   // trashed saves too, library order
    QVERIFY(!library.collection(collectionID(2)));
    QCOMPARE(library.collections.size(), 2);
    QVERIFY(!library.save(saveID(1))->collection());
    QVERIFY(!library.save(saveID(3))->collection());
    QCOMPARE(library.save(saveID(2))->collection(), std::optional<Collection::ID>(collectionID(1)));

    library.reinstate(removedCollection, unfiled);
    QCOMPARE(library.saves, before.saves);
    QCOMPARE(library.collections.size(), 3);
    QCOMPARE(library.collections.last(), removedCollection);   // it comes back last
    QCOMPARE(library.collections.at(0).id, collectionID(1));
    QCOMPARE(library.collections.at(1).id, collectionID(3));
}

void TestLibrary::reinstateExistingCollection()
{
    Library library = libraryWithCollections({QStringLiteral("A"), QStringLiteral("B")});
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), 50, 1, collectionID(1));
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("2")), 40, 2);
    const Collection differentCopy{collectionID(2), QStringLiteral("Other name"), Swatch::violet};
    library.reinstate(differentCopy, {saveID(1), saveID(2), saveID(99)});
    QCOMPARE(library.collections.size(), 2);
    QCOMPARE(library.collections.at(1).name, QStringLiteral("B"));   // the list does not change
    QCOMPARE(library.save(saveID(1))->collection(), std::optional<Collection::ID>(collectionID(2)));
    QCOMPARE(library.save(saveID(2))->collection(), std::optional<Collection::ID>(collectionID(2)));
}

void TestLibrary::removeUnknownCollectionStillUnfiles()
{
    Library library = libraryWithCollections({QStringLiteral("A")});
    // Saves filed under an id no collection has (as a read archive may hold).
    library.saves.append(Save(saveID(1), postOnX(QStringLiteral("a"), QStringLiteral("1")), Date{2}, false,
                              collectionID(8), {}, QString(), std::nullopt));
    library.saves.append(Save(saveID(2), postOnX(QStringLiteral("a"), QStringLiteral("2")), Date{1}, false,
                              collectionID(1), {}, QString(), std::nullopt));
    QCOMPARE(library.filed(collectionID(8)).size(), 1);
    QCOMPARE(library.removeCollection(collectionID(8)), QList<Save::ID>{saveID(1)});
    QCOMPARE(library.collections.size(), 1);
    QVERIFY(!library.save(saveID(1))->collection());
    QCOMPARE(library.save(saveID(2))->collection(), std::optional<Collection::ID>(collectionID(1)));
}

void TestLibrary::lookups()
{
    Library library;
    keepNew(library, postOnX(QStringLiteral("ann"), QStringLiteral("1")), 20, 1);
    keepNew(library, pageAt(QStringLiteral("https://example.com/a")), 10, 2);
    library.trash(saveID(2), Date{30});
    QCOMPARE(library.save(saveID(1))->id(), saveID(1));
    QVERIFY(!library.save(saveID(3)));
    QCOMPARE(library.save(PostLink::x(Handle{QStringLiteral("Someone")}, StatusID{QStringLiteral("1")}))->id(),
             saveID(1));
    QCOMPARE(library.save(PostLink::web(url(QStringLiteral("https://example.com/a"))))->id(), saveID(2));
    QVERIFY(!library.save(PostLink::web(url(QStringLiteral("https://example.com/b")))));
    QVERIFY(!library.collection(collectionID(1)));
}

void TestLibrary::manyLinksAtOnce_data()
{
    const auto onX = [](const char *status) { return PostLink::x(Handle{QStringLiteral("someone")}, StatusID{QLatin1String(status)}); };
    const auto onWeb = [](const char *address) { return PostLink::web(url(QLatin1String(address))); };
    QTest::addColumn<QList<PostLink>>("links");
    QTest::addColumn<QList<int>>("ids");   // 0: no save of that link
    QTest::newRow("none asked") << QList<PostLink>{} << QList<int>{};
    QTest::newRow("the first of two saves of a link") << QList<PostLink>{onX("1")} << QList<int>{1};
    QTest::newRow("a page, trashed") << QList<PostLink>{onWeb("https://example.com/b")} << QList<int>{5};
    // A status with a leading zero has no exact key: the links themselves are compared.
    QTest::newRow("a status with no exact key") << QList<PostLink>{onX("0042"), onX("42")} << QList<int>{3, 0};
    QTest::newRow("missing and repeated, in the order asked")
        << QList<PostLink>{onWeb("https://example.com/c"), onX("1"), onWeb("https://example.com/a"), onX("1")}
        << QList<int>{0, 1, 2, 1};
}

void TestLibrary::manyLinksAtOnce()
{
    QFETCH(const QList<PostLink>, links);
    QFETCH(const QList<int>, ids);
    Library library;
    keepNew(library, postOnX(QStringLiteral("ann"), QStringLiteral("1")), 50, 1);
    keepNew(library, pageAt(QStringLiteral("https://example.com/a")), 40, 2);
    keepNew(library, postOnX(QStringLiteral("bob"), QStringLiteral("0042")), 30, 3);
    // A second save of the first one's link, as an archive may hold.
    library.saves.append(Save(saveID(4), postOnX(QStringLiteral("carl"), QStringLiteral("1")), Date{20}));
    keepNew(library, pageAt(QStringLiteral("https://example.com/b")), 10, 5);
    library.trash(saveID(5), Date{60});

    const QList<std::optional<Save>> found = library.firstSaves(links);
    QCOMPARE(found.size(), ids.size());
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const std::optional<Save> one = library.save(links.at(i));
        QCOMPARE(found.at(i) ? found.at(i)->id().text() : QString(), ids.at(i) ? saveID(ids.at(i)).text() : QString());
        QCOMPARE(one ? one->id().text() : QString(), found.at(i) ? found.at(i)->id().text() : QString());
    }
}

void TestLibrary::copiesAreIndependent()
{
    Library library = libraryWithCollections({QStringLiteral("A")});
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), 20, 1);
    const Library original = library;
    Library copy = library;
    copy.file(saveID(1), collectionID(1));
    copy.rename(collectionID(1), QStringLiteral("B"));
    copy.keep(postOnX(QStringLiteral("a"), QStringLiteral("2")), Date{30}, std::nullopt, saveID(2));
    QCOMPARE(library, original);
    QVERIFY(!library.saves.first().collection());
    QCOMPARE(library.collections.first().name, QStringLiteral("A"));
    QCOMPARE(copy.saves.size(), 2);
    QVERIFY(!(copy == library));
}

void TestLibrary::jsonRoundTrips()
{
    Library library = libraryWithCollections({QStringLiteral("Reading"), QStringLiteral("Café")});
    Post withMedia = postOnX(QStringLiteral("Ann"), QStringLiteral("1"), QStringLiteral("video / post"));
    withMedia.attachments = {video(800), image(100)};
    keepNew(library, withMedia, 726000000.125, 1, collectionID(2));
    keepNew(library, pageAt(QStringLiteral("https://example.com/x?q=1")), 726000000, 2);
    keepNew(library, postOnX(QStringLiteral("bob"), QStringLiteral("3")), 1, 3);
    library.favourite(saveID(2));
    library.tag(saveID(2), *Tag::fromText(QStringLiteral("#Travel Notes")));
    library.writeNote(QStringLiteral("ünïcode \"note\""), saveID(3));
    library.trash(saveID(3), Date{726000001});
    // Stored order that keeping would never produce must survive too.
    library.saves.swapItemsAt(0, 2);

    const std::string text = library.toJson().toJson();
    JsonDocument doc(text);
    const Library back = Library::fromJson(doc.root());
    QCOMPARE(back, library);
    QCOMPARE(qHash(back), qHash(library));
    QCOMPARE(idsOf(back.saves), idsOf(library.saves));
    QCOMPARE(back.toJson().toJson(), text);
    QVERIFY(text.starts_with(R"({"collections":[)"));

    JsonDocument emptyDoc(Library().toJson().toJson());
    QCOMPARE(Library::fromJson(emptyDoc.root()), Library());
}

void TestLibrary::jsonRejects_data()
{
    QTest::addColumn<QString>("json");
    const QString saveOk = QStringLiteral(
        R"({"id":{"raw":"00000000-0000-4000-8000-000000000001"},"isFavourite":false,"note":"","post":{"attachments":[],)"
        R"("author":{"handle":{"name":"a"},"name":"A"},"link":{"x":{"handle":{"name":"a"},"status":{"digits":"1"}}},)"
        R"("postedAt":0,"text":""},"savedAt":1,"tags":[]})");
    QTest::newRow("no saves") << R"({"collections":[]})";
    QTest::newRow("no collections") << R"({"saves":[]})";
    QTest::newRow("saves not an array") << R"({"collections":[],"saves":{}})";
    QTest::newRow("collections null") << R"({"collections":null,"saves":[]})";
    QTest::newRow("one bad save") << R"({"collections":[],"saves":[)" + saveOk + R"(,{"id":{"raw":"x"}}]})";
    QTest::newRow("one bad collection")
        << R"({"collections":[{"id":{"raw":"00000000-0000-4000-8000-000000000001"},"name":"A","swatch":{}}],"saves":[)"
               + saveOk + "]}";
    QTest::newRow("not an object") << R"([])";
}

void TestLibrary::jsonRejects()
{
    QFETCH(QString, json);
    const std::string bytes = json.toStdString();
    JsonDocument doc(bytes);
    QVERIFY_THROWS_EXCEPTION(JsonError, Library::fromJson(doc.root()));
}

// A library large enough to be read on several threads: it reads as it was written, and when
// saves are bad, the failure reported is the first bad save's, as reading in order would find.
void TestLibrary::largeLibraryReportsItsFirstBadSave_data()
{
    QTest::addColumn<int>("firstBad");
    QTest::addColumn<QString>("firstDamage");
    QTest::addColumn<int>("secondBad");
    QTest::addColumn<QString>("secondDamage");
    QTest::addColumn<QString>("message");
    const QString badId = QStringLiteral("id");
    const QString noNote = QStringLiteral("note");
    QTest::newRow("none bad") << -1 << QString() << -1 << QString() << QString();
    QTest::newRow("early id, late note") << 37 << badId << 9000 << noNote << QStringLiteral("UUID");
    QTest::newRow("early note, late id") << 37 << noNote << 9000 << badId << QStringLiteral("\"note\"");
    QTest::newRow("both late, note first") << 8100 << noNote << 8101 << badId << QStringLiteral("\"note\"");
    QTest::newRow("last save") << 11999 << badId << -1 << QString() << QStringLiteral("UUID");
}

void TestLibrary::largeLibraryReportsItsFirstBadSave()
{
    QFETCH(int, firstBad);
    QFETCH(QString, firstDamage);
    QFETCH(int, secondBad);
    QFETCH(QString, secondDamage);
    QFETCH(QString, message);
    constexpr int count = 12000;
    Library library;
    for (int n = 0; n < count; ++n)
        library.saves.append(Save(saveID(n + 1), postOnX(QStringLiteral("ann"), QString::number(n + 1)), Date{double(count - n)}));
    std::string text = R"({"collections":[],"saves":[)";
    for (int n = 0; n < count; ++n) {
        std::string save = library.saves.at(n).toJson().toJson();
        const QString damage = n == firstBad ? firstDamage : n == secondBad ? secondDamage : QString();
        if (damage == u"id")
            save.replace(save.find(R"("raw":")") + 7, 8, "not-uuid");
        else if (damage == u"note")
            save.replace(save.find(R"("note":"",)"), 10, "");
        text += (n ? "," : "") + save;
    }
    text += "]}";
    JsonDocument doc(text);
    if (message.isEmpty()) {
        QCOMPARE(Library::fromJson(doc.root()), library);
        return;
    }
    try {
        Library::fromJson(doc.root());
        QFAIL("a library with bad saves was read");
    } catch (const JsonError &error) {
        QVERIFY2(error.message().contains(message), qPrintable(error.message()));
    }
}

// The texts that saves repeat (an author's name and handle, a tag's name) are read once per
// decoding thread and shared by the saves that hold them; the library read is the library
// written, on one thread as on several.
void TestLibrary::repeatedTextsAreReadOnce_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("small") << 40;
    QTest::newRow("read on several threads") << 12000;
}

void TestLibrary::repeatedTextsAreReadOnce()
{
    QFETCH(int, count);
    const QStringList handles{QStringLiteral("ann"), QStringLiteral("Bob_2"), QStringLiteral("\u00e7elik")};
    const QStringList names{QStringLiteral("Ann Lee"), QStringLiteral("Bob"), QStringLiteral("Caf\u00e9 \u00c7elik")};
    Library library;
    for (int n = 0; n < count; ++n) {
        const int author = n % 3;
        library.saves.append(Save(saveID(n + 1),
                                  postOnX(handles[author], QString::number(n + 1), QStringLiteral("text %1").arg(n), names[author]),
                                  Date{double(count - n)}));
        if (n % 2)
            library.tag(saveID(n + 1), Tag{QStringLiteral("travel")});
        library.tag(saveID(n + 1), Tag{n % 5 ? QStringLiteral("to-read") : QStringLiteral("caf\u00e9")});
    }
    const JsonDocument doc(library.toJson().toJson());
    const Library read = Library::fromJson(doc.root());
    QCOMPARE(read, library);
    // Saves next to each other are read on one thread.
    const auto &saves = read.saves;
    for (int n = 0; n + 3 < 30; ++n) {
        const Post &a = saves.at(n).post();
        const Post &b = saves.at(n + 3).post();
        QCOMPARE(a.author.name.constData(), b.author.name.constData());
        QCOMPARE(a.author.handle.name.constData(), b.author.handle.name.constData());
        QCOMPARE(a.link.asX()->handle.name.constData(), a.author.handle.name.constData());
        QCOMPARE(saves.at(n).tags().last().name.constData(), saves.at(n + 10).tags().last().name.constData());
        QVERIFY(a.text.constData() != b.text.constData());
    }
}

QTEST_APPLESS_MAIN(TestLibrary)
#include "tst_library.moc"
