#include "Shelf/Shelf.h"

#include "Capture/Parallel.h"
#include "Library/SearchVocabulary.h"

#include <QArrayDataPointer>
#include <QHash>

#include <algorithm>
#include <memory>
#include <numeric>
#include <array>
#include <iterator>
#include <new>
#include <ranges>
#include <type_traits>
#include <vector>

namespace sw {

namespace {
constexpr std::size_t kDownloading = localCopyCaseIndex<LocalCopy::Downloading>();
constexpr std::size_t kOnThisComputer = localCopyCaseIndex<LocalCopy::OnThisComputer>();
}  // namespace

// The local copy of a save, looked up at most once however many filters ask for it.
class Shelf::CopyOf {
public:
    CopyOf(const Shelf &shelf, const Save &save) : m_shelf(shelf), m_save(save) {}
    const CopyTable::Found &operator()()
    {
        if (!m_known) {
            m_found = m_shelf.lookUp(m_save);
            m_known = true;
        }
        return m_found;
    }

private:
    const Shelf &m_shelf;
    const Save &m_save;
    CopyTable::Found m_found;
    bool m_known = false;
};

// The test of one filter, prepared once per call so that the walk over the saves does no work
// that does not depend on the save.
class Shelf::Selector {
public:
    Selector(const Shelf &shelf, const Filter &filter) : m_shelf(shelf), m_filter(filter)
    {
        // Handles are equal when their lowercased names are: exactly when their identities are.
        if (const auto *author = std::get_if<Filter::ByAuthor>(&filter.value()))
            m_author = author->handle.identity();
    }

    bool operator()(const Save &save) const
    {
        CopyOf copy(m_shelf, save);
        return (*this)(save, copy);
    }

    bool operator()(const Save &save, CopyOf &copyOf) const
    {
        return std::visit(
            [&](const auto &c) -> bool {
                using C = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<C, Filter::Trash>) {
                    return save.isTrashed();
                } else {
                    if (save.isTrashed())
                        return false;
                    if constexpr (std::is_same_v<C, Filter::All>) {
                        return true;
                    } else if constexpr (std::is_same_v<C, Filter::RecentlyAdded>) {
                        // Inclusive, and a save dated after now counts.
                        return m_shelf.m_now.secondsSince(save.savedAt()) <= Library::recentWindow;
                    } else if constexpr (std::is_same_v<C, Filter::Favourites>) {
                        return save.isFavourite();
                    } else if constexpr (std::is_same_v<C, Filter::InCollection>) {
                        return save.collection() == c.id;
                    } else if constexpr (std::is_same_v<C, Filter::OfKind>) {
                        return save.kind() == c.kind;
                    } else if constexpr (std::is_same_v<C, Filter::FromSource>) {
                        return save.source() == c.source;
                    } else if constexpr (std::is_same_v<C, Filter::ByAuthor>) {
                        return save.authorIdentity() == m_author;
                    } else if constexpr (std::is_same_v<C, Filter::OnThisComputer>) {
                        const CopyTable::Found &found = copyOf();
                        return found.copy && found.state == kOnThisComputer;
                    } else {
                        static_assert(std::is_same_v<C, Filter::LinkOnly>);
                        // Missing media: the post has some, and its copy is absent, linkOnly or
                        // failed (neither here nor under way).
                        if (save.kind() == Kind::text)
                            return false;
                        const CopyTable::Found &found = copyOf();
                        return !found.copy || (found.state != kOnThisComputer && found.state != kDownloading);
                    }
                }
            },
            m_filter.value());
    }

private:
    const Shelf &m_shelf;
    const Filter &m_filter;
    std::uint32_t m_author = 0;   // an author filter's handle identity
};

Shelf::Shelf(Library library, LocalMedia localMedia, std::optional<Covers> covers, Date now, Quality quality)
    : m_library(std::move(library)), m_localMedia(std::move(localMedia)), m_now(now), m_quality(quality),
      m_context(std::make_shared<const ShelfItem::Context>(
          ShelfItem::Context{std::move(covers), m_localMedia.folder(), m_localMedia.copies(), m_library.saves})),
      m_hold(ShelfItem::hold(m_context)), m_tallies(std::make_shared<Tallies>()), m_facts(std::make_shared<FactsHeld>()),
      m_listed(std::make_shared<std::vector<Listed>>()), m_selection(std::make_shared<std::optional<Selection>>())
{
}

void Shelf::follow(const Shelf &previous)
{
    if (!m_facts->facts && previous.m_facts != m_facts) {
        const FactsHeld &before = *previous.m_facts;
        m_facts->previous = before.facts ? before.facts : before.previous;
    }
    if (m_tallies->tally)
        return;
    const Tallies &before = *previous.m_tallies;
    m_tallies->previous = before.tally ? before.tally : before.previous;
}

CopyTable::Found Shelf::lookUp(const Save &save) const
{
    // The save keeps its link's key and where the table found it last, so that a table unchanged
    // since is not searched again. The copy lives in the context's copy of the table, which every
    // item shares.
    return m_context->copies.lookUp(save.post().link, save.linkKey(), save.copyMemo());
}

template <typename Visit>
void Shelf::forEachSelected(const Filter &filter, Visit &&visit) const
{
    const Selector selects(*this, filter);
    forEachSave(m_library.saves, [&](const Save &save) {
        if (selects(save))
            visit(save);
    });
}

