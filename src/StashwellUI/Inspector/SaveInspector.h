#pragma once

// The detail view of the one save chosen on the shelf, in the window's inspector column. Under a
// fixed header (the title, favourite, trash while the save is not in the trash, close) a column
// scrolls: the media (the inline player while the page shown is that of the post's first video
// and its file is here, with the save's cover as its poster until it plays; else the thumbnail) with a pager for two or more pictures, the author with
// the day of the post, the post's text (selectable), the action row, the details (link,
// collection, saved), and the sections on the local media, the tags and the note.
//
// The inspector changes nothing: every request is reported by intentRaised() together with the id
// of the save it was raised for. Its own state is only the note being typed, the tag being typed
// and whether the collection menu is open.
//
// The note editor belongs to one save at a time. When the item shown becomes another save, the
// inspector takes the new item first and then loads its note into the editor, silently; an item
// of the same save (a refresh of the library while the user types) leaves the editor's text and
// cursor alone. So an edit is always reported for the save whose note the editor holds.

#include "Capture/Date.h"
#include "Library/Collection.h"
#include "Offline/MediaFolder.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Playback/VideoPlayback.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <optional>

class QLabel;
class QScrollArea;

namespace sw {

class ActionPillButton;
class AuthorLineView;
class CollectionPicker;
class InfoRow;
class InlinePlayer;
class LocalMediaSection;
class MediaThumbnailView;
class NoteSection;
class OneLine;
class Paging;
class RoundIconButton;
class TagsSection;

class SaveInspector : public QWidget {
    Q_OBJECT
public:
    static constexpr double headerHeight = 52;
    static constexpr double headerPadding = 16;
    static constexpr double headerSpacing = 6;
    static constexpr double columnPadding = 18;
    static constexpr double bottomExtra = 28;
    static constexpr double columnSpacing = 16;
    static constexpr double mediaHeight = 240;
    static constexpr double mediaSpacing = 8;
    static constexpr double pagerSpacing = 12;
    static constexpr double authorSize = 40;
    static constexpr double actionSpacing = 8;
    static constexpr double panePadding = 12;

    SaveInspector(const ShelfItem &item, const QList<Collection> &collections, const MediaFolder &folder, Date now,
                  QWidget *parent = nullptr);
    ~SaveInspector() override;

    const ShelfItem &item() const { return *m_item; }
    // Another save loads its note into the editor; the same save leaves the editor as it is.
    void setItem(const ShelfItem &item);
    void setCollections(const QList<Collection> &collections);
    void setFolder(const MediaFolder &folder);
    void setNow(Date now);
    // The home folder, written "~" at the start of the media folder's path; the user's own
    // unless set.
    void setHomePath(const QString &home);
    // How the inline player makes its playbacks; the real one unless set.
    void setPlaybackFactory(VideoPlaybackFactory factory);

    // The page of the save's pictures shown now: the window's page memory's, or 0 without one.
    std::int64_t pageShown() const;
    // The file the inline player plays now; none while the thumbnail shows.
    std::optional<QUrl> playerFile() const;
    // Turns the page as the pager's chevrons do (nothing without a page memory).
    void turnPage(int delta);

    // The parts, for the tests and the owner's focus chain.
    RoundIconButton &favouriteButton() { return *m_favourite; }
    RoundIconButton &trashButton() { return *m_trash; }
    RoundIconButton &closeButton() { return *m_close; }
    QWidget &mediaArea() { return *m_media; }
    MediaThumbnailView &thumbnail() { return *m_thumbnail; }
    InlinePlayer *player() const { return m_player; }
    QWidget &pager() { return *m_pager; }
    QString pagerText() const;
    RoundIconButton &previousButton() { return *m_previous; }
    RoundIconButton &nextButton() { return *m_next; }
    AuthorLineView &authorLine() { return *m_author; }
    QLabel &postText() { return *m_text; }
    ActionPillButton &actionPill() { return *m_pill; }
    RoundIconButton &copyLinkButton() { return *m_copyLink; }
    RoundIconButton &openOriginalButton() { return *m_openOriginal; }
    QString linkText() const;
    CollectionPicker &collectionPicker() { return *m_picker; }
    QString savedText() const;
    LocalMediaSection &localMedia() { return *m_localMedia; }
    TagsSection &tags() { return *m_tags; }
    NoteSection &note() { return *m_note; }
    QScrollArea &scrollArea() { return *m_scroll; }

signals:
    // A request of the user about the save with that id.
    void intentRaised(const sw::Save::ID &save, const sw::SaveIntent &intent);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void raise(const SaveIntent &intent);
    void apply();
    void applyMedia();
    void applyTexts();
    void findPaging();
    void noteEdited(const QString &text);

    std::optional<ShelfItem> m_item;
    QList<Collection> m_collections;
    MediaFolder m_folder;
    Date m_now;
    QString m_home;
    VideoPlaybackFactory m_playbackFactory;
    QPointer<Paging> m_paging;

    QLabel *m_title = nullptr;
    RoundIconButton *m_favourite = nullptr;
    RoundIconButton *m_trash = nullptr;
    RoundIconButton *m_close = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_media = nullptr;
    MediaThumbnailView *m_thumbnail = nullptr;
    QPointer<InlinePlayer> m_player;
    QWidget *m_pager = nullptr;
    RoundIconButton *m_previous = nullptr;
    OneLine *m_pageText = nullptr;
    RoundIconButton *m_next = nullptr;
    AuthorLineView *m_author = nullptr;
    QLabel *m_text = nullptr;
    ActionPillButton *m_pill = nullptr;
    RoundIconButton *m_copyLink = nullptr;
    RoundIconButton *m_openOriginal = nullptr;
    InfoRow *m_linkRow = nullptr;
    OneLine *m_link = nullptr;
    InfoRow *m_collectionRow = nullptr;
    CollectionPicker *m_picker = nullptr;
    InfoRow *m_savedRow = nullptr;
    LocalMediaSection *m_localMedia = nullptr;
    TagsSection *m_tags = nullptr;
    NoteSection *m_note = nullptr;
};

}  // namespace sw
