// The library sidebar: which rows and chips stand where, which one is chosen, what picking and
// dropping report, and where the inline creator shows.

#include "StashwellUI/Sidebar/LibrarySidebar.h"

#include "ControlTesting.h"
#include "PresentationFixtures.h"
#include "StashwellUI/Controls/CaptureButton.h"
#include "StashwellUI/Controls/FilterChip.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Controls/StorageMeter.h"
#include "StashwellUI/Controls/TextButton.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

using namespace sw;

Q_DECLARE_METATYPE(std::optional<sw::CreatorPlace>)

namespace {

Collection collection(int n, const QString &name, Swatch swatch = Swatch::blue)
{
    return Collection{Collection::ID(fixtures::fixedUuid(100 + n)), name, swatch};
}

Author author(const QString &name, const QString &handle) { return Author{name, Handle{handle}, std::nullopt}; }

// Content with the given collections and authors, each counted.
SidebarContent content(const QList<Collection> &collections, const QList<Author> &authors)
{
    SidebarContent c;
    c.collections = collections;
    c.authors = authors;
    qsizetype n = 1;
    for (const Filter &filter : SidebarContent::countedFilters(collections, authors))
        c.counts.insert(filter, n++);
    c.onDisk = 3 << 20;
    c.limit = qint64(5) << 30;
    c.folder = QStringLiteral("~/Videos/Stashwell");
    c.missing = 4;
    return c;
}

const QList<Collection> kTwo{collection(1, QStringLiteral("Trips")), collection(2, QStringLiteral("Recipes"), Swatch::pink)};
const QList<Author> kAuthors{author(QStringLiteral("Ann Lee"), QStringLiteral("ann")), author(QStringLiteral("Bo"), QStringLiteral("bo"))};

const QList<Filter> kLibraryRows{Filter::all(), Filter::recentlyAdded(), Filter::favourites()};
const QList<Filter> kChips{Filter::kind(Kind::video), Filter::kind(Kind::images), Filter::kind(Kind::text),
                           Filter::kind(Kind::page),  Filter::source(Source::x),  Filter::source(Source::web),
                           Filter::linkOnly()};

// Every row and chip that shows as chosen, by filter.
QList<Filter> chosen(const LibrarySidebar &sidebar)
{
    QList<Filter> out;
    for (const Filter &filter : sidebar.rowFilters())
        if (sidebar.row(filter)->isSelected())
            out.append(filter);
    for (const Filter &filter : sidebar.chipFilters())
        if (sidebar.chip(filter)->isSelected())
            out.append(filter);
    if (sidebar.storageMeter()->isSelected())
        out.append(Filter::onThisComputer());
    return out;
}

bool dragOver(QWidget *row, QEvent::Type type)
{
    QMimeData mime;
    mime.setUrls({QUrl(QStringLiteral("https://x.com/someone/status/1"))});
    if (type == QEvent::DragEnter) {
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(row, &enter);
        return enter.isAccepted();
    }
    if (type == QEvent::DragLeave) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(row, &leave);
        return true;
    }
    QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(row, &drop);
    return drop.isAccepted();
}

}  // namespace

class TestLibrarySidebar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void rowsAndChipsInOrder_data();
    void rowsAndChipsInOrder();
    void countsFollowTheContent();
    void whichIsChosen_data();
    void whichIsChosen();
    void pickingWritesEveryTime();
    void creatorPlacement_data();
    void creatorPlacement();
    void dropsOnRows_data();
    void dropsOnRows();
    void withoutAHandlerEveryDropIsRefused();
    void collectionMenuAndButtons();
    void equalContentRepaintsNothing();
    void bandForWindowButtonsOnlyWhenFrameless();
};

