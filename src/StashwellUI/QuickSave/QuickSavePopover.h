#pragma once

// The quick-save popover: a narrow panel (380 wide, as tall as its content) that tells what the
// clipboard holds and keeps the post with one click, lists the latest saves and leads to the
// library window and the settings. From the top: a header (the mark, the title and the chip of
// the global hot key), the panel of the present state, the recent saves, and a footer with the
// open and settings buttons.
//
// A plain widget that knows nothing of where it is shown (a tray popup, a window): its page sets
// the state, the chosen collection, the collections, the recent saves and the present moment,
// and acts on what it reports. It reaches nothing itself and keeps no state of its own beyond
// the pointer's hover. The collection choice and Save exist only in the found state; Save is never
// disabled by the popover.

#include "Capture/Date.h"
#include "Library/Collection.h"
#include "Library/Save.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/QuickSave/QuickSaveState.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

namespace sw {

class AuthorLineView;
class BusySpinner;
class CollectionPullDown;
class GlassButton;
class MediaThumbnailView;
class RecentList;
class RoundIconButton;
class StyledText;

class QuickSavePopover : public QWidget {
    Q_OBJECT
public:
    static constexpr double popoverWidth = 380;

    explicit QuickSavePopover(QWidget *parent = nullptr);

    const QuickSaveState &state() const { return m_state; }
    void setState(const QuickSaveState &state);
    const std::optional<Collection::ID> &collection() const { return m_collection; }
    void setCollection(const std::optional<Collection::ID> &collection);
    const QList<Collection> &collections() const { return m_collections; }
    void setCollections(const QList<Collection> &collections);
    const QList<ShelfItem> &recent() const { return m_recent; }
    Date now() const { return m_now; }
    void setRecent(const QList<ShelfItem> &recent, Date now);
    void setNow(Date now);

    // The global hot key as this platform writes it ("Ctrl+Alt+D").
    static QString hotKeyText();

    // The parts, for tests and focus handling. Each state has its panel; exactly one is shown.
    QWidget *nothingCopiedPanel() const { return m_nothing; }
    QWidget *lookingPanel() const { return m_looking; }
    QWidget *foundPanel() const { return m_found; }
    QWidget *refusedPanel() const { return m_refused; }
    QWidget *savedPanel() const { return m_saved; }
    StyledText *lookingText() const { return m_lookingText; }
    StyledText *refusedText() const { return m_refusedText; }
    StyledText *savedText() const { return m_savedText; }
    StyledText *postText() const { return m_postText; }
    BusySpinner *spinner() const { return m_spinner; }
    MediaThumbnailView *thumbnail() const { return m_thumbnail; }
    AuthorLineView *authorLine() const { return m_author; }
    CollectionPullDown *collectionPicker() const { return m_picker; }
    GlassButton *saveButton() const { return m_save; }
    GlassButton *openButton() const { return m_open; }
    RoundIconButton *settingsButton() const { return m_settings; }
    RecentList *recentList() const { return m_recentList; }

    QSize sizeHint() const override;

signals:
    void saveRequested();
    void openAppRequested();
    // The settings button: the host opens the settings.
    void settingsRequested();
    // A recent save was clicked.
    void selected(const sw::Save::ID &id);
    // The user picked a collection (none for no collection), also the one already chosen.
    void collectionChanged(const std::optional<sw::Collection::ID> &collection);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void applyState();

    QuickSaveState m_state;
    std::optional<Collection::ID> m_collection;
    QList<Collection> m_collections;
    QList<ShelfItem> m_recent;
    Date m_now;

    QWidget *m_nothing = nullptr;
    QWidget *m_looking = nullptr;
    QWidget *m_found = nullptr;
    QWidget *m_refused = nullptr;
    QWidget *m_saved = nullptr;
    StyledText *m_lookingText = nullptr;
    StyledText *m_refusedText = nullptr;
    StyledText *m_savedText = nullptr;
    StyledText *m_postText = nullptr;
    BusySpinner *m_spinner = nullptr;
    MediaThumbnailView *m_thumbnail = nullptr;
    AuthorLineView *m_author = nullptr;
    CollectionPullDown *m_picker = nullptr;
    GlassButton *m_save = nullptr;
    GlassButton *m_open = nullptr;
    RoundIconButton *m_settings = nullptr;
    RecentList *m_recentList = nullptr;
    bool m_fitting = false;
};

}  // namespace sw
