// SPDX-License-Identifier: AGPL-3.0-or-later
// quillmere-stations: writes the station tables of Mercury, Venus, Mars, Jupiter and Saturn that
// Retrogrades compiles in, computed from the Swiss Ephemeris.
//
// A station is the moment the planet's geocentric apparent ecliptic longitude stops moving one
// way and starts moving the other, i.e. where the longitude's speed changes sign. Moments are in
// Universal Time, rounded to the minute. Each station retrograde is paired with the station direct
// that follows it.
//
// A few records are fixed values the tables must carry verbatim (the first and last period of
// each planet, which also bound each table, and two Mercury periods of 1985). The generator
// writes those as given and reports how far its own moments lie from each, so any disagreement
// with the ephemeris stays visible.
#include <swephexp.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef QUILLMERE_SWE_EPHE_PATH
#define QUILLMERE_SWE_EPHE_PATH "/usr/share/libswe/ephe"
#endif

namespace {

using namespace std::chrono;

struct Planet {
    const char* name;
    int body; // Swiss Ephemeris body number
};

constexpr std::array<Planet, 5> kPlanets{{
    {"Mercury", SE_MERCURY},
    {"Venus", SE_VENUS},
    {"Mars", SE_MARS},
    {"Jupiter", SE_JUPITER},
    {"Saturn", SE_SATURN},
}};

// The fixed periods: station retrograde and station direct as "month,day,year,hour,minute,".
struct FixedPeriod {
    const char* planet;
    const char* retrograde;
    const char* direct;
};

// For each planet the first and the last period, in that order; they also bound the table.
constexpr std::array<FixedPeriod, 10> kBoundingPeriods{{
    {"Mercury", "3,15,1900,13,19,", "4,7,1900,18,42,"},
    {"Mercury", "12,1,2050,17,17,", "12,21,2050,11,33,"},
    {"Venus", "6,16,1900,22,56,", "7,30,1900,2,44,"},
    {"Venus", "9,25,2050,22,15,", "11,6,2050,19,4,"},
    {"Mars", "1,13,1901,6,16,", "4,4,1901,7,21,"},
    {"Mars", "7,15,2050,5,50,", "9,13,2050,9,41,"},
    {"Jupiter", "3,27,1900,20,39,", "7,29,1900,1,35,"},
    {"Jupiter", "12,21,2050,13,21,", "4,21,2051,23,46,"},
    {"Saturn", "4,14,1900,6,2,", "9,2,1900,14,39,"},
    {"Saturn", "5,18,2050,13,6,", "10,6,2050,11,5,"},
}};

constexpr std::array<FixedPeriod, 2> kInnerPeriods{{
    {"Mercury", "3,24,1985,18,47,", "4,17,1985,5,27,"},
    {"Mercury", "7,28,1985,0,47,", "8,20,1985,22,45,"},
}};

// The search covers every station of 1900 to 2051 with a margin on both sides.
constexpr double kScanStartJd = 2414900.5; // 1899 September 3, 0h UT
constexpr double kScanEndJd = 2470900.5;   // 2052 December 29, 0h UT
// No planet's speed changes sign twice within a day: Mercury's shortest retrograde or direct
// spell lasts weeks.
constexpr double kScanStepDays = 1.0;
constexpr double kUnixEpochJd = 2440587.5; // 1970 January 1, 0h

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Longitude speed in degrees per day. Refuses anything but the Swiss Ephemeris files: the library
// quietly falls back to its less precise analytic theory when a file is missing.
double LongitudeSpeed(int body, double jdUt) {
    double xx[6];
    char error[AS_MAXCH] = "";
    const int32 used = swe_calc_ut(jdUt, body, SEFLG_SWIEPH | SEFLG_SPEED, xx, error);
    if (used < 0)
        throw Failure(std::string("swe_calc_ut: ") + error);
    if ((used & SEFLG_SWIEPH) == 0)
        throw Failure("the Swiss Ephemeris files were not used (" + std::string(error) +
                      "); install swe-basic-data or give --ephe");
    return xx[3];
}

struct Station {
    double jd = 0;          // Universal Time
    bool retrograde = true; // turning retrograde, else turning direct
};

// Every sign change of the longitude speed in the scan range, each narrowed down by bisection to
// far below a second.
std::vector<Station> FindStations(int body) {
    std::vector<Station> stations;
    double t0 = kScanStartJd;
    double v0 = LongitudeSpeed(body, t0);
    for (double t1 = t0 + kScanStepDays; t1 <= kScanEndJd; t1 += kScanStepDays) {
        const double v1 = LongitudeSpeed(body, t1);
        if ((v0 > 0) != (v1 > 0)) {
            double lo = t0, hi = t1;
            while (hi - lo > 1e-7) {
                const double mid = 0.5 * (lo + hi);
                if ((LongitudeSpeed(body, mid) > 0) == (v0 > 0))
                    lo = mid;
                else
                    hi = mid;
            }
            stations.push_back({0.5 * (lo + hi), v0 > 0});
        }
        t0 = t1;
        v0 = v1;
    }
    return stations;
}

struct Period {
    double retrograde = 0, direct = 0; // Julian days, Universal Time
};

std::vector<Period> PairStations(const std::vector<Station>& stations, const char* name) {
    std::vector<Period> periods;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (!stations[i].retrograde)
            continue;
        if (i + 1 >= stations.size())
            break; // the range ends inside a retrograde period
        if (stations[i + 1].retrograde)
            throw Failure(std::string(name) + ": two stations retrograde without a station direct between");
        periods.push_back({stations[i].jd, stations[i + 1].jd});
    }
    return periods;
}

