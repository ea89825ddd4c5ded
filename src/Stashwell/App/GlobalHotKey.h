#pragma once

// The system-wide shortcut Ctrl+Alt+D, which reaches the application while another application is
// in front. It knows nothing of what the shortcut means: its owner gives it the action.
//
// On X11 the key is the physical key in the position of D, whatever the layout prints on it (the
// keyboard's key named AC03; where the keymap names no such key, the key that types "d"). It is
// grabbed on the root window of every screen, once as it is and once with each of Caps Lock, Num
// Lock and both, since a grab holds only for the exact modifiers. Presses arrive as native events;
// each one runs the action once, deferred by one turn of the event loop so that the action never
// runs inside the event's dispatch.
//
// A grab that fails (another application holds Ctrl+Alt+D) leaves the application without the
// hot key and says nothing. Where the application does not run on an X server (Wayland,
// offscreen), there is no hot key at all. Going away gives the key back. Main thread only.

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <functional>
#include <vector>

struct xcb_connection_t;

namespace sw::app {

class GlobalHotKey final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit GlobalHotKey(std::function<void()> action, QObject *parent = nullptr);
    ~GlobalHotKey() override;

    // Whether the key is grabbed on at least one screen.
    bool isRegistered() const { return !m_roots.empty(); }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void grab();
    void release();

    std::function<void()> m_action;
    xcb_connection_t *m_connection = nullptr;
    std::uint8_t m_keycode = 0;
    std::uint16_t m_modifiers = 0;   // Control and the modifier that holds Alt
    std::uint16_t m_locks = 0;       // Lock and the modifier that holds Num Lock
    std::vector<std::uint32_t> m_roots;   // the root windows where the grab holds
};

}  // namespace sw::app
