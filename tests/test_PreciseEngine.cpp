// SPDX-License-Identifier: AGPL-3.0-or-later
#include "precise/PreciseEngine.h"
#include "precise/Sha256.h"
#include "records/Messages.h"

#include <swephexp.h>

#include "support/WatchedPipe.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using precise::ComputePrecisePositions;
using precise::JulianDayUT;
using precise::PreciseBody;
using precise::PreciseError;
using precise::PreciseResult;

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
constexpr double kNakshatra = 40.0 / 3.0;
constexpr double kDelhiLat = 28.0 + 39.0 / 60.0;
constexpr double kDelhiLon = 77.0 + 13.0 / 60.0;
constexpr double kRioLat = -(22.0 + 54.0 / 60.0);
constexpr double kRioLon = -(43.0 + 12.0 / 60.0);

// The library's body numbers in PreciseBody order, Ketu aside.
constexpr std::array<int32, 8> kLibraryBodies{SE_SUN,  SE_MOON,    SE_MERCURY, SE_VENUS,
                                              SE_MARS, SE_JUPITER, SE_SATURN,  SE_MEAN_NODE};

// Signs counted from Aries = 0.
double SignDegMin(int sign, int deg, int min) {
    return sign * 30.0 + deg + min / 60.0;
}
double Difference(double a, double b) {
    return std::remainder(a - b, 360.0);
}
// 15 August 1947, 0:00 IST.
double IndependenceDay() {
    return JulianDayUT(1947, 8, 14, 18, 30);
}

// Each test starts from the system folder, with neither path variable set.
class PreciseEngineTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        unsetenv("SE_EPHE_PATH");
        unsetenv(precise::kEphemerisPathVariable);
        precise::SetEphemerisSearchPath({precise::kSystemEphemerisFolder});
    }
};

// India's independence chart, 15 August 1947 at 0:00 IST in Delhi (28°39'N, 77°13'E), as printed
// with the Lahiri ayanamsa in the Indian astrological literature: lagna Taurus 7°46', Sun Cancer
// 27°59', Moon Cancer 3°58' in Pushya (the astrologers consulted chose the midnight hour because the
// Moon would then have entered Pushya, Cancer 3°20' to 16°40'), Saturn Cancer 20°26', Jupiter Libra
// 25°52'. The printed positions come from older tables, hence a few arc-minutes' tolerance.
TEST_F(PreciseEngineTest, IndependenceChartMatchesPublishedLahiriValues) {
    const PreciseResult r = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon);
    ASSERT_TRUE(r.positions) << precise::PreciseMessage(r);
    const auto& p = *r.positions;
    const struct {
        const char* what;
        double engine;
        double published;
    } rows[] = {
        {"lagna", p.ascendant, SignDegMin(1, 7, 46)},
        {"Sun", p.Longitude(PreciseBody::Sun), SignDegMin(3, 27, 59)},
        {"Moon", p.Longitude(PreciseBody::Moon), SignDegMin(3, 3, 58)},
        {"Saturn", p.Longitude(PreciseBody::Saturn), SignDegMin(3, 20, 26)},
        {"Jupiter", p.Longitude(PreciseBody::Jupiter), SignDegMin(6, 25, 52)},
    };
    for (const auto& row : rows)
        EXPECT_NEAR(Difference(row.engine, row.published), 0.0, 3.0 / 60.0) << row.what;
    EXPECT_EQ(static_cast<int>(p.Longitude(PreciseBody::Moon) / kNakshatra), 7) << "Pushya";
}

// The Lahiri ayanamsa is fixed by its definition at 23°15'00.658" on 21 March 1956 at 0h Ephemeris
// Time (Universal Time then differed by half a minute, a negligible 0.0004"), nutation included. Any
// other sidereal mode, or the mean ayanamsa (16" less that day), fails; so does leaving the mode to
// whatever the thread last chose.
TEST_F(PreciseEngineTest, AyanamsaIsLahiriAtItsDefiningEpoch) {
    swe_set_sid_mode(SE_SIDM_FAGAN_BRADLEY, 0.0, 0.0); // as other code in this thread might
    const PreciseResult r = ComputePrecisePositions(JulianDayUT(1956, 3, 21, 0, 0), kDelhiLat, kDelhiLon);
    ASSERT_TRUE(r.positions) << precise::PreciseMessage(r);
    EXPECT_NEAR(r.positions->ayanamsa, 23.0 + 15.0 / 60.0 + 0.658 / 3600.0, 1.0 / 3600.0);
}

