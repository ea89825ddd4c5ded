// A seeded random walk of user actions over the library window of the real program (WalkWorld.h),
// checking after every step what must always hold. Each walk runs in a child process of this
// program, so that a crash or a sanitizer's report is a failure like any other: the child logs
// each step before it takes it, and stops at the first step after which something does not hold.
// A failure prints its seed and the steps, then shrinks them (dropping steps while the same fault
// stays) to a short list printed as a row for regressions().
//
//   STASHWELL_WALK_SEEDS="1 2 3"   the seeds walk() takes (default: its four rows)
//   STASHWELL_WALK_STEPS=100000    the steps of each (default 2000)
//   STASHWELL_WALK_SHRINK=300      seconds a failure may spend shrinking (default 120)

#include "WalkSteps.h"
#include "WalkWorld.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <execinfo.h>
#include <unistd.h>

using namespace sw::walk;

namespace {

// Addresses and files the walk opens go nowhere: no browser or file manager is started.
class Opened : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl &) { ++count; }

public:
    int count = 0;
};

struct Outcome {
    bool passed = true;
    qsizetype lastStep = -1;   // the step the child was taking or had taken last
    QString kind;              // "crash", or the tag of the first fault
    QString message;
};

// The frames of this program in a crashed child's stack, as functions and lines (addr2line).
QString symbolised(const QString &stack)
{
    static const QRegularExpression frame(QStringLiteral(R"(\(\+(0x[0-9a-f]+)\))"));
    const QString program = QCoreApplication::applicationFilePath();
    QStringList out;
    for (const QString &line : stack.split(u'\n')) {
        const QRegularExpressionMatch m = frame.match(line);
        if (!line.startsWith(program) || !m.hasMatch()) {
            out.append(line);
            continue;
        }
        QProcess addr2line;
        addr2line.start(QStringLiteral("addr2line"), {QStringLiteral("-f"), QStringLiteral("-C"), QStringLiteral("-e"),
                                                      program, m.captured(1)});
        if (!addr2line.waitForFinished(10000) || addr2line.exitCode() != 0) {
            out.append(line);
            continue;
        }
        out.append(QStringLiteral("    ") + QString::fromUtf8(addr2line.readAllStandardOutput()).simplified());
    }
    return out.join(u'\n');
}

// Runs the steps in a child process of this program.
Outcome runInChild(const Steps &steps, int timeoutMs)
{
    QTemporaryDir dir;
    const QString stepsPath = dir.filePath(QStringLiteral("steps.txt"));
    const QString logPath = dir.filePath(QStringLiteral("log.txt"));
    QFile stepsFile(stepsPath);
    if (!stepsFile.open(QIODevice::WriteOnly) || stepsFile.write(format(steps).toUtf8()) < 0)
        qFatal("cannot write the steps for the child");
    stepsFile.close();

    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--walk-steps"), stepsPath, QStringLiteral("--walk-log"), logPath});
    Outcome out;
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished();
        out.kind = QStringLiteral("hang");
    }
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    QFile log(logPath);
    if (log.open(QIODevice::ReadOnly))
        for (const QByteArray &line : log.readAll().split('\n'))
            if (!line.isEmpty())
                out.lastStep = line.toLongLong();
    if (out.kind.isEmpty() && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0)
        return out;
    out.passed = false;
    const qsizetype fault = errors.indexOf(QLatin1String("WALK-FAULT "));
    if (out.kind.isEmpty() && fault >= 0 && child.exitCode() == 1) {
        // The faults and the step after which they were found.
        out.message = errors.mid(fault + 11).section(QLatin1String("\nafter "), 0, 0).trimmed();
        out.kind = out.message.section(u':', 0, 0);
    } else {
        if (out.kind.isEmpty())
            out.kind = QStringLiteral("crash");
        // What the child said last: its stack, a sanitizer's report or the fatal message.
        const qsizetype stack = errors.indexOf(QLatin1String("WALK-CRASH"));
        out.message = QStringLiteral("%1 (exit %2): %3")
                          .arg(out.kind)
                          .arg(child.exitCode())
                          .arg(stack >= 0 ? symbolised(errors.mid(stack, 3000)) : errors.right(4000));
    }
    return out;
}

// Generous: a loaded machine stretches the walk's waits for downloads and refreshes many times.
int timeoutFor(qsizetype steps) { return int(std::min<qint64>(120000 + steps * 400, 86400000)); }

