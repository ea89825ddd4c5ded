#include "Library/Save.h"

#include "Library/SearchVocabulary.h"
#include "Capture/Text.h"

#include <QSharedData>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <utility>

namespace sw {

namespace {

const QSharedDataPointer<SaveData> &emptySave()
{
    static const QSharedDataPointer<SaveData> empty(new SaveData);
    return empty;
}

}  // namespace

// ---- search ---------------------------------------------------------------------------------

QStringList SearchQuery::foldedWords(const QString &query)
{
    QStringList folded;
    for (const QString &w : text::words(query)) {
        // A word that folds to nothing is found in every text.
        if (QString f = text::fold(w); !f.isEmpty())
            folded.append(std::move(f));
    }
    return folded;
}

bool SearchQuery::narrows(const QStringList &newer, const QStringList &older)
{
    const auto spaced = [](const QString &w) { return text::containsWhiteSpace(w); };
    if (std::any_of(newer.cbegin(), newer.cend(), spaced) || std::any_of(older.cbegin(), older.cend(), spaced))
        return false;
    return std::all_of(older.cbegin(), older.cend(), [&](const QString &old) {
        return std::any_of(newer.cbegin(), newer.cend(), [&](const QString &w) { return w.contains(old); });
    });
}

SearchQuery::SearchQuery(const QString &query)
{
    QStringList words = foldedWords(query);
    m_words.reserve(words.size());
    m_indexed = true;
    bool first = true;
    for (QString &folded : words) {
        // One that would hold white space (folding never makes any) cannot be found through the
        // index's words.
        if (text::containsWhiteSpace(folded)) {
            m_indexed = false;
        } else if (m_indexed) {
            SearchVocabulary::Entries entries = SearchVocabulary::shared().containing(folded);
            if (first)
                m_entries = std::move(entries);
            else
                m_entries.intersect(entries);
            first = false;
        }
        m_words.append(std::move(folded));
    }
}

QString Save::foldedSearchText() const
{
    QString joined = d->post.text;
    joined += u' ';
    joined += d->post.author.name;
    joined += u' ';
    joined += d->post.author.handle.name;
    joined += u' ';
    joined += d->note;
    for (const Tag &tag : d->tags) {
        joined += u' ';
        joined += tag.name;
    }
    return text::fold(joined);
}

bool Save::matches(const SearchQuery &query) const
{
    if (query.isEmpty())
        return true;
    std::uint32_t entry = d->searchEntry.load(std::memory_order_acquire);
    if (query.answersFor(entry))
        return query.holdsAnswered(entry);
    // Not indexed yet (or indexed after the query was made): look in the text itself, and index
    // it on the way for the searches to come. While a thread indexes the saves ahead (after a
    // start), each field is looked in as it stands, folded only where it is not ASCII: the search
    // text joins the fields with spaces and its fold is theirs joined likewise, so a word without
    // white space is in it exactly when it is in one of them.
    const bool indexing = entry == 0 && !SearchVocabulary::shared().isBeingFilled();
    if (!indexing && query.m_indexed) {
        for (const QString &word : query.m_words) {
            bool found = text::foldedContains(d->post.text, word) || text::foldedContains(d->post.author.name, word)
                || text::foldedContains(d->post.author.handle.name, word) || text::foldedContains(d->note, word);
            for (qsizetype t = 0; !found && t < d->tags.size(); ++t)
                found = text::foldedContains(d->tags.at(t).name, word);
            if (!found)
                return false;
        }
        return true;
    }
    const QString haystack = foldedSearchText();
    if (indexing)
        indexSearchText(haystack);
    for (const QString &word : query.m_words)
        if (!haystack.contains(word))
            return false;
    return true;
}

void Save::prepare() const
{
    if (!isSearchIndexed())
        indexSearchText(foldedSearchText());
}

bool Save::isSearchIndexed() const
{
    return d->searchEntry.load(std::memory_order_acquire) != 0;
}

void Save::indexSearchText(const QString &folded) const
{
    if (isSearchIndexed())
        return;
    const std::uint32_t entry = SearchVocabulary::shared().index(folded);
    std::uint32_t none = 0;
    d->searchEntry.compare_exchange_strong(none, entry, std::memory_order_acq_rel);
}

bool Save::matches(const QString &query) const
{
    // One save, one query: looking in its folded text is the shortest way.
    const QStringList words = text::words(query);
    if (words.isEmpty())
        return true;
    const QString haystack = foldedSearchText();
    for (const QString &word : words)
        if (!haystack.contains(text::fold(word)))
            return false;
    return true;
}

std::uint32_t Save::authorIdentity() const
{
    std::uint32_t identity = d->authorIdentity.load(std::memory_order_relaxed);
    if (identity == 0) {
        identity = d->post.author.handle.identity();
        d->authorIdentity.store(identity, std::memory_order_relaxed);
    }
    return identity;
}


// ---- value ----------------------------------------------------------------------------------

Save::Save() : d(emptySave()) {}

Save::Save(ID id, Post post, Date savedAt) : d(new SaveData(std::move(id), std::move(post), savedAt)) {}

Save::Save(ID id, Post post, Date savedAt, bool isFavourite, std::optional<Collection::ID> collection,
           QList<Tag> tags, QString note, std::optional<Date> trashedAt)
    : d(new SaveData(std::move(id), std::move(post), savedAt))
{
    d->isFavourite = isFavourite;
    d->collection = std::move(collection);
    d->tags = std::move(tags);
    d->note = std::move(note);
    d->trashedAt = trashedAt;
}

Save::Save(const Save &) = default;
Save::Save(Save &&) noexcept = default;
Save &Save::operator=(const Save &) = default;
Save &Save::operator=(Save &&) noexcept = default;
Save::~Save() = default;



void Save::setFavourite(bool favourite)
{
    d->isFavourite = favourite;
}

void Save::setCollection(std::optional<Collection::ID> collection)
{
    d->collection = std::move(collection);
}

void Save::setTags(QList<Tag> tags)
{
    d->tags = std::move(tags);
    d->searchEntry.store(0, std::memory_order_release);
}

void Save::setNote(QString note)
{
    d->note = std::move(note);
    d->searchEntry.store(0, std::memory_order_release);
}

void Save::setTrashedAt(std::optional<Date> trashedAt)
{
    d->trashedAt = trashedAt;
}

bool operator==(const Save &a, const Save &b)
{
    if (a.sharesDataWith(b))
        return true;
    const SaveData &x = *a.d;
    const SaveData &y = *b.d;
    return x.id == y.id && x.post == y.post && x.savedAt == y.savedAt && x.isFavourite == y.isFavourite
        && x.collection == y.collection && x.tags == y.tags && text::canonicallyEqual(x.note, y.note)
        && x.trashedAt == y.trashedAt;
}

std::size_t qHash(const Save &save, std::size_t seed) noexcept
{
    seed = qHashMulti(seed, save.id(), save.post(), save.savedAt(), save.isFavourite());
    seed = qHashMulti(seed, save.collection().has_value());
    if (save.collection())
        seed = qHashMulti(seed, *save.collection());
    seed = qHashMulti(seed, save.tags().size());
    for (const Tag &tag : save.tags())
        seed = qHashMulti(seed, tag);
    seed = text::canonicalHash(save.note(), seed);
    seed = qHashMulti(seed, save.trashedAt().has_value());
    if (save.trashedAt())
        seed = qHashMulti(seed, *save.trashedAt());
    return seed;
}

// ---- JSON -----------------------------------------------------------------------------------

void Save::writeJson(std::string &out) const
{
    // Keys in sorted order, as the value tree would write them.
    out.push_back('{');
    if (d->collection) {
        out.append(R"("collection":{"raw":")");
        appendUuidText(out, d->collection->raw());
        out.append(R"("},)");
    }
    out.append(R"("id":{"raw":")");
    appendUuidText(out, d->id.raw());
    out.append(d->isFavourite ? R"("},"isFavourite":true,"note":)" : R"("},"isFavourite":false,"note":)");
    writeJsonString(out, QStringView(d->note));
    out.append(R"(,"post":)");
    d->post.writeJson(out);
    out.append(R"(,"savedAt":)");
    d->savedAt.writeJson(out);
    out.append(R"(,"tags":[)");
    bool first = true;
    for (const Tag &tag : d->tags) {
        out.append(first ? R"({"name":)" : R"(,{"name":)");
        first = false;
        writeJsonString(out, QStringView(tag.name));
        out.push_back('}');
    }
    out.push_back(']');
    if (d->trashedAt) {
        out.append(R"(,"trashedAt":)");
        d->trashedAt->writeJson(out);
    }
    out.push_back('}');
}

