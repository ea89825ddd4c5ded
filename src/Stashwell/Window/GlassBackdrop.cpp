#include "Stashwell/Window/GlassBackdrop.h"

#include "StashwellUI/Design/Tokens.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace sw::app {

GlassBackdrop::GlassBackdrop(CompositorCheck compositorRunning, QObject *parent)
    : QObject(parent), m_compositorRunning(std::move(compositorRunning))
{
    if (!m_compositorRunning)
        m_compositorRunning = &GlassBackdrop::desktopCompositorRunning;
}

void GlassBackdrop::setOn(bool on)
{
    m_on = on;
    apply();
}

void GlassBackdrop::attach(QWidget &window)
{
    m_window = &window;
    // The alpha channel is chosen when the native window is made; later it cannot be added.
    if (!window.testAttribute(Qt::WA_WState_Created) && m_compositorRunning())
        window.setAttribute(Qt::WA_TranslucentBackground, true);
    apply();
}

QColor GlassBackdrop::fill() const
{
    return m_translucent ? sw::Tokens::Colors::glassSheet() : sw::Tokens::Colors::window();
}

void GlassBackdrop::apply()
{
    const bool translucent =
        m_on && m_window && m_window->testAttribute(Qt::WA_TranslucentBackground) && m_compositorRunning();
    const bool differs = translucent != m_translucent;
    m_translucent = translucent;
    if (m_window)
        m_window->update();
    if (differs)
        emit changed();
}

bool GlassBackdrop::desktopCompositorRunning()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QStringLiteral("wayland")))
        return true;
    if (platform != QStringLiteral("xcb"))
        return false;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, quint16(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false;   // nobody ever named it, so no compositor holds it
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool running = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return running;
}

}  // namespace sw::app
