#pragma once

// One save as the shelf shows it: the save, its local copy, the quality in force, its cover and
// one picture per attachment; and what its main button offers.

#include "Offline/CopyTable.h"
#include "Offline/Covers.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalFile.h"
#include "Offline/MediaFolder.h"
#include "Capture/Post.h"
#include "Library/Save.h"
#include "Library/SaveList.h"
#include "Capture/Url.h"

#include <QArrayDataPointer>
#include <QHashFunctions>
#include <QList>
#include <QSharedData>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <optional>
#include <variant>
#include <vector>

namespace sw {

// What an item's main button does.
class Action {
public:
    struct Download {       // fetch the media: their bytes at the item's quality
        std::int64_t bytes = 0;
        friend bool operator==(const Download &, const Download &) = default;
    };
    struct Downloading {    // under way: the fraction received (not clamped; drawing clamps)
        double fraction = 0;
        friend bool operator==(const Downloading &, const Downloading &) = default;
    };
    struct Retry { friend bool operator==(const Retry &, const Retry &) = default; };
    struct Play { friend bool operator==(const Play &, const Play &) = default; };
    struct Open { friend bool operator==(const Open &, const Open &) = default; };
    struct OpenOnX { friend bool operator==(const OpenOnX &, const OpenOnX &) = default; };
    struct Restore { friend bool operator==(const Restore &, const Restore &) = default; };
    using Value = std::variant<Download, Downloading, Retry, Play, Open, OpenOnX, Restore>;

    Action() = default;   // open
    Action(Value value) : m_value(value) {}
    template <typename Case>
        requires std::is_constructible_v<Value, Case> && (!std::is_same_v<std::decay_t<Case>, Value>)
    Action(Case c) : m_value(c) {}
    static Action download(std::int64_t bytes) { return Download{bytes}; }
    static Action downloading(double fraction) { return Downloading{fraction}; }
    static Action retry() { return Retry{}; }
    static Action play() { return Play{}; }
    static Action open() { return Open{}; }
    static Action openOnX() { return OpenOnX{}; }
    static Action restore() { return Restore{}; }

    const Value &value() const { return m_value; }
    std::size_t index() const { return m_value.index(); }

    friend bool operator==(const Action &, const Action &) = default;

private:
    Value m_value{Open{}};
};
std::size_t qHash(const Action &action, std::size_t seed = 0) noexcept;

class ShelfItem {
public:
    const Save &save() const { return *m_save; }
    // The post's local copy in the shelf's table of copies; linkOnly when none is recorded. Looked
    // up when asked (the table remembers in the save where it found it), not when the item is
    // made: a shelf makes an item for every save it lists, a view reads the copies of a few.
    const LocalCopy &copy() const;
    Quality quality() const { return m_quality; }
    // The post's kind, kept in the item: a long list's kinds are read without going to each save.
    Kind kind() const { return m_kind; }
    // A word of the save's id, kept likewise: equal ids have equal words (idKey(id)), so that a
    // long list is searched for an id by going to the saves only where the words are equal.
    std::uint64_t idKey() const { return m_idKey; }
    static std::uint64_t idKey(const Save::ID &id);
    // The place of the first of `items` whose save has `id`, or -1: only the items whose words
    // equal the id's go to their saves.
    static qsizetype indexOf(const QList<ShelfItem> &items, const Save::ID &id);
    // The picture that stands for the save: the kept cover file, else the post's preview.
    std::optional<Url> cover() const;
    // One entry per attachment, in attachment order: the cover for the first video and for a
    // page, none for a later video; for an image its downloaded file, else the cover (the first
    // attachment) or its own remote address.
    std::vector<std::optional<Url>> pictures() const;

    void setQuality(Quality quality) { m_quality = quality; }
    // The pictures were worked out with the cover the item was built with; a cover set later
    // leaves them as they were.
    void setCover(std::optional<Url> cover);
    void setPictures(std::vector<std::optional<Url>> pictures);

