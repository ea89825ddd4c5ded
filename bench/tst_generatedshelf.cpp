// Over generated libraries, the shelf's fast paths give exactly what the plain rules give: a search
// through the shared word index finds the saves that a scan of every save's folded search text
// finds, for many queries and after edits; the counts of many filters in one walk equal the count
// of each; and items carry the copy the local media hold for their link.

#include "LibraryGenerator.h"

#include "StashKit/Archive.h"
#include "Offline/Covers.h"
#include "Shelf/Filter.h"
#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "Library/Save.h"
#include "Library/SearchVocabulary.h"
#include "Shelf/Shelf.h"
#include "Capture/Text.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

using namespace sw;

namespace {

const Date kNow{760000000};

// The text the search rule looks in: the post's text, the author's name and handle, the note and
// the tag names joined by single spaces, folded without regard to case and diacritics.
QString searchText(const Save &save)
{
    QString joined = save.post().text + u' ' + save.post().author.name + u' ' + save.post().author.handle.name + u' '
                     + save.note();
    for (const Tag &tag : save.tags())
        joined += u' ' + tag.name;
    return text::fold(joined);
}

// The search rule itself: the query's words (maximal runs of non-white-space), each found in the
// folded search text.
bool plainlyMatches(const QString &haystack, const QString &query)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= query.size(); ++i) {
        if (i == query.size() || text::isWhiteSpace(query.at(i).unicode())) {
            if (start >= 0 && !haystack.contains(text::fold(query.mid(start, i - start))))
                return false;
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return true;
}

QList<Save::ID> ids(const QList<ShelfItem> &items)
{
    QList<Save::ID> out;
    for (const ShelfItem &item : items)
        out.append(item.save().id());
    return out;
}

bool plainlyMatches(const Save &save, const QString &query)
{
    return plainlyMatches(searchText(save), query);
}

// The saves, in order, whose search texts hold the query's words; each save's text folded once.
class PlainSearch {
public:
    explicit PlainSearch(const QList<Save> &saves)
    {
        for (const Save &save : saves)
            m_saves.append({save.id(), searchText(save)});
    }
    QList<Save::ID> operator()(const QString &query) const
    {
        QList<Save::ID> out;
        for (const auto &[id, haystack] : m_saves)
            if (plainlyMatches(haystack, query))
                out.append(id);
        return out;
    }

private:
    QList<std::pair<Save::ID, QString>> m_saves;
};

// Queries as people type them: pieces of the saves' own texts (so that many find something),
// grown a letter at a time, in other letter cases and with accents added or taken away, several
// words at once, and some that find nothing.
QStringList queries(const Library &library, int count)
{
    QRandomGenerator random(1402);
    QStringList out{QString(), QStringLiteral("   "), QStringLiteral("\t\n"), QStringLiteral("\u0301"),
                    QStringLiteral("cafe"), QStringLiteral("CAFÉ"), QStringLiteral("zurich"), QStringLiteral("STRASSE"),
                    QStringLiteral("東京"), QStringLiteral("#design"), QStringLiteral("https://t.co"),
                    QStringLiteral("qqqqzzz"), QStringLiteral("vol"), QStringLiteral("vo l"),
                    QStringLiteral("the the"), QStringLiteral("a b c")};
    while (out.size() < count) {
        const Save &save = library.saves.at(random.bounded(library.saves.size()));
        const QString text = save.post().text + u' ' + save.note() + u' ' + save.post().author.name;
        if (text.size() < 8)
            continue;
        const qsizetype at = random.bounded(text.size() - 6);
        const QString piece = text.mid(at, 1 + random.bounded(6));
        switch (random.bounded(5)) {
        case 0: out.append(piece.toUpper()); break;
        case 1: out.append(piece + u' ' + text.mid(random.bounded(text.size() - 3), 3)); break;
        case 2: out.append(piece.normalized(QString::NormalizationForm_D)); break;
        default:
            // Typed a letter at a time.
            for (qsizetype n = 1; n <= piece.size(); ++n)
                out.append(piece.left(n));
        }
    }
    return out;
}

}  // namespace

class TestGeneratedShelf : public QObject {
    Q_OBJECT

private slots:
    void searchFindsWhatTheScanFinds();
    void searchFollowsEdits();
    void countsInOneWalkAreEachCount();
    void itemsCarryTheirCopies();
    void longListsAreTheItemsOneByOne_data();
    void longListsAreTheItemsOneByOne();
    void searchWhileWordsArePrepared_data();
    void searchWhileWordsArePrepared();

private:
    static Shelf shelfOf(const Archive &archive)
    {
        const LocalMedia media = LocalMedia::restoring(MediaFolder(Url::fromLocalFile(QStringLiteral("/tmp/m"))),
                                                       DiskBudget{std::int64_t(1) << 40}, archive.copies);
        return Shelf(archive.library, media, std::nullopt, kNow, Quality::original);
    }
};

