#include "ControlTesting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/Controls/StorageMeter.h"
#include "StashwellUI/Controls/TextButton.h"

#include <limits>

using namespace sw;

class TestStorageMeter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void fraction_data();
    void fraction();
    void downloadMissingButton_data();
    void downloadMissingButton();
    void topRowReportsShowAnywhere_data();
    void topRowReportsShowAnywhere();
    void limitLineNamesFolderAndLimit();
    void selectionMarksTheTopRow();
};

void TestStorageMeter::fraction_data()
{
    const qint64 GiB = qint64(1) << 30;
    QTest::addColumn<qint64>("onDisk");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("fill");   // of a 200-wide track
    QTest::newRow("no limit") << qint64(500) << qint64(0) << 0.0 << 6.0;
    QTest::newRow("negative limit") << qint64(500) << qint64(-1) << 0.0 << 6.0;
    QTest::newRow("nothing on disk shows a sliver") << qint64(0) << 5 * GiB << 0.02 << 6.0;
    QTest::newRow("one per cent shows two") << 5 * GiB / 100 << 5 * GiB << 0.02 << 6.0;
    QTest::newRow("half") << 5 * GiB / 2 << 5 * GiB << 0.5 << 100.0;
    QTest::newRow("over the limit") << 3 * GiB << 2 * GiB << 1.5 << 200.0;
    QTest::newRow("largest sizes") << std::numeric_limits<qint64>::max() << qint64(1) << 9.223372036854775807e18 << 200.0;
}

void TestStorageMeter::fraction()
{
    QFETCH(qint64, onDisk);
    QFETCH(qint64, limit);
    QFETCH(double, fraction);
    QFETCH(double, fill);
    QCOMPARE(StorageMeter::fraction(onDisk, limit), fraction);
    StorageMeter meter;
    meter.setLimit(limit);
    meter.setOnDisk(onDisk);
    QCOMPARE(meter.track()->fraction(), fraction);
    QCOMPARE(ProgressTrack::fillRect(QRectF(0, 0, 200, 6), 6, meter.track()->fraction()).width(), fill);
}

void TestStorageMeter::downloadMissingButton_data()
{
    QTest::addColumn<qint64>("missing");
    QTest::addColumn<QString>("title");
    QTest::newRow("none") << qint64(0) << QString();
    QTest::newRow("negative") << qint64(-2) << QString();
    QTest::newRow("one") << qint64(1) << StashwellUIStrings::storageDownloadMissingOne(1);
    QTest::newRow("seven") << qint64(7) << StashwellUIStrings::storageDownloadMissingMany(7);
}

void TestStorageMeter::downloadMissingButton()
{
    QFETCH(qint64, missing);
    QFETCH(QString, title);
    StorageMeter meter;
    meter.setLimit(qint64(5) << 30);
    const int without = meter.sizeHint().height();
    meter.setMissing(missing);
    QCOMPARE(StorageMeter::downloadMissingTitle(missing), title);
    QCOMPARE(meter.downloadMissingButton() != nullptr, !title.isEmpty());
    QCOMPARE(meter.sizeHint().height() > without, !title.isEmpty());
    if (title.isEmpty())
        return;
    QCOMPARE(meter.downloadMissingButton()->title(), title);
    meter.resize(240, meter.sizeHint().height());
    QVERIFY(test::showWidget(meter));
    QSignalSpy download(&meter, &StorageMeter::downloadMissingRequested);
    QSignalSpy show(&meter, &StorageMeter::showRequested);
    TextButton *button = meter.downloadMissingButton();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    QCOMPARE(download.count(), 1);
    QCOMPARE(show.count(), 0);
}

void TestStorageMeter::topRowReportsShowAnywhere_data()
{
    QTest::addColumn<double>("across");
    QTest::newRow("label") << 0.1;
    QTest::newRow("between label and size") << 0.7;
    QTest::newRow("size") << 0.97;
}

void TestStorageMeter::topRowReportsShowAnywhere()
{
    QFETCH(double, across);
    StorageMeter meter;
    meter.setOnDisk(1234567);
    meter.setLimit(qint64(5) << 30);
    meter.resize(240, meter.sizeHint().height());
    QVERIFY(test::showWidget(meter));
    QSignalSpy show(&meter, &StorageMeter::showRequested);
    Pressable *row = meter.showButton();
    QCOMPARE(row->geometry().left(), 12);
    QCOMPARE(row->width(), 240 - 24);
    QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, QPoint(int(row->width() * across), row->height() / 2));
    QCOMPARE(show.count(), 1);
    meter.setEnabled(false);
    QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, QPoint(int(row->width() * across), row->height() / 2));
    QCOMPARE(show.count(), 1);
}

void TestStorageMeter::limitLineNamesFolderAndLimit()
{
    const qint64 limit = qint64(5) << 30;
    QCOMPARE(StorageMeter::limitText(QStringLiteral("~/Videos/Stashwell"), limit),
             StashwellUIStrings::storageLimit(QStringLiteral("~/Videos/Stashwell"), Formatting::bytes(limit)));
    QVERIFY(StorageMeter::limitText(QStringLiteral("~/Videos/Stashwell"), limit).contains(QStringLiteral("5.00 GB")));
}

void TestStorageMeter::selectionMarksTheTopRow()
{
    StorageMeter meter;
    meter.setOnDisk(2048);
    QVERIFY(!test::accessibleOf(meter.showButton())->state().selected);
    const QString name = test::accessibleName(meter.showButton());
    QVERIFY(name.contains(StashwellUIStrings::storageOnThisComputer()));
    QVERIFY(name.contains(Formatting::bytes(2048)));
    meter.setSelected(true);
    QVERIFY(test::accessibleOf(meter.showButton())->state().selected);
    QCOMPARE(test::accessibleName(meter.showButton()), name);
}

QTEST_MAIN(TestStorageMeter)
#include "tst_storagemeter.moc"
