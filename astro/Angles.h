// Chart positions: the reference tables (time zones, sign codes, nakshatra rows), the ascendant,
// midheaven and chart ayanamsa, the Sun, planets and nodes, the planet table and the nakshatra lord.
#pragma once

// Also refuses a fast-math build of everything that uses the core.
#include "astro/AstroConstants.h"
#include "records/Birth.h"
#include "records/Vocabulary.h"

#include <array>
#include <cstdint>
#include <string>

struct TimeZoneRow {
    const char* text;
    std::int16_t hours;   // added to local time to get universal time: east negative
    std::int16_t minutes; // 0, 30 or -30, same sign as hours
};

inline constexpr int kTimeZoneCount = 71;
inline constexpr std::array<TimeZoneRow, kTimeZoneCount> TimeZoneTable{{
    {"Alaska/Hawaii Daylight Time,AHDT,-9.0", 9, 0},
    {"Alaska/Hawaii Standard Time,AHST,-10.0", 10, 0},
    {"Alaska/Hawaii War Time,AHWT,-9.0", 9, 0},
    {"Atlantic Standard Time,AST,-4.0", 4, 0},
    {"Atlantic War Time,AWT,-3.0", 3, 0},
    {"Australian Central Daylight Time,ACDT,+10.5", -10, -30},
    {"Australian Central Standard Time,ACST,+9.5", -9, -30},
    {"Australian Eastern Daylight Time,AEDT,+11.0", -11, 0},
    {"Australian Eastern Standard Time,AEST,+10.0", -10, 0},
    {"Australian Western Daylight Time,AWDT,+9.0", -9, 0},
    {"Australian Western Standard Time,AWST,+8.0", -8, 0},
    {"Azores Time, AT, -2.0", 2, 0},
    {"Baghdad Time, BAT, +3.0", -3, 0},
    {"Bering Standard Time,BET,-11.0", 11, 0},
    {"Brazil Zone 2,BZT2,-3.0", 3, 0},
    {"British Double Summer Time,BDST,+2.0", -2, 0},
    {"British Summer Time,BST,+1.0", -1, 0},
    {"British War Time,BWT,+2.0", -2, 0},
    {"Central Daylight Time,CDT,-5.0", 5, 0},
    {"Central European Daylight,CED,+2.0", -2, 0},
    {"Central European Time,CET,+1.0", -1, 0},
    {"Central Standard Time,CST,-6.0", 6, 0},
    {"Central War Time,CWT,-5.0", 5, 0},
    {"China Coast Time,CCT,+8.0", -8, 0},
    {"Eastern Daylight Time,EDT,-4.0", 4, 0},
    {"Eastern European Daylight Time,EED,+3.0", -3, 0},
    {"Eastern European Time,EET,+2.0", -2, 0},
    {"Eastern Standard Time,EST,-5.0", 5, 0},
    {"Eastern War Time,EWT,-4.0", 4, 0},
    {"Greenwich Mean Time,GMT,0.0", 0, 0},
    {"Guam Standard Time,GST,+10.0", -10, 0},
    {"Hawaiian Daylight Time,HDT,-9.5", 9, 30},
    {"Hawaiian Standard Time,HST,-10.5", 10, 30},
    {"Hawaiian War Time,HWT,-9.5", 9, 30},
    {"Indian Time, IST, +5.3", -5, -30},
    {"Int'l Date Line East,IDLE,+12.0", -12, 0},
    {"Int'l Date Line West,IDLW,-12.0", 12, 0},
    {"Iran Time, IT, +3.5", -3, -30},
    {"Japan Standard Time,JST,+9.0", -9, 0},
    {"Java Time, JT, +7.5", -7, -30},
    {"Middle European Daylight Time,MED,+2.0", -2, 0},
    {"Middle European Time,MET,+1.0", -1, 0},
    {"Moluccas Time, MT, +8.5", -8, -30},
    {"Mountain Daylight Time,MDT,-6.0", 6, 0},
    {"Mountain Standard Time,MST,-7.0", 7, 0},
    {"Mountain War Time,MWT,-6.0", 6, 0},
    {"New Zealand Std Summer Time,NZST,+13.0", -13, 0},
    {"New Zealand Std Time,NZT,+12.0", -12, 0},
    {"New Zealand Summer Time,NZS,+12.5", -12, -30},
    {"New Zealand Time,NZ,+11.5", -11, -30},
    {"Newfoundland Standard Time,NST,-3.5", 3, 30},
    {"Nome Time, NT, -11.0", 11, 0},
    {"North Sumatra Time,NST,+6.5", -6, -30},
    {"Pacific Daylight Time,PDT,-7.0", 7, 0},
    {"Pacific Standard Time,PST,-8.0", 8, 0},
    {"Pacific War Time,PWT,-7.0", 7, 0},
    {"South Australia Daylight Time,SAD,+10.5", -10, -30},
    {"South Australia Daylight Time,SDT,+10.5", -10, -30},
    {"South Australia Standard Time,SAST,+9.5", -9, -30},
    {"South Australia Standard Time,SAT,+9.5", -9, -30},
    {"South Sumatra Time,SST,+7.0", -7, 0},
    {"Universal Time, UT, 0.0", 0, 0},
    {"USSR Zone 10,UZ10,+11.0", -11, 0},
    {"USSR Zone 3,USZ3,+4.0", -4, 0},
    {"USSR Zone 4,USZ4,+5.0", -5, 0},
    {"USSR Zone 5,USZ5,+6.0", -6, 0},
    {"USSR Zone 6,USZ6,+7.0", -7, 0},
    {"West Africa Time,WAT,-1.0", 1, 0},
    {"Yukon Daylight Time,YDT,-8.0", 8, 0},
    {"Yukon Standard Time,YST,-9.0", 9, 0},
    {"Yukon War Time,YWT,-8.0", 8, 0},
}};

