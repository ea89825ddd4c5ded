// A repaint asked for while a pointer move is the only recent input waits a few milliseconds, so
// that a press right after it comes in the same frame; any other input ends the wait at once, and
// a pointer that keeps moving never keeps the window from painting.

#include "Stashwell/App/PointerFramePacing.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>

using namespace sw::app;

namespace {

class Counted : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        ++paints;
    }
};

}  // namespace

class TestPointerFramePacing : public QObject {
    Q_OBJECT
private slots:
    void holds_data()
    {
        QTest::addColumn<qint64>("sinceMove");
        QTest::addColumn<bool>("otherInput");
        QTest::addColumn<bool>("held");
        QTest::newRow("just after a move") << qint64(0) << false << true;
        QTest::newRow("within the wait") << qint64(PointerFramePacing::holdMs - 1) << false << true;
        QTest::newRow("the wait is over") << qint64(PointerFramePacing::holdMs) << false << false;
        QTest::newRow("a press came since") << qint64(1) << true << false;
        QTest::newRow("no move yet") << qint64(-1) << false << false;
    }
    void holds()
    {
        QFETCH(qint64, sinceMove);
        QFETCH(bool, otherInput);
        QFETCH(bool, held);
        QCOMPARE(PointerFramePacing::holds(sinceMove, otherInput), held);
    }

    void aMoveWaitsAndAKeyEndsTheWait()
    {
        // A longer wait than the program's, so that a busy machine does not end it unseen.
        PointerFramePacing pacing(nullptr, 300);
        qApp->installEventFilter(&pacing);
        Counted window;
        window.resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);

        // A move (spontaneous, through the window system) and a repaint asked for at once.
        QTest::mouseMove(&window, QPoint(50, 50));
        window.update();
        const int before = window.paints;
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pacing.held(), 1);
        QCOMPARE(window.paints, before);
        // It paints once the wait is over.
        QTRY_VERIFY(window.paints > before);
        QCOMPARE(pacing.held(), 0);

        // Held again, a key ends the wait: the paint follows in this turn of the loop.
        QTest::mouseMove(&window, QPoint(60, 50));
        window.update();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(pacing.held(), 1);
        const int held = window.paints;
        QTest::keyClick(window.windowHandle(), Qt::Key_A);
        QCOMPARE(pacing.held(), 0);
        QCoreApplication::sendPostedEvents();
        QVERIFY(window.paints > held);

        // Moves that keep coming: the request posted when a wait ends goes through.
        for (int i = 0; i < 5; ++i) {
            QTest::mouseMove(&window, QPoint(70 + i, 50));
            window.update();
            const int now = window.paints;
            QTRY_VERIFY_WITH_TIMEOUT(window.paints > now, 1000);
        }
        qApp->removeEventFilter(&pacing);
    }
};

QTEST_MAIN(TestPointerFramePacing)
#include "tst_pointerframepacing.moc"
