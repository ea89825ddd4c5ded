// realx-benchmarks: what the user sees on a real X server. The real program (the stashwell binary)
// runs under a window manager on the display it is given, on a generated library in a home of its
// own; input goes through XTest as a user's would, and the screen is polled (MIT-SHM grabs) until
// the pixels of what the input changes are different: that time, from the input sent to the
// pixels on screen, is the figure. Beside each, in the same run and in turns with it, the same input
// to a reference: a bare Qt window of the same size that repaints its whole area on every key,
// wheel step and click (this program again, with --reference). And beside both, the same input to
// the same window offscreen, in a process of its own (this program with --offscreen), timed until
// the widget that shows its result has painted.
//
// Inputs, each at least 20 times (40 at the size and library the targets are set for): a wheel
// step on the shelf, a filter change (a click on a row of the sidebar), a search keystroke, a
// selection click on a card, an arrow key, the inspector opened (a click on a card) and closed
// (Escape), the grid/list switch, the Save Link sheet opened (Ctrl+L; Escape closes it unmeasured). An input whose result shows nothing new on screen (a
// keystroke that leaves the same saves, say) is left out and counted. The sheet is taken once more
// beside the reference opening a bare dialog window of its size (Ctrl+D), which no repaint of a
// window already on screen stands for: save_link_sheet_beside_dialog, which holds the sheet's
// targets (RealxSuite.cpp).
//
// Figures, per window size and library ("1600x1000_100k"):
//   realx_<input>_<size>_<library>             median on screen, ms; _max_ the slowest
//   realx_reference_<input>_<size>_<library>   the reference's, on the same input
//   realx_<input>_over_reference_<...>         the median over the reference's median, x
//   realx_<input>_max_over_reference_<...>     the slowest over the reference's slowest, x
//   realx_offscreen_<input>_<...>              the same input offscreen: median, ms; _max_
//   realx_<input>_count_<...>                  the inputs measured on screen
//
// Run by run-benchmarks (the realx suite) through scripts/with-xvfb on a screen wide enough for both
// windows side by side. By hand: scripts/with-xvfb build/bench/realx-benchmarks [--quick].

#include "BenchHome.h"
#include "ScreenLatency.h"

#include "Capture/LargePages.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/App/LiveInputs.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include "XScreen.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <sys/resource.h>

using namespace sw;
namespace screen = sw::bench::screen;
using sw::bench::screen::XScreen;

namespace {

constexpr int kSamples = 20;
// On screen, at the size and library the targets are set for: one input's figures swing by a
// third from one run to the next at 20 (the reference's own median too), which made each target
// a coin toss whichever side of its limit the program stood.
constexpr int kTargetSamples = 40;
constexpr int kTimeoutMs = 1500;     // an input that shows nothing within this shows nothing
constexpr int kStartMs = 180000;     // the real program's start over 100,000 saves on a busy machine

void line(const QString &name, double value, const char *unit)
{
    std::printf("%s %.3f %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

std::optional<QByteArray> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput().trimmed();
}

// The shown top-level window of `pid` titled exactly `title`.
QString windowOf(qint64 pid, const QString &title)
{
    const auto found = run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                                       QString::number(pid), QStringLiteral("--name"), u'^' + title + u'$'});
    return found ? QString::fromLatin1(found->split('\n').constFirst()) : QString();
}

bool place(const QString &window, QPoint at, QSize size)
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("windowsize"), QStringLiteral("--sync"), window,
                                           QString::number(size.width()), QString::number(size.height())})
        && run(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), QStringLiteral("--sync"), window, QString::number(at.x()),
                                           QString::number(at.y())})
        && run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

QRect rectOf(const QJsonObject &object)
{
    return QRect(object.value(QStringLiteral("x")).toInt(), object.value(QStringLiteral("y")).toInt(),
                 object.value(QStringLiteral("width")).toInt(), object.value(QStringLiteral("height")).toInt());
}
QPoint pointOf(const QJsonObject &object)
{
    return QPoint(object.value(QStringLiteral("x")).toInt(), object.value(QStringLiteral("y")).toInt());
}

// ---- the reference ------------------------------------------------------------------------------

// A bare dialog window of the Save Link sheet's size, made ahead and shown window-modal as the
// program shows its sheet: what a new window mapped through the window manager costs on this X
// server, which a repaint of a window already there never meets. It closes itself once it has
// shown, so that the driver has nothing to send it.
class ReferenceDialog : public QDialog {
public:
    explicit ReferenceDialog(QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Realx reference dialog"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowModality(Qt::WindowModal);
        // The sheet's height in English at this machine's fonts; its width is fixed.
        setFixedSize(int(SaveLinkSheet::sheetWidth), 355);
    }
    void makeAhead() { create(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(250, 246, 238));
        painter.drawText(24, 40, QStringLiteral("A dialog painted whole"));
        if (!m_closing) {
            m_closing = true;
            QTimer::singleShot(kShownMs, this, &QDialog::reject);
        }
    }

private:
    static constexpr int kShownMs = 100;
    bool m_closing = false;
};

