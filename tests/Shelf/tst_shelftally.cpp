// The tally brought up to date change by change, against a full count after every change and
// against the shelf's own walk; and the home's runs against the live saves they stand for.

#include "Shelf/ShelfTally.h"

#include "LibraryGenerator.h"

#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "Shelf/Shelf.h"

#include <QTest>

#include <algorithm>

#include <random>

using namespace sw;

namespace {

const Date kNow{760000000};

Shelf shelfOf(const Library &library, const CopyTable &copies, Quality quality, Date now = kNow)
{
    // Restoring drops downloads under way; the table is set as it stands instead.
    LocalMedia media = LocalMedia::restoring(MediaFolder(Url::fromLocalFile(QStringLiteral("/tmp/stashwell-media"))),
                                             DiskBudget{std::int64_t(5) << 30}, {});
    media.setCopies(copies);
    return Shelf(library, media, std::nullopt, now, quality);
}

// Every filter that can count anything in the library, and some that count nothing.
QList<Filter> filtersOf(const Library &library, const QList<Collection> &gone)
{
    QList<Filter> filters{Filter::all(),   Filter::recentlyAdded(),  Filter::favourites(),
                          Filter::trash(), Filter::onThisComputer(), Filter::linkOnly()};
    for (const Collection &collection : library.collections + gone)
        filters.append(Filter::collection(collection.id));
    for (Kind kind : Kind::allCases())
        filters.append(Filter::kind(kind));
    for (Source source : Source::allCases())
        filters.append(Filter::source(source));
    for (qsizetype i = 0; i < library.saves.size(); i += 97)
        filters.append(Filter::author(library.saves.at(i).post().author.handle));
    filters.append(Filter::author(Handle{QStringLiteral("nobody_here")}));
    return filters;
}

}  // namespace

class TestShelfTally : public QObject {
    Q_OBJECT
private slots:
    void followsEveryChangeLikeAFullCount_data();
    void followsEveryChangeLikeAFullCount();
    void homeRunsHoldEveryOtherLiveSave_data();
    void homeRunsHoldEveryOtherLiveSave();
};

void TestShelfTally::followsEveryChangeLikeAFullCount_data()
{
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("trashed");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("steps");
    QTest::newRow("usual shape") << 400 << -1 << 1u << 300;
    QTest::newRow("a big trash") << 300 << 120 << 2u << 300;
    QTest::newRow("tiny, everything trashed") << 12 << 12 << 3u << 200;
    QTest::newRow("another seed") << 500 << -1 << 20240611u << 300;
}

