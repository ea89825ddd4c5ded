#include "StashKit/Curator.h"

#include "StashKit/FileArchive.h"
#include "StashKit/LiveMediaDisk.h"
#include "StashKit/LiveMediaDownloader.h"
#include "StashKit/LivePostFetcher.h"
#include "Offline/MediaFolder.h"
#include "StashKit/Network.h"
#include "Capture/Parallel.h"
#include "Capture/Text.h"
#include "Library/SearchVocabulary.h"

#include <QDir>
#include <QFuture>
#include <QtConcurrent/QtConcurrentRun>
#include <QSet>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QtGlobal>

#include <algorithm>

#include <malloc.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace sw {

// ---- construction -------------------------------------------------------------------------------

Curator::Folders Curator::Folders::standard()
{
    QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (videos.isEmpty())
        videos = QDir(QDir::homePath()).filePath(QStringLiteral("Videos"));
    return Folders{FileArchive::defaultDirectory(), QDir(videos).filePath(QStringLiteral("Stashwell"))};
}

Curator::Curator(Library library, LocalMedia localMedia, Covers covers, std::shared_ptr<PostFetching> fetching,
                 std::shared_ptr<MediaDownloading> downloading, std::shared_ptr<MediaDisk> disk,
                 std::shared_ptr<Archiving> archiving, Clock now, QObject *parent)
    : QObject(parent),
      m_library(std::move(library)),
      m_localMedia(std::move(localMedia)),
      m_covers(std::move(covers)),
      m_fetching(std::move(fetching)),
      m_downloading(std::move(downloading)),
      m_disk(std::move(disk)),
      m_archiving(std::move(archiving)),
      m_now(std::move(now))
{
    if (!m_now)
        m_now = [] { return Date::now(); };
    prepare();
}

Curator::~Curator()
{
    // The last change reaches the disk before the Curator goes, and the files waiting for it are
    // deleted then (unless the write failed). Nobody is told any more.
    if (m_writer) {
        const QSignalBlocker blocker(this);
        m_writer->flush();
        writesEnded();
        deleteWritten();
    }
    m_writer.reset();
    m_writesEnded.reset();
    if (m_writesEndedFd >= 0)
        ::close(m_writesEndedFd);
}

std::unique_ptr<Curator> Curator::live(Network &network, bool downloadsOnSave)
{
    return live(network, downloadsOnSave, Folders::standard());
}

std::unique_ptr<Curator> Curator::live(Network &network, bool downloadsOnSave, const Folders &folders)
{
    return live(network, downloadsOnSave, folders, LivePostFetcher::defaultApiBase());
}

std::unique_ptr<Curator> Curator::live(Network &network, bool downloadsOnSave, const Folders &folders,
                                       const Url &apiBase)
{
    return live(network, downloadsOnSave, folders, apiBase, Start::whole);
}

std::unique_ptr<Curator> Curator::live(Network &network, bool downloadsOnSave, const Folders &folders,
                                       const Url &apiBase, Start start)
{
    return live(network, downloadsOnSave, folders, apiBase, start, readAhead(folders));
}

struct Curator::Reading::Read {
    std::shared_ptr<FileArchive> archive;
    QFuture<std::expected<std::optional<Archive>, ArchiveFailure>> loaded;
};

Curator::Reading::Reading() = default;
Curator::Reading::Reading(Reading &&) noexcept = default;

Curator::Reading::~Reading()
{
    // The archive is not let go while the thread reads it. (A result taken leaves the future
    // invalid, and waiting on it would never end.)
    if (m_read && m_read->loaded.isValid())
        m_read->loaded.waitForFinished();
}

Curator::Reading Curator::readAhead(const Folders &folders)
{
    Reading reading;
    reading.m_read = std::make_unique<Reading::Read>();
    auto archive = std::make_shared<FileArchive>(folders.archive);
    reading.m_read->archive = archive;
    reading.m_read->loaded = QtConcurrent::run([archive] { return archive->load(); });
    return reading;
}

