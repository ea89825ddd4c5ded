// Links dragged over sidebar rows: the shared record of the row under the drag, whatever order the
// enter and leave notifications come in, and what a drop hands on; and where the creator stands.

#include "StashwellUI/Sidebar/CreatorPlace.h"
#include "StashwellUI/Sidebar/DropOnRow.h"

#include "StashwellUI/Controls/SidebarRow.h"

#include "CaptureFixtures.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>

#include <map>
#include <memory>

using namespace sw;

namespace {

const Collection::ID kCollection(fixtures::fixedUuid(7));

// Four rows on one record: three that take drops and one that does not.
struct Rows {
    DropTarget target;
    std::map<QChar, std::unique_ptr<SidebarRow>> rows;
    std::map<QChar, DropOnRow *> drops;
    std::map<QChar, Filter> filters{{u'F', Filter::favourites()},
                                    {u'T', Filter::trash()},
                                    {u'C', Filter::collection(kCollection)},
                                    {u'A', Filter::all()}};
    QList<std::pair<Filter, QList<QUrl>>> dropped;
    QList<std::optional<Filter>> targetWhenAsked;
    QChar lastEntered;
    bool answer = true;

    Rows()
    {
        for (const auto &[name, filter] : filters) {
            auto row = std::make_unique<SidebarRow>();
            drops[name] = new DropOnRow(row.get(), filter, name != u'A', &target, [this](const Filter &f, const QList<QUrl> &links) {
                dropped.append({f, links});
                targetWhenAsked.append(target.filter());
                return answer;
            });
            rows[name] = std::move(row);
        }
    }

    // "F+" enters F, "F-" leaves F, "F!" drops on F, each as a drag event sent to the row; gives
    // whether the event was accepted. Qt hands a leave to the row that last accepted an enter, so
    // leaves in other orders are put to the rows' DropOnRow as they would arrive from elsewhere.
    bool play(const QString &step, const QMimeData &mime)
    {
        QWidget *row = rows.at(step.at(0)).get();
        const QChar what = step.at(1);
        if (what == u'-' && !lastEntered.isNull() && lastEntered != step.at(0)) {
            drops.at(step.at(0))->leave();
            return true;
        }
        if (what == u'+') {
            QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            enter.ignore();
            QApplication::sendEvent(row, &enter);
            if (enter.isAccepted())
                lastEntered = step.at(0);
            return enter.isAccepted();
        }
        if (what == u'-') {
            QDragLeaveEvent leave;
            QApplication::sendEvent(row, &leave);
            return leave.isAccepted();
        }
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        drop.ignore();
        QApplication::sendEvent(row, &drop);
        return drop.isAccepted();
    }

    QString targetName() const
    {
        for (const auto &[name, filter] : filters) {
            if (target.names(filter))
                return QString(name);
        }
        return target.filter() ? QStringLiteral("?") : QString();
    }
};

std::unique_ptr<QMimeData> urls(const QList<QUrl> &list)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls(list);
    return mime;
}

std::unique_ptr<QMimeData> text(const QString &t)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setText(t);
    return mime;
}

const QUrl kPost(QStringLiteral("https://x.com/someone/status/1"));
const QUrl kPage(QStringLiteral("https://news.example.com/story"));

}  // namespace

class TestDropOnRow : public QObject {
    Q_OBJECT
private slots:
    void enterAndLeaveOrders_data();
    void enterAndLeaveOrders();
    void dropHandsOnTheRowsFilterAndClears_data();
    void dropHandsOnTheRowsFilterAndClears();
    void rowThatTakesNothingIsNoDestination();
    void whatCountsAsLinks_data();
    void whatCountsAsLinks();
    void creatorPlaces_data();
    void creatorPlaces();
};

void TestDropOnRow::enterAndLeaveOrders_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("target");
    QTest::newRow("enter") << QStringList{"F+"} << "F";
    QTest::newRow("enter, leave") << QStringList{"F+", "F-"} << "";
    QTest::newRow("leave one row, then enter the next") << QStringList{"F+", "F-", "T+"} << "T";
    QTest::newRow("enter the next before leaving the first") << QStringList{"F+", "T+", "F-"} << "T";
    QTest::newRow("through three rows, entries first") << QStringList{"F+", "T+", "F-", "C+", "T-"} << "C";
    QTest::newRow("leave the sidebar entirely") << QStringList{"F+", "T+", "F-", "T-"} << "";
    QTest::newRow("a stale leave of a row never entered") << QStringList{"T+", "C-"} << "T";
    QTest::newRow("a row that takes nothing leaves the record") << QStringList{"F+", "A+", "F-", "A-"} << "";
    QTest::newRow("entering one that takes nothing keeps the last") << QStringList{"C+", "A+", "A-"} << "C";
    QTest::newRow("re-entering the same row") << QStringList{"T+", "T-", "T+"} << "T";
}

