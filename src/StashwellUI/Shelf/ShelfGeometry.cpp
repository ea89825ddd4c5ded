#include "StashwellUI/Shelf/ShelfGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace sw {

// --- ItemGeometry ---

ItemGeometry ItemGeometry::grid(qsizetype columns, double spacing, std::vector<std::uint8_t> classes,
                                std::vector<double> heights)
{
    ItemGeometry g;
    g.m_grid = true;
    g.m_count = qsizetype(classes.size());
    g.m_columns = std::max<qsizetype>(columns, 1);
    g.m_spacing = spacing;
    g.m_classes = std::move(classes);
    g.m_heights = std::move(heights);
    g.measureRows();
    return g;
}

ItemGeometry ItemGeometry::list(qsizetype count, double rowHeight, double divider)
{
    ItemGeometry g;
    g.m_grid = false;
    g.m_count = std::max<qsizetype>(count, 0);
    g.m_columns = 1;
    g.m_spacing = divider;
    g.m_rowHeight = rowHeight;
    return g;
}

qsizetype ItemGeometry::rowCount() const
{
    return (m_count + m_columns - 1) / m_columns;
}

ItemGeometry::Range ItemGeometry::rowItems(qsizetype row) const
{
    return Range{std::min(row * m_columns, m_count), std::min((row + 1) * m_columns, m_count)};
}

void ItemGeometry::setColumns(qsizetype columns)
{
    if (!m_grid)
        return;
    columns = std::max<qsizetype>(columns, 1);
    if (columns == m_columns)
        return;
    m_columns = columns;
    measureRows();
}

double ItemGeometry::columnWidth() const
{
    if (!m_grid)
        return std::max(0.0, m_width);
    const double w = (m_width - m_spacing * double(m_columns - 1)) / double(m_columns);
    return w > 0 ? w : 0;
}

double ItemGeometry::itemHeight(qsizetype index) const
{
    if (!m_grid)
        return m_rowHeight;
    const std::uint8_t c = m_classes[std::size_t(index)];
    return c < m_heights.size() ? m_heights[c] : 0;
}

void ItemGeometry::measureRows()
{
    const qsizetype rows = rowCount();
    m_rowTops.assign(std::size_t(rows) + 1, 0);
    // A row is as tall as the tallest class among its items. The classes a row holds are gathered
    // as bits, and a table gives each set of classes its height: comparing the items' heights one
    // by one guesses wrong wherever text cards and media cards alternate, which a search's list
    // of tens of thousands does at random. A class without a height (and one past the bits) is 0.
    // More classes than bits take each item's height in turn.
    const bool bySet = m_heights.size() <= kClassesAsBits;
    std::array<double, std::size_t(1) << kClassesAsBits> tallest{};
    for (std::size_t set = 1; bySet && set < tallest.size(); ++set) {
        for (std::size_t c = 0; c < m_heights.size(); ++c) {
            if (set & (std::size_t(1) << c))
                tallest[set] = std::max(tallest[set], m_heights[c]);
        }
    }
    const std::uint8_t *classes = m_classes.data();
    const auto heightOf = [&](qsizetype row) {
        if (!bySet)
            return rowHeight(row);
        const qsizetype end = std::min((row + 1) * m_columns, m_count);
        unsigned set = 0;
        for (qsizetype i = row * m_columns; i < end; ++i)
            set |= 1u << std::min<unsigned>(classes[i], kClassesAsBits);
        return tallest[set & (tallest.size() - 1)];
    };
    double y = 0;
    for (qsizetype row = 0; row < rows; ++row) {
        m_rowTops[std::size_t(row)] = y;
        y += heightOf(row) + m_spacing;
    }
    m_rowTops[std::size_t(rows)] = y;
}

double ItemGeometry::rowTop(qsizetype row) const
{
    if (m_grid)
        return m_rowTops[std::size_t(row)];
    return double(row) * (m_rowHeight + m_spacing);
}

double ItemGeometry::rowHeight(qsizetype row) const
{
    if (!m_grid)
        return m_rowHeight;
    double tallest = 0;
    const qsizetype end = std::min((row + 1) * m_columns, m_count);
    for (qsizetype i = row * m_columns; i < end; ++i)
        tallest = std::max(tallest, itemHeight(i));
    return tallest;
}

double ItemGeometry::height() const
{
    const qsizetype rows = rowCount();
    if (rows == 0)
        return 0;
    return rowTop(rows - 1) + rowHeight(rows - 1);
}

QRectF ItemGeometry::rect(qsizetype index) const
{
    const qsizetype row = rowOf(index);
    if (!m_grid)
        return QRectF(0, rowTop(row), std::max(0.0, m_width), m_rowHeight);
    const double column = columnWidth();
    const double x = double(index % m_columns) * (column + m_spacing);
    return QRectF(x, rowTop(row), column, rowHeight(row));
}

