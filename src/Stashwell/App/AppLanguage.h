#pragma once

// The interface language: the system's choice or one of the four languages the string tables are
// written in. The choice is kept in the application's own preferences (the key "languages", a list
// holding one language code; absent for the system's language) and takes effect when the
// application starts, because every string table loads its language once. So a change is followed,
// when the running interface differs from the choice, by an offer to relaunch.

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QTranslator;

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
    // The same against the system's languages and the language this process loaded.
    bool needsRelaunch() const;

    // The language this process's string tables use, fixed at start by startInterface().
    static QString inUse();
    // Makes every string table of the process load the stored choice (the system's language for
    // system); called once at start, before the first text is read. Returns the table language.
    static QString startInterface(const Preferences &preferences);
    // Qt's own texts in a table language (the edit fields' context menus, the dialogs' standard
    // buttons, the network layer's errors that a failed connection check shows), from Qt's
    // translations folder unless `folder` is given; none for English or where Qt has no catalogue.
    static std::unique_ptr<QTranslator> platformTexts(const QString &tableLanguage, const QString &folder = {});

    // Starts a program with arguments, detached from this process; false when it could not start.
    using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;
    // The relaunch command: a shell that waits until the process `pid` has ended and then starts
    // `application`. The path is the script's $0, never part of the script's text, so spaces and
    // quotes in it are safe.
    static QStringList relaunchArguments(const QString &application, qint64 pid);
    // Launches that command for this process's own executable, then ends the application (also
    // when the launch failed). The default launcher is QProcess::startDetached; `quit` defaults
    // to QCoreApplication::quit.
    static void relaunch(const Launcher &launcher = {}, const std::function<void()> &quit = {});

private:
    Value m_value;
};

}  // namespace sw::app
