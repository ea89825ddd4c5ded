#pragma once

// The rooms of long lists let go, kept for the long lists made next. A list of a hundred thousand
// items takes megabytes; made in new memory, each page of it is a fault of the processor on first
// touch, which under a virtual machine costs more than the writes that fill it. A room kept is
// memory in place already. Lists are let go on another thread, where their items are destroyed
// and their rooms, emptied, handed to the keeper; the thread that makes lists takes them back.

#include <QArrayDataPointer>
#include <QList>

#include <mutex>
#include <new>
#include <type_traits>
#include <vector>

namespace sw {

template <typename T>
class ListRooms {
public:
    // Rooms for fewer than `smallest` items are not kept (new ones cost little); at most `most`
    // rooms are, the oldest going first.
    ListRooms(qsizetype smallest, std::size_t most) : m_smallest(smallest), m_most(most) {}

    // Empties `list` (its items are destroyed on the calling thread) and keeps its room, when the
    // list alone holds it and it is long enough; else simply lets it go.
    void keep(QList<T> list)
    {
        QArrayDataPointer<T> &room = roomOf(list);
        if (room.needsDetach() || room.constAllocatedCapacity() < m_smallest)
            return;
        list.clear();   // alone in its room: the room stays
        std::vector<QArrayDataPointer<T>> gone;
        {
            std::lock_guard lock(m_mutex);
            m_rooms.push_back(std::move(room));
            while (m_rooms.size() > m_most) {
                gone.push_back(std::move(m_rooms.front()));
                m_rooms.erase(m_rooms.begin());
            }
        }
    }

    // Empty room for `n` items: a kept room that holds them and is at most twice as large (a short
    // list kept for long would hold the whole room), else new room.
    QArrayDataPointer<T> take(qsizetype n)
    {
        if (n >= m_smallest / 2) {
            std::lock_guard lock(m_mutex);
            auto best = m_rooms.end();
            for (auto it = m_rooms.begin(); it != m_rooms.end(); ++it) {
                if (it->freeSpaceAtEnd() >= n && it->constAllocatedCapacity() <= 2 * n
                    && (best == m_rooms.end() || it->constAllocatedCapacity() < best->constAllocatedCapacity()))
                    best = it;
            }
            if (best != m_rooms.end()) {
                QArrayDataPointer<T> room = std::move(*best);
                m_rooms.erase(best);
                return room;
            }
        }
        return QArrayDataPointer<T>(QTypedArrayData<T>::allocate(n));
    }

    std::size_t kept() const
    {
        std::lock_guard lock(m_mutex);
        return m_rooms.size();
    }

private:
    // A list's room. Qt gives no access to it; but a list is its data pointer and nothing else,
    // and an object of standard layout is one with its first member.
    static QArrayDataPointer<T> &roomOf(QList<T> &list)
    {
        static_assert(std::is_standard_layout_v<QList<T>> && sizeof(QList<T>) == sizeof(QArrayDataPointer<T>));
        return *std::launder(reinterpret_cast<QArrayDataPointer<T> *>(&list));
    }

    const qsizetype m_smallest;
    const std::size_t m_most;
    mutable std::mutex m_mutex;
    std::vector<QArrayDataPointer<T>> m_rooms;
};

}  // namespace sw
