// SPDX-License-Identifier: AGPL-3.0-or-later
#include "astro/Planets.h"

#include "astro/Angles.h"
#include "astro/AstroConstants.h"
#include "astro/Moon.h"
#include "astro/TextUtil.h"
#include "records/Calendar.h"

#include <chrono>
#include <cmath>
#include <utility>

using astro::degreesToRadians;

namespace {

struct Elements {
    double a, e, i, n, p, l;
};

Elements ElementsAt(const OrbitalElements& row, double T) {
    Elements el;
    el.a = row.a + row.aRate * T;
    el.e = row.e + row.eRate * T;
    el.i = (row.i + row.iRate * T / 3600) * degreesToRadians;
    el.n = (row.n + row.nRate * T / 3600) * degreesToRadians;
    el.p = (row.p + row.pRate * T / 3600) * degreesToRadians;
    el.l = ReduceRadians((row.l + row.lRate * T / 3600) * degreesToRadians);
    return el;
}
} // namespace

CivilDateTime AddMinutes(const CivilDateTime& t, long long added) {
    using std::chrono::minutes;
    const std::chrono::sys_time<minutes> at =
        DayOf(t.year, t.month, t.day) + minutes{t.hour * 60LL + t.minute + added};
    const std::chrono::sys_days day = std::chrono::floor<std::chrono::days>(at);
    const std::chrono::year_month_day date{day};
    const long long inDay = (at - day).count();
    CivilDateTime out;
    out.year = static_cast<int>(date.year());
    out.month = static_cast<int>(static_cast<unsigned>(date.month()));
    out.day = static_cast<int>(static_cast<unsigned>(date.day()));
    out.hour = static_cast<int>(inDay / 60);
    out.minute = static_cast<int>(inDay % 60);
    return out;
}

CivilDateTime UniversalDateTime(const Birth& birth) {
    const CivilDateTime local{birth.year, birth.month, birth.day, birth.hour, birth.minute};
    long long offset = birth.tzHoursSigned * 60LL + birth.tzMinutesSigned;
    // Daylight saving puts the clock an hour ahead, as the Moon and the angles also take it.
    if (birth.dst)
        offset -= 60;
    return AddMinutes(local, offset);
}

double DaysFromJ2000(int year, int month, int day, int hour, int minute) {
    // Whole days counted from 2000 January 0.5, then the clock time; every term up to the clock time
    // is exact in a double.
    const auto days = static_cast<double>((DayOf(year, month, day) - DayOf(2000, 1, 1)).count());
    return days - 0.5 + (hour + minute / 60.0) / 24;
}

double ReduceRadians(double x) {
    const double q = x / astro::twoPi;
    const double w = std::trunc(q);
    double r = (q - w) * astro::twoPi;
    if (r < 0)
        r += astro::twoPi;
    return r;
}

double TrueAnomaly(double meanAnomaly, double e) {
    const double M = meanAnomaly;
    double E = M + e * std::sin(M) * (1 + e * std::cos(M));
    double E0;
    do {
        E0 = E;
        E = E0 - (E0 - e * std::sin(E0) - M) / (1 - e * std::cos(E0));
    } while (std::fabs(E0 - E) > 1e-12);
    double v = 2 * std::atan(std::sqrt((1 + e) / (1 - e)) * std::tan(E / 2));
    if (v < 0)
        v += astro::twoPi;
    return v;
}

namespace {

struct PlaneXY {
    double x, y;
};

// The Earth's heliocentric position, taken in the ecliptic plane.
PlaneXY EarthPosition(double T) {
    const Elements earth = ElementsAt(OrbitalElementTable[kEarthRow], T);
    const double ME = ReduceRadians(earth.l - earth.p);
    const double vE = TrueAnomaly(ME, earth.e);
    const double rE = earth.a * (1 - earth.e * earth.e) / (1 + earth.e * std::cos(vE));
    return {rE * std::cos(earth.p + vE), rE * std::sin(earth.p + vE)};
}

double LongitudeSeenFrom(const PlaneXY& earthAt, int row, double T) {
    double x = 0.0;
    double y = 0.0;
    if (row != kEarthRow) {
        const Elements body = ElementsAt(OrbitalElementTable[static_cast<std::size_t>(row)], T);
        const double M = ReduceRadians(body.l - body.p);
        const double v = TrueAnomaly(M, body.e);
        const double r = body.a * (1 - body.e * body.e) / (1 + body.e * std::cos(v));
        const double u = body.p + v - body.n;
        x = r * (std::cos(body.n) * std::cos(u) - std::sin(body.n) * std::sin(u) * std::cos(body.i));
        y = r * (std::sin(body.n) * std::cos(u) + std::cos(body.n) * std::sin(u) * std::cos(body.i));
    }
    // For the Sun the body stays at the origin: its direction is the reverse of the Earth's.
    const double X = x - earthAt.x;
    const double Y = y - earthAt.y;
    double lambda = ArcTangentOfRatio(Y, X) * 180 / astro::pi;
    while (lambda > 360)
        lambda -= 360;
    while (lambda < 0)
        lambda += 360;
    return lambda;
}

} // namespace

