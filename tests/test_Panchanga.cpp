// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Panchanga.h"

#include "support/TempFolder.h"
#include "support/TestBirths.h"

#if QUILLMERE_HAS_PRECISE
#include "precise/PreciseEngine.h"

#include <swephexp.h>
#endif

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

std::string Item(const Panchanga& p, int index) {
    const PanchangaItem item = PanchangaItems(p)[static_cast<std::size_t>(index)];
    return std::string(item.label) + ": " + item.text;
}

// Tithi, karana and yoga at and beside their boundaries, worked by hand: tithi = elongation / 12,
// karana = elongation / 6, yoga = (Sun + Moon) / 13 20, each cut and counted from 1.
TEST(Panchanga, TithiKaranaAndYogaAtTheirBoundaries) {
    const struct {
        double sun, moon;
        const char *tithi, *karana, *yoga;
    } cases[] = {
        {0, 0, "Tithi: 1 Shukla Pratipada", "Karana: 1 Kimstughna", "Yoga: 1 Vishkumbha"},
        {100, 111.999, "Tithi: 1 Shukla Pratipada", "Karana: 2 Bava", "Yoga: 16 Siddhi"},
        {100, 112, "Tithi: 2 Shukla Dwitiya", "Karana: 3 Balava", "Yoga: 16 Siddhi"},
        {80, 122, "Tithi: 4 Shukla Chaturthi", "Karana: 8 Vishti", "Yoga: 16 Siddhi"},
        {80, 128, "Tithi: 5 Shukla Panchami", "Karana: 9 Bava", "Yoga: 16 Siddhi"},
        {10, 189.9, "Tithi: 15 Shukla Purnima", "Karana: 30 Bava", "Yoga: 15 Vajra"},
        {10, 190, "Tithi: 16 Krishna Pratipada", "Karana: 31 Balava", "Yoga: 16 Siddhi"},
        {300, 282, "Tithi: 29 Krishna Chaturdashi", "Karana: 58 Shakuni", "Yoga: 17 Vyatipata"},
        {0, 336, "Tithi: 29 Krishna Chaturdashi", "Karana: 57 Vishti", "Yoga: 26 Indra"},
        {300, 288, "Tithi: 30 Krishna Amavasya", "Karana: 59 Chatushpada", "Yoga: 18 Variyana"},
        {300, 299.9, "Tithi: 30 Krishna Amavasya", "Karana: 60 Naga", "Yoga: 18 Variyana"},
        // A hair short of the Sun; so little short that the turn rounds to a whole one; across 0 Aries,
        // and whole turns more.
        {10, 10 - 1e-13, "Tithi: 30 Krishna Amavasya", "Karana: 60 Naga", "Yoga: 2 Priti"},
        {0, -1e-15, "Tithi: 1 Shukla Pratipada", "Karana: 1 Kimstughna", "Yoga: 1 Vishkumbha"},
        {350, 5, "Tithi: 2 Shukla Dwitiya", "Karana: 3 Balava", "Yoga: 27 Vaidhriti"},
        {720 + 200, -360 + 159.9, "Tithi: 27 Krishna Dwadashi", "Karana: 54 Taitila", "Yoga: 27 Vaidhriti"},
        {180, 180, "Tithi: 1 Shukla Pratipada", "Karana: 1 Kimstughna", "Yoga: 1 Vishkumbha"},
    };
    for (const auto& c : cases) {
        Panchanga p;
        p.tithi = TithiOf(c.sun, c.moon);
        p.karana = KaranaOf(c.sun, c.moon);
        p.yoga = YogaOf(c.sun, c.moon);
        EXPECT_EQ(Item(p, 1), c.tithi) << c.sun << " " << c.moon;
        EXPECT_EQ(Item(p, 4), c.karana) << c.sun << " " << c.moon;
        EXPECT_EQ(Item(p, 3), c.yoga) << c.sun << " " << c.moon;
    }
}

// From the sunrise on; the Sunday before its sunrise is still Saturday.
TEST(Panchanga, VaraTurnsAtSunrise) {
    using S = SunTime::State;
    EXPECT_EQ(VaraOf(std::chrono::Friday, 349.5, {S::At, 349.5}), 6);
    EXPECT_EQ(VaraOf(std::chrono::Sunday, 0, {S::At, 400}), 7); // Saturday
}

#if QUILLMERE_HAS_PRECISE

class PanchangaSunTest : public ::testing::Test {
  protected:
    void SetUp() override { precise::SetEphemerisSearchPath({precise::kSystemEphemerisFolder}); }
    void TearDown() override { SetUp(); }
};

struct Place {
    const char* what;
    TestBirth birth;
    double longitude, latitude; // east and north positive
};

// The first rising (or setting) of the Sun's upper limb from the local midnight, as the library's own
// search gives it, in local minutes; -1 when there is none before the next midnight.
double LibraryEvent(const Birth& b, double longitude, double latitude, int32 event) {
    const double zoneHours = b.tzHoursSigned + b.tzMinutesSigned / 60.0 - (b.dst ? 1 : 0);
    const double midnight = swe_julday(b.year, b.month, b.day, zoneHours, SE_GREG_CAL);
    double geopos[3] = {longitude, latitude, 0};
    double moment = 0;
    char error[AS_MAXCH] = "";
    const int32 found =
        swe_rise_trans(midnight, SE_SUN, nullptr, SEFLG_SWIEPH, event, geopos, 0, 0, &moment, error);
    return found == 0 && moment < midnight + 1 ? (moment - midnight) * 1440 : -1;
}

