#pragma once

// What the benchmark programs share: the figure lines that run-benchmarks reads ("name value
// unit", flushed at once, so that a crash keeps what was measured), the percentiles of their
// times, and the process's resident memory.

#include <QByteArray>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
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

// The middle value; -1 when there are none, which no target accepts.
inline double median(const std::vector<double> &values) { return values.empty() ? -1 : percentile(values, 0.5); }
inline double maximum(const std::vector<double> &values)
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

// "<stem>_<size>", the median of the times, and "<stem>_max_<size>", the slowest.
inline void printMedianAndMax(const char *stem, const char *size, const std::vector<double> &values, const char *unit)
{
    print((std::string(stem) + '_' + size).c_str(), median(values), unit);
    print((std::string(stem) + "_max_" + size).c_str(), maximum(values), unit);
}

// Resident memory of this process, in bytes; -1 when it cannot be read.
inline std::int64_t residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().simplified().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * 4096 : -1;
}

}  // namespace sw::bench::figures
