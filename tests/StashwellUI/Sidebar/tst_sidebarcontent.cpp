// The sidebar's content against the shelf's own answers, on generated libraries and on small
// hand-made ones.

#include "StashwellUI/Sidebar/SidebarContent.h"

#include "LibraryGenerator.h"
#include "PresentationFixtures.h"

#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "StashKit/Archive.h"
#include "Shelf/Shelf.h"

#include <QTest>

using namespace sw;

namespace {

const Date kNow{760000000};
constexpr std::int64_t kLimit = std::int64_t(5) << 30;

Shelf shelfOf(const Library &library, const CopyTable &copies = {})
{
    const LocalMedia media =
        LocalMedia::restoring(MediaFolder(Url::fromLocalFile(QStringLiteral("/tmp/stashwell-media"))), DiskBudget{kLimit}, copies);
    return Shelf(library, media, std::nullopt, kNow, Quality::original);
}

Post xPost(const QString &name, const QString &handle, int status, std::vector<Attachment> attachments = {})
{
    Post post = fixtures::post(fixtures::xLink(handle, QString::number(status)), std::move(attachments));
    post.author = Author{name, Handle{handle}, std::nullopt};
    return post;
}

Save saved(Post post, int n, double savedAt = 759000000) { return fixtures::save(std::move(post), n, Date{savedAt}); }

}  // namespace

class TestSidebarContent : public QObject {
    Q_OBJECT
private slots:
    void agreesWithTheShelf_data();
    void agreesWithTheShelf();
    void emptyLibrary();
    void authorsComeFromXSavesOnly_data();
    void authorsComeFromXSavesOnly();
    void countLooksUpCaseInsensitiveHandles();
};

void TestSidebarContent::agreesWithTheShelf_data()
{
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("collections");
    QTest::addColumn<int>("trashed");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("small, no collections") << 40 << 0 << -1 << 7u;
    QTest::newRow("usual shape") << 1500 << 20 << -1 << 20240611u;
    QTest::newRow("fifty collections") << 3000 << 50 << -1 << 99u;
    QTest::newRow("a big trash") << 800 << 5 << 300 << 3u;
    QTest::newRow("everything trashed") << 60 << 3 << 60 << 11u;
}

void TestSidebarContent::agreesWithTheShelf()
{
    QFETCH(int, saves);
    QFETCH(int, collections);
    QFETCH(int, trashed);
    QFETCH(quint32, seed);
    bench::LibraryShape shape;
    shape.saves = saves;
    shape.collections = collections;
    shape.trashed = trashed;
    shape.seed = seed;
    shape.now = kNow;
    const Archive archive = bench::generateArchive(shape);
    const Shelf shelf = shelfOf(archive.library, archive.copies);
    const QString folder = QStringLiteral("~/Videos/Stashwell");

    const SidebarContent content(shelf, folder);

    QCOMPARE(content.collections, archive.library.collections);
    QCOMPARE(content.authors, archive.library.topAuthors(3));
    // Six fixed filters, one per collection, one per top author; each as the shelf counts it.
    QCOMPARE(content.counts.size(), 6 + content.collections.size() + content.authors.size());
    const QList<Filter> filters = SidebarContent::countedFilters(content.collections, content.authors);
    QCOMPARE(filters.size(), content.counts.size());
    for (const Filter &filter : filters) {
        QVERIFY(content.counts.contains(filter));
        QCOMPARE(content.counts.value(filter), shelf.count(filter));
    }
    QCOMPARE(content.missing, shelf.items(Filter::linkOnly(), QString()).size());
    QCOMPARE(content.onDisk, shelf.localMedia().onDisk());
    QCOMPARE(content.limit, kLimit);
    QCOMPARE(content.folder, folder);
    // Filters the sidebar does not count are not answered.
    QCOMPARE(content.count(Filter::kind(Kind::video)), std::nullopt);
    if (saves > trashed && trashed >= 0)
        QVERIFY(content.count(Filter::all()).value() > 0);
}

