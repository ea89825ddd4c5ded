#pragma once

// The saves of a library, in order, as a list that a change copies only in part.
//
// The saves lie in chunks of a few hundred, each an implicitly shared QList, under a small table
// of chunks (itself shared). Beside each chunk's saves lie their ids' keys, a word each, so that
// finding a save by id reads a short array instead of every save's data. Copying the list copies a pointer; changing one save of a copy
// copies the table (a few hundred chunk handles) and the one chunk that holds the save, not
// the hundred thousand saves of a large library. The chunks that two lists share are found by
// identity, so that telling what an edit changed (diffPlaces) passes over them whole.
//
// The interface is QList's where callers use it: size, at and [], iteration, insert, remove,
// removeIf, append, equality. Reads of a list never change it, so a list may be read on one
// thread while a copy of it is changed on another.

#include "Library/Save.h"

#include <QList>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

namespace sw {

class SaveList {
public:
    // Chunks are built this full; one that grows to twice as many is split, and one that shrinks
    // under a quarter of it is merged with a neighbour.
    static constexpr qsizetype chunkSize = 256;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Save;
        using difference_type = qsizetype;
        using pointer = const Save *;
        using reference = const Save &;

        const_iterator() = default;

        reference operator*() const { return *m_at; }
        pointer operator->() const { return m_at; }
        reference operator[](difference_type n) const { return *(*this + n); }
        qsizetype index() const { return m_index; }

        const_iterator &operator++()
        {
            ++m_index;
            if (++m_at == m_end)
                enter(m_chunk + 1);
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator was = *this;
            ++*this;
            return was;
        }
        const_iterator &operator--()
        {
            *this = m_list->iteratorAt(m_index - 1);
            return *this;
        }
        const_iterator operator--(int)
        {
            const_iterator was = *this;
            --*this;
            return was;
        }
        const_iterator &operator+=(difference_type n)
        {
            if (n != 0)
                *this = m_list->iteratorAt(m_index + n);
            return *this;
        }
        const_iterator &operator-=(difference_type n) { return *this += -n; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator &a, const const_iterator &b)
        {
            return a.m_index - b.m_index;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b) { return a.m_index == b.m_index; }
        friend auto operator<=>(const const_iterator &a, const const_iterator &b) { return a.m_index <=> b.m_index; }

    private:
        friend class SaveList;
        const_iterator(const SaveList *list, qsizetype chunk, qsizetype offset, qsizetype index)
            : m_list(list), m_index(index)
        {
            enter(chunk, offset);
        }
        void enter(qsizetype chunk, qsizetype offset = 0)
        {
            m_chunk = chunk;
            if (chunk < m_list->m_chunks.size()) {
                const QList<Save> &c = m_list->m_chunks.at(chunk).saves;
                m_at = c.constData() + offset;
                m_end = c.constData() + c.size();
            } else {
                m_at = m_end = nullptr;
            }
        }

        const SaveList *m_list = nullptr;
        qsizetype m_index = 0;
        qsizetype m_chunk = 0;
        const Save *m_at = nullptr;
        const Save *m_end = nullptr;
    };
    using iterator = const_iterator;
    using value_type = Save;
    using size_type = qsizetype;
    using difference_type = qsizetype;
    using const_reference = const Save &;

    SaveList() = default;
    SaveList(std::initializer_list<Save> saves);
    // Implicit: a list of saves is taken in chunks.
    SaveList(const QList<Save> &saves);
    SaveList(std::vector<Save> &&saves);

    qsizetype size() const { return m_size; }
    qsizetype count() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    bool empty() const { return m_size == 0; }

    const Save &at(qsizetype i) const
    {
        const auto [chunk, offset] = locate(i);
        return m_chunks.at(chunk).saves.at(offset);
    }
    const Save &operator[](qsizetype i) const { return at(i); }
    const Save &first() const { return m_chunks.first().saves.first(); }
    const Save &last() const { return m_chunks.last().saves.last(); }

    const_iterator begin() const { return iteratorAt(0); }
    const_iterator end() const { return const_iterator(this, m_chunks.size(), 0, m_size); }

    // The save at i, in a chunk of this list's own (the chunk, and the table, copied first when
    // they are shared), to be changed in place: its id must stay (to put another save there, use
    // replace()).
    Save &own(qsizetype i);
    void replace(qsizetype i, Save save);

