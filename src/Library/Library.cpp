#include "Library/Library.h"

#include "Capture/Parallel.h"
#include "Capture/StringPool.h"
#include "Capture/Text.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace sw {

namespace {

template <typename Test>
QList<Save> select(const SaveList &saves, Test test)
{
    QList<Save> out;
    forEachSave(saves, [&](const Save &save) {
        if (test(save))
            out.append(save);
    });
    return out;
}

}  // namespace

Save::ID Library::idOf(const Keeping &keeping)
{
    return std::visit([](const auto &c) { return c.id; }, keeping);
}

qsizetype Library::indexOfSave(const Save::ID &id) const
{
    return saves.indexOf(id);
}

Save &Library::ownSave(qsizetype i)
{
    return saves.own(i);
}

qsizetype Library::indexOfCollection(const Collection::ID &id) const
{
    for (qsizetype i = 0; i < collections.size(); ++i)
        if (collections.at(i).id == id)
            return i;
    return -1;
}

// ---- operations ---------------------------------------------------------------------------------

Library::Keeping Library::keep(const Post &post, Date at, const std::optional<Collection::ID> &in, const Save::ID &as)
{
    for (auto it = saves.begin(); it != saves.end(); ++it) {
        const Save &existing = *it;
        if (!(existing.post().link == post.link))
            continue;
        const Save::ID found = existing.id();
        if (existing.isTrashed()) {
            // Detaching the chunk may move the saves: `existing` is not used past this point.
            ownSave(it.index()).setTrashedAt(std::nullopt);
            return Restored{found};
        }
        return AlreadyKept{found};
    }

    std::optional<Collection::ID> filing;
    if (in && indexOfCollection(*in) >= 0)
        filing = in;

    Save fresh(as, post, at);
    if (filing)
        fresh.setCollection(filing);

    qsizetype place = saves.size();
    for (auto it = saves.begin(); it != saves.end(); ++it) {
        if (it->savedAt() < at) {
            place = it.index();
            break;
        }
    }
    saves.insert(place, std::move(fresh));
    return Kept{as};
}

void Library::favourite(const Save::ID &id)
{
    const qsizetype i = indexOfSave(id);
    if (i >= 0)
        ownSave(i).setFavourite(!saves.at(i).isFavourite());
}

void Library::trash(const Save::ID &id, Date at)
{
    const qsizetype i = indexOfSave(id);
    if (i >= 0 && !saves.at(i).isTrashed())
        ownSave(i).setTrashedAt(at);
}

void Library::restore(const Save::ID &id)
{
    const qsizetype i = indexOfSave(id);
    if (i >= 0 && saves.at(i).isTrashed())
        ownSave(i).setTrashedAt(std::nullopt);
}

QList<Save> Library::emptyTrash()
{
    QList<Save> removed = trash();
    if (removed.isEmpty())
        return removed;
    saves.removeIf([](const Save &s) { return s.isTrashed(); });
    return removed;
}

std::expected<void, CollectionRefusal> Library::file(const Save::ID &id, const std::optional<Collection::ID> &in)
{
    if (in && indexOfCollection(*in) < 0)
        return std::unexpected(CollectionRefusal::noSuchCollection);
    const qsizetype i = indexOfSave(id);
    if (i >= 0 && saves.at(i).collection() != in)
        ownSave(i).setCollection(in);
    return {};
}

void Library::tag(const Save::ID &id, const Tag &tag)
{
    const qsizetype i = indexOfSave(id);
    if (i < 0 || saves.at(i).tags().contains(tag))
        return;
    QList<Tag> tags = saves.at(i).tags();
    tags.append(tag);
    ownSave(i).setTags(std::move(tags));
}

void Library::untag(const Save::ID &id, const Tag &tag)
{
    const qsizetype i = indexOfSave(id);
    if (i < 0 || !saves.at(i).tags().contains(tag))
        return;
    QList<Tag> tags = saves.at(i).tags();
    tags.removeAll(tag);
    ownSave(i).setTags(std::move(tags));
}

void Library::writeNote(const QString &note, const Save::ID &on)
{
    const qsizetype i = indexOfSave(on);
    if (i >= 0)
        ownSave(i).setNote(note);
}

std::optional<CollectionRefusal> Library::refusal(const QString &forName,
                                                  const std::optional<Collection::ID> &renaming) const
{
    const QString name = text::trimmed(forName);
    if (name.isEmpty())
        return CollectionRefusal::nameEmpty;
    const QString folded = text::fold(name);
    for (const Collection &c : collections) {
        if (renaming && c.id == *renaming)
            continue;
        if (text::fold(c.name) == folded)
            return CollectionRefusal::nameTaken;
    }
    return std::nullopt;
}

