// The shelf projection: what each filter selects, the items with their copies, covers, pictures
// and actions, the home sections and the missing media.

#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"
#include "Shelf/Shelf.h"

#include <QRandomGenerator>
#include <QTest>
#include <QThreadPool>

#include <algorithm>
#include <limits>

using namespace sw;
using namespace sw::fixtures;

namespace {

constexpr double kNow = 1'000'000'000;
constexpr double kDay = 86400;
const Collection::ID kReading(QUuid(QStringLiteral("11111111-2222-4333-8444-555555555555")));
const QString kMediaRoot = QStringLiteral("file:///media/Stashwell");
const QString kCoversRoot = QStringLiteral("file:///data/Stashwell/Covers");

Attachment videoWithHd()
{
    return video(800, std::vector<Rendition>{Rendition{url(QStringLiteral("https://video.example.com/720.mp4")), 720, 500}});
}

// A library of every kind of save, newest first:
//  1 ann/1     video, favourite, in Reading, here            recent
//  2 web       page of 300 bytes, no copy                     2 days
//  3 Bob/2     two images, failed, in Reading                 3 days
//  4 ANN/3     text only                                      exactly 7 days
//  5 carl/4    one image, downloading 25 of 100               7 days and a second
//  6 web       text only, favourite, trashed                  10 days
//  7 dan/5     video, here, trashed                           20 days
Library sampleLibrary()
{
    Library library;
    library.collections = {Collection{kReading, QStringLiteral("Reading"), Swatch::blue},
                           Collection{Collection::ID(QUuid(QStringLiteral("21111111-2222-4333-8444-555555555555"))),
                                      QStringLiteral("Empty"), Swatch::green}};
    library.saves = {
        makeSave(SaveSpec(1, post(xLink(QStringLiteral("ann"), QStringLiteral("1")), {videoWithHd()},
                                  QStringLiteral("https://pbs.example.com/1.jpg"), QStringLiteral("Sunset over the caf\u00e9")),
                          kNow - 10)
                     .favourite()
                     .filed(kReading)
                     .tagged({Tag{QStringLiteral("travel")}})),
        makeSave(SaveSpec(2, post(webLink(QStringLiteral("https://example.com/story")), {page(300)},
                                  QStringLiteral("https://example.com/og.png"), QStringLiteral("A story")),
                          kNow - 2 * kDay)
                     .noted(QStringLiteral("read later"))),
        makeSave(SaveSpec(3, post(xLink(QStringLiteral("Bob"), QStringLiteral("2")),
                                  {image(100, QStringLiteral("https://pbs.example.com/a.jpg")),
                                   image(200, QStringLiteral("https://pbs.example.com/b.jpg"))},
                                  std::nullopt, QStringLiteral("Two pictures")),
                          kNow - 3 * kDay)
                     .filed(kReading)),
        makeSave(SaveSpec(4, post(xLink(QStringLiteral("ANN"), QStringLiteral("3")), {}, std::nullopt,
                                  QStringLiteral("Just words")),
                          kNow - 7 * kDay)),
        makeSave(SaveSpec(5, post(xLink(QStringLiteral("carl"), QStringLiteral("4")), {image(100)}), kNow - 7 * kDay - 1)),
        makeSave(SaveSpec(6, post(webLink(QStringLiteral("https://example.org/")), {}), kNow - 10 * kDay)
                     .favourite()
                     .trashed(kNow - kDay)),
        makeSave(SaveSpec(7, post(xLink(QStringLiteral("dan"), QStringLiteral("5")), {video(50)}), kNow - 20 * kDay)
                     .trashed(kNow - 5 * kDay)),
    };
    return library;
}

CopyTable sampleCopies()
{
    return copies({
        {xLink(QStringLiteral("ann"), QStringLiteral("1")), LocalCopy::onThisComputer({LocalFile{QStringLiteral("ann_1.mp4"), 500}})},
        {xLink(QStringLiteral("Bob"), QStringLiteral("2")), LocalCopy::failed(DownloadFailure::unreachable)},
        {xLink(QStringLiteral("carl"), QStringLiteral("4")), LocalCopy::downloading(25, 100)},
        {xLink(QStringLiteral("dan"), QStringLiteral("5")), LocalCopy::onThisComputer({LocalFile{QStringLiteral("dan_5.mp4"), 50}})},
    });
}

Shelf sampleShelf(Quality quality = Quality::original)
{
    return Shelf(sampleLibrary(), media(sampleCopies(), kMediaRoot), Covers(url(kCoversRoot)), Date{kNow}, quality);
}

// A shelf of one save with the given copy.
Shelf oneSave(const Save &save, std::optional<LocalCopy> copy, Quality quality = Quality::original,
              std::optional<Covers> covers = std::nullopt)
{
    CopyTable table;
    if (copy)
        table.insert(save.post().link, *copy);
    return Shelf(Library({save}, {}), media(table, kMediaRoot), std::move(covers), Date{kNow}, quality);
}

QStringList itemIds(const QList<ShelfItem> &items)
{
    return idsOf(items, [](const ShelfItem &i) -> const Save & { return i.save(); });
}

QStringList saveIds(const QList<Save> &saves)
{
    return idsOf(saves, [](const Save &s) -> const Save & { return s; });
}

QString mediaFile(const QString &name) { return kMediaRoot + u'/' + name; }

QStringList pictureTexts(const ShelfItem &item)
{
    QStringList out;
    for (const auto &p : item.pictures())
        out.append(p ? p->text() : QStringLiteral("-"));
    return out;
}

}  // namespace

class TestShelf : public QObject {
    Q_OBJECT

private slots:
    void filters_data();
    void filters();
    void filtersAgreeWithTheLibraryQueries();
    void recentWindowBounds_data();
    void recentWindowBounds();
    void searchNarrowsItemsButNotCounts_data();
    void searchNarrowsItemsButNotCounts();
    void searchesTypedInTurnFindWhatEachFindsAlone_data();
    void searchesTypedInTurnFindWhatEachFindsAlone();
    void longLibrarySearchedOnceItsWordsAreIndexed_data();
    void longLibrarySearchedOnceItsWordsAreIndexed();
    void longMixedListsAgreeWithEachSaveAlone_data();
    void longMixedListsAgreeWithEachSaveAlone();
    void aLongListMadeInTheRoomOfOneLetGoHoldsItsOwnSaves();
    void emptyLibrary();
    void itemForLink();
    void itemCarriesCopyAndQuality();
    void itemsOutliveTheirShelfAndLibrary_data();
    void itemsOutliveTheirShelfAndLibrary();
    void action_data();
    void action();
    void pictures_data();
    void pictures();
    void videoFile_data();
    void videoFile();
    void settersReplaceWhatTheItemWorksOut();
    void itemEquality_data();
    void itemEquality();
    void listsAskedAgainAreShared_data();
    void listsAskedAgainAreShared();
    void listsLetGoElsewhere_data();
    void listsLetGoElsewhere();
    void cover_data();
    void cover();
    void home_data();
    void home();
    void missing();
    void missingBytesSaturate();
    void filterEqualityAndHash();
};