    void append(Save save);
    void append(const SaveList &saves);
    void insert(qsizetype i, Save save);
    void remove(qsizetype i, qsizetype n = 1);
    void removeAt(qsizetype i) { remove(i, 1); }
    void removeLast() { remove(m_size - 1, 1); }
    Save takeAt(qsizetype i);
    // The save at `from` taken out and put back at `to`.
    void move(qsizetype from, qsizetype to);
    void swapItemsAt(qsizetype i, qsizetype j);
    // Removes the saves that pass the test; answers how many. Chunks without one stay shared.
    template <typename Test>
    qsizetype removeIf(Test test);
    void clear() { *this = SaveList(); }
    // Nothing to reserve: kept for callers written against QList.
    void reserve(qsizetype) {}

    qsizetype indexOf(const Save &save, qsizetype from = 0) const;
    // The place of the first save with that id, or -1.
    qsizetype indexOf(const Save::ID &id) const;
    bool contains(const Save &save) const { return indexOf(save) >= 0; }

    QList<Save> toList() const;
    SaveList mid(qsizetype from, qsizetype n = -1) const;

    // True when both hold the same table of chunks: nothing can differ.
    bool sharesDataWith(const SaveList &other) const
    {
        return m_chunks.constData() == other.m_chunks.constData() && m_size == other.m_size;
    }
    // The chunks, for walks that go a chunk at a time.
    qsizetype chunkCount() const { return m_chunks.size(); }
    const QList<Save> &chunk(qsizetype k) const { return m_chunks.at(k).saves; }
    // The keys of a chunk's saves' ids, place by place (keyOf), read without going to the saves.
    const QList<std::uint64_t> &chunkKeys(qsizetype k) const { return m_chunks.at(k).keys; }
    // An id's key: a word of it, equal for equal ids, that tells most ids apart.
    static std::uint64_t keyOf(const Save::ID &id);

    // Calls `differ(i)`, in ascending order, for each place i below both sizes at which the two
    // lists do not hold the same shared save; chunks both share at the same place are passed over.
    template <typename Differ>
    static void diffPlaces(const SaveList &a, const SaveList &b, Differ &&differ);
    // The number of leading places at which both hold the same shared save, and of trailing ones
    // (counted within what the leading ones leave).
    static qsizetype commonHead(const SaveList &a, const SaveList &b);
    static qsizetype commonTail(const SaveList &a, const SaveList &b, qsizetype head);

    // Pairwise equal saves (Save's equality), in order.
    friend bool operator==(const SaveList &a, const SaveList &b);
    friend bool operator==(const SaveList &a, const QList<Save> &b);

    // Empties the list. Chunks of which it is the last holder let their saves go a block at a
    // time with each save's data asked for ahead, which for a large library costs a fraction of a
    // plain destruction.
    void letGo();

private:
    // Calls `differ(i)` for each differing place below both sizes, in order, until it answers
    // false; returns that place, or the smaller size when it never does.
    template <typename Differ>
    static qsizetype walkDifferences(const SaveList &a, const SaveList &b, Differ &&differ);

    // The saves of a chunk and, place by place, their ids' keys.
    struct Chunk {
        QList<Save> saves;
        QList<std::uint64_t> keys;

        explicit Chunk(QList<Save> saves = {});
        qsizetype size() const { return saves.size(); }
        bool isEmpty() const { return saves.isEmpty(); }
        bool sharesDataWith(const Chunk &other) const
        {
            return saves.constData() == other.saves.constData() && saves.size() == other.saves.size();
        }
        void insert(qsizetype at, Save save);
        void append(const Chunk &other);
        void remove(qsizetype at, qsizetype n);
        Chunk sliced(qsizetype from) const;
        void truncate(qsizetype n);
    };

    struct Place {
        qsizetype chunk;
        qsizetype offset;
    };
    // The chunk holding place i and the place within it (i == size: one past the last chunk).
    Place locate(qsizetype i) const;
    const_iterator iteratorAt(qsizetype i) const
    {
        const Place p = locate(i);
        return const_iterator(this, p.chunk, p.offset, i);
    }
    // The chunk, its own (the table copied first when shared; its lists when changed).
    Chunk &ownChunk(qsizetype k);
    // Splits an overfull chunk, merges an underfull one with a neighbour; the ends from k on are
    // worked out again.
    void settle(qsizetype k);
    void renumber(qsizetype from);

