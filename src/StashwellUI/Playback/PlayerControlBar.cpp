#include "StashwellUI/Playback/PlayerControlBar.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Controls/RoundIconButton.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw {

namespace {

// Milliseconds as a slider value: the slider's range is an int.
int sliderValue(std::int64_t milliseconds)
{
    return int(std::clamp<std::int64_t>(milliseconds, 0, std::numeric_limits<int>::max()));
}

}  // namespace

PlayerControlBar::PlayerControlBar(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(int(barHeight));

    m_play = new RoundIconButton(QStringLiteral("play.fill"), StashwellUIStrings::playerPlay(), this);
    m_play->setDiameter(buttonSize);
    m_mute = new RoundIconButton(QStringLiteral("speaker.wave.2.fill"), StashwellUIStrings::playerMute(), this);
    m_mute->setDiameter(buttonSize);
    // The round buttons are glass, pale in the light appearance and dark in the dark one: their
    // symbols take the text colour of the appearance, which reads on either (white would vanish
    // on the pale glass).
    applyTints();
    connect(&Theme::instance(), &Theme::changed, this, &PlayerControlBar::applyTints);
    m_track = new SeekTrack(this);

    const QFont mono = Tokens::Typography::monoSmall.font();
    const auto timeLabel = [&] {
        auto *label = new QLabel(this);
        label->setFont(mono);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    m_elapsed = timeLabel();
    m_total = timeLabel();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 10, 4);
    row->setSpacing(8);
    row->addWidget(m_play);
    row->addWidget(m_elapsed);
    row->addWidget(m_track, 1);
    row->addWidget(m_total);
    row->addWidget(m_mute);

    connect(m_play, &QAbstractButton::clicked, this, &PlayerControlBar::togglePlaying);
    connect(m_mute, &QAbstractButton::clicked, this, &PlayerControlBar::toggleMuted);
    connect(m_track, &QAbstractSlider::valueChanged, this, [this](int value) {
        if (!m_showing && m_playback)
            m_playback->setPosition(value);
        m_elapsed->setText(timeText(value));
    });

    refresh();
}

void PlayerControlBar::applyTints()
{
    const QColor ink = Tokens::Colors::text();
    m_play->setTint(ink);
    m_mute->setTint(ink);
}

QSize PlayerControlBar::sizeHint() const
{
    return QSize(360, int(barHeight));
}

QString PlayerControlBar::timeText(std::int64_t milliseconds)
{
    return Formatting::duration(std::max<std::int64_t>(0, milliseconds) / 1000);
}

QString PlayerControlBar::elapsedText() const { return m_elapsed->text(); }
QString PlayerControlBar::totalText() const { return m_total->text(); }

void PlayerControlBar::setPlayback(VideoPlayback *playback)
{
    if (playback == m_playback)
        return;
    for (auto &connection : m_connections)
        disconnect(connection);
    m_playback = playback;
    if (playback) {
        m_connections[0] = connect(playback, &VideoPlayback::playingChanged, this, &PlayerControlBar::refresh);
        m_connections[1] = connect(playback, &VideoPlayback::durationChanged, this, &PlayerControlBar::refresh);
        m_connections[2] = connect(playback, &VideoPlayback::mutedChanged, this, &PlayerControlBar::refresh);
        m_connections[3] = connect(playback, &VideoPlayback::statusChanged, this, &PlayerControlBar::refresh);
        m_connections[4] = connect(playback, &VideoPlayback::positionChanged, this, &PlayerControlBar::showPosition);
    }
    refresh();
}

void PlayerControlBar::togglePlaying()
{
    if (!m_playback)
        return;
    if (m_playback->isPlaying())
        m_playback->pause();
    else
        m_playback->play();
}

void PlayerControlBar::toggleMuted()
{
    if (m_playback)
        m_playback->setMuted(!m_playback->isMuted());
}

void PlayerControlBar::showPosition(std::int64_t milliseconds)
{
    // While the user holds the knob, the track shows where they hold it.
    if (m_track->isSliderDown())
        return;
    m_showing = true;
    m_track->setValue(sliderValue(milliseconds));
    m_showing = false;
    m_elapsed->setText(timeText(milliseconds));
}

void PlayerControlBar::refresh()
{
    const VideoPlayback *playback = m_playback;
    const bool usable = playback && playback->status() != VideoPlayback::Status::failed;
    const bool playing = playback && playback->isPlaying();
    const bool muted = playback && playback->isMuted();
    const std::int64_t length = playback ? playback->duration() : 0;

    m_play->setEnabled(usable);
    m_play->setSymbol(playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"));
    m_play->setLabel(playing ? StashwellUIStrings::playerPause() : StashwellUIStrings::playerPlay());
    m_mute->setEnabled(usable);
    m_mute->setSymbol(muted ? QStringLiteral("speaker.slash.fill") : QStringLiteral("speaker.wave.2.fill"));
    m_mute->setLabel(muted ? StashwellUIStrings::playerUnmute() : StashwellUIStrings::playerMute());

    m_showing = true;
    m_track->setEnabled(usable && length > 0);
    m_track->setRange(0, sliderValue(length));
    if (!m_track->isSliderDown())
        m_track->setValue(sliderValue(playback ? playback->position() : 0));
    m_showing = false;
    m_elapsed->setText(timeText(playback ? playback->position() : 0));
    m_total->setText(timeText(length));
    update();
}

void PlayerControlBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    ContinuousShape::fill(painter, QRectF(rect()), Tokens::Radius::md, Tokens::Colors::scrim());
}

}  // namespace sw
