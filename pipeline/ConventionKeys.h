// SPDX-License-Identifier: AGPL-3.0-or-later
// The conventions written as short keys, as the companion takes them and a settings file can keep them:
// "--ayanamsa raman", "--node true", "--year-days 360", and a whole calculation as one text,
// "precise,ayanamsa=raman,node=true,year-days=360". Each reader returns the refusal's words (without the
// option's name in front), or nothing when the key was read.
#pragma once

#include "records/Reading.h"

#include <optional>
#include <string>
#include <string_view>

// Follows the name of a convention chosen with the classic calculation.
inline constexpr const char* kOnlyWithPrecise = " can be chosen only with the precise calculation.";

// "lahiri", "true-chitra", "raman", "krishnamurti", "yukteshwar", "fagan-bradley", or the user's own
// "user:DEG:MIN:SEC@YYYY-MM-DD" (whole degrees of one or two digits, minutes 0 to 59, seconds below 60
// with up to six decimals, the whole from 10 to 40 degrees, a date of the years 1800 to 2399).
std::optional<std::string> ReadAyanamsaKey(std::string_view key, Conventions& conventions);
// "mean" or "true".
std::optional<std::string> ReadNodeKey(std::string_view key, Conventions& conventions);
// "365.25", "360" or "sidereal".
std::optional<std::string> ReadPeriodYearKey(std::string_view key, Conventions& conventions);

// "common" or "parashara".
std::optional<std::string> ReadAshtakavargaPlacesKey(std::string_view key, Conventions& conventions);

// Whether the date of a user's own ayanamsa is one of the calendar, and of the years it may have.
bool UserDateReal(const UserAyanamsa& user);
bool UserYearKnown(const UserAyanamsa& user);

// "classic" or "precise", then any of ",ayanamsa=KEY", ",node=KEY", ",year-days=KEY",
// ",ashtakavarga=KEY" (the last given wins); the conventions but the ashtakavarga's only with
// "precise". Conventions not given are the defaults.
std::optional<std::string> ReadCalculationKey(std::string_view text, CalculationChoice& choice);

// The key of the conventions' ayanamsa: "raman", or "user:23:51:11@2000-01-01".
std::string AyanamsaKey(const Conventions& conventions);
// The whole choice as ReadCalculationKey reads it: "classic", or "precise" with every convention; either
// followed by the ashtakavarga's places when they are not the common ones.
std::string CalculationKey(const CalculationChoice& choice);
