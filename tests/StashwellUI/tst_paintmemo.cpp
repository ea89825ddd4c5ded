#include "StashwellUI/Pictures/PaintMemo.h"

#include "StashwellUI/Design/ContinuousShape.h"

#include "PaintTesting.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include <functional>
#include <limits>
#include <optional>

using namespace sw;

namespace {

// A look with an antialiased edge and a hard one, so that a copy that is off by a pixel shows.
void paintLook(QPainter &painter, const QRectF &area)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(area.left(), area.top(), area.width() / 2, area.height()), QColor(200, 30, 30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 180, 200));
    painter.drawEllipse(area.adjusted(2, 2, -2, -2));
}

QImage canvas(double dpr)
{
    QImage image(int(80 * dpr), int(60 * dpr), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace

class TestPaintMemo : public QObject {
    Q_OBJECT
private slots:
    void keysWriteEveryNumber_data();
    void keysWriteEveryNumber();
    void copyMatchesDirectPainting_data();
    void copyMatchesDirectPainting();
    void paintsOncePerKeyAndSize();
    void transformedPaintingIsDirect();
    void emptyOrEndlessRectanglesDrawNothing();
    void edgesAloneCopyTheBorder_data();
    void edgesAloneCopyTheBorder();
    void inPlaceCopyMatchesDirectPainting_data();
    void inPlaceCopyMatchesDirectPainting();
    void inPlaceEdgesCopyTheRing();
    void filledShapesFillTheirMiddle_data();
    void ownDrawingsAreKeptOnlyOutsideAWholeImage();
    void filledShapesFillTheirMiddle();
    void piecedShapesMatchDirectPainting_data();
    void piecedShapesMatchDirectPainting();
};

void TestPaintMemo::keysWriteEveryNumber_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing but the kind") << PaintMemo::key(QLatin1StringView("pane")) << "pane";
    QTest::newRow("integers and fractions") << PaintMemo::key(QLatin1StringView("shape"), 318, 336.5, 1.25, -3)
                                            << "shape|318|336.5|1.25|-3";
    // A 64-bit colour differing in its last bit only is another look.
    QTest::newRow("a 64-bit colour exactly") << PaintMemo::key(QLatin1StringView("fill"), quint64(0xffff00000000ffffULL))
                                             << "fill|18446462598732906495";
    QTest::newRow("the largest numbers") << PaintMemo::key(QLatin1StringView("x"), -1.7976931348623157e308,
                                                           std::numeric_limits<qint64>::min())
                                         << "x|-1.7976931348623157e+308|-9223372036854775808";
}

void TestPaintMemo::keysWriteEveryNumber()
{
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(key, expected);
}

void TestPaintMemo::copyMatchesDirectPainting_data()
{
    QTest::addColumn<double>("dpr");
    QTest::addColumn<QRectF>("rect");
    QTest::newRow("whole pixels") << 1.0 << QRectF(10, 8, 40, 30);
    QTest::newRow("twice the resolution") << 2.0 << QRectF(10, 8, 40, 30);
    QTest::newRow("half pixels at twice the resolution") << 2.0 << QRectF(10.5, 8.5, 40, 30);
}

void TestPaintMemo::copyMatchesDirectPainting()
{
    QFETCH(double, dpr);
    QFETCH(QRectF, rect);
    PaintMemo::clear();
    QImage direct = canvas(dpr);
    {
        QPainter painter(&direct);
        painter.translate(rect.topLeft());
        paintLook(painter, QRectF(QPointF(0, 0), rect.size()));
    }
    QImage copied = canvas(dpr);
    {
        QPainter painter(&copied);
        PaintMemo::draw(painter, rect, QStringLiteral("look"), paintLook);
    }
    QCOMPARE(copied, direct);
    // The second paint copies the kept bitmap and gives the same picture.
    QImage again = canvas(dpr);
    {
        QPainter painter(&again);
        PaintMemo::draw(painter, rect, QStringLiteral("look"), [](QPainter &, const QRectF &) {});
    }
    QCOMPARE(again, direct);
}

void TestPaintMemo::edgesAloneCopyTheBorder_data()
{
    QTest::addColumn<double>("dpr");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<double>("edge");
    QTest::addColumn<QString>("look");
    QTest::addColumn<bool>("overColour");
    QTest::newRow("whole pixels") << 1.0 << QRectF(10, 8, 40, 30) << 6.0 << "border" << false;
    QTest::newRow("twice the resolution") << 2.0 << QRectF(10, 8, 40, 30) << 6.0 << "border" << false;
    QTest::newRow("half pixels, a fraction of an edge") << 2.0 << QRectF(10.5, 8.5, 40, 30) << 5.3 << "border" << false;
    // An edge as wide as half the rectangle leaves no middle: all of it is copied.
    QTest::newRow("no middle") << 1.0 << QRectF(10, 8, 40, 30) << 15.0 << "border" << false;
    // The straight sides are copied only as deep as they hold anything: what lies deepest in
    // each, one side holding nothing, or nothing at all, over a colour that shows any loss.
    QTest::newRow("border over a colour") << 1.0 << QRectF(10, 8, 40, 30) << 9.0 << "border" << true;
    QTest::newRow("marks deep in the sides") << 1.0 << QRectF(10, 8, 50, 40) << 9.0 << "marks" << true;
    QTest::newRow("marks deep in the sides, twice the resolution") << 2.0 << QRectF(10.5, 8.5, 50, 40) << 9.0 << "marks" << true;
    QTest::newRow("a line down one side") << 1.0 << QRectF(10, 8, 50, 40) << 9.0 << "one side" << true;
    QTest::newRow("nothing") << 1.0 << QRectF(10, 8, 50, 40) << 9.0 << "nothing" << true;
}

// A border drawn by its edges alone gives what the whole bitmap gives; a filled middle (which a
// caller of drawEdges promises there is not) would be left out.
void TestPaintMemo::edgesAloneCopyTheBorder()
{
    QFETCH(double, dpr);
    QFETCH(QRectF, rect);
    QFETCH(double, edge);
    QFETCH(QString, look);
    QFETCH(bool, overColour);
    PaintMemo::clear();
    const auto paintLook = [&](QPainter &painter, const QRectF &area) {
        painter.setRenderHint(QPainter::Antialiasing);
        if (look == QLatin1String("border")) {
            painter.setPen(QPen(QColor(20, 120, 40), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(area.adjusted(1, 1, -1, -1), 4, 4);
        } else if (look == QLatin1String("marks")) {
            // A dot as deep as each band goes, half-way along each side, and one in a corner.
            const double d = edge - 1.5;
            for (const QPointF &at : {QPointF(area.center().x(), d), QPointF(area.center().x(), area.height() - d),
                                      QPointF(d, area.center().y()), QPointF(area.width() - d, area.center().y()),
                                      QPointF(3, 3)})
                painter.fillRect(QRectF(at - QPointF(0.5, 0.5), QSizeF(1, 1)), QColor(30, 30, 200, 220));
        } else if (look == QLatin1String("one side")) {
            painter.fillRect(QRectF(0, 0, 2, area.height()), QColor(200, 30, 30));
        }
    };
    const auto paint = [&](const std::function<void(QPainter &)> &how) {
        QImage image = canvas(dpr);
        if (overColour)
            image.fill(QColor(240, 200, 40));
        QPainter painter(&image);
        how(painter);
        return image;
    };
    const QImage whole = paint([&](QPainter &p) { PaintMemo::draw(p, rect, QStringLiteral("whole"), paintLook); });
    // Twice: the first makes the bitmap, the second copies it as kept.
    for (int i = 0; i < 2; ++i)
        QCOMPARE(paint([&](QPainter &p) { PaintMemo::drawEdges(p, rect, edge, QStringLiteral("edges"), paintLook); }), whole);

    const auto filled = [](QPainter &painter, const QRectF &area) { painter.fillRect(area, Qt::red); };
    QImage middle = canvas(dpr);
    {
        QPainter painter(&middle);
        PaintMemo::drawEdges(painter, rect, edge, QStringLiteral("filled"), filled);
    }
    const QPoint centre = (rect.center() * dpr).toPoint();
    QCOMPARE(middle.pixelColor(centre).alpha(), edge * 2 >= std::min(rect.width(), rect.height()) ? 255 : 0);
}

void TestPaintMemo::paintsOncePerKeyAndSize()
{
    PaintMemo::clear();
    int calls = 0;
    const auto counting = [&calls](QPainter &painter, const QRectF &area) {
        ++calls;
        paintLook(painter, area);
    };
    QImage image = canvas(1);
    QPainter painter(&image);
    PaintMemo::draw(painter, QRectF(0, 0, 20, 20), QStringLiteral("a"), counting);
    PaintMemo::draw(painter, QRectF(30, 30, 20, 20), QStringLiteral("a"), counting);
    QCOMPARE(calls, 1);
    PaintMemo::draw(painter, QRectF(0, 0, 21, 20), QStringLiteral("a"), counting);   // another size
    PaintMemo::draw(painter, QRectF(0, 0, 20, 20), QStringLiteral("b"), counting);   // another key
    QCOMPARE(calls, 3);
    QCOMPARE(PaintMemo::count(), 3);
    PaintMemo::clear();
    QCOMPARE(PaintMemo::count(), 0);
}

void TestPaintMemo::transformedPaintingIsDirect()
{
    PaintMemo::clear();
    int calls = 0;
    QImage image = canvas(1);
    QPainter painter(&image);
    painter.rotate(10);
    for (int i = 0; i < 2; ++i)
        PaintMemo::draw(painter, QRectF(10, 10, 20, 20), QStringLiteral("r"), [&calls](QPainter &, const QRectF &) { ++calls; });
    QCOMPARE(calls, 2);
    QCOMPARE(PaintMemo::count(), 0);
}

void TestPaintMemo::emptyOrEndlessRectanglesDrawNothing()
{
    int calls = 0;
    const auto counting = [&calls](QPainter &, const QRectF &) { ++calls; };
    QImage image = canvas(1);
    QPainter painter(&image);
    PaintMemo::draw(painter, QRectF(0, 0, 0, 10), QStringLiteral("e"), counting);
    PaintMemo::draw(painter, QRectF(0, 0, -5, 10), QStringLiteral("e"), counting);
    PaintMemo::draw(painter, QRectF(0, 0, qInf(), 10), QStringLiteral("e"), counting);
    QCOMPARE(calls, 0);
}

// A shape drawn where it lies (a rounded rectangle at fractions of a pixel, the painter moved as
// for a child widget) comes out of its kept bitmap as it would have been painted: the first time,
// again from the bitmap, and at another place within a pixel (which is another bitmap).
void TestPaintMemo::inPlaceCopyMatchesDirectPainting_data()
{
    QTest::addColumn<double>("dpr");
    QTest::addColumn<QPointF>("moved");
    QTest::addColumn<QRectF>("bounds");
    QTest::newRow("whole pixels") << 1.0 << QPointF(0, 0) << QRectF(10, 8, 40, 30);
    QTest::newRow("quarter and half pixels") << 1.0 << QPointF(0, 0) << QRectF(10.25, 8.5, 40, 30.5);
    QTest::newRow("painter moved") << 1.0 << QPointF(7, 5) << QRectF(3.5, 2.125, 40, 30);
    QTest::newRow("twice the resolution, eighths") << 2.0 << QPointF(3, 1) << QRectF(10.125, 8.375, 40, 30);
}

void TestPaintMemo::inPlaceCopyMatchesDirectPainting()
{
    QFETCH(double, dpr);
    QFETCH(QPointF, moved);
    QFETCH(QRectF, bounds);
    PaintMemo::clear();
    const auto shape = [&](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(20, 120, 180, 200));
        painter.drawRoundedRect(bounds, 9, 9);
    };
    const auto paint = [&](const std::function<void(QPainter &)> &how) {
        QImage image = canvas(dpr);
        QPainter painter(&image);
        painter.translate(moved);
        how(painter);
        return image;
    };
    const QImage direct = paint(shape);
    const QImage first = paint([&](QPainter &p) { PaintMemo::drawInPlace(p, bounds, QStringLiteral("round"), shape); });
    QCOMPARE(first, direct);
    QCOMPARE(PaintMemo::count(), 1);
    const QImage again = paint([&](QPainter &p) { PaintMemo::drawInPlace(p, bounds, QStringLiteral("round"), [](QPainter &) {}); });
    QCOMPARE(again, direct);
    // Half a device pixel further along: not the bitmap drawn for the first place.
    bounds.translate(0.5 / dpr, 0);
    const QImage shifted = paint(shape);
    QCOMPARE(paint([&](QPainter &p) { PaintMemo::drawInPlace(p, bounds, QStringLiteral("round"), shape); }), shifted);
    QCOMPARE(PaintMemo::count(), 2);
}

// A ring along the edges, copied by its band alone: the same as painted; the middle, which the
// drawing leaves untouched, keeps what was there.
void TestPaintMemo::inPlaceEdgesCopyTheRing()
{
    PaintMemo::clear();
    const QRectF bounds(6.5, 4.25, 60, 44);
    const auto ring = [&](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath band;
        band.addRoundedRect(bounds, 8, 8);
        band.addRoundedRect(bounds.adjusted(2, 2, -2, -2), 6, 6);
        band.setFillRule(Qt::OddEvenFill);
        painter.fillPath(band, QColor(200, 40, 40, 180));
    };
    const auto paint = [&](const std::function<void(QPainter &)> &how) {
        QImage image = canvas(1);
        image.fill(QColor(10, 200, 10));
        QPainter painter(&image);
        how(painter);
        return image;
    };
    const QImage direct = paint(ring);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(paint([&](QPainter &p) { PaintMemo::drawInPlace(p, bounds, QStringLiteral("ring"), ring, 8); }), direct);

    // Drawn within the painting of another kept bitmap, it is kept once: in that bitmap.
    PaintMemo::clear();
    const QImage nested = paint([&](QPainter &p) {
        PaintMemo::draw(p, QRectF(0, 0, 80, 60), QStringLiteral("outer"),
                        [&](QPainter &inner, const QRectF &) { PaintMemo::drawInPlace(inner, bounds, QStringLiteral("ring"), ring, 8); });
    });
    QCOMPARE(PaintMemo::count(), 1);
    QCOMPARE(nested, direct);

    // Into an image that is itself kept whole (a card's), or smaller than on screen: drawn directly.
    PaintMemo::clear();
    {
        const PaintMemo::KeptWhole keptWhole;
        QCOMPARE(paint([&](QPainter &p) { PaintMemo::drawInPlace(p, bounds, QStringLiteral("ring"), ring, 8); }), direct);
    }
    QImage half = canvas(1);
    {
        QPainter p(&half);
        p.scale(0.5, 0.5);
        PaintMemo::drawInPlace(p, bounds, QStringLiteral("ring"), ring, 8);
    }
    QCOMPARE(PaintMemo::count(), 0);
}

void TestPaintMemo::piecedShapesMatchDirectPainting_data()
{
    QTest::addColumn<double>("dpr");
    QTest::addColumn<QPointF>("moved");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("whole");      // painted while a whole image is kept
    QTest::addColumn<bool>("bothWays");   // long enough both ways to be pieced both ways
    const QColor opaque(30, 120, 200);
    const QColor translucent(200, 40, 40, 150);
    QTest::newRow("whole pixels") << 1.0 << QPointF() << QRectF(10, 8, 330, 290) << opaque << false << true;
    QTest::newRow("eighths, translucent") << 1.0 << QPointF() << QRectF(10.125, 8.5, 301.375, 277.25) << translucent << false << true;
    QTest::newRow("only tall") << 1.0 << QPointF() << QRectF(20.25, 4, 90, 300.5) << opaque << false << false;
    QTest::newRow("only wide") << 1.0 << QPointF() << QRectF(4, 20.75, 340.5, 60) << translucent << false << false;
    QTest::newRow("painter moved") << 1.0 << QPointF(7, 5) << QRectF(3.5, 2.125, 250, 260) << opaque << false << true;
    QTest::newRow("twice the resolution") << 2.0 << QPointF(3, 1) << QRectF(10.125, 8.375, 170.5, 160.25) << translucent << false << true;
    QTest::newRow("into a whole image being kept") << 1.0 << QPointF() << QRectF(6.5, 4.25, 280, 300) << opaque << true << true;
}

// A fill and a border of any size, copied in pieces from one small bitmap each: the same as
// painted directly. Another size of the same shape uses the same bitmaps.
void TestPaintMemo::piecedShapesMatchDirectPainting()
{
    QFETCH(double, dpr);
    QFETCH(QPointF, moved);
    QFETCH(QRectF, bounds);
    QFETCH(QColor, colour);
    QFETCH(bool, whole);
    QFETCH(bool, bothWays);
    constexpr double radius = 12;
    const auto paint = [&](const QRectF &area, bool pieced) {
        QImage image(int(360 * dpr), int(320 * dpr), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(QColor(240, 240, 230));
        QPainter p(&image);
        p.translate(moved);
        std::optional<PaintMemo::KeptWhole> keeping;
        if (whole)
            keeping.emplace();
        if (pieced) {
            ContinuousShape::fill(p, area, radius, colour);
            ContinuousShape::strokeInside(p, area, radius, Qt::black, 1);
            return image;
        }
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(ContinuousShape::rect(area, radius), colour);
        QPainterPath band = ContinuousShape::rect(area, radius);
        band.addPath(ContinuousShape::rect(area.adjusted(1, 1, -1, -1), radius - 1));
        band.setFillRule(Qt::OddEvenFill);
        p.fillPath(band, Qt::black);
        return image;
    };
    PaintMemo::clear();
    QCOMPARE(paint(bounds, true), paint(bounds, false));
    QCOMPARE(PaintMemo::count(), 2);
    // Whole device pixels shorter: the same two bitmaps, unless a side was too short to be pieced.
    const QRectF shorter = bounds.adjusted(0, 0, -std::floor(40 * dpr) / dpr, -std::floor(30 * dpr) / dpr);
    QCOMPARE(paint(shorter, true), paint(shorter, false));
    QCOMPARE(PaintMemo::count() == 2, bothWays);
}

QTEST_MAIN(TestPaintMemo)
#include "tst_paintmemo.moc"

// A filled shape whose middle is filled with its colour instead of copied from its bitmap comes
// out as painted, opaque or see-through (where a middle that overlapped the copied band would show
// twice as dark and a gap would show the ground), at whole and fractional pixels and densities.
void TestPaintMemo::filledShapesFillTheirMiddle_data()
{
    QTest::addColumn<double>("dpr");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QColor>("colour");
    const QColor solid(30, 110, 200);
    const QColor clear(200, 40, 40, 140);
    // Large enough for the middle to be filled (a card's is copied with the rest).
    QTest::newRow("whole pixels") << 1.0 << QRectF(4, 3, 470, 350) << solid;
    QTest::newRow("see-through") << 1.0 << QRectF(4, 3, 470, 350) << clear;
    QTest::newRow("fractions") << 1.0 << QRectF(3.25, 2.5, 468.5, 351.75) << clear;
    QTest::newRow("one and a half") << 1.5 << QRectF(2.25, 3, 366, 248.5) << clear;
    QTest::newRow("twice") << 2.0 << QRectF(5.5, 4.25, 264.25, 247) << solid;
}

void TestPaintMemo::filledShapesFillTheirMiddle()
{
    QFETCH(double, dpr);
    QFETCH(QRectF, bounds);
    QFETCH(QColor, colour);
    const double radius = 7;
    const auto rounded = [&](QPainter &painter, const QRectF &area) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(area, radius, radius);
        painter.fillPath(path, colour);
    };
    const auto paint = [&](const std::function<void(QPainter &)> &how) {
        QImage image(int(480 * dpr), int(360 * dpr), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(QColor(20, 160, 60));
        QPainter painter(&image);
        how(painter);
        return image;
    };
    const auto alike = [](const QImage &a, const QImage &b) {
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (!test::sameColour(a.pixelColor(x, y), b.pixelColor(x, y), 2, true))
                    return QStringLiteral("pixel %1, %2").arg(x).arg(y);
        return QString();
    };
    const double edge = radius + 1;
    PaintMemo::clear();
    const QImage direct = paint([&](QPainter &p) { rounded(p, bounds); });
    for (int i = 0; i < 2; ++i) {
        const QImage kept = paint([&](QPainter &p) {
            PaintMemo::drawPieced(
                p, bounds, edge, QStringLiteral("filled"), [&](QPainter &q, const QRectF &area) { rounded(q, area); }, &colour);
        });
        QCOMPARE(alike(kept, direct), QString());
    }
    // In a rectangle of its own: the shape drawn at the rectangle's origin.
    const QRectF rect(QPointF(std::round(bounds.left() * dpr) / dpr, std::round(bounds.top() * dpr) / dpr), bounds.size());
    const QImage placed = paint([&](QPainter &p) { rounded(p, rect); });
    for (int i = 0; i < 2; ++i) {
        const QImage kept = paint([&](QPainter &p) {
            PaintMemo::drawFilled(p, rect, edge, colour, QStringLiteral("filled"),
                                  [&](QPainter &q, const QRectF &area) { rounded(q, area); });
        });
        QCOMPARE(alike(kept, placed), QString());
    }
}

// A save's own drawing comes out the same whether it is kept or not; it is kept (and its key made)
// on its own, and drawn directly into an image that is itself kept whole.
void TestPaintMemo::ownDrawingsAreKeptOnlyOutsideAWholeImage()
{
    const QRectF rect(6, 5, 50, 40);
    int keys = 0;
    const auto key = [&] {
        ++keys;
        return QStringLiteral("own");
    };
    const auto paint = [&](const std::function<void(QPainter &)> &how) {
        QImage image = canvas(1);
        QPainter painter(&image);
        how(painter);
        return image;
    };
    PaintMemo::clear();
    const QImage kept = paint([&](QPainter &p) { PaintMemo::drawOwn(p, rect, key, paintLook); });
    QCOMPARE(PaintMemo::count(), 1);
    QCOMPARE(keys, 1);
    QCOMPARE(kept, paint([&](QPainter &p) { PaintMemo::draw(p, rect, QStringLiteral("other"), paintLook); }));

    PaintMemo::clear();
    keys = 0;
    const PaintMemo::KeptWhole whole;
    QCOMPARE(paint([&](QPainter &p) { PaintMemo::drawOwn(p, rect, key, paintLook); }), kept);
    QCOMPARE(PaintMemo::count(), 0);
    QCOMPARE(keys, 0);
}
