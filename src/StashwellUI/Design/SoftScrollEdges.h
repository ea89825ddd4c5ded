#pragma once

// Soft scroll edges: a frosted band over the top and bottom of a scrolling area, under the title
// bar and over the status bar, so that content scrolling away fades instead of being cut off.
// This module only leaves the hook: the application's window decides what a band looks like and
// sets it on the widget tree (ScrollEdgeFrost); every SoftScrollEdges overlay below that point
// asks the nearest setting when it paints. Without a setting no frost is drawn.
//
// Where a bar of the window lies over the content (a safe-area inset), a frost alone leaves what
// scrolls under the bar readable through it, and its text runs into the bar's own. An overlay given
// a veil colour (the surface the content stands on) covers the inset with that colour and fades it
// out across the band's tail, over the frost, so content melts into the surface before it reaches
// the bar. The veil is drawn with or without a frost.

#include <QColor>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QPainter;
class QScrollBar;

namespace sw {

// Paints the band at one edge (Qt::TopEdge or Qt::BottomEdge) into `band`, on the main thread.
using ScrollEdgeFrost = std::function<void(QPainter &painter, const QRectF &band, Qt::Edge edge)>;

namespace ScrollEdgeFrostSetting {

// Sets the frost for `ancestor` and everything under it (a nearer setting wins); an empty function
// removes the setting. Overlays below repaint.
void set(QWidget &ancestor, ScrollEdgeFrost frost);
// The frost in force at `widget`: its own setting or its nearest ancestor's; none when no ancestor
// sets one.
ScrollEdgeFrost find(const QWidget *widget);

}  // namespace ScrollEdgeFrostSetting

// An overlay over `content` that draws the frost bands at the chosen edges. It follows the
// content's size, stays above the content's children, lets every click and scroll through and is
// hidden from accessibility. Each band reaches from the outer edge of its safe-area inset (the part
// of the content under a bar) 28 points into the content.
class SoftScrollEdges : public QWidget {
    Q_OBJECT
public:
    static constexpr double kTail = 28;

    SoftScrollEdges(QWidget *content, bool top, bool bottom);

    bool top() const { return m_top; }
    bool bottom() const { return m_bottom; }

    // The heights of the bars over the content's top and bottom (only top and bottom are used).
    QMargins safeAreaInsets() const { return m_insets; }
    void setSafeAreaInsets(const QMargins &insets);

    // The band at an edge for an overlay of `size`: none when that edge is not chosen.
    static std::optional<QRectF> band(Qt::Edge edge, const QSizeF &size, const QMargins &insets, bool chosen);
    std::optional<QRectF> band(Qt::Edge edge) const;

    // The colour the content fades into under a bar, read when the overlay paints (none: no
    // veil, the default).
    using VeilColour = QColor (*)();
    void setVeil(VeilColour colour);
    VeilColour veil() const { return m_veil; }
    // The veil's opacity, 0 to 1, at `depth` pixels in from the outer edge of a band over an inset
    // of `inset` pixels: opaque across the inset, on glass too (even a tenth of light text left
    // over a dark tint still reads), then falling smoothly to nothing at the end of the tail.
    // Nothing where there is no inset.
    static double veilOpacity(double depth, double inset);
    // The part of the band at `edge` whose frost can show, for a band shown at `shown` strength
    // over an inset of `inset` pixels under a veil of `veil` (invalid: none): all of it, but for
    // the inset where an opaque veil covers it at full strength. The frost is worked out there only.
    static QRectF frosted(const QRectF &band, Qt::Edge edge, double inset, double shown, const QColor &veil);

    // Lets each band fade only content that has scrolled under it: with a scroll bar followed, the
    // top band shows as far as the content has scrolled past the top and the bottom band as far as
    // content is left below, each at full strength once that is a band's tail or more. Content at
    // rest at an edge is then left clear instead of blurred into the empty band beside it (a band
    // over empty space would otherwise spread the colours just inside the edge across itself).
    // Without a scroll bar (the default) both bands always show.
    void followScroll(QScrollBar *bar);
    // The strength of a band, 0 to 1, for a scroll bar at `value` within [minimum, maximum]: the
    // distance to that edge's end of the range over kTail.
    static double strength(Qt::Edge edge, int value, int minimum, int maximum);
    // The strength now: 1 without a followed scroll bar.
    double strength(Qt::Edge edge) const;
    // What a move of the followed scroll bar from `before` to `after` (each a strength per edge,
    // top then bottom) repaints of an overlay of `size`: only the bands whose strength changed. The
    // content under a band repaints it as the content scrolls; a whole overlay repainted on every
    // step would repaint all the content and its frost once more.
    static QRegion changedBands(const std::pair<double, double> &before, const std::pair<double, double> &after,
                                const QSizeF &size, const QMargins &insets, bool top, bool bottom);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();
    void fitMask();
    void scrolled();
    void paintVeil(QPainter &painter, const QRectF &band, Qt::Edge edge, double inset) const;

    QPointer<QWidget> m_content;
    QPointer<QScrollBar> m_scroll;
    std::pair<double, double> m_strengths{1, 1};   // top and bottom, as last asked to paint
    bool m_top = false;
    bool m_bottom = false;
    QMargins m_insets;
    VeilColour m_veil = nullptr;
};

}  // namespace sw
