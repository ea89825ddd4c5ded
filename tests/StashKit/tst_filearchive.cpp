// The archive on disk: loading, storing, setting unreadable documents aside, and what a crash or
// a full disk leaves behind.
//
// Some cases need a process of their own (to be killed, to run in a mount namespace, or under a
// file size limit). The test executable then runs itself again with one of the --child-* modes.

#include "StashKit/FileArchive.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sw;
using namespace sw::fixtures;

namespace {

const QDateTime kStamp(QDate(2026, 12, 6), QTime(15, 1, 29, 750), Qt::UTC);
const QString kSetAsideName = QStringLiteral("library.unreadable-2026-12-06T15-01-29Z.json");

FileArchive::Clock fixedClock()
{
    return [] { return Date::fromDateTime(kStamp); };
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A library of `saves` saves whose texts are long enough that writing it takes a while. The
// variant changes every note, so two variants have different bytes and different lengths.
// At most one copy, so that the document's bytes do not depend on the copy table's order.
Archive sizeableArchive(int saves, int variant)
{
    Library library;
    const QString filler(900 + 37 * variant, QChar(u'a' + variant));
    for (int i = 0; i < saves; ++i) {
        library.saves.append(makeSave(SaveSpec(i + 1,
                                               post(xLink(QStringLiteral("writer"), QString::number(1000 + i)),
                                                    {image(4096)}, QStringLiteral("https://pbs.example.com/%1.jpg").arg(i),
                                                    filler),
                                               1000.0 - i)
                                          .noted(QStringLiteral("variant %1 of save %2").arg(variant).arg(i))));
    }
    return Archive(library, copies({{xLink(QStringLiteral("writer"), QStringLiteral("1000")),
                                     LocalCopy::downloading(variant, 4096)}}));
}

// ---- child processes -----------------------------------------------------------------------

int childFailure(int code, const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    return code;
}

// Stores two documents in turn, for ever; says "ready" once the first is on disk.
int childKeepStoring(const QString &dir)
{
    const std::string a = sizeableArchive(1500, 0).json();
    const std::string b = sizeableArchive(2000, 1).json();
    FileArchive archive(dir);
    if (!archive.storeBytes(a))
        return childFailure(2, "the first store failed");
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        (void)archive.storeBytes(b);
        (void)archive.storeBytes(a);
    }
}

// A store that does not fit must fail and leave the old document whole, with no temporary file
// left beside it. With `canFill`, also when the disk is full to the last byte.
// `bigSaves` makes the document that does not fit (2000: about 2 MB).
int childStoreOnFullDisk(const QString &dir, bool canFill, const std::function<void(qint64)> &limitAfterFirstStore,
                         int bigSaves = 2000)
{
    const Archive small = sizeableArchive(3, 0);
    const Archive smallOther = sizeableArchive(3, 1);
    const Archive big = sizeableArchive(bigSaves, 1);
    FileArchive archive(dir);
    if (!archive.store(small))
        return childFailure(2, "the first, small store failed");
    const QString path = archive.documentPath();
    const QByteArray before = readAll(path);
    limitAfterFirstStore(before.size());

    const auto failed = archive.store(big);
    if (failed)
        return childFailure(3, "storing a document that does not fit succeeded");
    if (failed.error().kind != ArchiveFailure::Kind::couldNotWrite)
        return childFailure(4, "the failure is not couldNotWrite");
    if (readAll(path) != before)
        return childFailure(5, "the old document changed");
    if (entries(dir) != QStringList{QStringLiteral("library.json")})
        return childFailure(6, qPrintable(QStringLiteral("files left beside the document: ") + entries(dir).join(QStringLiteral(", "))));
    const auto loaded = archive.load();
    if (!loaded || !*loaded || !(**loaded == small))
        return childFailure(7, "the old document does not load as it was");

    if (canFill) {
        // Fill every last byte, then try a document of about the same size.
        const QString filler = QDir(dir).filePath(QStringLiteral("filler"));
        const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return childFailure(8, "cannot make the filler");
        static const char block[4096] = {};
        std::size_t chunk = sizeof block;
        while (chunk > 0) {
            if (::write(fd, block, chunk) < 0) {
                if (errno != ENOSPC)
                    return childFailure(9, "filling failed before the disk was full");
                chunk /= 2;
            }
        }
        ::close(fd);
        if (archive.store(smallOther))
            return childFailure(10, "storing on a full disk succeeded");
        if (readAll(path) != before)
            return childFailure(11, "the old document changed on a full disk");
        QFile::remove(filler);
        if (!archive.store(smallOther))
            return childFailure(12, "storing failed once there was room again");
        if (readAll(path) != QByteArray::fromStdString(smallOther.json()))
            return childFailure(13, "the new document is not whole");
    }
    return 0;
}

bool writeProcFile(const char *path, const std::string &text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.data(), text.size()) == ssize_t(text.size());
    ::close(fd);
    return ok;
}

