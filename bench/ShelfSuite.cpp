// The painted shelf's figures, taken in from its own program (shelf-benchmarks,
// ShelfSurfaceBenchmark.cpp), each beside its limit:
//   scrolling 100,000 saves by one viewport, grid and list: median frame under 8 ms, 95th
//   percentile under 16 ms; the grid's columns from 4 to 3 laid out again in under 16 ms; one
//   save's change compared in under 1 ms and repainting no more than its own cell. The resident
//   memory of the surface's state is reported. With the frost in both scroll edges the median
//   frame stays under 10 ms and within 1.5 times the same frames without it.

#include "Bench.h"

#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <cstdio>

namespace sw::bench {

namespace {

struct Limit {
    double below;
    const char *unit;
};

const QHash<QString, Limit> &limits()
{
    static const QHash<QString, Limit> table{
        {QStringLiteral("shelf_grid_scroll_frame_100k"), {8, "ms"}},
        {QStringLiteral("shelf_grid_scroll_frame_p95_100k"), {16, "ms"}},
        {QStringLiteral("shelf_list_scroll_frame_100k"), {8, "ms"}},
        {QStringLiteral("shelf_list_scroll_frame_p95_100k"), {16, "ms"}},
        {QStringLiteral("shelf_relayout_columns_100k"), {16, "ms"}},
        {QStringLiteral("shelf_grid_scroll_frame_frost_100k"), {10, "ms"}},
        {QStringLiteral("shelf_frost_frame_ratio_100k"), {1.5, "x"}},
        {QStringLiteral("shelf_item_change_100k"), {1, "ms"}},
        // The repainted area, in item cells: one cell and its lifted card's extra line.
        {QStringLiteral("shelf_item_change_repaint_100k"), {1.05, "cells"}},
    };
    return table;
}

void runShelfSuite(Report &report)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(STASHWELL_SHELF_BENCHMARKS), {});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "shelf-benchmarks failed\n");
        report.target(QStringLiteral("shelf_grid_scroll_frame_100k"), -1, QStringLiteral("ms"), false);
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
        report.target(name, value, unit, value >= 0 && value < limit->below);
        report.add(name + QStringLiteral("_limit"), limit->below, QString::fromLatin1(limit->unit));
    }
}

const Registration registration(60, "shelf", &runShelfSuite);

}  // namespace

}  // namespace sw::bench
