#pragma once

// Checks a module's string table in every language: each key has a text, and the text uses
// exactly the placeholders %1 ... %k that the key list gives the key; a counted key has a form for
// every count the language's plural rules tell apart, each showing the count (%n), and a key that
// takes no count never uses %n.

#include "Capture/StringTable.h"

#include <QStringList>

#include <optional>

namespace sw::test {

// One line per problem (language, key, what is wrong); empty when the table is whole. The table
// is left with the language it had before (or the first one checked, when none was loaded).
QStringList stringTableProblems(StringTable &table);

// One line per text not worded for this platform: in any language, a keyboard's command key as
// a symbol (the shortcuts read Ctrl); in English, a place named otherwise than this computer and
// the folders the file manager shows. The table is left with the language it had before.
QStringList wordingProblems(StringTable &table);

// Data rows (columns "language", "key", "count") for every counted key of a table in every
// language, at counts that each language words alike or apart: 0, 1, 2, 5, 21.
void addCountedRows(const StringTable &table);

// What is wrong with a counted key's text at `count` in the language loaded, read through the
// table as a caller reads it (text arguments "[a]", "[b]", ...), or nothing: the count must show
// as its digits and every placeholder be filled; the text must read as it does at every other
// count of the same plural category; in English the noun after the count agrees with it.
std::optional<QString> countedTextProblem(const StringTable &table, const char *key, qint64 count);

}  // namespace sw::test
