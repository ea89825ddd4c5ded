#pragma once

// The media area of one save, and the one view through which every card, row, hero, inspector,
// bulk panel, quick-save and save-link view shows what a post holds: the picture of the page on
// show (one of the save's pictures, or the post's preview), a symbol for the kind of media while
// no picture is there, or a text post's own words in quotation marks. Over it lie up to three
// marks (the length of the video on show, a page counter, the state of the local copy) and, when
// paging is on and the pointer rests on it, two arrows that turn the page.
//
// The page on show is the save's page in the window's page memory (Paging) when paging is on and
// the memory and the save's id are there; otherwise the thumbnail's own page, which its owner
// keeps in a ViewState.
//
// MediaThumbnail is a value: built from a post or a shelf item, it answers every question about
// what to show, and it paints itself into a rectangle for views that draw many saves in one
// widget; they keep one ViewState per thumbnail, hand in the picture (from a PictureFeed), ask
// hitTest() where a click fell and call step() for the arrows. MediaThumbnailView is the same as
// a widget of its own.

#include "Offline/LocalCopy.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "Capture/Post.h"
#include "Library/Save.h"
#include "Shelf/ShelfItem.h"
#include "Capture/Url.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace sw {

class Paging;

class MediaThumbnail {
public:
    static constexpr double defaultHeight = 150;
    // From this height up the marks and arrows show and a text post shows its words.
    static constexpr double detailHeight = 100;
    static constexpr double cornerRadius = 12;
    static constexpr double markInset = 8;
    static constexpr double arrowSide = 26;
    static constexpr double checkSide = 22;
    static constexpr double textInset = 16;
    static constexpr double textLineSpacing = 3;
    static constexpr double progressSpacing = 5;
    static constexpr double progressHeight = 4;
    static constexpr double progressRadius = 10;

    // Where a point falls.
    enum class Hit { none, body, previous, next };

    // What the owner keeps for one thumbnail between paints.
    struct ViewState {
        std::int64_t page = 0;          // the own page, used whenever the page memory is not
        bool hovering = false;          // the pointer is over the thumbnail
        Hit hoveredArrow = Hit::none;   // previous or next while the pointer is over an arrow
        Hit pressedArrow = Hit::none;   // previous or next while an arrow is held down
        std::optional<PostLink> link;   // the post last shown (see track())
    };

    // A post that is not kept yet (the quick-save popover, the Save Link sheet): its preview
    // picture, no paging, no id.
    MediaThumbnail(Post post, LocalCopy copy, double height = defaultHeight, bool keepsShape = false);
    // A kept save: its post and copy; its pictures, or when it has none one page holding its cover
    // (a page without a picture when it has no cover); the save's id.
    explicit MediaThumbnail(const ShelfItem &item, double height = defaultHeight, bool keepsShape = false,
                            bool fitsWhole = false, bool pages = false, bool arrows = true);

    const Post &post() const { return m_post; }
    const LocalCopy &copy() const { return m_copy; }
    double height() const { return m_height; }
    bool keepsShape() const { return m_keepsShape; }
    bool fitsWhole() const { return m_fitsWhole; }
    const std::vector<std::optional<Url>> &pictures() const { return m_pictures; }
    bool pages() const { return m_pages; }
    bool arrows() const { return m_arrows; }
    const std::optional<Save::ID> &id() const { return m_id; }

    // The window's page memory, or none; the library page's views are given it, others not.
    Paging *paging() const { return m_paging; }
    void setPaging(Paging *paging) { m_paging = paging; }

    // Paging on, a page memory and an id: the page is the one the memory keeps for the save.
    bool usesSharedPage() const;
    // The number of pages the arrows step through: the pictures, at least 1.
    std::int64_t pageCount() const;

    // The page on show, 0 ... pageCount() - 1, given the own page.
    std::int64_t currentPage(std::int64_t ownPage) const;
    // Turns the page by +1 or -1, wrapping round. In the shared case the page memory turns and
    // the own page is returned unchanged; otherwise the new own page is returned.
    std::int64_t step(int delta, std::int64_t ownPage) const;

