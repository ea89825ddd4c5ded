#include "PaintTesting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVariantAnimation>

#include <array>
#include <cmath>
#include <optional>

using namespace sw;
using sw::test::contrast;
using sw::test::over;

Q_DECLARE_METATYPE(sw::Appearance)
Q_DECLARE_METATYPE(sw::Tokens::TypeStyle)
Q_DECLARE_METATYPE(sw::Swatch)

namespace {

QColor token(const char *name, Appearance appearance)
{
    return Tokens::Colors::token(QString::fromLatin1(name), appearance).value();
}

class ThemeGuard {
public:
    ~ThemeGuard()
    {
        Theme::instance().setAppearance(Appearance::light);
        Theme::instance().setSurface(Surface::solid);
    }
};

}  // namespace

class TestTokens : public QObject {
    Q_OBJECT
private slots:
    void everyAssetHasBothAppearances_data();
    void everyAssetHasBothAppearances();
    void everyTokenResolves_data();
    void everyTokenResolves();
    void unknownNames();
    void textIsReadable_data();
    void textIsReadable();
    void colourFunctionsFollowTheAppearance();
    void glassSheetFollowsWindow_data();
    void glassSheetFollowsWindow();
    void swatches_data();
    void swatches();
    void avatarPalette();
    void themeSignalsOnlyOnChange();
    void typeStyles_data();
    void typeStyles();
    void monoIsLargerThanMonoSmall();
    void motion();
};

void TestTokens::everyAssetHasBothAppearances_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : Tokens::Colors::assetNames())
        QTest::newRow(qPrintable(name)) << name;
}

void TestTokens::everyAssetHasBothAppearances()
{
    QFETCH(QString, name);
    const auto light = Tokens::Colors::asset(name, Appearance::light);
    const auto dark = Tokens::Colors::asset(name, Appearance::dark);
    QVERIFY(light.has_value());
    QVERIFY(dark.has_value());
    QVERIFY(light->isValid() && dark->isValid());
    QVERIFY(light->alpha() > 0 && dark->alpha() > 0);
    QVERIFY2(*light != *dark, "the dark set repeats the light value");
}

void TestTokens::everyTokenResolves_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Appearance>("appearance");
    for (const QString &name : Tokens::Colors::tokenNames()) {
        QTest::newRow(qPrintable(name + QStringLiteral(" light"))) << name << Appearance::light;
        QTest::newRow(qPrintable(name + QStringLiteral(" dark"))) << name << Appearance::dark;
    }
}

void TestTokens::everyTokenResolves()
{
    QFETCH(QString, name);
    QFETCH(Appearance, appearance);
    const auto colour = Tokens::Colors::token(name, appearance);
    QVERIFY(colour.has_value());
    QVERIFY(colour->isValid());
    QVERIFY(colour->alpha() > 0);
}

void TestTokens::unknownNames()
{
    QVERIFY(!Tokens::Colors::asset(u"accent", Appearance::light).has_value());   // fixed, not an asset
    QVERIFY(!Tokens::Colors::asset(u"Canvas", Appearance::light).has_value());   // names are exact
    QVERIFY(!Tokens::Colors::token(u"nope", Appearance::dark).has_value());
    QVERIFY(!Tokens::Typography::named(u"Body").has_value());
}

void TestTokens::textIsReadable_data()
{
    QTest::addColumn<QString>("foreground");
    QTest::addColumn<QString>("background");
    QTest::addColumn<double>("minimum");
    // Body text needs 4.5:1, large or secondary marks 3:1.
    const QList<std::tuple<const char *, const char *, double>> pairs{
        {"text", "canvas", 4.5},        {"text", "window", 4.5},        {"text", "card", 4.5},
        {"text", "field", 4.5},         {"textSecondary", "card", 4.5}, {"textSecondary", "panel", 4.5},
        {"muted", "card", 3.0},         {"muted", "window", 3.0},       {"accentInk", "card", 3.0},
        {"ok", "card", 3.0},            {"danger", "card", 3.0},        {"onAccent", "accent", 4.5},
    };
    for (const auto &[fg, bg, minimum] : pairs) {
        for (const char *look : {"light", "dark"})
            QTest::newRow(qPrintable(QStringLiteral("%1 on %2, %3").arg(fg, bg, look)))
                << QString::fromLatin1(fg) << QString::fromLatin1(bg) << minimum;
    }
}

