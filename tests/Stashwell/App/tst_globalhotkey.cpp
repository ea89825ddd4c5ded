// The global hot key on a real X server: a program holding it through its Router (hotkeyprobe)
// runs beside the test, and xdotool presses keys from outside it, as another application's user
// would. Each press of Ctrl+Alt+D runs the action exactly once, with or without Caps Lock and Num
// Lock; other combinations of D are not taken; a second holder's grab fails without a word and it
// runs on; a press asks for the Save Link sheet with the clipboard's link.

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

constexpr unsigned lockMask = 1u << 1;   // Caps Lock
constexpr unsigned mod2Mask = 1u << 4;   // Num Lock on the standard keymap

// One running probe and the lines it wrote.
class Probe {
public:
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.write("quit\n");
            if (!m_process.waitForFinished(5000))
                m_process.kill();
        }
    }

    // Starts it; whether the key was grabbed.
    std::optional<bool> start()
    {
        m_process.setProgram(QStringLiteral(HOTKEY_PROBE));
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        const QString ready = next(QStringLiteral("ready "));
        if (ready.isEmpty())
            return std::nullopt;
        return ready == QLatin1String("1");
    }

    // The rest of the next line that starts with `prefix`; lines of other kinds are kept for later.
    QString next(const QString &prefix)
    {
        QDeadlineTimer deadline(10000);
        while (true) {
            for (qsizetype i = 0; i < m_lines.size(); ++i) {
                if (m_lines[i].startsWith(prefix))
                    return m_lines.takeAt(i).mid(prefix.size());
            }
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return {};
            m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
            while (m_process.canReadLine()) {
                QString line = QString::fromUtf8(m_process.readLine());
                line.chop(line.endsWith(QLatin1Char('\n')) ? 1 : 0);
                m_lines.append(line);
            }
        }
    }

    // Everything the server sent it so far handled: its count of presses and the key state.
    std::pair<int, unsigned> sync()
    {
        m_process.write("sync\n");
        const QStringList parts = next(QStringLiteral("synced ")).split(QLatin1Char(' '));
        if (parts.size() != 2)
            return {-1, 0};
        return {parts[0].toInt(), parts[1].toUInt()};
    }

    bool isRunning() const { return m_process.state() == QProcess::Running; }
    void write(const QString &line) { m_process.write((line + QLatin1Char('\n')).toUtf8()); }
    // Lines of that kind not yet taken.
    qsizetype waiting(const QString &prefix) const
    {
        return std::count_if(m_lines.begin(), m_lines.end(), [&](const QString &l) { return l.startsWith(prefix); });
    }

private:
    QProcess m_process;
    QStringList m_lines;
};

bool press(const QStringList &keys)
{
    if (keys.isEmpty())
        return true;
    return QProcess::execute(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys) == 0;
}

}  // namespace

class TestGlobalHotKey : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void presses_data();
    void presses();
    void failedGrabIsSilent();
    void clipboardLink();
    void cleanupTestCase();

private:
    std::unique_ptr<Probe> m_probe;
};

void TestGlobalHotKey::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("No X server could be started (DISPLAY is not set): the global hot key exists only on X11.");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is missing: scripts/install-deps installs it");
    m_probe = std::make_unique<Probe>();
    const std::optional<bool> registered = m_probe->start();
    QVERIFY2(registered.has_value(), "the probe did not start");
    QVERIFY2(*registered, "the probe could not grab Ctrl+Alt+D on a fresh X server");
}

void TestGlobalHotKey::presses_data()
{
    QTest::addColumn<QStringList>("locks");   // lock keys turned on first, and off afterwards
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("runs");

    const QStringList none;
    const QString hotKey = QStringLiteral("ctrl+alt+d");
    QTest::newRow("Ctrl+Alt+D") << none << QStringList{hotKey} << 1;
    QTest::newRow("twice") << none << QStringList{hotKey, hotKey} << 2;
    QTest::newRow("Num Lock on") << QStringList{"Num_Lock"} << QStringList{hotKey} << 1;
    QTest::newRow("Caps Lock on") << QStringList{"Caps_Lock"} << QStringList{hotKey} << 1;
    QTest::newRow("Caps Lock and Num Lock on") << QStringList{"Caps_Lock", "Num_Lock"} << QStringList{hotKey, hotKey}
                                               << 2;
    QTest::newRow("Ctrl+D") << none << QStringList{"ctrl+d"} << 0;
    QTest::newRow("Alt+D") << none << QStringList{"alt+d"} << 0;
    QTest::newRow("Shift+Ctrl+Alt+D") << none << QStringList{"shift+ctrl+alt+d"} << 0;
    QTest::newRow("Super+Ctrl+Alt+D") << none << QStringList{"super+ctrl+alt+d"} << 0;
    QTest::newRow("Ctrl+Alt+F") << none << QStringList{"ctrl+alt+f"} << 0;
}