std::unique_ptr<Curator> Curator::live(Network &network, bool downloadsOnSave, const Folders &folders,
                                       const Url &apiBase, Start start, Reading reading)
{
    LocalMedia media(MediaFolder(Url::fromLocalFile(folders.media)), DiskBudget{kDefaultBudget});
    Covers covers(Url::fromLocalFile(QDir(folders.archive).filePath(QStringLiteral("Covers"))));
    auto curator = std::make_unique<Curator>(Library(), std::move(media), std::move(covers),
                                             std::make_shared<LivePostFetcher>(network, apiBase),
                                             std::make_shared<LiveMediaDownloader>(network),
                                             std::make_shared<LiveMediaDisk>(), reading.m_read->archive,
                                             [] { return Date::now(); });
    if (start == Start::behindFirstWindow)
        curator->holdPreparation();
    // A document that cannot be read starts an empty library; restoreFrom() has dealt with it.
    if (const auto restored = curator->restoreFrom(reading.m_read->loaded.takeResult()); !restored)
        qWarning("Stashwell: the library could not be read (%s); starting with an empty library",
                 qPrintable(restored.error().message));
    if (start == Start::whole)
        curator->reconcile();
    else
        curator->reconcileAside();
    curator->setDownloadsOnSave(downloadsOnSave);
    return curator;
}

// ---- plain settings and derived values ----------------------------------------------------------

void Curator::setDownloadsOnSave(bool on)
{
    if (m_downloadsOnSave == on)
        return;
    m_downloadsOnSave = on;
    changed(fieldDownloadsOnSave);
}

void Curator::setQuality(Quality quality)
{
    if (m_quality == quality)
        return;
    m_quality = quality;
    changed(fieldQuality);
}

Shelf Curator::shelf() const
{
    return Shelf(m_library, m_localMedia, m_covers, m_now(), m_quality);
}

// ---- observation and the archive ----------------------------------------------------------------

void Curator::changed(Field field)
{
    if (m_operationDepth > 0)
        m_pendingSignals |= field;
    else
        emitChanged(field);
}

void Curator::endOperation()
{
    if (--m_operationDepth > 0)
        return;
    if (m_writePending) {
        m_writePending = false;
        ++m_operationDepth;   // the write's own flag change joins this operation's signals
        storeArchive();
        --m_operationDepth;
    }
    const unsigned fields = std::exchange(m_pendingSignals, 0u);
    if (fields)
        emitChanged(fields);
}

void Curator::emitChanged(unsigned fields)
{
    // In field order. A slot may start another operation; it finds this one finished.
    if (fields & fieldLibrary)
        emit libraryChanged();
    if (fields & fieldLocalMedia)
        emit localMediaChanged();
    if (fields & fieldCovers)
        emit coversChanged();
    if (fields & fieldDownloadsOnSave)
        emit downloadsOnSaveChanged();
    if (fields & fieldQuality)
        emit qualityChanged();
    if (fields & fieldPast)
        emit pastChanged();
    if (fields & fieldFuture)
        emit futureChanged();
    if (fields & fieldSteps)
        emit stepsChanged();
    if (fields & fieldLeftBehind)
        emit leftBehindChanged();
    if (fields & fieldArchiveWriteFailed)
        emit archiveWriteFailedChanged();
    if (fields & fieldArchiveWritesHeld)
        emit archiveWritesHeldChanged();
    if (fields & fieldArchiveSetAside)
        emit archiveSetAsideChanged();
}

void Curator::archiveChanged()
{
    if (m_holdsArchive || m_archiveWritesHeld)
        return;
    if (m_operationDepth > 0)
        m_writePending = true;
    else
        storeArchive();
}

void Curator::storeArchive()
{
    if (m_archiveWritesHeld)
        return;
    writesEnded();
    // Sharing, not copying: the saves and the copy table are implicitly shared values.
    m_lastCommit = writer().commit(Archive(m_library, m_localMedia.copies()));
    if (m_archiveWrites == ArchiveWrites::waited) {
        m_writer->flush();
        writesEnded();
    }
}

ArchiveWriter &Curator::writer()
{
    if (!m_writer) {
        // The writer thread tells of each ended write through an event counter that this
        // thread's event loop watches; the outcome itself is taken under the writer's lock.
        // Nothing but the counter passes between the threads outside that lock.
        std::function<void()> ended;
        const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (fd >= 0) {
            m_writesEndedFd = fd;
            m_writesEnded = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            connect(m_writesEnded.get(), &QSocketNotifier::activated, this, [this] {
                std::uint64_t count = 0;
                (void)!::read(m_writesEndedFd, &count, sizeof count);
                writesEnded();
                deleteWritten();
            });
            ended = [fd] {
                const std::uint64_t one = 1;
                (void)!::write(fd, &one, sizeof one);
            };
        }
        // Without the counter, the outcome is taken at the next change or flush.
        m_writer = std::make_unique<ArchiveWriter>(m_archiving, std::move(ended));
    }
    return *m_writer;
}

