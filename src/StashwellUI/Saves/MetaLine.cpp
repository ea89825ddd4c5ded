#include "StashwellUI/Saves/MetaLine.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

const QString kMiddleDot = QStringLiteral("\u00B7");

double symbolBox() { return ControlPainting::symbolSide(Tokens::Typography::mono.size); }

MetaLine::Piece separator()
{
    MetaLine::Piece piece;
    piece.role = MetaLine::Piece::Role::separator;
    piece.text = kMiddleDot;
    return piece;
}

}  // namespace

MetaLine::MetaLine(const ShelfItem &item, Date now) : m_font(Tokens::Typography::mono.font())
{
    const Save &save = item.save();
    const Post &post = save.post();
    m_pieces.append(kindPiece(post));
    m_pieces.append(separator());
    Piece age;
    age.role = Piece::Role::age;
    age.text = Formatting::ago(save.savedAt(), now);
    m_pieces.append(age);
    if (post.hasMedia()) {
        m_pieces.append(separator());
        m_pieces.append(copyPiece(item.copy()));
    }
    if (save.isFavourite()) {
        Piece star;
        star.role = Piece::Role::favourite;
        star.symbol = QStringLiteral("star.fill");
        star.ink = Ink::accentInk;
        star.accessibleText = StashwellUIStrings::mediaFavourite();
        m_pieces.append(star);
    }
}

MetaLine::Piece MetaLine::kindPiece(const Post &post)
{
    Piece piece;
    piece.role = Piece::Role::kind;
    switch (Kind::Value(post.kind())) {
    case Kind::video: {
        piece.symbol = QStringLiteral("play.fill");
        const auto first = std::find_if(post.attachments.begin(), post.attachments.end(),
                                        [](const Attachment &a) { return a.isVideo(); });
        piece.text = first == post.attachments.end() ? StashwellUIStrings::mediaVideo()
                                                     : Formatting::duration(first->asVideo()->length);
        break;
    }
    case Kind::images:
        piece.symbol = QStringLiteral("photo");
        piece.text = StashwellUIStrings::mediaImageCount(qint64(post.attachments.size()));
        break;
    case Kind::text:
        piece.symbol = QStringLiteral("text.alignleft");
        piece.text = StashwellUIStrings::mediaText();
        break;
    case Kind::page:
        piece.symbol = QStringLiteral("link");
        piece.text = StashwellUIStrings::mediaLink();
        break;
    }
    return piece;
}

int MetaLine::percentReceived(const LocalCopy::Downloading &downloading)
{
    if (downloading.of == 0)
        return 100;
    return ControlPainting::wholePercent(double(downloading.received) / double(downloading.of));
}

MetaLine::Piece MetaLine::copyPiece(const LocalCopy &copy)
{
    Piece piece;
    piece.role = Piece::Role::copy;
    if (const auto *running = copy.asDownloading()) {
        piece.symbol = QStringLiteral("arrow.down");
        piece.text = QString::number(percentReceived(*running)) + u'%';
        piece.ink = Ink::accentInk;
    } else if (copy.asOnThisComputer()) {
        piece.symbol = QStringLiteral("checkmark");
        piece.text = Formatting::bytes(copy.bytesOnDisk());
        piece.ink = Ink::ok;
    } else if (copy.asFailed()) {
        piece.symbol = QStringLiteral("exclamationmark.triangle");
        piece.text = StashwellUIStrings::mediaFailed();
        piece.ink = Ink::danger;
    } else {
        piece.symbol = QStringLiteral("icloud");
        piece.text = StashwellUIStrings::mediaNotDownloaded();
        piece.ink = Ink::muted;
    }
    return piece;
}

QString MetaLine::accessibleText() const
{
    QStringList parts;
    for (const Piece &piece : m_pieces) {
        if (piece.role == Piece::Role::separator)
            continue;
        parts.append(piece.text.isEmpty() ? piece.accessibleText : piece.text);
    }
    return parts.join(u' ');
}

