// app-benchmarks: the whole application (StashwellApp: the core restored from its file, the
// library window with every column, menus, the Router) started over a generated library of
// 100,000 saves in a home of its own, offscreen, and used through its window. Prints one
// "name value unit" line per figure; run-benchmarks takes them in (ApplicationSuite.cpp).
//
//   app_start_to_first_paint_100k   from making the application to the end of the library
//                                   window's first paint, in a fresh process (fonts, the restore,
//                                   the first projection and layout of the window included; the
//                                   media folder is listed meanwhile on another thread)
//                                   median of 5 (the full run's and four more)
//   app_start_call_100k             of which StashwellApp::start() itself, in the full run
//   app_core_restore_100k           beside it, in the same run: Curator::live over the same
//                                   folders, the whole start of the core (the restore and the
//                                   reconciling), each in a fresh process too: median of 5, taken
//                                   in turns with the starts
//   app_start_over_restore_100k     the first over the second
//   app_search_keystroke_100k       one letter typed into the window's search field (a key event
//                                   to the field), until the shelf has painted the new result:
//                                   median; _max beside it
//   app_filter_change_100k          the sidebar's filter changed, until the shelf has painted
//   app_selection_change_100k       a click on a card of the shelf, until the shelf has painted
//   app_scroll_frame_100k           one wheel step down the shelf, until it has painted: median
//   app_rss_100k / app_rss_over_document_100k
//                                   the resident memory of the running application after its
//                                   first paint, against the document's size on disk; beside it
//                                   app_core_rss_100k, a process that has only restored the core
//   app_rss_prepared_100k           the same after all the rest: the core's preparation of the
//                                   restored saves (their search words, which begins after the
//                                   first frame) finished, the window used
//   app_rss_prepared_over_document_100k   the same against the document's size
//
// Without arguments it writes the library (and an empty media file for every finished copy, and a
// cover file for every post with a preview, as after a while of use, so that the start finds
// nothing to change or fetch) and runs itself again on it, so that the memory figure is of a
// process that has done nothing else.

#include "BenchHome.h"
#include "FigureLines.h"
#include "LibraryGenerator.h"

#include "StashKit/Curator.h"
#include "StashKit/Network.h"
#include "StashKit/NetworkRoute.h"
#include "Capture/LargePages.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/App/LiveInputs.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Shelf/ShelfSurface.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using namespace sw;