// The true Lahiri ayanamsa by a second path: the mean ayanamsa plus the nutation in longitude.
double TrueAyanamsa(double jd) {
    double nutation[6];
    char error[AS_MAXCH] = "";
    EXPECT_GE(swe_calc_ut(jd, SE_ECL_NUT, 0, nutation, error), 0) << error;
    return swe_get_ayanamsa_ut(jd) + nutation[2];
}

struct Birth {
    const char* what;
    int year, month, day, hour, minute;
    double lat, lon;
    int mercuryRetrograde; // 1 or 0 where a published period says, else -1
};

// Mercury was retrograde from 24 March to 17 April 1985 and from 29 May to 22 June 2021, and direct
// between 22 June and 27 September 2021 (the published station dates).
const Birth kBirths[] = {
    {"Mercury retrograde, London", 1985, 4, 5, 12, 0, 51.5, -(7.0 / 60.0), 1},
    {"Mercury retrograde, Sydney", 2021, 6, 10, 2, 0, -(33.0 + 52.0 / 60.0), 151.0 + 13.0 / 60.0, 1},
    {"Mercury direct, Rio de Janeiro", 2021, 8, 1, 15, 0, kRioLat, kRioLon, 0},
    {"Moon seconds past the start of Shatabhisha, Mumbai", 1962, 2, 5, 22, 52, 18.0 + 58.0 / 60.0,
     72.0 + 50.0 / 60.0, -1},
    {"ascendant seconds short of Gemini, Rio de Janeiro", 1994, 7, 17, 7, 28, kRioLat, kRioLon, -1},
    {"ascendant just past Aries 0, Rio de Janeiro", 1994, 7, 17, 2, 58, kRioLat, kRioLon, -1},
    {"inside the Arctic circle, Tromso", 2000, 12, 21, 10, 0, 69.0 + 39.0 / 60.0, 18.0 + 57.0 / 60.0, -1},
};

// Two other paths through the library: its own sidereal mode, and the tropical apparent positions less
// the mean ayanamsa and the nutation in longitude. A few arc-seconds from a boundary of sign or
// nakshatra, the mean ayanamsa alone would already put the body on the wrong side.
TEST_F(PreciseEngineTest, AgreesWithTheLibrarysSiderealModeAndTheTropicalPath) {
    swe_set_sid_mode(SE_SIDM_LAHIRI, 0.0, 0.0);
    for (const Birth& b : kBirths) {
        SCOPED_TRACE(b.what);
        const double jd = JulianDayUT(b.year, b.month, b.day, b.hour, b.minute);
        const PreciseResult r = ComputePrecisePositions(jd, b.lat, b.lon);
        ASSERT_TRUE(r.positions) << precise::PreciseMessage(r);
        const auto& p = *r.positions;
        const double ayanamsa = TrueAyanamsa(jd);
        EXPECT_NEAR(p.ayanamsa, ayanamsa, 1e-9);

        struct Row {
            double engine, sidereal, tropical;
        };
        std::vector<Row> rows;
        for (std::size_t i = 0; i < kLibraryBodies.size(); ++i) {
            double sid[6], trop[6];
            char error[AS_MAXCH] = "";
            ASSERT_GE(
                swe_calc_ut(jd, kLibraryBodies[i], SEFLG_SWIEPH | SEFLG_SIDEREAL | SEFLG_SPEED, sid, error),
                0);
            ASSERT_GE(swe_calc_ut(jd, kLibraryBodies[i], SEFLG_SWIEPH, trop, error), 0) << error;
            rows.push_back({p.longitude[i], sid[0], trop[0] - ayanamsa});
            EXPECT_NEAR(p.speed[i], sid[3], 5e-6) << "speed of body " << i;
        }
        rows.push_back(
            {p.Longitude(PreciseBody::Ketu), rows.back().sidereal + 180.0, rows.back().tropical + 180.0});
        double cusps[13], sid[10], trop[10];
        ASSERT_GE(swe_houses_ex(jd, SEFLG_SIDEREAL, b.lat, b.lon, 'W', cusps, sid), 0);
        ASSERT_GE(swe_houses(jd, b.lat, b.lon, 'W', cusps, trop), 0);
        rows.push_back({p.ascendant, sid[SE_ASC], trop[SE_ASC] - ayanamsa});
        rows.push_back({p.midheaven, sid[SE_MC], trop[SE_MC] - ayanamsa});

        for (const Row& row : rows) {
            EXPECT_NEAR(Difference(row.engine, row.sidereal), 0.0, 1e-9);
            EXPECT_NEAR(Difference(row.engine, row.tropical), 0.0, 1e-6);
            EXPECT_GE(row.engine, 0.0);
            EXPECT_LT(row.engine, 360.0);
        }
        EXPECT_EQ(p.Speed(PreciseBody::Ketu), p.Speed(PreciseBody::Rahu));
        if (b.mercuryRetrograde >= 0) {
            EXPECT_EQ(p.Speed(PreciseBody::Mercury) < 0.0, b.mercuryRetrograde == 1);
        }
    }
}

