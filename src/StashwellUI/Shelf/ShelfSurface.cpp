#include "StashwellUI/Shelf/ShelfSurface.h"

#include "StashwellUI/Design/RectWise.h"
#include "StashwellUI/Pictures/DrawList.h"

#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Saves/SaveMenu.h"
#include "StashwellUI/Shelf/ShelfPictures.h"
#include "StashwellUI/detail/FollowPaging.h"
#include "StashwellUI/detail/ShelfAccessibility.h"
#include "StashwellUI/detail/ShelfLayouter.h"
#include "StashwellUI/detail/ShelfPainting.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayoutItem>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QScrollBar>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace sw {

ShelfSurface::ShelfSurface(QWidget *parent)
    : QAbstractScrollArea(parent),
      m_pictures(new ShelfPictures(this)),
      m_input(*this),
      m_prepare(*this, [this] { return prepareSlice(); })
{
    setViewport(new detail::ShelfViewport(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
    setAttribute(Qt::WA_TranslucentBackground, false);
    verticalScrollBar()->setSingleStep(int(scrollStep));
    connect(m_pictures, &ShelfPictures::arrived, this, &ShelfSurface::pictureArrived);
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        followBackdrop();
        viewport()->update();
    });
    connect(m_pictures, &ShelfPictures::arrived, this, [this] { m_prepare.schedule(); });
}

void ShelfSurface::setBackdrop(DotGrid *grid)
{
    if (m_backdrop && m_backdrop != grid)
        m_backdrop->setCoveredBy(nullptr);
    m_backdrop = grid;
    if (grid)
        grid->setCoveredBy(viewport());
    followBackdrop();
    viewport()->update();
}

void ShelfSurface::followBackdrop()
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, m_backdrop && DotGrid::coversItself());
}

template <typename Target>
void ShelfSurface::paintBackdrop(Target &painter, const QRect &exposed)
{
    const QPoint offset = m_backdrop->mapFrom(window(), viewport()->mapTo(window(), QPoint()));
    const QRect onGrid = exposed.translated(offset);
    // The viewport covers every pixel of itself: where the grid does not reach, the window colour.
    if (!m_backdrop->rect().contains(onGrid))
        painter.fillRect(exposed, Tokens::Colors::window());
    const QRect shown = onGrid & m_backdrop->rect();
    if (shown.isEmpty())
        return;
    if constexpr (std::is_same_v<Target, DrawList>)
        m_backdrop->listPart(painter, shown, shown.topLeft() - offset);
    else
        m_backdrop->paintPart(painter, shown, shown.topLeft() - offset);
}

QRect ShelfSurface::movableArea() const
{
    // What Qt moves instead of painting must lie under nothing: the part of the viewport that no
    // widget stacked above it covers (by its mask, where it has one). Whatever lies along an edge
    // (the bar, the frosted bands, the scroll bar) is cut off that edge; anything else (a toast
    // over the middle) leaves nothing to move.
    const QWidget *top = window();
    QRect clear = viewport()->rect();
    for (const QWidget *w = viewport(); w && w != top && w->parentWidget(); w = w->parentWidget()) {
        bool above = false;
        for (const QObject *object : w->parentWidget()->children()) {
            const auto *sibling = qobject_cast<const QWidget *>(object);
            if (!sibling || sibling->isWindow() || !sibling->isVisible())
                continue;
            if (!above) {
                above = sibling == w;
                continue;
            }
            const QRegion covers = sibling->mask().isEmpty() ? QRegion(sibling->rect()) : sibling->mask();
            const QPoint to = viewport()->mapFrom(top, sibling->mapTo(top, QPoint()));
            for (const QRect &part : covers) {
                const QRect o = part.translated(to) & clear;
                if (o.isEmpty())
                    continue;
                if (o.left() <= clear.left() && o.right() >= clear.right()) {
                    if (o.center().y() < clear.center().y())
                        clear.setTop(o.bottom() + 1);
                    else
                        clear.setBottom(o.top() - 1);
                } else if (o.top() <= clear.top() && o.bottom() >= clear.bottom()) {
                    if (o.center().x() < clear.center().x())
                        clear.setLeft(o.right() + 1);
                    else
                        clear.setRight(o.left() - 1);
                } else {
                    return {};
                }
                if (clear.isEmpty())
                    return {};
            }
        }
    }
    return clear;
}

// The input stops its hover animations as it goes, so that none reports to a half-gone surface.
ShelfSurface::~ShelfSurface() = default;

// --- The column of blocks ---

const ShelfCollection *ShelfSurface::collection(qsizetype block) const
{
    if (block < 0 || block >= m_blocks.size())
        return nullptr;
    return std::get_if<ShelfCollection>(&m_blocks.at(block));
}

const ShelfItem *ShelfSurface::item(qsizetype block, qsizetype index) const
{
    const ShelfCollection *c = collection(block);
    if (!c || index < 0 || index >= c->items.size())
        return nullptr;
    return &c->items.at(index);
}

double ShelfSurface::widgetHeight(QWidget *widget) const
{
    if (!widget)
        return 0;
    // As a layout would size it: its hint for the width, within its least and greatest heights.
    const QWidgetItem asItem(widget);
    const QMargins margins = widget->contentsMargins();
    const int width = int(m_geometry.innerWidth()) + margins.left() + margins.right();
    return std::max(0, asItem.hasHeightForWidth() ? asItem.heightForWidth(width) : asItem.sizeHint().height());
}