void TestShelf::filters_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all") << Filter::all() << ids({1, 2, 3, 4, 5});
    QTest::newRow("recently added") << Filter::recentlyAdded() << ids({1, 2, 3, 4});
    QTest::newRow("favourites, not the trashed one") << Filter::favourites() << ids({1});
    QTest::newRow("trash in library order") << Filter::trash() << ids({6, 7});
    QTest::newRow("collection") << Filter::collection(kReading) << ids({1, 3});
    QTest::newRow("empty collection")
        << Filter::collection(Collection::ID(QUuid(QStringLiteral("21111111-2222-4333-8444-555555555555")))) << ids({});
    QTest::newRow("collection that does not exist") << Filter::collection(Collection::ID::random()) << ids({});
    QTest::newRow("kind video") << Filter::kind(Kind::video) << ids({1});
    QTest::newRow("kind images") << Filter::kind(Kind::images) << ids({3, 5});
    QTest::newRow("kind text") << Filter::kind(Kind::text) << ids({4});
    QTest::newRow("kind page") << Filter::kind(Kind::page) << ids({2});
    QTest::newRow("source x") << Filter::source(Source::x) << ids({1, 3, 4, 5});
    QTest::newRow("source web") << Filter::source(Source::web) << ids({2});
    QTest::newRow("author, case aside") << Filter::author(Handle{QStringLiteral("Ann")}) << ids({1, 4});
    QTest::newRow("author of trashed saves only") << Filter::author(Handle{QStringLiteral("dan")}) << ids({});
    QTest::newRow("author nobody has") << Filter::author(Handle{QStringLiteral("nobody")}) << ids({});
    QTest::newRow("on this computer, live only") << Filter::onThisComputer() << ids({1});
    QTest::newRow("link only: absent and failed, not text or downloading") << Filter::linkOnly() << ids({2, 3});
}

void TestShelf::filters()
{
    QFETCH(Filter, filter);
    QFETCH(QStringList, expected);
    const Shelf shelf = sampleShelf();
    QCOMPARE(itemIds(shelf.items(filter, QString())), expected);
    QCOMPARE(shelf.count(filter), expected.size());
}

void TestShelf::filtersAgreeWithTheLibraryQueries()
{
    const Shelf shelf = sampleShelf();
    const Library library = sampleLibrary();
    auto idsFor = [&](const Filter &f) { return itemIds(shelf.items(f)); };
    QCOMPARE(idsFor(Filter::all()), saveIds(library.live()));
    QCOMPARE(idsFor(Filter::trash()), saveIds(library.trash()));
    QCOMPARE(idsFor(Filter::favourites()), saveIds(library.favourites()));
    QCOMPARE(idsFor(Filter::recentlyAdded()), saveIds(library.recentlyAdded(Date{kNow})));
    QCOMPARE(idsFor(Filter::collection(kReading)), saveIds(library.filed(kReading)));
    for (Kind kind : Kind::allCases())
        QCOMPARE(idsFor(Filter::kind(kind)), saveIds(library.live(kind)));
    for (Source source : Source::allCases())
        QCOMPARE(idsFor(Filter::source(source)), saveIds(library.live(source)));
    for (const QString &name : {QStringLiteral("ANN"), QStringLiteral("bob"), QStringLiteral("Carl")})
        QCOMPARE(idsFor(Filter::author(Handle{name})), saveIds(library.live(Handle{name})));
    // The missing media of the local media model, save by save.
    QStringList missing;
    for (const Save &save : library.live()) {
        if (!shelf.localMedia().missing({save.post()}).empty())
            missing.append(save.id().text());
    }
    QCOMPARE(idsFor(Filter::linkOnly()), missing);
}

// A long library whose saves pass and fail each filter here and there (favourites, the trash,
// collections, authors, kinds, dates and copies drawn at random), with the words of only some of
// its saves indexed: every list, searched or not, holds exactly the saves that pass when each is
// asked alone, in the library's order: the walks write every place and move on past the ones
// kept, and a save not indexed is looked for in its own text amid the indexed ones.
// A long list let go lends its room to the next long list the shelf makes, which holds exactly
// the saves it would hold in new room.
void TestShelf::aLongListMadeInTheRoomOfOneLetGoHoldsItsOwnSaves()
{
    constexpr int kSaves = 20000;
    std::vector<Save> saves;
    QSet<QString> meadows;
    for (int i = 0; i < kSaves; ++i) {
        const bool meadow = i % 4 != 0;
        const QString text = (meadow ? QStringLiteral("meadow %1") : QStringLiteral("harbour %1")).arg(i);
        saves.push_back(makeSave(SaveSpec(i + 1, post(xLink(QStringLiteral("writer"), QString::number(i + 1)), {}, std::nullopt, text),
                                          kNow - i * 60)));
        if (meadow)
            meadows.insert(saves.back().id().text());
    }
    Library library;
    library.saves = SaveList(std::move(saves));
    QStringList expected;
    for (const QString &id : saveIds(library.live())) {
        if (meadows.contains(id))
            expected.append(id);
    }
    const Shelf shelf(library, media(CopyTable(), kMediaRoot), std::nullopt, Date{kNow}, Quality::original);

    QList<ShelfItem> mine = shelf.items(Filter::all());
    mine.detach();   // the shelf keeps its own; this one is held by no one else
    QCOMPARE(mine.size(), qsizetype(kSaves));
    const ShelfItem *room = mine.constData();
    std::vector<QList<ShelfItem>> gone;   // moved in: a list in braces would be copied
    gone.push_back(std::move(mine));
    ShelfItem::letGoElsewhere(std::move(gone));
    QThreadPool::globalInstance()->waitForDone();

    const QList<ShelfItem> found = shelf.items(Filter::all(), QStringLiteral("meadow"));
    QCOMPARE(found.constData(), room);
    QCOMPARE(itemIds(found), expected);
    // Its items read their saves and copies as any item does.
    QCOMPARE(found.first().save().id().text(), expected.first());
    QVERIFY(found.last().copy().isLinkOnly());
}

void TestShelf::longMixedListsAgreeWithEachSaveAlone_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::newRow("no search") << QStringList{QString()};
    QTest::newRow("a letter, then more") << QStringList{QStringLiteral("h"), QStringLiteral("ha"), QStringLiteral("har")};
    QTest::newRow("a word in some texts") << QStringList{QStringLiteral("meadow")};
    QTest::newRow("two words") << QStringList{QStringLiteral("meadow 1")};
    QTest::newRow("a handle") << QStringList{QStringLiteral("writer3")};
    QTest::newRow("nothing") << QStringList{QStringLiteral("zzzz")};
}

