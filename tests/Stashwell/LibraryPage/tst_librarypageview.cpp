// The library page's widgets over the controller: each column shows the page's state after one
// turn, and each request of the views reaches the page (the sidebar's filter and drops, the bar's
// search and layout, the shelf's clicks with their modifiers, the inspector's intents, the bulk
// panel, the toast's Undo, the creator, the player sheet, links dropped on the window). Pictures of
// the window in every look go to the gallery.

#include "AwaitTask.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Gallery.h"
#include "PageRig.h"

#include "Stashwell/Pages/Library/LibraryDialogs.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Presenters/ShelfPresenter.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Inspector/BulkPanel.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/PlayerSheet.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"
#include "StashwellUI/Sidebar/CollectionCreator.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Toasts/ToastBubble.h"
#include "StashwellUI/Toasts/ToastOverlay.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"
#include "StashwellUI/Window/StatusBar.h"

#include <QDialog>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

using S = StashwellStrings;

Q_DECLARE_METATYPE(sw::Filter)

namespace {

Library sample()
{
    QList<Save> saves;
    saves.append(makeSave(SaveSpec(1, videoPost(QStringLiteral("1")), 799990000).favourite()));
    saves.append(makeSave(SaveSpec(2, imagePost(QStringLiteral("2")), 799980000).filed(collectionID(1))));
    saves.append(makeSave(3, postOnX(QStringLiteral("writer"), QStringLiteral("3"), QStringLiteral("A red kite over the hill")), 799970000));
    saves.append(makeSave(4, pageAt(QStringLiteral("https://news.example.com/story"), QStringLiteral("A story")), 799960000));
    saves.append(makeSave(SaveSpec(5, textPost(QStringLiteral("5")), 799950000).trashed(799995000)));
    return libraryOf(saves, {collection(1, QStringLiteral("Trips")), collection(2, QStringLiteral("Recipes"), Swatch::green)});
}

// A post with a preview, which the covers folder lacks.
Post coverPost(const QString &digits)
{
    return fixtures::post(xLink(QStringLiteral("someone"), digits), {},
                          QStringLiteral("https://pbs.example.com/%1.jpg").arg(digits));
}

// Records, at each paint of a widget, what `probe` says then.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget *widget, std::function<bool()> probe) : m_probe(std::move(probe)) { widget->installEventFilter(this); }
    QList<bool> seen;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            seen.append(m_probe());
        return false;
    }

private:
    std::function<bool()> m_probe;
};

struct Window {
    PageRig rig;
    LibraryPageView view;

    explicit Window(Library library = sample(), CopyTable copies = {})
        : rig(std::move(library), std::move(copies)), view(*rig.page)
    {
        view.resize(1280, 800);
        view.show();
        turn();
    }

    void turn()
    {
        QCoreApplication::processEvents();
        view.refreshNow();
    }
};

}  // namespace

class LibraryPageViewTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    void theColumnsShowThePage()
    {
        Window w;
        QCOMPARE(w.view.bar().title(), S::titleAllSaves());
        QCOMPARE(w.view.bar().subtitle(), S::titleSavedCount(4));
        QCOMPARE(w.view.sidebar().selection(), Filter::all());
        QCOMPARE(w.view.sidebar().content().count(Filter::trash()), qsizetype(1));
        QVERIFY(!w.view.frame().showsInspector());
        QVERIFY(w.view.emptyTrashButton().isHidden());
        // The bar lies over the shelf's top: what the shelf brings into view comes below it.
        QVERIFY(w.view.frame().contentSafeAreaInsets().top() > 0);
        QCOMPARE(w.view.content().surface().coveredTop(), double(w.view.frame().contentSafeAreaInsets().top()));

        w.rig.page->setFilter(Filter::trash());
        w.turn();
        QCOMPARE(w.view.bar().title(), S::titleTrash());
        QCOMPARE(w.view.bar().subtitle(), S::titleSavedCount(1));
        QCOMPARE(w.view.sidebar().selection(), Filter::trash());
        QVERIFY(!w.view.emptyTrashButton().isHidden());
        w.view.emptyTrashButton().click();
        QVERIFY(w.rig.page->dialogs().emptyingTrash());
        QVERIFY(settle([&] { return w.view.dialogs().shown() == LibraryDialogs::Kind::emptyTrash; }));
        w.view.dialogs().cancelButton()->click();
        QVERIFY(!w.rig.page->dialogs().emptyingTrash());
    }

    void theSidebarAndTheBarReachThePage()
    {
        Window w;
        emit w.view.sidebar().selectionChanged(Filter::favourites());
        QCOMPARE(w.rig.page->filter(), Filter::favourites());
        w.turn();
        QCOMPARE(w.view.bar().subtitle(), S::titleSavedCount(1));

        w.rig.page->setFilter(Filter::all());
        w.turn();
        QTest::keyClicks(w.view.bar().searchField().lineEdit(), QStringLiteral("kite"));
        QCOMPARE(w.rig.page->query(), QStringLiteral("kite"));
        w.turn();
        QCOMPARE(w.view.bar().subtitle(), S::titleSavedCount(1));
        QCOMPARE(w.view.shelfPresenter().query(), QStringLiteral("kite"));

        emit w.view.bar().layoutChosen(ShelfLayout::list);
        QCOMPARE(w.rig.page->layout(), ShelfLayout::list);
        w.turn();
        QCOMPARE(w.view.shelfPresenter().layout(), ShelfLayout::list);

        // Ctrl+F from the Router puts the focus in the search field.
        w.view.sidebar().setFocus();
        w.rig.router.requestFind();
        QVERIFY(settle([&] { return w.view.bar().isSearchFocused(); }));

        emit w.view.bar().saveLinkRequested();
        QCOMPARE(w.rig.router.savingLink(), QString());
    }

    // A click on a sidebar row shows its own feedback and the shelf it picks in one frame: the
    // row paints nothing before the page has taken the filter in (its press is not painted at
    // once, and the page's turn comes ahead of the window's paint).
    void aFilterClickShowsItsShelfInTheFirstFrame()
    {
        Window w;
        SidebarRow *row = nullptr;
        for (SidebarRow *candidate : w.view.sidebar().findChildren<SidebarRow *>())
            if (candidate->title() == StashwellUIStrings::sidebarFavourites())
                row = candidate;
        QVERIFY(row);
        QTest::qWait(20);   // what the first turn left to paint is painted
        PaintWatch watch(row, [&] { return w.view.bar().subtitle() == S::titleSavedCount(1); });
        QTest::mouseClick(row, Qt::LeftButton, {}, row->rect().center());
        QCOMPARE(w.rig.page->filter(), Filter::favourites());
        QVERIFY(settle([&] { return !watch.seen.isEmpty() && w.view.bar().subtitle() == S::titleSavedCount(1); }));
        QVERIFY2(!watch.seen.contains(false), "the row was painted before the shelf took the filter");
    }

    void clicksWithModifiersAndTheInspector()
    {
        Window w;
        emit w.view.shelfPresenter().intentRaised(w.rig.item(2), SaveIntent::select());
        QCOMPARE(w.rig.page->selection().current(), saveID(2));
        w.turn();
        QVERIFY(w.view.frame().showsInspector());
        QVERIFY(w.view.inspector());
        QCOMPARE(w.view.inspector()->item().save().id(), saveID(2));
        QCOMPARE(w.view.shelfPresenter().selection(), saveID(2));

        // The inspector's intent reaches the page with its item.
        emit w.view.inspector()->intentRaised(saveID(2), SaveIntent::favourite());
        QVERIFY(w.rig.save(2).isFavourite());
        // An intent of a save no longer shown is dropped.
        emit w.view.inspector()->intentRaised(saveID(3), SaveIntent::favourite());
        QVERIFY(!w.rig.save(3).isFavourite());

        // Ctrl-click: the bulk panel. The modifiers come with the click, whatever the keyboard holds.
        emit w.view.shelfPresenter().intentRaised(w.rig.item(3), SaveIntent::select(Qt::ControlModifier));
        w.turn();
        QCOMPARE(w.rig.page->selection().chosen().size(), qsizetype(2));
        QVERIFY(w.view.bulkPanel());
        QVERIFY(!w.view.inspector());
        QCOMPARE(w.view.bulkPanel()->items().size(), qsizetype(2));
        QCOMPARE(w.view.shelfPresenter().highlighted(), w.rig.page->selection().chosen());
        emit w.view.bulkPanel()->trashRequested();
        QVERIFY(w.rig.save(2).isTrashed());
        QVERIFY(w.rig.save(3).isTrashed());
        w.turn();
        QVERIFY(!w.view.frame().showsInspector());

        // Closing from the inspector clears the selection.
        w.rig.page->selection().setCurrent(saveID(1));
        w.turn();
        emit w.view.inspector()->intentRaised(saveID(1), SaveIntent::close());
        QVERIFY(!w.rig.page->selection().current());
        w.turn();
        QVERIFY(!w.view.frame().showsInspector());
    }

    void theCreatorFollowsTheDraft()
    {
        Window w;
        w.rig.page->drafting().newCollection();
        w.turn();
        QVERIFY(w.view.sidebar().showsCreator());
        QVERIFY(!w.view.creator().canCreate());
        emit w.view.creator().nameChanged(QStringLiteral("recipes"));
        QCOMPARE(w.rig.page->drafting().draft()->name, QStringLiteral("recipes"));
        w.turn();
        QVERIFY(!w.view.creator().canCreate());
        QVERIFY(w.view.creator().showsProblem());
        emit w.view.creator().nameChanged(QStringLiteral("Reading"));
        w.turn();
        QVERIFY(w.view.creator().canCreate());
        emit w.view.creator().createRequested();
        QVERIFY(!w.rig.page->drafting().draft());
        w.turn();
        QVERIFY(!w.view.sidebar().showsCreator());
        QCOMPARE(w.view.bar().title(), QStringLiteral("Reading"));
    }

    void thePlayerSheet()
    {
        Window w(sample(), copies({{xLink(QStringLiteral("someone"), QStringLiteral("1")),
                                    LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_1.mp4"), 2000}})}}));
        w.rig.page->handle(SaveIntent::action(Action::play()), w.rig.item(1));
        w.turn();
        QVERIFY(w.view.playerDialog());
        QVERIFY(settle([&] { return w.view.playerDialog() && w.view.playerDialog()->isVisible(); }));
        QCOMPARE(w.view.playerSheet()->file(), w.rig.mediaUrl(QStringLiteral("someone_1.mp4")));
        emit w.view.playerSheet()->revealRequested();
        QCOMPARE(w.rig.revealed.size(), qsizetype(1));
        emit w.view.playerSheet()->closeRequested();
        QVERIFY(!w.rig.page->player().playing());
        w.turn();
        QVERIFY(!w.view.playerDialog());
    }

    // Steps of a download's progress reach the window item by item, without a new projection
    // worked out whole; after them every column holds what a full refresh of the same library shows.
    void progressRenewsOnlyTheSavesItTouched_data()
    {
        QTest::addColumn<Filter>("filter");
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("selected");
        QTest::newRow("home") << Filter::all() << QString() << 0;
        QTest::newRow("home, the save in the inspector") << Filter::all() << QString() << 2;
        QTest::newRow("home, another save in the inspector") << Filter::all() << QString() << 3;
        QTest::newRow("a collection") << Filter::collection(collectionID(1)) << QString() << 2;
        QTest::newRow("a search") << Filter::all() << QStringLiteral("someone") << 0;
    }

    void progressRenewsOnlyTheSavesItTouched()
    {
        QFETCH(Filter, filter);
        QFETCH(QString, query);
        QFETCH(int, selected);
        Window w;
        LibraryPage &page = *w.rig.page;
        page.setFilter(filter);
        page.setQuery(query);
        if (selected)
            page.selection().setCurrent(saveID(selected));
        w.turn();
        QSignalSpy full(&page, &LibraryPage::shelfChanged);
        QSignalSpy items(&page, &LibraryPage::itemsChanged);
        QCoro::Task<> task = page.downloads().download(w.rig.item(2));
        QVERIFY(settle([&] { return !w.rig.core.downloader->calls.isEmpty() && !full.isEmpty(); }));
        w.turn();
        full.clear();
        for (int step = 1; step <= 4; ++step) {
            w.rig.core.downloader->send(0, Transfer::progress(200 * step));
            QVERIFY(settle([&] { return items.size() == step; }));
            w.turn();
        }
        QCOMPARE(full.size(), 0);

        LibraryPage::Desktop desktop;
        desktop.homePath = [&] { return w.rig.core.dir.path(); };
        LibraryPage fresh(w.rig.curator(), w.rig.router, nullptr, desktop);
        fresh.setFilter(filter);
        fresh.setQuery(query);
        if (selected)
            fresh.selection().setCurrent(saveID(selected));
        QCOMPARE(page.matchingItems(), fresh.matchingItems());
        QCOMPARE(page.visibleItems(), fresh.visibleItems());
        QCOMPARE(page.sidebarContent(), fresh.sidebarContent());
        QCOMPARE(page.status(), fresh.status());
        QCOMPARE(page.selection().currentItem(), fresh.selection().currentItem());
        ShelfPresenter shown;
        shown.setShelf(fresh.shelf());
        shown.setFilter(filter);
        shown.setQuery(query);
        shown.setSelection(fresh.selection().current());
        shown.setTitle(w.view.shelfPresenter().title());
        QCOMPARE(w.view.shelfPresenter().arrangement(), shown.arrangement());
        QCOMPARE(w.view.shelfPresenter().visibleOrder(), shown.visibleOrder());
        if (selected) {
            QVERIFY(w.view.inspector());
            QCOMPARE(w.view.inspector()->item(), *fresh.selection().currentItem());
        }
        // The save's card shows the last step.
        const QList<ShelfItem> &order = w.view.shelfPresenter().visibleOrder();
        const auto downloading = std::find_if(order.begin(), order.end(),
                                              [](const ShelfItem &item) { return item.save().id() == saveID(2); });
        if (downloading != order.end())
            QCOMPARE(downloading->action(), Action::downloading(0.8));

        // The download's end is more than progress: everything is refreshed.
        w.rig.core.downloader->play(0, TransferScript::arriving(1000));
        QVERIFY(awaitTask(std::move(task)));
        QVERIFY(settle([&] { return !full.isEmpty(); }));
    }

    // The page's work that the first frame does not need (the covers, the Curator's held
    // preparation) begins after the window's first paint, in a later turn, once.
    void theFirstFrameIsDrawnBeforeTheWorkItDoesNotNeed()
    {
        PageRig rig(libraryOf({makeSave(1, coverPost(QStringLiteral("1")), 1)}));
        rig.curator().holdPreparation();
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(new LibraryPageView(*rig.page));
        PaintWatch watch(&window, [&] { return rig.page->hasShownFirstFrame(); });
        window.resize(1000, 700);
        window.show();
        QVERIFY(settle([&] { return !watch.seen.isEmpty() && rig.page->hasShownFirstFrame(); }));
        // At the first paint nothing had begun.
        QCOMPARE(watch.seen.first(), false);
        QVERIFY(!rig.curator().isPreparationHeld());
        QVERIFY(settle([&] { return rig.core.downloader->calls.size() == 1; }));
        // Later paints begin nothing again.
        window.hide();
        window.show();
        window.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(rig.core.downloader->calls.size(), qsizetype(1));
    }

    // A view that draws its first frame before the library is counted: that frame shows the
    // sidebar's rows and collections without numbers and a blank shelf (never its empty state);
    // the counts, the home list and the status follow as soon as it is on screen, as a view
    // that counts at once shows them from the start.
    void theFirstFrameGoesWithoutTheCounts_data()
    {
        QTest::addColumn<bool>("countsFirst");
        QTest::newRow("counts before the first frame") << true;
        QTest::newRow("counts after the first frame") << false;
    }

    void theFirstFrameGoesWithoutTheCounts()
    {
        QFETCH(bool, countsFirst);
        PageRig rig(sample());
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *view = new LibraryPageView(*rig.page, nullptr,
                                         countsFirst ? LibraryPageView::FirstFrame::complete
                                                     : LibraryPageView::FirstFrame::countsAfterFirstFrame);
        layout->addWidget(view);
        const auto counted = [&] {
            return view->sidebar().content().count(Filter::all()) == std::optional<qsizetype>(4)
                && view->shelfPresenter().visibleCount() == 4;
        };
        const auto blank = [&] {
            const SidebarContent &shown = view->sidebar().content();
            return shown.counts.isEmpty() && shown.authors.isEmpty() && shown.collections.size() == 2
                && view->shelfPresenter().visibleCount() == 0 && !view->content().isEmpty()
                && view->bar().title() == S::titleAllSaves();
        };
        QCOMPARE(counted(), countsFirst);
        QCOMPARE(blank(), !countsFirst);
        // What each paint of the window showed.
        PaintWatch watch(&window, [&] { return counted(); });
        window.resize(1000, 700);
        window.show();
        QVERIFY(settle([&] { return !watch.seen.isEmpty() && rig.page->hasShownFirstFrame(); }));
        QCOMPARE(watch.seen.first(), countsFirst);
        QVERIFY(settle(counted));
        QCOMPARE(view->sidebar().content(), rig.page->sidebarContent());
        QVERIFY(!view->content().isEmpty());
    }

    // The window has painted, and the page (with its view) goes before the next turn: the work
    // that was to follow is not done on it.
    void aPageGoneBeforeTheFrameWorkIsNotTouched_data()
    {
        QTest::addColumn<bool>("pageStays");
        QTest::newRow("the page stays") << true;
        QTest::newRow("the page goes") << false;
    }

    void aPageGoneBeforeTheFrameWorkIsNotTouched()
    {
        QFETCH(bool, pageStays);
        PageRig rig(libraryOf({makeSave(1, coverPost(QStringLiteral("1")), 1)}));
        auto window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        layout->addWidget(new LibraryPageView(*rig.page));
        window->show();
        // The window's paint as the backing store sends it, before any turn of the loop.
        QPaintEvent paint(window->rect());
        QCoreApplication::sendEvent(window.get(), &paint);
        QVERIFY(!rig.page->hasShownFirstFrame());
        if (!pageStays) {
            window.reset();
            rig.page.reset();
        }
        if (pageStays) {
            QVERIFY(settle([&] { return rig.core.downloader->calls.size() == 1; }));
            QVERIFY(rig.page->hasShownFirstFrame());
            return;
        }
        for (int turn = 0; turn < 5; ++turn)
            QCoreApplication::processEvents();
        QVERIFY(rig.core.downloader->calls.isEmpty());
    }

    void linksDroppedOnTheWindow_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("request");
        QTest::newRow("a link") << QList<QUrl>{QUrl(QStringLiteral("https://x.com/a/status/7"))} << QString()
                                << QStringLiteral("https://x.com/a/status/7");
        QTest::newRow("text that reads as a link") << QList<QUrl>{} << QStringLiteral("  https://example.com/page \n")
                                                   << QStringLiteral("https://example.com/page");
        QTest::newRow("a file, then a link")
            << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/x")), QUrl(QStringLiteral("https://a.example/1")),
                           QUrl(QStringLiteral("https://b.example/2"))}
            << QString() << QStringLiteral("https://a.example/1");
        QTest::newRow("a file") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/x"))} << QString() << QString();
        QTest::newRow("plain text") << QList<QUrl>{} << QStringLiteral("hello there") << QString();
    }

    void linksDroppedOnTheWindow()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(QString, request);
        Window w;
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        const QPoint at(400, 300);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w.view, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w.view, &drop);
        QCOMPARE(drop.isAccepted(), !request.isEmpty());
        QCOMPARE(w.rig.router.savingLink().value_or(QString()), request);
    }

    void gallery()
    {
        Window w(sample(), copies({{xLink(QStringLiteral("someone"), QStringLiteral("1")),
                                    LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_1.mp4"), 2000}})},
                                   {xLink(QStringLiteral("someone"), QStringLiteral("2")), LocalCopy::downloading(300, 1000)}}));
        QString why;
        QVERIFY2(gallery::captureAndCheck(w.view, QStringLiteral("librarypage-home"), &why), qPrintable(why));
        w.rig.page->selection().pick(saveID(2), Qt::NoModifier);
        w.rig.page->trash(saveID(4));
        w.turn();
        QVERIFY2(gallery::captureAndCheck(w.view, QStringLiteral("librarypage-inspector"), &why), qPrintable(why));
        w.rig.page->selection().selectAll({saveID(1), saveID(2), saveID(3)});
        w.rig.page->drafting().newCollection();
        w.turn();
        QVERIFY2(gallery::captureAndCheck(w.view, QStringLiteral("librarypage-bulk"), &why), qPrintable(why));
        w.rig.page->drafting().cancel();
        w.rig.page->setFilter(Filter::trash());
        w.rig.page->setLayout(ShelfLayout::list);
        w.turn();
        QVERIFY(w.view.emptyTrashButton().isVisible());
        QVERIFY2(gallery::captureAndCheck(w.view, QStringLiteral("librarypage-trash-list"), &why), qPrintable(why));
    }
};

QTEST_MAIN(LibraryPageViewTest)
#include "tst_librarypageview.moc"
