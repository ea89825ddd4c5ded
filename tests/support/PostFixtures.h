#pragma once

// Attachments of a given size and the posts that carry them, for the model and core tests; the
// addresses only need to differ where a test says so.

#include "CaptureFixtures.h"
#include "Capture/Duration.h"
#include "Capture/Post.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace sw::fixtures {

inline Attachment image(std::int64_t bytes, const QString &address = QStringLiteral("https://pbs.example.com/a.jpg"))
{
    return Attachment::Image{url(address), bytes};
}

inline Attachment page(std::int64_t bytes, const QString &address = QStringLiteral("https://news.example.com/p"))
{
    return Attachment::Page{url(address), bytes};
}

inline Attachment video(std::int64_t bytes, std::optional<std::vector<Rendition>> renditions = std::nullopt,
                        const QString &address = QStringLiteral("https://video.example.com/v.mp4"))
{
    return Attachment::Video{url(address), Duration::fromSeconds(30), bytes, std::move(renditions)};
}

// A post of `link` by "Someone", with those attachments (and preview picture).
inline Post post(PostLink link, std::vector<Attachment> attachments = {}, std::optional<QString> preview = std::nullopt,
                 const QString &text = QStringLiteral("text"))
{
    return makePost(std::move(link), {.attachments = std::move(attachments), .text = text, .preview = std::move(preview)});
}

}  // namespace sw::fixtures
