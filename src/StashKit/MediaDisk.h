#pragma once

// The service through which the Curator removes files and lists a folder.

#include "Capture/Url.h"

#include <QList>
#include <QSet>
#include <QString>

#include <cstdint>
#include <expected>
#include <optional>

namespace sw {

// A file-system failure: the path it concerns and the system's own words.
struct DiskError {
    QString path;
    QString message;
    friend bool operator==(const DiskError &, const DiskError &) = default;
};

// What a folder's entries are known by: two equal stamps of one folder, taken at two moments, mean
// that nothing was added to it, removed from it or renamed in it between them.
struct FolderStamp {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    std::int64_t modified = 0;   // nanoseconds since the epoch
    std::int64_t changed = 0;    // nanoseconds since the epoch
    std::int64_t size = 0;
    friend bool operator==(const FolderStamp &, const FolderStamp &) = default;
};

class MediaDisk {
public:
    virtual ~MediaDisk() = default;

    // Removes the files in order. A file that is not there is skipped; the first removal that
    // fails ends the call with its error and the files after it are not tried. A path that the
    // file system cannot be handed whole (a NUL inside) is such a failure, never skipped.
    virtual std::expected<void, DiskError> remove(const QList<Url> &files) = 0;
    // Puts the plain file at `from` in the place of `to` in one step, replacing a file there; both
    // lie in one folder. Nothing at `from` is a failure.
    virtual std::expected<void, DiskError> move(const Url &from, const Url &to) = 0;
    // The size of a plain file; a missing file, or anything else there, is a failure.
    virtual std::expected<std::int64_t, DiskError> size(const Url &file) = 0;
    // The names (not paths) of everything directly in a folder; none when the folder does not exist.
    virtual std::expected<QSet<QString>, DiskError> names(const Url &folder) = 0;
    // Whether names() may run on another thread while the main thread goes on with other calls:
    // a listing of a large folder then holds no frame up. Only a disk without state of its own says so.
    virtual bool listsOnAnyThread() const { return false; }
    // The folder's stamp now; none where the disk cannot tell (no such folder), or where the
    // folder changed too lately for its stamp to tell anything: a file system notes the time of a
    // change coarsely, and a second change within the same tick leaves the stamp as it was.
    virtual std::optional<FolderStamp> stamp(const Url &folder)
    {
        (void)folder;
        return std::nullopt;
    }
};

}  // namespace sw