std::expected<Collection::ID, CollectionRefusal> Library::makeCollection(const QString &named,
                                                                         std::optional<Swatch> swatch)
{
    if (const auto refused = refusal(named))
        return std::unexpected(*refused);
    Collection made{Collection::ID::random(), text::trimmed(named), swatch.value_or(nextSwatch())};
    collections.append(made);
    return made.id;
}

std::expected<void, CollectionRefusal> Library::rename(const Collection::ID &id, const QString &to)
{
    const qsizetype i = indexOfCollection(id);
    if (i < 0)
        return std::unexpected(CollectionRefusal::noSuchCollection);
    if (const auto refused = refusal(to, id))
        return std::unexpected(*refused);
    const QString name = text::trimmed(to);
    if (collections.at(i).name != name)
        collections[i].name = name;
    return {};
}

void Library::recolour(const Collection::ID &id, Swatch to)
{
    const qsizetype i = indexOfCollection(id);
    if (i >= 0 && collections.at(i).swatch != to)
        collections[i].swatch = to;
}

QList<Save::ID> Library::removeCollection(const Collection::ID &id)
{
    if (indexOfCollection(id) >= 0)
        collections.removeIf([&](const Collection &c) { return c.id == id; });
    QList<Save::ID> unfiled;
    for (qsizetype i = 0; i < saves.size(); ++i) {
        if (saves.at(i).collection() == id) {
            ownSave(i).setCollection(std::nullopt);
            unfiled.append(saves.at(i).id());
        }
    }
    return unfiled;
}

void Library::reinstate(const Collection &collection, const QList<Save::ID> &filing)
{
    if (indexOfCollection(collection.id) < 0)
        collections.append(collection);
    if (filing.isEmpty())
        return;
    const QSet<Save::ID> wanted(filing.begin(), filing.end());
    for (qsizetype i = 0; i < saves.size(); ++i) {
        const Save &s = saves.at(i);
        if (wanted.contains(s.id()) && s.collection() != collection.id)
            ownSave(i).setCollection(collection.id);
    }
}

// ---- lookups ------------------------------------------------------------------------------------

std::optional<Collection> Library::collection(const QString &named) const
{
    const QString folded = text::fold(text::trimmed(named));
    for (const Collection &c : collections)
        if (text::fold(c.name) == folded)
            return c;
    return std::nullopt;
}

std::optional<Collection> Library::collection(const Collection::ID &id) const
{
    const qsizetype i = indexOfCollection(id);
    if (i < 0)
        return std::nullopt;
    return collections.at(i);
}

std::optional<Save> Library::save(const Save::ID &id) const
{
    const qsizetype i = indexOfSave(id);
    if (i < 0)
        return std::nullopt;
    return saves.at(i);
}

namespace {

// Whether a save is of the link whose key is `key`: the keys settle it when they are exact, and
// otherwise only let through the saves worth comparing.
bool isOf(const Save &save, const PostLink &link, const LinkKey &key)
{
    return save.linkKey() == key && (key.exact || save.post().link == link);
}

}  // namespace

std::optional<Save> Library::save(const PostLink &link) const
{
    const LinkKey key = link.key();
    for (const Save &s : saves)
        if (isOf(s, link, key))
            return s;
    return std::nullopt;
}

QList<std::optional<Save>> Library::firstSaves(const QList<PostLink> &links) const
{
    QList<std::optional<Save>> found(links.size());
    std::vector<LinkKey> keys;
    keys.reserve(std::size_t(links.size()));
    // The links still looked for, by their key's value.
    QHash<std::uint64_t, QList<qsizetype>> waiting;
    for (qsizetype i = 0; i < links.size(); ++i) {
        keys.push_back(links.at(i).key());
        waiting[keys.back().value].append(i);
    }
    qsizetype left = links.size();
    for (qsizetype s = 0; s < saves.size() && left > 0; ++s) {
        const Save &save = saves.at(s);
        const auto entry = waiting.find(save.linkKey().value);
        if (entry == waiting.end())
            continue;
        QList<qsizetype> &positions = *entry;
        for (qsizetype k = 0; k < positions.size();) {
            const qsizetype i = positions.at(k);
            if (!isOf(save, links.at(i), keys[std::size_t(i)])) {
                ++k;
                continue;
            }
            found[i] = save;
            --left;
            positions.remove(k);
        }
        if (positions.isEmpty())
            waiting.erase(entry);
    }
    return found;
}

Swatch Library::nextSwatch() const
{
    return sw::nextSwatch(std::span<const Collection>(collections.constData(), std::size_t(collections.size())));
}

// ---- queries ------------------------------------------------------------------------------------

QList<Save> Library::live() const
{
    return select(saves, [](const Save &s) { return !s.isTrashed(); });
}

