// The library window's frame: the inspector column as the owner sets it, the content's least
// width, the status strip across everything, the bar over the content's top, and the backdrops of
// each surface.

#include "StashwellUI/Window/LibraryWindowTemplate.h"

#include "ControlTesting.h"
#include "PaintTesting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Window/StatusBar.h"

#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>

using namespace sw;

namespace {

// A view of a fixed height that paints nothing.
class Blank : public QWidget {
public:
    explicit Blank(int height = 0) : m_height(height) {}
    QSize sizeHint() const override { return QSize(100, m_height); }
    void setHintHeight(int height)
    {
        m_height = height;
        updateGeometry();
    }

private:
    int m_height;
};

struct Frame {
    Blank *sidebar = new Blank;
    Blank *bar = new Blank(52);
    Blank *content = new Blank;
    Blank *inspector = new Blank;
    StatusBar *status = new StatusBar;
    LibraryWindowTemplate window{sidebar, bar, content, inspector, status};

    explicit Frame(QSize size = QSize(1400, 900))
    {
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

// Content that is ink everywhere: what would read through the bar.
struct Ink : QWidget {
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Tokens::Colors::text()); }
};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

}  // namespace

class TestLibraryWindowTemplate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void cleanup()
    {
        Theme::instance().setSurface(Surface::solid);
        Theme::instance().setAppearance(Appearance::light);
    }
    void inspectorFollowsTheOwner();
    void contentNeverNarrowerThan600_data();
    void contentNeverNarrowerThan600();
    void inspectorBesideOrOver_data();
    void inspectorBesideOrOver();
    void inspectorOpensAtTheWidthItKeeps_data();
    void inspectorOpensAtTheWidthItKeeps();
    void inspectorKeepsItsPlaceAndTheKeyboardAcrossWidths_data();
    void inspectorKeepsItsPlaceAndTheKeyboardAcrossWidths();
    void statusStripSpansTheWindow();
    void barCoversTheContentsTop();
    void backdrops_data();
    void backdrops();
    void nothingReadsThroughTheBar_data();
    void nothingReadsThroughTheBar();
};

void TestLibraryWindowTemplate::inspectorFollowsTheOwner()
{
    Frame frame;
    QSignalSpy changes(&frame.window, &LibraryWindowTemplate::showsInspectorChanged);
    QVERIFY(!frame.window.showsInspector());
    QVERIFY(!frame.window.inspectorColumn()->isVisible());
    frame.window.setShowsInspector(true);
    settle();
    QVERIFY(frame.window.inspectorColumn()->isVisible());
    QVERIFY(frame.inspector->isVisible());
    const int width = frame.window.inspectorColumn()->width();
    QVERIFY2(width >= 320 && width <= 440, qPrintable(QString::number(width)));
    frame.window.setShowsInspector(true);
    QCOMPARE(changes.count(), 1);
    frame.window.setShowsInspector(false);
    settle();
    QVERIFY(!frame.window.inspectorColumn()->isVisible());
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.last().first().toBool(), false);
}

void TestLibraryWindowTemplate::contentNeverNarrowerThan600_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("inspector");
    QTest::newRow("wide, no inspector") << 1400 << false;
    QTest::newRow("wide, inspector") << 1400 << true;
    QTest::newRow("narrow, no inspector") << 700 << false;
    QTest::newRow("narrow, inspector") << 900 << true;
}

void TestLibraryWindowTemplate::contentNeverNarrowerThan600()
{
    QFETCH(int, width);
    QFETCH(bool, inspector);
    Frame frame;
    frame.window.setShowsInspector(inspector);
    frame.window.resize(width, 900);
    settle();
    QVERIFY2(frame.content->width() >= 600, qPrintable(QString::number(frame.content->width())));
    const int sidebar = frame.window.sidebarColumn()->width();
    QVERIFY2(sidebar >= 220 && sidebar <= 300, qPrintable(QString::number(sidebar)));
}

void TestLibraryWindowTemplate::inspectorBesideOrOver_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("covers");
    // 220 + 1 + 600 + 1 + 320: the least width with the inspector beside the content.
    QTest::newRow("a 1280 wide screen") << 1280 << false;
    QTest::newRow("just wide enough") << 1142 << false;
    QTest::newRow("one short") << 1141 << true;
    QTest::newRow("the least without the inspector") << 821 << true;
}

void TestLibraryWindowTemplate::inspectorBesideOrOver()
{
    QFETCH(int, width);
    QFETCH(bool, covers);
    Frame frame;
    // The window's least width never counts the inspector.
    const int least = frame.window.minimumSizeHint().width();
    frame.window.setShowsInspector(true);
    QCOMPARE(frame.window.minimumSizeHint().width(), least);
    for (int shown = 0; shown < 2; ++shown) {
        // Also when shown again at that width.
        frame.window.setShowsInspector(shown == 1);
        frame.window.resize(width, 700);
        settle();
        frame.window.setShowsInspector(true);
        settle();
        QCOMPARE(frame.window.inspectorCovers(), covers);
        // Whole at the trailing edge, down to the status strip; over the content only when it covers.
        QWidget *column = frame.window.inspectorColumn();
        const QRect placed(column->mapTo(&frame.window, QPoint(0, 0)), column->size());
        QCOMPARE(placed, QRect(width - placed.width(), 0, placed.width(), frame.window.statusStrip()->y()));
        QVERIFY(placed.width() >= 320 && placed.width() <= 440 && frame.content->width() >= 600);
        QCOMPARE(QRect(frame.content->mapTo(&frame.window, QPoint(0, 0)), frame.content->size()).intersects(placed), covers);
    }
}

