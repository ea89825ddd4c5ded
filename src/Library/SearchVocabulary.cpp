#include "Library/SearchVocabulary.h"

#include "Capture/Parallel.h"
#include "Capture/Text.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <thread>

namespace sw {

namespace {
// How many listed texts a thread marks at least when a query's are marked on several.
constexpr std::size_t kListedPerThread = 1 << 18;

// Words are short: FNV-1a over their UTF-16 units costs less than a general hash's set-up, and
// every word of every text is hashed when the texts are indexed.
std::size_t wordHash(QStringView word)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (QChar c : word)
        hash = (hash ^ c.unicode()) * 1099511628211ull;
    return std::size_t(hash ^ (hash >> 32));
}
}  // namespace

SearchVocabulary &SearchVocabulary::shared()
{
    static SearchVocabulary vocabulary;
    return vocabulary;
}

std::size_t SearchVocabulary::words() const
{
    const std::lock_guard lock(m_mutex);
    return m_starts.size();
}

std::size_t SearchVocabulary::entries() const
{
    const std::lock_guard lock(m_mutex);
    return m_entries - 1;
}

template <typename Mark>
void SearchVocabulary::forEachEntryLocked(std::uint32_t number, Mark &&mark) const
{
    if (number < m_packing.size()) {
        const Packed &packed = m_packing[number];
        const std::uint8_t *bytes = m_packed.data() + packed.offset;
        if (packed.bitmap) {
            for (std::uint32_t w = 0; w < packed.size / 8; ++w) {
                std::uint64_t bits;
                std::memcpy(&bits, bytes + 8 * std::size_t(w), sizeof bits);
                while (bits) {
                    mark(w * 64 + std::uint32_t(__builtin_ctzll(bits)));
                    bits &= bits - 1;
                }
            }
        } else {
            std::uint32_t entry = 0;
            for (std::uint32_t at = 0; at < packed.size;) {
                std::uint32_t gap = 0;
                for (int shift = 0;; shift += 7) {
                    const std::uint8_t byte = bytes[at++];
                    gap |= std::uint32_t(byte & 0x7f) << shift;
                    if (!(byte & 0x80))
                        break;
                }
                entry += gap;
                mark(entry);
            }
        }
    }
    for (const std::uint32_t entry : m_postings[number])
        mark(entry);
}

namespace {
// How many words one turn of a packing packs: well under a millisecond's work, so that a search
// typed meanwhile waits no longer than that.
constexpr std::uint32_t kWordsPerTurn = 4096;
}  // namespace

void SearchVocabulary::waitForSearches() const
{
    // The lock is no fairer than to take it again: a search waiting goes first.
    while (m_searching.load(std::memory_order_acquire) > 0)
        std::this_thread::yield();
}

// One word's entries packed at the end of `packed`, as a bitmap or as gaps, whichever is smaller.
SearchVocabulary::Packed SearchVocabulary::pack(const std::vector<std::uint32_t> &entries, std::size_t bitmapBytes,
                                                std::vector<std::uint8_t> &packed)
{
    std::size_t gapBytes = 0;
    std::uint32_t previous = 0;
    for (const std::uint32_t entry : entries) {
        for (std::uint32_t gap = entry - previous; gap >= 0x80; gap >>= 7)
            ++gapBytes;
        ++gapBytes;
        previous = entry;
    }
    Packed word;
    if (bitmapBytes < gapBytes) {
        // Bitmaps start at a multiple of eight bytes, to be read a 64-bit word at a time.
        packed.resize((packed.size() + 7) / 8 * 8);
        word = Packed{std::uint32_t(packed.size()), std::uint32_t(bitmapBytes), true};
        packed.resize(packed.size() + bitmapBytes, 0);
        std::vector<std::uint64_t> bits(bitmapBytes / 8, 0);
        for (const std::uint32_t entry : entries)
            bits[entry >> 6] |= std::uint64_t(1) << (entry & 63);
        std::memcpy(packed.data() + word.offset, bits.data(), bitmapBytes);
    } else {
        word = Packed{std::uint32_t(packed.size()), std::uint32_t(gapBytes), false};
        previous = 0;
        for (const std::uint32_t entry : entries) {
            std::uint32_t gap = entry - previous;
            for (; gap >= 0x80; gap >>= 7)
                packed.push_back(std::uint8_t(0x80 | (gap & 0x7f)));
            packed.push_back(std::uint8_t(gap));
            previous = entry;
        }
    }
    return word;
}

