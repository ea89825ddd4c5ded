#include "Capture/Date.h"


#include <cmath>
#include <limits>

namespace sw {

Date Date::fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return Date{};
    return Date::fromUnixSeconds(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

QDateTime Date::toDateTime() const
{
    const double ms = std::round(unixSeconds() * 1000.0);
    // QDateTime holds milliseconds in 64 bits; keep well inside that range.
    if (!std::isfinite(ms) || std::fabs(ms) > 9.0e15)
        return QDateTime();
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ms), Qt::UTC);
}

Date Date::now()
{
    return Date::fromUnixSeconds(static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}

std::size_t qHash(Date date, std::size_t seed) noexcept
{
    const double d = date.sinceReference == 0 ? 0.0 : date.sinceReference;   // -0.0 → 0.0
    return ::qHash(d, seed);
}

}  // namespace sw
