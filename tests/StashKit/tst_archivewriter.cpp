// The archive written on the Curator's writer thread: order and coalescing, a failure and the
// change made while it fails, the last change on disk when the Curator goes, searches while the
// restored saves are still being prepared, files deleted only once the document that no longer
// names them is on disk, and what a killed process or a full disk leaves.
//
// The kill and full-disk cases run the executable again in a --child-* mode.

#include "AwaitTask.h"
#include "CuratorHome.h"
#include "CuratorRig.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "StashKit/FileArchive.h"
#include "StashKit/LiveMediaDisk.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>

#include <sys/resource.h>

using namespace sw;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

// `count` saves with texts long enough that writing them takes a while, and words to search.
Library manySaves(int count, int textLength = 40)
{
    static const QStringList words{QStringLiteral("Volcano"), QStringLiteral("café"), QStringLiteral("river"),
                                   QStringLiteral("Straße"), QStringLiteral("volume"), QStringLiteral("night")};
    Library library;
    for (int i = 0; i < count; ++i) {
        const QString text = words.at(i % words.size()) + u' ' + words.at(i / 7 % words.size()) + u' '
            + QString(textLength, QChar(u'a' + i % 26));
        library.saves.append(makeSave(SaveSpec(i + 1, postOnX(QStringLiteral("writer%1").arg(i % 13), QString::number(1000 + i), text),
                                               1000.0 - i)
                                          .noted(i % 5 == 0 ? QStringLiteral("note %1").arg(i) : QString())));
    }
    return library;
}

std::unique_ptr<Curator> curatorOver(std::shared_ptr<Archiving> archive, Library library = {},
                                     const QString &folder = QStringLiteral("/tmp/none"))
{
    return std::make_unique<Curator>(std::move(library),
                                     LocalMedia(MediaFolder(Url::fromLocalFile(folder + QStringLiteral("/media"))),
                                                DiskBudget{Curator::kDefaultBudget}),
                                     Covers(Url::fromLocalFile(folder + QStringLiteral("/Covers"))), nullptr, nullptr,
                                     std::make_shared<LiveMediaDisk>(), std::move(archive), [] { return Date{800000000}; });
}

// An archive whose writes wait at a gate the test opens, and fail when told to. It keeps the note
// of save 1 of each library it stored, in order. Called on the writer thread: all under its lock.
class GatedArchive final : public Archiving {
public:
    explicit GatedArchive(Library loaded = {}) : m_loaded(std::move(loaded)) {}

    std::expected<std::optional<Archive>, ArchiveFailure> load() override
    {
        return std::optional<Archive>(Archive(m_loaded, {}));
    }
    std::expected<void, ArchiveFailure> store(const Archive &archive) override
    {
        std::unique_lock lock(m_mutex);
        ++m_entered;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_open; });
        if (m_failures > 0) {
            --m_failures;
            return std::unexpected(ArchiveFailure{ArchiveFailure::Kind::couldNotWrite, QStringLiteral("no room"), {}});
        }
        m_notes.append(archive.library.save(saveID(1))->note());
        if (describe)
            m_described.append(describe(archive));
        m_changed.notify_all();
        return {};
    }

    void waitUntilEntered(int writes)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_entered >= writes; });
    }
    void setOpen(bool open)
    {
        const std::lock_guard lock(m_mutex);
        m_open = open;
        m_changed.notify_all();
    }
    void failNext(int writes)
    {
        const std::lock_guard lock(m_mutex);
        m_failures = writes;
    }
    QStringList notes() const
    {
        const std::lock_guard lock(m_mutex);
        return m_notes;
    }
    int entered() const
    {
        const std::lock_guard lock(m_mutex);
        return m_entered;
    }
    void waitUntilDescribed(int writes)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_described.size() >= writes; });
    }
    QStringList described() const
    {
        const std::lock_guard lock(m_mutex);
        return m_described;
    }

    // Tells of each archive written whole, at the end of its write (set before any write).
    std::function<QString(const Archive &)> describe;

