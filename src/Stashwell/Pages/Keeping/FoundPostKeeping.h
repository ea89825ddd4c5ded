#pragma once

// Keeping a post that a page has found. The Curator's keep returns only once the cover and the
// media download have ended, which for a video can take minutes; a page cannot keep its sheet or
// its popup waiting that long, nor tell "downloading" from a copy that has already arrived. So the
// page waits for the earlier of two moments: keeping has ended, or the download that keeping
// started is under way. The keep itself runs on to its end either way.

#include "Capture/Post.h"
#include "Library/Collection.h"
#include "Library/Save.h"

#include <QCoro/QCoroTask>

#include <optional>

namespace sw {
class Curator;
}

namespace sw::app {

struct KeptPost {
    // The save that holds the post: new, taken back from the trash, or the one that held it already.
    Save::ID id;
    // Whether this keep started the media download (seen under way; it may have ended by now).
    bool downloading = false;
    friend bool operator==(const KeptPost &, const KeptPost &) = default;
};

// Resumes a turn of the event loop after the moment above, never inside the Curator's own work.
// The Curator must live until the keep has put the post into the library, which it does before
// this returns the task.
QCoro::Task<KeptPost> keepFound(Curator &curator, Post post, std::optional<Collection::ID> in);

}  // namespace sw::app
