#include "ControlTesting.h"
#include "Gallery.h"
#include "StashwellUI/Toasts/ToastBubble.h"
#include "StashwellUI/Toasts/ToastController.h"
#include "StashwellUI/Toasts/ToastOverlay.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>

using namespace sw;
using namespace std::chrono_literals;

namespace {

// Timers that fire when the test says so, in any order.
struct ManualTimers {
    struct Pending {
        std::chrono::milliseconds delay;
        QPointer<QObject> context;
        std::function<void()> fire;
    };
    std::vector<Pending> pending;

    ToastController::Scheduler scheduler()
    {
        return [this](std::chrono::milliseconds delay, QObject *context, std::function<void()> fire) {
            pending.push_back({delay, context, std::move(fire)});
        };
    }
    void fire(std::size_t index)
    {
        if (pending.at(index).context)
            pending.at(index).fire();
    }
};

}  // namespace

class TestToast : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void displayTime_data();
    void displayTime();
    void timerBelongsToItsMessage_data();
    void timerBelongsToItsMessage();
    void undoRunsOnceAndStaysShown();
    void undoGoesWhenItsStepIsNoLongerTheLatest_data();
    void undoGoesWhenItsStepIsNoLongerTheLatest();
    void undoThatShowsANewToast();
    void realTimerClearsAfterShortDuration();
    void overlayFollowsTheController();
    void overlayGoingAwayClearsItsMessage();
    void gallery_data();
    void gallery();
};

void TestToast::displayTime_data()
{
    QTest::addColumn<bool>("undo");
    QTest::addColumn<double>("seconds");   // NaN stands for none given
    QTest::addColumn<qint64>("milliseconds");
    const double none = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("plain") << false << none << qint64(1800);
    QTest::newRow("with undo") << true << none << qint64(4000);
    QTest::newRow("given wins over undo") << true << 2.5 << qint64(2500);
    QTest::newRow("given without undo") << false << 10.0 << qint64(10000);
    QTest::newRow("zero") << false << 0.0 << qint64(0);
    QTest::newRow("negative") << true << -3.0 << qint64(0);
    QTest::newRow("infinite") << false << std::numeric_limits<double>::infinity() << qint64(INT_MAX);
    QTest::newRow("beyond a timer") << false << 1e12 << qint64(INT_MAX);
}

void TestToast::displayTime()
{
    QFETCH(bool, undo);
    QFETCH(double, seconds);
    QFETCH(qint64, milliseconds);
    const std::optional<double> given = std::isnan(seconds) ? std::nullopt : std::optional<double>(seconds);
    QCOMPARE(ToastController::displayTime(undo, given).count(), milliseconds);
    // A value that is not a number is no value.
    if (!given)
        QCOMPARE(ToastController::displayTime(undo, std::numeric_limits<double>::quiet_NaN()).count(), milliseconds);
}

void TestToast::timerBelongsToItsMessage_data()
{
    // A script: "show X" shows a message; "fire N" fires the N-th timer started; "clear".
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("shown");   // empty: nothing shown at the end
    QTest::newRow("time up") << QStringList{"show A", "fire 0"} << "";
    QTest::newRow("replaced: the old timer leaves the new message") << QStringList{"show A", "show B", "fire 0"} << "B";
    QTest::newRow("replaced message gets its own full time") << QStringList{"show A", "show B", "fire 0", "fire 1"} << "";
    QTest::newRow("same message twice: the first timer does not cut the second short")
        << QStringList{"show A", "show A", "fire 0"} << "A";
    QTest::newRow("same message twice: the second timer clears it") << QStringList{"show A", "show A", "fire 1"} << "";
    QTest::newRow("cleared early, then shown again") << QStringList{"show A", "clear", "show A", "fire 0"} << "A";
    QTest::newRow("late timer after clear does nothing") << QStringList{"show A", "clear", "fire 0"} << "";
}

void TestToast::timerBelongsToItsMessage()
{
    QFETCH(QStringList, script);
    QFETCH(QString, shown);
    ManualTimers timers;
    ToastController toast;
    toast.setScheduler(timers.scheduler());
    for (const QString &step : script) {
        const QString argument = step.section(u' ', 1);
        if (step.startsWith(u"show"))
            toast.show(argument);
        else if (step.startsWith(u"fire"))
            timers.fire(argument.toUInt());
        else
            toast.clear();
    }
    QCOMPARE(toast.isShown(), !shown.isEmpty());
    if (!shown.isEmpty())
        QCOMPARE(*toast.message(), shown);
}

void TestToast::undoRunsOnceAndStaysShown()
{
    ManualTimers timers;
    ToastController toast;
    toast.setScheduler(timers.scheduler());
    int undone = 0;
    toast.show(QStringLiteral("Moved to the trash"), ToastUndo{7, [&] { ++undone; }});
    QVERIFY(toast.offersUndo());
    QCOMPARE(timers.pending.back().delay, 4000ms);

    QVERIFY(toast.pressUndo());
    QCOMPARE(undone, 1);
    QVERIFY(!toast.offersUndo());
    // The message stays until its time is up.
    QVERIFY(toast.isShown());
    QVERIFY(!toast.pressUndo());
    QCOMPARE(undone, 1);
    QCOMPARE(timers.pending.size(), std::size_t(1));
    timers.fire(0);
    QVERIFY(!toast.isShown());
}

