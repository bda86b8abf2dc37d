// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Periods.h"

#include "pipeline/Vargas.h"

#include "astro/Moon.h"
#include "astro/Nakshatras.h"
#include "astro/Planets.h"
#include "astro/Retrogrades.h"
#include "reading/ReadingTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kMinutesPerDay = 1440;
// A sub-period of major years Y and sub-period years y lasts Y * y * (minutes a year / 120) minutes:
// with 365.25-day years that is exactly 4383, so the default periods are whole minutes.
static_assert(kMinutesPerYear / 120 == 4383);

// Degrees into 0..360.
double Wrapped(double longitude) {
    double w = std::fmod(longitude, 360.0);
    if (w < 0)
        w += 360;
    return w;
}

std::size_t Slot(BodySlot body) {
    return static_cast<std::size_t>(body);
}

} // namespace

long long ZoneMinutes(const Birth& birth) {
    long long offset = birth.tzHoursSigned * 60LL + birth.tzMinutesSigned;
    if (birth.dst)
        offset -= 60;
    return offset;
}

Vimshottari VimshottariPeriods(double moonLongitude, double birthMinutes, double daysPerYear) {
    const double minutesPerYear = daysPerYear * kMinutesPerDay;
    const double subPeriodMinutesPerYearSquared = minutesPerYear / 120;
    // Times 27 before dividing by 360: the nearest double to a nakshatra's first point (93 20, Pushya)
    // gives that nakshatra, where dividing by 360 / 27, which no double holds, can land a hair short
    // in the one before.
    const double nakshatras = Wrapped(moonLongitude) * kNakshatraCount / 360;
    const double whole = std::floor(nakshatras);
    const double passed = nakshatras - whole;
    const auto first = static_cast<std::size_t>(static_cast<int>(whole) % kNakshatraCount % 9);

    Vimshottari periods;
    const double start = birthMinutes - passed * kNakshatraLords[first].years * minutesPerYear;
    int yearsBefore = 0;
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const PeriodLord& lord = kNakshatraLords[(first + i) % 9];
        Period& major = periods[i].period;
        major.lord = lord.body;
        major.years = lord.years;
        // From the first start by whole years, so that no rounding adds up along the periods.
        major.start = start + yearsBefore * minutesPerYear;
        yearsBefore += lord.years;
        major.end = start + yearsBefore * minutesPerYear;

        int partsBefore = 0;
        for (std::size_t j = 0; j < 9; ++j) {
            const PeriodLord& sub = kNakshatraLords[(first + i + j) % 9];
            Period& part = periods[i].subPeriods[j];
            part.lord = sub.body;
            part.years = sub.years;
            part.start = major.start + partsBefore * subPeriodMinutesPerYearSquared;
            partsBefore += lord.years * sub.years;
            part.end = major.start + partsBefore * subPeriodMinutesPerYearSquared;
        }
    }
    return periods;
}

std::array<Period, 9> PratyantarPeriods(const Period& subPeriod) {
    std::size_t first = 0;
    while (first < kNakshatraLords.size() && kNakshatraLords[first].body != subPeriod.lord)
        ++first;
    const double length = subPeriod.end - subPeriod.start;
    std::array<Period, 9> parts;
    int partsBefore = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const PeriodLord& lord = kNakshatraLords[(first + k) % 9];
        Period& part = parts[k];
        part.lord = lord.body;
        part.years = lord.years;
        part.start = k == 0 ? subPeriod.start : parts[k - 1].end;
        partsBefore += lord.years;
        // Length times whole years before dividing: with whole-minute sub-periods the product is exact.
        part.end = k + 1 == parts.size() ? subPeriod.end : subPeriod.start + length * partsBefore / 120;
    }
    return parts;
}

PeriodBalance BalanceAtBirth(const Vimshottari& periods, double birthMinutes, double daysPerYear) {
    const Period& first = periods[0].period;
    const double year = daysPerYear * kMinutesPerDay;
    // Allowed so that an exact whole is not cut a unit short by the rounding of the sums: a quarter of
    // Rohini passed leaves 7 years 6 months, which sidereal years miss by a fraction of a second.
    constexpr double kHair = 1.0 / 120; // minutes
    double left = std::max(0.0, first.end - birthMinutes);
    const auto take = [&left](double unit) {
        const double whole = std::floor((left + kHair) / unit);
        left = std::max(0.0, left - whole * unit);
        return static_cast<int>(whole);
    };
    PeriodBalance balance;
    balance.lord = first.lord;
    balance.years = take(year);
    balance.months = take(year / 12);
    balance.days = take(kMinutesPerDay);
    return balance;
}

PeriodBalance ReadingBalance(const Reading& reading) {
    return BalanceAtBirth(ReadingPeriods(reading), BirthMinutesUT(reading.birth),
                          DaysPerYear(reading.conventions.year));
}

std::string BalanceText(const PeriodBalance& balance) {
    const auto count = [](int n, const char* unit) {
        return std::to_string(n) + ' ' + unit + (n == 1 ? "" : "s");
    };
    return std::string(Body(balance.lord).english) + ' ' + count(balance.years, "year") + ' ' +
           count(balance.months, "month") + ' ' + count(balance.days, "day");
}

