// The on-screen benchmark's poller on a real X server: a window that this test draws into by hand
// (Xlib, no toolkit in between) stands for the program. Drawing in the watched area is seen as a
// change, a grab that differs only where the area is left out is not, and nothing drawn is no
// change at all.

#include <QtTest>

#include "XScreen.h"

using sw::bench::screen::XScreen;

Q_DECLARE_METATYPE(std::vector<QRect>)

class XScreenTest : public QObject {
    Q_OBJECT

    Display *m_display = nullptr;
    Window m_window = 0;
    GC m_gc = nullptr;
    XScreen m_screen;
    const QRect m_area{40, 40, 200, 120};

    void fill(const QRect &rect, unsigned long pixel)
    {
        XSetForeground(m_display, m_gc, pixel);
        XFillRectangle(m_display, m_window, m_gc, rect.x(), rect.y(), unsigned(rect.width()), unsigned(rect.height()));
        XSync(m_display, False);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("No X server (DISPLAY is not set): this test runs under Xvfb.");
        QVERIFY(m_screen.open());
        m_display = XOpenDisplay(nullptr);
        QVERIFY(m_display);
        // Unmanaged (no window manager runs), at the top left of the screen, so that window and
        // screen coordinates agree.
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.background_pixel = BlackPixel(m_display, DefaultScreen(m_display));
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), 0, 0, 400, 300, 0, CopyFromParent, InputOutput,
                                 CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
        XMapRaised(m_display, m_window);
        m_gc = XCreateGC(m_display, m_window, 0, nullptr);
        XSync(m_display, False);
        fill(QRect(0, 0, 400, 300), 0x202020);
    }

    void cleanupTestCase()
    {
        if (!m_display)
            return;
        XFreeGC(m_display, m_gc);
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }

    void latency_data()
    {
        QTest::addColumn<QRect>("drawn");   // in screen coordinates; empty: nothing drawn
        QTest::addColumn<std::vector<QRect>>("excluded");
        QTest::addColumn<bool>("seen");
        QTest::newRow("inside the area") << QRect(100, 80, 10, 10) << std::vector<QRect>{} << true;
        QTest::newRow("one pixel at its corner") << QRect(239, 159, 1, 1) << std::vector<QRect>{} << true;
        QTest::newRow("beside the area") << QRect(300, 200, 20, 20) << std::vector<QRect>{} << false;
        QTest::newRow("only where it is left out") << QRect(100, 80, 10, 10) << std::vector<QRect>{QRect(90, 70, 40, 40)} << false;
        QTest::newRow("partly where it is left out") << QRect(100, 80, 10, 10) << std::vector<QRect>{QRect(90, 70, 15, 40)} << true;
        QTest::newRow("nothing") << QRect() << std::vector<QRect>{} << false;
    }

    void latency()
    {
        QFETCH(QRect, drawn);
        QFETCH(std::vector<QRect>, excluded);
        QFETCH(bool, seen);
        static unsigned long colour = 0x3060a0;
        colour ^= 0x00ff00;   // each row draws something new over what the last one left
        const std::optional<double> ms = m_screen.latency(m_area, excluded, [&] {
            if (!drawn.isEmpty())
                fill(drawn, colour);
        });
        QCOMPARE(ms.has_value(), seen);
        if (ms)
            QVERIFY(*ms >= 0 && *ms < XScreen::kTimeout);
    }

    // The area at rest is what the screen shows there: a grab after drawing holds the drawn colour.
    void grabShowsWhatIsDrawn()
    {
        fill(QRect(50, 50, 4, 4), 0x00ff0000);
        const auto pixels = m_screen.grab(QRect(50, 50, 4, 4));
        QVERIFY(!pixels.empty());
        QCOMPARE(pixels[0] & 0x00ffffffu, 0x00ff0000u);
    }

    // The benchmark puts the pointer back where it was after the reference's turn.
    void pointerIsWhereItWasMoved()
    {
        for (const QPoint at : {QPoint(17, 23), QPoint(311, 207)}) {
            m_screen.moveTo(at);
            QCOMPARE(m_screen.pointer(), at);
        }
    }
};

QTEST_GUILESS_MAIN(XScreenTest)
#include "tst_xscreen.moc"
