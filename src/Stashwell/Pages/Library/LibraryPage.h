#pragma once

// The library window's page: the controller that owns the window's view state and binds the
// window's views to the Curator and the Router. Everything a user does with saves in the window
// comes here; the widgets (LibraryPageView) only show this state and report what the user asks.
//
// State, with its initial value:
//
//   filter        all           the sidebar's choice; a change empties the search and the chosen
//   query         ""            the search text
//   layout        grid          cards or rows
//   selection     none          the save in the inspector; a change to a save outside `chosen`
//                               empties `chosen`
//   chosen        empty         the saves the bulk panel acts on (two or more, or none)
//   draft         none          the collection in the inline creator
//   problem       none          the problem alert's message
//   toast         none          the confirmation at the foot of the shelf, with its Undo
//   deleting      none          the collection the delete dialog asks about
//   emptyingTrash false         the empty-trash dialog
//   playing       none          the save in the player sheet
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
// The undo rule: around each library edit the page compares Curator::steps() before and after.
// Only when it grew does it push a CuratorStep (named after the edit) on the window's undo stack
// and, for edits that announce themselves, show the toast with Undo. The stack keeps at most as
// many steps as the Curator's history. A toast's Undo undoes only the step it announced, once;
// once another step becomes the latest (a new edit, or the step undone from the Edit menu) the
// toast loses its Undo.
//
// Work that waits (downloads, covers) runs as coroutines that look the page up again after each
// suspension and end quietly when it is gone.

#include "Library/Collection.h"
#include "Library/Save.h"
#include "Offline/DownloadRefusal.h"
#include "StashKit/Filter.h"
#include "StashKit/Shelf.h"
#include "StashKit/ShelfItem.h"
#include "Stashwell/Pages/Library/CollectionDraft.h"
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

#include <QUndoStack>

namespace sw {
class Curator;
}

namespace sw::app {

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

    // The player sheet's content.
    struct Player {
        QUrl url;          // the local video file
        ShelfItem item;
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
    QUndoStack *undoStack() const { return m_undoStack; }

    // ---- state --------------------------------------------------------------------------------

    const Filter &filter() const { return m_filter; }
    void setFilter(const Filter &filter);
    const QString &query() const { return m_query; }
    void setQuery(const QString &query);
    ShelfLayout layout() const { return m_layout; }
    void setLayout(ShelfLayout layout);
    const std::optional<Save::ID> &selection() const { return m_selection; }
    void setSelection(const std::optional<Save::ID> &selection);
    const QSet<Save::ID> &chosen() const { return m_chosen; }
    void setChosen(const QSet<Save::ID> &chosen);
    const std::optional<CollectionDraft> &draft() const { return m_draft; }
    const std::optional<QString> &problem() const { return m_problem; }
    void setProblem(const std::optional<QString> &problem);
    const std::optional<Collection::ID> &deleting() const { return m_deleting; }
    bool emptyingTrash() const { return m_emptyingTrash; }
    // The dialog closed (any button): false clears it; true does nothing.
    void setEmptyingTrash(bool shown);
    const std::optional<Save::ID> &playing() const { return m_playing; }

    // The toast: its message, whether it offers Undo, its timer.
    ToastController &toast() { return m_toast; }
    const ToastController &toast() const { return m_toast; }
    const std::optional<QString> &toastMessage() const { return m_toast.message(); }
    bool toastUndoes() const { return m_toast.offersUndo(); }
    // The toast's Undo button: undoes the step the toast announced, when it still offers that.
    void pressToastUndo() { m_toast.pressUndo(); }

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
    // The Empty Trash command: the dialog, when the trash holds anything.
    void offerEmptyTrash();
    // The application became active: local copies whose files went are dropped. Before the
    // window's first frame that is the start itself, whose restore has just reconciled them:
    // nothing is done.
    void becameActive();
    // A save to show (the quick save asked): all saves, that save selected, the request cleared.
    void showRequested(const std::optional<Save::ID> &id);
    // Links dropped on the window: the first URL that reads as a post link opens the Save Link
    // sheet with its text. Whether one did.
    bool openDroppedLink(const QList<QUrl> &urls);
    // The Save Link sheet ended with a save (none: cancelled): all saves, that save selected, and
    // a toast. The sheet itself is closed by its presenter, which knows the request.
    void finishSaveLink(const std::optional<Save::ID> &id);
    // The window title: the current filter's title.
    QString windowTitle();

    // The player sheet's content for `playing`; none when its save, item or video is missing.
    std::optional<Player> player();
    void closePlayer();
    // The player sheet's and the inspector's requests.
    void reveal(const QUrl &file);
    void openOriginal(const ShelfItem &item);

    // ---- dialogs ------------------------------------------------------------------------------

    QString deleteTitle() const;
    QString deleteMessage() const;
    void confirmDelete();
    // The dialog closed: false clears `deleting`.
    void setDeletingShown(bool shown);
    QString emptyTrashMessage();
    void confirmEmptyTrash();
    bool leftBehindShown() const;
    void setLeftBehindShown(bool shown);
    QString leftBehindMessage() const;
    void showLeftBehind();
    bool problemShown() const { return m_problem.has_value(); }
    void setProblemShown(bool shown);

    // ---- sidebar and collections --------------------------------------------------------------

    // The sidebar's capture button: the Save Link sheet with the copied link, or empty.
    void pasteLink();
    void newCollection(const std::optional<Save::ID> &filing = std::nullopt);
    void editCollection(const Collection::ID &id);
    void askToDelete(const Collection::ID &id);
    // Links dropped on a sidebar row; whether the drop was taken.
    bool dropLinks(const Filter &on, const QList<QUrl> &urls);

