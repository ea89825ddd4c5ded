#include "ControlTesting.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/SettingsRow.h"
#include "StashwellUI/Controls/SettingsLine.h"
#include "StashwellUI/Controls/InsetField.h"

#include <QFontMetricsF>
#include <QVBoxLayout>

using namespace sw;

class TestSettingsRow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void controlSitsAtTheTrailingEdge_data();
    void controlSitsAtTheTrailingEdge();
    void longDetailStaysOnOneLine();
    void longLabelWraps();
    void lineHeight_data();
    void lineHeight();
    void insetFieldIs32High();
};

void TestSettingsRow::controlSitsAtTheTrailingEdge_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("detail");
    QTest::newRow("narrow, label alone") << 320 << false;
    QTest::newRow("wide, with detail") << 720 << true;
}

void TestSettingsRow::controlSitsAtTheTrailingEdge()
{
    QFETCH(int, width);
    QFETCH(bool, detail);
    auto *control = new GlassButton(QStringLiteral("Test"), QString(), Tone::neutral);
    SettingsRow row(QStringLiteral("Route"), detail ? std::optional<QString>(QStringLiteral("socks://127.0.0.1:1080")) : std::nullopt,
                    control);
    row.resize(width, row.heightForWidth(width));
    QVERIFY(test::showWidget(row));
    QCOMPARE(control->parentWidget(), &row);
    QCOMPARE(control->geometry().right(), width - 1);
    QCOMPARE(control->size(), control->sizeHint());
    // Text column, 12, a spacer of at least 12, 12, the control.
    QCOMPARE(row.textWidth(width), double(width - 36 - control->width()));
    QCOMPARE(std::abs(control->geometry().center().y() - row.rect().center().y()) <= 1, true);
    QVERIFY(row.height() >= 48);
}

void TestSettingsRow::longDetailStaysOnOneLine()
{
    const QString detail = QStringLiteral("/home/someone/Videos/Stashwell/with/a/very/long/path/to/the/media.mp4");
    const QString shown = SettingsRow::shownDetail(detail, 160);
    QVERIFY(shown != detail);
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(shown.startsWith(QStringLiteral("/home")));
    QVERIFY(shown.endsWith(QStringLiteral(".mp4")));
    QVERIFY(QFontMetricsF(Tokens::Typography::mono.font()).horizontalAdvance(shown) <= 160.5);
    QCOMPARE(SettingsRow::shownDetail(QStringLiteral("short"), 160), QStringLiteral("short"));

    SettingsRow row(QStringLiteral("Folder"), detail, new GlassButton(QStringLiteral("Open"), QString(), Tone::neutral));
    SettingsRow plain(QStringLiteral("Folder"), QStringLiteral("short"), new GlassButton(QStringLiteral("Open"), QString(), Tone::neutral));
    QCOMPARE(row.heightForWidth(300), plain.heightForWidth(300));
}

void TestSettingsRow::longLabelWraps()
{
    const QString label = QStringLiteral("Download the media of every new save as soon as it is kept, at the chosen quality");
    SettingsRow row(label, std::nullopt, new GlassButton(QStringLiteral("On"), QString(), Tone::neutral));
    SettingsRow shortRow(QStringLiteral("Downloads"), std::nullopt, new GlassButton(QStringLiteral("On"), QString(), Tone::neutral));
    QVERIFY(row.heightForWidth(260) > shortRow.heightForWidth(260));
    QCOMPARE(shortRow.heightForWidth(260), 48);
}

void TestSettingsRow::lineHeight_data()
{
    QTest::addColumn<int>("contentHeight");
    QTest::addColumn<int>("lineHeight");
    QTest::newRow("small content") << 20 << 48;
    QTest::newRow("exactly 32") << 32 << 48;
    QTest::newRow("taller content") << 80 << 96;
}

void TestSettingsRow::lineHeight()
{
    QFETCH(int, contentHeight);
    QFETCH(int, lineHeight);
    auto *content = new QWidget;
    content->setFixedSize(100, contentHeight);
    SettingsLine line(content);
    QCOMPARE(line.heightForWidth(400), lineHeight);
    QWidget window;
    auto *box = new QVBoxLayout(&window);
    box->setContentsMargins(0, 0, 0, 0);
    auto *placed = new SettingsLine(new QWidget);
    placed->content()->setFixedSize(100, contentHeight);
    box->addWidget(placed);
    box->addStretch();
    window.resize(400, 300);
    QVERIFY(test::showWidget(window));
    QCOMPARE(placed->width(), 400);
    QCOMPARE(placed->height(), lineHeight);
    QCOMPARE(placed->content()->x(), 0);
    QCOMPARE(placed->content()->geometry().center().y(), placed->rect().center().y());
}

void TestSettingsRow::insetFieldIs32High()
{
    InsetField field;
    field.setText(QStringLiteral("127.0.0.1"));
    QCOMPARE(field.sizeHint().height(), 32);
    field.resize(200, 32);
    QVERIFY(test::showWidget(field));
    QCOMPARE(field.height(), 32);
    // The text starts 12 in from the field's edge.
    QMargins margins = field.textMargins();
    QCOMPARE(margins.left() + 2, 12);
}

QTEST_MAIN(TestSettingsRow)
#include "tst_settingsrow.moc"
