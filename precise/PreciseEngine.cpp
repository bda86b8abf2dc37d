// SPDX-License-Identifier: AGPL-3.0-or-later
#include "precise/PreciseEngine.h"

#include "precise/Sha256.h"
#include "records/Messages.h"

#include <swephexp.h>

#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace precise {

namespace {

#ifdef _WIN32
constexpr char kListSeparator = ';';
constexpr const char* kLibrarySeparators = ";";
#else
constexpr char kListSeparator = ':';
// The library splits its path at either.
constexpr const char* kLibrarySeparators = ";:";
#endif

// A longer path list is dropped by the library, which then searches its own built-in folders instead.
// A folder that long still leaves room for "/" and the file names the library opens (11 characters,
// "sepl_18.se1") within its limit on a file's path, AS_MAXCH - 1.
constexpr std::size_t kLibraryPathLimit = AS_MAXCH - 1 - 13;
// The library cuts its path into at most this many folders, the last one holding the rest of the list.
constexpr std::size_t kLibraryFolderLimit = 20;
constexpr const char* kLibraryPathVariable = "SE_EPHE_PATH";

// 2000 January 1, 12h: covered by every set of ephemeris files, so a failure there means no usable files.
constexpr double kProbeJulianDay = 2451545.0;

// The library's files are of six centuries each; a moment's file is named by the first century.
constexpr int kCenturiesPerFile = 6;
// The library looks up its file by the moment in Terrestrial Time (ahead of Universal Time by up to a
// few days in the remote past) and, for light time, a little earlier: so the files of a few days either
// side are checked too.
constexpr double kFileMarginDays = 10.0;
// The first Gregorian day in the library's calendar, which names the files by the Julian calendar before.
constexpr double kFirstGregorianDay = 2305447.5;

// The ephemeris files of the Debian package swe-basic-data, the files the program knows.
struct KnownFile {
    const char* name;
    std::uintmax_t size;
    const char* sha256;
};
constexpr std::array<KnownFile, 3> kKnownFiles{{
    {"seas_18.se1", 223002, "0afe3f94769b6718082411c2c4fb06bf9d1aaa6c0bc1bad8f8b8725421ef8748"},
    {"semo_18.se1", 1304771, "ecfa54dbf5bc0b5a9bc3e04ed28629a821e98625eacae38f4070593bba0e2980"},
    {"sepl_18.se1", 484055, "0b7e416e3c1be9e6a0dd1d711dae7f7685793a0e7df13f76363a493dc27b6ea1"},
}};

// The text files the library reads from the same folders: its table of Delta T, under the first of
// these names found (read once per thread, at the first position it computes), and its leap seconds.
constexpr std::array<const char*, 2> kDeltaTNames{"swe_deltat.txt", "sedeltat.txt"};
constexpr const char* kLeapSecondsName = "seleapsec.txt";
// The library reads a line into a buffer of AS_MAXCH bytes: a longer one would be cut into pieces,
// each read as a line of its own.
constexpr std::size_t kLongestTableLine = AS_MAXCH - 2;
// A full table is a few kilobytes; anything near this is no table of the library's.
constexpr std::uintmax_t kLargestTable = 1u << 20;
// The first year of the library's Delta T table: a line of an earlier year would be written before it.
constexpr int kFirstDeltaTYear = 1620;
// How far (in seconds) a year's Delta T may lie from the library's own. Published tables agree with
// it within a second or two; a minute moves the Moon by half an arc-minute.
constexpr double kDeltaTTolerance = 60.0;
// The first leap second.
constexpr int kFirstLeapSecondYear = 1972;
// A folder that can hold no file: a thread given it reads no table.
constexpr const char* kNoFolder = "/dev/null";

// Library body numbers in the order of PreciseBody, Ketu aside; the node is the mean one unless the true
// one is chosen.
constexpr std::array<int32, 8> kLibraryBodies{SE_SUN,  SE_MOON,    SE_MERCURY, SE_VENUS,
                                              SE_MARS, SE_JUPITER, SE_SATURN,  SE_MEAN_NODE};

// The library's sidereal modes of the named ayanamsas, in the order of Ayanamsa.
constexpr std::array<int32, 6> kSiderealModes{SE_SIDM_LAHIRI,     SE_SIDM_TRUE_CITRA,
                                              SE_SIDM_RAMAN,      SE_SIDM_KRISHNAMURTI,
                                              SE_SIDM_YUKTESHWAR, SE_SIDM_FAGAN_BRADLEY};
static_assert(static_cast<std::size_t>(Ayanamsa::FaganBradley) + 1 == kSiderealModes.size());
// Tropical apparent positions, made sidereal here by subtracting the ayanamsa once. The library's own
// sidereal mode gives the same numbers but computes the ayanamsa again for every body and for the
// houses, which nearly doubles the time of a reading.
constexpr int32 kBodyFlags = SEFLG_SWIEPH | SEFLG_SPEED;
// The step of the ayanamsa's rate, by which the speeds are made sidereal: short enough for the
// nutation's fastest terms, long enough for the rounding of the ayanamsa itself.
constexpr double kRateStepDays = 0.01;

std::vector<std::string> Split(const std::string& text, const char* separators) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find_first_of(separators, start);
        const std::string part =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty())
            parts.push_back(part);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty())
            joined += separator;
        joined += part;
    }
    return joined;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

