#pragma once

// The X display as a user meets it, for the on-screen benchmark: input sent through XTest, and the
// screen grabbed (through shared memory where the server allows it) and polled until an area
// differs from how it stood at rest. Include it after Qt's headers: Xlib defines names Qt uses.

#include "ScreenLatency.h"

#include <QElapsedTimer>
#include <QRect>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace sw::bench::screen {

// The display: input through XTest, the screen grabbed through shared memory.
class XScreen {
public:
    static constexpr int kStill = 150;      // the screen unchanged this long (ms) is at rest
    static constexpr int kTimeout = 1500;   // an input that shows nothing within this (ms) shows nothing

    ~XScreen()
    {
        dropImage();
        if (m_display)
            XCloseDisplay(m_display);
    }

    bool open()
    {
        m_display = XOpenDisplay(nullptr);
        int event = 0, error = 0, major = 0, minor = 0;
        return m_display && XTestQueryExtension(m_display, &event, &error, &major, &minor) && XShmQueryExtension(m_display);
    }

    // The pixels of `area` now, rows of `stride()` pixels: through shared memory where the server
    // lets this client attach a segment, else copied over the connection.
    std::span<const std::uint32_t> grab(const QRect &area)
    {
        if (m_sharedMemory && (!m_image || m_imageSize != area.size()))
            m_sharedMemory = makeSharedImage(area.size());
        if (!m_sharedMemory) {
            dropImage();
            m_image = XGetImage(m_display, DefaultRootWindow(m_display), area.x(), area.y(), unsigned(area.width()),
                                unsigned(area.height()), AllPlanes, ZPixmap);
            if (!m_image || m_image->bits_per_pixel != 32)
                return {};
            m_imageSize = area.size();
        } else if (!XShmGetImage(m_display, DefaultRootWindow(m_display), m_image, area.x(), area.y(), AllPlanes)) {
            return {};
        }
        return {reinterpret_cast<const std::uint32_t *>(m_image->data), std::size_t(stride()) * std::size_t(area.height())};
    }
    int stride() const { return m_image ? m_image->bytes_per_line / 4 : 0; }

    void key(KeySym symbol, bool control = false)
    {
        const KeyCode code = XKeysymToKeycode(m_display, symbol);
        const KeyCode ctrl = XKeysymToKeycode(m_display, XK_Control_L);
        if (control)
            XTestFakeKeyEvent(m_display, ctrl, True, 0);
        XTestFakeKeyEvent(m_display, code, True, 0);
        XTestFakeKeyEvent(m_display, code, False, 0);
        if (control)
            XTestFakeKeyEvent(m_display, ctrl, False, 0);
        XFlush(m_display);
    }
    void moveTo(QPoint at)
    {
        XTestFakeMotionEvent(m_display, -1, at.x(), at.y(), 0);
        XFlush(m_display);
    }
    // Where the pointer is on the screen.
    QPoint pointer() const
    {
        Window root = 0, child = 0;
        int x = 0, y = 0, windowX = 0, windowY = 0;
        unsigned int mask = 0;
        XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &x, &y, &windowX, &windowY, &mask);
        return QPoint(x, y);
    }
    void button(unsigned number)
    {
        XTestFakeButtonEvent(m_display, number, True, 0);
        XTestFakeButtonEvent(m_display, number, False, 0);
        XFlush(m_display);
    }
    void click(QPoint at)
    {
        moveTo(at);
        button(1);
    }
    void wheel(bool down) { button(down ? 5 : 4); }

    // Waits until `area` has not changed for kStill (at most a few seconds): animations and
    // late paints of the last input are over. Gives the pixels at rest.
    std::vector<std::uint32_t> still(const QRect &area, const std::vector<QRect> &excluded)
    {
        const auto first = grab(area);
        std::vector<std::uint32_t> last(first.begin(), first.end());
        QElapsedTimer total;
        total.start();
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < kStill && total.elapsed() < 5000) {
            QThread::msleep(5);
            const auto now = grab(area);
            if (differs(last, now, stride(), area, excluded)) {
                last.assign(now.begin(), now.end());
                quiet.restart();
            }
        }
        return last;
    }

    // Sends an input with `send` and polls `area` until it differs from how it stood at rest: the
    // milliseconds in between, none when nothing changed in time.
    std::optional<double> latency(const QRect &area, const std::vector<QRect> &excluded, const std::function<void()> &send)
    {
        const std::vector<std::uint32_t> before = still(area, excluded);
        QElapsedTimer timer;
        timer.start();
        send();
        while (timer.elapsed() < kTimeout) {
            const auto now = grab(area);
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            if (differs(before, now, stride(), area, excluded))
                return ms;
        }
        return std::nullopt;
    }

private:
    static inline bool s_refused = false;
    static int refusal(Display *, XErrorEvent *)
    {
        s_refused = true;
        return 0;
    }

    bool makeSharedImage(QSize size)
    {
        dropImage();
        const int screenNumber = DefaultScreen(m_display);
        m_image = XShmCreateImage(m_display, DefaultVisual(m_display, screenNumber), unsigned(DefaultDepth(m_display, screenNumber)),
                                  ZPixmap, nullptr, &m_shm, unsigned(size.width()), unsigned(size.height()));
        if (!m_image)
            return false;
        m_shm.shmid = shmget(IPC_PRIVATE, std::size_t(m_image->bytes_per_line) * std::size_t(m_image->height), IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char *>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        m_attached = true;
        // A server in another namespace (a container's) refuses the segment: then the image is copied.
        s_refused = false;
        XErrorHandler previous = XSetErrorHandler(&refusal);
        XShmAttach(m_display, &m_shm);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        shmctl(m_shm.shmid, IPC_RMID, nullptr);
        m_imageSize = size;
        if (s_refused || m_image->bits_per_pixel != 32) {
            m_attached = !s_refused;
            dropImage();
            return false;
        }
        return true;
    }

    void dropImage()
    {
        if (!m_image)
            return;
        if (m_shm.shmaddr) {
            if (m_attached)
                XShmDetach(m_display, &m_shm);
            m_image->data = nullptr;
            XDestroyImage(m_image);
            shmdt(m_shm.shmaddr);
            m_shm = {};
        } else {
            XDestroyImage(m_image);
        }
        m_attached = false;
        m_image = nullptr;
    }

    bool m_sharedMemory = true;
    bool m_attached = false;

    Display *m_display = nullptr;
    XImage *m_image = nullptr;
    XShmSegmentInfo m_shm{};
    QSize m_imageSize;
};

}  // namespace sw::bench::screen
