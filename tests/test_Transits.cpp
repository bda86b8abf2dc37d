// SPDX-License-Identifier: AGPL-3.0-or-later
// Transits: positions against a reading made independently at the moment, houses counted by hand, the
// sade sati against Saturn's published sidereal ingresses, and the companion's --transit.
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "pipeline/Transits.h"
#include "support/TestBirths.h"
#include "tools/ChartCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

double Minutes(int year, int month, int day, int hour = 0, int minute = 0) {
    return static_cast<double>(DayOf(year, month, day).time_since_epoch().count()) * 1440 + hour * 60 +
           minute;
}

std::vector<Calculation> Calculations() {
    if (PreciseCalculationBuilt())
        return {Calculation::Classic, Calculation::Precise};
    return {Calculation::Classic};
}

// Delhi, 1947: its reading with the Moon moved to the sign asked for, which is all the sade sati uses.
Reading BirthWithMoonIn(int sign, Calculation calculation) {
    Reading reading = *ComputeReading(BirthOf(Entry1947()), calculation).reading;
    reading.signs[static_cast<std::size_t>(BodySlot::Moon)] = sign;
    return reading;
}

TEST(Transits, PositionsAreTheReadingOfTheBirthPlaceAtTheMoment) {
    for (Calculation calculation : Calculations()) {
        const Reading birth = *ComputeReading(BirthOf(Entry1947()), calculation).reading;
        // The same place, the clock in universal time: 2020-01-24 05:03 is 10:33 in Delhi.
        const TestBirth then = MakeBirth(2020, 1, 24, 5, 3).Latitude(28, 39, false).Longitude(77, 13, true);
        const Reading expected = *ComputeReading(then, calculation).reading;
        const ReadingResult transit = TransitReading(birth, Minutes(2020, 1, 24, 5, 3));
        ASSERT_TRUE(transit.reading) << transit.message;
        for (std::size_t i = 0; i < kGrahaSlots; ++i) {
            EXPECT_EQ(transit.reading->longitudes[i], expected.longitudes[i]) << i;
            EXPECT_EQ(transit.reading->retrograde[i], expected.retrograde[i]) << i;
        }
        // The chart's entries without the ascendant.
        std::array<std::vector<std::string>, 12> cells = ChartCellEntries(expected);
        auto& lagnaCell = cells[static_cast<std::size_t>(expected.LagnaSign())];
        lagnaCell.erase(lagnaCell.begin());
        EXPECT_EQ(TransitCellEntries(*transit.reading), cells);
    }
}

// Mercury turned retrograde on 2020-02-17 at 00:54 UT (the almanacs). A birth whose local date is not
// its universal date on either side of that day: the transit at the birth moment marks what the chart
// marks, and the chart marks Mercury only when the local date lies after the station's.
TEST(Transits, AtTheBirthMomentTheMarksAreTheChartsWhateverTheZone) {
    const struct {
        TestBirth birth;
        bool mercuryRetrograde;
    } cases[] = {
        // 07:15 at UTC+10 on the 18th is 21:15 UT on the 17th.
        {MakeBirth(2020, 2, 18, 7, 15).Zone(-10, 0).Latitude(31, 3, false).Longitude(103, 22, false), true},
        // 20:00 at UTC-5 on the 17th is 01:00 UT on the 18th.
        {MakeBirth(2020, 2, 17, 20, 0).Zone(5, 0).Latitude(40, 43, false).Longitude(74, 0, false), false},
    };
    for (Calculation calculation : Calculations()) {
        for (const auto& c : cases) {
            const Reading birth = *ComputeReading(c.birth, calculation).reading;
            const ReadingResult transit = TransitReading(birth, BirthMinutesUT(c.birth));
            ASSERT_TRUE(transit.reading) << transit.message;
            EXPECT_EQ(transit.reading->retrograde, birth.retrograde) << c.birth.day;
            if (calculation == Calculation::Classic) {
                EXPECT_EQ(birth.Retrograde(BodySlot::Mercury), c.mercuryRetrograde) << c.birth.day;
            }
        }
    }
}

TEST(Transits, MomentsOutsideTheYearsAreRefused) {
    const Reading birth = *ComputeReading(BirthOf(Entry1980()), Calculation::Classic).reading;
    const struct {
        double moment;
        bool accepted;
    } cases[] = {{Minutes(1901, 1, 1), true},
                 {Minutes(1901, 1, 1) - 1, false},
                 {Minutes(2050, 12, 31, 23, 59), true},
                 {Minutes(2051, 1, 1), false}};
    for (const auto& c : cases) {
        const ReadingResult transit = TransitReading(birth, c.moment);
        EXPECT_EQ(transit.reading.has_value(), c.accepted) << c.moment;
        EXPECT_EQ(transit.message.empty(), c.accepted) << c.moment;
    }
}

