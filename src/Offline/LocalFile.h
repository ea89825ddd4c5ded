#pragma once

#include "Capture/Json.h"

#include <QHashFunctions>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace sw {

// One downloaded file: its name inside the media folder and its size.
struct LocalFile {
    QString name;
    std::int64_t bytes = 0;

    // True for a name that stays inside the media folder: not empty, no "/", not "." or "..", no
    // control character (text::isControl).
    // Names read from the archive must pass, since the files they name get deleted.
    static bool isSafeName(const QString &name);

    // Names compare under canonical equivalence.
    friend bool operator==(const LocalFile &a, const LocalFile &b);

    // {"bytes":n,"name":text}
    JsonValue toJson() const;
    void writeJson(std::string &out) const;
    // Fails on a missing key, a wrong type or an unsafe name.
    static LocalFile fromJson(const JsonNode &node);
};
std::size_t qHash(const LocalFile &file, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::LocalFile> {
    std::size_t operator()(const sw::LocalFile &v) const noexcept { return sw::qHash(v, 0); }
};
