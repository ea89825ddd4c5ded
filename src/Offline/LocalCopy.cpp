#include "Offline/LocalCopy.h"

#include "Offline/ByteCount.h"

#include <charconv>

namespace sw {

namespace {
void appendInt(std::string &out, std::int64_t i)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, i).ptr;
    out.append(digits, end);
}

[[noreturn]] void notAnObject(std::string_view caseName)
{
    throw JsonError("Expected an object for the case \"" + std::string(caseName) + "\".");
}
}  // namespace

std::optional<double> LocalCopy::fraction() const
{
    const Downloading *d = asDownloading();
    if (!d)
        return std::nullopt;
    if (d->of == 0)
        return 1.0;
    return static_cast<double>(d->received) / static_cast<double>(d->of);
}

__int128 LocalCopy::exactBytesOnDisk() const
{
    const OnThisComputer *done = asOnThisComputer();
    if (!done)
        return 0;
    __int128 sum = 0;
    for (const LocalFile &file : done->files)
        sum += file.bytes;
    return sum;
}

std::int64_t LocalCopy::bytesOnDisk() const
{
    return bytes::clamp(exactBytesOnDisk());
}

std::size_t qHash(const LocalCopy &copy, std::size_t seed) noexcept
{
    seed = ::qHash(copy.value().index(), seed);
    if (const auto *d = copy.asDownloading())
        return qHashMulti(seed, d->received, d->of);
    if (const auto *done = copy.asOnThisComputer()) {
        seed = ::qHash(done->files.size(), seed);
        for (const LocalFile &file : done->files)
            seed = qHash(file, seed);
        return seed;
    }
    if (const auto *f = copy.asFailed())
        return qHash(f->failure, seed);
    return seed;
}

void LocalCopy::writeJson(std::string &out) const
{
    if (const auto *d = asDownloading()) {
        out.append(R"({"downloading":{"of":)");
        appendInt(out, d->of);
        out.append(R"(,"received":)");
        appendInt(out, d->received);
        out.append("}}");
    } else if (const auto *done = asOnThisComputer()) {
        out.append(R"({")").append(onThisComputerKey).append(R"(":{"_0":[)");
        bool first = true;
        for (const LocalFile &file : done->files) {
            if (!first)
                out.push_back(',');
            first = false;
            file.writeJson(out);
        }
        out.append("]}}");
    } else if (const auto *f = asFailed()) {
        out.append(R"({"failed":{"_0":)");
        f->failure.writeJson(out);
        out.append("}}");
    } else {
        out.append(R"({"linkOnly":{}})");
    }
}

JsonValue LocalCopy::toJson() const
{
    std::string out;
    writeJson(out);
    return JsonValue::raw(std::move(out));
}

LocalCopy LocalCopy::fromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"linkOnly", "downloading", onThisComputerKey, "failed"});
    if (!payload.isObject())
        notAnObject(name);
    if (name == "downloading")
        return downloading(payload["received"].int64(), payload["of"].int64());
    if (name == onThisComputerKey) {
        QList<LocalFile> files;
        const JsonNode list = payload["_0"];
        files.reserve(static_cast<qsizetype>(list.elementCount()));
        list.forEachElement([&](const JsonNode &element) { files.append(LocalFile::fromJson(element)); });
        return onThisComputer(std::move(files));
    }
    if (name == "failed")
        return failed(DownloadFailure::fromJson(payload["_0"]));
    return linkOnly();
}

}  // namespace sw
