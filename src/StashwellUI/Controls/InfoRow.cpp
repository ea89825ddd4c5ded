#include "StashwellUI/Controls/InfoRow.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont bodyFont() { return Tokens::Typography::body.font(); }

}  // namespace

InfoRow::InfoRow(const QString &label, const QString &value, QWidget *parent)
    : QWidget(parent), m_label(label), m_value(value)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(label);
    setAccessibleDescription(value);
    connect(&Theme::instance(), &Theme::changed, this, [this] {
        styleValue();
        update();
    });
}

InfoRow::InfoRow(const QString &label, QWidget *value, QWidget *parent) : InfoRow(label, QString(), parent)
{
    setValueWidget(value);
}

void InfoRow::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    setAccessibleName(label);
    updateGeometry();
    placeValue();
    update();
}

void InfoRow::setValue(const QString &value)
{
    if (value == m_value && !m_valueWidget)
        return;
    if (m_valueWidget)
        delete m_valueWidget.data();
    m_value = value;
    setAccessibleDescription(value);
    updateGeometry();
    update();
}

void InfoRow::setValueWidget(QWidget *widget)
{
    if (widget == m_valueWidget)
        return;
    if (m_valueWidget)
        delete m_valueWidget.data();
    m_value.clear();
    m_valueWidget = widget;
    if (widget) {
        widget->setParent(this);
        styleValue();
        widget->show();
    }
    updateGeometry();
    placeValue();
    update();
}

void InfoRow::styleValue()
{
    if (!m_valueWidget)
        return;
    // Like text in the row: the body font and the text colour, unless the widget set its own.
    if (!m_valueWidget->testAttribute(Qt::WA_SetFont)) {
        m_valueWidget->setFont(bodyFont());
        m_valueWidget->setAttribute(Qt::WA_SetFont, false);
    }
    if (!m_valueWidget->testAttribute(Qt::WA_SetPalette)) {
        QPalette palette = m_valueWidget->palette();
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, Tokens::Colors::text());
        m_valueWidget->setPalette(palette);
        m_valueWidget->setAttribute(Qt::WA_SetPalette, false);
    }
}

QString InfoRow::shownValue(const QString &value, double width)
{
    const QFontMetricsF metrics(bodyFont());
    if (metrics.horizontalAdvance(value) <= width + 0.5)
        return value;
    return metrics.elidedText(value, Qt::ElideMiddle, width);
}

double InfoRow::valueWidth(const QString &label, double naturalValueWidth, double width)
{
    const double labelWidth = label.isEmpty() ? 0 : ControlPainting::textSize(bodyFont(), label).width();
    return std::clamp(width - labelWidth - minimumGap, 0.0, naturalValueWidth);
}

double InfoRow::naturalValueWidth() const
{
    if (m_valueWidget)
        return m_valueWidget->sizeHint().width();
    return ControlPainting::textSize(bodyFont(), m_value).width();
}

void InfoRow::placeValue()
{
    if (!m_valueWidget)
        return;
    const int w = static_cast<int>(std::floor(valueWidth(m_label, naturalValueWidth(), width())));
    const int h = std::min(height(), m_valueWidget->sizeHint().height());
    m_valueWidget->setGeometry(width() - w, (height() - h) / 2, w, h);
}

QSize InfoRow::sizeHint() const
{
    const double line = std::ceil(QFontMetricsF(bodyFont()).height());
    double contentHeight = line;
    if (m_valueWidget)
        contentHeight = std::max(contentHeight, double(m_valueWidget->sizeHint().height()));
    const double width = ControlPainting::textSize(bodyFont(), m_label).width() + minimumGap + naturalValueWidth();
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(contentHeight + 2 * verticalPadding)));
}

QSize InfoRow::minimumSizeHint() const
{
    return QSize(static_cast<int>(std::ceil(ControlPainting::textSize(bodyFont(), m_label).width() + minimumGap)),
                 sizeHint().height());
}

void InfoRow::resizeEvent(QResizeEvent *) { placeValue(); }

bool InfoRow::event(QEvent *event)
{
    // A value widget whose wanted size changed.
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeValue();
    }
    return QWidget::event(event);
}

void InfoRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = bodyFont();
    const QFontMetricsF metrics(font);
    const double baseline = height() / 2.0 - metrics.height() / 2 + metrics.ascent();
    painter.setFont(font);
    const double valueSpace = valueWidth(m_label, naturalValueWidth(), width());
    // The label yields to the value only down to its own width; it is shortened at its end when
    // the row is narrower than label and gap.
    const double labelSpace = std::max(0.0, width() - valueSpace - minimumGap);
    painter.setPen(Tokens::Colors::muted());
    painter.drawText(QPointF(0, baseline), metrics.elidedText(m_label, Qt::ElideRight, labelSpace + 0.5));
    if (!m_valueWidget && !m_value.isEmpty()) {
        const QString shown = shownValue(m_value, valueSpace);
        painter.setPen(Tokens::Colors::text());
        painter.drawText(QPointF(width() - metrics.horizontalAdvance(shown), baseline), shown);
    }
}

}  // namespace sw
