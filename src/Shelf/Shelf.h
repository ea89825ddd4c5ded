#pragma once

// The library projected for display: the saves a filter selects, narrowed by a search text and
// made into items; the count of each filter; the home sections; and the media still missing.
//
// A shelf is a snapshot of its five inputs and changes nothing. What it works out is kept with it
// (and shared by its copies): the count of every filter (ShelfTally); what the filters and the
// search ask of each save, a few bytes per save in library order (its facts), so that listing a
// filter's items or a search's reads only the saves they select; and the lists of items last
// asked for, so that going back to a filter or to a shorter search shows the same list again.
// The counts and the facts are brought up to date from the previous shelf's when the shelf
// follows one. Saves, copies and covers are shared, not copied; the local copy of a save is found
// by the key the save keeps (and, while the copy table is unchanged, from where the table last
// found it), and an item points at it; a search looks for each word once in the shared index of
// the library's words and tests each save's entry in it; and an item works out its cover and
// pictures only when they are read, so listing a hundred thousand saves does not make them.

#include "Offline/Covers.h"
#include "Capture/Date.h"
#include "Shelf/Filter.h"
#include "Library/Library.h"
#include "Offline/LocalMedia.h"
#include "Capture/Post.h"
#include "Shelf/ShelfItem.h"
#include "Shelf/ShelfTally.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace sw {

class Home;

class Shelf {
public:
    // A shelf without covers shows each post's remote preview as its cover.
    Shelf(Library library, LocalMedia localMedia, std::optional<Covers> covers, Date now, Quality quality);

    const Library &library() const { return m_library; }
    const LocalMedia &localMedia() const { return m_localMedia; }
    Date now() const { return m_now; }
    Quality quality() const { return m_quality; }
    const std::optional<Covers> &covers() const { return m_context->covers; }

    // Takes the previous shelf's counts and facts (when it has worked them out) as where this
    // shelf's start: they are then brought up to date from the saves and copies that changed in
    // between rather than worked out again. Call it before anything is read from this shelf.
    void follow(const Shelf &previous);
    // The count of every filter, worked out once per shelf (and shared by its copies).
    const ShelfTally &tally() const;

    // The saves of the filter that match the search text, as items, in library order. The same
    // filter and text asked again give the same list (shared), while the shelf keeps it: the last
    // few lists are kept, as long as those besides the newest hold no more items than the library
    // has saves, times listsKeptPerSave.
    QList<ShelfItem> items(const Filter &filter, const QString &search = QString()) const;
    // How many lists the shelf keeps at most.
    static constexpr std::size_t listsKept = 8;
    // A search erased letter by letter comes back through lists of about the whole library each
    // (its first letter is in nearly every save, so is its second in many): the whole library's,
    // the first letter's and the next ones' stay at hand for the Backspace, and cost a few
    // megabytes at most (four words an item).
    static constexpr qsizetype listsKeptPerSave = 3;
    // How many saves the filter selects; no search applies and no item is built. Taken from the
    // tally when it is at hand (worked out, or following a previous one), else from a walk.
    qsizetype count(const Filter &filter) const;
    // Whether the filter selects the save (no search applies); no walk, no item.
    bool selects(const Filter &filter, const Save &save) const;
    // The count of each filter, in one walk over the saves (what the sidebar shows).
    QList<qsizetype> counts(const QList<Filter> &filters) const;
    // The same, showing every save (trashed ones too) to `eachSave` in library order in the same
    // walk, for a caller that tallies something more without walking the saves again.
    QList<qsizetype> counts(const QList<Filter> &filters, const std::function<void(const Save &)> &eachSave) const;
    // Reads every save's place in the search index into what the shelf keeps of its saves, where
    // not known yet: once the saves' words are prepared, the first search then reads none of the
    // saves (the shelves that follow this one take the places over). For an idle moment.
    void prepareSearch() const;
    // The item of the first save, trashed or not, whose post has that link.
    std::optional<ShelfItem> item(const PostLink &link) const;
    // The item of any save, which the item keeps a copy of; its copy is looked for in this shelf.
    ShelfItem item(const Save &save) const;
    Home home() const;
    // The items of the filter linkOnly with no search: live saves whose media are neither here
    // nor under way.
    QList<ShelfItem> missing() const;
    // The bytes still to download for all of missing(), at the shelf's quality (saturating).
    std::int64_t missingBytes() const;

private:
    // The tally, once worked out, and until then the previous shelf's, to follow from.
    struct Tallies {
        std::shared_ptr<const ShelfTally> tally;
        std::shared_ptr<const ShelfTally> previous;
    };
    bool hasTally() const { return m_tallies->tally || m_tallies->previous; }

