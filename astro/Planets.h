// SPDX-License-Identifier: AGPL-3.0-or-later
// The Sun, the planets and the nodes: their orbital elements, the universal date and time of a birth,
// their sidereal longitudes, and the short position text with its sign codes.
#pragma once

// Also refuses a fast-math build of everything that uses the core.
#include "astro/AstroConstants.h"
#include "records/Birth.h"
#include "records/Vocabulary.h"

#include <array>
#include <string>

// Slots 0..11 "Ari".."Pis"; slot 12 empty.
inline constexpr std::array<const char*, 13> SignCodeTable = [] {
    std::array<const char*, 13> codes{};
    // The codes are string literals, so their data ends with NUL.
    for (std::size_t s = 0; s < kSigns.size(); ++s)
        codes[s] = kSigns[s].code.data();
    codes[12] = "";
    return codes;
}();

struct OrbitalElements {
    const char* body;
    double a, aRate, e, eRate, i, iRate, n, nRate, p, pRate, l, lRate;
};
// Rows 0 Mercury, 1 Venus, 2 Earth (gives the Sun), 3 Mars, 4 Jupiter, 5 Saturn.
inline constexpr std::array<OrbitalElements, 6> OrbitalElementTable{{
    {"Mercury", 0.38709893, 0.00000066, 0.20563069, 0.00002527, 7.00487, -23.51, 48.33167, -446.30, 77.45645,
     573.57, 252.25084, 538101628.29},
    {"Venus", 0.72333199, 0.00000092, 0.00677323, -0.00004938, 3.39471, -2.86, 76.68069, -996.89, 131.53298,
     -108.80, 181.97973, 210664136.06},
    {"Earth", 1.00000011, -0.00000005, 0.01671022, -0.00003804, 0.00005, -46.94, -11.26064, -18228.25,
     102.94719, 1198.28, 100.46435, 129597740.63},
    {"Mars", 1.52366231, -0.00007221, 0.09341233, 0.00011902, 1.85061, -25.47, 49.57854, -1020.19, 336.04084,
     1560.78, 355.45332, 68905103.78},
    {"Jupiter", 5.20336301, 0.00060737, 0.04839266, -0.00012880, 1.30530, -4.15, 100.55615, 1217.17, 14.75385,
     839.93, 34.40438, 10925078.35},
    {"Saturn", 9.53707032, -0.00301530, 0.05415060, -0.00036762, 2.48446, 6.11, 113.71504, -1591.05, 92.43194,
     -1948.89, 49.94432, 4401052.95},
}};
inline constexpr int kEarthRow = 2;

struct CivilDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
// Local birth date-time moved by the signed zone (and one hour earlier under daylight saving),
// with calendar carries; hour 24 is the next day's midnight.
CivilDateTime UniversalDateTime(const Birth& birth);
// Adds minutes to a date-time (hour may be 24) and carries across day, month and year.
CivilDateTime AddMinutes(const CivilDateTime& t, long long minutes);

double DaysFromJ2000(int year, int month, int day, int hour, int minute);
double ReduceRadians(double x);
double TrueAnomaly(double meanAnomaly, double eccentricity);
double GeocentricLongitude(int row, double daysFromJ2000);
std::string ShortZodiacPosition(const std::string& positionText);
// ShortZodiacPosition of FormatZodiacPosition(longitude), made straight from the number.
std::string ShortZodiacPositionOf(double longitude);

// Sidereal longitudes of the nodes for a day count and chart ayanamsa.
double RahuLongitude(double daysFromJ2000, double ayanamsa);
double KetuLongitude(double rahu);

// Sidereal longitudes of the Sun, Mercury to Saturn, Rahu and Ketu, by BodySlot, at the birth moment
// in universal time for the chart ayanamsa; the slots of the Moon and the angles are left 0.
std::array<double, kFilledBodySlots> PlanetLongitudes(const Birth& birth, double ayanamsa);
