#include "Capture/Text.h"

#include <QRandomGenerator>
#include <QTest>

using namespace sw;

class TestText : public QObject {
    Q_OBJECT
private slots:
    void canonicalEquivalence_data();
    void canonicalEquivalence();
    void fold_data();
    void fold();
    void foldByRuns();
    void foldEachCharacterInContext();
    void foldedContainsAgainstTheFold();
    void indexOfFindsWhatQtFinds();
    void whiteSpace_data();
    void whiteSpace();
    void trimming_data();
    void trimming();
    void lowercasing_data();
    void lowercasing();
};

void TestText::canonicalEquivalence_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same ASCII") << "jack" << "jack" << true;
    QTest::newRow("ASCII case differs") << "Jack" << "jack" << false;
    QTest::newRow("composed and decomposed") << QStringLiteral("caf\u00e9") << QStringLiteral("cafe\u0301") << true;
    QTest::newRow("Kelvin sign is K") << QStringLiteral("\u212a") << "K" << true;
    QTest::newRow("Angstrom sign is A ring") << QStringLiteral("\u212b") << QStringLiteral("\u00c5") << true;
    QTest::newRow("mark order") << QStringLiteral("a\u0323\u0302") << QStringLiteral("a\u0302\u0323") << true;
    QTest::newRow("other accent") << QStringLiteral("caf\u00e9") << QStringLiteral("caf\u00e8") << false;
    QTest::newRow("compatibility is not canonical") << QStringLiteral("\ufb01") << "fi" << false;
    QTest::newRow("full-width is not canonical") << QStringLiteral("\uff41") << "a" << false;
    QTest::newRow("empty") << QString() << QStringLiteral("") << true;
}

void TestText::canonicalEquivalence()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(text::canonicallyEqual(a, b), equal);
    QCOMPARE(text::canonicallyEqual(b, a), equal);
    if (equal) {
        QCOMPARE(text::canonicalHash(a, 7), text::canonicalHash(b, 7));
        QCOMPARE(text::canonical(a), text::canonical(b));
    }
}

void TestText::fold_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("case") << "Travel" << "TRAVEL" << true;
    QTest::newRow("diacritics") << QStringLiteral("Caf\u00e9") << "cafe" << true;
    QTest::newRow("decomposed diacritics") << QStringLiteral("cafe\u0301") << QStringLiteral("CAF\u00c9") << true;
    QTest::newRow("umlaut and case") << QStringLiteral("\u00dcBER") << "uber" << true;
    QTest::newRow("sharp s") << QStringLiteral("Stra\u00dfe") << "STRASSE" << true;
    QTest::newRow("ligature") << QStringLiteral("\ufb01le") << "FILE" << true;
    QTest::newRow("dotted capital I") << QStringLiteral("\u0130stanbul") << "istanbul" << true;
    QTest::newRow("final sigma") << QStringLiteral("\u039f\u03a3") << QStringLiteral("\u03bf\u03c2") << true;
    QTest::newRow("Japanese voiced mark") << QStringLiteral("\u30ac") << QStringLiteral("\u30ab") << true;
    QTest::newRow("different letters") << "cafe" << "cafes" << false;
    QTest::newRow("spaces count") << "a b" << "ab" << false;
    QTest::newRow("astral letters stay") << QStringLiteral("\U0001D400") << QStringLiteral("\U0001D401") << false;
}

void TestText::fold()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(text::foldedEqual(a, b), equal);
    QCOMPARE(text::fold(a) == text::fold(b), equal);
    // Folding is idempotent.
    QCOMPARE(text::fold(text::fold(a)), text::fold(a));
}

// Every hit, walked from the last one on as the search words' index walks them, in texts of few
// letters (hits close together, at the ends, overlapping) and of every length around the width
// looked at in one step.
void TestText::indexOfFindsWhatQtFinds()
{
    const QString letters = QStringLiteral("ab \u00e9\u6771");
    QRandomGenerator random(2026);
    for (int round = 0; round < 4000; ++round) {
        QString s;
        for (int i = random.bounded(40); i > 0; --i)
            s.append(letters.at(random.bounded(letters.size())));
        QString w;
        for (int i = 1 + random.bounded(4); i > 0; --i)
            w.append(letters.at(random.bounded(letters.size())));
        qsizetype from = random.bounded(3) == 0 ? random.bounded(int(s.size()) + 1) : 0;
        for (;;) {
            const qsizetype expected = QStringView(s).indexOf(w, from);
            QVERIFY2(text::indexOf(s, w, from) == expected, qPrintable(s + QStringLiteral(" / ") + w));
            if (expected < 0)
                break;
            from = expected + 1;
        }
    }
}

