#include "StashwellUI/Controls/BusySpinner.h"

#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>
#include <QTimer>

#include <cmath>

namespace sw {

BusySpinner::BusySpinner(double side, QWidget *parent) : QWidget(parent), m_side(std::max(1.0, side))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(QString());
    m_timer = new QTimer(this);
    m_timer->setInterval(stepMilliseconds);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % spokes;
        update();
    });
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void BusySpinner::setColorRole(std::function<QColor()> color)
{
    m_color = std::move(color);
    update();
}

bool BusySpinner::isSpinning() const { return m_timer->isActive(); }

void BusySpinner::sync()
{
    const bool spin = isVisible() && Tokens::Motion::isEnabled();
    if (spin && !m_timer->isActive()) {
        m_timer->start();
    } else if (!spin && m_timer->isActive()) {
        m_timer->stop();
    }
    if (!Tokens::Motion::isEnabled() && m_step != 0) {
        m_step = 0;
        update();
    }
}

void BusySpinner::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    sync();
}

void BusySpinner::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    sync();
}

QSize BusySpinner::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(m_side));
    return QSize(side, side);
}

void BusySpinner::paint(QPainter &painter, const QRectF &square, int step, const QColor &color)
{
    const double side = std::min(square.width(), square.height());
    if (side <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(square.center());
    const double width = std::max(1.0, side * 0.1);
    for (int i = 0; i < spokes; ++i) {
        // How many steps ago this spoke was the brightest one.
        const int age = ((step - i) % spokes + spokes) % spokes;
        QColor c = color;
        c.setAlphaF(static_cast<float>(color.alphaF() * (0.15 + 0.85 * (1.0 - double(age) / spokes))));
        painter.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -side * 0.24), QPointF(0, -side * 0.46));
        painter.rotate(360.0 / spokes);
    }
    painter.restore();
}

void BusySpinner::paintEvent(QPaintEvent *)
{
    // A timer started before animations were switched off stops at the next paint.
    if (m_timer->isActive() && !Tokens::Motion::isEnabled())
        sync();
    QPainter painter(this);
    const double side = std::min(width(), height());
    const QRectF square((width() - side) / 2, (height() - side) / 2, side, side);
    paint(painter, square, m_step, m_color ? m_color() : Tokens::Colors::textSecondary());
}

}  // namespace sw
