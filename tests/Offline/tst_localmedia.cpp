// Local copies of posts' media: planning under the budget, progress, completion, failure,
// letting go, reconciling with the media folder, restoring from an archive and the missing list.

#include "OfflineFixtures.h"

#include "Offline/LocalMedia.h"

#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::fixtures;

namespace {
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kGiB = std::int64_t(1) << 30;

const PostLink kOwn = xLink("Blue_Kettle", "42");

LocalCopy done(std::int64_t bytes, const QString &name = QStringLiteral("f.jpg"))
{
    return LocalCopy::onThisComputer({LocalFile{name, bytes}});
}

LocalMedia media(std::int64_t limit, const CopyTable &copies = {})
{
    LocalMedia m(MediaFolder(url("file:///tmp/media")), DiskBudget{limit});
    m.setCopies(copies);
    return m;
}

CopyTable table(std::initializer_list<std::pair<PostLink, LocalCopy>> entries)
{
    CopyTable t;
    for (const auto &[link, copy] : entries)
        t.insert(link, copy);
    return t;
}

std::vector<Rendition> renditions()
{
    return {Rendition{url("https://video.example.com/1080.mp4"), 1080, 900},
            Rendition{url("https://video.example.com/720.mp4"), 720, 500},
            Rendition{url("https://video.example.com/360.mp4"), 360, 200}};
}

// A planning outcome: the refusal, or the size reserved.
using Planned = std::variant<DownloadRefusal, std::int64_t>;
}  // namespace

Q_DECLARE_METATYPE(Planned)

class TestLocalMedia : public QObject {
    Q_OBJECT

private slots:
    void planning_data();
    void planning();
    void plannedDownloads_data();
    void plannedDownloads();
    void progress_data();
    void progress();
    void endings_data();
    void endings();
    void eventsOutsideADownloadAreIgnored_data();
    void eventsOutsideADownloadAreIgnored();
    void lettingGo_data();
    void lettingGo();
    void reconcile_data();
    void reconcile();
    void restoring();
    void missing();
    void copyByAnotherHandle();
    void copiesAreIndependent();
    void admits_data();
    void admits();
};