void Curator::writesEnded()
{
    if (!m_writer)
        return;
    const ArchiveWriter::Outcome outcome = m_writer->collect();
    m_storedCommit = std::max(m_storedCommit, outcome.stored);
    // A flush has taken it already, or a later write's outcome is still to come.
    if (outcome.commit <= m_writeOutcomeSeen)
        return;
    m_writeOutcomeSeen = outcome.commit;
    if (outcome.failure)
        qWarning("Stashwell: the library could not be written (%s); it will be written again with the next change",
                 qPrintable(outcome.failure->message));
    setArchiveWriteFailed(outcome.failure.has_value());
    if (!outcome.failure)
        roomMayHaveReturned();
}

void Curator::flush()
{
    if (!m_writer)
        return;
    m_writer->flush();
    writesEnded();
    deleteWritten();
}

void Curator::releasePreparation()
{
    m_preparationHeld = false;
    if (std::exchange(m_preparationWaiting, false))
        prepare();
}

void Curator::finishPreparing()
{
    releasePreparation();
    if (m_writer)
        m_writer->finishIdleWork();
}

void Curator::setArchiveWriteFailed(bool failed)
{
    if (m_archiveWriteFailed == failed)
        return;
    m_archiveWriteFailed = failed;
    changed(fieldArchiveWriteFailed);
}

void Curator::assignLibrary(Library next)
{
    Operation operation(*this);
    if (!(next == m_library)) {
        m_library = std::move(next);
        changed(fieldLibrary);
    }
    archiveChanged();
}

void Curator::assignLocalMedia(LocalMedia next)
{
    Operation operation(*this);
    if (!(next == m_localMedia)) {
        m_localMedia = std::move(next);
        ++m_localMediaChanges;
        changed(fieldLocalMedia);
    }
    archiveChanged();
}

void Curator::assignCovers(Covers next)
{
    if (next == m_covers)
        return;
    m_covers = std::move(next);
    changed(fieldCovers);
}

void Curator::assignLeftBehind(QList<Url> next)
{
    if (next == m_leftBehind)
        return;
    m_leftBehind = std::move(next);
    changed(fieldLeftBehind);
}

// ---- start-up and the local media ---------------------------------------------------------------

std::expected<void, ArchiveFailure> Curator::restore()
{
    // The archive is read with no write under way: loading clears what unfinished writes left.
    flush();
    return restoreFrom(m_archiving->load());
}

std::expected<void, ArchiveFailure> Curator::restoreFrom(std::expected<std::optional<Archive>, ArchiveFailure> loaded)
{
    if (!loaded) {
        const ArchiveFailure &failure = loaded.error();
        const bool stillInPlace = (failure.kind == ArchiveFailure::Kind::unreadable
                                   || failure.kind == ArchiveFailure::Kind::couldNotRead)
                                  && !failure.wasSetAside();
        if (stillInPlace && !m_archiveWritesHeld) {
            // Writing now would replace the only copy of the user's library.
            qWarning("Stashwell: the library document could not be read nor moved aside; "
                     "nothing will be written to it in this session");
            m_archiveWritesHeld = true;
            changed(fieldArchiveWritesHeld);
        }
        if (failure.setAsideAs && failure.setAsideAs != m_archiveSetAside) {
            m_archiveSetAside = failure.setAsideAs;
            changed(fieldArchiveSetAside);
        }
        return std::unexpected(failure);
    }
    if (!*loaded)
        return {};

    {
        Operation operation(*this);
        ArchiveHold hold(*this);
        Archive &archive = **loaded;
        assignLibrary(std::move(archive.library));
        m_interrupted.clear();
        assignLocalMedia(LocalMedia::restoring(m_localMedia.folder(), m_localMedia.budget(), std::move(archive.copies),
                                               &m_interrupted));
    }
    prepare();
    return {};
}

