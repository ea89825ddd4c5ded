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

void SaveCardCache::paint(QPainter &painter, const QRectF &rect, const SaveCard &card, const SaveCard::ViewState &state,
                          const PicturePointer &picture, const PicturePointer &avatar)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    Look look{card,
              state,
              card.thumbnail().currentPage(state.thumbnail.page),
              picture,
              avatar,
              rect.size(),
              ratio,
              Theme::currentAppearance(),
              Theme::currentSurface(),
              StashwellUIStrings::table().language()};
    const Save::ID &id = card.item().save().id();
    const QSizeF area(rect.width(), rect.height() + kLiftRoom);
    const QPointF origin(rect.left(), rect.top() - kLiftRoom);

    Entry *entry = m_images.object(id);
    if (!entry || !entry->look.sameAs(look)) {
        const QSize pixels(int(std::ceil(area.width() * ratio)), int(std::ceil(area.height() * ratio)));
        if (pixels.isEmpty())
            return;
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter onImage(&image);
            card.paint(onImage, QRectF(QPointF(0, kLiftRoom), rect.size()), state, picture, avatar);
        }
        ++m_renders;
        const int cost = int(std::max<qint64>(1, image.sizeInBytes() >> 10));
        entry = new Entry{std::move(look), std::move(image)};
        if (!m_images.insert(id, entry, cost)) {
            // Larger than the whole budget: paint it directly, keep nothing.
            card.paint(painter, rect, state, picture, avatar);
            return;
        }
    }
    painter.drawImage(origin, entry->image);
}

}  // namespace sw