void ShelfSurface::setCollection(ShelfCollection collection)
{
    setBlocks({Block(std::move(collection))});
}

void ShelfSurface::setBlocks(QList<Block> blocks)
{
    // The save on screen nearest the top, to keep in place when the layout changes under it.
    struct Anchor {
        Save::ID id;
        ShelfGeometry::Hit at;
        double top = 0;
        double height = 0;
    };
    std::optional<Anchor> anchor;
    const bool fromTop = std::exchange(m_fromTop, false);
    for (const ShelfGeometry::Visible &v : fromTop ? std::vector<ShelfGeometry::Visible>() : visibleItems()) {
        if (!v.items.isEmpty()) {
            const QRectF r = itemRect(v.block, v.items.first);
            if (const ShelfItem *shown = item(v.block, v.items.first))
                anchor = Anchor{shown->save().id(), {v.block, v.items.first}, r.top(), r.height()};
            break;
        }
    }

    // Where the widgets at the top stood, and the scroll and width they stood at: those that stand
    // there still need no paint.
    const int scrolledBefore = verticalScrollBar()->value();
    const int widthBefore = viewport()->width();
    std::vector<QRectF> widgetsBefore;
    for (qsizetype b = 0; b < m_blocks.size() && std::holds_alternative<WidgetBlock>(m_blocks.at(b)); ++b)
        widgetsBefore.push_back(m_geometry.blockRect(b));

    m_prepare.endHold();
    QList<Block> old = std::move(m_blocks);
    std::vector<BlockState> oldStates = std::move(m_states);
    ShelfGeometry oldGeometry = std::move(m_geometry);
    m_geometry.setPadding(oldGeometry.padding());
    m_geometry.setSpacing(oldGeometry.spacing());
    m_blocks = std::move(blocks);
    m_states.assign(std::size_t(m_blocks.size()), BlockState{});

    bool structural = old.size() != m_blocks.size();
    bool resized = false;
    std::vector<ShelfGeometry::Block> geometry(std::size_t(m_blocks.size()));
    // Items on screen whose look may have changed, to compare once the layout stands.
    std::vector<bool> itemsKept(std::size_t(m_blocks.size()), false);

    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        BlockState &state = m_states[std::size_t(b)];
        state.generation = m_nextGeneration++;
        if (const auto *widget = std::get_if<WidgetBlock>(&m_blocks.at(b))) {
            const auto *before = b < old.size() ? std::get_if<WidgetBlock>(&old.at(b)) : nullptr;
            if (!before || before->widget != widget->widget)
                structural = true;
            if (widget->widget) {
                if (widget->widget->parentWidget() != viewport())
                    widget->widget->setParent(viewport());
                widget->widget->installEventFilter(this);
                widget->widget->show();
            }
            geometry[std::size_t(b)].fixedHeight = widgetHeight(widget->widget);
            // A widget that grew or shrank moves everything under it, which is painted again where
            // it now stands (the column stays where it was scrolled to, as for a widget that
            // changes height on its own).
            if (b < oldGeometry.blockCount() && oldGeometry.block(b).fixedHeight != geometry[std::size_t(b)].fixedHeight)
                resized = true;
            continue;
        }
        const ShelfCollection &now = std::get<ShelfCollection>(m_blocks.at(b));
        const auto *before = b < old.size() ? std::get_if<ShelfCollection>(&old.at(b)) : nullptr;
        std::vector<const void *> saves =
            b < qsizetype(oldStates.size()) ? std::move(oldStates[std::size_t(b)].saves) : std::vector<const void *>();
        std::optional<ItemGeometry> cells =
            b < oldGeometry.blockCount() ? std::move(oldGeometry.block(b).items) : std::nullopt;
        detail::CollectionLayout laidOut = detail::layOut(before, now, std::move(saves), std::move(cells), &m_aside);
        state.saves = std::move(laidOut.saves);
        geometry[std::size_t(b)].items = std::move(laidOut.items);
        structural = structural || laidOut.moved;
        itemsKept[std::size_t(b)] = laidOut.sameItems;
        // Painters of saves still shown keep their images and state; when the saves changed they
        // are checked when they are next needed.
        if (b < qsizetype(oldStates.size()))
            state.built = std::move(oldStates[std::size_t(b)].built);
    }
    // The collections of blocks that are gone or became widgets are laid aside too: the home's
    // lists come back after a search.
    for (qsizetype b = 0; b < old.size() && b < oldGeometry.blockCount(); ++b) {
        const auto *gone = std::get_if<ShelfCollection>(&old.at(b));
        if (gone && b < qsizetype(oldStates.size())
            && (b >= m_blocks.size() || !std::holds_alternative<ShelfCollection>(m_blocks.at(b))))
            detail::layAside(m_aside, *gone, std::move(oldStates[std::size_t(b)].saves), std::move(oldGeometry.block(b).items));
    }
    // A list laid aside that no one else holds will not come back, nor will the oldest of many:
    // their items go the way the last column's do, away from this thread.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_aside.size(); ++i) {
        detail::LaidAside &aside = m_aside[i];
        if (kept < kLaidAsideKept && !aside.items.isDetached()) {
            if (i != kept)
                m_aside[kept] = std::move(aside);
            ++kept;
        } else {
            m_prepare.letGo(std::move(aside.items));
        }
    }
    m_aside.resize(kept);
    // Widgets of blocks that are gone are the owner's again: hidden and no longer watched.
    for (const Block &block : old) {
        if (const auto *widget = std::get_if<WidgetBlock>(&block); widget && widget->widget) {
            const bool stays = std::any_of(m_blocks.begin(), m_blocks.end(), [&](const Block &b) {
                const auto *w = std::get_if<WidgetBlock>(&b);
                return w && w->widget == widget->widget;
            });
            if (!stays) {
                widget->widget->removeEventFilter(this);
                widget->widget->hide();
            }
        }
    }

    m_geometry.setBlocks(std::move(geometry));
    m_geometry.setWidth(viewport()->width());
    settleKept();

    if (structural) {
        updateScrollRange();
        if (fromTop) {
            verticalScrollBar()->setValue(0);
        } else if (anchor) {
            // Where it stood, when the saves stand as before; else wherever it is now.
            const ShelfItem *still = item(anchor->at.block, anchor->at.index);
            const auto at = still && still->save().id() == anchor->id ? std::optional(anchor->at) : find(anchor->id);
            if (at) {
                // An item partly above the top keeps the same share of itself in view: a shorter
                // one (a row where there was a card) would otherwise be wholly above it.
                const QRectF now = m_geometry.itemRect(at->block, at->index);
                const double above = anchor->top < 0 && anchor->height > 0 ? anchor->top * now.height() / anchor->height
                                                                             : anchor->top;
                const double y = now.top() - above;
                verticalScrollBar()->setValue(int(std::lround(y)));
            }
        }
        placeWidgets();
        // The widgets at the top that stand where they stood (the hero and the header over a
        // collection in another layout), and the canvas between them, show as they showed: what
        // changed starts below them. A list shown from the top that was at the top already (the
        // next letter of a search) counts too.
        double unchangedTo = 0;
        if (verticalScrollBar()->value() == scrolledBefore && viewport()->width() == widthBefore) {
            for (qsizetype b = 0; b < qsizetype(widgetsBefore.size()) && b < m_blocks.size(); ++b) {
                const auto *now = std::get_if<WidgetBlock>(&m_blocks.at(b));
                const auto *was = std::get_if<WidgetBlock>(&old.at(b));
                if (!now || !was || now->widget != was->widget || m_geometry.blockRect(b) != widgetsBefore[std::size_t(b)])
                    break;
                unchangedTo = widgetsBefore[std::size_t(b)].bottom();
            }
        }
        const double top = std::max(0.0, unchangedTo - double(verticalScrollBar()->value()));
        invalidate(QRectF(viewport()->rect()).adjusted(0, top, 0, 0));
        updateBuiltRange(Reach::screen);
        retire(std::move(old));
        return;
    }

    // The same layout: of the painters kept, those whose look changed are made again and only
    // their cells are painted again.
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (!itemsKept[std::size_t(b)])
            continue;
        const ShelfCollection &c = std::get<ShelfCollection>(m_blocks.at(b));
        BlockState &state = m_states[std::size_t(b)];
        for (auto it = state.built.begin(); it != state.built.end(); ++it) {
            Built &built = it.value();
            // One whose place is not known is made again when it is next needed.
            if (!standsAt(b, it.key(), built.index))
                continue;
            const bool remade = detail::refreshPainter(built, c, built.index, m_paging);
            built.generation = state.generation;
            if (remade)
                invalidateItem(b, built.index);
        }
    }
    updateScrollRange();
    if (fromTop)
        verticalScrollBar()->setValue(0);
    placeWidgets();
    if (resized)
        invalidate(QRectF(viewport()->rect()));
    updateBuiltRange(Reach::screen);
    retire(std::move(old));
}

