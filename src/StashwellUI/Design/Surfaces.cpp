#include "StashwellUI/Design/Surfaces.h"

#include "StashwellUI/Design/RectWise.h"

#include "StashwellUI/Pictures/DrawList.h"
#include "StashwellUI/Pictures/PaintMemo.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

}  // namespace

// --- Well ---

WellStyle WellStyle::well()
{
    return WellStyle{Tokens::Colors::window()};
}

WellStyle WellStyle::well(const QColor &base)
{
    return WellStyle{base};
}

QColor WellStyle::resolved(Surface surface) const
{
    return surface == Surface::glass ? withOpacity(base, 0.4) : base;
}

void WellStyle::fill(QPainter &painter, const QRectF &rect, double radius, Surface surface) const
{
    ContinuousShape::fill(painter, rect, radius, resolved(surface));
}

// --- Pane ---

PaneSurface PaneSurface::panel(double radius)
{
    return PaneSurface{Tokens::Colors::panel(), Tokens::Colors::line(), 1, radius};
}

PaneSurface PaneSurface::card(bool selected, bool hovered, double radius)
{
    if (selected)
        return PaneSurface{Tokens::Colors::card(), Tokens::Colors::accent(), 2, radius};
    if (hovered)
        return PaneSurface{Tokens::Colors::card(), withOpacity(Tokens::Colors::muted(), 0.45), 1, radius};
    return PaneSurface{Tokens::Colors::card(), Tokens::Colors::lineStrong(), 1, radius};
}

QColor PaneSurface::effectiveFill(Surface surface) const
{
    return surface == Surface::glass ? withOpacity(fill, 0.55) : fill;
}

namespace {

// Panes of a card's size are drawn again and again in the same few looks (a shelf paints one per
// card): they are kept as bitmaps. Larger ones (a list's pane, a window's panel) are drawn directly.
bool keptAsBitmap(const QRectF &rect)
{
    return rect.width() * rect.height() <= 600.0 * 600.0;
}

}  // namespace

void PaneSurface::paintBehind(QPainter &painter, const QRectF &rect, Surface surface) const
{
    const QColor color = effectiveFill(surface);
    if (!keptAsBitmap(rect)) {
        ContinuousShape::fill(painter, rect, radius, color);
        return;
    }
    const double r = radius;
    // The fill is the colour throughout beyond its corners' reach (twice the radius at most).
    PaintMemo::drawFilled(painter, rect, 2 * std::max(r, 0.0) + 1, color,
                          PaintMemo::key(QLatin1StringView("pane.behind"), color.rgba(), r),
                          [color, r](QPainter &p, const QRectF &area) { ContinuousShape::fill(p, area, r, color); });
}

namespace {

// A pane's border as a kept drawing of its edges.
struct BorderDrawing {
    double edge;
    QString key;
    std::function<void(QPainter &, const QRectF &)> paint;
};

BorderDrawing borderDrawing(const PaneSurface &pane)
{
    const QColor color = pane.stroke;
    const double r = pane.radius;
    const double width = pane.lineWidth;
    // The border touches nothing further in than its corners (each within a square of at most
    // two radii a side) or its width.
    return BorderDrawing{std::ceil(std::max(2 * r, 0.0) + width + 1),
                         PaintMemo::key(QLatin1StringView("pane.over"), color.rgba(), width, r),
                         [color, r, width](QPainter &p, const QRectF &area) {
                             ContinuousShape::strokeInside(p, area, r, color, width);
                         }};
}

}  // namespace

void PaneSurface::paintOver(QPainter &painter, const QRectF &rect) const
{
    if (!keptAsBitmap(rect)) {
        ContinuousShape::strokeInside(painter, rect, radius, stroke, lineWidth);
        return;
    }
    const BorderDrawing border = borderDrawing(*this);
    PaintMemo::drawEdges(painter, rect, border.edge, border.key, border.paint);
}

bool PaneSurface::listOver(DrawList &list, const QPainter &painter, const QRectF &rect) const
{
    if (!keptAsBitmap(rect))
        return false;
    const BorderDrawing border = borderDrawing(*this);
    return PaintMemo::listEdges(list, painter, rect, border.edge, border.key, border.paint);
}

void PaneSurface::paint(QPainter &painter, const QRectF &rect, Surface surface) const
{
    paintBehind(painter, rect, surface);
    paintOver(painter, rect);
}

// --- Selected tint ---

namespace SelectedTint {

QColor fill(bool on)
{
    return on ? withOpacity(Tokens::Colors::accent(), 0.14) : QColor(Qt::transparent);
}

QColor stroke(bool on)
{
    return on ? withOpacity(Tokens::Colors::accent(), 0.45) : QColor(Qt::transparent);
}

void paintBehind(QPainter &painter, const QRectF &rect, bool on, double radius)
{
    if (on)
        ContinuousShape::fill(painter, rect, radius, fill(on));
}

void paintOver(QPainter &painter, const QRectF &rect, bool on, double radius)
{
    if (on)
        ContinuousShape::strokeInside(painter, rect, radius, stroke(on), 1);
}

}  // namespace SelectedTint