// A folder of its own under the system's temporary folder, removed at the end.
struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "precise-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("mkdtemp failed");
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    // A new folder inside (name may hold several levels), holding links to the named system files.
    std::string Folder(const std::string& name, std::vector<std::string> linked = {}) const {
        fs::create_directories(path / name);
        for (const std::string& file : linked)
            fs::create_symlink(fs::path(precise::kSystemEphemerisFolder) / file, path / name / file);
        return (path / name).string();
    }
    // The name of a folder inside whose path is exactly length characters long.
    std::string NameOfLength(std::size_t length, char fill) const {
        return std::string(length - path.string().size() - 1, fill);
    }
};

// The planets' file with one bit flipped deep in its data, where the library's own check of the
// file's header does not look: the 406,804th byte, among Saturn's coefficients for 2038.
constexpr std::streamoff kFlippedByte = 406803;
constexpr char kFlippedBit = 0x40;
void FlipBit(const fs::path& file) {
    std::fstream stream(file, std::ios::binary | std::ios::in | std::ios::out);
    stream.seekg(kFlippedByte);
    char byte = 0;
    stream.get(byte);
    stream.seekp(kFlippedByte);
    stream.put(static_cast<char>(byte ^ kFlippedBit));
    ASSERT_TRUE(stream.flush());
}