namespace {

// The widths a widget is given, in order.
struct Widths : QObject {
    QList<int> seen;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            seen.append(static_cast<QWidget *>(watched)->width());
        return false;
    }
};

}  // namespace

void TestLibraryWindowTemplate::inspectorOpensAtTheWidthItKeeps_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("openings");
    QTest::newRow("beside, first opening") << 1400 << 1;
    QTest::newRow("beside, opened again") << 1400 << 3;
    QTest::newRow("over the content, opened again") << 1000 << 3;
}

// Each opening lays the inspector out at the width it then keeps, and at no other on the way:
// laying a long post out is most of what an opening costs.
void TestLibraryWindowTemplate::inspectorOpensAtTheWidthItKeeps()
{
    QFETCH(int, width);
    QFETCH(int, openings);
    Frame frame(QSize(width, 800));
    Widths widths;
    frame.inspector->installEventFilter(&widths);
    for (int i = 0; i < openings; ++i) {
        frame.window.setShowsInspector(false);
        settle();
        widths.seen.clear();
        frame.window.setShowsInspector(true);
        settle();
        const int kept = frame.inspector->width();
        QVERIFY(kept > 0);
        for (const int seen : std::as_const(widths.seen))
            QCOMPARE(seen, kept);
    }
    QVERIFY(frame.window.inspectorCovers() == (width < 1142));
}

void TestLibraryWindowTemplate::inspectorKeepsItsPlaceAndTheKeyboardAcrossWidths_data()
{
    // The window's widths in turn; a negative one closes the inspector, resizes, and opens it again.
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("beside, over, beside") << QList<int>{1400, 1000, 1400};
    QTest::newRow("over, beside, over") << QList<int>{1000, 1400, 1000};
    QTest::newRow("closed between") << QList<int>{1400, -1000, -1400, -1000};
}

// Whether the inspector stands beside the content or lies over it, it stands whole at the window's
// trailing edge; and a field being typed in keeps the keyboard while the window is resized across
// the width that docks it.
void TestLibraryWindowTemplate::inspectorKeepsItsPlaceAndTheKeyboardAcrossWidths()
{
    QFETCH(QList<int>, widths);
    Frame frame(QSize(std::abs(widths.first()), 800));
    auto *field = new QLineEdit(frame.inspector);
    field->setGeometry(10, 10, 200, 30);
    frame.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame.window));
    frame.window.setShowsInspector(true);
    settle();
    field->setFocus();
    QVERIFY(field->hasFocus());
    for (const int step : std::as_const(widths)) {
        const int width = std::abs(step);
        if (step < 0) {
            frame.window.setShowsInspector(false);
            settle();
            QVERIFY(!frame.inspector->isVisible());
        }
        frame.window.resize(width, 800);
        settle();
        if (step < 0) {
            frame.window.setShowsInspector(true);
            settle();
            field->setFocus();
        }
        QVERIFY(frame.inspector->isVisible());
        QCOMPARE(frame.window.inspectorCovers(), width < 1142);
        QWidget *column = frame.window.inspectorColumn();
        const QRect placed(column->mapTo(&frame.window, QPoint(0, 0)), column->size());
        QCOMPARE(placed.right(), width - 1);
        QVERIFY(placed.width() >= 320 && placed.width() <= 440);
        QCOMPARE(placed.height(), frame.window.statusStrip()->y());
        QVERIFY2(field->hasFocus(), qPrintable(QStringLiteral("lost the keyboard at %1").arg(width)));
    }
}

void TestLibraryWindowTemplate::statusStripSpansTheWindow()
{
    Frame frame;
    frame.window.setShowsInspector(true);
    settle();
    const QRect strip = frame.window.statusStrip()->geometry();
    QCOMPARE(strip.left(), 0);
    QCOMPARE(strip.width(), frame.window.width());
    QCOMPARE(strip.bottom(), frame.window.height() - 1);
    // No gap between the columns and the strip.
    QCOMPARE(strip.top(), frame.window.splitter()->geometry().bottom() + 1);
    QCOMPARE(frame.status->width(), frame.window.width());
    QCOMPARE(frame.status->height(), int(StatusBar::barHeight));
}

