// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/AtomicFile.h"
#include "formats/SavedReadingFile.h"
#include "pipeline/CompareReadings.h"
#include "pipeline/ConventionKeys.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"
#include "records/TimeZones.h"
#include "tools/ChartCommand.h"

#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCompanion(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunChartCommand(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> Args1980() {
    return {"--name", "Test Person", "--date",  "1980-01-01", "--time",    "12:00",
            "--zone", "29",          "--lat",   "51d30N",     "--lon",     "0d0E",
            "--city", "London",      "--state", "England",    "--country", "UK"};
}

std::vector<std::string> Args1947() {
    return {"--name", "Test Person", "--date",  "1947-08-15", "--time",    "0:00",
            "--zone", "34",          "--lat",   "28d39N",     "--lon",     "77d13E",
            "--city", "Delhi",       "--state", "Delhi",      "--country", "India"};
}

class TempDir {
  public:
    TempDir() {
        path_ = fs::temp_directory_path() /
                ("qlm-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// While it lives the precise calculation searches only an empty folder, so finds no ephemeris files.
class WithoutEphemerisFiles {
  public:
    explicit WithoutEphemerisFiles(const std::string& emptyFolder) { Search(emptyFolder.c_str()); }
    ~WithoutEphemerisFiles() { Search(nullptr); }

  private:
    static void Search(const char* folder) {
#ifdef _WIN32
        _putenv_s("QUILLMERE_EPHE_PATH", folder ? folder : "");
#else
        if (folder)
            ::setenv("QUILLMERE_EPHE_PATH", folder, 1);
        else
            ::unsetenv("QUILLMERE_EPHE_PATH");
#endif
        UseEphemerisFilesBeside("");
    }
};

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

#ifdef _WIN32
constexpr const char* kDiscard = "NUL";
#else
constexpr const char* kDiscard = "/dev/null";
#endif

// Runs the companion program through the system's shell with its two outputs sent to files; its exit
// status.
int RunProgram(const std::string& args, const std::string& out = kDiscard,
               const std::string& err = kDiscard) {
#ifdef _WIN32
    // cmd.exe takes the program by its Windows name, and drops the outer pair of quotes; the wide
    // call passes every character of the UTF-8 arguments.
    const std::string exe = fs::path(QUILLMERE_CHART_EXE).make_preferred().string();
    const std::string command = "\"\"" + exe + "\" " + args + " > \"" + out + "\" 2> \"" + err + "\"\"";
    return _wsystem(fs::path(std::u8string(command.begin(), command.end())).c_str());
#else
    const int status = std::system(
        (std::string(QUILLMERE_CHART_EXE) + " " + args + " > '" + out + "' 2> '" + err + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

} // namespace

TEST(ChartCommand, London1980WithChartLines) {
    auto args = Args1980();
    args.push_back("--chart");
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 41u + 12u);
    EXPECT_EQ(lines[0], "Name: Test Person");
    EXPECT_EQ(lines[8], "\r");
    EXPECT_EQ(lines[10], "Sun 16 Sag 56");
    EXPECT_EQ(lines[12], "Mercury 05 Sag 26");
    EXPECT_EQ(lines[13], "Venus 18 Cap 43");
    EXPECT_EQ(lines[14], "Mars 20 Leo 46");
    EXPECT_EQ(lines[15], "Jupiter 16 Leo 53");
    EXPECT_EQ(lines[16], "Saturn 03 Vir 43");
    EXPECT_EQ(lines[17], "Rahu 07 Leo 22");
    EXPECT_EQ(lines[18], "Ketu 07 Aqu 22");
    EXPECT_EQ(lines[21], "Ayanamsa: 23\u00B0 34' 34\"");
    EXPECT_EQ(lines[22], "Lagna / Asc: Mesha");
    EXPECT_EQ(lines[29], "Lord of the 1st House Mars is placed in House 5.");
    EXPECT_EQ(lines[41], "1: Asc");
    EXPECT_EQ(lines[45], "5: Mangala, Guru (R) , Rahu"); // Jupiter retrograde since 26 December 1979
    EXPECT_EQ(lines[49], "9: Surya, Budha");
    EXPECT_EQ(lines[52], "12:");
}

TEST(ChartCommand, Delhi1947WithChartLines) {
    auto args = Args1947();
    args.insert(args.begin(), "--chart");
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 53u);
    EXPECT_EQ(lines[10], "Sun 28 Can 43");
    EXPECT_EQ(lines[14], "Mars 08 Gem 12");
    EXPECT_EQ(lines[22], "Lagna / Asc: Vrishabha");
    EXPECT_EQ(lines[42], "2: Asc, Rahu");
    EXPECT_EQ(lines[43], "3: Mangala");
    EXPECT_EQ(lines[44], "4: Surya, Chandra, Budha, Shukra, Shani");
    EXPECT_EQ(lines[47], "7: Guru");
    EXPECT_EQ(lines[48], "8: Ketu");
}

// The navamsa of each body from its position in the export (06 Gem 08 is 66 8', times 9 / 30 is
// 19.8: the 20th navamsa, Scorpio), then the periods: the Moon in Mrigsira, Mars's nakshatra, 12 48'
// of its 13 20' passed, leaves 7 years x 32/800 of Mars, 102 days give or take one minute's 3.
TEST(ChartCommand, NavamsaAndPeriodsFollowTheOtherLines) {
    auto args = Args1980();
    for (const char* option : {"--dasha", "--navamsa", "--chart"})
        args.insert(args.begin(), option);
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 41u + 12 + 12 + 90);
    EXPECT_EQ(lines[11], "Moon 06 Gem 08");
    const std::vector<std::string> navamsa(lines.begin() + 53, lines.begin() + 65);
    EXPECT_EQ(navamsa, (std::vector<std::string>{"1: Asc", "2: Budha", "3: Shukra, Rahu",
                                                 "4:", "5:", "6: Surya, Guru (R) ", "7: Mangala",
                                                 "8: Chandra", "9: Ketu", "10:", "11: Shani", "12:"}));
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), std::count(r.out.begin(), r.out.end(), '\r') - 3);

