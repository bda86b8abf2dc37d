// SPDX-License-Identifier: AGPL-3.0-or-later
// quillmere-compare: how far two calculations lie apart (the classic and the precise one, or the precise
// one under two conventions), measured over many seeded random births: each body's longitude and sign,
// and the parts of the reading built on them.
#include "formats/DataFiles.h"
#include "pipeline/BirthEntry.h"
#include "pipeline/ConventionKeys.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "pipeline/Vargas.h"
#include "reading/ReadingTexts.h"
#include "records/TimeZones.h"
#include "records/Vocabulary.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: quillmere-compare [--births N] [--seed S] [--latitudes FROM TO] [--first CALC] [--second CALC]\n"
    "  --births N   how many random births to compare (default 5000)\n"
    "  --seed S     the seed of the births drawn (default 1)\n"
    "  --latitudes FROM TO  the births' latitudes, whole degrees north or south\n"
    "               (default 0 66)\n"
    "  --first CALC, --second CALC  the two calculations compared, as quillmere-chart's --compare\n"
    "               takes them: \"classic\" or \"precise\", then any of \",ayanamsa=NAME\",\n"
    "               \",node=mean|true\", \",year-days=DAYS\", \",ashtakavarga=common|parashara\"\n"
    "               (default classic and precise)\n";

// Whole numbers taken straight from the engine's raw output: the standard library's distributions
// differ between implementations, and a seed must give the same births everywhere.
class Draws {
  public:
    explicit Draws(std::uint64_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }

  private:
    std::mt19937_64 engine_;
};

// One statement per draw, so that their order is fixed.
BirthEntry RandomBirth(Draws& draw, int fromLatitude, int toLatitude) {
    static constexpr std::array<int, 12> kMonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    BirthEntry e;
    e.name = "Random Birth";
    e.city = e.state = e.country = "Nowhere";
    e.year = draw.Between(1901, 2050);
    e.monthIndex = draw.Below(12);
    // Every fourth year is a leap year from 1901 to 2050.
    const bool leapFebruary = e.monthIndex == 1 && e.year % 4 == 0;
    e.day = draw.Between(1, kMonthDays[static_cast<std::size_t>(e.monthIndex)] + (leapFebruary ? 1 : 0));
    e.hour = draw.Below(24);
    e.minute = draw.Below(60);
    e.zoneRow = draw.Below(kTimeZoneCount);
    e.dst = draw.Below(5) == 0;
    // Arc-minutes, from fromLatitude to toLatitude degrees.
    const int latitude = fromLatitude * 60 + draw.Below((toLatitude - fromLatitude) * 60 + 1);
    e.latDeg = std::to_string(latitude / 60);
    e.latMin = std::to_string(latitude % 60);
    e.latDirection = draw.Below(2);
    const int longitude = draw.Below(180 * 60 + 1);
    e.lonDeg = std::to_string(longitude / 60);
    e.lonMin = std::to_string(longitude % 60);
    e.lonDirection = draw.Below(2);
    return e;
}

struct Position {
    double longitude = 0.0; // sidereal degrees
    int sign = -1;          // 0 Aries .. 11 Pisces
};

// A body's position as the reading writes it: degrees and minutes within the sign (and the seconds,
// where `seconds`), cut as the reading cuts them.
Position WrittenPosition(const Reading& reading, BodySlot body, bool seconds) {
    const PositionRow row = PositionOf(body, reading.Longitude(body));
    Position p;
    p.sign = reading.Sign(body);
    if (p.sign >= 0)
        p.longitude = p.sign * 30 + row.degrees + row.minutes / 60.0 + (seconds ? row.seconds / 3600.0 : 0);
    return p;
}

// What one calculation made of a birth, as far as the comparison needs it.
struct Compared {
    std::array<Position, kFilledBodySlots> bodies;
    int lagna = 0, nakshatra = 0, pada = 0;
    std::array<std::string, 12> headings;
};

Compared Take(const Reading& r) {
    Compared c;
    for (std::size_t i = 0; i < c.bodies.size(); ++i) {
        // The planet table has whole minutes; the Moon and the angles also have their seconds.
        const auto body = static_cast<BodySlot>(i);
        c.bodies[i] = WrittenPosition(
            r, body, body == BodySlot::Moon || body == BodySlot::Ascendant || body == BodySlot::Midheaven);
    }
    c.lagna = r.LagnaSign();
    c.nakshatra = r.nakshatra;
    c.pada = r.pada;
    for (int house = 1; house <= 12; ++house)
        c.headings[static_cast<std::size_t>(house - 1)] = HouseLordHeading(r, house);
    return c;
}