void SearchVocabulary::compact(const std::function<void()> &betweenTurns)
{
    const std::lock_guard compacting(m_compacting);
    // Everything is packed anew, into new room: the words' entries in order, each word's old
    // packed entries followed by those listed before the packing began. The old room answers
    // the searches until the new one takes its place.
    std::uint32_t known = 0;
    std::uint32_t words = 0;
    {
        const std::lock_guard lock(m_mutex);
        known = m_entries;
        words = std::uint32_t(m_starts.size());
    }
    const std::size_t bitmapBytes = (std::size_t(known) + 63) / 64 * 8;
    std::vector<Packed> packing(words);
    std::vector<std::uint8_t> packed;
    // How many of each word's listed entries the packing holds: those listed since stay listed.
    std::vector<std::uint32_t> taken(words, 0);
    std::vector<std::uint32_t> entries;
    for (std::uint32_t turn = 0; turn < words; turn += kWordsPerTurn) {
        waitForSearches();
        {
            const std::lock_guard lock(m_mutex);
            for (std::uint32_t number = turn; number < std::min(words, turn + kWordsPerTurn); ++number) {
                entries.clear();
                forEachEntryLocked(number, [&](std::uint32_t entry) {
                    if (entry < known)
                        entries.push_back(entry);
                });
                const std::vector<std::uint32_t> &listed = m_postings[number];
                taken[number] = std::uint32_t(std::lower_bound(listed.begin(), listed.end(), known) - listed.begin());
                packing[number] = pack(entries, bitmapBytes, packed);
            }
        }
        if (betweenTurns)
            betweenTurns();
    }
    packed.shrink_to_fit();
    // The lists since the packing start empty, without room; made, and the old ones let go,
    // outside the lock.
    std::vector<std::vector<std::uint32_t>> listed(words);
    std::vector<std::vector<std::uint32_t>> old;
    waitForSearches();
    {
        const std::lock_guard lock(m_mutex);
        for (std::uint32_t number = 0; number < words; ++number) {
            const std::vector<std::uint32_t> &was = m_postings[number];
            if (was.size() > taken[number])
                listed[number].assign(was.begin() + taken[number], was.end());
        }
        // Words met for the first time during the packing keep their lists whole.
        for (std::size_t number = words; number < m_postings.size(); ++number)
            listed.push_back(std::move(m_postings[number]));
        old.swap(m_postings);
        m_postings.swap(listed);
        m_packing = std::move(packing);
        m_packed = std::move(packed);
        m_text.shrink_to_fit();
        m_starts.shrink_to_fit();
        m_hashes.shrink_to_fit();
    }
}

void SearchVocabulary::Entries::intersect(const Entries &other)
{
    m_known = std::min(m_known, other.m_known);
    m_bits.resize((std::size_t(m_known) + 63) / 64);
    for (std::size_t i = 0; i < m_bits.size(); ++i)
        m_bits[i] &= other.m_bits[i];
    // Bits beyond the entries known to both are cleared, so that contains() stays exact.
    if (m_known % 64 != 0 && !m_bits.empty())
        m_bits.back() &= (std::uint64_t(1) << (m_known % 64)) - 1;
}

QStringView SearchVocabulary::wordLocked(std::uint32_t number) const
{
    const std::uint32_t start = m_starts[number];
    const std::uint32_t end = number + 1 < m_starts.size() ? m_starts[number + 1] - 1 : std::uint32_t(m_text.size() - 1);
    return QStringView(m_text.data() + start, qsizetype(end - start));
}

void SearchVocabulary::growLocked()
{
    std::vector<std::uint32_t> table(std::max<std::size_t>(1024, m_table.size() * 2), 0);
    const std::size_t mask = table.size() - 1;
    for (std::uint32_t number = 0; number < m_starts.size(); ++number) {
        std::size_t i = m_hashes[number] & mask;
        while (table[i] != 0)
            i = (i + 1) & mask;
        table[i] = number + 1;
    }
    m_table = std::move(table);
}

std::uint32_t SearchVocabulary::numberLocked(QStringView word, std::size_t hash)
{
    if ((m_starts.size() + 1) * 2 > m_table.size())
        growLocked();
    const auto shortHash = std::uint32_t(hash);
    const std::size_t mask = m_table.size() - 1;
    std::size_t i = shortHash & mask;
    while (m_table[i] != 0) {
        const std::uint32_t number = m_table[i] - 1;
        if (m_hashes[number] == shortHash) {
            const QStringView known = wordLocked(number);
            if (known.size() == word.size()
                && std::equal(word.utf16(), word.utf16() + word.size(), known.utf16()))
                return number;
        }
        i = (i + 1) & mask;
    }
    const auto number = std::uint32_t(m_starts.size());
    m_starts.push_back(std::uint32_t(m_text.size()));
    m_hashes.push_back(shortHash);
    m_text.insert(m_text.end(), word.utf16(), word.utf16() + word.size());
    m_text.push_back(u' ');
    m_postings.emplace_back();
    m_table[i] = number + 1;
    return number;
}

