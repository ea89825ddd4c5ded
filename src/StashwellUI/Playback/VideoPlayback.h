#pragma once

// One playback of one video file, as the inline player and the player sheet use it: start, pause,
// seek, mute, and the state they show in their control bar (playing or not, position, length,
// muted, loaded, ended or failed). The players reach playback only through this interface and make
// each one with a factory, so their life cycle (a new playback per showing and per file, paused when
// hidden) can be followed with a scripted playback in tests.
//
// MediaPlayerPlayback is the real one.

#include <QObject>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>

class QVideoSink;

namespace sw {

class VideoPlayback : public QObject {
    Q_OBJECT
public:
    // Where the file stands: being opened, ready to play (or playing), played to its end, or not
    // playable at all (missing, unreadable, not a video).
    enum class Status { loading, ready, ended, failed };
    Q_ENUM(Status)

    using QObject::QObject;

    virtual QUrl source() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    // Milliseconds from the start; clamped to the known length by the implementation.
    virtual void setPosition(std::int64_t milliseconds) = 0;
    virtual void setMuted(bool muted) = 0;
    // Where the pictures go; none stops them.
    virtual void setVideoSink(QVideoSink *sink) = 0;

    virtual bool isPlaying() const = 0;
    virtual std::int64_t position() const = 0;   // milliseconds
    virtual std::int64_t duration() const = 0;   // milliseconds; 0 while unknown
    virtual bool isMuted() const = 0;
    virtual Status status() const = 0;
    // Why playback failed, in the decoder's words; empty unless the status is failed.
    virtual QString errorText() const = 0;

signals:
    void playingChanged(bool playing);
    void positionChanged(std::int64_t milliseconds);
    void durationChanged(std::int64_t milliseconds);
    void mutedChanged(bool muted);
    void statusChanged(sw::VideoPlayback::Status status);
};

// Makes a playback of a file, paused at its start. The caller owns it.
using VideoPlaybackFactory = std::function<std::unique_ptr<VideoPlayback>(const QUrl &file)>;
}  // namespace sw
