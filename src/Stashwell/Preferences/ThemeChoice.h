#pragma once

// The user's appearance choice as the preferences keep it: "system" follows the desktop's colour
// scheme, "light" and "dark" fix it. Putting a choice in force is the application's (ThemeSwitch).

#include <QString>

#include <array>
#include <optional>

namespace sw::app {

enum class Theme { system, light, dark };

inline constexpr std::array<Theme, 3> allThemes{Theme::system, Theme::light, Theme::dark};

// "system", "light" or "dark": the form stored under the preference "theme".
QString themeRawValue(Theme theme);
// The theme of exactly that raw value (case matters), or none.
std::optional<Theme> themeFromRawValue(const QString &raw);

}  // namespace sw::app
