#include "StashwellUI/Design/ContinuousShape.h"

#include "StashwellUI/Pictures/PaintMemo.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sw::ContinuousShape {

namespace {

// One corner, described in the frame of the corner point C: u runs along the edge that arrives at
// the corner, v along the edge that leaves it (both unit vectors). The corner spends `p` along each
// edge: a cubic eases from the edge into a circular arc of radius r, which a mirrored cubic eases
// back out of.
void addCorner(QPainterPath &path, QPointF corner, QPointF u, QPointF v, double r, double smoothing)
{
    const double p = (1 + smoothing) * r;
    if (r <= 0) {
        path.lineTo(corner);
        return;
    }
    // The arc leaves `alpha` of the quarter circle to each easing curve.
    const double alpha = (std::numbers::pi / 4) * smoothing;
    const double arcMeasure = std::numbers::pi / 2 - 2 * alpha;
    const double halfTan = std::tan(alpha / 2);
    const double c = r * halfTan * std::cos(alpha);
    const double d = r * halfTan * std::sin(alpha);
    const double arcReach = r * (std::cos(alpha) - std::sin(alpha));   // the arc's extent along u to 45 degrees
    const double b = (p - arcReach - c - d) / 3;
    const double a = 2 * b;

    auto at = [&](double alongU, double alongV) { return corner + u * alongU + v * alongV; };

    // Into the arc.
    path.lineTo(at(-p, 0));
    path.cubicTo(at(-(p - a), 0), at(-(p - a - b), 0), at(-(p - a - b - c), d));

    // The arc, as one cubic: on the circle of centre C - r u + r v, from angle alpha to 90 - alpha.
    const QPointF centre = at(-r, r);
    auto onCircle = [&](double phi) { return centre - v * (r * std::cos(phi)) + u * (r * std::sin(phi)); };
    auto tangent = [&](double phi) { return u * std::cos(phi) + v * std::sin(phi); };
    const double k = 4.0 / 3.0 * std::tan(arcMeasure / 4) * r;
    const double phi0 = alpha;
    const double phi1 = std::numbers::pi / 2 - alpha;
    const QPointF arcStart = onCircle(phi0);
    const QPointF arcEnd = onCircle(phi1);
    if (arcMeasure > 0)
        path.cubicTo(arcStart + tangent(phi0) * k, arcEnd - tangent(phi1) * k, arcEnd);

    // Out of the arc, mirrored.
    path.cubicTo(at(0, p - a - b), at(0, p - a), at(0, p));
}

}  // namespace

QPainterPath rect(const QRectF &rect, double radius, double smoothing)
{
    QPainterPath path;
    const QRectF r = rect.normalized();
    if (r.isEmpty() || !std::isfinite(r.width()) || !std::isfinite(r.height()))
        return path;
    if (!(radius > 0) || !std::isfinite(radius)) {
        path.addRect(r);
        return path;
    }
    smoothing = std::clamp(std::isfinite(smoothing) ? smoothing : 0.0, 0.0, 1.0);

    // The room a corner may take along an edge.
    const double room = std::min(r.width(), r.height()) / 2;
    double cornerRadius = std::min(radius, room);
    smoothing = std::min(smoothing, room / cornerRadius - 1);
    smoothing = std::max(smoothing, 0.0);

    const QPointF right(1, 0), down(0, 1), left(-1, 0), up(0, -1);
    path.moveTo(r.left() + (1 + smoothing) * cornerRadius, r.top());
    addCorner(path, r.topRight(), right, down, cornerRadius, smoothing);
    addCorner(path, r.bottomRight(), down, left, cornerRadius, smoothing);
    addCorner(path, r.bottomLeft(), left, up, cornerRadius, smoothing);
    addCorner(path, r.topLeft(), up, right, cornerRadius, smoothing);
    path.closeSubpath();
    return path;
}

QRegion inside(const QRectF &rect, double radius, double smoothing)
{
    const QRectF r = rect.normalized();
    if (r.isEmpty() || !std::isfinite(r.width()) || !std::isfinite(r.height()))
        return {};
    // How far each corner reaches along its edges, as rect() draws it.
    double reach = 0;
    if (radius > 0 && std::isfinite(radius)) {
        const double room = std::min(r.width(), r.height()) / 2;
        const double cornerRadius = std::min(radius, room);
        smoothing = std::clamp(std::isfinite(smoothing) ? smoothing : 0.0, 0.0, 1.0);
        smoothing = std::max(std::min(smoothing, room / cornerRadius - 1), 0.0);
        reach = (1 + smoothing) * cornerRadius;
    }
    // Whole pixels, rounded inwards, a pixel clear of each antialiased edge.
    const auto whole = [](double left, double top, double right, double bottom) {
        const int l = int(std::ceil(left + 1));
        const int t = int(std::ceil(top + 1));
        const int rr = int(std::floor(right - 1));
        const int b = int(std::floor(bottom - 1));
        return rr > l && b > t ? QRegion(l, t, rr - l, b - t) : QRegion();
    };
    // Between the corners, the straight edges: a band across and a band down.
    return whole(r.left() + reach, r.top(), r.right() - reach, r.bottom())
        .united(whole(r.left(), r.top() + reach, r.right(), r.bottom() - reach));
}

QPainterPath capsule(const QRectF &r)
{
    const QRectF n = r.normalized();
    return rect(n, std::min(n.width(), n.height()) / 2);
}

void fill(QPainter &painter, const QRectF &r, double radius, const QColor &color)
{
    const QRectF bounds = r.normalized();
    const QString key = PaintMemo::key(QLatin1StringView("shape.fill"), radius, quint64(color.rgba64()));
    // Beyond its corners' reach along the edges (twice the radius at most) and the pixel its
    // smoothed edge takes, the shape is the colour throughout.
    const double edge = 2 * std::max(radius, 0.0) + 1;
    PaintMemo::drawPieced(
        painter, bounds, edge, key,
        [&](QPainter &p, const QRectF &area) {
            p.setRenderHint(QPainter::Antialiasing);
            p.fillPath(rect(area, radius), color);
        },
        &color);
}

void strokeInside(QPainter &painter, const QRectF &r, double radius, const QColor &color, double lineWidth)
{
    if (!(lineWidth > 0))
        return;
    const double half = lineWidth / 2;
    const QRectF inset = r.normalized().adjusted(half, half, -half, -half);
    if (inset.isEmpty())
        return;
    // The band between the shape and the same shape inset by the line's width, filled: the look
    // of a stroke inside the edge, without the stroker's work (a shelf draws this for every card).
    const QRectF outer = r.normalized();
    // The band's path is only made when it is drawn: most calls find its bitmap kept.
    const auto band = [&](const QRectF &area) {
        QPainterPath path = rect(area, radius);
        if (const QRectF inner = area.adjusted(lineWidth, lineWidth, -lineWidth, -lineWidth); !inner.isEmpty())
            path.addPath(rect(inner, std::max(0.0, radius - lineWidth)));
        path.setFillRule(Qt::OddEvenFill);
        return path;
    };
    const QString key = PaintMemo::key(QLatin1StringView("shape.stroke"), radius, quint64(color.rgba64()), lineWidth);
    // Only the band along the edges is drawn (a card's border would otherwise copy the whole
    // card's area of transparent pixels). A continuous corner reaches up to twice its radius
    // along each edge.
    PaintMemo::drawPieced(painter, outer, std::max(2 * radius, lineWidth), key, [&](QPainter &p, const QRectF &area) {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(band(area), color);
    });
}

}  // namespace sw::ContinuousShape