TEST(Transits, HousesCountSignsInclusively) {
    const struct {
        int sign, from, house;
    } cases[] = {{0, 11, 2}, {11, 0, 12}, {5, 5, 1}, {3, 0, 4}, {0, 1, 12}, {6, 0, 7}, {2, 9, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(HouseFromSign(c.sign, c.from), c.house) << c.sign << " from " << c.from;
}

// Saturn's sidereal (Lahiri) ingresses as the Indian almanacs publish them, dates in universal time,
// which the Swiss Ephemeris reproduces to the day: Scorpio 2014-11-02; Sagittarius 2017-01-26, back
// into Scorpio 2017-06-21, Sagittarius again 2017-10-26; Capricorn 2020-01-24; Aquarius 2022-04-29,
// back into Capricorn 2022-07-12, Aquarius again 2023-01-17; Pisces 2025-03-29; Aries 2027-06-03, back
// into Pisces 2027-10-20, Aries again 2028-02-23.
TEST(Transits, SadeSatiRunsFromTheTwelfthSignToTheSecondWithTheRetrogradeReturns) {
    const struct {
        int moon; // sign
        double moment;
        const char* line; // the precise calculation's
    } cases[] = {
        // From Capricorn to leaving Pisces, with the return to Pisces in 2027.
        {10, Minutes(2022, 1, 1), "Sade sati: 2020-01-24 2028-02-23"},
        // The return to Scorpio in 2017 belongs to the cycle.
        {9, Minutes(2023, 6, 1), "Sade sati: 2017-01-26 2025-03-29"},
        // Saturn back in Aquarius for a while: still the same cycle.
        {8, Minutes(2022, 6, 1), "Sade sati: 2014-11-02 2023-01-17"},
        {8, Minutes(2014, 11, 1), "Sade sati: none"},
        {8, Minutes(2023, 2, 1), "Sade sati: none"},
        {3, Minutes(2022, 1, 1), "Sade sati: none"},
    };
    for (Calculation calculation : Calculations()) {
        for (const auto& c : cases) {
            const Reading birth = BirthWithMoonIn(c.moon, calculation);
            const SadeSatiSearch search = SadeSatiAt(birth, c.moment);
            ASSERT_TRUE(search.message.empty()) << search.message;
            if (calculation == Calculation::Precise) {
                EXPECT_EQ(SadeSatiLine(search), std::string(c.line) + "\r\n") << c.moon;
            } else if (search.cycle) {
                // The classic planets' simpler orbits put the ingresses a few days later.
                const std::string line = c.line;
                ASSERT_NE(line, "Sade sati: none") << c.moon;
                const auto date = [](const std::string& text) {
                    const int y = std::stoi(text.substr(0, 4)), m = std::stoi(text.substr(5, 2)),
                              d = std::stoi(text.substr(8, 2));
                    return Minutes(y, m, d);
                };
                EXPECT_NEAR(search.cycle->start, date(line.substr(11, 10)), 5 * 1440.0) << c.moon;
                EXPECT_NEAR(search.cycle->end, date(line.substr(22, 10)), 5 * 1440.0) << c.moon;
            } else {
                EXPECT_EQ(std::string(c.line), "Sade sati: none") << c.moon;
            }
            if (!search.cycle)
                continue;
            // To the minute: the reading at the start has Saturn in the 12th sign from the Moon, a
            // minute before in the 11th; at the end in the 3rd, a minute before in the 2nd.
            const struct {
                double moment;
                int house;
            } edges[] = {{search.cycle->start, 12},
                         {search.cycle->start - 1, 11},
                         {search.cycle->end, 3},
                         {search.cycle->end - 1, 2}};
            for (const auto& edge : edges) {
                const Reading then = *TransitReading(birth, edge.moment).reading;
                EXPECT_EQ(HouseFromSign(then.Sign(BodySlot::Saturn), c.moon), edge.house) << c.moon;
            }
        }
    }
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCompanion(std::vector<std::string> extra) {
    std::vector<std::string> args = {"--name", "Test Person", "--date",  "1947-08-15", "--time",    "0:00",
                                     "--zone", "34",          "--lat",   "28d39N",     "--lon",     "77d13E",
                                     "--city", "Delhi",       "--state", "Delhi",      "--country", "India"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    const int status = RunChartCommand(args, out, err);
    return {status, out.str(), err.str()};
}

// The transiting bodies of 2022-01-01 00:00 UT as the almanacs give their sidereal signs (Venus
// retrograde); the Moon of this birth is in Cancer, Saturn in Capricorn, so no sade sati.
TEST(Transits, CompanionWritesTheTransitsAfterTheDivisionalCharts) {
    const Result r = RunCompanion({"--dasha", "--transit", "2022-01-01T00:00", "--varga", "9"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 41u + 13 + 13 + 90);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 54, lines.begin() + 67),
              (std::vector<std::string>{
                  "1:", "2: Rahu", "3:", "4:", "5:", "6:", "7:", "8: Chandra, Mangala, Ketu",
                  "9: Surya, Shukra (R) ", "10: Budha, Shani", "11: Guru", "12:", "Sade sati: none"}));
    EXPECT_EQ(lines[41], "D9");
    EXPECT_EQ(lines[68].rfind("  ", 0), 0u); // the first sub-period

    const std::string tryHelp = "\nTry 'quillmere-chart --help'.\n";
    const struct {
        const char* value;
        const char* err;
    } refused[] = {
        {"2022-01-01 00:00", "--transit: expected YYYY-MM-DDTHH:MM (universal time)"},
        {"2022-1-01T00:00", "--transit: expected YYYY-MM-DDTHH:MM (universal time)"},
        {"2022-02-29T00:00", "--transit: 2022-02-29T00:00 is not a date and time of day"},
        {"2022-01-01T24:00", "--transit: 2022-01-01T24:00 is not a date and time of day"},
        {"2022-01-01T00:60", "--transit: 2022-01-01T00:60 is not a date and time of day"},
        {"1900-12-31T23:59", "--transit: the year must lie in 1901 to 2050"},
        {"2051-01-01T00:00", "--transit: the year must lie in 1901 to 2050"},
    };
    for (const auto& c : refused) {
        const Result bad = RunCompanion({"--transit", c.value});
        EXPECT_EQ(bad.status, 2) << c.value;
        EXPECT_EQ(bad.err, c.err + tryHelp) << c.value;
        EXPECT_TRUE(bad.out.empty()) << c.value;
    }
}

} // namespace
