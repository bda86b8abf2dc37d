// House lords: the lord of each house, the house in which it stands, and the heading lines.
#pragma once

#include <array>
#include <string>

extern const std::array<const char*, 12> SignRulers;
extern const std::array<const char*, 12> SignNames;
extern const std::array<const char*, 12> OrdinalSuffixes;

struct HouseLordPlacement {
    int house = 0;         // 1..12
    std::string lord;      // ruler of the house's sign, counted from Aries
    int lordBody = -1;     // index of the lord in ReadingState.bodyNames (0..6), or -1
    int placedInHouse = 0; // 1..12 counted from the ascendant, or 0 when the lord's sign is unknown
    std::string heading;
};

// House counted from the ascendant sign A (1..12) in which a body in sign S (1..12) stands.
int PlacementHouse(int signNumber, int ascendantSign);

// Heading line, e.g. "Lord of the 11th House Saturn is placed in House 3."
std::string LordHeading(int house, const std::string& lord, int placedInHouse);

// The twelve placements, read from ReadingState.ascendantSign, bodyNames and planetPositions.
std::array<HouseLordPlacement, 12> ComputeHouseLords();

// Stage: writes ReadingState.lordHeadings.
void BuildLordHeadings();