void TestLibrarySidebar::rowsAndChipsInOrder_data()
{
    QTest::addColumn<QList<Collection>>("collections");
    QTest::addColumn<QList<Author>>("authors");
    QTest::newRow("empty library") << QList<Collection>() << QList<Author>();
    QTest::newRow("collections, no authors") << kTwo << QList<Author>();
    QTest::newRow("authors, no collections") << QList<Collection>() << kAuthors;
    QTest::newRow("both") << kTwo << kAuthors;
}

void TestLibrarySidebar::rowsAndChipsInOrder()
{
    QFETCH(QList<Collection>, collections);
    QFETCH(QList<Author>, authors);
    LibrarySidebar sidebar;
    sidebar.setContent(content(collections, authors));
    QList<Filter> rows = kLibraryRows;
    for (const Collection &c : collections)
        rows.append(Filter::collection(c.id));
    for (const Author &a : authors)
        rows.append(Filter::author(a.handle));
    rows.append(Filter::trash());
    QCOMPARE(sidebar.rowFilters(), rows);
    QCOMPARE(sidebar.chipFilters(), kChips);
    // The letter of the service is not a text of the table.
    QCOMPARE(sidebar.chip(Filter::source(Source::x))->title(), QStringLiteral("X"));
    QCOMPARE(sidebar.showsTopAuthors(), !authors.isEmpty());
    // Only an empty collection list shows the dashed button.
    QCOMPARE(sidebar.newCollectionButton() != nullptr, collections.isEmpty());
    for (qsizetype i = 0; i < collections.size(); ++i)
        QCOMPARE(sidebar.row(Filter::collection(collections[i].id))->title(), collections[i].name);
    for (const Author &a : authors)
        QCOMPARE(sidebar.row(Filter::author(a.handle))->title(), a.name);
    // There is no row for the media on this computer: the storage meter stands for it.
    QCOMPARE(sidebar.row(Filter::onThisComputer()), nullptr);
}

void TestLibrarySidebar::countsFollowTheContent()
{
    LibrarySidebar sidebar;
    SidebarContent c = content(kTwo, kAuthors);
    c.counts.remove(Filter::favourites());
    sidebar.setContent(c);
    for (const Filter &filter : sidebar.rowFilters()) {
        const std::optional<qsizetype> expected = c.count(filter);
        QCOMPARE(sidebar.row(filter)->count(), expected ? std::optional<std::int64_t>(*expected) : std::nullopt);
    }
    QCOMPARE(sidebar.row(Filter::favourites())->count(), std::nullopt);
    QCOMPARE(sidebar.storageMeter()->missing(), 4);
    QCOMPARE(sidebar.storageMeter()->folder(), QStringLiteral("~/Videos/Stashwell"));
}

void TestLibrarySidebar::whichIsChosen_data()
{
    QTest::addColumn<Filter>("selection");
    QTest::addColumn<QList<Filter>>("chosen");
    QTest::newRow("all saves") << Filter::all() << QList<Filter>{Filter::all()};
    QTest::newRow("trash") << Filter::trash() << QList<Filter>{Filter::trash()};
    QTest::newRow("a collection") << Filter::collection(kTwo[1].id) << QList<Filter>{Filter::collection(kTwo[1].id)};
    QTest::newRow("an author") << Filter::author(Handle{QStringLiteral("bo")}) << QList<Filter>{Filter::author(Handle{QStringLiteral("bo")})};
    QTest::newRow("an author in other letters") << Filter::author(Handle{QStringLiteral("ANN")})
                                                << QList<Filter>{Filter::author(Handle{QStringLiteral("ann")})};
    QTest::newRow("a chip") << Filter::source(Source::x) << QList<Filter>{Filter::source(Source::x)};
    QTest::newRow("link only is a chip") << Filter::linkOnly() << QList<Filter>{Filter::linkOnly()};
    QTest::newRow("on this computer is the meter") << Filter::onThisComputer() << QList<Filter>{Filter::onThisComputer()};
    QTest::newRow("a collection that is gone") << Filter::collection(Collection::ID(fixtures::fixedUuid(9))) << QList<Filter>{};
}