void TestShelf::longMixedListsAgreeWithEachSaveAlone()
{
    QFETCH(QStringList, typed);
    constexpr int kSaves = 6000;
    const QStringList words{QStringLiteral("harbour"), QStringLiteral("meadow"), QStringLiteral("lantern"), QStringLiteral("hazel")};
    const Collection::ID other = collectionID(2);
    QRandomGenerator random(4242);
    Library library;
    library.collections = {Collection{kReading, QStringLiteral("Reading"), Swatch::blue},
                           Collection{other, QStringLiteral("Other"), Swatch::green}};
    std::vector<Save> saves;
    std::vector<std::pair<PostLink, LocalCopy>> copyList;
    for (int i = 0; i < kSaves; ++i) {
        std::vector<Attachment> media;
        switch (random.bounded(3)) {
        case 1:
            media.push_back(image(10));
            break;
        case 2:
            media.push_back(video(10));
            break;
        }
        const PostLink link = xLink(QStringLiteral("writer%1").arg(random.bounded(6)), QString::number(i + 1));
        SaveSpec spec(i + 1, post(link, std::move(media), std::nullopt, words.at(random.bounded(words.size())) + u' ' + QString::number(i)),
                      kNow - i * 300);
        spec.favourite(random.bounded(4) == 0);
        if (random.bounded(5) == 0)
            spec.trashed(kNow - 10);
        if (const int filed = random.bounded(3); filed > 0)
            spec.filed(filed == 1 ? kReading : other);
        if (random.bounded(2) == 0)
            copyList.emplace_back(link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("f%1").arg(i), 10}}));
        saves.push_back(makeSave(spec));
    }
    library.saves = SaveList(std::move(saves));
    for (qsizetype i = 0; i < library.saves.size(); i += 2)
        library.saves.at(i).indexSearchText(library.saves.at(i).foldedSearchText());
    CopyTable table;
    for (const auto &[link, copy] : copyList)
        table.insert(link, copy);
    const Shelf shelf(library, media(table, kMediaRoot), std::nullopt, Date{kNow}, Quality::original);

    QList<Filter> filters{Filter::all(), Filter::trash(), Filter::favourites(), Filter::recentlyAdded(), Filter::linkOnly(),
                          Filter::collection(kReading), Filter::collection(other), Filter::author(Handle{QStringLiteral("Writer2")})};
    for (Kind kind : Kind::allCases())
        filters.append(Filter::kind(kind));
    for (const Filter &filter : filters) {
        for (const QString &search : typed) {
            // Listed first: the list meets the saves whose words are not indexed yet.
            const QStringList listed = itemIds(shelf.items(filter, search));
            const QStringList folded = SearchQuery::foldedWords(search);
            QStringList alone;
            for (const Save &save : library.saves) {
                const QString text = save.foldedSearchText();
                if (shelf.selects(filter, save)
                    && std::all_of(folded.begin(), folded.end(), [&](const QString &word) { return text.contains(word); }))
                    alone.append(save.id().text());
            }
            QCOMPARE(listed, alone);
        }
    }
}

void TestShelf::recentWindowBounds_data()
{
    QTest::addColumn<double>("savedAt");
    QTest::addColumn<bool>("recent");
    QTest::newRow("exactly seven days") << kNow - 604800 << true;
    QTest::newRow("a second more") << kNow - 604801 << false;
    QTest::newRow("a millisecond more") << kNow - 604800.001 << false;
    QTest::newRow("now") << kNow << true;
    QTest::newRow("an hour after now") << kNow + 3600 << true;
    QTest::newRow("no date") << std::numeric_limits<double>::quiet_NaN() << false;
}

void TestShelf::recentWindowBounds()
{
    QFETCH(double, savedAt);
    QFETCH(bool, recent);
    const Shelf shelf = oneSave(makeSave(1, post(xLink(QStringLiteral("a"), QStringLiteral("1"))), savedAt), std::nullopt);
    QCOMPARE(shelf.count(Filter::recentlyAdded()), recent ? 1 : 0);
    QCOMPARE(shelf.items(Filter::recentlyAdded()).size(), recent ? 1 : 0);
    QCOMPARE(shelf.items(Filter::recentlyAdded(), QStringLiteral("a")).size(), recent ? 1 : 0);
}

void TestShelf::searchNarrowsItemsButNotCounts_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty text") << "" << Filter::all() << ids({1, 2, 3, 4, 5});
    QTest::newRow("white space only") << " \t\n" << Filter::all() << ids({1, 2, 3, 4, 5});
    QTest::newRow("handle, case aside") << "ann" << Filter::all() << ids({1, 4});
    QTest::newRow("without diacritics") << "CAFE" << Filter::all() << ids({1});
    QTest::newRow("words in different pieces") << "later story" << Filter::all() << ids({2});
    QTest::newRow("a tag") << "trav" << Filter::all() << ids({1});
    QTest::newRow("one word missing") << "sunset nowhere" << Filter::all() << ids({});
    QTest::newRow("nothing matches") << "zzzz" << Filter::all() << ids({});
    QTest::newRow("within a filter") << "ann" << Filter::kind(Kind::text) << ids({4});
    QTest::newRow("in the trash") << "dan" << Filter::trash() << ids({7});
}

void TestShelf::searchNarrowsItemsButNotCounts()
{
    QFETCH(QString, search);
    QFETCH(Filter, filter);
    QFETCH(QStringList, expected);
    const Shelf shelf = sampleShelf();
    QCOMPARE(itemIds(shelf.items(filter, search)), expected);
    QCOMPARE(shelf.count(filter), shelf.items(filter).size());
}

void TestShelf::searchesTypedInTurnFindWhatEachFindsAlone_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<Filter>("filter");
    QTest::newRow("a handle letter by letter") << QStringList{"a", "an", "ann"} << Filter::all();
    QTest::newRow("and back") << QStringList{"ann", "an", "a", ""} << Filter::all();
    QTest::newRow("diacritics aside") << QStringList{"c", "ca", "caf", "CAFE"} << Filter::all();
    QTest::newRow("a second word") << QStringList{"later", "later s", "later st", "later story"} << Filter::all();
    QTest::newRow("nothing found, then more") << QStringList{"zz", "zzz", "z"} << Filter::all();
    QTest::newRow("within a filter, then another") << QStringList{"a", "an"} << Filter::kind(Kind::text);
}

// However a search was reached (each letter looking among what the one before found), it finds
// what it finds on a shelf that was never searched.
void TestShelf::searchesTypedInTurnFindWhatEachFindsAlone()
{
    QFETCH(QStringList, typed);
    QFETCH(Filter, filter);
    const Shelf shelf = sampleShelf();
    (void)shelf.items(Filter::all(), typed.first());
    for (const QString &search : typed) {
        const QStringList found = itemIds(shelf.items(filter, search));
        QCOMPARE(found, itemIds(sampleShelf().items(filter, search)));
    }
}

