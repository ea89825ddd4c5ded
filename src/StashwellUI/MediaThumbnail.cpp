#include "MediaThumbnail.h"

#include "ContinuousShape.h"
#include "ControlPainting.h"
#include "Formatting.h"
#include "MediaBadge.h"
#include "Paging.h"
#include "ProgressTrack.h"
#include "StashwellUIStrings.h"
#include "Surfaces.h"
#include "Symbols.h"
#include "Tokens.h"

#include <QCache>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

constexpr double kPlaceholderRatio = 16.0 / 9.0;

// The picture of a frame as it is drawn: cut to the frame's rounded outline and scaled to its
// size in device pixels, once; every later paint of the same picture at the same size draws the
// bitmap as it is. Main thread only, like all painting.
QCache<QString, QPixmap> &scaledPictures()
{
    static QCache<QString, QPixmap> cache(96 << 20);
    return cache;
}

// The size a picture of `aspect` (width over height) takes fitted into `bounds`.
QSizeF fitted(double aspect, const QSizeF &bounds)
{
    if (!(aspect > 0) || !std::isfinite(aspect) || bounds.isEmpty())
        return QSizeF(0, 0);
    if (bounds.width() / bounds.height() > aspect)
        return QSizeF(bounds.height() * aspect, bounds.height());
    return QSizeF(bounds.width(), bounds.width() / aspect);
}

QRectF centred(const QSizeF &size, const QRectF &within)
{
    return QRectF(within.center().x() - size.width() / 2, within.center().y() - size.height() / 2, size.width(),
                  size.height());
}

double aspectOf(const QImage &image)
{
    if (image.isNull() || image.height() <= 0)
        return 0;
    return double(image.width()) / double(image.height());
}

void paintPicture(QPainter &painter, const QRectF &frame, const QRectF &imageRect, const Picture &picture)
{
    const QRectF visible = imageRect.intersected(frame);
    if (visible.isEmpty())
        return;
    const QImage &image = picture.image;
    // The part of the picture that falls within the frame.
    const double sx = image.width() / imageRect.width();
    const double sy = image.height() / imageRect.height();
    const QRectF source((visible.left() - imageRect.left()) * sx, (visible.top() - imageRect.top()) * sy,
                        visible.width() * sx, visible.height() * sy);

    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels(int(std::ceil(frame.width() * dpr)), int(std::ceil(frame.height() * dpr)));
    if (pixels.isEmpty())
        return;
    const QRectF local = visible.translated(-frame.topLeft());
    const QString key = picture.key.keyString() + QStringLiteral("|%1x%2|%3,%4,%5,%6|%7")
                                                      .arg(pixels.width())
                                                      .arg(pixels.height())
                                                      .arg(local.x(), 0, 'f', 2)
                                                      .arg(local.y(), 0, 'f', 2)
                                                      .arg(local.width(), 0, 'f', 2)
                                                      .arg(local.height(), 0, 'f', 2)
                                                      .arg(dpr);
    QCache<QString, QPixmap> &cache = scaledPictures();
    if (const QPixmap *ready = cache.object(key)) {
        painter.drawPixmap(frame.topLeft(), *ready);
        return;
    }
    QPixmap bitmap(pixels);
    bitmap.setDevicePixelRatio(dpr);
    bitmap.fill(Qt::transparent);
    {
        QPainter p(&bitmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRectF whole(QPointF(0, 0), frame.size());
        p.setClipPath(ContinuousShape::rect(whole, MediaThumbnail::cornerRadius));
        // Scaled in one smooth step, so that the 6× picture does not shimmer at the small size.
        const QImage part = image.copy(source.toAlignedRect())
                                .scaled(QSize(std::max(1, int(std::ceil(local.width() * dpr))),
                                              std::max(1, int(std::ceil(local.height() * dpr)))),
                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.drawImage(local, part);
    }
    painter.drawPixmap(frame.topLeft(), bitmap);
    const qsizetype cost = qsizetype(pixels.width()) * pixels.height() * 4;
    cache.insert(key, new QPixmap(bitmap), cost);
}

void paintQuotedText(QPainter &painter, const QRectF &frame, const QString &text)
{
    const QFont font = Tokens::Typography::reading.font();
    const QRectF area = frame.adjusted(MediaThumbnail::textInset, MediaThumbnail::textInset, -MediaThumbnail::textInset,
                                       -MediaThumbnail::textInset);
    if (area.width() <= 0)
        return;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    const QFontMetricsF metrics(font);
    double y = 0;
    layout.beginLayout();
    for (;;) {
        // Lines past the box are cut by it: stop laying out once the box is full.
        if (area.top() + y > frame.bottom())
            break;
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(area.width());
        line.setPosition(QPointF(0, y));
        y += line.height() + MediaThumbnail::textLineSpacing;
    }
    layout.endLayout();
    painter.save();
    painter.setClipRect(frame, Qt::IntersectClip);
    painter.setPen(Tokens::Colors::textSecondary());
    layout.draw(&painter, area.topLeft());
    painter.restore();
}

void paintArrow(QPainter &painter, const QRectF &circle, const QString &symbol, bool pressed)
{
    painter.save();
    ControlState state;
    state.pressed = pressed;
    ControlPainting::applyPlainStyle(painter, state);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Tokens::Colors::scrim());
    painter.drawEllipse(circle);
    const double side = ControlPainting::symbolSide(11);
    Symbols::paint(painter, centred(QSizeF(side, side), circle), symbol, Qt::white);
    painter.restore();
}

}  // namespace

