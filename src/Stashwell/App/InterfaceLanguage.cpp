#include "Stashwell/App/InterfaceLanguage.h"

#include "Capture/StringTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>

namespace sw::app {

namespace {

QString g_inUse;

// The script of the relaunch shell: $0 is the application, $1 the process to wait for.
const QString kRelaunchScript = QStringLiteral(
    "while kill -0 \"$1\" 2>/dev/null; do sleep 0.1; done; exec \"$0\"");

}  // namespace

QString InterfaceLanguage::inUse() { return g_inUse; }

QString InterfaceLanguage::startInterface(const Preferences &preferences)
{
    const AppLanguage choice = AppLanguage::stored(preferences);
    if (choice != AppLanguage::system)
        StringTable::setLocale(QLocale(choice.rawValue()));
    g_inUse = StringTable::languageFor(StringTable::locale());
    return g_inUse;
}

std::unique_ptr<QTranslator> InterfaceLanguage::platformTexts(const QString &tableLanguage, const QString &folder)
{
    // Qt's catalogues are named after the same codes as the string tables ("qt_ja", "qt_zh_CN");
    // "qt_" loads the base module's texts with those of the other modules in use.
    if (tableLanguage.isEmpty() || tableLanguage == QStringLiteral("en"))
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    const QString in = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (!translator->load(QStringLiteral("qt_") + tableLanguage, in) || translator->isEmpty())
        return nullptr;
    return translator;
}

QStringList InterfaceLanguage::relaunchArguments(const QString &application, qint64 pid)
{
    return {QStringLiteral("-c"), kRelaunchScript, application, QString::number(pid)};
}

void InterfaceLanguage::relaunch(const Launcher &launcher, const std::function<void()> &quit)
{
    const QString program = QStringLiteral("/bin/sh");
    const QStringList arguments =
        relaunchArguments(QCoreApplication::applicationFilePath(), QCoreApplication::applicationPid());
    if (launcher)
        launcher(program, arguments);
    else
        QProcess::startDetached(program, arguments);
    if (quit)
        quit();
    else
        QCoreApplication::quit();
}

}  // namespace sw::app
