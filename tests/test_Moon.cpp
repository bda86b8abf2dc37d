// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Moon.h"
#include "astro/Nakshatras.h"
#include "astro/TextUtil.h"
#include "records/Vocabulary.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// The earlier rule took the zone's direction from the longitude's hemisphere; where the two agree
// the signed-zone rule must give the very same bits.
double HemisphereRuleUniversalHours(const Birth& b) {
    const double localHours = b.hour + b.minute / 60.0;
    double zoneHours = b.tzHours + b.tzMinutes / 60.0;
    double signedLongitude = b.lonDeg + b.lonMin / 60.0;
    if (b.lonEast)
        signedLongitude = -signedLongitude;
    if (b.dst)
        zoneHours = signedLongitude < 0 ? zoneHours + 1 : zoneHours - 1;
    return signedLongitude < 0 ? localHours - zoneHours : localHours + zoneHours;
}

} // namespace

TEST(JulianDayNumber, WorkedExamples) {
    EXPECT_EQ(JulianDayNumber(1, 1, 2000), 2451545.0);
    EXPECT_EQ(JulianDayNumber(3, 15, 1985), 2446140.0);
    EXPECT_EQ(JulianDayNumber(1, 1, 1990), 2447893.0);
}

TEST(JulianDayNumber, CalendarReformBoundary) {
    // Days up to Julian-calendar number 2299171 are Julian dates; beyond, Gregorian.
    EXPECT_EQ(JulianDayNumber(10, 15, 1582), 2299171.0);
    EXPECT_EQ(JulianDayNumber(10, 16, 1582), 2299162.0);
}

TEST(JulianDayNumber, ConsecutiveDaysAcrossMonthsAndLeapYears) {
    EXPECT_EQ(JulianDayNumber(3, 1, 1904) - JulianDayNumber(2, 28, 1904), 2.0);
    EXPECT_EQ(JulianDayNumber(3, 1, 1901) - JulianDayNumber(2, 28, 1901), 1.0);
    EXPECT_EQ(JulianDayNumber(3, 1, 2000) - JulianDayNumber(2, 28, 2000), 2.0);
    EXPECT_EQ(JulianDayNumber(1, 1, 2051) - JulianDayNumber(1, 1, 1901), 54787.0);
}

TEST(BirthMoment, NoonUniversalTimeAtJ2000GivesZeroCenturies) {
    const BirthMoment m = ComputeBirthMoment(MakeBirth(2000, 1, 1, 12, 0));
    EXPECT_EQ(JulianCenturiesJ2000(m.julianDayNumber, m.universalHours), 0.0);
}

TEST(BirthMoment, EasternZoneBeforeMidnightMovesIntoThePreviousDay) {
    const BirthMoment m =
        ComputeBirthMoment(MakeBirth(1990, 1, 1, 0, 30).Zone(-5, -30).Longitude(77, 13, true));
    EXPECT_EQ(m.universalHours, -5.0);
    EXPECT_EQ(m.julianDayNumber, 2447893.0); // the date itself is not changed
    EXPECT_LT(JulianCenturiesJ2000(m.julianDayNumber, m.universalHours),
              JulianCenturiesJ2000(m.julianDayNumber, 0.0));
}

TEST(BirthMoment, WesternZoneAddsTheZone) {
    const BirthMoment m =
        ComputeBirthMoment(MakeBirth(1990, 1, 1, 0, 30).Zone(5, 30).Longitude(77, 13, false));
    EXPECT_EQ(m.universalHours, 6.0);
}

TEST(BirthMoment, ZoneKeepsItsOwnSignWhateverTheHemisphere) {
    // Indian Time for a birth west of Greenwich, and Eastern Standard Time for one east of it.
    EXPECT_EQ(
        ComputeBirthMoment(MakeBirth(1990, 1, 1, 0, 30).Zone(-5, -30).Longitude(3, 42, false)).universalHours,
        -5.0);
    EXPECT_EQ(
        ComputeBirthMoment(MakeBirth(1990, 1, 1, 12, 0).Zone(5, 0).Longitude(2, 20, true)).universalHours,
        17.0);
    // Spain keeps Central European Time though it lies west of Greenwich.
    EXPECT_EQ(ComputeBirthMoment(MakeBirth(1990, 6, 1, 12, 0).Zone(-1, 0).Longitude(3, 42, false).Dst())
                  .universalHours,
              10.0);
}

