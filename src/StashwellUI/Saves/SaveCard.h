#pragma once

// The card of one save in the shelf's grid: the media thumbnail on top, the author with a mark for
// where the post comes from, up to two lines of the post's text (always two lines of room, so
// cards of one kind are equally high; a text post shows its words in the thumbnail instead), the
// meta line, and a row with the save's main action and a trash button (none for a save in the
// trash). It highlights itself when selected or under the pointer and lifts by a point while
// hovered.
//
// SaveCard is a value built from a shelf item, the present moment and the selection; it works out
// its pieces once and then paints any number of times, so a virtualised shelf keeps one per
// visible save, paints it into the rectangle the grid gives it, asks hitTest() where a click fell
// and activate() to carry the click out. Two cards are equal (nothing to repaint) when their items
// and selection are equal and their moments fall in the same whole minute. SaveCardView is the
// card as a widget of its own.

#include "StashwellUI/Saves/ActionPill.h"
#include "StashwellUI/Saves/AuthorLine.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "Capture/Date.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "StashwellUI/Saves/MetaLine.h"
#include "StashwellUI/Saves/SaveIntent.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "Shelf/ShelfItem.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

class QPainter;

namespace sw {

class DrawList;

class SaveCard {
public:
    static constexpr double thumbnailHeight = 150;
    static constexpr double thumbnailInset = 8;    // leading, trailing and top of the thumbnail
    static constexpr double bodyInset = 8;         // leading and trailing of the body
    static constexpr double bodyTop = 12;
    static constexpr double bodySpacing = 12;      // between the header, the text and the meta line
    static constexpr double headerSpacing = 8;     // between the author line and the source mark
    static constexpr double actionPadding = 12;
    static constexpr double actionSpacing = 8;
    static constexpr double trashSize = 32;
    static constexpr double radius = 18;
    static constexpr double xGlyphSize = 13;
    static constexpr int textLines = 2;
    static constexpr double hoverLift = 1;

    // Where a point falls.
    enum class Part { none, thumbnail, previousPage, nextPage, body, pill, trash };

    // What the owner keeps for one card between paints.
    struct ViewState {
        double hover = 0;                       // 0 ... 1: how far the hover look has come in
        bool hovered = false;                   // the pointer is over the card
        Part hoveredPart = Part::none;
        Part pressedPart = Part::none;          // a press under way
        MediaThumbnail::ViewState thumbnail;    // the thumbnail's own page, hover and arrows
    };

    SaveCard(const ShelfItem &item, Date now, bool isSelected);

    const ShelfItem &item() const { return m_item; }
    Date now() const { return m_now; }
    bool isSelected() const { return m_selected; }

    // The whole minute of a moment: its seconds since the reference date divided by 60, truncated
    // toward zero.
    static double wholeMinute(Date date);
    // Items equal, selection equal, moments in the same whole minute.
    friend bool operator==(const SaveCard &a, const SaveCard &b);
    // The same but for the selection, which only the border shows: the same body (paintBody()).
    bool sameBody(const SaveCard &other) const;

    const MediaThumbnail &thumbnail() const { return m_thumbnail; }
    const AuthorLine &authorLine() const { return m_author; }
    const MetaLine &metaLine() const { return m_meta; }
    const ActionPill &actionPill() const { return m_pill; }
    // The post's text line: every kind but text.
    bool showsText() const { return m_showsText; }
    // The trash button: every save that is not in the trash.
    bool showsTrash() const { return !m_item.save().isTrashed(); }
    // "x.glyph" for an X post, "globe" for a web page.
    QString sourceSymbol() const;
    // The author's name, ": " and the post's whole text: what the body reads out.
    QString accessibleText() const;
    // The text as shown in `width`: at most two lines, the second cut with an ellipsis.
    QString shownText(double width) const;

    // The window's page memory for the thumbnail (the library page's views have one).
    void setPaging(Paging *paging) { m_thumbnail.setPaging(paging); }

    // The card's height, the same at every width: two lines of text are always reserved.
    double height() const;
    static double height(bool showsText);

    struct Layout {
        QRectF card;         // the card's shape, lifted while hovered
        QRectF thumbnail;
        QRectF body;         // the body button: header, text and meta line, with their padding
        QRectF author;
        QRectF sourceMark;
        QRectF text;         // empty for a text post
        QRectF meta;
        QRectF pill;
        std::optional<QRectF> trash;
    };
    Layout layout(const QRectF &rect, const ViewState &state) const;

    // The pictures: the thumbnail's (for its page on show) and the author's avatar.
    std::optional<PictureKey> pictureKey(const ViewState &state) const;
    std::optional<PictureKey> avatarKey() const { return m_author.avatarKey(); }

    // Keeps the view state with the card shown (a reused state that now shows another post starts
    // on its first page). Call before each use of `state` with a new card.
    void track(ViewState &state) const { m_thumbnail.track(state.thumbnail); }

    void paint(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture,
               const PicturePointer &avatar) const;
    // paint() in two layers: everything but the border, then the border. The hover changes the
    // first only by its lift, so a card kept as an image keeps one image through a hover (painted
    // in its resting state) and draws the border, which the hover tints, over it on every frame.
    void paintBody(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture,
                   const PicturePointer &avatar) const;
    void paintBorder(QPainter &painter, const QRectF &rect, const ViewState &state) const;
    // What paintBorder() copies, listed in `list` as `painter` would draw it; false where the
    // border would be drawn directly.
    bool listBorder(DrawList &list, const QPainter &painter, const QRectF &rect, const ViewState &state) const;
    // `state` as the body shows it: no hover (neither lift nor tint), and of the parts under the
    // pointer only those with a look of their own there (the pill, the trash, a thumbnail's page
    // arrows); what is pressed stays.
    ViewState bodyState(ViewState state) const;
    // How far the hover look has come in, as the border shows it: in sixteenths, so that a hover's
    // frames share a few kept borders.
    static double borderProgress(const ViewState &state);

    // The part under `point`, the thumbnail's arrows first; the trash only where it is shown.
    Part hitTest(const QRectF &rect, const QPointF &point, const ViewState &state, const PicturePointer &picture) const;
    // What a part of the card is to its thumbnail: an arrow, the thumbnail's body, or none.
    static MediaThumbnail::Hit thumbnailHit(Part part);

    // Carries out a click on `part`, made with `modifiers`: the thumbnail and the body raise
    // select (with those modifiers), the pill the item's action (not while it is a running
    // download), the trash trash; the arrows turn the thumbnail's page (in the page memory, or in
    // `state`). Returns whether anything happened.
    bool activate(Part part, const IntentHandler &raise, ViewState &state, Qt::KeyboardModifiers modifiers = {}) const;

private:
    ShelfItem m_item;
    Date m_now;
    bool m_selected;
    bool m_showsText;
    MediaThumbnail m_thumbnail;
    AuthorLine m_author;
    MetaLine m_meta;
    ActionPill m_pill;
    // The text as last cut, for the width it was cut at.
    mutable double m_textWidth = -1;
    mutable QString m_text;
};

}  // namespace sw
