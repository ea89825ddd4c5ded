#include "Capture/Text.h"

#include <QChar>
#include <QHashFunctions>

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

QString fold(const QString &s)
{
    if (isAscii(s))
        return s.toCaseFolded();
    // Texts are mostly ASCII with a few other characters. An ASCII character neither decomposes
    // nor composes with what stands before it, and what composes with it after it is a combining
    // mark, which the fold drops: so each run of ASCII folds by itself (to lower case), and only
    // the runs of other characters take the whole way.
    QString out;
    out.reserve(s.size());
    const char16_t *p = reinterpret_cast<const char16_t *>(s.constData());
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype j = i;
        while (j < n && p[j] < 0x80)
            ++j;
        if (j > i) {
            const qsizetype at = out.size();
            out.resize(at + (j - i));
            char16_t *w = reinterpret_cast<char16_t *>(out.data()) + at;
            for (qsizetype k = i; k < j; ++k)
                w[k - i] = (p[k] >= u'A' && p[k] <= u'Z') ? char16_t(p[k] + 32) : p[k];
        }
        i = j;
        while (j < n && p[j] >= 0x80)
            ++j;
        if (j > i)
            out.append(foldWhole(QString(reinterpret_cast<const QChar *>(p + i), j - i)));
        i = j;
    }
    return out;
}

bool foldedEqual(const QString &a, const QString &b)
{
    return fold(a) == fold(b);
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
