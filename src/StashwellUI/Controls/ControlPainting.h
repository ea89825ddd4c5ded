#pragma once

// Small pieces shared by the painted controls: the interaction state a control is drawn in, the
// "symbol then title" label, the keyboard focus ring, and the safe handling of fractions that
// come from downloads and sizes before they are drawn or announced.

#include "StashwellUI/Design/Tokens.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>

class QPainter;

namespace sw {

// How a control is being used right now. Painters take it so that a view drawing many controls
// in one widget (the shelf's cards and rows) can draw them in the same states as real widgets.
struct ControlState {
    bool enabled = true;
    bool hovered = false;    // the pointer is over the control's shape
    bool pressed = false;    // a press on the control is under way
    bool focused = false;    // it has keyboard focus that was reached by keyboard

    friend bool operator==(const ControlState &, const ControlState &) = default;
};

namespace ControlPainting {

// The opacities the plain button style gives a label that is pressed or disabled.
inline constexpr double pressedOpacity = 0.7;
inline constexpr double disabledOpacity = 0.45;

// Multiplies the painter's opacity by what the plain button style gives `state`: dimmed while
// pressed or disabled, unchanged otherwise.
void applyPlainStyle(QPainter &painter, const ControlState &state);

// The side of the square a symbol is drawn in when it stands beside text of `typeSize` logical
// pixels, like a glyph of that text.
double symbolSide(double typeSize);

// A leading glyph of a chip or row that the caller supplies: it paints into the square it is
// given, in the control's foreground colour or in colours of its own.
using IconPainter = std::function<void(QPainter &painter, const QRectF &box, const QColor &foreground)>;

// The icon that is the named symbol in the control's foreground colour.
IconPainter symbolIcon(const QString &name);

// A symbol or icon (may be empty: none) followed by a title, `spacing` apart, in `font`.
struct Label {
    QString symbol;
    IconPainter icon;    // drawn in place of `symbol` when set
    QString title;
    QFont font;
    double typeSize = 13;        // the size the symbol is matched to
    double spacing = 6;
    double symbolTypeSize = 0;   // when above 0, the symbol's own size (it keeps its own font)

    double symbolBox() const { return symbolSide(symbolTypeSize > 0 ? symbolTypeSize : typeSize); }
    bool hasIcon() const { return !symbol.isEmpty() || static_cast<bool>(icon); }
    QSizeF size() const;
    // Draws the label centred in `rect` (or from its left edge when `centred` is false), vertically centred.
    void paint(QPainter &painter, const QRectF &rect, const QColor &color, bool centred = true) const;
};

// The width and height of one line of `text`, rounded up to whole logical pixels.
QSizeF textSize(const QFont &font, const QString &text);

// The ring drawn inside `shape` when a control holds the keyboard focus.
void paintFocusRing(QPainter &painter, const QPainterPath &shape);

// `color` with its opacity multiplied by `factor`.
QColor faded(QColor color, double factor);

// A fraction as it may be drawn: 0...1, with anything that is not a number taken as 0.
double drawableFraction(double fraction);

// fraction × 100 truncated toward zero, as the whole percentage that is announced; a value that is
// not finite gives 0, and one beyond the range of int gives the nearest end of it.
int wholePercent(double fraction);

}  // namespace ControlPainting

}  // namespace sw
