#pragma once

// Who wrote a post: the author's avatar beside two lines, the name over the handle, with an
// optional short detail after the handle. Each line stays on one line and is cut with an ellipsis
// when the width runs out; the two lines are cut independently. Reports nothing.
//
// AuthorLine paints the line for views that draw many saves in one widget (the shelf's cards);
// AuthorLineView (AuthorLineView.h) is the line as a widget of its own.

#include "StashwellUI/Pictures/PictureCache.h"
#include "Capture/Post.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class QPainter;

namespace sw {

class AuthorLine {
public:
    static constexpr double defaultSize = 34;
    static constexpr double avatarSpacing = 10;   // between the avatar and the two lines
    static constexpr double lineSpacing = 1;      // between the name and the handle line
    static constexpr double detailSpacing = 4;    // between the handle and the detail

    explicit AuthorLine(const Author &author, std::optional<QString> detail = std::nullopt, double size = defaultSize);

    const Author &author() const { return m_author; }
    const std::optional<QString> &detail() const { return m_detail; }
    double size() const { return m_size; }

    // The handle as shown: unchanged when it holds a full stop anywhere, otherwise with "@" in
    // front ("@" alone for an empty handle).
    static QString handleText(const Handle &handle);
    QString handleText() const { return handleText(m_author.handle); }
    // "· " and the detail, when there is a detail (an empty one still shows the dot).
    std::optional<QString> detailText() const;

    // The avatar's picture: its address at three times the avatar's size in pixels; none without
    // an address.
    std::optional<PictureKey> avatarKey() const;

    // Where each piece goes in `rect`, with the texts as they fit.
    struct Layout {
        QRectF avatar;
        QRectF name;
        QRectF handle;
        QRectF detail;          // empty without a detail
        QString shownName;      // cut with an ellipsis where the line is too narrow
        QString shownHandle;
        QString shownDetail;
        QRectF bounds;          // everything drawn
    };
    // The pieces start at the left edge and are centred vertically in `rect`.
    Layout layout(const QRectF &rect) const;
    // The width and height everything takes uncut.
    QSizeF sizeHint() const;

    void paint(QPainter &painter, const QRectF &rect, const PicturePointer &avatar) const;
    // Whether `point` falls on the avatar or the text.
    bool hitTest(const QRectF &rect, const QPointF &point) const;

private:
    Author m_author;
    std::optional<QString> m_detail;
    double m_size;
    QFont m_nameFont;
    QFont m_captionFont;
};

}  // namespace sw
