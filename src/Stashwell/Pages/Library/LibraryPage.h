#pragma once

// The library window's page: the controller that owns the window's view state and binds the
// window's views to the Curator and the Router. Everything a user does with saves in the window
// comes here; the widgets (LibraryPageView) only show this state and report what the user asks.
//
// It composes small parts it owns, each of one concern, reached through accessors:
//
//   selection()   the save in the inspector, the chosen saves, clicks and the bulk actions
//   drafting()    the collection in the sidebar's inline creator
//   dialogs()     the four dialogs' state, texts and confirmations
//   downloads()   the downloads the page starts, and their toasts
//   undo()        the bridge from the Curator's steps to the window's undo stack and the toast
//   player()      the player sheet: the save it plays and its requests
//   links()       links coming in: capture, Save Link, drops, and the Save Link sheet's end
//
// The page's own state, with its initial value:
//
//   filter        all           the sidebar's choice; a change empties the search and the chosen
//   query         ""            the search text
//   layout        grid          cards or rows
//   toast         none          the confirmation at the foot of the shelf, with its Undo
//
// Each has a ...Changed signal, emitted only when the value changes.
//
// The shelf: one projection of the Curator per change. The Curator's signals mark it stale and
// schedule one shelfChanged() for the next turn of the event loop, so a burst of changes gives one
// refresh; shelf() recomputes it at most once per change, whoever asks first (page, sidebar,
// inspector, status bar). Progress of a download alone refreshes at most about 30 times a second,
// and only the items it touched: when all that changed since the projection was made is the bytes
// of downloads still under way, the projection is made again without being worked out (its counts,
// sections and orders stay) and the cached lists get the new items of those saves; itemsChanged()
// then tells which saves' items the views should take (progressed()). Any other change of the local
// media (a download begins, ends or fails) refreshes everything, as any change of the library does.
//
// The undo rule: each library edit returns the step the Curator recorded, or none; the page hands
// it to undo(), which mirrors it on the window's undo stack and announces it (LibraryUndo).
//
// Work that waits (downloads, covers) runs as coroutines that look the page up again after each
// suspension and end quietly when it is gone.

#include "Library/Collection.h"
#include "Library/Save.h"
#include "Offline/DownloadRefusal.h"
#include "Shelf/Filter.h"
#include "Shelf/Shelf.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Saves/SaveIntent.h"
#include "StashwellUI/Shelf/ShelfLayout.h"
#include "StashwellUI/Sidebar/SidebarContent.h"
#include "StashwellUI/Toasts/ToastController.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <optional>

class QUndoStack;

namespace sw {
class Curator;
}

namespace sw::app {

class CollectionDrafting;
class DialogState;
class LibraryDownloads;
class LibraryPlayer;
class LibrarySelection;
class LibraryUndo;
class LinkIntake;
class Router;

class LibraryPage final : public QObject {
    Q_OBJECT
public:
    // What the page asks of the desktop. Each missing entry is filled with the live one.
    struct Desktop {
        // Opens a web address, or a file with its default application.
        std::function<void(const QUrl &)> open;
        // Shows files selected in the file manager.
        std::function<void(const QList<QUrl> &)> reveal;
        // Puts plain text on the clipboard.
        std::function<void(const QString &)> copyText;
        // The clipboard's text when it reads as a link, trimmed; none otherwise.
        std::function<std::optional<QString>()> copiedLink;
        // The user's home folder, as the media folder's text shows it ("~").
        std::function<QString()> homePath;

        Desktop completed() const;
    };

    // What the status bar shows.
    struct Status {
        qsizetype items = 0;        // every live save, whatever the filter or search
        std::int64_t onDisk = 0;    // bytes of media on this computer
        QString folder;             // the media folder's text
        friend bool operator==(const Status &, const Status &) = default;
    };

    // How long progress alone waits before the shelf is refreshed: about 30 times a second at
    // most, less often when showing a change costs the window more (see setProgressRefreshCost).
    // Progress shown item by item always waits this long.
    static constexpr int progressRefreshMs = 33;
    // The longest wait between two refreshes for progress alone.
    static constexpr int progressRefreshMaxMs = 500;

    // The Curator and the Router must outlive the page; the undo stack may go first (or be none).
    LibraryPage(Curator &curator, Router &router, QUndoStack *undoStack, Desktop desktop = {},
                QObject *parent = nullptr);
    ~LibraryPage() override;

    Curator &curator() const { return m_curator; }
    Router &router() const { return m_router; }
    const Desktop &desktop() const { return m_desktop; }

    // ---- the parts ----------------------------------------------------------------------------

    LibrarySelection &selection() const { return *m_selection; }
    CollectionDrafting &drafting() const { return *m_drafting; }
    DialogState &dialogs() const { return *m_dialogs; }
    LibraryDownloads &downloads() const { return *m_downloads; }
    LibraryUndo &undo() const { return *m_undo; }
    LibraryPlayer &player() const { return *m_player; }
    LinkIntake &links() const { return *m_links; }

    // ---- state --------------------------------------------------------------------------------

    const Filter &filter() const { return m_filter; }
    void setFilter(const Filter &filter);
    const QString &query() const { return m_query; }
    void setQuery(const QString &query);
    ShelfLayout layout() const { return m_layout; }
    void setLayout(ShelfLayout layout);

    // The toast: its message, whether it offers Undo (pressUndo undoes the step it announced,
    // when it still offers that), its timer.
    ToastController &toast() { return m_toast; }
    const ToastController &toast() const { return m_toast; }

    // ---- the shelf ----------------------------------------------------------------------------

