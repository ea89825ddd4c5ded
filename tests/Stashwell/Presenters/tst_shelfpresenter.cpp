// The shelf presenter on its view: each key sent to the focused shelf (as rows), the Edit menu's Select
// All and Copy reaching it through the focused widget, the selection taking the focus and staying
// in view, the columns following the selection, the headers' buttons, the empty state, and the
// home of a shelf that follows the last one after an edit.

#include "ShelfWords.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Presenters/ProgressedItems.h"
#include "Stashwell/Presenters/ShelfPresenter.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/SectionHeader.h"
#include "StashwellUI/Controls/TextButton.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using S = StashwellStrings;

Q_DECLARE_METATYPE(sw::Filter)
Q_DECLARE_METATYPE(sw::CopyTable)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

// Two downloads under way, one of them half done.
CopyTable progressTable()
{
    CopyTable table;
    table.insert(xLink(QStringLiteral("someone"), QStringLiteral("1")), LocalCopy::downloading(100, 1000));
    table.insert(xLink(QStringLiteral("someone"), QStringLiteral("2")), LocalCopy::downloading(500, 1000));
    return table;
}

// The save's number, 0 for none.
int numberOf(const std::optional<Save::ID> &id)
{
    for (int n = 1; id && n <= 400; ++n) {
        if (*id == saveID(n))
            return n;
    }
    return 0;
}

// A window with a search field above the shelf, as the library window has; it counts the key
// presses that go on from the shelf to it.
struct Window : QObject {
    QWidget window;
    QLineEdit *field = new QLineEdit;
    ShelfTemplate *view = new ShelfTemplate;
    ShelfPresenter page;
    int keysPassedOn = 0;

    Window()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(view, 1);
        window.resize(1100, 800);
        window.installEventFilter(this);
        page.setView(view);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        keysPassedOn += event->type() == QEvent::KeyPress;
        return false;
    }

    void show(const QString &saves, const Filter &filter = Filter::all(), const QString &query = QString(),
              ShelfLayout layout = ShelfLayout::grid, int selected = 0)
    {
        page.setShelf(shelfOf(saves));
        page.setFilter(filter);
        page.setQuery(query);
        page.setLayout(layout);
        page.setTitle(QStringLiteral("Title"));
        page.setSelection(selected ? std::optional(saveID(selected)) : std::nullopt);
        window.show();
        QApplication::setActiveWindow(&window);
        page.refreshNow();
        surface().setFocus(Qt::OtherFocusReason);
    }
    ShelfSurface &surface() { return view->surface(); }

    // The surface's blocks as text: "hero", "header <title>", "<n> in <c>" for a collection.
    QStringList blocks()
    {
        page.refreshNow();
        QStringList out;
        for (const ShelfSurface::Block &block : surface().blocks()) {
            if (const auto *collection = std::get_if<ShelfCollection>(&block))
                out.append(QStringLiteral("%1 in %2").arg(collection->items.size()).arg(collection->columns));
            else if (SectionHeader *shown = header(block))
                out.append(QStringLiteral("header ") + shown->title());
            else
                out.append(QStringLiteral("hero"));
        }
        return out;
    }
    static SectionHeader *header(const ShelfSurface::Block &block)
    {
        const auto *widget = std::get_if<ShelfSurface::WidgetBlock>(&block);
        return widget ? qobject_cast<SectionHeader *>(widget->widget) : nullptr;
    }
    SectionHeader *header(const QString &title)
    {
        for (const ShelfSurface::Block &block : surface().blocks()) {
            if (SectionHeader *shown = header(block); shown && shown->title() == title)
                return shown;
        }
        return nullptr;
    }
};

}  // namespace

