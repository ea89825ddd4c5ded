#pragma once

// The glass the glass controls sit on. It is our own painting (there is no behind-window blur): a
// translucent fill with a highlight along the top and a fine border. Interactive glass answers the
// pointer: it brightens under it and deepens while pressed.

#include "StashwellUI/Controls/ControlPainting.h"

#include <QPainterPath>
#include <QString>

class QPainter;

namespace sw::GlassMaterial {

// Paints the glass in `shape`. `interactive` glass shows `state`'s hover and press.
void paint(QPainter &painter, const QPainterPath &shape, bool interactive, const ControlState &state);
// Paints only the hover and press response over whatever fills `shape`.
void paintResponse(QPainter &painter, const QPainterPath &shape, const ControlState &state);

// The symbol-and-title label of a button or segment on glass.
ControlPainting::Label label(const QString &symbol, const QString &title);

}  // namespace sw::GlassMaterial
