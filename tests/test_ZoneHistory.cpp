// SPDX-License-Identifier: AGPL-3.0-or-later
// The offset in force at a place and time, and the entry form's row and box for it, against history
// known independently of the database; the whole database against glibc's reading of the same files.
#include "atlas/ZoneChoice.h"
#include "atlas/ZoneHistory.h"
#include "records/TimeZones.h"

#include <date/tz.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string_view>
#include <utility>

using atlas::LocalDateTime;
using atlas::LocalTimeKind;

namespace {

int RowNamed(std::string_view name) {
    for (int row = 0; row < kTimeZoneCount; ++row) {
        const std::string_view text = TimeZoneTable[static_cast<std::size_t>(row)].text;
        if (text.substr(0, name.size()) == name && text[name.size()] == ',')
            return row;
    }
    ADD_FAILURE() << "no row " << name;
    return -1;
}

int RowOffsetSeconds(int row) {
    const TimeZoneRow& r = TimeZoneTable[static_cast<std::size_t>(row)];
    return -(r.hours * 3600 + r.minutes * 60);
}

long long SecondsOf(const LocalDateTime& t) {
    const auto day = date::sys_days{date::year{t.year} / t.month / t.day};
    return day.time_since_epoch().count() * 86400LL + t.hour * 3600 + t.minute * 60;
}

LocalDateTime LocalOf(long long seconds) {
    const date::sys_seconds t{std::chrono::seconds{seconds}};
    const auto day = date::floor<date::days>(t);
    const date::year_month_day ymd{day};
    const long long inDay = (t - day).count();
    return {static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
            static_cast<int>(unsigned(ymd.day())), static_cast<int>(inDay / 3600),
            static_cast<int>(inDay / 60 % 60)};
}

std::string Show(const LocalDateTime& t) {
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " +
           std::to_string(t.hour) + ":" + std::to_string(t.minute);
}

} // namespace

// ---------------------------------------------------------------- history, row and box

