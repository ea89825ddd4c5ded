#include "StashKit/Archive.h"

#include "Capture/Parallel.h"

#include <QHashFunctions>

#include <algorithm>
#include <charconv>

namespace sw {

namespace {
constexpr std::size_t kSpillSize = 4 << 20;
// The saves are encoded this many at a time (a few hundred kibibytes of text), each piece on
// whichever of a few threads is free, and written in order as they are ready.
constexpr qsizetype kSavesPerPiece = 256;
constexpr std::size_t kMostEncodingThreads = 4;
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
    // Keys in sorted order at each level: "copies" < "library" < "version", and inside the
    // library "collections" < "saves". The copies keep their canonical texts; the saves are
    // encoded afresh, on several threads for a large library.
    out.append("{\"copies\":");
    copies.writeJson(out);
    out.append(",\"library\":{\"collections\":[");
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
    const std::size_t threads = pieces > 1 ? std::min(kMostEncodingThreads, usableCores()) : 1;
    if (room.size() < 2 * threads + 2)
        room.resize(2 * threads + 2);
    const auto encode = [&](std::size_t piece, std::string &text) {
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
    const auto take = [&](std::string &text) {
        if (!spill) {
            out.append(text);
            return true;
        }
        // What was written before the saves goes first; then each piece as it comes.
        if (!out.empty() && !spill(out))
            return false;
        return spill(text);
    };
    if (!makeInOrder(pieces, threads, room, encode, take))
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
