#include "StringTableCheck.h"

namespace sw::test {

QStringList stringTableProblems(StringTable &table)
{
    QStringList problems;
    const QString before = table.language();
    for (const QString &language : StringTable::languages()) {
        if (!table.loadLanguage(language)) {
            problems << QStringLiteral("%1: the translations cannot be loaded").arg(language);
            continue;
        }
        for (const StringKey &key : table.keys()) {
            const auto text = table.find(key.key);
            if (!text) {
                problems << QStringLiteral("%1: \"%2\" has no text").arg(language, QString::fromUtf8(key.key));
                continue;
            }
            QList<int> expected;
            for (int i = 1; i <= key.arguments; ++i)
                expected << i;
            const QList<int> found = StringTable::placeholders(*text);
            if (found != expected) {
                QStringList names;
                for (int n : found)
                    names << u'%' + QString::number(n);
                problems << QStringLiteral("%1: \"%2\" uses the placeholders [%3] instead of %4 argument(s): %5")
                                .arg(language, QString::fromUtf8(key.key), names.join(u' '),
                                     QString::number(key.arguments), *text);
            }
        }
    }
    if (!before.isEmpty())
        table.loadLanguage(before);
    return problems;
}

}  // namespace sw::test
