#include "StashwellUI/Saves/SaveRow.h"

#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/detail/SaveActivation.h"
#include "StashwellUI/detail/TextLines.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

const QFont &nameFont()
{
    static const QFont font = Tokens::Typography::bodyStrong.font();
    return font;
}

const QFont &handleFont()
{
    static const QFont font = Tokens::Typography::caption.font();
    return font;
}

const QFont &textFont()
{
    static const QFont font = Tokens::Typography::body.font();
    return font;
}

double lineHeight(const QFont &font)
{
    return std::ceil(QFontMetricsF(font).height());
}

ControlState partState(const SaveRow::ViewState &state, SaveRow::Part part)
{
    ControlState control;
    control.hovered = state.hoveredPart == part;
    control.pressed = state.pressedPart == part;
    return control;
}

QString elided(const QString &text, const QFont &font, double width)
{
    if (width <= 0)
        return QString();
    return QFontMetricsF(font).elidedText(text, Qt::ElideRight, width);
}

}  // namespace

SaveRow::SaveRow(const ShelfItem &item, Date now, bool isSelected)
    : m_item(item),
      m_now(now),
      m_selected(isSelected),
      m_thumbnail(item, thumbnailSide, false, false, false, true),
      m_meta(item, now),
      m_pill(item.action())
{
}

bool operator==(const SaveRow &a, const SaveRow &b)
{
    return a.m_item == b.m_item && a.m_selected == b.m_selected &&
           SaveCard::wholeMinute(a.m_now) == SaveCard::wholeMinute(b.m_now);
}

QString SaveRow::nameText() const
{
    return m_item.save().post().author.name;
}

QString SaveRow::handleText() const
{
    return QStringLiteral("@") + m_item.save().post().author.handle.name;
}

QString SaveRow::accessibleText() const
{
    const Post &post = m_item.save().post();
    return post.author.name + QStringLiteral(": ") + post.text + QStringLiteral(", ") + m_meta.accessibleText();
}

SaveRow::Layout SaveRow::layout(const QRectF &rect) const
{
    Layout l;
    l.row = rect;
    const QRectF content = rect.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    const double top = content.top();
    const double side = std::min(thumbnailSide, std::max(0.0, content.height()));
    const double middle = content.center().y();
    double right = content.right();
    if (showsTrash()) {
        l.trash = QRectF(right - trashSize, middle - trashSize / 2, trashSize, trashSize);
        right -= trashSize + spacing;
    }
    l.pillFrame = QRectF(right - pillWidth, top, pillWidth, content.height());
    const QSizeF pill = m_pill.sizeHint();
    const double pw = std::min(pillWidth, pill.width());
    l.pill = QRectF(l.pillFrame.center().x() - pw / 2, middle - pill.height() / 2, pw, pill.height());
    right -= pillWidth + spacing;

    const double left = content.left();
    l.body = QRectF(left, top, std::max(0.0, right - left), content.height());
    l.thumbnail = QRectF(left, middle - side / 2, std::min(side, l.body.width()), side);

    // The columns' widths: the text gives way first, then the meta line, then the author.
    const double fixed = thumbnailSide + spacing + authorWidth + spacing + spacing + minimumGap + spacing + metaWidth;
    double spare = l.body.width() - fixed;
    double meta = metaWidth;
    double author = authorWidth;
    double deficit = std::max(0.0, -spare);
    const double fromMeta = std::min(meta, deficit);
    meta -= fromMeta;
    deficit -= fromMeta;
    author -= std::min(author, deficit);
    const double authorLeft = l.thumbnail.right() + spacing;
    const double nameHeight = lineHeight(nameFont());
    const double handleHeight = lineHeight(handleFont());
    const double columnTop = middle - (nameHeight + authorLineSpacing + handleHeight) / 2;
    l.name = QRectF(authorLeft, columnTop, author, nameHeight);
    l.handle = QRectF(authorLeft, columnTop + nameHeight + authorLineSpacing, author, handleHeight);

    const double textLeft = authorLeft + author + spacing;
    const double room = std::max(0.0, spare);
    const double textHeight = lineHeight(textFont());
    l.text = QRectF(textLeft, middle - textHeight / 2, room, textHeight);

    const double metaHeight = std::min(content.height(), m_meta.sizeHint().height());
    l.meta = QRectF(l.body.right() - meta, middle - metaHeight / 2, meta, metaHeight);
    return l;
}

std::optional<PictureKey> SaveRow::pictureKey(const ViewState &state) const
{
    return m_thumbnail.pictureKey(state.thumbnail.page);
}

void SaveRow::paint(QPainter &painter, const QRectF &rect, const ViewState &state, const PicturePointer &picture) const
{
    const Layout l = layout(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (m_selected)
        painter.fillRect(l.row, ControlPainting::faded(Tokens::Colors::accent(), selectedOpacity));

    painter.save();
    ControlPainting::applyPlainStyle(painter, partState(state, Part::body));
    if (!l.thumbnail.isEmpty())
        m_thumbnail.paint(painter, l.thumbnail, state.thumbnail, picture);
    if (m_authorCut != l.name.width()) {
        m_shownName = elided(nameText(), nameFont(), l.name.width());
        m_shownHandle = elided(handleText(), handleFont(), l.handle.width());
        m_authorCut = l.name.width();
    }
    painter.setFont(nameFont());
    painter.setPen(Tokens::Colors::text());
    painter.drawText(l.name, Qt::AlignLeft | Qt::AlignVCenter, m_shownName);
    painter.setFont(handleFont());
    painter.setPen(Tokens::Colors::accentInk());
    painter.drawText(l.handle, Qt::AlignLeft | Qt::AlignVCenter, m_shownHandle);
    if (!l.text.isEmpty()) {
        if (m_textCut != l.text.width()) {
            m_shownText = TextLines::visible(m_item.save().post().text, textFont(), l.text.width(), 1);
            m_textCut = l.text.width();
        }
        painter.setFont(textFont());
        painter.setPen(Tokens::Colors::textSecondary());
        painter.drawText(l.text, Qt::AlignLeft | Qt::AlignVCenter, m_shownText);
    }
    if (!l.meta.isEmpty())
        m_meta.paint(painter, l.meta);
    painter.restore();

    if (l.pill.width() > 0)
        m_pill.paint(painter, l.pill, partState(state, Part::pill));
    if (l.trash)
        RoundIconButton::paint(painter, *l.trash, QStringLiteral("trash"), Tokens::Colors::muted(), partState(state, Part::trash));
    painter.restore();
}

SaveRow::Part SaveRow::hitTest(const QRectF &rect, const QPointF &point) const
{
    const Layout l = layout(rect);
    if (!l.row.contains(point))
        return Part::none;
    if (l.pill.width() > 0 && m_pill.hitTest(l.pill, point))
        return Part::pill;
    if (l.trash) {
        const QPointF d = point - l.trash->center();
        if (d.x() * d.x() + d.y() * d.y() <= (trashSize / 2) * (trashSize / 2))
            return Part::trash;
    }
    if (l.body.contains(point))
        return Part::body;
    return Part::none;
}

bool SaveRow::activate(Part part, const IntentHandler &raise, Qt::KeyboardModifiers modifiers) const
{
    return SaveActivation::activate(part, m_pill, showsTrash(), raise, modifiers).value_or(false);
}

}  // namespace sw
