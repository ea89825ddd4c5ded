#pragma once

// Plays one local video file inside a view, exactly `playerHeight` high and as wide as it is
// given, in a rounded frame with our own control bar over its bottom edge.
//
// Its life cycle: each time it comes on screen it makes a fresh playback of its file (so a player
// shown again starts from the beginning), and so does a new file while it is on screen; a playback
// starts at once only when autoplay is on; leaving the screen pauses the playback, which is kept
// until the next one replaces it or the player goes away. A file that cannot be played still gets
// its playback (which reports the failure to the control bar); nothing is reported to the owner.
//
// Until a playback first plays, the player shows a poster with a play mark in its middle: the
// picture it is given (the save's cover), or without one the first frame the paused playback
// decodes. A click on the poster plays. Each new playback shows the poster again.

#include "Capture/Url.h"
#include "StashwellUI/Pictures/PictureCache.h"
#include "StashwellUI/Playback/VideoPlayback.h"

#include <QPointer>
#include <QUrl>
#include <QVideoFrame>
#include <QWidget>

#include <optional>

class QPainter;
class QVideoSink;

namespace sw {

class CachedImage;
class PlayerControlBar;

class InlinePlayer : public QWidget {
    Q_OBJECT
public:
    static constexpr double defaultHeight = 240;
    static constexpr double cornerRadius = 12;
    static constexpr double barInset = 8;

    explicit InlinePlayer(QWidget *parent = nullptr);
    explicit InlinePlayer(const QUrl &file, bool autoplay = false, double height = defaultHeight,
                          QWidget *parent = nullptr);
    ~InlinePlayer() override;

    // How playbacks are made; the real QMediaPlayer one unless a test sets another. Takes effect
    // at the next load.
    void setPlaybackFactory(VideoPlaybackFactory factory);

    QUrl url() const { return m_url; }
    // A different file loads a new playback at once when the player is on screen.
    void setUrl(const QUrl &file);
    bool autoplay() const { return m_autoplay; }
    // Takes effect at the next load; the current playback goes on as it is.
    void setAutoplay(bool autoplay);
    double playerHeight() const { return m_height; }
    void setPlayerHeight(double height);

    // The poster's picture (none: the first frame, when the playback decodes one while paused).
    // A new address starts its load when the player is on screen.
    void setPoster(const std::optional<Url> &picture);
    std::optional<Url> poster() const;
    // Whether the poster is up: the playback held now has not played yet, nor failed.
    bool showsPoster() const;
    // The poster's picture as it is now: none until it has loaded.
    PicturePointer posterPicture() const;
    static constexpr double playMarkSide = 52;

    // The playback held now: none before the player was first shown.
    VideoPlayback *playback() const { return m_playback; }
    PlayerControlBar &controls() { return *m_controls; }
    // Whether the player is on screen as far as its life cycle goes.
    bool isOnScreen() const { return m_onScreen; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A new playback was made and is now held.
    void loaded(sw::VideoPlayback *playback);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void load();
    void placeControls();
    void paintPoster(QPainter &painter, const QRectF &frame);

    QUrl m_url;
    bool m_autoplay = false;
    double m_height = defaultHeight;
    bool m_onScreen = false;
    VideoPlaybackFactory m_factory;
    QPointer<VideoPlayback> m_playback;
    QVideoSink *m_sink = nullptr;
    QVideoFrame m_frame;
    CachedImage *m_poster = nullptr;
    bool m_started = false;
    PlayerControlBar *m_controls = nullptr;
};

}  // namespace sw
