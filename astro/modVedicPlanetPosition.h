// Chart positions: the reference tables (time zones, sign codes, nakshatra rows), the ascendant,
// midheaven and chart ayanamsa, the Sun, planets and nodes, the planet table and the nakshatra lord.
#pragma once

// Also refuses a fast-math build of everything that uses the core.
#include "astro/AstroConstants.h"
#include "records/Records.h"
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
extern const std::array<TimeZoneRow, kTimeZoneCount> TimeZoneTable;

// Slots 0..11 "Ari".."Pis"; slot 12 empty.
extern const std::array<const char*, 13> SignCodeTable;

struct NakshatraRow {
    const char* name;
    const char* lord;
    const char* pada; // quarters of the nakshatra lying in this row's sign
};
// Three rows per sign in zodiac order: rows 3s..3s+2 belong to sign s.
extern const std::array<NakshatraRow, 36> NakshatraRows;

// The tables above are constants compiled into the program; there is nothing to rebuild, and the
// reading command still calls this so its steps read in their fixed order.
inline void BuildReferenceTables() {}

struct OrbitalElements {
    const char* body;
    double a, aRate, e, eRate, i, iRate, n, nRate, p, pRate, l, lRate;
};
// Rows 0 Mercury, 1 Venus, 2 Earth (gives the Sun), 3 Mars, 4 Jupiter, 5 Saturn.
extern const std::array<OrbitalElements, 6> OrbitalElementTable;
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

// Stage: ReadingState.ayanamsa, ayanamsaText, ascendantText, midheavenText.
void ComputeChartAngles();

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

// Stage: ReadingState.bodyNames, bodyLabels and planetPositions.
void ComputePlanetTable();

// ---- lagna and nakshatra lord ----
// The reading command's lagna step: display ayanamsa, lagna code, name and number, and the copies
// of the nakshatra and rashi. Returns false when the ascendant's code is none of the twelve.
bool DeriveLagna();

// Sanskrit name of the sign with the given code, or empty.
std::string LagnaNameForCode(const std::string& code, std::int16_t* number = nullptr);

// Index of the nakshatra row for a name within a sign, or -1.
int FindNakshatraRow(const std::string& name, const std::string& signCode);

// The row of the Moon's nakshatra (0..26) among the rows of the Moon's sign (0..11); when the
// nakshatra has no row there (only a longitude a hair below a sign boundary does that), its first row.
// -1 when it has none at all.
int ClassicNakshatraRow(int nakshatra, int moonSign);

// Stage: ReadingState.nakshatraLord and nakshatraPada from the Moon's nakshatra, in the Moon's sign.
void LookupNakshatraLord();