void TestLocalMedia::planning_data()
{
    QTest::addColumn<std::int64_t>("limit");
    QTest::addColumn<CopyTable>("copies");
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<Quality>("quality");
    QTest::addColumn<Planned>("expected");

    const PostLink other = xLink("other", "1");
    const PostLink third = webLink("https://h.example/third");
    const auto nothing = Planned(DownloadRefusal::nothingToDownload());

    QTest::newRow("no attachments") << kGiB << CopyTable{} << std::vector<Attachment>{} << Quality(Quality::original) << nothing;
    QTest::newRow("no attachments though finished") << kGiB << table({{kOwn, done(5)}}) << std::vector<Attachment>{}
                                                    << Quality(Quality::original) << nothing;
    QTest::newRow("no attachments though downloading") << kGiB << table({{kOwn, LocalCopy::downloading(0, 5)}})
                                                       << std::vector<Attachment>{} << Quality(Quality::original) << nothing;
    QTest::newRow("already downloading") << kGiB << table({{kOwn, LocalCopy::downloading(1, 5)}}) << std::vector{image(5)}
                                         << Quality(Quality::original) << Planned(DownloadRefusal::alreadyDownloading());
    QTest::newRow("already on this computer") << kGiB << table({{kOwn, done(5)}}) << std::vector{image(5)}
                                              << Quality(Quality::original) << Planned(DownloadRefusal::alreadyOnThisComputer());
    QTest::newRow("already on this computer with no files") << kGiB << table({{kOwn, LocalCopy::onThisComputer({})}}) << std::vector{image(5)}
                                                            << Quality(Quality::original) << Planned(DownloadRefusal::alreadyOnThisComputer());
    QTest::newRow("failed is planned afresh") << kGiB << table({{kOwn, LocalCopy::failed(DownloadFailure::unreachable)}})
                                              << std::vector{image(5)} << Quality(Quality::original) << Planned(std::int64_t(5));
    QTest::newRow("stored link only is planned") << kGiB << table({{kOwn, LocalCopy::linkOnly()}}) << std::vector{image(5)}
                                                 << Quality(Quality::original) << Planned(std::int64_t(5));
    QTest::newRow("equality admits") << std::int64_t(1000) << table({{other, done(400)}}) << std::vector{image(600)}
                                     << Quality(Quality::original) << Planned(std::int64_t(600));
    QTest::newRow("one byte over") << std::int64_t(1000) << table({{other, done(400)}}) << std::vector{image(601)}
                                   << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(601, 600));
    QTest::newRow("sizes of all attachments") << std::int64_t(1000) << CopyTable{} << std::vector{image(300), page(300), video(401)}
                                              << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(1001, 1000));
    QTest::newRow("a download under way reserves its whole total")
        << std::int64_t(500) << table({{other, LocalCopy::downloading(0, 300)}}) << std::vector{image(300)}
        << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(300, 200));
    QTest::newRow("failed and link-only copies count nothing")
        << std::int64_t(500) << table({{other, LocalCopy::failed(DownloadFailure::couldNotWrite)}, {third, LocalCopy::linkOnly()}})
        << std::vector{image(500)} << Quality(Quality::original) << Planned(std::int64_t(500));
    QTest::newRow("limit lowered below what is used") << std::int64_t(100) << table({{other, done(400)}}) << std::vector{image(10)}
                                                      << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(10, 0));
    QTest::newRow("nothing to fetch fits when used equals the limit")
        << std::int64_t(400) << table({{other, done(400)}}) << std::vector{image(0), image(0)} << Quality(Quality::original)
        << Planned(std::int64_t(0));
    QTest::newRow("nothing to fetch over a full budget") << std::int64_t(399) << table({{other, done(400)}}) << std::vector{image(0)}
                                                         << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(0, 0));
    QTest::newRow("video at hd takes its rendition") << std::int64_t(1000) << CopyTable{} << std::vector{video(5000, renditions())}
                                                     << Quality(Quality::hd) << Planned(std::int64_t(500));
    QTest::newRow("video at original takes its own size") << std::int64_t(1000) << CopyTable{} << std::vector{video(5000, renditions())}
                                                          << Quality(Quality::original)
                                                          << Planned(DownloadRefusal::overBudget(5000, 1000));
    QTest::newRow("quality leaves pictures alone") << std::int64_t(1000) << CopyTable{} << std::vector{image(100), video(5000, renditions())}
                                                   << Quality(Quality::small) << Planned(std::int64_t(300));
    // Corrupt sizes: sums stop at the 64-bit limit instead of wrapping round into "fits".
    QTest::newRow("used near the limit") << kMax << table({{other, done(kMax)}}) << std::vector{image(1)} << Quality(Quality::original)
                                         << Planned(DownloadRefusal::overBudget(1, 0));
    QTest::newRow("needs beyond 64 bits") << 5 * kGiB << CopyTable{} << std::vector{image(kMax), image(kMax)}
                                          << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(kMax, 5 * kGiB));
    QTest::newRow("needs just beyond 64 bits under the largest limit")
        << kMax << CopyTable{} << std::vector{image(kMax / 2 + 1), image(kMax / 2 + 1)} << Quality(Quality::original)
        << Planned(DownloadRefusal::overBudget(kMax, kMax));
    QTest::newRow("used beyond 64 bits") << kMax << table({{other, done(kMax)}, {third, done(kMax)}}) << std::vector{image(0)}
                                         << Quality(Quality::original) << Planned(DownloadRefusal::overBudget(0, 0));
    QTest::newRow("negative limit") << std::int64_t(-1) << CopyTable{} << std::vector{image(0)} << Quality(Quality::original)
                                    << Planned(DownloadRefusal::overBudget(0, 0));
}

void TestLocalMedia::planning()
{
    QFETCH(std::int64_t, limit);
    QFETCH(CopyTable, copies);
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(Quality, quality);
    QFETCH(Planned, expected);

    LocalMedia m = media(limit, copies);
    const LocalMedia before = m;
    const std::int64_t usedBefore = m.used();
    const auto planned = m.begin(post(kOwn, attachments), quality);

    if (const auto *refusal = std::get_if<DownloadRefusal>(&expected)) {
        QVERIFY(!planned.has_value());
        QCOMPARE(planned.error(), *refusal);
        QCOMPARE(m, before);
        return;
    }
    const std::int64_t needs = std::get<std::int64_t>(expected);
    QVERIFY2(planned.has_value(), planned.has_value() ? "" : toString(planned.error()));
    QCOMPARE(planned->size(), attachments.size());
    QCOMPARE(m.copy(kOwn), LocalCopy::downloading(0, needs));
    QCOMPARE(m.used(), usedBefore + needs);
    QCOMPARE(m.onDisk(), before.onDisk());
    // The same post cannot be planned twice.
    QCOMPARE(m.begin(post(kOwn, attachments), quality).error(), DownloadRefusal::alreadyDownloading());
}

