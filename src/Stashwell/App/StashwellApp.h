#pragma once

// The application: it builds the core once from the preferences and owns it for the life of the
// process, with the library window, the settings window, the menu commands, the tray icon and the
// appearance. Start-up, in order:
//
//   1. the preferences are read; the interface language and the fonts are fixed;
//   2. the theme is applied, and followed while "theme" changes; the surface likewise;
//   3. "networkRoute" gives the Network; "downloadsOnSave" the flag for Curator::live, which
//      restores the library before it returns and reconciles it with the media folder, whose
//      listing it takes on another thread while the windows are made;
//   4. "mediaLimitGB" sets the disk budget (when it holds a usable whole number) and "quality" the
//      download quality;
//   5. the windows, menus and tray are made and the library window is shown;
//   6. once the window has drawn its first frame (or firstFrameWaitMs have passed without one),
//      the work that frame did not need begins: the Curator's preparation of the restored saves
//      (held until then) and the fetching of missing covers (LibraryPage::firstFrameShown).
//
// The Router is made on first use, which is the building of the library window, and lives to the
// end.

#include "Capture/Url.h"
#include "StashKit/Curator.h"
#include "Stashwell/App/QuitRoad.h"
#include "Stashwell/App/SingleInstance.h"
#include "Stashwell/Router/Router.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QTranslator;

namespace sw {
class Network;
}

namespace sw::app {

class ArchiveProblemNotice;
class EveryWindowCommands;
class GlassBackdrop;
class LibraryPage;
class LibraryWindow;
class MenuCommands;
class Preferences;
class SettingsPage;
class QuickSaveHost;
class SaveLinkPresenter;
class SettingsWindow;
class SystemColorScheme;
class ThemeSwitch;
class TrayIcon;

class StashwellApp final : public QObject {
    Q_OBJECT
public:
    struct Options {
        // The preferences file.
        QString preferencesPath;
        // Where the library and the media live.
        Curator::Folders folders;
        // Another FxTwitter API address (loopback tests only).
        std::optional<Url> apiBase;
        // Whether a tray icon is made where the desktop shows one.
        bool tray = true;
        // Whether the desktop's colour scheme is asked over D-Bus.
        bool askDesktop = true;
        // The Router's input sources (the key commands and the global hot key); none unless given
        // (standard() gives the live ones), with a hot key's activation showing the library window.
        std::function<Router::Inputs(StashwellApp &app)> routerInputs;
        // What the way out does beyond putting the library on disk, which the application does
        // itself: letting go of the single-instance lock, and ending the event loops
        // (QCoreApplication::exit(0) unless given).
        QuitRoad::Steps ending;

        // The user's own files and the desktop.
        static Options standard();
    };

    // How long the work that waits for the library window's first frame waits at most.
    static constexpr int firstFrameWaitMs = 2000;

    explicit StashwellApp(Options options, QObject *parent = nullptr);
    ~StashwellApp() override;

    // Builds everything and shows the library window. Called once.
    void start();

    Preferences &preferences() const { return *m_preferences; }
    Network &network() const { return *m_network; }
    Curator &curator() const { return *m_curator; }
    // Made on first use.
    Router &router();
    bool hasRouter() const { return m_router != nullptr; }

    LibraryWindow &libraryWindow() const { return *m_libraryWindow; }
    // The library window's page: its state and everything the window does with saves.
    LibraryPage &libraryPage() const { return *m_libraryPage; }
    SettingsWindow &settingsWindow() const { return *m_settingsWindow; }
    // The settings window's page (its tab and the shown tab's form).
    SettingsPage &settingsPage() const { return *m_settingsPage; }
    MenuCommands &commands() const { return *m_commands; }
    GlassBackdrop &backdrop() const { return *m_backdrop; }
    ThemeSwitch &themeSwitch() const { return *m_themeSwitch; }
    // None where the desktop has no tray (or none was asked for).
    TrayIcon *tray() const { return m_tray.get(); }
    // The quick-save popup and its page, made on the first request.
    QuickSaveHost &quickSaveHost() const { return *m_quickSave; }
    // The Save Link sheets over the library window, shown while Router.savingLink is present;
    // made with the Router.
    SaveLinkPresenter *saveLinkSheets() const { return m_saveLinkSheets.get(); }

    // The library window shown and in front; a later launch asks for this too, with what its
    // desktop gave it to let the window come to the front.
    void showLibrary(const SingleInstance::Activation &activation = {});
    void openSettings();
    // The quick-save popup, near the pointer.
    void quickSave();
    // Ends the application whatever windows are open, every edit on disk (QuitRoad). Every way
    // out comes here, and so does any QCoreApplication::quit().
    void quit();
    QuitRoad &quitRoad() const { return *m_quitRoad; }

    // The API address the connection test should ask (the live one unless tests changed it).
    Url apiBase() const;

private:
    void applyTheme();
    void applySurface();
    void tellArchiveProblem(int problem);

    Options m_options;
    std::unique_ptr<QuitRoad> m_quitRoad;
    std::unique_ptr<Preferences> m_preferences;
    std::unique_ptr<QTranslator> m_platformTexts;
    std::unique_ptr<SystemColorScheme> m_colorScheme;
    std::unique_ptr<ThemeSwitch> m_themeSwitch;
    std::unique_ptr<Network> m_network;
    std::unique_ptr<Curator> m_curator;
    std::unique_ptr<Router> m_router;
    std::unique_ptr<GlassBackdrop> m_backdrop;
    std::unique_ptr<LibraryPage> m_libraryPage;
    std::unique_ptr<LibraryWindow> m_libraryWindow;
    std::unique_ptr<SettingsPage> m_settingsPage;
    std::unique_ptr<SettingsWindow> m_settingsWindow;
    std::unique_ptr<MenuCommands> m_commands;
    std::unique_ptr<EveryWindowCommands> m_everyWindow;
    std::unique_ptr<TrayIcon> m_tray;
    std::unique_ptr<QuickSaveHost> m_quickSave;
    std::unique_ptr<SaveLinkPresenter> m_saveLinkSheets;
    std::unique_ptr<ArchiveProblemNotice> m_archiveNotice;
};

}  // namespace sw::app
