#pragma once

// The pill of a save's main action as a widget of its own (the inspector, the latest-save hero).

#include "StashwellUI/Saves/ActionPill.h"
#include "StashwellUI/Controls/PillButton.h"
#include "Shelf/ShelfItem.h"

namespace sw {

class ActionPillButton : public PillButton {
    Q_OBJECT
public:
    explicit ActionPillButton(const Action &action = Action(), QWidget *parent = nullptr);

    const Action &action() const { return m_action; }
    // Takes the action's style and progress. Enabled exactly when the action is not a running
    // download; a pill inside a disabled container stays disabled whatever its action.
    void setAction(const Action &action);

signals:
    // The pill was pressed while enabled: the action it shows.
    void performed(const sw::Action &action);

private:
    void apply();

    Action m_action;
};

}  // namespace sw
