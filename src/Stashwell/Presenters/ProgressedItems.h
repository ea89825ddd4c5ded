#pragma once

// A download's progress changes one value of the library window: the local copy of the saves
// being downloaded, which stays a download under way and only counts more bytes. No filter
// selects a save differently for it, no count, no section and no order changes, so the window
// brings up to date only the items of those saves instead of projecting the library again.
//
// progressedLinks() tells, from two copy tables, whether that is all that changed between them;
// renew() then replaces the items of those saves in a list already made.

#include "Capture/PostLink.h"
#include "Offline/CopyTable.h"
#include "Shelf/Shelf.h"
#include "Shelf/ShelfItem.h"

#include <QList>

#include <optional>

namespace sw::app {

struct ProgressedItems {
    // The most saves a step renews one by one; more than that and the whole projection is
    // made again (a bulk download advances one save at a time).
    static constexpr qsizetype mostLinks = 16;

    // The links whose copies changed from `before` to `after`, when every change is a download
    // under way that is still under way (in the same place of the table); none when anything
    // else changed (a copy began, ended, failed, came or went) or more than mostLinks did.
    static std::optional<QList<PostLink>> progressedLinks(const CopyTable &before, const CopyTable &after);

    // Replaces in `items` the item of every save whose post has one of `links` by its item in
    // `shelf`; the list is copied only when one is replaced. Whether any was.
    static bool renew(QList<ShelfItem> &items, const Shelf &shelf, const QList<PostLink> &links);
    static bool renew(std::optional<ShelfItem> &item, const Shelf &shelf, const QList<PostLink> &links);
    // Whether the item's post has one of `links`.
    static bool touches(const ShelfItem &item, const QList<PostLink> &links);
};

}  // namespace sw::app