JsonValue Save::toJson() const
{
    std::string text;
    writeJson(text);
    return JsonValue::raw(std::move(text));
}

Save Save::fromJson(const JsonNode &node)
{
    // One pass over the members, named in the order the archive writes them; each is read (and a
    // missing one refused) in the order below.
    enum { collectionAt, idAt, isFavouriteAt, noteAt, postAt, savedAtAt, tagsAt, trashedAtAt };
    const JsonFields f = node.fields({"collection", "id", "isFavourite", "note", "post", "savedAt", "tags", "trashedAt"});
    auto id = ID::fromJson(f[idAt]);
    auto post = Post::fromJson(f[postAt]);
    const Date savedAt = Date::fromJson(f[savedAtAt]);
    const bool isFavourite = f[isFavouriteAt].boolean();
    std::optional<Collection::ID> collection;
    if (auto c = f.optional(collectionAt))
        collection = Collection::ID::fromJson(*c);
    const JsonNode tagsNode = f[tagsAt];
    if (!tagsNode.isArray())
        throw JsonError("Expected to decode an array for \"tags\" but found another kind of value.");
    QList<Tag> tags;
    if (const std::size_t count = tagsNode.elementCount()) {
        tags.reserve(qsizetype(count));
        tagsNode.forEachElement([&](const JsonNode &t) { tags.append(Tag::fromJson(t)); });
    }
    QString note = f[noteAt].string();
    std::optional<Date> trashedAt;
    if (auto t = f.optional(trashedAtAt))
        trashedAt = Date::fromJson(*t);
    return Save(std::move(id), std::move(post), savedAt, isFavourite, std::move(collection), std::move(tags),
                std::move(note), trashedAt);
}

}  // namespace sw
