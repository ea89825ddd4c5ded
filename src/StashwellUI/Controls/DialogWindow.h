#pragma once

// The window flags of a dialog whose size its content decides: the desktop gives it a dialog's
// window type (_NET_WM_WINDOW_TYPE_DIALOG on X11) and a title bar that offers only to close it,
// nothing to minimise or maximise. Its fixed size (the same least and greatest size) keeps the
// window manager from resizing it.

#include <Qt>

namespace sw {

inline constexpr Qt::WindowFlags dialogWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace sw
