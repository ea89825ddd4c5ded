#include "Capture/StringPool.h"

#include "Capture/KeyedHash.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstring>
#include <utility>

namespace sw {

namespace {
// The longest text a pool keeps: names, handles and addresses are shorter.
constexpr std::size_t kLongest = 1024;

thread_local StringPool *t_open = nullptr;

QString made(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
}  // namespace

QString StringPool::take(std::string_view utf8)
{
    // Texts come back soon after each other (a post's handle in its link, then with its author):
    // the last two met are tried before the table.
    for (const std::size_t r : m_recent) {
        if (r < m_slots.size()) {
            const Slot &slot = m_slots[r];
            if (slot.length == utf8.size() && std::memcmp(m_bytes.data() + slot.offset, utf8.data(), utf8.size()) == 0)
                return slot.text;
        }
    }
    const std::size_t hash = std::size_t(hash::keyed(utf8));
    if (!m_slots.empty()) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot &slot = m_slots[i];
            if (slot.text.isNull())
                break;
            if (slot.hash == hash && slot.length == utf8.size()
                && std::memcmp(m_bytes.data() + slot.offset, utf8.data(), utf8.size()) == 0) {
                m_recent = {i, m_recent[0]};
                return slot.text;
            }
        }
    }
    QString text = made(utf8);
    // A text longer than a name or an address is not worth keeping, nor one past the capacity;
    // an empty text makes no allocation to share.
    if (m_size >= capacity || utf8.empty() || utf8.size() > kLongest)
        return text;
    if (2 * (m_size + 1) > m_slots.size())
        grow();
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (!m_slots[i].text.isNull())
        i = (i + 1) & mask;
    m_slots[i] = Slot{hash, std::uint32_t(m_bytes.size()), std::uint32_t(utf8.size()), text};
    m_bytes.append(utf8);
    ++m_size;
    m_recent = {i, m_recent[0]};
    return text;
}

void StringPool::grow()
{
    m_recent = {kNone, kNone};   // places change
    std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(std::max<std::size_t>(64, 2 * m_slots.size())));
    const std::size_t mask = m_slots.size() - 1;
    for (Slot &slot : old) {
        if (slot.text.isNull())
            continue;
        std::size_t i = slot.hash & mask;
        while (!m_slots[i].text.isNull())
            i = (i + 1) & mask;
        m_slots[i] = std::move(slot);
    }
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
    return t_open ? t_open->take(utf8) : made(utf8);
}

}  // namespace sw
