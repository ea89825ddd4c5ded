// Every way out of the real program, under a real X server with a window manager (openbox) and,
// when STASHWELL_QUIT_TRAY is "1", a tray (trayer), so that the library window hides to the tray
// instead of closing. Each trial starts the program on a library of a dozen saves, trashes one
// (the last edit), opens what the row asks (the settings window, the Save Link sheet) and takes
// one way out: Ctrl+Q, File ▸ Quit with the mouse, the tray menu's Quit, SIGTERM, SIGINT, SIGHUP,
// or the Relaunch after a language change. The process must end within 3 s, by itself (not by its
// last-resort timer), with the lock let go and the document holding the edit; a relaunch must
// come back in the new language. Also: a second launch brings back a minimised window.
//
// Run one test function at a time (ctest does, each on its own display) to keep each run short.

#include "Library/Library.h"
#include "LibraryFixtures.h"
#include "StashKit/Archive.h"
#include "StashKit/FileArchive.h"
#include "Stashwell/Preferences/Preferences.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

using namespace sw;
using namespace sw::fixtures;
using sw::app::Preferences;

namespace {

constexpr int kWait = 20000;   // the longest wait for any one step of a trial
constexpr int kEnds = 3000;    // what a way out may take
constexpr int kTrials = 10;
constexpr int kSaves = 12;
const QString kJapanese = QStringLiteral("ja");

std::optional<QByteArray> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(5000) || !process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput().trimmed();
}

bool xdotool(const QStringList &arguments) { return run(QStringLiteral("xdotool"), arguments).has_value(); }
bool press(const QString &keys) { return xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}); }
bool click(const QJsonObject &at, int button = 1)
{
    // (No --sync: it waits for a move, and never returns when the pointer is there already.)
    return xdotool({QStringLiteral("mousemove"), QString::number(at.value(QStringLiteral("x")).toInt()),
                    QString::number(at.value(QStringLiteral("y")).toInt()), QStringLiteral("click"), QString::number(button)});
}

// The shown library windows of a process (of any process for 0): titled exactly "Stashwell".
QStringList libraryWindowsOf(qint64 pid)
{
    QStringList arguments{QStringLiteral("search"), QStringLiteral("--onlyvisible")};
    if (pid > 0)
        arguments << QStringLiteral("--pid") << QString::number(pid);
    arguments << QStringLiteral("--name") << QStringLiteral("^Stashwell$");
    const auto found = run(QStringLiteral("xdotool"), arguments);
    QStringList windows;
    if (!found || found->isEmpty())
        return windows;
    // Not the tray icon's window, which carries the application's name too.
    for (const QString &window : QString::fromLatin1(*found).split(u'\n')) {
        const auto geometry = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        for (const QByteArray &line : geometry ? geometry->split('\n') : QByteArrayList()) {
            if (line.startsWith("WIDTH=") && line.mid(6).toInt() > 200)
                windows.append(window);
        }
    }
    return windows;
}

// Whether a selection (a window manager's, a tray's) has an owner on the display.
bool owned(const char *selection)
{
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    bool found = false;
    if (!xcb_connection_has_error(x)) {
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(selection), selection), nullptr);
        if (atom) {
            if (auto *owner = xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, atom->atom), nullptr)) {
                found = owner->owner != XCB_WINDOW_NONE;
                std::free(owner);
            }
            std::free(atom);
        }
    }
    xcb_disconnect(x);
    return found;
}

// The X server's time now: the time of a property change made for the purpose.
quint32 serverTime()
{
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    quint32 time = 0;
    if (!xcb_connection_has_error(x)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
        const xcb_window_t window = xcb_generate_id(x);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(x, 0, window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_EVENT_MASK, &mask);
        xcb_change_property(x, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
        xcb_flush(x);
        while (xcb_generic_event_t *event = xcb_wait_for_event(x)) {
            const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (found)
                time = reinterpret_cast<xcb_property_notify_event_t *>(event)->time;
            std::free(event);
            if (found)
                break;
        }
    }
    xcb_disconnect(x);
    return time;
}

enum class Way { ctrlQ, fileMenu, trayMenu, sigterm, sigint, sighup, relaunch };

}  // namespace

