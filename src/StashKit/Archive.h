#pragma once

// The persisted document: the library with the local copy of each post's media, and the port
// through which the core reads it once at start and writes it whole after each change.

#include "Offline/CopyTable.h"
#include "Capture/Json.h"
#include "Library/Library.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sw {

struct Archive {
    std::int64_t version = 1;   // always written as 1 by the core; read back as stored
    Library library;
    CopyTable copies;           // the local copy of each post, as LocalMedia holds them

    Archive() = default;
    Archive(Library library, CopyTable copies) : library(std::move(library)), copies(std::move(copies)) {}

    friend bool operator==(const Archive &, const Archive &) = default;

    // The document: {"copies":[link,copy,...],"library":{"collections":[...],"saves":[...]},"version":n}
    // compact, keys sorted at every depth. Appends to `out`; the copies and the saves are encoded
    // a piece at a time on several threads.
    void writeJson(std::string &out) const;
    // The same, in pieces: whenever `out` holds more than a few mebibytes, and with each piece of
    // encoded copies or saves, `spill` is handed a text to take its contents away (and empty it); when it
    // answers false, writing stops there. Answers false when it was stopped. `room` keeps the
    // pieces' buffers from one write to the next.
    using Spill = std::function<bool(std::string &out)>;
    bool writeJson(std::string &out, const Spill &spill) const;
    bool writeJson(std::string &out, const Spill &spill, std::vector<std::string> &room) const;
    std::string json() const;
    JsonValue toJson() const;

    // Every top-level key is required: "version" an integer (any value), "library" a library,
    // "copies" an array of even length read as pairs (the later copy of a repeated link wins).
    // Other top-level keys are ignored. Throws JsonError.
    static Archive fromJson(const JsonNode &node);
    // Parses and decodes a whole document. Throws JsonError.
    static Archive fromJson(std::string_view document);
    // The same for a document followed by JsonDocument::padding readable bytes, parsed in place.
    static Archive fromPaddedJson(std::string_view document);
};

std::size_t qHash(const Archive &archive, std::size_t seed = 0) noexcept;

// Why the archive could not be loaded or stored.
struct ArchiveFailure {
    enum class Kind {
        couldNotCreateFolder,   // store: the archive's folder could not be made
        couldNotWrite,          // store: writing or replacing the document failed; the old one stays whole
        couldNotRead,           // load: the document exists but could not be read
        unreadable,             // load: the document was read but is not an archive
    };

    Kind kind = Kind::couldNotWrite;
    QString message;
    // Load failures only: where the unreadable document was moved. None when it could not be
    // moved and still lies in the document's place, so that writing a new one would destroy it.
    std::optional<QString> setAsideAs;

    bool wasSetAside() const { return setAsideAs.has_value(); }
};

// The core's persistence port. One call at a time, never two at once: load() at start (on a thread
// of its own when read ahead, Curator::readAhead, or on the main thread), store() on the Curator's
// archive writer thread (ArchiveWriter), so an implementation must keep nothing that the main
// thread reads or changes meanwhile without a lock. One that
// keeps the archives it is given (a fake in the tests) shares their saves with the main thread:
// use it with Curator::ArchiveWrites::waited, which orders every store before the next change.
class Archiving {
public:
    virtual ~Archiving() = default;

    // The stored archive, or none when nothing has been stored yet.
    virtual std::expected<std::optional<Archive>, ArchiveFailure> load() = 0;
    // Replaces what is stored by the archive. On failure the previous document stays whole.
    virtual std::expected<void, ArchiveFailure> store(const Archive &archive) = 0;
    // The same, except that the store may be given up part way once `superseded` answers true
    // (it is asked now and then while the document is written): a newer archive is waiting, and
    // finishing this one would only delay it. Given up, what is stored stays as it was. Answers
    // whether the archive was stored whole. By default the store always goes to its end.
    virtual std::expected<bool, ArchiveFailure> storeUnlessSuperseded(const Archive &archive,
                                                                     const std::function<bool()> &superseded)
    {
        (void)superseded;
        auto stored = store(archive);
        if (!stored)
            return std::unexpected(std::move(stored.error()));
        return true;
    }
};

}  // namespace sw