// Runs the steps; on a failure prints them, shrinks them and prints the short list; returns the
// failure's message (empty when the walk held).
QString walkAndShrink(const Steps &steps, const QString &name)
{
    QElapsedTimer clock;
    clock.start();
    const Outcome first = runInChild(steps, timeoutFor(steps.size()));
    if (first.passed) {
        qInfo("%s: %lld steps held in %.1f s", qPrintable(name), qlonglong(steps.size()), clock.elapsed() / 1000.0);
        return {};
    }
    const Steps taken = steps.first(std::min(steps.size(), first.lastStep + 1));
    qInfo("%s: failed at step %lld of %lld (%s)\n%s\nthe steps taken: %s", qPrintable(name), qlonglong(first.lastStep),
          qlonglong(steps.size()), qPrintable(first.kind), qPrintable(first.message), qPrintable(format(taken)));

    const int shrinkSeconds = qEnvironmentVariableIsSet("STASHWELL_WALK_SHRINK")
        ? qEnvironmentVariableIntValue("STASHWELL_WALK_SHRINK")
        : 120;
    QElapsedTimer shrinking;
    shrinking.start();
    int runs = 0;
    const Steps shortest = shrink(
        taken,
        [&](const Steps &candidate) {
            if (shrinking.elapsed() > shrinkSeconds * 1000)
                return false;
            ++runs;
            const Outcome o = runInChild(candidate, timeoutFor(candidate.size()));
            return !o.passed && o.kind == first.kind;
        },
        400);
    const Outcome last = runInChild(shortest, timeoutFor(shortest.size()));
    qInfo("%s: shrunk to %lld steps in %d runs:\n        QTest::newRow(\"%s\") << QStringLiteral(\"%s\");\n%s",
          qPrintable(name), qlonglong(shortest.size()), runs, qPrintable(first.kind), qPrintable(format(shortest)),
          qPrintable(last.message));
    return QStringLiteral("%1 failed at step %2: %3").arg(name).arg(first.lastStep).arg(first.message.left(2000));
}

// A crash in the child prints where it happened (a sanitizer's build prints its own report).
void printStackAndDie(int signal)
{
    void *frames[64];
    const int count = backtrace(frames, 64);
    const char header[] = "WALK-CRASH: the child's stack\n";
    (void)!write(STDERR_FILENO, header, sizeof header - 1);
    backtrace_symbols_fd(frames, count, STDERR_FILENO);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The offscreen platform's word on every resize of a window says nothing about the walk.
void quieter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    if (type == QtFatalMsg)
        std::abort();
}

// The child: the steps of the file, each logged before it is taken, the checks after each.
int runChild(const QString &stepsPath, const QString &logPath, int argc, char **argv)
{
    // No session bus: nothing reaches the desktop's file manager.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    qInstallMessageHandler(quieter);
#ifndef __SANITIZE_ADDRESS__
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(signal, printStackAndDie);
#endif
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    Opened opened;
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &opened, "open");

    QFile stepsFile(stepsPath);
    if (!stepsFile.open(QIODevice::ReadOnly))
        qFatal("the walk has no steps file");
    const std::optional<Steps> steps = parse(QString::fromUtf8(stepsFile.readAll()));
    if (!steps)
        qFatal("the steps file does not read as steps");
    std::FILE *log = std::fopen(logPath.toLocal8Bit().constData(), "w");
    if (!log)
        qFatal("the walk cannot log");

    World world;
    const bool trace = qEnvironmentVariableIsSet("STASHWELL_WALK_TRACE");
    if (const QString fault = world.check(); !fault.isEmpty()) {
        std::fprintf(stderr, "WALK-FAULT %s\nbefore any step\n", qPrintable(fault));
        std::_Exit(1);
    }
    for (qsizetype i = 0; i < steps->size(); ++i) {
        std::fprintf(log, "%lld\n", qlonglong(i));
        std::fflush(log);
        const Step &step = steps->at(i);
        QElapsedTimer took;
        took.start();
        world.run(step);
        if (trace)
            std::fprintf(stderr, "step %lld: %s (%lld ms)\n", qlonglong(i), qPrintable(format({step})),
                         qlonglong(took.elapsed()));
        if (const QString fault = world.check(); !fault.isEmpty()) {
            std::fprintf(stderr, "WALK-FAULT %s\nafter step %lld: %s\n", qPrintable(fault), qlonglong(i),
                         qPrintable(format({step})));
            std::fclose(log);
            std::_Exit(1);
        }
    }
    std::fclose(log);
    for (const char *scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    return 0;
}

}  // namespace

class RandomWalkTest : public QObject {
    Q_OBJECT
private slots:
    void walk_data()
    {
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<qsizetype>("count");
        const qsizetype count = qEnvironmentVariableIsSet("STASHWELL_WALK_STEPS")
            ? qEnvironmentVariable("STASHWELL_WALK_STEPS").toLongLong()
            : 2000;
        QList<quint64> seeds{1, 2, 3, 4};
        if (qEnvironmentVariableIsSet("STASHWELL_WALK_SEEDS")) {
            seeds.clear();
            for (const QString &word : qEnvironmentVariable("STASHWELL_WALK_SEEDS").split(u' ', Qt::SkipEmptyParts))
                seeds.append(word.toULongLong());
        }
        for (quint64 seed : seeds)
            QTest::addRow("seed-%llu", static_cast<unsigned long long>(seed)) << seed << count;
    }

