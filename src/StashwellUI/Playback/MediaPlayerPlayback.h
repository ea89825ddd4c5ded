#pragma once

// The real playback of a video file: QMediaPlayer, which decodes through GStreamer here, with an
// audio output of its own. Once the file has loaded it waits paused at its start, which decodes
// the first frame for its video sink, so that a player shows the video's picture before it plays.

#include "StashwellUI/Playback/VideoPlayback.h"

class QAudioOutput;
class QMediaPlayer;

namespace sw {

class MediaPlayerPlayback : public VideoPlayback {
    Q_OBJECT
public:
    explicit MediaPlayerPlayback(const QUrl &file, QObject *parent = nullptr);
    ~MediaPlayerPlayback() override;

    // The factory of real playbacks.
    static VideoPlaybackFactory factory();

    QUrl source() const override;
    void play() override;
    void pause() override;
    void setPosition(std::int64_t milliseconds) override;
    void setMuted(bool muted) override;
    void setVideoSink(QVideoSink *sink) override;

    bool isPlaying() const override { return m_playing; }
    std::int64_t position() const override;
    std::int64_t duration() const override;
    bool isMuted() const override;
    Status status() const override { return m_status; }
    QString errorText() const override { return m_error; }

    QMediaPlayer &player() { return *m_player; }

private:
    void setStatus(Status status);
    void setPlaying(bool playing);

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_audio = nullptr;
    Status m_status = Status::loading;
    bool m_waiting = false;   // paused at the start once, after the first load
    bool m_playing = false;
    QString m_error;
};

}  // namespace sw
