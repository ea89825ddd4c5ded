#include "StashwellUI/Saves/AuthorLineView.h"
#include "FakePlayback.h"
#include "Gallery.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Playback/PlayerSheet.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Design/Tokens.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace sw;
using sw::test::FakeFactory;
using sw::test::FakePlayback;

namespace {

const QUrl clip = QUrl::fromLocalFile(QStringLiteral("/media/Stashwell/ann_1.mp4"));

Post post(const QString &text)
{
    Post p;
    p.link = PostLink::x(Handle{QStringLiteral("Ann")}, StatusID{QStringLiteral("1")});
    p.author = Author{QStringLiteral("Ann Lee"), Handle{QStringLiteral("Ann")}, std::nullopt};
    p.text = text;
    // 2024-03-05 12:00 UTC
    p.postedAt = Date::fromDateTime(QDateTime(QDate(2024, 3, 5), QTime(12, 0), QTimeZone::utc()));
    return p;
}

struct Rig {
    FakeFactory fakes;
    PlayerSheet sheet;
    QSignalSpy reveal{&sheet, &PlayerSheet::revealRequested};
    QSignalSpy open{&sheet, &PlayerSheet::openOriginalRequested};
    QSignalSpy close{&sheet, &PlayerSheet::closeRequested};

    explicit Rig(const QString &text = QStringLiteral("A video of the sea"))
        : sheet(clip, post(text))
    {
        sheet.player().setPlaybackFactory(fakes.factory());
    }
    void showFocused()
    {
        sheet.show();
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
    }
};

}  // namespace

class TestPlayerSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void escapeCloses_data();
    void escapeCloses();
    void buttonsAskTheirOwnThing_data();
    void buttonsAskTheirOwnThing();
    void playsAtOnceAndPausesWhenDismissed();
    void fixedWidthAndPlayerSize();
    void headerShowsAuthorAndDay();
    void textIsSelectable();

    void visibleText_data();
    void visibleText();
    void postedText_data();
    void postedText();

    void gallery();
};

void TestPlayerSheet::initTestCase()
{
    Tokens::Motion::setEnabled(false);
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
}

void TestPlayerSheet::escapeCloses_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("sheet") << "sheet";
    QTest::newRow("player") << "player";
    QTest::newRow("text") << "text";
    QTest::newRow("close button") << "close";
}

void TestPlayerSheet::escapeCloses()
{
    QFETCH(QString, focus);
    Rig rig;
    rig.showFocused();
    QWidget *target = focus == u"player" ? static_cast<QWidget *>(&rig.sheet.player())
                      : focus == u"text" ? static_cast<QWidget *>(&rig.sheet.textLabel())
                      : focus == u"close" ? static_cast<QWidget *>(&rig.sheet.closeButton())
                                          : static_cast<QWidget *>(&rig.sheet);
    target->setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &rig.sheet, Qt::Key_Escape);
    QCOMPARE(rig.close.count(), 1);
    QCOMPARE(rig.reveal.count(), 0);
    QCOMPARE(rig.open.count(), 0);
    // The sheet does not dismiss itself.
    QVERIFY(rig.sheet.isVisible());
}

void TestPlayerSheet::buttonsAskTheirOwnThing_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("label");
    QTest::newRow("reveal") << 0 << "folder" << StashwellUIStrings::playerShowInFileManager();
    QTest::newRow("open original") << 1 << "safari" << StashwellUIStrings::playerOpenOriginal();
    QTest::newRow("close") << 2 << "xmark" << StashwellUIStrings::playerClose();
}

void TestPlayerSheet::buttonsAskTheirOwnThing()
{
    QFETCH(int, button);
    QFETCH(QString, symbol);
    QFETCH(QString, label);
    Rig rig;
    rig.sheet.show();
    RoundIconButton *buttons[] = {&rig.sheet.revealButton(), &rig.sheet.openOriginalButton(), &rig.sheet.closeButton()};
    RoundIconButton &pressed = *buttons[button];
    QCOMPARE(pressed.symbol(), symbol);
    QCOMPARE(pressed.label(), label);
    QCOMPARE(pressed.toolTip(), label);
    QCOMPARE(pressed.diameter(), 32.0);
    QTest::mouseClick(&pressed, Qt::LeftButton, {}, pressed.rect().center());
    QCOMPARE(rig.reveal.count(), button == 0 ? 1 : 0);
    QCOMPARE(rig.open.count(), button == 1 ? 1 : 0);
    QCOMPARE(rig.close.count(), button == 2 ? 1 : 0);
    QVERIFY(rig.sheet.isVisible());
}

void TestPlayerSheet::playsAtOnceAndPausesWhenDismissed()
{
    Rig rig;
    QCOMPARE(rig.fakes.count(), 0);
    rig.sheet.show();
    QCOMPARE(rig.fakes.count(), 1);
    FakePlayback *playback = rig.fakes.last();
    QCOMPARE(playback->source(), clip);
    QVERIFY(playback->isPlaying());
    rig.sheet.hide();
    QVERIFY(!playback->isPlaying());
}