// Mounts a small tmpfs on `dir` in a mount namespace of this process alone (in a user namespace
// of its own when this process may not mount). Must run before any thread starts.
bool mountSmallTmpfs(const QString &dir)
{
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWNS) != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        writeProcFile("/proc/self/setgroups", "deny");
        if (!writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1")
            || !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return false;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    return ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=512k") == 0;
}

// ---- the parent's side -----------------------------------------------------------------------

struct ChildResult {
    int exitCode = -1;
    QString errors;
};

ChildResult runChild(const QStringList &arguments)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return {-1, QStringLiteral("the child did not finish")};
    }
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            QString::fromLocal8Bit(child.readAllStandardError())};
}

}  // namespace

class TestFileArchive : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void loadingWithoutDocumentChangesNothing();
    void storingCreatesTheFolderAndTheDocument();
    void storedArchiveLoadsBack();
    void documentOnDiskIsWrittenBackByteForByte();
    void unreadableDocumentIsSetAside_data();
    void unreadableDocumentIsSetAside();
    void takenSetAsideNamesAreNotOverwritten();
    void documentThatCannotBeSetAsideStaysInPlace();
    void partialDocumentsAreRemovedAtLoad();
    void replacementKeepsTheDocumentsPermissions();
    void storeIntoAFolderThatIsAFileFails();
    void storeOverAFolderFailsAndLeavesNothing();
    void killedWriterLeavesOldOrNewDocumentWhole();
    void fullDiskLeavesTheOldDocumentWhole_data();
    void fullDiskLeavesTheOldDocumentWhole();
    void storedBytesAreTheDocument_data();
    void storedBytesAreTheDocument();
    void documentOfManyHandOversIsWhole();
    void supersededStoreIsGivenUp_data();
    void supersededStoreIsGivenUp();

private:
    QTemporaryDir m_root;
};

void TestFileArchive::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_root.isValid());
}

void TestFileArchive::loadingWithoutDocumentChangesNothing()
{
    const QString existing = m_root.filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(existing));
    QVERIFY(writeFile(QDir(existing).filePath(QStringLiteral("other.json")), "{}"));
    const auto loaded = FileArchive(existing).load();
    QVERIFY(loaded);
    QVERIFY(!loaded->has_value());
    QCOMPARE(entries(existing), QStringList{QStringLiteral("other.json")});

    const QString missing = m_root.filePath(QStringLiteral("never/made"));
    const auto none = FileArchive(missing).load();
    QVERIFY(none && !none->has_value());
    QVERIFY(!QFileInfo::exists(missing));
}

void TestFileArchive::storingCreatesTheFolderAndTheDocument()
{
    const QString dir = m_root.filePath(QStringLiteral("a/b/c"));
    FileArchive archive(dir);
    QVERIFY(archive.store(Archive()));
    QCOMPARE(readAll(QDir(dir).filePath(QStringLiteral("library.json"))),
             QByteArray(R"({"copies":[],"library":{"collections":[],"saves":[]},"version":1})"));
    QCOMPARE(entries(dir), QStringList{QStringLiteral("library.json")});
}

