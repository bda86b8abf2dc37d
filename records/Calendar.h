// SPDX-License-Identifier: AGPL-3.0-or-later
// Dates on the standard library's calendar, and the ways the program writes dates and clock readings.
// std::chrono::sys_days counts the days of the proleptic Gregorian calendar from 1970-01-01, for
// carrying clock times across dates and comparing dates; year_month_day names a day. (The birth
// moment keeps its own Julian day formula.)
#pragma once

#include "records/Vocabulary.h"

#include <chrono>
#include <string>

// The day of a date. A day beyond its month's end carries into the next month, as hour 24 carries
// into the next day.
constexpr std::chrono::sys_days DayOf(int year, int month, int day) {
    return std::chrono::sys_days{std::chrono::year{year} / month / 1} + std::chrono::days{day - 1};
}

// A number of 0 to 99 in two digits, as clock readings and file names write it: 7 -> "07".
inline std::string TwoDigits(long long n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// "UTC+5:30", "UTC-4:00", "UTC+0:00"; seconds only when there are any ("UTC+5:53:28").
inline std::string UtcOffsetText(int offsetSeconds) {
    const int size = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
    std::string out = std::string("UTC") + (offsetSeconds < 0 ? "-" : "+") + std::to_string(size / 3600) +
                      ":" + TwoDigits(size / 60 % 60);
    if (size % 60 != 0)
        out += ":" + TwoDigits(size % 60);
    return out;
}

// "August 15, 1947", as the reading writes the date of birth and the periods.
inline std::string LongDate(const std::chrono::year_month_day& date) {
    return std::string(MonthName(static_cast<int>(static_cast<unsigned>(date.month())))) + " " +
           std::to_string(static_cast<unsigned>(date.day())) + ", " +
           std::to_string(static_cast<int>(date.year()));
}

// "15 August 1947", as the zone line writes a date.
inline std::string LongDateDayFirst(const std::chrono::year_month_day& date) {
    return std::to_string(static_cast<unsigned>(date.day())) + " " +
           std::string(MonthName(static_cast<int>(static_cast<unsigned>(date.month())))) + " " +
           std::to_string(static_cast<int>(date.year()));
}
