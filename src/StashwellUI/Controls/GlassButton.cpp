#include "StashwellUI/Controls/GlassButton.h"

#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Sizing.h"

#include <QPainter>

namespace sw {

GlassButton::GlassButton(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

GlassButton::GlassButton(const QString &title, const QString &symbol, Tone tone, QWidget *parent) : GlassButton(parent)
{
    m_title = title;
    m_symbol = symbol;
    m_tone = tone;
}

void GlassButton::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    changed(true);
    notifyNameChanged(this);
}

void GlassButton::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    changed(true);
}

void GlassButton::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    changed();
}

QColor GlassButton::foreground(Tone tone)
{
    return tone == Tone::accent ? Tokens::Colors::onAccent() : Tokens::Colors::text();
}

QSize GlassButton::sizeHint() const
{
    const QSizeF label = GlassMaterial::label(m_symbol, m_title).size();
    return QSize(Sizing::ceilInt(label.width() + 2 * sidePadding), static_cast<int>(controlHeight));
}

QPainterPath GlassButton::hitShape() const { return ContinuousShape::capsule(QRectF(rect())); }

QString GlassButton::keptLook() const
{
    return QString::number(int(m_tone)) + u'|' + m_symbol + u'|' + m_title;
}

void GlassButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    if (!state.enabled)
        painter.setOpacity(disabledOpacity);
    const QPainterPath shape = ContinuousShape::capsule(rect);
    GlassMaterial::paint(painter, shape, true, state);
    if (m_tone == Tone::accent) {
        painter.fillPath(shape, Tokens::Colors::accent());
        GlassMaterial::paintResponse(painter, shape, state);
    }
    GlassMaterial::label(m_symbol, m_title).paint(painter, rect.adjusted(sidePadding, 0, -sidePadding, 0), foreground(m_tone));
}

}  // namespace sw
