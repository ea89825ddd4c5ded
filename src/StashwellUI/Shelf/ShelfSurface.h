#pragma once

// The shelf: one scrolling, painted surface that shows every save of the library window's main
// column. What it shows is a column of blocks, top to bottom: a collection of saves (a grid of
// cards or a list of rows on a pane, ShelfCollection) or a widget of the page's own (the hero, a
// section header). No save ever becomes a widget: cards and rows are painters, made only for the
// saves on screen and just around it, painted through the card and row caches (those just out of
// view ahead of time, while the shelf is idle), and let go when they scroll away.
//
// The layout is arithmetic over row offsets (ShelfGeometry), so a hundred thousand saves lay out
// on every change of width or column count and the saves on screen are found by a binary search.
// A new column of blocks is compared with the last one save by save: when the saves stand as
// before, only the items on screen whose look changed are painted again, and they keep their
// painted images, pictures and cut texts otherwise.
//
// The surface handles the pointer itself (the card's hover and lift, presses on each item's
// parts, the context menu of the item under the pointer, dragging an item out as its link once
// the pointer has moved the drag distance), takes keyboard focus without drawing a ring, and shows
// each item on screen to assistive technologies as a list item with its text. Keys go first to
// the page's key handler; the arrow keys never scroll the surface by themselves. Pictures are asked
// for only for the items on screen and just around it (ShelfPictures).
//
// Its parts are the module's own (detail/): the cells of a collection and what a new one keeps of
// the last (ShelfLayouter), the painters kept per save (ShelfPainters), painting
// them on screen and ahead (ShelfPainting), when painting ahead runs (ShelfPrepare), the pointer,
// drags and keys (ShelfInput), and what assistive technologies read (ShelfAccessibility). Every intent and signal leaves from one
// section of ShelfSurface.cpp.

#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Saves/SaveCardCache.h"
#include "StashwellUI/Saves/SaveMenu.h"
#include "StashwellUI/Saves/SaveRowCache.h"
#include "StashwellUI/Shelf/ShelfCollection.h"
#include "StashwellUI/Shelf/ShelfGeometry.h"
#include "StashwellUI/detail/ShelfInput.h"
#include "StashwellUI/detail/ShelfLayouter.h"
#include "StashwellUI/detail/ShelfPainters.h"
#include "StashwellUI/detail/ShelfPrepare.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QRegion>

#include <algorithm>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

class QMenu;

namespace sw {

class Paging;
class ShelfPictures;

namespace detail {
class ShelfItemInterface;
struct ShelfPaint;
}

class ShelfSurface : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The least the card and row images kept may take (they take a few screens of the viewport,
    // nor more than each cache's default budget).
    static constexpr std::int64_t minImageBudget = std::int64_t(8) << 20;

    // A widget shown at its place in the column, its contents as wide as the column (its side
    // margins reach out beyond it) and as high as it asks for that width. The surface places it;
    // its owner keeps it.
    struct WidgetBlock {
        QPointer<QWidget> widget;
        friend bool operator==(const WidgetBlock &, const WidgetBlock &) = default;
    };
    using Block = std::variant<ShelfCollection, WidgetBlock>;

    // Called with every key pressed while the shelf has focus; true when the page took it.
    using KeyHandler = std::function<bool(QKeyEvent *event)>;

    explicit ShelfSurface(QWidget *parent = nullptr);
    ~ShelfSurface() override;

    // The column's blocks. Collections whose saves stand as before keep their layout and painted
    // images; only what changed on screen is painted again.
    // The save nearest the top keeps its place when the blocks change under it (new columns,
    // another layout, a save added above), unless showFromTop() was called since the last blocks.
    void setBlocks(QList<Block> blocks);
    void setCollection(ShelfCollection collection);
    // The next blocks are another list (another filter, another search), not the same one
    // changed: they show from the top.
    void showFromTop() { m_fromTop = true; }
    const QList<Block> &blocks() const { return m_blocks; }

    void setPadding(const ShelfGeometry::Padding &padding);
    void setSpacing(double spacing);
    // How much of the viewport's top something lying over it covers (the window's bar): an item
    // brought into view is brought below it.
    void setCoveredTop(double height);
    double coveredTop() const { return m_coveredTop; }

    // The dotted canvas behind the shelf. While it covers itself (on solid), the shelf paints the
    // grid under its items itself and is opaque: Qt then moves the pixels of a scroll that it can
    // instead of painting them all again (except on X11, where painting them is quicker). A scroll
    // moves them only by whole steps of the grid, whose dots then land on dots; any other scroll,
    // and a shelf on glass, paints as before.
    void setBackdrop(DotGrid *grid);
    // Whether the last scroll moved pixels instead of painting the whole viewport (for tests).
    bool lastScrollMovedPixels() const { return m_scrollMoved; }

    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }

