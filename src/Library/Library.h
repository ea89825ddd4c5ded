#pragma once

// The whole personal library as one value: the saves (newest first by saved time) and the
// collections (in order of creation), with every operation that changes it in place and every
// question the rest of the system asks of it.
//
// Copying a library is cheap: both lists are implicitly shared, and so is every save in them.
// An edit of a copy copies only the chunk of saves it changes (see SaveList). The core applies an
// edit to a copy and compares the copy with the original; chunks and saves both share compare by
// pointer. Every lookup is a walk of the list, front to back, first match wins.

#include "Library/Collection.h"
#include "Capture/Date.h"
#include "Capture/Json.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Library/Save.h"
#include "Library/SaveList.h"
#include "Library/Tag.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>
#include <variant>
#include <vector>

namespace sw {

class Library {
public:
    // The width of the recent-saves window: 7 days, in seconds.
    static constexpr double recentWindow = 604800;

    // What keeping a post did.
    struct Kept {          // a new save was added, with the id the caller supplied
        Save::ID id;
        friend bool operator==(const Kept &, const Kept &) = default;
    };
    struct AlreadyKept {   // a live save has the same link; nothing changed
        Save::ID id;
        friend bool operator==(const AlreadyKept &, const AlreadyKept &) = default;
    };
    struct Restored {      // a trashed save had the same link and has been taken out of the trash
        Save::ID id;
        friend bool operator==(const Restored &, const Restored &) = default;
    };
    using Keeping = std::variant<Kept, AlreadyKept, Restored>;
    // The save id carried by any case.
    static Save::ID idOf(const Keeping &keeping);

    SaveList saves;                 // library order: newest saved first
    QList<Collection> collections;  // order of creation; reinstated ones come back last

    Library() = default;
    Library(SaveList saves, QList<Collection> collections)
        : saves(std::move(saves)), collections(std::move(collections)) {}

    // ---- operations ------------------------------------------------------------------------

    // Keeps a post. A save with the same link (trashed ones included) decides: trashed, it is
    // restored (nothing else of it changes); live, nothing changes. Otherwise a new save is made
    // with `as` and inserted before the first save saved strictly earlier than `at`. A collection
    // id that names no collection files the new save nowhere.
    Keeping keep(const Post &post, Date at, const std::optional<Collection::ID> &in, const Save::ID &as);

    // Flips the favourite mark.
    void favourite(const Save::ID &id);
    // Moves a save to the trash; a save already there keeps its first trashedAt.
    void trash(const Save::ID &id, Date at);
    // Takes a save out of the trash.
    void restore(const Save::ID &id);
    // Removes every trashed save and returns them, in library order.
    QList<Save> emptyTrash();

    // Files a save into a collection, or out of its collection when `in` is absent. A given id
    // that names no collection is refused before anything else.
    std::expected<void, CollectionRefusal> file(const Save::ID &id, const std::optional<Collection::ID> &in);

    // Appends a tag unless the save has one of that exact name. The tag is taken as given.
    void tag(const Save::ID &id, const Tag &tag);
    // Removes every tag of that exact name.
    void untag(const Save::ID &id, const Tag &tag);
    // Replaces the note with the text, unchanged.
    void writeNote(const QString &note, const Save::ID &on);

    // Makes a collection with the trimmed name and the given swatch (or nextSwatch()).
    std::expected<Collection::ID, CollectionRefusal> makeCollection(const QString &named,
                                                                    std::optional<Swatch> swatch = std::nullopt);
    // Renames a collection (it may take its own name again in another case or with other accents).
    std::expected<void, CollectionRefusal> rename(const Collection::ID &id, const QString &to);
    // Sets a collection's swatch; any swatch is allowed.
    void recolour(const Collection::ID &id, Swatch to);
    // Removes the collection and unfiles the saves filed under its id (also when no collection
    // had it); returns those saves' ids in library order.
    QList<Save::ID> removeCollection(const Collection::ID &id);
    // Puts a collection back (appended, unless one with its id is there) and files the listed saves in it.
    void reinstate(const Collection &collection, const QList<Save::ID> &filing);

    // ---- lookups ---------------------------------------------------------------------------

    // Why `forName` cannot name a collection (made, or renamed from `renaming`), or none.
    std::optional<CollectionRefusal> refusal(const QString &forName,
                                             const std::optional<Collection::ID> &renaming = std::nullopt) const;
    // The first collection whose name is the same name as the trimmed text (case and diacritics aside).
    std::optional<Collection> collection(const QString &named) const;
    std::optional<Collection> collection(const Collection::ID &id) const;
    std::optional<Save> save(const Save::ID &id) const;
    // The first save of that link (PostLink equality), trashed ones included.
    std::optional<Save> save(const PostLink &link) const;
    // save(link) for each of `links`, in their order, in one walk over the saves: for many links
    // at once (the downloads a start found interrupted, the addresses of a drop).
    QList<std::optional<Save>> firstSaves(const QList<PostLink> &links) const;
    // The swatch for a new collection.
    Swatch nextSwatch() const;

    // ---- queries (new lists, library order) --------------------------------------------------

    QList<Save> live() const;
    QList<Save> trash() const;
    QList<Save> favourites() const;                 // live favourites
    // Live saves at most recentWindow seconds old at `now`; saves dated after now count as recent.
    QList<Save> recentlyAdded(Date now) const;
    QList<Save> filed(const Collection::ID &in) const;
    QList<Save> live(const Handle &by) const;        // by author handle, case aside
    QList<Save> live(Kind of) const;
    QList<Save> live(Source from) const;
    // The authors of X saves with the most live saves, most first (ties: the latest save first),
    // at most `limit` of them. Each entry carries the author record of its last save in library order.
    QList<Author> topAuthors(qsizetype limit) const;

    // The tally behind topAuthors, for a walk over the saves that does other work too: shown the
    // saves in library order, it answers what topAuthors answers for them. It keeps pointers to
    // the saves it was shown, which must outlive it.
    class AuthorTally {
    public:
        // Counts a live save of an X link; passes over the others.
        void add(const Save &save);
        QList<Author> top(qsizetype limit) const;

    private:
        struct Entry {
            const Save *last = nullptr;   // the last save met: its author record is the entry's
            qsizetype count = 0;
            Date latest{-std::numeric_limits<double>::infinity()};
        };
        // Entries in the order their handles are first met, so that full ties come out the same
        // way every time. Handles are told apart by their identities, which equal handles share.
        // Identities are small numbers handed out in turn, so a plain array maps them to entries.
        std::vector<Entry> m_entries;
        std::vector<std::int32_t> m_entryOf;   // by identity; -1 for none yet
    };

    // Pairwise equal saves and collections, in order.
    friend bool operator==(const Library &a, const Library &b);

    // {"collections": [...], "saves": [...]}
    JsonValue toJson() const;
    // Both keys required; arrays taken in stored order; no invariant is tested. Throws JsonError.
    static Library fromJson(const JsonNode &node);

    // Empties a list of saves. When it is their last holder, the saves are let go with their data
    // asked for ahead, which for a large library costs a fraction of a plain destruction.
    static void letGoOf(SaveList &saves) { saves.letGo(); }

private:
    qsizetype indexOfSave(const Save::ID &id) const;
    // The save at i, in a chunk of this library's own (copied first when it is shared).
    Save &ownSave(qsizetype i);
    qsizetype indexOfCollection(const Collection::ID &id) const;
};

std::size_t qHash(const Library &library, std::size_t seed = 0) noexcept;
std::size_t qHash(const Library::Keeping &keeping, std::size_t seed = 0) noexcept;

}  // namespace sw