// A library long enough that its lists are made, and the saves' places in the index are read, on
// several threads: by the first search, by a preparation ahead of it, or by the shelf a following
// one takes them from. The items are the matching saves, in order, with their kinds.
void TestShelf::longLibrarySearchedOnceItsWordsAreIndexed_data()
{
    QTest::addColumn<int>("read");
    QTest::newRow("by the first search") << 0;
    QTest::newRow("prepared ahead") << 1;
    QTest::newRow("prepared by the shelf followed") << 2;
}

void TestShelf::longLibrarySearchedOnceItsWordsAreIndexed()
{
    QFETCH(int, read);
    constexpr int kSaves = 40000;
    const QStringList words{QStringLiteral("harbour"), QStringLiteral("meadow"), QStringLiteral("lantern")};
    Library library;
    std::vector<Save> saves;
    saves.reserve(kSaves);
    for (int i = 0; i < kSaves; ++i) {
        std::vector<Attachment> media;
        if (i % 3 == 1)
            media.push_back(image(10));
        else if (i % 3 == 2)
            media.push_back(video(10));
        saves.push_back(makeSave(i + 1, post(xLink(QStringLiteral("u"), QString::number(i + 1)), std::move(media), std::nullopt,
                                             words.at(i % 3) + u' ' + QString::number(i)),
                                 kNow - i));
    }
    library.saves = SaveList(std::move(saves));
    const Shelf first(library, media(CopyTable()), std::nullopt, Date{kNow}, Quality::original);
    // Listed before the words are indexed: the shelf knows no save's place in the index yet.
    QCOMPARE(first.items(Filter::all()).size(), kSaves);
    for (const Save &save : library.saves)
        save.indexSearchText(save.foldedSearchText());
    if (read > 0)
        first.prepareSearch();
    Shelf shelf = first;
    if (read == 2) {
        // Another save comes in: the shelf that follows reads it alone.
        library.saves.insert(0, makeSave(kSaves + 1, post(xLink(QStringLiteral("u"), QStringLiteral("0")), {}, std::nullopt,
                                                          QStringLiteral("meadow new"))));
        library.saves.first().indexSearchText(library.saves.first().foldedSearchText());
        shelf = Shelf(library, media(CopyTable()), std::nullopt, Date{kNow}, Quality::original);
        shelf.follow(first);
    }
    for (const QString &search : {QStringLiteral("mead"), QStringLiteral("meadow 1"), QStringLiteral("lantern")}) {
        const QList<ShelfItem> found = shelf.items(Filter::all(), search);
        QList<Save::ID> expected;
        for (const Save &save : library.saves)
            if (save.matches(search))
                expected.append(save.id());
        QVERIFY(!expected.isEmpty());
        QCOMPARE(found.size(), expected.size());
        for (qsizetype i = 0; i < found.size(); ++i) {
            QCOMPARE(found.at(i).save().id(), expected.at(i));
            QCOMPARE(found.at(i).kind(), found.at(i).save().kind());
        }
    }
}

void TestShelf::emptyLibrary()
{
    const Shelf shelf(Library(), media(CopyTable()), Covers(url(kCoversRoot)), Date{kNow}, Quality::original);
    for (const Filter &f : {Filter::all(), Filter::recentlyAdded(), Filter::favourites(), Filter::trash(),
                            Filter::collection(kReading), Filter::kind(Kind::text), Filter::source(Source::web),
                            Filter::author(Handle{QStringLiteral("a")}), Filter::onThisComputer(), Filter::linkOnly()}) {
        QVERIFY(shelf.items(f).isEmpty());
        QCOMPARE(shelf.count(f), 0);
    }
    const Home home = shelf.home();
    QVERIFY(!home.latest());
    QVERIFY(home.recentlyAdded().isEmpty() && home.rest().isEmpty());
    QVERIFY(shelf.missing().isEmpty());
    QCOMPARE(shelf.missingBytes(), 0);
    QCOMPARE(shelf.item(xLink(QStringLiteral("a"), QStringLiteral("1"))), std::nullopt);
}

void TestShelf::itemForLink()
{
    const Shelf shelf = sampleShelf();
    // The same status under another handle is the same post.
    const auto renamed = shelf.item(xLink(QStringLiteral("someone-else"), QStringLiteral("3")));
    QVERIFY(renamed);
    QCOMPARE(renamed->save().id(), saveID(4));
    // A trashed save is found too, and offers to be restored whatever its copy.
    const auto trashed = shelf.item(xLink(QStringLiteral("dan"), QStringLiteral("5")));
    QVERIFY(trashed);
    QCOMPARE(trashed->save().id(), saveID(7));
    QCOMPARE(trashed->action(), Action::restore());
    QCOMPARE(shelf.item(webLink(QStringLiteral("https://example.com/story?page=2"))), std::nullopt);
    QCOMPARE(shelf.item(xLink(QStringLiteral("ann"), QStringLiteral("01"))), std::nullopt);
}

void TestShelf::itemCarriesCopyAndQuality()
{
    const Shelf shelf = sampleShelf(Quality::hd);
    const auto ann = shelf.item(xLink(QStringLiteral("ANN"), QStringLiteral("1")));
    QVERIFY(ann);
    QCOMPARE(ann->copy(), LocalCopy::onThisComputer({LocalFile{QStringLiteral("ann_1.mp4"), 500}}));
    QCOMPARE(ann->quality(), Quality(Quality::hd));
    const auto story = shelf.item(webLink(QStringLiteral("https://example.com/story")));
    QVERIFY(story);
    QCOMPARE(story->copy(), LocalCopy::linkOnly());
    // Built twice from the same inputs, items are equal; at another quality they are not.
    QCOMPARE(sampleShelf(Quality::hd).items(Filter::all()), shelf.items(Filter::all()));
    QCOMPARE(qHash(*sampleShelf(Quality::hd).item(xLink(QStringLiteral("ann"), QStringLiteral("1")))), qHash(*ann));
    QVERIFY(sampleShelf(Quality::small).items(Filter::all()) != shelf.items(Filter::all()));
    // Each item's key is its id's, made from the list of saves or from the id alone, and equal
    // for equal ids.
    for (const ShelfItem &item : shelf.items(Filter::all())) {
        QCOMPARE(item.idKey(), ShelfItem::idKey(item.save().id()));
        QCOMPARE(shelf.item(item.save()).idKey(), item.idKey());
    }
}

