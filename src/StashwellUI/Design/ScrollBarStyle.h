#pragma once

// The application's one scroll bar: a thin rounded thumb in the design's colours, with no arrow
// buttons and no trough, lying over the edge of the content it scrolls instead of taking room
// beside it. Under the pointer it widens and a faint track shows, as desktop overlay scroll bars
// do. It is the application style (install() puts it in force for every widget), so every scroll
// area, in every window, gets it without asking; everything but scroll bars is drawn by Fusion,
// which it wraps (the application's palettes are drawn for Fusion). Its colours are read when it paints, and every scroll bar repaints when the theme
// changes.
//
// A scroll area whose top or bottom lies under a bar of the window keeps its scroll bar out from
// under it with setEdgeInsets().

#include <QProxyStyle>

class QScrollBar;
class QStyleOptionSlider;

namespace sw {

class ScrollBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int extent = 14;          // the strip the bar takes over the content, across
    static constexpr int restThickness = 6;    // the thumb, across, while the pointer is elsewhere
    static constexpr int hoverThickness = 10;  // the thumb and track, across, under the pointer
    static constexpr int sideMargin = 2;       // between the thumb and the content's edge
    static constexpr int endMargin = 3;        // before the track's ends
    static constexpr int minimumThumb = 32;

    // Wraps Fusion.
    ScrollBarStyle();

    // Makes a ScrollBarStyle the application style, unless it is one already. Needs a QApplication.
    static void install();

    // Keeps `bar`'s track `start` pixels from its top (or left) and `end` from its bottom (or right).
    static void setEdgeInsets(QScrollBar &bar, int start, int end);

    // The thumb's colour: stronger under the pointer, strongest while held.
    static QColor thumbColor(bool hovered, bool pressed);
    // The track's colour under the pointer.
    static QColor trackColor();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &point,
                                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The track along the bar (the whole length between the end margins and the edge insets).
    static QRect groove(const QStyleOptionSlider &option, const QWidget *widget);
    // The thumb along the track, as long as the visible share of the content and as thick as the
    // pointer makes it.
    static QRect thumb(const QStyleOptionSlider &option, const QWidget *widget, int thickness);
    static bool isHovered(const QStyleOption &option);
};

}  // namespace sw