private:
    const Library m_loaded;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    int m_failures = 0;
    int m_entered = 0;
    QStringList m_notes;
    QStringList m_described;
};

// An archive that, like the file archive, asks whether its store is superseded once it is under
// way (after a gate the test opens) and then gives it up. It keeps the note of save 1 of each
// library stored whole, and of each given up, in order.
class YieldingArchive final : public Archiving {
public:
    std::expected<std::optional<Archive>, ArchiveFailure> load() override { return std::optional<Archive>(); }
    std::expected<void, ArchiveFailure> store(const Archive &archive) override
    {
        (void)storeUnlessSuperseded(archive, [] { return false; });
        return {};
    }
    std::expected<bool, ArchiveFailure> storeUnlessSuperseded(const Archive &archive,
                                                             const std::function<bool()> &superseded) override
    {
        const QString note = archive.library.save(saveID(1))->note();
        {
            std::unique_lock lock(m_mutex);
            ++m_entered;
            m_changed.notify_all();
            m_changed.wait(lock, [&] { return m_open; });
        }
        const bool givenUp = superseded();
        const std::lock_guard lock(m_mutex);
        (givenUp ? m_givenUp : m_stored).append(note);
        return !givenUp;
    }

    void waitUntilEntered(int stores)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_entered >= stores; });
    }
    void setOpen(bool open)
    {
        const std::lock_guard lock(m_mutex);
        m_open = open;
        m_changed.notify_all();
    }
    QStringList stored() const
    {
        const std::lock_guard lock(m_mutex);
        return m_stored;
    }
    QStringList givenUp() const
    {
        const std::lock_guard lock(m_mutex);
        return m_givenUp;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = true;
    int m_entered = 0;
    QStringList m_stored;
    QStringList m_givenUp;
};

// A Curator over a gated archive and a scripted downloader whose save 2 has one picture,
// downloaded: the file is in the media folder and the copy lists it. Each document written whole
// is described by whether it names the copy and whether the file was still there when it was.
struct CopyScene {
    QTemporaryDir dir;
    std::shared_ptr<GatedArchive> archive = std::make_shared<GatedArchive>();
    std::shared_ptr<ScriptedDownloader> downloader = std::make_shared<ScriptedDownloader>();
    std::unique_ptr<Curator> curator;
    QString remote = QStringLiteral("https://pbs.example.com/first.jpg");
    PostLink link = xLink(QStringLiteral("Someone"), QStringLiteral("9"));
    QString file;

    CopyScene()
    {
        Library library = manySaves(1);
        library.saves.append(makeSave(2, post(link, {image(4, remote)})));
        const QString media = dir.filePath(QStringLiteral("media"));
        file = QDir(media).filePath(QStringLiteral("someone_9.jpg"));
        ScriptedDownloader::writeFile(Url::fromLocalFile(file), 4);
        archive->describe = [link = link, file = file](const Archive &stored) {
            return QStringLiteral("%1, file %2").arg(stored.copies.find(link) ? QStringLiteral("copy named") : QStringLiteral("no copy"),
                                                     QFile::exists(file) ? QStringLiteral("there") : QStringLiteral("gone"));
        };
        LocalMedia local(MediaFolder(Url::fromLocalFile(media)), DiskBudget{Curator::kDefaultBudget});
        local.setCopies(copies({{link, onThisComputer({{"someone_9.jpg", 4}})}}));
        curator = std::make_unique<Curator>(std::move(library), std::move(local),
                                            Covers(Url::fromLocalFile(dir.filePath(QStringLiteral("Covers")))), nullptr,
                                            downloader, std::make_shared<LiveMediaDisk>(), archive,
                                            [] { return Date{800000000}; });
    }
    // A test that failed with the gate closed still ends.
    ~CopyScene()
    {
        archive->setOpen(true);
        curator.reset();
    }

