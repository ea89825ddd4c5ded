#include "ControlTesting.h"
#include "StashwellUI/Controls/TagChip.h"
#include "StashwellUI/Controls/AddTagField.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QLineEdit>

using namespace sw;

class TestTagChip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void chipReadsHashAndName_data();
    void chipReadsHashAndName();
    void removeButtonOnlyWithAnAction();
    void removeRunsTheActionOnce();
    void disabledChipRemovesNothing();
    void fieldSubmitsOnReturn_data();
    void fieldSubmitsOnReturn();
    void fieldTypingWritesTheText();
    void fieldKeepsItsWidth_data();
    void fieldKeepsItsWidth();
    void fieldShowsItsPlaceholderWhole_data();
    void fieldShowsItsPlaceholderWhole();
};

void TestTagChip::chipReadsHashAndName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("word") << QStringLiteral("swift");
    QTest::newRow("with a space") << QStringLiteral("long read");
    QTest::newRow("ampersand") << QStringLiteral("r&d");
}

void TestTagChip::chipReadsHashAndName()
{
    QFETCH(QString, name);
    TagChip chip(name);
    chip.setOnRemove([] {});
    QCOMPARE(TagChip::shownText(name), u'#' + name);
    QCOMPARE(test::accessibleName(&chip), u'#' + name);
    // The remove button names the bare tag, without "#".
    QCOMPARE(test::accessibleName(chip.removeButton()), StashwellUIStrings::tagRemove(name));
    QVERIFY(!test::accessibleName(chip.removeButton()).contains(u'#' + name));
}

void TestTagChip::removeButtonOnlyWithAnAction()
{
    TagChip chip(QStringLiteral("swift"));
    QVERIFY(!chip.removeButton());
    const QSize plain = chip.sizeHint();
    chip.setOnRemove([] {});
    QVERIFY(chip.removeButton());
    QCOMPARE(chip.sizeHint().width(), plain.width() + 4 + chip.removeButton()->sizeHint().width());
    chip.setOnRemove({});
    QVERIFY(!chip.removeButton());
    QCOMPARE(chip.sizeHint(), plain);
}

void TestTagChip::removeRunsTheActionOnce()
{
    TagChip chip(QStringLiteral("swift"));
    int removed = 0;
    chip.setOnRemove([&removed] { ++removed; });
    chip.resize(chip.sizeHint());
    QVERIFY(test::showWidget(chip));
    Pressable *button = chip.removeButton();
    QVERIFY(button->geometry().right() <= chip.width() - 10);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    QCOMPARE(removed, 1);
    // A click on the text is no removal.
    QTest::mouseClick(&chip, Qt::LeftButton, Qt::NoModifier, QPoint(12, chip.height() / 2));
    QCOMPARE(removed, 1);
    QVERIFY(test::accessiblyPress(button));
    QCOMPARE(removed, 2);
}

void TestTagChip::disabledChipRemovesNothing()
{
    TagChip chip(QStringLiteral("swift"));
    int removed = 0;
    chip.setOnRemove([&removed] { ++removed; });
    chip.resize(chip.sizeHint());
    chip.setEnabled(false);
    Pressable *button = chip.removeButton();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    button->click();
    QCOMPARE(removed, 0);
}

void TestTagChip::fieldSubmitsOnReturn_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::newRow("empty") << QString() << int(Qt::Key_Return);
    QTest::newRow("word") << QStringLiteral("swift") << int(Qt::Key_Return);
    QTest::newRow("spaces are left alone") << QStringLiteral("  two words ") << int(Qt::Key_Enter);
}

void TestTagChip::fieldSubmitsOnReturn()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    AddTagField field;
    QVERIFY(test::showWidget(field));
    field.setFocus();
    QTest::keyClicks(&field, typed);
    QSignalSpy submitted(&field, &AddTagField::submitted);
    QTest::keyClick(&field, Qt::Key(key));
    QCOMPARE(submitted.count(), 1);
    QCOMPARE(field.text(), typed);   // neither trimmed nor cleared
}

void TestTagChip::fieldTypingWritesTheText()
{
    AddTagField field;
    QCOMPARE(field.placeholderText(), StashwellUIStrings::tagAdd());
    QVERIFY(test::showWidget(field));
    field.setFocus();
    QSignalSpy changed(&field, &QLineEdit::textChanged);
    QTest::keyClicks(&field, QStringLiteral("ab"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toString(), QStringLiteral("ab"));
    // The owner empties it after adding the tag.
    field.clear();
    QCOMPARE(field.text(), QString());
}

void TestTagChip::fieldKeepsItsWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("long") << QStringLiteral("a-rather-long-tag-that-does-not-fit");
}

void TestTagChip::fieldKeepsItsWidth()
{
    QFETCH(QString, text);
    AddTagField field;
    field.setText(text);
    QVERIFY(test::showWidget(field));
    QCOMPARE(field.width(), 72);
    QCOMPARE(field.sizeHint().width(), 72);
}

void TestTagChip::fieldShowsItsPlaceholderWhole_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : StringTable::languages())
        QTest::newRow(qPrintable(language)) << language;
}

// Every language's "add a tag" reads whole between the padding, however long it is; the field does
// not shrink below its design width for a short one.
void TestTagChip::fieldShowsItsPlaceholderWhole()
{
    QFETCH(QString, language);
    QVERIFY(StashwellUIStrings::table().loadLanguage(language));
    AddTagField field;
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
    QVERIFY(test::showWidget(field));
    const QString placeholder = field.placeholderText();
    QVERIFY(!placeholder.startsWith(u"tag."));
    const QFontMetrics metrics(field.font());
    const int inside = field.width() - 2 * int(AddTagField::horizontalPadding);
    QCOMPARE(metrics.elidedText(placeholder, Qt::ElideRight, inside), placeholder);
    QVERIFY(field.width() >= int(AddTagField::fieldWidth));
    QCOMPARE(field.sizeHint().width(), field.width());
}

QTEST_MAIN(TestTagChip)
#include "tst_tagchip.moc"
