#include "Capture/Text.h"

#include <QChar>
#include <QHashFunctions>
#include <QVarLengthArray>

#include <algorithm>
#include <atomic>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace sw::text {

namespace {
bool isAscii(QStringView s) noexcept
{
    for (QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}
}  // namespace

bool canonicallyEqual(QStringView a, QStringView b)
{
    if (a == b)
        return true;
    if (isAscii(a) && isAscii(b))
        return false;
    return a.toString().normalized(QString::NormalizationForm_C)
        == b.toString().normalized(QString::NormalizationForm_C);
}

std::size_t canonicalHash(QStringView s, std::size_t seed) noexcept
{
    if (isAscii(s))
        return ::qHash(s, seed);
    return ::qHash(s.toString().normalized(QString::NormalizationForm_C), seed);
}

QString canonical(const QString &s)
{
    if (isAscii(s))
        return s;
    return s.normalized(QString::NormalizationForm_C);
}

QString lowercased(const QString &s)
{
    return s.toLower();
}

namespace {
// The fold of a text: NFD, combining marks dropped, case-folded (with the expansions that Qt's
// one-to-one folding lacks), NFC.
QString foldWhole(const QString &s)
{
    const QString decomposed = s.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        char32_t c = decomposed.at(i).unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < decomposed.size() && decomposed.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(decomposed.at(i), decomposed.at(i + 1));
            width = 2;
        }
        const auto category = QChar::category(c);
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining
            && category != QChar::Mark_Enclosing)
            out.append(decomposed.constData() + i, width);
        i += width - 1;
    }
    out = out.toCaseFolded();
    // Qt folds one character to one; the full folding also expands these.
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out.at(i).unicode();
        const char *expansion = nullptr;
        switch (c) {
        case 0x00DF: case 0x1E9E: expansion = "ss"; break;
        case 0xFB00: expansion = "ff"; break;
        case 0xFB01: expansion = "fi"; break;
        case 0xFB02: expansion = "fl"; break;
        case 0xFB03: expansion = "ffi"; break;
        case 0xFB04: expansion = "ffl"; break;
        case 0xFB05: case 0xFB06: expansion = "st"; break;
        default: continue;
        }
        const QString replacement = QString::fromLatin1(expansion);
        out.replace(i, 1, replacement);
        i += replacement.size() - 1;
    }
    return out.normalized(QString::NormalizationForm_C);
}
}  // namespace

namespace {

// The fold of each character of the Basic Multilingual Plane on its own, worked out on first use
// and kept (by any thread: each works out the same value). A character whose fold may depend on
// its neighbours is marked so, and a run holding one folds the whole way.
//
// Folding a run character by character gives the run's fold when no character interacts with
// another: the marks, which canonical ordering and composition concern, are dropped by the fold
// whatever stands around them; what remains composes only in Hangul (a leading and a vowel jamo,
// a syllable and a trailing jamo), so the conjoining jamo are marked, as are surrogates, the rare
// characters of a combining class that are no marks, and any whose fold holds such a character
// or is longer than three units.
//
// An entry: 0 unknown, else kKnown with kContextual, or the fold's length (bits 48-49) and its
// units (16 bits each from bit 0).
constexpr std::uint64_t kKnown = std::uint64_t(1) << 63;
constexpr std::uint64_t kContextual = std::uint64_t(1) << 62;
std::atomic<std::uint64_t> g_folds[0x10000];

bool isConjoiningJamo(char16_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF);
}

