#pragma once

// The presenter of the library window's main column: it builds and feeds the shelf's widgets (the
// surface's blocks, the hero, the section headers) from what the library page hands it. The saves that the library page's filter and search text
// select, on the one painted shelf surface, in the home arrangement or as one titled section
// (ShelfArrangement), and the keyboard on the focused shelf:
//
//   arrow keys        move the selection through the visible order as through a grid of the
//                     card columns (one column in the list layout); with nothing selected, the
//                     first visible save
//   Return            the selected save's action (the key goes on when nothing is selected)
//   Space             preview the selected save (likewise)
//   Delete, Backspace delete the selection (the library page decides what that removes)
//   Escape            no selection
//   Select All, Copy  from the Edit menu: every visible save's id in order; the selected save's
//                     canonical address as text on the clipboard
//
// The presenter keeps no library state. The library page hands it the shelf, the filter, the search
// text, the layout, the selection, the title and the chosen saves, and hears its requests by
// signal. The filter and the selection are bindings: the presenter writes the filter only from the
// recently added row's View All button and the selection only from the arrow keys and Escape, each
// time emitting the change; the library page's own writes of an equal value are silent. A
// selection that becomes a save takes the keyboard focus to the shelf and scrolls the save into
// view, clear of the window's bar that lies over the shelf's top.
//
// Changes are drawn once per turn of the event loop. No save becomes a widget: only the hero and
// the section headers are widgets, children of the surface. Main thread only.

#include "Library/Save.h"
#include "Shelf/Filter.h"
#include "Shelf/Shelf.h"
#include "Shelf/ShelfItem.h"
#include "Stashwell/Presenters/ShelfArrangement.h"
#include "StashwellUI/Saves/SaveIntent.h"
#include "StashwellUI/Shelf/GridNavigation.h"
#include "StashwellUI/Shelf/ShelfLayout.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <optional>

class QKeyEvent;

namespace sw {
class LatestSaveHero;
class SectionHeader;
class ShelfSurface;
class ShelfTemplate;
}  // namespace sw

namespace sw::app {

class ShelfPresenter final : public QObject {
    Q_OBJECT
public:
    explicit ShelfPresenter(QObject *parent = nullptr);
    ~ShelfPresenter() override;

    // The visible order of a shelf for a filter and a search text (the library page's range
    // selection and bulk panel use it too).
    static QList<ShelfItem> visibleItems(const Shelf &shelf, const Filter &filter, const QString &query)
    {
        return ShelfArrangement::visibleItems(shelf, filter, query);
    }

    // ---- inputs ------------------------------------------------------------------------------
    void setShelf(const Shelf &shelf);
    const std::optional<Shelf> &shelf() const { return m_shelf; }
    void setFilter(const Filter &filter);
    const Filter &filter() const { return m_filter; }
    // The shelf after progress alone: only the items of the saves whose posts have `links`
    // changed (their copies), nothing that decides what shows where. What was worked out from
    // the last shelf stays, with those items renewed; the surface repaints only their cells.
    void renewItems(const Shelf &shelf, const QList<PostLink> &links);
    // The search text exactly as typed.
    void setQuery(const QString &query);
    const QString &query() const { return m_query; }
    void setLayout(ShelfLayout layout);
    ShelfLayout layout() const { return m_layout; }
    void setSelection(const std::optional<Save::ID> &selection);
    const std::optional<Save::ID> &selection() const { return m_selection; }
    // The header title of the matching section.
    void setTitle(const QString &title);
    const QString &title() const { return m_title; }
    // The saves chosen for a bulk action, drawn selected too.
    void setHighlighted(const QSet<Save::ID> &highlighted);
    const QSet<Save::ID> &highlighted() const { return m_highlighted; }

