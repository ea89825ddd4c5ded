#include "Capture/CaptureStrings.h"
#include "Capture/Post.h"
#include "Capture/SampleStrings.h"
#include "StringTableCheck.h"

#include <QTest>

using namespace sw;

class TestStrings : public QObject {
    Q_OBJECT
private slots:
    void captureTableIsWhole();
    void checkFindsMissingAndMismatchedTexts();
    void accessorsFillArgumentsInOnePass_data();
    void accessorsFillArgumentsInOnePass();
    void keyWithoutTextShowsTheKey();
    void missingTranslationsShowKeys();
    void languageForLocale_data();
    void languageForLocale();
    void firstUseLoadsTheChosenLocale();
    void fill_data();
    void fill();
    void placeholders_data();
    void placeholders();
    void qualityTitlesAreKeptForTheProcess();
};

void TestStrings::captureTableIsWhole()
{
    const QStringList problems = test::stringTableProblems(CaptureStrings::table());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    QCOMPARE(CaptureStrings::keys().size(), std::size_t(3));
}

void TestStrings::checkFindsMissingAndMismatchedTexts()
{
    const QStringList problems = test::stringTableProblems(SampleStrings::table());
    QCOMPARE(problems,
             QStringList({QStringLiteral("ja: \"sample.untranslated\" has no text"),
                          QStringLiteral("ko: \"sample.pair\" uses the placeholders [%1 %3] instead of 2 argument(s): "
                                         "%1 \ud30c\uc77c %3")}));
}

void TestStrings::accessorsFillArgumentsInOnePass_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("en") << "en" << "a%2b" << qint64(1234567) << "a%2b has 1234567 files";
    QTest::newRow("ja, reordered") << "ja" << "%1" << qint64(-5) << QStringLiteral("-5 \u500b\u306e\u30d5\u30a1\u30a4\u30eb: %1");
    QTest::newRow("zh_CN") << "zh_CN" << "x" << qint64(0) << QStringLiteral("x \u6709 0 \u4e2a\u6587\u4ef6");
}

void TestStrings::accessorsFillArgumentsInOnePass()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(qint64, count);
    QFETCH(QString, expected);
    QVERIFY(SampleStrings::table().loadLanguage(language));
    QCOMPARE(SampleStrings::samplePair(name, count), expected);
}

void TestStrings::keyWithoutTextShowsTheKey()
{
    QVERIFY(SampleStrings::table().loadLanguage(QStringLiteral("ja")));
    QCOMPARE(SampleStrings::sampleUntranslated(), QStringLiteral("sample.untranslated"));
    QVERIFY(!SampleStrings::table().find("sample.untranslated"));
    QCOMPARE(SampleStrings::sampleThreePartsKey(), QStringLiteral("\u4e09"));
    QCOMPARE(SampleStrings::table().text("no.such.key"), QStringLiteral("no.such.key"));
}

void TestStrings::missingTranslationsShowKeys()
{
    StringTable table(QStringLiteral(":/i18n/nothing"), SampleStrings::keys());
    QVERIFY(!table.loadLanguage(QStringLiteral("en")));
    QCOMPARE(table.text("sample.plain"), QStringLiteral("sample.plain"));
    QCOMPARE(table.text("sample.pair", {QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("sample.pair"));
    QVERIFY(!test::stringTableProblems(table).isEmpty());
}

void TestStrings::languageForLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("Japanese") << "ja_JP" << "ja";
    QTest::newRow("Korean") << "ko_KR" << "ko";
    QTest::newRow("Chinese, China") << "zh_CN" << "zh_CN";
    QTest::newRow("Chinese, Singapore") << "zh_SG" << "zh_CN";
    QTest::newRow("Chinese, Taiwan") << "zh_TW" << "en";
    QTest::newRow("British English") << "en_GB" << "en";
    QTest::newRow("French") << "fr_FR" << "en";
    QTest::newRow("C") << "C" << "en";
}

void TestStrings::languageForLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QCOMPARE(StringTable::languageFor(QLocale(locale)), language);
}

