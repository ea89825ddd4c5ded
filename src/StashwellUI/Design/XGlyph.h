#pragma once

// A mark placed beside text; it holds no state and does not react to input.

#include <QColor>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace sw {

// The letter of X, bold, in the text colour of its surroundings.
class XGlyph : public QWidget {
    Q_OBJECT
public:
    static constexpr double kDefaultSize = 12;

    explicit XGlyph(double size = kDefaultSize, QWidget *parent = nullptr);

    double glyphSize() const { return m_size; }
    void setGlyphSize(double size);
    // The colour it is drawn in; invalid (the default) means the text colour of the theme.
    void setColor(const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static void paint(QPainter &painter, const QRectF &square, const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_size;
    QColor m_color;
};

}  // namespace sw
