#pragma once

// Items side by side in reading order, a new line begun whenever the next item would pass the
// available width, like words in a paragraph. One spacing serves both between neighbours on a line
// and between lines. Every item takes its ideal size (its size hint); lines are aligned to the
// leading edge and the items of a line to its top.
//
// FlowLayout::arrange is the line-breaking pass alone, on plain sizes; the layout runs it over its
// items both to answer its height for a width and to place them. Nothing is kept between passes.

#include <QLayout>
#include <QList>
#include <QPointF>
#include <QSizeF>

#include <limits>

namespace sw {

class FlowLayout : public QLayout {
    Q_OBJECT
public:
    // The outcome of one pass: the top-leading corner of each item, in item order, and the size of
    // the whole: the right edge of the widest line by the bottom of the last.
    struct Arrangement {
        QList<QPointF> positions;
        QSizeF size;
    };

    static constexpr double unbounded = std::numeric_limits<double>::infinity();

    // The pass over items of the given ideal sizes in `width` (unbounded: everything on one line).
    // A new line begins only when the line already holds an item and the next would end strictly
    // beyond `width`: an item ending exactly at the edge stays, and the first item of a line stays
    // however wide it is.
    static Arrangement arrange(const QList<QSizeF> &sizes, double width, double spacing);

    explicit FlowLayout(double spacing, QWidget *parent = nullptr);
    ~FlowLayout() override;

    double flowSpacing() const { return m_spacing; }
    void setFlowSpacing(double spacing);

    // The items' ideal sizes, in order; hidden widgets take no place.
    QList<QSizeF> idealSizes() const;

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // Everything on one line.
    QSize sizeHint() const override;
    // As narrow as the widest item.
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect &rect) override;

private:
    QList<QLayoutItem *> visibleItems() const;

    double m_spacing;
    QList<QLayoutItem *> m_items;
};

}  // namespace sw
