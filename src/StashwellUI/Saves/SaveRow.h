#pragma once

// One save as a row of the shelf's list: from leading to trailing a small thumbnail, the author's
// name over "@" and the handle, one line of the post's text, the meta line, the save's main action
// and, for a save outside the trash, a trash button. A selected row stands on a faint accent band
// across its whole width.
//
// Everything before the pill is one button that selects the save: a click anywhere in its
// rectangle (the gaps between the columns too) selects; the pill asks for the save's action and
// the trash button for trashing, and neither selects. The row has no hover look of its own.
//
// SaveRow is a value like the card's painter: built from a shelf item, the present moment and the
// selection, it paints into the rectangle the list gives it, says which part a point hits, and
// carries out a click on a part through the callbacks it is handed.

#include "Capture/Date.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Saves/ActionPill.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "StashwellUI/Saves/MetaLine.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

class QPainter;

namespace sw {

class SaveRow {
public:
    static constexpr double thumbnailSide = 56;
    static constexpr double spacing = 14;           // between the columns
    static constexpr double authorWidth = 170;
    static constexpr double minimumGap = 8;         // the least room after the text
    static constexpr double metaWidth = 250;
    static constexpr double pillWidth = 150;
    static constexpr double trashSize = 32;
    static constexpr double horizontalPadding = 14;
    static constexpr double verticalPadding = 10;
    static constexpr double authorLineSpacing = 1;
    static constexpr double selectedOpacity = 0.1;
    // The row's height: the thumbnail and the padding above and below it.
    static constexpr double height = thumbnailSide + 2 * verticalPadding;

    enum class Part { none, body, pill, trash };

    // What the owner keeps for one row between paints.
    struct ViewState {
        Part hoveredPart = Part::none;
        Part pressedPart = Part::none;
        MediaThumbnail::ViewState thumbnail;
    };

    SaveRow(const ShelfItem &item, Date now, bool isSelected);

    const ShelfItem &item() const { return m_item; }
    Date now() const { return m_now; }
    bool isSelected() const { return m_selected; }
    // Items equal, selection equal, moments in the same whole minute (as the card).
    friend bool operator==(const SaveRow &a, const SaveRow &b);

    const MediaThumbnail &thumbnail() const { return m_thumbnail; }
    const MetaLine &metaLine() const { return m_meta; }
    const ActionPill &actionPill() const { return m_pill; }
    bool showsTrash() const { return !m_item.save().isTrashed(); }

    // The author's name; "@" and the handle, also for a handle holding a full stop.
    QString nameText() const;
    QString handleText() const;
    // What the row reads out: the author's name, ": ", the post's text and the meta line.
    QString accessibleText() const;

    struct Layout {
        QRectF row;          // the whole row, the selection band
        QRectF body;         // the select button: thumbnail to meta line, gaps included
        QRectF thumbnail;
        QRectF name;
        QRectF handle;
        QRectF text;         // empty when no room is left for it
        QRectF meta;
        QRectF pillFrame;    // the 150-wide column the pill is centred in
        QRectF pill;
        std::optional<QRectF> trash;
    };
    // The fixed columns take their widths while the row is wide enough; a narrower row gives up
    // the text first, then the meta line's room, then the author's.
    Layout layout(const QRectF &rect) const;

    std::optional<PictureKey> pictureKey(const ViewState &state) const;
    void track(ViewState &state) const { m_thumbnail.track(state.thumbnail); }

    void paint(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture) const;
    // The pill and the trash button first, then the body; none in the padding and beside the
    // buttons.
    Part hitTest(const QRectF &rect, const QPointF &point) const;
    // Carries out a click on `part`, made with `modifiers`: the body raises select (with those
    // modifiers), the pill the action (not while it is a running download), the trash trash.
    // Returns whether anything happened.
    bool activate(Part part, const IntentHandler &raise, Qt::KeyboardModifiers modifiers = {}) const;

private:
    ShelfItem m_item;
    Date m_now;
    bool m_selected;
    MediaThumbnail m_thumbnail;
    MetaLine m_meta;
    ActionPill m_pill;
    // The texts as last cut, for the widths they were cut at.
    mutable double m_authorCut = -1;
    mutable QString m_shownName;
    mutable QString m_shownHandle;
    mutable double m_textCut = -1;
    mutable QString m_shownText;
};

}  // namespace sw
