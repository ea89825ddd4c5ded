#pragma once

// Painted rows kept as images, as the card cache keeps cards: a row whose look has not changed
// since it was last painted is drawn from its image. Its look is everything painting reads: the
// row (by the row's equality: item, selection and whole minute), its view state, the picture in
// hand, the size, the pixel density, the theme and the language of the texts.
//
// Kept by save; the images take at most `budget` bytes, the ones least recently drawn going first.

#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Saves/PaintedImageCache.h"
#include "StashwellUI/Saves/SaveRow.h"

#include <cstdint>

namespace sw {

class SaveRowCache {
public:
    // 48 MiB: about 140 rows of 1,200 by 76 points, or 35 at twice the pixel density.
    static constexpr std::int64_t defaultBudget = std::int64_t(48) << 20;

    explicit SaveRowCache(std::int64_t budget = defaultBudget);

    // Paints the row into `rect` as SaveRow::paint() does, from its image when its look is unchanged.
    void paint(QPainter &painter, const QRectF &rect, const SaveRow &row, const SaveRow::ViewState &state,
               const PicturePointer &picture);
    // Paints the row's image ahead of time for a rectangle of `size` on a device of `ratio`.
    // Returns whether an image was painted (false when one with that look is kept).
    bool prepare(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                 const PicturePointer &picture);

    std::int64_t budgetBytes() const { return m_images.budgetBytes(); }
    // Another budget (a shelf sizes its caches to what it shows): the images least recently
    // drawn go until the rest fit.
    void setBudgetBytes(std::int64_t bytes) { m_images.setBudget(bytes); }
    void clear() { m_images.clear(); }
    int size() const { return m_images.size(); }
    // How many times a row was painted anew (for tests and benchmarks).
    int renders() const { return m_images.renders(); }

private:
    struct Look {
        SaveRow row;
        SaveRow::ViewState state;
        PicturePointer picture;
        QSizeF size;
        qreal ratio = 1;
        Appearance appearance = Appearance::light;
        Surface surface = Surface::solid;
        QString language;

        bool sameAs(const Look &other) const;
    };

    Look lookOf(const QSizeF &size, qreal ratio, const SaveRow &row, const SaveRow::ViewState &state,
                const PicturePointer &picture) const;
    const QImage *image(Look look);

    PaintedImageCache<Look> m_images;
};

}  // namespace sw
