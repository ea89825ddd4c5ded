#include "StashwellUI/Saves/SaveCardCache.h"

#include "StashwellUI/StashwellUIStrings.h"

#include <QPainter>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw {

namespace {

bool sameThumbnailState(const MediaThumbnail::ViewState &a, const MediaThumbnail::ViewState &b)
{
    return a.page == b.page && a.hovering == b.hovering && a.hoveredArrow == b.hoveredArrow &&
           a.pressedArrow == b.pressedArrow;
}

bool sameState(const SaveCard::ViewState &a, const SaveCard::ViewState &b)
{
    return a.hover == b.hover && a.hovered == b.hovered && a.hoveredPart == b.hoveredPart &&
           a.pressedPart == b.pressedPart && sameThumbnailState(a.thumbnail, b.thumbnail);
}

// The room above the card for its lift.
constexpr double kLiftRoom = SaveCard::hoverLift;

}  // namespace

bool SaveCardCache::Look::sameAs(const Look &other) const
{
    return page == other.page && picture == other.picture && avatar == other.avatar && size == other.size &&
           ratio == other.ratio && appearance == other.appearance && surface == other.surface && language == other.language &&
           sameState(state, other.state) && card == other.card;
}

SaveCardCache::SaveCardCache(std::int64_t budget)
    : m_images(int(std::clamp<std::int64_t>(budget >> 10, 1, std::numeric_limits<int>::max())))
{
}

SaveCardCache::Look SaveCardCache::lookOf(const QSizeF &size, qreal ratio, const SaveCard &card,
                                          const SaveCard::ViewState &state, const PicturePointer &picture,
                                          const PicturePointer &avatar) const
{
    return Look{card,
                state,
                card.thumbnail().currentPage(state.thumbnail.page),
                picture,
                avatar,
                size,
                ratio,
                Theme::currentAppearance(),
                Theme::currentSurface(),
                StashwellUIStrings::table().language()};
}

SaveCardCache::Entry *SaveCardCache::entry(Look look)
{
    const Save::ID &id = look.card.item().save().id();
    Entry *kept = m_images.object(id);
    if (kept && kept->look.sameAs(look))
        return kept;
    const QSizeF area(look.size.width(), look.size.height() + kLiftRoom);
    const QSize pixels(int(std::ceil(area.width() * look.ratio)), int(std::ceil(area.height() * look.ratio)));
    if (pixels.isEmpty())
        return nullptr;
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(look.ratio);
    image.fill(Qt::transparent);
    {
        QPainter onImage(&image);
        look.card.paint(onImage, QRectF(QPointF(0, kLiftRoom), look.size), look.state, look.picture, look.avatar);
    }
    ++m_renders;
    const int cost = int(std::max<qint64>(1, image.sizeInBytes() >> 10));
    auto *made = new Entry{std::move(look), std::move(image)};
    if (!m_images.insert(id, made, cost))
        return nullptr;   // larger than the whole budget: QCache has deleted it
    return made;
}

void SaveCardCache::paint(QPainter &painter, const QRectF &rect, const SaveCard &card, const SaveCard::ViewState &state,
                          const PicturePointer &picture, const PicturePointer &avatar)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    Entry *kept = entry(lookOf(rect.size(), ratio, card, state, picture, avatar));
    if (!kept) {
        card.paint(painter, rect, state, picture, avatar);
        return;
    }
    painter.drawImage(QPointF(rect.left(), rect.top() - kLiftRoom), kept->image);
}

bool SaveCardCache::prepare(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                            const PicturePointer &picture, const PicturePointer &avatar)
{
    const int before = m_renders;
    entry(lookOf(size, ratio, card, state, picture, avatar));
    return m_renders != before;
}

bool SaveCardCache::holds(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                          const PicturePointer &picture, const PicturePointer &avatar) const
{
    const Entry *kept = m_images.object(card.item().save().id());
    return kept && kept->look.sameAs(lookOf(size, ratio, card, state, picture, avatar));
}

}  // namespace sw
