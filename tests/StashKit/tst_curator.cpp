// The Curator's state, start-up and archive writing, on a real archive and a real media folder
// in a temporary home: what the live factory builds, what restoring and reconciling do to the
// document, when the archive is written, how failures show, and the local-media housekeeping.

#include "StashKit/Curator.h"
#include "StashKit/LivePostFetcher.h"

#include "CuratorHome.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

const PostLink kVideoLink = xLink(QStringLiteral("Jack"), QStringLiteral("20"));
const PostLink kPictureLink = xLink(QStringLiteral("ann"), QStringLiteral("31"));
const PostLink kPageLink = webLink(QStringLiteral("https://news.example.com/story"));

Library threeSaves()
{
    Library library;
    library.saves = {makeSave(1, post(kVideoLink, {video(5000)}), 300),
                     makeSave(2, post(kPictureLink, {image(100), image(200)}, QStringLiteral("https://pbs.example.com/ann.jpg")), 200),
                     makeSave(3, post(kPageLink, {page(50)}), 100)};
    return library;
}

// Writes a document as an earlier session left it.
bool storeDocument(CuratorHome &home, const Library &library, const CopyTable &copies)
{
    FileArchive writer(home.archiveFolder());
    return writer.store(Archive(library, copies)).has_value();
}

QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestCurator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // ---- start-up ---------------------------------------------------------------------------

    void freshStartWithoutDocument_data()
    {
        QTest::addColumn<bool>("downloadsOnSave");
        QTest::newRow("downloads on save") << true;
        QTest::newRow("no downloads on save") << false;
    }

    void freshStartWithoutDocument()
    {
        QFETCH(bool, downloadsOnSave);
        CuratorHome home;

        const auto curator = Curator::live(home.network, downloadsOnSave, home.folders);

        QVERIFY(curator->library().saves.isEmpty());
        QVERIFY(curator->localMedia().copies().isEmpty());
        QCOMPARE(curator->localMedia().budget().limit, std::int64_t(5368709120));
        QCOMPARE(curator->localMedia().folder().root(), Url::fromLocalFile(home.mediaFolder()));
        QCOMPARE(curator->covers().root(), Url::fromLocalFile(home.coversFolder()));
        QCOMPARE(curator->downloadsOnSave(), downloadsOnSave);
        QCOMPARE(curator->quality(), Quality(Quality::original));
        QCOMPARE(curator->steps(), 0);
        // Neither a document nor any folder was made.
        QCOMPARE(fileNames(home.dir.path()), QStringList{});

        // The first change writes the first document.
        curator->limitLocalMedia(std::int64_t(7) << 30);
        curator->flush();
        const auto doc = home.stored();
        QVERIFY(doc);
        QVERIFY(doc->library.saves.isEmpty());
    }

    void startKeepsAFinishedCopyAndDropsOneUnderWay()
    {
        CuratorHome home;
        const Library library = threeSaves();
        QVERIFY(home.putMedia(QStringLiteral("jack_20.mp4")));
        QVERIFY(storeDocument(home, library,
                              copies({{kVideoLink, onThisComputer({{"jack_20.mp4", 5000}})},
                                      {kPictureLink, LocalCopy::downloading(100, 300)}})));
        const QByteArray before = home.documentBytes();

        const auto curator = Curator::live(home.network, true, home.folders);

        QCOMPARE(curator->library(), library);
        QCOMPARE(curator->localMedia().copy(kVideoLink), onThisComputer({{"jack_20.mp4", 5000}}));
        QCOMPARE(curator->localMedia().copy(kPictureLink), LocalCopy::linkOnly());
        QVERIFY(!curator->localMedia().copies().contains(kPictureLink));
        // Neither restoring nor a reconcile that forgot nothing rewrote the document.
        curator->flush();
        QCOMPARE(home.documentBytes(), before);
    }

    void startForgetsACopyWhoseFileIsGone_data()
    {
        QTest::addColumn<Curator::Start>("start");
        QTest::newRow("whole") << Curator::Start::whole;
        QTest::newRow("behind the first window") << Curator::Start::behindFirstWindow;
    }

    void startForgetsACopyWhoseFileIsGone()
    {
        QFETCH(Curator::Start, start);
        CuratorHome home;
        QVERIFY(home.putMedia(QStringLiteral("ann_31.jpg")));   // the second picture is missing
        QVERIFY(storeDocument(home, threeSaves(),
                              copies({{kPictureLink, onThisComputer({{"ann_31.jpg", 100}, {"ann_31_2.jpg", 200}})},
                                      {kPageLink, onThisComputer({})}})));

        const auto curator = Curator::live(home.network, true, home.folders, LivePostFetcher::defaultApiBase(), start);

        // Behind a first window the listing comes back in its own time, told by the signals;
        // the restored copies are the document's meanwhile, and the preparation waits for the
        // window. (A folder this small may be listed already, on a thread the read left idle,
        // by the time live() awaits it.)
        QCOMPARE(curator->isPreparationHeld(), start == Curator::Start::behindFirstWindow);
        if (start == Curator::Start::behindFirstWindow && curator->localMedia().copies().size() == 2) {
            CuratorSpies spies(*curator);
            QTRY_VERIFY(!curator->localMedia().copies().contains(kPictureLink));
            QCOMPARE(spies.localMedia.count(), 1);
        }
        QVERIFY(!curator->localMedia().copies().contains(kPictureLink));
        QVERIFY(curator->localMedia().copies().contains(kPageLink));   // lists no file: nothing is missing
        curator->flush();
        const auto doc = home.stored();
        QVERIFY(doc);
        QCOMPARE(doc->copies, curator->localMedia().copies());
        QCOMPARE(doc->library, threeSaves());
    }

    // The archive is read on a thread of its own from readAhead() on, before live() asks for it
    // (the read first removes what an interrupted write left); live() restores what it read. A
    // reading let go unused waits for its thread and changes nothing.
    void readAheadOfTheStart_data()
    {
        QTest::addColumn<bool>("used");
        QTest::newRow("restored") << true;
        QTest::newRow("let go unused") << false;
    }

    void readAheadOfTheStart()
    {
        QFETCH(bool, used);
        CuratorHome home;
        QVERIFY(storeDocument(home, threeSaves(), CopyTable()));
        const QString partial = QDir(home.archiveFolder()).filePath(QString::fromLatin1(FileArchive::partialPrefix) + u'x');
        QVERIFY(home.putFile(partial, "half a document"));

        std::optional<Curator::Reading> reading = Curator::readAhead(home.folders);
        QTRY_VERIFY(!QFileInfo::exists(partial));
        if (used) {
            const auto curator = Curator::live(home.network, true, home.folders, LivePostFetcher::defaultApiBase(),
                                               Curator::Start::behindFirstWindow, std::move(*reading));
            QCOMPARE(curator->library(), threeSaves());
            QVERIFY(!curator->archiveSetAside());
        }
        reading.reset();
        QCOMPARE(fileNames(home.archiveFolder()), QStringList{QString::fromLatin1(FileArchive::documentName)});
        QCOMPARE(home.stored()->library, threeSaves());
    }

    void startWithACorruptDocument()
    {
        CuratorHome home;
        QVERIFY(home.putFile(home.documentPath(), "{\"library\": not json"));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be read")));
        const auto curator = Curator::live(home.network, true, home.folders);

        QVERIFY(curator->library().saves.isEmpty());
        QVERIFY(!curator->archiveWritesHeld());
        QVERIFY(!QFile::exists(home.documentPath()));
        const QStringList aside = QDir(home.archiveFolder()).entryList({QStringLiteral("library.unreadable-*.json")});
        QCOMPARE(aside.size(), 1);

        // The next change writes a fresh document beside the one set aside.
        curator->limitLocalMedia(1 << 30);
        curator->flush();
        QVERIFY(home.stored());
        QCOMPARE(QDir(home.archiveFolder()).entryList({QStringLiteral("library.unreadable-*.json")}), aside);
    }

    void anUnreadableDocumentThatStaysInPlaceIsNeverOverwritten()
    {
        CuratorHome home;
        const QByteArray corrupt = "{\"copies\":[],\"library\":{\"saves\":[]}}";   // no collections, no version
        QVERIFY(home.putFile(home.documentPath(), corrupt));
        // Every name the document could be moved to is taken.
        const QDateTime stamp(QDate(2026, 12, 6), QTime(15, 1, 29), Qt::UTC);
        for (int attempt = 1; attempt <= 100; ++attempt)
            QVERIFY(home.putFile(QDir(home.archiveFolder()).filePath(FileArchive::unreadableName(stamp, attempt)), "taken"));
        Curator &curator = home.make(threeSaves(), std::nullopt, std::nullopt, {},
                                     [stamp] { return Date::fromDateTime(stamp); });
        CuratorSpies spies(curator);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("nothing will be written")));
        const auto restored = curator.restore();

        QVERIFY(!restored);
        QVERIFY(!restored.error().wasSetAside());
        QVERIFY(curator.archiveWritesHeld());
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"archiveWritesHeld", 1}}));
        QCOMPARE(curator.library(), threeSaves());   // a failed restore changes nothing

        // Edits go on in memory; the document is left as the user had it.
        curator.trash(saveID(1));
        curator.writeNote(QStringLiteral("kept in memory"), saveID(2));
        curator.limitLocalMedia(1 << 30);
        QVERIFY(curator.library().save(saveID(1))->isTrashed());
        QCOMPARE(home.archive->writes, 0);
        QCOMPARE(home.documentBytes(), corrupt);
    }

    void restoreKeepsTheRunningFolderAndBudget()
    {
        CuratorHome home;
        QVERIFY(storeDocument(home, threeSaves(), copies({{kPageLink, onThisComputer({{"news.example.com_story.html", 50}})}})));
        LocalMedia running(MediaFolder(Url::fromLocalFile(home.dir.filePath(QStringLiteral("elsewhere")))), DiskBudget{12345});
        Curator &curator = home.make({}, running);
        CuratorSpies spies(curator);

        QVERIFY(curator.restore());

        QCOMPARE(curator.localMedia().budget().limit, 12345);
        QCOMPARE(curator.localMedia().folder(), running.folder());
        QCOMPARE(curator.localMedia().copies().size(), 1);
        QCOMPARE(curator.library(), threeSaves());
        QCOMPARE(home.archive->writes, 0);
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"localMedia", 1}}));

        // Restoring the same document again changes no value: nobody is told, nothing written.
        spies.clear();
        QVERIFY(curator.restore());
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
        QCOMPARE(home.archive->writes, 0);
    }

    void restoreWithoutDocumentChangesNothing()
    {
        CuratorHome home;
        Curator &curator = home.make(threeSaves());
        CuratorSpies spies(curator);
        QVERIFY(curator.restore());
        QCOMPARE(curator.library(), threeSaves());
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));
        QVERIFY(!QFile::exists(home.documentPath()));
    }

    // ---- writing the archive ----------------------------------------------------------------------

    void aFailedWriteIsShownAndRetriedWithTheNextChange()
    {
        CuratorHome home;
        // The archive's folder cannot be made while a file stands in its parent's place.
        QVERIFY(home.putFile(QFileInfo(home.archiveFolder()).absolutePath(), "in the way"));
        Curator &curator = home.make(threeSaves());
        CuratorSpies spies(curator);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be written")));
        curator.trash(saveID(1));

        QVERIFY(curator.archiveWriteFailed());
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"library", 1}, {"past", 1}, {"steps", 1}, {"archiveWriteFailed", 1}}));
        QVERIFY(curator.library().save(saveID(1))->isTrashed());   // the state in memory keeps the change

        // Still failing: the flag stays up and is not signalled again.
        spies.clear();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be written")));
        curator.favourite(saveID(2));
        QCOMPARE(spies.writeFailed.count(), 0);

        // Once the way is clear, the next change writes the whole state, earlier changes included.
        QVERIFY(QFile::remove(QFileInfo(home.archiveFolder()).absolutePath()));
        curator.writeNote(QStringLiteral("now it is written"), saveID(3));
        QVERIFY(!curator.archiveWriteFailed());
        QCOMPARE(spies.writeFailed.count(), 1);
        QVERIFY(home.documentMatches());
        QCOMPARE(home.archive->writes, 3);
    }

    void settingsNotifyOnlyWhenTheyChangeAndWriteNothing()
    {
        CuratorHome home;
        Curator &curator = home.make(threeSaves());
        CuratorSpies spies(curator);

        curator.setQuality(Quality::original);
        curator.setDownloadsOnSave(true);
        QCOMPARE(spies.counts(), (QMap<QString, int>{}));

        curator.setQuality(Quality::hd);
        curator.setDownloadsOnSave(false);
        curator.setQuality(Quality::hd);
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"quality", 1}, {"downloadsOnSave", 1}}));
        QCOMPARE(curator.quality(), Quality(Quality::hd));
        QCOMPARE(curator.shelf().quality(), Quality(Quality::hd));
        QCOMPARE(home.archive->writes, 0);
    }

    void anEqualAssignmentWritesButNotifiesNobody()
    {
        CuratorHome home;
        Curator &curator = home.make(threeSaves());
        curator.trash(saveID(1));
        QCOMPARE(home.archive->writes, 1);
        // The document of the first session comes back: the trashing is gone from the library,
        // though its step is still in the history.
        QVERIFY(storeDocument(home, threeSaves(), {}));
        QVERIFY(curator.restore());
        QVERIFY(!curator.library().save(saveID(1))->isTrashed());
        QFile::remove(home.documentPath());
        CuratorSpies spies(curator);

        curator.undo();   // restores a save that is not in the trash: the library stays equal

        QCOMPARE(home.archive->writes, 2);
        QVERIFY(home.documentMatches());   // written all the same
        QCOMPARE(spies.library.count(), 0);
        QVERIFY(!curator.canUndo());
        QVERIFY(curator.canRedo());
    }

    // ---- the local media ----------------------------------------------------------------------

    void limitingTheMediaWritesAndNotifies()
    {
        CuratorHome home;
        Curator &curator = home.make(threeSaves());
        CuratorSpies spies(curator);

        curator.limitLocalMedia(std::int64_t(2) << 30);
        curator.limitLocalMedia(std::int64_t(2) << 30);   // the same limit: an in-place change all the same

        QCOMPARE(curator.localMedia().budget().limit, std::int64_t(2) << 30);
        QCOMPARE(spies.counts(), (QMap<QString, int>{{"localMedia", 2}}));
        QCOMPARE(home.archive->writes, 2);
        QVERIFY(home.documentMatches());
        QCOMPARE(curator.steps(), 0);
    }

    void removingALocalCopy_data()
    {
        QTest::addColumn<int>("save");
        QTest::addColumn<int>("writes");
        QTest::addColumn<QStringList>("filesLeft");
        QTest::addColumn<bool>("copyLeft");
        QTest::newRow("finished copy: files deleted") << 2 << 1 << QStringList{"jack_20.mp4"} << false;
        QTest::newRow("copy under way: nothing deleted") << 1 << 1 << QStringList{"ann_31.jpg", "ann_31_2.jpg", "jack_20.mp4"} << false;
        QTest::newRow("no copy: written, nothing deleted") << 3 << 1 << QStringList{"ann_31.jpg", "ann_31_2.jpg", "jack_20.mp4"} << false;
        QTest::newRow("no such save: nothing at all") << 9 << 0 << QStringList{"ann_31.jpg", "ann_31_2.jpg", "jack_20.mp4"} << true;
    }

    void removingALocalCopy()
    {
        QFETCH(int, save);
        QFETCH(int, writes);
        QFETCH(QStringList, filesLeft);
        QFETCH(bool, copyLeft);
        CuratorHome home;
        for (const char *name : {"jack_20.mp4", "ann_31.jpg", "ann_31_2.jpg"})
            QVERIFY(home.putMedia(QString::fromLatin1(name)));
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({{kVideoLink, LocalCopy::downloading(10, 5000)},
                                {kPictureLink, onThisComputer({{"ann_31.jpg", 100}, {"ann_31_2.jpg", 200}})}}));
        Curator &curator = home.make(threeSaves(), media);
        CuratorSpies spies(curator);
        const qsizetype copiesBefore = curator.localMedia().copies().size();

        curator.removeLocalCopy(saveID(save));

        QCOMPARE(home.archive->writes, writes);
        QCOMPARE(spies.localMedia.count(), writes);
        QCOMPARE(home.mediaFiles(), filesLeft);
        if (copyLeft)
            QCOMPARE(curator.localMedia().copies().size(), copiesBefore);
        else
            QVERIFY(!curator.localMedia().copies().contains(curator.library().save(saveID(save))->post().link));
        QVERIFY(curator.leftBehind().isEmpty());
        QCOMPARE(curator.steps(), 0);
        if (writes)
            QVERIFY(home.documentMatches());
    }

    void aFileAnotherCopyListsIsNotDeleted()
    {
        CuratorHome home;
        // By http and by https one page is two links with one file name.
        const PostLink plain = webLink(QStringLiteral("http://example.com/clip"));
        const PostLink secure = webLink(QStringLiteral("https://example.com/clip"));
        Library library;
        library.saves = {makeSave(1, post(plain, {page(10)}), 2), makeSave(2, post(secure, {page(10)}), 1)};
        QVERIFY(home.putMedia(QStringLiteral("example.com_clip.html")));
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({{plain, onThisComputer({{"example.com_clip.html", 10}})},
                                {secure, onThisComputer({{"example.com_clip.html", 10}})}}));
        Curator &curator = home.make(library, media);

        curator.removeLocalCopy(saveID(1));
        QCOMPARE(home.mediaFiles(), QStringList{QStringLiteral("example.com_clip.html")});

        // Once no copy lists it, it goes.
        curator.removeLocalCopy(saveID(2));
        QCOMPARE(home.mediaFiles(), QStringList{});
        QVERIFY(curator.leftBehind().isEmpty());
    }

    void aDeletionFailureListsEveryUrlOfTheCall()
    {
        CuratorHome home;
        const PostLink three = xLink(QStringLiteral("tri"), QStringLiteral("3"));
        Library library;
        library.saves = {makeSave(1, post(three, {image(1), image(2), image(3)}), 1)};
        for (const char *name : {"tri_3.jpg", "tri_3_2.jpg", "tri_3_3.jpg"})
            QVERIFY(home.putMedia(QString::fromLatin1(name)));
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({{three, onThisComputer({{"tri_3.jpg", 1}, {"tri_3_2.jpg", 2}, {"tri_3_3.jpg", 3}})}}));
        auto disk = std::make_shared<FailingDisk>();
        disk->failOn = QStringLiteral("tri_3_2.jpg");
        Curator &curator = home.make(library, media, std::nullopt, disk);
        CuratorSpies spies(curator);

        curator.removeLocalCopy(saveID(1));

        const QList<Url> all{home.mediaUrl(QStringLiteral("tri_3.jpg")), home.mediaUrl(QStringLiteral("tri_3_2.jpg")),
                             home.mediaUrl(QStringLiteral("tri_3_3.jpg"))};
        QCOMPARE(disk->calls, QList<QList<Url>>{all});
        // The first file is gone, yet all three are listed: the call failed as a whole.
        QCOMPARE(home.mediaFiles(), (QStringList{"tri_3_2.jpg", "tri_3_3.jpg"}));
        QCOMPARE(curator.leftBehind(), all);
        QVERIFY(curator.localMedia().copies().isEmpty());   // forgotten all the same
        QCOMPARE(spies.leftBehind.count(), 1);

        curator.forgetLeftBehind();
        curator.forgetLeftBehind();
        QVERIFY(curator.leftBehind().isEmpty());
        QCOMPARE(spies.leftBehind.count(), 2);   // the second forgetting changed nothing
    }

    void reconciling_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<int>("copiesLeft");
        QTest::addColumn<int>("writes");
        QTest::newRow("all files there") << QStringList{"jack_20.mp4", "ann_31.jpg", "ann_31_2.jpg"} << true << 3 << 0;
        QTest::newRow("one picture of two gone") << QStringList{"jack_20.mp4", "ann_31.jpg"} << true << 2 << 1;
        QTest::newRow("no media folder") << QStringList{} << false << 1 << 1;
    }

    void reconciling()
    {
        QFETCH(QStringList, present);
        QFETCH(bool, folderExists);
        QFETCH(int, copiesLeft);
        QFETCH(int, writes);
        CuratorHome home;
        if (folderExists)
            QVERIFY(QDir().mkpath(home.mediaFolder()));
        for (const QString &name : present)
            QVERIFY(home.putMedia(name));
        LocalMedia media = home.emptyMedia();
        // The failed copy lists no file and is never forgotten.
        media.setCopies(copies({{kVideoLink, onThisComputer({{"jack_20.mp4", 5000}})},
                                {kPictureLink, onThisComputer({{"ann_31.jpg", 100}, {"ann_31_2.jpg", 200}})},
                                {kPageLink, LocalCopy::failed(DownloadFailure::unreachable)}}));
        Curator &curator = home.make(threeSaves(), media);
        CuratorSpies spies(curator);

        curator.reconcile();

        QCOMPARE(curator.localMedia().copies().size(), copiesLeft);
        QCOMPARE(home.archive->writes, writes);
        QCOMPARE(spies.localMedia.count(), writes);
        if (writes)
            QVERIFY(home.documentMatches());
    }

    void reconcilingAnUnlistableFolderDoesNothing()
    {
        CuratorHome home;
        QVERIFY(home.putFile(home.mediaFolder(), "a file where the folder should be"));
        LocalMedia media = home.emptyMedia();
        media.setCopies(copies({{kVideoLink, onThisComputer({{"jack_20.mp4", 5000}})}}));
        Curator &curator = home.make(threeSaves(), media);

        curator.reconcile();

        QCOMPARE(curator.localMedia().copies().size(), 1);
        QCOMPARE(home.archive->writes, 0);
    }

    void savesLinkedBy_data()
    {
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<QList<int>>("saves");
        QTest::newRow("web, unparsable, trashed, in order")
            << QStringList{"https://news.example.com/story", "mailto:someone@example.com", "https://x.com/ann/status/31"}
            << QList<int>{3, 2};
        QTest::newRow("another handle, one status") << QStringList{"https://twitter.com/someone/status/20"} << QList<int>{1};
        QTest::newRow("given twice") << QStringList{"https://x.com/jack/status/20", "https://x.com/jack/status/20"}
                                     << QList<int>{1, 1};
        QTest::newRow("links without saves") << QStringList{"https://x.com/nobody/status/99", "https://example.org/"}
                                             << QList<int>{};
    }

    void savesLinkedBy()
    {
        QFETCH(QStringList, urls);
        QFETCH(QList<int>, saves);
        CuratorHome home;
        Library library = threeSaves();
        library.trash(saveID(2), Date{50});
        Curator &curator = home.make(library);
        QList<Url> list;
        for (const QString &text : urls)
            list.append(url(text));

        QList<Save::ID> expected;
        for (int n : saves)
            expected.append(saveID(n));
        QCOMPARE(curator.saves(list), expected);
    }

    // ---- a whole session --------------------------------------------------------------------------

    void aWholeSessionKeepsTheDocumentCurrent()
    {
        CuratorHome home;
        QVERIFY(home.putMedia(QStringLiteral("jack_20.mp4")));
        QVERIFY(home.putMedia(QStringLiteral("ann_31.jpg")));
        QVERIFY(home.putMedia(QStringLiteral("ann_31_2.jpg")));
        QVERIFY(home.putCover(QStringLiteral("ann_31.jpg")));
        QVERIFY(storeDocument(home, threeSaves(),
                              copies({{kVideoLink, onThisComputer({{"jack_20.mp4", 5000}})},
                                      {kPictureLink, onThisComputer({{"ann_31.jpg", 100}, {"ann_31_2.jpg", 200}})}})));
        Covers covers = home.emptyCovers();
        covers.setPresent({QStringLiteral("ann_31.jpg")});
        Curator &curator = home.make({}, home.emptyMedia(), covers);
        QVERIFY(curator.restore());
        curator.reconcile();
        QCOMPARE(home.archive->writes, 0);

        Collection::ID trips;
        // Each operation and the number of writes it makes: at most one.
        const std::vector<std::pair<const char *, std::function<void()>>> session{
            {"favourite", [&] { curator.favourite(saveID(1)); }},
            {"tag", [&] { curator.tag(saveID(1), *Tag::fromText(QStringLiteral("#Clips"))); }},
            {"make a collection", [&] { trips = curator.makeCollection(QStringLiteral("Trips"))->id; }},
            {"file two", [&] { QVERIFY(curator.file({saveID(1), saveID(2)}, trips)); }},
            {"note", [&] { curator.writeNote(QStringLiteral("watch later"), saveID(1)); }},
            {"rename the collection", [&] { QVERIFY(curator.editCollection(trips, QStringLiteral("Travel"), Swatch::green)); }},
            {"trash two", [&] { curator.trash({saveID(2), saveID(3)}); }},
            {"undo", [&] { curator.undo(); }},
            {"redo", [&] { curator.redo(); }},
            {"restore one", [&] { curator.restore(saveID(3)); }},
            {"limit the media", [&] { curator.limitLocalMedia(std::int64_t(1) << 30); }},
            {"remove a local copy", [&] { curator.removeLocalCopy(saveID(1)); }},
            {"remove the collection", [&] { curator.removeCollection(trips); }},
            {"undo the removal", [&] { curator.undo(); }},
            {"untag", [&] { curator.untag(saveID(1), *Tag::fromText(QStringLiteral("clips"))); }},
            {"empty the trash", [&] { curator.emptyTrash(); }},
            {"reconcile", [&] { curator.reconcile(); }},
        };
        for (const auto &[name, operation] : session) {
            const int before = home.archive->writes;
            operation();
            QVERIFY2(home.archive->writes - before <= 1, name);
            QVERIFY2(home.documentMatches(), name);
        }

        // Where the session ended: save 2 and its media and cover are gone for good.
        QCOMPARE(curator.library().saves.size(), 2);
        QVERIFY(!curator.library().save(saveID(2)));
        QCOMPARE(curator.library().collections.size(), 1);
        QCOMPARE(curator.library().collections.first().name, QStringLiteral("Travel"));
        QCOMPARE(curator.library().save(saveID(1))->collection(), std::optional<Collection::ID>(trips));
        QVERIFY(curator.library().save(saveID(1))->tags().isEmpty());
        QVERIFY(curator.localMedia().copies().isEmpty());
        QCOMPARE(home.mediaFiles(), QStringList{});
        QCOMPARE(home.coverFiles(), QStringList{});
        QVERIFY(curator.covers().present().isEmpty());
        QVERIFY(!curator.canUndo());
        QVERIFY(!curator.canRedo());
        QCOMPARE(curator.steps(), 9);
    }
};

QTEST_GUILESS_MAIN(TestCurator)
#include "tst_curator.moc"
