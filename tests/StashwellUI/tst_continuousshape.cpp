#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/ContinuousShape.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

using namespace sw;

class TestContinuousShape : public QObject {
    Q_OBJECT
private slots:
    void boundsAreTheRectangle_data();
    void boundsAreTheRectangle();
    void outlineHasNoKinks_data();
    void outlineHasNoKinks();
    void cornersAreCutAndSymmetric_data();
    void cornersAreCutAndSymmetric();
    void cornerEasesInEarlierThanACircle();
    void degenerateInput_data();
    void degenerateInput();
    void capsuleHasRoundEnds();
    void strokeStaysInside();
    void insideIsWhollyCovered_data();
    void insideIsWhollyCovered();
    void shadowLeftOutWhereCovered_data();
    void shadowLeftOutWhereCovered();
    void shadowIsTheMeanOfEachWindow_data();
    void shadowIsTheMeanOfEachWindow();
};

namespace {

void addShapes()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("radius");
    QTest::newRow("card") << QRectF(0, 0, 220, 300) << 18.0;
    QTest::newRow("offset well") << QRectF(12.5, 30, 140, 32) << 10.0;
    QTest::newRow("radius above half the height") << QRectF(0, 0, 120, 30) << 40.0;
    QTest::newRow("easing squeezed by a short side") << QRectF(0, 0, 100, 34) << 14.0;
    QTest::newRow("square avatar") << QRectF(0, 0, 34, 34) << 10.2;
    QTest::newRow("tall") << QRectF(-20, -40, 30, 200) << 8.0;
}

}  // namespace

void TestContinuousShape::boundsAreTheRectangle_data() { addShapes(); }

void TestContinuousShape::boundsAreTheRectangle()
{
    QFETCH(QRectF, rect);
    QFETCH(double, radius);
    const QPainterPath path = ContinuousShape::rect(rect, radius);
    const QRectF bounds = path.boundingRect();
    QVERIFY2(std::abs(bounds.left() - rect.left()) < 1e-6 && std::abs(bounds.right() - rect.right()) < 1e-6 &&
                 std::abs(bounds.top() - rect.top()) < 1e-6 && std::abs(bounds.bottom() - rect.bottom()) < 1e-6,
             qPrintable(QStringLiteral("bounds %1,%2 %3x%4")
                            .arg(bounds.x())
                            .arg(bounds.y())
                            .arg(bounds.width())
                            .arg(bounds.height())));
    QVERIFY(path.contains(rect.center()));
}

void TestContinuousShape::outlineHasNoKinks_data() { addShapes(); }

// Walking the outline, the direction turns smoothly everywhere: a misplaced control point
// would show as a sudden turn.
void TestContinuousShape::outlineHasNoKinks()
{
    QFETCH(QRectF, rect);
    QFETCH(double, radius);
    const QPainterPath path = ContinuousShape::rect(rect, radius);
    const int samples = 4000;
    double previous = path.angleAtPercent(0);
    double turned = 0;
    for (int i = 1; i <= samples; ++i) {
        const double angle = path.angleAtPercent(static_cast<double>(i) / samples);
        double step = angle - previous;
        while (step > 180)
            step -= 360;
        while (step < -180)
            step += 360;
        QVERIFY2(std::abs(step) < 6, qPrintable(QStringLiteral("turn of %1 degrees at %2").arg(step).arg(i)));
        turned += step;
        previous = angle;
    }
    // One full turn around the shape.
    QVERIFY2(std::abs(std::abs(turned) - 360) < 8, qPrintable(QString::number(turned)));
}

void TestContinuousShape::cornersAreCutAndSymmetric_data() { addShapes(); }

