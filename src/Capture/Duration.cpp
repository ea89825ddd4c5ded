#include "Capture/Duration.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace sw {

namespace {
constexpr __int128 kMax = static_cast<__int128>((static_cast<unsigned __int128>(1) << 127) - 1);
constexpr __int128 kMin = -kMax - 1;
}  // namespace

Duration Duration::fromSeconds(double seconds)
{
    if (std::isnan(seconds))
        return Duration{};
    // 2^127 attoseconds is about 1.7014e20 seconds; saturate a little early so no product overflows.
    constexpr double kLimit = 1.7e20;
    if (seconds >= kLimit)
        return Duration{kMax};
    if (seconds <= -kLimit)
        return Duration{kMin};
    const double whole = std::trunc(seconds);
    const double fraction = seconds - whole;   // exact for doubles
    __int128 atto = static_cast<__int128>(whole) * kAttosecondsPerSecond;
    atto += static_cast<__int128>(std::llround(fraction * 1e18));
    return Duration{atto};
}

Duration Duration::fromParts(std::int64_t high, std::uint64_t low)
{
    const unsigned __int128 bits = (static_cast<unsigned __int128>(static_cast<std::uint64_t>(high)) << 64) | low;
    return Duration{static_cast<__int128>(bits)};
}

double Duration::seconds() const
{
    const __int128 whole = attoseconds / kAttosecondsPerSecond;
    const __int128 rest = attoseconds % kAttosecondsPerSecond;
    return static_cast<double>(whole) + static_cast<double>(rest) / 1e18;
}

std::int64_t Duration::wholeSeconds() const
{
    const __int128 whole = attoseconds / kAttosecondsPerSecond;   // truncates toward zero
    if (whole > std::numeric_limits<std::int64_t>::max())
        return std::numeric_limits<std::int64_t>::max();
    if (whole < std::numeric_limits<std::int64_t>::min())
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(whole);
}

JsonValue Duration::toJson() const
{
    JsonValue v = JsonValue::array();
    v.push(high());
    v.push(low());
    return v;
}

void Duration::writeJson(std::string &out) const
{
    // Each half fits in 20 digits and a sign.
    char digits[24];
    out.push_back('[');
    out.append(digits, std::to_chars(digits, digits + sizeof digits, high()).ptr);
    out.push_back(',');
    out.append(digits, std::to_chars(digits, digits + sizeof digits, low()).ptr);
    out.push_back(']');
}

Duration Duration::fromJson(const JsonNode &node)
{
    if (node.elementCount() != 2)
        throw JsonError("Expected an array of two integers for a duration.");
    std::optional<JsonNode> parts[2];
    std::size_t n = 0;
    node.forEachElement([&](const JsonNode &part) { parts[n++].emplace(part); });
    return fromParts(parts[0]->int64(), parts[1]->uint64());
}

std::size_t qHash(Duration duration, std::size_t seed) noexcept
{
    seed = ::qHash(duration.high(), seed);
    return ::qHash(duration.low(), seed);
}

}  // namespace sw
