#include "ControlTesting.h"
#include "StashwellUI/Controls/InfoRow.h"
#include "StashwellUI/Design/Theme.h"

#include <QFontMetricsF>
#include <QLabel>

using namespace sw;

class TestInfoRow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void valueSpace_data();
    void valueSpace();
    void longValueKeepsBeginningAndEnd();
    void valueWidgetAtTheTrailingEdge();
};

void TestInfoRow::valueSpace_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("natural");
    QTest::addColumn<double>("width");
    QTest::newRow("plenty of room") << QStringLiteral("Saved") << 80.0 << 300.0;
    QTest::newRow("value too long") << QStringLiteral("Saved") << 500.0 << 300.0;
    QTest::newRow("empty label") << QString() << 500.0 << 300.0;
    QTest::newRow("no room at all") << QStringLiteral("A very long label indeed") << 50.0 << 40.0;
}

void TestInfoRow::valueSpace()
{
    QFETCH(QString, label);
    QFETCH(double, natural);
    QFETCH(double, width);
    const double labelWidth = label.isEmpty() ? 0 : std::ceil(QFontMetricsF(Tokens::Typography::body.font()).horizontalAdvance(label));
    const double space = InfoRow::valueWidth(label, natural, width);
    QVERIFY(space <= natural);
    QVERIFY(space >= 0);
    // The label keeps at least 12 from the value.
    if (space > 0)
        QVERIFY(labelWidth + 12 + space <= width + 1e-9);
    if (labelWidth + 12 + natural <= width)
        QCOMPARE(space, natural);
}

void TestInfoRow::longValueKeepsBeginningAndEnd()
{
    const QString value = QStringLiteral("https://example.com/a/long/path/to/an/article/with-a-slug-of-words");
    const QString shown = InfoRow::shownValue(value, 160);
    QVERIFY(shown.startsWith(QStringLiteral("https")));
    QVERIFY(shown.endsWith(QStringLiteral("words")));
    QVERIFY(shown.contains(QChar(0x2026)));
    QCOMPARE(InfoRow::shownValue(QStringLiteral("12 KB"), 160), QStringLiteral("12 KB"));
    InfoRow row(QStringLiteral("Link"), value);
    QCOMPARE(row.sizeHint().height(), int(std::ceil(QFontMetricsF(Tokens::Typography::body.font()).height())) + 20);
}

void TestInfoRow::valueWidgetAtTheTrailingEdge()
{
    auto *value = new QLabel(QStringLiteral("On this computer"));
    InfoRow row(QStringLiteral("Media"), value);
    row.resize(320, row.sizeHint().height());
    QVERIFY(test::showWidget(row));
    QCOMPARE(value->parentWidget(), &row);
    QCOMPARE(value->geometry().right(), row.width() - 1);
    QCOMPARE(value->palette().color(QPalette::WindowText), Tokens::Colors::text());
    Theme::instance().setAppearance(Appearance::dark);
    QCOMPARE(value->palette().color(QPalette::WindowText), Tokens::Colors::text());
    Theme::instance().setAppearance(Appearance::light);

    // A widget with a colour of its own keeps it.
    auto *own = new QLabel(QStringLiteral("Failed"));
    QPalette palette = own->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    own->setPalette(palette);
    row.setValueWidget(own);
    QCOMPARE(own->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(row.valueWidget() == own);
}

QTEST_MAIN(TestInfoRow)
#include "tst_inforow.moc"