// Minutes since 1970 January 1, 0h, of a record "month,day,year,hour,minute,".
long long RecordMinutes(const std::string& record) {
    int month = 0, day = 0, year = 0, hour = 0, minute = 0;
    char tail = 0;
    if (std::sscanf(record.c_str(), "%d,%d,%d,%d,%d%c", &month, &day, &year, &hour, &minute, &tail) != 6 ||
        tail != ',')
        throw Failure("not a record: " + record);
    const year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        throw Failure("not a date and time: " + record);
    return sys_days{date}.time_since_epoch().count() * 1440LL + hour * 60LL + minute;
}

// The day on which a moment counted in minutes from 1970 falls.
sys_days DayOfMinutes(long long count) {
    return floor<days>(sys_time<minutes>{minutes{count}});
}

long long RoundedMinutes(double jdUt) {
    return std::llround((jdUt - kUnixEpochJd) * 1440.0);
}

std::string FormatRecord(long long count) {
    const sys_days day = DayOfMinutes(count);
    const long long rest = (minutes{count} - day.time_since_epoch()).count();
    const year_month_day date{day};
    std::ostringstream out;
    out << static_cast<unsigned>(date.month()) << ',' << static_cast<unsigned>(date.day()) << ','
        << static_cast<int>(date.year()) << ',' << rest / 60 << ',' << rest % 60 << ',';
    return out.str();
}

struct Row {
    std::string retrograde, direct;
};

// Index of the computed period whose station retrograde lies nearest to a fixed record. A fixed
// record more than a day away from every computed station means the two disagree about which
// station it is, not merely about its minute.
std::size_t NearestPeriod(const std::vector<Period>& periods, const FixedPeriod& fixed) {
    const double target = static_cast<double>(RecordMinutes(fixed.retrograde));
    std::size_t best = 0;
    double bestGap = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < periods.size(); ++i) {
        const double gap = std::fabs((periods[i].retrograde - kUnixEpochJd) * 1440.0 - target);
        if (gap < bestGap) {
            bestGap = gap;
            best = i;
        }
    }
    const double directGap = std::fabs((periods[best].direct - kUnixEpochJd) * 1440.0 -
                                       static_cast<double>(RecordMinutes(fixed.direct)));
    if (bestGap > 1440.0 || directGap > 1440.0)
        throw Failure(std::string(fixed.planet) + ": no computed period near " + fixed.retrograde + " - " +
                      fixed.direct);
    return best;
}

void ReportOffset(std::ostream& report, const char* planet, const char* kind, const std::string& fixed,
                  double computedJd) {
    const double offset = (computedJd - kUnixEpochJd) * 1440.0 - static_cast<double>(RecordMinutes(fixed));
    char line[160];
    std::snprintf(line, sizeof line, "  %-8s %-10s fixed %-18s computed %-18s %+7.1f min", planet, kind,
                  fixed.c_str(), FormatRecord(RoundedMinutes(computedJd)).c_str(), offset);
    report << line;
    if (DayOfMinutes(RecordMinutes(fixed)) != DayOfMinutes(RoundedMinutes(computedJd)))
        report << "  (computed on another date)";
    report << '\n';
}

