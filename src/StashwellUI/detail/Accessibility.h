#pragma once

// What the module's accessible objects share: their factories installed once, however many
// widgets that need them are made, and the painted parts (a menu's row, a shelf's item) that are
// no widgets yet can be acted on.

#include <QAccessible>
#include <QAccessibleActionInterface>

namespace sw::Accessibility {

void installFactory(QAccessible::InterfaceFactory factory);

// A painted part with actions: it answers for the action interface itself.
class ActionablePart : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
};

}  // namespace sw::Accessibility
