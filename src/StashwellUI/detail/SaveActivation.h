#pragma once

// What pressing the parts a card and a row share asks for: the body selects the save (with the
// click's modifiers), the action pill performs its action (unless it is busy) and the trash button
// moves the save to the trash (unless it is there already).

#include "StashwellUI/Saves/ActionPill.h"
#include "StashwellUI/Saves/SaveIntent.h"

#include <optional>

namespace sw::SaveActivation {

// Whether the press asked for something; none when `part` is not one of the shared parts (the
// view handles its own). `Part` is the view's part enum, with body, pill and trash.
template <class Part>
std::optional<bool> activate(Part part, const ActionPill &pill, bool showsTrash, const IntentHandler &raise,
                             Qt::KeyboardModifiers modifiers)
{
    if (part == Part::body) {
        if (!raise)
            return false;
        raise(SaveIntent::select(modifiers));
        return true;
    }
    if (part == Part::pill) {
        return pill.press([&raise](const Action &action) {
            if (raise)
                raise(SaveIntent::action(action));
        });
    }
    if (part == Part::trash) {
        if (!showsTrash || !raise)
            return false;
        raise(SaveIntent::trash());
        return true;
    }
    return std::nullopt;
}

}  // namespace sw::SaveActivation
