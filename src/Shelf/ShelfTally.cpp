#include "Shelf/ShelfTally.h"

#include "Library/Library.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <type_traits>

namespace sw {

namespace {

constexpr std::size_t kDownloading = localCopyCaseIndex<LocalCopy::Downloading>();
constexpr std::size_t kOnThisComputer = localCopyCaseIndex<LocalCopy::OnThisComputer>();

bool liveOnX(const Save &save) { return !save.isTrashed() && save.source() == Source::x; }

// Whether two saves stand alike for the ranking of the authors: both out of it, or both live X
// saves of the same handle, date and author record.
bool sameForAuthors(const Save &a, const Save &b)
{
    const bool inA = liveOnX(a);
    if (inA != liveOnX(b))
        return false;
    return !inA
        || (a.authorIdentity() == b.authorIdentity() && a.savedAt() == b.savedAt()
            && a.post().author == b.post().author);
}

std::uint64_t nextSerial()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

bool sameKey(LinkKey a, LinkKey b) { return a.value == b.value && a.exact == b.exact; }
bool keyBefore(LinkKey a, LinkKey b) { return a.value != b.value ? a.value < b.value : a.exact < b.exact; }

}  // namespace

ShelfTally::CopyCase ShelfTally::copyCase(const Save &save, const CopyTable &copies, bool fresh)
{
    if (save.isTrashed())
        return {};
    const LocalCopy *copy = nullptr;
    std::size_t state = 0;
    if (fresh) {
        // The table the shelf reads: the save remembers where its entry is for the next look.
        const CopyTable::Found found = copies.lookUp(save.post().link, save.linkKey(), save.copyMemo());
        copy = found.copy;
        state = found.state;
    } else if ((copy = copies.find(save.post().link, save.linkKey()))) {
        state = copy->value().index();
    }
    CopyCase out;
    out.here = copy && state == kOnThisComputer;
    out.missing = save.kind() != Kind::text && (!copy || (state != kOnThisComputer && state != kDownloading));
    return out;
}

void ShelfTally::tallyCopy(const Save &save, CopyCase copy, int sign)
{
    if (copy.here)
        m_here += sign;
    if (copy.missing) {
        m_missing += sign;
        const std::int64_t bytes = save.post().mediaBytes(m_quality);
        m_missingBytes += __int128(sign) * bytes;
        if (bytes < 0)
            m_negativeSizes += sign;
    }
}

void ShelfTally::tally(const Save &save, CopyCase copy, int sign, bool placeDate)
{
    if (save.isTrashed()) {
        m_trashed += sign;
        return;
    }
    m_live += sign;
    if (save.isFavourite())
        m_favourites += sign;
    if (const std::optional<Collection::ID> &in = save.collection()) {
        auto found = m_collections.find(*in);
        if (found == m_collections.end())
            found = m_collections.insert(*in, 0);
        *found += sign;
        if (*found == 0)
            m_collections.erase(found);
    }
    m_kinds[std::size_t(Kind::Value(save.kind()))] += sign;
    m_sources[std::size_t(Source::Value(save.source()))] += sign;
    const std::uint32_t identity = save.authorIdentity();
    if (identity >= m_authors.size())
        m_authors.resize(std::max<std::size_t>(identity + 1, m_authors.size() * 2), 0);
    m_authors[identity] += sign;
    const Date at = save.savedAt();
    if (placeDate && !std::isnan(at.sinceReference)) {
        if (sign > 0) {
            m_dates.insert(std::upper_bound(m_dates.begin(), m_dates.end(), at, std::greater<>()), at);
        } else {
            const auto found = std::lower_bound(m_dates.begin(), m_dates.end(), at, std::greater<>());
            if (found != m_dates.end() && *found == at)
                m_dates.erase(found);
        }
    }
    tallyCopy(save, copy, sign);
}

void ShelfTally::rankAuthors()
{
    Library::AuthorTally authors;
    forEachSave(m_saves, [&](const Save &save) { authors.add(save); });
    m_topAuthors = authors.top(authorsRanked);
}

ShelfTally::ShelfTally(SaveList saves, CopyTable copies, Quality quality)
    : ShelfTally(std::move(saves), std::move(copies), quality, Visit())
{
}

ShelfTally::ShelfTally(SaveList saves, CopyTable copies, Quality quality, const Visit &each)
    : m_saves(std::move(saves)), m_copies(std::move(copies)), m_quality(quality), m_serial(nextSerial())
{
    m_dates.reserve(std::size_t(m_saves.size()));
    Library::AuthorTally authors;
    qsizetype position = 0;
    // One walk; the dates are put in order at the end rather than one by one.
    forEachSave(m_saves, [&](const Save &save) {
        authors.add(save);
        if (save.isTrashed()) {
            m_trashedAt.push_back(position);
        } else if (const Date at = save.savedAt(); !std::isnan(at.sinceReference)) {
            m_dates.push_back(at);
        }
        const CopyCase copy = copyCase(save, m_copies, true);
        tally(save, copy, 1, false);
        if (each)
            each(position, save, copy.here, copy.missing);
        ++position;
    });
    // Saves are kept newest first, so the dates mostly are already in order.
    if (!std::is_sorted(m_dates.begin(), m_dates.end(), std::greater<>()))
        std::stable_sort(m_dates.begin(), m_dates.end(), std::greater<>());
    m_topAuthors = authors.top(authorsRanked);
}

ShelfTally ShelfTally::following(SaveList saves, CopyTable copies, Quality quality) const
{
    if (quality != m_quality)
        return ShelfTally(std::move(saves), std::move(copies), quality);
    ShelfTally next(*this);
    next.m_serial = nextSerial();
    next.m_followed = m_serial;
    next.m_saves = std::move(saves);
    next.m_copies = std::move(copies);
    const SaveList &before = m_saves;
    const SaveList &after = next.m_saves;
    const qsizetype m = before.size();
    const qsizetype n = after.size();
    bool rank = false;

    // The positions of `after` that hold saves `before` did not: a sorted list when the two
    // lists are equally long (compared place by place, chunks both share passed over whole),
    // else one run between the common head and the common tail.
    std::vector<qsizetype> came;
    qsizetype runFirst = 0, runLast = 0;
    if (m == n) {
        SaveList::diffPlaces(before, after, [&](qsizetype i) {
            const Save &was = before.at(i);
            const Save &is = after.at(i);
            next.tally(was, copyCase(was, m_copies, false), -1);
            next.tally(is, copyCase(is, next.m_copies, true), 1);
            if (was.isTrashed() != is.isTrashed()) {
                auto at = std::lower_bound(next.m_trashedAt.begin(), next.m_trashedAt.end(), i);
                if (was.isTrashed())
                    next.m_trashedAt.erase(at);
                else
                    next.m_trashedAt.insert(at, i);
            }
            rank = rank || !sameForAuthors(was, is);
            came.push_back(i);
        });
    } else {
        const qsizetype head = SaveList::commonHead(before, after);
        const qsizetype tail = SaveList::commonTail(before, after, head);
        for (auto b = before.begin() + head, end = before.begin() + (m - tail); b != end; ++b) {
            next.tally(*b, copyCase(*b, m_copies, false), -1);
            rank = rank || liveOnX(*b);
        }
        std::vector<qsizetype> trashedAt;
        trashedAt.reserve(next.m_trashedAt.size());
        for (qsizetype at : m_trashedAt) {
            if (at < head)
                trashedAt.push_back(at);
        }
        for (auto a = after.begin() + head, end = after.begin() + (n - tail); a != end; ++a) {
            next.tally(*a, copyCase(*a, next.m_copies, true), 1);
            rank = rank || liveOnX(*a);
            if (a->isTrashed())
                trashedAt.push_back(a.index());
        }
        for (qsizetype at : m_trashedAt) {
            if (at >= m - tail)
                trashedAt.push_back(at + (n - m));
        }
        next.m_trashedAt = std::move(trashedAt);
        runFirst = head;
        runLast = n - tail;
    }
    // Place by place, the saves that came are the ones that changed; a list of another length
    // or order changes the places themselves.
    if (m == n)
        next.m_changed = came;
    else
        next.m_changed.reset();

    // The copies: entries compared place by place (a change of a copy keeps its entry's place);
    // the links of the entries that differ in link or case are the ones whose saves may count
    // otherwise now. Progress alone changes no case, and so touches no save.
    if (!m_copies.sharesDataWith(next.m_copies)) {
        std::vector<LinkKey> keys;
        auto o = m_copies.begin();
        auto p = next.m_copies.begin();
        const auto oEnd = m_copies.end();
        const auto pEnd = next.m_copies.end();
        for (; o != oEnd && p != pEnd; ++o, ++p) {
            const bool same = sameKey(o.key(), p.key()) && o.copy().value().index() == p.copy().value().index()
                && (o.key().exact || o.link() == p.link());
            if (!same) {
                keys.push_back(o.key());
                keys.push_back(p.key());
            }
        }
        for (; o != oEnd; ++o)
            keys.push_back(o.key());
        for (; p != pEnd; ++p)
            keys.push_back(p.key());
        if (!keys.empty()) {
            std::sort(keys.begin(), keys.end(), keyBefore);
            keys.erase(std::unique(keys.begin(), keys.end(), sameKey), keys.end());
            qsizetype position = 0;
            std::size_t nextCame = 0;
            forEachSave(after, [&](const Save &save) {
                const qsizetype at = position++;
                // A save that came is already counted with the new copies.
                while (nextCame < came.size() && came[nextCame] < at)
                    ++nextCame;
                if ((nextCame < came.size() && came[nextCame] == at) || (at >= runFirst && at < runLast))
                    return;
                if (save.isTrashed())
                    return;
                const LinkKey key = save.linkKey();
                if (!std::binary_search(keys.begin(), keys.end(), key, keyBefore))
                    return;
                const CopyCase was = copyCase(save, m_copies, false);
                const CopyCase is = copyCase(save, next.m_copies, true);
                if (was == is)
                    return;
                next.tallyCopy(save, was, -1);
                next.tallyCopy(save, is, 1);
            });
        }
    }
    if (rank)
        next.rankAuthors();
    return next;
}

qsizetype ShelfTally::recent(Date now) const
{
    // Newest first: the recent dates are a head of the list.
    const auto end = std::partition_point(m_dates.begin(), m_dates.end(), [now](const Date &at) {
        return now.secondsSince(at) <= Library::recentWindow;
    });
    return qsizetype(end - m_dates.begin());
}

std::optional<std::int64_t> ShelfTally::missingBytes() const
{
    if (m_negativeSizes > 0)
        return std::nullopt;
    return std::int64_t(std::min<__int128>(m_missingBytes, std::numeric_limits<std::int64_t>::max()));
}

qsizetype ShelfTally::count(const Filter &filter, Date now) const
{
    return std::visit(
        [&](const auto &c) -> qsizetype {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Filter::All>) {
                return m_live;
            } else if constexpr (std::is_same_v<C, Filter::RecentlyAdded>) {
                return recent(now);
            } else if constexpr (std::is_same_v<C, Filter::Favourites>) {
                return m_favourites;
            } else if constexpr (std::is_same_v<C, Filter::Trash>) {
                return m_trashed;
            } else if constexpr (std::is_same_v<C, Filter::InCollection>) {
                return m_collections.value(c.id, 0);
            } else if constexpr (std::is_same_v<C, Filter::OfKind>) {
                return m_kinds[std::size_t(Kind::Value(c.kind))];
            } else if constexpr (std::is_same_v<C, Filter::FromSource>) {
                return m_sources[std::size_t(Source::Value(c.source))];
            } else if constexpr (std::is_same_v<C, Filter::ByAuthor>) {
                const std::uint32_t identity = c.handle.identity();
                return identity < m_authors.size() ? m_authors[identity] : 0;
            } else if constexpr (std::is_same_v<C, Filter::OnThisComputer>) {
                return m_here;
            } else {
                static_assert(std::is_same_v<C, Filter::LinkOnly>);
                return m_missing;
            }
        },
        filter.value());
}

