#include "Shelf.h"

#include "Text.h"

#include <type_traits>
#include <vector>

namespace sw {

// The test of one filter, prepared once per call so that the walk over the saves does no work
// that does not depend on the save.
namespace {
bool isAscii(QStringView s)
{
    for (QChar c : s) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}
}  // namespace

class Shelf::Selector {
public:
    Selector(const Shelf &shelf, const Filter &filter) : m_shelf(shelf), m_filter(filter)
    {
        if (const auto *author = std::get_if<Filter::ByAuthor>(&filter.value())) {
            m_handle = author->handle.lowercased();
            m_asciiHandle = isAscii(m_handle);
        }
    }

    // Handle equality (lowercased names, canonically equal), without lowercasing every save's
    // handle: ASCII names compare case-insensitively in place.
    bool isWantedHandle(const Handle &handle) const
    {
        if (m_asciiHandle && isAscii(handle.name))
            return handle.name.compare(m_handle, Qt::CaseInsensitive) == 0;
        return text::canonicallyEqual(handle.lowercased(), m_handle);
    }

    bool operator()(const Save &save) const
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
                        return save.post().kind() == c.kind;
                    } else if constexpr (std::is_same_v<C, Filter::FromSource>) {
                        return save.post().link.source() == c.source;
                    } else if constexpr (std::is_same_v<C, Filter::ByAuthor>) {
                        return isWantedHandle(save.post().author.handle);
                    } else if constexpr (std::is_same_v<C, Filter::OnThisMac>) {
                        const LocalCopy *copy = m_shelf.copyOf(save);
                        return copy && copy->asOnThisMac();
                    } else {
                        static_assert(std::is_same_v<C, Filter::LinkOnly>);
                        // Missing media: the post has some, and its copy is absent, linkOnly or
                        // failed (neither here nor under way).
                        if (!save.post().hasMedia())
                            return false;
                        const LocalCopy *copy = m_shelf.copyOf(save);
                        return !copy || (!copy->asOnThisMac() && !copy->asDownloading());
                    }
                }
            },
            m_filter.value());
    }

private:
    const Shelf &m_shelf;
    const Filter &m_filter;
    QString m_handle;   // an author filter's handle, lowercased
    bool m_asciiHandle = false;
};

Shelf::Shelf(Library library, LocalMedia localMedia, std::optional<Covers> covers, Date now, Quality quality)
    : m_library(std::move(library)), m_localMedia(std::move(localMedia)), m_now(now), m_quality(quality),
      m_context(std::make_shared<const ShelfItem::Context>(ShelfItem::Context{std::move(covers), m_localMedia.folder()}))
{
}

const LocalCopy *Shelf::copyOf(const Save &save) const
{
    return m_localMedia.copies().find(save.post().link);
}

template <typename Visit>
void Shelf::forEachSelected(const Filter &filter, Visit &&visit) const
{
    const Selector selects(*this, filter);
    for (const Save &save : m_library.saves) {
        if (selects(save))
            visit(save);
    }
}

ShelfItem Shelf::item(const Save &save) const
{
    const LocalCopy *recorded = copyOf(save);
    return ShelfItem(save, recorded ? *recorded : LocalCopy::linkOnly(), m_quality, m_context);
}

QList<ShelfItem> Shelf::items(const Filter &filter, const QString &search) const
{
    const SearchQuery query(search);
    QList<ShelfItem> out;
    forEachSelected(filter, [&](const Save &save) {
        if (query.isEmpty() || save.matches(query))
            out.append(item(save));
    });
    return out;
}

qsizetype Shelf::count(const Filter &filter) const
{
    qsizetype n = 0;
    forEachSelected(filter, [&n](const Save &) { ++n; });
    return n;
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
    const Save *latest = nullptr;
    // The latest and the recent saves shown: at most five ids, so a list is the cheapest set.
    std::vector<Save::ID> shown;
    for (const Save &save : m_library.saves) {
        if (save.isTrashed())
            continue;
        if (!latest) {
            latest = &save;
            shown.push_back(save.id());
            continue;
        }
        if (home.m_recentlyAdded.size() >= Home::recentShown)
            break;
        if (m_now.secondsSince(save.savedAt()) <= Library::recentWindow && !(save.id() == latest->id())) {
            home.m_recentlyAdded.append(item(save));
            shown.push_back(save.id());
        }
    }
    if (!latest)
        return home;
    home.m_latest = item(*latest);
    for (const Save &save : m_library.saves) {
        if (save.isTrashed())
            continue;
        bool isShown = false;
        for (const Save::ID &id : shown) {
            if (id == save.id()) {
                isShown = true;
                break;
            }
        }
        if (!isShown)
            home.m_rest.append(item(save));
    }
    return home;
}

QList<ShelfItem> Shelf::missing() const
{
    return items(Filter::linkOnly());
}

std::int64_t Shelf::missingBytes() const
{
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
    seed = qHashMulti(seed, home.rest().size());
    for (const ShelfItem &item : home.rest())
        seed = qHash(item, seed);
    return seed;
}

}  // namespace sw
