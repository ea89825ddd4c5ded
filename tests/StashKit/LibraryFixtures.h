#pragma once

// Builders of links, posts, saves, copies and archives for the archive, covers and shelf tests.

#include "StashKit/Archive.h"
#include "Offline/CopyTable.h"
#include "Library/Library.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalMedia.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Library/Save.h"
#include "Capture/Url.h"

#include <QList>
#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "AttachmentFixtures.h"

namespace sw::fixtures {

inline Post post(PostLink link, std::vector<Attachment> attachments = {},
                 std::optional<QString> preview = std::nullopt, const QString &text = QStringLiteral("text"))
{
    Post p;
    p.author = Author{QStringLiteral("Someone"),
                      link.asX() ? link.asX()->handle : Handle{QStringLiteral("web")}, std::nullopt};
    p.link = std::move(link);
    p.text = text;
    p.postedAt = Date{700000000};
    p.attachments = std::move(attachments);
    if (preview)
        p.preview = url(*preview);
    return p;
}

// A stable identity for test number n, so that expectations can name saves.
inline Save::ID saveID(int n)
{
    return Save::ID(fixedUuid(n));
}

// A save to build: the id's test number, the post and the saved time, then what else is set.
struct SaveSpec {
    int id = 0;
    Post post;
    double savedAt = 0;
    bool isFavourite = false;
    std::optional<Collection::ID> collection;
    std::optional<double> trashedAt;
    QString note;
    QList<Tag> tags;

    SaveSpec(int id, Post post, double savedAt = 0) : id(id), post(std::move(post)), savedAt(savedAt) {}
    SaveSpec &favourite() { isFavourite = true; return *this; }
    SaveSpec &filed(const Collection::ID &in) { collection = in; return *this; }
    SaveSpec &trashed(double at) { trashedAt = at; return *this; }
    SaveSpec &noted(const QString &text) { note = text; return *this; }
    SaveSpec &tagged(QList<Tag> list) { tags = std::move(list); return *this; }
};

inline Save makeSave(const SaveSpec &s)
{
    return Save(saveID(s.id), s.post, Date{s.savedAt}, s.isFavourite, s.collection, s.tags, s.note,
                s.trashedAt ? std::optional<Date>(Date{*s.trashedAt}) : std::nullopt);
}

inline Save makeSave(int id, Post post, double savedAt = 0)
{
    return makeSave(SaveSpec(id, std::move(post), savedAt));
}

// The ids of a list of saves or items, as their test numbers' UUID texts.
template <typename List, typename SaveOf>
QStringList idsOf(const List &list, SaveOf saveOf)
{
    QStringList out;
    for (const auto &element : list)
        out.append(saveOf(element).id().text());
    return out;
}

inline QStringList ids(std::initializer_list<int> numbers)
{
    QStringList out;
    for (int n : numbers)
        out.append(saveID(n).text());
    return out;
}

inline CopyTable copies(std::initializer_list<std::pair<PostLink, LocalCopy>> entries)
{
    CopyTable table;
    for (const auto &[link, copy] : entries)
        table.insert(link, copy);
    return table;
}

inline LocalMedia media(const CopyTable &table, const QString &root = QStringLiteral("file:///media/Stashwell"))
{
    LocalMedia m(MediaFolder(url(root)), DiskBudget{5368709120});
    m.setCopies(table);
    return m;
}

}  // namespace sw::fixtures