QColor MetaLine::color(Ink ink)
{
    switch (ink) {
    case Ink::accentInk:
        return Tokens::Colors::accentInk();
    case Ink::ok:
        return Tokens::Colors::ok();
    case Ink::danger:
        return Tokens::Colors::danger();
    case Ink::muted:
        break;
    }
    return Tokens::Colors::muted();
}

double MetaLine::pieceWidth(const Piece &piece) const
{
    double width = 0;
    if (!piece.symbol.isEmpty())
        width += symbolBox();
    if (!piece.text.isEmpty()) {
        if (!piece.symbol.isEmpty())
            width += labelSpacing;
        width += std::ceil(QFontMetricsF(m_font).horizontalAdvance(piece.text));
    }
    return width;
}

QSizeF MetaLine::sizeHint() const
{
    double width = 0;
    for (const Piece &piece : m_pieces)
        width += pieceWidth(piece);
    width += spacing * std::max<qsizetype>(0, m_pieces.size() - 1);
    const double height = std::max(std::ceil(QFontMetricsF(m_font).height()), symbolBox());
    return QSizeF(std::ceil(width), height);
}

QList<MetaLine::Placed> MetaLine::layout(const QRectF &rect) const
{
    QList<Placed> placed;
    const QFontMetricsF metrics(m_font);
    const double side = symbolBox();
    const double textHeight = std::ceil(metrics.height());
    const double midY = rect.center().y();
    double x = rect.left();
    for (int i = 0; i < m_pieces.size(); ++i) {
        const Piece &piece = m_pieces.at(i);
        if (i > 0)
            x += spacing;
        if (x >= rect.right())
            break;
        Placed p;
        p.index = i;
        if (!piece.symbol.isEmpty()) {
            // A symbol that does not fit whole is left out with everything after it.
            if (x + side > rect.right() + 0.5)
                break;
            p.symbol = QRectF(x, midY - side / 2, side, side);
            x += side;
            if (!piece.text.isEmpty())
                x += labelSpacing;
        }
        if (!piece.text.isEmpty()) {
            const double room = std::max(0.0, rect.right() - x);
            const double natural = std::ceil(metrics.horizontalAdvance(piece.text));
            p.shownText = natural <= room + 0.5 ? piece.text : metrics.elidedText(piece.text, Qt::ElideRight, room);
            const double width = std::min(room, p.shownText.isEmpty() ? 0.0 : std::ceil(metrics.horizontalAdvance(p.shownText)));
            p.text = QRectF(x, midY - textHeight / 2, width, textHeight);
            x += width;
            placed.append(p);
            if (natural > room + 0.5)
                break;   // this piece was cut: nothing after it fits
            continue;
        }
        placed.append(p);
    }
    return placed;
}

void MetaLine::paint(QPainter &painter, const QRectF &rect) const
{
    if (rect.isEmpty())
        return;
    // The same line is painted on every scroll frame: drawn once for its texts, colours and size.
    QString key = QStringLiteral("meta");
    for (const Piece &piece : m_pieces)
        key += u'|' + piece.symbol + u'|' + QString::number(color(piece.ink).rgba(), 16) + u'|' + piece.text;
    PaintMemo::draw(painter, rect, key, [this](QPainter &p, const QRectF &area) { paintPieces(p, area); });
}

void MetaLine::paintPieces(QPainter &painter, const QRectF &rect) const
{
    const QList<Placed> placed = layout(rect);
    if (placed.isEmpty())
        return;
    const QFontMetricsF metrics(m_font);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_font);
    for (const Placed &p : placed) {
        const Piece &piece = m_pieces.at(p.index);
        const QColor ink = color(piece.ink);
        if (!p.symbol.isEmpty())
            Symbols::paint(painter, p.symbol, piece.symbol, ink);
        if (!p.shownText.isEmpty()) {
            painter.setPen(ink);
            const double baseline = p.text.center().y() - metrics.height() / 2 + metrics.ascent();
            painter.drawText(QPointF(p.text.left(), baseline), p.shownText);
        }
    }
    painter.restore();
}

bool MetaLine::hitTest(const QRectF &rect, const QPointF &point) const
{
    for (const Placed &p : layout(rect)) {
        if (p.symbol.contains(point) || p.text.contains(point))
            return true;
    }
    return false;
}

}  // namespace sw
