#include "StashwellUI/Controls/InsetField.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

namespace sw {

InsetField::InsetField(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setFont(Tokens::Typography::mono.font());
    setAttribute(Qt::WA_MacShowFocusRect, false);
    // QLineEdit keeps 2 of its own on each side.
    setTextMargins(static_cast<int>(sidePadding) - 2, 0, static_cast<int>(sidePadding) - 2, 0);
    setFixedHeight(static_cast<int>(controlHeight));
    applyTheme();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        applyTheme();
        update();
    });
}

void InsetField::applyTheme() { applyFieldPalette(*this); }

void applyFieldPalette(QLineEdit &field)
{
    QPalette p = field.palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Window, Qt::transparent);
    p.setColor(QPalette::Text, Tokens::Colors::text());
    p.setColor(QPalette::PlaceholderText, Tokens::Colors::muted());
    p.setColor(QPalette::Highlight, ControlPainting::faded(Tokens::Colors::accent(), 0.45));
    p.setColor(QPalette::HighlightedText, Tokens::Colors::text());
    field.setPalette(p);
}

QSize InsetField::sizeHint() const { return QSize(QLineEdit::sizeHint().width(), static_cast<int>(controlHeight)); }

QSize InsetField::minimumSizeHint() const
{
    return QSize(static_cast<int>(2 * sidePadding), static_cast<int>(controlHeight));
}

void InsetField::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        ContinuousShape::fill(painter, QRectF(rect()), radius, ControlPainting::faded(Tokens::Colors::canvas(), 0.45));
    }
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    ContinuousShape::strokeInside(painter, QRectF(rect()), radius, Tokens::Colors::lineStronger(), 1);
}

}  // namespace sw
