#include "StashwellUI/Design/ContinuousShape.h"
#include "Gallery.h"
#include "PaintTesting.h"
#include "StashwellUI/Design/SoftScrollEdges.h"
#include "StashwellUI/Design/RectWise.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

Q_DECLARE_METATYPE(sw::Surface)

using namespace sw;

namespace {

// The colour a painted pixel has, un-premultiplied.
QColor pixel(const QImage &image, int x, int y)
{
    return QColor::fromRgba(image.convertToFormat(QImage::Format_ARGB32).pixel(x, y));
}

bool near(double a, double b, double tolerance = 0.02)
{
    return qAbs(a - b) <= tolerance;
}

// A long list for the soft edges to fade, in the theme's text colour.
class Rows : public QWidget {
public:
    QSize sizeHint() const override { return QSize(180, 30 * 24); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(Tokens::Typography::body.font());
        painter.setPen(Tokens::Colors::text());
        for (int i = 0; i < 30; ++i)
            painter.drawText(QRectF(12, i * 24, width() - 12, 24), Qt::AlignVCenter, QStringLiteral("Row %1").arg(i + 1));
    }
};

// Every surface of the design system on one sheet, over the dotted canvas, with soft scroll edges
// over a scrolling list: the gallery's picture of the surfaces.
class SurfaceSheet : public QWidget {
public:
    SurfaceSheet()
    {
        m_list = new QScrollArea(this);
        m_list->setGeometry(500, 20, 200, 380);
        m_list->setFrameShape(QFrame::NoFrame);
        m_list->setStyleSheet(QStringLiteral("background: transparent;"));
        m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_list->setWidget(new Rows);
        auto *edges = new SoftScrollEdges(m_list, true, true);
        edges->setSafeAreaInsets(QMargins(0, 20, 0, 0));
        ScrollEdgeFrostSetting::set(*this, [](QPainter &painter, const QRectF &band, Qt::Edge edge) {
            QLinearGradient gradient(band.topLeft(), band.bottomLeft());
            QColor solid = Tokens::Colors::window();
            QColor clear = solid;
            clear.setAlpha(0);
            gradient.setColorAt(edge == Qt::TopEdge ? 0 : 1, solid);
            gradient.setColorAt(edge == Qt::TopEdge ? 1 : 0, clear);
            painter.fillRect(band, gradient);
        });
    }

    QSize sizeHint() const override { return QSize(720, 420); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        DotGrid::paint(painter, QRectF(rect()));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(Tokens::Typography::caption.font());

        const auto label = [&](const QRectF &rect, const QString &text) {
            painter.setPen(Tokens::Colors::textSecondary());
            painter.drawText(rect.adjusted(0, rect.height() + 4, 0, 24), Qt::AlignLeft | Qt::AlignTop, text);
        };

        const QRectF panel(20, 20, 220, 120);
        PaneSurface::panel(Tokens::Radius::lg).paint(painter, panel, [&] {
            WellStyle::well().fill(painter, panel.adjusted(16, 40, -16, -40), Tokens::Radius::sm);
            WellStyle::well(Tokens::Colors::field()).fill(painter, panel.adjusted(16, 90, -16, -12), Tokens::Radius::sm);
            painter.setPen(Tokens::Colors::text());
            painter.setFont(Tokens::Typography::headline.font());
            painter.drawText(panel.adjusted(16, 10, -16, 0), QStringLiteral("Panel"));
        });
        label(panel, QStringLiteral("panel, wells"));

        struct CardState {
            bool selected;
            bool hovered;
            QString name;
        };
        const CardState states[] = {{false, false, QStringLiteral("card")},
                                    {false, true, QStringLiteral("hovered")},
                                    {true, false, QStringLiteral("selected")}};
        double x = 260;
        for (const CardState &state : states) {
            const QRectF card(x, 20, 70, 120);
            PaneSurface::card(state.selected, state.hovered, Tokens::Radius::card).paint(painter, card);
            label(card, state.name);
            x += 78;
        }

        for (int i = 0; i < 2; ++i) {
            const QRectF row(20, 190 + i * 44, 220, Tokens::Size::row);
            SelectedTint::paintBehind(painter, row, i == 0, Tokens::Radius::sm);
            painter.setPen(Tokens::Colors::text());
            painter.setFont(Tokens::Typography::body.font());
            painter.drawText(row.adjusted(12, 0, 0, 0), Qt::AlignVCenter,
                             i == 0 ? QStringLiteral("Selected row") : QStringLiteral("Row"));
            SelectedTint::paintOver(painter, row, i == 0, Tokens::Radius::sm);
        }
    }

private:
    QScrollArea *m_list = nullptr;
};

}  // namespace