void Curator::prepare()
{
    if (m_preparationHeld) {
        m_preparationWaiting = true;
        return;
    }
    if (m_library.saves.isEmpty())
        return;
    // The saves as they are now, their search words, a block at a time so that a write never
    // waits long. A save changed meanwhile is another save by then, whose words the next search
    // works out; these are let go on this thread (see ArchiveWriter).
    struct Walk {
        SaveList saves;
        qsizetype next = 0;
        std::optional<SearchVocabulary::Filling> filling;
    };
    auto walk = std::make_shared<Walk>();
    walk->saves = m_library.saves;
    walk->filling.emplace();
    // The writer, and with it this work, ends before the Curator does (see ~Curator).
    Curator *const self = this;
    writer().idle([walk, self] {
        constexpr qsizetype kBlock = 16384;
        const SaveList &saves = walk->saves;
        const qsizetype begin = walk->next;
        const qsizetype end = std::min(begin + kBlock, saves.size());
        const auto count = std::size_t(end - begin);
        {
            // Folding is most of the work and shares nothing: on several threads. The index
            // takes the texts one at a time.
            const std::vector<QString> folded = decodeAll(count, [&](std::size_t k) {
                const Save &save = saves.at(begin + qsizetype(k));
                return save.isSearchIndexed() ? QString() : save.foldedSearchText();
            });
            for (std::size_t k = 0; k < count; ++k)
                if (!folded[k].isNull())
                    saves.at(begin + qsizetype(k)).indexSearchText(folded[k]);
        }
        walk->next = end;
        if (end < saves.size())
            return true;
        walk->filling.reset();
        SearchVocabulary::shared().compact();
        // The folded texts and the room the index grew into are free again: given back to the
        // system rather than kept for work that does not come again.
        ::malloc_trim(0);
        SearchVocabulary::shared().prepareLetters();
        // Told on the main thread, where the Curator lives.
        QMetaObject::invokeMethod(self, [self] { emit self->searchPrepared(); }, Qt::QueuedConnection);
        return false;
    });
}

void Curator::reconcile()
{
    auto present = m_disk->names(m_localMedia.folder().root());
    if (!present)
        return;
    Operation operation(*this);
    // A file of ours may be in the folder for a download under way; at start nothing is.
    if (m_runs.isEmpty() && m_promotions.empty())
        settleOwnFiles(*present);
    // Files that wait for their document still take their final names.
    for (const Promotion &promotion : m_promotions)
        for (const LocalFile &file : promotion.files)
            present->insert(file.name);
    LocalMedia next = m_localMedia;
    next.reconcile(*present);
    if (!(next == m_localMedia))
        assignLocalMedia(std::move(next));
}

void Curator::settleOwnFiles(QSet<QString> &present)
{
    std::vector<Post> interrupted;
    // A start may find thousands of downloads cut short: looked up in one walk over the saves.
    for (const std::optional<Save> &save : m_library.firstSaves(std::exchange(m_interrupted, {}))) {
        if (save)
            interrupted.push_back(save->post());
    }
    const LocalMedia::Settling settling = m_localMedia.settling(present, interrupted);
    const MediaFolder &folder = m_localMedia.folder();
    const auto at = [&folder](const QString &name) { return folder.url(LocalFile{name, 0}); };

    // The document on disk lists these already: the process ended before they were renamed.
    ++m_renamings;
    for (const auto &[pending, name] : settling.promote) {
        if (const auto moved = m_disk->move(at(pending), at(name)); !moved) {
            // Left as it is: the copy goes below, and the file at the next start.
            qWarning("Stashwell: %s could not take its name (%s)", qPrintable(pending), qPrintable(moved.error().message));
            continue;
        }
        present.remove(pending);
        present.insert(name);
    }

    QList<QString> removed = settling.remove;
    for (const auto &[link, pending] : settling.adopt) {
        QList<LocalFile> files;
        for (const QString &name : pending) {
            const auto size = m_disk->size(at(name));
            if (!size)
                break;
            files.append(LocalFile{*MediaFolder::finalName(name), *size});
        }
        if (files.size() != pending.size()) {
            removed.append(pending);
            continue;
        }
        changeLocalMedia([&](LocalMedia &media) { media.adopt(link, files); });
        for (const LocalFile &file : files) {
            present.remove(MediaFolder::pendingName(file.name));
            present.insert(file.name);
        }
        promoteOnceWritten(link, std::move(files));
    }
    QList<Url> urls;
    for (const QString &name : removed) {
        present.remove(name);
        urls.append(at(name));
    }
    removeFiles(urls);
}

