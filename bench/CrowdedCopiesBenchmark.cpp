// A document made to crowd the copy table, against an ordinary one of the same size, in the same
// run:
//
//   copies_load_crowded_100k   decoding a document of 100,000 copies whose status numbers the old
//                              fixed hash put into 1,024 slots of the table's 2^18, against
//   copies_load_random_100k    the same document with random status numbers of the same lengths.
//                              Target: crowded <= 2 x random.
//   copies_find_crowded_100k   looking every copy of each table up once, in a shuffled order,
//   copies_find_random_100k    without memos. Target: crowded <= 2 x random.

#include "Bench.h"

#include "CraftedStatuses.h"
#include "StashKit/Archive.h"
#include "Offline/CopyTable.h"
#include "Offline/LocalCopy.h"
#include "Capture/PostLink.h"

#include <QRandomGenerator>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace sw::bench {

namespace {

constexpr std::size_t kCopies = 100000;
constexpr int kRuns = 5;

struct Document {
    std::string text;
    std::vector<PostLink> links;   // shuffled
};

Document documentOf(const std::vector<std::uint64_t> &numbers)
{
    Document document;
    Archive archive;
    for (const std::uint64_t number : numbers) {
        const QString digits = QString::number(number);
        PostLink link = PostLink::x(Handle{QStringLiteral("crowd")}, StatusID{digits});
        archive.copies.insert(link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("crowd_") + digits + QStringLiteral(".mp4"), 1000000}}));
        document.links.push_back(std::move(link));
    }
    archive.writeJson(document.text);
    std::shuffle(document.links.begin(), document.links.end(), std::mt19937(7));
    return document;
}

std::vector<std::uint64_t> randomNumbersLike(const std::vector<std::uint64_t> &crowded)
{
    // The same count of digits each, so that the two documents are of one size.
    QRandomGenerator random(11);
    std::vector<std::uint64_t> numbers;
    numbers.reserve(crowded.size());
    for (const std::uint64_t c : crowded) {
        const std::uint64_t low = c >= 1000000000000000000ull ? 1000000000000000000ull : 1;
        const std::uint64_t high = c >= 1000000000000000000ull ? 9999999999999999999ull : 999999999999999999ull;
        numbers.push_back(low + random.generate64() % (high - low));
    }
    return numbers;
}

struct Figures {
    double load = 0;
    double find = 0;
};

Figures measure(const Document &document)
{
    std::optional<Archive> loaded;
    const double load = medianMs(
        kRuns, [&] { loaded.reset(); }, [&] { loaded = Archive::fromJson(std::string_view(document.text)); });
    if (loaded->copies.size() != qsizetype(document.links.size()))
        qFatal("the document of copies reads as %lld copies", qlonglong(loaded->copies.size()));
    const CopyTable &table = loaded->copies;
    const double find = medianMs(kRuns, [&] {
        std::size_t found = 0;
        for (const PostLink &link : document.links)
            found += table.find(link) != nullptr;
        if (found != document.links.size())
            qFatal("a copy of the table was not found");
        keep(found);
    });
    return {load, find};
}

void runCrowdedCopies(Report &report)
{
    const std::vector<std::uint64_t> crowded = fixtures::statusesCrowdingSlots(kCopies, 18, 1024);
    const Document crowdedDocument = documentOf(crowded);
    const Document randomDocument = documentOf(randomNumbersLike(crowded));
    const Figures random = measure(randomDocument);
    const Figures attack = measure(crowdedDocument);
    report.add(QStringLiteral("copies_document_crowded_100k"), double(crowdedDocument.text.size()) / (1024.0 * 1024.0),
               QStringLiteral("MiB"));
    report.add(QStringLiteral("copies_load_random_100k"), random.load, QStringLiteral("ms"));
    report.add(QStringLiteral("copies_load_crowded_100k"), attack.load, QStringLiteral("ms"));
    report.target(QStringLiteral("copies_load_crowded_over_random_100k"), attack.load / random.load, QStringLiteral("x"),
                  attack.load <= 2 * random.load);
    report.add(QStringLiteral("copies_find_random_100k"), random.find, QStringLiteral("ms"));
    report.add(QStringLiteral("copies_find_crowded_100k"), attack.find, QStringLiteral("ms"));
    report.target(QStringLiteral("copies_find_crowded_over_random_100k"), attack.find / random.find, QStringLiteral("x"),
                  attack.find <= 2 * random.find);
}

const Registration crowdedCopiesSuite(16, "core.crowded-copies", &runCrowdedCopies);

}  // namespace

}  // namespace sw::bench