std::uint32_t SearchVocabulary::index(QStringView folded)
{
    const std::lock_guard lock(m_mutex);
    const std::uint32_t entry = m_entries++;
    const qsizetype n = folded.size();
    qsizetype i = 0;
    while (i < n) {
        // White space is all in the basic plane, so surrogates never end a word.
        while (i < n && text::isWhiteSpace(folded.at(i).unicode()))
            ++i;
        const qsizetype start = i;
        while (i < n && !text::isWhiteSpace(folded.at(i).unicode()))
            ++i;
        if (i > start) {
            const QStringView word = folded.sliced(start, i - start);
            std::vector<std::uint32_t> &postings = m_postings[numberLocked(word, wordHash(word))];
            // A word met twice in one text is listed once: entries only grow.
            if (postings.empty() || postings.back() != entry)
                postings.push_back(entry);
        }
    }
    for (Letter &prepared : m_letters) {
        Entries &entries = prepared.entries;
        entries.m_known = m_entries;
        entries.m_bits.resize((std::size_t(m_entries) + 63) / 64, 0);
        if (folded.contains(QChar(prepared.letter)))
            entries.m_bits[entry >> 6] |= std::uint64_t(1) << (entry & 63);
    }
    return entry;
}

namespace {
// The letters whose sets are prepared: a search's first letter is most often a common one, and
// each set takes a bit a text.
constexpr std::size_t kLettersPrepared = 48;
}  // namespace

void SearchVocabulary::prepareLetters()
{
    std::vector<char16_t> letters;
    {
        const std::lock_guard lock(m_mutex);
        // How many words hold each letter (of the basic plane; white space never is a word's).
        std::vector<std::uint32_t> words(0x10000, 0);
        std::vector<std::uint32_t> lastWord(0x10000, std::numeric_limits<std::uint32_t>::max());
        std::uint32_t number = 0;
        for (const char16_t c : m_text) {
            if (c == u' ') {
                ++number;
            } else if (!QChar::isSurrogate(c) && lastWord[c] != number) {
                lastWord[c] = number;
                ++words[c];
            }
        }
        for (std::uint32_t c = 0; c < words.size(); ++c)
            if (words[c] > 0)
                letters.push_back(char16_t(c));
        const auto byWords = [&](char16_t a, char16_t b) { return words[a] > words[b]; };
        if (letters.size() > kLettersPrepared) {
            std::nth_element(letters.begin(), letters.begin() + kLettersPrepared, letters.end(), byWords);
            letters.resize(kLettersPrepared);
        }
        m_letters.clear();
    }
    // A letter at a time, a search waiting going first: the lock is no fairer than to take it
    // again, and a search would wait for every letter.
    for (const char16_t letter : letters) {
        waitForSearches();
        const std::lock_guard lock(m_mutex);
        m_letters.push_back(Letter{letter, markedLocked(QStringView(&letter, 1), Marking::inBackground)});
    }
}

namespace {
// Query words whose found words are kept: a search is typed a letter at a time, into one word.
constexpr std::size_t kFoundKept = 8;

// The first of the ascending [from, end) greater than `value`, looked for in steps that double
// from `from`: a short query word is found in word after word, each hit a few words on.
std::vector<std::uint32_t>::const_iterator firstAfter(std::vector<std::uint32_t>::const_iterator from,
                                                      std::vector<std::uint32_t>::const_iterator end, std::uint32_t value)
{
    std::ptrdiff_t step = 1;
    auto low = from;
    while (step < end - low && low[step] <= value) {
        low += step;
        step *= 2;
    }
    return std::upper_bound(low, low + std::min(step, std::ptrdiff_t(end - low)), value);
}
}  // namespace

std::vector<std::uint32_t> SearchVocabulary::wordsHoldingLocked(QStringView foldedWord, bool keep) const
{
    const auto wordCount = std::uint32_t(m_starts.size());
    // The longest kept word this one holds: its words are the only ones before its time that can.
    const Found *narrowed = nullptr;
    for (const Found &kept : m_found) {
        if (kept.wordsThen <= wordCount && foldedWord.contains(kept.word)
            && (!narrowed || kept.word.size() > narrowed->word.size()))
            narrowed = &kept;
    }
    std::vector<std::uint32_t> found;
    std::uint32_t scanFrom = 0;
    if (narrowed) {
        for (const std::uint32_t number : narrowed->numbers) {
            if (wordLocked(number).contains(foldedWord))
                found.push_back(number);
        }
        scanFrom = narrowed->wordsThen;
    }
    // The rest in the words' text: hits come in order, so each hit's word is looked for from the
    // last one's on, and the search goes on after it.
    if (scanFrom < wordCount) {
        const QStringView all(m_text.data(), qsizetype(m_text.size()));
        qsizetype from = m_starts[scanFrom];
        auto next = m_starts.begin() + scanFrom;
        for (;;) {
            const qsizetype at = text::indexOf(all, foldedWord, from);
            if (at < 0)
                break;
            next = firstAfter(next, m_starts.end(), std::uint32_t(at));
            found.push_back(std::uint32_t(next - m_starts.begin() - 1));
            if (next == m_starts.end())
                break;
            from = qsizetype(*next);
        }
    }
    if (!keep)
        return found;
    if (m_found.size() >= kFoundKept)
        m_found.erase(m_found.begin());
    m_found.push_back(Found{foldedWord.toString(), found, wordCount});
    return found;
}

