#pragma once

// The collection being made or edited in the sidebar's inline creator. The library page holds at
// most one; while it holds none the creator is closed. A new collection's draft never edits one,
// and an edit's draft never files a save.

#include "Library/Collection.h"
#include "Library/Save.h"

#include <QString>

#include <optional>

namespace sw::app {

struct CollectionDraft {
    QString name;                               // as typed
    Swatch swatch = Swatch::amber;
    std::optional<Save::ID> filing;             // a save to file into the new collection
    std::optional<Collection::ID> editing;      // the collection edited; none: a new one

    bool isNew() const { return !editing.has_value(); }

    friend bool operator==(const CollectionDraft &, const CollectionDraft &) = default;
};

}  // namespace sw::app
