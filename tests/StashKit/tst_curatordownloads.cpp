// The Curator's downloads on scripted transfers: how progress, completion and failure reach the
// local copy and the archive, the plan's refusals, several and missing saves, runs whose copy is
// let go while they work, and covers.

#include "CuratorRig.h"

#include "AwaitTask.h"
#include "HttpServer.h"
#include "StashKit/LiveMediaDownloader.h"
#include "StashKit/Network.h"

#include <QtTest>

#include <atomic>
#include <semaphore>

Q_DECLARE_METATYPE(sw::test::TransferScript)
Q_DECLARE_METATYPE(sw::DownloadFailure)
Q_DECLARE_METATYPE(sw::TransferError)
Q_DECLARE_METATYPE(sw::DownloadRefusal)
Q_DECLARE_METATYPE(sw::Post)
Q_DECLARE_METATYPE(sw::CopyTable)
Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(sw::test::HttpReply)

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

using Outcome = std::expected<void, DownloadRefusal>;

const QString kFirst = QStringLiteral("https://pbs.example.com/first.jpg");
const QString kSecond = QStringLiteral("https://pbs.example.com/second.jpg");

Post xPost(const QString &digits, std::vector<Attachment> attachments = {},
           std::optional<QString> preview = std::nullopt)
{
    return post(xLink(QStringLiteral("Someone"), digits), std::move(attachments), std::move(preview));
}

// The received counts of the link's copy each time the views were told of a change while it
// was under way.
class ReceivedLog : public QObject {
public:
    ReceivedLog(const Curator &curator, PostLink link)
    {
        connect(&curator, &Curator::localMediaChanged, this, [this, &curator, link = std::move(link)] {
            ++notified;
            const LocalCopy copy = curator.localMedia().copy(link);
            if (const auto *under = copy.asDownloading())
                received.append(under->received);
        });
    }
    QList<qint64> received;
    int notified = 0;
};

Outcome run(QCoro::Task<Outcome> task)
{
    auto result = awaitTask(std::move(task));
    if (!result)
        qFatal("the download did not end");
    return *result;
}

}  // namespace

class TestCuratorDownloads : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void progressAddsIncrementsAndWritesNothing_data();
    void progressAddsIncrementsAndWritesNothing();
    void finishedCopyListsItsFilesInPlanOrder();
    void failedFileDeletesTheRunsFinishedFiles_data();
    void failedFileDeletesTheRunsFinishedFiles();
    void filesThatCannotBeDeletedAreLeftBehind();
    void onlyWebAddressesAreFetched_data();
    void onlyWebAddressesAreFetched();
    void refusedPlanChangesNothingButTheArchive_data();
    void refusedPlanChangesNothingButTheArchive();
    void saveThatDoesNotExistDoesNothing();

    void lettingGoStopsTheRunAndDeletesItsFiles_data();
    void lettingGoStopsTheRunAndDeletesItsFiles();
    void oldRunNeverTouchesANewerCopy();
    void copyLetGoByAnObserverOfTheDownload_data();
    void copyLetGoByAnObserverOfTheDownload();
    void aFileADownloadUnderWayFinishedIsNotDeleted();
    void aFileTakesItsNameOnceTheDocumentListsIt_data();
    void aFileTakesItsNameOnceTheDocumentListsIt();
    void reconcilingAsideLeavesWhatChangedMeanwhile_data();
    void reconcilingAsideLeavesWhatChangedMeanwhile();
    void aFolderFoundWholeIsListedAgainOnlyOnceChanged_data();
    void aFolderFoundWholeIsListedAgainOnlyOnceChanged();
    void coversWithoutRoomAreFetchedOnceAWriteSucceeds_data();
    void coversWithoutRoomAreFetchedOnceAWriteSucceeds();

    void eachFileMayTakeItsPlanAndTheRunsMargin_data();
    void eachFileMayTakeItsPlanAndTheRunsMargin();
    void aRunHoldsItsMarginUntilItEnds();
    void aServerSendingMoreNeverTakesTheLibraryOverItsBudget_data();
    void aServerSendingMoreNeverTakesTheLibraryOverItsBudget();
    void severalSavesOneAfterAnother();
    void missingMediaInLibraryOrder();
    void nothingMissingDoesNothing();

    void keepCover_data();
    void keepCover();
    void missingCoversOneAfterAnother();
    void coversAlreadyInTheFolderAreNotFetched();
    void unlistableCoversFolderDoesNothing();
    void linksSharingACoverNameFetchItOnce();
    void coversKeptOrDeletedDuringTheListingCarryOver();
    void coverArrivingAfterItsSaveLeftIsDeleted();
};

// ---- one save -------------------------------------------------------------------------------------

void TestCuratorDownloads::progressAddsIncrementsAndWritesNothing_data()
{
    QTest::addColumn<QList<qint64>>("progress");
    QTest::addColumn<qint64>("done");
    QTest::addColumn<QList<qint64>>("received");

    QTest::newRow("a picture under 256 KiB: the whole size at the end") << QList<qint64>{} << qint64(1000)
                                                                       << QList<qint64>{0, 1000};
    QTest::newRow("three steps and the rest at the end")
        << QList<qint64>{300000, 600000, 900000} << qint64(1000000)
        << QList<qint64>{0, 300000, 600000, 900000, 1000000};
    QTest::newRow("a total below the last adds nothing")
        << QList<qint64>{300000, 200000, 600000} << qint64(600000)
        << QList<qint64>{0, 300000, 300000, 600000, 600000};
    QTest::newRow("a size below the last total adds nothing") << QList<qint64>{500000} << qint64(400000)
                                                             << QList<qint64>{0, 500000, 500000};
}

