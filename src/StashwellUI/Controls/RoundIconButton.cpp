#include "StashwellUI/Controls/RoundIconButton.h"

#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace sw {

RoundIconButton::RoundIconButton(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

RoundIconButton::RoundIconButton(const QString &symbol, const QString &label, QWidget *parent) : RoundIconButton(parent)
{
    m_symbol = symbol;
    m_label = label;
    setToolTip(label);
}

void RoundIconButton::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    changed();
}

void RoundIconButton::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    setToolTip(label);
    notifyNameChanged(this);
}

QColor RoundIconButton::tint() const { return m_tint.value_or(Tokens::Colors::muted()); }

void RoundIconButton::setTint(const QColor &tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    changed();
}

void RoundIconButton::resetTint()
{
    if (!m_tint)
        return;
    m_tint.reset();
    changed();
}

void RoundIconButton::setDiameter(double size)
{
    if (!(size >= 0) || size == m_size)
        return;
    m_size = size;
    changed(true);
}

QSize RoundIconButton::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(m_size));
    return QSize(side, side);
}

QPainterPath RoundIconButton::hitShape() const
{
    QPainterPath path;
    path.addEllipse(QRectF(rect()));
    return path;
}

void RoundIconButton::paint(QPainter &painter, const QRectF &bounds, const QString &symbol, const QColor &tint,
                            const ControlState &state)
{
    // The glass costs far more to draw than to copy, and a shelf draws one per card and row: kept
    // as a bitmap for each look it is drawn in.
    const QString key = QStringLiteral("roundIcon|%1|%2|%3|%4%5%6%7|")
                            .arg(QString::number(tint.rgba(), 16))
                            .arg(int(Theme::currentAppearance()))
                            .arg(int(Theme::currentSurface()))
                            .arg(int(state.enabled))
                            .arg(int(state.hovered))
                            .arg(int(state.pressed))
                            .arg(int(state.focused)) +
                        symbol;
    PaintMemo::draw(painter, bounds, key, [symbol, tint, state](QPainter &p, const QRectF &area) {
        p.setRenderHint(QPainter::Antialiasing);
        ControlPainting::applyPlainStyle(p, state);
        QPainterPath circle;
        circle.addEllipse(area);
        GlassMaterial::paint(p, circle, true, state);
        const double side = ControlPainting::symbolSide(symbolTypeSize(std::min(area.width(), area.height())));
        Symbols::paint(p, QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side), symbol, tint);
    });
}

void RoundIconButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    paint(painter, rect, m_symbol, tint(), state);
}

}  // namespace sw
