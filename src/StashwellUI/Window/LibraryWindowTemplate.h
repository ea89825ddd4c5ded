#pragma once

// The frame of the library window. It arranges five views it is given: a sidebar column, a detail
// column (a bar across its top over the main content, at least 600 wide, with the dotted canvas
// behind), an inspector column that the owner shows and hides, and the status bar, full width
// under all three. It paints each column's backdrop for the window surface: on solid the sidebar
// and the inspector stand on the panel colour and the status bar and the window on the window
// colour; on glass every column is clear and the whole window carries only the window colour at
// 0.66, so what lies behind shows through (the window itself must be translucent for that: the
// application's window sets it up). A window that paints that ground itself (it alone knows
// whether the desktop can show through) turns the frame's own ground off, so that the tint is
// laid once.
//
// The inspector stands beside the content while the window is wide enough for the sidebar, the
// content and the inspector at their least widths; the columns narrow to those widths before
// anything is cut. In a narrower window the inspector keeps its least width and lies over the
// content's trailing edge instead, so that the window's own minimum never counts the inspector.
//
// The bar lies over the top of the content rather than above it, as the window's toolbar would:
// content that scrolls passes under it, softened by the scroll edges and veiled in the window's
// colour under the bar itself, so that nothing reads through the bar. contentSafeAreaInsets()
// tells the content how much of its top the bar covers. The template decides nothing about
// what the views show and never changes showsInspector() itself.

#include <QMargins>
#include <QPointer>
#include <QWidget>

class QScrollBar;
class QSplitter;

namespace sw {

class DotGrid;

class SoftScrollEdges;

class LibraryWindowTemplate : public QWidget {
    Q_OBJECT
public:
    static constexpr double sidebarMinimum = 220;
    static constexpr double sidebarIdeal = 240;
    static constexpr double sidebarMaximum = 300;
    static constexpr double contentMinimum = 600;
    static constexpr double inspectorMinimum = 320;
    static constexpr double inspectorIdeal = 350;
    static constexpr double inspectorMaximum = 440;

    // Takes the five views (and their ownership). The inspector starts hidden.
    LibraryWindowTemplate(QWidget *sidebar, QWidget *bar, QWidget *content, QWidget *inspector, QWidget *status,
                          QWidget *parent = nullptr);
    ~LibraryWindowTemplate() override;

    bool showsInspector() const { return m_showsInspector; }
    void setShowsInspector(bool shows);

    // Whether the frame paints the window's ground (the window colour, or its tint on glass)
    // under the columns; on by default.
    bool paintsGround() const { return m_paintsGround; }
    void setPaintsGround(bool paints);

    // How much of the content's edges the bar covers (the top only).
    QMargins contentSafeAreaInsets() const { return m_insets; }
    // The content's vertical scroll bar, when it has one: the soft edges then fade only what has
    // scrolled under them.
    void followContentScroll(QScrollBar *bar);

    QWidget *sidebar() const { return m_sidebar; }
    QWidget *bar() const { return m_bar; }
    QWidget *content() const { return m_content; }
    QWidget *inspector() const { return m_inspector; }
    QWidget *status() const { return m_status; }
    QSplitter *splitter() const { return m_splitter; }
    // Whether the shown inspector lies over the content (the window is too narrow for it to stand
    // beside the content).
    bool inspectorCovers() const { return m_showsInspector && m_inspectorSlot->isHidden(); }
    // The least width at which the inspector stands beside the content.
    int widthForInspectorBeside() const;
    // The columns the views stand in (their backdrops), and the strip under the status bar.
    QWidget *sidebarColumn() const { return m_sidebarColumn; }
    QWidget *detailColumn() const { return m_detailColumn; }
    // The dotted canvas under the content.
    DotGrid *canvas() const;
    QWidget *inspectorColumn() const { return m_inspectorColumn; }
    QWidget *statusStrip() const { return m_statusStrip; }

signals:
    void showsInspectorChanged(bool shows);
    void contentSafeAreaInsetsChanged(const QMargins &insets);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Backdrop;
    class Detail;
    class Splitter;

    bool m_showsInspector = false;
    // Set while the slot opens beside the content: the column is placed once it stands.
    bool m_docking = false;
    bool m_paintsGround = true;
    QMargins m_insets;
    QPointer<QWidget> m_sidebar;
    QPointer<QWidget> m_bar;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_inspector;
    QPointer<QWidget> m_status;
    QSplitter *m_splitter = nullptr;
    QWidget *m_sidebarColumn = nullptr;
    QWidget *m_detailColumn = nullptr;
    QWidget *m_inspectorColumn = nullptr;
    // Holds the inspector's place in the split while it stands beside the content; the inspector
    // column stands in it then, and fills it.
    QWidget *m_inspectorSlot = nullptr;
    QWidget *m_statusStrip = nullptr;
    SoftScrollEdges *m_edges = nullptr;

    void setInsets(const QMargins &insets);
    void dockInspector();
    void placeInspector();
};

}  // namespace sw
