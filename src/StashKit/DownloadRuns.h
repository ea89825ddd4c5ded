#pragma once

// The media downloads under way, one run per link.
//
// A run is one accepted plan of one link, and the run object itself is its token: the registry
// keeps the run that owns each link's copy under way, and a run acts on the copy only while it is
// that owner. Letting a run go stops its transfer at once and hands back the files it had
// finished, which nobody lists any more; the caller deletes them. So an old run can never touch a
// newer copy of the same link nor leave files behind unnoticed.
//
// The registry touches no file and tells nobody; the Curator owns it and decides when a run's
// copy is gone.

#include "Capture/PostLink.h"
#include "Offline/LocalMedia.h"
#include "StashKit/TransferStream.h"

#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace sw {

class DownloadRuns {
public:
    struct Run {
        PostLink link;
        // The files of this run that have arrived whole (under their pending names), in plan order.
        QList<LocalFile> finished;
        // The transfer of the file being fetched; letting go of it stops the transfer.
        std::optional<TransferStream> stream;
        // Set once the run no longer owns the link's copy.
        bool letGo = false;
        // The bytes this run may write beyond its plan, held against the budget while it is listed.
        std::int64_t margin = 0;
    };

    // Lists a new run as the owner of the link's copy. A run still listed for the link lost its
    // copy without having noticed: it is let go, and the files it had finished are returned in
    // `released`.
    std::shared_ptr<Run> start(const PostLink &link, QList<LocalFile> &released);
    bool isEmpty() const { return m_runs.isEmpty(); }
    // Whether the run still owns its link's copy under way.
    bool owns(const Run &run) const;
    // The listed runs whose link the test picks, in the registry's order.
    QList<std::shared_ptr<Run>> runs(const std::function<bool(const PostLink &)> &picks) const;
    // Unlists the run and stops its transfer (one that has ended already is left for the run to
    // read: its file may have arrived). Returns the files it had finished; a run let go before
    // returns none.
    QList<LocalFile> letGo(const std::shared_ptr<Run> &run);
    // The run has ended as the owner of its copy: unlisted, and its finished files handed over
    // to the copy (or to deletion).
    QList<LocalFile> end(Run &run);
    // Whether the link's current run has finished the file (the same name and size).
    bool currentRunFinished(const PostLink &link, const LocalFile &file) const;
    // The margins of the listed runs, together.
    std::int64_t heldMargins() const;
    // Whether a listed run has already finished a file of that canonical name.
    bool isFinishedByARun(const QString &canonicalName) const;

private:
    QHash<PostLink, std::shared_ptr<Run>> m_runs;
};

}  // namespace sw
