#pragma once

// What the application reads from the preferences once, at start, to build the core:
//
//   key               read as                              missing or unusable
//   "theme"           text: "system", "light" or "dark"    system
//   "networkRoute"    text: a route's text form            the system route
//   "downloadsOnSave" a Boolean                            true
//   "mediaLimitGB"    a whole number of GiB                the Curator's 5 GiB stays
//   "quality"         text: "original", "hd" or "small"    original
//
// Texts match exactly, with case. A value of another kind is unusable: "20" stored as text is no
// limit, "false" stored as text is no Boolean. A limit whose byte count does not fit a signed
// 64-bit number (beyond 2^33 - 1 GiB either way) is ignored rather than wrapped.

#include "Capture/Post.h"
#include "StashKit/NetworkRoute.h"
#include "Stashwell/Preferences/ThemeChoice.h"

#include <QVariant>

#include <cstdint>
#include <optional>

namespace sw::app {

class Preferences;

struct StartupPreferences {
    Theme theme = Theme::system;
    NetworkRoute route = NetworkRoute::system();
    bool downloadsOnSave = true;
    // The disk budget in bytes; none keeps the Curator's.
    std::optional<std::int64_t> mediaLimit;
    Quality quality = Quality::original;

    static StartupPreferences read(const Preferences &preferences);

    // One row of the table each, from the stored value (invalid when missing).
    static Theme themeFrom(const QVariant &value);
    static NetworkRoute routeFrom(const QVariant &value);
    static bool downloadsOnSaveFrom(const QVariant &value);
    static std::optional<std::int64_t> mediaLimitFrom(const QVariant &value);
    static Quality qualityFrom(const QVariant &value);
};

}  // namespace sw::app