void ShelfSurface::retire(QList<Block> blocks)
{
    for (Block &block : blocks) {
        if (auto *c = std::get_if<ShelfCollection>(&block))
            m_prepare.letGo(std::move(c->items));
    }
}

void ShelfSurface::setPadding(const ShelfGeometry::Padding &padding)
{
    m_geometry.setPadding(padding);
    relayout();
}

void ShelfSurface::setSpacing(double spacing)
{
    m_geometry.setSpacing(spacing);
    relayout();
}

void ShelfSurface::relayout()
{
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (const auto *widget = std::get_if<WidgetBlock>(&m_blocks.at(b)))
            m_geometry.block(b).fixedHeight = widgetHeight(widget->widget);
    }
    m_geometry.setWidth(viewport()->width());
    // Widgets' heights depend on the width they are given.
    bool again = false;
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (const auto *widget = std::get_if<WidgetBlock>(&m_blocks.at(b))) {
            const double h = widgetHeight(widget->widget);
            if (h != m_geometry.block(b).fixedHeight) {
                m_geometry.block(b).fixedHeight = h;
                again = true;
            }
        }
    }
    if (again)
        m_geometry.restack();
    updateScrollRange();
    placeWidgets();
    invalidate(QRectF(viewport()->rect()));
    updateBuiltRange();
}

