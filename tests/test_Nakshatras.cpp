// SPDX-License-Identifier: AGPL-3.0-or-later
// The nakshatras: which one a longitude falls in, its name, lord and pada, and the classic rows by sign.
#include "astro/Moon.h"
#include "astro/Nakshatras.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(NakshatraOf, TwentySevenSpansOfThirteenDegreesTwentyMinutes) {
    ASSERT_EQ(kNakshatraCount, 27);
    // Names the tradition places at these longitudes: Chitra straddles Virgo and Libra.
    const std::pair<double, const char*> known[] = {
        {0.5, "Aswini"}, {110.0, "Aslesha"}, {180.0, "Chitra"}, {359.5, "Revati"}};
    for (const auto& [longitude, name] : known)
        EXPECT_EQ(NakshatraForLongitude(longitude), name) << longitude;
    for (int n = 0; n < 27; ++n) {
        const double start = n * 40.0 / 3.0;
        EXPECT_EQ(NakshatraOf(start + 1e-9), n);
        EXPECT_EQ(NakshatraOf(start + 13.3333), n);
        EXPECT_FALSE(NakshatraNameAt(n).empty()) << n;
        EXPECT_EQ(NakshatraForLongitude(start + 1e-9), NakshatraNameAt(n)) << n;
    }
    for (double outside : {360.0, -1.0}) {
        EXPECT_EQ(NakshatraOf(outside), -1);
        EXPECT_EQ(NakshatraForLongitude(outside), "");
    }
    EXPECT_EQ(NakshatraNameAt(27), "");
}

TEST(NakshatraPlaceOf, NakshatraPadaAndLordAtTheBoundaries) {
    constexpr double span = 360.0 / 27;
    const struct {
        double longitude;
        int nakshatra, pada;
        const char* lord;
    } cases[] = {
        {0.0, 0, 1, "Ketu"},
        {span / 4 - 1e-9, 0, 1, "Ketu"},
        {span / 4 + 1e-9, 0, 2, "Ketu"},
        {span - 1e-9, 0, 4, "Ketu"},
        {span + 1e-9, 1, 1, "Venus"},
        {93.0 + 1.0 / 3 + 1e-9, 7, 1, "Saturn"}, // Pushya from 3°20' Cancer
        {9 * span + 1e-9, 9, 1, "Ketu"},         // Magha: the order starts again
        {40.0, 3, 1, "Moon"},                    // Rohini begins exactly at 40 degrees
        {360.0 - 1e-9, 26, 4, "Mercury"},        // Revati
        {360.0, 26, 4, "Mercury"},               // outside the zodiac: its last quarter
        {-1.0, 0, 1, "Ketu"},                    // and its first
    };
    for (const auto& c : cases) {
        const NakshatraPlace place = NakshatraPlaceOf(c.longitude);
        EXPECT_EQ(place.nakshatra, c.nakshatra) << c.longitude;
        EXPECT_EQ(place.pada, c.pada) << c.longitude;
        EXPECT_EQ(Body(place.lord).english, c.lord) << c.longitude;
    }
}

TEST(NakshatraRows, EachSignsPadasAddUpToNineAndTheNakshatrasFollowInOrder) {
    int previous = 0;
    for (int s = 0; s < 12; ++s) {
        int sum = 0;
        for (int j = 3 * s; j < 3 * s + 3; ++j) {
            const NakshatraRow& row = NakshatraRows[static_cast<std::size_t>(j)];
            sum += row.padas;
            // The same nakshatra as the row before (carried over a sign boundary) or the next one.
            EXPECT_TRUE(row.nakshatra == previous || row.nakshatra == previous + 1) << j;
            previous = row.nakshatra;
        }
        EXPECT_EQ(sum, 9) << s;
    }
    EXPECT_EQ(previous, 26);
}