ShelfItem Shelf::item(const Save &save) const
{
    return ShelfItem::owning(save, m_quality, m_context);
}

ShelfItem Shelf::storedItem(const Save &stored) const
{
    return ShelfItem(&stored, m_quality, m_hold, SaveList::keyOf(stored.id()), stored.kind());
}

namespace {

// Asks ahead for what looking for a query in the fields of saves[i + kTexts] will read: their
// places in the save's data (at kData), then the texts they point to and the list of tags (at
// kTexts), then the tags' names (at kTags). Saves already indexed need none of it.
void prefetchSearchFields(const Save *const *saves, qsizetype i, qsizetype n)
{
    constexpr qsizetype kData = 32;
    constexpr qsizetype kTexts = 14;
    constexpr qsizetype kTags = 6;
    if (i + kData < n) {
        const Save &ahead = *saves[i + kData];
        ahead.prefetch();
        __builtin_prefetch(&ahead.post().author);
        __builtin_prefetch(&ahead.post().text);
        __builtin_prefetch(&ahead.note());
    }
    if (i + kTexts < n && !saves[i + kTexts]->isSearchIndexed()) {
        const Save &ahead = *saves[i + kTexts];
        const QString &text = ahead.post().text;
        const char *bytes = reinterpret_cast<const char *>(text.constData());
        const qsizetype length = std::min<qsizetype>(text.size() * 2, 1024);
        for (qsizetype at = 0; at < length; at += 64)
            __builtin_prefetch(bytes + at);
        __builtin_prefetch(ahead.post().author.name.constData());
        __builtin_prefetch(ahead.post().author.handle.name.constData());
        __builtin_prefetch(ahead.note().constData());
        __builtin_prefetch(ahead.tags().constData());
    }
    if (i + kTags < n && !saves[i + kTags]->tags().isEmpty() && !saves[i + kTags]->isSearchIndexed())
        for (const Tag &tag : saves[i + kTags]->tags())
            __builtin_prefetch(tag.name.constData());
}

}  // namespace

namespace {

// The bits of a save's mark.
constexpr std::uint8_t kTrashedMark = 1u << 0;
constexpr std::uint8_t kFavouriteMark = 1u << 1;
constexpr int kKindShift = 2;   // two bits
constexpr std::uint8_t kKindMark = 3u << kKindShift;
constexpr int kSourceShift = 4;   // one bit
constexpr std::uint8_t kSourceMark = 1u << kSourceShift;
constexpr std::uint8_t kHereMark = 1u << 5;      // its copy is here
constexpr std::uint8_t kMissingMark = 1u << 6;   // it has media, neither here nor under way
static_assert(Kind::allCases().size() <= 4 && Source::allCases().size() <= 2);

// A filter's test on the marks: the save is selected when its mark under `mask` is `value`.
struct MarkTest {
    std::uint8_t mask = 0;
    std::uint8_t value = 0;
    bool copies = false;   // the copies' bits are read
    bool operator()(std::uint8_t mark) const { return (mark & mask) == value; }
};

// The test of a filter that the marks answer alone; none for the others (the recently added
// filter asks the time, a collection or an author the save itself).
std::optional<MarkTest> markTest(const Filter &filter)
{
    return std::visit(
        [](const auto &c) -> std::optional<MarkTest> {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Filter::Trash>)
                return MarkTest{kTrashedMark, kTrashedMark};
            else if constexpr (std::is_same_v<C, Filter::All>)
                return MarkTest{kTrashedMark, 0};
            else if constexpr (std::is_same_v<C, Filter::Favourites>)
                return MarkTest{kTrashedMark | kFavouriteMark, kFavouriteMark};
            else if constexpr (std::is_same_v<C, Filter::OfKind>)
                return MarkTest{kTrashedMark | kKindMark, std::uint8_t(unsigned(Kind::Value(c.kind)) << kKindShift)};
            else if constexpr (std::is_same_v<C, Filter::FromSource>)
                return MarkTest{kTrashedMark | kSourceMark, std::uint8_t(unsigned(Source::Value(c.source)) << kSourceShift)};
            else if constexpr (std::is_same_v<C, Filter::OnThisComputer>)
                return MarkTest{kTrashedMark | kHereMark, kHereMark, true};
            else if constexpr (std::is_same_v<C, Filter::LinkOnly>)
                return MarkTest{kTrashedMark | kMissingMark, kMissingMark, true};
            else
                return std::nullopt;
        },
        filter.value());
}

// How many saves a thread reads at least when a long list is read on several.
constexpr std::size_t kItemsPerThread = 16384;

// The threads that share a walk over `count` saves: one per kItemsPerThread, at most four.
std::size_t threadsFor(std::size_t count)
{
    return std::clamp<std::size_t>(count / kItemsPerThread, 1, std::min<std::size_t>(4, usableCores()));
}

// The mark of a save, the bits of its copy aside.
std::uint8_t markOf(const Save &save)
{
    return std::uint8_t((save.isTrashed() ? kTrashedMark : 0) | (save.isFavourite() ? kFavouriteMark : 0)
                        | (unsigned(Kind::Value(save.kind())) << kKindShift)
                        | (unsigned(Source::Value(save.source())) << kSourceShift));
}

