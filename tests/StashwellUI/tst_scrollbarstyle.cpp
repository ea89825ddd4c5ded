// The application's scroll bar: no arrow buttons, a thumb that widens under the pointer and
// travels the track, a track kept clear of a bar over the content, and the theme's colours.

#include "ControlTesting.h"
#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Theme.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

using namespace sw;

namespace {

// A bar 200 long over 0 ... 100 with a page of 100 (half of it shown), its option readable.
struct Bar : QScrollBar {
    explicit Bar(Qt::Orientation orientation) : QScrollBar(orientation)
    {
        setRange(0, 100);
        setPageStep(100);
        resize(orientation == Qt::Vertical ? QSize(ScrollBarStyle::extent, 200) : QSize(200, ScrollBarStyle::extent));
    }
    QStyleOptionSlider option(bool hovered) const
    {
        QStyleOptionSlider o;
        initStyleOption(&o);
        o.state.setFlag(QStyle::State_MouseOver, hovered);
        return o;
    }
    // A part, turned so that the bar runs downwards.
    QRect part(QStyle::SubControl sub, bool hovered = false) const
    {
        const QStyleOptionSlider o = option(hovered);
        const QRect r = style()->subControlRect(QStyle::CC_ScrollBar, &o, sub, this);
        return orientation() == Qt::Vertical ? r : QRect(r.y(), r.x(), r.height(), r.width());
    }
    QPoint at(int along) const { return orientation() == Qt::Vertical ? QPoint(7, along) : QPoint(along, 7); }
};

struct Repaints : QObject {
    bool seen = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        seen = seen || event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class TestScrollBarStyle : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Theme::instance().setAppearance(Appearance::light); }
    void initTestCase()
    {
        test::prepareControls();
        ScrollBarStyle::install();
        QVERIFY(qobject_cast<ScrollBarStyle *>(QApplication::style()));
    }

    void shape_data()
    {
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::newRow("vertical") << Qt::Vertical;
        QTest::newRow("horizontal") << Qt::Horizontal;
    }
    void shape()
    {
        QFETCH(Qt::Orientation, orientation);
        Bar bar(orientation);
        for (const bool hovered : {false, true}) {
            for (const auto sub : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarFirst,
                                   QStyle::SC_ScrollBarLast})
                QVERIFY(bar.part(sub, hovered).isEmpty());
        }
        // Wider under the pointer, at the same place along the track.
        const QRect rest = bar.part(QStyle::SC_ScrollBarSlider);
        const QRect hovered = bar.part(QStyle::SC_ScrollBarSlider, true);
        QVERIFY(hovered.width() > rest.width() && rest.width() > 0);
        QVERIFY(hovered.top() == rest.top() && hovered.bottom() == rest.bottom());
        // It travels the whole track; a longer content gives a shorter thumb.
        QCOMPARE(rest.top(), bar.part(QStyle::SC_ScrollBarGroove).top());
        bar.setValue(100);
        QCOMPARE(bar.part(QStyle::SC_ScrollBarSlider).bottom(), bar.part(QStyle::SC_ScrollBarGroove).bottom());
        bar.setRange(0, 5000);
        QVERIFY(bar.part(QStyle::SC_ScrollBarSlider).height() < rest.height());

        // The real bar, by the pointer: a click near the end goes there, a drag brings it back.
        bar.setValue(0);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.at(195));
        QCOMPARE(bar.value(), bar.maximum());
        QTest::mousePress(&bar, Qt::LeftButton, {}, bar.at(bar.part(QStyle::SC_ScrollBarSlider, true).center().y()));
        QMouseEvent drag(QEvent::MouseMove, bar.at(-400), bar.mapToGlobal(bar.at(-400)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(&bar, &drag);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, bar.at(0));
        QCOMPARE(bar.value(), 0);
    }

    // A bar over the content's top keeps the track, and the thumb at rest, out from under it.
    void edgeInsets()
    {
        Bar bar(Qt::Vertical);
        ScrollBarStyle::setEdgeInsets(bar, 52, 10);
        QVERIFY(bar.part(QStyle::SC_ScrollBarSlider).top() >= 52 && bar.part(QStyle::SC_ScrollBarGroove).bottom() < 190);
        const QStyleOptionSlider o = bar.option(true);
        QCOMPARE(bar.style()->hitTestComplexControl(QStyle::CC_ScrollBar, &o, QPoint(7, 20), &bar), QStyle::SC_None);
        ScrollBarStyle::setEdgeInsets(bar, 0, 0);
        QVERIFY(bar.part(QStyle::SC_ScrollBarGroove).top() < 52);
    }

    // The colours are the theme's, and a bar on screen repaints itself when the theme changes.
    void followsTheTheme()
    {
        Bar bar(Qt::Vertical);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QImage lightBar = bar.grab().toImage();
        Repaints repaints;
        bar.installEventFilter(&repaints);
        Theme::instance().setAppearance(Appearance::dark);
        QVERIFY(QTest::qWaitFor([&] { return repaints.seen; }));
        QVERIFY(bar.grab().toImage() != lightBar);
    }
};

QTEST_MAIN(TestScrollBarStyle)
#include "tst_scrollbarstyle.moc"
