#include "Stashwell/Window/ProgressiveBlur.h"

#include <QBackingStore>
#include <QEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPaintEvent>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>

namespace sw::app {

namespace {

// True while a band paints the content beneath it.
bool g_rendering = false;

// Per level: how much smaller than the band the content is painted, and how many box passes
// stand in for the frost's gaussian.
constexpr std::array<int, ProgressiveBlurView::kLevels> kContentScale{2, 3, 4};
constexpr std::array<int, ProgressiveBlurView::kLevels> kPasses{3, 2, 1};

// The half width of a box that, run `passes` times, spreads like a gaussian of `sigma` pixels.
int boxRadius(double sigma, int passes)
{
    const double width = std::sqrt(12.0 * sigma * sigma / passes + 1.0);
    return std::max(0, int(std::lround((width - 1.0) / 2.0)));
}

// sum / window as a multiplication: exact for sums of at most window × 255.
inline quint32 reciprocalOf(int window)
{
    return (1u << 24) / quint32(window) + 1;
}

inline quint32 packed(const quint32 *sum, quint32 reciprocal)
{
    return ((sum[0] * reciprocal) >> 24) | ((sum[1] * reciprocal) >> 24) << 8 | ((sum[2] * reciprocal) >> 24) << 16
        | ((sum[3] * reciprocal) >> 24) << 24;
}

inline void addTo(quint32 *sum, quint32 in, quint32 gone)
{
    sum[0] += (in & 0xff) - (gone & 0xff);
    sum[1] += ((in >> 8) & 0xff) - ((gone >> 8) & 0xff);
    sum[2] += ((in >> 16) & 0xff) - ((gone >> 16) & 0xff);
    sum[3] += (in >> 24) - (gone >> 24);
}

// One box pass along the rows of a premultiplied ARGB32 image, edges clamped. `line` holds a row
// with its clamped margins, so the running sums need no bounds checks.
void boxPassRows(QImage &image, int radius, std::vector<quint32> &line)
{
    if (radius <= 0)
        return;
    const int length = image.width();
    const int window = 2 * radius + 1;
    const quint32 reciprocal = reciprocalOf(window);
    line.resize(std::size_t(length + 2 * radius + 1));
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(image.scanLine(y));
        std::fill(line.begin(), line.begin() + radius, row[0]);
        std::copy(row, row + length, line.begin() + radius);
        std::fill(line.begin() + radius + length, line.end(), row[length - 1]);
        quint32 sum[4] = {0, 0, 0, 0};
        for (int i = 0; i < window; ++i)
            addTo(sum, line[std::size_t(i)], 0);
        for (int i = 0; i < length; ++i) {
            row[i] = packed(sum, reciprocal);
            addTo(sum, line[std::size_t(i + window)], line[std::size_t(i)]);
        }
    }
}

// The same down the columns, all columns at once a row at a time (rows are what lies together in
// memory): `copy` keeps the rows as they were, `sums` the running sums of each column.
void boxPassColumns(QImage &image, int radius, std::vector<quint32> &copy, std::vector<quint32> &sums)
{
    if (radius <= 0)
        return;
    const int width = image.width();
    const int height = image.height();
    const quint32 reciprocal = reciprocalOf(2 * radius + 1);
    copy.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        std::copy(row, row + width, copy.begin() + std::ptrdiff_t(y) * width);
    }
    auto rowOf = [&](int y) { return copy.data() + std::ptrdiff_t(std::clamp(y, 0, height - 1)) * width; };
    sums.assign(std::size_t(width) * 4, 0);
    for (int i = -radius; i <= radius; ++i) {
        const quint32 *row = rowOf(i);
        for (int x = 0; x < width; ++x)
            addTo(sums.data() + 4 * x, row[x], 0);
    }
    for (int y = 0; y < height; ++y) {
        auto *out = reinterpret_cast<quint32 *>(image.scanLine(y));
        const quint32 *in = rowOf(y + radius + 1);
        const quint32 *gone = rowOf(y - radius);
        for (int x = 0; x < width; ++x) {
            quint32 *sum = sums.data() + 4 * x;
            out[x] = packed(sum, reciprocal);
            addTo(sum, in[x], gone[x]);
        }
    }
}

