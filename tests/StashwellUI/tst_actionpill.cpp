#include "StashwellUI/Saves/ActionPill.h"
#include "StashwellUI/Saves/ActionPillButton.h"
#include "StashwellUI/Saves/ActionStyle.h"
#include "ControlTesting.h"
#include "StashwellUI/Design/Formatting.h"
#include "Gallery.h"
#include "PresentationFixtures.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using namespace sw;

Q_DECLARE_METATYPE(sw::Action)
Q_DECLARE_METATYPE(sw::Tone)

class TestActionPill : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void styleOfEveryAction_data();
    void styleOfEveryAction();
    void percentageTitles_data();
    void percentageTitles();
    void stylesCompareAndHashByAllFields();
    void progressOnlyWhileDownloading_data();
    void progressOnlyWhileDownloading();
    void progressBarStaysInsideThePill_data();
    void progressBarStaysInsideThePill();
    void pressReportsTheActionExceptWhileDownloading_data();
    void pressReportsTheActionExceptWhileDownloading();
    void paintedStateIsDisabledWhileDownloading();
    void hitTestFollowsTheCapsule_data();
    void hitTestFollowsTheCapsule();
    void buttonReportsItsActionOnce_data();
    void buttonReportsItsActionOnce();
    void buttonInADisabledContainerStaysDisabled();
    void gallery_data();
    void gallery();
};

void TestActionPill::styleOfEveryAction_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<Tone>("tone");
    QTest::newRow("download") << Action::download(3 << 20) << StashwellUIStrings::actionDownload(QStringLiteral("3.0 MB"))
                              << "arrow.down" << Tone::accent;
    QTest::newRow("download of nothing") << Action::download(0)
                                         << StashwellUIStrings::actionDownload(Formatting::bytes(0)) << "arrow.down"
                                         << Tone::accent;
    QTest::newRow("downloading") << Action::downloading(0.427) << "42%" << "arrow.down" << Tone::accent;
    QTest::newRow("retry") << Action::retry() << StashwellUIStrings::actionRetry() << "arrow.clockwise" << Tone::accent;
    QTest::newRow("play") << Action::play() << StashwellUIStrings::actionPlay() << "play.fill" << Tone::ok;
    QTest::newRow("open") << Action::open() << StashwellUIStrings::actionOpenPost() << "arrow.up.right" << Tone::ok;
    QTest::newRow("open on X") << Action::openOnX() << StashwellUIStrings::actionOpenOnX() << "arrow.up.right" << Tone::ok;
    QTest::newRow("restore") << Action::restore() << StashwellUIStrings::actionRestore() << "arrow.uturn.backward"
                             << Tone::ok;
}

void TestActionPill::styleOfEveryAction()
{
    QFETCH(Action, action);
    QFETCH(QString, title);
    QFETCH(QString, symbol);
    QFETCH(Tone, tone);
    const ActionStyle style(action);
    QCOMPARE(style.title(), title);
    QCOMPARE(style.symbol(), symbol);
    QCOMPARE(style.tone(), tone);
    QVERIFY(!style.title().isEmpty());
    // The pill shows exactly the style.
    const ActionPill pill(action);
    QCOMPARE(pill.content().title, title);
    QCOMPARE(pill.content().symbol, symbol);
    QCOMPARE(pill.content().tone, tone);
}

void TestActionPill::percentageTitles_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<QString>("title");
    QTest::newRow("0") << 0.0 << "0%";
    QTest::newRow("0.999") << 0.999 << "99%";
    QTest::newRow("1") << 1.0 << "100%";
    QTest::newRow("more than announced") << 1.25 << "125%";
    QTest::newRow("just under 1%") << 0.0099 << "0%";
    QTest::newRow("negative truncates toward zero") << -0.015 << "-1%";
    // Values the core never makes, drawn without undefined conversions.
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "0%";
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "0%";
    QTest::newRow("beyond any percentage") << 1.0e300 << QString::number(std::numeric_limits<int>::max()) + u'%';
    QTest::newRow("far below") << -1.0e300 << QString::number(std::numeric_limits<int>::min()) + u'%';
}

void TestActionPill::percentageTitles()
{
    QFETCH(double, fraction);
    QFETCH(QString, title);
    QCOMPARE(ActionStyle(Action::downloading(fraction)).title(), title);
}