double Normalised(double degrees) {
    double r = std::fmod(degrees, 360.0);
    if (r < 0.0)
        r += 360.0;
    // A tiny negative remainder plus 360 rounds to 360 itself.
    return r >= 360.0 ? 0.0 : r;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// What the library is handed: the path string and the folders it names, and the folders set that it
// could not be handed.
struct LibraryPath {
    std::string text;
    std::vector<std::string> folders;
    std::vector<std::string> leftOut;
};

// Whether the library keeps the name whole: it cuts its path at the separators and at a line break and
// skips the blanks after a separator.
bool LibraryTakesName(const std::string& folder) {
    return folder.find_first_of(kLibrarySeparators) == std::string::npos &&
           folder.find_first_of("\r\n") == std::string::npos && folder.front() != ' ' &&
           folder.size() <= kLibraryPathLimit;
}

// Mirrors the library's own choice, so that a refusal names the folders that were really searched. A
// folder it cannot take is left out, never the folders after it: those are searched without it.
LibraryPath BuildLibraryPath(const std::vector<std::string>& configured, const std::string& libraryVariable) {
    LibraryPath path;
    if (!libraryVariable.empty() && libraryVariable.size() <= kLibraryPathLimit) {
        path.text = libraryVariable;
        path.folders = Split(libraryVariable, kLibrarySeparators);
        return path;
    }
    for (const std::string& folder : configured) {
        if (folder.empty())
            continue;
        const std::size_t length = path.text.size() + (path.text.empty() ? 0 : 1) + folder.size();
        if (!LibraryTakesName(folder) || length > kLibraryPathLimit ||
            path.folders.size() == kLibraryFolderLimit) {
            path.leftOut.push_back(folder);
            continue;
        }
        if (!path.text.empty())
            path.text += kLibrarySeparators[0];
        path.text += folder;
        path.folders.push_back(folder);
    }
    return path;
}

// What the check of a known file depends on: a file changed or replaced is checked again.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    time_t modified = 0;
    long modifiedNs = 0;
    time_t changed = 0;
    long changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileCheck {
    FileIdentity identity;
    bool intact = false;
};

struct EngineState {
    std::mutex mutex;
    std::vector<std::string> folders = DefaultEphemerisFolders("");
    std::uint64_t generation = 1;
    // Known files already checked in this run, by path.
    std::map<std::string, FileCheck> checked;
    // The library's text files already read in this run, by path, with their refusal, if any.
    std::map<std::string, std::pair<FileIdentity, std::optional<PreciseResult>>> tables;
    // The user ayanamsa last asked for and the library's constant that gives it (see SetSiderealMode).
    std::optional<std::pair<UserAyanamsa, double>> userConstant;
};

EngineState& State() {
    static EngineState state;
    return state;
}

// The library's state is per thread where it is built with thread-local storage, so each thread
// applies the search path for itself.
struct ThreadState {
    std::uint64_t generation = 0;
    std::string libraryVariable;
    LibraryPath path;
    bool handedOver = false; // whether the library has been given path
    // Whether the library's text files in path passed the checks: this thread's library has read them
    // since, at its first computation, and never reads them again.
    bool tablesChecked = false;
};
thread_local ThreadState tThread;

// The path this thread's library is to search, as configured; the caller holds the lock.
const LibraryPath& ConfiguredPath(const EngineState& state) {
    std::string libraryVariable = Environment(kLibraryPathVariable);
    if (tThread.generation != state.generation || tThread.libraryVariable != libraryVariable) {
        tThread.path = BuildLibraryPath(state.folders, libraryVariable);
        tThread.generation = state.generation;
        tThread.libraryVariable = std::move(libraryVariable);
        tThread.handedOver = false;
        tThread.tablesChecked = false;
    }
    return tThread.path;
}

// Gives the library the configured path. It then closes its files, forgetting what it read from them,
// and at once opens the files of the year 2000 to compute the Moon: so only once those are checked.
void HandOverPath() {
    // An empty path would make the library search its built-in folders: never hand it one.
    if (!tThread.handedOver && !tThread.path.text.empty())
        swe_set_ephe_path(tThread.path.text.c_str());
    tThread.handedOver = true;
}

// One body from the files: the library reports a fallback to its analytic theory either by the flags
// it returns or, when only the Moon's file is missing, only by a warning text.
bool CalcFromFiles(double jd, int32 body, int32 flags, double (&xx)[6], std::string& detail) {
    char error[AS_MAXCH] = "";
    const int32 used = swe_calc_ut(jd, body, flags, xx, error);
    if (used >= 0 && (used & SEFLG_SWIEPH) != 0 && (used & SEFLG_MOSEPH) == 0 && error[0] == '\0')
        return true;
    detail = error[0] != '\0' ? error : "the ephemeris files were not used";
    return false;
}

bool FilesUsableAt(double jd) {
    double xx[6];
    std::string ignored;
    return CalcFromFiles(jd, SE_SUN, SEFLG_SWIEPH, xx, ignored) &&
           CalcFromFiles(jd, SE_MOON, SEFLG_SWIEPH, xx, ignored);
}

PreciseResult Failure(PreciseError error, std::string detail) {
    PreciseResult result;
    result.error = error;
    result.detail = std::move(detail);
    return result;
}

// The name the library gives the file of the planets ("sepl") or of the Moon ("semo") holding the
// moment: "sepl_18.se1" for the years 1800 to 2399, "seplm06.se1" for the years -600 to -1 (601 to 2 BC).
std::string LibraryFileName(const char* prefix, double jd) {
    int year = 0, month = 0, day = 0;
    double hour = 0.0;
    swe_revjul(jd, jd >= kFirstGregorianDay ? SE_GREG_CAL : SE_JUL_CAL, &year, &month, &day, &hour);
    int century = year / 100;
    if (year < 0 && year % 100 != 0)
        --century;
    while (century % kCenturiesPerFile != 0)
        --century;
    char name[32];
    std::snprintf(name, sizeof name, "%s%c%02d.se1", prefix, century < 0 ? 'm' : '_', std::abs(century));
    return name;
}

// The files the library may open for the moment, and those of 2000, which it opens when given its path
// and for the probe after a failure.
std::vector<std::string> FileNamesFor(double jd) {
    std::vector<std::string> names;
    for (const double day : {jd - kFileMarginDays, jd + kFileMarginDays, kProbeJulianDay}) {
        for (const char* prefix : {"sepl", "semo"}) {
            std::string name = LibraryFileName(prefix, day);
            if (!Contains(names, name))
                names.push_back(std::move(name));
        }
    }
    return names;
}

// The path the library opens for a file name in a folder.
std::string LibraryFilePath(const std::string& folder, const std::string& name) {
    if (folder == ".")
        return name;
    return folder.back() == '/' || folder.back() == '\\' ? folder + name : folder + '/' + name;
}

const KnownFile* Known(const std::string& name) {
    for (const KnownFile& known : kKnownFiles)
        if (name == known.name)
            return &known;
    return nullptr;
}

// The SHA-256 of a regular file; empty when it cannot be read whole.
std::string FileSha256(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    Sha256 sha;
    std::vector<char> buffer(1 << 16);
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), file)) > 0)
        sha.Update(buffer.data(), count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? std::string() : sha.HexDigest();
}

