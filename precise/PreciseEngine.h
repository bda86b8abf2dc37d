// SPDX-License-Identifier: AGPL-3.0-or-later
// The precise engine: the sidereal longitudes and speeds of the nine bodies, the ascendant, the midheaven
// and the ayanamsa, geocentric and apparent, computed by the Swiss Ephemeris from its files, for the
// chosen ayanamsa (Lahiri unless chosen otherwise) and node (the mean one unless the true one is chosen).
// A result is never taken from the library's less precise analytic fallback, which it uses without
// failing when a file is missing: such a result is refused, and the classic computation is unaffected.
// Before the library opens a file, the engine makes sure it is a regular file (a pipe would block the
// library forever) and, once per run, that a file the program knows by name is the file the Debian
// package swe-basic-data installs, and that the library's text files beside them (its Delta T table
// and leap seconds) are in its format and their Delta T close to its own: the library itself does not
// notice a damaged file, writes outside its table for a malformed line, and takes any Delta T given.
// Numbers only; the reading's texts are made by the layers above.
//
// Safe to call from any thread: the library keeps global (or per-thread) state, so every call holds one
// lock and brings the calling thread's library state up to the search path last set and to the
// ayanamsa of its own conventions, so that readings of different conventions never disturb each other.
#pragma once

#include "records/Conventions.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace precise {

// The program's fixed body-slot order. Rahu is the mean or the true node, as chosen; Ketu lies opposite
// it.
enum class PreciseBody { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Rahu, Ketu };
inline constexpr std::size_t kPreciseBodyCount = 9;

struct PrecisePositions {
    // Sidereal degrees in [0, 360), by PreciseBody.
    std::array<double, kPreciseBodyCount> longitude{};
    // Degrees per day; negative while the body is retrograde (the nodes nearly always are).
    std::array<double, kPreciseBodyCount> speed{};
    // Sidereal degrees in [0, 360).
    double ascendant = 0.0;
    double midheaven = 0.0;
    // The chosen ayanamsa of the moment, nutation included: a tropical apparent longitude minus this
    // is the sidereal longitude above.
    double ayanamsa = 0.0;

    double Longitude(PreciseBody body) const { return longitude[static_cast<std::size_t>(body)]; }
    double Speed(PreciseBody body) const { return speed[static_cast<std::size_t>(body)]; }
};

enum class PreciseError {
    None,
    // The ephemeris files could not be found or read in any folder searched.
    EphemerisFilesMissing,
    // A file the program knows by name differs from the one it knows: see file.
    EphemerisFileDamaged,
    // Where the library would open a file there is a pipe, a folder or a device: see file.
    EphemerisFileNotRegular,
    // A text file the library reads (its Delta T table, its leap seconds) is not in its format: see
    // file, and where for the first line that is not.
    EphemerisTableMalformed,
    // The Delta T table gives a value far from the library's own: see file, and where for the year.
    EphemerisDeltaTFar,
    // The files were found but do not cover the moment.
    DateOutOfRange,
    // At the geographic poles no point of the ecliptic rises.
    AscendantUndefined,
    // Anything else, such as a latitude beyond 90 degrees; detail says what.
    Other,
};

struct PreciseResult {
    std::optional<PrecisePositions> positions; // set exactly when error is None
    PreciseError error = PreciseError::None;
    // The library's or the engine's own words on the failure, for a log; empty on success.
    std::string detail;
    // The folders searched for the files, for EphemerisFilesMissing.
    std::vector<std::string> folders;
    // The folders set that the library cannot be given (see EphemerisSearchPath), whatever the outcome,
    // so that a caller may say so even when the files were found elsewhere.
    std::vector<std::string> foldersLeftOut;
    // The path of the file refused, for the errors that name a file.
    std::string file;
    // The line of the file, or the year, for EphemerisTableMalformed and EphemerisDeltaTFar.
    int where = 0;
};

// The system folder of the Debian packages swe-basic-data and its kin.
inline constexpr const char* kSystemEphemerisFolder = "/usr/share/libswe/ephe";
// Folders to search instead of the default ones, separated as in PATH.
inline constexpr const char* kEphemerisPathVariable = "QUILLMERE_EPHE_PATH";

