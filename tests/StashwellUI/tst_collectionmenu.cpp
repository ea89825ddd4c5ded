#include "StashwellUI/Saves/CollectionMenu.h"
#include "ControlTesting.h"
#include "Gallery.h"
#include "PresentationFixtures.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Tokens.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <cmath>

using namespace sw;

using OptionalID = std::optional<sw::Collection::ID>;
Q_DECLARE_METATYPE(OptionalID)
Q_DECLARE_METATYPE(QList<sw::Collection>)

namespace {

Collection::ID collectionID(int n)
{
    return Collection::ID(QUuid(QStringLiteral("10000000-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0'))));
}

QList<Collection> collections(int count)
{
    const QStringList names{QStringLiteral("Reading"), QStringLiteral("Recipes"), QStringLiteral("Talks"),
                            QStringLiteral("Travel"), QStringLiteral("Tools")};
    QList<Collection> result;
    for (int i = 0; i < count; ++i)
        result.append(Collection{collectionID(i + 1), names.at(i % names.size()), allSwatches.at(std::size_t(i % 5))});
    return result;
}

// The checked rows, by index.
QList<int> checkedRows(const QList<CollectionMenu::Row> &rows)
{
    QList<int> result;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).checked)
            result.append(i);
    }
    return result;
}

// What the menu reported: "none", a collection's number, or "new".
struct Reports {
    explicit Reports(CollectionMenu &menu)
    {
        QObject::connect(&menu, &CollectionMenu::picked, &menu, [this](const OptionalID &id) {
            if (!id) {
                list.append(QStringLiteral("none"));
                return;
            }
            for (int n = 1; n <= 10; ++n) {
                if (*id == collectionID(n))
                    list.append(QString::number(n));
            }
        });
        QObject::connect(&menu, &CollectionMenu::newCollectionRequested, &menu,
                         [this] { list.append(QStringLiteral("new")); });
    }
    QStringList list;
};

}  // namespace

class TestCollectionMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void rows_data();
    void rows();
    void geometry_data();
    void geometry();
    void widthGrowsForALongName();
    void clicksReportTheRow_data();
    void clicksReportTheRow();
    void keyboardNavigation_data();
    void keyboardNavigation();
    void hoverIsTheHighlight();
    void neverClosesItself();
    void rebuildingKeepsTheHighlight();
    void accessibility();
    void gallery_data();
    void gallery();
};

void TestCollectionMenu::rows_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<OptionalID>("current");
    QTest::addColumn<QList<int>>("checked");
    QTest::newRow("empty, filed nowhere") << 0 << OptionalID() << QList<int>{0};
    QTest::newRow("three, filed nowhere") << 3 << OptionalID() << QList<int>{0};
    QTest::newRow("filed in the second") << 3 << OptionalID(collectionID(2)) << QList<int>{2};
    QTest::newRow("filed in the last") << 3 << OptionalID(collectionID(3)) << QList<int>{3};
    QTest::newRow("filed in one not offered: nothing checked") << 3 << OptionalID(collectionID(9)) << QList<int>{};
    QTest::newRow("empty, filed in one not offered") << 0 << OptionalID(collectionID(1)) << QList<int>{};
}

void TestCollectionMenu::rows()
{
    QFETCH(int, count);
    QFETCH(OptionalID, current);
    QFETCH(QList<int>, checked);
    const QList<Collection> offered = collections(count);
    const QList<CollectionMenu::Row> rows = CollectionMenu::rows(offered, current);
    QCOMPARE(rows.size(), count + 2);
    QCOMPARE(rows.first().kind, CollectionMenu::Row::Kind::none);
    QCOMPARE(rows.first().title, StashwellUIStrings::collectionNone());
    QCOMPARE(rows.last().kind, CollectionMenu::Row::Kind::newCollection);
    QCOMPARE(rows.last().title, StashwellUIStrings::collectionNew());
    QVERIFY(!rows.last().checked);
    for (int i = 0; i < count; ++i) {
        const CollectionMenu::Row &row = rows.at(i + 1);
        QCOMPARE(row.kind, CollectionMenu::Row::Kind::collection);
        QCOMPARE(row.title, offered.at(i).name);
        QCOMPARE(row.id, std::optional<Collection::ID>(offered.at(i).id));
        QCOMPARE(row.swatch, offered.at(i).swatch);
    }
    QCOMPARE(checkedRows(rows), checked);
}

void TestCollectionMenu::geometry_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("no collections") << 0;
    QTest::newRow("three") << 3;
}