void TestFileArchive::storedArchiveLoadsBack()
{
    const QString dir = m_root.filePath(QStringLiteral("roundtrip"));
    FileArchive archive(dir);
    Archive stored = sizeableArchive(5, 2);
    stored.copies.insert(webLink(QStringLiteral("https://example.com/a?b=c")), LocalCopy::failed(DownloadFailure::couldNotWrite));
    stored.version = 7;
    QVERIFY(archive.store(stored));
    // Storing again replaces the document whole.
    QVERIFY(archive.store(stored));
    const auto loaded = archive.load();
    QVERIFY(loaded && loaded->has_value());
    QCOMPARE(**loaded, stored);
    QCOMPARE((*loaded)->version, std::int64_t(7));
}

void TestFileArchive::documentOnDiskIsWrittenBackByteForByte()
{
    const QString dir = m_root.filePath(QStringLiteral("bytes"));
    QVERIFY(QDir().mkpath(dir));
    // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
    const QByteArray original =
        R"({"copies":[{"web":{"_0":"https:\/\/example.com\/p?id=1"}},{"onThisMac":{"_0":[{"bytes":5,"name":"example.com_p_0badf00d.html"}]}}],)"
        R"("library":{"collections":[{"id":{"raw":"11111111-2222-4333-8444-555555555555"},"name":"A","swatch":{"amber":{}}}],)"
        R"("saves":[{"collection":{"raw":"11111111-2222-4333-8444-555555555555"},"id":{"raw":"00000000-0000-4000-8000-000000000009"},"isFavourite":false,"note":"",)"
        R"("post":{"attachments":[{"page":{"_0":"https:\/\/example.com\/p?id=1","bytes":5}}],"author":{"handle":{"name":"x"},"name":"X"},)"
        R"("link":{"web":{"_0":"https:\/\/example.com\/p?id=1"}},"postedAt":1.5,"text":"t"},"savedAt":2,"tags":[]}]},"version":1})";
    QVERIFY(writeFile(QDir(dir).filePath(QStringLiteral("library.json")), original));
    FileArchive archive(dir);
    const auto loaded = archive.load();
    QVERIFY(loaded && loaded->has_value());
    QVERIFY(archive.store(**loaded));
    QCOMPARE(readAll(archive.documentPath()), original);
}

void TestFileArchive::unreadableDocumentIsSetAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    const int unreadable = int(ArchiveFailure::Kind::unreadable);
    const QByteArray whole = QByteArray::fromStdString(sizeableArchive(2, 0).json());
    QTest::newRow("empty file") << QByteArray() << unreadable;
    QTest::newRow("not JSON") << QByteArray("this is not JSON\n") << unreadable;
    QTest::newRow("truncated") << whole.left(whole.size() / 2) << unreadable;
    QTest::newRow("no library") << QByteArray(R"({"copies":[],"version":1})") << unreadable;
    QTest::newRow("copies of odd length")
        << QByteArray(R"({"copies":[{"linkOnly":{}}],"library":{"collections":[],"saves":[]},"version":1})") << unreadable;
    QTest::newRow("version is text")
        << QByteArray(R"({"copies":[],"library":{"collections":[],"saves":[]},"version":"1"})") << unreadable;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe{\x01", 5) << unreadable;
}

void TestFileArchive::unreadableDocumentIsSetAside()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QTemporaryDir dir;
    FileArchive archive(dir.path(), fixedClock());
    QVERIFY(writeFile(archive.documentPath(), bytes));

    const auto loaded = archive.load();
    QVERIFY(!loaded);
    QCOMPARE(int(loaded.error().kind), kind);
    QVERIFY(!loaded.error().message.isEmpty());
    QVERIFY(loaded.error().wasSetAside());
    QCOMPARE(*loaded.error().setAsideAs, dir.filePath(kSetAsideName));
    QCOMPARE(readAll(dir.filePath(kSetAsideName)), bytes);
    QCOMPARE(entries(dir.path()), QStringList{kSetAsideName});

    // The next start finds no document, and the next store writes a new one beside the old.
    const auto next = archive.load();
    QVERIFY(next && !next->has_value());
    QVERIFY(archive.store(Archive()));
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("library.json"), kSetAsideName}));
    QCOMPARE(readAll(dir.filePath(kSetAsideName)), bytes);
}

