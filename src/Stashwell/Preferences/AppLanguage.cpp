#include "Stashwell/Preferences/AppLanguage.h"

#include "Capture/StringTable.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QLocale>
#include <QVariant>

namespace sw::app {

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

}  // namespace sw::app
