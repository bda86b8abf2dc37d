// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Transits.h"

#include "pipeline/Periods.h"

#include "astro/Angles.h"
#include "astro/Moon.h"
#include "astro/Planets.h"
#include "reading/ReadingTexts.h"
#if QUILLMERE_HAS_PRECISE
#include "precise/PreciseEngine.h"
#endif
#include "records/Messages.h"
#include "records/TimeZones.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

constexpr long long kMinutesPerDay = 1440;
constexpr long long kMinutesPerYear = 525960; // 365.25 days
// Saturn's geocentric speed never passes about 0.13 degrees a day; a step that cannot carry it to the
// edge of the three signs cannot miss a crossing. Steps are at least a day, so a crossing and its
// return within one day, which only a station a few seconds of arc from the edge could make, may be
// missed; at most 200 days, so that a few steps cross the far side of the zodiac.
constexpr double kMaxSaturnSpeed = 0.15;
constexpr double kShortestStepDays = 1;
constexpr double kLongestStepDays = 200;
// Saturn stays in three signs for at most some nine and a half years, retrograde returns included:
// looking twelve years either way finds the whole cycle that holds the moment and its neighbours' ends.
constexpr long long kReach = 12 * kMinutesPerYear;
// Leaving the three signs and coming back within this long is one cycle.
constexpr long long kLongestGap = kMinutesPerYear;

constexpr int kUniversalTimeRow = [] {
    for (int row = 0; row < kTimeZoneCount; ++row)
        if (std::string_view(TimeZoneTable[static_cast<std::size_t>(row)].text).starts_with("Universal Time"))
            return row;
    return -1;
}();
static_assert(kUniversalTimeRow >= 0);

long long WholeMinute(double minutesUT) {
    return static_cast<long long>(std::floor(minutesUT));
}

// The birth with its clock at the moment, in universal time.
Birth BirthAt(const Birth& birth, long long minute) {
    const long long day =
        minute >= 0 ? minute / kMinutesPerDay : -((-minute + kMinutesPerDay - 1) / kMinutesPerDay);
    const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
    const long long inDay = minute - day * kMinutesPerDay;
    Birth b = birth;
    b.year = static_cast<std::int16_t>(static_cast<int>(date.year()));
    b.month = static_cast<std::int16_t>(static_cast<unsigned>(date.month()));
    b.day = static_cast<std::int16_t>(static_cast<unsigned>(date.day()));
    b.hour = static_cast<std::int16_t>(inDay / 60);
    b.minute = static_cast<std::int16_t>(inDay % 60);
    b.zoneRow = kUniversalTimeRow;
    b.tzHours = b.tzMinutes = 0;
    b.tzHoursSigned = b.tzMinutesSigned = 0;
    b.dst = false;
    return b;
}

// Saturn's sidereal longitude at a minute, as the birth reading's calculation would give it there.
std::optional<double> SaturnAt(const Reading& reading, long long minute) {
    const Birth at = BirthAt(reading.birth, minute);
    if (reading.calculation == Calculation::Precise) {
#if QUILLMERE_HAS_PRECISE
        return precise::ComputePreciseLongitude(
            precise::JulianDayUT(at.year, at.month, at.day, at.hour, at.minute), precise::PreciseBody::Saturn,
            reading.conventions);
#else
        return std::nullopt;
#endif
    }
    return PlanetLongitudes(at, ComputeAngles(at).ayanamsa)[static_cast<std::size_t>(BodySlot::Saturn)];
}

int SignOf(double longitude) {
    const int sign = ZodiacSignOf(longitude);
    return sign >= 0 ? sign : static_cast<int>(std::floor(std::fmod(longitude, 360.0) / 30)) % 12;
}

} // namespace

bool TransitMomentInRange(double minutesUT) {
    return minutesUT >= kFirstTransitMinute && minutesUT <= kLastTransitMinute;
}

ReadingResult TransitReading(const Reading& birth, double minutesUT) {
    if (!TransitMomentInRange(minutesUT))
        return {std::nullopt, msg::kTransitOutOfRange};
    return ComputeReading(BirthAt(birth.birth, WholeMinute(minutesUT)),
                          CalculationChoice{birth.calculation, birth.conventions});
}

