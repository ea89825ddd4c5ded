#include "StashwellUI/Shelf/ShelfSurface.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/HoverPress.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Saves/SaveMenu.h"
#include "StashwellUI/Shelf/ShelfPictures.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QLayoutItem>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QElapsedTimer>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

// The part of a card or row that reacts to the pointer, as one value for both.
struct PartHit {
    SaveCard::Part card = SaveCard::Part::none;
    SaveRow::Part row = SaveRow::Part::none;
    bool isNone() const { return card == SaveCard::Part::none && row == SaveRow::Part::none; }
};

// The viewport, a type of its own so that assistive technologies see it as a list of the items
// on screen.
class Viewport : public QWidget {
public:
    explicit Viewport(ShelfSurface *surface) : QWidget(surface), m_surface(surface) {}
    ShelfSurface *surface() const { return m_surface; }

private:
    ShelfSurface *m_surface;
};

// --- Accessibility: the items on screen as list items ---

class ItemInterface : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemInterface(ShelfSurface *surface, qsizetype block, Save::ID id) : m_surface(surface), m_block(block), m_id(id) {}

    // Where the item stands now, among the items on screen.
    std::optional<qsizetype> index() const
    {
        if (!m_surface)
            return std::nullopt;
        for (const ShelfGeometry::Visible &v : m_surface->visibleItems()) {
            if (v.block != m_block)
                continue;
            for (qsizetype i = v.items.first; i < v.items.last; ++i) {
                const ShelfItem *item = m_surface->item(m_block, i);
                if (item && item->save().id() == m_id)
                    return i;
            }
        }
        return std::nullopt;
    }

    bool isValid() const override { return index().has_value(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_surface && m_surface->window() ? m_surface->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_surface ? QAccessible::queryAccessibleInterface(m_surface->viewport()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const auto at = index();
        if (!at || t != QAccessible::Name)
            return {};
        const ShelfItem *item = m_surface->item(m_block, *at);
        const auto *collection = std::get_if<ShelfCollection>(&m_surface->blocks().at(m_block));
        if (!item || !collection)
            return {};
        if (collection->layout == ShelfLayout::grid)
            return SaveCard(*item, collection->now, false).accessibleText();
        return SaveRow(*item, collection->now, false).accessibleText();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const auto at = index();
        if (!at)
            return {};
        const QRect local = m_surface->itemRect(m_block, *at).toAlignedRect();
        return QRect(m_surface->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        const auto at = index();
        if (!at) {
            state.invalid = true;
            return state;
        }
        const auto *collection = std::get_if<ShelfCollection>(&m_surface->blocks().at(m_block));
        state.selectable = true;
        state.selected = collection && collection->isSelected(m_id);
        state.focusable = true;
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
    QStringList actionNames() const override
    {
        return isValid() ? QStringList{pressAction(), showMenuAction()} : QStringList();
    }
    void doAction(const QString &name) override
    {
        const auto at = index();
        if (!at)
            return;
        const auto *collection = std::get_if<ShelfCollection>(&m_surface->blocks().at(m_block));
        if (!collection)
            return;
        if (name == pressAction() && collection->onIntent) {
            const auto onIntent = collection->onIntent;
            const ShelfItem pressed = collection->items.at(*at);
            onIntent(pressed, SaveIntent::select());
        } else if (name == showMenuAction()) {
            if (const auto menu = m_surface->menuFor(m_block, *at))
                menu->popUp(m_surface, m_surface->viewport()->mapToGlobal(m_surface->itemRect(m_block, *at).center().toPoint()));
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    qsizetype block() const { return m_block; }
    const Save::ID &id() const { return m_id; }

private:
    QPointer<ShelfSurface> m_surface;
    qsizetype m_block;
    Save::ID m_id;
};

class ListInterface : public QAccessibleWidget {
public:
    explicit ListInterface(Viewport *viewport) : QAccessibleWidget(viewport, QAccessible::List) {}
    ~ListInterface() override
    {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    // The page's widgets first, then the items on screen in order.
    struct Entry {
        qsizetype block;
        qsizetype index;
    };
    std::vector<Entry> entries() const
    {
        std::vector<Entry> result;
        for (const ShelfGeometry::Visible &v : surface()->visibleItems()) {
            for (qsizetype i = v.items.first; i < v.items.last; ++i)
                result.push_back(Entry{v.block, i});
        }
        return result;
    }
    int widgetCount() const { return QAccessibleWidget::childCount(); }

    int childCount() const override { return widgetCount() + int(entries().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = widgetCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const std::vector<Entry> all = entries();
        const std::size_t at = std::size_t(index - widgets);
        if (index < 0 || at >= all.size())
            return nullptr;
        const ShelfItem *item = surface()->item(all[at].block, all[at].index);
        if (!item)
            return nullptr;
        const Key key{all[at].block, item->save().id()};
        if (const auto found = m_items.find(key); found != m_items.end())
            return QAccessible::accessibleInterface(*found);
        auto *interface = new ItemInterface(surface(), key.block, key.id);
        m_items.insert(key, QAccessible::registerAccessibleInterface(interface));
        return interface;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const int widgets = widgetCount();
        if (child && child->role() == QAccessible::ListItem && !child->object()) {
            const auto *item = static_cast<const ItemInterface *>(child);
            const std::vector<Entry> all = entries();
            for (std::size_t i = 0; i < all.size(); ++i) {
                const ShelfItem *shown = surface()->item(all[i].block, all[i].index);
                if (all[i].block == item->block() && shown && shown->save().id() == item->id())
                    return widgets + int(i);
            }
            return -1;
        }
        return QAccessibleWidget::indexOfChild(child);
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        if (const auto hit = surface()->itemAt(QPointF(local))) {
            const std::vector<Entry> all = entries();
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (all[i].block == hit->block && all[i].index == hit->index)
                    return child(widgetCount() + int(i));
            }
        }
        return QAccessibleWidget::childAt(x, y);
    }

private:
    struct Key {
        qsizetype block;
        Save::ID id;
        friend bool operator==(const Key &, const Key &) = default;
    };
    friend size_t qHash(const Key &key, size_t seed) noexcept { return qHashMulti(seed, key.block, key.id); }

    ShelfSurface *surface() const { return static_cast<Viewport *>(widget())->surface(); }
    mutable QHash<Key, QAccessible::Id> m_items;
};

QAccessibleInterface *viewportFactory(const QString &, QObject *object)
{
    if (auto *viewport = dynamic_cast<Viewport *>(object))
        return new ListInterface(viewport);
    return nullptr;
}

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(viewportFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

constexpr std::uint8_t kTextCard = 0;
constexpr std::uint8_t kMediaCard = 1;

// A post without attachments is a text post, whose card is the shorter one; read from the
// item, not the save, so that a long list's classes are one pass over the items.
std::uint8_t heightClass(const ShelfItem &item)
{
    return item.kind() == Kind::text ? kTextCard : kMediaCard;
}

}  // namespace

ShelfSurface::ShelfSurface(QWidget *parent)
    : QAbstractScrollArea(parent), m_pictures(new ShelfPictures(this))
{
    installAccessibility();
    setViewport(new Viewport(this));
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
    connect(&Theme::instance(), &Theme::changed, viewport(), qOverload<>(&QWidget::update));
    m_prepare = new QTimer(this);
    m_prepare->setSingleShot(true);
    m_prepare->setTimerType(Qt::PreciseTimer);
    connect(m_prepare, &QTimer::timeout, this, &ShelfSurface::prepareAhead);
    connect(m_pictures, &ShelfPictures::arrived, this, &ShelfSurface::schedulePrepare);
}

ShelfSurface::~ShelfSurface()
{
    // Stopped before the surface's members go, so that no animation reports to a half-gone surface.
    for (QVariantAnimation *animation : std::as_const(m_hoverAnimations)) {
        if (animation)
            animation->stop();
    }
}

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

std::vector<std::uint8_t> ShelfSurface::heightClasses(const QList<ShelfItem> &items) const
{
    std::vector<std::uint8_t> classes(std::size_t(items.size()));
    const ShelfItem *z = items.constData();
    for (qsizetype i = 0, n = items.size(); i < n; ++i)
        classes[std::size_t(i)] = heightClass(z[i]);
    return classes;
}

ItemGeometry ShelfSurface::itemGeometry(const ShelfCollection &c) const
{
    if (c.layout == ShelfLayout::list)
        return ItemGeometry::list(c.items.size(), SaveRow::height, listDivider);
    return gridGeometry(c, heightClasses(c.items));
}

ItemGeometry ShelfSurface::gridGeometry(const ShelfCollection &c, std::vector<std::uint8_t> classes) const
{
    return ItemGeometry::grid(c.effectiveColumns(), ShelfCollection::gridSpacing, std::move(classes),
                              {SaveCard::height(false), SaveCard::height(true)});
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
    };
    std::optional<Anchor> anchor;
    for (const ShelfGeometry::Visible &v : visibleItems()) {
        if (!v.items.isEmpty()) {
            if (const ShelfItem *shown = item(v.block, v.items.first))
                anchor = Anchor{shown->save().id(), {v.block, v.items.first}, itemRect(v.block, v.items.first).top()};
            break;
        }
    }

    m_prepareHeld = false;
    QList<Block> old = std::move(m_blocks);
    std::vector<BlockState> oldStates = std::move(m_states);
    ShelfGeometry oldGeometry = std::move(m_geometry);
    m_geometry.setPadding(oldGeometry.padding());
    m_geometry.setSpacing(oldGeometry.spacing());
    m_blocks = std::move(blocks);
    m_states.assign(std::size_t(m_blocks.size()), BlockState{});

    bool structural = old.size() != m_blocks.size();
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
            continue;
        }
        const ShelfCollection &now = std::get<ShelfCollection>(m_blocks.at(b));
        const auto *before = b < old.size() ? std::get_if<ShelfCollection>(&old.at(b)) : nullptr;
        std::optional<ItemGeometry> laidOut;
        std::vector<const void *> saves =
            b < qsizetype(oldStates.size()) ? std::move(oldStates[std::size_t(b)].saves) : std::vector<const void *>();
        bool sameItems = before && before->layout == now.layout && before->items.size() == now.items.size()
                         && qsizetype(saves.size()) == now.items.size();
        if (sameItems) {
            // The same saves in the same order, and (for a grid) of the same heights: a save whose
            // data is shared is the same save; another one must have the same id and height.
            const ShelfItem *a = before->items.constData();
            const ShelfItem *z = now.items.constData();
            const void **kept = saves.data();
            for (qsizetype i = 0, n = now.items.size(); i < n; ++i) {
                const void *data = &z[i].save().post();
                if (data == kept[i])
                    continue;
                if (a[i].save().id() != z[i].save().id() || heightClass(a[i]) != heightClass(z[i])) {
                    sameItems = false;
                    break;
                }
                kept[i] = data;
            }
        }
        if (!sameItems) {
            std::vector<const void *> fresh(std::size_t(now.items.size()));
            const ShelfItem *z = now.items.constData();
            for (qsizetype i = 0, n = now.items.size(); i < n; ++i)
                fresh[std::size_t(i)] = &z[i].save().post();
            std::swap(saves, fresh);
            if (now.layout == ShelfLayout::grid)
                laidOut = gridGeometry(now, heightClasses(now.items));
        }
        state.saves = std::move(saves);
        if (sameItems) {
            std::optional<ItemGeometry> kept = std::move(oldGeometry.block(b).items);
            if (now.layout == ShelfLayout::grid && kept->columns() != now.effectiveColumns()) {
                kept->setColumns(now.effectiveColumns());
                structural = true;
            }
            geometry[std::size_t(b)].items = std::move(kept);
            state.built = std::move(oldStates[std::size_t(b)].built);
            itemsKept[std::size_t(b)] = true;
        } else {
            structural = true;
            geometry[std::size_t(b)].items = laidOut ? std::move(laidOut) : itemGeometry(now);
            // Painters of saves still shown keep their images and state; they are checked when
            // they are next needed.
            if (b < qsizetype(oldStates.size()))
                state.built = std::move(oldStates[std::size_t(b)].built);
        }
    }
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
        if (anchor) {
            // Where it stood, when the saves stand as before; else wherever it is now.
            const ShelfItem *still = item(anchor->at.block, anchor->at.index);
            const auto at = still && still->save().id() == anchor->id ? std::optional(anchor->at) : find(anchor->id);
            if (at) {
                const double y = m_geometry.itemRect(at->block, at->index).top() - anchor->top;
                verticalScrollBar()->setValue(int(std::lround(y)));
            }
        }
        placeWidgets();
        invalidate(QRectF(viewport()->rect()));
        updateBuiltRange();
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
            const bool remade = refresh(built, c, built.index);
            built.generation = state.generation;
            if (remade)
                invalidateItem(b, built.index);
        }
    }
    updateScrollRange();
    placeWidgets();
    updateBuiltRange();
    retire(std::move(old));
}

void ShelfSurface::retire(QList<Block> blocks)
{
    // Only lists that nobody else holds cost anything to let go: they are kept until the paint
    // that shows the new column has run (painting ahead lets them go), unless nothing will paint;
    // a few columns' at most, the oldest let go now.
    for (Block &block : blocks) {
        if (auto *c = std::get_if<ShelfCollection>(&block))
            letGo(std::move(c->items));
    }
}

void ShelfSurface::letGo(QList<ShelfItem> items)
{
    if (!isVisible() || !items.isDetached())
        return;
    m_retired.push_back(std::move(items));
    while (m_retired.size() > kRetiredLists)
        m_retired.erase(m_retired.begin());
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

bool ShelfSurface::refresh(Built &built, const ShelfCollection &c, qsizetype index)
{
    Q_ASSERT(index >= 0 && index < c.items.size());
    const ShelfItem &shown = c.items.at(index);
    built.index = index;
    const bool selected = c.isSelected(shown.save().id());
    const double minute = SaveCard::wholeMinute(c.now);
    // The painter stays when what it was made from is unchanged (the painters' own equality,
    // checked on their inputs so that nothing is made to be compared).
    if (c.layout == ShelfLayout::grid) {
        built.row.reset();
        if (built.card && built.card->isSelected() == selected && SaveCard::wholeMinute(built.card->now()) == minute
            && built.card->item() == shown)
            return false;
        built.card.emplace(shown, c.now, selected);
        built.card->setPaging(m_paging);
        built.card->track(built.cardState);
        return true;
    } else {
        built.card.reset();
        if (built.row && built.row->isSelected() == selected && SaveCard::wholeMinute(built.row->now()) == minute
            && built.row->item() == shown)
            return false;
        built.row.emplace(shown, c.now, selected);
        built.row->track(built.rowState);
        return true;
    }
}

ShelfSurface::Built &ShelfSurface::ensureBuilt(qsizetype block, qsizetype index)
{
    const ShelfCollection &c = std::get<ShelfCollection>(m_blocks.at(block));
    BlockState &state = m_states[std::size_t(block)];
    const Save::ID &id = c.items.at(index).save().id();
    auto it = state.built.find(id);
    if (it == state.built.end()) {
        it = state.built.insert(id, Built{});
        refresh(*it, c, index);
        it->generation = state.generation;
    } else if (it->generation != state.generation || it->index != index) {
        refresh(*it, c, index);
        it->generation = state.generation;
    }
    return *it;
}

void ShelfSurface::updateBuiltRange()
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
    for (const ShelfGeometry::Visible &v : around) {
        for (qsizetype i = v.items.first; i < v.items.last; ++i) {
            const Save::ID &id = collection(v.block)->items.at(i).save().id();
            if (!kept[std::size_t(v.block)].contains(id))
                keep(v.block, i);
        }
    }
    // The hovered and pressed items keep their state while the pointer is on them.
    const Pointer pressedItem{m_pointer.pressed().block, m_pointer.pressed().id};
    for (const Pointer *pointer : {static_cast<const Pointer *>(&m_hovered), &pressedItem, static_cast<const Pointer *>(&m_pressItem)}) {
        if (!pointer->isSet() || pointer->block >= qsizetype(m_states.size()))
            continue;
        auto &from = m_states[std::size_t(pointer->block)].built;
        if (const auto it = from.constFind(pointer->id); it != from.cend() && standsAt(pointer->block, pointer->id, it->index)
                                                         && !kept[std::size_t(pointer->block)].contains(pointer->id))
            kept[std::size_t(pointer->block)].insert(pointer->id, *it);
    }
    for (std::size_t b = 0; b < m_states.size(); ++b)
        m_states[b].built = std::move(kept[b]);
    m_pictures->want(wanted);
    schedulePrepare();
}

void ShelfSurface::holdPrepare()
{
    m_prepareHeld = true;
    if (m_prepare->isActive()) {
        m_prepare->stop();
        m_prepareAfterPaint = true;
    }
}

void ShelfSurface::releasePrepare()
{
    if (!m_prepareHeld)
        return;
    m_prepareHeld = false;
    if (m_prepareAfterPaint && !m_paintPending) {
        m_prepareAfterPaint = false;
        schedulePrepare();
    }
}

bool ShelfSurface::preparing() const { return m_prepare->isActive(); }

void ShelfSurface::schedulePrepare()
{
    if (!isVisible())
        return;
    if (m_paintPending || m_prepareHeld) {
        m_prepareAfterPaint = true;
        return;
    }
    if (!m_prepare->isActive())
        m_prepare->start(0);
}

void ShelfSurface::prepareAhead()
{
    m_retired.clear();
    if (!isVisible())
        return;
    QElapsedTimer clock;
    clock.start();
    const double top = verticalScrollBar()->value();
    const double bottom = top + viewport()->height();
    const qreal ratio = viewport()->devicePixelRatioF();
    struct Waiting {
        double distance;
        qsizetype block;
        Save::ID id;
    };
    std::vector<Waiting> waiting;
    for (qsizetype b = 0; b < qsizetype(m_states.size()); ++b) {
        for (auto it = m_states[std::size_t(b)].built.cbegin(); it != m_states[std::size_t(b)].built.cend(); ++it) {
            if (!standsAt(b, it.key(), it->index))
                continue;
            const QRectF cell = m_geometry.itemRect(b, it->index);
            const double distance = cell.bottom() < top ? top - cell.bottom() : (cell.top() > bottom ? cell.top() - bottom : 0);
            waiting.push_back(Waiting{distance, b, it.key()});
        }
    }
    std::sort(waiting.begin(), waiting.end(), [](const Waiting &a, const Waiting &b) { return a.distance < b.distance; });
    // Images out of view never push the ones on screen out of a cache: the nearest first, and no
    // further once the images of the items kept would fill three quarters of it (older images go
    // first when room is needed).
    double plannedCards = 0;
    double plannedRows = 0;
    for (const Waiting &w : waiting) {
        qsizetype index = 0;
        Built *built = builtFor(Pointer{w.block, w.id}, &index);
        if (!built)
            continue;
        const QRectF cell = m_geometry.itemRect(w.block, index);
        if (built->card) {
            const QSizeF size(cell.width(), built->card->height());
            plannedCards += size.width() * ratio * (size.height() + SaveCard::hoverLift) * ratio * 4;
            if (w.distance > 0 && plannedCards > 0.75 * double(m_cardImages.budgetBytes()))
                continue;
            const PicturePointer picture = m_pictures->picture(built->card->pictureKey(built->cardState));
            const PicturePointer avatar = m_pictures->picture(built->card->avatarKey());
            m_cardImages.prepare(size, ratio, *built->card, built->cardState, picture, avatar);
        } else if (built->row) {
            plannedRows += cell.width() * ratio * cell.height() * ratio * 4;
            if (w.distance > 0 && plannedRows > 0.75 * double(m_rowImages.budgetBytes()))
                continue;
            const PicturePointer picture = m_pictures->picture(built->row->pictureKey(built->rowState));
            m_rowImages.prepare(cell.size(), ratio, *built->row, built->rowState, picture);
        }
        if (clock.elapsed() >= prepareSliceMs) {
            // The next slice after a pause, so that what the user does meanwhile and the work it
            // starts come first.
            m_prepare->start(prepareYieldMs);
            return;
        }
    }
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
    const ShelfItem *shown = item(block, index);
    return shown && shown->save().id() == id;
}

std::optional<qsizetype> ShelfSurface::placeOf(qsizetype block, const Save::ID &id, qsizetype hint) const
{
    if (standsAt(block, id, hint))
        return hint;
    const ShelfCollection *c = collection(block);
    if (!c)
        return std::nullopt;
    const std::uint64_t key = ShelfItem::idKey(id);
    const ShelfItem *items = c->items.constData();
    for (qsizetype i = 0, n = c->items.size(); i < n; ++i) {
        if (items[i].idKey() == key && items[i].save().id() == id)
            return i;
    }
    return std::nullopt;
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
        const std::optional<qsizetype> at = placeOf(block, id, it == built.end() ? -1 : it->index);
        if (at && it != built.end())
            it->index = *at;
        return at.has_value();
    };
    bool hoverGone = false;
    if (m_hovered.isSet() && !stays(m_hovered.block, m_hovered.id)) {
        if (QVariantAnimation *animation = m_hoverAnimations.take(m_hovered.id)) {
            animation->stop();
            animation->deleteLater();
        }
        m_hovered = Pointer{};
        hoverGone = true;
    }
    if (m_pressItem.isSet() && !stays(m_pressItem.block, m_pressItem.id))
        m_pressItem = Pointer{};
    if (const ItemPart part = m_pointer.hovered(); part.block >= 0 && !stays(part.block, part.id))
        m_pointer.leave();
    if (const ItemPart part = m_pointer.pressed(); part.block >= 0 && !stays(part.block, part.id))
        m_pointer.release(ItemPart{});

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
        emit hoveredItemChanged();
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
    const std::uint64_t key = ShelfItem::idKey(id);
    for (qsizetype b = 0; b < m_blocks.size(); ++b) {
        const ShelfCollection *c = collection(b);
        if (!c)
            continue;
        const ShelfItem *items = c->items.constData();
        for (qsizetype i = 0, n = c->items.size(); i < n; ++i) {
            if (items[i].idKey() == key && items[i].save().id() == id)
                return ShelfGeometry::Hit{b, i};
        }
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
    if (r.top() < top)
        bar->setValue(int(std::floor(r.top() - m_geometry.spacing() - m_coveredTop)));
    else if (r.bottom() > bottom)
        bar->setValue(int(std::ceil(r.bottom() + m_geometry.spacing() - viewport()->height())));
}

void ShelfSurface::setCoveredTop(double height)
{
    m_coveredTop = std::max(0.0, height);
    // The scroll bar stays clear of the bar over the top, where it could be neither seen nor held.
    ScrollBarStyle::setEdgeInsets(*verticalScrollBar(), int(std::ceil(m_coveredTop)), 0);
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
    m_paintPending = true;
    // Painting ahead goes on once this paint has run.
    if (m_prepare->isActive()) {
        m_prepare->stop();
        m_prepareAfterPaint = true;
    }
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

void ShelfSurface::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const double offset = verticalScrollBar()->value();
    const QRectF band = QRectF(event->rect()).translated(0, offset);
    painter.translate(0, -offset);
    m_lastPainted = 0;
    for (const ShelfGeometry::Visible &v : m_geometry.visible(band.top() - SaveCard::hoverLift - 1, band.bottom() + 1)) {
        if (collection(v.block))
            paintCollection(painter, v.block, v.items, band);
    }
    // What was waiting for this paint follows it.
    m_paintPending = false;
    if ((m_prepareAfterPaint || !m_retired.empty()) && !m_prepareHeld) {
        m_prepareAfterPaint = false;
        // From the next turn of the event loop: the rest of the window paints in this one, and
        // a timer due now would run in it, before the frame is done.
        if (isVisible())
            QMetaObject::invokeMethod(this, &ShelfSurface::schedulePrepare, Qt::QueuedConnection);
    }
}

void ShelfSurface::paintCollection(QPainter &painter, qsizetype block, const ItemGeometry::Range &range, const QRectF &band)
{
    const ShelfCollection &c = std::get<ShelfCollection>(m_blocks.at(block));
    const QRectF blockRect = m_geometry.blockRect(block);
    if (c.layout == ShelfLayout::grid) {
        for (qsizetype i = range.first; i < range.last; ++i) {
            Built &built = ensureBuilt(block, i);
            const QRectF cell = m_geometry.itemRect(block, i);
            const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
            const PicturePointer picture = m_pictures->picture(built.card->pictureKey(built.cardState));
            const PicturePointer avatar = m_pictures->picture(built.card->avatarKey());
            m_cardImages.paint(painter, rect, *built.card, built.cardState, picture, avatar);
            ++m_lastPainted;
        }
        return;
    }

    // The list on its pane: only the part of the pane in the band is painted, its rounded corners
    // where they fall in it.
    if (blockRect.height() <= 0)
        return;
    const PaneSurface pane{Tokens::Colors::card(), Tokens::Colors::lineStrong(), 1, ShelfCollection::paneRadius};
    QRectF paneRect = blockRect;
    // A pane millions of points tall is cut to what shows, with the cut edges beyond the band.
    if (blockRect.top() < band.top() - 2 * pane.radius)
        paneRect.setTop(band.top() - 2 * pane.radius);
    if (blockRect.bottom() > band.bottom() + 2 * pane.radius)
        paneRect.setBottom(band.bottom() + 2 * pane.radius);
    painter.save();
    painter.setClipRect(band.intersected(blockRect.adjusted(-1, -1, 1, 1)));
    pane.paintBehind(painter, paneRect);
    painter.setClipPath(ContinuousShape::rect(paneRect, pane.radius), Qt::IntersectClip);
    const QColor divider = Tokens::Colors::line();
    for (qsizetype i = range.first; i < range.last; ++i) {
        Built &built = ensureBuilt(block, i);
        const QRectF cell = m_geometry.itemRect(block, i);
        const PicturePointer picture = m_pictures->picture(built.row->pictureKey(built.rowState));
        m_rowImages.paint(painter, cell, *built.row, built.rowState, picture);
        if (i + 1 < c.items.size())
            painter.fillRect(QRectF(cell.left(), cell.bottom(), cell.width(), listDivider), divider);
        ++m_lastPainted;
    }
    painter.restore();
    painter.save();
    painter.setClipRect(band.intersected(blockRect.adjusted(-1, -1, 1, 1)));
    pane.paintOver(painter, paneRect);
    painter.restore();
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
    // The images of what is on screen and of what is prepared around it (prepareAhead stops at
    // three quarters of a cache): more would keep cards nobody will see soon.
    const QSizeF shown = viewport()->size();
    const qreal ratio = viewport()->devicePixelRatioF();
    m_cardImages.setBudgetBytes(PaintedImageCache<int>::screensBudget(shown, ratio, imageScreens, minImageBudget,
                                                                      SaveCardCache::defaultBudget));
    m_rowImages.setBudgetBytes(PaintedImageCache<int>::screensBudget(shown, ratio, imageScreens, minImageBudget,
                                                                     SaveRowCache::defaultBudget));
}

void ShelfSurface::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    if (std::abs(dy) < viewport()->height()) {
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
    if (m_hovered.isSet())
        pointerMoved(QPointF(viewport()->mapFromGlobal(QCursor::pos())));
}

void ShelfSurface::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    findPaging();
}

