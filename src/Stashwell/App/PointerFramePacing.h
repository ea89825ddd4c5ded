#pragma once

// A pointer that moves and at once presses (a click at a new place, as a pen or a quick hand
// makes) would show the move's hover in a frame of its own: painted, handed to the display and,
// before the next paint may write over that memory, waited for; only then comes the frame of the
// press. A window's repaint asked for while a pointer move is the only input of the last few
// milliseconds waits that long for what may come with it, and any other input (a button, a key,
// the wheel) ends the wait at once: the move's hover then shows in the frame of the press.
// Installed on the application by the program itself (tests drive windows without it).

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>

class QWidget;

namespace sw::app {

class PointerFramePacing final : public QObject {
public:
    // How long a repaint asked for after a pointer move may wait, in ms.
    static constexpr int holdMs = 4;

    explicit PointerFramePacing(QObject *parent = nullptr, int waitMs = holdMs);

    // Whether a repaint asked for `sinceMoveMs` after the last pointer move waits `waitMs`, when
    // nothing but moves came since (`otherInput` says whether anything else did).
    static bool holds(qint64 sinceMoveMs, bool otherInput, int waitMs = holdMs);

    // Repaints held now.
    int held() const { return int(m_held.size()); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release(QWidget *window);
    void releaseAll();

    int m_waitMs;
    QElapsedTimer m_sinceMove;
    bool m_otherInput = true;
    // The windows whose repaint waits, and those whose next repaint goes through (the one posted
    // when the wait ends: a pointer that keeps moving never keeps a window from painting).
    QHash<QWidget *, QPointer<QWidget>> m_held;
    QHash<QWidget *, QPointer<QWidget>> m_passing;
};

}  // namespace sw::app
