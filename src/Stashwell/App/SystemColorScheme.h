#pragma once

// The desktop's own light or dark choice. Where the freedesktop settings portal runs, its
// "color-scheme" setting ("org.freedesktop.appearance"; 1 prefers dark, 2 prefers light) decides,
// and later changes of it are followed. Without the portal, or while it states no preference, the
// palette the platform gave the application at start decides (dark when its window colour is
// darker than its text).

#include "StashwellUI/Design/Theme.h"

#include <QDBusVariant>
#include <QObject>
#include <QVariant>

#include <optional>

namespace sw::app {

class SystemColorScheme final : public QObject {
    Q_OBJECT
public:
    // `fallback` is the appearance when the portal does not answer; `askPortal` false keeps the
    // portal out entirely (tests).
    explicit SystemColorScheme(sw::Appearance fallback, bool askPortal = true, QObject *parent = nullptr);
    // The fallback read from the application's palette, which must still be the platform's.
    static sw::Appearance paletteAppearance();

    sw::Appearance appearance() const { return m_portal.value_or(m_fallback); }
    // What the portal said last; none before it answered or while it states no preference.
    std::optional<sw::Appearance> portalAppearance() const { return m_portal; }

    // The portal's value (a number, possibly wrapped in D-Bus variants) as an appearance.
    static std::optional<sw::Appearance> fromPortalValue(const QVariant &value);
    // Takes a value as if the portal had sent it.
    void takePortalValue(const QVariant &value);

signals:
    void changed();

private slots:
    void portalSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void askPortal();

    sw::Appearance m_fallback;
    std::optional<sw::Appearance> m_portal;
};

}  // namespace sw::app
