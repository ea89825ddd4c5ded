#pragma once

// Thumbnails for the media thumbnail's tests: a save's thumbnail with pages of pictures.

#include "PresentationFixtures.h"
#include "StashwellUI/Saves/MediaThumbnail.h"

#include <utility>
#include <vector>

namespace sw::fixtures {

// A save with `count` pictures, its post holding `attachments`.
inline MediaThumbnail pagedThumbnail(int count, std::vector<Attachment> attachments, double height = 150, int n = 1,
                              const LocalCopy &copy = LocalCopy::linkOnly())
{
    ShelfItem shelfItem = item(save(post(xLink(QStringLiteral("a"), QString::number(n)), std::move(attachments)), n), copy);
    shelfItem.setPictures(pictures(count));
    return MediaThumbnail(shelfItem, height, false, false, true, true);
}

inline std::vector<Attachment> images(int count)
{
    std::vector<Attachment> result;
    for (int i = 0; i < count; ++i)
        result.push_back(image(i));
    return result;
}

}  // namespace sw::fixtures
