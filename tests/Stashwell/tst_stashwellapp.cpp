// The application object started in the test process: the core built from a real preferences
// file and a real library document, the windows and menus it makes, and the preferences it
// follows while it runs. Also the notice of an archive that is not being written.

#include "CuratorRig.h"
#include "StashKit/Network.h"
#include "Stashwell/App/Appearance.h"
#include "Stashwell/App/ArchiveProblemNotice.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/App/TestHooks.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/Window/GlassBackdrop.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "Stashwell/Window/SettingsWindow.h"
#include "StashwellUI/Design/Theme.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

constexpr std::int64_t GiB = std::int64_t(1) << 30;

struct TestHome {
    QTemporaryDir dir;

    StashwellApp::Options options() const
    {
        StashwellApp::Options options;
        options.preferencesPath = dir.filePath(QStringLiteral("config/Stashwell/preferences.json"));
        options.folders = Curator::Folders{dir.filePath(QStringLiteral("data/Stashwell")),
                                           dir.filePath(QStringLiteral("Videos/Stashwell"))};
        options.askDesktop = false;
        return options;
    }

    void prefer(const QString &key, const QVariant &value) const
    {
        Preferences preferences(options().preferencesPath);
        preferences.setValue(key, value);
    }

    QString document() const { return dir.filePath(QStringLiteral("data/Stashwell/library.json")); }
};

// An archive whose load and store fail as the test says.
class FailingArchive final : public Archiving {
public:
    bool failLoadInPlace = false;
    bool failStore = false;
    std::expected<std::optional<Archive>, ArchiveFailure> load() override
    {
        if (failLoadInPlace)
            return std::unexpected(ArchiveFailure{ArchiveFailure::Kind::unreadable, QStringLiteral("bad"), std::nullopt});
        return std::optional<Archive>();
    }
    std::expected<void, ArchiveFailure> store(const Archive &) override
    {
        if (failStore)
            return std::unexpected(ArchiveFailure{ArchiveFailure::Kind::couldNotWrite, QStringLiteral("disk full"), {}});
        return {};
    }
};

std::unique_ptr<Curator> curatorOn(std::shared_ptr<FailingArchive> archive)
{
    auto curator = std::make_unique<Curator>(
        Library(), LocalMedia(MediaFolder(url(QStringLiteral("file:///tmp/none"))), DiskBudget{GiB}),
        Covers(url(QStringLiteral("file:///tmp/none/Covers"))), std::make_shared<ScriptedFetcher>(),
        std::make_shared<ScriptedDownloader>(), std::make_shared<RecordingDisk>(), std::move(archive),
        [] { return Date{800000000}; });
    // The test turns failures on and off between changes: each write ends before the next change.
    curator->setArchiveWrites(Curator::ArchiveWrites::waited);
    return curator;
}

}  // namespace

class StashwellAppTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void startsWithNothingStored()
    {
        TestHome home;
        StashwellApp app(home.options());
        app.start();
        QVERIFY(app.network().route().isSystem());
        QCOMPARE(app.curator().downloadsOnSave(), true);
        QCOMPARE(app.curator().localMedia().budget().limit, 5 * GiB);
        QCOMPARE(app.curator().quality(), Quality(Quality::original));
        QVERIFY(app.curator().library().saves.isEmpty());
        // Made with the library window, so that its key commands work from the start.
        QVERIFY(app.hasRouter());

        QVERIFY(app.libraryWindow().isVisible());
        QCOMPARE(app.libraryWindow().windowTitle(), QStringLiteral("Stashwell"));
        QCOMPARE(app.libraryWindow().menuBar()->actions().size(), 3);
        QVERIFY(!app.settingsWindow().isVisible());
        // Nothing was written on the way: no preferences file, no document.
        QVERIFY(!QFile::exists(home.options().preferencesPath));
        QVERIFY(!QFile::exists(home.document()));
    }

    // The core's preparation of the restored saves waits for the library window's first frame.
    void theFirstFrameLetsThePreparationGo()
    {
        TestHome home;
        StashwellApp app(home.options());
        app.start();
        QVERIFY(app.curator().isPreparationHeld());
        QVERIFY(!app.libraryPage().hasShownFirstFrame());
        QVERIFY(QTest::qWaitFor([&] { return app.libraryPage().hasShownFirstFrame(); }, 10000));
        QVERIFY(!app.curator().isPreparationHeld());
    }

    void buildsTheCoreFromThePreferences()
    {
        TestHome home;
        home.prefer(Preferences::networkRoute, QStringLiteral("socks://127.0.0.1:1080"));
        home.prefer(Preferences::downloadsOnSave, false);
        home.prefer(Preferences::mediaLimitGB, 20);
        home.prefer(Preferences::quality, QStringLiteral("hd"));
        home.prefer(Preferences::theme, QStringLiteral("dark"));
        StashwellApp app(home.options());
        app.start();
        QCOMPARE(app.network().route().rawValue(), QStringLiteral("socks://127.0.0.1:1080"));
        QCOMPARE(app.curator().downloadsOnSave(), false);
        QCOMPARE(app.curator().localMedia().budget().limit, 20 * GiB);
        QCOMPARE(app.curator().quality(), Quality(Quality::hd));
        QCOMPARE(sw::Theme::currentAppearance(), sw::Appearance::dark);
    }

    void followsThemeAndSurfaceWhileRunning()
    {
        TestHome home;
        home.prefer(Preferences::theme, QStringLiteral("light"));
        StashwellApp app(home.options());
        app.start();
        QCOMPARE(sw::Theme::currentAppearance(), sw::Appearance::light);
        app.preferences().setValue(Preferences::theme, QStringLiteral("dark"));
        QCOMPARE(sw::Theme::currentAppearance(), sw::Appearance::dark);
        app.preferences().setValue(Preferences::theme, QStringLiteral("bogus"));   // reads as system
        QCOMPARE(app.themeSwitch().theme(), sw::app::Theme::system);

        QCOMPARE(sw::Theme::currentSurface(), sw::Surface::solid);
        QVERIFY(!app.backdrop().isOn());
        app.preferences().setValue(Preferences::surface, QStringLiteral("glass"));
        QCOMPARE(sw::Theme::currentSurface(), sw::Surface::glass);
        QVERIFY(app.backdrop().isOn());
        app.preferences().setValue(Preferences::surface, QStringLiteral("solid"));
        QVERIFY(!app.backdrop().isOn());
    }

    void commandsReachTheWindows()
    {
        TestHome home;
        StashwellApp app(home.options());
        app.start();
        app.commands().settings()->trigger();
        QVERIFY(app.settingsWindow().isVisible());
        app.commands().saveLink()->trigger();
        QCOMPARE(app.router().savingLink(), std::optional<QString>(QString()));
        // The window's undo stack is the one the Edit menu follows.
        QCOMPARE(app.commands().undoStack(), app.libraryWindow().undoStack());

        // Without a tray, the library window closes for real (and the last window quits).
        QVERIFY(!app.tray());
        QVERIFY(QApplication::quitOnLastWindowClosed());
        QVERIFY(app.libraryWindow().close());
        // A later launch's request brings it back.
        app.showLibrary();
        QVERIFY(app.libraryWindow().isVisible());
    }

    // Every way out ends the application with the last edit on disk and the lock let go, whatever
    // is open: the Save Link sheet (window-modal over the library), the settings window, both.
    void everyWayOutEndsWithTheLastEditOnDisk_data()
    {
        QTest::addColumn<bool>("settings");
        QTest::addColumn<bool>("sheet");
        QTest::addColumn<int>("way");   // 0: the application's quit, 1: File ▸ Quit, 2: Qt's Quit event
        for (int way : {0, 1, 2}) {
            QTest::addRow("nothing open, way %d", way) << false << false << way;
            QTest::addRow("settings, way %d", way) << true << false << way;
            QTest::addRow("the sheet, way %d", way) << false << true << way;
            QTest::addRow("settings and the sheet, way %d", way) << true << true << way;
        }
    }

    void everyWayOutEndsWithTheLastEditOnDisk()
    {
        QFETCH(bool, settings);
        QFETCH(bool, sheet);
        QFETCH(int, way);
        TestHome home;
        StashwellApp::Options options = home.options();
        QStringList steps;
        options.ending.release = [&steps] { steps << QStringLiteral("release"); };
        options.ending.exit = [&steps] { steps << QStringLiteral("exit"); };
        StashwellApp app(std::move(options));
        app.start();
        if (settings)
            app.openSettings();
        if (sheet) {
            app.commands().saveLink()->trigger();
            QTRY_VERIFY(app.saveLinkSheets()->sheet() && app.saveLinkSheets()->sheet()->isVisible());
        }
        QVERIFY(app.curator().makeCollection(QStringLiteral("Kept on the way out")).has_value());

        switch (way) {
        case 0: app.quit(); break;
        case 1: app.commands().quit()->trigger(); break;
        default: {
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
            break;
        }
        }
        // On disk before the lock is let go, with nothing waited for after the way out.
        QCOMPARE(steps, (QStringList{QStringLiteral("release"), QStringLiteral("exit")}));
        QFile document(home.document());
        QVERIFY(document.open(QIODevice::ReadOnly));
        QVERIFY(document.readAll().contains("Kept on the way out"));
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        // A later launch's request finds the application on its way out, and shows nothing.
        app.showLibrary();
        QVERIFY(!app.libraryWindow().isVisible());
    }

    void hotKeyActivationShowsTheLibrary()
    {
        TestHome home;
        StashwellApp::Options options = home.options();
        std::function<void()> press;
        options.routerInputs = [&press](StashwellApp &) {
            Router::Inputs inputs;
            inputs.hotKey = [&press](std::function<void()> pressed) {
                press = std::move(pressed);
                return std::make_unique<QObject>();
            };
            return inputs;
        };
        StashwellApp app(std::move(options));
        app.start();
        app.libraryWindow().hide();
        QVERIFY(press);
        press();
        QVERIFY(app.libraryWindow().isVisible());
        QCOMPARE(app.router().savingLink(), std::optional<QString>(QString()));
    }

    // The loopback address and the state file reach the program only with the test marker set.
    void testHooksNeedTheirMarker()
    {
        qputenv("STASHWELL_TEST_API_BASE", "http://127.0.0.1:9/");
        qputenv("STASHWELL_TEST_STATE", "/tmp/state.json");
        qunsetenv("STASHWELL_TEST_HOOKS");
        QVERIFY(!TestHooks::fromEnvironment().apiBase);
        QVERIFY(TestHooks::fromEnvironment().stateFile.isEmpty());
        qputenv("STASHWELL_TEST_HOOKS", "1");
        QCOMPARE(TestHooks::fromEnvironment().apiBase->text(), QStringLiteral("http://127.0.0.1:9/"));
        QCOMPARE(TestHooks::fromEnvironment().stateFile, QStringLiteral("/tmp/state.json"));
        qunsetenv("STASHWELL_TEST_HOOKS");
        qunsetenv("STASHWELL_TEST_API_BASE");
        qunsetenv("STASHWELL_TEST_STATE");
    }

    // ---- the archive notice ----

    void archiveProblemsAreToldOnce_data()
    {
        QTest::addColumn<bool>("heldAtStart");
        QTest::addColumn<int>("problem");
        QTest::newRow("a failed write") << false << int(ArchiveProblemNotice::Problem::writeFailed);
        QTest::newRow("an unreadable document left in place") << true << int(ArchiveProblemNotice::Problem::writesHeld);
    }

    void archiveProblemsAreToldOnce()
    {
        QFETCH(bool, heldAtStart);
        QFETCH(int, problem);
        auto archive = std::make_shared<FailingArchive>();
        archive->failLoadInPlace = heldAtStart;
        archive->failStore = true;
        auto curator = curatorOn(archive);
        (void)curator->restore();

        QList<int> told;
        ArchiveProblemNotice notice(*curator, [&told](ArchiveProblemNotice::Problem p) { told.append(int(p)); });
        if (!heldAtStart) {
            QVERIFY(told.isEmpty());
            QVERIFY(curator->makeCollection(QStringLiteral("One")));   // a change: the write fails
        }
        QCOMPARE(told, QList<int>{problem});
        QVERIFY(!ArchiveProblemNotice::message(ArchiveProblemNotice::Problem(problem)).isEmpty());

        // Further failures are not told again.
        (void)curator->makeCollection(QStringLiteral("Two"));
        archive->failStore = false;
        (void)curator->makeCollection(QStringLiteral("Three"));
        archive->failStore = true;
        (void)curator->makeCollection(QStringLiteral("Four"));
        QCOMPARE(told.size(), 1);
    }

    // A document that cannot be read is set aside unchanged and the window says so, once, with
    // where it was kept.
    void aDamagedLibraryIsToldOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shape");
        const QByteArray whole = R"({"copies":[],"library":{"collections":[],"saves":[]},"version":1})";
        QTest::newRow("truncated") << whole.left(30) << "file";
        QTest::newRow("garbage") << QByteArray("\x01\xff not json \x80") << "file";
        QTest::newRow("wrong shape") << QByteArray(R"({"library":[1,2,3],"version":"one"})") << "file";
        QTest::newRow("empty") << QByteArray() << "file";
        QTest::newRow("200 MB") << QByteArray("[") << "huge";
        QTest::newRow("a folder") << QByteArray() << "folder";
        QTest::newRow("unreadable") << whole << "unreadable";
    }

    void aDamagedLibraryIsToldOnce()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, shape);
        TestHome home;
        QVERIFY(QDir().mkpath(shape == u"folder" ? home.document() + "/inside" : QFileInfo(home.document()).path()));
        QFile file(home.document());
        if (shape != u"folder") {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            QVERIFY(shape != u"huge" || file.resize(200 << 20));
            file.close();
        }
        if (shape == u"unreadable") {
            QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
            if (file.open(QIODevice::ReadOnly))
                QSKIP("this user reads files whatever their permissions");
        }

        StashwellApp app(home.options());
        app.start();
        const QString kept = app.curator().archiveSetAside().value_or(QString());
        QVERIFY(QFileInfo(kept).fileName().startsWith(QStringLiteral("library.unreadable-")));
        QVERIFY(!QFileInfo::exists(home.document()));
        const auto boxes = [&app] { return app.libraryWindow().findChildren<QMessageBox *>(); };
        QCOMPARE(boxes().size(), 1);
        QVERIFY(boxes().first()->isVisible());
        QVERIFY2(boxes().first()->text().contains(kept), qPrintable(boxes().first()->text()));

        // A change writes a new document, the one set aside stays as it was, nothing is told again.
        QVERIFY(app.curator().makeCollection(QStringLiteral("New")));
        app.curator().flush();
        QVERIFY(QFileInfo(home.document()).isFile());
        QCOMPARE(boxes().size(), 1);
        QFile aside(kept);
        QVERIFY(shape == u"folder" ? QFileInfo(kept + "/inside").isDir()
                                   : aside.setPermissions(QFileDevice::ReadOwner) && aside.open(QIODevice::ReadOnly)
                                         && aside.read(content.size()) == content);
        if (shape != u"folder")
            QCOMPARE(aside.size(), shape == u"huge" ? qint64(200) << 20 : content.size());
    }
};

QTEST_MAIN(StashwellAppTest)
#include "tst_stashwellapp.moc"