// The bits of a live save's copy, by the same tests as the filters' own (Selector).
std::uint8_t copyMarkOf(const Save &save, const CopyTable::Found &found)
{
    std::uint8_t mark = 0;
    if (found.copy && found.state == kOnThisComputer)
        mark |= kHereMark;
    // Missing media: the post has some, and its copy is neither here nor under way.
    if (save.kind() != Kind::text && (!found.copy || (found.state != kOnThisComputer && found.state != kDownloading)))
        mark |= kMissingMark;
    return mark;
}

// Finds the saves of a list at ascending positions, a chunk at a time.
class SaveCursor {
public:
    explicit SaveCursor(const SaveList &saves) : m_saves(saves) {}
    const Save &at(qsizetype position)
    {
        enter(position);
        return m_saves.chunk(m_chunk).constData()[position - m_start];
    }
    // The key of the id of the save there (SaveList::keyOf).
    std::uint64_t keyAt(qsizetype position)
    {
        enter(position);
        return m_saves.chunkKeys(m_chunk).at(position - m_start);
    }

private:
    void enter(qsizetype position)
    {
        while (position >= m_start + m_saves.chunk(m_chunk).size()) {
            m_start += m_saves.chunk(m_chunk).size();
            ++m_chunk;
        }
    }

    const SaveList &m_saves;
    qsizetype m_chunk = 0;
    qsizetype m_start = 0;   // the position of the chunk's first save
};

}  // namespace

// Reads the facts of saves into facts sized for the whole list, each at its place.
class Shelf::FactReader {
public:
    FactReader(const Shelf &shelf, Facts &facts) : m_shelf(shelf), m_facts(facts)
    {
        for (qsizetype i = 0; i < facts.collectionIds.size(); ++i)
            m_places.insert(facts.collectionIds.at(i), std::uint32_t(i + 1));
    }

    // The save's facts, each of those read later only while the facts hold it.
    void read(qsizetype at, const Save &save)
    {
        std::uint8_t mark = markOf(save);
        if (m_facts.copiesRead && !save.isTrashed())
            mark |= copyMarkOf(save, m_shelf.lookUp(save));
        read(at, save, mark);
    }
    // The same, the copy's case given.
    void read(qsizetype at, const Save &save, bool here, bool missing)
    {
        read(at, save, std::uint8_t(markOf(save) | (here ? kHereMark : 0) | (missing ? kMissingMark : 0)));
    }
    // The collection's place in the facts' list of them, plus 1; 0 for none. A collection met for
    // the first time is added.
    std::uint32_t placeOf(const std::optional<Collection::ID> &id)
    {
        if (!id)
            return 0;
        if (m_last && *m_last == *id)
            return m_lastPlace;
        auto found = m_places.constFind(*id);
        if (found == m_places.constEnd()) {
            m_facts.collectionIds.append(*id);
            found = m_places.insert(*id, std::uint32_t(m_facts.collectionIds.size()));
        }
        m_last = *id;
        m_lastPlace = *found;
        return m_lastPlace;
    }

private:
    void read(qsizetype at, const Save &save, std::uint8_t mark)
    {
        const std::size_t i = std::size_t(at);
        m_facts.marks[i] = mark;
        m_facts.savedAt[i] = save.savedAt();
        if (m_facts.authorsRead)
            m_facts.authors[i] = save.authorIdentity();
        if (m_facts.collectionsRead)
            m_facts.collections[i] = placeOf(save.collection());
        m_facts.entries[i] = save.searchEntry();
    }

    const Shelf &m_shelf;
    Facts &m_facts;
    QHash<Collection::ID, std::uint32_t> m_places;
    std::optional<Collection::ID> m_last;   // the last collection met, and its place
    std::uint32_t m_lastPlace = 0;
};

void Shelf::Facts::resize(qsizetype n)
{
    const auto size = std::size_t(n);
    marks.resize(size);
    savedAt.resize(size);
    authors.resize(authorsRead ? size : 0);
    collections.resize(collectionsRead ? size : 0);
    entries.resize(size);
}

