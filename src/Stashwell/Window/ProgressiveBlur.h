#pragma once

// The frost of the library window's scroll edges: whatever scrolls under a band is blurred and
// frosted at full strength along one edge (top or bottom) and fades to nothing towards the other.
//
// Two layers are composited over the band, bottom first:
//   content  a light blur (radius 1.1) whose strength follows the mask rows, s(t) per row;
//   frost    a strong blur (radius 16) through the colour matrix, shaped by a 17-stop gradient
//            whose alpha is 0.2 × s(t).
// There is no backdrop filter on Linux, so the view paints the scrolling content under its band
// into a small image itself, blurs that (downscaled box blurs standing in for the radii), makes
// both layers one at that small scale row by row and draws it scaled up once. When the content
// cannot be painted that way, nothing is drawn. What a band costs is measured (FrostMeter): when it
// costs too much next to the rest of the frame, the bands step down to a cheaper blur.
//
// The soft scroll edges place the bands; ProgressiveBlur::frost() is what the window sets as its
// scroll-edge frost. The bands take no clicks: the overlay that paints them lets every event through.

#include "StashwellUI/Design/SoftScrollEdges.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>

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

// What the frames of one overlay cost lately, as they were painted.
struct FrameCosts {
    // The median time from the first paint of the content's widgets in a frame to the overlay's
    // own paint: the frame as it would be without the frost.
    double frameMs = 0;
    // The median time the bands of the overlay took in those frames.
    double frostMs = 0;
    // How many frames the medians are taken over (all painted at the bands' current level).
    int frames = 0;
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
    // and its children paint there; soft scroll edge overlays among the children are left out (they
    // are what paints the bands). Only the part of the band inside the painter's clip is worked
    // out and drawn; the rows keep the strengths of the whole band. Draws nothing when the band or
    // the source is unusable.
    // `freshBeneath`: the whole band is being repainted, so what lies under it in the window's
    // buffer is what the content just painted there; it is read from there instead of painted again.
    void paint(QPainter &painter, const QRectF &band, QWidget &source, bool freshBeneath = false);

    // How many times the rows were built.
    int rebuilds() const { return m_rebuilds; }
    // 0 is the full effect; each level paints the content at a smaller scale and blurs with fewer
    // passes. FrostMeter moves the bands of an overlay to a cheaper level when they cost too much.
    int quality() const { return m_level; }
    void setQuality(int level);

    static constexpr int kLevels = 3;
    // The frost may add this share of a frame painted without it (the frame with it stays within
    // 1.5 times the frame without) ...
    static constexpr double kAllowedShare = 0.5;
    // ... and on its own never takes more than it would add to a frame at the budget (a frame
    // already heavy without the frost is not the frost's doing, and a cheaper blur would not save it).
    static constexpr double kFrameBudgetMs = 10.0;
    static constexpr double kFrostBudgetMs = kFrameBudgetMs * kAllowedShare / (1 + kAllowedShare);
    // Frames measured at a level before it is judged: the first paints at a level make its buffers.
    static constexpr int kJudgedAfter = 8;
    // The level to paint at next, from `level` and what the frames at that level cost: one cheaper
    // when the frost adds more than its share of the frame, or takes more than its budget.
    static int levelAfter(int level, const FrameCosts &costs);

private:
    struct Drawn {
        VerticalEdge edge;
        double height;
    };
    // The rows' factors (0 to 256) at the paint's scale, for the band rows from `offset` on.
    void prepareScaledRows(int scale, int offset, int rows);

    VerticalEdge m_edge = VerticalEdge::top;
    std::optional<Drawn> m_drawn;
    std::vector<float> m_mask;    // per band row
    std::vector<float> m_frost;   // per band row
    int m_rebuilds = 0;
    int m_level = 0;
    // What the rows were scaled for: scale, offset and rows; the factors per scaled row.
    std::array<int, 3> m_scaledFor{0, 0, 0};
    std::vector<quint32> m_contentFactors;
    std::vector<quint32> m_frostFactors;
    QImage m_small;       // the content at the level's scale
    QImage m_blurred;     // the frost at half of that
    QImage m_frostSmall;  // the frost brought back to the content's scale
    std::vector<quint32> m_line;
    std::vector<quint32> m_sums;
};

// Measures the frames in which an overlay's bands are painted and moves the bands to a cheaper
// level when levelAfter() says so. Both costs are the main thread's CPU time, so time spent
// waiting for events or for a busy machine counts in neither: a frame is what the thread did from
// the end of the last bands to the overlay's next paint (the scroll, the content's paint, whatever
// else ran), the frost what the bands took. One meter per overlay, made on first use, its child.
class FrostMeter final : public QObject {
    Q_OBJECT
public:
    static FrostMeter *of(QWidget &overlay);

    // Whether `band` (in the overlay's coordinates) is in what the overlay repaints now.
    bool needs(const QRectF &band) const;
    // Whether all of `band` that lies on the overlay is in what the overlay repaints now.
    bool repaintsWhole(const QRectF &band) const;
    // `band` of the overlay took `ms` to paint in the current frame.
    void bandPainted(const QRectF &band, double ms);
    // One frame measured: judges the bands once enough frames were measured at their level. Only
    // frames that repainted the whole of every band they painted are measured.
    void add(double frameMs, double frostMs);
    // The medians of the frames measured at the current level.
    FrameCosts costs() const;

    static constexpr int kKept = 16;
    static double threadCpuMs();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FrostMeter(QWidget &overlay);
    void finishFrame();

    QPointer<QWidget> m_overlay;
    double m_lastBandEnd = -1;   // thread CPU ms when the last band was done
    double m_frameMs = -1;       // the frame before the bands, while its bands paint
    double m_frostMs = 0;
    bool m_partial = false;      // a band was painted for a part of it only
    QRegion m_region;            // what the overlay repaints now
    std::array<double, kKept> m_frames{};
    std::array<double, kKept> m_frosts{};
    int m_count = 0;   // frames kept, at most kKept
    int m_next = 0;
};

}  // namespace sw::app
