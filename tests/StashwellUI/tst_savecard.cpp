#include "Gallery.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveCardCache.h"
#include "StashwellUI/Saves/SaveCardView.h"
#include "SaveFixtures.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"

#include <QHBoxLayout>
#include <QTimeZone>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::viewfixtures;

Q_DECLARE_METATYPE(sw::ShelfItem)

namespace {

// 10:00:00 UTC on a day in 2024, in seconds since the reference date.
const double tenOClock = Date::fromDateTime(QDateTime(QDate(2024, 5, 1), QTime(10, 0), QTimeZone::utc())).sinceReference;

QRectF cardBounds() { return QRectF(0, 0, 280, SaveCard::height(true)); }

Save videoSave(int id = 1, bool favourite = false)
{
    return save(id, post(xLink(QStringLiteral("ann"), QString::number(id)), {video(75)},
                         QStringLiteral("First line of the post\nsecond line\nthird line")),
                tenOClock - 3600, favourite);
}

ShelfItem photosItem()
{
    ShelfItem shown = item(save(5, post(xLink(QStringLiteral("bo"), QStringLiteral("5")), {image(), image(), image()})));
    shown.setPictures({url(QStringLiteral("file:///p/1.jpg")), url(QStringLiteral("file:///p/2.jpg")),
                       url(QStringLiteral("file:///p/3.jpg"))});
    return shown;
}

// Records which intent a click reported.
struct Recorder {
    QStringList calls;
    std::optional<Action> action;
    IntentHandler intents()
    {
        return [this](const SaveIntent &intent) {
            calls << QString::fromLatin1(intent.caseName());
            if (const auto *a = intent.as<SaveIntent::Action>())
                action = a->action;
        };
    }
};

}  // namespace

class TestSaveCard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void equality_data();
    void equality();
    void intents_data();
    void intents();
    void arrowsTurnThePageNotSelect();
    void sharedPageMemory();

    void partsByItem_data();
    void partsByItem();
    void heightIsFixedPerKind();
    void textShowsTwoLines();
    void hoverLiftsByOnePoint();
    void selectionStrokeWinsOverHover();

    void cacheRepaintsOnlyChangedLooks_data();
    void cacheRepaintsOnlyChangedLooks();
    void cacheKeepsTheImagesOfEachWidth();
    void cacheDrawsWhatPaintingDraws_data();
    void cacheDrawsWhatPaintingDraws();
    void cacheKeepsWithinItsBudget();
    void cacheShrinksToANewBudget_data();
    void cacheShrinksToANewBudget();
    void screensBudget_data();
    void screensBudget();

    void viewRepaintsOnlyWhenUnequal();
    void viewReportsClicks();

    void gallery();
};

void TestSaveCard::initTestCase()
{
    Tokens::Motion::setEnabled(false);
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
}

void TestSaveCard::equality_data()
{
    QTest::addColumn<ShelfItem>("oneItem");
    QTest::addColumn<ShelfItem>("otherItem");
    QTest::addColumn<double>("now");
    QTest::addColumn<double>("otherNow");
    QTest::addColumn<bool>("otherSelected");
    QTest::addColumn<bool>("equal");

    const ShelfItem base = item(videoSave());
    const double t = tenOClock;
    QTest::newRow("same") << base << base << t << t << false << true;
    QTest::newRow("10:00:05 and 10:00:59") << base << base << t + 5 << t + 59 << false << true;
    QTest::newRow("10:00:59 and 10:01:00") << base << base << t + 59 << t + 60 << false << false;
    QTest::newRow("a minute apart") << base << base << t << t + 60 << false << false;
    QTest::newRow("fractions within the minute") << base << base << t + 0.001 << t + 59.999 << false << true;
    QTest::newRow("selection") << base << base << t << t << true << false;
    QTest::newRow("copy") << base << item(videoSave(), LocalCopy::downloading(1, 2)) << t << t << false << false;
    QTest::newRow("download progress") << item(videoSave(), LocalCopy::downloading(2, 4))
                                       << item(videoSave(), LocalCopy::downloading(3, 4)) << t << t << false << false;
    QTest::newRow("quality") << base << item(videoSave(), LocalCopy::linkOnly(), Quality::hd) << t << t << false << false;
    QTest::newRow("favourite") << base << item(videoSave(1, true)) << t << t << false << false;
    ShelfItem covered = base;
    covered.setCover(url(QStringLiteral("file:///covers/1.jpg")));
    QTest::newRow("cover") << base << covered << t << t << false << false;
    ShelfItem pictured = base;
    pictured.setPictures({url(QStringLiteral("file:///media/Stashwell/ann_1.jpg"))});
    QTest::newRow("pictures") << base << pictured << t << t << false << false;
    // Minutes are counted toward zero from the reference date: the half minutes either side of it
    // fall into the same minute.
    QTest::newRow("either side of the reference date") << base << base << -30.0 << 30.0 << false << true;
}

