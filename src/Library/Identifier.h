#pragma once

// A record identity wrapping one UUID. Saves and collections each have their own identifier type
// (`Save::ID`, `Collection::ID`) so that one can never be passed where the other is meant.
// The text form is the canonical 36-character UUID in upper case; reading accepts either case and
// nothing else (no braces, no missing hyphens).

#include "Capture/Json.h"

#include <QHash>
#include <QString>
#include <QUuid>

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

namespace sw {

// The canonical upper-case text of a UUID: "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
QString uuidText(const QUuid &uuid);
std::string uuidStdText(const QUuid &uuid);
// The same text appended, without a string of its own: every save's id is written at each write.
void appendUuidText(std::string &out, const QUuid &uuid);
// The UUID written as 36 characters (hex groups 8-4-4-4-12, letters in either case); none for
// any other text.
std::optional<QUuid> parseUuid(std::string_view text);

template <typename Kind>
class Identifier {
public:
    // The nil UUID; real identities come from a given UUID or from random().
    Identifier() = default;
    explicit Identifier(const QUuid &raw) : m_raw(raw) {}

    static Identifier random() { return Identifier(QUuid::createUuid()); }

    const QUuid &raw() const { return m_raw; }
    QString text() const { return uuidText(m_raw); }

    friend bool operator==(const Identifier &, const Identifier &) = default;

    // {"raw": "UPPER-CASE-UUID"}
    JsonValue toJson() const
    {
        JsonValue v = JsonValue::object();
        v.set("raw", uuidStdText(m_raw));
        return v;
    }

    // Throws JsonError when "raw" is missing, not a string, or not a UUID.
    static Identifier fromJson(const JsonNode &node)
    {
        const std::string_view text = node["raw"].stringView();
        const auto uuid = parseUuid(text);
        if (!uuid)
            throw JsonError("Attempted to decode UUID from invalid UUID string: \"" + std::string(text) + "\".");
        return Identifier(*uuid);
    }

private:
    QUuid m_raw;
};

template <typename Kind>
inline size_t qHash(const Identifier<Kind> &id, size_t seed = 0) noexcept
{
    return qHash(id.raw(), seed);
}

}  // namespace sw

template <typename Kind>
struct std::hash<sw::Identifier<Kind>> {
    size_t operator()(const sw::Identifier<Kind> &id) const noexcept { return qHash(id.raw(), 0); }
};
