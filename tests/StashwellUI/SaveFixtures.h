#pragma once

// Saves and shelf items for the view tests: links, posts with media, saves at a time, and the
// shelf item of a save with a chosen local copy, cover and pictures.

#include "CaptureFixtures.h"
#include "Offline/CopyTable.h"
#include "Library/Library.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalMedia.h"
#include "Capture/Post.h"
#include "Library/Save.h"
#include "StashKit/Shelf.h"
#include "StashKit/ShelfItem.h"

#include <optional>
#include <vector>

namespace sw::viewfixtures {

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
    Post p;
    p.author = Author{name, link.asX() ? link.asX()->handle : Handle{QStringLiteral("news.example.com")}, std::nullopt};
    p.link = std::move(link);
    p.text = text;
    p.postedAt = Date{700000000};
    p.attachments = std::move(attachments);
    return p;
}

inline Save::ID saveID(int n)
{
    return Save::ID(fixtures::fixedUuid(n));
}

inline Save save(int id, Post post, double savedAt = 0, bool favourite = false, std::optional<double> trashedAt = std::nullopt)
{
    return Save(saveID(id), std::move(post), Date{savedAt}, favourite, std::nullopt, {}, QString(),
                trashedAt ? std::optional<Date>(Date{*trashedAt}) : std::nullopt);
}

// The shelf item of one save with that local copy; its cover and pictures as a shelf makes them
// unless given.
inline ShelfItem item(const Save &save, const LocalCopy &copy = LocalCopy::linkOnly(), Quality quality = Quality::original)
{
    CopyTable table;
    if (!copy.isLinkOnly())
        table.insert(save.post().link, copy);
    LocalMedia media(MediaFolder(url(QStringLiteral("file:///media/Stashwell"))), DiskBudget{5368709120});
    media.setCopies(table);
    const Shelf shelf(Library({save}, {}), media, std::nullopt, Date{0}, quality);
    return shelf.item(save);
}

}  // namespace sw::viewfixtures
