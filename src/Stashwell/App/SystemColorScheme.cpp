#include "Stashwell/App/SystemColorScheme.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>

namespace sw::app {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kNamespace = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");

}  // namespace

SystemColorScheme::SystemColorScheme(sw::Appearance fallback, bool askPortal, QObject *parent)
    : QObject(parent), m_fallback(fallback)
{
    if (askPortal)
        this->askPortal();
}

sw::Appearance SystemColorScheme::paletteAppearance() { return sw::Theme::systemAppearance(); }

std::optional<sw::Appearance> SystemColorScheme::fromPortalValue(const QVariant &value)
{
    QVariant v = value;
    // Read answers a variant inside a variant; peel every layer.
    for (int depth = 0; depth < 4; ++depth) {
        if (v.canConvert<QDBusVariant>() && v.typeId() == qMetaTypeId<QDBusVariant>())
            v = qvariant_cast<QDBusVariant>(v).variant();
        else if (v.typeId() == qMetaTypeId<QDBusArgument>()) {
            const auto argument = qvariant_cast<QDBusArgument>(v);
            if (argument.currentType() != QDBusArgument::VariantType)
                break;
            QDBusVariant inner;
            argument >> inner;
            v = inner.variant();
        } else
            break;
    }
    switch (v.typeId()) {
    case QMetaType::UInt:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::LongLong:
    case QMetaType::UShort:
    case QMetaType::Short:
    case QMetaType::UChar:
        break;
    default:
        return std::nullopt;
    }
    switch (v.toLongLong()) {
    case 1: return sw::Appearance::dark;
    case 2: return sw::Appearance::light;
    default: return std::nullopt;   // 0: no preference
    }
}

void SystemColorScheme::takePortalValue(const QVariant &value)
{
    const std::optional<sw::Appearance> next = fromPortalValue(value);
    const sw::Appearance before = appearance();
    m_portal = next;
    if (appearance() != before)
        emit changed();
}

void SystemColorScheme::portalSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    if (nameSpace == kNamespace && key == kKey)
        takePortalValue(value.variant());
}

void SystemColorScheme::askPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                SLOT(portalSettingChanged(QString, QString, QDBusVariant)));
    // Asked without waiting: the start goes on with the fallback until the answer comes.
    QDBusMessage read = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    read << kNamespace << kKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (reply.isError())
            return;
        takePortalValue(reply.value().variant());
    });
}

}  // namespace sw::app