FileIdentity IdentityOf(const struct stat& info) {
#ifdef __linux__
    return FileIdentity{info.st_dev,          info.st_ino,   info.st_size,        info.st_mtime,
                        info.st_mtim.tv_nsec, info.st_ctime, info.st_ctim.tv_nsec};
#else
    return FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtime, 0, info.st_ctime, 0};
#endif
}

// Whether a known file is the one the program knows; read once per run, and again only once changed.
bool Intact(EngineState& state, const std::string& path, const KnownFile& known, const struct stat& info) {
    const FileIdentity identity = IdentityOf(info);
    const auto found = state.checked.find(path);
    if (found != state.checked.end() && found->second.identity == identity)
        return found->second.intact;
    const bool intact =
        static_cast<std::uintmax_t>(info.st_size) == known.size && FileSha256(path) == known.sha256;
    state.checked[path] = FileCheck{identity, intact};
    return intact;
}

bool Readable(const std::string& path) {
#ifdef _WIN32
    return _access(path.c_str(), 4) == 0;
#else
    return access(path.c_str(), R_OK) == 0;
#endif
}

enum class Lookup { Missing, Found, Refused };

// Finds the file of that name as the library's fopen will, the first one that opens, and refuses it
// when it is not a regular file: a pipe would block the library forever, a folder or a device it would
// read as a damaged file.
Lookup FindLibraryFile(const LibraryPath& path, const std::string& name, std::string& file, struct stat& info,
                       PreciseResult& refusal) {
    for (const std::string& folder : path.folders) {
        file = LibraryFilePath(folder, name);
        if (stat(file.c_str(), &info) != 0)
            continue;
#ifdef S_ISSOCK
        if (S_ISSOCK(info.st_mode)) // does not open
            continue;
#endif
        if (!S_ISREG(info.st_mode)) {
            refusal.error = PreciseError::EphemerisFileNotRegular;
            refusal.detail = "not a regular file: " + file;
            refusal.file = file;
            return Lookup::Refused;
        }
        if (Readable(file))
            return Lookup::Found;
    }
    return Lookup::Missing;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits at `at` as a number; `at` moves past them.
int Digits(const std::string& line, std::size_t& at, std::size_t count) {
    int value = 0;
    for (std::size_t end = at + count; at < end; ++at)
        value = value * 10 + (line[at] - '0');
    return value;
}

// A number of seconds as the library reads it, but nothing it would read otherwise than it looks:
// an optional sign, digits and decimals, no exponent.
std::optional<double> Seconds(const std::string& text) {
    std::size_t at = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    std::size_t digits = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        ++digits;
    if (at < text.size() && text[at] == '.')
        for (++at; at < text.size() && IsDigit(text[at]); ++at)
            ++digits;
    if (digits == 0 || at != text.size())
        return std::nullopt;
    // Whatever the locale's decimal sign.
    const std::size_t from = !text.empty() && text[0] == '+' ? 1 : 0;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data() + from, text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// One data line of a table, its blanks before and after taken off; what is read from it, or nothing
// when the library would read it otherwise than it looks (or out of its table's bounds).
struct TableLine {
    int year = 0;
    double seconds = 0.0;
};
std::optional<TableLine> DeltaTLine(const std::string& line) {
    // A year of four digits: the library reads the year, then skips four characters and the blanks.
    if (line.size() < 6 || !std::all_of(line.begin(), line.begin() + 4, IsDigit) || !IsBlank(line[4]))
        return std::nullopt;
    std::size_t at = 0;
    const int year = Digits(line, at, 4);
    while (IsBlank(line[at]))
        ++at;
    const std::optional<double> seconds = Seconds(line.substr(at));
    if (year < kFirstDeltaTYear || !seconds)
        return std::nullopt;
    return TableLine{year, *seconds};
}
bool LeapSecondLine(const std::string& line) {
    // A date as yyyymmdd, the day at whose end a second was inserted.
    if (line.size() != 8 || !std::all_of(line.begin(), line.end(), IsDigit))
        return false;
    std::size_t at = 0;
    const int year = Digits(line, at, 4);
    const int month = Digits(line, at, 2);
    const int day = Digits(line, at, 2);
    return year >= kFirstLeapSecondYear && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// The library's own Delta T, in seconds, at the start of each year: from a thread of its own whose
// library reads no table, since the library reads a table file once per thread and keeps its values.
// The thread gives its library a folder without files, unless the library's variable SE_EPHE_PATH is
// set, which would win over it: the thread then asks for the Moshier theory's Delta T (which differs
// by the tidal acceleration, a second or two), and the library keeps its built-in folders.
std::vector<double> OwnDeltaT(const std::vector<int>& years) {
    std::vector<double> seconds(years.size());
    const bool libraryVariable = !Environment(kLibraryPathVariable).empty();
    std::thread([&] {
        if (!libraryVariable)
            swe_set_ephe_path(kNoFolder);
        const int32 flags = libraryVariable ? SEFLG_MOSEPH : SEFLG_SWIEPH;
        for (std::size_t i = 0; i < years.size(); ++i) {
            char error[AS_MAXCH] = "";
            seconds[i] = swe_deltat_ex(swe_julday(years[i], 1, 1, 0.0, SE_GREG_CAL), flags, error) * 86400.0;
        }
        swe_close();
    }).join();
    return seconds;
}

PreciseResult TableRefusal(PreciseError error, const std::string& file, int where, const std::string& why) {
    PreciseResult refusal = Failure(error, why + ": " + file);
    refusal.file = file;
    refusal.where = where;
    return refusal;
}

// Reads one of the library's text files as the library will, refusing it when a line is not in the
// library's format (a year before its table's first, or a word, would make it write outside its
// table), and a Delta T table whose values lie far from the library's own, which would move every
// position without a word.
std::optional<PreciseResult> CheckTable(const std::string& file, bool deltaT) {
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream)
        return std::nullopt; // the library will not read it either
    std::string content(kLargestTable + 1, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), stream));
    std::fclose(stream);

    std::vector<TableLine> values;
    int number = 0;
    for (std::size_t start = 0; start < content.size();) {
        ++number;
        const std::size_t end = std::min(content.find('\n', start), content.size());
        std::string line = content.substr(start, end - start);
        start = end + 1;
        if (content.size() > kLargestTable)
            return TableRefusal(PreciseError::EphemerisTableMalformed, file, number, "larger than a table");
        if (line.size() > kLongestTableLine || line.find('\0') != std::string::npos)
            return TableRefusal(PreciseError::EphemerisTableMalformed, file, number, "a line too long");
        // The library skips a line only where, after blanks, it starts with '#' or ends.
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        if (first < line.size() && line[first] == '#')
            continue;
        if (first == line.size() && end < content.size())
            continue;
        std::size_t last = line.size();
        if (last > first && line[last - 1] == '\r')
            --last;
        while (last > first && IsBlank(line[last - 1]))
            --last;
        line = line.substr(first, last - first);
        if (deltaT) {
            if (const std::optional<TableLine> value = DeltaTLine(line)) {
                values.push_back(*value);
                continue;
            }
        } else if (line.empty() || LeapSecondLine(line)) {
            // The library reads a number at the start of each line and skips one of no later date.
            continue;
        }
        return TableRefusal(PreciseError::EphemerisTableMalformed, file, number, "not in the format");
    }
    if (values.empty())
        return std::nullopt;
    std::vector<int> years;
    for (const TableLine& value : values)
        years.push_back(value.year);
    const std::vector<double> own = OwnDeltaT(years);
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!(std::fabs(values[i].seconds - own[i]) <= kDeltaTTolerance))
            return TableRefusal(PreciseError::EphemerisDeltaTFar, file, values[i].year,
                                "Delta T far from the library's own");
    return std::nullopt;
}

