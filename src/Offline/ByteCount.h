#pragma once

// Byte counts are signed 64-bit. Sizes come from the network and from the archive, where a
// corrupt value can be anything, so sums and differences stop at the limits instead of wrapping.

#include <cstdint>
#include <limits>

namespace sw::bytes {

inline constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
inline constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

constexpr std::int64_t add(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? kMax : kMin;
    return r;
}

constexpr std::int64_t subtract(std::int64_t a, std::int64_t b) noexcept
{
    std::int64_t r = 0;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? kMax : kMin;
    return r;
}

// An exact wide sum brought back into range.
constexpr std::int64_t clamp(__int128 wide) noexcept
{
    if (wide > kMax)
        return kMax;
    if (wide < kMin)
        return kMin;
    return static_cast<std::int64_t>(wide);
}

}  // namespace sw::bytes
