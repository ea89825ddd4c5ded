#include "StashwellUI/Playback/MediaPlayerPlayback.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QVideoSink>

#include <algorithm>
#include <limits>

namespace sw {

namespace {

// Qt chooses its media backend once, when the first player is made, from QT_MEDIA_BACKEND. The
// system's Qt carries more than one; the players are built and tested on GStreamer, so that is the
// one asked for unless the user chose another.
QObject *preferGStreamer(QObject *parent)
{
    static const bool chosen = [] {
        if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
            qputenv("QT_MEDIA_BACKEND", "gstreamer");
        return true;
    }();
    Q_UNUSED(chosen);
    return parent;
}

}  // namespace

MediaPlayerPlayback::MediaPlayerPlayback(const QUrl &file, QObject *parent)
    : VideoPlayback(preferGStreamer(parent)), m_player(new QMediaPlayer(this)), m_audio(new QAudioOutput(this))
{
    m_player->setAudioOutput(m_audio);

    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        setPlaying(state == QMediaPlayer::PlayingState);
    });
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 position) { emit positionChanged(position); });
    connect(m_player, &QMediaPlayer::durationChanged, this, [this](qint64 duration) { emit durationChanged(duration); });
    connect(m_audio, &QAudioOutput::mutedChanged, this, [this](bool muted) { emit mutedChanged(muted); });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        switch (status) {
        case QMediaPlayer::NoMedia:
        case QMediaPlayer::LoadingMedia:
            if (m_status != Status::failed)
                setStatus(Status::loading);
            break;
        case QMediaPlayer::LoadedMedia:
            if (!m_waiting && m_player->playbackState() == QMediaPlayer::StoppedState) {
                m_waiting = true;
                m_player->pause();
            }
            [[fallthrough]];
        case QMediaPlayer::StalledMedia:
        case QMediaPlayer::BufferingMedia:
        case QMediaPlayer::BufferedMedia:
            if (m_status != Status::failed)
                setStatus(Status::ready);
            break;
        case QMediaPlayer::EndOfMedia:
            setStatus(Status::ended);
            break;
        case QMediaPlayer::InvalidMedia:
            if (m_error.isEmpty())
                m_error = m_player->errorString();
            setStatus(Status::failed);
            break;
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString &text) {
        if (error == QMediaPlayer::NoError)
            return;
        m_error = text.isEmpty() ? QStringLiteral("playback error %1").arg(int(error)) : text;
        setStatus(Status::failed);
        setPlaying(false);
    });

    m_player->setSource(file);
}

MediaPlayerPlayback::~MediaPlayerPlayback()
{
    // The pipeline goes before the sink and the audio output it writes to. It is not stopped
    // first: GStreamer waits up to a second for a stop of a file that never loaded (one it
    // cannot play, or one still loading), with the window frozen; the player's own end takes the
    // pipeline down at once.
    m_player->disconnect(this);
    m_player->setVideoSink(nullptr);
    delete m_player;
}

VideoPlaybackFactory MediaPlayerPlayback::factory()
{
    return [](const QUrl &file) -> std::unique_ptr<VideoPlayback> { return std::make_unique<MediaPlayerPlayback>(file); };
}

QUrl MediaPlayerPlayback::source() const
{
    return m_player->source();
}

void MediaPlayerPlayback::play()
{
    if (m_status == Status::failed)
        return;
    // A video played to its end starts again from the beginning.
    if (m_status == Status::ended)
        m_player->setPosition(0);
    m_player->play();
}

void MediaPlayerPlayback::pause()
{
    m_player->pause();
}

void MediaPlayerPlayback::setPosition(std::int64_t milliseconds)
{
    std::int64_t target = std::max<std::int64_t>(0, milliseconds);
    if (const std::int64_t length = duration(); length > 0)
        target = std::min(target, length);
    m_player->setPosition(target);
    if (m_status == Status::ended && target < duration())
        setStatus(Status::ready);
}

void MediaPlayerPlayback::setMuted(bool muted)
{
    m_audio->setMuted(muted);
}

void MediaPlayerPlayback::setVideoSink(QVideoSink *sink)
{
    m_player->setVideoSink(sink);
}

std::int64_t MediaPlayerPlayback::position() const
{
    return m_player->position();
}

std::int64_t MediaPlayerPlayback::duration() const
{
    return std::max<qint64>(0, m_player->duration());
}

bool MediaPlayerPlayback::isMuted() const
{
    return m_audio->isMuted();
}

void MediaPlayerPlayback::setStatus(Status status)
{
    if (m_status == status)
        return;
    m_status = status;
    emit statusChanged(status);
}

void MediaPlayerPlayback::setPlaying(bool playing)
{
    if (m_playing == playing)
        return;
    m_playing = playing;
    emit playingChanged(playing);
}

}  // namespace sw