// Every refusal, each followed by a reading from the system folder again (the engine must not keep
// a failed state, nor files from an earlier folder).
TEST_F(PreciseEngineTest, RefusesWhatIsNotFromTheFilesAndRecovers) {
    TempDir temp;
    const std::string empty = temp.Folder("empty");
    const std::string planetsOnly = temp.Folder("planets-only", {"sepl_18.se1"});
    const std::string damaged = temp.Folder("damaged", {"semo_18.se1"});
    {
        std::ofstream garbage(fs::path(damaged) / "sepl_18.se1", std::ios::binary);
        garbage << std::string(4096, '\x5a');
        ASSERT_TRUE(garbage.flush());
    }
    // A folder where the Moon's file should be: the library would open it and read it as damaged.
    const std::string moonFolder = temp.Folder("moon-folder/semo_18.se1", {"sepl_18.se1"});
    // A pipe first on the path: the library would wait on it forever, and so would the program. The
    // library's files span six centuries (sepl_18.se1 1800 to 2399, sepl_24.se1 2400 to 2999, semom06.se1
    // the years -600 to -1); the Moon's is opened for every moment, the planets' of 2000 when the path is
    // set, and at midnight starting 1800 the library looks into the file before for the light time.
    const std::string piped = temp.Folder("piped", {"semo_18.se1"});
    const WatchedPipe pipe(piped + "/sepl_18.se1");
    const WatchedPipe pipe2700(temp.Folder("piped-2700") + "/sepl_24.se1");
    const WatchedPipe pipeBC(temp.Folder("piped-bc") + "/semom06.se1");
    const WatchedPipe pipe1799(temp.Folder("piped-1799") + "/sepl_12.se1");
    const auto folderOf = [](const std::string& file) { return fs::path(file).parent_path().string(); };
    const auto notRegular = [](const std::string& file) {
        return msg::kPreciseFile + file + msg::kPreciseFileNotRegular;
    };
    // More folders than the library's path can hold: it would then search its built-in folders.
    std::vector<std::string> manyEmpty(20, empty);

    using Folders = std::vector<std::string>;
    const Folders system{precise::kSystemEphemerisFolder};
    const double day = IndependenceDay();
    const std::string stillWorks = msg::kPreciseClassicStillWorks;
    using E = PreciseError;
    const struct {
        const char* what;
        Folders folders;
        double jd, lat;
        PreciseError error;
        std::string messageHolds;
        const char* libraryVariable = nullptr;
    } cases[] = {
        {"an empty folder", Folders{empty}, day, kDelhiLat, E::EphemerisFilesMissing,
         empty + ". " + stillWorks},
        {"no folder at all", Folders(), day, kDelhiLat, E::EphemerisFilesMissing, msg::kPreciseNoFolder},
        {"the Moon's file missing (unflagged)", Folders{planetsOnly}, day, kDelhiLat,
         E::EphemerisFilesMissing, planetsOnly},
        {"a damaged planets' file", Folders{damaged}, day, kDelhiLat, E::EphemerisFileDamaged,
         msg::kPreciseFile + damaged + "/sepl_18.se1" + msg::kPreciseFileDamaged},
        {"a folder in place of the Moon's file", Folders{folderOf(moonFolder), system[0]}, day, kDelhiLat,
         E::EphemerisFileNotRegular, notRegular(moonFolder)},
        {"a pipe in place of the planets' file", Folders{piped, system[0]}, day, kDelhiLat,
         E::EphemerisFileNotRegular, notRegular(pipe.path)},
        {"a pipe for 2700", Folders{folderOf(pipe2700.path), system[0]}, JulianDayUT(2700, 6, 1, 0, 0),
         kDelhiLat, E::EphemerisFileNotRegular, notRegular(pipe2700.path)},
        {"a pipe for 51 BC", Folders{folderOf(pipeBC.path), system[0]}, JulianDayUT(-50, 6, 1, 0, 0),
         kDelhiLat, E::EphemerisFileNotRegular, notRegular(pipeBC.path)},
        {"a pipe for 1799", Folders{folderOf(pipe1799.path), system[0]}, JulianDayUT(1800, 1, 1, 0, 0),
         kDelhiLat, E::EphemerisFileNotRegular, notRegular(pipe1799.path)},
        {"too many folders for the library", manyEmpty, day, kDelhiLat, E::EphemerisFilesMissing, empty},
        {"the library's own variable, which wins", system, day, kDelhiLat, E::EphemerisFilesMissing,
         empty + ". ", empty.c_str()},
        {"the year 3500, beyond the files", system, JulianDayUT(3500, 1, 1, 0, 0), kDelhiLat,
         E::DateOutOfRange, msg::kPreciseDateOutOfRange},
        {"the north pole", system, day, 90.0, E::AscendantUndefined, msg::kPreciseAscendantUndefined},
        {"the south pole", system, day, -90.0, E::AscendantUndefined, msg::kPreciseAscendantUndefined},
        {"a latitude beyond the pole", system, day, 90.5, E::Other, msg::kPreciseOtherFailure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        precise::SetEphemerisSearchPath(c.folders);
        if (c.libraryVariable)
            setenv("SE_EPHE_PATH", c.libraryVariable, 1);
        const PreciseResult r = ComputePrecisePositions(c.jd, c.lat, kDelhiLon);
        EXPECT_EQ(r.error, c.error) << r.detail;
        EXPECT_FALSE(r.positions);
        const std::string message = precise::PreciseMessage(r);
        EXPECT_NE(message.find(c.messageHolds), std::string::npos) << message;

        Reset();
        const PreciseResult again = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon);
        EXPECT_TRUE(again.positions) << precise::PreciseMessage(again);
    }
    for (const WatchedPipe* p : {&pipe, &pipe2700, &pipeBC, &pipe1799})
        EXPECT_FALSE(p->opened) << p->path;

    // Only the file the library would open is looked at: a pipe behind the files it takes is harmless.
    precise::SetEphemerisSearchPath({precise::kSystemEphemerisFolder, piped});
    const PreciseResult behind = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon);
    EXPECT_TRUE(behind.positions) << precise::PreciseMessage(behind);
    EXPECT_FALSE(pipe.opened);
}

