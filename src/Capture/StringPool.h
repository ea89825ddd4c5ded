#pragma once

// Texts that a large document repeats (an author's name, handle and avatar on each of their
// posts, the names of the tags) kept once while it is decoded: the pool gives back the same
// shared QString (or, for an address, the same shared QByteArray) for the same bytes, so that
// the values decoded from them share one allocation instead of each holding a copy. A library of
// a hundred thousand saves has a few thousand authors and a hundred tag names.
//
// A pool belongs to one thread. The decoders ask for a pooled text through StringPool::text()
// (or bytes()), which takes it from the pool that a Scope opened on the calling thread, or makes
// it anew when none is open: a decoder called from anywhere else behaves exactly as before.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class StringPool {
public:
    // How many texts (and as many byte strings) a pool keeps at most; past that, new ones are
    // made but not kept, so that a document without repeats costs no more than a bounded table.
    static constexpr std::size_t capacity = 1 << 16;

    StringPool() = default;
    StringPool(const StringPool &) = delete;
    StringPool &operator=(const StringPool &) = delete;

    // The text of the UTF-8 bytes (as QString::fromUtf8 makes it): the one made the first time
    // these bytes were met.
    QString take(std::string_view utf8);
    // The bytes themselves as a QByteArray, likewise.
    QByteArray takeBytes(std::string_view bytes);
    // How many texts and byte strings the pool keeps.
    std::size_t size() const { return m_texts.size + m_bytes.size; }

    // Makes `pool` the one that text() and bytes() take from on this thread while the scope lives.
    class Scope {
    public:
        explicit Scope(StringPool &pool);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        StringPool *m_previous;
    };

    // The text of the bytes, from this thread's open pool when there is one.
    static QString text(std::string_view utf8);
    // The bytes as a QByteArray, from this thread's open pool when there is one.
    static QByteArray bytes(std::string_view bytes);

private:
    // Open addressing over a power-of-two array at most half full, each slot with its key's
    // hash (keyed SipHash under this process's key, so that no document can crowd its keys into
    // a few slots) and its bytes kept in one buffer: a look-up reads the slot, then the bytes once.
    template <typename Value>
    struct Table {
        struct Slot {
            std::size_t hash = 0;
            std::uint32_t offset = 0;
            std::uint32_t length = 0;
            Value value;   // null: an empty slot
        };
        static constexpr std::size_t kNone = std::size_t(-1);
        std::vector<Slot> places;
        std::string keys;
        std::size_t size = 0;
        std::array<std::size_t, 2> recent{kNone, kNone};   // the places of the last keys met

        template <typename Make>
        Value take(std::string_view key, Make make);
        void grow();
    };
    Table<QString> m_texts;
    Table<QByteArray> m_bytes;
};

// A pool open on the thread that made it, for as long as it lives: the state of a thread that
// decodes part of a document (see decodeAllWith).
struct ThreadStringPool {
    StringPool pool;
    StringPool::Scope scope{pool};
};

}  // namespace sw
