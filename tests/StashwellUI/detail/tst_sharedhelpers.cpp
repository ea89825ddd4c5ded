// The helpers views share: the intents of the parts cards and rows both have, accessible factories
// installed once however often asked, views following the paging of the window they are in, and
// panels fitting their height to their layout.

#include "StashwellUI/Controls/FitToLayout.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/detail/Accessibility.h"
#include "StashwellUI/detail/FollowPaging.h"
#include "StashwellUI/detail/SaveActivation.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

using namespace sw;

namespace {

// A view's parts: the shared ones and one of its own.
enum class Part { none, body, pill, trash, own };

// An object no other factory knows, to count how often factories are asked for it.
class Probe : public QObject {
    Q_OBJECT
};

int probeQueries = 0;

// Qt asks every factory once for each class of the object, the most derived first.
QAccessibleInterface *probeFactory(const QString &className, QObject *object)
{
    if (qobject_cast<Probe *>(object) && className == QLatin1String(object->metaObject()->className()))
        ++probeQueries;
    return nullptr;
}

}  // namespace

Q_DECLARE_METATYPE(Part)

class TestSharedHelpers : public QObject {
    Q_OBJECT
private slots:
    void sharedPartsRaiseTheirIntents_data();
    void sharedPartsRaiseTheirIntents();
    void factoryInstalledOnce();
    void pagingFollowsTheWindow();
    void panelFitsAfterShowingAndLayoutRequests_data();
    void panelFitsAfterShowingAndLayoutRequests();
};

void TestSharedHelpers::sharedPartsRaiseTheirIntents_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<bool>("withIntents");
    QTest::addColumn<bool>("showsTrash");
    QTest::addColumn<bool>("downloading");
    QTest::addColumn<int>("result");        // -1: not a shared part
    QTest::addColumn<QString>("raised");

    QTest::newRow("body selects") << Part::body << true << true << false << 1 << "select";
    QTest::newRow("body without a select intent") << Part::body << false << true << false << 0 << "";
    QTest::newRow("pill performs its action") << Part::pill << true << true << false << 1 << "action";
    QTest::newRow("pill without an action intent") << Part::pill << false << true << false << 1 << "";
    QTest::newRow("busy pill does nothing") << Part::pill << true << true << true << 0 << "";
    QTest::newRow("trash") << Part::trash << true << true << false << 1 << "trash";
    QTest::newRow("trash of a trashed save") << Part::trash << true << false << false << 0 << "";
    QTest::newRow("trash without a trash intent") << Part::trash << false << true << false << 0 << "";
    QTest::newRow("nothing") << Part::none << true << true << false << -1 << "";
    QTest::newRow("the view's own part") << Part::own << true << true << false << -1 << "";
}

void TestSharedHelpers::sharedPartsRaiseTheirIntents()
{
    QFETCH(Part, part);
    QFETCH(bool, withIntents);
    QFETCH(bool, showsTrash);
    QFETCH(bool, downloading);
    QFETCH(int, result);
    QFETCH(QString, raised);

    QStringList calls;
    IntentHandler raise;
    if (withIntents) {
        raise = [&calls](const SaveIntent &intent) {
            if (const auto *action = intent.as<SaveIntent::Action>())
                QVERIFY(action->action == Action::play());
            // A select carries the modifiers of the click that raised it.
            if (const auto *select = intent.as<SaveIntent::Select>())
                QCOMPARE(select->modifiers, Qt::ShiftModifier | Qt::ControlModifier);
            calls << QString::fromLatin1(intent.caseName());
        };
    }
    const ActionPill pill(downloading ? Action::downloading(0.5) : Action::play());
    const std::optional<bool> asked =
        SaveActivation::activate(part, pill, showsTrash, raise, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(asked.has_value() ? int(*asked) : -1, result);
    QCOMPARE(calls.join(u','), raised);
}

void TestSharedHelpers::factoryInstalledOnce()
{
    Probe probe;
    Accessibility::installFactory(probeFactory);
    Accessibility::installFactory(probeFactory);
    probeQueries = 0;
    QAccessible::queryAccessibleInterface(&probe);
    // Asked once for the object: a factory installed twice would be asked twice.
    QCOMPARE(probeQueries, 1);
}

void TestSharedHelpers::pagingFollowsTheWindow()
{
    QWidget first;
    QWidget second;
    Paging firstPaging;
    Paging secondPaging;
    Paging::install(&first, &firstPaging);
    Paging::install(&second, &secondPaging);
    auto *view = new QWidget(&first);
    QObject receiver;
    QPointer<Paging> kept;
    int told = 0;
    const auto tell = [&told] { ++told; };
    const Save::ID save = Save::ID::random();

    QVERIFY(FollowPaging::follow(view, kept, &receiver, tell));
    QCOMPARE(kept.data(), &firstPaging);
    QVERIFY(!FollowPaging::follow(view, kept, &receiver, tell));
    firstPaging.turn(save, 1, 3);
    QCOMPARE(told, 1);

    // Moved to another window: it listens to that window's paging only, and once.
    view->setParent(&second);
    QVERIFY(FollowPaging::follow(view, kept, &receiver, tell));
    QCOMPARE(kept.data(), &secondPaging);
    firstPaging.turn(save, 1, 3);
    QCOMPARE(told, 1);
    secondPaging.turn(save, 1, 3);
    QCOMPARE(told, 2);

    // Out of every window: it listens to none.
    view->setParent(nullptr);
    QVERIFY(FollowPaging::follow(view, kept, &receiver, tell));
    QVERIFY(kept.isNull());
    secondPaging.turn(save, 1, 3);
    QCOMPARE(told, 2);
    delete view;
}

void TestSharedHelpers::panelFitsAfterShowingAndLayoutRequests_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<bool>("alreadyFitting");
    QTest::addColumn<bool>("fits");

    QTest::newRow("shown") << int(QEvent::Show) << false << true;
    QTest::newRow("layout request") << int(QEvent::LayoutRequest) << false << true;
    QTest::newRow("layout request while fitting") << int(QEvent::LayoutRequest) << true << false;
    QTest::newRow("resized") << int(QEvent::Resize) << false << false;
    QTest::newRow("hidden") << int(QEvent::Hide) << false << false;
}

void TestSharedHelpers::panelFitsAfterShowingAndLayoutRequests()
{
    QFETCH(int, event);
    QFETCH(bool, alreadyFitting);
    QFETCH(bool, fits);

    QWidget panel;
    auto *layout = new QVBoxLayout(&panel);
    auto *content = new QLabel(QStringLiteral("Some content"));
    content->setFixedHeight(120);
    layout->addWidget(content);
    panel.resize(40, 40);
    const QSize before = panel.size();
    QVERIFY(panel.sizeHint() != before);

    bool fitting = alreadyFitting;
    const QEvent happened(static_cast<QEvent::Type>(event));
    fitAfter(panel, happened, fitting);
    QCOMPARE(panel.size() == panel.sizeHint(), fits);
    QCOMPARE(panel.size() == before, !fits);
    QCOMPARE(fitting, alreadyFitting);
}

QTEST_MAIN(TestSharedHelpers)
#include "tst_sharedhelpers.moc"
