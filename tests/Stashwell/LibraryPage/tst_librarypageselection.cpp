// The library page's selections (clicks with modifiers, Select All, Delete, the bulk panel), links
// dropped on the window and on sidebar rows, the collection creator, the dialogs, the Router's
// requests, the end of the Save Link sheet, and the downloads it starts.

#include "PageRig.h"

#include "AwaitTask.h"
#include "StashwellUI/Design/Formatting.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>

#include <cmath>
#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

using S = StashwellStrings;

namespace {

// Five live text posts, 1 the newest; 6 in the trash; 7 filed in "Trips".
Library five()
{
    QList<Save> saves;
    for (int n = 1; n <= 5; ++n)
        saves.append(makeSave(n, textPost(QString::number(n)), 100 - n));
    saves.append(makeSave(SaveSpec(6, textPost(QStringLiteral("6")), 10).trashed(50)));
    saves.append(makeSave(SaveSpec(7, textPost(QStringLiteral("7")), 5).filed(collectionID(1))));
    return libraryOf(saves, {collection(1, QStringLiteral("Trips"))});
}

QSet<Save::ID> setOf(const QList<int> &numbers)
{
    QSet<Save::ID> set;
    for (int n : numbers)
        set.insert(saveID(n));
    return set;
}

QUrl linkOf(int n) { return xLink(QStringLiteral("someone"), QString::number(n)).url().qurl(); }

}  // namespace

