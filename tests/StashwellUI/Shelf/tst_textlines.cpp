// Text cut to a number of lines: a long text is cut before it is laid out, and what shows must be
// what the whole text would show: at most the lines asked for, each within the width, the start of
// the text in order, and an ellipsis whenever more text follows (also when the text is made of
// characters without width, which the early cut cannot count on).

#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/TextLines.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QtTest>

using namespace sw;

namespace {

// The characters without the white space that line breaks take or give.
QString bare(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

}  // namespace

class TestTextLines : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { loadFonts(); }
    void cut_data();
    void cut();
    void sameAsTheWholeText_data();
    void sameAsTheWholeText();
    void boxSameAsTheWholeText_data();
    void boxSameAsTheWholeText();
    void styledTextFollowsEachChange();
};

void TestTextLines::cut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("moreFollows");

    const QString words = QStringLiteral("The harbour got its lighthouse back after forty years of dark nights. ").repeated(60);
    QTest::newRow("short, one line") << QStringLiteral("A few words") << 300.0 << 1 << false;
    QTest::newRow("short, two lines") << QStringLiteral("A few words") << 300.0 << 2 << false;
    QTest::newRow("long, one line") << words << 300.0 << 1 << true;
    QTest::newRow("long, two lines") << words << 240.0 << 2 << true;
    QTest::newRow("long, narrow") << words << 40.0 << 2 << true;
    QTest::newRow("long Japanese") << QStringLiteral("灯台が四十年ぶりに港へ戻ってきた。").repeated(80) << 260.0 << 2 << true;
    QTest::newRow("a second paragraph follows") << QStringLiteral("First line\nSecond line\nThird line") << 400.0 << 2 << true;
    QTest::newRow("characters without width")
        << (QStringLiteral("a") + QString(4000, QChar(0x0301)) + QStringLiteral(" and then the words go on and on ").repeated(30))
        << 200.0 << 1 << true;
    QTest::newRow("exactly at the cut") << QStringLiteral("x").repeated(300) << 100.0 << 1 << true;
}

void TestTextLines::cut()
{
    QFETCH(QString, text);
    QFETCH(double, width);
    QFETCH(int, lines);
    QFETCH(bool, moreFollows);
    const QFont font = Tokens::Typography::body.font();
    const QString shown = TextLines::visible(text, font, width, lines);
    const QStringList shownLines = shown.split(u'\n');
    QVERIFY(shownLines.size() <= lines);
    const QFontMetricsF metrics(font);
    for (const QString &line : shownLines)
        QVERIFY2(metrics.horizontalAdvance(line) <= width + 1, qPrintable(line));
    const bool ellipsis = shown.endsWith(QChar(0x2026));
    QCOMPARE(ellipsis, moreFollows);
    // What shows is the start of the text.
    QString start = bare(shown);
    if (ellipsis)
        start.chop(1);
    QVERIFY2(bare(text).startsWith(start), qPrintable(start));
    QCOMPARE(TextLines::count(text, font, width, lines), int(shownLines.size()));
}

// Whatever visible() leaves out of a long text, it shows what the whole text laid out shows:
// seeded texts of words, long runs without a break, CJK, emoji, accents, right-to-left words,
// direction marks and line feeds, at several widths and line counts.
void TestTextLines::sameAsTheWholeText_data()
{
    QTest::addColumn<QString>("pieces");   // separated by '|'
    QTest::newRow("words") << QStringLiteral("harbour |lighthouse |of |dark, |nights. |W |iiii ");
    QTest::newRow("words and line feeds") << QStringLiteral("harbour |of |W |iiii |\n|\n\n");
    QTest::newRow("long runs without a break") << (QStringLiteral("x").repeated(70) + QStringLiteral("|mmmmmmmmmm| "));
    QTest::newRow("CJK and emoji") << QStringLiteral("灯台が|四十年ぶりに|港へ。|\U0001F600|\U0001F3D6\uFE0F |ok ");
    QTest::newRow("accents") << QStringLiteral("e\u0301te\u0301 |ni\u0303o |a\u0308\u0301\u0323|Åsa ");
    QTest::newRow("right to left and marks") << QStringLiteral("مرحبا بالعالم |שלום |\u200F|abc |\u202Bx\u202C ");
    QTest::newRow("ellipses in the text") << QStringLiteral("wait\u2026 |so... |yes ");
}

void TestTextLines::sameAsTheWholeText()
{
    QFETCH(QString, pieces);
    const QStringList parts = pieces.split(u'|');
    const QFont font = Tokens::Typography::body.font();
    QRandomGenerator dice(quint32(qHash(pieces)));
    for (int round = 0; round < 60; ++round) {
        QString text;
        const int length = int(dice.bounded(700));
        while (text.size() < length)
            text += parts.at(qsizetype(dice.bounded(int(parts.size()))));
        for (const double width : {40.0, 131.5, 262.0, 400.0}) {
            for (int lines = 1; lines <= 3; ++lines)
                QVERIFY2(TextLines::visible(text, font, width, lines) == TextLines::visibleFromWhole(text, font, width, lines),
                         qPrintable(QStringLiteral("%1 at %2, %3 lines").arg(text).arg(width).arg(lines)));
        }
    }
}

