// The program's two records: the birth data of the reading on screen and everything the
// computing stages leave for one another, for the display and for the files.
#pragma once

#include "records/Birth.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kBodySlots = 12;

struct ReadingStateRecord {
    double ayanamsa = 0.0;
    std::string ayanamsaText;
    std::string ascendantText;
    std::string midheavenText;
    std::string moonPositionText;
    std::string moonNakshatra;
    std::string moonRashi;
    std::array<std::string, kBodySlots> planetPositions;
    std::array<std::string, kBodySlots> bodyNames;
    std::array<std::string, kBodySlots> bodyLabels;
    // Sidereal longitudes in degrees, unrounded, of the slots Sun to Midheaven: the numbers the
    // position texts were made from, for what needs more than whole minutes (periods, navamsa).
    std::array<double, kBodySlots> longitudes{};
    std::string ayanamsaDisplayText;
    std::string lagnaSignCode;
    std::string lagnaName;
    std::int16_t ascendantSign = 0;
    std::string nakshatraName;
    std::string rashiName;
    std::string nakshatraLord;
    std::string nakshatraPada;
    std::array<std::string, 12> lordHeadings;
    std::string lastFileName;
    // Which calculation made the reading: empty for the classic one, else its caption.
    std::string calculation;
};

// One instance of each, living as long as the program.
extern Birth BirthData;
extern ReadingStateRecord ReadingState;