class LibraryPageSelection : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    // ---- pick -----------------------------------------------------------------------------------

    void pick_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("selection");   // 0: none
        QTest::addColumn<QString>("query");   // narrows the visible order
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QList<int>>("chosenAfter");
        QTest::addColumn<QList<int>>("selectionAfter");   // any one of these; empty: none

        const auto row = [](const char *name, int modifiers, const char *chosen, int selection, const char *query,
                            int clicked, const char *chosenAfter, const char *selectionAfter) {
            QTest::newRow(name) << modifiers << numbers(chosen) << selection << QString::fromLatin1(query) << clicked
                                << numbers(chosenAfter) << numbers(selectionAfter);
        };
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;
        row("plain click", Qt::NoModifier, "1 2", 1, "", 3, "", "3");
        row("ctrl adds to the selection", ctrl, "", 1, "", 2, "1 2", "2");
        row("ctrl again leaves one", ctrl, "1 2", 2, "", 2, "", "1");
        row("ctrl on the only selected", ctrl, "", 1, "", 1, "", "");
        row("ctrl with nothing selected", ctrl, "", 0, "", 3, "", "3");
        row("ctrl takes one of three", ctrl, "1 2 3", 3, "", 3, "1 2", "1 2");
        row("ctrl and shift toggle", ctrl | shift, "", 1, "", 4, "1 4", "4");
        row("shift down the order", shift, "", 2, "", 4, "2 3 4", "4");
        row("shift up the order", shift, "", 4, "", 1, "1 2 3 4", "1");
        row("shift on the selected itself", shift, "", 3, "", 3, "3", "3");
        row("shift without a selection", shift, "", 0, "", 3, "", "3");
        // The search shows no save: neither end of the range is among the visible.
        row("shift to a save out of view", shift, "", 4, "zzz", 2, "", "2");
        row("shift keeps the chosen when a save is out of view", shift, "1 2", 2, "zzz", 7, "", "7");
    }

    void pick()
    {
        QFETCH(int, modifiers);
        QFETCH(QList<int>, chosen);
        QFETCH(int, selection);
        QFETCH(QString, query);
        QFETCH(int, clicked);
        QFETCH(QList<int>, chosenAfter);
        QFETCH(QList<int>, selectionAfter);
        PageRig r(five());
        if (selection)
            r.page->selection().setCurrent(saveID(selection));
        r.page->selection().setChosen(setOf(chosen));
        r.page->setQuery(query);
        r.page->selection().pick(saveID(clicked), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(r.page->selection().chosen(), setOf(chosenAfter));
        if (selectionAfter.isEmpty()) {
            QVERIFY(!r.page->selection().current());
        } else {
            QVERIFY(r.page->selection().current());
            QVERIFY(setOf(selectionAfter).contains(*r.page->selection().current()));
        }
        // Never a single chosen save after a Ctrl-click.
        if (modifiers & Qt::ControlModifier)
            QVERIFY(r.page->selection().chosen().size() != 1);
    }

    // A click reaches the selection through the page's one handler, its modifiers carried with it.
    void selectIntents_data()
    {
        QTest::addColumn<SaveIntent>("intent");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QList<int>>("chosenAfter");
        QTest::addColumn<int>("selectionAfter");   // 0: none
        QTest::newRow("plain") << SaveIntent::select() << 3 << QList<int>() << 3;
        QTest::newRow("ctrl") << SaveIntent::select(Qt::ControlModifier) << 3 << QList<int>{2, 3} << 3;
        QTest::newRow("ctrl on the current") << SaveIntent::select(Qt::ControlModifier) << 2 << QList<int>() << 0;
        QTest::newRow("shift") << SaveIntent::select(Qt::ShiftModifier) << 4 << QList<int>{2, 3, 4} << 4;
        QTest::newRow("alt counts as a plain click") << SaveIntent::select(Qt::AltModifier) << 4 << QList<int>() << 4;
        QTest::newRow("preview of a save without a video selects it") << SaveIntent::preview() << 5 << QList<int>() << 5;
    }

    void selectIntents()
    {
        QFETCH(SaveIntent, intent);
        QFETCH(int, clicked);
        QFETCH(QList<int>, chosenAfter);
        QFETCH(int, selectionAfter);
        PageRig r(five());
        r.page->selection().setCurrent(saveID(2));
        r.page->handle(intent, r.item(clicked));
        QCOMPARE(r.page->selection().chosen(), setOf(chosenAfter));
        QCOMPARE(r.page->selection().current(), selectionAfter ? std::optional(saveID(selectionAfter)) : std::nullopt);
        // Selecting is no edit.
        QCOMPARE(r.stack.count(), 0);
    }

    void selectAll()
    {
        PageRig r(five());
        r.page->selection().selectAll({saveID(3), saveID(1), saveID(2)});
        QCOMPARE(r.page->selection().chosen(), setOf({1, 2, 3}));
        QCOMPARE(r.page->selection().current(), saveID(2));
        QVERIFY(r.page->selection().inspectorShown());
        r.page->selection().selectAll({});
        QVERIFY(r.page->selection().chosen().isEmpty());
        QVERIFY(!r.page->selection().current());
    }

    void changesOfFilterAndSelection()
    {
        PageRig r(five());
        r.page->setQuery(QStringLiteral("text"));
        r.page->selection().selectAll({saveID(1), saveID(2)});
        // Selecting one of the chosen keeps them; another empties them.
        r.page->selection().setCurrent(saveID(1));
        QCOMPARE(r.page->selection().chosen(), setOf({1, 2}));
        r.page->selection().setCurrent(saveID(3));
        QVERIFY(r.page->selection().chosen().isEmpty());
        r.page->selection().selectAll({saveID(1), saveID(2)});
        r.page->setFilter(Filter::favourites());
        QVERIFY(r.page->query().isEmpty());
        QVERIFY(r.page->selection().chosen().isEmpty());
        QCOMPARE(r.page->selection().current(), saveID(2));
    }

    // Saves that leave the library (the trash emptied) leave the selection and the chosen saves;
    // the live ones stay.
    void removedSavesAreForgotten_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QList<int>>("chosenAfter");
        QTest::addColumn<bool>("selectedAfter");
        QTest::newRow("the selection") << numbers("") << 6 << numbers("") << false;
        QTest::newRow("two chosen, both gone") << numbers("5 6") << 6 << numbers("") << false;
        QTest::newRow("three chosen, one gone") << numbers("1 2 6") << 6 << numbers("1 2") << true;
        QTest::newRow("two chosen, one gone") << numbers("1 6") << 1 << numbers("") << true;
        QTest::newRow("a live selection") << numbers("") << 1 << numbers("") << true;
    }

    void removedSavesAreForgotten()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(int, selection);
        QFETCH(QList<int>, chosenAfter);
        QFETCH(bool, selectedAfter);
        PageRig r(five());
        r.curator().trash(saveID(5));
        r.page->selection().setCurrent(saveID(selection));
        r.page->selection().setChosen(setOf(chosen));
        r.curator().emptyTrash();
        QCOMPARE(r.page->selection().chosen(), setOf(chosenAfter));
        QCOMPARE(r.page->selection().current().has_value(), selectedAfter);
        if (selectedAfter)
            QVERIFY(r.library().save(*r.page->selection().current()) && (chosenAfter.isEmpty() || r.page->selection().chosen().contains(*r.page->selection().current())));
    }

    // ---- delete and the bulk panel -------------------------------------------------------------

    void trashSelection_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QList<int>>("trashed");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<bool>("cleared");

        const auto row = [](const char *name, const char *chosen, int selection, const char *trashed,
                            const QString &toast, bool cleared) {
            QTest::newRow(name) << numbers(chosen) << selection << numbers(trashed) << toast << cleared;
        };
        row("nothing", "", 0, "", QString(), false);
        row("the selection", "", 2, "2", S::toastMovedToTrash(), true);
        row("three chosen", "1 2 3", 3, "1 2 3", S::toastMovedCountToTrash(3), true);
        row("two chosen, one in the trash", "1 6", 6, "1", S::toastMovedToTrash(), false);
        row("the selection in the trash", "", 6, "", QString(), false);
    }

    void trashSelection()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(int, selection);
        QFETCH(QList<int>, trashed);
        QFETCH(QString, toast);
        QFETCH(bool, cleared);
        PageRig r(five());
        if (selection)
            r.page->selection().setCurrent(saveID(selection));
        r.page->selection().setChosen(setOf(chosen));
        r.page->selection().trashActedOn();
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(r.save(n).isTrashed(), trashed.contains(n));
        QCOMPARE(r.page->toast().message().value_or(QString()), toast);
        QCOMPARE(r.stack.count(), trashed.isEmpty() ? 0 : 1);
        if (cleared) {
            QVERIFY(r.page->selection().chosen().isEmpty());
            QVERIFY(!r.page->selection().current());
        }
        // One step for all: one Undo brings every one back.
        if (!trashed.isEmpty()) {
            r.stack.undo();
            for (int n : trashed)
                QVERIFY(!r.save(n).isTrashed());
        }
    }

    void bulkActions()
    {
        PageRig r(five());
        r.page->selection().selectAll({saveID(1), saveID(2), saveID(7)});

        r.page->selection().fileChosen(collectionID(1));
        QCOMPARE(r.page->toast().message(), S::toastFiledCountIn(3, QStringLiteral("Trips")));
        QVERIFY(r.page->toast().offersUndo());
        QCOMPARE(r.save(1).collection(), collectionID(1));
        QCOMPARE(r.page->selection().chosen().size(), qsizetype(3));

        r.page->selection().fileChosen(std::nullopt);
        QCOMPARE(r.page->toast().message(), S::toastTookCountOut(3));
        QVERIFY(!r.save(7).collection());

        r.page->selection().favouriteChosen();
        QCOMPARE(r.page->toast().message(), S::toastStarredCount(3));
        QVERIFY(r.save(2).isFavourite());
        QCOMPARE(r.stack.count(), 3);
        // Starring again never takes the stars away, and records nothing.
        r.page->toast().clear();
        r.page->selection().favouriteChosen();
        QVERIFY(r.save(2).isFavourite());
        QCOMPARE(r.stack.count(), 3);
        QVERIFY(!r.page->toast().message());

        QCOMPARE(r.page->selection().chosenItems().size(), qsizetype(3));
        r.page->selection().clear();
        QVERIFY(r.page->selection().chosen().isEmpty());
        QVERIFY(!r.page->selection().current());

        r.page->selection().selectAll({saveID(6), saveID(1)});
        r.page->selection().restoreChosen();
        QCOMPARE(r.page->toast().message(), S::toastRestoredCount(2));
        QVERIFY(!r.save(6).isTrashed());
        QVERIFY(r.page->selection().chosen().isEmpty());
        QVERIFY(!r.page->selection().current());
    }

    void bulkDownloadTellsAtOnce()
    {
        PageRig r(libraryOf({makeSave(1, imagePost(QStringLiteral("1")), 2), makeSave(2, textPost(QStringLiteral("2")), 1)}));
        r.core.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/1.jpg"), TransferScript::arriving(1000));
        r.page->selection().selectAll({saveID(1), saveID(2)});
        r.page->downloads().downloadChosen();
        QCOMPARE(r.page->toast().message(), S::toastDownloading(2));
        QVERIFY(!r.page->toast().offersUndo());
        QVERIFY(settle([&] { return r.curator().localMedia().copy(r.save(1).post().link).asOnThisComputer(); }));
        QCOMPARE(r.page->selection().chosen().size(), qsizetype(2));
    }

    // ---- drops ----------------------------------------------------------------------------------

    void dropOnARow_data()
    {
        QTest::addColumn<Filter>("row");
        QTest::addColumn<QList<int>>("dropped");   // links of these saves; 0: a link of no save
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<bool>("clears");

        const auto row = [](const char *name, const Filter &on, const char *dropped, const char *chosen, bool taken,
                            const char *changed, const QString &toast, bool clears) {
            QTest::newRow(name) << on << numbers(dropped) << numbers(chosen) << taken << numbers(changed) << toast
                                << clears;
        };
        const Filter trash = Filter::trash();
        const Filter favourites = Filter::favourites();
        const Filter trips = Filter::collection(collectionID(1));
        row("one on the trash", trash, "2", "", true, "2", S::toastMovedToTrash(), true);
        row("one of three chosen on the trash", trash, "2", "1 2 3", true, "1 2 3", S::toastMovedCountToTrash(3), true);
        row("one not chosen on the trash", trash, "4", "1 2", true, "4", S::toastMovedToTrash(), true);
        row("two on favourites", favourites, "2 3", "", true, "2 3", S::toastStarredCount(2), false);
        row("one on favourites", favourites, "2", "", true, "2", S::toastStarredIt(), false);
        row("one on a collection", trips, "3", "", true, "3", S::toastFiledIn(QStringLiteral("Trips")), false);
        row("chosen on a collection", trips, "1", "1 2", true, "1 2", S::toastFiledCountIn(2, QStringLiteral("Trips")),
            false);
        row("on a collection that is gone", Filter::collection(collectionID(9)), "3", "", true, "", QString(), false);
        row("on all saves", Filter::all(), "3", "", false, "", QString(), false);
        row("on link only", Filter::linkOnly(), "3", "", false, "", QString(), false);
        row("links of no save", trash, "0", "", false, "", QString(), false);
    }

    void dropOnARow()
    {
        QFETCH(Filter, row);
        QFETCH(QList<int>, dropped);
        QFETCH(QList<int>, chosen);
        QFETCH(bool, taken);
        QFETCH(QList<int>, changed);
        QFETCH(QString, toast);
        QFETCH(bool, clears);
        PageRig r(five());
        const Library before = r.library();
        if (!chosen.isEmpty()) {
            r.page->selection().setCurrent(saveID(chosen.last()));
            r.page->selection().setChosen(setOf(chosen));
        }
        QList<QUrl> urls;
        for (int n : dropped)
            urls.append(n ? linkOf(n) : QUrl(QStringLiteral("https://x.com/nobody/status/999")));
        QCOMPARE(r.page->dropLinks(row, urls), taken);
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(!(r.save(n) == *before.save(saveID(n))), changed.contains(n));
        QCOMPARE(r.page->toast().message().value_or(QString()), toast);
        QCOMPARE(r.stack.count(), changed.isEmpty() ? 0 : 1);
        if (clears) {
            QVERIFY(r.page->selection().chosen().isEmpty());
            QVERIFY(!r.page->selection().current());
        } else {
            QCOMPARE(r.page->selection().chosen(), setOf(chosen));
        }
    }

    // ---- the collection creator -----------------------------------------------------------------

    void theCreatorOpens()
    {
        PageRig r(five());
        r.page->drafting().newCollection();
        QCOMPARE(r.page->drafting().draft(), (CollectionDraft{QString(), Swatch::blue, std::nullopt, std::nullopt}));
        QCOMPARE(r.page->drafting().confirmTitle(), S::libraryCreate());
        QVERIFY(!r.page->drafting().canCreate());
        QVERIFY(!r.page->drafting().nameProblem());
        r.page->drafting().setName(QStringLiteral("TRIPS"));
        QCOMPARE(r.page->drafting().nameProblem(), S::libraryNameTaken(QStringLiteral("Trips")));
        QVERIFY(!r.page->drafting().canCreate());
        // Writing to a closed creator changes nothing.
        r.page->drafting().cancel();
        r.page->drafting().setName(QStringLiteral("x"));
        QVERIFY(!r.page->drafting().draft());

        r.page->drafting().editCollection(collectionID(1));
        QCOMPARE(r.page->drafting().confirmTitle(), S::librarySave());
        QVERIFY(r.page->drafting().canCreate());
        QVERIFY(!r.page->drafting().nameProblem());
        // A collection that is gone opens nothing.
        r.page->drafting().cancel();
        r.page->drafting().editCollection(collectionID(9));
        QVERIFY(!r.page->drafting().draft());
    }

    void saveDraft_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("vanish");      // the edited collection is deleted before saving
        QTest::addColumn<QString>("problem");  // empty: saved
        QTest::newRow("new") << false << "Reading" << false << QString();
        QTest::newRow("new, empty name") << false << "  " << false << S::refusalNameEmpty();
        QTest::newRow("new, name taken") << false << "trips" << false << S::refusalNameTaken();
        QTest::newRow("edit") << true << "Journeys" << false << QString();
        QTest::newRow("edit, empty name") << true << "" << false << S::refusalNameEmpty();
        QTest::newRow("edit, gone meanwhile") << true << "Journeys" << true << S::refusalNoSuchCollection();
    }

    void saveDraft()
    {
        QFETCH(bool, editing);
        QFETCH(QString, name);
        QFETCH(bool, vanish);
        QFETCH(QString, problem);
        Library library = five();
        library.collections.append(collection(2, QStringLiteral("Other")));
        PageRig r(library);
        if (editing)
            r.page->drafting().editCollection(collectionID(2));
        else
            r.page->drafting().newCollection();
        r.page->drafting().setName(name);
        if (vanish)
            r.curator().removeCollection(collectionID(2));
        const qsizetype steps = r.stack.count();
        r.page->drafting().save();
        if (!problem.isEmpty()) {
            QCOMPARE(r.page->dialogs().problem(), problem);
            QVERIFY(r.page->dialogs().problemShown());
            QVERIFY(r.page->drafting().draft());
            QCOMPARE(r.page->drafting().draft()->name, name);
            QCOMPARE(r.stack.count(), steps);
            QVERIFY(!r.page->toast().message());
            r.page->dialogs().setProblemShown(false);
            QVERIFY(!r.page->dialogs().problem());
            return;
        }
        QVERIFY(!r.page->drafting().draft());
        QVERIFY(!r.page->dialogs().problem());
        QCOMPARE(r.stack.count(), steps + 1);
        const std::optional<Collection> saved = r.library().collection(name);
        QVERIFY(saved);
        if (editing) {
            QCOMPARE(r.page->toast().message(), S::toastEdited(name));
            QCOMPARE(r.page->filter(), Filter::all());
        } else {
            QCOMPARE(r.page->toast().message(), S::toastMade(name));
            QCOMPARE(r.page->filter(), Filter::collection(saved->id));
        }
        QVERIFY(r.page->toast().offersUndo());
    }

    // ---- dialogs --------------------------------------------------------------------------------

    // ---- the Router -----------------------------------------------------------------------------

    void routerRequests()
    {
        PageRig empty(libraryOf({makeSave(1, textPost(QStringLiteral("1")), 1)}));
        empty.router.requestEmptyTrash();
        QVERIFY(!empty.page->dialogs().emptyingTrash());

        PageRig r(five());
        QSignalSpy focus(r.page.get(), &LibraryPage::searchFocusRequested);
        r.router.requestFind();
        r.router.requestFind();
        QCOMPARE(focus.size(), 2);

        // The trash holds one save: Empty Trash asks.
        r.router.requestEmptyTrash();
        QVERIFY(r.page->dialogs().emptyingTrash());
        r.page->dialogs().setEmptyingTrash(false);

        r.page->setFilter(Filter::trash());
        r.router.setSelecting(saveID(3));
        QCOMPARE(r.page->filter(), Filter::all());
        QCOMPARE(r.page->selection().current(), saveID(3));
        QVERIFY(!r.router.selecting());
    }

    void aSaveAskedForBeforeTheWindowIsShownWhenItAppears()
    {
        PageRig r(five());
        r.page.reset();
        r.router.setSelecting(saveID(5));
        // The window's page is made after the request, and shows it when it first appears.
        r.page = std::make_unique<LibraryPage>(r.curator(), r.router, &r.stack);
        r.page->setFilter(Filter::trash());
        QVERIFY(!r.page->selection().current());
        r.page->appear();
        QCOMPARE(r.page->selection().current(), saveID(5));
        QCOMPARE(r.page->filter(), Filter::all());
        QVERIFY(!r.router.selecting());
    }

    // Showing the window fetches nothing; its first frame fetches the missing covers and lets the
    // Curator's held preparation go, once.
    void coversAreFetchedOnceAfterTheFirstFrame()
    {
        const Post withCover = fixtures::post(xLink(QStringLiteral("someone"), QStringLiteral("1")), {}, QStringLiteral("https://pbs.example.com/cover.jpg"));
        PageRig r(libraryOf({makeSave(1, withCover, 1)}));
        r.curator().holdPreparation();
        r.page->appear();
        QCoreApplication::processEvents();
        QVERIFY(r.core.downloader->calls.isEmpty());
        QVERIFY(r.curator().isPreparationHeld());
        r.page->firstFrameShown();
        QVERIFY(r.page->hasShownFirstFrame());
        QVERIFY(!r.curator().isPreparationHeld());
        QVERIFY(settle([&] { return r.core.downloader->calls.size() == 1; }));
        // Held again (as a later restore might be): a second call lets nothing go, fetches nothing.
        r.curator().holdPreparation();
        r.page->firstFrameShown();
        r.page->appear();
        QCoreApplication::processEvents();
        QCOMPARE(r.core.downloader->calls.size(), qsizetype(1));
        QVERIFY(r.curator().isPreparationHeld());
    }

    void becomingActiveForgetsCopiesWhoseFilesWent_data()
    {
        QTest::addColumn<bool>("listedAside");
        QTest::newRow("listed on this thread") << false;
        QTest::newRow("listed on another") << true;
    }
    void becomingActiveForgetsCopiesWhoseFilesWent()
    {
        QFETCH(bool, listedAside);
        const Post post = imagePost(QStringLiteral("1"));
        PageRig r(libraryOf({makeSave(1, post, 1)}),
                  copies({{post.link, LocalCopy::onThisComputer({LocalFile{QStringLiteral("gone.jpg"), 1000}})}}));
        r.core.disk->onAnyThread = listedAside;
        QVERIFY(QDir().mkpath(r.core.mediaPath()));
        // Becoming active before the window's first frame is the start itself: nothing is done.
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(r.curator().localMedia().copy(post.link).asOnThisComputer());
        r.page->firstFrameShown();
        // Another application going to the front changes nothing.
        emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(r.curator().localMedia().copy(post.link).asOnThisComputer());
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QVERIFY(settle([&] { return r.curator().localMedia().copy(post.link).isLinkOnly(); }));
    }

    void captureAndSaveLinkButtons()
    {
        PageRig r(five());
        r.clipboardLink = QStringLiteral("https://x.com/a/status/1");
        r.page->links().pasteLink();
        QCOMPARE(r.router.savingLink(), QStringLiteral("https://x.com/a/status/1"));
        r.router.setSavingLink(std::nullopt);
        // The bar's button opens an empty sheet whatever the clipboard holds.
        r.page->links().saveLink();
        QCOMPARE(r.router.savingLink(), QString());
        r.router.setSavingLink(std::nullopt);
        r.clipboardLink.reset();
        r.page->links().pasteLink();
        QCOMPARE(r.router.savingLink(), QString());
    }

    void finishSaveLink_data()
    {
        QTest::addColumn<int>("save");   // 0: cancelled; 9: a save that is not there
        QTest::addColumn<QString>("toast");
        QTest::newRow("saved") << 2 << S::toastSaved();
        QTest::newRow("saved and downloading") << 1 << S::toastSavedDownloading();
        QTest::newRow("cancelled") << 0 << QString();
        QTest::newRow("no such save") << 9 << QString();
    }

    void finishSaveLink()
    {
        QFETCH(int, save);
        QFETCH(QString, toast);
        PageRig r(libraryOf({makeSave(1, imagePost(QStringLiteral("1")), 2), makeSave(2, textPost(QStringLiteral("2")), 1)}),
                  copies({{xLink(QStringLiteral("someone"), QStringLiteral("1")), LocalCopy::downloading(1, 1000)}}));
        r.page->setFilter(Filter::trash());
        r.page->selection().setCurrent(saveID(2));
        r.page->links().finish(save ? std::optional<Save::ID>(saveID(save)) : std::nullopt);
        QCOMPARE(r.page->toast().message().value_or(QString()), toast);
        QVERIFY(!r.page->toast().offersUndo());
        const bool shown = !toast.isEmpty();
        QCOMPARE(r.page->filter(), shown ? Filter::all() : Filter::trash());
        QCOMPARE(r.page->selection().current(), shown ? saveID(save) : saveID(2));
    }

    // ---- downloads ------------------------------------------------------------------------------

    void downloadOne_data()
    {
        QTest::addColumn<std::int64_t>("budget");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<QString>("problem");
        QTest::newRow("arrives") << CuratorRig::kBudget << false << S::toastSavedTo(QStringLiteral("~/media")) << QString();
        QTest::newRow("fails quietly") << CuratorRig::kBudget << true << QString() << QString();
        QTest::newRow("over the budget") << std::int64_t(500) << false << QString()
                                         << S::refusalOverBudget(sw::Formatting::bytes(1000), sw::Formatting::bytes(500));
    }

    void downloadOne()
    {
        QFETCH(std::int64_t, budget);
        QFETCH(bool, fails);
        QFETCH(QString, toast);
        QFETCH(QString, problem);
        PageRig r(libraryOf({makeSave(1, imagePost(QStringLiteral("1"), 1000), 1)}), {}, budget);
        r.core.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/1.jpg"),
                                          fails ? TransferScript::failing(TransferError::badServerResponse(500))
                                                : TransferScript::arriving(1000));
        QVERIFY(awaitTask(r.page->downloads().download(r.item(1))));
        QCOMPARE(r.page->toast().message().value_or(QString()), toast);
        QCOMPARE(r.page->dialogs().problem().value_or(QString()), problem);
    }

    void downloadRefusals_data()
    {
        QTest::addColumn<Post>("post");
        QTest::addColumn<LocalCopy>("copy");
        QTest::addColumn<QString>("problem");
        QTest::newRow("nothing to download") << textPost(QStringLiteral("1")) << LocalCopy::linkOnly()
                                             << S::refusalNothingToDownload();
        QTest::newRow("already here") << imagePost(QStringLiteral("1"))
                                      << LocalCopy::onThisComputer({LocalFile{QStringLiteral("f.jpg"), 1000}})
                                      << S::refusalAlreadyOnThisComputer();
        QTest::newRow("already downloading") << imagePost(QStringLiteral("1")) << LocalCopy::downloading(1, 1000)
                                             << S::refusalAlreadyDownloading();
    }

    void downloadRefusals()
    {
        QFETCH(Post, post);
        QFETCH(LocalCopy, copy);
        QFETCH(QString, problem);
        PageRig r(libraryOf({makeSave(1, post, 1)}), copies({{post.link, copy}}));
        QVERIFY(awaitTask(r.page->downloads().download(r.item(1))));
        QCOMPARE(r.page->dialogs().problem(), problem);
        QVERIFY(!r.page->toast().message());
    }

    void downloadMissingCountsAtThePress()
    {
        PageRig r(libraryOf({makeSave(1, imagePost(QStringLiteral("1")), 3), makeSave(2, imagePost(QStringLiteral("2")), 2),
                             makeSave(3, textPost(QStringLiteral("3")), 1)}));
        r.core.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/1.jpg"), TransferScript::arriving(1000));
        r.core.downloader->scripts.insert(QStringLiteral("https://pbs.example.com/2.jpg"),
                                          TransferScript::failing(TransferError::badServerResponse(500)));
        QVERIFY(awaitTask(r.page->downloads().downloadMissing()));
        QCOMPARE(r.page->toast().message(), S::toastDownloadedTo(2, QStringLiteral("~/media")));
        QVERIFY(!r.page->toast().offersUndo());

        PageRig none(libraryOf({makeSave(3, textPost(QStringLiteral("3")), 1)}));
        QVERIFY(awaitTask(none.page->downloads().downloadMissing()));
        QCOMPARE(none.page->toast().message(), S::toastDownloadedTo(0, QStringLiteral("~/media")));
    }

    void aDownloadOutlivingThePageEndsQuietly()
    {
        PageRig r(libraryOf({makeSave(1, imagePost(QStringLiteral("1"), 1000), 1)}));
        // No script: the transfer waits for the test.
        QCoro::Task<> task = r.page->downloads().download(r.item(1));
        QVERIFY(settle([&] { return !r.core.downloader->calls.isEmpty(); }));
        r.page.reset();
        r.core.downloader->play(0, TransferScript::arriving(1000));
        QVERIFY(awaitTask(std::move(task)));
        QVERIFY(r.curator().localMedia().copy(r.save(1).post().link).asOnThisComputer());
    }

    void progressRefreshesTheShelfAtMostOncePerInterval()
    {
        PageRig r(libraryOf({makeSave(1, imagePost(QStringLiteral("1"), 1 << 22), 1)}));
        QSignalSpy shelf(r.page.get(), &LibraryPage::shelfChanged);
        QCoro::Task<> task = r.page->downloads().download(r.item(1));
        QVERIFY(settle([&] { return !r.core.downloader->calls.isEmpty(); }));
        QVERIFY(settle([&] { return !shelf.isEmpty(); }));
        shelf.clear();
        for (int step = 1; step <= 12; ++step)
            r.core.downloader->send(0, Transfer::progress(std::int64_t(step) << 18));
        QCOMPARE(shelf.size(), 0);
        QVERIFY(settle([&] { return shelf.size() == 1; }));
        QCOMPARE(r.curator().localMedia().copy(r.save(1).post().link).asDownloading()->received, std::int64_t(12) << 18);
        // A library change in the same turn is not held back.
        r.page->trash(saveID(1));
        QCoreApplication::processEvents();
        QCOMPARE(shelf.size(), 2);
        r.core.downloader->play(0, TransferScript::arriving(1 << 22));
        QVERIFY(awaitTask(std::move(task)));
    }

    void progressWaitsLongerWhenRefreshingCostsMore_data()
    {
        QTest::addColumn<double>("cost");
        QTest::addColumn<int>("interval");
        QTest::newRow("cheap") << 2.0 << LibraryPage::progressRefreshMs;
        QTest::newRow("dear") << 50.0 << 150;
        QTest::newRow("very dear") << 900.0 << LibraryPage::progressRefreshMaxMs;
        QTest::newRow("not a number") << std::nan("") << LibraryPage::progressRefreshMaxMs;
    }

    void progressWaitsLongerWhenRefreshingCostsMore()
    {
        QFETCH(double, cost);
        QFETCH(int, interval);
        PageRig r;
        r.page->setProgressRefreshCost(cost);
        QCOMPARE(r.page->progressRefreshInterval(), interval);
    }

    void oneRefreshForABurst()
    {
        PageRig r(five());
        QSignalSpy shelf(r.page.get(), &LibraryPage::shelfChanged);
        r.page->trash(saveID(1));
        r.page->trash(saveID(2));
        r.page->handle(SaveIntent::favourite(), r.item(3));
        QCOMPARE(shelf.size(), 0);
        // Read in between: the projection is already current.
        QCOMPARE(r.page->shelf().count(Filter::trash()), qsizetype(3));
        QCoreApplication::processEvents();
        QCOMPARE(shelf.size(), 1);
    }
};

QTEST_MAIN(LibraryPageSelection)
#include "tst_librarypageselection.moc"
