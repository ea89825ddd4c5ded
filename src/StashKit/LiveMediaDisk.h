#pragma once

// The media disk over the local file system. It blocks the calling thread while it works.

#include "StashKit/MediaDisk.h"

namespace sw {

class LiveMediaDisk final : public MediaDisk {
public:
    // FAT notes times to two seconds.
    static constexpr std::int64_t kSettled = 3'000'000'000;
    // `settled`: how long ago, in nanoseconds, a folder must have last changed for stamp() to
    // give its stamp.
    explicit LiveMediaDisk(std::int64_t settled = kSettled) : m_settled(settled) {}

    // A folder in the list is removed with everything in it; a symbolic link is removed itself,
    // never what it points to.
    std::expected<void, DiskError> remove(const QList<Url> &files) override;
    // A symbolic link or a folder at `from` is not moved.
    std::expected<void, DiskError> move(const Url &from, const Url &to) override;
    std::expected<std::int64_t, DiskError> size(const Url &file) override;
    // Hidden names included, "." and ".." left out, subfolders named but not entered.
    std::expected<QSet<QString>, DiskError> names(const Url &folder) override;
    bool listsOnAnyThread() const override { return true; }
    // From the folder's times of change, which the system moves on with each name added, removed
    // or renamed in it; none for a folder changed lately.
    std::optional<FolderStamp> stamp(const Url &folder) override;

private:
    std::int64_t m_settled;
};

}  // namespace sw