std::vector<Row> BuildTable(const Planet& planet, std::ostream& report) {
    const std::vector<Period> periods = PairStations(FindStations(planet.body), planet.name);

    std::vector<const FixedPeriod*> bounds;
    for (const FixedPeriod& f : kBoundingPeriods)
        if (std::string(f.planet) == planet.name)
            bounds.push_back(&f);
    if (bounds.size() != 2)
        throw Failure(std::string(planet.name) + ": needs a first and a last fixed period");
    const std::size_t first = NearestPeriod(periods, *bounds[0]);
    const std::size_t last = NearestPeriod(periods, *bounds[1]);
    if (last < first)
        throw Failure(std::string(planet.name) + ": the last fixed period comes before the first");

    std::map<std::size_t, const FixedPeriod*> fixedAt{{first, bounds[0]}, {last, bounds[1]}};
    for (const FixedPeriod& f : kInnerPeriods) {
        if (std::string(f.planet) != planet.name)
            continue;
        const std::size_t at = NearestPeriod(periods, f);
        if (at <= first || at >= last)
            throw Failure(std::string(planet.name) + ": fixed period " + f.retrograde + " outside the table");
        fixedAt[at] = &f;
    }

    std::vector<Row> rows;
    for (std::size_t i = first; i <= last; ++i) {
        const auto fixed = fixedAt.find(i);
        if (fixed != fixedAt.end()) {
            ReportOffset(report, planet.name, "retrograde", fixed->second->retrograde, periods[i].retrograde);
            ReportOffset(report, planet.name, "direct", fixed->second->direct, periods[i].direct);
            rows.push_back({fixed->second->retrograde, fixed->second->direct});
        } else {
            rows.push_back({FormatRecord(RoundedMinutes(periods[i].retrograde)),
                            FormatRecord(RoundedMinutes(periods[i].direct))});
        }
    }
    return rows;
}

// The tables are pinned to what made them: the library's version and a checksum of every
// ephemeris file it read, so a regeneration that differs can be traced to its cause.
std::string TableSource(const std::array<std::vector<Row>, kPlanets.size()>& tables,
                        const std::vector<std::string>& inputs) {
    char version[AS_MAXCH] = {};
    swe_version(version);
    std::ostringstream out;
    out << "// Station tables: for every retrograde period of a planet, the station retrograde and the\n"
           "// station direct that ends it, in Universal Time, as \"month,day,year,hour,minute,\", in time "
           "order.\n"
           "// Generated by quillmere-stations (tools/stations) from the Swiss Ephemeris; do not edit by "
           "hand.\n"
           "// Included by astro/Retrogrades.cpp, which declares StationRow.\n"
        << "// Swiss Ephemeris library " << version << "\n";
    for (const std::string& input : inputs)
        out << "// Input " << input << "\n";
    out << "// clang-format off\n";
    for (std::size_t p = 0; p < kPlanets.size(); ++p) {
        out << "\nconstexpr std::array<StationRow, " << tables[p].size() << "> " << kPlanets[p].name
            << "Stations{{\n";
        for (const Row& row : tables[p])
            out << "    {\"" << row.retrograde << "\", \"" << row.direct << "\"},\n";
        out << "}};\n";
    }
    out << "// clang-format on\n";
    return out.str();
}

constexpr const char* kUsage = "Usage: quillmere-stations --output FILE [--ephe DIR] [--input TEXT]...\n"
                               "Writes the station tables to FILE and reports on standard output how far\n"
                               "the computed stations lie from the fixed records. DIR holds the Swiss\n"
                               "Ephemeris files (default " QUILLMERE_SWE_EPHE_PATH "). Each TEXT (an\n"
                               "ephemeris file's name and checksum) is recorded in the tables' header.\n";

} // namespace

int main(int argc, char** argv) {
    std::string output;
    std::string ephe = QUILLMERE_SWE_EPHE_PATH;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--output" && i + 1 < argc) {
            output = argv[++i];
        } else if (a == "--ephe" && i + 1 < argc) {
            ephe = argv[++i];
        } else if (a == "--input" && i + 1 < argc) {
            inputs.emplace_back(argv[++i]);
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (output.empty()) {
        std::cerr << kUsage;
        return 2;
    }

    swe_set_ephe_path(ephe.c_str());
    try {
        std::array<std::vector<Row>, kPlanets.size()> tables;
        std::cout << "Computed stations against the fixed records (computed minus fixed):\n";
        for (std::size_t p = 0; p < kPlanets.size(); ++p)
            tables[p] = BuildTable(kPlanets[p], std::cout);
        std::cout << "Periods:";
        for (std::size_t p = 0; p < kPlanets.size(); ++p)
            std::cout << ' ' << kPlanets[p].name << ' ' << tables[p].size();
        std::cout << '\n';

        std::ofstream file(output, std::ios::binary | std::ios::trunc);
        file << TableSource(tables, inputs);
        file.close();
        if (!file)
            throw Failure("cannot write " + output);
    } catch (const Failure& e) {
        swe_close();
        std::cerr << "quillmere-stations: " << e.what() << '\n';
        return 1;
    }
    swe_close();
    return 0;
}
