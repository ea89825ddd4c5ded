// The application's commands from each of its windows: the key of an action that lives in the
// main window's menus works from a second window, from a window-modal sheet that blocks the main
// window, from an application-modal dialog and from a tool popup, once, whichever window shows
// first; and not from a window shown after the commands were let go.

#include "Stashwell/Commands/EveryWindowCommands.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace sw::app;

namespace {

enum class Where { mainWindow, secondWindow, windowModalSheet, applicationModalDialog, toolPopup, afterTheCommandsWent };

}  // namespace

class EveryWindowCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void aKeyWorksFromEveryWindow_data()
    {
        QTest::addColumn<Where>("where");
        QTest::addColumn<int>("triggered");
        QTest::addRow("the main window") << Where::mainWindow << 1;
        QTest::addRow("a second window") << Where::secondWindow << 1;
        QTest::addRow("a window-modal sheet over the main window") << Where::windowModalSheet << 1;
        QTest::addRow("an application-modal dialog") << Where::applicationModalDialog << 1;
        QTest::addRow("a tool popup") << Where::toolPopup << 1;
        QTest::addRow("a sheet shown after the commands went") << Where::afterTheCommandsWent << 0;
    }

    void aKeyWorksFromEveryWindow()
    {
        QFETCH(Where, where);
        QFETCH(int, triggered);

        QMainWindow main;
        auto *quit = new QAction(QStringLiteral("Quit"), &main);
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        main.menuBar()->addMenu(QStringLiteral("File"))->addAction(quit);
        main.setCentralWidget(new QLineEdit);
        int fired = 0;
        connect(quit, &QAction::triggered, this, [&fired] { ++fired; });
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));

        auto commands = std::make_unique<EveryWindowCommands>(QList<QAction *>{quit});
        if (where == Where::afterTheCommandsWent)
            commands.reset();

        std::unique_ptr<QWidget> window;
        switch (where) {
        case Where::mainWindow: break;
        case Where::secondWindow: window = std::make_unique<QWidget>(); break;
        case Where::afterTheCommandsWent:
        case Where::windowModalSheet:
        case Where::applicationModalDialog: {
            auto *dialog = new QDialog(&main);
            dialog->setWindowModality(where == Where::applicationModalDialog ? Qt::ApplicationModal : Qt::WindowModal);
            window.reset(dialog);
            break;
        }
        case Where::toolPopup:
            window = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
            break;
        }
        QWidget *target = window ? window.get() : &main;
        if (window) {
            // A field with the keyboard focus, as the sheet and the popup have.
            (new QVBoxLayout(window.get()))->addWidget(new QLineEdit);
            window->show();
        }
        target->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(target));

        QTest::keyClick(target->focusWidget() ? target->focusWidget() : target, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(fired, triggered);
    }
};

QTEST_MAIN(EveryWindowCommandsTest)
#include "tst_everywindowcommands.moc"