    // ---- what it shows -----------------------------------------------------------------------
    qsizetype columns() const { return ShelfArrangement::columns(m_selection); }
    const ShelfArrangement &arrangement() const;
    const QList<ShelfItem> &visibleOrder() const;
    // Its length, counted from the arrangement's sections without listing the saves again.
    qsizetype visibleCount() const;
    // Its item at `index` (within visibleCount()), found in the arrangement's sections: the
    // keyboard reads one item, and the home's order would copy every save of the library.
    const ShelfItem &visibleAt(qsizetype index) const;
    // The first visible item of the selected save; none when nothing is selected or the selected
    // save is not visible.
    std::optional<ShelfItem> selectedItem() const;

    // ---- the keyboard and the commands ---------------------------------------------------------
    void move(GridMove move);
    // Return and Space: false when no visible save is selected, so the key goes on.
    bool activateSelection();
    bool previewSelection();
    void deleteSelection();
    void clearSelection();
    void selectAll();
    void copy();
    // A key pressed on the focused shelf; true when taken.
    bool handleKey(const QKeyEvent &event);
    // The recently added row's button: the filter becomes recentlyAdded.
    void viewAll();

    // ---- the view ----------------------------------------------------------------------------
    // The shelf's frame it draws into (the empty state, or the sections on its surface) and takes
    // keys and the Edit menu's commands from; none detaches. Not owned.
    void setView(ShelfTemplate *view);
    ShelfTemplate *view() const;
    ShelfSurface *surface() const;
    // Draws pending changes now rather than in the next turn.
    void refreshNow();

signals:
    void filterChanged();
    void selectionChanged();
    // Everything asked of one save: a click on its card, row or the hero (select, with the
    // click's modifiers; its action; trash), its save menu, Return (its action) and Space
    // (preview).
    void intentRaised(const sw::ShelfItem &item, const sw::SaveIntent &intent);
    void downloadMissingRequested();
    void deleteSelectionRequested();
    void selectAllRequested(const QList<sw::Save::ID> &ids);

private:
    // What the shelf gave for the filter and the search text: the inputs' change drops it, and
    // the arrangement and the visible order with it. A change of the columns or the title drops
    // only the arrangement, which is then made again from what the shelf gave.
    struct Source {
        std::optional<Home> home;
        QList<ShelfItem> rest;   // the home's rest as items
        ShelfArrangement::AllSaves allSaves;   // the home's all section, when not the rest itself
        qsizetype missing = 0;
        std::int64_t missingBytes = 0;
        QList<ShelfItem> items;
    };
    const Source &source() const;
    void invalidate();
    void invalidateArrangement();
    void scheduleRefresh();
    void refresh();
    std::optional<qsizetype> selectedIndex() const;

    std::optional<Shelf> m_shelf;
    Filter m_filter;
    QString m_query;
    ShelfLayout m_layout = ShelfLayout::grid;
    std::optional<Save::ID> m_selection;
    QString m_title;
    QSet<Save::ID> m_highlighted;

    // Worked out from the inputs when first read after a change.
    mutable std::optional<Source> m_source;
    // What the last shelf gave, while the next one has not been read: a home whose shelf the
    // next one follows lends it the items of the saves that did not change.
    mutable std::optional<Source> m_lastSource;
    // The home of this shelf while another filter or a search shows: going back to the home takes
    // it again instead of working the whole library through once more.
    mutable std::optional<Source> m_homeSource;
    mutable std::optional<ShelfArrangement> m_arrangement;
    mutable std::optional<QList<ShelfItem>> m_visible;
    mutable qsizetype m_selectedHint = -1;   // where the selection stood when last found

    // Scrolls the selected save into the part of the shelf that nothing lies over.
    void reveal();
    void attach(ShelfSurface *surface);
    void detach(ShelfSurface *surface);

    QPointer<ShelfTemplate> m_view;
    QPointer<LatestSaveHero> m_hero;
    QList<QPointer<SectionHeader>> m_headers;
    bool m_refreshPending = false;
    bool m_revealPending = false;
    // Another filter or search since the last refresh: the shelf shows its new list from the top.
    bool m_fromTop = false;
};

}  // namespace sw::app