    static const char* const kOrder[9] = {"Mars", "Rahu",  "Jupiter", "Saturn", "Mercury",
                                          "Ketu", "Venus", "Sun",     "Moon"};
    std::string lastEnd;
    for (int major = 0; major < 9; ++major) {
        const auto at = lines.begin() + 65 + major * 10;
        char lord[16], start[16], end[16];
        ASSERT_EQ(std::sscanf(at->c_str(), "%15s %15s %15s", lord, start, end), 3) << *at;
        EXPECT_EQ(*at, std::string(kOrder[major]) + " " + start + " " + end);
        EXPECT_TRUE(lastEnd.empty() || lastEnd == start) << *at;
        lastEnd = end;
        std::string subEnd = start;
        for (int sub = 0; sub < 9; ++sub) {
            const std::string& line = at[1 + sub];
            const std::string prefix = std::string("  ") + kOrder[(major + sub) % 9] + " " + subEnd + " ";
            ASSERT_EQ(line.substr(0, prefix.size()), prefix);
            subEnd = line.substr(prefix.size());
            ASSERT_EQ(subEnd.size(), 10u) << line;
        }
        EXPECT_EQ(subEnd, end) << *at;
    }
    const std::string marsEnds = lines[65].substr(16);
    EXPECT_GE(marsEnds, "1980-04-09");
    EXPECT_LE(marsEnds, "1980-04-12");
}

// Depth 2 is the default, byte for byte; depth 1 keeps the major lines; depth 3 follows each sub-period
// by its pratyantars, indented by four blanks, the first of its lord from its start.
TEST(ChartCommand, DashaDepthChoosesHowDeepThePeriodsGo) {
    std::map<std::string, std::string> outs;
    for (const char* depth : {"", "1", "2", "3"}) {
        auto args = Args1980();
        args.push_back("--dasha");
        if (*depth)
            args.insert(args.end(), {"--dasha-depth", depth});
        const Result r = RunCompanion(args);
        ASSERT_EQ(r.status, 0) << r.err;
        outs[depth] = r.out;
    }
    EXPECT_EQ(outs["2"], outs[""]);
    const auto periods = [&outs](const char* depth, const char* leaving) {
        std::vector<std::string> v = Lines(outs[depth]);
        v.erase(v.begin(), v.begin() + 41);
        std::erase_if(v, [leaving](const std::string& l) { return *leaving && l.rfind(leaving, 0) == 0; });
        return v;
    };
    EXPECT_EQ(periods("1", "").size(), 9u);
    EXPECT_EQ(periods("1", ""), periods("", "  "));
    EXPECT_EQ(periods("3", "    "), periods("", ""));
    const std::vector<std::string> deep = periods("3", "");
    ASSERT_EQ(deep.size(), 9u + 81 + 729);
    for (std::size_t i = 0; i + 1 < deep.size(); ++i) {
        if (deep[i].find_first_not_of(' ') == 2) { // a sub-period: "  LORD START END"
            EXPECT_EQ(deep[i + 1].substr(0, deep[i].size() - 9),
                      "    " + deep[i].substr(2, deep[i].size() - 13));
        }
    }
}

// Astrologers give India's chart (the precise Moon, 3 58 Cancer) the Moon's period from 10 September
// 2015 to September 2025.
TEST(ChartCommand, PreciseIndiaRunsThePublishedPeriods) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    auto args = Args1947();
    args.insert(args.begin(), {"--precise", "--dasha"});
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    // The precise export's 42 lines, then the periods.
    ASSERT_EQ(lines.size(), 42u + 90);
    EXPECT_EQ(lines[42].substr(0, 18), "Saturn 1946-09-10 ");
    EXPECT_EQ(lines[42 + 50].substr(0, 24), "Moon 2015-09-10 2025-09-");
    // At the pole the precise reading is refused, and with it its periods.
    args[std::find(args.begin(), args.end(), "28d39N") - args.begin()] = "90d0N";
    const Result pole = RunCompanion(args);
    EXPECT_EQ(pole.status, 1);
    EXPECT_EQ(pole.out, "");
}