void TestLibrarySidebar::whichIsChosen()
{
    QFETCH(Filter, selection);
    QFETCH(QList<Filter>, chosen);
    LibrarySidebar sidebar;
    sidebar.setContent(content(kTwo, kAuthors));
    sidebar.setSelection(selection);
    QCOMPARE(::chosen(sidebar), chosen);
}

void TestLibrarySidebar::pickingWritesEveryTime()
{
    LibrarySidebar sidebar;
    sidebar.setContent(content(kTwo, kAuthors));
    sidebar.resize(240, 900);
    QVERIFY(test::showWidget(sidebar));
    QSignalSpy picks(&sidebar, &LibrarySidebar::selectionChanged);
    const auto picked = [&] { return picks.last().first().value<Filter>(); };

    QTest::mouseClick(sidebar.chip(Filter::kind(Kind::video)), Qt::LeftButton);
    QCOMPARE(picked(), Filter::kind(Kind::video));
    QCOMPARE(chosen(sidebar), QList<Filter>{Filter::kind(Kind::video)});
    // The chosen chip again: written again, still chosen.
    QTest::mouseClick(sidebar.chip(Filter::kind(Kind::video)), Qt::LeftButton);
    QCOMPARE(picks.count(), 2);
    QCOMPARE(chosen(sidebar), QList<Filter>{Filter::kind(Kind::video)});
    // A row unmarks every chip.
    QTest::mouseClick(sidebar.row(Filter::collection(kTwo[0].id)), Qt::LeftButton);
    QCOMPARE(picked(), Filter::collection(kTwo[0].id));
    QCOMPARE(chosen(sidebar), QList<Filter>{Filter::collection(kTwo[0].id)});
    QTest::mouseClick(sidebar.row(Filter::author(Handle{QStringLiteral("ann")})), Qt::LeftButton);
    QCOMPARE(picked(), Filter::author(Handle{QStringLiteral("ann")}));
    QTest::mouseClick(sidebar.row(Filter::trash()), Qt::LeftButton);
    QCOMPARE(picked(), Filter::trash());
    sidebar.storageMeter()->showButton()->click();
    QCOMPARE(picked(), Filter::onThisComputer());
    sidebar.storageMeter()->showButton()->click();
    QCOMPARE(picks.count(), 7);
    QCOMPARE(sidebar.selection(), Filter::onThisComputer());
}

void TestLibrarySidebar::creatorPlacement_data()
{
    QTest::addColumn<QList<Collection>>("collections");
    QTest::addColumn<std::optional<CreatorPlace>>("creating");
    QTest::addColumn<QStringList>("entries");
    const auto editing = [](int i) { return std::optional<CreatorPlace>(CreatorPlace::editing(kTwo[i].id)); };
    const std::optional<CreatorPlace> none;
    const std::optional<CreatorPlace> fresh = CreatorPlace::makeNew();
    QTest::newRow("no collections, no creator") << QList<Collection>() << none << QStringList{"dashed"};
    QTest::newRow("no collections, a new one") << QList<Collection>() << fresh << QStringList{"creator"};
    QTest::newRow("collections, no creator") << kTwo << none << QStringList{"Trips", "Recipes"};
    QTest::newRow("collections, a new one") << kTwo << fresh << QStringList{"Trips", "Recipes", "creator"};
    QTest::newRow("editing the first") << kTwo << editing(0) << QStringList{"creator", "Recipes"};
    QTest::newRow("editing the second") << kTwo << editing(1) << QStringList{"Trips", "creator"};
    QTest::newRow("editing one that is gone") << QList<Collection>{kTwo[0]} << editing(1) << QStringList{"Trips"};
    QTest::newRow("editing, no collections") << QList<Collection>() << editing(1) << QStringList{};
}

