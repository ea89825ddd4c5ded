#pragma once

// Painted cards kept as images, for a shelf that scrolls: a card whose look has not changed since
// it was last painted is drawn from its image, and only the cards that came into view or changed
// are painted anew. Its look is everything painting the card's body reads: the item and the whole
// minute, its view state but for the hover, the page on show, the pictures in hand, the size, the
// pixel density, the theme and the language of the texts. The border, which the selection and the
// hover tint, and the hover's lift are drawn over the kept image on every paint.
//
// Kept by save; the images take at most `budget` bytes, the ones least recently drawn going first.

#include "StashwellUI/Saves/PaintedSaveCache.h"
#include "StashwellUI/Saves/SaveCard.h"

#include <cstdint>

namespace sw {

class DrawList;

// Everything painting a card reads.
struct SaveCardLook {
    SaveCard card;
    SaveCard::ViewState state;
    std::int64_t page = 0;
    PicturePointer picture;
    PicturePointer avatar;
    PaintedSurroundings around;

    bool sameAs(const SaveCardLook &other) const;
};

// 64 MiB by default: about 170 cards of 280 by 340 points, or 40 at twice the pixel density.
class SaveCardCache : public PaintedSaveCache<SaveCardLook, std::int64_t(64) << 20> {
public:
    using PaintedSaveCache::PaintedSaveCache;

    // Paints the card into `rect` as SaveCard::paint() does (the hover lift may reach a point
    // above `rect`), from its image when its look is unchanged.
    void paint(QPainter &painter, const QRectF &rect, const SaveCard &card, const SaveCard::ViewState &state,
               const PicturePointer &picture, const PicturePointer &avatar);

    // What paint() copies, listed in `list` (to be carried out later) as `painter` would draw it:
    // the kept image (made now when there is none) and the border's kept pieces. False where
    // paint() would draw something anew instead (a card too large to keep); `list` may then hold
    // part of the card.
    bool list(DrawList &list, const QPainter &painter, const QRectF &rect, const SaveCard &card,
              const SaveCard::ViewState &state, const PicturePointer &picture, const PicturePointer &avatar);

    // Paints the card's image ahead of time, as paint() would for a rectangle of `size` on a device
    // of `ratio`, without drawing it anywhere: a shelf prepares the cards just out of view while it
    // is idle. Returns whether an image was painted (false when one with that look is kept).
    bool prepare(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                 const PicturePointer &picture, const PicturePointer &avatar);
    // Whether an image with that look is kept.
    bool holds(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
               const PicturePointer &picture, const PicturePointer &avatar) const;

private:
    // Where paint() copies the kept image, and the rectangle its border is drawn around.
    struct Placed {
        const QImage *kept = nullptr;
        QPointF at;
        QRectF border;
    };
    Placed place(qreal ratio, const QRectF &rect, const SaveCard &card, const SaveCard::ViewState &state,
                 const PicturePointer &picture, const PicturePointer &avatar);
    static SaveCardLook lookOf(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                               const PicturePointer &picture, const PicturePointer &avatar);
    // The kept image with that look, painted anew when there is none; null when the image would
    // be larger than the whole budget (nothing is kept then).
    const QImage *image(SaveCardLook look);
};

}  // namespace sw
