#include "StashwellUI/Controls/SidebarRow.h"

#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/TextRuns.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

SidebarRow::SidebarRow(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

SidebarRow::SidebarRow(const QString &title, const QString &symbol, QWidget *parent) : SidebarRow(parent)
{
    m_title = title;
    m_icon = ControlPainting::symbolIcon(symbol);
}

void SidebarRow::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    changed(true);
    notifyNameChanged(this);
}

void SidebarRow::setCount(std::optional<std::int64_t> count)
{
    if (count == m_count)
        return;
    const bool textChanged = countText(count) != countText(m_count);
    m_count = count;
    if (textChanged) {
        changed(true);
        notifyNameChanged(this);
    }
}

void SidebarRow::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    changed(true);
    notifySelectionChanged(this);
}

void SidebarRow::setSymbol(const QString &symbol) { setIcon(ControlPainting::symbolIcon(symbol)); }

void SidebarRow::setIcon(ControlPainting::IconPainter icon)
{
    m_icon = std::move(icon);
    changed();
}

std::optional<QString> SidebarRow::countText(std::optional<std::int64_t> count)
{
    if (!count || *count < 1)
        return std::nullopt;
    return QString::number(*count);
}

QColor SidebarRow::foreground(bool selected)
{
    return selected ? Tokens::Colors::accentInk() : Tokens::Colors::textSecondary();
}

QFont SidebarRow::titleFont() const
{
    return (m_selected ? Tokens::Typography::bodyStrong : Tokens::Typography::body).font();
}

QString SidebarRow::accessibleText() const
{
    if (const std::optional<QString> count = countText(m_count))
        return m_title + QStringLiteral(", ") + *count;
    return m_title;
}

QSize SidebarRow::sizeHint() const
{
    double width = 2 * horizontalPadding + iconFrame + spacing + ControlPainting::textSize(titleFont(), m_title).width() +
                   spacing + minimumSpacer;
    if (const std::optional<QString> count = countText(m_count))
        width += spacing + ControlPainting::textSize(Tokens::Typography::mono.font(), *count).width();
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(controlHeight));
}

QSize SidebarRow::minimumSizeHint() const
{
    double width = 2 * horizontalPadding + iconFrame + spacing + spacing + minimumSpacer;
    if (const std::optional<QString> count = countText(m_count))
        width += spacing + ControlPainting::textSize(Tokens::Typography::mono.font(), *count).width();
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(controlHeight));
}

void SidebarRow::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    SelectedTint::paintBehind(painter, rect, m_selected, radius);
    painter.save();
    ControlPainting::applyPlainStyle(painter, state);
    const QColor color = foreground(m_selected);
    const QRectF content = rect.adjusted(horizontalPadding, 0, -horizontalPadding, 0);
    double right = content.right();

    // The count keeps its place at the trailing edge; the title gives way.
    if (const std::optional<QString> count = countText(m_count)) {
        const QFont font = Tokens::Typography::mono.font();
        const QFontMetricsF metrics(font);
        const double width = TextRuns::advance(*count, font);
        painter.setPen(m_selected ? Tokens::Colors::accentInk() : Tokens::Colors::muted());
        TextRuns::draw(painter, QPointF(right - width, content.center().y() - metrics.height() / 2 + metrics.ascent()), *count, font);
        right -= width + spacing;
    }
    right -= minimumSpacer + spacing;

    if (m_icon) {
        const double side = ControlPainting::symbolSide(Tokens::Typography::body.size);
        const QRectF box(content.left() + (iconFrame - side) / 2, content.center().y() - side / 2, side, side);
        painter.save();
        m_icon(painter, box, color);
        painter.restore();
    }
    const double titleLeft = content.left() + iconFrame + spacing;
    ControlPainting::Label title;
    title.title = m_title;
    title.font = titleFont();
    title.typeSize = Tokens::Typography::body.size;
    title.paint(painter, QRectF(titleLeft, content.top(), std::max(0.0, right - titleLeft), content.height()), color, false);
    painter.restore();
    SelectedTint::paintOver(painter, rect, m_selected, radius);
}

}  // namespace sw
