// SPDX-License-Identifier: AGPL-3.0-or-later
// House lords: the lord of each house, the house in which it stands, the heading lines and the two
// interpretation texts of every house. Free of Qt; reading/ReadingTexts.h picks a reading's texts and
// forms/HouseLordReport.h writes the coloured report.
#pragma once

#include "reading/TextTable.h"
#include "records/Reading.h"

#include <array>
#include <string>
#include <string_view>

inline constexpr std::array<const char*, 12> OrdinalSuffixes{"st", "nd", "rd", "th", "th", "th",
                                                             "th", "th", "th", "th", "th", "th"};

// Which sign a house has: the classic reading gives house N the N-th sign from Aries whatever the
// ascendant; the precise one the N-th sign from the lagna (whole-sign houses).
enum class HouseCounting { FromAries, FromLagna };

// House counted from the ascendant sign A (1..12) in which a body in sign S (1..12) stands.
int PlacementHouse(int signNumber, int ascendantSign);

// Heading line, e.g. "Lord of the 11th House Saturn is placed in House 3.", written over `out` so
// that its storage is reused.
void WriteLordHeading(std::string& out, int house, std::string_view lord, int placedInHouse);

// The lord of each house and the house in which it stands, from the signs (0 Aries .. 11 Pisces, -1 for
// none) of a reading's bodies by BodySlot, the lagna being the ascendant's sign. A lord whose sign is
// unknown, and every lord of a chart without a lagna, stays unplaced (house 0).
std::array<HouseLord, 12> PlaceHouseLords(const std::array<int, kFilledBodySlots>& signs,
                                          HouseCounting counting);

// Interpretation texts, edited in reading/texts/*.txt and embedded by the build; parsed at first use.
// PlanetInHouseTexts()[planet][house - 1], planet 0..6 = Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn.
const std::array<HouseTexts, 7>& PlanetInHouseTexts();
// LordInHouseTexts()[N - 1][M - 1]: the lord of house N standing in house M.
const std::array<HouseTexts, 12>& LordInHouseTexts();
