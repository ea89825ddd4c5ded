#include "ControlTesting.h"
#include "PresentationFixtures.h"
#include "StashwellUI/Saves/HoverPress.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"

#include <QHoverEvent>
#include <QTest>

using namespace sw;
using namespace sw::fixtures;

namespace {

enum class Part { none, a, b };

// A part of one item on a surface that draws many: the empty key is "nothing".
struct ItemPart {
    int item = -1;
    Part part = Part::none;
    friend bool operator==(const ItemPart &, const ItemPart &) = default;
};

Part partNamed(QChar name) { return name == u'a' ? Part::a : name == u'b' ? Part::b : Part::none; }

QString nameOf(Part part) { return part == Part::a ? QStringLiteral("a") : part == Part::b ? QStringLiteral("b") : QStringLiteral("-"); }

}  // namespace

Q_DECLARE_METATYPE(sw::PointerHover::Kind)
Q_DECLARE_METATYPE(sw::MediaThumbnail::Hit)

class TestHoverPress : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void clicks_data();
    void clicks();
    void hoverReportsOnlyChanges();
    void partsOfManyItems();
    void hoverEvents_data();
    void hoverEvents();
    void arrows_data();
    void arrows();
    void thumbnailArrowLooksPressedOnlyUnderThePointer();
};

// Each step is "press x", "drag x" or "release x" (x: a, b, or - for nothing). After each step the
// part held down is listed; after each release the part it clicked.
void TestHoverPress::clicks_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("clicked");
    const auto steps = [](const char *text) { return QString::fromLatin1(text).split(u','); };
    QTest::newRow("let go where it began") << steps("press a,release a") << "a-" << "a";
    QTest::newRow("let go elsewhere") << steps("press a,release b") << "a-" << "-";
    QTest::newRow("let go on nothing") << steps("press a,release -") << "a-" << "-";
    QTest::newRow("dragged off and back") << steps("press a,drag b,drag -,drag a,release a") << "a--a-" << "a";
    QTest::newRow("dragged off and let go there") << steps("press a,drag b,release b") << "a--" << "-";
    QTest::newRow("press on nothing") << steps("press -,release -") << "--" << "-";
    QTest::newRow("release without a press") << steps("release a") << "-" << "-";
    QTest::newRow("second press replaces the first") << steps("press a,press b,release a,press b,release b") << "ab-b-" << "-b";
    QTest::newRow("a press clicks once") << steps("press a,release a,release a") << "a--" << "a-";
    QTest::newRow("a drag without a press holds nothing") << steps("drag a,release a") << "--" << "-";
}

void TestHoverPress::clicks()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, held);
    QFETCH(QString, clicked);
    HoverPress<Part> pointer;
    QString heldSeen;
    QString clickedSeen;
    for (const QString &step : steps) {
        const Part part = partNamed(step.back());
        if (step.startsWith(u"press"))
            QCOMPARE(pointer.press(part), part != Part::none);
        else if (step.startsWith(u"drag"))
            pointer.drag(part);
        else
            clickedSeen += nameOf(pointer.release(part));
        heldSeen += nameOf(pointer.held());
        QCOMPARE(pointer.isPressing(), pointer.pressed() != Part::none);
    }
    QCOMPARE(heldSeen, held);
    QCOMPARE(clickedSeen, clicked);
    QVERIFY(!pointer.isPressing() || !steps.back().startsWith(u"release"));
}

void TestHoverPress::hoverReportsOnlyChanges()
{
    HoverPress<Part> pointer;
    QVERIFY(pointer.hover(Part::a));
    QVERIFY(!pointer.hover(Part::a));
    QVERIFY(pointer.hover(Part::b));
    QCOMPARE(pointer.hovered(), Part::b);
    // Hovering leaves a press alone, and a press leaves the hover alone.
    QVERIFY(pointer.press(Part::b));
    QVERIFY(pointer.leave());
    QVERIFY(!pointer.leave());
    QCOMPARE(pointer.hovered(), Part::none);
    QCOMPARE(pointer.pressed(), Part::b);
    QCOMPARE(pointer.release(Part::b), Part::b);
    QCOMPARE(pointer.hovered(), Part::none);
}

void TestHoverPress::partsOfManyItems()
{
    HoverPress<ItemPart> pointer;
    QVERIFY(pointer.press({2, Part::a}));
    // The same part of another item is another place.
    QVERIFY(pointer.drag({3, Part::a}));
    QCOMPARE(pointer.held(), ItemPart{});
    QCOMPARE(pointer.release({3, Part::a}), ItemPart{});
    QVERIFY(!pointer.press({}));
    QVERIFY(pointer.press({2, Part::a}));
    QCOMPARE(pointer.release({2, Part::a}), (ItemPart{2, Part::a}));
}