void TestLocalMedia::plannedDownloads_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<Quality>("quality");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<std::vector<Attachment>>("taken");

    const Post three = post(kOwn, {image(1, "https://p.example/1.jpg"), image(2, "https://p.example/2.jpg"), image(3, "https://p.example/3.jpg")});
    QTest::newRow("three images in order") << three << Quality(Quality::original)
                                           << QStringList{"blue_kettle_42.jpg", "blue_kettle_42_2.jpg", "blue_kettle_42_3.jpg"}
                                           << three.attachments;
    QTest::newRow("video taken at small")
        << post(kOwn, {video(5000, renditions()), image(7)}) << Quality(Quality::small)
        << QStringList{"blue_kettle_42.mp4", "blue_kettle_42_2.jpg"}
        << std::vector<Attachment>{Attachment::Video{url("https://video.example.com/360.mp4"), Duration::fromSeconds(30), 200, std::nullopt},
                                   image(7)};
    QTest::newRow("web page with a query")
        << post(webLink("https://news.example.com/story?id=7"), {page(10)}) << Quality(Quality::hd)
        << QStringList{"news.example.com_story_a3a36c4a.html"} << std::vector<Attachment>{page(10)};
}

void TestLocalMedia::plannedDownloads()
{
    QFETCH(Post, post);
    QFETCH(Quality, quality);
    QFETCH(QStringList, files);
    QFETCH(std::vector<Attachment>, taken);

    LocalMedia m = media(kGiB);
    const auto planned = m.begin(post, quality);
    QVERIFY(planned.has_value());
    QCOMPARE(planned->size(), std::size_t(files.size()));
    for (std::size_t i = 0; i < planned->size(); ++i) {
        const Download &d = (*planned)[i];
        QCOMPARE(d.link, post.link);
        QCOMPARE(d.file, files[qsizetype(i)]);
        QCOMPARE(d.file, MediaFolder::fileName(post, i));
        QVERIFY(d.attachment == taken[i]);
    }
}

void TestLocalMedia::progress_data()
{
    QTest::addColumn<std::int64_t>("total");
    QTest::addColumn<QList<qint64>>("deltas");
    QTest::addColumn<QList<qint64>>("received");

    QTest::newRow("clamped at the total") << std::int64_t(300) << QList<qint64>{200, 200} << QList<qint64>{200, 300};
    QTest::newRow("deltas add up") << std::int64_t(300) << QList<qint64>{100, 50, 0, 25} << QList<qint64>{100, 150, 150, 175};
    QTest::newRow("exactly the total") << std::int64_t(300) << QList<qint64>{300, 1} << QList<qint64>{300, 300};
    QTest::newRow("total of zero") << std::int64_t(0) << QList<qint64>{10} << QList<qint64>{0};
    QTest::newRow("saturates at the 64-bit limit") << kMax << QList<qint64>{kMax - 1, kMax} << QList<qint64>{kMax - 1, kMax};
}

void TestLocalMedia::progress()
{
    QFETCH(std::int64_t, total);
    QFETCH(QList<qint64>, deltas);
    QFETCH(QList<qint64>, received);

    LocalMedia m = media(kMax);
    QVERIFY(m.begin(post(kOwn, {image(total)}), Quality::original).has_value());
    for (qsizetype i = 0; i < deltas.size(); ++i) {
        m.received(deltas[i], xLink("renamed", "42"));
        QCOMPARE(m.copy(kOwn), LocalCopy::downloading(received[i], total));
        QCOMPARE(m.used(), total);
    }
}

