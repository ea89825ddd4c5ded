#include "StashKit/Archive.h"

#include <QHashFunctions>

#include <charconv>

namespace sw {

namespace {
constexpr std::size_t kSpillSize = 4 << 20;
}

void Archive::writeJson(std::string &out) const
{
    writeJson(out, {});
}

bool Archive::writeJson(std::string &out, const Spill &spill) const
{
    const auto spillIfFull = [&] { return !spill || out.size() < kSpillSize || spill(out); };
    // Keys in sorted order at each level: "copies" < "library" < "version", and inside the
    // library "collections" < "saves". Each save keeps its own canonical text, so an unchanged
    // save costs a copy of that text and nothing else.
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
    first = true;
    for (const Save &save : library.saves) {
        if (!first)
            out.push_back(',');
        first = false;
        save.writeJson(out);
        if (!spillIfFull())
            return false;
    }
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
