#pragma once

#include "Capture/Json.h"

#include <QHashFunctions>

#include <cstddef>
#include <functional>
#include <string>

namespace sw {

// Why the last download of a post's media failed.
class DownloadFailure {
public:
    enum Value : unsigned char { unreachable, couldNotWrite };
    constexpr DownloadFailure(Value v = unreachable) : m_value(v) {}
    constexpr operator Value() const { return m_value; }

    // {"unreachable":{}} or {"couldNotWrite":{}}
    JsonValue toJson() const;
    void writeJson(std::string &out) const;
    static DownloadFailure fromJson(const JsonNode &node);

private:
    Value m_value;
};
inline std::size_t qHash(DownloadFailure f, std::size_t seed = 0) noexcept
{
    return ::qHash(int(DownloadFailure::Value(f)), seed);
}

}  // namespace sw

template <> struct std::hash<sw::DownloadFailure> {
    std::size_t operator()(sw::DownloadFailure v) const noexcept { return static_cast<std::size_t>(sw::DownloadFailure::Value(v)); }
};
