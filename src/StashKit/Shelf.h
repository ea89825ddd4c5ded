#pragma once

// The library projected for display: the saves a filter selects, narrowed by a search text and
// made into items; the count of each filter; the home sections; and the media still missing.
//
// A shelf is a snapshot of its five inputs and changes nothing. It keeps no cache: every member
// walks the library again. The walk itself is cheap: saves, copies and covers are shared, not
// copied; the local copy of a save is found by the key the save keeps (and, while the copy table
// is unchanged, from where the table last found it), and an item points at it; a search looks
// for each word once in the shared index of the library's words and tests each save's entry in
// it; the sidebar's counts are taken in one walk; and an item works out its cover and pictures
// only when they are read, so listing a hundred thousand saves does not make them.

#include "StashKit/Covers.h"
#include "Capture/Date.h"
#include "StashKit/Filter.h"
#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Capture/Post.h"
#include "StashKit/ShelfItem.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace sw {

// The sections of the home view. Every live save stands in exactly one of them.
class Home {
public:
    // How many recent saves besides the latest one the home shows.
    static constexpr int recentShown = 4;

    // The newest live save, whatever its age.
    const std::optional<ShelfItem> &latest() const { return m_latest; }
    // At most recentShown other live saves of the last 7 days, in library order.
    const QList<ShelfItem> &recentlyAdded() const { return m_recentlyAdded; }
    // Every other live save, in library order.
    const QList<ShelfItem> &rest() const { return m_rest; }

    friend bool operator==(const Home &, const Home &) = default;

private:
    friend class Shelf;
    Home() = default;
    std::optional<ShelfItem> m_latest;
    QList<ShelfItem> m_recentlyAdded;
    QList<ShelfItem> m_rest;
};
std::size_t qHash(const Home &home, std::size_t seed = 0) noexcept;

class Shelf {
public:
    // A shelf without covers shows each post's remote preview as its cover.
    Shelf(Library library, LocalMedia localMedia, std::optional<Covers> covers, Date now, Quality quality);

    const Library &library() const { return m_library; }
    const LocalMedia &localMedia() const { return m_localMedia; }
    Date now() const { return m_now; }
    Quality quality() const { return m_quality; }
    const std::optional<Covers> &covers() const { return m_context->covers; }

    // The saves of the filter that match the search text, as items, in library order.
    QList<ShelfItem> items(const Filter &filter, const QString &search = QString()) const;
    // How many saves the filter selects; no search applies and no item is built.
    qsizetype count(const Filter &filter) const;
    // Whether the filter selects the save (no search applies); no walk, no item.
    bool selects(const Filter &filter, const Save &save) const;
    // The count of each filter, in one walk over the saves (what the sidebar shows).
    QList<qsizetype> counts(const QList<Filter> &filters) const;
    // The same, showing every save (trashed ones too) to `eachSave` in library order in the same
    // walk, for a caller that tallies something more without walking the saves again.
    QList<qsizetype> counts(const QList<Filter> &filters, const std::function<void(const Save &)> &eachSave) const;
    // The item of the first save, trashed or not, whose post has that link.
    std::optional<ShelfItem> item(const PostLink &link) const;
    // The item of one save.
    ShelfItem item(const Save &save) const;
    Home home() const;
    // The items of the filter linkOnly with no search: live saves whose media are neither here
    // nor under way.
    QList<ShelfItem> missing() const;
    // The bytes still to download for all of missing(), at the shelf's quality (saturating).
    std::int64_t missingBytes() const;

private:
    class CopyOf;
    class Selector;
    ShelfItem item(const Save &save, const LocalCopy *copy) const;
    template <typename Visit>
    void forEachSelected(const Filter &filter, Visit &&visit) const;
    CopyTable::Found lookUp(const Save &save) const;

    Library m_library;
    LocalMedia m_localMedia;
    Date m_now;
    Quality m_quality;
    std::shared_ptr<const ShelfItem::Context> m_context;   // the covers and the media folder
};

}  // namespace sw