class TestShelfPresenter : public QObject {
    Q_OBJECT
private slots:
    // What counts as progress alone between two copy tables: downloads that are still under way
    // and only moved on; anything else asks for a full refresh (none).
    void progressedLinks_data()
    {
        QTest::addColumn<CopyTable>("after");
        QTest::addColumn<int>("progressed");   // -1: none, a full refresh
        const CopyTable before = progressTable();
        const PostLink one = xLink(QStringLiteral("someone"), QStringLiteral("1"));
        const PostLink two = xLink(QStringLiteral("someone"), QStringLiteral("2"));
        const PostLink three = xLink(QStringLiteral("someone"), QStringLiteral("3"));
        CopyTable moved = before;
        moved.insert(one, LocalCopy::downloading(500, 1000));
        CopyTable both = moved;
        both.insert(two, LocalCopy::downloading(900, 1000));
        CopyTable ended = before;
        ended.insert(one, LocalCopy::onThisComputer({}));
        CopyTable failed = before;
        failed.insert(one, LocalCopy::failed(DownloadFailure::unreachable));
        CopyTable began = before;
        began.insert(three, LocalCopy::downloading(0, 1000));
        CopyTable gone = before;
        gone.take(two);
        QTest::newRow("the same table") << before << 0;
        QTest::newRow("an equal table") << progressTable() << 0;
        QTest::newRow("one moved on") << moved << 1;
        QTest::newRow("two moved on") << both << 2;
        QTest::newRow("one ended") << ended << -1;
        QTest::newRow("one failed") << failed << -1;
        QTest::newRow("one began") << began << -1;
        QTest::newRow("one went") << gone << -1;
    }

    void progressedLinks()
    {
        QFETCH(CopyTable, after);
        QFETCH(int, progressed);
        const std::optional<QList<PostLink>> links = ProgressedItems::progressedLinks(progressTable(), after);
        QCOMPARE(links ? int(links->size()) : -1, progressed);
        if (links && progressed > 0)
            QCOMPARE(links->first(), xLink(QStringLiteral("someone"), QStringLiteral("1")));
    }

    void keys_data();
    void keys();
    void editCommands_data();
    void editCommands();
    void selectionTakesTheFocusAndStaysInView_data();
    void selectionTakesTheFocusAndStaysInView();
    void columnsFollowTheSelection();
    void anotherListShowsFromTheTop_data();
    void anotherListShowsFromTheTop();
    void headerButtons();
    void heroLinesUpWithHeadersAndCards_data();
    void heroLinesUpWithHeadersAndCards();
    void emptyState();
    void followingShelfShowsWhatAFreshOneShows_data();
    void followingShelfShowsWhatAFreshOneShows();
    void keptHomeShowsWhatAFreshOneShows_data();
    void keptHomeShowsWhatAFreshOneShows();
};

void TestShelfPresenter::keys_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QString>("request");   // what the page asked of the library page
    QTest::addColumn<bool>("passedOn");

    const QString home = QStringLiteral("r r r r r r r r r o o");
    const Filter all = Filter::all();
    auto row = [&](const char *name, const QString &saves, const Filter &filter, bool list, int selected, Qt::Key key,
                   int after, const char *request, bool passedOn, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::newRow(name) << saves << filter << list << selected << int(key) << modifiers << after
                            << QString::fromLatin1(request) << passedOn;
    };
    row("right with nothing selected: the hero", home, all, false, 0, Qt::Key_Right, 1, "", false);
    row("down with nothing selected: the first save", "o rf o rf", Filter::favourites(), false, 0, Qt::Key_Down, 2, "", false);
    row("a selection filtered away counts as none", "rf r rf", Filter::favourites(), false, 2, Qt::Key_Right, 1, "", false);
    row("right", home, all, false, 4, Qt::Key_Right, 5, "", false);
    row("right on the last save", home, all, false, 11, Qt::Key_Right, 11, "", false);
    row("left on the first save", home, all, false, 1, Qt::Key_Left, 1, "", false);
    row("down across three columns, hero first", home, all, false, 1, Qt::Key_Down, 4, "", false);
    row("up across three columns", home, all, false, 8, Qt::Key_Up, 5, "", false);
    row("down in the list layout", home, all, true, 1, Qt::Key_Down, 2, "", false);
    row("up in the list layout", home, all, true, 5, Qt::Key_Up, 4, "", false);
    row("shift and an arrow: not the page's", home, all, false, 4, Qt::Key_Right, 4, "", true, Qt::ShiftModifier);
    row("return: the save's action", "o r", all, false, 2, Qt::Key_Return, 2, "download 2", false);
    row("enter on the keypad", "o r", all, false, 2, Qt::Key_Enter, 2, "download 2", false, Qt::KeypadModifier);
    row("return on a trashed save: restore", "r rx", Filter::trash(), false, 2, Qt::Key_Return, 2, "restore 2", false);
    row("return with nothing selected goes on", "o r", all, false, 0, Qt::Key_Return, 0, "", true);
    row("return on a save not shown goes on", "rf r", Filter::favourites(), false, 2, Qt::Key_Return, 2, "", true);
    row("space: preview", "o r", all, false, 1, Qt::Key_Space, 1, "preview 1", false);
    row("space with nothing selected goes on", "o r", all, false, 0, Qt::Key_Space, 0, "", true);
    row("delete", "o r", all, false, 1, Qt::Key_Delete, 1, "delete", false);
    row("backspace", "o r", all, false, 1, Qt::Key_Backspace, 1, "delete", false);
    row("delete with nothing selected is still asked", "o r", all, false, 0, Qt::Key_Delete, 0, "delete", false);
    row("escape: no selection", "o r", all, false, 2, Qt::Key_Escape, 0, "", false);
    row("another key goes on", "o r", all, false, 2, Qt::Key_A, 2, "", true);
}