void ShelfSurface::updateScrollRange()
{
    const int page = viewport()->height();
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(page);
    bar->setRange(0, std::max(0, int(std::ceil(m_geometry.height())) - page));
}

void ShelfSurface::placeWidgets()
{
    const int offset = verticalScrollBar()->value();
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (const auto *widget = std::get_if<WidgetBlock>(&m_blocks.at(b)); widget && widget->widget) {
            // Its side margins (room for a shadow) reach out into the padding, so that what it
            // draws lines up with the headers and the cards.
            const QMargins margins = widget->widget->contentsMargins();
            const QRect r = m_geometry.blockRect(b)
                                .translated(0, -offset)
                                .toAlignedRect()
                                .adjusted(-margins.left(), 0, margins.right(), 0);
            if (widget->widget->geometry() != r)
                widget->widget->setGeometry(r);
        }
    }
}

// --- Painters for the items on screen and around it ---

ShelfSurface::Built &ShelfSurface::ensureBuilt(qsizetype block, qsizetype index)
{
    return detail::ensurePainter(m_states[std::size_t(block)], std::get<ShelfCollection>(m_blocks.at(block)), index, m_paging);
}

void ShelfSurface::updateBuiltRange(Reach reach)
{
    // New blocks while the shelf shows: the items on screen are what the next paint needs. Making
    // the painters a screen above and below them too (twice as many) would keep that paint
    // waiting; painting ahead makes them right after it.
    keepBuilt(reach == Reach::screen && isVisible() ? Reach::screen : Reach::around);
    m_prepare.schedule();
}

void ShelfSurface::keepBuilt(Reach reach)
{
    const double top = verticalScrollBar()->value();
    const double height = viewport()->height();
    // A viewport's height on either side: scrolling by a whole page finds its cards made.
    const double margin = height;
    const std::vector<ShelfGeometry::Visible> shown = m_geometry.visible(top, top + height);
    const std::vector<ShelfGeometry::Visible> around = m_geometry.visible(top - margin, top + height + margin);

    QList<PictureKey> wanted;
    const auto want = [&wanted](const std::optional<PictureKey> &key) {
        if (key)
            wanted.append(*key);
    };
    std::vector<QHash<Save::ID, Built>> kept(m_states.size());
    const auto keep = [&](qsizetype block, qsizetype index) {
        Built &built = ensureBuilt(block, index);
        const Save::ID &id = collection(block)->items.at(index).save().id();
        if (built.card) {
            want(built.card->pictureKey(built.cardState));
            want(built.card->avatarKey());
        } else if (built.row) {
            want(built.row->pictureKey(built.rowState));
        }
        kept[std::size_t(block)].insert(id, built);
    };
    // The items on screen first, so that their pictures load first.
    for (const ShelfGeometry::Visible &v : shown) {
        for (qsizetype i = v.items.first; i < v.items.last; ++i)
            keep(v.block, i);
    }
    m_aroundPending = false;
    for (const ShelfGeometry::Visible &v : around) {
        for (qsizetype i = v.items.first; i < v.items.last; ++i) {
            const Save::ID &id = collection(v.block)->items.at(i).save().id();
            if (kept[std::size_t(v.block)].contains(id))
                continue;
            // Only on screen: one made already is kept, the others wait.
            if (reach == Reach::screen && !m_states[std::size_t(v.block)].built.contains(id)) {
                m_aroundPending = true;
                continue;
            }
            keep(v.block, i);
        }
    }
    // The hovered and pressed items keep their state while the pointer is on them.
    for (const Pointer &pointer : m_input.heldItems()) {
        if (!pointer.isSet() || pointer.block >= qsizetype(m_states.size()))
            continue;
        auto &from = m_states[std::size_t(pointer.block)].built;
        if (const auto it = from.constFind(pointer.id); it != from.cend() && standsAt(pointer.block, pointer.id, it->index)
                                                        && !kept[std::size_t(pointer.block)].contains(pointer.id))
            kept[std::size_t(pointer.block)].insert(pointer.id, *it);
    }
    for (std::size_t b = 0; b < m_states.size(); ++b)
        m_states[b].built = std::move(kept[b]);
    m_pictures->want(wanted);
}

void ShelfSurface::holdPrepare() { m_prepare.hold(); }

void ShelfSurface::releasePrepare() { m_prepare.release(); }

bool ShelfSurface::preparing() const { return m_prepare.isRunning(); }

bool ShelfSurface::prepareSlice()
{
    QElapsedTimer clock;
    clock.start();
    if (m_aroundPending)
        keepBuilt(Reach::around);
    const double top = verticalScrollBar()->value();
    const double bottom = top + viewport()->height();
    const qreal ratio = viewport()->devicePixelRatioF();
    return painting().ahead(m_states, top, bottom, ratio,
                            [&clock] { return clock.elapsed() >= detail::ShelfPrepare::sliceMs; });
}

