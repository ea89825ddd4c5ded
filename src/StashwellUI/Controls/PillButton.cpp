#include "StashwellUI/Controls/PillButton.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>

#include <cmath>

namespace sw {

namespace {

ControlPainting::Label labelOf(const PillButton::Content &content)
{
    ControlPainting::Label label;
    label.symbol = content.symbol;
    label.title = content.title;
    label.font = Tokens::Typography::bodyStrong.font();
    label.typeSize = Tokens::Typography::bodyStrong.size;
    label.spacing = 6;
    return label;
}

bool sameProgress(std::optional<double> a, std::optional<double> b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || *a == *b || (std::isnan(*a) && std::isnan(*b));
}

}  // namespace

bool operator==(const PillButton::Content &a, const PillButton::Content &b)
{
    return a.title == b.title && a.symbol == b.symbol && a.tone == b.tone && sameProgress(a.progress, b.progress);
}

PillButton::PillButton(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

PillButton::PillButton(const QString &title, const QString &symbol, Tone tone, QWidget *parent) : PillButton(parent)
{
    m_content.title = title;
    m_content.symbol = symbol;
    m_content.tone = tone;
}

void PillButton::setContent(const Content &content)
{
    if (content == m_content)
        return;
    const bool sizeChanged = content.title != m_content.title || content.symbol != m_content.symbol;
    const bool nameChanged = content.title != m_content.title;
    m_content = content;
    changed(sizeChanged);
    if (nameChanged)
        notifyNameChanged(this);
}

void PillButton::setTitle(const QString &title)
{
    Content next = m_content;
    next.title = title;
    setContent(next);
}

void PillButton::setSymbol(const QString &symbol)
{
    Content next = m_content;
    next.symbol = symbol;
    setContent(next);
}

void PillButton::setTone(Tone tone)
{
    Content next = m_content;
    next.tone = tone;
    setContent(next);
}

void PillButton::setProgress(std::optional<double> progress)
{
    if (sameProgress(progress, m_content.progress))
        return;
    Content next = m_content;
    next.progress = progress;
    setContent(next);
    notifyValueChanged(this);
}

QString PillButton::accessibleValue() const
{
    if (!m_content.progress)
        return {};
    return StashwellUIStrings::mediaPercent(ControlPainting::wholePercent(*m_content.progress));
}

QSizeF PillButton::labelSize(const Content &content) { return labelOf(content).size(); }

QSize PillButton::sizeHint() const
{
    const QSizeF label = labelSize(m_content);
    return QSize(static_cast<int>(std::ceil(label.width())) + 32,
                 static_cast<int>(std::ceil(std::max(minimumHeight, label.height()))));
}

QSize PillButton::minimumSizeHint() const
{
    return QSize(static_cast<int>(minimumHeight), static_cast<int>(std::ceil(std::max(minimumHeight, labelSize(m_content).height()))));
}

QPainterPath PillButton::hitShape() const { return shape(QRectF(rect())); }

QPainterPath PillButton::shape(const QRectF &bounds) { return ContinuousShape::capsule(bounds); }

std::optional<QRectF> PillButton::progressBar(const QRectF &bounds, std::optional<double> progress)
{
    if (!progress)
        return std::nullopt;
    const double span = std::max(0.0, bounds.width() - 2 * barInset);
    const double width = span * ControlPainting::drawableFraction(*progress);
    return QRectF(bounds.left() + barInset, bounds.bottom() - barHeight, width, barHeight);
}

void PillButton::paint(QPainter &painter, const QRectF &bounds, const Content &content, const ControlState &state)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    ControlPainting::applyPlainStyle(painter, state);
    const QColor color = toneColor(content.tone);
    ContinuousShape::fill(painter, bounds, bounds.height() / 2, ControlPainting::faded(color, 0.13));
    ContinuousShape::strokeInside(painter, bounds, bounds.height() / 2, ControlPainting::faded(color, 0.4), 1);
    labelOf(content).paint(painter, bounds, color);
    if (const std::optional<QRectF> bar = progressBar(bounds, content.progress); bar && bar->width() > 0)
        ContinuousShape::fill(painter, *bar, barHeight / 2, color);
    painter.restore();
}

void PillButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    paint(painter, rect, m_content, state);
}

}  // namespace sw