// One bit flipped in the planets' file moves Saturn by degrees (37 on this day) while the library reports
// nothing. The engine refuses the file, checked at its first use and checked again once it has changed.
TEST_F(PreciseEngineTest, RefusesAKnownFileThatDiffersFromTheOneKnown) {
    TempDir temp;
    const std::string copy = temp.Folder("copy", {"semo_18.se1"});
    const fs::path planets = fs::path(copy) / "sepl_18.se1";
    fs::copy_file(fs::path(precise::kSystemEphemerisFolder) / "sepl_18.se1", planets);
    const double jd = JulianDayUT(2038, 3, 17, 0, 0);
    const PreciseResult system = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon);
    ASSERT_TRUE(system.positions) << precise::PreciseMessage(system);
    precise::SetEphemerisSearchPath({copy});
    const PreciseResult intact = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon);
    ASSERT_TRUE(intact.positions) << precise::PreciseMessage(intact);
    EXPECT_EQ(intact.positions->longitude, system.positions->longitude);

    FlipBit(planets);
    const PreciseResult damaged = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon);
    EXPECT_EQ(damaged.error, PreciseError::EphemerisFileDamaged);
    EXPECT_FALSE(damaged.positions);
    EXPECT_EQ(precise::PreciseMessage(damaged),
              std::string("The ephemeris file ") + planets.string() + " is damaged.");

    FlipBit(planets);
    const PreciseResult repaired = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon);
    ASSERT_TRUE(repaired.positions) << precise::PreciseMessage(repaired);
    EXPECT_EQ(repaired.positions->longitude, system.positions->longitude);
}

