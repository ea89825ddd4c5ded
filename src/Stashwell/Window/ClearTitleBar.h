#pragma once

// The settings window's title bar. The desktop draws window decorations on Linux (server-side, by
// the window manager or the compositor), so an application cannot make the title bar transparent
// or hide its title; the settings window keeps the desktop's title bar with its title. This stays
// as the one place a later client-side decoration would go, and does nothing.

class QWidget;

namespace sw::app {

struct ClearTitleBar {
    // Does nothing: the decorations belong to the desktop.
    static void apply(QWidget &) {}
};

}  // namespace sw::app
