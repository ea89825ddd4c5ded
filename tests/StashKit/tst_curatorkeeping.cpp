// Looking a link up and keeping its post through the Curator, on scripted services: the
// refusals, what a keep writes and fetches for each outcome, when it returns, and that it records
// no undo step.

#include "CuratorRig.h"

#include "AwaitTask.h"

#include <QtTest>

Q_DECLARE_METATYPE(sw::SaveRefusal)
Q_DECLARE_METATYPE(sw::FetchError)

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

const QString kClip = QStringLiteral("https://video.example.com/clip.mp4");
const QString kCover = QStringLiteral("https://pbs.example.com/cover.jpg");

Post fetchedPost(const PostLink &link, bool withMedia = true)
{
    std::vector<Attachment> media;
    if (withMedia)
        media.push_back(video(4000, std::nullopt, kClip));
    return post(link, std::move(media), kCover);
}

template <typename T>
T await(QCoro::Task<T> task)
{
    auto result = awaitTask(std::move(task));
    if (!result)
        qFatal("the task did not end");
    return std::move(*result);
}

QString caseOf(const Library::Keeping &keeping)
{
    if (std::holds_alternative<Library::Kept>(keeping))
        return QStringLiteral("kept");
    if (std::holds_alternative<Library::Restored>(keeping))
        return QStringLiteral("restored");
    return QStringLiteral("alreadyKept");
}

}  // namespace

class TestCuratorKeeping : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void lookRefusesWithoutAsking_data();
    void lookRefusesWithoutAsking();
    void anyFailedFetchIsUnreachable_data();
    void anyFailedFetchIsUnreachable();
    void lookChangesNothing();
    void trashedSaveIsLookedUpAgain();

    void keep_data();
    void keep();
    void keepReturnsOnceCoverAndDownloadHaveEnded();
    void keepRecordsNoUndoStep();
    void keepingTheSameLinkTwiceMakesOneSave();

    void saveChainsLookAndKeep();
    void saveOfTextThatIsNoLinkAddsNothing();
};

// ---- look ----------------------------------------------------------------------------------------

void TestCuratorKeeping::lookRefusesWithoutAsking_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<SaveRefusal>("refusal");

    QTest::newRow("words") << QStringLiteral("not a link at all") << SaveRefusal::notALink();
    QTest::newRow("empty") << QStringLiteral("  ") << SaveRefusal::notALink();
    QTest::newRow("a profile, not a post") << QStringLiteral("https://x.com/someone") << SaveRefusal::notAPost();
    QTest::newRow("kept already") << QStringLiteral("https://x.com/Someone/status/100")
                                  << SaveRefusal::alreadyKept(saveID(1));
    QTest::newRow("kept already under another handle")
        << QStringLiteral("  https://twitter.com/other_name/status/100\n") << SaveRefusal::alreadyKept(saveID(1));
}

void TestCuratorKeeping::lookRefusesWithoutAsking()
{
    QFETCH(QString, text);
    QFETCH(SaveRefusal, refusal);

    CuratorRig rig(Library({makeSave(1, fetchedPost(xLink(QStringLiteral("Someone"), QStringLiteral("100"))))}, {}));
    rig.fetcher->answer = [](const PostLink &link) { return fetchedPost(link); };

    const auto looked = await(rig.curator->look(text));

    QVERIFY(!looked);
    QCOMPARE(looked.error(), refusal);
    QVERIFY(rig.fetcher->asked.isEmpty());
    QCOMPARE(rig.archive->writes, 0);
}

void TestCuratorKeeping::anyFailedFetchIsUnreachable_data()
{
    QTest::addColumn<FetchError>("error");
    QTest::newRow("not found") << FetchError(FetchFailure::notFound);
    QTest::newRow("a page that cannot be read") << FetchError(FetchFailure::unreadable);
    QTest::newRow("a network error")
        << FetchError(TransportError{QNetworkReply::ConnectionRefusedError, QStringLiteral("refused")});
    QTest::newRow("not a status document") << FetchError(DecodingError{QStringLiteral("missing key")});
}

void TestCuratorKeeping::anyFailedFetchIsUnreachable()
{
    QFETCH(FetchError, error);

    CuratorRig rig;
    rig.fetcher->answer = [error](const PostLink &) { return std::expected<Post, FetchError>(std::unexpected(error)); };

    const auto looked = await(rig.curator->look(QStringLiteral("https://x.com/someone/status/5")));

    QVERIFY(!looked);
    QCOMPARE(looked.error(), SaveRefusal::unreachable());
    QCOMPARE(rig.fetcher->asked.size(), 1);
}

