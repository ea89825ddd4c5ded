// Stashwell: an offline library of posts from X and of web pages.

#include "Capture/LargePages.h"
#include "Stashwell/App/IdleHandOff.h"
#include "Stashwell/App/PointerFramePacing.h"
#include "Stashwell/App/QuitOnSignals.h"
#include "Stashwell/App/SingleInstance.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/App/TestHooks.h"
#include "Stashwell/App/TestStateWriter.h"
#include "Stashwell/App/TrayIcon.h"

#include <QApplication>
#include <QDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

// How long the way out may take once the library is on disk and the lock let go; a process that
// has not ended by then (a stuck teardown) is ended at once, so that a quit always quits.
constexpr auto kLastWords = std::chrono::milliseconds(2000);

void endAtTheLatestIn(std::chrono::milliseconds time)
{
    std::thread([time] {
        std::this_thread::sleep_for(time);
        std::fputs("Stashwell: the way out did not end in time; ending now\n", stderr);
        std::_Exit(0);
    }).detach();
}

}  // namespace

int main(int argc, char *argv[])
{
    // May start the program again, with the allocator on large pages: before anything else runs.
    sw::LargePages::startOnLargePages(argv);
    // Read before the application exists: the X11 platform takes the startup id out of the
    // environment. A later launch passes it on to the running process.
    const sw::app::SingleInstance::Activation activation = sw::app::SingleInstance::Activation::fromEnvironment();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stashwell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Stashwell"));
    // The desktop file's name, and the application's id on Wayland.
    QGuiApplication::setDesktopFileName(QStringLiteral("stashwell"));
    // Installed first, so that it sees only the repaints the pacing lets through (the last filter
    // installed sees an event first).
    application.installEventFilter(new sw::app::IdleHandOff(&application));
    application.installEventFilter(new sw::app::PointerFramePacing(&application));

    sw::app::StashwellApp::Options options = sw::app::StashwellApp::Options::standard();
    const sw::app::TestHooks hooks = sw::app::TestHooks::fromEnvironment();
    options.apiBase = hooks.apiBase;

    // The library document has one writer: a second launch hands over to the first and ends.
    sw::app::SingleInstance instance(QDir(options.folders.archive).filePath(QStringLiteral("library.lock")));
    switch (instance.start(std::chrono::seconds(10), activation)) {
    case sw::app::SingleInstance::Role::primary:
    case sw::app::SingleInstance::Role::unguarded:
        break;
    case sw::app::SingleInstance::Role::secondary:
        return 0;
    case sw::app::SingleInstance::Role::unreachable:
        std::fprintf(stderr, "Stashwell is already running, but does not answer.\n");
        return 1;
    }

    QApplication::setWindowIcon(sw::app::TrayIcon::applicationIcon());
    options.ending.release = [&instance] {
        instance.release();
        endAtTheLatestIn(kLastWords);
    };
    sw::app::StashwellApp app(std::move(options));
    QObject::connect(&instance, &sw::app::SingleInstance::showRequested, &app, &sw::app::StashwellApp::showLibrary);
    sw::app::QuitOnSignals quitOnSignals([&app] { app.quit(); });
    app.start();
    std::unique_ptr<sw::app::TestStateWriter> stateWriter;
    if (!hooks.stateFile.isEmpty())
        stateWriter = std::make_unique<sw::app::TestStateWriter>(app, hooks.stateFile, hooks.stateListsSaves);
    return application.exec();
}
