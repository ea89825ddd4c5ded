#include "StringTableCheck.h"

#include <QRegularExpression>
#include <QTest>

namespace sw::test {

namespace {

// Counts that reach every plural form of the languages written, and the usual traps of plural
// rules (0, the teens, 21, 101).
const QList<qint64> kCounts{0, 1, 2, 3, 5, 11, 21, 101, 1000};

// The problems `check(language, problems)` finds with the table in each language in turn; the
// table is left with the language it had before.
template <typename Check>
QStringList inEveryLanguage(StringTable &table, Check &&check)
{
    QStringList problems;
    const QString before = table.language();
    for (const QString &language : StringTable::languages()) {
        if (table.loadLanguage(language))
            check(language, problems);
        else
            problems << QStringLiteral("%1: the translations cannot be loaded").arg(language);
    }
    if (!before.isEmpty())
        table.loadLanguage(before);
    return problems;
}

}  // namespace

QStringList stringTableProblems(StringTable &table)
{
    return inEveryLanguage(table, [&](const QString &language, QStringList &problems) {
        for (const StringKey &key : table.keys()) {
            QList<int> expected;
            for (int i = 1; i <= key.arguments; ++i)
                expected << i;
            // A counted key is read at every count; the first problem of a key is enough.
            for (qint64 count : key.counted ? kCounts : QList<qint64>{-1}) {
                const auto text = key.counted ? table.find(key.key, count) : table.find(key.key);
                const QString where = language + QStringLiteral(": \"") + QString::fromUtf8(key.key) + u'"'
                    + (key.counted ? QStringLiteral(" at %1").arg(count) : QString());
                QString problem;
                if (!text) {
                    problem = QStringLiteral("has no text");
                } else if (const QList<int> found = StringTable::placeholders(*text); found != expected) {
                    QStringList names;
                    for (int n : found)
                        names << u'%' + QString::number(n);
                    problem = QStringLiteral("uses the placeholders [%1] instead of %2 argument(s): %3")
                                  .arg(names.join(u' '), QString::number(key.arguments), *text);
                } else if (StringTable::usesCount(*text) != key.counted) {
                    problem = (key.counted ? QStringLiteral("does not show its count %n: ") : QStringLiteral("uses %n but takes no count: ")) + *text;
                }
                if (!problem.isEmpty()) {
                    problems << where + u' ' + problem;
                    break;
                }
            }
        }
    });
}

QStringList wordingProblems(StringTable &table)
{
    return inEveryLanguage(table, [&](const QString &language, QStringList &problems) {
        for (const StringKey &entry : table.keys()) {
            const QString key = QString::fromLatin1(entry.key);
            const QString text = table.text(entry.key);
            const bool wrong = text.contains(QChar(0x2318))
                || (language == u"en"
                    && ((key.contains(u"showInFileManager") && !text.contains(QLatin1String("Folder")))
                        || (key.endsWith(u"nThisComputer") && !text.contains(QLatin1String("omputer")))));
            if (wrong)
                problems << QStringLiteral("%1 (%2): %3").arg(key, language, text);
        }
    });
}

void addCountedRows(const StringTable &table)
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<qint64>("count");
    for (const QString &language : StringTable::languages())
        for (const StringKey &key : table.keys())
            if (key.counted)
                for (qint64 count : {0, 1, 2, 5, 21})
                    QTest::addRow("%s %s %lld", qPrintable(language), key.key, count) << language << QByteArray(key.key) << count;
}

namespace {

QString filled(const StringTable &table, const StringKey &key, qint64 count)
{
    const QString a = QStringLiteral("[a]"), b = QStringLiteral("[b]"), c = QStringLiteral("[c]");
    switch (key.arguments) {
    case 0: return table.text(key.key, count, {});
    case 1: return table.text(key.key, count, {a});
    case 2: return table.text(key.key, count, {a, b});
    default: return table.text(key.key, count, {a, b, c});
    }
}

// The plural categories of the languages written: English tells 1 from every other count;
// Japanese, Korean and Chinese word every count alike.
qint64 categoryExample(const QString &language, qint64 count)
{
    return language == u"en" && count == 1 ? 1 : 2;
}

}  // namespace

std::optional<QString> countedTextProblem(const StringTable &table, const char *keyName, qint64 count)
{
    const StringKey *key = nullptr;
    for (const StringKey &k : table.keys())
        if (qstrcmp(k.key, keyName) == 0)
            key = &k;
    if (!key || !key->counted)
        return QStringLiteral("\"%1\" is no counted key").arg(QString::fromLatin1(keyName));
    const QString text = filled(table, *key, count);
    const QString digits = QString::number(count);
    const QRegularExpression number(QStringLiteral("(?<![0-9])") + digits + QStringLiteral("(?![0-9])"));
    if (!text.contains(number))
        return QStringLiteral("the count does not show: ") + text;
    if (text.contains(QRegularExpression(QStringLiteral("%[0-9n]"))))
        return QStringLiteral("a placeholder is left: ") + text;
    const qint64 example = categoryExample(table.language(), count);
    const QString like = filled(table, *key, example);
    if (QString(text).replace(number, QStringLiteral("#")) != QString(like).replace(QString::number(example), QStringLiteral("#")))
        return QStringLiteral("reads unlike %1: \"%2\" beside \"%3\"").arg(example).arg(text, like);
    if (table.language() == u"en") {
        // The nouns counted in this application's English texts.
        static const QRegularExpression singular(QStringLiteral("(?<![0-9])[0-9]+ (save|picture|item|video|file|tag|collection)(?![a-z])"));
        static const QRegularExpression plural(QStringLiteral("(?<![0-9])1 (save|picture|item|video|file|tag|collection)s(?![a-z])"));
        if (count == 1 ? text.contains(plural) : text.contains(singular))
            return QStringLiteral("the noun does not agree with the count: ") + text;
    }
    return std::nullopt;
}

}  // namespace sw::test
