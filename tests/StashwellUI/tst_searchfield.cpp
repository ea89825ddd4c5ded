#include "ControlTesting.h"
#include "StashwellUI/Controls/SearchField.h"

#include "PaintTesting.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>

using namespace sw;

class TestSearchField : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void clearButtonShowsWhileThereIsText_data();
    void clearButtonShowsWhileThereIsText();
    void clearEmptiesTheTextAndKeepsTheFocus_data();
    void clearEmptiesTheTextAndKeepsTheFocus();
    void focusIsReportedAndCanBeSet();
    void widthBetween140And240_data();
    void widthBetween140And240();
    void promptAndNames();
    void disabledFieldIgnoresTheClearButton();
    void withoutFocusTheTextIsCopiedUntilItChanges_data();
    void withoutFocusTheTextIsCopiedUntilItChanges();
};

void TestSearchField::clearButtonShowsWhileThereIsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shows");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("one character") << QStringLiteral("a") << true;
    QTest::newRow("only spaces count as text") << QStringLiteral("   ") << true;
}

void TestSearchField::clearButtonShowsWhileThereIsText()
{
    QFETCH(QString, text);
    QFETCH(bool, shows);
    SearchField field;
    QVERIFY(test::showWidget(field));
    field.setFocused(true);
    QSignalSpy changed(&field, &SearchField::textChanged);
    QTest::keyClicks(field.lineEdit(), text);
    QCOMPARE(field.text(), text);
    QCOMPARE(changed.count(), text.size());
    QCOMPARE(field.clearButton() != nullptr, shows);
    if (shows) {
        // At the trailing end.
        QVERIFY(field.clearButton()->geometry().right() >= field.width() - 12 - 1);
        QVERIFY(field.clearButton()->geometry().left() > field.lineEdit()->geometry().left());
    }
}

void TestSearchField::clearEmptiesTheTextAndKeepsTheFocus_data()
{
    QTest::addColumn<bool>("focused");
    QTest::newRow("focused") << true;
    QTest::newRow("not focused") << false;
}

void TestSearchField::clearEmptiesTheTextAndKeepsTheFocus()
{
    QFETCH(bool, focused);
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *field = new SearchField;
    auto *other = new QLineEdit;
    layout->addWidget(field);
    layout->addWidget(other);
    QVERIFY(test::showWidget(window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setText(QStringLiteral("cats"));
    if (focused)
        field->setFocused(true);
    else
        other->setFocus();
    QCOMPARE(field->isFocused(), focused);

    QSignalSpy changed(field, &SearchField::textChanged);
    QSignalSpy focus(field, &SearchField::focusChanged);
    Pressable *clear = field->clearButton();
    QVERIFY(clear);
    QTest::mouseClick(clear, Qt::LeftButton, Qt::NoModifier, clear->rect().center());
    QCOMPARE(field->text(), QString());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), QString());
    QVERIFY(!field->clearButton());
    QCOMPARE(field->isFocused(), focused);
    QCOMPARE(focus.count(), 0);
}