ShelfSurface::Built *ShelfSurface::builtFor(const Pointer &pointer, qsizetype *index)
{
    if (!pointer.isSet() || pointer.block >= qsizetype(m_states.size()))
        return nullptr;
    auto &built = m_states[std::size_t(pointer.block)].built;
    const auto it = built.find(pointer.id);
    if (it == built.end() || !standsAt(pointer.block, pointer.id, it->index))
        return nullptr;
    if (index)
        *index = it->index;
    return &*it;
}

bool ShelfSurface::standsAt(qsizetype block, const Save::ID &id, qsizetype index) const
{
    return detail::standsAt(collection(block), id, index);
}

void ShelfSurface::settleKept()
{
    // The items the pointer is on or pressed are looked for wherever they went (a few at most):
    // their painters carry the hover and the press. Those gone are forgotten.
    const auto stays = [this](qsizetype block, const Save::ID &id) {
        if (block < 0 || block >= qsizetype(m_states.size()))
            return false;
        auto &built = m_states[std::size_t(block)].built;
        const auto it = built.find(id);
        const std::optional<qsizetype> at = detail::placeOf(collection(block), id, it == built.end() ? -1 : it->index);
        if (at && it != built.end())
            it->index = *at;
        return at.has_value();
    };
    const bool hoverGone = m_input.settle(stays);

    // Any other painter whose save moved waits, unplaced, until it is next needed (ensureBuilt
    // places it again and keeps what it made when the item is unchanged); one whose save is
    // gone is let go with the items out of range.
    for (qsizetype b = 0; b < qsizetype(m_states.size()); ++b) {
        auto &built = m_states[std::size_t(b)].built;
        for (auto it = built.begin(); it != built.end(); ++it) {
            if (it->index >= 0 && !standsAt(b, it.key(), it->index))
                it->index = -1;
        }
    }
    if (hoverGone)
        announceHover();
}

// --- Where things are ---

QRectF ShelfSurface::itemRect(qsizetype block, qsizetype index) const
{
    return m_geometry.itemRect(block, index).translated(0, -verticalScrollBar()->value());
}

std::optional<ShelfGeometry::Hit> ShelfSurface::itemAt(const QPointF &viewportPoint) const
{
    return m_geometry.itemAt(viewportPoint + QPointF(0, verticalScrollBar()->value()));
}

std::vector<ShelfGeometry::Visible> ShelfSurface::visibleItems() const
{
    const double top = verticalScrollBar()->value();
    return m_geometry.visible(top, top + viewport()->height());
}

std::optional<ShelfGeometry::Hit> ShelfSurface::find(const Save::ID &id) const
{
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (const ShelfCollection *c = collection(b))
            if (const qsizetype i = ShelfItem::indexOf(c->items, id); i >= 0)
                return ShelfGeometry::Hit{b, i};
    }
    return std::nullopt;
}

void ShelfSurface::scrollToItem(const Save::ID &id)
{
    const auto at = find(id);
    if (!at)
        return;
    const QRectF r = m_geometry.itemRect(at->block, at->index);
    QScrollBar *bar = verticalScrollBar();
    const double top = bar->value() + m_coveredTop;
    const double bottom = bar->value() + viewport()->height();
    int to = bar->value();
    if (r.top() < top)
        to = int(std::floor(r.top() - m_geometry.spacing() - m_coveredTop));
    else if (r.bottom() > bottom)
        to = int(std::ceil(r.bottom() + m_geometry.spacing() - viewport()->height()));
    else
        return;
    // A little further, to a whole number of the canvas's steps, where the shelf paints the
    // canvas under itself: the scroll then moves pixels instead of painting the whole shelf.
    if (m_backdrop) {
        if (const int aligned = bar->value() + DotGrid::toWholeSteps(to - bar->value());
            aligned >= bar->minimum() && aligned <= bar->maximum())
            to = aligned;
    }
    bar->setValue(to);
}

void ShelfSurface::setCoveredTop(double height)
{
    m_coveredTop = std::max(0.0, height);
    // The scroll bar stays clear of the bar over the top, where it could be neither seen nor held.
    ScrollBarStyle::setEdgeInsets(*verticalScrollBar(), int(std::ceil(m_coveredTop)), 0);
}

QMimeData *ShelfSurface::dragData(qsizetype block, qsizetype index) const
{
    const ShelfItem *shown = item(block, index);
    return shown ? ShelfCollection::dragData(*shown, dragOrigin()) : nullptr;
}

// --- Repainting ---

void ShelfSurface::invalidate(const QRectF &viewportRect)
{
    const QRect r = viewportRect.toAlignedRect().intersected(viewport()->rect());
    if (r.isEmpty())
        return;
    m_invalidated += r;
    requestPaint(r);
}

void ShelfSurface::pictureArrived(const PictureKey &key)
{
    // Only the items on screen that show it: the rest of the viewport, and everything over and
    // under it in the window, stay as they are; items around the screen take it when painted ahead.
    for (const ShelfGeometry::Visible &v : visibleItems()) {
        for (qsizetype i = v.items.first; i < v.items.last; ++i) {
            const ShelfItem *shown = item(v.block, i);
            if (!shown)
                continue;
            const Built *built = builtFor(Pointer{v.block, shown->save().id()});
            const bool shows = !built
                               || (built->card && (built->card->pictureKey(built->cardState) == key || built->card->avatarKey() == key))
                               || (built->row && built->row->pictureKey(built->rowState) == key);
            if (shows)
                invalidateItem(v.block, i);
        }
    }
}