void TestShelfPresenter::keys()
{
    QFETCH(QString, saves);
    QFETCH(Filter, filter);
    QFETCH(bool, list);
    QFETCH(int, selected);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, selectedAfter);
    QFETCH(QString, request);
    QFETCH(bool, passedOn);

    Window w;
    w.show(saves, filter, QString(), list ? ShelfLayout::list : ShelfLayout::grid, selected);
    QStringList requests;
    connect(&w.page, &ShelfPresenter::intentRaised, this, [&](const ShelfItem &item, const SaveIntent &intent) {
        if (intent.is<SaveIntent::Preview>()) {
            requests.append(QStringLiteral("preview %1").arg(numberOf(item.save().id())));
            return;
        }
        const auto *asked = intent.as<SaveIntent::Action>();
        const bool restore = asked && std::holds_alternative<Action::Restore>(asked->action.value());
        const bool download = asked && std::holds_alternative<Action::Download>(asked->action.value());
        requests.append(QStringLiteral("%1 %2").arg(restore ? "restore" : download ? "download" : "other")
                            .arg(numberOf(item.save().id())));
    });
    connect(&w.page, &ShelfPresenter::deleteSelectionRequested, this, [&] { requests.append(QStringLiteral("delete")); });
    QSignalSpy selectionChanges(&w.page, &ShelfPresenter::selectionChanged);

    QTRY_VERIFY(w.surface().hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    QCOMPARE(numberOf(w.page.selection()), selectedAfter);
    QCOMPARE(selectionChanges.size(), selectedAfter == selected ? 0 : 1);
    QCOMPARE(requests.join(QLatin1String(", ")), request);
    QCOMPARE(w.keysPassedOn > 0, passedOn);
}

void TestShelfPresenter::editCommands_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("all");        // what Select All reports
    QTest::addColumn<QString>("clipboard");     // after Copy

    // Save n is Author<n>'s status n: the canonical address lowercases the handle.
    QTest::newRow("home: hero, recent, rest; the selected save's address")
        << "o r r o r" << Filter::all() << "" << 5 << QList<int>{1, 2, 3, 5, 4} << "https://x.com/author5/status/5";
    QTest::newRow("filtered, library order; nothing selected, nothing copied")
        << "o r r o r" << Filter::recentlyAdded() << "" << 0 << QList<int>{2, 3, 5} << "before";
    QTest::newRow("a search") << "o r r" << Filter::all() << "number 3" << 3 << QList<int>{3}
                              << "https://x.com/author3/status/3";
}

