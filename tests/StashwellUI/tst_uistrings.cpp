#include "StashwellUI/StashwellUIStrings.h"
#include "StringTableCheck.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace sw;

class TestUIStrings : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void everyKeyInEveryLanguage();
    void countsReadRight_data();
    void countsReadRight();
    void argumentCounts_data();
    void argumentCounts();
    void languagesAreTranslated_data();
    void languagesAreTranslated();
    void argumentsFillInOnePass();
    void integersArePlainDigits_data();
    void integersArePlainDigits();
    void wordingSuitsThisPlatform();
};

void TestUIStrings::cleanup()
{
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
}

void TestUIStrings::everyKeyInEveryLanguage()
{
    const QStringList problems = test::stringTableProblems(StashwellUIStrings::table());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestUIStrings::countsReadRight_data()
{
    test::addCountedRows(StashwellUIStrings::table());
}

void TestUIStrings::countsReadRight()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, key);
    QFETCH(qint64, count);
    QVERIFY(StashwellUIStrings::table().loadLanguage(language));
    const std::optional<QString> problem = test::countedTextProblem(StashwellUIStrings::table(), key.constData(), count);
    QVERIFY2(!problem, qPrintable(problem.value_or(QString())));
}

// The keys the views fill in, with the number of values each takes besides a count, and the keys
// that take a count; every other key takes neither.
void TestUIStrings::argumentCounts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("arguments");
    QTest::addColumn<bool>("counted");
    const QSet<QString> counted{"bulk.download", "bulk.restore", "bulk.selected", "bulk.trash",
                                "media.imageCount", "status.summary"};
    const QList<std::pair<const char *, int>> withArguments{
        {"action.download", 1},        {"bulk.download", 1},           {"bulk.onThisComputerCount", 2},
        {"creator.hint", 1},           {"inspector.ago", 1},           {"inspector.downloading", 2},
        {"inspector.fileImage", 1},    {"inspector.filePage", 1},      {"inspector.fileVideo", 2},
        {"inspector.posted", 1},       {"media.bytesProgress", 2},     {"media.downloading", 2},
        {"media.imageMany", 1},        {"media.imageOne", 1},
        {"media.percent", 1},          {"media.videoLength", 1},       {"media.videoMany", 1},
        {"media.videoOne", 1},         {"quickSave.reading", 1},       {"saveLink.fetching", 1},
        {"shelf.savedAgo", 1},         {"status.summary", 2},          {"storage.downloadMissingMany", 1},
        {"storage.downloadMissingOne", 1}, {"storage.limit", 2},       {"tag.remove", 1},
        {"time.days", 1},              {"time.hours", 1},              {"time.minutes", 1},
        {"time.weeks", 1},
    };
    QHash<QString, int> expected;
    for (const auto &[key, count] : withArguments)
        expected.insert(QString::fromLatin1(key), count);
    QSet<QString> listed = counted;
    for (const StringKey &entry : StashwellUIStrings::keys()) {
        const QString key = QString::fromLatin1(entry.key);
        QTest::newRow(entry.key) << key << expected.value(key, 0) << counted.contains(key);
        expected.remove(key);
        listed.remove(key);
    }
    // A key of the lists above that the table lacks is reported by argumentCounts itself.
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << it.value() << false;
    for (const QString &key : listed)
        if (!expected.contains(key))
            QTest::newRow(qPrintable(key + QStringLiteral(" (counted)"))) << key << 0 << true;
}

void TestUIStrings::argumentCounts()
{
    QFETCH(QString, key);
    QFETCH(int, arguments);
    QFETCH(bool, counted);
    for (const StringKey &entry : StashwellUIStrings::keys()) {
        if (QString::fromLatin1(entry.key) == key) {
            QCOMPARE(entry.arguments, arguments);
            QCOMPARE(entry.counted, counted);
            return;
        }
    }
    QFAIL("key missing");
}

void TestUIStrings::languagesAreTranslated_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("script");
    QTest::newRow("ja") << "ja" << "[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]";
    QTest::newRow("ko") << "ko" << "[\\x{AC00}-\\x{D7AF}]";
    QTest::newRow("zh_CN") << "zh_CN" << "[\\x{4E00}-\\x{9FFF}]";
}

// A translation that still holds the English text, or none of the language's script, was forgotten.
void TestUIStrings::languagesAreTranslated()
{
    QFETCH(QString, language);
    QFETCH(QString, script);
    StringTable &table = StashwellUIStrings::table();
    QVERIFY(table.loadLanguage(QStringLiteral("en")));
    QHash<QString, QString> english;
    for (const StringKey &entry : StashwellUIStrings::keys())
        english.insert(QString::fromLatin1(entry.key), table.text(entry.key));
    QVERIFY(table.loadLanguage(language));
    QCOMPARE(table.language(), language);
    const QRegularExpression letters(script);
    QStringList untranslated;
    for (const StringKey &entry : StashwellUIStrings::keys()) {
        const QString text = table.text(entry.key);
        const bool placeholdersOnly = QString(text).remove(QRegularExpression(QStringLiteral("%\\d|[\\s·/%:]"))).isEmpty();
        if (placeholdersOnly)
            continue;   // "%1 / %2" reads the same everywhere
        if (text == english.value(QString::fromLatin1(entry.key)) && !text.contains(letters))
            untranslated.append(QString::fromLatin1(entry.key));
    }
    // Only the name of the web stays as it is in Japanese.
    QVERIFY2(untranslated.size() <= 1, qPrintable(untranslated.join(u", ")));
}

void TestUIStrings::argumentsFillInOnePass()
{
    // A text argument holding a placeholder of the same text stays verbatim.
    const QString summary = StashwellUIStrings::statusSummary(3, QStringLiteral("%2 MB"), QStringLiteral("~/Videos/%1"));
    QCOMPARE(summary, QStringLiteral("3 saves · %2 MB in ~/Videos/%1"));
    QCOMPARE(StashwellUIStrings::tagRemove(QStringLiteral("50%1")), QStringLiteral("Remove tag 50%1"));
    // Arguments may come in another order in a translation.
    QVERIFY(StashwellUIStrings::table().loadLanguage(QStringLiteral("ja")));
    QCOMPARE(StashwellUIStrings::bulkOnThisComputerCount(2, 5), QStringLiteral("5件中2件"));
    QCOMPARE(StashwellUIStrings::statusSummary(7, QStringLiteral("1.0 MB"), QStringLiteral("%3")),
             QStringLiteral("7件 · %3 に 1.0 MB"));
}

void TestUIStrings::integersArePlainDigits_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : StringTable::languages())
        QTest::newRow(qPrintable(language)) << language;
}

void TestUIStrings::integersArePlainDigits()
{
    QFETCH(QString, language);
    QVERIFY(StashwellUIStrings::table().loadLanguage(language));
    QVERIFY(StashwellUIStrings::bulkSelected(1234567).contains(QStringLiteral("1234567")));
    QVERIFY(StashwellUIStrings::mediaBytesProgress(10485760, 20971520).contains(QStringLiteral("10485760")));
    QVERIFY(StashwellUIStrings::bulkTrash(-3).contains(QStringLiteral("-3")));
    QVERIFY(StashwellUIStrings::mediaPercent(100).contains(QStringLiteral("100")));
}

// The wording is this platform's: the places a text names (in English) are this computer and the
// folders the file manager shows, and no text writes a keyboard's command key as a symbol (the
// shortcuts read Ctrl).
void TestUIStrings::wordingSuitsThisPlatform()
{
    const QStringList problems = test::wordingProblems(StashwellUIStrings::table());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestUIStrings)
#include "tst_uistrings.moc"