void ShelfSurface::requestPaint(const QRect &rect)
{
    if (rect.isEmpty())
        return;
    m_prepare.paintRequested();
    viewport()->update(rect);
}

void ShelfSurface::invalidateItem(qsizetype block, qsizetype index)
{
    // The lifted card reaches a point above its cell.
    invalidate(itemRect(block, index).adjusted(0, -SaveCard::hoverLift - 1, 0, 1));
}

QRegion ShelfSurface::takeInvalidated()
{
    QRegion r = m_invalidated;
    m_invalidated = QRegion();
    return r;
}

int ShelfSurface::builtCount() const
{
    int count = 0;
    for (const BlockState &state : m_states)
        count += int(state.built.size());
    return count;
}

std::vector<ShelfSurface::KeptPainter> ShelfSurface::keptPainters() const
{
    std::vector<KeptPainter> kept;
    for (std::size_t b = 0; b < m_states.size(); ++b) {
        for (auto it = m_states[b].built.cbegin(); it != m_states[b].built.cend(); ++it) {
            if (it->card)
                kept.push_back(KeptPainter{qsizetype(b), it.key(), it->index, it->card->item()});
            else if (it->row)
                kept.push_back(KeptPainter{qsizetype(b), it.key(), it->index, it->row->item()});
        }
    }
    return kept;
}

std::size_t ShelfSurface::memoryBytes() const
{
    std::size_t bytes = sizeof(*this);
    for (qsizetype b = 0; b < m_geometry.blockCount(); ++b) {
        if (const auto &items = m_geometry.block(b).items)
            bytes += items->memoryBytes();
    }
    for (const BlockState &state : m_states) {
        bytes += std::size_t(state.built.capacity()) * (sizeof(Built) + sizeof(Save::ID) + sizeof(void *));
        bytes += state.saves.capacity() * sizeof(const void *);
    }
    bytes += std::size_t(m_blocks.size()) * sizeof(Block);
    return bytes;
}

detail::ShelfPaint ShelfSurface::painting()
{
    return detail::ShelfPaint{m_geometry,
                              *m_pictures,
                              m_cardImages,
                              m_rowImages,
                              [this](qsizetype block) { return collection(block); },
                              [this](qsizetype block, qsizetype index) -> Built & { return ensureBuilt(block, index); },
                              [this](const Pointer &item, qsizetype *index) { return builtFor(item, index); }};
}

void ShelfSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const double offset = verticalScrollBar()->value();
    m_lastPainted = 0;
    const detail::ShelfPaint paint = painting();
    const bool opaque = m_backdrop && viewport()->testAttribute(Qt::WA_OpaquePaintEvent);
    if (opaque && paintListed(painter, event->region(), offset, paint)) {
        m_prepare.painted();
        return;
    }
    paintRectWise(painter, event->region(), [&](const QRect &exposed) {
        const QRectF band = QRectF(exposed).translated(0, offset);
        const auto visible = visibleUnder(band);
        if (opaque) {
            for (const QRect &r : canvasBetween(exposed, offset, visible, paint))
                paintBackdrop(painter, r);
        }
        painter.translate(0, -offset);
        for (const ShelfGeometry::Visible &v : visible) {
            if (const ShelfCollection *c = collection(v.block))
                m_lastPainted += paint.collection(painter, *c, v.block, v.items, band);
        }
        painter.translate(0, offset);
    });
    // What was waiting for this paint follows it.
    m_prepare.painted();
}

std::vector<ShelfGeometry::Visible> ShelfSurface::visibleUnder(const QRectF &band) const
{
    // A lifted card reaches above its cell.
    return m_geometry.visible(band.top() - SaveCard::hoverLift - 1, band.bottom() + 1);
}

QRegion ShelfSurface::canvasBetween(const QRect &exposed, double offset, const std::vector<ShelfGeometry::Visible> &visible,
                                    const detail::ShelfPaint &paint) const
{
    // The canvas only between the cards: most of the area is theirs, and copying the canvas under
    // them too was the largest part of a whole repaint.
    const QRectF band = QRectF(exposed).translated(0, offset);
    QRegion between(exposed);
    for (const ShelfGeometry::Visible &v : visible) {
        if (const ShelfCollection *c = collection(v.block))
            between -= paint.opaque(*c, v.block, v.items, band).translated(0, -int(offset));
    }
    return between;
}

