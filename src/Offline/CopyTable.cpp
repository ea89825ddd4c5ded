#include "Offline/CopyTable.h"

#include "Offline/ByteCount.h"
#include "Capture/KeyedHash.h"
#include "Capture/Parallel.h"
#include "Capture/StringPool.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>

namespace sw {

namespace {
// What a copy counts against the budget: its finished files, or the whole total of a download
// under way.
__int128 reservedBy(const LocalCopy &copy)
{
    if (const auto *d = copy.asDownloading())
        return d->of;
    return copy.exactBytesOnDisk();
}

}  // namespace

const QSharedDataPointer<CopyTable::Data> &CopyTable::emptyData()
{
    static const QSharedDataPointer<Data> empty(new Data);
    return empty;
}

CopyTable::CopyTable() : d(emptyData()) {}

std::size_t CopyTable::slotOf(const PostLink &link, LinkKey key) const
{
    const std::vector<Slot> &index = d->index;
    const std::size_t mask = index.size() - 1;
    // The slot follows a keyed hash: under a fixed function, a document could hold numbers that
    // all fall into one run of slots, and loading it, and every look-up, would walk the run.
    std::size_t i = std::size_t(hash::keyed(key.value)) & mask;
    for (;; i = (i + 1) & mask) {
        const Slot &slot = index[i];
        if (slot.position == 0)
            return i;
        if (slot.key != key.value || slot.exact != key.exact)
            continue;
        // Exact keys are the links' identity; other keys may be shared by different links.
        if (key.exact || d->entries[slot.position - 1].link == link)
            return i;
    }
}

namespace {
// A memo: the table's generation (38 bits), the copy's case (2 bits), the entry's position + 1
// (24 bits; 0 when the link has no entry). Tables that outgrow it are not remembered.
constexpr int kPositionBits = 24;
constexpr int kStateBits = 2;
constexpr std::uint64_t kMaxGeneration = (std::uint64_t(1) << (64 - kPositionBits - kStateBits)) - 1;
std::atomic<std::uint64_t> nextGeneration{1};
static_assert(std::variant_size_v<LocalCopy::Value> <= (1 << kStateBits));
}  // namespace

void CopyTable::changed()
{
    d->generation = nextGeneration.fetch_add(1, std::memory_order_relaxed);
}

CopyTable::Found CopyTable::lookUp(const PostLink &link, LinkKey key, const LinkMemo &memo) const
{
    const Data &data = *d;
    const std::uint64_t generation = data.generation;
    const bool memorable = generation != 0 && generation <= kMaxGeneration
                           && data.entries.size() < (std::size_t(1) << kPositionBits) - 1;
    if (memorable) {
        const std::uint64_t word = memo.load();
        if (word >> (kPositionBits + kStateBits) == generation) {
            const std::uint32_t position = std::uint32_t(word & ((1u << kPositionBits) - 1));
            if (position == 0)
                return {};
            return {&data.entries[position - 1].copy, std::size_t(word >> kPositionBits) & 3};
        }
    }
    Found found;
    std::uint32_t position = 0;
    if (!data.entries.empty()) {
        position = data.index[slotOf(link, key)].position;
        if (position != 0)
            found = {&data.entries[position - 1].copy, data.entries[position - 1].copy.value().index()};
    }
    if (memorable)
        memo.store(generation << (kPositionBits + kStateBits) | std::uint64_t(found.state) << kPositionBits | position);
    return found;
}

const LocalCopy *CopyTable::find(const PostLink &link, LinkKey key) const
{
    if (d->entries.empty())
        return nullptr;
    const Slot &slot = d->index[slotOf(link, key)];
    return slot.position == 0 ? nullptr : &d->entries[slot.position - 1].copy;
}

void CopyTable::reserve(std::size_t entries)
{
    std::size_t capacity = 16;
    while (capacity < entries * 2)
        capacity *= 2;
    if (capacity <= d->index.size())
        return;
    d->entries.reserve(entries);
    d->index.assign(capacity, Slot{});
    for (std::uint32_t position = 0; position < d->entries.size(); ++position)
        place(position);
}

// Puts the entry at `position` into the index; its link is not there yet.
void CopyTable::place(std::uint32_t position)
{
    const Entry &entry = d->entries[position];
    Slot &slot = d->index[slotOf(entry.link, entry.key)];
    slot = Slot{entry.key.value, position + 1, entry.key.exact};
}

void CopyTable::insert(const PostLink &link, const LocalCopy &copy)
{
    record(Entry{link, link.key(), copy});
}

void CopyTable::record(Entry entry)
{
    // Room first, so that the slot where the link is looked for is the one a new entry takes.
    reserve(d.constData()->entries.size() + 1);
    const std::size_t at = slotOf(entry.link, entry.key);
    if (const std::uint32_t position = d.constData()->index[at].position) {
        // The entry keeps the link it was first recorded under; the copy is replaced.
        Entry &existing = d->entries[position - 1];
        d->reserved -= reservedBy(existing.copy);
        d->onDisk -= existing.copy.exactBytesOnDisk();
        existing.copy = std::move(entry.copy);
        d->reserved += reservedBy(existing.copy);
        d->onDisk += existing.copy.exactBytesOnDisk();
        changed();
        return;
    }
    d->reserved += reservedBy(entry.copy);
    d->onDisk += entry.copy.exactBytesOnDisk();
    const LinkKey key = entry.key;
    d->entries.push_back(std::move(entry));
    d->index[at] = Slot{key.value, std::uint32_t(d->entries.size()), key.exact};
    changed();
}

std::optional<LocalCopy> CopyTable::take(const PostLink &link)
{
    // Looked up without detaching: taking a link that has no entry changes nothing.
    if (d.constData()->entries.empty())
        return std::nullopt;
    const LinkKey key = link.key();
    const std::size_t hole = slotOf(link, key);
    const std::uint32_t position = d.constData()->index[hole].position;
    if (position == 0)
        return std::nullopt;
    std::vector<Slot> &index = d->index;
    std::vector<Entry> &entries = d->entries;
    const std::size_t mask = index.size() - 1;
    // Take the slot out, moving later slots of the same run back so that no lookup stops early.
    index[hole] = Slot{};
    for (std::size_t i = (hole + 1) & mask; index[i].position != 0; i = (i + 1) & mask) {
        const Slot moved = index[i];
        index[i] = Slot{};
        const Entry &entry = entries[moved.position - 1];
        index[slotOf(entry.link, entry.key)] = moved;
    }
    // The last entry takes the place of the one taken (its slot is found while it is still where
    // the slot says).
    const std::uint32_t last = std::uint32_t(entries.size());
    if (position != last)
        index[slotOf(entries.back().link, entries.back().key)].position = position;
    Entry taken = std::move(entries[position - 1]);
    if (position != last)
        entries[position - 1] = std::move(entries.back());
    entries.pop_back();
    d->reserved -= reservedBy(taken.copy);
    d->onDisk -= taken.copy.exactBytesOnDisk();
    changed();
    return std::move(taken.copy);
}

std::int64_t CopyTable::reservedBytes() const
{
    return bytes::clamp(d->reserved);
}

std::int64_t CopyTable::bytesOnDisk() const
{
    return bytes::clamp(d->onDisk);
}

bool operator==(const CopyTable &a, const CopyTable &b)
{
    if (a.d.constData() == b.d.constData())
        return true;
    if (a.size() != b.size() || a.d->reserved != b.d->reserved || a.d->onDisk != b.d->onDisk)
        return false;
    for (const CopyTable::Entry &entry : a.d->entries) {
        const LocalCopy *other = b.find(entry.link, entry.key);
        if (!other || !(*other == entry.copy))
            return false;
    }
    return true;
}

std::size_t qHash(const CopyTable &table, std::size_t seed) noexcept
{
    // A sum of the entries' hashes does not depend on the order of the table.
    std::size_t sum = 0;
    for (const auto &[link, copy] : table)
        sum += qHashMulti(0, link, copy);
    return qHashMulti(seed, table.size(), sum);
}

void CopyTable::writeJson(std::string &out) const
{
    out.push_back('[');
    writeEntriesJson(out, 0, std::size_t(size()));
    out.push_back(']');
}

void CopyTable::writeEntriesJson(std::string &out, std::size_t from, std::size_t to) const
{
    const std::vector<Entry> &entries = d->entries;
    to = std::min(to, entries.size());
    for (std::size_t i = from; i < to; ++i) {
        if (i > 0)
            out.push_back(',');
        entries[i].link.writeJson(out);
        out.push_back(',');
        entries[i].copy.writeJson(out);
    }
}

JsonValue CopyTable::toJson() const
{
    std::string out;
    writeJson(out);
    return JsonValue::raw(std::move(out));
}

CopyTable CopyTable::fromJson(const JsonNode &node)
{
    const std::size_t count = node.elementCount();
    if (count % 2 != 0)
        throw JsonError("Expected the copies as pairs of a link and its copy, but the array has an odd length.");
    // The pairs decode on several threads when there are many; they are then recorded in order,
    // so that the later copy of a repeated link wins. Each thread pools the handles.
    using Decoding = ThreadStringPool;
    const auto entry = [](const JsonNode &linkNode, const JsonNode &copyNode, Decoding &) {
        PostLink link = PostLink::fromJson(linkNode);
        LocalCopy copy = LocalCopy::fromJson(copyNode);
        const LinkKey key = link.key();
        return Entry{std::move(link), key, std::move(copy)};
    };
    CopyTable table;
    table.reserve(count / 2);
    if (decodingThreads(count / 2) > 1) {
        const std::vector<JsonNode> elements = node.elements();
        std::vector<Entry> decoded = decodeAllWith<Decoding>(elements.size() / 2, [&](std::size_t i, Decoding &decoding) {
            return entry(elements[2 * i], elements[2 * i + 1], decoding);
        });
        for (Entry &entry : decoded)
            table.record(std::move(entry));
    } else {
        // On one thread the pairs are decoded and recorded as the array is walked.
        Decoding decoding;
        std::optional<JsonNode> link;
        node.forEachElement([&](const JsonNode &element) {
            if (!link) {
                link = element;
                return;
            }
            table.record(entry(*link, element, decoding));
            link.reset();
        });
    }
    return table;
}

}  // namespace sw
