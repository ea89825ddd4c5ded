#pragma once

// The settings window: a second top-level window, reached from File ▸ Settings (Ctrl+,) and the
// tray's menu. It holds the settings page, which sets the window's size (fixed, following its
// content); before a page is given, its title and the application's mark.

#include <QWidget>

namespace sw::app {

class SettingsWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 520;

    explicit SettingsWindow(QWidget *parent = nullptr);

    // Puts a page in the window instead of the current one (which is deleted); the window takes
    // the page's size and keeps following it.
    void setPage(QWidget *page);
    QWidget *page() const;

    // Shown, raised and activated.
    void bringToFront();

protected:
    // An opaque window in the window colour: the settings window has no glass surface.
    void paintEvent(QPaintEvent *event) override;
};

}  // namespace sw::app