// A text file's refusal, read once per run, and again only once changed.
std::optional<PreciseResult> CheckedTable(EngineState& state, const std::string& file,
                                          const struct stat& info, bool deltaT) {
    const FileIdentity identity = IdentityOf(info);
    const auto found = state.tables.find(file);
    if (found != state.tables.end() && found->second.first == identity)
        return found->second.second;
    std::optional<PreciseResult> refusal = CheckTable(file, deltaT);
    state.tables[file] = {identity, refusal};
    return refusal;
}

// Refuses each file the library may open for the moment, or for its path, that is not a regular
// file, a known file that differs from the one known, and a text file of the library's that it
// would misread or that would move the positions; the text files only until this thread's library
// has read them. Any other file is used unchecked.
std::optional<PreciseResult> RefusedFile(EngineState& state, const LibraryPath& path, double jd) {
    std::string file;
    struct stat info {};
    PreciseResult refusal;
    for (const std::string& name : FileNamesFor(jd)) {
        const Lookup lookup = FindLibraryFile(path, name, file, info, refusal);
        if (lookup == Lookup::Refused)
            return refusal;
        const KnownFile* known = Known(name);
        if (lookup == Lookup::Found && known && !Intact(state, file, *known, info)) {
            refusal = Failure(PreciseError::EphemerisFileDamaged, "the checksum differs: " + file);
            refusal.file = file;
            return refusal;
        }
    }
    if (tThread.tablesChecked)
        return std::nullopt;
    // The library takes the first of the names of its Delta T table that it finds.
    for (const char* name : kDeltaTNames) {
        const Lookup lookup = FindLibraryFile(path, name, file, info, refusal);
        if (lookup == Lookup::Refused)
            return refusal;
        if (lookup == Lookup::Found) {
            if (std::optional<PreciseResult> table = CheckedTable(state, file, info, true))
                return table;
            break;
        }
    }
    const Lookup lookup = FindLibraryFile(path, kLeapSecondsName, file, info, refusal);
    if (lookup == Lookup::Refused)
        return refusal;
    if (lookup == Lookup::Found)
        if (std::optional<PreciseResult> table = CheckedTable(state, file, info, false))
            return table;
    tThread.tablesChecked = true;
    return std::nullopt;
}