qsizetype ItemGeometry::firstRowEndingBelow(double y) const
{
    const qsizetype rows = rowCount();
    const auto endsBelow = [this, y](qsizetype row) { return rowTop(row) + rowHeight(row) > y; };
    if (!m_grid) {
        // Rows of one pitch: a first guess by division, then exact by the same sums as rect().
        const double pitch = m_rowHeight + m_spacing;
        qsizetype guess = 0;
        if (pitch > 0 && std::isfinite(y))
            guess = qsizetype(std::clamp(std::floor((y - m_rowHeight) / pitch) + 1, 0.0, double(rows)));
        while (guess > 0 && endsBelow(guess - 1))
            --guess;
        while (guess < rows && !endsBelow(guess))
            ++guess;
        return guess;
    }
    qsizetype low = 0;
    qsizetype high = rows;
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (endsBelow(mid))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

ItemGeometry::Range ItemGeometry::range(double top, double bottom) const
{
    const qsizetype rows = rowCount();
    if (rows == 0 || !(top < bottom))
        return Range{};
    const qsizetype first = firstRowEndingBelow(top);
    // The first row from `first` on that starts at or below the band's bottom.
    const auto startsAbove = [this, bottom](qsizetype row) { return rowTop(row) < bottom; };
    qsizetype low = first;
    qsizetype high = rows;
    if (!m_grid) {
        const double pitch = m_rowHeight + m_spacing;
        if (pitch > 0 && std::isfinite(bottom)) {
            qsizetype guess = qsizetype(std::clamp(std::ceil(bottom / pitch), double(first), double(rows)));
            while (guess > first && !startsAbove(guess - 1))
                --guess;
            while (guess < rows && startsAbove(guess))
                ++guess;
            low = high = guess;
        }
    }
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (startsAbove(mid))
            low = mid + 1;
        else
            high = mid;
    }
    const qsizetype last = low;
    if (last <= first)
        return Range{};
    return Range{rowItems(first).first, rowItems(last - 1).last};
}

std::optional<qsizetype> ItemGeometry::indexAt(const QPointF &point) const
{
    const qsizetype rows = rowCount();
    if (rows == 0 || point.x() < 0 || point.y() < 0)
        return std::nullopt;
    const qsizetype row = firstRowEndingBelow(point.y());
    if (row >= rows || rowTop(row) > point.y())
        return std::nullopt;
    if (!m_grid)
        return point.x() < m_width ? std::optional<qsizetype>(row) : std::nullopt;
    const double column = columnWidth();
    const double pitch = column + m_spacing;
    if (pitch <= 0)
        return std::nullopt;
    const qsizetype c = qsizetype(std::floor(point.x() / pitch));
    if (c >= m_columns || point.x() - double(c) * pitch >= column)
        return std::nullopt;
    const qsizetype index = row * m_columns + c;
    if (index >= m_count)
        return std::nullopt;
    return index;
}

std::size_t ItemGeometry::memoryBytes() const
{
    return sizeof(*this) + m_classes.capacity() * sizeof(std::uint8_t) + m_heights.capacity() * sizeof(double)
           + m_rowTops.capacity() * sizeof(double);
}

// --- ShelfGeometry ---

void ShelfGeometry::setBlocks(std::vector<Block> blocks)
{
    m_blocks = std::move(blocks);
    setWidth(m_width);
}

double ShelfGeometry::innerWidth() const
{
    return std::max(0.0, m_width - m_padding.left - m_padding.right);
}

void ShelfGeometry::setWidth(double width)
{
    m_width = width;
    for (Block &block : m_blocks) {
        if (block.items)
            block.items->setWidth(innerWidth());
    }
    restack();
}

void ShelfGeometry::restack()
{
    m_tops.resize(m_blocks.size());
    double y = m_padding.top;
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        m_tops[i] = y;
        const Block &block = m_blocks[i];
        y += (block.items ? block.items->height() : block.fixedHeight) + m_spacing;
    }
}

double ShelfGeometry::height() const
{
    if (m_blocks.empty())
        return m_padding.top + m_padding.bottom;
    return blockRect(blockCount() - 1).bottom() + m_padding.bottom;
}

QRectF ShelfGeometry::blockRect(qsizetype index) const
{
    const Block &block = m_blocks[std::size_t(index)];
    return QRectF(m_padding.left, m_tops[std::size_t(index)], innerWidth(),
                  block.items ? block.items->height() : block.fixedHeight);
}

QRectF ShelfGeometry::itemRect(qsizetype block, qsizetype index) const
{
    const QRectF r = m_blocks[std::size_t(block)].items->rect(index);
    return r.translated(m_padding.left, m_tops[std::size_t(block)]);
}

std::vector<ShelfGeometry::Visible> ShelfGeometry::visible(double top, double bottom) const
{
    std::vector<Visible> result;
    for (qsizetype b = 0; b < blockCount(); ++b) {
        const QRectF r = blockRect(b);
        // A block of no height still shows where it stands (a widget that draws nothing).
        if (r.top() >= bottom || (r.bottom() <= top && !(r.height() == 0 && r.top() >= top)))
            continue;
        Visible v{b, {}};
        if (const auto &items = m_blocks[std::size_t(b)].items)
            v.items = items->range(top - r.top(), bottom - r.top());
        result.push_back(v);
    }
    return result;
}

std::optional<ShelfGeometry::Hit> ShelfGeometry::itemAt(const QPointF &point) const
{
    for (qsizetype b = 0; b < blockCount(); ++b) {
        const Block &block = m_blocks[std::size_t(b)];
        if (!block.items)
            continue;
        const QRectF r = blockRect(b);
        if (point.y() < r.top() || point.y() >= r.bottom())
            continue;
        if (const auto index = block.items->indexAt(point - r.topLeft()))
            return Hit{b, *index};
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace sw
