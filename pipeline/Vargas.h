// SPDX-License-Identifier: AGPL-3.0-or-later
// The sixteen divisional charts (D1 the rasi chart, D9 the navamsa, ... D60): the sign a sidereal
// longitude falls in when each sign is cut into N parts, by Parashara's rules.
#pragma once

#include "records/Reading.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::array<int, 16> kVargaDivisions = {1,  2,  3,  4,  7,  9,  10, 12,
                                                        16, 20, 24, 27, 30, 40, 45, 60};

// True for the sixteen divisions above.
bool IsVargaDivision(int division);

// A division's Sanskrit name ("Navamsa") and what astrologers read in its chart ("spouse, dharma"),
// as the program's chooser shows them, and for how many bodies in the chart the classic calculation
// gives another sign than the precise one ("two bodies in three"); empty for a division that is not
// one of the sixteen.
struct VargaWords {
    int division;
    std::string_view name;
    std::string_view readFor;
    std::string_view classicDiffers;
};
VargaWords VargaWordsOf(int division);

// "1, 2, 3, ... 60": the divisions as a usage message lists them.
std::string VargaDivisionList();

// Sign (0 Aries .. 11 Pisces) of a sidereal longitude in the chart of a division; -1 for a division
// that is not one of the sixteen.
int VargaSign(int division, double longitude);

// Entries of the division's chart's twelve signs, as ChartCellEntries gives the rasi chart's: "Asc"
// first, then the labels of the Sun to Ketu in body order, retrograde marks included.
std::array<std::vector<std::string>, 12> VargaCellEntries(const Reading& reading, int division);
