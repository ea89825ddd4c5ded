#pragma once

// The steps of a random walk over the library window, as plain values: what a user does (an act)
// and two numbers that pick what it is done to. The numbers are read against the window as it is
// when the step runs (an item's place modulo the items shown, a row modulo the rows), so a list of
// steps replays from its text alone, and a shorter list made by dropping steps still means
// something.
//
// A walk is a pure function of its seed: the same seed gives the same steps on every machine.
// shrink() finds a short list that still fails, by dropping steps while the failure stays.

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace sw::walk {

enum class Act : std::uint8_t {
    saveLink,        // a: the post, b: how (new or kept already, slow, failing, refused, typed)
    closeSheet,      // the Save Link sheet's Cancel, or Escape
    click,           // a: the item, b: the modifiers (none, Ctrl, Shift)
    doubleClick,     // a: the item
    cardTrash,       // a: the item: the card's or row's trash button
    cardAction,      // a: the item: the pill (download, retry, play, open, restore)
    key,             // a: the key (arrows, Return, Space, Escape, Delete, Backspace)
    selectAll,       // the Edit menu's Select All, the shelf focused first when b is odd
    undo,            // the Edit menu's
    redo,
    toastUndo,       // the toast's Undo button
    inspector,       // a: what (favourite, tags, note, file, remove the copy, close), b: a value
    bulk,            // a: what the bulk panel is asked, b: a value
    newCollection,   // a: the name, b: the swatch and whether it is created or cancelled
    editCollection,  // a: the collection, b: the new name
    deleteCollection,// a: the collection, b: confirmed or cancelled
    dropOnRow,       // a: the item dragged, b: the sidebar row
    downloadMissing, // the Library menu's
    emptyTrash,      // b: confirmed or cancelled
    dialog,          // the alert shown: a button
    filter,          // a: the sidebar row or chip
    search,          // a: what is typed or erased
    layout,          // a: grid or list
    player,          // a: close, reveal or open
    resize,          // a: the size, down to the window's minimum
    look,            // a: the setting, b: its value
    wait,            // a: how long the window is left alone
    count
};

struct Step {
    Act act = Act::wait;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    friend bool operator==(const Step &, const Step &) = default;
};

using Steps = QList<Step>;

// The act's name in the text form ("saveLink").
QString actName(Act act);
std::optional<Act> actNamed(const QString &name);

// "saveLink 3 1; click 7 2": the form a failure prints and a regression row keeps.
QString format(const Steps &steps);
// The steps of that text; none when any part is not a step.
std::optional<Steps> parse(const QString &text);

// The walk of a seed, `count` steps long.
Steps generate(std::uint64_t seed, qsizetype count);

// The shortest list found by dropping steps from `steps` for which `fails` still holds (delta
// debugging: chunks of halving size are left out, then single steps), asking `fails` at most
// `budget` times. `fails(steps)` is assumed true.
Steps shrink(const Steps &steps, const std::function<bool(const Steps &)> &fails, int budget);

}  // namespace sw::walk
