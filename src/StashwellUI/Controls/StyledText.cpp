#include "StashwellUI/Controls/StyledText.h"

#include "StashwellUI/Design/TextRuns.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/detail/TextLines.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

namespace sw {

namespace {

int ceilInt(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

}  // namespace

StyledText::StyledText(const QString &text, Tokens::TypeStyle style, ColorRole color, QWidget *parent)
    : QWidget(parent), m_text(text), m_style(style), m_color(std::move(color))
{
    setAttribute(Qt::WA_TranslucentBackground);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(m_text);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void StyledText::changed()
{
    setAccessibleName(m_text);
    updateGeometry();
    update();
}

void StyledText::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    changed();
}

void StyledText::setTypeStyle(Tokens::TypeStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    changed();
}

void StyledText::setColorRole(ColorRole color)
{
    m_color = std::move(color);
    update();
}

QColor StyledText::color() const { return m_color ? m_color() : Tokens::Colors::text(); }

void StyledText::setMaximumLines(int lines)
{
    lines = std::max(lines, 0);
    if (lines == m_lines)
        return;
    m_lines = lines;
    changed();
}

QString StyledText::shownText(double width) const
{
    return TextLines::kept(m_text, m_style.font(), std::max(1.0, width), m_lines == unlimited ? INT_MAX : m_lines);
}

int StyledText::lineCount(double width) const
{
    if (m_text.isEmpty())
        return 0;
    return int(shownText(width).count(u'\n')) + 1;
}

double StyledText::lineHeight() const { return std::ceil(QFontMetricsF(m_style.font()).lineSpacing()); }

int StyledText::heightForWidth(int width) const { return ceilInt(lineHeight() * lineCount(width)); }

QSize StyledText::sizeHint() const
{
    // The widest paragraph on one line; a layout that gives less makes the text wrap or cut.
    const QFontMetricsF metrics(m_style.font());
    double widest = 0;
    const QStringList paragraphs = m_text.split(u'\n');
    const qsizetype shown = m_lines == unlimited ? paragraphs.size() : std::min<qsizetype>(paragraphs.size(), m_lines);
    for (qsizetype i = 0; i < shown; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(paragraphs[i]));
    const int width = std::max(1, ceilInt(widest));
    return QSize(width, heightForWidth(width));
}

QSize StyledText::minimumSizeHint() const { return QSize(0, ceilInt(m_text.isEmpty() ? 0 : lineHeight())); }

void StyledText::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(color());
    const QFont font = m_style.font();
    const double line = lineHeight();
    const QStringList lines = shownText(width()).split(u'\n');
    // Each line at the leading edge of its box, in the widget's direction.
    for (qsizetype i = 0; i < lines.size(); ++i)
        TextRuns::drawCentred(painter, QRectF(0, line * double(i), width(), line), lines[i], font);
}

}  // namespace sw
