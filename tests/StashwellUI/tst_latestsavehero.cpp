#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Design/Formatting.h"
#include "Gallery.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Saves/LatestSaveHero.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Controls/Pressable.h"
#include "SaveFixtures.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Tokens.h"

#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::viewfixtures;

Q_DECLARE_METATYPE(sw::Post)
Q_DECLARE_METATYPE(sw::PostLink)
Q_DECLARE_METATYPE(sw::LocalCopy)

namespace {

const QString dot = QStringLiteral(" \u00B7 ");

Save videoSave(double savedAt = 1000)
{
    return save(1, post(xLink(QStringLiteral("Ann"), QStringLiteral("42")), {video(75)},
                        QStringLiteral("Sunrise over the harbour\nfilmed from the ferry")),
                savedAt);
}

}  // namespace

class TestLatestSaveHero : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void titleIsTheFirstLine_data();
    void titleIsTheFirstLine();
    void handleFollowsTheAuthorLine_data();
    void handleFollowsTheAuthorLine();
    void mediaText_data();
    void mediaText();
    void ageText_data();
    void ageText();
    void addressDropsOnlyALeadingHttps_data();
    void addressDropsOnlyALeadingHttps();

    void summaryGivesWayAddressFirst_data();
    void summaryGivesWayAddressFirst();
    void narrowHeroKeepsTheAge();

    void showsItsTexts();
    void titleAndThumbnailSelect_data();
    void titleAndThumbnailSelect();
    void pillReportsTheAction_data();
    void pillReportsTheAction();
    void newMomentChangesOnlyTheAge();
    void thumbnailNeverPages();
    void shadowRoomAroundTheCard();
    void gallery();
};

void TestLatestSaveHero::initTestCase()
{
    Tokens::Motion::setEnabled(false);
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
}

void TestLatestSaveHero::titleIsTheFirstLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("two lines") << "First line\nSecond line" << "First line";
    QTest::newRow("no line feed") << "A single long paragraph that wraps" << "A single long paragraph that wraps";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("starts with a line feed") << "\nafter" << "";
    QTest::newRow("carriage return is not a break") << "a\rb\nc" << "a\rb";
}

void TestLatestSaveHero::titleIsTheFirstLine()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QCOMPARE(LatestSaveHero::titleText(post(xLink(QStringLiteral("a"), QStringLiteral("1")), {}, text)), title);
}

void TestLatestSaveHero::handleFollowsTheAuthorLine_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("shown");
    QTest::newRow("X handle") << "Ann" << "@Ann";
    QTest::newRow("case kept") << "ANN_lee" << "@ANN_lee";
    QTest::newRow("web host") << "news.example.com" << "news.example.com";
    QTest::newRow("full stop first") << ".hidden" << ".hidden";
    QTest::newRow("empty") << "" << "@";
}

void TestLatestSaveHero::handleFollowsTheAuthorLine()
{
    QFETCH(QString, handle);
    QFETCH(QString, shown);
    QCOMPARE(LatestSaveHero::handleText(Author{QStringLiteral("Name"), Handle{handle}, std::nullopt}), shown);
}

void TestLatestSaveHero::mediaText_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<QString>("text");
    const PostLink x = xLink(QStringLiteral("a"), QStringLiteral("1"));
    QTest::newRow("video") << post(x, {video(75.9)}) << StashwellUIStrings::mediaVideoLength(QStringLiteral("1:15"));
    QTest::newRow("first video, not the longer") << post(x, {video(30), video(600)})
                                                 << StashwellUIStrings::mediaVideoLength(QStringLiteral("0:30"));
    QTest::newRow("video after an image") << post(x, {image(), video(61)})
                                          << StashwellUIStrings::mediaVideoLength(QStringLiteral("1:01"));
    QTest::newRow("an hour not carried") << post(x, {video(3600)})
                                         << StashwellUIStrings::mediaVideoLength(QStringLiteral("60:00"));
    QTest::newRow("one image") << post(x, {image()}) << StashwellUIStrings::mediaImageOne(1);
    QTest::newRow("three images") << post(x, {image(), image(), image()}) << StashwellUIStrings::mediaImageMany(3);
    QTest::newRow("text") << post(x) << StashwellUIStrings::mediaText();
    QTest::newRow("page") << post(webLink(QStringLiteral("https://news.example.com/a")), {page()})
                          << StashwellUIStrings::mediaLink();
    QTest::newRow("page with a video") << post(x, {video(10), page()}) << StashwellUIStrings::mediaLink();
}

