// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Angles.h"

#include "astro/AstroConstants.h"
#include "astro/Moon.h"
#include "astro/TextUtil.h"

#include <cmath>

using astro::degreesToRadians;

namespace {

double Sign(double v) {
    return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

} // namespace

double ChartAyanamsa(double T) {
    double om = (933060 - 6962911 * T + 7.5 * T * T) / 3600;
    while (om >= 360)
        om -= 360;
    const double l2 = (2013816 + 259205536 * T) / 3600;
    const double p = 1.27 * std::sin(l2 * degreesToRadians) + 17.23 * std::sin(om * degreesToRadians);
    return (p - T * (5025.64 + 1.11 * T) - 80861.27) / 3600;
}

double ArcTangentOfRatio(double y, double x) {
    if (x > 0)
        return std::atan(y / x);
    if (x == 0)
        return y != 0 ? Sign(y) * astro::pi / 2 : 0.0;
    return Sign(y) * (astro::pi - std::atan(std::fabs(y / x)));
}

double NormalizeDegrees(double& x) {
    if (x < 0)
        x += 360;
    if (x > 360)
        x -= 360;
    return x;
}

std::string FormatSignedDegrees(double x) {
    const int s = x < 0 ? -1 : 1;
    const double a = std::fabs(x);
    const double d = std::floor(a);
    const double mm = 60 * (a - d);
    const double m = std::floor(mm);
    const double sec = std::floor(60 * (mm - m));
    std::string text = std::to_string(s * static_cast<long long>(d));
    text += "\u00B0 ";
    text += astro::WholeNumberText(m);
    text += "' ";
    text += astro::WholeNumberText(sec);
    text += "\"";
    return text;
}

namespace {

// Whether the point of the ecliptic at longitude lambda (radians) stands in the western half of the sky
// at local sidereal time theta: its hour angle lies between 0 and 180 degrees.
bool SetsInTheWest(double lambda, double theta, double obliquity) {
    const double rightAscension = std::atan2(std::sin(lambda) * std::cos(obliquity), std::cos(lambda));
    return std::sin(theta - rightAscension) > 0;
}

} // namespace

ChartAngles ComputeAngles(const Birth& birth) {
    const BirthMoment moment = ComputeBirthMoment(birth);
    double signedLatitude = birth.latDeg + birth.latMin / 60.0;
    if (birth.latSouth)
        signedLatitude = -signedLatitude;

    ChartAngles out;
    const double T = (moment.julianDayNumber - 2415020 + moment.universalHours / 24 - 0.5) / 36525;
    out.centuries1900 = T;
    out.ayanamsa = ChartAyanamsa(T);

    double s =
        15 * (6.6460656 + 2400.0513 * T + 0.0000258 * T * T + moment.universalHours) - moment.signedLongitude;
    while (s >= 360)
        s -= 360;
    const double siderealTime = s * degreesToRadians;
    const double obliquity = (23.452294 - 0.0130125 * T) * degreesToRadians;

    double m = ArcTangentOfRatio(std::tan(siderealTime), std::cos(obliquity));
    if (m < 0)
        m += astro::pi;
    if (std::sin(siderealTime) < 0)
        m += astro::pi;
    double midheaven = m * astro::radiansToDegrees;

    const double x = -std::sin(siderealTime) * std::cos(obliquity) -
                     std::sin(obliquity) * std::tan(signedLatitude * degreesToRadians);
    double a = ArcTangentOfRatio(std::cos(siderealTime), x);
    if (a < 0)
        a += astro::pi;
    if (std::cos(siderealTime) < 0)
        a += astro::pi;
    // Inside the polar circles the ecliptic can cross the horizon so that the formula lands on its
    // setting point; the lagna is the rising one, opposite it. Elsewhere the formula is always right,
    // and is left exactly as it was.
    if (std::fabs(signedLatitude) * degreesToRadians > astro::pi / 2 - obliquity &&
        SetsInTheWest(a, siderealTime, obliquity))
        a += astro::pi;
    double ascendant = a * astro::radiansToDegrees;
    while (ascendant >= 360)
        ascendant -= 360;

    ascendant = ascendant + out.ayanamsa;
    out.ascendant = NormalizeDegrees(ascendant);
    midheaven = midheaven + out.ayanamsa;
    out.midheaven = NormalizeDegrees(midheaven);
    return out;
}