void TestContinuousShape::cornersAreCutAndSymmetric()
{
    QFETCH(QRectF, rect);
    QFETCH(double, radius);
    const QPainterPath path = ContinuousShape::rect(rect, radius);
    const QPointF inset(0.3, 0.3);
    QVERIFY(!path.contains(rect.topLeft() + inset));
    QVERIFY(!path.contains(rect.topRight() + QPointF(-0.3, 0.3)));
    QVERIFY(!path.contains(rect.bottomLeft() + QPointF(0.3, -0.3)));
    QVERIFY(!path.contains(rect.bottomRight() - inset));
    // Mirror symmetry across both axes.
    const QPointF c = rect.center();
    for (int i = 0; i <= 40; ++i) {
        for (int j = 0; j <= 40; ++j) {
            const QPointF p(rect.left() + rect.width() * i / 40.0 * 0.999 + 0.0005 * rect.width(),
                            rect.top() + rect.height() * j / 40.0 * 0.999 + 0.0005 * rect.height());
            const QPointF mirrored(2 * c.x() - p.x(), p.y());
            const QPointF flipped(p.x(), 2 * c.y() - p.y());
            // Points very close to the outline may fall either way by rounding; skip those.
            QPainterPathStroker stroker;
            stroker.setWidth(0.02);
            if (stroker.createStroke(path).contains(p))
                continue;
            QCOMPARE(path.contains(mirrored), path.contains(p));
            QCOMPARE(path.contains(flipped), path.contains(p));
        }
    }
}

// Where a circular corner of the same radius has just met the straight edge, the continuous
// corner has already begun to curve away from it; at the corner's diagonal the two agree.
void TestContinuousShape::cornerEasesInEarlierThanACircle()
{
    const QRectF rect(0, 0, 200, 200);
    const double r = 20;
    const QPainterPath continuous = ContinuousShape::rect(rect, r);
    QPainterPath circular;
    circular.addRoundedRect(rect, r, r);
    const QPointF nearEdge(r - 0.5, 0.12);   // just past where the circular arc meets the top edge
    QVERIFY(circular.contains(nearEdge));
    QVERIFY(!continuous.contains(nearEdge));
    // On the diagonal both follow the same circle.
    const double onArc = r - r / std::numbers::sqrt2;
    QVERIFY(continuous.contains(QPointF(onArc + 0.2, onArc + 0.2)));
    QVERIFY(!continuous.contains(QPointF(onArc - 0.2, onArc - 0.2)));
    // Far enough along the edge the outline is straight.
    QVERIFY(continuous.contains(QPointF(1.6 * r + 0.5, 0.05)));
}

void TestContinuousShape::degenerateInput_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("radius");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("plainRectangle");
    QTest::newRow("zero radius") << QRectF(0, 0, 50, 20) << 0.0 << false << true;
    QTest::newRow("negative radius") << QRectF(0, 0, 50, 20) << -4.0 << false << true;
    QTest::newRow("NaN radius") << QRectF(0, 0, 50, 20) << std::nan("") << false << true;
    QTest::newRow("infinite radius") << QRectF(0, 0, 50, 20) << std::numeric_limits<double>::infinity() << false << true;
    QTest::newRow("empty rectangle") << QRectF(5, 5, 0, 20) << 4.0 << true << false;
    QTest::newRow("negative size is normalised") << QRectF(50, 20, -50, -20) << 4.0 << false << false;
}

void TestContinuousShape::degenerateInput()
{
    QFETCH(QRectF, rect);
    QFETCH(double, radius);
    QFETCH(bool, empty);
    QFETCH(bool, plainRectangle);
    const QPainterPath path = ContinuousShape::rect(rect, radius);
    QCOMPARE(path.isEmpty(), empty);
    if (empty)
        return;
    QCOMPARE(path.boundingRect(), rect.normalized());
    QCOMPARE(path.contains(rect.normalized().topLeft() + QPointF(0.1, 0.1)), plainRectangle);
}

void TestContinuousShape::capsuleHasRoundEnds()
{
    const QRectF rect(0, 0, 100, 20);
    const QPainterPath capsule = ContinuousShape::capsule(rect);
    QCOMPARE(capsule.boundingRect(), rect);
    // The ends are half circles of radius 10 around (10, 10) and (90, 10).
    QVERIFY(capsule.contains(QPointF(2, 10)));
    QVERIFY(!capsule.contains(QPointF(2.5, 3)));    // 10.6 from the centre
    QVERIFY(capsule.contains(QPointF(4, 4.5)));     // 8.1 from the centre
    QVERIFY(capsule.contains(QPointF(97.5, 10)));
    QVERIFY(!capsule.contains(QPointF(97.5, 17)));
    // A tall capsule rounds the top and bottom.
    const QPainterPath tall = ContinuousShape::capsule(QRectF(0, 0, 20, 100));
    QVERIFY(!tall.contains(QPointF(3, 2.5)));
    QVERIFY(tall.contains(QPointF(10, 2)));
}

