#include "StashwellUI/Controls/FilterChip.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace sw {

FilterChip::FilterChip(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

FilterChip::FilterChip(const QString &title, const QString &symbol, QWidget *parent) : FilterChip(parent)
{
    m_title = title;
    m_icon = ControlPainting::symbolIcon(symbol);
}

void FilterChip::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    changed(true);
    notifyNameChanged(this);
}

void FilterChip::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    changed(true);   // the semibold title is wider
    notifySelectionChanged(this);
}

void FilterChip::setSymbol(const QString &symbol) { setIcon(ControlPainting::symbolIcon(symbol)); }

void FilterChip::setIcon(ControlPainting::IconPainter icon)
{
    m_icon = std::move(icon);
    changed(true);
}

QColor FilterChip::foreground(bool selected)
{
    return selected ? Tokens::Colors::accentInk() : Tokens::Colors::textSecondary();
}

ControlPainting::Label FilterChip::label() const
{
    ControlPainting::Label label;
    label.icon = m_icon;
    label.title = m_title;
    const Tokens::TypeStyle style =
        m_selected ? Tokens::Typography::caption.weighted(Tokens::Weight::semibold) : Tokens::Typography::caption;
    label.font = style.font();
    label.typeSize = style.size;
    label.spacing = spacing;
    return label;
}

QSize FilterChip::sizeHint() const
{
    return QSize(static_cast<int>(std::ceil(label().size().width() + 2 * horizontalPadding)), static_cast<int>(controlHeight));
}

QPainterPath FilterChip::hitShape() const { return ContinuousShape::capsule(QRectF(rect())); }

void FilterChip::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    const QColor accent = Tokens::Colors::accent();
    if (m_selected)
        ContinuousShape::fill(painter, rect, rect.height() / 2, ControlPainting::faded(accent, 0.14));
    label().paint(painter, rect.adjusted(horizontalPadding, 0, -horizontalPadding, 0), foreground(m_selected));
    ContinuousShape::strokeInside(painter, rect, rect.height() / 2,
                                  m_selected ? ControlPainting::faded(accent, 0.45) : Tokens::Colors::lineStrong(), 1);
}

}  // namespace sw
