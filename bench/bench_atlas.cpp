// SPDX-License-Identifier: AGPL-3.0-or-later
// Speed of the atlas of places: loading the file the program ships, and the searches of a City field
// as it is typed. The memory a loaded atlas adds is shown as the counter AddedMB (VmRSS before and
// after one load). The atlas is the one beside the benchmark, or QUILLMERE_ATLAS.
#include "atlas/Atlas.h"
#include "formats/DataFiles.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string AtlasPath() {
    return FindDataFile(atlas::kAtlasFileName, "QUILLMERE_ATLAS", {QUILLMERE_BENCH_FOLDER});
}

atlas::Atlas LoadOrThrow() {
    std::string error;
    std::optional<atlas::Atlas> loaded = atlas::Atlas::Load(AtlasPath(), error);
    if (!loaded)
        throw std::runtime_error(error);
    return std::move(*loaded);
}

// Resident memory of this process in kB, from /proc/self/status; 0 where there is none.
long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

void BM_LoadAtlas(benchmark::State& state) {
    for (auto _ : state) {
        atlas::Atlas places = LoadOrThrow();
        benchmark::DoNotOptimize(places.Size());
    }
}
BENCHMARK(BM_LoadAtlas)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

// What a City field holds as a name is typed: two to four letters, with and without accents, and
// "City, Country" or "City, State"; a former name, and a name with a comma of its own (searched twice).
const std::vector<std::string>& Queries() {
    static const std::vector<std::string> queries{
        "sa",
        "san",
        "sant",
        "ba",
        "bad",
        "ne",
        "new",
        "new y",
        "lo",
        "lon",
        "lond",
        "pa",
        "par",
        "pari",
        "mu",
        "mün",
        "ka",
        "kat",
        "de",
        "del",
        "ch",
        "che",
        "sy",
        "syd",
        "sã",
        "são",
        "ho",
        "ło",
        "ko",
        "köl",
        "br",
        "bri",
        "zz",
        "qq",
        "Paris, Fra",
        "Paris, Texas",
        "London, Canada",
        "Delhi, India",
        "San, Mexico",
        "Springfield, United States",
        "Santa, Bra",
        "Kent, Aus",
        "Al, Ir",
        "bomb",
        "Basford, Stoke",
    };
    return queries;
}

// The atlas the searches use, loaded once before any benchmark runs, so that the memory it adds is
// measured on a fresh heap.
const atlas::Atlas* g_places = nullptr;
double g_addedMegabytes = 0.0;

void BM_SearchPrefixes(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g_places->Search(Queries()[i]));
        i = (i + 1) % Queries().size();
    }
    state.counters["AddedMB"] = g_addedMegabytes;
    state.counters["Places"] = static_cast<double>(g_places->Size());
}
BENCHMARK(BM_SearchPrefixes)->Unit(benchmark::kMicrosecond);

// Each query alone (registered in main), for the median and the slowest.
void BM_SearchOne(benchmark::State& state, const std::string& query) {
    for (auto _ : state)
        benchmark::DoNotOptimize(g_places->Search(query));
}

} // namespace

int main(int argc, char** argv) {
    const long before = ResidentKilobytes();
    const atlas::Atlas places = LoadOrThrow();
    g_addedMegabytes = static_cast<double>(ResidentKilobytes() - before) / 1024.0;
    g_places = &places;
    // One letter, the worst case, matches tens of thousands of places.
    std::vector<std::string> each = Queries();
    each.insert(each.end(), {"a", "m", "s"});
    for (const std::string& query : each)
        benchmark::RegisterBenchmark(("BM_SearchOne/" + query).c_str(), BM_SearchOne, query)
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
