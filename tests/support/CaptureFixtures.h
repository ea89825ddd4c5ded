#pragma once

// The builders every model test needs: addresses that must parse, links of both sources and
// fixed identifiers that expectations can name.

#include "Capture/PostLink.h"
#include "Capture/Url.h"

#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <optional>

namespace sw::fixtures {

inline Url url(const QString &text)
{
    const std::optional<Url> parsed = Url::parse(text);
    if (!parsed)
        qFatal("test URL does not parse: %s", qPrintable(text));
    return *parsed;
}

inline PostLink xLink(const QString &handle = QStringLiteral("someone"), const QString &digits = QStringLiteral("1"))
{
    return PostLink::x(Handle{handle}, StatusID{digits});
}

inline PostLink webLink(const QString &text = QStringLiteral("https://news.example.com/story"))
{
    return PostLink::web(url(text));
}

// The UUID whose last group is n in decimal digits.
inline QUuid fixedUuid(int n)
{
    return QUuid(QStringLiteral("00000000-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0')));
}

}  // namespace sw::fixtures
