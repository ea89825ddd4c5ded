#pragma once

// The Router's input sources as the application runs them: the key commands (Ctrl+F, and Ctrl+V
// with a link on the clipboard) in every window of the application, the global hot key Ctrl+Alt+D
// (on X11 only; elsewhere the object holds no key), and the clipboard's link for a press of the
// hot key. The activation is left to the application.

#include "Stashwell/Router/Router.h"

namespace sw::app {

Router::Inputs liveRouterInputs();

}  // namespace sw::app
