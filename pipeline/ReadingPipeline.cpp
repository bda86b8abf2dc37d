// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/ReadingPipeline.h"

#include "astro/Angles.h"
#include "astro/Moon.h"
#include "astro/Nakshatras.h"
#include "astro/Planets.h"
#include "astro/Retrogrades.h"
#include "reading/HouseLords.h"
#include "reading/ReadingTexts.h"
#if QUILLMERE_HAS_PRECISE
#include "pipeline/PreciseReading.h"
#include "precise/PreciseEngine.h"
#endif
#include "records/Messages.h"
#include "records/Vocabulary.h"

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

namespace {

std::size_t Slot(BodySlot body) {
    return static_cast<std::size_t>(body);
}

ReadingResult Refused(std::string message = msg::kReadingFailed) {
    return {std::nullopt, std::move(message)};
}

ReadingResult ClassicReading(const Birth& birth) {
    Reading r;
    r.birth = birth;
    r.calculation = Calculation::Classic;
    const ChartAngles angles = ComputeAngles(birth);
    r.ayanamsa = angles.ayanamsa;
    r.longitudes = PlanetLongitudes(birth, angles.ayanamsa);
    r.longitudes[Slot(BodySlot::Moon)] = MoonLongitude(birth);
    r.longitudes[Slot(BodySlot::Ascendant)] = angles.ascendant;
    r.longitudes[Slot(BodySlot::Midheaven)] = angles.midheaven;
    r.retrograde = RetrogradesOnBirthDate(birth);
    for (std::size_t i = 0; i < r.signs.size(); ++i)
        r.signs[i] = ZodiacSignOf(r.longitudes[i]);

    // The nakshatra's lord and pada are those of its row in the Moon's sign.
    r.nakshatra = NakshatraOf(r.Longitude(BodySlot::Moon));
    const int row = ClassicNakshatraRow(r.nakshatra, r.Sign(BodySlot::Moon));
    if (row < 0)
        return Refused();
    r.nakshatraLord = NakshatraLord(r.nakshatra);
    r.pada = NakshatraRows[static_cast<std::size_t>(row)].padas;
    r.houseLords = PlaceHouseLords(r.signs, HouseCounting::FromAries);
    return {std::move(r), {}};
}

// Every position names its sign, the Moon its nakshatra, and every house lord is placed.
bool Complete(const Reading& r) {
    for (int sign : r.signs)
        if (sign < 0)
            return false;
    if (r.nakshatra < 0)
        return false;
    for (const HouseLord& lord : r.houseLords)
        if (lord.placedInHouse < 1)
            return false;
    return true;
}

} // namespace

ReadingResult ComputeReading(const Birth& birth, Calculation calculation) {
    return ComputeReading(birth, CalculationChoice{calculation, {}});
}

ReadingResult ComputeReading(const Birth& birth, const CalculationChoice& choice) {
    // The horizon of a pole is the equator, which the ecliptic never crosses rising: the classic formula
    // would still give a lagna, one that means nothing.
    if (birth.latDeg * 60 + birth.latMin >= 90 * 60)
        return {std::nullopt, msg::kAscendantAtPole, EntryField::LatDeg};
    ReadingResult result;
    if (choice.calculation == Calculation::Precise) {
#if QUILLMERE_HAS_PRECISE
        result = ComputePreciseReading(birth, choice.conventions);
#else
        return Refused(msg::kNoPreciseBuild);
#endif
    } else {
        result = ClassicReading(birth);
        // The ashtakavarga's places are a choice of tables, not of arithmetic, so the classic reading
        // takes them too.
        if (result.reading)
            result.reading->conventions.ashtakavarga = choice.conventions.ashtakavarga;
    }
    if (result.reading && !Complete(*result.reading))
        return Refused();
    if (!result.reading && result.message.empty())
        result.message = msg::kReadingFailed;
    return result;
}

std::array<std::vector<std::string>, 12> ChartCellEntries(const Reading& reading) {
    std::array<std::vector<std::string>, 12> cells;
    const int lagna = reading.LagnaSign();
    if (lagna >= 0 && lagna < 12)
        cells[static_cast<std::size_t>(lagna)].push_back("Asc");
    for (std::size_t i = 0; i <= Slot(BodySlot::Ketu); ++i) {
        const int sign = reading.signs[i];
        if (sign >= 0 && sign < 12)
            cells[static_cast<std::size_t>(sign)].push_back(BodyLabel(reading, static_cast<BodySlot>(i)));
    }
    return cells;
}