void TestLibraryWindowTemplate::barCoversTheContentsTop()
{
    Frame frame;
    settle();
    QCOMPARE(frame.bar->geometry(), QRect(0, 0, frame.content->width(), 52));
    QCOMPARE(frame.content->geometry().top(), 0);
    QCOMPARE(frame.window.contentSafeAreaInsets(), QMargins(0, 52, 0, 0));
    QSignalSpy insets(&frame.window, &LibraryWindowTemplate::contentSafeAreaInsetsChanged);
    frame.bar->setHintHeight(60);
    settle();
    QCOMPARE(frame.window.contentSafeAreaInsets().top(), 60);
    QCOMPARE(insets.count(), 1);
}

void TestLibraryWindowTemplate::backdrops_data()
{
    QTest::addColumn<Surface>("surface");
    QTest::addColumn<Appearance>("appearance");
    QTest::addColumn<bool>("switched");
    QTest::newRow("solid, light") << Surface::solid << Appearance::light << false;
    QTest::newRow("solid, dark") << Surface::solid << Appearance::dark << false;
    QTest::newRow("glass, light") << Surface::glass << Appearance::light << false;
    QTest::newRow("glass, dark") << Surface::glass << Appearance::dark << false;
    // A column whose ground was opaque and no longer is must let the window's show through again.
    QTest::newRow("solid, then glass") << Surface::glass << Appearance::light << true;
    QTest::newRow("glass, then solid") << Surface::solid << Appearance::dark << true;
}

void TestLibraryWindowTemplate::backdrops()
{
    QFETCH(Surface, surface);
    QFETCH(Appearance, appearance);
    QFETCH(bool, switched);
    Theme::instance().setAppearance(appearance);
    const Surface other = surface == Surface::glass ? Surface::solid : Surface::glass;
    Theme::instance().setSurface(switched ? other : surface);
    Frame frame;
    frame.window.setShowsInspector(true);
    settle();
    if (switched) {
        (void)test::render(frame.window);
        Theme::instance().setSurface(surface);
        settle();
    }
    const QImage image = test::render(frame.window);
    const auto at = [&](QWidget *in, QPoint point) { return image.pixelColor(in->mapTo(&frame.window, point)); };
    const bool glass = surface == Surface::glass;
    // On glass nothing is opaque: only the window colour at 0.66 over everything.
    const QColor sheet = Tokens::Colors::glassSheet();
    const QColor panel = glass ? sheet : Tokens::Colors::panel();
    const QColor window = glass ? sheet : Tokens::Colors::window();
    QVERIFY(test::sameColour(at(frame.sidebar, QPoint(20, 300)), panel, 2, true));
    QVERIFY(test::sameColour(at(frame.inspector, QPoint(20, 300)), panel, 2, true));
    QVERIFY(test::sameColour(at(frame.status, QPoint(frame.status->width() / 2, 3)), window, 2, true));
    // Between the dots of the canvas.
    QVERIFY(test::sameColour(at(frame.content, QPoint(7 + 14 * 10, 7 + 14 * 20)), window, 2, true));
    // The line over the status strip.
    const QColor line = at(frame.window.statusStrip(), QPoint(frame.window.width() / 2, 0));
    QVERIFY(!test::sameColour(line, window, 2, true));
    Theme::instance().setAppearance(Appearance::light);
}

void TestLibraryWindowTemplate::nothingReadsThroughTheBar_data()
{
    backdrops_data();
}

void TestLibraryWindowTemplate::nothingReadsThroughTheBar()
{
    QFETCH(Surface, surface);
    QFETCH(Appearance, appearance);
    QFETCH(bool, switched);
    Theme::instance().setAppearance(appearance);
    Theme::instance().setSurface(switched ? (surface == Surface::glass ? Surface::solid : Surface::glass) : surface);
    auto *ink = new Ink;
    LibraryWindowTemplate window(new Blank, new Blank(52), ink, new Blank, new StatusBar);
    window.resize(1200, 700);
    Theme::instance().setSurface(surface);
    // What the content shows at a depth from its top, half-way across.
    const auto at = [&](int depth) { return test::render(window).pixelColor(ink->mapTo(&window, QPoint(600, depth))); };
    const QColor text = Tokens::Colors::text();
    // Scrolled under the bar: across the whole bar the ink has melted into the window's colour.
    QScrollBar scroll(Qt::Vertical);
    scroll.setRange(0, 1000);
    scroll.setValue(500);
    window.followContentScroll(&scroll);
    for (const int depth : {0, 20, 51})
        QVERIFY2(test::sameColour(at(depth), Tokens::Colors::window(), 2), qPrintable(QString::number(depth)));
    // Below the band the content is as it is; in the band's tail it shows again by degrees.
    QVERIFY(test::sameColour(at(52 + 28 + 4), text, 2));
    QVERIFY(test::contrast(at(52 + 20), text) < test::contrast(at(52 + 4), text));
    // At rest at the top nothing lies under the bar, and nothing is veiled.
    scroll.setValue(0);
    QVERIFY(test::sameColour(at(20), text, 2));
}

QTEST_MAIN(TestLibraryWindowTemplate)
#include "tst_librarywindowtemplate.moc"
