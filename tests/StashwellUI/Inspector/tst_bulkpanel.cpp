#include "ControlTesting.h"
#include "Gallery.h"
#include "InspectorFixtures.h"
#include "StashwellUI/Controls/InfoRow.h"
#include "StashwellUI/Controls/PillButton.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/Inspector/BulkPanel.h"
#include "StashwellUI/Inspector/BulkSummary.h"

#include <QMenu>
#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::inspectorfixtures;

class TestBulkPanel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void summary_data();
    void summary();
    void downloadBytesSaturate();
    void panelShowsTheSummary_data();
    void panelShowsTheSummary();
    void deckDealsTheFirstThree();
    void eachControlRaisesItsRequest();
    void fileInMenu_data();
    void fileInMenu();
    void gallery_data();
    void gallery();
};

void TestBulkPanel::summary_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("onThisComputer");   // "a of m"
    QTest::addColumn<qint64>("downloads");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<bool>("allTrashed");
    QTest::newRow("nothing chosen") << QStringList{} << "0 · 0 · 0" << "0 of 0" << qint64(0) << qint64(0) << true;
    // Picture posts hold two pictures of 1000 bytes; other posts one attachment of 1000 bytes.
    QTest::newRow("all downloadable") << QStringList{"vL", "iL", "pL"} << "1 · 1 · 1" << "0 of 3" << qint64(3)
                                      << qint64(4000) << false;
    QTest::newRow("text and pages counted together") << QStringList{"tL", "pH", "tL", "vH"} << "1 · 0 · 3" << "2 of 2"
                                                     << qint64(0) << qint64(0) << false;
    QTest::newRow("nothing to download: here, running, failed, trashed")
        << QStringList{"vH", "iD", "pF", "vLT"} << "2 · 1 · 1" << "1 of 4" << qint64(0) << qint64(0) << false;
    QTest::newRow("here with empty files is not on this computer") << QStringList{"vZ", "iH"} << "1 · 1 · 0" << "1 of 2"
                                                                    << qint64(0) << qint64(0) << false;
    QTest::newRow("all in the trash") << QStringList{"vLT", "tLT"} << "1 · 0 · 1" << "0 of 1" << qint64(0) << qint64(0) << true;
    QTest::newRow("one live among trashed") << QStringList{"vLT", "iL", "tLT"} << "1 · 1 · 1" << "0 of 2" << qint64(1)
                                            << qint64(2000) << false;
}

void TestBulkPanel::summary()
{
    QFETCH(QStringList, items);
    QFETCH(QString, kinds);
    QFETCH(QString, onThisComputer);
    QFETCH(qint64, downloads);
    QFETCH(qint64, bytes);
    QFETCH(bool, allTrashed);
    const BulkSummary summary = BulkSummary::of(itemsOf(items));
    QCOMPARE(summary.count, items.size());
    QCOMPARE(summary.kindsText(), kinds);
    QCOMPARE(summary.onThisComputerText(), onThisComputer);
    QCOMPARE(summary.downloads, downloads);
    QCOMPARE(summary.downloadBytes, bytes);
    QCOMPARE(summary.offersDownload(), downloads > 0);
    QCOMPARE(summary.allTrashed, allTrashed);
    QCOMPARE(summary.trashOrRestoreTitle(), allTrashed ? StashwellUIStrings::bulkRestore(items.size())
                                                       : StashwellUIStrings::bulkTrash(items.size()));
}

void TestBulkPanel::downloadBytesSaturate()
{
    const std::int64_t huge = std::numeric_limits<std::int64_t>::max() / 2 + 1;
    const BulkSummary summary = BulkSummary::of(itemsOf({"vL", "vL", "vL"}, huge));
    QCOMPARE(summary.downloads, 3);
    QCOMPARE(summary.downloadBytes, std::numeric_limits<std::int64_t>::max());
    QVERIFY(summary.downloadTitle().startsWith(StashwellUIStrings::bulkDownload(3, QString()).section(u' ', 0, 0)));
}

void TestBulkPanel::panelShowsTheSummary_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty") << QStringList{};
    QTest::newRow("mixed") << QStringList{"vL", "iH", "tLT"};
    QTest::newRow("all trashed") << QStringList{"vLT", "pLT"};
}