// The folders of QUILLMERE_EPHE_PATH when it is set and not empty; else the folder "ephe" beside the
// executable (left out when executableDir is empty) and then the system folder. The engine starts with
// DefaultEphemerisFolders("") until SetEphemerisSearchPath is called.
std::vector<std::string> DefaultEphemerisFolders(const std::string& executableDir);

// The folders searched for the ephemeris files, in order; empty names are ignored. Takes effect at the
// next computation, in every thread.
void SetEphemerisSearchPath(std::vector<std::string> folders);

// The folders the library will search: those set above that it can be given, in order, or the folders
// of the library's own variable SE_EPHE_PATH, which takes precedence when it is set. A folder the
// library cannot take is left out and the others are still searched: a name holding the list separator,
// a line break or a leading blank, a name longer than the library keeps, and folders beyond the
// library's limits on the whole list (its length, and 20 folders).
std::vector<std::string> EphemerisSearchPath();

// The Julian day of a civil date and time in Universal Time, Gregorian calendar; hour 24 is midnight of
// the next day.
double JulianDayUT(int year, int month, int day, int hour, int minute);

// The sidereal positions at julianDayUT for a place at latitudeDeg (north positive, -90 to 90) and
// longitudeDeg (east positive, -180 to 180), with the ayanamsa and the node of the conventions (the
// period year is not the engine's). A user's ayanamsa equals its value at 0h universal time of its date
// and moves with the library's precession from there.
PreciseResult ComputePrecisePositions(double julianDayUT, double latitudeDeg, double longitudeDeg,
                                      const Conventions& conventions = {});

// The Sun's rising and setting at a place at sea level: the first moment (a Julian day in universal time)
// at or after fromJulianDayUT and before untilJulianDayUT at which the upper limb of the Sun's disc
// touches the horizon, the standard refraction included; none where the Sun does not rise (or set) in
// that span. On a failure (error not None) neither is given; the errors are those of
// ComputePrecisePositions, AscendantUndefined aside.
struct SunRiseSet {
    std::optional<double> rise;
    std::optional<double> set;
    PreciseError error = PreciseError::None;
    std::string detail;
};
SunRiseSet ComputeSunRiseSet(double fromJulianDayUT, double untilJulianDayUT, double latitudeDeg,
                             double longitudeDeg);
// The sidereal longitude of one body at julianDayUT, the number ComputePrecisePositions gives for it,
// and its tropical speed (degrees a day; the sidereal one differs by the ayanamsa's rate, some fifty
// arc-seconds a year), without the other bodies and the angles: for searches that step one body
// through time. Nothing when the files do not give it (ComputePrecisePositions then says why).
struct PreciseLongitude {
    double longitude = 0.0;
    double speed = 0.0;
};
std::optional<PreciseLongitude> ComputePreciseLongitude(double julianDayUT, PreciseBody body,
                                                        const Conventions& conventions = {});

// The user's message for a failed result (empty for a success), from records/Messages.h:
//   EphemerisFilesMissing  msg::kPreciseFilesMissing, the folders joined by ", ", ". ", when folders
//                          were left out msg::kPreciseFoldersLeftOut, those joined by ", ", ". ",
//                          then msg::kPreciseClassicStillWorks
//   EphemerisFileDamaged   msg::kPreciseFile, the file, msg::kPreciseFileDamaged
//   EphemerisFileNotRegular msg::kPreciseFile, the file, msg::kPreciseFileNotRegular
//   EphemerisTableMalformed msg::kPreciseFile, the file, msg::kPreciseTableMalformed, the line, ")."
//   EphemerisDeltaTFar     msg::kPreciseFile, the file, msg::kPreciseDeltaTFar, the year,
//                          msg::kPreciseDeltaTFarEnd
//   DateOutOfRange         msg::kPreciseDateOutOfRange
//   AscendantUndefined     msg::kPreciseAscendantUndefined
//   Other                  msg::kPreciseOtherFailure and the detail
std::string PreciseMessage(const PreciseResult& result);

} // namespace precise
