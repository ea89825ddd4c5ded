#pragma once

// What assistive technologies learn of a painted control. A painted widget draws its title
// itself, so Qt cannot read it from a QLabel or a button text; a control that implements this
// interface tells its role, its name (when no accessible name was set on the widget), its value,
// whether it can be and is selected, and what pressing it does.

#include <QAccessible>
#include <QString>

class QWidget;

namespace sw {

class AccessibleControl {
public:
    virtual ~AccessibleControl() = default;

    virtual QAccessible::Role accessibleRole() const = 0;
    // The name read when the widget has no accessibleName of its own.
    virtual QString accessibleText() const = 0;
    virtual QString accessibleValue() const { return {}; }
    // Segments, chips and rows are selectable; the chosen one is selected.
    virtual bool isAccessiblySelectable() const { return false; }
    virtual bool isAccessiblySelected() const { return false; }
    // The press action; controls without one return false from canPress().
    virtual bool canPress() const { return false; }
    virtual void accessiblePress() {}

    // Makes Qt build the accessible interface of every widget that implements this one. Called
    // by each such widget's constructor; only the first call does anything.
    static void install();

    // Tells assistive technologies that the selected state of `widget` changed.
    static void notifySelectionChanged(QWidget *widget);
    // Tells them that the name, value or description changed.
    static void notifyNameChanged(QWidget *widget);
    static void notifyValueChanged(QWidget *widget);
};

}  // namespace sw
