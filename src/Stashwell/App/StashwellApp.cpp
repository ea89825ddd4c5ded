#include "Stashwell/App/StashwellApp.h"

#include "StashKit/LivePostFetcher.h"
#include "StashKit/Network.h"
#include "Stashwell/App/InterfaceLanguage.h"
#include "Stashwell/App/Appearance.h"
#include "Stashwell/App/ArchiveProblemNotice.h"
#include "Stashwell/Preferences/StartupPreferences.h"
#include "Stashwell/App/SystemColorScheme.h"
#include "Stashwell/App/TrayIcon.h"
#include "Stashwell/App/WindowActivation.h"
#include "Stashwell/Commands/CopiedLink.h"
#include "Stashwell/Commands/EveryWindowCommands.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LinkIntake.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Pages/Settings/SettingsPage.h"
#include "Stashwell/Pages/Settings/SettingsPageView.h"
#include "Stashwell/Pages/QuickSave/QuickSaveHost.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/App/LiveInputs.h"
#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/AlertSizing.h"
#include "Stashwell/Window/GlassBackdrop.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "Stashwell/Window/SettingsWindow.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Pictures/PictureCache.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QTimer>

namespace sw::app {

StashwellApp::Options StashwellApp::Options::standard()
{
    Options options;
    options.preferencesPath = Preferences::standardFilePath();
    options.folders = Curator::Folders::standard();
    options.routerInputs = [](StashwellApp &) { return liveRouterInputs(); };
    return options;
}

StashwellApp::StashwellApp(Options options, QObject *parent) : QObject(parent), m_options(std::move(options))
{
    QuitRoad::Steps steps = m_options.ending;
    steps.save = [this, also = std::move(steps.save)] {
        if (m_curator)
            m_curator->flush();
        if (also)
            also();
    };
    m_quitRoad = std::make_unique<QuitRoad>(std::move(steps));
}

StashwellApp::~StashwellApp()
{
    m_quitRoad.reset();
    // Views first: they may read the core while they go.
    m_saveLinkSheets.reset();
    m_quickSave.reset();
    m_tray.reset();
    m_everyWindow.reset();
    m_commands.reset();
    m_settingsWindow.reset();
    m_settingsPage.reset();
    m_libraryWindow.reset();
    m_libraryPage.reset();
    m_archiveNotice.reset();
}

void StashwellApp::start()
{
    Q_ASSERT(!m_curator);
    m_preferences = std::make_unique<Preferences>(m_options.preferencesPath);
    // The library is read on a thread of its own while the fonts load and the windows are made.
    Curator::Reading reading = Curator::readAhead(m_options.folders);

    // Every text from here on is in the chosen language.
    const QString language = InterfaceLanguage::startInterface(*m_preferences);
    m_platformTexts = InterfaceLanguage::platformTexts(language);
    if (m_platformTexts)
        QCoreApplication::installTranslator(m_platformTexts.get());
    sw::loadFonts(QLocale(language));

    const StartupPreferences startup = StartupPreferences::read(*m_preferences);

    m_colorScheme = std::make_unique<SystemColorScheme>(SystemColorScheme::paletteAppearance(), m_options.askDesktop);
    m_themeSwitch = std::make_unique<ThemeSwitch>(*m_colorScheme);
    m_themeSwitch->apply(startup.theme);
    connect(m_preferences.get(), &Preferences::themeChanged, this, &StashwellApp::applyTheme);

    m_network = std::make_unique<Network>(startup.route);
    // Pictures from the web (a found post's preview in the Save Link sheet and the quick save,
    // authors' avatars, saves without a copy) take the user's route; without a network the cache
    // fetches none at all.
    PictureCache::shared().setSessions(m_network->sessions());
    m_backdrop = std::make_unique<GlassBackdrop>();
    m_libraryWindow = std::make_unique<LibraryWindow>(*m_backdrop);
    m_libraryWindow->setWindowIcon(TrayIcon::applicationIcon());
    m_settingsWindow = std::make_unique<SettingsWindow>();
    m_settingsWindow->setWindowIcon(TrayIcon::applicationIcon());

    // The restored saves' preparation for the first write and search waits for the library
    // window's first frame (LibraryPage::firstFrameShown), which it would otherwise slow down;
    // the media folder is listed for the reconciling while the window is built.
    m_curator = Curator::live(*m_network, startup.downloadsOnSave, m_options.folders, apiBase(),
                              Curator::Start::behindFirstWindow, std::move(reading));
    if (startup.mediaLimit)
        m_curator->limitLocalMedia(*startup.mediaLimit);
    m_curator->setQuality(startup.quality);

    GeneralSettingsPage::Environment environment;
    environment.languageInUse = [] { return InterfaceLanguage::inUse(); };
    // The new process starts once this one has ended, so this one must end whatever is open.
    environment.relaunch = [this] { InterfaceLanguage::relaunch({}, [this] { quit(); }); };
    m_settingsPage = std::make_unique<SettingsPage>(*m_curator, *m_network, *m_preferences,
                                                    SettingsPage::Options{apiBase(), std::move(environment)});
    m_settingsWindow->setPage(new SettingsPageView(*m_settingsPage));
    applySurface();
    connect(m_preferences.get(), &Preferences::surfaceChanged, this, &StashwellApp::applySurface);

    MenuCommands::Hooks hooks;
    hooks.openSettings = [this] { openSettings(); };
    hooks.closeWindow = [this] {
        QWidget *window = QApplication::activeWindow();
        (window ? window : m_libraryWindow.get())->close();
    };
    hooks.quit = [this] { quit(); };
    m_commands = std::make_unique<MenuCommands>(*m_curator, [this]() -> Router & { return router(); }, hooks);
    m_commands->install(*m_libraryWindow->menuBar());
    m_commands->bindUndoStack(m_libraryWindow->undoStack());
    // The application's commands work from each of its windows, sheets and popups included.
    m_everyWindow = std::make_unique<EveryWindowCommands>(QList<QAction *>{
        m_commands->saveLink(), m_commands->settings(), m_commands->close(), m_commands->quit()});
    m_everyWindow->reach(*m_settingsWindow);

    if (m_options.tray && TrayIcon::isAvailable()) {
        m_tray = std::make_unique<TrayIcon>();
        connect(m_tray.get(), &TrayIcon::quickSaveRequested, this, &StashwellApp::quickSave);
        connect(m_tray.get(), &TrayIcon::openRequested, this, [this] { showLibrary(); });
        connect(m_tray.get(), &TrayIcon::settingsRequested, this, &StashwellApp::openSettings);
        connect(m_tray.get(), &TrayIcon::quitRequested, this, &StashwellApp::quit);
        m_tray->show();
    }
    QuickSaveHost::Hooks quickSaveHooks;
    quickSaveHooks.page.copiedLink = &copiedLink;
    quickSaveHooks.page.showLibrary = [this] { showLibrary(); };
    quickSaveHooks.openSettings = [this] { openSettings(); };
    m_quickSave = std::make_unique<QuickSaveHost>(*m_curator, [this]() -> Router & { return router(); }, quickSaveHooks);
    if (!m_tray) {
        // Without a tray the quick save is reached from the Library menu.
        QMenu *library = m_commands->libraryMenu();
        QAction *first = library->actions().value(0);
        auto *quickSave = new QAction(StashwellStrings::menuQuickSave(), library);
        connect(quickSave, &QAction::triggered, this, &StashwellApp::quickSave);
        library->insertAction(first, quickSave);
        library->insertSeparator(first);
    }
    // With a tray the application lives on in it when its windows close; without one, closing
    // the last window ends it.
    QApplication::setQuitOnLastWindowClosed(!m_tray);
    m_libraryWindow->setHidesOnClose([this] { return m_tray && m_tray->isVisible() && !m_quitRoad->isEnding(); });

    // The library window's content is what first needs the Router: made now, with its key
    // commands and global hot key.
    m_libraryPage = std::make_unique<LibraryPage>(*m_curator, router(), m_libraryWindow->undoStack());
    // The window's first frame goes without the library's counts and home list, which follow it.
    auto *view = new LibraryPageView(*m_libraryPage, nullptr, LibraryPageView::FirstFrame::countsAfterFirstFrame);
    connect(view, &LibraryPageView::settingsRequested, this, &StashwellApp::openSettings);
    m_libraryWindow->setPage(view);
    m_libraryWindow->show();
    // A window that is never drawn (not exposed on any screen) holds nothing back for long.
    QTimer::singleShot(firstFrameWaitMs, m_libraryPage.get(), &LibraryPage::firstFrameShown);

    // After the window, so that a problem found by the restore is told over it.
    m_archiveNotice = std::make_unique<ArchiveProblemNotice>(*m_curator, [this](ArchiveProblemNotice::Problem problem) {
        tellArchiveProblem(int(problem));
    });
}

Router &StashwellApp::router()
{
    if (!m_router) {
        Router::Inputs inputs;
        if (m_options.routerInputs)
            inputs = m_options.routerInputs(*this);
        if (!inputs.activate)
            inputs.activate = [this] { showLibrary(); };
        m_router = std::make_unique<Router>(std::move(inputs));
        // The Save Link sheet over the library window while a link is being saved. The library
        // page shows the save the sheet ends with, and says so.
        if (m_libraryWindow && m_curator)
            m_saveLinkSheets = std::make_unique<SaveLinkPresenter>(
                *m_curator, *m_preferences, *m_router, m_libraryWindow.get(), [this](const Save::ID &id) {
                    if (m_libraryPage)
                        m_libraryPage->links().finish(id);
                    else
                        router().setSelecting(id);
                });
    }
    return *m_router;
}

void StashwellApp::showLibrary(const SingleInstance::Activation &activation)
{
    if (!m_libraryWindow || m_quitRoad->isEnding())
        return;
    m_libraryWindow->bringToFront();
    WindowActivation::activate(*m_libraryWindow, activation);
}

void StashwellApp::openSettings()
{
    if (m_settingsWindow)
        m_settingsWindow->bringToFront(m_libraryWindow.get());
}

void StashwellApp::quickSave()
{
    if (m_quickSave)
        m_quickSave->show(QCursor::pos());
}

void StashwellApp::quit() { m_quitRoad->quit(); }

Url StashwellApp::apiBase() const { return m_options.apiBase.value_or(LivePostFetcher::defaultApiBase()); }

void StashwellApp::applyTheme()
{
    m_themeSwitch->apply(StartupPreferences::themeFrom(m_preferences->value(Preferences::theme)));
}

void StashwellApp::applySurface()
{
    const QVariant raw = m_preferences->value(Preferences::surface);
    const sw::Surface surface = raw.typeId() == QMetaType::QString
        ? sw::surfaceFromRawValue(raw.toString()).value_or(sw::Surface::solid)
        : sw::Surface::solid;
    sw::Theme::instance().setSurface(surface);
    m_backdrop->setOn(surface == sw::Surface::glass);
}

void StashwellApp::tellArchiveProblem(int problem)
{
    // Not modal: the library stays usable, and the message stays until it is dismissed.
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Stashwell"),
                                ArchiveProblemNotice::message(ArchiveProblemNotice::Problem(problem),
                                                              m_curator->archiveSetAside().value_or(QString())),
                                QMessageBox::Ok, m_libraryWindow.get());
    box->button(QMessageBox::Ok)->setText(StashwellStrings::libraryOk());
    AlertSizing::prepare(*box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace sw::app
