// SPDX-License-Identifier: AGPL-3.0-or-later
#include "reading/HouseLords.h"

#include "reading/EmbeddedTexts.h"
#include "records/Vocabulary.h"

#include <charconv>
#include <string_view>

int PlacementHouse(int signNumber, int ascendantSign) {
    return signNumber >= ascendantSign ? signNumber - ascendantSign + 1 : signNumber - ascendantSign + 13;
}

void WriteLordHeading(std::string& out, int house, std::string_view lord, int placedInHouse) {
    // Written into the string in place: from the second reading on, its storage is reused.
    char houseText[12];
    char placedText[12];
    const auto houseEnd = std::to_chars(houseText, houseText + sizeof houseText, house).ptr;
    const auto placedEnd = std::to_chars(placedText, placedText + sizeof placedText, placedInHouse).ptr;
    const char* suffix =
        house >= 1 && house <= 12 ? OrdinalSuffixes[static_cast<std::size_t>(house - 1)] : "";
    out.clear();
    out.append("Lord of the ").append(houseText, houseEnd).append(suffix).append(" House ").append(lord);
    out.append(" is placed in House ").append(placedText, placedEnd).append(".");
}

std::array<HouseLord, 12> PlaceHouseLords(const std::array<int, kFilledBodySlots>& signs,
                                          HouseCounting counting) {
    std::array<HouseLord, 12> out{};
    const int lagna = signs[static_cast<std::size_t>(BodySlot::Ascendant)];
    if (lagna < 0 || lagna > 11)
        return out;
    // Whole-sign houses begin at the lagna's sign; the classic houses at Aries.
    const int firstSign = counting == HouseCounting::FromLagna ? lagna : 0;
    for (std::size_t k = 0; k < 12; ++k) {
        HouseLord& p = out[k];
        p.lord = kSigns[(static_cast<std::size_t>(firstSign) + k) % 12].ruler;
        const int sign = signs[static_cast<std::size_t>(p.lord)];
        if (sign >= 0 && sign < 12)
            p.placedInHouse = PlacementHouse(sign + 1, lagna + 1);
    }
    return out;
}

namespace {

// The build has already refused a broken file, so errors cannot occur here; should one slip through,
// the affected texts stay empty rather than the program stopping.
template <std::size_t Rows>
std::array<HouseTexts, Rows> ParseEmbedded(const char* source, const std::vector<std::string>& sections) {
    const TextTableParse parse = ParseTextTable(source, sections);
    std::array<HouseTexts, Rows> table;
    for (std::size_t r = 0; r < Rows && r < parse.sections.size(); ++r)
        table[r] = parse.sections[r];
    return table;
}

} // namespace

const std::array<HouseTexts, 7>& PlanetInHouseTexts() {
    static const auto table = ParseEmbedded<7>(PlanetInHouseSource(), PlanetTableSections());
    return table;
}

const std::array<HouseTexts, 12>& LordInHouseTexts() {
    static const auto table = ParseEmbedded<12>(LordInHouseSource(), LordTableSections());
    return table;
}