// A premultiplied pixel times factor/256 (factor 0 to 256): all four channels scale together.
inline quint32 scaled(quint32 p, quint32 factor)
{
    const quint32 rb = (((p & 0x00ff00ffu) * factor) >> 8) & 0x00ff00ffu;
    const quint32 ag = (((p >> 8) & 0x00ff00ffu) * factor) & 0xff00ff00u;
    return rb | ag;
}

// `from` at half its size, rounded up (each pixel the mean of four, the last ones repeated), into `to`.
void halve(const QImage &from, QImage &to)
{
    const int w = to.width();
    const int h = to.height();
    const int lastX = from.width() - 1;
    const int lastY = from.height() - 1;
    for (int y = 0; y < h; ++y) {
        const auto *a = reinterpret_cast<const quint32 *>(from.constScanLine(std::min(2 * y, lastY)));
        const auto *b = reinterpret_cast<const quint32 *>(from.constScanLine(std::min(2 * y + 1, lastY)));
        auto *out = reinterpret_cast<quint32 *>(to.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int x0 = std::min(2 * x, lastX);
            const int x1 = std::min(2 * x + 1, lastX);
            const quint32 p[4] = {a[x0], a[x1], b[x0], b[x1]};
            quint32 rb = 0;
            quint32 ag = 0;
            for (const quint32 q : p) {
                rb += q & 0x00ff00ffu;
                ag += (q >> 8) & 0x00ff00ffu;
            }
            out[x] = (((rb + 0x00020002u) >> 2) & 0x00ff00ffu) | ((((ag + 0x00020002u) >> 2) & 0x00ff00ffu) << 8);
        }
    }
}

// Adds each `block` pixels of a line `length` long (the last ones maybe fewer) to one place of the
// sums: red and blue to `rbs`, alpha and green to `ags`. `Block` fixes the block's width where it
// is one of the usual ones (0: `block` says it).
template <int Block>
void sumBlocks(const quint32 *in, int length, quint32 opaque, std::vector<quint32> &rbs, std::vector<quint32> &ags,
               int block = Block)
{
    const int size = Block > 0 ? Block : block;
    const int whole = length / size;
    for (int x = 0; x < whole; ++x) {
        quint32 rb = 0;
        quint32 ag = 0;
        for (int c = 0; c < size; ++c) {
            const quint32 p = in[x * size + c] | opaque;
            rb += p & 0x00ff00ffu;
            ag += (p >> 8) & 0x00ff00ffu;
        }
        rbs[std::size_t(x)] += rb;
        ags[std::size_t(x)] += ag;
    }
    if (whole * size < length) {
        quint32 rb = 0;
        quint32 ag = 0;
        for (int at = whole * size; at < length; ++at) {
            const quint32 p = in[at] | opaque;
            rb += p & 0x00ff00ffu;
            ag += (p >> 8) & 0x00ff00ffu;
        }
        rbs[std::size_t(whole)] += rb;
        ags[std::size_t(whole)] += ag;
    }
}

