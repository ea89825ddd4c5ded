// The application's scroll bar: no arrow buttons, a thumb that widens under the pointer and keeps
// track of the value, a track kept clear of a bar over the content, content that keeps its width,
// and colours that follow the theme.

#include "ControlTesting.h"
#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Theme.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

using namespace sw;

namespace {

// A scroll bar whose style option the test can read.
class OpenBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;
    using QScrollBar::initStyleOption;
};

// A bar of the application style, 200 long, over a range of 0 ... 900 with a page of 100.
struct Bar {
    OpenBar bar;

    explicit Bar(Qt::Orientation orientation)
        : bar(orientation)
    {
        bar.setRange(0, 900);
        bar.setPageStep(100);
        bar.resize(orientation == Qt::Vertical ? QSize(ScrollBarStyle::extent, 200) : QSize(200, ScrollBarStyle::extent));
    }
    QStyleOptionSlider option(bool hovered) const
    {
        QStyleOptionSlider option;
        bar.initStyleOption(&option);
        option.state.setFlag(QStyle::State_MouseOver, hovered);
        return option;
    }
    QRect rect(QStyle::SubControl sub, bool hovered = false) const
    {
        const QStyleOptionSlider o = option(hovered);
        return bar.style()->subControlRect(QStyle::CC_ScrollBar, &o, sub, &bar);
    }
    int across(const QRect &r) const { return bar.orientation() == Qt::Vertical ? r.width() : r.height(); }
    int start(const QRect &r) const { return bar.orientation() == Qt::Vertical ? r.top() : r.left(); }
    int end(const QRect &r) const { return bar.orientation() == Qt::Vertical ? r.bottom() : r.right(); }
    QPoint along(int at) const
    {
        return bar.orientation() == Qt::Vertical ? QPoint(bar.width() / 2, at) : QPoint(at, bar.height() / 2);
    }
};

// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    int count = 0;
    explicit PaintCounter(QWidget &widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

void addOrientations()
{
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::newRow("vertical") << Qt::Vertical;
    QTest::newRow("horizontal") << Qt::Horizontal;
}

}  // namespace

