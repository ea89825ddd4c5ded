#include "StashwellUI/Controls/AccessibleControl.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QWidget>

namespace sw {

namespace {

class ControlInterface : public QAccessibleWidget {
public:
    ControlInterface(QWidget *widget, AccessibleControl *control)
        : QAccessibleWidget(widget, control->accessibleRole()), m_control(control)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            const QString own = widget()->accessibleName();
            return own.isEmpty() ? m_control->accessibleText() : own;
        }
        case QAccessible::Value:
            return m_control->accessibleValue();
        case QAccessible::Description: {
            const QString own = widget()->accessibleDescription();
            return own.isEmpty() ? widget()->toolTip() : own;
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::Role role() const override { return m_control->accessibleRole(); }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (m_control->isAccessiblySelectable()) {
            state.selectable = true;
            state.selected = m_control->isAccessiblySelected();
        }
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget()))
            state.pressed = button->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (m_control->canPress() && widget()->isEnabled())
            names.prepend(QAccessibleActionInterface::pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == QAccessibleActionInterface::pressAction()) {
            if (m_control->canPress() && widget()->isEnabled())
                m_control->accessiblePress();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    AccessibleControl *m_control;
};

QAccessibleInterface *controlFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (auto *control = dynamic_cast<AccessibleControl *>(widget))
        return new ControlInterface(widget, control);
    return nullptr;
}

}  // namespace

void AccessibleControl::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void AccessibleControl::notifySelectionChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

void AccessibleControl::notifyNameChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void AccessibleControl::notifyValueChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, QAccessible::ValueChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace sw