void ShelfSurface::findPaging()
{
    Paging *paging = Paging::of(this);
    if (paging == m_paging)
        return;
    if (m_paging)
        disconnect(m_paging, nullptr, this, nullptr);
    m_paging = paging;
    if (paging)
        connect(paging, &Paging::pagesChanged, viewport(), qOverload<>(&QWidget::update));
    for (BlockState &state : m_states) {
        for (Built &built : state.built) {
            if (built.card)
                built.card->setPaging(paging);
        }
    }
    viewport()->update();
}

bool ShelfSurface::eventFilter(QObject *watched, QEvent *event)
{
    // A widget of a block asks for another height.
    if (event->type() == QEvent::LayoutRequest && watched->isWidgetType()) {
        for (const Block &block : std::as_const(m_blocks)) {
            if (const auto *widget = std::get_if<WidgetBlock>(&block); widget && widget->widget == watched) {
                relayout();
                break;
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
        pointerLeft();
        break;
    case QEvent::ParentChange:
        findPaging();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ShelfSurface::setHoveredItem(const Pointer &pointer)
{
    if (pointer.block == m_hovered.block && pointer.id == m_hovered.id)
        return;
    qsizetype index = 0;
    if (Built *before = builtFor(m_hovered, &index)) {
        before->cardState.hovered = false;
        before->cardState.thumbnail.hovering = false;
        before->rowState.thumbnail.hovering = false;
        if (before->card)
            animateHover(m_hovered.id, m_hovered.block, false);
        invalidateItem(m_hovered.block, index);
    }
    m_hovered = pointer;
    if (Built *after = builtFor(m_hovered, &index)) {
        after->cardState.hovered = true;
        if (after->card)
            animateHover(m_hovered.id, m_hovered.block, true);
        invalidateItem(m_hovered.block, index);
    }
    emit hoveredItemChanged();
}

void ShelfSurface::animateHover(const Save::ID &id, qsizetype block, bool in)
{
    const Tokens::Animation &quick = Tokens::Motion::quick();
    auto set = [this, id, block](double value) {
        Pointer p{block, id};
        qsizetype index = 0;
        if (Built *built = builtFor(p, &index)) {
            built->cardState.hover = value;
            invalidateItem(block, index);
        }
    };
    if (quick.isInstant()) {
        if (QVariantAnimation *running = m_hoverAnimations.take(id)) {
            running->stop();
            running->deleteLater();
        }
        set(in ? 1 : 0);
        return;
    }
    QVariantAnimation *&animation = m_hoverAnimations[id];
    double from = in ? 0 : 1;
    if (Built *built = builtFor(Pointer{block, id}))
        from = built->cardState.hover;
    if (!animation) {
        animation = new QVariantAnimation(this);
        connect(animation, &QVariantAnimation::valueChanged, this, [set](const QVariant &value) { set(value.toDouble()); });
        connect(animation, &QVariantAnimation::finished, this, [this, id, animation] {
            if (m_hoverAnimations.value(id) == animation) {
                m_hoverAnimations.remove(id);
                animation->deleteLater();
            }
        });
    }
    animation->stop();
    quick.applyTo(*animation);
    animation->setStartValue(from);
    animation->setEndValue(in ? 1.0 : 0.0);
    animation->start();
}

void ShelfSurface::pointerLeft()
{
    const ItemPart before = m_pointer.hovered();
    m_pointer.leave();
    syncPointer(Pointer{before.block, before.id});
    setHoveredItem(Pointer{});
}

ShelfSurface::ItemPart ShelfSurface::partAt(const QPointF &point)
{
    const auto hit = itemAt(point);
    const ShelfItem *shown = hit ? item(hit->block, hit->index) : nullptr;
    if (!shown)
        return ItemPart{};
    Built &built = ensureBuilt(hit->block, hit->index);
    const QRectF cell = itemRect(hit->block, hit->index);
    ItemPart part;
    if (built.card) {
        const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
        const PicturePointer picture = m_pictures->picture(built.card->pictureKey(built.cardState));
        part.card = built.card->hitTest(rect, point, built.cardState, picture);
    } else if (built.row) {
        part.row = built.row->hitTest(cell, point);
    }
    if (part.card == SaveCard::Part::none && part.row == SaveRow::Part::none)
        return ItemPart{};
    part.block = hit->block;
    part.id = shown->save().id();
    return part;
}

void ShelfSurface::syncPointer(const Pointer &target)
{
    qsizetype index = 0;
    Built *built = builtFor(target, &index);
    if (!built)
        return;
    const auto on = [&target](const ItemPart &part) { return part.block == target.block && part.id == target.id; };
    const ItemPart hovered = on(m_pointer.hovered()) ? m_pointer.hovered() : ItemPart{};
    // A part keeps its pressed look until the press ends, wherever the pointer goes.
    const ItemPart pressed = on(m_pointer.pressed()) ? m_pointer.pressed() : ItemPart{};
    bool changed = false;
    if (built->card) {
        SaveCard::ViewState &state = built->cardState;
        changed = showArrows(state.thumbnail, SaveCard::thumbnailHit(hovered.card), SaveCard::thumbnailHit(pressed.card));
        if (state.hoveredPart != hovered.card || state.pressedPart != pressed.card) {
            state.hoveredPart = hovered.card;
            state.pressedPart = pressed.card;
            changed = true;
        }
    } else if (built->row) {
        SaveRow::ViewState &state = built->rowState;
        if (state.hoveredPart != hovered.row || state.pressedPart != pressed.row) {
            state.hoveredPart = hovered.row;
            state.pressedPart = pressed.row;
            changed = true;
        }
    }
    if (changed)
        invalidateItem(target.block, index);
}

void ShelfSurface::pointerMoved(const QPointF &point)
{
    const auto hit = itemAt(point);
    const ShelfItem *shown = hit ? item(hit->block, hit->index) : nullptr;
    setHoveredItem(shown ? Pointer{hit->block, shown->save().id()} : Pointer{});

    const ItemPart before = m_pointer.hovered();
    const ItemPart part = partAt(point);
    m_pointer.hover(part);
    m_pointer.drag(part);
    syncPointer(Pointer{before.block, before.id});
    syncPointer(Pointer{part.block, part.id});

    // The thumbnail of a card follows the pointer for its arrows.
    if (shown) {
        Built &built = ensureBuilt(hit->block, hit->index);
        if (built.card) {
            const QRectF cell = itemRect(hit->block, hit->index);
            const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
            const bool overThumbnail = built.card->layout(rect, built.cardState).thumbnail.contains(point);
            if (overThumbnail != built.cardState.thumbnail.hovering) {
                built.cardState.thumbnail.hovering = overThumbnail;
                invalidateItem(hit->block, hit->index);
            }
        }
    }
}

void ShelfSurface::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPointF point = event->position();
    const auto hit = itemAt(point);
    const ShelfItem *shown = hit ? item(hit->block, hit->index) : nullptr;
    m_pressPoint = point;
    m_pressItem = shown ? Pointer{hit->block, shown->save().id()} : Pointer{};
    const ItemPart part = partAt(point);
    m_pointer.press(part);
    syncPointer(Pointer{part.block, part.id});
    if (!shown) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void ShelfSurface::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressItem.isSet() && (event->buttons() & Qt::LeftButton)
        && (event->position() - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        startDrag();
        return;
    }
    pointerMoved(event->position());
    QAbstractScrollArea::mouseMoveEvent(event);
}

void ShelfSurface::startDrag()
{
    const Pointer dragged = m_pressItem;
    m_pressItem = Pointer{};
    // The press ends without a click.
    const ItemPart pressed = m_pointer.pressed();
    m_pointer.release(ItemPart{});
    syncPointer(Pointer{pressed.block, pressed.id});
    qsizetype index = 0;
    if (!builtFor(dragged, &index))
        return;
    QMimeData *data = dragData(dragged.block, index);
    if (!data)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}

void ShelfSurface::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pointer.isPressing()) {
        m_pressItem = Pointer{};
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_pressItem = Pointer{};
    const ItemPart clicked = m_pointer.release(partAt(event->position()));
    syncPointer(Pointer{clicked.block, clicked.id});
    event->accept();
    qsizetype index = 0;
    Built *built = builtFor(Pointer{clicked.block, clicked.id}, &index);
    if (!built)
        return;
    // Copies: the callbacks may hand the surface new blocks before they return.
    const ShelfCollection c = std::get<ShelfCollection>(m_blocks.at(clicked.block));
    const ShelfItem shown = c.items.at(index);
    const IntentHandler raise = [&c, &shown](const SaveIntent &intent) { if (c.onIntent) c.onIntent(shown, intent); };
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    QPointer<ShelfSurface> alive(this);
    if (built->card) {
        const SaveCard card = *built->card;
        SaveCard::ViewState state = built->cardState;
        card.activate(clicked.card, raise, state, modifiers);
        if (!alive)
            return;
        // The thumbnail's own page may have turned.
        if (Built *still = builtFor(Pointer{clicked.block, clicked.id}, &index)) {
            still->cardState.thumbnail.page = state.thumbnail.page;
            invalidateItem(clicked.block, index);
        }
    } else if (built->row) {
        const SaveRow row = *built->row;
        row.activate(clicked.row, raise, modifiers);
    }
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
    if (m_keyHandler) {
        QPointer<ShelfSurface> alive(this);
        const bool taken = m_keyHandler(event);
        if (!alive)
            return;
        if (taken) {
            event->accept();
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Arrows move the selection, which is the page's; they never scroll by themselves.
        event->ignore();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

// --- Drops: the shelf's own drags are refused, every other drag goes on to the window ---

void ShelfSurface::dragEnterEvent(QDragEnterEvent *event)
{
    if (ShelfCollection::isOwnDrop(event->mimeData(), dragOrigin())) {
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        return;
    }
    event->ignore();
}

void ShelfSurface::dragMoveEvent(QDragMoveEvent *event)
{
    if (ShelfCollection::isOwnDrop(event->mimeData(), dragOrigin())) {
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        return;
    }
    event->ignore();
}

void ShelfSurface::dropEvent(QDropEvent *event)
{
    // A card or row let go on its own shelf: nothing happens.
    if (ShelfCollection::isOwnDrop(event->mimeData(), dragOrigin())) {
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        return;
    }
    event->ignore();
}

}  // namespace sw