// A bare window that repaints its whole area on every input: the floor of input-to-pixels on this
// X server at this size. Ctrl+D opens a ReferenceDialog instead.
class Reference : public QWidget {
public:
    Reference()
    {
        setWindowTitle(QStringLiteral("Realx reference"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        // Made ahead as the program makes its sheet: a while after the start, and after each close.
        QTimer::singleShot(app::SaveLinkPresenter::firstSpareDelayMs, this, &Reference::makeSpare);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromHsv((m_frame * 47) % 360, 90, 235));
        for (int y = 0; y < height(); y += 22)
            painter.drawText(8 + (m_frame % 5) * 4, y + 16, QStringLiteral("Line %1 of frame %2, the whole window painted again").arg(y).arg(m_frame));
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Control:
        case Qt::Key_Shift:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
            // A modifier alone is not an input: the key it comes with is. Else Ctrl+D would show
            // a repaint before its dialog.
            return;
        case Qt::Key_D:
            if (event->modifiers() == Qt::ControlModifier) {
                openDialog();
                return;
            }
            break;
        default:
            break;
        }
        next();
    }
    void wheelEvent(QWheelEvent *) override { next(); }
    void mousePressEvent(QMouseEvent *) override { next(); }
    void moveEvent(QMoveEvent *) override { tell(); }
    void resizeEvent(QResizeEvent *) override { tell(); }

private:
    void next()
    {
        ++m_frame;
        update();
    }
    void makeSpare()
    {
        if (m_spare || m_shown)
            return;
        m_spare = new ReferenceDialog(this);
        m_spare->makeAhead();
    }
    void openDialog()
    {
        if (m_shown)
            return;
        ReferenceDialog *dialog = m_spare ? m_spare.data() : new ReferenceDialog(this);
        m_spare = nullptr;
        m_shown = dialog;
        connect(dialog, &QDialog::finished, this, [this, dialog] {
            dialog->deleteLater();
            m_shown = nullptr;
            QTimer::singleShot(app::SaveLinkPresenter::spareDelayMs, this, &Reference::makeSpare);
        });
        dialog->open();
    }
    // Where its inside lies on screen, for the driver.
    void tell()
    {
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        std::printf("area %d %d %d %d\n", origin.x(), origin.y(), width(), height());
        std::fflush(stdout);
    }
    int m_frame = 0;
    QPointer<ReferenceDialog> m_spare;
    QPointer<ReferenceDialog> m_shown;
};

int reference(QSize size)
{
    Reference window;
    window.resize(size);
    window.show();
    return QApplication::exec();
}

// ---- on screen ------------------------------------------------------------------------------------

// One input kind: what it sends to the program and to the reference, and what part of the
// program's window shows its result.
struct Samples {
    std::vector<double> program;
    std::vector<double> reference;
};

class OnScreen {
public:
    static constexpr int kTurn = 5;

    OnScreen(XScreen &x, QString statePath, QProcess &referenceProcess, QString programWindow, QString referenceWindow)
        : m_x(x), m_statePath(std::move(statePath)), m_referenceProcess(referenceProcess),
          m_programWindow(std::move(programWindow)), m_referenceWindow(std::move(referenceWindow))
    {
    }

    // The program's state as it stands: the hook writes it when the file is taken away, and does
    // nothing in between (so nothing of it lands in a timed input).
    QJsonObject state() const
    {
        QFile::remove(m_statePath);
        waitFor([&] { return QFileInfo::exists(m_statePath); }, 5000);
        QFile file(m_statePath);
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }
    QRect area(const char *name) const { return rectOf(state().value(QStringLiteral("areas")).toObject().value(QLatin1String(name)).toObject()); }
    QPoint point(const char *name) const { return pointOf(state().value(QStringLiteral("points")).toObject().value(QLatin1String(name)).toObject()); }
    QList<QPoint> cells() const
    {
        QList<QPoint> out;
        const QRect shelf = area("shelf").adjusted(0, 80, 0, -40);   // clear of the bar and the soft edges
        for (const QJsonValue cell : state().value(QStringLiteral("cells")).toArray())
            if (const QPoint at = pointOf(cell.toObject()); shelf.contains(at))
                out.append(at);
        return out;
    }

