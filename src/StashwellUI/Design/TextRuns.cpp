#include "StashwellUI/Design/TextRuns.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QTextLayout>
#include <QThread>

#include <optional>

namespace sw::TextRuns {

namespace {

struct Key {
    QString text;
    QFont font;
    bool operator==(const Key &other) const { return text == other.text && font == other.font; }
};

size_t qHash(const Key &key, size_t seed = 0) noexcept
{
    return ::qHash(key.text, seed) ^ (::qHash(key.font, seed) * 31);
}

struct Run {
    double advance = 0;
    // The glyphs as drawText() sets them, placed from the top of the line, and the height of the
    // line above its baseline (a fallback font may stand taller than the font's own ascent).
    std::optional<QList<QGlyphRun>> glyphs;
    Qt::LayoutDirection glyphsFor = Qt::LayoutDirectionAuto;   // the direction they were set in
    double lineAscent = 0;
    double lineHeight = 0;
    // The last cut asked for: a label keeps its width from one paint to the next.
    double elidedFor = -1;
    QString elided;
};

// Texts change (counts, titles), so what was kept is let go whole once it holds this many.
constexpr qsizetype kKept = 4096;

bool onPaintingThread()
{
    const QCoreApplication *application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

Run *runOf(const QString &text, const QFont &font)
{
    if (!onPaintingThread())
        return nullptr;
    static QHash<Key, Run> kept;
    Key key{text, font};
    auto it = kept.find(key);
    if (it == kept.end()) {
        if (kept.size() >= kKept)
            kept.clear();
        Run run;
        run.advance = QFontMetricsF(font).horizontalAdvance(text);
        it = kept.insert(std::move(key), std::move(run));
    }
    return &*it;
}

// The run of `text` with its glyphs laid out in `direction` (a painter's, as drawText() takes
// it); null off the painting thread.
const Run *laidOut(const QString &text, const QFont &font, Qt::LayoutDirection direction)
{
    Run *run = runOf(text, font);
    if (run && (!run->glyphs || run->glyphsFor != direction)) {
        QTextLayout layout(text, font);
        // Kept past endLayout(): glyphRuns() would otherwise shape the line a second time.
        layout.setCacheEnabled(true);
        QTextOption option;
        option.setTextDirection(direction);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (line.isValid())
            line.setNumColumns(int(text.size()));
        layout.endLayout();
        run->lineAscent = line.isValid() ? line.ascent() : 0;
        run->lineHeight = line.isValid() ? line.height() : 0;
        run->glyphs = layout.glyphRuns();
        run->glyphsFor = direction;
    }
    return run;
}

void drawRun(QPainter &painter, const Run &run, double baselineX, double baselineY)
{
    const QPointF top(baselineX, baselineY - run.lineAscent);
    for (const QGlyphRun &glyphs : *run.glyphs)
        painter.drawGlyphRun(top, glyphs);
}

}  // namespace

double advance(const QString &text, const QFont &font)
{
    if (const Run *run = runOf(text, font))
        return run->advance;
    return QFontMetricsF(font).horizontalAdvance(text);
}

QString elided(const QString &text, const QFont &font, double width)
{
    Run *run = runOf(text, font);
    if (!run)
        return QFontMetricsF(font).elidedText(text, Qt::ElideRight, width);
    if (run->advance <= width)
        return text;
    if (run->elidedFor != width) {
        run->elided = QFontMetricsF(font).elidedText(text, Qt::ElideRight, width);
        run->elidedFor = width;
    }
    return run->elided;
}

void draw(QPainter &painter, const QPointF &baseline, const QString &text, const QFont &font)
{
    painter.setFont(font);
    if (const Run *run = laidOut(text, font, painter.layoutDirection()))
        drawRun(painter, *run, baseline.x(), baseline.y());
    else
        painter.drawText(baseline, text);
}

void drawCentred(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font)
{
    painter.setFont(font);
    // Qt::AlignLeft is the leading edge: the right one for a right-to-left painter.
    if (const Run *run = laidOut(text, font, painter.layoutDirection()))
        drawRun(painter, *run, painter.layoutDirection() == Qt::RightToLeft ? rect.right() - run->advance : rect.left(),
                rect.top() + (rect.height() - run->lineHeight) / 2 + run->lineAscent);
    else
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace sw::TextRuns
