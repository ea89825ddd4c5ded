#include "Capture/AlignedAllocation.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace sw;

// Blocks of random sizes filled with a byte each: aligned, apart, given back from their start.
class TestAlignedAllocation : public QObject {
    Q_OBJECT
private slots:
    void blocksAreAlignedAndApart_data()
    {
        QTest::addColumn<int>("alignment");
        for (const char *alignment : {"16", "64", "256"})
            QTest::newRow(alignment) << QByteArray(alignment).toInt();
    }
    void blocksAreAlignedAndApart()
    {
        QFETCH(int, alignment);
        QRandomGenerator random{quint32(alignment)};
        std::vector<std::pair<unsigned char *, std::size_t>> blocks;
        for (int i = 0; i < 3000; ++i) {
            const std::size_t size = random.bounded(2) ? random.bounded(1, 400) : random.bounded(1, 70000);
            blocks.emplace_back(static_cast<unsigned char *>(allocateAligned(size, std::size_t(alignment))), size);
            QCOMPARE(reinterpret_cast<std::uintptr_t>(blocks.back().first) % std::uintptr_t(alignment), std::uintptr_t(0));
            std::memset(blocks.back().first, int(size & 0xFF), size);
        }
        for (const auto &[at, size] : blocks) {
            QVERIFY(std::all_of(at, at + size, [&](unsigned char c) { return c == (size & 0xFF); }));
            releaseAligned(at);
        }
    }
};

QTEST_APPLESS_MAIN(TestAlignedAllocation)
#include "tst_alignedallocation.moc"
