// The application's one way out: whatever is open (a window that refuses to close, as the library
// window does while a tray keeps the application, a modal dialog in its own event loop, a popup
// menu, several windows at once) and whichever way in (a call, or Qt's own quit: the Quit event
// that QCoreApplication::quit() and the session's end send), the road saves, lets go of the lock and ends the event loops, in that order, and no
// window is left on screen.

#include "Stashwell/App/QuitRoad.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace sw::app;

namespace {

// Refuses to close, as the library window does when it hides to the tray instead.
class RefusingWindow final : public QWidget {
public:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

enum class Open { nothing, refusingWindow, refusingAndAnother, modalDialog, modalOverRefusing, popupMenu };
enum class Way { call, qtQuit };

void sendQtsQuit()
{
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
}

}  // namespace

class QuitRoadTest : public QObject {
    Q_OBJECT

private slots:
    void endsWhateverIsOpen_data()
    {
        QTest::addColumn<Open>("open");
        QTest::addColumn<Way>("way");
        for (auto [name, way] : {std::pair{"call", Way::call}, std::pair{"Qt's quit", Way::qtQuit}}) {
            QTest::addRow("nothing, %s", name) << Open::nothing << way;
            QTest::addRow("a refusing window, %s", name) << Open::refusingWindow << way;
            QTest::addRow("a refusing window and another, %s", name) << Open::refusingAndAnother << way;
            QTest::addRow("a modal dialog in its loop, %s", name) << Open::modalDialog << way;
            QTest::addRow("a modal dialog over a refusing window, %s", name) << Open::modalOverRefusing << way;
            QTest::addRow("a popup menu in its loop, %s", name) << Open::popupMenu << way;
        }
    }

    void endsWhateverIsOpen()
    {
        QFETCH(Open, open);
        QFETCH(Way, way);
        QStringList steps;
        QuitRoad road({[&] { steps << QStringLiteral("save"); }, [&] { steps << QStringLiteral("release"); },
                       [&] { steps << QStringLiteral("exit"); }});

        std::unique_ptr<QWidget> refusing;
        std::unique_ptr<QWidget> another;
        if (open == Open::refusingWindow || open == Open::refusingAndAnother || open == Open::modalOverRefusing) {
            refusing = std::make_unique<RefusingWindow>();
            refusing->show();
        }
        if (open == Open::refusingAndAnother) {
            another = std::make_unique<QWidget>();
            another->show();
        }

        const auto takeTheWay = [&] {
            if (way == Way::call)
                road.quit();
            else
                sendQtsQuit();
        };

        bool loopEndedByTheRoad = true;
        if (open == Open::modalDialog || open == Open::modalOverRefusing || open == Open::popupMenu) {
            // The way is taken from inside the modal loop; a loop the road does not end would hang
            // the test, so a later timer ends it and tells.
            std::unique_ptr<QWidget> modal;
            if (open == Open::popupMenu) {
                auto *menu = new QMenu;
                menu->addAction(QStringLiteral("One"));
                modal.reset(menu);
            } else {
                modal = std::make_unique<QDialog>(refusing.get());
            }
            QTimer::singleShot(50, takeTheWay);
            QTimer::singleShot(5000, modal.get(), [&] {
                loopEndedByTheRoad = false;
                modal->hide();
            });
            if (auto *menu = qobject_cast<QMenu *>(modal.get()))
                menu->exec(QPoint(10, 10));
            else
                static_cast<QDialog *>(modal.get())->exec();
        } else {
            takeTheWay();
        }

        QVERIFY(loopEndedByTheRoad);
        QCOMPARE(steps, (QStringList{QStringLiteral("save"), QStringLiteral("release"), QStringLiteral("exit")}));
        QVERIFY(road.isEnding());
        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->metaObject()->className()));
    }

    // A second quit while the first is under way (a signal after Ctrl+Q) ends the loops again and
    // saves nothing twice.
    void aSecondQuitOnlyEndsTheLoopsAgain()
    {
        int saves = 0, exits = 0;
        QuitRoad road({[&] { ++saves; }, {}, [&] { ++exits; }});
        road.quit();
        sendQtsQuit();
        QCOMPARE(saves, 1);
        QCOMPARE(exits, 2);
    }
};

QTEST_MAIN(QuitRoadTest)
#include "tst_quitroad.moc"
