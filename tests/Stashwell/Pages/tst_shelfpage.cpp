// The shelf page on its view: each key sent to the focused shelf (as rows), the Edit menu's Select
// All and Copy reaching it through the focused widget, the selection taking the focus and staying
// in view, the columns following the selection, the headers' buttons, and the empty state.

#include "Gallery.h"
#include "ShelfWords.h"
#include "Stashwell/Pages/Shelf/ShelfPage.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/SectionHeader.h"
#include "StashwellUI/Controls/TextButton.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::Filter)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

// The saves' numbers, 0 for none.
int numberOf(const std::optional<Save::ID> &id)
{
    for (int n = 1; id && n <= 400; ++n) {
        if (*id == saveID(n))
            return n;
    }
    return 0;
}

// A window with a search field above the shelf, as the library window has.
struct Window {
    QWidget window;
    QLineEdit *field = new QLineEdit;
    ShelfTemplate *view = new ShelfTemplate;
    ShelfPage page;
    int keysPassedOn = 0;   // keys that went on from the shelf to the window

    Window()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(view, 1);
        window.resize(1100, 800);
        page.setView(view);
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
        QCoreApplication::processEvents();
    }

    ShelfSurface &surface() { return view->surface(); }
    void focusShelf() { surface().setFocus(Qt::OtherFocusReason); }

    // The surface's blocks as text: "header <title>", "hero", "<n> items in <c> columns".
    QStringList blocks()
    {
        QStringList out;
        for (const ShelfSurface::Block &block : surface().blocks()) {
            if (const auto *collection = std::get_if<ShelfCollection>(&block)) {
                out.append(QStringLiteral("%1 items in %2 columns").arg(collection->items.size()).arg(collection->columns));
            } else if (auto *header = qobject_cast<SectionHeader *>(std::get<ShelfSurface::WidgetBlock>(block).widget)) {
                out.append(QStringLiteral("header ") + header->title());
            } else {
                out.append(QStringLiteral("hero"));
            }
        }
        return out;
    }

    SectionHeader *header(const QString &title)
    {
        for (const ShelfSurface::Block &block : surface().blocks()) {
            if (const auto *widget = std::get_if<ShelfSurface::WidgetBlock>(&block)) {
                auto *header = qobject_cast<SectionHeader *>(widget->widget);
                if (header && header->title() == title)
                    return header;
            }
        }
        return nullptr;
    }
};

// Counts the key presses that reach a widget.
class KeyWatch : public QObject {
public:
    int presses = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
};

}  // namespace

class TestShelfPage : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void selectAll_data();
    void selectAll();
    void copy_data();
    void copy();
    void selectionTakesTheFocus();
    void selectionStaysInView();
    void columnsFollowTheSelection();
    void headerButtons();
    void emptyState();
    void commandsOnAnEmptyShelf();
    void gallery_data();
    void gallery();
};

void TestShelfPage::keys_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<bool>("list");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QString>("request");    // what the page asked of the library page
    QTest::addColumn<bool>("passedOn");

    const QString home = QStringLiteral("r r r r r r r r r o o");
    const Filter all = Filter::all();
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    auto row = [&](const char *name, const QString &saves, const Filter &filter, bool list, int selected, Qt::Key key,
                   int after, const QString &request, bool passedOn, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::newRow(name) << saves << filter << list << selected << int(key) << modifiers << after << request << passedOn;
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
    row("return: the save's action", "o r", all, false, 2, Qt::Key_Return, 2, "action download of 2", false);
    row("enter on the keypad", "o r", all, false, 2, Qt::Key_Enter, 2, "action download of 2", false,
        Qt::KeypadModifier);
    row("return on a trashed save: restore", "r rx", Filter::trash(), false, 2, Qt::Key_Return, 2, "action restore of 2",
        false);
    row("return with nothing selected goes on", "o r", all, false, 0, Qt::Key_Return, 0, "", true);
    row("return on a save not shown goes on", "rf r", Filter::favourites(), false, 2, Qt::Key_Return, 2, "", true);
    row("space: preview", "o r", all, false, 1, Qt::Key_Space, 1, "preview of 1", false);
    row("space with nothing selected goes on", "o r", all, false, 0, Qt::Key_Space, 0, "", true);
    row("delete", "o r", all, false, 1, Qt::Key_Delete, 1, "delete", false);
    row("backspace", "o r", all, false, 1, Qt::Key_Backspace, 1, "delete", false);
    row("delete with nothing selected is still asked", "o r", all, false, 0, Qt::Key_Delete, 0, "delete", false);
    row("escape: no selection", "o r", all, false, 2, Qt::Key_Escape, 0, "", false);
    row("another key goes on", "o r", all, false, 2, Qt::Key_A, 2, "", true);
}