void TestCuratorKeeping::lookChangesNothing()
{
    CuratorRig rig;
    rig.fetcher->answer = [](const PostLink &link) { return fetchedPost(link); };
    QSignalSpy library(rig.curator.get(), &Curator::libraryChanged);
    QSignalSpy covers(rig.curator.get(), &Curator::coversChanged);

    const auto looked = await(rig.curator->look(QStringLiteral("x.com/Someone/status/7")));

    QVERIFY(looked);
    QCOMPARE(looked->link, xLink(QStringLiteral("someone"), QStringLiteral("7")));
    QVERIFY(rig.curator->library().saves.isEmpty());
    QCOMPARE(rig.archive->writes, 0);
    QCOMPARE(library.count(), 0);
    QCOMPARE(covers.count(), 0);
    QVERIFY(rig.downloader->calls.isEmpty());
}

void TestCuratorKeeping::trashedSaveIsLookedUpAgain()
{
    const PostLink link = xLink(QStringLiteral("someone"), QStringLiteral("8"));
    CuratorRig rig(Library({makeSave(SaveSpec(1, fetchedPost(link)).trashed(10))}, {}));
    rig.fetcher->answer = [](const PostLink &l) {
        Post fresh = fetchedPost(l);
        fresh.text = QStringLiteral("fresh");
        return fresh;
    };

    const auto looked = await(rig.curator->look(QStringLiteral("https://x.com/someone/status/8")));

    QVERIFY(looked);
    QCOMPARE(looked->text, QStringLiteral("fresh"));
    QCOMPARE(rig.fetcher->asked.size(), 1);
    QVERIFY(rig.curator->library().save(saveID(1))->isTrashed());
}

// ---- keep ------------------------------------------------------------------------------------------

void TestCuratorKeeping::keep_data()
{
    QTest::addColumn<QString>("existing");   // "", "live" or "trashed"
    QTest::addColumn<bool>("withMedia");
    QTest::addColumn<bool>("downloadsOnSave");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("downloaded");

    const qint64 plenty = CuratorRig::kBudget;
    QTest::newRow("new, with media") << "" << true << true << plenty << "kept" << true;
    QTest::newRow("new, downloading on save off") << "" << true << false << plenty << "kept" << false;
    QTest::newRow("new, without attachments") << "" << false << true << plenty << "kept" << false;
    QTest::newRow("new, over the budget") << "" << true << true << qint64(100) << "kept" << false;
    QTest::newRow("in the trash") << "trashed" << true << true << plenty << "restored" << false;
    QTest::newRow("kept already") << "live" << true << true << plenty << "alreadyKept" << false;
}