// An item points at its save where the shelf's list keeps it: the items of a shelf must go on
// showing that shelf's saves and copies after the shelf, its library and the caller's saves are
// gone and the library was changed in the meantime.
void TestShelf::itemsOutliveTheirShelfAndLibrary_data()
{
    QTest::addColumn<int>("made");
    QTest::newRow("a filter's list") << 0;
    QTest::newRow("a search's list") << 1;
    QTest::newRow("the home's sections") << 2;
    QTest::newRow("the item of a link") << 3;
    QTest::newRow("the item of any save") << 4;
}

void TestShelf::itemsOutliveTheirShelfAndLibrary()
{
    QFETCH(int, made);
    struct Seen {
        Save::ID id;
        QString text;
        Kind kind;
        LocalCopy copy;
    };
    QList<ShelfItem> items;
    std::vector<Seen> expected;
    {
        Library library = sampleLibrary();
        std::optional<Shelf> shelf(std::in_place, library, media(sampleCopies(), kMediaRoot), std::nullopt, Date{kNow},
                                   Quality::original);
        switch (made) {
        case 0: items = shelf->items(Filter::all()); break;
        case 1: items = shelf->items(Filter::all(), QStringLiteral("a")); break;
        case 2: {
            const Home home = shelf->home();
            items = home.recentlyAdded() + home.rest();
            items.prepend(*home.latest());
            break;
        }
        case 3: items = {*shelf->item(xLink(QStringLiteral("Bob"), QStringLiteral("2")))}; break;
        default: {
            const Save loose = makeSave(9, post(xLink(QStringLiteral("ann"), QStringLiteral("1")), {videoWithHd()}));
            items = {shelf->item(loose)};
            // An override gives the item a hold of its own: its save goes with it.
            items.first().setCover(std::nullopt);
            break;
        }
        }
        QVERIFY(!items.isEmpty());
        for (const ShelfItem &item : items)
            expected.push_back({item.save().id(), item.save().post().text, item.save().post().kind(), item.copy()});
        // The library changes where the items' saves lie, then it and the shelf go.
        Library changed = library;
        for (qsizetype i = 0; i < changed.saves.size(); ++i)
            changed.saves.replace(i, makeSave(100 + int(i), post(xLink(QStringLiteral("zed"), QString::number(i)), {})));
        library = changed;
        shelf.reset();
    }
    // What was freed is likely to be handed out again.
    std::vector<Library> churn;
    for (int i = 0; i < 20; ++i)
        churn.push_back(sampleLibrary());
    QCOMPARE(std::size_t(items.size()), expected.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Seen &seen = expected[std::size_t(i)];
        QCOMPARE(items.at(i).save().id(), seen.id);
        QCOMPARE(items.at(i).save().post().text, seen.text);
        QCOMPARE(items.at(i).kind(), seen.kind);
        QCOMPARE(items.at(i).kind(), items.at(i).save().kind());
        QCOMPARE(items.at(i).copy(), seen.copy);
    }
}

void TestShelf::action_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<bool>("trashed");
    QTest::addColumn<std::optional<LocalCopy>>("copy");
    QTest::addColumn<Quality>("quality");
    QTest::addColumn<Action>("action");

    const PostLink x = xLink(QStringLiteral("a"), QStringLiteral("1"));
    const PostLink web = webLink(QStringLiteral("https://example.com/a"));
    const LocalCopy here = LocalCopy::onThisComputer({LocalFile{QStringLiteral("f"), 1}});
    const std::optional<LocalCopy> none;
    QTest::newRow("trashed, whatever its copy") << post(x, {video(1)}) << true << std::optional(here) << Quality(Quality::original)
                                                << Action::restore();
    QTest::newRow("trashed without media") << post(web) << true << none << Quality(Quality::original) << Action::restore();
    QTest::newRow("web without media") << post(web) << false << none << Quality(Quality::original) << Action::open();
    QTest::newRow("web without media, a copy recorded")
        << post(web) << false << std::optional(here) << Quality(Quality::original) << Action::open();
    QTest::newRow("x without media") << post(x) << false << std::optional(LocalCopy::failed(DownloadFailure::unreachable))
                                     << Quality(Quality::original) << Action::openOnX();
    QTest::newRow("no copy: download at the quality")
        << post(x, {videoWithHd(), image(100)}) << false << none << Quality(Quality::hd) << Action::download(600);
    QTest::newRow("no copy: download original")
        << post(x, {videoWithHd(), image(100)}) << false << none << Quality(Quality::original) << Action::download(900);
    QTest::newRow("stored link only") << post(web, {page(7)}) << false << std::optional(LocalCopy::linkOnly())
                                      << Quality(Quality::small) << Action::download(7);
    QTest::newRow("downloading a quarter") << post(x, {image(100)}) << false
                                           << std::optional(LocalCopy::downloading(25, 100)) << Quality(Quality::original)
                                           << Action::downloading(0.25);
    QTest::newRow("downloading 0 of 0") << post(x, {image(0)}) << false << std::optional(LocalCopy::downloading(0, 0))
                                        << Quality(Quality::original) << Action::downloading(1.0);
    QTest::newRow("failed") << post(x, {image(1)}) << false << std::optional(LocalCopy::failed(DownloadFailure::couldNotWrite))
                            << Quality(Quality::original) << Action::retry();
    QTest::newRow("video here") << post(x, {image(1), video(1)}) << false << std::optional(here)
                                << Quality(Quality::original) << Action::play();
    QTest::newRow("images here") << post(x, {image(1)}) << false << std::optional(here) << Quality(Quality::original)
                                 << Action::open();
    QTest::newRow("page and video here open") << post(x, {video(1), page(1)}) << false << std::optional(here)
                                              << Quality(Quality::original) << Action::open();
}

void TestShelf::action()
{
    QFETCH(Post, post);
    QFETCH(bool, trashed);
    QFETCH(std::optional<LocalCopy>, copy);
    QFETCH(Quality, quality);
    QFETCH(Action, action);
    SaveSpec spec(1, post, kNow);
    if (trashed)
        spec.trashed(kNow);
    const Shelf shelf = oneSave(makeSave(spec), copy, quality);
    const auto item = shelf.item(post.link);
    QVERIFY(item);
    QCOMPARE(item->action(), action);
    QCOMPARE(qHash(item->action()), qHash(action));
}