    // The current projection, computed at most once per change of the Curator.
    const Shelf &shelf();
    // What the window's last refresh from a new projection cost: progress alone is then let
    // through at most once per three times that (never more often than progressRefreshMs), so a
    // download keeps the window busy a third of the time at most, however large the library.
    void setProgressRefreshCost(double milliseconds);
    int progressRefreshInterval() const { return m_progressTurn.interval(); }
    // The links whose saves' items changed by progress alone since the views last took them (on
    // itemsChanged); empty after a full refresh (shelfChanged), which covers them.
    QList<PostLink> takeProgressed();
    // Progress waiting for its turn is taken into the projection and announced now.
    void showProgressNow();
    // The saves of the filter that match the search, in library order; worked out once per change
    // of the shelf, the filter or the search, and shared by the bar, the shelf and the bulk panel.
    const QList<ShelfItem> &matchingItems();
    // The saves in the order the shelf shows them for the page's filter and search (the home
    // arrangement's order for all saves without a search); cached likewise.
    const QList<ShelfItem> &visibleItems();
    // The sidebar's numbers and lists, once per change of the shelf.
    const SidebarContent &sidebarContent();
    // What the sidebar can show before the library is counted (the window's first frame): the
    // collections and the storage, without counts, top authors or missing media. Walks no saves.
    SidebarContent uncountedSidebarContent();

    // ---- the window and the Router ------------------------------------------------------------

    // The page came on screen for the first time: a save asked for before the window existed is
    // shown.
    void appear();
    bool hasAppeared() const { return m_appeared; }
    // The window has drawn its first frame: what that frame did not need begins now, once: the
    // Curator's held preparation of the restored saves is released (it runs on the writer's
    // threads), and the missing covers are fetched (the covers folder listed and every save
    // looked at).
    // The view's counts and home list, held back from that frame, are asked for first
    // (firstFrameReached).
    void firstFrameShown();
    bool hasShownFirstFrame() const { return m_firstFrameShown; }
    // Ctrl+F: the search field takes the focus, every time.
    void focusSearch();
    // The application became active: local copies whose files went are dropped. Before the
    // window's first frame that is the start itself, which reconciles them already: nothing is
    // done.
    void becameActive();
    // A save to show (the quick save asked): all saves, that save selected, the request cleared.
    void showRequested(const std::optional<Save::ID> &id);
    // The window title: the current filter's title.
    QString windowTitle();

    // ---- sidebar and collections --------------------------------------------------------------

    // Links dropped on a sidebar row; whether the drop was taken.
    bool dropLinks(const Filter &on, const QList<QUrl> &urls);

    // ---- bar, content and bindings ------------------------------------------------------------

    // The title of the current filter.
    QString title(const Shelf &shelf) const;
    static QString title(const Filter &filter, const Library &library);
    // The bar's Empty Trash button: in the trash, while it holds anything.
    bool showsEmptyTrashButton();

    // ---- save actions -------------------------------------------------------------------------

    // The one road of everything asked of one save, from the shelf (cards, rows, the hero, the
    // save menu, Return and Space) and the inspector.
    void handle(const SaveIntent &intent, const ShelfItem &item);
    // Moves one save to the trash (announced, undoable); the current save no longer.
    void trash(const Save::ID &id);

    // The media folder as shown: home as "~" when the folder lies inside it, no trailing "/".
    QString folderText() const;
    static QString folderText(const QString &path, const QString &home);

    Status status();

signals:
    void filterChanged();
    void queryChanged();
    void layoutChanged();
    // The projection changed; emitted once per turn of the event loop at most.
    void shelfChanged();
    // The window's first frame is on screen (firstFrameShown): once.
    void firstFrameReached();
    // Only the items of the saves in progressed() changed; at most about 30 times a second.
    void itemsChanged();
    // The search field should take the keyboard focus.
    void searchFocusRequested();

private:
    void shelfStale(bool progressOnly);
    void emitShelfChanged();
    void localMediaDidChange();
    // Takes a change of the local media into the projection: item by item when only downloads'
    // bytes moved on, else by marking it stale for a full refresh.
    void followLocalMedia();
    void emitItemsChanged();
    void filterDidChange();
    void perform(const Action &action, const ShelfItem &item);
    // Space: the player for a video here, otherwise the save selected.
    void preview(const ShelfItem &item);
    void openAddress(const ShelfItem &item);

    Curator &m_curator;
    Router &m_router;
    Desktop m_desktop;

    Filter m_filter;
    QString m_query;
    ShelfLayout m_layout = ShelfLayout::grid;
    ToastController m_toast;
    // The parts: children of the page, made after the toast they share.
    LibraryUndo *m_undo = nullptr;
    LibrarySelection *m_selection = nullptr;
    CollectionDrafting *m_drafting = nullptr;
    DialogState *m_dialogs = nullptr;
    LibraryDownloads *m_downloads = nullptr;
    LibraryPlayer *m_player = nullptr;
    LinkIntake *m_links = nullptr;
    bool m_appeared = false;
    bool m_firstFrameShown = false;

    std::optional<Shelf> m_shelf;   // none while stale
    std::optional<Shelf> m_lastShelf;   // the last projection, which the next one follows
    std::optional<QList<ShelfItem>> m_matching;
    std::optional<QList<ShelfItem>> m_visible;
    std::optional<SidebarContent> m_sidebar;
    QTimer m_shelfTurn;             // the next turn's shelfChanged()
    QTimer m_progressTurn;          // shelfChanged() after progress alone
    QTimer m_itemsTurn;             // itemsChanged() after progress alone
    bool m_mediaMoved = false;      // the local media changed since the projection was made
    QList<PostLink> m_progressed;   // links whose items changed, not yet taken by the views
};

}  // namespace sw::app
