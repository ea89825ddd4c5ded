#include "StashwellUI/Design/Formatting.h"

#include "Capture/StringTable.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace sw::Formatting {

namespace {

// `value` with exactly `decimals` decimals, rounded as printf's "%.Nf" rounds, but independent of
// the process locale (Qt sets LC_NUMERIC from the environment, and printf would follow it).
QString fixed(double value, int decimals)
{
    std::array<char, 512> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

// Truncates toward zero, saturating at the 64-bit range (an infinite interval is the largest count).
std::int64_t wholeTruncated(double value)
{
    constexpr double limit = 9223372036854775807.0;   // rounds to 2^63
    if (std::isnan(value))
        return 0;
    if (value >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::trunc(value));
}

}  // namespace

QString bytes(std::int64_t count)
{
    const double k = static_cast<double>(count) / 1024.0;
    const double m = k / 1024.0;
    const double g = m / 1024.0;
    if (g >= 1)
        return fixed(g, 2) + QStringLiteral(" GB");
    if (m >= 1)
        return fixed(m, 1) + QStringLiteral(" MB");
    const double floor = count >= 1 ? 1.0 : 0.0;
    return fixed(k > floor ? k : floor, 0) + QStringLiteral(" KB");
}

QString duration(std::int64_t seconds)
{
    const std::int64_t minutes = seconds / 60;
    const std::int64_t rest = seconds - 60 * minutes;
    QString text = QString::number(minutes) + u':';
    // "%02d": at least two characters, a sign counting as one.
    const QString restText = QString::number(rest);
    if (restText.size() < 2)
        text += u'0';
    return text + restText;
}

QString duration(Duration length) { return duration(length.wholeSeconds()); }

QString ago(Date date, Date now)
{
    const double interval = now.secondsSince(date);
    if (!(interval >= 60))   // also NaN and every future date
        return StashwellUIStrings::timeNow();
    if (interval < 3600)
        return StashwellUIStrings::timeMinutes(wholeTruncated(interval / 60));
    if (interval < 86400)
        return StashwellUIStrings::timeHours(wholeTruncated(interval / 3600));
    if (interval < 604800)
        return StashwellUIStrings::timeDays(wholeTruncated(interval / 86400));
    return StashwellUIStrings::timeWeeks(wholeTruncated(interval / 604800));
}

bool isNow(Date date, Date now)
{
    const double interval = now.secondsSince(date);
    return interval < 60;   // false for NaN
}

QLocale dateLocale(const QLocale &chosen)
{
    const QString tables = StringTable::languageFor(chosen);
    const QLocale written(tables);
    if (chosen.language() == written.language() &&
        (written.language() != QLocale::Chinese || chosen.script() == written.script()))
        return chosen;
    return written;
}

QLocale interfaceLocale() { return dateLocale(StringTable::locale()); }

}  // namespace sw::Formatting
