#pragma once

// A save: one kept post with what the user added to it (favourite mark, collection, tags, note,
// and the time it went to the trash).
//
// Saves are implicitly shared values: copying one (or a library of a hundred thousand) copies a
// pointer, equality of two copies of one save is a pointer comparison, and a change detaches only
// the save it touches. Each save keeps, alongside its data, its folded search text and its
// canonical JSON text, computed on first use and dropped when a field changes.

#include "Collection.h"
#include "Date.h"
#include "Identifier.h"
#include "Json.h"
#include "Post.h"
#include "Tag.h"

#include <QList>
#include <QSharedDataPointer>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <string>

namespace sw {

class Library;
class SaveData;

// A search field's text taken apart once: its words, folded without regard to case and
// diacritics. Build it once per query and test every save against it.
class SearchQuery {
public:
    SearchQuery() = default;
    explicit SearchQuery(const QString &query);

    // No words: the query was empty or all white space, and every save matches.
    bool isEmpty() const { return m_words.isEmpty(); }
    const QStringList &foldedWords() const { return m_words; }

private:
    QStringList m_words;
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
    // The folded search text that matches() looks in (computed once, kept with the save).
    QString foldedSearchText() const;

    // True when both are the same shared save (a cheap first test before a full comparison).
    bool sharesDataWith(const Save &other) const;

    // All eight fields, in order; dates exact, names and texts under canonical equivalence.
    friend bool operator==(const Save &a, const Save &b);

    // {"id", "post", "savedAt", "isFavourite", "collection"?, "tags", "note", "trashedAt"?}.
    // The canonical text is kept with the save, so writing an unchanged save again is a copy.
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

std::size_t qHash(const Save &save, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Save> {
    std::size_t operator()(const sw::Save &s) const noexcept { return sw::qHash(s, 0); }
};
