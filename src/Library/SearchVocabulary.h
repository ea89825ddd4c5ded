#pragma once

// An index of the words of every save's folded search text, so that a search looks for a query
// word once in the distinct words of the library, rather than in the text of every save.
//
// A word here is a maximal run of characters that are not white space. A query word holds no
// white space, so it occurs in a text exactly when it occurs inside one of the text's words.
// Each indexed text gets a number (its "entry"); each distinct word keeps the entries of the
// texts it occurs in. The saves that match a query word are then the entries listed under the
// words that contain it.
//
// The index is shared by the whole process and only grows: a save that is changed (a note, a
// tag) is indexed again under a new entry when it is next searched, and its old entry stays
// behind, matched by no save. Copies of a save share its entry, since they share its text.

#include <QString>
#include <QStringView>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace sw {

class SearchVocabulary {
public:
    // A set of entries: those known when it was made, each marked or not.
    class Entries {
    public:
        // The number of entries the set knows of; entries numbered from here on are not in it.
        std::uint32_t known() const { return m_known; }
        bool contains(std::uint32_t entry) const
        {
            return entry < m_known && ((m_bits[entry >> 6] >> (entry & 63)) & 1);
        }
        // Keeps only the entries also in `other`.
        void intersect(const Entries &other);

    private:
        friend class SearchVocabulary;
        std::uint32_t m_known = 0;
        std::vector<std::uint64_t> m_bits;
    };

    static SearchVocabulary &shared();

    // Held while a thread indexes many texts ahead of the searches (after a start): a search
    // meanwhile looks in the texts not yet indexed without indexing them itself, so that it
    // neither waits for the index's lock nor indexes a text twice.
    class Filling {
    public:
        Filling() { shared().m_fillers.fetch_add(1, std::memory_order_relaxed); }
        ~Filling() { shared().m_fillers.fetch_sub(1, std::memory_order_relaxed); }
        Filling(const Filling &) = delete;
        Filling &operator=(const Filling &) = delete;
    };
    bool isBeingFilled() const { return m_fillers.load(std::memory_order_relaxed) > 0; }

    // Indexes a folded text under a new entry and gives its number (never 0).
    std::uint32_t index(QStringView folded);
    // The entries of the texts in which a query word (folded, without white space, not empty)
    // occurs.
    Entries containing(QStringView foldedWord) const;

    std::size_t words() const;
    std::size_t entries() const;
    // Packs each word's entries known so far (after a start, once every save is indexed): a
    // word found in many texts as a bitmap of the entries, any other as the gaps between its
    // entries in variable-length bytes, whichever is smaller; about a byte an entry instead of
    // the four and the room of a list. Changes no answer; later texts are listed as before, until
    // the next packing. The words are packed a few thousand at a time, a search waiting going
    // first between two turns, and texts indexed meanwhile are kept listed; `betweenTurns` (for
    // tests) runs after each turn, without the lock.
    void compact(const std::function<void()> &betweenTurns = {});
    // Works out the texts holding each of the letters found in the most words, one letter at a
    // time, and keeps them up to date as texts are indexed: the first letter typed into a search
    // finds nearly every text, which would take the longest of all to mark.
    void prepareLetters();

private:
    SearchVocabulary() = default;
    std::uint32_t numberLocked(QStringView word, std::size_t hash);
    QStringView wordLocked(std::uint32_t number) const;
    void growLocked();
    // Returns once no search waits for the lock.
    void waitForSearches() const;
    // Calls mark(entry) for each of the word's entries, in ascending order.
    template <typename Mark>
    void forEachEntryLocked(std::uint32_t number, Mark &&mark) const;

    // A word's packed entries: `size` bytes at `offset` in m_packed, a bitmap of the entries
    // known at the packing (in 64-bit words) when `bitmap`, else the gaps from 0 as LEB128.
    struct Packed {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
        bool bitmap = false;
    };

    static Packed pack(const std::vector<std::uint32_t> &entries, std::size_t bitmapBytes,
                       std::vector<std::uint8_t> &packed);

    mutable std::mutex m_mutex;
    std::mutex m_compacting;   // one packing at a time
    // Every word once, in order of numbering, each followed by a space: a query word, which holds
    // no space, can never be found across two of them.
    std::vector<char16_t> m_text;
    std::vector<std::uint32_t> m_starts;                // where each word begins in m_text
    std::vector<std::uint32_t> m_hashes;                // each word's hash, for the table below
    std::vector<std::uint32_t> m_table;                 // open addressing: 0 empty, else number + 1
    std::vector<Packed> m_packing;                      // the packed entries of the words numbered below its size
    std::vector<std::uint8_t> m_packed;
    std::vector<std::vector<std::uint32_t>> m_postings; // each word's entries since the packing, ascending
    std::uint32_t m_entries = 1;                        // the next entry's number
    std::atomic<int> m_fillers{0};
    mutable std::atomic<int> m_searching{0};   // searches waiting for the lock

    // The words found for the last few query words, and how many words there were then: words
    // are only ever added, so a longer query word that holds one of these is among its words or
    // among the words added since (the next letter typed into a search).
    struct Found {
        QString word;
        std::vector<std::uint32_t> numbers;
        std::uint32_t wordsThen = 0;
    };
    mutable std::vector<Found> m_found;
    // The sets given for the last few query words, each good while no text is indexed after it:
    // a search erased letter by letter asks again for the words it asked for as it was typed.
    struct Given {
        QString word;
        Entries entries;
    };
    mutable std::vector<Given> m_given;
    // The prepared letters' sets, each knowing every entry.
    struct Letter {
        char16_t letter;
        Entries entries;
    };
    std::vector<Letter> m_letters;
    // The entries of the words that hold `foldedWord`, worked out. For a search, the words found
    // are kept for longer query words, and a long marking is shared among threads; in the
    // background, neither: threads started and ended there would hold up the searches' page
    // faults on the process's memory map.
    enum class Marking { forSearch, inBackground };
    Entries markedLocked(QStringView foldedWord, Marking marking = Marking::forSearch) const;
    // The numbers of the words that hold `foldedWord`, in order.
    std::vector<std::uint32_t> wordsHoldingLocked(QStringView foldedWord, bool keep) const;
};

}  // namespace sw