Shelf::Facts &Shelf::facts(FactsFor asked) const
{
    FactsHeld &held = *m_facts;
    if (!held.facts) {
        auto made = std::make_shared<Facts>();
        Facts &facts = *made;
        const std::shared_ptr<Facts> previous = std::move(held.previous);
        held.previous.reset();
        const SaveList &saves = m_library.saves;
        const qsizetype n = saves.size();
        facts.saves = saves;
        facts.copies = m_localMedia.copies();
        // The copies' bits of the previous facts stand while the table is the same: the saves read
        // anew get theirs at once.
        facts.copiesRead = previous && previous->copiesRead && previous->copies.sharesDataWith(facts.copies);
        facts.authorsRead = previous && previous->authorsRead;
        facts.collectionsRead = previous && previous->collectionsRead;
        if (previous)
            facts.collectionIds = previous->collectionIds;
        FactReader reader(*this, facts);
        const auto read = [&reader](qsizetype at, const Save &save) { reader.read(at, save); };
        if (previous && previous->saves.size() == n) {
            // Place by place: only the saves that are not the previous ones are read.
            facts.marks = previous->marks;
            facts.savedAt = previous->savedAt;
            facts.authors = previous->authors;
            facts.collections = previous->collections;
            facts.entries = previous->entries;
            SaveList::diffPlaces(previous->saves, saves, [&](qsizetype i) { read(i, saves.at(i)); });
        } else if (previous) {
            // Saves came or went: the common head and tail are taken over, the run between them read.
            const qsizetype head = SaveList::commonHead(previous->saves, saves);
            const qsizetype tail = SaveList::commonTail(previous->saves, saves, head);
            facts.resize(n);
            const auto take = [&](auto &to, const auto &from) {
                std::copy(from.begin(), from.begin() + head, to.begin());
                std::copy(from.end() - tail, from.end(), to.end() - tail);
            };
            take(facts.marks, previous->marks);
            take(facts.savedAt, previous->savedAt);
            if (facts.authorsRead)
                take(facts.authors, previous->authors);
            if (facts.collectionsRead)
                take(facts.collections, previous->collections);
            take(facts.entries, previous->entries);
            for (auto it = saves.begin() + head, end = saves.begin() + (n - tail); it != end; ++it)
                read(it.index(), *it);
        } else {
            facts.resize(n);
            qsizetype at = 0;
            forEachSave(saves, [&](const Save &save) { read(at++, save); });
        }
        held.facts = std::move(made);
    }
    Facts &facts = *held.facts;
    if (asked == FactsFor::authors && !facts.authorsRead) {
        facts.authors.resize(facts.marks.size());
        std::uint32_t *author = facts.authors.data();
        forEachSave(m_library.saves, [&](const Save &save) { *author++ = save.authorIdentity(); });
        facts.authorsRead = true;
    }
    if (asked == FactsFor::collections && !facts.collectionsRead) {
        facts.collections.resize(facts.marks.size());
        FactReader reader(*this, facts);
        std::uint32_t *place = facts.collections.data();
        forEachSave(m_library.saves, [&](const Save &save) { *place++ = reader.placeOf(save.collection()); });
        facts.collectionsRead = true;
    }
    if (asked == FactsFor::copies && !facts.copiesRead) {
        std::uint8_t *mark = facts.marks.data();
        forEachSave(m_library.saves, [&](const Save &save) {
            *mark &= std::uint8_t(~(kHereMark | kMissingMark));
            if (!(*mark & kTrashedMark))
                *mark |= copyMarkOf(save, lookUp(save));
            ++mark;
        });
        facts.copiesRead = true;
    }
    return facts;
}

const ShelfTally &Shelf::tally() const
{
    Tallies &tallies = *m_tallies;
    if (!tallies.tally) {
        const CopyTable &copies = m_localMedia.copies();
        FactsHeld &held = *m_facts;
        if (tallies.previous) {
            tallies.tally = std::make_shared<const ShelfTally>(
                tallies.previous->following(m_library.saves, copies, m_quality));
        } else if (!held.facts && !held.previous) {
            // Counting walks every save: the facts are read in the same walk.
            auto facts = std::make_shared<Facts>();
            facts->saves = m_library.saves;
            facts->copies = copies;
            facts->copiesRead = true;
            facts->authorsRead = true;
            facts->collectionsRead = true;
            facts->resize(m_library.saves.size());
            FactReader reader(*this, *facts);
            tallies.tally = std::make_shared<const ShelfTally>(
                m_library.saves, copies, m_quality,
                [&reader](qsizetype at, const Save &save, bool here, bool missing) { reader.read(at, save, here, missing); });
            held.facts = std::move(facts);
        } else {
            tallies.tally = std::make_shared<const ShelfTally>(m_library.saves, copies, m_quality);
        }
        tallies.previous.reset();
    }
    return *tallies.tally;
}

namespace {

// Writes to `to` the places that pass, in order. Every place is written and only one that passes
// moves the end on past it: a filter or a short search word passes saves here and there, and a
// branch on each would guess wrong half the time. `to` has room for every place written: the
// places kept, and one more while a place is left after the last. Gives how many were kept.
template <typename Places, typename Passes>
std::size_t keepPassing(qsizetype *to, const Places &places, Passes &&passes)
{
    std::size_t kept = 0;
    for (const qsizetype at : places) {
        to[kept] = at;
        kept += std::size_t(passes(at));
    }
    return kept;
}

}  // namespace

