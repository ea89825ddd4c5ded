#include "StashwellUI/Inspector/BulkSummary.h"

#include "Offline/ByteCount.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/StashwellUIStrings.h"

namespace sw {

BulkSummary BulkSummary::of(const QList<ShelfItem> &items)
{
    BulkSummary summary;
    summary.count = items.size();
    for (const ShelfItem &item : items) {
        const Save &save = item.save();
        const Post &post = save.post();
        const Action action = item.action();
        if (const Action::Download *download = std::get_if<Action::Download>(&action.value())) {
            ++summary.downloads;
            summary.downloadBytes = bytes::add(summary.downloadBytes, download->bytes);
        }
        switch (post.kind()) {
        case Kind::video: ++summary.videos; break;
        case Kind::images: ++summary.images; break;
        case Kind::text:
        case Kind::page: ++summary.textsAndPages; break;
        }
        if (item.copy().bytesOnDisk() >= 1)
            ++summary.onThisComputer;
        if (post.hasMedia())
            ++summary.withMedia;
        if (!save.isTrashed())
            summary.allTrashed = false;
    }
    return summary;
}

QString BulkSummary::kindsText() const
{
    static const QString separator = QStringLiteral(" \u00B7 ");
    return QString::number(videos) + separator + QString::number(images) + separator + QString::number(textsAndPages);
}

QString BulkSummary::onThisComputerText() const { return StashwellUIStrings::bulkOnThisComputerCount(onThisComputer, withMedia); }

QString BulkSummary::downloadTitle() const
{
    return StashwellUIStrings::bulkDownload(downloads, Formatting::bytes(downloadBytes));
}

QString BulkSummary::trashOrRestoreTitle() const
{
    return allTrashed ? StashwellUIStrings::bulkRestore(count) : StashwellUIStrings::bulkTrash(count);
}

}  // namespace sw