// Gives the library the sidereal mode of the conventions' ayanamsa. A user's ayanamsa is the library's
// user mode from its date, whose value there (the mode's own constant plus the nutation of the day)
// is found by asking the library once with a constant of 0: the ayanamsa grows with the constant one
// for one, so the constant that gives the user's value follows by subtraction. The constant depends on
// the user's value alone and is kept for the next reading of the same choice.
bool SetSiderealMode(EngineState& state, const Conventions& conventions, char (&error)[AS_MAXCH]) {
    if (conventions.ayanamsa != Ayanamsa::User) {
        swe_set_sid_mode(kSiderealModes[static_cast<std::size_t>(conventions.ayanamsa)], 0.0, 0.0);
        return true;
    }
    const UserAyanamsa& user = conventions.user;
    const double epoch = swe_julday(user.year, user.month, user.day, 0.0, SE_GREG_CAL);
    if (!state.userConstant || state.userConstant->first != user) {
        swe_set_sid_mode(SE_SIDM_USER, epoch, 0.0);
        double atEpoch = 0.0;
        if (swe_get_ayanamsa_ex_ut(epoch, SEFLG_SWIEPH, &atEpoch, error) < 0)
            return false;
        state.userConstant.emplace(user, user.Degrees() - std::remainder(atEpoch, 360.0));
    }
    swe_set_sid_mode(SE_SIDM_USER, epoch, state.userConstant->second);
    return true;
}

