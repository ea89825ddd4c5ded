#include "StashwellUI/Saves/AuthorLine.h"

#include "StashwellUI/Pictures/Avatar.h"
#include "StashwellUI/Pictures/CachedImage.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

double advance(const QFont &font, const QString &text)
{
    return text.isEmpty() ? 0 : std::ceil(QFontMetricsF(font).horizontalAdvance(text));
}

// One line of text, cut to `width` with an ellipsis when it does not fit, and the width it takes
// (whole points). Each measure shapes the text anew: a line that fits is measured once.
struct Fitted {
    QString text;
    double advance = 0;
};

Fitted fitted(const QFont &font, const QString &text, double width)
{
    const QFontMetricsF metrics(font);
    const double whole = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
    if (whole <= width + 0.5)
        return {text, std::ceil(whole)};
    const QString cut = metrics.elidedText(text, Qt::ElideRight, std::max(0.0, width));
    return {cut, advance(font, cut)};
}

double lineHeight(const QFont &font) { return std::ceil(QFontMetricsF(font).height()); }

void drawLine(QPainter &painter, const QFont &font, const QRectF &rect, const QString &text, const QColor &color)
{
    if (text.isEmpty() || rect.width() <= 0)
        return;
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(color);
    const double baseline = rect.center().y() - metrics.height() / 2 + metrics.ascent();
    painter.drawText(QPointF(rect.left(), baseline), text);
}

}  // namespace

AuthorLine::AuthorLine(const Author &author, std::optional<QString> detail, double size)
    : m_author(author), m_detail(std::move(detail)), m_size(std::isfinite(size) ? std::max(0.0, size) : 0),
      m_nameFont(Tokens::Typography::headline.font()), m_captionFont(Tokens::Typography::caption.font())
{
}

QString AuthorLine::handleText(const Handle &handle)
{
    if (handle.name.contains(u'.'))
        return handle.name;
    return u'@' + handle.name;
}

std::optional<QString> AuthorLine::detailText() const
{
    if (!m_detail)
        return std::nullopt;
    return QStringLiteral("\u00B7 ") + *m_detail;
}

std::optional<PictureKey> AuthorLine::avatarKey() const
{
    if (!m_author.avatar || m_author.avatar->isEmpty())
        return std::nullopt;
    const std::int64_t pixels = Avatar::maxPixels(m_size);
    if (pixels < 1)
        return std::nullopt;
    return PictureKey{*m_author.avatar, pixels};
}

QSizeF AuthorLine::sizeHint() const
{
    const QString handle = handleText();
    const std::optional<QString> detail = detailText();
    const double captionWidth = advance(m_captionFont, handle) + (detail ? detailSpacing + advance(m_captionFont, *detail) : 0);
    const double textWidth = std::max(advance(m_nameFont, m_author.name), captionWidth);
    const double textHeight = lineHeight(m_nameFont) + lineSpacing + lineHeight(m_captionFont);
    return QSizeF(std::ceil(m_size + avatarSpacing + textWidth), std::ceil(std::max(m_size, textHeight)));
}

AuthorLine::Layout AuthorLine::layout(const QRectF &rect) const
{
    Layout l;
    const double midY = rect.center().y();
    l.avatar = QRectF(rect.left(), midY - m_size / 2, m_size, m_size);

    const double nameHeight = lineHeight(m_nameFont);
    const double captionHeight = lineHeight(m_captionFont);
    const double columnHeight = nameHeight + lineSpacing + captionHeight;
    const double x = rect.left() + m_size + avatarSpacing;
    const double available = std::max(0.0, rect.right() - x);
    const double top = midY - columnHeight / 2;

    Fitted name = fitted(m_nameFont, m_author.name, available);
    l.shownName = std::move(name.text);
    l.name = QRectF(x, top, std::min(available, name.advance), nameHeight);

    // The handle keeps its room first; the detail takes what is left.
    const double captionTop = top + nameHeight + lineSpacing;
    Fitted handle = fitted(m_captionFont, handleText(), available);
    l.shownHandle = std::move(handle.text);
    const double handleWidth = std::min(available, handle.advance);
    l.handle = QRectF(x, captionTop, handleWidth, captionHeight);
    if (const std::optional<QString> detail = detailText()) {
        const double detailX = x + handleWidth + detailSpacing;
        const double room = std::max(0.0, rect.right() - detailX);
        Fitted shown = fitted(m_captionFont, *detail, room);
        l.shownDetail = std::move(shown.text);
        l.detail = QRectF(detailX, captionTop, std::min(room, shown.advance), captionHeight);
    }
    const double right = std::max({l.name.right(), l.handle.right(), l.detail.isNull() ? x : l.detail.right()});
    l.bounds = QRectF(QPointF(rect.left(), std::min(l.avatar.top(), top)),
                      QPointF(std::max(l.avatar.right(), right), std::max(l.avatar.bottom(), top + columnHeight)));
    return l;
}

void AuthorLine::paint(QPainter &painter, const QRectF &rect, const PicturePointer &avatar) const
{
    if (rect.isEmpty())
        return;
    // The same line is painted on every scroll frame: drawn once for its texts, colours, avatar
    // and size.
    const QColor name = Tokens::Colors::text();
    const QColor handle = Tokens::Colors::accentInk();
    const QColor detail = Tokens::Colors::muted();
    const QString picture = avatar && !avatar->image.isNull() ? avatar->key.keyString() : QStringLiteral("-");
    const QString key = QStringLiteral("author|%1|%2|%3|%4|%5|")
                            .arg(QString::number(name.rgba(), 16), QString::number(handle.rgba(), 16),
                                 QString::number(detail.rgba(), 16))
                            .arg(m_size)
                            .arg(m_detail ? 1 : 0) +
                        picture + u'|' + m_author.name + u'|' + m_author.handle.name + u'|' + m_detail.value_or(QString());
    PaintMemo::draw(painter, rect, key, [this, avatar, name, handle, detail](QPainter &p, const QRectF &area) {
        const Layout l = layout(area);
        p.setRenderHint(QPainter::TextAntialiasing);
        Avatar::paint(p, l.avatar, m_author.name, avatar);
        drawLine(p, m_nameFont, l.name, l.shownName, name);
        drawLine(p, m_captionFont, l.handle, l.shownHandle, handle);
        drawLine(p, m_captionFont, l.detail, l.shownDetail, detail);
    });
}

bool AuthorLine::hitTest(const QRectF &rect, const QPointF &point) const
{
    return layout(rect).bounds.contains(point);
}

}  // namespace sw
