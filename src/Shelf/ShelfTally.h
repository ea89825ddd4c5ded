#pragma once

// The count of every filter over one list of saves and one table of local copies, kept as
// numbers so that after a change only the saves the change touched are looked at again.
//
// A tally counts each save once when it is first made. The tally of the next library and table
// is then made from it: the two lists of saves are compared by identity (saves are shared
// values, so an unchanged save is the very same shared save and costs one pointer comparison),
// each save that went is taken out of the numbers and each save that came is put in; the two
// tables are compared entry by entry, and the saves whose copy changed case are counted again.
// Either way the numbers are those a full count would give.
//
// What it keeps: the live saves, the trashed ones (and where they stand in the list), the live
// favourites, the live saves of each collection, kind, source and author handle, the live saves
// whose media are here and those whose media are missing (with those media's bytes), the saved
// dates of the live saves (sorted, so that the recent ones are counted for any moment), and the
// three authors of X saves with the most live saves.

#include "Capture/Date.h"
#include "Capture/Post.h"
#include "Library/Collection.h"
#include "Library/Save.h"
#include "Library/SaveList.h"
#include "Offline/CopyTable.h"
#include "Shelf/Filter.h"

#include <QHash>
#include <QList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sw {

class ShelfTally {
public:
    // How many authors the tally ranks.
    static constexpr qsizetype authorsRanked = 3;

    // Counts every save.
    ShelfTally(SaveList saves, CopyTable copies, Quality quality);
    // The same, showing each save in the walk to `each`, with its place in the list and its
    // copy's case: whether its media are here, and whether they are missing (both false for a
    // trashed save), for a caller that reads something more of every save without another walk.
    using Visit = std::function<void(qsizetype at, const Save &save, bool here, bool missing)>;
    ShelfTally(SaveList saves, CopyTable copies, Quality quality, const Visit &each);

    // The tally of the next saves and copies, from this one's numbers: the saves that differ
    // from this tally's are taken out and put in again, and so are the saves whose copy changed
    // case. Another quality counts everything again.
    ShelfTally following(SaveList saves, CopyTable copies, Quality quality) const;

    const SaveList &saves() const { return m_saves; }
    const CopyTable &copies() const { return m_copies; }
    Quality quality() const { return m_quality; }

    // How many saves the filter selects at `now` (only the recently added filter asks the time).
    qsizetype count(const Filter &filter, Date now) const;
    // The live saves at most Library::recentWindow seconds old at `now` (later dates count).
    qsizetype recent(Date now) const;
    // The bytes of the missing media at the tally's quality, saturated to the 64-bit range as a
    // running sum in library order would be; none when a post with a negative size makes that
    // sum depend on the order (the caller then walks the saves).
    std::optional<std::int64_t> missingBytes() const;
    // The positions of the trashed saves in the list, ascending.
    const std::vector<qsizetype> &trashedPositions() const { return m_trashedAt; }
    // What Library::topAuthors(authorsRanked) gives for these saves.
    const QList<Author> &topAuthors() const { return m_topAuthors; }

    // Each tally has a number of its own; a tally made by following() knows the number of the
    // one it followed (0 for a tally that counted everything).
    std::uint64_t serial() const { return m_serial; }
    std::uint64_t followed() const { return m_followed; }
    // The positions, ascending, of the saves that are not the followed tally's saves at the same
    // place (copies aside); none when the list changed its length (or the quality changed): then
    // every place may hold another save.
    const std::optional<std::vector<qsizetype>> &changed() const { return m_changed; }

    // The numbers, for a comparison with a full count (the lists the tally compares by are left out).
    friend bool operator==(const ShelfTally &a, const ShelfTally &b);

private:
    ShelfTally() = default;
    // Whether a live save's copy is here, and whether its media are missing.
    struct CopyCase {
        bool here = false;
        bool missing = false;
        friend bool operator==(const CopyCase &, const CopyCase &) = default;
    };
    static CopyCase copyCase(const Save &save, const CopyTable &copies, bool fresh);
    // Adds (sign 1) or takes away (sign -1) the save's part in every number but the positions;
    // its date too, in its place, unless told not to.
    void tally(const Save &save, CopyCase copy, int sign, bool placeDate = true);
    void tallyCopy(const Save &save, CopyCase copy, int sign);
    void rankAuthors();

    SaveList m_saves;
    CopyTable m_copies;
    Quality m_quality = Quality::original;

    qsizetype m_live = 0;
    qsizetype m_trashed = 0;
    qsizetype m_favourites = 0;
    qsizetype m_here = 0;
    qsizetype m_missing = 0;
    __int128 m_missingBytes = 0;
    qsizetype m_negativeSizes = 0;   // missing saves whose posts' sizes are negative
    std::array<qsizetype, Kind::allCases().size()> m_kinds{};
    std::array<qsizetype, Source::allCases().size()> m_sources{};
    QHash<Collection::ID, qsizetype> m_collections;   // live saves filed under each id
    std::vector<qsizetype> m_authors;                 // live saves by handle identity
    std::vector<Date> m_dates;                        // live saves' dates, newest first (NaN left out)
    std::vector<qsizetype> m_trashedAt;
    QList<Author> m_topAuthors;
    std::uint64_t m_serial = 0;
    std::uint64_t m_followed = 0;
    std::optional<std::vector<qsizetype>> m_changed;
};

}  // namespace sw
