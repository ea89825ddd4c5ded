#pragma once

// The interface's shared visual constants: colours, type styles, spacings, corner radii, fixed
// sizes and the standard short animation. Views take these by name; a measure that belongs to one
// view alone stays a plain number in that view.
//
// Measures are logical pixels. The named colours come from the colour assets in the module's
// resources (Colors.json), each with a light and a dark value; which one a view gets follows the
// appearance in force when it paints (Theme).

#include "Library/Collection.h"   // Swatch
#include "StashwellUI/Design/Theme.h"

#include <QColor>
#include <QEasingCurve>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

class QVariantAnimation;

namespace sw::Tokens {

namespace Colors {

// Named colours, resolved in the current appearance.
QColor canvas();
QColor window();
QColor panel();
QColor card();
QColor field();
QColor hover();
QColor line();
QColor lineStrong();
QColor lineStronger();
QColor text();
QColor textSecondary();
QColor muted();
QColor accentInk();
QColor ok();
QColor danger();
QColor onGlassHover();
QColor dot();

// Fixed colours, the same in both appearances.
QColor accent();     // #F2A541
QColor onAccent();   // #1A1206: text and symbols drawn on an accent fill
QColor scrim();      // black at 0.78

// The window colour at 0.66 of its opacity.
QColor glassSheet();

// The six backgrounds of avatar placeholders, in their fixed order.
const std::array<QColor, 6> &avatarPalette();

// The colour of a collection's swatch; amber is the accent colour and green the ok colour.
QColor swatch(Swatch swatch);

// The seventeen colour assets by their exact names, in declaration order.
const QStringList &assetNames();
// The value of the named colour asset in the given appearance; none for a name that is not an asset.
std::optional<QColor> asset(QStringView name, Appearance appearance);

// Every colour token by its name ("canvas", "accent", "glassSheet", ...), in declaration order.
const QStringList &tokenNames();
// The token of that name in the given appearance; none for an unknown name.
std::optional<QColor> token(QStringView name, Appearance appearance);

}  // namespace Colors

// Font weights as the views name them; each maps onto a real OpenType weight.
enum class Weight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };
// The standard sans-serif design or the monospaced one.
enum class Design { standard, monospaced };

// A fixed type style: size in logical pixels (it does not follow a text-size setting).
struct TypeStyle {
    double size = 13;
    Weight weight = Weight::regular;
    Design design = Design::standard;

    QFont font() const;
    TypeStyle weighted(Weight w) const { return TypeStyle{size, w, design}; }
    friend constexpr bool operator==(const TypeStyle &, const TypeStyle &) = default;
};

namespace Typography {

inline constexpr TypeStyle hero{26, Weight::heavy, Design::standard};
inline constexpr TypeStyle title{18, Weight::heavy, Design::standard};
inline constexpr TypeStyle toolbarTitle{15, Weight::semibold, Design::standard};
inline constexpr TypeStyle toolbarSubtitle{11, Weight::regular, Design::standard};
inline constexpr TypeStyle section{16, Weight::heavy, Design::standard};
inline constexpr TypeStyle headline{14, Weight::bold, Design::standard};
inline constexpr TypeStyle body{13, Weight::regular, Design::standard};
inline constexpr TypeStyle bodyStrong{13, Weight::semibold, Design::standard};
inline constexpr TypeStyle reading{14, Weight::regular, Design::standard};
inline constexpr TypeStyle caption{12, Weight::regular, Design::standard};
inline constexpr TypeStyle kicker{11, Weight::bold, Design::standard};
inline constexpr TypeStyle mono{11.5, Weight::regular, Design::monospaced};
inline constexpr TypeStyle monoSmall{11, Weight::regular, Design::monospaced};

// The interface font at any size, weight and design ("the system font at 8 points, bold").
QFont font(double size, Weight weight = Weight::regular, Design design = Design::standard);

// Text at this size or larger, in the standard design, is set in the display cut of the family,
// drawn with tighter spacing for headings; smaller text in the text cut.
inline constexpr double displaySize = 18;

// The family a font of this design and size is set in: "Inter" for text, "Inter Display" from
// displaySize on, "Noto Sans Mono" for the monospaced design. Both Inter cuts have every weight.
QString family(Design design, double size = body.size);
// The families every interface font falls back to for characters its own family lacks (the CJK
// families, in the order that suits the interface language). Set by loadFonts().
QStringList fallbackFamilies();
void setFallbackFamilies(const QStringList &families);
QFont::Weight qtWeight(Weight weight);

// The thirteen styles by their names, in declaration order.
const QStringList &names();
std::optional<TypeStyle> named(QStringView name);

}  // namespace Typography

namespace Spacing {
inline constexpr double xxs = 2;
inline constexpr double xs = 4;
inline constexpr double sm = 8;
inline constexpr double md = 12;
inline constexpr double lg = 16;
inline constexpr double xl = 24;
inline constexpr double xxl = 30;
}  // namespace Spacing

namespace Radius {
inline constexpr double sm = 8;
inline constexpr double md = 10;
inline constexpr double lg = 14;
inline constexpr double card = 18;
}  // namespace Radius

namespace Size {
inline constexpr double control = 32;
inline constexpr double bar = 52;
inline constexpr double status = 30;
inline constexpr double edgeTail = 28;
inline constexpr double row = 32;
inline constexpr double thumbnail = 150;
inline constexpr double avatar = 34;
inline constexpr double sidebar = 240;
inline constexpr double sidebarMin = 220;
inline constexpr double inspector = 350;
inline constexpr double inspectorMin = 320;
inline constexpr double shelfMin = 600;
inline constexpr double heroArt = 150;
}  // namespace Size

// A timed change: its length and its easing curve.
struct Animation {
    int milliseconds = 0;
    QEasingCurve easing;

    // The length to run for: 0 while animations are switched off.
    int effectiveMilliseconds() const;
    bool isInstant() const { return effectiveMilliseconds() == 0; }
    // Sets the animation's duration (as above) and easing curve.
    void applyTo(QVariantAnimation &animation) const;
};

namespace Motion {

// The standard quick change: ease-out over 0.15 s.
const Animation &quick();

// One switch for the whole process: off, every animation completes at once (tests use this so
// that painted states do not depend on timing).
void setEnabled(bool enabled);
bool isEnabled();

}  // namespace Motion

}  // namespace sw::Tokens