// --- Dot grid ---

DotGrid::DotGrid(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    followSurface();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        followSurface();
        update();
    });
}

bool DotGrid::coversItself()
{
    return Theme::currentSurface() == Surface::solid && Tokens::Colors::window().alpha() == 255;
}

void DotGrid::followSurface()
{
    setAttribute(Qt::WA_OpaquePaintEvent, coversItself());
}

QList<QPointF> DotGrid::dotOrigins(const QSizeF &size)
{
    QList<QPointF> origins;
    if (!(size.width() >= 0) || !(size.height() >= 0))
        return origins;
    // Each position is index × step, so rounding never drifts across a wide window.
    const auto columns = qsizetype(std::floor(size.width() / kStep)) + 1;
    const auto rows = qsizetype(std::floor(size.height() / kStep)) + 1;
    origins.reserve(columns * rows);
    for (qsizetype i = 0; i < columns; ++i)
        for (qsizetype j = 0; j < rows; ++j)
            origins.append(QPointF(double(i) * kStep, double(j) * kStep));
    return origins;
}

namespace {

// Dots per side of the tile the grid is stamped with.
constexpr int kTileDots = DotGrid::tileSide / int(DotGrid::kStep);

// The dots of kTileDots × kTileDots steps, each drawn as the grid draws one, over nothing: the
// last tile kept for its colour and pixel ratio (a window has one grid, in one colour at a time).
const QPixmap &dotTile(const QColor &colour, double ratio)
{
    static QPixmap tile;
    static QRgb tileColour = 0;
    static double tileRatio = 0;
    if (tile.isNull() || tileColour != colour.rgba() || tileRatio != ratio) {
        const int side = kTileDots * int(DotGrid::kStep);
        QImage image(QSize(side, side) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            for (int i = 0; i < kTileDots; ++i)
                for (int j = 0; j < kTileDots; ++j)
                    p.drawEllipse(QRectF(i * DotGrid::kStep, j * DotGrid::kStep, 1, 1));
        }
        tile = QPixmap::fromImage(std::move(image));
        tileColour = colour.rgba();
        tileRatio = ratio;
    }
    return tile;
}

bool isWhole(double value)
{
    return std::abs(value - std::round(value)) < 1e-9;
}

}  // namespace

void DotGrid::paint(QPainter &painter, const QRectF &rect, Surface surface)
{
    paintExposed(painter, rect, painter.hasClipping() ? painter.clipBoundingRect() : QRectF(), surface);
}

void DotGrid::paintExposed(QPainter &painter, const QRectF &rect, const QRectF &exposed, Surface surface)
{
    if (!(rect.width() >= 0) || !(rect.height() >= 0))
        return;
    painter.save();
    if (surface == Surface::solid)
        painter.fillRect(rect, Tokens::Colors::window());
    painter.translate(rect.topLeft());
    // Only the columns and rows of dots that reach into what is being repainted: a scroll of the
    // content over the grid repaints a part of it, often, and the whole window has thousands of dots.
    // Column i's dot covers [i × step, i × step + 1); the last one may stand on the far edge.
    qsizetype firstColumn = 0;
    qsizetype firstRow = 0;
    auto lastColumn = qsizetype(std::floor(rect.width() / kStep));
    auto lastRow = qsizetype(std::floor(rect.height() / kStep));
    if (!exposed.isNull()) {
        const QRectF area = exposed.translated(-rect.topLeft());
        firstColumn = std::max<qsizetype>(0, qsizetype(std::floor((area.left() - 1) / kStep)) + 1);
        firstRow = std::max<qsizetype>(0, qsizetype(std::floor((area.top() - 1) / kStep)) + 1);
        lastColumn = std::min(lastColumn, qsizetype(std::ceil(area.right() / kStep)) - 1);
        lastRow = std::min(lastRow, qsizetype(std::ceil(area.bottom() / kStep)) - 1);
    }
    if (firstColumn > lastColumn || firstRow > lastRow) {
        painter.restore();
        return;
    }
    const QColor colour = Tokens::Colors::dot();
    const QTransform device = painter.deviceTransform();
    const double ratio = painter.device()->devicePixelRatio();
    if (device.type() <= QTransform::TxScale && device.m11() == ratio && device.m22() == ratio && isWhole(device.dx())
        && isWhole(device.dy())) {
        // On whole pixels every dot is drawn alike: stamped from a tile of them.
        const QPixmap &tile = dotTile(colour, ratio);
        // The area starts on a dot, as the tile does.
        const QRectF area(firstColumn * kStep, firstRow * kStep, (lastColumn - firstColumn) * kStep + 1,
                          (lastRow - firstRow) * kStep + 1);
        painter.drawTiledPixmap(area, tile);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (qsizetype i = firstColumn; i <= lastColumn; ++i)
            for (qsizetype j = firstRow; j <= lastRow; ++j)
                painter.drawEllipse(QRectF(double(i) * kStep, double(j) * kStep, 1, 1));
    }
    painter.restore();
}

