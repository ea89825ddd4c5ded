// The on-screen benchmark's reference on a real X server: a bare window that repaints itself on a
// key, and opens a bare dialog over itself on Ctrl+D that goes away by itself, leaving the window
// as it was. The benchmark times that dialog again and again with nothing to send it between; a
// dialog that stayed up would have it time nothing but a blocked window.

#include <QtTest>

#include "XScreen.h"

#include <algorithm>

using sw::bench::screen::XScreen;

class RealxReferenceTest : public QObject {
    Q_OBJECT

    XScreen m_screen;
    QProcess m_reference;
    QByteArray m_output;
    QRect m_area;

    // Where the reference says its inside lies, once it stands at the size it was given.
    bool readArea()
    {
        m_output += m_reference.readAllStandardOutput();
        for (const QByteArray &line : m_output.trimmed().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() == 5 && f[0] == "area" && f[3].toInt() == 640 && f[4].toInt() == 480)
                m_area = QRect(f[1].toInt(), f[2].toInt(), 640, 480);
        }
        return !m_area.isNull();
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("No X server (DISPLAY is not set): this test runs under Xvfb.");
        QVERIFY(m_screen.open());
        m_reference.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_reference.start(QStringLiteral(STASHWELL_REALX_BENCHMARKS), {QStringLiteral("--reference"), QStringLiteral("640"),
                                                                       QStringLiteral("480")});
        QVERIFY(m_reference.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(readArea(), 20000);
        // No window manager runs: the keyboard goes to the window under the pointer.
        m_screen.moveTo(m_area.center());
        m_screen.still(m_area, {});
    }

    void cleanupTestCase()
    {
        m_reference.kill();
        m_reference.waitForFinished(5000);
    }

    void keyRepaintsTheWindow() { QVERIFY(m_screen.latency(m_area, {}, [&] { m_screen.key(XK_a); })); }

    // Twice: the second time opens the dialog made again once the first had gone.
    void dialogShowsAndGoesAwayByItself()
    {
        for (int round = 0; round < 2; ++round) {
            const std::vector<std::uint32_t> before = m_screen.still(m_area, {});
            QVERIFY2(m_screen.latency(m_area, {}, [&] { m_screen.key(XK_d, true); }), "no dialog showed");
            QTRY_VERIFY_WITH_TIMEOUT(std::ranges::equal(m_screen.grab(m_area), before), 3000);
        }
    }
};

QTEST_GUILESS_MAIN(RealxReferenceTest)
#include "tst_realxreference.moc"