    // The first rule that applies: a trashed save is restored; a post without attachments is
    // opened (web) or opened on X; otherwise the copy decides: downloading (its fraction, 1.0 of
    // a total of 0), play (a video post here) or open (any other post here), retry (failed), or
    // download (its bytes at the item's quality).
    Action action() const;
    // The file of the post's first video, when its copy is here and lists a file at that
    // attachment's position.
    std::optional<LocalFile> videoFile() const;

    // All five fields: save, copy, quality, cover and pictures.
    friend bool operator==(const ShelfItem &a, const ShelfItem &b);

    // Lets go of lists of items on a thread of Qt's pool: each item of a long list gives back its
    // hold on what its shelf shares, and the list's megabytes go back to the system (or, for a few
    // of the longest, are kept as room for the next long lists), neither of which the caller need
    // wait for. Only counts of holders change there, which shared values
    // allow on any thread; a shelf's saves whose last holder an item was go with it, no one else
    // having them to read.
    static void letGoElsewhere(std::vector<QList<ShelfItem>> lists);

private:
    friend class Shelf;
    // What the shelf knows beyond the save and its copy, shared by all of its items.
    struct Context {
        std::optional<Covers> covers;
        MediaFolder folder;
        CopyTable copies;   // the items' copies live here, unchanged while any item does
        // The library's saves, where the items of its saves point: held here, the list's chunks
        // stay as they are while any item does (a change to the library copies the chunks it
        // changes), so an item needs no hold of its own on its save.
        SaveList saves;
    };
    static const LocalCopy &linkOnly();

    // A cover or pictures set explicitly, which few items ever have: kept aside so that the
    // items of a long list stay small.
    struct Overrides {
        std::optional<std::optional<Url>> cover;
        std::optional<std::vector<std::optional<Url>>> pictures;
    };
    // What an item holds of its context and overrides: one pointer with a count of its own, which
    // the many items of a list share (a list made on several threads, one per thread, so that the
    // threads do not all change one count). An item given overrides gets a hold of its own.
    struct Hold : QSharedData {
        std::shared_ptr<const Context> context;
        std::shared_ptr<const Overrides> overrides;   // none until a setter is used
        std::shared_ptr<const Save> own;              // the save of an item made of any save
    };
    using Holder = QExplicitlySharedDataPointer<Hold>;
    static Holder hold(std::shared_ptr<const Context> context);
    // Empty room for a list of `n` items: where one fits, the room of a long list let go lately
    // (letGoElsewhere keeps a few), whose memory is in place already.
    static QArrayDataPointer<ShelfItem> roomFor(qsizetype n);

    // An item of a save that lies in the context's list of saves (`stored` points there): making
    // it reads nothing of the save's data, and neither do its copies nor letting it go. The key
    // is the id's (SaveList::chunkKeys), the kind the save's. The cover and the pictures are
    // worked out when they are read: a view draws only the few items on screen.
    ShelfItem(const Save *stored, Quality quality, Holder hold, std::uint64_t key, Kind kind)
        : m_save(stored), m_hold(std::move(hold)), m_idKey(foldedKey(key)), m_quality(quality), m_kind(kind) {}
    // An item of any save, which it keeps a copy of in a hold of its own.
    static ShelfItem owning(Save save, Quality quality, std::shared_ptr<const Context> context);

    // The id's key folded into half a word: equal ids still have equal keys, and an item stays
    // three words long (a list of a hundred thousand takes a few megabytes, and a shelf keeps some).
    static std::uint32_t foldedKey(std::uint64_t key) { return std::uint32_t(key ^ (key >> 32)); }
    const Context *context() const { return m_hold ? m_hold->context.get() : nullptr; }
    const Overrides *overrides() const { return m_hold ? m_hold->overrides.get() : nullptr; }
    void setOverrides(std::shared_ptr<const Overrides> overrides);

    const Save *m_save;   // in the context's list of saves, or the hold's own
    Holder m_hold;
    std::uint32_t m_idKey;
    Quality m_quality;
    Kind m_kind;
};
std::size_t qHash(const ShelfItem &item, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Action> {
    std::size_t operator()(const sw::Action &a) const noexcept { return sw::qHash(a, 0); }
};
template <> struct std::hash<sw::ShelfItem> {
    std::size_t operator()(const sw::ShelfItem &i) const noexcept { return sw::qHash(i, 0); }
};
