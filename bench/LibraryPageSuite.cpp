// The library page's figures, taken in from its own program (library-page-benchmarks,
// LibraryPageBenchmark.cpp), each beside its limit: at 100,000 saves a filter change, a search
// keystroke and a selection change each end their refresh (the page, every column and one paint
// of the window) in under 16 ms. The shelf projection of the same run is reported beside them.

#include "Bench.h"

#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <cstdio>

namespace sw::bench {

namespace {

const QHash<QString, double> &limits()
{
    static const QHash<QString, double> table{
        {QStringLiteral("library_filter_change_100k"), 16},
        {QStringLiteral("library_search_keystroke_100k"), 16},
        {QStringLiteral("library_selection_change_100k"), 16},
    };
    return table;
}

void runLibraryPageSuite(Report &report)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(STASHWELL_LIBRARY_PAGE_BENCHMARKS), {});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "library-page-benchmarks failed\n");
        report.target(QStringLiteral("library_filter_change_100k"), -1, QStringLiteral("ms"), false);
        return;
    }
    static const QRegularExpression line(QStringLiteral("^(\\S+) (\\S+) (\\S+)$"));
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &text : lines) {
        const QRegularExpressionMatch match = line.match(text.trimmed());
        if (!match.hasMatch())
            continue;
        const QString name = match.captured(1);
        const double value = match.captured(2).toDouble();
        const QString unit = match.captured(3);
        const auto limit = limits().constFind(name);
        if (limit == limits().cend()) {
            report.add(name, value, unit);
            continue;
        }
        report.target(name, value, unit, value >= 0 && value < *limit);
        report.add(name + QStringLiteral("_limit"), *limit, QStringLiteral("ms"));
    }
}

const Registration registration(70, "library page", &runLibraryPageSuite);

}  // namespace

}  // namespace sw::bench
