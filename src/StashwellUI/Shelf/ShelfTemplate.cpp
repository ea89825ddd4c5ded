#include "StashwellUI/Shelf/ShelfTemplate.h"

#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Shelf/ShelfSurface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStackedLayout>

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

QFont titleFont() { return Tokens::Typography::title.font(); }
QFont messageFont() { return Tokens::Typography::body.font(); }

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

// --- ShelfEmptyState ---

ShelfEmptyState::ShelfEmptyState(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void ShelfEmptyState::setTexts(const QString &title, const QString &message)
{
    if (title == m_title && message == m_message)
        return;
    m_title = title;
    m_message = message;
    setAccessibleName(title);
    setAccessibleDescription(message);
    updateGeometry();
    update();
}

ShelfEmptyState::Layout ShelfEmptyState::layout() const
{
    const double width = std::max(0.0, std::min(messageWidth, double(this->width()) - 32));
    const QRectF titleBounds = QFontMetricsF(titleFont()).boundingRect(QRectF(0, 0, width, 1e6), kTextFlags, m_title);
    const QRectF messageBounds =
        QFontMetricsF(messageFont()).boundingRect(QRectF(0, 0, width, 1e6), kTextFlags, m_message);
    const double titleHeight = m_title.isEmpty() ? 0 : std::ceil(titleBounds.height());
    const double messageHeight = m_message.isEmpty() ? 0 : std::ceil(messageBounds.height());
    const double total = markSize + spacing + titleHeight + spacing + messageHeight;
    const double left = (this->width() - width) / 2;
    double y = std::max(0.0, (height() - total) / 2);
    Layout l;
    l.mark = QRectF((this->width() - markSize) / 2, y, markSize, markSize);
    y += markSize + spacing;
    l.title = QRectF(left, y, width, titleHeight);
    y += titleHeight + spacing;
    l.message = QRectF(left, y, width, messageHeight);
    return l;
}

QSize ShelfEmptyState::sizeHint() const
{
    return QSize(int(messageWidth + 32), int(markSize + 4 * spacing + 80));
}

void ShelfEmptyState::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const Layout l = layout();
    // The whole state in the muted colour; the mark keeps its own colours.
    LogoMark::paint(painter, l.mark, false);
    painter.setPen(Tokens::Colors::muted());
    painter.setFont(titleFont());
    painter.drawText(l.title, kTextFlags, m_title);
    painter.setFont(messageFont());
    painter.drawText(l.message, kTextFlags, m_message);
}

// --- ShelfTemplate ---

ShelfTemplate::ShelfTemplate(QWidget *parent)
    : QWidget(parent),
      m_stack(new QStackedLayout(this)),
      m_emptyState(new ShelfEmptyState(this)),
      m_surface(new ShelfSurface(this))
{
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_surface);
    m_stack->addWidget(m_emptyState);
    m_surface->setPadding({sidePadding, topPadding, sidePadding, bottomPadding});
    m_surface->setSpacing(sectionSpacing);
    m_stack->setCurrentWidget(m_surface);
}

void ShelfTemplate::setEmpty(bool empty)
{
    m_empty = empty;
    m_stack->setCurrentWidget(empty ? static_cast<QWidget *>(m_emptyState) : static_cast<QWidget *>(m_surface));
}

void ShelfTemplate::setEmptyTexts(const QString &title, const QString &message)
{
    m_emptyState->setTexts(title, message);
}

}  // namespace sw