namespace {

using sw::bench::figures::maximum;
using sw::bench::figures::median;
using sw::bench::figures::print;
using sw::bench::figures::printMedianAndMax;
using sw::bench::figures::residentBytes;

constexpr int kSaves = 100000;
const QSize kWindow(1440, 900);

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The library, its media files and its covers, in `home`.
bool writeHome(const QString &home)
{
    return bench::writeHome(home, kSaves, QDir(home).filePath(QStringLiteral("config/preferences.json")));
}

app::StashwellApp::Options optionsFor(const QString &home)
{
    app::StashwellApp::Options options;
    options.preferencesPath = QDir(home).filePath(QStringLiteral("config/preferences.json"));
    options.folders = Curator::Folders{QDir(home).filePath(QStringLiteral("data/Stashwell")),
                                       QDir(home).filePath(QStringLiteral("Videos/Stashwell"))};
    options.askDesktop = false;
    options.tray = false;
    options.routerInputs = [](app::StashwellApp &) { return app::liveRouterInputs(); };
    return options;
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The milliseconds from `change` to the end of the next paint of what `counter` watches (the
// events that follow the change handled as the application's loop would). A change that shows
// nothing new within a second counts as the time waited, so that it can only make a figure worse.
double untilPainted(PaintCounter &counter, const std::function<void()> &change)
{
    const int before = counter.paints;
    QElapsedTimer timer;
    timer.start();
    change();
    while (counter.paints == before) {
        if (timer.elapsed() > 1000)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    settle();
    return ms;
}

// The core's own restore of the same folders as the start makes it (the restore and the
// reconciling), in a fresh process as the start is: milliseconds on standard output.
int restore(const QString &home)
{
    Network network(NetworkRoute::direct());
    QElapsedTimer timer;
    timer.start();
    auto curator = Curator::live(network, true, optionsFor(home).folders);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (curator->library().saves.size() != kSaves)
        return 1;
    std::printf("%.3f %lld\n", ms, static_cast<long long>(residentBytes()));
    return 0;
}

int measure(const QString &home, double restore, double restoredRss, bool startOnly = false,
            const std::vector<double> &otherStarts = {})
{
    const double document = double(QFileInfo(QDir(home).filePath(QStringLiteral("data/Stashwell/library.json"))).size());

    // The start, in this fresh process: until the library window has painted once.
    QElapsedTimer timer;
    timer.start();
    auto app = std::make_unique<app::StashwellApp>(optionsFor(home));
    bool painted = false;
    double started = 0;
    {
        app->start();
        started = double(timer.nsecsElapsed()) / 1e6;
        app::LibraryWindow &window = app->libraryWindow();
        PaintCounter counter(&window);
        while (counter.paints == 0 && timer.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        painted = counter.paints > 0;
    }
    const double firstPaint = double(timer.nsecsElapsed()) / 1e6;
    std::vector<double> starts = otherStarts;
    starts.push_back(firstPaint);
    // The same statistic as the reference's: a fresh process's first touch of its memory costs
    // what the machine happens to charge then, on either side.
    const double start = median(starts);
    if (!painted)
        return 1;
    settle();
    const double rss = double(residentBytes());
    if (startOnly) {
        print("app_start_to_first_paint_100k", start, "ms");
        print("app_start_call_100k", started, "ms");
        print("app_rss_100k", rss / (1024.0 * 1024.0), "MiB");
        return 0;
    }

    // The window at a usual size, the shelf's paints counted.
    app::LibraryWindow &window = app->libraryWindow();
    window.resize(kWindow);
    window.activateWindow();
    settle();
    auto *shelf = window.findChild<ShelfSurface *>();
    auto *search = window.findChild<SearchField *>();
    if (!shelf || !search)
        return 1;
    PaintCounter shelfPaints(shelf->viewport());
    app::LibraryPage &page = app->libraryPage();

    // A search typed letter by letter into the field, then cleared, twice.
    std::vector<double> keystrokes;
    for (int round = 0; round < 2; ++round) {
        page.focusSearch();
        settle();
        for (const QChar letter : QStringLiteral("photograph"))
            keystrokes.push_back(untilPainted(shelfPaints, [&] { QTest::keyClick(search->lineEdit(), letter.toLatin1()); }));
        search->lineEdit()->clear();
        settle();
    }

    // Filter changes round the sidebar's rows.
    const QList<Filter> filters{Filter::favourites(), Filter::all(), Filter::trash(), Filter::kind(Kind::video),
                                Filter::all(), Filter::linkOnly(), Filter::source(Source::web), Filter::onThisComputer(),
                                Filter::all(), Filter::recentlyAdded(), Filter::kind(Kind::images), Filter::all()};
    std::vector<double> filterChanges;
    for (const Filter &filter : filters)
        filterChanges.push_back(untilPainted(shelfPaints, [&] { page.setFilter(filter); }));

    // Clicks on the cards on screen, one after another, a few screens down the list.
    shelf->verticalScrollBar()->setValue(shelf->verticalScrollBar()->maximum() / 3);
    settle();
    // Each click lands near the top of a card, on its picture away from the paging arrows (the
    // pill does another thing); only clicks that selected their save count.
    std::vector<double> selections;
    for (int i = 0; i < 24 && selections.size() < 16; ++i) {
        std::vector<std::pair<QPoint, Save::ID>> cells;
        for (const ShelfGeometry::Visible &visible : shelf->visibleItems())
            for (qsizetype item = visible.items.first; item < visible.items.last; ++item) {
                const QRect cell = shelf->itemRect(visible.block, item).toAlignedRect();
                if (shelf->viewport()->rect().contains(cell) && shelf->item(visible.block, item))
                    cells.push_back({QPoint(cell.center().x(), cell.top() + 24), shelf->item(visible.block, item)->save().id()});
            }
        if (cells.empty())
            break;
        const auto &[at, id] = cells[std::size_t(i * 7) % cells.size()];
        if (page.selection().current() == id)
            continue;
        const double ms = untilPainted(shelfPaints, [&] { QTest::mouseClick(shelf->viewport(), Qt::LeftButton, {}, at); });
        if (page.selection().current() == id)
            selections.push_back(ms);
    }

    // Wheel steps down the shelf, each until painted.
    shelf->verticalScrollBar()->setValue(0);
    settle();
    std::vector<double> frames;
    const QPoint centre = shelf->viewport()->rect().center();
    for (int i = 0; i < 120; ++i) {
        frames.push_back(untilPainted(shelfPaints, [&] {
            QWheelEvent wheel(centre, shelf->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(shelf->viewport(), &wheel);
        }));
    }

    app->curator().finishPreparing();
    settle();
    const double preparedRss = double(residentBytes());

    print("app_start_to_first_paint_100k", start, "ms");
    print("app_start_call_100k", started, "ms");
    print("app_core_restore_100k", restore, "ms");
    print("app_start_over_restore_100k", start / restore, "x");
    printMedianAndMax("app_search_keystroke", "100k", keystrokes, "ms");
    printMedianAndMax("app_filter_change", "100k", filterChanges, "ms");
    printMedianAndMax("app_selection_change", "100k", selections, "ms");
    print("app_selection_clicks_100k", double(selections.size()), "count");
    printMedianAndMax("app_scroll_frame", "100k", frames, "ms");
    print("app_rss_100k", rss / (1024.0 * 1024.0), "MiB");
    print("app_core_rss_100k", restoredRss / (1024.0 * 1024.0), "MiB");
    print("app_document_100k", document / (1024.0 * 1024.0), "MiB");
    print("app_rss_over_document_100k", rss / document, "x");
    print("app_rss_prepared_100k", preparedRss / (1024.0 * 1024.0), "MiB");
    print("app_rss_prepared_over_document_100k", preparedRss / document, "x");

    app.reset();
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    // The application as it runs: its allocator on large pages where it would start on them.
    sw::LargePages::startOnLargePages(argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stashwell"));
    const QStringList arguments = application.arguments();
    if (arguments.size() == 3 && arguments.at(1) == u"--restore")
        return restore(arguments.at(2));
    if (arguments.size() >= 5 && arguments.size() <= 7 && arguments.at(1) == u"--measure"
        && (arguments.size() != 6 || arguments.at(5) == u"--start-only")
        && (arguments.size() != 7 || arguments.at(5) == u"--starts")) {
        std::vector<double> otherStarts;
        if (arguments.size() == 7)
            for (const QString &start : arguments.at(6).split(u','))
                otherStarts.push_back(start.toDouble());
        return measure(arguments.at(2), arguments.at(3).toDouble(), arguments.at(4).toDouble(),
                       arguments.size() == 6, otherStarts);
    }
    // A home kept for profiling one step by hand: --write-home DIR, then --restore DIR or
    // --measure DIR 1 1 [--start-only] under a profiler.
    if (arguments.size() == 3 && arguments.at(1) == u"--write-home")
        return writeHome(arguments.at(2)) ? 0 : 1;

    QTemporaryDir home;
    if (!home.isValid() || !writeHome(home.path()))
        return 1;
    // The reference, the median of five restores, and four starts beside them, taken in turns so
    // that both sides meet the machine alike: each in a process of its own, whose first touch of
    // its memory costs what the machine happens to charge then. The full run below is the fifth
    // start.
    const auto run = [&](const QStringList &arguments) -> std::optional<QByteArray> {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), arguments);
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            return std::nullopt;
        return child.readAllStandardOutput();
    };
    std::vector<double> restores;
    std::vector<double> restoredRss;
    QStringList otherStarts;
    for (int i = 0; i < 5; ++i) {
        const auto restored = run({QStringLiteral("--restore"), home.path()});
        const QList<QByteArray> figures = restored ? restored->simplified().split(' ') : QList<QByteArray>();
        if (figures.size() != 2)
            return 1;
        restores.push_back(figures.at(0).toDouble());
        restoredRss.push_back(figures.at(1).toDouble());
        if (i == 4)
            break;
        const auto started = run({QStringLiteral("--measure"), home.path(), QStringLiteral("1"), QStringLiteral("1"),
                                  QStringLiteral("--start-only")});
        for (const QByteArray &line : started ? started->split('\n') : QList<QByteArray>())
            if (const QList<QByteArray> figure = line.simplified().split(' ');
                figure.size() == 3 && figure.at(0) == "app_start_to_first_paint_100k")
                otherStarts.append(QString::fromLatin1(figure.at(1)));
    }
    if (otherStarts.size() != 4)
        return 1;
    const QString restore = QString::number(median(restores), 'f', 3);
    const QString rss = QString::number(median(restoredRss), 'f', 0);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--measure"), home.path(), restore, rss, QStringLiteral("--starts"),
                 otherStarts.join(u',')});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
        return 1;
    return child.exitCode();
}
