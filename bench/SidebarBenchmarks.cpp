// The library sidebar's content on a generated library of 100,000 saves and 50 collections, which
// the library page computes once per change of the library:
//
//   sidebar_content_100k   SidebarContent from the shelf (the counts of the fixed filters, of each
//                          collection and of the top authors, the top authors, the storage
//                          figures), after an edit, from a shelf that follows the one before it,
//                          against
//   walk_100k              one plain walk over the same saves that counts the live ones.
//                          Target: under 5 ms.
//   sidebar_content_recount_100k  beside them, the same from a shelf that follows none (every
//                          save counted), and sidebar_content_first_100k, the first such count
//                          (every save's derived values worked out too).

#include "Bench.h"
#include "LibraryGenerator.h"

#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "StashKit/Archive.h"
#include "Shelf/Shelf.h"
#include "StashwellUI/Sidebar/SidebarContent.h"

namespace sw::bench {

namespace {

void runSidebar(Report &report)
{
    LibraryShape shape;
    shape.saves = 100000;
    shape.collections = 50;
    const Archive archive = generateArchive(shape);
    Library library = archive.library;
    const LocalMedia media = LocalMedia::restoring(MediaFolder(Url::fromLocalFile(QStringLiteral("/tmp/stashwell-media"))),
                                                   DiskBudget{std::int64_t(5) << 30}, archive.copies);
    const QString folder = QStringLiteral("~/Videos/Stashwell");
    if (library.collections.size() != 50)
        qFatal("the generated library holds %lld collections", qlonglong(library.collections.size()));

    // The page takes the content from a new shelf after each edit, which follows the shelf before.
    const Save::ID flipped = library.saves.at(library.saves.size() / 2).id();
    qsizetype counted = 0;
    Shelf last(library, media, std::nullopt, shape.now, Quality::original);
    const double first = medianMs(1, [&] { keep(SidebarContent(last, folder).missing); });
    // Counting everything again, as a shelf that follows none does.
    const double recount = medianMs(3, [&] {
        const Shelf fresh(library, media, std::nullopt, shape.now, Quality::original);
        keep(SidebarContent(fresh, folder).missing);
    });
    const double content = medianMs(
        9, [&] { library.favourite(flipped); },
        [&] {
            Shelf shelf(library, media, std::nullopt, shape.now, Quality::original);
            shelf.follow(last);
            const SidebarContent value(shelf, folder);
            counted = value.counts.size();
            keep(value.missing);
            last = shelf;
        });
    if (counted != 6 + 50 + 3)
        qFatal("the sidebar counted %lld filters", qlonglong(counted));

    const double walk = medianMs(9, [&] {
        qsizetype live = 0;
        for (const Save &save : library.saves)
            live += !save.isTrashed();
        keep(live);
    });

    report.add(QStringLiteral("walk_100k"), walk, QStringLiteral("ms"));
    report.target(QStringLiteral("sidebar_content_100k"), content, QStringLiteral("ms"), content < 5);
    report.add(QStringLiteral("sidebar_content_over_walk_100k"), content / walk, QStringLiteral("x"));
    report.add(QStringLiteral("sidebar_content_first_100k"), first, QStringLiteral("ms"));
    report.add(QStringLiteral("sidebar_content_recount_100k"), recount, QStringLiteral("ms"));
}

const Registration sidebarSuite(16, "ui.sidebar", &runSidebar);

}  // namespace

}  // namespace sw::bench
