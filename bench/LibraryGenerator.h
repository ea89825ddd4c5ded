#pragma once

// Realistic libraries for the benchmarks, made from a seed so that every run measures the same
// documents: X and web posts with a few hundred characters of text (some of it accented or in
// Japanese), 0 to 4 attachments (images, videos with renditions, pages), tags, notes, 20
// collections, favourites, saves in the trash, and local copies for about half of the saves.

#include "StashKit/Archive.h"
#include "Capture/Date.h"

#include <cstdint>
#include <string>

namespace sw::bench {

struct LibraryShape {
    int saves = 10000;
    // How many of the saves are in the trash; -1 for the usual share (2 %).
    int trashed = -1;
    int collections = 20;
    std::uint32_t seed = 20240611;
    // The newest save is saved a little before this; the others go back about a day each per
    // hundred saves, so that a handful fall in the recent week.
    Date now = Date{760000000};
};

// The library and its local copies. Downloads under way are among the copies, as a document
// written in the middle of a download holds them.
Archive generateArchive(const LibraryShape &shape);
// The same archive as the document the core writes.
std::string generateDocument(const LibraryShape &shape);

}  // namespace sw::bench
