#pragma once

// Text as the model compares it: equality under Unicode canonical equivalence, a case- and
// diacritic-insensitive fold, and the Unicode white-space set.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>

namespace sw::text {

// True when the two texts are canonically equivalent (equal after NFC). Pure ASCII texts are
// compared byte for byte without normalising.
bool canonicallyEqual(QStringView a, QStringView b);
// A hash consistent with canonicallyEqual.
std::size_t canonicalHash(QStringView s, std::size_t seed = 0) noexcept;
// The NFC form (ASCII texts are returned as they are).
QString canonical(const QString &s);

// The full Unicode lowercase mapping.
QString lowercased(const QString &s);

// The case- and diacritic-insensitive form: NFD, combining marks dropped, case-folded, then NFC.
// Two texts compare case- and diacritic-insensitively when their folds are equal.
QString fold(const QString &s);
bool foldedEqual(const QString &a, const QString &b);
// Whether fold(s) contains `folded` (a folded text), without folding the whole of s: the runs of
// ASCII are looked in as they stand and only the other characters, with the few around them, are
// folded. Allocates nothing for most texts. An empty `folded` is contained in every text.
bool foldedContains(QStringView s, QStringView folded);

// The first place at or after `from` where `w` (not empty) occurs in `s`, unit for unit, or -1:
// QStringView::indexOf's answer, found a few times faster in a long text.
qsizetype indexOf(QStringView s, QStringView w, qsizetype from) noexcept;

// The Unicode White_Space property (which is also the set of white space and newlines).
bool isWhiteSpace(char32_t c) noexcept;
bool containsWhiteSpace(QStringView s) noexcept;
// The control characters: C0 (U+0000 to U+001F), DEL and C1 (U+007F to U+009F). No file name
// holds one, and none reaches the system's calls, which end a name at its first NUL.
constexpr bool isControl(char32_t c) noexcept { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool containsControl(QStringView s) noexcept;

// The value of a hexadecimal digit in either case, or -1 for any other byte.
constexpr int hexDigitValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Removes white space and newlines from both ends.
QString trimmed(const QString &s);
QStringView trimmedView(QStringView s) noexcept;
// The maximal runs of non-white-space characters, in order.
QStringList words(QStringView s);

}  // namespace sw::text
