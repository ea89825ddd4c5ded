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
    void blocksAreAlignedAndApart_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("16") << 16;
        QTest::newRow("64") << 64;
        QTest::newRow("256") << 256;
    }

    // Blocks of random sizes, each filled with a byte of its own, given back in random order as
    // others are taken: each is aligned, and none has been written over by another (a block given
    // back from the wrong start shows as a changed byte or a failure of the allocator's checks).
    void blocksAreAlignedAndApart()
    {
        QFETCH(int, alignment);
        QRandomGenerator random{quint32(alignment)};
        std::vector<std::pair<unsigned char *, std::size_t>> live;
        const auto intact = [](const auto &b) { return std::all_of(b.first, b.first + b.second, [&](unsigned char c) { return c == (b.second & 0xFF); }); };
        for (int step = 0; step < 4000; ++step) {
            if (live.empty() || random.bounded(3) != 0) {
                const std::size_t size = random.bounded(2) ? random.bounded(1, 400) : random.bounded(1, 70000);
                auto *at = static_cast<unsigned char *>(allocateAligned(size, std::size_t(alignment)));
                QCOMPARE(reinterpret_cast<std::uintptr_t>(at) % std::uintptr_t(alignment), std::uintptr_t(0));
                std::memset(at, int(size & 0xFF), size);
                live.emplace_back(at, size);
            } else {
                const auto k = live.begin() + random.bounded(int(live.size()));
                QVERIFY(intact(*k));
                releaseAligned(k->first);
                live.erase(k);
            }
        }
        for (const auto &b : live) {
            QVERIFY(intact(b));
            releaseAligned(b.first);
        }
    }
};

QTEST_APPLESS_MAIN(TestAlignedAllocation)
#include "tst_alignedallocation.moc"