void TestCuratorDownloads::progressAddsIncrementsAndWritesNothing()
{
    QFETCH(QList<qint64>, progress);
    QFETCH(qint64, done);
    QFETCH(QList<qint64>, received);

    const Post p = xPost(QStringLiteral("1"), {image(1000000, kFirst)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    TransferScript script;
    for (qint64 total : progress)
        script.events.append(Transfer::progress(total));
    script.events.append(Transfer::done(done));
    rig.downloader->scripts.insert(kFirst, script);
    ReceivedLog log(*rig.curator, p.link);

    QVERIFY(run(rig.curator->download(saveID(1))));

    QCOMPARE(log.received, received);
    // The plan and the finished copy; no progress step is written.
    QCOMPARE(rig.archive->writes, 2);
    const LocalCopy finished = LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_1.jpg"), done}});
    QCOMPARE(rig.copy(p.link), finished);
    QCOMPARE(rig.storedCopy(p.link), std::optional<LocalCopy>(finished));
    QCOMPARE(rig.downloader->calls.size(), 1);
    QCOMPARE(rig.downloader->calls[0].destination, Url::fromLocalFile(rig.pendingFile(QStringLiteral("someone_1.jpg"))));
    QCOMPARE(rig.mediaFiles(), QStringList{QStringLiteral("someone_1.jpg")});
}

void TestCuratorDownloads::finishedCopyListsItsFilesInPlanOrder()
{
    const QString clip = QStringLiteral("https://video.example.com/clip.mp4");
    const Post p = xPost(QStringLiteral("2"), {video(3000, std::nullopt, clip), image(2000, kFirst)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    rig.downloader->scripts.insert(clip, TransferScript::arriving(3000));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(2000));

    QVERIFY(run(rig.curator->download(saveID(1))));

    QCOMPARE(rig.downloader->remotes(), (QStringList{clip, kFirst}));
    QCOMPARE(rig.copy(p.link), LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_2.mp4"), 3000},
                                                     LocalFile{QStringLiteral("someone_2_2.jpg"), 2000}}));
    QCOMPARE(rig.mediaFiles(), (QStringList{QStringLiteral("someone_2.mp4"), QStringLiteral("someone_2_2.jpg")}));
}

void TestCuratorDownloads::failedFileDeletesTheRunsFinishedFiles_data()
{
    QTest::addColumn<TransferScript>("second");
    QTest::addColumn<DownloadFailure>("failure");

    QTest::newRow("the server answers 404") << TransferScript::failing(TransferError::badServerResponse(404))
                                            << DownloadFailure(DownloadFailure::unreachable);
    QTest::newRow("the connection drops")
        << TransferScript::failing(TransferError::network(QNetworkReply::RemoteHostClosedError, QStringLiteral("closed")))
        << DownloadFailure(DownloadFailure::unreachable);
    QTest::newRow("the transfer ends without its done")
        << TransferScript{{Transfer::progress(300000)}, std::nullopt} << DownloadFailure(DownloadFailure::unreachable);
    QTest::newRow("the file cannot be written here")
        << TransferScript::failing(TransferError::couldNotWrite(QStringLiteral("disk full")))
        << DownloadFailure(DownloadFailure::couldNotWrite);
}

void TestCuratorDownloads::failedFileDeletesTheRunsFinishedFiles()
{
    QFETCH(TransferScript, second);
    QFETCH(DownloadFailure, failure);

    const Post p = xPost(QStringLiteral("3"), {image(1000, kFirst), image(500000, kSecond)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));
    rig.downloader->scripts.insert(kSecond, second);

    QVERIFY(run(rig.curator->download(saveID(1))));

    QCOMPARE(rig.downloader->calls.size(), 2);
    QCOMPARE(rig.copy(p.link), LocalCopy::failed(failure));
    QCOMPARE(rig.storedCopy(p.link), std::optional<LocalCopy>(LocalCopy::failed(failure)));
    QCOMPARE(rig.archive->writes, 2);
    QCOMPARE(rig.mediaFiles(), QStringList());
    QCOMPARE(rig.disk->removed, QList<Url>{Url::fromLocalFile(rig.pendingFile(QStringLiteral("someone_3.jpg")))});
    QVERIFY(rig.curator->leftBehind().isEmpty());
}

void TestCuratorDownloads::filesThatCannotBeDeletedAreLeftBehind()
{
    const Post p = xPost(QStringLiteral("4"), {image(1000, kFirst), image(1000, kSecond)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));
    rig.downloader->scripts.insert(kSecond, TransferScript::failing(TransferError::badServerResponse(500)));
    rig.disk->failRemoving = true;
    QSignalSpy leftBehind(rig.curator.get(), &Curator::leftBehindChanged);

    QVERIFY(run(rig.curator->download(saveID(1))));

    QCOMPARE(rig.curator->leftBehind(), QList<Url>{Url::fromLocalFile(rig.pendingFile(QStringLiteral("someone_4.jpg")))});
    QCOMPARE(leftBehind.count(), 1);
    QCOMPARE(rig.copy(p.link), LocalCopy::failed(DownloadFailure::unreachable));
}

void TestCuratorDownloads::onlyWebAddressesAreFetched_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("a local file") << QStringLiteral("file:///etc/passwd");
    QTest::newRow("ftp") << QStringLiteral("ftp://pbs.example.com/second.jpg");
}

void TestCuratorDownloads::onlyWebAddressesAreFetched()
{
    QFETCH(QString, address);

    const Post p = xPost(QStringLiteral("5"), {image(1000, kFirst), image(1000, address)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));

    QVERIFY(run(rig.curator->download(saveID(1))));

    QCOMPARE(rig.downloader->remotes(), QStringList{kFirst});
    QCOMPARE(rig.copy(p.link), LocalCopy::failed(DownloadFailure::unreachable));
    QCOMPARE(rig.mediaFiles(), QStringList());
}

