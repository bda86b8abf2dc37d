// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Retrogrades.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "support/TestBirths.h"
#include "tools/ChartCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <limits>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

using namespace std::chrono;

// The test's own reading of a record, by sscanf and the standard calendar, to check the module's.
struct Moment {
    year_month_day date;
    int hour = 0, minute = 0;
    long long Minutes() const {
        return sys_days{date}.time_since_epoch().count() * 1440LL + hour * 60 + minute;
    }
    int Day() const { return static_cast<int>(sys_days{date}.time_since_epoch().count()); }
};

Moment Read(std::string_view record) {
    int mo = 0, d = 0, y = 0, h = 0, mi = 0;
    EXPECT_EQ(std::sscanf(std::string(record).c_str(), "%d,%d,%d,%d,%d,", &mo, &d, &y, &h, &mi), 5) << record;
    return {year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)}, h, mi};
}

CivilDateTime At(year_month_day date, int hour, int minute) {
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), hour, minute};
}

year_month_day Plus(year_month_day date, int days) {
    return year_month_day{sys_days{date} + std::chrono::days{days}};
}

// The labels a reading of this birth shows: the marks of RetrogradesOnBirthDate on the base labels.
std::array<std::string, 11> Labels(int year, int month, int day, int hour, int minute,
                                   int tzHoursSigned = 0) {
    Reading r;
    r.birth.year = static_cast<std::int16_t>(year);
    r.birth.month = static_cast<std::int16_t>(month);
    r.birth.day = static_cast<std::int16_t>(day);
    r.birth.hour = static_cast<std::int16_t>(hour);
    r.birth.minute = static_cast<std::int16_t>(minute);
    r.birth.tzHoursSigned = tzHoursSigned;
    r.retrograde = RetrogradesOnBirthDate(r.birth);
    std::array<std::string, 11> labels;
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i] = BodyLabel(r, static_cast<BodySlot>(i));
    return labels;
}

const std::array<std::string, 11> kBase{"Surya", "Chandra", "Budha", "Shukra",    "Mangala",  "Guru",
                                        "Shani", "Rahu",    "Ketu",  "Ascendant", "Midheaven"};

} // namespace

// ---------------------------------------------------------------- tables

TEST(StationTables, RowCountsAndFixedRows) {
    struct Expected {
        const char* planet;
        std::size_t count;
        StationRow first, last;
    };
    const Expected expected[] = {
        {"Mercury", 476, {"3,15,1900,13,19,", "4,7,1900,18,42,"}, {"12,1,2050,17,17,", "12,21,2050,11,33,"}},
        {"Venus", 95, {"6,16,1900,22,56,", "7,30,1900,2,44,"}, {"9,25,2050,22,15,", "11,6,2050,19,4,"}},
        {"Mars", 71, {"1,13,1901,6,16,", "4,4,1901,7,21,"}, {"7,15,2050,5,50,", "9,13,2050,9,41,"}},
        {"Jupiter", 139, {"3,27,1900,20,39,", "7,29,1900,1,35,"}, {"12,21,2050,13,21,", "4,21,2051,23,46,"}},
        {"Saturn", 146, {"4,14,1900,6,2,", "9,2,1900,14,39,"}, {"5,18,2050,13,6,", "10,6,2050,11,5,"}},
    };
    for (const Expected& e : expected) {
        const auto rows = FillStationTable(e.planet);
        ASSERT_EQ(rows.size(), e.count) << e.planet;
        EXPECT_EQ(rows.front().retrograde, e.first.retrograde) << e.planet;
        EXPECT_EQ(rows.front().direct, e.first.direct) << e.planet;
        EXPECT_EQ(rows[e.count - 1].retrograde, e.last.retrograde) << e.planet;
        EXPECT_EQ(rows[e.count - 1].direct, e.last.direct) << e.planet;
    }

    // The two Mercury periods of 1985 stand next to each other.
    const auto mercury = FillStationTable("Mercury");
    std::size_t at = 0;
    while (at < mercury.size() && mercury[at].retrograde != "3,24,1985,18,47,")
        ++at;
    ASSERT_LT(at + 1, mercury.size());
    EXPECT_EQ(mercury[at].direct, "4,17,1985,5,27,");
    EXPECT_EQ(mercury[at + 1].retrograde, "7,28,1985,0,47,");
    EXPECT_EQ(mercury[at + 1].direct, "8,20,1985,22,45,");

    // Names are compared exactly.
    for (const char* other : {"mercury", "MERCURY", "Sun", "Moon", "Rahu", "", "Mercury "})
        EXPECT_TRUE(FillStationTable(other).empty()) << other;
}

