#include "StashwellUI/Toasts/ToastBubble.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/KeyCap.h"
#include "StashwellUI/Design/CardShadow.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QFontMetricsF>
#include <QKeySequence>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

QFont undoFont() { return Tokens::Typography::caption.weighted(Tokens::Weight::semibold).font(); }
QFont messageFont() { return Tokens::Typography::body.font(); }
double checkSide() { return ControlPainting::symbolSide(ToastBubble::checkTypeSize); }

}  // namespace

ToastUndoButton::ToastUndoButton(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setHoverTracked(true);
}

QString ToastUndoButton::title() { return StashwellUIStrings::actionUndo(); }

QString ToastUndoButton::keys() { return KeyCap::text(QKeySequence(QKeySequence::Undo)); }

QSize ToastUndoButton::sizeHint() const
{
    const QSizeF text = ControlPainting::textSize(undoFont(), title());
    const QSizeF cap = KeyCap::size(keys());
    const double width = leadingPadding + text.width() + spacing + cap.width() + trailingPadding;
    const double height = std::max(text.height(), cap.height()) + 2 * verticalPadding;
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

QPainterPath ToastUndoButton::hitShape() const { return ContinuousShape::capsule(QRectF(rect())); }

void ToastUndoButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    const QColor accent = Tokens::Colors::accent();
    painter.fillPath(ContinuousShape::capsule(rect), ControlPainting::faded(accent, 0.14));
    ContinuousShape::strokeInside(painter, rect, rect.height() / 2, ControlPainting::faded(accent, 0.45), 1);

    const QSizeF text = ControlPainting::textSize(undoFont(), title());
    const QSizeF cap = KeyCap::size(keys());
    double x = rect.left() + leadingPadding;
    painter.setFont(undoFont());
    painter.setPen(Tokens::Colors::accentInk());
    painter.drawText(QRectF(x, rect.top(), text.width(), rect.height()), Qt::AlignLeft | Qt::AlignVCenter, title());
    x += text.width() + spacing;
    KeyCap::paint(painter, QRectF(x, rect.center().y() - cap.height() / 2, cap.width(), cap.height()), keys());
    if (state.focused)
        ControlPainting::paintFocusRing(painter, hitShape());
}

ToastBubble::ToastBubble(const QString &message, bool offersUndo, QWidget *parent)
    : QWidget(parent), m_message(message)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setContentsMargins(shadowMargins());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(message);
    m_undo = new ToastUndoButton(this);
    m_undo->setVisible(offersUndo);
    connect(m_undo, &ToastUndoButton::clicked, this, &ToastBubble::undoPressed);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    place();
}

void ToastBubble::setMessage(const QString &message)
{
    if (message == m_message)
        return;
    m_message = message;
    setAccessibleName(message);
    updateGeometry();
    place();
    update();
}

bool ToastBubble::offersUndo() const { return !m_undo->isHidden(); }

void ToastBubble::setOffersUndo(bool offers)
{
    if (offers == offersUndo())
        return;
    m_undo->setVisible(offers);
    updateGeometry();
    place();
    update();
}

QMargins ToastBubble::shadowMargins()
{
    const int blur = int(std::ceil(CardShadow::reach(shadowBlur)));
    const int offset = int(shadowOffset);
    return QMargins(blur, std::max(0, blur - offset), blur, blur + offset);
}

QRectF ToastBubble::capsuleRect() const { return QRectF(contentsRect()); }

double ToastBubble::contentWidth(double messageWidth) const
{
    double width = checkSide() + spacing + messageWidth;
    if (offersUndo())
        width += spacing + m_undo->sizeHint().width();
    return width + 2 * horizontalPadding;
}

double ToastBubble::messageRoom() const
{
    const double fixed = contentWidth(0);
    return std::max(0.0, capsuleRect().width() - fixed);
}

QString ToastBubble::shownMessage() const
{
    const QFontMetricsF metrics(messageFont());
    return metrics.elidedText(m_message, Qt::ElideRight, messageRoom());
}

QSize ToastBubble::sizeHint() const
{
    const QSizeF message = ControlPainting::textSize(messageFont(), m_message);
    double inner = std::max(message.height(), checkSide());
    if (offersUndo())
        inner = std::max<double>(inner, m_undo->sizeHint().height());
    const QMargins margins = shadowMargins();
    return QSize(int(std::ceil(contentWidth(message.width()))) + margins.left() + margins.right(),
                 int(std::ceil(inner + 2 * verticalPadding)) + margins.top() + margins.bottom());
}

QSize ToastBubble::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    const QSizeF message = ControlPainting::textSize(messageFont(), m_message);
    return QSize(hint.width() - int(std::ceil(message.width())), hint.height());
}

void ToastBubble::resizeEvent(QResizeEvent *) { place(); }

void ToastBubble::place()
{
    const QRectF capsule = capsuleRect();
    const QSize undo = m_undo->sizeHint();
    const double x = capsule.right() - horizontalPadding - undo.width();
    m_undo->setGeometry(int(std::round(x)), int(std::round(capsule.center().y() - undo.height() / 2.0)), undo.width(),
                        undo.height());
}

void ToastBubble::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF capsule = capsuleRect();
    const double radius = capsule.height() / 2;
    CardShadow::paint(painter, capsule, radius, shadowBlur, QPointF(0, shadowOffset), shadowOpacity);
    // The line colour is translucent: laid on the window colour, so that the message reads over
    // whatever the toast floats above.
    const QPainterPath shape = ContinuousShape::capsule(capsule);
    painter.fillPath(shape, Tokens::Colors::window());
    painter.fillPath(shape, Tokens::Colors::lineStrong());
    ContinuousShape::strokeInside(painter, capsule, radius, Tokens::Colors::lineStronger(), 1);

    double x = capsule.left() + horizontalPadding;
    const double side = checkSide();
    Symbols::paint(painter, QRectF(x, capsule.center().y() - side / 2, side, side), u"checkmark",
                   Tokens::Colors::accentInk());
    x += side + spacing;
    painter.setFont(messageFont());
    painter.setPen(Tokens::Colors::text());
    painter.drawText(QRectF(x, capsule.top(), messageRoom(), capsule.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     shownMessage());
}

}  // namespace sw
