// What the shelf presenter shows, as data: the visible order, the home arrangement and the filtered
// one (with and without a search, a search of spaces included), the columns and the count texts.

#include "ShelfWords.h"
#include "Stashwell/Presenters/ShelfArrangement.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using S = StashwellStrings;

Q_DECLARE_METATYPE(sw::Filter)

namespace {

// "3 1 2" for the saves' numbers.
QString numbers(const QList<ShelfItem> &items)
{
    QStringList out;
    for (const ShelfItem &item : items) {
        for (int n = 1; n <= 64; ++n) {
            if (item.save().id() == saveID(n)) {
                out.append(QString::number(n));
                break;
            }
        }
    }
    return out.join(QLatin1Char(' '));
}

// One line per part: "hero 1", then "<kind> <numbers> | title | detail | button" per section.
QStringList describe(const ShelfArrangement &a)
{
    QStringList lines;
    if (a.isEmpty)
        lines.append(QStringLiteral("empty | %1 | %2").arg(a.emptyTitle, a.emptyMessage));
    if (a.hero)
        lines.append(QStringLiteral("hero ") + numbers({*a.hero}));
    for (const ShelfSection &s : a.sections) {
        const char *kind = s.kind == ShelfSection::Kind::recentlyAdded ? "recent"
                           : s.kind == ShelfSection::Kind::allSaves    ? "all"
                                                                       : "matching";
        lines.append(QStringLiteral("%1 %2 | %3 | %4 | %5")
                         .arg(QLatin1String(kind), numbers(s.items), s.title, s.detail.value_or(QStringLiteral("-")),
                              s.actionTitle.value_or(QStringLiteral("-"))));
    }
    return lines;
}

QString section(const char *kind, const QString &saves, const QString &title, const QString &detail = QStringLiteral("-"),
                const QString &button = QStringLiteral("-"))
{
    return QStringLiteral("%1 %2 | %3 | %4 | %5").arg(QLatin1String(kind), saves, title, detail, button);
}

QString missingButton(qint64 count) { return S::shelfDownloadMissing(count, Formatting::bytes(count * 100)); }

}  // namespace

class TestShelfArrangement : public QObject {
    Q_OBJECT
private slots:
    void arrangement_data();
    void arrangement();
    void visibleItems_data();
    void visibleItems();
    void countText_data();
    void countText();
    void keptListsOfTwoRowLengths_data();
    void keptListsOfTwoRowLengths();
};

void TestShelfArrangement::arrangement_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QStringList>("expected");

    const QString title = QStringLiteral("The Title");
    const QString empty = StashwellUIStrings::shelfEmptyMessage();
    const QString recent = S::shelfRecentlyAdded();
    const QString all = S::shelfAllSaves();
    const QString viewAll = S::shelfViewAll();

    QTest::newRow("empty library") << "" << Filter::all() << "" << false
                                   << QStringList{QStringLiteral("empty | %1 | %2").arg(S::shelfEmptyTitle(), empty)};
    QTest::newRow("a search that matches nothing")
        << "r r o" << Filter::all() << "zebra" << false
        << QStringList{QStringLiteral("empty | %1 | %2").arg(S::shelfNoMatch("zebra"), empty)};
    QTest::newRow("an empty filter") << "r r o" << Filter::trash() << "" << false
                                     << QStringList{QStringLiteral("empty | %1 | %2").arg(S::shelfEmptyTitle(), empty)};

    QTest::newRow("home, nothing selected: four recent")
        << "r r r r r r o o" << Filter::all() << "" << false
        << QStringList{"hero 1", section("recent", "2 3 4 5", recent, "-", viewAll),
                       section("all", "6 7 8", all, "-", missingButton(8))};
    QTest::newRow("home, a save selected: three recent, the fourth heads the list")
        << "r r r r r r o o" << Filter::all() << "" << true
        << QStringList{"hero 1", section("recent", "2 3 4", recent, "-", viewAll),
                       section("all", "5 6 7 8", all, "-", missingButton(8))};
    QTest::newRow("home, trashed saves left out")
        << "rx r rx r o" << Filter::all() << "" << false
        << QStringList{"hero 2", section("recent", "4", recent, "-", viewAll), section("all", "5", all, "-", missingButton(3))};
    QTest::newRow("home, the hero and old saves: no row")
        << "o o o" << Filter::all() << "" << false << QStringList{"hero 1", section("all", "2 3", all, "-", missingButton(3))};
    QTest::newRow("home, media missing but no list: no button anywhere")
        << "r r r" << Filter::all() << "" << false << QStringList{"hero 1", section("recent", "2 3", recent, "-", viewAll)};
    QTest::newRow("home, nothing missing: the list without a button")
        << "rh rw rh rh rh oh ow" << Filter::all() << "" << false
        << QStringList{"hero 1", section("recent", "2 3 4 5", recent, "-", viewAll), section("all", "6 7", all)};

    QTest::newRow("filter all with a search")
        << "r r o" << Filter::all() << "number 2" << false
        << QStringList{section("matching", "2", title, S::shelfMatching(S::shelfItemOne(1), "number 2"))};
    QTest::newRow("a search of spaces is a search")
        << "r r o" << Filter::all() << "  " << false
        << QStringList{section("matching", "1 2 3", title, S::shelfMatching(S::shelfItemMany(3), "  "))};
    QTest::newRow("favourites, one") << "r rf o" << Filter::favourites() << "" << false
                                     << QStringList{section("matching", "2", title, S::shelfItemOne(1))};
    QTest::newRow("recently added, all of them in one section")
        << "r r r r r r o" << Filter::recentlyAdded() << "" << true
        << QStringList{section("matching", "1 2 3 4 5 6", title, S::shelfItemMany(6))};
    QTest::newRow("link only, searched") << "rh r o ow" << Filter::linkOnly() << "post" << false
                                         << QStringList{section("matching", "2 3", title,
                                                                S::shelfMatching(S::shelfItemMany(2), "post"))};
}

