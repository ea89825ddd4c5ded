#pragma once

#include "Capture/Post.h"
#include "Capture/PostLink.h"

#include <QHashFunctions>
#include <QString>

#include <cstddef>

namespace sw {

// One planned file to fetch for a post.
struct Download {
    PostLink link;
    Attachment attachment;   // already taken at the download quality
    QString file;            // the file's name inside the media folder

    friend bool operator==(const Download &a, const Download &b);
};
std::size_t qHash(const Download &download, std::size_t seed = 0) noexcept;

}  // namespace sw
