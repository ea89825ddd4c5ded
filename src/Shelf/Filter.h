#pragma once

// Which saves the shelf shows: one of the sidebar's filters.

#include "Library/Collection.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"

#include <QHashFunctions>

#include <cstddef>
#include <functional>
#include <type_traits>
#include <variant>

namespace sw {

class Filter {
public:
    struct All { friend bool operator==(const All &, const All &) = default; };                      // every live save
    struct RecentlyAdded { friend bool operator==(const RecentlyAdded &, const RecentlyAdded &) = default; };  // live, 7 days
    struct Favourites { friend bool operator==(const Favourites &, const Favourites &) = default; };  // live favourites
    struct Trash { friend bool operator==(const Trash &, const Trash &) = default; };                // trashed saves
    struct InCollection {                                                                            // live, filed there
        Collection::ID id;
        friend bool operator==(const InCollection &, const InCollection &) = default;
    };
    struct OfKind {                                                                                  // live, of that kind
        Kind kind;
        friend bool operator==(const OfKind &a, const OfKind &b) { return a.kind == b.kind; }
    };
    struct FromSource {                                                                              // live, from that source
        Source source;
        friend bool operator==(const FromSource &a, const FromSource &b) { return a.source == b.source; }
    };
    struct ByAuthor {                                                                                // live, by that handle
        Handle handle;   // letter case aside
        friend bool operator==(const ByAuthor &, const ByAuthor &) = default;
    };
    struct OnThisComputer {                                                                          // live, media here
        friend bool operator==(const OnThisComputer &, const OnThisComputer &) = default;
    };
    struct LinkOnly { friend bool operator==(const LinkOnly &, const LinkOnly &) = default; };       // live, media missing
    using Value = std::variant<All, RecentlyAdded, Favourites, Trash, InCollection, OfKind, FromSource, ByAuthor,
                               OnThisComputer, LinkOnly>;

    Filter() = default;   // all
    Filter(Value value) : m_value(std::move(value)) {}
    template <typename Case>
        requires std::is_constructible_v<Value, Case &&> && (!std::is_same_v<std::decay_t<Case>, Value>)
    Filter(Case &&c) : m_value(std::forward<Case>(c)) {}
    static Filter all() { return All{}; }
    static Filter recentlyAdded() { return RecentlyAdded{}; }
    static Filter favourites() { return Favourites{}; }
    static Filter trash() { return Trash{}; }
    static Filter collection(Collection::ID id) { return InCollection{std::move(id)}; }
    static Filter kind(Kind kind) { return OfKind{kind}; }
    static Filter source(Source source) { return FromSource{source}; }
    static Filter author(Handle handle) { return ByAuthor{std::move(handle)}; }
    static Filter onThisComputer() { return OnThisComputer{}; }
    static Filter linkOnly() { return LinkOnly{}; }

    const Value &value() const { return m_value; }
    // The case's position, 0 (all) to 9 (linkOnly).
    std::size_t index() const { return m_value.index(); }

    friend bool operator==(const Filter &, const Filter &) = default;

private:
    Value m_value;
};

// The case's position, then the payload's own hash (a handle hashes its lowercased name).
std::size_t qHash(const Filter &filter, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Filter> {
    std::size_t operator()(const sw::Filter &f) const noexcept { return sw::qHash(f, 0); }
};
