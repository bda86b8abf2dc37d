// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Retrogrades.h"

#include "records/Calendar.h"
#include "records/Vocabulary.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <iterator>

namespace {

#include "astro/generated/StationTables.inc"

// ---------------------------------------------------------------- records

constexpr std::optional<CivilDateTime> ParseRecord(std::string_view record) {
    int fields[5] = {};
    std::size_t at = 0;
    for (int& field : fields) {
        const std::size_t from = at;
        while (at < record.size() && at - from < 4 && record[at] >= '0' && record[at] <= '9')
            field = field * 10 + (record[at++] - '0');
        if (at == from || at >= record.size() || record[at] != ',')
            return std::nullopt;
        ++at;
    }
    if (at != record.size())
        return std::nullopt;
    const CivilDateTime t{fields[2], fields[0], fields[1], fields[3], fields[4]};
    // Range first: the calendar types keep only the low bits of an out-of-range month or day.
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{t.year},
                                           std::chrono::month{static_cast<unsigned>(t.month)},
                                           std::chrono::day{static_cast<unsigned>(t.day)}};
    if (!date.ok() || t.hour > 23 || t.minute > 59)
        return std::nullopt;
    return t;
}

// Day number of a calendar date; only differences between day numbers matter.
constexpr int DayNumber(int year, int month, int day) {
    return static_cast<int>(DayOf(year, month, day).time_since_epoch().count());
}

constexpr long long MinuteNumber(const CivilDateTime& t) {
    return DayNumber(t.year, t.month, t.day) * 1440LL + t.hour * 60 + t.minute;
}

// ---------------------------------------------------------------- day index

// A period reduced to what the marks compare: the day numbers of its two station dates.
struct DayPeriod {
    int retrograde;
    int direct;
};

// Parses a table once, at compile time; a record that is not a real date and time stops the build.
template <std::size_t N>
constexpr std::array<DayPeriod, N> IndexByDay(const std::array<StationRow, N>& rows) {
    std::array<DayPeriod, N> days{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto start = ParseRecord(rows[i].retrograde);
        const auto end = ParseRecord(rows[i].direct);
        if (!start || !end)
            throw "station record that is not a date and time";
        days[i] = {DayNumber(start->year, start->month, start->day),
                   DayNumber(end->year, end->month, end->day)};
    }
    return days;
}

constexpr auto kMercuryDays = IndexByDay(MercuryStations);
constexpr auto kVenusDays = IndexByDay(VenusStations);
constexpr auto kMarsDays = IndexByDay(MarsStations);
constexpr auto kJupiterDays = IndexByDay(JupiterStations);
constexpr auto kSaturnDays = IndexByDay(SaturnStations);

// The binary search below relies on this: each station retrograde before its station direct, and
// each station direct before the next period's station retrograde.
template <std::size_t N> constexpr bool InTimeOrder(const std::array<StationRow, N>& rows) {
    long long previous = -(1LL << 40);
    for (const StationRow& row : rows) {
        const auto startTime = ParseRecord(row.retrograde);
        const auto endTime = ParseRecord(row.direct);
        if (!startTime || !endTime)
            return false;
        const long long start = MinuteNumber(*startTime);
        const long long end = MinuteNumber(*endTime);
        if (start <= previous || end <= start)
            return false;
        previous = end;
    }
    return true;
}

static_assert(InTimeOrder(MercuryStations) && InTimeOrder(VenusStations) && InTimeOrder(MarsStations) &&
                  InTimeOrder(JupiterStations) && InTimeOrder(SaturnStations),
              "station tables out of time order");

struct PlanetTable {
    std::string_view name;
    std::span<const StationRow> rows;
    std::span<const DayPeriod> days;
};

// In the order of kRetrogradePlanets.
constexpr std::array<PlanetTable, 5> kTables{{
    {"Mercury", MercuryStations, kMercuryDays},
    {"Venus", VenusStations, kVenusDays},
    {"Mars", MarsStations, kMarsDays},
    {"Jupiter", JupiterStations, kJupiterDays},
    {"Saturn", SaturnStations, kSaturnDays},
}};

const PlanetTable* FindTable(std::string_view planet) {
    for (const PlanetTable& table : kTables)
        if (table.name == planet)
            return &table;
    return nullptr;
}

// Slots 0 to 10 as the planet table writes them.

} // namespace

std::span<const StationRow> FillStationTable(std::string_view planet) {
    const PlanetTable* table = FindTable(planet);
    return table ? table->rows : std::span<const StationRow>{};
}

std::optional<CivilDateTime> ParseStationRecord(std::string_view record) {
    return ParseRecord(record);
}

bool IsRetrograde(const CivilDateTime& birth, std::string_view planet) {
    const PlanetTable* table = FindTable(planet);
    if (!table)
        return false;
    // Hour 24 is midnight of the next day; the clock time counts only through that carry.
    const int day = DayNumber(birth.year, birth.month, birth.day) + (birth.hour * 60 + birth.minute) / 1440;
    // Periods are in time order and apart, so the only candidate is the last one that turned
    // retrograde before the birth date.
    const auto after = std::partition_point(table->days.begin(), table->days.end(),
                                            [day](const DayPeriod& p) { return p.retrograde < day; });
    return after != table->days.begin() && std::prev(after)->direct > day;
}

std::array<bool, kFilledBodySlots> RetrogradesOnBirthDate(const Birth& birth) {
    const CivilDateTime date{birth.year, birth.month, birth.day, birth.hour, birth.minute};
    std::array<bool, kFilledBodySlots> retrograde{};
    // The five planets sit in body slots 2 to 6, in the order of kRetrogradePlanets.
    for (std::size_t k = 0; k < kRetrogradePlanets.size(); ++k)
        retrograde[k + 2] = IsRetrograde(date, kRetrogradePlanets[k]);
    return retrograde;
}
