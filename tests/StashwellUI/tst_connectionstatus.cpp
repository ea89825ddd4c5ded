#include "StashwellUI/Controls/ConnectionStatus.h"
#include "ControlTesting.h"

using namespace sw;

Q_DECLARE_METATYPE(sw::ConnectionState)

class TestConnectionStatus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void cleanup() { Tokens::Motion::setEnabled(false); }
    void equality_data();
    void equality();
    void look_data();
    void look();
    void longMessageWrapsToTwoLinesAtMost();
    void spinsOnlyWhileChecking();
};

void TestConnectionStatus::equality_data()
{
    QTest::addColumn<ConnectionState>("a");
    QTest::addColumn<ConnectionState>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("unknown") << ConnectionState::unknown() << ConnectionState::unknown() << true;
    QTest::newRow("checking") << ConnectionState::checking() << ConnectionState::checking() << true;
    QTest::newRow("reachable") << ConnectionState::reachable() << ConnectionState::reachable() << true;
    QTest::newRow("unknown vs checking") << ConnectionState::unknown() << ConnectionState::checking() << false;
    QTest::newRow("reachable vs unreachable") << ConnectionState::reachable() << ConnectionState::unreachable(QString()) << false;
    QTest::newRow("same message") << ConnectionState::unreachable(QStringLiteral("Proxy refused"))
                                  << ConnectionState::unreachable(QStringLiteral("Proxy refused")) << true;
    QTest::newRow("other message") << ConnectionState::unreachable(QStringLiteral("Proxy refused"))
                                   << ConnectionState::unreachable(QStringLiteral("Timed out")) << false;
}

void TestConnectionStatus::equality()
{
    QFETCH(ConnectionState, a);
    QFETCH(ConnectionState, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
}

void TestConnectionStatus::look_data()
{
    QTest::addColumn<ConnectionState>("state");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");
    QTest::newRow("unknown") << ConnectionState::unknown() << QStringLiteral("circle.dashed")
                             << StashwellUIStrings::connectionNotChecked() << Tokens::Colors::muted();
    QTest::newRow("checking") << ConnectionState::checking() << QString() << StashwellUIStrings::connectionReaching()
                              << Tokens::Colors::muted();
    QTest::newRow("reachable") << ConnectionState::reachable() << QStringLiteral("checkmark.circle.fill")
                               << StashwellUIStrings::connectionReachable() << Tokens::Colors::ok();
    QTest::newRow("unreachable") << ConnectionState::unreachable(QStringLiteral("Proxy refused"))
                                 << QStringLiteral("exclamationmark.triangle.fill") << QStringLiteral("Proxy refused")
                                 << Tokens::Colors::danger();
    QTest::newRow("unreachable, empty message") << ConnectionState::unreachable(QString())
                                                << QStringLiteral("exclamationmark.triangle.fill") << QString()
                                                << Tokens::Colors::danger();
}

void TestConnectionStatus::look()
{
    QFETCH(ConnectionState, state);
    QFETCH(QString, symbol);
    QFETCH(QString, text);
    QFETCH(QColor, color);
    QCOMPARE(ConnectionStatus::symbolFor(state), symbol);
    QCOMPARE(ConnectionStatus::textFor(state), text);
    QCOMPARE(ConnectionStatus::colorFor(state), color);
    ConnectionStatus status(state);
    QCOMPARE(test::accessibleName(&status), text);
}

void TestConnectionStatus::longMessageWrapsToTwoLinesAtMost()
{
    const QString shortMessage = QStringLiteral("Timed out");
    QCOMPARE(ConnectionStatus::lines(shortMessage, 300), QStringList{shortMessage});

    const QString longMessage = QStringLiteral(
        "The proxy at 127.0.0.1 port 1080 refused the connection, so nothing could be fetched through it; "
        "check that it is running and that the port is right, then test again");
    const QStringList lines = ConnectionStatus::lines(longMessage, 200);
    QCOMPARE(lines.size(), 2);
    QVERIFY(longMessage.startsWith(lines.first()));
    QVERIFY(lines.last().endsWith(QChar(0x2026)));

    const QString twoLines = QStringLiteral("The proxy refused the connection, try again");
    const QStringList fits = ConnectionStatus::lines(twoLines, 180);
    QCOMPARE(fits.size(), 2);
    QVERIFY(!fits.last().endsWith(QChar(0x2026)));
    QCOMPARE(fits.join(u' '), twoLines);

    ConnectionStatus one(ConnectionState::unreachable(shortMessage));
    ConnectionStatus two(ConnectionState::unreachable(longMessage));
    QVERIFY(two.heightForWidth(220) > one.heightForWidth(220));
    ConnectionStatus three(ConnectionState::unreachable(longMessage + longMessage));
    QCOMPARE(three.heightForWidth(220), two.heightForWidth(220));
}

void TestConnectionStatus::spinsOnlyWhileChecking()
{
    Tokens::Motion::setEnabled(true);
    ConnectionStatus status(ConnectionState::unknown());
    QVERIFY(test::showWidget(status));
    QVERIFY(!status.isSpinning());
    test::PaintCounter paints(&status);
    paints.start();
    status.setState(ConnectionState::unknown());
    QCOMPARE(paints.settle(), 0);
    status.setState(ConnectionState::checking());
    QVERIFY(status.isSpinning());
    status.setState(ConnectionState::reachable());
    QVERIFY(!status.isSpinning());
    status.setState(ConnectionState::checking());
    status.hide();
    QVERIFY(!status.isSpinning());
}

QTEST_MAIN(TestConnectionStatus)
#include "tst_connectionstatus.moc"
