#include "StashwellUI/Controls/SettingsRow.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont labelFont() { return Tokens::Typography::body.font(); }
QFont detailFont() { return Tokens::Typography::mono.font(); }

constexpr int labelFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

int ceilInt(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

// The size a child wants: its hint, within its own minimum and maximum.
QSize wantedSize(const QWidget *widget)
{
    return widget->sizeHint()
        .expandedTo(widget->minimumSizeHint())
        .expandedTo(widget->minimumSize())
        .boundedTo(widget->maximumSize())
        .expandedTo(QSize(0, 0));
}

// The height a child wants at `width`.
int wantedHeight(const QWidget *widget, int width)
{
    if (widget->hasHeightForWidth())
        return std::clamp(widget->heightForWidth(width), widget->minimumHeight(), widget->maximumHeight());
    return wantedSize(widget).height();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// SettingsLine

SettingsLine::SettingsLine(QWidget *content, QWidget *parent) : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setContent(content);
}

void SettingsLine::setContent(QWidget *content)
{
    if (content == m_content)
        return;
    if (m_content)
        delete m_content.data();
    m_content = content;
    if (content) {
        content->setParent(this);
        content->show();
    }
    updateGeometry();
    place();
}

bool SettingsLine::hasHeightForWidth() const { return true; }

int SettingsLine::heightForWidth(int width) const
{
    const int content = m_content ? wantedHeight(m_content, width) : 0;
    return ceilInt(std::max<double>(minimumContentHeight, content) + 2 * verticalPadding);
}

QSize SettingsLine::sizeHint() const
{
    const int width = m_content ? wantedSize(m_content).width() : 0;
    return QSize(width, heightForWidth(width));
}

QSize SettingsLine::minimumSizeHint() const
{
    const int width = m_content ? m_content->minimumSizeHint().width() : 0;
    return QSize(width, ceilInt(minimumContentHeight + 2 * verticalPadding));
}

void SettingsLine::place()
{
    if (!m_content)
        return;
    const int inner = height() - ceilInt(2 * verticalPadding);
    const QSizePolicy policy = m_content->sizePolicy();
    const int w = (policy.horizontalPolicy() & QSizePolicy::ExpandFlag)
        ? std::min(width(), m_content->maximumWidth())
        : std::min(width(), wantedSize(m_content).width());
    const int h = std::min(inner, wantedHeight(m_content, w));
    m_content->setGeometry(0, ceilInt(verticalPadding) + (inner - h) / 2, w, h);
}

void SettingsLine::resizeEvent(QResizeEvent *) { place(); }

bool SettingsLine::event(QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        place();
    }
    return QWidget::event(event);
}

// ---------------------------------------------------------------------------------------------
// SettingsRow

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
    return wantedSize(m_control);
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
    return ceilInt(std::max({SettingsLine::minimumContentHeight, text, control}) + 2 * SettingsLine::verticalPadding);
}

QSize SettingsRow::sizeHint() const
{
    const double text = textColumnSize(1e6).width();
    const int width = ceilInt(text + spacing + minimumSpacer + (m_control ? spacing + controlSize().width() : 0));
    return QSize(width, heightForWidth(width));
}

QSize SettingsRow::minimumSizeHint() const
{
    const int width = ceilInt(spacing + minimumSpacer + (m_control ? spacing + controlSize().width() : 0));
    return QSize(width, ceilInt(SettingsLine::minimumContentHeight + 2 * SettingsLine::verticalPadding));
}

void SettingsRow::place()
{
    if (!m_control)
        return;
    const QSize size = controlSize();
    const int inner = height() - ceilInt(2 * SettingsLine::verticalPadding);
    const int h = std::min(size.height(), std::max(0, inner));
    const int w = std::min(size.width(), width());
    m_control->setGeometry(width() - w, ceilInt(SettingsLine::verticalPadding) + (inner - h) / 2, w, h);
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

// ---------------------------------------------------------------------------------------------
// InsetField

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

void InsetField::applyTheme()
{
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    p.setColor(QPalette::Window, Qt::transparent);
    p.setColor(QPalette::Text, Tokens::Colors::text());
    p.setColor(QPalette::PlaceholderText, Tokens::Colors::muted());
    p.setColor(QPalette::Highlight, ControlPainting::faded(Tokens::Colors::accent(), 0.45));
    p.setColor(QPalette::HighlightedText, Tokens::Colors::text());
    setPalette(p);
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