// What the window's buffer holds under `area` (in the painter's coordinates), each `scale` by
// `scale` block of it one pixel of `small` (the mean of the block; a block cut by the area's edge
// the mean of what it holds). The content beneath a band has just painted there when the whole band
// is repainted, so this is what rendering the content again would give, at a fraction of the cost.
// False, and nothing done, where the painter does not paint into its window's buffer (a grab, an
// image) or the area does not fall on whole device pixels at a whole number of them per pixel.
bool shrinkFromBuffer(QPainter &painter, const QWidget &overlay, const QRect &area, int scale, QImage &small)
{
    const QWidget *window = overlay.window();
    QBackingStore *store = window ? window->backingStore() : nullptr;
    const QPaintEngine *engine = painter.paintEngine();
    if (!store || !engine || !store->paintDevice() || engine->paintDevice() != store->paintDevice()
        || store->paintDevice()->devType() != QInternal::Image)
        return false;
    const auto *buffer = static_cast<const QImage *>(store->paintDevice());
    if (buffer->format() != QImage::Format_ARGB32_Premultiplied && buffer->format() != QImage::Format_RGB32)
        return false;
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxScale || toDevice.m11() != toDevice.m22())
        return false;
    const double exactBlock = double(scale) * toDevice.m11();
    const int block = int(std::lround(exactBlock));
    const QRectF exactRect = toDevice.mapRect(QRectF(area));
    const QRect rect = exactRect.toRect();
    if (block < 1 || std::abs(exactBlock - block) > 1e-6 || QRectF(rect) != exactRect || !buffer->rect().contains(rect))
        return false;
    // Each block's channels are summed two to a word (red with blue, alpha with green): a block of
    // up to 16 by 16 pixels sums to no more than 16 bits a channel.
    if (block > 16)
        return false;
    const quint32 opaque = buffer->format() == QImage::Format_RGB32 ? 0xff000000u : 0;
    const quint32 whole = reciprocalOf(block * block);
    const int width = small.width();
    std::vector<quint32> rbs(static_cast<std::size_t>(width));
    std::vector<quint32> ags(static_cast<std::size_t>(width));
    for (int y = 0; y < small.height(); ++y) {
        const int top = rect.top() + y * block;
        const int rows = std::min(block, rect.bottom() + 1 - top);
        std::fill(rbs.begin(), rbs.end(), 0);
        std::fill(ags.begin(), ags.end(), 0);
        for (int r = 0; r < rows; ++r) {
            const auto *in = reinterpret_cast<const quint32 *>(buffer->constScanLine(top + r)) + rect.left();
            // The levels' blocks (2, 3 and 4 pixels at a scale of one) with the block's width known.
            if (block == 2)
                sumBlocks<2>(in, rect.width(), opaque, rbs, ags);
            else if (block == 3)
                sumBlocks<3>(in, rect.width(), opaque, rbs, ags);
            else if (block == 4)
                sumBlocks<4>(in, rect.width(), opaque, rbs, ags);
            else
                sumBlocks<0>(in, rect.width(), opaque, rbs, ags, block);
        }
        auto *out = reinterpret_cast<quint32 *>(small.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int columns = std::min(block, rect.width() - x * block);
            const quint32 rb = rbs[std::size_t(x)];
            const quint32 ag = ags[std::size_t(x)];
            const quint32 sum[4] = {rb & 0xffffu, ag & 0xffffu, rb >> 16, ag >> 16};
            out[x] = packed(sum, rows == block && columns == block ? whole : reciprocalOf(std::max(1, rows * columns)));
        }
    }
    return true;
}

void reuse(QImage &image, const QSize &size)
{
    if (image.size() != size)
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
}

// Paints what `source` and its children show in `area` with `into`, leaving out the soft scroll
// edge overlays among the children: the overlay painting the band is in its own paint event, and
// painting it again from there is a recursive repaint.
void renderUnder(QWidget &source, QPainter &into, const QRect &area)
{
    // The source's own paint, without its background role (it would cover the window's surface).
    source.render(&into, area.topLeft(), QRegion(area), {});
    for (QObject *object : source.children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || child->isHidden() || qobject_cast<SoftScrollEdges *>(child))
            continue;
        const QRect part = area & child->geometry();
        if (part.isEmpty())
            continue;
        const QRect inChild = part.translated(-child->pos());
        child->render(&into, part.topLeft(), QRegion(inChild), QWidget::DrawChildren);
    }
}

}  // namespace

double ProgressiveBlur::strength(VerticalEdge edge, double t)
{
    const double w = edge == VerticalEdge::bottom ? t : 1.0 - t;
    const double a = std::clamp(w / 0.9, 0.0, 1.0);
    return a * a * a * (a * (6.0 * a - 15.0) + 10.0);
}

std::array<ProgressiveBlur::Stop, ProgressiveBlur::kStops> ProgressiveBlur::gradient(VerticalEdge edge)
{
    std::array<Stop, kStops> stops{};
    for (int i = 0; i < kStops; ++i) {
        const double t = double(i) / double(kStops - 1);
        stops[std::size_t(i)] = Stop{t, kFrostAlpha * strength(edge, t)};
    }
    return stops;
}

std::optional<std::vector<float>> ProgressiveBlur::maskRows(VerticalEdge edge, double height)
{
    if (!std::isfinite(height) || height <= 0 || height > double(std::numeric_limits<int>::max() / 4))
        return std::nullopt;
    const int n = std::max(2, int(std::ceil(height)));
    std::vector<float> rows(std::size_t(n), 0.f);
    for (int i = 0; i < n; ++i)
        rows[std::size_t(i)] = float(strength(edge, double(i) / double(n - 1)));
    return rows;
}

