#pragma once

// The archive on the file system: "library.json" in one folder, replaced whole on every store so
// that a reader (or the next start after a crash) sees the old document or the new one, never a
// mixture. A document that cannot be read is moved aside under a time-stamped name, never
// overwritten, so the user keeps it and the application can start with an empty library.

#include "StashKit/Archive.h"
#include "Capture/Date.h"

#include <QDateTime>
#include <QString>

#include <cstddef>
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace sw {

class FileArchive : public Archiving {
public:
    // The clock that stamps the name of a set-aside document; the system clock when none is given.
    using Clock = std::function<Date()>;

    static constexpr const char *documentName = "library.json";
    // The start of the name of a document being written, before it replaces the old one.
    static constexpr const char *partialPrefix = ".library.json.partial-";

    explicit FileArchive(QString directory, Clock clock = {});

    // The application's data folder followed by "Stashwell" (~/.local/share/Stashwell); the home
    // folder's ".local/share/Stashwell" when the system names no data folder.
    static QString defaultDirectory();

    const QString &directory() const { return m_directory; }
    QString documentPath() const;

    // Removes what an interrupted store left (partial documents), then reads the document.
    // Nothing when there is no document. A document that cannot be read or decoded is moved to
    // "library.unreadable-<UTC time, ':' as '-'>.json" (then "-2", "-3", ... when that name is
    // taken) and the failure is returned; it tells where the document went, or that it could
    // not be moved and still lies in place.
    std::expected<std::optional<Archive>, ArchiveFailure> load() override;

    // Creates the folder when needed, then writes the whole document to a partial file in the
    // folder (encoded a piece at a time, never whole in memory), syncs it and renames it over
    // the old one. Every write is checked: a failed write or
    // sync drops the partial file and leaves the old document whole. The folder is synced after
    // the rename so that the new name survives a power loss.
    std::expected<void, ArchiveFailure> store(const Archive &archive) override;
    // The same, given up between two pieces (or before the sync) once a newer archive waits: the
    // partial file is dropped and the old document stays.
    std::expected<bool, ArchiveFailure> storeUnlessSuperseded(const Archive &archive,
                                                             const std::function<bool()> &superseded) override;

    // A store hands what it has written to the disk whenever this much more has been written,
    // rather than leaving it all to the sync at the end.
    static constexpr std::size_t writebackBytes = std::size_t(4) << 20;

    // Writes bytes that are already encoded, by the same rule as store().
    std::expected<void, ArchiveFailure> storeBytes(std::string_view document);

    // The name a document set aside at `time` takes first: "library.unreadable-2026-12-06T15-01-29Z.json".
    static QString unreadableName(const QDateTime &time, int attempt = 1);

private:
    // Writes a new document: hands the producer a function that appends bytes to the partial file
    // (and answers false once a write failed); the producer answers whether it wrote it all.
    // `superseded`, when given, is asked before the sync, and the producer may ask it too: once
    // it answers true, the write is given up (the partial file dropped, `givenUp` set, no failure).
    using Producer = std::function<bool(const std::function<bool(std::string_view)> &put)>;
    std::expected<void, ArchiveFailure> write(const Producer &produce, const std::function<bool()> &superseded = {},
                                              bool *givenUp = nullptr);
    std::expected<void, ArchiveFailure> storeArchive(const Archive &archive, const std::function<bool()> &superseded,
                                                     bool *givenUp);
    std::optional<QString> setAside(const QString &path) const;
    void removePartialDocuments() const;

    QString m_directory;
    Clock m_clock;
    std::string m_piece;                 // the piece being encoded, its room kept between stores
    std::vector<std::string> m_pieces;   // the same for the pieces of saves encoded on several threads
};

}  // namespace sw