    // The Edit menu's Copy and Select All, which the menu sends to the slots of those names of the
    // widget with the focus: handed to the page.
    enum class Command { copy, selectAll };
    using CommandHandler = std::function<void(Command command)>;
    void setCommandHandler(CommandHandler handler) { m_commandHandler = std::move(handler); }

    // Where everything is.
    const ShelfGeometry &columnGeometry() const { return m_geometry; }
    // An item's cell in viewport coordinates.
    QRectF itemRect(qsizetype block, qsizetype index) const;
    // The item under a point of the viewport.
    std::optional<ShelfGeometry::Hit> itemAt(const QPointF &viewportPoint) const;
    // The blocks and items the viewport shows now.
    std::vector<ShelfGeometry::Visible> visibleItems() const;
    // The item of a block, when the block is a collection.
    const ShelfItem *item(qsizetype block, qsizetype index) const;
    // The first item of the save, in block order.
    std::optional<ShelfGeometry::Hit> find(const Save::ID &id) const;
    // The save under the pointer, whose card lifts.
    std::optional<Save::ID> hoveredSave() const;
    // Scrolls as little as needed to bring the save's item into view (below the covered top).
    void scrollToItem(const Save::ID &id);

    // The save menu the surface shows for an item: its item and collections, its intents going to
    // the collection's onIntent with that item.
    std::optional<SaveMenu> menuFor(qsizetype block, qsizetype index) const;
    // What dragging an item out of this surface carries.
    QMimeData *dragData(qsizetype block, qsizetype index) const;
    // The token that marks this surface's drags.
    quintptr dragOrigin() const { return quintptr(this); }

    ShelfPictures &pictures() { return *m_pictures; }
    SaveCardCache &cardImages() { return m_cardImages; }
    SaveRowCache &rowImages() { return m_rowImages; }

    // Painting ahead waits while the owner is about to hand new blocks (a change of what shows is
    // under way and will be drawn in a later turn): a slice over the column that is about to go
    // would delay the paint the user waits for. New blocks end the hold (painting ahead then
    // follows their paint), and so does releasePrepare() when none came.
    void holdPrepare();
    void releasePrepare();
    bool preparing() const;

    // Figures for tests and benchmarks: the painters kept now, the region asked to be painted
    // since the last call, the items painted by the last paint, and the bytes the surface's own
    // state takes (the items themselves are the page's, shared).
    int builtCount() const;
    // Each painter kept: the block and save it is kept for, the place the surface holds for it
    // (-1 while that is not known) and the item it draws.
    struct KeptPainter {
        qsizetype block;
        Save::ID id;
        qsizetype index;
        ShelfItem drawn;
    };
    std::vector<KeptPainter> keptPainters() const;
    QRegion takeInvalidated();
    int lastPaintedItems() const { return m_lastPainted; }
    std::size_t memoryBytes() const;

public slots:
    void copy();
    void selectAll();

signals:
    // The pointer left an item or moved to another one (for the page's hover-driven hints).
    void hoveredItemChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // The shelf draws nothing for having the focus: a focus change repaints none of it.
    void focusInEvent(QFocusEvent *) override {}
    void focusOutEvent(QFocusEvent *) override {}
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Three steps a wheel notch: 126 points, nine steps of the dotted canvas.
    static constexpr double scrollStep = 42;
    // The card and row images kept: this many screens of the shelf's viewport. Room for what a
    // few recently shown filters and searches showed besides what is prepared around this one,
    // so that going back to one paints nothing anew.
    static constexpr double imageScreens = 8;

    friend class detail::ShelfInput;
    friend class detail::ShelfItemInterface;
    using Built = detail::ShelfPainter;
    using BlockState = detail::ShelfBlockState;
    using Pointer = detail::ShelfItemRef;
    using ItemPart = detail::ShelfItemPart;

