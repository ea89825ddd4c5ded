#pragma once

// The window of the quick save: a small frameless dialog of a fixed size that holds the popover, shown near
// the pointer (below it when the pointer is in the upper half of its screen, as under a tray at
// the top, else above it) and kept inside the screen's free area; centred on the screen where the
// platform does not let an application place its windows (Wayland). It draws a hairline edge of
// its own. It closes when it loses the focus to anything but a menu of its own, and on Escape.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace sw {
class QuickSavePopover;
}

namespace sw::app {

class QuickSavePopup final : public QWidget {
    Q_OBJECT
public:
    // The gap between the pointer and the window.
    static constexpr int kPointerGap = 8;
    // The width of the window's edge.
    static constexpr int kEdge = 1;

    explicit QuickSavePopup(QWidget *parent = nullptr);
    ~QuickSavePopup() override;

    QuickSavePopover *popover() const { return m_popover; }

    // Shown, raised and activated, near the pointer or centred (see above).
    void showNear(QPoint pointer);

    // Where a window of that size goes for a pointer on a screen with that free area.
    static QPoint placement(QSize size, QPoint pointer, QRect available);
    static QPoint centred(QSize size, QRect available);
    // Whether the platform lets the application move its windows.
    static bool platformPlacesWindows();

signals:
    void shown();
    void hidden();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QuickSavePopover *m_popover;
};

}  // namespace sw::app