void TestShelf::pictures_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<std::optional<LocalCopy>>("copy");
    QTest::addColumn<QStringList>("pictures");

    const PostLink x = xLink(QStringLiteral("a"), QStringLiteral("1"));
    const QString preview = QStringLiteral("https://pbs.example.com/preview.jpg");
    const QString first = QStringLiteral("https://pbs.example.com/first.jpg");
    const QString second = QStringLiteral("https://pbs.example.com/second.jpg");
    const std::vector<Attachment> twoImages{image(1, first), image(2, second)};
    const LocalCopy twoFiles = LocalCopy::onThisComputer({LocalFile{QStringLiteral("a_1.jpg"), 1}, LocalFile{QStringLiteral("a_1_2.jpg"), 2}});

    QTest::newRow("two images, no copy") << post(x, twoImages, preview) << std::optional<LocalCopy>()
                                         << QStringList{preview, second};
    QTest::newRow("two images, no preview") << post(x, twoImages) << std::optional<LocalCopy>()
                                            << QStringList{QStringLiteral("-"), second};
    QTest::newRow("two images here") << post(x, twoImages, preview) << std::optional(twoFiles)
                                     << QStringList{mediaFile(QStringLiteral("a_1.jpg")), mediaFile(QStringLiteral("a_1_2.jpg"))};
    QTest::newRow("two images, one file")
        << post(x, twoImages, preview) << std::optional(LocalCopy::onThisComputer({LocalFile{QStringLiteral("a_1.jpg"), 1}}))
        << QStringList{mediaFile(QStringLiteral("a_1.jpg")), second};
    QTest::newRow("two images downloading") << post(x, twoImages, preview) << std::optional(LocalCopy::downloading(1, 3))
                                            << QStringList{preview, second};
    QTest::newRow("two videos") << post(x, {video(1), video(2)}, preview) << std::optional(twoFiles)
                                << QStringList{preview, QStringLiteral("-")};
    QTest::newRow("one page") << post(x, {page(1)}, preview) << std::optional<LocalCopy>() << QStringList{preview};
    QTest::newRow("image and video here") << post(x, {image(1, first), video(2)}, preview) << std::optional(twoFiles)
                                          << QStringList{mediaFile(QStringLiteral("a_1.jpg")), preview};
    QTest::newRow("video then image, no copy") << post(x, {video(1), image(2, second)}, preview)
                                               << std::optional<LocalCopy>() << QStringList{preview, second};
    QTest::newRow("no attachments") << post(x, {}, preview) << std::optional<LocalCopy>() << QStringList{};
}

void TestShelf::pictures()
{
    QFETCH(Post, post);
    QFETCH(std::optional<LocalCopy>, copy);
    QFETCH(QStringList, pictures);
    const auto item = oneSave(makeSave(1, post, kNow), copy).item(post.link);
    QVERIFY(item);
    QCOMPARE(pictureTexts(*item), pictures);
}

void TestShelf::videoFile_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<QString>("file");   // empty: none
    const LocalCopy ab = LocalCopy::onThisComputer({LocalFile{QStringLiteral("a"), 1}, LocalFile{QStringLiteral("b"), 2}});
    const LocalCopy a = LocalCopy::onThisComputer({LocalFile{QStringLiteral("a"), 1}});
    QTest::newRow("image then video, two files") << std::vector{image(1), video(2)} << ab << "b";
    QTest::newRow("image then video, one file") << std::vector{image(1), video(2)} << a << "";
    QTest::newRow("two videos: only the first counts") << std::vector{video(1), video(2)} << ab << "a";
    QTest::newRow("no video") << std::vector{image(1), image(2)} << ab << "";
    QTest::newRow("video not here") << std::vector{video(1)} << LocalCopy::downloading(0, 1) << "";
    QTest::newRow("video failed") << std::vector{video(1)} << LocalCopy::failed(DownloadFailure::unreachable) << "";
}

void TestShelf::videoFile()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(LocalCopy, copy);
    QFETCH(QString, file);
    const Post p = post(xLink(QStringLiteral("a"), QStringLiteral("1")), attachments);
    const auto item = oneSave(makeSave(1, p, kNow), copy).item(p.link);
    QVERIFY(item);
    const auto video = item->videoFile();
    QCOMPARE(video ? video->name : QString(), file);
}

void TestShelf::settersReplaceWhatTheItemWorksOut()
{
    const Post p = post(xLink(QStringLiteral("a"), QStringLiteral("1")), {videoWithHd(), image(100)},
                        QStringLiteral("https://pbs.example.com/p.png"));
    const auto built = oneSave(makeSave(1, p, kNow), std::nullopt).item(p.link);
    QVERIFY(built);
    ShelfItem item = *built;
    QCOMPARE(item, *built);
    item.setCover(std::nullopt);
    QCOMPARE(item.cover(), std::nullopt);
    QVERIFY(item != *built);
    // The pictures stay those the item was built with: the cover it had for the video, the
    // image's own address; pictures set by hand stay as set.
    QCOMPARE(pictureTexts(item), (QStringList{QStringLiteral("https://pbs.example.com/p.png"), QStringLiteral("https://pbs.example.com/a.jpg")}));
    item.setPictures({url(QStringLiteral("https://other.example/x.png"))});
    QCOMPARE(pictureTexts(item), QStringList{QStringLiteral("https://other.example/x.png")});
    item.setQuality(Quality::hd);
    QCOMPARE(item.action(), Action::download(600));

    // An item given pictures still reads its cover through its shelf's covers, and the files of
    // its copy from the shelf's folder.
    Covers kept(url(kCoversRoot));
    kept.insert(QStringLiteral("a_1.png"));
    const Save save = makeSave(1, p, kNow);
    const Shelf covered = oneSave(save, LocalCopy::onThisComputer({LocalFile{QStringLiteral("a_1.mp4"), 1},
                                                                   LocalFile{QStringLiteral("a_1.jpg"), 1}}),
                                  Quality::original, kept);
    ShelfItem pictured = covered.item(save);
    const std::optional<Url> keptCover = pictured.cover();
    QVERIFY(keptCover && keptCover->isLocalFile());
    const auto builtPictures = pictured.pictures();
    QCOMPARE(builtPictures.size(), std::size_t(2));
    QVERIFY(builtPictures.at(1) && builtPictures.at(1)->toLocalFile().endsWith(QStringLiteral("/a_1.jpg")));
    pictured.setPictures({std::nullopt});
    QCOMPARE(pictured.cover(), keptCover);
    pictured.setCover(std::nullopt);
    QCOMPARE(pictured.cover(), std::nullopt);
    QCOMPARE(pictured.pictures(), (std::vector<std::optional<Url>>{std::nullopt}));
}

void TestShelf::itemEquality_data()
{
    QTest::addColumn<QString>("other");
    QTest::addColumn<bool>("equal");
    QTest::newRow("a copy of the item") << "copy" << true;
    QTest::newRow("made again by the same shelf") << "again" << true;
    QTest::newRow("made by a shelf of equal inputs") << "equal shelf" << true;
    QTest::newRow("the same cover set on both") << "same cover set" << true;
    QTest::newRow("a cover set on one") << "cover set" << false;
    QTest::newRow("pictures set on one") << "pictures set" << false;
    QTest::newRow("another quality") << "quality" << false;
    QTest::newRow("its cover kept by the other shelf") << "cover kept" << false;
    QTest::newRow("another copy") << "copy here" << false;
    QTest::newRow("the save changed") << "favourite" << false;
}