// Slots 0..11 "Ari".."Pis"; slot 12 empty.
inline constexpr std::array<const char*, 13> SignCodeTable = [] {
    std::array<const char*, 13> codes{};
    // The codes are string literals, so their data ends with NUL.
    for (std::size_t s = 0; s < kSigns.size(); ++s)
        codes[s] = kSigns[s].code.data();
    codes[12] = "";
    return codes;
}();

struct NakshatraRow {
    const char* name;
    const char* lord;
    const char* pada; // quarters of the nakshatra lying in this row's sign
};
// Three rows per sign in zodiac order: rows 3s..3s+2 belong to sign s.
// Row 29 is spelled like the ephemeris writes the name, so a Moon in the Capricorn part of
// Dhanishtha finds its own row.
inline constexpr std::array<NakshatraRow, 36> NakshatraRows{{
    {"Aswini", "Ketu", "4"},
    {"Bharani", "Venus", "4"},
    {"Krittika", "Sun", "1"},
    {"Krittika", "Sun", "3"},
    {"Rohini", "Moon", "4"},
    {"Mrigsira", "Mars", "2"},
    {"Mrigsira", "Mars", "2"},
    {"Ardra", "Rahu", "4"},
    {"Punarvasu", "Jupiter", "3"},
    {"Punarvasu", "Jupiter", "1"},
    {"Pushya", "Saturn", "4"},
    {"Aslesha", "Mercury", "4"},
    {"Magha", "Ketu", "4"},
    {"Purbha Phalguni", "Venus", "4"},
    {"Uttara Phalguni", "Sun", "1"},
    {"Uttara Phalguni", "Sun", "3"},
    {"Hasta", "Moon", "4"},
    {"Chitra", "Mars", "2"},
    {"Chitra", "Mars", "2"},
    {"Swati", "Rahu", "4"},
    {"Vishakha", "Jupiter", "3"},
    {"Vishakha", "Jupiter", "1"},
    {"Anuradha", "Saturn", "4"},
    {"Jyeshtha", "Mercury", "4"},
    {"Mula", "Ketu", "4"},
    {"Purva Ashadha", "Venus", "4"},
    {"Uttara Ashadha", "Sun", "1"},
    {"Uttara Ashadha", "Sun", "3"},
    {"Shravana", "Moon", "4"},
    {"Dhanishtha", "Mars", "2"},
    {"Dhanishtha", "Mars", "2"},
    {"Shatbisha", "Rahu", "4"},
    {"Poorva Bhadrapada", "Jupiter", "3"},
    {"Poorva Bhadrapada", "Jupiter", "1"},
    {"Uttara Bhadrapada", "Saturn", "4"},
    {"Revati", "Mercury", "4"},
}};

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

// ---- chart angles ----
double ChartAyanamsa(double T1900);
double ArcTangentOfRatio(double y, double x);
double NormalizeDegrees(double& x);
std::string FormatSignedDegrees(double x);

// Tropical ascendant and midheaven in degrees for sidereal time and obliquity in radians.
struct ChartAngles {
    double centuries1900 = 0.0;
    double ayanamsa = 0.0;
    double ascendant = 0.0; // sidereal, degrees
    double midheaven = 0.0; // sidereal, degrees
};
ChartAngles ComputeAngles(const Birth& birth);

// ---- planets ----
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

// ---- lagna and nakshatra lord ----
// The row of the Moon's nakshatra (0..26) among the rows of the Moon's sign (0..11); when the
// nakshatra has no row there (only a longitude a hair below a sign boundary does that), its first row.
// -1 when it has none at all.
int ClassicNakshatraRow(int nakshatra, int moonSign);