// The library reads its Delta T table (swe_deltat.txt, else sedeltat.txt) and its leap seconds from
// the same folders, once per thread: a pipe there would hang the reading, a line of a word or of a year
// before 1620 makes it write outside its table (the program crashed), and a plausible-looking number
// moves every position (5000 seconds for 1980 moved the Moon by 52'). Each is refused, naming the
// file, in a thread that has not read a table yet, as in a program just started; a table of the
// published values (50.54 s for 1980, the Astronomical Almanac's; those of the library's own sample
// file for 2007 to 2009) is read, Windows line ends, blanks and comments included.
TEST_F(PreciseEngineTest, RefusesADeltaTOrLeapSecondsFileTheLibraryWouldMisread) {
    TempDir temp;
    const std::string ephemeris[] = {"sepl_18.se1", "semo_18.se1"};
    int folders = 0;
    const auto folderWith = [&](const std::string& name, const std::string& text) {
        const std::string folder = temp.Folder("t" + std::to_string(++folders), {ephemeris[0], ephemeris[1]});
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
        return folder;
    };
    const std::string pipedDeltaT = temp.Folder("pipe-deltat", {ephemeris[0], ephemeris[1]});
    const WatchedPipe deltaTPipe(pipedDeltaT + "/sedeltat.txt");
    const std::string pipedLeap = temp.Folder("pipe-leap", {ephemeris[0], ephemeris[1]});
    const WatchedPipe leapPipe(pipedLeap + "/seleapsec.txt");
    const std::string published =
        "# Delta T, seconds\r\n\n  1980\t50.54 \r\n2007 65.15\n2008 65.46\n2009 65.78";

    using E = PreciseError;
    const auto malformed = [](const std::string& folder, const char* name, int line) {
        return msg::kPreciseFile + folder + "/" + name + msg::kPreciseTableMalformed + std::to_string(line) +
               ").";
    };
    const auto far = [](const std::string& folder, const char* name, int year) {
        return msg::kPreciseFile + folder + "/" + name + msg::kPreciseDeltaTFar + std::to_string(year) +
               msg::kPreciseDeltaTFarEnd;
    };
    const std::string fiveThousand = folderWith("sedeltat.txt", "1980 5000\n");
    std::string folder;
    const struct {
        const char* what;
        std::string folder;
        E error;
        std::string message;
    } cases[] = {
        {"a pipe for the table", pipedDeltaT, E::EphemerisFileNotRegular,
         msg::kPreciseFile + deltaTPipe.path + msg::kPreciseFileNotRegular},
        {"a pipe for the leap seconds", pipedLeap, E::EphemerisFileNotRegular,
         msg::kPreciseFile + leapPipe.path + msg::kPreciseFileNotRegular},
        {"a line of words", folder = folderWith("sedeltat.txt", "# Delta T\n\nDelta T 1980 50\n"),
         E::EphemerisTableMalformed, malformed(folder, "sedeltat.txt", 3)},
        {"a year before the table's", folder = folderWith("sedeltat.txt", "1619 124\n"),
         E::EphemerisTableMalformed, malformed(folder, "sedeltat.txt", 1)},
        {"a blank line of a Windows line end", folder = folderWith("sedeltat.txt", "1980 50.54\n \r\n"),
         E::EphemerisTableMalformed, malformed(folder, "sedeltat.txt", 2)},
        {"words after the number", folder = folderWith("sedeltat.txt", "1980 50.54 s\n"),
         E::EphemerisTableMalformed, malformed(folder, "sedeltat.txt", 1)},
        {"a line longer than the library reads",
         folder = folderWith("sedeltat.txt", "1980 50." + std::string(300, '5')), E::EphemerisTableMalformed,
         malformed(folder, "sedeltat.txt", 1)},
        {"5000 seconds for 1980", fiveThousand, E::EphemerisDeltaTFar,
         far(fiveThousand, "sedeltat.txt", 1980)},
        {"the library's other name first", folder = folderWith("swe_deltat.txt", published + "\n2010 1\n"),
         E::EphemerisDeltaTFar, far(folder, "swe_deltat.txt", 2010)},
        {"a leap second not a date", folder = folderWith("seleapsec.txt", "# leap seconds\n2008-12-31\n"),
         E::EphemerisTableMalformed, malformed(folder, "seleapsec.txt", 2)},
        {"the published values", folderWith("sedeltat.txt", published), E::None, ""},
    };
    const double jd = JulianDayUT(1980, 5, 1, 6, 0);
    const PreciseResult system = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon);
    ASSERT_TRUE(system.positions);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        precise::SetEphemerisSearchPath({c.folder, precise::kSystemEphemerisFolder});
        PreciseResult r;
        std::thread([&] { r = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon); }).join();
        EXPECT_EQ(r.error, c.error) << r.detail;
        EXPECT_EQ(precise::PreciseMessage(r), c.message);
        if (c.error == E::None) {
            ASSERT_TRUE(r.positions);
            EXPECT_NEAR(r.positions->Longitude(PreciseBody::Moon),
                        system.positions->Longitude(PreciseBody::Moon), 1.0 / 3600.0);
        }
    }
    EXPECT_FALSE(deltaTPipe.opened);
    EXPECT_FALSE(leapPipe.opened);

    // Where the library's own variable names the folder, which wins over any folder the engine gives it.
    const std::string named = folderWith("sedeltat.txt", "1980 5000\n");
    setenv("SE_EPHE_PATH", named.c_str(), 1);
    PreciseResult r;
    std::thread([&] { r = ComputePrecisePositions(jd, kDelhiLat, kDelhiLon); }).join();
    EXPECT_EQ(precise::PreciseMessage(r), far(named, "sedeltat.txt", 1980));
}

