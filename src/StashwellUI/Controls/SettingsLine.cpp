#include "StashwellUI/Controls/SettingsLine.h"

#include "StashwellUI/detail/Sizing.h"

#include <QEvent>

#include <algorithm>

namespace sw {

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
    const int content = m_content ? Sizing::wantedHeight(m_content, width) : 0;
    return Sizing::ceilInt(std::max<double>(minimumContentHeight, content) + 2 * verticalPadding);
}

QSize SettingsLine::sizeHint() const
{
    const int width = m_content ? Sizing::wantedSize(m_content).width() : 0;
    return QSize(width, heightForWidth(width));
}

QSize SettingsLine::minimumSizeHint() const
{
    const int width = m_content ? m_content->minimumSizeHint().width() : 0;
    return QSize(width, Sizing::ceilInt(minimumContentHeight + 2 * verticalPadding));
}

void SettingsLine::place()
{
    if (!m_content)
        return;
    const int inner = height() - Sizing::ceilInt(2 * verticalPadding);
    const QSizePolicy policy = m_content->sizePolicy();
    const int w = (policy.horizontalPolicy() & QSizePolicy::ExpandFlag)
        ? std::min(width(), m_content->maximumWidth())
        : std::min(width(), Sizing::wantedSize(m_content).width());
    const int h = std::min(inner, Sizing::wantedHeight(m_content, w));
    m_content->setGeometry(0, Sizing::ceilInt(verticalPadding) + (inner - h) / 2, w, h);
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

}  // namespace sw
