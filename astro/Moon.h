// SPDX-License-Identifier: AGPL-3.0-or-later
// The lunar ephemeris: birth moment, the Moon's sidereal longitude, the position text and its sign.
#pragma once

// Also refuses a fast-math build of everything that uses the core.
#include "astro/AstroConstants.h"
#include "records/Birth.h"

#include <string>

// The civil birth moment turned into universal time, as both the Moon and the chart angles use it.
struct BirthMoment {
    double localHours = 0.0;
    double zoneHours = 0.0;       // hours to add to the local clock to get universal time
    double signedLongitude = 0.0; // degrees, east negative
    double julianDayNumber = 0.0;
    double universalHours = 0.0; // not reduced to 0..24
};

// Julian Day Number of a civil date; Gregorian above Julian-calendar day 2299171.
double JulianDayNumber(int month, int day, int year);

// Takes the zone with its own sign (west positive), so births west of Greenwich in an eastern
// zone, and the reverse, get the right universal time. Daylight saving moves it one hour earlier.
BirthMoment ComputeBirthMoment(const Birth& birth);

// Julian centuries of 36525 days from J2000.0.
double JulianCenturiesJ2000(double julianDayNumber, double universalHours);

// Ayanamsa of the lunar ephemeris, degrees (negative).
double ComputeAyanamsa(double T);

// Tropical longitude of the Moon, degrees in 0..360.
double TropicalMoonLongitude(double T);

// Sidereal longitude of the Moon, degrees.
double SiderealMoonLongitude(double T);

// The Moon's sidereal longitude at the birth moment, degrees.
double MoonLongitude(const Birth& birth);

// Whole degrees within the sign, minutes and seconds (all cut, never rounded) and the sign code:
// 199.462377 -> "19° 27' 44\" Lib".
std::string FormatZodiacPosition(double longitude);

// The sign (0 Aries .. 11 Pisces) whose code FormatZodiacPosition writes for a longitude: from the
// whole degrees, so 29.9999999 is still Aries. -1 when the text names no sign (360 and beyond).
int ZodiacSignOf(double longitude);
