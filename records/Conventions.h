// SPDX-License-Identifier: AGPL-3.0-or-later
// The conventions of the precise calculation: the ayanamsa, the node and the length of a period year.
// These are what most often makes two programs disagree on the same birth, so a reading carries the
// ones it was made with. The classic calculation keeps its own arithmetic and is always made with the
// defaults.
#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

enum class Ayanamsa { Lahiri, TrueChitrapaksha, Raman, Krishnamurti, Yukteshwar, FaganBradley, User };

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
    // The seconds as given, without trailing zeros: "11", "0.658".
    std::string SecondsText() const {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, seconds).ptr);
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

// The days of a year of the Vimshottari periods.
enum class PeriodYear { Days365_25, Days360, Sidereal };

struct Conventions {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    // Read only when ayanamsa is User; left at its defaults otherwise, so that equal choices compare
    // equal.
    UserAyanamsa user;
    LunarNode node = LunarNode::Mean;
    PeriodYear year = PeriodYear::Days365_25;

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
    return true;
}());
