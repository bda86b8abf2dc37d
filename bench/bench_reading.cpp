// SPDX-License-Identifier: AGPL-3.0-or-later
// Speed of one whole reading through the computing core, and of each stage alone.
#include "astro/Angles.h"
#include "astro/Moon.h"
#include "astro/Planets.h"
#include "astro/Retrogrades.h"
#include "formats/ChartExport.h"
#include "pipeline/Ashtakavarga.h"
#include "pipeline/BirthEntry.h"
#include "pipeline/CompareReadings.h"
#include "pipeline/Panchanga.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "pipeline/Vargas.h"
#if QUILLMERE_HAS_PRECISE
#include "precise/PreciseEngine.h"
#endif

#include <benchmark/benchmark.h>

#include <vector>

namespace {

BirthEntry Entry(int year, int monthIndex, int day, int hour, int minute, int zoneRow, const char* latDeg,
                 const char* latMin, int latDirection, const char* lonDeg, const char* lonMin,
                 int lonDirection, bool dst) {
    BirthEntry e;
    e.name = "Bench";
    e.year = year;
    e.monthIndex = monthIndex;
    e.day = day;
    e.hour = hour;
    e.minute = minute;
    e.zoneRow = zoneRow;
    e.latDeg = latDeg;
    e.latMin = latMin;
    e.latDirection = latDirection;
    e.lonDeg = lonDeg;
    e.lonMin = lonMin;
    e.lonDirection = lonDirection;
    e.dst = dst;
    e.city = "City";
    e.state = "State";
    e.country = "Country";
    return e;
}

// Births across the whole range of years, both hemispheres, zones east and west, with and
// without daylight saving, hour 24 included.
const std::vector<BirthEntry>& Births() {
    static const std::vector<BirthEntry> births{
        Entry(1980, 0, 1, 12, 0, 29, "51", "30", 0, "0", "0", 0, false),
        Entry(1947, 7, 15, 0, 0, 34, "28", "39", 0, "77", "13", 0, false),
        Entry(1901, 0, 1, 0, 0, 27, "40", "42", 0, "74", "0", 1, false),
        Entry(2050, 11, 31, 24, 59, 8, "33", "52", 1, "151", "12", 0, true),
        Entry(1976, 6, 4, 14, 15, 27, "40", "43", 0, "74", "0", 1, true),
        Entry(1999, 2, 28, 6, 30, 48, "36", "51", 1, "174", "46", 0, true),
        Entry(2024, 5, 21, 23, 59, 20, "40", "25", 0, "3", "42", 1, false),
        Entry(1932, 9, 10, 3, 7, 50, "47", "34", 0, "52", "43", 1, false),
    };
    return births;
}

const Birth& BirthAt(std::size_t i) {
    static const std::vector<Birth> births = [] {
        std::vector<Birth> out;
        for (const BirthEntry& e : Births())
            out.push_back(*BirthFromEntry(e));
        return out;
    }();
    return births[i % births.size()];
}

// The whole classic reading and its export, from the entry, as the companion makes them.
void BM_WholeReading(benchmark::State& state) {
    const auto& births = Births();
    std::size_t i = 0;
    for (auto _ : state) {
        const ReadingResult result =
            ComputeReading(*BirthFromEntry(births[i++ % births.size()]), Calculation::Classic);
        auto text = ChartExportText(*result.reading);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_WholeReading);

void BM_ChartAngles(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const ChartAngles angles = ComputeAngles(BirthAt(i++));
        benchmark::DoNotOptimize(angles);
    }
}
BENCHMARK(BM_ChartAngles);

void BM_MoonPosition(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const double moon = MoonLongitude(BirthAt(i++));
        benchmark::DoNotOptimize(moon);
    }
}
BENCHMARK(BM_MoonPosition);

void BM_PlanetTable(benchmark::State& state) {
    const Birth& birth = BirthAt(1);
    const double ayanamsa = ComputeAngles(birth).ayanamsa;
    for (auto _ : state) {
        auto longitudes = PlanetLongitudes(birth, ayanamsa);
        benchmark::DoNotOptimize(longitudes.data());
    }
}
BENCHMARK(BM_PlanetTable);

void BM_RetrogradeMarks(benchmark::State& state) {
    const Birth& birth = BirthAt(4);
    for (auto _ : state) {
        auto retrograde = RetrogradesOnBirthDate(birth);
        benchmark::DoNotOptimize(retrograde.data());
    }
}
BENCHMARK(BM_RetrogradeMarks);

