// The progressive blur: its strength curve, gradient and mask rows, the colour matrix, building
// once per edge and height, clicks through the bands, and pictures of the shelf's frosted edges.

#include "Gallery.h"
#include "PaintTesting.h"
#include "ShelfFixtures.h"

#include "Stashwell/Window/GlassBackdrop.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "Stashwell/Window/ProgressiveBlur.h"
#include "Stashwell/Window/SettingsWindow.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Shelf/ShelfSurface.h"

#include <QBackingStore>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include <cmath>
#include <limits>

using namespace sw;
using namespace sw::app;
using namespace sw::shelftest;

Q_DECLARE_METATYPE(sw::app::VerticalEdge)

namespace {

// Stripes that a blur visibly softens.
class Stripes : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int y = 0; y < height(); y += 4)
            painter.fillRect(0, y, width(), 2, y % 8 ? Qt::black : Qt::red);
        painter.fillRect(0, 1, width(), 1, Qt::white);
    }
};

// One colour all over.
class Flat : public QWidget {
public:
    Flat(QColor colour, QWidget *parent) : QWidget(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

// Blocks of colour whose edges fall between the blocks of pixels that every level's scale takes
// together (in bands 36 pixels tall), counting its paints.
class Blocks : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        QPainter painter(this);
        painter.fillRect(rect(), QColor(30, 60, 200));
        painter.fillRect(0, 0, 144, 24, QColor(220, 40, 40));
        painter.fillRect(144, 0, width() - 144, 24, QColor(250, 250, 250));
        painter.fillRect(0, height() - 12, 72, 12, QColor(20, 20, 20));
    }
};

// A scrolling shelf as the library window holds it: the frost set above, bands at both edges.
struct FrostedShelf {
    QWidget window;
    ShelfSurface *surface;
    SoftScrollEdges *edges;
    Calls calls;
    QList<ShelfItem> shown = items(40);

    explicit FrostedShelf(bool frost = true)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        surface = new ShelfSurface;
        surface->setPadding({24, 16, 24, 44});
        layout->addWidget(surface);
        window.resize(900, 600);
        surface->setCollection(recording(shown, ShelfLayout::grid, calls));
        // On the scroll area, as the library window's frame places them.
        edges = new SoftScrollEdges(surface, true, true);
        if (frost)
            ScrollEdgeFrostSetting::set(window, ProgressiveBlur::frost());
    }
};

}  // namespace

class TestProgressiveBlur : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void strength_data();
    void strength();
    void gradient();
    void maskRows_data();
    void maskRows();
    void colorMatrix();
    void buildsOncePerEdgeAndHeight();
    void degrades_data();
    void degrades();
    void meterStepsBothBands();
    void frostsTheScrollAreaWithoutRecursion();
    void partialRepaintsAreNotJudged();
    void paintsOnlyTheBand_data();
    void paintsOnlyTheBand();
    void readsWhatTheContentPaintedBeneath_data();
    void readsWhatTheContentPaintedBeneath();
    void flatContent_data();
    void flatContent();
    void underAnOpaqueVeilOnlyTheTailIsFrosted();
    void clickThroughBand();
    void onlyTheLibraryWindowFrosts();
    void gallery();
};

void TestProgressiveBlur::initTestCase()
{
    loadFonts();
    Tokens::Motion::setEnabled(false);
}

void TestProgressiveBlur::strength_data()
{
    QTest::addColumn<VerticalEdge>("edge");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("expected");
    QTest::newRow("top, at the edge") << VerticalEdge::top << 0.0 << 1.0;
    QTest::newRow("top, full strength for a tenth") << VerticalEdge::top << 0.1 << 1.0;
    QTest::newRow("top, far end") << VerticalEdge::top << 1.0 << 0.0;
    QTest::newRow("top, half way in strength") << VerticalEdge::top << 0.55 << 0.5;
    QTest::newRow("top, a fifth of the ramp") << VerticalEdge::top << 0.82 << 0.05792;
    QTest::newRow("bottom, at the edge") << VerticalEdge::bottom << 1.0 << 1.0;
    QTest::newRow("bottom, far end") << VerticalEdge::bottom << 0.0 << 0.0;
    QTest::newRow("bottom, half way in strength") << VerticalEdge::bottom << 0.45 << 0.5;
    QTest::newRow("bottom, a fifth of the ramp") << VerticalEdge::bottom << 0.18 << 0.05792;
    QTest::newRow("beyond the band clamps") << VerticalEdge::bottom << 1.5 << 1.0;
}

