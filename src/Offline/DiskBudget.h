#pragma once


#include <QHashFunctions>

#include <cstddef>
#include <cstdint>

namespace sw {

// The number of bytes that downloaded media may take on this computer.
struct DiskBudget {
    std::int64_t limit = 0;

    // True when `needs` fits beside the bytes already `used` (equality fits). The sum is taken
    // exactly, so corrupt sizes near the 64-bit limits never wrap or saturate into "fits".
    bool admits(std::int64_t needs, std::int64_t used) const { return admitsExactly(needs, used); }
    bool admitsExactly(__int128 needs, __int128 used) const { return __int128(limit) >= needs + used; }

    friend bool operator==(const DiskBudget &, const DiskBudget &) = default;
};

inline std::size_t qHash(const DiskBudget &budget, std::size_t seed = 0) noexcept { return ::qHash(budget.limit, seed); }

}  // namespace sw
