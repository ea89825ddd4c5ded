// The running application's windows on small screens: the library window's least size fits the
// work area of a 1280 x 720 screen in every language, and at that size (with the inspector and
// without) the status bar, the sidebar's foot and the inspector's buttons stay whole inside the
// window; the Save Link sheet and the quick save are dialogs of a fixed size; and pictures of the
// whole window at 1280 x 680 and 1024 x 640 in each language, with long texts, into the gallery.

#include "HttpServer.h"

#include "Capture/CaptureStrings.h"

#include "StashKit/Curator.h"
#include "Stashwell/App/AppLanguage.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Pages/QuickSave/QuickSavePopup.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Controls/StorageMeter.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"
#include "StashwellUI/Window/StatusBar.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;

Q_DECLARE_METATYPE(sw::app::AppLanguage)

namespace {

// A 1280 x 720 screen less its title bar and a panel.
const QSize workArea(1280, 680);

QByteArray statusDocument(const QByteArray &text)
{
    return R"({"code":200,"tweet":{"text":")" + text
        + R"(","created_timestamp":1700000000,"author":{"name":"Someone with a rather long display name","screen_name":"Someone"},"media":{"all":[]}}})";
}

// A home in a temporary folder, in one language, with saves and a collection of long texts.
struct TestHome {
    QTemporaryDir dir;
    HttpServer server;
    StashwellApp::Options options;

    explicit TestHome(AppLanguage language)
    {
        if (!server.listen())
            qFatal("the loopback server does not listen");
        options.preferencesPath = dir.filePath(QStringLiteral("config/Stashwell/preferences.json"));
        options.folders = Curator::Folders{dir.filePath(QStringLiteral("data/Stashwell")),
                                           dir.filePath(QStringLiteral("Videos/Stashwell"))};
        options.askDesktop = false;
        options.tray = false;
        options.apiBase = Url::parse(server.url(QString()).toString());
        Preferences preferences(options.preferencesPath);
        preferences.setValue(Preferences::networkRoute, QStringLiteral("direct"));
        language.apply(preferences);
        // The tables keep the language they loaded first in a process: each home loads its own.
        const QString table = language.tableLanguage().value_or(QStringLiteral("en"));
        StashwellStrings::table().loadLanguage(table);
        StashwellUIStrings::table().loadLanguage(table);
        CaptureStrings::table().loadLanguage(table);
        server.route("/someone/status/1", HttpReply::json(statusDocument(
            "A very long first line about a trip along the coast, with the tides, the light and the birds")));
        server.route("/someone/status/2", HttpReply::json(statusDocument("Rain on the lake at dawn")));
        server.route("/someone/status/3", HttpReply::json(statusDocument("Bread, slowly, over two days")));
    }

    // Saves the three posts and files them in a collection of a long name; the newest is selected
    // when the inspector is wanted.
    bool fill(StashwellApp &app, bool inspector)
    {
        for (const char *digits : {"1", "2", "3"}) {
            const QString link = QStringLiteral("https://x.com/someone/status/") + QLatin1String(digits);
            app.curator().save(link);
            if (!QTest::qWaitFor([&] { return !app.curator().saves({Url::parse(link).value()}).isEmpty(); }, 10000))
                return false;
        }
        if (!app.curator().makeCollection(QStringLiteral("Recipes to try on a long winter weekend"), Swatch::blue))
            return false;
        if (inspector)
            app.libraryPage().pick(app.curator().library().saves.last().id(), Qt::NoModifier);
        return true;
    }
};

LibraryPageView &viewOf(StashwellApp &app)
{
    auto *view = qobject_cast<LibraryPageView *>(app.libraryWindow().page());
    if (!view)
        qFatal("the library window holds no library page");
    return *view;
}

// Why `widget` is not whole inside its window (shown, and inside every widget it stands in), or
// nothing when it is.
QString notWhole(const QWidget *widget, const char *name)
{
    if (!widget)
        return QStringLiteral("%1: missing").arg(QLatin1String(name));
    if (!widget->isVisible() || widget->width() <= 0 || widget->height() <= 0)
        return QStringLiteral("%1: not shown").arg(QLatin1String(name));
    for (const QWidget *in = widget->parentWidget(); in; in = in->parentWidget()) {
        const QRect placed(widget->mapTo(in, QPoint(0, 0)), widget->size());
        if (!in->rect().contains(placed))
            return QStringLiteral("%1: cut by %2").arg(QLatin1String(name), QLatin1String(in->metaObject()->className()));
        if (in->isWindow())
            break;
    }
    return QString();
}