std::vector<qsizetype> Shelf::selected(const Filter &filter) const
{
    std::vector<qsizetype> out;
    const auto walk = [&out](qsizetype n, auto &&passes) {
        out.resize(keepPassing(out.data(), std::views::iota(qsizetype(0), n), passes));
    };
    const auto pick = [&](const Facts &facts, auto &&test) {
        const qsizetype n = qsizetype(facts.marks.size());
        const std::uint8_t *marks = facts.marks.data();
        const auto passes = [&](qsizetype i) { return std::size_t(!(marks[i] & kTrashedMark)) & std::size_t(test(std::size_t(i))); };
        qsizetype count = 0;
        for (qsizetype i = 0; i < n; ++i)
            count += qsizetype(passes(i));
        out.resize(std::size_t(count) + 1);
        walk(n, passes);
    };
    std::visit(
        [&](const auto &c) {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Filter::RecentlyAdded>) {
                // Inclusive, and a save dated after now counts.
                const Facts &facts = this->facts();
                const Date *savedAt = facts.savedAt.data();
                pick(facts, [&](std::size_t i) { return m_now.secondsSince(savedAt[i]) <= Library::recentWindow; });
            } else if constexpr (std::is_same_v<C, Filter::InCollection>) {
                const Facts &facts = this->facts(FactsFor::collections);
                const qsizetype place = facts.collectionIds.indexOf(c.id);
                if (place < 0)
                    return;
                const std::uint32_t wanted = std::uint32_t(place + 1);
                const std::uint32_t *collections = facts.collections.data();
                pick(facts, [&](std::size_t i) { return collections[i] == wanted; });
            } else if constexpr (std::is_same_v<C, Filter::ByAuthor>) {
                // Handles are equal when their lowercased names are: exactly when their identities are.
                const Facts &facts = this->facts(FactsFor::authors);
                const std::uint32_t wanted = c.handle.identity();
                const std::uint32_t *authors = facts.authors.data();
                pick(facts, [&](std::size_t i) { return authors[i] == wanted; });
            } else {
                const MarkTest test = *markTest(filter);
                const Facts &facts = this->facts(test.copies ? FactsFor::copies : FactsFor::filters);
                const qsizetype n = qsizetype(facts.marks.size());
                const std::uint8_t *marks = facts.marks.data();
                out.resize(std::size_t(std::count_if(marks, marks + n, test)) + 1);
                walk(n, [&](qsizetype i) { return std::size_t(test(marks[i])); });
            }
        },
        filter.value());
    return out;
}

const std::vector<qsizetype> &Shelf::selection(const Filter &filter) const
{
    std::optional<Selection> &kept = *m_selection;
    if (!kept || !(kept->filter == filter))
        kept = Selection{filter, selected(filter)};
    return kept->positions;
}

QList<ShelfItem> Shelf::itemsAt(const std::vector<qsizetype> &positions) const
{
    const std::size_t n = positions.size();
    if (n == 0)
        return {};
    // A long list is made on several threads, into room for all of it: each item waits on a read
    // of its save's data, and several threads wait on several at once. The items a thread makes
    // hold the context through a holder of that thread's own that points at the same context, so
    // that the count of holders each item changes is not one that all the threads change.
    QArrayDataPointer<ShelfItem> made = ShelfItem::roomFor(qsizetype(n));
    Q_CHECK_PTR(made.data());
    ShelfItem *out = made.data();
    // An item points at its save where the list keeps it and takes the id's key from beside it
    // and the kind from the facts: no save's data is read, so a long list is made at the speed
    // of writing it.
    const std::vector<std::uint8_t> &marks = facts().marks;
    const std::size_t threads = threadsFor(n);
    inParts(n, threads, [&](std::size_t, std::size_t begin, std::size_t end) {
        const ShelfItem::Holder context = threads > 1 ? ShelfItem::hold(m_context) : m_hold;
        SaveCursor cursor(m_library.saves);
        for (std::size_t i = begin; i < end; ++i) {
            const qsizetype at = positions[i];
            const Kind kind(Kind::Value((marks[std::size_t(at)] & kKindMark) >> kKindShift));
            new (out + i) ShelfItem(&cursor.at(at), m_quality, context, cursor.keyAt(at), kind);
        }
    });
    made.size = qsizetype(n);
    return QList<ShelfItem>(std::move(made));
}

QList<ShelfItem> Shelf::items(const Filter &filter, const QString &search) const
{
    std::vector<Listed> &listed = *m_listed;
    for (auto it = listed.begin(); it != listed.end(); ++it) {
        if (it->filter == filter && it->search == search) {
            std::rotate(listed.begin(), it, std::next(it));
            return listed.front().items;
        }
    }
    // A search that only adds to the words of one kept for the same filter looks among the saves
    // that one found (every save it matches, the other matched too): the next letter typed
    // reads the saves the last one left, not the whole library.
    QStringList words = SearchQuery::foldedWords(search);
    const Listed *base = nullptr;
    if (!words.isEmpty()) {
        for (const Listed &kept : listed) {
            if (!kept.words.isEmpty() && kept.filter == filter && SearchQuery::narrows(words, kept.words)
                && (!base || kept.positions.size() < base->positions.size()))
                base = &kept;
        }
    }
    std::vector<qsizetype> positions;
    QList<ShelfItem> made = listItems(filter, search, base, positions);
    listed.insert(listed.begin(), Listed{filter, search, made, std::move(words), std::move(positions)});
    // The list just made stays; the older ones while they are few and hold no more items than
    // the library has saves, times listsKeptPerSave.
    qsizetype older = 0;
    for (std::size_t i = 1; i < listed.size(); ++i) {
        older += listed[i].items.size();
        if (i >= listsKept || older > listsKeptPerSave * m_library.saves.size()) {
            std::vector<QList<ShelfItem>> gone;
            for (std::size_t j = i; j < listed.size(); ++j)
                gone.push_back(std::move(listed[j].items));
            listed.resize(i);
            ShelfItem::letGoElsewhere(std::move(gone));
            break;
        }
    }
    return made;
}