PreciseResult ComputeFrom(EngineState& state, const LibraryPath& path, double julianDayUT, double latitudeDeg,
                          double longitudeDeg, const Conventions& conventions) {
    if (!std::isfinite(julianDayUT))
        return Failure(PreciseError::Other, "the moment is not a number");
    if (!(std::fabs(latitudeDeg) <= 90.0) || !(std::fabs(longitudeDeg) <= 180.0))
        return Failure(PreciseError::Other, "the latitude or longitude is out of range");
    if (path.folders.empty())
        return Failure(PreciseError::EphemerisFilesMissing, "no folder to search");
    if (std::optional<PreciseResult> refusal = RefusedFile(state, path, julianDayUT))
        return *std::move(refusal);
    HandOverPath();

    // Set at every call: the mode is the library's global state, and other code in this thread, or the
    // reading before this one, may have chosen another.
    char error[AS_MAXCH] = "";
    if (!SetSiderealMode(state, conventions, error))
        return Failure(PreciseError::Other, error);
    double ayanamsa = 0.0;
    double ayanamsaLater = 0.0;
    if (swe_get_ayanamsa_ex_ut(julianDayUT, SEFLG_SWIEPH, &ayanamsa, error) < 0 ||
        swe_get_ayanamsa_ex_ut(julianDayUT + kRateStepDays, SEFLG_SWIEPH, &ayanamsaLater, error) < 0)
        return Failure(PreciseError::Other, error);
    if (conventions.ayanamsa == Ayanamsa::User) {
        // Near a value of 0 the library's answer wraps round to 360; the size is what the reading shows.
        ayanamsa = std::remainder(ayanamsa, 360.0);
        ayanamsaLater = std::remainder(ayanamsaLater, 360.0);
    }
    const double ayanamsaRate = (ayanamsaLater - ayanamsa) / kRateStepDays;

    PrecisePositions positions;
    positions.ayanamsa = ayanamsa;
    for (std::size_t i = 0; i < kLibraryBodies.size(); ++i) {
        double xx[6];
        std::string detail;
        const int32 body = kLibraryBodies[i] == SE_MEAN_NODE && conventions.node == LunarNode::True
                               ? SE_TRUE_NODE
                               : kLibraryBodies[i];
        if (!CalcFromFiles(julianDayUT, body, kBodyFlags, xx, detail)) {
            if (FilesUsableAt(kProbeJulianDay))
                return Failure(PreciseError::DateOutOfRange, detail);
            PreciseResult result = Failure(PreciseError::EphemerisFilesMissing, detail);
            result.folders = path.folders;
            return result;
        }
        positions.longitude[i] = Normalised(xx[0] - ayanamsa);
        positions.speed[i] = xx[3] - ayanamsaRate;
    }
    const auto rahu = static_cast<std::size_t>(PreciseBody::Rahu);
    const auto ketu = static_cast<std::size_t>(PreciseBody::Ketu);
    positions.longitude[ketu] = Normalised(positions.longitude[rahu] + 180.0);
    positions.speed[ketu] = positions.speed[rahu];

    // At a pole the horizon is the equator and no point of the ecliptic rises; the library would still
    // return one, from a latitude just short of the pole. Elsewhere, inside the polar circles too, the
    // ascendant is the rising intersection of ecliptic and horizon. Whole-sign houses are asked for
    // because the ascendant and midheaven do not depend on the house system, and Placidus would fail at
    // every latitude inside the polar circles.
    if (std::fabs(latitudeDeg) >= 90.0)
        return Failure(PreciseError::AscendantUndefined, "the birth place is at a pole");
    // The steps of swe_houses_ex, which would compute the nutation once more: the true obliquity and
    // the nutation in longitude give the apparent sidereal time, hence the sidereal time of the place.
    double nutation[6];
    if (swe_calc_ut(julianDayUT, SE_ECL_NUT, SEFLG_SWIEPH, nutation, error) < 0)
        return Failure(PreciseError::Other, error);
    const double trueObliquity = nutation[0];
    const double nutationInLongitude = nutation[2];
    const double armc =
        swe_degnorm(swe_sidtime0(julianDayUT, trueObliquity, nutationInLongitude) * 15.0 + longitudeDeg);
    double cusps[13];
    double angles[10];
    if (swe_houses_armc(armc, latitudeDeg, trueObliquity, 'W', cusps, angles) < 0 ||
        !std::isfinite(angles[SE_ASC]) || !std::isfinite(angles[SE_MC]))
        return Failure(PreciseError::AscendantUndefined, "the library found no ascendant");
    positions.ascendant = Normalised(angles[SE_ASC] - ayanamsa);
    positions.midheaven = Normalised(angles[SE_MC] - ayanamsa);

    PreciseResult result;
    result.positions = positions;
    return result;
}