    const ShelfCollection *collection(qsizetype block) const;
    double widgetHeight(QWidget *widget) const;

    void relayout();
    void fitImageBudgets();
    void followBackdrop();
    // The canvas under `exposed`, painted or listed (DrawList).
    template <typename Target>
    void paintBackdrop(Target &painter, const QRect &exposed);
    // Paints `region` of a grid as copies listed first and then carried out in bands on several
    // threads; false, with nothing drawn, where some of it is not a copy or the area is small (the
    // caller paints it as before).
    bool paintListed(QPainter &painter, const QRegion &region, double offset, const detail::ShelfPaint &paint);
    // The items that paint into `band` (shelf coordinates).
    std::vector<ShelfGeometry::Visible> visibleUnder(const QRectF &band) const;
    // The part of `exposed` (viewport coordinates, scrolled by `offset`) where the canvas shows:
    // between the `visible` items' opaque insides.
    QRegion canvasBetween(const QRect &exposed, double offset, const std::vector<ShelfGeometry::Visible> &visible,
                          const detail::ShelfPaint &paint) const;
    // The part of the viewport no widget above it covers, to move when it scrolls.
    QRect movableArea() const;
    void updateScrollRange();
    void placeWidgets();
    // Which painters a change makes at once: those on screen only (new blocks: the rest are made
    // after their first paint, by painting ahead), or those around the screen too.
    enum class Reach { screen, around };
    void updateBuiltRange(Reach reach = Reach::around);
    // The painters of `reach` made and kept, the rest let go; the pictures they show asked for.
    void keepBuilt(Reach reach);
    Built &ensureBuilt(qsizetype block, qsizetype index);
    Built *builtFor(const Pointer &pointer, qsizetype *index = nullptr);
    // Whether the block's item at `index` is the save's: a kept place is used only then.
    bool standsAt(qsizetype block, const Save::ID &id, qsizetype index) const;
    // After new blocks: a painter kept for a save that moved takes its new place, one for a save
    // gone is let go, and the hovered and pressed items that are gone are forgotten, so that
    // nothing refers to an item a block no longer has.
    void settleKept();
    // What paints the items, on screen and ahead.
    detail::ShelfPaint painting();
    void invalidate(const QRectF &viewportRect);
    void invalidateItem(qsizetype block, qsizetype index);

    // What the user asks for, and what the surface reports: every intent and signal leaves here.
    // A click of an item's part.
    void activate(const ItemPart &clicked, Qt::KeyboardModifiers modifiers);
    // Selects the save (pressing an item from assistive technologies).
    void selectItem(qsizetype block, const Save::ID &id);
    void announceHover();

    void findPaging();
    // The block whose widget `widget` is; -1 when none is.
    qsizetype blockOfWidget(const QObject *widget) const;
    // One turn of painting ahead the images of the cards and rows just out of view, nearest
    // first; whether all are done.
    bool prepareSlice();
    // Paints again the items on screen that show the picture that arrived.
    void pictureArrived(const PictureKey &key);
    // Asks for the viewport's paint, which painting ahead waits for.
    void requestPaint(const QRect &rect);
    // Lets go of the last column's blocks once the new one has painted.
    void retire(QList<Block> blocks);

    QList<Block> m_blocks;
    std::vector<BlockState> m_states;
    // Collections the blocks showed before, laid out, the latest first, for their lists to come
    // back to (a search erased, the home after a search, the inspector closed).
    std::vector<detail::LaidAside> m_aside;
    static constexpr std::size_t kLaidAsideKept = 4;
    ShelfGeometry m_geometry;
    double m_coveredTop = 0;
    QPointer<DotGrid> m_backdrop;
    bool m_scrollMoved = false;
    SaveCardCache m_cardImages;
    SaveRowCache m_rowImages;
    ShelfPictures *m_pictures = nullptr;
    QPointer<Paging> m_paging;
    KeyHandler m_keyHandler;
    CommandHandler m_commandHandler;
    quint64 m_nextGeneration = 1;
    bool m_fromTop = false;

    detail::ShelfInput m_input;         // the pointer, drags and keys

    detail::ShelfPrepare m_prepare;     // painting ahead while the shelf is idle
    bool m_aroundPending = false;       // painters around the screen wait for painting ahead
    QRegion m_invalidated;
    int m_lastPainted = 0;
};

}  // namespace sw
