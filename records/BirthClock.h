// SPDX-License-Identifier: AGPL-3.0-or-later
// The words that say which clock a birth's time is in when the form moved it into a row's clock.
#pragma once

#include "records/Birth.h"
#include "records/Calendar.h"
#include "records/TimeZones.h"

#include <string>

// "9:45 Indian Time; 10:00 at the place, UTC+5:45", with the place's date when it is another day
// ("23:55 Indian Time; 0:10 on June 2, 1990 at the place, UTC+5:45"); empty when the time was not
// moved or the place's clock is not known.
inline std::string MovedTimeText(const Birth& b) {
    if (!b.placeClock)
        return {};
    const PlaceClock& p = *b.placeClock;
    const auto clock = [](int hour, int minute) { return std::to_string(hour) + ":" + TwoDigits(minute); };
    std::string out = clock(b.hour, b.minute) + " " + std::string(TimeZoneRowName(b.zoneRow)) + "; " +
                      clock(p.hour, p.minute);
    // Hour 24 is the next day's midnight: the dates are compared as days.
    const auto shownDay = DayOf(b.year, b.month, b.day) + std::chrono::days{b.hour / 24};
    const auto placeDay = DayOf(p.year, p.month, p.day) + std::chrono::days{p.hour / 24};
    if (shownDay != placeDay)
        out += " on " + LongDate(std::chrono::year_month_day{DayOf(p.year, p.month, p.day)});
    return out + " at the place, " + UtcOffsetText(p.offsetSeconds);
}