TEST(ZoneHistory, KnownHistoryGivesTheRowAndBox) {
    constexpr LocalTimeKind N = LocalTimeKind::Normal, S = LocalTimeKind::Skipped,
                            R = LocalTimeKind::Repeated;
    struct Case {
        const char* zone;
        LocalDateTime local;
        int offsetSeconds, daylightMinutes;
        LocalTimeKind kind;
        const char* row;
        bool box;
        LocalDateTime shown; // the local time itself unless no row holds the offset
    } cases[] = {
        // India has been at UTC+5:30 since October 1945.
        {"Asia/Kolkata", {1947, 8, 15, 0, 0}, 19800, 0, N, "Indian Time", false, {}},
        // India kept war time, an hour ahead (UTC+6:30), from September 1942 to 15 October 1945.
        {"Asia/Kolkata", {1943, 6, 1, 12, 0}, 23400, 60, N, "Indian Time", true, {}},
        // The British Standard Time Act 1968 held Britain at UTC+1 all year, as its standard time, from 27
        // October 1968 to 31 October 1971.
        {"Europe/London", {1970, 1, 15, 12, 0}, 3600, 0, N, "British Summer Time", false, {}},
        // British summer time: UTC+1 from the last Sunday in March (25 March 1990).
        {"Europe/London", {1990, 6, 15, 12, 0}, 3600, 60, N, "Greenwich Mean Time", true, {}},
        // British Double Summer Time, UTC+2, in the summers of 1941 to 1945.
        {"Europe/London", {1944, 6, 15, 12, 0}, 7200, 120, N, "Central European Time", true, {}},
        // Ireland's law makes UTC+1 its standard time and winter's GMT the exception, which the database
        // writes as daylight saving of minus an hour: in January no daylight saving is in force.
        {"Europe/Dublin", {2000, 1, 15, 12, 0}, 0, 0, N, "Greenwich Mean Time", false, {}},
        // US daylight saving in 1990: the first Sunday in April to the last Sunday in October.
        {"America/New_York", {1990, 7, 4, 12, 0}, -14400, 60, N, "Eastern Standard Time", true, {}},
        // From 2007 the US changes at 2:00 on the second Sunday in March (8 March 2009, 12 March 2045)
        // and the first Sunday in November (1 November 2009, 4 and 5 November 2040 and 2045).
        {"America/New_York", {2009, 3, 8, 2, 30}, -18000, 0, S, "Eastern Standard Time", false, {}},
        {"America/New_York", {2009, 11, 1, 1, 30}, -14400, 60, R, "Eastern Standard Time", true, {}},
        {"America/New_York", {2040, 7, 4, 12, 0}, -14400, 60, N, "Eastern Standard Time", true, {}},
        {"America/New_York", {2045, 3, 12, 2, 30}, -18000, 0, S, "Eastern Standard Time", false, {}},
        {"America/New_York", {2045, 11, 5, 1, 30}, -14400, 60, R, "Eastern Standard Time", true, {}},
        // New South Wales keeps UTC+11 from the first Sunday in October to the first Sunday in April.
        {"Australia/Sydney", {2045, 1, 5, 9, 0}, 39600, 60, N, "Australian Eastern Standard Time", true, {}},
        {"Australia/Sydney", {2045, 7, 5, 9, 0}, 36000, 0, N, "Australian Eastern Standard Time", false, {}},
        // Nepal: UTC+5:30 until the end of 1985, UTC+5:45 from 1 January 1986. 10:00 at +5:45 is 4:15
        // UTC, 9:45 at +5:30; 0:10 is 18:25 UTC the day before, 23:55 at +5:30.
        {"Asia/Kathmandu", {1980, 6, 1, 10, 0}, 19800, 0, N, "Indian Time", false, {}},
        {"Asia/Kathmandu", {1990, 6, 1, 10, 0}, 20700, 0, N, "Indian Time", false, {1990, 6, 1, 9, 45}},
        {"Asia/Kathmandu", {1990, 6, 1, 0, 10}, 20700, 0, N, "Indian Time", false, {1990, 5, 31, 23, 55}},
        // Until 1920 Nepal kept Kathmandu's mean time: 85°19' E, 85.3167 x 4 minutes = 5:41:16. 12:00
        // is 6:18:44 UTC, 11:48:44 at +5:30.
        {"Asia/Kathmandu", {1910, 1, 15, 12, 0}, 20476, 0, N, "Indian Time", false, {1910, 1, 15, 11, 49}},
        // Calcutta's mean time, 88°22' E: 5:53:28; 12:00 is 6:06:32 UTC, 12:06:32 at the nearest row,
        // +6:00.
        {"Asia/Kolkata", {1850, 1, 15, 12, 0}, 21208, 0, N, "USSR Zone 5", false, {1850, 1, 15, 12, 7}},
        // Afghanistan has been at UTC+4:30 since 1945: 23:50 is 19:20 UTC, 23:20 at +4:00 (as near as
        // +5:00, and listed first).
        {"Asia/Kabul", {1990, 6, 24, 23, 50}, 16200, 0, N, "USSR Zone 3", false, {1990, 6, 24, 23, 20}},
        // Moscow kept UTC+4 all year from 27 March 2011 to 26 October 2014.
        {"Europe/Moscow", {2012, 1, 15, 12, 0}, 14400, 0, N, "USSR Zone 3", false, {}},
        // Soviet-occupied Berlin kept midsummer time, UTC+3, from 24 May to 24 September 1945, two hours
        // ahead of Central European Time.
        {"Europe/Berlin", {1945, 6, 24, 12, 0}, 10800, 120, N, "Eastern European Time", true, {}},
        // China: UTC+8 all year since 1991; New Zealand: UTC+13 in its summer.
        {"Asia/Shanghai", {2000, 1, 15, 12, 0}, 28800, 0, N, "China Coast Time", false, {}},
        {"Pacific/Auckland", {2000, 1, 15, 12, 0}, 46800, 60, N, "New Zealand Std Time", true, {}},
        // Samoa kept UTC-11 with an hour of daylight saving from September 2011, then crossed the date
        // line: Friday 30 December 2011 never came, and the clocks went from the end of the 29th to
        // UTC+14, its new standard time UTC+13 with the same hour. The hour is not the day the zone
        // moved by. +14 is in no row: 0:00 is 10:00 UTC, 23:00 the day before at +13.
        {"Pacific/Apia", {2011, 12, 30, 12, 0}, -36000, 60, S, "Bering Standard Time", true, {}},
        {"Pacific/Apia",
         {2011, 12, 31, 0, 0},
         50400,
         60,
         N,
         "New Zealand Std Summer Time",
         false,
         {2011, 12, 30, 23, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + Show(c.local));
        std::string error;
        const auto choice = atlas::ChooseZoneRow(c.zone, "", c.local, error);
        ASSERT_TRUE(choice) << error;
        EXPECT_EQ(choice->moment.offsetSeconds, c.offsetSeconds);
        EXPECT_EQ(choice->moment.daylightMinutes, c.daylightMinutes);
        EXPECT_EQ(choice->moment.kind, c.kind);
        // The cases before 1911 are those in a place's mean time.
        EXPECT_EQ(choice->moment.localMeanTime, c.local.year < 1911);
        EXPECT_EQ(choice->row, RowNamed(c.row));
        EXPECT_EQ(choice->dst, c.box);
        const bool moved = c.shown.year != 0;
        EXPECT_EQ(choice->timeChanged, moved);
        EXPECT_EQ(choice->shownTime, moved ? c.shown : c.local) << Show(choice->shownTime);
        EXPECT_EQ(atlas::DoubleCountWarning(choice->row, choice->dst), "");
    }
}

TEST(ZoneHistory, TheLineSaysWhatWasInForceAndWhatWasDone) {
    struct Case {
        const char* zone;
        const char* place;
        LocalDateTime local;
        const char* line;
    } cases[] = {
        {"Asia/Kolkata",
         "Kolkata",
         {1947, 8, 15, 0, 0},
         "Asia/Kolkata: UTC+5:30 on 15 August 1947, no daylight saving."},
        {"America/New_York",
         "New York",
         {1990, 7, 4, 12, 0},
         "America/New_York: UTC-4:00 on 4 July 1990, daylight saving."},
        {"America/New_York",
         "New York",
         {1943, 7, 4, 12, 0},
         "America/New_York: UTC-4:00 on 4 July 1943, daylight saving (war time)."},
        {"Europe/Berlin",
         "Berlin",
         {1945, 6, 24, 12, 0},
         "Europe/Berlin: UTC+3:00 on 24 June 1945, double summer time, two hours of daylight saving."},
        // New York kept its mean time until 18 November 1883: 74°0'23" W, 4:56:02 behind Greenwich.
        // Midnight is 4:56:02 UTC, 23:56:02 the day before at UTC-5.
        {"America/New_York",
         "New York",
         {1880, 1, 1, 24, 0},
         "America/New_York: UTC-4:56:02 on 2 January 1880, local mean time. "
         "New York was at UTC-4:56:02, which the list does not hold; "
         "the time is shown as 23:56 Eastern Standard Time on 1 January 1880, the same moment."},
        {"Asia/Kathmandu",
         "Kathmandu",
         {1990, 6, 1, 10, 0},
         "Asia/Kathmandu: UTC+5:45 on 1 June 1990, no daylight saving. "
         "Kathmandu was at UTC+5:45, which the list does not hold; "
         "the time is shown as 9:45 Indian Time, the same moment."},
        {"America/New_York",
         "New York",
         {2009, 3, 8, 2, 30},
         "America/New_York: UTC-5:00 on 8 March 2009, no daylight saving. "
         "2:30 did not exist: the clocks went forward from 2:00 to 3:00, "
         "and the time before the change is taken (the same moment as 3:30 after it)."},
        {"America/New_York",
         "New York",
         {2009, 11, 1, 1, 30},
         "America/New_York: UTC-4:00 on 1 November 2009, daylight saving. "
         "1:30 happened twice: the clocks went back from 2:00 to 1:00, "
         "and the first 1:30 is taken, in daylight saving time."},
        // Nepal left Kathmandu's mean time for +5:30 at midnight starting 1920: the clocks went back by
        // 11 minutes 16 seconds.
        {"Asia/Kathmandu",
         "Kathmandu",
         {1919, 12, 31, 23, 55},
         "Asia/Kathmandu: UTC+5:41:16 on 31 December 1919, local mean time. "
         "23:55 happened twice: the clocks went back from 0:00 to 23:48:44, and the first 23:55 is taken. "
         "Kathmandu was at UTC+5:41:16, which the list does not hold; "
         "the time is shown as 23:44 Indian Time, the same moment."},
        // A day-long jump names its dates, and a calendar day wholly inside it as a day.
        {"Pacific/Apia",
         "Apia",
         {2011, 12, 30, 12, 0},
         "Pacific/Apia: UTC-10:00 on 30 December 2011, daylight saving. "
         "30 December 2011 did not exist: the clocks went forward a whole day, from 0:00 on 30 December 2011 "
         "to 0:00 on 31 December 2011, and the time before the change is taken (the same moment as 12:00 on "
         "31 December 2011 after it)."},
        {"Pacific/Apia",
         "Apia",
         {2011, 12, 31, 0, 0},
         "Pacific/Apia: UTC+14:00 on 31 December 2011, daylight saving. "
         "Apia was at UTC+14:00, which the list does not hold; the time is shown as 23:00 New Zealand Std "
         "Summer Time on 30 December 2011, the same moment."},
        // Alaska went from Russia's side of the date line to America's at 15:30 on 19 October 1867:
        // the database's Sitka mean time, 9:01:13 behind Greenwich, was counted until then as 14:58:47
        // ahead, and the clocks went back a day. 12:00 at +14:58:47 is 21:01:13 UTC, 10:01:13 at +13.
        {"America/Sitka",
         "Sitka",
         {1867, 10, 19, 12, 0},
         "America/Sitka: UTC+14:58:47 on 19 October 1867, local mean time. "
         "12:00 on 19 October 1867 happened twice: the clocks went back a whole day, from 15:30 on 19 "
         "October 1867 to 15:30 on 18 October 1867, and the first 12:00 on 19 October 1867 is taken. "
         "Sitka was at UTC+14:58:47, which the list does not hold; "
         "the time is shown as 10:01 New Zealand Std Summer Time, the same moment."},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto choice = atlas::ChooseZoneRow(c.zone, c.place, c.local, error);
        ASSERT_TRUE(choice) << error;
        EXPECT_EQ(choice->line, c.line);
    }
}

TEST(ZoneHistory, RefusalsSayWhy) {
    struct Case {
        const char* zone;
        LocalDateTime local;
        const char* error;
    } cases[] = {
        {"Mars/Olympus_Mons",
         {1990, 1, 1, 0, 0},
         "The time zone \"Mars/Olympus_Mons\" is not in the time-zone database."},
        {"../../etc/passwd",
         {1990, 1, 1, 0, 0},
         "The time zone \"../../etc/passwd\" is not in the time-zone database."},
        {"", {1990, 1, 1, 0, 0}, "No time zone was given."},
        {"Asia/Kolkata", {1990, 2, 29, 0, 0}, "There is no day 29 in February 1990."},
        {"Asia/Kolkata", {1990, 13, 1, 0, 0}, "There is no month 13; the months run from 1 to 12."},
        {"Asia/Kolkata",
         {0, 1, 1, 0, 0},
         "The year 0 lies outside the time-zone history, which covers the years 1 to 9999."},
        {"Asia/Kolkata",
         {10000, 1, 1, 0, 0},
         "The year 10000 lies outside the time-zone history, which covers the years 1 to 9999."},
        {"Asia/Kolkata", {1990, 1, 1, 25, 0}, "The time 25:00 is not a time of day."},
        {"Asia/Kolkata", {1990, 1, 1, -1, 0}, "The time -1:00 is not a time of day."},
        {"Asia/Kolkata", {1990, 1, 1, 12, 60}, "The time 12:60 is not a time of day."},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(atlas::ZoneAt(c.zone, c.local, error)) << c.zone;
        EXPECT_EQ(error, c.error);
    }
    // The edges of the range still answer: the place's mean time in year 1, the closing rule in 9999.
    std::string error;
    const auto first = atlas::ZoneAt("Asia/Kolkata", {1, 1, 1, 0, 0}, error);
    ASSERT_TRUE(first) << error;
    EXPECT_TRUE(first->localMeanTime);
    const auto last = atlas::ZoneAt("America/New_York", {9999, 12, 31, 24, 0}, error);
    ASSERT_TRUE(last) << error;
    EXPECT_EQ(last->offsetSeconds, -18000);
    EXPECT_EQ(last->date, (LocalDateTime{10000, 1, 1, 0, 0}));
}

TEST(ZoneHistory, DoubleCountWarning) {
    EXPECT_EQ(atlas::DoubleCountWarning(RowNamed("Eastern Daylight Time"), true),
              "Eastern Daylight Time already includes daylight saving; the box adds a second hour.");
    EXPECT_EQ(atlas::DoubleCountWarning(RowNamed("British Double Summer Time"), true),
              "British Double Summer Time already includes daylight saving; the box adds a second hour.");
    EXPECT_EQ(atlas::DoubleCountWarning(RowNamed("Eastern Daylight Time"), false), "");
    EXPECT_EQ(atlas::DoubleCountWarning(RowNamed("Eastern Standard Time"), true), "");
    EXPECT_EQ(atlas::DoubleCountWarning(-1, true), "");
    EXPECT_EQ(atlas::DoubleCountWarning(kTimeZoneCount, true), "");
    // By the words of the name: "Western" is no war, "Central European Daylight" has no "Time".
    const std::pair<const char*, bool> rows[] = {{"Australian Western Standard Time", false},
                                                 {"Central European Daylight", true},
                                                 {"New Zealand Std Summer Time", true},
                                                 {"Hawaiian War Time", true},
                                                 {"Greenwich Mean Time", false}};
    for (const auto& [name, isDaylight] : rows)
        EXPECT_EQ(atlas::IsDaylightRow(RowNamed(name)), isDaylight) << name;
}

// ---------------------------------------------------------------- the rule after a zone's last change

// The closing rules of the real zone files are read in the sweep against glibc below; these are refused.
TEST(ZoneHistory, MalformedRuleTextsAreRefused) {
    for (const char* bad :
         {"", "E5", "EST", "EST5EDT", "EST5EDT,M3.2.0", "EST5EDT,M13.1.0,M11.1.0", "EST5EDT,M3.6.0,M11.1.0",
          "EST5EDT,M3.2.7,M11.1.0", "EST5EDT,J0,J365", "EST5EDT,366,J1", "EST5EDT,M3.2.0/168,M11.1.0", "<+03",
          "<+03>", "<+0 3>-3", "EST25", "EST5:60", "EST5 ", "EST5EDT,M3.2.0,M11.1.0,",
          "EST5EDT4:99,M3.2.0,M11.1.0"})
        EXPECT_FALSE(atlas::IsReadableZoneRule(bad)) << bad;
}

// Past a zone file's listed changes (Gaza's run to 2086) its closing rule answers. At every change glibc
// makes in a few distant years, reading the same files: a minute before and after, and the middle of a
// skipped span.
TEST(ZoneHistory, TheClosingRuleChangesWhenGlibcDoes) {
    const struct {
        const char* zone;
        int changesPerYear;
    } zones[] = {
        {"America/New_York", 2}, {"Australia/Sydney", 2}, // north and south of the equator
        {"Europe/Dublin", 2},    // summer is its standard time, winter an hour behind
        {"America/Nuuk", 2},     // changes at -1:00 (Saturday 23:00) and 0:00
        {"America/Santiago", 2}, // at 24:00 on a Saturday
        {"Asia/Gaza", 2},        // at 50:00 after a Thursday
        {"Asia/Kolkata", 0},     // no daylight time
    };
    const char* saved = std::getenv("TZ");
    const std::string savedTz = saved ? saved : "";
    const auto glibcOffset = [](long long t) {
        const std::time_t tt = static_cast<std::time_t>(t);
        std::tm out{};
        EXPECT_NE(localtime_r(&tt, &out), nullptr);
        return static_cast<int>(out.tm_gmtoff);
    };
    const auto expect = [](const char* zone, long long local, int offset, LocalTimeKind kind) {
        std::string error;
        const auto m = atlas::ZoneAt(zone, LocalOf(local), error);
        EXPECT_TRUE(m) << Show(LocalOf(local)) << ": " << error;
        EXPECT_EQ(m.value_or(atlas::ZoneMoment{}).offsetSeconds, offset) << Show(LocalOf(local));
        EXPECT_EQ(m.value_or(atlas::ZoneMoment{}).kind, kind) << Show(LocalOf(local));
        return m.value_or(atlas::ZoneMoment{});
    };
    for (const auto& [zone, changesPerYear] : zones) {
        ASSERT_EQ(setenv("TZ", (std::string(":") + zone).c_str(), 1), 0);
        tzset();
        for (const int year : {2090, 2200, 9998}) {
            SCOPED_TRACE(std::string(zone) + " " + std::to_string(year));
            const long long from = SecondsOf({year, 1, 1, 0, 0}), to = SecondsOf({year + 1, 1, 1, 0, 0});
            const long long midyear = SecondsOf({year, 7, 1, 12, 0});
            expect(zone, midyear + glibcOffset(midyear), glibcOffset(midyear), LocalTimeKind::Normal);
            int changes = 0;
            for (long long t = from; t < to; t += 3600) {
                const int before = glibcOffset(t), after = glibcOffset(t + 3600);
                if (before == after)
                    continue;
                long long unchanged = t, change = t + 3600;
                while (change - unchanged > 1) {
                    const long long mid = (unchanged + change) / 2;
                    (glibcOffset(mid) == before ? unchanged : change) = mid;
                }
                ++changes;
                SCOPED_TRACE("change at " + Show(LocalOf(change)) + " UTC");
                // Going back, the clock readings after the change show twice; the first showing is taken.
                const bool back = after < before;
                const LocalTimeKind last = back ? LocalTimeKind::Repeated : LocalTimeKind::Normal;
                expect(zone, change - 60 + before, before, last);
                const atlas::ZoneMoment next = expect(zone, change + 60 + after, back ? before : after, last);
                if (back) {
                    EXPECT_EQ(next.changedAt, LocalOf(change + before));
                    EXPECT_EQ(next.offsetAfterSeconds, after);
                } else {
                    const atlas::ZoneMoment skipped =
                        expect(zone, change + (before + after) / 2, before, LocalTimeKind::Skipped);
                    EXPECT_EQ(skipped.changedAt, LocalOf(change + before));
                    EXPECT_EQ(skipped.offsetAfterSeconds, after);
                }
            }
            EXPECT_EQ(changes, changesPerYear);
        }
    }
    if (saved)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

// The tests that replace the rule source put the default back however they end.
class ZoneRuleSourceTest : public ::testing::Test {
  protected:
    void TearDown() override { atlas::SetZoneRuleSource({}); }
};

TEST_F(ZoneRuleSourceTest, WithoutARuleTimesAfterTheLastChangeAreRefused) {
    atlas::SetZoneRuleSource([](const std::string&) { return std::nullopt; });
    std::string error;
    EXPECT_FALSE(atlas::ZoneAt("America/New_York", {2040, 7, 4, 12, 0}, error));
    EXPECT_EQ(error,
              "The time-zone database holds no readable rule for America/New_York after 1 November 2037.");
    EXPECT_FALSE(atlas::ChooseZoneRow("America/New_York", "New York", {2040, 7, 4, 12, 0}, error));
    // Its history before that needs no rule.
    EXPECT_TRUE(atlas::ZoneAt("America/New_York", {1990, 7, 4, 12, 0}, error)) << error;

    atlas::SetZoneRuleSource([](const std::string&) { return std::string("garbage"); });
    EXPECT_FALSE(atlas::ZoneAt("Asia/Kolkata", {2000, 1, 1, 12, 0}, error));
    EXPECT_EQ(error, "The time-zone database holds no readable rule for Asia/Kolkata after 14 October 1945.");
}

TEST_F(ZoneRuleSourceTest, TheRuleAnswersOnlyAfterTheLastListedChange) {
    atlas::SetZoneRuleSource([](const std::string&) { return std::string("<+03>-3"); });
    std::string error;
    const auto later = atlas::ZoneAt("America/New_York", {2040, 7, 4, 12, 0}, error);
    ASSERT_TRUE(later) << error;
    EXPECT_EQ(later->offsetSeconds, 10800);
    EXPECT_EQ(later->abbreviation, "+03");
    const auto earlier = atlas::ZoneAt("America/New_York", {2037, 7, 4, 12, 0}, error);
    ASSERT_TRUE(earlier) << error;
    EXPECT_EQ(earlier->offsetSeconds, -14400);
}

// UTC has no listed change, so a rule put in its place answers for every date.
TEST_F(ZoneRuleSourceTest, DayCountsOfTheRuleKeepOrSkipTheLeapDay) {
    struct Case {
        const char* rule;
        LocalDateTime local;
        LocalTimeKind kind;
        int offsetSeconds;
    } cases[] = {
        // Jn never counts 29 February: J60 is 1 March in every year.
        {"AAA-1BBB-2,J60/0,J300/0", {2040, 3, 1, 0, 30}, LocalTimeKind::Skipped, 3600},
        {"AAA-1BBB-2,J60/0,J300/0", {2040, 2, 29, 12, 0}, LocalTimeKind::Normal, 3600},
        // n counts it from 0: day 59 is 29 February in a leap year, 1 March in others.
        {"AAA-1BBB-2,59/0,300/0", {2040, 2, 29, 0, 30}, LocalTimeKind::Skipped, 3600},
        {"AAA-1BBB-2,59/0,300/0", {2041, 3, 1, 0, 30}, LocalTimeKind::Skipped, 3600},
        {"AAA-1BBB-2,59/0,300/0", {2041, 3, 1, 12, 0}, LocalTimeKind::Normal, 7200},
    };
    for (const Case& c : cases) {
        atlas::SetZoneRuleSource([&](const std::string&) { return std::string(c.rule); });
        std::string error;
        const auto m = atlas::ZoneAt("UTC", c.local, error);
        ASSERT_TRUE(m) << error;
        EXPECT_EQ(m->kind, c.kind) << c.rule << " " << Show(c.local);
        EXPECT_EQ(m->offsetSeconds, c.offsetSeconds) << c.rule << " " << Show(c.local);
    }
}

// ---------------------------------------------------------------- the whole database

// glibc reads the same zone files with its own code, the closing rules included. Every zone, sampled
// every 97 days from 1850 to 2060 away from its changes: the same offset, and a row and box (or a moved
// time) that give the same moment without counting daylight saving twice.
TEST(ZoneHistory, EveryZoneAgreesWithGlibc) {
    const char* saved = std::getenv("TZ");
    const std::string savedTz = saved ? saved : "";
    const long long from = SecondsOf({1850, 1, 1, 6, 0});
    const long long to = SecondsOf({2060, 12, 31, 0, 0});
    int compared = 0;
    for (const date::time_zone& zone : date::get_tzdb().zones) {
        const std::string name(zone.name());
        ASSERT_EQ(setenv("TZ", (":" + name).c_str(), 1), 0);
        tzset();
        const auto glibcOffset = [](long long t) {
            const std::time_t tt = static_cast<std::time_t>(t);
            std::tm out{};
            EXPECT_NE(localtime_r(&tt, &out), nullptr);
            return static_cast<int>(out.tm_gmtoff);
        };
        for (long long t = from; t < to; t += 97 * 86400LL + 3607) {
            const int offset = glibcOffset(t);
            if (glibcOffset(t - 86400) != offset || glibcOffset(t + 86400) != offset)
                continue;
            const LocalDateTime local = LocalOf(t + offset);
            std::string error;
            const auto choice = atlas::ChooseZoneRow(name, "", local, error);
            ASSERT_TRUE(choice) << name << " " << Show(local) << ": " << error;
            ASSERT_EQ(choice->moment.offsetSeconds, offset) << name << " " << Show(local);
            ASSERT_EQ(choice->moment.kind, LocalTimeKind::Normal) << name << " " << Show(local);
            const int rowOffset = RowOffsetSeconds(choice->row) + (choice->dst ? 3600 : 0);
            if (choice->timeChanged) {
                const long long moved =
                    SecondsOf(choice->shownTime) - rowOffset - (SecondsOf(local) - offset);
                ASSERT_LE(std::abs(moved), 30) << name << " " << Show(local);
            } else {
                ASSERT_EQ(rowOffset, offset) << name << " " << Show(local);
            }
            ASSERT_EQ(atlas::DoubleCountWarning(choice->row, choice->dst), "") << name << " " << Show(local);
            ++compared;
        }
    }
    if (saved)
        setenv("TZ", savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_GT(compared, 100000);
}
