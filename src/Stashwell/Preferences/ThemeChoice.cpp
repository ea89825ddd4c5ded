#include "Stashwell/Preferences/ThemeChoice.h"

namespace sw::app {

QString themeRawValue(Theme theme)
{
    switch (theme) {
    case Theme::system: return QStringLiteral("system");
    case Theme::light: return QStringLiteral("light");
    case Theme::dark: return QStringLiteral("dark");
    }
    return QStringLiteral("system");
}

std::optional<Theme> themeFromRawValue(const QString &raw)
{
    for (Theme theme : allThemes) {
        if (raw == themeRawValue(theme))
            return theme;
    }
    return std::nullopt;
}

}  // namespace sw::app