std::vector<float> ProgressiveBlur::frostRows(VerticalEdge edge, int rows)
{
    const std::array<Stop, kStops> stops = gradient(edge);
    std::vector<float> out(std::size_t(std::max(0, rows)), 0.f);
    for (int i = 0; i < rows; ++i) {
        const double t = (double(i) + 0.5) / double(rows);
        const double at = t * double(kStops - 1);
        const int below = std::clamp(int(std::floor(at)), 0, kStops - 2);
        const double f = at - double(below);
        out[std::size_t(i)] = float(stops[std::size_t(below)].alpha * (1.0 - f) + stops[std::size_t(below) + 1].alpha * f);
    }
    return out;
}

void ProgressiveBlur::applyColorMatrix(QImage &image)
{
    // Fixed point in 1/4096; premultiplied colours stay within their alpha because each row's
    // weights are non-negative and sum to 1.
    std::array<int, 9> m{};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            m[std::size_t(row * 3 + col)] = int(std::lround(kColorMatrix[std::size_t(row * 5 + col)] * 4096.f));
    }
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const quint32 p = line[x];
            const int a = int(p >> 24);
            const int r = int((p >> 16) & 0xff);
            const int g = int((p >> 8) & 0xff);
            const int b = int(p & 0xff);
            auto out = [&](int row) {
                const int v = (m[std::size_t(row * 3)] * r + m[std::size_t(row * 3 + 1)] * g + m[std::size_t(row * 3 + 2)] * b + 2048) >> 12;
                return quint32(std::clamp(v, 0, a));
            };
            line[x] = quint32(a) << 24 | out(0) << 16 | out(1) << 8 | out(2);
        }
    }
}

ScrollEdgeFrost ProgressiveBlur::frost()
{
    return [](QPainter &painter, const QRectF &band, Qt::Edge edge) {
        // The band is painted by an overlay lying over the scrolling content it frosts.
        if (g_rendering)
            return;
        auto *overlay = dynamic_cast<QWidget *>(painter.device());
        QWidget *source = overlay ? overlay->parentWidget() : nullptr;
        if (!source || (edge != Qt::TopEdge && edge != Qt::BottomEdge))
            return;
        const VerticalEdge vertical = edge == Qt::TopEdge ? VerticalEdge::top : VerticalEdge::bottom;
        FrostMeter *meter = FrostMeter::of(*overlay);
        // A band outside what is being repainted would be clipped away whole.
        if (!meter->needs(band))
            return;
        // The bottom band paints after the top one: where they meet (a very short area) the buffer
        // holds the top band's frost, not the content.
        const auto *edges = qobject_cast<const SoftScrollEdges *>(overlay);
        const std::optional<QRectF> top = edges && edge == Qt::BottomEdge ? edges->band(Qt::TopEdge) : std::nullopt;
        const bool freshBeneath = meter->repaintsWhole(band) && !(top && top->intersects(band));
        const double start = FrostMeter::threadCpuMs();
        ProgressiveBlurView::of(*overlay, vertical)->paint(painter, band, *source, freshBeneath);
        meter->bandPainted(band, FrostMeter::threadCpuMs() - start);
    };
}

ProgressiveBlurView::ProgressiveBlurView(QObject *parent) : QObject(parent) {}

ProgressiveBlurView *ProgressiveBlurView::of(QWidget &overlay, VerticalEdge edge)
{
    const QString name = edge == VerticalEdge::top ? QStringLiteral("sw.progressiveBlur.top") : QStringLiteral("sw.progressiveBlur.bottom");
    auto *view = overlay.findChild<ProgressiveBlurView *>(name, Qt::FindDirectChildrenOnly);
    if (!view) {
        view = new ProgressiveBlurView(&overlay);
        view->setObjectName(name);
        view->setEdge(edge);
    }
    return view;
}

void ProgressiveBlurView::setEdge(VerticalEdge edge)
{
    if (edge == m_edge)
        return;
    m_edge = edge;
    m_drawn.reset();
    m_scaledFor = {0, 0, 0};
}

void ProgressiveBlurView::setQuality(int level)
{
    m_level = std::clamp(level, 0, kLevels - 1);
}

int ProgressiveBlurView::levelAfter(int level, const FrameCosts &costs)
{
    if (level >= kLevels - 1 || costs.frames < kJudgedAfter)
        return level;
    // A frame that was not measured says nothing.
    if (!(costs.frameMs > 0) || !std::isfinite(costs.frameMs) || !std::isfinite(costs.frostMs))
        return level;
    const bool overShare = costs.frostMs > kAllowedShare * costs.frameMs;
    const bool overBudget = costs.frostMs > kFrostBudgetMs;
    return overShare || overBudget ? level + 1 : level;
}

