#pragma once

// What the quick-save popover tells about the clipboard: nothing copied, a link being looked up,
// a post found and ready to keep, a link that cannot be used, or a post just kept. Its page moves
// it from case to case; the popover only shows it.

#include "Capture/Post.h"

#include <QString>

#include <variant>

namespace sw {

class QuickSaveState {
public:
    // Texts compare as texts do (canonically equivalent texts are equal).
    struct Looking {
        QString link;
        friend bool operator==(const Looking &a, const Looking &b);
    };
    struct Found {
        Post post;
        friend bool operator==(const Found &, const Found &) = default;
    };
    // The message says why, already localised.
    struct Refused {
        QString message;
        friend bool operator==(const Refused &a, const Refused &b);
    };
    // The confirmation, already localised.
    struct Saved {
        QString message;
        friend bool operator==(const Saved &a, const Saved &b);
    };
    struct NothingCopied {
        friend bool operator==(const NothingCopied &, const NothingCopied &) = default;
    };
    using Value = std::variant<Looking, Found, Refused, Saved, NothingCopied>;

    QuickSaveState() : m_value(NothingCopied{}) {}
    QuickSaveState(Value value) : m_value(std::move(value)) {}
    static QuickSaveState looking(QString link) { return QuickSaveState(Looking{std::move(link)}); }
    static QuickSaveState found(Post post) { return QuickSaveState(Found{std::move(post)}); }
    static QuickSaveState refused(QString message) { return QuickSaveState(Refused{std::move(message)}); }
    static QuickSaveState saved(QString message) { return QuickSaveState(Saved{std::move(message)}); }
    static QuickSaveState nothingCopied() { return QuickSaveState(NothingCopied{}); }

    const Value &value() const { return m_value; }
    // The post of the found case, or null.
    const Post *post() const;

    friend bool operator==(const QuickSaveState &, const QuickSaveState &) = default;

private:
    Value m_value;
};

}  // namespace sw