std::optional<Age> AgeAt(double minutesUT, const Birth& birth) {
    using namespace std::chrono;
    const double birthMinutes = BirthMinutesUT(birth);
    if (minutesUT < birthMinutes)
        return std::nullopt;
    const year_month_day born = LocalDateOf(birthMinutes, birth);
    const year_month_day on = LocalDateOf(minutesUT, birth);
    int months = (static_cast<int>(on.year()) - static_cast<int>(born.year())) * 12 +
                 (static_cast<int>(static_cast<unsigned>(on.month())) -
                  static_cast<int>(static_cast<unsigned>(born.month())));
    const bool lastOfMonth = on.day() == year_month_day_last{on.year(), month_day_last{on.month()}}.day();
    if (on.day() < born.day() && !lastOfMonth)
        --months;
    return Age{months / 12, months % 12};
}

std::string AgeText(const Age& age) {
    return std::to_string(age.years) + " y " + std::to_string(age.months) + " m";
}

Vimshottari ReadingPeriods(const Reading& reading) {
    return VimshottariPeriods(reading.Longitude(BodySlot::Moon), BirthMinutesUT(reading.birth),
                              DaysPerYear(reading.conventions.year));
}

double BirthMinutesUT(const Birth& birth) {
    const CivilDateTime ut = UniversalDateTime(birth);
    return static_cast<double>(DayOf(ut.year, ut.month, ut.day).time_since_epoch().count()) * kMinutesPerDay +
           ut.hour * 60 + ut.minute;
}

std::chrono::year_month_day LocalDateOf(double minutesUT, const Birth& birth) {
    // Universal time is the local clock plus the zone's minutes, so the local clock is the reverse.
    const double local = minutesUT - static_cast<double>(ZoneMinutes(birth));
    return std::chrono::sys_days{
        std::chrono::days{static_cast<long long>(std::floor(local / kMinutesPerDay))}};
}

std::string IsoDate(const std::chrono::year_month_day& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

int RunningPeriod(const std::array<Period, 9>& periods, double minutesUT) {
    for (std::size_t i = 0; i < periods.size(); ++i)
        if (periods[i].start <= minutesUT && minutesUT < periods[i].end)
            return static_cast<int>(i);
    return -1;
}

int RunningPeriod(const Vimshottari& periods, double minutesUT) {
    std::array<Period, 9> majors;
    for (std::size_t i = 0; i < periods.size(); ++i)
        majors[i] = periods[i].period;
    return RunningPeriod(majors, minutesUT);
}

std::string PeriodLines(const Vimshottari& periods, const Birth& birth, int depth) {
    std::string text;
    const auto line = [&](const char* indent, const Period& p) {
        text += indent;
        text += Body(p.lord).english;
        text += ' ';
        text += IsoDate(LocalDateOf(p.start, birth));
        text += ' ';
        text += IsoDate(LocalDateOf(p.end, birth));
        text += "\r\n";
    };
    for (const MajorPeriod& major : periods) {
        line("", major.period);
        if (depth < 2)
            continue;
        for (const Period& sub : major.subPeriods) {
            line("  ", sub);
            if (depth >= 3)
                for (const Period& part : PratyantarPeriods(sub))
                    line("    ", part);
        }
    }
    return text;
}

int NavamsaSign(double longitude) {
    return VargaSign(9, longitude);
}

std::array<std::vector<std::string>, 12> NavamsaCellEntries(const Reading& reading) {
    return VargaCellEntries(reading, 9);
}

PositionRow PositionOf(BodySlot body, double longitude) {
    PositionRow row;
    row.body = body;
    // Cut as FormatZodiacPosition cuts, so that the row agrees with the reading's position texts.
    const double a = std::fabs(longitude);
    const double deg = std::floor(a);
    const double mm = 60 * (a - deg);
    const double min = std::floor(mm);
    row.sign = static_cast<int>(std::floor(deg / 30)) % 12;
    row.degrees = static_cast<int>(deg) % 30;
    row.minutes = static_cast<int>(min);
    row.seconds = static_cast<int>(std::floor(60 * (mm - min)));
    row.nakshatra = NakshatraForLongitude(Wrapped(longitude));
    row.pada = PadaOf(Wrapped(longitude));
    return row;
}

std::string PositionText(const PositionRow& row) {
    return std::to_string(row.degrees) + "\u00B0 " + std::to_string(row.minutes) + "' " +
           std::to_string(row.seconds) + "\" " + std::string(kSigns[static_cast<std::size_t>(row.sign)].code);
}

std::vector<PositionRow> PositionRows(const Reading& reading) {
    std::vector<PositionRow> rows;
    for (std::size_t i = 0; i <= Slot(BodySlot::Midheaven); ++i) {
        const auto body = static_cast<BodySlot>(i);
        PositionRow row = PositionOf(body, reading.Longitude(body));
        row.retrograde = reading.Retrograde(body);
        rows.push_back(row);
    }
    return rows;
}