void TestCuratorDownloads::refusedPlanChangesNothingButTheArchive_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<CopyTable>("copies");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<DownloadRefusal>("refusal");

    const Post withPicture = xPost(QStringLiteral("6"), {image(1000, kFirst)});
    QTest::newRow("already on this computer")
        << withPicture
        << copies({{withPicture.link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_6.jpg"), 1000}})}})
        << qint64(CuratorRig::kBudget) << DownloadRefusal::alreadyOnThisComputer();
    QTest::newRow("already downloading") << withPicture
                                         << copies({{withPicture.link, LocalCopy::downloading(10, 1000)}})
                                         << qint64(CuratorRig::kBudget) << DownloadRefusal::alreadyDownloading();
    QTest::newRow("nothing to download") << xPost(QStringLiteral("6")) << CopyTable() << qint64(CuratorRig::kBudget)
                                         << DownloadRefusal::nothingToDownload();
    QTest::newRow("over the budget") << withPicture << CopyTable() << qint64(600)
                                     << DownloadRefusal::overBudget(1000, 600);
}

void TestCuratorDownloads::refusedPlanChangesNothingButTheArchive()
{
    QFETCH(Post, post);
    QFETCH(CopyTable, copies);
    QFETCH(qint64, budget);
    QFETCH(DownloadRefusal, refusal);

    CuratorRig rig(Library({makeSave(1, post)}, {}), copies, budget);
    const LocalMedia before = rig.curator->localMedia();

    const Outcome outcome = run(rig.curator->download(saveID(1)));

    QVERIFY(!outcome);
    QCOMPARE(outcome.error(), refusal);
    QCOMPARE(rig.curator->localMedia(), before);
    QCOMPARE(rig.archive->writes, 1);
    QVERIFY(rig.downloader->calls.isEmpty());
}

void TestCuratorDownloads::saveThatDoesNotExistDoesNothing()
{
    CuratorRig rig(Library({makeSave(1, xPost(QStringLiteral("7"), {image(10, kFirst)}))}, {}));
    QVERIFY(run(rig.curator->download(saveID(99))));
    QCOMPARE(rig.archive->writes, 0);
    QVERIFY(rig.downloader->calls.isEmpty());
}

// ---- runs whose copy is let go ----------------------------------------------------------------------

void TestCuratorDownloads::lettingGoStopsTheRunAndDeletesItsFiles_data()
{
    QTest::addColumn<bool>("emptyTrash");
    QTest::newRow("the local copy removed") << false;
    QTest::newRow("the trash emptied") << true;
}

void TestCuratorDownloads::lettingGoStopsTheRunAndDeletesItsFiles()
{
    QFETCH(bool, emptyTrash);

    const Post p = xPost(QStringLiteral("8"), {image(1000, kFirst), image(600000, kSecond)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));
    auto task = rig.curator->download(saveID(1));
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 2; }));
    rig.downloader->send(1, Transfer::progress(300000));
    QVERIFY(settle([&] { return rig.copy(p.link) == LocalCopy::downloading(301000, 601000); }));
    QCOMPARE(rig.mediaFiles(), QStringList{MediaFolder::pendingName(QStringLiteral("someone_8.jpg"))});

    if (emptyTrash) {
        rig.curator->trash(saveID(1));
        rig.curator->emptyTrash();
    } else {
        rig.curator->removeLocalCopy(saveID(1));
    }

    // Stopped at once, its finished file gone, before the run has even woken up.
    QVERIFY(*rig.downloader->calls[1].cancelled);
    QCOMPARE(rig.mediaFiles(), QStringList());
    QVERIFY(awaitTask(std::move(task)));
    QVERIFY(rig.copy(p.link).isLinkOnly());
    QVERIFY(!rig.archive->stored->copies.find(p.link));
    QCOMPARE(rig.downloader->calls.size(), 2);
}

void TestCuratorDownloads::oldRunNeverTouchesANewerCopy()
{
    const Post p = xPost(QStringLiteral("9"), {image(1000000, kFirst)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    auto first = rig.curator->download(saveID(1));
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));

    // The old transfer ends with its events still waiting to be read when its copy is let go and
    // a new download of the same link begins.
    rig.downloader->play(0, TransferScript{{Transfer::progress(300000), Transfer::done(1000000)}, std::nullopt});
    rig.curator->removeLocalCopy(saveID(1));
    auto second = rig.curator->download(saveID(1));
    QCOMPARE(rig.downloader->calls.size(), 2);

    QVERIFY(awaitTask(std::move(first)));
    // Neither its progress nor its file counts for the new copy, and the file it left is gone.
    QCOMPARE(rig.copy(p.link), LocalCopy::downloading(0, 1000000));
    QCOMPARE(rig.mediaFiles(), QStringList());

    rig.downloader->play(1, TransferScript{{Transfer::progress(400000), Transfer::done(1000000)}, std::nullopt});
    QVERIFY(awaitTask(std::move(second)));
    QCOMPARE(rig.copy(p.link), LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_9.jpg"), 1000000}}));
    QCOMPARE(rig.mediaFiles(), QStringList{QStringLiteral("someone_9.jpg")});
}

void TestCuratorDownloads::copyLetGoByAnObserverOfTheDownload_data()
{
    QTest::addColumn<qint64>("at");
    QTest::addColumn<bool>("emptyTrash");
    QTest::addColumn<int>("transfers");

    // The post has a first file of 1000 bytes that arrives at once and a second one of 600000
    // bytes that the test drives.
    for (const bool emptyTrash : {false, true}) {
        const char *how = emptyTrash ? "the trash emptied" : "the local copy removed";
        QTest::addRow("%s when the plan is told", how) << qint64(0) << emptyTrash << 0;
        QTest::addRow("%s when a file's last bytes are told", how) << qint64(1000) << emptyTrash << 1;
        QTest::addRow("%s when progress is told", how) << qint64(301000) << emptyTrash << 2;
    }
}

void TestCuratorDownloads::copyLetGoByAnObserverOfTheDownload()
{
    QFETCH(qint64, at);
    QFETCH(bool, emptyTrash);
    QFETCH(int, transfers);

    const Post p = xPost(QStringLiteral("10"), {image(1000, kFirst), image(600000, kSecond)});
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));
    // An observer that lets the copy go as soon as it reads the given count, from inside the
    // notification.
    QObject observer;
    bool acted = false;
    QObject::connect(rig.curator.get(), &Curator::localMediaChanged, &observer, [&] {
        const LocalCopy copy = rig.copy(p.link);
        const auto *under = copy.asDownloading();
        if (acted || !under || under->received != at)
            return;
        acted = true;
        if (emptyTrash) {
            rig.curator->trash(saveID(1));
            rig.curator->emptyTrash();
        } else {
            rig.curator->removeLocalCopy(saveID(1));
        }
    });

    auto task = rig.curator->download(saveID(1));
    if (transfers == 2) {
        QVERIFY(settle([&] { return rig.downloader->calls.size() == 2; }));
        rig.downloader->send(1, Transfer::progress(300000));
    }
    QVERIFY(awaitTask(std::move(task), 2s));

    QVERIFY(acted);
    // The run stopped where it was let go: nothing more is fetched, nothing is left on disk.
    QCOMPARE(rig.downloader->calls.size(), transfers);
    for (const auto &call : rig.downloader->calls)
        QVERIFY(call.sink.isClosed());
    QCOMPARE(rig.mediaFiles(), QStringList());
    QVERIFY(rig.copy(p.link).isLinkOnly());
    // The letting go was written, although it happened while progress was being told.
    QVERIFY(!rig.archive->stored->copies.find(p.link));
    QCOMPARE(rig.archive->stored->library, rig.curator->library());
}

