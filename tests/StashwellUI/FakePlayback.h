#pragma once

// A scripted playback for the players' tests: it records what the player asks of it, and the test
// moves it through loading, playing, the end and failure by hand.

#include "StashwellUI/Playback/VideoPlayback.h"

#include <QList>
#include <QPointer>
#include <QVideoSink>

#include <memory>

namespace sw::test {

class FakePlayback : public VideoPlayback {
    Q_OBJECT
public:
    explicit FakePlayback(const QUrl &file) : m_source(file) {}

    QUrl source() const override { return m_source; }
    void play() override
    {
        ++plays;
        if (m_status == Status::failed)
            return;
        if (m_status == Status::ended) {
            setStatus(Status::ready);
            reachPosition(0);
        }
        setPlaying(true);
    }
    void pause() override
    {
        ++pauses;
        setPlaying(false);
    }
    void setPosition(std::int64_t milliseconds) override
    {
        seeks.append(milliseconds);
        reachPosition(milliseconds);
    }
    void setMuted(bool muted) override
    {
        if (muted == m_muted)
            return;
        m_muted = muted;
        emit mutedChanged(muted);
    }
    void setVideoSink(QVideoSink *sink) override { m_sink = sink; }

    bool isPlaying() const override { return m_playing; }
    std::int64_t position() const override { return m_position; }
    std::int64_t duration() const override { return m_duration; }
    bool isMuted() const override { return m_muted; }
    Status status() const override { return m_status; }
    QString errorText() const override { return m_error; }

    QVideoSink *sink() const { return m_sink; }

    // What the decoder would report.
    void finishLoading(std::int64_t duration)
    {
        m_duration = duration;
        emit durationChanged(duration);
        setStatus(Status::ready);
    }
    void reachPosition(std::int64_t milliseconds)
    {
        m_position = milliseconds;
        emit positionChanged(milliseconds);
    }
    void reachEnd()
    {
        reachPosition(m_duration);
        setPlaying(false);
        setStatus(Status::ended);
    }
    void fail(const QString &why)
    {
        m_error = why;
        setPlaying(false);
        setStatus(Status::failed);
    }

    int plays = 0;
    int pauses = 0;
    QList<std::int64_t> seeks;

private:
    void setPlaying(bool playing)
    {
        if (playing == m_playing)
            return;
        m_playing = playing;
        emit playingChanged(playing);
    }
    void setStatus(Status status)
    {
        if (status == m_status)
            return;
        m_status = status;
        emit statusChanged(status);
    }

    QUrl m_source;
    QPointer<QVideoSink> m_sink;
    bool m_playing = false;
    bool m_muted = false;
    std::int64_t m_position = 0;
    std::int64_t m_duration = 0;
    Status m_status = Status::loading;
    QString m_error;
};

// Makes fake playbacks and remembers each one it made, in order (a pointer that turns null once
// the player has let the playback go).
struct FakeFactory {
    std::shared_ptr<QList<QPointer<FakePlayback>>> made = std::make_shared<QList<QPointer<FakePlayback>>>();

    VideoPlaybackFactory factory() const
    {
        auto list = made;
        return [list](const QUrl &file) -> std::unique_ptr<VideoPlayback> {
            auto playback = std::make_unique<FakePlayback>(file);
            list->append(playback.get());
            return playback;
        };
    }
    qsizetype count() const { return made->size(); }
    FakePlayback *at(qsizetype i) const { return made->at(i); }
    FakePlayback *last() const { return made->isEmpty() ? nullptr : made->last().data(); }
};

}  // namespace sw::test
