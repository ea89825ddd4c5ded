#include "Stashwell/Window/ProgressiveBlur.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QScopedValueRollback>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw::app {

namespace {

// True while a band paints the content beneath it.
bool g_rendering = false;

// A band that takes longer than this to paint (on average) moves the view to a cheaper level.
constexpr double kBudgetMs = 1.0;
// Paints at a level before it is judged: the first ones also make the buffers.
constexpr int kJudgedAfter = 8;

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

// One box pass along rows (or columns) of a premultiplied ARGB32 image, edges clamped.
void boxPass(QImage &image, int radius, bool horizontal, std::vector<quint32> &line)
{
    if (radius <= 0)
        return;
    const int length = horizontal ? image.width() : image.height();
    const int lines = horizontal ? image.height() : image.width();
    const qsizetype stride = image.bytesPerLine() / 4;
    auto *bits = reinterpret_cast<quint32 *>(image.bits());
    const qsizetype step = horizontal ? 1 : stride;
    const int window = 2 * radius + 1;
    line.resize(std::size_t(length));
    for (int l = 0; l < lines; ++l) {
        quint32 *start = horizontal ? bits + l * stride : bits + l;
        for (int i = 0; i < length; ++i)
            line[std::size_t(i)] = start[i * step];
        auto at = [&](int i) { return line[std::size_t(std::clamp(i, 0, length - 1))]; };
        int sum[4] = {0, 0, 0, 0};
        for (int i = -radius; i <= radius; ++i) {
            const quint32 p = at(i);
            for (int c = 0; c < 4; ++c)
                sum[c] += int((p >> (8 * c)) & 0xff);
        }
        for (int i = 0; i < length; ++i) {
            quint32 out = 0;
            for (int c = 0; c < 4; ++c)
                out |= quint32(sum[c] / window) << (8 * c);
            start[i * step] = out;
            const quint32 in = at(i + radius + 1);
            const quint32 gone = at(i - radius);
            for (int c = 0; c < 4; ++c)
                sum[c] += int((in >> (8 * c)) & 0xff) - int((gone >> (8 * c)) & 0xff);
        }
    }
}

// Scales every pixel of each row by that row's alpha (the image is premultiplied, so all four
// channels scale together).
void applyRows(QImage &image, const std::vector<float> &rows)
{
    for (int y = 0; y < image.height(); ++y) {
        const float alpha = rows.empty() ? 0.f : rows[std::min<std::size_t>(std::size_t(y), rows.size() - 1)];
        const quint32 factor = quint32(std::lround(std::clamp(alpha, 0.f, 1.f) * 256.f));
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        if (factor >= 256)
            continue;
        for (int x = 0; x < image.width(); ++x) {
            const quint32 p = line[x];
            const quint32 rb = (((p & 0x00ff00ffu) * factor) >> 8) & 0x00ff00ffu;
            const quint32 ag = (((p >> 8) & 0x00ff00ffu) * factor) & 0xff00ff00u;
            line[x] = rb | ag;
        }
    }
}

void reuse(QImage &image, const QSize &size)
{
    if (image.size() != size)
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
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
        ProgressiveBlurView::of(*overlay, vertical)->paint(painter, band, *source);
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
}

void ProgressiveBlurView::setQuality(int level)
{
    m_level = std::clamp(level, 0, kLevels - 1);
    m_averageMs = 0;
    m_samples = 0;
}

int ProgressiveBlurView::levelAfter(int level, double averageMs, int samples)
{
    if (samples >= kJudgedAfter && averageMs > kBudgetMs && level < kLevels - 1)
        return level + 1;
    return level;
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
    ++m_rebuilds;
    return true;
}

void ProgressiveBlurView::paint(QPainter &painter, const QRectF &band, QWidget &source)
{
    QElapsedTimer timer;
    timer.start();
    if (!prepare(band.height()))
        return;
    const QRect area = band.toAlignedRect() & source.rect();
    if (area.isEmpty())
        return;

    // What the source paints under the band, at a fraction of its size: downscaling is itself the
    // light blur of the content layer.
    const int scale = kContentScale[std::size_t(m_level)];
    const QSize smallSize((area.width() + scale - 1) / scale, (area.height() + scale - 1) / scale);
    reuse(m_small, smallSize);
    m_small.fill(Qt::transparent);
    {
        QPainter into(&m_small);
        into.scale(1.0 / scale, 1.0 / scale);
        into.translate(-area.topLeft());
        // What the source and its children paint (a scroll area's viewport is a child), without the
        // source's background role, which would cover the window's surface. The overlay painting
        // this band is a child too: while the source renders, every frost draws nothing.
        const QScopedValueRollback<bool> guard(g_rendering, true);
        source.render(&into, area.topLeft(), QRegion(area), QWidget::DrawChildren);
    }

    // The frost: half as large again, box passes standing in for the gaussian, then the matrix.
    const QSize frostSize(std::max(1, smallSize.width() / 2), std::max(1, smallSize.height() / 2));
    m_blurred = m_small.scaled(frostSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const int passes = kPasses[std::size_t(m_level)];
    const int radius = boxRadius(ProgressiveBlur::kFrostRadius / double(scale * 2), passes);
    std::vector<quint32> line;
    for (int pass = 0; pass < passes; ++pass) {
        boxPass(m_blurred, radius, true, line);
        boxPass(m_blurred, radius, false, line);
    }
    ProgressiveBlur::applyColorMatrix(m_blurred);

    // Both layers at the band's size, each row at its own strength; content below, frost above.
    // The rows were built for the band's height; the pixel rows follow them one to one.
    reuse(m_content, area.size());
    reuse(m_frostLayer, area.size());
    {
        m_content.fill(Qt::transparent);
        QPainter up(&m_content);
        up.setCompositionMode(QPainter::CompositionMode_Source);
        up.setRenderHint(QPainter::SmoothPixmapTransform);
        up.drawImage(QRect(QPoint(), area.size()), m_small);
    }
    {
        m_frostLayer.fill(Qt::transparent);
        QPainter up(&m_frostLayer);
        up.setCompositionMode(QPainter::CompositionMode_Source);
        up.setRenderHint(QPainter::SmoothPixmapTransform);
        up.drawImage(QRect(QPoint(), area.size()), m_blurred);
    }
    const int offset = int(std::lround(area.top() - band.top()));
    auto rowsFrom = [offset](const std::vector<float> &rows) {
        std::vector<float> shifted;
        for (std::size_t i = std::size_t(std::max(0, offset)); i < rows.size(); ++i)
            shifted.push_back(rows[i]);
        return shifted;
    };
    applyRows(m_content, rowsFrom(m_mask));
    applyRows(m_frostLayer, rowsFrom(m_frost));
    painter.drawImage(area.topLeft(), m_content);
    painter.drawImage(area.topLeft(), m_frostLayer);

    const double ms = double(timer.nsecsElapsed()) / 1e6;
    m_averageMs = m_samples == 0 ? ms : 0.8 * m_averageMs + 0.2 * ms;
    const int next = levelAfter(m_level, m_averageMs, ++m_samples);
    if (next != m_level)
        setQuality(next);
}

}  // namespace sw::app
