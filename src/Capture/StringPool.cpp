#include "Capture/StringPool.h"

#include "Capture/KeyedHash.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace sw {

namespace {
// The longest key a pool keeps: names, handles and addresses are shorter.
constexpr std::size_t kLongest = 1024;

thread_local StringPool *t_open = nullptr;

QString madeText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QByteArray madeBytes(std::string_view bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}
}  // namespace

template <typename Value>
template <typename Make>
Value StringPool::Table<Value>::take(std::string_view key, Make make)
{
    // Keys come back soon after each other (a post's handle in its link, then with its author):
    // the last two met are tried before the table.
    for (const std::size_t r : recent) {
        if (r < places.size()) {
            const Slot &slot = places[r];
            if (slot.length == key.size() && std::memcmp(keys.data() + slot.offset, key.data(), key.size()) == 0)
                return slot.value;
        }
    }
    const auto hash = std::size_t(hash::keyed(key));
    if (!places.empty()) {
        const std::size_t mask = places.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = places[i];
            if (slot.value.isNull())
                break;
            if (slot.hash == hash && slot.length == key.size()
                && std::memcmp(keys.data() + slot.offset, key.data(), key.size()) == 0) {
                recent = {i, recent[0]};
                return slot.value;
            }
        }
    }
    Value value = make(key);
    // A key longer than a name or an address is not worth keeping, nor one past the capacity;
    // an empty one makes no allocation to share.
    if (size >= capacity || key.empty() || key.size() > kLongest)
        return value;
    if (2 * (size + 1) > places.size())
        grow();
    const std::size_t mask = places.size() - 1;
    std::size_t i = hash & mask;
    while (!places[i].value.isNull())
        i = (i + 1) & mask;
    places[i] = Slot{hash, std::uint32_t(keys.size()), std::uint32_t(key.size()), value};
    keys.append(key);
    ++size;
    recent = {i, recent[0]};
    return value;
}

template <typename Value>
void StringPool::Table<Value>::grow()
{
    recent = {kNone, kNone};   // places change
    std::vector<Slot> old = std::exchange(places, std::vector<Slot>(std::max<std::size_t>(64, 2 * places.size())));
    const std::size_t mask = places.size() - 1;
    for (Slot &slot : old) {
        if (slot.value.isNull())
            continue;
        std::size_t i = slot.hash & mask;
        while (!places[i].value.isNull())
            i = (i + 1) & mask;
        places[i] = std::move(slot);
    }
}

QString StringPool::take(std::string_view utf8)
{
    return m_texts.take(utf8, madeText);
}

QByteArray StringPool::takeBytes(std::string_view bytes)
{
    return m_bytes.take(bytes, madeBytes);
}

StringPool::Scope::Scope(StringPool &pool) : m_previous(t_open)
{
    t_open = &pool;
}

StringPool::Scope::~Scope()
{
    t_open = m_previous;
}

QString StringPool::text(std::string_view utf8)
{
    return t_open ? t_open->take(utf8) : madeText(utf8);
}

QByteArray StringPool::bytes(std::string_view bytes)
{
    return t_open ? t_open->takeBytes(bytes) : madeBytes(bytes);
}

}  // namespace sw
