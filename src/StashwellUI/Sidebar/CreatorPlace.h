#pragma once

// Where the sidebar shows its inline collection creator: after the last collection row, making a
// new collection, or in place of one collection's row while that collection is renamed. The
// sidebar holds it as an optional; none means the creator is not shown.

#include "Library/Collection.h"

#include <cstddef>
#include <optional>
#include <variant>

namespace sw {

class CreatorPlace {
public:
    struct New {
        friend bool operator==(const New &, const New &) = default;
    };
    struct Editing {
        Collection::ID collection;
        friend bool operator==(const Editing &, const Editing &) = default;
    };

    CreatorPlace(New place) : m_value(place) {}
    CreatorPlace(Editing place) : m_value(std::move(place)) {}
    static CreatorPlace makeNew() { return New{}; }
    static CreatorPlace editing(Collection::ID collection) { return Editing{std::move(collection)}; }

    bool isNew() const { return std::holds_alternative<New>(m_value); }
    // The collection being edited; none for a new one.
    std::optional<Collection::ID> editedCollection() const;

    friend bool operator==(const CreatorPlace &, const CreatorPlace &) = default;

private:
    std::variant<New, Editing> m_value;
};

// The case (0 new, 1 editing) and, when editing, the collection.
std::size_t qHash(const CreatorPlace &place, std::size_t seed = 0) noexcept;

}  // namespace sw
