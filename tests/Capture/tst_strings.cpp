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
    void countedAccessorsPickTheForm_data();
    void countedAccessorsPickTheForm();
    void countedTextCheckFindsFaults_data();
    void countedTextCheckFindsFaults();
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
             QStringList({QStringLiteral("en: \"sample.formMissing\" at 0 has no text"),
                          QStringLiteral("ja: \"sample.untranslated\" has no text"),
                          QStringLiteral("ko: \"sample.pair\" uses the placeholders [%1 %3] instead of 2 argument(s): "
                                         "%1 \ud30c\uc77c %3"),
                          QStringLiteral("ko: \"sample.miscounted\" at 0 does not show its count %n: "
                                         "\ud0dc\uadf8 \uc5ec\ub7ec \uac1c")}));
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

// The count picks the language's plural form and fills %n in the same pass as the other arguments.
void TestStrings::countedAccessorsPickTheForm_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("en 0") << "en" << qint64(0) << "~/a" << "0 files in ~/a";
    QTest::newRow("en 1") << "en" << qint64(1) << "~/a" << "1 file in ~/a";
    QTest::newRow("en 2") << "en" << qint64(2) << "~/a" << "2 files in ~/a";
    QTest::newRow("en 21") << "en" << qint64(21) << "~/a" << "21 files in ~/a";
    QTest::newRow("en -1") << "en" << qint64(-1) << "~/a" << "-1 file in ~/a";
    QTest::newRow("en, beyond an int") << "en" << qint64(5000000000) << "~/a" << "5000000000 files in ~/a";
    QTest::newRow("en, argument holding placeholders") << "en" << qint64(1) << "%n%1" << "1 file in %n%1";
    QTest::newRow("ja 1") << "ja" << qint64(1) << "x" << QStringLiteral("x \u306b 1 \u500b\u306e\u30d5\u30a1\u30a4\u30eb");
    QTest::newRow("ko 5") << "ko" << qint64(5) << "x" << QStringLiteral("x\uc5d0 \ud30c\uc77c 5\uac1c");
    QTest::newRow("zh_CN 2") << "zh_CN" << qint64(2) << "x" << QStringLiteral("x \u4e2d\u6709 2 \u4e2a\u6587\u4ef6");
}

void TestStrings::countedAccessorsPickTheForm()
{
    QFETCH(QString, language);
    QFETCH(qint64, count);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QVERIFY(SampleStrings::table().loadLanguage(language));
    QCOMPARE(SampleStrings::sampleFiles(count, folder), expected);
    // A text short of one of its language's forms is left out of the table whole: it shows the key
    // at every count, as a missing text does, rather than half its forms.
    if (language == u"en")
        QCOMPARE(SampleStrings::sampleFormMissing(count), QStringLiteral("sample.formMissing"));
}

void TestStrings::countedTextCheckFindsFaults_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("problem");   // how the problem starts; empty for none
    QTest::newRow("en whole at 1") << "en" << QByteArray("sample.files") << qint64(1) << "";
    QTest::newRow("en whole at 21") << "en" << QByteArray("sample.files") << qint64(21) << "";
    QTest::newRow("ko whole at 0") << "ko" << QByteArray("sample.files") << qint64(0) << "";
    QTest::newRow("en \"1 tags\"") << "en" << QByteArray("sample.miscounted") << qint64(1) << "the noun does not agree";
    QTest::newRow("en \"5 tags\"") << "en" << QByteArray("sample.miscounted") << qint64(5) << "";
    QTest::newRow("ko count hidden") << "ko" << QByteArray("sample.miscounted") << qint64(5) << "the count does not show";
    QTest::newRow("en form missing") << "en" << QByteArray("sample.formMissing") << qint64(2) << "the count does not show";
    QTest::newRow("not counted") << "en" << QByteArray("sample.pair") << qint64(2) << "\"sample.pair\" is no counted key";
}

void TestStrings::countedTextCheckFindsFaults()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, key);
    QFETCH(qint64, count);
    QFETCH(QString, problem);
    QVERIFY(SampleStrings::table().loadLanguage(language));
    const std::optional<QString> found = test::countedTextProblem(SampleStrings::table(), key.constData(), count);
    if (problem.isEmpty())
        QVERIFY2(!found, qPrintable(found.value_or(QString())));
    else
        QVERIFY2(found && found->startsWith(problem), qPrintable(found.value_or(QStringLiteral("no problem"))));
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
    QTest::newRow("count without a count") << "%n of %1" << QStringList{"a"} << "%n of a";
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
    QTest::newRow("the count is no numbered placeholder") << "%n of %1" << QList<int>{1};
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
