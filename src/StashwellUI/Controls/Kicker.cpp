#include "StashwellUI/Controls/Kicker.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/TextRuns.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

Kicker::Kicker(const QString &text, QWidget *parent) : QWidget(parent), m_text(text)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

void Kicker::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QColor Kicker::tint() const { return m_tint.value_or(Tokens::Colors::muted()); }

void Kicker::setTint(const QColor &tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    update();
}

QString Kicker::shownText(const QString &text) { return text.toUpper(); }

QFont Kicker::font()
{
    QFont font = Tokens::Typography::kicker.font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return font;
}

QSizeF Kicker::size(const QString &text) { return ControlPainting::textSize(font(), shownText(text)); }

void Kicker::paint(QPainter &painter, const QRectF &bounds, const QString &text, const QColor &tint)
{
    const QFont f = font();
    const QFontMetricsF metrics(f);
    painter.save();
    painter.setPen(tint);
    const QString shown = TextRuns::elided(shownText(text), f, bounds.width() + 0.5);
    TextRuns::draw(painter, QPointF(bounds.left(), bounds.center().y() - metrics.height() / 2 + metrics.ascent()), shown, f);
    painter.restore();
}

QSize Kicker::sizeHint() const
{
    const QSizeF s = size(m_text);
    return QSize(static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height())));
}

void Kicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter, QRectF(rect()), m_text, tint());
}

}  // namespace sw