SearchVocabulary::Entries SearchVocabulary::containing(QStringView foldedWord) const
{
    m_searching.fetch_add(1, std::memory_order_acq_rel);
    const std::lock_guard lock(m_mutex);
    m_searching.fetch_sub(1, std::memory_order_acq_rel);
    if (foldedWord.size() == 1) {
        for (const Letter &prepared : m_letters)
            if (prepared.letter == foldedWord.front().unicode())
                return prepared.entries;
    }
    for (auto it = m_given.begin(); it != m_given.end(); ++it) {
        if (it->entries.m_known == m_entries && it->word == foldedWord) {
            std::rotate(m_given.begin(), it, std::next(it));
            return m_given.front().entries;
        }
    }
    Entries entries = markedLocked(foldedWord);
    if (m_given.size() >= kFoundKept)
        m_given.pop_back();
    m_given.insert(m_given.begin(), Given{foldedWord.toString(), entries});
    return entries;
}

SearchVocabulary::Entries SearchVocabulary::markedLocked(QStringView foldedWord, Marking marking) const
{
    Entries entries;
    entries.m_known = m_entries;
    const std::size_t size = (std::size_t(m_entries) + 63) / 64;
    entries.m_bits.assign(size, 0);

    // What marking a word's texts costs, about: an entry for each byte of its packed gaps, one for
    // each machine word of its packed bitmap, and each entry since the packing.
    const auto listedIn = [&](std::uint32_t number) -> std::size_t {
        std::size_t cost = m_postings[number].size();
        if (number < m_packing.size())
            cost += m_packing[number].bitmap ? m_packing[number].size / 8 : m_packing[number].size;
        return cost;
    };
    // The words that hold it, in order, with what marking the words before each costs.
    const std::vector<std::uint32_t> found = wordsHoldingLocked(foldedWord, marking == Marking::forSearch);
    std::vector<std::size_t> before{0};
    before.reserve(found.size() + 1);
    for (const std::uint32_t number : found)
        before.push_back(before.back() + listedIn(number));

    // Their texts marked. A short query's words list a good part of every text: then on several
    // threads, each taking an equal share of the listed texts into a set of its own, joined here.
    const std::size_t listed = before.back();
    const auto mark = [&](std::vector<std::uint64_t> &bits, std::size_t firstWord, std::size_t lastWord) {
        for (std::size_t k = firstWord; k < lastWord; ++k) {
            const std::uint32_t number = found[k];
            if (number < m_packing.size() && m_packing[number].bitmap) {
                // A packed bitmap is laid over the set's words whole, then the entries since.
                const Packed &packed = m_packing[number];
                const std::uint8_t *bytes = m_packed.data() + packed.offset;
                for (std::uint32_t w = 0; w < packed.size / 8; ++w) {
                    std::uint64_t word;
                    std::memcpy(&word, bytes + 8 * std::size_t(w), sizeof word);
                    bits[w] |= word;
                }
                for (const std::uint32_t entry : m_postings[number])
                    bits[entry >> 6] |= std::uint64_t(1) << (entry & 63);
            } else {
                forEachEntryLocked(number, [&](std::uint32_t entry) { bits[entry >> 6] |= std::uint64_t(1) << (entry & 63); });
            }
        }
    };
    const std::size_t threads = marking == Marking::inBackground
                                    ? 1
                                    : std::clamp<std::size_t>(listed / kListedPerThread, 1, std::min<std::size_t>(4, usableCores()));
    if (threads == 1) {
        mark(entries.m_bits, 0, found.size());
        return entries;
    }
    // The word where a share of the listed texts begins: the first that begins at or after it.
    const auto wordAt = [&](std::size_t share) {
        return std::size_t(std::lower_bound(before.begin(), before.end() - 1, share) - before.begin());
    };
    std::vector<std::vector<std::uint64_t>> parts(threads);
    inParts(listed, threads, [&](std::size_t part, std::size_t begin, std::size_t end) {
        parts[part].assign(size, 0);
        mark(parts[part], wordAt(begin), wordAt(end));
    });
    for (const std::vector<std::uint64_t> &bits : parts)
        for (std::size_t i = 0; i < size; ++i)
            entries.m_bits[i] |= bits[i];
    return entries;
}

}  // namespace sw
