// The keyed hash that places keys in the copy table: the published SipHash vector, and keys that a
// document can choose to crowd a fixed hash spreading under it.

#include "Capture/KeyedHash.h"
#include "CraftedStatuses.h"

#include <QSet>

#include <string>
#include <string_view>
#include <QTest>

using namespace sw;

class TestKeyedHash : public QObject {
    Q_OBJECT

private slots:
    void publishedVector();
    void publishedTextVectors_data();
    void publishedTextVectors();
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

void TestKeyedHash::publishedTextVectors_data()
{
    // SipHash-2-4 with the key 00 01 ... 0f over the bytes 00 01 ... (length - 1): the reference
    // implementation's vectors, on each side of a block's end.
    QTest::addColumn<int>("length");
    QTest::addColumn<quint64>("expected");
    QTest::newRow("empty") << 0 << quint64(0x726fdb47dd0e0e31ull);
    QTest::newRow("one byte") << 1 << quint64(0x74f839c593dc67fdull);
    QTest::newRow("seven bytes") << 7 << quint64(0xab0200f58b01d137ull);
    QTest::newRow("one block") << 8 << quint64(0x93f5f5799a932462ull);
    QTest::newRow("a block and a byte") << 9 << quint64(0x9e0082df0ba9e4b0ull);
    QTest::newRow("fifteen bytes") << 15 << quint64(0xa129ca6149be45e5ull);
    QTest::newRow("two blocks") << 16 << quint64(0x3f2acc7f57c29bdbull);
}

void TestKeyedHash::publishedTextVectors()
{
    QFETCH(int, length);
    QFETCH(quint64, expected);
    std::string bytes;
    for (int i = 0; i < length; ++i)
        bytes.push_back(char(i));
    constexpr std::uint64_t k0 = 0x0706050403020100ull;
    constexpr std::uint64_t k1 = 0x0f0e0d0c0b0a0908ull;
    const std::uint64_t full = hash::sip<2, 4>(std::string_view(bytes), k0, k1);
    QCOMPARE(full, expected);
    // Bytes with the top bit set are taken unsigned, and eight bytes hash as the word they make.
    std::string high(std::size_t(length), '\xf0');
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i)
        word |= std::uint64_t(0xf0 + i) << (8 * i);
    std::string wordBytes;
    for (int i = 0; i < 8; ++i)
        wordBytes.push_back(char(0xf0 + i));
    const std::uint64_t ofText = hash::sip<1, 3>(std::string_view(wordBytes), k0, k1);
    const std::uint64_t ofWord = hash::sip<1, 3>(word, k0, k1);
    QCOMPARE(ofText, ofWord);
    QCOMPARE(hash::keyed(std::string_view(wordBytes)), hash::keyed(word));
    if (length > 0)
        QVERIFY(hash::keyed(std::string_view(high)) != hash::keyed(std::string_view(high).substr(1)));
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
