#include "StashwellUI/Saves/MediaThumbnail.h"

#include "StashwellUI/Pictures/ImagePart.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Controls/MediaBadge.h"
#include "StashwellUI/Pictures/PaintMemo.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/TextLines.h"

#include <QHash>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

constexpr double kPlaceholderRatio = 16.0 / 9.0;

QString colourKey(const QColor &color) { return QString::number(color.rgba(), 16); }

// A badge's size, measured once per text: the marks are laid out on every paint.
QSizeF badgeSize(const QString &text, const QString &symbol)
{
    static QHash<QString, QSizeF> sizes;
    const QString key = symbol + u'|' + text;
    if (const auto found = sizes.constFind(key); found != sizes.cend())
        return *found;
    if (sizes.size() >= 512)
        sizes.clear();
    return *sizes.insert(key, MediaBadge::size(text, symbol));
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

// The picture in its frame: scaled once to its size in device pixels, smoothly, cut to the frame's
// rounded outline, over the well where it leaves bands (`well` invalid: none), with the border.
void paintPictureFrame(QPainter &painter, const QRectF &frame, const QRectF &imageRect, const Picture &picture,
                       const QColor &well, const QColor &border)
{
    const QRectF visible = imageRect.intersected(frame);
    const QRectF local = visible.translated(-frame.topLeft());
    const auto key = [&] {
        return QStringLiteral("thumbnail.picture|%1|%2|%3,%4,%5,%6|")
                   .arg(well.isValid() ? colourKey(well) : QStringLiteral("-"), colourKey(border))
                   .arg(local.x(), 0, 'f', 2)
                   .arg(local.y(), 0, 'f', 2)
                   .arg(local.width(), 0, 'f', 2)
                   .arg(local.height(), 0, 'f', 2) +
               picture.key.keyString();
    };
    PaintMemo::drawOwn(painter, frame, key, [&](QPainter &p, const QRectF &area) {
        if (well.isValid())
            ContinuousShape::fill(p, area, MediaThumbnail::cornerRadius, well);
        if (!local.isEmpty()) {
            const QImage &image = picture.image;
            // The part of the picture that falls within the frame, scaled in one smooth step so
            // that the 6x picture does not shimmer at the small size.
            const double sx = image.width() / imageRect.width();
            const double sy = image.height() / imageRect.height();
            const QRect source = QRectF((visible.left() - imageRect.left()) * sx, (visible.top() - imageRect.top()) * sy,
                                        visible.width() * sx, visible.height() * sy)
                                     .toAlignedRect()
                                     .intersected(image.rect());
            const qreal scale = p.deviceTransform().m11() > 0 ? p.deviceTransform().m11() : 1.0;
            const QImage part = imagePart(image, source).scaled(QSize(std::max(1, int(std::ceil(local.width() * scale))),
                                                                std::max(1, int(std::ceil(local.height() * scale)))),
                                                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.save();
            p.setClipPath(ContinuousShape::rect(area, MediaThumbnail::cornerRadius), Qt::IntersectClip);
            p.drawImage(local, part);
            p.restore();
        }
        ContinuousShape::strokeInside(p, area, MediaThumbnail::cornerRadius, border, 1);
    });
}

// A text post's words in the box `frame`: wrapped, from the top-left corner inside the padding,
// cut by the box where they run on. Of a long post only the start that fills the box is laid out.
void paintQuotedText(QPainter &painter, const QRectF &frame, const QString &text, const QColor &ink)
{
    const QFont font = Tokens::Typography::reading.font();
    const QRectF area = frame.adjusted(MediaThumbnail::textInset, MediaThumbnail::textInset, -MediaThumbnail::textInset,
                                       -MediaThumbnail::textInset);
    if (area.width() <= 0)
        return;
    const TextLines::InBox box =
        TextLines::inBox(text, font, area.width(), frame.bottom() - area.top(), MediaThumbnail::textLineSpacing);
    painter.save();
    painter.setClipRect(frame, Qt::IntersectClip);
    painter.setPen(ink);
    for (int i = 0; i < box.lines; ++i)
        box.layout->lineAt(i).draw(&painter, area.topLeft());
    painter.restore();
}

// The progress badge of a download: its text over a track, on the scrim.
void paintProgressBadge(QPainter &painter, const QRectF &badge, const QString &text, double fraction,
                        const QColor &scrim, const QColor &accent)
{
    ContinuousShape::fill(painter, badge, MediaThumbnail::progressRadius, scrim);
    const QRectF content = badge.adjusted(MediaThumbnail::markInset, MediaThumbnail::markInset,
                                          -MediaThumbnail::markInset, -MediaThumbnail::markInset);
    const QFont font = Tokens::Typography::monoSmall.font();
    const QFontMetricsF metrics(font);
    const double textHeight = std::ceil(metrics.height());
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QString shown = metrics.horizontalAdvance(text) <= content.width() + 0.5
        ? text
        : metrics.elidedText(text, Qt::ElideRight, std::max(0.0, content.width()));
    painter.drawText(QPointF(content.left(), content.top() + metrics.ascent()), shown);
    const QRectF track(content.left(), content.top() + textHeight + MediaThumbnail::progressSpacing, content.width(),
                       MediaThumbnail::progressHeight);
    if (track.width() > 0)
        ProgressTrack::paint(painter, track, MediaThumbnail::progressHeight, fraction, accent);
}

void paintBadge(QPainter &painter, const QRectF &rect, const QString &text, const QString &symbol)
{
    PaintMemo::draw(painter, rect, QStringLiteral("thumbnail.badge|") + symbol + u'|' + text,
                    [text, symbol](QPainter &p, const QRectF &area) { MediaBadge::paint(p, area, text, symbol); });
}

void paintArrow(QPainter &painter, const QRectF &circle, const QString &symbol, bool pressed)
{
    const QColor scrim = Tokens::Colors::scrim();
    painter.save();
    ControlState state;
    state.pressed = pressed;
    ControlPainting::applyPlainStyle(painter, state);
    PaintMemo::draw(painter, circle, QStringLiteral("thumbnail.arrow|") + symbol + u'|' + colourKey(scrim),
                    [symbol, scrim](QPainter &p, const QRectF &area) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(scrim);
                        p.drawEllipse(area);
                        const double side = ControlPainting::symbolSide(11);
                        Symbols::paint(p, centred(QSizeF(side, side), area), symbol, Qt::white);
                    });
    painter.restore();
}

}  // namespace

