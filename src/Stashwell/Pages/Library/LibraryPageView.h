#pragma once

// The library page's widgets: the window's frame (LibraryWindowTemplate) with the sidebar and its
// inline collection creator, the shelf bar, the shelf (ShelfPresenter on a ShelfTemplate), the inspector
// column (the save's inspector, or the bulk panel for chosen saves), the status bar, the toast at
// the foot of the shelf, the alerts, the player sheet, and links dropped on the window.
//
// It holds no state of its own: it shows the LibraryPage's and hands every request to it. The
// page's signals mark what changed, and everything marked is redrawn once, in the next turn of the
// event loop, from one projection of the library that all the columns share.

#include "Shelf/ShelfItem.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

class QDialog;

namespace sw {
class BulkPanel;
class CollectionCreator;
class GlassButton;
class LibrarySidebar;
class LibraryWindowTemplate;
class Paging;
class PlayerSheet;
class SaveInspector;
class ShelfBar;
class ShelfTemplate;
class StatusBar;
class ToastOverlay;
}

namespace sw::app {

class LibraryDialogs;
class LibraryPage;
class ShelfPresenter;

class LibraryPageView final : public QWidget {
    Q_OBJECT
public:
    // What the view draws before its window's first frame. `complete`: everything, at once.
    // `countsAfterFirstFrame`: that frame goes without the library's counts and the home list
    // (the sidebar shows its rows and collections without numbers, the shelf stays blank); they
    // follow as soon as the frame is on screen (LibraryPage::firstFrameReached), which a large
    // library would otherwise hold back.
    enum class FirstFrame { complete, countsAfterFirstFrame };

    explicit LibraryPageView(LibraryPage &page, QWidget *parent = nullptr, FirstFrame first = FirstFrame::complete);
    ~LibraryPageView() override;

    LibraryPage &page() const { return m_page; }
    ShelfPresenter &shelfPresenter() const { return *m_shelfPresenter; }
    LibraryWindowTemplate &frame() const { return *m_frame; }
    LibrarySidebar &sidebar() const { return *m_sidebar; }
    CollectionCreator &creator() const { return *m_creator; }
    ShelfBar &bar() const { return *m_bar; }
    ShelfTemplate &content() const { return *m_content; }
    StatusBar &statusBar() const { return *m_status; }
    GlassButton &emptyTrashButton() const { return *m_emptyTrash; }
    ToastOverlay &toastOverlay() const { return *m_toast; }
    LibraryDialogs &dialogs() const { return *m_dialogs; }
    // The inspector column's content while it shows one.
    SaveInspector *inspector() const;
    BulkPanel *bulkPanel() const;
    // The player sheet while it is up.
    QDialog *playerDialog() const;
    PlayerSheet *playerSheet() const;

    // Draws what changed now rather than in the next turn.
    void refreshNow();

signals:
    // The sidebar's settings button.
    void settingsRequested();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    static QEvent::Type turnEvent();
    enum Part : unsigned {
        partShelf = 1u << 0,
        partFilter = 1u << 1,
        partQuery = 1u << 2,
        partLayout = 1u << 3,
        partSelection = 1u << 4,
        partChosen = 1u << 5,
        partDraft = 1u << 6,
        partPlaying = 1u << 7,
        partItems = 1u << 8,   // progress alone: a few saves' items
        partInspector = 1u << 9,   // the inspector's column, held back by a frame (see refresh())
        partAll = (1u << 10) - 1,
    };
    void mark(unsigned parts);
    void refresh();
    void releaseCounts();
    void refreshShelf();
    void refreshItems();
    void refreshInspector();
    void refreshCreator();
    void refreshPlayer();
    void closePlayerDialog();
    void inspectorIntent(const Save::ID &id, const SaveIntent &intent);

    LibraryPage &m_page;
    std::unique_ptr<ShelfPresenter> m_shelfPresenter;
    Paging *m_paging = nullptr;
    LibraryWindowTemplate *m_frame = nullptr;
    LibrarySidebar *m_sidebar = nullptr;
    CollectionCreator *m_creator = nullptr;
    ShelfBar *m_bar = nullptr;
    GlassButton *m_emptyTrash = nullptr;
    ShelfTemplate *m_content = nullptr;
    QWidget *m_inspectorColumn = nullptr;
    QPointer<SaveInspector> m_inspector;
    QPointer<BulkPanel> m_bulk;
    StatusBar *m_status = nullptr;
    ToastOverlay *m_toast = nullptr;
    LibraryDialogs *m_dialogs = nullptr;
    QPointer<QDialog> m_player;
    QPointer<PlayerSheet> m_playerSheet;
    std::optional<Save::ID> m_playerSave;

    unsigned m_dirty = 0;
    // Until the first frame (FirstFrame::countsAfterFirstFrame): the parts that count the library
    // wait in m_dirty.
    bool m_countsHeld = false;
    // In refreshNow(): nothing is held back for a frame.
    bool m_refreshingNow = false;
    // The page's state is redrawn in a turn of the event loop posted ahead of the window's next
    // paint; the inspector's deferred refresh waits on the timer, after that paint.
    bool m_turnPosted = false;
    QTimer m_turn;
    // The window whose first paint is awaited (LibraryPage::firstFrameShown follows it).
    QPointer<QWidget> m_awaitedFrame;
};

}  // namespace sw::app
