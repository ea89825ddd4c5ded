// library-page-benchmarks: the library window's page over a generated library of 100,000 saves,
// the real controller (LibraryPage) with its real widgets (LibraryPageView) in a window of the
// application's size, offscreen. Each figure is the time from the change to the end of the
// refresh it causes: the page's state changed and every column brought up to date from it
// (refreshNow: the sidebar, the bar, the shelf's blocks, the inspector, the status bar). The paint
// of the whole window that follows is measured apart. Prints one "name value unit" line per figure; run-benchmarks takes them in.
//
//   library_filter_change_100k        the sidebar's filter changes (all, favourites, a collection,
//                                     the trash, videos, ...): median of the changes
//   library_filter_change_max_100k    the slowest of them
//   library_search_keystroke_100k     one more letter typed in the search field: median
//   library_search_keystroke_max_100k
//   library_selection_change_100k     a click on another save (the inspector shows it): median
//   library_selection_change_max_100k
//   library_progress_step_100k        one step of a download's progress let through to the window:
//                                     the save's item renewed and shown (at most ~30 a second)
//   library_shelf_projection_100k     beside them, in the same run: one projection of the Curator
//                                     and its items for all saves, the work every change starts from
//   library_window_paint_100k         the whole window painted after one of the changes: median

#include "FigureLines.h"
#include "LibraryGenerator.h"

#include "StashKit/Curator.h"
#include "StashKit/MediaDisk.h"
#include "StashKit/MediaDownloading.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Router/Router.h"
#include "StashwellUI/Design/Fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace sw;

namespace {

using sw::bench::figures::median;
using sw::bench::figures::print;
using sw::bench::figures::printMedianAndMax;

constexpr int kSaves = 100000;
const QSize kWindow(1440, 900);

// Nothing is written: the figures are of the page, not of the archive.
class NoArchive final : public Archiving {
public:
    std::expected<std::optional<Archive>, ArchiveFailure> load() override { return std::optional<Archive>(); }
    std::expected<void, ArchiveFailure> store(const Archive &) override { return {}; }
};

class NoDisk final : public MediaDisk {
public:
    std::expected<void, DiskError> remove(const QList<Url> &) override { return {}; }
    std::expected<void, DiskError> move(const Url &, const Url &) override { return {}; }
    std::expected<std::int64_t, DiskError> size(const Url &file) override
    {
        return std::unexpected(DiskError{file.toLocalFile(), QStringLiteral("no files in the benchmark")});
    }
    // No folder to list: fetching the missing covers, which the page starts when it first shows,
    // ends at once instead of working through the saves while they are measured.
    std::expected<QSet<QString>, DiskError> names(const Url &folder) override
    {
        return std::unexpected(DiskError{folder.toLocalFile(), QStringLiteral("not listed in the benchmark")});
    }
};

// Downloads that the benchmark drives itself: each transfer waits for the events it is sent.
class DrivenDownloads final : public MediaDownloading {
public:
    TransferStream download(const Attachment &, const Url &, std::int64_t) override
    {
        auto [stream, sink] = TransferStream::make();
        sinks.push_back(sink);
        return std::move(stream);
    }
    std::vector<TransferSink> sinks;
};

// Everything that waits for the next turn is done before the clock starts.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    loadFonts();

    bench::LibraryShape shape;
    shape.saves = kSaves;
    const Archive archive = bench::generateArchive(shape);
    LocalMedia media(MediaFolder(Url::fromLocalFile(QStringLiteral("/media/Stashwell"))), DiskBudget{std::int64_t(1) << 50});
    media.setCopies(archive.copies);
    auto downloads = std::make_shared<DrivenDownloads>();
    Curator curator(archive.library, std::move(media), Covers(Url::fromLocalFile(QStringLiteral("/media/Covers"))),
                    nullptr, downloads, std::make_shared<NoDisk>(), std::make_shared<NoArchive>(),
                    [now = shape.now] { return now; });
    app::Router router;
    QUndoStack stack;
    app::LibraryPage page(curator, router, &stack);
    app::LibraryPageView view(page);
    view.resize(kWindow);
    view.show();
    settle();

