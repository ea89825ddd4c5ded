#pragma once

// A checkbox: a small rounded box, filled with the accent colour and ticked while on, followed by
// its title. A press anywhere on it (box or title) flips it and emits toggled() with the new
// value; Space does the same while it has the focus. Return is left to the window (a form's
// default action), as a checkbox does. setChecked() from its owner shows the
// owner's value without emitting clicked().

#include "StashwellUI/Controls/Pressable.h"

#include <QString>

namespace sw {

class CheckToggle : public Pressable {
    Q_OBJECT
public:
    static constexpr double boxSide = 16;
    static constexpr double boxRadius = 4;
    static constexpr double spacing = 7;

    explicit CheckToggle(const QString &title = QString(), QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QAccessible::Role accessibleRole() const override { return QAccessible::CheckBox; }
    QString accessibleText() const override { return m_title; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    void checkStateSet() override;
    void nextCheckState() override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QString m_title;
};

}  // namespace sw
