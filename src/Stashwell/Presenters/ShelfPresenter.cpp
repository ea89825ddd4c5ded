#include "Stashwell/Presenters/ShelfPresenter.h"

#include "Stashwell/Commands/CopiedLink.h"
#include "Stashwell/Presenters/ProgressedItems.h"
#include "StashwellUI/Controls/SectionHeader.h"
#include "StashwellUI/Saves/LatestSaveHero.h"
#include "StashwellUI/Saves/SaveMenu.h"
#include "StashwellUI/Shelf/ShelfCollection.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

namespace sw::app {

ShelfPresenter::ShelfPresenter(QObject *parent) : QObject(parent) {}

ShelfPresenter::~ShelfPresenter()
{
    detach(surface());
    delete m_hero;
    for (const QPointer<SectionHeader> &header : std::as_const(m_headers))
        delete header;
}

// ---- inputs ------------------------------------------------------------------------------------

void ShelfPresenter::setShelf(const Shelf &shelf)
{
    m_shelf = shelf;
    if (m_source && m_source->home)
        m_lastSource = std::move(m_source);
    else if (m_homeSource)
        m_lastSource = std::move(m_homeSource);
    m_source.reset();
    m_homeSource.reset();
    invalidate();
}

void ShelfPresenter::renewItems(const Shelf &shelf, const QList<PostLink> &links)
{
    m_shelf = shelf;
    m_homeSource.reset();
    if (m_source) {
        // The home's rest is counted in the last shelf: given up, and made from this one when the
        // arrangement is next made again. A list of items is renewed in place.
        if (m_source->home)
            m_source.reset();
        else
            ProgressedItems::renew(m_source->items, shelf, links);
    }
    if (m_arrangement) {
        ProgressedItems::renew(m_arrangement->hero, shelf, links);
        for (ShelfSection &section : m_arrangement->sections)
            ProgressedItems::renew(section.items, shelf, links);
    }
    // The visible order is made again from the arrangement when next read (the keyboard reads it):
    // renewing it here would copy a second list of every save, which the surface does not share.
    // The saves stand where they stood, so the selection's place still holds.
    m_visible.reset();
    scheduleRefresh();
}

void ShelfPresenter::setFilter(const Filter &filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    m_fromTop = true;
    invalidate();
    emit filterChanged();
}

void ShelfPresenter::setQuery(const QString &query)
{
    if (query == m_query)
        return;
    m_query = query;
    m_fromTop = true;
    invalidate();
}

void ShelfPresenter::setLayout(ShelfLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    scheduleRefresh();
}

void ShelfPresenter::setSelection(const std::optional<Save::ID> &selection)
{
    if (selection == m_selection)
        return;
    const bool columnsChange = selection.has_value() != m_selection.has_value();
    m_selection = selection;
    // The home's recently added row is as long as the columns are many.
    if (columnsChange && ShelfArrangement::isHome(m_filter, m_query))
        invalidateArrangement();
    else
        scheduleRefresh();
    if (m_selection) {
        m_revealPending = true;
        if (ShelfSurface *shown = surface())
            shown->setFocus(Qt::OtherFocusReason);
    }
    emit selectionChanged();
}

void ShelfPresenter::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    invalidateArrangement();
}

void ShelfPresenter::setHighlighted(const QSet<Save::ID> &highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    scheduleRefresh();
}

void ShelfPresenter::invalidate()
{
    if (m_source && m_source->home)
        m_homeSource = std::move(m_source);
    m_source.reset();
    m_arrangement.reset();
    m_visible.reset();
    m_selectedHint = -1;
    scheduleRefresh();
}

void ShelfPresenter::invalidateArrangement()
{
    m_arrangement.reset();
    scheduleRefresh();
}

// ---- what it shows -----------------------------------------------------------------------------

const ShelfPresenter::Source &ShelfPresenter::source() const
{
    if (!m_source) {
        Source made;
        if (m_shelf && ShelfArrangement::isHome(m_filter, m_query) && m_homeSource) {
            made = std::move(*m_homeSource);
            m_homeSource.reset();
        } else if (m_shelf && ShelfArrangement::isHome(m_filter, m_query)) {
            made.home = m_shelf->home();
            made.rest = m_lastSource ? made.home->rest(*m_lastSource->home, m_lastSource->rest) : made.home->rest();
            made.missing = m_shelf->count(Filter::linkOnly());
            made.missingBytes = made.missing > 0 ? m_shelf->missingBytes() : 0;
        } else if (m_shelf) {
            made.items = m_shelf->items(m_filter, m_query);
        }
        m_lastSource.reset();
        m_source = std::move(made);
    }
    return *m_source;
}

const ShelfArrangement &ShelfPresenter::arrangement() const
{
    if (!m_arrangement) {
        const Source &from = source();
        if (from.home)
            m_arrangement = ShelfArrangement::home(*from.home, from.rest, from.missing, from.missingBytes, columns(),
                                                   &m_source->allSaves);
        else
            m_arrangement = ShelfArrangement::matching(from.items, m_query, m_title);
    }
    return *m_arrangement;
}