void TestFileArchive::takenSetAsideNamesAreNotOverwritten()
{
    QTemporaryDir dir;
    FileArchive archive(dir.path(), fixedClock());
    const QString second = FileArchive::unreadableName(kStamp, 2);
    const QString third = FileArchive::unreadableName(kStamp, 3);
    QCOMPARE(second, QStringLiteral("library.unreadable-2026-12-06T15-01-29Z-2.json"));
    QVERIFY(writeFile(dir.filePath(kSetAsideName), "first"));
    QVERIFY(writeFile(dir.filePath(second), "second"));
    QVERIFY(writeFile(archive.documentPath(), "third"));

    const auto loaded = archive.load();
    QVERIFY(!loaded);
    QCOMPARE(loaded.error().setAsideAs, std::optional(dir.filePath(third)));
    QCOMPARE(readAll(dir.filePath(kSetAsideName)), QByteArray("first"));
    QCOMPARE(readAll(dir.filePath(second)), QByteArray("second"));
    QCOMPARE(readAll(dir.filePath(third)), QByteArray("third"));
    QVERIFY(!QFileInfo::exists(archive.documentPath()));
}

void TestFileArchive::documentThatCannotBeSetAsideStaysInPlace()
{
    QTemporaryDir dir;
    FileArchive archive(dir.path(), fixedClock());
    // Every name the archive would try is taken (a folder among them, which a rename could replace).
    QVERIFY(QDir(dir.path()).mkdir(kSetAsideName));
    for (int attempt = 2; attempt <= 100; ++attempt)
        QVERIFY(writeFile(dir.filePath(FileArchive::unreadableName(kStamp, attempt)), "taken"));
    QVERIFY(writeFile(archive.documentPath(), "{not an archive"));

    const auto loaded = archive.load();
    QVERIFY(!loaded);
    QCOMPARE(loaded.error().kind, ArchiveFailure::Kind::unreadable);
    QVERIFY(!loaded.error().wasSetAside());
    QCOMPARE(readAll(archive.documentPath()), QByteArray("{not an archive"));
    QVERIFY(QFileInfo(dir.filePath(kSetAsideName)).isDir());
    QCOMPARE(entries(dir.path()).size(), 101);
}

void TestFileArchive::partialDocumentsAreRemovedAtLoad()
{
    QTemporaryDir dir;
    FileArchive archive(dir.path());
    QVERIFY(archive.store(Archive()));
    const QByteArray stored = readAll(archive.documentPath());
    QVERIFY(writeFile(dir.filePath(QStringLiteral(".library.json.partial-1f2e3d")), "{\"copies\":[],\"libr"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("library.json.backup")), "the user's own"));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("library.json.A1b2C3")), "the user's own"));
    const auto loaded = archive.load();
    QVERIFY(loaded && loaded->has_value());
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("library.json"), QStringLiteral("library.json.A1b2C3"),
                                               QStringLiteral("library.json.backup")}));
    QCOMPARE(readAll(archive.documentPath()), stored);
}

void TestFileArchive::replacementKeepsTheDocumentsPermissions()
{
    QTemporaryDir dir;
    FileArchive archive(dir.path());
    QVERIFY(archive.store(Archive()));
    const auto privateMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QVERIFY(QFile::setPermissions(archive.documentPath(), privateMode));
    QVERIFY(archive.store(sizeableArchive(2, 0)));
    QCOMPARE(QFile::permissions(archive.documentPath()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), privateMode);
}

void TestFileArchive::storeIntoAFolderThatIsAFileFails()
{
    const QString blocker = m_root.filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, "a file"));
    const auto stored = FileArchive(QDir(blocker).filePath(QStringLiteral("Stashwell"))).store(Archive());
    QVERIFY(!stored);
    QCOMPARE(stored.error().kind, ArchiveFailure::Kind::couldNotCreateFolder);
    QCOMPARE(readAll(blocker), QByteArray("a file"));
}

