#include "ControlTesting.h"
#include "StashwellUI/Controls/FileRow.h"

#include <QFontMetricsF>

using namespace sw;

class TestFileRow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void longNameKeepsItsStartAndExtension();
    void heightIsTileAndPaddingAtLeast_data();
    void heightIsTileAndPaddingAtLeast();
};

void TestFileRow::longNameKeepsItsStartAndExtension()
{
    const QString name = QStringLiteral("someone_1234567890123456789_with_a_really_long_tail_of_words.mp4");
    const QString shown = FileRow::shownName(name, 150);
    QVERIFY(shown != name);
    QVERIFY(shown.startsWith(QStringLiteral("some")));
    QVERIFY(shown.endsWith(QStringLiteral(".mp4")));
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(QFontMetricsF(Tokens::Typography::body.font()).horizontalAdvance(shown) <= 150.5);
    QCOMPARE(FileRow::shownName(QStringLiteral("a.jpg"), 150), QStringLiteral("a.jpg"));

    FileRow longRow(name, QStringLiteral("Video · 12.4 MB"), QStringLiteral("play.rectangle"));
    FileRow shortRow(QStringLiteral("a.mp4"), QStringLiteral("Video · 12.4 MB"), QStringLiteral("play.rectangle"));
    QCOMPARE(longRow.heightForWidth(220), shortRow.heightForWidth(220));
    QCOMPARE(test::accessibleName(&longRow), name);
}

void TestFileRow::heightIsTileAndPaddingAtLeast_data()
{
    QTest::addColumn<QString>("detail");
    QTest::addColumn<bool>("grows");
    QTest::newRow("short detail") << QStringLiteral("Image · 240 KB") << false;
    QTest::newRow("detail wraps") << QStringLiteral("Video · 62:05 · 1.20 GB · downloaded at the original quality from the post's page") << true;
}

void TestFileRow::heightIsTileAndPaddingAtLeast()
{
    QFETCH(QString, detail);
    QFETCH(bool, grows);
    FileRow row(QStringLiteral("a.jpg"), detail, QStringLiteral("photo"));
    const int height = row.heightForWidth(200);
    QVERIFY(height >= 38);
    FileRow plain(QStringLiteral("a.jpg"), QStringLiteral("x"), QStringLiteral("photo"));
    QCOMPARE(height > plain.heightForWidth(200), grows);
}

QTEST_MAIN(TestFileRow)
#include "tst_filerow.moc"