void TestActionPill::stylesCompareAndHashByAllFields()
{
    const ActionStyle a(QStringLiteral("Open"), QStringLiteral("arrow.up.right"), Tone::ok);
    QCOMPARE(a, ActionStyle(QStringLiteral("Open"), QStringLiteral("arrow.up.right"), Tone::ok));
    QCOMPARE(qHash(a), qHash(ActionStyle(QStringLiteral("Open"), QStringLiteral("arrow.up.right"), Tone::ok)));
    QVERIFY(a != ActionStyle(QStringLiteral("Open on X"), QStringLiteral("arrow.up.right"), Tone::ok));
    QVERIFY(a != ActionStyle(QStringLiteral("Open"), QStringLiteral("arrow.down"), Tone::ok));
    QVERIFY(a != ActionStyle(QStringLiteral("Open"), QStringLiteral("arrow.up.right"), Tone::accent));
    // Open and open on X share the symbol and differ by title alone.
    QCOMPARE(ActionStyle(Action::open()).symbol(), ActionStyle(Action::openOnX()).symbol());
    QVERIFY(ActionStyle(Action::open()) != ActionStyle(Action::openOnX()));
}

void TestActionPill::progressOnlyWhileDownloading_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("hasProgress");
    QTest::addColumn<double>("progress");
    QTest::newRow("download") << Action::download(10) << false << 0.0;
    QTest::newRow("downloading 0") << Action::downloading(0) << true << 0.0;
    QTest::newRow("downloading 0.5") << Action::downloading(0.5) << true << 0.5;
    QTest::newRow("downloading past the total, unchanged") << Action::downloading(1.25) << true << 1.25;
    QTest::newRow("retry") << Action::retry() << false << 0.0;
    QTest::newRow("play") << Action::play() << false << 0.0;
    QTest::newRow("restore") << Action::restore() << false << 0.0;
}

void TestActionPill::progressOnlyWhileDownloading()
{
    QFETCH(Action, action);
    QFETCH(bool, hasProgress);
    QFETCH(double, progress);
    const ActionPill pill(action);
    QCOMPARE(pill.content().progress.has_value(), hasProgress);
    QCOMPARE(pill.isDownloading(), hasProgress);
    if (hasProgress)
        QCOMPARE(*pill.content().progress, progress);
}

void TestActionPill::progressBarStaysInsideThePill_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("width");   // of the bar in a pill 216 wide (a span of 200)
    QTest::newRow("0") << 0.0 << 0.0;
    QTest::newRow("half") << 0.5 << 100.0;
    QTest::newRow("whole") << 1.0 << 200.0;
    QTest::newRow("more than announced") << 1.25 << 200.0;
    QTest::newRow("huge") << 1.0e300 << 200.0;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 200.0;
    QTest::newRow("negative") << -0.5 << 0.0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0.0;
}

void TestActionPill::progressBarStaysInsideThePill()
{
    QFETCH(double, fraction);
    QFETCH(double, width);
    const QRectF bounds(10, 20, 216, 32);
    const ActionPill pill(Action::downloading(fraction));
    const std::optional<QRectF> bar = PillButton::progressBar(bounds, pill.content().progress);
    QVERIFY(bar);
    QCOMPARE(bar->width(), width);
    QCOMPARE(bar->left(), bounds.left() + 8);
    QVERIFY(bar->right() <= bounds.right() - 8);
    QCOMPARE(bar->bottom(), bounds.bottom());
    QCOMPARE(bar->height(), 3.0);

    // And what is painted stays inside the capsule.
    QImage image(260, 70, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        pill.paint(painter, bounds, ControlState{});
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!bounds.adjusted(-1, -1, 1, 1).contains(QPointF(x + 0.5, y + 0.5)))
                QCOMPARE(qAlpha(image.pixel(x, y)), 0);
        }
    }
}

void TestActionPill::pressReportsTheActionExceptWhileDownloading_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("performs");
    QTest::newRow("download") << Action::download(1) << true;
    QTest::newRow("downloading") << Action::downloading(0.3) << false;
    QTest::newRow("downloading, done") << Action::downloading(1) << false;
    QTest::newRow("retry") << Action::retry() << true;
    QTest::newRow("play") << Action::play() << true;
    QTest::newRow("open") << Action::open() << true;
    QTest::newRow("open on X") << Action::openOnX() << true;
    QTest::newRow("restore") << Action::restore() << true;
}