    QRect referenceArea()
    {
        // No event loop runs here: the reference's lines are read as they come.
        while (m_referenceProcess.waitForReadyRead(200))
            m_referenceOutput += m_referenceProcess.readAllStandardOutput();
        m_referenceOutput += m_referenceProcess.readAllStandardOutput();
        const QList<QByteArray> lines = m_referenceOutput.trimmed().split('\n');
        const QList<QByteArray> last = lines.constLast().split(' ');
        return last.size() == 5 ? QRect(last[1].toInt(), last[2].toInt(), last[3].toInt(), last[4].toInt()) : QRect();
    }

    bool activate(const QString &window) { return run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}).has_value(); }

    // Runs `count` inputs of the program (`program`, whose result shows in what `where` gives at
    // the time) and as many of the reference's (`toReference`, at the point of its area it gives),
    // in turns of kTurn each: this machine's pace drifts over seconds, and both should meet the
    // same drift. The milliseconds of those that showed something.
    Samples measure(int count, const std::function<QRect()> &where, const std::function<std::vector<QRect>()> &excluded,
                    const std::function<void(int)> &program, const std::function<void(QRect, int)> &toReference,
                    const std::function<void(int)> &between = {}, const std::function<void()> &betweenReference = {})
    {
        Samples samples;
        int sent = 0;
        int referenced = 0;
        // Read once: the reference's output is waited on until it falls quiet, and its window
        // does not move between turns.
        QRect referenceArea;
        while (sent < count || referenced < count) {
            for (int turn = 0; turn < kTurn && sent < count; ++turn, ++sent) {
                if (between)
                    between(sent);
                const int i = sent;
                if (const auto ms = m_x.latency(where(), excluded(), [&] { program(i); }))
                    samples.program.push_back(*ms);
            }
            // The program gets back its window's focus and the pointer where its inputs left it.
            const QPoint pointer = m_x.pointer();
            activate(m_referenceWindow);
            if (referenceArea.isNull())
                referenceArea = this->referenceArea();
            m_x.moveTo(referenceArea.center());
            for (int turn = 0; turn < kTurn && referenced < count; ++turn, ++referenced) {
                if (betweenReference)
                    betweenReference();
                const int i = referenced;
                if (const auto ms = m_x.latency(referenceArea, {}, [&] { toReference(referenceArea, i); }))
                    samples.reference.push_back(*ms);
            }
            activate(m_programWindow);
            m_x.moveTo(pointer);
        }
        return samples;
    }

private:
    XScreen &m_x;
    QString m_statePath;
    QProcess &m_referenceProcess;
    QByteArray m_referenceOutput;
    QString m_programWindow;
    QString m_referenceWindow;
};

QProcessEnvironment programEnvironment(const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString runtime = QDir(home).filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QDir(home).filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(home).filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), QDir(home).filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("STASHWELL_TEST_HOOKS"), QStringLiteral("1"));
    environment.insert(QStringLiteral("STASHWELL_TEST_STATE"), QDir(home).filePath(QStringLiteral("state.json")));
    environment.insert(QStringLiteral("STASHWELL_TEST_STATE_SAVES"), QStringLiteral("0"));
    return environment;
}

using Results = std::map<QString, Samples>;

// Whether the input `name` is measured: REALX_ONLY=NAME,NAME measures only those, on screen and
// offscreen, to look at one of them in a minute.
bool wanted(const char *name)
{
    static const QStringList only = qEnvironmentVariable("REALX_ONLY").split(u',', Qt::SkipEmptyParts);
    return only.isEmpty() || only.contains(QLatin1String(name));
}