void TestTokens::textIsReadable()
{
    QFETCH(QString, foreground);
    QFETCH(QString, background);
    QFETCH(double, minimum);
    const Appearance appearance =
        QString::fromLatin1(QTest::currentDataTag()).endsWith(u"dark") ? Appearance::dark : Appearance::light;
    const QColor bg = *Tokens::Colors::token(background, appearance);
    const QColor fg = over(*Tokens::Colors::token(foreground, appearance), bg);
    const double ratio = contrast(fg, bg);
    QVERIFY2(ratio >= minimum, qPrintable(QStringLiteral("contrast %1").arg(ratio)));
}

void TestTokens::colourFunctionsFollowTheAppearance()
{
    ThemeGuard guard;
    std::optional<std::array<QColor, 3>> fixed;
    for (Appearance appearance : {Appearance::light, Appearance::dark}) {
        Theme::instance().setAppearance(appearance);
        // Each named colour's function gives that name's colour.
        using namespace Tokens::Colors;
        const std::vector<std::pair<const char *, QColor (*)()>> named{
            {"canvas", canvas},   {"window", window},     {"panel", panel},
            {"card", card},       {"field", field},       {"hover", hover},
            {"line", line},       {"lineStrong", lineStrong}, {"lineStronger", lineStronger},
            {"text", text},       {"textSecondary", textSecondary}, {"muted", muted},
            {"accentInk", accentInk}, {"ok", ok},         {"danger", danger},
            {"onGlassHover", onGlassHover}, {"dot", dot}, {"glassSheet", glassSheet},
        };
        for (const auto &[name, colour] : named)
            QVERIFY2(colour() == token(name, appearance), name);
        // The fixed colours do not change with the appearance.
        const std::array<QColor, 3> now{Tokens::Colors::accent(), Tokens::Colors::onAccent(), Tokens::Colors::scrim()};
        if (fixed)
            QCOMPARE(now, *fixed);
        fixed = now;
    }
    QVERIFY(token("canvas", Appearance::light).lightness() > token("canvas", Appearance::dark).lightness());
}

void TestTokens::glassSheetFollowsWindow_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::newRow("light") << Appearance::light;
    QTest::newRow("dark") << Appearance::dark;
}

void TestTokens::glassSheetFollowsWindow()
{
    QFETCH(Appearance, appearance);
    const QColor window = token("window", appearance);
    const QColor sheet = token("glassSheet", appearance);
    QCOMPARE(sheet.rgb(), window.rgb());
    QVERIFY(std::abs(sheet.alphaF() - window.alphaF() * 0.66) < 0.002);
    const Appearance other = appearance == Appearance::light ? Appearance::dark : Appearance::light;
    QVERIFY(sheet != token("glassSheet", other));
}

void TestTokens::swatches_data()
{
    QTest::addColumn<Swatch>("swatch");
    QTest::addColumn<Appearance>("appearance");
    for (Swatch swatch : allSwatches) {
        for (Appearance appearance : {Appearance::light, Appearance::dark})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QString::fromUtf8(swatchName(swatch).data()),
                                                                  appearance == Appearance::dark ? u"dark" : u"light")))
                << swatch << appearance;
    }
}

void TestTokens::swatches()
{
    QFETCH(Swatch, swatch);
    QFETCH(Appearance, appearance);
    ThemeGuard guard;
    Theme::instance().setAppearance(appearance);
    const QColor colour = Tokens::Colors::swatch(swatch);
    if (swatch == Swatch::amber)
        QCOMPARE(colour, Tokens::Colors::accent());
    if (swatch == Swatch::green)
        QCOMPARE(colour, Tokens::Colors::ok());
    // The five are told apart.
    for (Swatch other : allSwatches) {
        if (other != swatch)
            QVERIFY(Tokens::Colors::swatch(other) != colour);
    }
    QCOMPARE(colour.alpha(), 255);
}

void TestTokens::avatarPalette()
{
    const auto &palette = Tokens::Colors::avatarPalette();
    QVERIFY(!palette.empty());
    for (const QColor &colour : palette) {
        QCOMPARE(colour.alpha(), 255);
        // White initials stay readable on every tile.
        QVERIFY(contrast(Qt::white, colour) >= 3.0);
    }
}

