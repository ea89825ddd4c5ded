#pragma once

// Painted rows kept as images, as the card cache keeps cards: a row whose look has not changed
// since it was last painted is drawn from its image. Its look is everything painting reads: the
// row (by the row's equality: item, selection and whole minute), its view state, the picture in
// hand, the size, the pixel density, the theme and the language of the texts.
//
// Kept by save; the images take at most `budget` bytes, the ones least recently drawn going first.

#include "StashwellUI/Saves/PaintedSaveCache.h"
#include "StashwellUI/Saves/SaveRow.h"

#include <cstdint>

namespace sw {

// Everything painting a row reads.
struct SaveRowLook {
    SaveRow row;
    SaveRow::ViewState state;
    PicturePointer picture;
    PaintedSurroundings around;

    bool sameAs(const SaveRowLook &other) const;
};

// 48 MiB by default: about 140 rows of 1,200 by 76 points, or 35 at twice the pixel density.
class SaveRowCache : public PaintedSaveCache<SaveRowLook, std::int64_t(48) << 20> {
public:
    using PaintedSaveCache::PaintedSaveCache;

    // Paints the row into `rect` as SaveRow::paint() does, from its image when its look is unchanged.
    void paint(QPainter &painter, const QRectF &rect, const SaveRow &row, const SaveRow::ViewState &state,
               const PicturePointer &picture);
    // Paints the row's image ahead of time for a rectangle of `size` on a device of `ratio`.
    // Returns whether an image was painted (false when one with that look is kept).
    bool prepare(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                 const PicturePointer &picture);

private:
    static SaveRowLook lookOf(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                              const PicturePointer &picture);
    const QImage *image(SaveRowLook look);
};

}  // namespace sw