void TestShelfPresenter::editCommands()
{
    QFETCH(QString, saves);
    QFETCH(Filter, filter);
    QFETCH(QString, query);
    QFETCH(int, selected);
    QFETCH(QList<int>, all);
    QFETCH(QString, clipboard);

    Window w;
    w.show(saves, filter, query, ShelfLayout::grid, selected);
    QList<int> reported;
    connect(&w.page, &ShelfPresenter::selectAllRequested, this, [&](const QList<Save::ID> &ids) {
        for (const Save::ID &id : ids)
            reported.append(numberOf(id));
    });
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTRY_VERIFY(w.surface().hasFocus());
    // As the Edit menu does: the focused widget's slots.
    QVERIFY(MenuCommands::sendToFocus("selectAll"));
    QVERIFY(MenuCommands::sendToFocus("copy"));
    QCOMPARE(reported, all);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestShelfPresenter::selectionTakesTheFocusAndStaysInView_data()
{
    QTest::addColumn<int>("covered");   // the height of a bar laid over the shelf's top
    QTest::newRow("nothing over the shelf") << 0;
    QTest::newRow("a bar over the shelf") << 60;
}

void TestShelfPresenter::selectionTakesTheFocusAndStaysInView()
{
    QFETCH(int, covered);
    Window w;
    // As the library window pads the column below its bar.
    w.surface().setPadding({ShelfTemplate::sidePadding, ShelfTemplate::topPadding + covered, ShelfTemplate::sidePadding,
                            ShelfTemplate::bottomPadding});
    w.surface().setCoveredTop(covered);
    w.show(QString(QStringLiteral("o ")).repeated(300), Filter::linkOnly(), QString(), ShelfLayout::list);
    w.field->setFocus();
    QTRY_VERIFY(w.field->hasFocus());
    w.page.setSelection(saveID(1));
    QTRY_VERIFY(w.surface().hasFocus());
    for (int i = 0; i < 120; ++i)
        QTest::keyClick(&w.surface(), Qt::Key_Down);
    w.page.refreshNow();
    QCOMPARE(numberOf(w.page.selection()), 121);
    // Back up the list and then far away: each save lands where nothing lies over it.
    const QRectF clear = QRectF(w.surface().viewport()->rect()).adjusted(0, covered, 0, 0);
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(&w.surface(), Qt::Key_Up);
        w.page.refreshNow();
        const auto at = w.surface().find(*w.page.selection());
        QVERIFY(at && clear.contains(w.surface().itemRect(at->block, at->index)));
    }
    for (int n : {121, 1}) {
        w.page.setSelection(saveID(n));
        w.page.refreshNow();
        const auto at = w.surface().find(saveID(n));
        QVERIFY(at && clear.contains(w.surface().itemRect(at->block, at->index)));
    }
    // The home's hero, selected from far down: the column goes back to its top.
    w.page.setSelection(std::nullopt);
    w.page.setFilter(Filter::all());
    w.page.refreshNow();
    QScrollBar *bar = w.surface().verticalScrollBar();
    bar->setValue(bar->maximum());
    w.page.setSelection(saveID(1));
    w.page.refreshNow();
    QCOMPARE(bar->value(), bar->minimum());
    // Losing the selection leaves the focus where it is.
    w.field->setFocus();
    QTRY_VERIFY(w.field->hasFocus());
    w.page.setSelection(std::nullopt);
    QCoreApplication::processEvents();
    QVERIFY(w.field->hasFocus());
}

void TestShelfPresenter::anotherListShowsFromTheTop_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fromTop");
    QTest::newRow("another filter") << "filter" << true;
    QTest::newRow("a search") << "query" << true;
    QTest::newRow("another layout keeps the top save") << "layout" << false;
    QTest::newRow("a save added keeps the top save") << "shelf" << false;
}

void TestShelfPresenter::anotherListShowsFromTheTop()
{
    QFETCH(QString, change);
    QFETCH(bool, fromTop);
    QStringList words;
    for (int n = 0; n < 300; ++n)
        words.append(n % 2 ? QStringLiteral("rf") : QStringLiteral("r"));
    Window w;
    w.show(words.join(u' '), Filter::recentlyAdded());
    QScrollBar *bar = w.surface().verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const ShelfGeometry::Visible top = w.surface().visibleItems().front();
    const Save::ID first = w.surface().item(top.block, top.items.first)->save().id();
    if (change == u"filter")
        w.page.setFilter(Filter::favourites());
    else if (change == u"query")
        w.page.setQuery(QStringLiteral("post"));
    else if (change == u"layout")
        w.page.setLayout(ShelfLayout::list);
    else
        w.page.setShelf(shelfOf(words.join(u' ') + QStringLiteral(" r")));
    w.page.refreshNow();
    if (fromTop) {
        QCOMPARE(bar->value(), 0);
        return;
    }
    QVERIFY(bar->value() > 0);
    const auto at = w.surface().find(first);
    QVERIFY(at);
    const ShelfGeometry::Visible shown = w.surface().visibleItems().front();
    QCOMPARE(shown.block, at->block);
    QVERIFY2(at->index >= shown.items.first && at->index < shown.items.last, qPrintable(QStringLiteral("%1 not in %2..%3 at %4").arg(at->index).arg(shown.items.first).arg(shown.items.last).arg(bar->value())));
}