void TestTokens::themeSignalsOnlyOnChange()
{
    ThemeGuard guard;
    Theme &theme = Theme::instance();
    theme.setAppearance(Appearance::light);
    theme.setSurface(Surface::solid);
    QSignalSpy appearance(&theme, &Theme::appearanceChanged);
    QSignalSpy surface(&theme, &Theme::surfaceChanged);
    QSignalSpy changed(&theme, &Theme::changed);
    theme.setAppearance(Appearance::light);
    theme.setSurface(Surface::solid);
    QCOMPARE(changed.count(), 0);
    theme.setAppearance(Appearance::dark);
    theme.setSurface(Surface::glass);
    theme.setSurface(Surface::glass);
    QCOMPARE(appearance.count(), 1);
    QCOMPARE(appearance.takeFirst().at(0).value<Appearance>(), Appearance::dark);
    QCOMPARE(surface.count(), 1);
    QCOMPARE(changed.count(), 2);
    QVERIFY(Theme::isDark());
    QVERIFY(Theme::isGlass());
}

void TestTokens::typeStyles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Tokens::TypeStyle>("style");
    for (const QString &name : Tokens::Typography::names())
        QTest::newRow(qPrintable(name)) << name << *Tokens::Typography::named(name);
}

// Each style is drawn at its size in logical pixels, in an installed face of its family with the
// weight its name asks for.
void TestTokens::typeStyles()
{
    QFETCH(QString, name);
    QFETCH(Tokens::TypeStyle, style);
    const QFont font = style.font();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    QVERIFY(std::abs(font.pointSizeF() * dpi / 72 - style.size) < 1e-6);
    QCOMPARE(font.weight(), Tokens::Typography::qtWeight(style.weight));
    const QFontInfo info(font);
    // Titles in the display cut, other text in the text cut.
    const QString family = style.design == Tokens::Design::monospaced       ? QStringLiteral("Noto Sans Mono")
                           : style.size >= Tokens::Typography::displaySize ? QStringLiteral("Inter Display")
                                                                            : QStringLiteral("Inter");
    QCOMPARE(info.family(), family);
    if (style.design == Tokens::Design::monospaced) {
        // Every digit as wide as the next.
        const QFontMetricsF metrics(font);
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("1111")), metrics.horizontalAdvance(QStringLiteral("8888")));
    }
    // The face of that very weight, not a lighter or bolder one standing in.
    QCOMPARE(info.weight(), Tokens::Typography::qtWeight(style.weight));
}

// Qt draws text at whole pixel sizes, so 11.5 is drawn at 12; it must still come out larger than
// the 11-pixel small mono and be laid out from its exact size.
void TestTokens::monoIsLargerThanMonoSmall()
{
    QVERIFY(Tokens::Typography::monoSmall.size < Tokens::Typography::mono.size);
    const QString digits = QStringLiteral("0123456789");
    const double mono = QFontMetricsF(Tokens::Typography::mono.font()).horizontalAdvance(digits);
    const double small = QFontMetricsF(Tokens::Typography::monoSmall.font()).horizontalAdvance(digits);
    QVERIFY2(small < mono, qPrintable(QStringLiteral("%1 %2").arg(small).arg(mono)));
}

void TestTokens::motion()
{
    const Tokens::Animation &quick = Tokens::Motion::quick();
    QVERIFY(quick.milliseconds > 0);
    // Ease-out: fast at first, slow at the end.
    QVERIFY(quick.easing.valueForProgress(0.25) > 0.3);
    QVERIFY(quick.easing.valueForProgress(0.5) > 0.6);
    QVERIFY(std::abs(quick.easing.valueForProgress(1.0) - 1.0) < 1e-9);
    QVERIFY(std::abs(quick.easing.valueForProgress(0.0)) < 1e-9);

    QVariantAnimation animation;
    QVERIFY(Tokens::Motion::isEnabled());
    quick.applyTo(animation);
    QCOMPARE(animation.duration(), quick.milliseconds);
    Tokens::Motion::setEnabled(false);
    QVERIFY(quick.isInstant());
    quick.applyTo(animation);
    QCOMPARE(animation.duration(), 0);
    Tokens::Motion::setEnabled(true);
    QCOMPARE(quick.effectiveMilliseconds(), quick.milliseconds);
}

QTEST_MAIN(TestTokens)
#include "tst_tokens.moc"
