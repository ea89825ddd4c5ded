#pragma once

// The library window: the application's main window, titled "Stashwell", 1440 × 900 at first (less
// where the screen's free area is smaller) and never lower than 520 in its content, so that it fits
// the work area of a 1280 × 720 screen (and a 900 × 600 one) whole: the sidebar's column and the
// shelf scroll, the status bar and the sidebar's foot stay. It holds the menu bar, the window's undo stack (the Edit
// menu's Undo and Redo act on it; the library page records its steps there) and, in its centre,
// the library page; until that page exists, a quiet placeholder with the application's mark.
//
// It paints the surface under its content itself (GlassBackdrop decides solid or glass, and draws
// glass solid where the desktop cannot show through), the only ground under the page, and sets
// the progressive blur as the frost of every soft scroll edge inside it. Closing
// it hides it while `hidesOnClose` says so (a tray icon brings it back); otherwise it closes.

#include <QMainWindow>

#include <functional>

class QUndoStack;

namespace sw::app {

class GlassBackdrop;

class LibraryWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 1440;
    static constexpr int kDefaultHeight = 900;
    static constexpr int kMinimumContentHeight = 520;

    explicit LibraryWindow(GlassBackdrop &backdrop, QWidget *parent = nullptr);
    ~LibraryWindow() override;

    // The size it opens at on a screen with that free area: the default, within the area less
    // the frame the desktop adds.
    static QSize firstSize(QSize available);

    QUndoStack *undoStack() const { return m_undoStack; }

    // Puts a page in the centre instead of the current one (which is deleted).
    void setPage(QWidget *page);
    QWidget *page() const;

    void setHidesOnClose(std::function<bool()> hides) { m_hidesOnClose = std::move(hides); }

    // Shown, out of the minimised state, raised and activated.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    GlassBackdrop &m_backdrop;
    QUndoStack *m_undoStack;
    QWidget *m_frame;
    std::function<bool()> m_hidesOnClose;
};

}  // namespace sw::app
