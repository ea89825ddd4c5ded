#include "Library/SaveList.h"

#include <algorithm>

namespace sw {

namespace {

// Lets go of a chunk's saves; when the chunk is theirs alone, a block at a time with the counts
// of their data asked for first.
void letGoOfSaves(QList<Save> &chunk)
{
    if (!chunk.isDetached()) {
        chunk = QList<Save>();
        return;
    }
    for (const Save &save : std::as_const(chunk))
        save.prefetchCount();
    chunk = QList<Save>();
}

}  // namespace

std::uint64_t SaveList::keyOf(const Save::ID &id)
{
    // Ids are random: their first eight bytes tell them apart well enough for a first look.
    const QUuid &raw = id.raw();
    return (std::uint64_t(raw.data1) << 32) ^ (std::uint64_t(raw.data2) << 16) ^ raw.data3
        ^ (std::uint64_t(raw.data4[0]) << 56) ^ (std::uint64_t(raw.data4[7]) << 48);
}

SaveList::Chunk::Chunk(QList<Save> list) : saves(std::move(list))
{
    keys.reserve(saves.size());
    for (const Save &save : std::as_const(saves))
        keys.append(keyOf(save.id()));
}

void SaveList::Chunk::insert(qsizetype at, Save save)
{
    keys.insert(at, keyOf(save.id()));
    saves.insert(at, std::move(save));
}

void SaveList::Chunk::append(const Chunk &other)
{
    saves.append(other.saves);
    keys.append(other.keys);
}

void SaveList::Chunk::remove(qsizetype at, qsizetype n)
{
    saves.remove(at, n);
    keys.remove(at, n);
}

SaveList::Chunk SaveList::Chunk::sliced(qsizetype from) const
{
    Chunk out;
    out.saves = saves.sliced(from);
    out.keys = keys.sliced(from);
    return out;
}

void SaveList::Chunk::truncate(qsizetype n)
{
    saves.resize(n);
    keys.resize(n);
}

SaveList::SaveList(std::initializer_list<Save> saves)
    : SaveList(std::vector<Save>(saves))
{
}

SaveList::SaveList(const QList<Save> &saves)
{
    for (qsizetype from = 0; from < saves.size(); from += chunkSize) {
        m_chunks.append(Chunk(saves.mid(from, chunkSize)));
        m_size += m_chunks.last().size();
        m_ends.append(m_size);
    }
}

SaveList::SaveList(std::vector<Save> &&saves)
{
    const qsizetype n = qsizetype(saves.size());
    m_chunks.reserve((n + chunkSize - 1) / chunkSize);
    m_ends.reserve(m_chunks.capacity());
    // The saves' keys are read from their data, which a list just decoded no longer has in
    // cache: each is asked for some saves ahead.
    constexpr qsizetype ahead = 16;
    for (qsizetype from = 0; from < n; from += chunkSize) {
        const qsizetype to = std::min(n, from + chunkSize);
        Chunk chunk;
        chunk.saves.reserve(to - from);
        chunk.keys.reserve(to - from);
        for (qsizetype i = from; i < to; ++i) {
            if (i + ahead < n)
                saves[std::size_t(i + ahead)].prefetch();
            Save &save = saves[std::size_t(i)];
            chunk.keys.append(keyOf(save.id()));
            chunk.saves.append(std::move(save));
        }
        m_chunks.append(std::move(chunk));
        m_size = to;
        m_ends.append(m_size);
    }
}

SaveList::Place SaveList::locate(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i <= m_size);
    // The first chunk whose end lies past i.
    const auto found = std::upper_bound(m_ends.cbegin(), m_ends.cend(), i);
    const qsizetype chunk = qsizetype(found - m_ends.cbegin());
    const qsizetype start = chunk == 0 ? 0 : m_ends.at(chunk - 1);
    return Place{chunk, i - start};
}

