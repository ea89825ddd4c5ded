// The registry of downloads under way on its own: which run owns a link's copy, what letting a
// run go and ending it hand back, and which finished files the registry still vouches for (the
// Curator spares those when it deletes media files).

#include "StashKit/DownloadRuns.h"

#include "Capture/Text.h"

#include <QtTest>

using namespace sw;

namespace {

PostLink link(int n)
{
    return PostLink::x(Handle{QStringLiteral("user%1").arg(n)}, StatusID{QString::number(100 + n)});
}

const LocalFile kVideo{QStringLiteral("video.mp4"), 40};
const LocalFile kImage{QStringLiteral("image.jpg"), 10};

}  // namespace

class TestDownloadRuns : public QObject {
    Q_OBJECT
private slots:
    void aNewRunOfTheLinkReleasesTheEarlierOne();
    void lettingGoHandsTheFilesBackOnce();
    void anEndedRunNoLongerOwnsItsCopy();
    void runsArePickedByLink();
    void finishedFilesAreVouchedForWhileListed_data();
    void finishedFilesAreVouchedForWhileListed();
    void theCurrentRunFinishedTheSameFile_data();
    void theCurrentRunFinishedTheSameFile();
};

void TestDownloadRuns::aNewRunOfTheLinkReleasesTheEarlierOne()
{
    DownloadRuns runs;
    QList<LocalFile> released;
    const auto earlier = runs.start(link(1), released);
    const auto other = runs.start(link(2), released);
    earlier->finished = {kVideo, kImage};
    QVERIFY(released.isEmpty());
    QVERIFY(runs.owns(*earlier));

    const auto newer = runs.start(link(1), released);
    QCOMPARE(released, QList<LocalFile>({kVideo, kImage}));
    QVERIFY(earlier->letGo);
    QVERIFY(!runs.owns(*earlier));
    QVERIFY(runs.owns(*newer));
    QVERIFY(runs.owns(*other));
    // Letting the old token go again touches neither its files nor the newer run.
    QVERIFY(runs.letGo(earlier).isEmpty());
    QVERIFY(runs.owns(*newer));
}

void TestDownloadRuns::lettingGoHandsTheFilesBackOnce()
{
    DownloadRuns runs;
    QList<LocalFile> released;
    const auto run = runs.start(link(1), released);
    run->finished = {kImage};
    QCOMPARE(runs.letGo(run), QList<LocalFile>({kImage}));
    QVERIFY(!runs.owns(*run));
    QVERIFY(runs.letGo(run).isEmpty());
    QVERIFY(runs.runs([](const PostLink &) { return true; }).isEmpty());
}

void TestDownloadRuns::anEndedRunNoLongerOwnsItsCopy()
{
    DownloadRuns runs;
    QList<LocalFile> released;
    const auto run = runs.start(link(1), released);
    run->finished = {kVideo};
    QCOMPARE(runs.end(*run), QList<LocalFile>({kVideo}));
    QVERIFY(run->letGo);
    QVERIFY(!runs.owns(*run));
    QVERIFY(!runs.isFinishedByARun(kVideo.name));
    // A run ended is let go already: nothing is handed back twice.
    QVERIFY(runs.letGo(run).isEmpty());
}

void TestDownloadRuns::runsArePickedByLink()
{
    DownloadRuns runs;
    QList<LocalFile> released;
    runs.start(link(1), released);
    const auto second = runs.start(link(2), released);
    runs.start(link(3), released);
    const auto picked = runs.runs([](const PostLink &l) { return l == link(2); });
    QCOMPARE(picked.size(), 1);
    QCOMPARE(picked.first(), second);
}

void TestDownloadRuns::finishedFilesAreVouchedForWhileListed_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("letGo");
    QTest::addColumn<bool>("vouched");
    // The run finished "café.mp4" written with a precomposed é.
    QTest::newRow("same name") << QStringLiteral("caf\u00e9.mp4") << false << true;
    QTest::newRow("decomposed name") << QStringLiteral("cafe\u0301.mp4") << false << true;
    QTest::newRow("other name") << QStringLiteral("cafe.mp4") << false << false;
    QTest::newRow("run let go") << QStringLiteral("caf\u00e9.mp4") << true << false;
}

void TestDownloadRuns::finishedFilesAreVouchedForWhileListed()
{
    QFETCH(QString, asked);
    QFETCH(bool, letGo);
    QFETCH(bool, vouched);
    DownloadRuns runs;
    QList<LocalFile> released;
    const auto run = runs.start(link(1), released);
    run->finished = {LocalFile{QStringLiteral("caf\u00e9.mp4"), 5}};
    if (letGo)
        runs.letGo(run);
    // The canonical form is what the Curator asks with.
    QCOMPARE(runs.isFinishedByARun(text::canonical(asked)), vouched);
}

void TestDownloadRuns::theCurrentRunFinishedTheSameFile_data()
{
    QTest::addColumn<int>("of");
    QTest::addColumn<LocalFile>("file");
    QTest::addColumn<bool>("finished");
    QTest::newRow("same file") << 1 << kVideo << true;
    QTest::newRow("other size") << 1 << LocalFile{kVideo.name, 41} << false;
    QTest::newRow("not finished") << 1 << kImage << false;
    QTest::newRow("other link") << 2 << kVideo << false;
}

void TestDownloadRuns::theCurrentRunFinishedTheSameFile()
{
    QFETCH(int, of);
    QFETCH(LocalFile, file);
    QFETCH(bool, finished);
    DownloadRuns runs;
    QList<LocalFile> released;
    runs.start(link(1), released)->finished = {kVideo};
    QCOMPARE(runs.currentRunFinished(link(of), file), finished);
}

QTEST_GUILESS_MAIN(TestDownloadRuns)
#include "tst_downloadruns.moc"
