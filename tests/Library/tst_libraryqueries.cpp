#include "Library/Library.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"

#include <QTest>

using namespace sw;
using namespace sw::fixtures;

namespace {

// Nine saves, newest first (ids 1..9), covering every filter:
//  1 x  ann   video   favourite, filed in C1
//  2 x  ANN   images  trashed favourite, filed in C1
//  3 web      page
//  4 x  bob   text    filed in C2
//  5 x  Ann   text    favourite
//  6 web      images  trashed
//  7 x  cid   video   filed in C1
//  8 x  bob   page
//  9 web      text    favourite
Library sampleLibrary()
{
    Library library;
    library.collections = {Collection{collectionID(1), QStringLiteral("C1"), Swatch::amber},
                           Collection{collectionID(2), QStringLiteral("C2"), Swatch::blue}};
    auto add = [&](int id, Post post, std::vector<Attachment> media, std::optional<Collection::ID> in = std::nullopt) {
        post.attachments = std::move(media);
        keepNew(library, post, 1000 - id, id, in);
    };
    add(1, postOnX(QStringLiteral("ann"), QStringLiteral("1"), QStringLiteral("t"), QStringLiteral("Ann One")),
        {video(800), image(100)}, collectionID(1));
    add(2, postOnX(QStringLiteral("ANN"), QStringLiteral("2")), {image(100), image(100)}, collectionID(1));
    add(3, pageAt(QStringLiteral("https://a.example.com/3")), {page(50)});
    add(4, postOnX(QStringLiteral("bob"), QStringLiteral("4")), {}, collectionID(2));
    add(5, postOnX(QStringLiteral("Ann"), QStringLiteral("5"), QStringLiteral("t"), QStringLiteral("Ann Five")), {});
    add(6, pageAt(QStringLiteral("https://a.example.com/6")), {image(100)});
    add(7, postOnX(QStringLiteral("cid"), QStringLiteral("7")), {video(800)}, collectionID(1));
    add(8, postOnX(QStringLiteral("bob"), QStringLiteral("8")), {image(100), page(50)});
    add(9, pageAt(QStringLiteral("https://a.example.com/9")), {});
    for (int id : {1, 2, 5, 9})
        library.favourite(saveID(id));
    library.trash(saveID(2), Date{2000});
    library.trash(saveID(6), Date{1500});
    return library;
}

}  // namespace

class TestLibraryQueries : public QObject {
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void emptyLibrary();
    void recentlyAdded_data();
    void recentlyAdded();
    void topAuthors_data();
    void topAuthors();
    void topAuthorsFoldsHandleCase();
    void handlesCompareUnderCanonicalEquivalence_data();
    void handlesCompareUnderCanonicalEquivalence();
};

void TestLibraryQueries::filters_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<Save::ID>>("expected");
    QTest::newRow("live") << "live" << saveIDs({1, 3, 4, 5, 7, 8, 9});
    QTest::newRow("trash") << "trash" << saveIDs({2, 6});
    QTest::newRow("favourites") << "favourites" << saveIDs({1, 5, 9});
    QTest::newRow("filed in C1") << "filed C1" << saveIDs({1, 7});
    QTest::newRow("filed in C2") << "filed C2" << saveIDs({4});
    QTest::newRow("filed in none") << "filed C9" << saveIDs({});
    QTest::newRow("by ann") << "by ann" << saveIDs({1, 5});
    QTest::newRow("by Ann") << "by Ann" << saveIDs({1, 5});
    QTest::newRow("by ANN") << "by ANN" << saveIDs({1, 5});
    QTest::newRow("by @ann") << "by @ann" << saveIDs({});
    QTest::newRow("by bob") << "by bob" << saveIDs({4, 8});
    QTest::newRow("by a web site's handle") << "by example.com" << saveIDs({3, 9});
    QTest::newRow("of video") << "of video" << saveIDs({1, 7});
    QTest::newRow("of images") << "of images" << saveIDs({});
    QTest::newRow("of text") << "of text" << saveIDs({4, 5, 9});
    QTest::newRow("of page") << "of page" << saveIDs({3, 8});
    QTest::newRow("from x") << "from x" << saveIDs({1, 4, 5, 7, 8});
    QTest::newRow("from web") << "from web" << saveIDs({3, 9});
}

