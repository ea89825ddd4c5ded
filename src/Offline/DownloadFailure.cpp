#include "Offline/DownloadFailure.h"

namespace sw {

void DownloadFailure::writeJson(std::string &out) const
{
    out.append(m_value == couldNotWrite ? R"({"couldNotWrite":{}})" : R"({"unreachable":{}})");
}

JsonValue DownloadFailure::toJson() const
{
    std::string out;
    writeJson(out);
    return JsonValue::raw(std::move(out));
}

DownloadFailure DownloadFailure::fromJson(const JsonNode &node)
{
    const auto [name, payload] = node.oneCaseOf({"unreachable", "couldNotWrite"});
    if (!payload.isObject())
        throw JsonError("Expected an object for the case \"" + std::string(name) + "\".");
    return name == "couldNotWrite" ? couldNotWrite : unreachable;
}

}  // namespace sw
