#include "StashwellUI/Saves/SaveRowCache.h"

#include "StashwellUI/StashwellUIStrings.h"

#include <QPainter>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <limits>

namespace sw {

bool SaveRowCache::Look::sameAs(const Look &other) const
{
    const MediaThumbnail::ViewState &a = state.thumbnail;
    const MediaThumbnail::ViewState &b = other.state.thumbnail;
    return picture == other.picture && size == other.size && ratio == other.ratio && appearance == other.appearance
           && surface == other.surface && language == other.language && state.hoveredPart == other.state.hoveredPart
           && state.pressedPart == other.state.pressedPart && a.page == b.page && a.hovering == b.hovering
           && row == other.row;
}

SaveRowCache::SaveRowCache(std::int64_t budget)
    : m_images(int(std::clamp<std::int64_t>(budget >> 10, 1, std::numeric_limits<int>::max())))
{
}

SaveRowCache::Look SaveRowCache::lookOf(const QSizeF &size, qreal ratio, const SaveRow &row,
                                        const SaveRow::ViewState &state, const PicturePointer &picture) const
{
    return Look{row, state, picture, size, ratio, Theme::currentAppearance(), Theme::currentSurface(),
                StashwellUIStrings::table().language()};
}

SaveRowCache::Entry *SaveRowCache::entry(Look look)
{
    const Save::ID &id = look.row.item().save().id();
    Entry *kept = m_images.object(id);
    if (kept && kept->look.sameAs(look))
        return kept;
    const QSize pixels(int(std::ceil(look.size.width() * look.ratio)), int(std::ceil(look.size.height() * look.ratio)));
    if (pixels.isEmpty())
        return nullptr;
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(look.ratio);
    image.fill(Qt::transparent);
    {
        QPainter onImage(&image);
        look.row.paint(onImage, QRectF(QPointF(0, 0), look.size), look.state, look.picture);
    }
    ++m_renders;
    const int cost = int(std::max<qint64>(1, image.sizeInBytes() >> 10));
    auto *made = new Entry{std::move(look), std::move(image)};
    if (!m_images.insert(id, made, cost))
        return nullptr;   // larger than the whole budget: QCache has deleted it
    return made;
}

void SaveRowCache::paint(QPainter &painter, const QRectF &rect, const SaveRow &row, const SaveRow::ViewState &state,
                         const PicturePointer &picture)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    Entry *kept = entry(lookOf(rect.size(), ratio, row, state, picture));
    if (!kept) {
        row.paint(painter, rect, state, picture);
        return;
    }
    painter.drawImage(rect.topLeft(), kept->image);
}

bool SaveRowCache::prepare(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                           const PicturePointer &picture)
{
    const int before = m_renders;
    entry(lookOf(size, ratio, row, state, picture));
    return m_renders != before;
}

}  // namespace sw
