#pragma once

// A point in time as the archive stores it: seconds since 2001-01-01 00:00:00 UTC.

#include "Capture/Json.h"

#include <QDateTime>
#include <QHashFunctions>

#include <compare>
#include <cstddef>
#include <functional>
#include <string>

namespace sw {

struct Date {
    // 2001-01-01 00:00:00 UTC in seconds since the Unix epoch.
    static constexpr double kReferenceUnixSeconds = 978307200.0;

    double sinceReference = 0;

    friend bool operator==(const Date &, const Date &) = default;
    friend auto operator<=>(const Date &, const Date &) = default;

    // Seconds since the Unix epoch.
    static Date fromUnixSeconds(double seconds) { return Date{seconds - kReferenceUnixSeconds}; }
    double unixSeconds() const { return sinceReference + kReferenceUnixSeconds; }

    // QDateTime is for display only; milliseconds are the finest it holds. An invalid QDateTime
    // gives the reference date.
    static Date fromDateTime(const QDateTime &dateTime);
    QDateTime toDateTime() const;   // UTC; invalid when the value is not finite or out of range

    // The current time from the system clock. Code that needs the time takes a clock; this is
    // the default one.
    static Date now();

    Date addingSeconds(double seconds) const { return Date{sinceReference + seconds}; }
    // this - other, in seconds.
    double secondsSince(Date other) const { return sinceReference - other.sinceReference; }

    // A JSON number of seconds (with fraction).
    JsonValue toJson() const { return JsonValue(sinceReference); }
    void writeJson(std::string &out) const { writeJsonDouble(out, sinceReference); }
    static Date fromJson(const JsonNode &node) { return Date{node.number()}; }
};

// 0.0 and -0.0 are equal and hash alike.
std::size_t qHash(Date date, std::size_t seed = 0) noexcept;

}  // namespace sw

template <> struct std::hash<sw::Date> {
    std::size_t operator()(sw::Date d) const noexcept { return sw::qHash(d, 0); }
};
