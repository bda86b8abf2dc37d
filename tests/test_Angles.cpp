// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Angles.h"
#include "astro/AstroConstants.h"
#include "astro/Moon.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

TEST(ChartAyanamsa, AtTheEpochsOf1900And2000) {
    EXPECT_NEAR(ChartAyanamsa(0.0), -22.4662821, 5e-8);
    EXPECT_NEAR(ChartAyanamsa(1.0), -23.8539909, 5e-8);
}

TEST(ArcTangentOfRatio, QuadrantsAndAxes) {
    using astro::pi;
    EXPECT_DOUBLE_EQ(ArcTangentOfRatio(1, 1), std::atan(1.0));
    EXPECT_DOUBLE_EQ(ArcTangentOfRatio(-1, 1), -std::atan(1.0));
    EXPECT_DOUBLE_EQ(ArcTangentOfRatio(2, 0), pi / 2);
    EXPECT_DOUBLE_EQ(ArcTangentOfRatio(-2, 0), -pi / 2);
    EXPECT_EQ(ArcTangentOfRatio(0, 0), 0.0);
    EXPECT_DOUBLE_EQ(ArcTangentOfRatio(1, -1), pi - std::atan(1.0));
    EXPECT_DOUBLE_EQ(ArcTangentOfRatio(-1, -1), -(pi - std::atan(1.0)));
    // On the negative axis the sign of y is 0, so the angle comes out as 0.
    EXPECT_EQ(ArcTangentOfRatio(0, -1), 0.0);
}

TEST(NormalizeDegrees, OneStepEachWay) {
    double a = -10.5;
    EXPECT_EQ(NormalizeDegrees(a), 349.5);
    EXPECT_EQ(a, 349.5);
    double b = 370.0;
    EXPECT_EQ(NormalizeDegrees(b), 10.0);
    double c = 360.0;
    EXPECT_EQ(NormalizeDegrees(c), 360.0);
    double d = 800.0;
    EXPECT_EQ(NormalizeDegrees(d), 440.0);
}

TEST(FormatSignedDegrees, SignedWholeDegreesMinutesSeconds) {
    EXPECT_EQ(FormatSignedDegrees(-23.576338), "-23\u00B0 34' 34\"");
    EXPECT_EQ(FormatSignedDegrees(-23.122552), "-23\u00B0 7' 21\"");
    EXPECT_EQ(FormatSignedDegrees(5.9999999), "5\u00B0 59' 59\"");
}

TEST(ComputeAngles, London1980) {
    const ChartAngles a = ComputeAngles(BirthOf(Entry1980()));
    EXPECT_NEAR(a.centuries1900, 0.8, 1e-12);
    EXPECT_NEAR(a.ayanamsa, -23.576338, 5e-7);
    EXPECT_NEAR(a.ascendant - a.ayanamsa, 23.96, 0.005); // tropical ascendant
    EXPECT_EQ(FormatSignedDegrees(a.ayanamsa), "-23\u00B0 34' 34\"");
    EXPECT_EQ(FormatZodiacPosition(a.ascendant), "0\u00B0 23' 16\" Ari");
    EXPECT_EQ(FormatZodiacPosition(a.midheaven), "15\u00B0 53' 45\" Sag");
}

TEST(ComputeAngles, Delhi1947) {
    const Birth delhi = BirthOf(Entry1947());
    EXPECT_EQ(ComputeBirthMoment(delhi).universalHours, -5.5);
    const ChartAngles a = ComputeAngles(delhi);
    EXPECT_NEAR(a.ayanamsa, -23.122552, 5e-7);
    EXPECT_EQ(FormatZodiacPosition(a.ascendant), "7\u00B0 45' 43\" Tau");
    EXPECT_EQ(FormatZodiacPosition(a.midheaven), "21\u00B0 27' 50\" Cap");
}

TEST(ComputeAngles, SouthernLatitudeChangesOnlyTheAscendant) {
    BirthEntry e = Entry1947();
    const ChartAngles north = ComputeAngles(BirthOf(e));
    e.latDirection = 1;
    const ChartAngles south = ComputeAngles(BirthOf(e));
    EXPECT_EQ(north.midheaven, south.midheaven);
    EXPECT_EQ(north.ayanamsa, south.ayanamsa);
    EXPECT_GT(std::fabs(north.ascendant - south.ascendant), 1.0);
}

TEST(ComputeAngles, DaylightSavingIsTheSameAsOneHourEarlier) {
    for (BirthEntry e :
         {Entry1947(), MakeEntry(1976, 7, 4, 14, 15, 27, "40", "43", false, "74", "0", false)}) {
        e.dst = true;
        const ChartAngles withDst = ComputeAngles(BirthOf(e));
        e.dst = false;
        e.hour -= 1;
        const ChartAngles earlier = ComputeAngles(BirthOf(e));
        EXPECT_NEAR(withDst.ascendant, earlier.ascendant, 1e-9);
        EXPECT_NEAR(withDst.midheaven, earlier.midheaven, 1e-9);
    }
}

TEST(ComputeAngles, WesternBirthInAnEasternZone) {
    // Madrid, 12:00 Central European Time: 11:00 universal time, as for the same moment told in GMT.
    BirthEntry cet = MakeEntry(1990, 5, 10, 12, 0, 20, "40", "25", false, "3", "42", false);
    BirthEntry gmt = MakeEntry(1990, 5, 10, 11, 0, 29, "40", "25", false, "3", "42", false);
    const ChartAngles a = ComputeAngles(BirthOf(cet));
    const ChartAngles b = ComputeAngles(BirthOf(gmt));
    EXPECT_NEAR(a.ascendant, b.ascendant, 1e-9);
    EXPECT_NEAR(a.midheaven, b.midheaven, 1e-9);
}

TEST(ComputeAngles, AscendantLiesOnTheEasternHorizon) {
    // Independent check: the ecliptic point rising at the local sidereal time, from the standard
    // formula in full precision, must agree with the chart's ascendant to a few hundredths.
    std::mt19937 gen(3);
    std::uniform_int_distribution<int> hour(0, 23), lat(0, 60), lon(0, 179), day(1, 28), month(1, 12),
        year(1901, 2050);
    for (int n = 0; n < 200; ++n) {
        BirthEntry e = MakeEntry(year(gen), month(gen), day(gen), hour(gen), 0, 29, std::to_string(lat(gen)),
                                 "0", n % 2 == 1, std::to_string(lon(gen)), "0", n % 3 == 0);
        const Birth b = BirthOf(e);
        const BirthMoment m = ComputeBirthMoment(b);
        const double T = (m.julianDayNumber - 2415020 + m.universalHours / 24 - 0.5) / 36525;
        const double theta =
            std::fmod(15 * (6.6460656 + 2400.0513 * T + 0.0000258 * T * T + m.universalHours) -
                          m.signedLongitude,
                      360.0) *
            std::numbers::pi / 180;
        const double eps = (23.452294 - 0.0130125 * T) * std::numbers::pi / 180;
        const double phi = (b.latSouth ? -1 : 1) * b.latDeg * std::numbers::pi / 180;
        double asc =
            std::atan2(std::cos(theta), -(std::sin(theta) * std::cos(eps) + std::tan(phi) * std::sin(eps))) *
            180 / std::numbers::pi;
        asc = std::fmod(asc + 360 + ChartAyanamsa(T), 360.0);
        const ChartAngles a = ComputeAngles(b);
        double diff = std::fabs(std::fmod(a.ascendant, 360.0) - asc);
        diff = std::min(diff, 360 - diff);
        EXPECT_LT(diff, 0.01) << n;
    }
}