TEST(StationTables, EveryRecordIsARealDateAndTimeWithoutLeadingZeros) {
    const std::regex form(
        R"(([1-9]|1[0-2]),([1-9]|[12][0-9]|3[01]),(19\d\d|20\d\d),([0-9]|1[0-9]|2[0-3]),([0-9]|[1-5][0-9]),)");
    for (std::string_view planet : kRetrogradePlanets) {
        for (const StationRow& row : FillStationTable(planet)) {
            for (std::string_view record : {row.retrograde, row.direct}) {
                const std::string text(record);
                ASSERT_TRUE(std::regex_match(text, form)) << planet << ' ' << text;
                const Moment m = Read(record);
                ASSERT_TRUE(m.date.ok()) << planet << ' ' << text;
                const int y = static_cast<int>(m.date.year());
                EXPECT_TRUE(y >= 1900 && y <= 2051) << text;
                const auto parsed = ParseStationRecord(record);
                ASSERT_TRUE(parsed.has_value()) << text;
                EXPECT_EQ(parsed->year, y);
                EXPECT_EQ(parsed->month, static_cast<int>(static_cast<unsigned>(m.date.month())));
                EXPECT_EQ(parsed->day, static_cast<int>(static_cast<unsigned>(m.date.day())));
                EXPECT_EQ(parsed->hour, m.hour);
                EXPECT_EQ(parsed->minute, m.minute);
            }
        }
    }
}

TEST(StationTables, PeriodsInTimeOrderApartAndOfPlausibleLength) {
    // Shortest and longest retrograde period of each planet in calendar days.
    const std::map<std::string_view, std::pair<int, int>> lengths{{"Mercury", {19, 25}},
                                                                  {"Venus", {40, 44}},
                                                                  {"Mars", {60, 82}},
                                                                  {"Jupiter", {116, 125}},
                                                                  {"Saturn", {133, 142}}};
    for (std::string_view planet : kRetrogradePlanets) {
        long long previousEnd = std::numeric_limits<long long>::min();
        for (const StationRow& row : FillStationTable(planet)) {
            const Moment start = Read(row.retrograde);
            const Moment end = Read(row.direct);
            EXPECT_GT(start.Minutes(), previousEnd) << planet << ' ' << row.retrograde;
            EXPECT_GT(end.Minutes(), start.Minutes()) << planet << ' ' << row.retrograde;
            const int days = end.Day() - start.Day();
            EXPECT_GE(days, lengths.at(planet).first) << planet << ' ' << row.retrograde;
            EXPECT_LE(days, lengths.at(planet).second) << planet << ' ' << row.retrograde;
            previousEnd = end.Minutes();
        }
    }
}

// Field order and values are checked against every table record above; here the refusals.
TEST(ParseStationRecord, AcceptsOnlyRealDatesAndTimesInTheRecordForm) {
    EXPECT_TRUE(ParseStationRecord("2,29,2000,23,59,").has_value());
    EXPECT_TRUE(ParseStationRecord("12,31,2050,0,0,").has_value());

    for (const char* bad :
         {"", ",,,,,", "2,29,1900,0,0,", "2,30,1985,0,0,", "4,31,1985,0,0,", "0,1,1985,0,0,",
          "13,1,1985,0,0,", "1,0,1985,0,0,", "1,1,1985,24,0,", "1,1,1985,0,60,", "1,1,1985,0,0",
          "1,1,1985,0,0,,", "1,1,1985,0,0,x", "1,1,1985,0,", "1,257,1985,0,0,", "1,1,19850,0,0,",
          " 1,1,1985,0,0,", "1,1,1985,-1,0,"})
        EXPECT_FALSE(ParseStationRecord(bad).has_value()) << '"' << bad << '"';
}

// ---------------------------------------------------------------- the day rule