Q_DECLARE_METATYPE(Way)

class QuitRoadsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QProcess m_windowManager;
    QProcess m_trayHost;
    bool m_tray = false;
    std::unique_ptr<QProcess> m_app;
    qint64 m_relaunched = 0;   // a relaunched process, not our child

    QString path(const QString &relative) const { return m_home.filePath(relative); }
    QString dataFolder() const { return path(QStringLiteral(".local/share/Stashwell")); }
    QString documentPath() const { return QDir(dataFolder()).filePath(QStringLiteral("library.json")); }

    QJsonObject state() const
    {
        QFile file(path(QStringLiteral("state.json")));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
    }
    QJsonObject pointOf(const QString &name) const
    {
        return state().value(QStringLiteral("points")).toObject().value(name).toObject();
    }
    // The open menu's item that matches; empty while there is none.
    QJsonObject menuItem(const std::function<bool(const QJsonObject &)> &matches) const
    {
        for (const QJsonValue item : state().value(QStringLiteral("menu")).toArray())
            if (matches(item.toObject()))
                return item.toObject();
        return {};
    }
    qsizetype shownSaves() const { return state().value(QStringLiteral("saves")).toArray().size(); }

    // How many saves of the document on disk are in the trash; -1 when it cannot be read.
    int trashedOnDisk() const
    {
        QFile file(documentPath());
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray document = file.readAll();
        try {
            int trashed = 0;
            for (const Save &save : Archive::fromJson(std::string_view(document.constData(), document.size())).library.saves)
                trashed += save.trashedAt().has_value();
            return trashed;
        } catch (const JsonError &) {
            return -1;
        }
    }

    // A fresh library of a dozen saves, none trashed, and English.
    void freshHome()
    {
        QDir(dataFolder()).removeRecursively();
        QFile::remove(path(QStringLiteral("state.json")));
        Library library;
        const Date now = Date::now();
        for (int i = 1; i <= kSaves; ++i)
            keepNew(library, postOnX(QStringLiteral("someone"), QString::number(1000 + i), QStringLiteral("Post %1").arg(i)),
                    now.sinceReference - 60.0 * i, i);
        QVERIFY(FileArchive(dataFolder()).store(Archive(std::move(library), {})).has_value());
        Preferences preferences(path(QStringLiteral(".config/Stashwell/preferences.json")));
        preferences.setValue(Preferences::networkRoute, QStringLiteral("direct"));
        preferences.remove(Preferences::languages);
    }

    void startApp(const QProcessEnvironment &environment)
    {
        m_app = std::make_unique<QProcess>();
        m_app->setProcessEnvironment(environment);
        m_app->setProcessChannelMode(QProcess::SeparateChannels);
        m_app->start(QStringLiteral(STASHWELL_BINARY), {});
        QVERIFY2(m_app->waitForStarted(), qPrintable(m_app->errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(!libraryWindowsOf(m_app->processId()).isEmpty(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!state().value(QStringLiteral("cells")).toArray().isEmpty(), kWait);
        if (m_tray)
            QTRY_VERIFY_WITH_TIMEOUT(!pointOf(QStringLiteral("trayIcon")).isEmpty(), kWait);
    }

    // The last edit: a click on a card and Delete, seen in the program (not yet on disk).
    void trashOne()
    {
        const qsizetype before = shownSaves();
        QVERIFY(before > 0);
        QVERIFY(click(state().value(QStringLiteral("cells")).toArray().at(0).toObject()));
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("focus")).toString(), QStringLiteral("sw::ShelfSurface"), kWait);
        // The keyboard at the window too, not only the focus inside it.
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("active")).toString(), QStringLiteral("sw::app::LibraryWindow"), kWait);
        QVERIFY(press(QStringLiteral("Delete")));
        QTRY_COMPARE_WITH_TIMEOUT(shownSaves(), before - 1, kWait);
    }

    void openSettings()
    {
        QVERIFY(press(QStringLiteral("ctrl+comma")));
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("active")).toString(), QStringLiteral("sw::app::SettingsWindow"), kWait);
        // Off the library window's menu bar, which a later step may click.
        const auto found = run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
        QVERIFY(found);
        QTRY_VERIFY_WITH_TIMEOUT(!pointOf(QStringLiteral("languagePicker")).isEmpty(), kWait);
        const QJsonObject before = pointOf(QStringLiteral("languagePicker"));
        QVERIFY(xdotool({QStringLiteral("windowmove"), QStringLiteral("--sync"), QString::fromLatin1(*found),
                         QStringLiteral("1000"), QStringLiteral("300")}));
        // What the settings window shows is clicked where it now is.
        QTRY_VERIFY_WITH_TIMEOUT(pointOf(QStringLiteral("languagePicker")) != before, kWait);
    }

    void openSheet()
    {
        QVERIFY(press(QStringLiteral("ctrl+l")));
        QTRY_VERIFY_WITH_TIMEOUT(state().value(QStringLiteral("sheet")).isObject(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("active")).toString(), QStringLiteral("sw::SaveLinkSheet"), kWait);
    }

    // Clicks an item of a menu that the click at `opener` opens.
    void chooseFromMenu(const QJsonObject &opener, int button, const std::function<bool(const QJsonObject &)> &item)
    {
        QVERIFY(!opener.isEmpty());
        QVERIFY(click(opener, button));
        QJsonObject found;
        QTRY_VERIFY_WITH_TIMEOUT(!(found = menuItem(item)).isEmpty(), kWait);
        QVERIFY(click(found));
    }

    // Takes the way out and checks that the process ends in time with everything in order.
    void endsInTime(Way way)
    {
        const qint64 pid = m_app->processId();
        const auto quitItem = [](const QJsonObject &item) {
            return item.value(QStringLiteral("text")).toString().startsWith(QStringLiteral("Quit"));
        };
        QElapsedTimer taken;
        switch (way) {
        case Way::ctrlQ:
            taken.start();
            QVERIFY(press(QStringLiteral("ctrl+q")));
            break;
        case Way::fileMenu:
            QVERIFY(click(pointOf(QStringLiteral("fileMenu"))));
            QTRY_VERIFY_WITH_TIMEOUT(!menuItem(quitItem).isEmpty(), kWait);
            taken.start();
            QVERIFY(click(menuItem(quitItem)));
            break;
        case Way::trayMenu:
            QVERIFY(click(pointOf(QStringLiteral("trayIcon")), 3));
            QTRY_VERIFY_WITH_TIMEOUT(!menuItem(quitItem).isEmpty(), kWait);
            taken.start();
            QVERIFY(click(menuItem(quitItem)));
            break;
        case Way::sigterm: taken.start(); ::kill(pid_t(pid), SIGTERM); break;
        case Way::sigint: taken.start(); ::kill(pid_t(pid), SIGINT); break;
        case Way::sighup: taken.start(); ::kill(pid_t(pid), SIGHUP); break;
        case Way::relaunch:
            // Japanese chosen in the settings, then the Relaunch that the change offers.
            chooseFromMenu(pointOf(QStringLiteral("languagePicker")), 1,
                           [](const QJsonObject &item) { return item.value(QStringLiteral("text")).toString() == QStringLiteral("日本語"); });
            {
                // The button appears with the change and the window grows to hold it: clicked once
                // it stands still.
                QJsonObject relaunch;
                QTRY_VERIFY_WITH_TIMEOUT(!(relaunch = pointOf(QStringLiteral("relaunch"))).isEmpty(), kWait);
                for (QJsonObject before; before != relaunch;) {
                    before = relaunch;
                    QTest::qWait(300);
                    relaunch = pointOf(QStringLiteral("relaunch"));
                }
                QFile::remove(path(QStringLiteral("state.json")));
                taken.start();
                QVERIFY(click(relaunch));
            }
            break;
        }
        const bool ended = m_app->waitForFinished(kEnds);
        const QByteArray errors = m_app->readAllStandardError();
        QVERIFY2(ended, qPrintable(QStringLiteral("still running after %1 ms; said: %2")
                                       .arg(taken.elapsed())
                                       .arg(QString::fromLocal8Bit(errors.right(2000)))));
        QCOMPARE(m_app->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_app->exitCode(), 0);
        QVERIFY2(!errors.contains("did not end in time"), errors.constData());
        QCOMPARE(trashedOnDisk(), 1);

        if (way != Way::relaunch) {
            QVERIFY(!QFile::exists(QDir(dataFolder()).filePath(QStringLiteral("library.lock"))));
            return;
        }
        // The new process, in the new language, with the edit.
        QStringList windows;
        QTRY_VERIFY_WITH_TIMEOUT(!(windows = libraryWindowsOf(0)).isEmpty(), kWait);
        QCOMPARE(windows.size(), 1);
        const auto owner = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), windows.first()});
        QVERIFY(owner);
        m_relaunched = owner->toLongLong();
        QVERIFY(m_relaunched > 0 && m_relaunched != pid);
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("language")).toString(), kJapanese, kWait);
        QCOMPARE(shownSaves(), kSaves - 1);
        ::kill(pid_t(m_relaunched), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(m_relaunched), 0) != 0, kEnds);
        m_relaunched = 0;
    }

    void trial(Way way, bool settings, bool sheet)
    {
        // Each step builds on the one before: a failed one ends the trial.
        for (const std::function<void()> &step : std::initializer_list<std::function<void()>>{
                 [&] { freshHome(); }, [&] { startApp(m_environment); }, [&] { trashOne(); },
                 [&] { if (settings) openSettings(); }, [&] { if (sheet) openSheet(); }, [&] { endsInTime(way); }}) {
            step();
            if (QTest::currentTestFailed())
                return;
        }
    }

    // Ten trials of each way, with the settings open in every other one, and for the ways that
    // can be taken with it (the keys, the signals) the Save Link sheet open in half.
    static void trials(std::initializer_list<std::pair<const char *, Way>> ways, bool sheets)
    {
        QTest::addColumn<Way>("way");
        QTest::addColumn<bool>("settings");
        QTest::addColumn<bool>("sheet");
        for (auto [name, way] : ways) {
            for (int i = 0; i < kTrials; ++i) {
                const bool settings = i % 2 == 1;
                const bool sheet = sheets && way != Way::fileMenu && (i / 2) % 2 == 1;
                QTest::addRow("%s %d%s%s", name, i, settings ? ", settings open" : "", sheet ? ", sheet open" : "")
                    << way << settings << sheet;
            }
        }
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("No X server could be started (DISPLAY is not set): this test runs the program under Xvfb.");
        m_tray = qEnvironmentVariable("STASHWELL_QUIT_TRAY") == QStringLiteral("1");
        QStringList tools{QStringLiteral("xdotool"), QStringLiteral("openbox")};
        if (m_tray)
            tools << QStringLiteral("trayer");
        for (const QString &tool : tools)
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing: scripts/install-deps installs it").arg(tool)));
        QVERIFY(m_home.isValid());

        m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        QVERIFY(m_windowManager.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(owned("WM_S0"), kWait);
        if (m_tray) {
            m_trayHost.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                                                        QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                                                        QStringLiteral("--height"), QStringLiteral("24")});
            QVERIFY(m_trayHost.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(owned("_NET_SYSTEM_TRAY_S0"), kWait);
        }

        const QString runtime = path(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("HOME"), m_home.path());
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral(".local/share")));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        m_environment.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral(".cache")));
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        m_environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        m_environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        m_environment.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
        m_environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
        m_environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        m_environment.insert(QStringLiteral("STASHWELL_TEST_HOOKS"), QStringLiteral("1"));
        m_environment.insert(QStringLiteral("STASHWELL_TEST_STATE"), path(QStringLiteral("state.json")));
    }

    void cleanup()
    {
        if (m_app && m_app->state() != QProcess::NotRunning) {
            m_app->kill();
            m_app->waitForFinished(5000);
        }
        if (m_relaunched > 0)
            ::kill(pid_t(m_relaunched), SIGKILL);
        m_relaunched = 0;
    }

    // Ctrl+Q from the window that has the keyboard (the library, the settings, the sheet), and
    // File ▸ Quit with the mouse.
    void keysAndMenu_data() { trials({{"Ctrl+Q", Way::ctrlQ}, {"File menu", Way::fileMenu}}, true); }
    void keysAndMenu()
    {
        QFETCH(Way, way);
        QFETCH(bool, settings);
        QFETCH(bool, sheet);
        trial(way, settings, sheet);
    }

    void bySignal_data() { trials({{"SIGTERM", Way::sigterm}, {"SIGINT", Way::sigint}, {"SIGHUP", Way::sighup}}, true); }
    void bySignal()
    {
        QFETCH(Way, way);
        QFETCH(bool, settings);
        QFETCH(bool, sheet);
        trial(way, settings, sheet);
    }

    void trayMenu_data() { trials({{"tray menu", Way::trayMenu}}, false); }
    void trayMenu()
    {
        if (!m_tray)
            QSKIP("no tray on this display (STASHWELL_QUIT_TRAY is not 1)");
        QFETCH(Way, way);
        QFETCH(bool, settings);
        trial(way, settings, false);
    }

    // The Relaunch button lives in the settings, which are therefore always open.
    void relaunch_data()
    {
        QTest::addColumn<int>("trial");
        for (int i = 0; i < kTrials; ++i)
            QTest::addRow("relaunch %d", i) << i;
    }
    void relaunch() { trial(Way::relaunch, true, false); }

    // A minimised window comes back for a second launch, which passes on its startup id: mapped
    // and active again.
    void aSecondLaunchRestoresAMinimisedWindow()
    {
        freshHome();
        startApp(m_environment);
        if (QTest::currentTestFailed())
            return;
        trashOne();
        if (QTest::currentTestFailed())
            return;
        const QString window = libraryWindowsOf(m_app->processId()).value(0);
        QVERIFY(xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), window}));
        QTRY_VERIFY_WITH_TIMEOUT(libraryWindowsOf(m_app->processId()).isEmpty(), kWait);

        QProcessEnvironment environment = m_environment;
        environment.insert(QStringLiteral("DESKTOP_STARTUP_ID"),
                           QStringLiteral("test-launch-1_TIME%1").arg(serverTime()));
        QProcess second;
        second.setProcessEnvironment(environment);
        second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        second.start(QStringLiteral(STASHWELL_BINARY), {});
        QVERIFY(second.waitForFinished(kWait));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(libraryWindowsOf(m_app->processId()), QStringList{window}, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).value_or(QByteArray()),
                                  window.toLatin1(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QStringLiteral("active")).toString(), QStringLiteral("sw::app::LibraryWindow"), kWait);
        endsInTime(Way::sigterm);
    }

    void cleanupTestCase()
    {
        for (QProcess *process : {&m_trayHost, &m_windowManager}) {
            if (process->state() != QProcess::NotRunning) {
                process->terminate();
                if (!process->waitForFinished(3000))
                    process->kill();
            }
        }
    }
};

QTEST_GUILESS_MAIN(QuitRoadsTest)
#include "tst_quitroads.moc"