// The library takes a path list of at most AS_MAXCH - 14 = 242 characters and would search its own
// built-in folders instead of a longer one. A folder it cannot take is left out and named; the folders
// after it are still searched.
TEST_F(PreciseEngineTest, AFolderTooLongForTheLibraryIsLeftOutAndTheOthersSearched) {
    TempDir temp;
    const std::string empty = temp.Folder("empty");
    // The longest folder the library takes, with the planets' file only: the refusal shows that the
    // library searched it, not its built-in folders.
    const std::string longest = temp.Folder(temp.NameOfLength(242, 'p'), {"sepl_18.se1"});
    const std::string tooLong = temp.Folder(temp.NameOfLength(243, 'e'));
    // A program folder of 238 characters makes "ephe" beside it 243 long.
    const std::string programFolder = temp.Folder(temp.NameOfLength(238, 'x'));
    ASSERT_EQ(longest.size(), 242u);
    ASSERT_EQ(tooLong.size(), 243u);

    using Folders = std::vector<std::string>;
    const std::string system = precise::kSystemEphemerisFolder;
    const Folders besideProgram = precise::DefaultEphemerisFolders(programFolder);
    setenv(precise::kEphemerisPathVariable, (tooLong + ":" + empty).c_str(), 1);
    const Folders variable = precise::DefaultEphemerisFolders(programFolder);
    // 21 short names, which the library would cut after the 20th.
    Folders many;
    std::string first20;
    for (int i = 1; i <= 20; ++i) {
        many.push_back("/q" + std::to_string(i));
        first20 += (i > 1 ? ", " : "") + many.back();
    }
    const Folders searched(many.begin(), many.end());
    many.push_back(system);

    const std::string stillWorks = msg::kPreciseClassicStillWorks;
    const std::string leftOut = msg::kPreciseFoldersLeftOut + tooLong + ". " + stillWorks;
    const struct {
        const char* what;
        Folders folders;
        Folders searched;
        std::string message; // the start of the refusal; empty for a reading
    } cases[] = {
        {"the longest folder", Folders{longest}, Folders{longest},
         msg::kPreciseFilesMissing + longest + ". " + stillWorks},
        {"a program folder of 238 characters", besideProgram, Folders{system}, ""},
        {"a first folder too long in the variable", variable, Folders{empty},
         msg::kPreciseFilesMissing + empty + ". " + leftOut},
        {"only a folder too long", Folders{tooLong}, Folders{},
         std::string(msg::kPreciseFilesMissing) + msg::kPreciseNoFolder + ". " + leftOut},
        {"more folders than the library takes", many, searched,
         msg::kPreciseFilesMissing + first20 + ". " + msg::kPreciseFoldersLeftOut + system + ". " +
             stillWorks},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        precise::SetEphemerisSearchPath(c.folders);
        EXPECT_EQ(precise::EphemerisSearchPath(), c.searched);
        const PreciseResult r = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon);
        if (c.message.empty())
            EXPECT_TRUE(r.positions) << precise::PreciseMessage(r);
        else
            EXPECT_EQ(precise::PreciseMessage(r), c.message);
    }
}

// Inside the polar circles the ascendant is still given, and it is the rising point: on the horizon
// and east of the meridian. Checked by spherical astronomy from the tropical ascendant (the engine's
// plus its ayanamsa), the true obliquity and the apparent sidereal time.
TEST_F(PreciseEngineTest, PolarAscendantIsTheRisingPoint) {
    for (const double lat : {66.0 + 34.0 / 60.0, 69.0 + 39.0 / 60.0, -80.0, 89.9}) {
        for (int hour = 0; hour < 24; hour += 3) {
            SCOPED_TRACE(testing::Message() << "latitude " << lat << ", " << hour << "h");
            const double jd = JulianDayUT(2000, 12, 21, hour, 0);
            const PreciseResult r = ComputePrecisePositions(jd, lat, 10.0);
            ASSERT_TRUE(r.positions) << precise::PreciseMessage(r);
            double nutation[6];
            char error[AS_MAXCH] = "";
            ASSERT_GE(swe_calc_ut(jd, SE_ECL_NUT, 0, nutation, error), 0) << error;
            const double eps = nutation[0] * kRad;
            const double lambda = (r.positions->ascendant + r.positions->ayanamsa) * kRad;
            const double ra = std::atan2(std::sin(lambda) * std::cos(eps), std::cos(lambda));
            const double dec = std::asin(std::sin(eps) * std::sin(lambda));
            const double hourAngle = (swe_sidtime(jd) * 15.0 + 10.0) * kRad - ra;
            const double phi = lat * kRad;
            const double altitude = std::asin(std::sin(phi) * std::sin(dec) +
                                              std::cos(phi) * std::cos(dec) * std::cos(hourAngle));
            EXPECT_NEAR(altitude / kRad, 0.0, 1e-4);
            EXPECT_LT(std::sin(hourAngle), 0.0) << "the ascendant is setting, not rising";
        }
    }
}