class TestScrollBarStyle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::prepareControls();
        ScrollBarStyle::install();
    }
    void cleanup() { Theme::instance().setAppearance(Appearance::light); }

    void installedOnceForTheWholeApplication()
    {
        QStyle *style = QApplication::style();
        QVERIFY(qobject_cast<ScrollBarStyle *>(style));
        ScrollBarStyle::install();
        QCOMPARE(QApplication::style(), style);
        QScrollBar bar;
        QCOMPARE(bar.style(), style);
    }

    void noArrowButtons_data() { addOrientations(); }
    void noArrowButtons()
    {
        QFETCH(Qt::Orientation, orientation);
        Bar b(orientation);
        for (const bool hovered : {false, true}) {
            for (const auto sub : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarFirst,
                                   QStyle::SC_ScrollBarLast})
                QVERIFY2(b.rect(sub, hovered).isEmpty(), qPrintable(QString::number(int(sub))));
            // The ends of the bar, where the arrows were, scroll by pages or not at all.
            const QStyleOptionSlider o = b.option(hovered);
            for (const int at : {1, 198}) {
                const QStyle::SubControl hit = b.bar.style()->hitTestComplexControl(QStyle::CC_ScrollBar, &o, b.along(at), &b.bar);
                QVERIFY(hit != QStyle::SC_ScrollBarAddLine && hit != QStyle::SC_ScrollBarSubLine);
            }
        }
    }

    void widensUnderThePointer_data() { addOrientations(); }
    void widensUnderThePointer()
    {
        QFETCH(Qt::Orientation, orientation);
        Bar b(orientation);
        const QRect rest = b.rect(QStyle::SC_ScrollBarSlider, false);
        const QRect hovered = b.rect(QStyle::SC_ScrollBarSlider, true);
        QVERIFY(b.across(hovered) > b.across(rest));
        QVERIFY(b.across(rest) > 0);
        // Only its breadth changes: it stands at the same place along the track.
        QCOMPARE(b.start(hovered), b.start(rest));
        QCOMPARE(b.end(hovered), b.end(rest));
        // Both fit inside the bar.
        QVERIFY(b.bar.rect().contains(hovered));
    }

    // The thumb is as long as the share shown, and it travels the whole track.
    void thumbFollowsTheValue_data() { addOrientations(); }
    void thumbFollowsTheValue()
    {
        QFETCH(Qt::Orientation, orientation);
        Bar b(orientation);
        b.bar.setRange(0, 100);   // half of it shown
        const QRect track = b.rect(QStyle::SC_ScrollBarGroove);
        const int shortRange = b.end(b.rect(QStyle::SC_ScrollBarSlider)) - b.start(b.rect(QStyle::SC_ScrollBarSlider));
        QCOMPARE(b.start(b.rect(QStyle::SC_ScrollBarSlider)), b.start(track));
        b.bar.setValue(b.bar.maximum());
        QCOMPARE(b.end(b.rect(QStyle::SC_ScrollBarSlider)), b.end(track));
        // The pages before and after the thumb are the rest of the track.
        QCOMPARE(b.end(b.rect(QStyle::SC_ScrollBarSubPage)) + 1, b.start(b.rect(QStyle::SC_ScrollBarSlider)));
        b.bar.setRange(0, 90000);
        const int longRange = b.end(b.rect(QStyle::SC_ScrollBarSlider)) - b.start(b.rect(QStyle::SC_ScrollBarSlider));
        QVERIFY(longRange < shortRange);
        QVERIFY(longRange + 1 >= ScrollBarStyle::minimumThumb);
    }

    // Dragged with the pointer and clicked on its track, the real bar moves as far as it should.
    void pointerMovesTheValue_data() { addOrientations(); }
    void pointerMovesTheValue()
    {
        QFETCH(Qt::Orientation, orientation);
        Bar b(orientation);
        b.bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b.bar));
        // A click near the end jumps there.
        QTest::mouseClick(&b.bar, Qt::LeftButton, {}, b.along(195));
        QCOMPARE(b.bar.value(), b.bar.maximum());
        // The thumb dragged back to the start.
        const QRect knob = b.rect(QStyle::SC_ScrollBarSlider, true);
        const QPoint grip = b.along((b.start(knob) + b.end(knob)) / 2);
        QTest::mousePress(&b.bar, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, b.along(-400), b.bar.mapToGlobal(b.along(-400)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&b.bar, &move);
        QTest::mouseRelease(&b.bar, Qt::LeftButton, {}, b.along(0));
        QCOMPARE(b.bar.value(), b.bar.minimum());
    }

    // A bar over the content's top keeps the track (and the thumb at rest there) out from under it.
    void edgeInsetsKeepTheTrackClear()
    {
        Bar b(Qt::Vertical);
        ScrollBarStyle::setEdgeInsets(b.bar, 52, 10);
        QVERIFY(b.rect(QStyle::SC_ScrollBarGroove).top() >= 52);
        QVERIFY(b.rect(QStyle::SC_ScrollBarSlider).top() >= 52);
        QVERIFY(b.rect(QStyle::SC_ScrollBarGroove).bottom() < 200 - 10);
        const QStyleOptionSlider o = b.option(true);
        QCOMPARE(b.bar.style()->hitTestComplexControl(QStyle::CC_ScrollBar, &o, QPoint(7, 20), &b.bar), QStyle::SC_None);
        ScrollBarStyle::setEdgeInsets(b.bar, 0, 0);
        QVERIFY(b.rect(QStyle::SC_ScrollBarGroove).top() < 52);
    }

    // The bar lies over the content, which keeps its whole width when the bar comes.
    void contentKeepsItsWidth()
    {
        QScrollArea area;
        area.setFrameShape(QFrame::NoFrame);
        area.setWidgetResizable(true);
        auto *content = new QWidget;
        content->setMinimumHeight(2000);
        area.setWidget(content);
        area.resize(300, 200);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QVERIFY(area.verticalScrollBar()->isVisible());
        QCOMPARE(area.viewport()->width(), area.width());
        QCOMPARE(content->width(), area.width());
    }

    void followsTheTheme()
    {
        QVERIFY(ScrollBarStyle::thumbColor(false, false) != ScrollBarStyle::thumbColor(true, false));
        QVERIFY(ScrollBarStyle::thumbColor(true, false) != ScrollBarStyle::thumbColor(true, true));
        Bar b(Qt::Vertical);
        b.bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b.bar));
        const QColor light = ScrollBarStyle::thumbColor(false, false);
        const QImage lightBar = b.bar.grab().toImage();
        PaintCounter paints(b.bar);
        Theme::instance().setAppearance(Appearance::dark);
        QVERIFY(ScrollBarStyle::thumbColor(false, false) != light);
        // The bar repaints by itself, and what it paints now is the dark thumb.
        QVERIFY(QTest::qWaitFor([&] { return paints.count > 0; }));
        QVERIFY(b.bar.grab().toImage() != lightBar);
    }
};

QTEST_MAIN(TestScrollBarStyle)
#include "tst_scrollbarstyle.moc"