void TestSidebarContent::emptyLibrary()
{
    const SidebarContent content(shelfOf(Library{}), QString());
    const QList<Filter> fixed{Filter::all(),   Filter::recentlyAdded(),  Filter::favourites(),
                              Filter::trash(), Filter::onThisComputer(), Filter::linkOnly()};
    QCOMPARE(content.counts.size(), fixed.size());
    for (const Filter &filter : fixed)
        QCOMPARE(content.count(filter), std::optional<qsizetype>(0));
    QVERIFY(content.collections.isEmpty());
    QVERIFY(content.authors.isEmpty());
    QCOMPARE(content.onDisk, 0);
    QCOMPARE(content.missing, 0);
}

void TestSidebarContent::authorsComeFromXSavesOnly_data()
{
    QTest::addColumn<QList<Save>>("saves");
    QTest::addColumn<QStringList>("handles");

    QTest::newRow("web pages only") << QList<Save>{saved(fixtures::post(fixtures::webLink()), 1),
                                                   saved(fixtures::post(fixtures::webLink(QStringLiteral("https://b.example.com/"))), 2)}
                                    << QStringList();
    QTest::newRow("one author") << QList<Save>{saved(xPost(QStringLiteral("Ann"), QStringLiteral("ann"), 1), 1),
                                               saved(fixtures::post(fixtures::webLink()), 2)}
                                << QStringList{QStringLiteral("ann")};
    QTest::newRow("two authors, most saves first")
        << QList<Save>{saved(xPost(QStringLiteral("Ann"), QStringLiteral("ann"), 1), 1),
                       saved(xPost(QStringLiteral("Bo"), QStringLiteral("bo"), 2), 2),
                       saved(xPost(QStringLiteral("Bo"), QStringLiteral("BO"), 3), 3)}
        << QStringList{QStringLiteral("bo"), QStringLiteral("ann")};
    QTest::newRow("at most three")
        << QList<Save>{saved(xPost(QStringLiteral("A"), QStringLiteral("a"), 1), 1), saved(xPost(QStringLiteral("B"), QStringLiteral("b"), 2), 2),
                       saved(xPost(QStringLiteral("B"), QStringLiteral("b"), 3), 3), saved(xPost(QStringLiteral("C"), QStringLiteral("c"), 4), 4),
                       saved(xPost(QStringLiteral("C"), QStringLiteral("c"), 5), 5), saved(xPost(QStringLiteral("C"), QStringLiteral("c"), 6), 6),
                       saved(xPost(QStringLiteral("D"), QStringLiteral("d"), 7), 7), saved(xPost(QStringLiteral("D"), QStringLiteral("d"), 8), 8),
                       saved(xPost(QStringLiteral("D"), QStringLiteral("d"), 9), 9), saved(xPost(QStringLiteral("D"), QStringLiteral("d"), 10), 10)}
        << QStringList{QStringLiteral("d"), QStringLiteral("c"), QStringLiteral("b")};
}

void TestSidebarContent::authorsComeFromXSavesOnly()
{
    QFETCH(QList<Save>, saves);
    QFETCH(QStringList, handles);
    const Shelf shelf = shelfOf(Library(saves, {}));
    const SidebarContent content(shelf, QString());
    QStringList shown;
    for (const Author &author : content.authors) {
        shown.append(author.handle.name.toLower());
        QCOMPARE(content.count(Filter::author(author.handle)), std::optional<qsizetype>(shelf.count(Filter::author(author.handle))));
    }
    QCOMPARE(shown, handles);
    QCOMPARE(content.counts.size(), 6 + handles.size());
}

void TestSidebarContent::countLooksUpCaseInsensitiveHandles()
{
    const Shelf shelf = shelfOf(Library({saved(xPost(QStringLiteral("Ann"), QStringLiteral("Ann"), 1), 1),
                                         saved(xPost(QStringLiteral("Ann"), QStringLiteral("ann"), 2), 2)},
                                        {}));
    const SidebarContent content(shelf, QString());
    QCOMPARE(content.count(Filter::author(Handle{QStringLiteral("ANN")})), std::optional<qsizetype>(2));
}

QTEST_MAIN(TestSidebarContent)
#include "tst_sidebarcontent.moc"