void TestShelfPresenter::columnsFollowTheSelection()
{
    Window w;
    w.show(QStringLiteral("r r r r r r o"));
    const QString recent = "header " + S::shelfRecentlyAdded(), all = "header " + S::shelfAllSaves();
    QCOMPARE(w.blocks(), (QStringList{"hero", recent, "4 in 4", all, "2 in 4"}));
    QTest::keyClick(&w.surface(), Qt::Key_Right);
    QCOMPARE(w.blocks(), (QStringList{"hero", recent, "3 in 3", all, "3 in 3"}));
    QTest::keyClick(&w.surface(), Qt::Key_Escape);
    QCOMPARE(w.blocks().at(2), QStringLiteral("4 in 4"));

    // A filtered shelf: its title and count over one collection, with the columns in a list too.
    w.page.setFilter(Filter::recentlyAdded());
    w.page.setLayout(ShelfLayout::list);
    w.page.setSelection(saveID(3));
    QCOMPARE(w.blocks(), (QStringList{"header Title", "6 in 3"}));
    QCOMPARE(w.header(QStringLiteral("Title"))->detail(), std::optional(S::shelfItemMany(6)));
}

void TestShelfPresenter::heroLinesUpWithHeadersAndCards_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<ShelfLayout>("layout");
    QTest::newRow("wide grid") << 1100 << ShelfLayout::grid;
    QTest::newRow("narrow list") << 640 << ShelfLayout::list;
}

void TestShelfPresenter::heroLinesUpWithHeadersAndCards()
{
    QFETCH(int, width);
    QFETCH(ShelfLayout, layout);
    Window w;
    w.window.resize(width, 800);
    w.show(QStringLiteral("r r r r o"), Filter::all(), QString(), layout);
    QCOMPARE(w.blocks().first(), QStringLiteral("hero"));
    QWidget *hero = std::get<ShelfSurface::WidgetBlock>(w.surface().blocks().first()).widget;
    SectionHeader *header = w.header(S::shelfRecentlyAdded());
    QVERIFY(hero && header);
    // The hero's card (inside the room for its shadow), the header and the first card share their edges.
    const QRect card = hero->contentsRect().translated(hero->pos());
    QCOMPARE(card.left(), header->geometry().left());
    QCOMPARE(card.left(), qRound(w.surface().itemRect(2, 0).left()));
    QCOMPARE(card.right(), header->geometry().right());
}

void TestShelfPresenter::headerButtons()
{
    Window w;
    w.show(QStringLiteral("r r r r r r o"));
    QSignalSpy filterChanges(&w.page, &ShelfPresenter::filterChanged);
    QSignalSpy downloads(&w.page, &ShelfPresenter::downloadMissingRequested);
    w.header(S::shelfAllSaves())->actionButton()->click();
    QCOMPARE(downloads.size(), 1);
    QCOMPARE(filterChanges.size(), 0);
    w.header(S::shelfRecentlyAdded())->actionButton()->click();
    QCOMPARE(filterChanges.size(), 1);
    QCOMPARE(w.page.filter(), Filter::recentlyAdded());
    QCOMPARE(w.blocks(), (QStringList{"header Title", "6 in 4"}));
}

// The empty state stands in the surface's place, so keys and the Edit menu cannot reach the page
// there; its commands still hold when called.
void TestShelfPresenter::emptyState()
{
    Window w;
    w.show(QString());
    QVERIFY(w.view->isEmpty());
    QCOMPARE(w.view->emptyState().title(), S::shelfEmptyTitle());
    w.page.setShelf(shelfOf(QStringLiteral("r r")));
    w.page.setQuery(QStringLiteral("nothing like it"));
    w.page.setSelection(saveID(2));
    QCOMPARE(w.blocks(), QStringList());
    QCOMPARE(w.view->emptyState().title(), S::shelfNoMatch(QStringLiteral("nothing like it")));
    QSignalSpy selectAll(&w.page, &ShelfPresenter::selectAllRequested);
    w.page.move(GridMove::down);
    QCOMPARE(numberOf(w.page.selection()), 2);
    QVERIFY(!w.page.activateSelection());
    w.page.selectAll();
    QCOMPARE(selectAll.size(), 1);
    QCOMPARE(selectAll.first().first().value<QList<Save::ID>>(), QList<Save::ID>{});
    w.page.setQuery(QString());
    QCOMPARE(w.blocks().first(), QStringLiteral("hero"));
    QVERIFY(!w.view->isEmpty());
}

void TestShelfPresenter::followingShelfShowsWhatAFreshOneShows_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("save");
    QTest::newRow("a save of the list becomes a favourite") << "r r o o o ox o" << "favourite" << 5;
    QTest::newRow("the latest becomes a favourite") << "r r o o o" << "favourite" << 1;
    QTest::newRow("a recent save becomes a favourite") << "r r r o o" << "favourite" << 2;
    QTest::newRow("a save of the list goes to the trash") << "r r o o o o" << "trash" << 4;
    QTest::newRow("the latest goes to the trash") << "r r o o" << "trash" << 1;
    QTest::newRow("a trashed save comes back") << "r o ox o" << "restore" << 3;
    QTest::newRow("a note on a save of the list") << "r o o o" << "note" << 3;
    QTest::newRow("a picture arrives") << "r o o o" << "picture" << 3;
    QTest::newRow("a save is kept") << "r o o" << "keep" << 0;
}

