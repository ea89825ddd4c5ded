#include "StashwellUI/Controls/ControlPainting.h"
#include "ControlTesting.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "StashwellUI/Controls/TextButton.h"
#include "PaintTesting.h"

#include <QMenu>

using namespace sw;

namespace {

QList<GlassSegments::Option> themeOptions()
{
    return {
        {QStringLiteral("system"), QStringLiteral("System"), QStringLiteral("gearshape")},
        {QStringLiteral("light"), QStringLiteral("Light"), QString()},
        {QStringLiteral("dark"), QStringLiteral("Dark"), QString()},
    };
}

double labelWidth(const QString &symbol, const QString &title)
{
    ControlPainting::Label label;
    label.symbol = symbol;
    label.title = title;
    label.font = Tokens::Typography::bodyStrong.font();
    label.typeSize = Tokens::Typography::bodyStrong.size;
    return label.size().width();
}

}  // namespace

class TestGlassControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void buttonForeground_data();
    void buttonForeground();
    void buttonSize_data();
    void buttonSize();
    void disabledButtonDoesNothing();
    void segmentFilled_data();
    void segmentFilled();
    void pressingASegmentWritesItsValue();
    void disabledSegmentsWriteNothing();
    void optionsMayChangeWhileASegmentReports();
    void segmentWidths_data();
    void segmentWidths();
    void arrowsMoveBetweenSegments();
    void pickerTitle_data();
    void pickerTitle();
    void pickerMenuWritesTheChoice();
    void pickerLabelIsReadNotDrawn();
    void keptButtonsRedrawWhatTheirSettersChange_data();
    void keptButtonsRedrawWhatTheirSettersChange();
};

void TestGlassControls::buttonForeground_data()
{
    QTest::addColumn<Tone>("tone");
    QTest::addColumn<bool>("onAccent");
    QTest::newRow("accent") << Tone::accent << true;
    QTest::newRow("ok") << Tone::ok << false;
    QTest::newRow("neutral") << Tone::neutral << false;
    QTest::newRow("danger") << Tone::danger << false;
}

void TestGlassControls::buttonForeground()
{
    QFETCH(Tone, tone);
    QFETCH(bool, onAccent);
    QCOMPARE(GlassButton::foreground(tone), onAccent ? Tokens::Colors::onAccent() : Tokens::Colors::text());
}

void TestGlassControls::buttonSize_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("title alone") << QStringLiteral("Test connection") << QString();
    QTest::newRow("with symbol") << QStringLiteral("Save") << QStringLiteral("plus");
    QTest::newRow("long title") << QStringLiteral("Open Stashwell and show the library") << QString();
}

void TestGlassControls::buttonSize()
{
    QFETCH(QString, title);
    QFETCH(QString, symbol);
    GlassButton button(title, symbol, Tone::neutral);
    QCOMPARE(button.sizeHint().height(), 32);
    // The label with the same room at the ends whatever it says.
    const double room = button.sizeHint().width() - labelWidth(symbol, title);
    const GlassButton reference(QStringLiteral("X"), QString(), Tone::neutral);
    QVERIFY(room > 0);
    QVERIFY(std::abs(room - (reference.sizeHint().width() - labelWidth(QString(), QStringLiteral("X")))) < 1);
    QCOMPARE(test::accessibleName(&button), title);
}

void TestGlassControls::disabledButtonDoesNothing()
{
    GlassButton button(QStringLiteral("Save"), QString(), Tone::accent);
    button.resize(button.sizeHint());
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, button.rect().center());
    QCOMPARE(clicked.count(), 0);
    button.setEnabled(true);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, button.rect().center());
    QCOMPARE(clicked.count(), 1);
    // Outside the capsule's round end.
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QCOMPARE(clicked.count(), 1);
}

