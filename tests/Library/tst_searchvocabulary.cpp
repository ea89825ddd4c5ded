// The index of search words: each query word finds exactly the texts (of those this test indexed)
// one of whose words contains it: whether a few words list them or a good part of the whole index
// (which is then marked on several threads); before its lists are packed, after, and with texts
// indexed after a packing; whether a word's entries are packed as a bitmap or as gaps of one, two
// or three bytes; and when a word holds one asked for before (a search typed a letter at a time),
// before and after more words were added; and when it was asked for just before, before and after
// more texts were indexed.

#include "Library/SearchVocabulary.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <thread>
#include <utility>
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
    void initTestCase();
    // First, while nothing is packed: most texts listed under a letter or two.
    void textsFoundAreThoseHoldingTheWord_data();
    void textsFoundAreThoseHoldingTheWord();
    void findsWhatTheTextsHold_data();
    void findsWhatTheTextsHold();
    void lettersPreparedWhileSearched();

private:
    // Texts of random short words over a few letters, so that a letter or two are in most of them.
    QStringList m_texts;
    std::vector<std::uint32_t> m_entries;
};

void TestSearchVocabulary::initTestCase()
{
    QRandomGenerator random(7);
    const QString letters = QStringLiteral("abch\u00e9\u6771");
    for (int t = 0; t < 40000; ++t) {
        QStringList words;
        for (int w = 0; w < 40; ++w) {
            QString word;
            for (int c = 2 + random.bounded(5); c > 0; --c)
                word += letters.at(random.bounded(letters.size()));
            words.append(word);
        }
        m_texts.append(words.join(u' '));
        m_entries.push_back(SearchVocabulary::shared().index(m_texts.last()));
    }
}

void TestSearchVocabulary::textsFoundAreThoseHoldingTheWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("one letter, in most texts") << "a";
    QTest::newRow("another") << "h";
    QTest::newRow("two letters") << "ab";
    QTest::newRow("three letters") << "abc";
    QTest::newRow("four letters") << "abch";
    QTest::newRow("an accented letter") << QStringLiteral("\u00e9");
    QTest::newRow("a CJK letter after another") << QStringLiteral("a\u6771");
    QTest::newRow("a whole word's length") << "abcha\u00e9";
    QTest::newRow("in no text") << "zz";
}

void TestSearchVocabulary::textsFoundAreThoseHoldingTheWord()
{
    QFETCH(QString, word);
    const SearchVocabulary::Entries found = SearchVocabulary::shared().containing(word);
    int holding = 0;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const bool holds = m_texts.at(qsizetype(i)).contains(word);
        holding += holds;
        QVERIFY2(found.contains(m_entries[i]) == holds, qPrintable(m_texts.at(qsizetype(i))));
    }
    // The rows look at both a word in few texts and one in most.
    if (word.size() == 1)
        QVERIFY(holding > 20000);
}

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
    // The queries are asked in turn, then back again at the next step: the last few asked are
    // asked again first, after the texts indexed in between (as a search erased after an edit).
    bool backwards = false;
    const auto sameAsScanned = [&](const char *when) {
        QStringList inTurn = queries;
        if (std::exchange(backwards, !backwards))
            std::reverse(inTurn.begin(), inTurn.end());
        for (const QString &query : std::as_const(inTurn)) {
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
    vocabulary.prepareLetters();
    QVERIFY(sameAsScanned("packed"));
    // Texts indexed after the packing are listed beside it, for words old and new.
    indexMore(texts / 3 + 1, QStringLiteral("b"));
    QVERIFY(sameAsScanned("listed after packing"));
    vocabulary.compact();
    QVERIFY(sameAsScanned("packed again"));
    // Packing changes nothing when nothing was listed since.
    vocabulary.compact();
    QVERIFY(sameAsScanned("packed twice"));
    // Texts indexed between the turns of a packing, for words old and new, stay listed beside it.
    int turns = 0;
    vocabulary.compact([&] {
        ++turns;
        indexMore(2, QStringLiteral("c%1").arg(turns));
    });
    QVERIFY(turns > 1);
    QVERIFY(sameAsScanned("indexed while packing"));
}

// The letters prepared on another thread while searches go on, for those letters and for longer
// words: each search still finds exactly the texts holding its word.
void TestSearchVocabulary::lettersPreparedWhileSearched()
{
    SearchVocabulary &vocabulary = SearchVocabulary::shared();
    std::atomic<bool> done{false};
    std::thread preparing([&] {
        vocabulary.prepareLetters();
        done = true;
    });
    const QStringList words{"a", "h", "ab", QStringLiteral("\u00e9"), "b", "ch"};
    int searches = 0;
    int wrong = 0;
    // Rounds while the letters are prepared, and a last one once they all are.
    for (bool last = false; !last;) {
        last = done;
        for (const QString &word : words) {
            const SearchVocabulary::Entries found = vocabulary.containing(word);
            ++searches;
            for (std::size_t i = 0; i < m_entries.size(); ++i)
                wrong += found.contains(m_entries[i]) != m_texts.at(qsizetype(i)).contains(word);
        }
    }
    preparing.join();
    QCOMPARE(wrong, 0);
    QVERIFY(searches >= int(words.size()));
}

QTEST_APPLESS_MAIN(TestSearchVocabulary)
#include "tst_searchvocabulary.moc"
