// The rooms of long lists let go: which are kept, which are given back for a new list, and that
// the items of a list kept are gone while its room stays.

#include "Shelf/ListRooms.h"

#include <QTest>

#include <memory>

using namespace sw;

namespace {

QList<int> filled(qsizetype n)
{
    QList<int> list;
    list.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        list.append(int(i));
    return list;
}

// Keeps the room of a list of `n` ints in `rooms`: where that room is.
const int *keepFilled(ListRooms<int> &rooms, qsizetype n)
{
    QList<int> list = filled(n);
    const int *room = list.constData();
    rooms.keep(std::move(list));
    return room;
}

}  // namespace

class TestListRooms : public QObject {
    Q_OBJECT
private slots:
    // Rooms of 100 and 150 ints kept (the smallest kept holds 64): which a list of `asked` gets.
    void aRoomIsGivenBackOnlyWhereItFitsWithoutWaste_data()
    {
        QTest::addColumn<qsizetype>("asked");
        QTest::addColumn<int>("given");   // 0: new room, else the kept room's size
        QTest::newRow("fits the smaller") << qsizetype(80) << 100;
        QTest::newRow("fills the smaller") << qsizetype(100) << 100;
        QTest::newRow("only the larger holds it") << qsizetype(120) << 150;
        QTest::newRow("fills the larger") << qsizetype(150) << 150;
        QTest::newRow("larger than any") << qsizetype(151) << 0;
        QTest::newRow("both more than twice as large") << qsizetype(49) << 0;
        QTest::newRow("only the larger more than twice") << qsizetype(60) << 100;
    }
    void aRoomIsGivenBackOnlyWhereItFitsWithoutWaste()
    {
        QFETCH(qsizetype, asked);
        QFETCH(int, given);
        ListRooms<int> rooms(64, 4);
        const int *smallRoom = keepFilled(rooms, 100);
        const int *largeRoom = keepFilled(rooms, 150);
        QCOMPARE(rooms.kept(), std::size_t(2));

        QArrayDataPointer<int> room = rooms.take(asked);
        QVERIFY(room.data());
        QCOMPARE(room.size, qsizetype(0));
        QVERIFY(room.freeSpaceAtEnd() >= asked);
        const int *at = room.data();
        QCOMPARE(at == smallRoom, given == 100);
        QCOMPARE(at == largeRoom, given == 150);
        QCOMPARE(rooms.kept(), std::size_t(given == 0 ? 2 : 1));
        // A list made in it holds what is put there.
        for (qsizetype i = 0; i < asked; ++i)
            new (room.data() + i) int(int(i) * 3);
        room.size = asked;
        const QList<int> made(std::move(room));
        QCOMPARE(made.size(), asked);
        QCOMPARE(made.last(), int(asked - 1) * 3);
    }

    void onlyLongListsHeldByNoOneElseAreKept()
    {
        ListRooms<int> rooms(64, 4);
        rooms.keep(filled(63));
        QCOMPARE(rooms.kept(), std::size_t(0));   // short: new room costs little

        const QList<int> other = filled(100);
        rooms.keep(other);   // another holds it: it stays as it is
        QCOMPARE(rooms.kept(), std::size_t(0));
        QCOMPARE(other, filled(100));

        rooms.keep(filled(64));
        QCOMPARE(rooms.kept(), std::size_t(1));
    }

    void theOldestRoomGoesFirst()
    {
        ListRooms<int> rooms(64, 2);
        keepFilled(rooms, 100);
        const int *secondRoom = keepFilled(rooms, 250);
        const int *thirdRoom = keepFilled(rooms, 300);
        QCOMPARE(rooms.kept(), std::size_t(2));
        // The first room is gone: a list it would have fitted (and the others not) gets new room.
        QArrayDataPointer<int> a = rooms.take(100);
        QVERIFY(a.data() != secondRoom && a.data() != thirdRoom);
        QCOMPARE(rooms.kept(), std::size_t(2));
        QCOMPARE(rooms.take(250).data(), secondRoom);
        QCOMPARE(rooms.take(300).data(), thirdRoom);
        QCOMPARE(rooms.kept(), std::size_t(0));
    }

    void theItemsOfAListKeptAreDestroyed()
    {
        ListRooms<std::shared_ptr<int>> rooms(64, 2);
        const auto held = std::make_shared<int>(7);
        QList<std::shared_ptr<int>> list(100, held);
        QCOMPARE(held.use_count(), 101);
        rooms.keep(std::move(list));
        QCOMPARE(rooms.kept(), std::size_t(1));
        QCOMPARE(held.use_count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestListRooms)
#include "tst_listrooms.moc"