void TestLatestSaveHero::mediaText()
{
    QFETCH(Post, post);
    QFETCH(QString, text);
    QCOMPARE(LatestSaveHero::mediaText(post), text);
}

void TestLatestSaveHero::ageText_data()
{
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 s") << 0.0 << StashwellUIStrings::shelfSavedJustNow();
    QTest::newRow("59 s") << 59.0 << StashwellUIStrings::shelfSavedJustNow();
    QTest::newRow("59.9 s") << 59.9 << StashwellUIStrings::shelfSavedJustNow();
    QTest::newRow("60 s") << 60.0 << StashwellUIStrings::shelfSavedAgo(Formatting::ago(Date{0}, Date{60}));
    QTest::newRow("3 hours") << 10800.0 << StashwellUIStrings::shelfSavedAgo(Formatting::ago(Date{0}, Date{10800}));
    QTest::newRow("saved after now") << -500.0 << StashwellUIStrings::shelfSavedJustNow();
}

void TestLatestSaveHero::ageText()
{
    QFETCH(double, elapsed);
    QFETCH(QString, text);
    QCOMPARE(LatestSaveHero::ageText(Date{0}, Date{elapsed}), text);
    QVERIFY(!text.isEmpty());
}

void TestLatestSaveHero::addressDropsOnlyALeadingHttps_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<QString>("address");
    QTest::newRow("X status") << xLink(QStringLiteral("Ann"), QStringLiteral("42")) << "x.com/ann/status/42";
    QTest::newRow("web https") << webLink(QStringLiteral("https://news.example.com/a?b=1")) << "news.example.com/a?b=1";
    QTest::newRow("web http keeps its scheme") << webLink(QStringLiteral("http://news.example.com/a"))
                                               << "http://news.example.com/a";
    QTest::newRow("https inside stays") << webLink(QStringLiteral("https://example.com/to/https://b.example"))
                                        << "example.com/to/https://b.example";
    QTest::newRow("http with https inside") << webLink(QStringLiteral("http://example.com/to/https://b.example"))
                                            << "http://example.com/to/https://b.example";
}

void TestLatestSaveHero::addressDropsOnlyALeadingHttps()
{
    QFETCH(PostLink, link);
    QFETCH(QString, address);
    QCOMPARE(LatestSaveHero::addressText(link), address);
}

void TestLatestSaveHero::summaryGivesWayAddressFirst_data()
{
    // The width given as the width of a text of the summary's own parts.
    QTest::addColumn<QString>("room");
    QTest::addColumn<QString>("shown");
    const QString media = QStringLiteral("Video 1:15");
    const QString age = QStringLiteral("Saved 2 hr ago");
    const QString address = QStringLiteral("x.com/alannaharbour/status/1234567890");
    const QString lead = media + dot + age + dot;
    const QString ellipsis(QChar(0x2026));
    QTest::newRow("all of it") << lead + address << lead + address;
    QTest::newRow("address cut") << lead + QStringLiteral("x.com/alanna") + ellipsis << lead + QStringLiteral("x.com/alanna") + ellipsis;
    QTest::newRow("too little of the address: left out") << lead + QStringLiteral("x.co") + ellipsis
                                                         << media + dot + age;
    QTest::newRow("age cut") << media + dot + QStringLiteral("Saved 2") + ellipsis
                             << media + dot + QStringLiteral("Saved 2") + ellipsis;
}

