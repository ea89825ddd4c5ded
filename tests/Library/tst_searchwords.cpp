// The shared index of the library's words: the texts found for a query word are exactly those
// whose words hold it, whether a few words list them or a good part of the whole index (which is
// then marked on several threads).

#include "Library/SearchVocabulary.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

using namespace sw;

class TestSearchWords : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void textsFoundAreThoseHoldingTheWord_data();
    void textsFoundAreThoseHoldingTheWord();

private:
    // Texts of random short words over a few letters, so that a letter or two are in most of them.
    QStringList m_texts;
    std::vector<std::uint32_t> m_entries;
};

void TestSearchWords::initTestCase()
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

void TestSearchWords::textsFoundAreThoseHoldingTheWord_data()
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

void TestSearchWords::textsFoundAreThoseHoldingTheWord()
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

QTEST_GUILESS_MAIN(TestSearchWords)
#include "tst_searchwords.moc"