double GeocentricLongitude(int row, double d) {
    const double T = d / 36525;
    return LongitudeSeenFrom(EarthPosition(T), row, T);
}

double RahuLongitude(double d, double ayanamsa) {
    double n = (125.1228 - 0.0529538083 * d) * degreesToRadians;
    n = ReduceRadians(n);
    double r = n * (180 / 3.1416) - 1 - std::fabs(ayanamsa);
    while (r < 0)
        r += 360;
    return r;
}

double KetuLongitude(double rahu) {
    double k = rahu + 180;
    while (k > 360)
        k -= 360;
    return std::fabs(k);
}

std::string ShortZodiacPositionOf(double longitude) {
    // The same whole degrees, minutes and sign as the position text carries, without writing and
    // re-reading it; a longitude past the last sign takes the text's own way.
    const double a = std::fabs(longitude);
    double deg = std::floor(a);
    const double min = std::floor(60 * (a - deg));
    const double sign = std::floor(deg / 30);
    if (!(sign >= 0 && sign < 12))
        return ShortZodiacPosition(FormatZodiacPosition(longitude));
    while (deg >= 30)
        deg -= 30;
    const int d = static_cast<int>(deg);
    const int m = static_cast<int>(min);
    std::string out(9, ' ');
    out[0] = static_cast<char>('0' + d / 10);
    out[1] = static_cast<char>('0' + d % 10);
    out.replace(3, 3, SignCodeTable[static_cast<std::size_t>(sign)]);
    out[7] = static_cast<char>('0' + m / 10);
    out[8] = static_cast<char>('0' + m % 10);
    return out;
}

std::string ShortZodiacPosition(const std::string& positionText) {
    const std::string p = astro::Trim(positionText);
    const std::string degreeSign = "\u00B0";
    const std::size_t degAt = p.find(degreeSign);
    std::string deg = astro::RemoveBlanks(p.substr(0, degAt));
    std::string min;
    if (degAt != std::string::npos) {
        const std::size_t from = degAt + degreeSign.size();
        const std::size_t quoteAt = p.find('\'', from);
        min = astro::RemoveBlanks(
            p.substr(from, quoteAt == std::string::npos ? std::string::npos : quoteAt - from));
    }
    const std::string code = astro::RemoveBlanks(astro::LastChars(p, 3));
    if (deg.size() <= 1)
        deg.insert(0, "0");
    if (min.size() <= 1)
        min.insert(0, "0");
    return deg + " " + code + " " + min;
}

std::array<double, kFilledBodySlots> PlanetLongitudes(const Birth& birth, double ayanamsa) {
    const CivilDateTime ut = UniversalDateTime(birth);
    const double d = DaysFromJ2000(ut.year, ut.month, ut.day, ut.hour, ut.minute);
    const double ayanamsaSize = std::fabs(ayanamsa);
    const double T = d / 36525;
    const PlaneXY earthAt = EarthPosition(T);

    // Rows of the element table in body-slot order; the Earth's row gives the Sun.
    constexpr std::pair<BodySlot, int> kRows[] = {{BodySlot::Sun, kEarthRow}, {BodySlot::Mercury, 0},
                                                  {BodySlot::Venus, 1},       {BodySlot::Mars, 3},
                                                  {BodySlot::Jupiter, 4},     {BodySlot::Saturn, 5}};
    std::array<double, kFilledBodySlots> lon{};
    for (const auto& [slot, row] : kRows) {
        double s = LongitudeSeenFrom(earthAt, row, T) - ayanamsaSize;
        while (s < 0)
            s += 360;
        lon[static_cast<std::size_t>(slot)] = s;
    }
    const double rahu = RahuLongitude(d, ayanamsa);
    lon[static_cast<std::size_t>(BodySlot::Rahu)] = rahu;
    lon[static_cast<std::size_t>(BodySlot::Ketu)] = KetuLongitude(rahu);
    return lon;
}