// The program and the reference at `size`, on the library in `home`: every input's samples.
std::optional<Results> measureOnScreen(XScreen &x, const QString &home, QSize size, int samples)
{
    const QString statePath = QDir(home).filePath(QStringLiteral("state.json"));
    QFile::remove(statePath);
    QProcess program;
    program.setProcessEnvironment(programEnvironment(home));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(STASHWELL_BINARY), {});
    QProcess referenceProcess;
    QProcessEnvironment referenceEnvironment = QProcessEnvironment::systemEnvironment();
    referenceEnvironment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    referenceProcess.setProcessEnvironment(referenceEnvironment);
    referenceProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    referenceProcess.start(QCoreApplication::applicationFilePath(),
                           {QStringLiteral("--reference"), QString::number(size.width()), QString::number(size.height())});
    const auto stop = [&] {
        for (QProcess *process : {&program, &referenceProcess}) {
            process->kill();
            process->waitForFinished(5000);
        }
    };
    OnScreen on(x, statePath, referenceProcess, {}, {});
    QString programWindow;
    QString referenceWindow;
    if (!waitFor([&] { return !(programWindow = windowOf(program.processId(), QStringLiteral("Stashwell"))).isEmpty(); }, kStartMs)
        || !waitFor([&] { return !(referenceWindow = windowOf(referenceProcess.processId(), QStringLiteral("Realx reference"))).isEmpty(); }, 20000)
        || !place(referenceWindow, QPoint(size.width() + 40, 0), size) || !place(programWindow, QPoint(0, 0), size)
        || !waitFor([&] { return on.area("window").size() == size && !on.cells().isEmpty(); }, kStartMs)) {
        std::fprintf(stderr, "realx: the program or the reference did not come up at %dx%d\n", size.width(), size.height());
        stop();
        return std::nullopt;
    }
    OnScreen screenOf(x, statePath, referenceProcess, programWindow, referenceWindow);
    OnScreen &s = screenOf;
    const auto programFront = [&] { s.activate(programWindow); };
    const auto shelf = [&] { return s.area("shelf"); };
    const auto shelfAndBar = [&] {
        const QJsonObject areas = s.state().value(QStringLiteral("areas")).toObject();
        return rectOf(areas.value(QStringLiteral("shelf")).toObject()).united(rectOf(areas.value(QStringLiteral("bar")).toObject()));
    };
    const auto window = [&] { return s.area("window"); };
    const auto nothing = [] { return std::vector<QRect>{}; };
    // The search field's caret blinks and shows each letter typed: its result is the shelf's.
    const auto searchField = [&] {
        const QPoint at = s.point("search");
        return std::vector<QRect>{QRect(at - QPoint(200, 20), QSize(400, 40))};
    };
    const auto keyTo = [&](KeySym symbol) { return [&x, symbol](QRect, int) { x.key(symbol); }; };
    const auto clickIn = [&x](QRect area, int) { x.click(area.center()); };
    // The program's window was left at rest with nothing selected and the shelf at its top.
    const auto reset = [&] {
        programFront();
        x.moveTo(s.area("window").bottomLeft() + QPoint(10, -10));
        x.key(XK_Escape);
        x.still(s.area("window"), {});
    };

    Results results;
    reset();

    // A wheel step over the shelf: down and back up.
    x.moveTo(shelf().center());
    if (wanted("wheel_step"))
        results[QStringLiteral("wheel_step")] = s.measure(
            samples, shelf, nothing, [&](int i) { x.wheel(i % 20 < 10); }, [&](QRect, int i) { x.wheel(i % 20 < 10); });
    reset();

    // A filter change: the sidebar's first rows in turn.
    QList<QPoint> filters;
    for (const QJsonValue row : s.state().value(QStringLiteral("filters")).toArray())
        filters.append(pointOf(row.toObject()));
    filters = filters.mid(0, 4);
    if (filters.size() >= 2 && wanted("filter_change"))
        results[QStringLiteral("filter_change")] = s.measure(
            samples, shelfAndBar, nothing, [&](int i) { x.click(filters[(i + 1) % filters.size()]); }, clickIn,
            [&](int) { programFront(); });
    if (!filters.isEmpty())
        x.click(filters.first());
    reset();

    // A search keystroke: words typed letter by letter, each cleared by Backspace.
    programFront();
    x.key(XK_f, true);
    // As many keys as the most samples taken, so that no word is typed twice: a list seen once
    // comes back from memory.
    const QList<KeySym> typed{XK_p, XK_h, XK_o, XK_t, XK_o, XK_BackSpace, XK_BackSpace, XK_BackSpace, XK_BackSpace, XK_BackSpace,
                              XK_c, XK_a, XK_t, XK_BackSpace, XK_BackSpace, XK_BackSpace, XK_s, XK_e, XK_a, XK_BackSpace,
                              XK_BackSpace, XK_BackSpace, XK_m, XK_o, XK_BackSpace, XK_BackSpace, XK_y, XK_o, XK_g, XK_a,
                              XK_BackSpace, XK_BackSpace, XK_BackSpace, XK_BackSpace, XK_b, XK_u, XK_s, XK_BackSpace,
                              XK_BackSpace, XK_BackSpace};
    if (wanted("search_keystroke"))
        results[QStringLiteral("search_keystroke")] = s.measure(
            std::max(samples, int(typed.size())), shelfAndBar, searchField, [&](int i) { x.key(typed[i % typed.size()]); },
            [&](QRect, int i) { x.key(typed[i % typed.size()]); }, [&](int) { programFront(); });
    reset();

    // A selection click on a card; the first one opens the inspector, unmeasured.
    {
        const QList<QPoint> first = s.cells();
        if (!first.isEmpty())
            x.click(first.first());
        x.still(window(), {});
    }
    // Where the next click goes is read before the input is timed.
    QPoint target;
    if (wanted("selection_click"))
        results[QStringLiteral("selection_click")] = s.measure(
            samples, shelf, nothing, [&](int) { x.click(target); }, clickIn,
            [&](int i) {
                programFront();
                const QList<QPoint> cells = s.cells();
                target = cells.isEmpty() ? QPoint() : cells[(i * 5 + 1) % cells.size()];
            });

    // An arrow key from the card selected: right and left.
    if (wanted("arrow_key"))
        results[QStringLiteral("arrow_key")] = s.measure(
            samples, shelf, nothing, [&](int i) { x.key(i % 2 ? XK_Left : XK_Right); }, keyTo(XK_Right),
            [&](int) {
                programFront();
                x.moveTo(s.area("window").bottomLeft() + QPoint(10, -10));
            });
    reset();

    // The inspector opened by a click on a card and closed by Escape, in turn.
    if (wanted("inspector"))
        results[QStringLiteral("inspector")] = s.measure(
            2 * samples, window, nothing,
            [&](int i) {
                if (i % 2)
                    x.key(XK_Escape);
                else
                    x.click(target);
            },
            clickIn,
            [&](int i) {
                programFront();
                if (i % 2 == 0) {
                    const QList<QPoint> cells = s.cells();
                    target = cells.isEmpty() ? QPoint() : cells.first();
                }
            });
    reset();

    // The layout switch: list, then grid, in turn.
    if (wanted("layout_switch"))
        results[QStringLiteral("layout_switch")] = s.measure(
            samples, shelf, nothing, [&](int) { x.click(target); }, clickIn,
            [&](int i) {
                programFront();
                target = s.point(i % 2 ? "gridOption" : "listOption");
            });
    x.click(s.point("gridOption"));
    reset();

    // The Save Link sheet opened by Ctrl+L; Escape closes it before the next. A sheet is on screen
    // a few milliseconds before the window manager gives it the keyboard, and an Escape sent in
    // between goes to the window under it, which the sheet blocks: the next Ctrl+L would then time
    // the caret's blink in a sheet already open. Escape goes again until no sheet is shown.
    const auto sheetShown = [&] { return !s.state().value(QStringLiteral("sheet")).isNull(); };
    const auto closeSheet = [&](int) {
        for (int tries = 0; tries < 10 && (tries == 0 || sheetShown()); ++tries) {
            x.key(XK_Escape);
            QThread::msleep(50);
        }
        x.still(s.area("window"), {});
        programFront();
    };
    if (wanted("save_link_sheet"))
        results[QStringLiteral("save_link_sheet")] = s.measure(samples, window, nothing, [&](int) { x.key(XK_l, true); },
                                                               keyTo(XK_l), closeSheet);
    // The same sheet beside the reference's bare dialog of its size, opened by Ctrl+D: the window
    // manager maps both before either shows, so this comparison is the sheet's target (the one
    // above, beside a repaint, tells the window manager's share). The dialog closes itself a
    // moment after it shows: each input waits until it is gone (and the window at rest, as every
    // timed input waits).
    if (wanted("save_link_sheet_beside_dialog"))
        results[QStringLiteral("save_link_sheet_beside_dialog")] = s.measure(
            samples, window, nothing, [&](int) { x.key(XK_l, true); }, [&x](QRect, int) { x.key(XK_d, true); }, closeSheet,
            [] { QThread::msleep(300); });

    stop();
    return results;
}

