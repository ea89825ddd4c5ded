#include "StashwellUI/Playback/SeekTrack.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sw {

SeekTrack::SeekTrack(QWidget *parent) : QAbstractSlider(parent)
{
    setOrientation(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    setSingleStep(5'000);
    setPageStep(15'000);
    setRange(0, 0);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(StashwellUIStrings::playerPosition());
}

QSize SeekTrack::sizeHint() const { return QSize(160, 20); }
QSize SeekTrack::minimumSizeHint() const { return QSize(40, 20); }

QRectF SeekTrack::groove() const
{
    const double inset = knobDiameter / 2;
    return QRectF(inset, height() / 2.0, std::max(0.0, width() - knobDiameter), 0);
}

int SeekTrack::valueAt(double x) const
{
    const QRectF span = groove();
    if (maximum() <= minimum() || span.width() <= 0)
        return minimum();
    const double share = std::clamp((x - span.left()) / span.width(), 0.0, 1.0);
    return minimum() + int(std::llround(share * (double(maximum()) - minimum())));
}

void SeekTrack::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.45);
    const QRectF span = groove();
    const QRectF bar(span.left(), span.top() - barHeight / 2, span.width(), barHeight);
    ContinuousShape::fill(painter, bar, barHeight / 2, QColor(255, 255, 255, 77));
    const double share = maximum() > minimum() ? double(value() - minimum()) / (double(maximum()) - minimum()) : 0.0;
    const double x = span.left() + span.width() * std::clamp(share, 0.0, 1.0);
    if (x > bar.left())
        ContinuousShape::fill(painter, QRectF(bar.left(), bar.top(), x - bar.left(), barHeight), barHeight / 2,
                              Tokens::Colors::accent());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(x, span.top()), knobDiameter / 2, knobDiameter / 2);
    if (hasFocus() && focusPolicy() != Qt::NoFocus) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Tokens::Colors::accent(), 2));
        painter.drawEllipse(QPointF(x, span.top()), knobDiameter / 2 + 2, knobDiameter / 2 + 2);
    }
}

void SeekTrack::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        event->ignore();
        return;
    }
    setSliderDown(true);
    setSliderPosition(valueAt(event->position().x()));
    event->accept();
}

void SeekTrack::mouseMoveEvent(QMouseEvent *event)
{
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderPosition(valueAt(event->position().x()));
    event->accept();
}

void SeekTrack::mouseReleaseEvent(QMouseEvent *event)
{
    if (!isSliderDown()) {
        event->ignore();
        return;
    }
    setSliderPosition(valueAt(event->position().x()));
    setSliderDown(false);
    event->accept();
}

}  // namespace sw
