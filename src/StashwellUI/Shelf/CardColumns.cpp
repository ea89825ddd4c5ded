#include "StashwellUI/Shelf/CardColumns.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace sw {

CardColumns::CardColumns(qsizetype columns, double spacing)
    : m_columns(std::max<qsizetype>(columns, 1))
    , m_spacing(spacing)
{
}

double CardColumns::columnWidth(double width) const
{
    const double w = (width - m_spacing * static_cast<double>(m_columns - 1)) / static_cast<double>(m_columns);
    return w > 0 ? w : 0;   // also turns NaN into 0
}

QList<double> CardColumns::rowHeights(double width, qsizetype count, const Measure &measure) const
{
    QList<double> heights;
    const double column = columnWidth(width);
    for (qsizetype start = 0; start < count; start += m_columns) {
        double tallest = 0;
        const qsizetype end = std::min(start + m_columns, count);
        for (qsizetype i = start; i < end; ++i)
            tallest = std::max(tallest, measure(i, column));
        heights.append(tallest);
    }
    return heights;
}

QSizeF CardColumns::sizeThatFits(std::optional<double> proposedWidth, qsizetype count, const Measure &measure) const
{
    if (!proposedWidth || !std::isfinite(*proposedWidth))
        return QSizeF(0, 0);
    const QList<double> heights = rowHeights(*proposedWidth, count, measure);
    double height = 0;
    for (double h : heights)
        height += h;
    if (!heights.isEmpty())
        height += m_spacing * static_cast<double>(heights.size() - 1);
    return QSizeF(*proposedWidth, height);
}

QList<QRectF> CardColumns::place(const QRectF &bounds, qsizetype count, const Measure &measure) const
{
    QList<QRectF> frames;
    frames.reserve(count);
    const double column = columnWidth(bounds.width());
    const QList<double> heights = rowHeights(bounds.width(), count, measure);
    double y = bounds.top();
    for (qsizetype row = 0; row < heights.size(); ++row) {
        const double h = heights[row];
        for (qsizetype k = 0; k < m_columns; ++k) {
            const qsizetype index = row * m_columns + k;
            if (index >= count)
                break;
            frames.append(QRectF(bounds.left() + static_cast<double>(k) * (column + m_spacing), y, column, h));
        }
        y += h + m_spacing;
    }
    return frames;
}

CardColumnsLayout::CardColumnsLayout(qsizetype columns, double spacing, QWidget *parent)
    : QLayout(parent)
    , m_grid(columns, spacing)
{
}

CardColumnsLayout::~CardColumnsLayout()
{
    qDeleteAll(m_items);
}

void CardColumnsLayout::setColumns(qsizetype columns)
{
    const CardColumns next(columns, m_grid.spacing());
    if (next.columns() == m_grid.columns())
        return;
    m_grid = next;
    invalidate();
}

void CardColumnsLayout::addItem(QLayoutItem *item) { m_items.append(item); }

QLayoutItem *CardColumnsLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

QLayoutItem *CardColumnsLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int CardColumnsLayout::count() const { return static_cast<int>(m_items.size()); }

CardColumns::Measure CardColumnsLayout::measure() const
{
    return [this](qsizetype index, double width) -> double {
        QLayoutItem *item = m_items[index];
        const int w = static_cast<int>(std::floor(width));
        return item->hasHeightForWidth() ? item->heightForWidth(w) : item->sizeHint().height();
    };
}

int CardColumnsLayout::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const double inner = width - margins.left() - margins.right();
    const QSizeF size = m_grid.sizeThatFits(inner, m_items.size(), measure());
    return static_cast<int>(std::ceil(size.height())) + margins.top() + margins.bottom();
}

QSize CardColumnsLayout::sizeHint() const { return minimumSize(); }

QSize CardColumnsLayout::minimumSize() const
{
    const QMargins margins = contentsMargins();
    return QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

void CardColumnsLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRectF inner = QRectF(rect).marginsRemoved(contentsMargins());
    const QList<QRectF> frames = m_grid.place(inner, m_items.size(), measure());
    for (qsizetype i = 0; i < frames.size(); ++i)
        m_items[i]->setGeometry(frames[i].toRect());
}

}  // namespace sw