void TestStrings::firstUseLoadsTheChosenLocale()
{
    StringTable::setLocale(QLocale(QStringLiteral("ko_KR")));
    StringTable table(QStringLiteral(":/i18n/sample"), SampleStrings::keys());
    QCOMPARE(table.language(), QString());
    QCOMPARE(table.text("sample.plain"), QStringLiteral("\uc77c\ubc18"));
    QCOMPARE(table.language(), QStringLiteral("ko"));
    QVERIFY(table.load(QLocale(QStringLiteral("zh_CN"))));
    QCOMPARE(table.text("sample.plain"), QStringLiteral("\u666e\u901a"));
}

void TestStrings::fill_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("in order") << "%1 of %2" << QStringList{"a", "b"} << "a of b";
    QTest::newRow("reordered") << "%2, %1" << QStringList{"a", "b"} << "b, a";
    QTest::newRow("repeated") << "%1%1" << QStringList{"a"} << "aa";
    QTest::newRow("argument holding a placeholder") << "%1 of %2" << QStringList{"%2", "b"} << "%2 of b";
    QTest::newRow("argument holding a percent") << "%1" << QStringList{"100%"} << "100%";
    QTest::newRow("placeholder beyond the arguments") << "%1 %3" << QStringList{"a", "b"} << "a %3";
    QTest::newRow("lone percent") << "50% of %1" << QStringList{"x"} << "50% of x";
    QTest::newRow("trailing percent") << "%1%" << QStringList{"5"} << "5%";
    QTest::newRow("two-digit placeholder") << "%10" << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"} << "j";
    QTest::newRow("no arguments") << "%1" << QStringList{} << "%1";
}

void TestStrings::fill()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QString result;
    switch (arguments.size()) {
    case 0: result = StringTable::fill(pattern, {}); break;
    case 1: result = StringTable::fill(pattern, {arguments[0]}); break;
    case 2: result = StringTable::fill(pattern, {arguments[0], arguments[1]}); break;
    case 10:
        result = StringTable::fill(pattern, {arguments[0], arguments[1], arguments[2], arguments[3], arguments[4],
                                             arguments[5], arguments[6], arguments[7], arguments[8], arguments[9]});
        break;
    default: QFAIL("unexpected argument count");
    }
    QCOMPARE(result, expected);
}

void TestStrings::placeholders_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QList<int>>("numbers");
    QTest::newRow("none") << "Plain" << QList<int>{};
    QTest::newRow("ordered and repeated") << "%2 %1 %2" << QList<int>{1, 2};
    QTest::newRow("percent sign alone") << "100% %1" << QList<int>{1};
    QTest::newRow("zero is no placeholder") << "%0" << QList<int>{};
    QTest::newRow("two digits") << "%12" << QList<int>{12};
}

void TestStrings::placeholders()
{
    QFETCH(QString, pattern);
    QFETCH(QList<int>, numbers);
    QCOMPARE(StringTable::placeholders(pattern), numbers);
}

void TestStrings::qualityTitlesAreKeptForTheProcess()
{
    QVERIFY(CaptureStrings::table().loadLanguage(QStringLiteral("ja")));
    QStringList titles;
    for (Quality q : Quality::allCases()) {
        titles << q.title();
        QVERIFY(!q.title().startsWith(u"quality."));
    }
    QCOMPARE(titles, QStringList({CaptureStrings::qualityOriginal(), CaptureStrings::qualityHd(), CaptureStrings::qualitySmall()}));

    // A change of language shows only after the next start.
    QVERIFY(CaptureStrings::table().loadLanguage(QStringLiteral("en")));
    QVERIFY(CaptureStrings::qualityOriginal() != titles[0]);
    QCOMPARE(Quality(Quality::original).title(), titles[0]);
}

QTEST_GUILESS_MAIN(TestStrings)
#include "tst_strings.moc"
