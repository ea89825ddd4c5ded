#pragma once

// A circular button: one symbol on a round piece of interactive glass. Its label names the action:
// it is the tooltip and what assistive technologies read. The press is clicked().
//
// paint() draws it without a widget, for views that draw many saves in one widget.

#include "StashwellUI/Controls/Pressable.h"

#include <QColor>
#include <QString>

#include <optional>

namespace sw {

class RoundIconButton : public Pressable {
    Q_OBJECT
public:
    static constexpr double defaultSize = 32;

    explicit RoundIconButton(QWidget *parent = nullptr);
    RoundIconButton(const QString &symbol, const QString &label, QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    QString label() const { return m_label; }
    void setLabel(const QString &label);
    // The symbol's colour; the muted colour of the current appearance until one is set.
    QColor tint() const;
    void setTint(const QColor &tint);
    void resetTint();
    // The diameter.
    double diameter() const { return m_size; }
    void setDiameter(double size);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QString accessibleText() const override { return m_label; }

    // The type size the symbol is drawn at: 0.42 of the diameter.
    static double symbolTypeSize(double diameter) { return diameter * 0.42; }
    static void paint(QPainter &painter, const QRectF &bounds, const QString &symbol, const QColor &tint,
                      const ControlState &state);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    QString m_symbol;
    QString m_label;
    std::optional<QColor> m_tint;
    double m_size = defaultSize;
};

}  // namespace sw