    // What every filter and the search ask of each save, in library order: read in one walk over
    // the saves when items are first listed (or brought up to date from the previous shelf's,
    // reading only the saves that changed), so that listing a filter's items reads only the saves
    // it selects. The bits of the local copies, the authors' handles (whose identities cost a
    // look-up each the first time) and the collections (which lie further into a save's data) are
    // read when a filter first asks for them, unless the walk of the counts, which reads them
    // anyway, read the facts; a save's entry in the search index when a search first meets it
    // indexed.
    struct Facts {
        SaveList saves;                          // what they were read from
        std::vector<std::uint8_t> marks;         // trashed, favourite, kind, source; here, missing
        std::vector<Date> savedAt;
        std::vector<std::uint32_t> authors;      // handle identities, once read
        std::vector<std::uint32_t> collections;  // once read, 0: filed nowhere, else 1 + a place in collectionIds
        QList<Collection::ID> collectionIds;
        std::vector<std::uint32_t> entries;      // 0: not known to be indexed
        bool copiesRead = false;                 // the bits of the local copies are in
        bool authorsRead = false;                // the authors are
        bool collectionsRead = false;            // the collections are
        CopyTable copies;                        // the table they were read from
        void resize(qsizetype n);
    };
    struct FactsHeld {
        std::shared_ptr<Facts> facts;
        std::shared_ptr<Facts> previous;         // a previous shelf's, to follow from
    };
    enum class FactsFor { filters, copies, authors, collections };
    Facts &facts(FactsFor asked = FactsFor::filters) const;
    class FactReader;
    // The positions of the saves the filter selects, ascending.
    std::vector<qsizetype> selected(const Filter &filter) const;
    // selected(), the last filter's kept: each first letter of a search starts from it, and
    // walking the library and writing a new list of a hundred thousand positions costs more
    // than the search itself.
    const std::vector<qsizetype> &selection(const Filter &filter) const;
    struct Selection {
        Filter filter;
        std::vector<qsizetype> positions;
    };
    // The items of the saves at those positions.
    QList<ShelfItem> itemsAt(const std::vector<qsizetype> &positions) const;
    // Reads the search index places of the saves at those positions (ascending) that the facts
    // do not know yet, on several threads when they are many.
    void readEntries(Facts &facts, const std::vector<qsizetype> &positions) const;
    struct Listed;
    // items() without the kept lists: for a search, among the saves of `base` (a kept search of
    // the same filter that it narrows) when given, else among all the filter selects. The
    // positions of the saves a search matched go to `matched`.
    QList<ShelfItem> listItems(const Filter &filter, const QString &search, const Listed *base,
                               std::vector<qsizetype> &matched) const;

    struct Listed {
        Filter filter;
        QString search;
        QList<ShelfItem> items;
        QStringList words;                 // the search's folded words
        std::vector<qsizetype> positions;  // of a search: the saves' positions in the library
    };

    class CopyOf;
    class Selector;
    friend class Home;
    // The item of a save that lies in this shelf's library (`stored` is where its list keeps it).
    ShelfItem storedItem(const Save &stored) const;
    template <typename Visit>
    void forEachSelected(const Filter &filter, Visit &&visit) const;
    CopyTable::Found lookUp(const Save &save) const;

    Library m_library;
    LocalMedia m_localMedia;
    Date m_now;
    Quality m_quality;
    std::shared_ptr<const ShelfItem::Context> m_context;   // the covers and the media folder
    ShelfItem::Holder m_hold;                               // the items' hold on it
    std::shared_ptr<Tallies> m_tallies;                     // shared by the shelf's copies
    std::shared_ptr<FactsHeld> m_facts;                     // likewise
    std::shared_ptr<std::vector<Listed>> m_listed;          // likewise; the most recently asked first
    std::shared_ptr<std::optional<Selection>> m_selection;  // likewise
};

// The sections of the home view. Every live save stands in exactly one of them. The latest and
// the recently added saves are items; the rest, which holds nearly every save, is runs of
// positions in the shelf's library, made into items only when asked.
class Home {
public:
    // How many recent saves besides the latest one the home shows.
    static constexpr int recentShown = 4;

    // Saves by their positions in the library's list: first up to, not including, last.
    struct Run {
        qsizetype first = 0;
        qsizetype last = 0;
        friend bool operator==(const Run &, const Run &) = default;
    };

    // The newest live save, whatever its age.
    const std::optional<ShelfItem> &latest() const { return m_latest; }
    // At most recentShown other live saves of the last 7 days, in library order.
    const QList<ShelfItem> &recentlyAdded() const { return m_recentlyAdded; }
    // Every other live save, in library order, as runs over the shelf's library.
    const QList<Run> &restRuns() const { return m_rest; }
    qsizetype restCount() const { return m_restCount; }
    // The same saves as items.
    QList<ShelfItem> rest() const;
    // The same, from `items`, the rest() of an earlier home whose shelf this one's shelf
    // follows (Shelf::follow) with the same runs, copies, covers, folder and quality: only the
    // saves that changed in between are made anew. Otherwise every item is made. (An item points
    // into its shelf's table of copies: items kept across another table would keep old tables.)
    QList<ShelfItem> rest(const Home &before, const QList<ShelfItem> &items) const;

    // The same saves in the same sections.
    friend bool operator==(const Home &a, const Home &b);

private:
    friend class Shelf;
    Home() = default;
    std::optional<ShelfItem> m_latest;
    QList<ShelfItem> m_recentlyAdded;
    QList<Run> m_rest;
    qsizetype m_restCount = 0;
    std::optional<Shelf> m_shelf;   // whose library the runs count in
};
std::size_t qHash(const Home &home, std::size_t seed = 0) noexcept;

}  // namespace sw
