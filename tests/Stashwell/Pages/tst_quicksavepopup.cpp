// The quick-save popup as the application hosts it: where it is placed for a pointer, each
// showing an appearance of the page, the clipboard read again while shown, closing when it loses
// the focus, and the library window or the settings opened from it.

#include "PageRig.h"
#include "Stashwell/Pages/QuickSave/QuickSaveHost.h"
#include "Stashwell/Pages/QuickSave/QuickSavePopup.h"
#include "Stashwell/Router/Router.h"
#include "StashwellUI/QuickSave/QuickSavePopover.h"

#include <QClipboard>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

const QString kFirst = QStringLiteral("https://x.com/someone/status/1");
const QString kSecond = QStringLiteral("https://x.com/other/status/2");
const PostLink kSecondLink = xLink(QStringLiteral("other"), QStringLiteral("2"));

struct Host {
    explicit Host(PageRig &rig)
    {
        QuickSaveHost::Hooks hooks;
        hooks.page.copiedLink = [this] { return clipboard; };
        hooks.page.showLibrary = [this] { libraryShown.append(router.selecting()); };
        hooks.openSettings = [this] { ++settingsOpened; };
        host = std::make_unique<QuickSaveHost>(rig.core(), [this]() -> Router & { return router; }, hooks);
    }
    std::optional<QString> clipboard;
    Router router;
    QList<std::optional<Save::ID>> libraryShown;
    int settingsOpened = 0;
    std::unique_ptr<QuickSaveHost> host;
};

}  // namespace

class TestQuickSavePopup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void placement_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("expected");
        const int gap = QuickSavePopup::kPointerGap;
        // A 1000 × 800 free area starting at (0, 30), under a panel at the top.
        QTest::newRow("under a pointer at the top") << QPoint(500, 10) << QSize(380, 400) << QPoint(310, 30);
        QTest::newRow("below a pointer in the upper half") << QPoint(500, 100) << QSize(380, 400) << QPoint(310, 100 + gap);
        QTest::newRow("above a pointer in the lower half") << QPoint(500, 790) << QSize(380, 400) << QPoint(310, 790 - gap - 400);
        QTest::newRow("kept off the right edge") << QPoint(990, 100) << QSize(380, 400) << QPoint(620, 100 + gap);
        QTest::newRow("kept off the left edge") << QPoint(5, 100) << QSize(380, 400) << QPoint(0, 100 + gap);
        QTest::newRow("kept off the bottom") << QPoint(500, 420) << QSize(380, 500) << QPoint(310, 330);
        QTest::newRow("taller than the area") << QPoint(500, 100) << QSize(380, 900) << QPoint(310, 30);
    }

    void placement()
    {
        QFETCH(QPoint, pointer);
        QFETCH(QSize, size);
        QFETCH(QPoint, expected);
        QCOMPARE(QuickSavePopup::placement(size, pointer, QRect(0, 30, 1000, 800)), expected);
    }

    // Each showing reads the clipboard anew; while shown, a change of the clipboard is read too.
    void eachShowingReadsTheClipboard()
    {
        PageRig rig;
        Host host(rig);
        QVERIFY(!host.host->page());
        host.clipboard = kFirst;
        host.host->show(QPoint(100, 100));
        QVERIFY(host.host->isShown());
        QuickSavePopover *popover = host.host->popup()->popover();
        QVERIFY(QTest::qWaitFor([&] { return popover->state().post(); }));

        host.clipboard = kSecond;
        QGuiApplication::clipboard()->setText(kSecond);
        QVERIFY(QTest::qWaitFor([&] { return popover->state().post() && popover->state().post()->link == kSecondLink; }));
        QCOMPARE(rig.curator.fetcher->asked.size(), 2);

        // Hidden, the clipboard is not read; shown again, it is.
        host.host->hide();
        host.clipboard = std::nullopt;
        QGuiApplication::clipboard()->setText(QStringLiteral("words"));
        QTest::qWait(10);
        QVERIFY(popover->state().post());
        host.host->show(QPoint(100, 100));
        QCOMPARE(popover->state(), QuickSaveState::nothingCopied());
    }

    void closesWhenItLosesTheFocus()
    {
        PageRig rig;
        Host host(rig);
        host.host->show(QPoint(100, 100));
        QuickSavePopup *popup = host.host->popup();
        QVERIFY(QTest::qWaitForWindowActive(popup));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return !popup->isVisible(); }));
        QVERIFY(!host.host->page()->isShown());

        host.host->show(QPoint(100, 100));
        QVERIFY(QTest::qWaitForWindowActive(popup));
        QTest::keyClick(popup, Qt::Key_Escape);
        QVERIFY(!popup->isVisible());
    }

    // The library window, plainly or at a recent save, and the settings each close the popup.
    void leadsOnAndCloses()
    {
        Library library;
        library.saves.append(makeSave(1, postOnX(QStringLiteral("a"), QStringLiteral("1")), 790000000));
        PageRig rig(library);
        Host host(rig);
        host.host->show(QPoint(100, 100));
        QuickSavePopover *popover = host.host->popup()->popover();
        QCOMPARE(popover->recent().size(), 1);

        emit popover->selected(saveID(1));
        QVERIFY(!host.host->isShown());
        host.host->show(QPoint(100, 100));
        emit popover->openAppRequested();
        QVERIFY(!host.host->isShown());
        QCOMPARE(host.libraryShown, (QList<std::optional<Save::ID>>{saveID(1), saveID(1)}));

        host.host->show(QPoint(100, 100));
        emit popover->settingsRequested();
        QVERIFY(!host.host->isShown());
        QCOMPARE(host.settingsOpened, 1);
    }
};

QTEST_MAIN(TestQuickSavePopup)
#include "tst_quicksavepopup.moc"
