#pragma once

// A web page built to make a careless reader slow: the same unclosed tag head, "<meta <title>",
// over and over up to the size asked for, with no closing tag and no attribute anywhere.

#include <QByteArray>

namespace sw::test {

inline QByteArray hostilePage(qsizetype bytes)
{
    static constexpr QByteArrayView kUnit = "<meta <title>";
    QByteArray page;
    page.reserve(bytes);
    while (page.size() + kUnit.size() <= bytes)
        page.append(kUnit);
    page.append(kUnit.first(bytes - page.size()));
    return page;
}

}  // namespace sw::test