void TestCollectionMenu::geometry()
{
    QFETCH(int, count);
    CollectionMenu menu(collections(count), std::nullopt);
    menu.resize(menu.sizeHint());
    QCOMPARE(menu.sizeHint().width(), 220);
    // Padding 6, rows of 30 one point apart, and a divider with 4 above and below.
    const int rows = count + 2;
    QCOMPARE(menu.sizeHint().height(), 12 + rows * 30 + 9 + rows);
    QCOMPARE(menu.rowRect(0), QRectF(6, 6, 208, 30));
    const QRectF divider = menu.dividerRect();
    QCOMPARE(divider.top(), menu.rowRect(rows - 2).bottom() + 1 + 4);
    QCOMPARE(divider.height(), 1.0);
    QCOMPARE(menu.rowRect(rows - 1).top(), divider.bottom() + 4 + 1);
    QCOMPARE(menu.rowRect(rows - 1).bottom(), menu.sizeHint().height() - 6.0);
    // Every row is 30 high, and the whole row takes clicks, its empty stretch too.
    for (int i = 0; i < rows; ++i) {
        QCOMPARE(menu.rowRect(i).height(), 30.0);
        QCOMPARE(menu.rowAt(QPointF(menu.rowRect(i).right() - 2, menu.rowRect(i).center().y())), i);
    }
    QCOMPARE(menu.rowAt(divider.center()), -1);
    QCOMPARE(menu.rowAt(QPointF(2, 2)), -1);
}

void TestCollectionMenu::widthGrowsForALongName()
{
    const QString name = QStringLiteral("A collection with a name much longer than the menu is wide at first");
    QList<Collection> offered{Collection{collectionID(1), name, Swatch::violet}};
    CollectionMenu unchecked(offered, std::nullopt);
    CollectionMenu checked(offered, collectionID(1));
    const double title = std::ceil(QFontMetricsF(Tokens::Typography::body.font()).horizontalAdvance(name));
    // Icon frame, title, 12-point spacer, item spacing and insets; the check mark where it shows.
    QCOMPARE(unchecked.menuWidth(), std::ceil(6 + 10 + 14 + 8 + title + 8 + 12 + 10 + 6));
    QVERIFY(checked.menuWidth() > unchecked.menuWidth());
    QVERIFY(unchecked.menuWidth() > 220);
    // The row stays one line of 30.
    QCOMPARE(unchecked.sizeHint().height(), CollectionMenu(collections(1), std::nullopt).sizeHint().height());
}

void TestCollectionMenu::clicksReportTheRow_data()
{
    QTest::addColumn<OptionalID>("current");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("report");
    QTest::newRow("no collection") << OptionalID(collectionID(1)) << 0 << "none";
    QTest::newRow("a collection") << OptionalID() << 2 << "2";
    QTest::newRow("the checked one, again") << OptionalID(collectionID(3)) << 3 << "3";
    QTest::newRow("no collection while in none") << OptionalID() << 0 << "none";
    QTest::newRow("new collection") << OptionalID() << 4 << "new";
}

void TestCollectionMenu::clicksReportTheRow()
{
    QFETCH(OptionalID, current);
    QFETCH(int, row);
    QFETCH(QString, report);
    CollectionMenu menu(collections(3), current);
    Reports reports(menu);
    menu.resize(menu.sizeHint());
    QVERIFY(test::showWidget(menu));
    const QRectF rect = menu.rowRect(row);
    // At the far end of the row, in its empty stretch.
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(int(rect.right()) - 3, int(rect.center().y())));
    QCOMPARE(reports.list, QStringList{report});
    // Pressed on one row and released on another: nothing.
    QTest::mousePress(&menu, Qt::LeftButton, {}, menu.rowRect(0).center().toPoint());
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, menu.rowRect(1).center().toPoint());
    QCOMPARE(reports.list.size(), 1);
    // A click on the divider or the padding chooses nothing.
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.dividerRect().center().toPoint());
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(reports.list.size(), 1);
}

void TestCollectionMenu::keyboardNavigation_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("highlighted");
    QTest::addColumn<QStringList>("reports");
    const int down = Qt::Key_Down, up = Qt::Key_Up, enter = Qt::Key_Return, space = Qt::Key_Space;
    QTest::newRow("nothing highlighted: Return chooses nothing") << QList<int>{enter} << -1 << QStringList{};
    QTest::newRow("down highlights the first") << QList<int>{down} << 0 << QStringList{};
    QTest::newRow("up highlights the last") << QList<int>{up} << 4 << QStringList{};
    QTest::newRow("down, down, Return picks the first collection") << QList<int>{down, down, enter} << 1
                                                                    << QStringList{"1"};
    QTest::newRow("down wraps from the last to the first") << QList<int>{up, down} << 0 << QStringList{};
    QTest::newRow("up wraps from the first to the last") << QList<int>{down, up} << 4 << QStringList{};
    QTest::newRow("up, Return asks for a new collection") << QList<int>{up, enter} << 4 << QStringList{"new"};
    QTest::newRow("Space chooses too") << QList<int>{down, space} << 0 << QStringList{"none"};
    QTest::newRow("Enter on the keypad") << QList<int>{down, down, down, int(Qt::Key_Enter)} << 2 << QStringList{"2"};
    QTest::newRow("End then Home") << QList<int>{int(Qt::Key_End), int(Qt::Key_Home)} << 0 << QStringList{};
    QTest::newRow("Tab moves on, Backtab back") << QList<int>{int(Qt::Key_Tab), int(Qt::Key_Tab), int(Qt::Key_Backtab)} << 0
                                               << QStringList{};
    QTest::newRow("the divider is skipped") << QList<int>{up, up} << 3 << QStringList{};
}