MediaThumbnail::MediaThumbnail(Post post, LocalCopy copy, double height, bool keepsShape)
    : m_post(std::move(post)), m_copy(std::move(copy)), m_height(height), m_keepsShape(keepsShape)
{
}

MediaThumbnail::MediaThumbnail(const ShelfItem &item, double height, bool keepsShape, bool fitsWhole, bool pages,
                               bool arrows)
    : m_post(item.save().post()), m_copy(item.copy()), m_height(height), m_keepsShape(keepsShape),
      m_fitsWhole(fitsWhole), m_pages(pages), m_arrows(arrows), m_id(item.save().id())
{
    if (!item.pictures().empty())
        m_pictures = item.pictures();
    else
        m_pictures = {item.cover()};
}

bool MediaThumbnail::usesSharedPage() const { return m_pages && m_paging && m_id; }

std::int64_t MediaThumbnail::pageCount() const { return std::max<std::int64_t>(1, std::int64_t(m_pictures.size())); }

std::int64_t MediaThumbnail::currentPage(std::int64_t ownPage) const
{
    if (usesSharedPage())
        return m_paging->page(*m_id, pageCount());
    const std::int64_t last = m_pictures.empty() ? 0 : std::int64_t(m_pictures.size()) - 1;
    return std::clamp<std::int64_t>(ownPage, 0, last);
}

std::int64_t MediaThumbnail::step(int delta, std::int64_t ownPage) const
{
    const std::int64_t count = pageCount();
    if (usesSharedPage()) {
        m_paging->turn(*m_id, delta, count);
        return ownPage;
    }
    const std::int64_t next = (currentPage(ownPage) + count + delta % count) % count;
    return next < 0 ? next + count : next;
}

std::optional<Url> MediaThumbnail::pictureURL(std::int64_t ownPage) const
{
    if (m_pictures.empty())
        return m_post.preview;
    return m_pictures.at(std::size_t(currentPage(ownPage)));
}

std::int64_t MediaThumbnail::maxPixels() const
{
    const double pixels = m_height * 6;
    // A height that is not finite or not positive asks for nothing; one too large for the
    // pixel count saturates instead of overflowing the conversion.
    if (!(pixels >= 1))
        return 0;
    if (pixels >= 9.0e18)
        return INT64_MAX;
    return std::int64_t(std::trunc(pixels));
}

