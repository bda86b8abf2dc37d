#include "reading/modHouseLords.h"

#include "reading/EmbeddedTexts.h"
#include "records/Records.h"
#include "records/Vocabulary.h"

#include <charconv>
#include <string_view>

const std::array<const char*, 12> OrdinalSuffixes{"st", "nd", "rd", "th", "th", "th",
                                                  "th", "th", "th", "th", "th", "th"};

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

std::array<HouseLordPlacement, 12> ComputeHouseLords(HouseCounting counting) {
    std::array<HouseLordPlacement, 12> out;
    const int ascendant = ReadingState.ascendantSign;
    // Whole-sign houses begin at the lagna's sign; without a lagna no house has a sign.
    const bool fromLagna = counting == HouseCounting::FromLagna;
    if (fromLagna && (ascendant < 1 || ascendant > 12)) {
        for (int k = 0; k < 12; ++k)
            out[static_cast<std::size_t>(k)].house = k + 1;
        return out;
    }
    const int firstSign = fromLagna ? ascendant - 1 : 0;
    for (int k = 0; k < 12; ++k) {
        HouseLordPlacement& p = out[static_cast<std::size_t>(k)];
        p.house = k + 1;
        p.lord = Body(kSigns[static_cast<std::size_t>((firstSign + k) % 12)].ruler).english;
        for (int j = 0; j < 7 && p.lordBody < 0; ++j)
            if (ReadingState.bodyNames[static_cast<std::size_t>(j)] == p.lord)
                p.lordBody = j;
        if (p.lordBody < 0 || ascendant < 1 || ascendant > 12)
            continue;
        const std::string& position = ReadingState.planetPositions[static_cast<std::size_t>(p.lordBody)];
        if (position.size() < 6)
            continue;
        for (int b = 0; b < 12; ++b) {
            // Characters 4 to 6 of the position text against the sign's code.
            if (std::string_view(position).substr(3, 3) == kSigns[static_cast<std::size_t>(b)].code) {
                p.placedInHouse = PlacementHouse(b + 1, ascendant);
                break;
            }
        }
    }
    return out;
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

void WriteHeading(std::size_t k, const HouseLordPlacement& p) {
    if (p.placedInHouse >= 1)
        WriteLordHeading(ReadingState.lordHeadings[k], p.house, p.lord, p.placedInHouse);
    else
        ReadingState.lordHeadings[k].clear();
}

} // namespace

std::array<std::string, 12> lordTexts;
std::array<std::string, 12> planetTexts;

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
    static const auto table = ParseEmbedded<7>(kPlanetInHouseSource, PlanetTableSections());
    return table;
}

const std::array<HouseTexts, 12>& LordInHouseTexts() {
    static const auto table = ParseEmbedded<12>(kLordInHouseSource, LordTableSections());
    return table;
}

void BuildHouseLordReading(HouseCounting counting) {
    const auto placements = ComputeHouseLords(counting);
    const auto& lordTable = LordInHouseTexts();
    const auto& planetTable = PlanetInHouseTexts();
    for (std::size_t k = 0; k < 12; ++k) {
        const HouseLordPlacement& p = placements[k];
        WriteHeading(k, p);
        lordTexts[k].clear();
        planetTexts[k].clear();
        if (p.placedInHouse < 1 || p.lordBody < 0)
            continue;
        const auto m = static_cast<std::size_t>(p.placedInHouse - 1);
        lordTexts[k] = lordTable[k][m];
        planetTexts[k] = planetTable[static_cast<std::size_t>(p.lordBody)][m];
    }
}

std::string HouseLordReportText() {
    std::string text;
    for (std::size_t k = 0; k < 12; ++k) {
        text += ReadingState.lordHeadings[k] + "\r\n";
        text += lordTexts[k] + "\r\n";
        text += planetTexts[k] + "\r\n\r\n";
    }
    return text;
}
