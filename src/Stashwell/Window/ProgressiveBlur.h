#pragma once

// The frost of the library window's scroll edges: whatever scrolls under a band is blurred and
// frosted at full strength along one edge (top or bottom) and fades to nothing towards the other.
//
// Two layers are composited over the band, bottom first:
//   content  a light blur (radius 1.1) whose strength follows the mask rows, s(t) per row;
//   frost    a strong blur (radius 16) through the colour matrix, shaped by a 17-stop gradient
//            whose alpha is 0.2 × s(t).
// There is no backdrop filter on Linux, so the view paints the scrolling content under its band
// into a small image itself, blurs that (downscaled box blurs standing in for the radii) and
// composites it row by row. When the content cannot be painted that way, nothing is drawn.
//
// The soft scroll edges place the bands; ProgressiveBlur::frost() is what the window sets as its
// scroll-edge frost. The bands take no clicks: the overlay that paints them lets every event through.

#include "StashwellUI/Design/SoftScrollEdges.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <array>
#include <optional>
#include <vector>

namespace sw::app {

enum class VerticalEdge { top, bottom };

struct ProgressiveBlur {
    VerticalEdge edge = VerticalEdge::top;

    static constexpr double kContentRadius = 1.1;
    static constexpr double kFrostRadius = 16.0;
    static constexpr double kFrostAlpha = 0.2;
    static constexpr int kStops = 17;

    // Row-major: red, green and blue out, then alpha out; columns red, green, blue, alpha in and an
    // offset. Greys stay grey, colours lose a little saturation.
    static constexpr std::array<float, 20> kColorMatrix{
        0.8688f, 0.1191f, 0.0121f, 0, 0,  //
        0.0354f, 0.9525f, 0.0120f, 0, 0,  //
        0.0354f, 0.1192f, 0.8454f, 0, 0,  //
        0,       0,       0,       1, 0,
    };

    struct Stop {
        double location;
        double alpha;
    };

    // The strength at t (0 at the top of the band, 1 at its bottom): a quintic smoothstep of the
    // distance from the weak end, reaching 1 a tenth of the way before the strong end.
    static double strength(VerticalEdge edge, double t);
    // The frost's gradient: locations i/16, black at 0.2 × s(location).
    static std::array<Stop, kStops> gradient(VerticalEdge edge);
    // The content blur's mask for a band `height` tall: one alpha per row, the top row first; at
    // least 2 rows, else the next whole number. None for a height that is not finite, not positive
    // or too tall to be a row count.
    static std::optional<std::vector<float>> maskRows(VerticalEdge edge, double height);
    // The frost alpha of each of `rows` rows of the band (the gradient sampled at row centres).
    static std::vector<float> frostRows(VerticalEdge edge, int rows);
    // Multiplies each pixel of the premultiplied colour matrix into `image` (ARGB32 premultiplied).
    static void applyColorMatrix(QImage &image);

    // The window's scroll-edge frost: for each overlay and edge one ProgressiveBlurView paints.
    static ScrollEdgeFrost frost();
};

// The painting state of one band: the built mask and gradient rows, for the edge and height they
// were built for, and the buffers reused from frame to frame. It lives beside the overlay it paints.
class ProgressiveBlurView final : public QObject {
    Q_OBJECT
public:
    explicit ProgressiveBlurView(QObject *parent = nullptr);

    // The view for an edge of `overlay`, made on first use and kept as its child.
    static ProgressiveBlurView *of(QWidget &overlay, VerticalEdge edge);

    VerticalEdge edge() const { return m_edge; }
    // A new edge forgets what was built, so the next paint builds again.
    void setEdge(VerticalEdge edge);

    // Builds the rows when the edge or the band's height changed since the last build. False when
    // nothing could be built (the height is not usable).
    bool prepare(double height);

    // Paints the frost over `band` (in `source`'s coordinates) with `painter`, from what `source`
    // paints there (without its children). Draws nothing when the band or the source is unusable.
    void paint(QPainter &painter, const QRectF &band, QWidget &source);

    // How many times the rows were built.
    int rebuilds() const { return m_rebuilds; }
    // 0 is the full effect; each level uses a smaller buffer and fewer passes, taken automatically
    // when painting a band takes too long.
    int quality() const { return m_level; }
    void setQuality(int level);

    static constexpr int kLevels = 3;
    // The level to paint at next, after `samples` paints at `level` took `averageMs` on average:
    // one cheaper once enough paints show the band over its budget.
    static int levelAfter(int level, double averageMs, int samples);

private:
    struct Drawn {
        VerticalEdge edge;
        double height;
    };

    VerticalEdge m_edge = VerticalEdge::top;
    std::optional<Drawn> m_drawn;
    std::vector<float> m_mask;    // per band row
    std::vector<float> m_frost;   // per band row
    int m_rebuilds = 0;
    int m_level = 0;
    double m_averageMs = 0;
    int m_samples = 0;
    QImage m_small;
    QImage m_blurred;
    QImage m_content;
    QImage m_frostLayer;
};

}  // namespace sw::app