void TestFileArchive::storeOverAFolderFailsAndLeavesNothing()
{
    QTemporaryDir dir;
    FileArchive archive(dir.path());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("library.json")));
    const auto stored = archive.store(sizeableArchive(3, 0));
    QVERIFY(!stored);
    QCOMPARE(stored.error().kind, ArchiveFailure::Kind::couldNotWrite);
    QVERIFY(QFileInfo(archive.documentPath()).isDir());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("library.json")});
}

void TestFileArchive::killedWriterLeavesOldOrNewDocumentWhole()
{
    const QByteArray a = QByteArray::fromStdString(sizeableArchive(1500, 0).json());
    const QByteArray b = QByteArray::fromStdString(sizeableArchive(2000, 1).json());
    QVERIFY(a.size() != b.size());
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("library.json"));
    int sawA = 0, sawB = 0, interrupted = 0;
    for (int round = 0; round < 30; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-keep-storing"), dir.path()});
        QVERIFY(child.waitForStarted());
        while (!child.canReadLine() && child.state() == QProcess::Running)
            child.waitForReadyRead(10000);
        QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
        // Somewhere in the middle of a write, or between two.
        QThread::usleep(QRandomGenerator::global()->bounded(1000, 60000));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const QByteArray onDisk = readAll(path);
        if (onDisk == a)
            ++sawA;
        else if (onDisk == b)
            ++sawB;
        else
            QFAIL(qPrintable(QStringLiteral("round %1: the document is neither whole old nor whole new (%2 bytes)")
                                 .arg(round)
                                 .arg(onDisk.size())));
        interrupted += entries(dir.path()).size() > 1 ? 1 : 0;
        // A write killed half way may leave its partial file; the next start removes it and
        // reads the whole document.
        const auto loaded = FileArchive(dir.path()).load();
        QVERIFY(loaded && loaded->has_value());
        QCOMPARE(QByteArray::fromStdString((*loaded)->json()), onDisk);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("library.json")});
    }
    qInfo("the killed writer left the first document %d times and the second %d times, %d times with a partial one",
          sawA, sawB, interrupted);
}

void TestFileArchive::fullDiskLeavesTheOldDocumentWhole_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("small tmpfs") << QStringLiteral("--child-full-tmpfs");
    QTest::newRow("file size limit") << QStringLiteral("--child-file-size-limit");
    // The write fails after parts of the partial file were handed to the disk already.
    QTest::newRow("file size limit after parts went to the disk") << QStringLiteral("--child-file-size-limit-late");
}

void TestFileArchive::fullDiskLeavesTheOldDocumentWhole()
{
    QFETCH(QString, mode);
    QTemporaryDir dir;
    const ChildResult result = runChild({mode, dir.path()});
    if (result.exitCode == 77)
        QSKIP("no tmpfs can be mounted here; the file size limit stands in for a full disk");
    QVERIFY2(result.exitCode == 0, qPrintable(QStringLiteral("exit %1: %2").arg(result.exitCode).arg(result.errors)));
}

void TestFileArchive::storedBytesAreTheDocument_data()
{
    // The copies and the saves are encoded a piece at a time on several threads and written in
    // order: tables on each side of a piece's end, and a save with a note longer than a spilled
    // piece.
    QTest::addColumn<int>("saves");
    QTest::addColumn<int>("copies");
    QTest::addColumn<qsizetype>("longNoteAt");   // -1: none
    QTest::newRow("no saves, no copies") << 0 << 0 << qsizetype(-1);
    QTest::newRow("one save, one copy") << 1 << 1 << qsizetype(-1);
    QTest::newRow("one piece of saves but one") << 255 << 1 << qsizetype(-1);
    QTest::newRow("one whole piece of saves") << 256 << 1 << qsizetype(-1);
    QTest::newRow("a piece of saves and one") << 257 << 1 << qsizetype(-1);
    QTest::newRow("one piece of copies but one") << 10 << 1023 << qsizetype(-1);
    QTest::newRow("one whole piece of copies") << 10 << 1024 << qsizetype(-1);
    QTest::newRow("a piece of copies and one") << 10 << 1025 << qsizetype(-1);
    QTest::newRow("many pieces, a long note first") << 3000 << 3000 << qsizetype(0);
    QTest::newRow("many pieces, a long note inside") << 3000 << 1 << qsizetype(1500);
    QTest::newRow("many pieces, a long note last") << 3000 << 1 << qsizetype(3000);
}

