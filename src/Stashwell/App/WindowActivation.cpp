#include "Stashwell/App/WindowActivation.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace sw::app::WindowActivation {

namespace {

xcb_connection_t *x11Connection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t *connection)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);
}

void sendToRoot(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t type, std::uint8_t format,
                const void *data)
{
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = format;
    event.window = window;
    event.type = type;
    std::memcpy(event.data.data8, data, 20);
    const std::uint32_t mask = format == 8 ? XCB_EVENT_MASK_PROPERTY_CHANGE
                                           : XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
    xcb_send_event(connection, 0, rootOf(connection), mask, reinterpret_cast<const char *>(&event));
}

void activateOnX11(QWidget &window, const QByteArray &startupId)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.windowHandle())
        return;
    const auto id = xcb_window_t(window.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_STARTUP_ID"),
                        atom(connection, "UTF8_STRING"), 8, std::uint32_t(startupId.size()), startupId.constData());
    if (const auto time = startupIdTime(startupId)) {
        // The launch's own time: newer than the window's last event, so the window manager takes
        // the request as the user's.
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atom(connection, "_NET_WM_USER_TIME"),
                            XCB_ATOM_CARDINAL, 32, 1, &*time);
        const std::uint32_t data[5] = {1 /* an application's request */, *time, 0, 0, 0};
        sendToRoot(connection, id, atom(connection, "_NET_ACTIVE_WINDOW"), 32, data);
    }
    const QList<QByteArray> chunks = startupInfoChunks(removeMessage(startupId));
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    for (qsizetype i = 0; i < chunks.size(); ++i)
        sendToRoot(connection, id, i == 0 ? begin : more, 8, chunks[i].constData());
    xcb_flush(connection);
}

}  // namespace

std::optional<std::uint32_t> startupIdTime(QByteArrayView id)
{
    const qsizetype at = id.toByteArray().lastIndexOf("_TIME");
    if (at < 0)
        return std::nullopt;
    const QByteArrayView digits = id.sliced(at + 5);
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    std::uint64_t time = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        time = time * 10 + std::uint64_t(c - '0');
    }
    if (time == 0 || time > 0xffffffffu)
        return std::nullopt;
    return std::uint32_t(time);
}

QList<QByteArray> startupInfoChunks(const QByteArray &message)
{
    QByteArray whole = message;
    whole.append('\0');
    QList<QByteArray> chunks;
    for (qsizetype at = 0; at < whole.size(); at += 20) {
        QByteArray chunk = whole.mid(at, 20);
        chunk.append(QByteArray(20 - chunk.size(), '\0'));
        chunks.append(chunk);
    }
    return chunks;
}

QByteArray removeMessage(const QByteArray &startupId)
{
    QByteArray value;
    bool quoted = false;
    for (char c : startupId) {
        if (c == ' ' || c == '"' || c == '\\')
            quoted = true;
        if (c == '"' || c == '\\')
            value.append('\\');
        value.append(c);
    }
    return QByteArrayLiteral("remove: ID=") + (quoted ? '"' + value + '"' : value);
}

void activate(QWidget &window, const SingleInstance::Activation &activation)
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QStringLiteral("wayland"))) {
        if (activation.activationToken.isEmpty())
            return;
        // Qt passes the token in the environment to the compositor with the next activation, and
        // takes it out of the environment then.
        qputenv("XDG_ACTIVATION_TOKEN", activation.activationToken);
        window.activateWindow();
        return;
    }
    if (platform == QStringLiteral("xcb") && !activation.startupId.isEmpty())
        activateOnX11(window, activation.startupId);
}

}  // namespace sw::app::WindowActivation
