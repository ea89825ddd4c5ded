// The whole road through the library window of the running application, offscreen, with the
// FxTwitter API on a loopback server and the library in a temporary home: a link dropped on the
// window opens the Save Link sheet, which finds the post; Save keeps it, the save is selected with
// its toast; Delete on the shelf trashes it, the toast's Undo brings it back, the Edit menu's Redo
// and Undo go over the same step; the application quits, starts again, and the save is there.
// Also: a sheet that ends after a newer request was made never closes the newer sheet; and
// pictures of the running window in each look.

#include "HttpServer.h"

#include "StashKit/Curator.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Presenters/ShelfPresenter.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"
#include "Stashwell/Window/GlassBackdrop.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Toasts/ToastBubble.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"
#include "StashwellUI/Toasts/ToastOverlay.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::test;

using S = StashwellStrings;

namespace {

QByteArray statusDocument(const QByteArray &text)
{
    return R"({"code":200,"tweet":{"text":")" + text
        + R"(","created_timestamp":1700000000,"author":{"name":"Some One","screen_name":"Someone"},"media":{"all":[]}}})";
}

struct TestHome {
    QTemporaryDir dir;
    HttpServer server;

    TestHome()
    {
        if (!server.listen())
            qFatal("the loopback server does not listen");
        Preferences(options().preferencesPath).setValue(Preferences::networkRoute, QStringLiteral("direct"));
    }

    StashwellApp::Options options() const
    {
        StashwellApp::Options options;
        options.preferencesPath = dir.filePath(QStringLiteral("config/Stashwell/preferences.json"));
        options.folders = Curator::Folders{dir.filePath(QStringLiteral("data/Stashwell")),
                                           dir.filePath(QStringLiteral("Videos/Stashwell"))};
        options.askDesktop = false;
        options.tray = false;
        options.apiBase = Url::parse(server.url(QString()).toString());
        return options;
    }
};

LibraryPageView &viewOf(StashwellApp &app)
{
    auto *view = qobject_cast<LibraryPageView *>(app.libraryWindow().page());
    if (!view)
        qFatal("the library window holds no library page");
    return *view;
}

SaveLinkSheet *shownSheet(StashwellApp &app)
{
    for (SaveLinkSheet *sheet : app.libraryWindow().findChildren<SaveLinkSheet *>())
        if (sheet->isVisible())
            return sheet;
    return nullptr;
}

void drop(QWidget &on, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = on.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&on, &enter);
    QDropEvent event(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&on, &event);
}

