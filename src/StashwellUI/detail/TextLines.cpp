#include "StashwellUI/detail/TextLines.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHash>
#include <QStringList>
#include <QTextLayout>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <optional>

namespace sw::TextLines {

namespace {

// Characters that a cut keeps past the last one shown, so that nothing after the cut could change
// where lines break or the ellipsis goes.
constexpr qsizetype kMargin = 16;

// Eliding keeps the direction marks of what it leaves out: a text cut early, with marks past the
// cut, would show without them.
bool hasDirectionMark(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x202a && u <= 0x202e) || u == 0x200e || u == 0x200f || (u >= 0x2066 && u <= 0x2069);
    });
}

// The lines shown, and whether the last one was cut with an ellipsis from a text that ran on at
// least kMargin characters past what it kept: then a text cut shorter shows what the whole shows.
struct Shown {
    QString text;
    bool cutWithRoom = false;
};

// `early`: the last line's text is cut from its start alone when that start is long enough.
Shown laidOut(const QString &text, const QFont &font, double width, int lines, bool early);

// Of a long text only the start can show. First the start that the font's usual glyphs would
// fill the lines with half a line to spare; then the start that even its narrowest glyphs would
// (with a quarter to spare), for texts of narrow glyphs. Laying out a few hundred characters of a
// post for two lines of a card costs far more than the lines themselves.
qsizetype startLength(const QFont &font, double width, int lines, bool narrowest)
{
    const QFontMetricsF metrics(font);
    if (!narrowest) {
        const double perLine = std::max(0.0, width) / std::max(1.0, metrics.averageCharWidth()) + 2;
        return qsizetype(perLine * (double(lines) + 0.5)) + kMargin;
    }
    const double least = std::max(1.0, std::min({metrics.horizontalAdvance(u'.'), metrics.horizontalAdvance(u'i'),
                                                 metrics.horizontalAdvance(u' '), metrics.horizontalAdvance(u'|')}));
    const double perLine = std::max(0.0, width) / least + 2;
    return qsizetype(1.25 * perLine * double(lines)) + kMargin;
}

// The first `length` characters of a longer text, no surrogate pair split; none when the text is
// not longer or direction marks lie past them.
std::optional<QString> startOf(const QString &text, qsizetype length)
{
    if (text.size() <= length || length < 1 || hasDirectionMark(QStringView(text).sliced(length - 1)))
        return std::nullopt;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

// How many characters of `text` its elided form keeps; -1 when it is not elided.
qsizetype keptOf(const QString &elided, const QString &text)
{
    if (elided == text)
        return -1;
    if (elided.endsWith(QChar(0x2026)))
        return elided.size() - 1;
    if (elided.endsWith(QStringLiteral("...")))
        return elided.size() - 3;
    return -1;
}

// The last line: `rest` (its text and everything after it) cut with an ellipsis to the width.
Shown lastLine(const QString &rest, const QFont &font, double width, bool early)
{
    const QFontMetricsF metrics(font);
    if (early && std::isfinite(width)) {
        for (const bool narrowest : {false, true}) {
            if (const std::optional<QString> start = startOf(rest, startLength(font, width, 1, narrowest))) {
                const QString elided = metrics.elidedText(*start, Qt::ElideRight, width);
                const qsizetype kept = keptOf(elided, *start);
                if (kept >= 0 && kept + kMargin <= start->size())
                    return Shown{elided, true};
            }
        }
    }
    const QString elided = metrics.elidedText(rest, Qt::ElideRight, width);
    const qsizetype kept = keptOf(elided, rest);
    if (kept >= 0)
        return Shown{elided, kept + kMargin <= rest.size()};
    // The rest fits on the line but more lines were there.
    return Shown{metrics.elidedText(rest + QStringLiteral(" …"), Qt::ElideRight, width), false};
}

}  // namespace

QString visible(const QString &text, const QFont &font, double width, int lines)
{
    if (lines <= 0 || text.isEmpty())
        return QString();
    if (std::isfinite(width)) {
        // A start that shows what the whole text shows: its last line cut with room to spare.
        for (const bool narrowest : {false, true}) {
            if (const std::optional<QString> start = startOf(text, startLength(font, width, lines, narrowest))) {
                Shown shown = laidOut(*start, font, width, lines, true);
                if (shown.cutWithRoom)
                    return std::move(shown.text);
            }
        }
    }
    return laidOut(text, font, width, lines, true).text;
}