std::string LocalText(double minutes) {
    if (minutes < 0)
        return "none";
    const int m = static_cast<int>(std::floor(minutes));
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", m / 60, m % 60);
    return text;
}

// Sunrise and sunset of the birth's local date against the library's own search, through zones east and
// west, daylight saving, the south, and Reykjavik at midsummer, whose sunset falls just after midnight.
TEST_F(PanchangaSunTest, SunriseAndSunsetAreTheLibrarysInLocalTime) {
    const Place places[] = {
        {"Delhi", MakeBirth(1947, 8, 15, 12, 0).Zone(-5, -30).Latitude(28, 39, false).Longitude(77, 13, true),
         77 + 13 / 60.0, 28 + 39 / 60.0},
        {"New York",
         MakeBirth(1990, 7, 4, 9, 0).Zone(5, 0).Dst().Latitude(40, 43, false).Longitude(74, 0, false), -74,
         40 + 43 / 60.0},
        {"Sydney", MakeBirth(2000, 1, 1, 9, 0).Zone(-11, 0).Latitude(33, 52, true).Longitude(151, 12, true),
         151.2, -(33 + 52 / 60.0)},
        {"Honolulu",
         MakeBirth(1975, 12, 31, 23, 59).Zone(10, 0).Latitude(21, 18, false).Longitude(157, 51, false),
         -(157 + 51 / 60.0), 21.3},
        {"Reykjavik", MakeBirth(2000, 6, 21, 12, 0).Latitude(64, 9, false).Longitude(21, 56, false),
         -(21 + 56 / 60.0), 64.15},
    };
    for (const Place& place : places) {
        const std::optional<Reading> r = ComputeReading(place.birth, Calculation::Classic).reading;
        ASSERT_TRUE(r) << place.what;
        const Panchanga p = ComputePanchanga(*r);
        EXPECT_EQ(Item(p, 5), "Sunrise: " + LocalText(LibraryEvent(place.birth, place.longitude,
                                                                   place.latitude, SE_CALC_RISE)))
            << place.what;
        EXPECT_EQ(Item(p, 6), "Sunset: " + LocalText(LibraryEvent(place.birth, place.longitude,
                                                                  place.latitude, SE_CALC_SET)))
            << place.what;
    }
}

// 15 August 1947 was a Friday: a birth before that day's sunrise in Delhi is Thursday's, one at the
// sunrise's minute after it Friday's; without the ephemeris files the civil weekday stands. Longyearbyen
// (78 13 N) has neither sunrise nor sunset at midwinter, nor at midsummer: the civil weekday, Thursday 21
// December and Wednesday 21 June 2000.
TEST_F(PanchangaSunTest, VaraFromTheSunriseOfTheBirthsDate) {
    const auto delhi = [](int hour, int minute) {
        return MakeBirth(1947, 8, 15, hour, minute)
            .Zone(-5, -30)
            .Latitude(28, 39, false)
            .Longitude(77, 13, true);
    };
    const double sunrise = LibraryEvent(delhi(0, 0), 77 + 13 / 60.0, 28 + 39 / 60.0, SE_CALC_RISE);
    ASSERT_GT(sunrise, 5 * 60);
    const int before = static_cast<int>(std::ceil(sunrise)) - 1;
    const int after = before + 1;
    const auto vara = [](const Birth& b) {
        return Item(ComputePanchanga(*ComputeReading(b, Calculation::Classic).reading), 0);
    };
    EXPECT_EQ(vara(delhi(0, 0)), "Vara: 5 Thursday");
    EXPECT_EQ(vara(delhi(before / 60, before % 60)), "Vara: 5 Thursday");
    EXPECT_EQ(vara(delhi(after / 60, after % 60)), "Vara: 6 Friday");

    const auto svalbard = [](int year, int month, int day) {
        return MakeBirth(year, month, day, 12, 0).Zone(-1, 0).Latitude(78, 13, false).Longitude(15, 38, true);
    };
    for (const auto& [birth, weekday] : {std::pair{svalbard(2000, 12, 21), "Vara: 5 Thursday"},
                                         std::pair{svalbard(2000, 6, 21), "Vara: 4 Wednesday"}}) {
        const Panchanga p = ComputePanchanga(*ComputeReading(birth, Calculation::Classic).reading);
        EXPECT_EQ(Item(p, 0), weekday);
        EXPECT_EQ(Item(p, 5), "Sunrise: none");
        EXPECT_EQ(Item(p, 6), "Sunset: none");
    }

    const std::filesystem::path empty = MakeTempFolder("qlm-panchanga-");
    ASSERT_FALSE(empty.empty());
    precise::SetEphemerisSearchPath({empty.string()});
    const Panchanga missing = ComputePanchanga(*ComputeReading(delhi(0, 0), Calculation::Classic).reading);
    EXPECT_EQ(Item(missing, 0), "Vara: 6 Friday");
    EXPECT_EQ(Item(missing, 5), "Sunrise: unavailable");
    EXPECT_EQ(Item(missing, 6), "Sunset: unavailable");
    std::filesystem::remove_all(empty);
}

#endif

} // namespace
