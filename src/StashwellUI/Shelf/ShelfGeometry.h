#pragma once

// Where everything on the shelf lies, kept small enough to lay out a hundred thousand saves on
// every change of width or column count.
//
// ItemGeometry places the items of one collection: a grid of cards in equal columns whose rows
// are as tall as their tallest card (cards come in a few heights, so each item keeps only the
// index of its height in a small table), or a list of rows of one height with a divider between
// two rows. A grid keeps the top of each row; a list needs nothing per item. The rectangle of an
// item and the items that meet a band of height are found by arithmetic and a binary search over
// the rows, never by walking the items.
//
// ShelfGeometry stacks blocks (a widget of a given height, or a collection's items) in one column
// with padding around it and a spacing between blocks, and says which blocks and items a band of
// the column meets.

#include <QList>
#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <optional>
#include <vector>

namespace sw {

class ItemGeometry {
public:
    // The items [first, last) in display order.
    struct Range {
        qsizetype first = 0;
        qsizetype last = 0;
        bool isEmpty() const { return last <= first; }
        qsizetype size() const { return last > first ? last - first : 0; }
        friend bool operator==(const Range &, const Range &) = default;
    };

    ItemGeometry() = default;
    // A grid of `columns` columns (below 1 counts as 1), `spacing` between columns and between
    // rows; item i is heights[classes[i]] tall. A class beyond the table counts as 0 tall.
    static ItemGeometry grid(qsizetype columns, double spacing, std::vector<std::uint8_t> classes,
                             std::vector<double> heights);
    // `count` rows `rowHeight` tall, with `divider` between two rows (none after the last).
    static ItemGeometry list(qsizetype count, double rowHeight, double divider);

    bool isGrid() const { return m_grid; }
    // A grid's height class of each item.
    const std::vector<std::uint8_t> &classes() const { return m_classes; }
    qsizetype count() const { return m_count; }
    qsizetype columns() const { return m_columns; }
    double spacing() const { return m_spacing; }
    qsizetype rowCount() const;
    // The row an item is in, and the items of a row.
    qsizetype rowOf(qsizetype index) const { return index / m_columns; }
    Range rowItems(qsizetype row) const;

    // A grid's new column count: the rows are measured again. Nothing for a list.
    void setColumns(qsizetype columns);
    // The width the items share. Rows do not depend on it: only the columns' width changes.
    void setWidth(double width) { m_width = width; }
    double width() const { return m_width; }
    double columnWidth() const;

    // The height of all the rows with the gaps between them; 0 without items.
    double height() const;
    // An item's cell from the block's top-left corner: its column's width and its row's height
    // in a grid, the whole width and the row's height in a list.
    QRectF rect(qsizetype index) const;
    // The height of an item itself (a card may be shorter than its row).
    double itemHeight(qsizetype index) const;
    // The items whose cells meet the band top <= y < bottom (a cell meets it when it starts above
    // the bottom and ends below the top).
    Range range(double top, double bottom) const;
    // The item whose cell holds the point; none in the gaps and beside the last row's items.
    std::optional<qsizetype> indexAt(const QPointF &point) const;

    // The bytes the geometry holds for its items.
    std::size_t memoryBytes() const;

private:
    // Up to this many classes, a row's height is looked up by the set of classes it holds.
    static constexpr unsigned kClassesAsBits = 8;
    void measureRows();
    double rowTop(qsizetype row) const;
    double rowHeight(qsizetype row) const;
    // The first row that ends below y (so may meet a band starting at y).
    qsizetype firstRowEndingBelow(double y) const;

    bool m_grid = false;
    qsizetype m_count = 0;
    qsizetype m_columns = 1;
    double m_spacing = 0;
    double m_width = 0;
    double m_rowHeight = 0;                 // a list's rows
    std::vector<std::uint8_t> m_classes;    // a grid's items
    std::vector<double> m_heights;
    std::vector<double> m_rowTops;          // a grid's rows, and one past the last: the top it would have
};

class ShelfGeometry {
public:
    struct Padding {
        double left = 0;
        double top = 0;
        double right = 0;
        double bottom = 0;
    };

    ShelfGeometry() = default;

    void setPadding(Padding padding) { m_padding = padding; }
    const Padding &padding() const { return m_padding; }
    void setSpacing(double spacing) { m_spacing = spacing; }
    double spacing() const { return m_spacing; }

    // The blocks, top to bottom: each a fixed height, or the items of a collection (whose height
    // is theirs). Widths are set by setWidth().
    struct Block {
        double fixedHeight = 0;             // a widget's block
        std::optional<ItemGeometry> items;  // a collection's block
    };
    void setBlocks(std::vector<Block> blocks);
    qsizetype blockCount() const { return qsizetype(m_blocks.size()); }
    Block &block(qsizetype index) { return m_blocks[std::size_t(index)]; }
    const Block &block(qsizetype index) const { return m_blocks[std::size_t(index)]; }

    // The width of the whole column; the blocks get it less the side padding.
    void setWidth(double width);
    double width() const { return m_width; }
    double innerWidth() const;
    // Lays the blocks out again after a block's height changed (a widget's height, a grid's
    // columns or items).
    void restack();

    // The column's height: the blocks, the spacing between them and the padding.
    double height() const;
    // A block's rectangle in the column.
    QRectF blockRect(qsizetype block) const;
    // An item's cell in the column.
    QRectF itemRect(qsizetype block, qsizetype index) const;

    // The blocks a band of the column meets, and of a collection's block its items there.
    struct Visible {
        qsizetype block = 0;
        ItemGeometry::Range items;   // empty for a widget's block
    };
    std::vector<Visible> visible(double top, double bottom) const;

    struct Hit {
        qsizetype block = 0;
        qsizetype index = 0;
        friend bool operator==(const Hit &, const Hit &) = default;
    };
    // The item under a point of the column.
    std::optional<Hit> itemAt(const QPointF &point) const;

private:
    Padding m_padding;
    double m_spacing = 0;
    double m_width = 0;
    std::vector<Block> m_blocks;
    std::vector<double> m_tops;   // each block's top
};

}  // namespace sw
