#include "StashwellUI/Layout/FlowLayout.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace sw {

FlowLayout::Arrangement FlowLayout::arrange(const QList<QSizeF> &sizes, double width, double spacing)
{
    Arrangement result;
    result.positions.reserve(sizes.size());
    double x = 0;
    double y = 0;
    double lineHeight = 0;
    double widest = 0;
    for (const QSizeF &size : sizes) {
        if (x > 0 && x + size.width() > width) {
            y += lineHeight + spacing;
            x = 0;
            lineHeight = 0;
        }
        result.positions.append(QPointF(x, y));
        x += size.width() + spacing;
        lineHeight = std::max(lineHeight, size.height());
        widest = std::max(widest, x - spacing);
    }
    result.size = QSizeF(widest, y + lineHeight);
    return result;
}

FlowLayout::FlowLayout(double spacing, QWidget *parent)
    : QLayout(parent)
    , m_spacing(spacing)
{
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void FlowLayout::setFlowSpacing(double spacing)
{
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    invalidate();
}

void FlowLayout::addItem(QLayoutItem *item)
{
    m_items.append(item);
    invalidate();
}

QLayoutItem *FlowLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    QLayoutItem *item = m_items.takeAt(index);
    invalidate();
    return item;
}

int FlowLayout::count() const { return static_cast<int>(m_items.size()); }

QList<QLayoutItem *> FlowLayout::visibleItems() const
{
    QList<QLayoutItem *> items;
    items.reserve(m_items.size());
    for (QLayoutItem *item : m_items) {
        if (!item->isEmpty())
            items.append(item);
    }
    return items;
}

QList<QSizeF> FlowLayout::idealSizes() const
{
    QList<QSizeF> sizes;
    const QList<QLayoutItem *> items = visibleItems();
    sizes.reserve(items.size());
    for (QLayoutItem *item : items)
        sizes.append(QSizeF(item->sizeHint()));
    return sizes;
}

int FlowLayout::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const double inner = width - margins.left() - margins.right();
    const Arrangement pass = arrange(idealSizes(), inner, m_spacing);
    return static_cast<int>(std::ceil(pass.size.height())) + margins.top() + margins.bottom();
}

QSize FlowLayout::sizeHint() const
{
    const QMargins margins = contentsMargins();
    const QSizeF size = arrange(idealSizes(), unbounded, m_spacing).size;
    return QSize(static_cast<int>(std::ceil(size.width())) + margins.left() + margins.right(),
                 static_cast<int>(std::ceil(size.height())) + margins.top() + margins.bottom());
}

QSize FlowLayout::minimumSize() const
{
    const QMargins margins = contentsMargins();
    int widest = 0;
    for (const QSizeF &size : idealSizes())
        widest = std::max(widest, static_cast<int>(std::ceil(size.width())));
    return QSize(widest + margins.left() + margins.right(), margins.top() + margins.bottom());
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    const QRect inner = rect.marginsRemoved(contentsMargins());
    const QList<QLayoutItem *> items = visibleItems();
    QList<QSizeF> sizes;
    sizes.reserve(items.size());
    for (QLayoutItem *item : items)
        sizes.append(QSizeF(item->sizeHint()));
    const Arrangement pass = arrange(sizes, inner.width(), m_spacing);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QPointF at = pass.positions[i];
        items[i]->setGeometry(QRect(inner.left() + static_cast<int>(std::lround(at.x())),
                                    inner.top() + static_cast<int>(std::lround(at.y())),
                                    static_cast<int>(std::ceil(sizes[i].width())),
                                    static_cast<int>(std::ceil(sizes[i].height()))));
    }
}

}  // namespace sw