QList<Save> Library::trash() const
{
    return select(saves, [](const Save &s) { return s.isTrashed(); });
}

QList<Save> Library::favourites() const
{
    return select(saves, [](const Save &s) { return !s.isTrashed() && s.isFavourite(); });
}

QList<Save> Library::recentlyAdded(Date now) const
{
    return select(saves, [now](const Save &s) {
        return !s.isTrashed() && now.secondsSince(s.savedAt()) <= recentWindow;
    });
}

QList<Save> Library::filed(const Collection::ID &in) const
{
    return select(saves, [&in](const Save &s) { return !s.isTrashed() && s.collection() == in; });
}

QList<Save> Library::live(const Handle &by) const
{
    // Handle equality: the lowercased names compare under canonical equivalence, so a name
    // written with composed and with decomposed accents is one author. Equal handles are
    // exactly those that share an identity.
    const std::uint32_t wanted = by.identity();
    return select(saves, [wanted](const Save &s) { return !s.isTrashed() && s.authorIdentity() == wanted; });
}

QList<Save> Library::live(Kind of) const
{
    return select(saves, [of](const Save &s) { return !s.isTrashed() && s.kind() == of; });
}

QList<Save> Library::live(Source from) const
{
    return select(saves, [from](const Save &s) { return !s.isTrashed() && s.source() == from; });
}

QList<Author> Library::topAuthors(qsizetype limit) const
{
    AuthorTally tally;
    forEachSave(saves, [&](const Save &s) { tally.add(s); });
    return tally.top(limit);
}

void Library::AuthorTally::add(const Save &s)
{
    if (s.isTrashed() || s.source() != Source::x)
        return;
    const std::uint32_t identity = s.authorIdentity();
    if (identity >= m_entryOf.size())
        m_entryOf.resize(std::max<std::size_t>(identity + 1, m_entryOf.size() * 2), -1);
    if (m_entryOf[identity] < 0) {
        m_entryOf[identity] = std::int32_t(m_entries.size());
        m_entries.emplace_back();
    }
    Entry &entry = m_entries[std::size_t(m_entryOf[identity])];
    entry.last = &s;
    entry.count += 1;
    if (s.savedAt() >= entry.latest)
        entry.latest = s.savedAt();
}

QList<Author> Library::AuthorTally::top(qsizetype limit) const
{
    std::vector<Entry> entries = m_entries;
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.count != b.count)
            return a.count > b.count;
        return a.latest > b.latest;
    });
    QList<Author> out;
    const qsizetype n = std::min(std::max<qsizetype>(limit, 0), qsizetype(entries.size()));
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        out.append(entries[std::size_t(i)].last->post().author);
    return out;
}

// ---- value --------------------------------------------------------------------------------------

bool operator==(const Library &a, const Library &b)
{
    return a.saves == b.saves && a.collections == b.collections;
}

std::size_t qHash(const Library &library, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, library.saves.size());
    for (const Save &s : library.saves)
        seed = qHashMulti(seed, s);
    seed = qHashMulti(seed, library.collections.size());
    for (const Collection &c : library.collections)
        seed = qHashMulti(seed, c);
    return seed;
}

std::size_t qHash(const Library::Keeping &keeping, std::size_t seed) noexcept
{
    return qHashMulti(seed, keeping.index(), Library::idOf(keeping));
}

JsonValue Library::toJson() const
{
    JsonValue savesJson = JsonValue::array();
    for (const Save &s : saves)
        savesJson.push(s.toJson());
    JsonValue collectionsJson = JsonValue::array();
    for (const Collection &c : collections)
        collectionsJson.push(c.toJson());
    JsonValue v = JsonValue::object();
    v.set("saves", std::move(savesJson));
    v.set("collections", std::move(collectionsJson));
    return v;
}

Library Library::fromJson(const JsonNode &node)
{
    const JsonNode savesNode = node["saves"];
    const JsonNode collectionsNode = node["collections"];
    if (!savesNode.isArray())
        throw JsonError("Expected to decode an array for \"saves\" but found another kind of value.");
    if (!collectionsNode.isArray())
        throw JsonError("Expected to decode an array for \"collections\" but found another kind of value.");
    Library library;
    // Each save decodes on its own: a large library is read on several threads.
    // The texts that saves repeat (authors, tags) are pooled on each decoding thread.
    std::vector<Save> decoded = decodeElementsWith<ThreadStringPool>(
        savesNode, [](const JsonNode &save, ThreadStringPool &) { return Save::fromJson(save); });
    library.saves = SaveList(std::move(decoded));
    const auto collectionNodes = collectionsNode.elements();
    library.collections.reserve(qsizetype(collectionNodes.size()));
    for (const JsonNode &c : collectionNodes)
        library.collections.append(Collection::fromJson(c));
    return library;
}

}  // namespace sw