// ---- offscreen ------------------------------------------------------------------------------------

// Milliseconds since the first call: when a traced paint or input came.
double traceMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return double(clock.nsecsElapsed()) / 1e6;
}

// Counts the paints of the widgets it watches. A paint of a watched widget only where `overlaid`
// lies over it (in that widget's coordinates: the bar over the shelf, whose every repaint repaints
// the shelf beneath) does not count: it shows nothing of the shelf's own.
class PaintCounter : public QObject {
public:
    int paints = 0;
    QList<QPointer<QWidget>> watched;
    QRect overlaid;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        static const bool trace = qEnvironmentVariableIsSet("REALX_TRACE_PAINTS");
        // Besides the paints, what may lead to one: a widget laid out, moved, shown or hidden, a
        // window's frame asked for.
        if (trace && object->isWidgetType()
            && (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::LayoutRequest
                || event->type() == QEvent::Show || event->type() == QEvent::Hide || event->type() == QEvent::UpdateRequest))
            std::fprintf(stderr, "event at %.2f ms %d %s %s\n", traceMs(), int(event->type()), object->metaObject()->className(), qPrintable(object->objectName()));
        if (trace && event->type() == QEvent::Paint) {
            const QRegion region = static_cast<QPaintEvent *>(event)->region();
            qint64 area = 0;
            for (const QRect &r : region)
                area += qint64(r.width()) * r.height();
            std::fprintf(stderr, "paint at %.2f ms %s %s %d,%d %dx%d area %lld\n", traceMs(),
                         object->metaObject()->className(), qPrintable(object->objectName()),
                         region.boundingRect().x(), region.boundingRect().y(), region.boundingRect().width(),
                         region.boundingRect().height(), area);
        }
        if (event->type() != QEvent::Paint)
            return false;
        for (const QPointer<QWidget> &widget : watched) {
            if (widget == object) {
                const QRegion region = static_cast<QPaintEvent *>(event)->region();
                paints += overlaid.isEmpty() || !region.subtracted(overlaid).isEmpty();
            } else if (widget && object->isWidgetType() && widget->isAncestorOf(static_cast<QWidget *>(object))) {
                ++paints;
            }
        }
        return false;
    }
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// What a sample cost the process besides its time.
struct SampleCosts {
    long faults = 0;   // page faults
    long waits = 0;    // times a thread gave up the processor to wait

