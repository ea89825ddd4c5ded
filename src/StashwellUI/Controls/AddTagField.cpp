#include "StashwellUI/Controls/AddTagField.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

AddTagField::AddTagField(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setFont(Tokens::Typography::caption.font());
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setPlaceholderText(StashwellUIStrings::tagAdd());
    // QLineEdit keeps 2 of its own on each side and 1 above and below.
    setTextMargins(static_cast<int>(horizontalPadding) - 2, static_cast<int>(verticalPadding) - 1,
                   static_cast<int>(horizontalPadding) - 2, static_cast<int>(verticalPadding) - 1);
    setFixedWidth(widthFor(font(), placeholderText()));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    applyTheme();
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        applyTheme();
        update();
    });
}

void AddTagField::applyTheme()
{
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Window, Qt::transparent);
    p.setColor(QPalette::Text, Tokens::Colors::textSecondary());
    p.setColor(QPalette::PlaceholderText, ControlPainting::faded(Tokens::Colors::textSecondary(), 0.6));
    p.setColor(QPalette::Highlight, ControlPainting::faded(Tokens::Colors::accent(), 0.45));
    p.setColor(QPalette::HighlightedText, Tokens::Colors::text());
    setPalette(p);
}

int AddTagField::widthFor(const QFont &font, const QString &placeholder)
{
    // QLineEdit elides a placeholder wider than the room between its margins: a fixed width cut
    // "タグを追加" short.
    const double needed = std::ceil(QFontMetricsF(font).horizontalAdvance(placeholder)) + 2 * horizontalPadding;
    return static_cast<int>(std::max(fieldWidth, needed));
}

QSize AddTagField::sizeHint() const
{
    const double line = std::ceil(QFontMetricsF(font()).height());
    return QSize(widthFor(font(), placeholderText()), static_cast<int>(line + 2 * verticalPadding));
}

void AddTagField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setFixedWidth(widthFor(font(), placeholderText()));
}

void AddTagField::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        event->accept();
        emit submitted();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void AddTagField::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPen pen(Tokens::Colors::lineStronger(), 1, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({3, 2});
    pen.setDashOffset(0);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ContinuousShape::capsule(bounds));
}

}  // namespace sw
