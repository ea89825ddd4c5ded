// The status bar's summary and shortcut hints, and the one table of keys that every key cap reads.

#include "StashwellUI/Window/StatusBar.h"

#include "ControlTesting.h"
#include "StashwellUI/Controls/CaptureButton.h"
#include "StashwellUI/Controls/KeyCap.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QTest>

using namespace sw;

Q_DECLARE_METATYPE(sw::KeyCap::Keys)

class TestStatusBar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void keysAsThisPlatformWritesThem_data();
    void keysAsThisPlatformWritesThem();
    void hintsInTheirGroups();
    void summary_data();
    void summary();
    void aLongFolderKeepsOneLine();
    void equalValuesRepaintNothing();
};

void TestStatusBar::keysAsThisPlatformWritesThem_data()
{
    QTest::addColumn<KeyCap::Keys>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("paste") << KeyCap::Keys::paste << QStringLiteral("Ctrl+V");
    QTest::newRow("find") << KeyCap::Keys::find << QStringLiteral("Ctrl+F");
    QTest::newRow("save link") << KeyCap::Keys::saveLink << QStringLiteral("Ctrl+L");
    QTest::newRow("hot key") << KeyCap::Keys::hotKey << QStringLiteral("Ctrl+Alt+D");
    QTest::newRow("move: left, right, up, down") << KeyCap::Keys::move << QStringLiteral("\u2190\u2192\u2191\u2193");
    QTest::newRow("open: Return") << KeyCap::Keys::open << QStringLiteral("\u21B5");
    QTest::newRow("trash: Delete") << KeyCap::Keys::trash << QStringLiteral("Del");
}

void TestStatusBar::keysAsThisPlatformWritesThem()
{
    QFETCH(KeyCap::Keys, keys);
    QFETCH(QString, text);
    QCOMPARE(KeyCap::text(keys), text);
    QCOMPARE(KeyCap(keys).keys(), text);
    // No key cap anywhere shows the command sign.
    QVERIFY(!text.contains(QChar(0x2318)));
}

void TestStatusBar::hintsInTheirGroups()
{
    QStringList caps, meanings;
    QList<int> groups;
    for (const StatusBar::Hint &hint : StatusBar::hints()) {
        caps.append(KeyCap::text(hint.keys));
        meanings.append(hint.meaning);
        groups.append(hint.group);
    }
    QCOMPARE(caps, (QStringList{"Ctrl+V", "Ctrl+F", QStringLiteral("\u2190\u2192\u2191\u2193"), QStringLiteral("\u21B5"), "Del"}));
    QCOMPARE(meanings, (QStringList{StashwellUIStrings::statusSaveLink(), StashwellUIStrings::statusSearch(),
                                    StashwellUIStrings::statusMove(), StashwellUIStrings::statusOpenItem(),
                                    StashwellUIStrings::statusTrash()}));
    QCOMPARE(groups, (QList<int>{0, 1, 2, 2, 2}));
    // The capture button's cap reads from the same table.
    QCOMPARE(CaptureButton::shortcutText(), KeyCap::text(KeyCap::Keys::paste));
}

void TestStatusBar::summary_data()
{
    QTest::addColumn<qsizetype>("items");
    QTest::addColumn<qint64>("onDisk");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("size");
    QTest::newRow("nothing yet") << qsizetype(0) << qint64(0) << "0" << "0 KB";
    QTest::newRow("one save, one byte") << qsizetype(1) << qint64(1) << "1" << "1 KB";
    QTest::newRow("many") << qsizetype(12345) << (qint64(3) << 30) << "12345" << "3.00 GB";
}

void TestStatusBar::summary()
{
    QFETCH(qsizetype, items);
    QFETCH(qint64, onDisk);
    QFETCH(QString, count);
    QFETCH(QString, size);
    StatusBar bar;
    bar.setItems(items);
    bar.setOnDisk(onDisk);
    bar.setFolder(QStringLiteral("~/Videos/Stashwell"));
    const QString text = bar.summary();
    // The count as plain digits, the size as formatted, and the folder, as the catalogue orders them.
    QVERIFY2(text.contains(count) && text.contains(size) && text.contains(QStringLiteral("~/Videos/Stashwell")), qPrintable(text));
    QCOMPARE(test::accessibleName(&bar), text);
}

void TestStatusBar::aLongFolderKeepsOneLine()
{
    StatusBar bar;
    const int least = bar.minimumSizeHint().width();
    bar.setFolder(QStringLiteral("/a/very/long/folder/name/that/goes/on/and/on/and/on/Videos/Stashwell").repeated(4));
    QCOMPARE(bar.height(), int(StatusBar::barHeight));
    QCOMPARE(bar.sizeHint().height(), int(StatusBar::barHeight));
    // The summary gives way: the least width does not grow with the folder.
    QCOMPARE(bar.minimumSizeHint().width(), least);
}

void TestStatusBar::equalValuesRepaintNothing()
{
    StatusBar bar;
    bar.setItems(3);
    bar.setOnDisk(2048);
    bar.setFolder(QStringLiteral("~/Videos"));
    bar.resize(900, 30);
    QVERIFY(test::showWidget(bar));
    test::PaintCounter paints(&bar);
    paints.start();
    bar.setItems(3);
    bar.setFolder(QStringLiteral("~/Videos"));
    bar.setOnDisk(2048);
    bar.setOnDisk(2049);   // still "2 KB"
    QCOMPARE(paints.settle(), 0);
    bar.setItems(4);
    QVERIFY(paints.settle() > 0);
}

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
