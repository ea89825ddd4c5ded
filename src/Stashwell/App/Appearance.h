#pragma once

// The user's appearance choice and its application to the whole process. "system" follows the
// desktop's colour scheme (SystemColorScheme); "light" and "dark" fix it. Applying a choice sets
// the application's own light or dark palette on the Fusion style, for the few standard widgets
// (menus, message boxes, text fields), and switches the design system's named colours (sw::Theme),
// which every painted view reads when it paints.

#include "Stashwell/Preferences/ThemeChoice.h"
#include "StashwellUI/Design/Theme.h"

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>


namespace sw::app {

class SystemColorScheme;

// The application's palette for an appearance, made from the design system's named colours.
QPalette palette(sw::Appearance appearance);

// Applies the theme app-wide and, while it is "system", follows the desktop's scheme as it changes.
class ThemeSwitch final : public QObject {
    Q_OBJECT
public:
    // `scheme` tells the desktop's appearance; it must outlive this object.
    explicit ThemeSwitch(SystemColorScheme &scheme, QObject *parent = nullptr);

    Theme theme() const { return m_theme; }
    // Resolves the theme to an appearance and puts it in force (the same again is harmless).
    void apply(Theme theme);
    // The appearance a theme gives now.
    sw::Appearance resolve(Theme theme) const;

private:
    void putInForce(sw::Appearance appearance);

    QPointer<SystemColorScheme> m_scheme;
    Theme m_theme = Theme::system;
};

}  // namespace sw::app
