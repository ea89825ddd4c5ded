// The save card grid's figures. Painting needs a GUI application, which this runner does not make,
// so the grid runs in its own program (card-benchmarks, CardGridBenchmark.cpp) and its lines are
// taken in here. Target: one frame of scrolling the grid of 5,000 cards by one row paints in
// under 8 ms.

#include "Bench.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <cstdio>

namespace sw::bench {

namespace {

constexpr double kFrameTargetMs = 8;

void runCardSuite(Report &report)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(STASHWELL_CARD_BENCHMARKS), {});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "card-benchmarks failed\n");
        report.target(QStringLiteral("card_grid_scroll_frame_5k"), -1, QStringLiteral("ms"), false);
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
        if (name == u"card_grid_scroll_frame_5k")
            report.target(name, value, unit, value < kFrameTargetMs);
        else
            report.add(name, value, unit);
    }
}

const Registration registration(50, "cards", &runCardSuite);

}  // namespace

}  // namespace sw::bench
