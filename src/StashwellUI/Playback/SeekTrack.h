#pragma once

#include <QAbstractSlider>
#include <QRectF>

namespace sw {

// The seek track: a thin bar filled up to the position, with a knob. A press anywhere on it jumps
// there and a drag follows the pointer; the arrow keys step by 5 s and Page Up/Down by 15 s.
// Values are milliseconds.
class SeekTrack : public QAbstractSlider {
    Q_OBJECT
public:
    static constexpr double knobDiameter = 10;
    static constexpr double barHeight = 4;

    explicit SeekTrack(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The value under a horizontal position in the widget, within the range.
    int valueAt(double x) const;
    // The span the knob's centre moves along.
    QRectF groove() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

}  // namespace sw
