#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StringTableCheck.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace sw;

class TestAppStrings : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void everyKeyInEveryLanguage();
    void countsReadRight_data();
    void countsReadRight();
    void pairsOfOneAndMany();
    void missingTextsShowTheKey();
    void argumentsFillInOnePass_data();
    void argumentsFillInOnePass();
    void countsArePlainDigits_data();
    void countsArePlainDigits();
    void languagesAreTranslated_data();
    void languagesAreTranslated();
    void wordingSuitsThisPlatform();
    void fixedTermsMatchTheInterface_data();
    void fixedTermsMatchTheInterface();
};

void TestAppStrings::cleanup()
{
    StashwellStrings::table().loadLanguage(QStringLiteral("en"));
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
}

void TestAppStrings::everyKeyInEveryLanguage()
{
    const QStringList problems = test::stringTableProblems(StashwellStrings::table());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestAppStrings::countsReadRight_data()
{
    test::addCountedRows(StashwellStrings::table());
}

void TestAppStrings::countsReadRight()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, key);
    QFETCH(qint64, count);
    QVERIFY(StashwellStrings::table().loadLanguage(language));
    const std::optional<QString> problem = test::countedTextProblem(StashwellStrings::table(), key.constData(), count);
    QVERIFY2(!problem, qPrintable(problem.value_or(QString())));
}

// Callers pick One for a count of 1 and Many for any other, passing the count to either: each half
// of a pair needs its partner, with the same arguments, and English words the two differently.
void TestAppStrings::pairsOfOneAndMany()
{
    QHash<QString, int> arguments;
    for (const StringKey &entry : StashwellStrings::keys())
        arguments.insert(QString::fromLatin1(entry.key), entry.arguments);
    int pairs = 0;
    for (auto it = arguments.cbegin(); it != arguments.cend(); ++it) {
        const QString &key = it.key();
        const bool one = key.endsWith(u"One");
        if (!one && !key.endsWith(u"Many"))
            continue;
        const QString stem = key.chopped(one ? 3 : 4);
        const QString partner = stem + (one ? QStringLiteral("Many") : QStringLiteral("One"));
        QVERIFY2(arguments.contains(partner), qPrintable(key + QStringLiteral(" has no ") + partner));
        QCOMPARE(arguments.value(partner), it.value());
        QVERIFY2(it.value() >= 1, qPrintable(key + QStringLiteral(" does not take its count")));
        if (one) {
            ++pairs;
            const QByteArray oneKey = key.toLatin1(), manyKey = partner.toLatin1();
            QVERIFY2(StashwellStrings::table().text(oneKey.constData()) != StashwellStrings::table().text(manyKey.constData()),
                     qPrintable(key));
        }
    }
    QVERIFY(pairs > 0);
}

void TestAppStrings::missingTextsShowTheKey()
{
    QCOMPARE(StashwellStrings::table().text("toast.noSuchToast"), QStringLiteral("toast.noSuchToast"));
    QVERIFY(!StashwellStrings::table().loadLanguage(QStringLiteral("fr")));
    QCOMPARE(StashwellStrings::toastLinkCopied(), QStringLiteral("toast.linkCopied"));
    QCOMPARE(StashwellStrings::toastDeleted(QStringLiteral("Travel")), QStringLiteral("toast.deleted"));
    QCOMPARE(StashwellStrings::shelfItemMany(3), QStringLiteral("shelf.itemMany"));
    QVERIFY(StashwellStrings::table().loadLanguage(QStringLiteral("ko")));
    QVERIFY(StashwellStrings::toastLinkCopied() != QStringLiteral("toast.linkCopied"));
}

// A name or a query typed by the user may hold "%1" or "%2": it is shown as typed, never filled
// again, whatever order the language puts the arguments in.
void TestAppStrings::argumentsFillInOnePass_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : StringTable::languages())
        QTest::newRow(qPrintable(language)) << language;
}

void TestAppStrings::argumentsFillInOnePass()
{
    QFETCH(QString, language);
    QVERIFY(StashwellStrings::table().loadLanguage(language));
    const QString count = StashwellStrings::shelfItemMany(7);
    const QString matching = StashwellStrings::shelfMatching(count, QStringLiteral("%1 or %2"));
    QVERIFY2(matching.contains(QStringLiteral("%1 or %2")) && matching.contains(count), qPrintable(matching));
    QCOMPARE(matching.count(QStringLiteral("%1")), 1);

    const QString filed = StashwellStrings::toastFiledCountIn(2, QStringLiteral("50%2 off"));
    QVERIFY2(filed.contains(QStringLiteral("50%2 off")) && filed.contains(u'2'), qPrintable(filed));
    const QString media = StashwellStrings::libraryEmptyTrashWithMedia(QStringLiteral("%2"), QStringLiteral("3.1 MB"));
    QCOMPARE(media.count(QStringLiteral("%2")), 1);
    QVERIFY(media.contains(QStringLiteral("3.1 MB")));
    const QString budget = StashwellStrings::refusalOverBudget(QStringLiteral("%1"), QStringLiteral("%2"));
    QCOMPARE(budget.count(QStringLiteral("%1")), 1);
    QCOMPARE(budget.count(QStringLiteral("%2")), 1);
    QVERIFY2(budget.indexOf(QStringLiteral("%1")) != budget.indexOf(QStringLiteral("%2")), qPrintable(budget));
}

void TestAppStrings::countsArePlainDigits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("locale");
    for (const QString &language : StringTable::languages()) {
        QTest::newRow(qPrintable(language + QStringLiteral(", German locale"))) << language << "de_DE";
        QTest::newRow(qPrintable(language + QStringLiteral(", own locale"))) << language << language;
    }
}

