#include "StashwellUI/Settings/SettingsSection.h"
#include "StashwellUI/Controls/CheckToggle.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassSegments.h"
#include "StashwellUI/Controls/SettingsRow.h"
#include "StashwellUI/Controls/StyledText.h"
#include "ControlTesting.h"
#include "Gallery.h"

#include <QTest>

using namespace sw;

namespace {

QList<QWidget *> makeRows(int count)
{
    QList<QWidget *> rows;
    for (int i = 0; i < count; ++i)
        rows.append(new SettingsRow(QStringLiteral("Setting %1").arg(i + 1), QStringLiteral("What it does"), new CheckToggle));
    return rows;
}

}  // namespace

class TestSettingsSection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void dividers_data();
    void dividers();
    void footnote_data();
    void footnote();
    void gallery();
};

void TestSettingsSection::dividers_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
}

void TestSettingsSection::dividers()
{
    QFETCH(int, rows);
    SettingsSection section(QStringLiteral("Downloads"), std::nullopt, makeRows(rows));
    section.setFixedWidth(480);
    QVERIFY(test::showWidget(section));
    QCOMPARE(section.rows().size(), rows);
    const QList<QRectF> lines = section.dividers();
    QCOMPARE(lines.size(), std::max(rows - 1, 0));
    // Each line lies between its two rows, touching both; none above the first row.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRect above = section.rows().at(i)->geometry();
        const QRect below = section.rows().at(i + 1)->geometry();
        QVERIFY(section.rows().at(i)->parentWidget() == section.panel());
        QCOMPARE(lines.at(i).top(), double(above.bottom() + 1));
        QCOMPARE(lines.at(i).bottom(), double(below.top()));
        QVERIFY(lines.at(i).width() > 0);
    }
    if (rows > 0)
        QVERIFY(section.rows().first()->geometry().top() < section.panel()->height());
}

void TestSettingsSection::footnote_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << false << QString();
    QTest::newRow("empty") << true << QString();
    QTest::newRow("long") << true
                          << QStringLiteral("Media that does not fit under the limit stays a link until you free room. ").repeated(4);
}

void TestSettingsSection::footnote()
{
    QFETCH(bool, present);
    QFETCH(QString, text);
    SettingsSection section(QStringLiteral("Storage"), present ? std::optional<QString>(text) : std::nullopt, makeRows(2));
    section.setFixedWidth(420);
    QVERIFY(test::showWidget(section));
    section.resize(420, section.heightForWidth(420));
    QCOMPARE(section.footnoteText() != nullptr, present);
    const int panelBottom = section.panel()->geometry().bottom() + 1;
    if (!present) {
        // The section ends with the panel.
        QCOMPARE(section.heightForWidth(420), panelBottom);
        return;
    }
    // Even an empty footnote keeps its place under the panel.
    QVERIFY(section.heightForWidth(420) > panelBottom);
    QCOMPARE(section.footnoteText()->text(), text);
    QVERIFY(section.footnoteText()->geometry().top() > panelBottom);
    if (!text.isEmpty()) {
        // Wrapped, never cut.
        const int width = section.footnoteText()->width();
        QCOMPARE(section.footnoteText()->shownText(width).remove(u'\n').remove(u' '), QString(text).remove(u' '));
        QVERIFY(section.footnoteText()->lineCount(width) > 1);
        QVERIFY(section.footnoteText()->height() >= section.footnoteText()->heightForWidth(width));
    }
}

void TestSettingsSection::gallery()
{
    auto *theme = new GlassSegments({{QStringLiteral("system"), QStringLiteral("System"), QString()},
                                     {QStringLiteral("light"), QStringLiteral("Light"), QString()},
                                     {QStringLiteral("dark"), QStringLiteral("Dark"), QString()}},
                                    false);
    theme->setSelection(QStringLiteral("dark"));
    auto *download = new CheckToggle;
    download->setChecked(true);
    const QList<QWidget *> rows{new SettingsRow(QStringLiteral("Theme"), std::nullopt, theme),
                                new SettingsRow(QStringLiteral("Download media when saving"), QStringLiteral("Pictures and videos"), download),
                                new SettingsRow(QStringLiteral("Media folder"), QStringLiteral("/home/someone/Videos/Stashwell"),
                                                new GlassButton(QStringLiteral("Show"), QString(), Tone::neutral))};
    SettingsSection section(QStringLiteral("General"), QStringLiteral("Changes apply at once. The media limit counts only files on this computer."), rows);
    section.setFixedWidth(520);
    QVERIFY(test::showWidget(section));
    section.resize(520, section.heightForWidth(520));
    QString why;
    QVERIFY2(gallery::captureAndCheck(section, QStringLiteral("settingssection"), &why), qPrintable(why));
}

QTEST_MAIN(TestSettingsSection)
#include "tst_settingssection.moc"
