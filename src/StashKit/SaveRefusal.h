#pragma once

// Why pasted or dropped text did not become a save. These are what the user is shown; the
// underlying cause of a failed fetch is never passed on.

#include "Capture/PostLink.h"
#include "Library/Save.h"

#include <QHashFunctions>

#include <cstddef>
#include <variant>

namespace sw {

class SaveRefusal {
public:
    // The text is not a link.
    struct NotALink {
        friend bool operator==(const NotALink &, const NotALink &) = default;
    };
    // A link of the service that does not name a post.
    struct NotAPost {
        friend bool operator==(const NotAPost &, const NotAPost &) = default;
    };
    // The library holds a save of this link outside the trash: that save.
    struct AlreadyKept {
        Save::ID id;
        friend bool operator==(const AlreadyKept &, const AlreadyKept &) = default;
    };
    // The post could not be fetched, whatever the reason.
    struct Unreachable {
        friend bool operator==(const Unreachable &, const Unreachable &) = default;
    };
    using Value = std::variant<NotALink, NotAPost, AlreadyKept, Unreachable>;

    SaveRefusal(NotALink v) : m_value(v) {}
    SaveRefusal(NotAPost v) : m_value(v) {}
    SaveRefusal(AlreadyKept v) : m_value(v) {}
    SaveRefusal(Unreachable v) : m_value(v) {}
    static SaveRefusal notALink() { return NotALink{}; }
    static SaveRefusal notAPost() { return NotAPost{}; }
    static SaveRefusal alreadyKept(const Save::ID &id) { return AlreadyKept{id}; }
    static SaveRefusal unreachable() { return Unreachable{}; }
    // The refusal of the same name as the link parser's.
    static SaveRefusal from(LinkRefusal refusal)
    {
        return refusal == LinkRefusal::notAPost ? notAPost() : notALink();
    }

    const Value &value() const { return m_value; }
    const AlreadyKept *asAlreadyKept() const { return std::get_if<AlreadyKept>(&m_value); }
    bool isNotALink() const { return std::holds_alternative<NotALink>(m_value); }
    bool isNotAPost() const { return std::holds_alternative<NotAPost>(m_value); }
    bool isUnreachable() const { return std::holds_alternative<Unreachable>(m_value); }

    // Same case and, for alreadyKept, the same save.
    friend bool operator==(const SaveRefusal &, const SaveRefusal &) = default;

private:
    Value m_value;
};

// The case's position (0 to 3), then the save's id for alreadyKept.
inline std::size_t qHash(const SaveRefusal &refusal, std::size_t seed = 0) noexcept
{
    seed = ::qHash(refusal.value().index(), seed);
    if (const auto *kept = refusal.asAlreadyKept())
        return qHash(kept->id, seed);
    return seed;
}

}  // namespace sw
