#include "Stashwell/Preferences/StartupPreferences.h"

#include "Stashwell/Preferences/Preferences.h"

#include <cmath>
#include <limits>

namespace sw::app {

namespace {

// The whole number a value holds: integers of any width, and numbers without a fraction (a file
// may write 20 as 20.0); never text or a Boolean.
std::optional<std::int64_t> wholeNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const qulonglong n = value.toULongLong();
        if (n > qulonglong(std::numeric_limits<std::int64_t>::max()))
            return std::nullopt;
        return std::int64_t(n);
    }
    case QMetaType::Double: {
        const double d = value.toDouble();
        // 2^63 and beyond do not fit; the comparison is exact for doubles.
        if (!std::isfinite(d) || d != std::trunc(d) || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
            return std::nullopt;
        return std::int64_t(d);
    }
    default:
        return std::nullopt;
    }
}

std::optional<QString> text(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

}  // namespace

Theme StartupPreferences::themeFrom(const QVariant &value)
{
    const auto raw = text(value);
    return raw ? themeFromRawValue(*raw).value_or(Theme::system) : Theme::system;
}

NetworkRoute StartupPreferences::routeFrom(const QVariant &value)
{
    const auto raw = text(value);
    if (!raw)
        return NetworkRoute::system();
    return NetworkRoute::fromRawValue(raw->trimmed()).value_or(NetworkRoute::system());
}

bool StartupPreferences::downloadsOnSaveFrom(const QVariant &value)
{
    return value.typeId() == QMetaType::Bool ? value.toBool() : true;
}

std::optional<std::int64_t> StartupPreferences::mediaLimitFrom(const QVariant &value)
{
    const auto gibibytes = wholeNumber(value);
    if (!gibibytes)
        return std::nullopt;
    // n × 2^30 must fit: n within -2^33 ... 2^33 - 1.
    constexpr std::int64_t bound = std::int64_t(1) << 33;
    if (*gibibytes < -bound || *gibibytes >= bound)
        return std::nullopt;
    return *gibibytes * (std::int64_t(1) << 30);
}

Quality StartupPreferences::qualityFrom(const QVariant &value)
{
    const auto raw = text(value);
    return raw ? Quality::fromRawValue(*raw).value_or(Quality(Quality::original)) : Quality(Quality::original);
}

StartupPreferences StartupPreferences::read(const Preferences &preferences)
{
    StartupPreferences read;
    read.theme = themeFrom(preferences.value(Preferences::theme));
    read.route = routeFrom(preferences.value(Preferences::networkRoute));
    read.downloadsOnSave = downloadsOnSaveFrom(preferences.value(Preferences::downloadsOnSave));
    read.mediaLimit = mediaLimitFrom(preferences.value(Preferences::mediaLimitGB));
    read.quality = qualityFrom(preferences.value(Preferences::quality));
    return read;
}

}  // namespace sw::app