void TestPlayerSheet::fixedWidthAndPlayerSize()
{
    Rig rig;
    rig.sheet.resize(1400, 900);
    rig.sheet.show();
    QCoreApplication::processEvents();
    QCOMPARE(rig.sheet.width(), 940);
    QCOMPARE(rig.sheet.player().width(), 892);
    QCOMPARE(rig.sheet.player().height(), 506);
    QCOMPARE(rig.sheet.player().x(), 24);
}

void TestPlayerSheet::headerShowsAuthorAndDay()
{
    Rig rig;
    const AuthorLine &line = rig.sheet.authorLine().line();
    QCOMPARE(line.author().name, QStringLiteral("Ann Lee"));
    QCOMPARE(line.size(), 34.0);
    QVERIFY(line.detail().has_value());
    QCOMPARE(*line.detail(), PlayerSheet::postedText(post(QString()).postedAt, Formatting::interfaceLocale(),
                                                     QTimeZone::systemTimeZone()));
    QVERIFY(!line.detail()->contains(u':'));
}

void TestPlayerSheet::textIsSelectable()
{
    Rig rig(QStringLiteral("One\nTwo\nThree\nFour\nFive"));
    QLabel &text = rig.sheet.textLabel();
    QVERIFY(text.textInteractionFlags() & Qt::TextSelectableByMouse);
    QCOMPARE(text.text().count(u'\n'), 2);
    QVERIFY(text.text().startsWith(QStringLiteral("One\nTwo\nThree")));
    text.setSelection(0, 3);
    QCOMPARE(text.selectedText(), QStringLiteral("One"));
}

void TestPlayerSheet::visibleText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("cut");

    const QString sentence = QStringLiteral("The quick brown fox jumps over the lazy dog. ");
    QTest::newRow("empty") << QString() << 0 << false;
    QTest::newRow("one short line") << QStringLiteral("Hello") << 1 << false;
    QTest::newRow("three lines exactly") << QStringLiteral("a\nb\nc") << 3 << false;
    QTest::newRow("five lines") << QStringLiteral("a\nb\nc\nd\ne") << 3 << true;
    QTest::newRow("long paragraph") << sentence.repeated(40) << 3 << true;
    QTest::newRow("two lines then long") << QStringLiteral("a\nb\n") + sentence.repeated(10) << 3 << true;
    QTest::newRow("blank lines kept") << QStringLiteral("a\n\nc") << 3 << false;
}

void TestPlayerSheet::visibleText()
{
    QFETCH(QString, text);
    QFETCH(int, lines);
    QFETCH(bool, cut);
    const QFont font = Tokens::Typography::reading.font();
    const double width = 892;
    const QString shown = PlayerSheet::visibleText(text, font, width, 3);
    QCOMPARE(shown.isEmpty() ? 0 : int(shown.count(u'\n')) + 1, lines);
    QCOMPARE(shown.endsWith(QChar(0x2026)), cut);
    if (!cut)
        QCOMPARE(shown, text);
    const QFontMetricsF metrics(font);
    for (const QString &line : shown.split(u'\n'))
        QVERIFY2(metrics.horizontalAdvance(line) <= width + 0.5, qPrintable(line));
}

void TestPlayerSheet::postedText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("expected");

    const QDateTime noon(QDate(2024, 3, 5), QTime(12, 0), QTimeZone::utc());
    const QDateTime lateUtc(QDate(2024, 3, 5), QTime(22, 30), QTimeZone::utc());
    QTest::newRow("en_US") << "en_US" << QByteArray("UTC") << noon << "Mar 5, 2024";
    QTest::newRow("en_GB") << "en_GB" << QByteArray("UTC") << noon << "5 Mar 2024";
    QTest::newRow("ja") << "ja_JP" << QByteArray("UTC") << noon << "2024年3月5日";
    QTest::newRow("ko") << "ko_KR" << QByteArray("UTC") << noon << "2024년 3월 5일";
    QTest::newRow("zh_CN") << "zh_CN" << QByteArray("UTC") << noon << "2024年3月5日";
    QTest::newRow("next day in Tokyo") << "en_US" << QByteArray("Asia/Tokyo") << lateUtc << "Mar 6, 2024";
    QTest::newRow("same day in New York") << "en_US" << QByteArray("America/New_York") << lateUtc << "Mar 5, 2024";
}

void TestPlayerSheet::postedText()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, moment);
    QFETCH(QString, expected);
    const QTimeZone timeZone(zone);
    QVERIFY(timeZone.isValid());
    QCOMPARE(PlayerSheet::postedText(Date::fromDateTime(moment), QLocale(locale), timeZone), expected);
    const QString pattern = PlayerSheet::datePattern(QLocale(locale));
    QVERIFY(!pattern.contains(QStringLiteral("ddd")));
    QVERIFY(!pattern.contains(QStringLiteral("MMMM")));
}

void TestPlayerSheet::gallery()
{
    Rig rig(QStringLiteral("Sunrise over the harbour, filmed from the ferry on the way in.\nSecond line of the post."));
    rig.sheet.show();
    rig.fakes.last()->finishLoading(42'000);
    rig.fakes.last()->reachPosition(12'000);
    QString why;
    QVERIFY2(gallery::captureAndCheck(rig.sheet, QStringLiteral("player-sheet"), &why), qPrintable(why));
}

QTEST_MAIN(TestPlayerSheet)
#include "tst_playersheet.moc"