QList<ShelfItem> Shelf::listItems(const Filter &filter, const QString &search, const Listed *base,
                                  std::vector<qsizetype> &matched) const
{
    const SearchQuery query(search);
    if (query.isEmpty())
        return itemsAt(selection(filter));
    Facts &facts = this->facts();
    const std::vector<qsizetype> &chosen = base ? base->positions : selection(filter);
    matched.clear();
    SaveCursor cursor(m_library.saves);
    if (!SearchVocabulary::shared().isBeingFilled()) {
        // Each selected save's entry in the index answers, where it is known; a save not indexed
        // yet is looked for in its text (and indexed on the way). The facts of a shelf made before
        // the saves' words were prepared (the home's at a start) know no entries: unless the shelf
        // was prepared for searching, the first search takes them from the saves' data.
        readEntries(facts, chosen);
        // The walk writes every place it reads into room this thread keeps from one search to the
        // next, and only the places kept are copied out: room made for each search was cleared,
        // and came from the system a page at a time, for every save read.
        thread_local std::unique_ptr<qsizetype[]> room;
        thread_local std::size_t roomSize = 0;
        if (roomSize < chosen.size()) {
            room.reset(new qsizetype[chosen.size()]);
            roomSize = chosen.size();
        }
        const std::uint32_t *entries = facts.entries.data();
        const std::size_t kept = keepPassing(room.get(), chosen, [&](qsizetype at) {
            const std::uint32_t entry = entries[at];
            return query.answersFor(entry) ? query.holdsAnswered(entry) : cursor.at(at).matches(query);
        });
        matched.assign(room.get(), room.get() + kept);
    } else {
        matched.reserve(chosen.size());
        // While the saves' words are being prepared (after a start), the saves not indexed yet are
        // looked for in their fields, which lie apart in memory: on several threads, which only
        // read the saves, each asking ahead for the fields it will read. The saves lie in chunks:
        // the threads read the selected ones through one flat table of their places.
        std::vector<const Save *> saves;
        saves.reserve(chosen.size());
        for (const qsizetype at : chosen)
            saves.push_back(&cursor.at(at));
        const qsizetype n = qsizetype(saves.size());
        const std::vector<char> found = decodeAll(std::size_t(n), [&](std::size_t i) {
            prefetchSearchFields(saves.data(), qsizetype(i), n);
            return char(saves[i]->matches(query));
        });
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            if (found[k])
                matched.push_back(chosen[k]);
        }
    }
    // Made afresh on several threads: copying the earlier search's items one by one on this
    // thread waits on each save's data in turn, and comes out slower.
    return itemsAt(matched);
}

void Shelf::readEntries(Facts &facts, const std::vector<qsizetype> &positions) const
{
    const std::size_t unknown = std::size_t(
        std::count_if(positions.begin(), positions.end(), [&](qsizetype at) { return facts.entries[std::size_t(at)] == 0; }));
    if (unknown == 0)
        return;
    // Each thread reads its part of the saves and writes its part of the entries; each save is
    // asked for some steps ahead, so that the reads of a hundred thousand overlap.
    inParts(positions.size(), threadsFor(unknown), [&](std::size_t, std::size_t begin, std::size_t end) {
        constexpr std::size_t ahead = 16;
        SaveCursor reading(m_library.saves);
        SaveCursor asked(m_library.saves);
        for (std::size_t k = begin; k < end; ++k) {
            if (k + ahead < end && facts.entries[std::size_t(positions[k + ahead])] == 0)
                asked.at(positions[k + ahead]).prefetchFirstLine();
            std::uint32_t &entry = facts.entries[std::size_t(positions[k])];
            if (entry == 0)
                entry = reading.at(positions[k]).searchEntry();
        }
    });
}

void Shelf::prepareSearch() const
{
    Facts &facts = this->facts();
    std::vector<qsizetype> all(facts.entries.size());
    std::iota(all.begin(), all.end(), qsizetype(0));
    readEntries(facts, all);
}

qsizetype Shelf::count(const Filter &filter) const
{
    if (hasTally())
        return tally().count(filter, m_now);
    qsizetype n = 0;
    forEachSelected(filter, [&n](const Save &) { ++n; });
    return n;
}

bool Shelf::selects(const Filter &filter, const Save &save) const { return Selector(*this, filter)(save); }

namespace {

// The positions of the collection filters by collection, in an open-addressed table keyed by the
// identifier: a filed save finds its filters in about one probe, however many collections there
// are.
class CollectionSlots {
public:
    explicit CollectionSlots(const std::vector<std::pair<Collection::ID, qsizetype>> &filters)
    {
        std::size_t size = 8;
        while (size < 2 * filters.size())
            size *= 2;
        m_mask = size - 1;
        m_table.assign(size, -1);
        for (const auto &[id, position] : filters) {
            std::size_t at = slot(id.raw());
            while (m_table[at] >= 0 && m_groups[std::size_t(m_table[at])].id != id)
                at = (at + 1) & m_mask;
            if (m_table[at] < 0) {
                m_table[at] = int(m_groups.size());
                m_groups.push_back({id, {}});
            }
            m_groups[std::size_t(m_table[at])].positions.push_back(position);
        }
    }

    // The positions of the filters of that collection (none when no filter names it).
    const std::vector<qsizetype> &positions(const Collection::ID &id) const
    {
        static const std::vector<qsizetype> none;
        for (std::size_t at = slot(id.raw());; at = (at + 1) & m_mask) {
            const int group = m_table[at];
            if (group < 0)
                return none;
            if (m_groups[std::size_t(group)].id == id)
                return m_groups[std::size_t(group)].positions;
        }
    }

private:
    struct Group {
        Collection::ID id;
        std::vector<qsizetype> positions;
    };

