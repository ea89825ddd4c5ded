// What a window brought to the front for a later launch tells the X11 window manager: the time in
// the launch's startup id, and the startup notification that ends the launch's feedback, cut into
// the 20-byte chunks its client messages carry.

#include "Stashwell/App/WindowActivation.h"

#include <QTest>

using namespace sw::app;

class WindowActivationTest : public QObject {
    Q_OBJECT

private slots:
    void theTimeOfAStartupId_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<qint64>("time");   // -1: none
        QTest::addRow("a launcher's id") << QByteArray("openbox-1204-host-xterm-3_TIME15031") << qint64(15031);
        QTest::addRow("the last _TIME counts") << QByteArray("a_TIME1_TIME2") << qint64(2);
        QTest::addRow("the largest time") << QByteArray("x_TIME4294967295") << qint64(4294967295);
        QTest::addRow("past 32 bits") << QByteArray("x_TIME4294967296") << qint64(-1);
        QTest::addRow("no time") << QByteArray("kde-launch-7") << qint64(-1);
        QTest::addRow("no digits") << QByteArray("x_TIME") << qint64(-1);
        QTest::addRow("not only digits") << QByteArray("x_TIME12a") << qint64(-1);
        QTest::addRow("zero is no time") << QByteArray("x_TIME0") << qint64(-1);
    }

    void theTimeOfAStartupId()
    {
        QFETCH(QByteArray, id);
        QFETCH(qint64, time);
        const auto found = WindowActivation::startupIdTime(id);
        QCOMPARE(found ? qint64(*found) : qint64(-1), time);
    }

    void theEndOfTheStartupFeedback_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("message");
        QTest::addRow("plain") << QByteArray("xterm_TIME5") << QByteArray("remove: ID=xterm_TIME5");
        QTest::addRow("a quote and a backslash are escaped and quoted")
            << QByteArray("a\"b\\c") << QByteArray("remove: ID=\"a\\\"b\\\\c\"");
    }

    void theEndOfTheStartupFeedback()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, message);
        QCOMPARE(WindowActivation::removeMessage(id), message);
        // The chunks put back together, up to the terminating zero, are the message.
        const QList<QByteArray> chunks = WindowActivation::startupInfoChunks(message);
        QCOMPARE(chunks.size(), (message.size() + 1 + 19) / 20);
        QByteArray joined;
        for (const QByteArray &chunk : chunks) {
            QCOMPARE(chunk.size(), 20);
            joined += chunk;
        }
        QCOMPARE(joined.left(message.size()), message);
        QCOMPARE(joined.at(message.size()), '\0');
    }
};

QTEST_GUILESS_MAIN(WindowActivationTest)
#include "tst_windowactivation.moc"
