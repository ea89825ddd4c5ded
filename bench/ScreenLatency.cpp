#include "ScreenLatency.h"

#include <algorithm>

namespace sw::bench::screen {

bool differs(std::span<const std::uint32_t> before, std::span<const std::uint32_t> now, int stride, const QRect &area,
             const std::vector<QRect> &excluded)
{
    if (area.isEmpty() || stride < area.width())
        return false;
    const std::size_t needed = std::size_t(stride) * std::size_t(area.height() - 1) + std::size_t(area.width());
    if (before.size() < needed || now.size() < needed)
        return false;
    // The excluded parts in the area's own coordinates.
    std::vector<QRect> holes;
    for (const QRect &hole : excluded)
        if (const QRect inside = hole.intersected(area).translated(-area.topLeft()); !inside.isEmpty())
            holes.push_back(inside);
    constexpr std::uint32_t kColour = 0x00ffffffu;
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t *a = before.data() + std::size_t(y) * std::size_t(stride);
        const std::uint32_t *b = now.data() + std::size_t(y) * std::size_t(stride);
        // Most rows hold no hole: one pass over the whole row.
        bool holed = false;
        for (const QRect &hole : holes)
            holed = holed || (y >= hole.top() && y <= hole.bottom());
        for (int x = 0; x < area.width(); ++x) {
            if (((a[x] ^ b[x]) & kColour) == 0)
                continue;
            if (!holed)
                return true;
            const bool hidden = std::any_of(holes.begin(), holes.end(), [&](const QRect &hole) { return hole.contains(x, y); });
            if (!hidden)
                return true;
        }
    }
    return false;
}

Figures figuresOf(std::vector<double> times)
{
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return Figures{median, times.back(), int(n)};
}

Comparison compare(const Figures &onScreen, const Figures &reference, double medianFactor, double slowestFactor)
{
    Comparison out;
    if (onScreen.count == 0 || reference.count == 0 || !(reference.median > 0) || !(reference.slowest > 0))
        return out;
    out.medianRatio = onScreen.median / reference.median;
    out.slowestRatio = onScreen.slowest / reference.slowest;
    out.medianHolds = out.medianRatio <= medianFactor;
    out.slowestHolds = out.slowestRatio < slowestFactor;
    return out;
}

}  // namespace sw::bench::screen