void TestShelf::itemEquality()
{
    QFETCH(QString, other);
    QFETCH(bool, equal);
    const Post p = post(xLink(QStringLiteral("a"), QStringLiteral("1")), {image(100)}, QStringLiteral("https://pbs.example.com/p.png"));
    const Save save = makeSave(1, p, kNow);
    const Shelf shelf = oneSave(save, std::nullopt, Quality::original, Covers(url(kCoversRoot)));
    ShelfItem item = shelf.item(save);
    ShelfItem compared = item;
    if (other == u"again") {
        compared = shelf.item(save);
    } else if (other == u"equal shelf") {
        compared = oneSave(save, std::nullopt, Quality::original, Covers(url(kCoversRoot))).item(save);
    } else if (other == u"same cover set") {
        item.setCover(url(QStringLiteral("https://other.example/c.png")));
        compared = shelf.item(save);
        compared.setCover(url(QStringLiteral("https://other.example/c.png")));
    } else if (other == u"cover set") {
        compared.setCover(url(QStringLiteral("https://other.example/c.png")));
    } else if (other == u"pictures set") {
        compared.setPictures({std::nullopt});
    } else if (other == u"quality") {
        compared.setQuality(Quality::hd);
    } else if (other == u"cover kept") {
        Covers kept(url(kCoversRoot));
        kept.insert(QStringLiteral("a_1.png"));
        compared = oneSave(save, std::nullopt, Quality::original, kept).item(save);
    } else if (other == u"copy here") {
        compared = oneSave(save, LocalCopy::onThisComputer({LocalFile{QStringLiteral("a_1.jpg"), 1}}), Quality::original,
                           Covers(url(kCoversRoot)))
                       .item(save);
    } else if (other == u"favourite") {
        Save changed = makeSave(SaveSpec(1, p, kNow).favourite());
        compared = oneSave(changed, std::nullopt, Quality::original, Covers(url(kCoversRoot))).item(changed);
    }
    QCOMPARE(item == compared, equal);
    QCOMPARE(compared == item, equal);
}

void TestShelf::listsAskedAgainAreShared_data()
{
    // Lists asked for in turn, each a filter and a search text; the last is the first asked again.
    QTest::addColumn<QList<Filter>>("filters");
    QTest::addColumn<QStringList>("searches");
    QTest::addColumn<bool>("copyOfShelf");
    QTest::addColumn<bool>("shared");
    const Filter all = Filter::all();
    QTest::newRow("the same filter again") << QList<Filter>{all, all} << QStringList{"", ""} << false << true;
    QTest::newRow("the same search again") << QList<Filter>{all, all} << QStringList{"ann", "ann"} << false << true;
    QTest::newRow("by a copy of the shelf") << QList<Filter>{all, all} << QStringList{"ann", "ann"} << true << true;
    QTest::newRow("after others") << QList<Filter>{all, Filter::trash(), Filter::favourites(), all}
                                  << QStringList{"", "", "", ""} << false << true;
    QTest::newRow("after a longer search") << QList<Filter>{all, all, all, all}
                                           << QStringList{"a", "an", "ann", "a"} << false << true;
    QTest::newRow("another search text") << QList<Filter>{all, all} << QStringList{"ann", "ann "} << false << false;
    QTest::newRow("another filter") << QList<Filter>{all, Filter::trash()} << QStringList{"", ""} << false << false;
    QList<Filter> many{all};
    QStringList texts{""};
    for (int i = 0; i < int(Shelf::listsKept); ++i) {
        many.append(all);
        texts.append(QStringLiteral("x%1").arg(i));
    }
    many.append(all);
    texts.append("");
    QTest::newRow("after more lists than are kept") << many << texts << false << false;
    // All (5), recently added (4), on this computer (1): the older lists hold 10 items, more than
    // the library's 7 saves but fewer than three times that.
    QTest::newRow("after lists of more items than the library has saves")
        << QList<Filter>{all, Filter::recentlyAdded(), Filter::onThisComputer(), all} << QStringList{"", "", "", ""}
        << false << true;
    // Six lists of the five live saves (searches of white space only find every save): the older
    // ones would hold 25 items, over three times the library's 7 saves.
    QTest::newRow("after lists of over three times the library's saves")
        << QList<Filter>(7, all) << QStringList{"", " ", "  ", "   ", "    ", "     ", ""} << false << false;
}

void TestShelf::listsAskedAgainAreShared()
{
    QFETCH(QList<Filter>, filters);
    QFETCH(QStringList, searches);
    QFETCH(bool, copyOfShelf);
    QFETCH(bool, shared);
    const Shelf shelf = sampleShelf();
    const QList<ShelfItem> first = shelf.items(filters.first(), searches.first());
    for (qsizetype i = 1; i + 1 < filters.size(); ++i)
        (void)shelf.items(filters.at(i), searches.at(i));
    const Shelf copy = shelf;
    const Shelf &asked = copyOfShelf ? copy : shelf;
    const QList<ShelfItem> last = asked.items(filters.last(), searches.last());
    QCOMPARE(last.isSharedWith(first), shared);
    // Kept or made anew, the list is the one a fresh shelf makes.
    QCOMPARE(last, sampleShelf().items(filters.last(), searches.last()));
}

void TestShelf::listsLetGoElsewhere_data()
{
    QTest::addColumn<int>("lists");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("several") << 3;
}

// The lists handed over are let go of (the caller's copies are then theirs alone) while the
// caller's copies stay whole.
void TestShelf::listsLetGoElsewhere()
{
    QFETCH(int, lists);
    const Shelf shelf = sampleShelf();
    const QList<Filter> filters{Filter::all(), Filter::trash(), Filter::favourites()};
    std::vector<QList<ShelfItem>> handed;
    QList<QList<ShelfItem>> kept;
    for (int i = 0; i < lists; ++i) {
        // A list of its own, not one the shelf keeps.
        const QList<ShelfItem> items = shelf.items(filters.at(i));
        handed.emplace_back(items.cbegin(), items.cend());
        kept.append(handed.back());
        QVERIFY(!kept.last().isDetached());
    }
    ShelfItem::letGoElsewhere(std::move(handed));
    QThreadPool::globalInstance()->waitForDone();
    for (int i = 0; i < lists; ++i) {
        QVERIFY(kept[i].isDetached());
        QCOMPARE(kept.at(i), sampleShelf().items(filters.at(i)));
    }
}

