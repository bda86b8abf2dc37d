// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Moon.h"

#include "astro/AstroConstants.h"
#include "astro/TextUtil.h"
#include "records/Vocabulary.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// One periodic term of the lunar longitude: multiples of D, M, M', F, the coefficient, and whether
// it is scaled by the eccentricity factor E (terms whose argument contains M once).
struct MoonTerm {
    int d, m, mp, f;
    double coefficient;
    bool timesE;
};

constexpr std::array<MoonTerm, 25> kMoonTerms{{
    {0, 0, 1, 0, 6.288774, false},   {2, 0, -1, 0, 1.274027, false}, {2, 0, 0, 0, 0.658314, false},
    {0, 0, 2, 0, 0.213618, false},   {0, 1, 0, 0, -0.185116, true},  {0, 0, 0, 2, -0.114332, false},
    {2, 0, -2, 0, 0.058793, false},  {2, -1, -1, 0, 0.057066, true}, {2, 0, 1, 0, 0.053322, false},
    {2, -1, 0, 0, 0.045758, true},   {0, 1, -1, 0, -0.040923, true}, {1, 0, 0, 0, -0.03472, false},
    {0, 1, 1, 0, -0.030383, true},   {2, 0, 0, -2, 0.015327, false}, {0, 0, 1, 2, -0.012528, false},
    {0, 0, 1, -2, 0.01098, false},   {4, 0, -1, 0, 0.010675, false}, {0, 0, 3, 0, 0.010034, false},
    {4, 0, -2, 0, 0.008548, false},  {2, 1, -1, 0, -0.007888, true}, {2, 1, 0, 0, -0.006766, true},
    {1, 0, -1, 0, -0.005163, false}, {1, 1, 0, 0, 0.004987, true},   {2, -1, 1, 0, 0.004036, true},
    {2, 0, 2, 0, 0.003994, false},
}};

double Multiple(int k, double angle) {
    switch (k) {
    case 0:
        return 0.0;
    case 1:
        return angle;
    case -1:
        return -angle;
    default:
        return k * angle;
    }
}

} // namespace

double JulianDayNumber(int month, int day, int year) {
    const std::int64_t m = 12 * (static_cast<std::int64_t>(year) + 4800) + month - 3;
    const std::int64_t r = m - 12 * FloorDiv(m, 12);
    std::int64_t j = FloorDiv(365 * m + 2 * r + 7, 12) + day + FloorDiv(m, 48) - 32083;
    if (j > 2299171)
        j = j + FloorDiv(m, 4800) - FloorDiv(m, 1200) + 38;
    return static_cast<double>(j);
}

BirthMoment ComputeBirthMoment(const Birth& birth) {
    BirthMoment b;
    b.localHours = birth.hour + birth.minute / 60.0;
    b.zoneHours = birth.tzHoursSigned + birth.tzMinutesSigned / 60.0;
    b.signedLongitude = birth.lonDeg + birth.lonMin / 60.0;
    if (birth.lonEast)
        b.signedLongitude = -b.signedLongitude;
    if (birth.dst)
        b.zoneHours = b.zoneHours - 1;
    b.julianDayNumber = JulianDayNumber(birth.month, birth.day, birth.year);
    b.universalHours = b.localHours + b.zoneHours;
    return b;
}

double JulianCenturiesJ2000(double julianDayNumber, double universalHours) {
    return (julianDayNumber - 2451545 + universalHours / 24 - 0.5) / 36525;
}

double ComputeAyanamsa(double T) {
    using astro::degreesToRadians;
    const double om = (125.044555 - T * 1934.1361849) + T * (T * 0.0020762);
    const double l = (T * 36000.7698231 + 280.466449) + T * (T * 0.0003106);
    const double p = 1.27 * std::sin(l * degreesToRadians) + 17.23 * std::sin(om * degreesToRadians);
    return (p - T * (T * 1.11 + 5025.64) - 85886.27) / 3600;
}

double TropicalMoonLongitude(double T) {
    using astro::degreesToRadians;
    const double lp = 218.3164591 + 481267.88134236 * T;
    const double d = (297.8502042 + 445267.1115168 * T) * degreesToRadians;
    const double m = (357.5291092 + 35999.0502909 * T) * degreesToRadians;
    const double mp = (134.9634114 + 477198.8676313 * T) * degreesToRadians;
    const double f = (93.2720993 + 483202.0175273 * T) * degreesToRadians;
    const double e = 1 - 0.002516 * T - 0.0000074 * T * T;

    double s = 0.0;
    for (const MoonTerm& t : kMoonTerms) {
        const double arg = Multiple(t.d, d) + Multiple(t.m, m) + Multiple(t.mp, mp) + Multiple(t.f, f);
        double term = t.coefficient * std::sin(arg);
        if (t.timesE)
            term = term * e;
        s += term;
    }
    // The mean longitude is not reduced first, so this brings it back by whole turns.
    return astro::WrapByWholeTurns(lp + s);
}

double SiderealMoonLongitude(double T) {
    double sidereal = TropicalMoonLongitude(T) + ComputeAyanamsa(T);
    if (sidereal < 0)
        sidereal += 360;
    return sidereal;
}

std::string FormatZodiacPosition(double longitude) {
    const double a = std::fabs(longitude);
    double deg = std::floor(a);
    const double f = a - deg;
    const double mm = 60 * f;
    const double min = std::floor(mm);
    const double sf = mm - min;
    const double sign = std::floor(deg / 30);
    while (deg >= 30)
        deg -= 30;
    const double sec = std::floor(60 * sf);

    std::string text = astro::WholeNumberText(deg);
    text += "\u00B0 ";
    text += astro::WholeNumberText(min);
    text += "' ";
    text += astro::WholeNumberText(sec);
    text += "\" ";
    if (sign >= 0 && sign < 12)
        text.append(kSigns[static_cast<std::size_t>(sign)].code);
    return text;
}

int ZodiacSignOf(double longitude) {
    // The same cuts as FormatZodiacPosition's: the sign of the whole degrees of the size.
    const double sign = std::floor(std::floor(std::fabs(longitude)) / 30);
    return sign >= 0 && sign < 12 ? static_cast<int>(sign) : -1;
}

double MoonLongitude(const Birth& birth) {
    const BirthMoment moment = ComputeBirthMoment(birth);
    return SiderealMoonLongitude(JulianCenturiesJ2000(moment.julianDayNumber, moment.universalHours));
}