bool ProgressiveBlurView::prepare(double height)
{
    if (!(height > 0))
        return false;
    if (m_drawn && m_drawn->edge == m_edge && m_drawn->height == height)
        return true;
    std::optional<std::vector<float>> mask = ProgressiveBlur::maskRows(m_edge, height);
    if (!mask)
        return false;   // what was built stays, so a usable height later builds again
    m_mask = std::move(*mask);
    m_frost = ProgressiveBlur::frostRows(m_edge, int(m_mask.size()));
    m_drawn = Drawn{m_edge, height};
    m_scaledFor = {0, 0, 0};
    ++m_rebuilds;
    return true;
}

void ProgressiveBlurView::prepareScaledRows(int scale, int offset, int rows)
{
    if (m_scaledFor == std::array<int, 3>{scale, offset, rows})
        return;
    m_scaledFor = {scale, offset, rows};
    // Each scaled row stands for `scale` band rows: the mean of their values.
    auto factors = [&](const std::vector<float> &values, std::vector<quint32> &out) {
        out.assign(std::size_t(rows), 0);
        for (int y = 0; y < rows; ++y) {
            double sum = 0;
            for (int r = 0; r < scale; ++r) {
                const std::size_t at = std::size_t(std::clamp(offset + y * scale + r, 0, int(values.size()) - 1));
                sum += values[at];
            }
            out[std::size_t(y)] = quint32(std::lround(std::clamp(sum / scale, 0.0, 1.0) * 256.0));
        }
    };
    factors(m_mask, m_contentFactors);
    factors(m_frost, m_frostFactors);
}

void ProgressiveBlurView::paint(QPainter &painter, const QRectF &band, QWidget &source, bool freshBeneath)
{
    if (!prepare(band.height()))
        return;
    // The band's rows keep their strengths; only the part the painter's clip leaves is worked out.
    QRect area = band.toAlignedRect() & source.rect();
    if (painter.hasClipping())
        area &= painter.clipBoundingRect().toAlignedRect();
    if (area.isEmpty())
        return;

    // What the source paints under the band, at a fraction of its size: downscaling is itself the
    // light blur of the content layer.
    const int scale = kContentScale[std::size_t(m_level)];
    const QSize smallSize((area.width() + scale - 1) / scale, (area.height() + scale - 1) / scale);
    reuse(m_small, smallSize);
    const auto *overlay = dynamic_cast<const QWidget *>(painter.device());
    if (!freshBeneath || !overlay || !shrinkFromBuffer(painter, *overlay, area, scale, m_small)) {
        m_small.fill(Qt::transparent);
        QPainter into(&m_small);
        into.scale(1.0 / scale, 1.0 / scale);
        into.translate(-area.topLeft());
        // Any frost nested in the content draws nothing while it is painted here.
        const QScopedValueRollback<bool> guard(g_rendering, true);
        renderUnder(source, into, area);
    }

    // The frost: half as large again, box passes standing in for the gaussian, then the matrix,
    // then back at the content's scale.
    reuse(m_blurred, QSize((smallSize.width() + 1) / 2, (smallSize.height() + 1) / 2));
    halve(m_small, m_blurred);
    const int passes = kPasses[std::size_t(m_level)];
    const int radius = boxRadius(ProgressiveBlur::kFrostRadius / double(scale * 2), passes);
    for (int pass = 0; pass < passes; ++pass) {
        boxPassRows(m_blurred, radius, m_line);
        boxPassColumns(m_blurred, radius, m_line, m_sums);
    }
    ProgressiveBlur::applyColorMatrix(m_blurred);
    reuse(m_frostSmall, smallSize);
    {
        QPainter up(&m_frostSmall);
        up.setCompositionMode(QPainter::CompositionMode_Source);
        up.setRenderHint(QPainter::SmoothPixmapTransform);
        up.drawImage(QRectF(QPointF(), QSizeF(smallSize)), m_blurred,
                     QRectF(0, 0, smallSize.width() / 2.0, smallSize.height() / 2.0));
    }

    // Both layers in one, each row at its own strength: the frost over the content. The rows were
    // built for the band's height; each scaled row takes the mean of the band rows it stands for.
    const int offset = int(std::lround(area.top() - band.top()));
    prepareScaledRows(scale, offset, smallSize.height());
    for (int y = 0; y < smallSize.height(); ++y) {
        const quint32 contentFactor = m_contentFactors[std::size_t(y)];
        const quint32 frostFactor = m_frostFactors[std::size_t(y)];
        auto *content = reinterpret_cast<quint32 *>(m_small.scanLine(y));
        const auto *frost = reinterpret_cast<const quint32 *>(m_frostSmall.constScanLine(y));
        for (int x = 0; x < smallSize.width(); ++x) {
            const quint32 f = scaled(frost[x], frostFactor);
            // Source over: the content shows through what the frost leaves.
            const quint32 through = 256 - ((f >> 24) + ((f >> 24) >> 7));
            content[x] = f + scaled(scaled(content[x], contentFactor), through);
        }
    }

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(area), m_small, QRectF(0, 0, area.width() / double(scale), area.height() / double(scale)));
    painter.restore();
}

