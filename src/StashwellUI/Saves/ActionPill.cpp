#include "StashwellUI/Saves/ActionPill.h"

#include "StashwellUI/Pictures/PaintMemo.h"

#include <QPainter>

#include <cmath>

namespace sw {

namespace {

PillButton::Content contentOf(const Action &action, const ActionStyle &style)
{
    PillButton::Content content;
    content.title = style.title();
    content.symbol = style.symbol();
    content.tone = style.tone();
    if (const auto *running = std::get_if<Action::Downloading>(&action.value()))
        content.progress = running->fraction;
    return content;
}

}  // namespace

ActionPill::ActionPill(const Action &action)
    : m_action(action), m_style(action), m_content(contentOf(action, m_style))
{
}

ControlState ActionPill::effectiveState(ControlState state) const
{
    if (isDownloading()) {
        state.enabled = false;
        state.hovered = false;
        state.pressed = false;
    }
    return state;
}

QSizeF ActionPill::sizeHint() const
{
    const QSizeF label = PillButton::labelSize(m_content);
    return QSizeF(std::ceil(label.width()) + 32, std::ceil(std::max(PillButton::minimumHeight, label.height())));
}

void ActionPill::paint(QPainter &painter, const QRectF &rect, const ControlState &state) const
{
    // A shelf paints the same pills on every scroll frame: each look is drawn once and copied.
    const ControlState shown = effectiveState(state);
    const QString progress = m_content.progress
        ? QString::number(ControlPainting::drawableFraction(*m_content.progress), 'f', 4)
        : QStringLiteral("-");
    const QString key = QStringLiteral("pill|%1|%2|%3|%4|%5|")
                            .arg(QString::number(toneColor(m_content.tone).rgba(), 16), progress)
                            .arg(int(shown.enabled))
                            .arg(int(shown.pressed))
                            .arg(m_content.symbol) +
                        m_content.title;
    const PillButton::Content content = m_content;
    PaintMemo::draw(painter, rect, key, [content, shown](QPainter &p, const QRectF &area) {
        PillButton::paint(p, area, content, shown);
    });
}

bool ActionPill::hitTest(const QRectF &rect, const QPointF &point) const
{
    return PillButton::shape(rect).contains(point);
}

bool ActionPill::press(const std::function<void(const Action &)> &perform) const
{
    if (isDownloading() || !perform)
        return false;
    perform(m_action);
    return true;
}

}  // namespace sw