SunRiseSet SunFailure(const PreciseResult& failure) {
    SunRiseSet times;
    times.error = failure.error;
    times.detail = failure.detail;
    return times;
}

SunRiseSet SunRiseSetFrom(EngineState& state, const LibraryPath& path, double from, double until,
                          double latitudeDeg, double longitudeDeg) {
    if (!std::isfinite(from) || !std::isfinite(until))
        return SunFailure(Failure(PreciseError::Other, "the moment is not a number"));
    if (!(std::fabs(latitudeDeg) <= 90.0) || !(std::fabs(longitudeDeg) <= 180.0))
        return SunFailure(Failure(PreciseError::Other, "the latitude or longitude is out of range"));
    if (path.folders.empty())
        return SunFailure(Failure(PreciseError::EphemerisFilesMissing, "no folder to search"));
    if (std::optional<PreciseResult> refusal = RefusedFile(state, path, from))
        return SunFailure(*refusal);
    HandOverPath();
    // The search would fall back to the analytic theory without a word: the files must cover the day.
    // Its start is enough: a file spans six centuries, and the program's years lie well inside one.
    double xx[6];
    std::string detail;
    if (!CalcFromFiles(from, SE_SUN, SEFLG_SWIEPH, xx, detail))
        return SunFailure(Failure(FilesUsableAt(kProbeJulianDay) ? PreciseError::DateOutOfRange
                                                                 : PreciseError::EphemerisFilesMissing,
                                  detail));

    SunRiseSet times;
    double geopos[3] = {longitudeDeg, latitudeDeg, 0.0};
    for (const int32 event : {SE_CALC_RISE, SE_CALC_SET}) {
        char error[AS_MAXCH] = "";
        double moment = 0.0;
        // The library's defaults: the upper limb, the standard refraction; a pressure and temperature
        // of 0 let it take its own.
        const int32 found =
            swe_rise_trans(from, SE_SUN, nullptr, SEFLG_SWIEPH, event, geopos, 0.0, 0.0, &moment, error);
        // -2: the Sun stays above or below the horizon.
        if (found == -2 || (found >= 0 && !(moment < until)))
            continue;
        if (found < 0)
            return SunFailure(Failure(PreciseError::Other, error));
        (event == SE_CALC_RISE ? times.rise : times.set) = moment;
    }
    return times;
}

} // namespace

std::vector<std::string> DefaultEphemerisFolders(const std::string& executableDir) {
    std::vector<std::string> folders =
        Split(Environment(kEphemerisPathVariable), std::string(1, kListSeparator).c_str());
    if (!folders.empty())
        return folders;
    if (!executableDir.empty())
        folders.push_back(executableDir + "/ephe");
    folders.push_back(kSystemEphemerisFolder);
    return folders;
}

