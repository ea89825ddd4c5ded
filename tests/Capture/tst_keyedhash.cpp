// The keyed hash that places keys in the copy table: the published SipHash vector, and keys that a
// document can choose to crowd a fixed hash spreading under it.

#include "Capture/KeyedHash.h"
#include "CraftedStatuses.h"

#include <QSet>
#include <QTest>

using namespace sw;

class TestKeyedHash : public QObject {
    Q_OBJECT

private slots:
    void publishedVector();
    void chosenKeysSpread_data();
    void chosenKeysSpread();
};

void TestKeyedHash::publishedVector()
{
    // SipHash-2-4 with the key 00 01 ... 0f over the eight bytes 00 01 ... 07: the reference
    // implementation's vector; the rounds and the finish are the ones SipHash-1-3 repeats fewer times.
    constexpr std::uint64_t message = 0x0706050403020100ull;
    constexpr std::uint64_t k0 = 0x0706050403020100ull;
    constexpr std::uint64_t k1 = 0x0f0e0d0c0b0a0908ull;
    const std::uint64_t full = hash::sip<2, 4>(message, k0, k1);
    const std::uint64_t light = hash::sip<1, 3>(message, k0, k1);
    QCOMPARE(full, 0x93f5f5799a932462ull);
    QVERIFY(light != full);
    QCOMPARE(hash::keyed(42), hash::keyed(42));
}

void TestKeyedHash::chosenKeysSpread_data()
{
    QTest::addColumn<QList<quint64>>("keys");
    constexpr int bits = 18;   // the index of a table of 100,000 copies
    QList<quint64> crowded;
    for (const std::uint64_t number : fixtures::statusesCrowdingSlots(2048, bits, 1024)) {
        QVERIFY(fixtures::fixedHashSlot(number, bits) < 1024);
        crowded.append(number);
    }
    QTest::newRow("crowding the fixed hash into 1,024 slots") << crowded;
    QList<quint64> consecutive;
    QList<quint64> strided;
    QList<quint64> highBits;
    for (quint64 i = 0; i < 2048; ++i) {
        consecutive.append(1790000000000000000ull + i);
        strided.append(i << 18);
        highBits.append(42 | i << 50);
    }
    QTest::newRow("consecutive statuses") << consecutive;
    QTest::newRow("a table's size apart") << strided;
    QTest::newRow("differing in the high bits only") << highBits;
}

void TestKeyedHash::chosenKeysSpread()
{
    QFETCH(QList<quint64>, keys);
    constexpr std::uint64_t mask = (1u << 18) - 1;
    QSet<quint64> firstSlots;
    for (const quint64 key : keys)
        firstSlots.insert(hash::keyed(key) & mask);
    // 2,048 random slots of 2^18 would meet about 8 times; a crowding would meet thousands of times.
    QVERIFY2(firstSlots.size() > keys.size() - 64, qPrintable(QStringLiteral("%1 slots").arg(firstSlots.size())));
}

QTEST_APPLESS_MAIN(TestKeyedHash)
#include "tst_keyedhash.moc"
