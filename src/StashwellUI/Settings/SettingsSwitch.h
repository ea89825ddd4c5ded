#pragma once

// The on/off switch of the settings rows: a capsule track with a round knob, the track filled with
// the accent colour while on. Its setting's name is read by assistive technologies only; the row
// beside it shows the name. A press or Space flips it and emits toggled(); setChecked() from its
// owner shows the owner's value without emitting clicked().

#include "StashwellUI/Controls/Pressable.h"

#include <QString>

namespace sw {

class SettingsSwitch : public Pressable {
    Q_OBJECT
public:
    static constexpr double trackWidth = 38;
    static constexpr double trackHeight = 22;
    static constexpr double knobInset = 2;

    explicit SettingsSwitch(const QString &name = QString(), QWidget *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QPainterPath hitShape() const override;
    QAccessible::Role accessibleRole() const override { return QAccessible::CheckBox; }
    QString accessibleText() const override { return m_name; }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    QString m_name;
    QRectF track() const;
};

}  // namespace sw
