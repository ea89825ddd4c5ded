#pragma once

// The small pop-up list with which the user files one save into a collection, takes it out of
// every collection, or asks for a new collection: a row for no collection, one row per collection
// with a square of its swatch colour, a divider and a row that asks for a new collection. The row
// that matches the save's present filing carries a check mark.
//
// The menu changes nothing: it reports the chosen row (picked(), newCollectionRequested()) and
// never closes itself; closing it after a pick is its presenter's business (popUp() shows it as a
// pop-up window, which the Escape key and a click outside close).
//
// Keyboard: Up and Down (and Tab, Backtab) move the highlight over the rows, wrapping round, Home
// and End go to the first and last row, Return, Enter and Space choose the highlighted row. The
// highlight is the pointer's hover too: the row under the pointer is the highlighted one.

#include "Library/Collection.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>

namespace sw {

class CollectionMenu : public QWidget {
    Q_OBJECT
public:
    static constexpr double minimumMenuWidth = 220;
    static constexpr double padding = 6;
    static constexpr double rowHeight = 30;
    static constexpr double rowSpacing = 1;
    static constexpr double dividerPadding = 4;
    static constexpr double rowInset = 10;
    static constexpr double iconWidth = 14;
    static constexpr double itemSpacing = 8;
    static constexpr double minimumGap = 12;
    static constexpr double hoverRadius = 7;
    static constexpr double swatchSide = 10;
    static constexpr double swatchRadius = 3;

    struct Row {
        enum class Kind { none, collection, newCollection };
        Kind kind = Kind::none;
        QString title;                        // shown verbatim
        bool checked = false;
        std::optional<Collection::ID> id;     // a collection's row only
        Swatch swatch = Swatch::amber;        // a collection's row only
        friend bool operator==(const Row &, const Row &) = default;
    };

    // The rows, top to bottom: no collection (checked when `current` is none), each collection in
    // the order given (checked when it is `current`), and the new-collection row (never checked).
    // An id that no collection has checks no row at all.
    static QList<Row> rows(const QList<Collection> &collections, const std::optional<Collection::ID> &current);

    CollectionMenu(const QList<Collection> &collections, const std::optional<Collection::ID> &current,
                   QWidget *parent = nullptr);

    // Builds the rows anew; the highlight stays on the same index while there is such a row.
    void setCollections(const QList<Collection> &collections, const std::optional<Collection::ID> &current);

    const QList<Row> &menuRows() const { return m_rows; }

    // The highlighted row, or -1.
    int highlighted() const { return m_highlighted; }
    void setHighlighted(int row);

    // Where each row and the divider lie, in the widget's coordinates.
    QRectF rowRect(int row) const;
    QRectF dividerRect() const;
    // The row at a point (its whole rectangle, the empty stretch included), or -1.
    int rowAt(const QPointF &point) const;

    // Chooses a row as a click on it does.
    void activate(int row);

    // The width the menu asks for: at least 220, more when its widest row needs it.
    double menuWidth() const;
    double menuHeight() const;

    // Shows the menu as a pop-up window with its top-left corner at `globalPosition`, kept on
    // the screen, with the keyboard.
    void popUp(const QPoint &globalPosition);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The filing chosen: a collection's id, or none for no collection. A click on the row that is
    // already checked reports it again.
    void picked(const std::optional<sw::Collection::ID> &collection);
    // The new-collection row was chosen.
    void newCollectionRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    double rowWidth(const Row &row) const;
    void moveHighlight(int delta);

    QList<Row> m_rows;
    int m_highlighted = -1;
    int m_pressed = -1;
};

}  // namespace sw