void TestSaveCard::equality()
{
    QFETCH(ShelfItem, oneItem);
    QFETCH(ShelfItem, otherItem);
    QFETCH(double, now);
    QFETCH(double, otherNow);
    QFETCH(bool, otherSelected);
    QFETCH(bool, equal);
    const SaveCard a(oneItem, Date{now}, false);
    const SaveCard b(otherItem, Date{otherNow}, otherSelected);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    QVERIFY(a == a);
}

void TestSaveCard::intents_data()
{
    QTest::addColumn<ShelfItem>("shown");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("expected");   // the intent reported, or "" for none

    const ShelfItem plain = item(videoSave());
    const ShelfItem downloading = item(videoSave(), LocalCopy::downloading(30, 100));
    const ShelfItem trashed = item(save(2, post(xLink(QStringLiteral("a"), QStringLiteral("2")), {image()}), 0, false, 50.0));
    QTest::newRow("thumbnail") << plain << "thumbnail" << "select";
    QTest::newRow("author") << plain << "author" << "select";
    QTest::newRow("space right of the author") << plain << "header gap" << "select";
    QTest::newRow("text") << plain << "text" << "select";
    QTest::newRow("meta line") << plain << "meta" << "select";
    QTest::newRow("pill") << plain << "pill" << "action";
    QTest::newRow("pill of a running download") << downloading << "pill" << "";
    QTest::newRow("trash") << plain << "trash" << "trash";
    QTest::newRow("gap beside the thumbnail") << plain << "thumbnail margin" << "";
    QTest::newRow("outside") << plain << "outside" << "";
    QTest::newRow("trashed: pill restores") << trashed << "pill" << "action";
    QTest::newRow("trashed: the pill takes the trash button's place") << trashed << "trash" << "action";
}

void TestSaveCard::intents()
{
    QFETCH(ShelfItem, shown);
    QFETCH(QString, where);
    QFETCH(QString, expected);
    const SaveCard card(shown, Date{tenOClock}, false);
    SaveCard::ViewState state;
    card.track(state);
    const QRectF cardRect = cardBounds();
    const SaveCard::Layout l = card.layout(cardRect, state);
    // The trash button's place on a card that has one.
    const QRectF trashPlace(cardRect.right() - SaveCard::actionPadding - SaveCard::trashSize, l.pill.top(),
                            SaveCard::trashSize, SaveCard::trashSize);
    const QHash<QString, QPointF> points{
        {QStringLiteral("thumbnail"), l.thumbnail.center()},
        {QStringLiteral("author"), l.author.topLeft() + QPointF(5, 5)},
        {QStringLiteral("header gap"), QPointF(l.sourceMark.left() - 4, l.sourceMark.center().y())},
        {QStringLiteral("text"), l.text.center()},
        {QStringLiteral("meta"), l.meta.center()},
        {QStringLiteral("pill"), l.pill.center()},
        {QStringLiteral("trash"), trashPlace.center()},
        {QStringLiteral("thumbnail margin"), QPointF(cardRect.left() + 3, l.thumbnail.center().y())},
        {QStringLiteral("outside"), QPointF(cardRect.right() + 5, cardRect.center().y())},
    };
    QVERIFY(points.contains(where));
    const SaveCard::Part part = card.hitTest(cardRect, points[where], state, nullptr);
    Recorder recorder;
    const bool acted = card.activate(part, recorder.intents(), state);
    QCOMPARE(acted, !expected.isEmpty());
    QCOMPARE(recorder.calls, expected.isEmpty() ? QStringList() : QStringList{expected});
    if (expected == u"action")
        QCOMPARE(*recorder.action, shown.action());
}

