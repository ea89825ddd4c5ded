#pragma once

// The library window's surface. While on (the preference "surface" is "glass") the window lets the
// desktop through its window tint; while off it is opaque with the window colour. Letting the
// desktop through needs a compositor: without one (a plain X server) glass is drawn solid, since
// the transparent pixels would show black. There is no behind-window blur on Linux; the tint
// alone carries the glass.
//
// The window must be attached before it is first shown: only then can it get a surface with an
// alpha channel. The state may be set before the window arrives; it applies when it does.

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace sw::app {

class GlassBackdrop final : public QObject {
    Q_OBJECT
public:
    using CompositorCheck = std::function<bool()>;

    // `compositorRunning` is asked each time the state is applied; by default the desktop is asked.
    explicit GlassBackdrop(CompositorCheck compositorRunning = {}, QObject *parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);

    // Takes the window: it gets an alpha-capable surface when a compositor runs now (and repaints
    // itself with fill()).
    void attach(QWidget &window);
    QWidget *window() const { return m_window; }

    // Whether the window lets the desktop through right now.
    bool isTranslucent() const { return m_translucent; }
    // What the window paints beneath its content: the window colour, or its glass tint.
    QColor fill() const;

    // Whether the desktop composites windows: always on Wayland, on X11 when a compositing manager
    // holds the screen's _NET_WM_CM selection; never elsewhere.
    static bool desktopCompositorRunning();

signals:
    void changed();

private:
    void apply();

    CompositorCheck m_compositorRunning;
    QPointer<QWidget> m_window;
    bool m_on = false;
    bool m_translucent = false;
};

}  // namespace sw::app
