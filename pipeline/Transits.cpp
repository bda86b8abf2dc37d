// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Transits.h"

#include "pipeline/Periods.h"

#include "astro/Angles.h"
#include "astro/Moon.h"
#include "astro/Planets.h"
#include "astro/Retrogrades.h"
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
// Leaving the three signs and coming back within this long is one cycle; otherwise Saturn is away for
// some twenty years.
constexpr long long kLongestGap = kMinutesPerYear;
// Saturn stays in three signs for at most some nine and a half years, retrograde returns included, so a
// search never needs to go further than this either way.
constexpr long long kReach = 12 * kMinutesPerYear;

// Bounds of Saturn's geocentric motion, with a margin: over two of its orbits (1900 to 1960, by the
// Swiss Ephemeris) its speed stays within 0.131 degrees a day and changes by at most 0.0019 degrees a
// day in a day. With them a step is
// chosen that cannot carry Saturn to an edge of the three signs, so no crossing is missed, except one
// and its return within the shortest step: only a station a fraction of an arc-second beyond an edge
// makes one.
constexpr double kFastestSaturn = 0.14;
constexpr double kSaturnAcceleration = 0.0025;
constexpr double kShortestStepDays = 0.25;
constexpr double kLongestStepDays = 400;

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
    const auto day =
        static_cast<long long>(std::floor(static_cast<double>(minute) / static_cast<double>(kMinutesPerDay)));
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

int SignOf(double longitude) {
    const int sign = ZodiacSignOf(longitude);
    return sign >= 0 ? sign : static_cast<int>(std::floor(std::fmod(longitude, 360.0) / 30)) % 12;
}

struct SaturnSample {
    long long minute = 0;
    double longitude = 0.0;
    double speed = 0.0; // degrees a day
    bool inside = false;
};

// Saturn against the three signs around the birth Moon, as the birth reading's calculation gives it.
class SaturnCourse {
  public:
    explicit SaturnCourse(const Reading& birth)
        : birth_(birth),
          moon_(birth.Sign(BodySlot::Moon)), edges_{30.0 * ((moon_ + 11) % 12), 30.0 * ((moon_ + 2) % 12)} {}

    std::optional<SaturnSample> At(long long minute) const {
        SaturnSample sample;
        sample.minute = minute;
        const Birth at = BirthAt(birth_.birth, minute);
        if (birth_.calculation == Calculation::Precise) {
#if QUILLMERE_HAS_PRECISE
            const std::optional<precise::PreciseLongitude> saturn = precise::ComputePreciseLongitude(
                precise::JulianDayUT(at.year, at.month, at.day, at.hour, at.minute),
                precise::PreciseBody::Saturn, birth_.conventions);
            if (!saturn)
                return std::nullopt;
            sample.longitude = saturn->longitude;
            sample.speed = saturn->speed;
#else
            return std::nullopt;
#endif
        } else {
            // The classic planets have no speeds: the motion over the next day stands for it, which the
            // bounds' margin covers.
            sample.longitude = ClassicSaturn(at);
            sample.speed = std::remainder(
                ClassicSaturn(BirthAt(birth_.birth, minute + kMinutesPerDay)) - sample.longitude, 360.0);
        }
        sample.inside = HouseFromSign(SignOf(sample.longitude), moon_) % 12 <= 2;
        return sample;
    }

    // Minutes (signed as `direction`) of the longest step from the sample that cannot carry Saturn to
    // an edge: moving at most as fast as it does now plus what the acceleration adds, or at the
    // fastest, whichever allows more.
    long long SafeStep(const SaturnSample& s, int direction) const {
        const double speed = s.speed * direction;
        double days = kLongestStepDays;
        for (double edge : edges_) {
            const double ahead = std::remainder(edge - s.longitude, 360.0);
            const double distance = std::fabs(ahead);
            const double towards = std::max(0.0, ahead >= 0 ? speed : -speed);
            const double byAcceleration =
                (std::sqrt(towards * towards + 2 * kSaturnAcceleration * distance) - towards) /
                kSaturnAcceleration;
            days = std::min(days, std::max(byAcceleration, distance / kFastestSaturn));
        }
        return direction *
               std::llround(std::max(days, kShortestStepDays) * static_cast<double>(kMinutesPerDay));
    }

    // The first minute of the later side of a crossing between two samples on either side, earlier
    // first: interpolated towards the edge crossed, each guess tried with the minute beside it, halved
    // where the guesses do not close in.
    std::optional<long long> Crossing(SaturnSample before, SaturnSample after) const {
        for (int round = 0; after.minute - before.minute > 1; ++round) {
            long long guess = before.minute + (after.minute - before.minute) / 2;
            const double edge = NearestEdge(before.longitude, after.longitude);
            const double a = std::remainder(before.longitude - edge, 360.0);
            const double b = std::remainder(after.longitude - edge, 360.0);
            if (round % 3 != 2 && a * b < 0)
                guess = before.minute +
                        std::llround(static_cast<double>(after.minute - before.minute) * a / (a - b));
            guess = std::clamp(guess, before.minute + 1, after.minute - 1);
            for (long long minute : {guess, guess + 1}) {
                if (minute <= before.minute || minute >= after.minute)
                    continue;
                const std::optional<SaturnSample> there = At(minute);
                if (!there)
                    return std::nullopt;
                (there->inside == before.inside ? before : after) = *there;
            }
        }
        return after.minute;
    }