void TestProgressiveBlur::strength()
{
    QFETCH(VerticalEdge, edge);
    QFETCH(double, t);
    QFETCH(double, expected);
    QVERIFY2(std::abs(ProgressiveBlur::strength(edge, t) - expected) < 1e-9,
             qPrintable(QString::number(ProgressiveBlur::strength(edge, t), 'g', 12)));
}

void TestProgressiveBlur::gradient()
{
    const auto top = ProgressiveBlur::gradient(VerticalEdge::top);
    const auto bottom = ProgressiveBlur::gradient(VerticalEdge::bottom);
    QCOMPARE(top.size(), std::size_t(17));
    for (std::size_t i = 0; i < top.size(); ++i) {
        QCOMPARE(top[i].location, double(i) / 16.0);
        // The same values the other way round for the other edge.
        QVERIFY(std::abs(top[i].alpha - bottom[16 - i].alpha) < 1e-12);
        if (top[i].location <= 0.1)
            QCOMPARE(top[i].alpha, 0.2);
        if (i > 0)
            QVERIFY(top[i].alpha <= top[i - 1].alpha);
    }
    QCOMPARE(top.back().alpha, 0.0);
    QCOMPARE(bottom.front().alpha, 0.0);
    QCOMPARE(bottom.back().alpha, 0.2);
    // Between full and none the ramp is strictly falling.
    QVERIFY(top[8].alpha < 0.2 && top[8].alpha > 0.0);
}

void TestProgressiveBlur::maskRows_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("rows");   // 0: no mask
    QTest::newRow("half a point: the minimum") << 0.5 << 2;
    QTest::newRow("two points") << 2.0 << 2;
    QTest::newRow("a little more than a whole number") << 100.2 << 101;
    QTest::newRow("a whole number") << 28.0 << 28;
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("negative") << -4.0 << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 0;
    QTest::newRow("too tall for a row count") << 1e12 << 0;
}

void TestProgressiveBlur::maskRows()
{
    QFETCH(double, height);
    QFETCH(int, rows);
    const auto top = ProgressiveBlur::maskRows(VerticalEdge::top, height);
    const auto bottom = ProgressiveBlur::maskRows(VerticalEdge::bottom, height);
    if (rows == 0) {
        QVERIFY(!top && !bottom);
        return;
    }
    QVERIFY(top && bottom);
    QCOMPARE(int(top->size()), rows);
    QCOMPARE(int(bottom->size()), rows);
    // Top edge: opaque top row, clear bottom row; the bottom edge the other way.
    QCOMPARE(top->front(), 1.f);
    QCOMPARE(top->back(), 0.f);
    QCOMPARE(bottom->front(), 0.f);
    QCOMPARE(bottom->back(), 1.f);
}

void TestProgressiveBlur::colorMatrix()
{
    QImage image(3, 1, QImage::Format_ARGB32_Premultiplied);
    image.setPixel(0, 0, qRgba(128, 128, 128, 255));
    image.setPixel(1, 0, qRgba(255, 0, 0, 255));
    image.setPixel(2, 0, qPremultiply(qRgba(0, 0, 255, 128)));
    ProgressiveBlur::applyColorMatrix(image);
    const QRgb grey = image.pixel(0, 0);
    QVERIFY(std::abs(qRed(grey) - 128) <= 1 && std::abs(qGreen(grey) - 128) <= 1 && std::abs(qBlue(grey) - 128) <= 1);
    // Pure red loses a little of its saturation to green and blue.
    const QRgb red = image.pixel(1, 0);
    QCOMPARE(qRed(red), 222);
    QCOMPARE(qGreen(red), 9);
    QCOMPARE(qBlue(red), 9);
    QCOMPARE(qAlpha(red), 255);
    // Half-transparent colours keep their alpha and stay valid premultiplied values.
    const QRgb blue = image.pixelColor(2, 0).rgba();
    QCOMPARE(qAlpha(image.pixel(2, 0)), 128);
    QVERIFY(qBlue(blue) > qRed(blue) && qBlue(blue) > qGreen(blue));
    const quint32 raw = reinterpret_cast<const quint32 *>(image.constScanLine(0))[2];
    QVERIFY(((raw >> 16) & 0xff) <= (raw >> 24) && (raw & 0xff) <= (raw >> 24));
}

