#include "StashwellUI/Design/Tokens.h"

#include <QAtomicInt>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QVariantAnimation>

#include <vector>

namespace sw::Tokens {

namespace {

struct AssetColor {
    QColor light;
    QColor dark;
};

const QStringList kAssetNames{
    QStringLiteral("canvas"),     QStringLiteral("window"),       QStringLiteral("panel"),
    QStringLiteral("card"),       QStringLiteral("field"),        QStringLiteral("hover"),
    QStringLiteral("line"),       QStringLiteral("lineStrong"),   QStringLiteral("lineStronger"),
    QStringLiteral("text"),       QStringLiteral("textSecondary"), QStringLiteral("muted"),
    QStringLiteral("accentInk"),  QStringLiteral("ok"),           QStringLiteral("danger"),
    QStringLiteral("onGlassHover"), QStringLiteral("dot"),
};

// The colour assets, read once from the module's resources.
const QHash<QString, AssetColor> &assets()
{
    static const QHash<QString, AssetColor> table = [] {
        QHash<QString, AssetColor> result;
        QFile file(QStringLiteral(":/StashwellUI/Colors.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            qWarning("StashwellUI: the colour assets are missing from the resources");
            return result;
        }
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        for (const QString &name : kAssetNames) {
            const QJsonObject entry = root.value(name).toObject();
            const QColor light = QColor::fromString(entry.value(QStringLiteral("light")).toString());
            const QColor dark = QColor::fromString(entry.value(QStringLiteral("dark")).toString());
            if (!light.isValid() || !dark.isValid()) {
                qWarning("StashwellUI: the colour asset \"%s\" is missing or malformed", qPrintable(name));
                continue;
            }
            result.insert(name, AssetColor{light, dark});
        }
        return result;
    }();
    return table;
}

QColor assetOrClear(const QString &name, Appearance appearance)
{
    return Colors::asset(name, appearance).value_or(QColor(Qt::transparent));
}

// The named colours in the order of kAssetNames, a missing one clear: painting asks for them
// thousands of times a frame, so they are looked up by place instead of by name.
enum class Named { canvas, window, panel, card, field, hover, line, lineStrong, lineStronger, text, textSecondary,
                   muted, accentInk, ok, danger, onGlassHover, dot, count };

const std::array<AssetColor, std::size_t(Named::count)> &named()
{
    static const std::array<AssetColor, std::size_t(Named::count)> table = [] {
        std::array<AssetColor, std::size_t(Named::count)> result;
        Q_ASSERT(kAssetNames.size() == qsizetype(result.size()));
        for (std::size_t i = 0; i < result.size(); ++i) {
            const auto it = assets().constFind(kAssetNames.at(qsizetype(i)));
            result[i] = it != assets().constEnd() ? *it : AssetColor{QColor(Qt::transparent), QColor(Qt::transparent)};
        }
        return result;
    }();
    return table;
}

QColor current(Named name)
{
    const AssetColor &colour = named()[std::size_t(name)];
    return Theme::currentAppearance() == Appearance::dark ? colour.dark : colour.light;
}

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

}  // namespace

namespace Colors {

QColor canvas() { return current(Named::canvas); }
QColor window() { return current(Named::window); }
QColor panel() { return current(Named::panel); }
QColor card() { return current(Named::card); }
QColor field() { return current(Named::field); }
QColor hover() { return current(Named::hover); }
QColor line() { return current(Named::line); }
QColor lineStrong() { return current(Named::lineStrong); }
QColor lineStronger() { return current(Named::lineStronger); }
QColor text() { return current(Named::text); }
QColor textSecondary() { return current(Named::textSecondary); }
QColor muted() { return current(Named::muted); }
QColor accentInk() { return current(Named::accentInk); }
QColor ok() { return current(Named::ok); }
QColor danger() { return current(Named::danger); }
QColor onGlassHover() { return current(Named::onGlassHover); }
QColor dot() { return current(Named::dot); }

QColor accent() { return QColor(242, 165, 65); }
QColor onAccent() { return QColor(26, 18, 6); }
QColor scrim() { return QColor(0, 0, 0, qRound(0.78 * 255)); }
QColor glassSheet() { return withOpacity(window(), 0.66); }

const std::array<QColor, 6> &avatarPalette()
{
    static const std::array<QColor, 6> palette{
        QColor(91, 75, 214), QColor(196, 88, 59), QColor(47, 143, 106),
        QColor(176, 72, 124), QColor(61, 127, 196), QColor(138, 109, 46),
    };
    return palette;
}

QColor swatch(Swatch swatch)
{
    switch (swatch) {
    case Swatch::amber: return accent();
    case Swatch::blue: return QColor(143, 168, 216);
    case Swatch::green: return ok();
    case Swatch::pink: return QColor(227, 154, 192);
    case Swatch::violet: return QColor(169, 154, 240);
    }
    return accent();
}

const QStringList &assetNames() { return kAssetNames; }

std::optional<QColor> asset(QStringView name, Appearance appearance)
{
    const auto &table = assets();
    const auto it = table.constFind(name.toString());
    if (it == table.constEnd())
        return std::nullopt;
    return appearance == Appearance::dark ? it->dark : it->light;
}

const QStringList &tokenNames()
{
    static const QStringList names = [] {
        QStringList list = kAssetNames;
        // Declaration order: the fixed colours sit among the named ones.
        list.insert(list.indexOf(QStringLiteral("accentInk")), QStringLiteral("accent"));
        list.insert(list.indexOf(QStringLiteral("accentInk")), QStringLiteral("onAccent"));
        list.insert(list.indexOf(QStringLiteral("onGlassHover")), QStringLiteral("scrim"));
        list.insert(list.indexOf(QStringLiteral("onGlassHover")), QStringLiteral("glassSheet"));
        return list;
    }();
    return names;
}

std::optional<QColor> token(QStringView name, Appearance appearance)
{
    if (name == u"accent")
        return accent();
    if (name == u"onAccent")
        return onAccent();
    if (name == u"scrim")
        return scrim();
    if (name == u"glassSheet")
        return withOpacity(assetOrClear(QStringLiteral("window"), appearance), 0.66);
    return asset(name, appearance);
}

}  // namespace Colors

namespace Typography {

QString family(Design design, double size)
{
    if (design == Design::monospaced)
        return QStringLiteral("Noto Sans Mono");
    return size >= displaySize ? QStringLiteral("Inter Display") : QStringLiteral("Inter");
}

namespace {
QStringList &fallbacks()
{
    static QStringList list{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK JP"),
                            QStringLiteral("Noto Sans CJK KR")};
    return list;
}
// Counts the changes of the fallbacks: a font made before one is not handed out again.
QAtomicInt fallbacksChanged{0};
}  // namespace

QStringList fallbackFamilies() { return fallbacks(); }
void setFallbackFamilies(const QStringList &families)
{
    fallbacks() = families;
    fallbacksChanged.fetchAndAddOrdered(1);
}

QFont::Weight qtWeight(Weight weight)
{
    switch (weight) {
    case Weight::ultraLight: return QFont::Thin;
    case Weight::thin: return QFont::ExtraLight;
    case Weight::light: return QFont::Light;
    case Weight::regular: return QFont::Normal;
    case Weight::medium: return QFont::Medium;
    case Weight::semibold: return QFont::DemiBold;
    case Weight::bold: return QFont::Bold;
    case Weight::heavy: return QFont::ExtraBold;
    case Weight::black: return QFont::Black;
    }
    return QFont::Normal;
}

QFont font(double size, Weight weight, Design design)
{
    // Sizes are logical pixels; QFont takes fractional sizes only in points, so convert with the
    // logical resolution the interface is laid out at.
    double dpi = 96;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            dpi = screen->logicalDotsPerInchY();
    }
    // A font made afresh looks its families up in the font database when it is first measured or
    // drawn, tens of microseconds each time (a relayout measures hundreds of texts); copies of one
    // made before share what it found. Kept per thread, as fonts are used on their own thread.
    struct Made {
        double size;
        Weight weight;
        Design design;
        double dpi;
        int fallbacks;
        QFont font;
    };
    thread_local std::vector<Made> made;
    const int generation = fallbacksChanged.loadAcquire();
    for (const Made &m : made) {
        if (m.size == size && m.weight == weight && m.design == design && m.dpi == dpi && m.fallbacks == generation)
            return m.font;
    }
    QFont result;
    result.setFamilies(QStringList{family(design, size)} + fallbacks());
    result.setPointSizeF(size * 72.0 / dpi);
    result.setWeight(qtWeight(weight));
    result.setStyleHint(design == Design::monospaced ? QFont::Monospace : QFont::SansSerif);
    if (design == Design::monospaced)
        result.setFixedPitch(true);
    // The styles are a few dozen sizes and weights; a bound all the same.
    if (made.size() >= 128)
        made.erase(made.begin());
    made.push_back(Made{size, weight, design, dpi, generation, result});
    return result;
}

const QStringList &names()
{
    static const QStringList list{
        QStringLiteral("hero"),     QStringLiteral("title"),      QStringLiteral("toolbarTitle"),
        QStringLiteral("toolbarSubtitle"), QStringLiteral("section"), QStringLiteral("headline"),
        QStringLiteral("body"),     QStringLiteral("bodyStrong"), QStringLiteral("reading"),
        QStringLiteral("caption"),  QStringLiteral("kicker"),     QStringLiteral("mono"),
        QStringLiteral("monoSmall"),
    };
    return list;
}

std::optional<TypeStyle> named(QStringView name)
{
    static const std::array<TypeStyle, 13> styles{hero,       title,   toolbarTitle, toolbarSubtitle, section,
                                                 headline,   body,    bodyStrong,   reading,         caption,
                                                 kicker,     mono,    monoSmall};
    const qsizetype index = names().indexOf(name.toString());
    if (index < 0)
        return std::nullopt;
    return styles[static_cast<size_t>(index)];
}

}  // namespace Typography

QFont TypeStyle::font() const { return Typography::font(size, weight, design); }

namespace {
QAtomicInt animationsEnabled{1};
}

int Animation::effectiveMilliseconds() const { return Motion::isEnabled() ? milliseconds : 0; }

void Animation::applyTo(QVariantAnimation &animation) const
{
    animation.setDuration(effectiveMilliseconds());
    animation.setEasingCurve(easing);
}

namespace Motion {

const Animation &quick()
{
    static const Animation animation = [] {
        // Ease-out: the standard cubic curve with control points (0, 0) and (0.58, 1).
        QEasingCurve curve(QEasingCurve::BezierSpline);
        curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
        return Animation{150, curve};
    }();
    return animation;
}

void setEnabled(bool enabled) { animationsEnabled.storeRelaxed(enabled ? 1 : 0); }
bool isEnabled() { return animationsEnabled.loadRelaxed() != 0; }

}  // namespace Motion

}  // namespace sw::Tokens
