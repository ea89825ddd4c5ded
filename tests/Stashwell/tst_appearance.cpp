// The theme: its stored form, the desktop's colour scheme as the portal reports it, and the
// appearance put in force app-wide.

#include "Stashwell/App/Appearance.h"
#include "Stashwell/App/SystemColorScheme.h"
#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using namespace sw::app;
using sw::Appearance;

Q_DECLARE_METATYPE(std::optional<sw::Appearance>)

class AppearanceTest : public QObject {
    Q_OBJECT

    void portalValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<std::optional<Appearance>>("appearance");
        QTest::newRow("1 prefers dark") << QVariant(1u) << std::optional<Appearance>(Appearance::dark);
        QTest::newRow("2 prefers light") << QVariant(2u) << std::optional<Appearance>(Appearance::light);
        QTest::newRow("0 states no preference") << QVariant(0u) << std::optional<Appearance>();
        QTest::newRow("wrapped once") << QVariant::fromValue(QDBusVariant(QVariant(1u)))
                                      << std::optional<Appearance>(Appearance::dark);
        QTest::newRow("wrapped twice, as Read answers")
            << QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(2u)))))
            << std::optional<Appearance>(Appearance::light);
        QTest::newRow("the digit as text") << QVariant(QStringLiteral("1")) << std::optional<Appearance>();
        QTest::newRow("a Boolean") << QVariant(true) << std::optional<Appearance>();
        QTest::newRow("nothing") << QVariant() << std::optional<Appearance>();
    }

    void portalValues()
    {
        QFETCH(QVariant, value);
        QFETCH(std::optional<Appearance>, appearance);
        QCOMPARE(SystemColorScheme::fromPortalValue(value), appearance);
    }

    void fixedThemesIgnoreTheDesktop()
    {
        SystemColorScheme scheme(Appearance::light, false);
        ThemeSwitch themes(scheme);
        themes.apply(Theme::dark);
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::dark);
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 *sw::Tokens::Colors::token(u"window", Appearance::dark));
        // Fusion, under the application's scroll bars.
        auto *style = qobject_cast<sw::ScrollBarStyle *>(QApplication::style());
        QVERIFY(style);
        QCOMPARE(style->baseStyle()->name().toLower(), QStringLiteral("fusion"));

        scheme.takePortalValue(2u);   // the desktop turns light: the fixed theme stays
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::dark);
        themes.apply(Theme::light);
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::light);
        scheme.takePortalValue(1u);
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::light);
    }

    void systemFollowsTheDesktop()
    {
        SystemColorScheme scheme(Appearance::dark, false);
        ThemeSwitch themes(scheme);
        themes.apply(Theme::system);
        // No answer from the portal yet: the palette's guess.
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::dark);

        QSignalSpy changed(&scheme, &SystemColorScheme::changed);
        scheme.takePortalValue(2u);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::light);
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 *sw::Tokens::Colors::token(u"window", Appearance::light));
        scheme.takePortalValue(QVariant::fromValue(QDBusVariant(QVariant(1u))));
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::dark);
        // "No preference" again: back to the palette's guess, which is dark already.
        scheme.takePortalValue(0u);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::dark);

        // Leaving a fixed theme for system takes the desktop's scheme at once.
        scheme.takePortalValue(2u);
        themes.apply(Theme::dark);
        themes.apply(Theme::system);
        QCOMPARE(sw::Theme::currentAppearance(), Appearance::light);
    }

};

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