// An argument beginning with / names a file, not a Windows-style option: one that is missing is refused
// as a file, and a saved reading named so (as every absolute name is outside Windows) is read.
TEST(ChartCommand, AnArgumentBeginningWithASlashIsAFile) {
    const Result missing = RunCompanion({"--chart", "/charts/b.qlm"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind(std::string("/charts/b.qlm: ") + msg::kCheckFile, 0), 0u) << missing.err;
#ifndef _WIN32
    TempDir dir;
    auto args = Args1980();
    args.insert(args.end(), {"--save", dir.File("b.qlm")});
    ASSERT_EQ(RunCompanion(args).status, 0);
    const Result saved = RunCompanion({"--chart", dir.File("b.qlm")});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(Lines(saved.out).size(), 41u + 12);
#endif
}

TEST(ChartCommand, SavedReadingGivesTheSameExport) {
    TempDir dir;
    auto args = Args1947();
    args.push_back("--save");
    args.push_back(dir.File("delhi.qlm"));
    const Result first = RunCompanion(args);
    ASSERT_EQ(first.status, 0) << first.err;
    const Result second = RunCompanion({dir.File("delhi.qlm")});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(first.out, second.out);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ChartCommand, SeveralFilesGoOnPastBadOnes) {
    TempDir dir;
    RunCompanion([&] {
        auto a = Args1980();
        a.push_back("--save");
        a.push_back(dir.File("good.qlm"));
        return a;
    }());
    Write(dir.File("broken.qlm"), "not a saved reading\r\n");
    Write(dir.File("upper.QLM"), "");
    fs::copy_file(dir.File("good.qlm"), dir.File("goodqlm"));
    // A readable file whose data the form would refuse: the name line left empty.
    std::string noName;
    {
        std::ifstream in(dir.File("good.qlm"), std::ios::binary);
        noName.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    noName.erase(0, noName.find("\r\n"));
    Write(dir.File("noname.qlm"), noName);

    const Result r = RunCompanion({dir.File("broken.qlm"), dir.File("good.qlm"), dir.File("missing.qlm"),
                                   dir.File("upper.QLM"), dir.File("noname.qlm"), dir.File("goodqlm")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.out).size(), 82u); // good.qlm and goodqlm
    EXPECT_NE(r.err.find(dir.File("broken.qlm") + ": Please Check The File. It has fewer than 17 lines.\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(dir.File("missing.qlm") +
                         ": Please Check The File. It cannot be read. There is no such file or folder.\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(
        r.err.find(dir.File("upper.QLM") + ": Please Check The File. The name does not end in \"qlm\".\n"),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find(dir.File("noname.qlm") + ": Please Enter Your Name\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("goodqlm"), std::string::npos) << r.err;
}

TEST(ChartCommand, RefusedBirthDataShowsTheProgramsMessage) {
    const std::string kLongest(101, 'W');
    struct Case {
        const char* option;
        const char* value;
        const char* expected;
    } cases[] = {
        {"--lat", "95d0N", "--lat: Please Enter Correct Latitude (0 to 90 Degrees)\n"},
        {"--lat", "45d60S", "--lat: Please Enter Correct Minutes of Latitude (0 to 59)\n"},
        {"--lon", "181d0W", "--lon: Please Enter Correct Longitude (0 to 180 Degrees)\n"},
        {"--lon", "77d99E", "--lon: Please Enter Correct Minute of Longitude (0 to 59)\n"},
        {"--date", "1901-02-29", "--date: Please Enter Correct Date Or Month!\n"},
        {"--date", "1990-04-31", "--date: Please Enter Correct Date Or Month !\n"},
        {"--name", "O'Brien", "--name: Please enter only letters\n"},
        {"--city", "", "--city: Please Enter Your City name\n"},
        {"--name", "   ", "--name: Please Enter Your Name\n"},
        {"--country", " ", "--country: Please Enter Your Country name\n"},
        {"--state", kLongest.c_str(), "--state: Please enter at most 100 characters\n"},
    };
    for (const Case& c : cases) {
        auto args = Args1980();
        for (std::size_t i = 0; i + 1 < args.size(); ++i)
            if (args[i] == c.option)
                args[i + 1] = c.value;
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, 1) << c.option << " " << c.value;
        EXPECT_EQ(r.err, c.expected);
        EXPECT_EQ(r.out, "");
    }
    auto noName = Args1980();
    noName.erase(noName.begin(), noName.begin() + 2);
    EXPECT_EQ(RunCompanion(noName).err, "--name: Please Enter Your Name\n");
}

TEST(ChartCommand, UsageErrors) {
    EXPECT_EQ(RunCompanion({}).status, 2);
    EXPECT_EQ(RunCompanion({"--frobnicate"}).status, 2);
    for (const auto& [option, value] :
         std::vector<std::pair<std::string, std::string>>{{"--date", "1980/01/01"},
                                                          {"--date", "1900-01-01"},
                                                          {"--date", "1980-13-01"},
                                                          {"--time", "25:00"},
                                                          {"--time", "noon"},
                                                          {"--zone", "71"},
                                                          {"--zone", "-1"},
                                                          {"--lat", "51.5N"},
                                                          {"--lon", "0d0N"}}) {
        auto args = Args1980();
        for (std::size_t i = 0; i + 1 < args.size(); ++i)
            if (args[i] == option)
                args[i + 1] = value;
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, 2) << option << " " << value;
        EXPECT_EQ(r.err.rfind(option + ":", 0), 0u) << r.err;
    }
    auto missingValue = Args1980();
    missingValue.push_back("--save");
    EXPECT_EQ(RunCompanion(missingValue).status, 2);

    // The parser's own refusals, and a value taken whatever it looks like.
    const std::string tryHelp = "\nTry 'quillmere-chart --help'.\n";
    const struct {
        std::vector<std::string> extra;
        int status;
        std::string err;
    } cases[] = {
        {{"--frobnicate"}, 2, "--frobnicate: unknown option" + tryHelp},
        {{"--chart=1"}, 2, "--chart=1: unknown option" + tryHelp},
        {{"--save"}, 2, "--save: a value is missing" + tryHelp},
        {{"--name="}, 2, "--name: a value is missing" + tryHelp},
        {{"--name", "--chart"}, 1, "--name: Please enter only letters\n"},
        {{"--", "--chart"}, 1, "--chart: Please Check The File. The name does not end in \"qlm\".\n"},
    };
    for (const auto& c : cases) {
        auto args = Args1980();
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, c.status) << c.extra.front();
        EXPECT_EQ(r.err, c.err) << c.extra.front();
    }
    EXPECT_EQ(RunCompanion({"--save", "x.qlm"}).err,
              "--save: only birth data given as options can be saved" + tryHelp);
    // A value after "=", and an option given twice, which takes its last value.
    const std::string expected = RunCompanion(Args1980()).out;
    ASSERT_FALSE(expected.empty());
    auto joined = Args1980();
    joined.erase(joined.begin() + 2, joined.begin() + 4);
    joined.insert(joined.begin(), {"--zone", "1", "--date=1980-01-01"});
    EXPECT_EQ(RunCompanion(joined).out, expected);
}

// The conventions are the precise calculation's: each is refused without it, and a name it does not
// know lists those it does.
TEST(ChartCommand, ConventionUsageErrors) {
    const std::string tryHelp = "\nTry 'quillmere-chart --help'.\n";
    const std::string user = "user:DEG:MIN:SEC@YYYY-MM-DD";
    const std::string varga =
        "--varga: expected one of 1, 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40, 45, 60";
    const struct {
        std::vector<std::string> extra;
        std::string err;
    } cases[] = {
        {{"--varga", "5"}, varga},
        {{"--varga", "9", "--varga", "61"}, varga},
        {{"--varga", "-9"}, varga},
        {{"--varga", "D9"}, varga},
        {{"--dasha", "--dasha-depth", "4"}, "--dasha-depth: expected 1, 2 or 3"},
        {{"--dasha", "--dasha-depth", "two"}, "--dasha-depth: expected 1, 2 or 3"},
        {{"--dasha", "--dasha-depth"}, "--dasha-depth: a value is missing"},
        {{"--dasha-depth", "3"}, "--dasha-depth can be chosen only with --dasha."},
        {{"--ayanamsa", "raman"}, "--ayanamsa can be chosen only with the precise calculation."},
        {{"--node", "true"}, "--node can be chosen only with the precise calculation."},
        {{"--year-days", "360"}, "--year-days can be chosen only with the precise calculation."},
        {{"--precise", "--ayanamsa", "Raman"},
         "--ayanamsa: unknown ayanamsa \"Raman\"; known: lahiri, true-chitra, raman, krishnamurti, "
         "yukteshwar, fagan-bradley, " +
             user},
        {{"--precise", "--node", "apparent"}, "--node: unknown node \"apparent\"; known: mean, true"},
        {{"--precise", "--year-days", "365"},
         "--year-days: unknown year \"365\"; known: 365.25, 360, sidereal"},
        {{"--precise", "--ayanamsa", "user:23:51@2000-01-01"},
         "--ayanamsa: expected " + user + ", for example user:23:51:11@2000-01-01"},
        {{"--precise", "--ayanamsa", "user:23:60:0@2000-01-01"},
         "--ayanamsa: the minutes and seconds of " + user + " must lie below 60"},
        {{"--precise", "--ayanamsa", "user:23:5:60@2000-01-01"},
         "--ayanamsa: the minutes and seconds of " + user + " must lie below 60"},
        {{"--precise", "--ayanamsa", "user:23:5:6@2001-02-29"},
         "--ayanamsa: the date of " + user +
             " is not a date: the month must be 1 to 12 and the day one the "
             "month has"},
        {{"--precise", "--ayanamsa", "user:23:5:6@2024-13-45"},
         "--ayanamsa: the date of " + user +
             " is not a date: the month must be 1 to 12 and the day one the "
             "month has"},
        {{"--precise", "--ayanamsa", "user:99:30:10@2000-01-01"},
         "--ayanamsa: the value of " + user +
             " must lie from 10 to 40 degrees, where the ayanamsas in use lie"},
        {{"--precise", "--ayanamsa", "user:40:0:0.000001@2000-01-01"},
         "--ayanamsa: the value of " + user +
             " must lie from 10 to 40 degrees, where the ayanamsas in use lie"},
        {{"--precise", "--ayanamsa", "user:9:59:59.999999@2000-01-01"},
         "--ayanamsa: the value of " + user +
             " must lie from 10 to 40 degrees, where the ayanamsas in use lie"},
        {{"--ashtakavarga-places", "raman"},
         "--ashtakavarga-places: unknown ashtakavarga places \"raman\"; known: common, parashara"},
        {{"--precise", "--ayanamsa", "user:23:5:6@1799-12-31"},
         "--ayanamsa: the date of " + user + " must be a date of the years 1800 to 2399"},
        {{"--compare", "classic,node=true"},
         "--compare: node can be chosen only with the precise calculation."},
        {{"--compare", "precise,era=1"},
         "--compare: unknown choice \"era\"; known: ayanamsa, node, year-days, ashtakavarga"},
        {{"--compare", "precise,ayanamsa=lahri"},
         "--compare: unknown ayanamsa \"lahri\"; known: lahiri, "
         "true-chitra, raman, krishnamurti, yukteshwar, fagan-bradley, " +
             user},
        {{"--compare", "Precise"},
         "--compare: expected classic or precise, then ayanamsa=NAME, node=mean|true, year-days=DAYS or "
         "ashtakavarga=common|parashara, separated by commas"},
        {{"--compare", "precise,"},
         "--compare: expected classic or precise, then ayanamsa=NAME, node=mean|true, year-days=DAYS or "
         "ashtakavarga=common|parashara, separated by commas"},
    };
    for (const auto& c : cases) {
        const bool precise = std::find(c.extra.begin(), c.extra.end(), "--precise") != c.extra.end() ||
                             c.extra.back().rfind("precise", 0) == 0;
        if (precise && !PreciseCalculationBuilt())
            continue;
        auto args = Args1980();
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, 2) << c.extra.back();
        EXPECT_EQ(r.err, c.err + tryHelp) << c.extra.back();
        EXPECT_EQ(r.out, "");
    }
}

// The date of the user's own ayanamsa is one of the calendar: the month's length, and February's 29th
// only in leap years, of which a century is one only every fourth (the dates as GNU date takes them).
TEST(ChartCommand, TheUsersAyanamsaDateIsOneOfTheCalendar) {
    const struct {
        const char* date;
        bool real;
    } rows[] = {
        {"1900-02-28", true},  {"1900-02-29", false}, {"2000-02-29", true},  {"2100-02-29", false},
        {"2024-02-29", true},  {"2023-02-29", false}, {"2024-02-30", false}, {"2023-04-30", true},
        {"2023-04-31", false}, {"2023-06-31", false}, {"2023-12-31", true},  {"2023-12-32", false},
        {"2023-00-10", false}, {"2023-01-00", false}, {"2023-13-01", false},
    };
    for (const auto& row : rows) {
        Conventions conventions;
        const auto refusal = ReadAyanamsaKey(std::string("user:23:5:6@") + row.date, conventions);
        EXPECT_EQ(!refusal, row.real) << row.date;
        EXPECT_EQ(refusal.value_or("").find("is not a date") != std::string::npos, !row.real) << row.date;
    }
}

// Each convention reaches the reading: the companion writes what the reading of that choice gives, its
// periods in the chosen years, and says in the export's last line how it was made. A choice written
// as a key reads back as the same choice.
TEST(ChartCommand, ConventionsReachTheReadingAndItsPeriods) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    const struct {
        std::vector<std::string> options;
        const char* words;
    } cases[] = {
        {{}, "Precise (Swiss Ephemeris), Lahiri ayanamsa, mean node, 365.25-day years"},
        {{"--ayanamsa", "raman", "--node", "true"},
         "Precise (Swiss Ephemeris), Raman ayanamsa, true node, 365.25-day years"},
        {{"--ayanamsa", "true-chitra", "--year-days", "sidereal"},
         "Precise (Swiss Ephemeris), True Chitrapaksha ayanamsa, mean node, sidereal years of 365.256363 "
         "days"},
        {{"--ayanamsa=fagan-bradley", "--year-days", "360", "--node", "mean"},
         "Precise (Swiss Ephemeris), Fagan-Bradley ayanamsa, mean node, 360-day years"},
        {{"--ayanamsa", "krishnamurti"},
         "Precise (Swiss Ephemeris), Krishnamurti ayanamsa, mean node, 365.25-day years"},
        {{"--ayanamsa", "yukteshwar"},
         "Precise (Swiss Ephemeris), Yukteshwar ayanamsa, mean node, 365.25-day years"},
        {{"--ayanamsa", "user:22:5:7.25@1900-02-28"},
         "Precise (Swiss Ephemeris), user ayanamsa 22\u00B0 5' 7.25\" on 1900-02-28, mean node, 365.25-day "
         "years"},
    };
    std::vector<std::string> exports;
    for (const auto& c : cases) {
        auto args = Args1947();
        args.insert(args.end(), {"--precise", "--dasha"});
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Result r = RunCompanion(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto lines = Lines(r.out);
        ASSERT_EQ(lines.size(), 42u + 90) << c.words;
        EXPECT_EQ(lines[41], std::string("Calculation: ") + c.words);

        CalculationChoice choice{Calculation::Precise, {}};
        for (std::size_t i = 0; i < c.options.size(); ++i) {
            const std::string& option = c.options[i];
            const std::size_t equals = option.find('=');
            const std::string name = option.substr(0, equals);
            const std::string value =
                equals == std::string::npos ? c.options[++i] : option.substr(equals + 1);
            const std::string key = name == "--year-days" ? "year-days" : name.substr(2);
            ASSERT_FALSE(ReadCalculationKey(CalculationKey(choice) + "," + key + "=" + value, choice));
        }
        EXPECT_EQ(std::string(lines[41]), "Calculation: " + CalculationWords(choice));
        CalculationChoice again;
        ASSERT_FALSE(ReadCalculationKey(CalculationKey(choice), again)) << CalculationKey(choice);
        EXPECT_EQ(again, choice) << CalculationKey(choice);
        const ReadingResult reading = ComputeReading(BirthOf(Entry1947()), choice);
        ASSERT_TRUE(reading.reading);
        EXPECT_EQ(r.out, ChartExportText(*reading.reading) +
                             PeriodLines(ReadingPeriods(*reading.reading), reading.reading->birth));
        // Every choice gives other positions or other periods than every other.
        const std::string text = r.out.substr(r.out.find("Planetary Position"));
        EXPECT_EQ(std::find(exports.begin(), exports.end(), text), exports.end()) << c.words;
        exports.push_back(text);
    }
}

// --compare writes, after everything else, the comparison of the reading with the same birth under the
// other choice; when that one is refused the reading still stands and the run fails, saying why.
TEST(ChartCommand, CompareFollowsTheReading) {
    if (!PreciseCalculationBuilt())
        GTEST_SKIP() << "built without the precise calculation";
    auto args = Args1947();
    args.insert(args.end(), {"--chart", "--compare", "precise,ayanamsa=raman,year-days=360"});
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const Birth birth = BirthOf(Entry1947());
    const Reading classic = *ComputeReading(birth, Calculation::Classic).reading;
    const Reading raman =
        *ComputeReading(birth,
                        {Calculation::Precise, {Ayanamsa::Raman, {}, LunarNode::Mean, PeriodYear::Days360}})
             .reading;
    const double now =
        std::chrono::duration<double, std::ratio<60>>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    // The export, the twelve chart lines, then the comparison.
    const std::string exported = ChartExportText(classic);
    ASSERT_EQ(r.out.substr(0, exported.size()), exported);
    const std::size_t compared = r.out.find("\r\nA: ") + 2;
    EXPECT_EQ(Lines(r.out.substr(exported.size(), compared - exported.size())).size(), 12u);
    EXPECT_EQ(r.out.substr(compared), ComparisonLines(CompareReadings(classic, raman, now)));
    EXPECT_EQ(Lines(r.out)[53], "A: Classic");

    // Without the ephemeris files only the other reading is refused.
    TempDir empty;
    const Result refused = [&] {
        const WithoutEphemerisFiles none(empty.File(""));
        return RunCompanion(args);
    }();
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind(std::string("--compare: ") + msg::kPreciseFilesMissing, 0), 0u)
        << refused.err;
    EXPECT_EQ(Lines(refused.out).size(), 41u + 12);
}

