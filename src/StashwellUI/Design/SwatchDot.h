#pragma once

// A collection's colour placed beside its name; it holds no state and does not react to input.

#include <QColor>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace sw {

// A 10-point rounded square of a colour, centred in 16 points of width.
class SwatchDot : public QWidget {
    Q_OBJECT
public:
    static constexpr double kSide = 10;
    static constexpr double kWidth = 16;

    explicit SwatchDot(const QColor &color, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The square within `area`: 10 × 10, centred.
    static QRectF square(const QRectF &area);
    static void paint(QPainter &painter, const QRectF &area, const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

}  // namespace sw