const QList<AppLanguage> languages{AppLanguage::english, AppLanguage::japanese, AppLanguage::korean,
                                   AppLanguage::simplifiedChinese};

}  // namespace

class WindowSizesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void leastSizeKeepsEveryControl_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<bool>("inspector");
        for (const AppLanguage language : languages) {
            for (const bool inspector : {false, true}) {
                QTest::addRow("%s, %s", qPrintable(language.rawValue()), inspector ? "inspector" : "no inspector")
                    << language << inspector;
            }
        }
    }

    void leastSizeKeepsEveryControl()
    {
        QFETCH(AppLanguage, language);
        QFETCH(bool, inspector);
        TestHome home(language);
        StashwellApp app(home.options);
        app.start();
        QVERIFY(home.fill(app, inspector));
        LibraryPageView &view = viewOf(app);
        LibraryWindow &window = app.libraryWindow();
        view.refreshNow();
        QCoreApplication::processEvents();

        const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
        QVERIFY2(least.width() <= workArea.width() && least.height() <= workArea.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));

        for (const QSize size : {least, workArea}) {
            window.resize(size);
            QTRY_COMPARE(window.size(), size);
            view.refreshNow();
            QCoreApplication::processEvents();
            QCOMPARE(view.frame().showsInspector(), inspector);
            QList<std::pair<const QWidget *, const char *>> controls{
                {&view.statusBar(), "status bar"},
                {view.sidebar().row(Filter::trash()), "trash row"},
                {view.sidebar().settingsButton(), "settings button"},
                {view.sidebar().storageMeter(), "storage meter"},
            };
            if (inspector) {
                QVERIFY(view.inspector());
                controls.append({&view.inspector()->closeButton(), "inspector's close button"});
                controls.append({&view.inspector()->favouriteButton(), "inspector's favourite button"});
                controls.append({&view.inspector()->trashButton(), "inspector's trash button"});
            }
            for (const auto &[control, name] : std::as_const(controls)) {
                const QString why = notWhole(control, name);
                QVERIFY2(why.isEmpty(), qPrintable(QStringLiteral("%1 x %2: ").arg(size.width()).arg(size.height()) + why));
            }
            // On a 1280 wide screen the inspector stands beside the shelf; only narrower does it lie over it.
            if (inspector && size == workArea)
                QVERIFY(!view.frame().inspectorCovers());
        }
    }

    void dialogsOfAFixedSize_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("Save Link sheet") << QStringLiteral("sheet");
        QTest::newRow("quick save") << QStringLiteral("quick save");
    }

    void dialogsOfAFixedSize()
    {
        QFETCH(QString, which);
        QWidget owner;
        std::unique_ptr<QWidget> dialog;
        if (which == u"sheet")
            dialog = std::make_unique<SaveLinkSheet>(&owner);
        else
            dialog = std::make_unique<QuickSavePopup>();
        owner.show();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const Qt::WindowFlags flags = dialog->windowFlags();
        // A dialog's window type; nothing to minimise or maximise; its least size is its greatest.
        QCOMPARE(dialog->windowType(), Qt::Dialog);
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowFullscreenButtonHint));
        QVERIFY(!dialog->size().isEmpty());
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->size(), dialog->minimumSize());
        // Closing the quick save never ends the application.
        if (which == u"quick save")
            QVERIFY(!dialog->testAttribute(Qt::WA_QuitOnClose));
    }

    // The whole window at two small sizes, with and without the inspector, in each language.
    void pictures()
    {
        const QString folder = qEnvironmentVariable("STASHWELL_GALLERY_DIR");
        if (folder.isEmpty())
            QSKIP("no gallery folder");
        QDir().mkpath(folder);
        for (const AppLanguage language : languages) {
            for (const bool inspector : {false, true}) {
                TestHome home(language);
                StashwellApp app(home.options);
                app.start();
                QVERIFY(home.fill(app, inspector));
                LibraryPageView &view = viewOf(app);
                for (const QSize size : {QSize(1280, 680), QSize(1024, 640)}) {
                    app.libraryWindow().resize(size);
                    QCoreApplication::processEvents();
                    view.refreshNow();
                    QTest::qWait(50);
                    const QImage picture = app.libraryWindow().grab().toImage();
                    QVERIFY(!picture.isNull());
                    QVERIFY(picture.save(QStringLiteral("%1/smallscreen-%2-%3x%4%5.png")
                                             .arg(folder, language.rawValue())
                                             .arg(size.width())
                                             .arg(size.height())
                                             .arg(inspector ? QStringLiteral("-inspector") : QString())));
                }
            }
        }
    }
};

QTEST_MAIN(WindowSizesTest)
#include "tst_windowsizes.moc"