void TestSaveCard::arrowsTurnThePageNotSelect()
{
    const SaveCard card(photosItem(), Date{tenOClock}, false);
    SaveCard::ViewState state;
    card.track(state);
    const QRectF cardRect = cardBounds();
    const SaveCard::Layout l = card.layout(cardRect, state);
    const QPointF previous(l.thumbnail.left() + MediaThumbnail::markInset + MediaThumbnail::arrowSide / 2,
                           l.thumbnail.center().y());
    const QPointF next(l.thumbnail.right() - MediaThumbnail::markInset - MediaThumbnail::arrowSide / 2,
                       l.thumbnail.center().y());
    QCOMPARE(card.hitTest(cardRect, next, state, nullptr), SaveCard::Part::nextPage);
    Recorder recorder;
    QVERIFY(card.activate(SaveCard::Part::nextPage, recorder.intents(), state));
    QCOMPARE(state.thumbnail.page, 1);
    QCOMPARE(card.hitTest(cardRect, previous, state, nullptr), SaveCard::Part::previousPage);
    card.activate(SaveCard::Part::previousPage, recorder.intents(), state);
    card.activate(SaveCard::Part::previousPage, recorder.intents(), state);
    QCOMPARE(state.thumbnail.page, 2);
    QVERIFY(recorder.calls.isEmpty());
    QCOMPARE(card.pictureKey(state)->url, url(QStringLiteral("file:///p/3.jpg")));

    // One picture: no arrows, the whole thumbnail selects.
    const SaveCard single(item(videoSave()), Date{tenOClock}, false);
    QCOMPARE(single.hitTest(cardRect, next, state, nullptr), SaveCard::Part::thumbnail);
    QVERIFY(!single.activate(SaveCard::Part::nextPage, recorder.intents(), state));
}

void TestSaveCard::sharedPageMemory()
{
    QWidget window;
    Paging paging;
    Paging::install(&window, &paging);
    auto *row = new QHBoxLayout(&window);
    auto *first = new SaveCardView(SaveCard(photosItem(), Date{tenOClock}, false));
    auto *second = new SaveCardView(SaveCard(photosItem(), Date{tenOClock}, true));
    row->addWidget(first);
    row->addWidget(second);
    window.resize(640, 420);
    window.show();
    QCOMPARE(first->paging(), &paging);

    const SaveCard::Layout l = first->card().layout(QRectF(0, SaveCard::hoverLift, first->width(), first->card().height()),
                                                    first->viewState());
    const QPoint next(int(l.thumbnail.right() - MediaThumbnail::markInset - MediaThumbnail::arrowSide / 2),
                      int(l.thumbnail.center().y()));
    QSignalSpy selected(first, &SaveCardView::intentRaised);
    // The arrows show only under the pointer.
    QTest::mouseMove(first, next);
    QCoreApplication::sendEvent(first, new QHoverEvent(QEvent::HoverEnter, QPointF(next), QPointF(next), QPointF()));
    QTest::mouseClick(first, Qt::LeftButton, {}, next);
    QCOMPARE(selected.count(), 0);
    const Save::ID id = photosItem().save().id();
    QCOMPARE(paging.page(id, 3), 1);
    QCOMPARE(first->card().thumbnail().currentPage(first->viewState().thumbnail.page), 1);
    QCOMPARE(second->card().thumbnail().currentPage(second->viewState().thumbnail.page), 1);
}

void TestSaveCard::partsByItem_data()
{
    QTest::addColumn<ShelfItem>("shown");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("text");
    QTest::addColumn<bool>("trash");

    QTest::newRow("X video") << item(videoSave()) << Symbols::xGlyph << true << true;
    QTest::newRow("web page") << item(save(3, post(webLink(QStringLiteral("https://news.example.com/a")), {page()})))
                              << "globe" << true << true;
    QTest::newRow("text post") << item(save(4, post(xLink(QStringLiteral("c"), QStringLiteral("4")))))
                               << Symbols::xGlyph << false << true;
    QTest::newRow("empty text still takes its lines")
        << item(save(6, post(xLink(QStringLiteral("d"), QStringLiteral("6")), {image()}, QString())))
        << Symbols::xGlyph << true << true;
    QTest::newRow("trashed") << item(save(7, post(xLink(QStringLiteral("e"), QStringLiteral("7")), {image()}), 0, false, 9.0))
                             << Symbols::xGlyph << true << false;
}