// A refusal of the reading names the option at fault, and none when it lies elsewhere; a saved reading's
// refusal names its file.
TEST(ChartCommand, RefusalsNameTheOptionOnlyWhenItIsAtFault) {
    TempDir dir;
    const std::string pole = std::string(msg::kAscendantAtPole) + "\n";
    const std::string file = dir.File("pole.qlm");
    Write(file,
          *EncodeSavedReading(BirthOf(MakeEntry(1990, 6, 1, 12, 0, 29, "90", "0", true, "0", "0", true))));
    const Result saved = RunCompanion({file});
    EXPECT_EQ(saved.status, 1);
    EXPECT_EQ(saved.err, file + ": " + pole);

    const struct {
        std::vector<std::string> extra;
        bool noEphemeris;
        std::string err; // the start of standard error
    } cases[] = {
        {{"--lat", "90d0N"}, false, "--lat: " + pole},
        {{"--lat", "90d0S", "--precise"}, false, "--lat: " + pole},
        {{"--precise"}, true, msg::kPreciseFilesMissing},
        {{"--precise", "--lat", "90d0N"}, true, "--lat: " + pole},
    };
    for (const auto& c : cases) {
        if (std::find(c.extra.begin(), c.extra.end(), "--precise") != c.extra.end() &&
            !PreciseCalculationBuilt())
            continue;
        auto args = Args1980();
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        std::optional<WithoutEphemerisFiles> none;
        if (c.noEphemeris)
            none.emplace(dir.File(""));
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

// Each --varga block in the order given, after the navamsa: D30 worked by hand from the export's
// positions (the ascendant in Aries' first navamsa, so below 5 degrees), D1 the rasi chart's cells.
TEST(ChartCommand, DivisionalChartsFollowTheNavamsaInTheOrderGiven) {
    auto args = Args1980();
    for (const char* option : {"--varga", "30", "--chart", "--navamsa", "--varga", "1"})
        args.push_back(option);
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 41u + 12 + 12 + 13 + 13);
    EXPECT_EQ(lines[53], "1: Asc"); // the navamsa's first line
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 65, lines.begin() + 78),
              (std::vector<std::string>{"D30", "1: Asc", "2: Shani", "3: Mangala",
                                        "4:", "5:", "6:", "7:", "8:", "9: Surya, Guru (R) ",
                                        "10:", "11: Chandra, Budha, Rahu, Ketu", "12: Shukra"}));
    EXPECT_EQ(lines[78], "D1");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 79, lines.end()),
              std::vector<std::string>(lines.begin() + 41, lines.begin() + 53));
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), std::count(r.out.begin(), r.out.end(), '\r') - 3);
}

