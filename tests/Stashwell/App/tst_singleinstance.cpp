// One process per library: a later launch's request, with what its desktop gave it to bring a
// window to the front, read line by line and over the real socket; an old plain request still
// shows the window; a process on its way out lets a new one take over at once.

#include "Stashwell/App/SingleInstance.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

using namespace sw::app;
using Activation = SingleInstance::Activation;

Q_DECLARE_METATYPE(Activation)

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheLinesOfARequest_data()
    {
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<int>("shows");
        QTest::addColumn<Activation>("activation");
        QTest::addRow("an old plain request") << QByteArrayList{"show\n"} << 1 << Activation{};
        QTest::addRow("a startup id") << QByteArrayList{"startup-id xterm-17_TIME4242\n", "show\n"} << 1
                                      << Activation{"xterm-17_TIME4242", {}};
        QTest::addRow("an activation token") << QByteArrayList{"activation-token 9f0c-aa\n", "show\n"} << 1
                                             << Activation{{}, "9f0c-aa"};
        QTest::addRow("both") << QByteArrayList{"startup-id a\n", "activation-token b\n", "show\n"} << 1
                              << Activation{"a", "b"};
        QTest::addRow("a token with a space is refused")
            << QByteArrayList{"startup-id a b\n", "show\n"} << 1 << Activation{};
        QTest::addRow("an empty token is refused") << QByteArrayList{"activation-token \n", "show\n"} << 1 << Activation{};
        QTest::addRow("a control character is refused")
            << QByteArrayList{"startup-id a\tb\n", "show\n"} << 1 << Activation{};
        QTest::addRow("an unknown line is let pass") << QByteArrayList{"focus please\n", "show\n"} << 1 << Activation{};
        QTest::addRow("no show, no window") << QByteArrayList{"startup-id a\n"} << 0 << Activation{"a", {}};
        QTest::addRow("a show cut short") << QByteArrayList{"show"} << 0 << Activation{};
        QTest::addRow("the later token wins") << QByteArrayList{"startup-id a\n", "startup-id c\n", "show\n"} << 1
                                              << Activation{"c", {}};
    }

    void readsTheLinesOfARequest()
    {
        QFETCH(QByteArrayList, lines);
        QFETCH(int, shows);
        QFETCH(Activation, activation);
        SingleInstance::RequestReader reader;
        int shown = 0;
        for (const QByteArray &line : lines)
            shown += reader.read(line) == SingleInstance::RequestReader::Line::show;
        QCOMPARE(shown, shows);
        QCOMPARE(reader.activation().startupId, activation.startupId);
        QCOMPARE(reader.activation().activationToken, activation.activationToken);
    }

    void aRequestReadsBackAsItWasSent_data()
    {
        QTest::addColumn<Activation>("sent");
        QTest::addColumn<Activation>("read");
        QTest::addRow("nothing") << Activation{} << Activation{};
        QTest::addRow("a startup id") << Activation{"kde-xyz_TIME1", {}} << Activation{"kde-xyz_TIME1", {}};
        QTest::addRow("both") << Activation{"s", "t"} << Activation{"s", "t"};
        // What could not travel on a line is left out, and the request still asks for the window.
        QTest::addRow("a token with a line break") << Activation{"a\nshow", "t"} << Activation{{}, "t"};
        QTest::addRow("a token too long") << Activation{QByteArray(600, 'x'), {}} << Activation{};
    }

    void aRequestReadsBackAsItWasSent()
    {
        QFETCH(Activation, sent);
        QFETCH(Activation, read);
        const QByteArray request = SingleInstance::request(sent);
        QVERIFY(request.endsWith(SingleInstance::kShowRequest));
        SingleInstance::RequestReader reader;
        int shows = 0;
        for (QByteArray line : request.split('\n')) {
            if (!line.isEmpty())
                shows += reader.read(line + '\n') == SingleInstance::RequestReader::Line::show;
        }
        QCOMPARE(shows, 1);
        QVERIFY(reader.activation() == read);
    }

    // The whole road: a later launch (on a thread of its own, as another process would be) asks
    // the first over its socket; an old launch's plain request still shows the window; once the
    // first lets go, a new one takes over without waiting.
    void aLaterLaunchPassesItsActivationOn()
    {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("library.lock"));
        SingleInstance first(lock);
        QCOMPARE(first.start(), SingleInstance::Role::primary);
        QSignalSpy shown(&first, &SingleInstance::showRequested);

        SingleInstance::Role role = SingleInstance::Role::unreachable;
        std::thread later([&] {
            SingleInstance second(lock);
            role = second.start(std::chrono::seconds(5), Activation{"launcher-3_TIME99", "tok"});
        });
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 10000);
        later.join();
        QCOMPARE(role, SingleInstance::Role::secondary);
        QVERIFY(shown.at(0).at(0).value<Activation>() == (Activation{"launcher-3_TIME99", "tok"}));

        QLocalSocket old;
        old.connectToServer(SingleInstance::serverName(lock));
        QVERIFY(old.waitForConnected(2000));
        old.write(SingleInstance::kShowRequest);
        QTRY_COMPARE(shown.size(), 2);
        QByteArray answer;
        QTRY_VERIFY((answer += old.readAll()) == SingleInstance::kAnswer);
        QVERIFY(shown.at(1).at(0).value<Activation>().isEmpty());

        first.release();
        SingleInstance next(lock);
        QCOMPARE(next.start(std::chrono::milliseconds(0)), SingleInstance::Role::primary);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