TEST(BirthMoment, DaylightSavingMovesUniversalTimeOneHourEarlierInBothHemispheres) {
    const BirthMoment eastStd =
        ComputeBirthMoment(MakeBirth(1990, 6, 1, 12, 0).Zone(-5, -30).Longitude(77, 13, true));
    const BirthMoment eastDst =
        ComputeBirthMoment(MakeBirth(1990, 6, 1, 12, 0).Zone(-5, -30).Longitude(77, 13, true).Dst());
    const BirthMoment westStd =
        ComputeBirthMoment(MakeBirth(1990, 6, 1, 12, 0).Zone(5, 0).Longitude(74, 0, false));
    const BirthMoment westDst =
        ComputeBirthMoment(MakeBirth(1990, 6, 1, 12, 0).Zone(5, 0).Longitude(74, 0, false).Dst());
    EXPECT_EQ(eastDst.universalHours, eastStd.universalHours - 1);
    EXPECT_EQ(westDst.universalHours, westStd.universalHours - 1);
}

TEST(BirthMoment, AgreesBitForBitWithTheHemisphereRuleWhereBothAgree) {
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> hour(0, 24), minute(0, 59), lonDeg(1, 179), lonMin(0, 59), zh(0, 13);
    const int zoneMinutes[] = {0, 30};
    for (int n = 0; n < 5000; ++n) {
        const bool east = n % 2 == 0;
        const int h = zh(gen);
        const int m = zoneMinutes[n % 4 < 2 ? 0 : 1];
        const int sign = east ? -1 : 1;
        const Birth b = MakeBirth(1950, 6, 15, hour(gen), minute(gen))
                            .Zone(sign * h, sign * m)
                            .Longitude(lonDeg(gen), lonMin(gen), east)
                            .Dst(n % 3 == 0);
        ASSERT_EQ(ComputeBirthMoment(b).universalHours, HemisphereRuleUniversalHours(b)) << n;
    }
    // Zone 0 on either side, and longitude 0 marked east (counted as west).
    for (bool east : {false, true})
        for (bool dst : {false, true}) {
            const Birth b =
                MakeBirth(1950, 6, 15, 7, 41).Zone(0, 0).Longitude(east ? 0 : 3, 0, east).Dst(dst);
            EXPECT_EQ(ComputeBirthMoment(b).universalHours, HemisphereRuleUniversalHours(b));
        }
}

TEST(BirthMoment, HourTwentyFourIsTheNextDaysMidnight) {
    const BirthMoment at24 = ComputeBirthMoment(MakeBirth(1990, 1, 1, 24, 10));
    const BirthMoment next = ComputeBirthMoment(MakeBirth(1990, 1, 2, 0, 10));
    EXPECT_NEAR(JulianCenturiesJ2000(at24.julianDayNumber, at24.universalHours),
                JulianCenturiesJ2000(next.julianDayNumber, next.universalHours), 1e-15);
}

TEST(LunarEphemeris, AtJ2000) {
    EXPECT_NEAR(ComputeAyanamsa(0.0), -23.853726, 5e-7);
    EXPECT_NEAR(TropicalMoonLongitude(0.0), 223.316103, 5e-7);
    EXPECT_NEAR(SiderealMoonLongitude(0.0), 199.462377, 5e-7);
}

TEST(LunarEphemeris, Delhi1985) {
    const BirthMoment m =
        ComputeBirthMoment(MakeBirth(1985, 3, 15, 10, 30).Zone(-5, -30).Longitude(77, 13, true));
    const double T = JulianCenturiesJ2000(m.julianDayNumber, m.universalHours);
    EXPECT_NEAR(T, -0.1479888, 5e-8);
    EXPECT_NEAR(ComputeAyanamsa(T), -23.647020, 5e-7);
    EXPECT_NEAR(TropicalMoonLongitude(T), 282.692138, 5e-7);
    EXPECT_NEAR(SiderealMoonLongitude(T), 259.045118, 5e-7);
}

TEST(LunarEphemeris, NewYork1976WithDaylightSaving) {
    const BirthMoment m =
        ComputeBirthMoment(MakeBirth(1976, 7, 4, 14, 15).Zone(5, 0).Longitude(74, 0, false).Dst());
    EXPECT_EQ(m.universalHours, 18.25);
    const double T = JulianCenturiesJ2000(m.julianDayNumber, m.universalHours);
    EXPECT_NEAR(TropicalMoonLongitude(T), 193.287506, 5e-7);
    EXPECT_NEAR(SiderealMoonLongitude(T), 169.755458, 5e-7);
}

