#pragma once

// A window brought to the front for a later launch, with what that launch's desktop gave it, so
// that the window manager lets the window take the keyboard from whatever has it now:
//
//   X11       the startup id: the window names it (_NET_STARTUP_ID), asks to be made active with
//             the time the id carries ("..._TIME<n>"), and then ends the launch's startup
//             feedback ("remove: ID=...")
//   Wayland   the activation token, which Qt hands to the compositor with the next activation
//
// Without either, or on another platform, the window is only raised and activated as usual.

#include "Stashwell/App/SingleInstance.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <optional>

class QWidget;

namespace sw::app::WindowActivation {

// The X server time at the end of a startup id ("..._TIME<n>"); none when it has none.
std::optional<std::uint32_t> startupIdTime(QByteArrayView id);
// A startup notification message as the 20-byte chunks of its client messages, the last holding
// its terminating zero; values are quoted where they have spaces, quotes or backslashes.
QList<QByteArray> startupInfoChunks(const QByteArray &message);
// The message that ends the startup feedback of a launch.
QByteArray removeMessage(const QByteArray &startupId);

// Applies the activation to a shown window that has just been raised and activated.
void activate(QWidget &window, const SingleInstance::Activation &activation);

}  // namespace sw::app::WindowActivation
