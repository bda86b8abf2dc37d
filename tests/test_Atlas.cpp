// The atlas of birth places: folding names to field text, reading the places file (and refusing a
// damaged one), the search, the committed data, and the companion's --places.
#include "atlas/Atlas.h"
#include "atlas/FieldText.h"
#include "tools/ChartCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kColumns = "name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\n";

// The places of the search tests; the file order is not the order of any expected answer.
std::string FixtureText() {
    std::string text = std::string("# a small atlas\n") + kColumns +
                       "Vila Nova\t\tPortugal\t41.0000\t-8.0000\t0\tEurope/Lisbon\n"
                       "São Paulo\tLisbon\tPortugal\t38.7125\t-9.1431\t0\tEurope/Lisbon\n"
                       "São Pedro\tSão Paulo\tBrazil\t-22.5483\t-47.9139\t28000\tAmerica/Sao_Paulo\n"
                       "São Paulo\tSão Paulo\tBrazil\t-23.5475\t-46.6361\t10021295\tAmerica/Sao_Paulo\n"
                       "Vila Alva\t\tPortugal\t38.2000\t-7.9000\t0\tEurope/Lisbon\n"
                       "München\tBavaria\tGermany\t48.1374\t11.5755\t1260391\tEurope/Berlin\n"
                       "Paris\tKentucky\tUnited States\t38.2098\t-84.2530\t9870\tAmerica/New_York\n"
                       "Paris\tTexas\tUnited States\t33.6609\t-95.5555\t24782\tAmerica/Chicago\n"
                       "Parisot\tOccitanie\tFrance\t44.2667\t1.8500\t0\tEurope/Paris\n"
                       "Paris\tÎle-de-France\tFrance\t48.8534\t2.3488\t2138551\tEurope/Paris\n"
                       "Paris\tOntario\tCanada\t43.2000\t-80.3833\t11177\tAmerica/Toronto\n"
                       "Łódź\tŁódź Voivodeship\tPoland\t51.7706\t19.4740\t768755\tEurope/Warsaw\n";
    // More towns of one name than either list shows.
    for (int k = 1; k <= 25; ++k)
        text += "Kent Town\tState " + std::to_string(k) + "\tAustralia\t-34.9\t138.6\t" +
                std::to_string(1000 + k) + "\tAustralia/Adelaide\n";
    return text;
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
    const std::string head = std::string("# comment\n") + kColumns; // lines 1 and 2
    const std::string good = "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\n";
    const struct {
        std::string bytes;
        int line;
    } cases[] = {
        {"", 1},
        {kColumns, 2},
        {"# only a comment\n", 2},
        {good, 1}, // no column line
        {head + good + "\n" + good, 4},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\tx\n", 3},
        {head + "\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\t\t28.6519\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Del\xC3\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t90.0001\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t-180.5\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\tnan\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t2e1\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t 28.6\t77.2315\t10927986\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t-5\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t12a\tAsia/Kolkata\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\t\n", 3},
        {head + "Delhi\tDelhi\tIndia\t28.6519\t77.2315\t10927986\tAsia/New Delhi\n", 3},
        {head + good + good.substr(0, good.size() - 1), 4}, // cut short
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string file = dir.Write("atlas.tsv", c.bytes);
        std::string error;
        EXPECT_FALSE(atlas::Atlas::Load(file, error)) << c.bytes;
        EXPECT_EQ(error, "The atlas of places is damaged (line " + std::to_string(c.line) + ").") << c.bytes;
    }
    // Windows line ends are no damage, and the extremes are places.
    std::string error;
    const auto crlf = atlas::Atlas::Load(
        dir.Write("crlf.tsv", "name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\r\n"
                              "Pole\t\tNowhere\t-90\t180.0\t0\tEtc/GMT-12\r\n"),
        error);
    ASSERT_TRUE(crlf) << error;
    ASSERT_EQ(crlf->Size(), 1u);
    const atlas::Place& pole = *crlf->Search("pole").at(0);
    EXPECT_EQ(pole.zone, "Etc/GMT-12");
    EXPECT_EQ(pole.latitude, -90.0);
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

TEST(AtlasSearch, PrefixesOfCityStateAndCountryMostPopulousFirst) {
    TempDir dir;
    std::string error;
    const auto places = atlas::Atlas::Load(dir.Write("atlas.tsv", FixtureText()), error);
    ASSERT_TRUE(places) << error;
    EXPECT_EQ(places->Size(), 37u);
    using V = std::vector<std::string>;
    const struct {
        std::string query;
        std::size_t limit;
        V expected;
    } cases[] = {
        {"sao p", 15, {"São Paulo, Brazil", "São Pedro, São Paulo, Brazil", "São Paulo, Lisbon, Portugal"}},
        {"SÃO PAULO", 15, {"São Paulo, Brazil", "São Paulo, Lisbon, Portugal"}},
        {"munchen", 15, {"München, Bavaria, Germany"}},
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

TEST(AtlasSearch, PlacesStayValidWhenTheAtlasMoves) {
    TempDir dir;
    std::string error;
    auto loaded = atlas::Atlas::Load(dir.Write("atlas.tsv", FixtureText()), error);
    ASSERT_TRUE(loaded) << error;
    const atlas::Place* before = loaded->Search("munchen").at(0);
    const atlas::Atlas moved = std::move(*loaded);
    loaded.reset();
    EXPECT_EQ(moved.Search("munchen").at(0), before);
    EXPECT_EQ(atlas::PlaceCaption(*before), "München, Bavaria, Germany");
}

TEST(AtlasFiles, PathBesideTheProgramOrFromTheEnvironment) {
    const struct {
        const char* variable;
        std::string folder, expected;
    } cases[] = {
        {nullptr, "/opt/quillmere", "/opt/quillmere/quillmere-atlas.tsv"},
        {nullptr, "", "quillmere-atlas.tsv"},
        {"", "/opt/quillmere", "/opt/quillmere/quillmere-atlas.tsv"},
        {"/data/places.tsv", "/opt/quillmere", "/data/places.tsv"},
    };
    for (const auto& c : cases) {
        AtlasVariable variable(c.variable);
        EXPECT_EQ(atlas::AtlasFilePath(c.folder), c.expected) << (c.variable ? c.variable : "unset");
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