std::optional<PictureKey> MediaThumbnail::pictureKey(std::int64_t ownPage) const
{
    const std::optional<Url> url = pictureURL(ownPage);
    const std::int64_t pixels = maxPixels();
    if (!url || url->isEmpty() || pixels < 1)
        return std::nullopt;
    return PictureKey{*url, pixels};
}

std::optional<std::size_t> MediaThumbnail::attachmentIndex(std::int64_t ownPage) const
{
    const std::int64_t page = currentPage(ownPage);
    if (page >= 0 && std::uint64_t(page) < m_post.attachments.size())
        return std::size_t(page);
    return std::nullopt;
}

QString MediaThumbnail::glyph(std::int64_t ownPage) const
{
    if (const std::optional<std::size_t> index = attachmentIndex(ownPage)) {
        const Attachment &shown = m_post.attachments.at(*index);
        if (shown.isVideo())
            return QStringLiteral("play.rectangle");
        if (shown.isImage())
            return QStringLiteral("photo");
    }
    switch (Kind::Value(m_post.kind())) {
    case Kind::video:
        return QStringLiteral("play.rectangle");
    case Kind::images:
        return QStringLiteral("photo");
    case Kind::text:
        return QStringLiteral("text.alignleft");
    case Kind::page:
        break;
    }
    return QStringLiteral("globe");
}

MediaThumbnail::Mode MediaThumbnail::mode() const
{
    const bool text = m_post.kind() == Kind::text;
    if (m_keepsShape && !text)
        return Mode::keepShape;
    if (!text)
        return Mode::box;
    return m_height >= detailHeight ? Mode::quotedText : Mode::textSymbol;
}

QString MediaThumbnail::quotedText() const { return u'\u201C' + m_post.text + u'\u201D'; }

std::optional<QString> MediaThumbnail::lengthText(std::int64_t ownPage) const
{
    if (!(m_height >= detailHeight) || m_copy.asDownloading())
        return std::nullopt;
    const std::optional<std::size_t> index = attachmentIndex(ownPage);
    if (!index)
        return std::nullopt;
    const Attachment::Video *video = m_post.attachments.at(*index).asVideo();
    if (!video)
        return std::nullopt;
    return Formatting::duration(video->length);
}

std::optional<QString> MediaThumbnail::pageCounterText(std::int64_t ownPage) const
{
    if (!(m_height >= detailHeight) || m_post.attachments.size() < 2)
        return std::nullopt;
    return QString::number(currentPage(ownPage) + 1) + u'/' + QString::number(qulonglong(m_post.attachments.size()));
}

MediaThumbnail::CopyMark MediaThumbnail::copyMark() const
{
    CopyMark mark;
    if (!(m_height >= detailHeight))
        return mark;
    if (const auto *running = m_copy.asDownloading()) {
        mark.kind = CopyMark::Kind::progress;
        const double fraction = running->of == 0 ? 1.0 : double(running->received) / double(running->of);
        const int percent = running->of == 0 ? 100 : ControlPainting::wholePercent(fraction);
        mark.fraction = fraction;
        mark.text = StashwellUIStrings::mediaDownloading(percent, Formatting::bytes(running->of));
        mark.accessibleText = StashwellUIStrings::mediaBytesProgress(running->received, running->of);
    } else if (m_copy.asOnThisMac()) {
        mark.kind = CopyMark::Kind::onThisMac;
        mark.accessibleText = StashwellUIStrings::mediaOnThisMac();
    }
    return mark;
}

bool MediaThumbnail::showsArrows(bool hovering) const
{
    return m_pages && m_arrows && hovering && m_pictures.size() >= 2 && m_height >= detailHeight;
}

void MediaThumbnail::track(ViewState &state) const
{
    if (state.link && !(*state.link == m_post.link))
        state.page = 0;
    state.link = m_post.link;
}

