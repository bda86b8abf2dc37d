#include "pipeline/ReadingPipeline.h"

#include "astro/TextUtil.h"
#include "astro/modRetrogrades.h"
#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"
#include "reading/modHouseLords.h"
#if QUILLMERE_HAS_PRECISE
#include "pipeline/PreciseReading.h"
#include "precise/PreciseEngine.h"
#endif
#include "records/Messages.h"
#include "records/Records.h"
#include "records/Vocabulary.h"

#include <string_view>

namespace {

bool IsSignCode(std::string_view code) {
    return SignIndexOfCode(code) >= 0;
}

} // namespace

bool PreciseCalculationBuilt() {
#if QUILLMERE_HAS_PRECISE
    return true;
#else
    return false;
#endif
}

void UseEphemerisFilesBeside([[maybe_unused]] const std::string& programFolder) {
#if QUILLMERE_HAS_PRECISE
    precise::SetEphemerisSearchPath(precise::DefaultEphemerisFolders(programFolder));
#endif
}

bool ComputeReading() {
    std::string message;
    return ComputeReading(Calculation::Classic, message);
}

bool ComputeReading(Calculation calculation, std::string& message) {
    message.clear();
    if (calculation == Calculation::Precise) {
        ReadingState.calculation = CalculationName(calculation);
#if QUILLMERE_HAS_PRECISE
        if (!ComputePreciseStages(message))
            return false;
        BuildHouseLordReading(HouseCounting::FromLagna);
#else
        message = msg::kNoPreciseBuild;
        return false;
#endif
    } else {
        ReadingState.calculation.clear();
        BuildReferenceTables();
        ComputeChartAngles();
        ComputeMoonPosition();
        ComputePlanetTable();
        MarkRetrogrades();
        if (!DeriveLagna())
            return false;
        LookupNakshatraLord();
        BuildHouseLordReading();
    }

    if (!IsSignCode(astro::LastChars(astro::Trim(ReadingState.moonPositionText), 3)))
        return false;
    if (ReadingState.moonNakshatra.empty() || ReadingState.nakshatraLord.empty())
        return false;
    for (int i = 0; i <= 10; ++i) {
        const std::string& p = ReadingState.planetPositions[static_cast<std::size_t>(i)];
        if (p.size() != 9 || !IsSignCode(std::string_view(p).substr(3, 3)))
            return false;
    }
    for (const std::string& heading : ReadingState.lordHeadings)
        if (heading.empty())
            return false;
    return true;
}

std::array<std::vector<std::string>, 12> ChartCellEntries() {
    std::array<std::vector<std::string>, 12> cells;
    for (std::size_t j = 0; j < 12; ++j) {
        if (ReadingState.lagnaSignCode == SignCodeTable[j]) {
            cells[j].push_back("Asc");
            break;
        }
    }
    for (std::size_t i = 0; i <= 8; ++i) {
        const std::string& p = ReadingState.planetPositions[i];
        if (p.size() < 6)
            continue;
        const std::string code = p.substr(3, 3);
        for (std::size_t j = 0; j < 12; ++j) {
            if (code == SignCodeTable[j]) {
                cells[j].push_back(ReadingState.bodyLabels[i]);
                break;
            }
        }
    }
    return cells;
}