bool ShelfSurface::paintListed(QPainter &painter, const QRegion &region, double offset, const detail::ShelfPaint &paint)
{
    // Into an image (the window's buffer), at a whole pixel ratio: each band is then painted
    // through an image of its own over the same rows, as this painter would have painted them.
    QPaintEngine *engine = painter.paintEngine();
    QPaintDevice *target = engine ? engine->paintDevice() : nullptr;
    if (!target || target->devType() != QInternal::Image)
        return false;
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxScale || toDevice.m11() != toDevice.m22() || toDevice.m11() != std::round(toDevice.m11()))
        return false;
    const QRect area = toDevice.mapRect(region.boundingRect());
    const int bands = DrawList::bandsFor(qint64(area.width()) * area.height());
    if (bands <= 1)
        return false;

    // Called up now, to be awake by the time the list is made.
    DrawList::Crew crew(bands);
    DrawList list;
    int painted = 0;
    for (const QRect &exposed : region) {
        list.setWorldTransform(QTransform());
        list.clipTo(toDevice.mapRect(exposed));
        const auto visible = visibleUnder(QRectF(exposed).translated(0, offset));
        for (const QRect &r : canvasBetween(exposed, offset, visible, paint))
            paintBackdrop(list, r);
        painter.translate(0, -offset);
        for (const ShelfGeometry::Visible &v : visible) {
            const ShelfCollection *c = collection(v.block);
            const std::optional<int> listed = c ? paint.listCollection(list, painter, *c, v.block, v.items) : 0;
            if (!listed) {
                painter.translate(0, offset);
                return false;
            }
            painted += *listed;
        }
        painter.translate(0, offset);
    }
    list.replay(*static_cast<QImage *>(target), toDevice, area, crew);
    m_lastPainted = painted;
    return true;
}

// --- Size and scrolling ---

void ShelfSurface::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    fitImageBudgets();
    relayout();
}

void ShelfSurface::fitImageBudgets()
{
    // The images of what is on screen, of what is prepared around it (which stops at a quarter
    // of a cache) and of what was shown lately: more would keep cards nobody will see soon.
    const QSizeF shown = viewport()->size();
    const qreal ratio = viewport()->devicePixelRatioF();
    m_cardImages.setBudgetBytes(PaintedImageCache<int>::screensBudget(shown, ratio, imageScreens, minImageBudget,
                                                                      SaveCardCache::defaultBudget));
    m_rowImages.setBudgetBytes(PaintedImageCache<int>::screensBudget(shown, ratio, imageScreens, minImageBudget,
                                                                     SaveRowCache::defaultBudget));
}

namespace {

// Whether a scroll had better move the viewport's pixels than paint them again. Qt's X11 backing
// store moves them in a pixmap on the X server: it first uploads there whatever was painted since
// the last move, and the next paint waits for the server to have done it all. On an X server at
// 100,000 saves, wheel steps of each kind taken in turn reached the screen sooner painted whole
// (4.2 against 4.6 ms median, 8.0 against 10.6 ms at the slowest). The other backing stores
// (offscreen, Wayland) move the pixels in the program's own memory, which is cheaper than painting.
bool scrollsMovePixels()
{
    static const bool moves = QGuiApplication::platformName() != QLatin1String("xcb");
    return moves;
}

}  // namespace

void ShelfSurface::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    m_scrollMoved = false;
    const bool moves = scrollsMovePixels();
    const bool onDots = DotGrid::movesOntoDots(dy, viewport()->devicePixelRatioF());
    const QRect movable =
        moves && m_backdrop && viewport()->testAttribute(Qt::WA_OpaquePaintEvent) && onDots ? movableArea() : QRect();
    if (std::abs(dy) < movable.height()) {
        // Only what lies under nothing moves (the widgets of the blocks stay, and placeWidgets()
        // below moves them); what lies under the bar and the bands is painted again, with what
        // scrolled in.
        viewport()->scroll(0, dy, movable);
        for (const QRect &r : QRegion(viewport()->rect()).subtracted(movable))
            invalidate(QRectF(r));
        invalidate(dy > 0 ? QRectF(movable.left(), movable.top(), movable.width(), dy)
                          : QRectF(movable.left(), movable.bottom() + dy + 1, movable.width(), -dy));
        m_scrollMoved = true;
    } else if (moves && std::abs(dy) < viewport()->height()) {
        // Moves the widgets of the blocks too; placeWidgets() below finds them in place.
        viewport()->scroll(0, dy);
        // What scrolled in.
        const QRect r = viewport()->rect();
        invalidate(dy > 0 ? QRectF(r.left(), r.top(), r.width(), dy) : QRectF(r.left(), r.bottom() + dy + 1, r.width(), -dy));
    } else {
        invalidate(QRectF(viewport()->rect()));
    }
    updateBuiltRange();
    placeWidgets();
    m_input.contentMoved();
}

void ShelfSurface::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    findPaging();
}

void ShelfSurface::findPaging()
{
    // The viewport paints the cards, so it is the one that listens.
    if (!FollowPaging::follow(this, m_paging, viewport(), qOverload<>(&QWidget::update)))
        return;
    for (BlockState &state : m_states) {
        for (Built &built : state.built) {
            if (built.card)
                built.card->setPaging(m_paging);
        }
    }
    viewport()->update();
}

qsizetype ShelfSurface::blockOfWidget(const QObject *widget) const
{
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        if (const auto *block = std::get_if<WidgetBlock>(&m_blocks.at(b)); block && block->widget == widget)
            return b;
    }
    return -1;
}

