// The Curator's downloads: a save's media into the media folder, and covers into the covers
// folder.
//
// Each download is a run listed in DownloadRuns. When a run's copy is let go meanwhile (the local
// copy removed, the trash emptied, the library restored), the run is let go as soon as the local
// media signal it, its transfer stops and the files it had finished are deleted here. A file
// arrives under its pending name (MediaFolder::pendingName) and takes its final name once the
// document that records the finished copy is on disk.

#include "StashKit/Curator.h"

#include "Offline/ByteCount.h"
#include "Offline/MediaFolder.h"
#include "Shelf/ShelfItem.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>
#include <qcoro/qcorotimer.h>

#include <algorithm>
#include <utility>

namespace sw {

struct Curator::FileOutcome {
    enum class Kind { arrived, failed, letGo };
    Kind kind = Kind::failed;
    std::int64_t bytes = 0;                                   // arrived: the file's size
    DownloadFailure failure = DownloadFailure::unreachable;   // failed: why
};

namespace {

// A failure on this computer (the file could not be written or put in place) is the computer's,
// not the network's.
DownloadFailure failureOf(const TransferError &error)
{
    return error.kind == TransferError::Kind::couldNotWrite ? DownloadFailure::couldNotWrite
                                                            : DownloadFailure::unreachable;
}

}  // namespace

// ---- runs ---------------------------------------------------------------------------------------

void Curator::letGoOfOrphanedRuns()
{
    const auto orphaned =
        m_runs.runs([this](const PostLink &link) { return !m_localMedia.copy(link).asDownloading(); });
    for (const auto &run : orphaned)
        abandon(run);
}

void Curator::abandon(const std::shared_ptr<DownloadRuns::Run> &run)
{
    deletePendingFiles(m_runs.letGo(run));
}

void Curator::deleteOrphanedFile(const DownloadRuns::Run &run, const LocalFile &file)
{
    // A newer run of the same link writes files of the same names: one it has finished is its own.
    if (m_runs.currentRunFinished(run.link, file))
        return;
    deletePendingFiles({file});
}

void Curator::receivedBytes(std::int64_t bytes, const PostLink &link)
{
    // Progress tells the views, but is not worth a document write. The views are told once the
    // hold is lowered again: what they do in answer is written as usual.
    Operation operation(*this);
    ArchiveHold hold(*this);
    changeLocalMedia([&](LocalMedia &media) { media.received(bytes, link); });
}

// ---- one file -----------------------------------------------------------------------------------

QCoro::Task<Curator::FileOutcome> Curator::fetchFile(std::shared_ptr<DownloadRuns::Run> run, Download download,
                                                     std::int64_t most)
{
    const QPointer<Curator> self(this);
    // Under a name of our own until the document that lists the file is on disk.
    const Url destination = m_localMedia.folder().pendingUrl(LocalFile{download.file, 0});
    if (!download.attachment.remote().isHttp())
        co_return FileOutcome{FileOutcome::Kind::failed, 0, DownloadFailure::unreachable};

    run->stream.emplace(m_downloading->download(download.attachment, destination, most));
    std::int64_t last = 0;
    std::optional<std::int64_t> size;
    FileOutcome outcome;
    bool letGo = false;
    // A file that arrived whole after the run was let go: nobody lists it.
    std::optional<std::int64_t> orphan;
    while (run->stream) {
        const TransferStream::Next next = co_await run->stream->next();
        if (!self) {
            letGo = true;
            break;
        }
        if (!letGo && !m_runs.owns(*run))
            letGo = true;
        if (letGo) {
            if (next && *next && (*next)->isDone())
                orphan = (*next)->bytes();
            // A transfer that had ended before the run was let go may still hold its done.
            if (orphan || !next || !*next || !run->stream || !run->stream->hasEnded())
                break;
            continue;
        }
        if (!next) {
            outcome = FileOutcome{FileOutcome::Kind::failed, 0, failureOf(next.error())};
            break;
        }
        if (!*next) {
            // The end. Without a done, the file did not arrive.
            if (size) {
                receivedBytes(std::max<std::int64_t>(bytes::subtract(*size, last), 0), run->link);
                outcome = FileOutcome{FileOutcome::Kind::arrived, *size, DownloadFailure::unreachable};
            } else {
                outcome = FileOutcome{FileOutcome::Kind::failed, 0, DownloadFailure::unreachable};
            }
            break;
        }
        const Transfer &event = **next;
        if (const Transfer::Progress *progress = event.asProgress()) {
            receivedBytes(std::max<std::int64_t>(bytes::subtract(progress->bytes, last), 0), run->link);
            last = std::max(last, progress->bytes);
        } else {
            size = event.bytes();
        }
    }
    if (!self)
        co_return FileOutcome{FileOutcome::Kind::letGo, 0, DownloadFailure::unreachable};
    run->stream.reset();
    // Telling the views of the last bytes may have let the run go; a file whose done was read
    // has arrived all the same.
    if (!letGo && !m_runs.owns(*run))
        letGo = true;
    if (letGo) {
        if (!orphan && size)
            orphan = size;
        if (orphan)
            deleteOrphanedFile(*run, LocalFile{download.file, *orphan});
        co_return FileOutcome{FileOutcome::Kind::letGo, 0, DownloadFailure::unreachable};
    }
    co_return outcome;
}

// ---- downloads ----------------------------------------------------------------------------------

QCoro::Task<std::expected<void, DownloadRefusal>> Curator::download(Save::ID id)
{
    const QPointer<Curator> self(this);
    const std::optional<Save> save = m_library.save(id);
    if (!save)
        co_return std::expected<void, DownloadRefusal>();
    const Post post = save->post();
    const Quality quality = m_quality;

    // Runs whose copy is let go are stopped as soon as it happens.
    connect(this, &Curator::localMediaChanged, this, &Curator::letGoOfOrphanedRuns, Qt::UniqueConnection);

    // The plan is written whether it is made or refused. The views hear of it once the run is
    // listed, so that a copy they let go at once stops the run.
    std::expected<std::vector<Download>, DownloadRefusal> plan;
    std::shared_ptr<DownloadRuns::Run> run;
    {
        Operation operation(*this);
        plan = changeLocalMedia([&](LocalMedia &media) { return media.begin(post, quality, m_runs.heldMargins()); });
        if (plan) {
            // An accepted plan means no copy of the link was under way: a run still listed for it
            // lost its copy without having noticed, and its files go.
            QList<LocalFile> released;
            run = m_runs.start(post.link, released);
            deletePendingFiles(released);
            std::int64_t planned = 0;
            for (const Download &file : *plan)
                planned = bytes::add(planned, file.attachment.bytes());
            run->margin = m_localMedia.margin(planned, m_runs.heldMargins());
        }
    }
    if (!plan)
        co_return std::expected<void, DownloadRefusal>(std::unexpected(plan.error()));

    const std::vector<Download> downloads = std::move(*plan);
    std::optional<DownloadFailure> failure;
    // What the files may take together: their plan and the run's margin, whichever file
    // overruns its own plan.
    std::int64_t allowed = run->margin;
    for (const Download &planned : downloads) {
        if (!m_runs.owns(*run))
            co_return std::expected<void, DownloadRefusal>();
        allowed = bytes::add(allowed, planned.attachment.bytes());
        const FileOutcome outcome = co_await fetchFile(run, planned, std::max<std::int64_t>(allowed, 0));
        if (!self || outcome.kind == FileOutcome::Kind::letGo)
            co_return std::expected<void, DownloadRefusal>();
        if (outcome.kind == FileOutcome::Kind::failed) {
            failure = outcome.failure;
            break;
        }
        run->finished.append(LocalFile{planned.file, outcome.bytes});
        allowed = bytes::subtract(allowed, outcome.bytes);
    }

    if (!m_runs.owns(*run))
        co_return std::expected<void, DownloadRefusal>();
    const QList<LocalFile> files = m_runs.end(*run);
    if (failure) {
        // No half-downloaded media: what this run finished goes again, and old files of the
        // link that waited for this run to replace them go as well.
        deletePendingFiles(files);
        changeLocalMedia([&](LocalMedia &media) { media.failed(post.link, *failure); });
        deleteWritten();
    } else {
        changeLocalMedia([&](LocalMedia &media) { media.finished(post.link, files); });
        promoteOnceWritten(post.link, files);
        roomMayHaveReturned();
    }
    co_return std::expected<void, DownloadRefusal>();
}

QCoro::Task<void> Curator::download(QList<Save::ID> ids)
{
    const QPointer<Curator> self(this);
    for (const Save::ID &id : ids) {
        // A refusal of one save does not stop the others.
        const auto done = co_await download(id);
        (void)done;
        if (!self)
            co_return;
    }
}

QCoro::Task<void> Curator::downloadMissing()
{
    QList<Save::ID> ids;
    const QList<ShelfItem> missing = shelf().missing();
    ids.reserve(missing.size());
    for (const ShelfItem &item : missing)
        ids.append(item.save().id());
    co_await download(std::move(ids));
}

// ---- covers -------------------------------------------------------------------------------------

namespace {
// Covers are pictures, held to the same cap as any picture the window shows.
constexpr std::int64_t kCoverMostBytes = std::int64_t(32) << 20;
}  // namespace

QCoro::Task<void> Curator::keepCover(Post post)
{
    const QPointer<Curator> self(this);
    if (!post.preview)
        co_return;
    const std::optional<QString> name = Covers::fileName(post);
    if (!name || m_covers.present().contains(*name))
        co_return;
    // Only web addresses are fetched.
    if (!post.preview->isHttp())
        co_return;

    const Url destination = m_covers.url(*name);
    TransferStream stream =
        m_downloading->download(Attachment(Attachment::Image{*post.preview, 0}), destination, kCoverMostBytes);
    while (true) {
        const TransferStream::Next next = co_await stream.next();
        if (!self)
            break;
        if (!next) {
            // Written again once there is room; any other failure waits for the next start.
            if (next.error().kind == TransferError::Kind::couldNotWrite && !m_coversWithoutRoom.contains(post.link))
                m_coversWithoutRoom.append(post.link);
            break;
        }
        if (!*next)
            break;
        if ((*next)->isDone()) {
            changeCovers([&](Covers &covers) { covers.insert(*name); });
            // The save may have left the library (the trash emptied) while its cover was on the way;
            // a cover that no save uses any more is not kept.
            deleteCovers({*name});
            roomMayHaveReturned();
        }
    }
}

void Curator::roomMayHaveReturned()
{
    if (m_coversWithoutRoom.isEmpty() || m_coverRetryQueued)
        return;
    m_coverRetryQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_coverRetryQueued = false;
        keepCoversThatFoundNoRoom();
    });
}

