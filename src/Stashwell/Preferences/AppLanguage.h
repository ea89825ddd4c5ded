#pragma once

// The interface language: the system's choice or one of the four languages the string tables are
// written in. The choice is kept in the application's own preferences (the key "languages", a list
// holding one language code; absent for the system's language) and takes effect when the
// application starts, because every string table loads its language once. So a change is followed,
// when the running interface differs from the choice, by an offer to relaunch. Loading the choice
// into the running process and relaunching it are the application's (InterfaceLanguage).

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace sw::app {

class Preferences;

class AppLanguage {
public:
    enum Value { system, english, japanese, korean, simplifiedChinese };

    constexpr AppLanguage(Value value = system) : m_value(value) {}
    constexpr operator Value() const { return m_value; }

    static constexpr std::array<AppLanguage, 5> allCases()
    {
        return {system, english, japanese, korean, simplifiedChinese};
    }

    // "system", "en", "ja", "ko" or "zh-Hans".
    QString rawValue() const;
    static std::optional<AppLanguage> fromRawValue(const QString &raw);
    // The string tables' name of the language: "en", "ja", "ko", "zh_CN"; none for system.
    std::optional<QString> tableLanguage() const;

    // The choice in the preferences: the first code of the stored list; system when the key is
    // missing, not a list of texts, empty, or its first code is none of the languages.
    static AppLanguage stored(const Preferences &preferences);
    // Writes the choice: one code, or no key at all for system.
    void apply(Preferences &preferences) const;

    // The table language the choice gives: its own, or for system the first of the system's
    // languages (tags such as "fr-FR", in order of preference) that a table is written in,
    // English when none is.
    QString resolvedLanguage(const QStringList &systemLanguages) const;
    // Whether the running interface (the table language in use) differs from the choice.
    bool needsRelaunch(const QStringList &systemLanguages, const QString &inUse) const;

private:
    Value m_value;
};

}  // namespace sw::app