void Curator::removeLocalCopy(const Save::ID &id)
{
    const std::optional<Save> save = m_library.save(id);
    if (!save)
        return;
    // Deleted once written: the document never names a file that is gone.
    const PostLink link = save->post().link;
    const QList<LocalFile> files = changeLocalMedia([&](LocalMedia &media) { return media.letGo(link); });
    QList<std::pair<PostLink, LocalFile>> media;
    for (const LocalFile &file : files)
        media.append({link, file});
    deleteOnceWritten(std::move(media), {});
}

void Curator::limitLocalMedia(std::int64_t bytes)
{
    changeLocalMedia([bytes](LocalMedia &media) { media.limit(bytes); });
}

void Curator::forgetLeftBehind()
{
    assignLeftBehind({});
}

QList<Save::ID> Curator::saves(const QList<Url> &linkedBy) const
{
    QList<PostLink> links;
    for (const Url &url : linkedBy) {
        if (auto link = PostLink::reading(url.text()))
            links.append(std::move(*link));
    }
    QList<Save::ID> found;
    for (const std::optional<Save> &save : m_library.firstSaves(links)) {
        if (save)
            found.append(save->id());
    }
    return found;
}

// ---- deleting files -----------------------------------------------------------------------------

void Curator::removeFiles(const QList<Url> &urls)
{
    if (urls.isEmpty())
        return;
    if (m_disk->remove(urls))
        return;
    // The service may have removed some before it failed; every URL of the call is listed, so
    // that none of the files the user may still find is forgotten.
    QList<Url> next = m_leftBehind;
    next.append(urls);
    assignLeftBehind(std::move(next));
}

void Curator::deleteOnceWritten(QList<std::pair<PostLink, LocalFile>> media, QList<QString> covers)
{
    if (media.isEmpty() && covers.isEmpty())
        return;
    // While writes are held nothing more is written: the files go now, as they would with no
    // writer at all. Otherwise they wait for the last commit, which the change has just made.
    m_deletions.push_back(Deletion{m_archiveWritesHeld ? 0 : m_lastCommit, std::move(media), std::move(covers)});
    deleteWritten();
}

void Curator::promoteOnceWritten(const PostLink &link, QList<LocalFile> files)
{
    if (files.isEmpty())
        return;
    // The change that lists the files is in the last commit, or, while an operation or a hold
    // keeps its write back, in the next one.
    std::uint64_t commit = m_writePending || m_holdsArchive ? m_lastCommit + 1 : m_lastCommit;
    if (m_archiveWritesHeld)
        commit = 0;
    m_promotions.push_back(Promotion{commit, link, std::move(files)});
    deleteWritten();
}

void Curator::promote(const Promotion &promotion)
{
    const LocalCopy copy = m_localMedia.copy(promotion.link);
    const auto *done = copy.asOnThisComputer();
    const auto lists = [done](const LocalFile &file) {
        return done && std::any_of(done->files.cbegin(), done->files.cend(), [&](const LocalFile &listed) {
                   return text::canonical(listed.name) == text::canonical(file.name);
               });
    };
    // A later download of the same link, whose document is not on disk yet, wrote the same names.
    const auto heldLater = [this, &promotion](const LocalFile &file) {
        const QString name = text::canonical(file.name);
        for (const Promotion &waiting : m_promotions)
            if (waiting.link == promotion.link)
                for (const LocalFile &held : waiting.files)
                    if (text::canonical(held.name) == name)
                        return true;
        return false;
    };
    const MediaFolder &folder = m_localMedia.folder();
    ++m_renamings;
    QList<LocalFile> unlisted;
    for (const LocalFile &file : promotion.files) {
        if (heldLater(file))
            continue;
        if (!lists(file)) {
            unlisted.append(file);
            continue;
        }
        // It replaces an older file of the name: the link's copy downloaded anew.
        if (const auto moved = m_disk->move(folder.pendingUrl(file), folder.url(file)); !moved)
            qWarning("Stashwell: a downloaded file could not take its name (%s); it will be tried again at the next start",
                     qPrintable(moved.error().message));
    }
    deletePendingFiles(unlisted);
}

void Curator::deletePendingFiles(const QList<LocalFile> &files)
{
    if (files.isEmpty())
        return;
    QSet<QString> held;
    for (const Promotion &waiting : m_promotions)
        for (const LocalFile &file : waiting.files)
            held.insert(text::canonical(file.name));
    const MediaFolder &folder = m_localMedia.folder();
    QList<Url> urls;
    QSet<QString> listed;
    for (const LocalFile &file : files) {
        // Two links can share names (a web address by http and by https), and so pending names.
        const QString name = text::canonical(file.name);
        if (held.contains(name) || listed.contains(name) || m_runs.isFinishedByARun(name))
            continue;
        listed.insert(name);
        urls.append(folder.pendingUrl(file));
    }
    removeFiles(urls);
}

