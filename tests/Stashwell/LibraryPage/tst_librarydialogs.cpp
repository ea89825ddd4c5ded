// The library page's alerts as message boxes over a window: each shows while its condition holds,
// one at a time; its buttons confirm or cancel through the page, and closing it in any way clears
// the condition; the left-behind alert follows an emptying that left files behind.

#include "PageRig.h"

#include "Stashwell/Pages/Library/LibraryDialogs.h"
#include "Stashwell/Window/AlertSizing.h"

#include "StashwellUI/Design/Formatting.h"

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

using S = StashwellStrings;

Q_DECLARE_METATYPE(sw::app::LibraryDialogs::Kind)

namespace {

Library tripsAndTrash()
{
    return libraryOf({makeSave(SaveSpec(1, textPost(QStringLiteral("1")), 3).filed(collectionID(1))),
                      makeSave(SaveSpec(2, imagePost(QStringLiteral("2")), 2).trashed(5))},
                     {collection(1, QStringLiteral("Trips"))});
}

struct Dialogs {
    PageRig rig;
    QWidget window;
    LibraryDialogs dialogs;

    explicit Dialogs(Library library = tripsAndTrash(), CopyTable copies = {})
        : rig(std::move(library), std::move(copies)), dialogs(*rig.page, &window)
    {
        window.resize(600, 400);
        window.show();
    }

    bool shows(LibraryDialogs::Kind kind)
    {
        return settle([&] {
            if (kind == LibraryDialogs::Kind::none)
                return dialogs.shown() == kind;
            return dialogs.shown() == kind && dialogs.box() && dialogs.box()->isVisible();
        });
    }
};

}  // namespace

class LibraryDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    void deleteConfirmed()
    {
        Dialogs d;
        QCOMPARE(d.dialogs.shown(), LibraryDialogs::Kind::none);
        // Showing the collection: the shelf goes back to all saves.
        d.rig.page->setFilter(Filter::collection(collectionID(1)));
        d.rig.page->dialogs().askToDelete(collectionID(1));
        QVERIFY(d.shows(LibraryDialogs::Kind::deleteCollection));
        QCOMPARE(d.dialogs.box()->text(), S::libraryDeleteTitle(QStringLiteral("Trips")));
        QCOMPARE(d.dialogs.box()->informativeText(), S::libraryDeleteMessageOne(1));
        QCOMPARE(d.dialogs.box()->windowModality(), Qt::WindowModal);
        QCOMPARE(d.dialogs.confirmButton()->text(), S::libraryDelete());
        d.dialogs.confirmButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
        QVERIFY(!d.rig.page->dialogs().deleting());
        QVERIFY(!d.rig.library().collection(collectionID(1)));
        QCOMPARE(d.rig.page->toast().message(), S::toastDeleted(QStringLiteral("Trips")));
        QCOMPARE(d.rig.page->filter(), Filter::all());
        QVERIFY(!d.rig.save(1).collection());
        d.rig.page->toast().pressUndo();
        QCOMPARE(d.rig.save(1).collection(), collectionID(1));
    }

    void cancelAndEscapeOnlyClose()
    {
        Dialogs d;
        d.rig.page->dialogs().askToDelete(collectionID(9));
        QVERIFY(d.shows(LibraryDialogs::Kind::deleteCollection));
        QCOMPARE(d.dialogs.box()->text(), S::libraryDeleteTitleUnnamed());
        QCOMPARE(d.dialogs.box()->informativeText(), S::libraryDeleteMessageMany(0));
        d.dialogs.confirmButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
        QVERIFY(!d.rig.page->toast().message());

        d.rig.page->dialogs().askToDelete(collectionID(1));
        QVERIFY(d.shows(LibraryDialogs::Kind::deleteCollection));
        d.dialogs.cancelButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
        QVERIFY(!d.rig.page->dialogs().deleting());
        QVERIFY(d.rig.library().collection(collectionID(1)));

        d.rig.page->dialogs().offerEmptyTrash();
        QVERIFY(d.shows(LibraryDialogs::Kind::emptyTrash));
        QTest::keyClick(d.dialogs.box(), Qt::Key_Escape);
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
        QVERIFY(!d.rig.page->dialogs().emptyingTrash());
        QVERIFY(d.rig.library().save(saveID(2)));
    }

    void oneAtATimeInOrder()
    {
        Dialogs d;
        d.rig.page->dialogs().setProblem(QStringLiteral("Something"));
        QVERIFY(d.shows(LibraryDialogs::Kind::problem));
        // The problem is the heading, under the application's name as the window's title.
        QCOMPARE(d.dialogs.box()->windowTitle(), QStringLiteral("Stashwell"));
        QCOMPARE(d.dialogs.box()->text(), QStringLiteral("Something"));
        QVERIFY(d.dialogs.box()->informativeText().isEmpty());
        // A delete asked meanwhile comes first; the problem waits behind it.
        d.rig.page->dialogs().askToDelete(collectionID(1));
        QVERIFY(d.shows(LibraryDialogs::Kind::deleteCollection));
        QVERIFY(d.rig.page->dialogs().problem());
        d.dialogs.cancelButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::problem));
        d.dialogs.confirmButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
        QVERIFY(!d.rig.page->dialogs().problem());
    }

    void aConditionClearedElsewhereClosesItsBox()
    {
        Dialogs d;
        d.rig.page->dialogs().setProblem(QStringLiteral("First"));
        QVERIFY(d.shows(LibraryDialogs::Kind::problem));
        d.rig.page->dialogs().setProblem(QStringLiteral("Second"));
        QCOMPARE(d.dialogs.box()->text(), QStringLiteral("Second"));
        d.rig.page->dialogs().setProblemShown(false);
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
    }

    void titlesShowWhole_data()
    {
        QTest::addColumn<LibraryDialogs::Kind>("kind");
        QTest::newRow("delete a collection of a long name") << LibraryDialogs::Kind::deleteCollection;
        QTest::newRow("empty the trash") << LibraryDialogs::Kind::emptyTrash;
        QTest::newRow("a problem") << LibraryDialogs::Kind::problem;
    }

    void titlesShowWhole()
    {
        QFETCH(LibraryDialogs::Kind, kind);
        Dialogs d(libraryOf({makeSave(SaveSpec(1, textPost(QStringLiteral("1")), 3).filed(collectionID(1))),
                             makeSave(SaveSpec(2, imagePost(QStringLiteral("2")), 2).trashed(5))},
                            {collection(1, QStringLiteral("Recipes to try on a long winter weekend with friends"))}));
        kind == LibraryDialogs::Kind::deleteCollection ? d.rig.page->dialogs().askToDelete(collectionID(1))
            : kind == LibraryDialogs::Kind::emptyTrash ? d.rig.page->dialogs().offerEmptyTrash()
                                                        : d.rig.page->dialogs().setProblem(QStringLiteral("Short."));
        QVERIFY(d.shows(kind));
        // Room for the whole title in the title bar, also after a shorter text; no heading "Stashwell".
        const int needed = AlertSizing::widthForTitle(d.dialogs.box()->windowTitle(), AlertSizing::titleFont());
        d.rig.page->dialogs().setProblem(QStringLiteral("."));
        QTRY_VERIFY(d.dialogs.box()->width() >= needed);
        QVERIFY(d.dialogs.box()->text() != QStringLiteral("Stashwell"));
        // A dialog's title bar: nothing to minimise or maximise.
        QCOMPARE(d.dialogs.box()->windowType(), Qt::Dialog);
        QCOMPARE(d.dialogs.box()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint), Qt::WindowFlags());
    }

    void emptyingThatLeavesFilesBehind()
    {
        Dialogs d(tripsAndTrash(), copies({{xLink(QStringLiteral("someone"), QStringLiteral("2")),
                                            LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_2.jpg"), 1000}})}}));
        d.rig.core.disk->failRemoving = true;
        d.rig.router.requestEmptyTrash();
        QVERIFY(d.shows(LibraryDialogs::Kind::emptyTrash));
        QCOMPARE(d.dialogs.box()->informativeText(),
                 S::libraryEmptyTrashWithMedia(S::libraryTrashSavesOne(1), sw::Formatting::bytes(1000)));
        d.dialogs.confirmButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::leftBehind));
        QCOMPARE(d.dialogs.box()->informativeText(), S::libraryLeftBehindOne(1, QStringLiteral("~/media")));
        QVERIFY(!d.rig.library().save(saveID(2)));
        QCOMPARE(d.rig.page->toast().message(), S::toastTrashEmptied());
        // Show in the file manager, then the list is forgotten.
        d.dialogs.confirmButton()->click();
        QVERIFY(d.shows(LibraryDialogs::Kind::none));
        QCOMPARE(d.rig.revealed.size(), qsizetype(1));
        QVERIFY(!d.rig.page->dialogs().leftBehindShown());
    }
};

QTEST_MAIN(LibraryDialogsTest)
#include "tst_librarydialogs.moc"