class TestSurfaces : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void wellFollowsTheSurface_data();
    void wellFollowsTheSurface();
    void paneFillFollowsTheSurface_data();
    void paneFillFollowsTheSurface();
    void cardBorders_data();
    void cardBorders();
    void selectedTint();
    void surfaceRawValues_data();
    void surfaceRawValues();
    void dotGridPositions_data();
    void dotGridPositions();
    void dotGridBackground();
    void dotGridHidesWhatIsUnderItOnlyOnSolid_data();
    void dotGridHidesWhatIsUnderItOnlyOnSolid();
    void dotGridStampedAsDrawn_data();
    void dotGridStampedAsDrawn();
    void bandsPaintWhatOnePaintPaints_data();
    void bandsPaintWhatOnePaintPaints();
    void dotGridResizedShowsWhatANewOneShows_data();
    void dotGridResizedShowsWhatANewOneShows();
    void dotGridPartsShowTheirPlace_data();
    void dotGridPartsShowTheirPlace();
    void softEdgeBands_data();
    void softEdgeBands();
    void softEdgesPaintOnlyWithAFrost();
    void softEdgesFadeOnlyScrolledContent();
    void softEdgesLetClicksThrough();
    void softEdgesRepaintOnlyChangedBands_data();
    void softEdgesFrostOnlyWhatAVeilLeaves_data();
    void softEdgesFrostOnlyWhatAVeilLeaves();
    void softEdgesRepaintOnlyChangedBands();
    void frostSettingIsInherited();
    void gallery();
};

void TestSurfaces::cleanup()
{
    Theme::instance().setSurface(Surface::solid);
    Theme::instance().setAppearance(Appearance::light);
}

void TestSurfaces::wellFollowsTheSurface_data()
{
    QTest::addColumn<Surface>("surface");
    QTest::addColumn<double>("opacity");
    QTest::newRow("solid") << Surface::solid << 1.0;
    QTest::newRow("glass") << Surface::glass << 0.4;
}

void TestSurfaces::wellFollowsTheSurface()
{
    QFETCH(Surface, surface);
    QFETCH(double, opacity);
    const QColor base = Tokens::Colors::window();
    QVERIFY(base.alphaF() > 0.99);
    QImage image = test::clearCanvas(QSize(40, 40));
    {
        QPainter painter(&image);
        WellStyle::well().fill(painter, QRectF(0, 0, 40, 40), 8, surface);
    }
    const QColor centre = pixel(image, 20, 20);
    QVERIFY2(near(centre.alphaF(), opacity), qPrintable(QString::number(centre.alphaF())));
    QVERIFY(test::sameColour(centre, base, 4));

    // The surface in force is the default.
    Theme::instance().setSurface(surface);
    QCOMPARE(WellStyle::well().resolved(), WellStyle::well().resolved(surface));
    QCOMPARE(WellStyle::well(Qt::red).resolved().alphaF(), float(opacity));
}

void TestSurfaces::paneFillFollowsTheSurface_data()
{
    QTest::addColumn<Surface>("surface");
    QTest::addColumn<double>("fillOpacity");
    QTest::newRow("solid") << Surface::solid << 1.0;
    QTest::newRow("glass") << Surface::glass << 0.55;
}

void TestSurfaces::paneFillFollowsTheSurface()
{
    QFETCH(Surface, surface);
    QFETCH(double, fillOpacity);
    const PaneSurface panel = PaneSurface::panel(0);
    QImage image = test::clearCanvas(QSize(40, 40));
    {
        QPainter painter(&image);
        panel.paint(painter, QRectF(0, 0, 40, 40), surface);
    }
    // Inside: the fill alone.
    const QColor inside = pixel(image, 20, 20);
    QVERIFY2(near(inside.alphaF(), fillOpacity * Tokens::Colors::panel().alphaF()), qPrintable(QString::number(inside.alphaF())));
    // On the border: the line colour over the fill, the same on both surfaces when the line is
    // opaque enough to tell.
    QImage lineOnly = test::clearCanvas(QSize(40, 40));
    {
        QPainter painter(&lineOnly);
        panel.paintOver(painter, QRectF(0, 0, 40, 40));
    }
    QVERIFY(pixel(lineOnly, 20, 0).alpha() > 0);   // drawn inside the edge: the outermost row
    QCOMPARE(pixel(lineOnly, 20, 20).alpha(), 0);
}

