#pragma once

// The sheet in which the user enters a link, has it looked up, looks at what was found and keeps
// it: a header, the panel of the current phase (the link field while typing, a status line over
// placeholder bars while fetching, a preview of the post once found; the download and collection
// choices under the field and under the preview), and a footer with a paste hint, Cancel and the
// main button of the phase (Fetch Post, Fetching…, Save). 560 wide; as tall as its content.
//
// The sheet owns nothing and does nothing itself. Its page sets the phase, the link text and the
// choices, and answers the intents it reports: fetchRequested(), saveRequested(),
// cancelRequested(), and each edit of the link and of the choices. The sheet never changes its
// phase, and never closes itself: Escape, Cancel and the window's close button only report
// cancelRequested(); the page dismisses the sheet with dismiss().
//
// It is a window-modal dialog of a fixed size: the desktop offers to move and close it, never to
// minimise, maximise or resize it. Show it with open(), which returns at once: the look-up resumes
// into the sheet while it is open, and a nested event loop (exec()) could return into a sheet
// that is gone; exec() here therefore opens the sheet the same way and returns at once.
//
// Return: one press raises one intent. In the link field it asks for a look-up whatever the field
// holds (the page decides what an empty link means); elsewhere it is the main button's action
// while that button is enabled (Fetch Post needs a link text, spaces count; Save always), and
// nothing while fetching. Cancel is never the default. A focused button takes Return for itself.

#include "Capture/Post.h"
#include "Library/Collection.h"
#include "StashwellUI/SaveLink/SaveLinkPhase.h"

#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QString>

#include <optional>

namespace sw {

class BusySpinner;
class GlassButton;
class MediaThumbnailView;
class SaveLinkOptions;
class Skeleton;
class StyledText;
class XGlyph;
class LinkField;

class SaveLinkSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr double sheetWidth = 560;

    explicit SaveLinkSheet(QWidget *parent = nullptr);
    ~SaveLinkSheet() override;

    const SaveLinkPhase &phase() const { return m_phase; }
    void setPhase(const SaveLinkPhase &phase);
    // The link text; the field shows it (an edit by the user is reported by urlEdited()).
    QString url() const;
    void setUrl(const QString &url);
    bool downloadsMedia() const { return m_downloadsMedia; }
    void setDownloadsMedia(bool on);
    Quality quality() const { return m_quality; }
    void setQuality(Quality quality);
    const std::optional<Collection::ID> &collection() const { return m_collection; }
    void setCollection(const std::optional<Collection::ID> &collection);
    const QList<Collection> &collections() const { return m_collections; }
    void setCollections(const QList<Collection> &collections);

    // One line on what a found post holds: "media.text", then the videos and the pictures (pages
    // counted in neither), the size of all media at `quality` appended to the last of these when
    // the post has media, "media.link", and, with media, whether it will be downloaded; joined by
    // " · ".
    static QString mediaSummary(const Post &post, bool downloadsMedia, Quality quality);
    // The same with the sheet's present choices.
    QString mediaSummary(const Post &post) const { return mediaSummary(post, m_downloadsMedia, m_quality); }
    // The link as the fetching line shows it: every "https://" taken out, wherever it stands.
    static QString fetchingLink(const QString &url);
    // The author as the preview names it: "@" and the handle for an X post, the name for a page.
    static QString authorText(const Post &post);

    // Closes the sheet; for the page, once it has acted on a save or a cancel.
    void dismiss();

    // Opens the sheet window-modal and returns at once (see above); always 0.
    int exec() override;

    // Makes its window on the display now, unmapped, so that opening it later only maps it. Unlike
    // winId(), this leaves the parent's other children as they are (not native windows).
    void makeWindowAhead() { create(); }

    // The parts, for the page's focus handling and for tests.
    LinkField *linkField() const { return m_field; }
    GlassButton *mainButton() const { return m_main; }
    GlassButton *cancelButton() const { return m_cancel; }
    SaveLinkOptions *options() const { return m_options; }
    BusySpinner *spinner() const { return m_spinner; }
    StyledText *problemText() const { return m_problem; }
    StyledText *fetchingText() const { return m_fetchingText; }
    StyledText *authorLabel() const { return m_author; }
    XGlyph *xGlyph() const { return m_xGlyph; }
    StyledText *postText() const { return m_postText; }
    StyledText *summaryText() const { return m_summary; }
    MediaThumbnailView *thumbnail() const { return m_thumbnail; }
    // The panel of each phase; exactly one is shown.
    QWidget *typingPanel() const { return m_linkGroup; }
    QWidget *fetchingPanel() const { return m_fetching; }
    QWidget *foundPanel() const { return m_preview; }

    QSize sizeHint() const override;

signals:
    void fetchRequested();
    void saveRequested();
    void cancelRequested();
    void urlEdited(const QString &url);
    void downloadsMediaChanged(bool on);
    void qualityChanged(sw::Quality quality);
    void collectionChanged(const std::optional<sw::Collection::ID> &collection);

public slots:
    // Escape and the window's close button: reports the cancel and leaves the sheet open.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void applyPhase();
    void applyMainButton();
    void applySummary();
    void placeFocus();
    void activateMain();
    // Return outside a button: the main button's action when it allows one.
    void defaultAction();

    SaveLinkPhase m_phase;
    bool m_downloadsMedia = true;
    Quality m_quality = Quality::original;
    std::optional<Collection::ID> m_collection;
    QList<Collection> m_collections;

    LinkField *m_field = nullptr;
    QWidget *m_linkGroup = nullptr;
    StyledText *m_problem = nullptr;
    QWidget *m_fetching = nullptr;
    BusySpinner *m_spinner = nullptr;
    StyledText *m_fetchingText = nullptr;
    QWidget *m_preview = nullptr;
    MediaThumbnailView *m_thumbnail = nullptr;
    XGlyph *m_xGlyph = nullptr;
    StyledText *m_author = nullptr;
    StyledText *m_postText = nullptr;
    StyledText *m_summary = nullptr;
    SaveLinkOptions *m_options = nullptr;
    GlassButton *m_cancel = nullptr;
    GlassButton *m_main = nullptr;
    bool m_fitting = false;
};

// The link field of the sheet: monospaced text on the window colour inside a rounded accent
// border. Return in it is reported once by submitted() and goes no further.
class LinkField : public QLineEdit {
    Q_OBJECT
public:
    static constexpr double fieldHeight = 42;
    static constexpr double sidePadding = 14;
    static constexpr double radius = 12;

    explicit LinkField(QWidget *parent = nullptr);

    // The example shown while the field is empty.
    static QString placeholder();

signals:
    void submitted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyTheme();
};

}  // namespace sw
