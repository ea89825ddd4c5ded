#include "ControlTesting.h"
#include "StashwellUI/Controls/SearchField.h"

#include <QHBoxLayout>
#include <QLineEdit>

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

QTEST_MAIN(TestSearchField)
#include "tst_searchfield.moc"
