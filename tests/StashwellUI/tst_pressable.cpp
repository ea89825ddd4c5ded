#include "StashwellUI/Design/ContinuousShape.h"
#include "ControlTesting.h"
#include "PaintTesting.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Design/Theme.h"

#include <QHoverEvent>
#include <QPainter>

using namespace sw;

namespace {

// A capsule-shaped control of 120 × 32 that reports the state it was painted in.
class Probe : public Pressable {
public:
    Probe() { resize(120, 32); }
    QString accessibleText() const override { return QStringLiteral("Probe & co"); }
    QPainterPath hitShape() const override { return ContinuousShape::capsule(QRectF(rect())); }
    QSize sizeHint() const override { return QSize(120, 32); }
    ControlState painted;
    int paints = 0;

protected:
    void paintControl(QPainter &, const QRectF &, const ControlState &state) override
    {
        painted = state;
        ++paints;
    }
};

// A control whose drawing reads its look, its state, its font, its palette and the theme; it keeps
// its drawing as an image unless told not to.
class Drawn : public Pressable {
public:
    explicit Drawn(bool keeps, QWidget *parent = nullptr) : Pressable(parent), keeps(keeps) { resize(120, 32); }
    QString accessibleText() const override { return look; }
    QPainterPath hitShape() const override { return ContinuousShape::capsule(QRectF(rect())); }
    void setLook(const QString &to)
    {
        look = to;
        changed();
    }
    bool keeps;
    QString look = QStringLiteral("Save");
    int paints = 0;

protected:
    QString keptLook() const override { return keeps ? look : QString(); }
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ++paints;
        ControlPainting::applyPlainStyle(painter, state);
        const QColor fill = Theme::isDark() ? QColor(40, 90, 200) : QColor(230, 120, 40);
        painter.fillPath(ContinuousShape::capsule(rect), state.hovered ? fill.lighter(130) : fill);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect, Qt::AlignCenter, look);
    }
};

// How many pixels of two drawings of one size differ by more than a rounding.
int differing(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return std::max(1, a.width() * a.height());
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += test::sameColour(a.pixelColor(x, y), b.pixelColor(x, y), 3, true) ? 0 : 1;
    return count;
}

void hover(QWidget &widget, QEvent::Type type, QPointF pos)
{
    QHoverEvent event(type, pos, widget.mapToGlobal(pos), QPointF(-1, -1));
    QApplication::sendEvent(&widget, &event);
}

// Two probes, one above the other, in a window.
struct TwoProbes {
    QWidget window;
    Probe *probe = new Probe;
    Probe *other = new Probe;
    TwoProbes()
    {
        probe->setParent(&window);
        other->setParent(&window);
        other->move(0, 40);
    }
};

}  // namespace

class TestPressable : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void pressesInsideTheShapeOnly_data();
    void pressesInsideTheShapeOnly();
    void keys_data();
    void keys();
    void returnHeldWhileFocusLeftDoesNotClick();
    void disabledEmitsNothing();
    void hoverFollowsTheShape();
    void accessibility();
    void aClickPaintsWithTheWindowsNextPaint();
    void focusPaintsOnlyTheKeyboardsRing();
    void aKeptDrawingIsCopiedUntilItsLookChanges_data();
    void aKeptDrawingIsCopiedUntilItsLookChanges();
    void aControlThatKeepsNothingDrawsEachTime();
};

void TestPressable::pressesInsideTheShapeOnly_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("clicks");
    QTest::newRow("middle") << QPoint(60, 16) << 1;
    QTest::newRow("round end, inside") << QPoint(3, 16) << 1;
    QTest::newRow("top edge, straight part") << QPoint(60, 1) << 1;
    QTest::newRow("top-left corner") << QPoint(1, 1) << 0;
    QTest::newRow("bottom-right corner") << QPoint(118, 30) << 0;
}

void TestPressable::pressesInsideTheShapeOnly()
{
    QFETCH(QPoint, point);
    QFETCH(int, clicks);
    Probe probe;
    QSignalSpy clicked(&probe, &QAbstractButton::clicked);
    QTest::mouseClick(&probe, Qt::LeftButton, Qt::NoModifier, point);
    QCOMPARE(clicked.count(), clicks);
}

