// The shelf page's figures, taken in from its own program (shelfpage-benchmarks,
// ShelfPageBenchmark.cpp), each beside its limit: an arrow key at 100,000 saves moves the
// selection and repaints in under 8 ms; Select All of 100,000 saves in under 50 ms.

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
        {QStringLiteral("shelfpage_arrow_100k"), 8},
        {QStringLiteral("shelfpage_select_all_100k"), 50},
    };
    return table;
}

void runShelfPageSuite(Report &report)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(STASHWELL_SHELFPAGE_BENCHMARKS), {});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "shelfpage-benchmarks failed\n");
        report.target(QStringLiteral("shelfpage_arrow_100k"), -1, QStringLiteral("ms"), false);
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
        report.add(name + QStringLiteral("_limit"), *limit, unit);
    }
}

const Registration registration(70, "shelfpage", &runShelfPageSuite);

}  // namespace

}  // namespace sw::bench
