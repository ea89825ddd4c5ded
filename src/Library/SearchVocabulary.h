#pragma once

// The words of every save's folded search text, each with a number, so that a search looks for a
// query word once in the distinct words of the whole library rather than in every save's text.
//
// A word here is a maximal run of characters that are not white space. A query word holds no
// white space, so it occurs in a text exactly when it occurs inside one of the text's words: a
// save matches a query word when one of its words' numbers is among those of the words that
// contain it. The vocabulary is shared by the whole process and only grows; numbers are never
// reused.

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sw {

class SearchVocabulary {
public:
    // Which words contain one query word: a bit per word number known when it was made.
    class Matches {
    public:
        // True when word number `word` contains the query word. Numbers given to new words after
        // these matches were made are looked up in the vocabulary.
        bool contains(std::uint32_t word) const
        {
            if (word < m_known)
                return (m_bits[word >> 6] >> (word & 63)) & 1;
            return m_vocabulary->wordContains(word, m_word);
        }

    private:
        friend class SearchVocabulary;
        const SearchVocabulary *m_vocabulary = nullptr;
        QString m_word;
        std::uint32_t m_known = 0;
        std::vector<std::uint64_t> m_bits;
    };

    static SearchVocabulary &shared();

    // The numbers of the distinct words of a folded text, ascending.
    std::vector<std::uint32_t> words(QStringView folded);
    // The words that contain a query word (already folded, without white space, not empty).
    Matches matching(const QString &foldedWord) const;
    // Whether word number `word` contains the text.
    bool wordContains(std::uint32_t word, QStringView text) const;

    std::size_t size() const;

private:
    SearchVocabulary() = default;
    std::uint32_t numberLocked(QStringView word, std::size_t hash);
    QStringView wordLocked(std::uint32_t number) const;
    void growLocked();

    mutable std::mutex m_mutex;
    // Every word once, in order of numbering, each followed by a space: a query word, which holds
    // no space, can never be found across two of them.
    std::vector<char16_t> m_text;
    std::vector<std::uint32_t> m_starts;   // where each word begins in m_text
    std::vector<std::uint32_t> m_hashes;   // each word's hash, for the table below
    std::vector<std::uint32_t> m_table;    // open addressing: 0 empty, else number + 1
};

}  // namespace sw
