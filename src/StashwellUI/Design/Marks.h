#pragma once

// Three small marks placed beside text: the application's own mark (LogoMark), the letter of the
// social network X (XGlyph) and a small coloured square for a collection (SwatchDot). None holds
// state or reacts to input.

#include <QColor>
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