    std::vector<double> paints;
    const auto timed = [&](const std::function<void()> &change) {
        QElapsedTimer timer;
        timer.start();
        change();
        view.refreshNow();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        // The window painted whole after the change, apart.
        QElapsedTimer paint;
        paint.start();
        view.repaint();
        paints.push_back(double(paint.nsecsElapsed()) / 1e6);
        settle();
        return ms;
    };

    // The projection every change starts from.
    std::vector<double> projections;
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer timer;
        timer.start();
        const Shelf shelf = curator.shelf();
        const QList<ShelfItem> items = shelf.items(Filter::all());
        projections.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (items.isEmpty())
            return 1;
    }

    // Filter changes, round the sidebar's rows and chips.
    const QList<Filter> filters{Filter::favourites(), Filter::all(), Filter::trash(),
                                Filter::collection(archive.library.collections.first().id), Filter::kind(Kind::video),
                                Filter::all(), Filter::linkOnly(), Filter::source(Source::web), Filter::onThisComputer(),
                                Filter::all(), Filter::recentlyAdded(), Filter::kind(Kind::images)};
    std::vector<double> filterTimes;
    for (int round = 0; round < 2; ++round)
        for (const Filter &filter : filters)
            filterTimes.push_back(timed([&] { page.setFilter(filter); }));
    page.setFilter(Filter::all());
    settle();

    // A search typed letter by letter, then cleared, twice.
    const QString typed = QStringLiteral("photograph");
    std::vector<double> searchTimes;
    for (int round = 0; round < 2; ++round) {
        for (int n = 1; n <= typed.size(); ++n)
            searchTimes.push_back(timed([&] { page.setQuery(typed.left(n)); }));
        page.setQuery(QString());
        settle();
    }

    // Clicks on saves far apart in the list, each shown in the inspector.
    std::vector<double> selectionTimes;
    const SaveList &saves = archive.library.saves;
    for (int i = 0; i < 24; ++i) {
        const Save &save = saves.at((qsizetype(i) * 4099) % saves.size());
        if (save.isTrashed())
            continue;
        selectionTimes.push_back(timed([&] { page.selection().pick(save.id(), Qt::NoModifier); }));
    }

    // A download under way: each step of progress, once the page lets it through, refreshes the
    // window from the new projection (the shelf repaints only that save's card).
    std::vector<double> progressTimes;
    const QList<ShelfItem> missing = curator.shelf().missing();
    if (!missing.isEmpty()) {
        const ShelfItem &item = missing.first();
        page.setFilter(Filter::all());
        page.selection().pick(item.save().id(), Qt::NoModifier);
        settle();
        QCoro::Task<> running = page.downloads().download(item);
        // The download's start is more than progress: the full refresh it asks for is let
        // through (at most progressRefreshMaxMs later) before the steps are measured.
        QElapsedTimer begun;
        begun.start();
        while (begun.elapsed() < app::LibraryPage::progressRefreshMaxMs + 100) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        settle();
        int renewed = 0;
        QObject::connect(&page, &app::LibraryPage::itemsChanged, &page, [&renewed] { ++renewed; });
        if (!downloads->sinks.empty()) {
            for (int step = 1; step <= 24; ++step) {
                downloads->sinks.front().yield(Transfer::progress(std::int64_t(step) << 18));
                // The Curator takes the bytes in; the page's turn for progress is then taken now.
                QCoreApplication::processEvents();
                progressTimes.push_back(timed([&] { page.showProgressNow(); }));
            }
            // Every step measured went item by item; otherwise the figure would time nothing.
            if (renewed != 24) {
                std::fprintf(stderr, "progress reached the window item by item %d times of 24\n", renewed);
                return 1;
            }
            downloads->sinks.front().fail(TransferError::couldNotWrite(QStringLiteral("the benchmark ends")));
        }
        settle();
    }

    printMedianAndMax("library_filter_change", "100k", filterTimes, "ms");
    printMedianAndMax("library_search_keystroke", "100k", searchTimes, "ms");
    printMedianAndMax("library_selection_change", "100k", selectionTimes, "ms");
    print("library_progress_step_100k", median(progressTimes), "ms");
    print("library_shelf_projection_100k", median(projections), "ms");
    print("library_window_paint_100k", median(paints), "ms");
    return 0;
}