void TestCuratorDownloads::aFileADownloadUnderWayFinishedIsNotDeleted()
{
    // A web address by http and by https: two links whose media share their file names.
    const Post byHttp = post(webLink(QStringLiteral("http://news.example.com/story")),
                             {image(1000, kFirst), image(600000, kSecond)});
    const Post byHttps = post(webLink(QStringLiteral("https://news.example.com/story")), {image(1000, kFirst)});
    const QString shared = QStringLiteral("news.example.com_story.jpg");
    CopyTable copies;
    copies.insert(byHttps.link, LocalCopy::onThisComputer({LocalFile{shared, 1000}}));
    CuratorRig rig(Library({makeSave(1, byHttp), makeSave(2, byHttps)}, {}), copies);
    ScriptedDownloader::writeFile(Url::fromLocalFile(rig.mediaFile(shared)), 1000);
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));

    auto task = rig.curator->download(saveID(1));
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 2; }));
    const QString pending = MediaFolder::pendingName(shared);
    QCOMPARE(rig.mediaFiles(), (QStringList{pending, shared}));

    // The other link's copy goes while this download holds the file it finished: the other's
    // file goes, the one finished stays for the download to list.
    rig.curator->removeLocalCopy(saveID(2));
    QCOMPARE(rig.mediaFiles(), QStringList{pending});

    rig.downloader->play(1, TransferScript::arriving(600000));
    QVERIFY(awaitTask(std::move(task)));
    QCOMPARE(rig.copy(byHttp.link), LocalCopy::onThisComputer({LocalFile{shared, 1000},
                                                          LocalFile{QStringLiteral("news.example.com_story_2.jpg"), 600000}}));
    QCOMPARE(rig.mediaFiles(), (QStringList{shared, QStringLiteral("news.example.com_story_2.jpg")}));
}

// ---- what a download may take ------------------------------------------------------------------------

void TestCuratorDownloads::eachFileMayTakeItsPlanAndTheRunsMargin_data()
{
    QTest::addColumn<std::int64_t>("budget");
    QTest::addColumn<QList<qint64>>("planned");
    QTest::addColumn<QList<qint64>>("arrived");
    QTest::addColumn<QList<qint64>>("most");   // given to each file's transfer
    const std::int64_t least = LocalMedia::kLeastMargin;
    QTest::newRow("room to spare") << CuratorRig::kBudget << QList<qint64>{1000} << QList<qint64>{1000}
                                   << QList<qint64>{1000 + least};
    QTest::newRow("half of a large plan") << CuratorRig::kBudget << QList<qint64>{qint64(1) << 30}
                                          << QList<qint64>{qint64(1) << 30} << QList<qint64>{qint64(3) << 29};
    QTest::newRow("the budget's room only") << std::int64_t(1500) << QList<qint64>{1000} << QList<qint64>{1000}
                                            << QList<qint64>{1500};
    QTest::newRow("a first file larger than planned leaves less")
        << std::int64_t(3100) << QList<qint64>{1000, 2000} << QList<qint64>{1050, 2000} << QList<qint64>{1100, 2050};
}

void TestCuratorDownloads::eachFileMayTakeItsPlanAndTheRunsMargin()
{
    QFETCH(std::int64_t, budget);
    QFETCH(QList<qint64>, planned);
    QFETCH(QList<qint64>, arrived);
    QFETCH(QList<qint64>, most);
    std::vector<Attachment> attachments;
    for (qsizetype i = 0; i < planned.size(); ++i)
        attachments.push_back(image(planned[i], QStringLiteral("https://pbs.example.com/%1.jpg").arg(i)));
    const Post p = xPost(QStringLiteral("3"), attachments);
    CuratorRig rig(Library({makeSave(1, p)}, {}), {}, budget);
    for (qsizetype i = 0; i < arrived.size(); ++i)
        rig.downloader->scripts.insert(attachments[std::size_t(i)].remote().text(), TransferScript::arriving(arrived[i]));

    QVERIFY(run(rig.curator->download(saveID(1))));

    QList<qint64> given;
    std::transform(rig.downloader->calls.cbegin(), rig.downloader->calls.cend(), std::back_inserter(given),
                   [](const auto &call) { return call.most; });
    QCOMPARE(given, most);
    QVERIFY(rig.copy(p.link).asOnThisComputer());
}

void TestCuratorDownloads::aRunHoldsItsMarginUntilItEnds()
{
    // The first run's margin takes all the room the budget has: a second plan would not fit
    // beside it until the first has ended.
    const Post a = xPost(QStringLiteral("20"), {image(1000, kFirst)});
    const Post b = xPost(QStringLiteral("21"), {image(1000, kSecond)});
    CuratorRig rig(Library({makeSave(1, a), makeSave(2, b)}, {}), {}, 3000);

    auto first = rig.curator->download(saveID(1));
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));
    QCOMPARE(rig.downloader->calls[0].most, 3000);
    const Outcome refused = run(rig.curator->download(saveID(2)));
    QVERIFY(!refused);
    QCOMPARE(refused.error(), DownloadRefusal::overBudget(1000, 0));

    rig.downloader->play(0, TransferScript::arriving(1000));
    QVERIFY(awaitTask(std::move(first)));
    rig.downloader->scripts.insert(kSecond, TransferScript::arriving(1000));
    QVERIFY(run(rig.curator->download(saveID(2))));
    QCOMPARE(rig.downloader->calls.value(1).most, 2000);
    QVERIFY(rig.copy(b.link).asOnThisComputer());
}

// The whole road over the loopback server: a file planned at 1 MiB in a library of 4 MiB, whose
// server sends far more than that.
void TestCuratorDownloads::aServerSendingMoreNeverTakesTheLibraryOverItsBudget_data()
{
    QTest::addColumn<HttpReply>("reply");
    QTest::addColumn<qint64>("kept");   // 0: the download fails
    constexpr qint64 mib = 1 << 20;
    QTest::newRow("announces more") << HttpReply::madeUpBody(64 * mib) << qint64(0);
    QTest::newRow("chunked, no length") << HttpReply::madeUpBody(64 * mib, HttpReply::Framing::chunked) << qint64(0);
    QTest::newRow("no length, until it closes")
        << HttpReply::madeUpBody(64 * mib, HttpReply::Framing::untilClose) << qint64(0);
    QTest::newRow("more than planned, within the room")
        << HttpReply::madeUpBody(3 * mib / 2, HttpReply::Framing::chunked) << qint64(3 * mib / 2);
}