void TestLibrarySidebar::creatorPlacement()
{
    QFETCH(QList<Collection>, collections);
    QFETCH(std::optional<CreatorPlace>, creating);
    QFETCH(QStringList, entries);
    LibrarySidebar sidebar;
    auto *creator = new QWidget;
    sidebar.setCreator(creator);
    sidebar.setContent(content(collections, {}));
    sidebar.setCreating(creating);
    QStringList shown;
    for (QWidget *entry : sidebar.collectionEntries()) {
        if (entry == creator)
            shown.append(QStringLiteral("creator"));
        else if (entry == sidebar.newCollectionButton())
            shown.append(QStringLiteral("dashed"));
        else if (auto *row = qobject_cast<SidebarRow *>(entry))
            shown.append(row->title());
    }
    QCOMPARE(shown, entries);
    QCOMPARE(sidebar.showsCreator(), entries.contains(QStringLiteral("creator")));
    QCOMPARE(creator->isHidden(), !entries.contains(QStringLiteral("creator")));
    // The other rows keep their counts.
    for (const Collection &c : collections) {
        if (SidebarRow *row = sidebar.row(Filter::collection(c.id)))
            QCOMPARE(row->count(), std::optional<std::int64_t>(content(collections, {}).count(Filter::collection(c.id)).value()));
    }
}

void TestLibrarySidebar::dropsOnRows_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<bool>("takes");
    QTest::newRow("favourites") << Filter::favourites() << true;
    QTest::newRow("trash") << Filter::trash() << true;
    QTest::newRow("a collection") << Filter::collection(kTwo[0].id) << true;
    QTest::newRow("all saves") << Filter::all() << false;
    QTest::newRow("recently added") << Filter::recentlyAdded() << false;
    QTest::newRow("an author") << Filter::author(Handle{QStringLiteral("ann")}) << false;
}

void TestLibrarySidebar::dropsOnRows()
{
    QFETCH(Filter, filter);
    QFETCH(bool, takes);
    LibrarySidebar sidebar;
    sidebar.setContent(content(kTwo, kAuthors));
    sidebar.setSelection(Filter::kind(Kind::text));
    QList<std::pair<Filter, QList<QUrl>>> dropped;
    sidebar.setDropHandler([&](const Filter &f, const QList<QUrl> &links) {
        dropped.append({f, links});
        return true;
    });
    SidebarRow *row = sidebar.row(filter);
    QCOMPARE(dragOver(row, QEvent::DragEnter), takes);
    // Lit while the drag is over it, as if chosen.
    QCOMPARE(row->isSelected(), takes);
    QCOMPARE(sidebar.dropTarget().filter().has_value(), takes);
    dragOver(row, QEvent::DragLeave);
    QVERIFY(!row->isSelected());
    dragOver(row, QEvent::DragEnter);
    QCOMPARE(dragOver(row, QEvent::Drop), takes);
    QVERIFY(!row->isSelected());
    QVERIFY(!sidebar.dropTarget().filter());
    QCOMPARE(dropped.size(), takes ? 1 : 0);
    if (takes)
        QCOMPARE(dropped.first().first, filter);
    // A drop never changes the selection.
    QCOMPARE(sidebar.selection(), Filter::kind(Kind::text));
}

void TestLibrarySidebar::withoutAHandlerEveryDropIsRefused()
{
    LibrarySidebar sidebar;
    sidebar.setContent(content(kTwo, {}));
    SidebarRow *row = sidebar.row(Filter::favourites());
    QVERIFY(dragOver(row, QEvent::DragEnter));
    QVERIFY(!dragOver(row, QEvent::Drop));
    QVERIFY(!sidebar.dropTarget().filter());
    QVERIFY(!sidebar.showsCreator());
}