void TestGeneratedShelf::searchFindsWhatTheScanFinds()
{
    bench::LibraryShape shape;
    shape.saves = 3000;
    shape.trashed = 300;
    const Archive archive = bench::generateArchive(shape);
    const Shelf shelf = shelfOf(archive);
    const PlainSearch live(archive.library.live());
    const PlainSearch trash(archive.library.trash());
    const PlainSearch favourites(archive.library.favourites());
    int found = 0;
    for (const QString &query : queries(archive.library, 400)) {
        const QList<Save::ID> expected = live(query);
        QCOMPARE(ids(shelf.items(Filter::all(), query)), expected);
        QCOMPARE(ids(shelf.items(Filter::trash(), query)), trash(query));
        QCOMPARE(ids(shelf.items(Filter::favourites(), query)), favourites(query));
        found += expected.isEmpty() ? 0 : 1;
    }
    // The queries must be the kind that find something, mostly.
    QVERIFY(found > 300);
    // One save at a time, the prepared query and the text give the same answers.
    for (const QString &query : {QStringLiteral("the"), QStringLiteral("Café bike"), QStringLiteral("@")}) {
        const SearchQuery prepared(query);
        for (const Save &save : archive.library.saves) {
            QCOMPARE(save.matches(prepared), plainlyMatches(save, query));
            QCOMPARE(save.matches(query), plainlyMatches(save, query));
        }
    }
}

// Notes and tags change between searches; copies of a save that was searched keep answering for
// their own text.
void TestGeneratedShelf::searchFollowsEdits()
{
    bench::LibraryShape shape;
    shape.saves = 1500;
    shape.seed = 77;
    const Archive archive = bench::generateArchive(shape);
    Library library = archive.library;
    const Library before = library;
    const QStringList words{QStringLiteral("marmalade"), QStringLiteral("Übersicht"), QStringLiteral("vol"),
                            QStringLiteral("zzz")};
    const PlainSearch beforeSearch(before.live());
    QHash<QString, QList<Save::ID>> beforeFound;
    for (const QString &word : words) {
        beforeFound.insert(word, beforeSearch(word));
        QCOMPARE(ids(shelfOf(Archive(library, archive.copies)).items(Filter::all(), word)), beforeFound.value(word));
    }
    QRandomGenerator random(9);
    for (int round = 0; round < 40; ++round) {
        const Save &save = library.saves.at(random.bounded(library.saves.size()));
        const Save::ID id = save.id();
        switch (round % 3) {
        case 0: library.writeNote(QStringLiteral("marmalade übersicht %1").arg(round), id); break;
        case 1: library.tag(id, Tag{QStringLiteral("zzz-%1").arg(round)}); break;
        default: library.untag(id, save.tags().isEmpty() ? Tag{QStringLiteral("none")} : save.tags().first()); break;
        }
        const PlainSearch now(library.live());
        for (const QString &word : words) {
            QCOMPARE(ids(shelfOf(Archive(library, archive.copies)).items(Filter::all(), word)), now(word));
            // The library as it was still answers as it did.
            QCOMPARE(ids(shelfOf(Archive(before, archive.copies)).items(Filter::all(), word)), beforeFound.value(word));
        }
    }
}

void TestGeneratedShelf::countsInOneWalkAreEachCount()
{
    bench::LibraryShape shape;
    shape.saves = 2500;
    const Archive archive = bench::generateArchive(shape);
    const Shelf shelf = shelfOf(archive);
    QList<Filter> filters{Filter::all(),            Filter::recentlyAdded(), Filter::favourites(), Filter::trash(),
                          Filter::onThisComputer(), Filter::linkOnly(),      Filter::source(Source::x),
                          Filter::source(Source::web)};
    for (Kind kind : Kind::allCases())
        filters.append(Filter::kind(kind));
    for (const Collection &c : archive.library.collections)
        filters.append(Filter::collection(c.id));
    filters.append(Filter::collection(Collection::ID::random()));
    for (const Author &author : archive.library.topAuthors(5)) {
        filters.append(Filter::author(author.handle));
        filters.append(Filter::author(Handle{author.handle.name.toUpper()}));
    }
    filters.append(Filter::author(Handle{QStringLiteral("nobody-at-all")}));
    // Every filter twice, so that repeated filters are each counted.
    filters.append(filters);
    const QList<qsizetype> counts = shelf.counts(filters);
    QCOMPARE(counts.size(), filters.size());
    for (qsizetype i = 0; i < filters.size(); ++i) {
        QCOMPARE(counts.at(i), shelf.count(filters.at(i)));
        QCOMPARE(counts.at(i), shelf.items(filters.at(i)).size());
    }
    // And each count is what the library's own query gives.
    QCOMPARE(shelf.count(Filter::all()), archive.library.live().size());
    QCOMPARE(shelf.count(Filter::trash()), archive.library.trash().size());
    for (const Author &author : archive.library.topAuthors(5))
        QCOMPARE(shelf.count(Filter::author(author.handle)), archive.library.live(author.handle).size());
}