void TestPressable::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << 1;
    QTest::newRow("return") << int(Qt::Key_Return) << int(Qt::NoModifier) << 1;
    QTest::newRow("enter") << int(Qt::Key_Enter) << int(Qt::NoModifier) << 1;
    // The Enter key of the number pad always arrives with the keypad modifier.
    QTest::newRow("enter on the keypad") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("ctrl+return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
    QTest::newRow("escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << 0;
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << 0;
}

void TestPressable::keys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    Probe probe;
    QVERIFY(test::showWidget(probe));
    probe.setFocus();
    QSignalSpy clicked(&probe, &QAbstractButton::clicked);
    QTest::keyClick(&probe, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.count(), clicks);
}

void TestPressable::returnHeldWhileFocusLeftDoesNotClick()
{
    TwoProbes two;
    Probe *probe = two.probe;
    Probe *other = two.other;
    QVERIFY(test::showWidget(two.window));
    probe->setFocus();
    QSignalSpy clicked(probe, &QAbstractButton::clicked);
    QTest::keyPress(probe, Qt::Key_Return);
    QVERIFY(probe->isDown());
    other->setFocus();
    QVERIFY(!probe->isDown());
    // Focus comes back while the key is still held; its release is no press of this control.
    probe->setFocus();
    QTest::keyRelease(probe, Qt::Key_Return);
    QCOMPARE(clicked.count(), 0);
    // A whole press afterwards still clicks once.
    QTest::keyClick(probe, Qt::Key_Return);
    QCOMPARE(clicked.count(), 1);
}

void TestPressable::disabledEmitsNothing()
{
    Probe probe;
    QVERIFY(test::showWidget(probe));
    probe.setEnabled(false);
    QSignalSpy clicked(&probe, &QAbstractButton::clicked);
    QTest::mouseClick(&probe, Qt::LeftButton, Qt::NoModifier, QPoint(60, 16));
    QTest::keyClick(&probe, Qt::Key_Space);
    QTest::keyClick(&probe, Qt::Key_Return);
    probe.click();
    QVERIFY(!test::accessiblyPress(&probe));
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!probe.controlState().enabled);

    probe.setEnabled(true);
    QVERIFY(test::accessiblyPress(&probe));
    QCOMPARE(clicked.count(), 1);
}

void TestPressable::hoverFollowsTheShape()
{
    Probe probe;
    QVERIFY(test::showWidget(probe));
    hover(probe, QEvent::HoverEnter, QPointF(60, 16));
    QVERIFY(probe.controlState().hovered);
    hover(probe, QEvent::HoverMove, QPointF(1, 1));   // in the rectangle, outside the capsule
    QVERIFY(!probe.controlState().hovered);
    hover(probe, QEvent::HoverMove, QPointF(60, 16));
    QVERIFY(probe.controlState().hovered);
    hover(probe, QEvent::HoverLeave, QPointF(-1, -1));
    QVERIFY(!probe.controlState().hovered);

    hover(probe, QEvent::HoverEnter, QPointF(60, 16));
    probe.setEnabled(false);
    QVERIFY(!probe.controlState().hovered);
}

void TestPressable::accessibility()
{
    Probe probe;
    QCOMPARE(test::accessibleOf(&probe)->role(), QAccessible::Button);
    QCOMPARE(test::accessibleName(&probe), QStringLiteral("Probe & co"));
    QVERIFY(!test::accessibleOf(&probe)->state().selectable);
    probe.setAccessibleName(QStringLiteral("Own name"));
    QCOMPARE(test::accessibleName(&probe), QStringLiteral("Own name"));
    probe.setToolTip(QStringLiteral("Tip"));
    QCOMPARE(test::accessibleOf(&probe)->text(QAccessible::Description), QStringLiteral("Tip"));
}

