// The shelf bar: the layout switch reports every choice (also the current one) and shows the
// page's layout; the Save Link button reports its clicks; the search field's text and focus go
// both ways; the page's view stands between the title and the switch. And its gallery pictures.

#include "Gallery.h"
#include "PaintTesting.h"

#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace sw;

Q_DECLARE_METATYPE(sw::ShelfLayout)

class TestShelfBar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layoutSwitch_data();
    void layoutSwitch();
    void rawValues_data();
    void rawValues();
    void saveLink();
    void searchTextAndFocus();
    void trailingBeforeTheSwitch();
    void longTitleIsCut();
    void newTitlesShowOnScreen_data();
    void newTitlesShowOnScreen();
    void titleFollowsTheTheme();
    void gallery();
};

void TestShelfBar::initTestCase()
{
    loadFonts();
    Tokens::Motion::setEnabled(false);
}

void TestShelfBar::layoutSwitch_data()
{
    QTest::addColumn<ShelfLayout>("current");
    QTest::addColumn<ShelfLayout>("clicked");
    QTest::newRow("grid shown, list chosen") << ShelfLayout::grid << ShelfLayout::list;
    QTest::newRow("list shown, grid chosen") << ShelfLayout::list << ShelfLayout::grid;
    QTest::newRow("grid chosen again") << ShelfLayout::grid << ShelfLayout::grid;
    QTest::newRow("list chosen again") << ShelfLayout::list << ShelfLayout::list;
}

// Every activation is reported, the current option's too; what shows is the page's value.
void TestShelfBar::layoutSwitch()
{
    QFETCH(ShelfLayout, current);
    QFETCH(ShelfLayout, clicked);
    ShelfBar bar;
    bar.resize(1000, 52);
    bar.setShelfLayout(current);
    QSignalSpy chosen(&bar, &ShelfBar::layoutChosen);
    ShelfLayoutOption *option = bar.layoutSwitch().options().at(clicked == ShelfLayout::grid ? 0 : 1);
    QTest::mouseClick(option, Qt::LeftButton, {}, option->rect().center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).value<ShelfLayout>(), clicked);
    // The bar does not take the choice itself: the page sets it.
    QCOMPARE(bar.shelfLayout(), current);

    // The current option is the selected one for assistive technologies, under its key's text.
    for (ShelfLayoutOption *each : bar.layoutSwitch().options()) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(each);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), each->layout() == ShelfLayout::grid ? StashwellUIStrings::shelfGrid()
                                                                                 : StashwellUIStrings::shelfList());
        QCOMPARE(a->state().selected, each->layout() == current);
    }

    // Once the page takes the choice, the options (which keep their drawings) show it as a bar
    // made with it does.
    const QImage before = test::renderAtSizeHint(bar.layoutSwitch());
    bar.setShelfLayout(clicked);
    ShelfBar fresh;
    fresh.resize(1000, 52);
    fresh.setShelfLayout(clicked);
    const QImage after = test::renderAtSizeHint(bar.layoutSwitch());
    QCOMPARE(after, test::renderAtSizeHint(fresh.layoutSwitch()));
    QCOMPARE(after != before, clicked != current);
}

void TestShelfBar::rawValues_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<std::optional<ShelfLayout>>("layout");
    QTest::newRow("grid") << "grid" << std::optional(ShelfLayout::grid);
    QTest::newRow("list") << "list" << std::optional(ShelfLayout::list);
    QTest::newRow("case matters") << "Grid" << std::optional<ShelfLayout>();
    QTest::newRow("a space is not trimmed") << "list " << std::optional<ShelfLayout>();
    QTest::newRow("empty") << "" << std::optional<ShelfLayout>();
}

void TestShelfBar::rawValues()
{
    QFETCH(QString, raw);
    QFETCH(std::optional<ShelfLayout>, layout);
    QCOMPARE(shelfLayoutFromRawValue(raw), layout);
    if (layout)
        QCOMPARE(shelfLayoutRawValue(*layout), raw);
}

