#pragma once

// Status numbers chosen to crowd a hash table: the copy table once placed a status number by a
// fixed multiplicative hash, so a document could hold numbers that all land in a handful of
// slots. The tests and the benchmarks make such numbers to show that the table's placement no
// longer follows them.

#include <QRandomGenerator>

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace sw::fixtures {

// The first slot that the fixed hash gave a status number in a table of 2^bits slots.
inline std::size_t fixedHashSlot(std::uint64_t number, int bits)
{
    const std::uint64_t mixed = number ^ (number >> 29) ^ (number >> 47);
    return std::size_t(mixed * 0x9E3779B97F4A7C15ull >> 20) & ((std::size_t(1) << bits) - 1);
}

// `count` distinct status numbers (1 to 19 digits, no leading zero) that the fixed hash puts in
// the first `slots` slots of a table of 2^bits slots (a table of 100,000 copies has 2^18).
inline std::vector<std::uint64_t> statusesCrowdingSlots(std::size_t count, int bits, std::size_t slots,
                                                        std::uint32_t seed = 29)
{
    constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
    // The multiplier's inverse modulo 2^64, by Newton's iteration.
    std::uint64_t inverse = multiplier;
    for (int i = 0; i < 6; ++i)
        inverse *= 2 - multiplier * inverse;
    const std::uint64_t field = ((std::uint64_t(1) << bits) - 1) << 20;

    QRandomGenerator random(seed);
    std::unordered_set<std::uint64_t> seen;
    std::vector<std::uint64_t> numbers;
    numbers.reserve(count);
    while (numbers.size() < count) {
        // A product whose slot field is small, then the number that mixes to its quotient: the
        // mix (x ^ x >> 29 ^ x >> 47) is undone by applying it again until it settles.
        const std::uint64_t product = (random.generate64() & ~field) | (std::uint64_t(random.bounded(quint32(slots))) << 20);
        const std::uint64_t mixed = product * inverse;
        std::uint64_t number = mixed;
        for (int i = 0; i < 4; ++i)
            number = mixed ^ (number >> 29) ^ (number >> 47);
        if (number == 0 || number > 9999999999999999999ull || !seen.insert(number).second)
            continue;
        numbers.push_back(number);
    }
    return numbers;
}

}  // namespace sw::fixtures
