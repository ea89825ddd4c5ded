#include "Stashwell/Preferences/Preferences.h"

#include "Stashwell/Preferences/JsonSettingsFormat.h"

#include <QDir>
#include <QStandardPaths>

#include <algorithm>

namespace sw::app {

Preferences::Preferences(const QString &filePath, QObject *parent)
    : QObject(parent), m_settings(std::make_unique<QSettings>(filePath, jsonSettingsFormat()))
{
}

Preferences::~Preferences() = default;

QString Preferences::standardFilePath()
{
    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        config = QDir(QDir::homePath()).filePath(QStringLiteral(".config"));
    return QDir(config).filePath(QStringLiteral("Stashwell/preferences.json"));
}

QString Preferences::filePath() const { return m_settings->fileName(); }

QVariant Preferences::value(const QString &key) const { return m_settings->value(key); }

bool Preferences::contains(const QString &key) const { return m_settings->contains(key); }

bool Preferences::sameValue(const QVariant &a, const QVariant &b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    const auto whole = [](const QVariant &v) {
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
        }
    };
    if (whole(a) && whole(b)) {
        if (a.typeId() == QMetaType::ULongLong || b.typeId() == QMetaType::ULongLong) {
            // Compared as unsigned only when neither is negative.
            const bool aNegative = a.typeId() != QMetaType::ULongLong && a.toLongLong() < 0;
            const bool bNegative = b.typeId() != QMetaType::ULongLong && b.toLongLong() < 0;
            return !aNegative && !bNegative && a.toULongLong() == b.toULongLong();
        }
        return a.toLongLong() == b.toLongLong();
    }
    const auto list = [](const QVariant &v) {
        return v.typeId() == QMetaType::QVariantList || v.typeId() == QMetaType::QStringList;
    };
    if (list(a) && list(b)) {
        // A list written as text items reads back as a list of variants.
        const QVariantList x = a.toList();
        const QVariantList y = b.toList();
        return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), &Preferences::sameValue);
    }
    return a.typeId() == b.typeId() && a == b;
}

void Preferences::setValue(const QString &key, const QVariant &value)
{
    if (!value.isValid()) {
        remove(key);
        return;
    }
    const QVariant old = m_settings->value(key);
    m_settings->setValue(key, value);
    m_settings->sync();
    if (!sameValue(old, value))
        notify(key);
}

void Preferences::remove(const QString &key)
{
    const bool had = m_settings->contains(key);
    m_settings->remove(key);
    m_settings->sync();
    if (had)
        notify(key);
}

bool Preferences::hasFileError() const { return m_settings->status() != QSettings::NoError; }

void Preferences::notify(const QString &key)
{
    emit valueChanged(key);
    if (key == theme)
        emit themeChanged();
    else if (key == surface)
        emit surfaceChanged();
    else if (key == settingsTab)
        emit settingsTabChanged();
    else if (key == downloadsOnSave)
        emit downloadsOnSaveChanged();
    else if (key == mediaLimitGB)
        emit mediaLimitGBChanged();
    else if (key == quality)
        emit qualityChanged();
    else if (key == networkRoute)
        emit networkRouteChanged();
    else if (key == languages)
        emit languagesChanged();
}

}  // namespace sw::app
