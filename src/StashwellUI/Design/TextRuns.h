#pragma once

// Single lines of text laid out once and drawn from what was kept. A label's text is shaped anew
// each time it is measured, elided or drawn; the bar, the sidebar's rows and the shelf's headers
// do all three on every paint, and every scroll step or filter repaints them, so shaping became a
// good share of a frame. Kept by text and font, on the thread that paints the window; any other
// thread measures and draws directly.

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

namespace sw::TextRuns {

// The advance of `text` set in `font`, as QFontMetricsF::horizontalAdvance() gives it.
double advance(const QString &text, const QFont &font);

// `text` in `font`, cut with an ellipsis at its end to fit `width` (as QFontMetricsF::elidedText()
// with Qt::ElideRight cuts it); `text` itself when it fits.
QString elided(const QString &text, const QFont &font, double width);

// Draws `text` in `font` on one line starting at `baseline`, in the painter's pen, as
// QPainter::drawText() with that point would.
void draw(QPainter &painter, const QPointF &baseline, const QString &text, const QFont &font);

// Draws `text` in `font` on one line at the leading edge of `rect`, centred in its height as
// QPainter::drawText() with Qt::AlignLeft | Qt::AlignVCenter centres it (to the same pixels at a
// scale of one; within a device pixel at others).
void drawCentred(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font);

}  // namespace sw::TextRuns
