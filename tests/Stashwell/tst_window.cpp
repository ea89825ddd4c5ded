// The library window's surface, its closing rule and its page slot; the settings window; and
// pictures of both in every look.

#include "Gallery.h"
#include "Stashwell/App/Appearance.h"
#include "Stashwell/Window/GlassBackdrop.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "Stashwell/Window/SettingsWindow.h"
#include "Stashwell/Window/WindowPlacement.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

using namespace sw::app;

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void glassNeedsACompositor_data()
    {
        QTest::addColumn<bool>("compositor");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("translucent");
        QTest::newRow("glass with a compositor") << true << true << true;
        QTest::newRow("glass without a compositor is solid") << false << true << false;
        QTest::newRow("solid with a compositor") << true << false << false;
        QTest::newRow("solid without a compositor") << false << false << false;
    }

    void glassNeedsACompositor()
    {
        QFETCH(bool, compositor);
        QFETCH(bool, on);
        QFETCH(bool, translucent);
        GlassBackdrop backdrop([compositor] { return compositor; });
        LibraryWindow window(backdrop);
        backdrop.setOn(on);
        QCOMPARE(backdrop.isTranslucent(), translucent);
        QCOMPARE(window.testAttribute(Qt::WA_TranslucentBackground), compositor);
        QCOMPARE(backdrop.fill().alpha() < 255, translucent);
        QCOMPARE(backdrop.fill().rgb(), sw::Tokens::Colors::window().rgb());
    }

    void stateSetBeforeTheWindowArrives()
    {
        GlassBackdrop backdrop([] { return true; });
        backdrop.setOn(true);
        // Nothing to let through yet.
        QVERIFY(!backdrop.isTranslucent());
        QSignalSpy changed(&backdrop, &GlassBackdrop::changed);
        LibraryWindow window(backdrop);
        QVERIFY(backdrop.isTranslucent());
        QCOMPARE(changed.count(), 1);
    }

    void switchingBackAndForth()
    {
        bool compositor = true;
        GlassBackdrop backdrop([&compositor] { return compositor; });
        LibraryWindow window(backdrop);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy changed(&backdrop, &GlassBackdrop::changed);
        backdrop.setOn(true);
        backdrop.setOn(true);
        QCOMPARE(changed.count(), 1);
        backdrop.setOn(false);
        QVERIFY(!backdrop.isTranslucent());
        QCOMPARE(backdrop.fill().alpha(), 255);
        // The compositor went away while solid: glass now stays solid.
        compositor = false;
        backdrop.setOn(true);
        QVERIFY(!backdrop.isTranslucent());
        QCOMPARE(changed.count(), 2);
    }

    void windowAlreadyMadeStaysOpaque()
    {
        // A window made before it was attached cannot gain an alpha channel: glass stays solid.
        GlassBackdrop backdrop([] { return true; });
        QWidget window;
        window.winId();
        backdrop.attach(window);
        backdrop.setOn(true);
        QVERIFY(!backdrop.isTranslucent());
    }

    void libraryWindowBasics()
    {
        GlassBackdrop backdrop([] { return false; });
        LibraryWindow window(backdrop);
        QCOMPARE(window.windowTitle(), QStringLiteral("Stashwell"));
        QVERIFY(window.undoStack());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The content never gets lower than its minimum.
        window.resize(800, 300);
        QTest::qWait(0);
        QVERIFY(window.centralWidget()->height() >= LibraryWindow::kMinimumContentHeight);

        auto *page = new QLabel(QStringLiteral("page"));
        QPointer<QWidget> placeholder = window.page();
        QVERIFY(placeholder);
        window.setPage(page);
        QCOMPARE(window.page(), page);
        QVERIFY(!placeholder);
    }

    void closingHidesWhileATrayExists_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::newRow("with a tray the window hides") << true;
        QTest::newRow("without a tray it closes") << false;
    }

    void closingHidesWhileATrayExists()
    {
        QFETCH(bool, tray);
        GlassBackdrop backdrop([] { return false; });
        LibraryWindow window(backdrop);
        window.setHidesOnClose([tray] { return tray; });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const bool closed = window.close();
        QCOMPARE(closed, !tray);
        QVERIFY(!window.isVisible());
        // Brought back, it shows again.
        window.bringToFront();
        QVERIFY(window.isVisible());
    }

    // A window moved as little as it takes into a screen's free area; one larger than the area
    // keeps its title bar (its top left corner) in it.
    void placementInsideTheFreeArea_data()
    {
        QTest::addColumn<QPoint>("wanted");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("placed");
        const QRect laptop(0, 32, 1366, 736);
        QTest::newRow("inside stays") << QPoint(100, 100) << QSize(520, 600) << laptop << QPoint(100, 100);
        QTest::newRow("off the bottom right") << QPoint(1200, 500) << QSize(520, 600) << laptop << QPoint(846, 168);
        QTest::newRow("under the top panel") << QPoint(-50, 0) << QSize(520, 600) << laptop << QPoint(0, 32);
        QTest::newRow("taller than the area") << QPoint(10, 300) << QSize(520, 900) << laptop << QPoint(10, 32);
        QTest::newRow("on a second screen") << QPoint(2900, 400) << QSize(520, 600) << QRect(1680, 0, 1280, 680)
                                            << QPoint(2440, 80);
    }

    void placementInsideTheFreeArea()
    {
        QFETCH(QPoint, wanted);
        QFETCH(QSize, size);
        QFETCH(QRect, available);
        QFETCH(QPoint, placed);
        QCOMPARE(WindowPlacement::inside(wanted, size, available), placed);
        // The library window opens within the area with room for its frame, never above its default.
        const QSize first = LibraryWindow::firstSize(available.size());
        QVERIFY(first.width() + 2 * WindowPlacement::kAssumedBorder <= available.width());
        QVERIFY(first.height() + WindowPlacement::kAssumedTitleBar + WindowPlacement::kAssumedBorder <= available.height());
        QCOMPARE(LibraryWindow::firstSize(QSize(2560, 1400)), QSize(LibraryWindow::kDefaultWidth, LibraryWindow::kDefaultHeight));
    }

    void gallery()
    {
        // The palette follows the looks the gallery goes through, as the theme switch makes it.
        connect(&sw::Theme::instance(), &sw::Theme::appearanceChanged, this,
                [](sw::Appearance appearance) { QApplication::setPalette(palette(appearance)); });
        GlassBackdrop backdrop([] { return true; });
        connect(&sw::Theme::instance(), &sw::Theme::surfaceChanged, &backdrop,
                [&backdrop](sw::Surface surface) { backdrop.setOn(surface == sw::Surface::glass); });
        LibraryWindow window(backdrop);
        window.menuBar()->addMenu(QStringLiteral("File"));
        window.menuBar()->addMenu(QStringLiteral("Edit"));
        window.menuBar()->addMenu(QStringLiteral("Library"));
        window.resize(960, 760);
        QString why;
        QVERIFY2(sw::gallery::captureAndCheck(window, QStringLiteral("app-librarywindow"), &why), qPrintable(why));

        SettingsWindow settings;
        QVERIFY2(sw::gallery::captureAndCheck(settings, QStringLiteral("app-settingswindow"), &why), qPrintable(why));
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
