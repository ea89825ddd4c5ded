#include "StashwellUI/Controls/TextButton.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

TextButton::TextButton(const QString &title, Tokens::TypeStyle style, QWidget *parent)
    : Pressable(parent), m_title(title), m_style(style)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TextButton::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    changed(true);
    notifyNameChanged(this);
}

void TextButton::setTypeStyle(Tokens::TypeStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    changed(true);
}

double TextButton::baseline() const
{
    const QFontMetricsF metrics(m_style.font());
    return (height() - metrics.height()) / 2 + metrics.ascent();
}

QSize TextButton::sizeHint() const
{
    const QSizeF size = ControlPainting::textSize(m_style.font(), m_title);
    return QSize(static_cast<int>(size.width()), static_cast<int>(size.height()));
}

QSize TextButton::minimumSizeHint() const
{
    return QSize(std::min(sizeHint().width(), 24), sizeHint().height());
}

QString TextButton::keptLook() const
{
    return QString::number(m_style.size) + u'|' + QString::number(int(m_style.weight)) + u'|'
        + QString::number(int(m_style.design)) + u'|' + m_title;
}

void TextButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    ControlPainting::Label label;
    label.title = m_title;
    label.font = m_style.font();
    label.typeSize = m_style.size;
    label.paint(painter, rect, Tokens::Colors::accentInk(), false);
}

}  // namespace sw
