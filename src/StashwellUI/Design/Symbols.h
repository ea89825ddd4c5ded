#pragma once

// The interface's symbols by name ("trash", "arrow.down", "xmark.circle.fill", ...): SVG drawings
// in the module's resources, drawn in one colour (the tint) at any size and kept in a cache, so a
// shelf of cards paints each symbol from a ready pixmap. Two drawings are in full colour and are
// not tinted: "Logo" (the application's mark) and any name listed by fullColourNames().

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QStringView>

class QPainter;

namespace sw {

class Symbols {
public:
    // "x.glyph": the letter of the social network X; "Logo": the application's mark.
    static inline const QString xGlyph = QStringLiteral("x.glyph");
    static inline const QString logo = QStringLiteral("Logo");

    // Whether a drawing of that name exists.
    static bool exists(QStringView name);
    // Every name there is a drawing for, sorted.
    static QStringList names();
    // Names drawn in their own colours, which tinting leaves alone.
    static QStringList fullColourNames();

    // The symbol fitted (aspect kept, centred) into a square of `side` logical pixels, every opaque
    // part in `tint` with the drawing's own alpha; for `devicePixelRatio`. A null pixmap for an
    // unknown name or a side that is not positive. Full-colour drawings ignore the tint.
    static QPixmap pixmap(QStringView name, double side, const QColor &tint, qreal devicePixelRatio = 1);

    // Paints the symbol fitted into `rect` at the painter's resolution.
    static void paint(QPainter &painter, const QRectF &rect, QStringView name, const QColor &tint);

    // An icon for menus and buttons, tinted, at the usual small sizes.
    static QIcon icon(QStringView name, const QColor &tint);

    // The cache of drawn pixmaps.
    static int cachedCount();
    static void clearCache();
};

}  // namespace sw