void TestSurfaces::cardBorders_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<QString>("stroke");
    QTest::addColumn<double>("strokeOpacity");
    QTest::addColumn<double>("lineWidth");
    QTest::newRow("resting") << false << false << QStringLiteral("lineStrong") << 1.0 << 1.0;
    QTest::newRow("hovered") << false << true << QStringLiteral("muted") << 0.45 << 1.0;
    QTest::newRow("selected") << true << false << QStringLiteral("accent") << 1.0 << 2.0;
    QTest::newRow("selected wins over hovered") << true << true << QStringLiteral("accent") << 1.0 << 2.0;
}

void TestSurfaces::cardBorders()
{
    QFETCH(bool, selected);
    QFETCH(bool, hovered);
    QFETCH(QString, stroke);
    QFETCH(double, strokeOpacity);
    QFETCH(double, lineWidth);
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
        Theme::instance().setAppearance(appearance);
        const PaneSurface card = PaneSurface::card(selected, hovered, 18);
        QColor expected = *Tokens::Colors::token(stroke, appearance);
        expected.setAlphaF(float(expected.alphaF() * strokeOpacity));
        QCOMPARE(card.stroke, expected);
        QCOMPARE(card.lineWidth, lineWidth);
        QCOMPARE(card.fill, Tokens::Colors::card());
        QCOMPARE(card.radius, 18.0);
    }
    // A selected card's border is two pixels deep, a resting one only one.
    QImage image = test::clearCanvas(QSize(60, 60));
    {
        QPainter painter(&image);
        PaneSurface::card(selected, hovered, 0).paintOver(painter, QRectF(0, 0, 60, 60));
    }
    QCOMPARE(pixel(image, 30, 1).alpha() > 0, lineWidth > 1);
}

void TestSurfaces::selectedTint()
{
    QImage off = test::clearCanvas(QSize(40, 20));
    QImage on = test::clearCanvas(QSize(40, 20));
    for (auto [image, flag] : {std::pair{&off, false}, std::pair{&on, true}}) {
        QPainter painter(image);
        SelectedTint::paintBehind(painter, QRectF(0, 0, 40, 20), flag, 6);
        SelectedTint::paintOver(painter, QRectF(0, 0, 40, 20), flag, 6);
    }
    QVERIFY(gallery::isBlank(off));
    QCOMPARE(pixel(off, 20, 10).alpha(), 0);
    const QColor inside = pixel(on, 20, 10);
    QVERIFY(near(inside.alphaF(), 0.14));
    QVERIFY(test::sameColour(inside, Tokens::Colors::accent(), 4));
    QVERIFY(near(pixel(on, 20, 0).alphaF(), 0.14 + 0.45 * (1 - 0.14), 0.03));
    // The tint does not depend on the surface.
    Theme::instance().setSurface(Surface::glass);
    QImage glass = test::clearCanvas(QSize(40, 20));
    {
        QPainter painter(&glass);
        SelectedTint::paintBehind(painter, QRectF(0, 0, 40, 20), true, 6);
        SelectedTint::paintOver(painter, QRectF(0, 0, 40, 20), true, 6);
    }
    QCOMPARE(glass, on);
}

void TestSurfaces::surfaceRawValues_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<int>("surface");   // -1: none
    QTest::newRow("solid") << QStringLiteral("solid") << int(Surface::solid);
    QTest::newRow("glass") << QStringLiteral("glass") << int(Surface::glass);
    QTest::newRow("letter case differs") << QStringLiteral("Glass") << -1;
    QTest::newRow("padded before") << QStringLiteral(" solid") << -1;
    QTest::newRow("padded after") << QStringLiteral("glass ") << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TestSurfaces::surfaceRawValues()
{
    QFETCH(QString, raw);
    QFETCH(int, surface);
    const std::optional<Surface> parsed = surfaceFromRawValue(raw);
    QCOMPARE(parsed.has_value(), surface >= 0);
    if (parsed) {
        QCOMPARE(int(*parsed), surface);
        QCOMPARE(surfaceRawValue(*parsed), raw);
    }
}

void TestSurfaces::dotGridPositions_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<QList<QPointF>>("dots");
    QTest::newRow("far edges on a step") << QSizeF(28, 20)
                                         << QList<QPointF>{{0, 0}, {0, 14}, {14, 0}, {14, 14}, {28, 0}, {28, 14}};
    QTest::newRow("smaller than a step") << QSizeF(13, 13.9) << QList<QPointF>{{0, 0}};
    QTest::newRow("empty") << QSizeF(0, 0) << QList<QPointF>{{0, 0}};
    QTest::newRow("negative") << QSizeF(-1, 10) << QList<QPointF>{};
}

