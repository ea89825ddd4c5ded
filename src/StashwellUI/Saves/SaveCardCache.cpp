#include "StashwellUI/Saves/SaveCardCache.h"

#include "StashwellUI/Pictures/DrawList.h"

#include <QPainter>
#include <QPaintDevice>

#include <cmath>
#include <utility>

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

bool SaveCardLook::sameAs(const SaveCardLook &other) const
{
    return page == other.page && picture == other.picture && avatar == other.avatar && around == other.around &&
           sameState(state, other.state) && card.sameBody(other.card);
}

SaveCardLook SaveCardCache::lookOf(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                                   const PicturePointer &picture, const PicturePointer &avatar)
{
    // The image is the card at rest: a hover only lifts it and tints its border, both drawn over
    // the kept image, so the frames of a hover paint nothing anew.
    return SaveCardLook{card, card.bodyState(state), card.thumbnail().currentPage(state.thumbnail.page), picture, avatar,
                        PaintedSurroundings::now(size, ratio)};
}

const QImage *SaveCardCache::image(SaveCardLook look)
{
    const Save::ID id = look.card.item().save().id();
    const QSizeF area(look.around.size.width(), look.around.size.height() + kLiftRoom);
    const qreal ratio = look.around.ratio;
    return m_images.image(id, std::move(look), area, ratio, [](QPainter &onImage, const SaveCardLook &kept) {
        kept.card.paintBody(onImage, QRectF(QPointF(0, kLiftRoom), kept.around.size), kept.state, kept.picture, kept.avatar);
    });
}

SaveCardCache::Placed SaveCardCache::place(qreal ratio, const QRectF &rect, const SaveCard &card,
                                           const SaveCard::ViewState &state, const PicturePointer &picture,
                                           const PicturePointer &avatar)
{
    const QImage *kept = image(lookOf(rect.size(), ratio, card, state, picture, avatar));
    if (!kept)
        return {};
    // The lift in whole device pixels, as the border is placed, so that the two stay together.
    const double lifted = card.layout(rect, state).card.top() - rect.top();
    const double lift = std::round(lifted * ratio) / ratio;
    // The image is copied onto whole device pixels (the engine rounds an unscaled copy's place);
    // the border goes onto the same ones, so that the two meet exactly and the border's kept
    // bitmap is the same for every card of its size.
    const QPointF at(rect.left(), rect.top() - kLiftRoom + lift);
    const QPointF onPixels(std::round(at.x() * ratio) / ratio, std::round(at.y() * ratio) / ratio);
    return Placed{kept, onPixels, rect.translated(onPixels - at + QPointF(0, lift - lifted))};
}

void SaveCardCache::paint(QPainter &painter, const QRectF &rect, const SaveCard &card, const SaveCard::ViewState &state,
                          const PicturePointer &picture, const PicturePointer &avatar)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const Placed placed = place(ratio, rect, card, state, picture, avatar);
    if (!placed.kept) {
        card.paint(painter, rect, state, picture, avatar);
        return;
    }
    painter.drawImage(placed.at, *placed.kept);
    card.paintBorder(painter, placed.border, state);
}

bool SaveCardCache::list(DrawList &list, const QPainter &painter, const QRectF &rect, const SaveCard &card,
                         const SaveCard::ViewState &state, const PicturePointer &picture, const PicturePointer &avatar)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const Placed placed = place(ratio, rect, card, state, picture, avatar);
    if (!placed.kept)
        return false;
    list.setWorldTransform(painter.worldTransform());
    list.drawImage(placed.at, *placed.kept);
    return card.listBorder(list, painter, placed.border, state);
}

bool SaveCardCache::prepare(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                            const PicturePointer &picture, const PicturePointer &avatar)
{
    return paintsAnew([&] { image(lookOf(size, ratio, card, state, picture, avatar)); });
}

bool SaveCardCache::holds(const QSizeF &size, qreal ratio, const SaveCard &card, const SaveCard::ViewState &state,
                          const PicturePointer &picture, const PicturePointer &avatar) const
{
    return m_images.holds(card.item().save().id(), lookOf(size, ratio, card, state, picture, avatar),
                          QSizeF(size.width(), size.height() + kLiftRoom), ratio);
}

}  // namespace sw