void TestContinuousShape::strokeStaysInside()
{
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        ContinuousShape::strokeInside(painter, QRectF(10, 10, 40, 20), 6, Qt::red, 2);
    }
    int inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool painted = qAlpha(image.pixel(x, y)) > 0;
            const bool within = x >= 10 && x < 50 && y >= 10 && y < 30;
            if (painted)
                QVERIFY2(within, qPrintable(QStringLiteral("painted outside at %1,%2").arg(x).arg(y)));
            if (painted && within)
                ++inside;
        }
    }
    // The edges themselves carry the line: the top edge's middle pixel is fully painted.
    QCOMPARE(qAlpha(image.pixel(30, 10)), 255);
    QCOMPARE(qAlpha(image.pixel(30, 20)), 0);
    QVERIFY(inside > 100);
}

void TestContinuousShape::insideIsWhollyCovered_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("share");   // of the rectangle's area the region takes at least
    QTest::newRow("card") << QRectF(24, 16, 220, 300) << 18.0 << 0.85;
    QTest::newRow("list pane") << QRectF(24, -40, 300, 700) << 18.0 << 0.9;
    QTest::newRow("capsule") << QRectF(0, 0, 120, 30) << 40.0 << 0.6;
    QTest::newRow("tall") << QRectF(-20, -40, 30, 200) << 8.0 << 0.7;
    QTest::newRow("all corners") << QRectF(0, 0, 34, 34) << 10.2 << 0.0;
    QTest::newRow("square corners") << QRectF(3, 5, 50, 20) << 0.0 << 0.7;
}

// Every pixel of the region is fully painted by the shape's fill, wherever the shape falls
// within a device pixel, at whole and fractional scales.
void TestContinuousShape::insideIsWhollyCovered()
{
    QFETCH(QRectF, rect);
    QFETCH(double, radius);
    QFETCH(double, share);
    for (const double shift : {0.0, 0.3, 0.5, 0.77}) {
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            const QRectF shape = rect.translated(shift, shift * 2);
            const QRegion region = ContinuousShape::inside(shape, radius);
            QVERIFY(QRegion(shape.toAlignedRect()).contains(region.boundingRect()) || region.isEmpty());
            qint64 area = 0;
            for (const QRect &r : region)
                area += qint64(r.width()) * r.height();
            QVERIFY2(double(area) >= share * shape.width() * shape.height(), "more than the corners and the edges left out");
            const QRect bounds = shape.toAlignedRect();
            QImage image((QSizeF(bounds.size()) * ratio).toSize() + QSize(2, 2), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            {
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.translate(-bounds.topLeft());
                painter.fillPath(ContinuousShape::rect(shape, radius), Qt::black);
            }
            for (const QRect &r : region) {
                const QRect device(QPoint(int(std::floor((r.left() - bounds.left()) * ratio)), int(std::floor((r.top() - bounds.top()) * ratio))),
                                   QPoint(int(std::ceil((r.right() + 1 - bounds.left()) * ratio)) - 1,
                                          int(std::ceil((r.bottom() + 1 - bounds.top()) * ratio)) - 1));
                for (int y = device.top(); y <= device.bottom(); ++y) {
                    const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                    for (int x = device.left(); x <= device.right(); ++x)
                        if (qAlpha(line[x]) != 255)
                            QFAIL(qPrintable(QStringLiteral("not covered at %1,%2 (shift %3, scale %4)").arg(x).arg(y).arg(shift).arg(ratio)));
                }
            }
        }
    }
}