TEST(IsRetrograde, Mercury1985MarksOnlyTheDatesStrictlyInside) {
    // Station retrograde 24 March, station direct 17 April; the clock time never matters.
    for (int minute : {0, 12 * 60, 18 * 60 + 46, 18 * 60 + 48, 23 * 60 + 59}) {
        const int h = minute / 60, m = minute % 60;
        EXPECT_FALSE(IsRetrograde({1985, 3, 24, h, m}, "Mercury")) << minute;
        EXPECT_TRUE(IsRetrograde({1985, 3, 25, h, m}, "Mercury")) << minute;
        EXPECT_TRUE(IsRetrograde({1985, 4, 16, h, m}, "Mercury")) << minute;
        EXPECT_FALSE(IsRetrograde({1985, 4, 17, h, m}, "Mercury")) << minute;
    }
    // Between that period and the next, and right after the next.
    EXPECT_FALSE(IsRetrograde({1985, 5, 15, 12, 0}, "Mercury"));
    EXPECT_FALSE(IsRetrograde({1985, 7, 28, 12, 0}, "Mercury"));
    EXPECT_TRUE(IsRetrograde({1985, 8, 1, 12, 0}, "Mercury"));
    EXPECT_FALSE(IsRetrograde({1985, 8, 20, 12, 0}, "Mercury"));
    EXPECT_FALSE(IsRetrograde({1985, 4, 1, 12, 0}, "mercury"));
    EXPECT_FALSE(IsRetrograde({1985, 4, 1, 12, 0}, "Sun"));
}

TEST(IsRetrograde, StationDatesOfEveryPeriodIncludingHourTwentyFour) {
    int carriesIntoNewMonth = 0;
    for (std::string_view planet : kRetrogradePlanets) {
        for (const StationRow& row : FillStationTable(planet)) {
            const year_month_day start = Read(row.retrograde).date;
            const year_month_day end = Read(row.direct).date;
            const std::string where = std::string(planet) + ' ' + std::string(row.retrograde);
            EXPECT_FALSE(IsRetrograde(At(start, 0, 0), planet)) << where;
            EXPECT_FALSE(IsRetrograde(At(start, 23, 59), planet)) << where;
            EXPECT_TRUE(IsRetrograde(At(Plus(start, 1), 0, 0), planet)) << where;
            EXPECT_TRUE(IsRetrograde(At(Plus(end, -1), 23, 59), planet)) << where;
            EXPECT_FALSE(IsRetrograde(At(end, 0, 0), planet)) << where;
            EXPECT_FALSE(IsRetrograde(At(end, 23, 59), planet)) << where;
            EXPECT_FALSE(IsRetrograde(At(Plus(end, 1), 0, 0), planet)) << where;

            // Hour 24 is the next date, across month and year ends too.
            EXPECT_FALSE(IsRetrograde(At(Plus(start, -1), 24, 0), planet)) << where;
            EXPECT_TRUE(IsRetrograde(At(start, 24, 30), planet)) << where;
            EXPECT_TRUE(IsRetrograde(At(Plus(end, -2), 24, 59), planet)) << where;
            EXPECT_FALSE(IsRetrograde(At(Plus(end, -1), 24, 0), planet)) << where;
            carriesIntoNewMonth += (start.day() == day{1}) + (end.day() == day{1});
        }
    }
    EXPECT_GT(carriesIntoNewMonth, 10);
}

TEST(IsRetrograde, OutsideTheTablesNothingIsMarked) {
    for (std::string_view planet : kRetrogradePlanets) {
        EXPECT_FALSE(IsRetrograde({1899, 12, 31, 12, 0}, planet)) << planet;
        EXPECT_FALSE(IsRetrograde({2052, 1, 1, 12, 0}, planet)) << planet;
    }
}

// Every date of the tables' span for every planet, against the plain scan over all rows.
TEST(IsRetrograde, AgreesWithAScanOfEveryRow) {
    for (std::string_view planet : kRetrogradePlanets) {
        std::vector<std::pair<int, int>> periods;
        for (const StationRow& row : FillStationTable(planet))
            periods.emplace_back(Read(row.retrograde).Day(), Read(row.direct).Day());
        int marked = 0;
        const year_month_day first = year{1899} / 11 / 1;
        for (sys_days d = sys_days{first}; d <= sys_days{year{2052} / 3 / 1}; d += std::chrono::days{1}) {
            const int birth = static_cast<int>(d.time_since_epoch().count());
            bool expected = false;
            for (const auto& [start, end] : periods) {
                if (start - birth < 0 && end - birth > 0) {
                    expected = true;
                    break;
                }
            }
            marked += expected;
            ASSERT_EQ(IsRetrograde(At(year_month_day{d}, 6, 0), planet), expected)
                << planet << ' ' << static_cast<int>(year_month_day{d}.year()) << '-'
                << static_cast<unsigned>(year_month_day{d}.month()) << '-'
                << static_cast<unsigned>(year_month_day{d}.day());
        }
        EXPECT_GT(marked, 0) << planet;
    }
}

