#include "FakePlayback.h"
#include "Gallery.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "PaintTesting.h"
#include "StashwellUI/Playback/MediaPlayerPlayback.h"
#include "StashwellUI/Playback/PlayerControlBar.h"
#include "StashwellUI/Playback/SeekTrack.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QVideoSink>

#include <cmath>
#include <functional>

using namespace sw;
using sw::test::FakeFactory;
using sw::test::FakePlayback;

// How a control of the bar is worked.
enum class Toggle { playButton, spaceKey, muteButton };
Q_DECLARE_METATYPE(Toggle)

namespace {

const QUrl fileA = QUrl::fromLocalFile(QStringLiteral("/media/Stashwell/ann_1.mp4"));
const QUrl fileB = QUrl::fromLocalFile(QStringLiteral("/media/Stashwell/bob_2.mp4"));

// Lets deleteLater() run.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

struct Rig {
    FakeFactory fakes;
    QWidget window;
    InlinePlayer *player;

    explicit Rig(bool autoplay = false, double height = 240)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        player = new InlinePlayer(fileA, autoplay, height);
        player->setPlaybackFactory(fakes.factory());
        layout->addWidget(player);
        layout->addStretch(1);
        window.resize(500, 400);
    }
    FakePlayback *current() const { return qobject_cast<FakePlayback *>(player->playback()); }
};

// Something the user does to a player.
using Act = std::function<void(Rig &)>;

}  // namespace

Q_DECLARE_METATYPE(Act)

class TestInlinePlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void nothingIsMadeBeforeShowing();
    void comingOnScreenLoads_data();
    void comingOnScreenLoads();
    void newFileWhileOnScreen_data();
    void newFileWhileOnScreen();
    void sameFileKeepsThePlayback();
    void leavingPausesAndKeeps();
    void showingAgainStartsAfresh();
    void autoplayTakesEffectAtNextLoad();
    void frameIsExactlyHeightAndFullWidth();

    void barShowsLengthAndPosition_data();
    void barShowsLengthAndPosition();
    void toggles_data();
    void toggles();
    void trackSeeksByPointerAndKeys();
    void positionDoesNotMoveAHeldKnob();
    void endShowsPlayAgain();
    void failureDisablesTheBar();
    void controlSymbolsStandOutFromTheirButtons_data();
    void controlSymbolsStandOutFromTheirButtons();

    void unreadableFileStillHeld();
    void realPlayback();
    void realPlaybackEndsWhereverItIs_data();
    void realPlaybackEndsWhereverItIs();
    void posterUntilPlaybackStarts_data();
    void posterUntilPlaybackStarts();
    void gallery();

private:
    QString m_clip;
};

void TestInlinePlayer::initTestCase()
{
    Tokens::Motion::setEnabled(false);
    StashwellUIStrings::table().loadLanguage(QStringLiteral("en"));
    m_clip = QStringLiteral(STASHWELL_TEST_DATA "/clip.mp4");
    QVERIFY2(QFile::exists(m_clip), qPrintable(m_clip));
}

void TestInlinePlayer::nothingIsMadeBeforeShowing()
{
    Rig rig;
    QCOMPARE(rig.player->playback(), nullptr);
    rig.player->setUrl(fileB);
    QCOMPARE(rig.fakes.count(), 0);
    QVERIFY(!rig.player->isOnScreen());
    QVERIFY(!rig.player->controls().playButton().isEnabled());
}

void TestInlinePlayer::comingOnScreenLoads_data()
{
    QTest::addColumn<bool>("autoplay");
    QTest::newRow("paused for the user") << false;
    QTest::newRow("autoplay") << true;
}

void TestInlinePlayer::comingOnScreenLoads()
{
    QFETCH(bool, autoplay);
    Rig rig(autoplay);
    QSignalSpy loaded(rig.player, &InlinePlayer::loaded);
    rig.window.show();
    QCOMPARE(rig.fakes.count(), 1);
    QCOMPARE(loaded.count(), 1);
    FakePlayback *playback = rig.current();
    QVERIFY(playback);
    QCOMPARE(playback->source(), fileA);
    QCOMPARE(playback->isPlaying(), autoplay);
    QCOMPARE(playback->plays, autoplay ? 1 : 0);
    QVERIFY(playback->sink() != nullptr);
    QCOMPARE(rig.player->controls().playback(), playback);
}