void TestLatestSaveHero::summaryGivesWayAddressFirst()
{
    QFETCH(QString, room);
    QFETCH(QString, shown);
    const QFontMetricsF metrics(Tokens::Typography::mono.font());
    // Half a pixel over: the ellipsis' own rounding.
    const double width = metrics.horizontalAdvance(room) + 0.5;
    const QString fitted = LatestSaveHero::fittedSummary(QStringLiteral("Video 1:15"), QStringLiteral("Saved 2 hr ago"),
                                                         QStringLiteral("x.com/alannaharbour/status/1234567890"),
                                                         metrics, width);
    QCOMPARE(fitted, shown);
    QVERIFY(metrics.horizontalAdvance(fitted) <= width);
}

void TestLatestSaveHero::narrowHeroKeepsTheAge()
{
    // A hero narrowing beside an open inspector: the pill narrows first, then the address gives
    // way (cut, then left out) while the age stays whole; the age is cut only once no address is
    // left.
    const Save long_ = save(1, post(xLink(QStringLiteral("alannaharbourwatch"), QStringLiteral("1234567890123")),
                                    {video(75)}, QStringLiteral("Sunrise")),
                            1000);
    LatestSaveHero hero(item(long_), Date{1000 + 7200});
    const QString age = LatestSaveHero::ageText(Date{1000}, Date{1000 + 7200});
    const QString address = QStringLiteral("x.com/");
    hero.show();
    bool addressCut = false;
    bool addressLeftOut = false;
    bool ageCut = false;
    for (int width = 1200; width >= 560; width -= 10) {
        hero.resize(width, hero.sizeHint().height());
        QCoreApplication::processEvents();
        const QString visible = hero.visibleSummary();
        const QString why = QStringLiteral("%1: %2").arg(width).arg(visible);
        const int pill = hero.actionPill().width();
        QVERIFY2(pill >= 140 && pill <= 220, qPrintable(why));
        if (visible == hero.shownSummary())
            continue;
        QVERIFY2(pill == 140, qPrintable(why));
        if (visible.contains(age)) {
            QVERIFY2(!ageCut, qPrintable(why));
            (visible.contains(address) ? addressCut : addressLeftOut) = true;
        } else {
            ageCut = true;
            QVERIFY2(!visible.contains(address), qPrintable(why));
            // The thumbnail gave what it could first.
            QVERIFY2(hero.thumbnail().width() <= LatestSaveHero::kThumbnailLeast, qPrintable(why));
        }
    }
    QVERIFY(addressCut);
    QVERIFY(addressLeftOut);
}

void TestLatestSaveHero::showsItsTexts()
{
    const ShelfItem shown = item(videoSave(1000));
    LatestSaveHero hero(shown, Date{1000 + 7200});
    QCOMPARE(hero.eyebrow().text(), StashwellUIStrings::shelfLatestSave());
    QCOMPARE(hero.titleButton().accessibleText(), QStringLiteral("Sunrise over the harbour"));
    QCOMPARE(hero.shownAuthorText(), QStringLiteral("Ann Lee") + dot + QStringLiteral("@Ann"));
    QCOMPARE(hero.shownSummary(), StashwellUIStrings::mediaVideoLength(QStringLiteral("1:15")) + dot +
                                      StashwellUIStrings::shelfSavedAgo(Formatting::ago(Date{1000}, Date{8200})) + dot +
                                      QStringLiteral("x.com/ann/status/42"));
    QCOMPARE(hero.shownSummary(), LatestSaveHero::summaryText(shown, Date{8200}));
    QCOMPARE(hero.thumbnailButton().accessibleText(), StashwellUIStrings::shelfShowDetails());

    // A web save shows its host without "@".
    const Save web = save(2, post(webLink(QStringLiteral("https://news.example.com/story")), {page()},
                                  QStringLiteral("Story"), QStringLiteral("News")));
    LatestSaveHero webHero(item(web), Date{0});
    QCOMPARE(webHero.shownAuthorText(), QStringLiteral("News") + dot + QStringLiteral("news.example.com"));
    QVERIFY(webHero.shownSummary().endsWith(dot + QStringLiteral("news.example.com/story")));
}

