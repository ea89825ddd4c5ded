#pragma once

// What pressing the parts a card and a row share asks for: the body selects the save, the action
// pill performs its action (unless it is busy) and the trash button moves the save to the trash
// (unless it is there already).

#include "StashwellUI/Saves/ActionPill.h"

#include <optional>

namespace sw::SaveActivation {

// Whether the press asked for something; none when `part` is not one of the shared parts (the
// view handles its own). `Part` is the view's part enum, with body, pill and trash; `Intents` its
// intents, with onSelect(), onAction(action) and onTrash(), each possibly unset.
template <class Part, class Intents>
std::optional<bool> activate(Part part, const ActionPill &pill, bool showsTrash, const Intents &intents)
{
    if (part == Part::body) {
        if (!intents.onSelect)
            return false;
        intents.onSelect();
        return true;
    }
    if (part == Part::pill) {
        return pill.press([&intents](const Action &action) {
            if (intents.onAction)
                intents.onAction(action);
        });
    }
    if (part == Part::trash) {
        if (!showsTrash || !intents.onTrash)
            return false;
        intents.onTrash();
        return true;
    }
    return std::nullopt;
}

}  // namespace sw::SaveActivation
