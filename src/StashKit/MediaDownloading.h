#pragma once

// The service through which the Curator fetches one remote file into a folder of its own.

#include "Capture/Post.h"
#include "StashKit/TransferStream.h"
#include "Capture/Url.h"

#include <cstdint>
#include <limits>

namespace sw {

class MediaDownloading {
public:
    virtual ~MediaDownloading() = default;

    // Starts fetching the attachment's remote file (Attachment::remote(): a video already taken at
    // a quality gives its rendition's address) to the destination, a file URL. The stream gives
    // progress events, then one done, and ends; or it fails at any point. The destination is
    // written only once the whole file has arrived; a failure leaves nothing there. Letting go of
    // the stream stops the download. A file that announces or reaches more than `most` bytes
    // fails with tooLarge before more than `most` bytes of it are written.
    virtual TransferStream download(const Attachment &attachment, const Url &destination, std::int64_t most) = 0;

    // A `most` that lets a file be of any size.
    static constexpr std::int64_t kAnySize = std::numeric_limits<std::int64_t>::max();
};

}  // namespace sw
