#include "StashwellUI/Controls/WrappedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>

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
        m_drawing = QPixmap();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

WrappedLabel::Drawn WrappedLabel::drawnNow() const
{
    return Drawn{text(), textFormat(), wordWrap(), alignment(), indent(), margin(), layoutDirection(),
                 size(), devicePixelRatioF(), palette().cacheKey(), isEnabled()};
}

void WrappedLabel::paintEvent(QPaintEvent *event)
{
    // A selection or the caret changes with every move of the pointer or key: drawn as they are.
    if (hasFocus() || hasSelectedText() || size().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    const Drawn now = drawnNow();
    if (m_drawing.isNull() || !(m_drawn == now)) {
        QPixmap drawing((QSizeF(size()) * now.ratio).toSize());
        drawing.setDevicePixelRatio(now.ratio);
        drawing.fill(Qt::transparent);
        // Drawn by a label of the same settings that is never shown: a widget cannot render itself
        // from within its own paint.
        if (!m_double)
            m_double = std::make_unique<QLabel>();
        m_double->setTextFormat(textFormat());
        m_double->setText(text());
        m_double->setWordWrap(wordWrap());
        m_double->setAlignment(alignment());
        m_double->setIndent(indent());
        m_double->setMargin(margin());
        m_double->setContentsMargins(contentsMargins());
        m_double->setLayoutDirection(layoutDirection());
        m_double->setFont(font());
        m_double->setPalette(palette());
        m_double->setEnabled(isEnabled());
        m_double->setTextInteractionFlags(textInteractionFlags());
        m_double->resize(size());
        QPainter painter(&drawing);
        m_double->render(&painter, QPoint(), QRegion(), RenderFlags());
        painter.end();
        m_drawing = std::move(drawing);
        m_drawn = now;
    }
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_drawing);
}

}  // namespace sw