MediaThumbnail::MediaThumbnail(Post post, LocalCopy copy, double height, bool keepsShape)
    : m_post(std::move(post)), m_copy(std::move(copy)), m_height(height), m_keepsShape(keepsShape)
{
    m_copyMark = makeCopyMark();
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
    m_copyMark = makeCopyMark();
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

MediaThumbnail::CopyMark MediaThumbnail::makeCopyMark() const
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
    } else if (m_copy.asOnThisComputer()) {
        mark.kind = CopyMark::Kind::onThisComputer;
        mark.accessibleText = StashwellUIStrings::mediaOnThisComputer();
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
        const QSizeF size = badgeSize(*length, QStringLiteral("play.fill"));
        l.lengthBadge = QRectF(inner.right() - size.width(), inner.bottom() - size.height(), size.width(), size.height());
    }
    if (const std::optional<QString> counter = pageCounterText(own)) {
        const QSizeF size = badgeSize(*counter, QString());
        l.pageCounter = QRectF(inner.right() - size.width(), inner.top(), size.width(), size.height());
    }
    const CopyMark &mark = m_copyMark;
    if (mark.kind == CopyMark::Kind::progress) {
        const double text = std::ceil(QFontMetricsF(Tokens::Typography::monoSmall.font()).height());
        const double height = markInset + text + progressSpacing + progressHeight + markInset;
        l.copyBadge = QRectF(inner.left(), inner.bottom() - height, std::max(0.0, inner.width()), height);
    } else if (mark.kind == CopyMark::Kind::onThisComputer) {
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

    // Everything that looks the same from paint to paint is copied from a kept bitmap: a shelf
    // repaints the same thumbnails on every scroll frame. The border lies at the edge, clear of
    // the marks (inset by 8), so it is kept with the content under them.
    const QColor border = Tokens::Colors::lineStrong();
    if (withPicture) {
        // A keep-shape picture hugs its own frame: no well behind it.
        const QColor well = shownMode == Mode::keepShape ? QColor() : WellStyle::well().resolved();
        paintPictureFrame(painter, l.frame, l.image, *picture, well, border);
    } else {
        const QColor well = WellStyle::well().resolved();
        const QColor ink = shownMode == Mode::quotedText ? Tokens::Colors::textSecondary() : Tokens::Colors::muted();
        const QString text = shownMode == Mode::quotedText ? quotedText() : QString();
        const QString symbol = l.symbol.isEmpty() ? QString() : glyph(state.page);
        const QRectF symbolRect = l.symbol.translated(-l.frame.topLeft());
        const auto key = [&] {
            return QStringLiteral("thumbnail.placeholder|%1|%2|%3|%4|%5,%6,%7|")
                       .arg(colourKey(well), colourKey(border), colourKey(ink), symbol)
                       .arg(symbolRect.x(), 0, 'f', 2)
                       .arg(symbolRect.y(), 0, 'f', 2)
                       .arg(symbolRect.width(), 0, 'f', 2) +
                   text;
        };
        const auto paint = [&](QPainter &p, const QRectF &area) {
            ContinuousShape::fill(p, area, cornerRadius, well);
            if (!text.isEmpty())
                paintQuotedText(p, area, text, ink);
            else if (!symbol.isEmpty())
                Symbols::paint(p, symbolRect, symbol, ink);
            ContinuousShape::strokeInside(p, area, cornerRadius, border, 1);
        };
        // A post's own words are its own; a symbol is drawn alike on many cards.
        if (!text.isEmpty())
            PaintMemo::drawOwn(painter, l.frame, key, paint);
        else
            PaintMemo::draw(painter, l.frame, key(), paint);
    }

    if (l.lengthBadge)
        paintBadge(painter, *l.lengthBadge, *lengthText(state.page), QStringLiteral("play.fill"));
    if (l.pageCounter)
        paintBadge(painter, *l.pageCounter, *pageCounterText(state.page), QString());
    if (l.copyBadge) {
        const CopyMark &mark = m_copyMark;
        if (mark.kind == CopyMark::Kind::progress) {
            // The track is drawn with the fraction clamped to 0...1: it never leaves the badge.
            const double drawn = ControlPainting::drawableFraction(mark.fraction);
            const QColor scrim = Tokens::Colors::scrim();
            const QColor accent = Tokens::Colors::accent();
            const QColor track = Tokens::Colors::lineStrong();
            const QString key = QStringLiteral("thumbnail.progress|%1|%2|%3|%4|")
                                    .arg(colourKey(scrim), colourKey(accent), colourKey(track))
                                    .arg(drawn, 0, 'f', 4) +
                                mark.text;
            PaintMemo::draw(painter, *l.copyBadge, key, [mark, drawn, scrim, accent](QPainter &p, const QRectF &area) {
                paintProgressBadge(p, area, mark.text, drawn, scrim, accent);
            });
        } else {
            const QColor scrim = Tokens::Colors::scrim();
            const QColor ok = Tokens::Colors::ok();
            PaintMemo::draw(painter, *l.copyBadge,
                            QStringLiteral("thumbnail.check|") + colourKey(scrim) + u'|' + colourKey(ok),
                            [scrim, ok](QPainter &p, const QRectF &area) {
                                p.setPen(Qt::NoPen);
                                p.setBrush(scrim);
                                p.drawEllipse(area);
                                const double side = ControlPainting::symbolSide(10);
                                Symbols::paint(p, centred(QSizeF(side, side), area), QStringLiteral("checkmark"), ok);
                            });
        }
    }

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

}  // namespace sw
