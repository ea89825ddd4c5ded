#include "StashwellUI/Saves/SaveRowCache.h"

#include "StashwellUI/StashwellUIStrings.h"

#include <QPainter>
#include <QPaintDevice>

#include <utility>

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
    : m_images(budget)
{
}

SaveRowCache::Look SaveRowCache::lookOf(const QSizeF &size, qreal ratio, const SaveRow &row,
                                        const SaveRow::ViewState &state, const PicturePointer &picture) const
{
    return Look{row, state, picture, size, ratio, Theme::currentAppearance(), Theme::currentSurface(),
                StashwellUIStrings::table().language()};
}

const QImage *SaveRowCache::image(Look look)
{
    const Save::ID id = look.row.item().save().id();
    const QSizeF area = look.size;
    const qreal ratio = look.ratio;
    return m_images.image(id, std::move(look), area, ratio, [](QPainter &onImage, const Look &kept) {
        kept.row.paint(onImage, QRectF(QPointF(0, 0), kept.size), kept.state, kept.picture);
    });
}

void SaveRowCache::paint(QPainter &painter, const QRectF &rect, const SaveRow &row, const SaveRow::ViewState &state,
                         const PicturePointer &picture)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage *kept = image(lookOf(rect.size(), ratio, row, state, picture));
    if (!kept) {
        row.paint(painter, rect, state, picture);
        return;
    }
    painter.drawImage(rect.topLeft(), *kept);
}

bool SaveRowCache::prepare(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                           const PicturePointer &picture)
{
    const int before = m_images.renders();
    image(lookOf(size, ratio, row, state, picture));
    return m_images.renders() != before;
}

}  // namespace sw