void TestLatestSaveHero::titleAndThumbnailSelect_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("plain") << Qt::KeyboardModifiers();
    QTest::newRow("ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void TestLatestSaveHero::titleAndThumbnailSelect()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    LatestSaveHero hero(item(videoSave()), Date{2000});
    hero.resize(900, hero.sizeHint().height());
    hero.show();
    QList<SaveIntent> raised;
    connect(&hero, &LatestSaveHero::intentRaised, this, [&raised](const SaveIntent &intent) { raised.append(intent); });
    QTest::mouseClick(&hero.titleButton(), Qt::LeftButton, modifiers, QPoint(5, 5));
    // A press on the thumbnail (the frame takes it, not the picture).
    const QPoint centre = hero.thumbnail().mapTo(&hero.thumbnailButton(), hero.thumbnail().rect().center());
    QTest::mouseClick(&hero.thumbnailButton(), Qt::LeftButton, modifiers, centre);
    // Each select carries the modifiers of its own click.
    QCOMPARE(raised, (QList<SaveIntent>{SaveIntent::select(modifiers), SaveIntent::select(modifiers)}));
}

void TestLatestSaveHero::pillReportsTheAction_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<bool>("reports");
    QTest::newRow("download") << LocalCopy::linkOnly() << true;
    QTest::newRow("play") << LocalCopy::onThisComputer({LocalFile{QStringLiteral("ann_42.mp4"), 900}}) << true;
    QTest::newRow("retry") << LocalCopy::failed(DownloadFailure{}) << true;
    QTest::newRow("running download") << LocalCopy::downloading(10, 100) << false;
}

void TestLatestSaveHero::pillReportsTheAction()
{
    QFETCH(LocalCopy, copy);
    QFETCH(bool, reports);
    const ShelfItem shown = item(videoSave(), copy);
    LatestSaveHero hero(shown, Date{2000});
    hero.resize(900, hero.sizeHint().height());
    hero.show();
    QList<SaveIntent> raised;
    connect(&hero, &LatestSaveHero::intentRaised, this, [&raised](const SaveIntent &intent) { raised.append(intent); });
    ActionPillButton &pill = hero.actionPill();
    QVERIFY(pill.width() >= 140 && pill.width() <= 220);
    QTest::mouseClick(&pill, Qt::LeftButton, {}, pill.rect().center());
    // The action alone: never a select.
    QCOMPARE(raised, reports ? QList<SaveIntent>{SaveIntent::action(shown.action())} : QList<SaveIntent>());
}

void TestLatestSaveHero::newMomentChangesOnlyTheAge()
{
    LatestSaveHero hero(item(videoSave(1000)), Date{1030});
    QVERIFY(hero.shownSummary().contains(StashwellUIStrings::shelfSavedJustNow()));
    hero.setNow(Date{1000 + 3 * 86400});
    QVERIFY(hero.shownSummary().contains(
        StashwellUIStrings::shelfSavedAgo(Formatting::ago(Date{1000}, Date{1000 + 3 * 86400}))));
    QCOMPARE(hero.titleButton().accessibleText(), QStringLiteral("Sunrise over the harbour"));

    // Shown, a day later at the same width: the line drawn follows (its age is as wide as before).
    hero.resize(1200, hero.sizeHint().height());
    hero.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hero));
    const auto agoAfter = [](int days) {
        return StashwellUIStrings::shelfSavedAgo(Formatting::ago(Date{1000}, Date{1000.0 + days * 86400.0}));
    };
    QVERIFY(hero.visibleSummary().contains(agoAfter(3)));
    const QString before = hero.visibleSummary();
    hero.setNow(Date{1000 + 4 * 86400});
    QCoreApplication::processEvents();
    QCOMPARE(hero.visibleSummary().size(), before.size());
    QVERIFY(hero.visibleSummary().contains(agoAfter(4)));
}