void BM_ExportText(benchmark::State& state) {
    const Reading reading = *ComputeReading(BirthAt(1), Calculation::Classic).reading;
    for (auto _ : state) {
        auto text = ChartExportText(reading);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ExportText);

#if QUILLMERE_HAS_PRECISE
// The whole precise computation (nine bodies with speeds, ayanamsa, ascendant and midheaven) for India's
// independence chart in Delhi. Each pass is a minute later than the last: the library keeps the
// positions of the moment it computed last, and the same moment again would be timed from that cache.
void BM_PrecisePositions(benchmark::State& state) {
    const double jd = precise::JulianDayUT(1947, 8, 14, 18, 30);
    std::size_t i = 0;
    for (auto _ : state) {
        auto result = precise::ComputePrecisePositions(jd + static_cast<double>(i++ % 1440) / 1440.0,
                                                       28.0 + 39.0 / 60.0, 77.0 + 13.0 / 60.0);
        if (!result.positions) {
            state.SkipWithError(precise::PreciseMessage(result).c_str());
            break;
        }
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_PrecisePositions);

// A precise reading of each of the births in turn, and `use` of it.
template <typename Use> void EachPreciseReading(benchmark::State& state, Use use) {
    const auto& births = Births();
    std::size_t i = 0;
    for (auto _ : state) {
        const ReadingResult result =
            ComputeReading(*BirthFromEntry(births[i++ % births.size()]), Calculation::Precise);
        if (!result.reading) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        use(*result.reading);
    }
}

// The whole precise reading, as BM_WholeReading is the whole classic one: the same births, the engine,
// the texts, the house lords from the lagna and the export.
void BM_WholeReadingPrecise(benchmark::State& state) {
    EachPreciseReading(state, [](const Reading& reading) {
        auto text = ChartExportText(reading);
        benchmark::DoNotOptimize(text.data());
    });
}
BENCHMARK(BM_WholeReadingPrecise);

// The precise reading with all that the periods view's pages show of it: every body's sign in the
// sixteen divisional charts (as Print Chart gives them), the ashtakavarga, the panchanga with its
// sunrise and sunset, and the periods to the third level.
void BM_FullReadingPrecise(benchmark::State& state) {
    EachPreciseReading(state, [](const Reading& reading) {
        for (int division : kVargaDivisions)
            for (int slot = 0; slot <= static_cast<int>(BodySlot::Ascendant); ++slot)
                benchmark::DoNotOptimize(VargaSign(division, reading.Longitude(static_cast<BodySlot>(slot))));
        Ashtakavarga ashtakavarga = ComputeAshtakavarga(reading);
        benchmark::DoNotOptimize(&ashtakavarga);
        Panchanga panchanga = ComputePanchanga(reading);
        benchmark::DoNotOptimize(&panchanga);
        for (const MajorPeriod& major : ReadingPeriods(reading))
            for (const Period& sub : major.subPeriods) {
                auto parts = PratyantarPeriods(sub);
                benchmark::DoNotOptimize(parts.data());
            }
        PeriodBalance balance = ReadingBalance(reading);
        benchmark::DoNotOptimize(&balance);
    });
}
BENCHMARK(BM_FullReadingPrecise);

// BM_WholeReadingPrecise with each ayanamsa (in the order of Ayanamsa; the last a user's own) and node
// (0 mean, 1 true).
Conventions BenchConventions(std::int64_t ayanamsa, std::int64_t node) {
    Conventions c;
    c.ayanamsa = static_cast<Ayanamsa>(ayanamsa);
    if (c.ayanamsa == Ayanamsa::User)
        c.user = {23, 51, 11, 2000, 1, 1};
    c.node = node == 1 ? LunarNode::True : LunarNode::Mean;
    return c;
}

void BM_WholeReadingPreciseConventions(benchmark::State& state) {
    const CalculationChoice choice{Calculation::Precise, BenchConventions(state.range(0), state.range(1))};
    const auto& births = Births();
    std::size_t i = 0;
    for (auto _ : state) {
        const ReadingResult result = ComputeReading(*BirthFromEntry(births[i++ % births.size()]), choice);
        if (!result.reading) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        auto text = ChartExportText(*result.reading);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_WholeReadingPreciseConventions)
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<int>(Ayanamsa::User), 1), {0, 1}});

// Two whole readings of each birth, classic and precise (argument 0), and the same compared and written
// as the companion's --compare writes them (argument 1).
void BM_CompareReadings(benchmark::State& state) {
    const auto& births = Births();
    std::size_t i = 0;
    for (auto _ : state) {
        const Birth birth = *BirthFromEntry(births[i++ % births.size()]);
        const ReadingResult a = ComputeReading(birth, Calculation::Classic);
        const ReadingResult b = ComputeReading(birth, Calculation::Precise);
        auto text = ChartExportText(*a.reading) + ChartExportText(*b.reading);
        if (state.range(0) == 1)
            text += ComparisonLines(CompareReadings(*a.reading, *b.reading, 29000000.0));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_CompareReadings)->Arg(0)->Arg(1);

// The comparison alone, of the two readings of one birth.
void BM_ComparisonAlone(benchmark::State& state) {
    const Reading a = *ComputeReading(BirthAt(1), Calculation::Classic).reading;
    const Reading b = *ComputeReading(BirthAt(1), Calculation::Precise).reading;
    for (auto _ : state) {
        auto text = ComparisonLines(CompareReadings(a, b, 29000000.0));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ComparisonAlone);
#endif

} // namespace

BENCHMARK_MAIN();
