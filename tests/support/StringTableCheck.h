#pragma once

// Checks a module's string table in every language: each key has a text, and the text uses
// exactly the placeholders %1 ... %n that the key list gives the key.

#include "Capture/StringTable.h"

#include <QStringList>

namespace sw::test {

// One line per problem (language, key, what is wrong); empty when the table is whole. The table
// is left with the language it had before (or the first one checked, when none was loaded).
QStringList stringTableProblems(StringTable &table);

}  // namespace sw::test
