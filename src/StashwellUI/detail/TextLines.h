#pragma once

// Text limited to a number of lines: what a label that wraps shows when it may take at most so
// many lines of a width.

#include <QFont>
#include <QString>
#include <QTextLayout>

#include <memory>

namespace sw::TextLines {

// The first `lines` lines `text` takes at `width` in `font`, joined by line feeds, the last one cut
// with an ellipsis when more text follows; line feeds in the text start new lines.
QString visible(const QString &text, const QFont &font, double width, int lines);

// The same, worked out from the whole text (visible() lays out only as much of a long text as
// can show): what visible() must give.
QString visibleFromWhole(const QString &text, const QFont &font, double width, int lines);

// The same as visible(), kept by text, font, width and line limit on the thread that paints the
// windows (any other thread works it out each time). A layout asks a label's height at the same
// width many times and its paint asks again, and each new sheet or hero shows much of what the
// last one did: laying the text out is most of what that costs.
QString kept(const QString &text, const QFont &font, double width, int lines);

// How many lines visible() gives.
int count(const QString &text, const QFont &font, double width, int lines);

// A text wrapped at `width` into a box from its top, each line `spacing` below the one before, for
// as long as a line starts within `height` (the box cuts the last one): the first `lines` lines of
// `layout` are those, laid out and placed. Of a long text only a start is laid out, when that start
// decides every line that shows.
struct InBox {
    std::unique_ptr<QTextLayout> layout;
    int lines = 0;
};
InBox inBox(const QString &text, const QFont &font, double width, double height, double spacing);

// The same, from the whole text laid out: what inBox() must show.
InBox inBoxFromWhole(const QString &text, const QFont &font, double width, double height, double spacing);

}  // namespace sw::TextLines
