#pragma once

// What the benchmark programs that measure in a process of their own share: the figure lines that
// run-benchmarks reads ("name value unit", flushed at once, so that a crash keeps what was
// measured) and the percentiles of their frame times.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace sw::bench::figures {

inline void print(const char *name, double value, const char *unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The value at `share` (0 to 1) of the sorted values, the nearest rank; 0 when there are none.
inline double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    if (values.empty())
        return 0;
    const std::size_t at = std::min(values.size() - 1, std::size_t(share * double(values.size() - 1) + 0.5));
    return values[at];
}

}  // namespace sw::bench::figures