bool isMark(char32_t c)
{
    const auto category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

std::uint64_t foldEntry(char16_t c)
{
    std::uint64_t entry = g_folds[c].load(std::memory_order_relaxed);
    if (entry != 0)
        return entry;
    entry = kKnown | kContextual;
    if (!QChar::isSurrogate(c) && !isConjoiningJamo(c) && (QChar::combiningClass(c) == 0 || isMark(c))) {
        const QString folded = foldWhole(QString(QChar(c)));
        bool alone = folded.size() <= 3;
        for (qsizetype k = 0; alone && k < folded.size(); ++k) {
            const char16_t u = folded.at(k).unicode();
            alone = !QChar::isSurrogate(u) && !isConjoiningJamo(u) && QChar::combiningClass(u) == 0;
        }
        if (alone) {
            entry = kKnown | (std::uint64_t(folded.size()) << 48);
            for (qsizetype k = 0; k < folded.size(); ++k)
                entry |= std::uint64_t(folded.at(k).unicode()) << (16 * k);
        }
    }
    g_folds[c].store(entry, std::memory_order_relaxed);
    return entry;
}

using FoldBuffer = QVarLengthArray<char16_t, 512>;

// Appends the fold of p[0, n), whose ends are no run of non-ASCII characters cut short.
void appendFold(const char16_t *p, qsizetype n, FoldBuffer &out)
{
    // An ASCII character neither decomposes nor composes with what stands before it, and what
    // composes with it after it is a combining mark, which the fold drops: so each run of ASCII
    // folds by itself (to lower case), and each run of other characters by itself.
    qsizetype i = 0;
    while (i < n) {
        qsizetype j = i;
        while (j < n && p[j] < 0x80)
            ++j;
        if (j > i) {
            const qsizetype at = out.size();
            out.resize(at + (j - i));
            char16_t *w = out.data() + at;
            for (qsizetype k = i; k < j; ++k)
                w[k - i] = (p[k] >= u'A' && p[k] <= u'Z') ? char16_t(p[k] + 32) : p[k];
        }
        i = j;
        while (j < n && p[j] >= 0x80)
            ++j;
        if (j > i) {
            const qsizetype mark = out.size();
            for (qsizetype k = i; k < j; ++k) {
                const std::uint64_t entry = foldEntry(p[k]);
                if (entry & kContextual) {
                    out.resize(mark);
                    const QString whole = foldWhole(QString(reinterpret_cast<const QChar *>(p + i), j - i));
                    out.append(reinterpret_cast<const char16_t *>(whole.utf16()), whole.size());
                    break;
                }
                const int length = int((entry >> 48) & 3);
                for (int u = 0; u < length; ++u)
                    out.append(char16_t(entry >> (16 * u)));
            }
        }
        i = j;
    }
}

// The ASCII lower case of an ASCII character; any other is left as it is.
inline char16_t lowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

// Whether s read with its ASCII letters in lower case holds the lower-case ASCII word w[0, m)
// at its start (no other character can match an ASCII one).
inline bool asciiMatchAt(const char16_t *s, const char16_t *w, qsizetype m)
{
    for (qsizetype k = 1; k < m; ++k)
        if (lowerAscii(s[k]) != w[k])
            return false;
    return true;
}

// The ASCII upper case of a lower-case ASCII letter; any other character is left as it is.
inline char16_t upperAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

// Whether the lower-case ASCII word w[0, m) occurs in s[0, n) read with its ASCII letters in
// lower case. Eight positions at a time look for the word's first two letters in either case;
// the rest is compared where both are found.
bool asciiContains(const char16_t *s, qsizetype n, const char16_t *w, qsizetype m)
{
    if (m > n)
        return false;
    const char16_t first = w[0];
    const char16_t firstUpper = upperAscii(first);
    const qsizetype last = n - m;
    qsizetype i = 0;
#ifdef __SSE2__
    if (m >= 2) {
        const __m128i a = _mm_set1_epi16(short(first));
        const __m128i aUpper = _mm_set1_epi16(short(firstUpper));
        const __m128i b = _mm_set1_epi16(short(w[1]));
        const __m128i bUpper = _mm_set1_epi16(short(upperAscii(w[1])));
        // Positions i .. i + 7, each with the unit after it: the loads reach i + 8 < n.
        for (; i + 8 <= last + 1; i += 8) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + 1));
            const __m128i both = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi16(here, a), _mm_cmpeq_epi16(here, aUpper)),
                                               _mm_or_si128(_mm_cmpeq_epi16(next, b), _mm_cmpeq_epi16(next, bUpper)));
            unsigned hits = unsigned(_mm_movemask_epi8(both));
            while (hits) {
                const int bit = __builtin_ctz(hits);
                if (asciiMatchAt(s + i + bit / 2, w, m))
                    return true;
                hits &= ~(3u << bit);
            }
        }
    }
#endif
    for (; i <= last; ++i)
        if ((s[i] == first || s[i] == firstUpper) && asciiMatchAt(s + i, w, m))
            return true;
    return false;
}

// The first position from i on of a character that is not ASCII, or n.
qsizetype nextNonAscii(const char16_t *p, qsizetype i, qsizetype n)
{
#ifdef __SSE2__
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    for (; i + 8 <= n; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const unsigned ascii = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, high), _mm_setzero_si128())));
        if (ascii != 0xFFFF)
            return i + __builtin_ctz(~ascii & 0xFFFF) / 2;
    }
#endif
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

// Whether no match of the folded word w[0, m) can touch the fold of the run of non-ASCII
// characters p[0, n): the run's fold is known, not empty, and holds no unit of the word. (A match
// that touches a fold holds one of its units, or spans it when it is empty.)
bool foldMissesWord(const char16_t *p, qsizetype n, const char16_t *w, qsizetype m)
{
    bool empty = true;
    for (qsizetype k = 0; k < n; ++k) {
        const std::uint64_t entry = foldEntry(p[k]);
        if (entry & kContextual)
            return false;
        const int length = int((entry >> 48) & 3);
        for (int u = 0; u < length; ++u)
            if (std::find(w, w + m, char16_t(entry >> (16 * u))) != w + m)
                return false;
        empty = empty && length == 0;
    }
    return !empty;
}

// Whether the window w[0, m) of folded units holds `word`, looked for unit by unit (windows are
// a few units long).
bool windowContains(const char16_t *h, qsizetype n, const char16_t *w, qsizetype m)
{
    for (qsizetype i = 0; i + m <= n; ++i)
        if (h[i] == w[0] && std::equal(w + 1, w + m, h + i + 1))
            return true;
    return false;
}

}  // namespace