void TestProgressiveBlur::buildsOncePerEdgeAndHeight()
{
    ProgressiveBlurView view;
    QVERIFY(view.prepare(28));
    QVERIFY(view.prepare(28));
    QCOMPARE(view.rebuilds(), 1);
    QVERIFY(view.prepare(40));
    QCOMPARE(view.rebuilds(), 2);
    view.setEdge(VerticalEdge::bottom);
    QVERIFY(view.prepare(40));
    QCOMPARE(view.rebuilds(), 3);
    view.setEdge(VerticalEdge::bottom);
    QVERIFY(view.prepare(40));
    QCOMPARE(view.rebuilds(), 3);
    // An unusable height builds nothing and keeps what was built.
    QVERIFY(!view.prepare(0));
    QVERIFY(!view.prepare(std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(view.prepare(40));
    QCOMPARE(view.rebuilds(), 3);

    // Painting the shelf's bands over and over builds each band once.
    FrostedShelf shelf;
    shelf.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shelf.window));
    for (int i = 0; i < 5; ++i) {
        shelf.surface->verticalScrollBar()->setValue(i * 40);
        shelf.window.grab();
    }
    auto *top = shelf.edges->findChild<ProgressiveBlurView *>(QStringLiteral("sw.progressiveBlur.top"));
    auto *bottom = shelf.edges->findChild<ProgressiveBlurView *>(QStringLiteral("sw.progressiveBlur.bottom"));
    QVERIFY(top && bottom);
    QCOMPARE(top->rebuilds(), 1);
    QCOMPARE(bottom->rebuilds(), 1);
    QCOMPARE(bottom->edge(), VerticalEdge::bottom);
    shelf.edges->setSafeAreaInsets(QMargins(0, 52, 0, 0));
    shelf.window.grab();
    QCOMPARE(top->rebuilds(), 2);
    QCOMPARE(bottom->rebuilds(), 1);
}

void TestProgressiveBlur::degrades_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("frameMs");
    QTest::addColumn<double>("frostMs");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("next");
    const int judged = ProgressiveBlurView::kJudgedAfter;
    const int last = ProgressiveBlurView::kLevels - 1;
    QTest::newRow("frost adds a third of the frame") << 0 << 1.5 << 0.5 << judged << 0;
    QTest::newRow("frost adds exactly half: 1.5 times holds") << 0 << 2.0 << 1.0 << judged << 0;
    QTest::newRow("frost adds two thirds: 1.66 times") << 0 << 1.5 << 1.0 << judged << 1;
    QTest::newRow("slow machine, frost in proportion") << 0 << 6.0 << 2.5 << 16 << 0;
    QTest::newRow("a heavy frame, the frost a small part of it") << 0 << 12.0 << 0.5 << 16 << 0;
    QTest::newRow("in proportion, but over its own budget") << 0 << 8.0 << 3.5 << 16 << 1;
    QTest::newRow("over its share, too few frames yet") << 0 << 1.5 << 1.0 << judged - 1 << 0;
    QTest::newRow("middle level still over its share") << 1 << 1.0 << 0.6 << judged << 2;
    QTest::newRow("the cheapest level is the last") << last << 1.0 << 5.0 << 99 << last;
    QTest::newRow("no frame measured") << 0 << 0.0 << 1.0 << judged << 0;
    QTest::newRow("frame not a number") << 0 << std::numeric_limits<double>::quiet_NaN() << 1.0 << judged << 0;
}

void TestProgressiveBlur::degrades()
{
    QFETCH(int, level);
    QFETCH(double, frameMs);
    QFETCH(double, frostMs);
    QFETCH(int, frames);
    QFETCH(int, next);
    QCOMPARE(ProgressiveBlurView::levelAfter(level, FrameCosts{frameMs, frostMs, frames}), next);
}