void TestToast::undoGoesWhenItsStepIsNoLongerTheLatest_data()
{
    QTest::addColumn<std::optional<std::int64_t>>("latest");
    QTest::addColumn<bool>("offered");
    QTest::newRow("still the latest") << std::optional<std::int64_t>(3) << true;
    QTest::newRow("a newer step") << std::optional<std::int64_t>(4) << false;
    QTest::newRow("undone elsewhere: an older step is the latest") << std::optional<std::int64_t>(2) << false;
    QTest::newRow("nothing left to undo") << std::optional<std::int64_t>() << false;
}

void TestToast::undoGoesWhenItsStepIsNoLongerTheLatest()
{
    QFETCH(std::optional<std::int64_t>, latest);
    QFETCH(bool, offered);
    ManualTimers timers;
    ToastController toast;
    toast.setScheduler(timers.scheduler());
    int undone = 0;
    toast.show(QStringLiteral("Filed"), ToastUndo{3, [&] { ++undone; }});
    toast.setLatestUndoStep(latest);
    QCOMPARE(toast.offersUndo(), offered);
    QCOMPARE(toast.pressUndo(), offered);
    QCOMPARE(undone, offered ? 1 : 0);
    QVERIFY(toast.isShown());
}

void TestToast::undoThatShowsANewToast()
{
    ManualTimers timers;
    ToastController toast;
    toast.setScheduler(timers.scheduler());
    toast.show(QStringLiteral("Trashed"), ToastUndo{1, [&] { toast.show(QStringLiteral("Restored")); }});
    QVERIFY(toast.pressUndo());
    QCOMPARE(*toast.message(), QStringLiteral("Restored"));
    QVERIFY(!toast.offersUndo());
    // The first message's timer does not clear the one its undo showed.
    timers.fire(0);
    QVERIFY(toast.isShown());
    QCOMPARE(timers.pending.at(1).delay, 1800ms);
}

void TestToast::realTimerClearsAfterShortDuration()
{
    ToastController toast;
    QSignalSpy changes(&toast, &ToastController::changed);
    toast.show(QStringLiteral("Saved"), std::nullopt, 0.0);
    QVERIFY(toast.isShown());
    QTRY_VERIFY(!toast.isShown());
    toast.show(QStringLiteral("Saved"), std::nullopt, 0.02);
    QTRY_VERIFY(!toast.isShown());
    QCOMPARE(changes.size(), 4);

    // A timer whose controller is gone does nothing.
    auto gone = std::make_unique<ToastController>();
    gone->show(QStringLiteral("x"), std::nullopt, 0.0);
    gone.reset();
    QTest::qWait(1);
}

void TestToast::overlayFollowsTheController()
{
    ManualTimers timers;
    ToastController toast;
    toast.setScheduler(timers.scheduler());
    QWidget host;
    host.resize(600, 400);
    ToastOverlay overlay(&toast, &host);
    QVERIFY(test::showWidget(host));
    QVERIFY(overlay.isHidden());

    int undone = 0;
    toast.show(QStringLiteral("Saved to Reading"), ToastUndo{1, [&] { ++undone; }});
    QVERIFY(overlay.isVisible());
    QCOMPARE(overlay.presence(), 1.0);
    QCOMPARE(overlay.bubble().message(), QStringLiteral("Saved to Reading"));
    QVERIFY(overlay.bubble().offersUndo());
    QCOMPARE(overlay.geometry(), overlay.restingGeometry());
    // Bottom centre of the host.
    QVERIFY(std::abs(overlay.geometry().center().x() - host.width() / 2) <= 1);
    QVERIFY(overlay.geometry().bottom() < host.height());

    QTest::mouseClick(&overlay.bubble().undoButton(), Qt::LeftButton);
    QCOMPARE(undone, 1);
    QVERIFY(!overlay.bubble().offersUndo());
    QVERIFY(overlay.isVisible());

    toast.show(QStringLiteral("Copied"));
    QCOMPARE(overlay.bubble().message(), QStringLiteral("Copied"));
    toast.clear();
    QVERIFY(overlay.isHidden());
}

void TestToast::overlayGoingAwayClearsItsMessage()
{
    ManualTimers timers;
    ToastController toast;
    toast.setScheduler(timers.scheduler());
    auto host = std::make_unique<QWidget>();
    host->resize(400, 300);
    new ToastOverlay(&toast, host.get());
    toast.show(QStringLiteral("Saved"));
    host.reset();
    QVERIFY(!toast.isShown());
}

void TestToast::gallery_data()
{
    QTest::addColumn<bool>("undo");
    QTest::newRow("plain") << false;
    QTest::newRow("undo") << true;
}

void TestToast::gallery()
{
    QFETCH(bool, undo);
    ToastBubble bubble(undo ? QStringLiteral("Moved 3 saves to the trash") : QStringLiteral("Link copied"), undo);
    bubble.resize(bubble.sizeHint());
    QCOMPARE(bubble.shownMessage(), bubble.message());
    QString why;
    QVERIFY2(gallery::captureAndCheck(bubble, QStringLiteral("ToastBubble-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestToast)
#include "tst_toast.moc"