// The ashtakavarga and then the panchanga after the divisional charts, before the periods. The Sun's
// bindus as worked by hand in test_Ashtakavarga. The panchanga worked by hand from the export's Sun
// (Cancer 28 43) and Moon (Cancer 3 59): elongation 335 16, the 28th tithi and 56th karana; sum 212 42,
// the 16th yoga. Midnight of Friday 15 August 1947 is before its sunrise, so Thursday's; a build without
// the sunrise keeps the calendar's Friday.
TEST(ChartCommand, AshtakavargaAndPanchangaFollowTheDivisionalCharts) {
    auto args = Args1947();
    for (const char* option : {"--dasha", "--panchanga", "--ashtakavarga", "--varga", "9"})
        args.push_back(option);
    const Result r = RunCompanion(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 41u + 13 + 8 + 7 + 90);
    EXPECT_EQ(lines[41], "D9");
    const char* names[] = {"Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn", "Total"};
    for (int row = 0; row < 8; ++row)
        EXPECT_TRUE(std::regex_match(lines[54 + row], std::regex(std::string(names[row]) + ":( [0-9]+){12}")))
            << lines[54 + row];
    EXPECT_EQ(lines[54], "Sun: 6 4 4 4 4 3 3 1 4 4 5 6");
    // The Moon's row by the common places unless Parashara's are asked for, either calculation.
    EXPECT_EQ(lines[55], "Moon: 6 6 0 5 2 6 5 4 3 5 4 3");
    for (const bool precise : {false, true}) {
        if (precise && !PreciseCalculationBuilt())
            continue;
        auto verses = Args1947();
        verses.insert(verses.end(), {"--ashtakavarga", "--ashtakavarga-places", "parashara"});
        if (precise)
            verses.push_back("--precise");
        const Result v = RunCompanion(verses);
        ASSERT_EQ(v.status, 0) << v.err;
        EXPECT_EQ(Lines(v.out)[41 + precise + 1], "Moon: 6 6 0 5 2 5 5 5 3 5 3 4") << precise;
    }
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 62, lines.begin() + 67),
              (std::vector<std::string>{PreciseCalculationBuilt() ? "Vara: 5 Thursday" : "Vara: 6 Friday",
                                        "Tithi: 28 Krishna Trayodashi", "Nakshatra: 8 Pushya",
                                        "Yoga: 16 Siddhi", "Karana: 56 Vanija"}));
    const std::regex time(PreciseCalculationBuilt() ? "Sun(rise|set): [0-2][0-9]:[0-5][0-9]"
                                                    : "Sun(rise|set): unavailable");
    EXPECT_TRUE(std::regex_match(lines[67], time)) << lines[67];
    EXPECT_TRUE(std::regex_match(lines[68], time)) << lines[68];
    EXPECT_EQ(lines[67].substr(0, 9), "Sunrise: ");
    EXPECT_EQ(lines[68].substr(0, 8), "Sunset: ");
    EXPECT_EQ(lines[69].substr(0, 7), "Saturn "); // Pushya's lord begins the periods
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), std::count(r.out.begin(), r.out.end(), '\r') - 3);
}

