#pragma once

// Saves and shelf items for the view tests: links, posts with media, saves at a time, and the
// shelf item of a save with a chosen local copy, cover and pictures. Built on the shared builders
// (tests/support), with the defaults these views are drawn with.

#include "CaptureFixtures.h"
#include "LibraryFixtures.h"
#include "ShelfFixtures.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace sw::viewfixtures {

using fixtures::saveID;
using fixtures::url;
using fixtures::webLink;
using fixtures::xLink;

inline Attachment image(std::int64_t bytes = 1000) { return Attachment::Image{url(QStringLiteral("https://pbs.example.com/a.jpg")), bytes}; }
inline Attachment page(std::int64_t bytes = 1000) { return Attachment::Page{url(QStringLiteral("https://news.example.com/p")), bytes}; }
inline Attachment video(double seconds, std::int64_t bytes = 1000)
{
    return Attachment::Video{url(QStringLiteral("https://video.example.com/v.mp4")), Duration::fromSeconds(seconds), bytes,
                             std::nullopt};
}

inline Post post(PostLink link, std::vector<Attachment> attachments = {}, const QString &text = QStringLiteral("text"),
                 const QString &name = QStringLiteral("Ann Lee"))
{
    return fixtures::makePost(std::move(link), {.attachments = std::move(attachments),
                                                .text = text,
                                                .authorName = name,
                                                .webHandle = QStringLiteral("news.example.com")});
}

inline Save save(int id, Post post, double savedAt = 0, bool favourite = false, std::optional<double> trashedAt = std::nullopt)
{
    return fixtures::makeSave(fixtures::SaveSpec(id, std::move(post), savedAt).favourite(favourite).trashed(trashedAt));
}

// The shelf item of one save with that local copy; its cover and pictures as a shelf makes them
// unless given.
inline ShelfItem item(const Save &save, const LocalCopy &copy = LocalCopy::linkOnly(), Quality quality = Quality::original)
{
    return fixtures::shelfItem(save, copy, {.library = Library({save}, {}), .quality = quality});
}

}  // namespace sw::viewfixtures
