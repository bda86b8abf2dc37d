// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/Vargas.h"

#include "reading/ReadingTexts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

enum Sign {
    Aries,
    Taurus,
    Gemini,
    Cancer,
    Leo,
    Virgo,
    Libra,
    Scorpio,
    Sagittarius,
    Capricorn,
    Aquarius,
    Pisces
};

bool Odd(int sign) {
    return sign % 2 == 0; // Aries, the first, is odd
}

// The sign the first part of a sign of this quality begins from: movable, fixed, dual.
int ByQuality(int sign, int movable, int fixed, int dual) {
    const int quality = sign % 3;
    return quality == 0 ? movable : quality == 1 ? fixed : dual;
}

// The thirtieths are unequal: each part's end in degrees and its sign, odd signs first.
struct Trimsamsa {
    int end;
    int sign;
};
constexpr Trimsamsa kOddTrimsamsa[] = {
    {5, Aries}, {10, Aquarius}, {18, Sagittarius}, {25, Gemini}, {30, Libra}};
constexpr Trimsamsa kEvenTrimsamsa[] = {
    {5, Taurus}, {12, Virgo}, {20, Pisces}, {25, Capricorn}, {30, Scorpio}};

// The shares of bodies in another sign are those quillmere-compare measures over 20,000 random births
// (seed 1; the Sun to Ketu and the ascendant), rounded to a plain fraction; the percentage follows.
constexpr std::array<VargaWords, kVargaDivisions.size()> kVargaWords{{
    {1, "Rasi", "the body and the whole life", "one body in fifty-five"},        // 1.8%
    {2, "Hora", "wealth", "one body in sixty"},                                  // 1.7%
    {3, "Drekkana", "brothers and sisters", "one body in nineteen"},             // 5.4%
    {4, "Chaturthamsa", "home, property and fortune", "one body in fourteen"},   // 7.0%
    {7, "Saptamsa", "children", "one body in eight"},                            // 12.7%
    {9, "Navamsa", "marriage and dharma", "one body in six"},                    // 16.1%
    {10, "Dasamsa", "career and standing", "one body in six"},                   // 16.9%
    {12, "Dwadasamsa", "parents", "one body in five"},                           // 21.3%
    {16, "Shodasamsa", "vehicles and comforts", "two bodies in seven"},          // 28.5%
    {20, "Vimsamsa", "spiritual life", "one body in three"},                     // 35.6%
    {24, "Chaturvimsamsa", "learning", "two bodies in five"},                    // 41.4%
    {27, "Saptavimsamsa", "strengths and weaknesses", "nearly one body in two"}, // 47.0%
    {30, "Trimsamsa", "misfortunes", "one body in eleven"},                      // 9.0%
    {40, "Khavedamsa", "the mother's line", "three bodies in five"},             // 58.8%
    {45, "Akshavedamsa", "the father's line", "three bodies in five"},           // 61.1%
    {60, "Shashtyamsa", "past deeds, every matter", "two bodies in three"},      // 66.0%
}};

} // namespace

VargaWords VargaWordsOf(int division) {
    for (const VargaWords& words : kVargaWords)
        if (words.division == division)
            return words;
    return {division, {}, {}, {}};
}

std::string VargaDivisionList() {
    std::string list;
    for (int division : kVargaDivisions)
        list += (list.empty() ? "" : ", ") + std::to_string(division);
    return list;
}

bool IsVargaDivision(int division) {
    return std::find(kVargaDivisions.begin(), kVargaDivisions.end(), division) != kVargaDivisions.end();
}

int VargaSign(int division, double longitude) {
    if (!IsVargaDivision(division))
        return -1;
    double w = std::fmod(longitude, 360.0);
    if (w < 0)
        w += 360;
    // Times N before dividing by 30, as the navamsa has always been found: a boundary such as 93 20',
    // whose nearest double lies just below it, still begins its part.
    const int counted = static_cast<int>(std::floor(w * division / 30));
    if (division == 9 || division == 27)
        return counted % 12;
    const int sign = counted / division % 12;
    const int part = counted % division;
    int first = sign;
    switch (division) {
    case 2:
        return (Odd(sign) == (part == 0)) ? Leo : Cancer;
    case 3:
        return (sign + 4 * part) % 12;
    case 4:
        return (sign + 3 * part) % 12;
    case 7:
        first = Odd(sign) ? sign : sign + 6;
        break;
    case 10:
        first = Odd(sign) ? sign : sign + 8;
        break;
    case 16:
    case 45:
        first = ByQuality(sign, Aries, Leo, Sagittarius);
        break;
    case 20:
        first = ByQuality(sign, Aries, Sagittarius, Leo);
        break;
    case 24:
        first = Odd(sign) ? Leo : Cancer;
        break;
    case 30:
        for (const Trimsamsa& t : Odd(sign) ? kOddTrimsamsa : kEvenTrimsamsa)
            if (part < t.end)
                return t.sign;
        return -1; // not reached: the last part ends at 30
    case 40:
        first = Odd(sign) ? Aries : Libra;
        break;
    default: // 1, 12 and 60 count on from the sign itself
        break;
    }
    return (first + part) % 12;
}

std::array<std::vector<std::string>, 12> VargaCellEntries(const Reading& reading, int division) {
    std::array<std::vector<std::string>, 12> cells;
    const auto add = [&](BodySlot body, std::string entry) {
        const int sign = VargaSign(division, reading.Longitude(body));
        if (sign >= 0)
            cells[static_cast<std::size_t>(sign)].push_back(std::move(entry));
    };
    add(BodySlot::Ascendant, "Asc");
    for (int i = 0; i <= static_cast<int>(BodySlot::Ketu); ++i)
        add(static_cast<BodySlot>(i), BodyLabel(reading, static_cast<BodySlot>(i)));
    return cells;
}
