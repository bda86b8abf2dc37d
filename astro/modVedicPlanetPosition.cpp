#include "astro/modVedicPlanetPosition.h"

#include "astro/AstroConstants.h"
#include "astro/Calendar.h"
#include "astro/TextUtil.h"
#include "astro/modVedicEphemeris.h"
#include "records/Vocabulary.h"

#include <cmath>
#include <cstdlib>

using astro::degreesToRadians;

const std::array<TimeZoneRow, kTimeZoneCount> TimeZoneTable{{
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

const std::array<const char*, 13> SignCodeTable = [] {
    std::array<const char*, 13> codes{};
    // The codes are string literals, so their data ends with NUL.
    for (std::size_t s = 0; s < kSigns.size(); ++s)
        codes[s] = kSigns[s].code.data();
    codes[12] = "";
    return codes;
}();

// Row 29 is spelled like the ephemeris writes the name, so a Moon in the Capricorn part of
// Dhanishtha finds its own row.
const std::array<NakshatraRow, 36> NakshatraRows{{
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

const std::array<OrbitalElements, 6> OrbitalElementTable{{
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

namespace {

double Sign(double v) {
    return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

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

// ---------------------------------------------------------------- chart angles

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

void ComputeChartAngles() {
    const ChartAngles angles = ComputeAngles(BirthData);
    ReadingState.ayanamsa = angles.ayanamsa;
    ReadingState.ayanamsaText = FormatSignedDegrees(angles.ayanamsa);
    ReadingState.ascendantText = FormatZodiacPosition(angles.ascendant);
    ReadingState.midheavenText = FormatZodiacPosition(angles.midheaven);
    ReadingState.longitudes[static_cast<std::size_t>(BodySlot::Ascendant)] = angles.ascendant;
    ReadingState.longitudes[static_cast<std::size_t>(BodySlot::Midheaven)] = angles.midheaven;
}

// ---------------------------------------------------------------- planets

CivilDateTime AddMinutes(const CivilDateTime& t, long long minutes) {
    long long total =
        astro::DaysFromCivil(t.year, t.month, t.day) * 1440 + t.hour * 60LL + t.minute + minutes;
    long long days = total / 1440;
    long long rest = total % 1440;
    if (rest < 0) {
        rest += 1440;
        --days;
    }
    const astro::CivilDate date = astro::CivilFromDays(days);
    CivilDateTime out;
    out.year = date.year;
    out.month = date.month;
    out.day = date.day;
    out.hour = static_cast<int>(rest / 60);
    out.minute = static_cast<int>(rest % 60);
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
    const auto days =
        static_cast<double>(astro::DaysFromCivil(year, month, day) - astro::DaysFromCivil(2000, 1, 1));
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

void ComputePlanetTable() {
    for (std::size_t i = 0; i < kBodies.size(); ++i) {
        ReadingState.bodyNames[i] = kBodies[i].english;
        ReadingState.bodyLabels[i] = kBodies[i].label;
    }

    const CivilDateTime ut = UniversalDateTime(BirthData);
    const double d = DaysFromJ2000(ut.year, ut.month, ut.day, ut.hour, ut.minute);
    const double ayanamsaSize = std::fabs(ReadingState.ayanamsa);
    const double T = d / 36525;
    const PlaneXY earthAt = EarthPosition(T);

    std::array<double, 6> rowLongitude;
    for (int row = 0; row < 6; ++row) {
        double s = LongitudeSeenFrom(earthAt, row, T) - ayanamsaSize;
        while (s < 0)
            s += 360;
        rowLongitude[static_cast<std::size_t>(row)] = s;
    }
    const double rahu = RahuLongitude(d, ReadingState.ayanamsa);
    const double ketu = KetuLongitude(rahu);

    auto& pos = ReadingState.planetPositions;
    pos[0] = ShortZodiacPositionOf(rowLongitude[2]);
    pos[1] = ShortZodiacPosition(ReadingState.moonPositionText);
    pos[2] = ShortZodiacPositionOf(rowLongitude[0]);
    pos[3] = ShortZodiacPositionOf(rowLongitude[1]);
    pos[4] = ShortZodiacPositionOf(rowLongitude[3]);
    pos[5] = ShortZodiacPositionOf(rowLongitude[4]);
    pos[6] = ShortZodiacPositionOf(rowLongitude[5]);
    pos[7] = ShortZodiacPositionOf(rahu);
    pos[8] = ShortZodiacPositionOf(ketu);
    pos[9] = ShortZodiacPosition(ReadingState.ascendantText);
    pos[10] = ShortZodiacPosition(ReadingState.midheavenText);

    // The Moon, the ascendant and the midheaven keep the numbers their own stages wrote.
    auto& lon = ReadingState.longitudes;
    lon[0] = rowLongitude[2];
    lon[2] = rowLongitude[0];
    lon[3] = rowLongitude[1];
    lon[4] = rowLongitude[3];
    lon[5] = rowLongitude[4];
    lon[6] = rowLongitude[5];
    lon[7] = rahu;
    lon[8] = ketu;
}

// ---------------------------------------------------------------- lagna and nakshatra lord

std::string LagnaNameForCode(const std::string& code, std::int16_t* number) {
    const int s = SignIndexOfCode(code);
    if (s < 0)
        return {};
    const SignWords& sign = kSigns[static_cast<std::size_t>(s)];
    if (number)
        *number = static_cast<std::int16_t>(sign.number);
    return std::string(sign.sanskrit);
}

bool DeriveLagna() {
    const std::string& ayanamsaText = ReadingState.ayanamsaText;
    ReadingState.ayanamsaDisplayText = ayanamsaText.empty() ? std::string() : ayanamsaText.substr(1);
    ReadingState.lagnaSignCode = astro::LastChars(ReadingState.ascendantText, 3);
    std::int16_t number = 0;
    const std::string name = LagnaNameForCode(ReadingState.lagnaSignCode, &number);
    const bool found = !name.empty();
    if (found) {
        ReadingState.lagnaName = name;
        ReadingState.ascendantSign = number;
    }
    ReadingState.nakshatraName = ReadingState.moonNakshatra;
    ReadingState.rashiName = ReadingState.moonRashi;
    return found;
}

int FindNakshatraRow(const std::string& name, const std::string& signCode) {
    const int s = SignIndexOfCode(signCode);
    if (s < 0)
        return -1;
    for (int j = 3 * s; j < 3 * s + 3; ++j)
        if (name == NakshatraRows[static_cast<std::size_t>(j)].name)
            return j;
    return -1;
}

int ClassicNakshatraRow(int nakshatra, int moonSign) {
    if (nakshatra < 0 || nakshatra >= kNakshatraCount)
        return -1;
    const std::string name = NakshatraNameAt(nakshatra);
    if (moonSign >= 0 && moonSign < 12)
        for (int j = 3 * moonSign; j < 3 * moonSign + 3; ++j)
            if (name == NakshatraRows[static_cast<std::size_t>(j)].name)
                return j;
    for (int j = 0; j < 36; ++j)
        if (name == NakshatraRows[static_cast<std::size_t>(j)].name)
            return j;
    return -1;
}

void LookupNakshatraLord() {
    BuildReferenceTables();
    ReadingState.nakshatraLord.clear();
    ReadingState.nakshatraPada.clear();

    const std::string moonSign = astro::LastChars(astro::Trim(ReadingState.moonPositionText), 3);
    int row = FindNakshatraRow(ReadingState.nakshatraName, moonSign);
    if (row < 0) {
        // Only a longitude a hair below a sign boundary can land the nakshatra past the sign of the
        // whole degrees; the nakshatra's first row is then the nearest truth.
        for (int j = 0; j < 36 && row < 0; ++j)
            if (ReadingState.nakshatraName == NakshatraRows[static_cast<std::size_t>(j)].name)
                row = j;
    }
    if (row >= 0) {
        ReadingState.nakshatraLord = NakshatraRows[static_cast<std::size_t>(row)].lord;
        ReadingState.nakshatraPada = NakshatraRows[static_cast<std::size_t>(row)].pada;
    }
}
