#include "StashwellUI/Design/ContinuousShape.h"
#include "ControlTesting.h"
#include "StashwellUI/Controls/Pressable.h"

#include <QHoverEvent>

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

QTEST_MAIN(TestPressable)
#include "tst_pressable.moc"
