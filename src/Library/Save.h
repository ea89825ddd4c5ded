#pragma once

// A save: one kept post with what the user added to it (favourite mark, collection, tags, note,
// and the time it went to the trash).
//
// Saves are implicitly shared values: copying one (or a library of a hundred thousand) copies a
// pointer, equality of two copies of one save is a pointer comparison, and a change detaches only
// the save it touches. Each save keeps, alongside its data, its search text's entry in the shared
// search index, worked out on first use and dropped when a field it depends on changes. Its
// canonical JSON text is not kept: a library holds as many of those as the document has bytes,
// and the archive encodes them afresh on several threads about as fast as it copied them.

#include "Library/Collection.h"
#include "Capture/AlignedAllocation.h"
#include "Capture/Date.h"
#include "Library/Identifier.h"
#include "Capture/Json.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Library/SearchVocabulary.h"
#include "Library/Tag.h"

#include <QList>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace sw {

class Library;
class SaveData;

// A search field's text taken apart once: its words, folded without regard to case and
// diacritics. Build it once per query and test every save against it.
//
// The query looks for each word once in the shared index of the library's words (SearchVocabulary);
// an indexed save then only checks whether its entry is among those found.
class SearchQuery {
public:
    SearchQuery() = default;
    explicit SearchQuery(const QString &query);

    // No words: the query was empty or all white space (or its words fold to nothing), and every
    // save matches.
    bool isEmpty() const { return m_words.isEmpty(); }
    const QStringList &foldedWords() const { return m_words; }
    // The words a query of that text looks for, folded, without those that fold to nothing.
    static QStringList foldedWords(const QString &query);
    // Whether every save a query of the folded words `newer` matches, one of `older` matches too:
    // each older word lies within a newer one (neither holding white space, so each is looked for
    // within one word of a text).
    static bool narrows(const QStringList &newer, const QStringList &older);
    // Whether the entries the query found can tell if the text indexed under `entry`
    // (Save::searchEntry) holds every word: not without an entry, for an entry newer than the
    // query, or when a word is looked for in each text; then the save's own text decides
    // (Save::matches).
    bool answersFor(std::uint32_t entry) const { return entry != 0 && m_indexed && entry < m_entries.known(); }
    // Whether that text holds every word, for an entry the query answers for. Apart from the
    // question, so that a walk over many entries need not branch on each answer.
    bool holdsAnswered(std::uint32_t entry) const { return m_entries.contains(entry); }

private:
    friend class Save;
    QStringList m_words;
    // The texts in which every word occurs, as the shared index knows them.
    SearchVocabulary::Entries m_entries;
    bool m_indexed = false;   // false: some word must be looked for in each whole text
};

class Save {
public:
    struct IdKind;
    using ID = Identifier<IdKind>;

    // An empty save (nil id, empty post); a placeholder only.
    Save();
    // A new save as keeping makes it: not a favourite, filed nowhere, no tags, no note, live.
    Save(ID id, Post post, Date savedAt);
    // Every field given, as read from the archive.
    Save(ID id, Post post, Date savedAt, bool isFavourite, std::optional<Collection::ID> collection,
         QList<Tag> tags, QString note, std::optional<Date> trashedAt);
    Save(const Save &);
    Save(Save &&) noexcept;
    Save &operator=(const Save &);
    Save &operator=(Save &&) noexcept;
    ~Save();

    const ID &id() const;
    const Post &post() const;
    Date savedAt() const;
    bool isFavourite() const;
    const std::optional<Collection::ID> &collection() const;
    const QList<Tag> &tags() const;
    const QString &note() const;
    const std::optional<Date> &trashedAt() const;

    // In the trash exactly when trashedAt is set.
    bool isTrashed() const { return trashedAt().has_value(); }

    // True when every word of the query is found somewhere in the search text (the post's text,
    // the author's name and handle, the note and the tag names, joined by single spaces),
    // without regard to case or diacritics. A query without words matches every save.
    bool matches(const QString &query) const;
    bool matches(const SearchQuery &query) const;
    // The folded search text that matches() looks in.
    QString foldedSearchText() const;

    // Worked out once from the post, which never changes: its link's key, its kind, and the
    // identity of its author's handle (Handle::identity).
    LinkKey linkKey() const;
    Kind kind() const;
    Source source() const;
    std::uint32_t authorIdentity() const;
    // Where a table of local copies last found this save's link (see CopyTable::lookUp).
    const LinkMemo &copyMemo() const;

    // Works out, unless it has been already, what the save keeps for later: its search text's
    // entry in the shared index. Safe on any thread while others read the save: the entry is
    // published atomically.
    void prepare() const;
    // The same, with the search text given folded.
    bool isSearchIndexed() const;
    // Its search text's entry in the shared index; 0 until indexed.
    std::uint32_t searchEntry() const;
    void indexSearchText(const QString &folded) const;

    // True when both are the same shared save (a cheap first test before a full comparison).
    bool sharesDataWith(const Save &other) const;
    // A hint to the processor, for walks over many saves: this save will be read soon.
    void prefetch() const
    {
        const char *data = reinterpret_cast<const char *>(d.constData());
        __builtin_prefetch(data);
        __builtin_prefetch(data + 64);
    }
    // The same for a walk that reads only what lies in the first line of the data (see SaveData).
    void prefetchFirstLine() const { __builtin_prefetch(d.constData()); }
    // The same for a walk that copies or lets go of saves: only the count of holders, which
    // lies at the start of the data, is changed.
    void prefetchCount() const { __builtin_prefetch(d.constData(), 1); }
    // The same for a walk that writes saves' texts: every line of the data.
    void prefetchForWriting() const;

