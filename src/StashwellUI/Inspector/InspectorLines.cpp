#include "StashwellUI/Inspector/InspectorLines.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/detail/Sizing.h"

#include <QFontMetricsF>
#include <QPainter>

namespace sw {

OneLine::OneLine(Tokens::TypeStyle style, std::function<QColor()> color, Qt::TextElideMode elide, QWidget *parent)
    : QWidget(parent), m_style(style), m_color(std::move(color)), m_elide(elide)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void OneLine::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QString OneLine::shownText() const
{
    return QFontMetricsF(m_style.font()).elidedText(m_text, m_elide, width());
}

QSize OneLine::sizeHint() const
{
    const QSizeF size = ControlPainting::textSize(m_style.font(), m_text);
    return QSize(Sizing::ceilInt(size.width()), Sizing::ceilInt(QFontMetricsF(m_style.font()).height()));
}

QSize OneLine::minimumSizeHint() const { return QSize(0, sizeHint().height()); }

void OneLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_style.font());
    painter.setPen(m_color());
    painter.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

SymbolLine::SymbolLine(Tokens::TypeStyle style, QWidget *parent) : QWidget(parent), m_style(style)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void SymbolLine::setContent(const QString &text, const QString &symbol, std::function<QColor()> color)
{
    m_text = text;
    m_symbol = symbol;
    m_color = std::move(color);
    setAccessibleName(text);
    updateGeometry();
    update();
}

static ControlPainting::Label labelOf(Tokens::TypeStyle style, const QString &text, const QString &symbol)
{
    ControlPainting::Label label;
    label.symbol = symbol;
    label.title = text;
    label.font = style.font();
    label.typeSize = style.size;
    label.spacing = SymbolLine::spacing;
    return label;
}

QSize SymbolLine::sizeHint() const
{
    const QSizeF size = labelOf(m_style, m_text, m_symbol).size();
    return QSize(Sizing::ceilInt(size.width()), Sizing::ceilInt(size.height()));
}

void SymbolLine::paintEvent(QPaintEvent *)
{
    if (!m_color)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    labelOf(m_style, m_text, m_symbol).paint(painter, QRectF(rect()), m_color(), false);
}

}  // namespace sw
