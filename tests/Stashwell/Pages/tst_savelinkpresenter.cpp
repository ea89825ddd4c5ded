// The Save Link sheet presented over a window while Router.savingLink is present: one page and
// sheet per request, looked up at once, the ways a sheet ends, and a request replaced while its
// save is under way.

#include "PageRig.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/Router/Router.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"

#include <QLabel>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

const QString kFirst = QStringLiteral("https://x.com/someone/status/1");
const QString kSecond = QStringLiteral("https://x.com/other/status/2");
const PostLink kFirstLink = xLink(QStringLiteral("someone"), QStringLiteral("1"));

struct Stage {
    explicit Stage(Library library = {}) : rig(std::move(library))
    {
        window.resize(800, 600);
        window.show();
        presenter = std::make_unique<SaveLinkPresenter>(rig.core(), rig.preferences, router, &window,
                                                        [this](const Save::ID &id) { finished.append(id); });
    }
    PageRig rig;
    Router router;
    QWidget window;
    QList<Save::ID> finished;
    std::unique_ptr<SaveLinkPresenter> presenter;

    SaveLinkSheet *sheet() const { return presenter->sheet(); }
};

}  // namespace

class TestSaveLinkPresenter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void endings_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("finishes");
        QTest::newRow("cleared by another") << "cleared" << false;
        QTest::newRow("cancel") << "cancel" << false;
        QTest::newRow("a link kept already") << "kept" << true;
        QTest::newRow("saved") << "save" << true;
    }

    void endings()
    {
        QFETCH(QString, how);
        QFETCH(bool, finishes);
        Library library;
        if (how == "kept")
            library.saves.append(makeSave(1, foundPost(kFirstLink), 700000000));
        Stage stage(library);
        QSignalSpy cleared(&stage.router, &Router::savingLinkChanged);
        stage.router.setSavingLink(kFirst);
        SaveLinkSheet *sheet = stage.sheet();
        if (how != "kept") {
            QVERIFY(QTest::qWaitFor([&] { return sheet->phase().isFound(); }));
            QCOMPARE(sheet->windowModality(), Qt::WindowModal);
            QCOMPARE(sheet->url(), kFirst);
        }
        if (how == "cleared")
            stage.router.setSavingLink(std::nullopt);
        else if (how == "cancel")
            sheet->cancelButton()->click();
        else if (how == "save")
            emit sheet->saveRequested();

        QVERIFY(QTest::qWaitFor([&] { return !stage.presenter->sheet(); }));
        QCOMPARE(stage.router.savingLink(), std::nullopt);
        QCOMPARE(cleared.count(), 2);
        QCOMPARE(stage.finished.size(), finishes ? 1 : 0);
        if (how == "kept")
            QCOMPARE(stage.finished.first(), saveID(1));
        QCOMPARE(stage.rig.core().library().saves.size(), finishes ? 1 : 0);
    }

    // A new text while a sheet is up is a new request. The old page's save, ending later, never
    // closes the new sheet, but its save is still handed on.
    void aReplacedRequestNeverClosesTheNewSheet()
    {
        Stage stage;
        stage.router.setSavingLink(kFirst);
        QVERIFY(QTest::qWaitFor([&] { return stage.sheet()->phase().isFound(); }));
        QPointer<SaveLinkSheet> first = stage.sheet();
        // The save waits on the cover, which the test lets through later.
        stage.rig.curator.downloader->scripts.remove(kCover);
        emit first->saveRequested();
        QCOMPARE(stage.rig.core().library().saves.size(), 1);

        stage.router.setSavingLink(kSecond);
        QCOMPARE(stage.presenter->requests(), 2u);
        QVERIFY(stage.sheet() != first);
        QCOMPARE(stage.sheet()->url(), kSecond);

        stage.rig.curator.downloader->play(0, TransferScript::arriving(50));
        QVERIFY(QTest::qWaitFor([&] { return !stage.finished.isEmpty(); }));
        QCOMPARE(stage.finished.first(), stage.rig.core().library().saves.first().id());
        QCOMPARE(stage.router.savingLink(), std::optional(kSecond));
        QVERIFY(stage.sheet());
        QVERIFY(stage.sheet()->isVisible());
    }

    // A sheet is made ahead while nothing happens, hidden; the next request shows it and is its
    // only one, the one after that gets another made ahead meanwhile, and a request that comes
    // before one is ready makes its own.
    void aSheetMadeAheadServesTheNextRequestOnly()
    {
        Stage stage;
        QVERIFY(!stage.presenter->spare());
        stage.router.setSavingLink(kFirst);
        QVERIFY(stage.sheet());
        stage.router.setSavingLink(std::nullopt);
        QVERIFY(!stage.sheet());

        QVERIFY(QTest::qWaitFor([&] { return stage.presenter->spare() != nullptr; }, 5000));
        QPointer<SaveLinkSheet> spare = stage.presenter->spare();
        QVERIFY(!spare->isVisible());
        // Its window on the display is made ahead too, so that opening it only maps it.
        QVERIFY(spare->windowHandle() && spare->testAttribute(Qt::WA_WState_Created));
        // Made ahead, it leaves the window's own widgets as they were: none became a native
        // window (which would be flushed to the display apart from the rest).
        QLabel content(&stage.window);
        content.show();
        QVERIFY(!content.testAttribute(Qt::WA_NativeWindow));
        QVERIFY(!content.internalWinId());
        stage.router.setSavingLink(kFirst);
        QCOMPARE(stage.sheet(), spare.data());
        QVERIFY(spare->isVisible());
        QVERIFY(!stage.presenter->spare());
        QVERIFY(QTest::qWaitFor([&] { return stage.sheet()->phase().isFound(); }));
        QCOMPARE(stage.sheet()->url(), kFirst);

        // A second request while the first is up makes its own at once.
        stage.router.setSavingLink(kSecond);
        QVERIFY(stage.sheet() != spare.data());
        QCOMPARE(stage.sheet()->url(), kSecond);
        stage.router.setSavingLink(std::nullopt);
        // The used sheet goes; a fresh one is made ahead again.
        QVERIFY(QTest::qWaitFor([&] { return spare.isNull(); }));
        QVERIFY(QTest::qWaitFor([&] { return stage.presenter->spare() != nullptr; }, 5000));
        QVERIFY(stage.presenter->spare() != spare.data());
    }
};

QTEST_MAIN(TestSaveLinkPresenter)
#include "tst_savelinkpresenter.moc"
