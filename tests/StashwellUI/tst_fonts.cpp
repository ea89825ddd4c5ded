#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QFontInfo>
#include <QTest>

using namespace sw;

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void loadsTheInstalledFamilies();
    void fallbacksPutTheLanguageFirst_data();
    void fallbacksPutTheLanguageFirst();
    void everyWeightIsItsOwnFace_data();
    void everyWeightIsItsOwnFace();
    void titleSizesUseTheDisplayCut_data();
    void titleSizesUseTheDisplayCut();
    void aStyleIsMadeOnce_data();
    void aStyleIsMadeOnce();
};

// The set-up installs Inter and the Noto packages; the interface draws in them, not in a fallback.
void TestFonts::loadsTheInstalledFamilies()
{
    const FontReport report = loadFonts(QLocale(QLocale::English));
    QVERIFY2(report.missing.isEmpty(), qPrintable(report.missing.join(u", ")));
    for (const char *family : {"Inter", "Inter Display", "Noto Sans Mono", "Noto Sans CJK SC"})
        QVERIFY2(report.available.contains(QString::fromLatin1(family)), family);
    // Body text is the application's font.
    const QFont font = QApplication::font();
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Inter"));
    QCOMPARE(font.pointSizeF(), Tokens::Typography::body.font().pointSizeF());
}

void TestFonts::fallbacksPutTheLanguageFirst_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("first");
    QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan) << "Noto Sans CJK JP";
    QTest::newRow("Korean") << QLocale(QLocale::Korean, QLocale::SouthKorea) << "Noto Sans CJK KR";
    QTest::newRow("Simplified Chinese") << QLocale(QLocale::Chinese, QLocale::China) << "Noto Sans CJK SC";
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "Noto Sans CJK SC";
}

// The CJK family of the language comes first among the fallbacks.
void TestFonts::fallbacksPutTheLanguageFirst()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, first);
    QCOMPARE(cjkFamilyFor(locale), first);
    loadFonts(locale);
    const QStringList fallbacks = Tokens::Typography::fallbackFamilies();
    QCOMPARE(fallbacks.size(), 3);
    QCOMPARE(fallbacks.first(), first);
    QCOMPARE(QStringList(fallbacks).removeDuplicates(), 0);
    // Every interface font carries them after its own family.
    const QStringList families = Tokens::Typography::caption.font().families();
    QCOMPARE(families.first(), QStringLiteral("Inter"));
    QCOMPARE(families.mid(1), fallbacks);
    QCOMPARE(Tokens::Typography::mono.font().families().first(), QStringLiteral("Noto Sans Mono"));
}

void TestFonts::everyWeightIsItsOwnFace_data()
{
    QTest::addColumn<double>("size");
    QTest::newRow("text") << Tokens::Typography::body.size;
    QTest::newRow("display") << Tokens::Typography::hero.size;
}

// Each weight the views name is drawn in the face of that weight: the matched face reports it, and
// every step up draws the same words wider, as Inter's heavier faces are.
void TestFonts::everyWeightIsItsOwnFace()
{
    QFETCH(double, size);
    loadFonts(QLocale(QLocale::English));
    using Tokens::Weight;
    const QString words = QStringLiteral("Stashwell keeps every save");
    double previous = 0;
    for (Weight weight : {Weight::ultraLight, Weight::thin, Weight::light, Weight::regular, Weight::medium,
                          Weight::semibold, Weight::bold, Weight::heavy, Weight::black}) {
        const QFont font = Tokens::Typography::font(size, weight);
        const QFontInfo info(font);
        const QString what = QStringLiteral("%1 at %2: %3 %4").arg(int(weight)).arg(size).arg(info.family(), info.styleName());
        QVERIFY2(info.family().startsWith(QStringLiteral("Inter")), qPrintable(what));
        QVERIFY2(info.weight() == Tokens::Typography::qtWeight(weight), qPrintable(what));
        const double width = QFontMetricsF(font).horizontalAdvance(words);
        QVERIFY2(width > previous, qPrintable(what));
        previous = width;
    }
}

void TestFonts::titleSizesUseTheDisplayCut_data()
{
    QTest::addColumn<Tokens::TypeStyle>("style");
    QTest::addColumn<QString>("family");
    using namespace Tokens::Typography;
    QTest::newRow("hero") << hero << "Inter Display";
    QTest::newRow("title") << title << "Inter Display";
    QTest::newRow("section") << section << "Inter";
    QTest::newRow("body") << body << "Inter";
    QTest::newRow("caption") << caption << "Inter";
    QTest::newRow("mono, even when large") << Tokens::TypeStyle{24, Tokens::Weight::regular, Tokens::Design::monospaced}
                                           << "Noto Sans Mono";
}

void TestFonts::titleSizesUseTheDisplayCut()
{
    QFETCH(Tokens::TypeStyle, style);
    QFETCH(QString, family);
    loadFonts(QLocale(QLocale::English));
    QCOMPARE(QFontInfo(style.font()).family(), family);
}

void TestFonts::aStyleIsMadeOnce_data()
{
    QTest::addColumn<QString>("then");   // what comes between the two fonts of a style
    QTest::addColumn<bool>("shared");
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("another style") << "style" << true;
    QTest::newRow("the language's fallbacks") << "language" << false;
}

// Fonts of one style share one font, whose families the font database resolves once: until the
// fallbacks change, which a font made before does not carry.
void TestFonts::aStyleIsMadeOnce()
{
    QFETCH(QString, then);
    QFETCH(bool, shared);
    loadFonts(QLocale(QLocale::English));
    const QFont first = Tokens::Typography::caption.font();
    if (then == u"style")
        QVERIFY(!Tokens::Typography::bodyStrong.font().isCopyOf(first));
    if (then == u"language")
        loadFonts(QLocale(QLocale::Japanese, QLocale::Japan));
    const QFont second = Tokens::Typography::caption.font();
    QCOMPARE(second.isCopyOf(first), shared);
    QCOMPARE(second.families().mid(1), Tokens::Typography::fallbackFamilies());
    loadFonts(QLocale(QLocale::English));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