void TestShelf::cover_data()
{
    QTest::addColumn<std::optional<QString>>("preview");
    QTest::addColumn<std::optional<Covers>>("covers");
    QTest::addColumn<QString>("cover");   // empty: none
    const QString preview = QStringLiteral("https://pbs.example.com/p.png");
    Covers kept(url(kCoversRoot));
    kept.insert(QStringLiteral("a_1.png"));
    Covers other(url(kCoversRoot));
    other.insert(QStringLiteral("a_2.png"));
    QTest::newRow("cover kept") << std::optional(preview) << std::optional(kept) << kCoversRoot + QStringLiteral("/a_1.png");
    QTest::newRow("cover not kept") << std::optional(preview) << std::optional(other) << preview;
    QTest::newRow("no covers") << std::optional(preview) << std::optional<Covers>() << preview;
    QTest::newRow("no preview, cover name present")
        << std::optional<QString>() << std::optional(kept) << QString();
    QTest::newRow("no preview, no covers") << std::optional<QString>() << std::optional<Covers>() << QString();
}

void TestShelf::cover()
{
    QFETCH(std::optional<QString>, preview);
    QFETCH(std::optional<Covers>, covers);
    QFETCH(QString, cover);
    const Post p = post(xLink(QStringLiteral("A"), QStringLiteral("1")), {page(1)}, preview);
    const auto item = oneSave(makeSave(1, p, kNow), std::nullopt, Quality::original, covers).item(p.link);
    QVERIFY(item);
    QCOMPARE(item->cover() ? item->cover()->text() : QString(), cover);
    // A page's picture is the cover.
    QCOMPARE(item->pictures().at(0), item->cover());
}

void TestShelf::home_data()
{
    // Saves 1, 2, ... in library order, each with its age in days (negative: after now) and
    // whether it is trashed.
    QTest::addColumn<QList<double>>("ages");
    QTest::addColumn<QList<int>>("trashed");
    QTest::addColumn<int>("latest");   // 0: none
    QTest::addColumn<QStringList>("recent");
    QTest::addColumn<QStringList>("rest");
    QTest::newRow("empty") << QList<double>{} << QList<int>{} << 0 << ids({}) << ids({});
    QTest::newRow("one save of today") << QList<double>{0} << QList<int>{} << 1 << ids({}) << ids({});
    QTest::newRow("six recent saves") << QList<double>{0, 1, 2, 3, 4, 5} << QList<int>{} << 1 << ids({2, 3, 4, 5})
                                      << ids({6});
    QTest::newRow("newest is ten days old") << QList<double>{10, 11, 12} << QList<int>{} << 1 << ids({}) << ids({2, 3});
    QTest::newRow("recent and old mixed") << QList<double>{1, 30, 2, 40, 3} << QList<int>{} << 1 << ids({3, 5})
                                          << ids({2, 4});
    QTest::newRow("trashed saves stand nowhere") << QList<double>{0, 1, 2, 3} << QList<int>{1, 3} << 2 << ids({4})
                                                 << ids({});
    QTest::newRow("a save dated after now is recent") << QList<double>{-1, -0.5, 8} << QList<int>{} << 1 << ids({2})
                                                      << ids({3});
    QTest::newRow("all trashed") << QList<double>{0, 1} << QList<int>{1, 2} << 0 << ids({}) << ids({});
}

void TestShelf::home()
{
    QFETCH(QList<double>, ages);
    QFETCH(QList<int>, trashed);
    QFETCH(int, latest);
    QFETCH(QStringList, recent);
    QFETCH(QStringList, rest);
    Library library;
    for (int i = 0; i < ages.size(); ++i) {
        SaveSpec spec(i + 1, post(xLink(QStringLiteral("a"), QString::number(i + 1)), {image(1)}), kNow - ages[i] * kDay);
        if (trashed.contains(i + 1))
            spec.trashed(kNow);
        library.saves.append(makeSave(spec));
    }
    const Shelf shelf(library, media(CopyTable()), std::nullopt, Date{kNow}, Quality::original);
    const Home home = shelf.home();
    QCOMPARE(home.latest() ? home.latest()->save().id().text() : QString(), latest ? saveID(latest).text() : QString());
    QCOMPARE(itemIds(home.recentlyAdded()), recent);
    QCOMPARE(itemIds(home.rest()), rest);
    // Every live save stands exactly once.
    QCOMPARE((home.latest() ? 1 : 0) + home.recentlyAdded().size() + home.rest().size(), shelf.count(Filter::all()));
    QCOMPARE(shelf.home(), home);
}

void TestShelf::missing()
{
    const Shelf original = sampleShelf(Quality::original);
    QCOMPARE(itemIds(original.missing()), ids({2, 3}));
    QCOMPARE(original.missing(), original.items(Filter::linkOnly()));
    // The page's 300 bytes and the two images' 100 + 200; the failed copy counts.
    QCOMPARE(original.missingBytes(), 600);

    // At a lower quality the video's rendition is what counts.
    Library library = sampleLibrary();
    const Shelf withVideo(library, media(copies({{xLink(QStringLiteral("Bob"), QStringLiteral("2")), LocalCopy::downloading(0, 1)}})),
                          std::nullopt, Date{kNow}, Quality::hd);
    QCOMPARE(itemIds(withVideo.missing()), ids({1, 2, 5}));
    QCOMPARE(withVideo.missingBytes(), 500 + 300 + 100);
}

void TestShelf::missingBytesSaturate()
{
    constexpr auto huge = std::numeric_limits<std::int64_t>::max() - 10;
    Library library;
    library.saves = {makeSave(1, post(xLink(QStringLiteral("a"), QStringLiteral("1")), {image(huge)})),
                     makeSave(2, post(xLink(QStringLiteral("a"), QStringLiteral("2")), {image(huge)}))};
    const Shelf shelf(library, media(CopyTable()), std::nullopt, Date{kNow}, Quality::original);
    QCOMPARE(shelf.missingBytes(), std::numeric_limits<std::int64_t>::max());
}

void TestShelf::filterEqualityAndHash()
{
    QCOMPARE(Filter::author(Handle{QStringLiteral("Ann")}), Filter::author(Handle{QStringLiteral("aNN")}));
    QCOMPARE(qHash(Filter::author(Handle{QStringLiteral("Ann")})), qHash(Filter::author(Handle{QStringLiteral("aNN")})));
    QVERIFY(Filter::author(Handle{QStringLiteral("Ann")}) != Filter::author(Handle{QStringLiteral("Anne")}));
    QVERIFY(Filter::kind(Kind::video) != Filter::kind(Kind::images));
    QVERIFY(Filter::source(Source::x) != Filter::source(Source::web));
    QVERIFY(Filter::collection(kReading) != Filter::collection(Collection::ID::random()));
    QCOMPARE(Filter::collection(kReading), Filter::collection(Collection::ID(kReading.raw())));
    QVERIFY(Filter::all() != Filter::recentlyAdded());
    QVERIFY(Filter::onThisComputer() != Filter::linkOnly());
    // Cases hash apart even without a payload.
    QVERIFY(qHash(Filter::all()) != qHash(Filter::trash()));
}

QTEST_GUILESS_MAIN(TestShelf)
#include "tst_shelf.moc"
