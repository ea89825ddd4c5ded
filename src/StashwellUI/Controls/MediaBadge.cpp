#include "StashwellUI/Controls/MediaBadge.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace sw {

namespace {

ControlPainting::Label badgeLabel(const QString &text, const QString &symbol)
{
    ControlPainting::Label label;
    label.symbol = symbol;
    label.title = text;
    label.font = Tokens::Typography::monoSmall.font();
    label.typeSize = Tokens::Typography::monoSmall.size;
    label.symbolTypeSize = MediaBadge::symbolTypeSize;
    label.spacing = MediaBadge::spacing;
    return label;
}

}  // namespace

MediaBadge::MediaBadge(const QString &text, const QString &symbol, QWidget *parent)
    : QWidget(parent), m_text(text), m_symbol(symbol)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void MediaBadge::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void MediaBadge::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    updateGeometry();
    update();
}

QSizeF MediaBadge::size(const QString &text, const QString &symbol)
{
    const QSizeF label = badgeLabel(text, symbol).size();
    return QSizeF(label.width() + 2 * horizontalPadding, label.height() + 2 * verticalPadding);
}

void MediaBadge::paint(QPainter &painter, const QRectF &bounds, const QString &text, const QString &symbol)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    ContinuousShape::fill(painter, bounds, bounds.height() / 2, Tokens::Colors::scrim());
    badgeLabel(text, symbol).paint(painter, bounds.adjusted(horizontalPadding, 0, -horizontalPadding, 0), Qt::white, false);
    painter.restore();
}

QSize MediaBadge::sizeHint() const
{
    const QSizeF s = size(m_text, m_symbol);
    return QSize(static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height())));
}

void MediaBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_text, m_symbol);
}

}  // namespace sw