    std::size_t slot(const QUuid &id) const
    {
        const std::uint64_t high = (std::uint64_t(id.data1) << 32) | (std::uint64_t(id.data2) << 16) | id.data3;
        std::uint64_t low = 0;
        for (unsigned char byte : id.data4)
            low = (low << 8) | byte;
        return std::size_t(((high ^ low) * 0x9E3779B97F4A7C15ull) >> 40) & m_mask;
    }

    std::vector<int> m_table;   // index into m_groups, or -1 for an empty slot
    std::vector<Group> m_groups;
    std::size_t m_mask = 0;
};

}  // namespace

QList<qsizetype> Shelf::counts(const QList<Filter> &filters) const
{
    if (!hasTally())
        return counts(filters, {});
    QList<qsizetype> out;
    out.reserve(filters.size());
    for (const Filter &filter : filters)
        out.append(tally().count(filter, m_now));
    return out;
}

QList<qsizetype> Shelf::counts(const QList<Filter> &filters, const std::function<void(const Save &)> &eachSave) const
{
    // The filters sorted by what they ask of a save, so that each save is looked at once and
    // counted by every filter it passes with a handful of comparisons.
    using Targets = std::vector<qsizetype>;   // the positions of the filters of one kind
    Targets all, recent, favourites, trash, onThisComputer, linkOnly;
    std::vector<std::pair<Collection::ID, qsizetype>> collections;
    std::vector<std::pair<std::uint32_t, qsizetype>> authors;
    std::array<Targets, Kind::allCases().size()> kinds;
    std::array<Targets, Source::allCases().size()> sources;
    for (qsizetype i = 0; i < filters.size(); ++i) {
        std::visit(
            [&](const auto &c) {
                using C = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<C, Filter::All>)
                    all.push_back(i);
                else if constexpr (std::is_same_v<C, Filter::RecentlyAdded>)
                    recent.push_back(i);
                else if constexpr (std::is_same_v<C, Filter::Favourites>)
                    favourites.push_back(i);
                else if constexpr (std::is_same_v<C, Filter::Trash>)
                    trash.push_back(i);
                else if constexpr (std::is_same_v<C, Filter::InCollection>)
                    collections.emplace_back(c.id, i);
                else if constexpr (std::is_same_v<C, Filter::OfKind>)
                    kinds[std::size_t(Kind::Value(c.kind))].push_back(i);
                else if constexpr (std::is_same_v<C, Filter::FromSource>)
                    sources[std::size_t(Source::Value(c.source))].push_back(i);
                else if constexpr (std::is_same_v<C, Filter::ByAuthor>)
                    authors.emplace_back(c.handle.identity(), i);
                else if constexpr (std::is_same_v<C, Filter::OnThisComputer>)
                    onThisComputer.push_back(i);
                else
                    linkOnly.push_back(i);
            },
            filters.at(i).value());
    }
    const CollectionSlots collectionSlots(collections);
    const bool byKind = std::any_of(kinds.begin(), kinds.end(), [](const Targets &t) { return !t.empty(); });
    const bool bySource = std::any_of(sources.begin(), sources.end(), [](const Targets &t) { return !t.empty(); });
    const bool byCopy = !onThisComputer.empty() || !linkOnly.empty();

    QList<qsizetype> counts(filters.size(), 0);
    const auto count = [&counts](const Targets &targets) {
        for (qsizetype i : targets)
            ++counts[i];
    };
    forEachSave(m_library.saves, [&](const Save &save) {
        if (eachSave)
            eachSave(save);
        if (save.isTrashed()) {
            count(trash);
            return;
        }
        count(all);
        if (!recent.empty() && m_now.secondsSince(save.savedAt()) <= Library::recentWindow)
            count(recent);
        if (save.isFavourite())
            count(favourites);
        if (!collections.empty() && save.collection()) {
            for (qsizetype i : collectionSlots.positions(*save.collection()))
                ++counts[i];
        }
        if (!authors.empty()) {
            const std::uint32_t identity = save.authorIdentity();
            for (const auto &[author, i] : authors)
                if (author == identity)
                    ++counts[i];
        }
        if (byKind)
            count(kinds[std::size_t(Kind::Value(save.kind()))]);
        if (bySource)
            count(sources[std::size_t(Source::Value(save.source()))]);
        if (byCopy) {
            const CopyTable::Found found = lookUp(save);
            if (found.copy && found.state == kOnThisComputer)
                count(onThisComputer);
            // Missing media: the post has some, and its copy is neither here nor under way.
            if (save.kind() != Kind::text && (!found.copy || (found.state != kOnThisComputer && found.state != kDownloading)))
                count(linkOnly);
        }
    });
    return counts;
}

std::optional<ShelfItem> Shelf::item(const PostLink &link) const
{
    for (const Save &save : m_library.saves) {
        if (save.post().link == link)
            return storedItem(save);
    }
    return std::nullopt;
}

