// SPDX-License-Identifier: AGPL-3.0-or-later
// What the reading's unrounded longitudes give beyond the chart: the Vimshottari periods from the
// Moon, the navamsa chart, and the table of every body's position with its nakshatra and pada.
#pragma once

#include "records/Calendar.h"
#include "records/Reading.h"
#include "records/Vocabulary.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Moments are minutes from 1970-01-01 00:00 universal time. A year is 365.25 days unless the reading's
// conventions choose another length; with 365.25 or 360, every major period and every sub-period (major
// years x sub-period years / 120) lasts a whole number of minutes and the boundaries after the first
// stay exact.
inline constexpr double kMinutesPerYear = 365.25 * 1440;

struct Period {
    BodySlot lord = BodySlot::Ketu;
    int years = 0; // of the lord's major period, whichever this is
    double start = 0.0;
    double end = 0.0;
};

struct MajorPeriod {
    Period period;
    std::array<Period, 9> subPeriods;
};

using Vimshottari = std::array<MajorPeriod, 9>;

// The nine major periods from the Moon's sidereal longitude at the birth moment: the first is the
// lord of the Moon's nakshatra, begun as long before birth as the part of the nakshatra the Moon has
// already passed; years of daysPerYear days.
Vimshottari VimshottariPeriods(double moonLongitude, double birthMinutes, double daysPerYear = 365.25);

// The periods of a reading: its Moon at its birth moment, in the years of its conventions.
Vimshottari ReadingPeriods(const Reading& reading);

// The birth moment in universal time, as the reading's planets take it.
double BirthMinutesUT(const Birth& birth);

// Minutes to add to the birth's local clock to get universal time, as its reading took them: the zone,
// one hour less under daylight saving.
long long ZoneMinutes(const Birth& birth);

// The calendar date at a moment in the birth's local time: the reading's zone, one hour later under
// daylight saving.
std::chrono::year_month_day LocalDateOf(double minutesUT, const Birth& birth);

// "1987-01-01"; the views write it "January 1, 1987" (LongDate).
std::string IsoDate(const std::chrono::year_month_day& date);

// The nine parts of a period in the Vimshottari order from the period's own lord, each lasting the
// period's length x its lord's years / 120: a sub-period's pratyantar periods. Made when asked for,
// so that the periods of a reading stay two levels deep. The parts follow one another without a gap
// and the last ends where the period does.
std::array<Period, 9> PratyantarPeriods(const Period& subPeriod);

// What remains of the first major period at the birth moment. Counted down from the remaining
// minutes: whole years of the periods' length, then whole months of a twelfth of that year, then
// whole days; each rounded down (a hair under a second is allowed for the rounding of the minutes).
struct PeriodBalance {
    BodySlot lord = BodySlot::Ketu;
    int years = 0;
    int months = 0;
    int days = 0;
};
PeriodBalance BalanceAtBirth(const Vimshottari& periods, double birthMinutes, double daysPerYear = 365.25);
PeriodBalance ReadingBalance(const Reading& reading);

// "Ketu 3 years 4 months 1 day".
std::string BalanceText(const PeriodBalance& balance);

// A person's age on a day as the calendar counts it: whole years and months from the local date of
// birth to the local date of the moment (a month is complete on the day of the month of birth, or on
// the month's last day when it is shorter). None for a moment before the birth moment.
struct Age {
    int years = 0;
    int months = 0;
};
std::optional<Age> AgeAt(double minutesUT, const Birth& birth);

// "12 y 3 m".
std::string AgeText(const Age& age);

// Index (0..8) of the period running at the moment, or -1 when none is.
int RunningPeriod(const Vimshottari& periods, double minutesUT);
int RunningPeriod(const std::array<Period, 9>& periods, double minutesUT);

// The periods as lines "Ketu 1980-01-01 1987-01-01", each major followed by its nine sub-periods
// indented by two blanks, the dates in the birth's local time, every line ended by CR LF. Depth 1
// writes the majors only; depth 3 follows each sub-period by its nine pratyantar periods indented by
// four blanks.
std::string PeriodLines(const Vimshottari& periods, const Birth& birth, int depth = 2);

// Sign (0 Aries .. 11 Pisces) of the navamsa in which a sidereal longitude stands.
int NavamsaSign(double longitude);

// Entries of the navamsa chart's twelve signs, as ChartCellEntries gives the rasi chart's: "Asc"
// first, then the labels of the Sun to Ketu in body order, retrograde marks included.
std::array<std::vector<std::string>, 12> NavamsaCellEntries(const Reading& reading);

// One row of the positions table.
struct PositionRow {
    BodySlot body = BodySlot::Sun;
    int sign = 0; // 0..11
    int degrees = 0;
    int minutes = 0;
    int seconds = 0; // each cut, as the position texts cut them
    std::string nakshatra;
    int pada = 0; // 1..4, the quarter of the nakshatra the longitude stands in
    bool retrograde = false;
};

// "19° 27' 44\" Lib", as the reading writes a position.
std::string PositionText(const PositionRow& row);

// The row of a longitude; `retrograde` is left false.
PositionRow PositionOf(BodySlot body, double longitude);

// The Sun to Ketu, the ascendant and the midheaven of a reading.
std::vector<PositionRow> PositionRows(const Reading& reading);