bool ShelfSurface::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::LayoutRequest) && watched->isWidgetType()) {
        if (const qsizetype b = blockOfWidget(watched); b >= 0) {
            if (type == QEvent::Enter) {
                // The pointer went from the shelf onto a widget of a block (the hero, a header),
                // which the viewport does not hear as a leave: it is over no item now, and a
                // scroll lifts none.
                m_input.left();
            } else if (widgetHeight(static_cast<QWidget *>(watched)) != m_geometry.block(b).fixedHeight) {
                // A widget of a block asks for another height. A new text in a header asks again
                // for the height it already has: the header repaints itself, and nothing on the
                // shelf moves or needs painting anew.
                relayout();
            }
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// --- The pointer ---

bool ShelfSurface::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Leave:
        m_input.left();
        break;
    case QEvent::ParentChange:
        findPaging();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ShelfSurface::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_input.press(event->position())) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void ShelfSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (m_input.dragStarts(event->position(), event->buttons())) {
        m_input.drag();
        return;
    }
    m_input.moved(event->position());
    QAbstractScrollArea::mouseMoveEvent(event);
}

void ShelfSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_input.isPressing()) {
        m_input.forgetPress();
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const ItemPart clicked = m_input.release(event->position());
    event->accept();
    activate(clicked, event->modifiers());
}

// --- What the user asks for, and what the surface reports ---

void ShelfSurface::activate(const ItemPart &clicked, Qt::KeyboardModifiers modifiers)
{
    qsizetype index = 0;
    Built *built = builtFor(clicked.item(), &index);
    if (!built)
        return;
    // Copies: the callbacks may hand the surface new blocks before they return.
    const ShelfCollection c = std::get<ShelfCollection>(m_blocks.at(clicked.block));
    const ShelfItem shown = c.items.at(index);
    const IntentHandler raise = [&c, &shown](const SaveIntent &intent) { if (c.onIntent) c.onIntent(shown, intent); };
    QPointer<ShelfSurface> alive(this);
    if (built->card) {
        const SaveCard card = *built->card;
        SaveCard::ViewState state = built->cardState;
        card.activate(clicked.card, raise, state, modifiers);
        if (!alive)
            return;
        // The thumbnail's own page may have turned.
        if (Built *still = builtFor(clicked.item(), &index)) {
            still->cardState.thumbnail.page = state.thumbnail.page;
            invalidateItem(clicked.block, index);
        }
    } else if (built->row) {
        const SaveRow row = *built->row;
        row.activate(clicked.row, raise, modifiers);
    }
}

void ShelfSurface::selectItem(qsizetype block, const Save::ID &id)
{
    const ShelfCollection *c = collection(block);
    if (!c || !c->onIntent)
        return;
    const auto found = std::find_if(c->items.cbegin(), c->items.cend(),
                                    [&id](const ShelfItem &item) { return item.save().id() == id; });
    if (found == c->items.cend())
        return;
    // Copies: the handler may hand the surface new blocks before it returns.
    const auto onIntent = c->onIntent;
    const ShelfItem pressed = *found;
    onIntent(pressed, SaveIntent::select());
}

std::optional<Save::ID> ShelfSurface::hoveredSave() const
{
    const detail::ShelfItemRef &hovered = m_input.hovered();
    return hovered.isSet() ? std::optional<Save::ID>(hovered.id) : std::nullopt;
}

void ShelfSurface::announceHover()
{
    emit hoveredItemChanged();
}

std::optional<SaveMenu> ShelfSurface::menuFor(qsizetype block, qsizetype index) const
{
    const ShelfCollection *c = collection(block);
    const ShelfItem *shown = item(block, index);
    if (!c || !shown)
        return std::nullopt;
    const ShelfItem target = *shown;
    const auto onIntent = c->onIntent;
    return SaveMenu(target, c->collections, [onIntent, target](const SaveIntent &intent) {
        if (onIntent)
            onIntent(target, intent);
    });
}

void ShelfSurface::contextMenuEvent(QContextMenuEvent *event)
{
    const auto hit = itemAt(QPointF(event->pos()));
    const auto menu = hit ? menuFor(hit->block, hit->index) : std::nullopt;
    if (!menu) {
        event->ignore();
        return;
    }
    menu->popUp(this, event->globalPos());
    event->accept();
}

void ShelfSurface::copy()
{
    if (m_commandHandler)
        m_commandHandler(Command::copy);
}

void ShelfSurface::selectAll()
{
    if (m_commandHandler)
        m_commandHandler(Command::selectAll);
}

void ShelfSurface::keyPressEvent(QKeyEvent *event)
{
    // Keys go to the page's handler first; nothing may touch the surface once it took one.
    if (!m_input.key(event))
        QAbstractScrollArea::keyPressEvent(event);
}

// --- Drops: the shelf's own drags are refused, every other drag goes on to the window ---

namespace {

// Whether the drag is one of this surface's own, refused then: a card or row let go on its own
// shelf does nothing.
bool refuseOwnDrop(QDropEvent *event, quintptr origin)
{
    if (!ShelfCollection::isOwnDrop(event->mimeData(), origin))
        return false;
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    return true;
}

}  // namespace

void ShelfSurface::dragEnterEvent(QDragEnterEvent *event)
{
    if (!refuseOwnDrop(event, dragOrigin()))
        event->ignore();
}

void ShelfSurface::dragMoveEvent(QDragMoveEvent *event)
{
    if (!refuseOwnDrop(event, dragOrigin()))
        event->ignore();
}

void ShelfSurface::dropEvent(QDropEvent *event)
{
    if (!refuseOwnDrop(event, dragOrigin()))
        event->ignore();
}

}  // namespace sw
