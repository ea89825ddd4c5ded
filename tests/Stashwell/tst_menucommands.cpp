// The menu commands, triggered as the user would: each reaches the Router, the Curator or the
// window it names.

#include "CuratorRig.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <QVBoxLayout>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

using S = StashwellStrings;

namespace {

// A command that records its undo and redo.
struct Step : QUndoCommand {
    int *undone;
    int *redone;
    Step(int *u, int *r) : QUndoCommand(QStringLiteral("Step")), undone(u), redone(r) {}
    void undo() override { ++*undone; }
    void redo() override { ++*redone; }
};

struct Harness {
    CuratorRig rig;
    std::unique_ptr<Router> router;
    int routersMade = 0;
    int settingsOpened = 0;
    int windowsClosed = 0;
    int quits = 0;
    MenuCommands commands;

    explicit Harness(Library library = {})
        : rig(std::move(library)),
          commands(*rig.curator,
                   [this]() -> Router & {
                       if (!router) {
                           router = std::make_unique<Router>();
                           ++routersMade;
                       }
                       return *router;
                   },
                   MenuCommands::Hooks{[this] { ++settingsOpened; }, [this] { ++windowsClosed; }, [this] { ++quits; }})
    {
    }
};

Post imagePost(const QString &digits, const QString &address)
{
    return post(xLink(QStringLiteral("someone"), digits), {image(1000, address)});
}

}  // namespace

class MenuCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void menusHoldTheirCommands()
    {
        Harness h;
        QMenuBar bar;
        h.commands.install(bar);
        QCOMPARE(bar.actions().size(), 3);
        QVERIFY(h.commands.fileMenu()->actions().contains(h.commands.quit()));
        QVERIFY(h.commands.editMenu()->actions().contains(h.commands.selectAll()));
        // Download Missing, a divider, Empty Trash.
        const QList<QAction *> library = h.commands.libraryMenu()->actions();
        QCOMPARE(library.size(), 3);
        QCOMPARE(library.at(0), h.commands.downloadMissing());
        QVERIFY(library.at(1)->isSeparator());
        QCOMPARE(library.at(2), h.commands.emptyTrash());
    }

    void saveLinkAsksForAnEmptySheetOnce()
    {
        Harness h;
        QCOMPARE(h.routersMade, 0);   // the Router waits for its first use
        h.commands.saveLink()->trigger();
        QCOMPARE(h.routersMade, 1);
        QCOMPARE(h.router->savingLink(), std::optional<QString>(QString()));
        QSignalSpy spy(h.router.get(), &Router::savingLinkChanged);
        h.commands.saveLink()->trigger();   // already asked for: no change
        QCOMPARE(spy.count(), 0);
        h.router->setSavingLink(std::nullopt);   // the sheet closed
        h.commands.saveLink()->trigger();
        QCOMPARE(spy.count(), 2);
        QCOMPARE(h.routersMade, 1);
    }

    void emptyTrashCountsEveryChoice()
    {
        Harness h;
        h.commands.emptyTrash()->trigger();
        QSignalSpy spy(h.router.get(), &Router::emptyTrashRequestsChanged);
        h.commands.emptyTrash()->trigger();
        QCOMPARE(h.router->emptyTrashRequests(), 2);
        QCOMPARE(spy.count(), 1);
        // Nothing is removed by the command itself: the page asks first.
        QCOMPARE(h.rig.archive->writes, 0);
    }

    void downloadMissingDownloadsEveryLinkOnlySave()
    {
        const QString first = QStringLiteral("https://pbs.example.com/1.jpg");
        const QString second = QStringLiteral("https://pbs.example.com/2.jpg");
        Harness h(Library({makeSave(1, imagePost(QStringLiteral("1"), first), 10),
                           makeSave(2, imagePost(QStringLiteral("2"), second), 20)},
                          {}));
        h.rig.downloader->scripts.insert(first, TransferScript::arriving(1000));
        h.rig.downloader->scripts.insert(second, TransferScript::arriving(1000));

        h.commands.downloadMissing()->trigger();
        QVERIFY(settle([&] {
            return h.rig.copy(xLink(QStringLiteral("someone"), QStringLiteral("1"))).asOnThisComputer() != nullptr
                && h.rig.copy(xLink(QStringLiteral("someone"), QStringLiteral("2"))).asOnThisComputer() != nullptr;
        }));
        QCOMPARE(h.rig.downloader->calls.size(), 2);
        QVERIFY(!h.router);   // the Router is not involved
    }

    void fileCommandsRunTheirHooks()
    {
        Harness h;
        h.commands.settings()->trigger();
        h.commands.close()->trigger();
        h.commands.close()->trigger();
        h.commands.quit()->trigger();
        QCOMPARE(h.settingsOpened, 1);
        QCOMPARE(h.windowsClosed, 2);
        QCOMPARE(h.quits, 1);
    }

    void undoAndRedoFollowTheBoundStack()
    {
        Harness h;
        QVERIFY(!h.commands.undo()->isEnabled());
        QVERIFY(!h.commands.redo()->isEnabled());
        h.commands.undo()->trigger();   // nothing bound: nothing happens

        int undone = 0;
        int redone = 0;
        auto stack = std::make_unique<QUndoStack>();
        h.commands.bindUndoStack(stack.get());
        QVERIFY(!h.commands.undo()->isEnabled());
        stack->push(new Step(&undone, &redone));
        QCOMPARE(redone, 1);
        QVERIFY(h.commands.undo()->isEnabled());
        QVERIFY(!h.commands.redo()->isEnabled());

        QCOMPARE(h.commands.undo()->text(), MenuCommands::named(S::menuUndo(), QStringLiteral("Step")));
        QCOMPARE(h.commands.redo()->text(), S::menuRedo());

        h.commands.undo()->trigger();
        QCOMPARE(undone, 1);
        QVERIFY(!h.commands.undo()->isEnabled());
        QVERIFY(h.commands.redo()->isEnabled());
        QCOMPARE(h.commands.undo()->text(), S::menuUndo());
        QCOMPARE(h.commands.redo()->text(), MenuCommands::named(S::menuRedo(), QStringLiteral("Step")));
        h.commands.redo()->trigger();
        QCOMPARE(redone, 2);

        // A stack that goes away leaves the commands disabled.
        stack.reset();
        QVERIFY(!h.commands.undo()->isEnabled());
        QVERIFY(!h.commands.redo()->isEnabled());
        h.commands.undo()->trigger();
        QCOMPARE(undone, 1);
    }

    void editCommandsActOnTheFocusedField()
    {
        Harness h;
        QMainWindow window;
        h.commands.install(*window.menuBar());
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        auto *field = new QLineEdit(QStringLiteral("a link"));
        auto *other = new QLineEdit;
        layout->addWidget(field);
        layout->addWidget(other);
        window.setCentralWidget(central);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return QApplication::focusWidget() == field; }));

        field->deselect();
        h.commands.selectAll()->trigger();
        QCOMPARE(field->selectedText(), QStringLiteral("a link"));
        h.commands.cut()->trigger();
        QCOMPARE(field->text(), QString());
        other->setFocus();
        QVERIFY(QTest::qWaitFor([&] { return QApplication::focusWidget() == other; }));
        h.commands.paste()->trigger();
        QCOMPARE(other->text(), QStringLiteral("a link"));
        QVERIFY(field->text().isEmpty());
    }

    void saveLinkShortcutFromTheKeyboard()
    {
        Harness h;
        QMainWindow window;
        h.commands.install(*window.menuBar());
        window.setCentralWidget(new QWidget);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(h.router);
        QCOMPARE(h.router->savingLink(), std::optional<QString>(QString()));
    }
};

QTEST_MAIN(MenuCommandsTest)
#include "tst_menucommands.moc"