// The meter judges both bands of its overlay on the medians of the frames at their level, and
// starts afresh at the new level.
void TestProgressiveBlur::meterStepsBothBands()
{
    FrostedShelf shelf;
    shelf.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shelf.window));
    shelf.window.grab();
    auto *top = ProgressiveBlurView::of(*shelf.edges, VerticalEdge::top);
    auto *bottom = ProgressiveBlurView::of(*shelf.edges, VerticalEdge::bottom);
    top->setQuality(0);
    bottom->setQuality(0);
    FrostMeter *meter = FrostMeter::of(*shelf.edges);
    const int judged = ProgressiveBlurView::kJudgedAfter;
    // Frames where the frost costs two thirds of the rest: judged once there are enough of them.
    for (int i = 1; i < judged; ++i)
        meter->add(1.5, 1.0);
    QCOMPARE(top->quality(), 0);
    meter->add(1.5, 1.0);
    QCOMPARE(top->quality(), 1);
    QCOMPARE(bottom->quality(), 1);
    QCOMPARE(meter->costs().frames, 0);
    // At the new level: one slow outlier among frames within the share moves nothing.
    meter->add(1.0, 3.0);
    for (int i = 1; i < 2 * judged; ++i)
        meter->add(1.5, 0.5);
    QCOMPARE(meter->costs().frames, FrostMeter::kKept);
    QCOMPARE(meter->costs().frostMs, 0.5);
    QCOMPARE(top->quality(), 1);
    QCOMPARE(bottom->quality(), 1);
}

// Repainting a small part of a band over and over (a card's hover under it) costs the whole band
// next to a small frame; such frames are not judged, so they never make the frost cheaper.
void TestProgressiveBlur::partialRepaintsAreNotJudged()
{
    FrostedShelf shelf;
    shelf.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shelf.window));
    shelf.window.grab();
    FrostMeter *meter = FrostMeter::of(*shelf.edges);
    const QRect band = shelf.edges->band(Qt::TopEdge)->toAlignedRect();
    const QRect part(shelf.surface->mapTo(&shelf.window, band.center()), QSize(24, 4));
    QImage image(shelf.window.size(), QImage::Format_ARGB32_Premultiplied);
    // The first partial paint closes the last whole frame.
    shelf.window.render(&image, QPoint(), QRegion(part));
    const int whole = meter->costs().frames;
    for (int i = 0; i < 4 * ProgressiveBlurView::kJudgedAfter; ++i)
        shelf.window.render(&image, QPoint(), QRegion(part));
    QCOMPARE(meter->costs().frames, whole);
    QCOMPARE(ProgressiveBlurView::of(*shelf.edges, VerticalEdge::top)->quality(), 0);
    // Whole frames are measured.
    for (int i = 0; i < 3; ++i)
        shelf.window.render(&image);
    QVERIFY(meter->costs().frames > whole);
}

// The bands over a scroll area frost what its viewport shows, and painting them never paints the
// overlay again from inside its own paint.
void TestProgressiveBlur::frostsTheScrollAreaWithoutRecursion()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Recursive repaint")));
    FrostedShelf plain(false);
    FrostedShelf frosted;
    for (FrostedShelf *shelf : {&plain, &frosted}) {
        shelf->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shelf->window));
        shelf->surface->verticalScrollBar()->setValue(120);
    }
    const QImage without = plain.window.grab().toImage();
    const QImage with = frosted.window.grab().toImage();
    QCOMPARE(with.size(), without.size());
    const QRect topBand = frosted.edges->band(Qt::TopEdge)->toAlignedRect();
    int changed = 0;
    for (int x = 0; x < topBand.width(); ++x)
        changed += with.pixel(x, 2) != without.pixel(x, 2);
    // Across the top row the cards beneath show frosted (the gaps between them show the window).
    QVERIFY2(changed > topBand.width() / 4, qPrintable(QString::number(changed)));
    // The middle of the shelf is untouched.
    const int middle = with.height() / 2;
    for (int x = 0; x < with.width(); x += 7)
        QCOMPARE(with.pixel(x, middle), without.pixel(x, middle));
}