void TestCollectionMenu::keyboardNavigation()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, highlighted);
    QFETCH(QStringList, reports);
    CollectionMenu menu(collections(3), collectionID(2));
    Reports reported(menu);
    menu.resize(menu.sizeHint());
    QVERIFY(test::showWidget(menu));
    menu.setFocus();
    for (int key : keys)
        QTest::keyClick(&menu, Qt::Key(key));
    QCOMPARE(menu.highlighted(), highlighted);
    QCOMPARE(reported.list, reports);
}

void TestCollectionMenu::hoverIsTheHighlight()
{
    CollectionMenu menu(collections(2), std::nullopt);
    menu.resize(menu.sizeHint());
    QVERIFY(test::showWidget(menu));
    QTest::mouseMove(&menu, menu.rowRect(2).center().toPoint());
    QCOMPARE(menu.highlighted(), 2);
    QTest::keyClick(&menu, Qt::Key_Up);
    QCOMPARE(menu.highlighted(), 1);
    QTest::mouseMove(&menu, menu.dividerRect().center().toPoint());
    QCOMPARE(menu.highlighted(), -1);
    QEvent leave(QEvent::Leave);
    menu.setHighlighted(0);
    QApplication::sendEvent(&menu, &leave);
    QCOMPARE(menu.highlighted(), -1);
}

void TestCollectionMenu::neverClosesItself()
{
    CollectionMenu menu(collections(2), std::nullopt);
    Reports reports(menu);
    menu.popUp(QPoint(40, 40));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.size(), menu.sizeHint());
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
    QCOMPARE(reports.list, QStringList{"none"});
    QVERIFY(menu.isVisible());
    menu.activate(3);
    QCOMPARE(reports.list, (QStringList{"none", "new"}));
    QVERIFY(menu.isVisible());
    // Escape is the presenter's: the pop-up window closes.
    QTest::keyClick(&menu, Qt::Key_Escape);
    QVERIFY(!menu.isVisible());
}

void TestCollectionMenu::rebuildingKeepsTheHighlight()
{
    CollectionMenu menu(collections(3), std::nullopt);
    menu.setHighlighted(3);
    menu.setCollections(collections(3), collectionID(3));
    QCOMPARE(menu.highlighted(), 3);
    QCOMPARE(checkedRows(menu.menuRows()), QList<int>{3});
    menu.setHighlighted(4);
    menu.setCollections(collections(1), collectionID(1));
    QCOMPARE(menu.highlighted(), -1);
    QCOMPARE(menu.menuRows().size(), 3);
    menu.setHighlighted(7);
    QCOMPARE(menu.highlighted(), -1);
}

void TestCollectionMenu::accessibility()
{
    CollectionMenu menu(collections(2), collectionID(1));
    Reports reports(menu);
    menu.resize(menu.sizeHint());
    QVERIFY(test::showWidget(menu));
    QAccessibleInterface *iface = test::accessibleOf(&menu);
    QVERIFY(iface);
    QCOMPARE(iface->childCount(), 4);
    QStringList names;
    QList<bool> selected;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *row = iface->child(i);
        QVERIFY(row && row->isValid());
        QCOMPARE(row->role(), QAccessible::MenuItem);
        QCOMPARE(iface->indexOfChild(row), i);
        names.append(row->text(QAccessible::Name));
        selected.append(row->state().selected);
    }
    QCOMPARE(names, (QStringList{StashwellUIStrings::collectionNone(), QStringLiteral("Reading"), QStringLiteral("Recipes"),
                                 StashwellUIStrings::collectionNew()}));
    QCOMPARE(selected, (QList<bool>{false, true, false, false}));
    // Pressing through assistive technology chooses the row.
    QAccessibleActionInterface *actions = iface->child(2)->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(reports.list, QStringList{"2"});
    menu.setHighlighted(3);
    QVERIFY(iface->child(3)->state().focused);
}

void TestCollectionMenu::gallery_data()
{
    QTest::addColumn<QList<Collection>>("offered");
    QTest::addColumn<OptionalID>("current");
    QTest::addColumn<int>("highlighted");
    QTest::newRow("empty") << collections(0) << OptionalID() << -1;
    QTest::newRow("filed") << collections(5) << OptionalID(collectionID(2)) << -1;
    QTest::newRow("highlighted-none") << collections(3) << OptionalID() << 0;
    QTest::newRow("highlighted-new") << collections(3) << OptionalID(collectionID(3)) << 4;
    QTest::newRow("long-name") << QList<Collection>{Collection{collectionID(1),
                                                               QStringLiteral("Things to read on a long train journey"),
                                                               Swatch::pink}}
                               << OptionalID(collectionID(1)) << 1;
}

void TestCollectionMenu::gallery()
{
    QFETCH(QList<Collection>, offered);
    QFETCH(OptionalID, current);
    QFETCH(int, highlighted);
    CollectionMenu menu(offered, current);
    menu.setHighlighted(highlighted);
    menu.resize(menu.sizeHint());
    QString why;
    QVERIFY2(gallery::captureAndCheck(menu, QStringLiteral("CollectionMenu-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestCollectionMenu)
#include "tst_collectionmenu.moc"