void TestCuratorDownloads::aServerSendingMoreNeverTakesTheLibraryOverItsBudget()
{
    QFETCH(HttpReply, reply);
    QFETCH(qint64, kept);
    constexpr std::int64_t budget = 4 << 20;
    HttpServer server;
    QVERIFY(server.listen());
    server.route("/big.mp4", reply);
    const Post p = xPost(QStringLiteral("30"), {image(1 << 20, server.url(QStringLiteral("/big.mp4")).toString())});
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("media"));
    Network network(NetworkRoute::direct());
    Curator curator(Library({makeSave(1, p)}, {}), LocalMedia(MediaFolder(Url::fromLocalFile(folder)), DiskBudget{budget}),
                    Covers(Url::fromLocalFile(dir.filePath(QStringLiteral("Covers")))),
                    std::make_shared<ScriptedFetcher>(), std::make_shared<LiveMediaDownloader>(network),
                    std::make_shared<RecordingDisk>(), std::make_shared<MemoryArchive>(), [] { return Date{800000000}; });

    QVERIFY(run(curator.download(saveID(1))));
    curator.flush();   // a file takes its name once the document lists it

    QVERIFY(curator.localMedia().used() <= budget);
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    if (kept == 0) {
        QCOMPARE(curator.localMedia().copy(p.link), LocalCopy::failed(DownloadFailure::unreachable));
        QCOMPARE(files, QStringList());
    } else {
        QCOMPARE(curator.localMedia().copy(p.link), LocalCopy::onThisComputer({LocalFile{files.value(0), kept}}));
        QCOMPARE(QFileInfo(QDir(folder).filePath(files.value(0))).size(), kept);
    }
}

// A finished file keeps its pending name while no document on disk lists it (the disk full); the
// first write that succeeds gives it its name, or deletes it when its copy went meanwhile. A file
// adopted at start from a download the last process left under way waits likewise.
void TestCuratorDownloads::aFileTakesItsNameOnceTheDocumentListsIt_data()
{
    QTest::addColumn<QString>("road");
    QTest::newRow("downloaded") << "download";
    QTest::newRow("its copy removed before any write succeeded") << "download, removed";
    QTest::newRow("adopted at start") << "adopt";
}

void TestCuratorDownloads::aFileTakesItsNameOnceTheDocumentListsIt()
{
    QFETCH(QString, road);
    const Post p = xPost(QStringLiteral("12"), {image(1000, kFirst)});
    const QString name = QStringLiteral("someone_12.jpg");
    CuratorRig rig(Library({makeSave(1, p), makeSave(2, xPost(QStringLiteral("13")))}, {}));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(1000));
    rig.archive->full = true;
    if (road == u"adopt") {
        rig.archive->stored = Archive(rig.curator->library(), copies({{p.link, LocalCopy::downloading(5, 1000)}}));
        ScriptedDownloader::writeFile(Url::fromLocalFile(rig.pendingFile(name)), 1000);
        QVERIFY(rig.curator->restore());
    } else {
        QVERIFY(run(rig.curator->download(saveID(1))));
    }
    rig.curator->reconcile();   // adopts; a copy whose file waits is kept
    QCOMPARE(rig.copy(p.link), LocalCopy::onThisComputer({LocalFile{name, 1000}}));
    QCOMPARE(rig.mediaFiles(), QStringList{MediaFolder::pendingName(name)});

    if (road == u"download, removed")
        rig.curator->removeLocalCopy(saveID(1));
    rig.archive->full = false;
    rig.curator->favourite(saveID(2));
    rig.curator->flush();
    QCOMPARE(rig.mediaFiles(), road == u"download, removed" ? QStringList() : QStringList{name});
    QVERIFY(rig.curator->leftBehind().isEmpty());
}

void TestCuratorDownloads::reconcilingAsideLeavesWhatChangedMeanwhile_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("goneForgotten");
    QTest::newRow("nothing") << QStringLiteral("nothing") << true;
    // Its document fails to be written: the file waits under its pending name.
    QTest::newRow("a download finishes") << QStringLiteral("download") << true;
    // Written at once: the file is renamed while the folder is being read.
    QTest::newRow("a file takes its name") << QStringLiteral("rename") << false;
    QTest::newRow("a leftover of ours, nothing under way") << QStringLiteral("leftover") << true;
}

void TestCuratorDownloads::reconcilingAsideLeavesWhatChangedMeanwhile()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, goneForgotten);
    const Post gone = xPost(QStringLiteral("11"), {image(100, kSecond)});
    const Post here = xPost(QStringLiteral("12"), {image(100, kSecond)});
    const Post fetched = xPost(QStringLiteral("13"), {image(1000, kFirst)});
    const LocalCopy goneCopy = LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_11.jpg"), 100}});
    const LocalCopy hereCopy = LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_12.jpg"), 100}});
    CuratorRig rig(Library({makeSave(1, gone), makeSave(2, here), makeSave(3, fetched)}, {}),
                   copies({{gone.link, goneCopy}, {here.link, hereCopy}}));
    ScriptedDownloader::writeFile(Url::fromLocalFile(rig.mediaFile(QStringLiteral("someone_12.jpg"))), 100);
    const QString leftover = MediaFolder::pendingName(QStringLiteral("someone_99.jpg"));
    if (meanwhile == u"leftover")
        ScriptedDownloader::writeFile(Url::fromLocalFile(rig.mediaFile(leftover)), 10);
    std::optional<QCoro::Task<Outcome>> download;
    if (meanwhile == u"download" || meanwhile == u"rename") {
        download.emplace(rig.curator->download(saveID(3)));
        QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));
        rig.archive->full = meanwhile == u"download";
    }

    std::atomic<bool> atGate = false;
    std::binary_semaphore gate(0);
    rig.disk->onAnyThread = true;
    // Only the first listing waits: the settling of a leftover lists the folder again.
    rig.disk->afterListing = [&] {
        if (!atGate.exchange(true))
            gate.acquire();
    };
    auto task = rig.curator->reconcileAside();
    QVERIFY(settle([&] { return atGate.load(); }));
    // A second call while the first is out lists nothing more.
    QVERIFY(awaitTask(rig.curator->reconcileAside()));
    if (download) {
        rig.downloader->play(0, TransferScript::arriving(1000));
        QVERIFY(run(std::move(*download)));
    }
    gate.release();
    QVERIFY(awaitTask(std::move(task)));

    QCOMPARE(rig.copy(gone.link) == goneCopy, !goneForgotten);
    QCOMPARE(rig.copy(here.link), hereCopy);
    if (download)
        QCOMPARE(rig.copy(fetched.link), LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_13.jpg"), 1000}}));
    QVERIFY(!rig.mediaFiles().contains(leftover));
}