QCoro::Task<void> Curator::keepCoversThatFoundNoRoom()
{
    const QPointer<Curator> self(this);
    const QList<PostLink> links = std::exchange(m_coversWithoutRoom, {});
    for (const PostLink &link : links) {
        // Each looked up when its turn comes: the save may have gone meanwhile.
        const std::optional<Save> save = m_library.save(link);
        if (!save)
            continue;
        co_await keepCover(save->post());
        if (!self)
            co_return;
    }
}

QCoro::Task<void> Curator::reconcileAside()
{
    if (!m_disk->listsOnAnyThread()) {
        reconcile();
        co_return;
    }
    if (m_reconcilingAside)
        co_return;
    m_reconcilingAside = true;
    const QPointer<Curator> self(this);
    const std::uint64_t renamings = m_renamings;
    // Files that wait for their document count as there: they take their final names later.
    QSet<QString> waiting;
    for (const Promotion &promotion : m_promotions)
        for (const LocalFile &file : promotion.files)
            waiting.insert(file.name);
    struct Listing {
        bool listed = false;   // false too when the folder, found whole before, is as it was
        bool ownNames = false;
        LocalMedia::Incomplete incomplete;
        // The folder's stamp, when it was the same before and after the listing.
        std::optional<FolderStamp> stamp;
    };
    // Named, not a temporary of the co_await: g++ 12 destroys such temporaries' captures twice.
    std::shared_ptr<MediaDisk> disk = m_disk;
    LocalMedia checked = m_localMedia;
    const std::uint64_t changes = m_localMediaChanges;
    // A stamp is worth asking for while the copies are the ones a listing found whole.
    std::optional<FolderStamp> whole;
    if (m_wholeListing && m_wholeListing->changes == changes && waiting.isEmpty())
        whole = m_wholeListing->stamp;
    QFuture<Listing> work = QtConcurrent::run([disk, checked, waiting, whole] {
        Listing listing;
        const Url root = checked.folder().root();
        const std::optional<FolderStamp> before = disk->stamp(root);
        if (whole && before == whole)
            return listing;
        std::expected<QSet<QString>, DiskError> names = disk->names(root);
        if (!names)
            return listing;
        listing.listed = true;
        if (before && disk->stamp(root) == before)
            listing.stamp = before;
        listing.ownNames = std::any_of(names->cbegin(), names->cend(), MediaFolder::isOwnTemporary);
        names->unite(waiting);
        listing.incomplete = checked.incomplete(*names);
        return listing;
    });
    Listing listing = co_await work;
    if (!self)
        co_return;
    m_reconcilingAside = false;
    if (!listing.listed || m_renamings != renamings || !(m_localMedia.folder() == checked.folder()))
        co_return;
    if (listing.ownNames && m_runs.isEmpty() && m_promotions.empty()) {
        reconcile();
        co_return;
    }
    // A copy whose files wait now for their document lists names the folder does not have yet.
    for (const Promotion &promotion : m_promotions)
        listing.incomplete.removeIf([&promotion](const auto &copy) { return copy.first == promotion.link; });
    if (listing.incomplete.isEmpty()) {
        // Every copy listed was whole, with no file waiting to take its name: while neither the
        // folder nor the copies change, a listing would find the same.
        if (listing.stamp && !listing.ownNames && waiting.isEmpty() && m_promotions.empty()
            && m_localMediaChanges == changes)
            m_wholeListing = WholeListing{*listing.stamp, changes};
        co_return;
    }
    Operation operation(*this);
    LocalMedia next = m_localMedia;
    if (next.forget(listing.incomplete) > 0)
        assignLocalMedia(std::move(next));
}