void TestText::whiteSpace_data()
{
    QTest::addColumn<uint>("character");
    QTest::addColumn<bool>("isWhite");
    for (uint c : {0x09u, 0x0Au, 0x0Bu, 0x0Cu, 0x0Du, 0x20u, 0x85u, 0xA0u, 0x1680u, 0x2000u, 0x2005u, 0x200Au,
                   0x2028u, 0x2029u, 0x202Fu, 0x205Fu, 0x3000u})
        QTest::addRow("U+%04X", c) << c << true;
    for (uint c : {0x08u, 0x1Fu, 0x41u, 0x180Eu, 0x200Bu, 0x200Du, 0x2060u, 0xFEFFu, 0x1F600u})
        QTest::addRow("U+%04X", c) << c << false;
}

void TestText::whiteSpace()
{
    QFETCH(uint, character);
    QFETCH(bool, isWhite);
    QCOMPARE(text::isWhiteSpace(char32_t(character)), isWhite);
    const QString inside = u'a' + QString::fromUcs4(reinterpret_cast<const char32_t *>(&character), 1) + u'b';
    QCOMPARE(text::containsWhiteSpace(inside), isWhite);
}

void TestText::trimming_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("nothing to trim") << "a b" << "a b";
    QTest::newRow("ASCII ends") << " \t\r\n a b \n" << "a b";
    QTest::newRow("Unicode ends") << QStringLiteral("\u3000\u00a0x\u2029\u0085") << "x";
    QTest::newRow("only white space") << QStringLiteral(" \u2003\n") << "";
    QTest::newRow("zero-width space is kept") << QStringLiteral("\u200bx") << QStringLiteral("\u200bx");
    QTest::newRow("empty") << "" << "";
}

void TestText::trimming()
{
    QFETCH(QString, input);
    QFETCH(QString, trimmed);
    QCOMPARE(text::trimmed(input), trimmed);
    QCOMPARE(text::trimmedView(input).toString(), trimmed);
}

void TestText::lowercasing_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("lower");
    QTest::newRow("ASCII") << "JackDorsey" << "jackdorsey";
    QTest::newRow("Greek") << QStringLiteral("\u0391\u0392") << QStringLiteral("\u03b1\u03b2");
    QTest::newRow("dotted capital I expands") << QStringLiteral("\u0130") << QStringLiteral("i\u0307");
}

void TestText::lowercasing()
{
    QFETCH(QString, input);
    QFETCH(QString, lower);
    QCOMPARE(text::lowercased(input), lower);
}

namespace {
// The fold taken over the whole text at once, as it is defined.
QString referenceFold(const QString &s)
{
    const QString decomposed = s.normalized(QString::NormalizationForm_D);
    QString out;
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        char32_t c = decomposed.at(i).unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < decomposed.size() && decomposed.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(decomposed.at(i), decomposed.at(i + 1));
            width = 2;
        }
        const auto category = QChar::category(c);
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining
            && category != QChar::Mark_Enclosing)
            out.append(decomposed.constData() + i, width);
        i += width - 1;
    }
    out = out.toCaseFolded();
    out.replace(QChar(0x00DF), QStringLiteral("ss")).replace(QChar(0x1E9E), QStringLiteral("ss"));
    out.replace(QChar(0xFB00), QStringLiteral("ff")).replace(QChar(0xFB01), QStringLiteral("fi"));
    out.replace(QChar(0xFB02), QStringLiteral("fl")).replace(QChar(0xFB03), QStringLiteral("ffi"));
    out.replace(QChar(0xFB04), QStringLiteral("ffl")).replace(QChar(0xFB05), QStringLiteral("st"));
    out.replace(QChar(0xFB06), QStringLiteral("st"));
    return out.normalized(QString::NormalizationForm_C);
}
}  // namespace