bool MediaThumbnail::hasPicture(const PicturePointer &picture) const
{
    return picture && !picture->image.isNull() && picture->image.width() > 0 && picture->image.height() > 0;
}

QSizeF MediaThumbnail::fittedSize(const QSizeF &available, const PicturePointer &picture) const
{
    const double height = std::isfinite(m_height) ? std::max(0.0, m_height) : 0.0;
    if (mode() != Mode::keepShape)
        return QSizeF(std::max(0.0, available.width()), height);
    const double aspect = hasPicture(picture) ? aspectOf(picture->image) : kPlaceholderRatio;
    return fitted(aspect, QSizeF(std::max(0.0, available.width()), std::min(std::max(0.0, available.height()), height)));
}

MediaThumbnail::Layout MediaThumbnail::layout(const QRectF &rect, const ViewState &state,
                                              const PicturePointer &picture) const
{
    Layout l;
    const Mode shownMode = mode();
    const bool withPicture = hasPicture(picture) && (shownMode == Mode::keepShape || shownMode == Mode::box);
    l.frame = centred(fittedSize(rect.size(), picture), rect);

    if (withPicture) {
        const double aspect = aspectOf(picture->image);
        if (shownMode == Mode::keepShape) {
            l.image = l.frame;
        } else {
            // Fitted whole (with empty bands) or filling the box (and cut by it).
            const QSizeF box = l.frame.size();
            QSizeF size;
            if (m_fitsWhole || !(box.height() > 0)) {
                size = fitted(aspect, box);
            } else if (box.width() / box.height() > aspect) {
                size = QSizeF(box.width(), box.width() / aspect);
            } else {
                size = QSizeF(box.height() * aspect, box.height());
            }
            l.image = centred(size, l.frame);
        }
    } else {
        const double type = shownMode == Mode::textSymbol ? Tokens::Typography::body.size : m_height * 0.22;
        const double side = ControlPainting::symbolSide(std::max(0.0, type));
        if (shownMode != Mode::quotedText)
            l.symbol = centred(QSizeF(side, side), l.frame);
    }

    const QRectF inner = l.frame.adjusted(markInset, markInset, -markInset, -markInset);
    const std::int64_t own = state.page;
    if (const std::optional<QString> length = lengthText(own)) {
        const QSizeF size = MediaBadge::size(*length, QStringLiteral("play.fill"));
        l.lengthBadge = QRectF(inner.right() - size.width(), inner.bottom() - size.height(), size.width(), size.height());
    }
    if (const std::optional<QString> counter = pageCounterText(own)) {
        const QSizeF size = MediaBadge::size(*counter, QString());
        l.pageCounter = QRectF(inner.right() - size.width(), inner.top(), size.width(), size.height());
    }
    const CopyMark mark = copyMark();
    if (mark.kind == CopyMark::Kind::progress) {
        const double text = std::ceil(QFontMetricsF(Tokens::Typography::monoSmall.font()).height());
        const double height = markInset + text + progressSpacing + progressHeight + markInset;
        l.copyBadge = QRectF(inner.left(), inner.bottom() - height, std::max(0.0, inner.width()), height);
    } else if (mark.kind == CopyMark::Kind::onThisMac) {
        l.copyBadge = QRectF(inner.left(), inner.bottom() - checkSide, checkSide, checkSide);
    }
    if (showsArrows(state.hovering)) {
        const double y = l.frame.center().y() - arrowSide / 2;
        l.previous = QRectF(l.frame.left() + markInset, y, arrowSide, arrowSide);
        l.next = QRectF(l.frame.right() - markInset - arrowSide, y, arrowSide, arrowSide);
    }
    return l;
}