void TestProgressiveBlur::paintsOnlyTheBand_data()
{
    QTest::addColumn<int>("quality");
    for (int level = 0; level < ProgressiveBlurView::kLevels; ++level)
        QTest::addRow("level %d", level) << level;
}

// At every level the strong end of a band changes (softens) the content, and the content outside
// the bands stays as it was.
void TestProgressiveBlur::paintsOnlyTheBand()
{
    QFETCH(int, quality);
    QWidget window;
    auto *content = new Stripes(&window);
    content->resize(300, 200);
    window.resize(300, 200);
    const QImage plain = window.grab().toImage();
    auto *edges = new SoftScrollEdges(content, true, true);
    ScrollEdgeFrostSetting::set(window, ProgressiveBlur::frost());
    ProgressiveBlurView::of(*edges, VerticalEdge::top)->setQuality(quality);
    ProgressiveBlurView::of(*edges, VerticalEdge::bottom)->setQuality(quality);
    const QImage frosted = window.grab().toImage();
    QCOMPARE(frosted.size(), plain.size());
    auto rowDiffers = [&](int y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != frosted.pixel(x, y))
                return true;
        }
        return false;
    };
    QVERIFY(rowDiffers(1));      // the white line at the top is blurred into its neighbours
    QVERIFY(rowDiffers(197));
    for (int y = 40; y < 160; ++y)
        QVERIFY2(!rowDiffers(y), qPrintable(QString::number(y)));
}

void TestProgressiveBlur::readsWhatTheContentPaintedBeneath_data() { paintsOnlyTheBand_data(); }

// In a window on screen a band repainted whole reads what the content has just painted beneath it
// from the window's buffer instead of painting the content once more, and shows what a grab
// (which paints it again) shows: the content is painted once a frame, wherever it sits in the
// window.
void TestProgressiveBlur::readsWhatTheContentPaintedBeneath()
{
    QFETCH(int, quality);
    QWidget window;
    window.resize(340, 260);
    auto *content = new Blocks(&window);
    content->setGeometry(17, 30, 300, 203);
    auto *edges = new SoftScrollEdges(content, true, true);
    edges->setSafeAreaInsets(QMargins(0, 8, 0, 8));
    ScrollEdgeFrostSetting::set(window, ProgressiveBlur::frost());
    for (const VerticalEdge edge : {VerticalEdge::top, VerticalEdge::bottom})
        ProgressiveBlurView::of(*edges, edge)->setQuality(quality);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.repaint();
    const int before = content->paints;
    window.repaint();
    QCOMPARE(content->paints - before, 1);

    const auto *buffer = dynamic_cast<const QImage *>(window.backingStore()->paintDevice());
    QVERIFY(buffer);
    const QImage shown = buffer->copy(window.rect()).convertToFormat(QImage::Format_RGB32);
    const QImage grabbed = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), grabbed.size());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (!test::sameColour(shown.pixel(x, y), grabbed.pixel(x, y), 3))
                QFAIL(qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    // And the bands did frost: the red block's strong end is not its own colour.
    QVERIFY(shown.pixel(content->x() + 10, content->y() + 1) != qRgb(220, 40, 40));
}

// The frost is left out where an opaque veil covers the inset: the window shows what it showed
// with the whole band frosted (under a veil one step short of opaque, which is frosted whole),
// within a level or two where the tail's blur no longer reaches under the bar; and the tail is
// still frosted.
namespace {
QColor g_veil;
QColor veilColour() { return g_veil; }
}  // namespace

