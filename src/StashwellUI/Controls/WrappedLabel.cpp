#include "StashwellUI/Controls/WrappedLabel.h"

#include <QEvent>

namespace sw {

namespace {
// More widths than a column ever takes while it is resized by hand are let go at once.
constexpr qsizetype kKeptWidths = 64;
}  // namespace

WrappedLabel::WrappedLabel(QWidget *parent) : QLabel(parent)
{
    setWordWrap(true);
}

int WrappedLabel::heightForWidth(int width) const
{
    if (text() != m_measured) {
        m_measured = text();
        m_heights.clear();
    }
    if (const auto kept = m_heights.constFind(width); kept != m_heights.cend())
        return *kept;
    if (m_heights.size() >= kKeptWidths)
        m_heights.clear();
    const int height = QLabel::heightForWidth(width);
    m_heights.insert(width, height);
    return height;
}

void WrappedLabel::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ContentsRectChange:
    case QEvent::LanguageChange:
        m_heights.clear();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

}  // namespace sw
