// run-benchmarks [results-file]: runs every registered suite, prints one "name value unit" line
// per figure and writes the same lines to the results file when one is given.

#include "Bench.h"
#include "Capture/LargePages.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <map>

namespace sw::bench {

namespace {
std::map<QString, ChildTask> &childTasks()
{
    static std::map<QString, ChildTask> tasks;
    return tasks;
}

QString formatted(double value)
{
    if (value == double(qint64(value)) && std::abs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'f', std::abs(value) >= 100 ? 1 : (std::abs(value) >= 1 ? 2 : 3));
}
}  // namespace

void Report::add(const QString &name, double value, const QString &unit)
{
    const QString line = name + u' ' + formatted(value) + u' ' + unit;
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    m_lines.append(line);
}

void Report::target(const QString &name, double value, const QString &unit, bool holds)
{
    add(name, value, unit);
    ++m_targets;
    if (!holds) {
        ++m_missed;
        std::fprintf(stderr, "target missed: %s\n", qPrintable(name));
    }
}

std::vector<RegisteredSuite> &suites()
{
    static std::vector<RegisteredSuite> all;
    return all;
}

Registration::Registration(int order, const char *name, Suite suite)
{
    suites().push_back(RegisteredSuite{order, name, std::move(suite)});
}

ChildRegistration::ChildRegistration(const char *name, ChildTask task)
{
    childTasks()[QString::fromLatin1(name)] = std::move(task);
}

std::optional<QByteArray> runChild(const QString &name, const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child"), name} + arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return std::nullopt;
    return child.readAllStandardOutput();
}

}  // namespace sw::bench

int main(int argc, char **argv)
{
    using namespace sw::bench;
    // Everything measured runs with the allocator as the program runs it, on large pages where the
    // program would start on them: the suites run here, and the programs started from here inherit it.
    sw::LargePages::startOnLargePages(argv);
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);

    if (arguments.size() >= 2 && arguments.first() == u"--child") {
        const auto task = childTasks().find(arguments.at(1));
        if (task == childTasks().end())
            return 2;
        return task->second(arguments.mid(2));
    }

    // Whatever a suite writes goes to temporary folders; settings and data never to the real home.
    QStandardPaths::setTestModeEnabled(true);

    QString only;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--only")); at >= 0 && at + 1 < arguments.size()) {
        only = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    const QString resultsPath = arguments.value(0);

    auto all = suites();
    std::stable_sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.order < b.order; });

    Report report;
    report.add(QStringLiteral("cores"), QThread::idealThreadCount(), QStringLiteral("count"));
    for (const RegisteredSuite &suite : all) {
        if (!only.isEmpty() && !QString::fromLatin1(suite.name).contains(only))
            continue;
        std::fprintf(stderr, "-- %s\n", suite.name);
        suite.suite(report);
    }
    report.add(QStringLiteral("targets_missed"), report.targetsMissed(), QStringLiteral("count"));

    if (!resultsPath.isEmpty()) {
        QSaveFile out(resultsPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
            return 1;
        const QByteArray text = report.lines().join(u'\n').toUtf8() + '\n';
        if (out.write(text) != text.size() || !out.commit())
            return 1;
    }
    return 0;
}
