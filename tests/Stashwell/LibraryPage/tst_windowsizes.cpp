// The running application on small screens, in each language: the library window's least size fits
// a 1280 x 720 screen's work area and keeps the status bar, the sidebar's foot and the inspector's
// buttons whole, also at 1024 x 640 (pictures of both sizes go into the gallery); the Save Link sheet
// and the quick save are fixed-size dialogs.

#include "HttpServer.h"

#include "Capture/CaptureStrings.h"
#include "StashKit/Curator.h"
#include "Stashwell/Preferences/AppLanguage.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Pages/QuickSave/QuickSavePopup.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Controls/StorageMeter.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"
#include "StashwellUI/StashwellUIStrings.h"
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

const QSize workArea(1280, 680);
const QList<AppLanguage> languages{AppLanguage::english, AppLanguage::japanese, AppLanguage::korean,
                                   AppLanguage::simplifiedChinese};

// The application on a temporary home in one language, with saves and a collection of long texts;
// the newest save is selected when the inspector is wanted.
struct Running {
    QTemporaryDir dir;
    HttpServer server;
    std::unique_ptr<StashwellApp> app;
    bool saved = true;   // every post was kept in time

    Running(AppLanguage language, bool inspector)
    {
        if (!server.listen())
            qFatal("the loopback server does not listen");
        StashwellApp::Options options;
        options.preferencesPath = dir.filePath(QStringLiteral("config/preferences.json"));
        options.folders = Curator::Folders{dir.filePath(QStringLiteral("data")), dir.filePath(QStringLiteral("Videos"))};
        options.askDesktop = options.tray = false;
        options.apiBase = Url::parse(server.url(QString()).toString());
        Preferences preferences(options.preferencesPath);
        preferences.setValue(Preferences::networkRoute, QStringLiteral("direct"));
        language.apply(preferences);
        // The tables keep the language they loaded first in a process: each run loads its own.
        const QString table = language.tableLanguage().value_or(QStringLiteral("en"));
        for (StringTable *strings : {&StashwellStrings::table(), &StashwellUIStrings::table(), &CaptureStrings::table()})
            strings->loadLanguage(table);
        app = std::make_unique<StashwellApp>(options);
        app->start();
        const QByteArray texts[] = {"A very long first line about a trip along the coast, with the tides and the birds",
                                    "Rain on the lake at dawn", "Bread, slowly, over two days"};
        for (int i = 0; i < 3; ++i) {
            const QString link = QStringLiteral("https://x.com/someone/status/%1").arg(i + 1);
            server.route(QStringLiteral("/someone/status/%1").arg(i + 1).toUtf8(),
                         HttpReply::json(R"({"code":200,"tweet":{"text":")" + texts[i]
                                         + R"(","created_timestamp":1700000000,"author":{"name":"Someone with a rather long name","screen_name":"Someone"},"media":{"all":[]}}})"));
            app->curator().save(link);
            saved = QTest::qWaitFor([&] { return !app->curator().saves({Url::parse(link).value()}).isEmpty(); }, 10000) && saved;
        }
        app->curator().makeCollection(QStringLiteral("Recipes to try on a long winter weekend"), Swatch::blue);
        if (inspector)
            app->libraryPage().selection().pick(app->curator().library().saves.last().id(), Qt::NoModifier);
    }
    LibraryPageView &view() { return *qobject_cast<LibraryPageView *>(app->libraryWindow().page()); }
    void resize(QSize size)
    {
        app->libraryWindow().resize(size);
        view().refreshNow();
        QCoreApplication::processEvents();
    }
};

// Whether `widget` is whole inside its window: shown, and inside everything it stands in.
bool whole(const QWidget *widget)
{
    if (!widget->isVisible() || widget->size().isEmpty())
        return false;
    for (const QWidget *in = widget->parentWidget(); in; in = in->isWindow() ? nullptr : in->parentWidget()) {
        if (!in->rect().contains(QRect(widget->mapTo(in, QPoint(0, 0)), widget->size())))
            return false;
    }
    return true;
}

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
            QTest::addRow("%s", qPrintable(language.rawValue())) << language << false;
            QTest::addRow("%s, inspector", qPrintable(language.rawValue())) << language << true;
        }
    }

    void leastSizeKeepsEveryControl()
    {
        QFETCH(AppLanguage, language);
        QFETCH(bool, inspector);
        Running run(language, inspector);
        QVERIFY(run.saved);
        LibraryWindow &window = run.app->libraryWindow();
        const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
        QVERIFY2(least.boundedTo(workArea) == least, qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
        const QString folder = qEnvironmentVariable("STASHWELL_GALLERY_DIR");
        for (const QSize size : {least, workArea, QSize(1024, 640)}) {
            run.resize(size);
            QCOMPARE(window.size(), size);
            LibraryPageView &view = run.view();
            QList<const QWidget *> controls{&view.statusBar(), view.sidebar().row(Filter::trash()),
                                            view.sidebar().settingsButton(), view.sidebar().storageMeter()};
            if (inspector) {
                SaveInspector *shown = view.inspector();
                QVERIFY(shown);
                controls << &shown->closeButton() << &shown->favouriteButton() << &shown->trashButton();
            }
            for (const QWidget *control : std::as_const(controls))
                QVERIFY2(whole(control), control->metaObject()->className());
            // On a 1280 wide screen the inspector stands beside the shelf.
            QCOMPARE(view.frame().inspectorCovers(), inspector && size.width() < 1142);
            if (!folder.isEmpty() && size != least && QDir().mkpath(folder))
                QVERIFY(window.grab().save(QStringLiteral("%1/smallscreen-%2-%3x%4%5.png")
                                               .arg(folder, language.rawValue()).arg(size.width()).arg(size.height())
                                               .arg(inspector ? QStringLiteral("-inspector") : QString())));
        }
    }

    void dialogsOfAFixedSize_data()
    {
        QTest::addColumn<bool>("sheet");
        QTest::newRow("Save Link sheet") << true;
        QTest::newRow("quick save") << false;
    }

    void dialogsOfAFixedSize()
    {
        QFETCH(bool, sheet);
        QWidget owner;
        owner.show();
        std::unique_ptr<QWidget> dialog(sheet ? static_cast<QWidget *>(new SaveLinkSheet(&owner)) : new QuickSavePopup);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(dialog->windowType(), Qt::Dialog);
        QCOMPARE(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint), Qt::WindowFlags());
        QVERIFY(!dialog->size().isEmpty());
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        // Closing the quick save never ends the application.
        QVERIFY(sheet || !dialog->testAttribute(Qt::WA_QuitOnClose));
    }
};

QTEST_MAIN(WindowSizesTest)
#include "tst_windowsizes.moc"