void TestGlobalHotKey::presses()
{
    QFETCH(QStringList, locks);
    QFETCH(QStringList, keys);
    QFETCH(int, runs);

    const auto [before, idleState] = m_probe->sync();
    QVERIFY(before >= 0);
    QCOMPARE(idleState & (lockMask | mod2Mask), 0u);

    QVERIFY(press(locks));
    const unsigned wanted = (locks.contains("Caps_Lock") ? lockMask : 0) | (locks.contains("Num_Lock") ? mod2Mask : 0);
    QCOMPARE(m_probe->sync().second & (lockMask | mod2Mask), wanted);

    QVERIFY(press(keys));
    for (int i = 1; i <= runs; ++i)
        QCOMPARE(m_probe->next(QStringLiteral("pressed ")), QString::number(before + i));
    // Nothing more came of these keys.
    QCOMPARE(m_probe->sync().first, before + runs);
    QCOMPARE(m_probe->waiting(QStringLiteral("pressed ")), 0);

    QVERIFY(press(locks));
    QCOMPARE(m_probe->sync().second & (lockMask | mod2Mask), 0u);
}

void TestGlobalHotKey::failedGrabIsSilent()
{
    const int before = m_probe->sync().first;
    Probe second;
    const std::optional<bool> registered = second.start();
    QVERIFY2(registered.has_value(), "the second probe did not start");
    QVERIFY2(!*registered, "a second holder of Ctrl+Alt+D was granted the key");
    QVERIFY(second.isRunning());

    QVERIFY(press({QStringLiteral("ctrl+alt+d")}));
    QCOMPARE(m_probe->next(QStringLiteral("pressed ")), QString::number(before + 1));
    QCOMPARE(second.sync().first, 0);
    QVERIFY(second.isRunning());
}

// A press: the application to the front, then the Save Link sheet asked for with the clipboard's
// link, or with an empty field; an unchanged request changes nothing.
void TestGlobalHotKey::clipboardLink()
{
    m_probe.reset();   // gives the key back; a fresh Router has asked for nothing yet
    Probe probe;
    const std::optional<bool> registered = probe.start();
    QVERIFY2(registered.has_value() && *registered, "the key was not grabbed once it was free again");
    const QString link = QStringLiteral("https://x.com/jack/status/20");

    probe.write(QStringLiteral("copy   ") + link + QStringLiteral("  "));
    probe.sync();   // the copy made before the key comes
    QVERIFY(press({QStringLiteral("ctrl+alt+d")}));
    QCOMPARE(probe.next(QStringLiteral("pressed ")), QStringLiteral("1"));
    QCOMPARE(probe.next(QStringLiteral("saving ")), link);

    // The same link again: the window comes to the front, the request stands as it was.
    QVERIFY(press({QStringLiteral("ctrl+alt+d")}));
    QCOMPARE(probe.next(QStringLiteral("pressed ")), QStringLiteral("2"));
    QCOMPARE(probe.sync().first, 2);
    QCOMPARE(probe.waiting(QStringLiteral("saving ")), 0);

    probe.write(QStringLiteral("copy a few words"));
    probe.sync();
    QVERIFY(press({QStringLiteral("ctrl+alt+d")}));
    QCOMPARE(probe.next(QStringLiteral("pressed ")), QStringLiteral("3"));
    QCOMPARE(probe.next(QStringLiteral("saving ")), QString());
}

void TestGlobalHotKey::cleanupTestCase() { m_probe.reset(); }

QTEST_GUILESS_MAIN(TestGlobalHotKey)
#include "tst_globalhotkey.moc"