TEST(LunarEphemeris, AyanamsaOverTheOfferedYears) {
    EXPECT_NEAR(ComputeAyanamsa(-0.99), -22.48, 0.01);
    EXPECT_NEAR(ComputeAyanamsa(0.51), -24.57, 0.01);
}

TEST(LunarEphemeris, SiderealLongitudeStaysWithinOneTurn) {
    for (double T = -1.0; T <= 0.51; T += 0.0007) {
        const double s = SiderealMoonLongitude(T);
        ASSERT_GE(s, 0.0) << T;
        ASSERT_LT(s, 360.0) << T;
    }
}

TEST(WrapByWholeTurns, SameAsTheStepwiseLoop) {
    auto loop = [](double x) {
        while (x < 0)
            x += 360;
        while (x > 360)
            x -= 360;
        return x;
    };
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> wide(-482000.0, 482000.0);
    for (int n = 0; n < 20000; ++n) {
        const double x = wide(gen);
        ASSERT_EQ(astro::WrapByWholeTurns(x), loop(x)) << x;
    }
    for (double x : {0.0, 360.0, 720.0, -360.0, -720.0, 359.999999, 360.000001, -0.5, 1e-300, -1e-300}) {
        EXPECT_EQ(astro::WrapByWholeTurns(x), loop(x)) << x;
        EXPECT_EQ(std::signbit(astro::WrapByWholeTurns(x)), std::signbit(loop(x))) << x;
    }
}

struct PositionCase {
    double longitude;
    const char* text;
    const char* nakshatra;
    const char* rashi;
};

TEST(PositionText, PartsNakshatraAndRashi) {
    const PositionCase cases[] = {
        {199.462377, "19\u00B0 27' 44\" Lib", "Swati", "Thula"},
        {259.045118, "19\u00B0 2' 42\" Sag", "Purva Ashadha", "Dhanush"},
        {169.755458, "19\u00B0 45' 19\" Vir", "Hasta", "Kanya"},
        {0.0, "0\u00B0 0' 0\" Ari", "Aswini", "Mesha"},
        {13.33333, "13\u00B0 19' 59\" Ari", "Aswini", "Mesha"},
        {40.0 / 3.0, "13\u00B0 20' 0\" Ari", "Bharani", "Mesha"},
        {30.0, "0\u00B0 0' 0\" Tau", "Krittika", "Vrishabha"},
    };
    for (const PositionCase& c : cases) {
        const std::string text = FormatZodiacPosition(c.longitude);
        EXPECT_EQ(text, c.text) << c.longitude;
        EXPECT_EQ(NakshatraForLongitude(c.longitude), c.nakshatra) << c.longitude;
        EXPECT_EQ(kSigns[static_cast<std::size_t>(ZodiacSignOf(c.longitude))].sanskrit, c.rashi)
            << c.longitude;
        EXPECT_EQ(kSigns[static_cast<std::size_t>(ZodiacSignOf(c.longitude))].code,
                  astro::LastChars(text, 3));
        EXPECT_EQ(NakshatraNameAt(NakshatraOf(c.longitude)), c.nakshatra) << c.longitude;
    }
}

TEST(PositionText, CutsNeverRounds) {
    EXPECT_EQ(FormatZodiacPosition(29.99999999), "29\u00B0 59' 59\" Ari");
    EXPECT_EQ(FormatZodiacPosition(359.9999), "29\u00B0 59' 59\" Pis");
    // No sign beyond Pisces: a full turn has no code.
    EXPECT_EQ(FormatZodiacPosition(360.0), "0\u00B0 0' 0\" ");
    // The sign of the number is the sign of the text, from the whole degrees.
    const std::pair<double, int> signs[] = {
        {29.99999999, 0}, {30.0, 1}, {359.9999, 11}, {360.0, -1}, {725.0, -1}};
    for (const auto& [longitude, sign] : signs)
        EXPECT_EQ(ZodiacSignOf(longitude), sign) << longitude;
}

TEST(MoonLongitude, TextNakshatraAndRashiOfABirth) {
    const double moon = MoonLongitude(MakeBirth(1985, 3, 15, 10, 30).Zone(-5, -30).Longitude(77, 13, true));
    EXPECT_EQ(FormatZodiacPosition(moon), "19\u00B0 2' 42\" Sag");
    EXPECT_EQ(NakshatraForLongitude(moon), "Purva Ashadha");
    EXPECT_EQ(ZodiacSignOf(moon), 8);
}
