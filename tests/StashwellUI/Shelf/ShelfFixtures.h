#pragma once

// Saves, shelf items and collections for the shelf's tests, and a collection whose callbacks
// record what they were called with.

#include "CaptureFixtures.h"
#include "Library/Library.h"
#include "Offline/CopyTable.h"
#include "Offline/LocalMedia.h"
#include "Shelf/Shelf.h"
#include "StashwellUI/Shelf/ShelfCollection.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace sw::shelftest {

using fixtures::url;

inline Attachment image(int n = 0)
{
    return Attachment::Image{url(QStringLiteral("https://pbs.example.com/%1.jpg").arg(n)), 2048};
}

inline Attachment video() { return Attachment::Video{url(QStringLiteral("https://video.example.com/v.mp4")), Duration::fromSeconds(42), 4096, std::nullopt}; }

inline Post post(int n, std::vector<Attachment> attachments = {}, bool web = false)
{
    Post p;
    p.link = web ? fixtures::webLink(QStringLiteral("https://news.example.com/story-%1").arg(n))
                 : fixtures::xLink(QStringLiteral("Writer%1").arg(n), QString::number(1000 + n));
    p.author = Author{QStringLiteral("Writer %1").arg(n), Handle{QStringLiteral("writer%1").arg(n)}, std::nullopt};
    p.text = QStringLiteral("Post number %1 with a few words of text").arg(n);
    p.postedAt = Date{700000000};
    p.attachments = std::move(attachments);
    return p;
}

struct SaveSpec {
    int n = 1;
    std::vector<Attachment> attachments = {image()};
    bool web = false;
    bool favourite = false;
    bool trashed = false;
    std::optional<Collection::ID> collection = std::nullopt;
};

inline Save::ID saveID(int n) { return Save::ID(fixtures::fixedUuid(n)); }

inline Save save(const SaveSpec &spec)
{
    return Save(saveID(spec.n), post(spec.n, spec.attachments, spec.web), Date{double(700000000 - spec.n)}, spec.favourite,
                spec.collection, {}, QString(), spec.trashed ? std::optional<Date>(Date{700000500}) : std::nullopt);
}

inline LocalMedia media(const CopyTable &copies)
{
    LocalMedia m(MediaFolder(url(QStringLiteral("file:///tmp/stashwell-media/"))), DiskBudget{std::int64_t(1) << 40});
    m.setCopies(copies);
    return m;
}

// The item of one save with that local copy, as a shelf makes it.
inline ShelfItem item(const Save &save, const LocalCopy &copy = LocalCopy::linkOnly())
{
    CopyTable table;
    if (!copy.isLinkOnly())
        table.insert(save.post().link, copy);
    const Shelf shelf(Library({save}, {}), media(table), std::nullopt, Date{700000000}, Quality::original);
    return shelf.item(save);
}

inline ShelfItem item(const SaveSpec &spec, const LocalCopy &copy = LocalCopy::linkOnly())
{
    return item(save(spec), copy);
}

// `count` items; every `textEvery`-th one a text post (a shorter card), the rest with a picture.
inline QList<ShelfItem> items(int count, int textEvery = 3, int first = 1)
{
    QList<Save> saves;
    for (int i = 0; i < count; ++i) {
        SaveSpec spec;
        spec.n = first + i;
        if (textEvery > 0 && i % textEvery == textEvery - 1)
            spec.attachments.clear();
        saves.append(save(spec));
    }
    const Shelf shelf(Library(saves, {}), media(CopyTable()), std::nullopt, Date{700000000}, Quality::original);
    return shelf.items(Filter::all());
}

inline Collection collection(int n, const QString &name)
{
    return Collection{Collection::ID(fixtures::fixedUuid(9000 + n)), name, Swatch::blue};
}

// What a collection's callbacks were called with, in order.
struct Calls {
    QStringList log;   // "<case> <n>": "select 6", "action 6", "copyLink 5", ...
    QList<SaveIntent> intents;
};

// The save's number in the fixtures (the last group of its id).
inline int number(const Save::ID &id) { return id.text().right(12).toInt(); }

inline ShelfCollection recording(QList<ShelfItem> shown, ShelfLayout layout, Calls &calls, qsizetype columns = 4)
{
    ShelfCollection c;
    c.items = std::move(shown);
    c.layout = layout;
    c.columns = columns;
    c.now = Date{700000000};
    c.onIntent = [&calls](const ShelfItem &item, const SaveIntent &intent) {
        calls.log.append(QStringLiteral("%1 %2").arg(QString::fromLatin1(intent.caseName())).arg(number(item.save().id())));
        calls.intents.append(intent);
    };
    return c;
}

}  // namespace sw::shelftest
