#pragma once

// The base of the painted buttons: a QAbstractButton, so that clicks, Space, pressing and
// releasing, focus and disabling behave as in every Qt button (a disabled one emits nothing),
// which draws its whole look itself and takes presses only inside its shape (a capsule, a circle,
// or its rectangle). Return and Enter press a focused control too.
//
// Each control's painter draws the "plain button style" every control of the interface sits on
// (ControlPainting::applyPlainStyle: the label dims while pressed and when disabled); the base
// draws a ring that shows keyboard focus.
//
// The title is kept by the control, not in QAbstractButton::text(), so that an "&" in a name
// never becomes a keyboard mnemonic.

#include "StashwellUI/Controls/AccessibleControl.h"
#include "StashwellUI/Controls/ControlPainting.h"

#include <QAbstractButton>
#include <QPainterPath>

#include <memory>

namespace sw {

class Pressable : public QAbstractButton, public AccessibleControl {
    Q_OBJECT
public:
    explicit Pressable(QWidget *parent = nullptr);
    ~Pressable() override;

    // The state the control is drawn in now.
    ControlState controlState() const;

    // The area that takes presses, in widget coordinates; the whole rectangle unless overridden.
    virtual QPainterPath hitShape() const;

    // AccessibleControl
    QAccessible::Role accessibleRole() const override { return QAccessible::Button; }
    bool canPress() const override { return true; }
    void accessiblePress() override { click(); }

protected:
    // Paints the control in `rect` (the widget's rectangle) for `state`. The painter is
    // antialiased.
    virtual void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) = 0;

    void setHoverTracked(bool tracked);
    bool hitButton(const QPoint &pos) const override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

    // For setters: repaints, and relays out when the size the control wants has changed.
    void changed(bool sizeChanged = false);

    // Everything paintControl() reads besides the state, the size, the pixel ratio and the
    // theme, for a control that keeps its drawing as an image and copies it while none of these
    // changed: a control over a backdrop that repaints often (the bar's, over the scrolling shelf;
    // a section's, which moves with it) is repainted with it on every frame, always alike. Empty,
    // the default: drawn anew on every paint.
    virtual QString keptLook() const;

private:
    struct Layer;
    std::unique_ptr<Layer> m_layer;
    bool m_hovered = false;
    bool m_returnDown = false;
    bool m_ringDrawn = false;
    void setHovered(bool hovered);
    bool showsFocusRing() const;
};

}  // namespace sw
