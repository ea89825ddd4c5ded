#include "StashwellUI/detail/ShelfInput.h"

#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Shelf/ShelfPictures.h"
#include "StashwellUI/Shelf/ShelfSurface.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QVariantAnimation>

namespace sw::detail {

ShelfInput::ShelfInput(ShelfSurface &surface) : m_surface(surface) {}

ShelfInput::~ShelfInput()
{
    for (QVariantAnimation *animation : std::as_const(m_hoverAnimations)) {
        if (animation)
            animation->stop();
    }
}

std::array<ShelfItemRef, 3> ShelfInput::heldItems() const
{
    return {m_hovered, m_parts.pressed().item(), m_pressItem};
}

void ShelfInput::setHoveredItem(const ShelfItemRef &pointer)
{
    if (pointer.block == m_hovered.block && pointer.id == m_hovered.id)
        return;
    qsizetype index = 0;
    if (ShelfPainter *before = m_surface.builtFor(m_hovered, &index)) {
        before->cardState.hovered = false;
        before->cardState.thumbnail.hovering = false;
        before->rowState.thumbnail.hovering = false;
        if (before->card)
            animateHover(m_hovered.id, m_hovered.block, false);
        m_surface.invalidateItem(m_hovered.block, index);
    }
    m_hovered = pointer;
    if (ShelfPainter *after = m_surface.builtFor(m_hovered, &index)) {
        after->cardState.hovered = true;
        if (after->card)
            animateHover(m_hovered.id, m_hovered.block, true);
        m_surface.invalidateItem(m_hovered.block, index);
    }
    m_surface.announceHover();
}

void ShelfInput::animateHover(const Save::ID &id, qsizetype block, bool in)
{
    const Tokens::Animation &quick = Tokens::Motion::quick();
    ShelfSurface *surface = &m_surface;
    auto set = [surface, id, block](double value) {
        ShelfItemRef p{block, id};
        qsizetype index = 0;
        if (ShelfPainter *built = surface->builtFor(p, &index)) {
            built->cardState.hover = value;
            surface->invalidateItem(block, index);
        }
    };
    if (quick.isInstant()) {
        if (QVariantAnimation *running = m_hoverAnimations.take(id)) {
            running->stop();
            running->deleteLater();
        }
        set(in ? 1 : 0);
        return;
    }
    QVariantAnimation *&animation = m_hoverAnimations[id];
    double from = in ? 0 : 1;
    if (ShelfPainter *built = m_surface.builtFor(ShelfItemRef{block, id}))
        from = built->cardState.hover;
    if (!animation) {
        animation = new QVariantAnimation(surface);
        QObject::connect(animation, &QVariantAnimation::valueChanged, surface, [set](const QVariant &value) { set(value.toDouble()); });
        QObject::connect(animation, &QVariantAnimation::finished, surface, [this, id, animation] {
            if (m_hoverAnimations.value(id) == animation) {
                m_hoverAnimations.remove(id);
                animation->deleteLater();
            }
        });
    }
    animation->stop();
    quick.applyTo(*animation);
    animation->setStartValue(from);
    animation->setEndValue(in ? 1.0 : 0.0);
    animation->start();
}

void ShelfInput::left()
{
    m_pointer.reset();
    const ShelfItemPart before = m_parts.hovered();
    m_parts.leave();
    sync(before.item());
    setHoveredItem(ShelfItemRef{});
}

ShelfItemPart ShelfInput::partAt(const QPointF &point)
{
    const auto hit = m_surface.itemAt(point);
    const ShelfItem *shown = hit ? m_surface.item(hit->block, hit->index) : nullptr;
    if (!shown)
        return ShelfItemPart{};
    ShelfPainter &built = m_surface.ensureBuilt(hit->block, hit->index);
    const QRectF cell = m_surface.itemRect(hit->block, hit->index);
    ShelfItemPart part;
    if (built.card) {
        const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
        const PicturePointer picture = m_surface.pictures().picture(built.card->pictureKey(built.cardState));
        part.card = built.card->hitTest(rect, point, built.cardState, picture);
    } else if (built.row) {
        part.row = built.row->hitTest(cell, point);
    }
    if (part.card == SaveCard::Part::none && part.row == SaveRow::Part::none)
        return ShelfItemPart{};
    part.block = hit->block;
    part.id = shown->save().id();
    return part;
}

void ShelfInput::sync(const ShelfItemRef &target)
{
    qsizetype index = 0;
    ShelfPainter *built = m_surface.builtFor(target, &index);
    if (!built)
        return;
    const auto on = [&target](const ShelfItemPart &part) { return part.block == target.block && part.id == target.id; };
    const ShelfItemPart hovered = on(m_parts.hovered()) ? m_parts.hovered() : ShelfItemPart{};
    // A part keeps its pressed look until the press ends, wherever the pointer goes.
    const ShelfItemPart pressed = on(m_parts.pressed()) ? m_parts.pressed() : ShelfItemPart{};
    bool changed = false;
    if (built->card) {
        SaveCard::ViewState &state = built->cardState;
        changed = showArrows(state.thumbnail, SaveCard::thumbnailHit(hovered.card), SaveCard::thumbnailHit(pressed.card));
        if (state.hoveredPart != hovered.card || state.pressedPart != pressed.card) {
            state.hoveredPart = hovered.card;
            state.pressedPart = pressed.card;
            changed = true;
        }
    } else if (built->row) {
        SaveRow::ViewState &state = built->rowState;
        if (state.hoveredPart != hovered.row || state.pressedPart != pressed.row) {
            state.hoveredPart = hovered.row;
            state.pressedPart = pressed.row;
            changed = true;
        }
    }
    if (changed)
        m_surface.invalidateItem(target.block, index);
}

void ShelfInput::contentMoved()
{
    if (m_pointer && m_hovered.isSet())
        moved(*m_pointer);
}

void ShelfInput::moved(const QPointF &point)
{
    m_pointer = point;
    const auto hit = m_surface.itemAt(point);
    const ShelfItem *shown = hit ? m_surface.item(hit->block, hit->index) : nullptr;
    setHoveredItem(shown ? ShelfItemRef{hit->block, shown->save().id()} : ShelfItemRef{});

    const ShelfItemPart before = m_parts.hovered();
    const ShelfItemPart part = partAt(point);
    m_parts.hover(part);
    m_parts.drag(part);
    sync(before.item());
    sync(part.item());

    // The thumbnail of a card follows the pointer for its arrows.
    if (shown) {
        ShelfPainter &built = m_surface.ensureBuilt(hit->block, hit->index);
        if (built.card) {
            const QRectF cell = m_surface.itemRect(hit->block, hit->index);
            const QRectF rect(cell.topLeft(), QSizeF(cell.width(), built.card->height()));
            const bool overThumbnail = built.card->layout(rect, built.cardState).thumbnail.contains(point);
            if (overThumbnail != built.cardState.thumbnail.hovering) {
                built.cardState.thumbnail.hovering = overThumbnail;
                m_surface.invalidateItem(hit->block, hit->index);
            }
        }
    }
}

bool ShelfInput::press(const QPointF &point)
{
    const auto hit = m_surface.itemAt(point);
    const ShelfItem *shown = hit ? m_surface.item(hit->block, hit->index) : nullptr;
    m_pressPoint = point;
    m_pointer = point;
    m_pressItem = shown ? ShelfItemRef{hit->block, shown->save().id()} : ShelfItemRef{};
    const ShelfItemPart part = partAt(point);
    m_parts.press(part);
    sync(part.item());
    return shown != nullptr;
}

bool ShelfInput::dragStarts(const QPointF &point, Qt::MouseButtons buttons) const
{
    return m_pressItem.isSet() && (buttons & Qt::LeftButton)
           && (point - m_pressPoint).manhattanLength() >= QApplication::startDragDistance();
}

void ShelfInput::drag()
{
    const ShelfItemRef dragged = m_pressItem;
    m_pressItem = ShelfItemRef{};
    // The press ends without a click.
    const ShelfItemPart pressed = m_parts.pressed();
    m_parts.release(ShelfItemPart{});
    sync(pressed.item());
    qsizetype index = 0;
    if (!m_surface.builtFor(dragged, &index))
        return;
    QMimeData *data = m_surface.dragData(dragged.block, index);
    if (!data)
        return;
    auto *drag = new QDrag(&m_surface);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}

ShelfItemPart ShelfInput::release(const QPointF &point)
{
    m_pressItem = ShelfItemRef{};
    m_pointer = point;
    const ShelfItemPart clicked = m_parts.release(partAt(point));
    sync(clicked.item());
    return clicked;
}

bool ShelfInput::key(QKeyEvent *event)
{
    if (m_surface.m_keyHandler) {
        QPointer<ShelfSurface> alive(&m_surface);
        const bool taken = m_surface.m_keyHandler(event);
        if (!alive)
            return true;
        if (taken) {
            event->accept();
            return true;
        }
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Arrows move the selection, which is the page's; they never scroll by themselves.
        event->ignore();
        return true;
    default:
        return false;
    }
}

bool ShelfInput::settle(const std::function<bool(qsizetype block, const Save::ID &id)> &stays)
{
    bool hoverGone = false;
    if (m_hovered.isSet() && !stays(m_hovered.block, m_hovered.id)) {
        if (QVariantAnimation *animation = m_hoverAnimations.take(m_hovered.id)) {
            animation->stop();
            animation->deleteLater();
        }
        m_hovered = ShelfItemRef{};
        hoverGone = true;
    }
    if (m_pressItem.isSet() && !stays(m_pressItem.block, m_pressItem.id))
        m_pressItem = ShelfItemRef{};
    if (const ShelfItemPart part = m_parts.hovered(); part.block >= 0 && !stays(part.block, part.id))
        m_parts.leave();
    if (const ShelfItemPart part = m_parts.pressed(); part.block >= 0 && !stays(part.block, part.id))
        m_parts.release(ShelfItemPart{});
    return hoverGone;
}

}  // namespace sw::detail
