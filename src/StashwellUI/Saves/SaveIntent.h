#pragma once

// What the user asks of one save, from wherever it is asked: its card, its row, the latest-save
// hero, its save menu, its inspector, or the shelf's keys. An intent never names the save: the
// view that raises it belongs to one save, and a collection view adds the item when it passes the
// intent on. A click that selects carries the keyboard modifiers of that click, so nothing reads
// them later. Views raise an intent once per gesture, synchronously, and keep none.

#include "Library/Collection.h"
#include "Library/Tag.h"
#include "Shelf/ShelfItem.h"   // Action

#include <QString>
#include <Qt>

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>

namespace sw {

class SaveIntent {
public:
    // Perform the save's main action (never `downloading`: no view offers it then).
    struct Action {
        sw::Action action;
        friend bool operator==(const Action &, const Action &) = default;
    };
    // File the save into that collection; none takes it out of any collection.
    struct File {
        std::optional<Collection::ID> collection;
        friend bool operator==(const File &, const File &) = default;
    };
    // Add a tag made from this text, exactly as typed (not trimmed, possibly empty).
    struct AddTag {
        QString text;
        friend bool operator==(const AddTag &a, const AddTag &b) { return a.text == b.text; }
    };
    // Remove this tag, as stored on the save.
    struct RemoveTag {
        Tag tag;
        friend bool operator==(const RemoveTag &a, const RemoveTag &b) { return a.tag == b.tag; }
    };
    // Replace the save's note with this whole text.
    struct Note {
        QString text;
        friend bool operator==(const Note &a, const Note &b) { return a.text == b.text; }
    };
    struct Favourite { friend bool operator==(const Favourite &, const Favourite &) = default; };   // toggle
    struct Trash { friend bool operator==(const Trash &, const Trash &) = default; };
    struct Close { friend bool operator==(const Close &, const Close &) = default; };   // the inspector
    struct CopyLink { friend bool operator==(const CopyLink &, const CopyLink &) = default; };
    struct OpenOriginal { friend bool operator==(const OpenOriginal &, const OpenOriginal &) = default; };
    struct Reveal { friend bool operator==(const Reveal &, const Reveal &) = default; };   // local files
    struct RemoveLocalCopy { friend bool operator==(const RemoveLocalCopy &, const RemoveLocalCopy &) = default; };
    struct NewCollection { friend bool operator==(const NewCollection &, const NewCollection &) = default; };
    // A click on the save: plain, or with Ctrl (toggle it among the chosen) or Shift (a range).
    struct Select {
        Qt::KeyboardModifiers modifiers;
        friend bool operator==(const Select &, const Select &) = default;
    };
    // Space: the player for a video here, otherwise the save selected.
    struct Preview { friend bool operator==(const Preview &, const Preview &) = default; };

    // The fifteen cases in their fixed order; index() follows it.
    using Value = std::variant<Action, File, AddTag, RemoveTag, Note, Favourite, Trash, Close, CopyLink,
                               OpenOriginal, Reveal, RemoveLocalCopy, NewCollection, Select, Preview>;

    template <typename Case>
        requires std::is_constructible_v<Value, Case> && (!std::is_same_v<std::decay_t<Case>, Value>)
                 && (!std::is_same_v<std::decay_t<Case>, SaveIntent>)
    SaveIntent(Case c) : m_value(std::move(c)) {}

    static SaveIntent action(sw::Action action) { return Action{action}; }
    static SaveIntent file(std::optional<Collection::ID> collection) { return File{collection}; }
    static SaveIntent addTag(QString text) { return AddTag{std::move(text)}; }
    static SaveIntent removeTag(Tag tag) { return RemoveTag{std::move(tag)}; }
    static SaveIntent note(QString text) { return Note{std::move(text)}; }
    static SaveIntent favourite() { return Favourite{}; }
    static SaveIntent trash() { return Trash{}; }
    static SaveIntent close() { return Close{}; }
    static SaveIntent copyLink() { return CopyLink{}; }
    static SaveIntent openOriginal() { return OpenOriginal{}; }
    static SaveIntent reveal() { return Reveal{}; }
    static SaveIntent removeLocalCopy() { return RemoveLocalCopy{}; }
    static SaveIntent newCollection() { return NewCollection{}; }
    static SaveIntent select(Qt::KeyboardModifiers modifiers = {}) { return Select{modifiers}; }
    static SaveIntent preview() { return Preview{}; }

    const Value &value() const { return m_value; }
    std::size_t index() const { return m_value.index(); }
    // The case's payload when the intent is of that case, else null.
    template <typename Case> const Case *as() const { return std::get_if<Case>(&m_value); }
    template <typename Case> bool is() const { return std::holds_alternative<Case>(m_value); }

    // The case name ("action", "file", ..., "preview"), for messages and logs.
    std::string_view caseName() const;

    friend bool operator==(const SaveIntent &, const SaveIntent &) = default;

private:
    Value m_value;
};

// A callback that receives intents.
using IntentHandler = std::function<void(const SaveIntent &)>;

}  // namespace sw