    QList<Chunk> m_chunks;         // never an empty chunk
    QList<qsizetype> m_ends;       // the place after each chunk's last save
    qsizetype m_size = 0;
};

template <typename Test>
qsizetype SaveList::removeIf(Test test)
{
    qsizetype removed = 0;
    for (qsizetype k = 0; k < m_chunks.size(); ++k) {
        const Chunk &c = m_chunks.at(k);
        qsizetype first = 0;
        while (first < c.size() && !test(c.saves.at(first)))
            ++first;
        if (first == c.size())
            continue;
        Chunk kept;
        kept.saves.reserve(c.size());
        kept.keys.reserve(c.size());
        for (qsizetype j = 0; j < c.size(); ++j) {
            if (j < first || (j > first && !test(c.saves.at(j)))) {
                kept.saves.append(c.saves.at(j));
                kept.keys.append(c.keys.at(j));
            }
        }
        removed += c.size() - kept.size();
        if (kept.isEmpty()) {
            m_chunks.removeAt(k);
            m_ends.removeAt(k);
            --k;
        } else {
            m_chunks[k] = std::move(kept);
        }
    }
    if (removed == 0)
        return 0;
    m_size -= removed;
    renumber(0);
    // Merge what shrank, left to right; a merge keeps k on the merged chunk.
    for (qsizetype k = 0; k < m_chunks.size(); ++k) {
        if (m_chunks.at(k).size() < chunkSize / 4 && m_chunks.size() > 1)
            settle(k);
    }
    return removed;
}

template <typename Differ>
qsizetype SaveList::walkDifferences(const SaveList &a, const SaveList &b, Differ &&differ)
{
    const qsizetype n = std::min(a.m_size, b.m_size);
    if (a.m_chunks.constData() == b.m_chunks.constData())
        return n;
    qsizetype i = 0, ka = 0, kb = 0, ja = 0, jb = 0;
    while (i < n) {
        const QList<Save> &ca = a.m_chunks.at(ka).saves;
        const QList<Save> &cb = b.m_chunks.at(kb).saves;
        if (ja == 0 && jb == 0 && ca.constData() == cb.constData() && ca.size() == cb.size()) {
            i += ca.size();
            ++ka;
            ++kb;
            continue;
        }
        // Up to the nearer end of the two chunks, place by place.
        const qsizetype span = std::min({ca.size() - ja, cb.size() - jb, n - i});
        const Save *x = ca.constData() + ja;
        const Save *y = cb.constData() + jb;
        for (qsizetype s = 0; s < span; ++s) {
            if (!x[s].sharesDataWith(y[s]) && !differ(i + s))
                return i + s;
        }
        i += span;
        ja += span;
        jb += span;
        if (ja == ca.size()) {
            ++ka;
            ja = 0;
        }
        if (jb == cb.size()) {
            ++kb;
            jb = 0;
        }
    }
    return n;
}

template <typename Differ>
void SaveList::diffPlaces(const SaveList &a, const SaveList &b, Differ &&differ)
{
    walkDifferences(a, b, [&differ](qsizetype i) {
        differ(i);
        return true;
    });
}

// Walks the saves in order, asking for each save's data some steps ahead so that the memory
// reads of a long walk overlap.
template <typename Visit>
void forEachSave(const SaveList &saves, Visit &&visit)
{
    constexpr qsizetype ahead = 12;
    for (qsizetype k = 0; k < saves.chunkCount(); ++k) {
        const QList<Save> &c = saves.chunk(k);
        const qsizetype n = c.size();
        const Save *data = c.constData();
        const QList<Save> *next = k + 1 < saves.chunkCount() ? &saves.chunk(k + 1) : nullptr;
        for (qsizetype i = 0; i < n; ++i) {
            if (i + ahead < n)
                data[i + ahead].prefetch();
            else if (next && i + ahead - n < next->size())
                next->at(i + ahead - n).prefetch();
            visit(data[i]);
        }
    }
}

}  // namespace sw
