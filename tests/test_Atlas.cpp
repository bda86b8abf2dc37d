// SPDX-License-Identifier: AGPL-3.0-or-later
// The atlas of birth places: folding names to field text, reading the places file (and refusing a
// damaged one), the search, the committed data, and the companion's --places.
#include "atlas/Atlas.h"
#include "atlas/FieldText.h"
#include "tools/ChartCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The largest block asked of operator new while watching: a reservation sized from a damaged file
// shows here before it could exhaust the memory of a smaller machine.
std::atomic<bool> gWatching{false};
std::atomic<std::size_t> gLargest{0};

} // namespace

// Kept out of line, so that the compiler does not take the pairs for a mismatch of new and free.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (gWatching.load(std::memory_order_relaxed) && size > gLargest.load(std::memory_order_relaxed))
        gLargest.store(size, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

constexpr const char* kColumns = "name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\tother names\n";

// An atlas file of these place lines: a comment, the number of places and the columns.
std::string AtlasText(const std::string& places) {
    return "# a small atlas\nplaces\t" + std::to_string(std::count(places.begin(), places.end(), '\n')) +
           "\n" + kColumns + places;
}

// The places of the search tests; the file order is not the order of any expected answer.
std::string FixtureText() {
    std::string places =
        "Vila Nova\t\tPortugal\t41.0000\t-8.0000\t0\tEurope/Lisbon\t\n"
        "São Paulo\tLisbon\tPortugal\t38.7125\t-9.1431\t0\tEurope/Lisbon\t\n"
        "São Pedro\tSão Paulo\tBrazil\t-22.5483\t-47.9139\t28000\tAmerica/Sao_Paulo\t\n"
        "São Paulo\tSão Paulo\tBrazil\t-23.5475\t-46.6361\t10021295\tAmerica/Sao_Paulo\tSAO "
        "PAULO|Sampa\n"
        "Vila Alva\t\tPortugal\t38.2000\t-7.9000\t0\tEurope/Lisbon\t\n"
        "Munich\tBavaria\tGermany\t48.1374\t11.5755\t1260391\tEurope/Berlin\tMünchen|Muenchen|"
        "Monaco di Baviera|Мюнхен\n"
        "Paris\tKentucky\tUnited States\t38.2098\t-84.2530\t9870\tAmerica/New_York\t\n"
        "Paris\tTexas\tUnited States\t33.6609\t-95.5555\t24782\tAmerica/Chicago\t\n"
        "Parisot\tOccitanie\tFrance\t44.2667\t1.8500\t0\tEurope/Paris\t\n"
        "Paris\tÎle-de-France\tFrance\t48.8534\t2.3488\t2138551\tEurope/Paris\tLutetia\n"
        "Paris\tOntario\tCanada\t43.2000\t-80.3833\t11177\tAmerica/Toronto\t\n"
        "Łódź\tŁódź Voivodeship\tPoland\t51.7706\t19.4740\t768755\tEurope/Warsaw\t\n"
        "Mumbai\tMaharashtra\tIndia\t19.0728\t72.8826\t12691836\tAsia/Kolkata\tBombay|Bombaim\n"
        "Bombay Beach\tCalifornia\tUnited States\t33.3508\t-115.7294\t231\tAmerica/Los_Angeles\t\n"
        "Calcutta\tOhio\tUnited States\t40.6734\t-80.5764\t3742\tAmerica/New_York\t\n"
        "Kolkata\tWest Bengal\tIndia\t22.5626\t88.3630\t4631392\tAsia/Kolkata\tCalcutta\n"
        "Beersel\tFlanders\tBelgium\t50.7659\t4.3077\t23228\tEurope/Brussels\t\n"
        "Beerse\tFlanders\tBelgium\t51.3193\t4.8530\t16208\tEurope/Brussels\t\n"
        "Dale\tIndiana\tUnited States\t38.1689\t-86.9900\t1542\tAmerica/Chicago\t\n"
        "Daleville\tIndiana\tUnited States\t40.1211\t-85.5580\t1608\tAmerica/Indiana/Indianapolis\t\n"
        "Dale\tVestland\tNorway\t60.5864\t5.8189\t1167\tEurope/Oslo\t\n"
        "Singapore\t\tSingapore\t1.2897\t103.8501\t3547809\tAsia/Singapore\t\n"
        "Basford, Stoke-on-Trent\tEngland\tUnited Kingdom\t53.0167\t-2.2000\t7321\tEurope/London\t\n"
        "İstanbul\tIstanbul\tTürkiye\t41.0138\t28.9497\t14804116\tEurope/Istanbul\t\n"
        "İzmir\tİzmir\tTürkiye\t38.4127\t27.1384\t2500603\tEurope/Istanbul\t\n";
    // Countries, one of whose names begins the other's.
    places += "Birni\t\tNiger\t13.8000\t5.2500\t10000\tAfrica/Lagos\t\n"
              "Birni\tKano\tNigeria\t11.9900\t8.5200\t50000\tAfrica/Lagos\t\n";
    // More towns of one name than either list shows.
    for (int k = 1; k <= 25; ++k)
        places += "Kent Town\tState " + std::to_string(k) + "\tAustralia\t-34.9\t138.6\t" +
                  std::to_string(1000 + k) + "\tAustralia/Adelaide\t\n";
    return AtlasText(places);
}

class TempDir {
  public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("qlm-atlas-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string file = (path_ / name).string();
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

// QUILLMERE_ATLAS for one test, restored afterwards.
class AtlasVariable {
  public:
    explicit AtlasVariable(const char* value) {
        if (const char* old = std::getenv("QUILLMERE_ATLAS"))
            old_ = old;
        if (value)
            ::setenv("QUILLMERE_ATLAS", value, 1);
        else
            ::unsetenv("QUILLMERE_ATLAS");
    }
    ~AtlasVariable() {
        if (old_)
            ::setenv("QUILLMERE_ATLAS", old_->c_str(), 1);
        else
            ::unsetenv("QUILLMERE_ATLAS");
    }

  private:
    std::optional<std::string> old_;
};

std::vector<std::string> Captions(const std::vector<const atlas::Place*>& places) {
    std::vector<std::string> captions;
    for (const atlas::Place* place : places)
        captions.push_back(atlas::PlaceCaption(*place));
    return captions;
}

const atlas::Atlas& Committed() {
    static const std::optional<atlas::Atlas> loaded = [] {
        std::string error;
        auto a = atlas::Atlas::Load(QUILLMERE_SOURCE_DIR "/atlas/data/quillmere-atlas.tsv", error);
        EXPECT_TRUE(a) << error;
        return a;
    }();
    if (!loaded)
        throw std::runtime_error("the committed atlas did not load");
    return *loaded;
}

} // namespace

TEST(FieldText, FoldsNamesToWhatTheLetterFieldsTake) {
    const struct {
        std::string in, field, match;
    } cases[] = {
        {"São Paulo", "Sao Paulo", "sao paulo"},
        {"Saint-Denis", "Saint Denis", "saint denis"},
        {"Martha's Vineyard", "Marthas Vineyard", "marthas vineyard"},
        {"Martha’s Vineyard", "Marthas Vineyard", "marthas vineyard"},
        {"Łódź", "Lodz", "lodz"},
        {"Hồ Chí Minh", "Ho Chi Minh", "ho chi minh"},
        {"Köln", "Koln", "koln"},
        {"Straße", "Strasse", "strasse"},
        {"  St.   Louis  ", "St Louis", "st louis"},
        {"Zone 7 北京 East", "Zone East", "zone east"},
        {"Bad\xC3 Byte", "Bad Byte", "bad byte"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(atlas::FoldToFieldText(c.in), c.field) << c.in;
        EXPECT_EQ(atlas::FoldForMatch(c.in), c.match) << c.in;
    }
    // Cut to the field's 100 characters, with no blank left at the cut.
    EXPECT_EQ(atlas::FoldToFieldText(std::string(99, 'a') + " b"), std::string(99, 'a'));
    EXPECT_EQ(atlas::FoldToFieldText(std::string(150, 'e')).size(), 100u);
    EXPECT_EQ(atlas::FoldToFieldText("Ééé", 2), "Ee");
}

TEST(AtlasLoad, RefusesADamagedFileNamingTheLine) {
    const std::string count = "places\t1\n";
    const std::string head = "# comment\n" + count + kColumns; // lines 1 to 3
    const std::string good = "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\tDilli\n";
    const struct {
        std::string bytes;
        int line;
    } cases[] = {
        {"", 1},
        {kColumns, 1}, // no number of places
        {"# only a comment\n", 2},
        {count, 2},
        {count + good, 2}, // no column line
        {count + "# comment\n" + kColumns + good, 2},
        {"places\t0\n" + std::string(kColumns), 1},
        {"places\t01\n" + std::string(kColumns) + good, 1},
        {"places\t-1\n" + std::string(kColumns) + good, 1},
        {"places\t1x\n" + std::string(kColumns) + good, 1},
        {"places\t1\nplaces\t1\n" + std::string(kColumns) + good, 2},
        {head + good + good, 5}, // more places than the head gives
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\tx\ty\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\tDil\xC3\n", 4},
        {head + "\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\t\t28.6519\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Del\xC3\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t90.0001\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t-180.5\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\tnan\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t2e1\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t 28.6\t77.2315\t10927986\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t-5\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t12a\tAsia/Kolkata\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\t\t\n", 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/New Delhi\t\n", 4},
        {head + good.substr(0, good.size() - 1), 4}, // cut inside a line
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string file = dir.Write("atlas.tsv", c.bytes);
        std::string error;
        EXPECT_FALSE(atlas::Atlas::Load(file, error)) << c.bytes;
        EXPECT_EQ(error, "The atlas of places is damaged (line " + std::to_string(c.line) + ").") << c.bytes;
    }
    // Cut at a line end, even right after the head: the number of places tells.
    const std::string three = "# comment\nplaces\t3\n" + std::string(kColumns);
    for (const auto& [bytes, found] : {std::pair{three + good + good, 2}, std::pair{three, 0}}) {
        std::string error;
        EXPECT_FALSE(atlas::Atlas::Load(dir.Write("short.tsv", bytes), error));
        EXPECT_EQ(error, "The atlas of places is cut short: it holds " + std::to_string(found) +
                             " of its 3 places.");
    }
    // Windows line ends are no damage, and the extremes are places.
    std::string error;
    const auto crlf = atlas::Atlas::Load(
        dir.Write("crlf.tsv",
                  "places\t1\r\nname\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\tother names\r\n"
                  "Pole\t\tNowhere\t-90\t180.0\t0\tEtc/GMT-12\tSouth Pole\r\n"),
        error);
    ASSERT_TRUE(crlf) << error;
    ASSERT_EQ(crlf->Size(), 1u);
    const atlas::Place& pole = *crlf->Search("pole").at(0);
    EXPECT_EQ(pole.zone, "Etc/GMT-12");
    EXPECT_EQ(pole.latitude, -90.0);
    EXPECT_EQ(crlf->Search("south pole").at(0), &pole);
}

// A file of line ends, bare or after a head promising many places, is damaged at its first line that
// is not a place; nothing is reserved for the lines first (a block per line would be 90 MB here, and
// tens of gigabytes for the largest file taken).
TEST(AtlasLoad, AFileOfLineEndsIsRefusedWithoutReservingForItsLines) {
    const std::string ends(1u << 20, '\n');
    const struct {
        std::string bytes;
        int line;
    } cases[] = {
        {ends, 1},
        {"places\t999999999\n" + std::string(kColumns) + ends, 3},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string file = dir.Write("ends.tsv", c.bytes);
        std::string error;
        gLargest = 0;
        gWatching = true;
        const bool loaded = atlas::Atlas::Load(file, error).has_value();
        gWatching = false;
        EXPECT_FALSE(loaded);
        EXPECT_EQ(error, "The atlas of places is damaged (line " + std::to_string(c.line) + ").");
        EXPECT_LE(gLargest.load(), 2 * c.bytes.size()) << c.line;
    }
}

TEST(AtlasLoad, RefusesWhatIsNoReadableFile) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.tsv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path, message;
    } cases[] = {
        {dir.File("missing.tsv"), ": " + dir.File("missing.tsv") + ": No such file or directory."},
        {dir.File(""), ": " + dir.File("") + " is not a regular file."},
        // A pipe would never end: it is refused without being opened.
        {fifo, ": " + fifo + " is not a regular file."},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(atlas::Atlas::Load(c.path, error));
        EXPECT_EQ(error, "The atlas of places could not be read" + c.message);
    }
}

TEST(AtlasSearch, PrefixesOfCityStateAndCountryExactNamesFirstThenMostPopulous) {
    TempDir dir;
    std::string error;
    const auto places = atlas::Atlas::Load(dir.Write("atlas.tsv", FixtureText()), error);
    ASSERT_TRUE(places) << error;
    EXPECT_EQ(places->Size(), 52u);
    using V = std::vector<std::string>;
    const struct {
        std::string query;
        std::size_t limit;
        V expected;
    } cases[] = {
        {"sao p", 15, {"São Paulo, Brazil", "São Pedro, São Paulo, Brazil", "São Paulo, Lisbon, Portugal"}},
        {"SÃO PAULO", 15, {"São Paulo, Brazil", "São Paulo, Lisbon, Portugal"}},
        {"lodz", 15, {"Łódź, Łódź Voivodeship, Poland"}},
        {"Paris",
         15,
         {"Paris, Île-de-France, France", "Paris, Texas, United States", "Paris, Ontario, Canada",
          "Paris, Kentucky, United States", "Parisot, Occitanie, France"}},
        {"Paris", 2, {"Paris, Île-de-France, France", "Paris, Texas, United States"}},
        {"Paris, United States", 15, {"Paris, Texas, United States", "Paris, Kentucky, United States"}},
        {"paris, fr", 15, {"Paris, Île-de-France, France", "Parisot, Occitanie, France"}},
        {"paris, tex", 15, {"Paris, Texas, United States"}},
        {"paris,ontario,canada", 15, {"Paris, Ontario, Canada"}},
        {"paris, , united", 15, {"Paris, Texas, United States", "Paris, Kentucky, United States"}},
        {"paris, texas, france", 15, {}},
        {"paris, usa", 15, {}},
        {"vila", 15, {"Vila Alva, Portugal", "Vila Nova, Portugal"}}, // equal populations: by name
        {"s", 1, {"São Paulo, Brazil"}},
        {"paris", 0, {}},
        {"", 15, {}},
        {" , France", 15, {}},
        {"nowhere", 15, {}},
        {"a, b, c, d", 15, {}},
        // An exact name before a longer one, however populous; the population within each.
        {"Beerse", 15, {"Beerse, Flanders, Belgium", "Beersel, Flanders, Belgium"}},
        {"Beerse, Flanders, Belgium", 15, {"Beerse, Flanders, Belgium", "Beersel, Flanders, Belgium"}},
        {"dale",
         15,
         {"Dale, Indiana, United States", "Dale, Vestland, Norway", "Daleville, Indiana, United States"}},
        {"Dale, Indiana", 15, {"Dale, Indiana, United States", "Daleville, Indiana, United States"}},
        {"Dale, ind", 15, {"Dale, Indiana, United States", "Daleville, Indiana, United States"}},
        // The country given in full before one it only begins with ("Niger", "Nigeria").
        {"birni", 15, {"Birni, Kano, Nigeria", "Birni, Niger"}},
        {"birni, niger", 15, {"Birni, Niger", "Birni, Kano, Nigeria"}},
        // Other names find the place, shown under its own name; they rank as its name would.
        {"munchen", 15, {"Munich, Bavaria, Germany"}},
        {"MÜNCHEN", 15, {"Munich, Bavaria, Germany"}},
        {"monaco", 15, {"Munich, Bavaria, Germany"}},
        {"sampa", 15, {"São Paulo, Brazil"}},
        {"Bombay", 15, {"Mumbai, Maharashtra, India", "Bombay Beach, California, United States"}},
        {"bomba", 15, {"Mumbai, Maharashtra, India", "Bombay Beach, California, United States"}},
        {"Calcutta", 15, {"Kolkata, West Bengal, India", "Calcutta, Ohio, United States"}},
        {"Calcutta, Ohio", 15, {"Calcutta, Ohio, United States"}},
        {"Calcutta, India", 15, {"Kolkata, West Bengal, India"}},
        {"lutetia, texas", 15, {}},
        // Commas of a name of its own, when the parts find nothing otherwise.
        {"Basford, Stoke-on-Trent", 15, {"Basford, Stoke-on-Trent, England, United Kingdom"}},
        {"basford, stoke on trent, united kingdom", 15, {"Basford, Stoke-on-Trent, England, United Kingdom"}},
        {"Basford, England", 15, {"Basford, Stoke-on-Trent, England, United Kingdom"}},
        {"istanbul", 15, {"İstanbul, Istanbul, Türkiye"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Captions(places->Search(c.query, c.limit)), c.expected) << c.query << " / " << c.limit;
    // More matches than the limit: the most populous, by the default limit.
    const auto kent = places->Search("kent");
    ASSERT_EQ(kent.size(), 15u);
    EXPECT_EQ(kent.front()->population, 1025);
    EXPECT_EQ(kent.back()->population, 1011);

    const atlas::Place& saoPaulo = *places->Search("sao paulo, brazil").at(0);
    EXPECT_EQ(saoPaulo.zone, "America/Sao_Paulo");
    EXPECT_DOUBLE_EQ(saoPaulo.latitude, -23.5475);
    EXPECT_DOUBLE_EQ(saoPaulo.longitude, -46.6361);
    EXPECT_EQ(saoPaulo.population, 10021295);
}

// A Turkish locale lowers 'I' to dotless 'ı', which std::tolower cannot give: it keeps 'I', and no
// typed "i" would meet a name with an "I" in it. The locale is compiled into a temporary folder
// where it is not installed.
TEST(AtlasSearch, CaseIsFoldedWhateverTheLocale) {
    TempDir dir;
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* turkish = std::setlocale(LC_ALL, "tr_TR.UTF-8");
    if (!turkish && std::system(("localedef -i tr_TR -f UTF-8 '" + dir.File("tr_TR.UTF-8") + "' > '" +
                                 dir.File("localedef.txt") + "' 2>&1")
                                    .c_str()) == 0) {
        ::setenv("LOCPATH", dir.File("").c_str(), 1);
        turkish = std::setlocale(LC_ALL, "tr_TR.UTF-8");
        ::unsetenv("LOCPATH");
    }
    if (!turkish)
        GTEST_SKIP() << "no Turkish locale, and localedef could not make one";
    // Through volatiles: the compiler takes std::tolower to lower as the C locale does, and would fold
    // the comparison.
    volatile int capitalI = 'I';
    volatile int lowered = std::tolower(capitalI);
    const bool keepsCapitalI = lowered == 'I';
    std::string error;
    const auto places = atlas::Atlas::Load(dir.Write("atlas.tsv", FixtureText()), error);
    std::vector<std::string> found[3];
    if (places) {
        found[0] = Captions(places->Search("istanbul"));
        found[1] = Captions(places->Search("IZMIR"));
        found[2] = Captions(places->Search("i", 2));
    }
    const std::string folded = atlas::FoldForMatch("İSTANBUL Izmir");
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_TRUE(keepsCapitalI) << "the locale does not show the fault";
    ASSERT_TRUE(places) << error;
    EXPECT_EQ(folded, "istanbul izmir");
    EXPECT_EQ(found[0], std::vector<std::string>{"İstanbul, Istanbul, Türkiye"});
    EXPECT_EQ(found[1], std::vector<std::string>{"İzmir, Türkiye"});
    EXPECT_EQ(found[2], (std::vector<std::string>{"İstanbul, Istanbul, Türkiye", "İzmir, Türkiye"}));
}

TEST(AtlasSearch, PlacesStayValidWhenTheAtlasMoves) {
    TempDir dir;
    std::string error;
    auto loaded = atlas::Atlas::Load(dir.Write("atlas.tsv", FixtureText()), error);
    ASSERT_TRUE(loaded) << error;
    const atlas::Place* before = loaded->Search("munchen").at(0);
    const atlas::Atlas moved = std::move(*loaded);
    loaded.reset();
    EXPECT_EQ(moved.Search("munchen").at(0), before);
    EXPECT_EQ(atlas::PlaceCaption(*before), "Munich, Bavaria, Germany");
}

// The form requires a state; a city-state has none in the atlas and gives its country's name.
TEST(AtlasFields, TheStateFieldTakesTheCountryWhereThereIsNoState) {
    const struct {
        std::string_view state, country;
        std::string expected;
    } cases[] = {
        {"São Paulo", "Brazil", "Sao Paulo"},
        {"", "Singapore", "Singapore"},
        {"", "Côte d’Ivoire", "Cote dIvoire"},
        {"Москва", "Russia", "Russia"}, // a state in no letters the field takes
    };
    for (const auto& c : cases) {
        atlas::Place place;
        place.name = "Somewhere";
        place.state = c.state;
        place.country = c.country;
        EXPECT_EQ(atlas::StateFieldText(place), c.expected) << c.country;
    }
}

// The data shipped with the program, against coordinates and zones known independently of it.
TEST(AtlasData, FamousPlacesWhereTheyAre) {
    const atlas::Atlas& places = Committed();
    EXPECT_GE(places.Size(), 130000u);
    EXPECT_LE(places.Size(), 175000u);
    const struct {
        std::string query, name, country;
        double latitude, longitude;
        std::string zone;
    } cases[] = {
        {"Delhi", "Delhi", "India", 28.65, 77.23, "Asia/Kolkata"},
        {"London", "London", "United Kingdom", 51.51, -0.13, "Europe/London"},
        {"Kathmandu", "Kathmandu", "Nepal", 27.70, 85.32, "Asia/Kathmandu"},
        {"Sydney", "Sydney", "Australia", -33.87, 151.21, "Australia/Sydney"},
        {"sao p", "São Paulo", "Brazil", -23.55, -46.63, "America/Sao_Paulo"},
        {"Paris", "Paris", "France", 48.86, 2.35, "Europe/Paris"},
        {"Paris, United States", "Paris", "United States", 33.66, -95.56, "America/Chicago"}, // Texas
        {"New York", "New York City", "United States", 40.71, -74.01, "America/New_York"},
        {"Chennai", "Chennai", "India", 13.08, 80.27, "Asia/Kolkata"},
        {"Reykjavik", "Reykjavík", "Iceland", 64.15, -21.94, "Atlantic/Reykjavik"},
    };
    for (const auto& c : cases) {
        const auto found = places.Search(c.query, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        const atlas::Place& p = *found[0];
        EXPECT_EQ(p.name, c.name) << c.query;
        EXPECT_EQ(p.country, c.country) << c.query;
        EXPECT_NEAR(p.latitude, c.latitude, 0.1) << c.query;
        EXPECT_NEAR(p.longitude, c.longitude, 0.1) << c.query;
        EXPECT_EQ(p.zone, c.zone) << c.query;
    }
}

// Former and local names, exact names among longer ones, and places in border country: the zone the
// tz database gives the place's own region, not the neighbour's across the border.
TEST(AtlasData, OldNamesExactNamesAndZonesNearBorders) {
    const atlas::Atlas& places = Committed();
    const struct {
        std::string query, caption, zone;
    } cases[] = {
        {"Bombay", "Mumbai, Maharashtra, India", "Asia/Kolkata"},
        {"Calcutta", "Kolkata, West Bengal, India", "Asia/Kolkata"},
        {"Madras", "Chennai, Tamil Nadu, India", "Asia/Kolkata"},
        {"Bangalore", "Bengaluru, Karnataka, India", "Asia/Kolkata"},
        {"Mysore", "Mysuru, Karnataka, India", "Asia/Kolkata"},
        {"Saigon", "Ho Chi Minh City, Ho Chi Minh City (HCMC), Vietnam", "Asia/Ho_Chi_Minh"},
        {"Peking", "Beijing, China", "Asia/Shanghai"},
        {"München", "Munich, Bavaria, Germany", "Europe/Berlin"},
        {"Beerse, Flanders, Belgium", "Beerse, Flanders, Belgium", "Europe/Brussels"},
        {"Dale, Indiana", "Dale, Indiana, United States", ""},
        {"As, Flanders", "As, Flanders, Belgium", "Europe/Brussels"},
        {"Alanje", "Alanje, Chiriquí Province, Panama", "America/Panama"},
        {"Bahadurganj, Bihar", "Bahādurganj, Bihar, India", "Asia/Kolkata"},
        {"Abbaspur, Jammu", "Abbaspur, Jammu and Kashmir, India", "Asia/Kolkata"},
        {"Singapore", "Singapore, Singapore", "Asia/Singapore"},
        // Names GeoNames dropped when it moved the renamed place. Faizabad is the own name of an Afghan
        // village of unknown population and an other name of the Indian city, a hundred times larger.
        {"Allahabad", "Prayagraj, Uttar Pradesh, India", "Asia/Kolkata"},
        {"Nasik", "Nashik, Maharashtra, India", ""},
        {"Gauhati", "Guwahati, Assam, India", ""},
        {"Vizag", "Visakhapatnam, Andhra Pradesh, India", ""},
        {"Faizabad", "Fyzābād, Uttar Pradesh, India", ""},
        {"Tuticorin", "Thoothukudi, Tamil Nadu, India", ""}, // from the generator's own table
        // A place's own name before another's other name: Hong Kong and Paulo Afonso bear these too.
        {"Victoria", "Victoria, British Columbia, Canada", ""},
        {"Barra, Bahia, Brazil", "Barra, Bahia, Brazil", ""},
    };
    for (const auto& c : cases) {
        const auto found = places.Search(c.query, 1);
        ASSERT_EQ(found.size(), 1u) << c.query;
        EXPECT_EQ(atlas::PlaceCaption(*found[0]), c.caption) << c.query;
        if (!c.zone.empty()) {
            EXPECT_EQ(found[0]->zone, c.zone) << c.query;
        }
    }
}

// Every place typed as the atlas spells it ("Name, State, Country") finds that place first, not one
// of whose other names it is. Places whose captions fold alike are one answer to whoever types them.
TEST(AtlasData, EveryPlaceTypedAsTheAtlasSpellsItComesFirst) {
    const atlas::Atlas& places = Committed();
    std::ifstream in(QUILLMERE_SOURCE_DIR "/atlas/data/quillmere-atlas.tsv");
    ASSERT_TRUE(in);
    std::size_t checked = 0;
    std::vector<std::string> lost;
    bool columnsSeen = false;
    for (std::string line; std::getline(in, line);) {
        if (!columnsSeen) {
            columnsSeen = line.starts_with("name\t");
            continue;
        }
        std::istringstream fields(line);
        std::string name, state, country;
        std::getline(fields, name, '\t');
        std::getline(fields, state, '\t');
        std::getline(fields, country, '\t');
        std::string caption = name;
        if (!state.empty() && state != name)
            caption += ", " + state;
        caption += ", " + country;
        const auto found = places.Search(caption, 1);
        ++checked;
        if (found.empty() ||
            atlas::FoldForMatch(atlas::PlaceCaption(*found[0])) != atlas::FoldForMatch(caption))
            lost.push_back(caption + " -> " + (found.empty() ? "nothing" : atlas::PlaceCaption(*found[0])));
    }
    EXPECT_EQ(checked, places.Size());
    std::string some;
    for (std::size_t i = 0; i < lost.size() && i < 5; ++i)
        some += lost[i] + "; ";
    EXPECT_EQ(lost.size(), 0u) << some;
}

// Every place has a name the form's City field takes, and a zone of its own country's, as the tz
// database on this machine lists them (zone.tab, and zone1970.tab for zones that serve several
// countries). The atlas names a country, not its code: some code must hold every zone that the places
// of one country name carry.
TEST(AtlasData, EveryPlaceHasANameInLettersAndAZoneOfItsOwnCountry) {
    std::map<std::string, std::set<std::string>> zonesOfCode;
    for (const char* table : {"/usr/share/zoneinfo/zone.tab", "/usr/share/zoneinfo/zone1970.tab"}) {
        std::ifstream in(table);
        if (!in)
            GTEST_SKIP() << table << " is missing (tzdata)";
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#')
                continue;
            std::istringstream fields(line);
            std::string codes, where, zone;
            std::getline(fields, codes, '\t');
            std::getline(fields, where, '\t');
            std::getline(fields, zone, '\t');
            std::istringstream each(codes);
            for (std::string code; std::getline(each, code, ',');)
                zonesOfCode[code].insert(zone);
        }
    }
    std::map<std::string, std::map<std::string, int>> zonesOfCountry; // places by zone
    std::ifstream in(QUILLMERE_SOURCE_DIR "/atlas/data/quillmere-atlas.tsv");
    ASSERT_TRUE(in);
    bool columnsSeen = false;
    std::size_t count = 0;
    for (std::string line; std::getline(in, line);) {
        if (!columnsSeen) {
            columnsSeen = line.starts_with("name\t");
            continue;
        }
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string f; std::getline(split, f, '\t');)
            fields.push_back(f);
        ASSERT_GE(fields.size(), 7u) << line;
        EXPECT_NE(atlas::FoldToFieldText(fields[0]), "") << line;
        ++zonesOfCountry[fields[2]][fields[6]];
        ++count;
    }
    EXPECT_EQ(count, Committed().Size());
    for (const auto& [country, zones] : zonesOfCountry) {
        // The code that holds most of the country's zones, and what it lacks.
        std::string lacking = "no code";
        std::size_t fewest = zones.size() + 1;
        for (const auto& [code, own] : zonesOfCode) {
            std::string missing;
            std::size_t n = 0;
            for (const auto& [zone, places] : zones)
                if (!own.contains(zone)) {
                    ++n;
                    missing += " " + zone + " (" + std::to_string(places) + " places)";
                }
            if (n < fewest) {
                fewest = n;
                lacking = code + " lacks" + missing;
            }
        }
        EXPECT_EQ(fewest, 0u) << country << ": " << lacking;
    }
}

// ---------------------------------------------------------------- the companion's --places

namespace {

struct CompanionRun {
    int status;
    std::string out, err;
};

CompanionRun Companion(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunChartCommand(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(ChartCommandPlaces, ListsMatchesOneALineOrSaysWhyNot) {
    TempDir dir;
    AtlasVariable variable(dir.Write("atlas.tsv", FixtureText()).c_str());

    CompanionRun r = Companion({"--places", "Paris, United States"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Paris\tTexas\tUnited States\t33.6609\t-95.5555\tAmerica/Chicago\t24782\n"
                     "Paris\tKentucky\tUnited States\t38.2098\t-84.2530\tAmerica/New_York\t9870\n");
    EXPECT_EQ(r.err, "");

    r = Companion({"--places", "sao paulo"});
    EXPECT_EQ(r.out, "São Paulo\tSão Paulo\tBrazil\t-23.5475\t-46.6361\tAmerica/Sao_Paulo\t10021295\n"
                     "São Paulo\tLisbon\tPortugal\t38.7125\t-9.1431\tEurope/Lisbon\t0\n");

    r = Companion({"--places", "kent"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 20);

    r = Companion({"--places", "Atlantis"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "No place matches Atlantis.\n");

    r = Companion({"--places"});
    EXPECT_EQ(r.status, 2);

    const std::string missing = dir.File("none.tsv");
    AtlasVariable none(missing.c_str());
    r = Companion({"--places", "Paris"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "--places: The atlas of places could not be read: " + missing +
                         ": No such file or directory.\n");
}

TEST(ChartCommandPlaces, ACityStateFillsTheStateWithItsCountry) {
    TempDir dir;
    AtlasVariable variable(dir.Write("atlas.tsv", FixtureText()).c_str());
    const CompanionRun r =
        Companion({"--name", "X", "--place", "Singapore", "--date", "1990-01-01", "--time", "12:00"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("State: Singapore\r\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Country: Singapore\r\n"), std::string::npos) << r.out;
}

TEST(ChartCommandPlaces, TheCompanionFindsTheAtlasBesideItself) {
    TempDir dir;
    // Run from another folder, so that only the companion's own folder can lead to the atlas.
    const std::string command = "cd '" + dir.File("") +
                                "' && env -u QUILLMERE_ATLAS " QUILLMERE_CHART_EXE
                                " --places Kathmandu > out.txt 2> err.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(dir.File("out.txt"));
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.substr(0, first.find('\t')), "Kathmandu");
    EXPECT_NE(first.find("\tNepal\t27.7017\t85.3206\tAsia/Kathmandu\t"), std::string::npos) << first;
}