bool DotGrid::movesOntoDots(int dy, qreal ratio)
{
    return dy % int(kStep) == 0 && isWhole(dy * ratio);
}

int DotGrid::toWholeSteps(int by)
{
    const int step = int(kStep);
    if (by % step == 0)
        return by;
    return by > 0 ? by + (step - by % step) : by - (step + by % step);
}

const QImage &DotGrid::kept()
{
    const Surface surface = Theme::currentSurface();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    const QRgb window = Tokens::Colors::window().rgba();
    const QRgb dot = Tokens::Colors::dot().rgba();
    // Where a tile of the grid is a whole number of pixels across, the grid is that tile over and
    // over: a frame that repaints the canvas between the cards copies from a few hundred
    // kilobytes that stay in the processor's cache instead of from an image the size of the
    // window, which every frame had to read from memory again.
    const bool tiled = isWhole(tileSide * ratio);
    const QSize wanted = tiled ? QSize(tileSide, tileSide) * ratio : pixels;
    // The dots stand where they stand from the top left whatever the size: a larger image holds
    // a smaller grid whole. So the image only grows, and a column that narrows and widens again
    // (the inspector opening and closing beside it) paints no grid anew.
    const bool sameLook = m_painted.devicePixelRatio() == ratio && m_paintedWindow == window && m_paintedDot == dot
                          && m_paintedSurface == surface && m_tiled == tiled;
    if (!sameLook || m_painted.width() < wanted.width() || m_painted.height() < wanted.height()) {
        const QSize grown = sameLook ? wanted.expandedTo(m_painted.size()) : wanted;
        m_painted = QImage(grown, surface == Surface::solid && qAlpha(window) == 255 ? QImage::Format_RGB32
                                                                                     : QImage::Format_ARGB32_Premultiplied);
        m_painted.setDevicePixelRatio(ratio);
        m_painted.fill(Qt::transparent);
        QPainter onImage(&m_painted);
        paintExposed(onImage, QRectF(QPointF(0, 0), QSizeF(grown) / ratio), QRectF(), surface);
        m_paintedWindow = window;
        m_paintedDot = dot;
        m_paintedSurface = surface;
        m_tiled = tiled;
    }
    return m_painted;
}

void DotGrid::paintPart(QPainter &painter, const QRect &exposed, const QPoint &at)
{
    copyPart(painter, exposed, at);
}

void DotGrid::listPart(DrawList &list, const QRect &exposed, const QPoint &at)
{
    copyPart(list, exposed, at);
}

template <typename Target>
void DotGrid::copyPart(Target &painter, const QRect &exposed, const QPoint &at)
{
    const QImage &image = kept();
    const qreal ratio = image.devicePixelRatio();
    const auto copy = [&](const QRect &part, const QPoint &from) {
        painter.drawImage(QRectF(at + part.topLeft() - exposed.topLeft(), part.size()), image,
                          QRectF(QPointF(from) * ratio, QSizeF(part.size()) * ratio));
    };
    if (!m_tiled) {
        copy(exposed, exposed.topLeft());
        return;
    }
    // Each part of `exposed` (which lies within the grid) within one repeat of the tile, from its
    // place in the tile.
    for (int row = exposed.top() / tileSide; row <= exposed.bottom() / tileSide; ++row) {
        for (int column = exposed.left() / tileSide; column <= exposed.right() / tileSide; ++column) {
            const QPoint origin(column * tileSide, row * tileSide);
            const QRect part = exposed & QRect(origin, QSize(tileSide, tileSide));
            if (!part.isEmpty())
                copy(part, part.topLeft() - origin);
        }
    }
}

void DotGrid::paintEvent(QPaintEvent *event)
{
    QRegion region = event->region();
    if (m_coveredBy && m_coveredBy->isVisible() && m_coveredBy->testAttribute(Qt::WA_OpaquePaintEvent)) {
        const QWidget *top = window();
        region -= QRect(mapFrom(top, m_coveredBy->mapTo(top, QPoint())), m_coveredBy->size());
    }
    if (region.isEmpty())
        return;
    QPainter painter(this);
    paintRectWise(painter, region, [&](const QRect &exposed) { paintPart(painter, exposed, exposed.topLeft()); });
}

}  // namespace sw
