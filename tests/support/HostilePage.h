#pragma once

#include <QByteArray>

namespace sw::test {

// A page made to slow a careless reader down: "<meta <title>" over and over, never closed.
inline QByteArray hostilePage(qsizetype bytes)
{
    static constexpr QByteArrayView kUnit = "<meta <title>";
    QByteArray page;
    page.reserve(bytes);
    while (page.size() < bytes)
        page.append(kUnit.first(std::min(kUnit.size(), bytes - page.size())));
    return page;
}

}  // namespace sw::test