void TestLocalMedia::endings_data()
{
    QTest::addColumn<LocalCopy>("ending");
    QTest::addColumn<qint64>("used");
    QTest::addColumn<qint64>("onDisk");

    QTest::newRow("finished with files of another size")
        << LocalCopy::onThisComputer({LocalFile{"blue_kettle_42.jpg", 250}, LocalFile{"blue_kettle_42_2.jpg", 100}}) << qint64(1350)
        << qint64(1350);
    QTest::newRow("finished with no files") << LocalCopy::onThisComputer({}) << qint64(1000) << qint64(1000);
    QTest::newRow("unreachable releases the reservation") << LocalCopy::failed(DownloadFailure::unreachable) << qint64(1000)
                                                          << qint64(1000);
    QTest::newRow("could not write") << LocalCopy::failed(DownloadFailure::couldNotWrite) << qint64(1000) << qint64(1000);
}

void TestLocalMedia::endings()
{
    QFETCH(LocalCopy, ending);
    QFETCH(qint64, used);
    QFETCH(qint64, onDisk);

    LocalMedia m = media(10 * kGiB, table({{xLink("other", "1"), done(1000)}}));
    QVERIFY(m.begin(post(kOwn, {image(300), image(300)}), Quality::original).has_value());
    m.received(120, kOwn);
    QCOMPARE(m.used(), 1600);
    if (const auto *files = ending.asOnThisComputer())
        m.finished(kOwn, files->files);
    else
        m.failed(kOwn, ending.asFailed()->failure);
    QCOMPARE(m.copy(kOwn), ending);
    QCOMPARE(m.used(), used);
    QCOMPARE(m.onDisk(), onDisk);
    // A failed copy reads as missing and is planned afresh; a finished one is not.
    const bool isFailed = ending.asFailed() != nullptr;
    QCOMPARE(m.missing({post(kOwn, {image(1)})}).size(), std::size_t(isFailed ? 1 : 0));
}

void TestLocalMedia::eventsOutsideADownloadAreIgnored_data()
{
    QTest::addColumn<std::optional<LocalCopy>>("current");   // none: no entry

    QTest::newRow("no entry") << std::optional<LocalCopy>();
    QTest::newRow("stored link only") << std::optional<LocalCopy>(LocalCopy::linkOnly());
    QTest::newRow("finished") << std::optional<LocalCopy>(done(5));
    QTest::newRow("failed") << std::optional<LocalCopy>(LocalCopy::failed(DownloadFailure::couldNotWrite));
}

void TestLocalMedia::eventsOutsideADownloadAreIgnored()
{
    QFETCH(std::optional<LocalCopy>, current);

    LocalMedia m = media(kGiB, current ? table({{kOwn, *current}}) : CopyTable{});
    const LocalMedia before = m;
    m.received(100, kOwn);
    QCOMPARE(m, before);
    m.finished(kOwn, {LocalFile{"blue_kettle_42.jpg", 9}});
    QCOMPARE(m, before);
    m.failed(kOwn, DownloadFailure::unreachable);
    QCOMPARE(m, before);
    QCOMPARE(m.copies().contains(kOwn), current.has_value());
}

void TestLocalMedia::lettingGo_data()
{
    QTest::addColumn<std::optional<LocalCopy>>("current");
    QTest::addColumn<QList<LocalFile>>("files");

    const QList<LocalFile> two{LocalFile{"blue_kettle_42.mp4", 10}, LocalFile{"blue_kettle_42_2.jpg", 20}};
    QTest::newRow("finished gives its files") << std::optional<LocalCopy>(LocalCopy::onThisComputer(two)) << two;
    QTest::newRow("downloading") << std::optional<LocalCopy>(LocalCopy::downloading(10, 300)) << QList<LocalFile>{};
    QTest::newRow("failed") << std::optional<LocalCopy>(LocalCopy::failed(DownloadFailure::unreachable)) << QList<LocalFile>{};
    QTest::newRow("stored link only") << std::optional<LocalCopy>(LocalCopy::linkOnly()) << QList<LocalFile>{};
    QTest::newRow("no entry") << std::optional<LocalCopy>() << QList<LocalFile>{};
}