void TestLatestSaveHero::thumbnailNeverPages()
{
    QWidget window;
    Paging paging;
    Paging::install(&window, &paging);
    const Save photos = save(3, post(xLink(QStringLiteral("bo"), QStringLiteral("7")), {image(), image(), image()}));
    ShelfItem shown = item(photos);
    shown.setPictures({url(QStringLiteral("file:///p/1.jpg")), url(QStringLiteral("file:///p/2.jpg")),
                       url(QStringLiteral("file:///p/3.jpg"))});
    auto *hero = new LatestSaveHero(shown, Date{0}, &window);
    window.resize(900, 400);
    window.show();
    const MediaThumbnail &thumbnail = hero->thumbnail().thumbnail();
    QVERIFY(!thumbnail.pages());
    QVERIFY(thumbnail.keepsShape());
    QCOMPARE(thumbnail.height(), 130.0);
    QVERIFY(!thumbnail.showsArrows(true));
    QCOMPARE(thumbnail.pictureURL(0), std::optional<Url>(url(QStringLiteral("file:///p/1.jpg"))));
    QTest::mouseMove(&hero->thumbnailButton(), hero->thumbnailButton().rect().center());
    QCOMPARE(paging.size(), 0);
    QCOMPARE(hero->thumbnail().currentPage(), 0);
}

void TestLatestSaveHero::shadowRoomAroundTheCard()
{
    LatestSaveHero hero(item(videoSave()), Date{0});
    hero.resize(900, hero.sizeHint().height());
    hero.show();
    const QRectF card = hero.cardRect();
    QVERIFY(QRectF(hero.rect()).contains(card));
    // The shadow is blurred by 15 and moved down by 10: it needs more room below than above.
    QVERIFY(hero.height() - card.bottom() > card.top());
    QCOMPARE(card.left(), 15.0);
    // Every part lies inside the card, padded.
    for (QWidget *part : {static_cast<QWidget *>(&hero.titleButton()), static_cast<QWidget *>(&hero.thumbnailButton()),
                          static_cast<QWidget *>(&hero.actionPill())}) {
        QVERIFY(card.adjusted(29, 25, -29, -25).contains(QRectF(part->geometry())));
    }
}

void TestLatestSaveHero::gallery()
{
    const Save web = save(2, post(webLink(QStringLiteral("https://news.example.com/story")), {page()},
                                  QStringLiteral("How the harbour got its lighthouse back, a long read that wraps "
                                                 "onto a second line and is then cut"),
                                  QStringLiteral("Harbour News")),
                          0);
    const Save narrow = save(3, post(xLink(QStringLiteral("alannaharbourwatch"), QStringLiteral("1234567890123")),
                                     {video(75)}, QStringLiteral("Sunrise over the harbour")),
                             1000);
    for (const auto &[name, shown, width] :
         {std::tuple{QStringLiteral("hero-video"), item(videoSave(1000)), 960},
          std::tuple{QStringLiteral("hero-web"), item(web, LocalCopy::downloading(40, 100)), 960},
          std::tuple{QStringLiteral("hero-narrow"), item(narrow), 660}}) {
        QWidget window;
        auto *hero = new LatestSaveHero(shown, Date{1000 + 7200}, &window);
        window.resize(width, std::max(hero->sizeHint().height(), hero->heightForWidth(width)));
        hero->resize(window.size());
        QString why;
        QVERIFY2(gallery::captureAndCheck(window, name, &why), qPrintable(why));
    }
}

QTEST_MAIN(TestLatestSaveHero)
#include "tst_latestsavehero.moc"
