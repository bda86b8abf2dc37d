#include "precise/PreciseEngine.h"

#include "records/Messages.h"

#include <swephexp.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <mutex>
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
constexpr std::size_t kLibraryPathLimit = AS_MAXCH - 1 - 13;
constexpr const char* kLibraryPathVariable = "SE_EPHE_PATH";

// 2000 January 1, 12h: covered by every set of ephemeris files, so a failure there means no usable files.
constexpr double kProbeJulianDay = 2451545.0;

// Library body numbers in the order of PreciseBody, Ketu aside.
constexpr std::array<int32, 8> kLibraryBodies{SE_SUN,  SE_MOON,    SE_MERCURY, SE_VENUS,
                                              SE_MARS, SE_JUPITER, SE_SATURN,  SE_MEAN_NODE};
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

// What the library is handed: the path string and the folders it names.
struct LibraryPath {
    std::string text;
    std::vector<std::string> folders;
};

// Mirrors the library's own choice, so that a refusal names the folders that were really searched.
LibraryPath BuildLibraryPath(const std::vector<std::string>& configured, const std::string& libraryVariable) {
    LibraryPath path;
    if (!libraryVariable.empty() && libraryVariable.size() <= kLibraryPathLimit) {
        path.text = libraryVariable;
        path.folders = Split(libraryVariable, kLibrarySeparators);
        return path;
    }
    for (const std::string& folder : configured) {
        if (folder.empty() || folder.find_first_of(kLibrarySeparators) != std::string::npos)
            continue;
        const std::size_t length = path.text.size() + (path.text.empty() ? 0 : 1) + folder.size();
        if (length > kLibraryPathLimit)
            break;
        if (!path.text.empty())
            path.text += kLibrarySeparators[0];
        path.text += folder;
        path.folders.push_back(folder);
    }
    return path;
}

struct EngineState {
    std::mutex mutex;
    std::vector<std::string> folders = DefaultEphemerisFolders("");
    std::uint64_t generation = 1;
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
};
thread_local ThreadState tThread;

// Brings this thread's library state up to the configured path; the caller holds the lock.
const LibraryPath& ApplyConfiguration(const EngineState& state) {
    std::string libraryVariable = Environment(kLibraryPathVariable);
    if (tThread.generation != state.generation || tThread.libraryVariable != libraryVariable) {
        tThread.path = BuildLibraryPath(state.folders, libraryVariable);
        // An empty path would make the library search its built-in folders: never hand it one.
        if (!tThread.path.text.empty())
            swe_set_ephe_path(tThread.path.text.c_str());
        tThread.generation = state.generation;
        tThread.libraryVariable = std::move(libraryVariable);
    }
    return tThread.path;
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

PreciseResult ComputePrecisePositions(double julianDayUT, double latitudeDeg, double longitudeDeg) {
    if (!std::isfinite(julianDayUT))
        return Failure(PreciseError::Other, "the moment is not a number");
    if (!(std::fabs(latitudeDeg) <= 90.0) || !(std::fabs(longitudeDeg) <= 180.0))
        return Failure(PreciseError::Other, "the latitude or longitude is out of range");

    EngineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const LibraryPath& path = ApplyConfiguration(state);
    if (path.folders.empty())
        return Failure(PreciseError::EphemerisFilesMissing, "no folder to search");

    // Set at every call, as other code in this thread may have chosen another mode; it costs nothing.
    swe_set_sid_mode(SE_SIDM_LAHIRI, 0.0, 0.0);
    char error[AS_MAXCH] = "";
    double ayanamsa = 0.0;
    double ayanamsaLater = 0.0;
    if (swe_get_ayanamsa_ex_ut(julianDayUT, SEFLG_SWIEPH, &ayanamsa, error) < 0 ||
        swe_get_ayanamsa_ex_ut(julianDayUT + kRateStepDays, SEFLG_SWIEPH, &ayanamsaLater, error) < 0)
        return Failure(PreciseError::Other, error);
    const double ayanamsaRate = (ayanamsaLater - ayanamsa) / kRateStepDays;

    PrecisePositions positions;
    positions.ayanamsa = ayanamsa;
    for (std::size_t i = 0; i < kLibraryBodies.size(); ++i) {
        double xx[6];
        std::string detail;
        if (!CalcFromFiles(julianDayUT, kLibraryBodies[i], kBodyFlags, xx, detail)) {
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

std::string PreciseMessage(const PreciseResult& result) {
    switch (result.error) {
    case PreciseError::None:
        return {};
    case PreciseError::EphemerisFilesMissing: {
        const std::string folders =
            result.folders.empty() ? msg::kPreciseNoFolder : Join(result.folders, ", ");
        return msg::kPreciseFilesMissing + folders + ". " + msg::kPreciseClassicStillWorks;
    }
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
