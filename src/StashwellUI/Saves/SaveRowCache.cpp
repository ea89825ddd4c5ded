#include "StashwellUI/Saves/SaveRowCache.h"

#include <QPainter>
#include <QPaintDevice>

#include <utility>

namespace sw {

bool SaveRowLook::sameAs(const SaveRowLook &other) const
{
    const MediaThumbnail::ViewState &a = state.thumbnail;
    const MediaThumbnail::ViewState &b = other.state.thumbnail;
    return picture == other.picture && around == other.around && state.hoveredPart == other.state.hoveredPart
           && state.pressedPart == other.state.pressedPart && a.page == b.page && a.hovering == b.hovering
           && row == other.row;
}

SaveRowLook SaveRowCache::lookOf(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                                 const PicturePointer &picture)
{
    return SaveRowLook{row, state, picture, PaintedSurroundings::now(size, ratio)};
}

const QImage *SaveRowCache::image(SaveRowLook look)
{
    const Save::ID id = look.row.item().save().id();
    const QSizeF area = look.around.size;
    const qreal ratio = look.around.ratio;
    return m_images.image(id, std::move(look), area, ratio, [](QPainter &onImage, const SaveRowLook &kept) {
        kept.row.paint(onImage, QRectF(QPointF(0, 0), kept.around.size), kept.state, kept.picture);
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
    return paintsAnew([&] { image(lookOf(size, ratio, row, state, picture)); });
}

}  // namespace sw
