// shelf-benchmarks: the painted shelf surface over a generated library of 100,000 saves, as the
// library window shows it (cards in four columns, or rows), with pictures in the picture cache.
// Prints one "name value unit" line per figure; run-benchmarks runs it and takes its lines in.
//
//   shelf_grid_scroll_frame_100k       one frame of scrolling the grid by one viewport: the
//                                      scroll (painters made for the saves that came into view)
//                                      and the paint of the whole viewport; median of 120 frames
//   shelf_grid_scroll_frame_p95_100k   the 95th percentile of the same frames
//   shelf_grid_scroll_frame_cpu_100k   the main thread's CPU time in those frames (median, and
//   shelf_grid_scroll_frame_cpu_p95_100k  95th percentile): their cost on a machine with nothing
//                                      else to run
//   shelf_grid_scroll_frame_unpaced_100k  the frames one after another with no time between
//   shelf_list_scroll_frame_100k       the same for the list of rows
//   shelf_list_scroll_frame_p95_100k   (and the list's CPU and unpaced figures likewise)
//   shelf_relayout_columns_100k        the grid's columns go from 4 to 3 (a save was selected):
//                                      the new collection compared and laid out again
//   shelf_relayout_width_100k          the surface resized to another width
//   shelf_item_change_100k             one save's download progresses: the new collection
//                                      compared with the last one; only that item is repainted
//   shelf_item_change_repaint_100k     the area asked to be repainted, as a share of the item's cell
//   shelf_state_bytes_100k             the bytes the surface's own state holds (layout, painters)
//   shelf_state_resident_100k          the resident memory the surface added when given the saves
//   shelf_grid_scroll_frame_edges_100k the grid's scroll frames with soft scroll edges at the top
//                                      and bottom but no frost set (their overlay paints nothing)
//   shelf_grid_scroll_frame_frost_100k the same frames with the library window's frost in both
//                                      bands, measured in the same run, alternating with the above
//                                      over the same pages (the frost's whole cost is in them)
//   shelf_frost_frame_ratio_100k       the second median over the first
//   shelf_frost_quality_100k           the level the frost settled on (0 is the full effect),
//   shelf_frost_quality_before_100k    and the level it was at when the measured frames began
//                                      (the same when the frames were all painted at one level)
//   shelf_frost_meter_frame_100k       what the frost's own meter measured in the last frames:
//   shelf_frost_meter_bands_100k       the frame without the bands, and the bands (thread CPU)

#include "FigureLines.h"
#include "LibraryGenerator.h"

#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "Shelf/Shelf.h"
#include "Stashwell/Window/ProgressiveBlur.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/SoftScrollEdges.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveRow.h"
#include "StashwellUI/Shelf/ShelfSurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

using namespace sw;

namespace {

using sw::bench::figures::print;
using sw::bench::figures::percentile;
using sw::bench::figures::residentBytes;

constexpr int kSaves = 100000;
constexpr int kPictures = 24;
const QSize kWindow(1200, 900);

// The CPU time this thread has used, in ms: what a frame costs whatever else the machine runs.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

QList<Url> makePictures(const QString &folder)
{
    QList<Url> pictures;
    for (int i = 0; i < kPictures; ++i) {
        QImage image(1280, 720, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 120, 200));
        QPainter painter(&image);
        painter.setPen(QPen(Qt::white, 24));
        painter.drawEllipse(QPointF(640, 360), 200 + i * 5, 150);
        painter.end();
        const QString path = folder + QStringLiteral("/picture-%1.jpg").arg(i);
        image.save(path, "JPEG", 85);
        pictures.append(Url::fromLocalFile(path));
    }
    int pending = 0;
    QEventLoop loop;
    for (const Url &picture : pictures) {
        for (const double height : {SaveCard::thumbnailHeight, SaveRow::thumbnailSide}) {
            ++pending;
            PictureCache::shared().request(PictureKey{picture, std::int64_t(height * 6)}, &loop, [&](PicturePointer) {
                if (--pending == 0)
                    loop.quit();
            });
        }
    }
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    if (pending > 0)
        loop.exec();
    return pictures;
}

