#include "StashwellUI/detail/ShelfPainting.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/SaveCardCache.h"
#include "StashwellUI/Saves/SaveRowCache.h"
#include "StashwellUI/Shelf/ShelfCollection.h"
#include "StashwellUI/Shelf/ShelfPictures.h"

#include <QPainter>

#include <algorithm>

namespace sw::detail {

namespace {

// Calls `each(rect, painter, picture, avatar)` for each card of `range` of a grid block, in order,
// until it returns false. Whether it never did.
template <typename Each>
bool eachCard(const ShelfPaint &paint, qsizetype block, const ItemGeometry::Range &range, Each &&each)
{
    for (qsizetype i = range.first; i < range.last; ++i) {
        ShelfPainter &built = paint.painterAt(block, i);
        const QRectF cell = paint.geometry.itemRect(block, i);
        const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
        const PicturePointer picture = paint.pictures.picture(built.card->pictureKey(built.cardState));
        const PicturePointer avatar = paint.pictures.picture(built.card->avatarKey());
        if (!each(rect, built, picture, avatar))
            return false;
    }
    return true;
}

}  // namespace

int ShelfPaint::collection(QPainter &painter, const ShelfCollection &c, qsizetype block, const ItemGeometry::Range &range,
                          const QRectF &band) const
{
    int painted = 0;
    const QRectF blockRect = geometry.blockRect(block);
    if (c.layout == ShelfLayout::grid) {
        eachCard(*this, block, range, [&](const QRectF &rect, ShelfPainter &built, const PicturePointer &picture,
                                          const PicturePointer &avatar) {
            cardImages.paint(painter, rect, *built.card, built.cardState, picture, avatar);
            ++painted;
            return true;
        });
        return painted;
    }

    // The list on its pane: only the part of the pane in the band is painted, its rounded corners
    // where they fall in it.
    if (blockRect.height() <= 0)
        return painted;
    const PaneSurface pane{Tokens::Colors::card(), Tokens::Colors::lineStrong(), 1, ShelfCollection::paneRadius};
    QRectF paneRect = blockRect;
    // A pane millions of points tall is cut to what shows, with the cut edges beyond the band.
    if (blockRect.top() < band.top() - 2 * pane.radius)
        paneRect.setTop(band.top() - 2 * pane.radius);
    if (blockRect.bottom() > band.bottom() + 2 * pane.radius)
        paneRect.setBottom(band.bottom() + 2 * pane.radius);
    painter.save();
    painter.setClipRect(band.intersected(blockRect.adjusted(-1, -1, 1, 1)));
    pane.paintBehind(painter, paneRect);
    painter.setClipPath(ContinuousShape::rect(paneRect, pane.radius), Qt::IntersectClip);
    const QColor divider = Tokens::Colors::line();
    for (qsizetype i = range.first; i < range.last; ++i) {
        ShelfPainter &built = painterAt(block, i);
        const QRectF cell = geometry.itemRect(block, i);
        const PicturePointer picture = pictures.picture(built.row->pictureKey(built.rowState));
        rowImages.paint(painter, cell, *built.row, built.rowState, picture);
        if (i + 1 < c.items.size())
            painter.fillRect(QRectF(cell.left(), cell.bottom(), cell.width(), ShelfCollection::listDivider), divider);
        ++painted;
    }
    painter.restore();
    painter.save();
    painter.setClipRect(band.intersected(blockRect.adjusted(-1, -1, 1, 1)));
    pane.paintOver(painter, paneRect);
    painter.restore();
    return painted;
}

std::optional<int> ShelfPaint::listCollection(DrawList &list, const QPainter &painter, const ShelfCollection &c,
                                              qsizetype block, const ItemGeometry::Range &range) const
{
    if (c.layout != ShelfLayout::grid)
        return std::nullopt;
    int listed = 0;
    const bool whole = eachCard(*this, block, range, [&](const QRectF &rect, ShelfPainter &built,
                                                         const PicturePointer &picture, const PicturePointer &avatar) {
        ++listed;
        return cardImages.list(list, painter, rect, *built.card, built.cardState, picture, avatar);
    });
    return whole ? std::optional(listed) : std::nullopt;
}

QRegion ShelfPaint::opaque(const ShelfCollection &c, qsizetype block, const ItemGeometry::Range &range,
                           const QRectF &band) const
{
    QRegion covered;
    if (c.layout == ShelfLayout::grid) {
        for (qsizetype i = range.first; i < range.last; ++i) {
            ShelfPainter &built = painterAt(block, i);
            const QRectF cell = geometry.itemRect(block, i);
            const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
            covered += ContinuousShape::inside(built.card->layout(rect, built.cardState).card, SaveCard::radius);
        }
    } else if (const QRectF blockRect = geometry.blockRect(block); blockRect.height() > 0) {
        // The pane, cut as collection() cuts it; its cut edges lie beyond the band.
        QRectF paneRect = blockRect;
        paneRect.setTop(std::max(paneRect.top(), band.top() - 2 * ShelfCollection::paneRadius));
        paneRect.setBottom(std::min(paneRect.bottom(), band.bottom() + 2 * ShelfCollection::paneRadius));
        covered = ContinuousShape::inside(paneRect, ShelfCollection::paneRadius);
    }
    return covered & band.toAlignedRect();
}

namespace {

constexpr double aheadShare = 0.25;

}  // namespace

bool ShelfPaint::ahead(const std::vector<ShelfBlockState> &states, double top, double bottom, qreal ratio,
                       const std::function<bool()> &outOfTime) const
{
    struct Waiting {
        double distance;
        qsizetype block;
        Save::ID id;
    };
    std::vector<Waiting> waiting;
    for (qsizetype b = 0; b < qsizetype(states.size()); ++b) {
        const ShelfCollection *c = collectionAt(b);
        for (auto it = states[std::size_t(b)].built.cbegin(); it != states[std::size_t(b)].built.cend(); ++it) {
            if (!standsAt(c, it.key(), it->index))
                continue;
            const QRectF cell = geometry.itemRect(b, it->index);
            const double distance = cell.bottom() < top ? top - cell.bottom() : (cell.top() > bottom ? cell.top() - bottom : 0);
            waiting.push_back(Waiting{distance, b, it.key()});
        }
    }
    std::sort(waiting.begin(), waiting.end(), [](const Waiting &a, const Waiting &b) { return a.distance < b.distance; });
    // Images out of view never push the ones on screen out of a cache: the nearest first, and no
    // further once the images of the items kept would fill a quarter of it (two screens' worth;
    // older images go first when room is needed, and the rest keeps what was shown lately).
    double plannedCards = 0;
    double plannedRows = 0;
    for (const Waiting &w : waiting) {
        qsizetype index = 0;
        ShelfPainter *built = keptFor(ShelfItemRef{w.block, w.id}, &index);
        if (!built)
            continue;
        const QRectF cell = geometry.itemRect(w.block, index);
        if (built->card) {
            const QSizeF size(cell.width(), built->card->height());
            plannedCards += size.width() * ratio * (size.height() + SaveCard::hoverLift) * ratio * 4;
            if (w.distance > 0 && plannedCards > aheadShare * double(cardImages.budgetBytes()))
                continue;
            const PicturePointer picture = pictures.picture(built->card->pictureKey(built->cardState));
            const PicturePointer avatar = pictures.picture(built->card->avatarKey());
            cardImages.prepare(size, ratio, *built->card, built->cardState, picture, avatar);
        } else if (built->row) {
            plannedRows += cell.width() * ratio * cell.height() * ratio * 4;
            if (w.distance > 0 && plannedRows > aheadShare * double(rowImages.budgetBytes()))
                continue;
            const PicturePointer picture = pictures.picture(built->row->pictureKey(built->rowState));
            rowImages.prepare(cell.size(), ratio, *built->row, built->rowState, picture);
        }
        if (outOfTime())
            return false;
    }
    return true;
}


}  // namespace sw::detail