    // The creator's fields and decisions.
    void setDraftName(const QString &name);
    void setDraftSwatch(Swatch swatch);
    std::optional<QString> nameProblem() const;
    static std::optional<QString> nameProblem(const Library &library, const QString &name,
                                              const std::optional<Collection::ID> &editing);
    bool canCreate() const;
    QString confirmTitle() const;
    void saveDraft();
    void cancelDraft();

    // ---- bar, content and bindings ------------------------------------------------------------

    // The title of the current filter.
    QString title(const Shelf &shelf) const;
    static QString title(const Filter &filter, const Library &library);
    // The bar's Empty Trash button: in the trash, while it holds anything.
    bool showsEmptyTrashButton();
    void askToEmptyTrash();
    // The bar's Save Link: the sheet with an empty field, whatever the clipboard holds.
    void saveLink();
    // The saves an action on the selection applies to.
    QList<Save::ID> actedOn() const;
    // The inspector column: shown for two chosen saves or a selected save of the filter.
    bool inspectorShown();
    // The user closed the column: false empties the chosen and the selection.
    void setInspectorShown(bool shown);
    // The selected save as the inspector shows it: of the filter, whatever the search.
    std::optional<ShelfItem> selectedItem();

    // ---- save actions, undo and toasts --------------------------------------------------------

    void perform(const Action &action, const ShelfItem &item);
    void trash(const Save::ID &id);
    void handle(const SaveIntent &intent, const ShelfItem &item);
    // Space: the player for a video here, otherwise the save selected.
    void preview(const ShelfItem &item);

    // The media folder as shown: home as "~" when the folder lies inside it, no trailing "/".
    QString folderText() const;
    static QString folderText(const QString &path, const QString &home);

    // ---- selection and bulk actions -----------------------------------------------------------

    // A click on a card or row, with the modifiers of that click: Ctrl toggles the save among the
    // chosen, Shift chooses the range from the selection over the visible order.
    void pick(const Save::ID &id, Qt::KeyboardModifiers modifiers);
    void selectAll(const QList<Save::ID> &ids);
    // Delete: the acted-on saves that are live go to the trash.
    void trashSelection();
    void downloadChosen();
    void fileChosen(const std::optional<Collection::ID> &in);
    void favouriteChosen();
    void restoreChosen();
    void clearChosen();
    // The bulk panel's saves: the chosen ones, in visible order.
    QList<ShelfItem> chosenItems();
    Status status();

    // ---- downloads ----------------------------------------------------------------------------

    QCoro::Task<> download(ShelfItem item);
    // Downloads every save missing its media; the toast tells how many when all have ended.
    QCoro::Task<> downloadMissing();
    // The problem alert's text of a refusal.
    static QString message(const DownloadRefusal &refusal);
    static QString message(CollectionRefusal refusal);

signals:
    void filterChanged();
    void queryChanged();
    void layoutChanged();
    void selectionChanged();
    void chosenChanged();
    void draftChanged();
    void problemChanged();
    void deletingChanged();
    void emptyingTrashChanged();
    void playingChanged();
    // The projection changed; emitted once per turn of the event loop at most.
    void shelfChanged();
    // The window's first frame is on screen (firstFrameShown): once.
    void firstFrameReached();
    // Only the items of the saves in progressed() changed; at most about 30 times a second.
    void itemsChanged();
    // The search field should take the keyboard focus.
    void searchFocusRequested();
    // The left-behind files changed (the dialog shows while there are any).
    void leftBehindChanged();

private:
    // The undo rule around `edit`: true when the Curator recorded a step, which is then pushed
    // named `name`, and announced with `toastText` (with Undo) when there is one.
    bool undoable(const QString &name, const std::optional<QString> &toastText, const std::function<void()> &edit);
    // Pushes one step named `name` and announces it.
    void registerStep(const QString &name, const std::optional<QString> &toastText);
    void showToast(const QString &text);
    void undoStep(std::int64_t serial);
    void followUndoStack();

    void shelfStale(bool progressOnly);
    void emitShelfChanged();
    void localMediaDidChange();
    // Takes a change of the local media into the projection: item by item when only downloads'
    // bytes moved on, else by marking it stale for a full refresh.
    void followLocalMedia();
    void emitItemsChanged();
    void filterDidChange();
    void selectionDidChange();
    // Drops from the selection and the chosen saves those no longer in the library.
    void forgetRemovedSaves();
    std::optional<ShelfItem> itemOf(const Shelf &shelf, const Save::ID &id) const;
    void openAddress(const ShelfItem &item);
    void setDraft(const std::optional<CollectionDraft> &draft);
    void setDeleting(const std::optional<Collection::ID> &deleting);
    void setPlaying(const std::optional<Save::ID> &playing);

    Curator &m_curator;
    Router &m_router;
    QPointer<QUndoStack> m_undoStack;
    Desktop m_desktop;

    Filter m_filter;
    QString m_query;
    ShelfLayout m_layout = ShelfLayout::grid;
    std::optional<Save::ID> m_selection;
    QSet<Save::ID> m_chosen;
    std::optional<CollectionDraft> m_draft;
    std::optional<QString> m_problem;
    std::optional<Collection::ID> m_deleting;
    bool m_emptyingTrash = false;
    std::optional<Save::ID> m_playing;
    ToastController m_toast;
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
    std::int64_t m_nextSerial = 1;
};

}  // namespace sw::app