struct Library100k {
    Archive archive;
    std::optional<Shelf> shelf;
    QList<ShelfItem> items;
};

void makeItems(Library100k &lib, const QList<Url> &pictures)
{
    bench::LibraryShape shape;
    shape.saves = kSaves;
    shape.trashed = 0;
    lib.archive = bench::generateArchive(shape);
    LocalMedia media(MediaFolder(Url::fromLocalFile(QStringLiteral("/media/Stashwell"))), DiskBudget{5368709120});
    media.setCopies(lib.archive.copies);
    lib.shelf.emplace(lib.archive.library, media, std::nullopt, shape.now, Quality::original);
    lib.items = lib.shelf->items(Filter::all());
    // Every picture a save shows is one of the pictures in the cache.
    for (qsizetype i = 0; i < lib.items.size(); ++i) {
        ShelfItem &shown = lib.items[i];
        std::vector<std::optional<Url>> replaced = shown.pictures();
        for (std::size_t p = 0; p < replaced.size(); ++p)
            replaced[p] = pictures[(i + qsizetype(p)) % pictures.size()];
        shown.setPictures(std::move(replaced));
    }
}

ShelfCollection collectionOf(const QList<ShelfItem> &items, ShelfLayout layout, qsizetype columns, Date now)
{
    ShelfCollection c;
    c.items = items;
    c.layout = layout;
    c.columns = columns;
    c.now = now;
    c.onIntent = [](const ShelfItem &, const SaveIntent &) {};
    return c;
}