void TestSaveCard::partsByItem()
{
    QFETCH(ShelfItem, shown);
    QFETCH(QString, source);
    QFETCH(bool, text);
    QFETCH(bool, trash);
    const SaveCard card(shown, Date{tenOClock}, false);
    QCOMPARE(card.sourceSymbol(), source);
    QCOMPARE(card.showsText(), text);
    QCOMPARE(card.showsTrash(), trash);
    const SaveCard::Layout l = card.layout(QRectF(0, 0, 280, card.height()), {});
    QCOMPARE(l.trash.has_value(), trash);
    QCOMPARE(l.text.isEmpty(), !text);
    if (text)
        QVERIFY(l.text.height() >= 2 * QFontMetricsF(Tokens::Typography::body.font()).lineSpacing());
    // Without the trash button the pill takes the row.
    QCOMPARE(l.pill.width(), trash ? 280 - 24 - 32 - 8 : 280 - 24.0);
    QCOMPARE(l.thumbnail, QRectF(8, 8, 264, 150));
    QCOMPARE(card.accessibleText(), shown.save().post().author.name + QStringLiteral(": ") + shown.save().post().text);
    // Everything lies inside the card, in order from top to bottom.
    QVERIFY(l.body.top() >= l.thumbnail.bottom());
    QVERIFY(l.pill.top() >= l.body.bottom() + SaveCard::actionPadding - 0.5);
    QVERIFY(l.pill.bottom() <= card.height() - SaveCard::actionPadding + 0.5);
}

void TestSaveCard::heightIsFixedPerKind()
{
    const SaveCard video(item(videoSave()), Date{tenOClock}, false);
    const SaveCard text(item(save(4, post(xLink(QStringLiteral("c"), QStringLiteral("4"))))), Date{tenOClock}, false);
    QCOMPARE(video.height(), SaveCard::height(true));
    QCOMPARE(text.height(), SaveCard::height(false));
    QVERIFY(text.height() < video.height());
    // A narrower card is not taller: the text always has two lines of room.
    const SaveCard::Layout wide = video.layout(QRectF(0, 0, 400, video.height()), {});
    const SaveCard::Layout narrow = video.layout(QRectF(0, 0, 200, video.height()), {});
    QCOMPARE(wide.pill.bottom(), narrow.pill.bottom());
}

void TestSaveCard::textShowsTwoLines()
{
    const SaveCard card(item(videoSave()), Date{tenOClock}, false);
    const QString shown = card.shownText(264);
    QCOMPARE(shown.count(u'\n'), 1);
    QVERIFY(shown.startsWith(QStringLiteral("First line of the post\n")));
    QVERIFY(shown.endsWith(QChar(0x2026)));
}

void TestSaveCard::hoverLiftsByOnePoint()
{
    const SaveCard card(item(videoSave()), Date{tenOClock}, true);
    SaveCard::ViewState state;
    const QRectF cardRect = cardBounds();
    QCOMPARE(card.layout(cardRect, state).card, cardRect);
    state.hovered = true;
    state.hover = 1;
    QCOMPARE(card.layout(cardRect, state).card, cardRect.translated(0, -1));
    // Halfway through the animation, halfway up.
    state.hover = 0.5;
    QCOMPARE(card.layout(cardRect, state).card.top(), -0.5);
    // Presses follow the lifted card.
    state.hover = 1;
    const SaveCard::Layout lifted = card.layout(cardRect, state);
    QCOMPARE(card.hitTest(cardRect, lifted.pill.center(), state, nullptr), SaveCard::Part::pill);
}

