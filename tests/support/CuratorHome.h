#pragma once

// A home for a Curator in a temporary folder: the real file archive (behind a spy that counts its
// writes), the real media disk, the live fetcher and downloader over a direct network, and a
// clock the test sets. The document on disk can be read back and compared with the state.

#include "StashKit/Curator.h"
#include "StashKit/FileArchive.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"
#include "StashKit/LiveMediaDisk.h"
#include "StashKit/LiveMediaDownloader.h"
#include "StashKit/LivePostFetcher.h"
#include "StashKit/Network.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>
#include <optional>

namespace sw::test {

// The real archive, with a count of the writes the Curator asked for.
class CountingArchive final : public Archiving {
public:
    explicit CountingArchive(std::shared_ptr<Archiving> inner) : m_inner(std::move(inner)) {}
    std::expected<std::optional<Archive>, ArchiveFailure> load() override { return m_inner->load(); }
    std::expected<void, ArchiveFailure> store(const Archive &archive) override
    {
        ++writes;
        return m_inner->store(archive);
    }
    int writes = 0;

private:
    std::shared_ptr<Archiving> m_inner;
};

// The real disk, failing a removal call on the file of a given name after it has removed the
// files before it: the failure that no folder can be made to stage.
class FailingDisk final : public MediaDisk {
public:
    std::expected<void, DiskError> remove(const QList<Url> &files) override
    {
        calls.append(files);
        QList<Url> before;
        for (const Url &url : files) {
            if (failOn && url.qurl().fileName() == *failOn) {
                (void)m_real.remove(before);
                return std::unexpected(DiskError{url.toLocalFile(), QStringLiteral("staged failure")});
            }
            before.append(url);
        }
        return m_real.remove(files);
    }
    std::expected<QSet<QString>, DiskError> names(const Url &folder) override { return m_real.names(folder); }
    std::expected<void, DiskError> move(const Url &from, const Url &to) override { return m_real.move(from, to); }
    std::expected<std::int64_t, DiskError> size(const Url &file) override { return m_real.size(file); }

    std::optional<QString> failOn;
    QList<QList<Url>> calls;

private:
    LiveMediaDisk m_real;
};

// One spy per observed field of a Curator.
class CuratorSpies {
public:
    explicit CuratorSpies(Curator &c)
        : library(&c, &Curator::libraryChanged), localMedia(&c, &Curator::localMediaChanged),
          covers(&c, &Curator::coversChanged), downloadsOnSave(&c, &Curator::downloadsOnSaveChanged),
          quality(&c, &Curator::qualityChanged), past(&c, &Curator::pastChanged), future(&c, &Curator::futureChanged),
          steps(&c, &Curator::stepsChanged), leftBehind(&c, &Curator::leftBehindChanged),
          writeFailed(&c, &Curator::archiveWriteFailedChanged), writesHeld(&c, &Curator::archiveWritesHeldChanged)
    {
    }

    // How often each field signalled, by name, leaving out the silent ones.
    QMap<QString, int> counts() const
    {
        QMap<QString, int> out;
        const std::pair<const char *, const QSignalSpy *> all[] = {
            {"library", &library}, {"localMedia", &localMedia}, {"covers", &covers},
            {"downloadsOnSave", &downloadsOnSave}, {"quality", &quality}, {"past", &past}, {"future", &future},
            {"steps", &steps}, {"leftBehind", &leftBehind}, {"archiveWriteFailed", &writeFailed},
            {"archiveWritesHeld", &writesHeld}};
        for (const auto &[name, spy] : all)
            if (spy->count() > 0)
                out.insert(QString::fromLatin1(name), int(spy->count()));
        return out;
    }
    void clear()
    {
        for (QSignalSpy *spy : {&library, &localMedia, &covers, &downloadsOnSave, &quality, &past, &future, &steps,
                                &leftBehind, &writeFailed, &writesHeld})
            spy->clear();
    }

