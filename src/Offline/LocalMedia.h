#pragma once

// What of each post's media is on this computer, and the planning of downloads within the disk
// budget. A plain value: the core keeps one and changes it only through these operations.
//
// Calling order for one download: begin() once; then received() any number of times with the
// bytes newly written; then finished() with one file per planned download, or failed(). letGo()
// may come at any time. Progress, finish and failure for a link whose copy is no longer
// downloading are ignored, so events of a download whose copy was let go change nothing.

#include "Offline/CopyTable.h"
#include "Offline/DiskBudget.h"
#include "Offline/Download.h"
#include "Offline/DownloadFailure.h"
#include "Offline/DownloadRefusal.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalFile.h"
#include "Offline/MediaFolder.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"

#include <QList>
#include <QSet>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <vector>

namespace sw {

class LocalMedia {
public:
    LocalMedia() = default;
    LocalMedia(MediaFolder folder, DiskBudget budget) : m_folder(std::move(folder)), m_budget(budget) {}
    // The copies read from an archive, less every download that was under way when it was
    // written (its reservation is gone after a restart); their links are added to `interrupted`
    // when given, so that files those downloads completed can still be adopted (settling()).
    static LocalMedia restoring(MediaFolder folder, DiskBudget budget, CopyTable archived,
                                QList<PostLink> *interrupted = nullptr);

    const MediaFolder &folder() const { return m_folder; }
    DiskBudget budget() const { return m_budget; }
    void setBudget(DiskBudget budget) { m_budget = budget; }
    // Sets the budget's limit; folder and copies stay.
    void limit(std::int64_t to) { m_budget = DiskBudget{to}; }
    // Entries holding linkOnly come only from an archive; every operation treats them as absent.
    const CopyTable &copies() const { return m_copies; }
    void setCopies(CopyTable copies) { m_copies = std::move(copies); }

    // The link's copy; linkOnly when it has none.
    LocalCopy copy(const PostLink &link) const;

    // The bytes counted against the budget: finished files plus the whole total of every
    // download under way.
    std::int64_t used() const { return m_copies.reservedBytes(); }
    // The bytes of finished copies only.
    std::int64_t onDisk() const { return m_copies.bytesOnDisk(); }

    // Plans the download of the post's media at the quality: one file per attachment, in
    // attachment order. When admitted, the whole planned size is reserved at once and the copy
    // becomes downloading(0 of needs). A refusal changes nothing; a failed copy is planned afresh.
    // `held` is counted as used beside the copies: the margins of downloads under way.
    std::expected<std::vector<Download>, DownloadRefusal> begin(const Post &post, Quality quality,
                                                                std::int64_t held = 0);
    // The most a download planned for `planned` bytes may write beyond them, since media sizes
    // are often estimates: half the plan and at least kLeastMargin, but never more than the
    // budget has room for beside everything reserved (the plan included) and the margins `held`
    // by other downloads under way. Holding it keeps the library within its budget whatever a
    // server sends.
    std::int64_t margin(std::int64_t planned, std::int64_t held) const;
    static constexpr std::int64_t kLeastMargin = std::int64_t(16) << 20;
    // Adds bytes newly received to a download under way, never beyond its total.
    void received(std::int64_t bytes, const PostLink &link);
    // Ends a download under way with its files.
    void finished(const PostLink &link, const QList<LocalFile> &files);
    // Ends a download under way as failed.
    void failed(const PostLink &link, DownloadFailure failure);
    // Forgets the link's copy, whatever it is; gives the files of a finished copy for the caller
    // to delete.
    QList<LocalFile> letGo(const PostLink &link);
    // Forgets every finished copy with a file whose name is not among the names present in the
    // media folder (names compare under canonical equivalence).
    void reconcile(const QSet<QString> &present);
    // reconcile() in two halves, for a listing taken on another thread: the finished copies that
    // miss a file present, each with the files it lists; then, once back, the forgetting of
    // those that are still finished with just those files (one that went, failed or was
    // downloaded anew meanwhile stays as it is now). forget() returns how many went.
    using Incomplete = QList<std::pair<PostLink, QList<LocalFile>>>;
    Incomplete incomplete(const QSet<QString> &present) const;
    qsizetype forget(const Incomplete &copies);

    // What to do with the names of the program's own (MediaFolder::isOwnTemporary) found in the
    // media folder when nothing is being downloaded, so that none stays unaccounted. Names
    // compare under canonical equivalence.
    struct Settling {
        // Pending names (as present) whose final name a finished copy lists, with that name as
        // the copy spells it: the document that names them is on disk, and they take those names.
        QList<std::pair<QString, QString>> promote;
        // Interrupted downloads (posts whose copy was under way, and has none now) whose every
        // planned file had arrived under its pending name: the link and the pending names in plan
        // order (their names as present), to become the link's finished copy. A name goes to the
        // first post that plans it.
        QList<std::pair<PostLink, QList<QString>>> adopt;
        // Every other name of the program's own, as present: removed.
        QList<QString> remove;
    };
    Settling settling(const QSet<QString> &present, const std::vector<Post> &interrupted) const;
    // Records files found whole for a link without a copy (or with a failed one) as its finished
    // copy; a link with a finished copy or one under way keeps it.
    void adopt(const PostLink &link, const QList<LocalFile> &files);

    // The posts, in order, that have media but neither a finished copy nor one under way.
    std::vector<Post> missing(const std::vector<Post> &among) const;

    friend bool operator==(const LocalMedia &, const LocalMedia &) = default;

private:
    MediaFolder m_folder;
    DiskBudget m_budget;
    CopyTable m_copies;
};
std::size_t qHash(const LocalMedia &media, std::size_t seed = 0) noexcept;

}  // namespace sw