void TestCuratorDownloads::aFolderFoundWholeIsListedAgainOnlyOnceChanged_data()
{
    QTest::addColumn<QString>("between");
    QTest::addColumn<int>("listings");      // after the second call
    QTest::addColumn<bool>("firstKept");
    QTest::addColumn<int>("afterwards");    // after two calls more: once found whole, no more
    QTest::newRow("nothing") << QStringLiteral("nothing") << 1 << true << 1;
    // The copy goes; the copies changed, the next call lists the folder once more.
    QTest::newRow("a copy's file deleted, long before") << QStringLiteral("deleted") << 2 << false << 3;
    // Within the same tick of the file system's clock as the listing, the folder's times may
    // not move: a folder changed lately is listed whatever its stamp.
    QTest::newRow("a copy's file deleted just now") << QStringLiteral("deleted now") << 2 << false << 3;
    QTest::newRow("another file added") << QStringLiteral("added") << 2 << true << 2;
    QTest::newRow("the copies changed") << QStringLiteral("copies") << 2 << true << 2;
    QTest::newRow("the folder changed during the listing") << QStringLiteral("during") << 2 << true << 2;
}

void TestCuratorDownloads::aFolderFoundWholeIsListedAgainOnlyOnceChanged()
{
    QFETCH(QString, between);
    QFETCH(int, listings);
    QFETCH(bool, firstKept);
    QFETCH(int, afterwards);
    const Post first = xPost(QStringLiteral("11"), {image(100, kFirst)});
    const Post second = xPost(QStringLiteral("12"), {image(100, kSecond)});
    const LocalCopy firstCopy = LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_11.jpg"), 100}});
    const LocalCopy secondCopy = LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_12.jpg"), 100}});
    CuratorRig rig(Library({makeSave(1, first), makeSave(2, second)}, {}),
                   copies({{first.link, firstCopy}, {second.link, secondCopy}}));
    for (const QString &name : {QStringLiteral("someone_11.jpg"), QStringLiteral("someone_12.jpg")})
        ScriptedDownloader::writeFile(Url::fromLocalFile(rig.mediaFile(name)), 100);
    // A folder counts as settled a tenth of a second after its last change, not seconds.
    constexpr std::int64_t settled = 100'000'000;
    rig.disk->live = LiveMediaDisk(settled);
    rig.disk->onAnyThread = true;
    const auto settle = [] { QTest::qWait(150); };
    settle();
    if (between == u"during") {
        rig.disk->afterListing = [&] {
            if (rig.disk->listings == 1)
                ScriptedDownloader::writeFile(Url::fromLocalFile(rig.mediaFile(QStringLiteral("other.txt"))), 1);
        };
    }
    QVERIFY(awaitTask(rig.curator->reconcileAside()));
    QCOMPARE(rig.disk->listings.load(), 1);

    if (between == u"deleted" || between == u"deleted now")
        QVERIFY(QFile::remove(rig.mediaFile(QStringLiteral("someone_11.jpg"))));
    else if (between == u"added")
        ScriptedDownloader::writeFile(Url::fromLocalFile(rig.mediaFile(QStringLiteral("other.txt"))), 1);
    else if (between == u"copies")
        rig.curator->limitLocalMedia(CuratorRig::kBudget / 2);
    if (between != u"deleted now")
        settle();
    QVERIFY(awaitTask(rig.curator->reconcileAside()));
    QCOMPARE(rig.disk->listings.load(), listings);
    QCOMPARE(rig.copy(first.link) == firstCopy, firstKept);
    QCOMPARE(rig.copy(second.link), secondCopy);

    // Found whole again, the folder is not listed again.
    settle();
    QVERIFY(awaitTask(rig.curator->reconcileAside()));
    QVERIFY(awaitTask(rig.curator->reconcileAside()));
    QCOMPARE(rig.disk->listings.load(), afterwards);
}

// ---- several saves ------------------------------------------------------------------------------------

