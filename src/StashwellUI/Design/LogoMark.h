#pragma once

// A mark placed beside text; it holds no state and does not react to input.

#include <QRectF>
#include <QWidget>

#include <array>

class QPainter;

namespace sw {

// The application's mark: the logo drawing (tiled), or a bookmark with two bars drawn in the muted
// colour with no tile behind it.
class LogoMark : public QWidget {
    Q_OBJECT
public:
    static constexpr double kDefaultSize = 30;

    explicit LogoMark(double size = kDefaultSize, bool tiled = true, QWidget *parent = nullptr);

    double markSize() const { return m_size; }
    void setMarkSize(double size);
    bool isTiled() const { return m_tiled; }
    void setTiled(bool tiled);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The two bars of the drawn mark inside a square of side `size` at the origin: 0.3 and 0.2 of
    // the side wide, 0.09 of it thick (at least 1.5), 0.12 apart, the pair centred and then moved
    // 0.02 of the side left and 0.1 up.
    static std::array<QRectF, 2> bars(double size);

    static void paint(QPainter &painter, const QRectF &square, bool tiled);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_size;
    bool m_tiled;
};

}  // namespace sw