    QSignalSpy library, localMedia, covers, downloadsOnSave, quality, past, future, steps, leftBehind, writeFailed,
        writesHeld;
};

class CuratorHome {
public:
    CuratorHome()
    {
        QVERIFY(dir.isValid());
        folders = Curator::Folders{dir.filePath(QStringLiteral("data/Stashwell")),
                                   dir.filePath(QStringLiteral("Videos/Stashwell"))};
    }

    QString archiveFolder() const { return folders.archive; }
    QString mediaFolder() const { return folders.media; }
    QString coversFolder() const { return QDir(folders.archive).filePath(QStringLiteral("Covers")); }
    QString documentPath() const { return QDir(folders.archive).filePath(QStringLiteral("library.json")); }
    Url mediaUrl(const QString &name) const { return Url::fromLocalFile(QDir(mediaFolder()).filePath(name)); }
    Url coverUrl(const QString &name) const { return Url::fromLocalFile(QDir(coversFolder()).filePath(name)); }

    LocalMedia emptyMedia(std::int64_t budget = Curator::kDefaultBudget) const
    {
        return LocalMedia(MediaFolder(Url::fromLocalFile(mediaFolder())), DiskBudget{budget});
    }
    Covers emptyCovers() const { return Covers(Url::fromLocalFile(coversFolder())); }

    // A Curator over the real archive and disk (or the given disk), as the constructor makes it.
    Curator &make(Library library = {}, std::optional<LocalMedia> media = std::nullopt,
                  std::optional<Covers> coversValue = std::nullopt, std::shared_ptr<MediaDisk> diskService = {},
                  FileArchive::Clock archiveClock = {})
    {
        archive = std::make_shared<CountingArchive>(std::make_shared<FileArchive>(archiveFolder(), archiveClock));
        disk = diskService ? std::move(diskService) : std::make_shared<LiveMediaDisk>();
        curator = std::make_unique<Curator>(std::move(library), media ? *media : emptyMedia(),
                                            coversValue ? *coversValue : emptyCovers(),
                                            std::make_shared<LivePostFetcher>(network),
                                            std::make_shared<LiveMediaDownloader>(network), disk, archive,
                                            [this] { return now; });
        // Each change on disk when it returns: the tests count the writes.
        curator->setArchiveWrites(Curator::ArchiveWrites::waited);
        return *curator;
    }

    // The document as a fresh archive reads it, or none.
    std::optional<Archive> stored() const
    {
        FileArchive reader(archiveFolder());
        const auto loaded = reader.load();
        if (!loaded)
            return std::nullopt;
        return *loaded;
    }

    QByteArray documentBytes() const
    {
        QFile f(documentPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // True when the document holds exactly the Curator's library and local copies.
    bool documentMatches() const
    {
        const auto doc = stored();
        return doc && doc->version == 1 && doc->library == curator->library()
            && doc->copies == curator->localMedia().copies();
    }

    bool putFile(const QString &path, const QByteArray &bytes = "media")
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    bool putMedia(const QString &name) { return putFile(QDir(mediaFolder()).filePath(name)); }
    bool putCover(const QString &name) { return putFile(QDir(coversFolder()).filePath(name)); }

    QStringList mediaFiles() const { return QDir(mediaFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QStringList coverFiles() const { return QDir(coversFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QTemporaryDir dir;
    Curator::Folders folders;
    Network network{NetworkRoute::direct()};
    Date now{800000000};
    std::shared_ptr<CountingArchive> archive;
    std::shared_ptr<MediaDisk> disk;
    std::unique_ptr<Curator> curator;
};

inline LocalCopy onThisComputer(std::initializer_list<std::pair<const char *, std::int64_t>> files)
{
    QList<LocalFile> list;
    for (const auto &[name, bytes] : files)
        list.append(LocalFile{QString::fromUtf8(name), bytes});
    return LocalCopy::onThisComputer(list);
}

}  // namespace sw::test
