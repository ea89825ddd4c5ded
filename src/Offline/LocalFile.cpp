#include "Offline/LocalFile.h"

#include "Capture/Text.h"

#include <charconv>

namespace sw {

bool LocalFile::isSafeName(const QString &name)
{
    // A control character has no place in a name we make, and a NUL would end the name where
    // the system reads it: "other.mp4\0x" would name another save's file.
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !text::containsControl(name);
}

bool operator==(const LocalFile &a, const LocalFile &b)
{
    return a.bytes == b.bytes && text::canonicallyEqual(a.name, b.name);
}

std::size_t qHash(const LocalFile &file, std::size_t seed) noexcept
{
    return ::qHash(file.bytes, text::canonicalHash(file.name, seed));
}

void LocalFile::writeJson(std::string &out) const
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, bytes).ptr;
    out.append(R"({"bytes":)");
    out.append(digits, end);
    out.append(R"(,"name":)");
    writeJsonString(out, name.toStdString());
    out.push_back('}');
}

JsonValue LocalFile::toJson() const
{
    std::string out;
    writeJson(out);
    return JsonValue::raw(std::move(out));
}

LocalFile LocalFile::fromJson(const JsonNode &node)
{
    LocalFile file{node["name"].string(), node["bytes"].int64()};
    if (!isSafeName(file.name))
        throw JsonError("The file name \"" + file.name.toStdString() + "\" does not name a file inside the media folder.");
    return file;
}

}  // namespace sw
