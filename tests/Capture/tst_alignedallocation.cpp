#include "Capture/AlignedAllocation.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace sw;

class TestAlignedAllocation : public QObject {
    Q_OBJECT
private slots:
    void blocksAreAlignedAndApart_data();
    void blocksAreAlignedAndApart();
};

void TestAlignedAllocation::blocksAreAlignedAndApart_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("16") << 16 << 1u;
    QTest::newRow("32") << 32 << 2u;
    QTest::newRow("64") << 64 << 3u;
    QTest::newRow("256") << 256 << 4u;
}

// Blocks of random sizes, each filled with its own byte, given back in a random order with new
// ones taken meanwhile: every block is aligned, and none has written over another (a block given
// back from the wrong start, or an offset written outside its block, shows as a changed byte or a
// failure of the allocator's own checks).
void TestAlignedAllocation::blocksAreAlignedAndApart()
{
    QFETCH(int, alignment);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    struct Block {
        unsigned char *at;
        std::size_t size;
        unsigned char fill;
    };
    std::vector<Block> live;
    const auto intact = [](const Block &b) {
        return std::all_of(b.at, b.at + b.size, [&](unsigned char c) { return c == b.fill; });
    };
    for (int step = 0; step < 4000; ++step) {
        if (live.empty() || random.bounded(3) != 0) {
            const std::size_t size = random.bounded(2) ? random.bounded(1, 400) : random.bounded(1, 70000);
            Block b{static_cast<unsigned char *>(allocateAligned(size, std::size_t(alignment))), size,
                    static_cast<unsigned char>(random.bounded(256))};
            QCOMPARE(reinterpret_cast<std::uintptr_t>(b.at) % std::uintptr_t(alignment), std::uintptr_t(0));
            std::memset(b.at, b.fill, b.size);
            live.push_back(b);
        } else {
            const std::size_t k = random.bounded(int(live.size()));
            QVERIFY(intact(live[k]));
            releaseAligned(live[k].at);
            live.erase(live.begin() + qsizetype(k));
        }
    }
    for (const Block &b : live) {
        QVERIFY(intact(b));
        releaseAligned(b.at);
    }
    releaseAligned(nullptr);
}

QTEST_APPLESS_MAIN(TestAlignedAllocation)
#include "tst_alignedallocation.moc"
