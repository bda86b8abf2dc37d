// SPDX-License-Identifier: AGPL-3.0-or-later
// The chart angles: the chart's ayanamsa, the ascendant and the midheaven of a birth, and the
// arithmetic of angles the planets share.
#pragma once

// Also refuses a fast-math build of everything that uses the core.
#include "astro/AstroConstants.h"
#include "records/Birth.h"

#include <string>

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