const QList<ShelfItem> &ShelfPresenter::visibleOrder() const
{
    if (!m_visible)
        m_visible = arrangement().items();
    return *m_visible;
}

qsizetype ShelfPresenter::visibleCount() const
{
    if (m_visible)
        return m_visible->size();
    const ShelfArrangement &shown = arrangement();
    qsizetype count = shown.hero ? 1 : 0;
    for (const ShelfSection &section : shown.sections)
        count += section.items.size();
    return count;
}

const ShelfItem &ShelfPresenter::visibleAt(qsizetype index) const
{
    if (m_visible)
        return m_visible->at(index);
    const ShelfArrangement &shown = arrangement();
    if (shown.hero) {
        if (index == 0)
            return *shown.hero;
        --index;
    }
    for (const ShelfSection &section : shown.sections) {
        if (index < section.items.size())
            return section.items.at(index);
        index -= section.items.size();
    }
    Q_UNREACHABLE();
}

std::optional<qsizetype> ShelfPresenter::selectedIndex() const
{
    if (!m_selection)
        return std::nullopt;
    // Every save stands once in the visible order: where it was found last time, it still is
    // while the order is the same.
    const qsizetype count = visibleCount();
    if (m_selectedHint >= 0 && m_selectedHint < count && visibleAt(m_selectedHint).save().id() == *m_selection)
        return m_selectedHint;
    const ShelfArrangement &shown = arrangement();
    qsizetype at = 0;
    if (shown.hero) {
        if (shown.hero->save().id() == *m_selection)
            return m_selectedHint = 0;
        ++at;
    }
    for (const ShelfSection &section : shown.sections) {
        if (const qsizetype i = ShelfItem::indexOf(section.items, *m_selection); i >= 0)
            return m_selectedHint = at + i;
        at += section.items.size();
    }
    return std::nullopt;
}

std::optional<ShelfItem> ShelfPresenter::selectedItem() const
{
    const std::optional<qsizetype> index = selectedIndex();
    if (!index)
        return std::nullopt;
    return visibleAt(*index);
}

// ---- the keyboard and the commands -------------------------------------------------------------

void ShelfPresenter::move(GridMove move)
{
    const qsizetype cols = m_layout == ShelfLayout::list ? 1 : columns();
    const std::optional<qsizetype> next = GridNavigation::index(selectedIndex(), move, cols, visibleCount());
    if (!next)
        return;
    m_selectedHint = *next;
    setSelection(visibleAt(*next).save().id());
}

bool ShelfPresenter::activateSelection()
{
    const std::optional<ShelfItem> item = selectedItem();
    if (!item)
        return false;
    emit intentRaised(*item, SaveIntent::action(item->action()));
    return true;
}

bool ShelfPresenter::previewSelection()
{
    const std::optional<ShelfItem> item = selectedItem();
    if (!item)
        return false;
    emit intentRaised(*item, SaveIntent::preview());
    return true;
}

void ShelfPresenter::deleteSelection() { emit deleteSelectionRequested(); }

void ShelfPresenter::clearSelection() { setSelection(std::nullopt); }

void ShelfPresenter::selectAll()
{
    const QList<ShelfItem> &items = visibleOrder();
    QList<Save::ID> ids;
    ids.reserve(items.size());
    for (const ShelfItem &item : items)
        ids.append(item.save().id());
    emit selectAllRequested(ids);
}

void ShelfPresenter::copy()
{
    const std::optional<ShelfItem> item = selectedItem();
    if (!item)
        return;
    copyText(item->save().post().link.url().text());
}

bool ShelfPresenter::handleKey(const QKeyEvent &event)
{
    // The arrows and Return of the keypad count as theirs; any other modifier leaves the key alone.
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_Left:
        move(GridMove::left);
        return true;
    case Qt::Key_Right:
        move(GridMove::right);
        return true;
    case Qt::Key_Up:
        move(GridMove::up);
        return true;
    case Qt::Key_Down:
        move(GridMove::down);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return activateSelection();
    case Qt::Key_Space:
        return previewSelection();
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        deleteSelection();
        return true;
    case Qt::Key_Escape:
        clearSelection();
        return true;
    default:
        return false;
    }
}

void ShelfPresenter::viewAll() { setFilter(Filter::recentlyAdded()); }

// ---- the view ----------------------------------------------------------------------------------

ShelfTemplate *ShelfPresenter::view() const { return m_view; }

ShelfSurface *ShelfPresenter::surface() const { return m_view ? &m_view->surface() : nullptr; }

void ShelfPresenter::setView(ShelfTemplate *view)
{
    if (view == m_view)
        return;
    detach(surface());
    delete m_hero;
    for (const QPointer<SectionHeader> &header : std::as_const(m_headers))
        delete header;
    m_headers.clear();
    m_view = view;
    attach(surface());
    scheduleRefresh();
}