void TestSurfaces::dotGridPositions()
{
    QFETCH(QSizeF, size);
    QFETCH(QList<QPointF>, dots);
    QCOMPARE(DotGrid::dotOrigins(size), dots);
}

void TestSurfaces::dotGridBackground()
{
    for (Surface surface : allSurfaces) {
        QImage image = test::clearCanvas(QSize(30, 30));
        {
            QPainter painter(&image);
            DotGrid::paint(painter, QRectF(0, 0, 30, 30), surface);
        }
        // Between dots: the window colour on solid, nothing on glass.
        const QColor between = pixel(image, 7, 7);
        if (surface == Surface::solid)
            QCOMPARE(between, Tokens::Colors::window());
        else
            QCOMPARE(between.alpha(), 0);
        // A dot at 14, 14 differs from the ground around it.
        QVERIFY(pixel(image, 14, 14) != between);
    }
}

// The grid drawn dot by dot, every dot of `size`, over the ground of `surface`.
static QImage dotsOneByOne(const QSize &canvas, const QRectF &rect, Surface surface, bool dots = true)
{
    QImage image = test::clearCanvas(canvas);
    QPainter painter(&image);
    if (surface == Surface::solid)
        painter.fillRect(rect, Tokens::Colors::window());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Tokens::Colors::dot());
    for (const QPointF &origin : DotGrid::dotOrigins(dots ? rect.size() : QSizeF(-1, -1)))
        painter.drawEllipse(QRectF(origin + rect.topLeft(), QSizeF(1, 1)));
    return image;
}

// The grid stands in for what lies under it only where it paints every pixel: on solid. On glass
// (also after a switch either way) what is under it shows between the dots.
void TestSurfaces::dotGridHidesWhatIsUnderItOnlyOnSolid_data()
{
    QTest::addColumn<Surface>("made");
    QTest::addColumn<Surface>("shown");
    QTest::newRow("solid") << Surface::solid << Surface::solid;
    QTest::newRow("glass") << Surface::glass << Surface::glass;
    QTest::newRow("solid, then glass") << Surface::solid << Surface::glass;
    QTest::newRow("glass, then solid") << Surface::glass << Surface::solid;
}

void TestSurfaces::dotGridHidesWhatIsUnderItOnlyOnSolid()
{
    QFETCH(Surface, made);
    QFETCH(Surface, shown);
    struct Under : QWidget {
        QColor colour = Qt::red;
        void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), colour); }
    } under;
    under.resize(60, 60);
    Theme::instance().setSurface(made);
    auto *grid = new DotGrid(&under);
    grid->setGeometry(under.rect());
    under.show();
    QVERIFY(QTest::qWaitForWindowExposed(&under));
    // Repainted in the window as it is on screen, in another colour: under a grid that claimed to
    // cover itself without doing so, the last colour would stay.
    Theme::instance().setSurface(shown);
    under.colour = Qt::blue;
    under.repaint();
    const QColor between = under.screen()->grabWindow(under.winId()).toImage().pixelColor(7, 7);
    QVERIFY(test::sameColour(between, shown == Surface::glass ? QColor(Qt::blue) : Tokens::Colors::window(), 2));
}

void TestSurfaces::bandsPaintWhatOnePaintPaints_data()
{
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QRect>("clip");   // null: none
    QTest::newRow("shorter than a band") << QRectF(3, 5, 40, 50) << qreal(1) << QRect();
    QTest::newRow("a tall divider") << QRectF(10, 0, 1, 300) << qreal(1) << QRect();
    QTest::newRow("off whole pixels") << QRectF(2.5, 3.25, 80.5, 250.5) << qreal(1) << QRect();
    QTest::newRow("twice the pixels") << QRectF(2.5, 3.25, 80.5, 140.5) << qreal(2) << QRect();
    QTest::newRow("within a clip") << QRectF(0, 0, 100, 300) << qreal(1) << QRect(20, 40, 50, 170);
}

