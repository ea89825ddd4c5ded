// card-benchmarks: the shelf's grid of save cards, painted the way a virtualised shelf paints it
// (one SaveCard value per visible save, kept while it stays visible, painted into one surface),
// over a generated library of 5,000 saves with pictures in the picture cache. Prints one
// "name value unit" line per figure; run-benchmarks runs it and takes its lines in.
//
//   card_grid_first_frame_5k       the first frame: every visible card built and painted
//   card_grid_scroll_frame_5k      one frame of scrolling by one row (median of 120 frames): the
//                                  new row's cards built, the visible ones painted
//   card_grid_scroll_frame_p95_5k  the 95th percentile of the same frames
//   card_grid_scroll_frame_2x_5k   the same frame on a screen of twice the pixel density
//   card_build_5k                  building all 5,000 cards (what a shelf never does at once)

#include "FigureLines.h"
#include "LibraryGenerator.h"

#include "StashwellUI/Shelf/CardColumns.h"
#include "StashwellUI/Design/Fonts.h"
#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveCardCache.h"
#include "Shelf/Shelf.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace sw;

namespace {

using sw::bench::figures::print;
using sw::bench::figures::percentile;

constexpr int kSaves = 5000;
constexpr int kPictures = 24;
constexpr int kColumns = 4;
constexpr double kSpacing = 16;
const QSize kViewport(1200, 900);

// Pictures on disk, decoded into the picture cache at the thumbnails' size before anything is
// measured, as they would be once the shelf has been on screen.
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
        ++pending;
        PictureCache::shared().request(PictureKey{picture, std::int64_t(SaveCard::thumbnailHeight * 6)}, &loop,
                                       [&](PicturePointer) {
                                           if (--pending == 0)
                                               loop.quit();
                                       });
    }
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    if (pending > 0)
        loop.exec();
    return pictures;
}

struct Grid {
    QList<ShelfItem> items;
    QList<double> rowTops;      // the top of each row, from the grid's top
    QList<double> rowHeights;
    double columnWidth = 0;
    QHash<qsizetype, SaveCard> cards;
    QHash<qsizetype, SaveCard::ViewState> states;
    SaveCardCache images;
    Date now{760000000};

    void lay(double width)
    {
        const CardColumns columns(kColumns, kSpacing);
        const double inner = width - 2 * kSpacing;
        columnWidth = columns.columnWidth(inner);
        rowHeights = columns.rowHeights(inner, items.size(), [this](qsizetype index, double) {
            return SaveCard::height(items[index].save().post().kind() != Kind::text);
        });
        rowTops.clear();
        double y = kSpacing;
        for (const double height : rowHeights) {
            rowTops.append(y);
            y += height + kSpacing;
        }
    }

    // One frame of the viewport at `scroll`: the cards of the visible rows, built when they come
    // into view and let go when they leave it, painted into `target`.
    void paint(QImage &target, double scroll)
    {
        QPainter painter(&target);
        painter.fillRect(QRect(QPoint(), kViewport), Tokens::Colors::window());
        painter.translate(0, -scroll);
        const auto first = std::upper_bound(rowTops.begin(), rowTops.end(), scroll - 400) - rowTops.begin();
        qsizetype row = std::max<qsizetype>(0, first - 1);
        QHash<qsizetype, SaveCard> visible;
        for (; row < rowTops.size() && rowTops[row] < scroll + kViewport.height(); ++row) {
            if (rowTops[row] + rowHeights[row] < scroll)
                continue;
            for (qsizetype column = 0; column < kColumns; ++column) {
                const qsizetype index = row * kColumns + column;
                if (index >= items.size())
                    break;
                auto kept = cards.find(index);
                SaveCard card = kept != cards.end() ? *kept : SaveCard(items[index], now, index == 0);
                SaveCard::ViewState &state = states[index];
                card.track(state);
                const QRectF rect(kSpacing + double(column) * (columnWidth + kSpacing), rowTops[row], columnWidth,
                                  card.height());
                const std::optional<PictureKey> key = card.pictureKey(state);
                const PicturePointer picture = key ? PictureCache::shared().cached(*key) : nullptr;
                images.paint(painter, rect, card, state, picture, nullptr);
                visible.insert(index, card);
            }
        }
        cards = std::move(visible);
    }
};

void makeGrid(Grid &grid, const QList<Url> &pictures)
{
    bench::LibraryShape shape;
    shape.saves = kSaves;
    shape.trashed = 0;
    const Archive archive = bench::generateArchive(shape);
    LocalMedia media(MediaFolder(Url::fromLocalFile(QStringLiteral("/media/Stashwell"))), DiskBudget{5368709120});
    media.setCopies(archive.copies);
    const Shelf shelf(archive.library, media, std::nullopt, shape.now, Quality::original);
    grid.now = shape.now;
    grid.items = shelf.items(Filter::all());
    // Every picture the shelf would show is one of the local pictures.
    for (qsizetype i = 0; i < grid.items.size(); ++i) {
        ShelfItem &shown = grid.items[i];
        std::vector<std::optional<Url>> replaced = shown.pictures();
        for (std::size_t p = 0; p < replaced.size(); ++p)
            replaced[p] = pictures[(i + qsizetype(p)) % pictures.size()];
        shown.setPictures(std::move(replaced));
        shown.setCover(pictures[i % pictures.size()]);
    }
    grid.lay(kViewport.width());
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
    Grid grid;
    makeGrid(grid, pictures);
    if (grid.items.size() != kSaves) {
        std::fprintf(stderr, "expected %d saves, have %lld\n", kSaves, qlonglong(grid.items.size()));
        return 1;
    }

    QImage target(kViewport, QImage::Format_ARGB32_Premultiplied);
    {
        QElapsedTimer timer;
        timer.start();
        grid.paint(target, 0);
        print("card_grid_first_frame_5k", double(timer.nsecsElapsed()) / 1e6, "ms");
    }

    // Scrolling one row a frame, from the top, past rows never seen before.
    const auto scrollFrames = [&grid](QImage &surface, qsizetype startRow, int frames) {
        std::vector<double> times;
        grid.cards.clear();
        grid.images.clear();
        grid.paint(surface, grid.rowTops[startRow]);
        for (int frame = 1; frame <= frames; ++frame) {
            const qsizetype row = std::min(startRow + frame, grid.rowTops.size() - 1);
            QElapsedTimer timer;
            timer.start();
            grid.paint(surface, grid.rowTops[row]);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        return times;
    };
    // A few frames to warm the caches of symbols and scaled pictures, then the measured ones.
    scrollFrames(target, 0, 20);
    const std::vector<double> frames = scrollFrames(target, 40, 120);
    print("card_grid_scroll_frame_5k", percentile(frames, 0.5), "ms");
    print("card_grid_scroll_frame_p95_5k", percentile(frames, 0.95), "ms");

    QImage dense(kViewport * 2, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2);
    scrollFrames(dense, 200, 20);
    const std::vector<double> denseFrames = scrollFrames(dense, 300, 120);
    print("card_grid_scroll_frame_2x_5k", percentile(denseFrames, 0.5), "ms");

    {
        std::vector<double> builds;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            std::vector<SaveCard> all;
            all.reserve(std::size_t(grid.items.size()));
            for (const ShelfItem &shown : grid.items)
                all.emplace_back(shown, grid.now, false);
            builds.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        print("card_build_5k", percentile(builds, 0.5), "ms");
    }
    return 0;
}
