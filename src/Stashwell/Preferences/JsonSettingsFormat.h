#pragma once

// A QSettings file format that keeps the preferences as one JSON object, so that a stored value
// keeps its kind: a Boolean stays a Boolean, 20 stays a whole number, "20" stays text and a list
// stays a list. The start-up reading depends on those kinds (a limit stored as text is ignored),
// which the INI format would lose.

#include <QSettings>

namespace sw::app {

// Registered with QSettings on first use; the same format every time after.
QSettings::Format jsonSettingsFormat();

// The two halves of the format, public for the tests: a JSON object of any depth read into
// QSettings' flat map (nested objects become "group/key"), and back. Reading fails on anything
// but a JSON object; an empty file is an empty map.
bool readJsonSettings(const QByteArray &bytes, QSettings::SettingsMap &map);
QByteArray writeJsonSettings(const QSettings::SettingsMap &map);

}  // namespace sw::app
