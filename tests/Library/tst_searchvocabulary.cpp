// The index of search words: each query word finds exactly the texts (of those this test indexed)
// one of whose words contains it, before its lists are packed, after, and with texts indexed
// after a packing; whether a word's entries are packed as a bitmap or as gaps of one, two or
// three bytes.

#include "Library/SearchVocabulary.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <map>
#include <set>
#include <vector>

using namespace sw;

namespace {
struct Indexed {
    std::uint32_t entry;
    QStringList words;
};

// The entries of the texts indexed here whose words contain `query`, looked for the slow way.
std::set<std::uint32_t> scanned(const std::vector<Indexed> &texts, const QString &query)
{
    std::set<std::uint32_t> found;
    for (const Indexed &text : texts)
        for (const QString &word : text.words)
            if (word.contains(query))
                found.insert(text.entry);
    return found;
}

std::set<std::uint32_t> throughIndex(const std::vector<Indexed> &texts, const QString &query)
{
    const SearchVocabulary::Entries entries = SearchVocabulary::shared().containing(query);
    std::set<std::uint32_t> found;
    for (const Indexed &text : texts)
        if (entries.contains(text.entry))
            found.insert(text.entry);
    return found;
}
}  // namespace

class TestSearchVocabulary : public QObject {
    Q_OBJECT
private slots:
    void findsWhatTheTextsHold_data();
    void findsWhatTheTextsHold();
};

void TestSearchVocabulary::findsWhatTheTextsHold_data()
{
    QTest::addColumn<int>("texts");
    QTest::addColumn<int>("commonEvery");   // a text holds the common words every n-th time
    QTest::addColumn<int>("rareEvery");     // and a rare word every n-th time
    QTest::newRow("one text") << 1 << 1 << 1;
    QTest::newRow("common words in every text: bitmaps") << 3000 << 1 << 500;
    QTest::newRow("common words in every other text") << 3000 << 2 << 700;
    QTest::newRow("rare words 200 texts apart: two-byte gaps") << 5000 << 3 << 200;
    QTest::newRow("rare words 20,000 texts apart: three-byte gaps") << 45000 << 40 << 20000;
}

void TestSearchVocabulary::findsWhatTheTextsHold()
{
    QFETCH(int, texts);
    QFETCH(int, commonEvery);
    QFETCH(int, rareEvery);
    SearchVocabulary &vocabulary = SearchVocabulary::shared();
    const QStringList common{QStringLiteral("volcano"), QStringLiteral("caf\u00e9"), QStringLiteral("river"),
                             QStringLiteral("\u6771\u4eac")};
    QRandomGenerator random(20261208u + quint32(texts));
    std::vector<Indexed> indexed;
    const auto indexMore = [&](int count, const QString &tag) {
        for (int i = 0; i < count; ++i) {
            QStringList words;
            if (i % commonEvery == 0)
                words += common;
            if (i % rareEvery == 0)
                words.append(QStringLiteral("rare%1").arg(tag));
            // A word of this text alone, and one repeated within it.
            words.append(QStringLiteral("own%1x%2").arg(tag).arg(i));
            words.append(common.at(random.bounded(common.size())));
            const QString text = words.join(random.bounded(2) ? QStringLiteral(" ") : QStringLiteral("\n\t "));
            indexed.push_back(Indexed{vocabulary.index(text), words});
        }
    };
    const QStringList queries{QStringLiteral("volcano"), QStringLiteral("olc"), QStringLiteral("caf\u00e9"),
                              QStringLiteral("r"),       QStringLiteral("ver"), QStringLiteral("\u4eac"),
                              QStringLiteral("rarea"),   QStringLiteral("rareb"), QStringLiteral("rare"),
                              QStringLiteral("own"),     QStringLiteral("x1"),  QStringLiteral("a7x12"),
                              QStringLiteral("nowhere")};
    const auto sameAsScanned = [&](const char *when) {
        for (const QString &query : queries) {
            const std::set<std::uint32_t> expected = scanned(indexed, query);
            if (throughIndex(indexed, query) != expected) {
                qWarning() << when << query << expected.size();
                return false;
            }
        }
        return true;
    };

    indexMore(texts, QStringLiteral("a"));
    QVERIFY(sameAsScanned("listed"));
    vocabulary.compact();
    QVERIFY(sameAsScanned("packed"));
    // Texts indexed after the packing are listed beside it, for words old and new.
    indexMore(texts / 3 + 1, QStringLiteral("b"));
    QVERIFY(sameAsScanned("listed after packing"));
    vocabulary.compact();
    QVERIFY(sameAsScanned("packed again"));
    // Packing changes nothing when nothing was listed since.
    vocabulary.compact();
    QVERIFY(sameAsScanned("packed twice"));
}

QTEST_APPLESS_MAIN(TestSearchVocabulary)
#include "tst_searchvocabulary.moc"