void Curator::deleteWritten()
{
    if (!m_promotions.empty()) {
        std::vector<Promotion> due;
        std::vector<Promotion> waiting;
        for (Promotion &promotion : m_promotions)
            (promotion.commit > m_storedCommit ? waiting : due).push_back(std::move(promotion));
        m_promotions = std::move(waiting);
        for (const Promotion &promotion : due)
            promote(promotion);
    }
    const auto waits = [this](const Deletion &deletion) { return deletion.commit > m_storedCommit; };
    if (std::all_of(m_deletions.cbegin(), m_deletions.cend(), waits))
        return;
    std::vector<Deletion> due;
    std::vector<Deletion> waiting;
    for (Deletion &deletion : m_deletions)
        (waits(deletion) ? waiting : due).push_back(std::move(deletion));
    m_deletions = std::move(waiting);
    // A file that a deletion still waiting lets go of as well was listed again in between (the
    // media downloaded anew, then let go again): the document on disk may name it, and it goes
    // with that later deletion.
    QSet<QString> later;
    for (const Deletion &deletion : m_deletions)
        for (const auto &[link, file] : deletion.media)
            later.insert(text::canonical(file.name));
    QList<LocalFile> files;
    QList<QString> covers;
    Deletion carried;
    for (const Deletion &deletion : due) {
        for (const auto &[link, file] : deletion.media) {
            if (later.contains(text::canonical(file.name)))
                continue;
            // A download of the link begun meanwhile puts its own files in their place when it
            // ends whole; should it fail, the old files go then.
            if (m_localMedia.copy(link).asDownloading()) {
                carried.media.append({link, file});
                continue;
            }
            files.append(file);
        }
        covers.append(deletion.covers);
    }
    if (!carried.media.isEmpty())
        m_deletions.insert(m_deletions.begin(), std::move(carried));
    Operation operation(*this);
    deleteMediaFiles(files);
    deleteCovers(covers);
}

void Curator::deleteMediaFiles(const QList<LocalFile> &files)
{
    if (files.isEmpty())
        return;
    // Two links can name the same file (a web address by http and by https): a file that a
    // remaining copy lists is still in use.
    QSet<QString> candidates;
    for (const LocalFile &file : files)
        candidates.insert(text::canonical(file.name));
    QSet<QString> inUse;
    for (const auto &[link, copy] : m_localMedia.copies()) {
        if (const auto *done = copy.asOnThisComputer()) {
            for (const LocalFile &file : done->files) {
                const QString name = text::canonical(file.name);
                if (candidates.contains(name))
                    inUse.insert(name);
            }
        }
    }
    const MediaFolder &folder = m_localMedia.folder();
    QList<Url> urls;
    QSet<QString> listed;
    for (const LocalFile &file : files) {
        const QString name = text::canonical(file.name);
        if (inUse.contains(name) || listed.contains(name))
            continue;
        listed.insert(name);
        urls.append(folder.url(file));
    }
    removeFiles(urls);
}

void Curator::deleteCovers(const QList<QString> &names)
{
    if (names.isEmpty())
        return;
    const QSet<QString> candidates(names.cbegin(), names.cend());
    // A name is the stem of the post's link, "." and an extension: a save whose stem is none of
    // the candidates' needs no name worked out.
    QList<QString> stems;
    stems.reserve(names.size());
    for (const QString &name : names)
        stems.append(name.first(std::max<qsizetype>(name.lastIndexOf(u'.'), 0)));
    const MediaFolder::StemFilter candidateStems(stems);
    // Two posts can share a cover name (a web address by http and by https).
    QSet<QString> inUse;
    for (const Save &save : m_library.saves) {
        if (!candidateStems.mayHave(save.post().link, save.linkKey()) || !save.post().preview)
            continue;
        const auto name = Covers::fileName(save.post());
        if (name && candidates.contains(*name))
            inUse.insert(*name);
    }
    QList<QString> gone;
    QSet<QString> listed;
    for (const QString &name : names) {
        if (!inUse.contains(name) && !listed.contains(name)) {
            listed.insert(name);
            gone.append(name);
        }
    }
    if (gone.isEmpty())
        return;
    changeCovers([&](Covers &covers) {
        for (const QString &name : gone)
            covers.remove(name);
    });
    QList<Url> urls;
    urls.reserve(gone.size());
    for (const QString &name : gone)
        urls.append(m_covers.url(name));
    removeFiles(urls);
}

