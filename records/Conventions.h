// SPDX-License-Identifier: AGPL-3.0-or-later
// The conventions of the precise calculation: the ayanamsa, the node and the length of a period year;
// and, for either calculation, which places of the ashtakavarga give bindus. These are what most often
// makes two programs disagree on the same birth, so a reading carries the ones it was made with. The
// classic calculation keeps its own arithmetic and is made with the defaults but for the ashtakavarga's
// places, which take no arithmetic of their own.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

enum class Ayanamsa { Lahiri, TrueChitrapaksha, Raman, Krishnamurti, Yukteshwar, FaganBradley, User };

// A user's own ayanamsa lies within these degrees: every ayanamsa in use does, so a value outside them
// is a slip (99 for 23) that would move every position far off.
inline constexpr int kLeastUserAyanamsa = 10;
inline constexpr int kMostUserAyanamsa = 40;

// A user's own ayanamsa: its value (nutation included, as the ayanamsa is shown) at 0h universal time
// of a date, from which it moves with precession.
struct UserAyanamsa {
    int degrees = 0;
    int minutes = 0;
    double seconds = 0.0;
    int year = 2000;
    int month = 1;
    int day = 1;

    double Degrees() const { return degrees + minutes / 60.0 + seconds / 3600.0; }
    bool Plausible() const { return Degrees() >= kLeastUserAyanamsa && Degrees() <= kMostUserAyanamsa; }
    // The seconds as given, without trailing zeros and never in exponent form, so that the key reads
    // them back: "11", "0.658", "0.0001".
    std::string SecondsText() const {
        char text[64];
        return std::string(text,
                           std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed).ptr);
    }
    // "2000-01-01".
    std::string DateText() const {
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
        return text;
    }
    bool operator==(const UserAyanamsa&) const = default;
};

enum class LunarNode { Mean, True };

// Whose tables give the ashtakavarga's places where the texts differ: those of B. V. Raman's books and
// most programs, or Parashara's own verses (Brihat Parashara Hora Shastra, chapter 66). They differ only
// in the Moon's places from the Moon, Mars and Jupiter and Venus's from Mars.
enum class AshtakavargaPlaces { Common, Parashara };

// The days of a year of the Vimshottari periods.
enum class PeriodYear { Days365_25, Days360, Sidereal };

struct Conventions {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    // Read only when ayanamsa is User; left at its defaults otherwise, so that equal choices compare
    // equal.
    UserAyanamsa user;
    LunarNode node = LunarNode::Mean;
    PeriodYear year = PeriodYear::Days365_25;
    AshtakavargaPlaces ashtakavarga = AshtakavargaPlaces::Common;

    bool operator==(const Conventions&) const = default;
};

// The words of each choice, written once: the companion's key and the name a reading shows.
struct AyanamsaWords {
    Ayanamsa ayanamsa;
    std::string_view key;
    std::string_view name;
};
inline constexpr std::array<AyanamsaWords, 6> kNamedAyanamsas{{
    {Ayanamsa::Lahiri, "lahiri", "Lahiri"},
    {Ayanamsa::TrueChitrapaksha, "true-chitra", "True Chitrapaksha"},
    {Ayanamsa::Raman, "raman", "Raman"},
    {Ayanamsa::Krishnamurti, "krishnamurti", "Krishnamurti"},
    {Ayanamsa::Yukteshwar, "yukteshwar", "Yukteshwar"},
    {Ayanamsa::FaganBradley, "fagan-bradley", "Fagan-Bradley"},
}};
// The user's own: "user:DEG:MIN:SEC@YYYY-MM-DD".
inline constexpr std::string_view kUserAyanamsaKey = "user";
inline constexpr std::string_view kUserAyanamsaName = "user";

struct NodeWords {
    LunarNode node;
    std::string_view key;
    std::string_view name;
};
inline constexpr std::array<NodeWords, 2> kNodes{{
    {LunarNode::Mean, "mean", "mean node"},
    {LunarNode::True, "true", "true node"},
}};

struct PeriodYearWords {
    PeriodYear year;
    std::string_view key;
    double days;
    std::string_view name;
};
inline constexpr std::array<PeriodYearWords, 3> kPeriodYears{{
    {PeriodYear::Days365_25, "365.25", 365.25, "365.25-day years"},
    {PeriodYear::Days360, "360", 360.0, "360-day years"},
    {PeriodYear::Sidereal, "sidereal", 365.256363, "sidereal years of 365.256363 days"},
}};

struct AshtakavargaPlacesWords {
    AshtakavargaPlaces places;
    std::string_view key;
    std::string_view name;
};
inline constexpr std::array<AshtakavargaPlacesWords, 2> kAshtakavargaPlaces{{
    {AshtakavargaPlaces::Common, "common", "Common (as most programs)"},
    {AshtakavargaPlaces::Parashara, "parashara", "Parashara's verses"},
}};

// The name of a named ayanamsa ("Raman"); "user" for the user's own.
constexpr std::string_view AyanamsaName(Ayanamsa ayanamsa) {
    for (const AyanamsaWords& words : kNamedAyanamsas)
        if (words.ayanamsa == ayanamsa)
            return words.name;
    return kUserAyanamsaName;
}

constexpr const NodeWords& Node(LunarNode node) {
    return kNodes[static_cast<std::size_t>(node)];
}

constexpr const PeriodYearWords& Year(PeriodYear year) {
    return kPeriodYears[static_cast<std::size_t>(year)];
}

constexpr const AshtakavargaPlacesWords& PlacesWords(AshtakavargaPlaces places) {
    return kAshtakavargaPlaces[static_cast<std::size_t>(places)];
}

constexpr double DaysPerYear(PeriodYear year) {
    return Year(year).days;
}

static_assert([] {
    for (std::size_t i = 0; i < kNodes.size(); ++i)
        if (static_cast<std::size_t>(kNodes[i].node) != i)
            return false;
    for (std::size_t i = 0; i < kPeriodYears.size(); ++i)
        if (static_cast<std::size_t>(kPeriodYears[i].year) != i)
            return false;
    for (std::size_t i = 0; i < kAshtakavargaPlaces.size(); ++i)
        if (static_cast<std::size_t>(kAshtakavargaPlaces[i].places) != i)
            return false;
    return true;
}());
