#include "StashwellUI/Saves/Paging.h"
#include "PresentationFixtures.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace sw;
using fixtures::saveID;

class TestPaging : public QObject {
    Q_OBJECT
private slots:
    void pageOfAnUnturnedSave_data();
    void pageOfAnUnturnedSave();
    void storedPageIsCappedNotChanged_data();
    void storedPageIsCappedNotChanged();
    void turning_data();
    void turning();
    void fewerThanTwoPagesTurnNothing_data();
    void fewerThanTwoPagesTurnNothing();
    void turningOneSaveLeavesOthersButTellsEveryone();
    void environmentIsFoundAboveAndNotBeside();
    void environmentForgetsAPagingThatIsGone();
};

void TestPaging::pageOfAnUnturnedSave_data()
{
    QTest::addColumn<qint64>("count");
    QTest::newRow("no pages") << qint64(0);
    QTest::newRow("one page") << qint64(1);
    QTest::newRow("five pages") << qint64(5);
    QTest::newRow("negative count") << qint64(-3);
}

void TestPaging::pageOfAnUnturnedSave()
{
    QFETCH(qint64, count);
    Paging paging;
    QCOMPARE(paging.page(saveID(1), count), 0);
}

void TestPaging::storedPageIsCappedNotChanged_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("shown");
    QTest::newRow("among 5") << qint64(5) << qint64(2);
    QTest::newRow("among 3") << qint64(3) << qint64(2);
    QTest::newRow("among 2") << qint64(2) << qint64(1);
    QTest::newRow("among 1") << qint64(1) << qint64(0);
    QTest::newRow("among 0") << qint64(0) << qint64(0);
}

void TestPaging::storedPageIsCappedNotChanged()
{
    QFETCH(qint64, count);
    QFETCH(qint64, shown);
    Paging paging;
    // Page 2 stored: two turns forward among many pages.
    paging.turn(saveID(1), +1, 10);
    paging.turn(saveID(1), +1, 10);
    QCOMPARE(paging.page(saveID(1), count), shown);
    // Reading a capped page keeps the stored one.
    QCOMPARE(paging.page(saveID(1), 10), 2);
}

void TestPaging::turning_data()
{
    QTest::addColumn<qint64>("turnsForward");   // taken among `storedAmong` pages first
    QTest::addColumn<qint64>("storedAmong");
    QTest::addColumn<int>("delta");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("+1 from the last of 3 wraps to 0") << qint64(2) << qint64(3) << +1 << qint64(3) << qint64(0);
    QTest::newRow("-1 from 0 of 3 wraps to 2") << qint64(0) << qint64(3) << -1 << qint64(3) << qint64(2);
    QTest::newRow("+1 from 1 of 3") << qint64(1) << qint64(3) << +1 << qint64(3) << qint64(2);
    QTest::newRow("+1 from 0 of 2") << qint64(0) << qint64(2) << +1 << qint64(2) << qint64(1);
    QTest::newRow("+1 from 1 of 2") << qint64(1) << qint64(2) << +1 << qint64(2) << qint64(0);
    QTest::newRow("-1 from 0 of 2") << qint64(0) << qint64(2) << -1 << qint64(2) << qint64(1);
    QTest::newRow("-1 from 1 of 2") << qint64(1) << qint64(2) << -1 << qint64(2) << qint64(0);
    QTest::newRow("stored 4 among 3 starts from the capped 2") << qint64(4) << qint64(9) << +1 << qint64(3) << qint64(0);
    QTest::newRow("stored 4 among 3, back from the capped 2") << qint64(4) << qint64(9) << -1 << qint64(3) << qint64(1);
}

void TestPaging::turning()
{
    QFETCH(qint64, turnsForward);
    QFETCH(qint64, storedAmong);
    QFETCH(int, delta);
    QFETCH(qint64, count);
    QFETCH(qint64, expected);
    Paging paging;
    for (qint64 i = 0; i < turnsForward; ++i)
        paging.turn(saveID(1), +1, storedAmong);
    QSignalSpy changed(&paging, &Paging::pagesChanged);
    paging.turn(saveID(1), delta, count);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(paging.page(saveID(1), count), expected);
    // What is stored is the new page itself.
    QCOMPARE(paging.page(saveID(1), 1000), expected);
}

void TestPaging::fewerThanTwoPagesTurnNothing_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("delta");
    QTest::newRow("1 page, next") << qint64(1) << +1;
    QTest::newRow("1 page, previous") << qint64(1) << -1;
    QTest::newRow("0 pages") << qint64(0) << +1;
    QTest::newRow("negative count") << qint64(-1) << -1;
}

void TestPaging::fewerThanTwoPagesTurnNothing()
{
    QFETCH(qint64, count);
    QFETCH(int, delta);
    Paging paging;
    QSignalSpy changed(&paging, &Paging::pagesChanged);
    paging.turn(saveID(1), delta, count);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(paging.size(), 0);
    QCOMPARE(paging.page(saveID(1), 5), 0);
}

void TestPaging::turningOneSaveLeavesOthersButTellsEveryone()
{
    Paging paging;
    paging.turn(saveID(1), +1, 4);
    paging.turn(saveID(2), -1, 4);
    QSignalSpy changed(&paging, &Paging::pagesChanged);
    paging.turn(saveID(1), +1, 4);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(paging.page(saveID(1), 4), 2);
    QCOMPARE(paging.page(saveID(2), 4), 3);
    QCOMPARE(paging.page(saveID(3), 4), 0);
    QCOMPARE(paging.size(), 2);
}

void TestPaging::environmentIsFoundAboveAndNotBeside()
{
    QWidget window;
    auto *page = new QWidget(&window);
    auto *shelf = new QWidget(page);
    auto *card = new QWidget(shelf);
    auto *popover = new QWidget(&window);
    Paging paging;
    QCOMPARE(Paging::of(card), nullptr);
    Paging::install(page, &paging);
    QCOMPARE(Paging::of(card), &paging);
    QCOMPARE(Paging::of(page), &paging);
    // A view outside the library page finds none.
    QCOMPARE(Paging::of(popover), nullptr);
    QCOMPARE(Paging::of(&window), nullptr);
    // The nearest one wins.
    Paging inner;
    Paging::install(shelf, &inner);
    QCOMPARE(Paging::of(card), &inner);
    Paging::install(shelf, nullptr);
    QCOMPARE(Paging::of(card), &paging);
}

void TestPaging::environmentForgetsAPagingThatIsGone()
{
    QWidget page;
    auto *card = new QWidget(&page);
    auto *paging = new Paging;
    Paging::install(&page, paging);
    QCOMPARE(Paging::of(card), paging);
    delete paging;
    QCOMPARE(Paging::of(card), nullptr);
}

QTEST_MAIN(TestPaging)
#include "tst_paging.moc"
