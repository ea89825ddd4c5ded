#pragma once

// The settings window: a second top-level window, reached from File ▸ Settings (Ctrl+,) and the
// tray's menu. It holds the settings page, which sets the window's size (fixed, following its
// content); before a page is given, its title and the application's mark. It opens centred over the
// window it is asked from and always lies inside its screen's free area, also when its page grows.

#include <QDeadlineTimer>
#include <QWidget>

namespace sw::app {

class SettingsWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 520;
    // How long after it shows the desktop may still be framing it, in ms.
    static constexpr int kFramingMs = 1000;

    explicit SettingsWindow(QWidget *parent = nullptr);

    // Puts a page in the window instead of the current one (which is deleted); the window takes
    // the page's size and keeps following it.
    void setPage(QWidget *page);
    QWidget *page() const;

    // Shown (centred over `over` when it was hidden, and inside its screen's free area), raised
    // and activated.
    void bringToFront(const QWidget *over = nullptr);

protected:
    // An opaque window in the window colour: the settings window has no glass surface.
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The frame the desktop adds is known only once the window is shown, and may push it out: the
    // window is kept inside while the desktop frames it, never against the user moving it later.
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    QDeadlineTimer m_framing;
};

}  // namespace sw::app
