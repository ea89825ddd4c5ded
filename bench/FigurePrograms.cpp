#include "Bench.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <cstdio>

namespace sw::bench {

void takeInFigures(Report &report, const QString &program, const QHash<QString, Limit> &limits,
                   const QString &mainFigure, const QStringList &arguments, const QHash<QString, QString> &added)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto variable = added.cbegin(); variable != added.cend(); ++variable)
        environment.insert(variable.key(), variable.value());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(QFileInfo(program).fileName()));
        const auto limit = limits.constFind(mainFigure);
        report.target(mainFigure, -1, limit == limits.cend() ? QStringLiteral("ms") : limit->unit, false);
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
        const auto limit = limits.constFind(name);
        if (limit == limits.cend()) {
            report.add(name, value, unit);
            continue;
        }
        report.target(name, value, unit, value >= 0 && value < limit->below);
        report.add(name + QStringLiteral("_limit"), limit->below, limit->unit);
    }
}

}  // namespace sw::bench