std::array<std::vector<std::string>, 12> TransitCellEntries(const Reading& transit) {
    std::array<std::vector<std::string>, 12> cells;
    for (std::size_t i = 0; i < kGrahaSlots; ++i) {
        const int sign = transit.signs[i];
        if (sign >= 0 && sign < 12)
            cells[static_cast<std::size_t>(sign)].push_back(BodyLabel(transit, static_cast<BodySlot>(i)));
    }
    return cells;
}

int HouseFromSign(int sign, int fromSign) {
    return ((sign - fromSign) % 12 + 12) % 12 + 1;
}

SadeSatiSearch SadeSatiAt(const Reading& birth, double minutesUT) {
    SadeSatiSearch search;
    const int moon = birth.Sign(BodySlot::Moon);
    // The edges of the three signs: the first point of the 12th from the Moon, the last of the 2nd.
    const double edges[] = {30.0 * ((moon + 11) % 12), 30.0 * ((moon + 2) % 12)};
    const auto inside = [moon](double longitude) { return HouseFromSign(SignOf(longitude), moon) % 12 <= 2; };
    const auto daysToEdge = [&edges](double longitude) {
        double degrees = 360;
        for (double edge : edges)
            degrees = std::min(degrees, std::fabs(std::remainder(longitude - edge, 360.0)));
        return std::clamp(degrees / kMaxSaturnSpeed, kShortestStepDays, kLongestStepDays);
    };

    const long long at = WholeMinute(minutesUT);
    const long long from = at - kReach;
    const long long to = at + kReach;
    std::optional<double> longitude = SaturnAt(birth, from);
    if (!longitude) {
        search.message = msg::kSaturnNotComputed;
        return search;
    }
    // The stretches within the three signs, [entry, exit), in time order.
    std::vector<SadeSati> stretches;
    bool within = inside(*longitude);
    long long enteredAt = from;
    for (long long t = from; t < to;) {
        const long long next = std::min(to, t + std::llround(daysToEdge(*longitude) * kMinutesPerDay));
        longitude = SaturnAt(birth, next);
        if (!longitude) {
            search.message = msg::kSaturnNotComputed;
            return search;
        }
        if (inside(*longitude) != within) {
            // The first minute of the new side.
            long long before = t;
            long long after = next;
            while (after - before > 1) {
                const long long middle = before + (after - before) / 2;
                const std::optional<double> there = SaturnAt(birth, middle);
                if (!there) {
                    search.message = msg::kSaturnNotComputed;
                    return search;
                }
                (inside(*there) == within ? before : after) = middle;
            }
            if (within)
                stretches.push_back({static_cast<double>(enteredAt), static_cast<double>(after)});
            else
                enteredAt = after;
            within = !within;
        }
        t = next;
    }
    if (within)
        stretches.push_back({static_cast<double>(enteredAt), static_cast<double>(to)});

    // Stretches apart by less than a year are one cycle.
    std::vector<SadeSati> cycles;
    for (const SadeSati& stretch : stretches) {
        if (!cycles.empty() && stretch.start - cycles.back().end < static_cast<double>(kLongestGap))
            cycles.back().end = stretch.end;
        else
            cycles.push_back(stretch);
    }
    for (const SadeSati& cycle : cycles)
        if (cycle.start <= static_cast<double>(at) && static_cast<double>(at) < cycle.end)
            search.cycle = cycle;
    return search;
}

std::chrono::year_month_day UtDateOf(double minutesUT) {
    return std::chrono::sys_days{std::chrono::days{
        static_cast<long long>(std::floor(minutesUT / static_cast<double>(kMinutesPerDay)))}};
}

std::string SadeSatiLine(const SadeSatiSearch& search) {
    if (!search.cycle)
        return "Sade sati: none\r\n";
    return "Sade sati: " + IsoDate(UtDateOf(search.cycle->start)) + " " +
           IsoDate(UtDateOf(search.cycle->end)) + "\r\n";
}
