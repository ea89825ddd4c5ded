#pragma once

// What the on-screen latency benchmark decides without an X server: whether a polled area of the
// screen changed (leaving out parts that change by themselves, a text caret say), and whether an
// input's figures on screen keep within the reference's of the same run (a bare window that
// repaints its whole area on the same input).

#include <QRect>

#include <cstdint>
#include <span>
#include <vector>

namespace sw::bench::screen {

// Two grabs of `area` (32-bit pixels, rows of `stride` pixels, the area's top left first): whether
// any pixel differs outside `excluded` (rectangles on screen, clipped to the area). The unused
// byte of each pixel is ignored.
bool differs(std::span<const std::uint32_t> before, std::span<const std::uint32_t> now, int stride, const QRect &area,
             const std::vector<QRect> &excluded);

struct Figures {
    double median = -1;
    double slowest = -1;
    int count = 0;
};

// The median (the mean of the middle two for an even count) and the slowest of `times`; a count
// of 0 and -1 for both when there are none.
Figures figuresOf(std::vector<double> times);

// How an input's figures on screen compare with the reference's: the ratios, and whether the median
// is within `medianFactor` times the reference's and the slowest under `slowestFactor` times its
// slowest. Figures that were not measured (no samples, or a reference of 0) never hold.
struct Comparison {
    double medianRatio = -1;
    double slowestRatio = -1;
    bool medianHolds = false;
    bool slowestHolds = false;
};
Comparison compare(const Figures &onScreen, const Figures &reference, double medianFactor = 1.25,
                   double slowestFactor = 2.0);

}  // namespace sw::bench::screen