void TestCuratorKeeping::keep()
{
    QFETCH(QString, existing);
    QFETCH(bool, withMedia);
    QFETCH(bool, downloadsOnSave);
    QFETCH(qint64, budget);
    QFETCH(QString, outcome);
    QFETCH(bool, downloaded);

    const PostLink link = xLink(QStringLiteral("someone"), QStringLiteral("9"));
    const Post p = fetchedPost(link, withMedia);
    Library library;
    if (existing == u"live")
        library = Library({makeSave(1, p)}, {});
    else if (existing == u"trashed")
        library = Library({makeSave(SaveSpec(1, p).trashed(10))}, {});
    CuratorRig rig(library, {}, budget);
    rig.curator->setDownloadsOnSave(downloadsOnSave);
    rig.downloader->scripts.insert(kCover, TransferScript::arriving(50));
    rig.downloader->scripts.insert(kClip, TransferScript::arriving(4000));

    const Library::Keeping keeping = await(rig.curator->keep(p, std::nullopt));

    QCOMPARE(caseOf(keeping), outcome);
    const Save::ID id = Library::idOf(keeping);
    if (existing.isEmpty())
        QVERIFY(id != saveID(1));
    else
        QCOMPARE(id, saveID(1));
    QCOMPARE(rig.curator->library().saves.size(), 1);
    QVERIFY(!rig.curator->library().save(id)->isTrashed());

    // The archive holds the outcome, whatever it was.
    QVERIFY(rig.archive->writes >= 1);
    QCOMPARE(rig.archive->stored->library, rig.curator->library());
    // The cover is kept for every outcome.
    QCOMPARE(rig.downloader->remotes().value(0), kCover);
    QVERIFY(rig.curator->covers().isKept(p));

    QCOMPARE(rig.downloader->remotes().contains(kClip), downloaded);
    if (downloaded) {
        QCOMPARE(rig.copy(link), LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_9.mp4"), 4000}}));
        QCOMPARE(rig.storedCopy(link), std::optional<LocalCopy>(rig.copy(link)));
    } else {
        QVERIFY(rig.copy(link).isLinkOnly());
    }
}

void TestCuratorKeeping::keepReturnsOnceCoverAndDownloadHaveEnded()
{
    const Post p = fetchedPost(xLink(QStringLiteral("someone"), QStringLiteral("10")));
    CuratorRig rig;
    bool ended = false;
    const auto keeping = [&]() -> QCoro::Task<void> {
        co_await rig.curator->keep(p, std::nullopt);
        ended = true;
    };
    auto task = keeping();

    QVERIFY(settle([&] { return rig.downloader->calls.size() == 1; }));
    QCOMPARE(rig.curator->library().saves.size(), 1);
    QCOMPARE(rig.archive->writes, 1);
    QVERIFY(!ended);
    rig.downloader->play(0, TransferScript::arriving(50));

    QVERIFY(settle([&] { return rig.downloader->calls.size() == 2; }));
    QVERIFY(!ended);
    rig.downloader->send(1, Transfer::progress(300000));
    QTest::qWait(20);
    QVERIFY(!ended);
    rig.downloader->play(1, TransferScript::arriving(400000));

    QVERIFY(awaitTask(std::move(task)));
    QVERIFY(ended);
    QVERIFY(rig.copy(p.link).asOnThisComputer());
}

void TestCuratorKeeping::keepRecordsNoUndoStep()
{
    CuratorRig rig(Library({makeSave(SaveSpec(1, fetchedPost(xLink(QStringLiteral("a"), QStringLiteral("1")))).trashed(5))},
                           {}));
    rig.downloader->scripts.insert(kCover, TransferScript::arriving(50));
    rig.curator->favourite(saveID(1));
    QCOMPARE(rig.curator->steps(), 1);
    QSignalSpy steps(rig.curator.get(), &Curator::stepsChanged);

    await(rig.curator->keep(fetchedPost(xLink(QStringLiteral("b"), QStringLiteral("2")), false), std::nullopt));
    await(rig.curator->keep(fetchedPost(xLink(QStringLiteral("a"), QStringLiteral("1")), false), std::nullopt));

    QCOMPARE(rig.curator->steps(), 1);
    QCOMPARE(steps.count(), 0);
    QVERIFY(!rig.curator->canRedo());
    // The favourite edit recorded before is still the one to undo.
    rig.curator->undo();
    QVERIFY(!rig.curator->library().save(saveID(1))->isFavourite());
    QCOMPARE(rig.curator->library().saves.size(), 2);
}

void TestCuratorKeeping::keepingTheSameLinkTwiceMakesOneSave()
{
    const Post p = fetchedPost(xLink(QStringLiteral("someone"), QStringLiteral("11")), false);
    CuratorRig rig;
    // Both keeps are under way at once, waiting for the cover.
    auto first = rig.curator->keep(p, std::nullopt);
    auto second = rig.curator->keep(p, std::nullopt);
    for (int i = 0; i < 2; ++i) {
        QVERIFY(settle([&] { return rig.downloader->calls.size() > i; }));
        rig.downloader->play(i, TransferScript::arriving(50));
    }
    const auto a = awaitTask(std::move(first));
    const auto b = awaitTask(std::move(second));

    QVERIFY(a && b);
    QCOMPARE(caseOf(*a), QStringLiteral("kept"));
    QCOMPARE(caseOf(*b), QStringLiteral("alreadyKept"));
    QCOMPARE(Library::idOf(*b), Library::idOf(*a));
    QCOMPARE(rig.curator->library().saves.size(), 1);
}

// ---- save ------------------------------------------------------------------------------------------

void TestCuratorKeeping::saveChainsLookAndKeep()
{
    CuratorRig rig;
    const Collection::ID shelf = rig.curator->makeCollection(QStringLiteral("Reading"))->id;
    rig.fetcher->answer = [](const PostLink &link) { return fetchedPost(link, false); };
    rig.downloader->scripts.insert(kCover, TransferScript::arriving(50));

    const auto saved = await(rig.curator->save(QStringLiteral("https://x.com/Someone/status/12"), shelf));

    QVERIFY(saved);
    const auto save = rig.curator->library().save(*saved);
    QVERIFY(save);
    QCOMPARE(save->post().link, xLink(QStringLiteral("someone"), QStringLiteral("12")));
    QCOMPARE(save->collection(), std::optional<Collection::ID>(shelf));
    QCOMPARE(save->savedAt(), Date{800000000});
    QCOMPARE(rig.downloader->remotes(), QStringList{kCover});
    QVERIFY(rig.curator->covers().isKept(save->post()));

    // The same link again is refused with that save, and nothing is fetched for it.
    const auto again = await(rig.curator->save(QStringLiteral("https://x.com/someone/status/12"), std::nullopt));
    QVERIFY(!again);
    QCOMPARE(again.error(), SaveRefusal::alreadyKept(*saved));
    QCOMPARE(rig.fetcher->asked.size(), 1);
}

void TestCuratorKeeping::saveOfTextThatIsNoLinkAddsNothing()
{
    CuratorRig rig;
    rig.fetcher->answer = [](const PostLink &link) { return fetchedPost(link); };

    const auto saved = await(rig.curator->save(QStringLiteral("hello there"), std::nullopt));

    QVERIFY(!saved);
    QCOMPARE(saved.error(), SaveRefusal::notALink());
    QVERIFY(rig.curator->library().saves.isEmpty());
    QCOMPARE(rig.archive->writes, 0);
    QVERIFY(rig.fetcher->asked.isEmpty());
}

QTEST_GUILESS_MAIN(TestCuratorKeeping)
#include "tst_curatorkeeping.moc"