void TestShelfPage::keys()
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
    KeyWatch watch;
    w.window.installEventFilter(&watch);
    QStringList requests;
    connect(&w.page, &ShelfPage::actionRequested, this, [&](const ShelfItem &item, const Action &action) {
        const char *name = std::holds_alternative<Action::Restore>(action.value())    ? "restore"
                           : std::holds_alternative<Action::Download>(action.value()) ? "download"
                                                                                       : "other";
        requests.append(QStringLiteral("action %1 of %2").arg(QLatin1String(name)).arg(numberOf(item.save().id())));
    });
    connect(&w.page, &ShelfPage::previewRequested, this,
            [&](const ShelfItem &item) { requests.append(QStringLiteral("preview of %1").arg(numberOf(item.save().id()))); });
    connect(&w.page, &ShelfPage::deleteSelectionRequested, this, [&] { requests.append(QStringLiteral("delete")); });
    QSignalSpy selectionChanges(&w.page, &ShelfPage::selectionChanged);

    w.focusShelf();
    QTRY_VERIFY(w.surface().hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);

    QCOMPARE(numberOf(w.page.selection()), selectedAfter);
    QCOMPARE(selectionChanges.size(), selectedAfter == selected ? 0 : 1);
    QCOMPARE(requests.join(QLatin1String(", ")), request);
    QCOMPARE(watch.presses > 0, passedOn);
}

void TestShelfPage::selectAll_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QList<int>>("ids");

    QTest::newRow("home: hero, recent, rest") << "o r r o r" << Filter::all() << "" << QList<int>{1, 2, 3, 5, 4};
    QTest::newRow("filtered, library order") << "o r r o r" << Filter::recentlyAdded() << "" << QList<int>{2, 3, 5};
    QTest::newRow("a search") << "o r r" << Filter::all() << "number 3" << QList<int>{3};
}

void TestShelfPage::selectAll()
{
    QFETCH(QString, saves);
    QFETCH(Filter, filter);
    QFETCH(QString, query);
    QFETCH(QList<int>, ids);

    Window w;
    w.show(saves, filter, query);
    QList<QList<Save::ID>> reports;
    connect(&w.page, &ShelfPage::selectAllRequested, this, [&](const QList<Save::ID> &list) { reports.append(list); });
    w.focusShelf();
    QTRY_VERIFY(w.surface().hasFocus());
    // What the Edit menu's Select All does: the focused widget's slot of that name.
    QVERIFY(QMetaObject::invokeMethod(QApplication::focusWidget(), "selectAll"));

    QCOMPARE(reports.size(), 1);
    QList<int> numbers;
    for (const Save::ID &id : reports.first())
        numbers.append(numberOf(id));
    QCOMPARE(numbers, ids);
}

void TestShelfPage::copy_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("clipboard");
    // Save 2 is author2's status 2, written "Author2" by its handle: the address lowercases it.
    QTest::newRow("the selected post's canonical address") << 2 << "https://x.com/author2/status/2";
    QTest::newRow("nothing selected: nothing copied") << 0 << "before";
}