    // The picture of the page on show: the preview without pictures, else the page's entry.
    std::optional<Url> pictureURL(std::int64_t ownPage) const;
    // The pixels the picture is asked for: 6 × the height, truncated; 0 for a height that is
    // not a finite positive number (and then no picture is asked for).
    std::int64_t maxPixels() const;
    std::optional<PictureKey> pictureKey(std::int64_t ownPage) const;

    // The symbol for the media: the attachment on show ("play.rectangle" or "photo"), else by
    // the post's kind ("play.rectangle", "photo", "text.alignleft", "globe").
    QString glyph(std::int64_t ownPage) const;

    // What fills the thumbnail.
    enum class Mode {
        keepShape,    // the picture (or a 16:9 placeholder) at its own proportions
        box,          // the picture filling (or fitted into) a box of fixed height
        quotedText,   // a text post's words in quotation marks
        textSymbol,   // a text post below the detail height: its symbol
    };
    Mode mode() const;
    // The words a text post shows: its text between “ and ”.
    QString quotedText() const;

    // The marks. Each is there only on its conditions; none below the detail height.
    // The length of the video on show ("1:15"), unless the copy is downloading.
    std::optional<QString> lengthText(std::int64_t ownPage) const;
    // "2/4": the page on show among the post's attachments, for 2 or more attachments.
    std::optional<QString> pageCounterText(std::int64_t ownPage) const;
    struct CopyMark {
        enum class Kind { none, progress, onThisComputer };
        Kind kind = Kind::none;
        QString text;             // progress: "media.downloading" with the percentage and the total
        double fraction = 0;      // progress: received ÷ total, 1 for a total of 0 (not clamped)
        QString accessibleText;   // "media.bytesProgress" or "media.onThisComputer"
    };
    const CopyMark &copyMark() const { return m_copyMark; }
    // The hover arrows: paging and arrows on, the pointer over it, 2 or more pictures, and at
    // least the detail height.
    bool showsArrows(bool hovering) const;

    // Keeps the view state with the post shown: a different link than the one last shown puts
    // the own page back to 0 (the page memory is left alone). Call before each use of `state`.
    void track(ViewState &state) const;

    // Where everything goes in `rect`.
    struct Layout {
        QRectF frame;          // the thumbnail: clipped, bordered, hit
        QRectF image;          // where the picture is drawn (may reach past the frame: cut)
        QRectF symbol;         // the placeholder's symbol (none while a picture shows)
        std::optional<QRectF> lengthBadge;
        std::optional<QRectF> pageCounter;
        std::optional<QRectF> copyBadge;
        std::optional<QRectF> previous;
        std::optional<QRectF> next;
    };
    Layout layout(const QRectF &rect, const ViewState &state, const PicturePointer &picture) const;

    // The size the thumbnail takes within `available`: in keep-shape mode the picture (or the
    // 16:9 placeholder) fitted into the width and at most the height; otherwise the whole width
    // and the height.
    QSizeF fittedSize(const QSizeF &available, const PicturePointer &picture) const;

    void paint(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture) const;

    // The arrows first (only while they show), then the thumbnail's whole frame.
    Hit hitTest(const QRectF &rect, const QPointF &point, const ViewState &state, const PicturePointer &picture) const;

private:
    CopyMark makeCopyMark() const;
    std::optional<std::size_t> attachmentIndex(std::int64_t ownPage) const;
    bool hasPicture(const PicturePointer &picture) const;

    Post m_post;
    LocalCopy m_copy;
    double m_height = defaultHeight;
    bool m_keepsShape = false;
    bool m_fitsWhole = false;
    std::vector<std::optional<Url>> m_pictures;
    bool m_pages = false;
    bool m_arrows = true;
    std::optional<Save::ID> m_id;
    Paging *m_paging = nullptr;
    CopyMark m_copyMark;   // worked out once: the copy does not change
};

}  // namespace sw