void TestHoverPress::hoverEvents_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<PointerHover::Kind>("kind");
    QTest::newRow("enter") << int(QEvent::HoverEnter) << PointerHover::Kind::entered;
    QTest::newRow("move") << int(QEvent::HoverMove) << PointerHover::Kind::moved;
    QTest::newRow("hover leave") << int(QEvent::HoverLeave) << PointerHover::Kind::left;
    QTest::newRow("leave") << int(QEvent::Leave) << PointerHover::Kind::left;
    QTest::newRow("show") << int(QEvent::Show) << PointerHover::Kind::none;
    QTest::newRow("mouse move") << int(QEvent::MouseMove) << PointerHover::Kind::none;
}

void TestHoverPress::hoverEvents()
{
    QFETCH(int, type);
    QFETCH(PointerHover::Kind, kind);
    const QPointF at(12, 34);
    const auto eventType = QEvent::Type(type);
    std::unique_ptr<QEvent> event;
    if (eventType == QEvent::HoverEnter || eventType == QEvent::HoverMove || eventType == QEvent::HoverLeave)
        event = std::make_unique<QHoverEvent>(eventType, at, at, QPointF());
    else if (eventType == QEvent::MouseMove)
        event = std::make_unique<QMouseEvent>(eventType, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    else
        event = std::make_unique<QEvent>(eventType);
    const PointerHover hover = PointerHover::of(event.get());
    QCOMPARE(hover.kind, kind);
    if (kind == PointerHover::Kind::entered || kind == PointerHover::Kind::moved)
        QCOMPARE(hover.position, at);
}

void TestHoverPress::arrows_data()
{
    using Hit = MediaThumbnail::Hit;
    QTest::addColumn<Hit>("hovered");
    QTest::addColumn<Hit>("held");
    QTest::addColumn<Hit>("shownHovered");
    QTest::addColumn<Hit>("shownHeld");
    QTest::newRow("over the next arrow") << Hit::next << Hit::none << Hit::next << Hit::none;
    QTest::newRow("holding the previous arrow") << Hit::previous << Hit::previous << Hit::previous << Hit::previous;
    QTest::newRow("the body is no arrow") << Hit::body << Hit::body << Hit::none << Hit::none;
    QTest::newRow("nothing") << Hit::none << Hit::none << Hit::none << Hit::none;
}

void TestHoverPress::arrows()
{
    using Hit = MediaThumbnail::Hit;
    QFETCH(Hit, hovered);
    QFETCH(Hit, held);
    QFETCH(Hit, shownHovered);
    QFETCH(Hit, shownHeld);
    MediaThumbnail::ViewState state;
    const bool changes = shownHovered != Hit::none || shownHeld != Hit::none;
    QCOMPARE(showArrows(state, hovered, held), changes);
    QCOMPARE(state.hoveredArrow, shownHovered);
    QCOMPARE(state.pressedArrow, shownHeld);
    QVERIFY(!showArrows(state, hovered, held));
    QCOMPARE(showArrows(state, Hit::none, Hit::none), changes);
    QCOMPARE(state.hoveredArrow, Hit::none);
    QCOMPARE(state.pressedArrow, Hit::none);
}

void TestHoverPress::thumbnailArrowLooksPressedOnlyUnderThePointer()
{
    using Hit = MediaThumbnail::Hit;
    ShelfItem shelfItem = item(save(post(xLink(), {image(0), image(1), image(2)}), 1));
    shelfItem.setPictures(pictures(3));
    MediaThumbnailView view(MediaThumbnail(shelfItem, 150, false, false, true, true));
    view.resize(300, 150);
    QVERIFY(test::showWidget(view));
    const QPoint next(279, 75);
    const QPoint middle(150, 75);
    QHoverEvent enter(QEvent::HoverEnter, QPointF(next), QPointF(next), QPointF());
    QCoreApplication::sendEvent(&view, &enter);
    QVERIFY(view.viewState().hovering);
    QCOMPARE(view.viewState().hoveredArrow, Hit::next);
    QTest::mousePress(&view, Qt::LeftButton, {}, next);
    QCOMPARE(view.viewState().pressedArrow, Hit::next);
    QTest::mouseMove(&view, middle);
    QCOMPARE(view.viewState().pressedArrow, Hit::none);
    QTest::mouseMove(&view, next);
    QCOMPARE(view.viewState().pressedArrow, Hit::next);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, next);
    QCOMPARE(view.viewState().pressedArrow, Hit::none);
    QCOMPARE(view.currentPage(), 1);
    QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(next), QPointF());
    QCoreApplication::sendEvent(&view, &leave);
    QVERIFY(!view.viewState().hovering);
    QCOMPARE(view.viewState().hoveredArrow, Hit::none);
}

QTEST_MAIN(TestHoverPress)
#include "tst_hoverpress.moc"