void TestCuratorDownloads::severalSavesOneAfterAnother()
{
    const QString third = QStringLiteral("https://pbs.example.com/third.jpg");
    const Post a = xPost(QStringLiteral("10"), {image(100, kFirst)});
    const Post b = xPost(QStringLiteral("11"), {image(100, kSecond)});
    const Post c = xPost(QStringLiteral("12"), {image(100, third)});
    CuratorRig rig(Library({makeSave(1, a), makeSave(2, b), makeSave(3, c)}, {}),
                   copies({{b.link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_11.jpg"), 100}})}}));
    rig.downloader->scripts.insert(third, TransferScript::arriving(100));

    auto task = rig.curator->download(QList<Save::ID>{saveID(1), saveID(99), saveID(2), saveID(3)});
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));
    QTest::qWait(20);
    // The next save waits for the first to end.
    QCOMPARE(rig.downloader->calls.size(), 1);
    rig.downloader->play(0, TransferScript::arriving(100));
    QVERIFY(awaitTask(std::move(task)));

    QCOMPARE(rig.downloader->remotes(), (QStringList{kFirst, third}));
    QVERIFY(rig.copy(a.link).asOnThisComputer());
    QVERIFY(rig.copy(c.link).asOnThisComputer());
}

void TestCuratorDownloads::missingMediaInLibraryOrder()
{
    const QString urls[] = {QStringLiteral("https://m.example.com/1.jpg"), QStringLiteral("https://m.example.com/2.jpg"),
                            QStringLiteral("https://m.example.com/3.jpg"), QStringLiteral("https://m.example.com/5.jpg")};
    const Post missing = xPost(QStringLiteral("21"), {image(100, urls[0])});
    const Post here = xPost(QStringLiteral("22"), {image(100, urls[1])});
    const Post trashed = xPost(QStringLiteral("23"), {image(100, urls[2])});
    const Post text = xPost(QStringLiteral("24"));
    const Post failed = xPost(QStringLiteral("25"), {image(100, urls[3])});
    CuratorRig rig(Library({makeSave(1, missing, 500), makeSave(2, here, 400),
                            makeSave(SaveSpec(3, trashed, 300).trashed(350)), makeSave(4, text, 200),
                            makeSave(5, failed, 100)},
                           {}),
                   copies({{here.link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_22.jpg"), 100}})},
                           {failed.link, LocalCopy::failed(DownloadFailure::unreachable)}}));
    for (const QString &u : urls)
        rig.downloader->scripts.insert(u, TransferScript::arriving(100));

    QVERIFY(awaitTask(rig.curator->downloadMissing()));

    QCOMPARE(rig.downloader->remotes(), (QStringList{urls[0], urls[3]}));
    QVERIFY(rig.copy(failed.link).asOnThisComputer());
    QVERIFY(rig.copy(trashed.link).isLinkOnly());
}

void TestCuratorDownloads::nothingMissingDoesNothing()
{
    const Post here = xPost(QStringLiteral("30"), {image(100, kFirst)});
    CuratorRig rig(Library({makeSave(1, here), makeSave(2, xPost(QStringLiteral("31")))}, {}),
                   copies({{here.link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_30.jpg"), 100}})}}));
    QSignalSpy media(rig.curator.get(), &Curator::localMediaChanged);
    QVERIFY(awaitTask(rig.curator->downloadMissing()));
    QVERIFY(rig.downloader->calls.isEmpty());
    QCOMPARE(rig.archive->writes, 0);
    QCOMPARE(media.count(), 0);
}

// ---- covers ---------------------------------------------------------------------------------------------

void TestCuratorDownloads::keepCover_data()
{
    QTest::addColumn<std::optional<QString>>("preview");
    QTest::addColumn<bool>("alreadyPresent");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<bool>("fetched");
    QTest::addColumn<bool>("kept");

    const auto png = std::optional<QString>(QStringLiteral("https://pbs.example.com/abc.PNG"));
    QTest::newRow("fetched and recorded") << png << false << false << true << true;
    QTest::newRow("no preview") << std::optional<QString>() << false << false << false << false;
    QTest::newRow("already present") << png << true << false << false << true;
    QTest::newRow("a local file is never fetched")
        << std::optional<QString>(QStringLiteral("file:///etc/hosts.png")) << false << false << false << false;
    QTest::newRow("a failed fetch records nothing") << png << false << true << true << false;
}

void TestCuratorDownloads::keepCover()
{
    QFETCH(std::optional<QString>, preview);
    QFETCH(bool, alreadyPresent);
    QFETCH(bool, fails);
    QFETCH(bool, fetched);
    QFETCH(bool, kept);

    const Post p = xPost(QStringLiteral("42"), {}, preview);
    CuratorRig rig(Library({makeSave(1, p)}, {}));
    if (alreadyPresent) {
        rig.downloader->scripts.insert(*preview, TransferScript::arriving(10));
        QVERIFY(awaitTask(rig.curator->keepCover(p)));
        rig.downloader->calls.clear();
    }
    if (preview) {
        rig.downloader->scripts.insert(*preview, fails ? TransferScript::failing(TransferError::badServerResponse(404))
                                                       : TransferScript::arriving(10));
    }
    QSignalSpy covers(rig.curator.get(), &Curator::coversChanged);

    QVERIFY(awaitTask(rig.curator->keepCover(p)));

    QCOMPARE(rig.downloader->calls.size(), fetched ? 1 : 0);
    if (fetched)
        QCOMPARE(rig.downloader->calls[0].destination, Url::fromLocalFile(rig.coverFile(QStringLiteral("someone_42.png"))));
    QCOMPARE(rig.curator->covers().isKept(p), kept);
    QCOMPARE(covers.count(), fetched && kept ? 1 : 0);
    // Covers are not part of the archive.
    QCOMPARE(rig.archive->writes, 0);
}

// A cover that found the disk full is fetched again once something is written again, not at the
// next start; a cover refused by its server, or a write that fails too, fetches nothing.
void TestCuratorDownloads::coversWithoutRoomAreFetchedOnceAWriteSucceeds_data()
{
    QTest::addColumn<TransferError>("failure");
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("fetchedAgain");
    const TransferError full = TransferError::couldNotWrite(QStringLiteral("No space left on device"));
    QTest::newRow("the document written") << full << "edit" << true;
    QTest::newRow("a media file arrived") << full << "download" << true;
    QTest::newRow("another cover arrived") << full << "cover" << true;
    QTest::newRow("the document still cannot be written") << full << "edit on a full disk" << false;
    QTest::newRow("nothing written") << full << "" << false;
    QTest::newRow("a cover the server refused") << TransferError::badServerResponse(404) << "edit" << false;
}

void TestCuratorDownloads::coversWithoutRoomAreFetchedOnceAWriteSucceeds()
{
    QFETCH(TransferError, failure);
    QFETCH(QString, then);
    QFETCH(bool, fetchedAgain);
    const QString preview = QStringLiteral("https://pbs.example.com/cover.png");
    const Post p = xPost(QStringLiteral("50"), {}, preview);
    const Post other = xPost(QStringLiteral("51"), {image(100, kFirst)}, QStringLiteral("https://pbs.example.com/o.png"));
    CuratorRig rig(Library({makeSave(1, p), makeSave(2, other)}, {}));
    rig.downloader->scripts.insert(preview, TransferScript::failing(failure));
    rig.downloader->scripts.insert(other.preview->text(), TransferScript::arriving(10));
    rig.downloader->scripts.insert(kFirst, TransferScript::arriving(100));
    QVERIFY(awaitTask(rig.curator->keepCover(p)));
    rig.downloader->scripts.insert(preview, TransferScript::arriving(10));   // room again

    rig.archive->full = then == u"edit on a full disk";
    if (then.startsWith(u"edit"))
        rig.curator->favourite(saveID(2));
    else if (then == u"download")
        QVERIFY(run(rig.curator->download(saveID(2))));
    else if (then == u"cover")
        QVERIFY(awaitTask(rig.curator->keepCover(other)));
    QCOMPARE(settle([&] { return rig.curator->covers().isKept(p); }, 300ms), fetchedAgain);
    QCOMPARE(rig.downloader->remotes().count(preview), fetchedAgain ? 2 : 1);

    // The first write that succeeds fetches a cover still without room; one kept is not fetched again.
    rig.archive->full = false;
    rig.curator->favourite(saveID(1));
    const bool wantedRoom = failure.kind == TransferError::Kind::couldNotWrite;
    QCOMPARE(settle([&] { return rig.curator->covers().isKept(p); }, 300ms), wantedRoom);
    QCOMPARE(rig.downloader->remotes().count(preview), wantedRoom ? 2 : 1);
}

void TestCuratorDownloads::missingCoversOneAfterAnother()
{
    const Post a = xPost(QStringLiteral("51"), {}, QStringLiteral("https://pbs.example.com/a.jpg"));
    const Post noPreview = xPost(QStringLiteral("52"));
    const Post trashed = xPost(QStringLiteral("53"), {}, QStringLiteral("https://pbs.example.com/c.webp"));
    CuratorRig rig(Library({makeSave(1, a), makeSave(2, noPreview), makeSave(SaveSpec(3, trashed).trashed(10))}, {}));
    QVERIFY(!QFileInfo::exists(rig.coversPath()));

    auto task = rig.curator->keepMissingCovers();
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));
    QTest::qWait(20);
    QCOMPARE(rig.downloader->calls.size(), 1);
    rig.downloader->play(0, TransferScript::arriving(10));
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 2; }));
    rig.downloader->play(1, TransferScript::arriving(10));
    QVERIFY(awaitTask(std::move(task)));

    QCOMPARE(rig.downloader->remotes(),
             (QStringList{QStringLiteral("https://pbs.example.com/a.jpg"), QStringLiteral("https://pbs.example.com/c.webp")}));
    QCOMPARE(rig.curator->covers().present(), (QSet<QString>{QStringLiteral("someone_51.jpg"), QStringLiteral("someone_53.webp")}));
}

void TestCuratorDownloads::coversAlreadyInTheFolderAreNotFetched()
{
    const Post a = xPost(QStringLiteral("61"), {}, QStringLiteral("https://pbs.example.com/a.jpg"));
    const Post b = xPost(QStringLiteral("62"), {}, QStringLiteral("https://pbs.example.com/b.jpg"));
    CuratorRig rig(Library({makeSave(1, a), makeSave(2, b)}, {}));
    ScriptedDownloader::writeFile(Url::fromLocalFile(rig.coverFile(QStringLiteral("someone_61.jpg"))), 5);
    ScriptedDownloader::writeFile(Url::fromLocalFile(rig.coverFile(QStringLiteral("stray.jpg"))), 5);
    rig.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/b.jpg"), TransferScript::arriving(5));

    QVERIFY(awaitTask(rig.curator->keepMissingCovers()));

    QCOMPARE(rig.downloader->remotes(), QStringList{QStringLiteral("https://pbs.example.com/b.jpg")});
    QCOMPARE(rig.curator->covers().present(),
             (QSet<QString>{QStringLiteral("someone_61.jpg"), QStringLiteral("someone_62.jpg"), QStringLiteral("stray.jpg")}));
}

void TestCuratorDownloads::unlistableCoversFolderDoesNothing()
{
    const Post a = xPost(QStringLiteral("71"), {}, QStringLiteral("https://pbs.example.com/a.jpg"));
    const Post b = xPost(QStringLiteral("72"), {}, QStringLiteral("https://pbs.example.com/b.jpg"));
    CuratorRig rig(Library({makeSave(1, a), makeSave(2, b)}, {}));
    rig.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/a.jpg"), TransferScript::arriving(5));
    QVERIFY(awaitTask(rig.curator->keepCover(a)));
    const Covers before = rig.curator->covers();
    rig.downloader->calls.clear();
    rig.disk->failListing = true;

    QVERIFY(awaitTask(rig.curator->keepMissingCovers()));

    QVERIFY(rig.downloader->calls.isEmpty());
    QCOMPARE(rig.curator->covers(), before);
}

void TestCuratorDownloads::linksSharingACoverNameFetchItOnce()
{
    // The scheme is no part of a file name: both links name one cover.
    const Post https = post(webLink(QStringLiteral("https://news.example.com/story")), {},
                            QStringLiteral("https://news.example.com/og.jpg"));
    const Post http = post(webLink(QStringLiteral("http://news.example.com/story")), {},
                           QStringLiteral("http://news.example.com/og.jpg"));
    QCOMPARE(Covers::fileName(https), Covers::fileName(http));
    CuratorRig rig(Library({makeSave(1, https), makeSave(2, http)}, {}));
    rig.downloader->scripts.insert(QStringLiteral("https://news.example.com/og.jpg"), TransferScript::arriving(5));

    QVERIFY(awaitTask(rig.curator->keepMissingCovers()));

    QCOMPARE(rig.downloader->calls.size(), 1);
    QVERIFY(rig.curator->covers().isKept(http));
}

void TestCuratorDownloads::coversKeptOrDeletedDuringTheListingCarryOver()
{
    // The folder is listed on another thread; while the listing waits at its gate, one cover is
    // kept and another deleted on the main thread. Neither may be undone by the older listing.
    const Post listed = xPost(QStringLiteral("81"), {}, QStringLiteral("https://pbs.example.com/a.jpg"));
    const Post keptMeanwhile = xPost(QStringLiteral("82"), {}, QStringLiteral("https://pbs.example.com/b.jpg"));
    const Post deletedMeanwhile = xPost(QStringLiteral("83"), {}, QStringLiteral("https://pbs.example.com/c.jpg"));
    CuratorRig rig(Library({makeSave(1, listed), makeSave(2, keptMeanwhile),
                            makeSave(SaveSpec(3, deletedMeanwhile).trashed(10))}, {}));
    ScriptedDownloader::writeFile(Url::fromLocalFile(rig.coverFile(QStringLiteral("someone_81.jpg"))), 5);
    rig.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/b.jpg"), TransferScript::arriving(5));
    rig.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/c.jpg"), TransferScript::arriving(5));
    QVERIFY(awaitTask(rig.curator->keepCover(deletedMeanwhile)));
    rig.downloader->calls.clear();

    std::atomic<bool> atGate = false;
    std::binary_semaphore gate(0);
    rig.disk->onAnyThread = true;
    rig.disk->afterListing = [&] {
        atGate = true;
        gate.acquire();
    };
    auto task = rig.curator->keepMissingCovers();
    QVERIFY(settle([&] { return atGate.load(); }));
    QVERIFY(awaitTask(rig.curator->keepCover(keptMeanwhile)));
    rig.curator->emptyTrash();
    QVERIFY(settle([&] { return !rig.curator->covers().present().contains(QStringLiteral("someone_83.jpg")); }));
    gate.release();
    QVERIFY(awaitTask(std::move(task)));

    QCOMPARE(rig.curator->covers().present(),
             (QSet<QString>{QStringLiteral("someone_81.jpg"), QStringLiteral("someone_82.jpg")}));
    // The cover kept meanwhile was fetched once, by its own call.
    QCOMPARE(rig.downloader->remotes(), QStringList{QStringLiteral("https://pbs.example.com/b.jpg")});
}

QTEST_GUILESS_MAIN(TestCuratorDownloads)
#include "tst_curatordownloads.moc"

void TestCuratorDownloads::coverArrivingAfterItsSaveLeftIsDeleted()
{
    const Post p = xPost(QStringLiteral("81"), {}, QStringLiteral("https://pbs.example.com/late.jpg"));
    const Post other = xPost(QStringLiteral("82"));
    CuratorRig rig(Library({makeSave(1, p), makeSave(2, other)}, {}));

    auto task = rig.curator->keepCover(p);
    QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));
    rig.curator->trash(saveID(1));
    rig.curator->emptyTrash();
    rig.downloader->play(0, TransferScript::arriving(10));
    QVERIFY(awaitTask(std::move(task)));

    QVERIFY(!rig.curator->covers().isKept(p));
    QVERIFY(!QFileInfo::exists(rig.coverFile(QStringLiteral("someone_81.jpg"))));
}