// ---- the commit and the history -----------------------------------------------------------------

Curator::Recorded Curator::record(Library next, Step step)
{
    if (next == m_library)
        return std::nullopt;
    Operation operation(*this);
    assignLibrary(std::move(next));
    const UndoHistory::Changes changes = m_history.record(std::move(step));
    historyChanged(changes);
    changed(fieldSteps);
    return changes.recorded;
}

void Curator::historyChanged(UndoHistory::Changes changes)
{
    if (changes.past)
        changed(fieldPast);
    if (changes.future)
        changed(fieldFuture);
}

Curator::Recorded Curator::perform(std::function<void(Library &)> change, std::function<void(Library &)> undo)
{
    Library next = m_library;
    change(next);
    return record(std::move(next), Step{std::move(undo), std::move(change)});
}

void Curator::undo()
{
    Operation operation(*this);
    changed(fieldPast);
    auto next = m_history.undo(m_library);
    if (!next)
        return;
    // Stored (and written) even when the step no longer changes anything.
    assignLibrary(std::move(*next));
    changed(fieldFuture);
}

void Curator::redo()
{
    Operation operation(*this);
    changed(fieldFuture);
    auto next = m_history.redo(m_library);
    if (!next)
        return;
    assignLibrary(std::move(*next));
    changed(fieldPast);
}

// ---- the edits ----------------------------------------------------------------------------------

Curator::Recorded Curator::favourite(const Save::ID &id)
{
    const auto flip = [id](Library &library) { library.favourite(id); };
    return perform(flip, flip);
}

Curator::Recorded Curator::favourite(const QList<Save::ID> &ids, bool on)
{
    QList<Save::ID> targets;
    QSet<Save::ID> seen;
    for (const Save::ID &id : ids) {
        const auto save = m_library.save(id);
        // An id listed twice is flipped once: a second flip would undo the first.
        if (save && save->isFavourite() != on && !seen.contains(id)) {
            seen.insert(id);
            targets.append(id);
        }
    }
    const auto flip = [targets](Library &library) {
        for (const Save::ID &id : targets)
            library.favourite(id);
    };
    return perform(flip, flip);
}

Curator::Recorded Curator::trash(const Save::ID &id)
{
    const Date at = m_now();
    return perform([id, at](Library &library) { library.trash(id, at); },
            [id](Library &library) { library.restore(id); });
}

Curator::Recorded Curator::trash(const QList<Save::ID> &ids)
{
    const Date at = m_now();
    QList<Save::ID> targets;
    for (const Save::ID &id : ids) {
        const auto save = m_library.save(id);
        if (save && !save->isTrashed())
            targets.append(id);
    }
    return perform(
        [targets, at](Library &library) {
            for (const Save::ID &id : targets)
                library.trash(id, at);
        },
        [targets](Library &library) {
            for (const Save::ID &id : targets)
                library.restore(id);
        });
}

Curator::Recorded Curator::restore(const Save::ID &id)
{
    const auto save = m_library.save(id);
    if (!save || !save->trashedAt())
        return std::nullopt;
    const Date at = *save->trashedAt();
    return perform([id](Library &library) { library.restore(id); },
            [id, at](Library &library) { library.trash(id, at); });
}

Curator::Recorded Curator::restore(const QList<Save::ID> &ids)
{
    QList<std::pair<Save::ID, Date>> pairs;
    for (const Save::ID &id : ids) {
        const auto save = m_library.save(id);
        if (save && save->trashedAt())
            pairs.append({id, *save->trashedAt()});
    }
    return perform(
        [pairs](Library &library) {
            for (const auto &[id, at] : pairs)
                library.restore(id);
        },
        [pairs](Library &library) {
            for (const auto &[id, at] : pairs)
                library.trash(id, at);
        });
}

std::expected<Curator::Recorded, CollectionRefusal> Curator::file(const Save::ID &id,
                                                                  const std::optional<Collection::ID> &in)
{
    // The trial is the change itself, made on the copy that the commit stores.
    Library next = m_library;
    if (const auto filed = next.file(id, in); !filed)
        return std::unexpected(filed.error());
    const auto save = m_library.save(id);
    const std::optional<Collection::ID> former = save ? save->collection() : std::nullopt;
    return record(std::move(next), Step{[id, former](Library &library) { (void)library.file(id, former); },
                                        [id, in](Library &library) { (void)library.file(id, in); }});
}

