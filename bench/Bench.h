#pragma once

// The benchmark runner's small framework: suites register themselves, each reports figures as
// "name value unit" lines, and timings are the median of several runs.

#include <QElapsedTimer>
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace sw::bench {

class Report {
public:
    // One figure: printed at once and kept for the results file.
    void add(const QString &name, double value, const QString &unit);
    // A target: the figure, and whether it holds, counted for the summary.
    void target(const QString &name, double value, const QString &unit, bool holds);

    const QStringList &lines() const { return m_lines; }
    int targetsMissed() const { return m_missed; }
    int targets() const { return m_targets; }

private:
    QStringList m_lines;
    int m_targets = 0;
    int m_missed = 0;
};

using Suite = std::function<void(Report &)>;

// Registers a suite to run in `order` (lower first). Use through a static object:
//   static const bench::Registration reg(20, "core", &runCoreSuite);
struct Registration {
    Registration(int order, const char *name, Suite suite);
};

struct RegisteredSuite {
    int order;
    const char *name;
    Suite suite;
};
std::vector<RegisteredSuite> &suites();

// Work that must run in a process of its own (a memory figure, say): the runner starts itself
// again as `run-benchmarks --child <name> <arguments...>`, and the function's result is the
// child's exit code; what it prints on standard output is the parent's to read.
using ChildTask = std::function<int(const QStringList &arguments)>;
struct ChildRegistration {
    ChildRegistration(const char *name, ChildTask task);
};
// Runs the named task in a child process; gives its standard output, or none when it failed.
std::optional<QByteArray> runChild(const QString &name, const QStringList &arguments);

// A figure that must stay below `below`, given in `unit`.
struct Limit {
    double below;
    QString unit;
};
// Figures measured by a program of their own (painting needs a GUI application, which this runner
// does not make): runs `program`, offscreen unless a platform is chosen, and takes in its
// "name value unit" lines. A figure named in `limits` is a target, with "<name>_limit" beside it;
// the others are reported as they stand. When the program fails, `mainFigure` is a missed target.
// `arguments` go to the program; `environment` is added to this process's own.
void takeInFigures(Report &report, const QString &program, const QHash<QString, Limit> &limits,
                   const QString &mainFigure, const QStringList &arguments = {},
                   const QHash<QString, QString> &environment = {});

// The middle of `times` (the mean of the two middle ones for an even count).
inline double medianOf(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// The milliseconds of one call of `body`, `runs` times, after `prepare` (not timed) before each;
// the median of the runs.
template <typename Prepare, typename Body>
double medianMs(int runs, Prepare &&prepare, Body &&body)
{
    std::vector<double> times;
    times.reserve(std::size_t(runs));
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return medianOf(std::move(times));
}

template <typename Body>
double medianMs(int runs, Body &&body)
{
    return medianMs(runs, [] {}, std::forward<Body>(body));
}

// Keeps the compiler from dropping a computation whose result is not otherwise used.
template <typename T>
inline void keep(const T &value)
{
    asm volatile("" : : "r,m"(value) : "memory");
}

}  // namespace sw::bench