void TestActionPill::pressReportsTheActionExceptWhileDownloading()
{
    QFETCH(Action, action);
    QFETCH(bool, performs);
    QList<Action> performed;
    const ActionPill pill(action);
    QCOMPARE(pill.press([&performed](const Action &a) { performed.append(a); }), performs);
    QCOMPARE(performed.size(), performs ? 1 : 0);
    if (performs)
        QCOMPARE(performed.first(), action);
}

void TestActionPill::paintedStateIsDisabledWhileDownloading()
{
    ControlState pressed;
    pressed.pressed = true;
    pressed.hovered = true;
    const ControlState running = ActionPill(Action::downloading(0.5)).effectiveState(pressed);
    QVERIFY(!running.enabled);
    QVERIFY(!running.pressed);
    QCOMPARE(ActionPill(Action::play()).effectiveState(pressed), pressed);
    ControlState disabled;
    disabled.enabled = false;
    QVERIFY(!ActionPill(Action::play()).effectiveState(disabled).enabled);
}

void TestActionPill::hitTestFollowsTheCapsule_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("hit");
    QTest::newRow("centre") << QPointF(100, 16) << true;
    QTest::newRow("transparent middle of an edge") << QPointF(100, 1) << true;
    QTest::newRow("round end") << QPointF(3, 16) << true;
    QTest::newRow("outside the rounded corner") << QPointF(1, 1) << false;
    QTest::newRow("beyond the pill") << QPointF(210, 16) << false;
}

void TestActionPill::hitTestFollowsTheCapsule()
{
    QFETCH(QPointF, point);
    QFETCH(bool, hit);
    QCOMPARE(ActionPill(Action::play()).hitTest(QRectF(0, 0, 200, 32), point), hit);
}

void TestActionPill::buttonReportsItsActionOnce_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("reports");
    QTest::newRow("play") << Action::play() << 1;
    QTest::newRow("download") << Action::download(4096) << 1;
    QTest::newRow("restore") << Action::restore() << 1;
    QTest::newRow("downloading") << Action::downloading(0.25) << 0;
}

void TestActionPill::buttonReportsItsActionOnce()
{
    QFETCH(Action, action);
    QFETCH(int, reports);
    ActionPillButton button(action);
    button.resize(200, 32);
    QVERIFY(test::showWidget(button));
    QSignalSpy performed(&button, &ActionPillButton::performed);
    QCOMPARE(button.isEnabled(), reports > 0);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(100, 16));
    QCOMPARE(performed.count(), reports);
    if (reports)
        QCOMPARE(performed.first().first().value<Action>(), action);
    QCOMPARE(button.title(), ActionStyle(action).title());

    // A later action takes over the look and what is reported; a download that ends enables it.
    button.setAction(Action::open());
    QVERIFY(button.isEnabled());
    QVERIFY(!button.progress());
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(100, 16));
    QCOMPARE(performed.count(), reports + 1);
    QCOMPARE(performed.last().first().value<Action>(), Action::open());
}

void TestActionPill::buttonInADisabledContainerStaysDisabled()
{
    QWidget container;
    auto *layout = new QHBoxLayout(&container);
    auto *button = new ActionPillButton(Action::downloading(0.5));
    layout->addWidget(button);
    container.setEnabled(false);
    button->setAction(Action::play());
    QVERIFY(!button->isEnabled());
    container.setEnabled(true);
    QVERIFY(button->isEnabled());
    button->setAction(Action::downloading(0.1));
    QVERIFY(!button->isEnabled());
}

void TestActionPill::gallery_data()
{
    QTest::addColumn<Action>("action");
    QTest::newRow("download") << Action::download(48 << 20);
    QTest::newRow("downloading") << Action::downloading(0.42);
    QTest::newRow("downloading-over") << Action::downloading(1.25);
    QTest::newRow("retry") << Action::retry();
    QTest::newRow("play") << Action::play();
    QTest::newRow("open") << Action::open();
    QTest::newRow("openOnX") << Action::openOnX();
    QTest::newRow("restore") << Action::restore();
}

void TestActionPill::gallery()
{
    QFETCH(Action, action);
    ActionPillButton button(action);
    button.resize(220, 34);
    QString why;
    QVERIFY2(gallery::captureAndCheck(button, QStringLiteral("ActionPill-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestActionPill)
#include "tst_actionpill.moc"