void TestShelfTally::followsEveryChangeLikeAFullCount()
{
    QFETCH(int, saves);
    QFETCH(int, trashed);
    QFETCH(quint32, seed);
    QFETCH(int, steps);
    bench::LibraryShape shape;
    shape.saves = saves;
    shape.trashed = trashed;
    shape.collections = 6;
    shape.seed = seed;
    shape.now = kNow;
    const Archive archive = bench::generateArchive(shape);
    shape.seed = seed + 1000;
    const Archive others = bench::generateArchive(shape);   // posts to keep

    Library library = archive.library;
    CopyTable copies = archive.copies;
    Quality quality = Quality::original;
    QList<Collection> gone;
    std::mt19937 dice(seed);
    const auto below = [&dice](qsizetype n) { return qsizetype(std::uniform_int_distribution<qsizetype>(0, n - 1)(dice)); };
    const auto anySave = [&]() -> std::optional<Save> {
        if (library.saves.isEmpty())
            return std::nullopt;
        return library.saves.at(below(library.saves.size()));
    };

    ShelfTally tally(library.saves, copies, quality);
    Shelf followed = shelfOf(library, copies, quality);
    // Shelves that list items but never count, each following the last.
    Shelf uncounted = shelfOf(library, copies, quality);
    (void)followed.tally();
    std::optional<Home> lastHome = followed.home();
    QList<ShelfItem> lastRest = lastHome->rest();
    for (int step = 0; step < steps; ++step) {
        const int kind = int(below(16));
        const std::optional<Save> some = anySave();
        const Date at = kNow.addingSeconds(double(below(1000)));
        switch (kind) {
        case 0:
            if (some)
                library.favourite(some->id());
            break;
        case 1:
            if (some)
                library.trash(some->id(), at);
            break;
        case 2:
            if (some)
                library.restore(some->id());
            break;
        case 3:
            if (some)
                library.tag(some->id(), Tag{QStringLiteral("t%1").arg(below(3))});
            break;
        case 4:
            if (some && !library.collections.isEmpty())
                (void)library.file(some->id(), below(3) == 0 ? std::nullopt
                                                             : std::optional(library.collections.at(below(library.collections.size())).id));
            break;
        case 5: {
            // Kept now, at a date within the week, or long ago (the save goes into the middle).
            const Save &post = others.library.saves.at(below(others.library.saves.size()));
            const Date when = below(2) ? kNow.addingSeconds(-double(below(86400 * 400))) : at;
            library.keep(post.post(), when, std::nullopt, Save::ID::random());
            // Its download starting in the same change, as a quick save with media does; or
            // another save's copy changing with it.
            if (below(2))
                copies.insert(post.post().link, LocalCopy::downloading(0, 100));
            else if (some)
                copies.insert(some->post().link, LocalCopy::onThisComputer({}));
            break;
        }
        case 6:
            if (below(4) == 0)
                library.emptyTrash();
            break;
        case 7:
            if (!library.collections.isEmpty()) {
                const Collection collection = library.collections.at(below(library.collections.size()));
                library.removeCollection(collection.id);
                gone.append(collection);
            } else if (!gone.isEmpty()) {
                library.reinstate(gone.takeLast(), {});
            }
            break;
        case 8:
            if (some)
                copies.insert(some->post().link, LocalCopy::onThisComputer({}));
            break;
        case 9:
            if (some)
                copies.insert(some->post().link, LocalCopy::downloading(below(100), 100));
            break;
        case 10:
            if (some)
                copies.take(some->post().link);
            break;
        case 11:
            if (some)
                copies.insert(some->post().link, LocalCopy::failed(DownloadFailure::unreachable));
            break;
        case 12:
            if (below(5) == 0)
                quality = quality == Quality::original ? Quality::small : Quality::original;
            break;
        case 13:
            // Several changes between two looks.
            for (int i = 0; i < 5; ++i)
                if (const std::optional<Save> one = anySave())
                    library.favourite(one->id());
            if (some)
                library.trash(some->id(), at);
            break;
        case 14:
            // A list in another order, as no operation makes it but an archive may hold it.
            if (library.saves.size() > 2)
                library.saves.move(below(library.saves.size()), below(library.saves.size()));
            break;
        default:
            if (some)
                library.writeNote(QStringLiteral("note %1").arg(step), some->id());
            break;
        }

        tally = tally.following(library.saves, copies, quality);
        const ShelfTally counted(library.saves, copies, quality);
        QVERIFY2(tally == counted, qPrintable(QStringLiteral("step %1, change %2").arg(step).arg(kind)));
        QCOMPARE(tally.topAuthors(), library.topAuthors(ShelfTally::authorsRanked));

        // A shelf following the last one answers from the tally; a fresh one walks.
        // Now moves on now and then; meanwhile the home keeps its runs across most changes.
        const Date now = kNow.addingSeconds(double(step / 60) * 86400 * 3);
        Shelf next = shelfOf(library, copies, quality, now);
        next.follow(followed);
        const Shelf walked = shelfOf(library, copies, quality, now);
        const QList<Filter> filters = filtersOf(library, gone);
        const QList<qsizetype> fromTally = next.counts(filters);
        for (qsizetype i = 0; i < filters.size(); ++i)
            QCOMPARE(fromTally.at(i), walked.count(filters.at(i)));
        QCOMPARE(fromTally, walked.counts(filters, {}));
        QCOMPARE(next.missingBytes(), walked.missingBytes());

        Shelf nextUncounted = shelfOf(library, copies, quality, now);
        nextUncounted.follow(uncounted);
        uncounted = nextUncounted;

        // Every filter's items, asked in a random order of a copy of the shelf (which shares what
        // the shelf read of its saves), are those the filter's own test selects, in order; and so
        // are those of a shelf that never counted, asked now and then.
        if (step % 3 == 0) {
            QList<Filter> some = filtersOf(library, gone);
            std::shuffle(some.begin(), some.end(), dice);
            for (const Filter &filter : some.mid(0, 4)) {
                QList<ShelfItem> expected;
                for (const Save &save : library.saves)
                    if (walked.selects(filter, save))
                        expected.append(walked.item(save));
                QVERIFY2(uncounted.items(filter) == expected, qPrintable(QStringLiteral("step %1, change %2, uncounted").arg(step).arg(kind)));
            }
        }
        if (step % 4 == 0) {
            QList<Filter> shuffled = filters;
            std::shuffle(shuffled.begin(), shuffled.end(), dice);
            const Shelf copy = next;
            for (const Filter &filter : shuffled) {
                QList<ShelfItem> expected;
                for (const Save &save : library.saves)
                    if (walked.selects(filter, save))
                        expected.append(walked.item(save));
                QVERIFY2(copy.items(filter) == expected, qPrintable(QStringLiteral("step %1, change %2").arg(step).arg(kind)));
            }
            // And each search of some of them: the saves the filter selects whose text holds the
            // words (notes are written as the walk goes, tags added).
            const QStringList searches{QStringLiteral("note"), QStringLiteral("note %1").arg(step - 1), QStringLiteral("t1"),
                                       library.saves.isEmpty() ? QStringLiteral("x")
                                                               : library.saves.at(below(library.saves.size())).post().author.handle.name};
            for (const Filter &filter : shuffled.mid(0, 6)) {
                for (const QString &search : searches) {
                    QList<ShelfItem> expected;
                    for (const Save &save : library.saves)
                        if (walked.selects(filter, save) && save.matches(search))
                            expected.append(walked.item(save));
                    QVERIFY2(copy.items(filter, search) == expected,
                             qPrintable(QStringLiteral("step %1, change %2, search %3").arg(step).arg(kind).arg(search)));
                }
            }
        }

        // The home's rest made from the last one's items is the rest made afresh.
        const Home home = next.home();
        const QList<ShelfItem> rest = home.rest(*lastHome, lastRest);
        QVERIFY2(rest == home.rest(), qPrintable(QStringLiteral("step %1, change %2").arg(step).arg(kind)));
        lastHome = home;
        lastRest = rest;
        followed = next;
    }
}

