#pragma once

// The short texts of the quantities the interface shows over and over: a size in bytes, the length
// of a video and the age of a save or post, so that the same quantity reads the same everywhere.
// All pure: the present moment is always handed in.

#include "Capture/Date.h"
#include "Capture/Duration.h"

#include <QLocale>
#include <QString>

#include <cstdint>

namespace sw::Formatting {

// In steps of 1024: "1.00 GB" (two decimals) from 1 GiB, "1.0 MB" (one decimal) from 1 MiB,
// otherwise whole kilobytes, at least "1 KB" for any size from 1 byte; 0 or less is "0 KB".
// Never localised: a full stop, no grouping, fixed unit words.
QString bytes(std::int64_t bytes);

// "minutes:seconds" from the whole seconds (the fraction dropped), minutes never carried into
// hours: 3725 s is "62:05".
QString duration(Duration length);
QString duration(std::int64_t wholeSeconds);

// The age of `date` at `now`: "time.now" below a minute (and for a future date or an unreadable
// interval), then whole minutes, hours, days, or weeks (a year is 52 weeks).
QString ago(Date date, Date now);

// True when `date` is less than 60 seconds before `now`, which includes every future date.
bool isNow(Date date, Date now);

// The locale that month names and date orders follow for an interface whose string tables were
// chosen from `chosen`: `chosen` itself when its language is the tables' language (so "en_GB"
// keeps its day-first dates), otherwise the tables' language, so that a date never reads in
// another language than the words around it (a French system without French tables shows English).
QLocale dateLocale(const QLocale &chosen);
// dateLocale() of the locale the string tables of this process load.
QLocale interfaceLocale();

}  // namespace sw::Formatting
