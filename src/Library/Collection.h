#pragma once

// Collections: named, coloured groups into which saves are filed; the five swatch colours; the
// rule that picks a new collection's swatch; and the refusals of the collection operations.

#include "Library/Identifier.h"
#include "Capture/Json.h"

#include <QHash>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace sw {

// The colour of a collection. The on-screen colour of each swatch belongs to the views.
enum class Swatch { amber, blue, green, pink, violet };

// Every swatch in declaration order (index 0 to 4).
inline constexpr std::array<Swatch, 5> allSwatches{Swatch::amber, Swatch::blue, Swatch::green, Swatch::pink,
                                                   Swatch::violet};

// The case name: "amber", "blue", "green", "pink" or "violet".
std::string_view swatchName(Swatch swatch);
// The swatch with that case name, or none.
std::optional<Swatch> swatchNamed(std::string_view name);

// {"amber": {}} and so on.
JsonValue swatchToJson(Swatch swatch);
// Of the object's keys only case names count; exactly one must count and its value must be an
// object. Throws JsonError ("Invalid number of keys found, expected one." for none or several).
Swatch swatchFromJson(const JsonNode &node);

inline size_t qHash(Swatch swatch, size_t seed = 0) noexcept { return ::qHash(static_cast<int>(swatch), seed); }

// The failures of the collection operations. Carries no text: the views show their own.
enum class CollectionRefusal { nameEmpty, nameTaken, noSuchCollection };

// The string-table key of a refusal: "refusal.nameEmpty", "refusal.nameTaken", "refusal.noSuchCollection".
std::string_view refusalKey(CollectionRefusal refusal);

struct Collection {
    struct IdKind;
    using ID = Identifier<IdKind>;

    ID id;            // fixed for the collection's life, also across removal and reinstatement
    QString name;     // trimmed, non-empty and distinct under the collection-name rule (kept so by Library)
    Swatch swatch = Swatch::amber;

    // Exact: the name compares case-sensitively (under canonical equivalence).
    friend bool operator==(const Collection &a, const Collection &b);

    // {"id": {"raw": ...}, "name": ..., "swatch": {...}}
    JsonValue toJson() const;
    // Every key required; throws JsonError.
    static Collection fromJson(const JsonNode &node);
};

size_t qHash(const Collection &collection, size_t seed = 0) noexcept;

// The swatch for a new collection, given the existing ones: the first swatch in declaration order
// that no collection uses; when all five are used, the one at (number of collections modulo 5).
Swatch nextSwatch(std::span<const Collection> collections);

}  // namespace sw
