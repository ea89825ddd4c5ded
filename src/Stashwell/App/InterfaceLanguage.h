#pragma once

// The interface language of the running process: the stored choice (AppLanguage) loaded into
// every string table at start, Qt's own texts in that language, and the relaunch that puts a new
// choice in force.

#include "Stashwell/Preferences/AppLanguage.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTranslator;

namespace sw::app {

class Preferences;

class InterfaceLanguage {
public:
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
};

}  // namespace sw::app
