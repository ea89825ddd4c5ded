#include "StashwellUI/Saves/ActionPillButton.h"

namespace sw {

ActionPillButton::ActionPillButton(const Action &action, QWidget *parent) : PillButton(parent), m_action(action)
{
    apply();
    connect(this, &QAbstractButton::clicked, this, [this] {
        ActionPill(m_action).press([this](const Action &shown) { emit performed(shown); });
    });
}

void ActionPillButton::setAction(const Action &action)
{
    if (action == m_action)
        return;
    m_action = action;
    apply();
}

void ActionPillButton::apply()
{
    const ActionPill pill(m_action);
    setContent(pill.content());
    setEnabled(!pill.isDownloading());
}

}  // namespace sw