void TestLibraryQueries::filters()
{
    QFETCH(QString, query);
    QFETCH(QList<Save::ID>, expected);
    const Library library = sampleLibrary();
    const QStringList parts = query.split(u' ');
    QList<Save> result;
    if (query == u"live")
        result = library.live();
    else if (query == u"trash")
        result = library.trash();
    else if (query == u"favourites")
        result = library.favourites();
    else if (parts[0] == u"filed")
        result = library.filed(collectionID(parts[1].mid(1).toInt()));
    else if (parts[0] == u"by")
        result = library.live(Handle{parts[1]});
    else if (parts[0] == u"of")
        result = library.live(Kind(*[&]() -> std::optional<Kind> {
            for (Kind k : Kind::allCases())
                if (k.name() == parts[1])
                    return k;
            return std::nullopt;
        }()));
    else if (parts[0] == u"from")
        result = library.live(parts[1] == u"x" ? Source(Source::x) : Source(Source::web));
    else
        QFAIL("unknown query");
    QCOMPARE(idsOf(result), expected);
    // The queries read only.
    QCOMPARE(library, sampleLibrary());
}

void TestLibraryQueries::emptyLibrary()
{
    const Library empty;
    QVERIFY(empty.live().isEmpty());
    QVERIFY(empty.trash().isEmpty());
    QVERIFY(empty.favourites().isEmpty());
    QVERIFY(empty.recentlyAdded(Date{0}).isEmpty());
    QVERIFY(empty.filed(collectionID(1)).isEmpty());
    QVERIFY(empty.live(Handle{QStringLiteral("a")}).isEmpty());
    QVERIFY(empty.live(Kind(Kind::text)).isEmpty());
    QVERIFY(empty.live(Source(Source::web)).isEmpty());
    QVERIFY(empty.topAuthors(3).isEmpty());
}

void TestLibraryQueries::recentlyAdded_data()
{
    QTest::addColumn<double>("age");   // now minus savedAt, in seconds
    QTest::addColumn<bool>("recent");
    QTest::newRow("just now") << 0.0 << true;
    QTest::newRow("six days") << 6 * 86400.0 << true;
    QTest::newRow("exactly seven days") << 604800.0 << true;
    QTest::newRow("a millisecond older") << 604800.001 << false;
    QTest::newRow("a month") << 30 * 86400.0 << false;
    QTest::newRow("an hour in the future") << -3600.0 << true;
}

void TestLibraryQueries::recentlyAdded()
{
    QFETCH(double, age);
    QFETCH(bool, recent);
    const Date now{750000000};
    Library library;
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), now.sinceReference - age, 1);
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("2")), now.sinceReference - age, 2);
    library.trash(saveID(2), now);
    QCOMPARE(idsOf(library.recentlyAdded(now)), recent ? saveIDs({1}) : saveIDs({}));
}

void TestLibraryQueries::topAuthors_data()
{
    // Each save: handle (empty for a web save), saved time, trashed.
    QTest::addColumn<QStringList>("saves");
    QTest::addColumn<qsizetype>("limit");
    QTest::addColumn<QStringList>("expected");   // handle names of the authors returned
    QTest::newRow("3, 1 and 2 saves") << QStringList{"b:90", "a:80", "c:70", "a:60", "c:50", "a:40"} << qsizetype(3)
                                      << QStringList{"a", "c", "b"};
    QTest::newRow("tie broken by newest save") << QStringList{"old:90", "new:95", "old:10", "new:20"} << qsizetype(3)
                                               << QStringList{"new", "old"};
    QTest::newRow("limit cuts") << QStringList{"a:9", "a:8", "b:7", "c:6"} << qsizetype(1) << QStringList{"a"};
    QTest::newRow("limit 0") << QStringList{"a:9"} << qsizetype(0) << QStringList{};
    QTest::newRow("limit above count") << QStringList{"a:9", "b:8", "b:7"} << qsizetype(3) << QStringList{"b", "a"};
    QTest::newRow("web saves never count") << QStringList{":9", ":8", ":7", "a:6"} << qsizetype(3) << QStringList{"a"};
    QTest::newRow("only web saves") << QStringList{":9", ":8"} << qsizetype(3) << QStringList{};
    QTest::newRow("trashed saves never count") << QStringList{"a:9:t", "a:8:t", "b:7", "a:6"} << qsizetype(3)
                                               << QStringList{"b", "a"};
    QTest::newRow("all trashed") << QStringList{"a:9:t"} << qsizetype(3) << QStringList{};
}

