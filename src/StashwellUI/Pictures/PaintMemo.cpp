#include "StashwellUI/Pictures/PaintMemo.h"

#include "StashwellUI/Pictures/DrawList.h"

#include <QCache>
#include <QColor>
#include <QImage>
#include <QMargins>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace sw::PaintMemo {

namespace {

// Set while a kept bitmap is being painted: what that painting draws is kept once, in it, and
// not a second time in a bitmap of its own (which would double what the memory holds and push out
// the bitmaps in use).
bool g_keeping = false;

// A kept bitmap, and for one width of the bands along its edges, how deep from each edge the
// straight part of that edge's band (between the corners' squares) holds any pixel that is not
// clear: worked out the first time the bitmap is copied by its bands.
struct Kept {
    QPixmap bitmap;
    int band = -1;
    QMargins reach;
};

QCache<QString, Kept> &memory()
{
    // Cost in bytes: 24 MiB holds every piece of a few screens of cards (the shelf keeps whole
    // cards as images besides, SaveCardCache: a piece here serves a card painted anew, as when
    // its state changes, and what is drawn alike on many cards).
    static QCache<QString, Kept> cache(24 << 20);
    return cache;
}

// How deep from each edge the straight parts of the bands `band` pixels wide along the edges of
// `bitmap` hold a pixel that is not clear. `band` each way where the bands do not fit.
QMargins reachOf(const QPixmap &bitmap, int band)
{
    const QMargins whole(band, band, band, band);
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (band <= 0 || 2 * band >= w || 2 * band >= h)
        return whole;
    QImage image = bitmap.toImage();
    if (image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto at = [&](int x, int y) { return qAlpha(reinterpret_cast<const QRgb *>(image.constScanLine(y))[x]); };
    const auto rowClear = [&](int y) {
        for (int x = band; x < w - band; ++x)
            if (at(x, y))
                return false;
        return true;
    };
    const auto columnClear = [&](int x) {
        for (int y = band; y < h - band; ++y)
            if (at(x, y))
                return false;
        return true;
    };
    QMargins reach = whole;
    while (reach.top() > 0 && rowClear(reach.top() - 1))
        reach.setTop(reach.top() - 1);
    while (reach.bottom() > 0 && rowClear(h - reach.bottom()))
        reach.setBottom(reach.bottom() - 1);
    while (reach.left() > 0 && columnClear(reach.left() - 1))
        reach.setLeft(reach.left() - 1);
    while (reach.right() > 0 && columnClear(w - reach.right()))
        reach.setRight(reach.right() - 1);
    return reach;
}

// What reachOf() tells of the bitmap kept under `key`, kept with it.
QMargins reachOfKept(const QString &key, const QPixmap &bitmap, int band)
{
    Kept *kept = memory().object(key);
    if (!kept || kept->bitmap.cacheKey() != bitmap.cacheKey())
        return reachOf(bitmap, band);
    if (kept->band != band) {
        kept->reach = reachOf(bitmap, band);
        kept->band = band;
    }
    return kept->reach;
}

bool canCopy(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster)
        return false;
    const QTransform::TransformationType type = painter.deviceTransform().type();
    // The device transform carries the device pixel ratio as a scale; anything more is drawn directly.
    const QTransform &t = painter.deviceTransform();
    return type <= QTransform::TxScale && t.m11() > 0 && t.m11() == t.m22();
}

void drawDirectly(QPainter &painter, const QRectF &rect,
                  const std::function<void(QPainter &painter, const QRectF &area)> &paint)
{
    painter.save();
    painter.translate(rect.topLeft());
    paint(painter, QRectF(QPointF(0, 0), rect.size()));
    painter.restore();
}

// Beyond a quarter of the memory a bitmap would not be worth keeping.
bool worthKeeping(QSize pixels)
{
    return pixels.width() > 0 && pixels.height() > 0 && qint64(pixels.width()) * pixels.height() <= (qint64(1) << 22);
}

// The bitmap kept under `key`; when there is none, one of `pixels` at `scale`, cleared, painted
// by `paint` and kept.
QPixmap keptBitmap(const QString &key, QSize pixels, qreal scale, const std::function<void(QPainter &painter)> &paint)
{
    QCache<QString, Kept> &cache = memory();
    if (const Kept *kept = cache.object(key))
        return kept->bitmap;
    QPixmap bitmap(pixels);
    bitmap.setDevicePixelRatio(scale);
    bitmap.fill(Qt::transparent);
    {
        const KeptWhole keeping;
        QPainter p(&bitmap);
        paint(p);
    }
    cache.insert(key, new Kept{bitmap, -1, QMargins()}, qsizetype(pixels.width()) * pixels.height() * 4);
    return bitmap;
}

// Copies `bitmap` pixel for pixel with its corner at `at` (on a device pixel): whole, or only the
// band `band` pixels wide along its edges, when its middle is empty or (with `middle`) that colour
// throughout, which then fills it. `reach`, where given, is how deep the straight parts of the
// bands hold anything (reachOf()): a border's bands reach as deep as its corners, yet along the
// straight sides only its line is there, and copying the clear rest only blends nothing in.
// `Target` is a QPainter, or a DrawList that lists the same calls to carry out later.
template <typename Target>
void copy(Target &painter, const QPointF &at, const QPixmap &bitmap, int band, const QColor *middle = nullptr,
          std::optional<QMargins> reach = std::nullopt)
{
    // The raster engine shares each tall blend or fill out to threads of its own, and waking them
    // costs more than a card's middle takes to copy: only a large middle is filled instead.
    constexpr qint64 kFilledMiddle = qint64(1) << 17;
    if (middle && qint64(bitmap.width() - 2 * band) * (bitmap.height() - 2 * band) < kFilledMiddle)
        band = 0;
    // A copy pixel for pixel needs no smoothing, and the engine blends a bitmap many times faster
    // without the hint (with it, it goes span by span as for a scaled one).
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    if (smooth)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int w = bitmap.width();
    const int h = bitmap.height();
    const qreal scale = bitmap.devicePixelRatio();
    if (band > 0 && 2 * band < w && 2 * band < h) {
        const auto part = [&](int x, int y, int width, int height) {
            painter.drawPixmap(at + QPointF(x, y) / scale, bitmap, QRectF(x, y, width, height));
        };
        if (reach && !middle && painter.compositionMode() == QPainter::CompositionMode_SourceOver
            && *reach != QMargins(band, band, band, band)) {
            // The corners' squares, then each straight side only as deep as it holds anything.
            part(0, 0, band, band);
            part(w - band, 0, band, band);
            part(0, h - band, band, band);
            part(w - band, h - band, band, band);
            if (reach->top() > 0)
                part(band, 0, w - 2 * band, reach->top());
            if (reach->bottom() > 0)
                part(band, h - reach->bottom(), w - 2 * band, reach->bottom());
            if (reach->left() > 0)
                part(0, band, reach->left(), h - 2 * band);
            if (reach->right() > 0)
                part(w - reach->right(), band, reach->right(), h - 2 * band);
        } else {
            part(0, 0, w, band);
            part(0, h - band, w, band);
            part(0, band, band, h - 2 * band);
            part(w - band, band, band, h - 2 * band);
        }
        if (middle) {
            // The middle's pixels lie whole on device pixels, as the bitmap's do: no edge to smooth.
            const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.fillRect(QRectF(at + QPointF(band, band) / scale, QSizeF(w - 2 * band, h - 2 * band) / scale), *middle);
            painter.setRenderHint(QPainter::Antialiasing, antialiased);
        }
    } else {
        painter.drawPixmap(at, bitmap);
    }
    if (smooth)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

}  // namespace

namespace {

void drawKept(QPainter &painter, const QRectF &rect, double edge, const QString &key,
              const std::function<void(QPainter &painter, const QRectF &area)> &paint, const QColor *middle = nullptr);


}  // namespace

void draw(QPainter &painter, const QRectF &rect, const QString &key,
          const std::function<void(QPainter &painter, const QRectF &area)> &paint)
{
    drawKept(painter, rect, 0, key, paint);
}

void drawEdges(QPainter &painter, const QRectF &rect, double edge, const QString &key,
               const std::function<void(QPainter &painter, const QRectF &area)> &paint)
{
    drawKept(painter, rect, std::max(edge, 0.0), key, paint);
}

void drawOwn(QPainter &painter, const QRectF &rect, const std::function<QString()> &key,
             const std::function<void(QPainter &painter, const QRectF &area)> &paint)
{
    if (!g_keeping) {
        drawKept(painter, rect, 0, key(), paint);
        return;
    }
    if (rect.isEmpty() || !std::isfinite(rect.width()) || !std::isfinite(rect.height()))
        return;
    painter.save();
    // With the hints a kept bitmap is painted with.
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    drawDirectly(painter, rect, paint);
    painter.restore();
}

void drawFilled(QPainter &painter, const QRectF &rect, double edge, const QColor &middle, const QString &key,
                const std::function<void(QPainter &painter, const QRectF &area)> &paint)
{
    drawKept(painter, rect, std::max(edge, 0.0), key, paint, &middle);
}

namespace {

// What drawKept() copies: the kept bitmap, where, and which of it.
struct KeptCopy {
    QPixmap bitmap;
    QPointF at;
    int band = 0;
    std::optional<QMargins> reach;
};

// The copy drawKept() makes with `painter`, its bitmap kept first when there was none; nothing
// where the drawing is not kept (it is then drawn directly).
std::optional<KeptCopy> keptCopy(const QPainter &painter, const QRectF &rect, double edge, const QString &key,
                                 const std::function<void(QPainter &painter, const QRectF &area)> &paint,
                                 const QColor *middle)
{
    if (!canCopy(painter))
        return std::nullopt;
    const qreal scale = painter.deviceTransform().m11();   // the device pixel ratio of this painting
    const QSize pixels(int(std::ceil(rect.width() * scale)), int(std::ceil(rect.height() * scale)));
    if (!worthKeeping(pixels))
        return std::nullopt;
    const QString full = keyAfter(key, QLatin1StringView(), pixels.width(), pixels.height(), scale);
    QPixmap bitmap = keptBitmap(full, pixels, scale, [&](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        paint(p, QRectF(QPointF(0, 0), rect.size()));
    });
    // On a device pixel, so that the copy is exact.
    const QPointF device = painter.deviceTransform().map(rect.topLeft());
    const QPointF snapped(std::round(device.x()), std::round(device.y()));
    // In whole pixels of the bitmap: the band along its edges.
    const int band = int(std::ceil(edge * scale));
    std::optional<QMargins> reach;
    if (band > 0 && !middle)
        reach = reachOfKept(full, bitmap, band);
    return KeptCopy{std::move(bitmap), rect.topLeft() + (snapped - device) / scale, band, reach};
}

void drawKept(QPainter &painter, const QRectF &rect, double edge, const QString &key,
              const std::function<void(QPainter &painter, const QRectF &area)> &paint, const QColor *middle)
{
    if (rect.isEmpty() || !std::isfinite(rect.width()) || !std::isfinite(rect.height()))
        return;
    if (const std::optional<KeptCopy> kept = keptCopy(painter, rect, edge, key, paint, middle))
        copy(painter, kept->at, kept->bitmap, kept->band, middle, kept->reach);
    else
        drawDirectly(painter, rect, paint);
}

}  // namespace

namespace {

void drawKeptInPlace(QPainter &painter, const QRectF &bounds, const QString &key,
                     const std::function<void(QPainter &painter)> &paint, double edge, const QColor *middle)
{
    if (bounds.isEmpty() || !std::isfinite(bounds.width()) || !std::isfinite(bounds.height()))
        return;
    const auto direct = [&] {
        painter.save();
        paint(painter);
        painter.restore();
    };
    const QTransform &device = painter.deviceTransform();
    const qreal scale = device.m11();
    // Drawn smaller than on screen (the frost's picture of what lies under it), a shape is cheap
    // to draw and lands on ever other fractions of a pixel: it is drawn directly.
    if (g_keeping || !canCopy(painter) || scale < 1) {
        direct();
        return;
    }
    const QRectF onDevice = device.mapRect(bounds);
    const QPoint corner(int(std::floor(onDevice.left())), int(std::floor(onDevice.top())));
    // A pixel more each way: the drawing is moved by up to half an eighth of a pixel below.
    const QSize pixels(int(std::ceil(onDevice.right())) - corner.x() + 1, int(std::ceil(onDevice.bottom())) - corner.y() + 1);
    if (!worthKeeping(pixels)) {
        direct();
        return;
    }
    // Where the drawing lies within its first device pixel, in eighths: part of what it looks like.
    const QPointF within = onDevice.topLeft() - QPointF(corner);
    const int eighthX = int(std::lround(within.x() * 8));
    const int eighthY = int(std::lround(within.y() * 8));
    const QString full = keyAfter(key, QLatin1StringView("|in"), pixels.width(), pixels.height(), scale, eighthX, eighthY);
    // From the painter's coordinates to the bitmap's: the device transform, less the corner.
    const QPointF offset = (QPointF(device.dx(), device.dy()) - QPointF(corner)) / scale;
    const QPixmap bitmap = keptBitmap(full, pixels, scale, [&](QPainter &p) {
        p.setRenderHints(painter.renderHints());
        // The drawing as it would lie on the device, its position within a pixel rounded to the
        // eighth the key names.
        const QPointF exact = bounds.topLeft() + offset;
        const QPointF named(double(eighthX) / 8 / scale, double(eighthY) / 8 / scale);
        p.translate(offset + (named - exact));
        paint(p);
    });
    // In whole pixels of the bitmap: the band along its edges (one more pixel for the part of a
    // pixel the drawing starts within).
    const int band = edge > 0 ? int(std::ceil(edge * scale)) + 1 : 0;
    copy(painter, QPointF(corner) / scale - QPointF(device.dx(), device.dy()) / scale, bitmap, band, middle,
         band > 0 && !middle ? std::optional(reachOfKept(full, bitmap, band)) : std::nullopt);
}

}  // namespace

namespace {

// The length of a straight part of a pieced shape's bitmap, in device pixels: each copy of it
// along an edge is one blit; a shorter one makes the bitmap serve shapes of every size both ways
// (one side too short to be pieced puts that side's length in the bitmap's name).
constexpr int kPieceLength = 32;

// The bitmap's pieces along one axis, in device pixels: from `from` in the bitmap to `to` on the
// device, `length` long.
struct Piece {
    int from;
    int to;
    int length;
};

// A shape `whole` pixels long with bands `band` pixels long at both ends, from a bitmap `kept`
// pixels long: the first band, the bitmap's middle as often as the shape's middle takes it, the
// last band.
std::vector<Piece> piecesAlong(int whole, int kept, int band)
{
    if (whole <= kept)
        return {{0, 0, whole}};
    std::vector<Piece> pieces{{0, 0, band}};
    const int middle = kept - 2 * band;
    for (int at = band; at < whole - band; at += middle)
        pieces.push_back({band, at, std::min(middle, whole - band - at)});
    pieces.push_back({kept - band, whole - band, band});
    return pieces;
}

}  // namespace

void drawPieced(QPainter &painter, const QRectF &bounds, double edge, const QString &key,
                const std::function<void(QPainter &painter, const QRectF &area)> &paint, const QColor *middle)
{
    if (bounds.isEmpty() || !std::isfinite(bounds.width()) || !std::isfinite(bounds.height()))
        return;
    const QTransform &device = painter.deviceTransform();
    const qreal scale = device.m11();
    const QRectF onDevice = canCopy(painter) && scale >= 1 ? device.mapRect(bounds) : QRectF();
    const QPoint corner(int(std::floor(onDevice.left())), int(std::floor(onDevice.top())));
    const QSize pixels(int(std::ceil(onDevice.right())) - corner.x() + 1, int(std::ceil(onDevice.bottom())) - corner.y() + 1);
    // A pixel more than the corners reach: where the shape starts within its first pixel.
    const int band = int(std::ceil(std::max(edge, 0.0) * scale)) + 1;
    const int kept = 2 * band + kPieceLength;
    if (onDevice.isEmpty() || (pixels.width() <= kept && pixels.height() <= kept)) {
        const QString sized = keyAfter(key, QLatin1StringView("|sized"), bounds.width(), bounds.height());
        const auto inPlace = [&](QPainter &p) { paint(p, bounds); };
        drawKeptInPlace(painter, bounds, sized, inPlace, edge, middle);
        return;
    }
    // Where the shape starts and ends within device pixels, in eighths, names its bitmap with
    // the bitmap's size: the ends lie alike in both.
    const QSize small(std::min(pixels.width(), kept), std::min(pixels.height(), kept));
    const QPoint cut(pixels.width() - small.width(), pixels.height() - small.height());
    const int left = int(std::lround((onDevice.left() - corner.x()) * 8));
    const int top = int(std::lround((onDevice.top() - corner.y()) * 8));
    const int right = int(std::lround((onDevice.right() - corner.x() - cut.x()) * 8));
    const int bottom = int(std::lround((onDevice.bottom() - corner.y() - cut.y()) * 8));
    const QString full = keyAfter(key, QLatin1StringView("|pieced"), small.width(), small.height(), scale, left, top, right, bottom);
    const QPixmap bitmap = [&] {
        // Not a drawing kept whole of its own, whatever is being painted: it serves every shape
        // of its kind.
        const bool was = g_keeping;
        g_keeping = false;
        QPixmap made = keptBitmap(full, small, scale, [&](QPainter &p) {
            p.setRenderHints(painter.renderHints() | QPainter::Antialiasing);
            paint(p, QRectF(QPointF(left, top) / 8 / scale, QSizeF(right - left, bottom - top) / 8 / scale));
        });
        g_keeping = was;
        return made;
    }();
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QPointF at = QPointF(corner) / scale - QPointF(device.dx(), device.dy()) / scale;
    const std::vector<Piece> across = piecesAlong(pixels.width(), small.width(), band);
    const std::vector<Piece> down = piecesAlong(pixels.height(), small.height(), band);
    for (std::size_t row = 0; row < down.size(); ++row) {
        const bool innerRow = row > 0 && row + 1 < down.size();
        for (std::size_t column = 0; column < across.size(); ++column) {
            // Inside the bands the shape is its colour throughout, filled below; a border's
            // transparent middle is left as it is.
            if (innerRow && column > 0 && column + 1 < across.size())
                continue;
            const Piece &x = across[column];
            const Piece &y = down[row];
            painter.drawPixmap(at + QPointF(x.to, y.to) / scale, bitmap, QRectF(x.from, y.from, x.length, y.length));
        }
    }
    if (middle && across.size() > 2 && down.size() > 2) {
        const QRect inner(band, band, pixels.width() - 2 * band, pixels.height() - 2 * band);
        const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::Antialiasing, false);
        // An opaque colour is set in place at once; a translucent one is blended line by line, and
        // the engine hands a blend of more than a few dozen lines to its threads.
        const int strip = middle->alpha() == 255 ? inner.height() : 48;
        for (int y = inner.top(); y <= inner.bottom(); y += strip)
            painter.fillRect(QRectF(at + QPointF(inner.left(), y) / scale, QSizeF(inner.width(), std::min(strip, inner.bottom() + 1 - y)) / scale),
                             *middle);
        painter.setRenderHint(QPainter::Antialiasing, antialiased);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void drawInPlace(QPainter &painter, const QRectF &bounds, const QString &key, const std::function<void(QPainter &painter)> &paint,
                 double edge)
{
    drawKeptInPlace(painter, bounds, key, paint, edge, nullptr);
}

KeptWhole::KeptWhole() : m_was(g_keeping) { g_keeping = true; }

KeptWhole::~KeptWhole() { g_keeping = m_was; }

int count() { return int(memory().count()); }

void clear() { memory().clear(); }

bool listEdges(DrawList &list, const QPainter &painter, const QRectF &rect, double edge, const QString &key,
               const std::function<void(QPainter &painter, const QRectF &area)> &paint)
{
    if (rect.isEmpty() || !std::isfinite(rect.width()) || !std::isfinite(rect.height()))
        return true;
    const std::optional<KeptCopy> kept = keptCopy(painter, rect, std::max(edge, 0.0), key, paint, nullptr);
    if (!kept)
        return false;
    list.setWorldTransform(painter.worldTransform());
    copy(list, kept->at, kept->bitmap, kept->band, nullptr, kept->reach);
    return true;
}

}  // namespace sw::PaintMemo
