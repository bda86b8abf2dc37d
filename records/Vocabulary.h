// SPDX-License-Identifier: AGPL-3.0-or-later
// The words of a reading, each written once: the twelve signs, the body slots in their fixed order,
// the nakshatras and the months. Everything else derives its tables from these.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The bodies and angles of a reading, in the order every computation, the chart and the files use.
enum class BodySlot : int {
    Sun,
    Moon,
    Mercury,
    Venus,
    Mars,
    Jupiter,
    Saturn,
    Rahu,
    Ketu,
    Ascendant,
    Midheaven
};
inline constexpr int kFilledBodySlots = 11;
// The seven planets that rule signs and have interpretation paragraphs.
inline constexpr int kRulingPlanets = 7;

struct BodyWords {
    std::string_view english; // "Sun"
    std::string_view label;   // the reading's own name, "Surya"
};

inline constexpr std::array<BodyWords, kFilledBodySlots> kBodies{{{"Sun", "Surya"},
                                                                  {"Moon", "Chandra"},
                                                                  {"Mercury", "Budha"},
                                                                  {"Venus", "Shukra"},
                                                                  {"Mars", "Mangala"},
                                                                  {"Jupiter", "Guru"},
                                                                  {"Saturn", "Shani"},
                                                                  {"Rahu", "Rahu"},
                                                                  {"Ketu", "Ketu"},
                                                                  {"Ascendant", "Ascendant"},
                                                                  {"Midheaven", "Midheaven"}}};

constexpr const BodyWords& Body(BodySlot slot) {
    return kBodies[static_cast<std::size_t>(slot)];
}

struct SignWords {
    std::string_view code;     // "Ari", the first three letters of the English name
    std::string_view english;  // "Aries"
    std::string_view sanskrit; // the rashi, "Mesha"
    int number;                // 1 Aries .. 12 Pisces
    BodySlot ruler;
};

inline constexpr std::array<SignWords, 12> kSigns{{{"Ari", "Aries", "Mesha", 1, BodySlot::Mars},
                                                   {"Tau", "Taurus", "Vrishabha", 2, BodySlot::Venus},
                                                   {"Gem", "Gemini", "Mithuna", 3, BodySlot::Mercury},
                                                   {"Can", "Cancer", "Kataka", 4, BodySlot::Moon},
                                                   {"Leo", "Leo", "Simha", 5, BodySlot::Sun},
                                                   {"Vir", "Virgo", "Kanya", 6, BodySlot::Mercury},
                                                   {"Lib", "Libra", "Thula", 7, BodySlot::Venus},
                                                   {"Sco", "Scorpio", "Vrishcika", 8, BodySlot::Mars},
                                                   {"Sag", "Sagittarius", "Dhanush", 9, BodySlot::Jupiter},
                                                   {"Cap", "Capricorn", "Makara", 10, BodySlot::Saturn},
                                                   {"Aqu", "Aquarius", "Kumbha", 11, BodySlot::Saturn},
                                                   {"Pis", "Pisces", "Meena", 12, BodySlot::Jupiter}}};

// Index 0..11 of the sign with a three-letter code, or -1.
constexpr int SignIndexOfCode(std::string_view code) {
    for (std::size_t s = 0; s < kSigns.size(); ++s)
        if (kSigns[s].code == code)
            return static_cast<int>(s);
    return -1;
}

// The lords of the nakshatras in their repeating order from Aswini, with the years of their
// Vimshottari periods.
struct PeriodLord {
    BodySlot body;
    int years;
};
inline constexpr std::array<PeriodLord, 9> kNakshatraLords{{{BodySlot::Ketu, 7},
                                                            {BodySlot::Venus, 20},
                                                            {BodySlot::Sun, 6},
                                                            {BodySlot::Moon, 10},
                                                            {BodySlot::Mars, 7},
                                                            {BodySlot::Rahu, 18},
                                                            {BodySlot::Jupiter, 16},
                                                            {BodySlot::Saturn, 19},
                                                            {BodySlot::Mercury, 17}}};

// The twenty-seven nakshatras from Aswini, as the reading spells them; each spans 13 degrees 20 minutes.
inline constexpr std::array<std::string_view, 27> kNakshatraNames{"Aswini",
                                                                  "Bharani",
                                                                  "Krittika",
                                                                  "Rohini",
                                                                  "Mrigsira",
                                                                  "Ardra",
                                                                  "Punarvasu",
                                                                  "Pushya",
                                                                  "Aslesha",
                                                                  "Magha",
                                                                  "Purbha Phalguni",
                                                                  "Uttara Phalguni",
                                                                  "Hasta",
                                                                  "Chitra",
                                                                  "Swati",
                                                                  "Vishakha",
                                                                  "Anuradha",
                                                                  "Jyeshtha",
                                                                  "Mula",
                                                                  "Purva Ashadha",
                                                                  "Uttara Ashadha",
                                                                  "Shravana",
                                                                  "Dhanishtha",
                                                                  "Shatbisha",
                                                                  "Poorva Bhadrapada",
                                                                  "Uttara Bhadrapada",
                                                                  "Revati"};
inline constexpr int kNakshatraCount = static_cast<int>(kNakshatraNames.size());

inline constexpr std::array<std::string_view, 12> kMonthNames{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// Full English month name, 1 = "January"; empty outside 1..12.
constexpr std::string_view MonthName(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[static_cast<std::size_t>(month - 1)] : std::string_view{};
}

// The code, the name and the ruler stay one fact each.
static_assert([] {
    for (const SignWords& s : kSigns)
        if (s.english.substr(0, 3) != s.code || s.number != SignIndexOfCode(s.code) + 1)
            return false;
    return true;
}());
