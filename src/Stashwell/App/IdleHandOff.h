#pragma once

// Qt's X11 backing store hands each frame to the X server in memory both share, and before the
// next frame may paint over that memory it asks the server whether it has read it all: a round trip
// at the start of the next frame, that is when an input waits to be shown, and one as long as
// whatever the server is busy with at that moment (another client, a screen grab). Asked as soon
// as the program is idle after a frame, the same question is answered while nothing waits, and
// the next frame starts painting at once. "Idle" is when the event loop would wait and every event
// already posted (an input's own turn, a frame's update request) has been delivered: the loop says
// it is about to wait before it looks at what is posted, and a question asked then would keep that
// input waiting for its answer.
//
// The question is put through the backing store's own start of a paint, for one pixel the last
// frame painted: it touches nothing else (a pixel the server scrolled for a window would be read
// back from the program's memory instead), and it is never asked of a window with an alpha
// channel, whose paints start by clearing what they cover. Installed on the application by the
// program itself on X11 (tests drive windows without it).

#include <QEvent>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <utility>

class QWidget;

namespace sw::app {

class IdleHandOff final : public QObject {
    Q_OBJECT
public:
    // Hands off on X11 only: elsewhere a backing store keeps no memory shared with the display.
    explicit IdleHandOff(QObject *parent = nullptr);

    // Whether the platform's backing store is the one this is for.
    static bool applies();
    // Whether `window`'s backing store may start a paint it does not carry out: it exists, shows
    // and keeps no alpha channel.
    static bool settles(const QWidget &window);

    // How many frames were handed off while idle so far.
    int handedOff() const { return m_handedOff; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void aboutToWait();
    void handOff();
    static QEvent::Type handOffEvent();

    // The window whose frame is being painted and whose first painted pixel is not yet known.
    QPointer<QWidget> m_painting;
    // Windows painted since the last idle moment, each with a pixel its last frame painted.
    QHash<QWidget *, std::pair<QPointer<QWidget>, QPoint>> m_painted;
    int m_handedOff = 0;
    // A hand-off is posted behind everything else and not yet delivered.
    bool m_posted = false;
};

}  // namespace sw::app
