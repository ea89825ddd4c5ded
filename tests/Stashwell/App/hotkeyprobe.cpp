// A program holding the global hot key as the application does, through a Router made with the
// live inputs. It reports on standard output:
//
//   ready <1 when the key is grabbed, else 0>    once, at start
//   pressed <count>                               after each activation (each run of the key's action)
//   saving <text>                                 after each change of the Router's savingLink
//   synced <count> <X key and button state>       after a "sync" line on standard input, once
//                                                 every event the X server sent before it has been
//                                                 handled and every action has run
//
// "copy <text>" on standard input puts the text on the clipboard; "quit" ends the program.

#include "Stashwell/App/GlobalHotKey.h"
#include "Stashwell/App/LiveInputs.h"
#include "Stashwell/Router/Router.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

void say(const std::string &line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// A round trip to the X server: the reply comes after every event sent before it. Gives the
// pointer's modifier and button state.
unsigned roundTrip()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return 0;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr), &std::free);
    return reply ? reply->mask : 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    int count = 0;
    sw::app::Router::Inputs inputs = sw::app::liveRouterInputs();
    inputs.activate = [&count] { say("pressed " + std::to_string(++count)); };
    sw::app::Router router(std::move(inputs));
    QObject::connect(&router, &sw::app::Router::savingLinkChanged, &app,
                     [&router] { say("saving " + router.savingLink().value_or(QString()).toStdString()); });
    auto *hotKey = qobject_cast<sw::app::GlobalHotKey *>(router.hotKey());
    say(std::string("ready ") + (hotKey && hotKey->isRegistered() ? "1" : "0"));

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0)
            return app.quit();
        pending.append(buffer, std::size_t(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line.rfind("copy ", 0) == 0) {
                QGuiApplication::clipboard()->setText(QString::fromStdString(line.substr(5)));
            } else if (line == "quit") {
                app.quit();
            } else if (line == "sync") {
                const unsigned state = roundTrip();
                // The events read so far, then the actions they deferred.
                for (int turn = 0; turn < 3; ++turn)
                    QCoreApplication::processEvents();
                say("synced " + std::to_string(count) + " " + std::to_string(state));
            }
        }
    });
    return app.exec();
}
