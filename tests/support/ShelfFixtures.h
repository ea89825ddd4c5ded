#pragma once

// Local copies, the media folder that holds them, and the shelf item a save becomes, for the core
// and view tests.

#include "CaptureFixtures.h"
#include "Library/Library.h"
#include "Library/Save.h"
#include "Offline/CopyTable.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "Shelf/Shelf.h"
#include "Shelf/ShelfItem.h"

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

namespace sw::fixtures {

inline CopyTable copies(std::initializer_list<std::pair<PostLink, LocalCopy>> entries)
{
    CopyTable table;
    for (const auto &[link, copy] : entries)
        table.insert(link, copy);
    return table;
}

// The media folder at `root` with that budget, holding those copies.
inline LocalMedia media(const CopyTable &table, const QString &root = QStringLiteral("file:///media/Stashwell"),
                        std::int64_t budget = 5368709120)
{
    LocalMedia m(MediaFolder(url(root)), DiskBudget{budget});
    m.setCopies(table);
    return m;
}

// The shelf around one item: the library, the media folder and the moment it is built at.
struct ShelfSpec {
    Library library = Library{};
    QString mediaRoot = QStringLiteral("file:///media/Stashwell");
    std::int64_t budget = 5368709120;
    Date now = Date{0};
    Quality quality = Quality::original;
};

// The item a shelf makes of `save` with that local copy (pictures and cover as the shelf works
// them out; tests that need others set them).
inline ShelfItem shelfItem(const Save &save, const LocalCopy &copy, const ShelfSpec &spec = {})
{
    CopyTable table;
    if (!copy.isLinkOnly())
        table.insert(save.post().link, copy);
    const Shelf shelf(spec.library, media(table, spec.mediaRoot, spec.budget), std::nullopt, spec.now, spec.quality);
    return shelf.item(save);
}

}  // namespace sw::fixtures
