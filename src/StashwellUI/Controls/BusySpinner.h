#pragma once

// The indeterminate activity mark of a wait that has no measure (a look-up under way): twelve
// spokes round a centre, the brightest one turning. It turns only while it is on screen and
// animations are on; otherwise it rests with its first spoke brightest, so that still pictures
// and tests see one fixed drawing.

#include <QColor>
#include <QWidget>

#include <functional>

class QTimer;

namespace sw {

class BusySpinner : public QWidget {
    Q_OBJECT
public:
    // The small control size, as the interface's status lines use it.
    static constexpr double smallSide = 16;
    static constexpr int spokes = 12;
    static constexpr int stepMilliseconds = 80;

    explicit BusySpinner(double side = smallSide, QWidget *parent = nullptr);

    double side() const { return m_side; }
    // The spokes' colour, asked for at each paint; the secondary text colour unless set.
    void setColorRole(std::function<QColor()> color);

    bool isSpinning() const;
    // The spoke drawn brightest now, 0 ... spokes - 1.
    int step() const { return m_step; }

    static void paint(QPainter &painter, const QRectF &square, int step, const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void sync();

    double m_side;
    int m_step = 0;
    QTimer *m_timer = nullptr;
    std::function<QColor()> m_color;
};

}  // namespace sw
