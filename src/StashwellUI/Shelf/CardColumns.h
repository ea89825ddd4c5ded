#pragma once

// Cards in a fixed number of equal columns, row by row; every card of a row is offered the height
// of the row's tallest card. `spacing` is both the gap between columns and between rows.
//
// CardColumns is the geometry alone (the painted shelf uses it directly); CardColumnsLayout puts
// widgets where it says.

#include <QLayout>
#include <QList>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <optional>

namespace sw {

class CardColumns {
public:
    // The height an item takes when offered `width` and any height it likes.
    using Measure = std::function<double(qsizetype index, double width)>;

    // A column count below 1 counts as 1; the spacing is kept as given.
    CardColumns(qsizetype columns, double spacing);

    qsizetype columns() const { return m_columns; }
    double spacing() const { return m_spacing; }

    // The width of one column in `width`: never negative.
    double columnWidth(double width) const;

    // The heights of the rows, top to bottom, of `count` items in `width`.
    QList<double> rowHeights(double width, qsizetype count, const Measure &measure) const;

    // The grid's size for a proposed width: the width as proposed, the rows' heights and the gaps
    // between them. Zero by zero when the width is unspecified, infinite or not a number.
    QSizeF sizeThatFits(std::optional<double> proposedWidth, qsizetype count, const Measure &measure) const;

    // The frame of each item in `bounds`: its column's width and its row's height.
    QList<QRectF> place(const QRectF &bounds, qsizetype count, const Measure &measure) const;

private:
    qsizetype m_columns;
    double m_spacing;
};

// A widget layout placing its items by CardColumns; items are measured by their height for the
// column width (or their size hint's height).
class CardColumnsLayout : public QLayout {
    Q_OBJECT
public:
    explicit CardColumnsLayout(qsizetype columns, double spacing, QWidget *parent = nullptr);
    ~CardColumnsLayout() override;

    const CardColumns &grid() const { return m_grid; }
    void setColumns(qsizetype columns);

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    void setGeometry(const QRect &rect) override;

private:
    CardColumns::Measure measure() const;

    CardColumns m_grid;
    QList<QLayoutItem *> m_items;
};

}  // namespace sw