QString fold(const QString &s)
{
    if (isAscii(s))
        return s.toCaseFolded();
    FoldBuffer out;
    appendFold(reinterpret_cast<const char16_t *>(s.utf16()), s.size(), out);
    return QString(reinterpret_cast<const QChar *>(out.constData()), out.size());
}

bool foldedContains(QStringView s, QStringView folded)
{
    const qsizetype m = folded.size();
    if (m == 0)
        return true;
    const char16_t *p = s.utf16();
    const qsizetype n = s.size();
    const char16_t *w = folded.utf16();
    const bool asciiWord = nextNonAscii(w, 0, m) == m;
    // A match inside a run of ASCII is found in place.
    if (asciiWord && asciiContains(p, n, w, m))
        return true;
    // Any other match touches the fold of a run of other characters (or spans one that folds to
    // nothing): it lies within the m - 1 units on either side of it. ASCII characters fold to one
    // unit each, so a window that reaches m - 1 of them past the run (taking in whole any other
    // run it meets) holds every such match in its fold.
    FoldBuffer window;
    qsizetype i = 0;
    for (;;) {
        i = nextNonAscii(p, i, n);
        if (i == n)
            return false;
        qsizetype j = i;
        while (j < n && p[j] >= 0x80)
            ++j;
        if (foldMissesWord(p + i, j - i, w, m)) {
            i = j;
            continue;
        }
        // Before i stand at least m - 1 ASCII characters since the last window's runs (or the
        // start, or a run passed over, whose fold no match can hold): the last window went that
        // far past them.
        const qsizetype begin = std::max<qsizetype>(0, i - (m - 1));
        qsizetype ascii = 0;
        while (j < n && ascii < m - 1) {
            if (p[j] < 0x80) {
                ++ascii;
                ++j;
            } else {
                while (j < n && p[j] >= 0x80)
                    ++j;
                ascii = 0;
            }
        }
        window.clear();
        appendFold(p + begin, j - begin, window);
        if (windowContains(window.constData(), window.size(), w, m))
            return true;
        i = j;
    }
}

bool foldedEqual(const QString &a, const QString &b)
{
    return fold(a) == fold(b);
}

qsizetype indexOf(QStringView s, QStringView w, qsizetype from) noexcept
{
    const qsizetype n = s.size();
    const qsizetype m = w.size();
    const char16_t *p = s.utf16();
    const char16_t *q = w.utf16();
    const qsizetype last = n - m;
    qsizetype i = std::max<qsizetype>(from, 0);
    const auto matchAt = [&](qsizetype at) { return std::equal(q + 1, q + m, p + at + 1); };
#ifdef __SSE2__
    if (m >= 2) {
        // Positions i .. i + 7, each with the unit after it: the loads reach i + 8 < n.
        const __m128i a = _mm_set1_epi16(short(q[0]));
        const __m128i b = _mm_set1_epi16(short(q[1]));
        for (; i + 8 <= last + 1; i += 8) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 1));
            unsigned hits = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(here, a), _mm_cmpeq_epi16(next, b))));
            while (hits) {
                const int bit = __builtin_ctz(hits);
                if (matchAt(i + bit / 2))
                    return i + bit / 2;
                hits &= ~(3u << bit);
            }
        }
    }
#endif
    for (; i <= last; ++i)
        if (p[i] == q[0] && matchAt(i))
            return i;
    return -1;
}

bool isWhiteSpace(char32_t c) noexcept
{
    switch (c) {
    case 0x0009: case 0x000A: case 0x000B: case 0x000C: case 0x000D:
    case 0x0020: case 0x0085: case 0x00A0: case 0x1680:
    case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool containsControl(QStringView s) noexcept
{
    for (QChar c : s)
        if (isControl(c.unicode()))
            return true;
    return false;
}

bool containsWhiteSpace(QStringView s) noexcept
{
    // Every white-space character is in the Basic Multilingual Plane, so surrogates never match.
    for (QChar c : s)
        if (isWhiteSpace(c.unicode()))
            return true;
    return false;
}

QStringView trimmedView(QStringView s) noexcept
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isWhiteSpace(s.at(begin).unicode()))
        ++begin;
    while (end > begin && isWhiteSpace(s.at(end - 1).unicode()))
        --end;
    return s.sliced(begin, end - begin);
}

QString trimmed(const QString &s)
{
    const QStringView v = trimmedView(s);
    if (v.size() == s.size())
        return s;
    return v.toString();
}

// Every white-space character lies in the Basic Multilingual Plane, so testing UTF-16 units one
// by one never splits a surrogate pair.
QStringList words(QStringView s)
{
    QStringList out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= s.size(); ++i) {
        if (i == s.size() || isWhiteSpace(s.at(i).unicode())) {
            if (start >= 0)
                out.append(s.sliced(start, i - start).toString());
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return out;
}

}  // namespace sw::text
