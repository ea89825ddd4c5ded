#include "StashwellUI/detail/TextLines.h"

#include <QFontMetricsF>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace sw::TextLines {

namespace {

// Eliding keeps the direction marks of what it leaves out: a text cut early, with marks past the
// cut, would show without them.
bool hasDirectionMark(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x202a && u <= 0x202e) || u == 0x200e || u == 0x200f || (u >= 0x2066 && u <= 0x2069);
    });
}

// `early`: a long rest is cut from its start alone (elidedStart).
QString laidOut(const QString &text, const QFont &font, double width, int lines, bool early = true);

// What the last line shows of a long rest (cut with an ellipsis), taken from only its start: the
// line ends well before the start's end, so the rest after it cannot change where it is cut. None
// when the rest is not that long, or the line would end near the start's end (glyphs without
// width, or few of them and wide): the whole rest is then cut as it stands.
QString elidedStart(const QString &rest, const QFont &font, double width);

// Of a long text only the start can show: so many characters that even the narrowest glyphs would
// fill the lines with a quarter to spare. Laying out a few hundred characters of a post for two lines of a card
// costs far more than the lines themselves.
qsizetype showableLength(const QFont &font, double width, int lines)
{
    const QFontMetricsF metrics(font);
    const double narrowest = std::max(1.0, std::min({metrics.horizontalAdvance(u'.'), metrics.horizontalAdvance(u'i'),
                                                     metrics.horizontalAdvance(u' '), metrics.horizontalAdvance(u'|')}));
    const double perLine = std::max(0.0, width) / narrowest + 2;
    return qsizetype(1.25 * perLine * double(lines)) + 16;
}

QString elidedStart(const QString &rest, const QFont &font, double width)
{
    // Characters beyond the last one that shows, as the early cut of the whole text keeps.
    constexpr qsizetype margin = 16;
    qsizetype cut = showableLength(font, width, 1);
    if (rest.size() <= cut || !std::isfinite(width))
        return QString();
    if (hasDirectionMark(QStringView(rest).sliced(cut - 1)))
        return QString();
    if (rest.at(cut - 1).isHighSurrogate())
        --cut;
    const QString start = rest.left(cut);
    const QString elided = QFontMetricsF(font).elidedText(start, Qt::ElideRight, width);
    qsizetype kept = elided.size();
    if (elided.endsWith(QChar(0x2026)))
        kept -= 1;
    else if (elided.endsWith(QStringLiteral("...")))
        kept -= 3;
    else
        return QString();   // the start fits whole
    return kept + margin <= cut ? elided : QString();
}

}  // namespace

QString visible(const QString &text, const QFont &font, double width, int lines)
{
    if (lines <= 0 || text.isEmpty())
        return QString();
    const qsizetype showable = showableLength(font, width, lines);
    if (text.size() > showable && std::isfinite(width) && !hasDirectionMark(QStringView(text).sliced(showable - 1))) {
        // Cut where no surrogate pair is split; the cut text still overflows the lines (more
        // follows, so the last line ends in an ellipsis), unless it is made of glyphs without
        // width: then the whole text is laid out after all.
        qsizetype cut = showable;
        if (text.at(cut - 1).isHighSurrogate())
            --cut;
        const QString shown = laidOut(text.left(cut), font, width, lines);
        if (shown.count(u'\n') + 1 == lines && (shown.endsWith(QChar(0x2026)) || shown.endsWith(QStringLiteral("..."))))
            return shown;
    }
    return laidOut(text, font, width, lines);
}

namespace {

QString laidOut(const QString &text, const QFont &font, double width, int lines, bool early)
{
    const QFontMetricsF metrics(font);
    const QStringList paragraphs = text.split(u'\n');
    QStringList shown;
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString &paragraph = paragraphs[p];
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        int lineCount = 0;
        QList<QTextLine> laid;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            laid.append(line);
            ++lineCount;
        }
        layout.endLayout();
        if (laid.isEmpty())
            laid.append(QTextLine());
        for (qsizetype i = 0; i < laid.size(); ++i) {
            const bool lastRoom = shown.size() + 1 == lines;
            const int start = laid[i].isValid() ? laid[i].textStart() : 0;
            const bool moreFollows = i + 1 < laid.size() || p + 1 < paragraphs.size();
            if (lastRoom && moreFollows) {
                QString rest = paragraph.mid(start);
                for (qsizetype q = p + 1; q < paragraphs.size(); ++q)
                    rest += u' ' + paragraphs[q];
                if (const QString elided = early ? elidedStart(rest, font, width) : QString(); !elided.isEmpty()) {
                    shown.append(elided);
                    return shown.join(u'\n');
                }
                QString cut = metrics.elidedText(rest, Qt::ElideRight, width);
                if (cut == rest)   // the rest fits on the line but more lines were there
                    cut = metrics.elidedText(rest + QStringLiteral(" …"), Qt::ElideRight, width);
                shown.append(cut);
                return shown.join(u'\n');
            }
            const int length = laid[i].isValid() ? laid[i].textLength() : 0;
            QString piece = paragraph.mid(start, length);
            while (piece.endsWith(u' '))
                piece.chop(1);
            shown.append(piece);
            if (shown.size() == lines)
                return shown.join(u'\n');
        }
    }
    return shown.join(u'\n');
}

}  // namespace

QString visibleFromWhole(const QString &text, const QFont &font, double width, int lines)
{
    if (lines <= 0 || text.isEmpty())
        return QString();
    return laidOut(text, font, width, lines, false);
}

int count(const QString &text, const QFont &font, double width, int lines)
{
    const QString shown = visible(text, font, width, lines);
    return shown.isEmpty() ? (text.isEmpty() ? 0 : 1) : int(shown.count(u'\n')) + 1;
}

}  // namespace sw::TextLines