void TestGeneratedShelf::itemsCarryTheirCopies()
{
    bench::LibraryShape shape;
    shape.saves = 2000;
    const Archive archive = bench::generateArchive(shape);
    const LocalMedia media = LocalMedia::restoring(MediaFolder(), DiskBudget{std::int64_t(1) << 40}, archive.copies);
    for (int pass = 0; pass < 2; ++pass) {   // the second pass is answered from what the saves remember
        const Shelf shelf(archive.library, media, std::nullopt, kNow, Quality::original);
        for (const ShelfItem &item : shelf.items(Filter::all()))
            QCOMPARE(item.copy(), media.copy(item.save().post().link));
    }
    // Another table, with every copy taken away: the saves' memories of the first do not answer.
    LocalMedia emptied = media;
    for (const Save &save : archive.library.saves)
        emptied.letGo(save.post().link);
    const Shelf shelf(archive.library, emptied, std::nullopt, kNow, Quality::original);
    for (const ShelfItem &item : shelf.items(Filter::all()))
        QVERIFY(item.copy().isLinkOnly());
}

// Lists long enough to be made on several threads hold, in order, the items the shelf makes one
// by one for the saves the filter and the search select.
void TestGeneratedShelf::longListsAreTheItemsOneByOne_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QString>("search");
    QTest::newRow("all") << Filter::all() << QString();
    QTest::newRow("a letter in most texts") << Filter::all() << QStringLiteral("e");
    QTest::newRow("on this computer") << Filter::onThisComputer() << QString();
    QTest::newRow("missing media, a letter") << Filter::linkOnly() << QStringLiteral("a");
    QTest::newRow("the trash") << Filter::trash() << QString();
}

void TestGeneratedShelf::longListsAreTheItemsOneByOne()
{
    QFETCH(Filter, filter);
    QFETCH(QString, search);
    static const Archive archive = [] {
        bench::LibraryShape shape;
        shape.saves = 40000;
        shape.seed = 5;
        return bench::generateArchive(shape);
    }();
    const Shelf shelf = shelfOf(archive);
    QList<ShelfItem> expected;
    for (const Save &save : archive.library.saves)
        if (shelf.selects(filter, save) && plainlyMatches(save, search))
            expected.append(shelf.item(save));
    const QList<ShelfItem> items = shelf.items(filter, search);
    QCOMPARE(items.size(), expected.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        QVERIFY2(items.at(i) == expected.at(i), qPrintable(QString::number(i)));
        QCOMPARE(items.at(i).idKey(), ShelfItem::idKey(items.at(i).save().id()));
    }
    // Copies outlive the shelf and the list they came from.
    const QList<ShelfItem> copied(items.cbegin(), items.cend());
    QCOMPARE(copied, expected);
}

// While the saves' words are being prepared (after a start), a search looks in the fields of the
// saves not indexed yet: it finds, for each filter, what the plain rule finds, whether none, some
// or all of the saves are indexed.
void TestGeneratedShelf::searchWhileWordsArePrepared_data()
{
    QTest::addColumn<int>("indexedEvery");   // every n-th save indexed first; 0: none
    QTest::newRow("none indexed") << 0;
    QTest::newRow("every third indexed") << 3;
    QTest::newRow("all indexed") << 1;
}

void TestGeneratedShelf::searchWhileWordsArePrepared()
{
    QFETCH(int, indexedEvery);
    bench::LibraryShape shape;
    shape.saves = 6000;
    shape.trashed = 400;
    shape.seed = 31 + indexedEvery;
    const Archive archive = bench::generateArchive(shape);
    for (qsizetype i = 0; indexedEvery > 0 && i < archive.library.saves.size(); i += indexedEvery)
        archive.library.saves.at(i).prepare();
    const Shelf shelf = shelfOf(archive);
    const QList<Filter> filters{Filter::all(), Filter::trash(), Filter::favourites(),
                                Filter::collection(archive.library.collections.first().id), Filter::recentlyAdded()};
    const SearchVocabulary::Filling filling;
    for (const QString &query : {QStringLiteral("e"), QStringLiteral("the"), QStringLiteral("vol cafe"), QStringLiteral("qqqqzzz")}) {
        for (const Filter &filter : filters) {
            QList<Save::ID> expected;
            for (const Save &save : archive.library.saves)
                if (shelf.selects(filter, save) && plainlyMatches(save, query))
                    expected.append(save.id());
            QCOMPARE(ids(shelf.items(filter, query)), expected);
        }
    }
}

QTEST_GUILESS_MAIN(TestGeneratedShelf)
#include "tst_generatedshelf.moc"