// Painting band by band changes no pixel: a translucent fill and an image drawn at an opacity
// land as they do in one paint, and nothing lands outside a clip set before.
void TestSurfaces::bandsPaintWhatOnePaintPaints()
{
    QFETCH(QRectF, area);
    QFETCH(qreal, ratio);
    QFETCH(QRect, clip);
    QImage stamp(QSize(30, 30), QImage::Format_ARGB32_Premultiplied);
    stamp.fill(QColor(20, 120, 220, 200));
    const auto paint = [&](bool banded) {
        QImage canvas(QSize(120, 320) * ratio, QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        if (!clip.isNull())
            painter.setClipRect(clip);
        const auto draw = [&] {
            painter.fillRect(area, QColor(200, 30, 30, 90));
            painter.setOpacity(0.5);
            painter.drawTiledPixmap(area, QPixmap::fromImage(stamp));
            painter.setOpacity(1);
        };
        if (banded)
            paintInBands(painter, area, draw);
        else
            draw();
        return canvas;
    };
    QCOMPARE(paint(true), paint(false));
}

void TestSurfaces::dotGridResizedShowsWhatANewOneShows_data()
{
    QTest::addColumn<QSize>("first");
    QTest::addColumn<QSize>("then");
    QTest::addColumn<Surface>("surface");
    QTest::newRow("narrower") << QSize(300, 200) << QSize(217, 200) << Surface::solid;
    QTest::newRow("shorter, on glass") << QSize(300, 200) << QSize(300, 131) << Surface::glass;
    QTest::newRow("wider and shorter") << QSize(200, 200) << QSize(333, 150) << Surface::solid;
    QTest::newRow("narrower, then back") << QSize(300, 200) << QSize(300, 200) << Surface::solid;
}

// The grid keeps its painted pixels across sizes: whatever it was before, it shows at a size what
// a grid made at that size shows.
void TestSurfaces::dotGridResizedShowsWhatANewOneShows()
{
    QFETCH(QSize, first);
    QFETCH(QSize, then);
    QFETCH(Surface, surface);
    Theme::instance().setSurface(surface);
    const auto grab = [](DotGrid &grid) {
        QImage image = test::clearCanvas(grid.size());
        grid.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    DotGrid resized;
    resized.resize(first);
    (void)grab(resized);
    resized.resize(first / 2);
    (void)grab(resized);
    resized.resize(then);
    DotGrid fresh;
    fresh.resize(then);
    QCOMPARE(grab(resized), grab(fresh));
}

void TestSurfaces::dotGridPartsShowTheirPlace_data()
{
    QTest::addColumn<QRect>("exposed");
    QTest::addColumn<QPoint>("at");
    const int side = DotGrid::tileSide;
    QTest::newRow("within the first repeat") << QRect(3, 5, 100, 60) << QPoint(3, 5);
    QTest::newRow("across a repeat's edge") << QRect(side - 20, side - 7, 50, 30) << QPoint(side - 20, side - 7);
    QTest::newRow("a gutter down the grid") << QRect(side + 30, 0, 16, 3 * side + 11) << QPoint(side + 30, 0);
    QTest::newRow("a band across it") << QRect(0, 2 * side + 1, 3 * side + 40, 9) << QPoint(0, 2 * side + 1);
    QTest::newRow("drawn elsewhere") << QRect(side - 3, 41, side + 6, 2 * side) << QPoint(17, 4);
}

// A part of the grid, drawn where the caller asks, shows the pixels that part of the whole grid
// has: the parts that cross the edges of the square the grid repeats take each piece from its place.
void TestSurfaces::dotGridPartsShowTheirPlace()
{
    QFETCH(QRect, exposed);
    QFETCH(QPoint, at);
    const QSize size(4 * DotGrid::tileSide, 3 * DotGrid::tileSide + 20);
    for (Surface surface : allSurfaces) {
        Theme::instance().setSurface(surface);
        DotGrid grid;
        grid.resize(size);
        QImage whole = test::clearCanvas(size);
        {
            QPainter painter(&whole);
            DotGrid::paintExposed(painter, QRectF(QPointF(0, 0), QSizeF(size)), QRectF(), surface);
        }
        // That part of the whole at the place asked for, and nothing anywhere else.
        QImage expected = test::clearCanvas(size);
        QPainter(&expected).drawImage(at, whole.copy(exposed));
        QImage part = test::clearCanvas(size);
        {
            QPainter painter(&part);
            grid.paintPart(painter, exposed, at);
        }
        QCOMPARE(part, expected);
    }
}

void TestSurfaces::dotGridStampedAsDrawn_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QRectF>("exposed");    // null: the whole rect
    QTest::newRow("whole canvas") << QRectF(0, 0, 500, 300) << QRectF();
    QTest::newRow("moved by whole pixels") << QRectF(7, 3, 480, 290) << QRectF();
    QTest::newRow("moved by half a pixel") << QRectF(7.5, 3.5, 480, 290) << QRectF();
    QTest::newRow("a strip exposed") << QRectF(0, 0, 500, 300) << QRectF(0, 250, 500, 30);
    QTest::newRow("a corner exposed, off the steps") << QRectF(2, 2, 490, 290) << QRectF(101, 33, 250, 120);
}

// However the grid is painted (stamped from a tile on whole pixels, limited to what is exposed),
// the pixels are those of every dot drawn one by one, and nothing lands outside what is exposed.
void TestSurfaces::dotGridStampedAsDrawn()
{
    QFETCH(QRectF, rect);
    QFETCH(QRectF, exposed);
    const QSize canvas(500, 300);
    for (Surface surface : allSurfaces) {
        const QImage expected = dotsOneByOne(canvas, rect, surface);
        const QImage ground = dotsOneByOne(canvas, rect, surface, false);
        QImage image = test::clearCanvas(canvas);
        {
            QPainter painter(&image);
            DotGrid::paintExposed(painter, rect, exposed, surface);
        }
        const QRect inside = exposed.isNull() ? QRect(QPoint(0, 0), canvas) : exposed.toAlignedRect();
        int differing = 0;
        int dots = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const QRgb got = image.pixel(x, y);
                if (!inside.contains(x, y)) {
                    // Outside what is exposed: the ground alone.
                    if (got != ground.pixel(x, y))
                        ++differing;
                    continue;
                }
                const QRgb want = expected.pixel(x, y);
                if (want != expected.pixel(7 + int(rect.left()), 7 + int(rect.top())))
                    ++dots;
                if (got != want)
                    ++differing;
            }
        }
        QVERIFY(dots > 0);
        QCOMPARE(differing, 0);
    }
}

