#pragma once

// Where the Save Link sheet stands: the user is typing a link (with the message of the last
// refusal, if any), a look-up is under way, or the look-up found a post. The page that presents
// the sheet owns the phase and moves it; the sheet only shows it.

#include "Capture/Post.h"

#include <QString>

#include <optional>
#include <variant>

namespace sw {

class SaveLinkPhase {
public:
    struct Typing {
        std::optional<QString> problem;   // ready to show, already localised
        // Problems compare as texts do (canonically equivalent texts are equal).
        friend bool operator==(const Typing &a, const Typing &b);
    };
    struct Found {
        Post post;
        friend bool operator==(const Found &, const Found &) = default;
    };
    struct Fetching {
        friend bool operator==(const Fetching &, const Fetching &) = default;
    };
    using Value = std::variant<Typing, Found, Fetching>;

    SaveLinkPhase() : m_value(Typing{}) {}
    SaveLinkPhase(Value value) : m_value(std::move(value)) {}
    static SaveLinkPhase typing(std::optional<QString> problem = std::nullopt) { return SaveLinkPhase(Typing{std::move(problem)}); }
    static SaveLinkPhase found(Post post) { return SaveLinkPhase(Found{std::move(post)}); }
    static SaveLinkPhase fetching() { return SaveLinkPhase(Fetching{}); }

    const Value &value() const { return m_value; }
    bool isTyping() const { return std::holds_alternative<Typing>(m_value); }
    bool isFound() const { return std::holds_alternative<Found>(m_value); }
    bool isFetching() const { return std::holds_alternative<Fetching>(m_value); }
    // The problem of the typing phase; none in the other phases.
    std::optional<QString> problem() const;
    // The post of the found phase, or null.
    const Post *post() const;

    friend bool operator==(const SaveLinkPhase &, const SaveLinkPhase &) = default;

private:
    Value m_value;
};

}  // namespace sw