void TestSaveCard::selectionStrokeWinsOverHover()
{
    // The colour of the card's left edge, halfway down, as painted.
    const auto edge = [](bool selected, bool hovered) {
        const SaveCard card(item(videoSave()), Date{tenOClock}, selected);
        SaveCard::ViewState state;
        state.hovered = hovered;
        state.hover = hovered ? 1 : 0;
        QImage image(320, int(card.height()) + 20, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        card.paint(painter, QRectF(10, 10, 280, card.height()), state, nullptr, nullptr);
        painter.end();
        return image.pixelColor(10, int(10 + card.height() / 2 - (hovered ? 1 : 0)));
    };
    const QColor accent = Tokens::Colors::accent();
    const QColor selectedHovered = edge(true, true);
    const QColor selectedOnly = edge(true, false);
    const QColor hoveredOnly = edge(false, true);
    QCOMPARE(selectedHovered, selectedOnly);
    QVERIFY2(qAbs(selectedHovered.red() - accent.red()) < 12 && qAbs(selectedHovered.green() - accent.green()) < 12,
             qPrintable(selectedHovered.name()));
    QVERIFY(hoveredOnly != selectedOnly);
    QVERIFY(hoveredOnly != edge(false, false));
}

void TestSaveCard::cacheRepaintsOnlyChangedLooks_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("renders");
    QTest::newRow("nothing") << "nothing" << false;
    QTest::newRow("later in the same minute") << "same minute" << false;
    QTest::newRow("the next minute") << "next minute" << true;
    // The selection shows in the border alone, drawn over the kept image.
    QTest::newRow("selection") << "selection" << false;
    // A hover lifts the kept image and draws the tinted border over it: its frames paint nothing anew.
    QTest::newRow("hover") << "hover" << false;
    QTest::newRow("hover halfway") << "hover halfway" << false;
    QTest::newRow("pointer over the body") << "body hovered" << false;
    QTest::newRow("pointer over a single picture") << "thumbnail hovered" << false;
    QTest::newRow("pointer over the pill") << "pill hovered" << true;
    QTest::newRow("pointer over the trash") << "trash hovered" << true;
    QTest::newRow("pressed pill") << "pressed" << true;
    QTest::newRow("picture arrived") << "picture" << true;
    QTest::newRow("another width") << "width" << true;
    QTest::newRow("another place, same size") << "moved" << false;
    QTest::newRow("dark appearance") << "dark" << true;
    QTest::newRow("glass surface") << "glass" << true;
    QTest::newRow("twice the pixel density") << "density" << true;
    QTest::newRow("download progress") << "progress" << true;
    QTest::newRow("another language") << "language" << true;
}

void TestSaveCard::cacheRepaintsOnlyChangedLooks()
{
    QFETCH(QString, change);
    QFETCH(bool, renders);
    SaveCardCache cache;
    QImage target(700, 800, QImage::Format_ARGB32_Premultiplied);
    const SaveCard card(item(videoSave()), Date{tenOClock + 5}, false);
    SaveCard::ViewState state;
    card.track(state);
    QRectF rect(10, 10, 280, card.height());
    {
        QPainter painter(&target);
        cache.paint(painter, rect, card, state, nullptr, nullptr);
    }
    QCOMPARE(cache.renders(), 1);

    SaveCard next = card;
    PicturePointer picture;
    QImage *surface = &target;
    QImage dense(1400, 1600, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2);
    const Appearance appearance = Theme::currentAppearance();
    const Surface windowSurface = Theme::currentSurface();
    if (change == u"same minute")
        next = SaveCard(item(videoSave()), Date{tenOClock + 59}, false);
    else if (change == u"next minute")
        next = SaveCard(item(videoSave()), Date{tenOClock + 60}, false);
    else if (change == u"selection")
        next = SaveCard(item(videoSave()), Date{tenOClock + 5}, true);
    else if (change == u"progress")
        next = SaveCard(item(videoSave(), LocalCopy::downloading(5, 10)), Date{tenOClock + 5}, false);
    else if (change == u"hover") {
        state.hovered = true;
        state.hover = 1;
    } else if (change == u"hover halfway") {
        state.hover = 0.5;
    } else if (change == u"body hovered") {
        state.hovered = true;
        state.hoveredPart = SaveCard::Part::body;
    } else if (change == u"thumbnail hovered") {
        state.hovered = true;
        state.hoveredPart = SaveCard::Part::thumbnail;
        state.thumbnail.hovering = true;
    } else if (change == u"pill hovered") {
        state.hoveredPart = SaveCard::Part::pill;
    } else if (change == u"trash hovered") {
        state.hoveredPart = SaveCard::Part::trash;
    } else if (change == u"pressed") {
        state.pressedPart = SaveCard::Part::pill;
    } else if (change == u"picture") {
        QImage image(90, 60, QImage::Format_RGB32);
        image.fill(Qt::red);
        picture = std::make_shared<Picture>(Picture{PictureKey{url(QStringLiteral("file:///p/1.jpg")), 900}, image});
    } else if (change == u"width") {
        rect.setWidth(300);
    } else if (change == u"moved") {
        rect.moveTo(300, 40);
    } else if (change == u"dark") {
        Theme::instance().setAppearance(Appearance::dark);
    } else if (change == u"glass") {
        Theme::instance().setSurface(Surface::glass);
    } else if (change == u"density") {
        surface = &dense;
    } else if (change == u"language") {
        // The same card built again in another language: its pill, meta line and trash read anew.
        QVERIFY(StashwellUIStrings::table().loadLanguage(QStringLiteral("ja")));
        next = SaveCard(item(videoSave()), Date{tenOClock + 5}, false);
    }
    {
        QPainter painter(surface);
        cache.paint(painter, rect, next, state, picture, nullptr);
    }
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
    Theme::instance().setAppearance(appearance);
    Theme::instance().setSurface(windowSurface);
    QCOMPARE(cache.renders(), renders ? 2 : 1);
    // An image of another width (in pixels) is kept beside the first; any other look replaces it.
    QCOMPARE(cache.size(), change == u"width" || change == u"density" ? 2 : 1);
}

