#pragma once

// A length of time as a signed 128-bit count of attoseconds (10^-18 s). In JSON it is
// [high 64 bits (signed), low 64 bits (unsigned)]: 12.5 s is [0,12500000000000000000].

#include "Capture/Json.h"

#include <QHashFunctions>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace sw {

struct Duration {
    static constexpr std::int64_t kAttosecondsPerSecond = 1'000'000'000'000'000'000;

    __int128 attoseconds = 0;

    friend bool operator==(const Duration &, const Duration &) = default;
    friend auto operator<=>(const Duration &, const Duration &) = default;

    // From seconds: NaN gives zero, values beyond the 128-bit range saturate.
    static Duration fromSeconds(double seconds);
    static Duration fromMilliseconds(std::int64_t milliseconds)
    {
        return Duration{static_cast<__int128>(milliseconds) * 1'000'000'000'000'000};
    }
    static Duration fromParts(std::int64_t high, std::uint64_t low);

    // The length in seconds (nearest double).
    double seconds() const;
    // Whole seconds, truncated toward zero, saturated to the 64-bit range.
    std::int64_t wholeSeconds() const;

    std::int64_t high() const { return static_cast<std::int64_t>(attoseconds >> 64); }
    std::uint64_t low() const { return static_cast<std::uint64_t>(attoseconds); }

    JsonValue toJson() const;
    void writeJson(std::string &out) const;   // the same text, appended
    static Duration fromJson(const JsonNode &node);   // exactly two integers
};

std::size_t qHash(Duration duration, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Duration> {
    std::size_t operator()(sw::Duration d) const noexcept { return sw::qHash(d, 0); }
};
