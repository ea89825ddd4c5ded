#pragma once

// The single owner of the core's mutable state: the library, the local media, the covers, the
// two download settings, the undo history (UndoHistory), the downloads under way (DownloadRuns)
// and the files whose deletion failed. Every user operation of the core enters here, on the main
// thread, and the pages talk to the core only through it.
//
// Observation: one signal per observed field, emitted when an assignment changes the value (by
// the value's equality) and after every in-place change, whether or not it changed anything.
// Within one operation each field signals at most once, after the operation's state is complete.
//
// Persistence: every assignment and every in-place change of `library` or `localMedia` writes the
// whole archive document, unless writes are held (while restoring, and around each progress step
// of a download). One operation writes the document once, at its end, whatever number of changes
// it made. The write itself runs on the archive writer thread (ArchiveWriter): the operation
// commits the new value and returns; writes land in order, a burst coalescing into the latest
// value. flush() waits for them; so do restore(), the deletion of files the document still names,
// and the Curator's destruction. A failed write is logged and raises `archiveWriteFailed` (on the
// main thread, once the write has ended) until a later write succeeds; the next change simply
// writes the whole document again.
//
// Files the document stops naming (a local copy removed, the trash emptied) are deleted only once
// a document without them is on disk, without the main thread waiting for it: the deletion waits
// for the write of its commit and runs on the main thread when that write has ended. A failed
// write deletes nothing; the files go once a later write succeeds, and when none does they stay,
// named by the document still on disk. The Curator's destruction waits for the last write and
// deletes what it allows.
//
// After a restore, the writer thread uses its idle time to work out each save's search words, so
// that the first search does not pay for them.

#include "StashKit/Archive.h"
#include "StashKit/ArchiveWriter.h"
#include "Library/Collection.h"
#include "Offline/Covers.h"
#include "StashKit/DownloadRuns.h"
#include "Capture/Date.h"
#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "StashKit/MediaDisk.h"
#include "StashKit/MediaDownloading.h"
#include "Capture/Post.h"
#include "StashKit/PostFetching.h"
#include "Library/Save.h"
#include "StashKit/SaveRefusal.h"
#include "Shelf/Shelf.h"
#include "Library/Tag.h"
#include "Capture/Url.h"
#include "StashKit/UndoHistory.h"

#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <cstdint>
#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace sw {

class Network;