// The library keeps its state per thread: a thread that has never called it must still get Lahiri
// positions from the folders set, wherever they were set.
TEST_F(PreciseEngineTest, EveryThreadUsesTheSiderealModeAndFoldersSet) {
    const PreciseResult here = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon);
    ASSERT_TRUE(here.positions);
    PreciseResult there;
    std::thread([&] { there = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon); }).join();
    ASSERT_TRUE(there.positions) << precise::PreciseMessage(there);
    EXPECT_EQ(there.positions->longitude, here.positions->longitude);
    EXPECT_EQ(there.positions->ascendant, here.positions->ascendant);

    TempDir temp;
    precise::SetEphemerisSearchPath({temp.Folder("empty")});
    EXPECT_EQ(ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon).error,
              PreciseError::EphemerisFilesMissing);
    std::thread([&] { there = ComputePrecisePositions(IndependenceDay(), kDelhiLat, kDelhiLon); }).join();
    EXPECT_EQ(there.error, PreciseError::EphemerisFilesMissing);
}

// The test vectors of FIPS 180-4 (NIST's examples), and messages that end either side of the 56 bytes
// where the padding spills into a second block (their digests by sha256sum).
TEST(Sha256, MatchesTheStandardsVectors) {
    const struct {
        std::string message;
        const char* digest;
    } vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmno"
         "pqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    for (const auto& v : vectors) {
        SCOPED_TRACE(v.message.size());
        EXPECT_EQ(precise::Sha256Hex(v.message), v.digest);
        // The same message in pieces that straddle the 64-byte blocks.
        precise::Sha256 sha;
        for (std::size_t at = 0, piece = 1; at < v.message.size(); at += piece, piece = piece % 97 + 30)
            sha.Update(v.message.data() + at, std::min(piece, v.message.size() - at));
        EXPECT_EQ(sha.HexDigest(), v.digest);
    }
}

TEST_F(PreciseEngineTest, DefaultFoldersAndWhatTheLibraryIsGiven) {
    const struct {
        const char* variable;
        const char* executableDir;
        std::vector<std::string> expected;
    } rows[] = {
        {nullptr, "/opt/quillmere", {"/opt/quillmere/ephe", precise::kSystemEphemerisFolder}},
        {nullptr, "", {precise::kSystemEphemerisFolder}},
        {"/data/ephe::/more", "/opt/quillmere", {"/data/ephe", "/more"}},
    };
    for (const auto& row : rows) {
        if (row.variable)
            setenv(precise::kEphemerisPathVariable, row.variable, 1);
        else
            unsetenv(precise::kEphemerisPathVariable);
        EXPECT_EQ(precise::DefaultEphemerisFolders(row.executableDir), row.expected) << row.executableDir;
    }

    // The library would split a name at its list separators or a line break, or lose a leading blank.
    precise::SetEphemerisSearchPath({"/a:b", "", "/c;d", " /f", "/g\nh", "/e"});
    EXPECT_EQ(precise::EphemerisSearchPath(), std::vector<std::string>{"/e"});
    setenv("SE_EPHE_PATH", "/x:/y", 1);
    EXPECT_EQ(precise::EphemerisSearchPath(), (std::vector<std::string>{"/x", "/y"}));
}

} // namespace