SaveList::Chunk &SaveList::ownChunk(qsizetype k)
{
    // Only the handles of the chunks are copied with the table; each stays shared until changed.
    return m_chunks[k];
}

void SaveList::renumber(qsizetype from)
{
    qsizetype end = from == 0 ? 0 : m_ends.at(from - 1);
    for (qsizetype k = from; k < m_chunks.size(); ++k) {
        end += m_chunks.at(k).size();
        if (m_ends.at(k) != end)
            m_ends[k] = end;
    }
    m_ends.resize(m_chunks.size());
}

void SaveList::settle(qsizetype k)
{
    const qsizetype size = m_chunks.at(k).size();
    if (size >= 2 * chunkSize) {
        const qsizetype half = size / 2;
        Chunk tail = m_chunks.at(k).sliced(half);
        ownChunk(k).truncate(half);
        m_chunks.insert(k + 1, std::move(tail));
        m_ends.insert(k + 1, 0);
        renumber(k);
    } else if (size == 0) {
        m_chunks.removeAt(k);
        m_ends.removeAt(k);
        if (k < m_chunks.size())
            renumber(k);
    } else if (size < chunkSize / 4 && m_chunks.size() > 1) {
        // Into the smaller neighbour; a merge that grows too large is split again.
        qsizetype left = k - 1;
        if (k == 0 || (k + 1 < m_chunks.size() && m_chunks.at(k + 1).size() < m_chunks.at(k - 1).size()))
            left = k;
        const Chunk right = m_chunks.at(left + 1);
        ownChunk(left).append(right);
        m_chunks.removeAt(left + 1);
        m_ends.removeAt(left + 1);
        renumber(left);
        if (m_chunks.at(left).size() >= 2 * chunkSize)
            settle(left);
    }
}

Save &SaveList::own(qsizetype i)
{
    const auto [chunk, offset] = locate(i);
    return ownChunk(chunk).saves[offset];
}

void SaveList::replace(qsizetype i, Save save)
{
    const auto [chunk, offset] = locate(i);
    Chunk &c = ownChunk(chunk);
    c.keys[offset] = keyOf(save.id());
    c.saves[offset] = std::move(save);
}

void SaveList::append(Save save)
{
    if (m_chunks.isEmpty() || m_chunks.last().size() >= chunkSize) {
        m_chunks.append(Chunk());
        m_chunks.last().saves.reserve(chunkSize);
        m_chunks.last().keys.reserve(chunkSize);
        m_ends.append(m_size);
    }
    ownChunk(m_chunks.size() - 1).insert(m_chunks.last().size(), std::move(save));
    m_ends.last() = ++m_size;
}

void SaveList::append(const SaveList &saves)
{
    for (const Save &save : saves)
        append(save);
}

void SaveList::insert(qsizetype i, Save save)
{
    Q_ASSERT(i >= 0 && i <= m_size);
    if (i == m_size) {
        append(std::move(save));
        return;
    }
    const auto [chunk, offset] = locate(i);
    ownChunk(chunk).insert(offset, std::move(save));
    ++m_size;
    renumber(chunk);
    settle(chunk);
}

void SaveList::remove(qsizetype i, qsizetype n)
{
    Q_ASSERT(i >= 0 && n >= 0 && i + n <= m_size);
    while (n > 0) {
        const auto [chunk, offset] = locate(i);
        const qsizetype here = std::min(n, m_chunks.at(chunk).size() - offset);
        if (here == m_chunks.at(chunk).size())
            m_chunks[chunk] = Chunk();
        else
            ownChunk(chunk).remove(offset, here);
        m_size -= here;
        n -= here;
        renumber(chunk);
        settle(chunk);
    }
}

Save SaveList::takeAt(qsizetype i)
{
    Save taken = at(i);
    remove(i);
    return taken;
}

void SaveList::move(qsizetype from, qsizetype to)
{
    if (from == to)
        return;
    insert(to, takeAt(from));
}