namespace {
// The longest the walk over the saves holds the main thread at once.
constexpr qint64 kCoverWalkSliceMs = 6;
}  // namespace

QCoro::Task<void> Curator::keepMissingCovers()
{
    const QPointer<Curator> self(this);
    // A covers folder of a large library holds a hundred thousand names: listed here, it would
    // freeze the window just after it first shows. The covers kept or deleted meanwhile are
    // carried over the listing, which may have been taken before they were.
    const QSet<QString> before = m_covers.present();
    std::expected<QSet<QString>, DiskError> names;
    if (m_disk->listsOnAnyThread()) {
        // Named, not a temporary of the co_await: g++ 12 destroys such temporaries' captures twice.
        std::shared_ptr<MediaDisk> disk = m_disk;
        Url root = m_covers.root();
        QFuture<std::expected<QSet<QString>, DiskError>> listing =
            QtConcurrent::run([disk, root] { return disk->names(root); });
        names = co_await listing;
        if (!self)
            co_return;
    } else {
        names = m_disk->names(m_covers.root());
    }
    if (!names)
        co_return;
    QSet<QString> present = std::move(*names);
    for (const QString &name : m_covers.present()) {
        if (!before.contains(name))
            present.insert(name);
    }
    for (const QString &name : before) {
        if (!m_covers.present().contains(name))
            present.remove(name);
    }
    Covers listed = m_covers;
    listed.setPresent(std::move(present));
    assignCovers(std::move(listed));

    // The saves as they are now, trashed ones too; each is tested afresh when its turn comes.
    // Checking a hundred thousand of them takes a few hundred milliseconds, so the walk gives
    // the event loop a turn every few milliseconds.
    const SaveList saves = m_library.saves;
    QElapsedTimer slice;
    slice.start();
    for (const Save &save : saves) {
        if (slice.elapsed() >= kCoverWalkSliceMs) {
            co_await QCoro::sleepFor(std::chrono::milliseconds(0));
            if (!self)
                co_return;
            slice.restart();
        }
        if (m_covers.isKeptPassingBy(save.post()))
            continue;
        co_await keepCover(save.post());
        if (!self)
            co_return;
        slice.restart();
    }
}

}  // namespace sw
