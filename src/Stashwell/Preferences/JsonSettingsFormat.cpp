#include "Stashwell/Preferences/JsonSettingsFormat.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace sw::app {

namespace {

void flatten(const QJsonObject &object, const QString &prefix, QSettings::SettingsMap &map)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = prefix.isEmpty() ? it.key() : prefix + u'/' + it.key();
        if (it.value().isObject())
            flatten(it.value().toObject(), key, map);
        else
            map.insert(key, it.value().toVariant());   // whole numbers come back as qlonglong
    }
}

void insertPath(QJsonObject &object, QStringView path, const QJsonValue &value)
{
    const qsizetype slash = path.indexOf(u'/');
    if (slash < 0) {
        object.insert(path.toString(), value);
        return;
    }
    const QString head = path.left(slash).toString();
    QJsonObject child = object.value(head).toObject();
    insertPath(child, path.mid(slash + 1), value);
    object.insert(head, child);
}

bool readDevice(QIODevice &device, QSettings::SettingsMap &map)
{
    return readJsonSettings(device.readAll(), map);
}

bool writeDevice(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray bytes = writeJsonSettings(map);
    return device.write(bytes) == bytes.size();
}

}  // namespace

bool readJsonSettings(const QByteArray &bytes, QSettings::SettingsMap &map)
{
    if (bytes.trimmed().isEmpty())
        return true;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    flatten(document.object(), QString(), map);
    return true;
}

QByteArray writeJsonSettings(const QSettings::SettingsMap &map)
{
    QJsonObject root;
    for (auto it = map.begin(); it != map.end(); ++it)
        insertPath(root, it.key(), QJsonValue::fromVariant(it.value()));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QSettings::Format jsonSettingsFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("json"), readDevice, writeDevice);
    return format;
}

}  // namespace sw::app
