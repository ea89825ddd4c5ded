#pragma once

// The single line of small facts under a save's text on the save card and in the save row: what
// the post holds, how long ago it was saved, the state of its local copy (for a post with media)
// and a star for a favourite. Monospaced, muted, one line. It changes only with its item and the
// time its owner hands in; it reports nothing.
//
// MetaLine works out its pieces once, when it is made, and then paints any number of times; the
// shelf keeps one per visible save and paints it into the card or row.

#include "Capture/Date.h"
#include "Shelf/ShelfItem.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace sw {

class MetaLine {
public:
    static constexpr double spacing = 6;        // between the pieces
    static constexpr double labelSpacing = 4;   // between a piece's symbol and its text

    // The colour a piece is drawn in, resolved in the appearance in force when it paints.
    enum class Ink { muted, accentInk, ok, danger };

    struct Piece {
        enum class Role { kind, separator, age, copy, favourite };
        Role role = Role::kind;
        QString symbol;            // empty: none
        QString text;              // shown verbatim; empty for the star
        Ink ink = Ink::muted;
        QString accessibleText;    // what is read for a piece without text (the star)
        friend bool operator==(const Piece &, const Piece &) = default;
    };

    MetaLine(const ShelfItem &item, Date now);

    // In order: the kind, "·", the age, then for a post with media "·" and the local copy, then
    // for a favourite the star.
    const QList<Piece> &pieces() const { return m_pieces; }

    // The kind piece of a post: "play.fill" and the first video's length ("media.video" when it
    // holds none); "photo" and "media.imageCount" with the number of attachments; "text.alignleft"
    // and "media.text"; "link" and "media.link".
    static Piece kindPiece(const Post &post);
    // The local-copy piece: "arrow.down" and the whole percentage received ("100%" of a total of
    // 0), accent ink; "checkmark" and the size on disk, ok; "exclamationmark.triangle" and
    // "media.failed", danger; "icloud" and "media.notDownloaded", muted.
    static Piece copyPiece(const LocalCopy &copy);
    // received ÷ of × 100, truncated toward zero; 100 when the total is 0. Never undefined:
    // a ratio beyond the range of a percentage gives the nearest end of it.
    static int percentReceived(const LocalCopy::Downloading &downloading);

    // The whole line as one text, for accessibility and tests: the pieces' texts (or accessible
    // texts) joined by spaces.
    QString accessibleText() const;

    // Each piece's rectangle and its text as it fits; pieces that do not fit at all are left out.
    struct Placed {
        int index = 0;            // into pieces()
        QRectF symbol;            // empty without a symbol
        QRectF text;              // empty without text
        QString shownText;        // cut with an ellipsis when the width runs out
    };
    QList<Placed> layout(const QRectF &rect) const;
    // The width and height of the whole line uncut.
    QSizeF sizeHint() const;

    void paint(QPainter &painter, const QRectF &rect) const;
    // Whether `point` falls on a drawn piece.
    bool hitTest(const QRectF &rect, const QPointF &point) const;

    static QColor color(Ink ink);

private:
    double pieceWidth(const Piece &piece) const;
    void paintPieces(QPainter &painter, const QRectF &rect) const;

    QList<Piece> m_pieces;
    QFont m_font;
};

}  // namespace sw
