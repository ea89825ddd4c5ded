#include "StashwellUI/Controls/SectionHeader.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Controls/TextButton.h"
#include "StashwellUI/Design/TextRuns.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont titleFont() { return Tokens::Typography::section.font(); }
QFont detailFont() { return Tokens::Typography::mono.font(); }

}  // namespace

SectionHeader::SectionHeader(const QString &title, QWidget *parent) : QWidget(parent), m_title(title)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(title);
    m_button = new TextButton(QString(), Tokens::Typography::bodyStrong, this);
    m_button->hide();
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

void SectionHeader::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    setAccessibleName(title);
    updateGeometry();
    update();
}

void SectionHeader::setDetail(const std::optional<QString> &detail)
{
    if (detail == m_detail)
        return;
    m_detail = detail;
    updateGeometry();
    update();
}

void SectionHeader::setActionTitle(const std::optional<QString> &title)
{
    if (title == m_actionTitle)
        return;
    m_actionTitle = title;
    syncButton();
}

void SectionHeader::setAction(std::function<void()> action)
{
    const bool had = static_cast<bool>(m_action);
    m_action = std::move(action);
    if (had != static_cast<bool>(m_action))
        syncButton();
}

TextButton *SectionHeader::actionButton() const { return m_button->isVisibleTo(this) ? m_button : nullptr; }

void SectionHeader::syncButton()
{
    const bool shows = m_actionTitle.has_value() && static_cast<bool>(m_action);
    m_button->setTitle(m_actionTitle.value_or(QString()));
    m_button->setVisible(shows);
    updateGeometry();
    placeButton();
    update();
}

double SectionHeader::baseline() const { return topPadding + QFontMetricsF(titleFont()).ascent(); }

void SectionHeader::placeButton()
{
    const QSize size = m_button->sizeHint();
    const QFontMetricsF metrics(m_button->typeStyle().font());
    // On the title's baseline, at the trailing edge.
    const double top = baseline() - metrics.ascent();
    m_button->setGeometry(width() - size.width(), static_cast<int>(std::round(top)), size.width(), size.height());
}

QSize SectionHeader::sizeHint() const
{
    double width = ControlPainting::textSize(titleFont(), m_title).width();
    if (m_detail)
        width += spacing + ControlPainting::textSize(detailFont(), *m_detail).width();
    if (actionButton())
        width += spacing + m_button->sizeHint().width();
    const QFontMetricsF title(titleFont());
    double height = topPadding + std::ceil(title.height());
    if (actionButton()) {
        const QFontMetricsF button(m_button->typeStyle().font());
        height = std::max(height, baseline() - button.ascent() + m_button->sizeHint().height());
    }
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height)));
}

QSize SectionHeader::minimumSizeHint() const { return QSize(0, sizeHint().height()); }

void SectionHeader::resizeEvent(QResizeEvent *) { placeButton(); }

void SectionHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    double right = width();
    if (actionButton())
        right = m_button->x() - spacing;
    const double y = baseline();
    const QFont title = titleFont();
    const double titleWidth = TextRuns::advance(m_title, title);
    painter.setPen(Tokens::Colors::text());
    TextRuns::draw(painter, QPointF(0, y), TextRuns::elided(m_title, title, std::max(0.0, right) + 0.5), title);
    if (m_detail) {
        const QFont detail = detailFont();
        const double x = std::min(titleWidth, right) + spacing;
        painter.setPen(Tokens::Colors::muted());
        TextRuns::draw(painter, QPointF(x, y), TextRuns::elided(*m_detail, detail, std::max(0.0, right - x) + 0.5), detail);
    }
}

}  // namespace sw
