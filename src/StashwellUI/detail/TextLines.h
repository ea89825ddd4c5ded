#pragma once

// Text limited to a number of lines: what a label that wraps shows when it may take at most so
// many lines of a width.

#include <QFont>
#include <QString>

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

}  // namespace sw::TextLines