// A shelf that narrows and widens again (the inspector opening and closing beside it) draws the
// cards of the first width from the images it kept.
void TestSaveCard::cacheKeepsTheImagesOfEachWidth()
{
    SaveCardCache cache;
    QImage target(700, 800, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    const SaveCard card(item(videoSave()), Date{tenOClock}, false);
    for (const double width : {280.0, 240.0, 280.0, 240.0, 280.5})
        cache.paint(painter, QRectF(10, 10, width, card.height()), card, {}, nullptr, nullptr);
    // 280.5 points take 281 pixels: a width of their own.
    QCOMPARE(cache.renders(), 3);
    QVERIFY(cache.holds(QSizeF(280, card.height()), 1, card, {}, nullptr, nullptr));
    QVERIFY(cache.holds(QSizeF(240, card.height()), 1, card, {}, nullptr, nullptr));
    QVERIFY(!cache.holds(QSizeF(200, card.height()), 1, card, {}, nullptr, nullptr));
}

void TestSaveCard::cacheDrawsWhatPaintingDraws_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<double>("hover");
    QTest::newRow("at rest") << false << false << 0.0;
    QTest::newRow("hovered") << false << true << 1.0;
    QTest::newRow("selected") << true << false << 0.0;
    QTest::newRow("selected and hovered") << true << true << 1.0;
}