void TestLocalMedia::lettingGo()
{
    QFETCH(std::optional<LocalCopy>, current);
    QFETCH(QList<LocalFile>, files);

    const PostLink other = xLink("other", "1");
    LocalMedia m = media(kGiB, current ? table({{kOwn, *current}, {other, done(7)}}) : table({{other, done(7)}}));
    QCOMPARE(m.letGo(xLink("someone_else", "42")), files);
    QVERIFY(!m.copies().contains(kOwn));
    QCOMPARE(m.copy(kOwn), LocalCopy::linkOnly());
    QCOMPARE(m.used(), 7);
    QCOMPARE(m.copy(other), done(7));
    // Events of the download let go change nothing any more.
    m.received(5, kOwn);
    m.finished(kOwn, {LocalFile{"blue_kettle_42.mp4", 10}});
    m.failed(kOwn, DownloadFailure::unreachable);
    QVERIFY(!m.copies().contains(kOwn));
    QCOMPARE(m.letGo(kOwn), QList<LocalFile>{});
}

void TestLocalMedia::reconcile_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("kept");   // the handles of the links still holding an entry

    // a: two files, b: one file, c: no files, d: downloading, e: failed, f: link only,
    // g: a file whose name is written in decomposed form.
    QTest::newRow("every file present") << QStringList{"a.mp4", "a_2.jpg", "b.jpg", QStringLiteral("caf\u00e9.jpg")}
                                        << QStringList{"a", "b", "c", "d", "e", "f", "g"};
    QTest::newRow("nothing present") << QStringList{} << QStringList{"c", "d", "e", "f"};
    QTest::newRow("one of two files missing") << QStringList{"a.mp4", "b.jpg", QStringLiteral("caf\u00e9.jpg")}
                                              << QStringList{"b", "c", "d", "e", "f", "g"};
    QTest::newRow("names compare exactly otherwise") << QStringList{"A.MP4", "a_2.jpg", "b.jpg ", QStringLiteral("cafe\u0301.jpg")}
                                                     << QStringList{"c", "d", "e", "f", "g"};
    QTest::newRow("files of unknown posts change nothing") << QStringList{"zzz.mp4"} << QStringList{"c", "d", "e", "f"};
}

void TestLocalMedia::reconcile()
{
    QFETCH(QStringList, present);
    QFETCH(QStringList, kept);

    const CopyTable copies = table({
        {xLink("a", "1"), LocalCopy::onThisComputer({LocalFile{"a.mp4", 1}, LocalFile{"a_2.jpg", 2}})},
        {xLink("b", "2"), done(4, "b.jpg")},
        {xLink("c", "3"), LocalCopy::onThisComputer({})},
        {xLink("d", "4"), LocalCopy::downloading(0, 8)},
        {xLink("e", "5"), LocalCopy::failed(DownloadFailure::unreachable)},
        {xLink("f", "6"), LocalCopy::linkOnly()},
        {xLink("g", "7"), done(16, QStringLiteral("cafe\u0301.jpg"))},
    });
    LocalMedia m = media(kGiB, copies);
    m.reconcile(QSet<QString>(present.cbegin(), present.cend()));

    QStringList left;
    for (const auto &[link, copy] : m.copies()) {
        left << link.asX()->handle.name;
        QCOMPARE(copy, *copies.find(link));
    }
    left.sort();
    QCOMPARE(left, kept);
    if (kept.size() == copies.size())
        QCOMPARE(m.copies(), copies);
}

void TestLocalMedia::restoring()
{
    const PostLink under = xLink("d", "4"), finished = xLink("a", "1"), failed = xLink("e", "5");
    const CopyTable archived = table({{under, LocalCopy::downloading(10, 300)}, {finished, done(100)},
                                      {failed, LocalCopy::failed(DownloadFailure::couldNotWrite)}});
    const LocalMedia m = LocalMedia::restoring(MediaFolder(url("file:///tmp/media")), DiskBudget{500}, archived);
    QCOMPARE(m.copies().size(), 2);
    QCOMPARE(m.copy(finished), done(100));
    QCOMPARE(m.copy(failed), LocalCopy::failed(DownloadFailure::couldNotWrite));
    QVERIFY(!m.copies().contains(under));
    QCOMPARE(m.used(), 100);
    QCOMPARE(m.budget(), DiskBudget{500});
    QCOMPARE(m.folder(), MediaFolder(url("file:///tmp/media")));
    // The archived table itself is left as it was.
    QCOMPARE(archived.size(), 3);
    QCOMPARE(archived.reservedBytes(), 400);

    // Without downloads under way the table comes back whole.
    const CopyTable settled = table({{finished, done(100)}, {failed, LocalCopy::linkOnly()}});
    QCOMPARE(LocalMedia::restoring(MediaFolder(), DiskBudget{1}, settled).copies(), settled);
}