void MediaThumbnail::paint(QPainter &painter, const QRectF &rect, const ViewState &state,
                           const PicturePointer &picture) const
{
    const Layout l = layout(rect, state, picture);
    if (l.frame.isEmpty())
        return;
    const Mode shownMode = mode();
    const bool withPicture = hasPicture(picture) && (shownMode == Mode::keepShape || shownMode == Mode::box);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // The well behind everything but a keep-shape picture, which hugs its own frame.
    if (!(withPicture && shownMode == Mode::keepShape))
        WellStyle::well().fill(painter, l.frame, cornerRadius);

    if (withPicture)
        paintPicture(painter, l.frame, l.image, *picture);
    else if (shownMode == Mode::quotedText)
        paintQuotedText(painter, l.frame, quotedText());
    else if (!l.symbol.isEmpty())
        Symbols::paint(painter, l.symbol, glyph(state.page), Tokens::Colors::muted());

    if (l.lengthBadge)
        MediaBadge::paint(painter, *l.lengthBadge, *lengthText(state.page), QStringLiteral("play.fill"));
    if (l.pageCounter)
        MediaBadge::paint(painter, *l.pageCounter, *pageCounterText(state.page), QString());
    if (l.copyBadge) {
        const CopyMark mark = copyMark();
        if (mark.kind == CopyMark::Kind::progress) {
            ContinuousShape::fill(painter, *l.copyBadge, progressRadius, Tokens::Colors::scrim());
            const QRectF content = l.copyBadge->adjusted(markInset, markInset, -markInset, -markInset);
            const QFont font = Tokens::Typography::monoSmall.font();
            const QFontMetricsF metrics(font);
            const double textHeight = std::ceil(metrics.height());
            painter.setFont(font);
            painter.setPen(Qt::white);
            const QString shown = metrics.horizontalAdvance(mark.text) <= content.width() + 0.5
                ? mark.text
                : metrics.elidedText(mark.text, Qt::ElideRight, std::max(0.0, content.width()));
            painter.drawText(QPointF(content.left(), content.top() + metrics.ascent()), shown);
            // The track is drawn with the fraction clamped to 0...1: it never leaves the badge.
            const QRectF track(content.left(), content.top() + textHeight + progressSpacing, content.width(),
                               progressHeight);
            if (track.width() > 0)
                ProgressTrack::paint(painter, track, progressHeight, mark.fraction, Tokens::Colors::accent());
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Tokens::Colors::scrim());
            painter.drawEllipse(*l.copyBadge);
            const double side = ControlPainting::symbolSide(10);
            Symbols::paint(painter, centred(QSizeF(side, side), *l.copyBadge), QStringLiteral("checkmark"),
                           Tokens::Colors::ok());
        }
    }

    ContinuousShape::strokeInside(painter, l.frame, cornerRadius, Tokens::Colors::lineStrong(), 1);

    if (l.previous)
        paintArrow(painter, *l.previous, QStringLiteral("chevron.left"), state.pressedArrow == Hit::previous);
    if (l.next)
        paintArrow(painter, *l.next, QStringLiteral("chevron.right"), state.pressedArrow == Hit::next);
    painter.restore();
}

MediaThumbnail::Hit MediaThumbnail::hitTest(const QRectF &rect, const QPointF &point, const ViewState &state,
                                            const PicturePointer &picture) const
{
    // A point on the thumbnail has the pointer over it: the arrows count as shown.
    ViewState over = state;
    over.hovering = true;
    const Layout l = layout(rect, over, picture);
    const auto onCircle = [&point](const QRectF &circle) {
        const QPointF d = point - circle.center();
        return d.x() * d.x() + d.y() * d.y() <= (circle.width() / 2) * (circle.width() / 2);
    };
    if (l.previous && onCircle(*l.previous))
        return Hit::previous;
    if (l.next && onCircle(*l.next))
        return Hit::next;
    return l.frame.contains(point) ? Hit::body : Hit::none;
}

int MediaThumbnail::scaledCacheCount() { return int(scaledPictures().count()); }

void MediaThumbnail::clearScaledCache() { scaledPictures().clear(); }

}  // namespace sw