TEST(ClassicNakshatraRow, EveryNakshatraInItsOwnSign) {
    struct {
        const char* name;
        const char* sign;
        const char* lord;
        int padas;
    } cases[] = {
        {"Aswini", "Ari", "Ketu", 4},
        {"Bharani", "Ari", "Venus", 4},
        {"Krittika", "Ari", "Sun", 1},
        {"Krittika", "Tau", "Sun", 3},
        {"Rohini", "Tau", "Moon", 4},
        {"Mrigsira", "Tau", "Mars", 2},
        {"Mrigsira", "Gem", "Mars", 2},
        {"Ardra", "Gem", "Rahu", 4},
        {"Punarvasu", "Gem", "Jupiter", 3},
        {"Punarvasu", "Can", "Jupiter", 1},
        {"Pushya", "Can", "Saturn", 4},
        {"Aslesha", "Can", "Mercury", 4},
        {"Magha", "Leo", "Ketu", 4},
        {"Purbha Phalguni", "Leo", "Venus", 4},
        {"Uttara Phalguni", "Leo", "Sun", 1},
        {"Uttara Phalguni", "Vir", "Sun", 3},
        {"Hasta", "Vir", "Moon", 4},
        {"Chitra", "Vir", "Mars", 2},
        {"Chitra", "Lib", "Mars", 2},
        {"Swati", "Lib", "Rahu", 4},
        {"Vishakha", "Lib", "Jupiter", 3},
        {"Vishakha", "Sco", "Jupiter", 1},
        {"Anuradha", "Sco", "Saturn", 4},
        {"Jyeshtha", "Sco", "Mercury", 4},
        {"Mula", "Sag", "Ketu", 4},
        {"Purva Ashadha", "Sag", "Venus", 4},
        {"Uttara Ashadha", "Sag", "Sun", 1},
        {"Uttara Ashadha", "Cap", "Sun", 3},
        {"Shravana", "Cap", "Moon", 4},
        {"Dhanishtha", "Cap", "Mars", 2},
        {"Dhanishtha", "Aqu", "Mars", 2},
        {"Shatbisha", "Aqu", "Rahu", 4},
        {"Poorva Bhadrapada", "Aqu", "Jupiter", 3},
        {"Poorva Bhadrapada", "Pis", "Jupiter", 1},
        {"Uttara Bhadrapada", "Pis", "Saturn", 4},
        {"Revati", "Pis", "Mercury", 4},
    };
    int nakshatra = -1;
    std::string previous;
    for (const auto& c : cases) {
        if (previous != c.name)
            ++nakshatra;
        previous = c.name;
        const int row = ClassicNakshatraRow(nakshatra, SignIndexOfCode(c.sign));
        ASSERT_GE(row, 0) << c.name << " in " << c.sign;
        const NakshatraRow& found = NakshatraRows[static_cast<std::size_t>(row)];
        EXPECT_EQ(NakshatraNameAt(found.nakshatra), c.name);
        EXPECT_EQ(Body(NakshatraLord(found.nakshatra)).english, c.lord) << c.name << " in " << c.sign;
        EXPECT_EQ(found.padas, c.padas) << c.name << " in " << c.sign;
    }
}

TEST(ClassicNakshatraRow, MoonInTheTaurusPartOfKrittikaCountsTheTaurusPadas) {
    // 35 degrees sidereal: Krittika, in Taurus.
    const int row = ClassicNakshatraRow(NakshatraOf(35.0), ZodiacSignOf(35.0));
    ASSERT_GE(row, 0);
    EXPECT_EQ(NakshatraNameAt(NakshatraRows[static_cast<std::size_t>(row)].nakshatra), "Krittika");
    EXPECT_EQ(NakshatraRows[static_cast<std::size_t>(row)].padas, 3);
}

TEST(ClassicNakshatraRow, EveryLongitudeFindsARowOfItsOwnSign) {
    for (double x = 0.0005; x < 360.0; x += 0.25) {
        const int row = ClassicNakshatraRow(NakshatraOf(x), ZodiacSignOf(x));
        ASSERT_GE(row, 0) << x;
        EXPECT_EQ(NakshatraRows[static_cast<std::size_t>(row)].nakshatra, NakshatraOf(x)) << x;
        EXPECT_EQ(row / 3, ZodiacSignOf(x)) << x;
    }
}

TEST(ClassicNakshatraRow, ANakshatraOutsideItsSignTakesItsFirstRowAndNoneHasNoRow) {
    // Magha's rows all lie in Leo; a Moon that the whole degrees put in Cancer still finds one.
    EXPECT_EQ(ClassicNakshatraRow(9, 3), 12);
    EXPECT_EQ(ClassicNakshatraRow(-1, 3), -1);
    EXPECT_EQ(ClassicNakshatraRow(27, 3), -1);
}