void TestShelfArrangement::arrangement()
{
    QFETCH(QString, saves);
    QFETCH(Filter, filter);
    QFETCH(QString, query);
    QFETCH(bool, selected);
    QFETCH(QStringList, expected);

    const Shelf shelf = shelfOf(saves);
    const qsizetype columns = ShelfArrangement::columns(selected ? std::optional(saveID(1)) : std::nullopt);
    const ShelfArrangement a = ShelfArrangement::of(shelf, filter, query, QStringLiteral("The Title"), columns);
    QCOMPARE(describe(a), expected);
    // The parts shown are the visible order, in the same order.
    QCOMPARE(numbers(a.items()), numbers(ShelfArrangement::visibleItems(shelf, filter, query)));
}

// Beyond the arrangements above, whose parts are checked against the visible order.
void TestShelfArrangement::visibleItems_data()
{
    QTest::addColumn<QString>("saves");
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("order");
    QTest::newRow("home: recent saves ahead of an older one") << "r o r r" << Filter::all() << "" << "1 3 4 2";
    QTest::newRow("filter all with spaces: library order") << "r o r r" << Filter::all() << " " << "1 2 3 4";
}

void TestShelfArrangement::visibleItems()
{
    QFETCH(QString, saves);
    QFETCH(Filter, filter);
    QFETCH(QString, query);
    QFETCH(QString, order);
    QCOMPARE(numbers(ShelfArrangement::visibleItems(shelfOf(saves), filter, query)), order);
}

void TestShelfArrangement::countText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("text");

    QTest::newRow("none") << 0 << "" << S::shelfItemMany(0);
    QTest::newRow("one") << 1 << "" << S::shelfItemOne(1);
    QTest::newRow("many, plain digits") << 12345 << "" << S::shelfItemMany(12345);
    QTest::newRow("none matching") << 0 << "cat" << S::shelfMatching(S::shelfItemMany(0), "cat");
    QTest::newRow("a query holding a placeholder") << 2 << "%1" << S::shelfMatching(S::shelfItemMany(2), "%1");
}

void TestShelfArrangement::countText()
{
    QFETCH(int, count);
    QFETCH(QString, query);
    QFETCH(QString, text);
    QCOMPARE(ShelfArrangement::countText(count, query), text);
}

// The home's all section made for each row length in turn, with the lists kept between them: which
// earlier arrangement's list each one shares ("-" for one made anew), and every one the same as
// made without keeping.
void TestShelfArrangement::keptListsOfTwoRowLengths_data()
{
    QTest::addColumn<QString>("rowLengths");
    QTest::addColumn<QString>("shares");
    // Four recent saves: a row of three or fewer leaves some over.
    QTest::newRow("selected and let go in turn") << "3 2 3 2" << "- - 0 1";
    QTest::newRow("the same row again") << "3 3" << "- 0";
    QTest::newRow("a third length lets the oldest go") << "3 2 1 2 3" << "- - - 1 -";
}

void TestShelfArrangement::keptListsOfTwoRowLengths()
{
    QFETCH(QString, rowLengths);
    QFETCH(QString, shares);
    const Shelf shelf = shelfOf(QStringLiteral("r r r r r r o o"));
    const Home home = shelf.home();
    const QList<ShelfItem> rest = home.rest();
    ShelfArrangement::AllSaves kept;
    QList<QList<ShelfItem>> made;
    const QStringList lengths = rowLengths.split(u' ');
    const QStringList expected = shares.split(u' ');
    for (qsizetype step = 0; step < lengths.size(); ++step) {
        const qsizetype columns = lengths[step].toInt();
        const ShelfArrangement a = ShelfArrangement::home(home, rest, 0, 0, columns, &kept);
        QCOMPARE(a, ShelfArrangement::home(home, rest, 0, 0, columns));
        const QList<ShelfItem> &all = a.sections.constLast().items;
        QString shared = QStringLiteral("-");
        for (qsizetype earlier = 0; earlier < made.size(); ++earlier) {
            if (all.isSharedWith(made[earlier]))
                shared = QString::number(earlier);
        }
        QCOMPARE(shared, expected[step]);
        made.append(all);
    }
}

QTEST_MAIN(TestShelfArrangement)
#include "tst_shelfarrangement.moc"