void TestShelfBar::saveLink()
{
    ShelfBar bar;
    bar.resize(1000, 52);
    QSignalSpy clicks(&bar, &ShelfBar::saveLinkRequested);
    GlassButton &button = bar.saveLinkButton();
    QCOMPARE(button.title(), StashwellUIStrings::shelfSaveLink());
    QCOMPARE(button.toolTip(), StashwellUIStrings::shelfSaveLinkHelp());
    QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center());
    QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center());
    QCOMPARE(clicks.size(), 2);
}

void TestShelfBar::searchTextAndFocus()
{
    QWidget window;
    auto *bar = new ShelfBar(&window);
    bar->resize(1000, 52);
    auto *elsewhere = new QLineEdit(&window);
    elsewhere->move(0, 60);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy typed(bar, &ShelfBar::queryChanged);
    QSignalSpy focus(bar, &ShelfBar::searchFocusChanged);
    bar->setQuery(QStringLiteral("harbour"));
    QCOMPARE(bar->searchField().text(), QStringLiteral("harbour"));

    // The page hands focus in (its find command) and the field takes it; typing is reported.
    bar->setSearchFocused(true);
    QTRY_VERIFY(bar->searchField().lineEdit()->hasFocus());
    QVERIFY(bar->isSearchFocused());
    QTRY_COMPARE(focus.size(), 1);
    QCOMPARE(focus.last().at(0).toBool(), true);
    QTest::keyClicks(bar->searchField().lineEdit(), QStringLiteral(" x"));
    QCOMPARE(typed.last().at(0).toString(), QStringLiteral("harbour x"));

    // Focus moving away by itself is reported too; the bar never takes it back.
    elsewhere->setFocus();
    QTRY_VERIFY(!bar->isSearchFocused());
    QCOMPARE(focus.last().at(0).toBool(), false);
    QVERIFY(elsewhere->hasFocus());
}

// The row's order stays: title block, the page's view, the switch, the search field, Save Link.
void TestShelfBar::trailingBeforeTheSwitch()
{
    ShelfBar bar;
    bar.setTitle(QStringLiteral("Trash"));
    bar.setSubtitle(QStringLiteral("3 saves"));
    GlassButton empty(QStringLiteral("Empty Trash"), QString(), Tone::danger);
    bar.setTrailing(&empty);
    bar.resize(1100, 52);
    bar.show();
    QCOMPARE(empty.parentWidget(), &bar);
    const auto left = [](const QWidget &w) { return w.geometry().left(); };
    QVERIFY(bar.titleRect().right() <= left(empty));
    QVERIFY(empty.geometry().right() < left(bar.layoutSwitch()));
    QVERIFY(bar.layoutSwitch().geometry().right() < left(bar.searchField()));
    QVERIFY(bar.searchField().geometry().right() < left(bar.saveLinkButton()));
    bar.setTrailing(nullptr);
    QVERIFY(empty.isHidden());
}

void TestShelfBar::longTitleIsCut()
{
    ShelfBar bar;
    const QString title = QStringLiteral("A very long collection name ").repeated(8);
    bar.setTitle(title);
    bar.setSubtitle(QStringLiteral("12 saves"));
    bar.resize(760, 52);
    bar.show();
    QVERIFY(bar.shownTitle() != title);
    QVERIFY(bar.shownTitle().endsWith(QChar(0x2026)));
    QCOMPARE(bar.shownSubtitle(), QStringLiteral("12 saves"));
    // However long the title, the controls keep their room.
    QVERIFY(bar.titleRect().right() <= bar.layoutSwitch().geometry().left() - ShelfBar::titleGap + 1);
}

