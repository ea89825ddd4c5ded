#include "StashwellUI/detail/Accessibility.h"

#include <algorithm>
#include <vector>

namespace sw::Accessibility {

void installFactory(QAccessible::InterfaceFactory factory)
{
    // Qt keeps every factory it is given and asks each in turn: one given twice would be asked twice.
    static std::vector<QAccessible::InterfaceFactory> installed;
    if (std::find(installed.begin(), installed.end(), factory) != installed.end())
        return;
    installed.push_back(factory);
    QAccessible::installFactory(factory);
}

}  // namespace sw::Accessibility
