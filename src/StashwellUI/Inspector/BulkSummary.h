#pragma once

// What the bulk panel says about the chosen saves, worked out from their shelf items in one pass:
// how many there are, how many can be downloaded and how much that is, how many of each kind,
// how many of those with media are on this computer, and whether all of them are in the trash.
// A plain value; the panel is drawn from it.

#include "Shelf/ShelfItem.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace sw {

struct BulkSummary {
    std::int64_t count = 0;
    std::int64_t downloads = 0;        // items whose main action is a download
    std::int64_t downloadBytes = 0;    // the sum of those downloads' bytes (saturating)
    std::int64_t videos = 0;           // posts of the kind video
    std::int64_t images = 0;           // posts of the kind images
    std::int64_t textsAndPages = 0;    // posts of the kind text or page, together
    std::int64_t onThisComputer = 0;   // copies holding at least one byte here
    std::int64_t withMedia = 0;        // posts with at least one attachment
    bool allTrashed = true;            // true for no items at all

    static BulkSummary of(const QList<ShelfItem> &items);

    // "2 · 1 · 3": videos, picture posts, text and page posts.
    QString kindsText() const;
    // "bulk.onThisComputerCount" with the two counts.
    QString onThisComputerText() const;
    // "bulk.download" with the count and the size; only shown when there is at least one.
    QString downloadTitle() const;
    bool offersDownload() const { return downloads >= 1; }
    // "bulk.restore" when every item is in the trash, otherwise "bulk.trash", with the count.
    QString trashOrRestoreTitle() const;

    friend bool operator==(const BulkSummary &, const BulkSummary &) = default;
};

}  // namespace sw
