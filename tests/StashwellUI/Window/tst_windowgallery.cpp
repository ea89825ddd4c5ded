// The library window's views in every look, for people to look at: the whole frame, the sidebar
// with and without collections and authors, with the creator in it, the creator alone with its
// hint and with a problem, and the status bar.

#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"
#include "StashwellUI/Window/StatusBar.h"
#include "StashwellUI/Sidebar/CollectionCreator.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"

#include "CaptureFixtures.h"
#include "ControlTesting.h"
#include "Gallery.h"

#include <QTest>

#include <functional>

using namespace sw;

using Factory = std::function<QWidget *()>;
Q_DECLARE_METATYPE(Factory)

namespace {

SidebarContent content(bool collections, bool authors)
{
    SidebarContent c;
    if (collections) {
        c.collections = {Collection{Collection::ID(fixtures::fixedUuid(1)), QStringLiteral("Trips"), Swatch::amber},
                         Collection{Collection::ID(fixtures::fixedUuid(2)), QStringLiteral("Recipes"), Swatch::pink},
                         Collection{Collection::ID(fixtures::fixedUuid(3)), QStringLiteral("Reading list"), Swatch::violet}};
    }
    if (authors) {
        c.authors = {Author{QStringLiteral("Ann Lee"), Handle{QStringLiteral("annlee")}, std::nullopt},
                     Author{QStringLiteral("Bo Chen"), Handle{QStringLiteral("bo")}, std::nullopt}};
    }
    qsizetype n = 3;
    for (const Filter &filter : SidebarContent::countedFilters(c.collections, c.authors))
        c.counts.insert(filter, (n += 7));
    c.onDisk = qint64(1300) << 20;
    c.limit = qint64(5) << 30;
    c.folder = QStringLiteral("~/Videos/Stashwell");
    c.missing = 3;
    return c;
}

CollectionCreator *creator(const std::optional<QString> &problem, bool filesSave)
{
    auto *form = new CollectionCreator;
    form->setName(problem ? QStringLiteral("Trips") : QStringLiteral("Weekend"));
    form->setSwatch(Swatch::green);
    form->setConfirmTitle(QStringLiteral("Create"));
    form->setCanCreate(!problem);
    form->setFilesSave(filesSave);
    form->setProblem(problem);
    return form;
}

LibrarySidebar *sidebar(bool collections, bool authors, std::optional<CreatorPlace> creating = std::nullopt)
{
    auto *view = new LibrarySidebar;
    view->setContent(content(collections, authors));
    view->setSelection(collections ? Filter::collection(Collection::ID(fixtures::fixedUuid(2))) : Filter::all());
    if (creating) {
        view->setCreator(creator(std::nullopt, false));
        view->setCreating(creating);
    }
    view->resize(240, 900);
    return view;
}

StatusBar *statusBar()
{
    auto *bar = new StatusBar;
    bar->setItems(1284);
    bar->setOnDisk(qint64(1300) << 20);
    bar->setFolder(QStringLiteral("~/Videos/Stashwell"));
    return bar;
}

}  // namespace

class TestWindowGallery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::prepareControls();
        ScrollBarStyle::install();
    }
    void everyViewInEveryLook_data();
    void everyViewInEveryLook();
};

void TestWindowGallery::everyViewInEveryLook_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Factory>("factory");
    QTest::newRow("sidebar-empty") << "sidebar-empty" << Factory([] { return sidebar(false, false); });
    QTest::newRow("sidebar-full") << "sidebar-full" << Factory([] { return sidebar(true, true); });
    // Shorter than its column: the column scrolls, with the application's scroll bar.
    QTest::newRow("sidebar-scrolling") << "sidebar-scrolling" << Factory([] {
        LibrarySidebar *view = sidebar(true, true);
        view->resize(240, 420);
        return view;
    });
    QTest::newRow("sidebar-new-collection") << "sidebar-new-collection"
                                            << Factory([] { return sidebar(true, false, CreatorPlace::makeNew()); });
    QTest::newRow("sidebar-editing") << "sidebar-editing" << Factory([] {
        return sidebar(true, true, CreatorPlace::editing(Collection::ID(fixtures::fixedUuid(2))));
    });
    QTest::newRow("creator-hint") << "creator-hint" << Factory([] {
        auto *form = creator(std::nullopt, true);
        form->resize(220, form->heightForWidth(220));
        return form;
    });
    QTest::newRow("creator-problem") << "creator-problem" << Factory([] {
        auto *form = creator(QStringLiteral("A collection with this name already exists. Pick another name."), false);
        form->resize(220, form->heightForWidth(220));
        return form;
    });
    QTest::newRow("status-bar") << "status-bar" << Factory([] {
        auto *bar = statusBar();
        bar->resize(1100, 30);
        return bar;
    });
    QTest::newRow("window") << "window" << Factory([] {
        auto *bar = new QWidget;
        bar->setFixedHeight(52);
        auto *window = new LibraryWindowTemplate(sidebar(true, true), bar, new QWidget, new QWidget, statusBar());
        window->resize(1280, 800);
        window->setShowsInspector(true);
        return window;
    });
}

void TestWindowGallery::everyViewInEveryLook()
{
    QFETCH(QString, name);
    QFETCH(Factory, factory);
    std::unique_ptr<QWidget> view(factory());
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    QString why;
    QVERIFY2(gallery::captureAndCheck(*view, name, &why), qPrintable(why));
}

QTEST_MAIN(TestWindowGallery)
#include "tst_windowgallery.moc"