Home Shelf::home() const
{
    Home home;
    home.m_shelf = *this;
    const ShelfTally &counted = tally();
    const SaveList &saves = m_library.saves;
    const qsizetype n = saves.size();
    const std::vector<qsizetype> &trashed = counted.trashedPositions();

    // The live positions in order, the trashed ones passed over from the tally's list.
    std::size_t nextTrashed = 0;
    const auto nextLive = [&](qsizetype from) {
        while (from < n && nextTrashed < trashed.size() && trashed[nextTrashed] <= from) {
            if (trashed[nextTrashed] == from)
                ++from;
            ++nextTrashed;
        }
        return from;
    };
    const qsizetype latest = nextLive(0);
    if (latest >= n)
        return home;
    home.m_latest = storedItem(saves.at(latest));
    const auto isRecent = [this](const Save &save) {
        return m_now.secondsSince(save.savedAt()) <= Library::recentWindow;
    };
    // The shown positions, ascending: the latest and the recent saves after it. The walk ends
    // once the row is full or no recent save is left to meet, however long the library.
    std::vector<qsizetype> shown{latest};
    qsizetype recentLeft = counted.recent(m_now) - (isRecent(saves.at(latest)) ? 1 : 0);
    const Save::ID &latestId = saves.at(latest).id();
    for (qsizetype at = nextLive(latest + 1); at < n && recentLeft > 0 && home.m_recentlyAdded.size() < Home::recentShown;
         at = nextLive(at + 1)) {
        const Save &save = saves.at(at);
        if (!isRecent(save))
            continue;
        --recentLeft;
        if (!(save.id() == latestId)) {
            home.m_recentlyAdded.append(storedItem(save));
            shown.push_back(at);
        }
    }

    // The rest: every position but the trashed and the shown ones, as runs between them.
    std::vector<qsizetype> holes;
    holes.reserve(trashed.size() + shown.size());
    std::merge(trashed.begin(), trashed.end(), shown.begin(), shown.end(), std::back_inserter(holes));
    qsizetype from = 0;
    for (qsizetype hole : holes) {
        if (hole > from)
            home.m_rest.append({from, hole});
        from = std::max(from, hole + 1);
    }
    if (from < n)
        home.m_rest.append({from, n});
    home.m_restCount = n - qsizetype(trashed.size()) - qsizetype(shown.size());
    return home;
}

QList<ShelfItem> Home::rest() const
{
    QList<ShelfItem> out;
    if (!m_shelf)
        return out;
    out.reserve(m_restCount);
    const SaveList &saves = m_shelf->library().saves;
    for (const Run &run : m_rest) {
        auto ahead = saves.begin() + std::min(run.first + 12, run.last);
        for (auto it = saves.begin() + run.first, end = saves.begin() + run.last; it != end; ++it) {
            if (ahead != end)
                (ahead++)->prefetch();
            out.append(m_shelf->storedItem(*it));
        }
    }
    return out;
}

QList<ShelfItem> Home::rest(const Home &before, const QList<ShelfItem> &items) const
{
    if (!m_shelf || !before.m_shelf || items.size() != before.m_restCount || m_restCount != before.m_restCount
        || m_rest != before.m_rest)
        return rest();
    const Shelf &now = *m_shelf;
    const Shelf &was = *before.m_shelf;
    const ShelfTally &tally = now.tally();
    // The items made before stay right only where nothing they show from can have changed.
    if (tally.followed() != was.tally().serial() || !tally.changed() || now.quality() != was.quality()
        || !now.localMedia().copies().sharesDataWith(was.localMedia().copies())
        || !(now.covers() == was.covers()) || !(now.localMedia().folder() == was.localMedia().folder()))
        return rest();
    QList<ShelfItem> out = items;
    const SaveList &saves = now.library().saves;
    // Runs and changed positions both ascend: one pass over each.
    qsizetype run = 0;
    qsizetype preceding = 0;   // the items in the runs before `run`
    for (qsizetype at : *tally.changed()) {
        while (run < m_rest.size() && m_rest.at(run).last <= at) {
            preceding += m_rest.at(run).last - m_rest.at(run).first;
            ++run;
        }
        if (run == m_rest.size())
            break;
        const Run &in = m_rest.at(run);
        if (at < in.first)
            continue;   // the latest, a recent save or a trashed one: not in the rest
        out[preceding + (at - in.first)] = now.storedItem(saves.at(at));
    }
    return out;
}

bool operator==(const Home &a, const Home &b)
{
    return a.latest() == b.latest() && a.recentlyAdded() == b.recentlyAdded() && a.restCount() == b.restCount()
        && a.rest() == b.rest();
}

QList<ShelfItem> Shelf::missing() const
{
    return items(Filter::linkOnly());
}

std::int64_t Shelf::missingBytes() const
{
    if (hasTally()) {
        if (const std::optional<std::int64_t> bytes = tally().missingBytes())
            return *bytes;
    }
    std::int64_t total = 0;
    forEachSelected(Filter::linkOnly(),
                    [&](const Save &save) { total = saturatingAdd(total, save.post().mediaBytes(m_quality)); });
    return total;
}

std::size_t qHash(const Home &home, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, home.latest().has_value());
    if (home.latest())
        seed = qHash(*home.latest(), seed);
    seed = qHashMulti(seed, home.recentlyAdded().size());
    for (const ShelfItem &item : home.recentlyAdded())
        seed = qHash(item, seed);
    const QList<ShelfItem> rest = home.rest();
    seed = qHashMulti(seed, rest.size());
    for (const ShelfItem &item : rest)
        seed = qHash(item, seed);
    return seed;
}

}  // namespace sw