void TestLibraryQueries::topAuthors()
{
    QFETCH(QStringList, saves);
    QFETCH(qsizetype, limit);
    QFETCH(QStringList, expected);
    Library library;
    int id = 0;
    for (const QString &spec : saves) {
        const QStringList f = spec.split(u':');
        ++id;
        const Post post = f[0].isEmpty() ? pageAt(QStringLiteral("https://w.example.com/%1").arg(id))
                                         : postOnX(f[0], QString::number(id));
        // Placed directly, in the order given, so the test controls library order.
        library.saves.append(Save(saveID(id), post, Date{f[1].toDouble()}));
        if (f.size() > 2)
            library.trash(saveID(id), Date{1000});
    }
    QStringList got;
    for (const Author &a : library.topAuthors(limit))
        got.append(a.handle.name);
    QCOMPARE(got, expected);
}

void TestLibraryQueries::topAuthorsFoldsHandleCase()
{
    Library library;
    // Library order: two by "ann", then one by "Ann"; one by "bob".
    library.saves.append(Save(saveID(1), postOnX(QStringLiteral("ann"), QStringLiteral("1"), {}, QStringLiteral("First")),
                              Date{30}));
    library.saves.append(Save(saveID(2), postOnX(QStringLiteral("bob"), QStringLiteral("2")), Date{25}));
    library.saves.append(Save(saveID(3), postOnX(QStringLiteral("ann"), QStringLiteral("3"), {}, QStringLiteral("Second")),
                              Date{20}));
    library.saves.append(Save(saveID(4), postOnX(QStringLiteral("Ann"), QStringLiteral("4"), {}, QStringLiteral("Last")),
                              Date{10}));
    const QList<Author> top = library.topAuthors(3);
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(0).name, QStringLiteral("Last"));
    QCOMPARE(top.at(0).handle.name, QStringLiteral("Ann"));
    QCOMPARE(top.at(1).handle.name, QStringLiteral("bob"));
    // Through the sample library: ann and Ann share an entry, the trashed ANN save does not count.
    const QList<Author> sample = sampleLibrary().topAuthors(3);
    QCOMPARE(sample.size(), 3);
    QCOMPARE(sample.at(0).name, QStringLiteral("Ann Five"));
    QCOMPARE(sample.at(1).handle.name, QStringLiteral("bob"));
    QCOMPARE(sample.at(2).handle.name, QStringLiteral("cid"));
}

void TestLibraryQueries::handlesCompareUnderCanonicalEquivalence_data()
{
    // Two saves by one author whose handle is written once with a composed and once with a
    // decomposed accent, beside a save by another author.
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("asked");
    QTest::newRow("composed, then decomposed") << QStringLiteral("Jos\u00e9") << QStringLiteral("jose\u0301")
                                               << QStringLiteral("JOS\u00c9");
    QTest::newRow("decomposed, then composed") << QStringLiteral("Jose\u0301") << QStringLiteral("jos\u00e9")
                                               << QStringLiteral("jose\u0301");
    QTest::newRow("Kelvin sign and K") << QStringLiteral("\u212Aai") << QStringLiteral("kai") << QStringLiteral("KAI");
}

void TestLibraryQueries::handlesCompareUnderCanonicalEquivalence()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, asked);
    QVERIFY(Handle{first} == Handle{second});
    Library library;
    library.saves.append(Save(saveID(1), postOnX(first, QStringLiteral("1")), Date{30}));
    library.saves.append(Save(saveID(2), postOnX(QStringLiteral("other"), QStringLiteral("2")), Date{20}));
    library.saves.append(Save(saveID(3), postOnX(second, QStringLiteral("3")), Date{10}));
    QCOMPARE(idsOf(library.live(Handle{asked})), saveIDs({1, 3}));
    const QList<Author> top = library.topAuthors(3);
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(0).handle.name, second);   // one entry of two saves, with the last author record
}

QTEST_APPLESS_MAIN(TestLibraryQueries)
#include "tst_libraryqueries.moc"