void TestGlassControls::segmentFilled_data()
{
    QTest::addColumn<QVariant>("selection");
    QTest::addColumn<int>("index");
    QTest::newRow("first") << QVariant(QStringLiteral("system")) << 0;
    QTest::newRow("last") << QVariant(QStringLiteral("dark")) << 2;
    QTest::newRow("no option") << QVariant(QStringLiteral("sepia")) << -1;
    QTest::newRow("nothing") << QVariant() << -1;
}

void TestGlassControls::segmentFilled()
{
    QFETCH(QVariant, selection);
    QFETCH(int, index);
    GlassSegments segments(themeOptions(), false);
    segments.setSelection(selection);
    QCOMPARE(segments.selectedIndex(), index);
    const QList<Pressable *> buttons = segments.segments();
    QCOMPARE(buttons.size(), 3);
    for (int i = 0; i < buttons.size(); ++i) {
        const QAccessible::State state = test::accessibleOf(buttons[i])->state();
        QVERIFY(state.selectable);
        QCOMPARE(bool(state.selected), i == index);
        QCOMPARE(test::accessibleName(buttons[i]), themeOptions()[i].title);
    }
}

void TestGlassControls::pressingASegmentWritesItsValue()
{
    GlassSegments segments(themeOptions(), true);
    segments.setSelection(QStringLiteral("system"));
    segments.resize(300, 32);
    QVERIFY(test::showWidget(segments));
    QSignalSpy chosen(&segments, &GlassSegments::chosen);
    QSignalSpy changed(&segments, &GlassSegments::selectionChanged);
    Pressable *dark = segments.segments()[2];
    QTest::mouseClick(dark, Qt::LeftButton, Qt::NoModifier, dark->rect().center());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.last().first(), QVariant(QStringLiteral("dark")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(segments.selection(), QVariant(QStringLiteral("dark")));
    QCOMPARE(segments.selectedIndex(), 2);

    // The chosen one again: the same value is written again, nothing changes.
    QTest::mouseClick(dark, Qt::LeftButton, Qt::NoModifier, dark->rect().center());
    QCOMPARE(chosen.count(), 2);
    QCOMPARE(changed.count(), 1);

    // By keyboard.
    Pressable *light = segments.segments()[1];
    light->setFocus();
    QTest::keyClick(light, Qt::Key_Space);
    QCOMPARE(segments.selection(), QVariant(QStringLiteral("light")));
}

void TestGlassControls::disabledSegmentsWriteNothing()
{
    GlassSegments segments(themeOptions(), false);
    segments.setSelection(QStringLiteral("system"));
    segments.resize(segments.sizeHint());
    segments.setEnabled(false);
    QSignalSpy chosen(&segments, &GlassSegments::chosen);
    Pressable *dark = segments.segments()[2];
    QTest::mouseClick(dark, Qt::LeftButton, Qt::NoModifier, dark->rect().center());
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(segments.selection(), QVariant(QStringLiteral("system")));
}

// The owner answers a choice by offering other options; the pressed segment is still reporting.
void TestGlassControls::optionsMayChangeWhileASegmentReports()
{
    GlassSegments segments(themeOptions(), false);
    segments.resize(segments.sizeHint());
    QVERIFY(test::showWidget(segments));
    connect(&segments, &GlassSegments::chosen, &segments, [&segments](const QVariant &value) {
        QList<GlassSegments::Option> options{{value, QStringLiteral("Only"), QString()}};
        segments.setOptions(options);
    });
    Pressable *dark = segments.segments()[2];
    QTest::mouseClick(dark, Qt::LeftButton, Qt::NoModifier, dark->rect().center());
    QCOMPARE(segments.segments().size(), 1);
    QCOMPARE(segments.selectedIndex(), 0);
    QTest::qWait(10);   // the old segments go away
    QCOMPARE(segments.findChildren<Pressable *>().size(), 1);
}

void TestGlassControls::segmentWidths_data()
{
    QTest::addColumn<bool>("fills");
    QTest::newRow("each as wide as its content") << false;
    QTest::newRow("sharing the width") << true;
}

void TestGlassControls::segmentWidths()
{
    QFETCH(bool, fills);
    const QList<GlassSegments::Option> options = themeOptions();
    const QList<QRectF> rects = GlassSegments::segmentRects(options, fills, 360);
    QCOMPARE(rects.size(), 3);
    QCOMPARE(rects[0].left(), 3.0);
    for (int i = 0; i < rects.size(); ++i) {
        QCOMPARE(rects[i].top(), 3.0);
        QCOMPARE(rects[i].height(), 26.0);
        if (i > 0)
            QCOMPARE(rects[i].left() - rects[i - 1].right(), 2.0);
        if (fills)
            QCOMPARE(rects[i].width(), (360.0 - 6 - 4) / 3);
        else
            QCOMPARE(rects[i].width(), labelWidth(options[i].symbol, options[i].title) + 28);
    }
    if (fills)
        QCOMPARE(rects.last().right(), 357.0);

    GlassSegments segments(options, fills);
    QCOMPARE(segments.sizeHint().height(), 32);
    segments.resize(fills ? 360 : segments.sizeHint().width(), 32);
    QVERIFY(test::showWidget(segments));
    for (int i = 0; i < rects.size(); ++i)
        QVERIFY(std::abs(segments.segments()[i]->geometry().left() - rects[i].left()) <= 1);
}

void TestGlassControls::arrowsMoveBetweenSegments()
{
    GlassSegments segments(themeOptions(), false);
    segments.resize(segments.sizeHint());
    QVERIFY(test::showWidget(segments));
    QVERIFY(QTest::qWaitForWindowActive(&segments));
    segments.segments()[0]->setFocus();
    QTest::keyClick(segments.segments()[0], Qt::Key_Right);
    QVERIFY(segments.segments()[1]->hasFocus());
    QTest::keyClick(segments.segments()[1], Qt::Key_Left);
    QVERIFY(segments.segments()[0]->hasFocus());
    QTest::keyClick(segments.segments()[0], Qt::Key_Left);
    QVERIFY(segments.segments()[0]->hasFocus());
}

void TestGlassControls::pickerTitle_data()
{
    QTest::addColumn<QVariant>("selection");
    QTest::addColumn<QString>("title");
    QTest::newRow("match") << QVariant(10) << QStringLiteral("10 GB");
    QTest::newRow("two share a title") << QVariant(20) << QStringLiteral("Many");
    QTest::newRow("first of two with the value") << QVariant(5) << QStringLiteral("5 GB");
    QTest::newRow("no match") << QVariant(7) << QString();
}

void TestGlassControls::pickerTitle()
{
    QFETCH(QVariant, selection);
    QFETCH(QString, title);
    const QList<GlassPicker::Option> options{
        {5, QStringLiteral("5 GB")},  {10, QStringLiteral("10 GB")}, {20, QStringLiteral("Many")},
        {50, QStringLiteral("Many")}, {5, QStringLiteral("Five again")},
    };
    GlassPicker picker(QStringLiteral("Media limit"), options);
    picker.setSelection(selection);
    QCOMPARE(picker.currentTitle(), title);
    QCOMPARE(picker.sizeHint().height(), 32);
    QCOMPARE(test::accessibleOf(&picker)->text(QAccessible::Value), title);
}

void TestGlassControls::pickerMenuWritesTheChoice()
{
    GlassPicker picker(QStringLiteral("Quality"),
                       {{QStringLiteral("original"), QStringLiteral("Original")},
                        {QStringLiteral("hd"), QStringLiteral("HD & more")},
                        {QStringLiteral("small"), QStringLiteral("Small")}});
    picker.setSelection(QStringLiteral("original"));
    picker.resize(picker.sizeHint());
    QVERIFY(test::showWidget(picker));
    QSignalSpy chosen(&picker, &GlassPicker::chosen);
    QSignalSpy changed(&picker, &GlassPicker::selectionChanged);
    const int before = picker.sizeHint().width();

    QTest::mouseClick(&picker, Qt::LeftButton, Qt::NoModifier, picker.rect().center());
    QMenu *menu = picker.menu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    const QList<QAction *> actions = menu->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions[1]->text(), QStringLiteral("HD && more"));   // shown as "HD & more"
    actions[1]->trigger();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.last().first(), QVariant(QStringLiteral("hd")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(picker.currentTitle(), QStringLiteral("HD & more"));
    QVERIFY(picker.sizeHint().width() != before);
    menu->close();

    // Choosing the current entry writes it again.
    QTest::keyClick(&picker, Qt::Key_Space);
    QTRY_VERIFY(picker.menu()->isVisible());
    picker.menu()->actions()[1]->trigger();
    QCOMPARE(chosen.count(), 2);
    QCOMPARE(changed.count(), 1);
    picker.menu()->close();

    picker.setEnabled(false);
    QTest::mouseClick(&picker, Qt::LeftButton, Qt::NoModifier, picker.rect().center());
    QVERIFY(!picker.menu()->isVisible());
}

void TestGlassControls::pickerLabelIsReadNotDrawn()
{
    GlassPicker picker(QStringLiteral("Language"), {{QStringLiteral("en"), QStringLiteral("English")}});
    picker.setSelection(QStringLiteral("en"));
    const QSize size = picker.sizeHint();
    picker.setLabel(QStringLiteral("The language the interface is shown in"));
    QCOMPARE(picker.sizeHint(), size);
    QCOMPARE(test::accessibleName(&picker), QStringLiteral("The language the interface is shown in"));
    QCOMPARE(test::accessibleOf(&picker)->role(), QAccessible::ComboBox);
}

QTEST_MAIN(TestGlassControls)
// A button keeps its drawing between paints: after each setter, it shows what a button given that
// setting before its first paint shows, which differs from before.
using MakeButton = std::function<std::unique_ptr<QWidget>()>;
using SetButton = std::function<void(QWidget &)>;

void TestGlassControls::keptButtonsRedrawWhatTheirSettersChange_data()
{
    QTest::addColumn<MakeButton>("make");
    QTest::addColumn<SetButton>("change");
    const MakeButton glass = [] { return std::make_unique<GlassButton>(QStringLiteral("Save"), QStringLiteral("plus"), Tone::neutral); };
    const MakeButton text = [] { return std::make_unique<TextButton>(QStringLiteral("View")); };
    const auto onGlass = [](auto set) { return SetButton([set](QWidget &w) { set(static_cast<GlassButton &>(w)); }); };
    const auto onText = [](auto set) { return SetButton([set](QWidget &w) { set(static_cast<TextButton &>(w)); }); };
    QTest::newRow("glass title") << glass << onGlass([](GlassButton &b) { b.setTitle(QStringLiteral("Saved")); });
    QTest::newRow("glass symbol") << glass << onGlass([](GlassButton &b) { b.setSymbol(QStringLiteral("trash")); });
    QTest::newRow("glass tone") << glass << onGlass([](GlassButton &b) { b.setTone(Tone::accent); });
    QTest::newRow("text title") << text << onText([](TextButton &b) { b.setTitle(QStringLiteral("View all")); });
    QTest::newRow("text style") << text << onText([](TextButton &b) { b.setTypeStyle(Tokens::Typography::title); });
}

void TestGlassControls::keptButtonsRedrawWhatTheirSettersChange()
{
    QFETCH(MakeButton, make);
    QFETCH(SetButton, change);
    const std::unique_ptr<QWidget> button = make();
    button->resize(140, 32);
    const QImage before = test::render(*button);
    test::render(*button);   // copied from what it keeps
    change(*button);
    button->resize(140, 32);
    const QImage after = test::render(*button);
    const std::unique_ptr<QWidget> fresh = make();
    change(*fresh);
    fresh->resize(140, 32);
    QCOMPARE(after, test::render(*fresh));
    QVERIFY(after != before);
}

#include "tst_glasscontrols.moc"