bool operator==(const ShelfTally &a, const ShelfTally &b)
{
    // Trailing zeros of the author numbers depend on how far the list has grown, not on the saves.
    const auto authorsEqual = [](const std::vector<qsizetype> &x, const std::vector<qsizetype> &y) {
        const std::size_t common = std::min(x.size(), y.size());
        if (!std::equal(x.begin(), x.begin() + std::ptrdiff_t(common), y.begin()))
            return false;
        const auto zero = [](qsizetype v) { return v == 0; };
        return std::all_of(x.begin() + std::ptrdiff_t(common), x.end(), zero)
            && std::all_of(y.begin() + std::ptrdiff_t(common), y.end(), zero);
    };
    return a.m_quality == b.m_quality && a.m_live == b.m_live && a.m_trashed == b.m_trashed
        && a.m_favourites == b.m_favourites && a.m_here == b.m_here && a.m_missing == b.m_missing
        && a.m_missingBytes == b.m_missingBytes && a.m_negativeSizes == b.m_negativeSizes && a.m_kinds == b.m_kinds
        && a.m_sources == b.m_sources && a.m_collections == b.m_collections && authorsEqual(a.m_authors, b.m_authors)
        && a.m_dates == b.m_dates && a.m_trashedAt == b.m_trashedAt && a.m_topAuthors == b.m_topAuthors;
}

}  // namespace sw