void TestShelfBar::newTitlesShowOnScreen_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("subtitle");
    QTest::addColumn<QString>("query");
    const QString title = QStringLiteral("All saves");
    const QString count = QStringLiteral("1,204 saves matching “light”");
    QTest::newRow("a longer count") << title << QStringLiteral("12,345 saves matching “harbour”") << QString();
    QTest::newRow("a shorter count") << title << QStringLiteral("1 save") << QString();
    QTest::newRow("a longer title") << QStringLiteral("Everything saved from the harbour walk") << count << QString();
    QTest::newRow("a shorter title") << QStringLiteral("X") << count << QString();
    QTest::newRow("a title cut short") << QStringLiteral("A very long collection name ").repeated(6) << count << QString();
    QTest::newRow("a letter typed") << title << count << QStringLiteral("harb");
}

// A new title, count or query is painted where it changed, not over the whole bar: what the window
// shows afterwards is still the bar painted afresh.
void TestShelfBar::newTitlesShowOnScreen()
{
    QFETCH(QString, title);
    QFETCH(QString, subtitle);
    QFETCH(QString, query);
    QWidget window;
    window.resize(900, 52);
    auto *bar = new ShelfBar(&window);
    bar->setGeometry(window.rect());
    bar->setTitle(QStringLiteral("All saves"));
    bar->setSubtitle(QStringLiteral("1,204 saves matching “light”"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto shown = [&] {
        QCoreApplication::processEvents();
        return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto painted = [&] {
        QCoreApplication::processEvents();
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage before = shown();
    QCOMPARE(before, painted());
    bar->setTitle(title);
    bar->setSubtitle(subtitle);
    bar->setQuery(query);
    const QImage after = shown();
    QVERIFY(after != before);
    QCOMPARE(after, painted());
}

// The title and count are kept as a drawing: a new theme draws them in its colours, as a bar drawn
// afresh in that theme does.
void TestShelfBar::titleFollowsTheTheme()
{
    Theme::instance().setAppearance(Appearance::light);
    const auto made = [] {
        auto bar = std::make_unique<ShelfBar>();
        bar->resize(900, 52);
        bar->setTitle(QStringLiteral("All saves"));
        bar->setSubtitle(QStringLiteral("1,204 saves"));
        return bar;
    };
    const auto bar = made();
    const QImage light = test::render(*bar);
    Theme::instance().setAppearance(Appearance::dark);
    const QImage dark = test::render(*bar);
    // Drawn afresh: nothing kept from before the change.
    PaintMemo::clear();
    QCOMPARE(dark, test::render(*made()));
    QVERIFY(dark != light);
    Theme::instance().setAppearance(Appearance::light);
}

void TestShelfBar::gallery()
{
    QWidget sheet;
    sheet.setAttribute(Qt::WA_TranslucentBackground);
    sheet.resize(1100, 52 * 3 + 20);
    auto *grid = new ShelfBar(&sheet);
    grid->setGeometry(0, 0, 1100, 52);
    grid->setTitle(QStringLiteral("All saves"));
    grid->setSubtitle(QStringLiteral("1,204 saves"));
    auto *list = new ShelfBar(&sheet);
    list->setGeometry(0, 62, 1100, 52);
    list->setTitle(QStringLiteral("Trash"));
    list->setSubtitle(QStringLiteral("3 saves"));
    list->setShelfLayout(ShelfLayout::list);
    list->setQuery(QStringLiteral("harbour"));
    auto *trailing = new GlassButton(QStringLiteral("Empty Trash"), QStringLiteral("trash"), Tone::danger);
    list->setTrailing(trailing);
    auto *narrow = new ShelfBar(&sheet);
    narrow->setGeometry(0, 124, 700, 52);
    narrow->setTitle(QStringLiteral("A collection with a rather long name that does not fit"));
    narrow->setSubtitle(QStringLiteral("42 saves matching “light”"));
    QString why;
    QVERIFY2(gallery::captureAndCheck(sheet, QStringLiteral("shelf-bar"), &why), qPrintable(why));
}

QTEST_MAIN(TestShelfBar)
#include "tst_shelfbar.moc"