    static SampleCosts now()
    {
        struct rusage usage {};
        if (getrusage(RUSAGE_SELF, &usage) != 0)
            return {};
        return SampleCosts{usage.ru_minflt + usage.ru_majflt, usage.ru_nvcsw};
    }
    SampleCosts operator-(const SampleCosts &before) const { return {faults - before.faults, waits - before.waits}; }
};

int offscreen(const QString &home, QSize size, const QString &suffix)
{
    app::StashwellApp::Options options;
    options.preferencesPath = QDir(home).filePath(QStringLiteral("config/Stashwell/preferences.json"));
    options.folders = Curator::Folders{QDir(home).filePath(QStringLiteral("data/Stashwell")),
                                       QDir(home).filePath(QStringLiteral("Videos/Stashwell"))};
    options.askDesktop = false;
    options.tray = false;
    options.routerInputs = [](app::StashwellApp &) { return app::liveRouterInputs(); };
    app::StashwellApp stashwell(options);
    stashwell.start();
    app::LibraryWindow &window = stashwell.libraryWindow();
    window.resize(size);
    window.show();
    window.activateWindow();
    auto *shelf = window.findChild<ShelfSurface *>();
    auto *bar = window.findChild<ShelfBar *>();
    auto *sidebar = window.findChild<LibrarySidebar *>();
    if (!shelf || !bar || !sidebar)
        return 1;
    QElapsedTimer wait;
    wait.start();
    while (shelf->visibleItems().empty() && wait.elapsed() < kStartMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    settle();
    // The saves' search words are worked out in the first second after a start, and a search
    // meanwhile takes a slower road (core.search times it). The inputs on screen come seconds
    // after the start; these, to stand beside them, wait for the words too.
    stashwell.curator().finishPreparing();
    settle();
    app::LibraryPage &page = stashwell.libraryPage();

    PaintCounter counter;
    qApp->installEventFilter(&counter);
    // The milliseconds from the input to the end of the next paint of `widget` or what it holds.
    const auto untilPainted = [&](QWidget *widget, const std::function<void()> &input) -> std::optional<double> {
        counter.watched = {widget};
        counter.overlaid = widget == shelf->viewport()
            ? QRect(shelf->viewport()->mapFrom(&window, bar->mapTo(&window, QPoint(0, 0))), bar->size())
            : QRect();
        const int before = counter.paints;
        QElapsedTimer timer;
        timer.start();
        input();
        while (counter.paints == before && timer.elapsed() < kTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        const bool painted = counter.paints != before;
        settle();
        return painted ? std::optional<double>(ms) : std::nullopt;
    };
    std::map<QString, std::vector<double>> results;
    // Beside each sample: the page faults and the waits (a lock, a thread, the disk) it took. A
    // fault costs 12 us on some virtual machines, and one of a large page 2.7 ms: a sample that
    // took a few stands apart from the rest for that alone.
    std::map<QString, std::vector<SampleCosts>> costs;
    const auto take = [&](const char *name, QWidget *widget, const std::function<void()> &input) {
        if (!wanted(name))
            return;
        if (qEnvironmentVariableIsSet("REALX_TRACE_PAINTS"))
            std::fprintf(stderr, "-- %s at %.2f ms\n", name, traceMs());
        const SampleCosts before = SampleCosts::now();
        if (const auto ms = untilPainted(widget, input)) {
            results[QLatin1String(name)].push_back(*ms);
            costs[QLatin1String(name)].push_back(SampleCosts::now() - before);
        }
    };
    const auto cells = [&] {
        std::vector<QPoint> out;
        for (const ShelfGeometry::Visible &visible : shelf->visibleItems())
            for (qsizetype item = visible.items.first; item < visible.items.last; ++item) {
                const QRect cell = shelf->itemRect(visible.block, item).toAlignedRect();
                if (shelf->viewport()->rect().contains(cell))
                    out.push_back(QPoint(cell.center().x(), cell.top() + 24));
            }
        return out;
    };
    const auto reset = [&] {
        shelf->setFocus();
        QTest::keyClick(shelf, Qt::Key_Escape);
        shelf->verticalScrollBar()->setValue(0);
        settle();
    };

    const QPoint centre = shelf->viewport()->rect().center();
    for (int i = 0; i < kSamples; ++i)
        take("wheel_step", shelf->viewport(), [&] {
            QWheelEvent wheel(centre, shelf->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, i % 20 < 10 ? -120 : 120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(shelf->viewport(), &wheel);
        });
    reset();

    const QList<Filter> rows = sidebar->rowFilters().mid(0, 4);
    for (int i = 0; i < kSamples && rows.size() >= 2; ++i)
        if (SidebarRow *row = sidebar->row(rows[(i + 1) % rows.size()]))
            take("filter_change", shelf->viewport(), [&] { QTest::mouseClick(row, Qt::LeftButton); });
    if (!rows.isEmpty())
        page.setFilter(rows.first());
    reset();

    page.focusSearch();
    settle();
    QLineEdit *field = bar->searchField().lineEdit();
    const QString typed = QStringLiteral("photo\b\b\b\b\bcat\b\b\bsea\b\b\bmo\b\b");
    for (const QChar letter : typed)
        take("search_keystroke", shelf->viewport(),
             [&] { QTest::keyClick(field, letter == u'\b' ? Qt::Key_Backspace : Qt::Key(letter.toUpper().unicode()), {}); });
    reset();

    if (const auto first = cells(); !first.empty())
        QTest::mouseClick(shelf->viewport(), Qt::LeftButton, {}, first.front());
    settle();
    for (int i = 0; i < kSamples; ++i)
        if (const auto all = cells(); !all.empty())
            take("selection_click", shelf->viewport(),
                 [&] { QTest::mouseClick(shelf->viewport(), Qt::LeftButton, {}, all[std::size_t(i * 5 + 1) % all.size()]); });
    shelf->setFocus();
    for (int i = 0; i < kSamples; ++i)
        take("arrow_key", shelf->viewport(), [&] { QTest::keyClick(shelf, i % 2 ? Qt::Key_Left : Qt::Key_Right); });
    reset();

    for (int i = 0; i < 2 * kSamples; ++i) {
        if (i % 2) {
            take("inspector", &window, [&] { QTest::keyClick(shelf, Qt::Key_Escape); });
        } else if (const auto all = cells(); !all.empty()) {
            take("inspector", &window, [&] { QTest::mouseClick(shelf->viewport(), Qt::LeftButton, {}, all.front()); });
        }
    }
    reset();

    const QList<ShelfLayoutOption *> &layouts = bar->layoutSwitch().options();
    for (int i = 0; i < kSamples && layouts.size() == 2; ++i)
        take("layout_switch", shelf->viewport(), [&] { QTest::mouseClick(layouts[(i + 1) % 2], Qt::LeftButton); });
    reset();

    for (int i = 0; i < kSamples && wanted("save_link_sheet"); ++i) {
        QWidget *sheet = nullptr;
        // The sheet is made when it opens: what paints first is a new top-level window.
        counter.watched.clear();
        counter.overlaid = QRect();
        const int before = counter.paints;
        QElapsedTimer timer;
        timer.start();
        stashwell.commands().saveLink()->trigger();
        while (timer.elapsed() < kTimeoutMs) {
            if (const app::SaveLinkPresenter *sheets = stashwell.saveLinkSheets(); !sheet && sheets && sheets->sheet()) {
                sheet = sheets->sheet();
                counter.watched = {sheet};
            }
            if (counter.paints != before)
                break;
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        if (counter.paints != before)
            results[QStringLiteral("save_link_sheet")].push_back(double(timer.nsecsElapsed()) / 1e6);
        if (sheet)
            QTest::keyClick(sheet, Qt::Key_Escape);
        settle();
        wait.restart();
        while (stashwell.saveLinkSheets() && stashwell.saveLinkSheets()->sheet() && wait.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    for (const auto &[name, times] : results) {
        if (qEnvironmentVariableIsSet("REALX_SAMPLES")) {
            std::fprintf(stderr, "SAMPLES offscreen %s", qPrintable(name));
            for (double v : times) std::fprintf(stderr, " %.2f", v);
            std::fprintf(stderr, "\nFAULTS offscreen %s", qPrintable(name));
            for (const SampleCosts &c : costs[name]) std::fprintf(stderr, " %ld", c.faults);
            std::fprintf(stderr, "\nWAITS offscreen %s", qPrintable(name));
            for (const SampleCosts &c : costs[name]) std::fprintf(stderr, " %ld", c.waits);
            std::fprintf(stderr, "\n");
        }
        const screen::Figures figures = screen::figuresOf(times);
        line(QStringLiteral("realx_offscreen_%1_%2").arg(name, suffix), figures.median, "ms");
        line(QStringLiteral("realx_offscreen_%1_max_%2").arg(name, suffix), figures.slowest, "ms");
    }
    return 0;
}

// ---- the run --------------------------------------------------------------------------------------

void report(const Results &results, const QString &suffix)
{
    for (const auto &[name, samples] : results) {
        const screen::Figures program = screen::figuresOf(samples.program);
        const screen::Figures reference = screen::figuresOf(samples.reference);
        const screen::Comparison comparison = screen::compare(program, reference);
        // REALX_SAMPLES=1: every sample on stderr, in the order taken, to look at their spread
        // (offscreen, with the page faults and waits of each).
        if (qEnvironmentVariableIsSet("REALX_SAMPLES")) {
            std::fprintf(stderr, "SAMPLES %s program", qPrintable(name));
            for (double v : samples.program) std::fprintf(stderr, " %.1f", v);
            std::fprintf(stderr, "\nSAMPLES %s reference", qPrintable(name));
            for (double v : samples.reference) std::fprintf(stderr, " %.1f", v);
            std::fprintf(stderr, "\n");
        }
        line(QStringLiteral("realx_%1_%2").arg(name, suffix), program.median, "ms");
        line(QStringLiteral("realx_%1_max_%2").arg(name, suffix), program.slowest, "ms");
        line(QStringLiteral("realx_reference_%1_%2").arg(name, suffix), reference.median, "ms");
        line(QStringLiteral("realx_reference_%1_max_%2").arg(name, suffix), reference.slowest, "ms");
        line(QStringLiteral("realx_%1_over_reference_%2").arg(name, suffix), comparison.medianRatio, "x");
        line(QStringLiteral("realx_%1_max_over_reference_%2").arg(name, suffix), comparison.slowestRatio, "x");
        line(QStringLiteral("realx_%1_count_%2").arg(name, suffix), program.count, "count");
    }
}

int runAll(bool quick)
{
    XScreen x;
    if (!x.open()) {
        std::fprintf(stderr, "realx: no X display with XTest and MIT-SHM\n");
        return 1;
    }
    QProcess windowManager;
    windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!windowManager.waitForStarted())
        return 1;
    QThread::msleep(500);

    struct Library {
        int saves;
        const char *name;
    };
    const QList<Library> libraries = quick ? QList<Library>{{100000, "100k"}} : QList<Library>{{100000, "100k"}, {30, "30"}};
    const QList<QSize> sizes = quick ? QList<QSize>{QSize(1600, 1000)} : QList<QSize>{QSize(1600, 1000), QSize(1000, 700)};
    int failures = 0;
    for (const Library &library : libraries) {
        QTemporaryDir home;
        if (!home.isValid()
            || !bench::writeHome(home.path(), library.saves, home.filePath(QStringLiteral("config/Stashwell/preferences.json"))))
            return 1;
        for (const QSize size : sizes) {
            const QString suffix = QStringLiteral("%1x%2_%3").arg(size.width()).arg(size.height()).arg(QLatin1String(library.name));
            const bool targeted = library.saves == 100000 && size == QSize(1600, 1000);
            if (const auto results = measureOnScreen(x, home.path(), size, targeted ? kTargetSamples : kSamples))
                report(*results, suffix);
            else
                ++failures;
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--offscreen"), home.path(), QString::number(size.width()),
                                                                 QString::number(size.height()), suffix});
            if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
                ++failures;
        }
    }
    windowManager.terminate();
    windowManager.waitForFinished(5000);
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    // The driver makes no window of its own; the reference and the program are its children.
    const bool driver = argc < 2 || (qstrcmp(argv[1], "--reference") != 0 && qstrcmp(argv[1], "--offscreen") != 0);
    if (driver)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window offscreen runs as the program does: its allocator on large pages where it would
    // start on them.
    if (argc >= 2 && qstrcmp(argv[1], "--offscreen") == 0)
        sw::LargePages::startOnLargePages(argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stashwell"));
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && arguments.at(1) == u"--reference")
        return reference(QSize(arguments.at(2).toInt(), arguments.at(3).toInt()));
    // A home kept for looking at one input by hand: --write-home DIR SAVES, then --offscreen DIR W H
    // NAME (REALX_TRACE_PAINTS=1 lists every paint), or the program under a profiler.
    if (arguments.size() == 4 && arguments.at(1) == u"--write-home")
        return bench::writeHome(arguments.at(2), arguments.at(3).toInt(), QDir(arguments.at(2)).filePath(QStringLiteral("config/Stashwell/preferences.json"))) ? 0 : 1;
    if (arguments.size() == 6 && arguments.at(1) == u"--offscreen") {
        QStandardPaths::setTestModeEnabled(true);
        return offscreen(arguments.at(2), QSize(arguments.at(3).toInt(), arguments.at(4).toInt()), arguments.at(5));
    }
    return runAll(arguments.contains(QStringLiteral("--quick")));
}