std::expected<Curator::Recorded, CollectionRefusal> Curator::file(const QList<Save::ID> &ids,
                                                                  const std::optional<Collection::ID> &in)
{
    if (in && !m_library.collection(*in))
        return std::unexpected(CollectionRefusal::noSuchCollection);
    QList<std::pair<Save::ID, std::optional<Collection::ID>>> pairs;
    for (const Save::ID &id : ids) {
        if (const auto save = m_library.save(id))
            pairs.append({id, save->collection()});
    }
    return perform(
        [pairs, in](Library &library) {
            for (const auto &[id, former] : pairs)
                (void)library.file(id, in);
        },
        [pairs](Library &library) {
            for (const auto &[id, former] : pairs)
                (void)library.file(id, former);
        });
}

Curator::Recorded Curator::tag(const Save::ID &id, const Tag &tag)
{
    return perform([id, tag](Library &library) { library.tag(id, tag); },
            [id, tag](Library &library) { library.untag(id, tag); });
}

Curator::Recorded Curator::untag(const Save::ID &id, const Tag &tag)
{
    return perform([id, tag](Library &library) { library.untag(id, tag); },
            [id, tag](Library &library) { library.tag(id, tag); });
}

std::expected<Curator::MadeCollection, CollectionRefusal> Curator::makeCollection(const QString &named,
                                                                                 std::optional<Swatch> swatch)
{
    Library next = m_library;
    const auto made = next.makeCollection(named, swatch);
    if (!made)
        return std::unexpected(made.error());
    const Collection collection = *next.collection(*made);
    const Collection::ID id = *made;
    // Redoing puts back the very collection, with its id.
    const Recorded step = record(std::move(next), Step{[id](Library &library) { library.removeCollection(id); },
                                                       [collection](Library &library) { library.reinstate(collection, {}); }});
    return MadeCollection{id, step};
}

std::expected<Curator::Recorded, CollectionRefusal> Curator::editCollection(const Collection::ID &id,
                                                                           const QString &name, Swatch swatch)
{
    const auto before = m_library.collection(id);
    if (!before)
        return std::unexpected(CollectionRefusal::noSuchCollection);
    Library next = m_library;
    if (const auto renamed = next.rename(id, name); !renamed)
        return std::unexpected(renamed.error());
    next.recolour(id, swatch);
    const Collection after = *next.collection(id);
    const auto set = [id](const Collection &to) {
        return [id, to](Library &library) {
            (void)library.rename(id, to.name);
            library.recolour(id, to.swatch);
        };
    };
    return record(std::move(next), Step{set(*before), set(after)});
}

Curator::Recorded Curator::removeCollection(const Collection::ID &id)
{
    const auto collection = m_library.collection(id);
    if (!collection)
        return std::nullopt;
    Library next = m_library;
    const QList<Save::ID> filed = next.removeCollection(id);
    return record(std::move(next), Step{[c = *collection, filed](Library &library) { library.reinstate(c, filed); },
                                 [id](Library &library) { library.removeCollection(id); }});
}

void Curator::writeNote(const QString &note, const Save::ID &on)
{
    changeLibrary([&](Library &library) { library.writeNote(note, on); });
}

void Curator::emptyTrash()
{
    QList<std::pair<PostLink, LocalFile>> files;
    QList<QString> coverNames;
    {
        // The library, the history and the copies change together and the document is written
        // once; the files go once it is on disk: it never names a file that is gone.
        Operation operation(*this);
        const QList<Save> removed = changeLibrary([](Library &library) { return library.emptyTrash(); });
        historyChanged(m_history.clear());
        if (!removed.isEmpty()) {
            changeLocalMedia([&](LocalMedia &media) {
                for (const Save &save : removed)
                    for (const LocalFile &file : media.letGo(save.post().link))
                        files.append({save.post().link, file});
            });
        }
        // A kept cover is one whose name is among the names present (Covers::isKept), worked out once.
        for (const Save &save : removed) {
            if (const auto name = Covers::fileName(save.post()); name && m_covers.present().contains(*name))
                coverNames.append(*name);
        }
    }
    deleteOnceWritten(std::move(files), std::move(coverNames));
}

}  // namespace sw
