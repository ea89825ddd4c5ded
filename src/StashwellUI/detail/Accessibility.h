#pragma once

// Installs a factory of accessible interfaces once, however many widgets that need it are made.

#include <QAccessible>

namespace sw::Accessibility {

void installFactory(QAccessible::InterfaceFactory factory);

}  // namespace sw::Accessibility