void ShelfPresenter::attach(ShelfSurface *shown)
{
    if (!shown)
        return;
    const QPointer<ShelfPresenter> self(this);
    shown->setKeyHandler([self](QKeyEvent *event) { return self && event && self->handleKey(*event); });
    shown->setCommandHandler([self](ShelfSurface::Command command) {
        if (!self)
            return;
        if (command == ShelfSurface::Command::copy)
            self->copy();
        else
            self->selectAll();
    });
}

void ShelfPresenter::detach(ShelfSurface *shown)
{
    if (!shown)
        return;
    shown->setKeyHandler({});
    shown->setCommandHandler({});
}

void ShelfPresenter::scheduleRefresh()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending)
            refresh();
    });
}

void ShelfPresenter::refreshNow()
{
    if (m_refreshPending)
        refresh();
}

void ShelfPresenter::refresh()
{
    m_refreshPending = false;
    ShelfSurface *surface = this->surface();
    // Without a shelf there is nothing to show yet (the window's first frame, before the library
    // is counted): the column stays blank rather than saying it is empty.
    if (!surface || !m_shelf)
        return;
    const ShelfArrangement &shown = arrangement();
    m_view->setEmptyTexts(shown.emptyTitle, shown.emptyMessage);
    m_view->setEmpty(shown.isEmpty);
    const QPointer<ShelfPresenter> self(this);
    const QList<Collection> collections = m_shelf ? m_shelf->library().collections : QList<Collection>{};
    const Date now = m_shelf ? m_shelf->now() : Date{};

    QList<ShelfSurface::Block> blocks;
    if (shown.hero) {
        const ShelfItem &latest = *shown.hero;
        if (!m_hero) {
            m_hero = new LatestSaveHero(latest, now, surface->viewport());
            m_hero->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(m_hero, &LatestSaveHero::intentRaised, this, [this](const SaveIntent &intent) {
                if (m_hero)
                    emit intentRaised(m_hero->item(), intent);
            });
            connect(m_hero, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
                if (!m_hero)
                    return;
                const ShelfItem item = m_hero->item();
                const QPointer<ShelfPresenter> page(this);
                SaveMenu menu(item, m_shelf ? m_shelf->library().collections : QList<Collection>{},
                              [page, item](const SaveIntent &intent) {
                                  if (page)
                                      emit page->intentRaised(item, intent);
                              });
                menu.popUp(m_hero, m_hero->mapToGlobal(at));
            });
        } else {
            m_hero->setItem(latest);
            m_hero->setNow(now);
        }
        blocks.append(ShelfSurface::WidgetBlock{QPointer<QWidget>(m_hero.data())});
    } else if (m_hero) {
        m_hero->hide();
    }

    qsizetype used = 0;
    for (const ShelfSection &section : shown.sections) {
        if (m_headers.size() <= used || !m_headers[used])
            m_headers.insert(used, new SectionHeader(QString(), surface->viewport()));
        SectionHeader *header = m_headers[used++];
        header->setTitle(section.title);
        header->setDetail(section.detail);
        header->setActionTitle(section.actionTitle);
        switch (section.kind) {
        case ShelfSection::Kind::recentlyAdded:
            header->setAction([self] {
                if (self)
                    self->viewAll();
            });
            break;
        case ShelfSection::Kind::allSaves:
            header->setAction([self] {
                if (self)
                    emit self->downloadMissingRequested();
            });
            break;
        case ShelfSection::Kind::matching:
            header->setAction({});
            break;
        }
        blocks.append(ShelfSurface::WidgetBlock{QPointer<QWidget>(header)});

        ShelfCollection collection;
        collection.items = section.items;
        collection.layout = m_layout;
        collection.columns = columns();
        collection.now = now;
        collection.selection = m_selection;
        collection.highlighted = m_highlighted;
        collection.collections = collections;
        collection.onIntent = [self](const ShelfItem &item, const SaveIntent &intent) {
            if (self)
                emit self->intentRaised(item, intent);
        };
        blocks.append(std::move(collection));
    }
    for (qsizetype i = used; i < m_headers.size(); ++i) {
        if (m_headers[i])
            m_headers[i]->hide();
    }

    if (std::exchange(m_fromTop, false))
        surface->showFromTop();
    surface->setBlocks(std::move(blocks));
    if (m_revealPending) {
        m_revealPending = false;
        reveal();
    }
}

void ShelfPresenter::reveal()
{
    ShelfSurface *surface = this->surface();
    if (!surface || !m_selection)
        return;
    const ShelfArrangement &shown = arrangement();
    if (!shown.hero || !(shown.hero->save().id() == *m_selection)) {
        surface->scrollToItem(*m_selection);
        return;
    }
    // The hero is the first block, at the head of the column: when any of it lies above what the
    // shelf shows clear of the window's bar, the column goes back to its top.
    if (m_hero && !surface->blocks().isEmpty()) {
        QScrollBar *bar = surface->verticalScrollBar();
        if (surface->columnGeometry().blockRect(0).top() - surface->coveredTop() < bar->value())
            bar->setValue(bar->minimum());
    }
}

}  // namespace sw::app