void TestSearchField::focusIsReportedAndCanBeSet()
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *field = new SearchField;
    auto *other = new QLineEdit;
    layout->addWidget(field);
    layout->addWidget(other);
    QVERIFY(test::showWidget(window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QSignalSpy focus(field, &SearchField::focusChanged);
    const QSize before = field->size();

    field->setFocused(true);
    QCOMPARE(focus.count(), 1);
    QCOMPARE(focus.last().first().toBool(), true);
    QVERIFY(field->lineEdit()->hasFocus());
    QCOMPARE(field->size(), before);

    other->setFocus();
    QCOMPARE(focus.count(), 2);
    QCOMPARE(focus.last().first().toBool(), false);
    QVERIFY(!field->isFocused());

    field->setFocused(true);
    field->setFocused(false);
    QVERIFY(!field->lineEdit()->hasFocus());
    QCOMPARE(focus.count(), 4);
}

void TestSearchField::widthBetween140And240_data()
{
    QTest::addColumn<int>("offered");
    QTest::addColumn<int>("width");
    QTest::newRow("narrow") << 100 << 140;
    QTest::newRow("between") << 180 << 180;
    QTest::newRow("wide") << 600 << 240;
}

void TestSearchField::widthBetween140And240()
{
    QFETCH(int, offered);
    QFETCH(int, width);
    QWidget container;
    auto *layout = new QHBoxLayout(&container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    auto *field = new SearchField;
    layout->addWidget(field, 1);
    container.resize(offered, 60);
    QVERIFY(test::showWidget(container));
    container.resize(offered, 60);
    QApplication::processEvents();
    QCOMPARE(field->width(), width);
    QCOMPARE(field->height(), 32);
}

void TestSearchField::promptAndNames()
{
    SearchField field;
    QCOMPARE(field.prompt(), StashwellUIStrings::searchPrompt());
    SearchField own(QStringLiteral("Search trash"), nullptr);
    QCOMPARE(own.prompt(), QStringLiteral("Search trash"));
    QCOMPARE(test::accessibleName(field.lineEdit()), StashwellUIStrings::searchLabel());
    field.setText(QStringLiteral("x"));
    QCOMPARE(test::accessibleName(field.clearButton()), StashwellUIStrings::searchClear());
}

void TestSearchField::disabledFieldIgnoresTheClearButton()
{
    SearchField field;
    field.setText(QStringLiteral("cats"));
    field.setEnabled(false);
    Pressable *clear = field.clearButton();
    QTest::mouseClick(clear, Qt::LeftButton, Qt::NoModifier, clear->rect().center());
    QCOMPARE(field.text(), QStringLiteral("cats"));
}

namespace {

// Counts the line edit's own paints: each draws its panel first.
class PanelCount : public QProxyStyle {
public:
    int panels = 0;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_PanelLineEdit)
            ++const_cast<PanelCount *>(this)->panels;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

enum class Change { None, Typed, Prompt, Selected, CursorMoved, Resized, Recoloured, Focused };

void apply(Change change, SearchField &field)
{
    QLineEdit *line = field.lineEdit();
    switch (change) {
    case Change::None: break;
    case Change::Typed: line->insert(QStringLiteral(" and dogs")); break;
    case Change::Prompt: field.setPrompt(QStringLiteral("Search the trash")); break;
    case Change::Selected: line->setSelection(0, 4); break;
    case Change::CursorMoved: line->setCursorPosition(0); break;
    case Change::Resized: field.setFixedWidth(150); break;
    case Change::Recoloured: {
        QPalette palette = line->palette();
        palette.setColor(QPalette::Text, Qt::red);
        palette.setColor(QPalette::PlaceholderText, Qt::blue);
        line->setPalette(palette);
        break;
    }
    case Change::Focused: field.setFocused(true); break;
    }
}

// Two drawings alike but for rounding.
bool same(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!test::sameColour(a.pixelColor(x, y), b.pixelColor(x, y), 2, true))
                return false;
    return true;
}

struct Shown {
    QWidget window;
    SearchField *field = new SearchField;
    PanelCount *style = new PanelCount;
    explicit Shown(const QString &text)
    {
        // Something else holds the focus, as the shelf does in the window.
        auto *layout = new QHBoxLayout(&window);
        auto *other = new QPushButton(QStringLiteral("Other"));
        layout->addWidget(other);
        layout->addWidget(field);
        field->setFixedWidth(220);
        field->lineEdit()->setStyle(style);
        field->setText(text);
        field->lineEdit()->setCursorPosition(text.size());
        window.show();
        other->setFocus();
    }
};

}  // namespace

void TestSearchField::withoutFocusTheTextIsCopiedUntilItChanges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Change>("change");
    const QString longText = QStringLiteral("a search far longer than the field is wide, scrolled to its end");
    QTest::newRow("prompt, unchanged") << QString() << Change::None;
    QTest::newRow("text, unchanged") << QStringLiteral("cats") << Change::None;
    QTest::newRow("long text, unchanged") << longText << Change::None;
    QTest::newRow("typed into") << QStringLiteral("cats") << Change::Typed;
    QTest::newRow("prompt changed") << QString() << Change::Prompt;
    QTest::newRow("text selected") << QStringLiteral("cats") << Change::Selected;
    QTest::newRow("long text scrolled back") << longText << Change::CursorMoved;
    QTest::newRow("narrower") << longText << Change::Resized;
    QTest::newRow("recoloured") << QStringLiteral("cats") << Change::Recoloured;
    QTest::newRow("recoloured prompt") << QString() << Change::Recoloured;
    QTest::newRow("focused") << QStringLiteral("cats") << Change::Focused;
}

void TestSearchField::withoutFocusTheTextIsCopiedUntilItChanges()
{
    QFETCH(QString, text);
    QFETCH(Change, change);
    // The field drawn, and whether the line edit painted itself for it.
    const auto draw = [](Shown &shown) {
        const int panels = shown.style->panels;
        const QImage image = test::render(*shown.field);
        return std::pair{image, shown.style->panels > panels};
    };
    Shown shown(text);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    QVERIFY(!shown.field->isFocused());
    QCoreApplication::processEvents();
    draw(shown);
    const auto [kept, keptPainted] = draw(shown);
    QVERIFY(!keptPainted);

    // A change makes the layer again for the next drawing (the line edit paints itself into it);
    // the one after is a copy again, unless the field has the focus.
    apply(change, *shown.field);
    const auto [changed, changedPainted] = draw(shown);
    QCOMPARE(changedPainted, change != Change::None);
    const auto [after, afterPainted] = draw(shown);
    QCOMPARE(afterPainted, change == Change::Focused);
    QVERIFY(same(changed, after));

    // A field made in the changed state draws the same.
    Shown fresh(text);
    QVERIFY(QTest::qWaitForWindowExposed(&fresh.window));
    QCoreApplication::processEvents();
    apply(change, *fresh.field);
    draw(fresh);
    const auto [expected, expectedPainted] = draw(fresh);
    QCOMPARE(expectedPainted, change == Change::Focused);
    QVERIFY(same(after, expected));
    QCOMPARE(same(after, kept), change == Change::None);
}

QTEST_MAIN(TestSearchField)
#include "tst_searchfield.moc"
