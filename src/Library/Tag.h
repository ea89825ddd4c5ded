#pragma once

// A tag on a save: one name. Tags made from the user's text are normalised (lower case, no
// whitespace, words joined by "-", no leading "#"); tags read from the archive keep their name.

#include "Capture/Json.h"

#include <QHashFunctions>
#include <QString>

#include <cstddef>
#include <optional>

namespace sw {

struct Tag {
    QString name;

    // The tag the user meant by `text`, or none when it holds no word once the leading "#" are
    // gone: trimmed, leading "#" removed, lower-cased, words joined by "-".
    static std::optional<Tag> fromText(const QString &text);

    // Exact and case-sensitive, under canonical equivalence: "Travel" and "travel" differ.
    friend bool operator==(const Tag &a, const Tag &b);

    JsonValue toJson() const;                 // {"name": ...}
    static Tag fromJson(const JsonNode &node);  // the stored name, unchanged
};

std::size_t qHash(const Tag &tag, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Tag> {
    std::size_t operator()(const sw::Tag &t) const noexcept { return sw::qHash(t, 0); }
};
