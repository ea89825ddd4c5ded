#include "StashKit/Archive.h"

#include "Capture/Parallel.h"

#include <QHashFunctions>

#include <algorithm>
#include <charconv>

namespace sw {

namespace {
constexpr std::size_t kSpillSize = 4 << 20;
// The saves are encoded this many at a time (a few hundred kibibytes of text), each piece on
// whichever of the encoding threads is free, and written in order as they are ready.
constexpr qsizetype kSavesPerPiece = 256;
// The same for the copies, which are shorter.
constexpr std::size_t kCopiesPerPiece = 1024;
// An edit waits for the encoding and then for the disk: every processor but one (left to the
// window) encodes, up to this many.
constexpr std::size_t kMostEncodingThreads = 8;
}

void Archive::writeJson(std::string &out) const
{
    writeJson(out, {});
}

bool Archive::writeJson(std::string &out, const Spill &spill) const
{
    std::vector<std::string> room;
    return writeJson(out, spill, room);
}

bool Archive::writeJson(std::string &out, const Spill &spill, std::vector<std::string> &room) const
{
    const auto spillIfFull = [&] { return !spill || out.size() < kSpillSize || spill(out); };
    // Pieces made on several threads are handed over in order: without a spill appended, else
    // spilled each (after whatever was written before it).
    const auto take = [&](std::string &text) {
        if (!spill) {
            out.append(text);
            return true;
        }
        if (!out.empty() && !spill(out))
            return false;
        return spill(text);
    };
    const auto threadsFor = [](std::size_t pieces) { return pieces > 1 ? std::clamp<std::size_t>(usableCores() - 1, 1, kMostEncodingThreads) : 1; };
    if (room.size() < 2 * kMostEncodingThreads + 2)
        room.resize(2 * kMostEncodingThreads + 2);

    // Keys in sorted order at each level: "copies" < "library" < "version", and inside the
    // library "collections" < "saves". Nothing is kept encoded: the copies and the saves are
    // encoded afresh, a piece at a time on several threads for a large library.
    out.append("{\"copies\":[");
    const auto copyCount = std::size_t(copies.size());
    const std::size_t copyPieces = (copyCount + kCopiesPerPiece - 1) / kCopiesPerPiece;
    const auto encodeCopies = [&](std::size_t piece, std::string &text) {
        copies.writeEntriesJson(text, piece * kCopiesPerPiece, (piece + 1) * kCopiesPerPiece);
    };
    if (!makeInOrder(copyPieces, threadsFor(copyPieces), room, encodeCopies, take))
        return false;
    out.append("],\"library\":{\"collections\":[");
    bool first = true;
    for (const Collection &collection : library.collections) {
        if (!first)
            out.push_back(',');
        first = false;
        collection.toJson().writeTo(out);
    }
    out.append("],\"saves\":[");
    if (!spillIfFull())
        return false;

    const SaveList &saves = library.saves;
    const qsizetype count = saves.size();
    const auto pieces = std::size_t((count + kSavesPerPiece - 1) / kSavesPerPiece);
    const auto encodeSaves = [&](std::size_t piece, std::string &text) {
        const qsizetype begin = qsizetype(piece) * kSavesPerPiece;
        const qsizetype end = std::min(count, begin + kSavesPerPiece);
        // The save data lie all over the heap: each is asked for a few saves ahead.
        constexpr qsizetype ahead = 4;
        for (qsizetype i = begin; i < std::min(end, begin + ahead); ++i)
            saves.at(i).prefetchForWriting();
        for (qsizetype i = begin; i < end; ++i) {
            if (i + ahead < end)
                saves.at(i + ahead).prefetchForWriting();
            if (i > 0)
                text.push_back(',');
            saves.at(i).writeJson(text);
        }
    };
    if (!makeInOrder(pieces, threadsFor(pieces), room, encodeSaves, take))
        return false;
    out.append("]},\"version\":");
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, version).ptr;
    out.append(digits, end);
    out.push_back('}');
    return true;
}

std::string Archive::json() const
{
    std::string out;
    writeJson(out);
    return out;
}

JsonValue Archive::toJson() const
{
    return JsonValue::raw(json());
}

Archive Archive::fromJson(const JsonNode &node)
{
    // All three are required, and looked up before any is decoded, so that a document missing
    // one fails with that key's name whatever else is wrong in it.
    const JsonNode versionNode = node["version"];
    const JsonNode libraryNode = node["library"];
    const JsonNode copiesNode = node["copies"];
    Archive archive;
    archive.version = versionNode.int64();
    archive.library = Library::fromJson(libraryNode);
    archive.copies = CopyTable::fromJson(copiesNode);
    return archive;
}

Archive Archive::fromJson(std::string_view document)
{
    const JsonDocument parsed(document);
    return fromJson(parsed.root());
}

Archive Archive::fromPaddedJson(std::string_view document)
{
    const JsonDocument parsed(document, JsonDocument::Padded{});
    return fromJson(parsed.root());
}

std::size_t qHash(const Archive &archive, std::size_t seed) noexcept
{
    return qHashMulti(seed, archive.version, archive.library, archive.copies);
}

}  // namespace sw
