#include "StashwellUI/Saves/SaveCardView.h"

#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Pictures/PictureFeed.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/FollowPaging.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>

namespace sw {

SaveCardView::SaveCardView(const SaveCard &card, QWidget *parent)
    : QWidget(parent), m_card(card), m_feed(new PictureFeed(this)), m_hover(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(m_card.accessibleText());
    m_card.track(m_state);
    m_hover->setStartValue(0.0);
    m_hover->setEndValue(1.0);
    connect(m_hover, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_state.hover = value.toDouble();
        update();
    });
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

bool SaveCardView::setCard(const SaveCard &card)
{
    if (card == m_card)
        return false;
    const bool heightChanged = card.height() != m_card.height();
    m_card = card;
    m_card.setPaging(m_paging);
    m_card.track(m_state);
    setAccessibleName(m_card.accessibleText());
    if (heightChanged)
        updateGeometry();
    update();
    return true;
}

QSize SaveCardView::sizeHint() const
{
    return QSize(int(defaultWidth), int(std::ceil(m_card.height() + SaveCard::hoverLift)));
}

QSize SaveCardView::minimumSizeHint() const
{
    return QSize(int(2 * SaveCard::actionPadding + SaveCard::trashSize + 80), sizeHint().height());
}

QRectF SaveCardView::cardRect() const
{
    // One point of room above the card for its lift.
    return QRectF(0, SaveCard::hoverLift, width(), m_card.height());
}

void SaveCardView::findPaging()
{
    if (!FollowPaging::follow(this, m_paging, this, qOverload<>(&QWidget::update)))
        return;
    m_card.setPaging(m_paging);
    update();
}

void SaveCardView::setHovered(bool hovered)
{
    if (hovered == m_state.hovered)
        return;
    m_state.hovered = hovered;
    if (!hovered) {
        m_pointer.leave();
        m_state.thumbnail.hovering = false;
        showPointer();
    }
    m_hover->stop();
    const Tokens::Animation &quick = Tokens::Motion::quick();
    if (quick.isInstant()) {
        m_state.hover = hovered ? 1 : 0;
    } else {
        quick.applyTo(*m_hover);
        m_hover->setStartValue(m_state.hover);
        m_hover->setEndValue(hovered ? 1.0 : 0.0);
        m_hover->start();
    }
    update();
}

SaveCard::Part SaveCardView::partAt(const QPointF &point) const
{
    const PicturePointer picture = m_feed->cached(m_card.pictureKey(m_state));
    return m_card.hitTest(cardRect(), point, m_state, picture);
}

bool SaveCardView::showPointer()
{
    const SaveCard::Part hovered = m_pointer.hovered();
    // The card's arrows keep their pressed look until the press ends, wherever the pointer goes.
    const SaveCard::Part pressed = m_pointer.pressed();
    bool changed = showArrows(m_state.thumbnail, SaveCard::thumbnailHit(hovered), SaveCard::thumbnailHit(pressed));
    if (hovered != m_state.hoveredPart || pressed != m_state.pressedPart) {
        m_state.hoveredPart = hovered;
        m_state.pressedPart = pressed;
        changed = true;
    }
    return changed;
}

void SaveCardView::pointerAt(const QPointF &point)
{
    m_pointer.hover(partAt(point));
    const bool overThumbnail = m_card.layout(cardRect(), m_state).thumbnail.contains(point);
    const bool thumbnailChanged = overThumbnail != m_state.thumbnail.hovering;
    m_state.thumbnail.hovering = overThumbnail;
    if (showPointer() || thumbnailChanged)
        update();
}

bool SaveCardView::event(QEvent *event)
{
    const PointerHover hover = PointerHover::of(event);
    switch (hover.kind) {
    case PointerHover::Kind::entered:
        setHovered(true);
        pointerAt(hover.position);
        break;
    case PointerHover::Kind::moved:
        pointerAt(hover.position);
        break;
    case PointerHover::Kind::left:
        setHovered(false);
        break;
    case PointerHover::Kind::none:
        break;
    }
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        findPaging();
    return QWidget::event(event);
}

void SaveCardView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->setAccepted(m_pointer.press(partAt(event->position())));
    showPointer();
    update();
}

void SaveCardView::mouseMoveEvent(QMouseEvent *event)
{
    pointerAt(event->position());
    QWidget::mouseMoveEvent(event);
}

void SaveCardView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pointer.isPressing()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // A press counts where it was let go on the part it began on.
    const SaveCard::Part clicked = m_pointer.release(partAt(event->position()));
    showPointer();
    if (clicked != SaveCard::Part::none) {
        QPointer<SaveCardView> alive(this);
        const SaveCard card = m_card;
        card.activate(clicked, [this](const SaveIntent &intent) { emit intentRaised(intent); }, m_state,
                      event->modifiers());
        if (!alive)
            return;
    }
    update();
}

void SaveCardView::paintEvent(QPaintEvent *)
{
    ++m_paints;
    QPainter painter(this);
    const PicturePointer picture = m_feed->picture(m_card.pictureKey(m_state));
    const PicturePointer avatar = m_feed->picture(m_card.avatarKey());
    m_card.paint(painter, cardRect(), m_state, picture, avatar);
}

}  // namespace sw
