#include "StashwellUI/Controls/ControlPainting.h"
#include "ControlTesting.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Controls/MediaBadge.h"
#include "StashwellUI/Design/Theme.h"

#include <QFontMetricsF>
#include <QLocale>

#include <cmath>

using namespace sw;

class TestMediaBadge : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void badgeSize_data();
    void badgeSize();
    void badgeShowsItsTextVerbatim();
    void kickerCapitals_data();
    void kickerCapitals();
    void kickerTintFollowsTheAppearanceUntilSet();
};

void TestMediaBadge::badgeSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("symbol");
    QTest::newRow("text alone") << QStringLiteral("1:05") << QString();
    QTest::newRow("with a symbol") << QStringLiteral("2/5") << QStringLiteral("photo");
}

// The badge holds its text with room on every side; a symbol and a longer text widen it.
void TestMediaBadge::badgeSize()
{
    QFETCH(QString, text);
    QFETCH(QString, symbol);
    const QSizeF textSize = ControlPainting::textSize(Tokens::Typography::monoSmall.font(), text);
    const QSizeF size = MediaBadge::size(text, symbol);
    QVERIFY(size.width() > textSize.width() && size.height() > textSize.height());
    if (!symbol.isEmpty()) {
        const QSizeF plain = MediaBadge::size(text, QString());
        QVERIFY(size.width() > plain.width() + ControlPainting::symbolSide(8));
        QVERIFY(size.height() >= plain.height());
    }
    QVERIFY(MediaBadge::size(text + QStringLiteral("00"), symbol).width() > size.width());
}

void TestMediaBadge::badgeShowsItsTextVerbatim()
{
    MediaBadge badge(QStringLiteral("62:05 · hd"));
    QCOMPARE(badge.text(), QStringLiteral("62:05 · hd"));
    QCOMPARE(test::accessibleName(&badge), QStringLiteral("62:05 · hd"));
}

void TestMediaBadge::kickerCapitals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QStringLiteral("Latest save") << QStringLiteral("LATEST SAVE");
    QTest::newRow("sharp s expands") << QStringLiteral("Straße") << QStringLiteral("STRASSE");
    QTest::newRow("accents kept") << QStringLiteral("déjà vu") << QStringLiteral("DÉJÀ VU");
    QTest::newRow("dotless i is not used") << QStringLiteral("link") << QStringLiteral("LINK");
    QTest::newRow("no case") << QStringLiteral("最新 1") << QStringLiteral("最新 1");
}

void TestMediaBadge::kickerCapitals()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    // Whatever the locale: a Turkish one must not turn "i" into a dotted capital.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const QString result = Kicker::shownText(text);
    QLocale::setDefault(before);
    QCOMPARE(result, shown);
    Kicker kicker(text);
    const double spaced = QFontMetricsF(Kicker::font()).horizontalAdvance(shown);
    QCOMPARE(kicker.sizeHint().width(), int(std::ceil(spaced)));
    // The tracking widens the text.
    if (shown.size() > 1)
        QVERIFY(spaced > QFontMetricsF(Tokens::Typography::kicker.font()).horizontalAdvance(shown));
}

void TestMediaBadge::kickerTintFollowsTheAppearanceUntilSet()
{
    Kicker kicker(QStringLiteral("Latest save"));
    QCOMPARE(kicker.tint(), Tokens::Colors::muted());
    Theme::instance().setAppearance(Appearance::dark);
    QCOMPARE(kicker.tint(), Tokens::Colors::muted());
    kicker.setTint(Tokens::Colors::accentInk());
    const QColor ink = Tokens::Colors::accentInk();
    Theme::instance().setAppearance(Appearance::light);
    QCOMPARE(kicker.tint(), ink);
}

QTEST_MAIN(TestMediaBadge)
#include "tst_mediabadge.moc"
