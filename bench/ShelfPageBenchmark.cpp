// shelfpage-benchmarks: the shelf page over a generated library of 100,000 saves, on its frame in
// a window, as the library window shows it (the home arrangement of cards). Prints one
// "name value unit" line per figure; run-benchmarks runs it and takes its lines in.
//
//   shelfpage_arrow_100k              an arrow key pressed on the focused shelf with a save selected:
//                                     the key handled, the selection moved, the column drawn again
//                                     and the viewport painted; median of 200 presses
//   shelfpage_arrow_p95_100k          the 95th percentile of the same presses
//   shelfpage_first_arrow_100k        the first arrow with nothing selected: the columns go from 4
//                                     to 3, so the home is arranged again
//   shelfpage_select_all_100k         the Edit menu's Select All on the focused shelf: every
//                                     visible id reported in order, made the chosen set, handed
//                                     back as the highlighted saves, drawn and painted
//   shelfpage_arrange_100k            the page given a new shelf: the home and its arrangement
//                                     worked out, drawn and painted

#include "FigureLines.h"
#include "LibraryGenerator.h"

#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "Shelf/Shelf.h"
#include "Stashwell/Presenters/ShelfPresenter.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace sw;
using namespace sw::app;

namespace {

using sw::bench::figures::print;
using sw::bench::figures::percentile;

constexpr int kSaves = 100000;

double sinceMs(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    loadFonts();
    Tokens::Motion::setEnabled(false);

    bench::LibraryShape shape;
    shape.saves = kSaves;
    shape.trashed = 0;
    const Archive archive = bench::generateArchive(shape);
    LocalMedia media(MediaFolder(Url::fromLocalFile(QStringLiteral("/media/Stashwell"))), DiskBudget{5368709120});
    media.setCopies(archive.copies);
    const Shelf shelf(archive.library, media, std::nullopt, shape.now, Quality::original);

    ShelfTemplate view;
    view.resize(1200, 900);
    view.show();
    ShelfPresenter page;
    page.setView(&view);
    ShelfSurface &surface = view.surface();
    QImage target(surface.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] { surface.viewport()->render(&target); };

    // A new shelf, arranged and drawn.
    std::vector<double> arranging;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        page.setShelf(shelf);
        page.refreshNow();
        paint();
        arranging.push_back(sinceMs(timer));
    }
    print("shelfpage_arrange_100k", percentile(arranging, 0.5), "ms");
    if (page.visibleOrder().size() != kSaves) {
        std::fprintf(stderr, "expected %d visible saves, have %lld\n", kSaves, qlonglong(page.visibleOrder().size()));
        return 1;
    }
    surface.setFocus();
    QCoreApplication::processEvents();

    const bool detail = qEnvironmentVariableIsSet("SHELFPAGE_BENCH_DETAIL");
    auto press = [&](Qt::Key key) {
        QElapsedTimer timer;
        timer.start();
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&surface, &down);
        const double handled = sinceMs(timer);
        page.refreshNow();
        const double drawn = sinceMs(timer);
        paint();
        if (detail)
            std::fprintf(stderr, "key %.2f draw %.2f paint %.2f\n", handled, drawn - handled, sinceMs(timer) - drawn);
    };

    // The first arrow: nothing selected, so the columns change.
    std::vector<double> first;
    for (int run = 0; run < 7; ++run) {
        page.setSelection(std::nullopt);
        page.refreshNow();
        paint();
        QElapsedTimer timer;
        timer.start();
        press(Qt::Key_Right);
        first.push_back(sinceMs(timer));
    }
    print("shelfpage_first_arrow_100k", percentile(first, 0.5), "ms");

    // Arrows through the saves, with a save selected: right and down, as one moves through a grid.
    std::vector<double> arrows;
    for (int i = 0; i < 40; ++i)
        press(i % 3 ? Qt::Key_Right : Qt::Key_Down);   // warm the painters and caches
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        press(i % 4 ? Qt::Key_Right : Qt::Key_Down);
        arrows.push_back(sinceMs(timer));
    }
    print("shelfpage_arrow_100k", percentile(arrows, 0.5), "ms");
    print("shelfpage_arrow_p95_100k", percentile(arrows, 0.95), "ms");

    // Select All as the library page takes it: the ids become the chosen saves, drawn selected.
    QObject::connect(&page, &ShelfPresenter::selectAllRequested, &page, [&](const QList<Save::ID> &ids) {
        page.setHighlighted(QSet<Save::ID>(ids.cbegin(), ids.cend()));
        page.setSelection(ids.isEmpty() ? std::nullopt : std::optional(ids.last()));
    });
    std::vector<double> selectAll;
    for (int run = 0; run < 7; ++run) {
        page.setHighlighted({});
        page.setSelection(page.visibleOrder().at(5).save().id());
        page.refreshNow();
        paint();
        QElapsedTimer timer;
        timer.start();
        QMetaObject::invokeMethod(&surface, "selectAll");
        page.refreshNow();
        paint();
        selectAll.push_back(sinceMs(timer));
    }
    if (page.highlighted().size() != kSaves) {
        std::fprintf(stderr, "Select All chose %lld saves\n", qlonglong(page.highlighted().size()));
        return 1;
    }
    print("shelfpage_select_all_100k", percentile(selectAll, 0.5), "ms");
    return 0;
}