bool settle(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 10000); }

}  // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void aLinkFromTheDropToTheNextStart()
    {
        TestHome home;
        home.server.route("/someone/status/4242", HttpReply::json(statusDocument("A kite over the hill")));
        Save::ID kept;
        {
            StashwellApp app(home.options());
            app.start();
            LibraryPageView &view = viewOf(app);
            app.libraryWindow().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&app.libraryWindow()));

            drop(view, {QUrl::fromLocalFile(QStringLiteral("/tmp/notes.txt")),
                        QUrl(QStringLiteral("https://x.com/someone/status/4242"))});
            QCOMPARE(app.router().savingLink(), QStringLiteral("https://x.com/someone/status/4242"));
            QVERIFY(settle([&] { return shownSheet(app) && shownSheet(app)->phase().isFound(); }));

            emit shownSheet(app)->saveRequested();
            QVERIFY(settle([&] { return app.libraryPage().selection().current().has_value(); }));
            QVERIFY(!app.router().savingLink());
            QVERIFY(settle([&] { return !shownSheet(app); }));
            kept = *app.libraryPage().selection().current();
            QCOMPARE(app.libraryPage().toast().message(), S::toastSaved());
            QVERIFY(!app.libraryPage().toast().offersUndo());
            // Keeping is no edit of the history: the Edit menu has nothing to undo.
            QVERIFY(!app.commands().undo()->isEnabled());
            QCOMPARE(app.curator().library().save(kept)->post().text, QStringLiteral("A kite over the hill"));

            // Delete on the shelf, with the keyboard focus in it.
            view.refreshNow();
            // The offscreen platform gives the window back no activation when the sheet goes.
            app.libraryWindow().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&app.libraryWindow()));
            QVERIFY(view.shelfPresenter().surface());
            view.shelfPresenter().surface()->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(view.shelfPresenter().surface(), Qt::Key_Delete);
            QVERIFY(app.curator().library().save(kept)->isTrashed());
            QCOMPARE(app.libraryPage().toast().message(), S::toastMovedToTrash());
            QVERIFY(settle([&] { return view.toastOverlay().bubble().offersUndo(); }));
            view.toastOverlay().bubble().undoButton().click();
            QVERIFY(!app.curator().library().save(kept)->isTrashed());
            QVERIFY(!app.libraryPage().toast().offersUndo());
            QCOMPARE(app.libraryWindow().undoStack()->redoText(), S::undoMoveToTrash());
            // The Edit menu goes back and forth over the same step, named after it.
            QCOMPARE(app.commands().redo()->text(), MenuCommands::named(S::menuRedo(), S::undoMoveToTrash()));
            app.commands().redo()->trigger();
            QVERIFY(app.curator().library().save(kept)->isTrashed());
            QCOMPARE(app.commands().undo()->text(), MenuCommands::named(S::menuUndo(), S::undoMoveToTrash()));
            app.commands().undo()->trigger();
            QVERIFY(!app.curator().library().save(kept)->isTrashed());
        }
        {
            StashwellApp again(home.options());
            again.start();
            const std::optional<Save> save = again.curator().library().save(kept);
            QVERIFY(save);
            QVERIFY(!save->isTrashed());
            // The shelf is filled once the window has drawn its first frame.
            QVERIFY(settle([&] { return viewOf(again).shelfPresenter().visibleOrder().size() == 1; }));
        }
    }

    void aLateSheetNeverClosesANewerOne()
    {
        TestHome home;
        home.server.route("/someone/status/1", HttpReply::json(statusDocument("First")));
        home.server.route("/someone/status/2", HttpReply::json(statusDocument("Second")));
        StashwellApp app(home.options());
        app.start();
        app.router().setSavingLink(QStringLiteral("https://x.com/someone/status/1"));
        QVERIFY(settle([&] { return shownSheet(app) && shownSheet(app)->phase().isFound(); }));
        SaveLinkSheet *first = shownSheet(app);
        emit first->saveRequested();
        // A newer request comes before the first save ends.
        app.router().setSavingLink(QStringLiteral("https://x.com/someone/status/2"));
        QVERIFY(settle([&] { return app.curator().library().saves.size() == 1; }));
        QVERIFY(settle([&] { return shownSheet(app) && shownSheet(app)->phase().isFound(); }));
        QCOMPARE(app.router().savingLink(), QStringLiteral("https://x.com/someone/status/2"));
    }

    // The whole window of the running application (menu bar, frame, toast) in each look the
    // preferences choose, into the gallery.
    void pictures()
    {
        TestHome home;
        home.server.route("/someone/status/1", HttpReply::json(statusDocument("A kite over the hill")));
        home.server.route("/someone/status/2", HttpReply::json(statusDocument("Rain on the lake at dawn")));
        home.server.route("/someone/status/3", HttpReply::json(statusDocument("Bread, slowly")));
        StashwellApp app(home.options());
        app.start();
        for (const char *digits : {"1", "2", "3"}) {
            const QString link = QStringLiteral("https://x.com/someone/status/") + QLatin1String(digits);
            app.curator().save(link);
            QVERIFY(settle([&] { return !app.curator().saves({Url::parse(link).value()}).isEmpty(); }));
        }
        QVERIFY(app.curator().makeCollection(QStringLiteral("Trips"), Swatch::blue).has_value());
        const Save::ID first = app.curator().library().saves.last().id();
        LibraryPageView &view = viewOf(app);
        app.libraryWindow().resize(1280, 800);
        app.libraryPage().selection().pick(first, Qt::NoModifier);
        app.libraryPage().trash(app.curator().library().saves.first().id());
        view.refreshNow();
        // The toast has slid in.
        QTest::qWait(400);

        const QString folder = qEnvironmentVariable("STASHWELL_GALLERY_DIR");
        // Also narrower, where the inspector leaves the home shelf's hero less room.
        for (const int width : {1280, 1000}) {
            app.libraryWindow().resize(width, 800);
            const QString narrow = width < 1280 ? QStringLiteral("-narrow") : QString();
            for (const char *theme : {"light", "dark"}) {
                for (const char *surface : {"solid", "glass"}) {
                    app.preferences().setValue(Preferences::theme, QLatin1String(theme));
                    app.preferences().setValue(Preferences::surface, QLatin1String(surface));
                    QCoreApplication::processEvents();
                    view.refreshNow();
                    const QImage picture = app.libraryWindow().grab().toImage();
                    QVERIFY(!picture.isNull());
                    // No compositor offscreen: glass is drawn solid, the window colour laid once and
                    // opaque (a second, translucent tint would darken it).
                    QVERIFY(!app.backdrop().isTranslucent());
                    QWidget *strip = view.frame().statusStrip();
                    const QPoint middle = strip->mapTo(&app.libraryWindow(), QPoint(strip->width() / 2, strip->height() / 2));
                    QCOMPARE(picture.pixelColor(middle * picture.devicePixelRatio()).rgba(),
                             Tokens::Colors::window().rgba());
                    if (!folder.isEmpty()) {
                        QDir().mkpath(folder);
                        QVERIFY(picture.save(QStringLiteral("%1/librarywindow-%2-%3%4.png")
                                                 .arg(folder, QLatin1String(theme), QLatin1String(surface), narrow)));
                    }
                }
            }
        }
    }
};

QTEST_MAIN(LibraryWindowTest)
#include "tst_librarywindow.moc"