void TestAppStrings::countsArePlainDigits()
{
    QFETCH(QString, language);
    QFETCH(QString, locale);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    QVERIFY(StashwellStrings::table().loadLanguage(language));
    const QStringList texts{
        StashwellStrings::shelfItemMany(1234),
        StashwellStrings::titleSavedCount(1234),
        StashwellStrings::toastMovedCountToTrash(1234),
        StashwellStrings::libraryLeftBehindMany(1234, QStringLiteral("~/Videos/Stashwell")),
        StashwellStrings::shelfDownloadMissing(1234, QStringLiteral("1.2 GB")),
        StashwellStrings::toastDownloadedTo(0, QStringLiteral("~/Videos/Stashwell")),
    };
    QLocale::setDefault(before);
    const QRegularExpression grouped(QStringLiteral("1[,.\u00a0\u202f ]234"));
    for (const QString &text : texts.first(5)) {
        QVERIFY2(text.contains(QStringLiteral("1234")), qPrintable(text));
        QVERIFY2(!text.contains(grouped), qPrintable(text));
    }
    QVERIFY2(texts.last().contains(u'0'), qPrintable(texts.last()));
}

void TestAppStrings::languagesAreTranslated_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("script");
    QTest::newRow("ja") << "ja" << "[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]";
    QTest::newRow("ko") << "ko" << "[\\x{AC00}-\\x{D7AF}]";
    QTest::newRow("zh_CN") << "zh_CN" << "[\\x{4E00}-\\x{9FFF}]";
}

// A translation that still holds the English text, or none of the language's script, was forgotten.
// Only protocol names, and a few words Japanese writes in Latin letters, stay as they are.
void TestAppStrings::languagesAreTranslated()
{
    QFETCH(QString, language);
    QFETCH(QString, script);
    const QSet<QString> sameEverywhere{QStringLiteral("network.http"), QStringLiteral("network.socks"),
                                       QStringLiteral("library.ok"), QStringLiteral("title.web")};
    StringTable &table = StashwellStrings::table();
    QVERIFY(table.loadLanguage(QStringLiteral("en")));
    QHash<QString, QString> english;
    for (const StringKey &entry : StashwellStrings::keys())
        english.insert(QString::fromLatin1(entry.key), table.text(entry.key));
    QVERIFY(table.loadLanguage(language));
    const QRegularExpression letters(script);
    QStringList untranslated;
    for (const StringKey &entry : StashwellStrings::keys()) {
        const QString key = QString::fromLatin1(entry.key);
        const QString text = table.text(entry.key);
        if (!sameEverywhere.contains(key) && (text == english.value(key) || !text.contains(letters)))
            untranslated.append(key);
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u", ")));
}

// The wording is this platform's: the places a text names (in English) are this computer and the
// folders the file manager shows, and no text writes a keyboard's command key as a symbol (the
// shortcuts read Ctrl).
void TestAppStrings::wordingSuitsThisPlatform()
{
    const QStringList problems = test::wordingProblems(StashwellStrings::table());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

// The window title of a filter reads as the sidebar row that chose it, and the menus use the
// interface's words for the library and the trash.
void TestAppStrings::fixedTermsMatchTheInterface_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("appKey");
    QTest::addColumn<QByteArray>("uiKey");
    const QList<std::pair<const char *, const char *>> same{
        {"title.allSaves", "sidebar.allSaves"},     {"shelf.allSaves", "sidebar.allSaves"},
        {"title.favourites", "sidebar.favourites"}, {"title.recentlyAdded", "sidebar.recentlyAdded"},
        {"shelf.recentlyAdded", "sidebar.recentlyAdded"}, {"title.linkOnly", "sidebar.linkOnly"},
        {"title.trash", "sidebar.trash"},           {"title.videos", "sidebar.video"},
        {"title.images", "sidebar.image"},          {"title.textPosts", "sidebar.text"},
        {"title.links", "sidebar.link"},            {"title.web", "sidebar.web"},
        {"title.onThisComputer", "storage.onThisComputer"}, {"title.collection", "collection.label"},
        {"menu.library", "sidebar.library"},        {"undo.moveToTrash", "action.moveToTrash"},
        {"undo.restore", "action.restore"},         {"undo.newCollection", "sidebar.newCollection"},
        {"library.cancel", "creator.cancel"},       {"menu.openStashwell", "quickSave.openStashwell"},
        // One name for showing a file or the media folder in the file manager, wherever it is offered.
        {"settings.showInFileManager", "inspector.showInFileManager"},
        {"library.showInFileManager", "saveMenu.showInFileManager"},
    };
    for (const QString &language : StringTable::languages())
        for (const auto &[app, ui] : same)
            QTest::newRow(qPrintable(language + u' ' + QString::fromLatin1(app))) << language << QByteArray(app) << QByteArray(ui);
}

void TestAppStrings::fixedTermsMatchTheInterface()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, appKey);
    QFETCH(QByteArray, uiKey);
    QVERIFY(StashwellStrings::table().loadLanguage(language));
    QVERIFY(StashwellUIStrings::table().loadLanguage(language));
    QVERIFY(StashwellUIStrings::table().find(uiKey.constData()));
    QCOMPARE(StashwellStrings::table().text(appKey.constData()), StashwellUIStrings::table().text(uiKey.constData()));
}

QTEST_GUILESS_MAIN(TestAppStrings)
#include "tst_appstrings.moc"
