#pragma once

// The media disk over the local file system. It blocks the calling thread while it works.

#include "StashKit/MediaDisk.h"

namespace sw {

class LiveMediaDisk final : public MediaDisk {
public:
    // A folder in the list is removed with everything in it; a symbolic link is removed itself,
    // never what it points to.
    std::expected<void, DiskError> remove(const QList<Url> &files) override;
    // A symbolic link or a folder at `from` is not moved.
    std::expected<void, DiskError> move(const Url &from, const Url &to) override;
    std::expected<std::int64_t, DiskError> size(const Url &file) override;
    // Hidden names included, "." and ".." left out, subfolders named but not entered.
    std::expected<QSet<QString>, DiskError> names(const Url &folder) override;
    bool listsOnAnyThread() const override { return true; }
};

}  // namespace sw