void TestSurfaces::softEdgeBands_data()
{
    QTest::addColumn<bool>("top");
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<QMargins>("insets");
    QTest::addColumn<QRectF>("topBand");      // null: none
    QTest::addColumn<QRectF>("bottomBand");
    const QSize size(300, 400);
    QTest::newRow("both, no insets") << true << true << QMargins() << QRectF(0, 0, 300, 28) << QRectF(0, 372, 300, 28);
    QTest::newRow("under a title bar of 52") << true << false << QMargins(0, 52, 0, 0) << QRectF(0, 0, 300, 80) << QRectF();
    QTest::newRow("over a status bar of 30") << false << true << QMargins(0, 52, 0, 30) << QRectF() << QRectF(0, 342, 300, 58);
    QTest::newRow("neither") << false << false << QMargins(0, 52, 0, 30) << QRectF() << QRectF();
}

void TestSurfaces::softEdgeBands()
{
    QFETCH(bool, top);
    QFETCH(bool, bottom);
    QFETCH(QMargins, insets);
    QFETCH(QRectF, topBand);
    QFETCH(QRectF, bottomBand);
    QWidget content;
    content.resize(300, 400);
    SoftScrollEdges edges(&content, top, bottom);
    content.show();
    edges.setSafeAreaInsets(insets);
    QCOMPARE(edges.geometry(), content.rect());
    QCOMPARE(edges.band(Qt::TopEdge).value_or(QRectF()), topBand);
    QCOMPARE(edges.band(Qt::BottomEdge).value_or(QRectF()), bottomBand);

    // The frost is asked once per chosen edge, for that edge's band.
    QList<std::pair<Qt::Edge, QRectF>> calls;
    ScrollEdgeFrostSetting::set(content, [&](QPainter &, const QRectF &band, Qt::Edge edge) { calls.append({edge, band}); });
    QImage image(content.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    edges.render(&image);
    QCOMPARE(calls.size(), int(top) + int(bottom));
    for (const auto &[edge, band] : calls)
        QCOMPARE(band, edge == Qt::TopEdge ? topBand : bottomBand);

    // The overlay follows the content's size.
    content.resize(200, 100);
    QCOMPARE(edges.geometry(), QRect(0, 0, 200, 100));
}

void TestSurfaces::softEdgesPaintOnlyWithAFrost()
{
    QWidget content;
    content.resize(100, 100);
    SoftScrollEdges edges(&content, true, true);
    QImage image(content.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    edges.render(&image);
    QVERIFY(gallery::isBlank(image));
    QCOMPARE(image.pixelColor(50, 5).alpha(), 0);

    ScrollEdgeFrostSetting::set(content, [](QPainter &painter, const QRectF &, Qt::Edge) {
        // Paints everywhere: the overlay keeps it inside the band.
        painter.fillRect(QRect(0, 0, 100, 100), Qt::red);
    });
    image.fill(Qt::transparent);
    edges.render(&image);
    QCOMPARE(image.pixelColor(50, 5), QColor(Qt::red));
    QCOMPARE(image.pixelColor(50, 95), QColor(Qt::red));
    QCOMPARE(image.pixelColor(50, 50).alpha(), 0);
}

void TestSurfaces::softEdgesFadeOnlyScrolledContent()
{
    // A scroll area whose content is taller than it: the frost at the top shows only once the
    // content has moved under it, and at the bottom only while content is left below.
    QScrollArea area;
    area.setFrameShape(QFrame::NoFrame);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *inner = new QWidget;
    inner->setFixedSize(100, 400);
    area.setWidget(inner);
    area.resize(100, 100);
    auto *edges = new SoftScrollEdges(area.viewport(), true, true);
    edges->followScroll(area.verticalScrollBar());
    ScrollEdgeFrostSetting::set(area, [](QPainter &painter, const QRectF &band, Qt::Edge) {
        painter.fillRect(band, Qt::red);
    });
    area.show();
    QCoreApplication::processEvents();
    QScrollBar *bar = area.verticalScrollBar();
    const auto alphaAt = [&](int y) {
        QImage image(edges->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        edges->render(&image);
        return image.pixelColor(50, y).alpha();
    };
    const int bottomRow = edges->height() - 5;
    QCOMPARE(alphaAt(5), 0);
    QCOMPARE(alphaAt(bottomRow), 255);
    bar->setValue(int(SoftScrollEdges::kTail / 2));
    QVERIFY(qAbs(alphaAt(5) - 128) <= 2);
    bar->setValue(bar->maximum());
    QCOMPARE(alphaAt(5), 255);
    QCOMPARE(alphaAt(bottomRow), 0);
    // Without a scroll bar followed, both bands always show.
    edges->followScroll(nullptr);
    QCOMPARE(alphaAt(bottomRow), 255);
}

void TestSurfaces::softEdgesRepaintOnlyChangedBands_data()
{
    QTest::addColumn<double>("topBefore");
    QTest::addColumn<double>("bottomBefore");
    QTest::addColumn<double>("topAfter");
    QTest::addColumn<double>("bottomAfter");
    QTest::addColumn<bool>("bottomChosen");
    QTest::addColumn<QRegion>("expected");
    const QRect top(0, 0, 200, 40 + int(SoftScrollEdges::kTail));
    const QRect bottom(0, 300 - int(SoftScrollEdges::kTail), 200, int(SoftScrollEdges::kTail));
    QTest::newRow("a step in the middle of the list") << 1.0 << 1.0 << 1.0 << 1.0 << true << QRegion();
    QTest::newRow("leaving the top") << 0.0 << 1.0 << 0.5 << 1.0 << true << QRegion(top);
    QTest::newRow("reaching the end") << 1.0 << 0.5 << 1.0 << 0.0 << true << QRegion(bottom);
    QTest::newRow("a list that became short") << 1.0 << 1.0 << 0.0 << 0.0 << true << (QRegion(top) + bottom);
    QTest::newRow("a bottom band not chosen") << 1.0 << 1.0 << 1.0 << 0.0 << false << QRegion();
}

void TestSurfaces::softEdgesRepaintOnlyChangedBands()
{
    QFETCH(double, topBefore);
    QFETCH(double, bottomBefore);
    QFETCH(double, topAfter);
    QFETCH(double, bottomAfter);
    QFETCH(bool, bottomChosen);
    QFETCH(QRegion, expected);
    QCOMPARE(SoftScrollEdges::changedBands({topBefore, bottomBefore}, {topAfter, bottomAfter}, QSizeF(200, 300),
                                           QMargins(0, 40, 0, 0), true, bottomChosen),
             expected);
}

void TestSurfaces::softEdgesFrostOnlyWhatAVeilLeaves_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<double>("inset");
    QTest::addColumn<double>("shown");
    QTest::addColumn<QColor>("veil");
    QTest::addColumn<QRectF>("expected");
    const QRectF top(0, 0, 200, 40 + SoftScrollEdges::kTail);
    const double bottomTop = 300 - 20 - SoftScrollEdges::kTail;
    const QColor opaque(240, 238, 233);
    QTest::newRow("top, under an opaque veil") << int(Qt::TopEdge) << 40.0 << 1.0 << opaque
                                               << QRectF(0, 40, 200, SoftScrollEdges::kTail);
    QTest::newRow("bottom, under an opaque veil") << int(Qt::BottomEdge) << 20.0 << 1.0 << opaque
                                                  << QRectF(0, bottomTop, 200, SoftScrollEdges::kTail);
    QTest::newRow("no veil") << int(Qt::TopEdge) << 40.0 << 1.0 << QColor() << top;
    QTest::newRow("a veil seen through") << int(Qt::TopEdge) << 40.0 << 1.0 << QColor(240, 238, 233, 200) << top;
    QTest::newRow("a band fading in") << int(Qt::TopEdge) << 40.0 << 0.5 << opaque << top;
    QTest::newRow("no inset") << int(Qt::BottomEdge) << 0.0 << 1.0 << opaque
                              << QRectF(0, 300 - SoftScrollEdges::kTail, 200, SoftScrollEdges::kTail);
}

// The frost is worked out only where it can show: where an opaque veil lies over an inset at full
// strength, the frost beneath it is hidden; through a translucent or fading veil it shows.
void TestSurfaces::softEdgesFrostOnlyWhatAVeilLeaves()
{
    QFETCH(int, edge);
    QFETCH(double, inset);
    QFETCH(double, shown);
    QFETCH(QColor, veil);
    QFETCH(QRectF, expected);
    const QRectF band = edge == Qt::TopEdge ? QRectF(0, 0, 200, inset + SoftScrollEdges::kTail)
                                            : QRectF(0, 300 - inset - SoftScrollEdges::kTail, 200, inset + SoftScrollEdges::kTail);
    QCOMPARE(SoftScrollEdges::frosted(band, Qt::Edge(edge), inset, shown, veil), expected);
}

void TestSurfaces::softEdgesLetClicksThrough()
{
    QWidget content;
    content.resize(100, 100);
    auto *button = new QWidget(&content);
    button->setGeometry(0, 0, 100, 100);
    SoftScrollEdges edges(&content, true, true);
    content.show();
    ScrollEdgeFrostSetting::set(content, [](QPainter &, const QRectF &, Qt::Edge) {});
    // Added after the overlay, the child still lies under it.
    auto *late = new QWidget(&content);
    late->setGeometry(0, 0, 100, 100);
    late->show();
    QCoreApplication::processEvents();
    QCOMPARE(content.children().last(), &edges);
    QVERIFY(edges.testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(QAccessible::queryAccessibleInterface(&edges)->state().invisible);
    QCOMPARE(edges.focusPolicy(), Qt::NoFocus);
    // Hit-testing finds what is under the bands.
    QCOMPARE(content.childAt(50, 5), late);
    QVERIFY(button);
}

void TestSurfaces::frostSettingIsInherited()
{
    QWidget window;
    auto *pane = new QWidget(&window);
    auto *inner = new QWidget(pane);
    QVERIFY(!ScrollEdgeFrostSetting::find(inner));

    int windowCalls = 0;
    int paneCalls = 0;
    ScrollEdgeFrostSetting::set(window, [&](QPainter &, const QRectF &, Qt::Edge) { ++windowCalls; });
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    ScrollEdgeFrostSetting::find(inner)(painter, QRectF(), Qt::TopEdge);
    QCOMPARE(windowCalls, 1);

    // A nearer setting wins; removing it uncovers the outer one again.
    ScrollEdgeFrostSetting::set(*pane, [&](QPainter &, const QRectF &, Qt::Edge) { ++paneCalls; });
    ScrollEdgeFrostSetting::find(inner)(painter, QRectF(), Qt::TopEdge);
    QCOMPARE(paneCalls, 1);
    QCOMPARE(windowCalls, 1);
    ScrollEdgeFrostSetting::set(*pane, {});
    ScrollEdgeFrostSetting::find(inner)(painter, QRectF(), Qt::TopEdge);
    QCOMPARE(windowCalls, 2);
    ScrollEdgeFrostSetting::set(window, {});
    QVERIFY(!ScrollEdgeFrostSetting::find(inner));
}

void TestSurfaces::gallery()
{
    SurfaceSheet sheet;
    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("surfaces"), &why), qPrintable(why));
    const QList<gallery::Shot> shots = gallery::capture(sheet, QStringLiteral("surfaces"));
    QCOMPARE(shots.size(), 4);
    // The looks differ: light from dark, and solid from glass (the canvas drops its background).
    for (int i = 0; i < shots.size(); ++i)
        for (int j = i + 1; j < shots.size(); ++j)
            QVERIFY(shots[i].view != shots[j].view);
    for (const gallery::Shot &shot : shots) {
        const QColor corner = shot.view.pixelColor(QPoint(3, 3) * int(shot.view.devicePixelRatio()));
        QCOMPARE(corner.alpha() == 0, shot.surface == Surface::glass);
    }
}

QTEST_MAIN(TestSurfaces)
#include "tst_surfaces.moc"
