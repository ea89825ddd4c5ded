#pragma once

// The control bar laid over the bottom of a playing video: play or pause, the time played, a track
// to seek along, the length, and mute. It drives one VideoPlayback and follows what that playback
// reports; without one it is disabled.

#include "StashwellUI/Playback/VideoPlayback.h"
#include "StashwellUI/Playback/SeekTrack.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>

class QLabel;

namespace sw {

class RoundIconButton;

class PlayerControlBar : public QWidget {
    Q_OBJECT
public:
    static constexpr double barHeight = 36;
    static constexpr double buttonSize = 28;

    explicit PlayerControlBar(QWidget *parent = nullptr);

    // The playback the bar drives; none disables it. The bar does not own it.
    void setPlayback(VideoPlayback *playback);
    VideoPlayback *playback() const { return m_playback; }

    // The parts, for tests and for the owner's keyboard handling.
    RoundIconButton &playButton() { return *m_play; }
    RoundIconButton &muteButton() { return *m_mute; }
    SeekTrack &track() { return *m_track; }
    QString elapsedText() const;
    QString totalText() const;

    // Plays when paused, pauses when playing.
    void togglePlaying();
    void toggleMuted();

    QSize sizeHint() const override;

    // "m:ss" of a time in milliseconds (whole seconds, minutes not carried into hours); a negative
    // time shows as 0:00.
    static QString timeText(std::int64_t milliseconds);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void applyTints();
    void showPosition(std::int64_t milliseconds);

    QPointer<VideoPlayback> m_playback;
    QMetaObject::Connection m_connections[5];
    RoundIconButton *m_play = nullptr;
    RoundIconButton *m_mute = nullptr;
    SeekTrack *m_track = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_total = nullptr;
    bool m_showing = false;   // the track is being set from the playback, not by the user
};

}  // namespace sw