// QAbstractButton paints a press and a click at once, ahead of what the click changes; here they
// wait for the window's next paint. What a handler of the click paints at once still is.
void TestPressable::aClickPaintsWithTheWindowsNextPaint()
{
    TwoProbes two;
    Probe *probe = two.probe;
    Probe *other = two.other;
    QVERIFY(test::showWidget(two.window));
    QTest::qWait(20);
    probe->paints = 0;
    other->paints = 0;
    QTest::mousePress(probe, Qt::LeftButton, {}, QPoint(60, 16));
    QVERIFY(probe->isDown());
    QCOMPARE(probe->paints, 0);
    QTest::mouseRelease(probe, Qt::LeftButton, {}, QPoint(60, 16));
    QCOMPARE(probe->paints, 0);
    QTRY_VERIFY(probe->paints > 0);
    QVERIFY(!probe->painted.pressed);

    int otherPaintsInHandler = -1;
    other->paints = 0;
    connect(probe, &QAbstractButton::clicked, other, [&] {
        other->update();
        other->repaint();
        otherPaintsInHandler = other->paints;
    });
    QTest::mouseClick(probe, Qt::LeftButton, {}, QPoint(60, 16));
    QCOMPARE(otherPaintsInHandler, 1);
}

void TestPressable::focusPaintsOnlyTheKeyboardsRing()
{
    TwoProbes two;
    Probe *probe = two.probe;
    Probe *other = two.other;
    QVERIFY(test::showWidget(two.window));
    QTest::qWait(20);
    probe->paints = 0;
    // By the pointer: no ring, nothing to paint.
    probe->setFocus(Qt::MouseFocusReason);
    QTest::qWait(20);
    QCOMPARE(probe->paints, 0);
    // By Tab: the ring shows on the control that takes the focus...
    other->paints = 0;
    QTest::keyClick(probe, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), other);
    QTRY_VERIFY(other->paints > 0);
    QVERIFY(other->painted.focused);
    QCOMPARE(probe->paints, 0);
    // ...and goes when the pointer moves the focus away.
    other->paints = 0;
    probe->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(other->paints > 0);
    QVERIFY(!other->painted.focused);
}

void TestPressable::aKeptDrawingIsCopiedUntilItsLookChanges_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("drawnAnew");
    QTest::newRow("nothing") << 0 << false;
    QTest::newRow("its look") << 1 << true;
    QTest::newRow("hovered") << 2 << true;
    QTest::newRow("pressed") << 3 << true;
    QTest::newRow("disabled") << 4 << true;
    QTest::newRow("wider") << 5 << true;
    QTest::newRow("font") << 6 << true;
    QTest::newRow("palette") << 7 << true;
    QTest::newRow("theme") << 8 << true;
}

void TestPressable::aKeptDrawingIsCopiedUntilItsLookChanges()
{
    QFETCH(int, change);
    QFETCH(bool, drawnAnew);
    Theme::instance().setAppearance(Appearance::light);
    // The same change on a control that keeps its drawing and on one that draws anew each time.
    Drawn kept(true);
    Drawn direct(false);
    const QImage before = test::render(kept);
    QCOMPARE(kept.paints, 1);
    QCOMPARE(differing(before, test::render(direct)), 0);
    for (Drawn *drawn : {&kept, &direct}) {
        switch (change) {
        case 1:
            drawn->setLook(QStringLiteral("Saved"));
            break;
        case 2:
            hover(*drawn, QEvent::HoverEnter, QPointF(60, 16));
            break;
        case 3:
            drawn->setDown(true);
            break;
        case 4:
            drawn->setEnabled(false);
            break;
        case 5:
            drawn->resize(150, 32);
            break;
        case 6: {
            QFont font = drawn->font();
            font.setPixelSize(20);
            drawn->setFont(font);
            break;
        }
        case 7: {
            QPalette palette = drawn->palette();
            palette.setColor(QPalette::ButtonText, Qt::darkGreen);
            drawn->setPalette(palette);
            break;
        }
        case 8:
            if (drawn == &kept)
                Theme::instance().setAppearance(Appearance::dark);
            break;
        default:
            break;
        }
    }
    const QImage after = test::render(kept);
    QCOMPARE(kept.paints, drawnAnew ? 2 : 1);
    // What it copies is what it would draw, and it shows the change.
    QCOMPARE(differing(after, test::render(direct)), 0);
    QCOMPARE(differing(after, before) > 0, drawnAnew);
    // Then copied again.
    test::render(kept);
    QCOMPARE(kept.paints, drawnAnew ? 2 : 1);
    Theme::instance().setAppearance(Appearance::light);
}

void TestPressable::aControlThatKeepsNothingDrawsEachTime()
{
    Drawn direct(false);
    for (int i = 1; i <= 3; ++i) {
        test::render(direct);
        QCOMPARE(direct.paints, i);
    }
}

QTEST_MAIN(TestPressable)
#include "tst_pressable.moc"
