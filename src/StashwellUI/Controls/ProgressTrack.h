#pragma once

// A thin bar showing a fraction as the filled part of a rounded track. The fill is never narrower
// than the bar is high (a dot at the leading end for 0 or less) and never wider than the track
// (a fraction above 1 fills it); a fraction that is not a number draws as 0. Changes of the
// fraction animate with the quick animation. Assistive technologies read it as a whole
// percentage of the fraction as given (1.25 reads 125), 0 for a fraction that is not finite.

#include "StashwellUI/Controls/AccessibleControl.h"

#include <QColor>
#include <QWidget>

#include <optional>

class QVariantAnimation;

namespace sw {

class ProgressTrack : public QWidget, public AccessibleControl {
    Q_OBJECT
public:
    static constexpr double defaultHeight = 6;

    explicit ProgressTrack(double fraction = 0, QWidget *parent = nullptr);

    double fraction() const { return m_fraction; }
    void setFraction(double fraction);
    double barHeight() const { return m_height; }
    void setBarHeight(double height);
    // The fill's colour; the accent colour until one is set.
    QColor tint() const;
    void setTint(const QColor &tint);

    // The fraction being drawn now, on its way to fraction() while the change animates.
    double shownFraction() const { return m_shown; }

    // The filled part of a track in `bounds` whose bar is `height` high.
    static QRectF fillRect(const QRectF &bounds, double height, double fraction);
    static void paint(QPainter &painter, const QRectF &bounds, double height, double fraction, const QColor &tint);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::ProgressBar; }
    QString accessibleText() const override { return {}; }
    QString accessibleValue() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_fraction = 0;
    double m_shown = 0;
    double m_height = defaultHeight;
    std::optional<QColor> m_tint;
    QVariantAnimation *m_animation = nullptr;
};

}  // namespace sw