// --- FrostMeter ---

double FrostMeter::threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

FrostMeter::FrostMeter(QWidget &overlay) : QObject(&overlay), m_overlay(&overlay)
{
    setObjectName(QStringLiteral("sw.frostMeter"));
    overlay.installEventFilter(this);
}

FrostMeter *FrostMeter::of(QWidget &overlay)
{
    auto *meter = overlay.findChild<FrostMeter *>(QStringLiteral("sw.frostMeter"), Qt::FindDirectChildrenOnly);
    return meter ? meter : new FrostMeter(overlay);
}

bool FrostMeter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_overlay && event->type() == QEvent::Paint && !g_rendering) {
        // The overlay paints last in a frame: what the thread did since the last bands is the
        // frame without them (the scroll, the content's paint, whatever else ran).
        finishFrame();
        m_frameMs = m_lastBandEnd >= 0 ? threadCpuMs() - m_lastBandEnd : -1;
        m_frostMs = 0;
        m_partial = false;
        m_region = static_cast<QPaintEvent *>(event)->region();
    }
    return QObject::eventFilter(watched, event);
}

bool FrostMeter::needs(const QRectF &band) const
{
    return m_region.isEmpty() || m_region.intersects(band.toAlignedRect());
}

bool FrostMeter::repaintsWhole(const QRectF &band) const
{
    const QRect whole = m_overlay ? band.toAlignedRect() & m_overlay->rect() : QRect();
    return !m_region.isEmpty() && QRegion(whole).subtracted(m_region).isEmpty();
}

void FrostMeter::bandPainted(const QRectF &band, double ms)
{
    m_frostMs += ms;
    m_lastBandEnd = threadCpuMs();
    // A band repainted for a small part of it (a card's hover under it, say) costs the whole band
    // next to a small frame: such frames say nothing about a scroll, which repaints all of it.
    if (!m_region.isEmpty() && !repaintsWhole(band))
        m_partial = true;
}

void FrostMeter::finishFrame()
{
    const double frame = m_frameMs;
    const double frost = m_frostMs;
    const bool partial = m_partial;
    m_frameMs = -1;
    m_frostMs = 0;
    m_partial = false;
    if (frame > 0 && frost > 0 && !partial)
        add(frame, frost);
}

void FrostMeter::add(double frameMs, double frostMs)
{
    m_frames[std::size_t(m_next)] = frameMs;
    m_frosts[std::size_t(m_next)] = frostMs;
    m_next = (m_next + 1) % kKept;
    m_count = std::min(m_count + 1, kKept);
    if (!m_overlay)
        return;
    const FrameCosts measured = costs();
    bool changed = false;
    for (ProgressiveBlurView *view : m_overlay->findChildren<ProgressiveBlurView *>(Qt::FindDirectChildrenOnly)) {
        const int next = ProgressiveBlurView::levelAfter(view->quality(), measured);
        if (next != view->quality()) {
            view->setQuality(next);
            changed = true;
        }
    }
    // What was measured at the old level says nothing about the new one.
    if (changed) {
        m_count = 0;
        m_next = 0;
    }
}

FrameCosts FrostMeter::costs() const
{
    auto median = [this](const std::array<double, kKept> &values) {
        std::array<double, kKept> sorted = values;
        std::sort(sorted.begin(), sorted.begin() + m_count);
        return m_count == 0 ? 0.0 : m_count % 2 ? sorted[std::size_t(m_count / 2)] : (sorted[std::size_t(m_count / 2 - 1)] + sorted[std::size_t(m_count / 2)]) / 2;
    };
    return FrameCosts{median(m_frames), median(m_frosts), m_count};
}

}  // namespace sw::app
