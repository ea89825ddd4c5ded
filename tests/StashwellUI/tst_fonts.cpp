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
};

// The set-up installs the Noto packages; the interface draws in them, not in a fallback.
void TestFonts::loadsTheInstalledFamilies()
{
    const FontReport report = loadFonts(QLocale(QLocale::English));
    QVERIFY2(report.missing.isEmpty(), qPrintable(report.missing.join(u", ")));
    QVERIFY(report.available.contains(QStringLiteral("Noto Sans")));
    QVERIFY(report.available.contains(QStringLiteral("Noto Sans Mono")));
    QVERIFY(report.available.contains(QStringLiteral("Noto Sans CJK SC")));
    // Body text is the application's font.
    const QFont font = QApplication::font();
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Noto Sans"));
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
    QCOMPARE(families.first(), QStringLiteral("Noto Sans"));
    QCOMPARE(families.mid(1), fallbacks);
    QCOMPARE(Tokens::Typography::mono.font().families().first(), QStringLiteral("Noto Sans Mono"));
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