void TestLibrarySidebar::collectionMenuAndButtons()
{
    LibrarySidebar sidebar;
    sidebar.setContent(content(kTwo, {}));
    QSignalSpy edits(&sidebar, &LibrarySidebar::editCollectionRequested);
    QSignalSpy deletes(&sidebar, &LibrarySidebar::deleteCollectionRequested);
    std::unique_ptr<QMenu> menu(sidebar.collectionMenu(kTwo[1].id));
    QStringList items;
    for (QAction *action : menu->actions())
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items, (QStringList{StashwellUIStrings::sidebarEdit(), "-", StashwellUIStrings::sidebarDelete()}));
    menu->actions().first()->trigger();
    menu->actions().last()->trigger();
    QCOMPARE(edits.count(), 1);
    QCOMPARE(edits.first().first().value<Collection::ID>(), kTwo[1].id);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(deletes.first().first().value<Collection::ID>(), kTwo[1].id);

    QSignalSpy captures(&sidebar, &LibrarySidebar::captureRequested);
    QSignalSpy news(&sidebar, &LibrarySidebar::newCollectionRequested);
    QSignalSpy downloads(&sidebar, &LibrarySidebar::downloadMissingRequested);
    QSignalSpy settings(&sidebar, &LibrarySidebar::settingsRequested);
    sidebar.captureButton()->click();
    sidebar.newCollectionAccessory()->click();
    sidebar.settingsButton()->click();
    QVERIFY(sidebar.storageMeter()->downloadMissingButton());
    sidebar.storageMeter()->downloadMissingButton()->click();
    sidebar.setContent(content({}, {}));
    QVERIFY(sidebar.newCollectionButton());
    sidebar.newCollectionButton()->click();
    QCOMPARE(captures.count(), 1);
    QCOMPARE(news.count(), 2);
    QCOMPARE(downloads.count(), 1);
    QCOMPARE(settings.count(), 1);
    QCOMPARE(test::accessibleName(sidebar.settingsButton()), StashwellUIStrings::sidebarSettings());
    QCOMPARE(test::accessibleName(sidebar.newCollectionAccessory()), StashwellUIStrings::sidebarNewCollection());
}

void TestLibrarySidebar::equalContentRepaintsNothing()
{
    LibrarySidebar sidebar;
    sidebar.setContent(content(kTwo, kAuthors));
    sidebar.resize(240, 900);
    QVERIFY(test::showWidget(sidebar));
    test::PaintCounter rowPaints(sidebar.row(Filter::collection(kTwo[0].id)));
    test::PaintCounter chipPaints(sidebar.chip(Filter::linkOnly()));
    rowPaints.start();
    chipPaints.reset();
    SidebarRow *before = sidebar.row(Filter::collection(kTwo[0].id));
    sidebar.setContent(content(kTwo, kAuthors));
    sidebar.setSelection(Filter::all());
    sidebar.setCreating(std::nullopt);
    QCOMPARE(rowPaints.settle(), 0);
    QCOMPARE(chipPaints.settle(), 0);
    QCOMPARE(sidebar.row(Filter::collection(kTwo[0].id)), before);
    sidebar.setSelection(Filter::collection(kTwo[0].id));
    QVERIFY(rowPaints.settle() > 0);
}

void TestLibrarySidebar::bandForWindowButtonsOnlyWhenFrameless()
{
    // The same sidebar in a window the desktop decorates and in a frameless one.
    QList<int> bands, tops;
    for (const Qt::WindowFlags flags : {Qt::WindowFlags(Qt::Window), Qt::Window | Qt::FramelessWindowHint}) {
        QWidget window(nullptr, flags);
        auto *sidebar = new LibrarySidebar(&window);
        window.resize(240, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bands << sidebar->topBand();
        tops << sidebar->captureButton()->mapTo(&window, QPoint(0, 0)).y();
    }
    QCOMPARE(bands, (QList<int>{0, int(LibrarySidebar::topSafeArea)}));
    QCOMPARE(tops.at(1) - tops.at(0), bands.at(1));
}

QTEST_MAIN(TestLibrarySidebar)
#include "tst_librarysidebar.moc"