    // Puts save 2 in the trash (written), to be emptied, or nothing, for removing its copy.
    void prepare(bool byEmptyingTheTrash)
    {
        if (byEmptyingTheTrash) {
            curator->trash(saveID(2));
            curator->flush();
        }
    }
    void letGo(bool byEmptyingTheTrash)
    {
        if (byEmptyingTheTrash)
            curator->emptyTrash();
        else
            curator->removeLocalCopy(saveID(2));
    }
};

// ---- child processes ------------------------------------------------------------------------

// Edits the note of save 1 for ever, the writes going on behind; says "ready" once the first
// document is on disk.
int childKeepEditing(const QString &dir)
{
    auto curator = curatorOver(std::make_shared<FileArchive>(dir), manySaves(1500, 900), dir);
    curator->writeNote(QStringLiteral("edit 0"), saveID(1));
    curator->flush();
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 1;; ++i) {
        curator->writeNote(QStringLiteral("edit %1").arg(i), saveID(1));
        QThread::usleep(300);
    }
}

// A write that does not fit leaves the last whole document and raises the flag on the main
// thread; the next change that fits is written whole and lowers it.
int childFullDisk(const QString &dir)
{
    QTemporaryDir home;
    auto curator = curatorOver(std::make_shared<FileArchive>(dir), manySaves(3), home.path());
    curator->writeNote(QStringLiteral("small"), saveID(1));
    curator->flush();
    const QString path = QDir(dir).filePath(QStringLiteral("library.json"));
    QFile document(path);
    if (!document.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray before = document.readAll();
    document.close();
    // Writing past the limit must fail with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(before.size() + 4096);
    ::setrlimit(RLIMIT_FSIZE, &limit);

    curator->writeNote(QString(1 << 20, u'x'), saveID(1));
    if (!QTest::qWaitFor([&] { return curator->archiveWriteFailed(); }, 20000))
        return 3;
    if (!document.open(QIODevice::ReadOnly) || document.readAll() != before)
        return 4;
    document.close();
    if (QDir(dir).entryList(QDir::Files | QDir::Hidden) != QStringList{QStringLiteral("library.json")})
        return 5;
    curator->writeNote(QStringLiteral("fits again"), saveID(1));
    if (!QTest::qWaitFor([&] { return !curator->archiveWriteFailed(); }, 20000))
        return 6;
    const auto loaded = FileArchive(dir).load();
    return loaded && *loaded && (*loaded)->library == curator->library() ? 0 : 7;
}

}  // namespace

class TestArchiveWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Changes made while a write runs wait, the latest replacing the others: the next write is of
    // the last one, and no older value is ever written after a newer one.
    void writesAreOrderedAndCoalesced()
    {
        auto archive = std::make_shared<GatedArchive>();
        auto curator = curatorOver(archive, manySaves(3));
        archive->setOpen(false);
        curator->writeNote(QStringLiteral("0"), saveID(1));
        archive->waitUntilEntered(1);
        for (int i = 1; i <= 5; ++i)
            curator->writeNote(QString::number(i), saveID(1));
        QCOMPARE(archive->entered(), 1);   // none of them waited for the write under way
        archive->setOpen(true);
        curator->flush();
        QCOMPARE(archive->notes(), (QStringList{QStringLiteral("0"), QStringLiteral("5")}));
        QVERIFY(!curator->archiveWriteFailed());
    }

    // A write under way when a newer value is committed is given up for it, unless the document
    // has been behind for the writer's patience: then it goes to its end. Either way the last
    // value is written once, last, and a given-up write is no failure.
    void aSupersededWriteIsGivenUp_data()
    {
        QTest::addColumn<int>("patienceMs");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("givenUp");
        QTest::newRow("patient") << 600000 << QStringList{QStringLiteral("3")} << QStringList{QStringLiteral("1")};
        QTest::newRow("out of patience") << 0 << QStringList{QStringLiteral("1"), QStringLiteral("3")} << QStringList{};
    }
    void aSupersededWriteIsGivenUp()
    {
        QFETCH(int, patienceMs);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, givenUp);
        auto archive = std::make_shared<YieldingArchive>();
        ArchiveWriter writer(archive, {}, std::chrono::milliseconds(patienceMs));
        Library library = manySaves(3);
        const auto noted = [&](const QString &note) {
            library.writeNote(note, saveID(1));
            return Archive(library, {});
        };
        archive->setOpen(false);
        writer.commit(noted(QStringLiteral("1")));
        archive->waitUntilEntered(1);
        writer.commit(noted(QStringLiteral("2")));
        QCOMPARE(writer.commit(noted(QStringLiteral("3"))), std::uint64_t(3));
        archive->setOpen(true);
        writer.flush();
        QCOMPARE(archive->stored(), stored);
        QCOMPARE(archive->givenUp(), givenUp);
        const ArchiveWriter::Outcome outcome = writer.collect();
        QCOMPARE(outcome.commit, std::uint64_t(3));
        QCOMPARE(outcome.stored, std::uint64_t(3));
        QVERIFY(!outcome.failure);
        QVERIFY(!writer.writing());
    }

    // A change that arrives while a write fails is written by the next write, which clears the
    // flag; a failure that no change follows raises it, on the main thread, until one does.
    void aFailedWriteIsMadeGoodByTheNextChange()
    {
        auto archive = std::make_shared<GatedArchive>();
        auto curator = curatorOver(archive, manySaves(3));
        QList<QThread *> signalledOn;
        connect(curator.get(), &Curator::archiveWriteFailedChanged, this,
                [&] { signalledOn.append(QThread::currentThread()); });

        archive->setOpen(false);
        archive->failNext(1);
        curator->writeNote(QStringLiteral("failing"), saveID(1));
        archive->waitUntilEntered(1);
        curator->writeNote(QStringLiteral("during the failure"), saveID(1));
        archive->setOpen(true);
        curator->flush();
        QCOMPARE(archive->notes(), QStringList{QStringLiteral("during the failure")});
        QVERIFY(!curator->archiveWriteFailed());

        archive->failNext(1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be written")));
        curator->writeNote(QStringLiteral("lost for now"), saveID(1));
        QTRY_VERIFY(curator->archiveWriteFailed());   // no flush: the writer thread tells
        QCOMPARE(signalledOn, QList<QThread *>{QThread::currentThread()});
        curator->writeNote(QStringLiteral("written"), saveID(1));
        QTRY_VERIFY(!curator->archiveWriteFailed());
        QCOMPARE(archive->notes().last(), QStringLiteral("written"));
        QCOMPARE(signalledOn.size(), 2);
    }

    // A burst of changes, then the Curator goes (as when the application quits) or is flushed:
    // the document read back is the final library.
    void aBurstEndsOnDiskAsTheFinalLibrary_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("quit") << true;
        QTest::newRow("flush") << false;
    }
    void aBurstEndsOnDiskAsTheFinalLibrary()
    {
        QFETCH(bool, quit);
        CuratorHome home;
        Curator &curator = home.make(manySaves(400, 300));
        curator.setArchiveWrites(Curator::ArchiveWrites::background);
        for (int i = 0; i < 200; ++i) {
            const Save::ID id = saveID(1 + (i * 37) % 400);
            if (i % 3 == 0)
                curator.favourite(id);
            else if (i % 3 == 1)
                curator.writeNote(QStringLiteral("burst %1").arg(i), id);
            else
                curator.trash(id);
        }
        const Library final = curator.library();
        if (quit)
            home.curator.reset();
        else
            curator.flush();
        const auto stored = home.stored();
        QVERIFY(stored);
        QCOMPARE(stored->library, final);
        QVERIFY(home.archive->writes >= 1);
    }

    // Searches made before the restored saves are prepared find what they find afterwards, and
    // what each save's own text says. The writer is held in a write meanwhile, so that the
    // preparation cannot go on until the gate opens. Enough saves that the search meanwhile is
    // shared among threads.
    void searchesBeforeThePreparationFindTheSame()
    {
        const Library library = manySaves(6000);
        auto archive = std::make_shared<GatedArchive>(library);
        auto curator = curatorOver(archive);
        QSignalSpy prepared(curator.get(), &Curator::searchPrepared);
        QVERIFY(curator->restore());
        archive->setOpen(false);
        curator->writeNote(QStringLiteral("Volcano night"), saveID(1));
        archive->waitUntilEntered(1);

        const QStringList queries{QStringLiteral("vol"), QStringLiteral("CAFE"), QStringLiteral("strasse ri"),
                                  QStringLiteral("volcano night"), QStringLiteral("note 1"), QStringLiteral("zzz")};
        const auto found = [&](const QString &query) {
            return idsOf(curator->shelf().items(Filter::all(), query), [](const ShelfItem &i) { return i.save(); });
        };
        QList<QStringList> before;
        {
            // Held here too: the preparation may have indexed the saves before the gate closed.
            const SearchVocabulary::Filling filling;
            for (const QString &query : queries)
                before.append(found(query));
        }
        archive->setOpen(true);
        curator->finishPreparing();
        // Told once, on this thread, when the saves' words are all prepared.
        QTRY_COMPARE(prepared.count(), 1);
        for (const Save &save : library.saves)
            QVERIFY(save.isSearchIndexed());
        for (qsizetype q = 0; q < queries.size(); ++q) {
            QStringList expected;
            for (const Save &save : curator->library().saves)
                if (save.matches(queries.at(q)))
                    expected.append(save.id().text());
            QCOMPARE(before.at(q), expected);
            QCOMPARE(found(queries.at(q)), expected);
        }
        QVERIFY(!before.first().isEmpty());
    }

    // Emptying the trash and removing a local copy return while the document is written; the files
    // go on the main thread once the document without them is on disk, not before.
    void filesGoOnceTheDocumentWithoutThemIsOnDisk_data()
    {
        QTest::addColumn<bool>("emptyTrash");
        QTest::newRow("remove a local copy") << false;
        QTest::newRow("empty the trash") << true;
    }
    void filesGoOnceTheDocumentWithoutThemIsOnDisk()
    {
        QFETCH(bool, emptyTrash);
        CopyScene scene;
        scene.prepare(emptyTrash);
        const int before = scene.archive->entered();
        scene.archive->setOpen(false);
        scene.letGo(emptyTrash);
        scene.archive->waitUntilEntered(before + 1);
        QCoreApplication::processEvents();
        QVERIFY(QFile::exists(scene.file));
        QVERIFY(!scene.curator->localMedia().copies().find(scene.link));
        scene.archive->setOpen(true);
        QTRY_VERIFY(!QFile::exists(scene.file));
        QCOMPARE(scene.archive->described().last(), QStringLiteral("no copy, file there"));
        QVERIFY(scene.curator->leftBehind().isEmpty());
    }

    // A failed write deletes nothing: the document on disk still names the files. They go with
    // the next write that succeeds.
    void aFailedWriteKeepsTheFilesUntilAWriteSucceeds_data() { filesGoOnceTheDocumentWithoutThemIsOnDisk_data(); }
    void aFailedWriteKeepsTheFilesUntilAWriteSucceeds()
    {
        QFETCH(bool, emptyTrash);
        CopyScene scene;
        scene.prepare(emptyTrash);
        scene.archive->failNext(1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be written")));
        scene.letGo(emptyTrash);
        QTRY_VERIFY(scene.curator->archiveWriteFailed());
        QCoreApplication::processEvents();
        QVERIFY(QFile::exists(scene.file));
        const QStringList described = scene.archive->described();
        QVERIFY(described.isEmpty() || described.last() == QStringLiteral("copy named, file there"));

        scene.curator->writeNote(QStringLiteral("later"), saveID(1));
        QTRY_VERIFY(!scene.curator->archiveWriteFailed());
        QVERIFY(!QFile::exists(scene.file));   // taken with the outcome that lowered the flag
        QCOMPARE(scene.archive->described().last(), QStringLiteral("no copy, file there"));
    }

    // Quitting while the document is being written waits for it, then deletes the files; unless
    // the write fails, when the document left on disk still names them and they stay.
    void quittingWhileTheDocumentIsWritten_data()
    {
        QTest::addColumn<bool>("emptyTrash");
        QTest::addColumn<bool>("fails");
        QTest::newRow("remove a local copy") << false << false;
        QTest::newRow("empty the trash") << true << false;
        QTest::newRow("remove a local copy, the write failing") << false << true;
        QTest::newRow("empty the trash, the write failing") << true << true;
    }
    void quittingWhileTheDocumentIsWritten()
    {
        QFETCH(bool, emptyTrash);
        QFETCH(bool, fails);
        CopyScene scene;
        scene.prepare(emptyTrash);
        const int before = scene.archive->entered();
        scene.archive->setOpen(false);
        if (fails) {
            scene.archive->failNext(1);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not be written")));
        }
        scene.letGo(emptyTrash);
        scene.archive->waitUntilEntered(before + 1);
        // Opened once the Curator is most likely waiting in its destruction (either way, the
        // destruction must wait for the write).
        std::thread opener([&] {
            QThread::msleep(30);
            scene.archive->setOpen(true);
        });
        scene.curator.reset();
        opener.join();
        QCOMPARE(QFile::exists(scene.file), fails);
        QCOMPARE(scene.archive->described().size(), before + (fails ? 0 : 1));
    }

    // A held preparation is not begun by a restore, and writes go on meanwhile; released (or
    // asked to finish), it prepares the saves of the last restore.
    void aHeldPreparationWaitsForItsRelease_data()
    {
        QTest::addColumn<bool>("finishReleases");
        QTest::addColumn<bool>("restoredTwice");
        QTest::newRow("released") << false << false;
        QTest::newRow("asked to finish while held") << true << false;
        QTest::newRow("restored twice while held") << false << true;
    }

    void aHeldPreparationWaitsForItsRelease()
    {
        QFETCH(bool, finishReleases);
        QFETCH(bool, restoredTwice);
        auto archive = std::make_shared<GatedArchive>(manySaves(700));
        auto curator = curatorOver(archive);
        curator->holdPreparation();
        QVERIFY(curator->restore());
        if (restoredTwice)
            QVERIFY(curator->restore());
        const auto prepared = [&] {
            return std::count_if(curator->library().saves.begin(), curator->library().saves.end(),
                                 [](const Save &save) { return save.isSearchIndexed(); });
        };
        QCOMPARE(prepared(), 0);
        curator->writeNote(QStringLiteral("while held"), saveID(1));
        curator->flush();
        QCOMPARE(archive->notes(), QStringList{QStringLiteral("while held")});
        QVERIFY(curator->isPreparationHeld());
        QCOMPARE(prepared(), 0);
        // A search meanwhile finds what each save's text says.
        QCOMPARE(curator->shelf().items(Filter::all(), QStringLiteral("while held")).size(), qsizetype(1));

        if (!finishReleases) {
            curator->releasePreparation();
            QVERIFY(!curator->isPreparationHeld());
        }
        curator->finishPreparing();
        QVERIFY(!curator->isPreparationHeld());
        QCOMPARE(prepared(), curator->library().saves.size());
    }

    // A copy removed while its document waits, then downloaded anew while the first write fails:
    // the next write names the new copy. A file the copy lists again, and is then let go again,
    // stays until the document that no longer names it is on disk; and a download of the link
    // begun before the deletion's turn puts its own files in place of the old ones.
    void aFileListedAgainWaitsForTheLaterDocument()
    {
        CopyScene scene;
        scene.archive->setOpen(false);
        scene.archive->failNext(1);
        scene.curator->removeLocalCopy(saveID(2));
        scene.archive->waitUntilEntered(1);
        scene.downloader->scripts.insert(scene.remote, TransferScript::arriving(7));
        QVERIFY(awaitTask(scene.curator->download(saveID(2))));
        QVERIFY(scene.curator->localMedia().copy(scene.link).asOnThisComputer());
        // The failed write, then the one naming the new copy; the main thread takes neither. The
        // writer is caught in the next write, so that the one before it has surely ended.
        scene.archive->setOpen(true);
        scene.archive->waitUntilDescribed(1);
        scene.archive->setOpen(false);
        scene.curator->writeNote(QStringLiteral("next"), saveID(1));
        scene.archive->waitUntilEntered(3);
        QCOMPARE(scene.archive->described(), QStringList{QStringLiteral("copy named, file there")});
        // Let go again: the first deletion's turn has come, but the document on disk names the file.
        scene.curator->removeLocalCopy(saveID(2));
        QVERIFY(QFile::exists(scene.file));
        scene.archive->setOpen(true);
        scene.curator->flush();
        QVERIFY(!QFile::exists(scene.file));
        QCOMPARE(scene.archive->described().last(), QStringLiteral("no copy, file there"));
    }

    void aDownloadUnderWayKeepsItsFiles()
    {
        CopyScene scene;
        scene.archive->setOpen(false);
        scene.curator->removeLocalCopy(saveID(2));
        scene.archive->waitUntilEntered(1);
        auto download = scene.curator->download(saveID(2));
        QCOMPARE(scene.downloader->calls.size(), 1);
        scene.archive->setOpen(true);
        scene.curator->flush();
        QVERIFY(QFile::exists(scene.file));   // the old file, until the new one takes its place
        scene.downloader->play(0, TransferScript::arriving(7));
        QVERIFY(awaitTask(std::move(download)));
        QCOMPARE(scene.curator->localMedia().copy(scene.link),
                 LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_9.jpg"), 7}}));
        scene.curator->flush();   // the new file takes the name once the document lists it
        QCOMPARE(QFileInfo(scene.file).size(), 7);
    }

    // A process killed at any moment while its changes are written leaves a whole document: the
    // one of some change it made.
    void aKilledProcessLeavesAWholeDocument()
    {
        QTemporaryDir dir;
        const Library library = manySaves(1500, 900);
        for (int round = 0; round < 12; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-keep-editing"), dir.path()});
            QVERIFY(child.waitForStarted());
            while (!child.canReadLine() && child.state() == QProcess::Running)
                child.waitForReadyRead(10000);
            QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
            QThread::usleep(QRandomGenerator::global()->bounded(1000, 80000));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());

            const auto loaded = FileArchive(dir.path()).load();
            QVERIFY2(loaded && *loaded, qPrintable(QStringLiteral("round %1: no whole document").arg(round)));
            Library expected = library;
            const QString note = (*loaded)->library.save(saveID(1))->note();
            QVERIFY2(note.startsWith(QStringLiteral("edit ")), qPrintable(note));
            expected.writeNote(note, saveID(1));
            QCOMPARE((*loaded)->library, expected);
        }
    }

    void aFullDiskKeepsTheLastWholeDocument()
    {
        QTemporaryDir dir;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-full-disk"), dir.path()});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(QStringLiteral("exit %1: %2").arg(child.exitCode()).arg(QString::fromLocal8Bit(child.readAllStandardError()))));
    }
};

int main(int argc, char **argv)
{
    if (argc == 3) {
        const std::string mode = argv[1];
        const QString dir = QString::fromLocal8Bit(argv[2]);
        if (mode == "--child-keep-editing") {
            QCoreApplication app(argc, argv);
            return childKeepEditing(dir);
        }
        if (mode == "--child-full-disk") {
            QCoreApplication app(argc, argv);
            QStandardPaths::setTestModeEnabled(true);
            return childFullDisk(dir);
        }
    }
    QCoreApplication app(argc, argv);
    TestArchiveWriter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_archivewriter.moc"