TEST(ChartCommand, ZonesAndHelp) {
    const Result zones = RunCompanion({"--zones"});
    EXPECT_EQ(zones.status, 0);
    EXPECT_EQ(std::count(zones.out.begin(), zones.out.end(), '\n'), 71);
    EXPECT_NE(zones.out.find("34: Indian Time, IST, +5.3\n"), std::string::npos);
    EXPECT_NE(zones.out.find("70: Yukon War Time,YWT,-8.0\n"), std::string::npos);
    const Result help = RunCompanion({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--chart", "--zones", "--save", "--lat", "--dst", "--navamsa", "--dasha",
                               "--varga", "--ashtakavarga", "--panchanga", "--ayanamsa", "--node",
                               "--year-days", "--ashtakavarga-places", "--compare", "BODY A B DIFF"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(ChartCommand, SaveIntoAMissingFolderFailsAndSaysSo) {
    TempDir dir;
    auto args = Args1980();
    args.push_back("--save");
    args.push_back(dir.File("no/such/folder/x.qlm"));
    const Result r = RunCompanion(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The file could not be saved."), std::string::npos);
}

TEST(ChartCommand, ExitStatusOfTheProgram) {
    EXPECT_EQ(RunProgram("--zones"), 0);
    EXPECT_EQ(RunProgram("--nonsense"), 2);
    EXPECT_EQ(RunProgram("no-such-file.qlm"), 1);
}

// The program's standard output carries the export's bytes untouched: no line ending is added to its
// CR LF, as a text-mode output on Windows would.
TEST(ChartCommand, TheProgramWritesTheReadingByteForByte) {
    TempDir dir;
    auto args = Args1947();
    args.insert(args.begin(), {"--chart", "--interpretation"});
    args.push_back("--save");
    args.push_back(dir.File("delhi.qlm"));
    const Result expected = RunCompanion(args);
    ASSERT_EQ(expected.status, 0) << expected.err;
    ASSERT_EQ(RunProgram("--chart --interpretation \"" + dir.File("delhi.qlm") + "\"", dir.File("out.txt")),
              0);
    std::string written;
    ASSERT_TRUE(ReadWholeFile(dir.File("out.txt"), written));
    EXPECT_EQ(written.size(), expected.out.size());
    EXPECT_TRUE(written == expected.out);

    // A file name beyond the system's eight-bit code page reaches the program whole.
    const std::string named = dir.File("\xC5\x81\xC3\xB3"
                                       "d\xC5\xBA.qlm"); // Polish "Łódź"
    fs::copy_file(dir.File("delhi.qlm"), fs::path(std::u8string(named.begin(), named.end())));
    EXPECT_EQ(
        RunProgram("--chart --interpretation \"" + named + "\"", dir.File("named.txt"), dir.File("err.txt")),
        0);
    ASSERT_TRUE(ReadWholeFile(dir.File("named.txt"), written));
    EXPECT_TRUE(written == expected.out);
}

TEST(ChartCommand, ANameWithANulByteIsNotCutShort) {
    TempDir dir;
    auto args = Args1980();
    args.push_back("--save");
    args.push_back(dir.File("good.qlm") + std::string(1, '\0') + "tail");
    const Result r = RunCompanion(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The file could not be saved."), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 0);
}

// A saved reading passes every check the entry form makes before its reading is written out.
TEST(ChartCommand, SavedReadingsGetTheFormsChecksAndTheReasonIsPrinted) {
    TempDir dir;
    auto args = Args1980();
    args.push_back("--save");
    args.push_back(dir.File("good.qlm"));
    ASSERT_EQ(RunCompanion(args).status, 0);
    std::string good;
    ASSERT_TRUE(ReadWholeFile(dir.File("good.qlm"), good));
    const std::string firstLine = good.substr(0, good.find("\r\n"));
    const struct {
        std::string name; // the plain text put in place of line 1
        const char* reason;
    } cases[] = {
        {"Test\r\nPerson", "Line 1 holds a character that is not a letter or a blank."},
        {std::string(101, 'T'), "Line 1 is longer than 100 characters."},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File("bad.qlm");
        Write(path, *EncodeSavedText(c.name) + good.substr(firstLine.size()));
        const Result r = RunCompanion({path});
        EXPECT_EQ(r.status, 1) << c.reason;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, path + ": Please Check The File. " + c.reason + "\n");
    }
}

TEST(ChartCommand, AFailedSaveSaysWhyAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("kept.qlm");
    Write(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    auto args = Args1980();
    args.push_back("--save");
    args.push_back(path);
    const Result r = RunCompanion(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "--save: " + path + ": The file could not be saved. The file is read-only.\n");
    std::string kept;
    ASSERT_TRUE(ReadWholeFile(path, kept));
    EXPECT_EQ(kept, "old");
}

#ifndef _WIN32
// Output that cannot be written is a failure of the run: a script must not take an empty result.
TEST(ChartCommand, OutputThatCannotBeWrittenFailsTheRun) {
    TempDir dir;
    const std::string err = dir.File("err.txt");
    const std::vector<std::string> runs = {"--zones", "--name A --date 1980-01-01 --time 1:00 --zone 29 "
                                                      "--lat 1d0N --lon 1d0E --city A --state B --country C"};
    for (const std::string& what : runs) {
        EXPECT_EQ(RunProgram(what, "/dev/full", err), 1) << what;
        std::string text;
        ASSERT_TRUE(ReadWholeFile(err, text));
        EXPECT_EQ(text, "quillmere-chart: standard output: No space is left on the device.\n") << what;
    }
}
#endif

#if QUILLMERE_HAS_ATLAS
// The place fills what no option gives; the zone comes from the tz database's history (New York on
// daylight time on 4 July 1990, standard time in January) unless --zone or --dst is given.
TEST(ChartCommand, APlaceFillsCoordinatesPlaceAndZone) {
    ::setenv("QUILLMERE_ATLAS", "quillmere-atlas.tsv", 1); // beside the tests, in the build folder
    const std::vector<std::string> birth = {"--name", "Test Person", "--time",
                                            "12:00",  "--place",     "New York, United States"};
    const struct {
        std::vector<std::string> extra;
        int status;
        const char *latitude, *city, *errHas;
        int zoneRow;
        bool dst;
    } cases[] = {
        {{"--date", "1990-07-04"},
         0,
         "Latitude: 40 Degree 43 Minute ",
         "City: New York City",
         "UTC-4:00",
         27,
         true},
        {{"--date", "1990-01-15"},
         0,
         "Latitude: 40 Degree 43 Minute ",
         "City: New York City",
         "UTC-5:00",
         27,
         false},
        {{"--date", "1990-07-04", "--zone", "29", "--city", "Gotham"},
         0,
         "Latitude: 40 Degree 43 Minute ",
         "City: Gotham",
         "New York City",
         29,
         false},
        {{"--date", "1990-07-04", "--lat", "10d0N"},
         0,
         "Latitude: 10 Degree 0 Minute ",
         "City: New York City",
         "UTC-4:00",
         27,
         true},
    };
    TempDir dir;
    for (const auto& c : cases) {
        std::vector<std::string> args = birth;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        // The zone row and the box the reading used are those its saved file keeps.
        args.insert(args.end(), {"--save", dir.File("place.qlm")});
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.out.find(std::string(c.latitude) + "\r\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(std::string(c.city) + "\r\n"), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
        const SavedReadingOpen saved = OpenSavedReadingFile(dir.File("place.qlm"));
        ASSERT_TRUE(saved.entry) << saved.reason;
        EXPECT_EQ(saved.entry->zoneRow, c.zoneRow) << r.err;
        EXPECT_EQ(saved.entry->dst, c.dst) << r.err;
    }
    const Result none =
        RunCompanion({"--name", "A", "--date", "1990-07-04", "--time", "12:00", "--place", "Qqzx"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "No place matches Qqzx.\n");
    ::unsetenv("QUILLMERE_ATLAS");
}

#else
// Without the atlas, asking for a place is a usage error that says why.
TEST(ChartCommand, PlacesAreRefusedWithoutTheAtlas) {
    for (const std::string option : {"--place", "--places"}) {
        auto args = Args1980();
        args.insert(args.end(), {option, "Delhi"});
        const Result r = RunCompanion(args);
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_EQ(r.out, "") << option;
        EXPECT_EQ(r.err, option + ": This copy of Quillmere was built without the atlas of places.\n"
                                  "Try 'quillmere-chart --help'.\n");
    }
}
#endif