void TestBulkPanel::panelShowsTheSummary()
{
    QFETCH(QStringList, items);
    BulkPanel panel(itemsOf(items));
    const BulkSummary summary = BulkSummary::of(itemsOf(items));
    QCOMPARE(panel.headerText(), StashwellUIStrings::bulkSelected(items.size()));
    QCOMPARE(panel.deck().badgeText(), QString::number(items.size()));
    QCOMPARE(panel.kindsRow().value(), summary.kindsText());
    QCOMPARE(panel.onThisComputerRow().value(), summary.onThisComputerText());
    QCOMPARE(panel.downloadButton().isHidden(), !summary.offersDownload());
    QCOMPARE(panel.trashOrRestoreButton().title(), summary.trashOrRestoreTitle());
    QCOMPARE(panel.trashOrRestoreButton().tone(), summary.allTrashed ? Tone::ok : Tone::danger);

    // A new choice redraws everything.
    panel.setItems(itemsOf({"vL", "vL"}));
    QVERIFY(!panel.downloadButton().isHidden());
    QCOMPARE(panel.downloadButton().title(), BulkSummary::of(itemsOf({"vL", "vL"})).downloadTitle());
    QCOMPARE(panel.trashOrRestoreButton().title(), StashwellUIStrings::bulkTrash(2));
}

void TestBulkPanel::deckDealsTheFirstThree()
{
    const QList<ShelfItem> items = itemsOf({"vL", "iH", "pL", "tL", "vH"});
    BulkPanel panel(items);
    QCOMPARE(panel.deck().cards(), items.mid(0, 3));
    QCOMPARE(panel.deck().badgeText(), QStringLiteral("5"));
    panel.setItems(items.mid(3));
    QCOMPARE(panel.deck().cards(), items.mid(3));
}

void TestBulkPanel::eachControlRaisesItsRequest()
{
    QStringList heard;
    BulkPanel panel(itemsOf({"vL", "iLT"}));
    connect(&panel, &BulkPanel::deselectRequested, [&] { heard << "deselect"; });
    connect(&panel, &BulkPanel::downloadRequested, [&] { heard << "download"; });
    connect(&panel, &BulkPanel::favouriteRequested, [&] { heard << "favourite"; });
    connect(&panel, &BulkPanel::trashRequested, [&] { heard << "trash"; });
    connect(&panel, &BulkPanel::restoreRequested, [&] { heard << "restore"; });
    panel.deselectButton().click();
    panel.downloadButton().click();
    panel.favouriteButton().click();
    panel.trashOrRestoreButton().click();
    panel.setItems(itemsOf({"vLT", "iLT"}));
    panel.trashOrRestoreButton().click();
    QCOMPARE(heard, (QStringList{"deselect", "download", "favourite", "trash", "restore"}));
}

void TestBulkPanel::fileInMenu_data()
{
    QTest::addColumn<int>("collections");
    QTest::newRow("no collections") << 0;
    QTest::newRow("two collections") << 2;
}

void TestBulkPanel::fileInMenu()
{
    QFETCH(int, collections);
    QList<Collection> list;
    for (int i = 0; i < collections; ++i)
        list.append(Collection{Collection::ID(fixtures::fixedUuid(100 + i)), QStringLiteral("R&D %1").arg(i), Swatch::blue});
    BulkPanel panel(itemsOf({"vL", "iL"}), list);
    QList<std::optional<Collection::ID>> filed;
    connect(&panel, &BulkPanel::fileRequested, [&](const std::optional<Collection::ID> &id) { filed.append(id); });
    const QList<QAction *> entries = panel.fileInMenu().actions();
    QCOMPARE(entries.size(), 2 + collections);
    QCOMPARE(entries[0]->text(), StashwellUIStrings::collectionNone());
    QVERIFY(entries[1]->isSeparator());
    for (QAction *entry : entries)
        entry->trigger();
    QCOMPARE(filed.size(), 1 + collections);
    QCOMPARE(filed[0], std::nullopt);
    for (int i = 0; i < collections; ++i) {
        QCOMPARE(filed[1 + i], std::optional<Collection::ID>(list[i].id));
        // The name as it is: "&" is no mnemonic.
        QCOMPARE(entries[2 + i]->iconText(), list[i].name);
    }
}

void TestBulkPanel::gallery_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("2") << 2;
    QTest::newRow("40") << 40;
}

void TestBulkPanel::gallery()
{
    QFETCH(int, count);
    const QStringList kinds{"vL", "iH", "tL", "pD", "vH"};
    QStringList descriptions;
    for (int i = 0; i < count; ++i)
        descriptions.append(kinds[i % kinds.size()]);
    BulkPanel panel(itemsOf(descriptions), {Collection{Collection::ID(fixtures::fixedUuid(100)), QStringLiteral("Reading"), Swatch::green}});
    panel.resize(350, 700);
    QVERIFY(test::showWidget(panel));
    QString why;
    QVERIFY2(gallery::captureAndCheck(panel, QStringLiteral("BulkPanel-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestBulkPanel)
#include "tst_bulkpanel.moc"
