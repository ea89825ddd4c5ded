#pragma once

// The table of local copies, keyed by post link. It is implicitly shared: copying it is one
// reference count, and only a change to a shared table copies it. Two X links to the same status
// are one key, whatever their handles; an entry keeps the link it was first recorded under.
//
// The archive writes the whole table after every change, so each entry keeps its canonical JSON
// text ready and writing the table is a concatenation. The bytes reserved and the bytes on disk
// are kept as exact sums as entries come and go.

#include "Json.h"
#include "LocalCopy.h"
#include "PostLink.h"

#include <QByteArray>
#include <QHash>
#include <QHashFunctions>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace sw {

class CopyTable {
    struct Entry {
        LocalCopy copy;
        QByteArray linkJson;   // the canonical text of the entry's link
        QByteArray copyJson;   // the canonical text of its copy
    };
    using Map = QHash<PostLink, Entry>;

public:
    class const_iterator {
    public:
        struct Item {
            const PostLink &link;
            const LocalCopy &copy;
        };
        const_iterator() = default;
        Item operator*() const { return {m_it.key(), m_it.value().copy}; }
        const PostLink &link() const { return m_it.key(); }
        const LocalCopy &copy() const { return m_it.value().copy; }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b) { return a.m_it == b.m_it; }

    private:
        friend class CopyTable;
        explicit const_iterator(Map::const_iterator it) : m_it(it) {}
        Map::const_iterator m_it;
    };

    CopyTable() = default;

    qsizetype size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const_iterator begin() const { return const_iterator(m_entries.cbegin()); }
    const_iterator end() const { return const_iterator(m_entries.cend()); }

    // The link's entry, or null when it has none.
    const LocalCopy *find(const PostLink &link) const;
    bool contains(const PostLink &link) const { return m_entries.contains(link); }

    // Records the link's copy (replacing the entry's copy when the link has one).
    void insert(const PostLink &link, const LocalCopy &copy);
    // Removes the link's entry; gives its copy, or none when there was no entry.
    std::optional<LocalCopy> take(const PostLink &link);

    // The sums over all entries of the bytes on disk of finished copies plus the totals of
    // downloads under way (what the budget counts), and of finished copies alone; exact, then
    // saturated to the 64-bit range.
    std::int64_t reservedBytes() const;
    std::int64_t bytesOnDisk() const;
    __int128 exactReservedBytes() const { return m_reserved; }

    // Same keys with equal copies.
    friend bool operator==(const CopyTable &a, const CopyTable &b);

    // The archive's form: an array alternating link and copy, [link, copy, link, copy, ...], in
    // the table's own (unspecified) order; [] when empty.
    JsonValue toJson() const;
    void writeJson(std::string &out) const;
    // Fails on an array of odd length or on any link or copy that fails. When a link occurs in
    // two pairs, the later pair's copy is kept.
    static CopyTable fromJson(const JsonNode &node);

private:
    Map m_entries;
    __int128 m_reserved = 0;
    __int128 m_onDisk = 0;
    qsizetype m_jsonBytes = 0;   // the cached texts' total length, to size the output once
};

// Independent of the table's order.
std::size_t qHash(const CopyTable &table, std::size_t seed = 0) noexcept;

}  // namespace sw
