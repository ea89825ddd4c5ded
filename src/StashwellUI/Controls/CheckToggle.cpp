#include "StashwellUI/Controls/CheckToggle.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"

#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont titleFont() { return Tokens::Typography::body.font(); }

}  // namespace

CheckToggle::CheckToggle(const QString &title, QWidget *parent) : Pressable(parent), m_title(title)
{
    setCheckable(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CheckToggle::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    notifyNameChanged(this);
    changed(true);
}

QSize CheckToggle::sizeHint() const
{
    const QSizeF text = ControlPainting::textSize(titleFont(), m_title);
    const double width = boxSide + (m_title.isEmpty() ? 0 : spacing + text.width());
    return QSize(static_cast<int>(std::ceil(width)) + 2, static_cast<int>(std::ceil(std::max(boxSide, text.height()))) + 2);
}

void CheckToggle::checkStateSet()
{
    Pressable::checkStateSet();
    update();
}

void CheckToggle::nextCheckState()
{
    Pressable::nextCheckState();
    notifyValueChanged(this);
}

namespace {

bool isReturn(const QKeyEvent *event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

}  // namespace

void CheckToggle::keyPressEvent(QKeyEvent *event)
{
    if (isReturn(event)) {
        event->ignore();
        return;
    }
    Pressable::keyPressEvent(event);
}

void CheckToggle::keyReleaseEvent(QKeyEvent *event)
{
    if (isReturn(event)) {
        event->ignore();
        return;
    }
    Pressable::keyReleaseEvent(event);
}

void CheckToggle::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    const QRectF box(rect.left() + 1, rect.center().y() - boxSide / 2, boxSide, boxSide);
    if (isChecked()) {
        ContinuousShape::fill(painter, box, boxRadius, Tokens::Colors::accent());
        Symbols::paint(painter, box.adjusted(3, 3, -3, -3), u"checkmark", Tokens::Colors::onAccent());
    } else {
        WellStyle::well().fill(painter, box, boxRadius);
        ContinuousShape::strokeInside(painter, box, boxRadius, Tokens::Colors::lineStronger());
    }
    if (state.hovered && state.enabled)
        ContinuousShape::strokeInside(painter, box, boxRadius, ControlPainting::faded(Tokens::Colors::accent(), 0.6));
    if (m_title.isEmpty())
        return;
    painter.setFont(titleFont());
    painter.setPen(Tokens::Colors::text());
    const QRectF text(box.right() + spacing, rect.top(), std::max(0.0, rect.right() - box.right() - spacing), rect.height());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_title);
}

}  // namespace sw