void TestShelfTally::homeRunsHoldEveryOtherLiveSave_data()
{
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("trashed");
    QTest::addColumn<double>("later");   // seconds from the generated library's time to now
    QTest::newRow("usual shape") << 600 << -1 << 0.0;
    QTest::newRow("a big trash") << 300 << 150 << 0.0;
    QTest::newRow("nothing recent") << 200 << 20 << 86400.0 * 3000;
    QTest::newRow("one live save") << 8 << 7 << 0.0;
    QTest::newRow("everything trashed") << 10 << 10 << 0.0;
}

void TestShelfTally::homeRunsHoldEveryOtherLiveSave()
{
    QFETCH(int, saves);
    QFETCH(int, trashed);
    QFETCH(double, later);
    bench::LibraryShape shape;
    shape.saves = saves;
    shape.trashed = trashed;
    shape.now = kNow;
    const Archive archive = bench::generateArchive(shape);
    const Date now = kNow.addingSeconds(later);
    const Shelf shelf = shelfOf(archive.library, archive.copies, Quality::original, now);
    const Home home = shelf.home();

    // The reference: the live saves in order; the first is the latest, the next recent ones
    // (at most four) the row, every other one the rest.
    QList<Save::ID> recent, rest;
    std::optional<Save::ID> latest;
    for (const Save &save : archive.library.saves) {
        if (save.isTrashed())
            continue;
        if (!latest)
            latest = save.id();
        else if (recent.size() < Home::recentShown && now.secondsSince(save.savedAt()) <= Library::recentWindow)
            recent.append(save.id());
        else
            rest.append(save.id());
    }
    const auto ids = [](const QList<ShelfItem> &items) {
        QList<Save::ID> out;
        for (const ShelfItem &item : items)
            out.append(item.save().id());
        return out;
    };
    QCOMPARE(home.latest() ? std::optional(home.latest()->save().id()) : std::nullopt, latest);
    QCOMPARE(ids(home.recentlyAdded()), recent);
    QCOMPARE(ids(home.rest()), rest);
    QCOMPARE(home.restCount(), rest.size());
    // Runs are ascending, apart and never empty.
    qsizetype end = -1;
    for (const Home::Run &run : home.restRuns()) {
        QVERIFY(run.first > end && run.first < run.last);
        end = run.last;
    }
    // The items made from the runs are those the shelf makes for the same saves.
    for (const ShelfItem &item : home.rest().first(std::min<qsizetype>(20, home.restCount())))
        QCOMPARE(item, shelf.item(item.save()));
}

QTEST_GUILESS_MAIN(TestShelfTally)
#include "tst_shelftally.moc"