void TestInlinePlayer::newFileWhileOnScreen_data()
{
    comingOnScreenLoads_data();
}

void TestInlinePlayer::newFileWhileOnScreen()
{
    QFETCH(bool, autoplay);
    Rig rig(autoplay);
    rig.window.show();
    QPointer<FakePlayback> first = rig.current();
    first->finishLoading(10'000);
    first->play();
    first->reachPosition(4'000);

    rig.player->setUrl(fileB);
    QCOMPARE(rig.fakes.count(), 2);
    FakePlayback *second = rig.current();
    QVERIFY(second != first);
    QCOMPARE(second->source(), fileB);
    QCOMPARE(second->position(), 0);
    QCOMPARE(second->isPlaying(), autoplay);
    // The first stopped, let go of its pictures and is released.
    QVERIFY(first);
    QVERIFY(!first->isPlaying());
    QCOMPARE(first->sink(), nullptr);
    settle();
    QVERIFY(first.isNull());
    QCOMPARE(rig.player->controls().playback(), second);
}

void TestInlinePlayer::sameFileKeepsThePlayback()
{
    Rig rig;
    rig.window.show();
    rig.player->setUrl(fileA);
    rig.player->setPlayerHeight(300);
    QCOMPARE(rig.fakes.count(), 1);
}

void TestInlinePlayer::leavingPausesAndKeeps()
{
    Rig rig(true);
    rig.window.show();
    FakePlayback *playback = rig.current();
    QVERIFY(playback->isPlaying());
    rig.window.hide();
    QVERIFY(!rig.player->isOnScreen());
    QVERIFY(!playback->isPlaying());
    settle();
    QCOMPARE(rig.player->playback(), playback);   // kept, not released
    QCOMPARE(rig.fakes.count(), 1);
    // A new file while off screen waits for the next showing.
    rig.player->setUrl(fileB);
    QCOMPARE(rig.fakes.count(), 1);
    rig.window.show();
    QCOMPARE(rig.fakes.count(), 2);
    QCOMPARE(rig.current()->source(), fileB);
}

void TestInlinePlayer::showingAgainStartsAfresh()
{
    Rig rig;
    rig.window.show();
    QPointer<FakePlayback> first = rig.current();
    first->finishLoading(10'000);
    first->reachPosition(7'000);
    rig.window.hide();
    rig.window.show();
    QCOMPARE(rig.fakes.count(), 2);
    QCOMPARE(rig.current()->position(), 0);
    QCOMPARE(rig.current()->source(), fileA);
    QCOMPARE(rig.player->controls().elapsedText(), QStringLiteral("0:00"));
    settle();
    QVERIFY(first.isNull());

    // Hiding the player itself (not its window) counts the same.
    rig.player->hide();
    QVERIFY(!rig.current()->isPlaying());
    rig.player->show();
    QCOMPARE(rig.fakes.count(), 3);
}

void TestInlinePlayer::autoplayTakesEffectAtNextLoad()
{
    Rig rig(false);
    rig.window.show();
    rig.player->setAutoplay(true);
    QVERIFY(!rig.current()->isPlaying());
    QCOMPARE(rig.fakes.count(), 1);
    rig.player->setUrl(fileB);
    QVERIFY(rig.current()->isPlaying());

    rig.player->setAutoplay(false);
    QVERIFY(rig.current()->isPlaying());
    rig.player->setUrl(fileA);
    QVERIFY(!rig.current()->isPlaying());
}

void TestInlinePlayer::frameIsExactlyHeightAndFullWidth()
{
    Rig rig(false, 300);
    rig.window.show();
    QCOMPARE(rig.player->height(), 300);
    QCOMPARE(rig.player->width(), rig.window.width());
    rig.window.resize(700, 600);
    QCoreApplication::processEvents();
    QCOMPARE(rig.player->height(), 300);
    QCOMPARE(rig.player->width(), 700);
    // The control bar lies inside the frame, over its bottom edge.
    const QRect bar = rig.player->controls().geometry();
    QVERIFY(QRect(QPoint(), rig.player->size()).contains(bar));
    QCOMPARE(bar.bottom(), 300 - 1 - int(InlinePlayer::barInset));
}

void TestInlinePlayer::barShowsLengthAndPosition_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("elapsed");
    QTest::newRow("short") << qint64(9'900) << qint64(0) << "0:09" << "0:00";
    QTest::newRow("minute") << qint64(75'000) << qint64(61'900) << "1:15" << "1:01";
    QTest::newRow("hour not carried") << qint64(3'725'000) << qint64(3'600'000) << "62:05" << "60:00";
}

void TestInlinePlayer::barShowsLengthAndPosition()
{
    QFETCH(qint64, length);
    QFETCH(qint64, position);
    QFETCH(QString, total);
    QFETCH(QString, elapsed);
    Rig rig;
    rig.window.show();
    FakePlayback *playback = rig.current();
    playback->finishLoading(length);
    playback->reachPosition(position);
    PlayerControlBar &bar = rig.player->controls();
    QCOMPARE(bar.totalText(), total);
    QCOMPARE(bar.elapsedText(), elapsed);
    QCOMPARE(bar.track().maximum(), int(length));
    QCOMPARE(bar.track().value(), int(position));
    // Showing the position is not a seek.
    QVERIFY(playback->seeks.isEmpty());
}

void TestInlinePlayer::toggles_data()
{
    QTest::addColumn<Toggle>("how");
    QTest::addColumn<QString>("offSymbol");
    QTest::addColumn<QString>("onSymbol");
    QTest::addColumn<QString>("offLabel");
    QTest::addColumn<QString>("onLabel");
    QTest::newRow("play button") << Toggle::playButton << "play.fill" << "pause.fill" << StashwellUIStrings::playerPlay()
                                 << StashwellUIStrings::playerPause();
    QTest::newRow("space key") << Toggle::spaceKey << "play.fill" << "pause.fill" << StashwellUIStrings::playerPlay()
                               << StashwellUIStrings::playerPause();
    QTest::newRow("mute button") << Toggle::muteButton << "speaker.wave.2.fill" << "speaker.slash.fill"
                                 << StashwellUIStrings::playerMute() << StashwellUIStrings::playerUnmute();
}

// Each press turns the state over and the button shows what the next press will do.
void TestInlinePlayer::toggles()
{
    QFETCH(Toggle, how);
    QFETCH(QString, offSymbol);
    QFETCH(QString, onSymbol);
    QFETCH(QString, offLabel);
    QFETCH(QString, onLabel);
    Rig rig;
    rig.window.show();
    FakePlayback *playback = rig.current();
    playback->finishLoading(5'000);
    PlayerControlBar &bar = rig.player->controls();
    RoundIconButton &button = how == Toggle::muteButton ? bar.muteButton() : bar.playButton();
    const auto state = [&] { return how == Toggle::muteButton ? playback->isMuted() : playback->isPlaying(); };
    for (bool on : {true, false}) {
        QCOMPARE(state(), !on);
        QCOMPARE(button.symbol(), on ? offSymbol : onSymbol);
        QCOMPARE(button.label(), on ? offLabel : onLabel);
        if (how == Toggle::spaceKey)
            QTest::keyClick(rig.player, Qt::Key_Space);
        else
            button.click();
        QCOMPARE(state(), on);
    }
    QCOMPARE(button.symbol(), offSymbol);
    if (how != Toggle::muteButton) {
        QCOMPARE(playback->plays, 1);
        QCOMPARE(playback->pauses, 1);
    }
}

void TestInlinePlayer::trackSeeksByPointerAndKeys()
{
    Rig rig;
    rig.window.show();
    FakePlayback *playback = rig.current();
    playback->finishLoading(60'000);
    SeekTrack &track = rig.player->controls().track();
    QVERIFY(track.isEnabled());
    const QRectF groove = track.groove();

    QTest::mouseClick(&track, Qt::LeftButton, {}, QPoint(int(groove.center().x()), track.height() / 2));
    QVERIFY(!playback->seeks.isEmpty());
    QVERIFY2(qAbs(playback->seeks.last() - 30'000) <= 60'000 / groove.width() + 1,
             qPrintable(QString::number(playback->seeks.last())));
    QVERIFY(!track.isSliderDown());

    // Past either end the track holds at its ends.
    QTest::mouseClick(&track, Qt::LeftButton, {}, QPoint(track.width() - 1, track.height() / 2));
    QCOMPARE(playback->seeks.last(), 60'000);
    QTest::mouseClick(&track, Qt::LeftButton, {}, QPoint(0, track.height() / 2));
    QCOMPARE(playback->seeks.last(), 0);

    track.setFocus();
    QTest::keyClick(&track, Qt::Key_Right);
    QCOMPARE(playback->seeks.last(), 5'000);
    QTest::keyClick(&track, Qt::Key_PageUp);
    QCOMPARE(playback->seeks.last(), 20'000);
    QCOMPARE(rig.player->controls().elapsedText(), QStringLiteral("0:20"));
}

void TestInlinePlayer::positionDoesNotMoveAHeldKnob()
{
    Rig rig;
    rig.window.show();
    FakePlayback *playback = rig.current();
    playback->finishLoading(60'000);
    SeekTrack &track = rig.player->controls().track();
    QTest::mousePress(&track, Qt::LeftButton, {}, QPoint(track.width() - 1, track.height() / 2));
    QCOMPARE(track.value(), 60'000);
    playback->reachPosition(1'000);
    QCOMPARE(track.value(), 60'000);
    QTest::mouseRelease(&track, Qt::LeftButton, {}, QPoint(track.width() - 1, track.height() / 2));
    playback->reachPosition(2'000);
    QCOMPARE(track.value(), 2'000);
}

void TestInlinePlayer::endShowsPlayAgain()
{
    Rig rig(true);
    rig.window.show();
    FakePlayback *playback = rig.current();
    playback->finishLoading(3'000);
    playback->reachEnd();
    PlayerControlBar &bar = rig.player->controls();
    QCOMPARE(bar.playButton().symbol(), QStringLiteral("play.fill"));
    QVERIFY(bar.playButton().isEnabled());
    QCOMPARE(bar.elapsedText(), QStringLiteral("0:03"));
    bar.playButton().click();
    QCOMPARE(playback->plays, 2);
    QVERIFY(playback->isPlaying());
}

void TestInlinePlayer::failureDisablesTheBar()
{
    Rig rig;
    rig.window.show();
    FakePlayback *playback = rig.current();
    playback->fail(QStringLiteral("no decoder"));
    PlayerControlBar &bar = rig.player->controls();
    QVERIFY(!bar.playButton().isEnabled());
    QVERIFY(!bar.muteButton().isEnabled());
    QVERIFY(!bar.track().isEnabled());
    bar.playButton().click();
    QCOMPARE(playback->plays, 0);
    // The failed playback stays held; nothing else happens.
    QCOMPARE(rig.player->playback(), playback);
}

void TestInlinePlayer::controlSymbolsStandOutFromTheirButtons_data()
{
    QTest::addColumn<Appearance>("appearance");
    QTest::newRow("light") << Appearance::light;
    QTest::newRow("dark") << Appearance::dark;
}

void TestInlinePlayer::controlSymbolsStandOutFromTheirButtons()
{
    QFETCH(Appearance, appearance);
    // Built in the other appearance first: the symbols must follow a change of appearance.
    Theme::instance().setAppearance(appearance == Appearance::light ? Appearance::dark : Appearance::light);
    Rig rig;
    rig.window.show();
    rig.current()->finishLoading(5'000);
    Theme::instance().setAppearance(appearance);
    PlayerControlBar &bar = rig.player->controls();
    const QImage shot = bar.grab().toImage();
    for (RoundIconButton *button : {&bar.playButton(), &bar.muteButton()}) {
        // The glass between the symbol and the rim, left of the centre.
        const QRect box = button->geometry();
        const QPoint glass(box.center().x() - int(box.width() * 0.34), box.center().y() + 2);
        const QColor fill = shot.pixelColor(glass);
        const double ratio = test::contrast(button->tint(), fill);
        QVERIFY2(ratio >= 3.0, qPrintable(QStringLiteral("%1 on %2: contrast %3")
                                              .arg(button->tint().name(), fill.name())
                                              .arg(ratio)));
    }
    Theme::instance().setAppearance(Appearance::light);
}

void TestInlinePlayer::unreadableFileStillHeld()
{
    QTemporaryDir dir;
    QFile junk(dir.filePath(QStringLiteral("junk.mp4")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a video");
    junk.close();

    for (const QString &path : {dir.filePath(QStringLiteral("missing.mp4")), junk.fileName()}) {
        InlinePlayer player(QUrl::fromLocalFile(path), true);
        player.show();
        VideoPlayback *playback = player.playback();
        QVERIFY(playback);
        QCOMPARE(playback->source(), QUrl::fromLocalFile(path));
        QTRY_COMPARE_WITH_TIMEOUT(playback->status(), VideoPlayback::Status::failed, 10'000);
        QVERIFY(!playback->isPlaying());
        QVERIFY(!playback->errorText().isEmpty());
        QCOMPARE(player.playback(), playback);
        QVERIFY(!player.controls().playButton().isEnabled());
    }
}

void TestInlinePlayer::realPlayback()
{
    MediaPlayerPlayback playback(QUrl::fromLocalFile(m_clip));
    QVideoSink sink;
    int frames = 0;
    connect(&sink, &QVideoSink::videoFrameChanged, this, [&](const QVideoFrame &frame) {
        if (frame.isValid())
            ++frames;
    });
    playback.setVideoSink(&sink);
    QTRY_VERIFY_WITH_TIMEOUT(playback.status() != VideoPlayback::Status::loading, 10'000);
    if (playback.status() == VideoPlayback::Status::failed)
        QSKIP(qPrintable(QStringLiteral("GStreamer cannot play an MPEG-4 file on this machine (%1); install "
                                        "gstreamer1.0-plugins-good and gstreamer1.0-libav")
                             .arg(playback.errorText())));

    // The clip is 30 frames at 15 frames a second.
    QTRY_VERIFY2_WITH_TIMEOUT(qAbs(playback.duration() - 2'000) <= 200, qPrintable(QString::number(playback.duration())),
                              10'000);
    // Loaded, it shows its first frame before it plays.
    QTRY_VERIFY_WITH_TIMEOUT(frames > 0, 10'000);
    QVERIFY(!playback.isPlaying());

    QSignalSpy playing(&playback, &VideoPlayback::playingChanged);
    playback.setMuted(true);
    QVERIFY(playback.isMuted());
    playback.play();
    QTRY_VERIFY_WITH_TIMEOUT(playback.isPlaying(), 10'000);
    QCOMPARE(playing.first().first().toBool(), true);
    QTRY_VERIFY_WITH_TIMEOUT(playback.position() > 0, 10'000);
    QTRY_VERIFY_WITH_TIMEOUT(frames > 0, 10'000);

    // To the end, then once more from the start.
    QTRY_COMPARE_WITH_TIMEOUT(playback.status(), VideoPlayback::Status::ended, 15'000);
    QVERIFY(!playback.isPlaying());
    playback.play();
    QTRY_VERIFY_WITH_TIMEOUT(playback.isPlaying(), 10'000);
    QVERIFY2(playback.position() < 1'500, qPrintable(QString::number(playback.position())));
    playback.pause();
    QTRY_VERIFY_WITH_TIMEOUT(!playback.isPlaying(), 10'000);
}

void TestInlinePlayer::realPlaybackEndsWhereverItIs_data()
{
    QTest::addColumn<bool>("playable");
    QTest::newRow("playing") << true;
    QTest::newRow("a file that cannot be played, paused") << false;
}

// A real playback ended while it plays, or after it failed and was paused (a pipeline that never
// loaded, which a stop would wait on), goes without a trace: its sink gets no frame afterwards.
void TestInlinePlayer::realPlaybackEndsWhereverItIs()
{
    QFETCH(bool, playable);
    QTemporaryDir dir;
    QString file = m_clip;
    if (!playable) {
        file = dir.filePath(QStringLiteral("empty.mp4"));
        QFile empty(file);
        QVERIFY(empty.open(QIODevice::WriteOnly));
    }
    QVideoSink sink;
    int frames = 0;
    connect(&sink, &QVideoSink::videoFrameChanged, this, [&](const QVideoFrame &frame) { frames += frame.isValid(); });
    auto playback = std::make_unique<MediaPlayerPlayback>(QUrl::fromLocalFile(file));
    playback->setVideoSink(&sink);
    QTRY_VERIFY_WITH_TIMEOUT(playback->status() != VideoPlayback::Status::loading, 10'000);
    if (playable) {
        if (playback->status() == VideoPlayback::Status::failed)
            QSKIP("GStreamer cannot play an MPEG-4 file on this machine");
        playback->setMuted(true);
        playback->play();
        QTRY_VERIFY_WITH_TIMEOUT(playback->position() > 0, 10'000);
    } else {
        QCOMPARE(playback->status(), VideoPlayback::Status::failed);
        playback->pause();
    }
    playback.reset();
    const int before = frames;
    QTest::qWait(300);
    QCOMPARE(frames, before);
}

// A plain orange cover in `folder`.
Url coverIn(const QTemporaryDir &folder)
{
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(QColor(200, 90, 40));
    image.save(folder.filePath(QStringLiteral("cover.png")));
    return Url::fromLocalFile(folder.filePath(QStringLiteral("cover.png")));
}

void TestInlinePlayer::posterUntilPlaybackStarts_data()
{
    QTest::addColumn<Act>("act");
    QTest::addColumn<bool>("plays");
    QTest::addColumn<bool>("poster");
    const auto clickAt = [](Qt::MouseButton button) {
        return Act([button](Rig &rig) { QTest::mouseClick(rig.player, button, {}, QPoint(rig.player->width() / 2, 40)); });
    };
    const auto play = [](Rig &rig) { rig.player->controls().playButton().click(); };
    QTest::newRow("play button") << Act(play) << true << false;
    QTest::newRow("space key") << Act([](Rig &rig) { QTest::keyClick(rig.player, Qt::Key_Space); }) << true << false;
    QTest::newRow("click on the poster") << clickAt(Qt::LeftButton) << true << false;
    QTest::newRow("right click") << clickAt(Qt::RightButton) << false << true;
    QTest::newRow("mute button") << Act([](Rig &rig) { rig.player->controls().muteButton().click(); }) << false << true;
    // A new playback shows the poster again.
    QTest::newRow("played, shown again") << Act([play](Rig &rig) {
        play(rig);
        rig.window.hide();
        rig.window.show();
    }) << false << true;
}

void TestInlinePlayer::posterUntilPlaybackStarts()
{
    QFETCH(Act, act);
    QFETCH(bool, plays);
    QFETCH(bool, poster);
    QTemporaryDir folder;
    const Url cover = coverIn(folder);
    Rig rig;
    rig.player->setPoster(cover);
    rig.window.show();
    QCOMPARE(rig.player->poster(), std::optional<Url>(cover));
    QVERIFY(rig.player->showsPoster());
    QTRY_VERIFY_WITH_TIMEOUT(rig.player->posterPicture() != nullptr, 20'000);
    QCOMPARE(rig.player->posterPicture()->image.pixelColor(5, 5), QColor(200, 90, 40));
    rig.current()->finishLoading(75'000);
    act(rig);
    QCOMPARE(rig.current()->isPlaying(), plays);
    QCOMPARE(rig.player->showsPoster(), poster);
    // Paused afterwards, it keeps the video's own picture.
    rig.current()->pause();
    QCOMPARE(rig.player->showsPoster(), poster);
}

void TestInlinePlayer::gallery()
{
    Rig rig(false, 240);
    rig.window.resize(430, 240);
    rig.window.show();
    rig.current()->finishLoading(75'000);
    rig.current()->reachPosition(20'000);
    QString why;
    QVERIFY2(gallery::captureAndCheck(rig.window, QStringLiteral("inline-player"), &why), qPrintable(why));

    // Before it plays: the cover as its poster.
    QTemporaryDir folder;
    Rig poster(false, 240);
    poster.player->setPoster(coverIn(folder));
    poster.window.resize(430, 240);
    poster.window.show();
    QTRY_VERIFY_WITH_TIMEOUT(poster.player->posterPicture() != nullptr, 20'000);
    QVERIFY2(gallery::captureAndCheck(poster.window, QStringLiteral("inline-player-poster"), &why), qPrintable(why));
}

QTEST_MAIN(TestInlinePlayer)
#include "tst_inlineplayer.moc"