    void walk()
    {
        QFETCH(quint64, seed);
        QFETCH(qsizetype, count);
        const QString failure = walkAndShrink(generate(seed, count), QStringLiteral("seed %1").arg(seed));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // Sequences that once failed, shrunk from the walks that found them.
    void regressions_data()
    {
        QTest::addColumn<QString>("steps");
        // Three posts with pictures kept without their media, the trash button of the last card of
        // the recently added row, then the right arrow on the shelf: the shelf drew the card under
        // the pointer from the place its save had left, past the row's end.
        QTest::newRow("trashed last card") << QStringLiteral(
            "saveLink 1 8; saveLink 6 8; saveLink 11 8; cardTrash 1 0; key 1 0");
        // A save trashed from the inspector, selected in the trash, the trash emptied: the page
        // went on selecting the save that was gone.
        QTest::newRow("emptied trash") << QStringLiteral(
            "saveLink 1 8; inspector 7 0; filter 3 1; click 0 0; emptyTrash 0 1");
        // Ctrl-clicks on two saves, then a search that hides them: the bulk panel kept listing them.
        QTest::newRow("bulk-items") << QStringLiteral(
            "saveLink 64397 38050; saveLink 26810 30698; click 25264 39180; search 59221 22870; click 10872 25840; "
            "search 64460 39818");
    }

    void regressions()
    {
        QFETCH(QString, steps);
        const std::optional<Steps> parsed = parse(steps);
        QVERIFY(parsed);
        const QString failure = walkAndShrink(*parsed, QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // The text of steps reads back as the same steps; anything else is refused.
    void stepsReadBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("reads");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("steps") << QStringLiteral("saveLink 3 1; click 7 2;wait 0 0") << true;
        QTest::newRow("unknown act") << QStringLiteral("click 1 2; fly 1 2") << false;
        QTest::newRow("a number missing") << QStringLiteral("click 1") << false;
        QTest::newRow("not a number") << QStringLiteral("click 1 x") << false;
        QTest::newRow("negative") << QStringLiteral("click -1 0") << false;
    }

    void stepsReadBack()
    {
        QFETCH(QString, text);
        QFETCH(bool, reads);
        const std::optional<Steps> steps = parse(text);
        QCOMPARE(steps.has_value(), reads);
        if (steps)
            QCOMPARE(parse(format(*steps)), steps);
    }

    // A walk is its seed's alone, and covers every act.
    void walksFollowTheirSeed()
    {
        const Steps a = generate(7, 3000);
        QCOMPARE(generate(7, 3000), a);
        QVERIFY(generate(8, 3000) != a);
        QCOMPARE(generate(7, 100), a.first(100));
        QSet<int> acts;
        for (const Step &s : a)
            acts.insert(int(s.act));
        QCOMPARE(acts.size(), qsizetype(Act::count));
    }

    // Shrinking keeps exactly the steps the failure needs, in order, whatever surrounds them.
    void shrinkingKeepsWhatTheFailureNeeds_data()
    {
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<QList<qsizetype>>("needed");
        QTest::newRow("one step at the end") << qsizetype(200) << QList<qsizetype>{199};
        QTest::newRow("one step at the start") << qsizetype(200) << QList<qsizetype>{0};
        QTest::newRow("two far apart") << qsizetype(500) << QList<qsizetype>{3, 420};
        QTest::newRow("three together") << qsizetype(64) << QList<qsizetype>{30, 31, 32};
        QTest::newRow("the whole list") << qsizetype(5) << QList<qsizetype>{0, 1, 2, 3, 4};
    }

    void shrinkingKeepsWhatTheFailureNeeds()
    {
        QFETCH(qsizetype, length);
        QFETCH(QList<qsizetype>, needed);
        Steps steps;
        for (qsizetype i = 0; i < length; ++i)
            steps.append(Step{Act::wait, std::uint32_t(i), 0});
        Steps expected;
        for (qsizetype i : needed)
            expected.append(steps.at(i));
        // Fails while the needed steps are all there, in order.
        auto fails = [&](const Steps &candidate) {
            qsizetype found = 0;
            for (const Step &s : candidate)
                if (found < expected.size() && s == expected.at(found))
                    ++found;
            return found == expected.size();
        };
        QCOMPARE(shrink(steps, fails, 10000), expected);
    }
};

int main(int argc, char **argv)
{
    for (int i = 1; i + 3 < argc; ++i)
        if (qstrcmp(argv[i], "--walk-steps") == 0 && qstrcmp(argv[i + 2], "--walk-log") == 0)
            return runChild(QString::fromLocal8Bit(argv[i + 1]), QString::fromLocal8Bit(argv[i + 3]), argc, argv);
    // A long walk, and a failure's shrinking, may take longer than QtTest's watchdog allows a
    // test function.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "86400000");
    QCoreApplication application(argc, argv);
    RandomWalkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_randomwalk.moc"