// ---------------------------------------------------------------- the marks

TEST(RetrogradesOnBirthDate, SeveralPlanetsInOneReading) {
    // 1 April 1985: Mercury (24 March to 17 April), Venus (inferior conjunction 3 April) and Saturn
    // (opposition in May) were retrograde; Mars and Jupiter were not.
    const std::array<std::string, 11> marked{"Surya",   "Chandra",   "Budha (R) ", "Shukra (R) ",
                                             "Mangala", "Guru",      "Shani (R) ", "Rahu",
                                             "Ketu",    "Ascendant", "Midheaven"};
    EXPECT_EQ(Labels(1985, 4, 1, 12, 0), marked);
    EXPECT_EQ(Labels(1985, 4, 1, 12, 0)[2].size(), 10u);

    // 15 August 1947: none of the five was retrograde.
    EXPECT_EQ(Labels(1947, 8, 15, 0, 0), kBase);
}

TEST(RetrogradesOnBirthDate, LocalDateDecidesWhateverTheZone) {
    // 25 March 1985, 02:00 ten hours east of Greenwich is still 24 March in universal time, the
    // date of the station; the local date is inside the period.
    EXPECT_EQ(Labels(1985, 3, 25, 2, 0, -10)[2], "Budha (R) ");

    // 17 April 1985, 01:00 at the same place is 16 April in universal time; locally the station date.
    EXPECT_EQ(Labels(1985, 4, 17, 1, 0, -10)[2], "Budha");

    // 16 April 1985, 20:00 ten hours west is 17 April in universal time; locally inside.
    EXPECT_EQ(Labels(1985, 4, 16, 20, 0, 10)[2], "Budha (R) ");

    // Hour 24 of 24 March is 25 March.
    EXPECT_EQ(Labels(1985, 3, 24, 24, 0)[2], "Budha (R) ");
}

TEST(RetrogradeReading, PipelineChartCellsAndChartLinesShowTheMarks) {
    const BirthEntry london1985 = MakeEntry(1985, 4, 1, 12, 0, 29, "51", "30", false, "0", "0", true);
    const std::optional<Reading> r = ReadingOf(london1985);
    ASSERT_TRUE(r);
    EXPECT_EQ(BodyLabel(*r, BodySlot::Mercury), "Budha (R) ");
    EXPECT_EQ(BodyLabel(*r, BodySlot::Venus), "Shukra (R) ");
    EXPECT_EQ(BodyLabel(*r, BodySlot::Saturn), "Shani (R) ");
    // The base labels are exactly those the planet table writes.
    for (std::size_t i : {0u, 1u, 4u, 5u, 7u, 8u, 9u, 10u})
        EXPECT_EQ(BodyLabel(*r, static_cast<BodySlot>(i)), kBase[i]) << i;

    int markedEntries = 0;
    for (const auto& cell : ChartCellEntries(*r))
        for (const std::string& entry : cell)
            markedEntries += entry.ends_with(" (R) ");
    EXPECT_EQ(markedEntries, 3);

    std::ostringstream out, err;
    ASSERT_EQ(RunChartCommand({"--chart", "--name", "Test Person", "--date", "1985-04-01", "--time", "12:00",
                               "--zone", "29", "--lat", "51d30N", "--lon", "0d0E", "--city", "London",
                               "--state", "England", "--country", "UK"},
                              out, err),
              0)
        << err.str();
    const std::string text = out.str();
    const std::string chartLines = text.substr(text.find("\r\n1:"));
    for (const char* label : {"Budha (R) ", "Shukra (R) ", "Shani (R) "})
        EXPECT_NE(chartLines.find(label), std::string::npos) << label;

    // A reading with no retrograde planet shows the plain labels.
    const std::optional<Reading> india = ReadingOf(Entry1947());
    ASSERT_TRUE(india);
    for (std::size_t i = 0; i < kBase.size(); ++i)
        EXPECT_EQ(BodyLabel(*india, static_cast<BodySlot>(i)), kBase[i]) << i;
}