    // All eight fields, in order; dates exact, names and texts under canonical equivalence.
    friend bool operator==(const Save &a, const Save &b);

    // {"id", "post", "savedAt", "isFavourite", "collection"?, "tags", "note", "trashedAt"?}.
    JsonValue toJson() const;
    // Appends the same text.
    void writeJson(std::string &out) const;
    // "collection" and "trashedAt" may be missing or null; every other key is required. Names,
    // notes and the rest are taken as stored. Throws JsonError.
    static Save fromJson(const JsonNode &node);

private:
    friend class Library;
    // The changeable fields, written only by the library's operations.
    void setFavourite(bool favourite);
    void setCollection(std::optional<Collection::ID> collection);
    void setTags(QList<Tag> tags);
    void setNote(QString note);
    void setTrashedAt(std::optional<Date> trashedAt);

    QSharedDataPointer<SaveData> d;
};

// The data of a save, shared by its copies. It is in the header so that the accessors inline:
// the shelf reads a few fields of every save of the library on each read. Those fields come
// first, in the first two cache lines of the object, which a walk asks for ahead (prefetch());
// what making a shelf's item of the save reads (the count of holders, the kind, where the copy
// table found its link and the link's key) all lies in the first (prefetchFirstLine()).
class alignas(64) SaveData : public QSharedData {
public:
    SaveData() = default;
    SaveData(Save::ID id, Post post, Date savedAt)
        : kind(post.kind()), source(post.link.source()), savedAt(savedAt), linkKey(post.link.key()),
          id(std::move(id)), post(std::move(post)) {}
    // A detached copy is about to be changed: what only the post decides stays; its search words
    // stay until a note or tags change.
    SaveData(const SaveData &o)
        : QSharedData(o), isFavourite(o.isFavourite), kind(o.kind), source(o.source),
          authorIdentity(o.authorIdentity.load(std::memory_order_relaxed)),
          searchEntry(o.searchEntry.load(std::memory_order_acquire)), trashedAt(o.trashedAt), savedAt(o.savedAt),
          copyMemo(o.copyMemo), linkKey(o.linkKey), collection(o.collection), id(o.id), post(o.post), tags(o.tags),
          note(o.note) {}
    SaveData &operator=(const SaveData &) = delete;

    // A library holds one per save: taken without the allocator's aligned path (see
    // allocateAligned).
    static void *operator new(std::size_t size, std::align_val_t alignment)
    {
        return allocateAligned(size, std::size_t(alignment));
    }
    static void operator delete(void *data, std::align_val_t) noexcept { releaseAligned(data); }

    bool isFavourite = false;
    // What the post alone decides, worked out once: the post never changes.
    Kind kind;
    Source source;
    mutable std::atomic<std::uint32_t> authorIdentity{0};   // 0 until first asked for
    // The search text's entry in the shared search index (0 until first searched; copies share
    // it, since they share the text).
    mutable std::atomic<std::uint32_t> searchEntry{0};
    std::optional<Date> trashedAt;
    Date savedAt;
    LinkMemo copyMemo;
    LinkKey linkKey;
    std::optional<Collection::ID> collection;
    Save::ID id;

    Post post;
    QList<Tag> tags;
    QString note;
};

inline const Save::ID &Save::id() const { return d->id; }
inline const Post &Save::post() const { return d->post; }
inline Date Save::savedAt() const { return d->savedAt; }
inline bool Save::isFavourite() const { return d->isFavourite; }
inline const std::optional<Collection::ID> &Save::collection() const { return d->collection; }
inline const QList<Tag> &Save::tags() const { return d->tags; }
inline const QString &Save::note() const { return d->note; }
inline const std::optional<Date> &Save::trashedAt() const { return d->trashedAt; }
inline LinkKey Save::linkKey() const { return d->linkKey; }
inline Kind Save::kind() const { return d->kind; }
inline Source Save::source() const { return d->source; }
inline const LinkMemo &Save::copyMemo() const { return d->copyMemo; }
inline std::uint32_t Save::searchEntry() const { return d->searchEntry.load(std::memory_order_acquire); }
inline bool Save::sharesDataWith(const Save &other) const { return d.constData() == other.d.constData(); }
inline void Save::prefetchForWriting() const
{
    const char *data = reinterpret_cast<const char *>(d.constData());
    for (std::size_t at = 0; at < sizeof(SaveData); at += 64)
        __builtin_prefetch(data + at);
}

// Walks the saves in order, asking for each save's data some steps ahead so that the memory
// reads of a long walk overlap.
template <typename Visit>
void forEachSave(const QList<Save> &saves, Visit &&visit)
{
    constexpr qsizetype ahead = 12;
    const qsizetype n = saves.size();
    const Save *data = saves.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (i + ahead < n)
            data[i + ahead].prefetch();
        visit(data[i]);
    }
}

std::size_t qHash(const Save &save, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Save> {
    std::size_t operator()(const sw::Save &s) const noexcept { return sw::qHash(s, 0); }
};