class Curator final : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<Date()>;

    // The disk budget until the application applies the user's limit: 5 GiB.
    static constexpr std::int64_t kDefaultBudget = 5368709120;
    // The most steps the undo history keeps.
    static constexpr qsizetype kHistoryLimit = UndoHistory::kLimit;

    // Where the live Curator keeps its files.
    struct Folders {
        QString archive;   // holds "library.json", and the "Covers" folder beside it
        QString media;     // the downloaded media

        // The archive in the data folder ("~/.local/share/Stashwell"), the media in the videos
        // folder ("~/Videos/Stashwell"; "Videos" in the home folder when the system names none).
        static Folders standard();
    };

    // Stores what it is given; reads no file, writes nothing, restores nothing.
    Curator(Library library, LocalMedia localMedia, Covers covers, std::shared_ptr<PostFetching> fetching,
            std::shared_ptr<MediaDownloading> downloading, std::shared_ptr<MediaDisk> disk,
            std::shared_ptr<Archiving> archiving, Clock now, QObject *parent = nullptr);
    ~Curator() override;

    // The application's Curator: a file archive, the media folder with no copies and the default
    // budget, the covers folder beside the archive, the live services over the network, the
    // system clock; then the archive restored (a failure leaves the library empty), the local
    // copies reconciled with the media folder, and last `downloadsOnSave` set. No folder is made.
    static std::unique_ptr<Curator> live(Network &network, bool downloadsOnSave);
    static std::unique_ptr<Curator> live(Network &network, bool downloadsOnSave, const Folders &folders);
    // The same with the post fetcher asking another FxTwitter API address (loopback tests).
    static std::unique_ptr<Curator> live(Network &network, bool downloadsOnSave, const Folders &folders,
                                         const Url &apiBase);
    // How much of the start is done before live() returns: all of it, or, for an application
    // about to draw its first window, what that frame needs. Then the restored saves'
    // preparation (see finishPreparing) waits for releasePreparation(), so that it does not
    // share the processors with the frame, and the reconciling is reconcileAside(): the media
    // folder of a large library takes longer to list than the window takes to draw. Copies it
    // forgets go as any change does, by the signals, a moment after the window shows them.
    enum class Start { whole, behindFirstWindow };
    static std::unique_ptr<Curator> live(Network &network, bool downloadsOnSave, const Folders &folders,
                                         const Url &apiBase, Start start);

    // The archive in the folders' archive folder being read (the document read, parsed and
    // decoded, or set aside when it cannot be) on a thread of its own from readAhead() on, so that
    // an application can load its fonts and make its windows meanwhile; live() restores what it
    // read, waiting for it first, as restore() would have read it then. Nothing else reads or
    // writes the archive until then.
    class Reading {
    public:
        Reading(Reading &&) noexcept;
        Reading &operator=(Reading &&) = delete;
        ~Reading();   // waits for the read

    private:
        friend class Curator;
        struct Read;
        Reading();
        std::unique_ptr<Read> m_read;
    };
    static Reading readAhead(const Folders &folders);
    static std::unique_ptr<Curator> live(Network &network, bool downloadsOnSave, const Folders &folders,
                                         const Url &apiBase, Start start, Reading reading);

    // ---- state ------------------------------------------------------------------------------

    const Library &library() const { return m_library; }
    const LocalMedia &localMedia() const { return m_localMedia; }
    const Covers &covers() const { return m_covers; }
    // Whether keeping a new post starts its media download.
    bool downloadsOnSave() const { return m_downloadsOnSave; }
    void setDownloadsOnSave(bool on);
    // The rendition quality of downloads and of the shelf's sizes.
    Quality quality() const { return m_quality; }
    void setQuality(Quality quality);
    // How many undo steps have been recorded since the Curator was made; never decreases.
    std::int64_t steps() const { return m_history.steps(); }
    // Files the core tried and failed to delete, in the order of the failures.
    const QList<Url> &leftBehind() const { return m_leftBehind; }
    // Notified by pastChanged and futureChanged.
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // The library projected for display, built anew on each call from library, localMedia,
    // covers, one reading of the clock and quality (the signals of those four tell when it changes).
    Shelf shelf() const;

    // True while the archive document on disk is behind the state: the last write failed.
    bool archiveWriteFailed() const { return m_archiveWriteFailed; }

    // How the writes are made: on the writer thread while the caller goes on (the application's
    // way), or with the caller waiting for each, so that every change is on disk (or has failed)
    // when it returns: for archives that count their writes, as the tests' do.
    enum class ArchiveWrites { background, waited };
    void setArchiveWrites(ArchiveWrites writes) { m_archiveWrites = writes; }
    // Returns once every change made so far is written (or its write has failed), with
    // archiveWriteFailed telling which.
    void flush();
    // Returns once the search words of the saves restored last are worked out (the writer
    // thread's idle work), releasing a held preparation first. For measurements and tests.
    void finishPreparing();
    // Holds the preparation of the saves of the restores to come until released (a restore
    // while held leaves it waiting); releasing starts the waiting one. Nothing else waits on it.
    void holdPreparation() { m_preparationHeld = true; }
    void releasePreparation();
    bool isPreparationHeld() const { return m_preparationHeld; }
    // True for the rest of the session when the document could be neither read nor moved aside:
    // nothing is written, so that the user's document is never overwritten.
    bool archiveWritesHeld() const { return m_archiveWritesHeld; }
    // Where the last restore kept a document it could not read, once it had moved it aside
    // unchanged; none when every restore read its document (or found none).
    const std::optional<QString> &archiveSetAside() const { return m_archiveSetAside; }

    // ---- start-up and the local media -----------------------------------------------------------

    // Replaces the library and the local copies by the archive's, without writing it back.
    // Copies that were downloading are dropped; the media folder and the budget stay the running
    // ones. No document: nothing changes. A failure changes nothing else and is returned; when the
    // unreadable document could not be moved aside, archive writes are held for the session, and
    // when it was, archiveSetAside tells where it lies.
    std::expected<void, ArchiveFailure> restore();
    // Forgets every finished copy whose files are no longer all in the media folder. A folder
    // that cannot be listed changes nothing. While nothing is being downloaded, the names of the
    // program's own in the folder (MediaFolder::isOwnTemporary) are settled first, so that none
    // stays unaccounted: a file that a finished copy lists takes its final name, the files of a
    // download that the restored document had under way are adopted as its finished copy when
    // every one had arrived whole, and all else of the program's own is removed. The user's own
    // files are never touched.
    void reconcile();
    // reconcile() with the folder listed and the copies checked on another thread, where the disk
    // allows it: the media folder of a large library holds a hundred thousand names, and listing
    // it here would hold the window up each time it comes to the front. What changed meanwhile
    // wins: a copy goes only if it is still the one checked, and a listing that a file's renaming
    // may have crossed, or of a folder no longer the running one, changes nothing. Names of the
    // program's own left in the folder while nothing is under way are settled by reconcile().
    // A call while one is under way does nothing: that one's listing serves. Nor is the folder
    // listed again while neither it (by its stamp, MediaDisk::stamp()) nor the copies changed
    // since a listing found every copy whole: a window brought to the front time and again would
    // read a hundred thousand names each time, on a processor the frames share.
    QCoro::Task<void> reconcileAside();
    // Forgets the save's local copy and deletes its files once the document without the copy is
    // on disk (see Persistence above). An id of no save does nothing.
    void removeLocalCopy(const Save::ID &id);
    // Sets the disk budget. No copy is touched, even when more is used than the new limit.
    void limitLocalMedia(std::int64_t bytes);
    void forgetLeftBehind();
    // The saves of the links that the URLs give, in order; URLs that are no link, or whose link
    // has no save, are left out; trashed saves count.
    QList<Save::ID> saves(const QList<Url> &linkedBy) const;

    // ---- library edits (undoable) ---------------------------------------------------------------

    // An edit that leaves the library as it was records nothing, writes nothing and notifies
    // nobody. A recorded edit clears the redo history; the undo history keeps the last
    // kHistoryLimit steps. Each edit returns the step it recorded; none when it recorded nothing.

    using StepID = UndoHistory::StepID;
    using Recorded = std::optional<StepID>;
    // A collection made, and the step that made it.
    struct MadeCollection {
        Collection::ID id;
        Recorded step;
    };

    // Flips the favourite mark.
    Recorded favourite(const Save::ID &id);
    // Sets the mark of the listed saves that do not have it yet.
    Recorded favourite(const QList<Save::ID> &ids, bool on);
    Recorded trash(const Save::ID &id);
    // Trashes the live ones among the listed saves, all at one date.
    Recorded trash(const QList<Save::ID> &ids);
    Recorded restore(const Save::ID &id);
    Recorded restore(const QList<Save::ID> &ids);
    std::expected<Recorded, CollectionRefusal> file(const Save::ID &id, const std::optional<Collection::ID> &in);
    // Refused only when a given collection does not exist.
    std::expected<Recorded, CollectionRefusal> file(const QList<Save::ID> &ids, const std::optional<Collection::ID> &in);
    Recorded tag(const Save::ID &id, const Tag &tag);
    Recorded untag(const Save::ID &id, const Tag &tag);
    std::expected<MadeCollection, CollectionRefusal> makeCollection(const QString &named,
                                                                    std::optional<Swatch> swatch = std::nullopt);
    std::expected<Recorded, CollectionRefusal> editCollection(const Collection::ID &id, const QString &name, Swatch swatch);
    Recorded removeCollection(const Collection::ID &id);
    void undo();
    void redo();

    // ---- library edits outside the history ------------------------------------------------------

    // Replaces the note; always notifies and writes, even when the note is the same.
    void writeNote(const QString &note, const Save::ID &on);
    // Removes the trashed saves for good with their local copies, media files and covers, and
    // clears both histories. The files go once the document without the saves is on disk. Files
    // another save still uses are kept; files that cannot be deleted are added to leftBehind.
    void emptyTrash();

    // ---- looking up and keeping a link (CuratorKeeping.cpp) -------------------------------------

    // The post that pasted text links to, fetched; changes nothing. Text that is no link is
    // notALink or notAPost; a link whose save is in the library outside the trash is alreadyKept
    // without any request; any failure of the fetch is unreachable.
    QCoro::Task<std::expected<Post, SaveRefusal>> look(QString text);
    // Puts the post into the library (a new save; its trashed save restored; nothing when it is
    // kept already), writes the archive whatever the outcome, keeps the cover and, for a new save
    // with media while downloadsOnSave is on, downloads the media. Returns once the cover and the
    // download have ended. Records no undo step.
    QCoro::Task<Library::Keeping> keep(Post post, std::optional<Collection::ID> in = std::nullopt);
    // look, then keep: the id of the save.
    QCoro::Task<std::expected<Save::ID, SaveRefusal>> save(QString pasted,
                                                           std::optional<Collection::ID> in = std::nullopt);

    // ---- downloading media and covers (CuratorDownloads.cpp) ------------------------------------

    // Downloads the save's media at the current quality into the media folder, one file after
    // another. The plan's refusal is returned; the archive is written whether the plan is made or
    // refused, and when the copy is finished or has failed, never for progress. A failed file
    // deletes the files this run finished and leaves the copy failed. An id of no save does
    // nothing. Returns when the run has ended.
    QCoro::Task<std::expected<void, DownloadRefusal>> download(Save::ID id);
    // One save after another; refusals are dropped.
    QCoro::Task<void> download(QList<Save::ID> ids);
    // The saves whose media are missing, as the shelf lists them now, one after another.
    QCoro::Task<void> downloadMissing();
    // Fetches the post's cover into the covers folder unless it is known to be there; failures
    // are silent. Only http and https previews are fetched. A cover that could not be written
    // here (a full disk) is fetched again once a later write succeeds (of the document, a media
    // download or another cover), for the disk has room again then.
    QCoro::Task<void> keepCover(Post post);
    // Learns which covers the folder holds, then fetches the missing cover of every save,
    // trashed ones too, one at a time. A folder that cannot be listed does nothing.
    QCoro::Task<void> keepMissingCovers();

