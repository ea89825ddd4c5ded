// The road of one link through the running application, offscreen, against a loopback server
// shaped like the FxTwitter API: Ctrl+L in the library window, the link typed into the sheet and
// looked up (its picture fetched through the application's network), the collection chosen, Save;
// the sheet closes while the media is still downloading, the save sits in its collection and is
// handed to the library window to be shown with its toast, and the media arrives. Then the quick
// save of the Library menu with a link on the clipboard.

#include "CuratorRig.h"
#include "HttpServer.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Pages/QuickSave/QuickSaveHost.h"
#include "Stashwell/Pages/QuickSave/QuickSavePopup.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "StashwellUI/Pictures/CachedImage.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/QuickSave/QuickSavePopover.h"
#include "StashwellUI/SaveLink/SaveLinkOptions.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;
using namespace std::chrono_literals;

namespace {

const PostLink kLink = xLink(QStringLiteral("someone"), QStringLiteral("1234567890"));

struct Road {
    Road()
    {
        if (!server.listen())
            qFatal("the loopback server does not listen");
        const QByteArray base = server.url(QString()).toString().toUtf8();
        const QByteArray document =
            R"({"code":200,"tweet":{"text":"A clip","created_timestamp":1700000000,)"
            R"("author":{"name":"Some One","screen_name":"Someone"},"media":{"all":[)"
            R"({"type":"video","url":")" + base + R"(/media/clip.mp4","thumbnail_url":")" + base
            + R"(/media/thumb.jpg","duration":3.5}]}}})";
        server.route("/someone/status/1234567890", HttpReply::json(document));
        server.route("/media/thumb.jpg", HttpReply::ok(thumb(), "image/png"));
        server.route("HEAD", "/media/clip.mp4", HttpReply::ok(clip, "video/mp4"));
        server.route("GET", "/media/clip.mp4", HttpReply::ok(clip, "video/mp4").inPieces(50000, 5ms));

        StashwellApp::Options options;
        options.preferencesPath = home.filePath(QStringLiteral("config/preferences.json"));
        options.folders = Curator::Folders{home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("Videos"))};
        options.askDesktop = false;
        options.tray = false;
        options.apiBase = Url::parse(server.url(QString()).toString());
        Preferences(options.preferencesPath).setValue(Preferences::networkRoute, QStringLiteral("direct"));
        app = std::make_unique<StashwellApp>(std::move(options));
        app->start();
    }

    // A picture the sheet's preview can show.
    static QByteArray thumb()
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    QTemporaryDir home;
    HttpServer server;
    QByteArray clip = QByteArray(1000000, 'c');
    std::unique_ptr<StashwellApp> app;
};

}  // namespace

class TestSaveLinkRoad : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void ctrlLToASavedLink()
    {
        Road road;
        StashwellApp &app = *road.app;
        Curator &curator = app.curator();
        const auto clips = curator.makeCollection(QStringLiteral("Clips"));
        QVERIFY(clips);
        LibraryWindow &window = app.libraryWindow();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(app.saveLinkSheets());
        QPointer<SaveLinkSheet> sheet = app.saveLinkSheets()->sheet();
        QVERIFY(sheet);
        QVERIFY(QTest::qWaitForWindowExposed(sheet));
        QCOMPARE(app.router().savingLink(), std::optional(QString()));

        QTest::keyClicks(sheet->linkField(), QStringLiteral("https://x.com/Someone/status/1234567890"));
        QTest::keyClick(sheet->linkField(), Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return sheet->phase().isFound(); }, 20000));
        QCOMPARE(sheet->phase().post()->author.name, QStringLiteral("Some One"));
        // The found post's picture comes from the web, through the application's network.
        QVERIFY(QTest::qWaitFor([&] { return sheet->thumbnail()->image().current() != nullptr; }, 20000));

        GlassPicker *picker = sheet->options()->collectionPicker();
        picker->click();
        QVERIFY(picker->menu());
        picker->menu()->actions().at(1)->trigger();
        picker->menu()->hide();
        QCOMPARE(sheet->collection(), std::optional(clips->id));

        // The save is handed to the window while its media is still on the way.
        std::optional<LocalCopy> copyWhenShown;
        connect(&app.libraryPage().selection(), &LibrarySelection::selectionChanged, this,
                [&] { copyWhenShown = curator.localMedia().copy(kLink); });
        QVERIFY(QTest::qWaitFor([&] { return sheet->mainButton()->hasFocus(); }));
        QTest::keyClick(sheet->mainButton(), Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return app.libraryPage().selection().current().has_value(); }, 20000));

        const Save::ID id = *app.libraryPage().selection().current();
        const auto save = curator.library().save(id);
        QVERIFY(save);
        QCOMPARE(save->post().link, kLink);
        QCOMPARE(save->collection(), std::optional(clips->id));
        QVERIFY(copyWhenShown);
        QVERIFY(copyWhenShown->asDownloading());
        QCOMPARE(app.libraryPage().toast().message(), std::optional(StashwellStrings::toastSavedDownloading()));
        QCOMPARE(app.router().savingLink(), std::nullopt);
        QVERIFY(!app.saveLinkSheets()->sheet());
        QVERIFY(!sheet || !sheet->isVisible());

        QVERIFY(QTest::qWaitFor([&] { return curator.localMedia().copy(kLink).asOnThisComputer(); }, 30000));
        curator.flush();   // the file takes its name once the document lists it
        QCOMPARE(QDir(road.home.filePath(QStringLiteral("Videos"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("someone_1234567890.mp4")});
    }

    // Without a tray the Library menu offers the quick save: the copied link is looked up, kept
    // with "downloading", and the new save leads to the library window.
    void quickSaveFromTheLibraryMenu()
    {
        Road road;
        StashwellApp &app = *road.app;
        QVERIFY(!app.tray());
        QAction *quickSave = nullptr;
        for (QAction *action : app.commands().libraryMenu()->actions())
            if (action->text() == StashwellStrings::menuQuickSave())
                quickSave = action;
        QVERIFY(quickSave);

        QGuiApplication::clipboard()->setText(QStringLiteral("  https://x.com/someone/status/1234567890\n"));
        quickSave->trigger();
        QVERIFY(app.quickSaveHost().isShown());
        QuickSavePopover *popover = app.quickSaveHost().popup()->popover();
        QVERIFY(QTest::qWaitFor([&] { return popover->state().post(); }, 20000));

        popover->saveButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return std::holds_alternative<QuickSaveState::Saved>(popover->state().value()); }, 20000));
        QCOMPARE(popover->state(), QuickSaveState::saved(StashwellStrings::toastSavedDownloading()));
        QVERIFY(app.curator().localMedia().copy(kLink).asDownloading());
        QVERIFY(QTest::qWaitFor([&] { return popover->recent().size() == 1; }));

        app.libraryWindow().hide();
        emit popover->selected(popover->recent().first().save().id());
        // The library window shows it: selected among all saves, the request answered.
        QCOMPARE(app.libraryPage().selection().current(), std::optional(popover->recent().first().save().id()));
        QVERIFY(!app.router().selecting());
        QVERIFY(app.libraryWindow().isVisible());
        QVERIFY(!app.quickSaveHost().isShown());
        QVERIFY(QTest::qWaitFor([&] { return app.curator().localMedia().copy(kLink).asOnThisComputer(); }, 30000));
    }
};

QTEST_MAIN(TestSaveLinkRoad)
#include "tst_savelinkroad.moc"