namespace {

// The blur worked out the plain way: every pixel the mean of its window, read from the image as
// it was before the pass, pixels past the edge counting as clear.
void slowPass(QImage &image, int radius, bool horizontal)
{
    const QImage before = image.copy();
    const int length = horizontal ? image.width() : image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int at = horizontal ? x : y;
            int sum = 0;
            for (int i = at - radius; i <= at + radius; ++i)
                if (i >= 0 && i < length)
                    sum += horizontal ? before.constScanLine(y)[i] : before.constScanLine(i)[x];
            image.scanLine(y)[x] = uchar(sum / (2 * radius + 1));
        }
    }
}

}  // namespace

void TestContinuousShape::shadowIsTheMeanOfEachWindow_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<double>("blur");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("a card") << QSizeF(120, 48) << 18.0 << qreal(1);
    QTest::newRow("odd sizes, scale 1.5") << QSizeF(37.5, 21) << 10.0 << qreal(1.5);
    QTest::newRow("smaller than its blur, scale 2") << QSizeF(3, 5) << 12.0 << qreal(2);
}

// A card's shadow is its shape blurred: the same to the pixel as the blur worked out the plain way.
void TestContinuousShape::shadowIsTheMeanOfEachWindow()
{
    QFETCH(QSizeF, size);
    QFETCH(double, blur);
    QFETCH(qreal, ratio);
    const double radius = 8;
    const double margin = CardShadow::reach(blur);
    QImage expected(int(std::ceil((size.width() + 2 * margin) * ratio)), int(std::ceil((size.height() + 2 * margin) * ratio)),
                    QImage::Format_Alpha8);
    expected.fill(0);
    {
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(ratio, ratio);
        ContinuousShape::fill(painter, QRectF(QPointF(margin, margin), size), radius, Qt::black);
    }
    const int box = std::max(1, int(std::lround(blur * ratio / 3)));
    for (int pass = 0; pass < 3; ++pass) {
        slowPass(expected, box, true);
        slowPass(expected, box, false);
    }
    expected.setDevicePixelRatio(ratio);
    QCOMPARE(CardShadow::image(size, radius, blur, ratio), expected);
}

// A shadow painted around what covers it, and then the cover painted opaque, is the shadow painted
// whole and then covered; and inside the cover nothing of the shadow was painted.
void TestContinuousShape::shadowLeftOutWhereCovered_data()
{
    QTest::addColumn<QRectF>("card");
    QTest::addColumn<QRectF>("covered");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("the inside of a card") << QRectF(30, 20, 160, 90) << QRectF(46, 36, 128, 58) << qreal(1);
    QTest::newRow("on half pixels, scale 1.5") << QRectF(30.5, 20, 160, 90) << QRectF(46.25, 36.5, 127.5, 57) << qreal(1.5);
    QTest::newRow("scale 2") << QRectF(30, 20, 160, 90) << QRectF(46, 36, 128, 58) << qreal(2);
    QTest::newRow("reaching past the shadow") << QRectF(30, 20, 160, 90) << QRectF(0, 40, 400, 20) << qreal(1);
    QTest::newRow("beside the shadow") << QRectF(30, 20, 160, 90) << QRectF(300, 10, 40, 40) << qreal(1);
}

void TestContinuousShape::shadowLeftOutWhereCovered()
{
    QFETCH(QRectF, card);
    QFETCH(QRectF, covered);
    QFETCH(qreal, ratio);
    const auto painted = [&](bool leftOut, bool cover) {
        QImage image(QSize(360, 200) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(QColor(240, 236, 230));
        QPainter painter(&image);
        CardShadow::paint(painter, card, 12, 14, QPointF(0, 4), 0.6, leftOut ? covered : QRectF());
        if (cover)
            painter.fillRect(covered, QColor(20, 90, 160));
        return image;
    };
    QCOMPARE(painted(true, true), painted(false, true));
    const QImage around = painted(true, false);
    const QImage whole = painted(false, false);
    const QPoint middle = (covered.center() * ratio).toPoint();
    if (QRect(QPoint(), whole.size()).contains(middle) && whole.pixel(middle) != qRgb(240, 236, 230))
        QCOMPARE(QColor(around.pixel(middle)), QColor(240, 236, 230));
}

QTEST_MAIN(TestContinuousShape)
#include "tst_continuousshape.moc"