void TestLocalMedia::missing()
{
    const Post finished = post(xLink("a", "1"), {image(1)});
    const Post underWay = post(xLink("b", "2"), {image(1)});
    const Post failed = post(xLink("c", "3"), {video(1)});
    const Post linkOnly = post(xLink("d", "4"), {page(1)});
    const Post unknown = post(webLink("https://h.example/e"), {image(1)});
    const Post textOnly = post(xLink("f", "6"), {});
    const LocalMedia m = media(kGiB, table({{finished.link, done(1)},
                                            {underWay.link, LocalCopy::downloading(0, 1)},
                                            {failed.link, LocalCopy::failed(DownloadFailure::unreachable)},
                                            {linkOnly.link, LocalCopy::linkOnly()}}));

    QVERIFY(m.missing({}).empty());
    const std::vector<Post> found = m.missing({unknown, finished, textOnly, linkOnly, underWay, failed});
    QCOMPARE(found.size(), std::size_t(3));
    QCOMPARE(found[0], unknown);
    QCOMPARE(found[1], linkOnly);
    QCOMPARE(found[2], failed);
}

void TestLocalMedia::copyByAnotherHandle()
{
    LocalMedia m = media(kGiB);
    QVERIFY(m.begin(post(xLink("OldName", "42"), {image(10)}), Quality::original).has_value());
    m.finished(xLink("new_name", "42"), {LocalFile{"oldname_42.jpg", 10}});
    QCOMPARE(m.copy(xLink("NEW_NAME", "42")), done(10, "oldname_42.jpg"));
    QCOMPARE(m.begin(post(xLink("third", "42"), {image(10)}), Quality::original).error(), DownloadRefusal::alreadyOnThisComputer());
    QCOMPARE(m.copy(xLink("OldName", "420")), LocalCopy::linkOnly());
}

void TestLocalMedia::copiesAreIndependent()
{
    LocalMedia original = media(1000, table({{xLink("other", "1"), done(100)}}));
    LocalMedia copy = original;
    QCOMPARE(copy, original);
    QVERIFY(copy.begin(post(kOwn, {image(300)}), Quality::original).has_value());
    copy.limit(50);
    QCOMPARE(original.copy(kOwn), LocalCopy::linkOnly());
    QCOMPARE(original.used(), 100);
    QCOMPARE(original.budget(), DiskBudget{1000});
    QCOMPARE(copy.used(), 400);
    QCOMPARE(copy.budget(), DiskBudget{50});
    QVERIFY(!(copy == original));
}

void TestLocalMedia::admits_data()
{
    QTest::addColumn<std::int64_t>("limit");
    QTest::addColumn<std::int64_t>("needs");
    QTest::addColumn<std::int64_t>("used");
    QTest::addColumn<bool>("admits");

    QTest::newRow("equal") << std::int64_t(1000) << std::int64_t(600) << std::int64_t(400) << true;
    QTest::newRow("one over") << std::int64_t(1000) << std::int64_t(601) << std::int64_t(400) << false;
    QTest::newRow("nothing in nothing") << std::int64_t(0) << std::int64_t(0) << std::int64_t(0) << true;
    QTest::newRow("sum would wrap") << kMax << kMax << std::int64_t(1) << false;
    QTest::newRow("at the limit") << kMax << kMax << std::int64_t(0) << true;
    QTest::newRow("largest of both") << kMax << kMax << kMax << false;
    QTest::newRow("negative sum would wrap") << std::int64_t(0) << std::numeric_limits<std::int64_t>::min() << std::int64_t(-1) << true;
}

void TestLocalMedia::admits()
{
    QFETCH(std::int64_t, limit);
    QFETCH(std::int64_t, needs);
    QFETCH(std::int64_t, used);
    QFETCH(bool, admits);
    QCOMPARE(DiskBudget{limit}.admits(needs, used), admits);
    QCOMPARE(DiskBudget{limit}.admits(used, needs), admits);
}

QTEST_GUILESS_MAIN(TestLocalMedia)
#include "tst_localmedia.moc"
