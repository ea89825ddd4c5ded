#pragma once

// The fills that follow the window surface. On a solid surface panes and wells are opaque; on a
// glass surface the window lets the desktop through, so wells and pane fills turn partly
// transparent (their borders stay as they are) and the dotted canvas drops its background.
// Views paint with these instead of raw colours, so that a change of surface reaches all of them.
//
// Every function takes the surface to paint for; it defaults to the one in force (Theme), read at
// the moment of painting.

#include "StashwellUI/Design/Theme.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace sw {

class DrawList;

// The fill of a recessed field or track: `base` as it is on solid, at 0.4 of its opacity on glass.
struct WellStyle {
    QColor base;

    // The well of the window colour.
    static WellStyle well();
    // The well of another colour.
    static WellStyle well(const QColor &base);

    QColor resolved(Surface surface = Theme::currentSurface()) const;
    // Fills a rounded rectangle with continuous corners.
    void fill(QPainter &painter, const QRectF &rect, double radius, Surface surface = Theme::currentSurface()) const;

    friend bool operator==(const WellStyle &, const WellStyle &) = default;
};

// A panel or card: a fill behind its content and a border drawn inside its edge over the content.
// Only the fill becomes translucent on glass (0.55 of its opacity).
struct PaneSurface {
    QColor fill;
    QColor stroke;
    double lineWidth = 1;
    double radius = 0;

    // A panel: the panel colour with a line border of 1.
    static PaneSurface panel(double radius);
    // A card: selected (whatever the hover) has an accent border of 2; hovered a muted border at
    // 0.45; otherwise the strong line; all 1 wide but the selected one.
    static PaneSurface card(bool selected, bool hovered, double radius);

    QColor effectiveFill(Surface surface = Theme::currentSurface()) const;

    // The layer under the content.
    void paintBehind(QPainter &painter, const QRectF &rect, Surface surface = Theme::currentSurface()) const;
    // The layer over the content.
    void paintOver(QPainter &painter, const QRectF &rect) const;
    // What paintOver() copies, listed in `list` as `painter` would draw it; false, with nothing
    // listed, where the border is drawn directly (a pane larger than a card).
    bool listOver(DrawList &list, const QPainter &painter, const QRectF &rect) const;

    // Both layers with the content between them; `content` is called with the painter's state
    // saved around it.
    template <typename Content>
    void paint(QPainter &painter, const QRectF &rect, Content &&content, Surface surface = Theme::currentSurface()) const;
    void paint(QPainter &painter, const QRectF &rect, Surface surface = Theme::currentSurface()) const;

    friend bool operator==(const PaneSurface &, const PaneSurface &) = default;
};

// The tint of a chosen row: the accent at 0.14 behind and an accent border at 0.45 over the content
// when on; nothing visible when off. The same on both surfaces.
namespace SelectedTint {
QColor fill(bool on);
QColor stroke(bool on);
void paintBehind(QPainter &painter, const QRectF &rect, bool on, double radius);
void paintOver(QPainter &painter, const QRectF &rect, bool on, double radius);
}  // namespace SelectedTint

// The window's dotted canvas: a 1-point dot every 14 points in both directions, starting at the
// corner and including the far edges when they fall on a step, over the window colour on solid
// and over nothing on glass.
class DotGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr double kStep = 14;
    // The side of a square of the grid that repeats: a whole number of steps.
    static constexpr int tileSide = 16 * int(kStep);

    explicit DotGrid(QWidget *parent = nullptr);

    // The top-left corners of the dots' 1 × 1 squares in a canvas of that size, x outer, y inner.
    static QList<QPointF> dotOrigins(const QSizeF &size);
    // Paints the background and the dots into `rect` (its top-left is the grid's origin).
    // Only the dots that reach into the painter's clip are drawn.
    static void paint(QPainter &painter, const QRectF &rect, Surface surface = Theme::currentSurface());
    // The same, the dots limited to `exposed` (in the painter's coordinates; null: all of them).
    static void paintExposed(QPainter &painter, const QRectF &rect, const QRectF &exposed, Surface surface);

    // Whether a scroll by `dy` points, on a device of `ratio` pixels a point, moves every dot onto
    // a dot: whole steps of the grid, on whole device pixels.
    static bool movesOntoDots(int dy, qreal ratio);
    // `by` points made a whole number of steps, rounded away from zero.
    static int toWholeSteps(int by);
    // Whether the grid covers every pixel of itself (the window colour is opaque, on solid).
    static bool coversItself();
    // Draws the part `exposed` of this grid (in its own coordinates) with its top left at `at`,
    // as the grid shows it: a widget lying over the grid paints it under itself this way, and is
    // then opaque.
    void paintPart(QPainter &painter, const QRect &exposed, const QPoint &at);
    // The copies paintPart() makes, listed in `list` instead of drawn.
    void listPart(DrawList &list, const QRect &exposed, const QPoint &at);
    // A widget over the grid that paints the grid under itself: while it is shown and opaque, the
    // grid leaves the part it covers alone (Qt would paint both, one under the other).
    void setCoveredBy(QWidget *widget) { m_coveredBy = widget; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // On solid the grid covers every pixel of itself, so that nothing under it is painted first
    // (a repaint of what lies over the grid repainted the window's backdrop under it as well).
    void followSurface();
    // The kept image, painted anew when it does not hold the grid at this size and look.
    const QImage &kept();
    // paintPart() into a painter or a list.
    template <typename Target>
    void copyPart(Target &painter, const QRect &exposed, const QPoint &at);

    // The whole grid as painted, kept for the largest size it was shown at, its pixel ratio,
    // colours and surface: whatever
    // lies over the grid repaints it (every scroll step of the shelf does, all of it), and copying
    // the kept pixels costs a fraction of stamping thousands of dots again.
    QImage m_painted;
    // Whether m_painted is one tile of the grid, repeated from the grid's origin, or all of it.
    bool m_tiled = false;
    QPointer<QWidget> m_coveredBy;
    QRgb m_paintedWindow = 0;
    QRgb m_paintedDot = 0;
    Surface m_paintedSurface = Surface::solid;
};

template <typename Content>
void PaneSurface::paint(QPainter &painter, const QRectF &rect, Content &&content, Surface surface) const
{
    paintBehind(painter, rect, surface);
    painter.save();
    std::forward<Content>(content)();
    painter.restore();
    paintOver(painter, rect);
}

}  // namespace sw
