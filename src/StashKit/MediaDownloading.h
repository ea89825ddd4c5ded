#pragma once

// The service through which the Curator fetches one remote file into a folder of its own.

#include "Capture/Post.h"
#include "StashKit/TransferStream.h"
#include "Capture/Url.h"

namespace sw {

class MediaDownloading {
public:
    virtual ~MediaDownloading() = default;

    // Starts fetching the attachment's remote file (Attachment::remote(): a video already taken at
    // a quality gives its rendition's address) to the destination, a file URL. The stream gives
    // progress events, then one done, and ends; or it fails at any point. The destination is
    // written only once the whole file has arrived; a failure leaves nothing there. Letting go of
    // the stream stops the download.
    virtual TransferStream download(const Attachment &attachment, const Url &destination) = 0;
};

}  // namespace sw
