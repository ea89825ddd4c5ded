#include "Shelf/Shelf.h"

#include "Capture/Parallel.h"
#include "Library/SearchVocabulary.h"

#include <algorithm>
#include <array>
#include <iterator>
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
          ShelfItem::Context{std::move(covers), m_localMedia.folder(), m_localMedia.copies()})),
      m_tallies(std::make_shared<Tallies>()), m_marks(std::make_shared<Marks>())
{
}

void Shelf::follow(const Shelf &previous)
{
    if (m_tallies->tally)
        return;
    const Tallies &before = *previous.m_tallies;
    m_tallies->previous = before.tally ? before.tally : before.previous;
}

const ShelfTally &Shelf::tally() const
{
    Tallies &tallies = *m_tallies;
    if (!tallies.tally) {
        const CopyTable &copies = m_localMedia.copies();
        if (tallies.previous)
            tallies.tally = std::make_shared<const ShelfTally>(
                tallies.previous->following(m_library.saves, copies, m_quality));
        else
            tallies.tally = std::make_shared<const ShelfTally>(m_library.saves, copies, m_quality);
        tallies.previous.reset();
    }
    return *tallies.tally;
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
    return item(save, lookUp(save).copy);
}

ShelfItem Shelf::item(const Save &save, const LocalCopy *copy) const
{
    return ShelfItem(save, copy ? copy : &ShelfItem::linkOnly(), m_quality, m_context);
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

}  // namespace

const std::vector<std::uint8_t> &Shelf::marks(bool withCopies) const
{
    Marks &marks = *m_marks;
    if (marks.bytes.empty() && !m_library.saves.isEmpty()) {
        marks.bytes.reserve(std::size_t(m_library.saves.size()));
        forEachSave(m_library.saves, [&](const Save &save) {
            marks.bytes.push_back(std::uint8_t((save.isTrashed() ? kTrashedMark : 0) | (save.isFavourite() ? kFavouriteMark : 0)
                                               | (unsigned(Kind::Value(save.kind())) << kKindShift)
                                               | (unsigned(Source::Value(save.source())) << kSourceShift)));
        });
    }
    if (withCopies && !marks.copiesRead) {
        // The same tests as the filters' own (Selector), for the live saves.
        std::uint8_t *mark = marks.bytes.data();
        forEachSave(m_library.saves, [&](const Save &save) {
            if (!(*mark & kTrashedMark)) {
                const CopyTable::Found found = lookUp(save);
                if (found.copy && found.state == kOnThisComputer)
                    *mark |= kHereMark;
                if (save.kind() != Kind::text && (!found.copy || (found.state != kOnThisComputer && found.state != kDownloading)))
                    *mark |= kMissingMark;
            }
            ++mark;
        });
        marks.copiesRead = true;
    }
    return marks.bytes;
}

QList<ShelfItem> Shelf::items(const Filter &filter, const QString &search) const
{
    const SearchQuery query(search);
    QList<ShelfItem> out;
    if (query.isEmpty()) {
        if (const std::optional<MarkTest> test = markTest(filter)) {
            const std::vector<std::uint8_t> &marks = this->marks(test->copies);
            // Only the selected saves are read, each asked for some steps ahead so that the
            // reads overlap.
            std::vector<const Save *> selected;
            selected.reserve(std::size_t(std::count_if(marks.begin(), marks.end(), *test)));
            const std::uint8_t *mark = marks.data();
            for (qsizetype k = 0; k < m_library.saves.chunkCount(); ++k) {
                for (const Save &save : m_library.saves.chunk(k)) {
                    if ((*test)(*mark++))
                        selected.push_back(&save);
                }
            }
            constexpr std::size_t ahead = 12;
            out.reserve(qsizetype(selected.size()));
            for (std::size_t i = 0, n = selected.size(); i < n; ++i) {
                if (i + ahead < n)
                    selected[i + ahead]->prefetch();
                out.append(item(*selected[i]));
            }
            return out;
        }
    }
    const Selector selects(*this, filter);
    if (query.isEmpty() || !SearchVocabulary::shared().isBeingFilled()) {
        forEachSave(m_library.saves, [&](const Save &save) {
            CopyOf copy(*this, save);
            if (selects(save, copy) && save.matches(query))
                out.append(item(save, copy().copy));
        });
        return out;
    }
    // While the saves' words are being prepared (after a start), the saves not indexed yet are
    // looked for in their fields, which lie apart in memory: on several threads, which only read
    // the saves, each asking ahead for the fields it will read. The items are made here, in order.
    // The saves lie in chunks: the threads read them through one flat table of their places.
    std::vector<const Save *> saves;
    saves.reserve(std::size_t(m_library.saves.size()));
    for (const Save &save : m_library.saves)
        saves.push_back(&save);
    const qsizetype n = qsizetype(saves.size());
    const std::vector<char> found = decodeAll(std::size_t(n), [&](std::size_t i) {
        prefetchSearchFields(saves.data(), qsizetype(i), n);
        return char(saves[i]->matches(query));
    });
    qsizetype i = 0;
    forEachSave(m_library.saves, [&](const Save &save) {
        CopyOf copy(*this, save);
        if (found[std::size_t(i++)] && selects(save, copy))
            out.append(item(save, copy().copy));
    });
    return out;
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
            return item(save);
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
    home.m_latest = item(saves.at(latest));
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
            home.m_recentlyAdded.append(item(save));
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
            out.append(m_shelf->item(*it));
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
        out[preceding + (at - in.first)] = now.item(saves.at(at));
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