void TestShelfPage::copy()
{
    QFETCH(int, selected);
    QFETCH(QString, clipboard);

    Window w;
    w.show(QStringLiteral("r r r"), Filter::all(), QString(), ShelfLayout::grid, selected);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    w.focusShelf();
    QTRY_VERIFY(w.surface().hasFocus());
    QVERIFY(QMetaObject::invokeMethod(QApplication::focusWidget(), "copy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestShelfPage::selectionTakesTheFocus()
{
    Window w;
    w.show(QStringLiteral("r r r"));
    w.field->setFocus();
    QTRY_VERIFY(w.field->hasFocus());
    w.page.setSelection(saveID(2));
    QTRY_VERIFY(w.surface().hasFocus());
    // Losing the selection leaves the focus where it is.
    w.field->setFocus();
    QTRY_VERIFY(w.field->hasFocus());
    w.page.setSelection(std::nullopt);
    QCoreApplication::processEvents();
    QVERIFY(w.field->hasFocus());
}

void TestShelfPage::selectionStaysInView()
{
    Window w;
    QString saves;
    for (int i = 0; i < 300; ++i)
        saves += QStringLiteral("o ");
    // A long list: every save of a filter, in rows.
    w.show(saves, Filter::linkOnly(), QString(), ShelfLayout::list, 1);
    w.focusShelf();
    QTRY_VERIFY(w.surface().hasFocus());
    for (int i = 0; i < 120; ++i)
        QTest::keyClick(&w.surface(), Qt::Key_Down);
    w.page.refreshNow();
    QCOMPARE(numberOf(w.page.selection()), 121);
    const auto hit = w.surface().find(saveID(121));
    QVERIFY(hit);
    const QRectF shown = w.surface().itemRect(hit->block, hit->index);
    QVERIFY2(QRectF(w.surface().viewport()->rect()).contains(shown), "the selected row is out of view");
    QVERIFY(w.surface().verticalScrollBar()->value() > 0);

    // And back to the top through the page's own change of selection.
    w.page.setSelection(saveID(1));
    w.page.refreshNow();
    const auto first = w.surface().find(saveID(1));
    QVERIFY(QRectF(w.surface().viewport()->rect()).contains(w.surface().itemRect(first->block, first->index)));
}

void TestShelfPage::columnsFollowTheSelection()
{
    Window w;
    w.show(QStringLiteral("r r r r r r o"));
    const QString recent = StashwellStrings::shelfRecentlyAdded();
    const QString all = StashwellStrings::shelfAllSaves();
    QCOMPARE(w.blocks(), (QStringList{"hero", "header " + recent, "4 items in 4 columns", "header " + all,
                                      "2 items in 4 columns"}));
    w.focusShelf();
    QTest::keyClick(&w.surface(), Qt::Key_Right);
    w.page.refreshNow();
    QCOMPARE(w.page.columns(), 3);
    QCOMPARE(w.blocks(), (QStringList{"hero", "header " + recent, "3 items in 3 columns", "header " + all,
                                      "3 items in 3 columns"}));
    QTest::keyClick(&w.surface(), Qt::Key_Escape);
    w.page.refreshNow();
    QCOMPARE(w.blocks().at(2), QStringLiteral("4 items in 4 columns"));

    // A filtered shelf: its title and count over one collection, in the list layout too.
    w.page.setFilter(Filter::recentlyAdded());
    w.page.setLayout(ShelfLayout::list);
    w.page.setSelection(saveID(3));
    w.page.refreshNow();
    QCOMPARE(w.blocks(), (QStringList{"header Title", "6 items in 3 columns"}));
    QCOMPARE(w.header(QStringLiteral("Title"))->detail(), std::optional(StashwellStrings::shelfItemMany(6)));
}

void TestShelfPage::headerButtons()
{
    Window w;
    w.show(QStringLiteral("r r r r r r o"));
    QSignalSpy filterChanges(&w.page, &ShelfPage::filterChanged);
    QSignalSpy downloads(&w.page, &ShelfPage::downloadMissingRequested);

    SectionHeader *all = w.header(StashwellStrings::shelfAllSaves());
    QVERIFY(all && all->actionButton());
    all->actionButton()->click();
    QCOMPARE(downloads.size(), 1);
    QCOMPARE(filterChanges.size(), 0);

    SectionHeader *recent = w.header(StashwellStrings::shelfRecentlyAdded());
    QVERIFY(recent && recent->actionButton());
    recent->actionButton()->click();
    QCOMPARE(filterChanges.size(), 1);
    QCOMPARE(w.page.filter(), Filter::recentlyAdded());
    w.page.refreshNow();
    QCOMPARE(w.blocks(), (QStringList{"header Title", "6 items in 4 columns"}));
}

void TestShelfPage::emptyState()
{
    Window w;
    w.show(QString());
    QVERIFY(w.view->isEmpty());
    QCOMPARE(w.view->emptyState().title(), StashwellStrings::shelfEmptyTitle());
    w.page.setShelf(shelfOf(QStringLiteral("r r")));
    w.page.setQuery(QStringLiteral("nothing like it"));
    w.page.refreshNow();
    QVERIFY(w.view->isEmpty());
    QCOMPARE(w.view->emptyState().title(), StashwellStrings::shelfNoMatch(QStringLiteral("nothing like it")));
    w.page.setQuery(QString());
    w.page.refreshNow();
    QVERIFY(!w.view->isEmpty());
    QCOMPARE(w.blocks().first(), QStringLiteral("hero"));
}

// The empty state stands in the surface's place, so the keys and the Edit menu cannot reach the
// page there; its commands still hold when called.
void TestShelfPage::commandsOnAnEmptyShelf()
{
    Window w;
    w.show(QStringLiteral("o r"), Filter::trash(), QString(), ShelfLayout::grid, 2);
    QVERIFY(w.view->isEmpty());
    QList<QList<Save::ID>> reports;
    connect(&w.page, &ShelfPage::selectAllRequested, this, [&](const QList<Save::ID> &list) { reports.append(list); });
    w.page.move(GridMove::down);
    QCOMPARE(numberOf(w.page.selection()), 2);
    QVERIFY(!w.page.activateSelection());
    w.page.selectAll();
    QCOMPARE(reports, QList<QList<Save::ID>>{QList<Save::ID>{}});
}

void TestShelfPage::gallery_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<int>("selected");
    QTest::newRow("shelfpage-home") << "r rh rw r rh r o oh o" << Filter::all() << 0;
    QTest::newRow("shelfpage-home-selected") << "r rh rw r rh r o oh o" << Filter::all() << 3;
    QTest::newRow("shelfpage-filtered") << "rf r rfh o of" << Filter::favourites() << 0;
    QTest::newRow("shelfpage-empty") << "r" << Filter::trash() << 0;
}

void TestShelfPage::gallery()
{
    QFETCH(QString, saves);
    QFETCH(Filter, filter);
    QFETCH(int, selected);
    Window w;
    w.show(saves, filter, QString(), ShelfLayout::grid, selected);
    w.view->resize(1000, 900);
    w.page.refreshNow();
    QCoreApplication::processEvents();
    QString why;
    QVERIFY2(gallery::captureAndCheck(*w.view, QString::fromLatin1(QTest::currentDataTag()), &why), qPrintable(why));
}

QTEST_MAIN(TestShelfPage)
#include "tst_shelfpage.moc"
