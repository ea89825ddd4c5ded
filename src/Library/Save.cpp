#include "Save.h"

#include "Text.h"

#include <QSharedData>

#include <atomic>
#include <memory>
#include <string>
#include <utility>

namespace sw {

class SaveData : public QSharedData {
public:
    SaveData() = default;
    SaveData(Save::ID id, Post post, Date savedAt)
        : id(std::move(id)), post(std::move(post)), savedAt(savedAt) {}
    // A detached copy starts with empty caches: it is about to be changed.
    SaveData(const SaveData &o)
        : QSharedData(o), id(o.id), post(o.post), savedAt(o.savedAt), isFavourite(o.isFavourite),
          collection(o.collection), tags(o.tags), note(o.note), trashedAt(o.trashedAt) {}
    SaveData &operator=(const SaveData &) = delete;

    Save::ID id;
    Post post;
    Date savedAt;
    bool isFavourite = false;
    std::optional<Collection::ID> collection;
    QList<Tag> tags;
    QString note;
    std::optional<Date> trashedAt;

    // Derived texts, computed on first use. Readers on several threads may race to fill them;
    // each computes the same value, so whichever store wins is right.
    mutable std::atomic<std::shared_ptr<const QString>> searchText;
    mutable std::atomic<std::shared_ptr<const std::string>> json;

    void forgetDerived()
    {
        searchText.store(nullptr);
        json.store(nullptr);
    }
};

namespace {

const QSharedDataPointer<SaveData> &emptySave()
{
    static const QSharedDataPointer<SaveData> empty(new SaveData);
    return empty;
}

// The maximal runs of non-white-space characters (all white space is in the BMP).
QStringList splitWords(QStringView s)
{
    QStringList out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i == s.size() || text::isWhiteSpace(s.at(i).unicode())) {
            if (start >= 0)
                out.append(s.sliced(start, i - start).toString());
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return out;
}

}  // namespace

// ---- search ---------------------------------------------------------------------------------

SearchQuery::SearchQuery(const QString &query)
{
    const QStringList words = splitWords(query);
    m_words.reserve(words.size());
    for (const QString &w : words)
        m_words.append(text::fold(w));
}

QString Save::foldedSearchText() const
{
    if (auto cached = d->searchText.load())
        return *cached;
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
    auto folded = std::make_shared<const QString>(text::fold(joined));
    d->searchText.store(folded);
    return *folded;
}

bool Save::matches(const SearchQuery &query) const
{
    if (query.isEmpty())
        return true;
    const QString haystack = foldedSearchText();
    for (const QString &word : query.foldedWords())
        if (!haystack.contains(word))
            return false;
    return true;
}

bool Save::matches(const QString &query) const
{
    return matches(SearchQuery(query));
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

const Save::ID &Save::id() const { return d->id; }
const Post &Save::post() const { return d->post; }
Date Save::savedAt() const { return d->savedAt; }
bool Save::isFavourite() const { return d->isFavourite; }
const std::optional<Collection::ID> &Save::collection() const { return d->collection; }
const QList<Tag> &Save::tags() const { return d->tags; }
const QString &Save::note() const { return d->note; }
const std::optional<Date> &Save::trashedAt() const { return d->trashedAt; }

bool Save::sharesDataWith(const Save &other) const
{
    return d.constData() == other.d.constData();
}

void Save::setFavourite(bool favourite)
{
    d->isFavourite = favourite;
    d->forgetDerived();
}

void Save::setCollection(std::optional<Collection::ID> collection)
{
    d->collection = std::move(collection);
    d->forgetDerived();
}

void Save::setTags(QList<Tag> tags)
{
    d->tags = std::move(tags);
    d->forgetDerived();
}

void Save::setNote(QString note)
{
    d->note = std::move(note);
    d->forgetDerived();
}

void Save::setTrashedAt(std::optional<Date> trashedAt)
{
    d->trashedAt = trashedAt;
    d->forgetDerived();
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
    if (auto cached = d->json.load()) {
        out.append(*cached);
        return;
    }
    const std::size_t start = out.size();
    // Keys in sorted order, as the value tree would write them.
    out.push_back('{');
    if (d->collection) {
        out.append(R"("collection":{"raw":")");
        out.append(uuidStdText(d->collection->raw()));
        out.append(R"("},)");
    }
    out.append(R"("id":{"raw":")");
    out.append(uuidStdText(d->id.raw()));
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
    d->json.store(std::make_shared<const std::string>(out, start));
}

JsonValue Save::toJson() const
{
    if (auto cached = d->json.load())
        return JsonValue::raw(*cached);
    std::string text;
    writeJson(text);
    return JsonValue::raw(std::move(text));
}

Save Save::fromJson(const JsonNode &node)
{
    auto id = ID::fromJson(node["id"]);
    auto post = Post::fromJson(node["post"]);
    const Date savedAt = Date::fromJson(node["savedAt"]);
    const bool isFavourite = node["isFavourite"].boolean();
    std::optional<Collection::ID> collection;
    if (auto c = node.optional("collection"))
        collection = Collection::ID::fromJson(*c);
    const JsonNode tagsNode = node["tags"];
    if (!tagsNode.isArray())
        throw JsonError("Expected to decode an array for \"tags\" but found another kind of value.");
    QList<Tag> tags;
    const auto elements = tagsNode.elements();
    tags.reserve(qsizetype(elements.size()));
    for (const JsonNode &t : elements)
        tags.append(Tag::fromJson(t));
    QString note = node["note"].string();
    std::optional<Date> trashedAt;
    if (auto t = node.optional("trashedAt"))
        trashedAt = Date::fromJson(*t);
    return Save(std::move(id), std::move(post), savedAt, isFavourite, std::move(collection), std::move(tags),
                std::move(note), trashedAt);
}

}  // namespace sw