void SetEphemerisSearchPath(std::vector<std::string> folders) {
    EngineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.folders = std::move(folders);
    ++state.generation;
}

std::vector<std::string> EphemerisSearchPath() {
    EngineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return BuildLibraryPath(state.folders, Environment(kLibraryPathVariable)).folders;
}

double JulianDayUT(int year, int month, int day, int hour, int minute) {
    return swe_julday(year, month, day, hour + minute / 60.0, SE_GREG_CAL);
}

PreciseResult ComputePrecisePositions(double julianDayUT, double latitudeDeg, double longitudeDeg,
                                      const Conventions& conventions) {
    EngineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const LibraryPath& path = ConfiguredPath(state);
    PreciseResult result = ComputeFrom(state, path, julianDayUT, latitudeDeg, longitudeDeg, conventions);
    result.foldersLeftOut = path.leftOut;
    return result;
}

SunRiseSet ComputeSunRiseSet(double fromJulianDayUT, double untilJulianDayUT, double latitudeDeg,
                             double longitudeDeg) {
    EngineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return SunRiseSetFrom(state, ConfiguredPath(state), fromJulianDayUT, untilJulianDayUT, latitudeDeg,
                          longitudeDeg);
}

std::optional<PreciseLongitude> ComputePreciseLongitude(double julianDayUT, PreciseBody body,
                                                        const Conventions& conventions) {
    EngineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const LibraryPath& path = ConfiguredPath(state);
    if (!std::isfinite(julianDayUT) || path.folders.empty() || RefusedFile(state, path, julianDayUT))
        return std::nullopt;
    HandOverPath();
    // The steps of ComputeFrom for this body alone, so that the number is the same to the last bit.
    char error[AS_MAXCH] = "";
    double ayanamsa = 0.0;
    if (!SetSiderealMode(state, conventions, error) ||
        swe_get_ayanamsa_ex_ut(julianDayUT, SEFLG_SWIEPH, &ayanamsa, error) < 0)
        return std::nullopt;
    if (conventions.ayanamsa == Ayanamsa::User)
        ayanamsa = std::remainder(ayanamsa, 360.0);
    const bool ketu = body == PreciseBody::Ketu;
    const std::size_t row = static_cast<std::size_t>(ketu ? PreciseBody::Rahu : body);
    const int32 libraryBody = kLibraryBodies[row] == SE_MEAN_NODE && conventions.node == LunarNode::True
                                  ? SE_TRUE_NODE
                                  : kLibraryBodies[row];
    double xx[6];
    std::string detail;
    if (!CalcFromFiles(julianDayUT, libraryBody, kBodyFlags, xx, detail))
        return std::nullopt;
    const double longitude = Normalised(xx[0] - ayanamsa);
    return PreciseLongitude{ketu ? Normalised(longitude + 180.0) : longitude, xx[3]};
}

std::string PreciseMessage(const PreciseResult& result) {
    switch (result.error) {
    case PreciseError::None:
        return {};
    case PreciseError::EphemerisFilesMissing: {
        const std::string folders =
            result.folders.empty() ? msg::kPreciseNoFolder : Join(result.folders, ", ");
        std::string message = msg::kPreciseFilesMissing + folders + ". ";
        if (!result.foldersLeftOut.empty())
            message += msg::kPreciseFoldersLeftOut + Join(result.foldersLeftOut, ", ") + ". ";
        return message + msg::kPreciseClassicStillWorks;
    }
    case PreciseError::EphemerisFileDamaged:
        return msg::kPreciseFile + result.file + msg::kPreciseFileDamaged;
    case PreciseError::EphemerisFileNotRegular:
        return msg::kPreciseFile + result.file + msg::kPreciseFileNotRegular;
    case PreciseError::EphemerisTableMalformed:
        return msg::kPreciseFile + result.file + msg::kPreciseTableMalformed + std::to_string(result.where) +
               ").";
    case PreciseError::EphemerisDeltaTFar:
        return msg::kPreciseFile + result.file + msg::kPreciseDeltaTFar + std::to_string(result.where) +
               msg::kPreciseDeltaTFarEnd;
    case PreciseError::DateOutOfRange:
        return msg::kPreciseDateOutOfRange;
    case PreciseError::AscendantUndefined:
        return msg::kPreciseAscendantUndefined;
    case PreciseError::Other:
        break;
    }
    return msg::kPreciseOtherFailure + result.detail;
}

} // namespace precise