void TestShelfPresenter::followingShelfShowsWhatAFreshOneShows()
{
    QFETCH(QString, saves);
    QFETCH(QString, edit);
    QFETCH(int, save);
    const Shelf before = shelfOf(saves);
    ShelfPresenter page;
    page.setTitle(QStringLiteral("Title"));
    page.setShelf(before);
    (void)page.arrangement();

    Library library = before.library();
    LocalMedia media = before.localMedia();
    const Date at = before.now().addingSeconds(-10);
    if (edit == QLatin1String("favourite")) {
        library.favourite(saveID(save));
    } else if (edit == QLatin1String("trash")) {
        library.trash(saveID(save), at);
    } else if (edit == QLatin1String("restore")) {
        library.restore(saveID(save));
    } else if (edit == QLatin1String("note")) {
        library.writeNote(QStringLiteral("a note"), saveID(save));
    } else if (edit == QLatin1String("picture")) {
        CopyTable copies = media.copies();
        copies.insert(library.saves.at(save - 1).post().link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("new.jpg"), 100}}));
        media.setCopies(copies);
    } else {
        library.keep(post(xLink(QStringLiteral("Someone"), QStringLiteral("999")), {}), at, std::nullopt, saveID(99));
    }
    Shelf after(library, media, std::nullopt, before.now(), before.quality());
    after.follow(before);
    page.setShelf(after);

    const Shelf fresh(library, media, std::nullopt, before.now(), before.quality());
    const ShelfArrangement expected =
        ShelfArrangement::of(fresh, Filter::all(), QString(), QStringLiteral("Title"), page.columns());
    QCOMPARE(page.arrangement(), expected);
    QCOMPARE(page.visibleCount(), expected.items().size());
    QCOMPARE(page.visibleOrder(), expected.items());
}

// The home kept while another filter or a search shows, and its list made for the shorter row while
// a save is selected, give what a page arranging afresh gives, after each step of a row: f
// favourites, t trash, a all, q a search, c the search cleared, s a save selected, n none, e a
// new shelf with a save of the list trashed.
void TestShelfPresenter::keptHomeShowsWhatAFreshOneShows_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("away and back") << "f a t a";
    QTest::newRow("a search and back") << "q c q c";
    QTest::newRow("selected, let go, selected") << "s n s n s";
    QTest::newRow("selected, away, back") << "s f a n";
    QTest::newRow("a new shelf while away") << "f e a";
    QTest::newRow("a new shelf while selected") << "s e n s";
}

void TestShelfPresenter::keptHomeShowsWhatAFreshOneShows()
{
    QFETCH(QString, steps);
    const QString saves = QStringLiteral("r r r r r r o o o o");
    Shelf shelf = shelfOf(saves);
    ShelfPresenter page;
    page.setTitle(QStringLiteral("Title"));
    page.setShelf(shelf);
    (void)page.arrangement();
    for (const QString &step : steps.split(u' ')) {
        const QChar c = step.at(0);
        if (c == u'f' || c == u't' || c == u'a')
            page.setFilter(c == u'f' ? Filter::favourites() : c == u't' ? Filter::trash() : Filter::all());
        else if (c == u'q' || c == u'c')
            page.setQuery(c == u'q' ? QStringLiteral("number") : QString());
        else if (c == u's' || c == u'n')
            page.setSelection(c == u's' ? std::optional(saveID(3)) : std::nullopt);
        else if (c == u'e') {
            Library library = shelf.library();
            library.trash(saveID(8), shelf.now().addingSeconds(-10));
            Shelf next(library, shelf.localMedia(), std::nullopt, shelf.now(), shelf.quality());
            next.follow(shelf);
            shelf = next;
            page.setShelf(shelf);
        }
        const ShelfArrangement expected =
            ShelfArrangement::of(shelf, page.filter(), page.query(), QStringLiteral("Title"), page.columns());
        QVERIFY2(page.arrangement() == expected, qPrintable(step));
        QCOMPARE(page.visibleOrder(), expected.items());
    }
}

QTEST_MAIN(TestShelfPresenter)
#include "tst_shelfpresenter.moc"
