#pragma once

// The table of local copies, keyed by post link. It is implicitly shared: copying it is one
// reference count, and only a change to a shared table copies it. Two X links to the same status
// are one key, whatever their handles; an entry keeps the link it was first recorded under.
//
// The bytes reserved and the bytes on disk are kept as exact sums as entries come and go.

#include "Capture/Json.h"
#include "Offline/LocalCopy.h"
#include "Capture/PostLink.h"

#include <QSharedData>
#include <QSharedDataPointer>
#include <QHashFunctions>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sw {

class CopyTable {
    struct Entry {
        PostLink link;         // as first recorded
        LinkKey key;           // the link's key
        LocalCopy copy;
    };
    // Looked up once per save whenever the shelf is read, so the table is built for it: the
    // entries lie in one array, and an open-addressing index over it holds each entry's key, so
    // that a lookup reads the index and, for the usual X link (whose key is exact), nothing else.
    // A key's first slot comes from a hash under this process's own key (hash::keyed), so that no
    // archive can crowd its keys into a few slots.
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t position = 0;   // 0: empty; else the entry's position + 1
        bool exact = false;
    };
    struct Data : QSharedData {
        std::vector<Entry> entries;   // in the order recorded; a taken entry's place goes to the last
        std::vector<Slot> index;      // a power of two long, at most half full
        std::uint64_t generation = 0;  // new with each change: what memos are checked against
        __int128 reserved = 0;
        __int128 onDisk = 0;
    };

public:
    class const_iterator {
    public:
        struct Item {
            const PostLink &link;
            const LocalCopy &copy;
        };
        const_iterator() = default;
        Item operator*() const { return {m_it->link, m_it->copy}; }
        const PostLink &link() const { return m_it->link; }
        const LocalCopy &copy() const { return m_it->copy; }
        LinkKey key() const { return m_it->key; }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b) { return a.m_it == b.m_it; }

    private:
        friend class CopyTable;
        explicit const_iterator(std::vector<Entry>::const_iterator it) : m_it(it) {}
        std::vector<Entry>::const_iterator m_it;
    };

    CopyTable();

    qsizetype size() const { return qsizetype(d->entries.size()); }
    // True when both are the same shared table: neither has changed since one was copied from the other.
    bool sharesDataWith(const CopyTable &other) const { return d.constData() == other.d.constData(); }
    bool isEmpty() const { return d->entries.empty(); }
    const_iterator begin() const { return const_iterator(d->entries.cbegin()); }
    const_iterator end() const { return const_iterator(d->entries.cend()); }

    // The link's entry, or null when it has none. The pointer lives as long as this table, or a
    // copy of it, is unchanged.
    const LocalCopy *find(const PostLink &link) const { return find(link, link.key()); }
    // The same, with the link's key already at hand (a save keeps its link's key).
    const LocalCopy *find(const PostLink &link, LinkKey key) const;

    // What lookUp() finds: the link's copy (null when it has none) and the copy's case (the
    // index of LocalCopy::Value).
    struct Found {
        const LocalCopy *copy = nullptr;
        std::size_t state = 0;
    };
    // find(), remembering in `memo` where the entry is (or that there is none), so that the next
    // look-up of the same link in this table, or in a copy of it, made while it is unchanged, is
    // answered from the memo alone. Each change of a table makes the memos of its earlier
    // contents stale.
    Found lookUp(const PostLink &link, LinkKey key, const LinkMemo &memo) const;
    bool contains(const PostLink &link) const { return find(link) != nullptr; }

    // Records the link's copy (replacing the entry's copy when the link has one).
    void insert(const PostLink &link, const LocalCopy &copy);
    // Removes the link's entry; gives its copy, or none when there was no entry.
    std::optional<LocalCopy> take(const PostLink &link);

    // The sums over all entries of the bytes on disk of finished copies plus the totals of
    // downloads under way (what the budget counts), and of finished copies alone; exact, then
    // saturated to the 64-bit range.
    std::int64_t reservedBytes() const;
    std::int64_t bytesOnDisk() const;
    __int128 exactReservedBytes() const { return d->reserved; }

    // Same keys with equal copies.
    friend bool operator==(const CopyTable &a, const CopyTable &b);

    // The archive's form: an array alternating link and copy, [link, copy, link, copy, ...], in
    // the table's own (unspecified) order; [] when empty.
    JsonValue toJson() const;
    void writeJson(std::string &out) const;
    // The entries from `from` up to `to` (or the end) of the same array, without its brackets,
    // each but the first entry's after a comma: the archive writes a large table a piece at a
    // time on several threads.
    void writeEntriesJson(std::string &out, std::size_t from, std::size_t to) const;
    // Fails on an array of odd length or on any link or copy that fails. When a link occurs in
    // two pairs, the later pair's copy is kept.
    static CopyTable fromJson(const JsonNode &node);

private:
    static const QSharedDataPointer<Data> &emptyData();
    // The index slot of the link: its own, or the empty one where it would go.
    std::size_t slotOf(const PostLink &link, LinkKey key) const;
    void reserve(std::size_t entries);
    void place(std::uint32_t position);
    // Records an entry whose texts are written (the link's text is not needed for a link
    // already recorded).
    void record(Entry entry);
    void changed();

    QSharedDataPointer<Data> d;
};

// Independent of the table's order.
std::size_t qHash(const CopyTable &table, std::size_t seed = 0) noexcept;

}  // namespace sw