// A box of wrapped lines (a text post's words in its thumbnail) shows what the whole text laid out
// shows, line by line, where inBox() laid out only a start: long seeded texts of the same pieces,
// and of a start with no direction of its own before right-to-left words. A long text of words is
// in fact cut.
void TestTextLines::boxSameAsTheWholeText_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("pieces");   // separated by '|'
    QTest::addColumn<bool>("cut");          // whether every text is laid out from a start only
    QTest::newRow("words") << QString() << QStringLiteral("harbour |lighthouse |of |dark, |nights. |W |iiii ") << true;
    QTest::newRow("words and line feeds") << QString() << QStringLiteral("harbour |of |W |iiii |\n|\n\n") << false;
    QTest::newRow("long runs without a break") << QString() << (QStringLiteral("x").repeated(70) + QStringLiteral("|mmmmmmmmmm| ")) << false;
    QTest::newRow("CJK and emoji") << QString() << QStringLiteral("灯台が|四十年ぶりに|港へ。|\U0001F600|\U0001F3D6\uFE0F |ok ") << false;
    QTest::newRow("accents") << QString() << QStringLiteral("e\u0301te\u0301 |ni\u0303o |a\u0308\u0301\u0323|Åsa ") << false;
    QTest::newRow("right to left and marks") << QString() << QStringLiteral("مرحبا بالعالم |שלום |\u200F|abc |\u202Bx\u202C ") << false;
    QTest::newRow("no direction before right to left") << QStringLiteral("1234, 5678. ").repeated(400)
                                                        << QStringLiteral("שלום |עולם ") << false;
    // A start of letters without width fills no line: the start cannot decide.
    QTest::newRow("characters without width") << (QStringLiteral("a") + QString(3000, QChar(0x0301)))
                                              << QStringLiteral("harbour |of |dark ") << false;
}

void TestTextLines::boxSameAsTheWholeText()
{
    QFETCH(QString, prefix);
    QFETCH(QString, pieces);
    QFETCH(bool, cut);
    const QStringList parts = pieces.split(u'|');
    const QFont font = Tokens::Typography::reading.font();
    QRandomGenerator dice(quint32(qHash(pieces)));
    for (int round = 0; round < 10; ++round) {
        QString text = prefix;
        const qsizetype length = prefix.size() + 3000 + qsizetype(dice.bounded(3000));
        while (text.size() < length)
            text += parts.at(qsizetype(dice.bounded(int(parts.size()))));
        for (const double width : {90.0, 238.5}) {
            for (const double height : {30.0, 134.0}) {
                const QString where = QStringLiteral("%1 at %2 x %3").arg(text.left(80)).arg(width).arg(height);
                const TextLines::InBox box = TextLines::inBox(text, font, width, height, 3);
                const TextLines::InBox whole = TextLines::inBoxFromWhole(text, font, width, height, 3);
                QVERIFY2(box.lines == whole.lines && box.lines > 0, qPrintable(where));
                for (int i = 0; i < box.lines; ++i) {
                    const QTextLine a = box.layout->lineAt(i);
                    const QTextLine b = whole.layout->lineAt(i);
                    QVERIFY2(a.textStart() == b.textStart() && a.textLength() == b.textLength(), qPrintable(where));
                    QVERIFY2(a.position() == b.position(), qPrintable(where));
                    // Where the line's first letter stands: the direction and the alignment.
                    QVERIFY2(qFuzzyCompare(1 + a.cursorToX(a.textStart()), 1 + b.cursorToX(b.textStart())), qPrintable(where));
                }
                if (cut)
                    QVERIFY2(box.layout->text().size() < text.size(), qPrintable(where));
            }
        }
    }
}

// A text widget keeps the lines it showed: whatever changes (its text, its style, its limit, the
// width asked), what it shows is what the text gives now, and a change back gives the old again.
void TestTextLines::styledTextFollowsEachChange()
{
    const QString longer = QStringLiteral("A saved post about the harbour at dawn, its boats and the gulls over the water");
    StyledText text(longer, Tokens::Typography::body, {});
    const auto expect = [&](double width) {
        const int lines = text.maximumLines() == StyledText::unlimited ? INT_MAX : text.maximumLines();
        return TextLines::visible(text.text(), text.typeStyle().font(), width, lines);
    };
    const std::vector<std::function<void()>> steps{
        [] {},
        [&] { text.setMaximumLines(2); },
        [&] { text.setTypeStyle(Tokens::Typography::title); },
        [&] { text.setText(QStringLiteral("Short")); },
        [&] { text.setText(longer); },
        [&] { text.setMaximumLines(StyledText::unlimited); },
        [&] { text.setTypeStyle(Tokens::Typography::body); },
    };
    for (size_t step = 0; step < steps.size(); ++step) {
        steps[step]();
        for (const double width : {90.0, 160.0, 90.0})
            QCOMPARE(text.shownText(width), expect(width));
    }
    QVERIFY(text.lineCount(90) > text.lineCount(400));
}

QTEST_MAIN(TestTextLines)
#include "tst_textlines.moc"