namespace {

Shown laidOut(const QString &text, const QFont &font, double width, int lines, bool early)
{
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
                Shown last = lastLine(rest, font, width, early);
                shown.append(last.text);
                last.text = shown.join(u'\n');
                return last;
            }
            const int length = laid[i].isValid() ? laid[i].textLength() : 0;
            QString piece = paragraph.mid(start, length);
            while (piece.endsWith(u' '))
                piece.chop(1);
            shown.append(piece);
            if (shown.size() == lines)
                return Shown{shown.join(u'\n')};
        }
    }
    return Shown{shown.join(u'\n')};
}

}  // namespace

QString visibleFromWhole(const QString &text, const QFont &font, double width, int lines)
{
    if (lines <= 0 || text.isEmpty())
        return QString();
    return laidOut(text, font, width, lines, false).text;
}

namespace {

struct KeptKey {
    QString text;
    QFont font;
    double width;
    int lines;
    bool operator==(const KeptKey &other) const
    {
        return width == other.width && lines == other.lines && text == other.text && font == other.font;
    }
};

size_t qHash(const KeptKey &key, size_t seed = 0) noexcept
{
    return ::qHash(key.text, seed) ^ (::qHash(key.font, seed) * 31) ^ (::qHash(key.width, seed) * 131) ^ size_t(key.lines);
}

// Texts change (a link being fetched, a count), so what was kept is let go whole at this many.
constexpr qsizetype kKept = 1024;

}  // namespace

QString kept(const QString &text, const QFont &font, double width, int lines)
{
    const QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return visible(text, font, width, lines);
    static QHash<KeptKey, QString> store;
    KeptKey key{text, font, width, lines};
    if (const auto it = store.constFind(key); it != store.cend())
        return *it;
    if (store.size() >= kKept)
        store.clear();
    QString shown = visible(text, font, width, lines);
    store.insert(std::move(key), shown);
    return shown;
}

int count(const QString &text, const QFont &font, double width, int lines)
{
    const QString shown = visible(text, font, width, lines);
    return shown.isEmpty() ? (text.isEmpty() ? 0 : 1) : int(shown.count(u'\n')) + 1;
}

namespace {

// `text` laid out into the box. With `decided`, one line more is laid out past the box, where the
// text goes on: *decided tells whether that line ended before the end of `text`, and so whether
// every line before it broke where the same words with more after them would.
InBox placed(const QString &text, const QFont &font, double width, double height, double spacing, bool *decided)
{
    InBox box{std::make_unique<QTextLayout>(text, font)};
    QTextLayout &layout = *box.layout;
    // Kept past endLayout(): drawing the lines would otherwise shape them a second time.
    layout.setCacheEnabled(true);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    if (decided)
        *decided = false;
    double y = 0;
    layout.beginLayout();
    for (;;) {
        const bool past = y > height;
        if (past && !decided)
            break;
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (past) {
            *decided = line.textStart() + line.textLength() < text.size();
            break;
        }
        line.setPosition(QPointF(0, y));
        y += line.height() + spacing;
        ++box.lines;
    }
    layout.endLayout();
    return box;
}

}  // namespace

InBox inBox(const QString &text, const QFont &font, double width, double height, double spacing)
{
    if (std::isfinite(width) && width > 0 && std::isfinite(height) && height >= 0) {
        // The lines that can start within the height, and the one past it that tells, counted
        // for the font's narrowest glyphs: a start too short to decide would cost its layout
        // and the whole's. Only a text at least twice that long gains enough to try.
        const double pitch = std::max(1.0, QFontMetricsF(font).height() + spacing);
        const int lines = int(std::min(height / pitch, 1e4)) + 2;
        const std::optional<QString> start = startOf(text, startLength(font, width, lines, true));
        // The first letter with a direction sets the lines' direction: it must be the whole's.
        if (start && text.size() >= 2 * start->size() && start->isRightToLeft() == text.isRightToLeft()) {
            bool decided = false;
            InBox box = placed(*start, font, width, height, spacing, &decided);
            if (decided)
                return box;
        }
    }
    return placed(text, font, width, height, spacing, nullptr);
}

InBox inBoxFromWhole(const QString &text, const QFont &font, double width, double height, double spacing)
{
    return placed(text, font, width, height, spacing, nullptr);
}

}  // namespace sw::TextLines
