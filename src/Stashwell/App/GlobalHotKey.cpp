#include "Stashwell/App/GlobalHotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

namespace sw::app {

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The X server the application talks to, or none on any other platform.
xcb_connection_t *x11Connection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The keyboard's key in the position of D, by its name in the keymap; 0 when the keymap names
// no such key.
xcb_keycode_t keyNamedAC03(xcb_connection_t *connection)
{
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return 0;
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        return 0;
    std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS),
                                                                      &xkb_context_unref);
    if (!context)
        return 0;
    std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> keymap(
        xkb_x11_keymap_new_from_device(context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS),
        &xkb_keymap_unref);
    if (!keymap)
        return 0;
    const xkb_keycode_t code = xkb_keymap_key_by_name(keymap.get(), "AC03");
    return code == XKB_KEYCODE_INVALID || code > 255 ? 0 : xcb_keycode_t(code);
}

// The first key that types the symbol; 0 when none does.
xcb_keycode_t keyTyping(xcb_key_symbols_t *symbols, xcb_keysym_t symbol)
{
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(xcb_key_symbols_get_keycode(symbols, symbol), &std::free);
    return codes ? codes.get()[0] : 0;
}

// The modifier mask that holds a key typing one of the symbols, or `fallback`.
std::uint16_t modifierHolding(xcb_connection_t *connection, xcb_key_symbols_t *symbols,
                              std::initializer_list<xcb_keysym_t> wanted, std::uint16_t fallback)
{
    Reply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr), &std::free);
    if (!mapping)
        return fallback;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (xcb_keysym_t symbol : wanted) {
        std::unique_ptr<xcb_keycode_t, decltype(&std::free)> keys(xcb_key_symbols_get_keycode(symbols, symbol), &std::free);
        if (!keys)
            continue;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = codes[modifier * perModifier + i];
                if (code == 0)
                    continue;
                for (const xcb_keycode_t *key = keys.get(); *key != XCB_NO_SYMBOL; ++key) {
                    if (*key == code)
                        return std::uint16_t(1u << modifier);
                }
            }
        }
    }
    return fallback;
}

}  // namespace

GlobalHotKey::GlobalHotKey(std::function<void()> action, QObject *parent) : QObject(parent), m_action(std::move(action))
{
    m_connection = x11Connection();
    if (!m_connection || xcb_connection_has_error(m_connection))
        return;
    grab();
    if (isRegistered())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalHotKey::~GlobalHotKey()
{
    if (!isRegistered())
        return;
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    // The connection is the application's: it is still open only while the application is.
    if (x11Connection() == m_connection)
        release();
}

void GlobalHotKey::grab()
{
    std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)> symbols(xcb_key_symbols_alloc(m_connection),
                                                                                &xcb_key_symbols_free);
    if (!symbols)
        return;
    m_keycode = keyNamedAC03(m_connection);
    if (m_keycode == 0)
        m_keycode = keyTyping(symbols.get(), XKB_KEY_d);
    if (m_keycode == 0)
        return;
    const std::uint16_t alt = modifierHolding(m_connection, symbols.get(), {XKB_KEY_Alt_L, XKB_KEY_Alt_R}, XCB_MOD_MASK_1);
    const std::uint16_t numLock = modifierHolding(m_connection, symbols.get(), {XKB_KEY_Num_Lock}, XCB_MOD_MASK_2);
    m_modifiers = std::uint16_t(XCB_MOD_MASK_CONTROL | alt);
    m_locks = std::uint16_t(XCB_MOD_MASK_LOCK | numLock);
    const std::array<std::uint16_t, 4> variants{0, XCB_MOD_MASK_LOCK, numLock, std::uint16_t(XCB_MOD_MASK_LOCK | numLock)};

    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); it.rem; xcb_screen_next(&it)) {
        const xcb_window_t root = it.data->root;
        std::array<xcb_void_cookie_t, variants.size()> cookies;
        // Not owner events: the key comes to the root window even while one of the application's
        // own windows has the focus.
        for (std::size_t i = 0; i < variants.size(); ++i)
            cookies[i] = xcb_grab_key_checked(m_connection, 0, root, std::uint16_t(m_modifiers | variants[i]), m_keycode,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        bool any = false;
        for (xcb_void_cookie_t cookie : cookies) {
            Reply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie), &std::free);
            any = any || !error;
        }
        if (any)
            m_roots.push_back(root);
    }
}

void GlobalHotKey::release()
{
    const std::array<std::uint16_t, 4> variants{0, XCB_MOD_MASK_LOCK, std::uint16_t(m_locks & ~XCB_MOD_MASK_LOCK), m_locks};
    for (std::uint32_t root : m_roots) {
        for (std::uint16_t variant : variants)
            xcb_ungrab_key(m_connection, m_keycode, root, std::uint16_t(m_modifiers | variant));
    }
    xcb_flush(m_connection);
    m_roots.clear();
}

bool GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
    if (key->detail != m_keycode || std::find(m_roots.begin(), m_roots.end(), key->event) == m_roots.end())
        return false;
    // A release may come after Ctrl or Alt went up; it is the grab's all the same.
    if (type == XCB_KEY_PRESS && (key->state & 0xff & ~m_locks) == m_modifiers) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_action)
                    m_action();
            },
            Qt::QueuedConnection);
    }
    return true;
}

}  // namespace sw::app