void TestDropOnRow::enterAndLeaveOrders()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, target);
    Rows rows;
    const auto mime = urls({kPost});
    for (const QString &step : steps)
        rows.play(step, *mime);
    QCOMPARE(rows.targetName(), target);
    QVERIFY(rows.dropped.isEmpty());
}

void TestDropOnRow::dropHandsOnTheRowsFilterAndClears_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QChar>("on");
    QTest::addColumn<bool>("answer");
    QTest::newRow("taken") << QStringList{"C+"} << QChar(u'C') << true;
    QTest::newRow("refused") << QStringList{"C+"} << QChar(u'C') << false;
    QTest::newRow("on the trash, after passing the favourites") << QStringList{"F+", "T+", "F-"} << QChar(u'T') << true;
    QTest::newRow("refused on the favourites") << QStringList{"F+"} << QChar(u'F') << false;
}

void TestDropOnRow::dropHandsOnTheRowsFilterAndClears()
{
    QFETCH(QStringList, before);
    QFETCH(QChar, on);
    QFETCH(bool, answer);
    Rows rows;
    rows.answer = answer;
    const auto mime = urls({kPost, kPage});
    for (const QString &step : before)
        rows.play(step, *mime);
    const bool accepted = rows.play(QString(on) + u'!', *mime);
    QCOMPARE(accepted, answer);
    QCOMPARE(rows.targetName(), QString());
    // The record is cleared before the handler is asked.
    QCOMPARE(rows.targetWhenAsked, (QList<std::optional<Filter>>{std::nullopt}));
    QCOMPARE(rows.dropped.size(), 1);
    QCOMPARE(rows.dropped.first().first, rows.filters.at(on));
    QCOMPARE(rows.dropped.first().second, (QList<QUrl>{kPost, kPage}));
}

void TestDropOnRow::rowThatTakesNothingIsNoDestination()
{
    Rows rows;
    QVERIFY(!rows.rows.at(u'A')->acceptDrops());
    QVERIFY(rows.rows.at(u'F')->acceptDrops());
    const auto mime = urls({kPost});
    QVERIFY(!rows.play(QStringLiteral("A+"), *mime));
    QVERIFY(!rows.play(QStringLiteral("A!"), *mime));
    QVERIFY(!rows.target.filter());
    QVERIFY(rows.dropped.isEmpty());
}

void TestDropOnRow::whatCountsAsLinks_data()
{
    QTest::addColumn<std::shared_ptr<QMimeData>>("mime");
    QTest::addColumn<QList<QUrl>>("links");
    QTest::newRow("addresses, in order") << std::shared_ptr<QMimeData>(urls({kPage, kPost})) << QList<QUrl>{kPage, kPost};
    QTest::newRow("text of a post link") << std::shared_ptr<QMimeData>(text(QStringLiteral("  https://x.com/someone/status/1\n")))
                                         << QList<QUrl>{kPost};
    QTest::newRow("text of a web address") << std::shared_ptr<QMimeData>(text(kPage.toString())) << QList<QUrl>{kPage};
    QTest::newRow("plain words") << std::shared_ptr<QMimeData>(text(QStringLiteral("just some words"))) << QList<QUrl>{};
    QTest::newRow("empty text") << std::shared_ptr<QMimeData>(text(QString())) << QList<QUrl>{};
    QTest::newRow("nothing") << std::make_shared<QMimeData>() << QList<QUrl>{};
}

void TestDropOnRow::whatCountsAsLinks()
{
    QFETCH(std::shared_ptr<QMimeData>, mime);
    QFETCH(QList<QUrl>, links);
    QCOMPARE(DropOnRow::links(mime.get()), links);
    // A drag without links passes the row by: it is not offered, nor does it light the row.
    Rows rows;
    QCOMPARE(rows.play(QStringLiteral("F+"), *mime), !links.isEmpty());
    QCOMPARE(rows.targetName(), links.isEmpty() ? QString() : QStringLiteral("F"));
}

void TestDropOnRow::creatorPlaces_data()
{
    QTest::addColumn<CreatorPlace>("a");
    QTest::addColumn<CreatorPlace>("b");
    QTest::addColumn<bool>("equal");
    const CreatorPlace one = CreatorPlace::editing(Collection::ID(fixtures::fixedUuid(1)));
    const CreatorPlace two = CreatorPlace::editing(Collection::ID(fixtures::fixedUuid(2)));
    QTest::newRow("new, new") << CreatorPlace::makeNew() << CreatorPlace::makeNew() << true;
    QTest::newRow("editing the same") << one << CreatorPlace::editing(Collection::ID(fixtures::fixedUuid(1))) << true;
    QTest::newRow("editing two") << one << two << false;
    QTest::newRow("new, editing") << CreatorPlace::makeNew() << one << false;
}

void TestDropOnRow::creatorPlaces()
{
    QFETCH(CreatorPlace, a);
    QFETCH(CreatorPlace, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    if (equal)
        QCOMPARE(qHash(a), qHash(b));
    QCOMPARE(a.isNew(), !a.editedCollection().has_value());
}

QTEST_MAIN(TestDropOnRow)
#include "tst_droponrow.moc"