void TestFileArchive::storedBytesAreTheDocument()
{
    QFETCH(int, saves);
    QFETCH(int, copies);
    QFETCH(qsizetype, longNoteAt);
    Archive archive = sizeableArchive(saves, 2);
    if (longNoteAt >= 0)
        archive.library.saves.insert(longNoteAt, makeSave(SaveSpec(9001, postOnX(QStringLiteral("long"), QStringLiteral("1")), 10)
                                                              .noted(QString(3 << 19, QChar(u'é')))));
    // Copies of every case, web links among them; the sizeable archive has one already.
    for (int i = 1; i < copies; ++i) {
        const LocalCopy copy = i % 4 == 0 ? LocalCopy::linkOnly()
            : i % 4 == 1                  ? LocalCopy::downloading(i, 4 * i)
            : i % 4 == 2 ? LocalCopy::onThisComputer({LocalFile{QStringLiteral("f%1.mp4").arg(i), i}})
                         : LocalCopy::failed(DownloadFailure::couldNotWrite);
        archive.copies.insert(i % 3 == 0 ? webLink(QStringLiteral("https://example.com/p/%1").arg(i))
                                         : xLink(QStringLiteral("someone"), QString::number(5000 + i)),
                              copy);
    }
    if (copies == 0)
        archive.copies = CopyTable();
    QCOMPARE(archive.copies.size(), qsizetype(copies));
    // The document as value trees write it, one entry and one save after another on this thread.
    JsonValue pairs = JsonValue::array();
    for (const auto &[link, copy] : archive.copies) {
        pairs.push(link.toJson());
        pairs.push(copy.toJson());
    }
    std::string expected = "{\"copies\":";
    pairs.writeTo(expected);
    expected += ",\"library\":";
    archive.library.toJson().writeTo(expected);
    expected += ",\"version\":" + std::to_string(archive.version) + "}";
    QCOMPARE(QByteArray::fromStdString(archive.json()), QByteArray::fromStdString(expected));
    QTemporaryDir dir;
    FileArchive files(dir.path());
    QVERIFY(files.store(archive));
    QCOMPARE(readAll(files.documentPath()), QByteArray::fromStdString(expected));
    // Stored again by the same archive (its pieces' room kept from the first store), after a
    // change that moves every later save to another piece.
    archive.library.saves.insert(0, makeSave(SaveSpec(9002, postOnX(QStringLiteral("first"), QStringLiteral("2")), 11)));
    QVERIFY(files.store(archive));
    QCOMPARE(readAll(files.documentPath()), QByteArray::fromStdString(archive.json()));
    QCOMPARE(Archive::fromJson(readAll(files.documentPath()).toStdString()), archive);
}

void TestFileArchive::documentOfManyHandOversIsWhole()
{
    // Handed to the disk in parts as it is written: the document is every byte and nothing
    // more, over a longer one, whether encoded on the way or given whole.
    QTemporaryDir dir;
    FileArchive files(dir.path());
    std::string bytes(5 * FileArchive::writebackBytes + 777, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char('a' + (i * 7919 + i / 4096) % 26);
    QVERIFY(files.storeBytes(bytes));
    QCOMPARE(readAll(files.documentPath()), QByteArray::fromStdString(bytes));
    const Archive archive = sizeableArchive(int(3 * FileArchive::writebackBytes / 1000), 1);
    const std::string expected = archive.json();
    QVERIFY(expected.size() > 2 * FileArchive::writebackBytes);
    QVERIFY(expected.size() < bytes.size());
    QVERIFY(files.store(archive));
    QCOMPARE(readAll(files.documentPath()), QByteArray::fromStdString(expected));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("library.json")});
}