void TestProgressiveBlur::underAnOpaqueVeilOnlyTheTailIsFrosted()
{
    const auto shown = [](int veilAlpha, bool frost) {
        g_veil = QColor(240, 238, 233, veilAlpha);
        QWidget window;
        auto *content = new Stripes(&window);
        content->resize(300, 200);
        window.resize(300, 200);
        auto *edges = new SoftScrollEdges(content, true, true);
        edges->setSafeAreaInsets(QMargins(0, 40, 0, 20));
        edges->setVeil(&veilColour);
        if (frost)
            ScrollEdgeFrostSetting::set(window, ProgressiveBlur::frost());
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage tailAlone = shown(255, true);
    const QImage whole = shown(254, true);
    const QImage unfrosted = shown(255, false);
    bool tailFrosted = false;
    for (int y = 0; y < tailAlone.height(); ++y) {
        for (int x = 0; x < tailAlone.width(); ++x) {
            QVERIFY2(test::sameColour(tailAlone.pixel(x, y), whole.pixel(x, y), 2), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            tailFrosted = tailFrosted || tailAlone.pixel(x, y) != unfrosted.pixel(x, y);
        }
    }
    QVERIFY(tailFrosted);
}

void TestProgressiveBlur::flatContent_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("expected");   // at the outer edge: a fifth of the frost over the content
    QTest::newRow("grey stays grey") << QColor(128, 128, 128) << QColor(128, 128, 128);
    QTest::newRow("red loses a little saturation") << QColor(255, 0, 0) << QColor(248, 2, 2);
    QTest::newRow("blue") << QColor(0, 0, 255) << QColor(1, 1, 247);
}

// Over content of one colour the blur has nothing to soften: what shows at each band's outer edge
// is the colour matrix's share alone, the same across the whole width (the blur's edges repeat
// the content instead of fading to nothing).
void TestProgressiveBlur::flatContent()
{
    QFETCH(QColor, colour);
    QFETCH(QColor, expected);
    QWidget window;
    auto *content = new Flat(colour, &window);
    content->resize(301, 157);
    window.resize(content->size());
    auto *edges = new SoftScrollEdges(content, true, true);
    ScrollEdgeFrostSetting::set(window, ProgressiveBlur::frost());
    const QImage frosted = window.grab().toImage();
    QVERIFY(ProgressiveBlurView::of(*edges, VerticalEdge::top)->rebuilds() == 1);
    for (const int y : {0, frosted.height() - 1}) {
        for (const int x : {0, 1, frosted.width() / 2, frosted.width() - 2, frosted.width() - 1}) {
            const QRgb at = frosted.pixel(x, y);
            QVERIFY2(test::sameColour(at, expected, 2), qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(QColor(at).name())));
        }
    }
}

void TestProgressiveBlur::clickThroughBand()
{
    FrostedShelf shelf;
    // Text posts: the top of each card is its body, which selects the save.
    shelf.shown = items(40, 1);
    shelf.surface->setCollection(recording(shelf.shown, ShelfLayout::grid, shelf.calls));
    shelf.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shelf.window));
    shelf.window.grab();
    const auto topBand = shelf.edges->band(Qt::TopEdge);
    QVERIFY(topBand);
    const QRectF cell = shelf.surface->itemRect(0, 1);
    const QPoint inBand(int(cell.center().x()), int(cell.top() + 10));
    QVERIFY(topBand->contains(shelf.surface->viewport()->mapTo(shelf.surface, inBand)));
    const QPoint inWindow = shelf.surface->viewport()->mapTo(&shelf.window, inBand);
    // The widget under the point is the shelf, not the band's overlay.
    QWidget *under = shelf.window.childAt(inWindow);
    QCOMPARE(under, shelf.surface->viewport());
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&shelf.window, inWindow));
    QCOMPARE(shelf.calls.log.value(0), QStringLiteral("select %1").arg(number(shelf.surface->item(0, 1)->save().id())));
}

void TestProgressiveBlur::onlyTheLibraryWindowFrosts()
{
    GlassBackdrop backdrop([] { return false; });
    LibraryWindow library(backdrop);
    auto *page = new QWidget;
    library.setPage(page);
    QVERIFY(ScrollEdgeFrostSetting::find(page));
    SettingsWindow settings;
    QVERIFY(!ScrollEdgeFrostSetting::find(&settings));
}

// The shelf scrolled into its middle, so that cards pass under both bands.
void TestProgressiveBlur::gallery()
{
    for (const bool frost : {true, false}) {
        FrostedShelf shelf(frost);
        shelf.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shelf.window));
        shelf.surface->verticalScrollBar()->setValue(shelf.surface->verticalScrollBar()->maximum() / 2);
        QString why;
        QVERIFY2(gallery::captureAndCheck(shelf.window, frost ? QStringLiteral("frost-shelf-edges") : QStringLiteral("frost-shelf-edges-without"), &why),
                 qPrintable(why));
    }
}

QTEST_MAIN(TestProgressiveBlur)
#include "tst_progressiveblur.moc"