double ArcMinutesApart(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return 60.0 * std::min(d, 360.0 - d);
}

// The Moon's quarter of a nakshatra, one of 108 around the zodiac.
int QuarterOf(double longitude) {
    return static_cast<int>(std::floor(longitude / (360.0 / 108)));
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    const std::size_t half = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
    const double upper = values[half];
    if (values.size() % 2 != 0)
        return upper;
    return (*std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half)) + upper) /
           2;
}

template <typename Number> bool ParseNumber(std::string_view text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

int main(int argc, char** argv) {
    long births = 5000;
    std::uint64_t seed = 1;
    int fromLatitude = 0, toLatitude = 66;
    CalculationChoice firstChoice{Calculation::Classic, {}}, secondChoice{Calculation::Precise, {}};
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--help") {
            std::fputs(kUsage, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        } else if (option == "--births" && hasValue && ParseNumber(argv[i + 1], births) && births > 0) {
            ++i;
        } else if (option == "--seed" && hasValue && ParseNumber(argv[i + 1], seed)) {
            ++i;
        } else if ((option == "--first" || option == "--second") && hasValue &&
                   !ReadCalculationKey(argv[i + 1], option == "--first" ? firstChoice : secondChoice)) {
            ++i;
        } else if (option == "--latitudes" && i + 2 < argc && ParseNumber(argv[i + 1], fromLatitude) &&
                   ParseNumber(argv[i + 2], toLatitude) && 0 <= fromLatitude && fromLatitude <= toLatitude &&
                   toLatitude <= 90) {
            i += 2;
        } else {
            std::fprintf(stderr, "quillmere-compare: %s: not understood\n%s", argv[i], kUsage);
            return 2;
        }
    }
    UseEphemerisFilesBeside(ProgramFolder());

    std::array<std::vector<double>, kFilledBodySlots> apart;
    std::array<long, kFilledBodySlots> signDiffers{};
    std::array<long, 12> headingDiffers{};
    // Per divisional chart: the Sun to Ketu and the ascendant in another sign, and births with one.
    std::array<long, kVargaDivisions.size()> vargaSignDiffers{}, vargaBirthDiffers{};
    long computed = 0, lagnaDiffers = 0, nakshatraDiffers = 0, padaDiffers = 0, quarterDiffers = 0;
    long planetSignDiffers = 0, anySignDiffers = 0;
    long refusedEntry = 0, refusedFirst = 0, refusedSecond = 0;

    Draws draw(seed);
    for (long n = 1; n <= births; ++n) {
        const BirthEntry entry = RandomBirth(draw, fromLatitude, toLatitude);
        const std::optional<Birth> birth = CheckBirthEntry(entry) ? std::nullopt : BirthFromEntry(entry);
        if (!birth) {
            ++refusedEntry;
            continue;
        }
        const ReadingResult firstResult = ComputeReading(*birth, firstChoice);
        const ReadingResult secondResult = ComputeReading(*birth, secondChoice);
        const bool firstDone = firstResult.reading.has_value();
        const bool secondDone = secondResult.reading.has_value();
        refusedFirst += firstDone ? 0 : 1;
        refusedSecond += secondDone ? 0 : 1;
        if (!firstDone || !secondDone) {
            std::fprintf(stderr, "birth %ld (%d-%02d-%02d %02d:%02d) refused by the %s calculation: %s\n", n,
                         entry.year, entry.monthIndex + 1, entry.day, entry.hour, entry.minute,
                         firstDone ? "second" : "first",
                         (firstDone ? secondResult.message : firstResult.message).c_str());
            continue;
        }
        const Compared first = Take(*firstResult.reading);
        const Compared second = Take(*secondResult.reading);
        ++computed;
        bool planetSign = false, anySign = false;
        for (std::size_t b = 0; b < apart.size(); ++b) {
            const Position& c = first.bodies[b];
            const Position& p = second.bodies[b];
            apart[b].push_back(ArcMinutesApart(c.longitude, p.longitude));
            if (c.sign != p.sign) {
                ++signDiffers[b];
                anySign = true;
                planetSign = planetSign || b <= static_cast<std::size_t>(BodySlot::Ketu);
            }
        }
        planetSignDiffers += planetSign ? 1 : 0;
        anySignDiffers += anySign ? 1 : 0;
        lagnaDiffers += first.lagna != second.lagna ? 1 : 0;
        nakshatraDiffers += first.nakshatra != second.nakshatra ? 1 : 0;
        padaDiffers += first.pada != second.pada ? 1 : 0;
        const std::size_t moon = static_cast<std::size_t>(BodySlot::Moon);
        quarterDiffers +=
            QuarterOf(first.bodies[moon].longitude) != QuarterOf(second.bodies[moon].longitude) ? 1 : 0;
        for (std::size_t h = 0; h < 12; ++h)
            headingDiffers[h] += first.headings[h] != second.headings[h] ? 1 : 0;
        for (std::size_t v = 0; v < kVargaDivisions.size(); ++v) {
            bool differs = false;
            for (std::size_t b = 0; b <= static_cast<std::size_t>(BodySlot::Ascendant); ++b) {
                const int division = kVargaDivisions[v];
                const auto body = static_cast<BodySlot>(b);
                if (VargaSign(division, firstResult.reading->Longitude(body)) !=
                    VargaSign(division, secondResult.reading->Longitude(body))) {
                    ++vargaSignDiffers[v];
                    differs = true;
                }
            }
            vargaBirthDiffers[v] += differs ? 1 : 0;
        }
    }

    const auto percent = [&](long count) { return computed > 0 ? 100.0 * count / computed : 0.0; };
    std::printf("%s and %s compared: %ld random births, seed %llu, latitudes %d to %d\n",
                CalculationWords(firstChoice).c_str(), CalculationWords(secondChoice).c_str(), births,
                static_cast<unsigned long long>(seed), fromLatitude, toLatitude);
    std::printf("Computed by both: %ld. Refused by the entry checks: %ld, by the first calculation: %ld, "
                "by the second calculation: %ld.\n\n",
                computed, refusedEntry, refusedFirst, refusedSecond);

    std::printf("Longitude apart, arc-minutes (shortest arc; positions as the reading writes them)\n");
    std::printf("%-10s %8s %8s %14s\n", "body", "median", "largest", "sign differs");
    for (std::size_t b = 0; b < apart.size(); ++b) {
        const double largest = apart[b].empty() ? 0.0 : *std::max_element(apart[b].begin(), apart[b].end());
        std::printf("%-10s %8.1f %8.1f %6ld %6.1f%%\n", std::string(kBodies[b].english).c_str(),
                    Median(apart[b]), largest, signDiffers[b], percent(signDiffers[b]));
    }

    std::printf("\nParts of the reading that differ (births)\n");
    const auto row = [&](const char* what, long count) {
        std::printf("%-48s %6ld %6.1f%%\n", what, count, percent(count));
    };
    row("lagna", lagnaDiffers);
    row("Moon's nakshatra", nakshatraDiffers);
    row("pada shown", padaDiffers);
    row("quarter of a nakshatra in which the Moon stands", quarterDiffers);
    row("at least one of the Sun to Ketu in another sign", planetSignDiffers);
    row("at least one body or angle in another sign", anySignDiffers);
    for (std::size_t h = 0; h < 12; ++h) {
        const std::string what = "heading of house " + std::to_string(h + 1);
        row(what.c_str(), headingDiffers[h]);
    }

    std::printf(
        "\nDivisional charts: signs that differ (the Sun to Ketu and the ascendant) and births with one\n");
    const long bodies = computed * (static_cast<long>(BodySlot::Ascendant) + 1);
    for (std::size_t v = 0; v < kVargaDivisions.size(); ++v)
        std::printf("D%-3d %8ld %6.1f%% %6ld %6.1f%%\n", kVargaDivisions[v], vargaSignDiffers[v],
                    bodies > 0 ? 100.0 * vargaSignDiffers[v] / bodies : 0.0, vargaBirthDiffers[v],
                    percent(vargaBirthDiffers[v]));

    if (std::fflush(stdout) != 0 || std::ferror(stdout) || std::fclose(stdout) != 0) {
        std::fprintf(stderr, "quillmere-compare: standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return refusedEntry + refusedFirst + refusedSecond == 0 ? 0 : 1;
}
