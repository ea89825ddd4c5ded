#pragma once

// A pulsing placeholder bar, the shape of a line of text or a picture that is not there yet: the
// hover colour, fading between full and half opacity for as long as it is on screen.

#include <QWidget>

#include <optional>

class QVariantAnimation;

namespace sw {

class Skeleton : public QWidget {
    Q_OBJECT
public:
    // One half of the pulse, from full to half opacity or back.
    static constexpr int kHalfCycleMilliseconds = 550;
    static constexpr double kDimOpacity = 0.5;

    // Without a width the bar fills the width it is given, from the leading edge.
    explicit Skeleton(std::optional<double> width, double height, QWidget *parent = nullptr);

    std::optional<double> barWidth() const { return m_width; }
    double barHeight() const { return m_height; }

    // Half the height, at most 12: bars up to 24 points tall have round ends.
    static double cornerRadius(double height) { return std::min(height * 0.5, 12.0); }

    // Whether the pulse has begun (it begins the first time the bar is shown and never stops
    // while it is).
    bool isDim() const { return m_dim; }
    // The opacity the bar is drawn at now.
    double opacity() const { return m_opacity; }

    // The bar within a widget of `size`.
    QRectF bar(const QSizeF &size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<double> m_width;
    double m_height;
    bool m_dim = false;
    double m_opacity = 1;
    QVariantAnimation *m_pulse = nullptr;
};

}  // namespace sw