signals:
    // The search words of the saves restored last are worked out (after a start, on the
    // writer's thread): a search now finds every save in the index.
    void searchPrepared();
    void libraryChanged();
    void localMediaChanged();
    void coversChanged();
    void downloadsOnSaveChanged();
    void qualityChanged();
    void pastChanged();
    void futureChanged();
    void stepsChanged();
    void leftBehindChanged();
    void archiveWriteFailedChanged();
    void archiveWritesHeldChanged();
    void archiveSetAsideChanged();

private:
    // restore() of what the archive gave.
    std::expected<void, ArchiveFailure> restoreFrom(std::expected<std::optional<Archive>, ArchiveFailure> loaded);
    using Step = UndoHistory::Step;

    enum Field : unsigned {
        fieldLibrary = 1u << 0,
        fieldLocalMedia = 1u << 1,
        fieldCovers = 1u << 2,
        fieldDownloadsOnSave = 1u << 3,
        fieldQuality = 1u << 4,
        fieldPast = 1u << 5,
        fieldFuture = 1u << 6,
        fieldSteps = 1u << 7,
        fieldLeftBehind = 1u << 8,
        fieldArchiveWriteFailed = 1u << 9,
        fieldArchiveWritesHeld = 1u << 10,
        fieldArchiveSetAside = 1u << 11,
    };

    // One operation: while one is open, archive writes and signals wait for its end, where the
    // document is written once and each changed field signals once. Operations nest. Never keep
    // one open across a suspension (co_await): other operations run there.
    class Operation {
    public:
        explicit Operation(Curator &curator) : m_curator(curator) { ++m_curator.m_operationDepth; }
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;
        ~Operation() { m_curator.endOperation(); }

    private:
        Curator &m_curator;
    };

    // Raises holdsArchive for its life: changes made meanwhile are not written.
    class ArchiveHold {
    public:
        explicit ArchiveHold(Curator &curator) : m_curator(curator), m_was(curator.m_holdsArchive)
        {
            m_curator.m_holdsArchive = true;
        }
        ArchiveHold(const ArchiveHold &) = delete;
        ArchiveHold &operator=(const ArchiveHold &) = delete;
        ~ArchiveHold() { m_curator.m_holdsArchive = m_was; }

    private:
        Curator &m_curator;
        bool m_was;
    };

    // Assignments: notify when the value differs; library and localMedia write either way.
    void assignLibrary(Library next);
    void assignLocalMedia(LocalMedia next);
    void assignCovers(Covers next);
    void assignLeftBehind(QList<Url> next);
    // In-place changes: always notify; library and localMedia always write.
    template <typename Change>
    decltype(auto) changeLibrary(Change &&change)
    {
        Operation operation(*this);
        changed(fieldLibrary);
        archiveChanged();
        return std::forward<Change>(change)(m_library);
    }
    template <typename Change>
    decltype(auto) changeLocalMedia(Change &&change)
    {
        Operation operation(*this);
        changed(fieldLocalMedia);
        archiveChanged();
        ++m_localMediaChanges;
        return std::forward<Change>(change)(m_localMedia);
    }
    template <typename Change>
    decltype(auto) changeCovers(Change &&change)
    {
        Operation operation(*this);
        changed(fieldCovers);
        return std::forward<Change>(change)(m_covers);
    }

    // The archive write rule, run after every change of library or localMedia.
    void archiveChanged();
    void storeArchive();
    ArchiveWriter &writer();
    // Takes the outcome of the writes that have ended into archiveWriteFailed.
    void writesEnded();
    // Works out, between writes, what the first search would otherwise pay for: the restored
    // saves' search words.
    void prepare();
    void setArchiveWriteFailed(bool failed);
    void changed(Field field);
    void endOperation();
    void emitChanged(unsigned fields);

    // Deletes media files of the media folder, sparing any that a remaining local copy still
    // lists; a failed deletion adds every URL of the call to leftBehind.
    void deleteMediaFiles(const QList<LocalFile> &files);
    // Removes cover files from the covers folder, sparing any that a remaining save still uses.
    void deleteCovers(const QList<QString> &names);
    // One disk call for the URLs; on failure all of them go to leftBehind.
    void removeFiles(const QList<Url> &urls);
    // Files the last change let go of, deleted once the document of that change (or a later one)
    // is on disk; at once while writes are held for the session.
    void deleteOnceWritten(QList<std::pair<PostLink, LocalFile>> media, QList<QString> covers);
    // Deletes the waiting files whose document is on disk, and gives the downloaded files that
    // document lists their final names.
    void deleteWritten();
    // Files that a download (or the start) has just recorded as the link's finished copy: they
    // lie under their pending names until the document of that change (or a later one) is on
    // disk, and then take their final names (at once while writes are held for the session).
    void promoteOnceWritten(const PostLink &link, QList<LocalFile> files);
    // Renames the promotion's pending files that the link's copy still lists; deletes the others.
    struct Promotion;
    void promote(const Promotion &promotion);
    // Deletes downloaded files under their pending names, sparing any that a listed run has
    // finished or a waiting promotion holds.
    void deletePendingFiles(const QList<LocalFile> &files);
    // The start's part of reconcile(): see there. Keeps `present` up to date with what it does.
    void settleOwnFiles(QSet<QString> &present);

    // The commit of an edit: stores the library the edit computed when it differs from the
    // current one, writes it and records the step.
    Recorded record(Library next, Step step);
    // Applies the change to a copy of the library and records it with its undo.
    Recorded perform(std::function<void(Library &)> change, std::function<void(Library &)> undo);
    // Signals the history's lists that a call changed.
    void historyChanged(UndoHistory::Changes changes);

    Library m_library;
    LocalMedia m_localMedia;
    Covers m_covers;
    bool m_downloadsOnSave = true;
    Quality m_quality = Quality::original;
    UndoHistory m_history;
    QList<Url> m_leftBehind;

    std::shared_ptr<PostFetching> m_fetching;
    std::shared_ptr<MediaDownloading> m_downloading;
    std::shared_ptr<MediaDisk> m_disk;
    std::shared_ptr<Archiving> m_archiving;
    bool m_holdsArchive = false;
    Clock m_now;

    ArchiveWrites m_archiveWrites = ArchiveWrites::background;
    std::unique_ptr<ArchiveWriter> m_writer;   // made by the first write or preparation
    std::unique_ptr<QSocketNotifier> m_writesEnded;
    int m_writesEndedFd = -1;
    std::uint64_t m_writeOutcomeSeen = 0;      // the last commit whose outcome is taken
    std::uint64_t m_lastCommit = 0;            // the last commit handed to the writer
    std::uint64_t m_storedCommit = 0;          // the last commit known to be on disk
    // Files waiting for a document that no longer names them, in commit order: media files with
    // the link whose copy listed them, and cover names.
    struct Deletion {
        std::uint64_t commit = 0;
        QList<std::pair<PostLink, LocalFile>> media;
        QList<QString> covers;
    };
    std::vector<Deletion> m_deletions;
    // Downloaded files under their pending names, in commit order, waiting for a document that
    // lists them.
    struct Promotion {
        std::uint64_t commit = 0;
        PostLink link;
        QList<LocalFile> files;
    };
    std::vector<Promotion> m_promotions;
    // Counts the renamings of downloaded files: a listing taken across one may miss the file
    // under both of its names.
    std::uint64_t m_renamings = 0;
    bool m_reconcilingAside = false;
    // Counts the changes of m_localMedia.
    std::uint64_t m_localMediaChanges = 0;
    // The media folder's stamp when a listing last found every finished copy whole, and the count
    // of changes of the copies it found so.
    struct WholeListing {
        FolderStamp stamp;
        std::uint64_t changes = 0;
    };
    std::optional<WholeListing> m_wholeListing;
    // The links whose download the document restored last had under way: their files may all
    // have arrived before the process ended.
    QList<PostLink> m_interrupted;
    bool m_archiveWriteFailed = false;
    bool m_archiveWritesHeld = false;
    std::optional<QString> m_archiveSetAside;
    bool m_preparationHeld = false;
    bool m_preparationWaiting = false;   // a restore's preparation, while held
    int m_operationDepth = 0;
    bool m_writePending = false;
    unsigned m_pendingSignals = 0;

    // ---- download runs (CuratorDownloads.cpp) ---------------------------------------------------

    struct FileOutcome;
    QCoro::Task<FileOutcome> fetchFile(std::shared_ptr<DownloadRuns::Run> run, Download download, std::int64_t most);
    // Stops every run whose copy is no longer under way and deletes the files it finished.
    void letGoOfOrphanedRuns();
    // Lets the run go and deletes the files it had finished.
    void abandon(const std::shared_ptr<DownloadRuns::Run> &run);
    // Deletes a file that arrived for a run after it was let go, unless a newer run of the link
    // has finished a file of that name.
    void deleteOrphanedFile(const DownloadRuns::Run &run, const LocalFile &file);
    // Progress: the views are told, the archive is not written.
    void receivedBytes(std::int64_t bytes, const PostLink &link);
    // A write has succeeded: the covers that found no room are fetched again, once the event
    // loop is back (never from within the write's own bookkeeping).
    void roomMayHaveReturned();
    QCoro::Task<void> keepCoversThatFoundNoRoom();
    // The links of the saves whose cover could not be written, in the order of the failures.
    QList<PostLink> m_coversWithoutRoom;
    bool m_coverRetryQueued = false;

    // The run that owns each link's copy under way.
    DownloadRuns m_runs;
};

}  // namespace sw