void SaveList::swapItemsAt(qsizetype i, qsizetype j)
{
    if (i == j)
        return;
    const Save first = at(i);
    replace(i, at(j));
    replace(j, first);
}

qsizetype SaveList::indexOf(const Save &save, qsizetype from) const
{
    for (auto it = iteratorAt(std::clamp<qsizetype>(from, 0, m_size)); it != end(); ++it)
        if (*it == save)
            return it.index();
    return -1;
}

qsizetype SaveList::indexOf(const Save::ID &id) const
{
    const std::uint64_t key = keyOf(id);
    qsizetype start = 0;
    for (const Chunk &c : m_chunks) {
        const std::uint64_t *keys = c.keys.constData();
        const qsizetype n = c.keys.size();
        for (qsizetype j = 0; j < n; ++j) {
            if (keys[j] == key && c.saves.at(j).id() == id)
                return start + j;
        }
        start += n;
    }
    return -1;
}

QList<Save> SaveList::toList() const
{
    QList<Save> out;
    out.reserve(m_size);
    for (const Chunk &c : m_chunks)
        out.append(c.saves);
    return out;
}

SaveList SaveList::mid(qsizetype from, qsizetype n) const
{
    from = std::clamp<qsizetype>(from, 0, m_size);
    const qsizetype to = n < 0 ? m_size : std::min(m_size, from + n);
    SaveList out;
    for (auto it = iteratorAt(from); it.index() < to; ++it)
        out.append(*it);
    return out;
}

qsizetype SaveList::commonHead(const SaveList &a, const SaveList &b)
{
    return walkDifferences(a, b, [](qsizetype) { return false; });
}

qsizetype SaveList::commonTail(const SaveList &a, const SaveList &b, qsizetype head)
{
    const qsizetype limit = std::min(a.m_size, b.m_size) - head;
    if (a.m_chunks.constData() == b.m_chunks.constData())
        return limit;
    // Cursors from the end: the chunk, and how many of its last saves are behind.
    qsizetype tail = 0, ka = a.m_chunks.size() - 1, kb = b.m_chunks.size() - 1, ja = 0, jb = 0;
    while (tail < limit) {
        const QList<Save> &ca = a.m_chunks.at(ka).saves;
        const QList<Save> &cb = b.m_chunks.at(kb).saves;
        if (ja == 0 && jb == 0 && ca.constData() == cb.constData() && ca.size() == cb.size()
            && tail + ca.size() <= limit) {
            tail += ca.size();
            --ka;
            --kb;
            continue;
        }
        const qsizetype span = std::min({ca.size() - ja, cb.size() - jb, limit - tail});
        for (qsizetype s = 0; s < span; ++s) {
            if (!ca.at(ca.size() - 1 - ja - s).sharesDataWith(cb.at(cb.size() - 1 - jb - s)))
                return tail + s;
        }
        tail += span;
        ja += span;
        jb += span;
        if (ja == ca.size()) {
            --ka;
            ja = 0;
        }
        if (jb == cb.size()) {
            --kb;
            jb = 0;
        }
    }
    return tail;
}

bool operator==(const SaveList &a, const SaveList &b)
{
    if (a.m_size != b.m_size)
        return false;
    bool equal = true;
    SaveList::diffPlaces(a, b, [&](qsizetype i) {
        if (equal && !(a.at(i) == b.at(i)))
            equal = false;
    });
    return equal;
}

bool operator==(const SaveList &a, const QList<Save> &b)
{
    if (a.size() != b.size())
        return false;
    qsizetype i = 0;
    for (const Save &save : a)
        if (!(save == b.at(i++)))
            return false;
    return true;
}

void SaveList::letGo()
{
    if (!m_chunks.isDetached()) {
        *this = SaveList();
        return;
    }
    for (Chunk &c : m_chunks)
        letGoOfSaves(c.saves);
    *this = SaveList();
}

}  // namespace sw
