#pragma once

// Hashes that the content of a document cannot steer. A table whose slots follow a fixed function
// of its keys can be handed keys that all fall into a few slots, and every look-up then walks
// them all; under a key drawn at random when the process starts, no document can know which keys
// meet.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sw::hash {

namespace detail {

// The four words of SipHash-c-d under the key (k0, k1): message blocks absorbed one by one, then
// finished into the hash.
template <int CompressionRounds, int FinalRounds>
struct SipState {
    std::uint64_t v0, v1, v2, v3;

    constexpr SipState(std::uint64_t k0, std::uint64_t k1) noexcept
        : v0(k0 ^ 0x736f6d6570736575ull), v1(k1 ^ 0x646f72616e646f6dull), v2(k0 ^ 0x6c7967656e657261ull),
          v3(k1 ^ 0x7465646279746573ull)
    {
    }
    static constexpr std::uint64_t rotl(std::uint64_t x, int b) noexcept { return (x << b) | (x >> (64 - b)); }
    constexpr void round() noexcept
    {
        v0 += v1; v1 = rotl(v1, 13); v1 ^= v0; v0 = rotl(v0, 32);
        v2 += v3; v3 = rotl(v3, 16); v3 ^= v2;
        v0 += v3; v3 = rotl(v3, 21); v3 ^= v0;
        v2 += v1; v1 = rotl(v1, 17); v1 ^= v2; v2 = rotl(v2, 32);
    }
    constexpr void absorb(std::uint64_t m) noexcept
    {
        v3 ^= m;
        for (int i = 0; i < CompressionRounds; ++i)
            round();
        v0 ^= m;
    }
    constexpr std::uint64_t finish() noexcept
    {
        v2 ^= 0xff;
        for (int i = 0; i < FinalRounds; ++i)
            round();
        return v0 ^ v1 ^ v2 ^ v3;
    }
};

}  // namespace detail

// SipHash-c-d of one 64-bit word (taken as its eight bytes, least significant first) under the
// 128-bit key (k0, k1).
template <int CompressionRounds, int FinalRounds>
constexpr std::uint64_t sip(std::uint64_t word, std::uint64_t k0, std::uint64_t k1) noexcept
{
    detail::SipState<CompressionRounds, FinalRounds> state(k0, k1);
    state.absorb(word);
    state.absorb(std::uint64_t(8) << 56);   // the last block: the message's length, 8, in its top byte
    return state.finish();
}

// SipHash-c-d of a byte string under the key (k0, k1), as its reference defines it: eight bytes a
// block, least significant first, and the last block holding the rest with the length's low
// byte on top.
template <int CompressionRounds, int FinalRounds>
constexpr std::uint64_t sip(std::string_view bytes, std::uint64_t k0, std::uint64_t k1) noexcept
{
    detail::SipState<CompressionRounds, FinalRounds> state(k0, k1);
    const std::size_t n = bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= n; at += 8) {
        std::uint64_t m = 0;
        for (int b = 0; b < 8; ++b)
            m |= std::uint64_t(static_cast<unsigned char>(bytes[at + std::size_t(b)])) << (8 * b);
        state.absorb(m);
    }
    std::uint64_t last = std::uint64_t(n & 0xff) << 56;
    for (std::size_t b = 0; at + b < n; ++b)
        last |= std::uint64_t(static_cast<unsigned char>(bytes[at + b])) << (8 * b);
    state.absorb(last);
    return state.finish();
}

// SipHash-1-3 of the word under this process's key, drawn from the system's random source on
// first use.
std::uint64_t keyed(std::uint64_t word) noexcept;
// The same of a byte string. The string pool hashes every name and address of a document with
// it: as sure as the word's hash against a document that would crowd its texts together, and
// several times faster than qHashBits on texts read from a large document.
std::uint64_t keyed(std::string_view bytes) noexcept;

// A seed for the hashing of texts (qHash) that is this process's own as well.
std::size_t textSeed() noexcept;

}  // namespace sw::hash
