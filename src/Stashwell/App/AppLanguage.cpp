#include "Stashwell/App/AppLanguage.h"

#include "Capture/StringTable.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>
#include <QVariant>

namespace sw::app {

namespace {

QString g_inUse;

// The script of the relaunch shell: $0 is the application, $1 the process to wait for.
const QString kRelaunchScript = QStringLiteral(
    "while kill -0 \"$1\" 2>/dev/null; do sleep 0.1; done; exec \"$0\"");

}  // namespace

QString AppLanguage::rawValue() const
{
    switch (m_value) {
    case system: return QStringLiteral("system");
    case english: return QStringLiteral("en");
    case japanese: return QStringLiteral("ja");
    case korean: return QStringLiteral("ko");
    case simplifiedChinese: return QStringLiteral("zh-Hans");
    }
    return QStringLiteral("system");
}

std::optional<AppLanguage> AppLanguage::fromRawValue(const QString &raw)
{
    for (AppLanguage language : allCases()) {
        if (raw == language.rawValue())
            return language;
    }
    return std::nullopt;
}

std::optional<QString> AppLanguage::tableLanguage() const
{
    switch (m_value) {
    case system: return std::nullopt;
    case english: return QStringLiteral("en");
    case japanese: return QStringLiteral("ja");
    case korean: return QStringLiteral("ko");
    case simplifiedChinese: return QStringLiteral("zh_CN");
    }
    return std::nullopt;
}

AppLanguage AppLanguage::stored(const Preferences &preferences)
{
    const QVariant value = preferences.value(Preferences::languages);
    if (value.typeId() != QMetaType::QVariantList && value.typeId() != QMetaType::QStringList)
        return system;
    const QVariantList codes = value.toList();
    for (const QVariant &code : codes) {
        if (code.typeId() != QMetaType::QString)
            return system;
    }
    if (codes.isEmpty())
        return system;
    return fromRawValue(codes.first().toString()).value_or(system);
}

void AppLanguage::apply(Preferences &preferences) const
{
    if (m_value == system)
        preferences.remove(Preferences::languages);
    else
        preferences.setValue(Preferences::languages, QStringList{rawValue()});
}

QString AppLanguage::resolvedLanguage(const QStringList &systemLanguages) const
{
    if (const auto own = tableLanguage())
        return *own;
    for (const QString &tag : systemLanguages) {
        // One tag at a time: the table's own rule falls back to English for a tag it cannot use,
        // where the next tag should be tried instead.
        const QLocale locale(tag);
        if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
            continue;
        const QString language = StringTable::languageFor(locale);
        if (language != QStringLiteral("en") || locale.language() == QLocale::English)
            return language;
    }
    return QStringLiteral("en");
}

bool AppLanguage::needsRelaunch(const QStringList &systemLanguages, const QString &inUse) const
{
    const QString wanted = resolvedLanguage(systemLanguages);
    if (inUse.isEmpty())
        return true;
    return wanted != inUse;
}

bool AppLanguage::needsRelaunch() const { return needsRelaunch(QLocale::system().uiLanguages(), inUse()); }

QString AppLanguage::inUse() { return g_inUse; }

QString AppLanguage::startInterface(const Preferences &preferences)
{
    const AppLanguage choice = stored(preferences);
    if (choice != system)
        StringTable::setLocale(QLocale(choice.rawValue()));
    g_inUse = StringTable::languageFor(StringTable::locale());
    return g_inUse;
}

std::unique_ptr<QTranslator> AppLanguage::platformTexts(const QString &tableLanguage, const QString &folder)
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

QStringList AppLanguage::relaunchArguments(const QString &application, qint64 pid)
{
    return {QStringLiteral("-c"), kRelaunchScript, application, QString::number(pid)};
}

void AppLanguage::relaunch(const Launcher &launcher, const std::function<void()> &quit)
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
