// SPDX-License-Identifier: AGPL-3.0-or-later
#include "atlas/ZoneChoice.h"

#include "records/Calendar.h"
#include "records/TimeZones.h"
#include "records/Vocabulary.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <vector>

namespace atlas {
namespace {

constexpr int kHour = 3600;
constexpr long long kSecondsPerDay = 86400;

bool ValidRow(int row) {
    return row >= 0 && row < kTimeZoneCount;
}

std::string_view RowName(int row) {
    return TimeZoneRowName(row);
}

// The table holds what is added to local time to reach universal time; the offset is the opposite.
int RowOffsetSeconds(int row) {
    const TimeZoneRow& r = TimeZoneTable[static_cast<std::size_t>(row)];
    return -(r.hours * kHour + r.minutes * 60);
}

// The rows each region's people would name their time by, best first. A zone name ending in "/"
// stands for the zones in that folder. Only offsets that several rows share need an entry; elsewhere
// the single row of the offset is taken anyway. Britain is on Greenwich Mean Time, and on the "British
// Summer Time" row only when the clocks stood an hour ahead all year as standard time (1968 to 1971);
// its summers are Greenwich Mean Time with the box.
struct RegionRows {
    std::vector<std::string_view> zones;
    std::vector<std::string_view> rows;
};

const std::vector<RegionRows>& Regions() {
    static const std::vector<RegionRows> regions{
        {{"Asia/Kolkata", "Asia/Calcutta", "Asia/Kathmandu", "Asia/Katmandu"}, {"Indian Time"}},
        {{"America/New_York", "America/Detroit", "America/Toronto", "America/Montreal", "America/Nassau",
          "America/Indiana/", "America/Kentucky/", "US/Eastern", "US/Michigan", "EST5EDT"},
         {"Eastern Standard Time"}},
        {{"Europe/London", "Europe/Belfast", "Europe/Jersey", "Europe/Guernsey", "Europe/Isle_of_Man", "GB",
          "GB-Eire", "Europe/Dublin", "Eire"},
         {"Greenwich Mean Time", "British Summer Time"}},
        {{"Asia/Shanghai", "Asia/Chongqing", "Asia/Harbin", "PRC", "Asia/Hong_Kong", "Hongkong", "Asia/Macau",
          "Asia/Taipei", "ROC", "Asia/Manila"},
         {"China Coast Time"}},
        {{"Australia/Adelaide", "Australia/Broken_Hill", "Australia/South", "Australia/Yancowinna"},
         {"South Australia Standard Time"}},
        {{"Australia/Perth", "Australia/West"}, {"Australian Western Standard Time"}},
        {{"Pacific/Auckland", "NZ"}, {"New Zealand Std Time", "New Zealand Time"}},
        {{"Pacific/Guam", "Pacific/Saipan"}, {"Guam Standard Time"}},
        {{"America/Nome"}, {"Nome Time"}},
        {{"Pacific/Honolulu", "US/Hawaii"}, {"Hawaiian Standard Time", "Alaska/Hawaii Standard Time"}},
        {{"Asia/Krasnoyarsk", "Asia/Novosibirsk", "Asia/Novokuznetsk", "Asia/Barnaul", "Asia/Tomsk"},
         {"USSR Zone 6"}},
    };
    return regions;
}

const RegionRows* RegionOf(std::string_view zoneName) {
    for (const RegionRows& region : Regions())
        for (std::string_view zone : region.zones)
            if (zone.back() == '/' ? zoneName.substr(0, zone.size()) == zone : zoneName == zone)
                return &region;
    return nullptr;
}

// A row's place in its region's list; rows outside it come after all of them.
std::size_t RegionRank(const RegionRows* region, int row) {
    if (region == nullptr)
        return 0;
    const std::string_view name = RowName(row);
    for (std::size_t i = 0; i < region->rows.size(); ++i)
        if (region->rows[i] == name)
            return i;
    return region->rows.size();
}

// The row whose offset, with the box's hour when ticked, is the whole offset. A row that holds daylight
// time already never goes with the box (the hour would count twice). Among the rest: the region's row,
// then a row whose name says what was in force, then the first in the list.
std::optional<int> FittingRow(int offsetSeconds, bool box, bool daylightInForce, const RegionRows* region) {
    std::optional<int> best;
    std::tuple<std::size_t, bool, int> bestKey;
    for (int row = 0; row < kTimeZoneCount; ++row) {
        if (RowOffsetSeconds(row) + (box ? kHour : 0) != offsetSeconds || (box && IsDaylightRow(row)))
            continue;
        const std::tuple<std::size_t, bool, int> key{RegionRank(region, row),
                                                     IsDaylightRow(row) != (daylightInForce && !box), row};
        if (!best || key < bestKey) {
            best = row;
            bestKey = key;
        }
    }
    return best;
}

// The row nearest the offset, a standard-time row before a daylight one at the same distance.
int NearestRow(int offsetSeconds, const RegionRows* region) {
    int best = 0;
    std::tuple<int, bool, std::size_t, int> bestKey{};
    for (int row = 0; row < kTimeZoneCount; ++row) {
        const std::tuple<int, bool, std::size_t, int> key{std::abs(RowOffsetSeconds(row) - offsetSeconds),
                                                          IsDaylightRow(row), RegionRank(region, row), row};
        if (row == 0 || key < bestKey) {
            best = row;
            bestKey = key;
        }
    }
    return best;
}

// Moments are seconds counted from 1970.
using Seconds = std::chrono::sys_seconds;

// The day on which a moment falls, and the moment at which a day begins.
std::chrono::sys_days DayAt(long long seconds) {
    return std::chrono::floor<std::chrono::days>(Seconds{std::chrono::seconds{seconds}});
}
long long SecondsAt(std::chrono::sys_days day) {
    return Seconds{day}.time_since_epoch().count();
}

std::chrono::year_month_day DateOf(const LocalDateTime& t) {
    return std::chrono::year{t.year} / t.month / t.day;
}

long long SecondsOf(const LocalDateTime& t) {
    return SecondsAt(DayOf(t.year, t.month, t.day)) + t.hour * kHour + t.minute * 60;
}

// A moment as a date and time, to the nearest minute (half a minute rounds up).
LocalDateTime DateTimeOf(long long seconds) {
    const auto minutes =
        std::chrono::floor<std::chrono::minutes>(Seconds{std::chrono::seconds{seconds + 30}});
    const std::chrono::sys_days day = std::chrono::floor<std::chrono::days>(minutes);
    const std::chrono::year_month_day d{day};
    const long long inDay = (minutes - day).count();
    return {static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
            static_cast<int>(static_cast<unsigned>(d.day())), static_cast<int>(inDay / 60),
            static_cast<int>(inDay % 60)};
}

// "9:45", or "23:48:44" when the clock reading has seconds.
std::string ClockText(long long secondsOfDay) {
    const long long s = secondsOfDay - SecondsAt(DayAt(secondsOfDay));
    std::string out = std::to_string(s / kHour) + ":" + TwoDigits(s / 60 % 60);
    if (s % 60 != 0)
        out += ":" + TwoDigits(s % 60);
    return out;
}

std::string ClockText(const LocalDateTime& t) {
    return ClockText(t.hour * kHour + t.minute * 60);
}

bool SameDay(const LocalDateTime& a, const LocalDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// What kind of time was in force, in words; the database's abbreviation names war and peace time.
std::string TimeKindWords(const ZoneMoment& m) {
    if (m.localMeanTime)
        return "local mean time";
    if (m.daylightMinutes == 0)
        return "no daylight saving";
    if (m.daylightMinutes >= 120)
        return "double summer time, two hours of daylight saving";
    const std::string& a = m.abbreviation;
    if (a.size() >= 3 && a.compare(a.size() - 2, 2, "WT") == 0)
        return "daylight saving (war time)";
    if (a.size() == 3 && a.compare(1, 2, "PT") == 0)
        return "daylight saving (peace time)";
    return "daylight saving";
}

std::string LongDateOfSeconds(long long seconds) {
    return LongDateDayFirst(std::chrono::year_month_day{DayAt(seconds)});
}

std::string ClockChangeSentence(const ZoneMoment& m) {
    const long long jump = m.offsetAfterSeconds - m.offsetSeconds;
    const long long from = SecondsOf(m.changedAt);
    const long long to = from + jump;
    const long long asked = SecondsOf(m.date);
    // A jump of half a day or more lands on another date, which "from 0:00 to 0:00" would hide: the
    // clock readings then name their dates.
    const bool dated = std::abs(jump) >= kSecondsPerDay / 2;
    const auto at = [dated](long long seconds) {
        return ClockText(seconds) + (dated ? " on " + LongDateOfSeconds(seconds) : "");
    };
    // A calendar day wholly inside the jump never showed on the clocks, or showed twice, as a day.
    const long long dayStart = SecondsAt(DayAt(asked));
    const bool wholeDay = std::min(from, to) <= dayStart && dayStart + kSecondsPerDay <= std::max(from, to);
    const std::string subject = wholeDay ? LongDateDayFirst(DateOf(m.date)) : at(asked);
    const std::string aDay = std::abs(jump) == kSecondsPerDay ? "a whole day, " : "";
    if (m.kind == LocalTimeKind::Skipped)
        return subject + " did not exist: the clocks went forward " + aDay + "from " + at(from) + " to " +
               at(to) + ", and the time before the change is taken (the same moment as " + at(asked + jump) +
               " after it)";
    return subject + " happened twice: the clocks went back " + aDay + "from " + at(from) + " to " + at(to) +
           ", and the first " + at(asked) + " is taken" +
           (m.daylightMinutes > 0 ? ", in daylight saving time" : "");
}

} // namespace

LocalDateTime PlaceTimeOf(const ZoneChoice& choice, const LocalDateTime& shown) {
    const int shownOffset = RowOffsetSeconds(choice.row) + (choice.dst ? kHour : 0);
    return DateTimeOf(SecondsOf(shown) - shownOffset + choice.moment.offsetSeconds);
}

bool IsDaylightRow(int row) {
    if (!ValidRow(row))
        return false;
    std::string_view name = RowName(row);
    while (!name.empty()) {
        const std::size_t blank = name.find(' ');
        const std::string_view word = name.substr(0, blank);
        if (word == "Daylight" || word == "Summer" || word == "War")
            return true;
        name = blank == std::string_view::npos ? std::string_view{} : name.substr(blank + 1);
    }
    return false;
}

std::string DoubleCountWarning(int row, bool dst) {
    if (!dst || !IsDaylightRow(row))
        return {};
    return std::string(RowName(row)) + " already includes daylight saving; the box adds a second hour.";
}

std::optional<ZoneChoice> ChooseZoneRow(const std::string& zoneName, const std::string& placeName,
                                        const LocalDateTime& local, std::string& error) {
    const std::optional<ZoneMoment> moment = ZoneAt(zoneName, local, error);
    if (!moment)
        return std::nullopt;
    const RegionRows* region = RegionOf(zoneName);
    const bool daylight = moment->daylightMinutes > 0;

    ZoneChoice choice;
    choice.moment = *moment;
    choice.shownTime = local;
    std::optional<int> row;
    if (daylight) {
        row = FittingRow(moment->offsetSeconds, true, true, region);
        choice.dst = row.has_value();
    }
    if (!row)
        row = FittingRow(moment->offsetSeconds, false, daylight, region);

    std::vector<std::string> sentences{zoneName + ": " + FormatUtcOffset(moment->offsetSeconds) + " on " +
                                       LongDateDayFirst(DateOf(moment->date)) + ", " +
                                       TimeKindWords(*moment)};
    if (moment->kind != LocalTimeKind::Normal)
        sentences.push_back(ClockChangeSentence(*moment));
    if (row) {
        choice.row = *row;
    } else {
        choice.row = NearestRow(moment->offsetSeconds, region);
        choice.shownTime =
            DateTimeOf(SecondsOf(moment->date) + RowOffsetSeconds(choice.row) - moment->offsetSeconds);
        choice.timeChanged = true;
        std::string shown = ClockText(choice.shownTime) + " " + std::string(RowName(choice.row));
        if (!SameDay(choice.shownTime, moment->date))
            shown += " on " + LongDateDayFirst(DateOf(choice.shownTime));
        sentences.push_back(
            (placeName.empty() ? zoneName : placeName) + " was at " + FormatUtcOffset(moment->offsetSeconds) +
            ", which the list does not hold; the time is shown as " + shown + ", the same moment");
    }
    for (std::size_t i = 0; i < sentences.size(); ++i)
        choice.line += (i == 0 ? "" : " ") + sentences[i] + ".";
    return choice;
}

} // namespace atlas