// Frames of scrolling by one viewport each: the scroll, then the whole viewport painted. Paced,
// the frames come at a display's 60 Hz and the event loop runs in the time between them, as it
// does on screen; unpaced, they follow one another with no time between.
std::vector<double> scrollFrames(ShelfSurface &surface, QImage &target, int startPage, int frames, bool paced = true,
                                 std::vector<double> *cpu = nullptr, QWidget *painted = nullptr)
{
    // The viewport unless told otherwise (overlays over the whole scroll area need the area).
    QWidget *shown = painted ? painted : surface.viewport();
    QScrollBar *bar = surface.verticalScrollBar();
    const int page = surface.viewport()->height();
    bar->setValue(startPage * page);
    shown->render(&target);
    std::vector<double> times;
    for (int frame = 1; frame <= frames; ++frame) {
        QElapsedTimer timer;
        const double cpuStart = threadCpuMs();
        timer.start();
        bar->setValue((startPage + frame) * page);
        const double scrolled = double(timer.nsecsElapsed()) / 1e6;
        shown->render(&target);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (cpu)
            cpu->push_back(threadCpuMs() - cpuStart);
        if (qEnvironmentVariableIsSet("SHELF_BENCH_DETAIL"))
            std::fprintf(stderr, "frame scroll %.2f paint %.2f painted %d renders %d\n", scrolled, times.back() - scrolled, surface.lastPaintedItems(), surface.cardImages().renders());
        // The rest of the display's frame in the event loop, which sleeps when it has nothing to
        // do (a loop calling processEvents() would spin the thread instead).
        const int rest = int((16'666'667 - timer.nsecsElapsed()) / 1'000'000);
        if (paced && rest > 0) {
            QEventLoop wait;
            QTimer::singleShot(rest, Qt::PreciseTimer, &wait, &QEventLoop::quit);
            wait.exec();
        }
    }
    return times;
}

}  // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    loadFonts();
    Tokens::Motion::setEnabled(false);

    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QList<Url> pictures = makePictures(folder.path());
    Library100k lib;
    makeItems(lib, pictures);
    if (lib.items.size() != kSaves) {
        std::fprintf(stderr, "expected %d saves, have %lld\n", kSaves, qlonglong(lib.items.size()));
        return 1;
    }
    const Date now = lib.shelf->now();

    ShelfSurface surface;
    surface.setPadding({24, 16, 24, 44});
    surface.setSpacing(14);
    surface.resize(kWindow);
    surface.show();
    QCoreApplication::processEvents();

    const double residentBefore = double(residentBytes());
    surface.setCollection(collectionOf(lib.items, ShelfLayout::grid, 4, now));
    const double residentAfter = double(residentBytes());
    const double gridStateBytes = double(surface.memoryBytes());
    QImage target(surface.viewport()->size(), QImage::Format_ARGB32_Premultiplied);

    // Warm the caches of symbols, text and scaled pictures, then measure.
    scrollFrames(surface, target, 10, 20);
    std::vector<double> gridCpu;
    const std::vector<double> grid = scrollFrames(surface, target, 400, 120, true, &gridCpu);
    print("shelf_grid_scroll_frame_100k", percentile(grid, 0.5), "ms");
    print("shelf_grid_scroll_frame_p95_100k", percentile(grid, 0.95), "ms");
    print("shelf_grid_scroll_frame_cpu_100k", percentile(gridCpu, 0.5), "ms");
    print("shelf_grid_scroll_frame_cpu_p95_100k", percentile(gridCpu, 0.95), "ms");
    const std::vector<double> gridUnpaced = scrollFrames(surface, target, 800, 120, false);
    print("shelf_grid_scroll_frame_unpaced_100k", percentile(gridUnpaced, 0.5), "ms");
    print("shelf_grid_scroll_frame_unpaced_p95_100k", percentile(gridUnpaced, 0.95), "ms");

    // One save's download moves on: the same saves, one of them with a new copy, as the core's
    // next projection gives them. The last list stays with its owner while the new one is compared.
    {
        QScrollBar *bar = surface.verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        surface.viewport()->render(&target);
        const auto shown = surface.visibleItems();
        const qsizetype index = shown.front().items.first + 5;
        const Save changedSave = lib.items[index].save();
        std::vector<double> times;
        double share = 0;
        QList<ShelfItem> previous = lib.items;
        for (int run = 0; run < 21; ++run) {
            CopyTable copies = lib.archive.copies;
            copies.insert(changedSave.post().link, LocalCopy::downloading(1000 * (run + 1), 1 << 24));
            LocalMedia media(MediaFolder(Url::fromLocalFile(QStringLiteral("/media/Stashwell"))), DiskBudget{5368709120});
            media.setCopies(copies);
            const Shelf next(lib.archive.library, media, std::nullopt, now, Quality::original);
            QList<ShelfItem> items = previous;
            items[index] = next.item(changedSave);
            ShelfCollection c = collectionOf(items, ShelfLayout::grid, 4, now);
            surface.takeInvalidated();
            QElapsedTimer timer;
            timer.start();
            surface.setCollection(std::move(c));
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            const QRegion region = surface.takeInvalidated();
            const QRectF cell = surface.itemRect(0, index);
            double area = 0;
            for (const QRect &r : region)
                area += double(r.width()) * double(r.height());
            share = std::max(share, area / (cell.width() * cell.height()));
            // Outside the cell (with the lifted card's extra line) nothing is asked to be painted.
            if (!region.subtracted(cell.adjusted(0, -SaveCard::hoverLift - 1, 0, 1).toAlignedRect()).isEmpty())
                share = 999;
            previous = std::move(items);
        }
        print("shelf_item_change_100k", percentile(times, 0.5), "ms");
        print("shelf_item_change_repaint_100k", share, "cells");
        lib.items = previous;
    }

    // Columns 4 to 3 and back, and a new width.
    {
        std::vector<double> times;
        for (int run = 0; run < 11; ++run) {
            ShelfCollection three = collectionOf(lib.items, ShelfLayout::grid, 3, now);
            QElapsedTimer timer;
            timer.start();
            surface.setCollection(std::move(three));
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            surface.setCollection(collectionOf(lib.items, ShelfLayout::grid, 4, now));
        }
        print("shelf_relayout_columns_100k", percentile(times, 0.5), "ms");
        std::vector<double> widths;
        for (int run = 0; run < 11; ++run) {
            QElapsedTimer timer;
            timer.start();
            surface.resize(run % 2 ? kWindow : QSize(kWindow.width() - 300, kWindow.height()));
            widths.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        surface.resize(kWindow);
        print("shelf_relayout_width_100k", percentile(widths, 0.5), "ms");
    }

    // The frost of both scroll edges against the same edges without it, side by side: runs of
    // each alternate over the same pages, so caches and pictures favour neither.
    {
        // On the scroll area, as the library window's frame places them.
        auto *edges = new SoftScrollEdges(&surface, true, true);
        QImage whole(surface.size(), QImage::Format_ARGB32_Premultiplied);
        std::vector<double> plain;
        std::vector<double> frosted;
        auto run = [&](bool frost, int startPage) {
            ScrollEdgeFrostSetting::set(surface, frost ? app::ProgressiveBlur::frost() : ScrollEdgeFrost());
            const std::vector<double> frames = scrollFrames(surface, whole, startPage, 60, true, nullptr, &surface);
            (frost ? frosted : plain).insert((frost ? frosted : plain).end(), frames.begin(), frames.end());
        };
        // Warms the frost's buffers and lets its meter settle the level the frost paints at.
        run(true, 1100);
        const auto *top = edges->findChild<app::ProgressiveBlurView *>(QStringLiteral("sw.progressiveBlur.top"));
        const int levelBefore = top ? top->quality() : -1;
        plain.clear();
        frosted.clear();
        for (int round = 0; round < 4; ++round) {
            const int page = 1200 + round * 100;
            run(round % 2 == 0, page);
            run(round % 2 != 0, page);
        }
        const double plainMedian = percentile(plain, 0.5);
        const double frostMedian = percentile(frosted, 0.5);
        print("shelf_grid_scroll_frame_edges_100k", plainMedian, "ms");
        print("shelf_grid_scroll_frame_frost_100k", frostMedian, "ms");
        print("shelf_grid_scroll_frame_frost_p95_100k", percentile(frosted, 0.95), "ms");
        print("shelf_frost_frame_ratio_100k", plainMedian > 0 ? frostMedian / plainMedian : 0, "x");
        print("shelf_frost_quality_100k", top ? top->quality() : -1, "level");
        print("shelf_frost_quality_before_100k", levelBefore, "level");
        // What the frost's own meter saw in the last frames (thread CPU time): the frame without
        // the bands and the bands, the figures its level follows.
        if (const auto *meter = edges->findChild<app::FrostMeter *>()) {
            const app::FrameCosts seen = meter->costs();
            print("shelf_frost_meter_frame_100k", seen.frameMs, "ms");
            print("shelf_frost_meter_bands_100k", seen.frostMs, "ms");
        }
        ScrollEdgeFrostSetting::set(surface, {});
        delete edges;
    }

    surface.setCollection(collectionOf(lib.items, ShelfLayout::list, 4, now));
    scrollFrames(surface, target, 10, 20);
    std::vector<double> listCpu;
    const std::vector<double> list = scrollFrames(surface, target, 3000, 120, true, &listCpu);
    print("shelf_list_scroll_frame_100k", percentile(list, 0.5), "ms");
    print("shelf_list_scroll_frame_p95_100k", percentile(list, 0.95), "ms");
    print("shelf_list_scroll_frame_cpu_100k", percentile(listCpu, 0.5), "ms");
    print("shelf_list_scroll_frame_cpu_p95_100k", percentile(listCpu, 0.95), "ms");
    const std::vector<double> listUnpaced = scrollFrames(surface, target, 5000, 120, false);
    print("shelf_list_scroll_frame_unpaced_100k", percentile(listUnpaced, 0.5), "ms");
    print("shelf_list_scroll_frame_unpaced_p95_100k", percentile(listUnpaced, 0.95), "ms");

    print("shelf_state_bytes_100k", gridStateBytes / double(1 << 20), "MiB");
    print("shelf_state_bytes_list_100k", double(surface.memoryBytes()) / double(1 << 20), "MiB");
    print("shelf_state_resident_100k", (residentAfter - residentBefore) / double(1 << 20), "MiB");
    return 0;
}
