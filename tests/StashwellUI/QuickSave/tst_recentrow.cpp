#include "StashwellUI/QuickSave/RecentRow.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "ControlTesting.h"
#include "Gallery.h"
#include "PresentationFixtures.h"

#include <QSignalSpy>
#include <QTest>

using namespace sw;
using namespace sw::fixtures;

namespace {

constexpr double savedAt = 700000000;

ShelfItem recentItem(int n, const QString &text, const QString &handle = QStringLiteral("someone"), double age = 120)
{
    Post p = post(xLink(handle, QString::number(n)), n % 2 ? std::vector<Attachment>{image(n)} : std::vector<Attachment>{}, text);
    p.author.handle = Handle{handle};
    return item(save(p, n, Date{savedAt - age}));
}

}  // namespace

class TestRecentRow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void title_data();
    void title();
    void byline_data();
    void byline();
    void listShowsEveryItem_data();
    void listShowsEveryItem();
    void clickAnywhereSelectsOnce();
    void newMomentRetellsTheAge();
    void gallery();
};

void TestRecentRow::title_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("one line") << "Just words" << "Just words";
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("line feed") << "first\nsecond" << "first";
    QTest::newRow("carriage return and line feed") << "first\r\nsecond" << "first";
    QTest::newRow("vertical tab") << "first\vsecond" << "first";
    QTest::newRow("form feed") << "first\fsecond" << "first";
    QTest::newRow("next line") << "first\u0085second" << "first";
    QTest::newRow("line separator") << "first\u2028second" << "first";
    QTest::newRow("paragraph separator") << "first\u2029second" << "first";
    QTest::newRow("starts with a break") << "\nsecond" << QString();
    QTest::newRow("tab is no break") << "first\tsecond" << "first\tsecond";
    QTest::newRow("no-break space is no break") << "first\u00A0second" << "first\u00A0second";
}

void TestRecentRow::title()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QCOMPARE(RecentRow::title(text), title);
    const RecentRow row(recentItem(1, text), Date{savedAt});
    QCOMPARE(row.titleText(), title);
}

void TestRecentRow::byline_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<double>("age");
    QTest::addColumn<QString>("byline");
    QTest::newRow("minutes") << "someone" << 300.0 << "@someone \u00B7 " + StashwellUIStrings::timeMinutes(5);
    QTest::newRow("a full stop keeps the @") << "news.example.com" << 7200.0
                                             << "@news.example.com \u00B7 " + StashwellUIStrings::timeHours(2);
    QTest::newRow("saved after now") << "someone" << -3600.0 << "@someone \u00B7 " + StashwellUIStrings::timeNow();
    QTest::newRow("under a minute") << "someone" << 59.0 << "@someone \u00B7 " + StashwellUIStrings::timeNow();
    QTest::newRow("weeks") << "someone" << 8.0 * 86400 << "@someone \u00B7 " + StashwellUIStrings::timeWeeks(1);
}

void TestRecentRow::byline()
{
    QFETCH(QString, handle);
    QFETCH(double, age);
    QFETCH(QString, byline);
    const RecentRow row(recentItem(1, QStringLiteral("text"), handle, age), Date{savedAt});
    QCOMPARE(row.bylineText(), byline);
}

void TestRecentRow::listShowsEveryItem_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none: the heading alone") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("ten") << 10;
}

void TestRecentRow::listShowsEveryItem()
{
    QFETCH(int, count);
    QList<ShelfItem> items;
    for (int n = count; n >= 1; --n)
        items.append(recentItem(n, QStringLiteral("Post %1").arg(n)));
    RecentList list;
    list.setItems(items, Date{savedAt});
    QCOMPARE(list.rows().size(), count);
    // In the order given, not sorted.
    for (int i = 0; i < count; ++i)
        QCOMPARE(list.rows().at(i)->id(), items.at(i).save().id());
    QVERIFY(list.sizeHint().height() > 0);
}

void TestRecentRow::clickAnywhereSelectsOnce()
{
    const QList<ShelfItem> items{recentItem(1, QStringLiteral("Short")), recentItem(2, QStringLiteral("Another"))};
    RecentList list;
    list.resize(348, 200);
    list.setItems(items, Date{savedAt});
    QVERIFY(test::showWidget(list));
    QSignalSpy selected(&list, &RecentList::selected);
    RecentRow *row = list.rows().at(1);
    // Beside the text, where nothing is drawn, and on the thumbnail.
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() - 4, row->height() / 2));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).value<Save::ID>(), items.at(1).save().id());
    const QPoint onThumbnail = row->thumbnail()->geometry().center();
    QTest::mouseClick(row, Qt::LeftButton, {}, onThumbnail);
    QCOMPARE(selected.count(), 2);
    QCOMPARE(selected.at(1).at(0).value<Save::ID>(), items.at(1).save().id());
}

void TestRecentRow::newMomentRetellsTheAge()
{
    const QList<ShelfItem> items{recentItem(1, QStringLiteral("Post"))};
    RecentList list;
    list.setItems(items, Date{savedAt});
    RecentRow *row = list.rows().at(0);
    list.setItems(items, Date{savedAt + 3600});
    // The same row, telling the new age.
    QCOMPARE(list.rows().at(0), row);
    QCOMPARE(row->bylineText(), QStringLiteral("@someone \u00B7 ") + StashwellUIStrings::timeHours(1));
}

void TestRecentRow::gallery()
{
    QList<ShelfItem> items{recentItem(1, QStringLiteral("A thread about the light at dusk over the harbour, and why it matters")),
                           recentItem(2, QStringLiteral("\nStarts with a break")),
                           recentItem(3, QStringLiteral("Field notes\nsecond line"), QStringLiteral("news.example.com"), 90000)};
    RecentList list;
    list.setFixedWidth(348);
    list.setItems(items, Date{savedAt});
    QVERIFY(test::showWidget(list));
    list.resize(348, list.heightForWidth(348));
    // The pointer over the second row.
    RecentRow *hovered = list.rows().at(1);
    QTest::mouseMove(hovered, QPoint(hovered->width() / 2, hovered->height() / 2));
    QString why;
    QVERIFY2(gallery::captureAndCheck(list, QStringLiteral("recentlist"), &why), qPrintable(why));
}

QTEST_MAIN(TestRecentRow)
#include "tst_recentrow.moc"
