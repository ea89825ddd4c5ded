#include "StashwellUI/Controls/SettingsRow.h"

#include "StashwellUI/Controls/SettingsLine.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Sizing.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

QFont labelFont() { return Tokens::Typography::body.font(); }
QFont detailFont() { return Tokens::Typography::mono.font(); }

constexpr int labelFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

}  // namespace

SettingsRow::SettingsRow(const QString &label, const std::optional<QString> &detail, QWidget *control, QWidget *parent)
    : QWidget(parent), m_label(label), m_detail(detail)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(label);
    setAccessibleDescription(detail.value_or(QString()));
    setControl(control);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

void SettingsRow::setLabel(const QString &label)
{
    if (label == m_label)
        return;
    m_label = label;
    setAccessibleName(label);
    updateGeometry();
    place();
    update();
}

void SettingsRow::setDetail(const std::optional<QString> &detail)
{
    if (detail == m_detail)
        return;
    m_detail = detail;
    setAccessibleDescription(detail.value_or(QString()));
    updateGeometry();
    place();
    update();
}

void SettingsRow::setControl(QWidget *control)
{
    if (control == m_control)
        return;
    if (m_control)
        delete m_control.data();
    m_control = control;
    if (control) {
        control->setParent(this);
        control->show();
    }
    updateGeometry();
    place();
}

QSize SettingsRow::controlSize() const
{
    if (!m_control)
        return QSize(0, 0);
    return Sizing::wantedSize(m_control);
}

double SettingsRow::textWidth(double width) const
{
    const double reserved = m_control ? spacing + minimumSpacer + spacing + controlSize().width() : spacing + minimumSpacer;
    return std::max(0.0, width - reserved);
}

QString SettingsRow::shownDetail(const QString &detail, double width)
{
    const QFontMetricsF metrics(detailFont());
    if (metrics.horizontalAdvance(detail) <= width + 0.5)
        return detail;
    return metrics.elidedText(detail, Qt::ElideMiddle, width);
}

QSizeF SettingsRow::textColumnSize(double width) const
{
    const QFontMetricsF label(labelFont());
    const QRectF labelBounds = label.boundingRect(QRectF(0, 0, std::max(1.0, width), 1e6), labelFlags, m_label);
    double height = std::max(std::ceil(labelBounds.height()), std::ceil(label.height()));
    double natural = std::ceil(label.horizontalAdvance(m_label));
    if (m_detail) {
        const QFontMetricsF detail(detailFont());
        height += textSpacing + std::ceil(detail.height());
        natural = std::max(natural, std::ceil(detail.horizontalAdvance(*m_detail)));
    }
    return QSizeF(std::min(natural, width), height);
}

int SettingsRow::heightForWidth(int width) const
{
    const double text = textColumnSize(textWidth(width)).height();
    const double control = controlSize().height();
    return Sizing::ceilInt(std::max({SettingsLine::minimumContentHeight, text, control}) + 2 * SettingsLine::verticalPadding);
}

QSize SettingsRow::sizeHint() const
{
    const double text = textColumnSize(1e6).width();
    const int width = Sizing::ceilInt(text + spacing + minimumSpacer + (m_control ? spacing + controlSize().width() : 0));
    return QSize(width, heightForWidth(width));
}

QSize SettingsRow::minimumSizeHint() const
{
    const int width = Sizing::ceilInt(spacing + minimumSpacer + (m_control ? spacing + controlSize().width() : 0));
    return QSize(width, Sizing::ceilInt(SettingsLine::minimumContentHeight + 2 * SettingsLine::verticalPadding));
}

void SettingsRow::place()
{
    if (!m_control)
        return;
    const QSize size = controlSize();
    const int inner = height() - Sizing::ceilInt(2 * SettingsLine::verticalPadding);
    const int h = std::min(size.height(), std::max(0, inner));
    const int w = std::min(size.width(), width());
    m_control->setGeometry(width() - w, Sizing::ceilInt(SettingsLine::verticalPadding) + (inner - h) / 2, w, h);
}

void SettingsRow::resizeEvent(QResizeEvent *) { place(); }

bool SettingsRow::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        place();
    }
    return QWidget::event(event);
}

void SettingsRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double width = textWidth(this->width());
    const QSizeF column = textColumnSize(width);
    const double top = height() / 2.0 - column.height() / 2;
    const QFontMetricsF label(labelFont());
    const QRectF labelRect(0, top, width, column.height() - (m_detail ? textSpacing + std::ceil(QFontMetricsF(detailFont()).height()) : 0));
    painter.setFont(labelFont());
    painter.setPen(Tokens::Colors::text());
    painter.drawText(labelRect, labelFlags, m_label);
    if (m_detail) {
        const QFontMetricsF detail(detailFont());
        painter.setFont(detailFont());
        painter.setPen(Tokens::Colors::muted());
        painter.drawText(QPointF(0, labelRect.bottom() + textSpacing + detail.ascent()), shownDetail(*m_detail, width));
    }
}

}  // namespace sw