void TestFileArchive::supersededStoreIsGivenUp_data()
{
    QTest::addColumn<int>("supersededFromAsk");   // the first ask answered yes (0: never, -1: the last)
    QTest::addColumn<bool>("stored");
    // The document of 15,000 saves is written in a few pieces, each ask between two of them, the
    // last before the sync.
    QTest::newRow("never superseded") << 0 << true;
    QTest::newRow("superseded at the first piece") << 1 << false;
    QTest::newRow("superseded at a later piece") << 2 << false;
    QTest::newRow("superseded before the sync") << -1 << false;
}

void TestFileArchive::supersededStoreIsGivenUp()
{
    QFETCH(int, supersededFromAsk);
    QFETCH(bool, stored);
    QTemporaryDir dir;
    FileArchive archive(dir.path());
    const Archive old = sizeableArchive(10, 0);
    QVERIFY(archive.store(old));
    const Archive next = sizeableArchive(15000, 1);
    // How often the store asks when it runs to its end: between the pieces, and before the sync.
    int asksWhole = 0;
    {
        QTemporaryDir other;
        FileArchive counting(other.path());
        QVERIFY(counting.storeUnlessSuperseded(next, [&] { return ++asksWhole < 0; }).value_or(false));
        QVERIFY(asksWhole >= 3);
    }
    const int from = supersededFromAsk < 0 ? asksWhole : supersededFromAsk;
    int asks = 0;
    const auto result = archive.storeUnlessSuperseded(next, [&] { return ++asks >= from && from > 0; });
    QVERIFY(result);
    QCOMPARE(*result, stored);
    // Given up, it went no further than the ask that said yes, and left the old document alone
    // with no partial file beside it.
    QCOMPARE(asks, stored ? asksWhole : from);
    QCOMPARE(readAll(archive.documentPath()), QByteArray::fromStdString((stored ? next : old).json()));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("library.json")});
    // The next store goes to its end.
    QVERIFY(archive.storeUnlessSuperseded(next, [] { return false; }).value_or(false));
    QCOMPARE(readAll(archive.documentPath()), QByteArray::fromStdString(next.json()));
}

int main(int argc, char **argv)
{
    if (argc == 3) {
        const std::string mode = argv[1];
        const QString dir = QString::fromLocal8Bit(argv[2]);
        if (mode == "--child-keep-storing")
            return childKeepStoring(dir);
        if (mode == "--child-full-tmpfs") {
            if (!mountSmallTmpfs(dir))
                return childFailure(77, "no tmpfs");
            QCoreApplication app(argc, argv);
            return childStoreOnFullDisk(dir, true, [](qint64) {});
        }
        if (mode == "--child-file-size-limit" || mode == "--child-file-size-limit-late") {
            QCoreApplication app(argc, argv);
            // Writing past the limit must fail with EFBIG instead of killing the process.
            std::signal(SIGXFSZ, SIG_IGN);
            const bool late = mode == "--child-file-size-limit-late";
            // Late: room for two hand-overs to the disk and some more, for a document of
            // about four.
            const qint64 lateLimit = 2 * qint64(FileArchive::writebackBytes) + 12345;
            const int bigSaves = late ? int(4 * FileArchive::writebackBytes / 1000) : 2000;
            if (late && qint64(sizeableArchive(bigSaves, 1).json().size()) < lateLimit + qint64(FileArchive::writebackBytes))
                return childFailure(20, "the big document is too small to fail late");
            return childStoreOnFullDisk(
                dir, false,
                [&](qint64 documentSize) {
                    rlimit limit{};
                    ::getrlimit(RLIMIT_FSIZE, &limit);
                    limit.rlim_cur = rlim_t(late ? lateLimit : documentSize + 4096);
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                },
                bigSaves);
        }
    }
    QCoreApplication app(argc, argv);
    TestFileArchive test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filearchive.moc"
