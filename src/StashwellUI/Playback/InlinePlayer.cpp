#include "StashwellUI/Playback/InlinePlayer.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Playback/MediaPlayerPlayback.h"
#include "StashwellUI/Playback/PlayerControlBar.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Pictures/CachedImage.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QVideoSink>

#include <cmath>

namespace sw {

InlinePlayer::InlinePlayer(QWidget *parent) : InlinePlayer(QUrl(), false, defaultHeight, parent) {}

InlinePlayer::InlinePlayer(const QUrl &file, bool autoplay, double height, QWidget *parent)
    : QWidget(parent), m_url(file), m_autoplay(autoplay), m_factory(MediaPlayerPlayback::factory()),
      m_sink(new QVideoSink(this)), m_poster(new CachedImage(this)), m_controls(new PlayerControlBar(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setPlayerHeight(height);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
        m_frame = frame;
        update();
    });
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

InlinePlayer::~InlinePlayer()
{
    if (m_playback) {
        m_playback->setVideoSink(nullptr);
        m_playback->pause();
    }
}

void InlinePlayer::setPlaybackFactory(VideoPlaybackFactory factory)
{
    m_factory = factory ? std::move(factory) : MediaPlayerPlayback::factory();
}

void InlinePlayer::setUrl(const QUrl &file)
{
    if (file == m_url)
        return;
    m_url = file;
    if (m_onScreen)
        load();
}

void InlinePlayer::setPoster(const std::optional<Url> &picture)
{
    // As many pixels as a thumbnail of the player's height asks for.
    m_poster->setSource(picture, std::int64_t(std::max(1.0, std::trunc(m_height * 6))));
    update();
}

std::optional<Url> InlinePlayer::poster() const
{
    const std::optional<PictureKey> key = m_poster->key();
    return key ? std::optional<Url>(key->url) : std::nullopt;
}

bool InlinePlayer::showsPoster() const
{
    return !m_started && !(m_playback && m_playback->status() == VideoPlayback::Status::failed);
}

PicturePointer InlinePlayer::posterPicture() const
{
    return m_poster->current();
}

void InlinePlayer::setAutoplay(bool autoplay)
{
    m_autoplay = autoplay;
}

void InlinePlayer::setPlayerHeight(double height)
{
    if (!(height >= 0) || !std::isfinite(height))
        return;
    m_height = height;
    setFixedHeight(int(std::lround(height)));
    updateGeometry();
}

QSize InlinePlayer::sizeHint() const
{
    return QSize(int(std::lround(m_height * 16 / 9)), int(std::lround(m_height)));
}

QSize InlinePlayer::minimumSizeHint() const
{
    return QSize(160, int(std::lround(m_height)));
}

void InlinePlayer::load()
{
    // The old playback stops before the new one exists, and lets go of the picture it drew.
    if (m_playback) {
        m_playback->pause();
        m_playback->setVideoSink(nullptr);
        m_controls->setPlayback(nullptr);
        m_playback->disconnect(this);
        m_playback->deleteLater();
        m_playback = nullptr;
    }
    m_frame = QVideoFrame();
    m_started = false;

    std::unique_ptr<VideoPlayback> made = m_factory(m_url);
    if (!made) {
        update();
        return;
    }
    VideoPlayback *playback = made.release();
    playback->setParent(this);
    playback->setVideoSink(m_sink);
    connect(playback, &VideoPlayback::statusChanged, this, qOverload<>(&QWidget::update));
    connect(playback, &VideoPlayback::playingChanged, this, [this](bool playing) {
        if (playing && !m_started) {
            m_started = true;
            update();
        }
    });
    m_playback = playback;
    m_controls->setPlayback(playback);
    if (m_autoplay)
        playback->play();
    update();
    emit loaded(playback);
}

void InlinePlayer::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from being minimised is not the player coming on screen again.
    if (event->spontaneous() || m_onScreen)
        return;
    m_onScreen = true;
    load();
}

void InlinePlayer::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous() || !m_onScreen)
        return;
    m_onScreen = false;
    if (m_playback)
        m_playback->pause();
}

void InlinePlayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void InlinePlayer::placeControls()
{
    const int inset = int(barInset);
    const int barHeight = int(PlayerControlBar::barHeight);
    m_controls->setGeometry(inset, height() - inset - barHeight, std::max(0, width() - 2 * inset), barHeight);
}

void InlinePlayer::keyPressEvent(QKeyEvent *event)
{
    // Space plays and pauses, as in every player.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        m_controls->togglePlaying();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void InlinePlayer::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && showsPoster()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void InlinePlayer::mouseReleaseEvent(QMouseEvent *event)
{
    // The poster is one big play button.
    if (event->button() == Qt::LeftButton && showsPoster() && m_playback && rect().contains(event->position().toPoint())) {
        m_playback->play();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void InlinePlayer::paintPoster(QPainter &painter, const QRectF &frame)
{
    const PicturePointer picture = m_poster->current();
    if (picture && !picture->image.isNull()) {
        // Where the video's own picture will stand, so that playing does not move it.
        QSizeF size = QSizeF(picture->image.size());
        size.scale(frame.size(), Qt::KeepAspectRatio);
        const QRectF target(frame.center().x() - size.width() / 2, frame.center().y() - size.height() / 2,
                            size.width(), size.height());
        painter.drawImage(target, picture->image);
    } else if (m_frame.isValid()) {
        QVideoFrame::PaintOptions options;
        options.backgroundColor = Qt::transparent;
        options.aspectRatioMode = Qt::KeepAspectRatio;
        m_frame.paint(&painter, frame, options);
    }
    const double side = std::min(playMarkSide, frame.height() / 3);
    const QRectF mark(frame.center().x() - side / 2, frame.center().y() - side / 2, side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Tokens::Colors::scrim());
    painter.drawEllipse(mark);
    const double glyph = side * 0.42;
    // The triangle's weight sits left of its box: nudged right it looks centred in the circle.
    Symbols::paint(painter, QRectF(mark.center().x() - glyph / 2 + side * 0.04, mark.center().y() - glyph / 2, glyph, glyph),
                   QStringLiteral("play.fill"), Qt::white);
}

void InlinePlayer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame(rect());
    const QPainterPath clip = ContinuousShape::rect(frame, cornerRadius);

    painter.save();
    painter.setClipPath(clip);
    painter.fillRect(frame, Tokens::Colors::canvas());
    const bool failed = m_playback && m_playback->status() == VideoPlayback::Status::failed;
    if (showsPoster()) {
        paintPoster(painter, frame);
    } else if (m_frame.isValid()) {
        QVideoFrame::PaintOptions options;
        options.backgroundColor = Qt::transparent;
        options.aspectRatioMode = Qt::KeepAspectRatio;
        m_frame.paint(&painter, frame, options);
    } else if (failed) {
        const double side = std::min(36.0, frame.height() / 4);
        Symbols::paint(painter, QRectF(frame.center().x() - side / 2, frame.center().y() - side / 2, side, side),
                       QStringLiteral("exclamationmark.triangle"), Tokens::Colors::muted());
    }
    painter.restore();
    ContinuousShape::strokeInside(painter, frame, cornerRadius, Tokens::Colors::lineStrong(), 1);
}

}  // namespace sw