// The fold works run by run (ASCII, then the rest); on random mixtures of letters that
// decompose, marks that attach across the runs' borders, jamo that compose, letters that fold to
// several, and characters outside the basic plane, it gives what folding the whole text gives.
void TestText::foldByRuns()
{
    const QList<char32_t> pool{
        'a', 'Z', 'e', 'K', 's', 'i', '0', ' ', '-', '#', 0x00E9, 0x00C9, 0x00DC, 0x00DF, 0x1E9E, 0x0301, 0x0308,
        0x0327, 0x20DD, 0x0345, 0x212A, 0x212B, 0x0130, 0x0131, 0x03A3, 0x03C3, 0x03C2, 0x0390, 0x1F80, 0xFB01,
        0xFB03, 0xFB06, 0x1100, 0x1161, 0x11A8, 0xAC00, 0xAC01, 0x0BC6, 0x0BBE, 0x0DD9, 0x0DCF, 0x0915, 0x093F,
        0x0416, 0x0436, 0x6771, 0x30AB, 0x3099, 0x304B, 0x1F600, 0x1D400, 0x10400, 0xFF21, 0x00A0, 0x2000};
    QRandomGenerator random(611);
    for (int round = 0; round < 20000; ++round) {
        QString s;
        const int length = random.bounded(16);
        for (int i = 0; i < length; ++i) {
            const char32_t c = pool.at(random.bounded(pool.size()));
            s.append(QString::fromUcs4(&c, 1));
        }
        const QString expected = referenceFold(s);
        QVERIFY2(text::fold(s) == expected, qPrintable(s + QStringLiteral(" -> ") + text::fold(s) + QStringLiteral(" / ") + expected));
    }
}

// Every character of the basic plane, folded once on its own (and remembered), then between ASCII
// and other letters, at either end and twice: what folding the whole text gives.
void TestText::foldEachCharacterInContext()
{
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const QString one{QChar(char16_t(c))};
        const QString s = one + QStringLiteral("x") + one + QStringLiteral("\u00e9") + one + one + QStringLiteral("Y\u6771") + one;
        QCOMPARE(text::fold(one), referenceFold(one));
        const QString folded = text::fold(s);
        if (folded != referenceFold(s))
            QFAIL(qPrintable(QStringLiteral("U+%1 -> %2 / %3").arg(quint32(c), 4, 16, QLatin1Char('0')).arg(folded, referenceFold(s))));
    }
}

// Random texts of ASCII and other letters (marks across the runs' borders, letters that fold to
// several or to nothing, jamo, characters outside the basic plane) and words cut from their folds
// or made up: found exactly when the fold of the whole text holds them.
void TestText::foldedContainsAgainstTheFold()
{
    const QList<char32_t> pool{
        'a', 'B', 'e', 'K', 's', 'S', 't', 'f', 'i', '0', ' ', '-', 0x00E9, 0x00C9, 0x00DF, 0x1E9E, 0x0301,
        0x0308, 0x0345, 0x212A, 0x0130, 0x03A3, 0x03C2, 0xFB01, 0xFB03, 0x1100, 0x1161, 0x11A8, 0xAC00, 0x0BC6,
        0x0BBE, 0x6771, 0x4EAC, 0x30AB, 0x3099, 0x1F600, 0x10400, 0xFF21, 0x2728};
    QRandomGenerator random(3001);
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        QString s;
        const int length = random.bounded(24);
        for (int i = 0; i < length; ++i) {
            const char32_t c = pool.at(random.bounded(pool.size()));
            s.append(QString::fromUcs4(&c, 1));
        }
        const QString folded = referenceFold(s);
        QString word;
        if (!folded.isEmpty() && random.bounded(3) > 0) {
            const qsizetype at = random.bounded(folded.size());
            word = folded.mid(at, 1 + random.bounded(std::min<qsizetype>(6, folded.size() - at)));
        } else {
            for (int i = 1 + random.bounded(4); i > 0; --i) {
                const char32_t c = pool.at(random.bounded(pool.size()));
                word.append(QString::fromUcs4(&c, 1));
            }
            word = referenceFold(word);
        }
        const bool expected = folded.contains(word);
        found += expected;
        QVERIFY2(text::foldedContains(s, word) == expected, qPrintable(s + QStringLiteral(" / ") + word));
    }
    QVERIFY(found > 10000);   // most words were cut from the texts
}

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