  private:
    static double ClassicSaturn(const Birth& at) {
        return PlanetLongitudes(at, ComputeAngles(at).ayanamsa)[static_cast<std::size_t>(BodySlot::Saturn)];
    }

    double NearestEdge(double a, double b) const {
        const auto apart = [a, b](double edge) {
            return std::fabs(std::remainder(a - edge, 360.0)) + std::fabs(std::remainder(b - edge, 360.0));
        };
        return apart(edges_[0]) <= apart(edges_[1]) ? edges_[0] : edges_[1];
    }

    const Reading& birth_;
    int moon_;
    std::array<double, 2> edges_;
};

// A moment from which Saturn is inside the three signs (or outside), in time order.
struct Change {
    long long minute = 0;
    bool inside = false;
};

// From the moment one way in time (direction 1 later, -1 earlier) until Saturn has been outside the
// three signs for a year, or for kReach: the changes met, in the order met; returns whether Saturn was
// inside where the search stopped, or nothing when Saturn could not be computed.
std::optional<bool> Follow(const SaturnCourse& saturn, const SaturnSample& start, int direction,
                           std::vector<Change>& changes) {
    SaturnSample here = start;
    long long outsideSince = start.minute;
    while (std::llabs(here.minute - start.minute) < kReach) {
        if (!here.inside && std::llabs(here.minute - outsideSince) >= kLongestGap)
            break;
        const std::optional<SaturnSample> next = saturn.At(here.minute + saturn.SafeStep(here, direction));
        if (!next)
            return std::nullopt;
        if (next->inside != here.inside) {
            const bool forward = direction > 0;
            const std::optional<long long> at =
                forward ? saturn.Crossing(here, *next) : saturn.Crossing(*next, here);
            if (!at)
                return std::nullopt;
            // In time order the change is to the later sample's side.
            changes.push_back({*at, forward ? next->inside : here.inside});
            outsideSince = *at;
        }
        here = *next;
    }
    return here.inside;
}

} // namespace

bool TransitMomentInRange(double minutesUT) {
    return minutesUT >= kFirstTransitMinute && minutesUT <= kLastTransitMinute;
}

ReadingResult TransitReading(const Reading& birth, double minutesUT) {
    if (!TransitMomentInRange(minutesUT))
        return {std::nullopt, msg::kTransitOutOfRange};
    const long long minute = WholeMinute(minutesUT);
    ReadingResult transit =
        ComputeReading(BirthAt(birth.birth, minute), CalculationChoice{birth.calculation, birth.conventions});
    // The classic marks compare a calendar date with the station dates. The birth chart takes the date on
    // the birth's clock, so the transit does too: at the birth moment both mark the same planets.
    if (transit.reading && transit.reading->calculation == Calculation::Classic) {
        const std::chrono::year_month_day local = LocalDateOf(static_cast<double>(minute), birth.birth);
        Birth onBirthClock = birth.birth;
        onBirthClock.year = static_cast<std::int16_t>(static_cast<int>(local.year()));
        onBirthClock.month = static_cast<std::int16_t>(static_cast<unsigned>(local.month()));
        onBirthClock.day = static_cast<std::int16_t>(static_cast<unsigned>(local.day()));
        onBirthClock.hour = onBirthClock.minute = 0;
        transit.reading->retrograde = RetrogradesOnBirthDate(onBirthClock);
    }
    return transit;
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
    const SaturnCourse saturn(birth);
    const long long at = WholeMinute(minutesUT);
    const std::optional<SaturnSample> now = saturn.At(at);
    std::vector<Change> earlier;
    std::vector<Change> later;
    const std::optional<bool> firstInside = now ? Follow(saturn, *now, -1, earlier) : std::nullopt;
    if (!firstInside || !Follow(saturn, *now, 1, later)) {
        search.message = msg::kSaturnNotComputed;
        return search;
    }

    // The stretches inside, [entry, exit), in time order, from where the search began.
    std::vector<SadeSati> stretches;
    bool open = *firstInside;
    long long entered = at - kReach;
    const auto take = [&](const Change& change) {
        if (change.inside) {
            entered = change.minute;
        } else if (open) {
            stretches.push_back({static_cast<double>(entered), static_cast<double>(change.minute)});
        }
        open = change.inside;
    };
    std::for_each(earlier.rbegin(), earlier.rend(), take);
    std::for_each(later.begin(), later.end(), take);
    if (open)
        stretches.push_back({static_cast<double>(entered), static_cast<double>(at + kReach)});

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