void TestSaveCard::cacheDrawsWhatPaintingDraws()
{
    QFETCH(bool, selected);
    QFETCH(bool, hovered);
    QFETCH(double, hover);
    const SaveCard card(item(videoSave(), LocalCopy::downloading(40, 100)), Date{tenOClock}, selected);
    SaveCard::ViewState state;
    state.hovered = hovered;
    state.hover = hover;
    const QRectF rect(12, 20, 280, card.height());
    QImage direct(320, int(card.height()) + 40, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Tokens::Colors::window());
    QImage cached = direct;
    {
        QPainter painter(&direct);
        card.paint(painter, rect, state, nullptr, nullptr);
    }
    // Drawn twice from the cache: the second time from the image kept at rest.
    SaveCardCache cache;
    {
        QPainter painter(&cached);
        SaveCard::ViewState resting;
        cache.paint(painter, rect, card, resting, nullptr, nullptr);
        painter.fillRect(cached.rect(), Tokens::Colors::window());
        cache.paint(painter, rect, card, state, nullptr, nullptr);
    }
    QCOMPARE(cache.renders(), 1);
    int worst = 0;
    for (int y = 0; y < direct.height(); ++y) {
        for (int x = 0; x < direct.width(); ++x) {
            const QRgb a = direct.pixel(x, y);
            const QRgb b = cached.pixel(x, y);
            worst = std::max({worst, qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
        }
    }
    QVERIFY2(worst <= 8, qPrintable(QStringLiteral("largest difference %1").arg(worst)));
}

void TestSaveCard::cacheKeepsWithinItsBudget()
{
    // Room for about three cards' images.
    const SaveCard probe(item(videoSave()), Date{tenOClock}, false);
    const std::int64_t oneImage = std::int64_t(280 * 4) * std::int64_t(std::ceil(probe.height() + 1));
    SaveCardCache cache(oneImage * 3 + 1024);
    QImage target(300, 400, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    for (int id = 1; id <= 10; ++id) {
        const SaveCard card(item(videoSave(id)), Date{tenOClock}, false);
        cache.paint(painter, QRectF(0, 0, 280, card.height()), card, {}, nullptr, nullptr);
    }
    QCOMPARE(cache.renders(), 10);
    QVERIFY(cache.size() <= 3);
    QVERIFY(cache.size() >= 1);
    // A card larger than the whole budget is painted all the same, and not kept.
    SaveCardCache tiny(1024);
    tiny.paint(painter, QRectF(0, 0, 280, probe.height()), probe, {}, nullptr, nullptr);
    QCOMPARE(tiny.size(), 0);
}

void TestSaveCard::cacheShrinksToANewBudget_data()
{
    QTest::addColumn<int>("room");   // images the new budget holds
    QTest::newRow("to one image") << 1;
    QTest::newRow("to two images") << 2;
    QTest::newRow("to less than one") << 0;
    QTest::newRow("larger") << 6;
}

void TestSaveCard::cacheShrinksToANewBudget()
{
    QFETCH(int, room);
    const SaveCard probe(item(videoSave()), Date{tenOClock}, false);
    const std::int64_t oneImage = std::int64_t(280 * 4) * std::int64_t(std::ceil(probe.height() + 1));
    SaveCardCache cache(oneImage * 4 + 1024);
    QImage target(300, 400, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    const auto paint = [&](int id) {
        const SaveCard card(item(videoSave(id)), Date{tenOClock}, false);
        cache.paint(painter, QRectF(0, 0, 280, card.height()), card, {}, nullptr, nullptr);
    };
    for (int id = 1; id <= 4; ++id)
        paint(id);
    QCOMPARE(cache.size(), 4);
    cache.setBudgetBytes(oneImage * room + 1024);
    QCOMPARE(cache.size(), std::min(room, 4));
    // The most recently drawn stay: drawn again, they are not painted anew; the others are.
    int renders = cache.renders();
    for (int id = 4; id > 4 - std::min(room, 4); --id)
        paint(id);
    QCOMPARE(cache.renders(), renders);
    if (room < 4) {
        paint(1);
        QCOMPARE(cache.renders(), renders + 1);
    }
    // Whatever is kept fits the budget, and new images keep within it.
    for (int id = 5; id <= 9; ++id)
        paint(id);
    QVERIFY(std::int64_t(cache.size()) * oneImage <= cache.budgetBytes());
}

void TestSaveCard::screensBudget_data()
{
    QTest::addColumn<QSizeF>("viewport");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("screens");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("a small viewport takes the floor") << QSizeF(100, 100) << 1.0 << 4.0 << qint64(1 << 20);
    QTest::newRow("screens of pixels") << QSizeF(1000, 800) << 1.0 << 4.0 << qint64(1000 * 800 * 4 * 4);
    QTest::newRow("twice the density, four times the pixels") << QSizeF(1000, 800) << 2.0 << 2.0 << qint64(2000 * 1600 * 4 * 2);
    QTest::newRow("a large one stops at the ceiling") << QSizeF(4000, 3000) << 2.0 << 4.0 << qint64(64 << 20);
    QTest::newRow("an empty one takes the floor") << QSizeF(0, 0) << 1.0 << 4.0 << qint64(1 << 20);
    QTest::newRow("an invalid one takes the floor") << QSizeF(-1, -1) << 1.0 << 4.0 << qint64(1 << 20);
    QTest::newRow("an unbounded one stops at the ceiling") << QSizeF(qInf(), 10) << 1.0 << 4.0 << qint64(64 << 20);
}

void TestSaveCard::screensBudget()
{
    QFETCH(QSizeF, viewport);
    QFETCH(double, ratio);
    QFETCH(double, screens);
    QFETCH(qint64, expected);
    QCOMPARE(qint64(PaintedImageCache<int>::screensBudget(viewport, ratio, screens, 1 << 20, 64 << 20)), expected);
}

void TestSaveCard::viewRepaintsOnlyWhenUnequal()
{
    SaveCardView view(SaveCard(item(videoSave()), Date{tenOClock + 5}, false));
    view.resize(view.sizeHint());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCoreApplication::processEvents();
    const int painted = view.paintCount();
    QVERIFY(painted > 0);

    QVERIFY(!view.setCard(SaveCard(item(videoSave()), Date{tenOClock + 59}, false)));
    QCoreApplication::processEvents();
    QCOMPARE(view.paintCount(), painted);
    // The card kept is the first one: its age may lag the clock by under a minute.
    QCOMPARE(view.card().now(), Date{tenOClock + 5});

    QVERIFY(view.setCard(SaveCard(item(videoSave()), Date{tenOClock + 60}, false)));
    QTRY_VERIFY(view.paintCount() > painted);
    QVERIFY(view.setCard(SaveCard(item(videoSave()), Date{tenOClock + 60}, true)));
}

void TestSaveCard::viewReportsClicks()
{
    const ShelfItem shown = item(videoSave());
    SaveCardView view(SaveCard(shown, Date{tenOClock}, false));
    view.resize(280, view.sizeHint().height());
    view.show();
    QList<SaveIntent> raised;
    connect(&view, &SaveCardView::intentRaised, this, [&raised](const SaveIntent &intent) { raised.append(intent); });
    const SaveCard::Layout l = view.card().layout(QRectF(0, SaveCard::hoverLift, 280, view.card().height()), {});
    QTest::mouseClick(&view, Qt::LeftButton, {}, l.thumbnail.center().toPoint());
    QTest::mouseClick(&view, Qt::LeftButton, Qt::ControlModifier, l.meta.center().toPoint());
    QTest::mouseClick(&view, Qt::LeftButton, {}, l.pill.center().toPoint());
    QTest::mouseClick(&view, Qt::LeftButton, {}, l.trash->center().toPoint());
    // The select carries the modifiers of its click.
    QCOMPARE(raised, (QList<SaveIntent>{SaveIntent::select(), SaveIntent::select(Qt::ControlModifier),
                                           SaveIntent::action(shown.action()), SaveIntent::trash()}));
    // A press that is let go elsewhere does nothing.
    QTest::mousePress(&view, Qt::LeftButton, {}, l.pill.center().toPoint());
    QTest::mouseRelease(&view, Qt::LeftButton, {}, l.thumbnail.center().toPoint());
    QCOMPARE(raised.size(), 4);
}

namespace {

// Every state of the card on one sheet.
class CardSheet : public QWidget {
public:
    struct Entry {
        SaveCard card;
        SaveCard::ViewState state;
    };
    QList<Entry> entries;
    static constexpr int columns = 4;
    static constexpr double width = 260;
    static constexpr double gap = 16;

    QSize sizeHint() const override
    {
        const int rows = int((entries.size() + columns - 1) / columns);
        return QSize(int(columns * (width + gap) + gap), int(rows * (SaveCard::height(true) + gap) + gap));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Theme::isGlass() ? QColor(Qt::transparent) : Tokens::Colors::window());
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const double x = gap + double(i % columns) * (width + gap);
            const double y = gap + double(i / columns) * (SaveCard::height(true) + gap);
            entries[i].card.paint(painter, QRectF(x, y, width, entries[i].card.height()), entries[i].state, nullptr, nullptr);
        }
    }
};

}  // namespace

void TestSaveCard::gallery()
{
    CardSheet sheet;
    const Date now{tenOClock};
    SaveCard::ViewState rest;
    SaveCard::ViewState hovered;
    hovered.hovered = true;
    hovered.hover = 1;
    SaveCard::ViewState arrows = hovered;
    arrows.thumbnail.hovering = true;
    const auto add = [&](const ShelfItem &shown, bool selected, const SaveCard::ViewState &state) {
        SaveCard card(shown, now, selected);
        SaveCard::ViewState s = state;
        card.track(s);
        sheet.entries.append({card, s});
    };
    add(item(videoSave()), false, rest);
    add(item(videoSave()), false, hovered);
    add(item(videoSave()), true, rest);
    add(item(videoSave()), true, hovered);
    add(item(videoSave(8), LocalCopy::downloading(420, 1000)), false, rest);
    add(item(videoSave(9, true), LocalCopy::onThisComputer({LocalFile{QStringLiteral("ann_9.mp4"), 4 << 20}})), false, rest);
    add(item(videoSave(10), LocalCopy::failed(DownloadFailure{})), false, rest);
    add(item(save(11, post(xLink(QStringLiteral("t"), QStringLiteral("11")), {image()}), 0, false, 100.0)), false, rest);
    add(item(save(12, post(xLink(QStringLiteral("t"), QStringLiteral("12")), {}, QStringLiteral("Just words, a text post.")))),
             false, rest);
    add(item(save(13, post(webLink(QStringLiteral("https://news.example.com/a")), {page()},
                           QStringLiteral("How the harbour got its lighthouse back"), QStringLiteral("Harbour News")))),
        false, rest);
    add(photosItem(), false, arrows);
    sheet.resize(sheet.sizeHint());
    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("save-card"), &why), qPrintable(why));
}

QTEST_MAIN(TestSaveCard)
#include "tst_savecard.moc"
